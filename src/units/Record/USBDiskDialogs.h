// The USB-disk screens of the record menu and the quick menu, on two small
// dialog bases:
//
// Record::RecordConfirmDialog (window 0x2000005): a question with a yes and
// a no button side by side (the no button focused); yes signals OnYesSlot
// and enters the next state, no signals OnNoSlot (by default the previous
// state). Up and down move between the controls, left and right between the
// two buttons.
// Record::RecordStatusDialog (window 0x2000004): a note with one button.
// What the button does depends on its label, told by string id: done goes
// on, cancel goes back, OK does what the dialog says (OkEntersNextState).
//
//   USBDiskStatusDialog         capacity, free space, name and last measured
//                               speed; OK back to the record menu (or the
//                               quick menu it was opened from)
//   USBDiskErrorDialog          no disk mounted; OK back to the record menu
//   USBDiskFormatDialog         start or cancel formatting
//   USBDiskFormatStatusDialog   formats the disk; waits (keys swallowed) for
//                               the result, then OK: the record menu after a
//                               success, the format question after a failure
//   USBSpeedCheckDialog         start or cancel the speed check
//   USBSpeedCheckStatusDialog   runs the speed check and shows the speed;
//                               closing it always aborts the check
//
// The format progress has no time-out of its own, but a format that never
// reports ends as a failure after kFormatAnswerLimit ms (a late result
// still replaces it), so that the keys are never held for ever.
#pragma once

#include <cstdint>

#include "runtime/slot.h"
#include "runtime/text.h"
#include "units/Core/Timer.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Views/Text.h"

namespace Record {

class RecordConfirmDialog : public NonMenuSystem::ConfirmOptionDialog {
  KV_CLASS(Record, RecordConfirmDialog, NonMenuSystem::ConfirmOptionDialog)
 public:
  static constexpr int32_t kItemWidth = 110;
  static constexpr int32_t kItemHeight = 27;

  RecordConfirmDialog();

  kv::Object* HandleEvent(Core::Event* event) override;
  // Yes and no side by side, centred, 25 pixels above the bottom.
  void Refresh() override;
  void OnSetYesButtonLabel(const kv::String& text) override;
  void OnSetNoButtonLabel(const kv::String& text) override;

  // The buttons' activation: no signals OnNoSlot, yes runs DoYesMethod.
  void DoActivate(kv::Object* sender);
  void DoYesMethod(kv::Object* sender = nullptr);

  SkinBin::Button& YesButton() { return yes_; }
  SkinBin::Button& NoButton() { return no_; }

  kv::Slot OnYesSlot;
  kv::Slot OnNoSlot;

 protected:
  SkinBin::Button yes_;
  SkinBin::Button no_;
};

class RecordStatusDialog : public NonMenuSystem::ConfirmOneOptionDialog {
  KV_CLASS(Record, RecordStatusDialog, NonMenuSystem::ConfirmOneOptionDialog)
 public:
  static constexpr int32_t kItemWidth = 110;

  RecordStatusDialog();

  // Clears the help bar and closes; a shortcut hands the screen back to the
  // menu, else the next state opens.
  void EnterNextState() override;
  // The button's action by its label (see the file comment).
  void DoActivate(kv::Object* sender = nullptr);
  // The button's label, kept by id.
  void SetButtonLabel(const kv::MultiTextId& id);
  const kv::MultiTextId* ButtonLabel() const { return labelId_; }

  // What OK does: the next state (else the previous one).
  bool OkEntersNextState = false;

 private:
  const kv::MultiTextId* labelId_ = nullptr;
};

class USBDiskStatusDialog : public RecordStatusDialog {
  KV_CLASS(Record, USBDiskStatusDialog, RecordStatusDialog)
 public:
  static constexpr int32_t kRows = 4;  // capacity, free space, name, speed

  USBDiskStatusDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;

  const kv::String& Value(int32_t row) const { return values_[row].OnGetString(); }

 private:
  Views::Text labels_[kRows];
  Views::Text values_[kRows];
};

class USBDiskErrorDialog : public RecordStatusDialog {
  KV_CLASS(Record, USBDiskErrorDialog, RecordStatusDialog)
 public:
  USBDiskErrorDialog();
};

class USBDiskFormatDialog : public RecordConfirmDialog {
  KV_CLASS(Record, USBDiskFormatDialog, RecordConfirmDialog)
 public:
  USBDiskFormatDialog();
};

class USBSpeedCheckDialog : public RecordConfirmDialog {
  KV_CLASS(Record, USBSpeedCheckDialog, RecordConfirmDialog)
 public:
  USBSpeedCheckDialog();
};

// The shared part of the two progress dialogs: a status line under the
// question whose four waiting phases change every kWaitingPeriod ms until
// the result comes.
class USBProgressDialog : public RecordStatusDialog {
  KV_CLASS(Record, USBProgressDialog, RecordStatusDialog)
 public:
  static constexpr int32_t kWaitingPeriod = 500;
  static constexpr int32_t kPhases = 4;

  USBProgressDialog();

  void Refresh() override;
  void OnSetWarningInfo(const kv::String& text) override;

  // The next waiting phase (a slot of the waiting timer).
  void WaitingSlot(kv::Object* sender = nullptr);
  int32_t WaitingPhase() const { return phase_; }
  bool IsWaiting() const { return waitingTimer_.IsEnabled(); }
  const kv::String& StatusText() const { return status_.OnGetString(); }

 protected:
  // The four texts of the waiting phases.
  void SetPhases(const kv::MultiTextId* const (&phases)[kPhases]);
  // Starts the waiting animation at phase 0.
  void StartWaiting();
  // Ends the waiting: the status line shows `text`, centred; the button
  // shows `label`, enabled, visible and focused.
  void ShowResult(const kv::String& text, const kv::MultiTextId& label);

  Views::Text status_;
  Core::Timer waitingTimer_;

 private:
  const kv::MultiTextId* const* phases_ = nullptr;
  int32_t phase_ = 0;
};

class USBDiskFormatStatusDialog : public USBProgressDialog {
  KV_CLASS(Record, USBDiskFormatStatusDialog, USBProgressDialog)
 public:
  static constexpr int32_t kFormatAnswerLimit = 10 * 60 * 1000;

  USBDiskFormatStatusDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void OnSetWarningInfo(const kv::String& text) override;
  void Close() override;

  // The format's result (0 success).
  void Finish(int32_t result);
  // No result within kFormatAnswerLimit (a slot).
  void NoAnswer(kv::Object* sender = nullptr);

 private:
  Core::Timer answerTimer_;
};

class USBSpeedCheckStatusDialog : public USBProgressDialog {
  KV_CLASS(Record, USBSpeedCheckStatusDialog, USBProgressDialog)
 public:
  USBSpeedCheckStatusDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void OnSetWarningInfo(const kv::String& text) override;
  // The base close, then the check is aborted, finished or not.
  void Close() override;

  // The measured speed arrived.
  void Finish(int32_t speed);
};

}  // namespace Record
