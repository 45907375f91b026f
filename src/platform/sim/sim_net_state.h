// The simulated set's home network, HDMI-CEC bus and 3D video status, behind
// the calls of xpm_network.h and xpm_cec3d.h.
//
//   sim::NetState& net = sim::Sim::Current()->Net();
//   net.AddAccessPoint({"Attic", "", 40, XPM_WLAN_SEC_WPA2_AES, "secret"});
//   net.RemoveAccessPoint("Attic");       // gone from the air (not from a held result)
//   net.PressWpsButton("HomeNet");        // the next push-button join finds it
//
// The air starts with four access points (see the .cpp), a wired cable that
// is plugged in with a DHCP server behind it, and CEC devices on the first
// two HDMI inputs plus an audio system (an AV receiver at logical address 5
// on the first). The receiver reports system audio only while the TV's own
// speakers are off (the speaker preference "Audio system"); it keeps its
// volume (0 to 100) and mute, changed by the key codes sent to it, and records
// every code it was sent. Answers that take time (scan, join,
// WPS, connection test) leave from the Sim's thread after their delay on the
// shared clock. The two interfaces' address records (DHCP flag and static
// addresses) are kept in tvsim.state ("net.if0.*", "net.if1.*") and survive
// a restart; nothing else here does. Calls may come from any thread; one
// mutex of its own, never held while handing an event to the Sim's time
// line.
//
// The connection test answers three words: word 1 is 1 when link and
// gateway pass, else 0; word 0 is 1 when the internet answers, else 0;
// word 2 the speed in kbit/s (0 without internet). A test may choose the
// words, the delay, or drop the answer (SetTestAnswer).
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace sim {

class Sim;

class NetState {
 public:
  struct AccessPoint {
    std::string ssid;  // may be 32 bytes or longer (cut to 32 in results)
    std::string bssid;  // "" derives one from the name
    int32_t signal = 60;  // 0 to 100
    int32_t security = 0;  // XPM_WLAN_SEC_*
    std::string key;
    std::string wpsPin = "12345670";
    int32_t channel = 6;
    int32_t mode = 4 | 8;  // bits: 1 a, 2 b, 4 g, 8 n
    int32_t rate = 108;    // units of 500 kbit/s
  };
  // The wireless link as the set reports it.
  struct Link {
    int8_t state = 0;  // 1 linked, 0 up without a link, -1 the device is down
    std::string ssid;
    int32_t signal = 0, security = 0, channel = 0, mode = 0, rate = 0;
    uint8_t bssid[6] = {};
  };
  struct CecDevice {
    int32_t source = 0;
    int32_t address = 0;  // 1 to 14
    std::string name;
    bool present = true;
  };
  struct IfConfig {
    bool dhcp = true;
    uint32_t ip = 0, mask = 0, gateway = 0, dns1 = 0, dns2 = 0;
  };

  // Delays of the asynchronous answers, in ms.
  static constexpr int64_t kScanDelay = 2000;
  static constexpr int64_t kJoinDelay = 3000;
  static constexpr int64_t kWpsDelay = 5000;
  static constexpr int64_t kTestDelay = 1500;
  // The speed the connection test measures on a working internet link.
  static constexpr int32_t kTestSpeedKbps = 18500;

  // How the connection test answers. Without words the set's own answer
  // (see above); `answer` false drops it.
  struct TestAnswer {
    bool answer = true;
    bool own = true;
    int32_t word[3] = {0, 0, 0};
    int64_t delay = kTestDelay;
  };

  explicit NetState(Sim& sim);

  // --- The outside world (tests, the window's demo) -------------------------
  void AddAccessPoint(const AccessPoint& ap);
  void RemoveAccessPoint(const std::string& ssid);
  void ClearAccessPoints();
  void PressWpsButton(const std::string& ssid);
  void SetCablePlugged(bool plugged);
  void SetDhcpServer(bool present);
  void SetInternet(bool reachable);
  void SetTestAnswer(const TestAnswer& answer);
  // Off: scans, joins and WPS joins are accepted but never answer (a join
  // started before answers no more either).
  void SetWirelessAnswers(bool on);
  // The static records as the set keeps them (tests).
  IfConfig StoredConfig(int32_t device) const;
  void SetCecDevices(const std::vector<CecDevice>& devices);
  void SetAudioSystem(bool present);
  void SetInput3DFormat(int32_t format);

  // --- What the set does (the stand-in calls) ---------------------------------
  int32_t Scan(const std::string& ssid, const char* call);
  int32_t StopScan(const char* call);
  // Copies the held result; writes count.
  int32_t ScanResults(void* buffer, int32_t size, int32_t* count, const char* call) const;
  int32_t Join(const std::string& ssid, const std::string& key, int32_t security, const char* call);
  int32_t Quit(const char* call);
  Link WlanStatus() const;
  uint32_t GeneratePin();
  int32_t WpsJoinByPin(const std::string& ssid, const std::string& pin, bool setPin, const char* call);
  int32_t WpsJoinByButton(const char* call);

  int32_t SetIfConfig(int32_t device, const IfConfig& config, const char* call);
  int32_t GetIfConfig(int32_t device, IfConfig* config, const char* call) const;
  int32_t GetIfState(int32_t device, IfConfig* state, const char* call) const;
  std::string MacAddress(int32_t device) const;
  int32_t SetMacAddress(int32_t device, const std::string& text);
  int32_t ActivatedDevice() const;
  int32_t EnableDevice(int32_t device, bool on);
  int32_t TestNetwork(int32_t mask, const char* call);
  int32_t QuitTest(const char* call);

  int32_t CecDevInfo(int32_t address, int32_t* source, bool* present, bool* active, std::string* name) const;
  int32_t CecSetAddr(int32_t source, int32_t address, const char* call);
  int32_t CecAudioSystem() const;
  // A key code for the audio system: volume up and down, mute (toggles);
  // XPM_ERR_FAILED when none answers.
  int32_t CecAudioControl(int32_t code, const char* call);
  int32_t CecAudioMuted() const;
  // What the audio system was sent, its volume and mute (tests).
  std::vector<int32_t> AudioSystemControls() const;
  int32_t AudioSystemVolume() const;
  // The (source, address) the last CEC control call pointed at; (-1, -1) none.
  std::pair<int32_t, int32_t> CecTarget() const;
  std::vector<int32_t> CecUserControls() const;
  void CecUserControl(int32_t code);

  void Get3D(int32_t* mode, int32_t* displayState, int32_t* format) const;
  void Set3DMode(int32_t mode);
  void Set3DOutput(bool on);

  // Tests: the network joined now ("" none).
  std::string Joined() const;

 private:
  const AccessPoint* FindLocked(const std::string& ssid) const;
  // The access point's hardware address: its own, or one derived from its name.
  static void Bssid(const AccessPoint& ap, uint8_t out[6]);
  void DefaultCecLocked();
  void Connect(uint64_t attempt, std::string ssid, int32_t status);
  void LoadConfigs();
  void SaveConfig(int32_t device, const IfConfig& c);

  Sim& sim_;
  mutable std::mutex mutex_;
  std::vector<AccessPoint> air_;
  std::vector<AccessPoint> held_;  // the last scan's result
  bool scanning_ = false;
  uint64_t scanId_ = 0;
  uint64_t attempt_ = 0;  // the join in progress (a newer one or a quit wins)
  std::string joined_;
  std::string wpsButton_;  // the access point whose WPS button is pressed
  uint32_t generatedPin_ = 0;
  uint32_t pinCount_ = 0;
  bool wlanOn_ = true, lanOn_ = true;
  bool cable_ = true, dhcpServer_ = true, internet_ = true;
  IfConfig config_[2];
  uint64_t testId_ = 0;
  TestAnswer testAnswer_;
  bool wirelessAnswers_ = true;
  bool cecInit_ = false;
  std::vector<CecDevice> cec_;
  bool audioSystem_ = true;
  std::pair<int32_t, int32_t> cecTarget_{-1, -1};
  std::vector<int32_t> userControls_;
  std::vector<int32_t> audioControls_;
  int32_t audioVolume_ = 30;
  bool audioMuted_ = false;
  int32_t mode3d_ = 1;
  bool output3d_ = false;
  int32_t format3d_ = 0;
};

}  // namespace sim
