#include "host/keys/keytable.h"

#include <SDL2/SDL_keycode.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "platform/psl/psl.h"

namespace host {
namespace {

using namespace keys;

// One key of the remote control or of the television's panel.
struct RemoteKey {
  int platform;        // platform key code, 0 to 278
  uint16_t gui;        // GUI key code
  const char* label;   // name shown by the keyboard help
  const char* script;  // name in headless key scripts
};

// The remote's platform codes equal the GUI codes below 100. The transport
// keys and the blue and yellow keys sit at the platform codes that the
// timeshift player expects from them (102 to 115); GUI codes from 100 up sit
// at platform code 200 + (code - 100). The panel keys are 255 to 261.
constexpr RemoteKey kKeys[] = {
    {1, KEY_OK, "OK", "ok"},
    {2, KEY_EXIT, "Exit", "exit"},
    {3, KEY_MENU, "Menu", "menu"},
    {4, KEY_UP, "Up", "up"},
    {5, KEY_DOWN, "Down", "down"},
    {6, KEY_LEFT, "Left", "left"},
    {7, KEY_RIGHT, "Right", "right"},
    {10, KEY_0, "0", "0"},
    {11, KEY_1, "1", "1"},
    {12, KEY_2, "2", "2"},
    {13, KEY_3, "3", "3"},
    {14, KEY_4, "4", "4"},
    {15, KEY_5, "5", "5"},
    {16, KEY_6, "6", "6"},
    {17, KEY_7, "7", "7"},
    {18, KEY_8, "8", "8"},
    {19, KEY_9, "9", "9"},
    {20, KEY_RED, "Red", "red"},
    {21, KEY_GREEN, "Green", "green"},
    {115, KEY_BLUE, "Blue", "blue"},
    {114, KEY_YELLOW, "Yellow", "yellow"},
    {29, KEY_PIP_AUDIO, "PIP audio", "pip-audio"},
    {30, KEY_PIP_SWAP, "PIP swap", "pip-swap"},
    {36, KEY_CH_UP, "CH+", "ch+"},
    {37, KEY_CH_DOWN, "CH-", "ch-"},
    {38, KEY_PICTURE_MODE, "Picture mode", "picture-mode"},
    {107, KEY_PREV, "Previous", "prev"},
    {108, KEY_NEXT, "Next", "next"},
    {41, KEY_BACK, "Back", "back"},
    {44, KEY_DASH, "Dash", "dash"},
    {45, KEY_EXIT_ALT, "Exit (second)", "exit2"},
    {46, KEY_VOL_UP, "Vol+", "vol+"},
    {47, KEY_VOL_DOWN, "Vol-", "vol-"},
    {48, KEY_QUICK, "Quick menu", "quick"},
    {102, KEY_PLAY, "Play", "play"},
    {104, KEY_PAUSE, "Pause", "pause"},
    {52, KEY_RECORD, "Record", "record"},
    {53, KEY_STOP, "Stop", "stop"},
    {54, KEY_LAST, "Last", "last"},
    {55, KEY_SPEED, "Speed", "speed"},
    {109, KEY_REWIND, "Rewind", "rewind"},
    {110, KEY_FORWARD, "Fast forward", "forward"},
    {63, KEY_TV, "TV", "tv"},
    {66, KEY_GUIDE, "Guide", "guide"},
    {69, KEY_PIP, "PIP", "pip"},
    {70, KEY_AUDIO, "Audio", "audio"},
    {76, KEY_CC, "CC", "cc"},
    {77, KEY_PICTURE_SIZE, "Picture size", "size"},
    {79, KEY_INFO, "Info", "info"},
    {80, KEY_POWER, "Power", "power"},
    {83, KEY_INPUT, "Input", "input"},
    {84, KEY_MUTE, "Mute", "mute"},
    {86, KEY_MARK_CHANNEL, "Mark channel", "mark"},
    {89, KEY_FREEZE, "Freeze", "freeze"},
    {94, KEY_OUTPUT_MODE, "Output mode", "output"},
    {95, KEY_3D, "3D", "3d"},
    {96, KEY_PANEL_LOCKED, "Panel locked", "panel-locked"},
    {97, KEY_SLEEP, "Sleep", "sleep"},
    {99, KEY_BROWSE, "Channel browser", "browse"},
    {200, KEY_FAV, "Favourites", "fav"},
    {201, KEY_APP, "App", "app"},
    {202, KEY_VIDEO_APP, "Video app", "video-app"},
    {203, KEY_WIDGETS, "Widgets", "widgets"},
    {204, KEY_CLEAR, "Clear", "clear"},
    {210, KEY_FAV_ALT, "Favourites (second)", "fav2"},
    // The television's own panel.
    {255, KEY_POWER, "Panel Power", "panel-power"},
    {256, KEY_VOL_UP, "Panel Vol+", "panel-vol+"},
    {257, KEY_VOL_DOWN, "Panel Vol-", "panel-vol-"},
    {258, KEY_CH_UP, "Panel CH+", "panel-ch+"},
    {259, KEY_CH_DOWN, "Panel CH-", "panel-ch-"},
    {260, KEY_MENU, "Panel Menu", "panel-menu"},
    {261, KEY_INPUT, "Panel Input", "panel-input"},
};

constexpr const char* kPanelNames[] = {"Power", "Vol+", "Vol-", "CH+", "CH-", "Menu", "Input"};
static_assert(std::size(kPanelNames) == kLastPanelKey - kFirstPanelKey + 1);

// One key of the desktop keyboard.
struct KeyboardKey {
  int sdl;            // SDL_Keycode
  int platform;       // platform key code it stands for
  const char* label;  // name of the keyboard key
};

constexpr KeyboardKey kKeyboard[] = {
    {SDLK_UP, 4, "Up arrow"},
    {SDLK_DOWN, 5, "Down arrow"},
    {SDLK_LEFT, 6, "Left arrow"},
    {SDLK_RIGHT, 7, "Right arrow"},
    {SDLK_RETURN, 1, "Enter"},
    {SDLK_KP_ENTER, 1, "Keypad Enter"},
    {SDLK_BACKSPACE, 41, "Backspace"},
    {SDLK_ESCAPE, 2, "Escape"},
    {SDLK_HOME, 45, "Home"},
    {SDLK_m, 3, "M"},
    {SDLK_i, 79, "I"},
    {SDLK_g, 66, "G"},
    {SDLK_TAB, 83, "Tab"},
    {SDLK_0, 10, "0"},
    {SDLK_1, 11, "1"},
    {SDLK_2, 12, "2"},
    {SDLK_3, 13, "3"},
    {SDLK_4, 14, "4"},
    {SDLK_5, 15, "5"},
    {SDLK_6, 16, "6"},
    {SDLK_7, 17, "7"},
    {SDLK_8, 18, "8"},
    {SDLK_9, 19, "9"},
    {SDLK_MINUS, 44, "Minus"},
    {SDLK_EQUALS, 46, "Equals (+)"},
    {SDLK_PLUS, 46, "Plus"},
    {SDLK_KP_PLUS, 46, "Keypad plus"},
    {SDLK_F10, 46, "F10"},
    {SDLK_KP_MINUS, 47, "Keypad minus"},
    {SDLK_F9, 47, "F9"},
    {SDLK_PAGEUP, 36, "Page Up"},
    {SDLK_PAGEDOWN, 37, "Page Down"},
    {SDLK_F8, 84, "F8"},
    {SDLK_q, 48, "Q"},
    {SDLK_p, 80, "P"},
    {SDLK_F1, 20, "F1"},
    {SDLK_F2, 21, "F2"},
    {SDLK_F3, 114, "F3"},
    {SDLK_F4, 115, "F4"},
    {SDLK_F5, 69, "F5"},
    {SDLK_F6, 30, "F6"},
    {SDLK_F7, 29, "F7"},
    {SDLK_F11, 201, "F11"},
    {SDLK_F12, 202, "F12"},
    {SDLK_SPACE, 102, "Space"},
    {SDLK_k, 104, "K"},
    {SDLK_x, 53, "X"},
    {SDLK_e, 52, "E"},
    {SDLK_r, 109, "R"},
    {SDLK_f, 110, "F"},
    {SDLK_COMMA, 107, "Comma"},
    {SDLK_PERIOD, 108, "Full stop"},
    {SDLK_j, 55, "J"},
    {SDLK_l, 54, "L"},
    {SDLK_t, 63, "T"},
    {SDLK_c, 76, "C"},
    {SDLK_a, 70, "A"},
    {SDLK_z, 77, "Z"},
    {SDLK_v, 38, "V"},
    {SDLK_s, 97, "S"},
    {SDLK_d, 95, "D"},
    {SDLK_b, 99, "B"},
    {SDLK_n, 200, "N"},
    {SDLK_u, 210, "U"},
    {SDLK_w, 203, "W"},
    {SDLK_h, 89, "H"},
    {SDLK_o, 94, "O"},
    {SDLK_y, 86, "Y"},
    {SDLK_DELETE, 204, "Delete"},
    // The panel keys on the numeric keypad.
    {SDLK_KP_7, 255, "Keypad 7"},
    {SDLK_KP_6, 256, "Keypad 6"},
    {SDLK_KP_4, 257, "Keypad 4"},
    {SDLK_KP_8, 258, "Keypad 8"},
    {SDLK_KP_2, 259, "Keypad 2"},
    {SDLK_KP_5, 260, "Keypad 5"},
    {SDLK_KP_0, 261, "Keypad 0"},
    {SDLK_KP_MULTIPLY, 96, "Keypad star"},
};

constexpr bool Same(const char* a, const char* b) { return std::string_view(a) == std::string_view(b); }

constexpr bool KeysAreConsistent() {
  for (std::size_t i = 0; i < std::size(kKeys); ++i) {
    const RemoteKey& k = kKeys[i];
    if (k.platform < 0 || k.platform > kMaxPlatformKey || k.gui == KEY_NONE) return false;
    for (std::size_t j = i + 1; j < std::size(kKeys); ++j) {
      if (kKeys[j].platform == k.platform || Same(kKeys[j].script, k.script)) return false;
    }
  }
  return true;
}
static_assert(KeysAreConsistent(), "a platform code or a script name is used twice");

constexpr bool KeyboardIsConsistent() {
  for (std::size_t i = 0; i < std::size(kKeyboard); ++i) {
    bool known = false;
    for (const RemoteKey& k : kKeys) known = known || k.platform == kKeyboard[i].platform;
    if (!known) return false;
    for (std::size_t j = i + 1; j < std::size(kKeyboard); ++j) {
      if (kKeyboard[j].sdl == kKeyboard[i].sdl) return false;
    }
  }
  return true;
}
static_assert(KeyboardIsConsistent(), "a keyboard key is used twice or names an unknown platform code");

constexpr std::array<uint16_t, kMaxPlatformKey + 1> BuildPlatformTable() {
  std::array<uint16_t, kMaxPlatformKey + 1> t{};
  for (const RemoteKey& k : kKeys) t[static_cast<std::size_t>(k.platform)] = k.gui;
  return t;
}
constexpr std::array<uint16_t, kMaxPlatformKey + 1> kPlatformToGui = BuildPlatformTable();

const RemoteKey* FindByPlatform(int platformCode) {
  for (const RemoteKey& k : kKeys) {
    if (k.platform == platformCode) return &k;
  }
  return nullptr;
}

void AppendPadded(std::string& out, std::string_view text, std::size_t width) {
  out += text;
  if (text.size() < width) out.append(width - text.size(), ' ');
  else out += ' ';
}

}  // namespace

uint16_t PlatformToGuiKey(int platformCode) {
  if (platformCode < 0 || platformCode > kMaxPlatformKey) return KEY_NONE;
  return kPlatformToGui[static_cast<std::size_t>(platformCode)];
}

bool IsPanelKey(int platformCode) { return platformCode >= kFirstPanelKey && platformCode <= kLastPanelKey; }

const char* PanelKeyName(int platformCode) {
  return IsPanelKey(platformCode) ? kPanelNames[platformCode - kFirstPanelKey] : nullptr;
}

void ControlKey(int sdlKeycode) {
  if (sdlKeycode == SDLK_u) psl::ToggleStartupFolders();
}

int KeyboardToPlatformKey(int sdlKeycode) {
  for (const KeyboardKey& k : kKeyboard) {
    if (k.sdl == sdlKeycode) return k.platform;
  }
  return -1;
}

int ScriptNameToPlatformKey(std::string_view name) {
  for (const RemoteKey& k : kKeys) {
    if (name == k.script) return k.platform;
  }
  return -1;
}

const char* PlatformKeyScriptName(int platformCode) {
  const RemoteKey* k = FindByPlatform(platformCode);
  return k ? k->script : nullptr;
}

std::string KeyMapHelp() {
  constexpr std::size_t kKeyWidth = 18;
  constexpr std::size_t kRemoteWidth = 22;
  std::string out = "Keyboard map (keyboard key, remote key, script name):\n";
  for (const KeyboardKey& kb : kKeyboard) {
    const RemoteKey* k = FindByPlatform(kb.platform);
    out += "  ";
    AppendPadded(out, kb.label, kKeyWidth);
    AppendPadded(out, k->label, kRemoteWidth);
    out += k->script;
    out += '\n';
  }
  return out;
}

std::vector<std::string> KeyMapScriptNames() {
  std::vector<std::string> names;
  for (const KeyboardKey& kb : kKeyboard) {
    const std::string name = FindByPlatform(kb.platform)->script;
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  }
  return names;
}

}  // namespace host
