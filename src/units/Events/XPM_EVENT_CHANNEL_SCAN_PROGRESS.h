// Events::XPM_EVENT_CHANNEL_SCAN_PROGRESS: one step of the channel scan.
#pragma once

#include <cstdint>

#include "units/Core/Event.h"

namespace Events {

// A virtual channel number as the scan events carry it (minor 0: analogue).
struct ScanChannel {
  int32_t Major = 0;
  int32_t Minor = 0;
};

class XPM_EVENT_CHANNEL_SCAN_PROGRESS : public Core::Event {
  KV_CLASS(Events, XPM_EVENT_CHANNEL_SCAN_PROGRESS, Core::Event)
 public:
  static constexpr int32_t kMaxChannels = 99;

  XPM_EVENT_CHANNEL_SCAN_PROGRESS() = default;

  uint8_t Handled = 0;
  int32_t PhysicalChannel = 0;  // the channel being scanned
  int32_t Value1 = 0;           // a further number of the middleware
  int32_t Percent = 0;          // 0..100
  int32_t Found = 0;            // channels found at this step, 0..99; Channels[0..Found) are valid
  ScanChannel Channels[kMaxChannels];
  int32_t Flag = 0;  // the middleware's flag word
};

}  // namespace Events
