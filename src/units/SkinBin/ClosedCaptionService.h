// SkinBin::ClosedCaptionService: one caption service, type (0 basic,
// 1 advanced) and index counted from 0.
#pragma once

#include <cstdint>

#include "runtime/object.h"

namespace SkinBin {

class ClosedCaptionService : public kv::Object {
  KV_CLASS(SkinBin, ClosedCaptionService, kv::Object)
 public:
  ClosedCaptionService() = default;

  int32_t Type = 0;
  int32_t Index = 0;
};

}  // namespace SkinBin
