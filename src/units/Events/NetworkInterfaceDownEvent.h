// Events::NetworkInterfaceDownEvent: a network interface went down.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class NetworkInterfaceDownEvent : public Core::Event {
  KV_CLASS(Events, NetworkInterfaceDownEvent, Core::Event)
 public:
  NetworkInterfaceDownEvent() = default;

  uint8_t Handled = 0;
};

}  // namespace Events
