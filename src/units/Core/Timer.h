// Core::Timer: a timer embedded in its owner (`Core::Timer timer;`), driven by
// the runtime's timer step at the end of each GUI loop pass.
//
// Begin is the delay before the first expiry, Period the delay between later
// ones (0: one-shot); negative values count as 0. The setters store the value
// and restart an enabled timer. Enabling starts counting from Begin; a
// disabled timer never fires. At each expiry Trigger() runs, which signals
// OnTrigger (sender: the timer); a one-shot is disabled before that.
#pragma once

#include <cstdint>

#include "runtime/object.h"
#include "runtime/slot.h"
#include "runtime/timer.h"

namespace Core {

class Timer : public kv::Object {
  KV_CLASS(Core, Timer, kv::Object)
 public:
  Timer();
  ~Timer() override;

  void OnSetBegin(int32_t ms);
  int32_t OnGetBegin() { return begin_; }
  void OnSetPeriod(int32_t ms);
  int32_t OnGetPeriod() { return period_; }
  void OnSetEnabled(bool enabled);
  bool OnGetEnabled() { return enabled_; }
  bool IsEnabled() const { return enabled_; }

  // Disables the timer when it is enabled, then enables it: it restarts from
  // Begin. Usable as a slot.
  void Activate(kv::Object* sender = nullptr);
  // Sets Begin and Period and starts the timer at once.
  void Restart(int32_t begin, int32_t period);

  // Signalled at every expiry; may be re-bound while the timer runs.
  kv::Slot OnTrigger;

  // Runs at every expiry; the base signals OnTrigger.
  virtual void Trigger();

 protected:
  // Called each time the timer starts or restarts, before it is scheduled.
  virtual void Started() {}
  // Called when the timer stops (disabled, or a one-shot that expired).
  virtual void Stopped() {}
  // The period the timer is scheduled with; effects never run one-shot.
  virtual int64_t SchedulePeriod() const { return period_; }
  // Counts restarts, so that code running inside Trigger can tell whether a
  // handler restarted or stopped the timer meanwhile.
  uint32_t Generation() const { return generation_; }

 private:
  static void Expired(kv::Object* self);
  void Start();
  void Stop();

  kv::TimerEntry entry_;
  int32_t begin_ = 0;
  int32_t period_ = 1000;
  uint32_t generation_ = 0;
  bool enabled_ = false;
};

}  // namespace Core
