#include "units/NonMenuSystem/DateTimeDialog.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/slot.h"
#include "runtime/trace.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Fonts/Fonts.h"
#include "units/ListForm/PagedList.h"
#include "units/NonMenuSystem/DateTimeEditors.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/Structures/AMPMHour.h"
#include "units/Structures/LocalTime.h"
#include "units/SubSystem/State.h"
#include "units/Wrapper/Wrapper.h"

KV_REGISTER_CLASS(NonMenuSystem::DateTimeDialog);

namespace NonMenuSystem {

namespace {

using namespace keys;

constexpr int32_t kYearBase = 1900;
constexpr int32_t kPM = 1;
// Where an editor stands: under its button.
constexpr int32_t kEditorGap = 4;

Wrapper::Wrapper* TheWrapper() { return kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper); }

void SetUpButton(SkinBin::Button& b, kv::Rect bounds, const kv::Class* target) {
  b.OnSetBounds(bounds);
  b.TargetClass = target;
  b.OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonNonfocus));
  b.OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::DialogButtonFocus));
  b.OnSetTextAlignH(1);
}

void SetUpLabel(Views::Text& t, kv::Rect bounds, const kv::MultiTextId& text) {
  t.OnSetBounds(bounds);
  t.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  t.OnSetColor(Colors::StandardTextColor);
  t.OnSetAlignV(1);
  t.OnSetString(kv::GetVariantOfString(text));
}

constexpr kv::Rect kDateLabel{26, 56, 124, 80};
constexpr kv::Rect kTimeLabel{176, 56, 275, 80};

// The headings over the two buttons; while an editor covers both buttons,
// only the edited field's heading shows, at the editor's left end.
enum class Editing { kNone, kDate, kTime };
void ShowHeadings(Views::Text& date, Views::Text& time, Editing editing) {
  date.OnSetVisible(editing != Editing::kTime);
  time.OnSetVisible(editing != Editing::kDate);
  time.OnSetBounds(editing == Editing::kTime ? kDateLabel : kTimeLabel);
}

void SetUpBox(::Button::CheckBox& box, kv::Rect bounds, const kv::MultiTextId& source) {
  box.OnSetBounds(bounds);
  box.OnSetText(kv::ConcatString(kv::GetVariantOfString(Strings::AutoUpdateTime), kv::GetVariantOfString(source)));
  box.OnSetNonfocused_BackgroundBitmap(nullptr);
  box.OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::TimeZoneListButtonFocus));
}

}  // namespace

DateTimeDialog::DateTimeDialog() {
  OnSetBounds({0, 0, 380, 310});
  OnSetFrameWidth(0);
  OnSetCaption(kv::GetVariantOfString(Strings::SettingsMenuDateTime));
  SetUpLabel(dateLabel_, kDateLabel, Strings::TodaysDate);
  SetUpLabel(timeLabel_, kTimeLabel, Strings::CurrentTime);
  SetUpButton(dateButton_, {26, 86, 136, 113}, &DateSettingDialog::StaticClass());
  SetUpButton(timeButton_, {176, 86, 286, 113}, &TimeSettingDialog::StaticClass());
  // The widest date of every menu language ("sept. 30 2026") fits the
  // date button in the small font; the time button matches it.
  dateButton_.OnSetTextFont(Resources::LoadResource(Fonts::ExtraSmallFont));
  timeButton_.OnSetTextFont(Resources::LoadResource(Fonts::ExtraSmallFont));
  dateButton_.OnSetTextEllipsis(true);
  SetUpBox(channelBox_, {26, 136, 306, 163}, Strings::SID_CHANNEL);
  SetUpBox(networkBox_, {26, 176, 306, 203}, Strings::SID_NETWORK);
  dateButton_.OnActivate = kv::MakeSlot(this, &DateTimeDialog::DoActivate);
  timeButton_.OnActivate = kv::MakeSlot(this, &DateTimeDialog::DoActivate);
  channelBox_.OnActivate = kv::MakeSlot(this, &DateTimeDialog::SetAutoUpdateNet);
  networkBox_.OnActivate = kv::MakeSlot(this, &DateTimeDialog::SetAutoUpdateNTP);
  Add(&dateLabel_);
  Add(&timeLabel_);
  Add(&dateButton_);
  Add(&timeButton_);
  Add(&channelBox_);
  Add(&networkBox_);
  localTime_ = kv::New<Structures::LocalTime>();
  OnSetFocus(&dateButton_);
}

void DateTimeDialog::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  Wrapper::Wrapper* w = TheWrapper();
  SetAutoUpdateStatus(w->GetAutoTimeUpdate());
  localTime_ = w->GetCurrentTime();
  edited_ = 0;
  ShowDate();
  timeButton_.OnSetText(Wrapper::Wrapper::GetTimeAMPM(localTime_->Hour, localTime_->Minute));
  OnSetFocus(IsAutoUpdate ? static_cast<Core::View*>(&channelBox_) : &dateButton_);
}

void DateTimeDialog::ShowDate() {
  const Structures::LocalTime* t = localTime_.get();
  const kv::String sep = kv::LoadString(DATE_SEPARATOR);
  kv::String text = kv::ConcatString(ListForm::MonthName(t->Month), sep);
  text = kv::ConcatString(text, kv::NewStringInt(t->Day, 0));
  text = kv::ConcatString(text, sep);
  dateButton_.OnSetText(kv::ConcatString(text, kv::NewStringInt(t->Year + kYearBase, 0)));
}

// --- Automatic update --------------------------------------------------------------

void DateTimeDialog::SetAutoUpdateStatus(int32_t status) {
  if (status <= 0) {
    AutoUpdateNet = false;
    AutoUpdateNTP = false;
  } else if (status == 1 || status == 2 || status == 3) {
    AutoUpdateNet = status != 2;
    AutoUpdateNTP = status != 1;
  } else {
    kv::Trace("%s%i", {kv::LoadString(T_BAD_AUTO_TIME_STATUS), status});
  }
  channelBox_.OnSetIsChecked(AutoUpdateNet);
  networkBox_.OnSetIsChecked(AutoUpdateNTP);
  OnSetIsAutoUpdate(status > 0);
}

int32_t DateTimeDialog::GetAutoUpdateStatus() {
  const int32_t status = AutoUpdateNet ? (AutoUpdateNTP ? 3 : 1) : (AutoUpdateNTP ? 2 : 0);
  OnSetIsAutoUpdate(status > 0);
  return status;
}

void DateTimeDialog::OnSetIsAutoUpdate(bool flag) {
  IsAutoUpdate = flag;
  dateButton_.OnSetIsDisabled(flag);
  timeButton_.OnSetIsDisabled(flag);
}

void DateTimeDialog::WriteAutoUpdateStatus() {
  const int32_t status = GetAutoUpdateStatus();
  kv::Trace("%s%i", {kv::LoadString(T_AUTO_TIME_STATUS), status});
  TheWrapper()->SetAutoTimeUpdate(status);
  channelBox_.OnSetIsChecked(AutoUpdateNet);
  networkBox_.OnSetIsChecked(AutoUpdateNTP);
}

void DateTimeDialog::OnSetAutoUpdateNet(bool flag) {
  AutoUpdateNet = flag;
  WriteAutoUpdateStatus();
}

void DateTimeDialog::OnSetAutoUpdateNTP(bool flag) {
  AutoUpdateNTP = flag;
  WriteAutoUpdateStatus();
}

void DateTimeDialog::SetAutoUpdateNet(kv::Object*) {
  OnSetAutoUpdateNet(!AutoUpdateNet);
  ResetTimeout();
}

void DateTimeDialog::SetAutoUpdateNTP(kv::Object*) {
  OnSetAutoUpdateNTP(!AutoUpdateNTP);
  ResetTimeout();
}

// --- Editors -------------------------------------------------------------------------

void DateTimeDialog::DoActivate(kv::Object* sender) {
  auto* button = kv::Cast<SkinBin::Button>(sender);
  ::NonMenuSystem::NonMenuSystem* s = OnGetNonMenuSystem();
  if (!button || !button->TargetClass || button->OnGetIsDisabled() || !s) return;
  auto* param = kv::New<SkinBin::UserRefInt>();
  param->Code = TransitionCode();
  auto* state = kv::New<SubSystem::State>();
  state->Class = button->TargetClass;
  state->Param = param;
  auto* editor = kv::Cast<EditorBase>(s->ChangeState(state));
  if (!editor) return;
  editor->OnSetOwner(this);
  editor->OnChange = kv::MakeSlot(this, &DateTimeDialog::LocalTimeChanged);
  const Structures::LocalTime* t = localTime_.get();
  ShowHeadings(dateLabel_, timeLabel_, kv::Cast<DateSettingDialog>(editor) ? Editing::kDate : Editing::kTime);
  if (auto* date = kv::Cast<DateSettingDialog>(editor)) {
    date->OnSetYearVal(t->Year + kYearBase);
    date->OnSetMonthVal(t->Month);
    date->OnSetDateVal(t->Day);
  } else if (auto* time = kv::Cast<TimeSettingDialog>(editor)) {
    Structures::AMPMHour* ampm = Wrapper::Wrapper::Convert24HourToAMPM(t->Hour);
    time->OnSetMinVal(t->Minute);
    time->OnSetHourVal(ampm->Hour);
    time->OnSetAMPMVal(ampm->AM ? 0 : kPM);
  }
  // Over the row of the two buttons and as wide as it, whichever it edits:
  // both buttons hide whole (no end of the other one shows beside it), and
  // the editor stays inside the dialog's frame. Its bottom stays above the
  // check boxes' row, so that it covers no text of the dialog in part.
  const kv::Rect b = button->Bounds();
  const kv::Rect e = editor->Bounds();
  const int32_t x = Bounds().x1 + dateButton_.Bounds().x1;
  const int32_t w = std::max(e.W(), timeButton_.Bounds().x2 - dateButton_.Bounds().x1);
  const int32_t y = Bounds().y1 + std::min(b.y1, channelBox_.Bounds().y1 - kEditorGap - e.H());
  editor->OnSetBounds({x, y, x + w, y + e.H()});
}

void DateTimeDialog::UpdateDateSettings(int32_t month, int32_t day, int32_t year) {
  Structures::LocalTime* t = localTime_.get();
  if (t->Day != day) edited_ |= kEditedDay;
  if (t->Month != month) edited_ |= kEditedMonth;
  if (t->Year != year - kYearBase) edited_ |= kEditedYear;
  t->Day = day;
  t->Month = month;
  t->Year = year - kYearBase;
  ShowDate();
}

void DateTimeDialog::UpdateTimeSettings(int32_t hour, int32_t minute, int32_t ampm) {
  const bool pm = ampm == kPM;
  int32_t hour24 = hour;
  if (!pm && hour == 12) hour24 = 0;
  else if (pm && hour != 12) hour24 = hour + 12;
  Structures::LocalTime* t = localTime_.get();
  if (t->Hour != hour24) edited_ |= kEditedHour;
  if (t->Minute != minute) edited_ |= kEditedMinute;
  t->Hour = hour24;
  t->Minute = minute;
  kv::String text = kv::ConcatString(kv::NewStringInt(hour, 2), kv::LoadString(CLOCK_SEPARATOR));
  text = kv::ConcatString(text, kv::NewStringInt(minute, 2));
  text = kv::ConcatString(text, kv::LoadString(AMPM_SEPARATOR));
  timeButton_.OnSetText(kv::ConcatString(text, kv::GetVariantOfString(pm ? TIME_PM : TIME_AM)));
}

void DateTimeDialog::LocalTimeChanged(kv::Object*) {
  // The clock went on while the editor was open: start from it now.
  Wrapper::Wrapper* w = TheWrapper();
  Structures::LocalTime* now = w->GetCurrentTime();
  const Structures::LocalTime* edit = localTime_.get();
  if (edited_ & kEditedYear) now->Year = edit->Year;
  if (edited_ & kEditedMonth) now->Month = edit->Month;
  if (edited_ & kEditedDay) now->Day = edit->Day;
  if (edited_ & kEditedHour) now->Hour = edit->Hour;
  if (edited_ & kEditedMinute) now->Minute = edit->Minute;
  if (edited_ & (kEditedHour | kEditedMinute)) now->Second = 0;
  // A day that the new month or year does not have becomes its last day.
  const int32_t last = MonthLength(now->Month, now->Year + kYearBase);
  if (now->Day > last) now->Day = last;
  if (edited_ != 0) w->SetCurrentTime(now);
  edited_ = 0;
  localTime_ = w->GetCurrentTime();
  ShowDate();
  timeButton_.OnSetText(Wrapper::Wrapper::GetTimeAMPM(localTime_->Hour, localTime_->Minute));
  ShowHeadings(dateLabel_, timeLabel_, Editing::kNone);
  // The dialog takes the keys again.
  if (IsOpen())
    if (Core::Group* owner = Owner()) owner->OnSetFocus(this);
}

// --- Keys ------------------------------------------------------------------------------

kv::Object* DateTimeDialog::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return KXDWidgetClass::HandleEvent(event);
  Core::View* focus = OnGetFocus();
  Core::View* next = nullptr;
  switch (key->Code) {
    case KEY_DOWN:
      if (focus == &dateButton_ || focus == &timeButton_) next = &channelBox_;
      else if (focus == &channelBox_) next = &networkBox_;
      break;
    case KEY_UP:
      if (focus == &networkBox_) next = &channelBox_;
      else if (focus == &channelBox_ && !dateButton_.OnGetIsDisabled()) next = &dateButton_;
      break;
    case KEY_RIGHT:
      if (focus == &dateButton_) next = &timeButton_;
      break;
    case KEY_LEFT:
      if (focus == &timeButton_) next = &dateButton_;
      break;
    default:
      return KXDWidgetClass::HandleEvent(event);
  }
  if (next) OnSetFocus(next);
  ResetTimeout();
  return this;
}

}  // namespace NonMenuSystem
