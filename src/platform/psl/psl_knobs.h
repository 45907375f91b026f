// What the service reads of the process-wide settings: the GUI's table and
// the knobs that tests and the command line turn.
#pragma once

#include <cstdint>
#include <string>

#include "platform/psl/psl.h"

namespace psl {

struct Knobs {
  int64_t delay = 0;
  bool neverAnswer = false;
  bool failDecode = false;
  int64_t positionAhead = 0;
  std::string defaultWallpaper;
};

// Copies, taken under the module's lock.
PslExports Exports();
Knobs GetKnobs();

}  // namespace psl
