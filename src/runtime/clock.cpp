#include "runtime/clock.h"

#include <chrono>
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

void FakeClock::WaitUntil(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, int64_t deadline) {
  if (Now() >= deadline) return;
  // Another thread moves the clock; look again after a short real-time slice.
  cv.wait_for(lock, std::chrono::microseconds(200));
}

void FakeClock::AdvanceTo(int64_t t) {
  int64_t cur = now_.load(std::memory_order_acquire);
  while (t > cur && !now_.compare_exchange_weak(cur, t, std::memory_order_acq_rel)) {
  }
}

}  // namespace kv
