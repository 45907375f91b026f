// Events::XPM_EVENT_UBN_MEDIA_INSERTED: a medium holding a software update was inserted.
#pragma once

#include <cstdint>

#include "runtime/string.h"
#include "units/Core/Event.h"

namespace Events {

class XPM_EVENT_UBN_MEDIA_INSERTED : public Core::Event {
  KV_CLASS(Events, XPM_EVENT_UBN_MEDIA_INSERTED, Core::Event)
 public:
  XPM_EVENT_UBN_MEDIA_INSERTED() = default;

  uint8_t Handled = 0;
  kv::String Path;  // the update file
};

}  // namespace Events
