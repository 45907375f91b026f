#include "host/script_events.h"

#include <algorithm>
#include <cstdint>
#include <ctime>

#include "platform/sim/sim.h"
#include "platform/sim/sim_3d_status.h"
#include "platform/sim/sim_net_state.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm_events.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_record.h"
#include "platform/xpm/xpm_settings.h"
#include "runtime/auto_object.h"
#include "runtime/trace.h"
#include "units/Wrapper/Wrapper.h"

namespace host {

namespace {

// The middleware's 3D format of a side-by-side picture.
constexpr int32_t kSideBySide = 2;

// A copy of `text` into a fixed field, cut and ended with a nul.
template <size_t N>
void CopyText(char (&field)[N], std::string_view text) {
  const size_t n = std::min(text.size(), N - 1);
  std::copy_n(text.data(), n, field);
  field[n] = '\0';
}

// The set's local time `seconds` from now, as the timer records hold it.
XPM_LocalTime LocalTimeFromNow(sim::Sim& tv, int64_t seconds) {
  const sim::BrokenDownTime now = tv.Tv().LocalTime();
  std::tm t{};
  t.tm_sec = now.second;
  t.tm_min = now.minute;
  t.tm_hour = now.hour;
  t.tm_mday = now.day;
  t.tm_mon = now.month;
  t.tm_year = now.year;
  const std::time_t later = timegm(&t) + seconds;
  std::tm l{};
  gmtime_r(&later, &l);
  return XPM_LocalTime{0, l.tm_min, l.tm_hour, l.tm_mday, l.tm_mon, l.tm_year, l.tm_wday, l.tm_yday, 0};
}

// A one-time timer, 30 minutes on the channel window 0 shows, that starts at
// the next minute but one: stored in the first free record.
bool StoreTimerDue(sim::Sim& tv, Wrapper::Wrapper& wrapper) {
  XPM_TimerRecord record{};
  record.enabled = 1;
  record.start = LocalTimeFromNow(tv, 120);
  record.duration = 30 * 60;
  record.daysOfWeek = 0;
  record.timesType = 4;  // once, on its date
  record.source = wrapper.GetCurrentSource(0);
  XPM_VirtualChannel channel{};
  if (XPM_GetCurrentChannel(0, &channel) == XPM_OK) {
    record.major = channel.major;
    record.minor = channel.minor;
  }
  record.sourceType = 1;
  int32_t medium = 0;
  if (tv.Tv().Get(sim::Setting::kMedium, 0, &medium, "key script") == XPM_OK) record.mapId = medium;
  for (int32_t id = sim::kFirstTimerId; id <= sim::kLastTimerId; ++id) {
    XPM_TimerRecord old{};
    if (XPM_GetTimer(id, &old) == XPM_OK && old.enabled) continue;
    return XPM_SetTimer(id, record) == XPM_OK;
  }
  return false;
}

}  // namespace

const std::vector<std::string>& ScriptEventNames() {
  static const std::vector<std::string> names = {"update-reminder", "update-found",  "timer-due",
                                                 "recording-ends",  "sleep-warning", "sleep-ends",
                                                 "3d-signal"};
  return names;
}

bool IsScriptEvent(std::string_view name) {
  const auto& n = ScriptEventNames();
  return std::find(n.begin(), n.end(), name) != n.end();
}

bool RunScriptEvent(std::string_view name) {
  sim::Sim* tv = sim::Sim::Current();
  auto* wrapper = kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper);
  bool done = false;
  if (!tv) {
  } else if (name == "update-reminder") {
    tv->Inject(XPM_EVT_UBN_UPDATE_REMIND, nullptr, 0);
    done = true;
  } else if (name == "update-found") {
    XPM_PathPayload path{};
    CopyText(path.path, "/mnt/usb/sda1/update.bin");
    tv->Inject(XPM_EVT_UBN_MEDIA_INSERTED, path);
    done = true;
  } else if (name == "timer-due") {
    done = wrapper && StoreTimerDue(*tv, *wrapper);
  } else if (name == "recording-ends") {
    tv->Inject(XPM_EVT_PVR_RECORD_STATUS, XPM_Int32Payload{XPM_RECORD_STATUS_STOPPED});
    done = true;
  } else if (name == "3d-signal") {
    // The input starts to carry a side-by-side 3D picture, and the set says so.
    tv->Net().SetInput3DFormat(kSideBySide);
    sim::Send3DStatus(*tv, kSideBySide);
    done = true;
  } else if (name == "sleep-warning" || name == "sleep-ends") {
    done = wrapper && wrapper->SetSleepTimer(name == "sleep-warning" ? 2 : 1) == 0;
  }
  if (!done) kv::Log("key script: event " + std::string(name) + " did not happen");
  return done;
}

}  // namespace host
