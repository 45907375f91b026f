// The live menu after a screen it hid for closes, and its one time-out:
// the keys reach the page that shows again, a PIN dialog opened from a page
// goes back to it, the no-free-timer bar hands the menu back, and keys in
// any form of the menu keep the whole menu open.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "menusystem_support.h"
#include "strings/MenuSystem.h"
#include "platform/xpm/xpm_settings.h"
#include "units/Channels/FullEPGDialog.h"
#include "units/MenuSystem/SettingPages.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/PersistentData/PersistentData.h"
#include "host/key_script.h"
#include "tvui_paths.h"

namespace menutest {
namespace {

using namespace MenuSystem;

class ReturnTest : public MenuTest {
 protected:
  PersistentData::PersistentData* Store() {
    return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
  }
  void EnterPage(int entry) {
    Ms()->SetMenuIndex(1, entry);
    Press("menu");
    Settle();
    Press("ok");
    Settle();
  }
  // The name of the open screen outside the menu that has the keys, or "".
  std::string TopDialog() {
    std::string name;
    for (Primitives::KeyRoutingForm* f : OpenForms())
      if (f->IsOpen() && !kv::Cast<SubSystem::MenuClass>(f) && f->KvClass() != KV_LATE_CLASS("NonMenuSystem::HelpBar"))
        name = f->KvClass()->name;
    return name;
  }
  // After the menu shows again: down moves in the page, back leaves it and
  // exit closes the menu.
  void ExpectPageAnswersKeys(VidiSubMenu* page) {
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(page->OnGetVisible());
    ASSERT_TRUE(Column()->OnGetVisible());
    const int32_t index = page->CurrentItemIndex;
    Step("down");
    EXPECT_EQ(page->CurrentItemIndex, index % page->ItemsNum + 1);
    EXPECT_EQ(Focused(), page->Item(page->CurrentItemIndex - 1));
    Core::View* item = page->Item(page->CurrentItemIndex - 1);
    Press("back");
    Settle();
    // The page gave up the focus (to the column, or to its parent page).
    EXPECT_NE(Focused(), nullptr);
    EXPECT_NE(Focused(), item);
    Press("exit");
    Settle();
    EXPECT_EQ(Column(), nullptr);
    EXPECT_EQ(Page(), nullptr);
    EXPECT_TRUE(OpenForms().empty() || TopDialog().empty());
  }
  // Asks the menu's sub-system for a page from outside it, as a screen
  // that ends by a state change does (with the value `ref` when given), and
  // lets it open.
  void AskTheMenuFor(const kv::Class* page, std::optional<int32_t> ref = std::nullopt) {
    auto* state = kv::New<SubSystem::State>();
    state->Class = page;
    if (ref) {
      auto* value = kv::New<Structures::RefInt>();
      value->Value = *ref;
      state->Param = value;
    }
    auto* msg = kv::New<Structures::Message>();
    msg->Initialize(Constants::MSG_CHANGE_STATE, state);
    kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->DispatchTo(msg, &MenuSystem::MenuSystem::StaticClass());
    Run(1000);
  }
};

// A page opened by a state change from outside the menu (no page of the
// menu holds the keys) takes them: live TV's keys open nothing behind it,
// and Exit closes it.
TEST_F(ReturnTest, APageOpenedFromOutsideTheMenuTakesTheKeys) {
  for (const kv::Class* cls : std::initializer_list<const kv::Class*>{&VidiMediaMenu::StaticClass(),
                                                                      KV_LATE_CLASS("MenuSystem::MediaPlayerMenu")}) {
    SCOPED_TRACE(cls->name);
    AskTheMenuFor(cls, 1);
    ASSERT_FALSE(Screens().empty());
    Press("mark");  // live TV's mark-channel key shows the banner
    Run(300);
    EXPECT_FALSE(Sees("TV - ANT")) << SeenList();
    Press("exit");
    Run(500);
    EXPECT_TRUE(Screens().empty()) << SeenList();
    Press("info");
    Run(500);
    EXPECT_TRUE(Sees("2-1")) << SeenList();
    Press("exit");
    Run(500);
  }
}

// The same page opened while the menu's column holds the keys takes them
// from the column: Down moves in the page (its equaliser row opens its
// choices) instead of the column putting the next entry's page in its
// place, and Back hands the keys to the column again.
TEST_F(ReturnTest, APageOpenedFromOutsideBesideTheColumnTakesTheKeys) {
  Press("menu");
  Run(1000);
  ASSERT_NE(Column(), nullptr);
  AskTheMenuFor(&VidiAudioMenu::StaticClass());
  ASSERT_TRUE(Sees("Bass and treble")) << SeenList();
  Press("down");
  Run(500);
  EXPECT_TRUE(Sees("Bass 1 + voice")) << SeenList();
  EXPECT_TRUE(Sees("Bass and treble")) << SeenList();
  Press("back");
  Run(500);
  Press("down");
  Run(500);
  // The column moved on: a page beside it shows unfocused, no choices.
  EXPECT_FALSE(Sees("Bass 1 + voice")) << SeenList();
  EXPECT_NE(Column(), nullptr);
}

// A page of the fourth level opened on its own closes on Back, and the keys
// go back to live TV: a live-TV dialog opened next takes them and closes on
// Exit.
TEST_F(ReturnTest, BackFromAPageOpenedOnItsOwnHandsTheKeysToLiveTV) {
  ASSERT_NE(OpenPage<DummyMenu>(), nullptr);
  Run(500);
  Press("back");
  Run(500);
  EXPECT_TRUE(Screens().empty()) << SeenList();
  Press("sleep");
  Run(300);
  ASSERT_TRUE(Sees("120 minutes")) << SeenList();
  Press("exit");
  Run(500);
  EXPECT_FALSE(Sees("120 minutes")) << SeenList();
  EXPECT_TRUE(Screens().empty()) << SeenList();
}

// Back from the scan question the Setup page opened leads to the Channels
// page the question names, with the menu's column round it, and the page
// takes the keys: not the page alone over the picture. The Setup page's
// help row opens with it and goes with it.
TEST_F(ReturnTest, BackFromTheScanQuestionOfTheSetupPageShowsTheWholeMenu) {
  ASSERT_NE(OpenPage<SetupMenu>(), nullptr);
  Run(500);
  EXPECT_TRUE(Sees("Edit")) << SeenList();
  Step("down", 2);
  Press("ok");
  Run(800);
  ASSERT_EQ(TopDialog(), "Channels::AutoTuningConfirmDialog");
  Press("back");
  Run(1000);
  auto* page = kv::Cast<VidiChannelsMenu>(Page());
  ASSERT_NE(page, nullptr) << SeenList();
  ASSERT_NE(Column(), nullptr) << SeenList();
  EXPECT_TRUE(Sees("Record")) << SeenList();
  EXPECT_FALSE(Sees("Edit")) << SeenList();
  ExpectPageAnswersKeys(page);
}

TEST_F(ReturnTest, KeysReachThePageAfterTheBrightnessBar) {
  EnterPage(1);
  Press("ok");  // Picture settings
  Settle();
  auto* page = kv::Cast<VidiPictureSettingsMenu>(Page());
  ASSERT_NE(page, nullptr);
  const int32_t before = W()->OnGetBrightness();
  Press("ok");  // the Brightness bar
  Settle();
  EXPECT_FALSE(page->OnGetVisible());
  Press("right");
  Press("ok");
  Run(300);
  Settle();
  EXPECT_EQ(W()->OnGetBrightness(), before + 1);
  EXPECT_EQ(Focused(), page->Item(0));
  // Down reaches Contrast; back goes to the Picture page; exit closes the menu.
  Step("down");
  EXPECT_EQ(Focused(), page->Item(1));
  Press("back");
  Settle();
  auto* picture = kv::Cast<VidiPictureMenu>(Page());
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(Focused(), picture->Item(0));
  Press("exit");
  Settle();
  EXPECT_EQ(Column(), nullptr);
  EXPECT_EQ(Page(), nullptr);
}

TEST_F(ReturnTest, KeysReachThePageAfterAConfirmation) {
  EnterPage(1);
  Step("down", 4);  // Reset picture
  auto* page = Page();
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(page->CurrentItemIndex, 5);
  Press("ok");
  Settle();
  EXPECT_FALSE(page->OnGetVisible());
  EXPECT_EQ(TopDialog(), "NonMenuSystem::ConfirmMultiOptionDialog");
  Press("back");
  Settle();
  EXPECT_EQ(TopDialog(), "");
  EXPECT_EQ(Focused(), page->Item(4));
  ExpectPageAnswersKeys(page);
}

// The scan and reset-all PIN dialogs opened from a live page go back to it.
TEST_F(ReturnTest, PinDialogsFromALivePageGoBackToIt) {
  Store()->PutString(MenuSystem::KEY_PIN, kv::NewStringAnsi("4321"));
  EnterPage(3);  // Channels: Scan channels is the fourth row
  Step("down", 3);
  auto* channels = Page();
  ASSERT_NE(kv::Cast<VidiChannelsMenu>(channels), nullptr);
  Press("ok");
  Settle();
  EXPECT_EQ(TopDialog(), "NonMenuSystem::EnterPinDialog");
  Press("back");
  Settle();
  EXPECT_EQ(TopDialog(), "");
  EXPECT_EQ(Page(), channels);
  EXPECT_EQ(Focused(), channels->Item(3));
  ExpectPageAnswersKeys(channels);

  EnterPage(4);  // Settings: Reset all is the last row
  auto* settings = Page();
  ASSERT_NE(kv::Cast<VidiSettingsMenu>(settings), nullptr);
  Step("up");
  ASSERT_EQ(settings->CurrentItemIndex, settings->ItemsNum);
  Press("ok");
  Settle();
  EXPECT_EQ(TopDialog(), "NonMenuSystem::EnterPinDialog");
  Press("back");
  Settle();
  EXPECT_EQ(TopDialog(), "");
  EXPECT_EQ(Open<SetupMenu>(), nullptr);
  EXPECT_EQ(Page(), settings);
  ExpectPageAnswersKeys(settings);
}

// Record > Schedule record > the guide row: the guide over the picture in
// its window, on the channel in tune, closed by the guide key or back.
TEST_F(ReturnTest, TheScheduleGuideRowOpensTheGuide) {
  for (const char* close : {"guide", "back"}) {
    EnterPage(7);
    Press("ok");
    Settle();
    ASSERT_NE(kv::Cast<VidiScheduleRecordMenu>(Page()), nullptr);
    ClearCallLog();
    Press("ok");
    Settle();
    Channels::FullEPGDialog* g = Open<Channels::FullEPGDialog>();
    ASSERT_NE(g, nullptr) << close;
    ASSERT_EQ(Calls("XPM_SetDisplayWindow").size(), 1u);
    EXPECT_NE(Calls("XPM_SetDisplayWindow")[0].find("10, 324, 366, 206"), std::string::npos);
    auto* row = kv::Cast<ListForm::EPGChannelItem>(g->Column.GetFocusedRow());
    ASSERT_NE(row, nullptr);
    XPM_VirtualChannel now{};
    ASSERT_EQ(XPM_GetCurrentChannel(0, &now), XPM_OK);
    EXPECT_EQ(row->Major, now.major);
    EXPECT_EQ(row->Minor, now.minor);
    // Its first eight programmes with month, day and time; the first one's details.
    int rows = 0;
    for (Forms::Ctrl* c : g->Programs.GetAllRows()) {
      auto* p = kv::Cast<ListForm::EPGProgramListItem>(c);
      if (!p || !p->IsVisible()) continue;
      EXPECT_FALSE(p->OnGetDateText().Empty());
      EXPECT_FALSE(p->OnGetTimeText().Empty());
      ++rows;
    }
    EXPECT_EQ(rows, 8);
    EXPECT_FALSE(g->Info.TitleText.OnGetString().Empty());
    EXPECT_FALSE(g->Info.TimeSpan.OnGetString().Empty());
    Press(close);
    Settle();
    EXPECT_EQ(Open<Channels::FullEPGDialog>(), nullptr) << close;
    EXPECT_NE(Calls("XPM_SetDisplayWindow").back().find("0, 0, 960, 540"), std::string::npos);
    // The next key still acts: the menu key opens the menu.
    Press("exit");
    Settle();
    Press("menu");
    Settle();
    EXPECT_NE(Column(), nullptr) << close;
    Press("exit");
    Settle();
  }
}

TEST_F(ReturnTest, NoFreeTimerBarHandsTheMenuBack) {
  EnterPage(7);  // Record: Schedule record is its first row on a TV source
  Press("ok");
  Settle();
  auto* schedule = kv::Cast<VidiScheduleRecordMenu>(Page());
  ASSERT_NE(schedule, nullptr);
  Step("down");
  FailCall("DB_Get_TimerId", 1);
  Press("ok");
  Settle();
  kv::Persistent<NonMenuSystem::DirectMessageBar> bar{Open<NonMenuSystem::DirectMessageBar>()};
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->MessageType, 44);
  EXPECT_FALSE(schedule->OnGetVisible());
  Run(10000);
  Settle();
  EXPECT_FALSE(bar->IsOpen());
  EXPECT_TRUE(schedule->OnGetVisible());
  EXPECT_TRUE(Column()->OnGetVisible());
  EXPECT_EQ(Focused(), schedule->Item(1));
  ExpectPageAnswersKeys(schedule);
}

// One time-out for the whole menu: keys in a page keep the column open.
// A screen opened from a row of a page, the menu hidden behind it (the
// Channels page's channel list, Favourites strip and scan question; the
// wireless networks found from Settings, the connection type set to
// wireless first; the key pad that renames a channel of the channel list):
// used for longer than the menu's minute, it keeps its texts and help row;
// Back (from the key pad twice) shows the menu again as the viewer left it,
// the column, the page with its rows and the menu's help row.
TEST_F(ReturnTest, AScreenOpenedFromAPageKeepsTheMenuBehindItWhileInUse) {
  struct Road {
    std::vector<const char*> keys;  // from the column's first entry to the screen
    const char* row;                // the page's row that opens the screen
    const char* shows;              // a text of the screen (its help row where it has one)
    const char* use[2];             // keys the viewer uses it with, in turn
    int backs = 1;                  // Back keys from the screen to the page
  };
  const std::vector<const char*> channels = {"down", "down", "right"};
  const std::vector<const char*> networking = {"down", "down", "down", "right", "down", "down", "down",
                                               "down", "down", "down", "ok"};
  auto then = [](std::vector<const char*> keys, std::initializer_list<const char*> more) {
    keys.insert(keys.end(), more);
    return keys;
  };
  const Road roads[] = {
      {then(channels, {"ok"}), "Channel list", "Enter", {"down", "up"}},
      {then(channels, {"ok", "ok"}), "Channel list", "Done", {"right", "left"}, 2},
      {then(channels, {"down", "ok"}), "Favourites", "Tune", {"down", "up"}},
      {then(channels, {"down", "down", "down", "ok"}), "Scan channels", "Auto tuning", {"right", "left"}},
      {then(networking, {"right", "down", "left", "down", "ok", "ok"}), "Find networks", "HomeNet", {"down", "up"}},
  };
  for (const Road& road : roads) {
    SCOPED_TRACE(road.row);
    if (&road != roads) StartAfresh();
    Press("menu");
    Run(800);
    for (const char* key : road.keys) Step(key);
    Run(3000);
    ASSERT_TRUE(Sees(road.shows)) << SeenList();
    // Seventy seconds in use, a key every ten.
    for (int i = 0; i < 7; ++i) {
      Press(road.use[i % 2]);
      Run(10000);
    }
    EXPECT_TRUE(Sees(road.shows)) << "the screen in use timed out: " << SeenList();
    for (int i = 0; i < road.backs; ++i) {
      Press("back");
      Run(1000);
    }
    for (const char* text : {"Settings", road.row, "Return", "Exit"})
      EXPECT_TRUE(Sees(text)) << text << " is missing after Back: " << SeenList();
    Press("down");
    Run(600);
    EXPECT_TRUE(Sees("Settings")) << "the menu ignores keys after Back: " << SeenList();
  }
}

TEST_F(ReturnTest, KeysInAPageKeepTheWholeMenuOpen) {
  EnterPage(4);
  auto* page = Page();
  ASSERT_NE(page, nullptr);
  for (int i = 0; i < 4; ++i) {
    Run(20000);
    Press("down");
    Run(400);
  }
  Settle();
  EXPECT_NE(Column(), nullptr);
  EXPECT_EQ(Page(), page);
  EXPECT_EQ(Focused(), page->Item(page->CurrentItemIndex - 1));
  // Keys in the option pop-up count too.
  Ms()->SetMenuIndex(1, 1);
  Press("exit");
  Settle();
  EnterPage(1);
  Step("down", 2);  // Auto aspect, a pop-up row
  Run(100);
  Press("right");
  Settle();
  ASSERT_NE(Open<VidiOptionMenu>(), nullptr);
  for (int i = 0; i < 4; ++i) {
    Run(20000);
    Press("down");
    Settle();
  }
  EXPECT_NE(Column(), nullptr);
  EXPECT_NE(Open<VidiOptionMenu>(), nullptr);
  // Sixty seconds without a key still take it all down.
  Run(61000);
  Settle();
  EXPECT_EQ(Column(), nullptr);
  EXPECT_EQ(Page(), nullptr);
  EXPECT_EQ(Open<VidiOptionMenu>(), nullptr);
}

}  // namespace
}  // namespace menutest

// The gallery's menu scenes show what their lines in docs/screens/README.md
// say: each scene's key script is played through the application fixture up
// to a shot, and the screen is read there.
namespace menugallerytest {

class MenuGalleryTest : public menutest::MenuTest {
 protected:
  // Plays tests/scenes/SCENE.keys from the start up to its line "shot SHOT"
  // (or "snap SHOT"), as the scene player does; false when the scene has no
  // such shot or holds a line this replay does not play.
  bool PlayUntil(const std::string& scene, const std::string& shot) {
    std::ifstream in(std::string(TVUI_SOURCE_DIR) + "/tests/scenes/" + scene + ".keys");
    std::stringstream text;
    text << in.rdbuf();
    host::KeyScript script;
    std::string error;
    if (!script.Parse(text.str(), &error)) {
      ADD_FAILURE() << scene << ": " << error;
      return false;
    }
    for (const host::KeyScript::Step& step : script.Steps()) {
      switch (step.kind) {
        case host::KeyScript::Step::kKey:
          PressCode(step.key);
          break;
        case host::KeyScript::Step::kWait:
          Run(step.ms);
          break;
        case host::KeyScript::Step::kShot:
          Settle();
          if (step.name == shot) return true;
          break;
        default:
          ADD_FAILURE() << scene << ": a line this replay does not play";
          return false;
      }
    }
    ADD_FAILURE() << scene << " has no shot " << shot;
    return false;
  }
  std::string PageClass() {
    MenuSystem::VidiSubMenu* page = Page();
    return page ? kv::ClassOf(page)->name : "";
  }
};

TEST_F(MenuGalleryTest, TheLiveMenuScenesPopUpShotsShowThePicturePage) {
  ASSERT_TRUE(PlayUntil("menusystem-live", "menusystem-page-popup"));
  EXPECT_EQ(PageClass(), "MenuSystem::VidiPictureMenu");
  EXPECT_EQ(FocusedCaption(), "Auto aspect");
  MenuSystem::VidiSubMenu* page = Page();
  ASSERT_NE(page, nullptr);
  EXPECT_NE(page->OptionMenu(), nullptr) << "the pop-up beside the page";
}

TEST_F(MenuGalleryTest, TheLiveMenuScenesPopUpFocusedShotIsInsideThePicturePagesPopUp) {
  ASSERT_TRUE(PlayUntil("menusystem-live", "menusystem-popup-focused"));
  EXPECT_EQ(PageClass(), "MenuSystem::VidiPictureMenu");
  ASSERT_NE(Page(), nullptr);
  MenuSystem::VidiOptionMenu* popup = Page()->OptionMenu();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(Ms()->OnGetFocus(), popup);
}

TEST_F(MenuGalleryTest, TheLiveMenuScenesPictureSettingsShotShowsPictureSettings) {
  ASSERT_TRUE(PlayUntil("menusystem-live", "menusystem-picture-settings"));
  EXPECT_EQ(PageClass(), "MenuSystem::VidiPictureSettingsMenu");
}

}  // namespace menugallerytest
