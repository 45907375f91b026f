#include "units/NonMenuSystem/DateTimeEditors.h"

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "strings/NonMenuSystem.h"
#include "strings/Strings.h"
#include "units/Core/Event.h"
#include "units/ListForm/PagedList.h"
#include "units/NonMenuSystem/DateTimeDialog.h"
#include "units/NonMenuSystem/NonMenuSystem.h"

KV_REGISTER_CLASS(NonMenuSystem::EditorBase);
KV_REGISTER_CLASS(NonMenuSystem::DateSettingDialog);
KV_REGISTER_CLASS(NonMenuSystem::TimeSettingDialog);

namespace NonMenuSystem {

namespace {

using namespace keys;

constexpr int32_t kMonthLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr int32_t kFebruary = 1;
// The row of spinners.
constexpr int32_t kSpinnerWidth = 70;
constexpr int32_t kSpinnerHeight = 30;
constexpr int32_t kSpinnerGap = 8;
constexpr int32_t kMargin = 12;

}  // namespace

bool IsLeapYear(int32_t year) { return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0); }

int32_t MonthLength(int32_t month, int32_t year) {
  if (month < 0 || month > 11) return 31;
  return month == kFebruary && IsLeapYear(year) ? 29 : kMonthLength[month];
}

// --- EditorBase -----------------------------------------------------------------------

EditorBase::EditorBase() {
  Layer = kEditorLayer;
  OnSetHasCaption(false);
  // Three spinners with a margin round them, once the frame width is 0.
  const int32_t w = 3 * kSpinnerWidth + 2 * kSpinnerGap + 2 * kMargin;
  const int32_t h = kSpinnerHeight + 2 * kMargin;
  OnSetBounds({0, 0, w + 68, h + 68});
  OnSetFrameWidth(0);
  // The time-out closes the editor alone; the dialog under it stays.
  OnTimeOut = kv::MakeSlot(static_cast<WidgetClass*>(this), &WidgetClass::ExitSlot);
}

void EditorBase::Initialize(Primitives::KeyRoutingParameter* param) {
  KXDWidgetClass::Initialize(param);
  Layer = kEditorLayer;
  ::NonMenuSystem::NonMenuSystem* system = OnGetNonMenuSystem();
  auto* opener = system ? kv::Cast<Primitives::KeyRoutingForm>(system->OnGetFocus()) : nullptr;
  if (opener && opener != this && opener->Layer >= Layer) Layer = opener->Layer << 1;
}

void EditorBase::Close() {
  const bool wasOpen = IsOpen();
  KXDWidgetClass::Close();
  if (wasOpen) kv::Signal(OnChange, this);
}

kv::Object* EditorBase::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return KXDWidgetClass::HandleEvent(event);
  if (key->Code == KEY_BACK) {
    Post(&WidgetClass::ExitSlot);
    ResetTimeout();
    return this;
  }
  if (key->Code != KEY_LEFT && key->Code != KEY_RIGHT) return KXDWidgetClass::HandleEvent(event);
  int32_t at = 0;
  for (int32_t i = 0; i < kSpinners; ++i)
    if (OnGetFocus() == Spinner(i)) at = i;
  const int32_t next = key->Code == KEY_RIGHT ? (at + 1) % kSpinners : (at + kSpinners - 1) % kSpinners;
  OnSetFocus(Spinner(next));
  ResetTimeout();
  return this;
}

void EditorBase::Refresh() {
  KXDWidgetClass::Refresh();
  const int32_t row = 3 * kSpinnerWidth + 2 * kSpinnerGap;
  const int32_t x0 = (Bounds().W() - row) / 2;
  const int32_t y = (Bounds().H() - kSpinnerHeight) / 2;
  for (int32_t i = 0; i < kSpinners; ++i) {
    if (::Button::ButtonClass* s = Spinner(i)) {
      const int32_t x = x0 + i * (kSpinnerWidth + kSpinnerGap);
      s->OnSetBounds({x, y, x + kSpinnerWidth, y + kSpinnerHeight});
    }
  }
}

// --- DateSettingDialog -------------------------------------------------------------

DateSettingDialog::DateSettingDialog() {
  day_.OnSetMinimum(1);
  day_.OnSetMaximum(31);
  day_.OnSetDefaultValue(1);
  day_.OnSetHasLeadingZeros(false);
  year_.OnSetMaximum(kLastYear);
  year_.OnSetMinimum(kFirstYear);
  year_.OnSetDefaultValue(kFirstYear);
  year_.OnSetHasLeadingZeros(false);
  Init();
  for (int32_t i = 0; i < kSpinners; ++i) Add(Spinner(i));
  month_.OnValueChange = kv::MakeSlot(this, &DateSettingDialog::ValueChanged);
  day_.OnValueChange = kv::MakeSlot(this, &DateSettingDialog::ValueChanged);
  year_.OnValueChange = kv::MakeSlot(this, &DateSettingDialog::ValueChanged);
  OnSetFocus(&month_);
  EditorBase::Refresh();
}

void DateSettingDialog::Init() {
  const int32_t current = month_.OnGetCurrent();
  month_.ClearTexts();
  for (int32_t m = 0; m < 12; ++m) month_.AddText(ListForm::MonthName(m));
  month_.OnSetCurrent(current);
}

::Button::ButtonClass* DateSettingDialog::Spinner(int32_t i) {
  ::Button::ButtonClass* row[kSpinners] = {&month_, &day_, &year_};
  return i >= 0 && i < kSpinners ? row[i] : nullptr;
}

void DateSettingDialog::OnSetMonthVal(int32_t month) {
  month_.OnSetCurrent(month);
  FitDay();
}

void DateSettingDialog::OnSetDateVal(int32_t day) { day_.OnSetCurrent(day); }

void DateSettingDialog::OnSetYearVal(int32_t year) {
  year_.OnSetCurrent(year);
  FitDay();
}

bool DateSettingDialog::IsLeapYear() { return ::NonMenuSystem::IsLeapYear(year_.OnGetCurrent()); }

void DateSettingDialog::FitDay() {
  // The range setter keeps the day inside the new range.
  day_.OnSetMaximum(MonthLength(month_.OnGetCurrent(), year_.OnGetCurrent()));
}

void DateSettingDialog::ValueChanged(kv::Object* sender) {
  ResetTimeout();
  if (sender == &month_ || sender == &year_) FitDay();
  if (auto* owner = kv::Cast<DateTimeDialog>(OnGetOwner()))
    owner->UpdateDateSettings(month_.OnGetCurrent(), day_.OnGetCurrent(), year_.OnGetCurrent());
  else if (OnGetOwner())
    kv::Signal(OnValueReport, this);
}

// --- TimeSettingDialog -------------------------------------------------------------

TimeSettingDialog::TimeSettingDialog() {
  hour_.OnSetMaximum(12);
  hour_.OnSetMinimum(1);
  hour_.OnSetDefaultValue(12);
  minute_.OnSetMinimum(0);
  minute_.OnSetMaximum(59);
  Init();
  for (int32_t i = 0; i < kSpinners; ++i) Add(Spinner(i));
  hour_.OnValueChange = kv::MakeSlot(this, &TimeSettingDialog::ValueChanged);
  minute_.OnValueChange = kv::MakeSlot(this, &TimeSettingDialog::ValueChanged);
  ampm_.OnValueChange = kv::MakeSlot(this, &TimeSettingDialog::ValueChanged);
  OnSetFocus(&hour_);
  EditorBase::Refresh();
}

void TimeSettingDialog::Init() {
  const int32_t current = ampm_.OnGetCurrent();
  ampm_.ClearTexts();
  ampm_.AddText(kv::GetVariantOfString(TIME_AM));
  ampm_.AddText(kv::GetVariantOfString(TIME_PM));
  ampm_.OnSetCurrent(current);
}

::Button::ButtonClass* TimeSettingDialog::Spinner(int32_t i) {
  ::Button::ButtonClass* row[kSpinners] = {&hour_, &minute_, &ampm_};
  return i >= 0 && i < kSpinners ? row[i] : nullptr;
}

void TimeSettingDialog::OnSetHourVal(int32_t hour) { hour_.OnSetCurrent(hour); }
void TimeSettingDialog::OnSetMinVal(int32_t minute) { minute_.OnSetCurrent(minute); }
void TimeSettingDialog::OnSetAMPMVal(int32_t ampm) { ampm_.OnSetCurrent(ampm); }

void TimeSettingDialog::ValueChanged(kv::Object*) {
  ResetTimeout();
  if (auto* owner = kv::Cast<DateTimeDialog>(OnGetOwner()))
    owner->UpdateTimeSettings(hour_.OnGetCurrent(), minute_.OnGetCurrent(), ampm_.OnGetCurrent());
  else if (OnGetOwner())
    kv::Signal(OnValueReport, this);
}

}  // namespace NonMenuSystem
