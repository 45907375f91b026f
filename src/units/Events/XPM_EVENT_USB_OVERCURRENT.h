// Events::XPM_EVENT_USB_OVERCURRENT: a USB port was switched off for drawing too much current.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class XPM_EVENT_USB_OVERCURRENT : public Core::Event {
  KV_CLASS(Events, XPM_EVENT_USB_OVERCURRENT, Core::Event)
 public:
  XPM_EVENT_USB_OVERCURRENT() = default;

  uint8_t Handled = 0;
};

}  // namespace Events
