// Update::UpdatingDialog: the progress of a software update that runs. While
// it is open the set is in its critical section (the power timers stand
// still) and the power key does not switch the set off; every key and event
// is swallowed. The progress is polled every second and shown once it is 1
// or more. The result event XPM_EVENT_UBN_RESULT ends it: the critical
// section is left, and the message bar tells the outcome (17 failure, with
// the power key given back; 19 after a USB update, 18 after a network one).
//
// An update that never starts would keep the set locked for ever: while no
// progress has ever been reported, kStartLimit ms without a change end it as
// a failure. Once the update writes, it is never cut short.
#pragma once

#include <cstdint>

#include "runtime/slot.h"
#include "units/Core/Timer.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/Sliders.h"
#include "units/Views/MultilineText.h"
#include "units/Views/Rectangle.h"

namespace Update {

class UpdatingDialog : public NonMenuSystem::WidgetClass {
  KV_CLASS(Update, UpdatingDialog, NonMenuSystem::WidgetClass)
 public:
  static constexpr int32_t kPollPeriod = 1000;
  static constexpr int32_t kStartLimit = 120000;

  UpdatingDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Refresh() override;
  void Close() override;
  void EnterNextState() override;

  // The poll (every kPollPeriod ms).
  void UpdateUpdatingDialog_Slot(kv::Object* sender = nullptr);
  void ShowWaiting(bool flag);
  // Leaves the critical section, goes on to the next state, signals OnStop.
  void StopScan();
  // The outcome of the update (0 success).
  void Finish(int32_t result);
  // No progress within kStartLimit (a slot).
  void StartTimedOut(kv::Object* sender = nullptr);

  const kv::Slot& OnGetOnStop() const { return OnStop; }
  void OnSetOnStop(const kv::Slot& slot) { OnStop = slot; }
  bool IsWaitingShown() const { return bar_.IsVisible(); }
  int32_t Progress() { return bar_.OnGetValue(); }

  kv::Slot OnStop;

 private:
  Views::MultilineText text_;
  Views::Rectangle block_;
  SkinBin::Progress bar_;
  Core::Timer pollTimer_;
  Core::Timer startTimer_;
  int32_t lastProgress_ = 0;
  bool progressSeen_ = false;
  bool inSection_ = false;
};

}  // namespace Update
