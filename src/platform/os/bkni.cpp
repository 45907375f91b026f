#include "platform/os/bkni.h"

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <unordered_map>

#include "runtime/clock.h"
#include "runtime/trace.h"

struct BKNI_EventObj {
  std::mutex mutex;
  std::condition_variable cv;
  bool set = false;
};

struct BKNI_MutexObj {
  std::mutex mutex;
};

namespace {

struct AllocTable {
  std::mutex mutex;
  std::unordered_map<void*, size_t> live;
  size_t badFrees = 0;
};

AllocTable& Allocs() {
  static AllocTable* table = new AllocTable;  // outlives every static destructor
  return *table;
}

std::string PtrText(const void* p) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%p", p);
  return buf;
}

}  // namespace

void BKNI_Sleep(uint32_t ms) { kv::GetClock().SleepFor(ms); }

int32_t BKNI_CreateEvent(BKNI_EventHandle* event) {
  if (!event) {
    kv::Log("BKNI_CreateEvent: no place for the handle");
    return BKNI_OS_ERROR;
  }
  *event = new BKNI_EventObj;
  return BKNI_SUCCESS;
}

void BKNI_DestroyEvent(BKNI_EventHandle event) { delete event; }

void BKNI_SetEvent(BKNI_EventHandle event) {
  if (!event) {
    kv::Log("BKNI_SetEvent: null event");
    return;
  }
  {
    std::lock_guard<std::mutex> lock(event->mutex);
    event->set = true;
  }
  event->cv.notify_all();
}

void BKNI_ResetEvent(BKNI_EventHandle event) {
  if (!event) return;
  std::lock_guard<std::mutex> lock(event->mutex);
  event->set = false;
}

int32_t BKNI_WaitForEvent(BKNI_EventHandle event, int32_t timeoutMs) {
  if (!event) {
    kv::Log("BKNI_WaitForEvent: null event");
    return BKNI_OS_ERROR;
  }
  std::unique_lock<std::mutex> lock(event->mutex);
  if (timeoutMs == BKNI_INFINITE) {
    event->cv.wait(lock, [event] { return event->set; });
  } else {
    kv::Clock& clock = kv::GetClock();
    const int64_t deadline = clock.Now() + (timeoutMs > 0 ? timeoutMs : 0);
    while (!event->set && clock.Now() < deadline) clock.WaitUntil(event->cv, lock, deadline);
    if (!event->set) return BKNI_TIMEOUT;
  }
  event->set = false;
  return BKNI_SUCCESS;
}

int32_t BKNI_CreateMutex(BKNI_MutexHandle* mutex) {
  if (!mutex) {
    kv::Log("BKNI_CreateMutex: no place for the handle");
    return BKNI_OS_ERROR;
  }
  *mutex = new BKNI_MutexObj;
  return BKNI_SUCCESS;
}

void BKNI_DestroyMutex(BKNI_MutexHandle mutex) { delete mutex; }

int32_t BKNI_AcquireMutex(BKNI_MutexHandle mutex) {
  if (!mutex) {
    kv::Log("BKNI_AcquireMutex: null mutex");
    return BKNI_OS_ERROR;
  }
  mutex->mutex.lock();
  return BKNI_SUCCESS;
}

void BKNI_ReleaseMutex(BKNI_MutexHandle mutex) {
  if (!mutex) {
    kv::Log("BKNI_ReleaseMutex: null mutex");
    return;
  }
  mutex->mutex.unlock();
}

void* BKNI_Malloc(size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) {
    kv::Log("BKNI_Malloc: out of memory for " + std::to_string(size) + " bytes");
    return nullptr;
  }
  AllocTable& t = Allocs();
  std::lock_guard<std::mutex> lock(t.mutex);
  t.live[p] = size;
  return p;
}

void BKNI_Free(void* block) {
  if (!block) return;
  AllocTable& t = Allocs();
  bool live = false;
  {
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = t.live.find(block);
    if (it != t.live.end()) {
      t.live.erase(it);
      live = true;
    } else {
      ++t.badFrees;
    }
  }
  if (!live) {
    kv::Log("BKNI_Free: " + PtrText(block) + " is not a live block (double free?), ignored");
    return;
  }
  std::free(block);
}

size_t BKNI_LiveAllocations() {
  AllocTable& t = Allocs();
  std::lock_guard<std::mutex> lock(t.mutex);
  return t.live.size();
}

size_t BKNI_BadFrees() {
  AllocTable& t = Allocs();
  std::lock_guard<std::mutex> lock(t.mutex);
  return t.badFrees;
}
