// Events::XPM_EVENT_FULL_SCAN_COMPLETE: the channel scan ended.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class XPM_EVENT_FULL_SCAN_COMPLETE : public Core::Event {
  KV_CLASS(Events, XPM_EVENT_FULL_SCAN_COMPLETE, Core::Event)
 public:
  XPM_EVENT_FULL_SCAN_COMPLETE() = default;

  uint8_t Handled = 0;
  // Two numbers of the middleware, only logged.
  int32_t Value0 = -1;
  int32_t Value1 = 0;
};

}  // namespace Events
