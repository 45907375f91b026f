// The loaders of the recording lists' caches: the scheduled shows and the
// recorded shows as the recording database walks them.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/db.h"
#include "platform/xpm/xpm_record.h"
#include "runtime/trace.h"
#include "units/Core/Log.h"
#include "units/SkinBin/RecordData.h"
#include "units/Structures/LocalTime.h"
#include "units/Wrapper/WrapperInternal.h"

namespace SkinBin {

namespace {

using ::Wrapper::detail::FromMiddleware;
using ::Wrapper::detail::FromMiddlewareAsBefore;

// Walks a database list: first(out), then next(last id, out) until the list
// ends, a call fails (logged) or take(entry) answers false.
template <class Entry, class First, class Next, class Take>
void Walk(const char* firstCall, const char* nextCall, First first, Next next, Take take) {
  // The entries hold texts of 2 KiB: one on the heap, not on the GUI task's stack.
  auto e = std::make_unique<Entry>();
  int32_t status = first(e.get());
  const char* call = firstCall;
  while (status == DB_OK) {
    if (!take(*e)) return;
    const int32_t last = e->id;
    *e = Entry{};
    status = next(last, e.get());
    call = nextCall;
  }
  if (status != DB_ERR_END_OF_LIST) kv::LogFailedCall(call, status);
}

// A local time for network seconds; none when the middleware cannot convert.
Structures::LocalTime* LocalFromNetwork(int64_t seconds) {
  XPM_LocalTime t{};
  if (kv::LogFailedCall("XPM_NetworkSeconds2LocalTime", XPM_NetworkSeconds2LocalTime(seconds, &t)) != XPM_OK)
    return nullptr;
  return FromMiddleware(t);
}

kv::String Text(const char* s) { return kv::NewStringAnsi(s); }

// The text of a database string: the one read before when it holds the same
// characters (a reload mostly reads what the last one did), else a new one.
kv::String TextAsBefore(const kv::String* before, const char* s) {
  if (!before || !s) return Text(s);
  const std::u16string_view held = before->View();
  size_t i = 0;
  for (; i < held.size() && s[i] != 0; ++i)
    if (held[i] != static_cast<unsigned char>(s[i])) return Text(s);
  return i == held.size() && s[i] == 0 ? *before : Text(s);
}

// Calls f(field, value) for each number of a show: the field of `r` and the
// value the scheduler's entry gives it.
template <class F>
void EachNumber(ScheduledRecordData& r, const DB_ScheduledEntry& e, F f) {
  const DB_ScheduleBlock& b = e.block;
  f(r.Flag, static_cast<uint8_t>(b.flag));
  f(r.Id, e.id);
  f(r.TimerId, b.timerId);
  f(r.Duration, b.duration);
  f(r.Tuner, b.tuner);
  f(r.Major, b.major);
  f(r.Minor, b.minor);
  f(r.MapId, b.mapId);
  f(r.DayOfWeek, b.dayOfWeek);
  f(r.Repeat1, b.repeat1);
  f(r.Repeat2, b.repeat2);
  f(r.Repeat3, b.repeat3);
  f(r.Repeat4, b.repeat4);
  f(r.EventFlag, static_cast<uint8_t>(e.title[0] != 0));  // scheduled from a programme with a title
  f(r.Status, e.status);
  // The programme's length in seconds (its start is the show's).
  f(r.EventDuration, b.duration * 60);
}

// The two are one text (TextAsBefore answers the text held when the
// characters are equal): no walk over the characters again.
bool SameText(const kv::String& a, const kv::String& b) { return a.Data() == b.Data() || (a.Empty() && b.Empty()); }

// A show of the scheduler's; `before` (may be null) is the show the last
// reload read at the same place: its texts and time are kept when equal, and
// it is itself the answer when nothing of the show changed (a reload mostly
// reads what the last one did), so that no record is made to replace an
// equal one.
ScheduledRecordData* FromScheduled(const DB_ScheduledEntry& e, ScheduledRecordData* before) {
  Structures::LocalTime* start = FromMiddlewareAsBefore(e.block.start, before ? before->StartTime.get() : nullptr);
  const kv::String title = TextAsBefore(before ? &before->Title : nullptr, e.title);
  const kv::String description = TextAsBefore(before ? &before->Description : nullptr, e.description);
  if (before && before->StartTime.get() == start && before->EventStartTime.get() == start &&
      SameText(before->Title, title) && SameText(before->EventTitle, title) &&
      SameText(before->Description, description) && before->Rating == 0) {
    bool same = true;
    EachNumber(*before, e, [&same](const auto& field, const auto& value) { same = same && field == value; });
    if (same) return before;
  }
  auto* r = kv::New<ScheduledRecordData>();
  EachNumber(*r, e, [](auto& field, const auto& value) { field = value; });
  r->StartTime = start;
  r->Title = title;
  r->EventTitle = title;
  r->Description = description;
  // The programme's time is the show's own: its start (the one time, as
  // times handed on are copied before they are changed).
  r->EventStartTime = start;
  return r;
}

RecordedShowData* FromRecorded(const DB_RecordedEntry& e) {
  auto* r = kv::New<RecordedShowData>();
  r->Title = Text(e.title);
  r->StartTime = LocalFromNetwork(e.start);
  r->Duration = e.duration;
  r->HasEventInfo = r->EventFlag = e.eventId != 0;
  if (e.eventId != 0) {
    r->EventStartTime = LocalFromNetwork(e.eventStart);
    r->EventDuration = e.eventDuration;
  }
  r->Description = Text(e.description);
  r->Rating = e.rating;
  r->RecordId = e.id;
  r->Major = e.major;
  r->Minor = e.minor;
  r->TunerId = e.tuner;
  r->MapId = e.mapId;
  r->FilePath = Text(e.path);
  r->Status = e.status;
  return r;
}

}  // namespace

void DB_ScheduledInfo::GetEventInfoByCount(int32_t count) {
  // The shows read last, kept while the new ones are read.
  std::vector<kv::Persistent<ScheduledRecordData>> before;
  before.reserve(static_cast<size_t>(GetNumEvents()));
  for (int32_t i = 0; i < GetNumEvents(); ++i) before.emplace_back(GetEntry(i));
  Clear();
  int64_t now = 0;
  XPM_LocalTime local{};
  if (kv::LogFailedCall("XPM_GetNetworkTime", XPM_GetNetworkTime(&now)) == XPM_OK &&
      kv::LogFailedCall("XPM_NetworkSeconds2LocalTime", XPM_NetworkSeconds2LocalTime(now, &local)) == XPM_OK)
    kv::LogFailedCall("DB_Delete_Scheduled_Event_Via_Starttime", DB_Delete_Scheduled_Event_Via_Starttime(&local));
  kv::LogFailedCall("XPM_Check_Update_Scheduled_Data_Status", XPM_Check_Update_Scheduled_Data_Status());
  int32_t read = 0;
  Walk<DB_ScheduledEntry>(
      "DB_Get_First_Scheduled_Show", "DB_Get_Scheduled_Show_Next", DB_Get_First_Scheduled_Show,
      DB_Get_Scheduled_Show_Next, [&](const DB_ScheduledEntry& e) {
        if (read >= count) return false;
        const auto at = static_cast<size_t>(read++);
        return Add(FromScheduled(e, at < before.size() ? before[at].get() : nullptr));  // false (logged) once the places are taken
      });
}

void DB_RecordedInfo::GetEventInfoByCount() {
  Clear();
  std::vector<int32_t> ids(MAX_RECORDED_INFO);
  int32_t stored = 0;
  if (kv::LogFailedCall("DB_Get_Recorded_Show_IDs", DB_Get_Recorded_Show_IDs(ids.data(), MAX_RECORDED_INFO, &stored)) !=
      DB_OK)
    return;
  const int32_t kept = std::clamp(stored, 0, MAX_RECORDED_INFO);
  if (stored > kept)
    Core::LogError("SkinBin::DB_RecordedInfo: full at %i entries, %i shows dropped", {MAX_RECORDED_INFO, stored - kept});
  ids.resize(static_cast<size_t>(kept));
  ids_ = std::move(ids);
  entries_.reserve(ids_.size());
  for (size_t i = 0; i < ids_.size(); ++i) entries_.push_back(nullptr);
}

RecordedShowData* DB_RecordedInfo::ReadEntry(int32_t i) const {
  // The entry holds texts of 2 KiB: on the heap, not on the GUI task's stack.
  auto e = std::make_unique<DB_RecordedEntry>();
  const auto at = static_cast<size_t>(i);
  if (kv::LogFailedCall("DB_Get_Recorded_Show", DB_Get_Recorded_Show(ids_[at], e.get())) != DB_OK) return nullptr;
  RecordedShowData* read = FromRecorded(*e);
  entries_.set(at, read);
  return read;
}

}  // namespace SkinBin
