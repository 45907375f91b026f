// The front panel's key driver of the simulated set.
#pragma once

#include <cstdint>

namespace sim {

// The platform code the panel sends for a key pressed on it (255 to 261,
// docs/keys.md): while the current Sim's panel is locked
// (XPM_SetFrontPanelLockState 1), every panel key but power is sent as the
// locked-panel code 96; otherwise, and without a running Sim, the code stays
// as it is.
int32_t PanelKeyCode(int32_t platformCode);

}  // namespace sim
