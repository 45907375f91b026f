// The application settings that the application root owns: the persisted
// setup step and the 25 defaults it writes (DefaultAppData).
#pragma once

#include <cstdint>

#include "runtime/text.h"

namespace PersistentData {
class PersistentData;
}

namespace MainApp {

// The setup step of a set that has finished the first-time setup.
inline constexpr int32_t kSetupDone = 9;

// Writes the 25 default settings into `data`.
void WriteDefaultAppData(PersistentData::PersistentData* data);

}  // namespace MainApp
