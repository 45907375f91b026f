// Structures::ActiveAppStatus and Structures::AllActiveAppStatus: the
// applications that the system manager reports running, and the table of them.
#pragma once

#include <cstdint>

#include "runtime/object.h"
#include "runtime/string.h"

namespace Structures {

// One running application as the system manager reports it.
class ActiveAppStatus : public kv::Object {
  KV_CLASS(Structures, ActiveAppStatus, kv::Object)
 public:
  ActiveAppStatus() = default;

  int32_t Kind = 0;   // 2 widget application, 3 and 4 Flash applications, 6 video-store dock
  kv::String Name;
  int32_t Flags = 0;  // bit 0x20: the application does not own the screen
};

// A count and up to eight application records (embedded).
class AllActiveAppStatus : public kv::Object {
  KV_CLASS(Structures, AllActiveAppStatus, kv::Object)
 public:
  AllActiveAppStatus() = default;

  static constexpr int32_t kCapacity = 8;

  int32_t Count = 0;
  ActiveAppStatus Apps[kCapacity];
};

}  // namespace Structures
