#include "units/ParentalLocks/PinPrompts.h"
#include "units/Constants/MessageTypes.h"
#include "keys/keycodes.h"
#include "units/ParentalLocks/RatingDialogs.h"

#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/trace.h"
#include "strings/ParentalLocks.h"
#include "strings/SkinBinWrapper.h"
#include "strings/Strings.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/PinDialogs.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Resources/Resources.h"
#include "units/WinIDs/WinIDs.h"
#include "units/Wrapper/Wrapper.h"

KV_REGISTER_CLASS(ParentalLocks::ChannelLockEnterPin);
KV_REGISTER_CLASS(ParentalLocks::TempUnlock);

namespace ParentalLocks {

namespace {

using namespace keys;

// The entry's four cells.
constexpr int32_t kEntryW = 120;
constexpr int32_t kEntryH = 30;

kv::String StoredPin() {
  return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData)->GetString(SkinBinWrapper::KEY_PIN);
}

void SetUpText(Views::Text& t, const kv::String& s, int32_t alignH, const kv::Rect& r) {
  t.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  t.OnSetColor(Colors::StandardTextColor);
  t.OnSetAlignH(alignH);
  t.OnSetAlignV(1);
  t.OnSetString(s);
  t.OnSetBounds(r);
}

// The right PIN lifts the locks and closes the prompt; a wrong one clears
// the digits and shows message 2 over the prompt.
void Check(NonMenuSystem::WidgetClass* prompt, SkinBin::PinEntry& entry, const kv::String& expected) {
  if (entry.CurrentPin() == expected) {
    kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper)->SetParentalLocksState(1);
    prompt->Close();
    return;
  }
  kv::Trace("%s", {kv::LoadString(T_WRONG_PIN)});
  entry.Clear();
  NonMenuSystem::ShowMessageOver(prompt, Constants::DirectMsgTypeIncorrectPin);
}

}  // namespace

// --- ChannelLockEnterPin ----------------------------------------------------------------

ChannelLockEnterPin::ChannelLockEnterPin() {
  WinID = WinIDs::WIN_ID_PinEntry;
  OnSetFrameWidth(0);
  OnSetHasCaption(false);
  KeyRoutingForm::OnSetBounds({0, 0, 450, 80});
  WidgetOrigin = {255, 440};
  OnSetTimeOutValue(0);
  kv::String text = kv::ConcatString(kv::GetVariantOfString(Strings::SID_LOCKED_PROGRAMME),
                                     kv::LoadString(PROMPT_SEPARATOR));
  text = kv::ConcatString(text, kv::GetVariantOfString(Strings::SID_ENTER_PIN_CODE));
  SetUpText(prompt_, text, 1, {0, 9, 450, 29});
  entry_.OnResetTimeout = kv::MakeSlot(this, &ChannelLockEnterPin::ResetTimeoutSlot);
  entry_.OnCompleteEntry = kv::MakeSlot(this, &ChannelLockEnterPin::CheckPassword);
  Add(&prompt_);
  Add(&entry_);
  OnSetFocus(&entry_);
  ChannelLockEnterPin::Refresh();
}

void ChannelLockEnterPin::Refresh() {
  KXDWidgetClass::Refresh();
  const int32_t x = (Bounds().W() - kEntryW) / 2;
  prompt_.OnSetBounds({0, 9, Bounds().W(), 29});
  entry_.OnSetBounds({x, 40, x + kEntryW, 40 + kEntryH});
}

void ChannelLockEnterPin::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  OnSetTimeOutValue(0);
  expected_ = StoredPin();
}

kv::Object* ChannelLockEnterPin::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && (key->Code == KEY_EXIT || key->Code == KEY_EXIT_ALT || key->Code == KEY_BACK)) return this;
  return KXDWidgetClass::HandleEvent(event);
}

void ChannelLockEnterPin::CheckPassword(kv::Object* sender) {
  if (!kv::Cast<SkinBin::PinEntry>(sender)) return;
  Check(this, entry_, expected_);
}

// --- TempUnlock -------------------------------------------------------------------------

TempUnlock::TempUnlock() {
  WinID = WinIDs::WIN_ID_PinEntry;
  KeyRoutingForm::OnSetBounds({0, 0, 430, 280});
  OnSetTimeOutValue(0);
  OnSetCaption(kv::GetVariantOfString(Strings::SID_CH_LOCKED));
  SetUpText(heading_, kv::GetVariantOfString(Strings::SID_ACTIVE), 2, {17, 0, 411, 30});
  SetUpText(prompt_, kv::GetVariantOfString(Strings::SID_MSG_LOCKS_ACTIVE_TEMP_PROMPT), 1, {0, 48, 430, 102});
  const int32_t x = (430 - kEntryW) / 2;
  entry_.OnSetBounds({x, 110, x + kEntryW, 110 + kEntryH});
  entry_.OnResetTimeout = kv::MakeSlot(this, &TempUnlock::ResetTimeoutSlot);
  cancel_.OnSetText(kv::GetVariantOfString(Strings::SID_CANCEL));
  cancel_.OnSetBounds({30, 210, 150, 240});
  done_.OnSetText(kv::GetVariantOfString(Strings::SID_DONE));
  done_.OnSetBounds({276, 210, 396, 240});
  for (SkinBin::Button* b : {&cancel_, &done_}) b->OnActivate = kv::MakeSlot(this, &TempUnlock::ButtonSlot);
  Add(&heading_);
  Add(&prompt_);
  Add(&entry_);
  Add(&cancel_);
  Add(&done_);
  OnSetFocus(&entry_);
}

void TempUnlock::ButtonSlot(kv::Object* sender) {
  if (sender == &done_) {
    Check(this, entry_, StoredPin());
  } else if (sender == &cancel_) {
    Close();
  }
}

kv::Object* TempUnlock::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return BorderWidgetClass::HandleEvent(event);
  if (!MoveFocusByArrow(this, key->Code)) return BorderWidgetClass::HandleEvent(event);
  ResetTimeout();
  return this;
}

}  // namespace ParentalLocks
