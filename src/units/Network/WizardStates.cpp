#include "units/Network/WizardStates.h"

#include <cstring>

#include "runtime/slot.h"
#include "strings/MenuSystemPages.h"
#include "strings/Strings.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Events/NetworkTestResultsEvent.h"
#include "units/Events/WlanConnectCompleteEvent.h"
#include "units/Events/WlanScanCompleteEvent.h"
#include "units/Fonts/Fonts.h"
#include "units/MenuSystem/ProductTreeBitmaps.h"
#include "units/Network/Address.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Views/Align.h"

KV_REGISTER_CLASS(Network::AssistedSetup_ApList);
KV_REGISTER_CLASS(Network::WirelessInformation_ApList);
KV_REGISTER_CLASS(Network::EasySetupPIN_ApList);
KV_REGISTER_CLASS(Network::EasySetupPBC);
KV_REGISTER_CLASS(Network::EasySetupPIN);
KV_REGISTER_CLASS(Network::EasySetup_ApInfo);
KV_REGISTER_CLASS(Network::EasySetup_PINApInfo);
KV_REGISTER_CLASS(Network::AssistedSetup_ApConnected);
KV_REGISTER_CLASS(Network::ManualSetup_ApConnected);
KV_REGISTER_CLASS(Network::AssistedSetupSecureError);
KV_REGISTER_CLASS(Network::AssistedSetupInvalidName);
KV_REGISTER_CLASS(Network::AssistedSetupInvalidWEPKey);
KV_REGISTER_CLASS(Network::AssistedSetupInvalidWPAKey);
KV_REGISTER_CLASS(Network::AssistedSetupNoApFound);
KV_REGISTER_CLASS(Network::NetworkConnectionTest);
KV_REGISTER_CLASS(Network::NetworkTestSuccess);
KV_REGISTER_CLASS(Network::NetworkTestFail);

namespace Network {

namespace {

using M = WizardMove;

struct WizardLine {
  const char* from;
  WizardMove move;
  const char* to;
};

constexpr const char* kWirelessSetup = "Network::WirelessSetupMenu";
constexpr const char* kEasySetup = "Network::EasySetupMenu";
constexpr const char* kNetworkSetup = "MenuSystem::NetworkSetupMenu";
constexpr const char* kAssistedInfo = "Network::AssistedSetup_ApInfo";
constexpr const char* kManualInfo = "Network::ManualSetup_ApInfo";
constexpr const char* kSecureError = "Network::AssistedSetupSecureError";
constexpr const char* kNoApFound = "Network::AssistedSetupNoApFound";

// The whole wizard: each state, what happens there, and the state it leads
// to. A class without a line of its own follows its base class's lines (the
// four error notices follow AssistedSetupSecureError's).
constexpr WizardLine kWizard[] = {
    {kWirelessSetup, M::AssistedItem, "Network::AssistedSetup_ApList"},
    {kWirelessSetup, M::ManualItem, kManualInfo},
    {kWirelessSetup, M::EasyItem, kEasySetup},
    {kEasySetup, M::PinScan, "Network::EasySetupPIN_ApList"},
    {kEasySetup, M::PushButton, "Network::EasySetupPBC"},
    {"Network::WirelessInformationMenu", M::Next, "Network::WirelessInformation_ApList"},
    {"Network::AssistedSetup_ApList", M::Next, kAssistedInfo},
    {"Network::AssistedSetup_ApList", M::Back, kWirelessSetup},
    {"Network::WirelessInformation_ApList", M::Next, "Network::WirelessInformation_ApInfo"},
    {"Network::WirelessInformation_ApList", M::Back, "Network::WirelessInformationMenu"},
    {"Network::EasySetupPIN_ApList", M::Next, "Network::EasySetupPIN"},
    {"Network::EasySetupPIN_ApList", M::Back, kEasySetup},
    {kAssistedInfo, M::Next, "Network::AssistedSetup_ApConnected"},
    {kAssistedInfo, M::Back, "Network::AssistedSetup_ApList"},
    {kAssistedInfo, M::BadName, "Network::AssistedSetupInvalidName"},
    {kAssistedInfo, M::BadWepKey, "Network::AssistedSetupInvalidWEPKey"},
    {kAssistedInfo, M::BadWpaKey, "Network::AssistedSetupInvalidWPAKey"},
    {kAssistedInfo, M::Unsupported, kSecureError},
    {kAssistedInfo, M::OpenNetwork, "Network::CheckNoEncryption"},
    {kAssistedInfo, M::Refused, kNoApFound},
    {kAssistedInfo, M::Connected, "Network::AssistedSetup_ApConnected"},
    {kAssistedInfo, M::NotFound, kNoApFound},
    {kAssistedInfo, M::Mismatch, kSecureError},
    {kManualInfo, M::Next, "Network::ManualSetup_ApConnected"},
    {kManualInfo, M::Back, kWirelessSetup},
    {kManualInfo, M::BadName, "Network::AssistedSetupInvalidName"},
    {kManualInfo, M::BadWepKey, "Network::AssistedSetupInvalidWEPKey"},
    {kManualInfo, M::BadWpaKey, "Network::AssistedSetupInvalidWPAKey"},
    {kManualInfo, M::Unsupported, kSecureError},
    {kManualInfo, M::OpenNetwork, "Network::CheckNoEncryption"},
    {kManualInfo, M::Refused, kNoApFound},
    {kManualInfo, M::Connected, "Network::ManualSetup_ApConnected"},
    {kManualInfo, M::NotFound, kNoApFound},
    {kManualInfo, M::Mismatch, kSecureError},
    {kSecureError, M::Next, kAssistedInfo},
    {kSecureError, M::Back, kAssistedInfo},
    {kSecureError, M::Manual, kManualInfo},
    {"Network::EasySetupPBC", M::Connected, "Network::EasySetup_ApInfo"},
    {"Network::EasySetupPBC", M::Next, kEasySetup},
    {"Network::EasySetupPBC", M::Back, kEasySetup},
    {"Network::EasySetupPIN", M::Connected, "Network::EasySetup_PINApInfo"},
    {"Network::AssistedSetup_ApConnected", M::Next, kWirelessSetup},
    {"Network::AssistedSetup_ApConnected", M::Back, kAssistedInfo},
    {"Network::ManualSetup_ApConnected", M::Next, kWirelessSetup},
    {"Network::ManualSetup_ApConnected", M::Back, kManualInfo},
    {"Network::EasySetup_ApInfo", M::Next, kWirelessSetup},
    {"Network::EasySetup_ApInfo", M::Back, kEasySetup},
    {"Network::WirelessInformation_ApInfo", M::Next, "Network::WirelessInformation_ApList"},
    {"Network::WirelessInformation_ApInfo", M::Back, "Network::WirelessInformation_ApList"},
    {"Network::NetworkConnectionTest", M::Next, "Network::NetworkTestFail"},
    {"Network::NetworkConnectionTest", M::Back, kNetworkSetup},
    {"Network::NetworkConnectionTest", M::Passed, "Network::NetworkTestSuccess"},
    {"Network::NetworkConnectionTest", M::Failed, "Network::NetworkTestFail"},
    {"Network::NetworkTestSuccess", M::Next, kNetworkSetup},
    {"Network::NetworkTestSuccess", M::Back, kNetworkSetup},
};

constexpr uint16_t KEY_OK = 1;
constexpr uint16_t KEY_EXIT = 2;
constexpr uint16_t KEY_EXIT_2 = 45;
constexpr int32_t kConnected = 2;
constexpr kv::Rect kNoticeBounds{0, 0, 520, 130};
constexpr kv::Point kNoticeOrigin{220, 120};

SkinBin::NetworkSetup* Net() {
  SkinBin::Wrapper* w = Skin();
  return w ? &w->NetworkSetup : nullptr;
}

// A state's own forward and backward moves from the table.
void Route(NetworkWidgetClass& state, const kv::Class& cls) {
  state.NextState = WizardNext(&cls, M::Next);
  state.PrevState = WizardNext(&cls, M::Back);
}

kv::String Text(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }

}  // namespace

const kv::Class* WizardNext(const kv::Class* from, WizardMove move) {
  for (const kv::Class* c = from; c; c = c->ancestor)
    for (const WizardLine& line : kWizard)
      if (line.move == move && std::strcmp(line.from, c->name) == 0) return kv::FindClass(line.to);
  return nullptr;
}

const kv::Class* WizardNext(const char* from, WizardMove move) {
  const kv::Class* cls = kv::FindClass(from);
  if (cls) return WizardNext(cls, move);
  for (const WizardLine& line : kWizard)
    if (line.move == move && std::strcmp(line.from, from) == 0) return kv::FindClass(line.to);
  return nullptr;
}

// --- Access-point lists ------------------------------------------------------------------

AssistedSetup_ApList::AssistedSetup_ApList() {
  OnSetCaption(Text(Strings::SID_ASSISTED_SETUP));
  SetHelp({&Strings::SID_ENTER, &Strings::SID_AP_SCAN, &Strings::SID_BACK}, 0x41200);
  OnSetTimeOutValue(kLongTimeOut);
  OnTimeOut = kv::MakeSlot(this, &AssistedSetup_ApList::ScanTimeout);
  list_.OnConnectAP = kv::MakeSlot(this, &AssistedSetup_ApList::DoSelectAP);
  Add(&list_);
  OnSetFocus(&list_);
  Route(*this, StaticClass());
}

void AssistedSetup_ApList::Initialize(Primitives::KeyRoutingParameter* param) {
  NetworkWidgetClass::Initialize(param);
  SkinBin::NetworkSetup* net = Net();
  const bool reuse = net && net->KeepResult && net->GetAccessPointNum() != 0;
  ConfigScan(!reuse);
  auto* routing = kv::New<Primitives::KeyRoutingParameter>();
  routing->Owner = this;
  list_.Initialize(routing);
  OnSetFocus(&list_);
}

void AssistedSetup_ApList::Refresh() {
  NetworkWidgetClass::Refresh();
  const kv::Rect b = Bounds();
  list_.OnSetBounds({19, 44, b.W() - 19, b.H() - 12});
}

void AssistedSetup_ApList::ConfigScan(bool on) {
  if (on) {
    ShowNoApFound(false);
    OnSetShowWaiting(1);
    OnTimeOut = kv::MakeSlot(this, &AssistedSetup_ApList::ScanTimeout);
  } else {
    OnSetShowWaiting(0);
    OnSetTimeOutValue(kIdleTimeOut);
    OnTimeOut = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::ClearAllSlot);
  }
  if (IsOpen()) SetTimeout(true);
}

void AssistedSetup_ApList::ScanTimeout(kv::Object*) {
  ConfigScan(false);
  ShowNoApFound(true);
}

void AssistedSetup_ApList::ShowNoApFound(bool show) {
  if (!show) {
    if (NoApFound* n = notice_.get()) Remove(n);
    notice_ = nullptr;
    return;
  }
  if (notice_) return;
  notice_ = kv::New<NoApFound>();
  const kv::Rect nb = notice_->Bounds();
  notice_->OnSetBounds(nb.MoveTo(kNoticeOrigin));
  Add(notice_.get());
}

void AssistedSetup_ApList::DoSelectAP(kv::Object*) {
  if (ShowWaiting == 1) return;
  Post(&WidgetClass::EnterNextStateSlot);
}

void AssistedSetup_ApList::StopOperation() {
  if (SkinBin::NetworkSetup* net = Net()) net->WLAN_StopScan();
}

kv::Object* AssistedSetup_ApList::HandleEvent(Core::Event* event) {
  if (kv::Cast<Events::WlanScanCompleteEvent>(event)) {
    ConfigScan(false);
    ShowNoApFound(list_.GetScanResult() == 0);
    return this;
  }
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down) {
    ShowNoApFound(false);
    if (key->Code == KEY_OK) {
      ResetTimeout();
      return this;
    }
    if (key->Code == kRescanKey) {
      if (ShowWaiting != 1) {
        ConfigScan(true);
        list_.StartScan();
      }
      ResetTimeout();
      return this;
    }
  }
  return NetworkWidgetClass::HandleEvent(event);
}

WirelessInformation_ApList::WirelessInformation_ApList() {
  OnSetCaption(Text(Strings::SID_WIRELESS_INFORMATION));
  list_.ProtocolMode = true;
  Route(*this, StaticClass());
}

EasySetupPIN_ApList::EasySetupPIN_ApList() {
  OnSetCaption(Text(Strings::SID_EASY_SETUP_PIN));
  OnSetInfo(Text(Strings::SID_PIN_SEARCH_ENTRY));
  list_.OnConnectAP = kv::MakeSlot(this, &EasySetupPIN_ApList::DoConnectAP);
  for (Views::Text* t : {&pinLabel_, &pinValue_}) {
    t->OnSetFont(Resources::LoadResource(Fonts::MediumFont));
    t->OnSetColor(Colors::DisableTextColor);
    t->OnSetAlignH(Views::ALIGN_LEFT);
    t->OnSetAlignV(1);
    Add(t);
  }
  pinLabel_.OnSetString(Text(Strings::SID_PIN));
  Route(*this, StaticClass());
}

void EasySetupPIN_ApList::Initialize(Primitives::KeyRoutingParameter* param) {
  // The PIN first: the list joins with it.
  SkinBin::NetworkSetup* net = Net();
  const kv::String pin = net ? net->WPS_GeneratePin() : kv::String();
  pinValue_.OnSetString(pin);
  list_.PIN = pin;
  AssistedSetup_ApList::Initialize(param);
}

void EasySetupPIN_ApList::Refresh() {
  AssistedSetup_ApList::Refresh();
  const kv::Rect b = Bounds();
  info_.OnSetBounds({20, 40, b.W() - 20, 70});
  pinLabel_.OnSetBounds({20, 70, 150, 100});
  pinValue_.OnSetBounds({151, 70, 400, 100});
  list_.OnSetBounds({19, 104, b.W() - 19, b.H() - 12});
}

void EasySetupPIN_ApList::DoConnectAP(kv::Object* sender) { DoSelectAP(sender); }

// --- WPS waiting -------------------------------------------------------------------------

EasySetupPBC::EasySetupPBC() {
  OnSetCaption(Text(Strings::SID_EASY_SETUP_PBC));
  OnSetInfo(Text(Strings::SID_PBC_SEARCHING));
  SetHelp({&Strings::SID_BACK}, 0x40000);
  OnSetTimeOutValue(kLongTimeOut);
  OnTimeOut = kv::MakeSlot(this, &EasySetupPBC::DoTimeout);
  PromptCancel = true;
  ShowWaiting = 1;
  Route(*this, StaticClass());
}

EasySetupPIN::EasySetupPIN() {
  OnSetCaption(Text(Strings::SID_EASY_SETUP_PIN));
  OnSetInfo(Text(Strings::SID_WAIT_UNTIL_SETUP_COMPLETE_MSG));
}

const kv::MultiTextId& EasySetupPBC::StatusText(int32_t status) const {
  switch (status) {
    case 0:
      return Strings::SID_PBC_SEARCH_FAILURE;
    case 1:
      return Strings::SID_PBC_SEARCH_SUCCESS;
    case 2:
      return Strings::SID_PIN_SEARCH_BAD_SSID;
    default:
      return Strings::SID_PBC_SEARCH_MULTIPLE_FOUND;
  }
}

const kv::MultiTextId& EasySetupPIN::StatusText(int32_t status) const {
  switch (status) {
    case 0:
      return Strings::SID_SETUP_TIMED_OUT_MSG;
    case 2:
      return Strings::SID_PIN_SEARCH_BAD_SSID;
    case 3:
      return Strings::SID_PIN_SEARCH_PIN_MISMATCH;
    default:
      return Strings::SID_WAIT_UNTIL_SETUP_COMPLETE_MSG;
  }
}

void EasySetupPBC::OnSetStatus(int32_t status) {
  Status = status;
  OnSetInfo(Text(StatusText(status)));
  if (status == 1 || status == -1) return;
  OnSetShowWaiting(0);
  SetHelp({&Strings::SID_ENTER}, 512);
  ShowHelp();
}

kv::Object* EasySetupPBC::HandleEvent(Core::Event* event) {
  if (auto* done = kv::Cast<Events::WlanConnectCompleteEvent>(event)) {
    if (done->Status == kConnected) {
      OnSetStatus(1);
      OnSetTimeOutValue(kPauseTimeOut);
      if (IsOpen()) SetTimeout(true);
    } else {
      OnSetStatus(0);
    }
    return this;
  }
  return NetworkWidgetClass::HandleEvent(event);
}

void EasySetupPBC::DoTimeout(kv::Object*) {
  if (Status == -1) {
    OnSetStatus(0);
    OnSetTimeOutValue(kIdleTimeOut);
    if (IsOpen()) SetTimeout(true);
  } else if (Status == 1) {
    // Joined: nothing left to wait for.
    OnSetShowWaiting(0);
    NextState = WizardNext(KvClass(), M::Connected);
    EnterNextState();
  } else {
    EnterPrevState();
  }
}

void EasySetupPBC::StopOperation() {
  if (SkinBin::NetworkSetup* net = Net()) net->WLAN_QuitNetwork();
}

// --- Connection results ----------------------------------------------------------------

EasySetup_ApInfo::EasySetup_ApInfo() : EasySetup_ApInfo(Strings::SID_EASY_SETUP_PBC) {}

EasySetup_ApInfo::EasySetup_ApInfo(const kv::MultiTextId& caption) {
  IsModal = 0;
  OnSetCaption(Text(caption));
  OnSetInfo(Text(Strings::SID_WIRELESS_CONFIGURATION_COMPLETE));
  SetHelp({&Strings::SID_ENTER, &Strings::SID_BACK}, 0x40200);
  SetTimeOut(kIdleTimeOut, &NetworkWidgetClass::ClearAllAction);
  Route(*this, StaticClass());
}

void EasySetup_ApInfo::Initialize(Primitives::KeyRoutingParameter* param) {
  NetworkWidgetClass::Initialize(param);
  SkinBin::NetworkSetup* net = Net();
  link_ = net ? net->WLAN_GetStatus() : nullptr;
}

EasySetup_PINApInfo::EasySetup_PINApInfo() : EasySetup_ApInfo(Strings::SID_EASY_SETUP_PIN) {
  Route(*this, EasySetup_ApInfo::StaticClass());
}
AssistedSetup_ApConnected::AssistedSetup_ApConnected() : EasySetup_ApInfo(Strings::SID_ASSISTED_SETUP) {
  Route(*this, StaticClass());
}
ManualSetup_ApConnected::ManualSetup_ApConnected() : EasySetup_ApInfo(Strings::SID_MANUAL_SETUP) {
  Route(*this, StaticClass());
}

// --- Error notices -----------------------------------------------------------------------

AssistedSetupSecureError::AssistedSetupSecureError() : AssistedSetupSecureError(Strings::SID_WIFI_ENCRYPTION_MISMATCH) {}

AssistedSetupSecureError::AssistedSetupSecureError(const kv::MultiTextId& info) {
  KeyRoutingForm::OnSetBounds(kNoticeBounds);
  WidgetOrigin = kNoticeOrigin;
  OnSetInfo(Text(info));
  SetHelp({&Strings::SID_ENTER}, 512);
  SetTimeOut(kIdleTimeOut, &NetworkWidgetClass::PrevAction);
  Route(*this, AssistedSetupSecureError::StaticClass());
}

void AssistedSetupSecureError::Initialize(Primitives::KeyRoutingParameter* param) {
  NetworkWidgetClass::Initialize(param);
  OnSetShowWaiting(0);
  OnSetCaption(ArrivedCaption);
  // Under the manual caption both ways lead to the manual entry.
  const bool manual = ArrivedCaption == Text(Strings::SID_MANUAL_SETUP);
  NextState = WizardNext(KvClass(), manual ? M::Manual : M::Next);
  PrevState = WizardNext(KvClass(), manual ? M::Manual : M::Back);
}

AssistedSetupInvalidName::AssistedSetupInvalidName() : AssistedSetupSecureError(Strings::SID_INPUT_LABEL_ERROR_2) {}
AssistedSetupInvalidWEPKey::AssistedSetupInvalidWEPKey()
    : AssistedSetupSecureError(Strings::SID_WIFI_STRING_ERROR_WEP) {}
AssistedSetupInvalidWPAKey::AssistedSetupInvalidWPAKey()
    : AssistedSetupSecureError(Strings::SID_WIFI_STRING_ERROR_WPA) {}
AssistedSetupNoApFound::AssistedSetupNoApFound() : AssistedSetupSecureError(Strings::SID_WIFI_AP_NOT_FOUND) {}

// --- Connection test ---------------------------------------------------------------------

NetworkConnectionTest::NetworkConnectionTest() {
  OnSetCaption(Text(MenuSystemPages::SID_NETWORK_CONNECTION_TEST));
  OnSetInfo(Text(Strings::SID_NOW_TESTING));
  SetHelp({&Strings::SID_CANCEL}, 0x80000);
  OnSetTimeOutValue(kLongTimeOut);
  OnTimeOut = kv::MakeSlot(this, &NetworkConnectionTest::DoTimeout);
  KeyRoutingForm::OnSetBounds({0, 0, 520, 200});
  WidgetOrigin = {220, 80};
  Add(&animation_);
  Route(*this, StaticClass());
}

void NetworkConnectionTest::Initialize(Primitives::KeyRoutingParameter* param) {
  NetworkWidgetClass::Initialize(param);
  SkinBin::Wrapper* w = Skin();
  const bool wireless = w && w->NetworkSetup.GetCurrentLanDevId() == 1;
  animation_.OnSetBitmap(
      Resources::LoadResource(wireless ? Bitmaps::L2WirelessInfoMenu : Bitmaps::L2NetworkSetupMenu));
  if (!w) return;
  w->StartAnimation();
  testing_ = w->NetworkSetup.LAN_TestConnection(kTestMask) == 0;
}

void NetworkConnectionTest::Refresh() {
  NetworkWidgetClass::Refresh();
  const kv::Rect b = Bounds();
  animation_.OnSetBounds({20, 50, 120, 150});
  info_.OnSetBounds({140, 50, b.W() - 20, b.H() - 10});
}

kv::Object* NetworkConnectionTest::HandleEvent(Core::Event* event) {
  if (auto* result = kv::Cast<Events::NetworkTestResultsEvent>(event)) {
    // Words counted from 0: the second is the link, the third the speed.
    if (result->Word2 == 0 && result->Word1 != 1) {
      NextState = WizardNext(KvClass(), M::Failed);
      Post(&WidgetClass::EnterNextStateSlot);
    } else if (result->Word2 >= 1) {
      NextState = WizardNext(KvClass(), M::Passed);
      OnSetTimeOutValue(kPauseTimeOut);
      if (IsOpen()) SetTimeout(true);
    }
    return this;
  }
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && (key->Code == KEY_EXIT || key->Code == KEY_EXIT_2)) {
    // Closing quits the test.
    Post(&WidgetClass::EnterPrevStateSlot);
    ResetTimeout();
    return this;
  }
  return NetworkWidgetClass::HandleEvent(event);
}

void NetworkConnectionTest::DoTimeout(kv::Object*) { EnterNextState(); }

void NetworkConnectionTest::Close() {
  const bool wasOpen = IsOpen();
  NetworkWidgetClass::Close();
  if (!wasOpen) return;
  SkinBin::Wrapper* w = Skin();
  if (!w) return;
  // Whatever way the state closes (back, OK, exit, standby, time-out), the
  // middleware test is quit once, so that its late result reaches no later
  // screen as its own.
  if (testing_) w->NetworkSetup.LAN_QuitTestConnection();
  testing_ = false;
  w->StopAnimation();
}

NetworkTestSuccess::NetworkTestSuccess() : NetworkTestSuccess(Strings::SID_NETWORK_CONNECTION_SUCCESS_MSG) {}

NetworkTestSuccess::NetworkTestSuccess(const kv::MultiTextId& info) {
  KeyRoutingForm::OnSetBounds(kNoticeBounds);
  WidgetOrigin = kNoticeOrigin;
  background_.OnSetColor(Colors::DirectMessageBg);
  OnSetInfo(Text(info));
  SetHelp({&Strings::SID_BACK}, 0x40000);
  SetTimeOut(kNoticeTimeOut, &NetworkWidgetClass::PrevAction);
  Route(*this, NetworkTestSuccess::StaticClass());
}

NetworkTestFail::NetworkTestFail() : NetworkTestSuccess(Strings::SID_NETWORK_CONNECTION_INCOMP_MSG) {}

}  // namespace Network
