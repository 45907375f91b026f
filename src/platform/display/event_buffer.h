// The display layer's event buffer: the one queue the GUI loop waits on.
//
// It carries the window's key events, plain user payloads posted from other
// threads (middleware callbacks, the command task), wake-ups and the window's
// "quit". Posting never blocks and may come from any thread; Wait, SetIdleHook
// and SetPump belong to the GUI task. The buffer's mutex is a leaf: nothing
// is called while it is held.
//
// Waits go through the shared clock (kv::GetClock()). Under a clock that
// advances on idle (the virtual clock of headless runs), a wait that finds
// nothing queued first runs the idle hook (the host lets the simulated TV
// post what is due) and then moves the clock to the deadline instead of
// sleeping; it runs the hook once more at the new time and ends with no
// event, so that what fell due is done before the GUI task goes on.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

namespace dfb {

enum class EventType : uint8_t {
  kKey,     // a key of the remote or the front panel
  kUser,    // a plain payload posted by another thread
  kWakeUp,  // nothing but a nudge
  kQuit,    // the window was closed
};

struct Event {
  EventType type = EventType::kWakeUp;
  int64_t timestamp = 0;  // the shared clock when queued
  // kKey
  int32_t key = 0;  // platform key code, 0 to 278
  bool down = false;
  // kUser
  uint32_t id = 0;
  std::vector<uint8_t> payload;
};

class EventBuffer {
 public:
  static constexpr size_t kMaxPayload = 4096;
  static constexpr size_t kDefaultCapacity = 512;
  static constexpr int32_t kMaxKeyCode = 278;

  explicit EventBuffer(size_t capacity = kDefaultCapacity);
  EventBuffer(const EventBuffer&) = delete;
  EventBuffer& operator=(const EventBuffer&) = delete;

  // Each returns false (and logs) when the event is refused: a bad key code,
  // a payload over kMaxPayload bytes, or a full queue.
  bool PostKey(int32_t keyCode, bool down);
  bool PostUser(uint32_t id, const void* payload, size_t size);
  // Wake-ups and quit are flags, delivered after the queued events; several
  // before a wait count as one. They are never refused.
  void WakeUp();
  void PostQuit();

  // Takes the next event into `out`, waiting up to `timeoutMs` on the shared
  // clock; false when the time ran out. Queued events come out in order.
  bool Wait(int32_t timeoutMs, Event* out);

  // Run by Wait under an idle-advancing clock before it moves the clock.
  void SetIdleHook(std::function<void()> hook);
  // Installed by the window the buffer is attached to: gathers window input
  // for at most the given milliseconds. While set, Wait calls it in slices
  // of at most 10 ms instead of sleeping on the clock.
  void SetPump(std::function<void(int32_t maxMs)> pump);

  size_t Pending() const;

 private:
  bool Push(Event&& event, const char* what);
  bool TakeLocked(Event* out);

  const size_t capacity_;
  mutable std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<Event> queue_;
  bool wakePending_ = false;
  bool quitPending_ = false;
  std::function<void()> idleHook_;
  std::function<void(int32_t)> pump_;
};

}  // namespace dfb
