#include "units/Primitives/TimeOut.h"

#include "units/Core/Log.h"
#include "units/Core/Timer.h"

namespace Primitives {

void ResetTimeOut(Core::Timer& timer) {
  if (timer.IsEnabled()) timer.Activate();
}

void SwitchTimeOut(Core::Timer& timer, int32_t value, bool on) {
  if (on && value > 0) {
    timer.OnSetBegin(value);
    timer.Activate();
  } else {
    timer.OnSetEnabled(false);
  }
}

int32_t ConfigureTimeOut(Core::Timer& timer, int32_t ms, const char* who) {
  if (ms < 0) {
    Core::LogError("%s: negative time-out %i counts as 0", {who, ms});
    ms = 0;
  }
  timer.OnSetPeriod(0);
  if (ms == 0) timer.OnSetEnabled(false);
  timer.OnSetBegin(ms);
  return ms;
}

}  // namespace Primitives
