// Posted and idle signals, and the weak observer registries.
//
// Queues and registries keep plain (object, method) pairs in runtime-owned
// storage, each with a hash index, so that posting, re-posting, attaching,
// detaching and notifying cost a constant time per item however many wait.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <list>
#include <string>
#include <unordered_map>
#include <vector>

#include "runtime/collector.h"
#include "runtime/ref.h"
#include "runtime/runtime.h"
#include "runtime/slot.h"
#include "runtime/trace.h"

namespace kv {

namespace {

// Hash of any trivially copyable value by its bytes (method pointers
// included), taken eight at a time: a pointer or a method pointer is one or
// two words, mixed in a few steps rather than byte by byte.
template <class T>
size_t HashBytes(const T& v) {
  static_assert(std::is_trivially_copyable_v<T>);
  uint64_t words[(sizeof(T) + 7) / 8] = {};
  std::memcpy(words, &v, sizeof(T));
  uint64_t h = 1469598103934665603ull;
  for (uint64_t w : words) {
    h = (h ^ w) * 0x9e3779b97f4a7c15ull;
    h ^= h >> 29;
  }
  return static_cast<size_t>(h);
}

struct RawSlot {
  Object* obj;
  SlotMethod method;
  bool operator==(const RawSlot& o) const { return obj == o.obj && method == o.method; }
  void Invoke(Object* sender) const { (obj->*method)(sender); }
};
RawSlot Raw(const Slot& s) { return {s.object(), s.method()}; }

struct RawSlotHash {
  size_t operator()(const RawSlot& s) const { return HashBytes(s.obj) * 31 + HashBytes(s.method); }
};

bool Inside(const void* p, const char* begin, const char* end) {
  const char* c = static_cast<const char*>(p);
  return c >= begin && c < end;
}

// A queue of distinct slots in order, with O(1) push, move to the end and pop.
class SlotQueue {
 public:
  bool Contains(const RawSlot& s) const { return index_.count(s) != 0; }
  size_t size() const { return index_.size(); }
  bool empty() const { return index_.empty(); }
  // Appends the slot; one already queued moves to the end when `move` is set,
  // else stays where it is.
  void Push(const RawSlot& s, bool move) {
    auto it = index_.find(s);
    if (it != index_.end()) {
      if (move) order_.splice(order_.end(), order_, it->second);
      return;
    }
    order_.push_back(s);
    index_.emplace(s, std::prev(order_.end()));
  }
  bool Pop(RawSlot& out) {
    if (order_.empty()) return false;
    out = order_.front();
    index_.erase(out);
    order_.pop_front();
    return true;
  }
  template <class F>
  void DropIf(F drop) {
    for (auto it = order_.begin(); it != order_.end();) {
      if (drop(*it)) {
        index_.erase(*it);
        it = order_.erase(it);
      } else {
        ++it;
      }
    }
  }
  template <class F>
  void ForEach(F f) const {
    for (const RawSlot& s : order_) f(s);
  }
  void clear() {
    order_.clear();
    index_.clear();
  }
  void swap(SlotQueue& o) {
    order_.swap(o.order_);
    index_.swap(o.index_);
  }

 private:
  std::list<RawSlot> order_;
  std::unordered_map<RawSlot, std::list<RawSlot>::iterator, RawSlotHash> index_;
};

struct Queues {
  SlotQueue posted;
  SlotQueue idleNext;  // queued during this pass: run at the end of the next one
  SlotQueue idleNow;   // queued during the previous pass: run at the end of this one
  SlotQueue late;      // run once after the drain of this pass
  size_t postedRunThisPass = 0;
  bool capLogged = false;
};
Queues& Q() {
  static Queues q;
  return q;
}

constexpr size_t kMaxQueued = 4096;
// A slot that keeps re-posting itself would hold the pass for ever: after
// this many posted calls in one pass the rest waits for the next pass.
constexpr size_t kMaxPostedPerPass = 4 * kMaxQueued;

// Weak observer registrations of one kind of subject, in attach order per
// subject, with an index for constant-time attach, detach and lookup.
template <class Subject, class SubjectHash>
class ObserverRegistry {
 public:
  void Attach(const Subject& subject, const RawSlot& slot) {
    Key k{subject, slot};
    if (index_.count(k)) return;
    auto& list = bySubject_[subject];
    list.push_back(slot);
    index_.emplace(k, std::prev(list.end()));
  }
  void Detach(const Subject& subject, const RawSlot& slot) {
    auto it = index_.find(Key{subject, slot});
    if (it == index_.end()) return;
    auto sub = bySubject_.find(subject);
    sub->second.erase(it->second);
    if (sub->second.empty()) bySubject_.erase(sub);
    index_.erase(it);
  }
  // Calls each observer of the subject registered when the call began and
  // still registered when its turn comes.
  void Notify(const Subject& subject, Object* sender) {
    auto sub = bySubject_.find(subject);
    if (sub == bySubject_.end()) return;
    std::vector<RawSlot> snapshot(sub->second.begin(), sub->second.end());
    for (const RawSlot& s : snapshot)
      if (index_.count(Key{subject, s})) s.Invoke(sender);
  }
  template <class F>
  void DropIf(F drop) {
    for (auto sub = bySubject_.begin(); sub != bySubject_.end();) {
      auto& list = sub->second;
      for (auto it = list.begin(); it != list.end();) {
        if (drop(sub->first, *it)) {
          index_.erase(Key{sub->first, *it});
          it = list.erase(it);
        } else {
          ++it;
        }
      }
      sub = list.empty() ? bySubject_.erase(sub) : std::next(sub);
    }
  }
  size_t size() const { return index_.size(); }
  void clear() {
    index_.clear();
    bySubject_.clear();
  }

 private:
  struct Key {
    Subject subject;
    RawSlot slot;
    bool operator==(const Key& o) const { return subject == o.subject && slot == o.slot; }
  };
  struct KeyHash {
    size_t operator()(const Key& k) const { return SubjectHash()(k.subject) * 131 + RawSlotHash()(k.slot); }
  };
  std::unordered_map<Subject, std::list<RawSlot>, SubjectHash> bySubject_;
  std::unordered_map<Key, typename std::list<RawSlot>::iterator, KeyHash> index_;
};

struct PointerHash {
  size_t operator()(Object* o) const { return std::hash<Object*>()(o); }
};
// A property: the object and its getter.
struct Property {
  Object* obj;
  RefInt32::Getter getter;
  bool operator==(const Property& o) const { return obj == o.obj && getter == o.getter; }
};
struct PropertyHash {
  size_t operator()(const Property& p) const { return HashBytes(p.obj) * 31 + HashBytes(p.getter); }
};

ObserverRegistry<Object*, PointerHash>& ObjObservers() {
  static ObserverRegistry<Object*, PointerHash> r;
  return r;
}
ObserverRegistry<Property, PropertyHash>& RefObservers() {
  static ObserverRegistry<Property, PropertyHash> r;
  return r;
}

Property PropertyOf(const RefInt32& ref) { return {ref.object(), ref.getter()}; }

}  // namespace

void Signal(const Slot& slot, Object* sender) {
  AssertGuiThread();
  slot.Invoke(sender);
}

void PostSignal(const Slot& slot) {
  AssertGuiThread();
  detail::CheckNotInSweep("PostSignal");
  if (slot.empty()) return;
  auto& q = Q().posted;
  if (!q.Contains(Raw(slot)) && q.size() >= kMaxQueued) {
    Log("'postsignal' is failed. The signal is just delivered");
    slot.Invoke(nullptr);
    return;
  }
  q.Push(Raw(slot), true);
}

void IdleSignal(const Slot& slot) {
  AssertGuiThread();
  detail::CheckNotInSweep("IdleSignal");
  if (slot.empty()) return;
  Q().idleNext.Push(Raw(slot), false);
}

void PostLateSignal(const Slot& slot) {
  AssertGuiThread();
  detail::CheckNotInSweep("PostLateSignal");
  if (slot.empty()) return;
  Q().late.Push(Raw(slot), false);
}

bool SignalsPending() {
  const Queues& q = Q();
  return !q.posted.empty() || !q.idleNext.empty() || !q.idleNow.empty() || !q.late.empty();
}

namespace detail {

// Runs posted signals until none is left, or until this pass has run its
// share; the rest waits for the next pass.
void RunPostedSignals() {
  Queues& q = Q();
  RawSlot s;
  while (!q.posted.empty()) {
    if (q.postedRunThisPass >= kMaxPostedPerPass) {
      if (!q.capLogged)
        Log("PostSignal: " + std::to_string(q.posted.size()) + " signals still queued after " +
            std::to_string(kMaxPostedPerPass) + " calls in one pass; they run in the next pass");
      q.capLogged = true;
      return;
    }
    q.posted.Pop(s);
    ++q.postedRunThisPass;
    s.Invoke(nullptr);
  }
}

// Runs the idle signals queued in the previous pass (posting from them is
// drained too). Idle signals queued now wait for the next pass.
void RunIdleSignals() {
  Queues& q = Q();
  SlotQueue idle;
  idle.swap(q.idleNow);
  RawSlot s;
  while (idle.Pop(s)) {
    s.Invoke(nullptr);
    RunPostedSignals();
  }
}

// Runs the late signals once the drain of this pass is over (and what they
// post). A late signal posted by a late signal runs in this pass too.
void RunLateSignals() {
  Queues& q = Q();
  RawSlot s;
  while (q.late.Pop(s)) {
    s.Invoke(nullptr);
    RunPostedSignals();
  }
}

// The end of a pass: idle signals queued during it become due in the next.
void EndSignalPass() {
  Queues& q = Q();
  q.idleNow.swap(q.idleNext);
  q.postedRunThisPass = 0;
  q.capLogged = false;
}

void MarkSignalQueues(Marker& m) {
  Queues& q = Q();
  for (const SlotQueue* v : {&q.posted, &q.idleNext, &q.idleNow, &q.late}) v->ForEach([&m](const RawSlot& s) { m.Mark(s.obj); });
}

void PurgeObservers(bool (*alive)(Object*)) {
  ObjObservers().DropIf([alive](Object* const& subject, const RawSlot& s) { return !alive(subject) || !alive(s.obj); });
  RefObservers().DropIf(
      [alive](const Property& p, const RawSlot& s) { return !alive(p.obj) || !alive(s.obj); });
}

void DropSignalsAndObserversIn(const char* begin, const char* end) {
  Queues& q = Q();
  for (SlotQueue* v : {&q.posted, &q.idleNext, &q.idleNow, &q.late})
    v->DropIf([begin, end](const RawSlot& s) { return Inside(s.obj, begin, end); });
  ObjObservers().DropIf([begin, end](Object* const& subject, const RawSlot& s) {
    return Inside(subject, begin, end) || Inside(s.obj, begin, end);
  });
  RefObservers().DropIf([begin, end](const Property& p, const RawSlot& s) {
    return Inside(p.obj, begin, end) || Inside(s.obj, begin, end);
  });
}

void ClearObserversForTests() {
  ObjObservers().clear();
  RefObservers().clear();
  Queues& q = Q();
  q.posted.clear();
  q.idleNext.clear();
  q.idleNow.clear();
  q.late.clear();
  q.postedRunThisPass = 0;
  q.capLogged = false;
}

size_t ObserverCountForTests() { return ObjObservers().size() + RefObservers().size(); }

}  // namespace detail

void AttachObjObserver(const Slot& slot, Object* subject) {
  AssertGuiThread();
  detail::CheckNotInSweep("AttachObjObserver");
  if (slot.empty() || !subject) return;
  ObjObservers().Attach(subject, Raw(slot));
}

void DetachObjObserver(const Slot& slot, Object* subject) {
  AssertGuiThread();
  ObjObservers().Detach(subject, Raw(slot));
}

void NotifyObjObservers(Object* subject, Object* sender) {
  AssertGuiThread();
  if (!subject) return;
  ObjObservers().Notify(subject, sender ? sender : subject);
}

void AttachRefObserver(const Slot& slot, const RefInt32& ref) {
  AssertGuiThread();
  detail::CheckNotInSweep("AttachRefObserver");
  if (slot.empty() || ref.IsNull()) return;
  RefObservers().Attach(PropertyOf(ref), Raw(slot));
}

void DetachRefObserver(const Slot& slot, const RefInt32& ref) {
  AssertGuiThread();
  RefObservers().Detach(PropertyOf(ref), Raw(slot));
}

void NotifyRefObservers(const RefInt32& ref) {
  AssertGuiThread();
  RefObservers().Notify(PropertyOf(ref), ref.object());
}

}  // namespace kv
