// The access-point forms the wireless wizard embeds in its states.
//
// Network::ApInfoItem: one row: caption and value; a row bound to an
// option (OptionType) shows the arrows while it has the focus, and left and
// right step its choice (wrapping), written through RefValue into the
// form's property. OK on an enabled row fires its activation. Every key it
// takes restarts the owner's time-out (OnResetTimeout).
//
// Network::ApInfo: network name, authentication, encryption and security
// key of one access point (the key-id row is built but never shown). The
// name and key rows open the owner's key pad; choosing an authentication
// kind moves the encryption to its partner (open/shared to WEP, WPA-PSK and
// WPA2-PSK to AES), and without encryption the key row is greyed out. The
// key pad's text is checked here (UpdateLabel: a name of at most 32 bytes,
// a key that suits the security method) and the key shows as asterisks.
// Up and down move within the form; at its ends the key goes on to the
// owner. Disabled (the connection result screens) it only shows, with a
// placeholder for the key.
//
// Network::WInfo_ApInfo: status, signal, speed, mode, channel and network
// name of one access point, read-only.
#pragma once

#include <cstdint>

#include "keys/keycodes.h"
#include "runtime/member.h"
#include "runtime/ref.h"
#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/Primitives/KeyRoutingForm.h"

namespace Structures {
class WLAN_Connection;
class WLAN_Info;
}  // namespace Structures

namespace Network {

// A speed in Mbit/s as the wireless screens show it ("54 Mbps").
kv::String SpeedText(int32_t mbps);

class ApInfoItem : public MenuSystem::SubMenuItemValue {
  KV_CLASS(Network, ApInfoItem, MenuSystem::SubMenuItemValue)
 public:
  ApInfoItem();

  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  void RefreshCtrlState(int32_t state) override;
  // Focused only while the form holds the focus too (the form keeps its
  // focused row when Done takes the focus).
  int32_t GetCtrlState() override;
  void Refresh() override;
  // The next (or previous) choice, wrapping; nothing on a disabled row.
  void ToggleOption(bool forward);
  // Enabled rows take the focus and keys; disabled ones show greyed out.
  void SetEnabledRow(bool enabled);

  uint16_t ToggleIncreaseKey = keys::KEY_RIGHT;
  uint16_t ToggleDecreaseKey = keys::KEY_LEFT;
  kv::Slot OnValueChanged;
  kv::RefInt32 RefValue;

 private:
  void UpdateArrows();
};

class ApInfo : public Primitives::KeyRoutingForm {
  KV_CLASS(Network, ApInfo, Primitives::KeyRoutingForm)
 public:
  enum Row : int32_t { kName, kAuthentication, kEncryption, kKey, kKeyId, kRows };
  static constexpr int32_t kNameBytes = 32;
  static constexpr int32_t kNamePadLength = 128;
  static constexpr int32_t kKeyPadLength = 64;
  // UpdateLabel's answers.
  static constexpr int32_t kTaken = 1;
  static constexpr int32_t kNameTooLong = 2;
  static constexpr int32_t kKeyRefused = 3;
  static constexpr int32_t kRowPitch = 30;

  ApInfo();

  // Shows the parameter's access point (Param, a Structures::WLAN_Info), or
  // a new empty one with security method 4.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  void Refresh() override;

  void LoadWlanInfo(Structures::WLAN_Info* info);
  void LoadOptionItem(ApInfoItem& row);
  int32_t OnGetSecurityMethod();
  void OnSetSecurityMethod(int32_t method);
  int32_t OnGetAuthentication() { return Authentication; }
  void OnSetAuthentication(int32_t value);
  int32_t OnGetEncryption() { return Encryption; }
  void OnSetEncryption(int32_t value);
  int32_t OnGetKeyID() { return KeyID; }
  void OnSetKeyID(int32_t value) { KeyID = value; }
  bool CheckKey(const kv::String& key);
  // The key pad's text for the focused row: kTaken, kNameTooLong or kKeyRefused.
  int32_t UpdateLabel(const kv::String& text);
  // A join request of what the form holds.
  Structures::WLAN_Connection* GetConnection();
  // The name and key rows ask the owning entry state for the key pad.
  void DoActivate(kv::Object* sender);
  // Disabled: nothing takes the focus; the key row shows the placeholder
  // unless a key was typed in this form (its asterisks stay).
  void SetDisabled(bool disabled);
  bool IsFormDisabled() const { return disabled_; }

  ApInfoItem& Item(int32_t row) { return items_[row]; }
  Structures::WLAN_Info* Record() const { return record_.get(); }
  // The entered key (empty until one was accepted).
  const kv::String& Key() const { return key_; }

  int32_t Authentication = 0;
  int32_t Encryption = 0;
  int32_t KeyID = 0;
  kv::Slot OnResetTimeout;
  kv::Slot OnFocus;

 private:
  void ResetSlot(kv::Object* sender = nullptr);
  void ValueChanged(kv::Object* sender = nullptr);
  void ShowKeyRow();

  ApInfoItem items_[kRows];
  kv::Member<Structures::WLAN_Info> record_;
  kv::String key_;
  bool disabled_ = false;
};

class WInfo_ApInfo : public Primitives::KeyRoutingForm {
  KV_CLASS(Network, WInfo_ApInfo, Primitives::KeyRoutingForm)
 public:
  enum Row : int32_t { kStatus, kSignal, kSpeed, kMode, kChannel, kNetworkName, kRows };

  WInfo_ApInfo();
  // Shows the parameter's access point (or an empty one).
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  void Show(Structures::WLAN_Info* info);

  ApInfoItem& Item(int32_t row) { return items_[row]; }

 private:
  ApInfoItem items_[kRows];
};

}  // namespace Network
