// Middleware calls of the skin's system services: the caption service in
// use, the picture-in-picture size, the power key, the HDMI audio-video
// mute state and the audio-video reset. Status convention as xpm_settings.h.
#pragma once

#include <cstdint>

// The caption service shown on a window: type 0 basic, 1 advanced; the
// service counted from 1.
struct XPM_CaptionService {
  int32_t type;
  int32_t service;
};

int32_t XPM_GetCurrentCaptionService(int32_t window, XPM_CaptionService* service);
// A service the programme does not carry answers XPM_ERR_INVALID_PARAM.
int32_t XPM_SetCaptionService(int32_t window, int32_t type, int32_t service);
int32_t XPM_GetPipSize(int32_t* size);
int32_t XPM_SetPipSize(int32_t size);
// 0: the power key no longer switches the set; 1: it does again.
int32_t XPM_PowerKeyCtrl(int8_t on);
// Whether the HDMI source sends the audio-video mute (1) or not (0).
int32_t XPM_GetHdmiAvMute(int32_t window, int32_t* muted);
int32_t XPM_ResetAudioVideoProperties(void);
