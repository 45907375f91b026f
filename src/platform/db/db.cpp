// The recording database over the simulated television's state (db.h).
#include "platform/db/db.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/sim/sim.h"
#include "platform/sim/sim_guide.h"
#include "platform/sim/sim_store.h"
#include "runtime/trace.h"

namespace {

#define DB_ENTER(name, args)                                                   \
  static constexpr const char* kCall = name;                                   \
  sim::Sim* tv = sim::Sim::Current();                                          \
  if (auto fail = sim::EnterCall(kCall, args, DB_ERR_NOT_READY)) return *fail; \
  if (!tv) return DB_ERR_NOT_READY;                                            \
  std::lock_guard<std::mutex> lock(g_mutex)

#define DB_NEED(ptr)                                                        \
  if (!(ptr)) {                                                             \
    kv::Log(std::string(kCall) + ": no place for the answer, refused");    \
    return DB_ERR_INVALID_PARAM;                                            \
  }

// Read-modify-write of the database's keys, from any thread.
std::mutex g_mutex;

constexpr const char* kSched = "db.sched.";
constexpr const char* kRec = "db.rec.";
constexpr int kBlockWords = 25;

std::string SchedKey(int32_t id) { return kSched + std::to_string(id); }
std::string RecKey(int32_t id) { return kRec + std::to_string(id); }
std::string TimerKey(int32_t t) { return "db.timer." + std::to_string(t); }

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> out(1);
  for (char c : s) {
    if (c == sep) out.emplace_back(); else out.back().push_back(c);
  }
  return out;
}

// --- Scheduled shows -------------------------------------------------------------

struct Show {
  int32_t id = 0;
  int32_t status = 0;
  DB_ScheduleBlock block{};
  std::string channel, title, description;
};

std::string Encode(const Show& s) {
  std::vector<int64_t> words(kBlockWords);
  const auto* w = reinterpret_cast<const int32_t*>(&s.block);
  for (int i = 0; i < kBlockWords; ++i) words[i] = w[i];
  return std::to_string(s.status) + ";" + sim::JoinNumbers(words) + ";" + sim::HexText(s.channel) + ";" +
         sim::HexText(s.title) + ";" + sim::HexText(s.description);
}

bool DecodeText(int32_t id, const std::string& text, Show* s) {
  const auto parts = Split(text, ';');
  std::vector<int64_t> status, words;
  if (parts.size() != 5 || !sim::SplitNumbers(parts[0], &status) || status.size() != 1 ||
      !sim::SplitNumbers(parts[1], &words) || words.size() != kBlockWords || !sim::UnhexText(parts[2], &s->channel) ||
      !sim::UnhexText(parts[3], &s->title) || !sim::UnhexText(parts[4], &s->description))
    return false;
  s->id = id;
  s->status = static_cast<int32_t>(status[0]);
  auto* w = reinterpret_cast<int32_t*>(&s->block);
  for (int i = 0; i < kBlockWords; ++i) w[i] = static_cast<int32_t>(words[i]);
  return true;
}

// Decodes a stored show. Lists and look-ups decode the same entries again
// and again (a walk reads each show, the clean-up before it reads them all),
// so the last decoding of each id is kept with the text it came from and
// reused while the stored text is unchanged.
bool Decode(int32_t id, const std::string& text, Show* s) {
  static std::mutex m;
  static std::unordered_map<int32_t, std::pair<std::string, Show>> kept;
  std::lock_guard<std::mutex> lock(m);
  if (auto it = kept.find(id); it != kept.end() && it->second.first == text) {
    *s = it->second.second;
    return true;
  }
  if (!DecodeText(id, text, s)) return false;
  kept[id] = {text, *s};
  return true;
}

// Every stored show, in id order; a damaged entry is logged and skipped.
// The entries are decoded where they are stored, without copying the state.
template <class T, class DecodeFn>
std::vector<T> All(const sim::Sim& tv, const char* prefix, DecodeFn decode) {
  std::vector<std::pair<int32_t, T>> found;
  std::vector<std::string> damaged;
  const size_t skip = std::string_view(prefix).size();
  tv.VisitStateWithPrefix(prefix, [&](const std::string& key, const std::string& value) {
    std::vector<int64_t> n;
    T item{};
    if (!sim::SplitNumbers(std::string_view(key).substr(skip), &n) || n.size() != 1 ||
        !decode(static_cast<int32_t>(n[0]), value, &item)) {
      damaged.push_back(key);
      return;
    }
    found.emplace_back(static_cast<int32_t>(n[0]), std::move(item));
  });
  for (const std::string& key : damaged) kv::Log("recording database: damaged entry " + kv::EscapedText(key) + ", skipped");
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<T> out;
  out.reserve(found.size());
  for (auto& f : found) out.push_back(std::move(f.second));
  return out;
}

// Every stored show as All lists them, kept while the state's revision
// stays: a list read with Next, and the clean-up before it, then decode the
// shows once, not once per call. As with Ids, the revision is read before
// the entries. Callers hold g_mutex, and must not keep the reference past a
// change of the state.
const std::vector<Show>& KeptShows(const sim::Sim& tv) {
  static bool listed = false;
  static uint64_t revision = 0;
  static std::vector<Show> shows;
  const uint64_t now = tv.StateRevision();
  if (!listed || revision != now) {
    shows = All<Show>(tv, kSched, Decode);
    listed = true;
    revision = now;
  }
  return shows;
}

// A copy, for loops that change the state as they go.
std::vector<Show> Shows(const sim::Sim& tv) { return KeptShows(tv); }

bool FindShow(const sim::Sim& tv, int32_t id, Show* out) {
  const std::string text = tv.GetState(SchedKey(id));
  return !text.empty() && Decode(id, text, out);
}

bool Overlaps(const DB_ScheduleBlock& a, const DB_ScheduleBlock& b) {
  const int64_t sa = sim::LocalTicks(a.start), sb = sim::LocalTicks(b.start);
  return a.tuner == b.tuner && sa < sb + int64_t{b.duration} * 60 && sb < sa + int64_t{a.duration} * 60;
}

void Fill(const Show& s, DB_ScheduledEntry* out) {
  *out = DB_ScheduledEntry{};
  out->id = s.id;
  out->status = s.status;
  out->block = s.block;
  sim::CopyCText(out->channelName, sizeof out->channelName, s.channel);
  sim::CopyCText(out->title, sizeof out->title, s.title);
  sim::CopyCText(out->description, sizeof out->description, s.description);
}

// Changes one show with `change`; DB_ERR_NOT_FOUND when there is none.
template <class Change>
int32_t UpdateShow(sim::Sim& tv, int32_t id, const char* call, Change change) {
  Show s;
  if (!FindShow(tv, id, &s)) {
    kv::Log(std::string(call) + ": no scheduled show " + std::to_string(id));
    return DB_ERR_NOT_FOUND;
  }
  change(s);
  return tv.SetState(SchedKey(id), Encode(s)) ? DB_OK : DB_ERR_FAILED;
}

// --- Recorded shows -----------------------------------------------------------------

bool DecodeRecorded(int32_t id, const std::string& text, DB_RecordedEntry* e) {
  const auto parts = Split(text, ';');
  std::vector<int64_t> n;
  std::string title, description, path;
  if (parts.size() != 4 || !sim::SplitNumbers(parts[0], &n) || n.size() != 11 || !sim::UnhexText(parts[1], &title) ||
      !sim::UnhexText(parts[2], &description) || !sim::UnhexText(parts[3], &path))
    return false;
  *e = DB_RecordedEntry{};
  e->id = id;
  e->status = static_cast<int32_t>(n[0]);
  e->tuner = static_cast<int32_t>(n[1]);
  e->major = static_cast<int32_t>(n[2]);
  e->minor = static_cast<int32_t>(n[3]);
  e->mapId = static_cast<int32_t>(n[4]);
  e->start = n[5];
  e->duration = static_cast<int32_t>(n[6]);
  e->eventId = static_cast<int32_t>(n[7]);
  e->eventStart = n[8];
  e->eventDuration = static_cast<int32_t>(n[9]);
  e->rating = static_cast<int32_t>(n[10]);
  sim::CopyCText(e->title, sizeof e->title, title);
  sim::CopyCText(e->description, sizeof e->description, description);
  sim::CopyCText(e->path, sizeof e->path, path);
  return true;
}

std::string EncodeRecorded(const DB_RecordedEntry& e) {
  return sim::JoinNumbers({e.status, e.tuner, e.major, e.minor, e.mapId, e.start, e.duration, e.eventId, e.eventStart,
                           e.eventDuration, e.rating}) +
         ";" + sim::HexText(e.title) + ";" + sim::HexText(e.description) + ";" + sim::HexText(e.path);
}

// The ids stored under `prefix`, ascending, read from the keys alone; a key
// without an id is logged and skipped.
std::vector<int32_t> ListIds(const sim::Sim& tv, const char* prefix) {
  const size_t skip = std::string_view(prefix).size();
  std::vector<int32_t> ids;
  std::vector<std::string> damaged;
  tv.VisitStateWithPrefix(prefix, [&](const std::string& key, const std::string&) {
    int32_t id = 0;
    const char* end = key.data() + key.size();
    const auto [at, error] = std::from_chars(key.data() + skip, end, id);
    if (error != std::errc() || at != end || key.size() == skip) {
      damaged.push_back(key);
      return;
    }
    ids.push_back(id);
  });
  for (const std::string& key : damaged) kv::Log("recording database: damaged entry " + kv::EscapedText(key) + ", skipped");
  std::sort(ids.begin(), ids.end());
  return ids;
}

// As ListIds, the last prefix's list kept while the state's revision stays
// (the recorded shows': scheduled shows are kept whole by KeptShows): a list
// read entry by entry with Next then lists the ids once, not once per entry.
// The revision is read before the keys, so a change made meanwhile only
// makes the next call list them again. Callers hold g_mutex.
const std::vector<int32_t>& Ids(const sim::Sim& tv, const char* prefix) {
  static struct {
    const char* prefix = nullptr;
    uint64_t revision = 0;
    std::vector<int32_t> ids;
  } k;
  const uint64_t revision = tv.StateRevision();
  if (k.prefix != prefix || k.revision != revision) {
    k.ids = ListIds(tv, prefix);
    k.prefix = prefix;
    k.revision = revision;
  }
  return k.ids;
}

// The walks: the first readable entry with an id above `after`. Only that
// entry is decoded, so a walk over n entries decodes n entries, not n * n.
template <class T, class DecodeFn, class Fill>
int32_t Walk(const sim::Sim& tv, const char* prefix, int32_t after, DecodeFn decode, Fill fill) {
  const std::vector<int32_t>& ids = Ids(tv, prefix);
  for (auto it = std::upper_bound(ids.begin(), ids.end(), after); it != ids.end(); ++it) {
    T item{};
    if (decode(*it, tv.GetState(prefix + std::to_string(*it)), &item)) {
      fill(item);
      return DB_OK;
    }
    kv::Log("recording database: damaged entry " + std::string(prefix) + std::to_string(*it) + ", skipped");
  }
  return DB_ERR_END_OF_LIST;
}

bool BadTimer(int32_t t, const char* call) {
  if (t >= 0 && t < DB_TIMER_IDS) return false;
  kv::Log(std::string(call) + ": timer id " + std::to_string(t) + " out of range, refused");
  return true;
}

void FillProgram(const sim::GuideEvent& e, DB_ProgramInfo* out) {
  *out = DB_ProgramInfo{};
  out->eventId = e.id;
  out->start = e.start;
  out->duration = e.duration;
  out->rating[0] = sim::UsRatingWord(e);
  out->rating[1] = e.canadianRating;
  out->flags = sim::IsRated(e) ? 1 : 0;
  sim::CopyCText(out->title, sizeof out->title, e.title);
  sim::CopyCText(out->description, sizeof out->description, e.description);
}

}  // namespace

int32_t DB_Insert_Scheduled_Data(int32_t id, const DB_ScheduleBlock* block, int32_t zero1, int32_t zero2,
                                 const char* channelName, const char* title, const char* description) {
  DB_ENTER("DB_Insert_Scheduled_Data",
           sim::Args(id, block ? block->timerId : -1, block ? block->tuner : -1, block ? block->major : -1,
                     block ? block->minor : -1, block ? block->duration : -1, zero1, zero2, channelName, title));
  if (!block || id <= 0 || BadTimer(block->timerId, kCall) || block->duration <= 0) {
    kv::Log(std::string(kCall) + ": bad show " + std::to_string(id) + ", refused");
    return DB_ERR_INVALID_PARAM;
  }
  if (block->reserved11 || block->reserved12 || block->reserved23 || block->reserved24 || zero1 || zero2) {
    kv::Log(std::string(kCall) + ": reserved words are not zero, refused");
    return DB_ERR_INVALID_PARAM;
  }
  Show s;
  if (FindShow(*tv, id, &s)) return DB_ERR_CONFLICT;
  for (const Show& other : Shows(*tv))
    if (Overlaps(other.block, *block) || other.block.timerId == block->timerId) {
      kv::Log(std::string(kCall) + ": show " + std::to_string(id) + " overlaps show " + std::to_string(other.id));
      return DB_ERR_CONFLICT;
    }
  s.id = id;
  s.status = DB_SHOW_WAITING;
  s.block = *block;
  s.channel = std::string(channelName ? channelName : "").substr(0, DB_CHANNEL_NAME_MAX);
  s.title = std::string(title ? title : "").substr(0, DB_TITLE_MAX);
  s.description = std::string(description ? description : "").substr(0, DB_DESCRIPTION_MAX);
  return tv->SetState(SchedKey(id), Encode(s)) ? DB_OK : DB_ERR_FAILED;
}

int32_t DB_Get_ScheduledID(int32_t timerId, int32_t* id) {
  DB_ENTER("DB_Get_ScheduledID", sim::Args(timerId));
  DB_NEED(id);
  for (const Show& s : KeptShows(*tv))
    if (s.block.timerId == timerId) {
      *id = s.id;
      return DB_OK;
    }
  return DB_ERR_NOT_FOUND;
}

int32_t DB_Update_Scheduled_Show_Dayofweek(int32_t id, int32_t dayOfWeek) {
  DB_ENTER("DB_Update_Scheduled_Show_Dayofweek", sim::Args(id, dayOfWeek));
  return UpdateShow(*tv, id, kCall, [&](Show& s) { s.block.dayOfWeek = dayOfWeek; });
}

int32_t DB_Update_Scheduled_Show_Duration(int32_t id, int32_t minutes) {
  DB_ENTER("DB_Update_Scheduled_Show_Duration", sim::Args(id, minutes));
  if (minutes <= 0) return DB_ERR_INVALID_PARAM;
  return UpdateShow(*tv, id, kCall, [&](Show& s) { s.block.duration = minutes; });
}

int32_t DB_Update_Scheduled_Show_Starttime(int32_t id, int64_t ticks) {
  DB_ENTER("DB_Update_Scheduled_Show_Starttime", sim::Args(id, ticks));
  return UpdateShow(*tv, id, kCall, [&](Show& s) { s.block.start = sim::LocalFromTicks(ticks); });
}

int32_t DB_Update_Scheduled_Show_TunerId(int32_t id, int32_t tuner) {
  DB_ENTER("DB_Update_Scheduled_Show_TunerId", sim::Args(id, tuner));
  return UpdateShow(*tv, id, kCall, [&](Show& s) { s.block.tuner = tuner; });
}

int32_t DB_Get_Scheduled_Show_Freq(int64_t ticks, int32_t major, int32_t minor, int32_t tuner, int32_t medium,
                                   DB_ScheduledFreq* out) {
  DB_ENTER("DB_Get_Scheduled_Show_Freq", sim::Args(ticks, major, minor, tuner, medium));
  DB_NEED(out);
  for (const Show& s : Shows(*tv)) {
    if (s.block.major != major || s.block.minor != minor || sim::LocalTicks(s.block.start) != ticks) continue;
    *out = DB_ScheduledFreq{s.id,           s.block.timerId, s.status,         s.block.dayOfWeek,
                            s.block.repeat1, s.block.repeat2, s.block.repeat3, s.block.repeat4};
    return DB_OK;
  }
  return DB_ERR_NOT_FOUND;
}

// The first readable show with an id above `after`.
int32_t NextShow(const sim::Sim& tv, int32_t after, DB_ScheduledEntry* out) {
  const std::vector<Show>& shows = KeptShows(tv);
  const auto it =
      std::upper_bound(shows.begin(), shows.end(), after, [](int32_t id, const Show& s) { return id < s.id; });
  if (it == shows.end()) return DB_ERR_END_OF_LIST;
  Fill(*it, out);
  return DB_OK;
}

int32_t DB_Get_First_Scheduled_Show(DB_ScheduledEntry* out) {
  DB_ENTER("DB_Get_First_Scheduled_Show", "");
  DB_NEED(out);
  return NextShow(*tv, 0, out);
}

int32_t DB_Get_Scheduled_Show_Next(int32_t afterId, DB_ScheduledEntry* out) {
  DB_ENTER("DB_Get_Scheduled_Show_Next", sim::Args(afterId));
  DB_NEED(out);
  return NextShow(*tv, afterId, out);
}

int32_t DB_Delete_Scheduled_Event_Via_Starttime(const XPM_LocalTime* now) {
  DB_ENTER("DB_Delete_Scheduled_Event_Via_Starttime", "");
  DB_NEED(now);
  const int64_t t = sim::LocalTicks(*now);
  std::vector<std::string> gone;
  for (const Show& s : KeptShows(*tv))
    if (s.block.dayOfWeek == 0 && sim::LocalTicks(s.block.start) + int64_t{s.block.duration} * 60 <= t)
      gone.push_back(SchedKey(s.id));
  if (gone.empty()) return DB_OK;
  return tv->UpdateState({}, gone) ? DB_OK : DB_ERR_FAILED;
}

int32_t DB_CheckIn_Timer(int32_t timerId) {
  DB_ENTER("DB_CheckIn_Timer", sim::Args(timerId));
  if (BadTimer(timerId, kCall)) return DB_ERR_INVALID_PARAM;
  return tv->UpdateState({}, {TimerKey(timerId)}) ? DB_OK : DB_ERR_FAILED;
}

int32_t DB_CheckOut_Timer(int32_t timerId) {
  DB_ENTER("DB_CheckOut_Timer", sim::Args(timerId));
  if (BadTimer(timerId, kCall)) return DB_ERR_INVALID_PARAM;
  if (!tv->GetState(TimerKey(timerId)).empty()) return DB_ERR_CONFLICT;
  return tv->SetState(TimerKey(timerId), "1") ? DB_OK : DB_ERR_FAILED;
}

int32_t DB_Get_Timer_CheckedOut(int32_t timerId, int32_t* out) {
  DB_ENTER("DB_Get_Timer_CheckedOut", sim::Args(timerId));
  DB_NEED(out);
  if (BadTimer(timerId, kCall)) return DB_ERR_INVALID_PARAM;
  *out = tv->GetState(TimerKey(timerId)).empty() ? 0 : 1;
  return DB_OK;
}

int32_t XPM_Delete_Scheduled_Show(int32_t id) {
  DB_ENTER("XPM_Delete_Scheduled_Show", sim::Args(id));
  Show s;
  if (!FindShow(*tv, id, &s)) return DB_ERR_NOT_FOUND;
  return tv->UpdateState({}, {SchedKey(id)}) ? DB_OK : DB_ERR_FAILED;
}

int32_t XPM_Update_Scheduled_Show_Status(int32_t timerId, int32_t status) {
  DB_ENTER("XPM_Update_Scheduled_Show_Status", sim::Args(timerId, status));
  for (const Show& s : Shows(*tv))
    if (s.block.timerId == timerId) return UpdateShow(*tv, s.id, kCall, [&](Show& x) { x.status = status; });
  // No scheduled show records on that timer (a recording started by hand):
  // there is nothing to mark.
  return DB_OK;
}

int32_t XPM_CheckIn_TimerId(int32_t timerId) {
  DB_ENTER("XPM_CheckIn_TimerId", sim::Args(timerId));
  if (BadTimer(timerId, kCall)) return DB_ERR_INVALID_PARAM;
  return tv->UpdateState({}, {TimerKey(timerId)}) ? DB_OK : DB_ERR_FAILED;
}

int32_t XPM_Check_Update_Scheduled_Data_Status(void) {
  DB_ENTER("XPM_Check_Update_Scheduled_Data_Status", "");
  return DB_OK;
}

int32_t DB_Get_First_Recorded_Show(DB_RecordedEntry* out) {
  DB_ENTER("DB_Get_First_Recorded_Show", "");
  DB_NEED(out);
  return Walk<DB_RecordedEntry>(*tv, kRec, 0, DecodeRecorded, [&](const DB_RecordedEntry& e) { *out = e; });
}

int32_t DB_Get_Recorded_Show_Next(int32_t afterId, DB_RecordedEntry* out) {
  DB_ENTER("DB_Get_Recorded_Show_Next", sim::Args(afterId));
  DB_NEED(out);
  return Walk<DB_RecordedEntry>(*tv, kRec, afterId, DecodeRecorded, [&](const DB_RecordedEntry& e) { *out = e; });
}

int32_t DB_Get_Recorded_Show_IDs(int32_t* ids, int32_t max, int32_t* count) {
  DB_ENTER("DB_Get_Recorded_Show_IDs", sim::Args(max));
  DB_NEED(count);
  if (max < 0 || (max > 0 && !ids)) return DB_ERR_INVALID_PARAM;
  const std::vector<int32_t>& stored = Ids(*tv, kRec);
  std::copy_n(stored.begin(), std::min<size_t>(stored.size(), static_cast<size_t>(max)), ids);
  *count = static_cast<int32_t>(stored.size());
  return DB_OK;
}

int32_t DB_Get_Recorded_Show(int32_t id, DB_RecordedEntry* out) {
  DB_ENTER("DB_Get_Recorded_Show", sim::Args(id));
  DB_NEED(out);
  const std::string text = tv->GetState(RecKey(id));
  if (text.empty()) return DB_ERR_NOT_FOUND;
  if (!DecodeRecorded(id, text, out)) {
    kv::Log("recording database: damaged entry " + RecKey(id) + ", skipped");
    return DB_ERR_NOT_FOUND;
  }
  return DB_OK;
}

int32_t XPM_Delete_Recorded_Show(int32_t id) {
  DB_ENTER("XPM_Delete_Recorded_Show", sim::Args(id));
  DB_RecordedEntry e;
  const std::string text = tv->GetState(RecKey(id));
  if (text.empty() || !DecodeRecorded(id, text, &e)) return DB_ERR_NOT_FOUND;
  if (e.status == 1) {
    kv::Log(std::string(kCall) + ": show " + std::to_string(id) + " is still recording, refused");
    return DB_ERR_CONFLICT;
  }
  std::error_code ec;
  if (e.path[0]) std::filesystem::remove(tv->TargetPath(e.path), ec);
  return tv->UpdateState({}, {RecKey(id)}) ? DB_OK : DB_ERR_FAILED;
}

int32_t DB_Get_Program_Info(int32_t major, int32_t minor, int64_t time, int32_t tuner, int32_t medium,
                            DB_ProgramInfo* out) {
  DB_ENTER("DB_Get_Program_Info", sim::Args(major, minor, time, tuner, medium));
  DB_NEED(out);
  sim::GuideEvent e;
  if (!sim::GuideEventAt(major, minor, time, &e)) return DB_ERR_NOT_FOUND;
  FillProgram(e, out);
  return DB_OK;
}

int32_t DB_Get_Program_Info_Next(int32_t major, int32_t minor, int64_t time, int32_t tuner, int32_t medium,
                                 DB_ProgramInfo* out) {
  DB_ENTER("DB_Get_Program_Info_Next", sim::Args(major, minor, time, tuner, medium));
  DB_NEED(out);
  for (const sim::GuideEvent& e : sim::GuideEvents(major, minor, time, 2))
    if (e.start >= time) {
      FillProgram(e, out);
      return DB_OK;
    }
  return DB_ERR_NOT_FOUND;
}

namespace sim {

int32_t AddRecordedShow(Sim& tv, const DB_RecordedEntry& entry, int32_t* id) {
  std::lock_guard<std::mutex> lock(g_mutex);
  int32_t next = 1;
  if (const std::vector<int32_t>& ids = Ids(tv, kRec); !ids.empty()) next = std::max(next, ids.back() + 1);
  if (!tv.SetState(RecKey(next), EncodeRecorded(entry))) return DB_ERR_FAILED;
  *id = next;
  return DB_OK;
}

void SetScheduledShowStatus(Sim& tv, int32_t timerId, int32_t status) {
  std::lock_guard<std::mutex> lock(g_mutex);
  for (const Show& s : Shows(tv))
    if (s.block.timerId == timerId) UpdateShow(tv, s.id, "simulated recorder", [&](Show& x) { x.status = status; });
}

int32_t FinishRecordedShow(Sim& tv, int32_t id, int32_t duration) {
  std::lock_guard<std::mutex> lock(g_mutex);
  DB_RecordedEntry e;
  const std::string text = tv.GetState(RecKey(id));
  if (text.empty() || !DecodeRecorded(id, text, &e)) return DB_ERR_NOT_FOUND;
  e.status = 2;
  e.duration = duration;
  return tv.SetState(RecKey(id), EncodeRecorded(e)) ? DB_OK : DB_ERR_FAILED;
}

}  // namespace sim
