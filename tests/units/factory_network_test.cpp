// The factory's network tests through the whole system: the wireless module
// test with its USB stick, the throughput test, the MAC address write and
// the default wired configuration; and the result writers' bounds.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <fstream>
#include <string>
#include <vector>

#include "factory/factory_command.h"
#include "factory_support.h"
#include "platform/xpm/xpm_network.h"
#include "platform/xpm/xpm_record.h"
#include "units/FactorySystem/Screens.h"

namespace {

using Lines = std::vector<std::string>;

class FactoryNetworkTest : public FactoryTest {
 protected:
  void Stick(const std::string& text) {
    sim::MountUsbDisk(Tv());
    std::ofstream(std::filesystem::path(Tv().TargetPath(sim::kUsbMountPoint)) / "wlan_test.txt") << text;
  }
  std::string Report() {
    auto* m = OpenForm<FactorySystem::LargeMessage>();
    return m ? m->Text().ToUtf8() : std::string("(none)");
  }
  size_t Mounts() {
    size_t n = 0;
    for (const auto& c : Calls("BCM_syscall_popen")) n += c.find("mount -t vfat") != std::string::npos;
    return n;
  }
  // Starts the test and lets the join answer arrive.
  void RunWlanTest() {
    Code(0x40EE04FB);
    Run(3000);
  }
};

const char* kGoodFile = "ssid CafeGuest\nkey PassPhrase1234\nant_a -50\nant_b -50\n";

TEST_F(FactoryNetworkTest, WithoutAStickEveryDeviceIsTriedAndTheFileIsReportedMissing) {
  Code(0x40EE04FB);
  EXPECT_EQ(Mounts(), 28u);
  EXPECT_EQ(Report(), "File Not Found:wlan_test.txt\n");
  const std::string serial = SerialLog();
  EXPECT_NE(serial.find("WLAN:testing\r\n"), std::string::npos);
  EXPECT_NE(serial.find("Check VID,PID:OK\r\n"), std::string::npos);
  EXPECT_NE(serial.find("File Not Found:wlan_test.txt\r\n"), std::string::npos);
  EXPECT_FALSE(factory::WlanTestWaiting());
}

TEST_F(FactoryNetworkTest, AGoodRunJoinsMeasuresAndLeavesWithoutPrintingThePassPhrase) {
  Stick(kGoodFile);
  RunWlanTest();
  EXPECT_EQ(Calls("XPM_WLAN_JoinNetwork"), Lines{"XPM_WLAN_JoinNetwork(\"CafeGuest\", 14, 4)"});
  EXPECT_EQ(Report(),
            "Check VID,PID:OK\nCheck MacAddress:OK\nAP Connect:OK\ncheck RSSI: OK\n RSSI Main: -42 Sub: -47\n"
            "AP Disconnect:OK");
  EXPECT_FALSE(factory::WlanTestWaiting());
  EXPECT_EQ(Mounts(), 5u) << "the four whole devices fail, the stick's first partition mounts";
  EXPECT_EQ(Calls("BCM_syscall_system").size(), 1u) << "unmounted once, after reading";
  for (const std::string& line : Log().Lines()) EXPECT_EQ(line.find("PassPhrase1234"), std::string::npos) << line;
  EXPECT_TRUE(Logged("KEY LENGTH:14"));
  // A verdict code while no test waits changes nothing.
  Code(0x40EA45BA);
  EXPECT_NE(Report().find("AP Disconnect:OK"), std::string::npos);
}

TEST_F(FactoryNetworkTest, EachBranchOfTheWirelessTestGivesItsVerdict) {
  struct Case {
    const char* name;
    std::string file;
    std::map<std::string, std::string> state;
    std::string expect;  // a part of the report
  };
  const Case cases[] = {
      {"three lines", "ssid CafeGuest\nkey k\nant_a -50\n", {}, "File Not Found:wlan_test.txt\n"},
      {"a name too long", "ssid " + std::string(33, 'n') + "\nkey k\nant_a -50\nant_b -50\n", {},
       "File Not Found:wlan_test.txt\n"},
      {"a threshold outside 16 bits", "ssid CafeGuest\nkey k\nant_a -50000\nant_b -50\n", {},
       "File Not Found:wlan_test.txt\n"},
      {"wrong ids", kGoodFile, {{"factory.wl.deviceid", "0x4359"}}, "Check VID,PID:NG\n"},
      {"no module", kGoodFile, {{"factory.wl.module", "0"}}, "Check VID,PID:NG\n"},
      {"zero MAC", kGoodFile, {{"net.mac.1", "00:00:00:00:00:00"}}, "Check MacAddress:NG\nAP Connect:OK\n"},
      {"at the threshold", "ssid CafeGuest\nkey k\nant_a -42\nant_b -47\n", {}, "check RSSI: OK\n"},
      {"below the threshold", "ssid CafeGuest\nkey k\nant_a -41\nant_b -47\n", {},
       "check RSSI: NG\n RSSI Main: -42 Sub: -47\n"},
      {"a reading without its value", kGoodFile, {{"factory.wl.rssi", "rssi[0] -42 rssi[1]"}},
       "check RSSI: NG\n RSSI Main: -90 Sub: -90\n"},
      {"join refused", "ssid Nowhere\nkey k\nant_a -50\nant_b -50\n", {}, "AP Connect:NG\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Stick(c.file);
    for (const auto& [k, v] : c.state) Tv().SetState(k, v);
    ClearCallLog();
    RunWlanTest();
    EXPECT_NE(Report().find(c.expect), std::string::npos) << Report();
    EXPECT_FALSE(factory::WlanTestWaiting());
    for (const auto& [k, v] : c.state) Tv().UpdateState({}, {k});
    Press("exit");
  }
  EXPECT_TRUE(Logged("File format error 3"));
}

TEST_F(FactoryNetworkTest, AJoinWithoutAnswerCountsAsFailedAfterThirtySixSeconds) {
  Stick(kGoodFile);
  FailCall("XPM_WLAN_JoinNetwork", 1);
  Code(0x40EE04FB);
  EXPECT_TRUE(factory::WlanTestWaiting());
  Run(35000);
  EXPECT_EQ(Report(), "WLAN:testing");
  Run(2000);
  EXPECT_EQ(Report(), "Check VID,PID:OK\nCheck MacAddress:OK\nAP Connect:NG\n");
  EXPECT_FALSE(factory::WlanTestWaiting());
}

TEST_F(FactoryNetworkTest, TheThroughputVerdictFollowsTheSpeed) {
  const std::pair<const char*, const char*> cases[] = {
      {"24001", "DLNA:OK"}, {"24000", "DLNA:NG(Performance)"}, {"23999", "DLNA:NG(Performance)"},
      {"1", "DLNA:NG(Performance)"}, {"0", "DLNA:NG(Connection)"}};
  for (const auto& [speed, verdict] : cases) {
    Tv().SetState("factory.http.speed", speed);
    ClearCallLog();
    Code(0x40EE7F80);
    EXPECT_EQ(Report(), verdict) << speed;
    EXPECT_EQ(Calls("BCM_HTTP_Speed"),
              Lines{"BCM_HTTP_Speed(\"192.168.0.10:10483\", \"test/kelvo_speed_test.dat\", 3232235530)"});
    EXPECT_EQ(Calls("BCM_Set_http_timeout"), (Lines{"BCM_Set_http_timeout(2)", "BCM_Set_http_timeout(30)"}));
  }
  FailCall("OAM_PlatformMiscs_GetSpeedTestInfo", 1);
  Tv().SetState("factory.http.speed", "30000");
  Code(0x40EE7F80);
  EXPECT_EQ(Report(), "DLNA:NG(Connection)");
}

TEST_F(FactoryNetworkTest, OnlyAUsableMacAddressIsWrittenAndItStaysAfterARestart) {
  for (const char* bad : {"00:00:00:00:00:00", "FF:FF:FF:FF:FF:FF", "01:1C:A2:AA:BB:CC", "00:1C:A2:AA:BB",
                          "00-1C-A2-AA-BB-CC", "00:1C:A2:AA:BB:CG"}) {
    Code(0x40EA41BE, bad);
    EXPECT_TRUE(Calls("XPM_LAN_SetMacAddr").empty()) << bad;
  }
  EXPECT_NE(SerialLog().find("The MAC address was not changed"), std::string::npos);
  Code(0x40EA41BE, "00:1c:a2:aa:bb:cc");
  EXPECT_EQ(Calls("XPM_LAN_SetMacAddr"), Lines{"XPM_LAN_SetMacAddr(0, \"00:1c:a2:aa:bb:cc\")"});
  EXPECT_NE(SerialLog().find("The MAC address was changed OK to 00:1c:a2:aa:bb:cc.\r\n"), std::string::npos);
  Restart();
  char mac[18] = {};
  ASSERT_EQ(XPM_LAN_GetMacAddr(0, mac), 0);
  EXPECT_STREQ(mac, "00:1c:a2:aa:bb:cc");
}

TEST_F(FactoryNetworkTest, TheWiredDefaultWritesTheFactoryAddress) {
  Code(0x40EE9F60);
  EXPECT_EQ(Report(), "Default MAC address/IP address writing");
  XPM_IfConfig config{};
  ASSERT_EQ(XPM_LAN_GetIFConfig(0, &config), 0);
  EXPECT_EQ(config.dhcp, 0);
  EXPECT_EQ(config.ip[0], 192);
  EXPECT_EQ(config.ip[3], 100);
  EXPECT_EQ(config.mask[2], 255);
  EXPECT_EQ(config.mask[3], 0);
}

TEST(FactoryResultWriters, TextsAreCopiedUpToTheirEndAndZeroPadded) {
  factory::FactoryResult r;
  std::memset(&r, 0x5A, sizeof r);
  factory::SetResultDisplayValue("RDRV", 7, &r);
  EXPECT_STREQ(r.value.name, "RDRV");
  for (size_t i = 4; i < sizeof r.value.name; ++i) EXPECT_EQ(r.value.name[i], 0) << i;
  const std::string longText(300, 'x');
  std::memset(&r, 0x5A, sizeof r);
  factory::SetResultDisplayMessage(nullptr, longText.c_str(), 0x30, &r);
  EXPECT_EQ(std::string(r.message.text), std::string(255, 'x'));
  EXPECT_EQ(r.message.text[255], 0);
  EXPECT_EQ(r.message.parameter, 0x30);
}

}  // namespace
