// The menu pages of the network set-up that start the wireless wizard and
// show the set's addresses.
//
// Network::WirelessSetupMenu: easy, assisted and manual set-up (the
// Enhanced 11n row is built but never shown).
// Network::EasySetupMenu: the WPS configuration (PIN or push button) and
// Start: the PIN path opens the PIN access-point list, the push-button path
// starts the push-button join and waits for it.
// Network::AdvancedNetworkSetupMenu: the IP address, DNS and MAC address pages.
// Network::MACAddressMenu: the wired and wireless MAC addresses, read-only.
// Network::WirelessInformationMenu: sixteen read-only rows of the wireless
// link and the wireless interface's addresses; up and down scroll, the
// scan key (20) lists the access points.
#pragma once

#include <cstdint>

#include "keys/keycodes.h"
#include "runtime/member.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/MenuSystem/SettingPage.h"

namespace Structures {
class IF_Configuration;
class WLAN_Info;
}

namespace Network {

// A read-only value row: no arrows.
class SubMenuItemValue : public MenuSystem::SubMenuItemValue {
  KV_CLASS(Network, SubMenuItemValue, MenuSystem::SubMenuItemValue)
 public:
  SubMenuItemValue();
  // The row only shows a value: its arrows stay hidden, focused or not.
  void Refresh() override;
  void HandleFocus(bool focused) override;
  void RefreshCtrlState(int32_t state) override;

  // The property the row shows (null: the row's own text).
  int32_t* RefValue = nullptr;
};

class WirelessSetupMenu : public MenuSystem::SettingPage {
  KV_CLASS(Network, WirelessSetupMenu, MenuSystem::SettingPage)
 public:
  WirelessSetupMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
};

class EasySetupMenu : public MenuSystem::SettingPage {
  KV_CLASS(Network, EasySetupMenu, MenuSystem::SettingPage)
 public:
  static constexpr int32_t kHeight = 128;

  EasySetupMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void DoActivate(kv::Object* sender) override;
  void StartScanSlot(kv::Object* sender = nullptr);
};

class AdvancedNetworkSetupMenu : public MenuSystem::SettingPage {
  KV_CLASS(Network, AdvancedNetworkSetupMenu, MenuSystem::SettingPage)
 public:
  AdvancedNetworkSetupMenu();
};

// The pages of read-only value rows.
class ValuePage : public MenuSystem::SettingPage {
  KV_CLASS(Network, ValuePage, MenuSystem::SettingPage)
 public:
  ValuePage() = default;
  SubMenuItemValue* Value(int32_t i) { return i >= 0 && i < static_cast<int32_t>(values_.size()) ? values_[static_cast<size_t>(i)] : nullptr; }
  int32_t ValueCount() const { return static_cast<int32_t>(values_.size()); }

 protected:
  void AddValues(std::initializer_list<const kv::MultiTextId*> captions, int32_t helpMask,
                 std::initializer_list<const kv::MultiTextId*> help);
  void Show(int32_t row, const kv::String& text);
  // The page's help on the help bar.
  void ShowHelp(int32_t mask, const kv::String& text);

  kv::MemberVector<SubMenuItemValue> values_;
};

class MACAddressMenu : public ValuePage {
  KV_CLASS(Network, MACAddressMenu, ValuePage)
 public:
  MACAddressMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
};

class WirelessInformationMenu : public ValuePage {
  KV_CLASS(Network, WirelessInformationMenu, ValuePage)
 public:
  static constexpr uint16_t kScanKey = keys::KEY_RED;
  enum InfoRow : int32_t {
    kStatus, kSignal, kSpeed, kMode, kChannel, kNetworkName, kAuthentication, kEncryption, kSecurityKey,
    kApMac, kMac, kDhcp, kIp, kMask, kGateway, kDns, kRows
  };

  WirelessInformationMenu();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  // The access-point list of the wireless information.
  void EnterNextState();
  // The rows of a link record and the wireless interface's addresses (null:
  // not read).
  void ShowLink(const Structures::WLAN_Info* info, const Structures::IF_Configuration* config);
  // Authentication and encryption from the security method (7 and more: 6).
  void OnSetSecurityMethod(int32_t method);
  int32_t OnGetSecurityMethod() const { return SecurityMethod; }
  // The first row shown (scrolled by up and down).
  int32_t OnGetScroll() const { return scroll_; }

  int32_t Authentication = 0;
  int32_t Encryption = 0;
  int32_t SecurityMethod = 0;

 private:
  void Scroll(int32_t step);
  // The caption of the option's choice for `value`.
  kv::String OptionText(int32_t option, int32_t value);

  int32_t scroll_ = 0;
};

}  // namespace Network
