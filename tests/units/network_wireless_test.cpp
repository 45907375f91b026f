// The wireless scan dialog, the key entry dialog and the connection status
// dialog driven through the whole system against the simulated air.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "focus_look.h"
#include "menusystem_support.h"
#include "platform/sim/sim_net_state.h"
#include "platform/xpm/xpm_network.h"
#include "runtime/member.h"
#include "units/Constants/Constants.h"
#include "runtime/auto_object.h"
#include "units/Agent/MessageAgent.h"
#include "units/Fonts/Fonts.h"
#include "units/Resources/Resources.h"
#include "units/Views/Text.h"
#include "units/Network/AdvancedDialog.h"
#include "units/Network/ConfirmDialogs.h"
#include "units/NonMenuSystem/OptionDialogs.h"
#include "units/Structures/RefHolders.h"
#include "units/Network/ConnectionTestDialog.h"
#include "units/Network/WirelessScanDialog.h"
#include "units/NonMenuSystem/KeyPad.h"
#include "units/Structures/Message.h"
#include "units/Structures/WLAN_Connection.h"
#include "units/Structures/WLAN_Info.h"
#include "units/SubSystem/State.h"
#include "units/Wrapper/Wrapper.h"

namespace networktest {

using Network::NetworkStatusDialog;
using Network::PinEnterDialog;
using Network::WirelessAdvancedDialog;
using Network::WirelessScanDialog;
using Network::WPSGeneratePinDialog;
using Network::WPSPBCDialog;

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
  // Nothing of a secret in the log, the call log or the set's stored state.
  void ExpectNowhere(const std::string& secret) {
    EXPECT_FALSE(Logged(secret)) << secret;
    for (const std::string& call : Tv().CallLog()) EXPECT_EQ(call.find(secret), std::string::npos) << call;
    // Every file the set and the system keep (settings, set state).
    for (const auto& f : std::filesystem::recursive_directory_iterator(DataDir())) {
      if (!f.is_regular_file()) continue;
      std::ifstream in(f.path(), std::ios::binary);
      const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      EXPECT_EQ(text.find(secret), std::string::npos) << f.path();
    }
  }
  // The wizard's state of that name was opened, or asked for in a system
  // that does not have it.
  bool Asked(const std::string& state) {
    for (Primitives::KeyRoutingForm* f : OpenForms())
      if (f->KvClass()->name == state) return true;
    return Logged(state + " is not built in this system");
  }
  // The advanced dialog as the wireless set-up page opens it, with the
  // connect mode, authentication and encryption the option pop-ups wrote.
  WirelessAdvancedDialog* OpenAdvanced(int32_t mode, int32_t auth = 0, int32_t enc = 0) {
    Skin()->OnSetNetworkType(1);
    Skin()->OnSetConnectMode(mode);
    Skin()->OnSetAuthentication(auth);
    Skin()->OnSetEncryption(enc);
    Nms()->OpenWithValue(&WirelessAdvancedDialog::StaticClass(), 0, Constants::MSG_FROM_MENUSYSTEM);
    Settle();
    return Shown<WirelessAdvancedDialog>();
  }
  // Moves the focus down to OK (below the rows, left of Cancel).
  bool FocusOk(Network::NetworkConfirmDialog* d) {
    for (int i = 0; i < 7 && Focused() != &d->OkButton() && Focused() != &d->CancelButton(); ++i) Press("down");
    if (Focused() == &d->CancelButton()) Press("left");
    Settle();
    return Focused() == &d->OkButton();
  }
  // Moves the focus down (or up) to `target`.
  bool FocusBy(const char* key, Core::View* target) {
    for (int i = 0; i < 7 && Focused() != target; ++i) Press(key);
    Settle();
    return Focused() == target;
  }
  // The brightest channel value of the glyphs of the label `text` on screen
  // (-1 when it is not seen).
  int LabelBrightness(const std::string& text) {
    for (const Core::SeenText& t : SeenTexts()) {
      if (t.text != text) continue;
      int brightest = 0;
      for (int32_t y = std::max(t.ink.y1, 0); y < std::min(t.ink.y2, 540); ++y)
        for (int32_t x = std::max(t.ink.x1, 0); x < std::min(t.ink.x2, 960); ++x) {
          const uint32_t p = Osd().Row(y)[x];
          brightest = std::max({brightest, static_cast<int>(p & 0xFF), static_cast<int>(p >> 8 & 0xFF),
                                static_cast<int>(p >> 16 & 0xFF)});
        }
      return brightest;
    }
    return -1;
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
  // The list scans: its empty first row carries no focus bar.
  EXPECT_FALSE(apptest::LooksFocused(Osd(), d->List().GetFocusedRow())) << "a bar on the list that scans";
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

// The key pad opens under the key entry's title and prompt: the viewer still
// reads which network the key is for while typing it. The connection status
// dialog that follows has a title, and after a refused join its one button
// reads Cancel and goes back.
TEST_F(WirelessTest, TheKeyPadLeavesThePromptReadableAndTheStatusDialogHasATitle) {
  Net().AddAccessPoint({"Digits", "", 90, XPM_WLAN_SEC_WPA2_AES, "12345678"});
  WirelessScanDialog* d = OpenScan();
  ASSERT_NE(d, nullptr);
  Run(sim::NetState::kScanDelay + 100);
  ASSERT_TRUE(Choose(d, "Digits"));
  Run(300);
  PinEnterDialog* key = Shown<PinEnterDialog>();
  ASSERT_NE(key, nullptr);
  Press("ok");
  Settle();
  auto* pad = Shown<NonMenuSystem::KeyPad>();
  ASSERT_NE(pad, nullptr);
  Run(300);
  // Only the pad's key looks focused, not the dialog's Keypad button.
  EXPECT_TRUE(apptest::LooksFocused(Osd(), Focused())) << "the pad's key: " << Focused()->KvClass()->name;
  EXPECT_FALSE(apptest::LooksFocused(Osd(), key->OnGetFocus())) << "the Keypad button beside the pad's key";
  // On screen: the dialog's title strip and its prompt lie outside the pad.
  const kv::Rect k = key->Bounds();
  const kv::Rect p = pad->Bounds();
  const kv::Rect w = key->WarningView().Bounds();
  const kv::Rect prompt{k.x1 + w.x1, k.y1 + w.y1, k.x1 + w.x2, k.y1 + w.y2};
  const kv::Rect title{k.x1, k.y1, k.x2, k.y1 + 30};
  EXPECT_TRUE(p.Intersect(prompt).IsEmpty()) << "the pad covers the prompt";
  EXPECT_TRUE(p.Intersect(title).IsEmpty()) << "the pad covers the title";
  EXPECT_GE(p.x1, 0);
  EXPECT_LE(p.x2, 960);
  EXPECT_LE(p.y2, 540);
  KeyPadTypes("999");
  ASSERT_EQ(Shown<NonMenuSystem::KeyPad>(), nullptr);
  EXPECT_EQ(key->ValueText().OnGetString().ToUtf8(), "***");
  EXPECT_TRUE(apptest::LooksFocused(Osd(), &key->OkButton())) << "the dialog takes the keys again";
  Press("ok");
  Settle();
  NetworkStatusDialog* status = Shown<NetworkStatusDialog>();
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(status->OnGetCaption().ToUtf8(), "Wireless connection");
  EXPECT_TRUE(apptest::LooksFocused(Osd(), &status->YesButton())) << "Cancel shows the focus of the dialogs' buttons";
  Run(sim::NetState::kJoinDelay + 100);
  EXPECT_EQ(Status(), "Cancel / The connection failed.");
  EXPECT_EQ(status->OnGetCaption().ToUtf8(), "Wireless connection");
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
  EXPECT_TRUE(Sees("No access points found")) << SeenList();
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

// The set reports the joined access point's channel, modes, rate and
// address, as the scan listed them; nothing of it without a link.
TEST_F(WirelessTest, TheLinkReportsTheJoinedAccessPointsChannelModeRateAndAddress) {
  sim::NetState::AccessPoint ap{"Loft", "00:AA:BB:CC:DD:0E", 70, XPM_WLAN_SEC_OPEN, ""};
  ap.channel = 11;
  ap.mode = 2 | 4;
  ap.rate = 54;
  Net().AddAccessPoint(ap);
  Skin()->OnSetNetworkType(1);
  SkinBin::NetworkSetup& setup = Skin()->NetworkSetup;
  kv::Persistent<Structures::WLAN_Info> before{setup.WLAN_GetStatus()};
  EXPECT_EQ(before->State, 0);
  EXPECT_EQ(before->Channel, 0);
  EXPECT_EQ(before->Rate, 0);
  setup.WLAN_ScanAccessPoint(kv::String());
  Run(sim::NetState::kScanDelay + 100);
  ASSERT_GE(setup.WLAN_LoadAccessPoints(), 1);
  auto* join = kv::New<Structures::WLAN_Connection>();
  join->SSID = kv::NewStringAnsi("Loft");
  join->SecurityMethod = -1;
  ASSERT_EQ(setup.WLAN_JoinNetwork(join), 1);
  Run(sim::NetState::kJoinDelay + 100);
  kv::Persistent<Structures::WLAN_Info> link{setup.WLAN_GetStatus()};
  EXPECT_EQ(link->State, 1);
  EXPECT_EQ(link->SSID.ToUtf8(), "Loft");
  EXPECT_EQ(link->Channel, 11);
  EXPECT_EQ(link->Mode, 6);
  EXPECT_EQ(link->Rate, 54);
  EXPECT_EQ(link->MacAddress.ToUtf8(), "00:AA:BB:CC:DD:0E");
  // The scan listed the same access point alike.
  bool listed = false;
  for (int32_t i = 0; i < setup.GetAccessPointNum(); ++i) {
    Structures::WLAN_Info* a = setup.GetAccessPoint(i);
    if (a->SSID.ToUtf8() != "Loft") continue;
    listed = true;
    EXPECT_EQ(a->Mode, 6);
    EXPECT_EQ(a->Rate, 54);
    EXPECT_EQ(a->MacAddress.ToUtf8(), "00:AA:BB:CC:DD:0E");
  }
  EXPECT_TRUE(listed);
  // Gone from the air: no link, no channel.
  Net().RemoveAccessPoint("Loft");
  kv::Persistent<Structures::WLAN_Info> after{setup.WLAN_GetStatus()};
  EXPECT_EQ(after->State, 0);
  EXPECT_EQ(after->Channel, 0);
}

// The WPS PIN page's scan: with WPS PIN mode 0 the set makes the PIN
// (joined with flag 1), with 1 the viewer types the access point's PIN
// (flag 0), whatever the access point's security.
TEST_F(WirelessTest, WpsPinPathsJoinWithTheSetsPinOrTheAccessPointsPin) {
  Skin()->OnSetWPSPinMode(0);
  WirelessScanDialog* d = OpenScan(1);
  ASSERT_NE(d, nullptr);
  Run(sim::NetState::kScanDelay + 100);
  ASSERT_TRUE(Choose(d, "HomeNet"));
  Run(300);
  WPSGeneratePinDialog* gen = Shown<WPSGeneratePinDialog>();
  ASSERT_NE(gen, nullptr);
  EXPECT_EQ(gen->SSID.ToUtf8(), "HomeNet");
  EXPECT_EQ(gen->ValueText().OnGetString().ToUtf8(), "--------");
  EXPECT_EQ(Focused(), &gen->GenerateButton());
  ClearCallLog();
  Press("ok");
  Settle();
  ASSERT_EQ(Calls("XPM_GenerateWPSPin").size(), 1u);
  const std::string pin = gen->ValueText().OnGetString().ToUtf8();
  EXPECT_EQ(pin.size(), 8u);
  EXPECT_EQ(pin.find_first_not_of("0123456789"), std::string::npos) << pin;
  EXPECT_EQ(Focused(), &gen->OkButton());
  Press("ok");
  Settle();
  EXPECT_EQ(Calls("XPM_WLAN_WPSJoinByPinEx"), std::vector<std::string>{"XPM_WLAN_WPSJoinByPinEx(\"HomeNet\", 8, 1)"});
  EXPECT_EQ(Status(), "Cancel / Connecting to the network...");
  Run(sim::NetState::kWpsDelay + 100);
  EXPECT_EQ(Net().Joined(), "HomeNet");
  EXPECT_EQ(Status(), "Done / Connected to the network.");
  ExpectNowhere(pin);
  Press("ok");
  Run(300);
  Settle();

  // Mode 1: the PIN entry dialog; a typed 10-digit PIN goes as its first 8.
  Skin()->OnSetWPSPinMode(1);
  d = OpenScan(1);
  ASSERT_NE(d, nullptr);
  Run(sim::NetState::kScanDelay + 100);
  ASSERT_TRUE(Choose(d, "HomeNet"));
  Run(300);
  PinEnterDialog* entry = Shown<PinEnterDialog>();
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->Mode, 1);
  Press("ok");
  Settle();
  KeyPadTypes("1234567099");
  EXPECT_EQ(entry->ValueText().OnGetString().ToUtf8(), "**********");
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_EQ(Calls("XPM_WLAN_WPSJoinByPinEx"), std::vector<std::string>{"XPM_WLAN_WPSJoinByPinEx(\"HomeNet\", 8, 0)"});
  Run(sim::NetState::kWpsDelay + 100);
  EXPECT_EQ(Net().Joined(), "HomeNet") << "the access point's PIN 12345670";
  EXPECT_EQ(Status(), "Done / Connected to the network.");
  ExpectNowhere("12345670");
}

// No PIN the set never made: OK before Generate, or after the set failed to
// make one, starts no join; the row says the generation failed.
TEST_F(WirelessTest, WithoutAGeneratedPinOkStartsNoJoin) {
  Nms()->OpenWithValue(&WPSGeneratePinDialog::StaticClass(), 1, Constants::MSG_FROM_MENUSYSTEM);
  Settle();
  WPSGeneratePinDialog* gen = Shown<WPSGeneratePinDialog>();
  ASSERT_NE(gen, nullptr);
  EXPECT_TRUE(gen->PinText().Empty());
  // OK first: no join; the status dialog fails after its 36 s.
  ClearCallLog();
  Press("down");
  Press("left");
  ASSERT_EQ(Focused(), &gen->OkButton());
  Press("ok");
  Settle();
  EXPECT_TRUE(Calls("XPM_WLAN_WPSJoinByPinEx").empty());
  ASSERT_NE(Shown<NetworkStatusDialog>(), nullptr);
  Run(36500);
  EXPECT_EQ(Status(), "Cancel / The connection failed.");
  Press("exit");
  Settle();

  // The set cannot make a PIN.
  Nms()->OpenWithValue(&WPSGeneratePinDialog::StaticClass(), 1, Constants::MSG_FROM_MENUSYSTEM);
  Settle();
  gen = Shown<WPSGeneratePinDialog>();
  ASSERT_NE(gen, nullptr);
  FailCall("XPM_GenerateWPSPin", 1);
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_EQ(Calls("XPM_GenerateWPSPin").size(), 1u);
  EXPECT_EQ(gen->ValueText().OnGetString().ToUtf8(), "No PIN: generation failed");
  EXPECT_TRUE(gen->PinText().Empty());
  EXPECT_TRUE(Logged("XPM_GenerateWPSPin connection returns error"));
  EXPECT_EQ(Focused(), &gen->GenerateButton()) << "nothing to read off: Generate again";
  Press("down");
  Press("left");
  Settle();
  ASSERT_EQ(Focused(), &gen->OkButton());
  Press("ok");
  Settle();
  EXPECT_TRUE(Calls("XPM_WLAN_WPSJoinByPinEx").empty());
  EXPECT_FALSE(Logged("5820346"));
  for (const std::string& call : Tv().CallLog()) EXPECT_EQ(call.find("5820346"), std::string::npos);
  FailCall("XPM_GenerateWPSPin", 0);
}

// The push-button dialog from the wireless set-up page's row: OK starts the
// push-button join; the access point whose button was pressed is joined.
TEST_F(WirelessTest, PushButtonDialogJoinsTheAccessPointWhoseButtonWasPressed) {
  Skin()->OnSetNetworkType(1);
  Nms()->OpenWithValue(&WPSPBCDialog::StaticClass(), 0, Constants::MSG_FROM_MENUSYSTEM);
  Settle();
  WPSPBCDialog* pbc = Shown<WPSPBCDialog>();
  ASSERT_NE(pbc, nullptr);
  EXPECT_EQ(pbc->Bounds().W(), 430);
  EXPECT_EQ(pbc->Bounds().H(), 330);
  EXPECT_LT(pbc->WarningView().Bounds().y2, pbc->OkButton().Bounds().y1) << "the text clear of the buttons";
  EXPECT_EQ(pbc->WarningView().Bounds().x1, 53);
  EXPECT_EQ(pbc->WarningView().Bounds().y1, 81);
  EXPECT_EQ(Focused(), &pbc->CancelButton());
  Net().PressWpsButton("Office-Legacy");
  ClearCallLog();
  Press("left");
  Press("ok");
  Settle();
  EXPECT_EQ(Calls("XPM_WLAN_WPSJoinByPb").size(), 1u);
  EXPECT_EQ(Shown<WPSPBCDialog>(), nullptr);
  Run(sim::NetState::kWpsDelay + 100);
  EXPECT_EQ(Net().Joined(), "Office-Legacy");
  EXPECT_EQ(Status(), "Done / Connected to the network.");
  // Nobody pressed a button: the join fails.
  Press("ok");
  Run(300);
  Settle();
  Nms()->OpenWithValue(&WPSPBCDialog::StaticClass(), 0, Constants::MSG_FROM_MENUSYSTEM);
  Settle();
  Press("left");
  Press("ok");
  Settle();
  Run(sim::NetState::kWpsDelay + 100);
  EXPECT_EQ(Status(), "Cancel / The connection failed.");
}

// The key rules of the advanced dialog, one row per case: the key pad's
// text for the password either shows as asterisks or leads to the error
// notice of its kind.
TEST_F(WirelessTest, AdvancedDialogKeyRules) {
  const std::string hex26 = "0123456789abcdefABCDEF0123";
  const std::string hex64 = std::string(32, 'a') + std::string(32, '9');
  struct Row {
    int32_t mode, auth, enc;
    std::string key;
    bool accepted;
  };
  const Row rows[] = {
      // WEP (method 1): 5 or 13 of anything, 10 or 26 hexadecimal.
      {2, 0, 1, "a b!c", true},
      {2, 0, 1, "abcdefghijklm", true},
      {2, 0, 1, "0123456789", true},
      {2, 0, 1, "01234ABCDE", true},
      {2, 0, 1, "012345678g", false},
      {2, 0, 1, hex26, true},
      {2, 0, 1, "abcdef", false},
      // Pass phrases (methods 2 to 5): 8 to 63 of anything, 64 hexadecimal.
      {2, 1, 3, "abcdefgh", true},
      {2, 1, 2, std::string(63, 'x'), true},
      {2, 2, 3, hex64, true},
      {2, 2, 2, std::string(64, 'x'), false},
      {2, 2, 3, "abcdefg", false},
      {2, 1, 3, std::string(65, 'a'), false},
      // The set finds the security (connect mode 1), or a combination the
      // table does not know (method 6): every key passes.
      {1, 0, 0, "x", true},
      {1, 0, 0, std::string(65, 'a'), true},
      {2, 1, 1, "x", true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.mode) + "/" + std::to_string(r.auth) + "/" + std::to_string(r.enc) + " " + r.key);
    Log().Clear();
    kv::Persistent<WirelessAdvancedDialog> d{OpenAdvanced(r.mode, r.auth, r.enc)};
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(FocusBy("down", &d->PasswordButton()));
    KeyPadAnswers(r.key);
    const bool wep = r.auth == 0 && r.enc == 1 && r.mode == 2;
    const char* notice = wep ? "Network::AssistedSetupInvalidWEPKey" : "Network::AssistedSetupInvalidWPAKey";
    if (r.accepted) {
      EXPECT_EQ(d->PasswordButton().OnGetText().ToUtf8(), std::string(r.key.size(), '*'));
      EXPECT_FALSE(Asked(notice));
    } else {
      EXPECT_TRUE(Asked(notice));
      EXPECT_EQ(d->PasswordButton().OnGetText().ToUtf8(), "");
    }
    ExpectNowhere(r.key.size() > 1 ? r.key : "\x01");
    Press("exit");
    Settle();
  }
}

// The network name: 32 bytes are taken, 33 refused; greying follows the
// connect mode and the encryption chosen in the option pop-ups, and up from
// OK skips a greyed password.
TEST_F(WirelessTest, AdvancedDialogNameLengthGreyingAndUpFromOk) {
  WirelessAdvancedDialog* d = OpenAdvanced(1);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(Focused(), &d->ConnectModeButton());
  EXPECT_EQ(d->ConnectModeButton().OnGetText().ToUtf8(), "Auto");
  EXPECT_TRUE(d->AuthenticationButton().OnGetIsDisabled());
  EXPECT_TRUE(d->EncryptionButton().OnGetIsDisabled());
  EXPECT_FALSE(d->PasswordButton().OnGetIsDisabled());
  // Down from the connect mode skips the greyed rows.
  Press("down");
  EXPECT_EQ(Focused(), &d->NameButton());
  const std::string name32(32, 'n');
  KeyPadAnswers(name32);
  EXPECT_EQ(d->NameButton().OnGetText().ToUtf8(), name32);
  KeyPadAnswers(name32 + "n");
  Run(300);
  EXPECT_TRUE(Asked("Network::AssistedSetupInvalidName"));
  // The notice returns to the dialog (OK, like back and its 60 s), the
  // accepted name kept.
  if (kv::FindClass("Network::AssistedSetupInvalidName")) {
    EXPECT_EQ(Shown<WirelessAdvancedDialog>(), nullptr);
    Press("ok");
    Run(300);
    Settle();
    d = Shown<WirelessAdvancedDialog>();
    ASSERT_NE(d, nullptr);
  }
  EXPECT_EQ(d->NameButton().OnGetText().ToUtf8(), name32);
  Press("exit");
  Settle();

  // Connect mode by hand through its option pop-up: authentication and
  // encryption come alive; no encryption greys the password.
  d = OpenAdvanced(1);
  ASSERT_NE(d, nullptr);
  Press("ok");
  Settle();
  auto* popup = Shown<NonMenuSystem::OptionDialog>();
  ASSERT_NE(popup, nullptr);
  Press("down");
  Press("ok");
  Run(300);
  Settle();
  EXPECT_EQ(Skin()->OnGetConnectMode(), 2);
  EXPECT_EQ(d->ConnectModeButton().OnGetText().ToUtf8(), "Manual");
  EXPECT_FALSE(d->AuthenticationButton().OnGetIsDisabled());
  EXPECT_FALSE(d->EncryptionButton().OnGetIsDisabled());
  EXPECT_TRUE(d->PasswordButton().OnGetIsDisabled()) << "encryption none";
  // The grey password row reads grey: its label is dimmer than the name's.
  EXPECT_LT(LabelBrightness("Password"), LabelBrightness("Network name:") - 60) << SeenList();
  ASSERT_TRUE(FocusOk(d));
  Press("up");
  EXPECT_EQ(Focused(), &d->NameButton());
  // With WEP the password is back, and up from OK reaches it.
  ASSERT_TRUE(FocusBy("up", &d->EncryptionButton()));
  Press("ok");
  Settle();
  ASSERT_NE(Shown<NonMenuSystem::OptionDialog>(), nullptr);
  Press("down");
  Press("ok");
  Run(300);
  Settle();
  EXPECT_EQ(Skin()->OnGetEncryption(), 1);
  EXPECT_EQ(d->EncryptionButton().OnGetText().ToUtf8(), "WEP");
  EXPECT_FALSE(d->PasswordButton().OnGetIsDisabled());
  ASSERT_TRUE(FocusOk(d));
  Press("up");
  EXPECT_EQ(Focused(), &d->PasswordButton());
  // The next key still acts: exit closes.
  Press("exit");
  Settle();
  EXPECT_EQ(Shown<WirelessAdvancedDialog>(), nullptr);
}

// OK on the advanced dialog: a right key joins and ends in Done, a wrong
// one in failure; each row of the failure table leads where it says.
TEST_F(WirelessTest, AdvancedDialogJoinsAndEachFailureLeadsToItsNotice) {
  auto typeEntries = [&](WirelessAdvancedDialog* d, const std::string& name, const std::string& key) {
    ASSERT_TRUE(FocusBy("down", &d->NameButton()));
    KeyPadAnswers(name);
    if (!key.empty()) {
      ASSERT_TRUE(FocusBy("down", &d->PasswordButton()));
      KeyPadAnswers(key);
    }
    ASSERT_TRUE(FocusOk(d));
  };
  // The set finds the security: security 0xFF, the right key.
  WirelessAdvancedDialog* d = OpenAdvanced(1);
  ASSERT_NE(d, nullptr);
  typeEntries(d, "HomeNet", "correct horse");
  ClearCallLog();
  Press("ok");
  Settle();
  ASSERT_EQ(Calls("XPM_WLAN_JoinNetwork"), std::vector<std::string>{"XPM_WLAN_JoinNetwork(\"HomeNet\", 13, 255)"});
  EXPECT_EQ(Status(), "Cancel / Connecting to the network...");
  Run(sim::NetState::kJoinDelay + 100);
  EXPECT_EQ(Net().Joined(), "HomeNet");
  EXPECT_EQ(Status(), "Done / Connected to the network.");
  ExpectNowhere("correct horse");
  Press("ok");
  Run(300);
  Settle();

  // By hand, WPA2 with AES (method 4), a wrong key: the join fails.
  d = OpenAdvanced(2, 2, 3);
  ASSERT_NE(d, nullptr);
  typeEntries(d, "HomeNet", "wrong horse");
  ClearCallLog();
  Press("ok");
  Settle();
  ASSERT_EQ(Calls("XPM_WLAN_JoinNetwork"), std::vector<std::string>{"XPM_WLAN_JoinNetwork(\"HomeNet\", 11, 4)"});
  Run(sim::NetState::kJoinDelay + 100);
  EXPECT_EQ(Status(), "Cancel / The connection failed.");
  ExpectNowhere("wrong horse");
  Press("exit");
  Settle();

  // A combination the set cannot join (WPA-PSK with WEP): no join.
  Log().Clear();
  d = OpenAdvanced(2, 1, 1);
  ASSERT_NE(d, nullptr);
  typeEntries(d, "HomeNet", "abcdefgh");
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_TRUE(Calls("XPM_WLAN_JoinNetwork").empty());
  EXPECT_TRUE(Asked("Network::AssistedSetupSecureError"));
  EXPECT_EQ(Shown<NetworkStatusDialog>(), nullptr);
  // Back from the notice: the dialog again, name and key kept.
  if (kv::FindClass("Network::AssistedSetupSecureError")) {
    Press("back");
    Run(300);
    Settle();
    d = Shown<WirelessAdvancedDialog>();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->NameButton().OnGetText().ToUtf8(), "HomeNet");
    EXPECT_EQ(d->PasswordButton().OnGetText().ToUtf8(), "********");
  }
  Press("exit");
  Settle();

  // The set refuses the join call.
  Log().Clear();
  d = OpenAdvanced(1);
  ASSERT_NE(d, nullptr);
  typeEntries(d, "HomeNet", "abcdefgh");
  FailCall("XPM_WLAN_JoinNetwork", 2);
  Press("ok");
  Settle();
  EXPECT_TRUE(Asked("Network::AssistedSetupNoApFound"));
  EXPECT_EQ(Shown<NetworkStatusDialog>(), nullptr);
  FailCall("XPM_WLAN_JoinNetwork", 0);
  Press("exit");
  Settle();

  // An open network by hand: the no-encryption warning first, no join yet.
  Log().Clear();
  d = OpenAdvanced(2, 0, 0);
  ASSERT_NE(d, nullptr);
  typeEntries(d, "CafeGuest", "");
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_TRUE(Calls("XPM_WLAN_JoinNetwork").empty());
  EXPECT_TRUE(Asked("Network::CheckNoEncryption"));
  EXPECT_EQ(Shown<NetworkStatusDialog>(), nullptr);
  Press("exit");
  Settle();

  // No answer within 36 s: the status dialog fails and keeps Cancel; no
  // access-point notice.
  Log().Clear();
  Net().SetWirelessAnswers(false);
  d = OpenAdvanced(1);
  ASSERT_NE(d, nullptr);
  typeEntries(d, "HomeNet", "correct horse");
  Press("ok");
  Settle();
  Run(35000);
  EXPECT_EQ(Status(), "Cancel / Connecting to the network...");
  Run(1500);
  EXPECT_EQ(Status(), "Cancel / The connection failed.");
  EXPECT_FALSE(Asked("Network::AssistedSetupNoApFound"));
}

// Back from the advanced dialog: the scan dialog shows the held list at
// once, without a new scan.
#ifdef KV_VERIFY
// The choice pop-ups and the key pad over the advanced dialog stand beside
// the values: every value stays readable, and no label, caption or button
// text is left half covered. Back closes a pop-up and the rows answer again.
TEST_F(WirelessTest, ThePopUpsAndTheKeyPadLeaveNoFragmentOfTheRows) {
  WirelessAdvancedDialog* d = OpenAdvanced(2, 1, 3);
  ASSERT_NE(d, nullptr);
  auto values = [&] {
    std::vector<std::string> v;
    for (Network::OptionButton* b : {&d->ConnectModeButton(), &d->AuthenticationButton(), &d->EncryptionButton()})
      v.push_back(b->OnGetText().ToUtf8());
    return v;
  };
  for (Network::OptionButton* b : {&d->ConnectModeButton(), &d->AuthenticationButton(), &d->EncryptionButton()}) {
    ASSERT_TRUE(FocusBy("down", b));
    EXPECT_TRUE(apptest::LooksFocused(Osd(), b));
    Press("ok");
    Run(400);
    ASSERT_NE(Shown<NonMenuSystem::OptionDialog>(), nullptr);
    EXPECT_FALSE(apptest::LooksFocused(Osd(), b)) << "the button beside its pop-up's choice";
    EXPECT_EQ(Core::TextFaults(SeenTexts()), std::vector<std::string>{}) << SeenList();
    for (const std::string& v : values()) EXPECT_TRUE(Sees(v)) << v << "\n" << SeenList();
    Press("back");
    Run(400);
    EXPECT_EQ(Shown<NonMenuSystem::OptionDialog>(), nullptr);
  }
  ASSERT_TRUE(FocusBy("down", &d->NameButton()));
  Press("ok");
  Run(400);
  ASSERT_NE(Shown<NonMenuSystem::KeyPad>(), nullptr);
  EXPECT_FALSE(apptest::LooksFocused(Osd(), &d->NameButton())) << "the name row beside the pad's key";
  EXPECT_EQ(Core::TextFaults(SeenTexts()), std::vector<std::string>{}) << SeenList();
  for (const std::string& v : values()) EXPECT_TRUE(Sees(v)) << v << "\n" << SeenList();
}
#endif

#ifdef KV_VERIFY
// The listed networks: each row spans the list, and every text of it stands
// inside its focus bar, clear of the bar's right end and centred on the
// row's height; each heading stands over its column. The longest mode name
// ("802.11a/b/g/n") fits its column whole.
TEST_F(WirelessTest, TheListedRowsKeepTheirTextsInsideTheFocusBar) {
  Net().AddAccessPoint({"AllModes", "", 95, XPM_WLAN_SEC_OPEN, "", "", 6, 15});
  WirelessScanDialog* d = OpenScan();
  ASSERT_NE(d, nullptr);
  Run(sim::NetState::kScanDelay + 100);
  Run(300);
  ListForm::KXDAccessPointList& list = d->List();
  const kv::Rect l = list.GetAbsoluteBounds();
  std::vector<kv::Rect> rows;
  for (Forms::Ctrl* row : list.GetAllRows()) {
    const kv::Rect r = row->GetAbsoluteBounds();
    EXPECT_EQ(r.x1, l.x1 + list.ItemXOffset) << "the rows take their list's width";
    EXPECT_EQ(r.x2, l.x2 - list.ItemXOffset) << "the rows take their list's width";
    rows.push_back(r);
  }
  const std::vector<Core::SeenText> seen = SeenTexts();
  int32_t modeLeft = -1;
  int32_t checked = 0;
  bool longest = false;
  for (const Core::SeenText& t : seen) {
    if (t.where.find("ListForm::KXDApItem") == std::string::npos || t.ink.IsEmpty()) continue;
    const kv::Point c{(t.box.x1 + t.box.x2) / 2, (t.box.y1 + t.box.y2) / 2};
    const kv::Rect* row = nullptr;
    for (const kv::Rect& r : rows)
      if (r.Contains(c)) row = &r;
    ASSERT_NE(row, nullptr) << t.Describe();
    ++checked;
    EXPECT_TRUE(t.Readable()) << t.Describe();
    EXPECT_GE(t.ink.x1, row->x1 + 6) << t.Describe();
    EXPECT_LE(t.ink.x2, row->x2 - 8) << "the text runs into the bar's right end: " << t.Describe();
    const int32_t inkMid = t.ink.y1 + t.ink.y2;
    const int32_t rowMid = row->y1 + row->y2;
    EXPECT_LE(std::abs(inkMid - rowMid), 4) << "not centred on the row " << row->y1 << "-" << row->y2 << ": "
                                            << t.Describe();
    if (t.text.rfind("802.11", 0) == 0) modeLeft = t.box.x1;
    if (t.text == "802.11a/b/g/n") {
      // Whole, not ended in an ellipsis: its glyphs as wide as the name.
      Views::Text whole;
      whole.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
      whole.OnSetAutoSize(true);
      whole.OnSetString(kv::String::FromUtf8("802.11a/b/g/n"));
      EXPECT_GE(t.ink.W(), whole.Bounds().W() - 4) << t.Describe();
      longest = true;
    }
  }
  EXPECT_GE(checked, 10) << SeenList();
  EXPECT_TRUE(longest) << SeenList();
  // The Mode heading over the mode texts.
  bool heading = false;
  for (const Core::SeenText& t : seen)
    if (t.text == "Mode") {
      heading = true;
      EXPECT_TRUE(t.Readable()) << t.Describe();
      EXPECT_EQ(t.box.x1, modeLeft) << t.Describe();
    }
  EXPECT_TRUE(heading) << SeenList();
  // The next key still moves the focus down the list.
  Forms::Ctrl* first = kv::Cast<Forms::Ctrl>(Focused());
  Press("down");
  Settle();
  EXPECT_NE(Focused(), first);
}
#endif

TEST_F(WirelessTest, BackFromTheAdvancedDialogShowsTheHeldList) {
  WirelessScanDialog* scan = OpenScan();
  ASSERT_NE(scan, nullptr);
  Run(sim::NetState::kScanDelay + 100);
  const int32_t held = Skin()->NetworkSetup.GetAccessPointNum();
  ASSERT_GE(held, 4);
  Press("back");
  Run(300);
  Settle();
  ASSERT_NE(OpenAdvanced(1), nullptr);
  Press("back");
  Run(300);
  Settle();
  EXPECT_EQ(Shown<WirelessAdvancedDialog>(), nullptr);
  ClearCallLog();
  scan = OpenScan();
  ASSERT_NE(scan, nullptr);
  EXPECT_TRUE(Calls("XPM_WLAN_Scan").empty());
  EXPECT_EQ(scan->ShowWaiting, 0);
  EXPECT_EQ(Skin()->NetworkSetup.GetAccessPointNum(), held);
  EXPECT_EQ(Skin()->NetworkSetup.KeepResult, 0);
}

TEST_F(WirelessTest, EachScreenOpenedAndClosed50TimesKeepsTheCensus) {
  for (const kv::Class* cls : {&WirelessScanDialog::StaticClass(), &PinEnterDialog::StaticClass(),
                               &NetworkStatusDialog::StaticClass(), &WPSGeneratePinDialog::StaticClass(),
                               &WPSPBCDialog::StaticClass(), &WirelessAdvancedDialog::StaticClass()}) {
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
