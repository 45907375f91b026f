// Points, rectangles (x2 and y2 exclusive) and colours.
#pragma once

#include <algorithm>
#include <cstdint>

namespace kv {

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  constexpr bool operator==(const Point&) const = default;
  constexpr Point operator+(Point o) const { return {x + o.x, y + o.y}; }
  constexpr Point operator-(Point o) const { return {x - o.x, y - o.y}; }
};

struct Rect {
  int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  constexpr bool operator==(const Rect&) const = default;
  constexpr int32_t W() const { return x2 - x1; }
  constexpr int32_t H() const { return y2 - y1; }
  constexpr bool IsEmpty() const { return x2 <= x1 || y2 <= y1; }
  constexpr Point Origin() const { return {x1, y1}; }
  constexpr Point Size() const { return {x2 - x1, y2 - y1}; }
  constexpr Rect Move(Point d) const { return {x1 + d.x, y1 + d.y, x2 + d.x, y2 + d.y}; }
  constexpr Rect MoveTo(Point p) const { return {p.x, p.y, p.x + W(), p.y + H()}; }
  constexpr Rect Intersect(const Rect& o) const {
    return {std::max(x1, o.x1), std::max(y1, o.y1), std::min(x2, o.x2), std::min(y2, o.y2)};
  }
  // Smallest rectangle holding both; an empty side is ignored.
  constexpr Rect Union(const Rect& o) const {
    if (IsEmpty()) return o;
    if (o.IsEmpty()) return *this;
    return {std::min(x1, o.x1), std::min(y1, o.y1), std::max(x2, o.x2), std::max(y2, o.y2)};
  }
  constexpr bool Contains(Point p) const { return p.x >= x1 && p.x < x2 && p.y >= y1 && p.y < y2; }
  constexpr bool Contains(const Rect& o) const {
    return o.x1 >= x1 && o.y1 >= y1 && o.x2 <= x2 && o.y2 <= y2;
  }
  constexpr bool Intersects(const Rect& o) const { return !Intersect(o).IsEmpty(); }
  constexpr Point Center() const { return {(x1 + x2) / 2, (y1 + y2) / 2}; }
  constexpr Rect Inflate(int32_t dx, int32_t dy) const { return {x1 - dx, y1 - dy, x2 + dx, y2 + dy}; }
};

constexpr Point NewPoint(int32_t x, int32_t y) { return {x, y}; }
constexpr Rect NewRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) { return {x1, y1, x2, y2}; }

// A colour with straight alpha: red, green, blue, alpha bytes.
struct Color {
  uint8_t r = 0, g = 0, b = 0, a = 0;
  constexpr bool operator==(const Color&) const = default;
  // From a 32-bit word with red in the low byte, then green, blue and alpha.
  static constexpr Color FromWord(uint32_t w) {
    return {static_cast<uint8_t>(w), static_cast<uint8_t>(w >> 8), static_cast<uint8_t>(w >> 16),
            static_cast<uint8_t>(w >> 24)};
  }
  constexpr uint32_t ToWord() const {
    return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16) | (uint32_t(a) << 24);
  }
};

constexpr Color NewColor(uint8_t r, uint8_t g, uint8_t b, uint8_t a) { return {r, g, b, a}; }

}  // namespace kv
