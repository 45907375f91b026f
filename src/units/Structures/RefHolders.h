// Reference holders: one value in a GUI object, used as the parameter of
// messages and state changes.
#pragma once

#include <cstdint>

#include "runtime/object.h"
#include "runtime/string.h"

namespace Structures {

class RefInt : public kv::Object {
  KV_CLASS(Structures, RefInt, kv::Object)
 public:
  RefInt() = default;
  int32_t Value = 0;
};

class RefString : public kv::Object {
  KV_CLASS(Structures, RefString, kv::Object)
 public:
  RefString() = default;
  kv::String Value;
};

class RefBool : public kv::Object {
  KV_CLASS(Structures, RefBool, kv::Object)
 public:
  RefBool() = default;
  bool Value = false;
};

}  // namespace Structures
