// The wireless confirmation dialogs: OK starts the dialog's join and moves
// on to the connection status dialog with the network name; Cancel and back
// show the menu again.
//
// Network::NetworkConfirmDialog: the base (OK and Cancel, Cancel focused).
// Network::PinEnterDialog: the security key of a secured access point
// (mode 0) or the access point's WPS PIN (mode 1), typed on the key pad and
// shown as asterisks only; an empty entry starts no join.
#pragma once

#include <cstdint>

#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Views/Border.h"
#include "units/Views/Text.h"

namespace Network {

class NetworkConfirmDialog : public NonMenuSystem::ConfirmOptionDialog {
  KV_CLASS(Network, NetworkConfirmDialog, NonMenuSystem::ConfirmOptionDialog)
 public:
  NetworkConfirmDialog();

  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;
  void EnterNextState() override;
  // OK: the join (OnYesSlot), then the next state; Cancel: OnNoSlot.
  virtual void DoActivate(kv::Object* sender);
  void DoYesMethod();

  SkinBin::Button& OkButton() { return ok_; }
  SkinBin::Button& CancelButton() { return cancel_; }

  kv::Slot OnYesSlot;
  kv::Slot OnNoSlot;
  kv::String SSID;

 protected:
  SkinBin::Button ok_;
  SkinBin::Button cancel_;
};

class PinEnterDialog : public NetworkConfirmDialog {
  KV_CLASS(Network, PinEnterDialog, NetworkConfirmDialog)
 public:
  static constexpr int32_t kKeyPadLength = 64;

  PinEnterDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void HandleMessage(Structures::Message* msg) override;
  void Refresh() override;
  void Close() override;
  void OnSetWarningInfo(const kv::String& text) override;

  // The key pad's text: kept, and shown as one asterisk per character.
  void UpdateLabel(const kv::String& text);
  // The key-pad button's action.
  void ShowKeyboard(kv::Object* sender = nullptr);
  // OK: a WPS PIN join (mode 1) or a join with the key.
  void ConnectAp(kv::Object* sender = nullptr);

  const kv::String& EnteredText() const { return entered_; }
  Views::Text& ValueText() { return value_; }
  SkinBin::Button& KeyPadButton() { return keyPad_; }

  int32_t Mode = 1;

 private:
  void TakeFocusBack(kv::Object* sender = nullptr);

  SkinBin::Button keyPad_;
  Views::Border border_;
  Views::Text value_;
  Views::Text label_;
  kv::String entered_;
  int32_t tallest_ = 0;
};

}  // namespace Network
