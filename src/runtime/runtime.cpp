#include "runtime/runtime.h"

#include <atomic>
#include <cstdlib>
#include <thread>
#include <vector>

#include "runtime/clock.h"
#include "runtime/collector.h"
#include "runtime/object.h"
#include "runtime/panic.h"
#include "runtime/text.h"
#include "runtime/timer.h"

namespace kv {

namespace detail {
void RunSignals();
void ResetCollectorForTests();
void ClearObserversForTests();
}  // namespace detail

namespace {
struct State {
  std::function<void()> redraw;
  std::function<void()> language;
  bool collectEveryPass = std::getenv("KV_COLLECT_EVERY_PASS") != nullptr;
  bool reinitPending = false;
  uint64_t passes = 0;
  // Read by every thread that checks it is the GUI task.
  std::atomic<std::thread::id> gui{};
  std::atomic<bool> guiSet{false};
  std::vector<void (*)()> resetHooks;
};
State& S() {
  static State s;
  return s;
}
// Collect when this many objects were made since the last collection, or
// when the live set grew by half.
constexpr size_t kCollectThreshold = 2000;
}  // namespace

void detail::RequestReInit() { S().reinitPending = true; }

void Runtime::EndOfPass() {
  AssertGuiThread();
  State& s = S();
  TimerRegistry::RunExpired(GetClock().Now());
  detail::RunSignals();
  if (s.reinitPending) {
    s.reinitPending = false;
    ForEachObject([](Object* o, void*) { o->ReInit(); }, nullptr);
    if (s.language) s.language();
    detail::RunSignals();
  }
  if (s.redraw) s.redraw();
  size_t since = AllocatedSinceCollect();
  if (s.collectEveryPass || since >= kCollectThreshold || (since > 64 && since * 2 >= LiveObjects())) {
    Collect();
    TrimStringCache();
  }
  ++s.passes;
}

void Runtime::SetRedrawHook(std::function<void()> hook) { S().redraw = std::move(hook); }
void Runtime::SetLanguageHook(std::function<void()> hook) { S().language = std::move(hook); }
void Runtime::SetCollectEveryPass(bool on) { S().collectEveryPass = on; }
bool Runtime::CollectEveryPass() { return S().collectEveryPass; }
uint64_t Runtime::PassCount() { return S().passes; }

void Runtime::SetGuiThread() {
  S().gui.store(std::this_thread::get_id());
  S().guiSet.store(true);
}
bool Runtime::OnGuiThread() { return !S().guiSet.load() || S().gui.load() == std::this_thread::get_id(); }

void AssertGuiThread() {
#ifndef NDEBUG
  if (!Runtime::OnGuiThread()) Panic("A GUI object was used outside the GUI task");
#endif
}

void Runtime::AddResetHook(void (*fn)()) {
  for (auto f : S().resetHooks)
    if (f == fn) return;
  S().resetHooks.push_back(fn);
}

void Runtime::ResetForTests() {
  State& s = S();
  for (auto fn : s.resetHooks) fn();
  SetLanguage(0);
  s.collectEveryPass = std::getenv("KV_COLLECT_EVERY_PASS") != nullptr;
  s.redraw = nullptr;
  s.language = nullptr;
  s.reinitPending = false;
  s.guiSet.store(false);
  detail::ResetCollectorForTests();
  ResetStringCacheForTests();
  SetPanicHandler(nullptr);
}

}  // namespace kv
