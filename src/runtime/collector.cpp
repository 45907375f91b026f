// Mark and sweep. Heap objects form one singly linked list; a collection
// marks from the roots with an explicit stack, purges weak registrations of
// unmarked objects, then frees every unmarked object.
#include "runtime/collector.h"
#include "runtime/explain_live.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <unordered_map>
#include <string>

#include "runtime/asan.h"
#include "runtime/auto_object.h"
#include "runtime/member.h"
#include "runtime/panic.h"
#include "runtime/runtime.h"
#include "runtime/timer.h"
#include "runtime/timer_roots.h"

namespace kv {

// Weak registries and signal queues live in other files; they report their
// objects to the collector through these.
namespace detail {
void MarkSignalQueues(Marker& m);
void PurgeObservers(bool (*alive)(Object*));
void ClearObserversForTests();
void DropSignalsAndObserversIn(const char* begin, const char* end);
void PopConstructFrame(ConstructFrame& frame);
}  // namespace detail

namespace {
// A small heap is collected after at least this many new objects or bytes.
// Small batches keep each pause short and free the garbage while it is still
// in the cache: a batch of a few hundred objects costs a fraction of the time
// per object of one of a few thousand.
constexpr size_t kMinCollectObjects = 500;
constexpr size_t kMinCollectBytes = size_t{1} << 18;
constexpr uint32_t kEpochLimit = 1u << 30;  // the epoch takes the upper 30 bits of the state word
}  // namespace

class Collector {
 public:
  static Collector& Get() {
    static Collector c;
    return c;
  }

  std::vector<Object*> heap;  // every heap object, in allocation order
  size_t liveBytes = 0;
  size_t allocatedSince = 0;
  size_t bytesSince = 0;
  // What survived the last collection. The live counts above include what
  // was allocated since, so the trigger compares against these instead.
  size_t liveAfterCollect = 0;
  size_t bytesAfterCollect = 0;
  uint32_t epoch = 1;
  uint32_t epochBits = 1u << Object::kFlagBits;
  int busy = 0;
  bool inSweep = false;
  bool marking = false;
  std::vector<Object*> stack;  // the mark stack's storage: stackTop entries in use
  size_t stackTop = 0;
  std::vector<Object*> garbage;
  Object* rootSet[16] = {};
  std::vector<void (*)(Marker&)> rootMarkers;
  std::vector<AutoObject*> autoObjects;
  PersistentBase* persistents = nullptr;

  static const char* NameOf(const Object* o) { return o->KvClass()->name; }
  static size_t SizeOf(const Object* o) { return o->KvClass()->size; }
  static void ClearPersistents() { ClearPersistentsIn(nullptr, reinterpret_cast<const char*>(UINTPTR_MAX)); }
  static void ClearPersistentsIn(const char* begin, const char* end) {
    for (PersistentBase* p = Get().persistents; p; p = p->next_) {
      const char* c = reinterpret_cast<const char*>(p->ptr_);
      if (c >= begin && c < end) p->ptr_ = nullptr;
    }
  }

  void NextEpoch() {
    if (++epoch == kEpochLimit) epoch = 1;
    epochBits = epoch << Object::kFlagBits;
  }
  bool MarkedNow(const Object* o) const { return (o->state_ & ~uint32_t{Object::kFlagMask}) == epochBits; }
  static bool IsMarked(Object* o) { return Get().MarkedNow(o->Container()); }

  // The heap object to scan for `o` when it is not marked yet (and marks it), else null.
  // Written with branches, not conditional moves: the object pointer handed
  // on must come straight from the field just read, so that marking a chain
  // waits for one load per object, not for the loads of the checks too.
  // The epoch is passed in a register: the marks written here could alias
  // the collector's own field and force a reload per object.
  static Object* Claim(Object* o, const uint32_t epochBits) {
    if (!o) return nullptr;
    if (o->containerOffset_) [[unlikely]]
      return ClaimContainer(o, epochBits);
    const uint32_t st = o->state_;
    if ((st & ~uint32_t{Object::kFlagMask}) == epochBits || !(st & Object::kHeap)) [[unlikely]]
      return nullptr;
    o->state_ = (st & Object::kFlagMask) | epochBits;
    return o;
  }
  [[gnu::noinline]] static Object* ClaimContainer(Object* o, const uint32_t epochBits) {
    Object* c = o->Container();
    const uint32_t st = c->state_;
    if ((st & ~uint32_t{Object::kFlagMask}) == epochBits || !(st & Object::kHeap)) return nullptr;
    c->state_ = (st & Object::kFlagMask) | epochBits;
    return c;
  }

  // While set, marks through Marker::Mark land in this list instead (the
  // chains of references that keep objects alive, for diagnostics).
  std::vector<Object*>* childSink = nullptr;

  void Push(Object* o) {
    if (childSink) [[unlikely]] {
      if (o) childSink->push_back(o->Container());
      return;
    }
    if (Object* c = Claim(o, epochBits)) {
      if (stackTop == stack.size()) GrowStack();
      stack[stackTop++] = c;
    }
  }
  void GrowStack() { stack.resize(std::max<size_t>(1024, stack.size() * 2)); }

  // The class of a heap object without a virtual call per object: the
  // vtable pointer (the first word of every object, fixed once constructed)
  // indexes a small cache of descriptors.
  struct ClassCacheEntry {
    const void* vptr = nullptr;
    const Class* cls = nullptr;
  };
  ClassCacheEntry classCache[256];
  // The first word of an object, read as bytes (the cast says so to the
  // compilers that warn about copying from a polymorphic object).
  static const void* FirstWord(const Object* o) {
    const void* word;
    std::memcpy(&word, static_cast<const void*>(o), sizeof word);
    return word;
  }
  const Class* ClassOfHeapObject(const Object* o) {
    const void* vptr = FirstWord(o);
    ClassCacheEntry& e = classCache[(reinterpret_cast<uintptr_t>(vptr) >> 4) & 255];
    if (e.vptr != vptr) {
      e.vptr = vptr;
      e.cls = o->KvClass();
    }
    return e.cls;
  }

  // Scans objects until none is left. The last reference found in an object
  // is scanned next without a trip through the stack, so chains and the
  // last child of each group cost no stack traffic.
  size_t Drain(Marker& m) {
    size_t n = 0;
    const uint32_t eb = epochBits;
    // The stack lives in locals while scanning; Mark overrides push through
    // the members, so both are synchronised around their calls.
    Object** data = stack.data();
    size_t top = stackTop;
    size_t cap = stack.size();
    auto push = [&](Object* c) {
      if (top == cap) [[unlikely]] {
        stackTop = top;
        GrowStack();
        data = stack.data();
        cap = stack.size();
      }
      data[top++] = c;
    };
    auto callMark = [&](Object* obj) {
      stackTop = top;
      obj->Mark(m);
      top = stackTop;
      data = stack.data();
      cap = stack.size();
    };
    // The field table of the class last seen: while objects of one class
    // follow each other, finding the table costs a predicted branch and adds
    // no load to the chain of dependent loads from object to object.
    const void* lastVptr = nullptr;
    const FieldInfo* fieldsBegin = nullptr;
    const FieldInfo* fieldsEnd = nullptr;
    const FieldInfo* objectsEnd = nullptr;  // single references come first in the table
    bool customMark = false;
    Object* o = nullptr;
    for (;;) {
      if (!o) {
        if (top == 0) break;
        o = data[--top];
      }
      ++n;
      const void* vptr = FirstWord(o);
      if (vptr != lastVptr) {
        const Class* cls = ClassOfHeapObject(o);
        lastVptr = vptr;
        fieldsBegin = cls->fields.data();
        fieldsEnd = fieldsBegin + cls->fields.size();
        objectsEnd = std::partition_point(fieldsBegin, fieldsEnd,
                                          [](const FieldInfo& f) { return f.kind == FieldKind::kObject; });
        customMark = cls->customMark;
      }
      const char* base = reinterpret_cast<const char*>(o);
      Object* next = nullptr;
      auto take = [&](Object* p) {
        if (Object* c = Claim(p, eb)) {
          if (next) push(next);
          next = c;
        }
      };
      const FieldInfo* f = fieldsBegin;
#ifdef KV_VERIFY
      // A recorded field must still name a live object (or none) before it
      // is read as one: see CheckedField.
      for (; f != objectsEnd; ++f) take(CheckedField(o, f->offset, *reinterpret_cast<Object* const*>(base + f->offset)));
#else
      for (; f != objectsEnd; ++f) take(*reinterpret_cast<Object* const*>(base + f->offset));
#endif
      for (; f != fieldsEnd; ++f) {
        if (f->kind == FieldKind::kVector) {
#ifdef KV_VERIFY
          CheckVectorField(o, f->offset);
          for (Object* e : *reinterpret_cast<const std::vector<Object*>*>(base + f->offset))
            take(CheckedField(o, f->offset, e));
#else
          for (Object* e : *reinterpret_cast<const std::vector<Object*>*>(base + f->offset)) take(e);
#endif
        } else {
          callMark(reinterpret_cast<Object*>(const_cast<char*>(base) + f->offset));
        }
      }
      if (customMark) callMark(o);
      o = next;
    }
    stackTop = top;
    return n;
  }

#ifdef KV_VERIFY
  // A field whose storage changed after construction (a std::variant or a
  // union switched to another alternative, a std::optional reset: none may
  // hold a reference) holds something that is no object; marking would read
  // it as one. Test builds stop there, naming the class and the offset.
  [[noreturn]] static void FieldChanged(const Object* o, uint32_t offset, const char* what) {
    std::string msg = std::string("Field check: ") + NameOf(o) + " at offset " + std::to_string(offset) + " " +
                      what +
                      ": its storage changed after construction (a reference in a std::variant, std::optional "
                      "or union is not allowed)";
    Panic(msg.c_str());
  }
  static Object* CheckedField(const Object* o, uint32_t offset, Object* p) {
    if (p && !detail::IsLiveObject(p)) [[unlikely]]
      FieldChanged(o, offset, "holds no live object");
    return p;
  }
  // The three words of a std::vector must still describe one.
  static void CheckVectorField(const Object* o, uint32_t offset) {
    const char* const* w = reinterpret_cast<const char* const*>(reinterpret_cast<const char*>(o) + offset);
    if (w[0] > w[1] || w[1] > w[2] || (w[0] == nullptr) != (w[2] == nullptr) ||
        (w[1] - w[0]) % sizeof(Object*) != 0) [[unlikely]]
      FieldChanged(o, offset, "holds no object list");
  }
#endif

  TimerRootFilter timerRootFilter = nullptr;

  // Marks from every root. Scheduled timers come last: one whose object the
  // other roots do not reach is a root only when the filter keeps it.
  void MarkRoots(Marker& m) {
    for (Object* o : rootSet) Push(o);
    for (AutoObject* ao : autoObjects) Push(ao->instance);
    for (PersistentBase* p = persistents; p; p = p->next_) Push(p->ptr_);
    detail::MarkSignalQueues(m);
    for (auto fn : rootMarkers) fn(m);
    if (!timerRootFilter) {
      TimerRegistry::ForEachOwner([](Object* o, void*) { Get().Push(o); }, nullptr);
      return;
    }
    Drain(m);
    TimerRegistry::ForEachOwner(
        [](Object* o, void*) {
          Collector& c = Get();
          if (!c.MarkedNow(o->Container()) && c.timerRootFilter(o)) c.Push(o);
        },
        nullptr);
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
    for (Object* o : heap)
      if (!MarkedNow(o)) {
        const char* b = reinterpret_cast<const char*>(o);
        unmarked.push_back({b, b + SizeOf(o), o});
      }
    if (unmarked.empty()) return;
    std::sort(unmarked.begin(), unmarked.end(), [](const Range& a, const Range& b) { return a.begin < b.begin; });
    for (Object* o : heap) {
      if (!MarkedNow(o)) continue;
      const char* b = reinterpret_cast<const char*>(o);
      const size_t size = SizeOf(o);
      for (size_t off = sizeof(Object); off + sizeof(void*) <= size; off += sizeof(void*)) {
        const char* p = *reinterpret_cast<const char* const*>(b + off);
        auto it = std::upper_bound(unmarked.begin(), unmarked.end(), p,
                                   [](const char* v, const Range& r) { return v < r.begin; });
        if (it == unmarked.begin()) continue;
        --it;
        if (p >= it->begin && p < it->end) {
          std::string msg = std::string("Mark verifier: ") + NameOf(o) + " at offset " + std::to_string(off) +
                            " holds unmarked " + NameOf(it->obj);
          Panic(msg.c_str());
        }
      }
    }
  }
#endif

  // Runs every destructor of the garbage before any memory is given back, so
  // a destructor never meets a peer's memory already reused. Under the
  // address sanitizer the garbage stays poisoned while destructors run, each
  // object unpoisoned only for its own: a destructor that reads a peer dying
  // in the same collection is reported at once.
  void Sweep() {
    struct Flag {
      bool& flag;
      ~Flag() { flag = false; }
    } flag{inSweep};
    inSweep = true;
    std::vector<size_t> sizes;
    sizes.reserve(garbage.size());
    for (Object* o : garbage) sizes.push_back(SizeOf(o));
    // A scheduled timer no longer keeps a closed screen alive, so garbage may
    // hold scheduled entries: they leave the registry before any destructor
    // runs, so that no destructor's cancel touches a peer's entry.
    std::vector<std::pair<const char*, const char*>> blocks;
    blocks.reserve(garbage.size());
    for (size_t i = 0; i < garbage.size(); ++i) {
      const char* b = reinterpret_cast<const char*>(garbage[i]);
      blocks.emplace_back(b, b + sizes[i]);
    }
    std::sort(blocks.begin(), blocks.end());
    TimerRegistry::CancelInBlocks(blocks);
    for (size_t i = 0; i < garbage.size(); ++i) ASAN_POISON_MEMORY_REGION(garbage[i], sizes[i]);
    for (size_t i = 0; i < garbage.size(); ++i) {
      ASAN_UNPOISON_MEMORY_REGION(garbage[i], sizes[i]);
      garbage[i]->~Object();
      ASAN_POISON_MEMORY_REGION(garbage[i], sizes[i]);
    }
    for (size_t i = 0; i < garbage.size(); ++i) {
      ASAN_UNPOISON_MEMORY_REGION(garbage[i], sizes[i]);
      liveBytes -= sizes[i];
      detail::FreeObjectMemory(garbage[i], sizes[i]);
    }
  }

  // The heap objects that `o` references, as marking would find them.
  void ChildrenOf(Object* o, std::vector<Object*>& out) {
    const Class* cls = o->KvClass();
    const char* base = reinterpret_cast<const char*>(o);
    Marker m;
    std::vector<Object*>* saved = childSink;
    childSink = &out;
    for (const FieldInfo& f : cls->fields) {
      if (f.kind == FieldKind::kObject) {
        if (Object* p = *reinterpret_cast<Object* const*>(base + f.offset)) out.push_back(p->Container());
      } else if (f.kind == FieldKind::kVector) {
        for (Object* e : *reinterpret_cast<const std::vector<Object*>*>(base + f.offset))
          if (e) out.push_back(e->Container());
      } else {
        reinterpret_cast<Object*>(const_cast<char*>(base) + f.offset)->Mark(m);
      }
    }
    if (cls->customMark) o->Mark(m);
    childSink = saved;
  }

  std::string Explain(const char* className, size_t limit) {
    std::unordered_map<Object*, std::pair<Object*, std::string>> parent;  // object -> (holder, root kind)
    std::deque<Object*> queue;
    auto root = [&](Object* o, const std::string& kind) {
      if (!o) return;
      o = o->Container();
      if (!o->IsHeapObject() || parent.count(o)) return;
      parent[o] = {nullptr, kind};
      queue.push_back(o);
    };
    for (int i = 0; i < 16; ++i) root(rootSet[i], "root set " + std::to_string(i));
    for (AutoObject* ao : autoObjects) root(ao->instance, std::string("auto object ") + ao->name);
    for (PersistentBase* p = persistents; p; p = p->next_) root(p->ptr_, "persistent handle");
    std::vector<Object*> tmp;
    childSink = &tmp;
    TimerRegistry::ForEachOwner(
        [](Object* o, void*) {
          if (!Get().timerRootFilter || Get().timerRootFilter(o)) Get().Push(o);
        },
        nullptr);
    childSink = nullptr;
    for (Object* o : tmp) root(o, "scheduled timer");
    tmp.clear();
    {
      Marker m;
      childSink = &tmp;
      detail::MarkSignalQueues(m);
      childSink = nullptr;
      for (Object* o : tmp) root(o, "queued signal");
      tmp.clear();
      childSink = &tmp;
      for (auto fn : rootMarkers) fn(m);
      childSink = nullptr;
      for (Object* o : tmp) root(o, "root marker");
      tmp.clear();
    }
    while (!queue.empty()) {
      Object* o = queue.front();
      queue.pop_front();
      tmp.clear();
      ChildrenOf(o, tmp);
      for (Object* c : tmp)
        if (c->IsHeapObject() && !parent.count(c)) {
          parent[c] = {o, std::string()};
          queue.push_back(c);
        }
    }
    std::string out;
    size_t shown = 0;
    for (Object* o : heap) {
      if (std::strcmp(NameOf(o), className) != 0 || !parent.count(o)) continue;
      if (shown++ == limit) break;
      std::string chain = NameOf(o);
      Object* at = o;
      while (parent[at].first) {
        at = parent[at].first;
        chain += " <- " + std::string(NameOf(at));
      }
      out += chain + " <- [" + parent[at].second + "]\n";
    }
    return out;
  }

  CollectStats Run() {
    CollectStats st;
    struct Flag {
      bool& flag;
      ~Flag() { flag = false; }
    } flag{marking};
    marking = true;
    stackTop = 0;
    NextEpoch();
    Marker m;
    MarkRoots(m);
    Drain(m);
#ifdef KV_VERIFY
    Verify();
#endif
    marking = false;
    detail::PurgeObservers([](Object* o) { return IsMarked(o); });
    // Unlink the garbage first, then destroy it, so destructors never see a
    // half-updated heap array.
    garbage.clear();
    size_t keep = 0;
    for (Object* o : heap) {
      if (MarkedNow(o))
        heap[keep++] = o;
      else
        garbage.push_back(o);
    }
    heap.resize(keep);
    st.marked = keep;
    Sweep();
    st.freed = garbage.size();
    garbage.clear();
    st.live = heap.size();
    allocatedSince = 0;
    bytesSince = 0;
    liveAfterCollect = heap.size();
    bytesAfterCollect = liveBytes;
    return st;
  }
};

void Marker::Mark(Object* obj) { Collector::Get().Push(obj); }
void MarkObject(Marker& m, Object* obj) { m.Mark(obj); }

namespace detail {

namespace {
std::string FieldTableMismatch(const Class* cls, const std::vector<FieldInfo>& table, const std::vector<FieldInfo>& now) {
  size_t i = 0;
  while (i < table.size() && i < now.size() && table[i].offset == now[i].offset && table[i].kind == now[i].kind) ++i;
  uint32_t off = i < now.size() ? now[i].offset : table[i].offset;
  return std::string("The fields of ") + cls->name + " differ between instances at offset " + std::to_string(off) +
         " (a reference inside std::optional, std::variant or a union is not allowed)";
}
}  // namespace

void EndConstruct(ConstructFrame& frame, Object* obj, size_t size) {
  if (reinterpret_cast<char*>(obj) != frame.base) Panic("A GUI object must derive from kv::Object first");
  Class* cls = frame.cls;
  if (obj->KvClass() != cls || cls->size != size) {
    std::string msg = std::string("The class ") + obj->KvClass()->name + " does not describe an object of " +
                      std::to_string(size) + " bytes: each class must name itself with KV_CLASS";
    Panic(msg.c_str());
  }
  if (frame.recording) {
    // Embedded objects with their own Mark override are marked through the table.
    for (uint32_t off : frame.embedded)
      if (reinterpret_cast<Object*>(frame.base + off)->KvClass()->customMark)
        frame.fields.push_back({off, FieldKind::kEmbedded});
    // Single references first (the marker's fast loop), then lists and embedded objects.
    std::sort(frame.fields.begin(), frame.fields.end(), [](const FieldInfo& a, const FieldInfo& b) {
      return a.kind != b.kind ? a.kind < b.kind : a.offset < b.offset;
    });
    if (!cls->fieldsRecorded) {
      cls->fields = std::move(frame.fields);
      cls->fields.shrink_to_fit();
      cls->fieldsRecorded = true;
    } else if (frame.fields.size() != cls->fields.size() ||
               !std::equal(frame.fields.begin(), frame.fields.end(), cls->fields.begin(),
                           [](const FieldInfo& a, const FieldInfo& b) { return a.offset == b.offset && a.kind == b.kind; })) {
      std::string msg = FieldTableMismatch(cls, cls->fields, frame.fields);
      Panic(msg.c_str());
    }
  }
  PopConstructFrame(frame);
  Collector& c = Collector::Get();
  obj->state_ = (obj->state_ & Object::kObserved) | Object::kHeap;
  c.heap.push_back(obj);
  c.liveBytes += size;
  ++c.allocatedSince;
  c.bytesSince += size;
}

void RegisterAutoObject(AutoObject* ao) {
  auto& v = Collector::Get().autoObjects;
  if (std::find(v.begin(), v.end(), ao) == v.end()) v.push_back(ao);
}

// A construction that did not finish gives its memory back: drop every root,
// handle, timer, queued signal and observer that points into it.
void UnwindRegistrations(const char* begin, const char* end) {
  auto inside = [begin, end](const void* p) {
    const char* c = static_cast<const char*>(p);
    return c >= begin && c < end;
  };
  Collector& c = Collector::Get();
  for (Object*& slot : c.rootSet)
    if (inside(slot)) slot = nullptr;
  Collector::ClearPersistentsIn(begin, end);
  TimerRegistry::CancelIn(begin, end);
  DropSignalsAndObserversIn(begin, end);
}

BusyScope::BusyScope() { ++Collector::Get().busy; }
BusyScope::~BusyScope() { --Collector::Get().busy; }

void CheckNotInSweep(const char* what) {
  if (!Collector::Get().inSweep) return;
  std::string msg = std::string(what) + " was called by a destructor during a collection";
  Panic(msg.c_str());
}

}  // namespace detail

Object* GetAutoObjectRaw(AutoObject& ao) {
  if (ao.instance) return ao.instance;
  if (ao.creating) Panic("Recursive access to an auto object performing the initialization");
  ao.creating = true;
  // A constructor that panics (a test's handler throws) leaves the auto
  // object free to be created again.
  struct Creating {
    AutoObject& ao;
    ~Creating() { ao.creating = false; }
  } creating{ao};
  detail::RegisterAutoObject(&ao);
  Object* o = NewObjectIndirect(ao.cls());
  ao.instance = o;
  return o;
}

void LockObject(Object* obj) {
  AssertGuiThread();
  detail::CheckNotInSweep("LockObject");
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
  AssertGuiThread();
  Collector& c = Collector::Get();
  for (Object*& slot : c.rootSet)
    if (slot == obj && obj) {
      slot = nullptr;
      return;
    }
  Panic("Object is not in the rootset");
}

void AddRootMarker(void (*fn)(Marker&)) {
  AssertGuiThread();
  auto& v = Collector::Get().rootMarkers;
  if (std::find(v.begin(), v.end(), fn) == v.end()) v.push_back(fn);
}

CollectStats Collect() {
  AssertGuiThread();
  Collector& c = Collector::Get();
  if (c.busy > 0 || c.inSweep || c.marking || detail::CurrentFrame())
    Panic("Collect was called while objects are in use (a constructor, slot, timer, redraw or destructor runs)");
  return c.Run();
}

size_t MarkOnly() {
  Collector& c = Collector::Get();
  c.NextEpoch();
  Marker m;
  c.stackTop = 0;
  c.MarkRoots(m);
  return c.Drain(m);
}
size_t AllocatedSinceCollect() { return Collector::Get().allocatedSince; }
void ReportExternalAllocation(size_t bytes) { Collector::Get().bytesSince += bytes; }
bool CollectionDue() {
  const Collector& c = Collector::Get();
  return c.allocatedSince >= std::max(kMinCollectObjects, c.liveAfterCollect) ||
         c.bytesSince >= std::max(kMinCollectBytes, c.bytesAfterCollect);
}
void SetTimerRootFilter(TimerRootFilter filter) { Collector::Get().timerRootFilter = filter; }
std::string ExplainLive(const char* className, size_t limit) { return Collector::Get().Explain(className, limit); }
size_t LiveObjects() { return Collector::Get().heap.size(); }
bool InSweep() { return Collector::Get().inSweep; }
size_t HeapOverheadPerObject() { return sizeof(Object) + sizeof(Object*); }

std::map<std::string, size_t> HeapCensus() {
  AssertGuiThread();
  std::map<std::string, size_t> out;
  for (Object* o : Collector::Get().heap) ++out[Collector::NameOf(o)];
  return out;
}

void ForEachObject(void (*fn)(Object*, void*), void* ctx) {
  AssertGuiThread();
  // Snapshot: callbacks may allocate.
  std::vector<Object*> all = Collector::Get().heap;
  for (Object* o : all) fn(o, ctx);
}

// Persistent handles: an intrusive list of roots, kept by the GUI task only.
PersistentBase::PersistentBase() { Link(); }
PersistentBase::PersistentBase(Object* p) : ptr_(p) { Link(); }
PersistentBase::PersistentBase(const PersistentBase& o) : ptr_(o.ptr_) { Link(); }
PersistentBase& PersistentBase::operator=(const PersistentBase& o) {
  AssertGuiThread();
  ptr_ = o.ptr_;
  return *this;
}
PersistentBase::~PersistentBase() { Unlink(); }
void PersistentBase::Link() {
  AssertGuiThread();
  Collector& c = Collector::Get();
  next_ = c.persistents;
  if (next_) next_->prev_ = this;
  c.persistents = this;
}
void PersistentBase::Unlink() {
  AssertGuiThread();
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
  c.busy = 0;
  // Everything is garbage now.
  Collect();
  c.allocatedSince = 0;
  c.bytesSince = 0;
}
}  // namespace detail

}  // namespace kv
