// The simulated set's update service, over the Sim's persistent state:
// "upd.check" is how it answers a check: a result code (0 success, 5000 no
// newer version, other values failures) or "none" (it never answers); unset
// it answers 5000. "upd.check.delay" is the answer's delay in ms (3000 when
// unset). "upd.progress" is the progress of a running update (0 when unset).
#include <string>

#include "platform/sim/sim.h"
#include "platform/xpm/xpm.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "platform/xpm/xpm_update.h"
#include "runtime/clock.h"

namespace {

constexpr int32_t kNoNewerVersion = 5000;
constexpr int32_t kAnswerDelay = 3000;

#define UPD_ENTER(name, args)                                                   \
  sim::Sim* tv = sim::Sim::Current();                                          \
  if (auto fail = sim::EnterCall(name, args, XPM_ERR_NOT_READY)) return *fail; \
  if (!tv) return XPM_ERR_NOT_READY

// The stored number, or `fallback` when unset or not a number.
int32_t Number(const sim::Sim& tv, const std::string& key, int32_t fallback, bool* isNumber = nullptr) {
  const std::string v = tv.GetState(key);
  if (isNumber) *isNumber = false;
  try {
    size_t used = 0;
    const int32_t n = std::stoi(v, &used);
    if (used != v.size()) return fallback;
    if (isNumber) *isNumber = true;
    return n;
  } catch (...) {
    return fallback;
  }
}

}  // namespace

int32_t XPM_StartUpdateCheck(int32_t mode) {
  UPD_ENTER("XPM_StartUpdateCheck", sim::Args(mode));
  const std::string answer = tv->GetState("upd.check");
  if (answer == "none") return XPM_OK;
  bool isNumber = false;
  const int32_t code = Number(*tv, "upd.check", kNoNewerVersion, &isNumber);
  const int32_t delay = Number(*tv, "upd.check.delay", kAnswerDelay);
  tv->Inject(XPM_EVT_UBN_RESULT, XPM_Int32Payload{isNumber ? code : kNoNewerVersion},
             kv::GetClock().Now() + (delay < 0 ? 0 : delay));
  return XPM_OK;
}

int32_t XPM_GetUpdateProgress(int32_t* percent) {
  UPD_ENTER("XPM_GetUpdateProgress", "");
  if (!percent) return XPM_ERR_INVALID_PARAM;
  const int32_t p = Number(*tv, "upd.progress", 0);
  *percent = p < 0 ? 0 : (p > 100 ? 100 : p);
  return XPM_OK;
}
