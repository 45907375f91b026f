#include "runtime/clock.h"

#include <chrono>
#include <set>
#include <thread>

namespace kv {

namespace {
RealClock g_realClock;
std::atomic<Clock*> g_clock{&g_realClock};
}  // namespace

Clock& GetClock() { return *g_clock.load(std::memory_order_acquire); }
void SetClock(Clock* clock) { g_clock.store(clock ? clock : &g_realClock, std::memory_order_release); }

void Clock::SleepFor(int64_t ms) { SleepUntil(Now() + ms); }

void Clock::SleepUntil(int64_t deadline) {
  std::mutex m;
  std::condition_variable cv;
  std::unique_lock<std::mutex> lock(m);
  while (Now() < deadline) WaitUntil(cv, lock, deadline);
}

int64_t RealClock::Now() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void RealClock::WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, int64_t deadline) {
  int64_t left = deadline - Now();
  if (left <= 0) return;
  cv.wait_for(lock, std::chrono::milliseconds(left));
}

namespace {

// The last wait of each thread on a fake clock. The registry is never freed:
// threads may end (and leave it) after every clock is gone.
struct Waiter {
  const FakeClock* clock = nullptr;
  int64_t deadline = 0;
  std::condition_variable* cv = nullptr;  // while the thread waits on it
};
struct Waiters {
  std::mutex mutex;
  std::set<Waiter*> all;
};
Waiters& TheWaiters() {
  static auto* waiters = new Waiters;
  return *waiters;
}
struct ThreadWaiter {
  Waiter waiter;
  ThreadWaiter() {
    std::lock_guard<std::mutex> lock(TheWaiters().mutex);
    TheWaiters().all.insert(&waiter);
  }
  ~ThreadWaiter() {
    std::lock_guard<std::mutex> lock(TheWaiters().mutex);
    TheWaiters().all.erase(&waiter);
  }
};

}  // namespace

FakeClock::~FakeClock() {
  std::lock_guard<std::mutex> lock(TheWaiters().mutex);
  for (Waiter* w : TheWaiters().all)
    if (w->clock == this) w->clock = nullptr;
}

std::vector<int64_t> FakeClock::Deadlines() const {
  std::vector<int64_t> out;
  std::lock_guard<std::mutex> lock(TheWaiters().mutex);
  for (const Waiter* w : TheWaiters().all)
    if (w->clock == this) out.push_back(w->deadline);
  return out;
}

bool FakeClock::AdvanceToAndSettle(int64_t t, int64_t limitMs) {
  AdvanceTo(t);
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  for (;;) {
    bool due = false;
    for (int64_t d : Deadlines()) due = due || d <= t;
    if (!due) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
}

void FakeClock::WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, int64_t deadline) {
  thread_local ThreadWaiter self;
  {
    std::lock_guard<std::mutex> registry(TheWaiters().mutex);
    self.waiter.clock = this;
    self.waiter.deadline = deadline;
    self.waiter.cv = &cv;
  }
  if (Now() < deadline) {
    // Another thread moves the clock and notifies `cv` once the deadline is
    // reached (AdvanceTo). The slice bounds the wait for a move that came
    // after the look above and before the wait began; polling alone, in
    // shorter slices, kept every waiting thread busy.
    cv.wait_for(lock, std::chrono::milliseconds(5));
  }
  std::lock_guard<std::mutex> registry(TheWaiters().mutex);
  self.waiter.cv = nullptr;
}

void FakeClock::AdvanceTo(int64_t t) {
  int64_t cur = now_.load(std::memory_order_acquire);
  while (t > cur && !now_.compare_exchange_weak(cur, t, std::memory_order_acq_rel)) {
  }
  if (t <= cur) return;
  // Wake the threads whose deadline is now due. Their waits end before their
  // condition variables go (the registry's lock guards the pointer), and a
  // notification needs no lock of the waiter's own.
  std::lock_guard<std::mutex> registry(TheWaiters().mutex);
  for (Waiter* w : TheWaiters().all)
    if (w->clock == this && w->cv && w->deadline <= t) w->cv->notify_all();
}

}  // namespace kv
