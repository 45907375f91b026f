// Random walks through the remote: no state a viewer cannot leave.
//
// Each walk starts a new set in one of its starts (the places a viewer
// spends time: live TV on the antenna or on cable, a locked channel, HDMI 1,
// each input without a signal, the players on a plugged stick, the video
// and the widgets application, a recording, timeshift and the recorded list
// on the USB disk; and every screen a "state" line opens), presses 5 to 40
// seeded keys of the whole remote (the power keys aside, the keys that open
// screens more often), each followed by a wait of 0, 300, 2000 or 16000 ms,
// and then plays the tail that must work from anywhere:
//   - a media screen in front holds the keys and answers Back (a player is
//     left, a browser's picture changes);
//   - Exit three times and a wait lead back to live TV: no application owns
//     the screen, no screen is left, no notice stays, the media player's
//     input is not left on without a screen; Info brings up the banner or
//     the mini guide;
//   - the menu key then opens the menu, which takes the keys.
// States that rightly keep the set from live TV are told apart by the screen
// they show, which must hold the keys: the first-time setup, factory mode,
// standby and a PIN prompt waiting on a locked channel. After every key and
// wait: no screen opens under an open menu or dialog, the picture check
// finds nothing, an open screen's texts stand on its panel, an input
// without a signal says so, no application runs on in standby.
//
// A walk that breaks a rule is replayed on shorter prefixes (halving) down to
// the shortest that breaks it the same way (the same rule, the same screen),
// then without the keys and waits it can do without; that is printed as a
// key script with the tail, to be replayed by
// `tvui --headless --keys F --media-dir STICK --data-dir NEW` (STICK written by
// `sample_media --set players STICK`, the set the line "media players"
// names).
//
// The walks a run plays: WALKS (default kWalksPerPart in each of the kParts
// parts) from seed SEED (default kSeed); `make walks WALKS=3000 SEED=7` is
// the long run. Reports that tests/scenes/known-faults.txt lists are passed
// over, like every other picture check's; tests/walks/found.txt keeps the
// walks found so far and the faults still to mend.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "host/key_script.h"
#include "host/keys/keytable.h"
#include "host/script_state.h"
#include "known_faults.h"
#include "screen_list.h"
#include "platform/psl/psl.h"
#include "platform/tvsm/tvsm.h"
#include "platform/xpm/xpm_record.h"
#include "platform/sim/sim_apps.h"
#include "platform/sim/sim_tv_air.h"
#include "platform/sim/sim_tv_state.h"
#include "units/Core/Group.h"
#include "units/Core/Root.h"
#include "units/Core/SeenTexts.h"
#include "units/MainApp/Root.h"
#include "units/MainApp/Standby.h"
#include "units/MenuSystem/LiveMenu.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "tvui_paths.h"

namespace {

constexpr uint32_t kSeed = 20261209;
// `make test` plays kParts parts of kWalksPerPart walks each (one test
// each, which ctest's shards spread over the cores).
constexpr int kParts = 4;
constexpr int kWalksPerPart = 60;

// --- What a walk is ----------------------------------------------------------

// Where a walk starts: the script lines that bring a new set there.
struct Start {
  std::string name;
  bool stick;         // the stick of the "players" set is plugged at start
  std::string lines;  // key-script lines, one a line
};

// The places a viewer spends time, each a start of its own: the players on
// the stick (its question answered Yes by the first OK: the media kind menu,
// then Photo, Music or Movie), live TV on the antenna, a locked channel,
// cable, HDMI 1, each input without a signal, the video and the widgets
// application running, and with the USB disk plugged a recording, timeshift
// and the recorded list.
const Start kPlaces[] = {
    {"photo viewer", true, "ok\nwait 1500\nok\nwait 2000\nright\nright\nok\nwait 2000\nok\nwait 2000\n"},
    {"slide show", true, "ok\nwait 1500\nok\nwait 2000\nright\nright\nok\nwait 2000\nok\nwait 2000\nok\nwait 3000\n"},
    {"music", true, "ok\nwait 1500\ndown\ndown\nok\nwait 2000\ndown\nok\nwait 2000\nok\nwait 2000\n"},
    {"movie", true, "ok\nwait 1500\ndown\nok\nwait 2000\nok\nwait 2000\nok\nwait 2000\n"},
    {"live TV", false, "wait 1000\n"},
    {"locked channel", false,
     "wait 1000\nstate Channels::ChannelLockDialog\nwait 300\ndown\nok\nwait 300\nexit\nwait 500\nch+\nwait 3000\n"},
    {"cable", false,
     "wait 1000\nmenu\nwait 1000\ndown\nwait 500\ndown\nwait 500\nright\nwait 500\ndown\nwait 300\ndown\nwait 300\n"
     "right\nwait 500\ndown\nok\nwait 500\nexit\nwait 3000\n"},
    {"AV input, no signal", false, "wait 1000\ninput\nwait 500\ndown\ndown\nok\nwait 3000\n"},
    {"HDMI 1", false, "wait 1000\ninput\nwait 500\ndown\ndown\ndown\ndown\nok\nwait 3000\n"},
    {"HDMI 2, no signal", false, "wait 1000\ninput\nwait 500\ndown\ndown\ndown\ndown\ndown\nok\nwait 3000\n"},
    {"HDMI 3, no signal", false, "wait 1000\ninput\nwait 500\ndown\ndown\ndown\ndown\ndown\ndown\nok\nwait 3000\n"},
    {"video application", false, "wait 1000\nvideo-app\nwait 2000\n"},
    {"widgets application", false, "wait 1000\nwidgets\nwait 2000\n"},
    {"recording", false, "usb mount\nwait 1000\nrecord\nwait 500\nok\nwait 2000\n"},
    {"timeshift", false, "usb mount\nwait 1000\nred\nwait 500\nok\nwait 2000\n"},
    {"recorded list", false,
     "usb mount\nwait 1000\nrecord\nwait 500\nok\nwait 2000\nstop\nwait 500\nok\nwait 1000\nexit\nwait 500\n"
     "state Record::RecordedShowsDialog\nwait 1000\n"},
};

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }
bool EndsWith(const std::string& s, const std::string& suffix) {
  return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Every start: the places above, then every screen a "state" line opens,
// with each value the scenes give it (the list the screen checks open),
// on a new set.
const std::vector<Start>& Starts() {
  static const std::vector<Start> starts = [] {
    std::vector<Start> out(std::begin(kPlaces), std::end(kPlaces));
    // A page of the menu opens over the menu, as from its row: it stands
    // beside the menu's column; so does an option's list of choices, which
    // opens only beside a page's value row. The screens of a task under way
    // (a channel scan, a software update, a disk's format) open only with
    // it: a "state" line opens them empty, with nothing to end them. A
    // "...Template" class is the common base of the media screens, and
    // MenuSystem::ThirdMenu that of the menu's pages: never opened as
    // themselves (a bare ThirdMenu has no rows, no caption and no focus). The photo viewer opens only from the photo list,
    // which the place "photo viewer" is; nothing opens the players of a
    // controller's media (no controller's request reaches the set): opened
    // empty they wait for ever for the media.
    const std::set<std::string> kTaskScreens = {"Channels::ScanDialog",
                                                "Update::UpdatingDialog",
                                                "Record::USBDiskFormatStatusDialog",
                                                "MediaPlayer::PhotoSingleView",
                                                "MediaPlayer::PhotoSingleViewDMR",
                                                "MediaPlayer::MovieFullScreenPlayDMR",
                                                "MediaPlayer::MusicFullScreenPlayDMR"};
    std::set<std::string> pages = {"MenuSystem::VidiOptionMenu"};
    for (const kv::Class* c : kv::AllClasses())
      if (c->Is(&MenuSystem::VidiSubMenu::StaticClass()))
        pages.insert(c->name);
    for (const auto& [cls, value] : kvtest::EveryScreen()) {
      if (kTaskScreens.count(cls) || EndsWith(cls, "Template") || cls == "MenuSystem::ThirdMenu") continue;
      out.push_back({cls + (value ? " " + std::to_string(value) : std::string()), false,
                     std::string(pages.count(cls) ? "wait 1000\nmenu\nwait 1000\n" : "wait 1000\n") + "state " + cls +
                         " " + std::to_string(value) + "\nwait 1000\n"});
    }
    return out;
  }();
  return starts;
}

// The start of walk k of a run from `seed`: the run goes through every
// start in an order the seed shuffles, so that N walks spread over every
// start and `make test` plays a sample of them, the same in every run.
size_t StartOf(uint32_t seed, int k) {
  static std::map<uint32_t, std::vector<size_t>> orders;
  std::vector<size_t>& order = orders[seed];
  if (order.empty()) {
    for (size_t i = 0; i < Starts().size(); ++i) order.push_back(i);
    std::shuffle(order.begin(), order.end(), std::mt19937(seed));
  }
  return order[static_cast<size_t>(k) % order.size()];
}

// The remote's keys but power; those that open screens count three times,
// the keys that move about and leave screens twice.
std::vector<std::string> WeightedKeys() {
  static const std::set<std::string> kOpeners = {
      "menu",  "quick", "input",  "guide", "info",   "browse",      "record", "sleep", "size",  "picture-mode",
      "audio", "cc",    "pip",    "widgets", "app",  "video-app",   "fav",    "fav2",  "vol+",  "vol-",
      "mute",  "ch+",   "ch-",    "3d",    "last",   "panel-menu",  "panel-input", "pip-audio", "pip-swap", "output"};
  static const std::set<std::string> kMovers = {"ok", "exit", "back", "up", "down", "left", "right", "play", "stop"};
  std::vector<std::string> keys;
  for (const std::string& name : host::KeyMapScriptNames()) {
    if (name == "power" || name == "panel-power") continue;
    const int times = kOpeners.count(name) ? 3 : kMovers.count(name) ? 2 : 1;
    for (int i = 0; i < times; ++i) keys.push_back(name);
  }
  return keys;
}

struct WalkKey {
  std::string key;
  int wait = 0;  // ms after the key
};

struct Walk {
  uint32_t seed = 0;
  size_t start = 0;
  std::vector<WalkKey> keys;
};

Walk MakeWalk(uint32_t seed, size_t start) {
  static const std::vector<std::string> keys = WeightedKeys();
  std::mt19937 random(seed);
  Walk walk;
  walk.seed = seed;
  walk.start = start;
  const int length = std::uniform_int_distribution<int>(5, 40)(random);
  std::uniform_int_distribution<size_t> key(0, keys.size() - 1);
  std::uniform_int_distribution<int> wait(0, 99);
  for (int i = 0; i < length; ++i) {
    const int w = wait(random);
    walk.keys.push_back({keys[key(random)], w < 45 ? 0 : w < 80 ? 300 : w < 95 ? 2000 : 16000});
  }
  return walk;
}

// The tail every walk ends with, as key-script lines (the test checks what
// the comments say after each part).
constexpr const char* kTail =
    "# a media screen in front answers Back\n"
    "back\nwait 1000\n"
    "# Exit three times and a wait: live TV, no notice\n"
    "exit\nwait 500\nexit\nwait 500\nexit\nwait 20000\nsnap before\n"
    "# Info brings up the banner\n"
    "info\nwait 500\nsnap info\nexit\nwait 500\n"
    "# the menu key opens the menu\n"
    "menu\nwait 1500\nsnap menu\n";

std::string Script(const Walk& walk, size_t keys, const std::string& why) {
  std::string out = "# walk " + std::to_string(walk.seed) + " from " + Starts()[walk.start].name + ", " +
                    std::to_string(keys) + " keys: " + why + "\n";
  if (Starts()[walk.start].stick) out += "media players\n";
  out += Starts()[walk.start].lines;
  out += "# the walk\n";
  for (size_t i = 0; i < keys; ++i) {
    out += walk.keys[i].key + "\n";
    if (walk.keys[i].wait) out += "wait " + std::to_string(walk.keys[i].wait) + "\n";
  }
  return out + kTail;
}

// One line, commas for new lines, as scripts are quoted in notes.
std::string OneLine(const std::string& script) {
  std::string out;
  for (size_t i = 0; i < script.size();) {
    size_t nl = script.find('\n', i);
    if (nl == std::string::npos) nl = script.size();
    const std::string line = script.substr(i, nl - i);
    if (!line.empty() && line[0] != '#') out += (out.empty() ? "" : ", ") + line;
    i = nl + 1;
  }
  return out;
}

// The walk without the tail on one line, as found.txt writes it.
std::string WalkLine(const Walk& walk) {
  std::string lines = Starts()[walk.start].stick ? "media players\n" : "";
  lines += Starts()[walk.start].lines;
  for (const WalkKey& k : walk.keys) {
    lines += k.key + "\n";
    if (k.wait) lines += "wait " + std::to_string(k.wait) + "\n";
  }
  return OneLine(lines);
}

// --- What the screen shows -----------------------------------------------------

// A form drawn on screen: its class, its box on screen, its place in the
// drawing order.
struct Drawn {
  Primitives::KeyRoutingForm* form = nullptr;
  std::string cls;
  kv::Rect box;
  bool screen = false;  // open in the widget manager (not a form inside one)
};


// Banners, bars and notices: they show over the picture and go by themselves.
bool IsOverlay(const std::string& cls) {
  static const std::set<std::string> kOverlays = {
      "NonMenuSystem::BannerForm",      "NonMenuSystem::BannerBasicInfo",        "NonMenuSystem::BannerEPGInfo",
      "NonMenuSystem::BannerHDMIInfo",  "NonMenuSystem::BannerMiscInfo",         "NonMenuSystem::CommonVolumeBar",
      "NonMenuSystem::CommonMuteBar",   "NonMenuSystem::AmplifierVolumeBar",     "NonMenuSystem::AmplifierMuteBar",
      "NonMenuSystem::AdjustmentBar",   "NonMenuSystem::AdjustmentBarTint",      "NonMenuSystem::AdjustmentBarKXD",
      "NonMenuSystem::NoSliderAdjustmentBar", "NonMenuSystem::ToggleOptionOverlay", "NonMenuSystem::DirectMessageBar",
      "NonMenuSystem::ChannelEntry"};
  return kOverlays.count(cls) > 0;
}

// The media screens that fill the screen: browsers and players.
bool IsMediaScreen(const std::string& cls) {
  return StartsWith(cls, "MediaPlayer::") && cls.find("Dialog") == std::string::npos &&
         cls.find("Menu") == std::string::npos;
}

// Screens that hold nothing a viewer reads or that are no screen of their own.
bool IsContainer(const std::string& cls) {
  return cls == "NonMenuSystem::InfoBanner" || cls == "NonMenuSystem::HelpBar";
}

// Menus and dialogs: screens a viewer works in.
bool IsMenuOrDialog(const std::string& cls) { return !IsOverlay(cls) && !IsMediaScreen(cls) && !IsContainer(cls); }

void CollectDrawn(Core::View* view, kv::Point origin, std::vector<Drawn>& out) {
  if (!view || !view->IsVisible()) return;
  const kv::Rect b = view->OnGetBounds();
  const kv::Rect box = b.Move(origin);
  const kv::Point at = box.Origin();
  if (auto* form = kv::Cast<Primitives::KeyRoutingForm>(view)) out.push_back({form, kv::ClassOf(form)->name, box});
  if (auto* group = kv::Cast<Core::Group>(view))
    for (int32_t i = 0; i < group->GetChildCount(); ++i) CollectDrawn(group->GetChild(i), at, out);
}

bool Intersect(const kv::Rect& a, const kv::Rect& b) {
  return !a.IsEmpty() && !b.IsEmpty() && !a.Intersect(b).IsEmpty();
}

// --- Walks found before -------------------------------------------------------

// A line of tests/walks/found.txt: a key script on one line (commas between
// its lines, "media players" first where the stick is plugged), or
// "still to mend | RULE | SCRIPT" for a fault that breaks RULE until it is
// mended (random walks that break RULE are counted apart, not failed).
struct FoundWalk {
  std::string script;       // as written
  std::string lines;        // key-script lines
  bool stick = false;
  std::string stillToMend;  // the rule it breaks until mended
};

std::string Trimmed(std::string s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.erase(0, 1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.pop_back();
  return s;
}

std::vector<FoundWalk> FoundWalks(const std::string& file) {
  std::vector<FoundWalk> out;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    line = Trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    FoundWalk f;
    if (line.rfind("still to mend |", 0) == 0) {
      const size_t bar = line.find('|', 16);
      if (bar == std::string::npos) continue;
      f.stillToMend = Trimmed(line.substr(15, bar - 15));
      line = Trimmed(line.substr(bar + 1));
    }
    f.script = line;
    for (size_t i = 0; i <= line.size();) {
      size_t comma = line.find(',', i);
      if (comma == std::string::npos) comma = line.size();
      const std::string part = Trimmed(line.substr(i, comma - i));
      if (part == "media players")
        f.stick = true;
      else if (!part.empty())
        f.lines += part + "\n";
      i = comma + 1;
    }
    out.push_back(std::move(f));
  }
  return out;
}

// The walks still to mend, as "RULE | SCRIPT": a random walk that breaks
// RULE and shrinks to SCRIPT is that fault again; one that breaks RULE for
// another cause is a fault of its own.
const std::set<std::string>& StillToMend() {
  static const std::set<std::string> known = [] {
    std::set<std::string> r;
    for (const FoundWalk& f : FoundWalks(std::string(TVUI_SOURCE_DIR) + "/tests/walks/found.txt"))
      if (!f.stillToMend.empty()) r.insert(f.stillToMend + " | " + f.script);
    return r;
  }();
  return known;
}

// --- The walks ----------------------------------------------------------------

// What a walk broke: the rule and the screen (the same for a shorter prefix
// that breaks it the same way), and what was seen.
struct Verdict {
  std::string rule;    // empty: the walk kept every rule
  std::string detail;  // what the screen showed
  bool Broken() const { return !rule.empty(); }
};

class WalksTest : public apptest::AppTest, public ::testing::WithParamInterface<int> {
 public:
  // The starts list the screens from the registered classes, which makes an
  // object of each: before any set runs.
  static void SetUpTestSuite() { Starts(); }

 protected:
  void SetUp() override {
    stick_ = kvtest::FreshTestDir("walks-stick");
    const std::string writer = std::string(TVUI_BINARY_DIR) + "/sample_media";
    const std::string command = "'" + writer + "' --set players '" + (stick_ / "players").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    AppTest::SetUp();
  }
  void TearDown() override {
    psl::SetStartupFolders({});
    AppTest::TearDown();
    kvtest::RemoveTestDir(stick_);
  }
  void SetUpData() override { psl::SetStartupFolders(plugged_ ? std::vector<std::string>{(stick_ / "players").string()} : std::vector<std::string>{}); }

  // Plays lines of a key script with the checks of every step (the first
  // broken rule in `broken`); false when a line cannot be played here.
  bool PlayLines(const std::string& lines, Verdict* broken) {
    host::KeyScript script;
    std::string error;
    if (!script.Parse(lines, &error)) {
      ADD_FAILURE() << "bad key-script lines: " << error;
      return false;
    }
    if (!script.MediaSet().empty() && !plugged_) {
      ADD_FAILURE() << "the stick is plugged by the start, not by a line";
      return false;
    }
    for (const host::KeyScript::Step& step : script.Steps()) {
      switch (step.kind) {
        case host::KeyScript::Step::kKey: PressCode(step.key); break;
        case host::KeyScript::Step::kWait: Run(step.ms); break;
        case host::KeyScript::Step::kState:
        case host::KeyScript::Step::kMessage:
          host::RunScreenStep(step);
          Settle();
          break;
        case host::KeyScript::Step::kSimState: Tv().SetState(step.name, step.text); break;
        case host::KeyScript::Step::kAir:
          sim::SetAir(Tv(), step.value, {});
          Settle();
          break;
        case host::KeyScript::Step::kUsb:
          if (step.value == 1)
            sim::MountUsbDisk(Tv());
          else if (step.value == 0)
            sim::RemoveUsbDisk(Tv());
          else {
            ADD_FAILURE() << "the stick is plugged by the start, not by a line";
            return false;
          }
          Settle();
          break;
        case host::KeyScript::Step::kShot: break;
        default: ADD_FAILURE() << "a line the walks do not play"; return false;
      }
      if ((*broken = StepRules(step.kind == host::KeyScript::Step::kWait && step.ms >= 300)).Broken()) return true;
    }
    return true;
  }

  // The rules that hold after every key and wait: no screen opens under a
  // menu or dialog, the picture check finds nothing, a screen listed as open
  // is drawn whole, an input without a signal says so, and no application
  // runs on in standby. `settled`: a wait went by, no key is on its way.
  Verdict StepRules(bool settled) {
    Verdict v;
    if ((v = Covers()).Broken()) return v;
    if (App().GetStandby()->IsInStandby()) {
      if (AppOwnsTheScreen()) return {"an application runs on in standby", AppsText()};
      return {};
    }
    if (App().IsTransitionRunning()) return {};
    const std::vector<Core::SeenText> texts = SeenTexts();
    for (const std::string& fault : Core::TextFaults(texts))
      if (!kvtest::IsKnownFault(fault)) return {"picture: " + fault, Classes(DrawnForms())};
    if ((v = DrawnWhole(texts)).Broken()) return v;
    if (settled && (v = NoSignalSaid()).Broken()) return v;
    return {};
  }

  // An application owns the screen: one runs in front of the picture.
  bool AppOwnsTheScreen() {
    for (const sim::Sim::RunningApp& a : sim::RunningApps(Tv()))
      if (a.kind != 1 && (a.flags & TVSM_APP_FLAG_BACKGROUND) == 0) return true;
    return false;
  }
  std::string AppsText() {
    std::string out;
    for (const sim::Sim::RunningApp& a : sim::RunningApps(Tv()))
      out += (out.empty() ? "" : ", ") + a.name + " (kind " + std::to_string(a.kind) + ")";
    return out;
  }

  // Every screen listed as open is drawn whole: where its texts show, its
  // own panel is under them, not the live picture (the picture plane shows
  // where the on-screen display is clear).
  Verdict DrawnWhole(const std::vector<Core::SeenText>& texts) {
    if (AppOwnsTheScreen()) return {};
    const ge::Surface& osd = Osd();
    for (const Core::SeenText& t : texts) {
      if (t.cover == Core::Cover::kWholly || t.ink.IsEmpty() || !t.form) continue;
      const kv::Rect area = t.ink.Intersect(t.visible).Intersect({0, 0, osd.width, osd.height});
      if (area.IsEmpty()) continue;
      int64_t clear = 0, around = 0;
      for (int32_t y = area.y1; y < area.y2; ++y)
        for (int32_t x = area.x1; x < area.x2; ++x) {
          if (t.MaskAt(x, y)) continue;
          ++around;
          clear += (osd.Row(y)[x] >> 24) == 0 ? 1 : 0;
        }
      if (around > 0 && clear * 2 > around)
        return {"a screen's text is drawn over the live picture without its panel: " + t.Describe(),
                Classes(DrawnForms())};
    }
    return {};
  }

  // An input without a signal says "No signal" whenever no other screen
  // covers the picture.
  Verdict NoSignalSaid() {
    const std::string source = Tv().GetState("tv.source.0");
    if (source != std::to_string(sim::kSourceAv) && source != std::to_string(sim::kSourceHdmi2) &&
        source != std::to_string(sim::kSourceHdmi3))
      return {};
    if (AppOwnsTheScreen()) return {};
    const std::vector<Drawn> drawn = DrawnForms();
    for (const Drawn& d : drawn)
      if ((d.screen || InOpenContainer(d.form)) && !IsContainer(d.cls) && d.cls != "NonMenuSystem::DirectMessageBar")
        return {};
    for (const Core::SeenText& t : SeenTexts())
      if (t.where.find("NonMenuSystem::DirectMessageBar") != std::string::npos && t.Readable()) return {};
    return {"an input without a signal does not say so", Classes(drawn)};
  }

  // A panel drawn inside an open screen that is only a container (the
  // information banner's basic, programme and HDMI panels): a screen of its
  // own to the viewer.
  bool InOpenContainer(Primitives::KeyRoutingForm* form) {
    const std::vector<Primitives::KeyRoutingForm*> open = OpenForms();
    for (Core::View* v = form ? form->Owner() : nullptr; v; v = v->Owner())
      if (auto* f = kv::Cast<Primitives::KeyRoutingForm>(v))
        if (IsContainer(kv::ClassOf(f)->name) && std::find(open.begin(), open.end(), f) != open.end()) return true;
    return false;
  }

  std::vector<Drawn> DrawnForms() {
    std::vector<Drawn> out;
    CollectDrawn(&App(), {0, 0}, out);
    const std::vector<Primitives::KeyRoutingForm*> open = OpenForms();
    for (Drawn& d : out) d.screen = std::find(open.begin(), open.end(), d.form) != open.end();
    return out;
  }
  // The screen drawn last (over all others) that a viewer works in, or null.
  const Drawn* Front(const std::vector<Drawn>& drawn) {
    for (auto it = drawn.rbegin(); it != drawn.rend(); ++it)
      if (it->screen && !IsContainer(it->cls)) return &*it;
    return nullptr;
  }
  // The screen the focused view belongs to, or null.
  Primitives::KeyRoutingForm* KeysGoTo() {
    const std::vector<Primitives::KeyRoutingForm*> open = OpenForms();
    for (Core::View* v = Focused(); v; v = v->Owner())
      if (auto* f = kv::Cast<Primitives::KeyRoutingForm>(v))
        if (std::find(open.begin(), open.end(), f) != open.end()) return f;
    return nullptr;
  }
  // The keys go to a form of that unit ("Unit::").
  bool KeysGoToUnit(const char* unit) {
    Primitives::KeyRoutingForm* f = KeysGoTo();
    return f && StartsWith(kv::ClassOf(f)->name, unit);
  }
  bool KeysGoToUnitOf(const std::string& held) {
    if (held == "first-time setup") return KeysGoToUnit("InitialSetup::");
    if (held == "factory mode") return KeysGoToUnit("FactorySystem::");
    return KeysGoToUnit("ParentalLocks::ChannelLockEnterPin");
  }
  std::string Classes(const std::vector<Drawn>& drawn) {
    std::string out;
    for (const Drawn& d : drawn)
      if (d.screen && !IsContainer(d.cls)) out += (out.empty() ? "" : ", ") + d.cls;
    return out.empty() ? "no screen" : out;
  }
  // The texts a form shows, joined (for reports).
  std::string TextsOf(const std::string& cls) {
    std::string out;
    for (const Core::SeenText& t : SeenTexts())
      if (t.where.find(cls) != std::string::npos && t.cover != Core::Cover::kWholly)
        out += (out.empty() ? "\"" : " \"") + t.text + "\"";
    return out;
  }
  // What the viewer sees changes: the screens open and the picture.
  std::string Look() {
    Settle();
    App().Redraw();
    const ge::Surface& s = Osd();
    uint64_t h = 1469598103934665603ull;
    for (int32_t y = 0; y < s.height; ++y) {
      const uint32_t* row = s.Row(y);
      for (int32_t x = 0; x < s.width; ++x) h = (h ^ row[x]) * 1099511628211ull;
    }
    return Classes(DrawnForms()) + " #" + std::to_string(h);
  }

  // No screen opens under an open menu or dialog that it overlaps: no
  // banner, bar or notice is drawn under one at all, and no other screen
  // (a dialog, a status panel) that was not open at the last look is drawn
  // under one that was (but the covers known-faults.txt lists as on
  // purpose).
  Verdict Covers() {
    const std::vector<Drawn> drawn = DrawnForms();
    std::set<std::pair<const void*, std::string>> open;
    for (const Drawn& d : drawn)
      if (d.screen) open.insert({d.form, d.cls});
    Verdict v;
    for (size_t i = 0; i < drawn.size() && !v.Broken(); ++i) {
      const bool overlay = IsOverlay(drawn[i].cls);
      const bool opened = drawn[i].screen && !IsContainer(drawn[i].cls) && !lastOpen_.count({drawn[i].form, drawn[i].cls});
      if (!overlay && !opened) continue;
      for (size_t j = i + 1; j < drawn.size(); ++j) {
        if (!drawn[j].screen || !IsMenuOrDialog(drawn[j].cls) || !Intersect(drawn[i].box, drawn[j].box)) continue;
        if (!overlay && !lastOpen_.count({drawn[j].form, drawn[j].cls})) continue;
        const std::string report = "drawn under a screen: " + drawn[i].cls + " under " + drawn[j].cls;
        if (kvtest::IsKnownFault(report)) continue;
        v = {report, TextsOf(drawn[i].cls)};
        break;
      }
    }
    lastOpen_ = std::move(open);
    return v;
  }

  // Plays the walk's start and its first `keys` keys, then the tail.
  Verdict Play(const Walk& walk, size_t keys) {
    std::string lines = Starts()[walk.start].lines;
    for (size_t i = 0; i < keys; ++i) {
      lines += walk.keys[i].key + "\n";
      if (walk.keys[i].wait) lines += "wait " + std::to_string(walk.keys[i].wait) + "\n";
    }
    return PlayScript(Starts()[walk.start].stick, lines);
  }

  // Plays key-script lines on a new set (the stick plugged or not) with the
  // checks of a walk, then the tail.
  // A panic (which halts the set) breaks a rule of its own, so that the walk
  // is shrunk and printed as any other.
  Verdict PlayScript(bool stick, const std::string& lines) {
    try {
      return PlayScriptChecked(stick, lines);
    } catch (const std::exception& e) {
      return {std::string("the set halted: ") + e.what(), ""};
    }
  }
  Verdict PlayScriptChecked(bool stick, const std::string& lines) {
    plugged_ = stick;
    StartAfresh();
    lastOpen_.clear();
    Core::TakeCutTexts();
    Verdict v;
    if (!PlayLines(lines, &v) || v.Broken()) return v.Broken() ? v : Verdict{"a line the walks cannot play", lines};
    if ((v = Tail()).Broken()) return v;
    for (const std::string& cut : Core::TakeCutTexts())
      if (!kvtest::IsKnownFault("text cut: " + cut)) return {"text cut: " + cut, ""};
    return {};
  }

  // The state a viewer may rightly be held in, by the screen it shows, or
  // empty: standby, the first-time setup, factory mode, a PIN prompt waiting.
  std::string HeldIn(const std::vector<Drawn>& drawn) {
    if (App().GetStandby()->IsInStandby()) return "standby";
    for (const Drawn& d : drawn) {
      if (StartsWith(d.cls, "InitialSetup::")) return "first-time setup";
      if (StartsWith(d.cls, "FactorySystem::")) return "factory mode";
      if (d.cls == "ParentalLocks::ChannelLockEnterPin") return "PIN prompt";
    }
    return {};
  }

  Verdict Tail() {
    Verdict v;
    // A media screen in front answers Back.
    std::vector<Drawn> drawn = DrawnForms();
    const Drawn* front = Front(drawn);
    if (front && IsMediaScreen(front->cls) && HeldIn(drawn).empty()) {
      // The keys go to it; Back leaves a player (photo viewer, slide show,
      // music, movie) and changes what a browser shows (a player's own
      // picture moves by itself, a browser's does not).
      const std::string cls = front->cls;
      Primitives::KeyRoutingForm* form = front->form;
      if (KeysGoTo() != form) return {"a media screen in front does not hold the keys: " + cls, Classes(drawn)};
      const bool player = cls.find("SingleView") != std::string::npos || cls.find("FullScreenPlay") != std::string::npos;
      const std::string before = player ? std::string() : Look();
      Press("back");
      Run(1000);
      drawn = DrawnForms();
      front = Front(drawn);
      if (player ? front && front->form == form : Look() == before)
        return {"a media screen in front does not answer Back: " + cls, Classes(drawn)};
    } else {
      Press("back");
      Run(1000);
    }
    if ((v = Covers()).Broken()) return v;
    for (int i = 0; i < 3; ++i) {
      Press("exit");
      Run(i < 2 ? 500 : 20000);
      if ((v = Covers()).Broken()) return v;
    }
    // An application that owns the screen ends on Exit.
    if (AppOwnsTheScreen()) return {"Exit three times does not end the application", AppsText()};
    drawn = DrawnForms();
    const std::string held = HeldIn(drawn);
    if (!held.empty()) {
      if (counting_) held_[held]++;
      // The screen that holds the set is there and takes the keys, and the
      // menu key opens the menu or leaves that screen with the keys.
      if (held == "standby") {
        if (!Screens().empty()) return {"screens open in standby", Classes(drawn)};
        return {};
      }
      if (!KeysGoToUnitOf(held)) return {"the " + held + " does not hold the keys", Classes(drawn)};
      Press("menu");
      Run(1500);
      drawn = DrawnForms();
      front = Front(drawn);
      const bool menu = front && StartsWith(front->cls, "MenuSystem::") && KeysGoToUnit("MenuSystem::");
      if (!menu && !KeysGoToUnitOf(held))
        return {"after the menu key, neither the menu nor the " + held + " holds the keys", Classes(drawn)};
      return Covers();
    }
    // No notice stays for good (but one that known-faults.txt lists as
    // shown on purpose for as long as its cause lasts, which live TV keeps).
    const Primitives::KeyRoutingForm* rightful = nullptr;
    for (const Drawn& d : drawn) {
      if (d.cls != "NonMenuSystem::DirectMessageBar") continue;
      const std::string report = "a notice stays on screen: " + TextsOf(d.cls);
      if (!kvtest::IsKnownFault(report)) return {report, Classes(drawn)};
      rightful = d.form;
    }
    // Live TV: no screen left.
    for (const Drawn& d : drawn)
      if (d.screen && !IsContainer(d.cls) && d.form != rightful)
        return {"Exit three times does not lead to live TV: " + d.cls + " stays", Classes(drawn)};
    // Live TV shows a channel or an input: the media player's input without a media
    // screen is a picture nobody can leave.
    if (Tv().GetState("tv.source.0") == std::to_string(sim::kSourceMedia))
      return {"Exit three times leaves the media input on with no screen", Classes(drawn)};
    // Info brings up the banner.
    Press("info");
    Run(500);
    drawn = DrawnForms();
    bool banner = false;
    for (const Drawn& d : drawn)
      banner |= StartsWith(d.cls, "NonMenuSystem::Banner") || d.cls == "Channels::MiniGuideDialog";
    if (!banner) return {"Info shows neither banner nor mini guide on live TV", Classes(drawn)};
    Press("exit");
    Run(500);
    // The menu key opens the menu, in front, with the keys.
    Press("menu");
    Run(1500);
    drawn = DrawnForms();
    front = Front(drawn);
    if (!front || !StartsWith(front->cls, "MenuSystem::"))
      return {"the menu key does not open the menu", Classes(drawn)};
    if (!KeysGoToUnit("MenuSystem::")) return {"the menu does not take the keys", Classes(drawn)};
    return Covers();
  }

  // The shortest prefix of the walk that breaks the same rule; then each of
  // its keys left out and each wait cut to nothing where the rule still
  // breaks without it, so that the script keeps only what it needs.
  Walk Shrink(const Walk& walk, const Verdict& broken) {
    counting_ = false;
    Walk w = walk;
    // The prefix by halving: the keys before the fault rarely mend it.
    size_t lo = 0, hi = walk.keys.size();  // breaks with hi keys
    while (lo < hi) {
      const size_t mid = (lo + hi) / 2;
      if (Play(walk, mid).rule == broken.rule)
        hi = mid;
      else
        lo = mid + 1;
    }
    w.keys.resize(hi);
    // The last key stays (it broke the rule); the keys before it leave in
    // runs, halved down to single keys, wherever the rule still breaks
    // without them; then the waits, all at once first.
    const auto breaks = [&](const Walk& t) { return Play(t, t.keys.size()).rule == broken.rule; };
    for (size_t run = std::max<size_t>(w.keys.size() / 2, 1); !w.keys.empty(); run /= 2) {
      for (size_t end = w.keys.size() - 1; end > 0;) {
        const size_t begin = end > run ? end - run : 0;
        Walk without = w;
        without.keys.erase(without.keys.begin() + static_cast<std::ptrdiff_t>(begin),
                           without.keys.begin() + static_cast<std::ptrdiff_t>(end));
        if (breaks(without)) w = without;
        end = begin;
      }
      if (run == 1) break;
    }
    Walk still = w;
    for (WalkKey& p : still.keys) p.wait = 0;
    if (breaks(still)) {
      w = still;
    } else {
      for (WalkKey& p : w.keys) {
        if (p.wait == 0) continue;
        const int wait = p.wait;
        p.wait = 0;
        if (!breaks(w)) p.wait = wait;
      }
    }
    counting_ = true;
    return w;
  }

  std::filesystem::path stick_;
  bool plugged_ = false;
  std::set<std::pair<const void*, std::string>> lastOpen_;  // the screens open at the last look
  std::map<std::string, int> held_;  // walks that ended held in a state, by state
  bool counting_ = true;             // false while shrinking
};

int EnvInt(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::atoi(v) : fallback;
}

// One part of the walks: walk k of the run has seed SEED + k, and part p
// plays the walks k with k % parts == p. The long run (tools/walks.sh) runs
// part 0 in each of its processes with WALKS_PARTS and WALKS_PART set.
TEST_P(WalksTest, EveryWalkEndsInTheMenu) {
  int parts = kParts;
  int part = GetParam();
  if (const int p = EnvInt("WALKS_PARTS", 0); p > 0) {
    if (part != 0) GTEST_SKIP() << "the long run plays its parts in processes of their own";
    parts = p;
    part = EnvInt("WALKS_PART", 0);
  }
  const int walks = EnvInt("WALKS", kWalksPerPart * parts);
  const uint32_t seed = static_cast<uint32_t>(EnvInt("SEED", static_cast<int>(kSeed)));
  struct Found {
    std::string script;
    int walks = 0;
  };
  std::map<std::string, Found> found;  // by rule
  std::map<std::string, int> starts;
  std::map<std::string, int> stillToMend;  // walks that broke a rule still to mend
  const auto began = std::chrono::steady_clock::now();
  int played = 0;
  for (int k = part; k < walks; k += parts) {
    const Walk walk = MakeWalk(seed + static_cast<uint32_t>(k), StartOf(seed, k));
    ++played;
    ++starts[Starts()[walk.start].name];
    const auto t0 = std::chrono::steady_clock::now();
    const Verdict v = Play(walk, walk.keys.size());
    if (std::getenv("WALKS_TIMES"))
      std::printf("walk %u from %s: %zu keys, %.2f s\n", walk.seed, Starts()[walk.start].name.c_str(), walk.keys.size(),
                  std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    if (!v.Broken()) continue;
    if (found.count(v.rule)) {
      ++found[v.rule].walks;
      continue;
    }
    // WALKS_SHRINK=0 prints the walk as it was played (a quicker survey).
    const Walk shrunk = EnvInt("WALKS_SHRINK", 1) ? Shrink(walk, v) : walk;
    const std::string script =
        Script(shrunk, shrunk.keys.size(), v.rule + (v.detail.empty() ? "" : " (" + v.detail + ")"));
    if (StillToMend().count(v.rule + " | " + WalkLine(shrunk))) {
      ++stillToMend[v.rule];
      continue;
    }
    Found& f = found[v.rule];
    f.walks = 1;
    f.script = script;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  std::printf("walks: %d played in %.1f s (seeds %u + %d, step %d) from %zu starts in all\n", played, seconds, seed,
              part, parts, Starts().size());
  for (const auto& [name, n] : starts) std::printf("walks: %d from %s\n", n, name.c_str());
  for (const auto& [state, n] : held_) std::printf("walks: %d ended rightly held in the %s\n", n, state.c_str());
  for (const auto& [rule, n] : stillToMend) std::printf("walks: %d broke a rule still to mend: %s\n", n, rule.c_str());
  for (const auto& [rule, f] : found) {
    ADD_FAILURE() << f.walks << " walk(s): " << rule << "\n" << f.script << "one line: " << OneLine(f.script);
  }
}

INSTANTIATE_TEST_SUITE_P(Parts, WalksTest, ::testing::Range(0, kParts));

// Every walk of tests/walks/found.txt (or of the file WALK_SCRIPTS) played
// on a new set and followed by the tail: those the walks found once keep
// every rule now; those still to mend still break theirs (a mended one
// loses its mark).
TEST_F(WalksTest, FoundWalksKeepTheRules) {
  const char* given = std::getenv("WALK_SCRIPTS");
  const std::string file = given && *given ? given : std::string(TVUI_SOURCE_DIR) + "/tests/walks/found.txt";
  int played = 0;
  for (const FoundWalk& f : FoundWalks(file)) {
    ++played;
    const Verdict v = PlayScript(f.stick, f.lines);
    const std::string seen = v.Broken() ? v.rule + (v.detail.empty() ? "" : " (" + v.detail + ")") : "keeps every rule";
    std::printf("%s\n  -> %s\n", f.script.c_str(), seen.c_str());
    if (f.stillToMend.empty())
      EXPECT_FALSE(v.Broken()) << f.script << "\n  " << seen;
    else
      EXPECT_EQ(v.rule, f.stillToMend) << f.script << "\n  is mended or breaks another rule: take its still-to-mend mark away";
  }
  EXPECT_GT(played, 0) << file;
}

}  // namespace
