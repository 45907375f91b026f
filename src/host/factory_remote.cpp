#include "host/factory_remote.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <thread>

#include "platform/sim/sim.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "runtime/trace.h"

namespace host {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool ParseCode(std::string_view s, uint32_t* code) {
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    s.remove_prefix(2);
    base = 16;
  }
  if (s.empty()) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), *code, base);
  return ec == std::errc() && end == s.data() + s.size();
}

}  // namespace

bool ParseFactoryRemoteLine(std::string_view line, FactoryRemoteLine* out, std::string* error) {
  line = Trim(line);
  const size_t sp = line.find_first_of(" \t");
  const std::string_view word = line.substr(0, sp);
  std::string_view rest = sp == std::string_view::npos ? std::string_view() : Trim(line.substr(sp));
  if (word != "factory" && word != "discrete") {
    if (error) *error = "not a factory remote line";
    return false;
  }
  FactoryRemoteLine r;
  r.discrete = word == "discrete";
  const size_t codeEnd = rest.find_first_of(" \t");
  if (!ParseCode(rest.substr(0, codeEnd), &r.code)) {
    if (error) *error = "\"" + std::string(word) + "\" needs a code of at most 32 bits";
    return false;
  }
  const std::string_view text = codeEnd == std::string_view::npos ? std::string_view() : Trim(rest.substr(codeEnd));
  if (r.discrete && !text.empty()) {
    if (error) *error = "\"discrete\" takes a code only";
    return false;
  }
  r.text = std::string(text.substr(0, kFactoryTextBytes));
  *out = std::move(r);
  return true;
}

void SendFactoryRemote(sim::Sim& tv, const FactoryRemoteLine& line) {
  XPM_FactoryEvent ev{};
  ev.type = line.discrete ? XPM_FACTORY_TYPE_DISCRETE_KEY : XPM_FACTORY_TYPE_COMMAND;
  ev.command.code = line.code;
  std::memcpy(ev.command.text, line.text.data(), std::min(line.text.size(), kFactoryTextBytes));
  if (line.discrete)
    tv.Inject(XPM_EVT_FACTORY, &ev, 8);
  else
    tv.Inject(XPM_EVT_FACTORY, ev);
}

struct FactoryRemotePipe::Impl {
  std::atomic<bool> stop{false};
  std::thread thread;
  std::string path;
};

bool FactoryRemotePipe::Start(const std::string& dataDir) {
  if (impl_) return true;
  const std::string path = dataDir + "/factory-remote";
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 && ::mkfifo(path.c_str(), 0600) != 0) {
    kv::Log("factory remote: cannot make " + kv::EscapedText(path, kv::kMaxLoggedPath) + ": " + std::strerror(errno));
    return false;
  }
  impl_ = new Impl;
  impl_->path = path;
  impl_->thread = std::thread([impl = impl_] {
    // Opened read-write so that the pipe never reports the end of its writers.
    const int fd = ::open(impl->path.c_str(), O_RDWR | O_NONBLOCK);
    if (fd < 0) {
      kv::Log("factory remote: cannot open " + kv::EscapedText(impl->path, kv::kMaxLoggedPath));
      return;
    }
    std::string pending;
    char buf[256];
    while (!impl->stop.load()) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 200) <= 0) continue;
      const ssize_t n = ::read(fd, buf, sizeof buf);
      if (n <= 0) continue;
      pending.append(buf, static_cast<size_t>(n));
      for (size_t nl = pending.find('\n'); nl != std::string::npos; nl = pending.find('\n')) {
        const std::string line = pending.substr(0, nl);
        pending.erase(0, nl + 1);
        FactoryRemoteLine r;
        std::string error;
        if (Trim(line).empty()) continue;
        if (!ParseFactoryRemoteLine(line, &r, &error)) {
          kv::Log("factory remote: " + error + ": \"" + kv::EscapedText(line) + "\", skipped");
          continue;
        }
        if (sim::Sim* tv = sim::Sim::Current()) SendFactoryRemote(*tv, r);
      }
      if (pending.size() > 4096) pending.clear();  // a line without end: dropped
    }
    ::close(fd);
  });
  return true;
}

void FactoryRemotePipe::Stop() {
  if (!impl_) return;
  impl_->stop = true;
  if (impl_->thread.joinable()) impl_->thread.join();
  delete impl_;
  impl_ = nullptr;
}

}  // namespace host
