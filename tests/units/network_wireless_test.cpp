// The wireless scan dialog, the key entry dialog and the connection status
// dialog driven through the whole system against the simulated air.
#include <gtest/gtest.h>

#include <string>

#include "menusystem_support.h"
#include "platform/sim/sim_net_state.h"
#include "platform/xpm/xpm_network.h"
#include "runtime/member.h"
#include "units/Constants/Constants.h"
#include "units/Network/ConfirmDialogs.h"
#include "units/Network/ConnectionTestDialog.h"
#include "units/Network/WirelessScanDialog.h"
#include "units/NonMenuSystem/KeyPad.h"
#include "units/Structures/Message.h"
#include "units/SubSystem/State.h"

namespace networktest {

using Network::NetworkStatusDialog;
using Network::PinEnterDialog;
using Network::WirelessScanDialog;

class WirelessTest : public menutest::MenuTest {
 protected:
  template <class T>
  T* Shown() {
    T* t = Open<T>();
    return t && t->IsOpen() ? t : nullptr;
  }
  sim::NetState& Net() { return Tv().Net(); }
  WirelessScanDialog* OpenScan(int32_t mode = 0) {
    Skin()->OnSetNetworkType(1);
    Nms()->OpenWithValue(&WirelessScanDialog::StaticClass(), mode, Constants::MSG_FROM_MENUSYSTEM);
    Settle();
    return Shown<WirelessScanDialog>();
  }
  // Moves the list's focus to the row of `ssid` and presses OK.
  bool Choose(WirelessScanDialog* dialog, const std::string& ssid) {
    // Held: the dialog closes when it moves on, and is read after that.
    kv::Persistent<WirelessScanDialog> d{dialog};
    for (int i = 0; i < 25; ++i) {
      auto* row = kv::Cast<ListForm::KXDApItem>(Focused());
      if (row && row->NetworkName.ToUtf8() == ssid) {
        Press("ok");
        Settle();
        return d->List().NetworkName.ToUtf8() == ssid;
      }
      Press("down");
    }
    return false;
  }
  std::string Status() {
    NetworkStatusDialog* s = Shown<NetworkStatusDialog>();
    return s ? s->YesButton().OnGetText().ToUtf8() + " / " + s->WarningInfo.ToUtf8() : "";
  }
  // Types the digits on the key pad and presses its Done key.
  void KeyPadTypes(const std::string& digits) {
    ASSERT_NE(Shown<NonMenuSystem::KeyPad>(), nullptr);
    for (char c : digits) Press(std::string(1, c));
    Press("blue");
    Settle();
  }
};

TEST_F(WirelessTest, ScanListsTheAirAndASecuredNetworkJoinsWithTheRightKey) {
  Net().AddAccessPoint({"Digits", "", 90, XPM_WLAN_SEC_WPA2_AES, "12345678"});
  WirelessScanDialog* d = OpenScan();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->ShowWaiting, 1);
  ASSERT_FALSE(Calls("XPM_WLAN_Scan").empty());
  // Selecting while the scan runs does nothing.
  Press("ok");
  Settle();
  EXPECT_NE(Shown<WirelessScanDialog>(), nullptr);
  Run(sim::NetState::kScanDelay + 100);
  EXPECT_EQ(d->ShowWaiting, 0);
  EXPECT_EQ(d->Notice(), nullptr);
  EXPECT_GE(Skin()->NetworkSetup.GetAccessPointNum(), 5);
  // The secured network: key entry, then the key pad.
  ASSERT_TRUE(Choose(d, "Digits"));
  Run(300);
  PinEnterDialog* key = Shown<PinEnterDialog>();
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->SSID.ToUtf8(), "Digits");
  EXPECT_EQ(key->Mode, 0);
  EXPECT_EQ(key->OnGetFocus(), &key->KeyPadButton());
  Press("ok");
  Settle();
  KeyPadTypes("12345678");
  EXPECT_EQ(Shown<NonMenuSystem::KeyPad>(), nullptr);
  // Asterisks only; the key is nowhere in the log.
  EXPECT_EQ(key->ValueText().OnGetString().ToUtf8(), "********");
  EXPECT_EQ(Focused(), &key->OkButton());
  ClearCallLog();
  Press("ok");
  Settle();
  ASSERT_EQ(Calls("XPM_WLAN_JoinNetwork").size(), 1u);
  EXPECT_EQ(Calls("XPM_WLAN_JoinNetwork")[0].find("12345678"), std::string::npos);
  EXPECT_FALSE(Logged("12345678"));
  EXPECT_EQ(Shown<PinEnterDialog>(), nullptr);
  EXPECT_EQ(Status(), "Cancel / Connecting to the network...");
  Run(sim::NetState::kJoinDelay + 100);
  EXPECT_EQ(Net().Joined(), "Digits");
  EXPECT_EQ(Status(), "Done / Connected to the network.");
  Press("ok");
  Run(300);
  Settle();
  EXPECT_EQ(Shown<NetworkStatusDialog>(), nullptr);
}

TEST_F(WirelessTest, AWrongKeyFailsAndCancelGoesBack) {
  Net().AddAccessPoint({"Digits", "", 90, XPM_WLAN_SEC_WPA2_AES, "12345678"});
  WirelessScanDialog* d = OpenScan();
  ASSERT_NE(d, nullptr);
  Run(sim::NetState::kScanDelay + 100);
  ASSERT_TRUE(Choose(d, "Digits"));
  Run(300);
  ASSERT_NE(Shown<PinEnterDialog>(), nullptr);
  Press("ok");
  Settle();
  KeyPadTypes("999");
  Press("ok");
  Settle();
  Run(sim::NetState::kJoinDelay + 100);
  EXPECT_EQ(Net().Joined(), "");
  EXPECT_EQ(Status(), "Cancel / The connection failed.");
  Press("ok");
  Run(300);
  Settle();
  EXPECT_EQ(Shown<NetworkStatusDialog>(), nullptr);
}

TEST_F(WirelessTest, AnOpenNetworkIsJoinedAtOnceAndNoAnswerFailsAfter36Seconds) {
  WirelessScanDialog* d = OpenScan();
  ASSERT_NE(d, nullptr);
  Run(sim::NetState::kScanDelay + 100);
  ClearCallLog();
  ASSERT_TRUE(Choose(d, "CafeGuest"));
  Run(300);
  EXPECT_EQ(Calls("XPM_WLAN_JoinNetwork").size(), 1u);
  EXPECT_EQ(Shown<PinEnterDialog>(), nullptr);
  ASSERT_NE(Shown<NetworkStatusDialog>(), nullptr);
  Run(sim::NetState::kJoinDelay + 100);
  EXPECT_EQ(Status(), "Done / Connected to the network.");
  EXPECT_EQ(Net().Joined(), "CafeGuest");
  // A status dialog that never hears back fails after 36 s, keeping Cancel.
  Press("exit");
  Settle();
  Nms()->OpenWithValue(&NetworkStatusDialog::StaticClass(), 0, Constants::MSG_FROM_MENUSYSTEM);
  Settle();
  Run(35000);
  EXPECT_EQ(Status(), "Cancel / Connecting to the network...");
  Run(1500);
  EXPECT_EQ(Status(), "Cancel / The connection failed.");
}

TEST_F(WirelessTest, EmptyAirShowsTheNoticeAndRescansOnKey20) {
  Net().ClearAccessPoints();
  WirelessScanDialog* d = OpenScan();
  ASSERT_NE(d, nullptr);
  Run(sim::NetState::kScanDelay + 100);
  ASSERT_NE(d->Notice(), nullptr);
  EXPECT_EQ(d->Notice()->Bounds().x1, 283);
  EXPECT_EQ(d->Notice()->Bounds().y1, 145);
  // Key 20 scans again; the air now has a network.
  Net().AddAccessPoint({"Late", "", 60, XPM_WLAN_SEC_OPEN, ""});
  ClearCallLog();
  Press("red");
  Settle();
  EXPECT_EQ(Calls("XPM_WLAN_Scan").size(), 1u);
  EXPECT_EQ(d->ShowWaiting, 1);
  EXPECT_EQ(d->Notice(), nullptr);
  Run(sim::NetState::kScanDelay + 100);
  EXPECT_EQ(d->Notice(), nullptr);
  EXPECT_EQ(Skin()->NetworkSetup.GetAccessPointNum(), 1);
}

TEST_F(WirelessTest, ScanTimeOutsAndLeavingStopTheScan) {
  // The first scan gives up after 15 s: the notice, the circle gone.
  Net().SetWirelessAnswers(false);
  WirelessScanDialog* d = OpenScan();
  ASSERT_NE(d, nullptr);
  Run(14000);
  EXPECT_EQ(d->ShowWaiting, 1);
  Run(1500);
  EXPECT_EQ(d->ShowWaiting, 0);
  ASSERT_NE(d->Notice(), nullptr);
  // A rescan waits 60 s.
  Press("red");
  Settle();
  Run(59000);
  EXPECT_EQ(d->ShowWaiting, 1);
  // Back while scanning stops the scan and leaves.
  ClearCallLog();
  Press("back");
  Run(300);
  Settle();
  EXPECT_EQ(Calls("XPM_WLAN_StopScan").size(), 1u);
  EXPECT_EQ(Shown<WirelessScanDialog>(), nullptr);
  // Exit likewise.
  d = OpenScan();
  ASSERT_NE(d, nullptr);
  ClearCallLog();
  Press("exit");
  Settle();
  EXPECT_EQ(Calls("XPM_WLAN_StopScan").size(), 1u);
  EXPECT_EQ(Shown<WirelessScanDialog>(), nullptr);
}

TEST_F(WirelessTest, FromTheMenuWirelessSetupFindsNetworks) {
  // menu > Settings > Networking > Wireless setup > Find networks.
  Skin()->OnSetNetworkType(1);
  Ms()->SetMenuIndex(1, 1);
  Press("menu");
  Settle();
  Step("down", 3);
  Press("ok");
  Run(400);
  auto onRow = [&](const kv::Class* target) {
    auto* item = kv::Cast<MenuSystem::VidiSubMenuItem>(Focused());
    return item && item->NextState == target;
  };
  for (int i = 0; i < 15 && !onRow(&MenuSystem::VidiNetworkingMenu::StaticClass()); ++i) Step("down");
  Press("ok");
  Run(400);
  for (int i = 0; i < 6 && !onRow(&MenuSystem::VidiWirelessSetup::StaticClass()); ++i) Step("down");
  ASSERT_TRUE(onRow(&MenuSystem::VidiWirelessSetup::StaticClass()));
  Press("ok");
  Run(400);
  ASSERT_TRUE(onRow(&WirelessScanDialog::StaticClass()));
  ClearCallLog();
  Press("ok");
  Run(300);
  Settle();
  ASSERT_NE(Shown<WirelessScanDialog>(), nullptr);
  EXPECT_EQ(Calls("XPM_WLAN_Scan").size(), 1u);
  Run(sim::NetState::kScanDelay + 100);
  EXPECT_GE(Skin()->NetworkSetup.GetAccessPointNum(), 4);
  // Back while listed returns to the menu, which still answers keys.
  Press("back");
  Run(400);
  Settle();
  EXPECT_EQ(Shown<WirelessScanDialog>(), nullptr);
  EXPECT_TRUE(onRow(&WirelessScanDialog::StaticClass()));
}

TEST_F(WirelessTest, EachScreenOpenedAndClosed50TimesKeepsTheCensus) {
  for (const kv::Class* cls : {&WirelessScanDialog::StaticClass(), &PinEnterDialog::StaticClass(),
                               &NetworkStatusDialog::StaticClass()}) {
    SCOPED_TRACE(cls->name);
    auto cycle = [&] {
      Nms()->OpenWithValue(cls, 0, Constants::MSG_FROM_MENUSYSTEM);
      Settle();
      Run(2200);
      Press("exit");
      Settle();
    };
    for (int i = 0; i < 2; ++i) cycle();
    const auto base = Census();
    for (int i = 0; i < 50; ++i) cycle();
    EXPECT_EQ(Census(), base);
  }
}

}  // namespace networktest
