// Middleware calls of the skin's identification and source-ring services:
// the streaming service's device serial, the DRM device id, and adding or
// removing a source in a window's ring. Status convention as xpm_settings.h.
#pragma once

#include <cstdint>

// Size of the DRM device id, without its terminator.
inline constexpr int32_t XPM_WIDEVINE_ID_LENGTH = 16;
// The longest device serial the middleware writes, with its terminator.
inline constexpr int32_t XPM_ESN_MAX = 64;

// Writes the device serial, zero-terminated, into `esn` (`size` bytes).
int32_t XPM_NetFlixGetESN(char* esn, int32_t size);
// Writes the 16 bytes of the DRM device id into `id` (at least 17 bytes);
// the caller terminates it.
int32_t XPM_GetWidevineDeviceId(char* id);
// A source (with its channel for tuner sources) joins or leaves a window's
// source ring; `flag` is passed through.
int32_t XPM_AddSourceToRing(int32_t window, int32_t source, int32_t flag, int32_t major, int32_t minor);
int32_t XPM_RemoveSourceFromRing(int32_t window, int32_t source, int32_t flag, int32_t major, int32_t minor);
