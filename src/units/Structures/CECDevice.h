// Structures::CECDevice: an HDMI-CEC device found on an input.
#pragma once

#include <cstdint>

#include "runtime/object.h"
#include "runtime/string.h"

namespace Structures {

class CECDevice : public kv::Object {
  KV_CLASS(Structures, CECDevice, kv::Object)
 public:
  CECDevice() = default;

  int32_t SourceId = 0;        // the input the device is connected to
  int32_t LogicalAddress = 0;  // its HDMI-CEC logical address
  kv::String Name;
  uint8_t Active = 0;          // the device is present
};

}  // namespace Structures
