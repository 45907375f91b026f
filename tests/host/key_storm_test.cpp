// The key storm: a long seeded random key script through the whole system,
// with a collection after every pass. Any crash it finds gets a regression
// test of its own.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "app_fixture.h"
#include "runtime/runtime.h"
#include "units/MainApp/Root.h"
#include "units/MainApp/Standby.h"

namespace {

constexpr int kKeys = 20000;
constexpr uint32_t kSeed = 20240612;
// Platform key codes 0 to 278 plus a few that no key has.
constexpr int kMaxCode = 290;

class KeyStormTest : public apptest::AppTest {};

TEST_F(KeyStormTest, TwentyThousandSeededKeysLeaveTheSystemWhole) {
  kv::Runtime::SetCollectEveryPass(true);
  std::mt19937 random(kSeed);
  std::uniform_int_distribution<int> code(0, kMaxCode);
  std::uniform_int_distribution<int> pause(0, 99);
  for (int i = 0; i < kKeys; ++i) {
    PressCode(code(random));
    // Now and then time passes, so that time-outs and timers fire in between.
    if (pause(random) == 0) Run(1500);
  }
  // The storm's power keys reached the root (about one key in 290).
  EXPECT_GT(Calls("XPM_StandbyMode").size(), 20u);
  // The set still answers: the power key puts it into standby and wakes it up.
  MainApp::Standby* standby = App().GetStandby();
  if (!standby->IsInStandby()) Press("power");
  EXPECT_TRUE(standby->IsInStandby());
  EXPECT_TRUE(OpenForms().empty());
  Press("power");
  EXPECT_FALSE(standby->IsInStandby());
  EXPECT_FALSE(Logged("PANIC"));
}

}  // namespace
