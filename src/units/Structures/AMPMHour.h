// Structures::AMPMHour: an hour of the 12-hour clock.
#pragma once

#include <cstdint>

#include "runtime/object.h"

namespace Structures {

class AMPMHour : public kv::Object {
  KV_CLASS(Structures, AMPMHour, kv::Object)
 public:
  AMPMHour() = default;

  uint8_t AM = 0;     // 1 before noon
  int32_t Hour = 0;   // 1 to 12
};

}  // namespace Structures
