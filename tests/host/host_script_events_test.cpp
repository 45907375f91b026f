// The key script's events happen to the set as they would: what the viewer
// sees a moment later.
#include <gtest/gtest.h>

#include <string>

#include "app_fixture.h"
#include "host/script_events.h"
#include "platform/xpm/xpm_settings.h"
#include "units/MainApp/Root.h"
#include "units/MainApp/Standby.h"

namespace {

class ScriptEventsTest : public apptest::AppTest {};

TEST_F(ScriptEventsTest, EachEventReachesTheViewer) {
  struct Case {
    const char* event;
    int64_t wait;          // ms after it
    const char* seen;      // a text on screen then, or null
    bool standby = false;  // the set is in standby then
  };
  const Case kCases[] = {
      {"recording-ends", 1000, "Recording stopped"},
      {"sleep-warning", 61000, "Sleep timer"},
      {"sleep-ends", 61000, nullptr, true},
  };
  for (const Case& c : kCases) {
    StartAfresh();
    Run(1000);
    ASSERT_TRUE(host::RunScriptEvent(c.event)) << c.event;
    Run(c.wait);
    if (c.seen) {
      EXPECT_TRUE(Sees(c.seen)) << c.event << "\n" << SeenList();
    }
    EXPECT_EQ(App().GetStandby()->IsInStandby(), c.standby) << c.event;
  }
  // A timer falling due: stored on the channel shown, it starts two minutes on.
  StartAfresh();
  Run(1000);
  ASSERT_TRUE(host::RunScriptEvent("timer-due"));
  XPM_TimerRecord timer{};
  ASSERT_EQ(XPM_GetTimer(1, &timer), XPM_OK);
  EXPECT_EQ(timer.enabled, 1);
  EXPECT_EQ(timer.timesType, 4);
  // The update events reach the set's event callback (what the set then
  // shows is the exploration's to judge).
  EXPECT_TRUE(host::RunScriptEvent("update-reminder"));
  EXPECT_TRUE(host::RunScriptEvent("update-found"));
  EXPECT_FALSE(host::RunScriptEvent("rain"));
}

}  // namespace
