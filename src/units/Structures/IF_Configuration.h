// Structures::IF_Configuration: the address settings of a network interface.
#pragma once

#include <cstdint>

#include "runtime/object.h"

namespace Structures {

// Each address is four bytes, the most significant first.
class IF_Configuration : public kv::Object {
  KV_CLASS(Structures, IF_Configuration, kv::Object)
 public:
  IF_Configuration() = default;

  uint8_t DHCP = 0;
  uint8_t IPAddress[4] = {};
  uint8_t SubnetMask[4] = {};
  uint8_t DefaultGateway[4] = {};
  uint8_t DNS1[4] = {};
  uint8_t DNS2[4] = {};
};

}  // namespace Structures
