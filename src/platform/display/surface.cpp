#include "platform/display/surface.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace dfb {

namespace {
// From this size on the pixels are mapped pages of their own.
constexpr size_t kMapFrom = size_t{64} << 10;
}  // namespace

void Surface::Free::operator()(uint32_t* p) const {
  if (mapped > 0)
    munmap(p, mapped);
  else
    std::free(p);
}

Surface::Surface(int32_t width, int32_t height) : width_(std::max(width, 1)), height_(std::max(height, 1)) {
  const size_t bytes = size_t(width_) * size_t(height_) * sizeof(uint32_t);
  if (bytes >= kMapFrom) {
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    pixels_ = std::unique_ptr<uint32_t[], Free>(static_cast<uint32_t*>(p), Free{bytes});
  } else {
    pixels_.reset(static_cast<uint32_t*>(std::calloc(bytes / sizeof(uint32_t), sizeof(uint32_t))));
    if (!pixels_) throw std::bad_alloc();
  }
}

void Surface::Clear(uint32_t pixel) { std::fill(pixels_.get(), pixels_.get() + size_t(width_) * size_t(height_), pixel); }

bool Surface::Exchange(Surface& other) {
  if (other.width_ != width_ || other.height_ != height_) return false;
  pixels_.swap(other.pixels_);
  return true;
}

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
