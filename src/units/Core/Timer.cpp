#include "units/Core/Timer.h"

#include <algorithm>

namespace Core {

KV_REGISTER_CLASS(Core::Timer);

Timer::Timer() : entry_(this, &Timer::Expired) {}

Timer::~Timer() = default;

void Timer::OnSetBegin(int32_t ms) {
  begin_ = std::max(0, ms);
  if (enabled_) Start();
}

void Timer::OnSetPeriod(int32_t ms) {
  period_ = std::max(0, ms);
  if (enabled_) Start();
}

void Timer::OnSetEnabled(bool enabled) {
  if (enabled)
    Start();
  else if (enabled_)
    Stop();
}

void Timer::Activate(kv::Object* /*sender*/) {
  if (enabled_) Stop();
  Start();
}

void Timer::Restart(int32_t begin, int32_t period) {
  begin_ = std::max(0, begin);
  period_ = std::max(0, period);
  Start();
}

void Timer::Trigger() { kv::Signal(OnTrigger, this); }

void Timer::Start() {
  ++generation_;
  enabled_ = true;
  Started();
  entry_.Schedule(begin_, SchedulePeriod());
}

void Timer::Stop() {
  ++generation_;
  enabled_ = false;
  entry_.Cancel();
  Stopped();
}

void Timer::Expired(kv::Object* self) {
  auto* t = static_cast<Timer*>(self);
  if (!t->enabled_) return;
  // A one-shot has already been taken off the schedule: it is now disabled.
  if (!t->entry_.Scheduled()) t->Stop();
  t->Trigger();
}

}  // namespace Core
