// Events::TimerStandbyEvent: a timer is about to put the set into standby.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class TimerStandbyEvent : public Core::Event {
  KV_CLASS(Events, TimerStandbyEvent, Core::Event)
 public:
  TimerStandbyEvent() = default;

  uint8_t Handled = 0;
  int32_t TimerId = 0;
};

}  // namespace Events
