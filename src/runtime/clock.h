// The one clock of the system. Every wait (the event buffer's, the stand-ins'
// delays, BKNI_Sleep) goes through it, so that tests can run on a fake clock
// and headless runs on a virtual one.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

namespace kv {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start.
  virtual int64_t Now() = 0;
  // Waits on `cv` (whose mutex `lock` holds) until it is notified or the
  // clock reaches `deadline`. May return early; callers re-check and loop.
  virtual void WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, int64_t deadline) = 0;
  // True for clocks that only move when told to (fake and virtual).
  virtual bool IsSimulated() const { return false; }
  // Virtual clocks jump to the deadline when the GUI task waits with nothing to do.
  virtual bool AdvancesOnIdle() const { return false; }
  // Moves a simulated clock forward to `t` (no effect on the real clock).
  virtual void AdvanceTo(int64_t /*t*/) {}

  void SleepFor(int64_t ms);
  void SleepUntil(int64_t deadline);
};

class RealClock final : public Clock {
 public:
  int64_t Now() override;
  void WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, int64_t deadline) override;
};

// Moves only when advanced. A move wakes the threads whose deadline it
// reached; each waiter also looks again after a real-time slice, in case the
// move came between its look at the clock and its wait.
//
// Each thread's last deadline on the clock is kept until the thread waits
// again or ends, so a test can move the clock and then wait until the timed
// work that fell due is done: a thread whose deadline passed is at work
// until it waits again with a later one.
class FakeClock : public Clock {
 public:
  explicit FakeClock(int64_t start = 0) : now_(start) {}
  ~FakeClock() override;
  int64_t Now() override { return now_.load(std::memory_order_acquire); }
  void WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, int64_t deadline) override;
  bool IsSimulated() const override { return true; }
  void AdvanceTo(int64_t t) override;
  void Advance(int64_t ms) { AdvanceTo(Now() + ms); }

  // The last deadline of each thread that waits or waited on this clock.
  std::vector<int64_t> Deadlines() const;
  // Moves the clock to `t`, then waits (in real time, at most `limitMs`)
  // until every thread whose deadline on this clock is `t` or earlier has
  // waited again with a later one or ended. False when the limit passed.
  bool AdvanceToAndSettle(int64_t t, int64_t limitMs = 20000);

 private:
  std::atomic<int64_t> now_;
};

// A fake clock that jumps ahead whenever the GUI task would wait idle:
// headless key scripts run repeatably and as fast as the machine allows.
class VirtualClock final : public FakeClock {
 public:
  using FakeClock::FakeClock;
  bool AdvancesOnIdle() const override { return true; }
};

Clock& GetClock();
// Installs a clock (not owned); null restores the real clock.
void SetClock(Clock* clock);
inline int64_t Now() { return GetClock().Now(); }

}  // namespace kv
