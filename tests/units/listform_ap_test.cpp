// The access-point lists in a small screen that plays the wireless screens
// (they come later): it loads the scan result when the simulated network
// reports the scan complete, as they do.
#include <gtest/gtest.h>

#include "listform_fixture.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_net_state.h"
#include "platform/xpm/xpm_network.h"
#include "runtime/text.h"
#include "strings/Strings.h"
#include "units/Core/Event.h"
#include "units/Events/WlanScanCompleteEvent.h"
#include "units/ListForm/AccessPointLists.h"
#include "units/SkinBin/NetworkSetup.h"

namespace listtest {

// Loads the result of each completed scan into its list.
class ScanHost : public Primitives::KeyRoutingForm {
  KV_CLASS(listtest, ScanHost, Primitives::KeyRoutingForm)
 public:
  kv::Object* HandleEvent(Core::Event* event) override {
    if (!kv::Cast<Events::WlanScanCompleteEvent>(event)) return KeyRoutingForm::HandleEvent(event);
    if (auto* l = kv::Cast<ListForm::AccessPointList>(list.get())) results = l->GetScanResult();
    if (auto* l = kv::Cast<ListForm::KXDAccessPointList>(list.get())) results = l->GetScanResult();
    ++scans;
    return this;
  }
  kv::Member<ListForm::ListClass> list;
  int32_t results = -1;
  int scans = 0;
};
KV_REGISTER_CLASS(listtest::ScanHost);

namespace {

using namespace ListForm;

class AccessPointListsTest : public ListTest {
 protected:
  template <class L>
  L* OpenAps(L* list) {
    auto* form = kv::New<ScanHost>();
    form->list = list;
    scanHost = form;
    return Open(list, {20, 20, 700, 330}, 0, 0, {60, 60, 900, 500}, form);
  }
  sim::NetState& Net() { return Tv().Net(); }
  static std::string Str(const kv::MultiTextId& id) { return kv::GetVariantOfString(id).ToUtf8(); }
  kv::Persistent<ScanHost> scanHost;
};

TEST_F(AccessPointListsTest, AScanShowsDisabledEmptyRowsUntilItCompletes) {
  ClearCallLog();
  auto* l = OpenAps(kv::New<AccessPointList>());
  EXPECT_EQ(Calls("XPM_WLAN_Scan").size(), 1u);
  ASSERT_EQ(Rows(l).size(), 8u);
  for (Forms::Ctrl* row : Rows(l)) {
    EXPECT_TRUE(kv::Cast<::Button::ButtonClass>(row)->OnGetIsDisabled());
    EXPECT_EQ(Text(row), "");
  }
  Run(sim::NetState::kScanDelay + 100);
  EXPECT_EQ(scanHost->scans, 1);
  ASSERT_GE(scanHost->results, 1);
  ASSERT_EQ(static_cast<int32_t>(Rows(l).size()), std::min(8, scanHost->results));
  auto* first = Row<ApItem>(l, 0);
  EXPECT_FALSE(first->OnGetIsDisabled());
  SkinBin::NetworkSetup& net = W()->NetworkSetup;
  EXPECT_EQ(first->OnGetText(), net.GetAccessPoint(0)->SSID);
  EXPECT_EQ(first->OnGetSecondText(), net.GetAccessPoint(0)->MacAddress);
  EXPECT_EQ(first->OnGetSignalText().ToUtf8(), SignalWord(net.GetAccessPoint(0)->Signal).ToUtf8());
  EXPECT_FALSE(first->OnGetChannelText().Empty());
}

TEST_F(AccessPointListsTest, AKeptResultShowsOnceWithoutScanning) {
  OpenAps(kv::New<AccessPointList>());
  Run(sim::NetState::kScanDelay + 100);
  const int32_t n = scanHost->results;
  CloseHost();
  W()->NetworkSetup.KeepResult = 1;
  ClearCallLog();
  auto* l = OpenAps(kv::New<AccessPointList>());
  EXPECT_TRUE(Calls("XPM_WLAN_Scan").empty());
  EXPECT_EQ(static_cast<int32_t>(Rows(l).size()), std::min(8, n));
  EXPECT_FALSE(Row<ApItem>(l, 0)->OnGetIsDisabled());
  EXPECT_EQ(W()->NetworkSetup.KeepResult, 0);
  CloseHost();
  OpenAps(kv::New<AccessPointList>());
  EXPECT_EQ(Calls("XPM_WLAN_Scan").size(), 1u);  // the next entry scans again
}

TEST_F(AccessPointListsTest, WithAPinTheChosenNetworkIsJoinedByWps) {
  auto* l = kv::New<AccessPointList>();
  l->PIN = kv::String::FromUtf8("12345670");
  auto* chosen = kv::New<Probe>();
  kv::Persistent<Probe> keep(chosen);
  l->OnConnectAP = kv::MakeSlot(chosen, &Probe::Hit);
  OpenAps(l);
  Press("ok");  // an empty row while scanning: nothing
  EXPECT_EQ(chosen->hits, 0);
  Run(sim::NetState::kScanDelay + 100);
  Press("down");
  ClearCallLog();
  Press("ok");
  EXPECT_EQ(W()->NetworkSetup.SelectedIndex, 1);
  ASSERT_EQ(Calls("XPM_WLAN_WPSJoinByPinEx").size(), 1u);
  const std::string ssid = W()->NetworkSetup.GetAccessPoint(1)->SSID.ToUtf8();
  EXPECT_NE(Calls("XPM_WLAN_WPSJoinByPinEx")[0].find(ssid), std::string::npos);
  // The call logs the PIN's length (8) and the request's first byte (1).
  const std::string call = Calls("XPM_WLAN_WPSJoinByPinEx")[0];
  EXPECT_EQ(call.substr(call.size() - 7), ", 8, 1)");
  EXPECT_EQ(chosen->hits, 1);
}

TEST_F(AccessPointListsTest, ProtocolModeShowsTheModeColumn) {
  auto* l = kv::New<AccessPointList>();
  l->ProtocolMode = true;
  OpenAps(l);
  Run(sim::NetState::kScanDelay + 100);
  auto* row = Row<ApItem_Protocol>(l, 0);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->OnGetSecondText().ToUtf8(), ProtocolName(W()->NetworkSetup.GetAccessPoint(0)->Mode).ToUtf8());
  EXPECT_EQ(ProtocolName(20).ToUtf8(), Str(Strings::SID_NONE));
  EXPECT_EQ(ProtocolName(15).ToUtf8(), Str(Strings::SID_WIFI_11A_B_G_N));
  EXPECT_EQ(ProtocolName(10).ToUtf8(), Str(Strings::SID_UNSUPPORTED));
  EXPECT_EQ(SignalWord(9).ToUtf8(), Str(Strings::SID_STRONG));
  EXPECT_EQ(SignalWord(1).ToUtf8(), Str(Strings::SID_WEAK));
  EXPECT_EQ(SignalWord(3).ToUtf8(), Str(Strings::SID_MEDIUM_U));
}

TEST_F(AccessPointListsTest, TheSkinListJoinsAnOpenNetworkAtOnceAndOnlySignalsASecuredOne) {
  Net().ClearAccessPoints();
  Net().AddAccessPoint({"Cafe", "", 90, XPM_WLAN_SEC_OPEN, ""});
  Net().AddAccessPoint({"Home", "", 40, XPM_WLAN_SEC_WPA2_AES, "secret"});
  auto* l = kv::New<KXDAccessPointList>();
  auto* chosen = kv::New<Probe>();
  kv::Persistent<Probe> keep(chosen);
  l->OnConnectAP = kv::MakeSlot(chosen, &Probe::Hit);
  OpenAps(l);
  ASSERT_EQ(Rows(l).size(), 6u);
  EXPECT_FALSE(Row<KXDApItem>(l, 0)->IsBarShown());  // scanning
  Run(sim::NetState::kScanDelay + 100);
  ASSERT_EQ(scanHost->results, 2);
  ASSERT_EQ(Rows(l).size(), 2u);
  auto* cafe = Row<KXDApItem>(l, 0);
  auto* home = Row<KXDApItem>(l, 1);
  ASSERT_EQ(cafe->NetworkName.ToUtf8(), "Cafe");
  EXPECT_TRUE(cafe->IsBarShown());
  EXPECT_FALSE(cafe->IsLockShown());
  EXPECT_TRUE(home->IsLockShown());
  ClearCallLog();
  Press("ok");
  EXPECT_EQ(Calls("XPM_WLAN_JoinNetwork").size(), 1u);
  EXPECT_EQ(l->NetworkName.ToUtf8(), "Cafe");
  EXPECT_EQ(chosen->hits, 1);
  Press("down");
  ClearCallLog();
  Press("ok");
  EXPECT_TRUE(Calls("XPM_WLAN_JoinNetwork").empty());
  EXPECT_EQ(l->NetworkName.ToUtf8(), "Home");
  EXPECT_NE(l->Security, 0);
  EXPECT_EQ(W()->NetworkSetup.SelectedIndex, 1);
  EXPECT_EQ(chosen->hits, 2);
  // A strong signal fills the bar; down on the last row is the owner's.
  home->OnSetSignal(9);
  EXPECT_EQ(home->ShownBars(), 5);
  auto* down = kv::New<Core::KeyEvent>();
  down->Code = l->IncreaseKey;
  down->Down = true;
  EXPECT_EQ(l->HandleEvent(down), nullptr);
}

TEST_F(AccessPointListsTest, AScanThatFindsNothingLeavesTheListDisabledAndAnswersZero) {
  Net().ClearAccessPoints();
  auto* l = OpenAps(kv::New<KXDAccessPointList>());
  Run(sim::NetState::kScanDelay + 100);
  EXPECT_EQ(scanHost->results, 0);
  ASSERT_EQ(Rows(l).size(), 6u);
  for (Forms::Ctrl* row : Rows(l)) EXPECT_TRUE(kv::Cast<::Button::ButtonClass>(row)->OnGetIsDisabled());
}

}  // namespace
}  // namespace listtest
