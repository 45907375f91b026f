// Events::PVRUSBFormatEvent: the formatting of the USB disk ended.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class PVRUSBFormatEvent : public Core::Event {
  KV_CLASS(Events, PVRUSBFormatEvent, Core::Event)
 public:
  PVRUSBFormatEvent() = default;

  uint8_t Handled = 0;
  int32_t Result = 0;  // 0 success
};

}  // namespace Events
