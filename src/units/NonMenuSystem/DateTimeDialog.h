// NonMenuSystem::DateTimeDialog: the set's date and time, and whether the
// clock sets itself from the broadcast channel, the network, both or neither.
//
// The date and time buttons open the editors (DateTimeEditors.h) over the
// dialog; the editors report each change (UpdateDateSettings,
// UpdateTimeSettings), which the buttons show at once, and closing an editor
// writes the time (LocalTimeChanged). The write starts from the set's clock
// as it is then and applies only the fields the editor changed, so the
// minutes the dialog stood open are not lost.
//
// The two check boxes choose the automatic update (status 0 off, 1 channel,
// 2 network, 3 both), written at once; while it is on, the date and time
// buttons are disabled.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/Button/CheckBox.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Views/Text.h"

namespace Structures {
class LocalTime;
}

namespace NonMenuSystem {

class DateTimeDialog : public KXDWidgetClass {
  KV_CLASS(NonMenuSystem, DateTimeDialog, KXDWidgetClass)
 public:
  DateTimeDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;

  // 1 channel, 2 network, 3 both, 0 or less none; other values are traced
  // and leave the flags. The check boxes follow; IsAutoUpdate = status > 0.
  void SetAutoUpdateStatus(int32_t status);
  // The status of the flags; sets IsAutoUpdate.
  int32_t GetAutoUpdateStatus();
  void OnSetIsAutoUpdate(bool flag);
  bool OnGetIsAutoUpdate() const { return IsAutoUpdate; }
  // Set the flag and write the resulting status to the set.
  void OnSetAutoUpdateNet(bool flag);
  bool OnGetAutoUpdateNet() const { return AutoUpdateNet; }
  void OnSetAutoUpdateNTP(bool flag);
  bool OnGetAutoUpdateNTP() const { return AutoUpdateNTP; }
  // The check boxes' actions: toggle the flag.
  void SetAutoUpdateNet(kv::Object* sender = nullptr);
  void SetAutoUpdateNTP(kv::Object* sender = nullptr);

  // The date and time buttons' action: opens the button's editor.
  void DoActivate(kv::Object* sender);
  // What the editors report: month 0-11, day, year (e.g. 2012).
  void UpdateDateSettings(int32_t month, int32_t day, int32_t year);
  // Hour 1-12, minute, AM/PM index (0 AM, 1 PM).
  void UpdateTimeSettings(int32_t hour, int32_t minute, int32_t ampm);
  // An editor closed: writes the edited fields over the set's clock.
  void LocalTimeChanged(kv::Object* sender = nullptr);

  SkinBin::Button& DateButton() { return dateButton_; }
  SkinBin::Button& TimeButton() { return timeButton_; }
  ::Button::CheckBox& ChannelBox() { return channelBox_; }
  ::Button::CheckBox& NetworkBox() { return networkBox_; }
  Structures::LocalTime* OnGetLocalTime() const { return localTime_.get(); }

  bool IsAutoUpdate = false;
  bool AutoUpdateNTP = false;
  bool AutoUpdateNet = false;

 private:
  // Fields an editor changed since the last write.
  enum Edited : uint32_t {
    kEditedDay = 1,
    kEditedMonth = 2,
    kEditedYear = 4,
    kEditedHour = 8,
    kEditedMinute = 16,
  };
  void WriteAutoUpdateStatus();
  void ShowDate();

  Views::Text dateLabel_;
  Views::Text timeLabel_;
  SkinBin::Button dateButton_;
  SkinBin::Button timeButton_;
  ::Button::CheckBox channelBox_;
  ::Button::CheckBox networkBox_;
  kv::Member<Structures::LocalTime> localTime_;
  uint32_t edited_ = 0;
};

}  // namespace NonMenuSystem
