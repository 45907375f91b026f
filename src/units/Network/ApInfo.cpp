#include "units/Network/ApInfo.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "strings/Network.h"
#include "strings/Strings.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/ListForm/AccessPointLists.h"
#include "units/Network/Security.h"
#include "units/Network/WizardStates.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionTypes.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Structures/WLAN_Connection.h"
#include "units/Structures/WLAN_Info.h"

KV_REGISTER_CLASS(Network::ApInfoItem);
KV_REGISTER_CLASS(Network::ApInfo);
KV_REGISTER_CLASS(Network::WInfo_ApInfo);

namespace Network {

namespace {

using namespace keys;

// A new record shows security method 4 (WPA2-PSK with AES).
constexpr uint8_t kNewRecordSecurity = 4;
constexpr int32_t kRowHeight = 25;
constexpr int32_t kConnected = 1;

kv::String Text(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }

kv::String Asterisks(int32_t n) { return kv::NewStringChar(kv::LoadString(KEY_MASK).At(0), n); }

void SetUpRows(Forms::Form& form, ApInfoItem* rows, int32_t n, std::initializer_list<const kv::MultiTextId*> captions) {
  int32_t i = 0;
  for (const kv::MultiTextId* caption : captions) {
    if (i >= n) break;
    rows[i].OnSetText(Text(*caption));
    form.Add(&rows[i]);
    ++i;
  }
}

// The rows one under the other, as wide as the form; rows not in the form
// (the key-id row) take no line.
void PlaceRows(Forms::Form& form, ApInfoItem* rows, int32_t n) {
  const int32_t w = form.Bounds().W();
  int32_t y = 0;
  for (int32_t i = 0; i < n; ++i) {
    if (rows[i].Owner() != &form) continue;
    rows[i].OnSetBounds({0, y, w, y + kRowHeight});
    y += ApInfo::kRowPitch;
  }
}

}  // namespace

kv::String SpeedText(int32_t mbps) {
  return kv::ConcatString(kv::ConcatString(kv::NewStringInt(mbps, 0), kv::LoadString(SPEED_SEPARATOR)),
                          Text(Strings::SID_MBPS));
}

// --- ApInfoItem ------------------------------------------------------------------------

ApInfoItem::ApInfoItem() {
  OnSetDefault_BackgroundColor(Colors::DefaultOptionBgColor);
  OnSetNonfocused_BackgroundColor(Colors::DefaultOptionBgColor);
  OnSetDisabled_BackgroundColor(Colors::DisableOptionBgColor);
  OnSetFocused_BackgroundColor(Colors::StandardOptionBgColor);
  HelpString = MenuSystem::HelpText({&Strings::SID_ENTER, &Strings::SID_BACK});
  HelpMask = MenuSystem::HELP_MASK_LINK;
}

kv::Object* ApInfoItem::HandleEvent(Core::Event* event) {
  const uint16_t code = DownCode(event);
  if (code == KEY_OK && !OnGetIsDisabled()) {
    Activate();
    kv::Signal(OnResetTimeout, this);
    return this;
  }
  if (code != KEY_NONE && (code == ToggleDecreaseKey || code == ToggleIncreaseKey)) {
    ToggleOption(code == ToggleIncreaseKey);
    kv::Signal(OnResetTimeout, this);
    return this;
  }
  return MenuSystem::SubMenuItemValue::HandleEvent(event);
}

void ApInfoItem::ToggleOption(bool forward) {
  if (OnGetIsDisabled() || OptionType == 0) return;
  OptionDatabase::OptionDataClass* record = MenuSystem::OptionRecord(OptionType);
  if (!record) return;
  record->Initialize();
  const int32_t n = record->Num;
  if (n < 1) return;
  // A value without a choice of its own (shown as unsupported) steps to an end.
  if (forward)
    Index = Index < 0 || Index >= n - 1 ? 0 : Index + 1;
  else
    Index = Index <= 0 || Index >= n ? n - 1 : Index - 1;
  record->Id = Index;
  record->Id2Value();
  Value = record->Value;
  RefValue.Set(Value);
  record->GetData();
  if (auto* courier = kv::Cast<OptionDatabase::OptionCourier>(record->Courier.get())) OnSetValueString(courier->Caption);
  kv::Signal(OnValueChanged, this);
}

void ApInfoItem::SetEnabledRow(bool enabled) {
  if (OnGetIsDisabled() == !enabled && OnGetEnabled() == enabled) return;
  OnSetIsDisabled(!enabled);
  OnSetEnabled(enabled);
  UpdateArrows();
}

int32_t ApInfoItem::GetCtrlState() {
  const int32_t state = MenuSystem::SubMenuItemValue::GetCtrlState();
  if (state != ::Button::kStateFocused || !Owner() || Owner()->IsFocused()) return state;
  return OnGetIsDisabled() ? ::Button::kStateDisabled : ::Button::kStateNonfocused;
}

void ApInfoItem::UpdateArrows() {
  const bool focused = GetCtrlState() == ::Button::kStateFocused;
  ShowArrows(focused && OptionType != 0 && !OnGetIsDisabled());
}

void ApInfoItem::HandleFocus(bool focused) {
  MenuSystem::SubMenuItemValue::HandleFocus(focused);
  UpdateArrows();
}

void ApInfoItem::RefreshCtrlState(int32_t state) {
  MenuSystem::SubMenuItemValue::RefreshCtrlState(state);
  UpdateArrows();
}

void ApInfoItem::Refresh() {
  MenuSystem::SubMenuItemValue::Refresh();
  UpdateArrows();
}

// --- ApInfo -------------------------------------------------------------------------------

ApInfo::ApInfo() {
  SetUpRows(*this, items_, kRows,
            {&Strings::SID_NETWORK_NAME, &Strings::SID_AUTHENTICATION, &Strings::SID_ENCRYPTION,
             &Strings::SID_SECURITY_KEY, &Strings::SID_KEY_ID});
  items_[kAuthentication].OptionType = OptionDatabase::OPTION_TYPE_AUTHENTICATION;
  items_[kAuthentication].RefValue = kv::MakeRef(this, &ApInfo::OnGetAuthentication, &ApInfo::OnSetAuthentication);
  items_[kEncryption].OptionType = OptionDatabase::OPTION_TYPE_ENCRYPTION;
  items_[kEncryption].RefValue = kv::MakeRef(this, &ApInfo::OnGetEncryption, &ApInfo::OnSetEncryption);
  items_[kKeyId].OptionType = OptionDatabase::OPTION_TYPE_KEY_ID;
  items_[kKeyId].RefValue = kv::MakeRef(this, &ApInfo::OnGetKeyID, &ApInfo::OnSetKeyID);
  const kv::String optionHelp = MenuSystem::HelpText({&Strings::SID_SELECT, &Strings::SID_BACK});
  for (ApInfoItem& row : items_) {
    row.OnResetTimeout = kv::MakeSlot(this, &ApInfo::ResetSlot);
    row.OnActivate = kv::MakeSlot(this, &ApInfo::DoActivate);
    row.OnValueChanged = kv::MakeSlot(this, &ApInfo::ValueChanged);
    if (row.OptionType != 0) {
      row.HelpString = optionHelp;
      row.HelpMask = MenuSystem::HELP_MASK_VALUE;
    }
  }
  items_[kName].HelpMask = 0x40200;
  items_[kKey].HelpMask = 0x40200;
  OnSetBounds({0, 0, 500, 4 * kRowPitch});
}

void ApInfo::Initialize(Primitives::KeyRoutingParameter* param) {
  // The key-id row is never shown.
  if (items_[kKeyId].Owner() == this) Remove(&items_[kKeyId]);
  KeyRoutingForm::Initialize(param);
  auto* info = param ? kv::Cast<Structures::WLAN_Info>(param->Param.get()) : nullptr;
  if (!info) {
    info = kv::New<Structures::WLAN_Info>();
    info->Security = kNewRecordSecurity;
  }
  LoadWlanInfo(info);
}

void ApInfo::Refresh() {
  KeyRoutingForm::Refresh();
  PlaceRows(*this, items_, kRows);
}

void ApInfo::LoadWlanInfo(Structures::WLAN_Info* info) {
  record_ = info;
  items_[kName].OnSetValueString(info ? info->SSID : kv::String());
  OnSetSecurityMethod(info ? info->Security : kNewRecordSecurity);
  LoadOptionItem(items_[kAuthentication]);
  LoadOptionItem(items_[kEncryption]);
  key_ = kv::String();
  ShowKeyRow();
}

void ApInfo::ShowKeyRow() {
  // A result screen shows the placeholder; a key typed here keeps one
  // asterisk per character, also while the form only shows (joining).
  const bool placeholder = disabled_ && key_.Empty();
  items_[kKey].OnSetValueString(placeholder ? kv::LoadString(SECURITY_KEY_PLACEHOLDER) : Asterisks(key_.Length()));
}

void ApInfo::LoadOptionItem(ApInfoItem& row) {
  if (row.OptionType == 0) return;
  OptionDatabase::OptionDataClass* record = MenuSystem::OptionRecord(row.OptionType);
  if (!record) return;
  record->Initialize();
  record->Value = row.RefValue.Get();
  record->Val2Id();
  row.Value = record->Value;
  row.Index = record->Id;
  row.ChoiceNum = record->Num;
  // A value past the selectable choices is a combination the set cannot use.
  if (record->Id < 0 || record->Id >= record->Num) {
    row.OnSetValueString(Text(Strings::SID_UNSUPPORTED));
  } else {
    record->GetData();
    if (auto* courier = kv::Cast<OptionDatabase::OptionCourier>(record->Courier.get()))
      row.OnSetValueString(courier->Caption);
  }
}

int32_t ApInfo::OnGetSecurityMethod() { return MethodOf(Authentication, Encryption); }

void ApInfo::OnSetSecurityMethod(int32_t method) {
  const SecurityPair pair = MethodPair(method);
  OnSetAuthentication(pair.authentication);
  OnSetEncryption(pair.encryption);
}

void ApInfo::OnSetEncryption(int32_t value) {
  Encryption = value;
  // No encryption, no key.
  items_[kKey].SetEnabledRow(value != 0);
  if (disabled_) items_[kKey].OnSetEnabled(false);
}

void ApInfo::OnSetAuthentication(int32_t value) {
  if (value != Authentication) {
    // Each kind brings its partner: open/shared WEP, the pass-phrase kinds AES.
    if (value == 0) OnSetEncryption(1);
    else if (value == 1 || value == 2) OnSetEncryption(3);
    if (value >= 0 && value <= 2) LoadOptionItem(items_[kEncryption]);
  }
  Authentication = value;
}

bool ApInfo::CheckKey(const kv::String& key) { return KeyFits(OnGetSecurityMethod(), key); }

int32_t ApInfo::UpdateLabel(const kv::String& text) {
  Core::View* focus = OnGetFocus();
  if (focus == &items_[kName]) {
    // Counted in bytes: the key pad gives 8-bit (Latin-1) text.
    if (text.Length() > kNameBytes) return kNameTooLong;
    items_[kName].OnSetValueString(text);
    return kTaken;
  }
  if (focus == &items_[kKey]) {
    if (!CheckKey(text)) return kKeyRefused;
    key_ = text;
    ShowKeyRow();
  }
  return kTaken;
}

Structures::WLAN_Connection* ApInfo::GetConnection() {
  auto* c = kv::New<Structures::WLAN_Connection>();
  c->SSID = items_[kName].OnGetValueString();
  c->Key = key_;
  c->KeyLength = static_cast<uint8_t>(std::min(key_.Length(), 255));
  c->SecurityMethod = static_cast<int8_t>(OnGetSecurityMethod());
  c->NoApRecord = record_ ? 0 : 1;
  return c;
}

void ApInfo::DoActivate(kv::Object* sender) {
  auto* owner = kv::Cast<AssistedSetup_ApInfo>(Owner());
  if (!owner || disabled_) return;
  if (sender == &items_[kName])
    owner->ShowKeyboard(kNamePadLength, items_[kName].OnGetValueString());
  else if (sender == &items_[kKey])
    owner->ShowKeyboard(kKeyPadLength, kv::String());
}

void ApInfo::SetDisabled(bool disabled) {
  disabled_ = disabled;
  // Read-only rows keep their look; only the key row greys out without encryption.
  for (ApInfoItem& row : items_) row.OnSetEnabled(!disabled);
  items_[kKey].SetEnabledRow(!disabled && Encryption != 0);
  if (disabled) items_[kKey].OnSetIsDisabled(Encryption == 0);
  if (disabled) OnSetFocus(nullptr);
  ShowKeyRow();
}

kv::Object* ApInfo::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && (key->Code == KEY_UP || key->Code == KEY_DOWN)) {
    // At the form's ends the key goes on to the owner.
    if (!(key->Code == KEY_DOWN ? SelectNext() : SelectPrev())) return nullptr;
    kv::Signal(OnResetTimeout, this);
    kv::Signal(OnFocus, this);
    return this;
  }
  return KeyRoutingForm::HandleEvent(event);
}

void ApInfo::HandleFocus(bool focused) {
  KeyRoutingForm::HandleFocus(focused);
  // The focused row looks focused only with the form.
  if (auto* row = kv::Cast<ApInfoItem>(OnGetFocus())) row->RefreshCtrlState(row->GetCtrlState());
  if (focused) kv::Signal(OnFocus, this);
}

void ApInfo::ResetSlot(kv::Object*) { kv::Signal(OnResetTimeout, this); }

void ApInfo::ValueChanged(kv::Object*) { kv::Signal(OnFocus, this); }

// --- WInfo_ApInfo -------------------------------------------------------------------------

WInfo_ApInfo::WInfo_ApInfo() {
  SetUpRows(*this, items_, kRows,
            {&Strings::SID_STATUS, &Strings::SID_SIGNAL, &Strings::SID_SPEED, &Strings::SID_MODE,
             &Strings::SID_AP_CHANNEL, &Strings::SID_NETWORK_NAME});
  for (ApInfoItem& row : items_) row.OnSetEnabled(false);
  OnSetBounds({0, 0, 500, kRows * ApInfo::kRowPitch});
}

void WInfo_ApInfo::Initialize(Primitives::KeyRoutingParameter* param) {
  KeyRoutingForm::Initialize(param);
  auto* info = param ? kv::Cast<Structures::WLAN_Info>(param->Param.get()) : nullptr;
  if (!info) {
    info = kv::New<Structures::WLAN_Info>();
    info->Security = kNewRecordSecurity;
  }
  Show(info);
}

void WInfo_ApInfo::Show(Structures::WLAN_Info* info) {
  if (!info) return;
  // Out-of-range levels and modes are stored back as the table's ends.
  if (info->Signal > 4) info->Signal = 4;
  if (info->Mode >= 16) info->Mode = 0;
  items_[kStatus].OnSetValueString(Text(info->State == kConnected ? Strings::SID_CONNECTED : Strings::SID_DISCONNECTED));
  items_[kSignal].OnSetValueString(ListForm::SignalWord(info->Signal));
  items_[kSpeed].OnSetValueString(SpeedText(info->Rate / 2));
  items_[kMode].OnSetValueString(ListForm::ProtocolName(info->Mode));
  items_[kChannel].OnSetValueString(kv::NewStringInt(info->Channel, 0));
  items_[kNetworkName].OnSetValueString(info->SSID);
}

void WInfo_ApInfo::Refresh() {
  KeyRoutingForm::Refresh();
  PlaceRows(*this, items_, kRows);
}

}  // namespace Network
