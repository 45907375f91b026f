// The TV middleware client (XPM_*), served by the simulated television.
//
// Status convention: XPM_OK (0) is success; any other value is an error code
// that callers log as "<call> Error 0x<code>". A getter's out-value is left
// untouched on failure. Calls may come from any thread.
//
// Events: XPM_SubscribeEvents installs one callback, called on the
// middleware's own thread with (event id, payload, length); the payload is
// valid during the call only (copy it). Ids and payloads: xpm_event_ids.h,
// xpm_events.h.
#pragma once

#include <cstdint>

enum : int32_t {
  XPM_OK = 0,
  XPM_ERR_FAILED = 1,
  XPM_ERR_INVALID_PARAM = 2,
  XPM_ERR_NOT_READY = 3,  // the client is not initialised, or no simulated television runs
  XPM_ERR_TIMEOUT = 4,
};

typedef void (*XPM_EventCallback)(uint32_t eventId, const void* payload, uint32_t length);

// Installs the event callback (replacing one that was there).
int32_t XPM_SubscribeEvents(XPM_EventCallback callback);
// Removes it. Returns once no callback runs any more (unless called from the
// callback itself); no callback follows.
int32_t XPM_UnsubscribeEvents(void);

// Connects the client to the middleware.
int32_t XPM_InitClient(void);

// Whether the program shows a screen (the middleware hides its own overlays then).
int32_t XPM_SetOSDState(int32_t shown);

// Asks the middleware whether it is alive; XPM_ERR_TIMEOUT when it gave no answer within `timeoutMs`.
int32_t XPM_AliveTest(int32_t timeoutMs);

// Closed-caption rendering on (1) or off (0); the middleware keeps the last
// state across restarts.
int32_t XPM_SetCaptionRendering(int32_t on);
int32_t XPM_GetCaptionRendering(int32_t* on);

// The picture's source (the system manager's source numbers).
int32_t XPM_SetSource(int32_t source);
int32_t XPM_GetSource(int32_t* source);

// Where the video of window 0 (main) or 1 shows, in screen coordinates
// (960 x 540 is the whole picture): the rectangle XPM_SetDisplayWindow
// (xpm_settings.h) set last; 0, 0, 960, 540 at start. The media player reads
// it to put it back afterwards.
int32_t XPM_GetDisplayWindow(int32_t window, int32_t* x, int32_t* y, int32_t* width, int32_t* height);

// The service serial port: lines go to serial.log in the data directory.
int32_t XPM_OpenUART(void);
int32_t XPM_CloseUART(void);
// Prints one 8-bit text as it is; XPM_ERR_NOT_READY when the port is closed.
int32_t XPM_PrintStringUART(const char* text);
