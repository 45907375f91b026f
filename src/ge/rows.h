// Row kernels of the engine: one run of `n` premultiplied pixels at a time.
// The drawing functions clip and then call these once per row. They are
// written as plain loops over bytes or 16-bit lanes that compilers
// vectorise; every product rounds exactly as Mul8. Source and destination
// never overlap.
#pragma once

#include <cstddef>
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
// Blend of a box of w x h pixels: d and s advance by `stride` and `pitch`
// pixels a row. Over rows of one colour each (an icon on a list row), a
// small box is remembered with the pixels it gave and copied when the same
// pixels are drawn again over the same colours.
void BlendBox(uint32_t* d, std::ptrdiff_t stride, const uint32_t* s, std::ptrdiff_t pitch, int32_t w, int32_t h);
// d = s * opacity + d * (255 - alpha of s * opacity); opacity below 255.
void BlendOpacity(uint32_t* d, const uint32_t* s, int32_t n, uint32_t opacity);
// d = s * opacity (opacity 0..255); d may be s.
void Scale(uint32_t* d, const uint32_t* s, int32_t n, uint32_t opacity);

// A colour (premultiplied) made ready for drawing through coverage: the
// colour scaled by every coverage value. Making one costs about as much as
// drawing a few glyphs.
struct MaskInk {
  explicit MaskInk(uint32_t colour);
  uint32_t colour;
  uint32_t pixel[256];  // MulPixel(colour, m)
  // Over(pixel[m], background) for every m: the ink drawn over one colour.
  // Kept for the last background asked for.
  const uint32_t* OverBackground(uint32_t background) const;

 private:
  mutable bool hasOver_ = false;
  mutable uint32_t background_ = 0;
  mutable uint32_t over_[256];
};
// Source-over of the ink's colour scaled by each coverage byte, over a box
// of w x h pixels: d and m advance by `stride` pixels and `pitch` bytes a
// row. Glyph rows are short, so this is a plain loop over the whole box;
// over a box of one colour (text on a panel) each pixel is looked up, and
// over a row of one colour (text on a vertical gradient) each pixel is
// worked out from its coverage without reading the destination.
void BlendMask(uint32_t* d, std::ptrdiff_t stride, const uint8_t* m, std::ptrdiff_t pitch, int32_t w, int32_t h,
               const MaskInk& ink);

// Boxes of w x h pixels, rows `stride` pixels apart. RowColours puts the
// colour of each row in `colours` while every row is of one colour and
// answers false at the first that is not; RowsAre tells whether each row y
// is all colours[y]. CopyBox copies a box of `pitch`-pixel rows into one.
bool RowColours(const uint32_t* d, std::ptrdiff_t stride, int32_t w, int32_t h, uint32_t* colours);
bool RowsAre(const uint32_t* d, std::ptrdiff_t stride, int32_t w, int32_t h, const uint32_t* colours);
void CopyBox(uint32_t* d, std::ptrdiff_t stride, const uint32_t* s, std::ptrdiff_t pitch, int32_t w, int32_t h);

}  // namespace ge::rows
