#include "host/keys/keytable.h"

#include <SDL2/SDL_keycode.h>
#include <SDL2/SDL_scancode.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "units/Core/Event.h"
#include "tvui_paths.h"


namespace {

using namespace host;
using namespace keys;

std::vector<int> MappedPlatformCodes() {
  std::vector<int> codes;
  for (int p = 0; p <= kMaxPlatformKey; ++p) {
    if (PlatformToGuiKey(p) != KEY_NONE) codes.push_back(p);
  }
  return codes;
}

// Every SDL keycode a keyboard can produce: characters and scancode-based keys.
std::vector<int> AllSdlKeycodes() {
  std::vector<int> codes;
  for (int c = 1; c <= 0xFFFF; ++c) codes.push_back(c);
  for (int s = 0; s < SDL_NUM_SCANCODES; ++s) codes.push_back(static_cast<int>(SDL_SCANCODE_TO_KEYCODE(s)));
  return codes;
}

TEST(KeyTable, EveryPlatformCodeMapsWithoutCrashing) {
  std::set<uint16_t> seen;
  for (int p = 0; p <= kMaxPlatformKey; ++p) seen.insert(PlatformToGuiKey(p));
  EXPECT_TRUE(seen.count(KEY_NONE));  // most codes are no key
  EXPECT_GT(seen.size(), 60u);
}

TEST(KeyTable, OutOfRangeCodesAreNoKey) {
  for (int p : {-1, -255, kMaxPlatformKey + 1, 1000, INT_MIN, INT_MAX}) {
    EXPECT_EQ(PlatformToGuiKey(p), KEY_NONE) << p;
    EXPECT_FALSE(IsPanelKey(p)) << p;
    EXPECT_EQ(PanelKeyName(p), nullptr) << p;
    EXPECT_EQ(PlatformKeyScriptName(p), nullptr) << p;
  }
  EXPECT_EQ(PlatformToGuiKey(0), KEY_NONE);
}

TEST(KeyTable, PanelKeys) {
  struct Panel {
    int platform;
    uint16_t gui;
    const char* name;
  };
  const Panel panel[] = {{255, KEY_POWER, "Power"}, {256, KEY_VOL_UP, "Vol+"},  {257, KEY_VOL_DOWN, "Vol-"},
                         {258, KEY_CH_UP, "CH+"},   {259, KEY_CH_DOWN, "CH-"}, {260, KEY_MENU, "Menu"},
                         {261, KEY_INPUT, "Input"}};
  for (const Panel& k : panel) {
    EXPECT_TRUE(IsPanelKey(k.platform)) << k.platform;
    EXPECT_EQ(PlatformToGuiKey(k.platform), k.gui) << k.platform;
    ASSERT_NE(PanelKeyName(k.platform), nullptr) << k.platform;
    EXPECT_STREQ(PanelKeyName(k.platform), k.name);
  }
  for (int p : {0, 3, 80, 83, 96, 254, 262, 278}) {
    EXPECT_FALSE(IsPanelKey(p)) << p;
    EXPECT_EQ(PanelKeyName(p), nullptr) << p;
  }
}

TEST(KeyTable, RemoteKeysForPanelFunctionsAreNotPanelKeys) {
  // The remote's own power, volume, channel, menu and input keys carry the
  // same GUI codes as the panel's but must not be flagged as panel keys.
  for (uint16_t gui : {KEY_POWER, KEY_VOL_UP, KEY_VOL_DOWN, KEY_CH_UP, KEY_CH_DOWN, KEY_MENU, KEY_INPUT}) {
    int remote = -1;
    for (int p = 0; p < kFirstPanelKey; ++p) {
      if (PlatformToGuiKey(p) == gui) remote = p;
    }
    EXPECT_NE(remote, -1) << "no remote key for GUI code " << gui;
  }
}

TEST(KeyTable, TransportKeysUseTheTimeshiftPlayersPlatformCodes) {
  // The timeshift player is handed these platform codes for these keys.
  const std::pair<int, uint16_t> keys[] = {{102, KEY_PLAY},   {104, KEY_PAUSE}, {110, KEY_FORWARD},
                                           {109, KEY_REWIND}, {108, KEY_NEXT},  {107, KEY_PREV},
                                           {114, KEY_YELLOW}, {115, KEY_BLUE}};
  for (const auto& [platform, gui] : keys) EXPECT_EQ(PlatformToGuiKey(platform), gui) << platform;
}

TEST(KeyTable, ScriptNamesRoundTrip) {
  std::set<std::string> names;
  for (int p : MappedPlatformCodes()) {
    const char* name = PlatformKeyScriptName(p);
    ASSERT_NE(name, nullptr) << "platform code " << p << " has no script name";
    std::string s = name;
    EXPECT_FALSE(s.empty());
    for (char c : s) EXPECT_FALSE(c == ' ' || (c >= 'A' && c <= 'Z')) << "script name '" << s << "'";
    EXPECT_TRUE(names.insert(s).second) << "duplicate script name " << s;
    EXPECT_EQ(ScriptNameToPlatformKey(s), p) << s;
  }
  for (int p = 0; p <= kMaxPlatformKey; ++p) {
    if (PlatformToGuiKey(p) == KEY_NONE) {
      EXPECT_EQ(PlatformKeyScriptName(p), nullptr) << p;
    }
  }
}

TEST(KeyTable, UnknownScriptNames) {
  for (const char* name : {"", "OK", "Ok", "ok ", " ok", "okay", "panel", "vol", "10", "panel-power2"}) {
    EXPECT_EQ(ScriptNameToPlatformKey(name), -1) << "'" << name << "'";
  }
  EXPECT_EQ(ScriptNameToPlatformKey(std::string_view("okay", 2)), ScriptNameToPlatformKey("ok"));
}

TEST(KeyTable, ScriptNamesOfCommonKeys) {
  const std::pair<const char*, uint16_t> keys[] = {
      {"ok", KEY_OK},         {"exit", KEY_EXIT},   {"menu", KEY_MENU},     {"up", KEY_UP},
      {"down", KEY_DOWN},     {"left", KEY_LEFT},   {"right", KEY_RIGHT},   {"0", KEY_0},
      {"9", KEY_9},           {"back", KEY_BACK},   {"power", KEY_POWER},   {"vol+", KEY_VOL_UP},
      {"vol-", KEY_VOL_DOWN}, {"ch+", KEY_CH_UP},   {"ch-", KEY_CH_DOWN},   {"dash", KEY_DASH},
      {"mute", KEY_MUTE},     {"input", KEY_INPUT}, {"quick", KEY_QUICK},   {"3d", KEY_3D},
      {"panel-menu", KEY_MENU}};
  for (const auto& [name, gui] : keys) {
    int p = ScriptNameToPlatformKey(name);
    ASSERT_NE(p, -1) << name;
    EXPECT_EQ(PlatformToGuiKey(p), gui) << name;
  }
  EXPECT_TRUE(IsPanelKey(ScriptNameToPlatformKey("panel-menu")));
  EXPECT_FALSE(IsPanelKey(ScriptNameToPlatformKey("menu")));
}

TEST(KeyTable, EveryKeyIsReachableFromTheKeyboard) {
  std::set<int> reachable;
  for (int sdl : AllSdlKeycodes()) {
    int p = KeyboardToPlatformKey(sdl);
    if (p == -1) continue;
    ASSERT_NE(PlatformToGuiKey(p), KEY_NONE) << "keyboard key " << sdl << " gives platform code " << p;
    reachable.insert(p);
  }
  for (int p : MappedPlatformCodes()) EXPECT_TRUE(reachable.count(p)) << PlatformKeyScriptName(p);
}

TEST(KeyTable, DesktopKeyboardConventions) {
  const std::pair<int, uint16_t> keys[] = {
      {SDLK_UP, KEY_UP},         {SDLK_DOWN, KEY_DOWN},          {SDLK_LEFT, KEY_LEFT},
      {SDLK_RIGHT, KEY_RIGHT},   {SDLK_RETURN, KEY_OK},          {SDLK_BACKSPACE, KEY_BACK},
      {SDLK_ESCAPE, KEY_EXIT},   {SDLK_m, KEY_MENU},             {SDLK_i, KEY_INFO},
      {SDLK_g, KEY_GUIDE},       {SDLK_0, KEY_0},                {SDLK_5, KEY_5},
      {SDLK_9, KEY_9},           {SDLK_MINUS, KEY_DASH},         {SDLK_PAGEUP, KEY_CH_UP},
      {SDLK_PAGEDOWN, KEY_CH_DOWN}, {SDLK_PLUS, KEY_VOL_UP},     {SDLK_EQUALS, KEY_VOL_UP},
      {SDLK_KP_PLUS, KEY_VOL_UP}, {SDLK_KP_MINUS, KEY_VOL_DOWN}, {SDLK_F8, KEY_MUTE},
      {SDLK_q, KEY_QUICK},       {SDLK_p, KEY_POWER}};
  for (const auto& [sdl, gui] : keys) {
    int p = KeyboardToPlatformKey(sdl);
    ASSERT_NE(p, -1) << sdl;
    EXPECT_EQ(PlatformToGuiKey(p), gui) << sdl;
    EXPECT_FALSE(IsPanelKey(p)) << sdl;
  }
  for (int sdl : {0, -1, static_cast<int>(SDLK_SEMICOLON), static_cast<int>(SDLK_F13), static_cast<int>(SDLK_LSHIFT),
                  static_cast<int>(SDLK_CAPSLOCK), int{'M'}, INT_MIN}) {
    EXPECT_EQ(KeyboardToPlatformKey(sdl), -1) << sdl;
  }
}

// The digit keys of the remote carry '0' to '9' in the key event the root gets.
TEST(KeyTable, DigitCharacters) {
  for (uint16_t d = 0; d <= 9; ++d) {
    EXPECT_EQ(Core::KeyCodeToChar(PlatformToGuiKey(ScriptNameToPlatformKey(std::to_string(d)))), u'0' + d) << d;
  }
  for (uint16_t code : {KEY_NONE, KEY_RIGHT, uint16_t(9), KEY_RED, KEY_DASH, uint16_t(48), uint16_t(57), uint16_t(0xFFFF)}) {
    EXPECT_EQ(Core::KeyCodeToChar(code), u'\0') << code;
  }
}

// The help lists every keyboard key once, with its remote key's script name.
TEST(KeyTable, HelpListsEveryKeyboardKey) {
  std::string help = KeyMapHelp();
  std::istringstream in(help);
  std::string line;
  std::getline(in, line);  // heading
  size_t lines = 0;
  std::set<std::string> scripts;
  while (std::getline(in, line)) {
    ++lines;
    size_t space = line.rfind(' ');
    ASSERT_NE(space, std::string::npos) << line;
    std::string script = line.substr(space + 1);
    EXPECT_NE(ScriptNameToPlatformKey(script), -1) << line;
    scripts.insert(script);
  }
  size_t keyboardKeys = 0;
  for (int sdl : AllSdlKeycodes()) keyboardKeys += KeyboardToPlatformKey(sdl) != -1;
  EXPECT_EQ(lines, keyboardKeys);
  for (int p : MappedPlatformCodes()) EXPECT_TRUE(scripts.count(PlatformKeyScriptName(p))) << p;
}

// docs/keys.md and the code describe the same keys.
struct DocRow {
  int gui;
  std::string name;
  int platform;
  std::vector<std::string> keyboard;
  std::string script;
};

std::vector<std::string> SplitCells(const std::string& line) {
  std::vector<std::string> cells;
  std::string cell;
  for (size_t i = 1; i < line.size(); ++i) {
    if (line[i] == '|') {
      size_t b = cell.find_first_not_of(' ');
      size_t e = cell.find_last_not_of(' ');
      cells.push_back(b == std::string::npos ? "" : cell.substr(b, e - b + 1));
      cell.clear();
    } else {
      cell += line[i];
    }
  }
  return cells;
}

std::vector<DocRow> ReadDocRows() {
  std::ifstream in(std::string(TVUI_SOURCE_DIR) + "/docs/keys.md");
  EXPECT_TRUE(in.good()) << "docs/keys.md not found";
  std::vector<DocRow> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.size() < 3 || line[0] != '|' || line[2] < '0' || line[2] > '9') continue;
    std::vector<std::string> c = SplitCells(line);
    EXPECT_EQ(c.size(), 6u) << line;
    if (c.size() != 6) continue;
    DocRow r{std::stoi(c[0]), c[1], std::stoi(c[3]), {}, c[5]};
    std::string k = c[4];
    for (size_t pos = 0;;) {
      size_t comma = k.find(", ", pos);
      r.keyboard.push_back(k.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos));
      if (comma == std::string::npos) break;
      pos = comma + 2;
    }
    rows.push_back(r);
  }
  return rows;
}

TEST(KeyTable, DocumentationMatchesTheTable) {
  std::vector<DocRow> rows = ReadDocRows();
  const std::map<std::string, uint16_t> constants = {
      {"KEY_OK", KEY_OK},
      {"KEY_EXIT", KEY_EXIT},
      {"KEY_MENU", KEY_MENU},
      {"KEY_UP", KEY_UP},
      {"KEY_DOWN", KEY_DOWN},
      {"KEY_LEFT", KEY_LEFT},
      {"KEY_RIGHT", KEY_RIGHT},
      {"KEY_0", KEY_0},
      {"KEY_1", KEY_1},
      {"KEY_2", KEY_2},
      {"KEY_3", KEY_3},
      {"KEY_4", KEY_4},
      {"KEY_5", KEY_5},
      {"KEY_6", KEY_6},
      {"KEY_7", KEY_7},
      {"KEY_8", KEY_8},
      {"KEY_9", KEY_9},
      {"KEY_RED", KEY_RED},
      {"KEY_GREEN", KEY_GREEN},
      {"KEY_BLUE", KEY_BLUE},
      {"KEY_YELLOW", KEY_YELLOW},
      {"KEY_PIP_AUDIO", KEY_PIP_AUDIO},
      {"KEY_PIP_SWAP", KEY_PIP_SWAP},
      {"KEY_CH_UP", KEY_CH_UP},
      {"KEY_CH_DOWN", KEY_CH_DOWN},
      {"KEY_PICTURE_MODE", KEY_PICTURE_MODE},
      {"KEY_PREV", KEY_PREV},
      {"KEY_NEXT", KEY_NEXT},
      {"KEY_BACK", KEY_BACK},
      {"KEY_DASH", KEY_DASH},
      {"KEY_EXIT_ALT", KEY_EXIT_ALT},
      {"KEY_VOL_UP", KEY_VOL_UP},
      {"KEY_VOL_DOWN", KEY_VOL_DOWN},
      {"KEY_QUICK", KEY_QUICK},
      {"KEY_PLAY", KEY_PLAY},
      {"KEY_PAUSE", KEY_PAUSE},
      {"KEY_RECORD", KEY_RECORD},
      {"KEY_STOP", KEY_STOP},
      {"KEY_LAST", KEY_LAST},
      {"KEY_SPEED", KEY_SPEED},
      {"KEY_REWIND", KEY_REWIND},
      {"KEY_FORWARD", KEY_FORWARD},
      {"KEY_TV", KEY_TV},
      {"KEY_GUIDE", KEY_GUIDE},
      {"KEY_PIP", KEY_PIP},
      {"KEY_AUDIO", KEY_AUDIO},
      {"KEY_CC", KEY_CC},
      {"KEY_PICTURE_SIZE", KEY_PICTURE_SIZE},
      {"KEY_INFO", KEY_INFO},
      {"KEY_POWER", KEY_POWER},
      {"KEY_INPUT", KEY_INPUT},
      {"KEY_MUTE", KEY_MUTE},
      {"KEY_MARK_CHANNEL", KEY_MARK_CHANNEL},
      {"KEY_FREEZE", KEY_FREEZE},
      {"KEY_OUTPUT_MODE", KEY_OUTPUT_MODE},
      {"KEY_3D", KEY_3D},
      {"KEY_PANEL_LOCKED", KEY_PANEL_LOCKED},
      {"KEY_SLEEP", KEY_SLEEP},
      {"KEY_BROWSE", KEY_BROWSE},
      {"KEY_FAV", KEY_FAV},
      {"KEY_APP", KEY_APP},
      {"KEY_VIDEO_APP", KEY_VIDEO_APP},
      {"KEY_WIDGETS", KEY_WIDGETS},
      {"KEY_CLEAR", KEY_CLEAR},
      {"KEY_FAV_ALT", KEY_FAV_ALT},
  };
  const std::string help = KeyMapHelp();
  std::set<int> documented;
  std::set<std::string> namesUsed;
  size_t documentedKeyboardKeys = 0;
  for (const DocRow& r : rows) {
    SCOPED_TRACE(r.script);
    EXPECT_TRUE(documented.insert(r.platform).second) << "platform code " << r.platform << " documented twice";
    EXPECT_EQ(PlatformToGuiKey(r.platform), r.gui);
    const char* script = PlatformKeyScriptName(r.platform);
    ASSERT_NE(script, nullptr);
    EXPECT_EQ(r.script, script);
    auto c = constants.find(r.name);
    ASSERT_NE(c, constants.end()) << r.name;
    EXPECT_EQ(c->second, r.gui) << r.name;
    namesUsed.insert(r.name);
    documentedKeyboardKeys += r.keyboard.size();
    for (const std::string& key : r.keyboard) {
      // The help has a line "  <key> ... <script>".
      bool found = false;
      std::istringstream lines(help);
      std::string line;
      while (std::getline(lines, line)) {
        std::string head = "  " + key + " ";
        std::string tail = " " + r.script;
        if (line.compare(0, head.size(), head) == 0 && line.size() >= tail.size() &&
            line.compare(line.size() - tail.size(), tail.size(), tail) == 0) {
          found = true;
        }
      }
      EXPECT_TRUE(found) << "keyboard key '" << key << "' of " << r.script << " is not in the help";
    }
  }
  for (int p : MappedPlatformCodes()) EXPECT_TRUE(documented.count(p)) << PlatformKeyScriptName(p) << " not documented";
  EXPECT_EQ(namesUsed.size(), constants.size());
  size_t keyboardKeys = 0;
  for (int sdl : AllSdlKeycodes()) keyboardKeys += KeyboardToPlatformKey(sdl) != -1;
  EXPECT_EQ(documentedKeyboardKeys, keyboardKeys);
}

}  // namespace
