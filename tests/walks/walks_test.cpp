// Random walks through the remote: no state a viewer cannot leave.
//
// Each walk starts a new set in one of the places a viewer spends time (live
// TV on the antenna or on cable, a locked channel, another input, the photo
// viewer, a slide show, the music or the movie player on a plugged stick),
// presses 5 to 40 seeded keys of the whole remote (the power keys aside,
// the keys that open screens more often), each followed by a wait of 0, 300,
// 2000 or 16000 ms, and then plays the tail that must work from anywhere:
//   - a media screen in front answers Back (the picture or the screens change);
//   - Exit three times and a wait lead back to live TV: no screen is left,
//     no notice stays, Info brings up the banner;
//   - the menu key then opens the menu.
// States that rightly keep the menu key from the menu are told apart by the
// screen they show, which must be in front and hold the keys: the
// first-time setup, factory mode, standby and a PIN prompt waiting on a
// locked channel. All along the walk, no banner, bar or notice may be drawn
// under an open menu or dialog.
//
// A walk that breaks a rule is replayed on ever longer prefixes until the
// shortest that breaks it the same way (the same rule, the same screen) is
// found, then without each key and each wait it can do without; that is
// printed as a key script with the tail, to be replayed by
// `tvui --headless --keys F --media-dir STICK --data-dir NEW` (STICK written by
// `sample_media --set players STICK`, the set the line "media players"
// names).
//
// The walks a run plays: WALKS (default kWalksPerShard in each of the
// shards ctest runs) from seed SEED (default kSeed); `make walks WALKS=3000
// SEED=7` is the long run. Reports that tests/scenes/known-faults.txt lists
// are passed over, like every other picture check's.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
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
#include "platform/psl/psl.h"
#include "platform/sim/sim_tv_air.h"
#include "platform/sim/sim_tv_state.h"
#include "units/Core/Group.h"
#include "units/Core/Root.h"
#include "units/Core/SeenTexts.h"
#include "units/MainApp/Root.h"
#include "units/MainApp/Standby.h"
#include "units/Primitives/KeyRoutingForm.h"

namespace {

constexpr uint32_t kSeed = 20261209;
constexpr int kWalksPerShard = 20;

// --- What a walk is ----------------------------------------------------------

// Where a walk starts: the script lines that bring a new set there.
struct Start {
  const char* name;
  bool stick;        // the stick of the "players" set is plugged at start
  int weight;        // how often walks start here
  const char* lines;  // key-script lines, one a line
};

// Half of the walks start on the stick (its question answered Yes by the
// first OK: the media kind menu, then Photo, Music or Movie).
const Start kStarts[] = {
    {"photo viewer", true, 3, "ok\nwait 1500\nok\nwait 2000\nright\nright\nok\nwait 2000\nok\nwait 2000\n"},
    {"slide show", true, 3,
     "ok\nwait 1500\nok\nwait 2000\nright\nright\nok\nwait 2000\nok\nwait 2000\nok\nwait 3000\n"},
    {"music", true, 3, "ok\nwait 1500\ndown\ndown\nok\nwait 2000\ndown\nok\nwait 2000\nok\nwait 2000\n"},
    {"movie", true, 3, "ok\nwait 1500\ndown\nok\nwait 2000\nok\nwait 2000\nok\nwait 2000\n"},
    {"live TV", false, 3, "wait 1000\n"},
    {"locked channel", false, 3,
     "wait 1000\nstate Channels::ChannelLockDialog\nwait 300\ndown\nok\nwait 300\nexit\nwait 500\nch+\nwait 3000\n"},
    {"cable", false, 2,
     "wait 1000\nmenu\nwait 1000\ndown\nwait 500\ndown\nwait 500\nright\nwait 500\ndown\nwait 300\ndown\nwait 300\n"
     "right\nwait 500\ndown\nok\nwait 500\nexit\nwait 3000\n"},
    {"AV input", false, 2, "wait 1000\ninput\nwait 500\ndown\ndown\nok\nwait 3000\n"},
    {"HDMI 1", false, 2, "wait 1000\ninput\nwait 500\ndown\ndown\ndown\ndown\nok\nwait 3000\n"},
};

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

Walk MakeWalk(uint32_t seed) {
  static const std::vector<std::string> keys = WeightedKeys();
  std::mt19937 random(seed);
  Walk walk;
  walk.seed = seed;
  int total = 0;
  for (const Start& s : kStarts) total += s.weight;
  int pick = std::uniform_int_distribution<int>(0, total - 1)(random);
  while (pick >= kStarts[walk.start].weight) pick -= kStarts[walk.start++].weight;
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
  std::string out = "# walk " + std::to_string(walk.seed) + " from " + kStarts[walk.start].name + ", " +
                    std::to_string(keys) + " keys: " + why + "\n";
  if (kStarts[walk.start].stick) out += "media players\n";
  out += kStarts[walk.start].lines;
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

// --- What the screen shows -----------------------------------------------------

// A form drawn on screen: its class, its box on screen, its place in the
// drawing order.
struct Drawn {
  Primitives::KeyRoutingForm* form = nullptr;
  std::string cls;
  kv::Rect box;
};

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

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

// --- The walks ----------------------------------------------------------------

// What a walk broke: the rule and the screen (the same for a shorter prefix
// that breaks it the same way), and what was seen.
struct Verdict {
  std::string rule;    // empty: the walk kept every rule
  std::string detail;  // what the screen showed
  bool Broken() const { return !rule.empty(); }
};

class WalksTest : public apptest::AppTest {
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

  // Plays lines of a key script; false when one cannot be played here.
  bool PlayLines(const std::string& lines) {
    host::KeyScript script;
    std::string error;
    if (!script.Parse(lines, &error)) {
      ADD_FAILURE() << "bad start script: " << error;
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
        default: ADD_FAILURE() << "a start line the walks do not play"; return false;
      }
    }
    return true;
  }

  std::vector<Drawn> DrawnForms() {
    std::vector<Drawn> out;
    CollectDrawn(&App(), {0, 0}, out);
    return out;
  }
  // The screen drawn last (over all others) that a viewer works in, or null.
  const Drawn* Front(const std::vector<Drawn>& drawn) {
    for (auto it = drawn.rbegin(); it != drawn.rend(); ++it)
      if (!IsContainer(it->cls)) return &*it;
    return nullptr;
  }
  // The form the focused view belongs to (the innermost one), or null.
  Primitives::KeyRoutingForm* KeysGoTo() {
    for (Core::View* v = Focused(); v; v = v->Owner())
      if (auto* f = kv::Cast<Primitives::KeyRoutingForm>(v)) return f;
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
      if (!IsContainer(d.cls)) out += (out.empty() ? "" : ", ") + d.cls;
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

  // No banner, bar or notice under an open menu or dialog (but the covers
  // known-faults.txt lists as on purpose).
  Verdict Covers() {
    const std::vector<Drawn> drawn = DrawnForms();
    for (size_t i = 0; i < drawn.size(); ++i) {
      if (!IsOverlay(drawn[i].cls)) continue;
      for (size_t j = i + 1; j < drawn.size(); ++j) {
        if (!IsMenuOrDialog(drawn[j].cls) || !Intersect(drawn[i].box, drawn[j].box)) continue;
        const std::string report = "drawn under a screen: " + drawn[i].cls + " under " + drawn[j].cls;
        if (kvtest::IsKnownFault(report)) continue;
        return {report, TextsOf(drawn[i].cls)};
      }
    }
    return {};
  }

  // Plays the walk's start and its first `keys` keys, then the tail.
  Verdict Play(const Walk& walk, size_t keys) {
    plugged_ = kStarts[walk.start].stick;
    StartAfresh();
    Core::TakeCutTexts();
    if (!PlayLines(kStarts[walk.start].lines)) return {"start", ""};
    Verdict v;
    for (size_t i = 0; i < keys; ++i) {
      Press(walk.keys[i].key);
      if ((v = Covers()).Broken()) return v;
      if (walk.keys[i].wait) {
        Run(walk.keys[i].wait);
        if ((v = Covers()).Broken()) return v;
      }
    }
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
      const std::string cls = front->cls;
      const std::string before = Look();
      Press("back");
      Run(1000);
      if (Look() == before) return {"a media screen in front does not answer Back: " + cls, Classes(DrawnForms())};
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
    // No notice stays for good.
    for (const Drawn& d : drawn)
      if (d.cls == "NonMenuSystem::DirectMessageBar") return {"a notice stays on screen", TextsOf(d.cls)};
    // Live TV: no screen left.
    for (const Drawn& d : drawn)
      if (!IsContainer(d.cls)) return {"Exit three times does not lead to live TV: " + d.cls + " stays", Classes(drawn)};
    // Live TV shows a channel or an input: the media input without a media
    // screen is a picture nobody can leave.
    if (Tv().GetState("tv.source.0") == std::to_string(sim::kSourceMultimedia))
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
    size_t n = 0;
    while (n < walk.keys.size() && Play(walk, n).rule != broken.rule) ++n;
    w.keys.resize(n);
    for (size_t i = w.keys.size(); i-- > 0;) {
      Walk without = w;
      without.keys.erase(without.keys.begin() + static_cast<std::ptrdiff_t>(i));
      if (Play(without, without.keys.size()).rule == broken.rule) w = without;
    }
    for (WalkKey& p : w.keys) {
      if (p.wait == 0) continue;
      const int wait = p.wait;
      p.wait = 0;
      if (Play(w, w.keys.size()).rule != broken.rule) p.wait = wait;
    }
    counting_ = true;
    return w;
  }

  std::filesystem::path stick_;
  bool plugged_ = false;
  std::map<std::string, int> held_;  // walks that ended held in a state, by state
  bool counting_ = true;             // false while shrinking
};

int EnvInt(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::atoi(v) : fallback;
}

// One shard of the walks: walk k of the run has seed SEED + k; the shards
// ctest runs share them out.
TEST_F(WalksTest, EveryWalkEndsInTheMenu) {
  const int shards = EnvInt("GTEST_TOTAL_SHARDS", 1);
  const int shard = EnvInt("GTEST_SHARD_INDEX", 0);
  const int walks = EnvInt("WALKS", kWalksPerShard * shards);
  const uint32_t seed = static_cast<uint32_t>(EnvInt("SEED", static_cast<int>(kSeed)));
  struct Found {
    std::string script;
    int walks = 0;
  };
  std::map<std::string, Found> found;  // by rule
  std::map<std::string, int> starts;
  const auto began = std::chrono::steady_clock::now();
  int played = 0;
  for (int k = shard; k < walks; k += shards) {
    const Walk walk = MakeWalk(seed + static_cast<uint32_t>(k));
    ++played;
    ++starts[kStarts[walk.start].name];
    const auto t0 = std::chrono::steady_clock::now();
    const Verdict v = Play(walk, walk.keys.size());
    if (std::getenv("WALKS_TIMES"))
      std::printf("walk %u from %s: %zu keys, %.2f s\n", walk.seed, kStarts[walk.start].name, walk.keys.size(),
                  std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    if (!v.Broken()) continue;
    Found& f = found[v.rule];
    if (f.walks++ > 0) continue;
    const Walk shrunk = Shrink(walk, v);
    f.script = Script(shrunk, shrunk.keys.size(), v.rule + (v.detail.empty() ? "" : " (" + v.detail + ")"));
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  std::printf("walks: %d played in %.1f s (seeds %u + %d.. step %d)\n", played, seconds, seed, shard, shards);
  for (const auto& [name, n] : starts) std::printf("walks: %d from %s\n", n, name.c_str());
  for (const auto& [state, n] : held_) std::printf("walks: %d ended rightly held in the %s\n", n, state.c_str());
  for (const auto& [rule, f] : found) {
    ADD_FAILURE() << f.walks << " walk(s): " << rule << "\n" << f.script << "one line: " << OneLine(f.script);
  }
}

}  // namespace
