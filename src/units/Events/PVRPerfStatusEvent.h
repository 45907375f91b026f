// Events::PVRPerfStatusEvent: the speed check of the USB disk ended.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class PVRPerfStatusEvent : public Core::Event {
  KV_CLASS(Events, PVRPerfStatusEvent, Core::Event)
 public:
  PVRPerfStatusEvent() = default;

  uint8_t Handled = 0;
  int32_t Speed = 0;  // the measured speed
};

}  // namespace Events
