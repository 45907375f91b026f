// The garbage collector: mark and sweep at the end of a GUI loop pass.
//
// Roots: the root set of 16 entries, auto objects, registered root markers
// (the resource cache), queued posted and idle signals, scheduled timers and
// kv::Persistent handles. Marking follows each class's field table with an
// explicit stack. Observer registrations are weak.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "runtime/object.h"
#include "runtime/ref.h"
#include "runtime/slot.h"

namespace kv {

class Marker {
 public:
  // Marks an object (an embedded object marks its outermost container).
  void Mark(Object* obj);
  template <class V>
  void MarkAll(const V& objects) {
    for (auto* o : objects) Mark(o);
  }
};

void MarkObject(Marker& m, Object* obj);
// For Mark overrides holding slots or references outside the field table.
inline void MarkSlot(Marker& m, const Slot& slot) { m.Mark(slot.object()); }
template <class V>
void MarkRefs(Marker& m, const Ref<V>* refs, size_t count) {
  for (size_t i = 0; i < count; ++i) m.Mark(refs[i].object());
}

// The root set of 16 entries.
void LockObject(Object* obj);    // panics "Rootset is full"
void UnlockObject(Object* obj);  // panics "Object is not in the rootset"

// Adds a function that marks further roots (resource cache, stand-in tables).
void AddRootMarker(void (*fn)(Marker&));

struct CollectStats {
  size_t marked = 0;
  size_t freed = 0;
  size_t live = 0;
};

// Runs one collection now. Only the end of the pass calls it in the system;
// a call inside a constructor, a slot, a timer callback, a re-initialisation,
// the redraw or a destructor is the panic "Collect was called while objects
// are in use".
CollectStats Collect();
// Objects allocated since the last collection.
size_t AllocatedSinceCollect();
// Counts memory that objects hold outside their own (bitmap pixels) towards
// the next collection.
void ReportExternalAllocation(size_t bytes);
// True when enough was allocated since the last collection: as many objects
// or bytes as survived it (at least 2000 objects or 1 MiB), so that the cost of
// marking stays proportional to what was allocated.
bool CollectionDue();
// Number of live heap objects.
size_t LiveObjects();
// Live heap objects counted per class name.
std::map<std::string, size_t> HeapCensus();
// Calls fn for every live heap object (language re-initialisation).
void ForEachObject(void (*fn)(Object*, void*), void* ctx);

// Runs only the mark phase from the roots and returns the number of objects
// marked (benchmarks).
size_t MarkOnly();

// True while the sweep runs destructors (destructors must not allocate).
bool InSweep();

// Bookkeeping bytes the collector spends per heap object: the object header
// and the entry in its array of heap objects.
size_t HeapOverheadPerObject();

namespace detail {
// A stretch where objects are in use on the C++ stack (timer callbacks,
// slots, re-initialisation, drawing); Collect() inside it is a panic.
class BusyScope {
 public:
  BusyScope();
  ~BusyScope();
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;
};
// Panics when called by a destructor during the sweep: `what` would
// register an object that is being freed.
void CheckNotInSweep(const char* what);
}  // namespace detail

}  // namespace kv
