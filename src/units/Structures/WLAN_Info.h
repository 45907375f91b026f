// Structures::WLAN_Info: a wireless access point (a scan result or the
// current link).
#pragma once

#include <cstdint>

#include "runtime/object.h"
#include "runtime/string.h"

namespace Structures {

class WLAN_Info : public kv::Object {
  KV_CLASS(Structures, WLAN_Info, kv::Object)
 public:
  WLAN_Info() = default;

  int8_t State = 0;      // 1 connected, 0 not linked, -1 device down
  uint8_t Channel = 0;
  uint8_t Signal = 0;    // level 0 to 4
  uint8_t Mode = 0;      // bit set: 1 a, 2 b, 4 g, 8 n
  uint8_t Security = 0;  // security method 0 to 6
  kv::String SSID;
  kv::String MacAddress;  // the access point's hardware address, upper case
  int32_t Rate = 0;       // units of 500 kbit/s
};

}  // namespace Structures
