// Option ids of the skin's modules: 0x81 picture, 0x82 sound, 0x83 setup,
// timers and captions, 0x84 preferences and locks, 0x85 connections and
// energy, 0x86 media and quick settings, 0x87 second picture module.
#pragma once

#include <cstdint>

namespace SkinBin {

// Picture (0x81).
inline constexpr int32_t OPTION_TYPE_THEATER_LOCK = static_cast<int32_t>(0x81000000u);
inline constexpr int32_t OPTION_TYPE_BACKLIGHT_AUTO = static_cast<int32_t>(0x81000001u);
inline constexpr int32_t OPTION_TYPE_AUTO_BRIGHTNESS_SENSOR = static_cast<int32_t>(0x81000002u);
inline constexpr int32_t OPTION_TYPE_ROOM_LIGHTING = static_cast<int32_t>(0x81000004u);
inline constexpr int32_t OPTION_TYPE_LUMIFLUX = static_cast<int32_t>(0x81000005u);
inline constexpr int32_t OPTION_TYPE_DNR = static_cast<int32_t>(0x81000006u);
inline constexpr int32_t OPTION_TYPE_DYNAMIC_CONTRAST_AUTO = static_cast<int32_t>(0x81000007u);
inline constexpr int32_t OPTION_TYPE_STILLPANE_240 = static_cast<int32_t>(0x81000008u);
inline constexpr int32_t OPTION_TYPE_STILLPANE = static_cast<int32_t>(0x81000009u);
inline constexpr int32_t OPTION_TYPE_RGB_FILTER_RED = static_cast<int32_t>(0x8100000Au);
inline constexpr int32_t OPTION_TYPE_RGB_FILTER_GREEN = static_cast<int32_t>(0x8100000Bu);
inline constexpr int32_t OPTION_TYPE_RGB_FILTER_BLUE = static_cast<int32_t>(0x8100000Cu);
inline constexpr int32_t OPTION_TYPE_FILM_STABILIZATION_240 = static_cast<int32_t>(0x8100000Du);
inline constexpr int32_t OPTION_TYPE_FILM_STABILIZATION_AUTO = static_cast<int32_t>(0x8100000Eu);
inline constexpr int32_t OPTION_TYPE_FILM_STABILIZATION = static_cast<int32_t>(0x8100000Fu);
inline constexpr int32_t OPTION_TYPE_WB_WINDOW_DISPLAY = static_cast<int32_t>(0x81000010u);
inline constexpr int32_t OPTION_TYPE_WB_SETTING_TYPE = static_cast<int32_t>(0x81000011u);
inline constexpr int32_t OPTION_TYPE_TEST_PATTERN = static_cast<int32_t>(0x81000012u);
inline constexpr int32_t OPTION_TYPE_COLOR_TEMPERATURE = static_cast<int32_t>(0x81000013u);
inline constexpr int32_t OPTION_TYPE_COLOR_TEMPERATURE_AUTO = static_cast<int32_t>(0x81000014u);
inline constexpr int32_t OPTION_TYPE_WB_IRE = static_cast<int32_t>(0x81000015u);
inline constexpr int32_t OPTION_TYPE_WB_RED = static_cast<int32_t>(0x81000016u);
inline constexpr int32_t OPTION_TYPE_WB_GREEN = static_cast<int32_t>(0x81000017u);
inline constexpr int32_t OPTION_TYPE_WB_BLUE = static_cast<int32_t>(0x81000018u);
inline constexpr int32_t OPTION_TYPE_SUPER_RESOLUTION_LEVEL = static_cast<int32_t>(0x81000019u);
inline constexpr int32_t OPTION_TYPE_STATIC_GAMMA = static_cast<int32_t>(0x8100001Au);
inline constexpr int32_t OPTION_TYPE_PICTURE_MODE = static_cast<int32_t>(0x8100001Bu);
inline constexpr int32_t OPTION_TYPE_PICTURE_SIZE = static_cast<int32_t>(0x8100001Cu);
inline constexpr int32_t OPTION_TYPE_SUPER_RESOLUTION_LEVEL_AUTO = static_cast<int32_t>(0x8100001Du);
inline constexpr int32_t OPTION_TYPE_QRV_CINEMA_MODE = static_cast<int32_t>(0x8100001Eu);
inline constexpr int32_t OPTION_TYPE_QUIL_LAR_240 = static_cast<int32_t>(0x8100001Fu);

// Sound (0x82).
inline constexpr int32_t OPTION_TYPE_VOICE_ENHANCEMENT = static_cast<int32_t>(0x82000001u);
inline constexpr int32_t OPTION_TYPE_DYNAMIC_BASS_BOOST = static_cast<int32_t>(0x82000002u);
inline constexpr int32_t OPTION_TYPE_DYNAMIC_RANGE_CONTROL = static_cast<int32_t>(0x82000003u);
inline constexpr int32_t OPTION_TYPE_AMPLIFIER_VOLUME = static_cast<int32_t>(0x82000004u);
inline constexpr int32_t OPTION_TYPE_AMPLIFIER_MUTE = static_cast<int32_t>(0x82000005u);
inline constexpr int32_t OPTION_TYPE_QUICK_SPEAKER_PREFERENCE = static_cast<int32_t>(0x82000006u);
inline constexpr int32_t OPTION_TYPE_MTS_KEY = static_cast<int32_t>(0x82000007u);

// Setup, timers and captions (0x83).
inline constexpr int32_t OPTION_TYPE_MANUAL_TUNING_CHANNEL = static_cast<int32_t>(0x83000000u);
inline constexpr int32_t OPTION_TYPE_COUNTRY = static_cast<int32_t>(0x83000001u);
inline constexpr int32_t OPTION_TYPE_LOCATION = static_cast<int32_t>(0x83000002u);
inline constexpr int32_t OPTION_TYPE_SLEEP_TIMER = static_cast<int32_t>(0x83000003u);
inline constexpr int32_t OPTION_TYPE_CHANNEL_TUNING_MODE = static_cast<int32_t>(0x83000004u);
inline constexpr int32_t OPTION_TYPE_BRONTEL = static_cast<int32_t>(0x83000005u);
inline constexpr int32_t OPTION_TYPE_USB_AUTO_START = static_cast<int32_t>(0x83000006u);
inline constexpr int32_t OPTION_TYPE_STICKER_DEMO = static_cast<int32_t>(0x83000007u);
inline constexpr int32_t OPTION_TYPE_ONTIMER_INPUT = static_cast<int32_t>(0x83000008u);
inline constexpr int32_t OPTION_TYPE_ONTIMER_CHANNEL = static_cast<int32_t>(0x8300000Au);
inline constexpr int32_t OPTION_TYPE_ONTIMER_VOLUME = static_cast<int32_t>(0x8300000Bu);
inline constexpr int32_t OPTION_TYPE_ONTIMER_TILL_POWER_ON = static_cast<int32_t>(0x8300000Cu);
inline constexpr int32_t OPTION_TYPE_GUIDE_CHANNEL = static_cast<int32_t>(0x8300000Du);
inline constexpr int32_t OPTION_TYPE_CLOSED_CAPTION_STATE = static_cast<int32_t>(0x8300000Eu);
inline constexpr int32_t OPTION_TYPE_PIP_INPUT = static_cast<int32_t>(0x8300000Fu);
inline constexpr int32_t OPTION_TYPE_PIP_SIZE = static_cast<int32_t>(0x83000010u);
inline constexpr int32_t OPTION_TYPE_PIP_MODE = static_cast<int32_t>(0x83000011u);
inline constexpr int32_t OPTION_TYPE_PIP_AUDIO = static_cast<int32_t>(0x83000012u);
inline constexpr int32_t OPTION_TYPE_TIMER_TIMES_TYPE = static_cast<int32_t>(0x83000013u);
inline constexpr int32_t OPTION_TYPE_TIMESHIFT_DURATION = static_cast<int32_t>(0x83000014u);
inline constexpr int32_t OPTION_TYPE_WINDOW_HPOS = static_cast<int32_t>(0x83000015u);
inline constexpr int32_t OPTION_TYPE_WINDOW_VPOS = static_cast<int32_t>(0x83000016u);
inline constexpr int32_t OPTION_TYPE_WINDOW_HSIZE = static_cast<int32_t>(0x83000017u);
inline constexpr int32_t OPTION_TYPE_WINDOW_VSIZE = static_cast<int32_t>(0x83000018u);
inline constexpr int32_t OPTION_TYPE_ONTIMER_MEDIUM = static_cast<int32_t>(0x83000019u);
inline constexpr int32_t OPTION_TYPE_TIMER_START_EARLY = static_cast<int32_t>(0x8300001Au);
inline constexpr int32_t OPTION_TYPE_TIMER_END_DELAY = static_cast<int32_t>(0x8300001Bu);

// Preferences and locks (0x84).
inline constexpr int32_t OPTION_TYPE_3D_AUTO_START = static_cast<int32_t>(0x84000000u);
inline constexpr int32_t OPTION_TYPE_3D_START_MESSAGE = static_cast<int32_t>(0x84000001u);
inline constexpr int32_t OPTION_TYPE_3D_LOCK = static_cast<int32_t>(0x84000002u);
inline constexpr int32_t OPTION_TYPE_3D_TIMER_LOCK = static_cast<int32_t>(0x84000003u);
inline constexpr int32_t OPTION_TYPE_INPUT_LOCK = static_cast<int32_t>(0x84000004u);
inline constexpr int32_t OPTION_TYPE_MEDIA_RENDERER = static_cast<int32_t>(0x84000005u);
inline constexpr int32_t OPTION_TYPE_DMC_ACCESS_CONTROL = static_cast<int32_t>(0x84000006u);
inline constexpr int32_t OPTION_TYPE_HDMI_INFORMATION_DISPLAY = static_cast<int32_t>(0x84000007u);
inline constexpr int32_t OPTION_TYPE_POWER_LED = static_cast<int32_t>(0x84000008u);
inline constexpr int32_t OPTION_TYPE_IR_CONTROL = static_cast<int32_t>(0x84000009u);
inline constexpr int32_t OPTION_TYPE_CB_NAVIGATION = static_cast<int32_t>(0x8400000Au);
inline constexpr int32_t OPTION_TYPE_CB_HISTORY_LIST = static_cast<int32_t>(0x8400000Bu);
inline constexpr int32_t OPTION_TYPE_CB_ANT_CABLE_LIST = static_cast<int32_t>(0x8400000Cu);
inline constexpr int32_t OPTION_TYPE_CB_INPUTS_LIST = static_cast<int32_t>(0x8400000Du);
inline constexpr int32_t OPTION_TYPE_CB_FAVORITES_LIST = static_cast<int32_t>(0x8400000Eu);
inline constexpr int32_t OPTION_TYPE_CB_KELVO_LINK_LIST = static_cast<int32_t>(0x8400000Fu);
inline constexpr int32_t OPTION_TYPE_ENABLE_RATING_BLOCK = static_cast<int32_t>(0x84000010u);
inline constexpr int32_t OPTION_TYPE_GAME_TIMER = static_cast<int32_t>(0x84000011u);
inline constexpr int32_t OPTION_TYPE_CURRENT_CBLIST = static_cast<int32_t>(0x84000012u);
inline constexpr int32_t OPTION_TYPE_2D_3D_DEPTH = static_cast<int32_t>(0x84000013u);
inline constexpr int32_t OPTION_TYPE_ENABLE_3D_TIMER = static_cast<int32_t>(0x84000014u);
inline constexpr int32_t OPTION_TYPE_3D_IMPORTANT_INFO = static_cast<int32_t>(0x84000015u);
inline constexpr int32_t OPTION_TYPE_3D_LEFT_RIGHT_IMAGE = static_cast<int32_t>(0x84000016u);
inline constexpr int32_t OPTION_TYPE_TV_POWERON_CONTROL = static_cast<int32_t>(0x84000017u);
inline constexpr int32_t OPTION_TYPE_ENABLE_DLNA = static_cast<int32_t>(0x84000018u);

// Connections and energy (0x85).
inline constexpr int32_t OPTION_TYPE_SIDE_AUDIO = static_cast<int32_t>(0x85000000u);
inline constexpr int32_t OPTION_TYPE_REAR_AUDIO = static_cast<int32_t>(0x85000001u);
inline constexpr int32_t OPTION_TYPE_PC_INPUT = static_cast<int32_t>(0x85000002u);
inline constexpr int32_t OPTION_TYPE_VIDEO1_HD1_AUDIO = static_cast<int32_t>(0x85000003u);
inline constexpr int32_t OPTION_TYPE_PC_HDMI3_AUDIO = static_cast<int32_t>(0x85000004u);
inline constexpr int32_t OPTION_TYPE_HDMI_INSTAPORT = static_cast<int32_t>(0x85000006u);
inline constexpr int32_t OPTION_TYPE_HDMI_RGB_RANGE = static_cast<int32_t>(0x85000007u);
inline constexpr int32_t OPTION_TYPE_HDMI_INPUT_MODE = static_cast<int32_t>(0x85000008u);
inline constexpr int32_t OPTION_TYPE_DIGITAL_AUDIO_OUTPUT = static_cast<int32_t>(0x85000009u);
inline constexpr int32_t OPTION_TYPE_AUTO_INPUT_ENABLE = static_cast<int32_t>(0x8500000Au);
inline constexpr int32_t OPTION_TYPE_AUTOMATIC_POWER_DOWN = static_cast<int32_t>(0x8500000Bu);
inline constexpr int32_t OPTION_TYPE_AUTO_INPUT_TV = static_cast<int32_t>(0x8500000Cu);
inline constexpr int32_t OPTION_TYPE_AUTO_INPUT_CABLE_SAT = static_cast<int32_t>(0x8500000Du);
inline constexpr int32_t OPTION_TYPE_AUTO_INPUT_BD_DVD = static_cast<int32_t>(0x8500000Eu);
inline constexpr int32_t OPTION_TYPE_AUTO_INPUT_AUX = static_cast<int32_t>(0x8500000Fu);
inline constexpr int32_t OPTION_TYPE_TV_MODEL_ID = static_cast<int32_t>(0x85000010u);
inline constexpr int32_t OPTION_TYPE_CC_KEY = static_cast<int32_t>(0x85000011u);
inline constexpr int32_t OPTION_TYPE_NO_SIGNAL_POWER_DOWN = static_cast<int32_t>(0x85000012u);

// Media and quick settings (0x86).
inline constexpr int32_t OPTION_TYPE_SELECT_YESNO = static_cast<int32_t>(0x86000000u);
inline constexpr int32_t OPTION_TYPE_MM_SORT = static_cast<int32_t>(0x86000001u);
inline constexpr int32_t OPTION_TYPE_MM_INTERVAL_TIME = static_cast<int32_t>(0x86000002u);
inline constexpr int32_t OPTION_TYPE_PHOTO_REPEAT = static_cast<int32_t>(0x86000003u);
inline constexpr int32_t OPTION_TYPE_MOVIE_REPEAT = static_cast<int32_t>(0x86000004u);
inline constexpr int32_t OPTION_TYPE_MUSIC_REPEAT = static_cast<int32_t>(0x86000005u);
inline constexpr int32_t OPTION_TYPE_TV_AUTO_POWEROFF = static_cast<int32_t>(0x86000007u);
inline constexpr int32_t OPTION_TYPE_MAX_VOLUME_SETUP = static_cast<int32_t>(0x86000008u);
inline constexpr int32_t OPTION_TYPE_BGM_ONOFF = static_cast<int32_t>(0x8600000Au);
inline constexpr int32_t OPTION_TYPE_PHOTO_BROWSE = static_cast<int32_t>(0x8600000Bu);

// Second picture module (0x87): base colours at 3 x colour + component
// (colours red, green, blue, yellow, magenta, cyan; components hue,
// saturation, brightness), then the service adjustments.
inline constexpr int32_t OPTION_TYPE_BASECOLOR_ADJUST_RED_HUE = static_cast<int32_t>(0x87000000u);
inline constexpr int32_t OPTION_TYPE_BASECOLOR_ADJUST_RED_SATURATION = static_cast<int32_t>(0x87000001u);
inline constexpr int32_t OPTION_TYPE_BASECOLOR_ADJUST_RED_BRIGHTNESS = static_cast<int32_t>(0x87000002u);
inline constexpr int32_t OPTION_TYPE_BASECOLOR_ADJUST_GREEN_HUE = static_cast<int32_t>(0x87000003u);
inline constexpr int32_t OPTION_TYPE_BASECOLOR_ADJUST_GREEN_SATURATION = static_cast<int32_t>(0x87000004u);
inline constexpr int32_t OPTION_TYPE_BASECOLOR_ADJUST_GREEN_BRIGHTNESS = static_cast<int32_t>(0x87000005u);
inline constexpr int32_t OPTION_TYPE_BASECOLOR_ADJUST_BLUE_HUE = static_cast<int32_t>(0x87000006u);
inline constexpr int32_t OPTION_TYPE_BASECOLOR_ADJUST_BLUE_SATURATION = static_cast<int32_t>(0x87000007u);
inline constexpr int32_t OPTION_TYPE_BASECOLOR_ADJUST_BLUE_BRIGHTNESS = static_cast<int32_t>(0x87000008u);
inline constexpr int32_t OPTION_TYPE_BASECOLOR_ADJUST_YELLOW_HUE = static_cast<int32_t>(0x87000009u);
inline constexpr int32_t OPTION_TYPE_BASECOLOR_ADJUST_YELLOW_SATURATION = static_cast<int32_t>(0x8700000Au);
inline constexpr int32_t OPTION_TYPE_BASECOLOR_ADJUST_YELLOW_BRIGHTNESS = static_cast<int32_t>(0x8700000Bu);
inline constexpr int32_t OPTION_TYPE_BASECOLOR_ADJUST_MAGENTA_HUE = static_cast<int32_t>(0x8700000Cu);
inline constexpr int32_t OPTION_TYPE_BASECOLOR_ADJUST_MAGENTA_SATURATION = static_cast<int32_t>(0x8700000Du);
inline constexpr int32_t OPTION_TYPE_BASECOLOR_ADJUST_MAGENTA_BRIGHTNESS = static_cast<int32_t>(0x8700000Eu);
inline constexpr int32_t OPTION_TYPE_BASECOLOR_ADJUST_CYAN_HUE = static_cast<int32_t>(0x8700000Fu);
inline constexpr int32_t OPTION_TYPE_BASECOLOR_ADJUST_CYAN_SATURATION = static_cast<int32_t>(0x87000010u);
inline constexpr int32_t OPTION_TYPE_BASECOLOR_ADJUST_CYAN_BRIGHTNESS = static_cast<int32_t>(0x87000011u);
inline constexpr int32_t OPTION_TYPE_ADJUSTMENT_BRIGHTNESS_CENTER = static_cast<int32_t>(0x87000012u);
inline constexpr int32_t OPTION_TYPE_ADJUSTMENT_COLOR_CENTER = static_cast<int32_t>(0x87000013u);
inline constexpr int32_t OPTION_TYPE_ADJUSTMENT_BASEBAND_TINT = static_cast<int32_t>(0x87000014u);
inline constexpr int32_t OPTION_TYPE_ADJUSTMENT_CONTRAST_MAX = static_cast<int32_t>(0x87000015u);
inline constexpr int32_t OPTION_TYPE_SRV_RED_OFFSET = static_cast<int32_t>(0x87000016u);
inline constexpr int32_t OPTION_TYPE_SRV_GREEN_OFFSET = static_cast<int32_t>(0x87000017u);
inline constexpr int32_t OPTION_TYPE_SRV_BLUE_OFFSET = static_cast<int32_t>(0x87000018u);
inline constexpr int32_t OPTION_TYPE_SRV_RED_GAIN = static_cast<int32_t>(0x87000019u);
inline constexpr int32_t OPTION_TYPE_SRV_GREEN_GAIN = static_cast<int32_t>(0x8700001Au);
inline constexpr int32_t OPTION_TYPE_SRV_BLUE_GAIN = static_cast<int32_t>(0x8700001Bu);

}  // namespace SkinBin
