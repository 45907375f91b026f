// Helpers of the graphics engine's tests: a surface inside a larger buffer
// whose border pixels detect drawing outside the surface, a per-channel
// reference of the compositing arithmetic, and a font of box glyphs.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "ge/glyph_source.h"
#include "ge/surface.h"

namespace ge::test {

constexpr uint32_t kGuard = 0xa5c3e1f7u;

// A width x height surface with `border` guard pixels on every side and a
// stride wider than the buffer rows need.
class GuardedSurface {
 public:
  GuardedSurface(int32_t width, int32_t height, uint32_t fill = 0, int32_t border = 3)
      : width_(width), height_(height), border_(border), stride_(width + 2 * border + 5),
        buffer_(static_cast<size_t>(stride_) * static_cast<size_t>(height + 2 * border), kGuard) {
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) At(x, y) = fill;
  }
  Surface View() { return {&buffer_[Index(0, 0)], width_, height_, stride_}; }
  uint32_t& At(int32_t x, int32_t y) { return buffer_[Index(x, y)]; }
  // True when every pixel outside the surface still holds the guard value.
  bool GuardsIntact() const {
    for (int32_t y = -border_; y < height_ + border_; ++y)
      for (int32_t x = -border_; x < stride_ - border_; ++x) {
        const bool inside = x >= 0 && x < width_ && y >= 0 && y < height_;
        if (!inside && buffer_[Index(x, y)] != kGuard) return false;
      }
    return true;
  }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

 private:
  size_t Index(int32_t x, int32_t y) const {
    return static_cast<size_t>(y + border_) * static_cast<size_t>(stride_) + static_cast<size_t>(x + border_);
  }
  int32_t width_, height_, border_, stride_;
  std::vector<uint32_t> buffer_;
};

inline uint32_t Pixel(uint32_t r, uint32_t g, uint32_t b, uint32_t a) { return r | g << 8 | b << 16 | a << 24; }
inline uint32_t Chan(uint32_t p, int c) { return (p >> (8 * c)) & 0xff; }

// Source-over computed channel by channel from the rounding rule.
inline uint32_t RefOver(uint32_t s, uint32_t d) {
  uint32_t out = 0;
  for (int c = 0; c < 4; ++c) out |= (Chan(s, c) + Mul8(Chan(d, c), 255 - (s >> 24))) << (8 * c);
  return out;
}
inline uint32_t RefScale(uint32_t p, uint32_t k) {
  uint32_t out = 0;
  for (int c = 0; c < 4; ++c) out |= Mul8(Chan(p, c), k) << (8 * c);
  return out;
}

// A valid premultiplied pixel from a running seed.
inline uint32_t RandomPremultiplied(uint32_t& seed) {
  seed = seed * 1664525u + 1013904223u;
  const uint32_t a = seed >> 24;
  auto part = [&](int shift) { return ((seed >> shift) & 0xff) * a / 255; };
  return Pixel(part(0), part(8), part(16), a);
}

// A font of box glyphs: every glyph is a filled box as wide as its advance
// less one pixel and as tall as the ascent, standing on the baseline; a space
// has no pixels. Advances: 3 for ' ', 2 for '.', 8 for 'W', 5 otherwise.
// 'A' before 'V' kerns by -1.
class BoxFont : public GlyphSource {
 public:
  explicit BoxFont(int32_t ascent = 8, int32_t descent = 2, int32_t leading = 1)
      : ascent_(ascent), descent_(descent), leading_(leading) {}
  int32_t Ascent() const override { return ascent_; }
  int32_t Descent() const override { return descent_; }
  int32_t Leading() const override { return leading_; }
  int32_t Advance(char16_t c) override {
    if (c == u' ') return 3;
    if (c == u'.') return 2;
    if (c == u'W') return 8;
    return 5;
  }
  int32_t Kerning(char16_t left, char16_t right) override { return left == u'A' && right == u'V' ? -1 : 0; }
  GlyphBitmap Glyph(char16_t c) override {
    GlyphBitmap g;
    g.advance = Advance(c);
    if (c == u' ') return g;
    g.width = g.advance - 1;
    g.height = ascent_;
    g.pitch = g.width + 3;
    g.top = ascent_;
    box_.assign(static_cast<size_t>(g.pitch * g.height), 0);
    for (int32_t y = 0; y < g.height; ++y)
      for (int32_t x = 0; x < g.width; ++x) box_[static_cast<size_t>(y * g.pitch + x)] = 255;
    g.coverage = box_.data();
    return g;
  }

 private:
  int32_t ascent_, descent_, leading_;
  std::vector<uint8_t> box_;
};

}  // namespace ge::test
