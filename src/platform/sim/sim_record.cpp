// The simulated recorder, timeshift, USB disk, guide events and current
// channel (xpm_record.h). The recordings live in the recording database
// (db.h); timeshift, running recordings and whether the disk is plugged in
// are the running set's and not kept.
#include <algorithm>
#include <cstring>
#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/db.h"
#include "platform/os/bkni.h"
#include "platform/psl/psl.h"
#include "platform/sim/sim_guide.h"
#include "platform/sim/sim_rating_region.h"
#include "platform/sim/sim_store.h"
#include "platform/sim/sim_tv_call.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "platform/xpm/xpm_record.h"
#include "platform/xpm/xpm_settings.h"
#include "runtime/clock.h"
#include "runtime/trace.h"

struct XPM_EventListImpl {
  std::vector<sim::GuideEvent> events;
};

namespace {

constexpr int32_t kTuners = 2;
constexpr int32_t kManualTimer = 32;  // + tuner

struct Timeshift {
  bool active = false;
  int64_t startMs = 0;  // clock of the buffer's start
  int64_t lagMs = 0;    // how far playback is behind live, at `sinceMs`
  int64_t sinceMs = 0;
  int32_t rate = 1;  // 2 to 9 in trick play: 2^(rate - 1) times
  int32_t state = XPM_TIMESHIFT_PLAY_STATE_PLAY;
  int64_t capacityMs = 0;  // what the buffer holds, from the setting at the start
};

constexpr int32_t kLastTrickRate = 9;

struct Recording {
  int32_t timerId = -1;  // a timer's id, or kManualTimer + tuner
  int32_t recordedId = 0;
  int64_t startMs = 0;
  bool once = false;  // a one-time timer's
};

// A timer the program made the valid recording of a tuner
// (XPM_Set_Timer_Record_Valid): the next recording started on that tuner is
// the timer's and ends with its window.
struct ValidTimer {
  int32_t timerId = -1;
  int32_t once = 0;
};

struct World {
  bool diskRemoved = false;
  bool testing = false;
  uint64_t testGeneration = 0;
  std::array<Timeshift, kTuners> timeshift{};
  std::array<Recording, kTuners> recording{};
  std::array<ValidTimer, kTuners> valid{};
  int32_t lastTimeshiftTuner = 0;
  // The timer watch: its pending check (a newer one replaces it) and the
  // local time it has looked up to (a timer fires once it passes).
  uint64_t watchGeneration = 0;
  int64_t watchedUpTo = 0;
  // The event lists handed out and not yet released (freed with the Sim's
  // state when it is not released at all).
  std::vector<std::unique_ptr<XPM_EventListImpl>> lists;
};

bool KnownList(const World& w, XPM_EventList list) {
  for (const auto& l : w.lists)
    if (l.get() == list) return true;
  return false;
}

sim::Volatile<World> g_world;

bool BadTuner(int32_t tuner, const char* call) {
  if (tuner >= 0 && tuner < kTuners) return false;
  kv::Log(std::string(call) + ": no tuner " + std::to_string(tuner) + ", refused");
  return true;
}

std::string DiskFolder(const sim::Sim& tv) { return tv.TargetPath(sim::kUsbMountPoint); }

bool Mounted(const sim::Sim& tv, const World& w) {
  std::error_code ec;
  return !w.diskRemoved && std::filesystem::is_directory(DiskFolder(tv), ec);
}

// A set's path inside the mounted disk as a path of the data directory, or
// empty (logged) for anything else: other folders, "..", no disk.
std::string DiskFile(const sim::Sim& tv, const World& w, const char* path, const char* call) {
  const std::string root = std::string(sim::kUsbMountPoint) + "/";
  const std::string p = path ? path : "";
  // A plugged media stick's file ("/mnt/usbN/..."), through its link.
  if (psl::IsStickPath(p)) return tv.TargetPath(p);
  const bool inside = p.rfind(root, 0) == 0 && p.size() > root.size() && p.find("/../") == std::string::npos &&
                      p.compare(p.size() - std::min<size_t>(p.size(), 3), 3, "/..") != 0;
  if (!inside || !Mounted(tv, w)) {
    kv::Log(std::string(call) + ": \"" + kv::EscapedText(p, kv::kMaxLoggedPath) + "\" is not a file of the mounted disk, refused");
    return {};
  }
  return tv.TargetPath(p);
}

// The timeshift buffer's playback lag now, bounded by what is buffered;
// trick play that reaches live or the buffer's start plays on.
void Advance(Timeshift& t, int64_t now) {
  const int64_t dt = now - t.sinceMs;
  const int64_t factor = int64_t{1} << std::clamp(t.rate - 1, 0, kLastTrickRate - 1);
  switch (t.state) {
    case XPM_TIMESHIFT_PLAY_STATE_PAUSE: t.lagMs += dt; break;
    case XPM_TIMESHIFT_PLAY_STATE_FAST_FORWARD: t.lagMs -= dt * (factor - 1); break;
    case XPM_TIMESHIFT_PLAY_STATE_FAST_BACKWARD: t.lagMs += dt * (factor + 1); break;
    default: break;
  }
  const int64_t buffered = std::min(now - t.startMs, t.capacityMs);
  if (t.lagMs <= 0 && t.state == XPM_TIMESHIFT_PLAY_STATE_FAST_FORWARD)
    t.state = XPM_TIMESHIFT_PLAY_STATE_PLAY, t.rate = 1;
  t.lagMs = std::clamp<int64_t>(t.lagMs, 0, buffered);
  if (t.lagMs == buffered && t.state == XPM_TIMESHIFT_PLAY_STATE_FAST_BACKWARD)
    t.state = XPM_TIMESHIFT_PLAY_STATE_PLAY, t.rate = 1;
  t.sinceMs = now;
}

// The stored timeshift duration setting (0 to 4; a state file may hold anything).
int32_t DurationSetting(const sim::Sim& tv) {
  return static_cast<int32_t>(sim::StoredNumber(tv, "record.timeshift_duration", 0));
}

// The seconds the buffer holds for the stored setting; a setting out of
// range (a damaged state file) is logged and holds the shortest buffer.
int32_t BufferSeconds(const sim::Sim& tv) {
  const int32_t setting = DurationSetting(tv);
  if (setting >= 0 && setting < XPM_TIMESHIFT_DURATIONS) return kTimeshiftBufferSeconds[setting];
  kv::Log("simulated timeshift: duration setting " + std::to_string(setting) + " out of range, buffer of " +
          std::to_string(kTimeshiftBufferSeconds[0]) + " s");
  return kTimeshiftBufferSeconds[0];
}

// The recording statuses that a refused start reports: no USB disk, and
// any other reason (a channel the map lacks, a tuner that records already).
constexpr int32_t kRecordStatusNoDisk = 4;
constexpr int32_t kRecordStatusFailed = 12;

void SendInt(sim::Sim& tv, uint32_t id, int32_t value, int64_t at) { tv.Inject(id, XPM_Int32Payload{value}, at); }

// --- Timers coming due ---------------------------------------------------------
//
// A recording timer (id 1-16, enabled, with days and a duration) has an
// occurrence on each day of its mask at its start time; a one-time timer
// (times type 4) only on its date. The set warns (XPM_EVT_TIMER_RECORD_WARNING
// with the timer id) when the occurrence's start, less its start-early
// seconds, comes; the program answers by making the timer valid and starting
// the recording, which the set ends after the duration and the end delay.

constexpr int32_t kTimesOnce = 4;
constexpr int64_t kDay = 24 * 3600;
// The longest the watch sleeps: a change of the set's clock is seen by then.
constexpr int64_t kWatchNapMs = 10 * 60 * 1000;

int64_t LocalNow(const sim::TvState& s) {
  const sim::BrokenDownTime n = s.LocalTime();
  return sim::LocalTicks(XPM_LocalTime{n.second, n.minute, n.hour, n.day, n.month, n.year, 0, 0, 0});
}

// The recording timers the set holds.
std::vector<std::pair<int32_t, XPM_TimerRecord>> RecordingTimers(const sim::TvState& s) {
  std::vector<std::pair<int32_t, XPM_TimerRecord>> out;
  for (int32_t id = sim::kFirstTimerId; id <= sim::kLastTimerId; ++id) {
    int32_t words[sim::kTimerRecordWords];
    if (s.GetTimer(id, words, "simulated timer watch") != XPM_OK) continue;
    XPM_TimerRecord t;
    std::memcpy(&t, words, sizeof t);
    if (t.enabled != 0 && t.daysOfWeek != 0 && t.duration > 0) out.emplace_back(id, t);
  }
  return out;
}

// The local start of a timer's occurrence on the day starting at
// `midnight`, or -1 when it has none that day.
int64_t OccurrenceOn(const XPM_TimerRecord& t, int64_t midnight) {
  if (t.timesType == kTimesOnce) {
    if (sim::LocalTicks(XPM_LocalTime{0, 0, 0, t.start.day, t.start.month, t.start.year, 0, 0, 0}) != midnight)
      return -1;
  } else if ((t.daysOfWeek & (1 << sim::LocalFromTicks(midnight).weekday)) == 0) {
    return -1;
  }
  return midnight + int64_t{t.start.hour} * 3600 + t.start.minute * 60 + t.start.second;
}

int64_t MidnightOf(int64_t local) { return local - ((local % kDay) + kDay) % kDay; }
int64_t WarningOf(const XPM_TimerRecord& t, int64_t start) { return start - std::max(0, t.startEarly); }
int64_t EndOf(const XPM_TimerRecord& t, int64_t start) { return start + t.duration + std::max(0, t.endDelay); }

// The clock time (ms) at which the local time reaches `local`.
int64_t ClockAt(int64_t local, int64_t localNow) {
  const int64_t ms = kv::Now();
  const int64_t second = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;  // the local time's second began then
  return (second + (local - localNow)) * 1000;
}

void ScheduleWatch(sim::Sim& tv);

// Warns of every timer whose warning time came since the last look, then
// sleeps until the next one.
void WatchTimers(sim::Sim& tv, uint64_t generation) {
  const int64_t now = LocalNow(tv.Tv());
  const auto timers = RecordingTimers(tv.Tv());
  int64_t since = 0;
  {
    std::lock_guard<std::mutex> lock(g_world.Mutex());
    World& w = g_world.Of(tv);
    if (w.watchGeneration != generation) return;  // a newer look is pending
    since = w.watchedUpTo;
    w.watchedUpTo = std::max(w.watchedUpTo, now);
  }
  for (const auto& [id, t] : timers) {
    for (int64_t midnight = MidnightOf(now) - kDay; midnight <= MidnightOf(now); midnight += kDay) {
      const int64_t start = OccurrenceOn(t, midnight);
      if (start < 0) continue;
      const int64_t warn = WarningOf(t, start);
      if (warn > since && warn <= now && now < EndOf(t, start)) {
        kv::Log("simulated timer watch: timer " + std::to_string(id) + " is due");
        SendInt(tv, XPM_EVT_TIMER_RECORD_WARNING, id, -1);
      }
    }
  }
  ScheduleWatch(tv);
}

// Schedules the next look: at the next warning time, at the latest after a nap.
void ScheduleWatch(sim::Sim& tv) {
  const int64_t now = LocalNow(tv.Tv());
  int64_t next = -1;
  for (const auto& [id, t] : RecordingTimers(tv.Tv())) {
    for (int64_t midnight = MidnightOf(now) - kDay; midnight <= MidnightOf(now) + 8 * kDay; midnight += kDay) {
      const int64_t start = OccurrenceOn(t, midnight);
      if (start < 0 || WarningOf(t, start) <= now) continue;
      if (next < 0 || WarningOf(t, start) < next) next = WarningOf(t, start);
      break;  // the first one of this timer is its next
    }
  }
  uint64_t generation = 0;
  {
    std::lock_guard<std::mutex> lock(g_world.Mutex());
    World& w = g_world.Of(tv);
    generation = ++w.watchGeneration;
    if (next < 0) return;  // no timer to wait for
  }
  const int64_t at = std::min(ClockAt(next, now), kv::Now() + kWatchNapMs);
  sim::Sim* owner = &tv;
  tv.Schedule(at, [owner, generation] { WatchTimers(*owner, generation); });
}

// Ends the recording of a tuner: the show is finished, the timer's scheduled
// show waits for its next occurrence (a one-time one is done), and the set
// reports the stop. Runs with the world locked.
int32_t FinishRecording(sim::Sim& tv, World& w, size_t tuner) {
  Recording& r = w.recording[tuner];
  const int32_t seconds = static_cast<int32_t>((kv::Now() - r.startMs) / 1000);
  const int32_t id = r.recordedId;
  if (r.timerId < kManualTimer) sim::SetScheduledShowStatus(tv, r.timerId, r.once ? DB_SHOW_DONE : DB_SHOW_WAITING);
  r = Recording{};
  SendInt(tv, XPM_EVT_PVR_RECORD_STATUS, XPM_RECORD_STATUS_STOPPED, -1);
  return sim::FinishRecordedShow(tv, id, seconds);
}

}  // namespace

namespace sim {

void MountUsbDisk(Sim& tv) {
  std::error_code ec;
  std::filesystem::create_directories(DiskFolder(tv), ec);
  if (ec) kv::Log("simulated USB disk: cannot make " + DiskFolder(tv) + ": " + ec.message());
  {
    std::lock_guard<std::mutex> lock(g_world.Mutex());
    g_world.Of(tv).diskRemoved = false;
  }
  psl::Rescan();  // the media service sees it as a stick
}

void RemoveUsbDisk(Sim& tv) {
  {
    std::lock_guard<std::mutex> lock(g_world.Mutex());
    g_world.Of(tv).diskRemoved = true;
  }
  psl::Rescan();
}

bool UsbDiskMounted(const Sim& tv) {
  std::lock_guard<std::mutex> lock(g_world.Mutex());
  return Mounted(tv, g_world.Of(tv));
}

void TimersChanged(Sim& tv) {
  {
    std::lock_guard<std::mutex> lock(g_world.Mutex());
    World& w = g_world.Of(tv);
    // A set just started looks from now on: what came due while it was off is past.
    if (w.watchedUpTo == 0) w.watchedUpTo = LocalNow(tv.Tv());
  }
  ScheduleWatch(tv);
}

}  // namespace sim

#define REC_ENTER(name, args) \
  SIM_TV_ENTER(name, args);   \
  (void)state;                \
  std::lock_guard<std::mutex> lock(g_world.Mutex());  \
  [[maybe_unused]] World& w = g_world.Of(*tv)

// --- Recorder ------------------------------------------------------------------

int32_t XPM_RECORDING_START(int32_t tuner, int32_t major, int32_t minor, int32_t flags) {
  REC_ENTER("XPM_RECORDING_START", sim::Args(tuner, major, minor, flags));
  if (BadTuner(tuner, kCall)) return XPM_ERR_INVALID_PARAM;
  // The viewer learns of every refusal from the recording status.
  const auto refuse = [&](const std::string& why, int32_t status, int32_t code) {
    kv::Log(std::string(kCall) + ": " + why + ", refused");
    w.valid[static_cast<size_t>(tuner)] = ValidTimer{};
    SendInt(*tv, XPM_EVT_PVR_RECORD_STATUS, status, -1);
    return code;
  };
  // The map the channel comes from: a timer made valid on the tuner records
  // from its own medium, whatever the set shows; any other recording from
  // the medium the tuner receives.
  int32_t medium = state.TunerMedium(tuner);
  if (const int32_t pending = w.valid[static_cast<size_t>(tuner)].timerId; pending >= 0) {
    int32_t words[sim::kTimerRecordWords];
    XPM_TimerRecord t;
    if (state.GetTimer(pending, words, kCall) == XPM_OK) {
      std::memcpy(&t, words, sizeof t);
      medium = t.mapId != 0 ? 1 : 0;
    }
  }
  sim::Channel channel;
  if (state.ChannelInfoOn(medium, major, minor, &channel) != XPM_OK)
    return refuse("channel " + std::to_string(major) + "-" + std::to_string(minor) + " is not in the " +
                      (medium == 1 ? "cable" : "antenna") + " map",
                  kRecordStatusFailed, XPM_ERR_INVALID_PARAM);
  if (!Mounted(*tv, w)) return refuse("no USB disk to record to", kRecordStatusNoDisk, XPM_ERR_FAILED);
  if (w.recording[tuner].timerId >= 0)
    return refuse("tuner " + std::to_string(tuner) + " records already", kRecordStatusFailed, XPM_ERR_FAILED);
  const int64_t now = state.NetworkTime();
  DB_RecordedEntry e{};
  e.status = 1;
  e.tuner = tuner;
  e.major = major;
  e.minor = minor;
  e.mapId = medium;
  e.start = now;
  sim::GuideEvent ev;
  if (sim::GuideEventAt(major, minor, now, &ev)) {
    e.eventId = ev.id;
    e.eventStart = ev.start;
    e.eventDuration = ev.duration;
    e.rating = sim::UsRatingWord(ev);  // the word the guide gives, so that the show reads the same
    sim::CopyCText(e.title, sizeof e.title, ev.title);
    sim::CopyCText(e.description, sizeof e.description, ev.description);
  } else {
    sim::CopyCText(e.title, sizeof e.title, channel.name);
  }
  const std::string path = std::string(sim::kUsbMountPoint) + "/REC_" + std::to_string(now) + "_" +
                           std::to_string(tuner) + ".ts";
  sim::CopyCText(e.path, sizeof e.path, path);
  std::ofstream(tv->TargetPath(path), std::ios::binary);
  int32_t id = 0;
  if (int32_t s = sim::AddRecordedShow(*tv, e, &id); s != DB_OK)
    return refuse("the recording database did not take the show", kRecordStatusFailed, s);
  // The timer made valid for this tuner records until its window ends;
  // any other recording until it is stopped.
  const ValidTimer valid = std::exchange(w.valid[tuner], ValidTimer{});
  w.recording[tuner] = Recording{kManualTimer + tuner, id, kv::Now(), valid.once != 0};
  // The tuner that records receives the recorded channel: a timer's that
  // falls due while another channel is shown takes the picture with it.
  state.TuneForRecording(tuner, medium, major, minor);
  SendInt(*tv, XPM_EVT_PVR_RECORD_STATUS, XPM_RECORD_STATUS_STARTED, -1);
  int32_t words[sim::kTimerRecordWords];
  if (valid.timerId < 0 || state.GetTimer(valid.timerId, words, kCall) != XPM_OK) return XPM_OK;
  XPM_TimerRecord t;
  std::memcpy(&t, words, sizeof t);
  const int64_t local = LocalNow(state);
  for (int64_t midnight = MidnightOf(local) - kDay; midnight <= MidnightOf(local); midnight += kDay) {
    const int64_t start = OccurrenceOn(t, midnight);
    if (start < 0 || local < WarningOf(t, start) || local >= EndOf(t, start)) continue;
    w.recording[tuner].timerId = valid.timerId;
    sim::SetScheduledShowStatus(*tv, valid.timerId, DB_SHOW_RECORDING);
    sim::Sim* owner = tv;
    tv->Schedule(ClockAt(EndOf(t, start), local), [owner, tuner, id] {
      std::lock_guard<std::mutex> l(g_world.Mutex());
      World& world = g_world.Of(*owner);
      if (world.recording[tuner].recordedId == id && world.recording[tuner].timerId >= 0)
        FinishRecording(*owner, world, static_cast<size_t>(tuner));
    });
    break;
  }
  return XPM_OK;
}

int32_t XPM_RECORDING_STOP(int32_t timerId) {
  REC_ENTER("XPM_RECORDING_STOP", sim::Args(timerId));
  // The recording of that timer; else, for 0 or 1, whatever the tuner records.
  for (size_t i = 0; i < w.recording.size(); ++i)
    if (w.recording[i].timerId >= 0 && w.recording[i].timerId == timerId) return FinishRecording(*tv, w, i);
  if (timerId >= 0 && timerId < kTuners && w.recording[static_cast<size_t>(timerId)].timerId >= 0)
    return FinishRecording(*tv, w, static_cast<size_t>(timerId));
  return XPM_ERR_INVALID_PARAM;
}

#define REC_LOGGED(name, ...)                 \
  REC_ENTER(#name, sim::Args(__VA_ARGS__)); \
  return XPM_OK

int32_t XPM_SetActiveTimer(int32_t timerId, int32_t active) { REC_LOGGED(XPM_SetActiveTimer, timerId, active); }

int32_t XPM_Set_Timer_Record_Valid(int32_t once, int32_t tuner, int32_t timerId, int32_t startEarly) {
  REC_ENTER("XPM_Set_Timer_Record_Valid", sim::Args(once, tuner, timerId, startEarly));
  if (BadTuner(tuner, kCall)) return XPM_ERR_INVALID_PARAM;
  w.valid[static_cast<size_t>(tuner)] = ValidTimer{timerId, once};
  return XPM_OK;
}
int32_t XPM_CancelTimerRecord(int32_t timerId) { REC_LOGGED(XPM_CancelTimerRecord, timerId); }
int32_t xpm_setsource_record(int32_t window, int32_t on) { REC_LOGGED(xpm_setsource_record, window, on); }

int32_t XPM_Get_Record_All(int32_t tuner, int32_t* on) {
  REC_ENTER("XPM_Get_Record_All", sim::Args(tuner));
  SIM_TV_NEED(on);
  if (BadTuner(tuner, kCall)) return XPM_ERR_INVALID_PARAM;
  *on = static_cast<int32_t>(sim::StoredNumber(*tv, "record.all." + std::to_string(tuner), 0));
  return XPM_OK;
}

int32_t XPM_Set_Record_All(int32_t tuner, int32_t on) {
  REC_ENTER("XPM_Set_Record_All", sim::Args(tuner, on));
  if (BadTuner(tuner, kCall)) return XPM_ERR_INVALID_PARAM;
  return sim::StoreNumber(*tv, "record.all." + std::to_string(tuner), on != 0) ? XPM_OK : XPM_ERR_FAILED;
}

// --- Tuners, live TV, clock --------------------------------------------------------

int32_t XPM_GetCurrent_TunerId(int32_t* tuner) {
  REC_ENTER("XPM_GetCurrent_TunerId", "");
  SIM_TV_NEED(tuner);
  for (int32_t window = 0; window < kTuners; ++window) {
    int32_t source = 0, type = 0;
    if (state.CurrentSource(window, &source, kCall) == XPM_OK && state.SourceType(source, &type, kCall) == XPM_OK &&
        (type == sim::kSourceTypeTuner || type == sim::kSourceTypeDigitalTuner)) {
      *tuner = window;
      return XPM_OK;
    }
  }
  return XPM_ERR_FAILED;
}

int32_t XPM_Get_TV_State(int32_t window, int32_t* out) {
  REC_ENTER("XPM_Get_TV_State", sim::Args(window));
  SIM_TV_NEED(out);
  if (BadTuner(window, kCall)) return XPM_ERR_INVALID_PARAM;
  const size_t i = static_cast<size_t>(window);
  *out = w.recording[i].timerId >= 0 ? XPM_TV_STATE_RECORD
         : w.timeshift[i].active     ? XPM_TV_STATE_TIMESHIFT
                                     : XPM_TV_STATE_LIVE;
  return XPM_OK;
}

int32_t XPM_GetTempCurrentChannel(int32_t tuner, int32_t map, XPM_VirtualChannel* channel) {
  REC_ENTER("XPM_GetTempCurrentChannel", sim::Args(tuner, map));
  SIM_TV_NEED(channel);
  if (BadTuner(tuner, kCall)) return XPM_ERR_INVALID_PARAM;
  return state.CurrentChannelOn(tuner, map != 0 ? 1 : 0, &channel->major, &channel->minor, kCall);
}

int32_t XPM_GetNetworkTime(int64_t* seconds) {
  REC_ENTER("XPM_GetNetworkTime", "");
  SIM_TV_NEED(seconds);
  *seconds = state.NetworkTime();
  return XPM_OK;
}

int32_t XPM_NetworkSeconds2LocalTime(int64_t seconds, XPM_LocalTime* out) {
  REC_ENTER("XPM_NetworkSeconds2LocalTime", sim::Args(seconds));
  SIM_TV_NEED(out);
  // The local time's offset from the network time now, applied to `seconds`.
  const sim::BrokenDownTime now = state.LocalTime();
  XPM_LocalTime l{now.second, now.minute, now.hour, now.day, now.month, now.year, 0, 0, 0};
  const int64_t offset = sim::LocalTicks(l) - state.NetworkTime();
  *out = sim::LocalFromTicks(seconds + offset);
  out->dst = now.dst;
  return XPM_OK;
}

// --- Guide and the current channel ---------------------------------------------

int32_t XPM_GetCurrentChannelInfo(int32_t window, XPM_CurrentChannelInfo* info) {
  REC_ENTER("XPM_GetCurrentChannelInfo", sim::Args(window));
  SIM_TV_NEED(info);
  int32_t major = 0, minor = 0, quality = 0;
  sim::Channel c;
  if (int32_t s = state.CurrentChannel(window, &major, &minor, kCall); s != XPM_OK) return s;
  if (int32_t s = state.ChannelInfo(major, minor, &c, kCall); s != XPM_OK) return s;
  state.SignalQuality(window, &quality, kCall);
  *info = XPM_CurrentChannelInfo{};
  info->major = c.major;
  info->minor = c.minor;
  info->digital = c.digital;
  sim::CopyCText(info->name, sizeof info->name, c.name);
  info->signalStrength = quality;
  info->caption = c.digital;
  info->excluded = c.excluded;
  info->eventCount = static_cast<int32_t>(sim::GuideEvents(c.major, c.minor, state.NetworkTime(), 64).size());
  sim::GuideEvent e;
  if (sim::GuideEventAt(c.major, c.minor, state.NetworkTime(), &e) && sim::IsRated(e)) {
    info->rating[0] = sim::UsRatingWord(e);
    info->rating[1] = e.canadianRating;
  }
  return XPM_OK;
}

int32_t XPM_GetEventsByFixedCount(int32_t major, int32_t minor, int64_t time, int32_t count, XPM_EventList* list) {
  REC_ENTER("XPM_GetEventsByFixedCount", sim::Args(major, minor, time, count));
  SIM_TV_NEED(list);
  if (count <= 0 || count > 1000) return XPM_ERR_INVALID_PARAM;
  w.lists.push_back(std::make_unique<XPM_EventListImpl>(XPM_EventListImpl{sim::GuideEvents(major, minor, time, count)}));
  *list = w.lists.back().get();
  return XPM_OK;
}

int32_t XPM_GetEventCount(XPM_EventList list, int32_t* count) {
  REC_ENTER("XPM_GetEventCount", "");
  if (!KnownList(w, list)) return XPM_ERR_INVALID_PARAM;
  SIM_TV_NEED(count);
  *count = static_cast<int32_t>(list->events.size());
  return XPM_OK;
}

int32_t XPM_GetEventInfo(XPM_EventList list, int32_t index, XPM_EventRecord* out) {
  REC_ENTER("XPM_GetEventInfo", sim::Args(index));
  if (!KnownList(w, list)) return XPM_ERR_INVALID_PARAM;
  SIM_TV_NEED(out);
  if (index < 0 || index >= static_cast<int32_t>(list->events.size())) return XPM_ERR_INVALID_PARAM;
  const sim::GuideEvent& e = list->events[static_cast<size_t>(index)];
  *out = XPM_EventRecord{};
  out->eventId = e.id;
  out->duration = e.duration;
  out->start = e.start;
  out->rating[0] = sim::UsRatingWord(e);
  out->rating[1] = e.canadianRating;
  out->flags = sim::IsRated(e) ? 1 : 0;
  sim::CopyCText(out->title, sizeof out->title, e.title);
  sim::CopyCText(out->description, sizeof out->description, e.description);
  return XPM_OK;
}

int32_t XPM_ReleaseEvents(XPM_EventList list) {
  REC_ENTER("XPM_ReleaseEvents", "");
  for (auto it = w.lists.begin(); it != w.lists.end(); ++it)
    if (it->get() == list) {
      w.lists.erase(it);
      return XPM_OK;
    }
  kv::Log(std::string(kCall) + ": not a list of the middleware, ignored");
  return XPM_ERR_INVALID_PARAM;
}

namespace {
char* Dup(const std::string& s) {
  auto* p = static_cast<char*>(BKNI_Malloc(s.size() + 1));
  if (p) sim::CopyCText(p, s.size() + 1, s);
  return p;
}
}  // namespace

int32_t XPM_GetCurrentEventInformation(int32_t window, XPM_CurrentEvent* out) {
  REC_ENTER("XPM_GetCurrentEventInformation", sim::Args(window));
  SIM_TV_NEED(out);
  int32_t major = 0, minor = 0;
  if (int32_t s = state.CurrentChannel(window, &major, &minor, kCall); s != XPM_OK) return s;
  sim::GuideEvent e;
  if (!sim::GuideEventAt(major, minor, state.NetworkTime(), &e)) return XPM_ERR_FAILED;
  *out = XPM_CurrentEvent{};
  out->eventId = e.id;
  out->rating[0] = sim::UsRatingWord(e);
  out->rating[1] = e.canadianRating;
  out->title = Dup(e.title);
  out->description = Dup(e.description);
  return XPM_OK;
}

int32_t XPM_GetCurrentChannelRatingInfo(int32_t window, void** block) {
  REC_ENTER("XPM_GetCurrentChannelRatingInfo", sim::Args(window));
  SIM_TV_NEED(block);
  int32_t major = 0, minor = 0;
  if (int32_t s = state.CurrentChannel(window, &major, &minor, kCall); s != XPM_OK) return s;
  sim::GuideEvent e;
  const bool rated = sim::GuideEventAt(major, minor, state.NetworkTime(), &e) && sim::IsRated(e);
  // The outside world may send a longer table than anyone shows: count = the
  // stored "record.alt_ratings" (default 2 for a rated programme).
  const int32_t count = rated ? static_cast<int32_t>(sim::StoredNumber(*tv, "record.alt_ratings", 2)) : 0;
  const size_t bytes = sizeof(XPM_RatingInfoHeader) + sizeof(XPM_RatingDimension) * static_cast<size_t>(count);
  auto* p = static_cast<uint8_t*>(BKNI_Malloc(bytes));
  if (!p) return XPM_ERR_FAILED;
  std::memset(p, 0, bytes);
  auto* header = reinterpret_cast<XPM_RatingInfoHeader*>(p);
  header->rating[0] = rated ? sim::UsRatingWord(e) : 0;
  header->rating[1] = rated ? e.canadianRating : 0;
  header->altCount = count;
  // The entries name the downloadable table's dimensions and levels: the
  // programme's TV rating in the first, its movie rating in the MPAA one,
  // the content marks in the others (a table longer than the region's
  // repeats it).
  const sim::RatingRegionTable region = sim::DefaultRatingRegion();
  auto* entries = reinterpret_cast<XPM_RatingDimension*>(p + sizeof(XPM_RatingInfoHeader));
  for (int32_t i = 0; i < count && !region.dimensions.empty(); ++i) {
    const size_t d = static_cast<size_t>(i) % region.dimensions.size();
    const sim::RatingDimensionEntry& dim = region.dimensions[d];
    int32_t level = 1;
    if (d == 0 && e.rating >= 0) level = 2 + e.rating;  // TV-G, TV-PG, TV-14, TV-MA
    if (dim.name == "MPAA" && (sim::UsRatingWord(e) & 0xF) != 0) level = sim::UsRatingWord(e) & 0xF;
    level = std::clamp<int32_t>(level, 1, static_cast<int32_t>(dim.levels.size()) - 1);
    entries[i].dimensionId = static_cast<int32_t>(d);
    entries[i].value = level;
    sim::CopyCText(entries[i].name, sizeof entries[i].name, dim.name);
    sim::CopyCText(entries[i].text1, sizeof entries[i].text1, dim.levels[static_cast<size_t>(level)].abbrev);
    sim::CopyCText(entries[i].text2, sizeof entries[i].text2, dim.levels[static_cast<size_t>(level)].text);
  }
  *block = p;
  return XPM_OK;
}

// --- Timeshift -------------------------------------------------------------------------

int32_t XPM_TIMESHIFT_START(int32_t tuner) {
  REC_ENTER("XPM_TIMESHIFT_START", sim::Args(tuner));
  if (BadTuner(tuner, kCall)) return XPM_ERR_INVALID_PARAM;
  if (!Mounted(*tv, w)) return XPM_ERR_FAILED;
  const int64_t now = kv::Now();
  w.timeshift[tuner] =
      Timeshift{true, now, 0, now, 1, XPM_TIMESHIFT_PLAY_STATE_PLAY, int64_t{BufferSeconds(*tv)} * 1000};
  w.lastTimeshiftTuner = tuner;
  SendInt(*tv, XPM_EVT_PVR_RECORD_STATUS, XPM_TIMESHIFT_STATUS_START, -1);
  return XPM_OK;
}

int32_t XPM_TIMESHIFT_STOP(int32_t tuner) {
  REC_ENTER("XPM_TIMESHIFT_STOP", sim::Args(tuner));
  if (BadTuner(tuner, kCall)) return XPM_ERR_INVALID_PARAM;
  if (!w.timeshift[tuner].active) return XPM_ERR_FAILED;
  w.timeshift[tuner] = Timeshift{};
  return XPM_OK;
}

int32_t Timeshift_KeyProc(int32_t code) {
  REC_ENTER("Timeshift_KeyProc", sim::Args(code));
  Timeshift& t = w.timeshift[static_cast<size_t>(w.lastTimeshiftTuner)];
  if (!t.active) return XPM_ERR_FAILED;
  Advance(t, kv::Now());
  // Again in the same direction: the next rate, the last one back to the first.
  auto faster = [&](int32_t s) {
    t.rate = t.state == s && t.rate >= 2 && t.rate < kLastTrickRate ? t.rate + 1 : 2;
    t.state = s;
  };
  switch (code) {
    case 102: t.state = XPM_TIMESHIFT_PLAY_STATE_PLAY, t.rate = 1; break;
    case 104:
      t.state = t.state == XPM_TIMESHIFT_PLAY_STATE_PAUSE ? XPM_TIMESHIFT_PLAY_STATE_PLAY : XPM_TIMESHIFT_PLAY_STATE_PAUSE;
      t.rate = 1;
      break;
    case 110: faster(XPM_TIMESHIFT_PLAY_STATE_FAST_FORWARD); break;
    case 109: faster(XPM_TIMESHIFT_PLAY_STATE_FAST_BACKWARD); break;
    case 107: case 108: case 114: case 115: break;
    default:
      kv::Log(std::string(kCall) + ": unknown code " + std::to_string(code) + ", ignored");
      return XPM_ERR_INVALID_PARAM;
  }
  return XPM_OK;
}

int32_t XPM_TimeShifting_Status_Check(int32_t tuner, XPM_TimeshiftStatus* out) {
  REC_ENTER("XPM_TimeShifting_Status_Check", sim::Args(tuner));
  SIM_TV_NEED(out);
  if (BadTuner(tuner, kCall)) return XPM_ERR_INVALID_PARAM;
  Timeshift& t = w.timeshift[tuner];
  *out = XPM_TimeshiftStatus{};
  out->tuner = tuner;
  out->recording = w.recording[tuner].timerId >= 0;
  if (!t.active) {
    out->intervalMinutes = BufferSeconds(*tv) / 60;
    return XPM_OK;
  }
  out->intervalMinutes = static_cast<int32_t>(t.capacityMs / 60000);
  const int64_t now = kv::Now();
  Advance(t, now);
  const int64_t buffered = std::min(now - t.startMs, t.capacityMs);
  out->active = 1;
  out->bufferedSeconds = static_cast<int32_t>(buffered / 1000);
  out->positionSeconds = static_cast<int32_t>((buffered - t.lagMs) / 1000);
  out->playRate = t.rate;
  out->playState = t.state;
  out->startTime = static_cast<int32_t>(state.NetworkTime() - (now - t.startMs) / 1000);
  return XPM_OK;
}

int32_t XPM_Get_Timeshift_Interval(int32_t* setting) {
  REC_ENTER("XPM_Get_Timeshift_Interval", "");
  SIM_TV_NEED(setting);
  *setting = DurationSetting(*tv);
  return XPM_OK;
}

int32_t XPM_Set_Timeshift_Interval(int32_t setting) {
  REC_ENTER("XPM_Set_Timeshift_Interval", sim::Args(setting));
  if (setting < 0 || setting >= XPM_TIMESHIFT_DURATIONS) return XPM_ERR_INVALID_PARAM;
  return sim::StoreNumber(*tv, "record.timeshift_duration", setting) ? XPM_OK : XPM_ERR_FAILED;
}

// --- USB disk and files ------------------------------------------------------------

int32_t XPM_Get_USB_MountPoint(int32_t* mounted, char* mountPoint) {
  REC_ENTER("XPM_Get_USB_MountPoint", "");
  SIM_TV_NEED(mounted);
  *mounted = Mounted(*tv, w);
  if (mountPoint) sim::CopyCText(mountPoint, XPM_USB_PATH_MAX, *mounted ? sim::kUsbMountPoint : "");
  return XPM_OK;
}

int32_t XPM_Get_USB_MountPoint_File(int32_t* mounted, char* mountPoint, char* fileSystem) {
  REC_ENTER("XPM_Get_USB_MountPoint_File", "");
  SIM_TV_NEED(mounted);
  SIM_TV_NEED(mountPoint);
  SIM_TV_NEED(fileSystem);
  *mounted = Mounted(*tv, w);
  sim::CopyCText(mountPoint, XPM_USB_PATH_MAX, *mounted ? sim::kUsbMountPoint : "");
  sim::CopyCText(fileSystem, XPM_USB_FS_MAX, *mounted ? "vfat" : "");
  return XPM_OK;
}

int32_t XPM_CheckUSB_Space(const char* mountPoint, uint64_t* total, uint64_t* free) {
  REC_ENTER("XPM_CheckUSB_Space", sim::Args(mountPoint));
  SIM_TV_NEED(total);
  SIM_TV_NEED(free);
  if (!mountPoint || std::string(mountPoint) != sim::kUsbMountPoint || !Mounted(*tv, w)) return XPM_ERR_FAILED;
  // The simulated disk's own size (state key usb.capacity, in bytes), less
  // what its files take: the same on every machine, whatever the file
  // system the folder lies on has free.
  const int64_t capacity = sim::StoredNumber(*tv, "usb.capacity", sim::kUsbCapacity);
  uint64_t used = 0;
  std::error_code ec;
  for (std::filesystem::recursive_directory_iterator it(DiskFolder(*tv), ec), end; !ec && it != end; it.increment(ec))
    if (it->is_regular_file(ec)) used += it->file_size(ec);
  if (ec) {
    kv::Log(std::string(kCall) + ": " + ec.message());
    return XPM_ERR_FAILED;
  }
  *total = capacity > 0 ? static_cast<uint64_t>(capacity) : 0;
  *free = *total > used ? *total - used : 0;
  return XPM_OK;
}

int32_t XPM_USB_Format_Start(void) {
  REC_ENTER("XPM_USB_Format_Start", "");
  if (!Mounted(*tv, w)) return XPM_ERR_FAILED;
  const std::string answer = tv->GetState("usb.format");
  if (answer == "none") return XPM_OK;
  const int32_t result = static_cast<int32_t>(sim::StoredNumber(*tv, "usb.format", 0));
  if (result != 0) {
    SendInt(*tv, XPM_EVT_PVR_USB_FORMAT, result, kv::Now() + sim::kUsbFormatMs);
    return XPM_OK;
  }
  // The recordings go with the disk's files.
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(DiskFolder(*tv), ec))
    std::filesystem::remove_all(entry.path(), ec);
  std::vector<std::string> gone;
  for (const auto& [key, value] : tv->StateWithPrefix("db.rec.")) gone.push_back(key);
  tv->UpdateState({}, gone);
  SendInt(*tv, XPM_EVT_PVR_USB_FORMAT, ec ? 1 : 0, kv::Now() + sim::kUsbFormatMs);
  return XPM_OK;
}

int32_t XPM_USB_Test(void) {
  REC_ENTER("XPM_USB_Test", "");
  if (!Mounted(*tv, w) || w.testing) return XPM_ERR_FAILED;
  w.testing = true;
  const uint64_t generation = ++w.testGeneration;
  if (tv->GetState("usb.test") == "none") return XPM_OK;
  sim::Sim* owner = tv;
  tv->Schedule(kv::Now() + sim::kUsbTestMs, [owner, generation] {
    {
      std::lock_guard<std::mutex> l(g_world.Mutex());
      World& now = g_world.Of(*owner);
      if (!now.testing || now.testGeneration != generation) return;
      now.testing = false;
    }
    SendInt(*owner, XPM_EVT_PVR_PERF_STATUS, sim::kUsbSpeed, -1);
  });
  return XPM_OK;
}

// Aborting when no test runs (it has finished already) changes nothing.
int32_t XPM_USB_Test_Abort(void) {
  REC_ENTER("XPM_USB_Test_Abort", "");
  w.testing = false;
  return XPM_OK;
}

int32_t XPM_Delete_File(const char* path) {
  REC_ENTER("XPM_Delete_File", sim::Args(path));
  const std::string file = DiskFile(*tv, w, path, kCall);
  std::error_code ec;
  if (file.empty()) return XPM_ERR_INVALID_PARAM;
  if (!std::filesystem::exists(file, ec)) return XPM_ERR_NOT_FOUND;
  if (!std::filesystem::is_regular_file(file, ec)) return XPM_ERR_INVALID_PARAM;
  return std::filesystem::remove(file, ec) ? XPM_OK : XPM_ERR_FAILED;
}

int32_t XPM_Get_File_Size(const char* path, uint64_t* size) {
  REC_ENTER("XPM_Get_File_Size", sim::Args(path));
  SIM_TV_NEED(size);
  const std::string file = DiskFile(*tv, w, path, kCall);
  std::error_code ec;
  if (file.empty()) return XPM_ERR_INVALID_PARAM;
  if (!std::filesystem::exists(file, ec)) return XPM_ERR_NOT_FOUND;
  const uintmax_t n = std::filesystem::file_size(file, ec);
  if (ec) return XPM_ERR_FAILED;
  *size = n;
  return XPM_OK;
}
