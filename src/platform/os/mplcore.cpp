#include "platform/os/mplcore.h"

#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/sim/sim.h"
#include "runtime/clock.h"
#include "runtime/trace.h"

struct MPLCore_TaskObj {
  std::string name;
  std::thread thread;
};

struct MPLCore_QueueObj {
  uint32_t capacity = 0;
  uint32_t messageSize = 0;
  std::mutex mutex;
  std::condition_variable cv;
  std::deque<std::vector<uint8_t>> messages;
};

struct OS_SemObj {
  std::mutex mutex;
  std::condition_variable cv;
  int32_t count = 0;
};

namespace {

// Waits on `cv` until `ready()` or the time-out; true when ready.
template <class Pred>
bool WaitClock(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, int32_t timeoutMs, Pred ready) {
  if (timeoutMs == BKNI_INFINITE) {
    cv.wait(lock, ready);
    return true;
  }
  kv::Clock& clock = kv::GetClock();
  const int64_t deadline = clock.Now() + (timeoutMs > 0 ? timeoutMs : 0);
  while (!ready() && clock.Now() < deadline) clock.WaitUntil(cv, lock, deadline);
  return ready();
}

}  // namespace

MPLCore_TaskHandle MPLCore_CreateTask(const char* name, MPLCore_TaskFunc fn, void* arg) {
  if (!fn) {
    kv::Log(std::string("MPLCore_CreateTask: task ") + (name ? name : "?") + " without a function");
    return nullptr;
  }
  auto* task = new MPLCore_TaskObj;
  task->name = name ? name : "task";
  task->thread = std::thread([fn, arg] { fn(arg); });
  return task;
}

void MPLCore_JoinTask(MPLCore_TaskHandle task) {
  if (!task) return;
  if (task->thread.joinable()) {
    if (task->thread.get_id() == std::this_thread::get_id()) {
      kv::Log("MPLCore_JoinTask: task " + task->name + " cannot join itself");
      task->thread.detach();
    } else {
      task->thread.join();
    }
  }
  delete task;
}

MPLCore_QueueHandle MPLCore_CreateQueue(uint32_t capacity, uint32_t messageSize) {
  if (capacity == 0 || messageSize == 0) {
    kv::Log("MPLCore_CreateQueue: capacity and message size must not be 0");
    return nullptr;
  }
  auto* q = new MPLCore_QueueObj;
  q->capacity = capacity;
  q->messageSize = messageSize;
  return q;
}

void MPLCore_DestroyQueue(MPLCore_QueueHandle queue) { delete queue; }

int32_t MPLCore_SendQueue(MPLCore_QueueHandle queue, const void* message, uint32_t size) {
  if (!queue || !message || size != queue->messageSize) {
    kv::Log("MPLCore_SendQueue: bad queue, message or size " + std::to_string(size));
    return BKNI_OS_ERROR;
  }
  {
    std::lock_guard<std::mutex> lock(queue->mutex);
    if (queue->messages.size() >= queue->capacity) {
      kv::Log("MPLCore_SendQueue: queue full (" + std::to_string(queue->capacity) + " messages), message dropped");
      return BKNI_OS_ERROR;
    }
    const auto* bytes = static_cast<const uint8_t*>(message);
    queue->messages.emplace_back(bytes, bytes + size);
  }
  queue->cv.notify_one();
  return BKNI_SUCCESS;
}

int32_t MPLCore_ReceiveQueue(MPLCore_QueueHandle queue, void* message, uint32_t size, int32_t timeoutMs) {
  if (!queue || !message || size != queue->messageSize) {
    kv::Log("MPLCore_ReceiveQueue: bad queue, buffer or size " + std::to_string(size));
    return BKNI_OS_ERROR;
  }
  std::unique_lock<std::mutex> lock(queue->mutex);
  if (!WaitClock(queue->cv, lock, timeoutMs, [queue] { return !queue->messages.empty(); })) return BKNI_TIMEOUT;
  std::memcpy(message, queue->messages.front().data(), size);
  queue->messages.pop_front();
  return BKNI_SUCCESS;
}

int32_t MPLCore_MountPartition(const char* partition, const char* mountPoint) {
  return sim::MountPartition(partition, mountPoint);
}

OS_SemHandle OS_SemCreate(int32_t initial) {
  auto* sem = new OS_SemObj;
  sem->count = initial > 0 ? initial : 0;
  return sem;
}

void OS_SemDestroy(OS_SemHandle sem) { delete sem; }

int32_t OS_SemTakeTrack(OS_SemHandle sem, int32_t timeoutMs, const char* who) {
  if (!sem) {
    kv::Log(std::string("OS_SemTakeTrack: null semaphore (") + (who ? who : "?") + ")");
    return BKNI_OS_ERROR;
  }
  std::unique_lock<std::mutex> lock(sem->mutex);
  if (!WaitClock(sem->cv, lock, timeoutMs, [sem] { return sem->count > 0; })) return BKNI_TIMEOUT;
  --sem->count;
  return BKNI_SUCCESS;
}

int32_t OS_SemGive(OS_SemHandle sem) {
  if (!sem) {
    kv::Log("OS_SemGive: null semaphore");
    return BKNI_OS_ERROR;
  }
  {
    std::lock_guard<std::mutex> lock(sem->mutex);
    ++sem->count;
  }
  sem->cv.notify_one();
  return BKNI_SUCCESS;
}
