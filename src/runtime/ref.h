// Property references: (object, getter, setter), used to bind option records
// and widgets to properties.
#pragma once

#include "runtime/object.h"
#include "runtime/slot.h"

namespace kv {

template <class V>
class Ref {
 public:
  using Getter = V (Object::*)();
  using Setter = void (Object::*)(V);

  Ref() { detail::RegisterField(this, FieldKind::kObject, detail::TypeName<std::remove_pointer_t<decltype(this)>>()); }
  Ref(Object* obj, Getter g, Setter s) : obj_(obj), get_(g), set_(s) {
    detail::RegisterField(this, FieldKind::kObject, detail::TypeName<std::remove_pointer_t<decltype(this)>>());
  }
  Ref(const Ref& o) : obj_(o.obj_), get_(o.get_), set_(o.set_) { detail::RegisterField(this, FieldKind::kObject, detail::TypeName<std::remove_pointer_t<decltype(this)>>()); }
  Ref& operator=(const Ref& o) = default;

  Object* object() const { return obj_; }
  Getter getter() const { return get_; }
  Setter setter() const { return set_; }
  bool IsNull() const { return obj_ == nullptr; }
  bool operator==(const Ref& o) const { return obj_ == o.obj_ && get_ == o.get_ && set_ == o.set_; }

  V Get() const { return (obj_ && get_) ? (obj_->*get_)() : V{}; }
  void Set(V v) const {
    if (obj_ && set_) (obj_->*set_)(v);
  }

 private:
  Object* obj_ = nullptr;  // first member: the field table points here
  Getter get_ = nullptr;
  Setter set_ = nullptr;
};

template <class V, class T, class U1, class U2>
Ref<V> MakeRef(T* obj, V (U1::*g)(), void (U2::*s)(V)) {
  return Ref<V>(obj, g ? static_cast<typename Ref<V>::Getter>(g) : nullptr,
                s ? static_cast<typename Ref<V>::Setter>(s) : nullptr);
}

using RefInt32 = Ref<int32_t>;
inline RefInt32 NullRef() { return RefInt32(); }
inline int32_t OnGetInt32(const RefInt32& r) { return r.Get(); }
inline void OnSetInt32(const RefInt32& r, int32_t v) { r.Set(v); }

// Observers of a property reference; weak both ways, signalled synchronously
// over a snapshot.
void AttachRefObserver(const Slot& slot, const RefInt32& ref);
void DetachRefObserver(const Slot& slot, const RefInt32& ref);
void NotifyRefObservers(const RefInt32& ref);

// Observers of an object; weak both ways.
void AttachObjObserver(const Slot& slot, Object* subject);
void DetachObjObserver(const Slot& slot, Object* subject);
void NotifyObjObservers(Object* subject, Object* sender = nullptr);

}  // namespace kv
