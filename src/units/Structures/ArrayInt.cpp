#include "units/Structures/ArrayInt.h"

#include "runtime/trace.h"

namespace Structures {

KV_REGISTER_CLASS(Structures::ArrayInt);

bool ArrayInt::Add(int32_t value) {
  int32_t n = Size();
  if (n >= kCapacity) {
    kv::Log(kv::FormatTrace("Structures::ArrayInt::Add: the array is full, %i dropped", {value}));
    return false;
  }
  Values[n] = value;
  Count = n + 1;
  return true;
}

bool ArrayInt::Contains(int32_t value) const {
  int32_t n = Size();
  for (int32_t i = 0; i < n; ++i)
    if (Values[i] == value) return true;
  return false;
}

int32_t ArrayInt::Size() const {
  if (Count < 0) return 0;
  return Count > kCapacity ? kCapacity : Count;
}

}  // namespace Structures
