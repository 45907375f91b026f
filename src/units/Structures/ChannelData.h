// Structures::ChannelData: a channel of the channel list.
#pragma once

#include <cstdint>

#include "runtime/object.h"
#include "runtime/string.h"

namespace Structures {

class ChannelData : public kv::Object {
  KV_CLASS(Structures, ChannelData, kv::Object)
 public:
  ChannelData() = default;

  kv::String Name;
  int32_t Major = 0;
  int32_t Minor = 0;  // -2 marks an analogue channel
  uint8_t Locked = 0;     // the channel's lock state
  uint8_t InfoFlag = 0;   // a byte copied from the middleware's channel information
  uint8_t IsDigital = 0;
  // Two words that the operations filling the record may use; cleared on construction.
  int32_t Extra0 = 0;
  int32_t Extra1 = 0;
};

}  // namespace Structures
