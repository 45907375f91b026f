#include "platform/oam/oam.h"

#include <string>

#include "platform/sim/sim.h"
#include "runtime/clock.h"
#include "runtime/trace.h"

namespace {

#define OAM_ENTER(name, args)                                                   \
  sim::Sim* tv = sim::Sim::Current();                                          \
  if (auto fail = sim::EnterCall(name, args, OAM_ERR_NOT_READY)) return *fail; \
  if (!tv) return OAM_ERR_NOT_READY

// Logs when the watchdog went unfed for longer than its time-out, then feeds
// it. Only the real clock is judged: a simulated clock jumps ahead of the
// threads that feed the watchdog.
void FeedLocked(sim::Sim::ServicesState& s, int64_t now) {
  if (s.watchdogSeconds > 0 && !kv::GetClock().IsSimulated() && now - s.lastFeed > int64_t(s.watchdogSeconds) * 1000) {
    ++s.watchdogFirings;
    kv::Log("OAM watchdog would fire: not fed for " + std::to_string((now - s.lastFeed) / 1000) + " s (time-out " +
            std::to_string(s.watchdogSeconds) + " s)");
  }
  s.lastFeed = now;
}

}  // namespace

int32_t OAM_InitFeatureConfig(void) {
  OAM_ENTER("OAM_InitFeatureConfig", "");
  std::lock_guard<std::mutex> lock(tv->Mutex());
  tv->Services().featureConfig = true;
  return OAM_OK;
}

int32_t OAM_ReportMonitor(int32_t osdShown, int32_t captionOn) {
  OAM_ENTER("OAM_ReportMonitor", sim::Args(osdShown, captionOn));
  std::lock_guard<std::mutex> lock(tv->Mutex());
  tv->Services().monitorOsd = osdShown;
  tv->Services().monitorCaption = captionOn;
  return OAM_OK;
}

int32_t OAM_WatchdogSetTimeout(int32_t seconds) {
  OAM_ENTER("OAM_WatchdogSetTimeout", sim::Args(seconds));
  if (seconds <= 0) return OAM_ERR_INVALID_PARAM;
  const int64_t now = kv::GetClock().Now();
  std::lock_guard<std::mutex> lock(tv->Mutex());
  auto& s = tv->Services();
  FeedLocked(s, now);
  s.watchdogSeconds = seconds;
  return OAM_OK;
}

int32_t OAM_WatchdogFeed(void) {
  OAM_ENTER("OAM_WatchdogFeed", "");
  const int64_t now = kv::GetClock().Now();
  std::lock_guard<std::mutex> lock(tv->Mutex());
  FeedLocked(tv->Services(), now);
  return OAM_OK;
}
