// The middleware's event callback and the packing of the events the GUI
// reads word by word.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/xpm/xpm_events.h"

namespace host {

// Runs on the middleware's thread. While key and event processing is on it
// copies the event and posts it to the GUI task (scan progress repacked);
// every id passes. The network status is also reported to the system
// manager at once. A payload too short for its id is logged and dropped.
void kv_xpmEventCallback(uint32_t eventId, const void* payload, uint32_t length);

// Key and event processing (off while streaming is disabled). Any thread.
void SetEventProcessing(bool on);
bool EventProcessing();

// Called (on the middleware's thread) for every event the callback receives.
void SetMiddlewareEventHook(void (*hook)());

// The full-scan progress as the GUI's event carries it: word 0 := param 0,
// 1 := param 1, 2 := param 2, 104 := param 3, 3 := param 7 capped at 99 and
// by the channels present, then the channels. False (logged) when the
// payload is shorter than the parameters.
bool PackChannelScanProgress(const uint8_t* payload, size_t length, XPM_ChannelScanProgressPayload* out);
// The guide-scan progress: position and total cut to 16 bits, then the channel.
bool PackEpgScanProgress(const uint8_t* payload, size_t length, XPM_EpgChannelScanProgressPayload* out);

}  // namespace host
