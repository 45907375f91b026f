#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kv_test.h"
#include "runtime/collector.h"
#include "runtime/member.h"
#include "runtime/slot.h"
#include "runtime/timer.h"

namespace tst {

std::vector<std::string> g_log;

class T : public kv::Object {
  KV_CLASS(tst, T, kv::Object)
 public:
  explicit T(std::string n = "") : name(std::move(n)), entry(this, &T::Fire) {}
  static void Fire(kv::Object* o) {
    auto* self = static_cast<T*>(o);
    g_log.push_back(self->name + (self->entry.Scheduled() ? "+" : "-"));
    if (self->onFire) self->onFire(self);
  }
  void Post(kv::Object*) { g_log.push_back("post:" + name); }
  std::string name;
  kv::TimerEntry entry;
  std::function<void(T*)> onFire;
};

class TimerSignalTest : public kvtest::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    g_log.clear();
  }
  T* Make(const char* n) {
    T* t = kv::New<T>(n);
    keep.push_back(kv::Persistent<T>(t));
    return t;
  }
  std::vector<kv::Persistent<T>> keep;
};

TEST_F(TimerSignalTest, TimersFireInDueOrderAtMostOncePerPass) {
  T* a = Make("a");
  T* b = Make("b");
  T* once = Make("once");
  a->entry.Schedule(30, 10);
  b->entry.Schedule(20, 50);
  once->entry.Schedule(25, 0);
  driver.Pass(100);  // all overdue: each fires once, in due order
  EXPECT_EQ(g_log, (std::vector<std::string>{"b+", "once-", "a+"}));
  // Catch-up: a's next due (40) had passed, so it is now + period.
  EXPECT_EQ(a->entry.Due(), driver.Now() + 10);
  EXPECT_EQ(b->entry.Due(), driver.Now() + 50);
  EXPECT_FALSE(once->entry.Scheduled());
}

TEST_F(TimerSignalTest, TimerScheduledDuringTheStepWaitsForTheNextPass) {
  T* a = Make("a");
  T* late = Make("late");
  a->onFire = [late](T*) { late->entry.Schedule(0, 0); };
  a->entry.Schedule(0, 0);
  driver.Pass(0);
  EXPECT_EQ(g_log, (std::vector<std::string>{"a-"}));
  driver.Pass(0);
  EXPECT_EQ(g_log, (std::vector<std::string>{"a-", "late-"}));
}

TEST_F(TimerSignalTest, CancelledByEarlierCallbackDoesNotFire) {
  T* a = Make("a");
  T* b = Make("b");
  a->onFire = [b](T*) { b->entry.Cancel(); };
  a->entry.Schedule(5, 0);
  b->entry.Schedule(6, 0);
  driver.Pass(10);
  EXPECT_EQ(g_log, (std::vector<std::string>{"a-"}));
  EXPECT_EQ(kv::TimerRegistry::NextDue(), -1);
}

TEST_F(TimerSignalTest, PostedSignalsDrainOnceAndRepostMovesToTheEnd) {
  T* a = Make("a");
  T* b = Make("b");
  kv::PostSignal(kv::MakeSlot(a, &T::Post));
  kv::PostSignal(kv::MakeSlot(b, &T::Post));
  kv::PostSignal(kv::MakeSlot(a, &T::Post));  // moves to the end, not doubled
  EXPECT_TRUE(kv::SignalsPending());
  driver.Pass();
  EXPECT_EQ(g_log, (std::vector<std::string>{"post:b", "post:a"}));
  EXPECT_FALSE(kv::SignalsPending());
  kv::Signal(kv::Slot(), nullptr);  // empty slot: nothing
  kv::Signal(kv::MakeSlot(b, &T::Post), nullptr);
  EXPECT_EQ(g_log.back(), "post:b");
}

TEST_F(TimerSignalTest, IdleSignalRunsInTheNextPass) {
  T* a = Make("a");
  kv::IdleSignal(kv::MakeSlot(a, &T::Post));
  driver.Pass();
  EXPECT_TRUE(g_log.empty());
  driver.Pass();
  EXPECT_EQ(g_log, (std::vector<std::string>{"post:a"}));
}

TEST_F(TimerSignalTest, CollectionEveryPassKeepsQueuedWork) {
  kv::Runtime::SetCollectEveryPass(true);
  T* a = kv::New<T>("a");  // only the queue holds it
  kv::IdleSignal(kv::MakeSlot(a, &T::Post));
  driver.Pass();
  driver.Pass();
  EXPECT_EQ(g_log, (std::vector<std::string>{"post:a"}));
  driver.Pass();
  EXPECT_EQ(kv::LiveObjects(), 0u);
}

}  // namespace tst
