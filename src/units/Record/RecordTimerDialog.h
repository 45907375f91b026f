// The record timer editor and its duration editor.
//
// Record::RecordTimerDialog edits the Wrapper's active timer: its start (a
// date and a 12-hour time), its duration, how it repeats, the input, medium
// and channel it records, how much earlier it starts and later it ends, and
// whether it is on. Every change is written into the active timer at once;
// Done checks the channel, stores the timer in the set (SetTimer), enters it
// in the recording database (a new one) or writes the changed fields (an
// existing one, IsUpdate), tells the screens (MSG_UPDATE_RECORD_TYPE), and
// starts recording at once for the programme on now (kind 3) or for a timer
// set by hand whose window holds the present moment. A refusal shows its
// message and keeps the dialog open with its values.
//
// Kinds (the opening state's integer): 1 a timer set by hand, 2 a programme
// of the guide, 3 the programme on now (record-now). The opener makes the
// timer to edit the active one, changes state, sets IsUpdate, start and
// duration (SetStart, SetDuration) and calls ApplySourceType.
//
// Record::TimerDurationDialog: hours (0-23) and minutes (0-59, at least 5
// while the hour is 0) as two spinners; every change is written through to
// the editor that opened it.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/string.h"
#include "units/Network/OptionButton.h"
#include "units/NonMenuSystem/Spinners.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Structures/LocalTime.h"
#include "units/Structures/TimerData.h"
#include "units/Structures/VirtualChannel.h"
#include "units/Views/Text.h"

namespace NonMenuSystem {
class OptionDialog;
}
namespace OptionDatabase {
class OptionDataClass;
}

namespace Record {

// Record source types (the editor's kind) and repeat types of a timer.
inline constexpr int32_t kKindTimer = 1;
inline constexpr int32_t kKindGuide = 2;
inline constexpr int32_t kKindStart = 3;
inline constexpr int32_t kTimesNone = 0;
inline constexpr int32_t kTimesEveryday = 1;
inline constexpr int32_t kTimesDaily = 2;
inline constexpr int32_t kTimesWeekly = 3;
inline constexpr int32_t kTimesOnce = 4;
// The shortest duration the editor stores, in seconds.
inline constexpr int32_t kMinDuration = 300;

class RecordTimerDialog : public NonMenuSystem::KXDWidgetClass {
  KV_CLASS(Record, RecordTimerDialog, NonMenuSystem::KXDWidgetClass)
 public:
  RecordTimerDialog();
  ~RecordTimerDialog() override;

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Close() override;
  void EnterPrevState() override;
  void ReInit() override;

  bool OnGetIsUpdate() const { return IsUpdate; }
  void OnSetIsUpdate(bool on);
  int32_t Kind() const { return kind_; }
  bool FromGuide() const { return fromGuide_; }
  // What the opener hands in before ApplySourceType.
  void SetStart(const Structures::LocalTime* start);
  void SetDuration(int32_t seconds) { duration_ = seconds; }
  void SetKind(int32_t kind) { kind_ = kind; }
  // The programme's channel on the medium and input in use: a new timer
  // records it (without one, the channel in tune).
  void SetChannel(const Structures::VirtualChannel* channel);
  const Structures::LocalTime* Start() const { return start_.get(); }
  int32_t Duration() const { return duration_; }

  void ApplySourceType();
  void RefreshGrayout();
  void SetButtonEnable(Button::ButtonClass& button, bool enabled);
  void LoadOptionItem(Network::OptionButton& button);
  // The record's current value and choice from the timer's property: the
  // input's and the channel's choices are by index, the timer holds a
  // source id and a channel number.
  void ReadTimerChoice(OptionDatabase::OptionDataClass* record);
  // Focuses the timer's own choice in the input or channel pop-up.
  void FocusTimerChoice(NonMenuSystem::OptionDialog& dialog);
  void DoValueChange(kv::Object* sender);
  void DoActivate(kv::Object* sender);
  void SetTimerActive(kv::Object* sender = nullptr);
  void ApplyCurrentChannel();
  // The date and time editors' reports: hour12 1-12, ampm 0 AM / 1 PM;
  // monthIndex 0-11 and the full year.
  void UpdateTimeSettings(int32_t hour12, int32_t minute, int32_t ampm);
  void UpdateDateSettings(int32_t monthIndex, int32_t day, int32_t year);
  void UpdateDurationSettings(int32_t hours, int32_t minutes);
  void DoneSlot(kv::Object* sender = nullptr);
  void StartRecord();
  // 0 Sunday to 6 Saturday; month 1-12.
  static int32_t GetWeekDay(int32_t year, int32_t month, int32_t day);
  // Whether a timer set by hand (enabled) records at once when saved at
  // `now`: now lies inside an occurrence of the timer on one of its days.
  static bool IsInWindow(const Structures::TimerData& timer, const Structures::LocalTime& now);
  int32_t GetPrevStateType() const;

  bool IsUpdate = false;

  Views::Text DateLabel, TimeLabel, TypeLabel, InputLabel, ChannelLabel, DurationLabel, MediumLabel;
  Views::Text EarlyLabel, EarlyStartLabel, EndLabel, LateLabel;
  SkinBin::Button DateButton;
  SkinBin::Button TimeButton;
  SkinBin::CheckBoxWithCaption ActiveBox;
  Network::OptionButton TypeButton;
  Network::OptionButton InputButton;
  Network::OptionButton ChannelButton;
  SkinBin::Button DurationButton;
  SkinBin::Button DoneButton;
  Network::OptionButton MediumButton;
  Network::OptionButton EarlyButton;
  Network::OptionButton EndDelayButton;

 private:
  void ShowDate();
  void ShowTime();
  void ShowDuration();
  void WriteStart();
  void SetUpTexts();
  void PlaceColumns();
  // The editors' value reports (sender: the editor).
  void EditorReport(kv::Object* sender);
  // Moves a screen opened from one of this editor's buttons (`button`, in
  // this editor's frame) over it: centred across, and down to the button's
  // middle (`middle`) or its top.
  void PlaceOver(Core::View* form, const kv::Rect& button, bool middle);
  // Done's database step; false when the insert failed (the timer was taken
  // back out of the set).
  bool StoreInDatabase();
  void ShowRefusal(int32_t type);

  int32_t kind_ = kKindTimer;
  bool fromGuide_ = false;
  kv::Member<Structures::LocalTime> start_;
  kv::Member<Structures::VirtualChannel> channel_;
  int32_t duration_ = 3600;
  // The active timer as ApplySourceType found it, for Done's update.
  kv::Member<Structures::TimerData> captured_;
  int32_t savedSource_ = 0;
  bool reloadOptions_ = false;
};

class TimerDurationDialog : public NonMenuSystem::KXDWidgetClass {
  KV_CLASS(Record, TimerDurationDialog, NonMenuSystem::KXDWidgetClass)
 public:
  TimerDurationDialog();
  kv::Object* HandleEvent(Core::Event* event) override;

  void OnSetHourVal(int32_t h);
  int32_t OnGetHourVal() const { return HourVal; }
  void OnSetMinVal(int32_t m);
  int32_t OnGetMinVal() const { return MinVal; }
  void ValueChanged(kv::Object* sender = nullptr);
  void OnSetEditor(RecordTimerDialog* editor) { editor_ = editor; }

  int32_t HourVal = 0;
  int32_t MinVal = 0;
  NonMenuSystem::NumberSpinner Hours;
  NonMenuSystem::NumberSpinner Minutes;

 private:
  void ApplyMinimum();

  SkinBin::Navigator navigator_;
  Views::Text separator_;
  kv::Member<RecordTimerDialog> editor_;
};

// The open guide or recording list the editor and record now stand over
// (it takes the keys again when they close), or null.
Primitives::KeyRoutingForm* ScreenUnderEditor();
// A copy of a timer record (the start time copied too).
Structures::TimerData* CopyTimer(const Structures::TimerData* t);
Structures::LocalTime* CopyLocalTime(const Structures::LocalTime* t);

}  // namespace Record
