// The coding and channel mode of the audio service a window plays, as the
// banners show them (Dolby icons, mono, stereo, multiple audio).
//
// Status convention as in xpm_settings.h: XPM_OK (0) is success; the record
// is zeroed first and filled only on success.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/xpm/xpm.h"

enum : int32_t {
  XPM_AUDIO_CODING_NONE = 0,
  XPM_AUDIO_CODING_PCM = 1,
  XPM_AUDIO_CODING_MPEG = 2,
  XPM_AUDIO_CODING_DOLBY_DIGITAL = 3,
  XPM_AUDIO_CODING_DOLBY_DIGITAL_PLUS = 4,
};

struct XPM_CurrentAudioServiceInfo {
  int32_t coding;      // XPM_AUDIO_CODING_*
  int32_t audioMode;   // 1 mono, 2 stereo, 3-4 stereo with second audio, 5-8 multiple audio
  char language[16];   // three-letter code, zero-terminated 8-bit text
  int32_t reserved[2];
};
static_assert(offsetof(XPM_CurrentAudioServiceInfo, language) == 8);
static_assert(sizeof(XPM_CurrentAudioServiceInfo) == 32);

int32_t XPM_GetCurrentAudioServiceInfo(int32_t window, XPM_CurrentAudioServiceInfo* info);
