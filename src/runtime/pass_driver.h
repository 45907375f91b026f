// Runs GUI loop passes on a fake clock: the same end-of-pass function the
// host's loop runs, without the event wait. Used by tests.
#pragma once

#include <cstdint>
#include <functional>

#include "runtime/clock.h"
#include "runtime/runtime.h"

namespace kv {

class PassDriver {
 public:
  explicit PassDriver(int64_t start = 1000) : clock_(start) { SetClock(&clock_); }
  ~PassDriver() { SetClock(nullptr); }
  PassDriver(const PassDriver&) = delete;
  PassDriver& operator=(const PassDriver&) = delete;

  FakeClock& Clock() { return clock_; }
  int64_t Now() { return clock_.Now(); }

  // One pass: advance the clock by `ms`, then run the end of the pass.
  void Pass(int64_t ms = 0) {
    clock_.Advance(ms);
    Runtime::EndOfPass();
  }
  // Passes every `step` ms until `ms` have gone by.
  void RunFor(int64_t ms, int64_t step = 10) {
    int64_t end = clock_.Now() + ms;
    while (clock_.Now() < end) Pass(std::min(step, end - clock_.Now()));
  }

 private:
  FakeClock clock_;
};

}  // namespace kv
