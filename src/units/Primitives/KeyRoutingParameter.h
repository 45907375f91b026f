// Primitives::KeyRoutingParameter: what a screen's Initialize receives.
#pragma once

#include "runtime/member.h"
#include "runtime/object.h"

namespace Primitives {

class KeyRoutingParameter : public kv::Object {
  KV_CLASS(Primitives, KeyRoutingParameter, kv::Object)
 public:
  KeyRoutingParameter() = default;

  // The object that opens the screen: the sub-system, or the parent form of
  // an embedded list. It becomes the screen's Parent when it is a group.
  kv::Member<kv::Object> Owner;
  // The parameter object of the state change (may be null).
  kv::Member<kv::Object> Param;
};

}  // namespace Primitives
