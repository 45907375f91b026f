// Events::XPM_EVENT_FACTORY_RESET: asks the application root for a factory reset.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class XPM_EVENT_FACTORY_RESET : public Core::Event {
  KV_CLASS(Events, XPM_EVENT_FACTORY_RESET, Core::Event)
 public:
  XPM_EVENT_FACTORY_RESET() = default;

  uint8_t Handled = 0;
};

}  // namespace Events
