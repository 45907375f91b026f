// The wireless scan dialog and the no-access-point notice.
//
// Network::WirelessScanDialog scans the air (or shows the result held when
// the viewer stepped back to it), lists the access points and sends the
// viewer on: key entry for a secured network, the connection status for an
// open one (already being joined by the list), and on the WPS PIN path
// (mode 1) the PIN generation or PIN entry dialog by the WPS PIN mode.
// While it scans the waiting circle is up: OK, selections and key 20 are
// ignored, exit and back stop the scan. The first scan gives up after the
// 15 s time-out, a rescan (key 20) after 60 s; no access point found shows
// the notice at (283, 145).
#pragma once

#include <cstdint>

#include "keys/keycodes.h"
#include "runtime/member.h"
#include "units/ListForm/AccessPointLists.h"
#include "units/Network/NetworkSetupDialog.h"
#include "units/Primitives/KeyRoutingCtrl.h"
#include "units/Views/Rectangle.h"
#include "units/Views/Text.h"

namespace Network {

class NoApFound : public Primitives::KeyRoutingCtrl {
  KV_CLASS(Network, NoApFound, Primitives::KeyRoutingCtrl)
 public:
  NoApFound();
  void OnSetBounds(kv::Rect bounds) override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

 private:
  Views::Rectangle panel_;
  Views::Text text_;
};

class WirelessScanDialog : public KXDNetworkWidgetClass {
  KV_CLASS(Network, WirelessScanDialog, KXDNetworkWidgetClass)
 public:
  static constexpr int32_t kListedTimeOut = 60000;
  static constexpr kv::Point kNoticeOrigin{283, 145};
  // The key that starts a new scan.
  static constexpr uint16_t kRescanKey = keys::KEY_RED;

  WirelessScanDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void EnterNextState() override;
  void DoCancel(kv::Object* sender = nullptr) override;

  // Scanning (waiting circle, ScanTimeout) or not (60 s idle closes all).
  void ConfigScan(bool on);
  void ScanTimeout(kv::Object* sender = nullptr);
  void ShowNoApFound(bool show);
  // The list's choice: the next dialog for the chosen access point.
  void DoSelectAP(kv::Object* sender);

  ListForm::KXDAccessPointList& List() { return list_; }
  NoApFound* Notice() const { return notice_.get(); }

  int32_t Mode = 0;

 private:
  ListForm::KXDAccessPointList list_;
  kv::Member<NoApFound> notice_;
};

}  // namespace Network
