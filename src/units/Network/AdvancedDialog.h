// Network::WirelessAdvancedDialog: joins a network entered by hand. The
// viewer sets the connect mode, authentication and encryption in option
// pop-ups (written to the Wrapper at once), types the network name and the
// key on the key pad, and confirms with OK.
//
// The name may have at most 32 bytes and the key must suit the security
// method (CheckKey); a refused entry, a security combination the set cannot
// join and a refused join each lead to an error notice of the wireless
// wizard, which carries this dialog's caption and brings the viewer back
// here with the entries kept. An open network (method 0) is confirmed first
// by the no-encryption warning, opened with this dialog as its parameter
// object: it answers through WarningAnswered. A join the set accepts moves
// on to the connection status dialog, which waits for the outcome.
//
// With connect mode 1 the set finds the security itself (method -1, every
// key passes) and authentication and encryption are greyed out; with
// connect mode 2 and no encryption the password is greyed out.
#pragma once

#include <cstdint>

#include "runtime/string.h"
#include "units/Network/ConfirmDialogs.h"
#include "units/Network/OptionButton.h"
#include "units/Views/Text.h"

namespace Structures {
class WLAN_Connection;
}

namespace Network {

class WirelessAdvancedDialog : public NetworkConfirmDialog {
  KV_CLASS(Network, WirelessAdvancedDialog, NetworkConfirmDialog)
 public:
  static constexpr int32_t kNameBytes = 32;
  static constexpr int32_t kNamePadLength = 128;
  static constexpr int32_t kKeyPadLength = 64;
  // The security method when the set finds it itself (the others: Security.h).
  static constexpr int8_t kMethodFound = -1;

  WirelessAdvancedDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void HandleMessage(Structures::Message* msg) override;
  void Refresh() override;
  void Close() override;
  void EnterPrevState() override;
  // Back leaves like Cancel: the scan list's held result stays for reuse.
  kv::Object* HandleEvent(Core::Event* event) override;
  void DoActivate(kv::Object* sender) override;
  Forms::Ctrl* SelectUpper() override;

  // The option dialog's report: the changed button reloaded, greying redone.
  void DoValueChange(kv::Object* sender);
  void LoadOptionItem(OptionButton& button);
  void RefreshGrayout();
  int8_t GetSecurityMethod() const;
  bool CheckKey(const kv::String& key) const;
  Structures::WLAN_Connection* GetConnection() const;
  // The key pad's text for the focused button: 1 taken, 2 name too long, 3 key refused.
  int32_t UpdateLabel(const kv::String& text);
  // OK (and the confirmed no-encryption warning, as sender): check, then join.
  void ConnectAp(kv::Object* sender = nullptr);
  // The no-encryption warning's answer: join without asking again, or back to editing.
  void WarningAnswered(kv::Object* warning, bool join);

  OptionButton& ConnectModeButton() { return mode_; }
  OptionButton& AuthenticationButton() { return auth_; }
  OptionButton& EncryptionButton() { return enc_; }
  OptionButton& NameButton() { return name_; }
  OptionButton& PasswordButton() { return password_; }

 protected:
  kv::String NextStateText() const override;

 private:
  // Closes and opens the wizard's state of that name with this dialog's caption.
  void MoveTo(const char* state);
  void OpenKeyPad(int32_t length, const kv::String& text);
  // Stands a pop-up opened for `row` over the label column (see the .cpp).
  void StandOverLabels(Core::View* popup, const Core::View& row);
  void TakeFocusBack(kv::Object* sender = nullptr);
  // The entries as the Wrapper keeps them (the name and the key, while the
  // viewer is away at an error notice).
  void RestoreEntries();
  // The button of row `row` (0 connect mode, 1 authentication, 2 encryption,
  // 3 name, 4 key), beside labels_[row].
  OptionButton& RowButton(int32_t row);
  // Row `row` enabled, or grey: its button and its label.
  void SetEnabled(int32_t row, bool enabled);

  Views::Text labels_[5];
  OptionButton mode_;
  OptionButton auth_;
  OptionButton enc_;
  OptionButton name_;
  OptionButton password_;
  kv::String key_;
  bool toNotice_ = false;
};

}  // namespace Network
