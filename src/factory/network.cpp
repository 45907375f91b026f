// The network tests: the wireless module test (identity, MAC address,
// joining the access point named on a USB stick, signal strength of both
// antennas, leaving), the throughput test against the factory test server,
// the MAC address write and the default wired configuration.
//
// The pass phrase of the test file is never printed: the console gets its
// length only.
#include <cstring>
#include <string>

#include "factory/internal.h"
#include "factory/readers.h"
#include "platform/oam/oam_factory.h"
#include "platform/xpm/xpm_network.h"
#include "runtime/clock.h"

namespace factory {

namespace {

constexpr uint32_t kWlanCheck = 0x40EA43BC;
constexpr uint32_t kWlanJoined = 0x40EA44BB;
constexpr uint32_t kWlanJoinFailed = 0x40EA45BA;
constexpr uint32_t kSpeedRun = 0x40EE7F81;
constexpr const char* kMountDir = "/mnt/factory/wlan";
constexpr const char* kTestFile = "/mnt/factory/wlan/wlan_test.txt";
constexpr const char* kTestFileName = "wlan_test.txt";
constexpr int32_t kMeasurements = 10;
constexpr int32_t kNoSignal = -90;
constexpr int32_t kSecurityWpa2Aes = 4;
constexpr int64_t kJoinWaitMs = 36000;
constexpr int32_t kSpeedOk = 24000;  // KB/s; exactly this much is too slow
constexpr int32_t kTestServerPort = 10483;
constexpr uint8_t kDefaultWiredAddress[4] = {192, 168, 0, 100};
constexpr uint8_t kDefaultWiredMask[4] = {255, 255, 255, 0};
constexpr size_t kOutputBytes = 4096;

const kv::Class* Large() { return ClassNamed("FactorySystem::LargeMessage"); }

void Append(const char* text) {
  ModuleState& s = State();
  const size_t used = strnlen(s.msgWlan, sizeof s.msgWlan);
  std::strncat(s.msgWlan, text, sizeof s.msgWlan - used - 1);
}
void SetReport(const char* text) {
  State().msgWlan[0] = '\0';
  Append(text);
}

void ShowReport(Context& c) { SetResultDisplayMessage(Large(), State().msgWlan, kMessageTimeout10, c.result); }

// Runs a command of the board and reads its whole output; false when the
// pipe did not open. `status` gets the exit status.
bool RunCommand(const std::string& command, std::string* output, int32_t* status = nullptr) {
  BCM_Pipe* pipe = BCM_syscall_popen(command.c_str(), "r");
  if (!pipe) return false;
  std::string buf(kOutputBytes, '\0');
  const size_t n = BCM_syscall_read(pipe, buf.data(), buf.size());
  buf.resize(n);
  if (output) *output = buf;
  const int32_t st = BCM_syscall_pclose(pipe);
  if (status) *status = st;
  return true;
}

int32_t umount_wlan_usb() {
  if (BCM_syscall_system(Format("umount %s", kMountDir).c_str()) == 0) {
    Console("umount success");
    return 0;
  }
  Console("umount fail");
  return 2;
}

// The 28 device names of the stick: sda to sdd, then sda1 to sdd6.
std::string DeviceName(int32_t i) {
  std::string name = "sd";
  name += static_cast<char>('a' + i % 4);
  if (i >= 4) name += static_cast<char>('0' + i / 4);
  return name;
}

// Mounts the stick that holds the test file; false when none does.
bool MountTestStick() {
  for (int32_t i = 0; i < 28; ++i) {
    const std::string dev = DeviceName(i);
    int32_t status = 0;
    if (!RunCommand(Format("mkdir -p %s && mount -t vfat /dev/%s %s", kMountDir, dev.c_str(), kMountDir), nullptr,
                    &status) ||
        status != 0) {
      Console(Format("failed to mount %s", dev.c_str()));
      continue;
    }
    std::string listing;
    const bool listed = RunCommand(Format("ls %s", kMountDir), &listing);
    bool found = false;
    for (size_t pos = 0; listed && pos < listing.size();) {
      const size_t end = listing.find('\n', pos);
      if (listing.substr(pos, end - pos) == kTestFileName) found = true;
      pos = end == std::string::npos ? listing.size() : end + 1;
    }
    if (found) {
      Console("file found");
      return true;
    }
    Console("file not found");
    umount_wlan_usb();
  }
  Console("file not found");
  return false;
}

int32_t FileNotFound(Context& c) {
  SetReport("File Not Found:wlan_test.txt\n");
  Serial("File Not Found:wlan_test.txt\r\n");
  ShowReport(c);
  Console("USB DATA READ FAILED");
  return 0;
}

// Ten readings of both antennas, averaged; a reading that cannot be taken
// (no pipe, or a value missing) makes both averages -90.
void MeasureSignal(int32_t* main, int32_t* sub) {
  int16_t sum0 = 0, sum1 = 0;
  for (int32_t i = 0; i < kMeasurements; ++i) {
    std::string out;
    int32_t a0 = 0, a1 = 0;
    if (!RunCommand("wl phy_rssi_ant", &out)) {
      Console(" popen failed");
      *main = *sub = kNoSignal;
      return;
    }
    if (!ReadSignal(out, &a0, &a1)) {
      Console(" signal reading without its values");
      *main = *sub = kNoSignal;
      return;
    }
    sum0 = static_cast<int16_t>(sum0 + a0);
    sum1 = static_cast<int16_t>(sum1 + a1);
  }
  *main = sum0 / kMeasurements;
  *sub = sum1 / kMeasurements;
}

}  // namespace

int64_t WlanJoinDeadline() { return State().wlanTest == 1 ? State().joinDeadline : -1; }

void OnWlanConnectComplete(int32_t status) {
  if (State().wlanTest != 1 || State().joinDeadline < 0) return;
  State().joinDeadline = -1;
  const uint32_t code = status == XPM_WLAN_CONNECT_OK ? kWlanJoined : kWlanJoinFailed;
  CallOk("OAM_CustomDispatchFactoryCommand", OAM_CustomDispatchFactoryCommand(&code));
}

void CheckWlanJoinDeadline(int64_t now) {
  if (State().wlanTest != 1 || State().joinDeadline < 0 || now < State().joinDeadline) return;
  State().joinDeadline = -1;
  Console("no join verdict within 36 s");
  const uint32_t code = kWlanJoinFailed;
  CallOk("OAM_CustomDispatchFactoryCommand", OAM_CustomDispatchFactoryCommand(&code));
}

int32_t WlanStart(Context& c) {
  SetResultDisplayMessage(Large(), "WLAN:testing", 0, c.result);
  const uint32_t next = kWlanCheck;
  CallOk("OAM_CustomDispatchFactoryCommand", OAM_CustomDispatchFactoryCommand(&next));
  Serial("WLAN:testing\r\n");
  return 1;
}

int32_t WlanCheck(Context& c) {
  ModuleState& s = State();
  s.msgWlan[0] = '\0';
  Console("======== CHECK VID,PID");
  Console(Format("%s -> [ENTER]", "check_WLAN_ID"));
  std::string out;
  bool good = false;
  if (RunCommand("wl revinfo", &out)) good = ReadModuleIdentity(out);
  else Console(" popen failed");
  if (!good) {
    Wait(1000);
    SetReport("Check VID,PID:NG\n");
    ShowReport(c);
    Serial("Check VID,PID:NG\r\n");
    return 0;
  }
  SetReport("Check VID,PID:OK\n");
  Serial("Check VID,PID:OK\r\n");

  Console("======== CHECK MAC ADDRESS");
  char mac[18] = {};
  if (XPM_LAN_GetMacAddr(XPM_LAN_DEV_WIRELESS, mac) != 0) {
    Console("failed to Get MAC address");
    return 0;
  }
  mac[sizeof mac - 1] = '\0';
  if (std::strcmp(mac, "00:00:00:00:00:00") == 0 || std::strcmp(mac, "FF:FF:FF:FF:FF:FF") == 0) {
    Append("Check MacAddress:NG\n");
    Serial("Check MacAddress:NG\r\n");
  } else {
    Append("Check MacAddress:OK\n");
    Serial("Check MacAddress:OK\r\n");
  }

  if (!MountTestStick()) return FileNotFound(c);
  Console(Format("%s -> [ENTER]", "get_wlan_testdat"));
  std::string text;
  if (!RunCommand(Format("cat %s", kTestFile), &text)) {
    Console("popen failed");
    umount_wlan_usb();
    return FileNotFound(c);
  }
  WlanTestFile file;
  const int32_t bad = ReadWlanTestFile(text, &file);
  if (bad >= 0) {
    Console(Format("File format error %d", bad));
    umount_wlan_usb();
    return FileNotFound(c);
  }
  umount_wlan_usb();
  s.rssiMainTh = file.mainThreshold;
  s.rssiSubTh = file.subThreshold;
  const size_t keyLength = strnlen(file.key, sizeof file.key);
  Console("USB DATA READ OK");
  Console(Format("READ DATA SSID:%s KEY LENGTH:%zu ANT_MAIN_TH:%d ANT_SUB_TH:%d", file.ssid, keyLength,
                 s.rssiMainTh, s.rssiSubTh));

  Console("======== CHECK AP CONNECT");
  XPM_WlanJoinRecord join{};
  std::memcpy(join.ssid, file.ssid, sizeof file.ssid);
  std::memcpy(join.key, file.key, sizeof file.key);
  join.keyLength = static_cast<uint8_t>(keyLength);
  join.security = kSecurityWpa2Aes;
  Console(Format("WLAN SSID IS %s and KEYPHRASE LENGTH IS %zu", file.ssid, keyLength));
  CallOk("XPM_WLAN_QuitNetwork", XPM_WLAN_QuitNetwork());
  CallOk("XPM_WLAN_JoinNetwork", XPM_WLAN_JoinNetwork(&join));
  s.wlanTest = 1;
  State().joinDeadline = kv::GetClock().Now() + kJoinWaitMs;
  c.store = false;
  return 1;
}

int32_t WlanJoined(Context& c) {
  ModuleState& s = State();
  if (s.wlanTest != 1) return 1;
  State().joinDeadline = -1;
  Serial("AP Connect:OK\r\n");
  Append("AP Connect:OK\n");
  Console("======== CHECK RSSI");
  Console(Format("%s -> [ENTER]", "get_wl_WLAN_RSSI"));
  int32_t main = 0, sub = 0;
  MeasureSignal(&main, &sub);
  Console(Format("Antenna[0]= %d dbm Antenna[1]= %d dbm ", main, sub));
  const bool ng = main < s.rssiMainTh || sub < s.rssiSubTh;
  Append(Format(ng ? "check RSSI: NG\n RSSI Main: %d Sub: %d\n" : "check RSSI: OK\n RSSI Main: %d Sub: %d\n", main,
                sub)
             .c_str());
  Serial(Format(ng ? "check RSSI:NG\r\nRSSI Main: %d Sub: %d\r\n" : "check RSSI:OK\r\nRSSI Main: %d Sub: %d\r\n",
                main, sub));
  Console("======== CHECK AP DISCONNECT");
  if (XPM_WLAN_QuitNetwork() == 0) {
    Append("AP Disconnect:OK");
    Serial("AP Disconnect:OK\r\n");
  } else {
    Append("AP Disconnect:NG");
    Serial("AP Disconnect:NG\r\n");
  }
  ShowReport(c);
  s.wlanTest = 0;
  return 1;
}

int32_t WlanJoinFailed(Context& c) {
  ModuleState& s = State();
  if (s.wlanTest != 1) return 1;
  State().joinDeadline = -1;
  Append("AP Connect:NG\n");
  Serial("AP Connect:NG\r\n");
  ShowReport(c);
  s.wlanTest = 0;
  return 1;
}

int32_t SpeedStart(Context& c) {
  SetResultDisplayMessage(Large(), "DLNA:testing", kMessageTimeout3, c.result);
  const uint32_t next = kSpeedRun;
  CallOk("OAM_CustomDispatchFactoryCommand", OAM_CustomDispatchFactoryCommand(&next));
  return 1;
}

int32_t SpeedRun(Context& c) {
  CallOk("BCM_Set_http_timeout", BCM_Set_http_timeout(2));
  int32_t first = 0, second = 0;
  uint32_t server = 0;
  int32_t speed = 0;
  if (OAM_PlatformMiscs_GetSpeedTestInfo(&first, &second, &server) == 0) {
    const std::string endpoint = Format("%u.%u.%u.%u:%d", server >> 24, (server >> 16) & 0xFF, (server >> 8) & 0xFF,
                                        server & 0xFF, kTestServerPort);
    speed = BCM_HTTP_Speed(endpoint.c_str(), "test/kelvo_speed_test.dat", server);
  }
  CallOk("BCM_Set_http_timeout", BCM_Set_http_timeout(30));
  Console(Format("============================ SPEED KB SEC %d", speed));
  const char* verdict = speed > kSpeedOk ? "DLNA:OK" : speed > 0 ? "DLNA:NG(Performance)" : "DLNA:NG(Connection)";
  SetResultDisplayMessage(Large(), verdict, kMessageTimeout3, c.result);
  return 1;
}

// The new wired address from the command's text; a text that is not a
// usable address is refused on the serial port and nothing is written.
int32_t WriteMac(Context& c) {
  char text[sizeof c.command.text + 1] = {};
  std::memcpy(text, c.command.text, sizeof c.command.text);
  Console(Format("+++++++++ %s ++++++++++", text));
  if (!IsUsableMacAddress(text)) {
    Serial("The MAC address was not changed: not a usable address.\r\n");
    return 1;
  }
  if (XPM_LAN_SetMacAddr(XPM_LAN_DEV_WIRED, text) != 0) {
    Console("failed to set MAC address");
    return 1;
  }
  Serial(Format("The MAC address was changed OK to %s.\r\n", text));
  return 1;
}

int32_t WiredDefault(Context& c) {
  SetResultDisplayMessage(Large(), "Default MAC address/IP address writing", kMessageTimeout3, c.result);
  XPM_IfConfig config{};
  if (XPM_LAN_GetIFConfig(XPM_LAN_DEV_WIRED, &config) != 0) Console("failed XPM_LAN_GetIFConfig");
  config.dhcp = 0;
  std::memset(config.reserved, 0, sizeof config.reserved);
  std::memcpy(config.ip, kDefaultWiredAddress, sizeof config.ip);
  std::memcpy(config.mask, kDefaultWiredMask, sizeof config.mask);
  if (XPM_LAN_SetIFConfig(XPM_LAN_DEV_WIRED, &config) != 0) Console("failed XPM_LAN_SetIFConfig");
  return 1;
}

}  // namespace factory
