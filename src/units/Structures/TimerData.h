// Structures::TimerData: a record or reminder timer of the scheduler.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/object.h"
#include "units/Structures/LocalTime.h"

namespace Structures {

class TimerData : public kv::Object {
  KV_CLASS(Structures, TimerData, kv::Object)
 public:
  TimerData() = default;

  uint8_t Enable = 0;
  int32_t Id = 0;
  int32_t DaysOfWeek = 0;  // bit mask, bit 0 the first day
  int32_t Duration = 0;
  int32_t Source = 0;
  int32_t ChannelMajor = 0;
  int32_t ChannelMinor = 0;
  int32_t Extra2 = 0;  // carried unchanged
  kv::Member<LocalTime> StartTime;
  int32_t TimesType = 0;
  int32_t Extra3 = 0;  // carried unchanged
  int32_t Extra1 = 0;  // carried unchanged
  int32_t SourceType = 1;  // 1 for a timer set by hand
  int32_t MapId = 0;
  int32_t StartEarly = 0;
  int32_t EndDelay = 0;
};

}  // namespace Structures
