#include "units/Core/Timer.h"

#include <algorithm>
#include <vector>

#include "runtime/timer_roots.h"
#include "units/Core/View.h"

namespace Core {

KV_REGISTER_CLASS(Core::Timer);

namespace {

// A view that is on no root: a closed screen or a part of one.
bool IsClosedView(kv::Object* object) {
  auto* view = kv::Cast<View>(object);
  return view && !view->GetRoot();
}

// Whether a scheduled timer keeps what it serves alive: not when all it
// serves is closed views, so that a closed screen goes with its pending
// time-outs and animations, whether the clock runs on or stands still. A
// timer inside a view serves that view; a timer object of its own (an
// effect) serves what its fields reference: the views its slots call and
// its outlet moves. Anything else, or a timer that names nothing, is kept.
bool KeepsAlive(kv::Object* owner) {
  kv::Object* container = owner->Container();
  if (container != owner) return !IsClosedView(container);
  const kv::Class* cls = owner->KvClass();
  if (cls->customMark) return true;
  const char* base = reinterpret_cast<const char*>(owner);
  bool names = false;
  // True when `target` is something other than a closed view.
  auto servesOther = [&names](kv::Object* target) {
    if (!target) return false;
    names = true;
    return !IsClosedView(target->Container());
  };
  for (const kv::FieldInfo& f : cls->fields) {
    if (f.kind == kv::FieldKind::kObject) {
      if (servesOther(*reinterpret_cast<kv::Object* const*>(base + f.offset))) return true;
    } else if (f.kind == kv::FieldKind::kVector) {
      for (kv::Object* e : *reinterpret_cast<const std::vector<kv::Object*>*>(base + f.offset))
        if (servesOther(e)) return true;
    } else {
      return true;
    }
  }
  return !names;
}

const bool kFilterSet = (kv::SetTimerRootFilter(&KeepsAlive), true);

}  // namespace

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
