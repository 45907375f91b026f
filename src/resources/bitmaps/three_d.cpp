// The 3D screens' buttons: a rounded tile (plain, focus-blue, or dimmed when
// disabled) carrying a glyph: 3D glasses, a flat "2D" screen, the 2D-to-3D
// arrow, or the frame layout of a format (one frame, two side by side, two
// stacked).
#include "resources/bitmaps/paint.h"
#include "units/Resources/Bitmap.h"
#include "units/ThreeD/ThreeDBitmaps.h"

namespace {

using namespace Recipes;

enum class Look { Plain, Focus, Disabled, DisabledFocus };
enum class Glyph { Glasses, Flat2D, To3D, Native, SideBySide, Stacked };

void Tile(const ge::Surface& s, Look look) {
  const kv::Rect r{2, 2, s.width - 2, s.height - 2};
  switch (look) {
    case Look::Focus:
      Panel(s, r, PanelStyle{8, Palette::FocusTop, Palette::FocusBottom, Palette::FocusRim, 2});
      break;
    case Look::DisabledFocus:
      Panel(s, r, PanelStyle{8, {60, 70, 84, 220}, {40, 46, 56, 230}, Palette::FocusRim, 2});
      break;
    default:
      Panel(s, r, PanelStyle{8, Palette::PlainTop, Palette::PlainBottom, Palette::PlainRim, 1.5f});
      break;
  }
}

// One picture frame at (x, y) of size w x h.
void Frame(const ge::Surface& s, float x, float y, float w, float h, kv::Color c) {
  RoundRectRim(s, {static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(x + w),
                   static_cast<int32_t>(y + h)},
               2, 2, c);
}

void Draw(Resources::Bitmap& b, Look look, Glyph glyph) {
  const ge::Surface s = b.GetFrameSurface(0);
  Tile(s, look);
  const bool dim = look == Look::Disabled || look == Look::DisabledFocus;
  const kv::Color c = dim ? Palette::GlyphDim : Palette::Glyph;
  const float w = static_cast<float>(s.width), h = static_cast<float>(s.height);
  switch (glyph) {
    case Glyph::Glasses: {
      // Two lenses joined by a bridge, with the temples.
      const float y = h * 0.45f, r = h * 0.16f;
      Ring(s, {w * 0.33f, y}, r, 3, c);
      Ring(s, {w * 0.67f, y}, r, 3, c);
      Stroke(s, {w * 0.33f + r, y}, {w * 0.67f - r, y}, 3, c);
      Stroke(s, {w * 0.33f - r, y}, {w * 0.1f, y - r * 0.6f}, 3, c);
      Stroke(s, {w * 0.67f + r, y}, {w * 0.9f, y - r * 0.6f}, 3, c);
      Label(s, u"3D", 16, true, c, {0, static_cast<int32_t>(h * 0.62f), s.width, s.height - 4});
      break;
    }
    case Glyph::Flat2D:
      Frame(s, w * 0.25f, h * 0.18f, w * 0.5f, h * 0.44f, c);
      Label(s, u"2D", 16, true, c, {0, static_cast<int32_t>(h * 0.62f), s.width, s.height - 4});
      break;
    case Glyph::To3D:
      Frame(s, w * 0.12f, h * 0.2f, w * 0.28f, h * 0.36f, c);
      Stroke(s, {w * 0.45f, h * 0.38f}, {w * 0.58f, h * 0.38f}, 3, c);
      Polygon(s, {{w * 0.58f, h * 0.3f}, {w * 0.66f, h * 0.38f}, {w * 0.58f, h * 0.46f}}, c);
      Ring(s, {w * 0.8f, h * 0.38f}, h * 0.1f, 2.5f, c);
      Label(s, u"2D\u21923D", 14, true, c, {0, static_cast<int32_t>(h * 0.62f), s.width, s.height - 4});
      break;
    case Glyph::Native:
      Frame(s, w * 0.28f, h * 0.2f, w * 0.44f, h * 0.5f, c);
      break;
    case Glyph::SideBySide:
      Frame(s, w * 0.18f, h * 0.25f, w * 0.3f, h * 0.4f, c);
      Frame(s, w * 0.52f, h * 0.25f, w * 0.3f, h * 0.4f, c);
      break;
    case Glyph::Stacked:
      Frame(s, w * 0.3f, h * 0.12f, w * 0.4f, h * 0.3f, c);
      Frame(s, w * 0.3f, h * 0.48f, w * 0.4f, h * 0.3f, c);
      break;
  }
}

template <Look L, Glyph G>
void Recipe(Resources::Bitmap& b) {
  Draw(b, L, G);
}

constexpr int32_t W = 100, H = 80;

}  // namespace

KV_BITMAP(Bitmaps, Mode3D_3D, (Recipe<Look::Plain, Glyph::Glasses>), W, H, 1);
KV_BITMAP(Bitmaps, Mode3D_3D_Focus, (Recipe<Look::Focus, Glyph::Glasses>), W, H, 1);
KV_BITMAP(Bitmaps, Mode3D_2D, (Recipe<Look::Plain, Glyph::Flat2D>), W, H, 1);
KV_BITMAP(Bitmaps, Mode3D_2D_Focus, (Recipe<Look::Focus, Glyph::Flat2D>), W, H, 1);
KV_BITMAP(Bitmaps, Mode3D_2Dto3D, (Recipe<Look::Plain, Glyph::To3D>), W, H, 1);
KV_BITMAP(Bitmaps, Mode3D_2Dto3D_Focus, (Recipe<Look::Focus, Glyph::To3D>), W, H, 1);
KV_BITMAP(Bitmaps, Format3D_SBS, (Recipe<Look::Plain, Glyph::SideBySide>), W, H, 1);
KV_BITMAP(Bitmaps, Format3D_SBS_Focus, (Recipe<Look::Focus, Glyph::SideBySide>), W, H, 1);
KV_BITMAP(Bitmaps, Format3D_TAB, (Recipe<Look::Plain, Glyph::Stacked>), W, H, 1);
KV_BITMAP(Bitmaps, Format3D_TAB_Focus, (Recipe<Look::Focus, Glyph::Stacked>), W, H, 1);
KV_BITMAP(Bitmaps, Format3D_Native, (Recipe<Look::Plain, Glyph::Native>), W, H, 1);
KV_BITMAP(Bitmaps, Format3D_Native_Focus, (Recipe<Look::Focus, Glyph::Native>), W, H, 1);
KV_BITMAP(Bitmaps, Format2D_SBS, (Recipe<Look::Plain, Glyph::SideBySide>), W, H, 1);
KV_BITMAP(Bitmaps, Format2D_SBS_Focus, (Recipe<Look::Focus, Glyph::SideBySide>), W, H, 1);
KV_BITMAP(Bitmaps, Format2D_SBS_Disabled, (Recipe<Look::Disabled, Glyph::SideBySide>), W, H, 1);
KV_BITMAP(Bitmaps, Format2D_SBS_Disabled_Focus, (Recipe<Look::DisabledFocus, Glyph::SideBySide>), W, H, 1);
KV_BITMAP(Bitmaps, Format2D_TAB, (Recipe<Look::Plain, Glyph::Stacked>), W, H, 1);
KV_BITMAP(Bitmaps, Format2D_TAB_Focus, (Recipe<Look::Focus, Glyph::Stacked>), W, H, 1);
KV_BITMAP(Bitmaps, Format2D_TAB_Disabled, (Recipe<Look::Disabled, Glyph::Stacked>), W, H, 1);
KV_BITMAP(Bitmaps, Format2D_TAB_Disabled_Focus, (Recipe<Look::DisabledFocus, Glyph::Stacked>), W, H, 1);
