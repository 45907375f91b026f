// Events::XPM_EVENT_FACTORY_COMMAND: the result of a factory remote code (or a
// panel key's message) for the factory sub-system.
#pragma once

#include <cstdint>

#include "runtime/string.h"
#include "units/Core/Event.h"

namespace Events {

class XPM_EVENT_FACTORY_COMMAND : public Core::Event {
  KV_CLASS(Events, XPM_EVENT_FACTORY_COMMAND, Core::Event)
 public:
  XPM_EVENT_FACTORY_COMMAND() = default;

  void Initialize(int32_t kind, const kv::Class* cls, int32_t value, const kv::String& text) {
    Kind = kind;
    Class = cls;
    Value = value;
    Text = text;
  }

  uint8_t Handled = 0;
  int32_t Kind = 0;                   // 0 display menu, 1 display value, 2 raw command, 3 display message
  const kv::Class* Class = nullptr;   // the screen to show (kinds 0 and 3)
  int32_t Value = 0;                  // index, value, code or message parameter
  kv::String Text;                    // name or message text
};

}  // namespace Events
