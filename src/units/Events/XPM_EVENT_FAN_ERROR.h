// Events::XPM_EVENT_FAN_ERROR: the cooling fan monitor reports a fault.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class XPM_EVENT_FAN_ERROR : public Core::Event {
  KV_CLASS(Events, XPM_EVENT_FAN_ERROR, Core::Event)
 public:
  XPM_EVENT_FAN_ERROR() = default;

  uint8_t Handled = 0;
  uint8_t Shutdown = 0;  // 1: the set goes to standby
  uint8_t Warning = 0;   // 1: the viewer is told that the fan stopped
};

}  // namespace Events
