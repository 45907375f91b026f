#include "units/Network/WizardStates.h"

#include <cstring>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "strings/MenuSystemPages.h"
#include "strings/Network.h"
#include "strings/Strings.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Events/NetworkTestResultsEvent.h"
#include "units/Events/WlanConnectCompleteEvent.h"
#include "units/Events/WlanScanCompleteEvent.h"
#include "units/Fonts/Fonts.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Constants/Constants.h"
#include "units/Network/Security.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/Structures/WLAN_Connection.h"
#include "units/SubSystem/State.h"
#include "units/MenuSystem/ProductTreeBitmaps.h"
#include "units/Network/AdvancedDialog.h"
#include "units/Network/Address.h"
#include "units/Network/ConfirmDialogs.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Views/Align.h"

KV_REGISTER_CLASS(Network::AssistedSetup_ApList);
KV_REGISTER_CLASS(Network::WirelessInformation_ApList);
KV_REGISTER_CLASS(Network::EasySetupPIN_ApList);
KV_REGISTER_CLASS(Network::AssistedSetup_ApInfo);
KV_REGISTER_CLASS(Network::ManualSetup_ApInfo);
KV_REGISTER_CLASS(Network::WirelessInformation_ApInfo);
KV_REGISTER_CLASS(Network::EasySetupPBC);
KV_REGISTER_CLASS(Network::EasySetupPIN);
KV_REGISTER_CLASS(Network::EasySetup_ApInfo);
KV_REGISTER_CLASS(Network::EasySetup_PINApInfo);
KV_REGISTER_CLASS(Network::AssistedSetup_ApConnected);
KV_REGISTER_CLASS(Network::ManualSetup_ApConnected);
KV_REGISTER_CLASS(Network::CheckNoEncryption);
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
constexpr const char* kAdvancedDialog = "Network::WirelessAdvancedDialog";

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
    {kSecureError, M::Advanced, kAdvancedDialog},
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

using namespace keys;

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

Agent::MessageAgent* Agent() { return kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent); }

// The access point chosen in the list (null when the index is past the result).
Structures::WLAN_Info* SelectedAp() {
  SkinBin::NetworkSetup* net = Net();
  if (!net || net->SelectedIndex < 0 || net->SelectedIndex >= net->GetAccessPointNum()) return nullptr;
  return net->GetAccessPoint(net->SelectedIndex);
}

// An embedded form initialised inside its state, showing `object`.
void StartForm(Primitives::KeyRoutingForm& form, kv::Object* owner, kv::Object* object) {
  auto* routing = kv::New<Primitives::KeyRoutingParameter>();
  routing->Owner = owner;
  routing->Param = object;
  form.Initialize(routing);
}

// Where the access-point forms stand in their states.
constexpr int32_t kFormX = 27;
constexpr int32_t kFormY = 84;
constexpr int32_t kFormWidth = 500;
constexpr int32_t kDoneX = 130;
constexpr int32_t kDoneWidth = 120;
constexpr int32_t kDoneHeight = 27;

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

// --- Access-point entry ------------------------------------------------------------------

AssistedSetup_ApInfo::AssistedSetup_ApInfo()
    : AssistedSetup_ApInfo(Strings::SID_ASSISTED_SETUP, Strings::SID_ENTER_SECURITY_KEY) {}

AssistedSetup_ApInfo::AssistedSetup_ApInfo(const kv::MultiTextId& caption, const kv::MultiTextId& info)
    : infoId_(&info) {
  IsModal = 0;
  OnSetCaption(Text(caption));
  OnSetInfo(Text(info));
  SetHelp({&Strings::SID_ENTER, &Strings::SID_BACK}, 0x40200);
  SetTimeOut(kIdleTimeOut, &NetworkWidgetClass::ClearAllAction);
  form_.OnResetTimeout = kv::MakeSlot(static_cast<KeyRoutingForm*>(this), &KeyRoutingForm::ResetTimeout);
  form_.OnFocus = kv::MakeSlot(this, &AssistedSetup_ApInfo::UpdateHelp);
  Add(&form_);
  done_.OnSetText(Text(Strings::SID_DONE));
  done_.OnSetTextAlignH(Views::ALIGN_CENTER);
  done_.OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonNonfocus));
  done_.OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonFocus));
  done_.OnActivate = kv::MakeSlot(this, &AssistedSetup_ApInfo::Activated);
  done_.OnFocus = kv::MakeSlot(this, &AssistedSetup_ApInfo::UpdateHelp);
  Add(&done_);
  OnSetFocus(&form_);
  Route(*this, StaticClass());
}

void AssistedSetup_ApInfo::Begin(Primitives::KeyRoutingParameter* param, Structures::WLAN_Info* ap) {
  NetworkWidgetClass::Initialize(param);
  Agent()->Register(this);
  keyPad_ = false;
  ConfigScan(false);
  StartForm(form_, this, ap);
  form_.SetDisabled(false);
  ShowPage();
}

void AssistedSetup_ApInfo::Initialize(Primitives::KeyRoutingParameter* param) {
  Begin(param, SelectedAp());
  // A secured network wants its key; an open one only Done.
  ApInfoItem& key = form_.Item(ApInfo::kKey);
  if (key.CanFocus()) {
    form_.OnSetFocus(&key);
    OnSetFocus(&form_);
  } else {
    OnSetFocus(&done_);
  }
  UpdateHelp();
}

void AssistedSetup_ApInfo::Refresh() {
  NetworkWidgetClass::Refresh();
  const kv::Rect b = Bounds();
  info_.OnSetBounds({20, 40, b.W() - 20, kFormY - 4});
  const int32_t rows = form_.Item(ApInfo::kKeyId).Owner() == &form_ ? ApInfo::kRows : ApInfo::kRows - 1;
  const int32_t formBottom = kFormY + rows * ApInfo::kRowPitch;
  form_.OnSetBounds({kFormX, kFormY, kFormX + kFormWidth, formBottom});
  form_.Refresh();
  done_.OnSetBounds({kDoneX, formBottom + 12, kDoneX + kDoneWidth, formBottom + 12 + kDoneHeight});
}

void AssistedSetup_ApInfo::ConfigScan(bool on) {
  if (on) {
    OnSetShowWaiting(1);
    OnSetTimeOutValue(kJoinTimeOut);
    OnTimeOut = kv::MakeSlot(this, &AssistedSetup_ApInfo::ScanTimeout);
  } else {
    OnSetShowWaiting(0);
    OnSetTimeOutValue(kIdleTimeOut);
    OnTimeOut = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::ClearAllSlot);
  }
  if (IsOpen()) SetTimeout(true);
}

void AssistedSetup_ApInfo::ScanTimeout(kv::Object*) {
  // No answer to the join within 36 s.
  ConfigScan(false);
  MoveOn(M::NotFound);
}

void AssistedSetup_ApInfo::StopOperation() {
  if (SkinBin::NetworkSetup* net = Net()) net->WLAN_QuitNetwork();
}

void AssistedSetup_ApInfo::MoveOn(WizardMove move) {
  NextState = WizardNext(KvClass(), move);
  Post(&WidgetClass::EnterNextStateSlot);
}

void AssistedSetup_ApInfo::KeepEntries() {
  SkinBin::NetworkSetup* net = Net();
  Structures::WLAN_Info* ap = net ? net->CurrentAP.get() : nullptr;
  if (!ap) return;
  ap->SSID = form_.Item(ApInfo::kName).OnGetValueString();
  ap->Security = static_cast<uint8_t>(form_.OnGetSecurityMethod());
}

void AssistedSetup_ApInfo::Activated(kv::Object* sender) {
  if (sender == &done_) ConnectAp(sender);
}

void AssistedSetup_ApInfo::ConnectAp(kv::Object* sender) {
  if (ShowWaiting == 1) return;
  ResetTimeout();
  Structures::WLAN_Connection* c = form_.GetConnection();
  const kv::Class* question = &CheckNoEncryption::StaticClass();
  SkinBin::NetworkSetup* net = Net();
  if (c->SecurityMethod == kMethodOther) {
    MoveOn(M::Unsupported);
  } else if (c->SecurityMethod == kMethodOpen && kv::ClassOf(sender) != question) {
    AskNoEncryption();
  } else if (net && net->WLAN_JoinNetwork(c)) {
    // Accepted: the form only shows while the set answers.
    form_.SetDisabled(true);
    OnSetFocus(&done_);
    ConfigScan(true);
  } else {
    MoveOn(M::Refused);
  }
  KeepEntries();
}

void AssistedSetup_ApInfo::AskNoEncryption() {
  OnSetVisible(false);
  ChangeTo(&CheckNoEncryption::StaticClass(), this);
}

void AssistedSetup_ApInfo::ShowKeyboard(int32_t length, const kv::String& text) {
  ::NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  const kv::Class* keyPad = KV_LATE_CLASS("NonMenuSystem::KeyPad");
  if (!s || !keyPad) return;
  auto* param = SkinBin::UserRefInt::Make(length, TransitionCode());
  param->Flag = 1;
  param->String = text;
  keyPad_ = true;
  padRow_ = form_.OnGetFocus();
  const bool onKey = padRow_.get() == &form_.Item(ApInfo::kKey);
  form_.OnSetVisible(false);
  done_.OnSetVisible(false);
  OnSetInfo(onKey ? KeyEntryPrompt(form_.Item(ApInfo::kName).OnGetValueString()) : Text(Strings::SID_NETWORK_NAME));
  Primitives::KeyRoutingForm* pad = ChangeTo(keyPad, param);
  if (!pad) return;
  // Where the form was, under the prompt, centred on the page.
  const kv::Rect b = Bounds();
  const kv::Rect p = pad->Bounds();
  const int32_t x = b.x1 + (b.W() - p.W()) / 2;
  const int32_t y = b.y1 + kFormY;
  pad->OnSetBounds({x, y, x + p.W(), y + p.H()});
}

void AssistedSetup_ApInfo::ShowPage() {
  form_.OnSetVisible(true);
  done_.OnSetVisible(true);
  // The row the key pad was opened for has the focus again.
  if (padRow_) {
    form_.OnSetFocus(padRow_.get());
    OnSetFocus(&form_);
    padRow_ = nullptr;
  }
  ShowInfo();
}

void AssistedSetup_ApInfo::ShowInfo() {
  // Without encryption there is no key to ask for: the page asks for the
  // settings, as the manual entry's page always does.
  OnSetInfo(Text(form_.OnGetEncryption() == 0 ? Strings::SID_CONFIGURE_SETTINGS : *infoId_));
}

void AssistedSetup_ApInfo::HandleMessage(Structures::Message* msg) {
  if (!msg || msg->Code != Constants::MSG_LABEL_CHANGE || !keyPad_ || !IsOpen()) return;
  keyPad_ = false;
  ShowPage();
  UndoCancel();
  auto* text = kv::Cast<Structures::RefString>(msg->ObjParam.get());
  if (!text) return;
  const bool onKey = form_.OnGetFocus() == &form_.Item(ApInfo::kKey);
  switch (form_.UpdateLabel(text->Value)) {
    case ApInfo::kNameTooLong:
      KeepEntries();
      MoveOn(M::BadName);
      break;
    case ApInfo::kKeyRefused:
      KeepEntries();
      MoveOn(form_.OnGetSecurityMethod() == kMethodWep ? M::BadWepKey : M::BadWpaKey);
      break;
    default:
      // A key taken: Done is next.
      if (onKey) OnSetFocus(&done_);
      UpdateHelp();
      break;
  }
}

void AssistedSetup_ApInfo::UpdateHelp(kv::Object*) {
  if (OnGetFocus() == &done_) {
    SetHelp({&Strings::SID_ENTER, &Strings::SID_BACK}, 0x40200);
  } else if (auto* row = kv::Cast<ApInfoItem>(form_.OnGetFocus())) {
    HelpString = row->HelpString;
    HelpMask = row->HelpMask;
  }
  // The key pad's prompt and keys stay while it is up. (Also called when a
  // row's value changed: the encryption decides the explanation.)
  if (keyPad_) return;
  ShowInfo();
  if (IsOpen() && IsVisible()) ShowHelp();
}

kv::Object* AssistedSetup_ApInfo::HandleEvent(Core::Event* event) {
  if (auto* done = kv::Cast<Events::WlanConnectCompleteEvent>(event)) {
    // Only the join this state started is answered here.
    if (ShowWaiting != 1) return this;
    ConfigScan(false);
    MoveOn(done->Status == kConnected ? M::Connected : done->Status == 0 ? M::NotFound : M::Mismatch);
    return this;
  }
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && (key->Code == KEY_UP || key->Code == KEY_DOWN || key->Code == KEY_OK)) {
    // Up and down past the form's ends reach Done, and from Done the form's
    // nearer end; OK acts on the focused control only.
    if (key->Code != KEY_OK) {
      if (OnGetFocus() == &done_) {
        if (key->Code == KEY_DOWN ? form_.SelectFirst() : form_.SelectLast()) OnSetFocus(&form_);
      } else if (done_.CanFocus()) {
        OnSetFocus(&done_);
      }
      UpdateHelp();
    }
    ResetTimeout();
    return this;
  }
  return NetworkWidgetClass::HandleEvent(event);
}

void AssistedSetup_ApInfo::Close() {
  const bool wasOpen = IsOpen();
  NetworkWidgetClass::Close();
  if (wasOpen) Agent()->UnRegister(this);
}

void AssistedSetup_ApInfo::DoCleanup() {
  // Back at the list the held result is shown again.
  if (SkinBin::NetworkSetup* net = Net()) net->KeepResult = 1;
}

void AssistedSetup_ApInfo::EnterPrevState() {
  DoCleanup();
  NetworkWidgetClass::EnterPrevState();
}

ManualSetup_ApInfo::ManualSetup_ApInfo() : AssistedSetup_ApInfo(Strings::SID_MANUAL_SETUP, Strings::SID_CONFIGURE_SETTINGS) {
  Route(*this, StaticClass());
}

void ManualSetup_ApInfo::Initialize(Primitives::KeyRoutingParameter* param) {
  SkinBin::NetworkSetup* net = Net();
  auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr;
  // Back from a notice or the result of this path (they hand on this
  // caption): the access point being set up as it was typed.
  const bool back = ref && ref->String == Caption && net && net->CurrentAP;
  Structures::WLAN_Info* ap = back ? net->CurrentAP.get() : nullptr;
  if (!ap) {
    ap = kv::New<Structures::WLAN_Info>();
    ap->Security = 4;
    if (net) net->CurrentAP = ap;
  }
  Begin(param, ap);
  form_.OnSetFocus(&form_.Item(ApInfo::kName));
  OnSetFocus(&form_);
  UpdateHelp();
}

// --- Wireless information of one access point ---------------------------------------------

WirelessInformation_ApInfo::WirelessInformation_ApInfo() {
  IsModal = 0;
  OnSetCaption(Text(Strings::SID_WIRELESS_INFORMATION));
  SetHelp({&Strings::SID_BACK}, 0x40000);
  Add(&form_);
  Route(*this, StaticClass());
}

void WirelessInformation_ApInfo::Initialize(Primitives::KeyRoutingParameter* param) {
  NetworkWidgetClass::Initialize(param);
  StartForm(form_, this, SelectedAp());
}

void WirelessInformation_ApInfo::Refresh() {
  NetworkWidgetClass::Refresh();
  form_.OnSetBounds({kFormX, 50, kFormX + kFormWidth, 50 + WInfo_ApInfo::kRows * ApInfo::kRowPitch});
  form_.Refresh();
}

kv::Object* WirelessInformation_ApInfo::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && key->Code == KEY_OK) {
    ResetTimeout();
    return this;
  }
  return NetworkWidgetClass::HandleEvent(event);
}

void WirelessInformation_ApInfo::EnterPrevState() {
  if (SkinBin::NetworkSetup* net = Net()) net->KeepResult = 1;
  NetworkWidgetClass::EnterPrevState();
}

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
  Add(&form_);
  Route(*this, StaticClass());
}

void EasySetup_ApInfo::Initialize(Primitives::KeyRoutingParameter* param) {
  NetworkWidgetClass::Initialize(param);
  SkinBin::NetworkSetup* net = Net();
  link_ = net ? net->WLAN_GetStatus() : nullptr;
  StartForm(form_, this, link_.get());
  form_.SetDisabled(true);
}

void EasySetup_ApInfo::Refresh() {
  NetworkWidgetClass::Refresh();
  const kv::Rect b = Bounds();
  info_.OnSetBounds({20, 40, b.W() - 20, kFormY - 4});
  form_.OnSetBounds({kFormX, kFormY, kFormX + kFormWidth, kFormY + (ApInfo::kRows - 1) * ApInfo::kRowPitch});
  form_.Refresh();
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

// --- Open-network confirmation ----------------------------------------------------------

CheckNoEncryption::CheckNoEncryption() {
  OnSetInfo(Text(Strings::SID_WIFI_NO_ENCRYPTION_CONFIRM));
  SetHelp({&Strings::SID_EDIT, &Strings::SID_ENTER, &Strings::SID_BACK}, 0x40204);
}

void CheckNoEncryption::Initialize(Primitives::KeyRoutingParameter* param) {
  YesNoState::Initialize(param);
  kv::Object* caller = param ? param->Param.get() : nullptr;
  caller_ = caller;
  if (auto* dialog = kv::Cast<WirelessAdvancedDialog>(caller)) OnSetCaption(dialog->Caption);
  if (auto* state = kv::Cast<NetworkWidgetClass>(caller)) OnSetCaption(state->Caption);
}

void CheckNoEncryption::Answer(bool join) {
  Close();
  kv::Persistent<kv::Object> caller{caller_.get()};
  caller_ = nullptr;
  // The advanced dialog joins (or shows itself again) on the answer; an
  // entry state shows again and joins without asking a second time.
  if (auto* dialog = kv::Cast<WirelessAdvancedDialog>(caller.get())) dialog->WarningAnswered(this, join);
  if (auto* entry = kv::Cast<AssistedSetup_ApInfo>(caller.get()); entry && entry->IsOpen()) {
    entry->UndoCancel();
    if (join) entry->ConnectAp(this);
  }
}

void CheckNoEncryption::EnterNextState() { Answer(true); }
void CheckNoEncryption::EnterPrevState() { Answer(false); }

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
  // Under the manual caption both ways lead to the manual entry, under the
  // advanced dialog's back to it (it keeps its entries); the two captions
  // differ.
  const bool manual = ArrivedCaption == Text(Strings::SID_MANUAL_SETUP);
  const bool advanced = ArrivedCaption == Text(Strings::NetworkingMenuWirelessAdvance);
  NextState = WizardNext(KvClass(), manual ? M::Manual : advanced ? M::Advanced : M::Next);
  PrevState = WizardNext(KvClass(), manual ? M::Manual : advanced ? M::Advanced : M::Back);
}

void AssistedSetupSecureError::EnterPrevState() {
  NextState = PrevState;
  EnterNextState();
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
  if (key && key->Down && (key->Code == KEY_EXIT || key->Code == KEY_EXIT_ALT)) {
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
