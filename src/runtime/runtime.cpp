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
void RunPostedSignals();
void RunIdleSignals();
void RunLateSignals();
void EndSignalPass();
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
}  // namespace

void detail::RequestReInit() { S().reinitPending = true; }

void Runtime::EndOfPass() {
  AssertGuiThread();
  State& s = S();
  {
    detail::BusyScope busy;
    TimerRegistry::RunExpired(GetClock().Now());
    detail::RunPostedSignals();
    detail::RunIdleSignals();
    detail::RunLateSignals();
  }
  if (s.reinitPending) {
    s.reinitPending = false;
    // Only live objects are re-initialised: a closed page waiting for the
    // collector must not restart its timers and come back.
    Collect();
    detail::BusyScope busy;
    ForEachObject([](Object* o, void*) { o->ReInit(); }, nullptr);
    if (s.language) s.language();
    detail::RunPostedSignals();
  }
  if (s.redraw) {
    detail::BusyScope busy;
    s.redraw();
  }
  detail::EndSignalPass();
  if (s.collectEveryPass || CollectionDue()) {
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
void Runtime::ReleaseGuiThread() { S().guiSet.store(false); }
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

void Runtime::Shutdown() {
  State& s = S();
  for (auto fn : s.resetHooks) fn();
  s.redraw = nullptr;
  s.language = nullptr;
  s.reinitPending = false;
  // Cancels the timers, drops every root, handle, queued signal and
  // observer, and collects: with nothing alive every object is destroyed.
  detail::ResetCollectorForTests();
  ResetStringCacheForTests();
}

void Runtime::ResetForTests() {
  State& s = S();
  // The test's thread takes over whatever the GUI task left.
  s.guiSet.store(false);
  SetLanguage(0);
  Shutdown();
  s.collectEveryPass = std::getenv("KV_COLLECT_EVERY_PASS") != nullptr;
  SetPanicHandler(nullptr);
}

}  // namespace kv
