// Structures::LocalTime: a broken-down time of the set's clock, in the
// middleware's order.
#pragma once

#include <cstdint>

#include "runtime/object.h"

namespace Structures {

class LocalTime : public kv::Object {
  KV_CLASS(Structures, LocalTime, kv::Object)
 public:
  LocalTime() = default;

  // Seconds since 1 January 1970 00:00 of the fields second to year, by plain
  // calendar arithmetic: no time zone, and weekday, day of year and daylight
  // saving are not looked at. Fields outside their range carry over (month
  // 12 is January of the next year, second 60 the next minute).
  int64_t GetTicks() const;

  // A new record for this time plus `seconds` (which may be negative), with
  // second to year filled and weekday, day of year and daylight saving 0.
  LocalTime* AddTicks(int64_t seconds) const;

  int32_t Second = 0;
  int32_t Minute = 0;
  int32_t Hour = 0;
  int32_t Day = 0;    // day of the month, 1 to 31
  int32_t Month = 0;  // 0 to 11
  int32_t Year = 0;   // years since 1900
  int32_t Weekday = 0;
  int32_t YearDay = 0;
  int32_t DaylightSaving = 0;

 private:
  // Fills second to year from seconds since 1970; weekday, day of year and
  // daylight saving become 0.
  void SetTicks(int64_t ticks);
};

}  // namespace Structures
