// Events::XPM_EVENT_EPG_FULL_SCAN_ABORTED: the guide-data scan was aborted.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class XPM_EVENT_EPG_FULL_SCAN_ABORTED : public Core::Event {
  KV_CLASS(Events, XPM_EVENT_EPG_FULL_SCAN_ABORTED, Core::Event)
 public:
  XPM_EVENT_EPG_FULL_SCAN_ABORTED() = default;

  uint8_t Handled = 0;
  // Two numbers of the middleware, only logged.
  int32_t Value0 = -1;
  int32_t Value1 = 0;
};

}  // namespace Events
