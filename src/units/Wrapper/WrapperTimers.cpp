// Application timers (ten minute counters on one shared tick), the sleep
// timer, the timer records kept by the middleware, and the clock.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/xpm/xpm_settings.h"
#include "runtime/auto_object.h"
#include "runtime/clock.h"
#include "runtime/string.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "runtime/trace_level.h"
#include "strings/Wrapper.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/Constants.h"
#include "units/Core/Group.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/Structures/AMPMHour.h"
#include "units/Structures/LocalTime.h"
#include "units/Structures/Message.h"
#include "units/Structures/TimerData.h"
#include "units/Wrapper/Wrapper.h"
#include "units/Wrapper/WrapperInternal.h"

namespace Wrapper {

using detail::CopyTime;
using detail::FromMiddleware;
using detail::ToMiddleware;
using detail::TraceInt;

namespace detail {

XPM_LocalTime ToMiddleware(const Structures::LocalTime* t) {
  XPM_LocalTime out;
  std::memset(&out, 0, sizeof out);
  if (!t) return out;
  out.second = t->Second;
  out.minute = t->Minute;
  out.hour = t->Hour;
  out.day = t->Day;
  out.month = t->Month;
  out.year = t->Year;
  out.weekday = t->Weekday;
  out.yearDay = t->YearDay;
  out.dst = t->DaylightSaving;
  return out;
}

Structures::LocalTime* FromMiddleware(const XPM_LocalTime& t) {
  auto* out = kv::New<Structures::LocalTime>();
  out->Second = t.second;
  out->Minute = t.minute;
  out->Hour = t.hour;
  out->Day = t.day;
  out->Month = t.month;
  out->Year = t.year;
  out->Weekday = t.weekday;
  out->YearDay = t.yearDay;
  out->DaylightSaving = t.dst;
  return out;
}

Structures::LocalTime* FromMiddlewareAsBefore(const XPM_LocalTime& t, Structures::LocalTime* before) {
  if (before) {
    const XPM_LocalTime held = ToMiddleware(before);
    if (std::memcmp(&held, &t, sizeof held) == 0) return before;
  }
  return FromMiddleware(t);
}

Structures::LocalTime* CopyTime(const Structures::LocalTime* t) {
  return t ? FromMiddleware(ToMiddleware(t)) : nullptr;
}

}  // namespace detail

namespace {

constexpr int32_t kEmptyTimerTimesType = 2;
constexpr int32_t kEmptyTimerDuration = 3600;

bool ValidSlot(int32_t slot) { return slot >= 0 && slot < APP_TIMER_SLOTS; }

void TraceTimer(const Structures::TimerData* r) {
  if (!kv::DebugTraces()) return;  // the record's line is not built for nothing
  kv::Trace("%s%u%u%u%u%i%i%b%i%u",
            {kv::LoadString(T_TIMER_RECORD), static_cast<uint32_t>(r->Id), static_cast<uint32_t>(r->Duration),
             static_cast<uint32_t>(r->DaysOfWeek), static_cast<uint32_t>(r->Source), r->ChannelMajor,
             r->ChannelMinor, r->Enable != 0, r->Extra2, static_cast<uint32_t>(r->MapId)});
}

}  // namespace

// --- Application timers --------------------------------------------------------------

int32_t Wrapper::SetApplicationTimer(int32_t slot, int32_t minutes, const kv::RefInt32& ref) {
  if (!ValidSlot(slot)) return 0;
  if (OSDLock) return 1;
  ApplicationTimerCounts[slot] = minutes;
  if (minutes < 1) {
    ApplicationTimerRefs[slot] = kv::NullRef();
    return 0;
  }
  if (!ref.IsNull()) {
    ApplicationTimerRefs[slot] = ref;
    kv::OnSetInt32(ref, minutes);
  }
  // The slot's first minute runs from now; the other slots keep theirs.
  ApplicationTimerDue[slot] = kv::GetClock().Now() + APP_TIMER_PERIOD_MS;
  ScheduleApplicationTimer();
  return 0;
}

int32_t Wrapper::GetApplicationTimer(int32_t slot) { return ValidSlot(slot) ? ApplicationTimerCounts[slot] : 0; }

void Wrapper::ScheduleApplicationTimer() {
  int64_t next = 0;
  bool any = false;
  for (int32_t slot = 0; slot < APP_TIMER_SLOTS; ++slot) {
    if (ApplicationTimerRefs[slot].IsNull()) continue;
    next = any ? std::min(next, ApplicationTimerDue[slot]) : ApplicationTimerDue[slot];
    any = true;
  }
  if (!any) {
    ApplicationTimer.OnSetEnabled(false);
    return;
  }
  const int64_t wait = std::max<int64_t>(0, next - kv::GetClock().Now());
  ApplicationTimer.Restart(static_cast<int32_t>(std::min<int64_t>(wait, APP_TIMER_PERIOD_MS)), APP_TIMER_PERIOD_MS);
}

void Wrapper::ApplicationTimerOut(kv::Object*) {
  const int64_t now = kv::GetClock().Now();
  for (int32_t slot = 0; slot < APP_TIMER_SLOTS; ++slot) {
    // A copy: the property's setter may restart or stop this very slot.
    kv::RefInt32 ref = ApplicationTimerRefs[slot];
    if (ref.IsNull() || ApplicationTimerDue[slot] > now) continue;
    // The next minute is set before the setter runs, which may start the
    // slot again from now. A late tick counts the minutes missed one a pass.
    ApplicationTimerDue[slot] += APP_TIMER_PERIOD_MS;
    kv::OnSetInt32(ref, kv::OnGetInt32(ref) - 1);
  }
  // The tick goes on while a slot has minutes left; a slot at 0 or below
  // counts on (-1, -2 ...) only while another one runs.
  bool running = false;
  for (int32_t slot = 0; slot < APP_TIMER_SLOTS; ++slot)
    if (!ApplicationTimerRefs[slot].IsNull() && kv::OnGetInt32(ApplicationTimerRefs[slot]) >= 1) running = true;
  if (running)
    ScheduleApplicationTimer();
  else
    ApplicationTimer.OnSetEnabled(false);
}

int32_t Wrapper::SetSleepTimer(int32_t minutes) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceInt(T_SET_SLEEP_TIMER, minutes);
  int32_t status = SetApplicationTimer(
      APP_TIMER_SLEEP, minutes, kv::MakeRef(this, &Wrapper::OnGetRemainSleepTime, &Wrapper::OnSetRemainSleepTime));
  // Cancelled: nothing is left of it (written directly, since the setter
  // would send the set to standby).
  if (minutes < 1) RemainSleepTime = 0;
  return status;
}

void Wrapper::OnSetRemainSleepTime(int32_t minutes) {
  TraceInt(T_REMAIN_SLEEP_TIME, minutes);
  RemainSleepTime = minutes;
  if (minutes != 0 || !Root) return;
  auto* event = kv::New<Events::XPM_EVENT_STANDBY>();
  event->Reason = STANDBY_REASON_SLEEP_TIMER;
  Root->DispatchEvent(event);
}

void Wrapper::OnSetRemainScreenSaverTime(int32_t minutes) {
  TraceInt(T_REMAIN_SCREEN_SAVER_TIME, minutes);
  RemainScreenSaverTime = minutes;
  if (minutes != 0) return;
  auto* message = kv::New<Structures::Message>();
  message->Initialize(Constants::MSG_ENTER_SCREEN_SAVER, nullptr);
  auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent);
  if (agent) agent->DispatchTo(message, KV_LATE_CLASS("NonMenuSystem::NonMenuSystem"));
}

// --- Timer records -----------------------------------------------------------------------

namespace {

// Timer `id` as the set stores it; false when there is none.
bool ReadTimerRecord(int32_t id, XPM_TimerRecord* record) {
  std::memset(record, 0, sizeof *record);
  // A slot the set has never stored answers "invalid": a question answered
  // no (the first free timer often is one), not a fault to report.
  const int32_t status = XPM_GetTimer(id, record);
  if (status == XPM_ERR_INVALID_PARAM) return false;
  return detail::Checked("XPM_GetTimer", status) == 0;
}

}  // namespace

Structures::TimerData* Wrapper::GetTimer(int32_t id) {
  XPM_TimerRecord record;
  if (!ReadTimerRecord(id, &record)) return nullptr;
  auto* timer = kv::New<Structures::TimerData>();
  timer->Id = id;
  timer->Extra1 = record.extra1;
  timer->Enable = record.enabled != 0 ? 1 : 0;
  timer->StartTime = FromMiddleware(record.start);
  timer->Duration = record.duration;
  timer->DaysOfWeek = record.daysOfWeek;
  timer->Source = record.source;
  timer->ChannelMajor = static_cast<int16_t>(record.major);
  timer->ChannelMinor = static_cast<int16_t>(record.minor);
  timer->Extra2 = record.extra2;
  timer->TimesType = record.timesType;
  timer->Extra3 = record.extra3;
  timer->SourceType = record.sourceType;
  timer->MapId = record.mapId;
  timer->StartEarly = record.startEarly;
  timer->EndDelay = record.endDelay;
  if (UseTimerCache) ActiveTimer = timer;
  TraceTimer(timer);
  return timer;
}

int32_t Wrapper::SetTimer(Structures::TimerData* timer) {
  if (int32_t lock = GetOSDLock()) return lock;
  if (!timer) {
    if (!UseTimerCache || !ActiveTimer) return 1;
    timer = ActiveTimer;
  }
  TraceTimer(timer);
  XPM_TimerRecord record;
  std::memset(&record, 0, sizeof record);
  record.extra1 = timer->Extra1;
  record.enabled = timer->Enable != 0 ? 1 : 0;
  record.start = ToMiddleware(timer->StartTime);
  record.duration = timer->Duration;
  record.daysOfWeek = timer->DaysOfWeek;
  record.source = timer->Source;
  record.major = timer->ChannelMajor;
  record.minor = timer->ChannelMinor;
  record.extra2 = timer->Extra2;
  record.timesType = timer->TimesType;
  record.extra3 = timer->Extra3;
  record.sourceType = timer->SourceType;
  record.mapId = timer->MapId;
  record.startEarly = timer->StartEarly;
  record.endDelay = timer->EndDelay;
  return XPM_CALL(XPM_SetTimer, timer->Id, record);
}

bool Wrapper::IsTimerValid(int32_t id) {
  Structures::TimerData* timer = GetTimer(id);
  return timer && timer->DaysOfWeek > 0;
}

bool Wrapper::PeekTimerShown(int32_t id, Structures::LocalTime* known, TimerShown* out) {
  XPM_TimerRecord record;
  if (!out || !ReadTimerRecord(id, &record)) return false;
  out->Start = detail::FromMiddlewareAsBefore(record.start, known);
  out->Duration = record.duration;
  out->Source = record.source;
  out->ChannelMajor = static_cast<int16_t>(record.major);
  out->ChannelMinor = static_cast<int16_t>(record.minor);
  out->MapId = record.mapId;
  out->Enable = record.enabled != 0 ? 1 : 0;
  out->TimesType = record.timesType;
  out->SourceType = record.sourceType;
  return true;
}

int32_t Wrapper::GetFirstAvailableTimerId() {
  int32_t id = -1;
  if (XPM_CALL(DB_Get_TimerId, &id) != 0) return -1;
  OnSetActiveTimerId(id);
  return id;
}

void Wrapper::OnSetActiveTimerId(int32_t id) {
  ActiveTimerId = id;
  ActiveTimer = GetTimer(id);
  // A slot the set has never stored is an empty timer, as a cleared slot
  // holds it (weekdays, one hour, no channel): the editor fills it.
  if (!ActiveTimer && UseTimerCache && id >= 0) {
    ActiveTimer = kv::New<Structures::TimerData>();
    ActiveTimer->StartTime = kv::New<Structures::LocalTime>();
    ActiveTimer->TimesType = kEmptyTimerTimesType;
    ActiveTimer->Duration = kEmptyTimerDuration;
    ActiveTimer->ChannelMajor = -1;
    ActiveTimer->ChannelMinor = -1;
    ActiveTimer->Source = -1;
  }
  if (ActiveTimer) ActiveTimer->Id = id;
}

Structures::TimerData* Wrapper::TimerRecordForRead() {
  if (UseTimerCache && ActiveTimer) return ActiveTimer;
  return GetTimer(ActiveTimerId);
}

template <class F>
void Wrapper::WriteTimerRecord(F write) {
  if (UseTimerCache && ActiveTimer) {
    write(ActiveTimer.get());
    return;
  }
  Structures::TimerData* timer = GetTimer(ActiveTimerId);
  if (!timer) return;  // no record to change
  write(timer);
  SetTimer(timer);
}

void Wrapper::OnSetEnableTimer(int32_t flag) {
  EnableTimer = flag;
  WriteTimerRecord([flag](Structures::TimerData* t) { t->Enable = flag != 0 ? 1 : 0; });
}

int32_t Wrapper::OnGetEnableTimer() {
  if (Structures::TimerData* t = TimerRecordForRead()) EnableTimer = t->Enable != 0 ? 1 : 0;
  return EnableTimer;
}

void Wrapper::OnSetTimerChannel(int32_t number) {
  TimerChannel = number;
  WriteTimerRecord([number](Structures::TimerData* t) {
    t->ChannelMajor = SplitChannelNum(number, true);
    t->ChannelMinor = SplitChannelNum(number, false);
  });
}

int32_t Wrapper::OnGetTimerChannel() {
  if (Structures::TimerData* t = TimerRecordForRead()) TimerChannel = UniteChannelNum(t->ChannelMajor, t->ChannelMinor);
  return TimerChannel;
}

void Wrapper::OnSetTimerStartTime(Structures::LocalTime* time) {
  TimerStartTime = time;
  // The record gets its own copy, so that later changes of the caller's
  // object do not reach an unsaved record.
  WriteTimerRecord([time](Structures::TimerData* t) { t->StartTime = CopyTime(time); });
}

Structures::LocalTime* Wrapper::OnGetTimerStartTime() {
  if (Structures::TimerData* t = TimerRecordForRead()) TimerStartTime = t->StartTime;
  return TimerStartTime;
}

// A timer-record property: the cache field Timer<F> and the record's field F.
#define WRAPPER_TIMER_FIELD(F)                                            \
  void Wrapper::OnSetTimer##F(int32_t v) {                                \
    Timer##F = v;                                                         \
    WriteTimerRecord([v](Structures::TimerData* t) { t->F = v; });        \
  }                                                                       \
  int32_t Wrapper::OnGetTimer##F() {                                      \
    if (Structures::TimerData* t = TimerRecordForRead()) Timer##F = t->F; \
    return Timer##F;                                                      \
  }

WRAPPER_TIMER_FIELD(Source)
WRAPPER_TIMER_FIELD(Duration)
WRAPPER_TIMER_FIELD(DaysOfWeek)
WRAPPER_TIMER_FIELD(TimesType)
WRAPPER_TIMER_FIELD(SourceType)
WRAPPER_TIMER_FIELD(MapId)
WRAPPER_TIMER_FIELD(StartEarly)
WRAPPER_TIMER_FIELD(EndDelay)

#undef WRAPPER_TIMER_FIELD

// --- Clock ------------------------------------------------------------------------------------

Structures::LocalTime* Wrapper::GetCurrentTime() {
  XPM_LocalTime t;
  std::memset(&t, 0, sizeof t);
  if (XPM_CALL(XPM_GetLocalTime, &t) != 0) std::memset(&t, 0, sizeof t);
  return FromMiddleware(t);
}

int32_t Wrapper::SetCurrentTime(Structures::LocalTime* time) {
  if (int32_t lock = GetOSDLock()) return lock;
  if (!time) {
    kv::Log("Wrapper::SetCurrentTime: no time given");
    return XPM_ERR_INVALID_PARAM;
  }
  XPM_LocalTime t = ToMiddleware(time);
  char line[192];
  std::snprintf(line, sizeof line,
                "Set time to XPM with sec[%ld] min[%ld] hour[%ld] day[%ld] mon[%ld] year[%ld] wday[%ld ]yday[%ld] "
                "dst[%ld]",
                static_cast<long>(t.second), static_cast<long>(t.minute), static_cast<long>(t.hour),
                static_cast<long>(t.day), static_cast<long>(t.month), static_cast<long>(t.year),
                static_cast<long>(t.weekday), static_cast<long>(t.yearDay), static_cast<long>(t.dst));
  kv::Log(line);
  return XPM_CALL(XPM_SetLocalTime, &t);
}

int32_t Wrapper::ConvertAMPMTo24Hour(int32_t hour, bool isAM) {
  int32_t h = hour == 12 ? 0 : hour;
  return isAM ? h : h + 12;
}

Structures::AMPMHour* Wrapper::Convert24HourToAMPM(int32_t hour) {
  auto* out = kv::New<Structures::AMPMHour>();
  int32_t h = ((hour % 24) + 24) % 24;
  if (h != hour) kv::Log("Wrapper::Convert24HourToAMPM: hour " + std::to_string(hour) + " taken modulo 24");
  if (h == 0) {
    out->Hour = 12;
    out->AM = 1;
  } else if (h < 12) {
    out->Hour = h;
    out->AM = 1;
  } else {
    out->Hour = h == 12 ? 12 : h - 12;
    out->AM = 0;
  }
  return out;
}

kv::String Wrapper::GetTimeAMPM(int32_t hour, int32_t minute) {
  Structures::AMPMHour* ampm = Convert24HourToAMPM(hour);
  kv::String text = kv::ConcatString(kv::NewStringInt(ampm->Hour, 2), kv::LoadString(TIME_SEPARATOR));
  text = kv::ConcatString(text, kv::NewStringInt(minute, 2));
  return kv::ConcatString(text, kv::GetVariantOfString(ampm->AM ? SID_AM : SID_PM));
}

}  // namespace Wrapper
