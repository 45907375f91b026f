// The simulated home network, HDMI-CEC bus and 3D status (sim_net_state.h)
// and the calls of xpm_network.h and xpm_cec3d.h that they serve.
#include "platform/sim/sim_net_state.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "platform/psl/psl.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm.h"
#include "platform/xpm/xpm_cec3d.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "platform/xpm/xpm_network.h"
#include "runtime/clock.h"
#include "runtime/trace.h"

namespace sim {

namespace {
// Devices are 0 (wired) and 1 (wireless); another is logged.
bool BadDevice(int32_t device, const char* call) {
  if (device == 0 || device == 1) return false;
  kv::Log(std::string(call) + ": no device " + std::to_string(device));
  return true;
}
constexpr uint32_t Addr(uint32_t a, uint32_t b, uint32_t c, uint32_t d) { return a << 24 | b << 16 | c << 8 | d; }
}  // namespace

NetState::NetState(Sim& sim) : sim_(sim) {
  air_ = {
      {"HomeNet", "", 82, XPM_WLAN_SEC_WPA2_AES, "correct horse", "12345670", 6},
      {"CafeGuest", "", 55, XPM_WLAN_SEC_OPEN, "", "", 11},
      {"Neighbour", "", 30, XPM_WLAN_SEC_WEP, "1234567890", "", 1},
      {"Office-Legacy", "", 18, XPM_WLAN_SEC_WPA_TKIP, "office2024", "", 3},
  };
  config_[0].dhcp = config_[1].dhcp = true;
  LoadConfigs();
}

namespace {
const char* const kConfigFields[] = {"dhcp", "ip", "mask", "gateway", "dns1", "dns2"};
std::string ConfigKey(int32_t device, const char* field) {
  return "net.if" + std::to_string(device) + "." + field;
}
}  // namespace

// A stored value that is not a number keeps the default (logged).
void NetState::LoadConfigs() {
  for (int32_t d = 0; d < 2; ++d) {
    IfConfig& c = config_[d];
    uint32_t* words[] = {nullptr, &c.ip, &c.mask, &c.gateway, &c.dns1, &c.dns2};
    for (int f = 0; f < 6; ++f) {
      const std::string text = sim_.GetState(ConfigKey(d, kConfigFields[f]));
      if (text.empty()) continue;
      char* end = nullptr;
      const unsigned long v = std::strtoul(text.c_str(), &end, 10);
      if (!end || *end != '\0' || v > 0xFFFFFFFFul) {
        kv::Log("sim: bad stored " + ConfigKey(d, kConfigFields[f]) + " \"" + kv::EscapedText(text) + "\", default kept");
        continue;
      }
      if (f == 0)
        c.dhcp = v != 0;
      else
        *words[f] = static_cast<uint32_t>(v);
    }
  }
}

void NetState::SaveConfig(int32_t device, const IfConfig& c) {
  const uint32_t words[] = {c.dhcp ? 1u : 0u, c.ip, c.mask, c.gateway, c.dns1, c.dns2};
  std::map<std::string, std::string> set;
  for (int f = 0; f < 6; ++f) set[ConfigKey(device, kConfigFields[f])] = std::to_string(words[f]);
  sim_.UpdateState(set, {});
}

NetState::IfConfig NetState::StoredConfig(int32_t device) const {
  std::lock_guard lock(mutex_);
  return config_[device == 1 ? 1 : 0];
}

void NetState::SetWirelessAnswers(bool on) {
  std::lock_guard lock(mutex_);
  wirelessAnswers_ = on;
}

void NetState::SetTestAnswer(const TestAnswer& answer) {
  std::lock_guard lock(mutex_);
  testAnswer_ = answer;
}

void NetState::AddAccessPoint(const AccessPoint& ap) {
  std::lock_guard lock(mutex_);
  air_.push_back(ap);
}

void NetState::RemoveAccessPoint(const std::string& ssid) {
  std::lock_guard lock(mutex_);
  std::erase_if(air_, [&](const AccessPoint& ap) { return ap.ssid == ssid; });
  if (joined_ == ssid) joined_.clear();
}

void NetState::ClearAccessPoints() {
  std::lock_guard lock(mutex_);
  air_.clear();
  joined_.clear();
}

void NetState::PressWpsButton(const std::string& ssid) {
  std::lock_guard lock(mutex_);
  wpsButton_ = ssid;
}

void NetState::SetCablePlugged(bool plugged) {
  bool down;
  {
    std::lock_guard lock(mutex_);
    cable_ = plugged;
    down = !plugged && joined_.empty();
  }
  // No cable and no wireless network: the home network's media servers are
  // gone; with the cable back they are found again.
  if (down) psl::NetworkDown();
  if (plugged) psl::NetworkUp();
}
void NetState::SetDhcpServer(bool present) {
  std::lock_guard lock(mutex_);
  dhcpServer_ = present;
}
void NetState::SetInternet(bool reachable) {
  std::lock_guard lock(mutex_);
  internet_ = reachable;
}

const NetState::AccessPoint* NetState::FindLocked(const std::string& ssid) const {
  for (const auto& ap : air_)
    if (ap.ssid == ssid) return &ap;
  return nullptr;
}

// --- Wireless ------------------------------------------------------------------------

int32_t NetState::Scan(const std::string& ssid, const char* call) {
  uint64_t id = 0;
  {
    std::lock_guard lock(mutex_);
    if (!wlanOn_) {
      kv::Log(std::string(call) + ": the wireless device is off");
      return XPM_ERR_NOT_READY;
    }
    scanning_ = true;
    id = ++scanId_;
    if (!wirelessAnswers_) return XPM_OK;
  }
  sim_.Schedule(kv::Now() + kScanDelay, [this, id, ssid] {
    {
      std::lock_guard lock(mutex_);
      if (!scanning_ || id != scanId_) return;  // stopped or overtaken
      scanning_ = false;
      held_.clear();
      for (const auto& ap : air_)
        if (ssid.empty() || ap.ssid.compare(0, XPM_WLAN_SSID_BYTES, ssid, 0, XPM_WLAN_SSID_BYTES) == 0)
          held_.push_back(ap);
    }
    sim_.Inject(XPM_EVT_WLAN_SCAN_COMPLETE, XPM_Int32Payload{0});
  });
  return XPM_OK;
}

int32_t NetState::StopScan(const char*) {
  std::lock_guard lock(mutex_);
  scanning_ = false;
  return XPM_OK;
}

int32_t NetState::ScanResults(void* buffer, int32_t size, int32_t* count, const char*) const {
  std::lock_guard lock(mutex_);
  const int32_t room = size / static_cast<int32_t>(sizeof(XPM_WlanScanResult));
  const int32_t n = std::min(room, static_cast<int32_t>(held_.size()));
  auto* out = static_cast<XPM_WlanScanResult*>(buffer);
  for (int32_t i = 0; i < n; ++i) {
    const AccessPoint& ap = held_[static_cast<size_t>(i)];
    XPM_WlanScanResult r{};
    std::memcpy(r.ssid, ap.ssid.data(), std::min<size_t>(ap.ssid.size(), XPM_WLAN_SSID_BYTES));
    Bssid(ap, r.bssid);
    r.channel = static_cast<uint8_t>(ap.channel);
    r.signal = static_cast<uint8_t>(std::clamp(ap.signal, 0, 100));
    r.mode = static_cast<uint8_t>(ap.mode & 15);
    r.security = static_cast<uint8_t>(ap.security);
    r.rate = ap.rate;
    std::memcpy(&out[i], &r, sizeof r);
  }
  *count = n;
  return XPM_OK;
}

void NetState::Connect(uint64_t attempt, std::string ssid, int32_t status) {
  {
    std::lock_guard lock(mutex_);
    if (attempt != attempt_ || !wirelessAnswers_) return;  // quit, overtaken or silenced
    // The access point may have gone while the set was trying.
    if (status == XPM_WLAN_CONNECT_OK && !FindLocked(ssid)) status = XPM_WLAN_CONNECT_NO_ANSWER;
    if (status == XPM_WLAN_CONNECT_OK) joined_ = ssid;
  }
  sim_.Inject(XPM_EVT_WLAN_CONNECT_COMPLETE, XPM_Int32Payload{status});
}

int32_t NetState::Join(const std::string& ssid, const std::string& key, int32_t security, const char* call) {
  // Security -1: the set finds the access point's security itself.
  if (ssid.empty() || ssid.size() > static_cast<size_t>(XPM_WLAN_SSID_BYTES) || security < -1 ||
      security > XPM_WLAN_SEC_OTHER) {
    kv::Log(std::string(call) + ": bad join request, refused");
    return XPM_ERR_INVALID_PARAM;
  }
  uint64_t attempt = 0;
  int32_t status = XPM_WLAN_CONNECT_NO_ANSWER;
  {
    std::lock_guard lock(mutex_);
    if (!wlanOn_) return XPM_ERR_NOT_READY;
    attempt = ++attempt_;
    joined_.clear();
    if (const AccessPoint* ap = FindLocked(ssid))
      status = (ap->security == XPM_WLAN_SEC_OPEN || ap->key == key) ? XPM_WLAN_CONNECT_OK : XPM_WLAN_CONNECT_REFUSED;
  }
  sim_.Schedule(kv::Now() + kJoinDelay, [this, attempt, ssid, status] { Connect(attempt, ssid, status); });
  return XPM_OK;
}

int32_t NetState::Quit(const char*) {
  std::lock_guard lock(mutex_);
  ++attempt_;
  joined_.clear();
  return XPM_OK;
}

NetState::Link NetState::WlanStatus() const {
  std::lock_guard lock(mutex_);
  Link link;
  const AccessPoint* ap = joined_.empty() ? nullptr : FindLocked(joined_);
  link.state = !wlanOn_ ? int8_t{-1} : ap ? int8_t{1} : int8_t{0};
  if (!ap || !wlanOn_) return link;
  link.ssid = ap->ssid;
  link.signal = ap->signal;
  link.security = ap->security;
  link.channel = ap->channel;
  link.mode = ap->mode & 15;
  link.rate = ap->rate;
  Bssid(*ap, link.bssid);
  return link;
}

void NetState::Bssid(const AccessPoint& ap, uint8_t out[6]) {
  unsigned b[6];
  if (std::sscanf(ap.bssid.c_str(), "%2x:%2x:%2x:%2x:%2x:%2x", &b[0], &b[1], &b[2], &b[3], &b[4], &b[5]) == 6) {
    for (int i = 0; i < 6; ++i) out[i] = static_cast<uint8_t>(b[i]);
    return;
  }
  const uint32_t h = static_cast<uint32_t>(std::hash<std::string>{}(ap.ssid));
  const uint8_t derived[6] = {0x00, 0x1c, static_cast<uint8_t>(h >> 24), static_cast<uint8_t>(h >> 16),
                              static_cast<uint8_t>(h >> 8), static_cast<uint8_t>(h)};
  std::memcpy(out, derived, 6);
}

uint32_t NetState::GeneratePin() {
  std::lock_guard lock(mutex_);
  // A fixed sequence keeps runs repeatable; the last digit is the WPS checksum.
  static constexpr uint32_t kPins[] = {1234567, 7654321, 2468013};
  const uint32_t base = kPins[pinCount_++ % 3];
  uint32_t acc = 0, v = base;
  for (int i = 0; v; ++i, v /= 10) acc += (i % 2 == 0 ? 3 : 1) * (v % 10);
  generatedPin_ = base * 10 + (10 - acc % 10) % 10;
  return generatedPin_;
}

int32_t NetState::WpsJoinByPin(const std::string& ssid, const std::string& pin, bool setPin, const char* call) {
  if (pin.empty()) {
    kv::Log(std::string(call) + ": no PIN, refused");
    return XPM_ERR_INVALID_PARAM;
  }
  uint64_t attempt = 0;
  int32_t status = XPM_WLAN_CONNECT_NO_ANSWER;
  std::string target = ssid;
  {
    std::lock_guard lock(mutex_);
    attempt = ++attempt_;
    joined_.clear();
    const AccessPoint* ap = ssid.empty() ? nullptr : FindLocked(ssid);
    if (ap && !ap->wpsPin.empty()) {
      const bool ok = setPin ? pin == std::to_string(generatedPin_) : pin == ap->wpsPin;
      status = ok ? XPM_WLAN_CONNECT_OK : XPM_WLAN_CONNECT_REFUSED;
    }
  }
  sim_.Schedule(kv::Now() + kWpsDelay, [this, attempt, target, status] { Connect(attempt, target, status); });
  return XPM_OK;
}

int32_t NetState::WpsJoinByButton(const char*) {
  uint64_t attempt = 0;
  std::string target;
  int32_t status = XPM_WLAN_CONNECT_NO_ANSWER;
  {
    std::lock_guard lock(mutex_);
    attempt = ++attempt_;
    joined_.clear();
    if (!wpsButton_.empty() && FindLocked(wpsButton_)) {
      target = wpsButton_;
      status = XPM_WLAN_CONNECT_OK;
    }
    wpsButton_.clear();
  }
  sim_.Schedule(kv::Now() + kWpsDelay, [this, attempt, target, status] { Connect(attempt, target, status); });
  return XPM_OK;
}

// --- Wired and addresses ---------------------------------------------------------------

int32_t NetState::SetIfConfig(int32_t device, const IfConfig& config, const char* call) {
  if (BadDevice(device, call)) return XPM_ERR_INVALID_PARAM;
  {
    std::lock_guard lock(mutex_);
    config_[device] = config;
  }
  SaveConfig(device, config);
  return XPM_OK;
}

int32_t NetState::GetIfConfig(int32_t device, IfConfig* config, const char* call) const {
  if (BadDevice(device, call)) return XPM_ERR_INVALID_PARAM;
  std::lock_guard lock(mutex_);
  *config = config_[device];
  return XPM_OK;
}

int32_t NetState::GetIfState(int32_t device, IfConfig* state, const char* call) const {
  if (BadDevice(device, call)) return XPM_ERR_INVALID_PARAM;
  std::lock_guard lock(mutex_);
  const IfConfig& c = config_[device];
  *state = IfConfig{c.dhcp};
  const bool linked = device == 0 ? (lanOn_ && cable_) : (wlanOn_ && !joined_.empty());
  if (!linked) return XPM_OK;
  if (!c.dhcp) {
    *state = c;
  } else if (dhcpServer_) {
    state->ip = Addr(192, 168, 1, device == 0 ? 100 : 101);
    state->mask = Addr(255, 255, 255, 0);
    state->gateway = Addr(192, 168, 1, 1);
    state->dns1 = Addr(192, 168, 1, 1);
    state->dns2 = Addr(8, 8, 8, 8);
  }
  return XPM_OK;
}

// The hardware addresses live in the set's state ("net.mac.0", "net.mac.1"),
// so that a factory write of the wired one stays and tests can set either.
std::string NetState::MacAddress(int32_t device) const {
  return sim_.GetState("net.mac." + std::to_string(device), device == 0 ? "00:1C:A2:10:20:30" : "00:1C:A2:10:20:31");
}

int32_t NetState::SetMacAddress(int32_t device, const std::string& text) {
  return sim_.SetState("net.mac." + std::to_string(device), text) ? XPM_OK : XPM_ERR_FAILED;
}

int32_t NetState::ActivatedDevice() const {
  std::lock_guard lock(mutex_);
  if (lanOn_ && cable_) return 0;
  if (wlanOn_ && !joined_.empty()) return 1;
  return -1;
}

int32_t NetState::EnableDevice(int32_t device, bool on) {
  std::lock_guard lock(mutex_);
  (device == 0 ? lanOn_ : wlanOn_) = on;
  if (device == 1 && !on) joined_.clear();
  return XPM_OK;
}

int32_t NetState::TestNetwork(int32_t mask, const char*) {
  uint64_t id = 0;
  XPM_NetworkTestResultsPayload words{};
  TestAnswer how;
  {
    std::lock_guard lock(mutex_);
    id = ++testId_;
    how = testAnswer_;
    const bool linked = (lanOn_ && cable_) || (wlanOn_ && !joined_.empty());
    const bool dhcp = (lanOn_ && cable_) ? config_[0].dhcp : config_[1].dhcp;
    const bool addressed = linked && (!dhcp || dhcpServer_);
    const bool online = addressed && internet_;
    // Word 1: link and gateway; word 0: the internet answers; word 2: the
    // measured speed. A step the mask leaves out counts as passed.
    const bool linkOk = (linked || !(mask & XPM_NET_TEST_LINK)) && (addressed || !(mask & XPM_NET_TEST_GATEWAY));
    words.word[1] = linkOk ? 1 : 0;
    words.word[0] = online ? 1 : 0;
    words.word[2] = online ? kTestSpeedKbps : 0;
    if (!how.own) std::memcpy(words.word, how.word, sizeof words.word);
  }
  if (!how.answer) return XPM_OK;
  sim_.Schedule(kv::Now() + how.delay, [this, id, words] {
    {
      std::lock_guard lock(mutex_);
      if (id != testId_) return;  // quit
    }
    sim_.Inject(XPM_EVT_NETWORK_TEST_RESULTS, words);
  });
  return XPM_OK;
}

int32_t NetState::QuitTest(const char*) {
  std::lock_guard lock(mutex_);
  ++testId_;
  return XPM_OK;
}

std::string NetState::Joined() const {
  std::lock_guard lock(mutex_);
  return joined_;
}

// --- HDMI-CEC ----------------------------------------------------------------------------

void NetState::DefaultCecLocked() {
  if (cecInit_) return;
  cecInit_ = true;
  // A player on the first HDMI input, a game console on the second, an
  // audio system (address 5) on the first.
  std::vector<int32_t> hdmi;
  for (const auto& s : sim_.Tv().Sources())
    if (s.type == kSourceTypeHdmi) hdmi.push_back(s.id);
  if (!hdmi.empty()) {
    cec_.push_back({hdmi[0], 4, "Blu-ray Player", true});
    cec_.push_back({hdmi[0], 5, "AV Receiver", true});
  }
  if (hdmi.size() > 1) cec_.push_back({hdmi[1], 8, "Game Console", true});
}

void NetState::SetCecDevices(const std::vector<CecDevice>& devices) {
  std::lock_guard lock(mutex_);
  cecInit_ = true;
  cec_ = devices;
}

void NetState::SetAudioSystem(bool present) {
  std::lock_guard lock(mutex_);
  audioSystem_ = present;
}

int32_t NetState::CecDevInfo(int32_t address, int32_t* source, bool* present, bool* active, std::string* name) const {
  std::lock_guard lock(mutex_);
  const_cast<NetState*>(this)->DefaultCecLocked();
  *present = false;
  *active = false;
  *source = -1;
  name->clear();
  for (const auto& d : cec_) {
    if (d.address != address || !d.present) continue;
    *present = true;
    *source = d.source;
    *name = d.name;
    *active = cecTarget_ == std::pair{d.source, d.address};
  }
  return XPM_OK;
}

int32_t NetState::CecSetAddr(int32_t source, int32_t address, const char* call) {
  if (address < 0 || address > 15) {
    kv::Log(std::string(call) + ": bad logical address " + std::to_string(address));
    return XPM_ERR_INVALID_PARAM;
  }
  std::lock_guard lock(mutex_);
  cecTarget_ = {source, address};
  return XPM_OK;
}

namespace {
bool AudioSystemOnBus(const std::vector<NetState::CecDevice>& devices) {
  for (const auto& d : devices)
    if (d.address == 5 && d.present) return true;
  return false;
}
}  // namespace

int32_t NetState::CecAudioSystem() const {
  // The receiver plays the TV's sound only while the TV's speakers are off.
  const bool tvSpeakers = sim_.Tv().Value(Setting::kSpeaker) != 0;
  std::lock_guard lock(mutex_);
  const_cast<NetState*>(this)->DefaultCecLocked();
  return audioSystem_ && !tvSpeakers && AudioSystemOnBus(cec_) ? 1 : 0;
}

int32_t NetState::CecAudioControl(int32_t code, const char* call) {
  std::lock_guard lock(mutex_);
  DefaultCecLocked();
  if (!audioSystem_ || !AudioSystemOnBus(cec_)) {
    kv::Log(std::string(call) + ": no audio system answers");
    return XPM_ERR_FAILED;
  }
  audioControls_.push_back(code);
  if (code == XPM_CEC_KEY_VOLUME_UP) audioVolume_ = std::min(audioVolume_ + 1, 100);
  if (code == XPM_CEC_KEY_VOLUME_DOWN) audioVolume_ = std::max(audioVolume_ - 1, 0);
  if (code == XPM_CEC_KEY_MUTE) audioMuted_ = !audioMuted_;
  return XPM_OK;
}

int32_t NetState::CecAudioMuted() const {
  std::lock_guard lock(mutex_);
  return audioMuted_ ? 1 : 0;
}

std::vector<int32_t> NetState::AudioSystemControls() const {
  std::lock_guard lock(mutex_);
  return audioControls_;
}

int32_t NetState::AudioSystemVolume() const {
  std::lock_guard lock(mutex_);
  return audioVolume_;
}

std::pair<int32_t, int32_t> NetState::CecTarget() const {
  std::lock_guard lock(mutex_);
  return cecTarget_;
}

std::vector<int32_t> NetState::CecUserControls() const {
  std::lock_guard lock(mutex_);
  return userControls_;
}

void NetState::CecUserControl(int32_t code) {
  std::lock_guard lock(mutex_);
  userControls_.push_back(code);
}

// --- 3D ----------------------------------------------------------------------------------

void NetState::SetInput3DFormat(int32_t format) {
  std::lock_guard lock(mutex_);
  format3d_ = format;
}

void NetState::Get3D(int32_t* mode, int32_t* displayState, int32_t* format) const {
  // The input's 3D format, until a test or an event sets it, is the one the
  // set's state file names ("3d.input_format=2" makes the input side by side).
  int32_t stored = 0;
  const std::string text = sim_.GetState("3d.input_format");
  if (!text.empty()) stored = std::atoi(text.c_str());
  std::lock_guard lock(mutex_);
  *mode = mode3d_;
  *format = format3d_ != 0 ? format3d_ : stored;
  if (output3d_)
    *displayState = mode3d_ >= 2 ? 1 : 3;
  else
    *displayState = (mode3d_ >= 2 && format3d_ >= 2) ? 4 : 2;
}

void NetState::Set3DMode(int32_t mode) {
  std::lock_guard lock(mutex_);
  mode3d_ = mode;
}

void NetState::Set3DOutput(bool on) {
  std::lock_guard lock(mutex_);
  output3d_ = on;
}

}  // namespace sim

// --- The calls ---------------------------------------------------------------------------

#define SIM_NET_ENTER(name, args)                                               \
  static constexpr const char* kCall = name;                                    \
  sim::Sim* tv = sim::Sim::Current();                                           \
  if (auto fail = sim::EnterCall(kCall, args, XPM_ERR_NOT_READY)) return *fail; \
  if (!tv) return XPM_ERR_NOT_READY;                                            \
  sim::NetState& net = tv->Net()

#define SIM_NET_NEED(ptr)                                                 \
  if (!(ptr)) {                                                           \
    kv::Log(std::string(kCall) + ": no place for the answer, refused");   \
    return XPM_ERR_INVALID_PARAM;                                         \
  }

namespace {

uint32_t Word(const uint8_t b[4]) {
  return static_cast<uint32_t>(b[0]) << 24 | static_cast<uint32_t>(b[1]) << 16 | static_cast<uint32_t>(b[2]) << 8 | b[3];
}
void Bytes(uint32_t w, uint8_t b[4]) {
  for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(w >> (24 - 8 * i));
}
XPM_IfConfig ToRecord(const sim::NetState::IfConfig& c) {
  XPM_IfConfig r{};
  r.dhcp = c.dhcp ? 1 : 0;
  Bytes(c.ip, r.ip);
  Bytes(c.mask, r.mask);
  Bytes(c.gateway, r.gateway);
  Bytes(c.dns1, r.dns1);
  Bytes(c.dns2, r.dns2);
  return r;
}
// A text of a fixed-size field, never read past `size`.
std::string Bounded(const char* s, size_t size) { return s ? std::string(s, strnlen(s, size)) : std::string(); }

}  // namespace

int32_t XPM_LAN_GetIFConfig(int32_t device, XPM_IfConfig* config) {
  SIM_NET_ENTER("XPM_LAN_GetIFConfig", sim::Args(device));
  SIM_NET_NEED(config);
  sim::NetState::IfConfig c;
  const int32_t r = net.GetIfConfig(device, &c, kCall);
  if (r == XPM_OK) *config = ToRecord(c);
  return r;
}

int32_t XPM_LAN_SetIFConfig(int32_t wireless, const XPM_IfConfig* config) {
  SIM_NET_ENTER("XPM_LAN_SetIFConfig",
                config ? sim::Args(wireless, config->dhcp, Word(config->ip)) : sim::Args(wireless, "null"));
  SIM_NET_NEED(config);
  return net.SetIfConfig(wireless ? 1 : 0,
                         {config->dhcp != 0, Word(config->ip), Word(config->mask), Word(config->gateway),
                          Word(config->dns1), Word(config->dns2)},
                         kCall);
}

int32_t XPM_LAN_GetIFState(int32_t device, XPM_IfConfig* state) {
  SIM_NET_ENTER("XPM_LAN_GetIFState", sim::Args(device));
  SIM_NET_NEED(state);
  sim::NetState::IfConfig c;
  const int32_t r = net.GetIfState(device, &c, kCall);
  if (r == XPM_OK) *state = ToRecord(c);
  return r;
}

int32_t XPM_LAN_GetMacAddr(int32_t device, char* text) {
  SIM_NET_ENTER("XPM_LAN_GetMacAddr", sim::Args(device));
  SIM_NET_NEED(text);
  if (device != 0 && device != 1) return XPM_ERR_INVALID_PARAM;
  std::snprintf(text, 18, "%s", net.MacAddress(device).c_str());
  return XPM_OK;
}

int32_t XPM_LAN_SetMacAddr(int32_t device, const char* text) {
  SIM_NET_ENTER("XPM_LAN_SetMacAddr", sim::Args(device, Bounded(text, 18)));
  SIM_NET_NEED(text);
  if (device != 0 && device != 1) return XPM_ERR_INVALID_PARAM;
  return net.SetMacAddress(device, Bounded(text, 18));
}

int32_t XPM_LAN_GetActivatedDev(int32_t* device) {
  SIM_NET_ENTER("XPM_LAN_GetActivatedDev", "");
  SIM_NET_NEED(device);
  *device = net.ActivatedDevice();
  return XPM_OK;
}

int32_t XPM_LAN_Enable(int32_t on) {
  SIM_NET_ENTER("XPM_LAN_Enable", sim::Args(on));
  return net.EnableDevice(0, on != 0);
}

int32_t XPM_WLAN_Enable(int32_t on) {
  SIM_NET_ENTER("XPM_WLAN_Enable", sim::Args(on));
  return net.EnableDevice(1, on != 0);
}

int32_t XPM_LAN_Test_Network(int32_t mask) {
  SIM_NET_ENTER("XPM_LAN_Test_Network", sim::Args(mask));
  return net.TestNetwork(mask, kCall);
}

int32_t XPM_LAN_Test_Network_Quit(void) {
  SIM_NET_ENTER("XPM_LAN_Test_Network_Quit", "");
  return net.QuitTest(kCall);
}

int32_t XPM_WLAN_Scan(const char* ssid) {
  const std::string name = Bounded(ssid, XPM_WLAN_SSID_BYTES);
  SIM_NET_ENTER("XPM_WLAN_Scan", sim::Args(name));
  return net.Scan(name, kCall);
}

int32_t XPM_WLAN_StopScan(void) {
  SIM_NET_ENTER("XPM_WLAN_StopScan", "");
  return net.StopScan(kCall);
}

int32_t XPM_WLAN_GetScanResults(void* buffer, int32_t size, int32_t* count) {
  SIM_NET_ENTER("XPM_WLAN_GetScanResults", sim::Args(size));
  SIM_NET_NEED(buffer);
  SIM_NET_NEED(count);
  return net.ScanResults(buffer, size, count, kCall);
}

// The call log names the network and the key's length, never the key.
int32_t XPM_WLAN_JoinNetwork(const XPM_WlanJoinRecord* record) {
  const std::string ssid = record ? Bounded(record->ssid, sizeof record->ssid) : std::string();
  SIM_NET_ENTER("XPM_WLAN_JoinNetwork",
                record ? sim::Args(ssid, record->keyLength, record->security) : std::string("null"));
  SIM_NET_NEED(record);
  // 0xFF (-1 in the program's byte): the set finds the security itself.
  const int32_t security = record->security == 0xFF ? -1 : record->security;
  return net.Join(ssid, Bounded(record->key, sizeof record->key), security, kCall);
}

int32_t XPM_WLAN_QuitNetwork(void) {
  SIM_NET_ENTER("XPM_WLAN_QuitNetwork", "");
  return net.Quit(kCall);
}

int32_t XPM_WLAN_StatusEx(XPM_WlanStatus* status) {
  SIM_NET_ENTER("XPM_WLAN_StatusEx", "");
  SIM_NET_NEED(status);
  const sim::NetState::Link link = net.WlanStatus();
  *status = XPM_WlanStatus{};
  status->state = link.state;
  std::snprintf(status->ssid, sizeof status->ssid, "%s", link.ssid.c_str());
  status->signal = static_cast<uint8_t>(std::clamp(link.signal, 0, 100));
  status->security = static_cast<uint8_t>(link.security);
  status->channel = static_cast<uint8_t>(link.channel);
  status->mode = static_cast<uint8_t>(link.mode);
  std::memcpy(status->bssid, link.bssid, sizeof status->bssid);
  status->rate = link.rate;
  return XPM_OK;
}

int32_t XPM_GenerateWPSPin(uint32_t* pin) {
  SIM_NET_ENTER("XPM_GenerateWPSPin", "");
  SIM_NET_NEED(pin);
  *pin = net.GeneratePin();
  return XPM_OK;
}

// The call log names the PIN's length only.
int32_t XPM_WLAN_WPSJoinByPinEx(const char* ssid, const char* pin, uint8_t setPin) {
  const std::string name = Bounded(ssid, XPM_WLAN_SSID_BYTES + 1);
  const std::string code = Bounded(pin, 9);
  SIM_NET_ENTER("XPM_WLAN_WPSJoinByPinEx", sim::Args(name, code.size(), setPin));
  return net.WpsJoinByPin(name, code, setPin != 0, kCall);
}

int32_t XPM_WLAN_WPSJoinByPb(void) {
  SIM_NET_ENTER("XPM_WLAN_WPSJoinByPb", "");
  return net.WpsJoinByButton(kCall);
}

int32_t XPM_HdmiCec_GetDevInfo(uint8_t address, XPM_CecDevInfo* info) {
  SIM_NET_ENTER("XPM_HdmiCec_GetDevInfo", sim::Args(address));
  SIM_NET_NEED(info);
  int32_t source = -1;
  bool present = false, active = false;
  std::string name;
  net.CecDevInfo(address, &source, &present, &active, &name);
  *info = XPM_CecDevInfo{};
  info->source = source;
  info->present = present ? 1 : 0;
  info->active = active ? 1 : 0;
  std::snprintf(info->name, sizeof info->name, "%s", name.c_str());
  return XPM_OK;
}

int32_t XPM_HdmiCecSetAddr(int32_t source, uint8_t address) {
  SIM_NET_ENTER("XPM_HdmiCecSetAddr", sim::Args(source, address));
  return net.CecSetAddr(source, address, kCall);
}

int32_t XPM_HdmiCecSetAddrEx(int32_t source, uint8_t address, int32_t extra) {
  SIM_NET_ENTER("XPM_HdmiCecSetAddrEx", sim::Args(source, address, extra));
  return net.CecSetAddr(source, address, kCall);
}

int32_t XPM_HdmiCec_Set(int32_t item, int32_t value) {
  SIM_NET_ENTER("XPM_HdmiCec_Set", sim::Args(item, value));
  if (item == XPM_CEC_ITEM_AUDIO_CONTROL) return net.CecAudioControl(value, kCall);
  if (item == XPM_CEC_ITEM_USER_CONTROL) net.CecUserControl(value);
  return XPM_OK;
}

int32_t XPM_HdmiCec_Get(int32_t item, int32_t* value) {
  SIM_NET_ENTER("XPM_HdmiCec_Get", sim::Args(item));
  SIM_NET_NEED(value);
  if (item == XPM_CEC_ITEM_AUDIO_MUTE) {
    *value = net.CecAudioMuted();
    return XPM_OK;
  }
  if (item != XPM_CEC_ITEM_AUDIO_SYSTEM) {
    kv::Log(std::string(kCall) + ": unknown item " + std::to_string(item));
    return XPM_ERR_INVALID_PARAM;
  }
  *value = net.CecAudioSystem();
  return XPM_OK;
}

int32_t XPM_3DTV_GetVideoStatus(XPM_3DVideoStatus* status) {
  SIM_NET_ENTER("XPM_3DTV_GetVideoStatus", "");
  SIM_NET_NEED(status);
  *status = XPM_3DVideoStatus{};
  net.Get3D(&status->mode, &status->displayState, &status->inputFormat);
  return XPM_OK;
}

int32_t XPM_3DTV_SetMode(int32_t mode) {
  SIM_NET_ENTER("XPM_3DTV_SetMode", sim::Args(mode));
  if (mode < 1 || mode > 6 || mode == 4) {
    kv::Log(std::string(kCall) + ": no 3D mode " + std::to_string(mode));
    return XPM_ERR_INVALID_PARAM;
  }
  net.Set3DMode(mode);
  return XPM_OK;
}

int32_t XPM_3DTV_SetOutput(int32_t on) {
  SIM_NET_ENTER("XPM_3DTV_SetOutput", sim::Args(on));
  net.Set3DOutput(on != 0);
  return XPM_OK;
}

int32_t XPM_3DTV_SetVideoStatus(int32_t a, int32_t b, int32_t c) {
  SIM_NET_ENTER("XPM_3DTV_SetVideoStatus", sim::Args(a, b, c));
  (void)net;
  return XPM_OK;
}
