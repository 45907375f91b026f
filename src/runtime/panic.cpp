#include "runtime/panic.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "runtime/trace.h"

namespace kv {

namespace {
// Set by the GUI task, read by whichever task panics.
std::atomic<PanicMode> g_mode{PanicMode::kExit};
void (*g_handler)(const char*) = nullptr;
}  // namespace

void SetPanicMode(PanicMode mode) { g_mode.store(mode); }
PanicMode GetPanicMode() { return g_mode.load(); }
void SetPanicHandler(void (*handler)(const char*)) { g_handler = handler; }

void Panic(const char* message) {
  if (g_handler) g_handler(message);
  Log(std::string("PANIC: ") + (message ? message : ""));
  Log("System halted");
  std::fflush(stderr);
  if (g_mode.load() == PanicMode::kHalt) {
    // The GUI task stops for good; the window stays as it was.
    for (;;) std::this_thread::sleep_for(std::chrono::seconds(3600));
  }
  std::_Exit(70);
}

}  // namespace kv
