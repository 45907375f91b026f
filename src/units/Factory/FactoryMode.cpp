#include "units/Factory/FactoryMode.h"

#include "platform/oam/oam_model.h"
#include "runtime/clock.h"
#include "runtime/trace.h"

int32_t bInFactoryMode = 0;

namespace {

constexpr int32_t kBoardWithoutConsole = 3;
constexpr int32_t kFactoryGpioPin = 75;
constexpr int32_t kGpioSettleMs = 50;

}  // namespace

int32_t FactoryCommandExitMMode() {
  OAM_ModelInfo info{};
  if (kv::LogFailedCall("OAM_GetModelInfo", OAM_GetModelInfo(&info)) == OAM_OK && info.type != kBoardWithoutConsole)
    kv::LogFailedCall("BCM_ControlPrintf", BCM_ControlPrintf(1));
  kv::LogFailedCall("OAM_Led_SetState", OAM_Led_SetState(1));
  kv::LogFailedCall("MPLCore_GpioSetPin", MPLCore_GpioSetPin(kFactoryGpioPin, 0));
  // The pin settles; on a simulated clock that time passes at once.
  kv::Clock& clock = kv::GetClock();
  if (clock.IsSimulated()) clock.AdvanceTo(clock.Now() + kGpioSettleMs);
  else clock.SleepFor(kGpioSettleMs);
  bInFactoryMode = 0;
  int32_t persisted = 0;
  if (kv::LogFailedCall("OAM_GetCustomizedProperty", OAM_GetCustomizedProperty(OAM_CUSTOM_FACTORY_FLAG, &persisted)) ==
          OAM_OK &&
      persisted != 0)
    kv::LogFailedCall("OAM_SetCustomizedProperty", OAM_SetCustomizedProperty(OAM_CUSTOM_FACTORY_FLAG, 0));
  return 1;
}
