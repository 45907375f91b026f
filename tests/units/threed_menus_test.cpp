// The 3D pages of the setting menu through the whole system: reached from
// the preferences page, the depth slider only while 2D is turned into 3D,
// the 3D PIN set, entered and deleted through the PIN dialogs, and the
// safety page clearing the timer lock while the 3D lock is off.
#include <gtest/gtest.h>

#include <string>

#include "menusystem_support.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_net_state.h"
#include "strings/SkinBinWrapper.h"
#include "units/Constants/Constants.h"
#include "units/MenuSystem/SettingPages.h"
#include "units/NonMenuSystem/AdjustmentBar.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/NonMenuSystem/PinDialogs.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/Setup3D.h"
#include "units/Structures/RefHolders.h"
#include "units/SubSystem/State.h"
#include "units/ThreeD/SelectMode.h"
#include "units/ThreeD/ThreeDMenus.h"
#include "units/ThreeD/ThreeDScreens.h"

namespace menutest {
namespace {

using ThreeD::ThreeDMenu;
using ThreeD::ThreeDPinMenu;
using ThreeD::ThreeDSafetyMenu;

class ThreeDMenusTest : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    Skin()->SeriesType = 2;
    Skin()->OnSetThreeD_DisplayInfo(0);
    Skin()->OnSetThreeDStartMessage(0);
    Skin()->OnSetThreeDLock(0);
    Skin()->OnSetThreeD_EnableTimer(0);
  }
  PersistentData::PersistentData* Store() {
    return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
  }
  std::string Pin3D() { return Store()->GetString(SkinBinWrapper::KEY_3D_PIN).ToUtf8(); }
  // The preferences page as the product tree opens it, then OK on its
  // first row, "3D setup".
  ThreeDMenu* OpenFromPreferences() {
    OpenPage<MenuSystem::PreferencesMenu>(1);
    auto* row = kv::Cast<MenuSystem::SubMenuItem>(Focused());
    EXPECT_TRUE(row && row->OnGetText().ToUtf8() == "3D setup");
    Press("ok");
    Settle();
    return Open<ThreeDMenu>();
  }
  // Moves the focus with `down` to the row of table line `i`.
  bool FocusRow(MenuSystem::SettingPage* page, int32_t i) {
    for (int n = 0; n < 8 && Focused() != page->R(i); ++n) Press("down");
    return Focused() == page->R(i);
  }
  void Type(const char* digits) {
    for (const char* d = digits; *d; ++d) Press(std::string(1, *d));
    Settle();
  }
  int32_t ValueOf(MenuSystem::SettingPage* page, int32_t i) {
    auto* row = kv::Cast<MenuSystem::SubMenuItemValue>(page->R(i));
    return row ? row->Value : -1;
  }
};

TEST_F(ThreeDMenusTest, DepthAnswersOnlyWhile2DIsTurnedInto3D) {
  // A 2D picture: the depth row is greyed and up and down pass over it.
  kv::Persistent<ThreeDMenu> page = OpenFromPreferences();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->RowCount(), 5);
  EXPECT_TRUE(page->R(0)->OnGetIsDisabled());
  ASSERT_TRUE(FocusRow(page.get(), 0));
  Press("right");
  Settle();
  EXPECT_EQ(Open<NonMenuSystem::AdjustmentBar>(), nullptr);
  EXPECT_TRUE(page->IsOpen());
  Ms()->TearDownMenus();
  Settle();

  // The 3D key on an input with a 2D signal, then "2D to 3D".
  Tv().Net().SetInput3DFormat(SkinBin::OAM_3D_MODE_2D);
  Press("3d");
  Settle();
  auto* select = Open<ThreeD::SelectMode_Button>();
  ASSERT_NE(select, nullptr);
  while (select->FocusedButton() != select->GetButton(0)) Press("right");
  Press("ok");
  Run(100);
  Settle();
  ASSERT_EQ(Skin()->Setup3D.State, SkinBin::Setup3D_State_2Dto3D);
  Nms()->ClearAll();
  Settle();

  page = OpenFromPreferences();
  ASSERT_NE(page, nullptr);
  EXPECT_FALSE(page->R(0)->OnGetIsDisabled());
  ASSERT_TRUE(FocusRow(page.get(), 0));
  Press("right");
  Settle();
  auto* bar = Open<NonMenuSystem::AdjustmentBar>();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->OnGetOptionType(), SkinBin::OPTION_TYPE_2D_3D_DEPTH);
  Ms()->TearDownMenus();
  Nms()->ClearAll();
  Settle();

  // A 3D input shown in 3D (side by side): no depth.
  Tv().Net().Set3DMode(SkinBin::OAM_3D_MODE_SBS);
  page = OpenFromPreferences();
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(page->R(0)->OnGetIsDisabled());
}

// On a 2D picture the depth row is grey, and it is the first row: the page
// opens with the focus on it. Its caption and value stay readable on the
// focus bar, as the caption of a focused row that is not grey does.
TEST_F(ThreeDMenusTest, TheGreyDepthRowWithTheFocusStaysReadable) {
  kv::Persistent<ThreeDMenu> page = OpenFromPreferences();
  ASSERT_NE(page, nullptr);
  for (bool grey : {true, false}) {
    auto* row = kv::Cast<MenuSystem::SubMenuItem>(Focused());
    ASSERT_NE(row, nullptr);
    ASSERT_EQ(row->OnGetIsDisabled(), grey) << row->OnGetText().ToUtf8();
    const std::string caption = row->OnGetText().ToUtf8();
    const std::vector<Core::SeenText> seen = SeenTexts();
    int found = 0;
    for (const Core::SeenText& t : seen) {
      const kv::Rect at = row->GetAbsoluteBounds();
      if (t.where.find("< ThreeD::ThreeDMenu <") == std::string::npos || t.text.empty()) continue;
      if (t.box.y1 >= at.y1 && t.box.y2 <= at.y2) {
        ++found;
        EXPECT_TRUE(t.Readable()) << t.Describe();
        EXPECT_GE(InkContrast(Osd(), t), 3.0) << (grey ? "grey row: " : "row: ") << t.Describe();
      }
    }
    EXPECT_GE(found, 1) << caption << "\n" << SeenList();
    Press("down");
    Settle();
  }
}

TEST_F(ThreeDMenusTest, AutoStartRowWritesTheSetting) {
  Skin()->OnSetThreeDAutoStart(1);
  kv::Persistent<ThreeDMenu> page = OpenFromPreferences();
  ASSERT_NE(page, nullptr);
  ASSERT_TRUE(FocusRow(page.get(), 1));
  Press("right");
  Settle();
  EXPECT_EQ(Store()->GetInteger(SkinBinWrapper::KEY_3D_AUTO_START), 0);
  EXPECT_EQ(ValueOf(page.get(), 1), 0);
  Press("down");  // the page still answers
  EXPECT_EQ(Focused(), page->R(2));
}

TEST_F(ThreeDMenusTest, InformationRowShowsTheNoticeAndBackReturnsToThePage) {
  kv::Persistent<ThreeDMenu> page = OpenFromPreferences();
  ASSERT_NE(page, nullptr);
  ASSERT_TRUE(FocusRow(page.get(), 4));
  Press("ok");
  Settle();
  auto* info = Open<ThreeD::ImportantInfoDialog>();
  ASSERT_NE(info, nullptr);
  EXPECT_FALSE(page->IsOpen());
  Press("back");
  Settle();
  EXPECT_EQ(Open<ThreeD::ImportantInfoDialog>(), nullptr);
  auto* again = Open<ThreeDMenu>();
  ASSERT_NE(again, nullptr);
  // It opens on the row it left and answers the next key.
  EXPECT_EQ(Focused(), again->R(4));
  Press("up");
  EXPECT_EQ(Focused(), again->R(3));
}

TEST_F(ThreeDMenusTest, PinSetThenEnteredLeadsToThePinPageWhichDeletesIt) {
  // No 3D PIN: the safety row is greyed and the PIN row asks for a new PIN.
  kv::Persistent<ThreeDMenu> page = OpenFromPreferences();
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(page->R(3)->OnGetIsDisabled());
  ASSERT_TRUE(FocusRow(page.get(), 2));
  Press("ok");
  Settle();
  auto* change = Open<NonMenuSystem::ChangePinDialog>();
  ASSERT_NE(change, nullptr);
  Type("4321");
  Type("4321");
  EXPECT_EQ(Pin3D(), "4321");
  // With the PIN stored the PIN row asks for it and leads to the PIN page.
  Ms()->TearDownMenus();
  Nms()->ClearAll();
  Settle();
  page = OpenFromPreferences();
  ASSERT_NE(page, nullptr);
  EXPECT_FALSE(page->R(3)->OnGetIsDisabled());
  ASSERT_TRUE(FocusRow(page.get(), 2));
  Press("ok");
  Settle();
  auto* enter = Open<NonMenuSystem::EnterPinDialog>();
  ASSERT_NE(enter, nullptr);
  Type("4321");
  kv::Persistent<ThreeDPinMenu> pins = Open<ThreeDPinMenu>();
  ASSERT_NE(pins, nullptr);
  EXPECT_EQ(pins->RowCount(), 2);
  // Delete PIN asks first; No comes back to the PIN page, which answers keys.
  Skin()->OnSetThreeDLock(1);
  ASSERT_TRUE(FocusRow(pins.get(), 1));
  Press("ok");
  Settle();
  ASSERT_NE(Open<NonMenuSystem::ConfirmMultiOptionDialog>(), nullptr);
  Press("ok");  // No has the focus
  Settle();
  EXPECT_EQ(Pin3D(), "4321");
  pins = Open<ThreeDPinMenu>();
  ASSERT_NE(pins, nullptr);
  EXPECT_TRUE(pins->IsVisible());
  ASSERT_TRUE(FocusRow(pins.get(), 1));
  // Yes removes the 3D PIN and its locks and leads to the 3D setup page,
  // shown and answering keys, without the safety row.
  Press("ok");
  Settle();
  auto* confirm = Open<NonMenuSystem::ConfirmMultiOptionDialog>();
  ASSERT_NE(confirm, nullptr);
  Press("left");
  ASSERT_EQ(Focused(), &confirm->YesButton());
  Press("ok");
  Settle();
  EXPECT_EQ(Pin3D(), "");
  EXPECT_EQ(Skin()->OnGetThreeDLock(), 0);
  page = Open<ThreeDMenu>();
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(page->IsVisible());
  EXPECT_TRUE(page->R(3)->OnGetIsDisabled());
  EXPECT_TRUE(FocusRow(page.get(), 2));
}

TEST_F(ThreeDMenusTest, SafetyPageClearsTheTimerLockWhileTheLockIsOff) {
  Store()->PutString(SkinBinWrapper::KEY_3D_PIN, kv::String::FromUtf8("4321"));
  Skin()->OnSetThreeDTimerLock(1);
  kv::Persistent<ThreeDMenu> page = OpenFromPreferences();
  ASSERT_NE(page, nullptr);
  ASSERT_TRUE(FocusRow(page.get(), 3));
  Press("ok");
  Settle();
  ASSERT_NE(Open<NonMenuSystem::EnterPinDialog>(), nullptr);
  Type("4321");
  kv::Persistent<ThreeDSafetyMenu> safety = Open<ThreeDSafetyMenu>();
  ASSERT_NE(safety, nullptr);
  EXPECT_EQ(safety->RowCount(), 4);
  // The lock is off: the timer lock was cleared, shows off and is greyed.
  EXPECT_EQ(Store()->GetInteger(SkinBinWrapper::KEY_3D_TIMER_LOCK), 0);
  EXPECT_EQ(ValueOf(safety.get(), 2), 0);
  EXPECT_TRUE(safety->R(2)->OnGetIsDisabled());
  // Lock on: the timer lock can be set.
  ASSERT_TRUE(FocusRow(safety.get(), 1));
  Press("right");
  Settle();
  EXPECT_EQ(Skin()->OnGetThreeDLock(), 1);
  EXPECT_FALSE(safety->R(2)->OnGetIsDisabled());
  Press("down");
  ASSERT_EQ(Focused(), safety->R(2));
  Press("right");
  Settle();
  EXPECT_EQ(Store()->GetInteger(SkinBinWrapper::KEY_3D_TIMER_LOCK), 1);
  // Lock off again: the timer lock goes back to off with it.
  Press("up");
  Press("right");
  Settle();
  EXPECT_EQ(Skin()->OnGetThreeDLock(), 0);
  EXPECT_EQ(Store()->GetInteger(SkinBinWrapper::KEY_3D_TIMER_LOCK), 0);
  EXPECT_EQ(ValueOf(safety.get(), 2), 0);
  EXPECT_TRUE(safety->R(2)->OnGetIsDisabled());
  // Back returns to the 3D setup page.
  Press("back");
  Settle();
  EXPECT_NE(Open<ThreeDMenu>(), nullptr);
}

}  // namespace
}  // namespace menutest
