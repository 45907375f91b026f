#include "units/Network/WizardBase.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Events/WlanConnectCompleteEvent.h"
#include "units/Events/WlanScanCompleteEvent.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/Fonts/Fonts.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/Network/Dispatch.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionDatabase.h"
#include "units/OptionDatabase/OptionTypes.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SubSystem/State.h"
#include "units/Views/Align.h"

KV_REGISTER_CLASS(Network::NetworkWidgetClass);
KV_REGISTER_CLASS(Network::YesNoButton);
KV_REGISTER_CLASS(Network::YesNoState);
KV_REGISTER_CLASS(Network::CancelDialog);

namespace Network {

namespace {

using namespace keys;

constexpr int32_t kCaptionHeight = 40;

}  // namespace

// --- NetworkWidgetClass ----------------------------------------------------------------

NetworkWidgetClass::NetworkWidgetClass() {
  KeyRoutingForm::OnSetBounds(kWizardBounds);
  WidgetOrigin = kWizardOrigin;
  WinID = kWinId;
  IsModal = 1;
  OnSetTimeOutValue(0);
  OnTimeOut = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::ClearAllSlot);
  background_.OnSetColor(Colors::MenuBgColor);
  frame_.OnSetVisible(false);
  border_.OnSetWidth(1);
  border_.OnSetColor(Colors::DialogBorder);
  Add(&border_);
  caption_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  caption_.OnSetColor(Colors::StandardTextColor);
  caption_.OnSetAlignH(Views::ALIGN_LEFT);
  caption_.OnSetAlignV(1);
  caption_.OnSetEllipsis(true);
  Add(&caption_);
  info_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  info_.OnSetColor(Colors::StandardTextColor);
  info_.OnSetAlignH(Views::ALIGN_LEFT);
  info_.OnSetAlignV(0);
  info_.OnSetAutoSize(false);
  Add(&info_);
  caption_.OnSetString(kv::GetVariantOfString(Strings::SID_NETWORK_SETUP));
  HelpString = kv::GetVariantOfString(Strings::SID_BACK);
}

void NetworkWidgetClass::SetHelp(std::initializer_list<const kv::MultiTextId*> labels, int32_t mask) {
  HelpString = MenuSystem::HelpText(labels);
  HelpMask = mask;
}

void NetworkWidgetClass::SetTimeOut(int32_t ms, void (NetworkWidgetClass::*action)(kv::Object*)) {
  OnTimeOut = kv::MakeSlot(this, action);
  OnSetTimeOutValue(ms);
  if (IsOpen()) SetTimeout(ms > 0);
}

void NetworkWidgetClass::OnSetCaption(const kv::String& text) {
  Caption = text;
  caption_.OnSetString(text);
}

void NetworkWidgetClass::OnSetInfo(const kv::String& text) {
  Info = text;
  info_.OnSetString(text);
}

void NetworkWidgetClass::OnSetShowWaiting(int32_t value) {
  ShowWaiting = value;
  if (value >= 0) SendWaitingCircle(value);
}

void NetworkWidgetClass::OnSetMenuTriggered(bool flag) { MenuTriggered = flag; }

void NetworkWidgetClass::ShowHelp() {
  if (::NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem()) s->UpdateHelp(HelpMask, HelpString);
}

void NetworkWidgetClass::Initialize(Primitives::KeyRoutingParameter* param) {
  WidgetClass::Initialize(param);
  auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr;
  ArrivedCaption = ref ? ref->String : kv::String();
  if (ShowWaiting >= 0) OnSetShowWaiting(ShowWaiting);
  ShowHelp();
}

void NetworkWidgetClass::Refresh() {
  WidgetClass::Refresh();
  const kv::Rect b = Bounds();
  caption_.OnSetBounds({20, 0, b.W() - 20, kCaptionHeight});
  border_.OnSetBounds({0, 0, b.W(), b.H()});
  info_.OnSetBounds({20, kCaptionHeight, b.W() - 20, b.H() - 10});
}

void NetworkWidgetClass::HandleFocus(bool focused) {
  WidgetClass::HandleFocus(focused);
  if (IsOpen()) SetTimeout(focused && TimeOutValue > 0);
}

void NetworkWidgetClass::Close() {
  if (IsOpen() && ShowWaiting == 1) {
    StopOperation();
    OnSetShowWaiting(0);
  }
  WidgetClass::Close();
}

Primitives::KeyRoutingForm* NetworkWidgetClass::ChangeTo(const kv::Class* cls, kv::Object* param,
                                                        const kv::Class* next) {
  ::NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  if (!s || !cls) return nullptr;
  auto* state = kv::New<SubSystem::State>();
  state->Class = cls;
  state->PrevState = KvClass();
  state->NextState = next;
  state->Param = param;
  return s->ChangeState(state);
}

void NetworkWidgetClass::EnterNextState() {
  Close();
  if (!NextState) return;
  auto* ref = kv::New<SkinBin::UserRefInt>();
  ref->Code = TransitionCode();
  ref->String = Caption;
  ChangeTo(NextState, ref);
}

void NetworkWidgetClass::DoCancel(kv::Object*) {
  StopOperation();
  OnSetShowWaiting(0);
  Close();
}

void NetworkWidgetClass::CheckCancel(kv::Object*) {
  OnSetVisible(false);
  ChangeTo(&CancelDialog::StaticClass(), this, PrevState);
}

void NetworkWidgetClass::UndoCancel() {
  OnSetVisible(true);
  OnSetShowWaiting(ShowWaiting);
  ShowHelp();
  if (Owner()) Owner()->OnSetFocus(this);
}

kv::Object* NetworkWidgetClass::HandleEvent(Core::Event* event) {
  if (auto* standby = kv::Cast<Events::XPM_EVENT_STANDBY>(event)) {
    if (!IsModal) return WidgetClass::HandleEvent(event);
    DoCancel();
    PassOnStandby(standby);
    return this;
  }
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return WidgetClass::HandleEvent(event);
  const bool waiting = ShowWaiting == 1;
  switch (key->Code) {
    case KEY_OK:
      if (!waiting) Post(&WidgetClass::EnterNextStateSlot);
      break;
    case KEY_EXIT:
    case KEY_EXIT_ALT:
      if (waiting && PromptCancel) {
        kv::PostSignal(kv::MakeSlot(this, &NetworkWidgetClass::CheckCancel));
      } else {
        if (waiting) DoCancel();
        Post(&WidgetClass::ClearAllSlot);
      }
      break;
    case KEY_BACK:
      if (waiting && PromptCancel) {
        kv::PostSignal(kv::MakeSlot(this, &NetworkWidgetClass::CheckCancel));
      } else {
        if (waiting) DoCancel();
        Post(&WidgetClass::EnterPrevStateSlot);
      }
      break;
    case KEY_UP:
    case KEY_DOWN:
      MoveFocus(*this, key->Code == KEY_DOWN);
      break;
    default:
      break;
  }
  ResetTimeout();
  return this;
}

// --- YesNoState ----------------------------------------------------------------------------

// --- YesNoButton ------------------------------------------------------------------------

YesNoButton::YesNoButton() {
  for (SkinBin::Button& face : faces_) {
    face.OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonNonfocus));
    face.OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonFocus));
    face.OnSetTextAlignH(Views::ALIGN_CENTER);
    face.OnSetTextEllipsis(true);
  }
  // The faces are the button's look: it draws no bar and no caption of its own.
  OnSetNonfocused_BackgroundBitmap(nullptr);
  OnSetFocused_BackgroundBitmap(nullptr);
  OnSetBounds({0, 0, kWidth, kFaceHeight});
}

void YesNoButton::LoadChoices() {
  auto* db = kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB);
  OptionDatabase::OptionDataClass* record = db ? db->GetOptionData(OptionType) : nullptr;
  if (!record) return;
  // Each choice's caption through the option's courier; the record is left
  // on the choice the button shows.
  for (int32_t i = 0; i < 2; ++i) {
    record->Id = i;
    record->GetData();
    auto* courier = kv::Cast<OptionDatabase::OptionCourier>(record->Courier.get());
    faces_[i].OnSetText(courier && i < record->Num ? courier->Caption : kv::String());
  }
  record->Id = Index < 0 ? 0 : Index;
  record->GetData();
  InvalidateView();
}

void YesNoButton::ReInit() {
  OptionButton::ReInit();
  LoadChoices();
}

void YesNoButton::Refresh() {
  OptionButton::Refresh();
  const kv::Rect b = Bounds();
  const int32_t w = std::max(0, (b.W() - kFaceGap) / 2);
  faces_[0].OnSetBounds({0, 0, w, b.H()});
  faces_[1].OnSetBounds({b.W() - w, 0, b.W(), b.H()});
}

kv::Object* YesNoButton::HandleEvent(Core::Event* event) {
  const int32_t before = Index;
  kv::Object* answer = OptionButton::HandleEvent(event);
  if (Index != before) InvalidateView();
  return answer;
}

void YesNoButton::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  const bool focused = IsFocused();
  for (int32_t i = 0; i < 2; ++i) {
    const int32_t state = focused && Index == i ? ::Button::kStateFocused : ::Button::kStateNonfocused;
    if (faces_[i].OnGetCtrlState() != state) faces_[i].RefreshCtrlState(state);
    DrawPart(faces_[i], target, clip, origin, opacity);
  }
}

// --- YesNoState --------------------------------------------------------------------------

YesNoState::YesNoState() {
  Layer = kLayer;
  choice_.OnSetOptionType(OptionDatabase::OPTION_TYPE_SELECT_CONFIRM);
  choice_.OnActivate = kv::MakeSlot(this, &YesNoState::DoActivate);
  Add(&choice_);
  OnSetFocus(&choice_);
  SetTimeOut(kIdleTimeOut, &NetworkWidgetClass::PrevAction);
  KeyRoutingForm::OnSetBounds({0, 0, 520, 170});
  WidgetOrigin = {220, 100};
}

void YesNoState::Initialize(Primitives::KeyRoutingParameter* param) {
  NetworkWidgetClass::Initialize(param);
  // Every question starts on its first answer (the record keeps the last one).
  choice_.RefreshOption();
  if (choice_.Index > 0) choice_.ToggleOption(-choice_.Index);
  choice_.LoadChoices();
}

void YesNoState::Refresh() {
  NetworkWidgetClass::Refresh();
  const kv::Rect b = Bounds();
  info_.OnSetBounds({20, 40, b.W() - 20, b.H() - 60});
  const int32_t x = (b.W() - YesNoButton::kWidth) / 2;
  choice_.OnSetBounds({x, b.H() - 52, x + YesNoButton::kWidth, b.H() - 52 + YesNoButton::kFaceHeight});
}

void YesNoState::DoActivate(kv::Object*) {
  if (choice_.Index == 0)
    Post(&WidgetClass::EnterNextStateSlot);
  else
    Post(&WidgetClass::EnterPrevStateSlot);
}

// --- CancelDialog ------------------------------------------------------------------------

CancelDialog::CancelDialog() {
  OnSetCaption(kv::GetVariantOfString(Strings::SID_EASY_SETUP_PBC));
  SetHelp({&Strings::SID_SELECT, &Strings::SID_ENTER, &Strings::SID_BACK}, 0x40204);
  OnSetInfo(kv::GetVariantOfString(Strings::SID_CONFIRM_CANCEL));
}

void CancelDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  YesNoState::Initialize(param);
  // The circle of the state underneath is hidden, not removed.
  OnSetShowWaiting(2);
  auto* state = param ? kv::Cast<NetworkWidgetClass>(param->Param.get()) : nullptr;
  cancelled_ = state;
  if (state) OnSetCaption(state->Caption);
}

kv::Object* CancelDialog::HandleEvent(Core::Event* event) {
  // A result that comes while the viewer decides waits for the answer.
  if (kv::Cast<Events::WlanConnectCompleteEvent>(event) || kv::Cast<Events::WlanScanCompleteEvent>(event)) {
    deferred_ = event;
    return this;
  }
  return YesNoState::HandleEvent(event);
}

void CancelDialog::EnterNextState() {
  OnSetShowWaiting(0);
  Close();
  kv::Persistent<NetworkWidgetClass> state{cancelled_.get()};
  cancelled_ = nullptr;
  deferred_ = nullptr;
  if (state) state->DoCancel();
  if (NextState) ChangeTo(NextState, nullptr);
}

void CancelDialog::EnterPrevState() {
  Close();
  kv::Persistent<NetworkWidgetClass> state{cancelled_.get()};
  kv::Persistent<Core::Event> event{deferred_.get()};
  cancelled_ = nullptr;
  deferred_ = nullptr;
  if (!state || !state->IsOpen()) return;
  state->UndoCancel();
  if (event) state->HandleEvent(event.get());
}

}  // namespace Network
