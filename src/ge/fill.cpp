#include "ge/fill.h"

#include <algorithm>

#include "ge/rows.h"

namespace ge {

void GenFillRect(const Surface& dst, const Rect& clip, const Rect& r, uint32_t colour) {
  const Rect v = rows::Visible(dst, clip, r);
  if (v.IsEmpty()) return;
  // Stores only: copying a filled row would read as much as it writes.
  const uint32_t c = Premultiply(colour);
  for (int32_t y = v.y1; y < v.y2; ++y) rows::Fill(dst.Row(y) + v.x1, v.W(), c);
}

void GenBlendRect(const Surface& dst, const Rect& clip, const Rect& r, uint32_t colour) {
  const uint32_t a = colour >> 24;
  if (a == 255) return GenFillRect(dst, clip, r, colour);
  const Rect v = rows::Visible(dst, clip, r);
  if (a == 0 || v.IsEmpty()) return;
  const uint32_t c = Premultiply(colour);
  for (int32_t y = v.y1; y < v.y2; ++y) rows::BlendSolid(dst.Row(y) + v.x1, v.W(), c);
}

namespace {

// num / den rounded to nearest (halves away from minus infinity); den > 0.
int64_t RoundDiv(int64_t num, int64_t den) {
  const int64_t n = 2 * num + den, d = 2 * den;
  return n >= 0 ? n / d : -((-n + d - 1) / d);
}

uint32_t Channel(uint32_t c, int shift) { return (c >> shift) & 0xff; }

// Computes the gradient's pixels of one row in 16.16 fixed point per channel:
// `left` and `right` are the channel values at the first and last column of
// the gradient, `first` is the first column drawn (relative to the gradient's
// left edge), `span` the gradient's width.
class GradientRow {
 public:
  GradientRow(const int64_t left[4], const int64_t right[4], int64_t span, int64_t first) {
    for (int c = 0; c < 4; ++c) {
      const int64_t step = span > 1 ? RoundDiv(right[c] - left[c], span - 1) : 0;
      step_[c] = static_cast<int32_t>(step);
      start_[c] = static_cast<int32_t>(left[c] + step * first + 0x8000);
    }
  }

  // Writes n pixels; colour channels never exceed alpha, so that the pixels
  // stay valid premultiplied values whatever the rounding.
  void Write(uint32_t* d, int32_t n) const {
    const int32_t s0 = start_[0], s1 = start_[1], s2 = start_[2], s3 = start_[3];
    const int32_t t0 = step_[0], t1 = step_[1], t2 = step_[2], t3 = step_[3];
    for (int32_t i = 0; i < n; ++i) {
      const int32_t a = std::clamp((s3 + t3 * i) >> 16, 0, 255);
      const int32_t r = std::clamp((s0 + t0 * i) >> 16, 0, a);
      const int32_t g = std::clamp((s1 + t1 * i) >> 16, 0, a);
      const int32_t b = std::clamp((s2 + t2 * i) >> 16, 0, a);
      d[i] = static_cast<uint32_t>(r | g << 8 | b << 16) | static_cast<uint32_t>(a) << 24;
    }
  }

 private:
  int32_t start_[4];
  int32_t step_[4];
};

void Gradient(const Surface& dst, const Rect& clip, const Rect& r, const Corners& colours, bool blend) {
  const Rect v = rows::Visible(dst, clip, r);
  if (v.IsEmpty()) return;
  const uint32_t tl = Premultiply(colours.topLeft), tr = Premultiply(colours.topRight);
  const uint32_t bl = Premultiply(colours.bottomLeft), br = Premultiply(colours.bottomRight);
  if (blend && ((tl | tr | bl | br) >> 24) == 0) return;
  const int64_t w = int64_t{r.x2} - r.x1, h = int64_t{r.y2} - r.y1;
  constexpr int32_t kChunk = 256;
  uint32_t scratch[kChunk];
  for (int32_t y = v.y1; y < v.y2; ++y) {
    const int64_t j = int64_t{y} - r.y1;
    int64_t left[4], right[4];
    for (int c = 0; c < 4; ++c) {
      const int64_t t = int64_t{Channel(tl, 8 * c)} << 16, b = int64_t{Channel(bl, 8 * c)} << 16;
      const int64_t t2 = int64_t{Channel(tr, 8 * c)} << 16, b2 = int64_t{Channel(br, 8 * c)} << 16;
      left[c] = h > 1 ? t + RoundDiv((b - t) * j, h - 1) : t;
      right[c] = h > 1 ? t2 + RoundDiv((b2 - t2) * j, h - 1) : t2;
    }
    uint32_t* d = dst.Row(y);
    for (int32_t x = v.x1; x < v.x2; x += kChunk) {
      const int32_t n = std::min(kChunk, v.x2 - x);
      const GradientRow row(left, right, w, int64_t{x} - r.x1);
      if (blend) {
        row.Write(scratch, n);
        rows::Blend(d + x, scratch, n);
      } else {
        row.Write(d + x, n);
      }
    }
  }
}

}  // namespace

void GenFillGradient(const Surface& dst, const Rect& clip, const Rect& r, const Corners& colours) {
  Gradient(dst, clip, r, colours, false);
}

void GenBlendGradient(const Surface& dst, const Rect& clip, const Rect& r, const Corners& colours) {
  Gradient(dst, clip, r, colours, true);
}

}  // namespace ge
