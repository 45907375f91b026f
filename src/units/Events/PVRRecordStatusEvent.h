// Events::PVRRecordStatusEvent: a status of the recorder or of timeshift.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

class PVRRecordStatusEvent : public Core::Event {
  KV_CLASS(Events, PVRRecordStatusEvent, Core::Event)
 public:
  PVRRecordStatusEvent() = default;

  uint8_t Handled = 0;
  int32_t Status = 0;
};

}  // namespace Events
