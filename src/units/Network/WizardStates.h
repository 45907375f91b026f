// The states of the menu-style wireless wizard (each a
// Network::NetworkWidgetClass) and the one table of where each state goes.
//
// Access-point lists (AssistedSetup_ApList, WirelessInformation_ApList,
// EasySetupPIN_ApList): scan with the waiting circle (120 s, a rescan by key
// 20 60 s), show the notice when nothing answered, and move on with the
// chosen access point; the PIN list shows the set's generated PIN and the
// list starts the WPS join with it. Exit or back while scanning stop the
// scan.
//
// EasySetupPIN and EasySetupPBC wait for the WPS join: success shows for 2 s
// and goes to the result; a failure or 120 s without an answer shows why,
// and OK or 60 s more return to the easy set-up page. Exit and back while
// waiting ask first (the cancel confirmation); yes quits the join.
//
// The error notices (AssistedSetupSecureError and its kin) take the caption
// of the state before them and return to the assisted or, under the manual
// caption, the manual entry state.
//
// NetworkConnectionTest runs the connection test (mask 5): a pass shows the
// success notice 2 s later, a failure or 120 s without a result the failure
// notice; the notices go back to the network set-up page after 4 s, OK or
// back. The middleware test is quit once whenever the state closes, so that
// no late result reaches a later test.
#pragma once

#include <cstdint>

#include "keys/keycodes.h"
#include "runtime/member.h"
#include "units/ListForm/AccessPointLists.h"
#include "units/Network/ApInfo.h"
#include "units/Network/WizardBase.h"
#include "units/Structures/WLAN_Info.h"
#include "units/Network/WirelessScanDialog.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Views/Image.h"

namespace Network {

// What happened in a state, as the wizard's table names it.
enum class WizardMove : uint8_t {
  Next,         // the state's forward move (OK, selection, Done)
  Back,         // the state's backward move
  BadName,      // the key pad's network name is too long
  BadWepKey,    // the key pad's key is no WEP key
  BadWpaKey,    // the key pad's key is no WPA key
  Unsupported,  // Done on a security method the set cannot join
  OpenNetwork,  // Done on an open network: confirm first
  Refused,      // the join was refused
  Connected,    // connect complete, status 2
  NotFound,     // connect complete, status 0, or 36 s without an answer
  Mismatch,     // connect complete, any other status
  Passed,       // the connection test passed (2 s later)
  Failed,       // the connection test failed, or 120 s without a result
  Manual,       // an error notice under the manual caption: both ways
  AssistedItem, // the pages' entries
  ManualItem,
  EasyItem,
  Advanced,     // an error notice under the advanced dialog's caption: both ways
  PinScan,      // Start with WPS configuration 1 (PIN)
  PushButton,   // Start with any other WPS configuration
};

// Where `from` goes on `move`; null when the table has no such line or the
// state is not built in.
const kv::Class* WizardNext(const kv::Class* from, WizardMove move);
const kv::Class* WizardNext(const char* from, WizardMove move);

// --- Access-point lists ------------------------------------------------------------------

class AssistedSetup_ApList : public NetworkWidgetClass {
  KV_CLASS(Network, AssistedSetup_ApList, NetworkWidgetClass)
 public:
  static constexpr uint16_t kRescanKey = keys::KEY_RED;
  static constexpr kv::Point kNoticeOrigin{283, 145};

  AssistedSetup_ApList();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  // The scan stops.
  void StopOperation() override;

  void ConfigScan(bool on);
  void ScanTimeout(kv::Object* sender = nullptr);
  void ShowNoApFound(bool show);
  void DoSelectAP(kv::Object* sender = nullptr);

  ListForm::AccessPointList& List() { return list_; }
  NoApFound* Notice() const { return notice_.get(); }

 protected:
  ListForm::AccessPointList list_;
  kv::Member<NoApFound> notice_;
};

class WirelessInformation_ApList : public AssistedSetup_ApList {
  KV_CLASS(Network, WirelessInformation_ApList, AssistedSetup_ApList)
 public:
  WirelessInformation_ApList();
};

class EasySetupPIN_ApList : public AssistedSetup_ApList {
  KV_CLASS(Network, EasySetupPIN_ApList, AssistedSetup_ApList)
 public:
  EasySetupPIN_ApList();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  // The list's choice: with a PIN the list has started the WPS join.
  void DoConnectAP(kv::Object* sender = nullptr);

  Views::Text& PinView() { return pinValue_; }

 private:
  Views::Text pinLabel_;
  Views::Text pinValue_;
};

// --- Access-point entry ------------------------------------------------------------------

// One access point's name, security and key in the ApInfo form, and Done:
// the name and key rows open the key pad (the state hides meanwhile); a
// name or key the form refuses leads to its notice. Done joins: an
// unsupported security pair leads to the mismatch notice, an open network
// asks first (CheckNoEncryption), a refused join to the no-access-point
// notice; an accepted one waits (circle, 36 s) for the set's answer:
// connected, not found (also after 36 s) or a security mismatch.
// The assisted state shows the access point chosen in the list; back
// returns to the list, which shows its held result again.
class AssistedSetup_ApInfo : public NetworkWidgetClass {
  KV_CLASS(Network, AssistedSetup_ApInfo, NetworkWidgetClass)
 public:
  AssistedSetup_ApInfo();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleMessage(Structures::Message* msg) override;
  void Close() override;
  void EnterPrevState() override;
  // The join is quit.
  void StopOperation() override;
  // What going back leaves behind: the list keeps its result.
  virtual void DoCleanup();

  // On: waiting for the join (36 s); off: 60 s idle.
  void ConfigScan(bool on);
  void ScanTimeout(kv::Object* sender = nullptr);
  // Done (and the confirmed open-network question, as sender).
  void ConnectAp(kv::Object* sender = nullptr);
  // Opens the key pad for the focused row. The page gives way to it: the
  // form and Done hide, the caption and a prompt naming what to type (the
  // network whose key it is) stay readable above the pad.
  void ShowKeyboard(int32_t length, const kv::String& text);
  // The help bar of the focused control (Done or the form's row).
  void UpdateHelp(kv::Object* control = nullptr);

  ApInfo& Form() { return form_; }
  SkinBin::Button& DoneButton() { return done_; }

 protected:
  explicit AssistedSetup_ApInfo(const kv::MultiTextId& caption, const kv::MultiTextId& info);
  // Registered, not waiting, the form showing `ap`.
  void Begin(Primitives::KeyRoutingParameter* param, Structures::WLAN_Info* ap);
  // The form's name and security method into the access point being set up.
  void KeepEntries();
  // Along the table's line `move` (posted).
  void MoveOn(WizardMove move);

  ApInfo form_;
  SkinBin::Button done_;

 private:
  void AskNoEncryption();
  void Activated(kv::Object* sender = nullptr);
  // The page again after the key pad: form, Done and the explanation.
  void ShowPage();
  // The explanation: what the page asks for; a network without encryption
  // has no key to enter.
  void ShowInfo();
  const kv::MultiTextId* infoId_ = nullptr;
  kv::Member<Core::View> padRow_;  // the form's row the key pad types for
  bool keyPad_ = false;
};

// Starts on an empty access point (the one being set up), the name row
// focused; back returns to the wireless set-up page. Coming back from an
// error notice, the name and security typed before are kept.
class ManualSetup_ApInfo : public AssistedSetup_ApInfo {
  KV_CLASS(Network, ManualSetup_ApInfo, AssistedSetup_ApInfo)
 public:
  ManualSetup_ApInfo();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void DoCleanup() override {}
};

// The chosen access point's status, signal, speed, mode, channel and name;
// back returns to the list and its held result.
class WirelessInformation_ApInfo : public NetworkWidgetClass {
  KV_CLASS(Network, WirelessInformation_ApInfo, NetworkWidgetClass)
 public:
  WirelessInformation_ApInfo();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void EnterPrevState() override;

  WInfo_ApInfo& Form() { return form_; }

 private:
  WInfo_ApInfo form_;
};

// --- WPS waiting -------------------------------------------------------------------------

class EasySetupPBC : public NetworkWidgetClass {
  KV_CLASS(Network, EasySetupPBC, NetworkWidgetClass)
 public:
  EasySetupPBC();
  kv::Object* HandleEvent(Core::Event* event) override;
  // The WPS join is quit.
  void StopOperation() override;
  void DoTimeout(kv::Object* sender = nullptr);
  // -1 waiting, 0 failed, 1 joined, 2 no such network, others per kind.
  void OnSetStatus(int32_t status);
  int32_t OnGetStatus() const { return Status; }

  int32_t Status = -1;

 protected:
  // The information text of a status.
  virtual const kv::MultiTextId& StatusText(int32_t status) const;
};

class EasySetupPIN : public EasySetupPBC {
  KV_CLASS(Network, EasySetupPIN, EasySetupPBC)
 public:
  EasySetupPIN();

 protected:
  const kv::MultiTextId& StatusText(int32_t status) const override;
};

// --- Connection results ----------------------------------------------------------------

// The link as the set reports it once the wizard has joined; OK goes to the
// wireless set-up page, back to the path's entry, 60 s closes everything.
class EasySetup_ApInfo : public NetworkWidgetClass {
  KV_CLASS(Network, EasySetup_ApInfo, NetworkWidgetClass)
 public:
  EasySetup_ApInfo();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;

  // The link read when the state opened.
  Structures::WLAN_Info* Link() const { return link_.get(); }
  ApInfo& Form() { return form_; }

 protected:
  explicit EasySetup_ApInfo(const kv::MultiTextId& caption);

 private:
  kv::Member<Structures::WLAN_Info> link_;
  ApInfo form_;
};

#define NETWORK_RESULT_STATE(Name)                    \
  class Name : public EasySetup_ApInfo {              \
    KV_CLASS(Network, Name, EasySetup_ApInfo)         \
   public:                                            \
    Name();                                           \
  };

NETWORK_RESULT_STATE(EasySetup_PINApInfo)
NETWORK_RESULT_STATE(AssistedSetup_ApConnected)
NETWORK_RESULT_STATE(ManualSetup_ApConnected)

// --- Open-network confirmation ----------------------------------------------------------

// "Connect to an unencrypted network?" over the state that asked (hidden
// under it): yes closes and lets the caller join without asking again; no,
// back or 60 s close and show the caller again. The caller is handed as the
// parameter object (the wireless advanced dialog or an access-point entry
// state); any other caller only sees the question close.
class CheckNoEncryption : public YesNoState {
  KV_CLASS(Network, CheckNoEncryption, YesNoState)
 public:
  CheckNoEncryption();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void EnterNextState() override;
  void EnterPrevState() override;

 private:
  void Answer(bool join);

  kv::Member<kv::Object> caller_;
};

// --- Error notices ---------------------------------------------------------------------

class AssistedSetupSecureError : public NetworkWidgetClass {
  KV_CLASS(Network, AssistedSetupSecureError, NetworkWidgetClass)
 public:
  AssistedSetupSecureError();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  // Back and the time-out return as OK does, handing the caption on, so
  // that the entry state knows it is taken up again.
  void EnterPrevState() override;

 protected:
  explicit AssistedSetupSecureError(const kv::MultiTextId& info);
};

#define NETWORK_ERROR_NOTICE(Name)                             \
  class Name : public AssistedSetupSecureError {               \
    KV_CLASS(Network, Name, AssistedSetupSecureError)          \
   public:                                                     \
    Name();                                                    \
  };

NETWORK_ERROR_NOTICE(AssistedSetupInvalidName)
NETWORK_ERROR_NOTICE(AssistedSetupInvalidWEPKey)
NETWORK_ERROR_NOTICE(AssistedSetupInvalidWPAKey)
NETWORK_ERROR_NOTICE(AssistedSetupNoApFound)

// --- Connection test ---------------------------------------------------------------------

class NetworkConnectionTest : public NetworkWidgetClass {
  KV_CLASS(Network, NetworkConnectionTest, NetworkWidgetClass)
 public:
  static constexpr int32_t kTestMask = 5;

  NetworkConnectionTest();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Close() override;
  void DoTimeout(kv::Object* sender = nullptr);

  Views::Image& Animation() { return animation_; }

 private:
  Views::Image animation_;
  // The middleware test is running (quit once when the state closes).
  bool testing_ = false;
};

class NetworkTestSuccess : public NetworkWidgetClass {
  KV_CLASS(Network, NetworkTestSuccess, NetworkWidgetClass)
 public:
  NetworkTestSuccess();

 protected:
  explicit NetworkTestSuccess(const kv::MultiTextId& info);
};

class NetworkTestFail : public NetworkTestSuccess {
  KV_CLASS(Network, NetworkTestFail, NetworkTestSuccess)
 public:
  NetworkTestFail();
};

}  // namespace Network
