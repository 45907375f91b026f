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

// An open-addressed index of ids (linear probing, power-of-two capacity, at
// most half full), each stored with its hash. The ids name entries kept
// elsewhere: lookups take a predicate that tells whether an id's entry is the
// one looked for. Erasing shifts the following run back, so no tombstones
// build up however often entries come and go.
class FlatIndex {
 public:
  static constexpr uint32_t kNone = UINT32_MAX;

  // The id whose entry `match` accepts among those stored under `hash`.
  template <class Match>
  uint32_t Find(uint32_t hash, Match match) const {
    if (cells_.empty()) return kNone;
    for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
      const Cell& c = cells_[i];
      if (c.id == kNone) return kNone;
      if (c.hash == hash && match(c.id)) return c.id;
    }
  }
  void Insert(uint32_t hash, uint32_t id) {
    if ((count_ + 1) * 2 > cells_.size()) Grow();
    Place(hash, id);
    ++count_;
  }
  // Removes the id stored under `hash` (which must be there).
  void Erase(uint32_t hash, uint32_t id) {
    size_t i = hash & mask_;
    while (cells_[i].id != id) i = (i + 1) & mask_;
    // Moves back each later cell of the run that may sit in the hole.
    for (size_t j = (i + 1) & mask_; cells_[j].id != kNone; j = (j + 1) & mask_) {
      const size_t home = cells_[j].hash & mask_;
      if (((j - home) & mask_) >= ((j - i) & mask_)) {
        cells_[i] = cells_[j];
        i = j;
      }
    }
    cells_[i] = Cell{};
    --count_;
  }
  size_t size() const { return count_; }
  void clear() {
    std::fill(cells_.begin(), cells_.end(), Cell{});
    count_ = 0;
  }

 private:
  struct Cell {
    uint32_t hash = 0;
    uint32_t id = kNone;
  };
  void Place(uint32_t hash, uint32_t id) {
    size_t i = hash & mask_;
    while (cells_[i].id != kNone) i = (i + 1) & mask_;
    cells_[i] = Cell{hash, id};
  }
  void Grow() {
    std::vector<Cell> old(std::max<size_t>(16, cells_.size() * 2));
    old.swap(cells_);
    mask_ = cells_.size() - 1;
    for (const Cell& c : old)
      if (c.id != kNone) Place(c.hash, c.id);
  }
  std::vector<Cell> cells_;
  size_t mask_ = 0;
  size_t count_ = 0;
};

// A hash folded to the 32 bits the index keeps, its high bits mixed into the
// low ones the index starts from.
uint32_t Fold(size_t h) { return static_cast<uint32_t>((uint64_t{h} * 0x9e3779b97f4a7c15ull) >> 32); }

// Weak observer registrations of one kind of subject, in attach order per
// subject. The registrations live in a table whose places are reused, linked
// per subject, and indexed by (subject, observer) and by subject: attaching,
// detaching and looking up cost a constant time, and a registration made
// where one was dropped before allocates nothing.
template <class Subject, class SubjectHash>
class ObserverRegistry {
 public:
  void Attach(const Subject& subject, const RawSlot& slot) {
    const uint32_t key = KeyHash(subject, slot);
    if (FindEntry(key, subject, slot) != FlatIndex::kNone) return;
    const uint32_t at = SubjectHashOf(subject);
    uint32_t g = bySubject_.Find(at, [&](uint32_t id) { return groups_[id].subject == subject; });
    if (g == FlatIndex::kNone) {
      g = Take(groups_, freeGroups_);
      groups_[g] = Group{subject, FlatIndex::kNone, FlatIndex::kNone};
      bySubject_.Insert(at, g);
    }
    const uint32_t e = Take(entries_, freeEntries_);
    Group& group = groups_[g];
    entries_[e] = Entry{subject, slot, g, group.tail, FlatIndex::kNone, true};
    if (group.tail != FlatIndex::kNone)
      entries_[group.tail].next = e;
    else
      group.head = e;
    group.tail = e;
    byKey_.Insert(key, e);
  }
  void Detach(const Subject& subject, const RawSlot& slot) {
    const uint32_t e = FindEntry(KeyHash(subject, slot), subject, slot);
    if (e != FlatIndex::kNone) Remove(e);
  }
  // Calls each observer of the subject registered when the call began and
  // still registered when its turn comes.
  void Notify(const Subject& subject, Object* sender) {
    const uint32_t g = bySubject_.Find(SubjectHashOf(subject), [&](uint32_t id) { return groups_[id].subject == subject; });
    if (g == FlatIndex::kNone) return;
    // The observers are copied first: a call may attach or detach others.
    constexpr size_t kOnStack = 16;
    RawSlot onStack[kOnStack];
    std::vector<RawSlot> spilled;
    size_t n = 0;
    for (uint32_t e = groups_[g].head; e != FlatIndex::kNone; e = entries_[e].next) {
      if (n == kOnStack) spilled.assign(onStack, onStack + kOnStack);
      if (n >= kOnStack)
        spilled.push_back(entries_[e].slot);
      else
        onStack[n] = entries_[e].slot;
      ++n;
    }
    const RawSlot* snapshot = n > kOnStack ? spilled.data() : onStack;
    for (size_t i = 0; i < n; ++i) {
      const RawSlot s = snapshot[i];
      if (FindEntry(KeyHash(subject, s), subject, s) != FlatIndex::kNone) s.Invoke(sender);
    }
  }
  template <class F>
  void DropIf(F drop) {
    for (uint32_t e = 0; e < entries_.size(); ++e)
      if (entries_[e].live && drop(entries_[e].subject, entries_[e].slot)) Remove(e);
  }
  size_t size() const { return byKey_.size(); }
  void clear() {
    entries_.clear();
    freeEntries_.clear();
    groups_.clear();
    freeGroups_.clear();
    byKey_.clear();
    bySubject_.clear();
  }

 private:
  struct Entry {
    Subject subject;
    RawSlot slot;
    uint32_t group;       // the subject's registrations
    uint32_t prev, next;  // in attach order within the group
    bool live;
  };
  // One subject's registrations: the first and the last attached.
  struct Group {
    Subject subject;
    uint32_t head, tail;
  };

  static uint32_t SubjectHashOf(const Subject& subject) { return Fold(SubjectHash()(subject)); }
  static uint32_t KeyHash(const Subject& subject, const RawSlot& slot) {
    return Fold(SubjectHash()(subject) * 131 + RawSlotHash()(slot));
  }
  uint32_t FindEntry(uint32_t key, const Subject& subject, const RawSlot& slot) const {
    return byKey_.Find(key, [&](uint32_t id) { return entries_[id].subject == subject && entries_[id].slot == slot; });
  }
  // A free place of the table, reused when one was given back.
  template <class T>
  static uint32_t Take(std::vector<T>& table, std::vector<uint32_t>& free) {
    if (!free.empty()) {
      const uint32_t at = free.back();
      free.pop_back();
      return at;
    }
    table.emplace_back();
    return static_cast<uint32_t>(table.size() - 1);
  }
  void Remove(uint32_t e) {
    Entry& entry = entries_[e];
    Group& group = groups_[entry.group];
    (entry.prev != FlatIndex::kNone ? entries_[entry.prev].next : group.head) = entry.next;
    (entry.next != FlatIndex::kNone ? entries_[entry.next].prev : group.tail) = entry.prev;
    byKey_.Erase(KeyHash(entry.subject, entry.slot), e);
    if (group.head == FlatIndex::kNone) {
      bySubject_.Erase(SubjectHashOf(group.subject), entry.group);
      freeGroups_.push_back(entry.group);
    }
    entry.live = false;
    freeEntries_.push_back(e);
  }

  std::vector<Entry> entries_;
  std::vector<uint32_t> freeEntries_;
  std::vector<Group> groups_;
  std::vector<uint32_t> freeGroups_;
  FlatIndex byKey_;      // entries by (subject, observer)
  FlatIndex bySubject_;  // groups by subject
};

struct PointerHash {
  size_t operator()(Object* o) const { return HashBytes(o); }
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
