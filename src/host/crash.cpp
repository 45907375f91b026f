#include "host/crash.h"

#include <execinfo.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace host {

namespace {

void WriteStr(const char* s) {
  ssize_t r = ::write(STDERR_FILENO, s, std::strlen(s));
  (void)r;
}

void OnCrash(int sig) {
  // Only async-signal-safe calls from here on.
  WriteStr("\ntvui: fatal signal ");
  char num[8];
  int n = sig, i = 0;
  char rev[8];
  do {
    rev[i++] = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n > 0 && i < 7);
  int j = 0;
  while (i > 0) num[j++] = rev[--i];
  num[j] = '\0';
  WriteStr(num);
  WriteStr(" (");
  WriteStr(sigabbrev_np(sig) ? sigabbrev_np(sig) : "?");
  WriteStr("), back-trace:\n");
  void* frames[64];
  const int count = backtrace(frames, 64);
  backtrace_symbols_fd(frames, count, STDERR_FILENO);
  ::_exit(128 + sig);
}

}  // namespace

void ArmCrashBacktrace() {
  // backtrace() loads its unwinder on first use; do that now, not in the handler.
  void* warm[1];
  (void)backtrace(warm, 1);
  struct sigaction sa;
  std::memset(&sa, 0, sizeof sa);
  sa.sa_handler = OnCrash;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESETHAND;
  for (int sig : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT}) sigaction(sig, &sa, nullptr);
}

bool IsNetworkBootCmdline(std::string_view cmdline) {
  return cmdline.find("nfsroot") != std::string_view::npos || cmdline.find("root=/dev/nfs") != std::string_view::npos;
}

bool BootedFromNetwork() {
  std::ifstream in("/proc/cmdline");
  if (!in) return false;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return IsNetworkBootCmdline(text);
}

}  // namespace host
