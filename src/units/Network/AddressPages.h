// The IP address and DNS pages of the advanced network set-up, and their
// address rows.
//
// Network::SubMenuItemNetworkAddress: a page row holding one address as four
// octet spinners (Network::NumberSpinner). Left and right enter editing and
// move between the octets (stopping at the ends); while editing the octet
// takes the digits, down empties it, OK saves the row (OnValueSaved), Back
// restores a changed octet and, on an unchanged one, ends editing. Leaving
// the row ends editing.
//
// Network::IPAddressSetupMenu: automatic set-up, IP address, subnet mask and
// default gateway; Network::DNSSetupMenu: automatic set-up and the two DNS
// servers. The address rows are disabled while automatic set-up is on (the
// DNS page also disables its automatic-set-up row while it is off). A
// refused address, or a change the set would not take, shows the error box;
// closing it shows the stored addresses again.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/slot.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/MenuSystem/SettingPage.h"
#include "units/Network/IPConfigDialog.h"
#include "units/Views/Rectangle.h"
#include "units/Views/Text.h"

namespace Network {

class AddressErrorInfo;

class SubMenuItemNetworkAddress : public MenuSystem::SubMenuItem {
  KV_CLASS(Network, SubMenuItemNetworkAddress, MenuSystem::SubMenuItem)
 public:
  SubMenuItemNetworkAddress();

  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  void Refresh() override;
  void OnSetIsDisabled(bool disabled) override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

  void OnSetAddress(uint32_t address);
  // The address of the saved octets.
  uint32_t OnGetAddress();
  // 0 to 3: that octet is edited; anything else ends editing.
  void OnSetAddrIndex(int32_t index);
  int32_t OnGetAddrIndex() const { return AddrIndex; }

  void DoValueChanged(kv::Object* sender = nullptr);
  void DoValueSaved(kv::Object* sender = nullptr);
  void DoBack(kv::Object* sender);

  NumberSpinner& Octet(int32_t i) { return spinners_[i]; }
  bool HighlightShown() const { return highlight_.IsVisible(); }

  uint32_t Address = 0xFFFFFFFFu;
  uint8_t Octets[4] = {255, 255, 255, 255};
  int32_t AddrIndex = -1;
  // Which address the row holds (see Address.h).
  int32_t AddressIndex = 0;
  kv::Slot OnResetTimeout;
  kv::Slot OnValueSaved;

 private:
  void SetHelp(bool editing);

  Views::Rectangle highlight_;
  NumberSpinner spinners_[4];
  Views::Text separators_[3];
};

// The two pages share everything but their rows and their checks.
class AddressSetupPage : public MenuSystem::SettingPage {
  KV_CLASS(Network, AddressSetupPage, MenuSystem::SettingPage)
 public:
  static constexpr uint32_t kWinId = 0x1001542;
  static constexpr int32_t kErrorX = 115;
  // The refusal stands this far under the last row, in a band the page
  // grows by while it shows.
  static constexpr int32_t kErrorGap = 8;

  AddressSetupPage() = default;

  void LoadSettings() override;
  void RefreshGrayout() override;
  void RowChanged(MenuSystem::SubMenuItem* row) override;
  void Close() override;

  // An address row was saved: checked, then stored through the Wrapper.
  void SaveAddress(kv::Object* sender);
  void DoCloseErrorInfo(kv::Object* sender);

  int32_t AddressRowCount() const { return static_cast<int32_t>(rows_.size()); }
  SubMenuItemNetworkAddress* AddressRow(int32_t i) { return rows_[static_cast<size_t>(i)]; }
  MenuSystem::SubMenuItem* AutoRow() { return R(0); }
  AddressErrorInfo* ErrorInfo() const { return error_.get(); }

 protected:
  // Builds the page: the automatic set-up row, then one address row per index.
  void BuildPage(const MenuSystem::PageLayout& layout, std::initializer_list<std::pair<const kv::MultiTextId*, int32_t>> rows);
  // The DNS page: its automatic-set-up row only while automatic set-up is on.
  bool GreyAutoRowWhenOff = false;
  // The IP page checks the addresses; the DNS page stores what is entered.
  bool CheckAddresses = true;

 private:
  void ReloadRows();
  void ShowError(const kv::String& message);

  kv::MemberVector<SubMenuItemNetworkAddress> rows_;
  kv::Member<AddressErrorInfo> error_;
  kv::Member<SubMenuItemNetworkAddress> refused_;
  // The page's height before it grew to hold the refusal (0: not grown).
  int32_t heightBeforeError_ = 0;
  void RestoreHeight();
};

class IPAddressSetupMenu : public AddressSetupPage {
  KV_CLASS(Network, IPAddressSetupMenu, AddressSetupPage)
 public:
  IPAddressSetupMenu();
};

class DNSSetupMenu : public AddressSetupPage {
  KV_CLASS(Network, DNSSetupMenu, AddressSetupPage)
 public:
  DNSSetupMenu();
};

}  // namespace Network
