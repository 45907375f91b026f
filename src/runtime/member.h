// Object-valued fields and handles that keep objects alive.
#pragma once

#include <vector>

#include "runtime/object.h"

namespace kv {

// An object-valued field of a GUI object. The collector marks it through the
// class's field table. Outside a GUI object (a local) it is a plain pointer.
template <class T>
class Member {
 public:
  Member() { detail::RegisterField(this, FieldKind::kObject, detail::TypeName<std::remove_pointer_t<decltype(this)>>()); }
  Member(T* p) : ptr_(p) { detail::RegisterField(this, FieldKind::kObject, detail::TypeName<std::remove_pointer_t<decltype(this)>>()); }  // NOLINT
  Member(const Member& o) : ptr_(o.ptr_) { detail::RegisterField(this, FieldKind::kObject, detail::TypeName<std::remove_pointer_t<decltype(this)>>()); }
#ifdef KV_VERIFY
  ~Member() { detail::PoisonReference(&ptr_); }
#endif
  Member& operator=(const Member& o) {
    ptr_ = o.ptr_;
    return *this;
  }
  Member& operator=(T* p) {
    ptr_ = p;
    return *this;
  }
  T* get() const { return ptr_; }
  T* operator->() const { return get(); }
  T& operator*() const { return *get(); }
  operator T*() const { return get(); }  // NOLINT
  explicit operator bool() const { return ptr_ != nullptr; }

 private:
  // First and only member: the field table points here. Every GUI class has
  // kv::Object as its primary base at offset 0 (checked by kv::New), so the
  // collector reads this word as an Object pointer, and T may be incomplete
  // where the member is used.
  T* ptr_ = nullptr;
};

namespace detail {
// The object pointer of a GUI class without needing the class to be complete
// (kv::Object is the primary base at offset 0).
template <class T>
T* Downcast(Object* o) {
  return reinterpret_cast<T*>(o);
}
}  // namespace detail

// A growable list of object references held by a GUI object.
template <class T>
class MemberVector {
 public:
  MemberVector() { detail::RegisterField(this, FieldKind::kVector, detail::TypeName<std::remove_pointer_t<decltype(this)>>()); }
  MemberVector(const MemberVector& o) : v_(o.v_) { detail::RegisterField(this, FieldKind::kVector, detail::TypeName<std::remove_pointer_t<decltype(this)>>()); }
  MemberVector& operator=(const MemberVector& o) {
    v_ = o.v_;
    return *this;
  }

  size_t size() const { return v_.size(); }
  bool empty() const { return v_.empty(); }
  T* operator[](size_t i) const { return detail::Downcast<T>(v_[i]); }
  T* at(size_t i) const { return detail::Downcast<T>(v_.at(i)); }
  T* front() const { return detail::Downcast<T>(v_.front()); }
  T* back() const { return detail::Downcast<T>(v_.back()); }
  void push_back(T* p) { v_.push_back(reinterpret_cast<Object*>(p)); }
  void pop_back() { v_.pop_back(); }
  void insert(size_t i, T* p) { v_.insert(v_.begin() + static_cast<std::ptrdiff_t>(i), reinterpret_cast<Object*>(p)); }
  void erase(size_t i) { v_.erase(v_.begin() + static_cast<std::ptrdiff_t>(i)); }
  void set(size_t i, T* p) { v_[i] = reinterpret_cast<Object*>(p); }
  void clear() { v_.clear(); }
  void reserve(size_t n) { v_.reserve(n); }
  // Index of p, or -1.
  int IndexOf(const T* p) const {
    for (size_t i = 0; i < v_.size(); ++i)
      if (v_[i] == reinterpret_cast<const Object*>(p)) return static_cast<int>(i);
    return -1;
  }
  bool Remove(const T* p) {
    int i = IndexOf(p);
    if (i < 0) return false;
    erase(static_cast<size_t>(i));
    return true;
  }
  // A copy of the elements, for walks that call handlers.
  std::vector<T*> Snapshot() const {
    std::vector<T*> out;
    out.reserve(v_.size());
    for (Object* o : v_) out.push_back(detail::Downcast<T>(o));
    return out;
  }

 private:
  std::vector<Object*> v_;  // first and only member: the field table points here
};

// A handle that keeps an object alive from code outside GUI objects
// (the host, the platform stand-ins, tests).
class PersistentBase {
 public:
  PersistentBase();
  explicit PersistentBase(Object* p);
  PersistentBase(const PersistentBase& o);
  PersistentBase& operator=(const PersistentBase& o);
  ~PersistentBase();

 protected:
  Object* ptr_ = nullptr;

 private:
  friend class Collector;
  void Link();
  void Unlink();
  PersistentBase* prev_ = nullptr;
  PersistentBase* next_ = nullptr;
};

template <class T>
class Persistent : public PersistentBase {
 public:
  Persistent() = default;
  Persistent(T* p) : PersistentBase(p) {}  // NOLINT
  Persistent& operator=(T* p) {
    ptr_ = p;
    return *this;
  }
  T* get() const { return static_cast<T*>(ptr_); }
  T* operator->() const { return get(); }
  operator T*() const { return get(); }  // NOLINT
  void reset() { ptr_ = nullptr; }
};

}  // namespace kv
