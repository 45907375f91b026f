// The menu controller and the live menu column driven through the whole
// system: opening and closing, the carousel moves, the remembered entry,
// the time-out teardown and the controller's messages.
#include <gtest/gtest.h>

#include "menusystem_support.h"
#include "runtime/text.h"
#include "strings/MenuSystem.h"
#include "units/Constants/Constants.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Structures/RefHolders.h"
#include "units/SubSystem/State.h"

namespace menutest {
namespace {

using MenuSystem::VidiMainMenu;

class ColumnTest : public MenuTest {};

PersistentData::PersistentData* Store() {
  return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
}

TEST_F(ColumnTest, MenuOpensOnPictureMovesWrapsAndCloses) {
  ASSERT_NE(Ms(), nullptr);
  Press("menu");
  Settle();
  VidiMainMenu* column = Column();
  ASSERT_NE(column, nullptr);
  EXPECT_EQ(column->CurrentItemIndex, 1);
  EXPECT_EQ(column->Bounds().x1, 0);
  // The focused entry stands in slot 1 (y 100), its page beside the column.
  EXPECT_EQ(Focused(), column->Entry(0));
  EXPECT_EQ(column->Entry(0)->Bounds().y1, 100);
  ASSERT_NE(Page(), nullptr);
  EXPECT_TRUE(kv::Cast<MenuSystem::VidiPictureMenu>(Page()));
  EXPECT_EQ(Page()->Bounds().x1, 160);
  EXPECT_EQ(Page()->OnGetFocus(), Page()->Item(0));  // the page's first item, unfocused page
  EXPECT_NE(Focused(), Page()->Item(0));

  // A move takes 6 frames of 50 ms: halfway through it the index is unchanged
  // and a second key is consumed without effect.
  Press("down");
  EXPECT_TRUE(column->Animating);
  Run(120);
  Press("down");
  Run(400);
  Settle();
  EXPECT_FALSE(column->Animating);
  EXPECT_EQ(column->CurrentItemIndex, 2);
  EXPECT_TRUE(kv::Cast<MenuSystem::VidiAudioMenu>(Page()));

  // Six more: around the seven entries back to Picture.
  Step("down", 6);
  EXPECT_EQ(column->CurrentItemIndex, 1);
  EXPECT_EQ(Focused(), column->Entry(0));
  EXPECT_TRUE(kv::Cast<MenuSystem::VidiPictureMenu>(Page()));
  // Up on the first focuses the last.
  Step("up");
  EXPECT_EQ(column->CurrentItemIndex, 7);
  EXPECT_TRUE(kv::Cast<MenuSystem::VidiRecordMenu>(Page()));
}

TEST_F(ColumnTest, BackClosesAndTheEntryIsRememberedAcrossARestart) {
  Press("menu");
  Settle();
  Step("down", 2);
  ASSERT_EQ(Column()->CurrentItemIndex, 3);
  Press("back");
  Settle();
  EXPECT_EQ(Column(), nullptr);
  EXPECT_EQ(Page(), nullptr);
  EXPECT_EQ(Store()->GetInteger(MenuSystem::KEY_MENU_INDEX), 2);
  Press("menu");
  Settle();
  ASSERT_NE(Column(), nullptr);
  EXPECT_EQ(Column()->CurrentItemIndex, 3);
  EXPECT_TRUE(kv::Cast<MenuSystem::VidiChannelsMenu>(Page()));
  // Menu toggles; exit closes too.
  Press("menu");
  Settle();
  EXPECT_EQ(Column(), nullptr);
  Press("menu");
  Settle();
  Press("exit");
  Settle();
  EXPECT_EQ(Column(), nullptr);
  // Exit with no menu is left to the others.
  Press("exit");
  Settle();
  EXPECT_EQ(Column(), nullptr);
}

TEST_F(ColumnTest, ARememberedIndexPastTheEntriesStartsOnTheFirst) {
  Store()->PutInteger(MenuSystem::KEY_MENU_INDEX, 40);
  Ms()->SetMenuIndex(1, 41);
  Press("menu");
  Settle();
  ASSERT_NE(Column(), nullptr);
  EXPECT_EQ(Column()->CurrentItemIndex, 1);
  EXPECT_EQ(Focused(), Column()->Entry(0));
  // Levels outside 1..9 are ignored and read as 1.
  Ms()->SetMenuIndex(10, 5);
  Ms()->SetMenuIndex(0, 5);
  EXPECT_EQ(Ms()->GetMenuIndex(10), 1);
  EXPECT_EQ(Ms()->GetMenuIndex(0), 1);
}

TEST_F(ColumnTest, SixtySecondsWithoutAKeyTearDown) {
  Skin()->OnSetTestPattern(1);
  Skin()->OnSetWB_WindowDisplay(1);
  Skin()->SetRGBFilter(0x100000);
  Press("menu");
  Settle();
  ASSERT_NE(Column(), nullptr);
  Run(59000);
  EXPECT_NE(Column(), nullptr);
  Run(2000);
  Settle();
  EXPECT_EQ(Column(), nullptr);
  EXPECT_EQ(Page(), nullptr);
  EXPECT_EQ(Skin()->OnGetTestPattern(), 0);
  EXPECT_EQ(Skin()->OnGetWB_WindowDisplay(), 0);
  EXPECT_EQ(Skin()->GetRGBFilter(), MenuSystem::kRGBFilterAll);
  // The level-1 index was unchanged (entry 1 -> stored 0): nothing written.
  EXPECT_EQ(Store()->GetInteger(MenuSystem::KEY_MENU_INDEX), 0);
}

TEST_F(ColumnTest, LiveTVKeepsTheKeysWithoutAMenu) {
  // A screen closing broadcasts APPEARANCE_FOCUS: with no menu open the
  // menu system leaves the focus with live TV.
  Send(Constants::MSG_CHANGE_APPEARANCE, Constants::APPEARANCE_FOCUS);
  EXPECT_EQ(App2()->OnGetFocus(), Nms());
  // After a teardown the keys go back to live TV as well.
  Press("menu");
  Settle();
  EXPECT_EQ(App2()->OnGetFocus(), Ms());
  Press("exit");
  Settle();
  EXPECT_EQ(App2()->OnGetFocus(), Nms());
}

TEST_F(ColumnTest, ChangeStateMessages) {
  // An object that is not a state is ignored.
  Send(Constants::MSG_CHANGE_STATE, -1, kv::New<Structures::RefInt>());
  EXPECT_EQ(Column(), nullptr);
  EXPECT_TRUE(Logged("MSG_CHANGE_STATE without a state"));
  // A state with a Structures::RefInt of 3 focuses the page's third item.
  auto* state = kv::New<SubSystem::State>();
  state->Class = &MenuSystem::VidiSettingsMenu::StaticClass();
  auto* ref = kv::New<Structures::RefInt>();
  ref->Value = 3;
  state->Param = ref;
  Send(Constants::MSG_CHANGE_STATE, -1, state);
  ASSERT_NE(Page(), nullptr);
  EXPECT_EQ(Page()->CurrentItemIndex, 3);
  EXPECT_EQ(Page()->OnGetFocus(), Page()->Item(2));
}

}  // namespace
}  // namespace menutest
