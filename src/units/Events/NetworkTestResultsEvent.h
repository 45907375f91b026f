// Events::NetworkTestResultsEvent: the results of the network test. The fields hold the
// middleware's result words in the order 2, 1, 0.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class NetworkTestResultsEvent : public Core::Event {
  KV_CLASS(Events, NetworkTestResultsEvent, Core::Event)
 public:
  NetworkTestResultsEvent() = default;

  uint8_t Handled = 0;
  int32_t Word2 = 0;  // the measured value (the speed)
  int32_t Word1 = 0;  // the first result
  int32_t Word0 = 0;  // the second result
};

}  // namespace Events
