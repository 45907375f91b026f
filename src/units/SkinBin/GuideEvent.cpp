#include "units/SkinBin/GuideEvent.h"

#include <cstring>

#include "platform/xpm/xpm_record.h"
#include "runtime/trace.h"
#include "units/Structures/EventInfo.h"
#include "units/Structures/LocalTime.h"

namespace SkinBin {

Structures::EventInfo* NewGuideEvent(int32_t id, int64_t start, int32_t duration, const int32_t rating[2],
                                     int32_t flags, const char* title, const char* description) {
  auto* e = kv::New<Structures::EventInfo>();
  XPM_LocalTime t{};
  if (kv::LogFailedCall("XPM_NetworkSeconds2LocalTime", XPM_NetworkSeconds2LocalTime(start, &t)) == XPM_OK) {
    auto* l = kv::New<Structures::LocalTime>();
    l->Second = t.second, l->Minute = t.minute, l->Hour = t.hour, l->Day = t.day, l->Month = t.month;
    l->Year = t.year, l->Weekday = t.weekday, l->YearDay = t.yearDay, l->DaylightSaving = t.dst;
    e->StartTime = l;
  }
  e->EventId = id;
  e->Duration = duration / 60;
  e->Title = kv::NewStringAnsi(title ? title : "");
  if (description && std::strcmp(description, title ? title : "") != 0) e->Description = kv::NewStringAnsi(description);
  e->UsRating = rating[0];
  e->CanadianRating = rating[1];
  e->Flags = flags;
  return e;
}

}  // namespace SkinBin
