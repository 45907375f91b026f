// Events::XPM_EVENT_STANDBY: the set is to go to standby; the root carries it out.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class XPM_EVENT_STANDBY : public Core::Event {
  KV_CLASS(Events, XPM_EVENT_STANDBY, Core::Event)
 public:
  XPM_EVENT_STANDBY() = default;

  uint8_t Handled = 0;
  // 1 automatic power-down, 2 on-timer shutdown, 5 end of the sleep timer,
  // 7 restart after a software update; 0 when no reason was given.
  int32_t Reason = 0;
};

}  // namespace Events
