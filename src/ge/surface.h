// Surfaces of the graphics engine: premultiplied RGBA pixels, 32 bits each,
// red in the low byte (pixel = r | g << 8 | b << 16 | a << 24).
//
// Colours handed to the drawing functions are straight (not premultiplied),
// red in the low byte, as the rest of the system keeps them; the engine
// premultiplies them itself. Pixels of surfaces are always premultiplied.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

namespace ge {

// A rectangle with x2 and y2 exclusive.
struct Rect {
  int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  constexpr bool operator==(const Rect&) const = default;
  constexpr int32_t W() const { return x2 - x1; }
  constexpr int32_t H() const { return y2 - y1; }
  constexpr bool IsEmpty() const { return x2 <= x1 || y2 <= y1; }
  constexpr Rect Intersect(const Rect& o) const {
    return {std::max(x1, o.x1), std::max(y1, o.y1), std::min(x2, o.x2), std::min(y2, o.y2)};
  }
};

// A view of pixels owned elsewhere; `stride` counts pixels between rows.
struct Surface {
  uint32_t* pixels = nullptr;
  int32_t width = 0, height = 0, stride = 0;

  constexpr Rect Bounds() const { return {0, 0, width, height}; }
  uint32_t* Row(int32_t y) const { return pixels + static_cast<std::ptrdiff_t>(y) * stride; }
};

// Pixels owned: allocated zero-filled (transparent black), movable, not copyable.
class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int32_t width, int32_t height);  // negative sizes count as 0
  // A moved-from bitmap is empty (0 x 0).
  Bitmap(Bitmap&& other) noexcept { *this = std::move(other); }
  Bitmap& operator=(Bitmap&& other) noexcept {
    pixels_ = std::move(other.pixels_);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    return *this;
  }

  // Makes the bitmap width x height. Its pixels stay as they are when the
  // size does not change (a scratch surface reused draw after draw, which
  // would otherwise cost a fresh zero-filled allocation each time); else
  // they are new and zero-filled.
  void Resize(int32_t width, int32_t height);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  uint32_t* Pixels() const { return pixels_.get(); }
  Surface View() const { return {pixels_.get(), width_, height_, width_}; }

 private:
  std::unique_ptr<uint32_t[]> pixels_;
  int32_t width_ = 0, height_ = 0;
};

// The rounded product of two 8-bit values scaled to 255: a * b / 255, exact.
constexpr uint32_t Mul8(uint32_t a, uint32_t b) {
  const uint32_t t = a * b + 128;
  return (t + (t >> 8)) >> 8;
}

// Each channel of a pixel times `a` / 255, two channels at a time; the same
// rounding as Mul8 for every channel.
constexpr uint32_t MulPixel(uint32_t p, uint32_t a) {
  uint32_t rb = (p & 0x00ff00ffu) * a + 0x00800080u;
  rb = ((rb + ((rb >> 8) & 0x00ff00ffu)) >> 8) & 0x00ff00ffu;
  uint32_t ag = ((p >> 8) & 0x00ff00ffu) * a + 0x00800080u;
  ag = (ag + ((ag >> 8) & 0x00ff00ffu)) & 0xff00ff00u;
  return rb | ag;
}

// A straight colour made premultiplied: red, green and blue times alpha.
constexpr uint32_t Premultiply(uint32_t straight) {
  const uint32_t a = straight >> 24;
  return (MulPixel(straight, a) & 0x00ffffffu) | (straight & 0xff000000u);
}

// Source-over of premultiplied pixels: s + d * (255 - alpha of s).
constexpr uint32_t Over(uint32_t s, uint32_t d) { return s + MulPixel(d, 255 - (s >> 24)); }

}  // namespace ge
