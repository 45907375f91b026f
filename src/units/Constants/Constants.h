// Values shared by the screens and sub-systems: message codes, transition
// codes, appearance values, window-id groups, layer masks, source types,
// live-TV states and media; the message bar's types (MessageTypes.h) and the
// confirmation dialogs' types (ConfirmTypes.h) beside them. Codes live in the
// Constants namespace under their own names.
#pragma once

#include <cstdint>

namespace Constants {

// Transition codes: where a state change came from.
inline constexpr int32_t MSG_FROM_MENUSYSTEM = 0x1a30000;
inline constexpr int32_t MSG_FROM_NONMENUSYSTEM = 0x1a40000;
inline constexpr int32_t MSG_FROM_QUICKMENU = 0x1a90000;

// Message codes of Structures::Message.
inline constexpr int32_t MSG_CLEAR_ALL = 0x1f0001;
inline constexpr int32_t MSG_EVENT_CACHED = 0x1f0004;
inline constexpr int32_t MSG_UPDATE_HELP_BAR = 0x1f0005;
inline constexpr int32_t MSG_CHANGE_APPEARANCE = 0x1f0006;
inline constexpr int32_t MSG_CLEAR_HELP_BAR = 0x1f0008;
inline constexpr int32_t MSG_CHANGE_STATE = 0x1f0009;
inline constexpr int32_t MSG_LABEL_CHANGE = 0x1f000a;
inline constexpr int32_t MSG_SHOW_WAITING_CIRCLE = 0x1f000b;
inline constexpr int32_t MSG_RESTART_INITIAL_SETUP = 0x1f000d;
inline constexpr int32_t MSG_SHOW_MESSAGE = 0x1f000e;
inline constexpr int32_t MSG_CLEAR_MESSAGE = 0x1f000f;
inline constexpr int32_t MSG_NO_MEDIA_FILES = 0x1f0010;
inline constexpr int32_t MSG_3D_STARTED = 0x1f0011;
inline constexpr int32_t MSG_MM_STATUS_INFO = 0x1f0012;
inline constexpr int32_t MSG_OPTION_CHANGE = 0x1f0013;
inline constexpr int32_t MSG_UPDATE_MAIN_MENU_HELP = 0x1f0014;
inline constexpr int32_t MSG_ENTER_SCREEN_SAVER = 0x1f0015;
inline constexpr int32_t MSG_EXIT_SCREEN_SAVER = 0x1f0016;
inline constexpr int32_t MSG_APPLY_REPEAT = 0x1f0017;
inline constexpr int32_t MSG_APPLY_PHOTO_BROWSE = 0x1f0018;
inline constexpr int32_t MSG_DELETE_ITEM = 0x1f0019;
inline constexpr int32_t MSG_UPDATE_RECORD_TYPE = 0x1f001a;
inline constexpr int32_t MSG_SET_VIDEO_PREVIEW_WINDOW = 0x1f001b;
inline constexpr int32_t MSG_EXIT_MEDIA_STATE = 0x1f001c;
inline constexpr int32_t MSG_RECORD_SLEEP_WARNING = 0x1f001d;

// Integer parameter of MSG_CHANGE_APPEARANCE.
inline constexpr int32_t APPEARANCE_VISIBLE = 1;
inline constexpr int32_t APPEARANCE_INVISIBLE = 2;
inline constexpr int32_t APPEARANCE_FOCUS = 3;

// Window-id groups: the top byte of a screen's window id.
inline constexpr uint32_t WIN_GROUP_MENU = 0x01;
inline constexpr uint32_t WIN_GROUP_NONMENU = 0x02;
inline constexpr uint32_t WIN_GROUP_FACTORY = 0x03;
inline constexpr uint32_t WIN_GROUP_SETUP = 0x04;
inline constexpr uint32_t WIN_GROUP_QUICKMENU = 0x05;
inline constexpr uint32_t WIN_GROUP_MEDIAPLAYER = 0x12;
// The group of a window id.
constexpr uint32_t WinGroupOf(uint32_t winId) { return winId >> 24; }

// Layer masks: the menu pages (layers 2 to 16) and the screens outside the
// menu (layers 32 to 256).
inline constexpr uint32_t LAYER_MASK_MENU = 30;
inline constexpr uint32_t LAYER_MASK_NONMENU = 480;

// Source types.
inline constexpr int32_t XPM_SOURCE_TYPE_NONE = 0;
inline constexpr int32_t XPM_SOURCE_TYPE_RF_TUNER = 1;
inline constexpr int32_t XPM_SOURCE_TYPE_AV_COMPOSITE = 2;
inline constexpr int32_t XPM_SOURCE_TYPE_AV_COMPOSITE_SVIDEO = 3;
inline constexpr int32_t XPM_SOURCE_TYPE_AV_COMPONENT = 4;
inline constexpr int32_t XPM_SOURCE_TYPE_AV_HDMI = 5;
inline constexpr int32_t XPM_SOURCE_TYPE_AV_VGA = 6;
inline constexpr int32_t XPM_SOURCE_TYPE_MULTI_MEDIA = 7;
inline constexpr int32_t XPM_SOURCE_TYPE_MM = 8;
inline constexpr int32_t XPM_SOURCE_TYPE_EXT = 9;
inline constexpr int32_t XPM_SOURCE_TYPE_AV_DVI = 10;
inline constexpr int32_t XPM_SOURCE_TYPE_PATTERN = 11;
inline constexpr int32_t XPM_SOURCE_TYPE_RF_DIGITAL = 12;

// Live-TV states of a tuner, as the recorder reports them (the skin
// Wrapper's GetLiveTVState). A plain enumeration: the set hands them over as
// integers, and a state travels as the parameter of the record options.
enum TVState : int32_t {
  XPM_TV_STATE_LIVE_TV = 1,
  XPM_TV_STATE_PAUSE_LIVE_TV = 2,      // timeshifting
  XPM_TV_STATE_RECORDING_LIVE_TV = 3,  // recording (this wins over timeshift)
};

// Input media of the tuner.
inline constexpr int32_t XPM_MEDIUM_ANTENNA = 0;
inline constexpr int32_t XPM_MEDIUM_CABLE = 1;

}  // namespace Constants
