#include "platform/display/event_buffer.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/sim/sim_panel.h"
#include "runtime/clock.h"
#include "runtime/trace.h"

namespace dfb {

namespace {
constexpr int64_t kPumpSliceMs = 10;
}

EventBuffer::EventBuffer(size_t capacity) : capacity_(std::max<size_t>(capacity, 1)) {}

bool EventBuffer::PostKey(int32_t keyCode, bool down) {
  if (keyCode < 0 || keyCode > kMaxKeyCode) {
    kv::Log("EventBuffer: key code " + std::to_string(keyCode) + " out of range, dropped");
    return false;
  }
  Event e;
  e.type = EventType::kKey;
  // A key of the set's own panel passes its key driver, which turns it into
  // the locked-panel code while the panel is locked.
  e.key = sim::PanelKeyCode(keyCode);
  e.down = down;
  return Push(std::move(e), "key event");
}

bool EventBuffer::PostUser(uint32_t id, const void* payload, size_t size) {
  if (size > kMaxPayload) {
    kv::Log("EventBuffer: user event " + std::to_string(id) + " with " + std::to_string(size) +
            " bytes refused (at most " + std::to_string(kMaxPayload) + ")");
    return false;
  }
  if (size > 0 && !payload) {
    kv::Log("EventBuffer: user event " + std::to_string(id) + " without its payload refused");
    return false;
  }
  Event e;
  e.type = EventType::kUser;
  e.id = id;
  if (size > 0) {
    const auto* bytes = static_cast<const uint8_t*>(payload);
    e.payload.assign(bytes, bytes + size);
  }
  return Push(std::move(e), "user event");
}

bool EventBuffer::Push(Event&& event, const char* what) {
  event.timestamp = kv::GetClock().Now();
  bool full = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (queue_.size() >= capacity_) {
      full = true;
    } else {
      queue_.push_back(std::move(event));
    }
  }
  if (full) {
    kv::Log(std::string("EventBuffer: queue full, ") + what + " dropped");
    return false;
  }
  cv_.notify_one();
  return true;
}

void EventBuffer::WakeUp() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    wakePending_ = true;
  }
  cv_.notify_one();
}

void EventBuffer::PostQuit() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    quitPending_ = true;
  }
  cv_.notify_one();
}

bool EventBuffer::TakeLocked(Event* out) {
  if (!queue_.empty()) {
    *out = std::move(queue_.front());
    queue_.pop_front();
    return true;
  }
  EventType type;
  if (quitPending_) {
    quitPending_ = false;
    type = EventType::kQuit;
  } else if (wakePending_) {
    wakePending_ = false;
    type = EventType::kWakeUp;
  } else {
    return false;
  }
  *out = Event{};
  out->type = type;
  out->timestamp = kv::GetClock().Now();
  return true;
}

bool EventBuffer::Wait(int32_t timeoutMs, Event* out) {
  if (!out) {
    kv::Log("EventBuffer: Wait without a place for the event");
    return false;
  }
  kv::Clock& clock = kv::GetClock();
  const int64_t deadline = clock.Now() + std::max(timeoutMs, 0);
  for (;;) {
    int64_t now;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (TakeLocked(out)) return true;
      now = clock.Now();
      if (now >= deadline) return false;
      if (!pump_ && !clock.AdvancesOnIdle()) {
        clock.WaitUntil(cv_, lock, deadline);
        continue;
      }
    }
    // Outside the lock: the pump and the idle hook post into this buffer.
    if (clock.AdvancesOnIdle()) {
      if (pump_) pump_(0);
      if (idleHook_) idleHook_();
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!queue_.empty() || quitPending_ || wakePending_) continue;
      }
      clock.AdvanceTo(deadline);
      // What falls due at the new time is done before the GUI task goes on
      // (its own timers first, then what the set posted), so that the order
      // never depends on which thread happens to run first.
      if (idleHook_) idleHook_();
      return false;
    } else {
      pump_(static_cast<int32_t>(std::min(deadline - now, kPumpSliceMs)));
    }
  }
}

void EventBuffer::SetIdleHook(std::function<void()> hook) { idleHook_ = std::move(hook); }

void EventBuffer::SetPump(std::function<void(int32_t)> pump) { pump_ = std::move(pump); }

size_t EventBuffer::Pending() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return queue_.size() + (quitPending_ ? 1 : 0) + (wakePending_ ? 1 : 0);
}

}  // namespace dfb
