// NonMenuSystem::DateSettingDialog and NonMenuSystem::TimeSettingDialog: the
// small editors that the date-and-time dialog (and the recording timer
// editor) opens over itself, on their own layer: month, day and year, or
// hour, minute and AM/PM, as spinners in a row. Right and left move between
// the spinners (wrapping round), up and down change the focused one, back
// closes the editor. Every change goes to the owner at once; closing (back,
// or the time-out, which closes only the editor) signals the change slot.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/slot.h"
#include "units/NonMenuSystem/Spinners.h"
#include "units/NonMenuSystem/WidgetClass.h"

namespace NonMenuSystem {

// The editors' layer over the date-and-time dialog; over a screen of a
// higher layer (the record timer editor) they open one layer above it.
inline constexpr uint32_t kEditorLayer = 64;

class EditorBase : public KXDWidgetClass {
  KV_CLASS(NonMenuSystem, EditorBase, KXDWidgetClass)
 public:
  EditorBase();
  // The widget's initialisation; the layer goes above the screen that opens
  // the editor (the focused screen of the sub-system), so that it stands
  // in front of it whatever its layer.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  // The key-routing form's close, then the change slot.
  void Close() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;

  // The dialog that opened the editor and receives its changes.
  void OnSetOwner(kv::Object* owner) { owner_ = owner; }
  kv::Object* OnGetOwner() const { return owner_.get(); }
  kv::Slot OnChange;
  // Signalled (sender: this editor) after every change for an owner that
  // is not the date-and-time dialog; it reads the values from the editor.
  kv::Slot OnValueReport;

 protected:
  static constexpr int32_t kSpinners = 3;
  // The spinner at `i` (0 to 2).
  virtual ::Button::ButtonClass* Spinner(int32_t) { return nullptr; }

 private:
  kv::Member<kv::Object> owner_;
};

class DateSettingDialog : public EditorBase {
  KV_CLASS(NonMenuSystem, DateSettingDialog, EditorBase)
 public:
  static constexpr int32_t kFirstYear = 2010;
  static constexpr int32_t kLastYear = 2030;

  DateSettingDialog();
  // Loads the month names.
  void Init();

  void OnSetMonthVal(int32_t month);
  int32_t OnGetMonthVal() { return month_.OnGetCurrent(); }
  void OnSetDateVal(int32_t day);
  int32_t OnGetDateVal() { return day_.OnGetCurrent(); }
  void OnSetYearVal(int32_t year);
  int32_t OnGetYearVal() { return year_.OnGetCurrent(); }
  // A spinner changed (sender: the spinner).
  void ValueChanged(kv::Object* sender);
  bool IsLeapYear();

  TextSpinner& MonthSpinner() { return month_; }
  NumberSpinner& DaySpinner() { return day_; }
  NumberSpinner& YearSpinner() { return year_; }

 protected:
  ::Button::ButtonClass* Spinner(int32_t i) override;

 private:
  void FitDay();

  TextSpinner month_;
  NumberSpinner day_;
  NumberSpinner year_;
};

class TimeSettingDialog : public EditorBase {
  KV_CLASS(NonMenuSystem, TimeSettingDialog, EditorBase)
 public:
  TimeSettingDialog();
  // Loads the AM and PM texts.
  void Init();

  void OnSetHourVal(int32_t hour);
  int32_t OnGetHourVal() { return hour_.OnGetCurrent(); }
  void OnSetMinVal(int32_t minute);
  int32_t OnGetMinVal() { return minute_.OnGetCurrent(); }
  // 0 AM, 1 PM.
  void OnSetAMPMVal(int32_t ampm);
  int32_t OnGetAMPMVal() { return ampm_.OnGetCurrent(); }
  void ValueChanged(kv::Object* sender);

  NumberSpinner& HourSpinner() { return hour_; }
  NumberSpinner& MinuteSpinner() { return minute_; }
  TextSpinner& AMPMSpinner() { return ampm_; }

 protected:
  ::Button::ButtonClass* Spinner(int32_t i) override;

 private:
  NumberSpinner hour_;
  NumberSpinner minute_;
  TextSpinner ampm_;
};

// The length of a month (0-11) of a year.
int32_t MonthLength(int32_t month, int32_t year);
bool IsLeapYear(int32_t year);

}  // namespace NonMenuSystem
