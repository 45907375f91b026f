#include "units/Structures/LocalTime.h"

namespace Structures {

KV_REGISTER_CLASS(Structures::LocalTime);

namespace {

constexpr int64_t kSecondsPerDay = 86400;

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Days from 1970-01-01 to the given day of the proleptic Gregorian calendar
// (month 1 to 12), counting in 400-year eras of 146097 days that start on
// 1 March so that the leap day ends the year.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2;
  const int64_t era = FloorDiv(year, 400);
  const int64_t yoe = year - era * 400;                                   // 0..399
  const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;  // 0..365
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;              // 0..146096
  return era * 146097 + doe - 719468;
}

struct Civil {
  int64_t year;
  int32_t month;  // 1 to 12
  int32_t day;    // 1 to 31
};

Civil CivilFromDays(int64_t days) {
  days += 719468;
  const int64_t era = FloorDiv(days, 146097);
  const int64_t doe = days - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const auto day = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);
  const auto month = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
  return {yoe + era * 400 + (month <= 2), month, day};
}

}  // namespace

int64_t LocalTime::GetTicks() const {
  // Carry whole years out of the month so that every month lands in 1..12.
  const int64_t months = Month;
  const int64_t year = 1900 + static_cast<int64_t>(Year) + FloorDiv(months, 12);
  const int64_t month = months - FloorDiv(months, 12) * 12 + 1;
  // The day of the month is added as an offset from the first, so that day 0
  // or day 32 carry into the neighbouring months.
  const int64_t days = DaysFromCivil(year, month, 1) + (static_cast<int64_t>(Day) - 1);
  return days * kSecondsPerDay + static_cast<int64_t>(Hour) * 3600 + static_cast<int64_t>(Minute) * 60 + Second;
}

void LocalTime::SetTicks(int64_t ticks) {
  const int64_t days = FloorDiv(ticks, kSecondsPerDay);
  const int64_t rest = ticks - days * kSecondsPerDay;  // 0..86399
  const Civil c = CivilFromDays(days);
  Second = static_cast<int32_t>(rest % 60);
  Minute = static_cast<int32_t>(rest / 60 % 60);
  Hour = static_cast<int32_t>(rest / 3600);
  Day = c.day;
  Month = c.month - 1;
  Year = static_cast<int32_t>(c.year - 1900);
  Weekday = 0;
  YearDay = 0;
  DaylightSaving = 0;
}

LocalTime* LocalTime::AddTicks(int64_t seconds) const {
  auto* t = kv::New<LocalTime>();
  t->SetTicks(GetTicks() + seconds);
  return t;
}

}  // namespace Structures
