// Events::XPM_EVENT_UBN_RESULT: the outcome of a software-update step.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class XPM_EVENT_UBN_RESULT : public Core::Event {
  KV_CLASS(Events, XPM_EVENT_UBN_RESULT, Core::Event)
 public:
  XPM_EVENT_UBN_RESULT() = default;

  uint8_t Handled = 0;
  int32_t Result = 0;  // 0 success
};

}  // namespace Events
