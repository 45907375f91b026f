#include "units/NonMenuSystem/PinDialogs.h"

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/NonMenuSystem.h"
#include "strings/SkinBinWrapper.h"
#include "strings/Strings.h"
#include "units/Agent/MessageAgent.h"
#include "units/Colors/Colors.h"
#include "units/Constants/ConfirmTypes.h"
#include "units/Constants/Constants.h"
#include "units/Constants/MessageTypes.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/SubSystem/State.h"
#include "units/WinIDs/WinIDs.h"
#include "units/Wrapper/Wrapper.h"

KV_REGISTER_CLASS(NonMenuSystem::EnterPinDialog);
KV_REGISTER_CLASS(NonMenuSystem::ChangePinDialog);

namespace NonMenuSystem {

namespace {
using namespace keys;

// The help of both dialogs: digits and back.
constexpr int32_t kPinHelpMask = 0x40002;
// PIN type 11 waits this long while the 3D time lock is on.
constexpr int32_t k3DTimeLockTimeOut = 60000;
// The parameter the locks menu is opened with from the timer menu.
constexpr int32_t kLocksFromTimerMenu = 5;
// The entry's cells and the gap beside its label.
constexpr int32_t kEntryW = 120;
constexpr int32_t kEntryH = 30;
constexpr int32_t kGap = 12;

PersistentData::PersistentData* Store() {
  return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
}

kv::String Label(const kv::MultiTextId& id) {
  return kv::ConcatString(kv::GetVariantOfString(id), kv::GetVariantOfString(LABEL_SEPARATOR));
}

kv::String PinHelp() {
  return kv::ConcatString(kv::ConcatString(kv::GetVariantOfString(Strings::SID_INPUT), kv::LoadString(HELP_SEPARATOR)),
                          kv::GetVariantOfString(Strings::SID_BACK));
}

void SendMessage(int32_t code, int32_t value, const kv::Class* target) {
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(code, nullptr, value);
  auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent);
  if (target)
    agent->DispatchTo(msg, target);
  else
    agent->Dispatch(msg);
}

}  // namespace

// Opens message `type` and centres it on `dialog`.
void ShowMessageOver(WidgetClass* dialog, int32_t type) {
  ::NonMenuSystem::NonMenuSystem* s = dialog->OnGetNonMenuSystem();
  DirectMessageBar* bar = s ? s->ShowMessage(type) : nullptr;
  if (!bar) return;
  const kv::Rect d = dialog->Bounds();
  const kv::Rect b = bar->Bounds();
  const kv::Point at =
      kv::Point{d.x1, d.y1} + ::Wrapper::Wrapper::GetCenterPosition(d.W(), d.H(), b.W(), b.H());
  bar->OnSetBounds({at.x, at.y, at.x + b.W(), at.y + b.H()});
}

// --- EnterPinDialog --------------------------------------------------------------------

EnterPinDialog::EnterPinDialog() {
  WinID = WinIDs::WIN_ID_PinEntry;
  KeyRoutingForm::OnSetBounds({0, 0, 420, 180});
  OnSetCaption(kv::GetVariantOfString(Strings::SID_ENTER_PIN));
  OnSetFrameWidth(0);
  prompt_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  prompt_.OnSetColor(Colors::StandardTextColor);
  prompt_.OnSetAlignH(0);
  prompt_.OnSetAlignV(1);
  prompt_.OnSetString(Label(Strings::SID_ENTER_PIN_CODE));
  entry_.OnResetTimeout = kv::MakeSlot(this, &EnterPinDialog::ResetTimeoutSlot);
  entry_.OnCompleteEntry = kv::MakeSlot(this, &EnterPinDialog::CheckPassword);
  Add(&prompt_);
  Add(&entry_);
  OnSetFocus(&entry_);
  EnterPinDialog::Refresh();
}

void EnterPinDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  const kv::Class* caller = PrevState;
  KXDWidgetClass::Initialize(param);
  if (auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr) OnSetEnterPinType(ref->Value);
  const kv::Class* livePage = KV_LATE_CLASS("MenuSystem::VidiSubMenu");
  fromLivePage_ = MenuTriggered && caller && livePage && caller->Is(livePage);
  PersistentData::PersistentData* store = Store();
  const kv::String pin = store->GetString(SkinBinWrapper::KEY_PIN);
  const kv::String pin3D = store->GetString(SkinBinWrapper::KEY_3D_PIN);
  if (EnterPinType >= 9 && EnterPinType <= 11)
    expected_ = pin3D;
  else if (EnterPinType == 4 && pin.Empty())
    expected_ = pin3D;
  else
    expected_ = pin;
  if (::NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem()) s->UpdateHelp(kPinHelpMask, PinHelp());
}

void EnterPinDialog::OnSetEnterPinType(int32_t type) {
  EnterPinType = type;
  const kv::Class* next = nullptr;
  const kv::Class* prev = nullptr;
  switch (type) {
    case 1:
      next = KV_LATE_CLASS("MenuSystem::PINSettingMenu");
      prev = KV_LATE_CLASS("MenuSystem::PreferencesMenu");
      break;
    case 2:
      next = KV_LATE_CLASS("MenuSystem::ParentalLocksMenu");
      prev = KV_LATE_CLASS("MenuSystem::PreferencesMenu");
      break;
    case 3:
      next = KV_LATE_CLASS("Channels::AutoTuningConfirmDialog");
      prev = KV_LATE_CLASS("MenuSystem::SetupMenu");
      break;
    case 4:
      next = KV_LATE_CLASS("NonMenuSystem::ConfirmMultiOptionDialog");
      prev = KV_LATE_CLASS("MenuSystem::SetupMenu");
      break;
    case 7:
      next = KV_LATE_CLASS("MenuSystem::ParentalLocksMenu");
      prev = KV_LATE_CLASS("MenuSystem::TimerMenu");
      break;
    case 8:
      prev = KV_LATE_CLASS("NonMenuSystem::ConfirmMultiOptionDialog");
      break;
    case 9:
    case 10: {
      next = type == 9 ? KV_LATE_CLASS("ThreeD::ThreeDPinMenu") : KV_LATE_CLASS("ThreeD::ThreeDSafetyMenu");
      prev = KV_LATE_CLASS("ThreeD::ThreeDMenu");
      SkinBin::Wrapper* skin = Live::Skin();
      const bool locked = skin && skin->OnGetThreeDLock() == 1;
      OnSetCaption(kv::GetVariantOfString(locked ? Strings::SID_3D_LOCKED_MSG : Strings::SID_3D_PIN));
      break;
    }
    case 11: {
      NextState = KV_LATE_CLASS("ThreeD::Start3DWizard");
      OnSetCaption(kv::GetVariantOfString(Strings::SID_3D_LOCKED_MSG));
      SkinBin::Wrapper* skin = Live::Skin();
      // Without the 3D time lock the question stays until it is answered.
      OnSetTimeOutValue(skin && skin->OnGetThreeDTimerLock() != 0 ? k3DTimeLockTimeOut : 0);
      return;
    }
    case 12:
      next = KV_LATE_CLASS("Record::USBDiskFormatDialog");
      prev = KV_LATE_CLASS("MenuSystem::VidiRecordMenu");
      break;
    default:
      return;  // 5, 6 and 13 on have no row
  }
  NextState = next;
  PrevState = prev;
}

void EnterPinDialog::Refresh() {
  KXDWidgetClass::Refresh();
  const kv::Rect b = Bounds();
  const int32_t top = HasCaption ? caption_.Bounds().y2 : FrameWidth;
  const int32_t y = top + (b.H() - top - kEntryH) / 2;
  const int32_t entryX = b.W() - FrameWidth - 30 - kEntryW;
  prompt_.OnSetBounds({FrameWidth + 30, y, entryX - kGap, y + kEntryH});
  entry_.OnSetBounds({entryX, y, entryX + kEntryW, y + kEntryH});
}

kv::Object* EnterPinDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return KXDWidgetClass::HandleEvent(event);
  if (EnterPinType == 11) {
    if (key->Code == KEY_EXIT || key->Code == KEY_EXIT_ALT) return KXDWidgetClass::HandleEvent(event);
    return this;
  }
  switch (key->Code) {
    case KEY_OK:
    case KEY_UP:
    case KEY_DOWN:
    case KEY_LEFT:
    case KEY_RIGHT:
      ResetTimeout();
      return this;
    default:
      return KXDWidgetClass::HandleEvent(event);
  }
}

void EnterPinDialog::CheckPassword(kv::Object*) {
  if (entry_.CurrentPin() == expected_) {
    Post(&WidgetClass::EnterNextStateSlot);
    return;
  }
  kv::Trace("%s", {kv::LoadString(T_WRONG_PIN)});
  entry_.Clear();
  ShowMessageOver(this, Constants::DirectMsgTypeIncorrectPin);
}

void EnterPinDialog::ClearAll() {
  KXDWidgetClass::ClearAll();
  if (EnterPinType != 11) return;
  if (SkinBin::Wrapper* skin = Live::Skin()) skin->Setup3D.SwitchTo2DState(true);
}

int32_t EnterPinDialog::GetNextStateType() const {
  if (EnterPinType == 4) return Constants::ConfirmTypeResetAll;
  const kv::Class* change = &ChangePinDialog::StaticClass();
  if (EnterPinType == 9 && NextState == change) return 2;
  if (EnterPinType == 1 && NextState == change) return 1;
  return 0;
}

int32_t EnterPinDialog::GetPrevStateType() const {
  return EnterPinType == 8 ? Constants::ConfirmTypeQuickSetup : 0;
}

void EnterPinDialog::EnterNextState() {
  Close();
  ::NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  if (EnterPinType == 8) {
    SendMessage(Constants::MSG_RESTART_INITIAL_SETUP, -1, KV_LATE_CLASS("MainApp::Standby"));
    return;
  }
  if (!s || !NextState) return;
  auto* state = kv::New<SubSystem::State>();
  state->Class = NextState;
  state->PrevState = KvClass();
  if (EnterPinType == 7) {
    auto* ref = kv::New<Structures::RefInt>();
    ref->Value = kLocksFromTimerMenu;
    state->Param = ref;
  } else {
    state->Param = SkinBin::UserRefInt::Make(GetNextStateType(), TransitionCode());
  }
  s->ChangeState(state);
}

void EnterPinDialog::EnterPrevState() {
  Close();
  if (EnterPinType == 7 || fromLivePage_) {
    SendMessage(Constants::MSG_CLEAR_HELP_BAR, -1, &::NonMenuSystem::NonMenuSystem::StaticClass());
    HandBackToMenu();
    return;
  }
  ::NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  if (!s || !PrevState) return;
  auto* state = kv::New<SubSystem::State>();
  state->Class = PrevState;
  state->Param = SkinBin::UserRefInt::Make(GetPrevStateType(), TransitionCode());
  s->ChangeState(state);
}

// --- ChangePinDialog -------------------------------------------------------------------

ChangePinDialog::ChangePinDialog() {
  WinID = WinIDs::WIN_ID_PinEntry;
  KeyRoutingForm::OnSetBounds({0, 0, 320, 120});
  panel_.OnSetColor(kWidgetBackground);
  for (Views::Text* label : {&newLabel_, &confirmLabel_}) {
    label->OnSetFont(Resources::LoadResource(Fonts::MediumFont));
    label->OnSetColor(Colors::StandardTextColor);
    label->OnSetAlignH(0);
    label->OnSetAlignV(1);
  }
  newLabel_.OnSetString(Label(Strings::SID_NEW_PIN));
  confirmLabel_.OnSetString(Label(Strings::SID_MSG_LOCKS_PIN_CODE_CONFIRM));
  OnSetCaption(kv::GetVariantOfString(Strings::SID_PIN_SETTING));
  first_.OnResetTimeout = kv::MakeSlot(this, &ChangePinDialog::ResetTimeoutSlot);
  second_.OnResetTimeout = kv::MakeSlot(this, &ChangePinDialog::ResetTimeoutSlot);
  first_.OnCompleteEntry = kv::MakeSlot(this, &ChangePinDialog::FirstPassword);
  second_.OnCompleteEntry = kv::MakeSlot(this, &ChangePinDialog::CheckPassword);
  AddBehind(&panel_, &border_);
  Add(&newLabel_);
  Add(&confirmLabel_);
  Add(&first_);
  Add(&second_);
  OnSetFocus(&first_);
  ChangePinDialog::Refresh();
}

void ChangePinDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  BorderWidgetClass::Initialize(param);
  if (auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr) OnSetChangePinType(ref->Value);
  if (::NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem()) s->UpdateHelp(kPinHelpMask, PinHelp());
}

void ChangePinDialog::OnSetChangePinType(int32_t type) {
  ChangePinType = type;
  switch (type) {
    case 1:
      OnSetCaption(kv::GetVariantOfString(Strings::SID_PIN_SETTING));
      NextState = KV_LATE_CLASS("MenuSystem::VidiLocksMenu");
      PrevState = KV_LATE_CLASS("MenuSystem::VidiMainMenu");
      break;
    case 2: {
      OnSetCaption(kv::GetVariantOfString(Strings::SID_3D_PIN));
      SkinBin::Wrapper* skin = Live::Skin();
      const kv::Class* back = skin && skin->Is3DPinExisting() ? KV_LATE_CLASS("ThreeD::ThreeDPinMenu")
                                                               : KV_LATE_CLASS("ThreeD::ThreeDMenu");
      NextState = back;
      PrevState = back;
      break;
    }
    case 3:
      OnSetCaption(kv::GetVariantOfString(Strings::SID_PIN_SETTING));
      NextState = KV_LATE_CLASS("MenuSystem::VidiLocksMenu");
      PrevState = NextState;
      break;
    default:
      break;
  }
}

void ChangePinDialog::Refresh() {
  BorderWidgetClass::Refresh();
  const kv::Rect b = Bounds();
  constexpr int32_t kTop = 30;
  panel_.OnSetBounds({1, kTop, b.W() - 1, b.H() - 1});
  const int32_t rowH = (b.H() - kTop) / 2;
  const int32_t entryX = b.W() - 20 - kEntryW;
  for (int32_t row = 0; row < 2; ++row) {
    const int32_t y = kTop + row * rowH + (rowH - kEntryH) / 2;
    (row == 0 ? newLabel_ : confirmLabel_).OnSetBounds({20, y, entryX - kGap, y + kEntryH});
    (row == 0 ? first_ : second_).OnSetBounds({entryX, y, entryX + kEntryW, y + kEntryH});
  }
}

kv::Object* ChangePinDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && (key->Code == KEY_UP || key->Code == KEY_DOWN)) return this;
  return BorderWidgetClass::HandleEvent(event);
}

void ChangePinDialog::FirstPassword(kv::Object*) {
  kv::Trace("%s", {kv::LoadString(T_FIRST_PIN)});
  firstPin_ = first_.CurrentPin();
  OnSetFocus(&second_);
  kv::Trace("%s", {kv::LoadString(T_SECOND_PIN)});
}

void ChangePinDialog::CheckPassword(kv::Object*) {
  const kv::String pin = second_.CurrentPin();
  const bool same = pin == firstPin_;
  const bool refused = pin == kv::LoadString(REFUSED_PIN);
  if (same && !refused) {
    // Types 1 and 3 change the parental PIN (3 from the locks menu), 2 the 3D PIN.
    if (ChangePinType == 1 || ChangePinType == 3)
      Store()->PutString(SkinBinWrapper::KEY_PIN, pin);
    else if (ChangePinType == 2)
      Store()->PutString(SkinBinWrapper::KEY_3D_PIN, pin);
    Post(&WidgetClass::EnterNextStateSlot);
    return;
  }
  firstPin_ = kv::String();
  first_.Clear();
  second_.Clear();
  OnSetFocus(&first_);
  ShowMessageOver(this, same ? Constants::DirectMsgTypeZeroPin : Constants::DirectMsgTypeIncorrectPin);
}

}  // namespace NonMenuSystem
