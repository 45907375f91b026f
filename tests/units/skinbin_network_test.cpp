// The skin's network object against the simulated home network: scan, load,
// join with the right key, a wrong key and a vanished access point, more
// than 20 results, a 32-byte name, WPS by PIN and push-button, the wired
// addresses and the connection test; no key or PIN in any log line.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "platform/sim/sim_net_state.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "platform/xpm/xpm_network.h"
#include "support/capture.h"
#include "support/kv_test.h"
#include "units/SkinBin/NetworkSetup.h"
#include "units/Structures/WLAN_Connection.h"
#include "units/Structures/WPS_Connection.h"

namespace skinbinnettest {
namespace {

// What the middleware sent: (id, first word).
std::mutex g_mutex;
std::vector<std::pair<uint32_t, int32_t>> g_events;
void OnEvent(uint32_t id, const void* payload, uint32_t length) {
  int32_t word = 0;
  if (payload && length >= 4) std::memcpy(&word, payload, 4);
  std::lock_guard lock(g_mutex);
  g_events.emplace_back(id, word);
}

class NetworkSetupTest : public kvtest::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    log_.Start();
    dir_ = kvtest::FreshTestDir("skinnet");
    tv_ = std::make_unique<sim::Sim>(dir_.string());
    tv_->Start();
    XPM_SubscribeEvents(&OnEvent);
    {
      std::lock_guard lock(g_mutex);
      g_events.clear();
    }
    net_ = kv::New<SkinBin::NetworkSetup>();
  }
  void TearDown() override {
    XPM_UnsubscribeEvents();
    tv_->Stop();
    tv_.reset();
    log_.Stop();
    RuntimeTest::TearDown();
    kvtest::RemoveTestDir(dir_);
  }
  // Lets `ms` go by on the shared clock and waits for the set's answers.
  void Wait(int64_t ms) {
    driver.RunFor(ms, 100);
    tv_->Quiesce();
  }
  std::vector<std::pair<uint32_t, int32_t>> Events(uint32_t id) {
    std::lock_guard lock(g_mutex);
    std::vector<std::pair<uint32_t, int32_t>> out;
    for (auto& e : g_events)
      if (e.first == id) out.push_back(e);
    return out;
  }
  int32_t ScanAndLoad() {
    const size_t before = Events(XPM_EVT_WLAN_SCAN_COMPLETE).size();
    EXPECT_EQ(net_->WLAN_ScanAccessPoint(kv::String()), XPM_OK);
    EXPECT_EQ(net_->GetAccessPointNum(), 0);
    Wait(sim::NetState::kScanDelay);
    EXPECT_EQ(Events(XPM_EVT_WLAN_SCAN_COMPLETE).size(), before + 1);
    return net_->WLAN_LoadAccessPoints();
  }
  Structures::WLAN_Connection* Connection(const char* ssid, const char* key) {
    auto* c = kv::New<Structures::WLAN_Connection>();
    c->SSID = kv::NewStringAnsi(ssid);
    c->Key = kv::NewStringAnsi(key);
    c->SecurityMethod = XPM_WLAN_SEC_WPA2_AES;
    return c;
  }
  std::vector<int32_t> ConnectStatuses() {
    std::vector<int32_t> out;
    for (auto& e : Events(XPM_EVT_WLAN_CONNECT_COMPLETE)) out.push_back(e.second);
    return out;
  }
  bool AnyLogHas(const std::string& part) { return log_.Contains(part); }

  std::unique_ptr<sim::Sim> tv_;
  kv::Persistent<SkinBin::NetworkSetup> net_;
  std::filesystem::path dir_;
  kvtest::LogCapture log_;
};

TEST_F(NetworkSetupTest, ScanLoadAndJoinWithRightAndWrongKey) {
  ASSERT_EQ(ScanAndLoad(), 4);
  EXPECT_EQ(net_->GetAccessPoint(0)->SSID.ToUtf8(), "HomeNet");
  EXPECT_EQ(net_->GetAccessPoint(0)->Security, XPM_WLAN_SEC_WPA2_AES);
  EXPECT_EQ(net_->GetAccessPoint(0)->Signal, 4);
  EXPECT_EQ(net_->GetAccessPoint(0)->State, 0);
  EXPECT_EQ(net_->GetAccessPoint(4), nullptr);

  // A wrong key is accepted as a request and refused by the access point later.
  EXPECT_EQ(net_->WLAN_JoinNetwork(Connection("HomeNet", "wrong horse")), 1);
  Wait(sim::NetState::kJoinDelay);
  EXPECT_EQ(ConnectStatuses(), (std::vector<int32_t>{XPM_WLAN_CONNECT_REFUSED}));
  EXPECT_EQ(net_->WLAN_GetStatus()->State, 0);

  EXPECT_EQ(net_->WLAN_JoinNetwork(Connection("HomeNet", "correct horse")), 1);
  Wait(sim::NetState::kJoinDelay - 100);
  EXPECT_EQ(ConnectStatuses().size(), 1u);  // not before its time
  Wait(100);
  EXPECT_EQ(ConnectStatuses().back(), XPM_WLAN_CONNECT_OK);
  Structures::WLAN_Info* status = net_->WLAN_GetStatus();
  EXPECT_EQ(status->State, 1);
  EXPECT_EQ(status->SSID.ToUtf8(), "HomeNet");
  // Each join quits the network first.
  EXPECT_EQ(tv_->CountCalls("XPM_WLAN_QuitNetwork"), 2u);

  // The joined network is marked in the next result.
  ScanAndLoad();
  EXPECT_EQ(net_->GetAccessPoint(0)->State, 1);

  // Neither key went into a log line or the set's call log: only the lengths.
  EXPECT_TRUE(AnyLogHas("WLAN SSID IS HomeNet and KEY LENGTH IS 13"));
  EXPECT_FALSE(AnyLogHas("horse"));
  for (const auto& call : tv_->CallLog()) EXPECT_EQ(call.find("horse"), std::string::npos) << call;
}

TEST_F(NetworkSetupTest, AccessPointThatDisappearsAndFailedCalls) {
  ASSERT_EQ(ScanAndLoad(), 4);
  tv_->Net().RemoveAccessPoint("CafeGuest");
  // The held result still lists it; the join gets no answer.
  EXPECT_EQ(net_->GetAccessPoint(1)->SSID.ToUtf8(), "CafeGuest");
  EXPECT_EQ(net_->WLAN_JoinNetwork(Connection("CafeGuest", "")), 1);
  Wait(sim::NetState::kJoinDelay);
  EXPECT_EQ(ConnectStatuses(), (std::vector<int32_t>{XPM_WLAN_CONNECT_NO_ANSWER}));

  // It vanishes while the set is joining it.
  EXPECT_EQ(net_->WLAN_JoinNetwork(Connection("Neighbour", "1234567890")), 1);
  tv_->Net().RemoveAccessPoint("Neighbour");
  Wait(sim::NetState::kJoinDelay);
  EXPECT_EQ(ConnectStatuses().back(), XPM_WLAN_CONNECT_NO_ANSWER);

  tv_->FailCall("XPM_WLAN_JoinNetwork", 5);
  EXPECT_EQ(net_->WLAN_JoinNetwork(Connection("HomeNet", "correct horse")), 0);
  EXPECT_TRUE(AnyLogHas("XPM_WLAN_JoinNetwork fail.  Error code 0x5"));
  tv_->FailCall("XPM_WLAN_Scan", 3);
  EXPECT_EQ(net_->WLAN_ScanAccessPoint(kv::String()), 3);
  EXPECT_TRUE(AnyLogHas("XPM_WLAN_SCAN FAILED"));
  tv_->FailCall("XPM_WLAN_GetScanResults", 1);
  EXPECT_EQ(net_->WLAN_LoadAccessPoints(), 0);
  EXPECT_EQ(net_->WLAN_JoinNetwork(nullptr), 0);
}

TEST_F(NetworkSetupTest, MoreThanTwentyResultsAndLongNames) {
  tv_->Net().ClearAccessPoints();
  tv_->Net().AddAccessPoint({"", "", 50, 0, ""});  // hidden network: not listed
  // A name of exactly 32 bytes arrives without a terminator; a longer one is cut.
  const std::string name32(32, 'N');
  tv_->Net().AddAccessPoint({name32, "", 50, 0, ""});
  tv_->Net().AddAccessPoint({std::string(40, 'L'), "", 50, 0, ""});
  for (int i = 0; i < 25; ++i) tv_->Net().AddAccessPoint({"AP" + std::to_string(i), "", i * 4, 0, ""});
  // 20 results fit the buffer: the hidden one takes a place and is skipped.
  ASSERT_EQ(ScanAndLoad(), 19);
  EXPECT_EQ(net_->GetAccessPoint(0)->SSID.ToUtf8(), name32);
  EXPECT_EQ(net_->GetAccessPoint(1)->SSID.ToUtf8(), std::string(32, 'L'));
  EXPECT_EQ(net_->GetAccessPoint(18)->SSID.ToUtf8(), "AP16");
}

TEST_F(NetworkSetupTest, WpsByPinAndPushButton) {
  ASSERT_EQ(ScanAndLoad(), 4);
  kv::Persistent<Structures::WPS_Connection> wps = kv::New<Structures::WPS_Connection>();
  wps->SSID = kv::NewStringAnsi("HomeNet");
  wps->PIN = kv::NewStringAnsi("12345670");  // the access point's PIN
  EXPECT_EQ(net_->WPS_Join(wps), XPM_OK);
  Wait(sim::NetState::kWpsDelay);
  EXPECT_EQ(ConnectStatuses(), (std::vector<int32_t>{XPM_WLAN_CONNECT_OK}));

  // The set's PIN: eight digits; entered at the access point it joins.
  const kv::String pin = net_->WPS_GeneratePin();
  EXPECT_EQ(pin.Length(), 8);
  wps->PIN = pin;
  wps->Flag = 1;
  EXPECT_EQ(net_->WPS_Join(wps), XPM_OK);
  Wait(sim::NetState::kWpsDelay);
  EXPECT_EQ(ConnectStatuses().back(), XPM_WLAN_CONNECT_OK);
  wps->PIN = kv::NewStringAnsi("00000000");
  net_->WPS_Join(wps);
  Wait(sim::NetState::kWpsDelay);
  EXPECT_EQ(ConnectStatuses().back(), XPM_WLAN_CONNECT_REFUSED);
  EXPECT_EQ(tv_->Calls("XPM_WLAN_WPSJoinByPinEx").back(), "XPM_WLAN_WPSJoinByPinEx(\"HomeNet\", 8, 1)");

  // Push-button: nobody pressed the button, then somebody did.
  wps->Mode = 1;
  net_->WPS_Join(wps);
  Wait(sim::NetState::kWpsDelay);
  EXPECT_EQ(ConnectStatuses().back(), XPM_WLAN_CONNECT_NO_ANSWER);
  tv_->Net().PressWpsButton("Office-Legacy");
  net_->WPS_Join(wps);
  Wait(sim::NetState::kWpsDelay);
  EXPECT_EQ(ConnectStatuses().back(), XPM_WLAN_CONNECT_OK);
  EXPECT_EQ(tv_->Net().Joined(), "Office-Legacy");

  // A failing PIN join logs the PIN's length, never the PIN; a failing PIN
  // generation answers no PIN at all (no PIN the set never made).
  wps->Mode = 0;
  wps->PIN = kv::NewStringAnsi("87654321");
  tv_->FailCall("XPM_WLAN_WPSJoinByPinEx", 1);
  EXPECT_EQ(net_->WPS_Join(wps), 1);
  EXPECT_TRUE(AnyLogHas("with a pin of 8 digits returns error"));
  EXPECT_FALSE(AnyLogHas("87654321"));
  tv_->FailCall("XPM_GenerateWPSPin", 1);
  EXPECT_EQ(net_->WPS_GeneratePin().ToUtf8(), "");
  EXPECT_TRUE(AnyLogHas("XPM_GenerateWPSPin connection returns error"));
}

TEST_F(NetworkSetupTest, WiredAddressesAndConnectionTest) {
  Structures::IF_Configuration* state = net_->LAN_GetIfState(0);
  EXPECT_EQ(state->DHCP, 1);
  EXPECT_EQ(state->IPAddress[0], 192);
  EXPECT_EQ(state->IPAddress[3], 100);
  EXPECT_EQ(net_->GetIfConfig(), state);
  EXPECT_EQ(net_->LAN_GetActivatedDev(), 0);
  EXPECT_EQ(net_->LAN_GetMacAddr(1).ToUtf8(), "00:1C:A2:10:20:31");

  // A static configuration is what the interface then uses.
  kv::Persistent<Structures::IF_Configuration> fixed = kv::New<Structures::IF_Configuration>();
  const uint8_t ip[4] = {10, 0, 0, 7};
  std::memcpy(fixed->IPAddress, ip, 4);
  EXPECT_EQ(net_->LAN_SetIfConfig(0, fixed), XPM_OK);
  EXPECT_EQ(net_->LAN_GetIfState(0)->IPAddress[3], 7);
  EXPECT_EQ(net_->LAN_SetIfConfig(-1, fixed), -1);
  EXPECT_EQ(net_->LAN_SetIfConfig(0, nullptr), -1);

  // The test: every step passes; without a server nothing past the link.
  EXPECT_EQ(net_->LAN_TestConnection(-1), XPM_OK);
  EXPECT_EQ(tv_->Calls("XPM_LAN_Test_Network").back(), "XPM_LAN_Test_Network(15)");
  Wait(sim::NetState::kTestDelay);
  ASSERT_EQ(Events(XPM_EVT_NETWORK_TEST_RESULTS).size(), 1u);
  tv_->Net().SetCablePlugged(false);
  EXPECT_EQ(net_->LAN_GetIfState(0)->IPAddress[0], 0);
  EXPECT_EQ(net_->LAN_GetActivatedDev(), -1);
  net_->LAN_TestConnection(3);
  net_->LAN_QuitTestConnection();  // quit before the answer: none comes
  Wait(sim::NetState::kTestDelay);
  EXPECT_EQ(Events(XPM_EVT_NETWORK_TEST_RESULTS).size(), 1u);

  tv_->FailCall("XPM_LAN_GetMacAddr", 2);
  EXPECT_EQ(net_->LAN_GetMacAddr(0).ToUtf8(), SkinBin::NetworkSetup::kUnknownMac);
  EXPECT_TRUE(AnyLogHas("XPM_LAN_GetMacAddr returned error 2"));
  tv_->FailCall("XPM_LAN_SetIFConfig", 4);
  EXPECT_EQ(net_->LAN_SetIfConfig(1, fixed), 4);
  EXPECT_TRUE(AnyLogHas(" XPM_LAN_SetIFConfig FAILED 4"));
}

}  // namespace
}  // namespace skinbinnettest
