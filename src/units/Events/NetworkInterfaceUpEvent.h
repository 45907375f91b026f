// Events::NetworkInterfaceUpEvent: a network interface came up.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class NetworkInterfaceUpEvent : public Core::Event {
  KV_CLASS(Events, NetworkInterfaceUpEvent, Core::Event)
 public:
  NetworkInterfaceUpEvent() = default;

  uint8_t Handled = 0;
};

}  // namespace Events
