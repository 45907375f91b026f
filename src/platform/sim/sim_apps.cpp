// TVSM_ReportAsyncEvent, TVSM_GetActiveAppsStatus and TVSM_ResetConnectedApps
// over the Sim's running applications (ManagerState::apps).
#include "platform/sim/sim_apps.h"

#include <algorithm>
#include <cstring>

#include "platform/sim/sim_tv_state.h"
#include "platform/tvsm/tvsm.h"
#include "runtime/trace.h"

namespace {

constexpr const char* kDemoFiles[] = {
    "/VORN/KB200_en.swf", "/VORN/KB200_fr.swf", "/VORN/KB200_sp.swf", "/VORN/KB210_en.swf",
    "/VORN/KB210_fr.swf", "/VORN/KB210_sp.swf", "/VORN/KC300_en.swf", "/VORN/KC300_fr.swf",
    "/VORN/KC300_sp.swf", "/VORN/KA100_en.swf", "/VORN/KA100_fr.swf", "/VORN/KA100_sp.swf",
};

std::string Hex(const void* data, uint32_t length) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(length * 2);
  const auto* p = static_cast<const uint8_t*>(data);
  for (uint32_t i = 0; i < length; ++i) {
    out += kDigits[p[i] >> 4];
    out += kDigits[p[i] & 15];
  }
  return out;
}

bool IsFlashKind(int32_t kind) { return kind == TVSM_APP_FLASH || kind == TVSM_APP_FLASH_2; }

// Flags bit of a widget application started with the start flag set: it runs
// in front, and the widgets key ends it again.
constexpr int32_t kAppFlagFront = 4;

// Under the Sim's mutex: one application of a kind at a time.
void Replace(sim::Sim::ManagerState& mgr, int32_t kind, std::string name, int32_t flags) {
  std::erase_if(mgr.apps, [&](const sim::Sim::RunningApp& a) { return a.kind == kind; });
  mgr.apps.push_back({kind, std::move(name), flags});
}

void Launch(sim::Sim& tv, const TVSM_LaunchMessage& msg) {
  const std::string name(msg.name, strnlen(msg.name, sizeof msg.name));
  int32_t kind = 0;
  switch (msg.type) {
    case TVSM_LAUNCH_FLASH: kind = TVSM_APP_FLASH; break;
    case TVSM_LAUNCH_DOCK: kind = TVSM_APP_DOCK; break;
    case TVSM_LAUNCH_WIDGET: kind = TVSM_APP_WIDGET; break;
    default:
      kv::Log("TVSM: unknown launch type " + std::to_string(msg.type) + ", nothing started");
      return;
  }
  if (kind == TVSM_APP_FLASH && name.starts_with('/')) {
    const std::string file = name.substr(0, name.find(' '));
    if (!sim::IsStoreDemoFile(file)) {
      kv::Log("TVSM: no such Flash file " + kv::EscapedText(file, kv::kMaxLoggedPath) + ", nothing started");
      return;
    }
    kv::Log("TVSM: starting store demo " + kv::EscapedText(file, kv::kMaxLoggedPath));
  }
  {
    std::lock_guard<std::mutex> lock(tv.Mutex());
    auto& mgr = tv.Manager();
    if (IsFlashKind(kind)) std::erase_if(mgr.apps, [](const sim::Sim::RunningApp& a) { return IsFlashKind(a.kind); });
    const bool front = kind == TVSM_APP_WIDGET && msg.flag == TVSM_START_FLAG_SET;
    Replace(mgr, kind, name, front ? kAppFlagFront : 0);
  }
  // The application's screen replaces the picture.
  tv.Tv().AppsChanged();
}

void End(sim::Sim& tv, bool (*match)(int32_t kind)) {
  {
    std::lock_guard<std::mutex> lock(tv.Mutex());
    std::erase_if(tv.Manager().apps, [&](const sim::Sim::RunningApp& a) { return match(a.kind); });
  }
  tv.Tv().AppsChanged();
}

}  // namespace

namespace sim {

std::vector<Sim::RunningApp> RunningApps(Sim& tv) {
  std::lock_guard<std::mutex> lock(tv.Mutex());
  return tv.Manager().apps;
}

void StartApp(Sim& tv, int32_t kind, const std::string& name, int32_t flags) {
  {
    std::lock_guard<std::mutex> lock(tv.Mutex());
    tv.Manager().apps.push_back({kind, name, flags});
  }
  tv.Tv().AppsChanged();
}

void EndApps(Sim& tv, int32_t kind) {
  {
    std::lock_guard<std::mutex> lock(tv.Mutex());
    std::erase_if(tv.Manager().apps, [&](const Sim::RunningApp& a) { return a.kind == kind; });
  }
  tv.Tv().AppsChanged();
}

void ForceActiveAppsCountWord(Sim& tv, int32_t count) {
  std::lock_guard<std::mutex> lock(tv.Mutex());
  tv.Manager().appsCountWord = count;
}

void ClearActiveAppsCountWord(Sim& tv) {
  std::lock_guard<std::mutex> lock(tv.Mutex());
  tv.Manager().appsCountWord.reset();
}

bool IsStoreDemoFile(std::string_view path) {
  return std::find(std::begin(kDemoFiles), std::end(kDemoFiles), path) != std::end(kDemoFiles);
}

std::vector<uint8_t> AsyncPayload(std::string_view logEntry) {
  const size_t open = logEntry.find('"');
  const size_t close = logEntry.rfind('"');
  std::vector<uint8_t> out;
  if (open == std::string_view::npos || close <= open) return out;
  auto nibble = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
  for (size_t i = open + 1; i + 1 < close; i += 2)
    out.push_back(static_cast<uint8_t>(nibble(logEntry[i]) << 4 | nibble(logEntry[i + 1])));
  return out;
}

}  // namespace sim

int32_t TVSM_ReportAsyncEvent(int32_t sender, uint32_t code, const void* data, uint32_t length) {
  std::string args = sim::Args(sender, code, length);
  if (data && length > 0) args += ", \"" + Hex(data, length) + "\"";
  sim::Sim* tv = sim::Sim::Current();
  if (auto fail = sim::EnterCall("TVSM_ReportAsyncEvent", args, 0)) return *fail;
  if (!tv) return 0;
  if (length > 0 && !data) return 0;
  switch (code) {
    case TVSM_ASYNC_LAUNCH_APP:
      if (length != sizeof(TVSM_LaunchMessage)) {
        kv::Log("TVSM: launch message of " + std::to_string(length) + " bytes refused");
        return 0;
      }
      {
        TVSM_LaunchMessage msg;
        std::memcpy(&msg, data, sizeof msg);
        Launch(*tv, msg);
      }
      break;
    case TVSM_ASYNC_SETUP_STATUS:
    case TVSM_ASYNC_SETUP_FINISHED: {
      // Live TV begins after the setup, or at once when it does not run.
      int32_t running = 0;
      if (code == TVSM_ASYNC_SETUP_STATUS && length >= sizeof running) std::memcpy(&running, data, sizeof running);
      // The user interface reports its setup status when it wakes.
      tv->Tv().Wake();
      // Back in normal TV: after standby the main window acquires what it
      // shows again; else a picture that cannot show is reported.
      if (running == 0 && !tv->Tv().WakeUp()) tv->Tv().LiveTvStarts();
      break;
    }
    case TVSM_ASYNC_TERMINATE_FLASH: End(*tv, IsFlashKind); break;
    case TVSM_ASYNC_CLOSE_DOCK: End(*tv, [](int32_t k) { return k == TVSM_APP_DOCK; }); break;
    case TVSM_ASYNC_TERMINATE_WIDGET: End(*tv, [](int32_t k) { return k == TVSM_APP_WIDGET; }); break;
    default: break;
  }
  return 1;
}

int32_t TVSM_GetActiveAppsStatus(void* out, uint32_t size) {
  sim::Sim* tv = sim::Sim::Current();
  if (auto fail = sim::EnterCall("TVSM_GetActiveAppsStatus", sim::Args(size), TVSM_ERR_NOT_READY)) return *fail;
  if (!tv) return TVSM_ERR_NOT_READY;
  if (!out || size < sizeof(TVSM_ActiveApps)) return TVSM_ERR_INVALID_PARAM;
  TVSM_ActiveApps answer;
  std::memset(&answer, 0, sizeof answer);
  std::lock_guard<std::mutex> lock(tv->Mutex());
  const auto& mgr = tv->Manager();
  const size_t n = std::min<size_t>(mgr.apps.size(), TVSM_MAX_ACTIVE_APPS);
  for (size_t i = 0; i < n; ++i) {
    answer.apps[i].type = mgr.apps[i].kind;
    std::strncpy(answer.apps[i].name, mgr.apps[i].name.c_str(), TVSM_APP_NAME_SIZE - 1);
    answer.apps[i].flag = mgr.apps[i].flags;
  }
  answer.count = mgr.appsCountWord ? *mgr.appsCountWord : static_cast<int32_t>(n);
  std::memcpy(out, &answer, sizeof answer);
  return TVSM_OK;
}

int32_t TVSM_ResetConnectedApps(int32_t id) {
  sim::Sim* tv = sim::Sim::Current();
  if (auto fail = sim::EnterCall("TVSM_ResetConnectedApps", sim::Args(id), TVSM_ERR_NOT_READY)) return *fail;
  if (!tv) return TVSM_ERR_NOT_READY;
  return TVSM_OK;
}
