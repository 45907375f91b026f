// Events::MediaRemovedEvent: a storage medium was removed.
#pragma once

#include <cstdint>

#include "runtime/string.h"
#include "units/Core/Event.h"

namespace Events {

class MediaRemovedEvent : public Core::Event {
  KV_CLASS(Events, MediaRemovedEvent, Core::Event)
 public:
  MediaRemovedEvent() = default;

  uint8_t Handled = 0;
  kv::String Path;  // where the medium was mounted
};

}  // namespace Events
