// Small helpers of the stand-ins that keep their state in the Sim's
// persistent state (numbers and texts under their own keys) or beside the
// Sim for the outside world's conditions that a restart does not keep.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/sim.h"
#include "platform/xpm/xpm_settings.h"

namespace sim {

// The stored number under `key`; `fallback` when none or not a number (the
// bad entry is logged).
int64_t StoredNumber(const Sim& tv, const std::string& key, int64_t fallback);
bool StoreNumber(Sim& tv, const std::string& key, int64_t value);

// Texts go into the state file as hexadecimal bytes, so that any 8-bit text
// survives its line format.
std::string HexText(std::string_view text);
// False for malformed input.
bool UnhexText(std::string_view hex, std::string* out);
// Numbers separated by commas; false for malformed input.
std::string JoinNumbers(const std::vector<int64_t>& numbers);
bool SplitNumbers(std::string_view text, std::vector<int64_t>* out);

// Copies `text` into a zero-filled buffer of `size` bytes, cut to size - 1.
void CopyCText(char* out, size_t size, std::string_view text);

// Seconds since 1970 of a broken-down time by calendar arithmetic (no time
// zone), and back (weekday filled, day of year and daylight saving 0).
int64_t LocalTicks(const XPM_LocalTime& t);
XPM_LocalTime LocalFromTicks(int64_t ticks);

// State of one running Sim that is not kept across a restart: a fresh T for
// every Sim (by its serial). Use under the returned lock.
template <class T>
class Volatile {
 public:
  // The state of the current Sim, reset when another Sim became current.
  T& Of(const Sim& tv) {
    if (serial_ != tv.Serial()) {
      value_ = T{};
      serial_ = tv.Serial();
    }
    return value_;
  }
  std::mutex& Mutex() { return mutex_; }

 private:
  std::mutex mutex_;
  uint64_t serial_ = 0;
  T value_{};
};

}  // namespace sim
