// The table from event id to the factory that builds the event object of a
// posted payload (the program's event constructors). One factory per id;
// a payload shorter than the factory's minimum length never reaches it.
//
// GUI task only. The units register their payload events here, the host its
// own; the GUI loop builds every posted payload's event through it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace kv {
class Object;
}

namespace evreg {

// Builds the event of `length` bytes at `payload` (at least the registered
// minimum); may answer null for "no event" (it logs why when that is an error).
using EventFactory = std::function<kv::Object*(const uint8_t* payload, size_t length)>;

// Registers (or replaces) the factory of an id.
void RegisterEventFactory(uint32_t id, size_t minLength, EventFactory factory);
bool HasEventFactory(uint32_t id);

// The event object of a payload; null, with a log line, for an unknown id
// or a payload shorter than the id's minimum; null when the factory made none.
kv::Object* NewEventFromPayload(uint32_t id, const uint8_t* payload, size_t length);

}  // namespace evreg
