#include "units/Views/Align.h"

#include "units/Core/Log.h"

namespace Views {

int32_t CheckAlign(int32_t value, int32_t max, const char* what) {
  if (value >= 0 && value <= max) return value;
  Core::LogError("%s: alignment %i is not valid; using 0", {what, value});
  return 0;
}

}  // namespace Views
