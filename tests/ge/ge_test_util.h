// Helpers of the graphics engine's tests: a surface inside a larger buffer
// whose outer pixels catch drawing outside it, the compositing arithmetic
// channel by channel, and a font of box glyphs.
#pragma once

#include <cstdint>
#include <vector>

#include "ge/glyph_source.h"
#include "ge/surface.h"

namespace ge::test {

constexpr uint32_t kGuard = 0xa5c3e1f7u;

// A w x h surface with 3 guard pixels on every side and a stride longer than needed.
class GuardedSurface {
 public:
  GuardedSurface(int32_t w, int32_t h, uint32_t fill = 0)
      : w_(w), h_(h), stride_(w + 11), buffer_(static_cast<size_t>(stride_ * (h + 6)), kGuard) {
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) At(x, y) = fill;
  }
  Surface View() { return {&At(0, 0), w_, h_, stride_}; }
  Rect Bounds() const { return {0, 0, w_, h_}; }
  uint32_t& At(int32_t x, int32_t y) { return buffer_[static_cast<size_t>((y + 3) * stride_ + x + 3)]; }
  bool GuardsIntact() {
    for (int32_t y = -3; y < h_ + 3; ++y)
      for (int32_t x = -3; x < stride_ - 3; ++x)
        if ((x < 0 || x >= w_ || y < 0 || y >= h_) && At(x, y) != kGuard) return false;
    return true;
  }

 private:
  int32_t w_, h_, stride_;
  std::vector<uint32_t> buffer_;
};

constexpr uint32_t Pixel(uint32_t r, uint32_t g, uint32_t b, uint32_t a) { return r | g << 8 | b << 16 | a << 24; }
constexpr uint32_t Chan(uint32_t p, int c) { return (p >> (8 * c)) & 0xff; }

inline uint32_t RefScale(uint32_t p, uint32_t k) {
  uint32_t out = 0;
  for (int c = 0; c < 4; ++c) out |= Mul8(Chan(p, c), k) << (8 * c);
  return out;
}
inline uint32_t RefOver(uint32_t s, uint32_t d) {
  uint32_t out = 0;
  for (int c = 0; c < 4; ++c) out |= (Chan(s, c) + Mul8(Chan(d, c), 255 - (s >> 24))) << (8 * c);
  return out;
}

// A valid premultiplied pixel (no channel above alpha) from a running seed.
inline uint32_t RandomPremultiplied(uint32_t& seed) {
  seed = seed * 1664525u + 1013904223u;
  const uint32_t a = seed >> 24;
  return Pixel((seed & 0xff) * a / 255, ((seed >> 8) & 0xff) * a / 255, ((seed >> 16) & 0xff) * a / 255, a);
}

// Box glyphs: a glyph fills (advance - 1) x ascent pixels standing on the
// baseline; a space has none. Advances: ' ' 3, '.' 2, 'W' 8, others 5;
// "AV" kerns by -1.
class BoxFont : public GlyphSource {
 public:
  explicit BoxFont(int32_t ascent = 8, int32_t descent = 2, int32_t leading = 1)
      : ascent_(ascent), descent_(descent), leading_(leading) {}
  int32_t Ascent() const override { return ascent_; }
  int32_t Descent() const override { return descent_; }
  int32_t Leading() const override { return leading_; }
  int32_t Advance(char16_t c) override { return c == u' ' ? 3 : c == u'.' ? 2 : c == u'W' ? 8 : 5; }
  int32_t Kerning(char16_t l, char16_t r) override { return l == u'A' && r == u'V' ? -1 : 0; }
  GlyphBitmap Glyph(char16_t c) override {
    const int32_t w = c == u' ' ? 0 : Advance(c) - 1, pitch = w + 3;
    box_.assign(static_cast<size_t>(pitch * ascent_), 0);
    for (int32_t y = 0; y < ascent_; ++y)
      for (int32_t x = 0; x < w; ++x) box_[static_cast<size_t>(y * pitch + x)] = 255;
    return {box_.data(), pitch, w, ascent_, 0, ascent_, Advance(c)};
  }

 private:
  int32_t ascent_, descent_, leading_;
  std::vector<uint8_t> box_;
};

}  // namespace ge::test
