// Mark and sweep. Heap objects form one singly linked list; a collection
// marks from the roots with an explicit stack, purges weak registrations of
// unmarked objects, then frees every unmarked object.
#include "runtime/collector.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/auto_object.h"
#include "runtime/member.h"
#include "runtime/panic.h"
#include "runtime/runtime.h"
#include "runtime/timer.h"

namespace kv {

// Weak registries and signal queues live in other files; they report their
// objects to the collector through these.
namespace detail {
void MarkSignalQueues(Marker& m);
void PurgeObservers(bool (*alive)(Object*));
void ClearObserversForTests();
void PopConstructFrame(ConstructFrame& frame);
}  // namespace detail

class Collector {
 public:
  static Collector& Get() {
    static Collector c;
    return c;
  }

  Object* heap = nullptr;
  size_t live = 0;
  size_t allocatedSince = 0;
  uint32_t epoch = 1;
  bool inSweep = false;
  bool marking = false;
  std::vector<Object*> stack;
  Object* rootSet[16] = {};
  std::vector<void (*)(Marker&)> rootMarkers;
  std::vector<AutoObject*> autoObjects;
  PersistentBase* persistents = nullptr;

  static Object* NextOf(Object* o) { return o->heapNext_; }
  static const char* NameOf(Object* o) { return o->cls_->name; }
  static void ClearPersistents() {
    for (PersistentBase* p = Get().persistents; p; p = p->next_) p->ptr_ = nullptr;
  }

  static bool IsMarked(Object* o) { return o->Container()->markEpoch_ == Get().epoch; }

  void Push(Object* o) {
    if (!o) return;
    if (o->container_) o = o->container_;
    if (!(o->flags_ & Object::kHeap) || o->markEpoch_ == epoch) return;
    o->markEpoch_ = epoch;
    stack.push_back(o);
  }

  size_t Drain(Marker& m) {
    size_t n = 0;
    while (!stack.empty()) {
      ++n;
      Object* o = stack.back();
      stack.pop_back();
      const Class* cls = o->cls_;
      const char* base = reinterpret_cast<const char*>(o);
      for (const FieldInfo& f : cls->fields) {
        if (f.kind == FieldKind::kObject) {
          Push(*reinterpret_cast<Object* const*>(base + f.offset));
        } else {
          const auto& v = *reinterpret_cast<const std::vector<Object*>*>(base + f.offset);
          for (Object* e : v) Push(e);
        }
      }
      if (cls->customMark) o->Mark(m);
    }
    return n;
  }

  void MarkRoots(Marker& m) {
    for (Object* o : rootSet) Push(o);
    for (AutoObject* ao : autoObjects) Push(ao->instance);
    for (PersistentBase* p = persistents; p; p = p->next_) Push(p->ptr_);
    TimerRegistry::ForEachOwner([](Object* o, void*) { Get().Push(o); }, nullptr);
    detail::MarkSignalQueues(m);
    for (auto fn : rootMarkers) fn(m);
  }

#ifdef KV_VERIFY
  // A marked object holding the address of an unmarked heap object (or of
  // an object embedded in one) means a field escaped the field table.
  void Verify() {
    struct Range {
      const char* begin;
      const char* end;
      Object* obj;
    };
    std::vector<Range> unmarked;
    for (Object* o = heap; o; o = o->heapNext_)
      if (o->markEpoch_ != epoch) {
        const char* b = reinterpret_cast<const char*>(o);
        unmarked.push_back({b, b + o->size_, o});
      }
    if (unmarked.empty()) return;
    std::sort(unmarked.begin(), unmarked.end(), [](const Range& a, const Range& b) { return a.begin < b.begin; });
    for (Object* o = heap; o; o = o->heapNext_) {
      if (o->markEpoch_ != epoch) continue;
      const char* b = reinterpret_cast<const char*>(o);
      for (size_t off = sizeof(Object); off + sizeof(void*) <= o->size_; off += sizeof(void*)) {
        const char* p = *reinterpret_cast<const char* const*>(b + off);
        auto it = std::upper_bound(unmarked.begin(), unmarked.end(), p,
                                   [](const char* v, const Range& r) { return v < r.begin; });
        if (it == unmarked.begin()) continue;
        --it;
        if (p >= it->begin && p < it->end) {
          std::string msg = std::string("Mark verifier: ") + o->cls_->name + " at offset " +
                            std::to_string(off) + " holds unmarked " + it->obj->cls_->name;
          Panic(msg.c_str());
        }
      }
    }
  }
#endif

  CollectStats Run() {
    CollectStats st;
    if (marking || inSweep) return st;
    struct Guard {
      bool& flag;
      ~Guard() { flag = false; }
    } guard{marking};
    marking = true;
    stack.clear();
    if (++epoch == 0) epoch = 1;
    Marker m;
    MarkRoots(m);
    Drain(m);
#ifdef KV_VERIFY
    Verify();
#endif
    marking = false;
    detail::PurgeObservers([](Object* o) { return IsMarked(o); });
    // Sweep: unlink the garbage first, then destroy it, so destructors never
    // see a half-updated list.
    std::vector<Object*> garbage;
    Object** link = &heap;
    while (Object* o = *link) {
      if (o->markEpoch_ == epoch) {
        ++st.marked;
        link = &o->heapNext_;
      } else {
        *link = o->heapNext_;
        garbage.push_back(o);
      }
    }
    inSweep = true;
    for (Object* o : garbage) {
      o->~Object();
      std::free(o);
    }
    inSweep = false;
    st.freed = garbage.size();
    live -= garbage.size();
    st.live = live;
    allocatedSince = 0;
    return st;
  }
};

void Marker::Mark(Object* obj) { Collector::Get().Push(obj); }
void MarkObject(Marker& m, Object* obj) { m.Mark(obj); }

namespace detail {

void EndConstruct(ConstructFrame& frame, Object* obj, size_t size) {
  if (reinterpret_cast<char*>(obj) != frame.base) Panic("A GUI object must derive from kv::Object first");
  frame.cls->fieldsRecorded = true;
  PopConstructFrame(frame);
  Collector& c = Collector::Get();
  obj->cls_ = frame.cls;
  obj->size_ = static_cast<uint32_t>(size);
  obj->flags_ |= Object::kHeap;
  obj->markEpoch_ = 0;
  obj->heapNext_ = c.heap;
  c.heap = obj;
  ++c.live;
  ++c.allocatedSince;
}

void RegisterAutoObject(AutoObject* ao) {
  auto& v = Collector::Get().autoObjects;
  if (std::find(v.begin(), v.end(), ao) == v.end()) v.push_back(ao);
}

}  // namespace detail

Object* GetAutoObjectRaw(AutoObject& ao) {
  if (ao.instance) return ao.instance;
  if (ao.creating) Panic("Recursive access to an auto object performing the initialization");
  ao.creating = true;
  detail::RegisterAutoObject(&ao);
  Object* o = NewObjectIndirect(ao.cls());
  ao.instance = o;
  ao.creating = false;
  return o;
}

void LockObject(Object* obj) {
  if (!obj) return;
  Collector& c = Collector::Get();
  for (Object*& slot : c.rootSet)
    if (!slot) {
      slot = obj;
      return;
    }
  Panic("Rootset is full");
}

void UnlockObject(Object* obj) {
  Collector& c = Collector::Get();
  for (Object*& slot : c.rootSet)
    if (slot == obj && obj) {
      slot = nullptr;
      return;
    }
  Panic("Object is not in the rootset");
}

void AddRootMarker(void (*fn)(Marker&)) {
  auto& v = Collector::Get().rootMarkers;
  if (std::find(v.begin(), v.end(), fn) == v.end()) v.push_back(fn);
}

CollectStats Collect() {
  AssertGuiThread();
  return Collector::Get().Run();
}

size_t MarkOnly() {
  Collector& c = Collector::Get();
  if (++c.epoch == 0) c.epoch = 1;
  Marker m;
  c.stack.clear();
  c.MarkRoots(m);
  return c.Drain(m);
}
size_t AllocatedSinceCollect() { return Collector::Get().allocatedSince; }
size_t LiveObjects() { return Collector::Get().live; }
bool InSweep() { return Collector::Get().inSweep; }

std::map<std::string, size_t> HeapCensus() {
  std::map<std::string, size_t> out;
  for (Object* o = Collector::Get().heap; o; o = Collector::NextOf(o)) ++out[Collector::NameOf(o)];
  return out;
}

void ForEachObject(void (*fn)(Object*, void*), void* ctx) {
  // Snapshot: callbacks may allocate.
  std::vector<Object*> all;
  for (Object* o = Collector::Get().heap; o; o = Collector::NextOf(o)) all.push_back(o);
  for (Object* o : all) fn(o, ctx);
}

// Persistent handles: an intrusive list of roots.
PersistentBase::PersistentBase() { Link(); }
PersistentBase::PersistentBase(Object* p) : ptr_(p) { Link(); }
PersistentBase::PersistentBase(const PersistentBase& o) : ptr_(o.ptr_) { Link(); }
PersistentBase& PersistentBase::operator=(const PersistentBase& o) {
  ptr_ = o.ptr_;
  return *this;
}
PersistentBase::~PersistentBase() { Unlink(); }
void PersistentBase::Link() {
  Collector& c = Collector::Get();
  next_ = c.persistents;
  if (next_) next_->prev_ = this;
  c.persistents = this;
}
void PersistentBase::Unlink() {
  Collector& c = Collector::Get();
  if (prev_) prev_->next_ = next_;
  else if (c.persistents == this) c.persistents = next_;
  if (next_) next_->prev_ = prev_;
  prev_ = next_ = nullptr;
}

namespace detail {
// Frees every heap object and clears the roots (tests).
void ResetCollectorForTests() {
  Collector& c = Collector::Get();
  for (Object*& slot : c.rootSet) slot = nullptr;
  for (AutoObject* ao : c.autoObjects) {
    ao->instance = nullptr;
    ao->creating = false;
  }
  Collector::ClearPersistents();
  TimerRegistry::ResetForTests();
  ClearObserversForTests();
  // Everything is garbage now.
  Collect();
  c.allocatedSince = 0;
}
}  // namespace detail

}  // namespace kv
