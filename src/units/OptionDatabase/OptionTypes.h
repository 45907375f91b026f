// Option ids of the base modules: module x 2^24 + index (1 picture, 2 sound,
// 3 setup and captions, 4 CEC and network). 0 means "not bound".
#pragma once

#include <cstdint>

namespace OptionDatabase {

// Picture (module 1).
inline constexpr int32_t OPTION_TYPE_BACKLIGHT = 0x01000001;
inline constexpr int32_t OPTION_TYPE_CONTRAST = 0x01000002;
inline constexpr int32_t OPTION_TYPE_BRIGHTNESS = 0x01000003;
inline constexpr int32_t OPTION_TYPE_COLOR = 0x01000004;
inline constexpr int32_t OPTION_TYPE_TINT = 0x01000005;
inline constexpr int32_t OPTION_TYPE_SHARPNESS = 0x01000006;
inline constexpr int32_t OPTION_TYPE_DIGITAL_NR = 0x01000008;
inline constexpr int32_t OPTION_TYPE_RED_OFFSET = 0x0100000A;
inline constexpr int32_t OPTION_TYPE_GREEN_OFFSET = 0x0100000B;
inline constexpr int32_t OPTION_TYPE_BLUE_OFFSET = 0x0100000C;
inline constexpr int32_t OPTION_TYPE_RED_GAIN = 0x0100000D;
inline constexpr int32_t OPTION_TYPE_GREEN_GAIN = 0x0100000E;
inline constexpr int32_t OPTION_TYPE_BLUE_GAIN = 0x0100000F;
inline constexpr int32_t OPTION_TYPE_ANALOG_NR = 0x01000010;
inline constexpr int32_t OPTION_TYPE_DYNAMIC_CONTRAST = 0x01000011;
inline constexpr int32_t OPTION_TYPE_SUPER_RESOLUTION = 0x01000012;
inline constexpr int32_t OPTION_TYPE_COLOR_MANAGER = 0x01000013;
inline constexpr int32_t OPTION_TYPE_VERTICAL_POSITION = 0x01000015;
inline constexpr int32_t OPTION_TYPE_HORIZONTAL_POSITION = 0x01000016;
inline constexpr int32_t OPTION_TYPE_SAMPLE_CLOCK = 0x01000018;
inline constexpr int32_t OPTION_TYPE_CLOCK_PHASE = 0x01000019;

// Sound (module 2).
inline constexpr int32_t OPTION_TYPE_MTS = 0x02000000;
inline constexpr int32_t OPTION_TYPE_BALANCE = 0x02000001;
inline constexpr int32_t OPTION_TYPE_BASS = 0x02000002;
inline constexpr int32_t OPTION_TYPE_TREBLE = 0x02000003;
inline constexpr int32_t OPTION_TYPE_VOLUME = 0x02000004;
inline constexpr int32_t OPTION_TYPE_AUDYSSEY_EQ = 0x02000005;
inline constexpr int32_t OPTION_TYPE_DYNAMIC_VOLUME = 0x02000006;
inline constexpr int32_t OPTION_TYPE_EQUALIZER = 0x02000008;
inline constexpr int32_t OPTION_TYPE_SPDIF_FORMAT = 0x02000009;
inline constexpr int32_t OPTION_TYPE_AUTO_VOLUME_LEVEL = 0x0200000B;
inline constexpr int32_t OPTION_TYPE_SRS_TRUVOLUME = 0x0200000C;
inline constexpr int32_t OPTION_TYPE_SRS_TRUSURROUND = 0x0200000D;
inline constexpr int32_t OPTION_TYPE_SS_TRUVOLUME = 0x0200000E;
inline constexpr int32_t OPTION_TYPE_SS_TRUSURROUND = 0x0200000F;
inline constexpr int32_t OPTION_TYPE_DIGITAL_PREFERENCE = 0x02000010;
inline constexpr int32_t OPTION_TYPE_LIP_SYNC = 0x02000011;
inline constexpr int32_t OPTION_TYPE_MUTE = 0x02000012;

// Setup and captions (module 3).
inline constexpr int32_t OPTION_TYPE_ENABLE_ON_TIMER = 0x03000001;
inline constexpr int32_t OPTION_TYPE_TIME_ZONE = 0x03000002;
inline constexpr int32_t OPTION_TYPE_DAYLIGHT_SAVING_TIME = 0x03000003;
inline constexpr int32_t OPTION_TYPE_MENU_LANGUAGE = 0x03000004;
inline constexpr int32_t OPTION_TYPE_ANT_CABLE_IN = 0x03000005;
inline constexpr int32_t OPTION_TYPE_AUTO_ASPECT = 0x03000006;
inline constexpr int32_t OPTION_TYPE_STRETCH_4_3 = 0x03000007;
inline constexpr int32_t OPTION_TYPE_PANEL_LOCK = 0x03000008;
inline constexpr int32_t OPTION_TYPE_BASIC_CC_MODE = 0x0300000B;
inline constexpr int32_t OPTION_TYPE_CC_FONT_SIZE = 0x0300000C;
inline constexpr int32_t OPTION_TYPE_CC_FONT_STYLE = 0x0300000D;
inline constexpr int32_t OPTION_TYPE_CC_EDGE_TYPE = 0x0300000E;
inline constexpr int32_t OPTION_TYPE_CC_EDGE_COLOR = 0x0300000F;
inline constexpr int32_t OPTION_TYPE_CC_FG_COLOR = 0x03000010;
inline constexpr int32_t OPTION_TYPE_CC_FG_OPACITY = 0x03000011;
inline constexpr int32_t OPTION_TYPE_CC_BG_COLOR = 0x03000012;
inline constexpr int32_t OPTION_TYPE_CC_BG_OPACITY = 0x03000013;
inline constexpr int32_t OPTION_TYPE_SELECT_CONFIRM = 0x03000017;
inline constexpr int32_t OPTION_TYPE_ADVANCED_CC_MODE = 0x0300001B;
inline constexpr int32_t OPTION_TYPE_CC_PREFERENCE = 0x0300001C;
inline constexpr int32_t OPTION_TYPE_BLOCK_UNRATED_CONTENT = 0x0300001D;
inline constexpr int32_t OPTION_TYPE_TIME_ZONE_KXD = 0x0300001E;

// CEC and network (module 4).
inline constexpr int32_t OPTION_TYPE_ENABLE_CEC = 0x04000000;
inline constexpr int32_t OPTION_TYPE_TV_AUTO_POWER = 0x04000001;
inline constexpr int32_t OPTION_TYPE_AUTO_STANDBY = 0x04000002;
inline constexpr int32_t OPTION_TYPE_AMPLIFIER_CONTROL = 0x04000003;
inline constexpr int32_t OPTION_TYPE_SPEAKER_PREFERENCE = 0x04000004;
inline constexpr int32_t OPTION_TYPE_NETWORK_TYPE = 0x04000005;
inline constexpr int32_t OPTION_TYPE_WPS_CONFIGURATION = 0x04000006;
inline constexpr int32_t OPTION_TYPE_AUTHENTICATION = 0x04000007;
inline constexpr int32_t OPTION_TYPE_ENCRYPTION = 0x04000008;
inline constexpr int32_t OPTION_TYPE_ENHANCED_11N = 0x04000009;
inline constexpr int32_t OPTION_TYPE_AUTO_NETWORK_SETUP = 0x0400000A;
inline constexpr int32_t OPTION_TYPE_KEY_ID = 0x0400000B;
inline constexpr int32_t OPTION_TYPE_CONNECT_MODE = 0x0400000C;
inline constexpr int32_t OPTION_TYPE_WPS_PIN_MODE = 0x0400000D;

}  // namespace OptionDatabase
