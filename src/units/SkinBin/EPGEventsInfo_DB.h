// SkinBin::EPGEventsInfo_DB: the guide events of one channel read from the
// recording database, up to 1000, filled by count or page by page (8 a
// page). An event beyond the capacity is refused with a log line.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/object.h"
#include "units/Structures/EventInfo.h"

namespace Structures {
class VirtualChannel;
}

namespace SkinBin {

inline constexpr int32_t MAX_EPG_EVENTS = 1000;
inline constexpr int32_t EPG_EVENTS_PER_PAGE = 8;

class EPGEventsInfo_DB : public kv::Object {
  KV_CLASS(SkinBin, EPGEventsInfo_DB, kv::Object)
 public:
  EPGEventsInfo_DB() = default;

  // Reads up to `count` events of the channel from the programme running now
  // (EPGLoaders.cpp); PageIndex becomes 1. Answers EventCount. At most the
  // 1000 places are filled; then NoMoreEvents is set.
  int32_t GetEventInfoByCount(Structures::VirtualChannel* channel, int32_t count);
  // Reads the next page (8 events) after NextTime into places PageIndex * 8
  // on and advances PageIndex; nothing once NoMoreEvents is set or the page
  // would lie past the 1000 places (NoMoreEvents is then set). Answers
  // EventCount.
  int32_t GetEventInfoByPage(Structures::VirtualChannel* channel);

  int32_t GetNumEvents() const { return EventCount; }
  int32_t GetCurrentEventSet() const { return CurrentEventSet; }
  // Event i; null when that place is empty or outside the table.
  Structures::EventInfo* GetEvent(int32_t i) const;
  // Puts `event` in place i. False (and a log line) outside 0..999.
  bool SetEvent(int32_t i, Structures::EventInfo* event);
  // Drops every event and clears NoMoreEvents; the counters stay for the
  // reader to set.
  void ClearEvents();

  uint8_t NoMoreEvents = 0;
  int32_t EventCount = 0;
  int32_t CurrentEventSet = 0;
  int32_t PageIndex = 0;
  int64_t NextTime = 0;  // network seconds from which the next page is read

 private:
  kv::MemberVector<Structures::EventInfo> events_;
};

}  // namespace SkinBin
