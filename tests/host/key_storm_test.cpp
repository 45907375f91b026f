// The key storm: a long seeded random key script through the whole system,
// with a collection after every pass. Any crash it finds gets a regression
// test of its own.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "host/keys/keytable.h"
#include "known_faults.h"
#include "media_writer.h"
#include "platform/psl/psl.h"
#include "runtime/explain_live.h"
#include "runtime/collector.h"
#include "runtime/runtime.h"
#include "units/MainApp/Root.h"
#include "units/MainApp/Standby.h"

namespace {

constexpr int kKeys = 20000;
constexpr uint32_t kSeed = 20240612;
// Platform key codes 0 to 278 plus a few that no key has.
constexpr int kMaxCode = 290;
// The remote's and the panel's power keys.
constexpr int kPower = 80;
constexpr int kPanelPower = 255;
// Every this many keys the picture is looked at: texts cut, partly hidden or
// overlapping one another fail the storm (but the cases known-faults.txt
// lists).
constexpr int kLookEvery = 100;

class KeyStormTest : public apptest::AppTest {};

TEST_F(KeyStormTest, TwentyThousandSeededKeysLeaveTheSystemWhole) {
  kv::Runtime::SetCollectEveryPass(true);
  std::mt19937 random(kSeed);
  std::uniform_int_distribution<int> code(0, kMaxCode);
  std::uniform_int_distribution<int> pause(0, 99);
  std::uniform_int_distribution<int> chance(0, 999);
  MainApp::Standby* standby = App().GetStandby();
  int awake = 0;
  // A user waits a little every few keys, so the clock moves on and the
  // bars, animations and time-outs that timers hold end as they would
  // (their own generator: the keys stay those of the seed).
  std::mt19937 waits(kSeed + 1);
  std::uniform_int_distribution<int> keysToWait(1, 8);
  std::uniform_int_distribution<int> waitMs(50, 2000);
  int untilWait = keysToWait(waits);
  // Keys per second over the first and the last tenth, and the objects alive after each.
  using Clock = std::chrono::steady_clock;
  constexpr int kTenth = kKeys / 10;
  Clock::time_point tenthStart = Clock::now();
  double firstRate = 0, lastRate = 0;
  size_t firstLive = 0;
  std::set<std::string> faults;  // reported once each
  for (int i = 0; i < kKeys; ++i) {
    if (i == kKeys - kTenth) tenthStart = Clock::now();
    // The set stays on for most of the storm, so that the keys reach live
    // TV, the menus and the dialogs: power comes now and then, and a few
    // keys after standby it wakes the set again.
    const bool off = standby->IsInStandby();
    int c = code(random);
    while (c == kPower || c == kPanelPower) c = code(random);
    if (off ? chance(random) < 200 : chance(random) < 2) c = chance(random) < 500 ? kPower : kPanelPower;
    if (!off) ++awake;
    PressCode(c);
    // Now and then time passes, so that time-outs and timers fire in between.
    if (pause(random) == 0) Run(1500);
    if (--untilWait == 0) {
      Run(waitMs(waits));
      untilWait = keysToWait(waits);
    }
    if ((i + 1) % kLookEvery == 0 && !App().IsTransitionRunning())
      for (const std::string& fault : Core::TextFaults(SeenTexts()))
        if (!kvtest::IsKnownFault(fault) && faults.insert(fault).second) ADD_FAILURE() << "after key " << i << ": " << fault;
    if (i + 1 == kTenth || i + 1 == kKeys) {
      const double rate = kTenth / std::chrono::duration<double>(Clock::now() - tenthStart).count();
      kv::Collect();
      (i + 1 == kTenth ? firstRate : lastRate) = rate;
      if (i + 1 == kTenth) firstLive = kv::LiveObjects();
    }
  }
  const double share = 100.0 * awake / kKeys;
  std::printf("key storm: %d of %d keys (%.1f%%) handled outside standby\n", awake, kKeys, share);
  std::printf("key storm: %.0f keys/s over the first tenth, %.0f over the last; %zu objects alive, then %zu\n",
              firstRate, lastRate, firstLive, kv::LiveObjects());
  EXPECT_GE(share, 90.0);
  // What timers hold ends as time passes: the heap does not grow with the keys.
  EXPECT_LT(kv::LiveObjects(), firstLive * 2);
  // The storm's power keys reached the root.
  EXPECT_GT(Calls("XPM_StandbyMode").size(), 20u);
  // The set still answers: the power key puts it into standby and wakes it up.
  if (!standby->IsInStandby()) Press("power");
  EXPECT_TRUE(standby->IsInStandby());
  EXPECT_TRUE(OpenForms().empty());
  Press("power");
  EXPECT_FALSE(standby->IsInStandby());
  EXPECT_FALSE(Logged("PANIC"));
}

// The census line of every class with more objects alive in `now` than in `before`.
std::string Grown(const std::map<std::string, size_t>& before, const std::map<std::string, size_t>& now) {
  std::string out;
  for (const auto& [name, n] : now) {
    const auto it = before.find(name);
    const size_t was = it == before.end() ? 0 : it->second;
    if (n > was) out += "  " + name + " " + std::to_string(was) + " -> " + std::to_string(n) + "\n";
  }
  return out;
}

// Keys as fast as a script sends them: the clock stands still (a script
// without shots moves it hardly at all), so no time-out and no animation of
// a screen ever ends while the keys come. A screen that the keys closed must
// be freed all the same: nothing it started (a running animation, a pending
// time-out, a queued signal) may keep it alive.
TEST_F(KeyStormTest, ClosedScreensAreFreedWhileTheClockStandsStill) {
  // Every key of the key map, a fixed seed, a collection after every pass,
  // a stick with photos, songs and a movie plugged.
  constexpr int kStillKeys = 20000;
  const std::filesystem::path stick = DataDir() / "sticks" / "storm";
  media_writer::WriteBytes((stick / "Photos" / "a.jpg").string(), media_writer::Jpeg(64, 48, 0x204080, 0xC0E0FF));
  media_writer::WriteBytes((stick / "Photos" / "b.jpg").string(), media_writer::Jpeg(48, 64, 0x802040, 0xFFE0C0));
  media_writer::WriteWav((stick / "Music" / "a.wav").string(), 2);
  media_writer::WriteMovie((stick / "Movies" / "a.avi").string(), 1, 64, 48, 120, 100, 160);
  ASSERT_GT(psl::PlugFolder(stick.string()), 0);
  Settle();
  kv::Runtime::SetCollectEveryPass(true);
  const std::vector<std::string> names = host::KeyMapScriptNames();
  ASSERT_EQ(names.size(), 72u);
  std::mt19937 random(kSeed);
  std::uniform_int_distribution<size_t> pick(0, names.size() - 1);
  for (int i = 0; i < kStillKeys; ++i) Press(names[pick(random)]);
  const std::map<std::string, size_t> still = Census();
  size_t stillLive = 0;
  for (const auto& [name, n] : still) stillLive += n;
  for (const char* cls : {"NonMenuSystem::ChBrowserDialog", "SkinBin::MenuEffect"}) {
    const auto it = still.find(cls);
    const size_t n = it == still.end() ? 0 : it->second;
    EXPECT_LE(n, 2u) << cls << " alive:\n" << kv::ExplainLive(cls, 3);
  }
  // Now time passes as it would after the keys: what time-outs and
  // animations still hold ends.
  Run(70000);
  const std::map<std::string, size_t> ranOn = Census();
  size_t ranOnLive = 0;
  for (const auto& [name, n] : ranOn) ranOnLive += n;
  // What only the running clock may free: the screens still open after the
  // last key (they close on their time-outs) with what they hold, at most
  // the menu's column and page with their items and effects. Closed screens
  // held by their pending timers would add a screen's worth of objects for
  // every screen closed (about 2,200 over these keys).
  constexpr size_t kHeldByOpenScreens = 400;
  std::printf("key storm, clock standing still: %zu objects alive after %d keys, %zu once the clock ran on\n",
              stillLive, kStillKeys, ranOnLive);
  EXPECT_LE(stillLive, ranOnLive + kHeldByOpenScreens) << Grown(ranOn, still);
  // The set still answers keys.
  if (App().GetStandby()->IsInStandby()) Press("power");
  EXPECT_FALSE(App().GetStandby()->IsInStandby());
  EXPECT_FALSE(Logged("PANIC"));
}

}  // namespace
