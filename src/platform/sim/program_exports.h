// The program's exported functions and data, as a table the stand-ins call
// through. The host fills it in at start (host/exports.cpp); the stand-ins
// never include program headers. Every entry may be null while the program
// has not set it; callers check.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace kv {
class Object;
}

struct ProgramExports {
  // The root object while the GUI task runs, else null (GUI task only).
  kv::Object* rootObject = nullptr;
  // Posts a closure to the GUI task; false (logged) when it cannot be posted.
  bool (*runOnGuiTask)(std::function<void()> fn) = nullptr;
  // Dispatches an event object to the root; the answer of the dispatch (GUI task only).
  kv::Object* (*dispatchToRoot)(kv::Object* event) = nullptr;
  // Offers an event to every child of the root (mode 0: up to the first consumer; 1: all).
  kv::Object* (*broadcastToRoot)(kv::Object* event, int32_t mode) = nullptr;
  // The event object of a middleware event id and payload (the program's
  // event constructors), or null when the id is unknown or the payload is
  // too short (GUI task only).
  kv::Object* (*newEvent)(uint32_t id, const void* payload, size_t length) = nullptr;
};

// The one table of the process.
ProgramExports& GetProgramExports();
