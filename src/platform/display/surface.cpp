#include "platform/display/surface.h"

#include <algorithm>
#include <new>

namespace dfb {

Surface::Surface(int32_t width, int32_t height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      pixels_(static_cast<uint32_t*>(std::calloc(size_t(width_) * size_t(height_), sizeof(uint32_t)))) {
  if (!pixels_) throw std::bad_alloc();
}

void Surface::Clear(uint32_t pixel) { std::fill(pixels_.get(), pixels_.get() + size_t(width_) * size_t(height_), pixel); }

namespace {
// The 8-bit product a*b/255, rounded.
inline uint32_t Mul8(uint32_t a, uint32_t b) {
  const uint32_t t = a * b + 128;
  return (t + (t >> 8)) >> 8;
}
}  // namespace

uint32_t BlendOver(uint32_t src, uint32_t dst) {
  const uint32_t inv = 255 - (src >> 24);
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t c = ((src >> shift) & 0xFF) + Mul8((dst >> shift) & 0xFF, inv);
    out |= std::min<uint32_t>(c, 255) << shift;
  }
  return out;
}

}  // namespace dfb
