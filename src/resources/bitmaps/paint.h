// A small painting kit for bitmap recipes: anti-aliased shapes described by
// signed distances (negative inside), vertical gradients, panels and text.
// Everything is drawn over what the surface already holds (source-over), so
// a recipe builds its picture in layers. Colours are straight kv::Color.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>

#include "ge/surface.h"
#include "runtime/geometry.h"

namespace Recipes {

// The look shared by every recipe. Panel bodies are opaque: a dialog, bar
// or banner opens over other screens, whose texts must not show through.
namespace Palette {
inline constexpr kv::Color PanelTop{36, 40, 50, 255};
inline constexpr kv::Color PanelBottom{16, 18, 24, 255};
inline constexpr kv::Color PanelRim{150, 162, 182, 210};
inline constexpr kv::Color FocusTop{58, 136, 214, 255};
inline constexpr kv::Color FocusBottom{23, 86, 140, 255};  // the focused menu-item blue
inline constexpr kv::Color FocusRim{170, 214, 255, 255};
inline constexpr kv::Color PlainTop{70, 72, 78, 170};
inline constexpr kv::Color PlainBottom{46, 48, 54, 170};
inline constexpr kv::Color PlainRim{108, 112, 122, 190};
inline constexpr kv::Color Glyph{226, 230, 238, 255};     // arrows, ticks, icons
inline constexpr kv::Color GlyphDim{150, 156, 168, 255};
inline constexpr kv::Color Accent{229, 208, 23, 255};     // the gold of titles
inline constexpr kv::Color MediaTop{26, 48, 84, 255};
inline constexpr kv::Color MediaBottom{12, 24, 46, 255};
}  // namespace Palette

struct PointF {
  float x = 0, y = 0;
};

// Signed distances of shapes at point (x, y).
float RoundRectDistance(float x, float y, float x1, float y1, float x2, float y2, float radius);
float SegmentDistance(float x, float y, PointF a, PointF b);
// A convex polygon whose points go clockwise on screen (y down).
float ConvexDistance(float x, float y, std::initializer_list<PointF> points);

// The colour at row y of a vertical gradient from `top` (row y1) to `bottom` (row y2 - 1).
kv::Color GradientAt(int32_t y, int32_t y1, int32_t y2, kv::Color top, kv::Color bottom);

// Draws a coverage-weighted colour over one pixel: coverage 0..1.
void BlendPixel(const ge::Surface& s, int32_t x, int32_t y, kv::Color c, float coverage);

// Fills a shape over the pixels of `box` with a vertical gradient over the
// box; `distance(px, py)` is evaluated at pixel centres.
template <class Distance>
void FillShape(const ge::Surface& s, kv::Rect box, kv::Color top, kv::Color bottom, Distance distance) {
  const kv::Rect v = box.Intersect({0, 0, s.width, s.height});
  for (int32_t y = v.y1; y < v.y2; ++y) {
    const kv::Color c = GradientAt(y, box.y1, box.y2, top, bottom);
    for (int32_t x = v.x1; x < v.x2; ++x) {
      const float d = distance(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
      if (d < 0.5f) BlendPixel(s, x, y, c, std::clamp(0.5f - d, 0.0f, 1.0f));
    }
  }
}

// A rounded rectangle over `r` (radius in pixels) in a vertical gradient.
void RoundRect(const ge::Surface& s, kv::Rect r, float radius, kv::Color top, kv::Color bottom);
// The rim of a rounded rectangle: `width` pixels along the inside of its edge.
void RoundRectRim(const ge::Surface& s, kv::Rect r, float radius, float width, kv::Color colour);
// A panel: a gradient body inside a rim.
struct PanelStyle {
  float radius = 10;
  kv::Color top = Palette::PanelTop;
  kv::Color bottom = Palette::PanelBottom;
  kv::Color rim = Palette::PanelRim;
  float rimWidth = 1.5f;
};
void Panel(const ge::Surface& s, kv::Rect r, const PanelStyle& style);

// A stroke of `width` pixels from a to b with round ends.
void Stroke(const ge::Surface& s, PointF a, PointF b, float width, kv::Color colour);
// A polyline of strokes.
void Polyline(const ge::Surface& s, std::initializer_list<PointF> points, float width, kv::Color colour);
// A filled convex polygon (points clockwise on screen).
void Polygon(const ge::Surface& s, std::initializer_list<PointF> points, kv::Color colour);
void Disc(const ge::Surface& s, PointF centre, float radius, kv::Color colour);
void Ring(const ge::Surface& s, PointF centre, float radius, float width, kv::Color colour);

// Horizontal line 'height' rows high whose alpha fades to nothing at both ends.
void FadedLine(const ge::Surface& s, kv::Rect r, kv::Color colour);

// Text of the one font file at a pixel size, aligned in `box` (0 left/top,
// 1 centred, 2 right/bottom). Draws nothing without the font engine.
void Label(const ge::Surface& s, const char16_t* text, int32_t pixelSize, bool bold, kv::Color colour, kv::Rect box,
           int32_t alignH = 1, int32_t alignV = 1);

// A badge's caption: bold, centred, at `pixelSize` or the largest smaller
// size that leaves 3 px on either side.
void BadgeLabel(const ge::Surface& s, const char16_t* text, int32_t pixelSize, kv::Color colour);

// The whole surface as a rectangle.
inline kv::Rect Whole(const ge::Surface& s) { return {0, 0, s.width, s.height}; }

}  // namespace Recipes
