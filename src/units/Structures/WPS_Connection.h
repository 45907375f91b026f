// Structures::WPS_Connection: a request to join a network by WPS.
#pragma once

#include <cstdint>

#include "runtime/object.h"
#include "runtime/string.h"

namespace Structures {

class WPS_Connection : public kv::Object {
  KV_CLASS(Structures, WPS_Connection, kv::Object)
 public:
  WPS_Connection() = default;

  uint8_t Flag = 0;  // 1 when the set generated the PIN
  kv::String SSID;
  kv::String PIN;
  int32_t Mode = 0;  // 0 PIN method, 1 push-button method
};

}  // namespace Structures
