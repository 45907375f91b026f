// The remote control's key table: platform key codes (0 to 278) to GUI key
// codes, the front-panel keys, the desktop keyboard map and the names used by
// headless key scripts. docs/keys.md is the same table for people.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "keys/keycodes.h"

namespace host {

constexpr int kMaxPlatformKey = 278;
constexpr int kFirstPanelKey = 255;  // Power, Vol+, Vol-, CH+, CH-, Menu, Input
constexpr int kLastPanelKey = 261;

// The GUI key code of a platform key code; 0 ("no key") for an unknown or
// out-of-range code, which the caller logs.
uint16_t PlatformToGuiKey(int platformCode);

// The keys of the television's own panel (platform codes 255 to 261).
bool IsPanelKey(int platformCode);
// "Power", "Vol+", "Vol-", "CH+", "CH-", "Menu", "Input"; null for other codes.
const char* PanelKeyName(int platformCode);

// The platform key code of an SDL2 keycode (SDL_Keycode value) in the desktop
// window, or -1 when the keyboard key stands for no remote or panel key.
int KeyboardToPlatformKey(int sdlKeycode);
// A key pressed with Control: Ctrl+U pulls the media folders given on the
// command line out of the set, or plugs them in again.
void ControlKey(int sdlKeycode);

// Script names of headless key scripts ("ok", "vol+", "panel-menu" ...).
// Unknown names give -1; codes without a key give null.
int ScriptNameToPlatformKey(std::string_view name);
const char* PlatformKeyScriptName(int platformCode);

// The keyboard map printed by `tvui --help`: one line per keyboard key with
// the key, the remote key it stands for and that key's script name.
std::string KeyMapHelp();
// The script names of that map, each once, in its order (the keys a random
// key storm presses).
std::vector<std::string> KeyMapScriptNames();

}  // namespace host
