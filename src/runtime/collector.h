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

// Runs one collection now. Only the end of the pass calls it in the system.
CollectStats Collect();
// Objects allocated since the last collection.
size_t AllocatedSinceCollect();
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

}  // namespace kv
