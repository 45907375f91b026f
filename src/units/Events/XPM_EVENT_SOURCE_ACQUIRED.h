// Events::XPM_EVENT_SOURCE_ACQUIRED: a source was set (or failed to show) on a window.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class XPM_EVENT_SOURCE_ACQUIRED : public Core::Event {
  KV_CLASS(Events, XPM_EVENT_SOURCE_ACQUIRED, Core::Event)
 public:
  XPM_EVENT_SOURCE_ACQUIRED() = default;

  uint8_t Handled = 0;
  int32_t Source = 0;
  int32_t Window = 0;
  int32_t Status = 0;  // SOURCE_OK 16, SOURCE_NO_SIGNAL 17, SOURCE_RATING_LOCK 20, SOURCE_SOURCE_LOCK 23 ...
  int32_t LockResult = 0;
};

}  // namespace Events
