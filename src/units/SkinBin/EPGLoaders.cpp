// SkinBin::EPGEventsInfo_DB's reads of a channel's guide from the recording
// database: by count from the programme running now, then page by page.
#include <algorithm>
#include <string>

#include "platform/db/db.h"
#include "platform/xpm/xpm_record.h"
#include "platform/xpm/xpm_rings.h"
#include "runtime/trace.h"
#include "units/SkinBin/EPGEventsInfo_DB.h"
#include "units/SkinBin/GuideEvent.h"
#include "units/Structures/VirtualChannel.h"

namespace SkinBin {

namespace {

// The database's tuner and medium of the reads.
struct Where {
  int32_t tuner = 0;
  int32_t medium = 0;
};
Where CurrentWhere() {
  Where w;
  kv::LogFailedCall("XPM_GetCurrent_TunerId", XPM_GetCurrent_TunerId(&w.tuner));
  kv::LogFailedCall("XPM_GetMedium", XPM_GetMedium(&w.medium));
  return w;
}

// One read; false at the end of the data (11 or not found) or on a failure
// (logged).
bool Read(int32_t status) {
  if (status == DB_OK) return true;
  if (status != DB_ERR_END_OF_LIST && status != DB_ERR_NOT_FOUND) kv::LogFailedCall("DB_Get_Program_Info", status);
  return false;
}

}  // namespace

// Reads events into places from..to-1 with DB_Get_Program_Info_Next from
// NextTime, each read continuing from the end of the event before; answers
// how many were read and sets NoMoreEvents when the database ran out.
static int32_t ReadNext(EPGEventsInfo_DB& db, const Structures::VirtualChannel& c, const Where& w, int32_t from,
                        int32_t to) {
  int32_t read = 0;
  for (int32_t i = from; i < to; ++i) {
    DB_ProgramInfo p{};
    if (!Read(DB_Get_Program_Info_Next(c.Major, c.Minor, db.NextTime, w.tuner, w.medium, &p))) {
      db.NoMoreEvents = 1;
      break;
    }
    db.SetEvent(i, NewGuideEvent(p.eventId, p.start, p.duration, p.rating, p.flags, p.title, p.description));
    db.NextTime = p.start + p.duration;
    ++read;
  }
  return read;
}

int32_t EPGEventsInfo_DB::GetEventInfoByCount(Structures::VirtualChannel* channel, int32_t count) {
  ClearEvents();
  EventCount = 0;
  PageIndex = 1;
  // No channel (none after a failed read of the current one) has no events.
  if (!channel || channel->Major < 0) return EventCount;
  kv::Log("######  Get event info of the channel " + std::to_string(channel->Major) + "." +
          std::to_string(channel->Minor) + " from the database.");
  int64_t now = 0;
  if (kv::LogFailedCall("XPM_GetCurrentNetworkTime", XPM_GetCurrentNetworkTime(&now)) != XPM_OK ||
      count <= 0) {
    NoMoreEvents = 1;
    return EventCount;
  }
  const Where w = CurrentWhere();
  DB_ProgramInfo p{};
  if (!Read(DB_Get_Program_Info(channel->Major, channel->Minor, now, w.tuner, w.medium, &p))) {
    NoMoreEvents = 1;
    return EventCount;
  }
  SetEvent(0, NewGuideEvent(p.eventId, p.start, p.duration, p.rating, p.flags, p.title, p.description));
  NextTime = p.start + p.duration;
  // A count past the places reads what fits, and no more.
  if (count > MAX_EPG_EVENTS) NoMoreEvents = 1;
  EventCount = 1 + ReadNext(*this, *channel, w, 1, std::min(count, MAX_EPG_EVENTS));
  return EventCount;
}

int32_t EPGEventsInfo_DB::GetEventInfoByPage(Structures::VirtualChannel* channel) {
  if (!channel || NoMoreEvents) return EventCount;
  const int32_t from = PageIndex * EPG_EVENTS_PER_PAGE;
  if (PageIndex < 0 || from >= MAX_EPG_EVENTS) {
    NoMoreEvents = 1;
    return EventCount;
  }
  const int32_t read =
      ReadNext(*this, *channel, CurrentWhere(), from, std::min(from + EPG_EVENTS_PER_PAGE, MAX_EPG_EVENTS));
  EventCount = from + read;
  ++PageIndex;
  return EventCount;
}

}  // namespace SkinBin
