// Events::USER_EVENT_CACHED_MESSAGE: a message kept back in the event agent and
// delivered when the agent processes its events.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/Core/Event.h"
#include "units/Structures/Message.h"

namespace Events {

class USER_EVENT_CACHED_MESSAGE : public Core::Event {
  KV_CLASS(Events, USER_EVENT_CACHED_MESSAGE, Core::Event)
 public:
  USER_EVENT_CACHED_MESSAGE() = default;

  uint8_t Handled = 0;
  kv::Member<Structures::Message> Message;
};

}  // namespace Events
