// The ids of the middleware events and of the other user events that travel
// through the GUI's event buffer: the one table of event ids. The payload of
// each id is a struct of xpm_events.h (named beside it); the GUI builds one
// event object per id (evreg::RegisterEventFactory).
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
  // XPM_EVT_FAN_ERROR comes from XPM_EVT_FACTORY with type 4 and no payload
  // (the fan stopped), or with an XPM_FanErrorPayload.
  XPM_EVT_FAN_ERROR = 0x0401,

  // Channel and source acquisition, rating regions.
  XPM_EVT_CHANNEL_ACQUIRED = 0x0121,       // XPM_ChannelAcquiredPayload
  XPM_EVT_SOURCE_ACQUIRED = 0x0122,        // XPM_SourceAcquiredPayload
  XPM_EVT_RATING_REGION_UPDATED = 0x0123,  // XPM_Int32Payload: the region

  // Wireless network and network test results.
  XPM_EVT_WLAN_SCAN_COMPLETE = 0x0311,     // XPM_Int32Payload: the status
  XPM_EVT_WLAN_CONNECT_COMPLETE = 0x0312,  // XPM_Int32Payload: the status (2 connected, 0 no answer)
  XPM_EVT_NETWORK_TEST_RESULTS = 0x0313,   // XPM_NetworkTestResultsPayload

  // State of the set.
  XPM_EVT_STANDBY = 0x0501,         // XPM_Int32Payload: the standby reason
  XPM_EVT_USB_OVERCURRENT = 0x0502,  // no payload

  // Software update.
  XPM_EVT_UBN_UPDATE_REMIND = 0x0601,   // no payload
  XPM_EVT_UBN_MEDIA_INSERTED = 0x0602,  // XPM_PathPayload: the update file
  XPM_EVT_UBN_RESULT = 0x0603,          // XPM_Int32Payload: the result (0 success)

  // Recorder and timers.
  XPM_EVT_PVR_RECORD_STATUS = 0x0701,     // XPM_Int32Payload: the recording status
  XPM_EVT_PVR_USB_FORMAT = 0x0702,        // XPM_Int32Payload: the format result (0 success)
  XPM_EVT_PVR_PERF_STATUS = 0x0703,       // XPM_Int32Payload: the measured USB speed
  XPM_EVT_TIMER_STANDBY = 0x0711,         // XPM_Int32Payload: the timer id
  XPM_EVT_TIMER_RECORD_WARNING = 0x0712,  // XPM_Int32Payload: the timer id

  // HDMI-CEC.
  XPM_EVT_CEC_SOURCE_DETECTED = 0x0801,  // XPM_CecSourceDetectedPayload
  XPM_EVT_CEC_NAME_UPDATED = 0x0802,     // XPM_CecNameUpdatedPayload

  // The media service.
  XPM_EVT_MEDIA_STATUS = 0x0901,   // XPM_MediaStatusPayload
  XPM_EVT_DMR_STATUS = 0x0902,     // XPM_DmrStatusPayload
  XPM_EVT_MEDIA_REMOVED = 0x0903,  // XPM_PathPayload: the medium's path

  // 3D video: the format the input carries (XPM_Int32Payload, OAM 3D mode values).
  XPM_EVT_3D_STATUS = 0x0A01,

  // System-manager commands that become user events: XPM_USER_EVENT_BASE +
  // the command id, payload TVSM_Command up to its data length.
  XPM_USER_EVENT_BASE = 0x10000,
  XPM_USER_EVENT_LAST = 0x1FFFF,
  XPM_USER_EVENT_LAST_CHANNEL = XPM_USER_EVENT_BASE + 0x0101,  // command 0x101, the Last key; no data
  XPM_USER_EVENT_CABLE_ON_OFF = XPM_USER_EVENT_BASE + 0x0102,  // command 0x102; param: the medium
  XPM_USER_EVENT_TIMER_WAKEUP = XPM_USER_EVENT_BASE + 0x0103,  // command 0x103, woken by a timer; no data

  // Closures posted to the GUI task (host::RunOnGuiTask); internal to the host.
  XPM_EVT_HOST_CLOSURE = 0xFFFF0001,
};
