// Structures::ArrayInt: up to ten int32 values and their count (a list of
// window ids for the widget manager's questions).
#pragma once

#include <cstdint>

#include "runtime/object.h"

namespace Structures {

class ArrayInt : public kv::Object {
  KV_CLASS(Structures, ArrayInt, kv::Object)
 public:
  static constexpr int32_t kCapacity = 10;

  ArrayInt() = default;

  // Appends a value; a full array logs the refusal and answers false.
  bool Add(int32_t value);
  // True when one of the first Count values equals `value`.
  bool Contains(int32_t value) const;
  // The number of values in use, clamped to 0..kCapacity (Count may have been
  // written directly).
  int32_t Size() const;

  int32_t Values[kCapacity] = {};
  int32_t Count = 0;
};

}  // namespace Structures
