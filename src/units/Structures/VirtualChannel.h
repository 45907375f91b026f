// Structures::VirtualChannel: a channel number. (-1, -1) addresses every
// channel in lock and ring calls; -2 means none.
#pragma once

#include <cstdint>

#include "runtime/object.h"

namespace Structures {

class VirtualChannel : public kv::Object {
  KV_CLASS(Structures, VirtualChannel, kv::Object)
 public:
  VirtualChannel() = default;
  int32_t Major = 0;
  int32_t Minor = 0;
};

}  // namespace Structures
