// GUI key codes: the small integers that a key event carries once the host has
// mapped the remote's platform key code (host/keys/keytable.h). The host and
// every unit include this header; it includes nothing. docs/keys.md lists
// every key with its meaning. Screens name a key by what it is, also where
// they give it a role of their own (the red key erases in the key pad).
#pragma once

#include <cstdint>

namespace keys {

constexpr uint16_t KEY_NONE = 0;  // no key (unknown platform code)

constexpr uint16_t KEY_OK = 1;
constexpr uint16_t KEY_EXIT = 2;
constexpr uint16_t KEY_MENU = 3;
constexpr uint16_t KEY_UP = 4;
constexpr uint16_t KEY_DOWN = 5;
constexpr uint16_t KEY_LEFT = 6;
constexpr uint16_t KEY_RIGHT = 7;

// Digits: KEY_0 + d for the digit d; a key event's character follows from the
// code (Core::KeyCodeToChar, the one mapping to '0'..'9').
constexpr uint16_t KEY_0 = 10;
constexpr uint16_t KEY_1 = 11;
constexpr uint16_t KEY_2 = 12;
constexpr uint16_t KEY_3 = 13;
constexpr uint16_t KEY_4 = 14;
constexpr uint16_t KEY_5 = 15;
constexpr uint16_t KEY_6 = 16;
constexpr uint16_t KEY_7 = 17;
constexpr uint16_t KEY_8 = 18;
constexpr uint16_t KEY_9 = 19;

constexpr bool IsDigitKey(uint16_t code) { return code >= KEY_0 && code <= KEY_9; }

// Colour keys. Red erases, deletes, skips, rescans; green changes the key
// pad's mode and adds favourites; blue finishes the key pad; yellow switches
// it to accented letters.
constexpr uint16_t KEY_RED = 20;
constexpr uint16_t KEY_GREEN = 21;
constexpr uint16_t KEY_BLUE = 22;
constexpr uint16_t KEY_YELLOW = 23;

constexpr uint16_t KEY_PIP_AUDIO = 29;  // picture-in-picture: swap the audio
constexpr uint16_t KEY_PIP_SWAP = 30;   // picture-in-picture: swap the pictures

constexpr uint16_t KEY_CH_UP = 36;         // also page up in media lists
constexpr uint16_t KEY_CH_DOWN = 37;       // also page down in media lists
constexpr uint16_t KEY_PICTURE_MODE = 38;  // picture-mode choice
constexpr uint16_t KEY_PREV = 39;          // previous item; page up in lists; cursor home in the key pad
constexpr uint16_t KEY_NEXT = 40;          // next item; page down in lists; cursor end in the key pad
constexpr uint16_t KEY_BACK = 41;
constexpr uint16_t KEY_DASH = 44;      // sub-channel separator
constexpr uint16_t KEY_EXIT_ALT = 45;  // the second exit key: acts like Exit
constexpr uint16_t KEY_VOL_UP = 46;
constexpr uint16_t KEY_VOL_DOWN = 47;
constexpr uint16_t KEY_QUICK = 48;  // quick menu

constexpr uint16_t KEY_PLAY = 50;
constexpr uint16_t KEY_PAUSE = 51;
constexpr uint16_t KEY_RECORD = 52;
constexpr uint16_t KEY_STOP = 53;
constexpr uint16_t KEY_LAST = 54;       // back to the previous channel or source; slower backward in the player
constexpr uint16_t KEY_SPEED = 55;      // playback speed steps 1, 2, 3, then normal
constexpr uint16_t KEY_FAR_BACK = 56;   // the player's far jump back; no key of our remote sends it
constexpr uint16_t KEY_FAR_AHEAD = 57;  // the player's far jump ahead; no key of our remote sends it
constexpr uint16_t KEY_REWIND = 58;     // also cursor left in the key pad, text scroll
constexpr uint16_t KEY_FORWARD = 59;    // also cursor right in the key pad, text scroll

constexpr uint16_t KEY_TV = 63;  // back to the TV input
constexpr uint16_t KEY_GUIDE = 66;
constexpr uint16_t KEY_PIP = 69;    // picture-in-picture mode
constexpr uint16_t KEY_AUDIO = 70;  // sound track (MTS) choice
constexpr uint16_t KEY_CC = 76;     // closed captions
constexpr uint16_t KEY_PICTURE_SIZE = 77;
constexpr uint16_t KEY_INFO = 79;  // information / display
constexpr uint16_t KEY_POWER = 80;
constexpr uint16_t KEY_INPUT = 83;
constexpr uint16_t KEY_MUTE = 84;
constexpr uint16_t KEY_MARK_CHANNEL = 86;  // remembers the current channel for Last, shows the banner
constexpr uint16_t KEY_FREEZE = 89;
constexpr uint16_t KEY_OUTPUT_MODE = 94;   // switches the video output mode
constexpr uint16_t KEY_3D = 95;
constexpr uint16_t KEY_PANEL_LOCKED = 96;  // a key of the locked front panel: shows the panel-lock notice
constexpr uint16_t KEY_SLEEP = 97;
constexpr uint16_t KEY_BROWSE = 99;  // channel browser; page up in grids
constexpr uint16_t KEY_FAV = 100;    // favourites browser; page down in grids
constexpr uint16_t KEY_APP = 101;    // application key
constexpr uint16_t KEY_VIDEO_APP = 102;
constexpr uint16_t KEY_WIDGETS = 103;
constexpr uint16_t KEY_CLEAR = 104;    // closes the screens over live TV
constexpr uint16_t KEY_FAV_ALT = 110;  // the second favourites key: acts like KEY_FAV

// Codes that no key of our remote or panel sends and that screens still tell
// apart: the live-TV filter refuses 8 and 9 and treats 90 to 92 as it treats
// the TV key; the player swallows 60; 8 opens the hidden setting pages
// while a panel key is held (below).
constexpr uint16_t KEY_RESERVED_8 = 8;
constexpr uint16_t KEY_RESERVED_9 = 9;
constexpr uint16_t KEY_RESERVED_60 = 60;
constexpr uint16_t KEY_RESERVED_90 = 90;
constexpr uint16_t KEY_RESERVED_91 = 91;
constexpr uint16_t KEY_RESERVED_92 = 92;

// The hidden combinations of the television's panel: a key event of one code
// while the panel reports another key held. The held keys have codes of their
// own, read through the Wrapper's GetKeyHeld: service mode is Down while
// KEY_HELD_SERVICE is held, the hidden setting pages KEY_RESERVED_8 while
// KEY_HELD_HIDDEN_PAGE is held, the factory reset Back while
// KEY_HELD_FACTORY_RESET is held.
constexpr uint16_t KEY_HELD_SERVICE = 67;
constexpr uint16_t KEY_HELD_HIDDEN_PAGE = 2;
constexpr uint16_t KEY_HELD_FACTORY_RESET = 58;

}  // namespace keys
