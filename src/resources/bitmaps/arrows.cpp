// Arrows and page indicators: light triangles with a soft dark shadow below,
// readable over panels and over the picture alike.
#include "resources/bitmaps/paint.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Resources/Bitmap.h"

namespace {

using namespace Recipes;

enum class Dir { Up, Down, Left, Right };

constexpr kv::Color kShadow{0, 0, 0, 140};

// A triangle filling the box (x1, y1)-(x2, y2), pointing `dir`.
void Triangle(const ge::Surface& s, Dir dir, float x1, float y1, float x2, float y2, kv::Color c) {
  const float cx = (x1 + x2) * 0.5f, cy = (y1 + y2) * 0.5f;
  switch (dir) {
    case Dir::Up: Polygon(s, {{cx, y1}, {x2, y2}, {x1, y2}}, c); break;
    case Dir::Down: Polygon(s, {{x1, y1}, {x2, y1}, {cx, y2}}, c); break;
    case Dir::Left: Polygon(s, {{x2, y1}, {x2, y2}, {x1, cy}}, c); break;
    case Dir::Right: Polygon(s, {{x1, y1}, {x2, cy}, {x1, y2}}, c); break;
  }
}

// The triangle inset by `mx`, `my` from the edges, with its shadow one pixel lower.
void Arrow(Resources::Bitmap& b, Dir dir, float mx, float my) {
  const ge::Surface s = b.GetFrameSurface(0);
  const float w = static_cast<float>(s.width), h = static_cast<float>(s.height);
  Triangle(s, dir, mx, my + 1, w - mx, h - my + 1, kShadow);
  Triangle(s, dir, mx, my, w - mx, h - my, Palette::Glyph);
}

void Up(Resources::Bitmap& b) { Arrow(b, Dir::Up, 4, 5); }
void Down(Resources::Bitmap& b) { Arrow(b, Dir::Down, 4, 5); }
void SmallUp(Resources::Bitmap& b) { Arrow(b, Dir::Up, 2, 2); }
void SmallDown(Resources::Bitmap& b) { Arrow(b, Dir::Down, 2, 2); }
void SmallLeft(Resources::Bitmap& b) { Arrow(b, Dir::Left, 1.5f, 1.5f); }
void SmallRight(Resources::Bitmap& b) { Arrow(b, Dir::Right, 1.5f, 1.5f); }
void TinyUp(Resources::Bitmap& b) { Arrow(b, Dir::Up, 1, 0.5f); }
void TinyDown(Resources::Bitmap& b) { Arrow(b, Dir::Down, 1, 0.5f); }

// Page arrows: a chevron on a translucent rounded tab.
void PageArrow(Resources::Bitmap& b, bool right) {
  const ge::Surface s = b.GetFrameSurface(0);
  const float w = static_cast<float>(s.width), h = static_cast<float>(s.height);
  Panel(s, Whole(s), PanelStyle{6, {30, 34, 44, 170}, {16, 18, 24, 190}, {120, 130, 150, 160}, 1.0f});
  const float near = w * 0.35f, far = w * 0.65f;
  const float tip = right ? far : near, base = right ? near : far;
  Polyline(s, {{base, h * 0.3f}, {tip, h * 0.5f}, {base, h * 0.7f}}, 3, Palette::Glyph);
}
void PageLeft(Resources::Bitmap& b) { PageArrow(b, false); }
void PageRight(Resources::Bitmap& b) { PageArrow(b, true); }

}  // namespace

KV_BITMAP(Bitmaps, OptionButtonUpArrow, Up, 20, 20, 1);
KV_BITMAP(Bitmaps, OptionButtonDownArrow, Down, 20, 20, 1);
KV_BITMAP(Bitmaps, EPG_ListScrollUp, SmallUp, 16, 12, 1);
KV_BITMAP(Bitmaps, EPG_ListScrollDown, SmallDown, 16, 12, 1);
KV_BITMAP(Bitmaps, InputListRightArrow, SmallRight, 10, 14, 1);
KV_BITMAP(Bitmaps, InputListLeftArrow, SmallLeft, 10, 14, 1);
KV_BITMAP(Bitmaps, SubMenuRightArrow, SmallRight, 14, 20, 1);
KV_BITMAP(Bitmaps, ToggleButtonLeftArrow, SmallLeft, 13, 10, 1);
KV_BITMAP(Bitmaps, ToggleButtonRightArrow, SmallRight, 13, 10, 1);
KV_BITMAP(Bitmaps, KeyPadLeftArrow, SmallLeft, 14, 18, 1);
KV_BITMAP(Bitmaps, KeyPadRightArrow, SmallRight, 14, 18, 1);
KV_BITMAP(Bitmaps, BaseColorAdjustUpArrow, TinyUp, 12, 6, 1);
KV_BITMAP(Bitmaps, BaseColorAdjustDownArrow, TinyDown, 12, 6, 1);
KV_BITMAP(Bitmaps, ChBrowserArrowLeft, PageLeft, 24, 48, 1);
KV_BITMAP(Bitmaps, ChBrowserArrowRight, PageRight, 24, 48, 1);
KV_BITMAP(MediaPlayer, ArrowLeft, PageLeft, 24, 48, 1);
KV_BITMAP(MediaPlayer, ArrowRight, PageRight, 24, 48, 1);
