// Structures::EventInfo: one programme of the guide.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/object.h"
#include "runtime/string.h"
#include "units/Structures/LocalTime.h"

namespace Structures {

class EventInfo : public kv::Object {
  KV_CLASS(Structures, EventInfo, kv::Object)
 public:
  EventInfo() = default;

  kv::Member<LocalTime> StartTime;
  kv::String Title;
  kv::String Description;
  int32_t Duration = 0;  // minutes
  int32_t Flags = 0;
};

}  // namespace Structures
