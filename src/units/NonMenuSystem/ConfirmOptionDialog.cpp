#include "units/NonMenuSystem/ConfirmOptionDialog.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/text.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Core/SeenTexts.h"
#include "units/Events/MediaRemovedEvent.h"
#include "units/Fonts/Fonts.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SubSystem/State.h"
#include "units/WidgetManager/WidgetManager.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(NonMenuSystem::ConfirmOptionDialog);
KV_REGISTER_CLASS(NonMenuSystem::ConfirmOneOptionDialog);
KV_REGISTER_CLASS(NonMenuSystem::ConfirmMultiOptionDialog);

namespace NonMenuSystem {

namespace {
using namespace keys;

constexpr int32_t kButtonGap = 20;
// The one-option dialog's help: OK and back.
constexpr uint32_t kOneOptionHelpMask = 0x40200;
}  // namespace

// --- ConfirmOptionDialog -------------------------------------------------------------

ConfirmOptionDialog::ConfirmOptionDialog() {
  warning_.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  warning_.OnSetColor(Colors::StandardTextColor);
  warning_.OnSetAlignH(1);
  Add(&warning_);
  OnSetFrameWidth(0);
  ConfirmOptionDialog::Refresh();
  warning_.OnSetAutoSize(true);
  YesButtonLabel = kv::GetVariantOfString(Strings::SID_OK);
  NoButtonLabel = kv::GetVariantOfString(Strings::SID_CANCEL);
}

void ConfirmOptionDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  if (auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr) OnSetConfirmType(ref->Value);
}

void ConfirmOptionDialog::Refresh() {
  KXDWidgetClass::Refresh();
  const int32_t w = FrameWidth;
  const int32_t top = HasCaption ? caption_.Bounds().y2 + 8 : w + 8;
  const kv::Rect b = warning_.Bounds();
  warning_.OnSetBounds({w + 8, top, Bounds().W() - w - 8, top + std::max(b.H(), 1)});
}

void ConfirmOptionDialog::OnSetWarningInfo(const kv::String& text) {
  WarningInfo = text;
  const int32_t before = warning_.Bounds().H();
  warning_.OnSetString(text);
  const int32_t after = warning_.Bounds().H();
  if (before == after) return;
  const int32_t height = 2 * FrameWidth + 80 + std::max(before, after) + (HasCaption ? 30 : 0);
  const kv::Rect b = Bounds();
  OnSetBounds({b.x1, b.y1, b.x2, b.y1 + height});
}

void ConfirmOptionDialog::PlaceButtonPair(Core::View& first, Core::View& second) {
  const int32_t x = (Bounds().W() - 2 * ItemWidth - kButtonGap) / 2;
  const int32_t y = Bounds().H() - ItemHeight - FrameWidth - 25;
  first.OnSetBounds({x, y, x + ItemWidth, y + ItemHeight});
  const int32_t nx = x + ItemWidth + kButtonGap;
  second.OnSetBounds({nx, y, nx + ItemWidth, y + ItemHeight});
}

void ConfirmOptionDialog::OnSetItemWidth(int32_t w) {
  ItemWidth = w;
  Post(&WidgetClass::RefreshSlot);
}

void ConfirmOptionDialog::OnSetItemHeight(int32_t h) {
  ItemHeight = h;
  Post(&WidgetClass::RefreshSlot);
}

// --- ConfirmOneOptionDialog ------------------------------------------------------------

ConfirmOneOptionDialog::ConfirmOneOptionDialog() {
  WinID = WinIDs::WIN_ID_ConfirmOneOptionDialog;
  KeyRoutingForm::OnSetBounds({0, 0, 420, 230});
  ItemWidth = 180;
  ItemHeight = 27;
  button_.OnSetBounds({150, 70, 270, 110});
  button_.OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::TimeZoneListButtonNonfocus));
  button_.OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::TimeZoneListButtonFocus));
  button_.OnSetText(YesButtonLabel);
  button_.OnActivate = kv::MakeSlot<WidgetClass>(this, &WidgetClass::EnterNextStateSlot);
  button_.OnFocus = kv::MakeSlot(this, &ConfirmOneOptionDialog::UpdateHelp);
  button_.HelpMask = kOneOptionHelpMask;
  button_.HelpString = kv::ConcatString(kv::ConcatString(kv::GetVariantOfString(Strings::SID_ENTER),
                                                         kv::LoadString(HELP_SEPARATOR)),
                                        kv::GetVariantOfString(Strings::SID_BACK));
  Add(&button_);
  OnSetFocus(&button_);
}

void ConfirmOneOptionDialog::Refresh() {
  ConfirmOptionDialog::Refresh();
  const int32_t x = (Bounds().W() - ItemWidth) / 2;
  const int32_t y = Bounds().H() - ItemHeight - FrameWidth - 20;
  button_.OnSetBounds({x, y, x + ItemWidth, y + ItemHeight});
}

void ConfirmOneOptionDialog::OnSetYesButtonLabel(const kv::String& text) {
  ConfirmOptionDialog::OnSetYesButtonLabel(text);
  button_.OnSetText(text);
}

void ConfirmOneOptionDialog::UpdateHelp(kv::Object* control) {
  auto* button = kv::Cast<SkinBin::Button>(control);
  ::NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  if (button && s) s->UpdateHelp(static_cast<int32_t>(button->HelpMask), button->HelpString);
}

// --- ConfirmMultiOptionDialog ------------------------------------------------------------

ConfirmMultiOptionDialog::ConfirmMultiOptionDialog() {
  WinID = WinIDs::WIN_ID_ConfirmMultiOptionsDialog;
  IsShortcut = true;
  ItemWidth = 110;
  ItemHeight = 27;
  for (SkinBin::Button* b : {&yes_, &no_}) {
    b->OnSetBounds({0, 0, ItemWidth, ItemHeight});
    b->OnActivate = kv::MakeSlot(this, &ConfirmMultiOptionDialog::DoActivate);
    Add(b);
  }
  yes_.OnSetText(YesButtonLabel);
  no_.OnSetText(NoButtonLabel);
  OnNoSlot = kv::MakeSlot<WidgetClass>(this, &WidgetClass::EnterPrevStateSlot);
  OnSetCaption(kv::GetVariantOfString(Strings::SID_RESET));
  OnSetWarningInfo(kv::GetVariantOfString(Strings::SID_SETTINGS_RESET_MSG));
  OnSetFocus(&no_);
  ConfirmMultiOptionDialog::Refresh();
}

void ConfirmMultiOptionDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  ConfirmOptionDialog::Initialize(param);
  if (auto* ref = param ? kv::Cast<SkinBin::UserRefInt>(param->Param.get()) : nullptr) RecordFlag = ref->Flag;
  // The set's own update questions come centred over whatever is open.
  Core::MarkStandsApart(this, ConfirmType == Constants::ConfirmTypeUpdateReminder ||
                                  ConfirmType == Constants::ConfirmTypeStartUpdate);
}

void ConfirmMultiOptionDialog::Refresh() {
  ConfirmOptionDialog::Refresh();
  PlaceButtonPair(yes_, no_);
}

void ConfirmMultiOptionDialog::OnSetYesButtonLabel(const kv::String& text) {
  ConfirmOptionDialog::OnSetYesButtonLabel(text);
  yes_.OnSetText(text);
}

void ConfirmMultiOptionDialog::OnSetNoButtonLabel(const kv::String& text) {
  ConfirmOptionDialog::OnSetNoButtonLabel(text);
  no_.OnSetText(text);
}

kv::Object* ConfirmMultiOptionDialog::HandleEvent(Core::Event* event) {
  if (kv::Cast<Events::MediaRemovedEvent>(event)) {
    if (ConfirmType == Constants::ConfirmTypeStartUpdate && !UpdatePath().Empty()) {
      RemoveUpdatePath();
      ClearAll();
    }
    return ConfirmOptionDialog::HandleEvent(event);
  }
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return ConfirmOptionDialog::HandleEvent(event);
  if (key->Code == KEY_LEFT && !SelectLeft()) OnSetFocus(&no_);
  if (key->Code == KEY_RIGHT && !SelectRight()) OnSetFocus(&yes_);
  switch (ConfirmType) {
    case Constants::ConfirmType3DTimerExpire:
      if (key->Code == KEY_EXIT || key->Code == KEY_EXIT_ALT) return ConfirmOptionDialog::HandleEvent(event);
      return this;
    case Constants::ConfirmTypeStartUpdate:
    case Constants::ConfirmTypeUpdateAvailable:
      return this;
    case Constants::ConfirmTypeTimerRecordWarning:
      if (key->Code == KEY_EXIT || key->Code == KEY_EXIT_ALT || key->Code == KEY_BACK) CancelTimerRecord();
      return ConfirmOptionDialog::HandleEvent(event);
    default:
      return ConfirmOptionDialog::HandleEvent(event);
  }
}

void ConfirmMultiOptionDialog::DoActivate(kv::Object* sender) {
  if (sender == &no_) {
    kv::Signal(OnNoSlot, this);
  } else if (sender == &yes_) {
    if (ConfirmType == Constants::ConfirmTypeResetAll)
      kv::Signal(OnYesSlot, this);
    else
      DoYesMethod();
  }
}

void ConfirmMultiOptionDialog::DoYesMethod(kv::Object*) {
  kv::Signal(OnYesSlot, this);
  EnterNextState();
}

int32_t ConfirmMultiOptionDialog::GetNextStateType() const {
  const kv::Class* pin = KV_LATE_CLASS("NonMenuSystem::EnterPinDialog");
  if (ConfirmType == Constants::ConfirmType3DTimerExpire && pin && NextState == pin) return 11;
  if (ConfirmType == Constants::ConfirmTypeQuickSetup && pin && NextState == pin) return 8;
  if (ConfirmType == Constants::ConfirmTypeUpdateAvailable) return Constants::ConfirmTypeStartUpdate;
  return 0;
}

int32_t ConfirmMultiOptionDialog::GetPrevStateType() const {
  const kv::Class* pin = KV_LATE_CLASS("NonMenuSystem::EnterPinDialog");
  if (ConfirmType == Constants::ConfirmTypeResetAll && pin && PrevState == pin) return 4;
  if (ConfirmType == Constants::ConfirmTypeStartRecord) return RecordFlag ? 2 : 1;
  return 0;
}

void ConfirmMultiOptionDialog::Close() {
  if (::NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem()) s->TimerStandbyTimer().OnSetEnabled(false);
  ConfirmOptionDialog::Close();
}

void ConfirmMultiOptionDialog::ClearAll() {
  ConfirmOptionDialog::ClearAll();
  if (ConfirmType == Constants::ConfirmType3DTimerExpire) Abort3DSlot();
}

bool ConfirmMultiOptionDialog::HandsBackTo(const kv::Class* target) const {
  // A shortcut hands the keys back to the screen that opened it. A setting
  // page closes when one of its rows opens a dialog: opened from the menu
  // with nothing of the target's class open, the target is opened instead.
  if (!IsShortcut) return false;
  if (!MenuTriggered || !target) return true;
  return kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager)->FindFormOf(target) != nullptr;
}

void ConfirmMultiOptionDialog::EnterNextState() {
  ClearHelp(this);
  Close();
  if (HandsBackTo(NextState)) {
    HandBackToMenu();
  } else if (NextState) {
    ::NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
    if (!s) return;
    auto* state = kv::New<SubSystem::State>();
    state->Class = NextState;
    state->PrevState = KvClass();
    state->Param = SkinBin::UserRefInt::Make(GetNextStateType(), TransitionCode());
    s->ChangeState(state);
  }
}

void ConfirmMultiOptionDialog::EnterPrevState() {
  ClearHelp(this);
  Close();
  if (HandsBackTo(PrevState)) {
    HandBackToMenu();
  } else if (PrevState) {
    ::NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
    if (!s) return;
    auto* state = kv::New<SubSystem::State>();
    state->Class = PrevState;
    state->Param = SkinBin::UserRefInt::Make(GetPrevStateType(), TransitionCode());
    s->ChangeState(state);
  }
}

}  // namespace NonMenuSystem
