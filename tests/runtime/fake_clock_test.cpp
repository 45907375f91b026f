// The fake clock's settled step: after AdvanceToAndSettle the work of every
// thread whose deadline fell due is done, however slowly that thread runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "runtime/clock.h"

namespace {

TEST(FakeClockTest, ASettledStepWaitsForTheWorkThatFellDue) {
  kv::FakeClock clock(1000);
  std::atomic<int> ticks{0};
  std::atomic<bool> stop{false};
  // A slow periodic task: every 100 ms of the clock it works for 20 ms of
  // real time before it counts and waits again.
  std::thread task([&] {
    std::mutex m;
    std::condition_variable cv;
    std::unique_lock<std::mutex> lock(m);
    while (!stop) {
      const int64_t deadline = clock.Now() + 100;
      while (!stop && clock.Now() < deadline) clock.WaitUntil(cv, lock, deadline);
      if (stop) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      ++ticks;
    }
  });
  // The task is seen waiting until 1100 before the clock moves.
  for (int i = 0; i < 20000; ++i) {
    const std::vector<int64_t> d = clock.Deadlines();
    if (std::find(d.begin(), d.end(), 1100) != d.end()) break;
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
  ASSERT_TRUE(clock.AdvanceToAndSettle(1099));
  EXPECT_EQ(ticks, 0);
  for (int64_t t = 1100; t <= 1500; t += 100) {
    ASSERT_TRUE(clock.AdvanceToAndSettle(t));
    EXPECT_EQ(ticks, (t - 1000) / 100) << t;
  }
  stop = true;
  clock.AdvanceTo(2000);
  task.join();
  // The ended thread leaves no deadline behind.
  EXPECT_TRUE(clock.Deadlines().empty());
}

}  // namespace
