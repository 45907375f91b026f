// The ids of the middleware events and of the other user events that travel
// through the GUI's event buffer: the one table of event ids. The payload of
// each id is a struct of xpm_events.h (named beside it); the GUI builds one
// event object per id (host::RegisterEventFactory).
#pragma once

#include <cstdint>

enum XPM_EventId : uint32_t {
  XPM_EVT_NONE = 0,

  // Channel scan. The middleware sends XPM_FullScanProgress; the program's
  // event callback repacks it into XPM_ChannelScanProgressPayload under the
  // same id before posting it.
  XPM_EVT_FULL_SCAN_PROGRESS = 0x0101,      // XPM_FullScanProgress / XPM_ChannelScanProgressPayload
  XPM_EVT_FULL_SCAN_COMPLETE = 0x0102,      // XPM_ScanEndPayload
  XPM_EVT_FULL_SCAN_ABORTED = 0x0103,       // XPM_ScanEndPayload
  XPM_EVT_EPG_SCAN_PROGRESS = 0x0111,       // XPM_EpgScanProgress / XPM_EpgChannelScanProgressPayload
  XPM_EVT_EPG_FULL_SCAN_COMPLETE = 0x0112,  // XPM_ScanEndPayload
  XPM_EVT_EPG_FULL_SCAN_ABORTED = 0x0113,   // XPM_ScanEndPayload

  // The factory remote and the fan monitor (XPM_FactoryEvent).
  XPM_EVT_FACTORY = 0x0201,

  // Network status; also reported to the system manager as it arrives (XPM_NetworkStatusPayload).
  XPM_EVT_NETWORK_STATUS = 0x0301,

  // Events the program makes itself from a middleware event.
  XPM_EVT_FAN_ERROR = 0x0401,  // from XPM_EVT_FACTORY with type 4; no payload

  // System-manager commands that become user events: XPM_USER_EVENT_BASE +
  // the command id, payload TVSM_Command up to its data length.
  XPM_USER_EVENT_BASE = 0x10000,
  XPM_USER_EVENT_LAST = 0x1FFFF,

  // Closures posted to the GUI task (host::RunOnGuiTask); internal to the host.
  XPM_EVT_HOST_CLOSURE = 0xFFFF0001,
};
