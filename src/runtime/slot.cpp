// Posted and idle signals, and the weak observer registries.
#include <algorithm>
#include <cstdio>
#include <deque>
#include <vector>

#include "runtime/collector.h"
#include "runtime/ref.h"
#include "runtime/runtime.h"
#include "runtime/slot.h"
#include "runtime/trace.h"

namespace kv {

namespace {

struct Queues {
  std::vector<Slot> posted;
  std::vector<Slot> idleNext;  // queued during this pass: run at the end of the next one
  std::vector<Slot> idleNow;   // queued during the previous pass: run at the end of this one
  std::vector<Slot> late;      // run once after the drain of this pass
};
Queues& Q() {
  static Queues q;
  return q;
}

constexpr size_t kMaxQueued = 4096;

struct ObjObserver {
  Object* subject;
  Slot slot;
};
struct RefObserver {
  RefInt32 ref;
  Slot slot;
};
std::vector<ObjObserver>& ObjObservers() {
  static std::vector<ObjObserver> v;
  return v;
}
std::vector<RefObserver>& RefObservers() {
  static std::vector<RefObserver> v;
  return v;
}

bool SameProperty(const RefInt32& a, const RefInt32& b) {
  return a.object() == b.object() && a.getter() == b.getter();
}

}  // namespace

void Signal(const Slot& slot, Object* sender) { slot.Invoke(sender); }

void PostSignal(const Slot& slot) {
  AssertGuiThread();
  if (slot.empty()) return;
  auto& q = Q().posted;
  auto it = std::find(q.begin(), q.end(), slot);
  if (it != q.end()) {
    q.erase(it);
  } else if (q.size() >= kMaxQueued) {
    Log("'postsignal' is failed. The signal is just delivered");
    slot.Invoke(nullptr);
    return;
  }
  q.push_back(slot);
}

void IdleSignal(const Slot& slot) {
  AssertGuiThread();
  if (slot.empty()) return;
  auto& q = Q().idleNext;
  if (std::find(q.begin(), q.end(), slot) == q.end()) q.push_back(slot);
}

void PostLateSignal(const Slot& slot) {
  AssertGuiThread();
  if (slot.empty()) return;
  auto& q = Q().late;
  if (std::find(q.begin(), q.end(), slot) == q.end()) q.push_back(slot);
}

bool SignalsPending() {
  const Queues& q = Q();
  return !q.posted.empty() || !q.idleNext.empty() || !q.idleNow.empty() || !q.late.empty();
}

namespace detail {

// Runs posted signals until none is left, then the idle signals queued in the
// previous pass (posting from them is drained too), then the late signals
// (and what they post).
void RunSignals() {
  Queues& q = Q();
  auto drain = [&q] {
    while (!q.posted.empty()) {
      Slot s = q.posted.front();
      q.posted.erase(q.posted.begin());
      s.Invoke(nullptr);
    }
  };
  drain();
  std::vector<Slot> idle;
  idle.swap(q.idleNow);
  for (const Slot& s : idle) {
    s.Invoke(nullptr);
    drain();
  }
  q.idleNow.swap(q.idleNext);
  while (!q.late.empty()) {
    std::vector<Slot> late;
    late.swap(q.late);
    for (const Slot& s : late) {
      s.Invoke(nullptr);
      drain();
    }
  }
}

void MarkSignalQueues(Marker& m) {
  Queues& q = Q();
  for (auto* v : {&q.posted, &q.idleNext, &q.idleNow, &q.late})
    for (const Slot& s : *v) m.Mark(s.object());
}

void PurgeObservers(bool (*alive)(Object*)) {
  auto& o = ObjObservers();
  o.erase(std::remove_if(o.begin(), o.end(),
                         [alive](const ObjObserver& e) { return !alive(e.subject) || !alive(e.slot.object()); }),
          o.end());
  auto& r = RefObservers();
  r.erase(std::remove_if(r.begin(), r.end(),
                         [alive](const RefObserver& e) { return !alive(e.ref.object()) || !alive(e.slot.object()); }),
          r.end());
}

void ClearObserversForTests() {
  ObjObservers().clear();
  RefObservers().clear();
  Queues& q = Q();
  q.posted.clear();
  q.idleNext.clear();
  q.idleNow.clear();
  q.late.clear();
}

size_t ObserverCountForTests() { return ObjObservers().size() + RefObservers().size(); }

}  // namespace detail

void AttachObjObserver(const Slot& slot, Object* subject) {
  if (slot.empty() || !subject) return;
  auto& o = ObjObservers();
  for (const auto& e : o)
    if (e.subject == subject && e.slot == slot) return;
  o.push_back({subject, slot});
}

void DetachObjObserver(const Slot& slot, Object* subject) {
  auto& o = ObjObservers();
  o.erase(std::remove_if(o.begin(), o.end(), [&](const ObjObserver& e) { return e.subject == subject && e.slot == slot; }),
          o.end());
}

void NotifyObjObservers(Object* subject, Object* sender) {
  if (!subject) return;
  std::vector<Slot> snapshot;
  for (const auto& e : ObjObservers())
    if (e.subject == subject) snapshot.push_back(e.slot);
  for (const Slot& s : snapshot) {
    // Skip observers detached by an earlier one.
    bool still = false;
    for (const auto& e : ObjObservers())
      if (e.subject == subject && e.slot == s) {
        still = true;
        break;
      }
    if (still) s.Invoke(sender ? sender : subject);
  }
}

void AttachRefObserver(const Slot& slot, const RefInt32& ref) {
  if (slot.empty() || ref.IsNull()) return;
  auto& r = RefObservers();
  for (const auto& e : r)
    if (SameProperty(e.ref, ref) && e.slot == slot) return;
  r.push_back({ref, slot});
}

void DetachRefObserver(const Slot& slot, const RefInt32& ref) {
  auto& r = RefObservers();
  r.erase(std::remove_if(r.begin(), r.end(),
                         [&](const RefObserver& e) { return SameProperty(e.ref, ref) && e.slot == slot; }),
          r.end());
}

void NotifyRefObservers(const RefInt32& ref) {
  std::vector<Slot> snapshot;
  for (const auto& e : RefObservers())
    if (SameProperty(e.ref, ref)) snapshot.push_back(e.slot);
  for (const Slot& s : snapshot) {
    bool still = false;
    for (const auto& e : RefObservers())
      if (SameProperty(e.ref, ref) && e.slot == s) {
        still = true;
        break;
      }
    if (still) s.Invoke(ref.object());
  }
}

}  // namespace kv
