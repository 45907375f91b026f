// Events::XPM_EVENT_RATING_REGION_UPDATED: the broadcast rating region changed.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class XPM_EVENT_RATING_REGION_UPDATED : public Core::Event {
  KV_CLASS(Events, XPM_EVENT_RATING_REGION_UPDATED, Core::Event)
 public:
  XPM_EVENT_RATING_REGION_UPDATED() = default;

  uint8_t Handled = 0;
  int32_t Region = 0;
};

}  // namespace Events
