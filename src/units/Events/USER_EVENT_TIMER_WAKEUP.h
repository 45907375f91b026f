// Events::USER_EVENT_TIMER_WAKEUP: the set was woken by a timer.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class USER_EVENT_TIMER_WAKEUP : public Core::Event {
  KV_CLASS(Events, USER_EVENT_TIMER_WAKEUP, Core::Event)
 public:
  USER_EVENT_TIMER_WAKEUP() = default;

  uint8_t Handled = 0;
  uint8_t WakeUp = 0;  // set once the wake-up was taken note of
};

}  // namespace Events
