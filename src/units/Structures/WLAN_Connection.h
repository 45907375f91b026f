// Structures::WLAN_Connection: a request to join a wireless network.
#pragma once

#include <cstdint>

#include "runtime/object.h"
#include "runtime/string.h"

namespace Structures {

class WLAN_Connection : public kv::Object {
  KV_CLASS(Structures, WLAN_Connection, kv::Object)
 public:
  WLAN_Connection() = default;

  int8_t SecurityMethod = 0;  // index into the security methods; -1: the middleware finds it
  uint8_t NoApRecord = 0;     // 1 when the request was made without an access-point record
  uint8_t KeyLength = 0;
  uint8_t ConnectMode = 0;    // 1 when the middleware finds the security itself
  kv::String SSID;
  kv::String Key;
};

}  // namespace Structures
