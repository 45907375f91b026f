// Solid and gradient fills of rectangles. Colours are straight, red in the
// low byte; every drawing stays inside `clip` and the surface.
#pragma once

#include <cstdint>

#include "ge/surface.h"

namespace ge {

// Sets every pixel of `r` to the colour (alpha included).
void GenFillRect(const Surface& dst, const Rect& clip, const Rect& r, uint32_t colour);
// Draws the colour over the pixels of `r` (source-over).
void GenBlendRect(const Surface& dst, const Rect& clip, const Rect& r, uint32_t colour);

// Colours at the four corner pixels of a gradient.
struct Corners {
  uint32_t topLeft = 0, topRight = 0, bottomLeft = 0, bottomRight = 0;
};

// Bilinear gradient between the corner colours: the corner pixels of `r` get
// the corner colours exactly. The fill sets the pixels, the blend draws over them.
void GenFillGradient(const Surface& dst, const Rect& clip, const Rect& r, const Corners& colours);
void GenBlendGradient(const Surface& dst, const Rect& clip, const Rect& r, const Corners& colours);

}  // namespace ge
