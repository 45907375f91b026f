#include "platform/psl/psl.h"

#include "platform/sim/sim.h"

PslHandle globalPsl = nullptr;

#define PSL_ENTER(name, args)                                                   \
  sim::Sim* tv = sim::Sim::Current();                                          \
  if (auto fail = sim::EnterCall(name, args, PSL_ERR_NOT_READY)) return *fail; \
  if (!tv) return PSL_ERR_NOT_READY

int32_t PslInit(PslHandle, void*, int32_t dlna, int32_t renderer, int32_t access) {
  PSL_ENTER("PslInit", sim::Args(dlna, renderer, access));
  return PSL_OK;
}

int32_t PslMediaEnableDLNA(PslHandle, int32_t mode) {
  PSL_ENTER("PslMediaEnableDLNA", sim::Args(mode));
  return PSL_OK;
}
