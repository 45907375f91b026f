// Structures::Message: what the message agent delivers to screens and
// sub-systems (codes in Constants).
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/object.h"

namespace Structures {

class Message : public kv::Object {
  KV_CLASS(Structures, Message, kv::Object)
 public:
  Message() = default;

  // Fills code, object parameter and integer parameter.
  void Initialize(int32_t code, kv::Object* objParam, int32_t intParam = -1);

  int32_t Code = 0;
  kv::Member<kv::Object> ObjParam;
  int32_t IntParam = -1;
  // Set by the agent's dispatch: only receivers of exactly this class get
  // the message; null when it went to every receiver.
  const kv::Class* Target = nullptr;
};

}  // namespace Structures
