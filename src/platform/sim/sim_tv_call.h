// The start of every middleware call that the television's state serves
// (xpm_settings.h): the call log, a chosen failure, a running Sim.
//
//   int32_t XPM_SetContrast(int32_t window, int32_t value) {
//     SIM_TV_ENTER("XPM_SetContrast", sim::Args(window, value));
//     return state.Set(sim::Setting::kContrast, window, value, kCall);
//   }
//
// Defines `tv` (the Sim), `state` (its TvState) and `kCall` (the name, for
// log lines). A failing call answers its chosen code before touching
// anything; without a Sim the call answers XPM_ERR_NOT_READY.
#pragma once

#include "platform/sim/sim.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm.h"

#define SIM_TV_ENTER(name, args)                                               \
  static constexpr const char* kCall = name;                                   \
  sim::Sim* tv = sim::Sim::Current();                                          \
  if (auto fail = sim::EnterCall(kCall, args, XPM_ERR_NOT_READY)) return *fail; \
  if (!tv) return XPM_ERR_NOT_READY;                                           \
  sim::TvState& state = tv->Tv()

// An out-pointer the call cannot do without.
#define SIM_TV_NEED(ptr)                                                  \
  if (!(ptr)) {                                                           \
    kv::Log(std::string(kCall) + ": no place for the answer, refused");   \
    return XPM_ERR_INVALID_PARAM;                                         \
  }
