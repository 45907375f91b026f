#include "units/MenuSystem/PinMenus.h"

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/MenuSystem.h"
#include "strings/Strings.h"
#include "units/Agent/MessageAgent.h"
#include "units/Colors/Colors.h"
#include "units/Constants/ConfirmTypes.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/MenuSystem/LiveMenuPages.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/MenuSystem/MenuSystem.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/Structures/Message.h"
#include "units/SubSystem/State.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(MenuSystem::PinPageBase);
KV_REGISTER_CLASS(MenuSystem::EnterPinMenu);
KV_REGISTER_CLASS(MenuSystem::ChangePinMenu);
KV_REGISTER_CLASS(MenuSystem::PINSettingMenu);

namespace MenuSystem {

using namespace keys;

namespace {
PersistentData::PersistentData* Store() {
  return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
}
kv::String Joined(const kv::MultiTextId& id) {
  return kv::ConcatString(kv::GetVariantOfString(id), kv::GetVariantOfString(LABEL_COLON));
}
void BindEntry(SkinBin::PinEntry& entry, PinPageBase* page) {
  entry.OnResetTimeout = kv::MakeSlot(static_cast<Primitives::KeyRoutingForm*>(page), &Primitives::KeyRoutingForm::ResetTimeout);
  entry.OnPrevPin = kv::MakeSlot(page, &PinPageBase::EnterPrevState);
}
}  // namespace

// --- Common ------------------------------------------------------------------------

PinPageBase::PinPageBase() {
  WinID = WinIDs::WIN_ID_PinEntry;
  message_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  message_.OnSetColor(Colors::White);
}

void PinPageBase::SetupLabel(Views::Text& label, kv::Rect r) {
  label.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  label.OnSetColor(Colors::White);
  label.OnSetAlignV(1);
  label.OnSetAutoSize(true);
  label.OnSetBounds(r);
}

void PinPageBase::Start(Primitives::KeyRoutingParameter* param) {
  if (param)
    if (auto* owner = kv::Cast<MenuController>(param->Owner.get())) MenuSystem = owner;
  // The key-routing start-up only: no moves, no slots, no agent messages.
  KeyRoutingForm::Initialize(param);
  if (auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr) SetType(ref->Value);
  if (VidiSubMenuItem* spare = Spare(); spare && spare->Owner() == this) Remove(spare);
}

kv::Object* PinPageBase::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Code >= KEY_UP && key->Code <= KEY_RIGHT) return this;
  return VidiSubMenu::HandleEvent(event);
}

void PinPageBase::HandleFocus(bool focused) {
  VidiSubMenu::HandleFocus(focused);
  InvalidateView();
}

void PinPageBase::Close() {
  // Not a moving page: nothing to remember for its level.
  KeyRoutingForm::Close();
}

void PinPageBase::ShowMessage(const kv::MultiTextId& id) { message_.OnSetString(kv::GetVariantOfString(id)); }

void PinPageBase::EnterNextState(kv::Object*) {
  MenuController* owner = OwnerOf(this);
  const kv::Class* next = NextState;
  Close();
  if (!next || !owner) return;
  auto* state = kv::New<SubSystem::State>();
  state->Class = next;
  state->PrevState = KvClass();
  Primitives::KeyRoutingForm* page = owner->ChangeState(state);
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_CHANGE_APPEARANCE, page, APPEARANCE_PIN_PASSED);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->DispatchTo(msg, &VidiMainMenu::StaticClass());
}

void PinPageBase::EnterPrevState(kv::Object*) {
  auto* key = kv::New<Core::KeyEvent>();
  key->Initialize(KEY_BACK, 1);
  HandleEvent(key);
}

// --- Entering the PIN --------------------------------------------------------------

EnterPinMenu::EnterPinMenu() {
  entry_.OnSetBounds({204, 250, 414, 310});
  BindEntry(entry_, this);
  entry_.OnCompleteEntry = kv::MakeSlot(this, &EnterPinMenu::CheckPassword);
  Add(&entry_);
  SetupLabel(label_, {80, 271, 151, 293});
  Add(&label_);
  message_.OnSetBounds({50, 210, 500, 260});
  Add(&message_);
  OnSetFocus(&entry_);
  ReInit();
}

void EnterPinMenu::ReInit() {
  PinPageBase::ReInit();
  label_.OnSetString(Joined(Strings::SID_ENTER_PIN));
}

void EnterPinMenu::Initialize(Primitives::KeyRoutingParameter* param) {
  Start(param);
  expected_ = Store()->GetString(KEY_PIN);
}

void EnterPinMenu::OnSetEnterPinType(int32_t type) {
  EnterPinType = type;
  if (type != ENTER_PIN_PARENTAL_LOCK) return;
  MenuLevel = 2;
  SetTitle(&Strings::MainMenuLocks);
  NextState = &VidiLocksMenu::StaticClass();
  PrevState = &VidiMainMenu::StaticClass();
}

void EnterPinMenu::CheckPassword(kv::Object*) {
  if (entry_.CurrentPin() == expected_) {
    kv::PostSignal(kv::MakeSlot(static_cast<PinPageBase*>(this), &PinPageBase::EnterNextState));
    return;
  }
  kv::Trace("%s", {kv::LoadString(T_WRONG_PIN)});
  entry_.Clear();
  ShowMessage(Strings::SID_MSG_LOCKS_INCORRECT_PIN_CODE);
}

// --- A new PIN ---------------------------------------------------------------------

ChangePinMenu::ChangePinMenu() {
  first_.OnSetBounds({206, 230, 411, 310});
  BindEntry(first_, this);
  first_.OnCompleteEntry = kv::MakeSlot(this, &ChangePinMenu::FirstPassword);
  Add(&first_);
  second_.OnSetBounds({204, 280, 414, 340});
  BindEntry(second_, this);
  second_.OnCompleteEntry = kv::MakeSlot(this, &ChangePinMenu::CheckPassword);
  Add(&second_);
  SetupLabel(newLabel_, {80, 260, 144, 282});
  Add(&newLabel_);
  SetupLabel(confirmLabel_, {80, 301, 167, 323});
  Add(&confirmLabel_);
  message_.OnSetBounds({60, 200, 500, 240});
  Add(&message_);
  OnSetFocus(&first_);
  ReInit();
}

void ChangePinMenu::ReInit() {
  PinPageBase::ReInit();
  newLabel_.OnSetString(Joined(Strings::SID_NEW_PIN));
  confirmLabel_.OnSetString(Joined(Strings::SID_MSG_LOCKS_PIN_CODE_CONFIRM));
}

void ChangePinMenu::Initialize(Primitives::KeyRoutingParameter* param) { Start(param); }

void ChangePinMenu::OnSetChangePinType(int32_t type) {
  ChangePinType = type;
  if (type == CHANGE_PIN_PASSWORD) {
    MenuLevel = 2;
    SetTitle(&Strings::MainMenuLocks);
    PrevState = &VidiMainMenu::StaticClass();
  } else if (type == CHANGE_PIN_CHANGE_PIN) {
    MenuLevel = 3;
    SetTitle(&Strings::MainMenuLocks, &Strings::LocksMenuChangePIN);
    PrevState = &VidiLocksMenu::StaticClass();
  } else {
    return;
  }
  NextState = &VidiLocksMenu::StaticClass();
}

void ChangePinMenu::FirstPassword(kv::Object*) {
  kv::Trace("%s", {kv::LoadString(T_FIRST_PIN)});
  firstPin_ = first_.CurrentPin();
  OnSetFocus(&second_);
  kv::Trace("%s", {kv::LoadString(T_SECOND_PIN)});
}

void ChangePinMenu::CheckPassword(kv::Object*) {
  const kv::String pin = second_.CurrentPin();
  const kv::String refused(kv::LoadString(REFUSED_PIN));
  if (pin == firstPin_ && pin != refused) {
    Store()->PutString(KEY_PIN, firstPin_);
    kv::PostSignal(kv::MakeSlot(static_cast<PinPageBase*>(this), &PinPageBase::EnterNextState));
    return;
  }
  const bool differ = pin != firstPin_;
  firstPin_ = kv::String();
  first_.Clear();
  second_.Clear();
  OnSetFocus(&first_);
  ShowMessage(differ ? Strings::SID_MSG_LOCKS_INCORRECT_PIN_CODE : Strings::SID_MSG_LOCKS_ZERO_PIN_CODE);
}

// --- The product tree's PIN page ------------------------------------------------------

PINSettingMenu::PINSettingMenu() {
  WinID = WinIDs::WIN_ID_PINSettingMenu;
  MenuLevel = 4;
  PrevState = KV_LATE_CLASS("MenuSystem::PreferencesMenu");
  CaptionId = &Strings::SID_PIN_SETTING;
  AddRow(kv::New<SubMenuItem>(), &Strings::SID_CHANGE_PIN, CHANGE_PIN_PASSWORD,
         KV_LATE_CLASS("NonMenuSystem::ChangePinDialog"));
  AddRow(kv::New<SubMenuItem>(), &Strings::SID_DELETE_PIN, Constants::ConfirmTypeDeletePin,
         KV_LATE_CLASS("NonMenuSystem::ConfirmMultiOptionDialog"));
  ReInit();
}

}  // namespace MenuSystem
