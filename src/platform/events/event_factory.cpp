#include "platform/events/event_factory.h"

#include <cstdio>
#include <string>
#include <unordered_map>

#include "runtime/trace.h"

namespace evreg {

namespace {

struct Entry {
  size_t minLength = 0;
  EventFactory factory;
};

std::unordered_map<uint32_t, Entry>& Table() {
  static std::unordered_map<uint32_t, Entry> table;
  return table;
}

}  // namespace

void RegisterEventFactory(uint32_t id, size_t minLength, EventFactory factory) {
  if (!factory) {
    Table().erase(id);
    return;
  }
  Table()[id] = Entry{minLength, std::move(factory)};
}

bool HasEventFactory(uint32_t id) { return Table().count(id) != 0; }

kv::Object* NewEventFromPayload(uint32_t id, const uint8_t* payload, size_t length) {
  auto it = Table().find(id);
  if (it == Table().end()) {
    kv::Log("GUI loop: event id 0x" + [&] {
      char b[16];
      std::snprintf(b, sizeof b, "%x", id);
      return std::string(b);
    }() + " has no event class, dropped");
    return nullptr;
  }
  if (length < it->second.minLength) {
    kv::Log("GUI loop: event id " + std::to_string(id) + " with " + std::to_string(length) + " bytes, needs " +
            std::to_string(it->second.minLength) + ", dropped");
    return nullptr;
  }
  static const uint8_t kEmpty[1] = {0};
  return it->second.factory(payload ? payload : kEmpty, length);
}

}  // namespace evreg
