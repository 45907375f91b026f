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
  int32_t EventId = 0;  // the guide's id of the programme
  kv::String Title;
  kv::String Description;
  int32_t Duration = 0;    // minutes
  // The programme's rating: the US rating word and the Canadian rating code
  // (0: none).
  int32_t UsRating = 0;
  int32_t CanadianRating = 0;
  int32_t Flags = 0;  // flags of the guide, such as whether a rating is present
};

}  // namespace Structures
