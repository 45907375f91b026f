// Check boxes and the lock: a dark box with a light outline; the checked
// box turns focus-blue with a white tick (or a cross for rating boxes).
#include "resources/bitmaps/paint.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Resources/Bitmap.h"

namespace {

using namespace Recipes;

// The box: square and centred in the bitmap.
kv::Rect BoxOf(const ge::Surface& s) {
  const int32_t side = std::min(s.width, s.height) - 2;
  const int32_t x = (s.width - side) / 2, y = (s.height - side) / 2;
  return {x, y, x + side, y + side};
}

void Box(const ge::Surface& s, bool checked) {
  const kv::Rect r = BoxOf(s);
  if (checked)
    Panel(s, r, PanelStyle{3, Palette::FocusTop, Palette::FocusBottom, Palette::FocusRim, 1.5f});
  else
    Panel(s, r, PanelStyle{3, {20, 22, 28, 200}, {12, 14, 18, 210}, {200, 204, 214, 255}, 1.5f});
}

void Empty(Resources::Bitmap& b) { Box(b.GetFrameSurface(0), false); }

void Ticked(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Box(s, true);
  const kv::Rect r = BoxOf(s);
  const float x = static_cast<float>(r.x1), y = static_cast<float>(r.y1), d = static_cast<float>(r.W());
  Polyline(s, {{x + d * 0.24f, y + d * 0.52f}, {x + d * 0.43f, y + d * 0.72f}, {x + d * 0.78f, y + d * 0.3f}},
           d * 0.14f + 0.6f, {255, 255, 255, 255});
}

void Crossed(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Box(s, true);
  const kv::Rect r = BoxOf(s);
  const float x = static_cast<float>(r.x1), y = static_cast<float>(r.y1), d = static_cast<float>(r.W());
  const float lo = 0.28f * d, hi = 0.72f * d, w = d * 0.12f + 0.6f;
  Stroke(s, {x + lo, y + lo}, {x + hi, y + hi}, w, {255, 255, 255, 255});
  Stroke(s, {x + hi, y + lo}, {x + lo, y + hi}, w, {255, 255, 255, 255});
}

// A padlock: a gold body with a keyhole under a light shackle.
void Padlock(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  const float w = static_cast<float>(s.width), h = static_cast<float>(s.height);
  const float cx = w * 0.5f, top = h * 0.12f, bodyTop = h * 0.45f;
  const float r = w * 0.22f, band = w * 0.1f;
  // The shackle: the upper half of a ring, with straight legs down into the body.
  const kv::Rect box{0, 0, s.width, static_cast<int32_t>(bodyTop) + 2};
  const float ry = top + r;
  FillShape(s, box, Palette::GlyphDim, Palette::Glyph, [=](float x, float y) {
    const float arc = y < ry ? std::fabs(std::hypot(x - cx, y - ry) - r) : std::fabs(std::fabs(x - cx) - r);
    return arc - band * 0.5f;
  });
  RoundRect(s, {static_cast<int32_t>(w * 0.16f), static_cast<int32_t>(bodyTop), static_cast<int32_t>(w * 0.84f),
                static_cast<int32_t>(h * 0.94f)},
            3, {246, 222, 70, 255}, {196, 160, 20, 255});
  Disc(s, {cx, h * 0.63f}, w * 0.07f, {60, 44, 8, 255});
  Stroke(s, {cx, h * 0.65f}, {cx, h * 0.8f}, w * 0.08f, {60, 44, 8, 255});
}

}  // namespace

KV_BITMAP(Bitmaps, CheckBox, Empty, 20, 20, 1);
KV_BITMAP(Bitmaps, CheckBoxCheck, Ticked, 20, 20, 1);
KV_BITMAP(Bitmaps, CheckBox_s, Empty, 28, 24, 1);
KV_BITMAP(Bitmaps, CheckBox_x, Crossed, 28, 24, 1);
KV_BITMAP(Bitmaps, LockImage, Padlock, 24, 24, 1);
