// The wireless confirmation dialogs: OK starts the dialog's join and moves
// on to the connection status dialog with the network name; Cancel and back
// show the menu again.
//
// Network::NetworkConfirmDialog: the base (OK and Cancel, Cancel focused).
// Network::PinEnterDialog: the security key of a secured access point
// (mode 0) or the access point's WPS PIN (mode 1), typed on the key pad and
// shown as asterisks only; an empty entry starts no join.
// Network::WPSGeneratePinDialog: the set makes a WPS PIN (Generate) for the
// viewer to enter at the access point; OK joins with it. Until a PIN was
// made, or when the set could not make one, there is no PIN and OK starts
// no join.
// Network::WPSPBCDialog: OK starts a push-button join.
#pragma once

#include <cstdint>

#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Views/Border.h"
#include "units/Views/Text.h"

namespace Network {

// "Enter the security key of <network>.": what a page asks while the key pad
// takes the key of that network.
kv::String KeyEntryPrompt(const kv::String& network);

class NetworkConfirmDialog : public NonMenuSystem::ConfirmOptionDialog {
  KV_CLASS(Network, NetworkConfirmDialog, NonMenuSystem::ConfirmOptionDialog)
 public:
  NetworkConfirmDialog();

  kv::Object* HandleEvent(Core::Event* event) override;
  // While a pop-up or the key pad takes the keys, the button that opened
  // it shows the unfocused look: one control at a time looks focused.
  void HandleFocus(bool focused) override;
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
  // The string handed to the next state: the network name.
  virtual kv::String NextStateText() const { return SSID; }
  // Shows the warning text; when its height changes the dialog's height
  // becomes 2 x FrameWidth + the tallest text shown + `room` (+ 30 with a
  // caption): it never shrinks below the tallest text it has shown.
  void SetWarningGrowing(const kv::String& text, int32_t room);

  SkinBin::Button ok_;
  SkinBin::Button cancel_;
  int32_t tallest_ = 0;
};

// The PIN dialogs' value row over the OK button: a label, a bordered value
// and a button on the right.
struct ValueRow {
  ValueRow(NetworkConfirmDialog& dialog, const kv::String& button, const kv::String& label);
  // Placed relative to the top of the OK button.
  void Place(const NetworkConfirmDialog& dialog, int32_t okTop);

  SkinBin::Button button;
  Views::Border border;
  Views::Text value;
  Views::Text label;
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
  Views::Text& ValueText() { return row_.value; }
  SkinBin::Button& KeyPadButton() { return row_.button; }

  int32_t Mode = 1;

 private:
  void TakeFocusBack(kv::Object* sender = nullptr);

  ValueRow row_;
  kv::String entered_;
};

class WPSGeneratePinDialog : public NetworkConfirmDialog {
  KV_CLASS(Network, WPSGeneratePinDialog, NetworkConfirmDialog)
 public:
  WPSGeneratePinDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  void OnSetWarningInfo(const kv::String& text) override;

  // The generate button's action: a new PIN from the set, shown; a failure
  // leaves no PIN and says so.
  void GeneratePin(kv::Object* sender = nullptr);
  // OK: a WPS join with the set's PIN; none without a PIN.
  void ConnectAp(kv::Object* sender = nullptr);

  const kv::String& PinText() const { return pin_; }
  Views::Text& ValueText() { return row_.value; }
  SkinBin::Button& GenerateButton() { return row_.button; }

 private:
  ValueRow row_;
  kv::String pin_;
};

class WPSPBCDialog : public NetworkConfirmDialog {
  KV_CLASS(Network, WPSPBCDialog, NetworkConfirmDialog)
 public:
  WPSPBCDialog();

  void Refresh() override;
  void OnSetWarningInfo(const kv::String& text) override;
  // OK: a push-button join.
  void ConnectAp(kv::Object* sender = nullptr);
};

}  // namespace Network
