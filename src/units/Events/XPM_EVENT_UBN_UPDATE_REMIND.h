// Events::XPM_EVENT_UBN_UPDATE_REMIND: a software update is available.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class XPM_EVENT_UBN_UPDATE_REMIND : public Core::Event {
  KV_CLASS(Events, XPM_EVENT_UBN_UPDATE_REMIND, Core::Event)
 public:
  XPM_EVENT_UBN_UPDATE_REMIND() = default;

  uint8_t Handled = 0;
};

}  // namespace Events
