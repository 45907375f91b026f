#include "platform/os/runners.h"

#include "platform/sim/sim.h"
#include "runtime/trace.h"

int32_t flashlite_runner_init(void) {
  if (auto fail = sim::EnterCall("flashlite_runner_init", "", 1)) return *fail;
  kv::Log("flashlite runner: the Flash Lite player would start now");
  return 0;
}

int32_t vudu_runner_init(void) {
  if (auto fail = sim::EnterCall("vudu_runner_init", "", 1)) return *fail;
  kv::Log("video-service runner: the video-service application would start now");
  return 0;
}
