// Events::WlanScanCompleteEvent: the wireless scan ended.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class WlanScanCompleteEvent : public Core::Event {
  KV_CLASS(Events, WlanScanCompleteEvent, Core::Event)
 public:
  WlanScanCompleteEvent() = default;

  uint8_t Handled = 0;
  int32_t Status = 0;
};

}  // namespace Events
