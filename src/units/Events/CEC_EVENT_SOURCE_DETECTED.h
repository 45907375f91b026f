// Events::CEC_EVENT_SOURCE_DETECTED: an HDMI-CEC device asks to be shown.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class CEC_EVENT_SOURCE_DETECTED : public Core::Event {
  KV_CLASS(Events, CEC_EVENT_SOURCE_DETECTED, Core::Event)
 public:
  CEC_EVENT_SOURCE_DETECTED() = default;

  uint8_t Handled = 0;
  int32_t Source = 0;   // the input it is connected to
  uint8_t Address = 0;  // its logical address
};

}  // namespace Events
