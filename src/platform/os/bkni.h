// The OS abstraction of the platform: sleeping, events, mutexes and memory.
//
// Status convention: BKNI_SUCCESS (0) is success, anything else a failure.
// Every wait goes through the shared clock (kv::GetClock()), so that a fake
// or virtual clock drives sleeps and time-outs too.
//
// BKNI_Malloc and BKNI_Free keep a table of live blocks: freeing a pointer
// that is not live (a double free, or memory from elsewhere) is logged and
// counted instead of corrupting the heap; tests read the counters to catch
// leaks and double frees.
#pragma once

#include <cstddef>
#include <cstdint>

enum : int32_t {
  BKNI_SUCCESS = 0,
  BKNI_TIMEOUT = 1,        // the wait ran out
  BKNI_OS_ERROR = 2,       // bad handle or argument (logged)
  BKNI_OUT_OF_MEMORY = 3,
};

// A time-out that never runs out.
constexpr int32_t BKNI_INFINITE = -1;

struct BKNI_EventObj;
struct BKNI_MutexObj;
typedef BKNI_EventObj* BKNI_EventHandle;
typedef BKNI_MutexObj* BKNI_MutexHandle;

// Sleeps `ms` on the shared clock.
void BKNI_Sleep(uint32_t ms);

// Events: set stays set until a wait takes it (auto-reset) or BKNI_ResetEvent.
int32_t BKNI_CreateEvent(BKNI_EventHandle* event);
void BKNI_DestroyEvent(BKNI_EventHandle event);
void BKNI_SetEvent(BKNI_EventHandle event);
void BKNI_ResetEvent(BKNI_EventHandle event);
// BKNI_SUCCESS when the event was set (and clears it), BKNI_TIMEOUT after
// `timeoutMs` on the shared clock; BKNI_INFINITE waits for good.
int32_t BKNI_WaitForEvent(BKNI_EventHandle event, int32_t timeoutMs);

// Mutexes (not recursive).
int32_t BKNI_CreateMutex(BKNI_MutexHandle* mutex);
void BKNI_DestroyMutex(BKNI_MutexHandle mutex);
int32_t BKNI_AcquireMutex(BKNI_MutexHandle mutex);
void BKNI_ReleaseMutex(BKNI_MutexHandle mutex);

// Memory. BKNI_Malloc(0) gives a valid, unique block.
void* BKNI_Malloc(size_t size);
void BKNI_Free(void* block);

// Allocation counters.
size_t BKNI_LiveAllocations();  // blocks allocated and not freed
size_t BKNI_BadFrees();         // frees of pointers that were not live
