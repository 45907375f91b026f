#include "units/Network/AdvancedDialog.h"

#include <algorithm>
#include <string>
#include <vector>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/trace.h"
#include "strings/Network.h"
#include "strings/Strings.h"
#include "units/Agent/MessageAgent.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/Network/Address.h"
#include "units/Network/ConnectionTestDialog.h"
#include "units/Network/Dispatch.h"
#include "units/Network/Security.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/NonMenuSystem/OptionDialogs.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionTypes.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/OptionDatabase.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/Structures/WLAN_Connection.h"
#include "units/Structures/WLAN_Info.h"
#include "units/SubSystem/State.h"
#include "units/Views/Align.h"

KV_REGISTER_CLASS(Network::WirelessAdvancedDialog);

namespace Network {

using namespace keys;

namespace {

constexpr int32_t kWidth = 560;
constexpr int32_t kHeight = 340;
constexpr int32_t kRowTop = 56;
constexpr int32_t kRowStep = 36;
constexpr int32_t kLabelX = 30;
constexpr int32_t kButtonX = 250;
constexpr int32_t kButtonW = 280;
constexpr int32_t kRowH = 27;
constexpr uint8_t kUnknownSecurity = 4;


Agent::MessageAgent* Agent() { return kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent); }

kv::String WithSuffix(const kv::MultiTextId& id) {
  return kv::ConcatString(kv::GetVariantOfString(id), kv::GetVariantOfString(LABEL_SUFFIX));
}

kv::String Asterisks(int32_t n) { return kv::NewStringChar(kv::LoadString(KEY_MASK).At(0), n); }

}  // namespace

WirelessAdvancedDialog::WirelessAdvancedDialog() {
  OnSetBounds({0, 0, kWidth, kHeight});
  OnSetCaption(kv::GetVariantOfString(Strings::NetworkingMenuWirelessAdvance));
  SetUpLabel(labels_[0], kv::GetVariantOfString(ADVANCED_TITLE));
  SetUpLabel(labels_[1], WithSuffix(Strings::SID_AUTHENTICATION));
  SetUpLabel(labels_[2], WithSuffix(Strings::SID_ENCRYPTION));
  SetUpLabel(labels_[3], WithSuffix(Strings::SID_NETWORK_NAME));
  SetUpLabel(labels_[4], kv::GetVariantOfString(Strings::SID_PASSWORD));
  for (Views::Text& l : labels_) Add(&l);
  mode_.OptionType = OptionDatabase::OPTION_TYPE_CONNECT_MODE;
  auth_.OptionType = OptionDatabase::OPTION_TYPE_AUTHENTICATION;
  enc_.OptionType = OptionDatabase::OPTION_TYPE_ENCRYPTION;
  const kv::Class* keyPad = KV_LATE_CLASS("NonMenuSystem::KeyPad");
  name_.NextState = keyPad;
  password_.NextState = keyPad;
  for (OptionButton* b : {&mode_, &auth_, &enc_, &name_, &password_}) {
    b->OnSetTextAlignH(Views::ALIGN_CENTER);
    b->OnSetTextEllipsis(true);
    b->OnActivate = kv::MakeSlot(static_cast<NetworkConfirmDialog*>(this), &NetworkConfirmDialog::DoActivate);
    Add(b);
  }
  for (OptionButton* b : {&mode_, &auth_, &enc_}) b->OnSetText(kv::GetVariantOfString(Strings::SID_OK));
  OnYesSlot = kv::MakeSlot(this, &WirelessAdvancedDialog::ConnectAp);
  OnSetFocus(&mode_);
}

void WirelessAdvancedDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  NetworkConfirmDialog::Initialize(param);
  Agent()->Register(this);
  toNotice_ = false;
  if (SkinBin::Wrapper* w = Skin(); w && !w->NetworkSetup.CurrentAP) {
    auto* info = kv::New<Structures::WLAN_Info>();
    info->Security = kUnknownSecurity;
    w->NetworkSetup.CurrentAP = info;
  }
  for (OptionButton* b : {&mode_, &auth_, &enc_}) LoadOptionItem(*b);
  RestoreEntries();
  RefreshGrayout();
  OnSetFocus(&mode_);
}

void WirelessAdvancedDialog::RestoreEntries() {
  SkinBin::Wrapper* w = Skin();
  if (!w) return;
  Structures::WLAN_Info* ap = w->NetworkSetup.CurrentAP.get();
  SSID = ap ? ap->SSID : kv::String();
  name_.OnSetText(SSID);
  key_ = w->NetworkSetup.PendingKey;
  password_.OnSetText(Asterisks(key_.Length()));
}

void WirelessAdvancedDialog::Refresh() {
  NetworkConfirmDialog::Refresh();
  for (int32_t i = 0; i < 5; ++i) {
    const int32_t y = kRowTop + i * kRowStep;
    const kv::Rect l = labels_[i].Bounds();
    labels_[i].OnSetBounds(kv::Rect{0, 0, l.W(), l.H()}.MoveTo({kLabelX, y + (kRowH - l.H()) / 2}));
    RowButton(i).OnSetBounds({kButtonX, y, kButtonX + kButtonW, y + kRowH});
  }
}

OptionButton& WirelessAdvancedDialog::RowButton(int32_t row) {
  OptionButton* buttons[] = {&mode_, &auth_, &enc_, &name_, &password_};
  return *buttons[row];
}

void WirelessAdvancedDialog::Close() {
  const bool wasOpen = IsOpen();
  NetworkConfirmDialog::Close();
  if (!wasOpen) return;
  Agent()->UnRegister(this);
  // The key is kept only for the way back from an error notice.
  if (SkinBin::Wrapper* w = Skin(); w && !toNotice_) w->NetworkSetup.PendingKey = kv::String();
}

void WirelessAdvancedDialog::LoadOptionItem(OptionButton& button) {
  if (button.OptionType == 0) return;
  auto* db = kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB);
  OptionDatabase::OptionDataClass* record = db ? db->GetOptionData(button.OptionType) : nullptr;
  if (!record) return;
  record->Initialize();
  if (record->HasProperty()) record->Value = kv::OnGetInt32(record->RefValue);
  record->Val2Id();
  record->GetData();
  if (auto* courier = kv::Cast<OptionDatabase::OptionCourier>(record->Courier.get()))
    button.OnSetText(courier->Caption);
}

void WirelessAdvancedDialog::SetEnabled(int32_t row, bool enabled) {
  OptionButton& button = RowButton(row);
  // A grey row: its label in the disabled text colour as well, so that a
  // row without a value (the password) reads grey too.
  labels_[row].OnSetColor(enabled ? Colors::StandardTextColor : Colors::DisableTextColor);
  if (button.OnGetIsDisabled() == !enabled) return;
  button.OnSetIsDisabled(!enabled);
  button.OnSetEnabled(enabled);
}

void WirelessAdvancedDialog::RefreshGrayout() {
  SkinBin::Wrapper* w = Skin();
  if (!w) return;
  const bool byHand = w->OnGetConnectMode() == 2;
  SetEnabled(1, byHand);
  SetEnabled(2, byHand);
  SetEnabled(4, !(byHand && w->OnGetEncryption() == 0));
}

void WirelessAdvancedDialog::DoActivate(kv::Object* sender) {
  // OK runs the join alone: the dialog moves on itself once it knows where
  // (the warning, an error notice, or the status dialog of an accepted join).
  if (sender == &ok_) {
    ConnectAp(sender);
    return;
  }
  auto* button = kv::Cast<OptionButton>(sender);
  if (!button) {
    NetworkConfirmDialog::DoActivate(sender);
    return;
  }
  ResetTimeout();
  if (button->OnGetIsDisabled()) return;
  if (button == &name_) {
    OpenKeyPad(kNamePadLength, name_.OnGetText());
    return;
  }
  if (button == &password_) {
    OpenKeyPad(kKeyPadLength, kv::String());
    return;
  }
  NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  if (!s || !button->NextState) return;
  auto* state = kv::New<SubSystem::State>();
  state->Class = button->NextState;
  state->Param = SkinBin::UserRefInt::Make(button->OptionType, TransitionCode());
  if (auto* dialog = kv::Cast<NonMenuSystem::OptionDialog>(s->ChangeState(state))) {
    dialog->OnValueChanged = kv::MakeSlot(this, &WirelessAdvancedDialog::DoValueChange);
    StandOverLabels(dialog, *button);
  }
}

// A pop-up (a choice list, the key pad) stands over the labels, beside the
// values, so that the row it edits keeps its value in sight. Its height is
// the one nearest the edited row, below the caption, at which every text it
// stands on (the labels, the OK and Cancel buttons) is covered wholly or not
// at all: no fragment of a text stays readable beside it.
void WirelessAdvancedDialog::StandOverLabels(Core::View* popup, const Core::View& row) {
  if (!popup) return;
  const kv::Rect me = GetAbsoluteBounds();
  const kv::Rect size = popup->Bounds();
  const int32_t w = size.W(), h = size.H();
  const int32_t x = me.x1 + kLabelX - 12;
  // Below the caption, inside the dialog.
  const int32_t top = me.y1 + kRowTop - 4;
  std::vector<kv::Rect> texts;
  for (const Views::Text& l : labels_) texts.push_back(l.GetAbsoluteBounds());
  texts.push_back(OkButton().GetAbsoluteBounds());
  texts.push_back(CancelButton().GetAbsoluteBounds());
  auto clean = [&](int32_t y) {
    for (const kv::Rect& t : texts) {
      if (t.x2 <= x || t.x1 >= x + w) continue;
      const bool apart = t.y2 <= y || t.y1 >= y + h;
      const bool within = t.y1 >= y && t.y2 <= y + h;
      if (!apart && !within) return false;
    }
    return true;
  };
  const int32_t wanted = row.GetAbsoluteBounds().y1 + (kRowH - h) / 2;
  for (int32_t d = 0; d <= me.H(); ++d) {
    for (int32_t y : {wanted - d, wanted + d}) {
      if (y < top || y + h > me.y2 || !clean(y)) continue;
      popup->OnSetBounds({x, y, x + w, y + h});
      return;
    }
  }
}

void WirelessAdvancedDialog::OpenKeyPad(int32_t length, const kv::String& text) {
  NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  const kv::Class* keyPad = KV_LATE_CLASS("NonMenuSystem::KeyPad");
  if (!s || !keyPad) return;
  auto* param = SkinBin::UserRefInt::Make(length, TransitionCode());
  param->Flag = 1;
  param->String = text;
  auto* state = kv::New<SubSystem::State>();
  state->Class = keyPad;
  state->Param = param;
  StandOverLabels(s->ChangeState(state), length == kNamePadLength ? static_cast<Core::View&>(name_) : password_);
}

void WirelessAdvancedDialog::DoValueChange(kv::Object* sender) {
  if (auto* dialog = kv::Cast<NonMenuSystem::OptionDialog>(sender)) {
    for (OptionButton* b : {&mode_, &auth_, &enc_})
      if (b->OptionType == dialog->OptionType) LoadOptionItem(*b);
  }
  RefreshGrayout();
}

void WirelessAdvancedDialog::HandleMessage(Structures::Message* msg) {
  if (!msg || msg->Code != Constants::MSG_LABEL_CHANGE || !IsOpen()) return;
  auto* text = kv::Cast<Structures::RefString>(msg->ObjParam.get());
  if (!text) return;
  if (UpdateLabel(text->Value) == 1) kv::PostSignal(kv::MakeSlot(this, &WirelessAdvancedDialog::TakeFocusBack));
}

void WirelessAdvancedDialog::TakeFocusBack(kv::Object*) {
  if (!IsOpen()) return;
  if (Core::Group* owner = Owner()) owner->OnSetFocus(this);
  if (NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem()) s->ClearHelpBar();
}

int32_t WirelessAdvancedDialog::UpdateLabel(const kv::String& text) {
  SkinBin::Wrapper* w = Skin();
  if (OnGetFocus() == &name_) {
    // Counted in bytes: the key pad gives 8-bit (Latin-1) text.
    if (text.Length() > kNameBytes) {
      MoveTo("Network::AssistedSetupInvalidName");
      return 2;
    }
    SSID = text;
    name_.OnSetText(text);
    if (w && w->NetworkSetup.CurrentAP) w->NetworkSetup.CurrentAP->SSID = text;
    return 1;
  }
  if (OnGetFocus() == &password_) {
    if (!CheckKey(text)) {
      MoveTo(GetSecurityMethod() == kMethodWep ? "Network::AssistedSetupInvalidWEPKey"
                                               : "Network::AssistedSetupInvalidWPAKey");
      return 3;
    }
    key_ = text;
    if (w) w->NetworkSetup.PendingKey = text;
    password_.OnSetText(Asterisks(text.Length()));
  }
  return 1;
}

int8_t WirelessAdvancedDialog::GetSecurityMethod() const {
  SkinBin::Wrapper* w = Skin();
  if (!w) return kMethodOther;
  const int32_t mode = w->OnGetConnectMode();
  if (mode == 1) return kMethodFound;
  if (mode != 2) return kMethodOther;
  return static_cast<int8_t>(MethodOf(w->OnGetAuthentication(), w->OnGetEncryption()));
}

bool WirelessAdvancedDialog::CheckKey(const kv::String& key) const { return KeyFits(GetSecurityMethod(), key); }

Structures::WLAN_Connection* WirelessAdvancedDialog::GetConnection() const {
  auto* c = kv::New<Structures::WLAN_Connection>();
  c->SSID = name_.OnGetText();
  c->Key = key_;
  c->KeyLength = static_cast<uint8_t>(std::min(key_.Length(), 255));
  c->SecurityMethod = GetSecurityMethod();
  SkinBin::Wrapper* w = Skin();
  c->ConnectMode = w && w->OnGetConnectMode() == 1 ? 1 : 0;
  return c;
}

void WirelessAdvancedDialog::ConnectAp(kv::Object* sender) {
  ResetTimeout();
  SkinBin::Wrapper* w = Skin();
  if (!w) return;
  Structures::WLAN_Connection* c = GetConnection();
  if (c->SecurityMethod == kMethodOther) {
    MoveTo("Network::AssistedSetupSecureError");
    return;
  }
  if (Structures::WLAN_Info* ap = w->NetworkSetup.CurrentAP.get()) {
    ap->SSID = c->SSID;
    ap->Security = static_cast<uint8_t>(c->SecurityMethod);
  }
  const kv::Class* warning = KV_LATE_CLASS("Network::CheckNoEncryption");
  if (c->SecurityMethod == kMethodOpen && (!warning || kv::ClassOf(sender) != warning)) {
    NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
    if (!warning || !s) {
      kv::Log("Network::WirelessAdvancedDialog: Network::CheckNoEncryption is not built in this system");
      return;
    }
    OnSetVisible(false);
    auto* state = kv::New<SubSystem::State>();
    state->Class = warning;
    state->PrevState = KvClass();
    state->Param = this;
    s->ChangeState(state);
    return;
  }
  if (!w->NetworkSetup.WLAN_JoinNetwork(c)) {
    MoveTo("Network::AssistedSetupNoApFound");
    return;
  }
  // Accepted: the connection status dialog waits for the outcome.
  NextState = &NetworkStatusDialog::StaticClass();
  Post(&WidgetClass::EnterNextStateSlot);
}

void WirelessAdvancedDialog::WarningAnswered(kv::Object* warning, bool join) {
  if (!IsOpen()) return;
  OnSetVisible(true);
  if (Core::Group* owner = Owner()) owner->OnSetFocus(this);
  if (join) ConnectAp(warning);
}

void WirelessAdvancedDialog::MoveTo(const char* state) {
  const kv::Class* cls = kv::FindClass(state);
  if (!cls) {
    kv::Log(std::string("Network::WirelessAdvancedDialog: ") + state + " is not built in this system");
    return;
  }
  NextState = cls;
  toNotice_ = true;
  Post(&WidgetClass::EnterNextStateSlot);
}

kv::String WirelessAdvancedDialog::NextStateText() const {
  // The error notices show this dialog's caption and bring the viewer back.
  return NextState == &NetworkStatusDialog::StaticClass() ? SSID : Caption;
}

Forms::Ctrl* WirelessAdvancedDialog::SelectUpper() {
  if (OnGetFocus() != &ok_) return NetworkConfirmDialog::SelectUpper();
  OptionButton* to = password_.OnGetIsDisabled() ? &name_ : &password_;
  OnSetFocus(to);
  return to;
}

kv::Object* WirelessAdvancedDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && key->Code == KEY_BACK)
    if (SkinBin::Wrapper* w = Skin()) w->NetworkSetup.KeepResult = 1;
  return NetworkConfirmDialog::HandleEvent(event);
}

void WirelessAdvancedDialog::EnterPrevState() {
  // Back at the scan list the held result is shown again.
  if (SkinBin::Wrapper* w = Skin()) w->NetworkSetup.KeepResult = 1;
  NetworkConfirmDialog::EnterPrevState();
}

}  // namespace Network
