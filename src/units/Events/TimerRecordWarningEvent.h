// Events::TimerRecordWarningEvent: a timer recording is about to start.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class TimerRecordWarningEvent : public Core::Event {
  KV_CLASS(Events, TimerRecordWarningEvent, Core::Event)
 public:
  TimerRecordWarningEvent() = default;

  uint8_t Handled = 0;
  int32_t TimerId = 0;
};

}  // namespace Events
