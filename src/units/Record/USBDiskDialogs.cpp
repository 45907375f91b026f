#include "units/Record/USBDiskDialogs.h"

#include <algorithm>
#include <string>

#include "keys/keycodes.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/MenuSystem.h"
#include "strings/Record.h"
#include "strings/Strings.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Events/PVRPerfStatusEvent.h"
#include "units/Events/PVRUSBFormatEvent.h"
#include "units/Fonts/Fonts.h"
#include "units/MenuSystem/LiveMenuPages.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/QuickMenu/QuickMenu.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Views/Align.h"
#include "units/WinIDs/WinIDs.h"

KV_REGISTER_CLASS(Record::RecordConfirmDialog);
KV_REGISTER_CLASS(Record::RecordStatusDialog);
KV_REGISTER_CLASS(Record::USBDiskStatusDialog);
KV_REGISTER_CLASS(Record::USBDiskErrorDialog);
KV_REGISTER_CLASS(Record::USBDiskFormatDialog);
KV_REGISTER_CLASS(Record::USBSpeedCheckDialog);
KV_REGISTER_CLASS(Record::USBProgressDialog);
KV_REGISTER_CLASS(Record::USBDiskFormatStatusDialog);
KV_REGISTER_CLASS(Record::USBSpeedCheckStatusDialog);

namespace Record {

namespace {

using namespace keys;

// The speed check's progress is this tall (plus twice the frame width).
constexpr int32_t kSpeedCheckHeight = 172;
// The format progress grows this much over its question.
constexpr int32_t kFormatExtraHeight = 40;

const kv::MultiTextId* const kFormatPhases[USBProgressDialog::kPhases] = {&USB_FORMATTING_0, &USB_FORMATTING_1,
                                                                          &USB_FORMATTING_2, &USB_FORMATTING_3};
const kv::MultiTextId* const kCheckPhases[USBProgressDialog::kPhases] = {&USB_CHECKING_0, &USB_CHECKING_1,
                                                                         &USB_CHECKING_2, &USB_CHECKING_3};

kv::String S(const kv::MultiTextId& id) { return kv::GetVariantOfString(id); }
kv::String Cat(const kv::String& a, const kv::String& b) { return kv::ConcatString(a, b); }
kv::String Number(int64_t n) { return kv::NewStringAnsi(std::to_string(n).c_str()); }

const kv::Class* RecordMenu() { return &MenuSystem::VidiRecordMenu::StaticClass(); }

void SetupText(Views::Text& t, int32_t alignH) {
  t.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  t.OnSetColor(Colors::StandardTextColor);
  t.OnSetAlignH(alignH);
  t.OnSetAlignV(Views::ALIGN_CENTER);
  t.OnSetEllipsis(true);
}

void SetHeight(Core::View& v, int32_t height) {
  const kv::Rect b = v.Bounds();
  v.OnSetBounds({b.x1, b.y1, b.x2, b.y1 + height});
}

}  // namespace

// --- RecordConfirmDialog ------------------------------------------------------------------

RecordConfirmDialog::RecordConfirmDialog() {
  // As wide as the one-button notes, so that the questions wrap alike.
  KeyRoutingForm::OnSetBounds({0, 0, 420, 182});
  ConfirmOptionDialog::Refresh();
  WinID = WinIDs::WIN_ID_ConfirmMultiOptionsDialog;
  IsShortcut = true;
  ItemWidth = kItemWidth;
  ItemHeight = kItemHeight;
  for (SkinBin::Button* b : {&yes_, &no_}) {
    b->OnSetBounds({0, 0, ItemWidth, ItemHeight});
    b->OnActivate = kv::MakeSlot(this, &RecordConfirmDialog::DoActivate);
    Add(b);
  }
  OnSetYesButtonLabel(S(Strings::SID_OK));
  OnSetNoButtonLabel(S(Strings::SID_CANCEL));
  OnNoSlot = kv::MakeSlot<WidgetClass>(this, &WidgetClass::EnterPrevStateSlot);
  OnSetFocus(&no_);
  RecordConfirmDialog::Refresh();
}

void RecordConfirmDialog::Refresh() {
  ConfirmOptionDialog::Refresh();
  PlaceButtonPair(yes_, no_);
}

void RecordConfirmDialog::OnSetYesButtonLabel(const kv::String& text) {
  ConfirmOptionDialog::OnSetYesButtonLabel(text);
  yes_.OnSetText(text);
}

void RecordConfirmDialog::OnSetNoButtonLabel(const kv::String& text) {
  ConfirmOptionDialog::OnSetNoButtonLabel(text);
  no_.OnSetText(text);
}

kv::Object* RecordConfirmDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return ConfirmOptionDialog::HandleEvent(event);
  switch (key->Code) {
    case KEY_DOWN: SelectLower(); break;
    case KEY_UP: SelectUpper(); break;
    case KEY_LEFT:
      if (no_.IsFocused()) OnSetFocus(&yes_);
      break;
    case KEY_RIGHT:
      if (yes_.IsFocused()) OnSetFocus(&no_);
      break;
    default: return ConfirmOptionDialog::HandleEvent(event);
  }
  ResetTimeout();
  return this;
}

void RecordConfirmDialog::DoActivate(kv::Object* sender) {
  if (sender == &no_)
    kv::Signal(OnNoSlot, this);
  else if (sender == &yes_)
    DoYesMethod();
}

void RecordConfirmDialog::DoYesMethod(kv::Object*) {
  kv::Signal(OnYesSlot, this);
  EnterNextState();
}

// --- RecordStatusDialog -------------------------------------------------------------------

RecordStatusDialog::RecordStatusDialog() {
  ItemWidth = kItemWidth;
  RecordStatusDialog::Refresh();
  button_.OnActivate = kv::MakeSlot(this, &RecordStatusDialog::DoActivate);
  SetButtonLabel(Strings::SID_CANCEL);
}

void RecordStatusDialog::SetButtonLabel(const kv::MultiTextId& id) {
  labelId_ = &id;
  OnSetYesButtonLabel(S(id));
}

void RecordStatusDialog::DoActivate(kv::Object*) {
  if (labelId_ == &Strings::SID_DONE || (labelId_ == &Strings::SID_OK && OkEntersNextState))
    EnterNextState();
  else if (labelId_ == &Strings::SID_OK || labelId_ == &Strings::SID_CANCEL)
    EnterPrevState();
}

void RecordStatusDialog::EnterNextState() {
  if (NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem()) s->ClearHelpBar();
  Close();
  if (IsShortcut)
    HandBackToMenu();
  else if (NextState)
    OpenState(NextState, KvClass());
}

// --- USBDiskStatusDialog --------------------------------------------------------------------

USBDiskStatusDialog::USBDiskStatusDialog() {
  KeyRoutingForm::OnSetBounds({0, 0, 420, 230});
  IsShortcut = true;
  PrevState = NextState = RecordMenu();
  OnSetCaption(S(Strings::RecordMenuUSBDiskStatus));
  SetButtonLabel(Strings::SID_OK);
  static const kv::MultiTextId* const kLabels[kRows] = {&USB_TOTAL_LABEL, &USB_FREE_LABEL, &USB_NAME_LABEL,
                                                        &USB_SPEED_LABEL};
  for (int32_t i = 0; i < kRows; ++i) {
    SetupText(labels_[i], Views::ALIGN_LEFT);
    SetupText(values_[i], Views::ALIGN_RIGHT);
    labels_[i].OnSetString(S(*kLabels[i]));
    Add(&labels_[i]);
    Add(&values_[i]);
  }
  USBDiskStatusDialog::Refresh();
}

void USBDiskStatusDialog::Refresh() {
  RecordStatusDialog::Refresh();
  const int32_t w = Bounds().W();
  const int32_t top = caption_.Bounds().y2 + 10;
  for (int32_t i = 0; i < kRows; ++i) {
    const int32_t y = top + i * 30;
    labels_[i].OnSetBounds({20, y, w / 2, y + 26});
    values_[i].OnSetBounds({w / 2, y, w - 20, y + 26});
  }
}

void USBDiskStatusDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  RecordStatusDialog::Initialize(param);
  if (OpenedFromQuickMenu()) PrevState = NextState = &QuickMenu::QuickMenu::StaticClass();
  for (Views::Text& v : values_) v.OnSetString({});
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  SkinBin::USBDiskStatus* disk = w ? w->GetUSBDiskStatus() : nullptr;
  if (!disk || !disk->Mounted) {
    kv::Log("Record::USBDiskStatusDialog: no USB disk mounted");
    return;
  }
  const kv::String size = kv::LoadString(USB_SIZE_UNIT);
  values_[0].OnSetString(Cat(Number(disk->TotalKiB), size));
  values_[1].OnSetString(Cat(Number(disk->FreeKiB), size));
  values_[2].OnSetString(disk->FileSystem);
  values_[3].OnSetString(w->LastUSBSpeed != 0
                             ? Cat(Number(w->LastUSBSpeed), kv::LoadString(USB_SPEED_UNIT))
                             : S(USB_SPEED_NOT_MEASURED));
}

// --- USBDiskErrorDialog ---------------------------------------------------------------------

USBDiskErrorDialog::USBDiskErrorDialog() {
  IsShortcut = true;
  NextState = RecordMenu();
  OkEntersNextState = true;
  OnSetCaption(S(USB_ERROR_CAPTION));
  OnSetWarningInfo(S(USB_ERROR_WARNING));
  SetButtonLabel(Strings::SID_OK);
}

// --- USBDiskFormatDialog and USBSpeedCheckDialog --------------------------------------------

USBDiskFormatDialog::USBDiskFormatDialog() {
  PrevState = RecordMenu();
  NextState = &USBDiskFormatStatusDialog::StaticClass();
  OnSetCaption(S(MenuSystem::USB_FORMAT_CAPTION));
  OnSetWarningInfo(S(USB_FORMAT_WARNING));
  OnSetYesButtonLabel(S(USB_FORMAT_START));
}

USBSpeedCheckDialog::USBSpeedCheckDialog() {
  PrevState = RecordMenu();
  NextState = &USBSpeedCheckStatusDialog::StaticClass();
  OnSetCaption(S(MenuSystem::USB_SPEED_CHECK_CAPTION));
  OnSetWarningInfo(S(USB_SPEED_QUESTION));
  OnSetYesButtonLabel(S(USB_SPEED_START));
  OnSetFocus(&yes_);
}

// --- USBProgressDialog ----------------------------------------------------------------------

USBProgressDialog::USBProgressDialog() {
  OnSetTimeOutValue(0);
  OnTimeOut = kv::Slot();
  SetupText(status_, Views::ALIGN_LEFT);
  Add(&status_);
  waitingTimer_.OnSetBegin(kWaitingPeriod);
  waitingTimer_.OnSetPeriod(kWaitingPeriod);
  waitingTimer_.OnTrigger = kv::MakeSlot(this, &USBProgressDialog::WaitingSlot);
}

void USBProgressDialog::Refresh() {
  RecordStatusDialog::Refresh();
  const kv::Rect warning = warning_.Bounds();
  const int32_t y = warning.y2 + 8;
  // The waiting phases grow to the right from a fixed start, so that the
  // dots do not make the text jump; the result is centred.
  const int32_t x = Bounds().W() / 2 - 70;
  if (status_.OnGetAlignH() == Views::ALIGN_CENTER)
    status_.OnSetBounds({FrameWidth + 8, y, Bounds().W() - FrameWidth - 8, y + 26});
  else
    status_.OnSetBounds({x, y, Bounds().W() - FrameWidth - 8, y + 26});
}

void USBProgressDialog::OnSetWarningInfo(const kv::String& text) {
  RecordStatusDialog::OnSetWarningInfo(text);
  Post(&WidgetClass::RefreshSlot);
}

void USBProgressDialog::SetPhases(const kv::MultiTextId* const (&phases)[kPhases]) {
  phases_ = phases;
  status_.OnSetString(S(*phases_[0]));
}

void USBProgressDialog::StartWaiting() {
  phase_ = 0;
  if (phases_) status_.OnSetString(S(*phases_[0]));
  status_.OnSetAlignH(Views::ALIGN_LEFT);
  waitingTimer_.OnSetEnabled(true);
  Post(&WidgetClass::RefreshSlot);
}

void USBProgressDialog::WaitingSlot(kv::Object*) {
  phase_ = (phase_ + 1) % kPhases;
  if (phases_) status_.OnSetString(S(*phases_[phase_]));
}

void USBProgressDialog::ShowResult(const kv::String& text, const kv::MultiTextId& label) {
  waitingTimer_.OnSetEnabled(false);
  status_.OnSetString(text);
  status_.OnSetAlignH(Views::ALIGN_CENTER);
  SetButtonLabel(label);
  button_.OnSetEnabled(true);
  button_.OnSetVisible(true);
  OnSetFocus(&button_);
  Post(&WidgetClass::RefreshSlot);
}

// --- USBDiskFormatStatusDialog --------------------------------------------------------------

USBDiskFormatStatusDialog::USBDiskFormatStatusDialog() {
  OnSetCaption(S(MenuSystem::USB_FORMAT_CAPTION));
  OnSetWarningInfo(S(USB_FORMAT_PROGRESS_WARNING));
  SetPhases(kFormatPhases);
  SetButtonLabel(Strings::SID_OK);
  button_.OnSetVisible(false);
  button_.OnSetEnabled(false);
  answerTimer_.OnSetPeriod(0);
  answerTimer_.OnSetBegin(kFormatAnswerLimit);
  answerTimer_.OnTrigger = kv::MakeSlot(this, &USBDiskFormatStatusDialog::NoAnswer);
}

void USBDiskFormatStatusDialog::OnSetWarningInfo(const kv::String& text) {
  const int32_t before = Bounds().H();
  USBProgressDialog::OnSetWarningInfo(text);
  if (Bounds().H() != before) SetHeight(*this, Bounds().H() + kFormatExtraHeight);
}

void USBDiskFormatStatusDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  USBProgressDialog::Initialize(param);
  OnSetTimeOutValue(0);
  StartWaiting();
  answerTimer_.OnSetEnabled(true);
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  const int32_t status = w ? w->USBDiskFormat() : -1;
  // A format that did not start will never report: it failed.
  if (status != 0) {
    kv::Log("Record::USBDiskFormatStatusDialog: the format did not start");
    Finish(status);
  }
}

void USBDiskFormatStatusDialog::Close() {
  answerTimer_.OnSetEnabled(false);
  waitingTimer_.OnSetEnabled(false);
  USBProgressDialog::Close();
}

kv::Object* USBDiskFormatStatusDialog::HandleEvent(Core::Event* event) {
  if (auto* key = kv::Cast<Core::KeyEvent>(event)) {
    if (key->Down) return this;
    return USBProgressDialog::HandleEvent(event);
  }
  if (auto* result = kv::Cast<Events::PVRUSBFormatEvent>(event)) {
    if (IsOpen()) Finish(result->Result);
  }
  return USBProgressDialog::HandleEvent(event);
}

void USBDiskFormatStatusDialog::Finish(int32_t result) {
  answerTimer_.OnSetEnabled(false);
  kv::Trace("%s%i", {kv::LoadString(T_FORMAT_RESULT), result});
  if (result == 0) {
    PrevState = RecordMenu();
    IsShortcut = true;
    ShowResult(S(USB_FORMAT_DONE), Strings::SID_OK);
  } else {
    PrevState = &USBDiskFormatDialog::StaticClass();
    ShowResult(S(USB_FORMAT_FAILED), Strings::SID_OK);
  }
}

void USBDiskFormatStatusDialog::NoAnswer(kv::Object*) {
  if (!IsOpen()) return;
  kv::Log(kv::LoadString(T_FORMAT_NO_ANSWER).ToUtf8());
  PrevState = &USBDiskFormatDialog::StaticClass();
  ShowResult(S(USB_FORMAT_FAILED), Strings::SID_OK);
}

// --- USBSpeedCheckStatusDialog --------------------------------------------------------------

USBSpeedCheckStatusDialog::USBSpeedCheckStatusDialog() {
  IsShortcut = true;
  PrevState = RecordMenu();
  OnSetCaption(S(MenuSystem::USB_SPEED_CHECK_CAPTION));
  OnSetWarningInfo(S(USB_SPEED_PROGRESS_WARNING));
  SetPhases(kCheckPhases);
  SetButtonLabel(Strings::SID_CANCEL);
}

void USBSpeedCheckStatusDialog::OnSetWarningInfo(const kv::String& text) {
  USBProgressDialog::OnSetWarningInfo(text);
  SetHeight(*this, kSpeedCheckHeight + 2 * FrameWidth);
}

void USBSpeedCheckStatusDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  USBProgressDialog::Initialize(param);
  OnSetTimeOutValue(0);
  StartWaiting();
  SkinBin::Wrapper* w = NonMenuSystem::Live::Skin();
  if (!w || w->USBSpeedCheck() != 0) {
    kv::Log("Record::USBSpeedCheckStatusDialog: the speed check did not start");
    ShowResult(S(USB_SPEED_FAILED), Strings::SID_OK);
  }
}

kv::Object* USBSpeedCheckStatusDialog::HandleEvent(Core::Event* event) {
  if (auto* perf = kv::Cast<Events::PVRPerfStatusEvent>(event)) {
    if (IsOpen()) Finish(perf->Speed);
  }
  return USBProgressDialog::HandleEvent(event);
}

void USBSpeedCheckStatusDialog::Finish(int32_t speed) {
  if (SkinBin::Wrapper* w = NonMenuSystem::Live::Skin()) w->LastUSBSpeed = speed;
  OnSetWarningInfo(Cat(Cat(S(USB_SPEED_RESULT_PREFIX), Number(speed)), kv::LoadString(USB_SPEED_UNIT)));
  ShowResult(S(USB_SPEED_DONE), Strings::SID_OK);
}

void USBSpeedCheckStatusDialog::Close() {
  const bool wasOpen = IsOpen();
  waitingTimer_.OnSetEnabled(false);
  USBProgressDialog::Close();
  if (!wasOpen) return;
  if (SkinBin::Wrapper* w = NonMenuSystem::Live::Skin()) w->AbortUSBSpeedCheck();
}

}  // namespace Record
