// Events::CEC_EVENT_NAME_UPDATED: an HDMI-CEC device reported a new name.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class CEC_EVENT_NAME_UPDATED : public Core::Event {
  KV_CLASS(Events, CEC_EVENT_NAME_UPDATED, Core::Event)
 public:
  CEC_EVENT_NAME_UPDATED() = default;

  uint8_t Handled = 0;
  uint8_t Address = 0;  // the device's logical address
};

}  // namespace Events
