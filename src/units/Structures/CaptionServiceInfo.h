// Structures::CaptionServiceInfo: one caption service of the programme.
#pragma once

#include <cstdint>

#include "runtime/object.h"
#include "runtime/string.h"

namespace Structures {

class CaptionServiceInfo : public kv::Object {
  KV_CLASS(Structures, CaptionServiceInfo, kv::Object)
 public:
  CaptionServiceInfo() = default;

  kv::String Language;
  uint8_t WideAspect = 0;  // the service is made for a wide picture
  uint8_t EasyReader = 0;  // the service is in easy-reader form
};

}  // namespace Structures
