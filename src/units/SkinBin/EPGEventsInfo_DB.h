// SkinBin::EPGEventsInfo_DB: the guide events of one channel read from the
// recording database, up to 1000, filled by count or page by page (8 a
// page). An event beyond the capacity is refused with a log line.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/object.h"
#include "units/Structures/EventInfo.h"

namespace SkinBin {

inline constexpr int32_t MAX_EPG_EVENTS = 1000;
inline constexpr int32_t EPG_EVENTS_PER_PAGE = 8;

class EPGEventsInfo_DB : public kv::Object {
  KV_CLASS(SkinBin, EPGEventsInfo_DB, kv::Object)
 public:
  EPGEventsInfo_DB() = default;

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
