// The network set-up dialog and the bases the network dialogs share.
//
// Network::KXDNetworkWidgetClass: a captioned network dialog that runs a
// middleware operation behind the waiting circle (ShowWaiting): while it
// waits OK is ignored, and exit, back and standby cancel the operation
// (DoCancel) before they leave; every key is consumed.
//
// Network::IPAddressButton: a button showing one IPv4 address (Tag: which).
//
// Network::NetworkSetupDialog: the interface in use (wired, or wireless
// with network type 1): automatic set-up (DHCP) and, while it is off, the
// IP address, subnet mask, default gateway and the two DNS servers, each
// edited in the IP configuration dialog. Every accepted change goes to the
// set at once; a refused address, or a change the set would not take,
// shows the error box at (115, 61), and closing it shows the stored
// addresses again.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Views/Text.h"

namespace Network {

class AddressErrorInfo;

class KXDNetworkWidgetClass : public NonMenuSystem::KXDWidgetClass {
  KV_CLASS(Network, KXDNetworkWidgetClass, NonMenuSystem::KXDWidgetClass)
 public:
  KXDNetworkWidgetClass();

  kv::Object* HandleEvent(Core::Event* event) override;
  // Waiting off, then the dialog closes; descendants stop their operation first.
  virtual void DoCancel(kv::Object* sender = nullptr);

  // -1 not set, 0 waiting circle off, 1 on. Setting 0 or 1 tells the
  // screens outside the menu to hide or show the circle.
  void OnSetShowWaiting(int32_t v);
  int32_t OnGetShowWaiting() const { return ShowWaiting; }

  int32_t ShowWaiting = -1;
};

class IPAddressButton : public SkinBin::Button {
  KV_CLASS(Network, IPAddressButton, SkinBin::Button)
 public:
  IPAddressButton();

  // Recomposes the address from the octets.
  uint32_t OnGetAddress();
  // Stores the address and shows it.
  void OnSetAddress(uint32_t address);

  uint32_t Address = 0xFFFFFFFFu;
  uint8_t Octets[4] = {255, 255, 255, 255};
};

class NetworkSetupDialog : public NonMenuSystem::KXDWidgetClass {
  KV_CLASS(Network, NetworkSetupDialog, NonMenuSystem::KXDWidgetClass)
 public:
  // Where the error box stands in the dialog.
  static constexpr kv::Point kErrorOrigin{115, 61};

  NetworkSetupDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;

  // The check box's action: automatic set-up on or off.
  void SetDHCP(kv::Object* sender = nullptr);
  // The address buttons take keys only while automatic set-up is off.
  void RefreshGrayout(kv::Object* sender = nullptr);
  // An address button's action: the IP configuration dialog for its address.
  void DoActivate(kv::Object* sender);
  // The IP configuration dialog confirmed an address.
  void SaveAddress(kv::Object* sender);
  void DoCloseErrorInfo(kv::Object* sender);

  ::SkinBin::CheckBoxWithCaption& DhcpBox() { return dhcp_; }
  IPAddressButton& AddressButton(int32_t index) { return buttons_[index]; }
  ::SkinBin::Button& OkButton() { return ok_; }
  AddressErrorInfo* ErrorInfo() const { return error_.get(); }

 private:
  // The check box and the five buttons from the Wrapper.
  void LoadAddresses(bool dns);
  // The error box over the dialog; `back` has the focus again when it closes.
  void ShowError(const kv::String& message, Core::View* back);

  ::SkinBin::CheckBoxWithCaption dhcp_;
  IPAddressButton buttons_[5];
  Views::Text labels_[4];
  ::SkinBin::Button ok_;
  kv::Member<AddressErrorInfo> error_;
  // Which control the closing error box gives the focus back to: an
  // address button's index, kBackToDhcp, or -1 (none).
  static constexpr int32_t kBackToDhcp = 5;
  int32_t errorBack_ = -1;
};

}  // namespace Network
