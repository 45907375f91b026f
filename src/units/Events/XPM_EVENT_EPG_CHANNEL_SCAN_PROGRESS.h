// Events::XPM_EVENT_EPG_CHANNEL_SCAN_PROGRESS: the guide-data scan reached a channel.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"
#include "units/Events/XPM_EVENT_CHANNEL_SCAN_PROGRESS.h"

namespace Events {

class XPM_EVENT_EPG_CHANNEL_SCAN_PROGRESS : public Core::Event {
  KV_CLASS(Events, XPM_EVENT_EPG_CHANNEL_SCAN_PROGRESS, Core::Event)
 public:
  XPM_EVENT_EPG_CHANNEL_SCAN_PROGRESS() = default;

  uint8_t Handled = 0;
  uint16_t Position = 0;  // the channel's place in the run
  uint16_t Total = 0;     // channels in the run
  ScanChannel Channel;
};

}  // namespace Events
