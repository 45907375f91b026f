// The software update's questions come the set's own road (an update found
// on a plugged medium, the update reminder) over whatever the viewer has on
// screen: live TV, a dialog of live TV, a bar, the menu's PIN page, an
// application that owns the screen. From a new set's defaults, for each:
// the question shows and its answer keys act on it. Yes starts the update's
// next step (the set is asked for it, its screen shows and keeps the keys);
// Cancel closes it and the keys go back, so that Exit ends an application
// that owns the screen and the menu key then opens the menu with the keys.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "host/script_events.h"
#include "host/script_state.h"
#include "units/MenuSystem/LiveMenu.h"

namespace {

class UpdateQuestionTest : public apptest::AppTest {
 protected:
  // A key, or a "state Unit::Class VALUE" line as a key script gives it.
  void Step(const std::string& line) {
    if (line.rfind("state ", 0) == 0) {
      host::KeyScript::Step step;
      std::string why;
      ASSERT_TRUE(host::ParseScreenStep("state", line.substr(6), &step, &why)) << why;
      host::RunScreenStep(step);
    } else {
      Press(line);
    }
    Run(1000);
  }
};

TEST_F(UpdateQuestionTest, TheAnswerKeysActOnTheQuestionOverEveryScreen) {
  struct Under {
    const char* name;
    std::vector<std::string> lines;
    bool app = false;  // an application owns the screen
  };
  const Under unders[] = {
      {"live TV", {}},
      {"a dialog of live TV", {"state Network::WirelessScanDialog 0"}},
      {"the PIN dialog", {"state NonMenuSystem::EnterPinDialog 2"}},
      {"the widgets", {"widgets"}, true},
      {"the menu's PIN page, then the widgets", {"menu", "state MenuSystem::ChangePinMenu 0", "widgets"}, true},
      {"the video application", {"video-app"}, true},
      {"a volume bar, then the video application", {"state NonMenuSystem::CommonVolumeBar 0", "video-app"}, true},
  };
  struct Question {
    const char* event;
    const char* text;  // the question
    const char* next;  // what Yes leads to
  };
  const Question questions[] = {
      {"update-found", "Start the software update now?", "Updating the TV software"},
      {"update-reminder", "A software update is available. Check for it now?",
       "Checking for a newer TV software version..."},
  };
  struct Answer {
    std::vector<const char*> keys;
    bool yes;
  };
  // Cancel has the focus first; Right wraps to Yes, Left from Yes to Cancel.
  const Answer answers[] = {{{"ok"}, false}, {{"right", "ok"}, true}, {{"right", "left", "ok"}, false}};
  for (const Under& under : unders)
    for (const Question& q : questions)
      for (const Answer& answer : answers) {
        SCOPED_TRACE(std::string(under.name) + ", " + q.event + ", " + (answer.yes ? "Yes" : "Cancel") + " after " +
                     std::to_string(answer.keys.size()) + " keys");
        StartAfresh();
        Run(1000);
        for (const std::string& line : under.lines) Step(line);
        ASSERT_EQ(AppOwnsTheScreen(), under.app);
        ASSERT_TRUE(host::RunScriptEvent(q.event));
        Run(1000);
        ASSERT_TRUE(Sees(q.text)) << SeenList();
        ClearCallLog();
        for (const char* key : answer.keys) Press(key);
        Run(1000);
        EXPECT_FALSE(Sees(q.text)) << SeenList();
        if (answer.yes) {
          // The set runs the step asked for; its screen stands and keeps the
          // keys (Exit does not close it), the application still under it.
          EXPECT_FALSE(Calls("XPM_StartUpdateCheck").empty());
          EXPECT_TRUE(Sees(q.next)) << SeenList();
          Press("exit");
          Run(500);
          EXPECT_TRUE(Sees(q.next)) << SeenList();
          EXPECT_EQ(AppOwnsTheScreen(), under.app);
          continue;
        }
        EXPECT_TRUE(Calls("XPM_StartUpdateCheck").empty());
        EXPECT_FALSE(Sees(q.next)) << SeenList();
        // The keys are back: Exit ends the application, the menu opens and
        // takes them.
        Press("exit");
        Run(1000);
        EXPECT_FALSE(AppOwnsTheScreen());
        Press("menu");
        Run(1500);
        EXPECT_NE(Find<MenuSystem::VidiMainMenu>(), nullptr) << SeenList();
        EXPECT_TRUE(KeysIn<MenuSystem::VidiMainMenu>()) << SeenList();
      }
}

// The whole road of the reminder when the check finds a new version: each
// question's Yes leads to the next step, over live TV and over the menu,
// until the update runs with the keys and the set cannot be switched off.
TEST_F(UpdateQuestionTest, EachYesOfTheReminderLeadsOnUntilTheUpdateRuns) {
  for (const char* under : {"", "menu"}) {
    SCOPED_TRACE(*under ? under : "live TV");
    StartAfresh();
    Tv().SetState("upd.check", "0");
    Run(1000);
    if (*under) Step(under);
    ASSERT_TRUE(host::RunScriptEvent("update-reminder"));
    Run(1000);
    const char* const steps[] = {"A software update is available. Check for it now?",
                                 "Checking for a newer TV software version...",
                                 "A new software version was found. Install it?", "Start the software update now?",
                                 "Updating the TV software"};
    for (size_t i = 0; i < std::size(steps); ++i) {
      EXPECT_TRUE(Sees(steps[i])) << SeenList();
      if (i + 1 == std::size(steps)) break;
      if (std::string(steps[i]).back() == '?') {
        Press("right");
        Press("ok");
        Run(1000);
      } else {
        Run(3000);  // the set answers the check
      }
      EXPECT_FALSE(Sees(steps[i])) << SeenList();
    }
    ClearCallLog();
    Press("power");
    Press("exit");
    Run(1000);
    EXPECT_TRUE(Calls("XPM_StandbyMode").empty());
    EXPECT_TRUE(Sees("Updating the TV software")) << SeenList();
  }
}

}  // namespace
