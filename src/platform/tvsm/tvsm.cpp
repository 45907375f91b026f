#include "platform/tvsm/tvsm.h"

#include <string>

#include "platform/sim/sim.h"
#include "runtime/trace.h"

namespace {

#define TVSM_ENTER(name, args, noSim)                                 \
  sim::Sim* tv = sim::Sim::Current();                                \
  if (auto fail = sim::EnterCall(name, args, noSim)) return *fail;   \
  if (!tv) return noSim

}  // namespace

int32_t TVSM_WaitStandby(void) {
  TVSM_ENTER("TVSM_WaitStandby", "", 0);
  std::unique_lock<std::mutex> lock(tv->Mutex());
  auto& mgr = tv->Manager();
  tv->StateCv().wait(lock, [&] { return mgr.power != sim::Sim::Power::kStandby; });
  return mgr.power == sim::Sim::Power::kOn ? 1 : 0;
}

int32_t TVSM_RegisterProcessCommandCallback(TVSM_ProcessCommandCallback callback) {
  TVSM_ENTER("TVSM_RegisterProcessCommandCallback", sim::Args(callback ? "callback" : nullptr), TVSM_ERR_NOT_READY);
  std::lock_guard<std::mutex> lock(tv->Mutex());
  tv->Manager().command = callback;
  return TVSM_OK;
}

int32_t TVSM_RegisterKeyCallback(TVSM_KeyCallback callback) {
  TVSM_ENTER("TVSM_RegisterKeyCallback", sim::Args(callback ? "callback" : nullptr), TVSM_ERR_NOT_READY);
  std::lock_guard<std::mutex> lock(tv->Mutex());
  tv->Manager().key = callback;
  return TVSM_OK;
}

int32_t TVSM_RegisterOSDStateCallback(TVSM_OSDStateCallback callback) {
  TVSM_ENTER("TVSM_RegisterOSDStateCallback", sim::Args(callback ? "callback" : nullptr), TVSM_ERR_NOT_READY);
  std::lock_guard<std::mutex> lock(tv->Mutex());
  tv->Manager().osd = callback;
  return TVSM_OK;
}

int32_t TVSM_RegisterWindowId(int32_t windowId) {
  TVSM_ENTER("TVSM_RegisterWindowId", sim::Args(windowId), TVSM_ERR_NOT_READY);
  if (windowId <= 0) return TVSM_ERR_INVALID_PARAM;
  std::lock_guard<std::mutex> lock(tv->Mutex());
  tv->Manager().windowId = windowId;
  return TVSM_OK;
}

int32_t TVSM_ReportCommandResult(uint32_t commandId, int32_t result) {
  TVSM_ENTER("TVSM_ReportCommandResult", sim::Args(commandId, result), TVSM_ERR_NOT_READY);
  return TVSM_OK;
}
