// The middleware's HDMI-CEC and 3D calls, served by the simulated
// television's devices (sim_net_state.h). Status convention of xpm.h.
#pragma once

#include <cstddef>
#include <cstdint>

// --- HDMI-CEC ----------------------------------------------------------------------

inline constexpr int32_t XPM_CEC_MAX_ADDRESS = 14;  // logical addresses 1 to 14 name devices
// XPM_HdmiCec_Get: 1 when an audio system answers and plays the TV's sound
// (system audio: the TV's own speakers are off, XPM_SetSpeaker 0).
inline constexpr int32_t XPM_CEC_ITEM_AUDIO_SYSTEM = 11;
inline constexpr int32_t XPM_CEC_ITEM_AUDIO_MUTE = 12;    // XPM_HdmiCec_Get: 1 while the audio system is muted
inline constexpr int32_t XPM_CEC_ITEM_USER_CONTROL = 19;  // XPM_HdmiCec_Set: a remote key code for the device
inline constexpr int32_t XPM_CEC_ITEM_AUDIO_CONTROL = 20;  // XPM_HdmiCec_Set: a remote key code for the audio system
// The user-control codes of the audio system's keys.
inline constexpr int32_t XPM_CEC_KEY_VOLUME_UP = 0x41;
inline constexpr int32_t XPM_CEC_KEY_VOLUME_DOWN = 0x42;
inline constexpr int32_t XPM_CEC_KEY_MUTE = 0x43;

// The device at one logical address.
struct XPM_CecDevInfo {
  int32_t source;   // the input it is connected to
  uint8_t present;  // 1 when a device answers at the address
  uint8_t active;   // 1 for the device the input's CEC control points at
  uint8_t reserved[2];
  char name[16];    // zero-terminated OSD name
};
static_assert(offsetof(XPM_CecDevInfo, name) == 8);
static_assert(sizeof(XPM_CecDevInfo) == 24);

int32_t XPM_HdmiCec_GetDevInfo(uint8_t address, XPM_CecDevInfo* info);
// Points the CEC control of an input at a device (Ex: with an extra flag).
int32_t XPM_HdmiCecSetAddr(int32_t source, uint8_t address);
int32_t XPM_HdmiCecSetAddrEx(int32_t source, uint8_t address, int32_t extra);
int32_t XPM_HdmiCec_Set(int32_t item, int32_t value);
int32_t XPM_HdmiCec_Get(int32_t item, int32_t* value);

// --- 3D ----------------------------------------------------------------------------

// Modes and formats: 0 none, 1 2D, 2 side by side, 3 top and bottom, 5 and 6
// frame packing (720, 1080), -2 an unsupported 3D format.
struct XPM_3DVideoStatus {
  int32_t mode;         // the mode set
  int32_t displayState; // 1 3D, 2 2D, 3 2D to 3D, 4 3D shown as 2D
  int32_t inputFormat;  // what the input carries
};
static_assert(sizeof(XPM_3DVideoStatus) == 12);

int32_t XPM_3DTV_GetVideoStatus(XPM_3DVideoStatus* status);
int32_t XPM_3DTV_SetMode(int32_t mode);
int32_t XPM_3DTV_SetOutput(int32_t on);
int32_t XPM_3DTV_SetVideoStatus(int32_t a, int32_t b, int32_t c);
