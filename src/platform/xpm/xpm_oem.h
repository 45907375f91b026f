// The middleware's generic OEM property calls and the few set-specific
// calls beside them, served by the simulated television.
//
// Status convention: XPM_OK (0) is success. A getter writes its answer only
// on success; the caller presets its default.
//
// Properties are 32-bit words, except the record properties, whose value is
// the address of a record of 32-bit words (XPM_Oem* below): the caller fills
// the leading in-words (picture mode, point, source), the middleware the rest.
// Property 94 packs the picture mode in the upper 16 bits and the sensor
// switch in the lower 16: a read takes the mode from the word written in
// and answers the switch. Property 12 is an in/out word (in: the item).
//
// Path properties address a path (0, or a video window) and an id.
#pragma once

#include <cstdint>

#include "platform/xpm/xpm.h"

enum : int32_t {
  XPM_OEM_ADC_CALIB_RESULT = 12,
  XPM_OEM_TV_MODEL_ID = 18,
  XPM_OEM_SHARED_PC_INPUT = 35,
  XPM_OEM_REAR_SHARED_AUDIO = 36,
  XPM_OEM_SIDE_SHARED_AUDIO = 37,
  XPM_OEM_PANEL_CODE = 38,
  XPM_OEM_ROOM_LIGHTING = 47,
  XPM_OEM_BACKLIGHT_CURVE = 49,        // XPM_OemBacklightPoint
  XPM_OEM_BACKLIGHT_CURVE_RESET = 50,  // word 0
  XPM_OEM_KEY_HELD_SERVICE = 51,
  XPM_OEM_KEY_HELD_HIDDEN_MENU = 52,
  XPM_OEM_KEY_HELD_FACTORY_RESET = 53,
  XPM_OEM_WHITE_BALANCE = 54,      // XPM_OemWhiteBalance
  XPM_OEM_WB_COPY_ALL_INPUTS = 55,  // XPM_OemPictureSource
  XPM_OEM_WB_RESET = 56,            // XPM_OemPictureSource
  XPM_OEM_SRV_RED_GAIN = 57,
  XPM_OEM_SRV_GREEN_GAIN = 58,
  XPM_OEM_SRV_BLUE_GAIN = 59,
  XPM_OEM_SRV_RED_OFFSET = 60,
  XPM_OEM_SRV_GREEN_OFFSET = 61,
  XPM_OEM_SRV_BLUE_OFFSET = 62,
  XPM_OEM_BRIGHTNESS_CENTER = 63,
  XPM_OEM_COLOR_CENTER = 64,
  XPM_OEM_BASEBAND_TINT = 65,
  XPM_OEM_CONTRAST_MAX = 66,
  XPM_OEM_FACTORY_TEST_FIRST = 67,
  XPM_OEM_FACTORY_TEST_LAST = 75,
  XPM_OEM_AUTO_BRIGHTNESS_SENSOR = 94,  // packed: mode << 16 | switch
  XPM_OEM_TVM_VERSION = 95,
  XPM_OEM_POWER_LED = 96,
  XPM_OEM_HDMI_INPUT_MODE = 98,
  XPM_OEM_HDMI_INSTAPORT = 99,
  XPM_OEM_BRONTEL = 101,
  XPM_OEM_IR_CONTROL = 103,
  XPM_OEM_TV_POWER_ON_CONTROL = 105,
  XPM_OEM_VIDEO_OUTPUT_MODE = 107,
  XPM_OEM_WINDOW_H_POS = 108,
  XPM_OEM_WINDOW_V_POS = 109,
  XPM_OEM_WINDOW_H_SIZE = 110,
  XPM_OEM_WINDOW_V_SIZE = 111,
  XPM_OEM_FACTORY_MODE = 112,
};

// Path properties.
enum : int32_t {
  XPM_OEM_PATH_HALF_MUTE = 47,      // path: the window
  XPM_OEM_PATH_STORE_LOCATION = 50,  // path 0: 1 store, 0 home
  XPM_OEM_PATH_TEST_PATTERN = 122,   // path 0: pattern number, 0 off
};

// Record of property 49.
struct XPM_OemBacklightPoint {
  int32_t pictureMode;  // in
  int32_t point;        // in
  int32_t value;
};
static_assert(sizeof(XPM_OemBacklightPoint) == 12);

// Record of property 54: gains and offsets of one picture mode and source.
struct XPM_OemWhiteBalance {
  int32_t pictureMode;  // in
  int32_t source;       // in
  int32_t values[6];    // red, green, blue gain, red, green, blue offset
};
static_assert(sizeof(XPM_OemWhiteBalance) == 32);

// Record of properties 55 and 56.
struct XPM_OemPictureSource {
  int32_t pictureMode;
  int32_t source;
};
static_assert(sizeof(XPM_OemPictureSource) == 8);

// Word properties, and the in/out words 12 and 94.
int32_t XPM_GetExtOemProperty(int32_t id, int32_t* inOut);
int32_t XPM_SetExtOemProperty(int32_t id, int32_t value);
// Record properties (49, 54, 55, 56): `record` points at the record's words.
int32_t XPM_GetExtOemProperty(int32_t id, void* record);
int32_t XPM_SetExtOemProperty(int32_t id, const void* record);

int32_t XPM_GetExtOemPathProperty(int32_t path, int32_t id, int32_t* out);
int32_t XPM_SetExtOemPathProperty(int32_t path, int32_t id, int32_t value);

// Re-applies the ambient-light picture correction now.
int32_t XPM_Utility_GlowSync_ForceApply(void);
// Hours the panel has been on.
int32_t XPM_GetPowerOnTime(uint32_t* hours);
// The language of the HDMI-CEC menus: "eng", "fre" or "spa".
int32_t XPM_SetUILanguage(const char* code);
// The source the set returns to when the user interface gets the screen
// back from another application (0-29).
int32_t XPM_SetBack2TVSourceID(int32_t source);
