// What the fuzz targets that build GUI objects share: the calling thread is
// the GUI task, a collection runs at the end of every pass, and log lines are
// counted so that a target can tell that a refused input was logged.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "runtime/runtime.h"
#include "runtime/trace.h"

namespace fuzzrt {

inline uint64_t& LogCount() {
  static uint64_t count = 0;
  return count;
}

// Once per process.
inline void Start() {
  static const bool started = [] {
    kv::Runtime::SetGuiThread();
    kv::Runtime::SetCollectEveryPass(true);
    kv::SetTraceSink([](std::string_view) { ++LogCount(); });
    return true;
  }();
  (void)started;
}

// Ends the pass: what the input built and nothing holds is collected.
inline void EndPass() { kv::Runtime::EndOfPass(); }

// A property of the reader does not hold: stop, so that the fuzzer keeps the input.
inline void Require(bool ok) {
  if (!ok) std::abort();
}

}  // namespace fuzzrt
