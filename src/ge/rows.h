// Row kernels of the engine: one run of `n` premultiplied pixels at a time.
// The drawing functions clip and then call these once per row. They are
// written as plain loops over bytes or words that compilers vectorise; every
// product rounds exactly as Mul8. Source and destination never overlap.
#pragma once

#include <cstdint>

#include "ge/surface.h"

namespace ge::rows {

// The part of `r` that a drawing may touch: inside the clip and the surface.
inline Rect Visible(const Surface& dst, const Rect& clip, const Rect& r) {
  return dst.Bounds().Intersect(clip).Intersect(r);
}

// The rectangle at (x, y) of size w x h, its far edges saturated to the
// range of int32_t.
Rect RectAt(int32_t x, int32_t y, int32_t w, int32_t h);

// d = c for every pixel.
void Fill(uint32_t* d, int32_t n, uint32_t c);
// d = c + d * (255 - alpha of c); c premultiplied.
void BlendSolid(uint32_t* d, int32_t n, uint32_t c);
// d = s + d * (255 - alpha of s).
void Blend(uint32_t* d, const uint32_t* s, int32_t n);
// d = s * opacity + d * (255 - alpha of s * opacity); opacity below 255.
void BlendOpacity(uint32_t* d, const uint32_t* s, int32_t n, uint32_t opacity);
// Source-over of colour c (premultiplied) scaled by each coverage byte m.
void BlendMask(uint32_t* d, const uint8_t* m, int32_t n, uint32_t c);

}  // namespace ge::rows
