// SkinBin::UserRefInt: the parameter of most state changes. The target reads
// the integer it needs (an option id, a live-TV state, a kind, an index),
// the transition code telling where it was opened from, and, where a screen
// needs them, a flag byte, a text and an object (a key event handed back to
// the previous page).
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

  // A parameter with the value and transition code set.
  static UserRefInt* Make(int32_t value, int32_t code);

  int32_t OnGetValue() const { return Value; }
  void OnSetValue(int32_t value) { Value = value; }
  int32_t OnGetCode() const { return Code; }
  void OnSetCode(int32_t code) { Code = code; }
  uint8_t OnGetFlag() const { return Flag; }
  void OnSetFlag(uint8_t flag) { Flag = flag; }
  const kv::String& OnGetString() const { return String; }
  void OnSetString(const kv::String& text) { String = text; }
  kv::Object* OnGetObject() const { return Object.get(); }
  void OnSetObject(kv::Object* object) { Object = object; }

  uint8_t Flag = 0;
  int32_t Value = 0;
  int32_t Value2 = 0;  // a second integer where a screen needs one (the CEC input dialog: the source id)
  int32_t Code = 0;  // the transition code: MSG_FROM_MENUSYSTEM, MSG_FROM_NONMENUSYSTEM or MSG_FROM_QUICKMENU
  kv::String String;
  kv::Member<kv::Object> Object;
};

}  // namespace SkinBin
