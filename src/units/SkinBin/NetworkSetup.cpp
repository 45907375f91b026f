#include "units/SkinBin/NetworkSetup.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/xpm/xpm.h"
#include "platform/xpm/xpm_network.h"
#include "runtime/trace.h"
#include "units/Structures/WLAN_Connection.h"
#include "units/Structures/WPS_Connection.h"

namespace SkinBin {

KV_REGISTER_CLASS(SkinBin::NetworkSetup);

namespace {

void ToBytes(const uint8_t in[4], uint8_t out[4]) { std::memcpy(out, in, 4); }

// A text of a fixed-size field of the middleware, never read past its size.
kv::String FieldText(const char* field, size_t size) {
  return kv::NewStringAnsi(std::string(field, strnlen(field, size)).c_str());
}

// The signal level 0 to 4 of a strength 0 to 100.
uint8_t SignalLevel(int32_t strength) {
  return static_cast<uint8_t>(strength <= 0 ? 0 : std::min(4, strength * 5 / 100));
}

// An access point's hardware address as upper-case text.
kv::String MacText(const uint8_t* b) {
  char mac[18];
  std::snprintf(mac, sizeof mac, "%02X:%02X:%02X:%02X:%02X:%02X", b[0], b[1], b[2], b[3], b[4], b[5]);
  return kv::NewStringAnsi(mac);
}

}  // namespace

// --- Wired and addresses ---------------------------------------------------------------

Structures::IF_Configuration* NetworkSetup::LAN_GetIfState(int32_t device) {
  auto* record = kv::New<Structures::IF_Configuration>();
  XPM_IfConfig state{};
  const int32_t r = XPM_LAN_GetIFState(device, &state);
  if (r == XPM_OK) {
    record->DHCP = state.dhcp;
    ToBytes(state.ip, record->IPAddress);
    ToBytes(state.mask, record->SubnetMask);
    ToBytes(state.gateway, record->DefaultGateway);
    ToBytes(state.dns1, record->DNS1);
    ToBytes(state.dns2, record->DNS2);
  } else {
    kv::LogFailedCall("XPM_LAN_GetIFState", r);
  }
  ifConfig_ = record;
  ifRead_ = r == XPM_OK;
  return record;
}

int32_t NetworkSetup::LAN_SetIfConfig(int32_t device, Structures::IF_Configuration* record) {
  if (!record || device == -1) return -1;
  XPM_IfConfig c{};
  c.dhcp = record->DHCP;
  ToBytes(record->IPAddress, c.ip);
  ToBytes(record->SubnetMask, c.mask);
  ToBytes(record->DefaultGateway, c.gateway);
  ToBytes(record->DNS1, c.dns1);
  ToBytes(record->DNS2, c.dns2);
  const int32_t r = XPM_LAN_SetIFConfig(device == 1 ? 1 : 0, &c);
  if (r != XPM_OK) kv::Log(" XPM_LAN_SetIFConfig FAILED " + std::to_string(r));
  return r;
}

int32_t NetworkSetup::LAN_GetActivatedDev() {
  int32_t device = -1;
  const int32_t r = XPM_LAN_GetActivatedDev(&device);
  if (r != XPM_OK) {
    kv::LogFailedCall("XPM_LAN_GetActivatedDev", r);
    return -1;
  }
  return device;
}

kv::String NetworkSetup::LAN_GetMacAddr(int32_t device) {
  std::array<char, 18> text{};
  const int32_t r = XPM_LAN_GetMacAddr(device, text.data());
  if (r != XPM_OK) {
    kv::Log("XPM_LAN_GetMacAddr returned error " + std::to_string(r));
    return kv::NewStringAnsi(kUnknownMac);
  }
  return kv::GetStringUpper(FieldText(text.data(), text.size()));
}

int32_t NetworkSetup::LAN_Enable(bool on) {
  const int32_t r = XPM_LAN_Enable(on ? 1 : 0);
  if (r != XPM_OK) kv::LogFailedCall("XPM_LAN_Enable", r);
  return r;
}

int32_t NetworkSetup::WLAN_Enable(bool on) {
  const int32_t r = XPM_WLAN_Enable(on ? 1 : 0);
  if (r != XPM_OK) kv::LogFailedCall("XPM_WLAN_Enable", r);
  return r;
}

int32_t NetworkSetup::LAN_TestConnection(int32_t mask) {
  if (mask == -1 || mask >= 16) mask = XPM_NET_TEST_ALL;
  const int32_t r = XPM_LAN_Test_Network(mask);
  if (r != XPM_OK) kv::LogFailedCall("XPM_LAN_Test_Network", r);
  return r;
}

int32_t NetworkSetup::LAN_QuitTestConnection() {
  const int32_t r = XPM_LAN_Test_Network_Quit();
  if (r != XPM_OK) kv::LogFailedCall("XPM_LAN_Test_Network_Quit", r);
  return r;
}

// --- Wireless ----------------------------------------------------------------------------

int32_t NetworkSetup::WLAN_ScanAccessPoint(const kv::String& name) {
  std::array<char, kSsidBytes + 1> ssid{};
  kv::StringToAnsi(name, ssid.data(), static_cast<int32_t>(ssid.size()), '?');
  const int32_t r = XPM_WLAN_Scan(ssid.data());
  if (r != XPM_OK) kv::Log("XPM_WLAN_SCAN FAILED");
  accessPoints_.clear();
  return r;
}

int32_t NetworkSetup::WLAN_StopScan() {
  const int32_t r = XPM_WLAN_StopScan();
  if (r != XPM_OK) kv::LogFailedCall("XPM_WLAN_StopScan", r);
  return r;
}

int32_t NetworkSetup::WLAN_LoadAccessPoints() {
  accessPoints_.clear();
  std::array<XPM_WlanScanResult, kMaxAccessPoints> results{};
  int32_t count = 0;
  const int32_t r = XPM_WLAN_GetScanResults(results.data(), static_cast<int32_t>(sizeof results), &count);
  if (r != XPM_OK) {
    kv::LogFailedCall("XPM_WLAN_GetScanResults", r);
    return 0;
  }
  if (count > kMaxAccessPoints) {
    kv::Log("SkinBin::NetworkSetup: " + std::to_string(count) + " access points, the first " +
            std::to_string(kMaxAccessPoints) + " kept");
    count = kMaxAccessPoints;
  }
  // The network joined now, to mark it.
  XPM_WlanStatus status{};
  std::string joined;
  if (XPM_WLAN_StatusEx(&status) == XPM_OK && status.state == 1)
    joined.assign(status.ssid, strnlen(status.ssid, sizeof status.ssid));
  for (int32_t i = 0; i < count; ++i) {
    const XPM_WlanScanResult& res = results[static_cast<size_t>(i)];
    // A name of 32 bytes has no terminator: read at most 32.
    const std::string ssid(res.ssid, strnlen(res.ssid, sizeof res.ssid));
    if (ssid.empty()) continue;
    kv::Log("Load AP info SSID " + kv::EscapedText(ssid));
    auto* ap = kv::New<Structures::WLAN_Info>();
    ap->SSID = kv::NewStringAnsi(ssid.c_str());
    ap->Channel = res.channel;
    ap->Signal = SignalLevel(res.signal);
    ap->Mode = res.mode;
    ap->Security = res.security;
    ap->Rate = res.rate;
    ap->MacAddress = MacText(res.bssid);
    ap->State = ssid == joined ? 1 : 0;
    accessPoints_.push_back(ap);
  }
  return GetAccessPointNum();
}

Structures::WLAN_Info* NetworkSetup::GetAccessPoint(int32_t i) const {
  return i >= 0 && i < GetAccessPointNum() ? accessPoints_[static_cast<size_t>(i)] : nullptr;
}

Structures::WLAN_Info* NetworkSetup::WLAN_GetStatus() {
  auto* info = kv::New<Structures::WLAN_Info>();
  XPM_WlanStatus status{};
  const int32_t r = XPM_WLAN_StatusEx(&status);
  if (r != XPM_OK) {
    kv::Log("XPM_WLAN_StatusEx returns error!");
    info->State = -1;
    return info;
  }
  info->State = status.state == 1 ? 1 : status.state == 0 ? 0 : -1;
  info->SSID = FieldText(status.ssid, sizeof status.ssid);
  info->Signal = SignalLevel(status.signal);
  info->Security = status.security;
  info->Channel = status.channel;
  info->Mode = status.mode;
  info->Rate = status.rate;
  info->MacAddress = MacText(status.bssid);
  return info;
}

int32_t NetworkSetup::WLAN_JoinNetwork(Structures::WLAN_Connection* connection) {
  if (!connection) {
    kv::Log("SkinBin::NetworkSetup: no connection to join");
    return 0;
  }
  XPM_WlanJoinRecord record{};
  kv::StringToAnsi(connection->SSID, record.ssid, static_cast<int32_t>(sizeof record.ssid), '?');
  kv::StringToAnsi(connection->Key, record.key, static_cast<int32_t>(sizeof record.key), '?');
  record.keyLength = static_cast<uint8_t>(strnlen(record.key, sizeof record.key));
  record.security = static_cast<uint8_t>(connection->SecurityMethod);
  record.connectMode = connection->ConnectMode;
  // The key itself never goes into a log line.
  kv::Log("WLAN SSID IS " + std::string(record.ssid) + " and KEY LENGTH IS " + std::to_string(record.keyLength));
  XPM_WLAN_QuitNetwork();
  const int32_t r = XPM_WLAN_JoinNetwork(&record);
  std::memset(record.key, 0, sizeof record.key);
  if (r != XPM_OK) {
    char line[64];
    std::snprintf(line, sizeof line, "XPM_WLAN_JoinNetwork fail.  Error code 0x%x", static_cast<unsigned>(r));
    kv::Log(line);
    return 0;
  }
  return 1;
}

int32_t NetworkSetup::WLAN_QuitNetwork() {
  const int32_t r = XPM_WLAN_QuitNetwork();
  if (r != XPM_OK) kv::LogFailedCall("XPM_WLAN_QuitNetwork", r);
  return r;
}

kv::String NetworkSetup::WPS_GeneratePin() {
  uint32_t pin = 0;
  const int32_t r = XPM_GenerateWPSPin(&pin);
  if (r != XPM_OK) {
    kv::Log("XPM_GenerateWPSPin connection returns error");
    return kv::String();
  }
  char text[16];
  std::snprintf(text, sizeof text, "%08u", pin % 100000000u);
  return kv::NewStringAnsi(text);
}

int32_t NetworkSetup::WPS_Join(Structures::WPS_Connection* record) {
  if (!record) {
    kv::Log("SkinBin::NetworkSetup: no WPS request");
    return XPM_ERR_INVALID_PARAM;
  }
  if (record->Mode != 0) {
    const int32_t r = XPM_WLAN_WPSJoinByPb();
    if (r != XPM_OK) kv::LogFailedCall("XPM_WLAN_WPSJoinByPb", r);
    return r;
  }
  std::array<char, kSsidBytes + 1> ssid{};
  std::array<char, kPinDigits + 1> pin{};
  kv::StringToAnsi(record->SSID, ssid.data(), static_cast<int32_t>(ssid.size()), '?');
  kv::StringToAnsi(record->PIN, pin.data(), static_cast<int32_t>(pin.size()), '?');
  const int32_t r = XPM_WLAN_WPSJoinByPinEx(ssid.data(), pin.data(), record->Flag != 0 ? 1 : 0);
  if (r != XPM_OK)
    kv::Log("XPM_WLAN_WPSJoinByPinEx for " + kv::EscapedText(ssid.data()) + " with a pin of " +
            std::to_string(strnlen(pin.data(), pin.size())) + " digits returns error");
  return r;
}

}  // namespace SkinBin
