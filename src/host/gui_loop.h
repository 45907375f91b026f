// The GUI loop: one pass at a time, each step under the GUI lock
// (g_qvak_mutex, when the platform has filled it in), never held while
// waiting:
//   1. OSD-state sync: tell the middleware whether a screen is shown (on a
//      change only), switch caption rendering off while one is, and publish
//      both states for the monitor task;
//   2. wait for one event (10 ms while an animation runs or posted signals
//      wait, else 500 ms while a timer is scheduled, else 1000 ms; clamped to
//      the next timer's due time) and dispatch it;
//   3. the end of the pass (kv::Runtime::EndOfPass).
// Key events: key-up events and keys older than 100 ms are dropped, the
// platform code becomes a GUI code (unknown codes are logged and dropped),
// and an Events::XPM_EVENT_KEY goes to the root; a panel key also posts a
// factory message event with the key's name. User events become event
// objects through the event factory table; closures posted with
// host::RunOnGuiTask run here.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "platform/display/event_buffer.h"

namespace Core {
class Root;
}

namespace host {

constexpr int32_t kFastWaitMs = 10;
constexpr int32_t kTimerWaitMs = 500;
constexpr int32_t kIdleWaitMs = 1000;
constexpr int64_t kMaxKeyAgeMs = 100;
// The message parameter of a panel key's factory message: touch-key type, 1 s time-out.
constexpr int32_t kPanelKeyMessageParam = 0x10010;

// What one pass took out of the event buffer.
struct PassResult {
  bool gotEvent = false;
  dfb::EventType type = dfb::EventType::kWakeUp;
  bool keyDispatched = false;  // a key event reached the root
};

class GuiLoop {
 public:
  // The buffer and the root must outlive the loop; the root stays locked by its owner.
  GuiLoop(dfb::EventBuffer* events, Core::Root* root);
  GuiLoop(const GuiLoop&) = delete;
  GuiLoop& operator=(const GuiLoop&) = delete;

  // One pass. GUI task.
  PassResult RunPass();
  // Passes until Stop.
  void Run();
  // Ends Run after the current pass. Any thread.
  void Stop();
  bool Stopped() const { return stop_.load(); }

  // Called when the window is closed (default: Stop).
  void SetQuitHandler(std::function<void()> fn) { onQuit_ = std::move(fn); }
  // Called after every pass, outside the GUI lock, with what it handled.
  void SetPassHook(std::function<void(const PassResult&)> fn) { afterPass_ = std::move(fn); }
  // A further time (shared clock) the wait must not pass; -1 for none. Asked before each wait.
  void SetDeadlineSource(std::function<int64_t()> fn) { deadline_ = std::move(fn); }

  // Captions allowed by the system manager (the caption-state command). GUI task.
  void SetCaptionsAllowed(bool on);
  // Applies the caption rule now: on only while allowed, processing is on and no screen is up. GUI task.
  void SyncCaptions();

  // The wait the next pass would use, before the clamp to other deadlines. GUI task.
  int32_t WaitTimeout();

 private:
  void SyncOsd();
  void Dispatch(dfb::Event& ev, PassResult& result);
  void DispatchKey(const dfb::Event& ev, PassResult& result);
  void DispatchUser(const dfb::Event& ev);

  dfb::EventBuffer* events_;
  Core::Root* root_;
  std::atomic<bool> stop_{false};
  std::function<void()> onQuit_;
  std::function<void(const PassResult&)> afterPass_;
  std::function<int64_t()> deadline_;
  int32_t osdSent_ = -1;      // last OSD state told to the middleware
  int32_t captionSent_ = -1;  // last caption rendering state set
  bool captionsAllowed_ = true;
  bool screenShown_ = false;
};

// The states the OSD-sync step publishes for app_monitor_task. Any thread.
bool PublishedOsdShown();
bool PublishedCaptionOn();

}  // namespace host
