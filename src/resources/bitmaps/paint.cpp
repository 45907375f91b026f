#include "resources/bitmaps/paint.h"

#include <string_view>

#include "ge/attr_text.h"
#include "platform/fontengine/font_engine.h"

namespace Recipes {

float RoundRectDistance(float x, float y, float x1, float y1, float x2, float y2, float radius) {
  const float cx = (x1 + x2) * 0.5f, cy = (y1 + y2) * 0.5f;
  const float hx = (x2 - x1) * 0.5f, hy = (y2 - y1) * 0.5f;
  radius = std::clamp(radius, 0.0f, std::min(hx, hy));
  const float qx = std::fabs(x - cx) - (hx - radius), qy = std::fabs(y - cy) - (hy - radius);
  const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
  return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
}

float SegmentDistance(float x, float y, PointF a, PointF b) {
  const float px = x - a.x, py = y - a.y, dx = b.x - a.x, dy = b.y - a.y;
  const float len2 = dx * dx + dy * dy;
  const float t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
  const float ex = px - t * dx, ey = py - t * dy;
  return std::sqrt(ex * ex + ey * ey);
}

float ConvexDistance(float x, float y, std::initializer_list<PointF> points) {
  float d = -1e9f;
  const PointF* p = points.begin();
  const size_t n = points.size();
  for (size_t i = 0; i < n; ++i) {
    const PointF a = p[i], b = p[(i + 1) % n];
    const float ex = b.x - a.x, ey = b.y - a.y;
    const float len = std::sqrt(ex * ex + ey * ey);
    if (len <= 0) continue;
    // Clockwise on screen (y down): the outward normal of edge a->b is (ey, -ex) / len.
    d = std::max(d, ((x - a.x) * ey - (y - a.y) * ex) / len);
  }
  return d;
}

kv::Color GradientAt(int32_t y, int32_t y1, int32_t y2, kv::Color top, kv::Color bottom) {
  const float t = y2 - y1 > 1 ? std::clamp(static_cast<float>(y - y1) / static_cast<float>(y2 - y1 - 1), 0.0f, 1.0f)
                              : 0.0f;
  auto mix = [t](uint8_t a, uint8_t b) {
    return static_cast<uint8_t>(std::lround(static_cast<float>(a) + (static_cast<float>(b) - a) * t));
  };
  return {mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b), mix(top.a, bottom.a)};
}

void BlendPixel(const ge::Surface& s, int32_t x, int32_t y, kv::Color c, float coverage) {
  if (x < 0 || y < 0 || x >= s.width || y >= s.height) return;
  const auto a = static_cast<uint32_t>(std::lround(static_cast<float>(c.a) * std::clamp(coverage, 0.0f, 1.0f)));
  if (a == 0) return;
  kv::Color straight = c;
  straight.a = static_cast<uint8_t>(a);
  uint32_t& d = s.Row(y)[x];
  d = ge::Over(ge::Premultiply(straight.ToWord()), d);
}

void RoundRect(const ge::Surface& s, kv::Rect r, float radius, kv::Color top, kv::Color bottom) {
  const float x1 = static_cast<float>(r.x1), y1 = static_cast<float>(r.y1);
  const float x2 = static_cast<float>(r.x2), y2 = static_cast<float>(r.y2);
  FillShape(s, r, top, bottom,
            [=](float x, float y) { return RoundRectDistance(x, y, x1, y1, x2, y2, radius); });
}

void RoundRectRim(const ge::Surface& s, kv::Rect r, float radius, float width, kv::Color colour) {
  const float x1 = static_cast<float>(r.x1), y1 = static_cast<float>(r.y1);
  const float x2 = static_cast<float>(r.x2), y2 = static_cast<float>(r.y2);
  FillShape(s, r, colour, colour, [=](float x, float y) {
    const float d = RoundRectDistance(x, y, x1, y1, x2, y2, radius);
    return std::max(d, -d - width);
  });
}

void Panel(const ge::Surface& s, kv::Rect r, const PanelStyle& style) {
  const float w = style.rimWidth;
  const float x1 = static_cast<float>(r.x1) + w, y1 = static_cast<float>(r.y1) + w;
  const float x2 = static_cast<float>(r.x2) - w, y2 = static_cast<float>(r.y2) - w;
  const float radius = std::max(style.radius - w, 0.0f);
  FillShape(s, r, style.top, style.bottom,
            [=](float x, float y) { return RoundRectDistance(x, y, x1, y1, x2, y2, radius); });
  if (w > 0) RoundRectRim(s, r, style.radius, w, style.rim);
}

void Stroke(const ge::Surface& s, PointF a, PointF b, float width, kv::Color colour) {
  const float h = width * 0.5f;
  const kv::Rect box{static_cast<int32_t>(std::floor(std::min(a.x, b.x) - h - 1)),
                     static_cast<int32_t>(std::floor(std::min(a.y, b.y) - h - 1)),
                     static_cast<int32_t>(std::ceil(std::max(a.x, b.x) + h + 1)),
                     static_cast<int32_t>(std::ceil(std::max(a.y, b.y) + h + 1))};
  FillShape(s, box, colour, colour, [=](float x, float y) { return SegmentDistance(x, y, a, b) - h; });
}

void Polyline(const ge::Surface& s, std::initializer_list<PointF> points, float width, kv::Color colour) {
  // One shape, so that the joints are not drawn twice.
  const float h = width * 0.5f;
  float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
  for (PointF p : points) {
    minX = std::min(minX, p.x), minY = std::min(minY, p.y);
    maxX = std::max(maxX, p.x), maxY = std::max(maxY, p.y);
  }
  const kv::Rect box{static_cast<int32_t>(std::floor(minX - h - 1)), static_cast<int32_t>(std::floor(minY - h - 1)),
                     static_cast<int32_t>(std::ceil(maxX + h + 1)), static_cast<int32_t>(std::ceil(maxY + h + 1))};
  const PointF* p = points.begin();
  const size_t n = points.size();
  FillShape(s, box, colour, colour, [=](float x, float y) {
    float d = 1e9f;
    for (size_t i = 0; i + 1 < n; ++i) d = std::min(d, SegmentDistance(x, y, p[i], p[i + 1]));
    return d - h;
  });
}

void Polygon(const ge::Surface& s, std::initializer_list<PointF> points, kv::Color colour) {
  float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
  for (PointF p : points) {
    minX = std::min(minX, p.x), minY = std::min(minY, p.y);
    maxX = std::max(maxX, p.x), maxY = std::max(maxY, p.y);
  }
  const kv::Rect box{static_cast<int32_t>(std::floor(minX - 1)), static_cast<int32_t>(std::floor(minY - 1)),
                     static_cast<int32_t>(std::ceil(maxX + 1)), static_cast<int32_t>(std::ceil(maxY + 1))};
  FillShape(s, box, colour, colour, [points](float x, float y) { return ConvexDistance(x, y, points); });
}

void Disc(const ge::Surface& s, PointF c, float radius, kv::Color colour) {
  const kv::Rect box{static_cast<int32_t>(std::floor(c.x - radius - 1)), static_cast<int32_t>(std::floor(c.y - radius - 1)),
                     static_cast<int32_t>(std::ceil(c.x + radius + 1)), static_cast<int32_t>(std::ceil(c.y + radius + 1))};
  FillShape(s, box, colour, colour, [=](float x, float y) { return std::hypot(x - c.x, y - c.y) - radius; });
}

void Ring(const ge::Surface& s, PointF c, float radius, float width, kv::Color colour) {
  const float o = radius + width * 0.5f;
  const kv::Rect box{static_cast<int32_t>(std::floor(c.x - o - 1)), static_cast<int32_t>(std::floor(c.y - o - 1)),
                     static_cast<int32_t>(std::ceil(c.x + o + 1)), static_cast<int32_t>(std::ceil(c.y + o + 1))};
  FillShape(s, box, colour, colour,
            [=](float x, float y) { return std::fabs(std::hypot(x - c.x, y - c.y) - radius) - width * 0.5f; });
}

void FadedLine(const ge::Surface& s, kv::Rect r, kv::Color colour) {
  const int32_t w = r.W();
  if (w <= 0) return;
  for (int32_t x = r.x1; x < r.x2; ++x) {
    // Full strength in the middle, fading over the outer fifth at each end.
    const float t = static_cast<float>(std::min(x - r.x1, r.x2 - 1 - x)) / std::max(1.0f, w * 0.2f);
    const float cov = std::clamp(t, 0.0f, 1.0f);
    for (int32_t y = r.y1; y < r.y2; ++y) BlendPixel(s, x, y, colour, cov);
  }
}

void Label(const ge::Surface& s, const char16_t* text, int32_t pixelSize, bool bold, kv::Color colour, kv::Rect box,
           int32_t alignH, int32_t alignV) {
  ge::GlyphSource* font = fe::GetFont(pixelSize, bold ? fe::Weight::kBold : fe::Weight::kNormal);
  const ge::TextRun run{std::u16string_view(text), font, colour.ToWord()};
  const ge::TextLayout layout = ge::LayoutText({&run, 1}, ge::LayoutOptions{});
  const ge::AlignH h = alignH == 1 ? ge::AlignH::Center : alignH == 2 ? ge::AlignH::Right : ge::AlignH::Left;
  const ge::AlignV v = alignV == 1 ? ge::AlignV::Center : alignV == 2 ? ge::AlignV::Bottom : ge::AlignV::Top;
  ge::GenDrawAttrText(s, s.Bounds(), {&run, 1}, layout, {box.x1, box.y1, box.x2, box.y2}, h, v, 255);
}

void BadgeLabel(const ge::Surface& s, const char16_t* text, int32_t pixelSize, kv::Color colour) {
  constexpr int32_t kMargin = 3;
  constexpr int32_t kSmallest = 8;
  int32_t size = pixelSize;
  for (; size > kSmallest; --size) {
    const ge::TextRun run{std::u16string_view(text), fe::GetFont(size, fe::Weight::kBold), colour.ToWord()};
    if (ge::LayoutText({&run, 1}, ge::LayoutOptions{}).width <= s.width - 2 * kMargin) break;
  }
  Label(s, text, size, true, colour, Whole(s));
}

}  // namespace Recipes
