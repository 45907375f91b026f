#include "units/Core/Event.h"

namespace Core {

KV_REGISTER_CLASS(Core::Event);
KV_REGISTER_CLASS(Core::KeyEvent);

void KeyEvent::Initialize(uint16_t code, uint8_t down) {
  Code = code;
  Down = down;
  Char = KeyCodeToChar(code);
}

}  // namespace Core
