// What the set says while the viewer is in the menu: its notices (a
// recording stopped, a weak signal, the update results, the sleep timer's
// last minute) and its update questions stand in front of the menu's pages
// and their help row, readable; a question that comes over the menu keeps
// the keys while it is open and gives them back to the menu's page when it
// closes. Driven from a new set's defaults by keys, middleware events and
// the set's own messages through the GUI loop.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "runtime/auto_object.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/Constants.h"
#include "units/Core/View.h"
#include "units/MenuSystem/LiveMenu.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Structures/Message.h"

namespace {

class OverMenuTest : public apptest::AppTest {
 protected:
  void OpenMenu() {
    Press("menu");
    Run(1000);
    ASSERT_NE(Find<MenuSystem::VidiMainMenu>(), nullptr) << SeenList();
  }
  // The set's own message to live TV, as the recorder, the tuner and the
  // update check send it.
  void ShowMessage(int32_t type) {
    auto* msg = kv::New<Structures::Message>();
    msg->Initialize(Constants::MSG_SHOW_MESSAGE, nullptr, type);
    kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)
        ->DispatchTo(msg, &NonMenuSystem::NonMenuSystem::StaticClass());
  }
  // The texts of a screen of that class as the viewer sees them: each must
  // read whole; an empty answer means the screen shows nothing.
  std::vector<Core::SeenText> TextsOf(const std::string& cls) {
    std::vector<Core::SeenText> out;
    for (const Core::SeenText& t : SeenTexts())
      if (t.where.find(cls) != std::string::npos && !t.text.empty()) out.push_back(t);
    return out;
  }
  // The screen of that class shows a text and every one of its texts reads whole.
  void ExpectReadable(const std::string& cls) {
    const std::vector<Core::SeenText> texts = TextsOf(cls);
    EXPECT_FALSE(texts.empty()) << cls << " shows nothing\n" << SeenList();
    for (const Core::SeenText& t : texts) EXPECT_TRUE(t.Readable()) << t.Describe();
  }
};

// Each notice the set raises while the menu is open stands in front of the
// menu's panel and help row, whole, and the menu stays open behind it with
// the keys: a recording stopped (40), a weak signal (25), the audio
// configuration warning (14), the update check's results (16, 17, 29).
TEST_F(OverMenuTest, NoticesStandInFrontOfTheMenu) {
  for (int32_t type : {40, 25, 14, 16, 17, 29}) {
    SCOPED_TRACE(type);
    OpenMenu();
    ShowMessage(type);
    Run(300);
    ExpectReadable("NonMenuSystem::DirectMessageBar");
    ASSERT_NE(Find<MenuSystem::VidiMainMenu>(), nullptr);
    // The menu keeps the keys: Down moves its focus.
    EXPECT_TRUE(KeysIn<MenuSystem::VidiMainMenu>());
    Press("exit");
    Run(1000);
  }
}

// The sleep timer's last-minute warning reaches live TV through the event
// agent while the viewer is in the menu: it is read before the set goes off.
TEST_F(OverMenuTest, TheSleepTimerWarningIsReadOverTheMenuBeforeTheSetGoesOff) {
  Press("sleep");
  Run(500);
  Press("down");
  Run(300);
  Press("ok");
  Run(500);
  Run(815000);
  OpenMenu();
  Run(30000);
  ASSERT_TRUE(Calls("XPM_StandbyMode").empty());
  ExpectReadable("NonMenuSystem::DirectMessageBar");
  Run(60000);
  EXPECT_FALSE(Calls("XPM_StandbyMode").empty()) << "the set switches off at the sleep timer's end";
}

// The update questions come the set's own road (the event agent hands the
// update reminder and the update medium to live TV as cached events): over
// the open menu each stands in front of it, whole, and takes the keys (Right
// moves its own focus, not the menu's). The reminder left with Back, or
// answered Yes (the check runs, and its answer "No update available" stands
// over the menu until it goes), gives the keys back to the menu's page,
// which answers Down; No to the medium's question cancels the update and
// closes every screen.
TEST_F(OverMenuTest, UpdateQuestionsStandInFrontOfTheMenuWithTheKeys) {
  XPM_PathPayload path{};
  std::strncpy(path.path, "/mnt/usb/sda1/update.bin", sizeof path.path - 1);
  struct Road {
    uint32_t event;
    std::vector<const char*> answer;
    bool menuStays;
    const char* notice = nullptr;  // what the answer leads to, over the menu
  };
  const Road roads[] = {{XPM_EVT_UBN_UPDATE_REMIND, {"back"}, true},
                        {XPM_EVT_UBN_UPDATE_REMIND, {"ok"}, true, "No update available"},
                        {XPM_EVT_UBN_MEDIA_INSERTED, {"left", "ok"}, false}};
  for (const Road& road : roads) {
    SCOPED_TRACE(std::to_string(road.event) + " " + road.answer.back());
    OpenMenu();
    if (road.event == XPM_EVT_UBN_MEDIA_INSERTED)
      Inject(road.event, path);
    else
      Inject(road.event, nullptr, 0);
    Run(500);
    ASSERT_NE(Find<NonMenuSystem::ConfirmMultiOptionDialog>(), nullptr) << SeenList();
    ExpectReadable("NonMenuSystem::ConfirmMultiOptionDialog");
    ASSERT_TRUE(KeysIn<NonMenuSystem::ConfirmMultiOptionDialog>());
    Core::View* before = Focused();
    Press("right");
    Run(300);
    EXPECT_NE(Focused(), before) << "Right moves the question's focus";
    EXPECT_TRUE(KeysIn<NonMenuSystem::ConfirmMultiOptionDialog>());
    ExpectReadable("NonMenuSystem::ConfirmMultiOptionDialog");
    for (const char* key : road.answer) Press(key);
    Run(5000);
    EXPECT_EQ(Find<NonMenuSystem::ConfirmMultiOptionDialog>(), nullptr);
    if (road.notice) {
      EXPECT_TRUE(Sees(road.notice)) << SeenList();
      ExpectReadable("NonMenuSystem::DirectMessageBar");
      Run(10000);
      EXPECT_FALSE(Sees(road.notice)) << SeenList();
    }
    if (!road.menuStays) {
      EXPECT_EQ(Find<MenuSystem::VidiMainMenu>(), nullptr);
      continue;
    }
    ASSERT_NE(Find<MenuSystem::VidiMainMenu>(), nullptr) << SeenList();
    EXPECT_TRUE(KeysIn<MenuSystem::VidiMainMenu>()) << SeenList();
    Core::View* row = Focused();
    Press("down");
    Run(500);
    EXPECT_NE(Focused(), row) << "the menu's page answers Down";
    Press("exit");
    Run(1000);
  }
}

}  // namespace
