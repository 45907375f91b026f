// The simulated set's calendar arithmetic: broken-down local times and
// seconds since 1970 convert both ways, in every month.
#include <gtest/gtest.h>

#include "platform/sim/sim_store.h"

namespace {

TEST(SimLocalTime, TicksAndBrokenDownTimesAgreeInEveryMonth) {
  // 2 January 2026 20:00 and 1 March 2024 (after a leap day).
  EXPECT_EQ(sim::LocalTicks(XPM_LocalTime{0, 0, 20, 2, 0, 126, 0, 0, 0}), 1767384000);
  EXPECT_EQ(sim::LocalTicks(XPM_LocalTime{0, 0, 0, 1, 2, 124, 0, 0, 0}), 1709251200);
  for (int32_t month = 0; month < 12; ++month) {
    const XPM_LocalTime t{5, 30, 12, 15, month, 125, 0, 0, 0};
    const XPM_LocalTime back = sim::LocalFromTicks(sim::LocalTicks(t));
    EXPECT_EQ(back.month, month);
    EXPECT_EQ(back.day, 15);
    EXPECT_EQ(back.year, 125);
    EXPECT_EQ(back.hour * 3600 + back.minute * 60 + back.second, 12 * 3600 + 30 * 60 + 5);
  }
}

}  // namespace
