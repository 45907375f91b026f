// Structures::RRTDimensionData: one dimension of a downloadable rating region.
#pragma once

#include <cstdint>

#include "runtime/object.h"
#include "runtime/string.h"

namespace Structures {

class RRTDimensionData : public kv::Object {
  KV_CLASS(Structures, RRTDimensionData, kv::Object)
 public:
  RRTDimensionData() = default;

  int32_t DimensionId = 0;
  kv::String Name;
  int32_t Value = 0;
  kv::String Text1;
  kv::String Text2;
};

}  // namespace Structures
