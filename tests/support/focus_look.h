// Whether a view shows the focus bar: the blue highlight of focused rows and
// buttons, read from the on-screen pixels of its box (the bars' plain and
// the screens' panels are grey or dark; texts are light and thin).
#pragma once

#include <algorithm>
#include <cstdint>

#include "ge/surface.h"
#include "units/Core/View.h"

namespace apptest {

// Share (0..1) of the pixels of `box` (screen coordinates) that are the
// focus bar's blue.
inline double FocusBlueShare(const ge::Surface& osd, const kv::Rect& box) {
  const int32_t x1 = std::max(box.x1, 0), x2 = std::min(box.x2, osd.width);
  const int32_t y1 = std::max(box.y1, 0), y2 = std::min(box.y2, osd.height);
  if (x2 <= x1 || y2 <= y1) return 0;
  int64_t blue = 0;
  for (int32_t y = y1; y < y2; ++y)
    for (int32_t x = x1; x < x2; ++x) {
      const uint32_t p = osd.Row(y)[x];
      const int32_t r = static_cast<int32_t>(p & 0xFF), b = static_cast<int32_t>(p >> 16 & 0xFF);
      blue += b >= 120 && b > r + 60 ? 1 : 0;
    }
  return static_cast<double>(blue) / (static_cast<double>(x2 - x1) * (y2 - y1));
}

// The view shows the focus bar over most of its box.
inline bool LooksFocused(const ge::Surface& osd, const Core::View* view) {
  return view && FocusBlueShare(osd, view->GetAbsoluteBounds()) > 0.5;
}

}  // namespace apptest
