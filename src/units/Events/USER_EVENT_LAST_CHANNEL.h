// Events::USER_EVENT_LAST_CHANNEL: the Last key: return to the previous channel or source.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class USER_EVENT_LAST_CHANNEL : public Core::Event {
  KV_CLASS(Events, USER_EVENT_LAST_CHANNEL, Core::Event)
 public:
  USER_EVENT_LAST_CHANNEL() = default;

  uint8_t Handled = 0;
};

}  // namespace Events
