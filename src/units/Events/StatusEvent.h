// Events::StatusEvent: a status of the media service (code 18: the media
// sources changed; first value 4 a medium came, 5 one went, the third value
// then naming the removed USB device).
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class StatusEvent : public Core::Event {
  KV_CLASS(Events, StatusEvent, Core::Event)
 public:
  StatusEvent() = default;

  // Fills the code and the four values.
  void Initialize(uint16_t code, int32_t v0, int32_t v1, int32_t v2, int32_t v3);

  uint8_t Handled = 0;
  uint16_t Code = 0;
  int32_t SubCode0 = 0;
  int32_t SubCode1 = 0;
  int32_t SubCode2 = 0;
  int32_t SubCode3 = 0;
};

}  // namespace Events
