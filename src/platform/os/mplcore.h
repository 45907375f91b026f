// Tasks, message queues, counting semaphores and partitions of the platform.
//
// Status convention: 0 is success (the BKNI_* codes of bkni.h). Time-outs
// are milliseconds on the shared clock; BKNI_INFINITE waits for good.
// Sending to a queue never blocks: a full queue refuses the message.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/os/bkni.h"

struct MPLCore_TaskObj;
struct MPLCore_QueueObj;
struct OS_SemObj;
typedef MPLCore_TaskObj* MPLCore_TaskHandle;
typedef MPLCore_QueueObj* MPLCore_QueueHandle;
typedef OS_SemObj* OS_SemHandle;

typedef void (*MPLCore_TaskFunc)(void* arg);

// Starts `fn(arg)` on a thread of its own; null (logged) when it cannot start.
MPLCore_TaskHandle MPLCore_CreateTask(const char* name, MPLCore_TaskFunc fn, void* arg);
// Waits for the task's end and frees the handle.
void MPLCore_JoinTask(MPLCore_TaskHandle task);

// A queue of at most `capacity` messages of `messageSize` bytes each.
MPLCore_QueueHandle MPLCore_CreateQueue(uint32_t capacity, uint32_t messageSize);
void MPLCore_DestroyQueue(MPLCore_QueueHandle queue);
// Copies one message in; BKNI_OS_ERROR (logged) when the queue is full or the size is wrong.
int32_t MPLCore_SendQueue(MPLCore_QueueHandle queue, const void* message, uint32_t size);
// Takes the oldest message out; BKNI_TIMEOUT when none came in time.
int32_t MPLCore_ReceiveQueue(MPLCore_QueueHandle queue, void* message, uint32_t size, int32_t timeoutMs);

// Mounts a partition of the set's flash on a target path (see sim::Sim::TargetPath).
int32_t MPLCore_MountPartition(const char* partition, const char* mountPoint);

// Counting semaphores. OS_SemTakeTrack names the taker for the debug log.
OS_SemHandle OS_SemCreate(int32_t initial);
void OS_SemDestroy(OS_SemHandle sem);
int32_t OS_SemTakeTrack(OS_SemHandle sem, int32_t timeoutMs, const char* who);
int32_t OS_SemGive(OS_SemHandle sem);
