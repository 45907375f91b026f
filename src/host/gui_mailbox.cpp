#include "host/gui_mailbox.h"

#include <condition_variable>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/display/event_buffer.h"
#include "platform/xpm/xpm_event_ids.h"
#include "runtime/trace.h"

namespace host {

namespace {

struct Mailbox {
  std::mutex mutex;  // held while posting; the buffer's own mutex is a leaf below it
  dfb::EventBuffer* events = nullptr;
  std::thread::id guiThread;
  uint64_t nextToken = 1;
  std::map<uint64_t, std::function<void()>> closures;
};

Mailbox& M() {
  static Mailbox m;
  return m;
}

// Tells a waiting poster when its closure is gone, run or not.
struct Completion {
  std::mutex mutex;
  std::condition_variable cv;
  bool finished = false;
  bool ran = false;
};

struct CompletionGuard {
  std::shared_ptr<Completion> c;
  explicit CompletionGuard(std::shared_ptr<Completion> completion) : c(std::move(completion)) {}
  CompletionGuard(const CompletionGuard&) = delete;
  CompletionGuard& operator=(const CompletionGuard&) = delete;
  ~CompletionGuard() {
    {
      std::lock_guard<std::mutex> lock(c->mutex);
      c->finished = true;
    }
    c->cv.notify_all();
  }
};

}  // namespace

void SetGuiEventBuffer(dfb::EventBuffer* events) {
  std::map<uint64_t, std::function<void()>> dropped;
  {
    std::lock_guard<std::mutex> lock(M().mutex);
    M().events = events;
    M().guiThread = events ? std::this_thread::get_id() : std::thread::id();
    if (!events) dropped.swap(M().closures);
  }
  if (!dropped.empty()) kv::Log("GUI task ended: " + std::to_string(dropped.size()) + " posted closure(s) dropped");
  // `dropped` is destroyed here, outside the lock: waiters wake up.
}

bool PostToGui(uint32_t id, const void* payload, size_t length) {
  std::lock_guard<std::mutex> lock(M().mutex);
  if (!M().events) {
    kv::Log("PostToGui: event " + std::to_string(id) + " dropped, the GUI task is not running");
    return false;
  }
  return M().events->PostUser(id, payload, length);
}

bool PostQuitToGui() {
  std::lock_guard<std::mutex> lock(M().mutex);
  if (!M().events) return false;
  M().events->PostQuit();
  return true;
}

bool RunOnGuiTask(std::function<void()> fn) {
  if (!fn) return false;
  std::function<void()> refused;
  {
    std::lock_guard<std::mutex> lock(M().mutex);
    if (!M().events) {
      kv::Log("RunOnGuiTask: the GUI task is not running, closure dropped");
      refused = std::move(fn);
    } else {
      const uint64_t token = M().nextToken++;
      M().closures.emplace(token, std::move(fn));
      if (!M().events->PostUser(XPM_EVT_HOST_CLOSURE, &token, sizeof token)) {
        refused = std::move(M().closures[token]);
        M().closures.erase(token);
      }
    }
  }
  // A refused closure is destroyed outside the lock.
  return !refused;
}

bool RunOnGuiTaskAndWait(std::function<void()> fn) {
  if (!fn) return false;
  {
    std::unique_lock<std::mutex> lock(M().mutex);
    if (M().events && M().guiThread == std::this_thread::get_id()) {
      lock.unlock();
      fn();
      return true;
    }
  }
  auto completion = std::make_shared<Completion>();
  auto guard = std::make_shared<CompletionGuard>(completion);
  bool posted = RunOnGuiTask([fn = std::move(fn), guard]() {
    fn();
    std::lock_guard<std::mutex> lock(guard->c->mutex);
    guard->c->ran = true;
  });
  guard.reset();  // from now on only the posted closure holds it
  if (!posted) return false;
  std::unique_lock<std::mutex> lock(completion->mutex);
  completion->cv.wait(lock, [&] { return completion->finished; });
  return completion->ran;
}

void RunPostedClosure(const uint8_t* payload, size_t length) {
  uint64_t token = 0;
  if (length != sizeof token) {
    kv::Log("GUI loop: closure event with " + std::to_string(length) + " bytes ignored");
    return;
  }
  std::memcpy(&token, payload, sizeof token);
  std::function<void()> fn;
  {
    std::lock_guard<std::mutex> lock(M().mutex);
    auto it = M().closures.find(token);
    if (it == M().closures.end()) {
      kv::Log("GUI loop: closure " + std::to_string(token) + " is gone");
      return;
    }
    fn = std::move(it->second);
    M().closures.erase(it);
  }
  fn();
}

}  // namespace host
