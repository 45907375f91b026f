// The simulated set's 3D status report: the middleware tells the program
// which 3D format the input carries (XPM_EVT_3D_STATUS), as it does when a
// 3D signal starts or ends.
#pragma once

#include <cstdint>

namespace sim {

class Sim;

// Delivers the report from the set's thread at `at` (negative: now).
void Send3DStatus(Sim& tv, int32_t format, int64_t at = -1);

}  // namespace sim
