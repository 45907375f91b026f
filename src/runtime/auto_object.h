// Auto objects: named shared instances of a concrete class, created on first
// use and kept alive for the life of the GUI task.
//   header: KV_DECLARE_AUTO_OBJECT(MainApp, Wrapper);
//   source: KV_AUTO_OBJECT(MainApp, Wrapper, SkinBin::Wrapper);
//   use:    kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper)
#pragma once

#include "runtime/object.h"

namespace kv {

struct AutoObject {
  const char* name;
  const Class* (*cls)();
  Object* instance = nullptr;
  bool creating = false;
};

// The shared instance; a call made while it is being created is the panic
// "Recursive access to an auto object performing the initialization".
Object* GetAutoObjectRaw(AutoObject& ao);

// The shared instance if it has been created, else null; creates nothing
// (for comparing a pointer with an instance that may never have been used).
inline Object* FindAutoObject(const AutoObject& ao) { return ao.instance; }

template <class T>
T* GetAutoObject(AutoObject& ao) {
  return static_cast<T*>(CastObject(GetAutoObjectRaw(ao), &T::StaticClass()));
}

namespace detail {
void RegisterAutoObject(AutoObject* ao);
}

}  // namespace kv

#define KV_DECLARE_AUTO_OBJECT(Unit, Name) \
  namespace Unit {                         \
  extern ::kv::AutoObject Name;            \
  }

#define KV_AUTO_OBJECT(Unit, Name, ConcreteClass)                                               \
  namespace Unit {                                                                              \
  ::kv::AutoObject Name{#Unit "::" #Name, []() -> const ::kv::Class* { return &ConcreteClass::StaticClass(); }}; \
  }
