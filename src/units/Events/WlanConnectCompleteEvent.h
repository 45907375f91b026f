// Events::WlanConnectCompleteEvent: a wireless join ended.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class WlanConnectCompleteEvent : public Core::Event {
  KV_CLASS(Events, WlanConnectCompleteEvent, Core::Event)
 public:
  WlanConnectCompleteEvent() = default;

  uint8_t Handled = 0;
  int32_t Status = 0;  // 2 connected, 0 no access point answered, others failures
};

}  // namespace Events
