// Anti-aliased lines one pixel wide (Xiaolin Wu).
#pragma once

#include <cstdint>

#include "ge/surface.h"

namespace ge {

// Draws a line from (x0, y0) to (x1, y1), both end pixels at full strength,
// in a straight colour with an opacity. At every step along the major axis
// the two pixels nearest the exact line share the colour by their distance
// from it. Drawing the line in the other direction gives the same pixels.
void GenWuLine(const Surface& dst, const Rect& clip, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
               uint32_t colour, uint8_t opacity);

}  // namespace ge
