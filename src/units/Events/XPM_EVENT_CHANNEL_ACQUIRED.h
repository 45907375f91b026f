// Events::XPM_EVENT_CHANNEL_ACQUIRED: a channel was tuned (or failed to tune) on a window.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/Core/Event.h"
#include "units/Structures/VirtualChannel.h"

namespace Events {

class XPM_EVENT_CHANNEL_ACQUIRED : public Core::Event {
  KV_CLASS(Events, XPM_EVENT_CHANNEL_ACQUIRED, Core::Event)
 public:
  XPM_EVENT_CHANNEL_ACQUIRED() = default;

  uint8_t Handled = 0;
  kv::Member<Structures::VirtualChannel> Channel;
  int32_t Window = 0;
  int32_t Status = 0;  // CHANNEL_OK 0, CHANNEL_CHANNEL_LOCK 4, CHANNEL_RATING_LOCK 5 ...
  int32_t LockResult = 0;
};

}  // namespace Events
