// SkinBin::NetworkSetup: the set's wired and wireless interfaces as the
// network screens see them: address records, the access-point scan and its
// result (at most kMaxAccessPoints), joins by key and by WPS, the link status
// and the connection test.
//
// Scans, joins and tests only start here; their outcome arrives as
// Events::WlanScanCompleteEvent, WlanConnectCompleteEvent and
// NetworkTestResultsEvent. Keys and PINs never reach a log line: only their
// lengths are logged.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/string.h"
#include "units/Structures/IF_Configuration.h"
#include "units/Structures/WLAN_Info.h"

namespace Structures {
class WLAN_Connection;
class WPS_Connection;
}  // namespace Structures

namespace SkinBin {

class NetworkSetup : public kv::Object {
  KV_CLASS(SkinBin, NetworkSetup, kv::Object)
 public:
  static constexpr int32_t kMaxAccessPoints = 20;
  static constexpr int32_t kSsidBytes = 32;
  static constexpr int32_t kKeyBytes = 64;
  static constexpr int32_t kPinDigits = 8;
  // The MAC address answered when the middleware cannot tell it.
  static constexpr const char* kUnknownMac = "00:00:00:00:00:00";

  NetworkSetup() = default;

  // The network type setting (0 wired, 1 wireless); the Wrapper hands in its NetworkType.
  void SetNetworkType(int32_t type) { networkType_ = type; }
  int32_t GetNetworkType() const { return networkType_; }
  // 1 (wireless) when NetworkType is 1, else 0.
  int32_t GetCurrentLanDevId() const { return networkType_ == 1 ? 1 : 0; }

  // --- Wired and addresses ---------------------------------------------------
  // A new record of the interface's addresses now (empty when the call
  // fails); it becomes the current interface record. A record of a failed
  // call is unread: the Wrapper's setters send nothing over it (its zeros
  // are not the interface's addresses).
  Structures::IF_Configuration* LAN_GetIfState(int32_t device);
  Structures::IF_Configuration* GetIfConfig() const { return ifConfig_.get(); }
  bool IfStateRead() const { return ifConfig_.get() != nullptr && ifRead_; }
  // The status of the last address change the Wrapper applied (0 accepted;
  // -1 nothing sent over an unread record; else the middleware's refusal).
  int32_t LastApply = 0;
  // -1 for no record or device -1; else the middleware's status.
  int32_t LAN_SetIfConfig(int32_t device, Structures::IF_Configuration* record);
  int32_t LAN_GetActivatedDev();
  static kv::String LAN_GetMacAddr(int32_t device);
  int32_t LAN_Enable(bool on);
  int32_t WLAN_Enable(bool on);
  // -1 and masks of 16 or more test everything (15).
  int32_t LAN_TestConnection(int32_t mask);
  int32_t LAN_QuitTestConnection();

  // --- Wireless -------------------------------------------------------------
  // Scans for every network (empty name) or for one (at most 32 bytes); the
  // held result is emptied.
  int32_t WLAN_ScanAccessPoint(const kv::String& name);
  int32_t WLAN_StopScan();
  // Loads up to 20 results with a network name; their count (0 on failure).
  int32_t WLAN_LoadAccessPoints();
  int32_t GetAccessPointNum() const { return static_cast<int32_t>(accessPoints_.size()); }
  Structures::WLAN_Info* GetAccessPoint(int32_t i) const;
  // A new record of the wireless link now.
  Structures::WLAN_Info* WLAN_GetStatus();
  // 1 when the join was accepted, else 0.
  int32_t WLAN_JoinNetwork(Structures::WLAN_Connection* connection);
  int32_t WLAN_QuitNetwork();
  // The set's WPS PIN, 8 digits; empty when the set could not make one.
  kv::String WPS_GeneratePin();
  // Mode 0 joins by PIN, any other mode by push-button; the middleware's status.
  int32_t WPS_Join(Structures::WPS_Connection* record);

  // The index of the chosen access point, the keep-results flag, the access
  // point being set up.
  int32_t SelectedIndex = 0;
  uint8_t KeepResult = 0;
  kv::Member<Structures::WLAN_Info> CurrentAP;
  // The key typed in the wireless advanced dialog, kept in memory only
  // while the viewer is away at an error notice and comes back to it.
  kv::String PendingKey;

 private:
  kv::MemberVector<Structures::WLAN_Info> accessPoints_;
  kv::Member<Structures::IF_Configuration> ifConfig_;
  bool ifRead_ = false;
  int32_t networkType_ = 0;
};

}  // namespace SkinBin
