// Core::Event, the base of every event class, and Core::KeyEvent, the GUI
// key event. Event classes add their own fields (a handled flag included).
#pragma once

#include <cstdint>

#include "keys/keycodes.h"
#include "runtime/object.h"

namespace Core {

class Event : public kv::Object {
  KV_CLASS(Core, Event, kv::Object)
 public:
  Event() = default;
};

// The character of a GUI key code: '0'..'9' for the digit keys 10..19, else 0.
constexpr char16_t KeyCodeToChar(uint16_t code) {
  return keys::IsDigitKey(code) ? static_cast<char16_t>(u'0' + (code - keys::KEY_0)) : char16_t{0};
}

class KeyEvent : public Event {
  KV_CLASS(Core, KeyEvent, Event)
 public:
  KeyEvent() = default;

  // Fills code and down flag; the character follows from the code.
  void Initialize(uint16_t code, uint8_t down);

  uint16_t Code = 0;
  uint8_t Down = 0;  // non-zero for a press, zero for a release
  char16_t Char = 0;
};

}  // namespace Core
