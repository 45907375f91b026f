// Slots and signals: an (object, method) pair called at once, at the end of
// the pass (posted) or in the next pass (idle).
#pragma once

#include "runtime/object.h"

namespace kv {

using SlotMethod = void (Object::*)(Object* sender);

class Slot {
 public:
  Slot() { detail::RegisterField(this, FieldKind::kObject, detail::TypeName<std::remove_pointer_t<decltype(this)>>()); }
  Slot(Object* obj, SlotMethod m) : obj_(obj), method_(obj ? m : nullptr) {
    detail::RegisterField(this, FieldKind::kObject, detail::TypeName<std::remove_pointer_t<decltype(this)>>());
  }
  Slot(const Slot& o) : obj_(o.obj_), method_(o.method_) { detail::RegisterField(this, FieldKind::kObject, detail::TypeName<std::remove_pointer_t<decltype(this)>>()); }
  Slot& operator=(const Slot& o) = default;

  Object* object() const { return obj_; }
  SlotMethod method() const { return method_; }
  bool empty() const { return obj_ == nullptr || method_ == nullptr; }
  explicit operator bool() const { return !empty(); }
  bool operator==(const Slot& o) const { return obj_ == o.obj_ && method_ == o.method_; }
  void Invoke(Object* sender) const {
    if (!empty()) (obj_->*method_)(sender);
  }

 private:
  Object* obj_ = nullptr;  // first member: the field table points here
  SlotMethod method_ = nullptr;
};

// A slot of `obj` calling its method `m` (signature void T::m(kv::Object* sender)).
template <class T, class U>
Slot MakeSlot(T* obj, void (U::*m)(Object*)) {
  static_assert(std::is_base_of_v<U, T>, "the method must belong to the object's class");
  return Slot(static_cast<U*>(obj), static_cast<SlotMethod>(m));
}

// Calls the slot at once; an empty slot does nothing.
void Signal(const Slot& slot, Object* sender);
// Queues the slot to run at the end of the current pass; a slot already
// queued moves to the end and runs once.
void PostSignal(const Slot& slot);
// Queues the slot for the next pass.
void IdleSignal(const Slot& slot);
// Queues the slot to run once in this pass after the posted and idle signals
// are drained (work that sums up what the signals did, such as one save).
void PostLateSignal(const Slot& slot);
// True while posted or idle signals wait.
bool SignalsPending();

}  // namespace kv
