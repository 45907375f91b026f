// Shared set-up of the recording screen tests: the whole system through the
// application fixture, on a tuner source, with the set's clock at a known
// time and helpers that read the set's timers and recording database.
#pragma once

#include <cstdint>
#include <string>

#include "menusystem_support.h"
#include "platform/db/db.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm_settings.h"
#include "units/Constants/Constants.h"
#include "units/Record/RecordTimerDialog.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/TimerData.h"

namespace recordtest {

class RecordTest : public menutest::MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    ASSERT_TRUE(SwitchToSourceType(Constants::XPM_SOURCE_TYPE_RF_TUNER));
    Nms()->ClearAll();
    Settle();
  }
  // Sets the set's clock (local time) by hand to the day and time given,
  // month 1-12: the automatic update off, as the date-and-time dialog needs.
  void SetClock(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute) {
    ASSERT_EQ(XPM_SetAutoTimeUpdate(0), XPM_OK);
    XPM_LocalTime t{0, minute, hour, day, month - 1, year - 1900, 0, 0, 0};
    ASSERT_EQ(XPM_SetLocalTime(&t), XPM_OK);
    Settle();
  }
  // Menu > Record > Schedule record > Record timer.
  Record::RecordTimerDialog* OpenEditorFromMenu() {
    Ms()->SetMenuIndex(1, 7);
    Press("menu");
    Settle();
    Press("ok");
    Settle();
    Press("ok");
    Settle();
    Step("down");
    Press("ok");
    Settle();
    return Editor();
  }
  Record::RecordTimerDialog* Editor() {
    auto* e = Open<Record::RecordTimerDialog>();
    return e && e->IsOpen() ? e : nullptr;
  }
  // Moves the focus with the arrow keys to `target` (at most 12 presses of `key`).
  bool FocusBy(const char* key, Core::View* target) {
    for (int i = 0; i < 12 && Focused() != target; ++i) Press(key);
    return Focused() == target;
  }
  // The set's timer record `id` (false when the set has none).
  bool SetTimerOf(int32_t id, XPM_TimerRecord* out) {
    *out = XPM_TimerRecord{};
    return XPM_GetTimer(id, out) == XPM_OK;
  }
  // Whether the recording database has a show for the timer, and its id checked out.
  bool InDatabase(int32_t timerId) {
    int32_t show = 0;
    return DB_Get_ScheduledID(timerId, &show) == DB_OK;
  }
  bool CheckedOut(int32_t timerId) {
    int32_t out = 0;
    return DB_Get_Timer_CheckedOut(timerId, &out) == DB_OK && out == 1;
  }
  Structures::TimerData* Active() { return Skin()->ActiveTimer.get(); }
  // Stores an enabled timer in the set directly, as a timer saved earlier.
  void StoreTimer(int32_t id, int32_t hour, int32_t minute, int32_t seconds, int32_t days, int32_t timesType) {
    XPM_TimerRecord r{};
    r.enabled = 1;
    r.start = XPM_LocalTime{0, minute, hour, 8, 11, 126, 0, 0, 0};
    r.duration = seconds;
    r.daysOfWeek = days;
    r.source = W()->GetCurrentSource(0);
    r.major = 7;
    r.minor = 1;
    r.timesType = timesType;
    r.sourceType = 1;
    ASSERT_EQ(XPM_SetTimer(id, r), XPM_OK);
  }
};

}  // namespace recordtest
