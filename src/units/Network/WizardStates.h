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

#include "runtime/member.h"
#include "units/ListForm/AccessPointLists.h"
#include "units/Network/WizardBase.h"
#include "units/Structures/WLAN_Info.h"
#include "units/Network/WirelessScanDialog.h"
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
  static constexpr uint16_t kRescanKey = 20;
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

  // The link read when the state opened.
  Structures::WLAN_Info* Link() const { return link_.get(); }

 protected:
  explicit EasySetup_ApInfo(const kv::MultiTextId& caption);

 private:
  kv::Member<Structures::WLAN_Info> link_;
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

// --- Error notices ---------------------------------------------------------------------

class AssistedSetupSecureError : public NetworkWidgetClass {
  KV_CLASS(Network, AssistedSetupSecureError, NetworkWidgetClass)
 public:
  AssistedSetupSecureError();
  void Initialize(Primitives::KeyRoutingParameter* param) override;

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
