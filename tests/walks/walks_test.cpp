// Random walks through the remote: no state a viewer cannot leave.
//
// Each walk starts a new set in one of its starts (the places a viewer
// spends time: live TV on the antenna or on cable, a locked channel, HDMI 1,
// each input without a signal, the players on a plugged stick, the video
// and the widgets application, a recording, timeshift and the recorded list
// on the USB disk; live TV in standby, the Channels page, the channel list
// in use past its page's time-out; and every screen a "state" line opens),
// takes 5 to 40 seeded steps: keys of the whole remote (the power keys
// aside, the keys that open screens more often), each followed by a wait of
// 0, 300, 2000 or 16000 ms, and one step in eight something that happens to
// the set (walks::SetEvents: a notice, an update, a timer, the sleep timer,
// the USB disk or the stick, standby, long waits), and then plays the tail
// that must work from anywhere (once a screen that takes every key for a
// while has moved on: a software update that runs, a notice that leads on):
//   - a media screen in front holds the keys and answers Back (a player is
//     left, a browser's picture changes);
//   - Exit three times and a wait lead back to live TV: no application owns
//     the screen, no screen is left, no notice stays, the media player's
//     input is not left on without a screen; Info brings up the banner or
//     the mini guide;
//   - the menu key then opens the menu, which takes the keys.
// States that rightly keep the set from live TV are told apart by the screen
// they show, which must hold the keys: the first-time setup, factory mode,
// standby, a PIN prompt waiting on a locked channel and a software update's
// question (which may stand over an application: it is answered before
// Exit can end that application); the cooling fan's notice, which takes
// every key (Exit too, over an application) until the set is switched off;
// standby the set's own sleep timer brought during the tail. After every key and
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

#include "host/keys/keytable.h"
#include "units/Constants/MessageTypes.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "walk_rules.h"
#include "tvui_paths.h"

namespace {

using namespace walks;

constexpr uint32_t kSeed = 20261209;
// `make test` plays kParts parts of kWalksPerPart walks each (one test
// each, which ctest's shards spread over the cores).
constexpr int kParts = 4;
constexpr int kWalksPerPart = 60;
// The longest the tail waits for a screen that takes every key for a while
// to move on (a running software update: the simulated set answers within
// seconds; a notice: 8 s at most).
constexpr int kMomentWaitMs = 60000;

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
  std::string key;  // a key, or the line of an event
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
  // One step in eight is something that happens to the set, a notice of
  // the message bar one time in three.
  std::vector<SetEvent> notices, others;
  for (const SetEvent& e : SetEvents()) (IsNoticeEvent(e) ? notices : others).push_back(e);
  std::uniform_int_distribution<int> kind(0, 23);
  std::uniform_int_distribution<size_t> notice(0, notices.size() - 1), other(0, others.size() - 1);
  for (int i = 0; i < length; ++i) {
    const int k = kind(random);
    if (k < 3) {
      const SetEvent& e = k == 0 ? notices[notice(random)] : others[other(random)];
      walk.keys.push_back({e.line, e.wait});
      continue;
    }
    const int w = wait(random);
    walk.keys.push_back({keys[key(random)], w < 45 ? 0 : w < 80 ? 300 : w < 95 ? 2000 : 16000});
  }
  return walk;
}

// The tail every walk ends with, as key-script lines (the test checks what
// the comments say after each part; before it, it waits for a screen that
// takes every key for a while to move on, which no fixed line can say).
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
  if (!Starts()[walk.start].media.empty()) out += "media " + Starts()[walk.start].media + "\n";
  out += Starts()[walk.start].lines;
  out += "# the walk\n";
  for (size_t i = 0; i < keys; ++i) {
    out += walk.keys[i].key + "\n";
    if (walk.keys[i].wait) out += "wait " + std::to_string(walk.keys[i].wait) + "\n";
  }
  return out + kTail;
}


// The walk without the tail on one line, as found.txt writes it.
std::string WalkLine(const Walk& walk) {
  std::string lines = Starts()[walk.start].media.empty() ? "" : "media " + Starts()[walk.start].media + "\n";
  lines += Starts()[walk.start].lines;
  for (const WalkKey& k : walk.keys) {
    lines += k.key + "\n";
    if (k.wait) lines += "wait " + std::to_string(k.wait) + "\n";
  }
  return OneLine(lines);
}

// --- The walks ----------------------------------------------------------------

class WalksTest : public WalkRules, public ::testing::WithParamInterface<int> {
 protected:

  // Plays the walk's start and its first `keys` keys, then the tail.
  Verdict Play(const Walk& walk, size_t keys) {
    std::string lines = Starts()[walk.start].lines;
    for (size_t i = 0; i < keys; ++i) {
      lines += walk.keys[i].key + "\n";
      if (walk.keys[i].wait) lines += "wait " + std::to_string(walk.keys[i].wait) + "\n";
    }
    return PlayScript(Starts()[walk.start].media, lines);
  }

  // Plays key-script lines on a new set (the stick plugged or not) with the
  // checks of a walk, then the tail.
  // A panic (which halts the set) breaks a rule of its own, so that the walk
  // is shrunk and printed as any other.
  Verdict PlayScript(const std::string& media, const std::string& lines) {
    try {
      return PlayScriptChecked(media, lines);
    } catch (const std::exception& e) {
      return {std::string("the set halted: ") + e.what(), ""};
    }
  }
  Verdict PlayScriptChecked(const std::string& media, const std::string& lines) {
    plugged_ = media;
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


  // The set went to standby by itself while the tail played (the sleep
  // timer a step set ran out): standby then holds it, with no screen open.
  bool SwitchedOff() { return App().GetStandby()->IsInStandby(); }
  Verdict Asleep() {
    if (!Screens().empty()) return {"screens open in standby", Classes(DrawnForms())};
    return {};
  }

  // A screen that takes every key for a while and then moves on by itself:
  // a software update that runs (its check or its progress) until its
  // answer comes, a notice that leads on after its time (3D signal
  // detected, then the 3D wizard; the update done, then the restart). The
  // viewer's keys meanwhile are lost by design: the tail waits for it.
  bool TakesEveryKeyForAWhile() {
    for (const Drawn& d : DrawnForms()) {
      if (d.cls == "Update::CheckingMessage" || d.cls == "Update::UpdatingDialog") return true;
      if (auto* bar = kv::Cast<NonMenuSystem::DirectMessageBar>(d.form);
          bar && (bar->MessageType == Constants::DirectMsgType3DSignalDetected ||
                  bar->MessageType == Constants::DirectMsgTypeNetworkUpgradeComplete ||
                  bar->MessageType == Constants::DirectMsgTypeUSBUpgradeComplete))
        return true;
    }
    return false;
  }

  Verdict Tail() {
    Verdict v;
    for (int waited = 0; waited < kMomentWaitMs && TakesEveryKeyForAWhile(); waited += 1000) Run(1000);
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
    drawn = DrawnForms();
    const std::string held = HeldIn(drawn);
    // The cooling fan's notice takes every key until the set is switched
    // off: it holds the keys, and neither Exit, Info nor the menu key can act.
    for (const Drawn& d : drawn)
      if (auto* fan = kv::Cast<NonMenuSystem::DirectMessageBar>(d.form);
          fan && fan->MessageType == Constants::DirectMsgTypeCoolingFanStopped && held.empty()) {
        if (KeysGoTo() != fan) return {"the cooling fan's notice does not hold the keys", Classes(drawn)};
        const std::string report = "a notice stays on screen: " + TextsOf(d.cls);
        if (!kvtest::IsKnownFault(report)) return {report, Classes(drawn)};
        return {};
      }
    // An application that owns the screen ends on Exit, but not while an
    // update question stands over it: that question takes every key but its
    // answer, Exit included.
    if (AppOwnsTheScreen() && held != "update question")
      return {"Exit three times does not end the application", AppsText()};
    if (!held.empty()) {
      if (counting_) held_[held]++;
      // The screen that holds the set is there and takes the keys, and the
      // menu key opens the menu or leaves that screen with the keys.
      if (held == "standby") return Asleep();
      if (!KeysGoToUnitOf(held)) return {"the " + held + " does not hold the keys", Classes(drawn)};
      Press("menu");
      Run(1500);
      if (SwitchedOff()) return Asleep();
      drawn = DrawnForms();
      front = Front(drawn);
      const bool menu = front && StartsWith(front->cls, "MenuSystem::") && KeysGoToUnit("MenuSystem::");
      if (!menu && !KeysGoToUnitOf(held))
        return {"after the menu key, neither the menu nor the " + held + " holds the keys", Classes(drawn)};
      return Covers();
    }
    // No notice stays for good (but one that known-faults.txt lists as
    // shown on purpose for as long as its cause lasts, which live TV keeps).
    Primitives::KeyRoutingForm* rightful = nullptr;
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
    if (SwitchedOff()) return Asleep();
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
    if (SwitchedOff()) return Asleep();
    drawn = DrawnForms();
    front = Front(drawn);
    if (!front || !StartsWith(front->cls, "MenuSystem::")) {
      // A question the set raised just then (the sleep timer's end) holds
      // the keys and waits for its answer.
      const std::string now = HeldIn(drawn);
      if (!now.empty() && now != "standby" && KeysGoToUnitOf(now)) return Covers();
      return {"the menu key does not open the menu", Classes(drawn)};
    }
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
    const Verdict v = PlayScript(f.media, f.lines);
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