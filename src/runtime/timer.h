// The timer registry. A timer entry lives inside a GUI object (Core::Timer);
// while it is scheduled, its object is a collection root.
//
// Rules: at most one expiry per timer per pass; after firing the next due
// time is due + period, or now + period when that has already passed; a
// one-shot (period 0) is unscheduled before its callback runs; timers fire in
// due order; a timer scheduled during the timer step waits for the next pass.
#pragma once

#include <utility>
#include <vector>

#include <cstddef>
#include <cstdint>

namespace kv {

class Object;

class TimerEntry {
 public:
  using Callback = void (*)(Object* owner);

  TimerEntry(Object* owner, Callback cb) : owner_(owner), cb_(cb) {}
  TimerEntry(const TimerEntry&) = delete;
  TimerEntry& operator=(const TimerEntry&) = delete;
  ~TimerEntry() { Cancel(); }

  // Schedules the first expiry `begin` ms from now, then every `period` ms
  // (0: once). Rescheduling a scheduled entry restarts it.
  void Schedule(int64_t begin, int64_t period);
  void Cancel();
  bool Scheduled() const { return scheduled_; }
  int64_t Due() const { return due_; }
  int64_t Period() const { return period_; }
  Object* Owner() const { return owner_; }

 private:
  friend class TimerRegistry;
  Object* owner_;
  Callback cb_;
  int64_t due_ = 0;
  int64_t period_ = 0;
  uint64_t seq_ = 0;     // order of scheduling, for ties and the "scheduled during the step" rule
  int32_t index_ = -1;   // position in the registry
  bool scheduled_ = false;
};

class TimerRegistry {
 public:
  // Fires every entry due at `now`, at most once each.
  static void RunExpired(int64_t now);
  // Earliest due time of a scheduled entry, or -1 when none is scheduled.
  static int64_t NextDue();
  static bool AnyScheduled();
  static size_t Count();
  // Calls fn for the owner of every scheduled entry (marking roots).
  static void ForEachOwner(void (*fn)(Object*, void*), void* ctx);
  // Cancels every entry that lies in or belongs to the memory [begin, end)
  // (a construction that did not finish).
  static void CancelIn(const char* begin, const char* end);
  // The same for many blocks at once: `blocks` holds [begin, end) pairs
  // sorted by begin and not overlapping (the garbage of a collection).
  static void CancelInBlocks(const std::vector<std::pair<const char*, const char*>>& blocks);
  static void ResetForTests();
};

}  // namespace kv
