// The events built from raw payloads of the event buffer: for each id of
// xpm_event_ids.h that this unit serves, the smallest payload it reads and
// the function that builds the event object from it.
//
// The host registers them in its table at start with RegisterAll() (beside
// the events it builds itself); a payload shorter than the minimum never
// reaches a builder. Builders answer null, with a log line, for a payload
// whose contents they refuse.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/events/event_factory.h"

namespace kv {
class Object;
}

namespace Events {

using PayloadFactory = kv::Object* (*)(const uint8_t* payload, size_t length);

struct PayloadEvent {
  uint32_t id;
  size_t minLength;
  PayloadFactory make;
};

// Every payload event of this unit, one entry per id.
const std::vector<PayloadEvent>& PayloadEvents();

// Registers PayloadEvents() with the host's event table.
inline void RegisterAll() {
  for (const PayloadEvent& e : PayloadEvents()) evreg::RegisterEventFactory(e.id, e.minLength, e.make);
}

}  // namespace Events
