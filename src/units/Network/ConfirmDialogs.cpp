#include "units/Network/ConfirmDialogs.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "strings/Network.h"
#include "strings/Strings.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Button/ButtonClass.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/Network/Address.h"
#include "units/Network/ConnectionTestDialog.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/Structures/WLAN_Connection.h"
#include "units/Structures/WPS_Connection.h"
#include "units/SubSystem/State.h"
#include "units/Views/Align.h"

KV_REGISTER_CLASS(Network::NetworkConfirmDialog);
KV_REGISTER_CLASS(Network::PinEnterDialog);
KV_REGISTER_CLASS(Network::WPSGeneratePinDialog);
KV_REGISTER_CLASS(Network::WPSPBCDialog);

namespace Network {

namespace {

using namespace keys;

constexpr uint32_t kWinId = 0x2000005;
constexpr int32_t kButtonGap = 20;
constexpr int32_t kWpsPinMode = 1;
constexpr int32_t kPbcHeight = 330;
// The screen, and the gap between the key entry dialog and the key pad.
constexpr int32_t kScreenW = 960;
constexpr int32_t kScreenH = 540;
constexpr int32_t kPadGap = 4;

void SetUpButton(SkinBin::Button& b, const kv::String& text) {
  b.OnSetText(text);
  b.OnSetTextAlignH(Views::ALIGN_CENTER);
  b.OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonNonfocus));
  b.OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonFocus));
}

Agent::MessageAgent* Agent() { return kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent); }

}  // namespace

kv::String KeyEntryPrompt(const kv::String& network) {
  return kv::ConcatString(kv::ConcatString(kv::GetVariantOfString(KEY_ENTRY_TEXT), network),
                          kv::LoadString(ADDRESS_SEPARATOR));
}

// --- NetworkConfirmDialog ------------------------------------------------------------------

NetworkConfirmDialog::NetworkConfirmDialog() {
  WinID = kWinId;
  NextState = &NetworkStatusDialog::StaticClass();
  IsShortcut = true;
  OnSetCaption(kv::GetVariantOfString(CONFIRM_CAPTION));
  OnSetItemWidth(110);
  OnSetItemHeight(27);
  SetUpButton(ok_, kv::GetVariantOfString(Strings::SID_OK));
  SetUpButton(cancel_, kv::GetVariantOfString(Strings::SID_CANCEL));
  ok_.OnActivate = kv::MakeSlot(this, &NetworkConfirmDialog::DoActivate);
  cancel_.OnActivate = kv::MakeSlot(this, &NetworkConfirmDialog::DoActivate);
  OnNoSlot = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::EnterPrevStateSlot);
  Add(&ok_);
  Add(&cancel_);
  OnSetFocus(&cancel_);
}

void NetworkConfirmDialog::HandleFocus(bool focused) {
  NonMenuSystem::ConfirmOptionDialog::HandleFocus(focused);
  if (auto* b = kv::Cast<::Button::ButtonClass>(OnGetFocus()))
    b->RefreshCtrlState(::Button::StateShown(*b, b->GetCtrlState(), focused));
}

void NetworkConfirmDialog::Refresh() {
  ConfirmOptionDialog::Refresh();
  const int32_t x = (Bounds().W() - 2 * ItemWidth - kButtonGap) / 2;
  const int32_t y = Bounds().H() - ItemHeight - FrameWidth - 25;
  ok_.OnSetBounds({x, y, x + ItemWidth, y + ItemHeight});
  const int32_t nx = x + ItemWidth + kButtonGap;
  cancel_.OnSetBounds({nx, y, nx + ItemWidth, y + ItemHeight});
}

void NetworkConfirmDialog::DoActivate(kv::Object* sender) {
  if (sender == &cancel_)
    kv::Signal(OnNoSlot, this);
  else if (sender == &ok_)
    DoYesMethod();
}

void NetworkConfirmDialog::DoYesMethod() {
  kv::Signal(OnYesSlot, this);
  Post(&WidgetClass::EnterNextStateSlot);
}

void NetworkConfirmDialog::EnterNextState() {
  Close();
  NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  if (!NextState || !s) return;
  auto* param = kv::New<SkinBin::UserRefInt>();
  param->Code = TransitionCode();
  param->String = NextStateText();
  auto* state = kv::New<SubSystem::State>();
  state->Class = NextState;
  state->PrevState = KvClass();
  state->Param = param;
  s->ChangeState(state);
}

void NetworkConfirmDialog::SetWarningGrowing(const kv::String& text, int32_t room) {
  WarningInfo = text;
  warning_.OnSetAutoSize(true);
  const int32_t before = warning_.Bounds().H();
  warning_.OnSetString(text);
  const int32_t after = warning_.Bounds().H();
  tallest_ = std::max({tallest_, before, after});
  if (before == after) return;
  const int32_t height = 2 * FrameWidth + tallest_ + room + (HasCaption ? 30 : 0);
  const kv::Rect b = Bounds();
  OnSetBounds({b.x1, b.y1, b.x2, b.y1 + height});
}

kv::Object* NetworkConfirmDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return ConfirmOptionDialog::HandleEvent(event);
  switch (key->Code) {
    case KEY_DOWN:
      SelectLower();
      break;
    case KEY_UP:
      SelectUpper();
      break;
    case KEY_RIGHT:
      if (OnGetFocus() == &ok_) OnSetFocus(&cancel_);
      break;
    case KEY_LEFT:
      if (OnGetFocus() == &cancel_) OnSetFocus(&ok_);
      break;
    default:
      return ConfirmOptionDialog::HandleEvent(event);
  }
  ResetTimeout();
  return this;
}

// --- PinEnterDialog ---------------------------------------------------------------------

// --- ValueRow ----------------------------------------------------------------------------

ValueRow::ValueRow(NetworkConfirmDialog& dialog, const kv::String& buttonText, const kv::String& labelText) {
  SetUpButton(button, buttonText);
  border.OnSetWidth(4);
  border.OnSetColor(Colors::DialogBorder);
  value.OnSetFont(Resources::LoadResource(Fonts::EPGListFont));
  value.OnSetColor(Colors::StandardTextColor);
  value.OnSetAlignV(1);
  value.OnSetEllipsis(true);
  label.OnSetFont(Resources::LoadResource(Fonts::EPGListFont));
  label.OnSetColor(Colors::StandardTextColor);
  label.OnSetAlignV(1);
  label.OnSetAutoSize(true);
  label.OnSetString(labelText);
  dialog.Add(&label);
  dialog.Add(&border);
  dialog.Add(&value);
  dialog.Add(&button);
}

void ValueRow::Place(const NetworkConfirmDialog& dialog, int32_t y) {
  const int32_t left = dialog.FrameWidth + 20;
  const kv::Rect l = label.Bounds();
  label.OnSetBounds(kv::Rect{0, 0, l.W(), l.H()}.MoveTo({left, y - 50}));
  const int32_t valueX = left + 70;
  const int32_t buttonX = dialog.Bounds().W() - dialog.FrameWidth - 20 - 110;
  button.OnSetBounds({buttonX, y - 50, buttonX + 110, y - 23});
  border.OnSetBounds({valueX - 4, y - 56, buttonX - 10, y - 17});
  value.OnSetBounds({valueX + 4, y - 52, buttonX - 18, y - 21});
}

// --- PinEnterDialog ---------------------------------------------------------------------

PinEnterDialog::PinEnterDialog()
    : row_(*this, kv::GetVariantOfString(KEYPAD_BUTTON), kv::GetVariantOfString(KEY_LABEL)) {
  OnSetBounds({0, 0, 440, 300});
  OnSetCaption(kv::GetVariantOfString(PIN_CAPTION));
  row_.button.OnActivate = kv::MakeSlot(this, &PinEnterDialog::ShowKeyboard);
  OnYesSlot = kv::MakeSlot(this, &PinEnterDialog::ConnectAp);
  OnSetFocus(&row_.button);
}

void PinEnterDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  NetworkConfirmDialog::Initialize(param);
  Agent()->Register(this);
  entered_ = kv::String();
  row_.value.OnSetString(kv::String());
  if (auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr) {
    Mode = ref->Value;
    SSID = ref->String;
  }
  if (Mode == kWpsPinMode) {
    OnSetCaption(kv::GetVariantOfString(PIN_CAPTION));
    OnSetWarningInfo(kv::GetVariantOfString(WPS_PIN_ENTRY_TEXT));
  } else {
    OnSetCaption(kv::GetVariantOfString(CONFIRM_CAPTION));
    OnSetWarningInfo(KeyEntryPrompt(SSID));
  }
  OnSetFocus(&row_.button);
}

void PinEnterDialog::Close() {
  const bool wasOpen = IsOpen();
  NetworkConfirmDialog::Close();
  if (wasOpen) Agent()->UnRegister(this);
}

void PinEnterDialog::OnSetWarningInfo(const kv::String& text) { SetWarningGrowing(text, 140); }

void PinEnterDialog::Refresh() {
  NetworkConfirmDialog::Refresh();
  row_.Place(*this, ok_.Bounds().y1);
}

void PinEnterDialog::ShowKeyboard(kv::Object*) {
  NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  const kv::Class* keyPad = KV_LATE_CLASS("NonMenuSystem::KeyPad");
  if (!s || !keyPad) return;
  auto* param = kv::New<SkinBin::UserRefInt>();
  param->Code = TransitionCode();
  param->Flag = 1;
  param->Value = kKeyPadLength;
  auto* state = kv::New<SubSystem::State>();
  state->Class = keyPad;
  state->Param = param;
  Primitives::KeyRoutingForm* pad = s->ChangeState(state);
  if (!pad) return;
  // The pad opens beside the dialog (right, else left), level with its top,
  // so that the viewer still reads the title and which network the key is
  // for; without room beside it, under the prompt.
  const kv::Rect d = Bounds();
  const kv::Rect p = pad->Bounds();
  int32_t x = d.x2 + kPadGap;
  int32_t y = d.y1;
  if (x + p.W() > kScreenW) x = d.x1 - kPadGap - p.W();
  if (x < 0) {
    x = d.x1 + (d.W() - p.W()) / 2;
    y = d.y1 + WarningView().Bounds().y2 + kPadGap;
  }
  x = std::clamp(x, 0, std::max(0, kScreenW - p.W()));
  y = std::clamp(y, 0, std::max(0, kScreenH - p.H()));
  pad->OnSetBounds({x, y, x + p.W(), y + p.H()});
}

void PinEnterDialog::HandleMessage(Structures::Message* msg) {
  if (!msg || msg->Code != Constants::MSG_LABEL_CHANGE || !IsOpen()) return;
  if (auto* text = kv::Cast<Structures::RefString>(msg->ObjParam.get())) UpdateLabel(text->Value);
  // The key pad closes after it answers: the dialog takes the keys again.
  kv::PostSignal(kv::MakeSlot(this, &PinEnterDialog::TakeFocusBack));
}

void PinEnterDialog::TakeFocusBack(kv::Object*) {
  if (!IsOpen()) return;
  if (Core::Group* owner = Owner()) owner->OnSetFocus(this);
  OnSetFocus(&ok_);
  // The key pad's help goes with it.
  if (NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem()) s->ClearHelpBar();
}

void PinEnterDialog::UpdateLabel(const kv::String& text) {
  entered_ = text;
  row_.value.OnSetString(kv::NewStringChar(kv::LoadString(KEY_MASK).At(0), text.Length()));
}

void PinEnterDialog::ConnectAp(kv::Object*) {
  if (entered_.Empty()) return;
  SkinBin::Wrapper* w = Skin();
  if (!w) return;
  if (Mode == kWpsPinMode) {
    auto* wps = kv::New<Structures::WPS_Connection>();
    wps->Flag = 0;
    wps->SSID = SSID;
    wps->PIN = entered_;
    wps->Mode = 0;
    w->NetworkSetup.WPS_Join(wps);
    return;
  }
  auto* join = kv::New<Structures::WLAN_Connection>();
  join->SecurityMethod = -1;
  join->Key = entered_;
  join->KeyLength = static_cast<uint8_t>(std::min(entered_.Length(), 255));
  join->SSID = SSID;
  w->NetworkSetup.WLAN_JoinNetwork(join);
}

// --- WPSGeneratePinDialog ------------------------------------------------------------------

WPSGeneratePinDialog::WPSGeneratePinDialog()
    : row_(*this, kv::GetVariantOfString(GENERATE_BUTTON), kv::GetVariantOfString(PIN_LABEL)) {
  OnSetBounds({0, 0, 440, 300});
  OnSetCaption(kv::GetVariantOfString(PIN_CAPTION));
  row_.button.OnActivate = kv::MakeSlot(this, &WPSGeneratePinDialog::GeneratePin);
  row_.value.OnSetString(kv::LoadString(PIN_PLACEHOLDER));
  OnYesSlot = kv::MakeSlot(this, &WPSGeneratePinDialog::ConnectAp);
  OnSetWarningInfo(kv::GetVariantOfString(WPS_PIN_GENERATE_TEXT));
  OnSetFocus(&row_.button);
}

void WPSGeneratePinDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  NetworkConfirmDialog::Initialize(param);
  if (auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr) SSID = ref->String;
  OnSetFocus(&row_.button);
}

void WPSGeneratePinDialog::OnSetWarningInfo(const kv::String& text) { SetWarningGrowing(text, 140); }

void WPSGeneratePinDialog::Refresh() {
  NetworkConfirmDialog::Refresh();
  row_.Place(*this, ok_.Bounds().y1);
}

void WPSGeneratePinDialog::GeneratePin(kv::Object*) {
  ResetTimeout();
  SkinBin::Wrapper* w = Skin();
  pin_ = w ? w->NetworkSetup.WPS_GeneratePin() : kv::String();
  row_.value.OnSetString(pin_.Empty() ? kv::GetVariantOfString(PIN_GENERATION_FAILED) : pin_);
  // The PIN is read off the screen: OK is the next step.
  if (!pin_.Empty()) OnSetFocus(&ok_);
}

void WPSGeneratePinDialog::ConnectAp(kv::Object*) {
  SkinBin::Wrapper* w = Skin();
  if (pin_.Empty() || !w) return;
  auto* wps = kv::New<Structures::WPS_Connection>();
  wps->Flag = 1;
  wps->SSID = SSID;
  wps->PIN = pin_;
  wps->Mode = 0;
  w->NetworkSetup.WPS_Join(wps);
}

// --- WPSPBCDialog ------------------------------------------------------------------------

WPSPBCDialog::WPSPBCDialog() {
  OnSetBounds({0, 0, 430, kPbcHeight});
  OnSetCaption(kv::GetVariantOfString(PBC_CAPTION));
  OnYesSlot = kv::MakeSlot(this, &WPSPBCDialog::ConnectAp);
  OnSetWarningInfo(kv::GetVariantOfString(PBC_TEXT));
}

// The instruction sits in its fixed rectangle above the buttons: the
// dialog grows for a longer text but keeps its 330 pixels at least.
void WPSPBCDialog::OnSetWarningInfo(const kv::String& text) {
  SetWarningGrowing(text, 100);
  const kv::Rect b = Bounds();
  if (b.H() < kPbcHeight) OnSetBounds({b.x1, b.y1, b.x2, b.y1 + kPbcHeight});
}

void WPSPBCDialog::Refresh() {
  NetworkConfirmDialog::Refresh();
  warning_.OnSetBounds({53, 81, 380, 240});
}

void WPSPBCDialog::ConnectAp(kv::Object*) {
  SkinBin::Wrapper* w = Skin();
  if (!w) return;
  auto* wps = kv::New<Structures::WPS_Connection>();
  wps->Mode = 1;
  w->NetworkSetup.WPS_Join(wps);
}

}  // namespace Network
