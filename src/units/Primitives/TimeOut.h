// The one-shot time-out timer that screens and sub-systems share the rules of:
// a value of 0 means no time-out; negative values count as 0; resetting
// restarts it only while it runs.
#pragma once

#include <cstdint>

namespace Core {
class Timer;
}

namespace Primitives {

// Restarts the timer from its begin delay when it is running.
void ResetTimeOut(Core::Timer& timer);
// Starts (when `on` and the value is positive) or stops the timer.
void SwitchTimeOut(Core::Timer& timer, int32_t value, bool on);
// Makes the timer a one-shot of `ms` (0: none) and returns the value stored;
// `who` names the caller in the log line for a negative value.
int32_t ConfigureTimeOut(Core::Timer& timer, int32_t ms, const char* who);

}  // namespace Primitives
