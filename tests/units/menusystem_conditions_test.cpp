// The live pages' conditional items, each branch forced by putting the set
// into that state before the page opens: picture-in-picture mode, network
// type, a stored PIN (scan and disk format behind the PIN dialog), a USB
// disk or none, and the record timer with and without a free timer.
#include <gtest/gtest.h>

#include <string>

#include "menusystem_support.h"
#include "platform/xpm/xpm_record.h"
#include "strings/MenuSystem.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/PersistentData/PersistentData.h"

namespace menutest {
namespace {

using namespace MenuSystem;

class ConditionsTest : public MenuTest {
 protected:
  template <class T>
  T* OpenLive() {
    Ms()->TearDownMenus();
    Settle();
    auto* page = kv::Cast<T>(Ms()->OpenState(&T::StaticClass(), 0, 0, nullptr));
    Settle();
    return page;
  }
  void StorePin(const char* pin) {
    kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData)
        ->PutString(MenuSystem::KEY_PIN, kv::NewStringAnsi(pin));
  }
  // Menu > Record > Schedule record, focused on its record-timer row.
  bool OnRecordTimerRow() {
    Ms()->SetMenuIndex(1, 7);
    Press("menu");
    Settle();
    Press("ok");
    Settle();
    Press("ok");
    Settle();
    if (!kv::Cast<VidiScheduleRecordMenu>(Page())) return false;
    Step("down");
    return Page()->CurrentItemIndex == 2;
  }
  static std::string Target(VidiSubMenuItem* item) {
    return item && item->NextState ? item->NextState->name : std::string();
  }
};

TEST_F(ConditionsTest, PictureInPictureModeOffAndOn) {
  Skin()->OnSetPipMode(0);
  auto* off = OpenLive<VidiPIPMenu>();
  ASSERT_NE(off, nullptr);
  EXPECT_EQ(off->ItemsNum, 1);
  for (int32_t i = 1; i < 6; ++i) EXPECT_TRUE(off->Item(i)->OnGetIsDisabled()) << i;
  Skin()->OnSetPipMode(1);
  auto* on = OpenLive<VidiPIPMenu>();
  ASSERT_NE(on, nullptr);
  EXPECT_EQ(on->ItemsNum, 6);
  for (int32_t i = 1; i < 6; ++i) EXPECT_FALSE(on->Item(i)->OnGetIsDisabled()) << i;
}

TEST_F(ConditionsTest, NetworkingWiredAndWireless) {
  Skin()->OnSetNetworkType(0);
  auto* none = OpenLive<VidiNetworkingMenu>();
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(none->ItemsNum, 3);
  Skin()->OnSetNetworkType(1);
  auto* wired = OpenLive<VidiNetworkingMenu>();
  ASSERT_NE(wired, nullptr);
  EXPECT_EQ(wired->ItemsNum, 4);
}

TEST_F(ConditionsTest, ScanAndResetGoThroughThePinDialogOnlyWithAPin) {
  auto* plain = OpenLive<VidiChannelsMenu>();
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(Target(plain->Item(3)), "Channels::AutoTuningConfirmDialog");
  auto* settings = OpenLive<VidiSettingsMenu>();
  ASSERT_NE(settings, nullptr);
  EXPECT_EQ(Target(settings->Item(settings->ItemCount() - 1)), "NonMenuSystem::ConfirmMultiOptionDialog");
  StorePin("4321");
  auto* guarded = OpenLive<VidiChannelsMenu>();
  ASSERT_NE(guarded, nullptr);
  EXPECT_EQ(Target(guarded->Item(3)), "NonMenuSystem::EnterPinDialog");
  EXPECT_EQ(guarded->Item(3)->OptionType, 3);
  settings = OpenLive<VidiSettingsMenu>();
  ASSERT_NE(settings, nullptr);
  EXPECT_EQ(Target(settings->Item(settings->ItemCount() - 1)), "NonMenuSystem::EnterPinDialog");
  EXPECT_EQ(settings->Item(settings->ItemCount() - 1)->OptionType, 4);
}

TEST_F(ConditionsTest, DiskRowsWithoutADiskWithADiskAndWithAPin) {
  // No disk: the disk rows lead to the disk error screen.
  auto* none = OpenLive<VidiRecordMenu>();
  ASSERT_NE(none, nullptr);
  const int32_t n = none->ItemCount();
  ASSERT_GE(n, 6);
  const std::string error = "Record::USBDiskErrorDialog";
  if (KV_LATE_CLASS("Record::USBDiskErrorDialog")) {
    for (int32_t i = 3; i <= 5; ++i) EXPECT_EQ(Target(none->Item(i)), error) << i;
  }
  // A disk: the rows lead to their own screens; formatting needs no PIN.
  sim::MountUsbDisk(Tv());
  auto* disk = OpenLive<VidiRecordMenu>();
  ASSERT_NE(disk, nullptr);
  for (int32_t i = 3; i <= 5; ++i) EXPECT_NE(Target(disk->Item(i)), error) << i;
  EXPECT_NE(Target(disk->Item(5)), "NonMenuSystem::EnterPinDialog");
  // A disk and a PIN: formatting goes through the PIN dialog, type 12.
  StorePin("4321");
  auto* pin = OpenLive<VidiRecordMenu>();
  ASSERT_NE(pin, nullptr);
  EXPECT_EQ(Target(pin->Item(5)), "NonMenuSystem::EnterPinDialog");
  EXPECT_EQ(pin->Item(5)->OptionType, 12);
}

TEST_F(ConditionsTest, RecordTimerWithAndWithoutAFreeTimer) {
  // A free timer: the bar does not open (the timer editor is opened when it exists).
  ASSERT_TRUE(OnRecordTimerRow());
  Press("ok");
  Settle();
  EXPECT_EQ(Open<NonMenuSystem::DirectMessageBar>(), nullptr);
  // None free: bar 44.
  Ms()->TearDownMenus();
  Settle();
  ASSERT_TRUE(OnRecordTimerRow());
  FailCall("DB_Get_TimerId", 1);
  Press("ok");
  Settle();
  auto* bar = Open<NonMenuSystem::DirectMessageBar>();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->MessageType, 44);
}

}  // namespace
}  // namespace menutest
