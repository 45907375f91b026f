// Events::USER_EVENT_CABLE_ON_OFF: the system manager switched the tuner's medium.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class USER_EVENT_CABLE_ON_OFF : public Core::Event {
  KV_CLASS(Events, USER_EVENT_CABLE_ON_OFF, Core::Event)
 public:
  USER_EVENT_CABLE_ON_OFF() = default;

  uint8_t Handled = 0;
  int32_t Medium = 0;  // the new medium (antenna or cable)
};

}  // namespace Events
