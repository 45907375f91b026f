// SkinBin::UserRefInt: the parameter of most state changes: a flag, an
// integer value (an option id, a message or confirmation type, a live-TV
// state), the transition code of the opener (Constants::MSG_FROM_*), a text
// and an object (for example a key event handed back to the page).
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/object.h"
#include "runtime/string.h"

namespace SkinBin {

class UserRefInt : public kv::Object {
  KV_CLASS(SkinBin, UserRefInt, kv::Object)
 public:
  UserRefInt() = default;

  uint8_t Flag = 0;
  int32_t Value = 0;
  int32_t Code = 0;
  kv::String String;
  kv::Member<kv::Object> Object;
};

}  // namespace SkinBin
