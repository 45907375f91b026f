// Core::Timer on the fake clock: begin and period, one-shots, restarts by the
// setters, Activate and Restart, re-binding the trigger slot, and an enabled
// timer keeping its owner alive.
#include <gtest/gtest.h>

#include "runtime/collector.h"
#include "runtime/member.h"
#include "support/kv_test.h"
#include "units/Core/Timer.h"

namespace coretest {
namespace {

// An owner with an embedded timer, counting expiries into two slots.
class Clockwork : public kv::Object {
  KV_CLASS(coretest, Clockwork, kv::Object)
 public:
  Clockwork() { timer.OnTrigger = kv::MakeSlot(this, &Clockwork::Tick); }
  void Tick(kv::Object* sender) {
    ++ticks;
    lastSender = sender;
    enabledInSlot = timer.IsEnabled();
  }
  void Tock(kv::Object*) { ++tocks; }
  Core::Timer timer;
  int ticks = 0, tocks = 0;
  kv::Object* lastSender = nullptr;
  bool enabledInSlot = false;
};
KV_REGISTER_CLASS(coretest::Clockwork);

class TimerTest : public kvtest::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    owner = kv::New<Clockwork>();
  }
  kv::Persistent<Clockwork> owner;
};

TEST_F(TimerTest, FiresAfterBeginThenEveryPeriodAtMostOncePerPass) {
  Core::Timer& t = owner->timer;
  EXPECT_EQ(t.OnGetPeriod(), 1000);
  EXPECT_FALSE(t.IsEnabled());
  t.OnSetBegin(100);
  t.OnSetPeriod(50);
  t.OnSetEnabled(true);
  driver.Pass(99);
  EXPECT_EQ(owner->ticks, 0);
  driver.Pass(1);
  EXPECT_EQ(owner->ticks, 1);
  EXPECT_EQ(owner->lastSender, &t);
  driver.Pass(49);
  EXPECT_EQ(owner->ticks, 1);
  driver.Pass(1);
  EXPECT_EQ(owner->ticks, 2);
  driver.Pass(500);  // late: one expiry only
  EXPECT_EQ(owner->ticks, 3);
  t.OnSetEnabled(false);
  driver.RunFor(1000);
  EXPECT_EQ(owner->ticks, 3);
}

TEST_F(TimerTest, AOneShotIsDisabledBeforeItsSlotRunsAndNegativeValuesCountAsZero) {
  Core::Timer& t = owner->timer;
  t.OnSetPeriod(-5);
  t.OnSetBegin(-7);
  EXPECT_EQ(t.OnGetPeriod(), 0);
  EXPECT_EQ(t.OnGetBegin(), 0);
  t.OnSetEnabled(true);
  driver.Pass();
  EXPECT_EQ(owner->ticks, 1);
  EXPECT_FALSE(owner->enabledInSlot);
  EXPECT_FALSE(t.IsEnabled());
  driver.RunFor(100);
  EXPECT_EQ(owner->ticks, 1);
}

TEST_F(TimerTest, SettersActivateAndRestartStartCountingFromBeginAgain) {
  Core::Timer& t = owner->timer;
  t.OnSetBegin(100);
  t.OnSetPeriod(100);
  // Setters of a disabled timer only store.
  driver.RunFor(300);
  EXPECT_EQ(owner->ticks, 0);

  t.OnSetEnabled(true);
  driver.Pass(80);
  t.OnSetPeriod(30);  // restarts: next expiry 100 ms from now
  driver.Pass(90);
  EXPECT_EQ(owner->ticks, 0);
  driver.Pass(10);
  EXPECT_EQ(owner->ticks, 1);

  driver.Pass(20);
  t.Activate();  // restarts from Begin
  driver.Pass(99);
  EXPECT_EQ(owner->ticks, 1);
  driver.Pass(1);
  EXPECT_EQ(owner->ticks, 2);

  t.Restart(10, 0);
  driver.Pass(10);
  EXPECT_EQ(owner->ticks, 3);
  EXPECT_FALSE(t.IsEnabled());

  // Activate as a slot starts a disabled timer.
  kv::Signal(kv::MakeSlot(&t, &Core::Timer::Activate), nullptr);
  EXPECT_TRUE(t.IsEnabled());
}

TEST_F(TimerTest, TheTriggerSlotCanBeReboundWhileRunning) {
  Core::Timer& t = owner->timer;
  t.Restart(0, 10);
  driver.Pass(10);
  EXPECT_EQ(owner->ticks, 1);
  t.OnTrigger = kv::MakeSlot(owner.get(), &Clockwork::Tock);
  driver.Pass(10);
  EXPECT_EQ(owner->ticks, 1);
  EXPECT_EQ(owner->tocks, 1);
}

TEST_F(TimerTest, AnEnabledTimerKeepsItsOwnerAlive) {
  Clockwork* loose = kv::New<Clockwork>();
  loose->timer.Restart(0, 10);
  loose = nullptr;
  kv::Collect();
  EXPECT_EQ(kv::HeapCensus()["coretest::Clockwork"], 2u);
  owner->timer.Restart(0, 0);  // one-shot: fires and stops
  driver.Pass(10);
  kv::Collect();
  EXPECT_EQ(kv::HeapCensus()["coretest::Clockwork"], 2u);
  owner = nullptr;
  kv::Collect();
  EXPECT_EQ(kv::HeapCensus()["coretest::Clockwork"], 1u);
}

}  // namespace
}  // namespace coretest
