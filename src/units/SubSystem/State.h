// SubSystem::State: a request to change state, handed to a sub-system's
// ChangeState.
#pragma once

#include "runtime/member.h"
#include "runtime/object.h"

namespace SubSystem {

class State : public kv::Object {
  KV_CLASS(SubSystem, State, kv::Object)
 public:
  State() = default;

  // The screen class to open.
  const kv::Class* Class = nullptr;
  // The parameter object of the change (often a reference holder), or null.
  kv::Member<kv::Object> Param;
  // An existing screen to reuse, or null.
  kv::Member<kv::Object> Instance;
  // The screen that follows, and the opener's class (Back returns to it).
  const kv::Class* NextState = nullptr;
  const kv::Class* PrevState = nullptr;
};

}  // namespace SubSystem
