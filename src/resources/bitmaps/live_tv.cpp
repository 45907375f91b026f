// Live TV: the help bar's key icons, the message bar's alert sign, the
// waiting circle, the record flag and the screen-saver logo. Every key icon
// is one key cap (a small rounded key in the plain look) with its legend:
// arrows, digits, OK, colour balls or a symbol.
#include <cmath>
#include <numbers>

#include "resources/bitmaps/paint.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Resources/Bitmap.h"

namespace {

using namespace Recipes;

enum class Legend {
  Cursor, Num, LeftRight, Left, Right, UpDown, Up, Down, FourWay, Ok, Quick, PageUpDown,
  Red, Green, Yellow, Blue, PageLeftRight, Record, Return, Exit
};

constexpr kv::Color kGlyph = Palette::Glyph;

// A small arrow head at (cx, cy) pointing by (dx, dy) (unit steps), `size` long.
void Head(const ge::Surface& s, float cx, float cy, float dx, float dy, float size) {
  const float px = -dy, py = dx;  // perpendicular
  const PointF tip{cx + dx * size * 0.5f, cy + dy * size * 0.5f};
  const PointF a{cx - dx * size * 0.5f + px * size * 0.55f, cy - dy * size * 0.5f + py * size * 0.55f};
  const PointF b{cx - dx * size * 0.5f - px * size * 0.55f, cy - dy * size * 0.5f - py * size * 0.55f};
  // Clockwise on screen whatever the direction: order the two base points by the cross product.
  const float cross = (a.x - tip.x) * (b.y - tip.y) - (a.y - tip.y) * (b.x - tip.x);
  if (cross > 0)
    Polygon(s, {tip, a, b}, kGlyph);
  else
    Polygon(s, {tip, b, a}, kGlyph);
}

void Ball(const ge::Surface& s, float c, kv::Color colour) {
  Disc(s, {c, c}, c * 0.46f, colour);
  Disc(s, {c - c * 0.15f, c - c * 0.18f}, c * 0.12f, {255, 255, 255, 110});
}

void DrawLegend(const ge::Surface& s, Legend legend) {
  const float w = static_cast<float>(s.width), c = w * 0.5f, a = w * 0.26f;
  switch (legend) {
    case Legend::Cursor:
    case Legend::FourWay:
      Head(s, c, c - a, 0, -1, 7); Head(s, c, c + a, 0, 1, 7);
      Head(s, c - a, c, -1, 0, 7); Head(s, c + a, c, 1, 0, 7);
      if (legend == Legend::Cursor) Disc(s, {c, c}, 2.5f, kGlyph);
      break;
    case Legend::LeftRight: Head(s, c - a, c, -1, 0, 8); Head(s, c + a, c, 1, 0, 8); break;
    case Legend::Left: Head(s, c, c, -1, 0, 10); break;
    case Legend::Right: Head(s, c, c, 1, 0, 10); break;
    case Legend::UpDown: Head(s, c, c - a, 0, -1, 8); Head(s, c, c + a, 0, 1, 8); break;
    case Legend::Up: Head(s, c, c, 0, -1, 10); break;
    case Legend::Down: Head(s, c, c, 0, 1, 10); break;
    case Legend::Num: Label(s, u"123", 10, true, kGlyph, Whole(s)); break;
    case Legend::Ok: Label(s, u"OK", 11, true, kGlyph, Whole(s)); break;
    case Legend::Quick: Label(s, u"Q", 13, true, kGlyph, Whole(s)); break;
    case Legend::PageUpDown:
      Label(s, u"P", 10, true, kGlyph, Whole(s));
      Head(s, c, 5, 0, -1, 5); Head(s, c, w - 5, 0, 1, 5);
      break;
    case Legend::PageLeftRight:
      Label(s, u"P", 10, true, kGlyph, Whole(s));
      Head(s, 5, c, -1, 0, 5); Head(s, w - 5, c, 1, 0, 5);
      break;
    case Legend::Red: Ball(s, c, {214, 48, 40, 255}); break;
    case Legend::Green: Ball(s, c, {52, 176, 72, 255}); break;
    case Legend::Yellow: Ball(s, c, {232, 200, 40, 255}); break;
    case Legend::Blue: Ball(s, c, {48, 110, 220, 255}); break;
    case Legend::Record: Disc(s, {c, c}, c * 0.38f, {220, 40, 36, 255}); break;
    case Legend::Return:
      Polyline(s, {{c + a, c - a * 0.6f}, {c + a, c + a * 0.5f}, {c - a * 0.6f, c + a * 0.5f}}, 2, kGlyph);
      Head(s, c - a * 0.7f, c + a * 0.5f, -1, 0, 7);
      break;
    case Legend::Exit:
      Stroke(s, {c - a * 0.8f, c - a * 0.8f}, {c + a * 0.8f, c + a * 0.8f}, 2.2f, kGlyph);
      Stroke(s, {c + a * 0.8f, c - a * 0.8f}, {c - a * 0.8f, c + a * 0.8f}, 2.2f, kGlyph);
      break;
  }
}

// The one key cap of every help icon.
void KeyCap(Resources::Bitmap& b, Legend legend) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, {1, 1, s.width - 1, s.height - 1},
        PanelStyle{6, Palette::PlainTop, Palette::PlainBottom, Palette::PlainRim, 1.0f});
  DrawLegend(s, legend);
}

#define HELP_ICON(Name, legend) \
  void Name(Resources::Bitmap& b) { KeyCap(b, Legend::legend); }
HELP_ICON(CursorIcon, Cursor)
HELP_ICON(NumIcon, Num)
HELP_ICON(LeftRightIcon, LeftRight)
HELP_ICON(LeftIcon, Left)
HELP_ICON(RightIcon, Right)
HELP_ICON(UpDownIcon, UpDown)
HELP_ICON(UpIcon, Up)
HELP_ICON(DownIcon, Down)
HELP_ICON(FourWayIcon, FourWay)
HELP_ICON(OkIcon, Ok)
HELP_ICON(QuickIcon, Quick)
HELP_ICON(PageUpDownIcon, PageUpDown)
HELP_ICON(RedIcon, Red)
HELP_ICON(GreenIcon, Green)
HELP_ICON(YellowIcon, Yellow)
HELP_ICON(BlueIcon, Blue)
HELP_ICON(PageLeftRightIcon, PageLeftRight)
HELP_ICON(RecordIcon, Record)
HELP_ICON(ReturnIcon, Return)
HELP_ICON(ExitIcon, Exit)
#undef HELP_ICON

// A warning triangle in the title gold with an exclamation mark.
void AlertSign(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  const float w = static_cast<float>(s.width);
  Polygon(s, {{w * 0.5f, 3}, {w - 2, w - 4}, {2, w - 4}}, {0, 0, 0, 120});
  Polygon(s, {{w * 0.5f, 2}, {w - 3, w - 5}, {3, w - 5}}, Palette::Accent);
  Stroke(s, {w * 0.5f, w * 0.33f}, {w * 0.5f, w * 0.62f}, 3.2f, {30, 30, 30, 255});
  Disc(s, {w * 0.5f, w * 0.76f}, 2.0f, {30, 30, 30, 255});
}

// Twelve frames of a ring of dots, the bright dot one step further each frame.
void Spinner(Resources::Bitmap& b) {
  const int32_t frames = b.OnGetNoOfFrames();
  for (int32_t f = 0; f < frames; ++f) {
    const ge::Surface s = b.GetFrameSurface(f);
    const float c = static_cast<float>(s.width) * 0.5f;
    for (int32_t i = 0; i < 12; ++i) {
      const float angle = 2.0f * std::numbers::pi_v<float> * static_cast<float>(i) / 12.0f;
      const int32_t age = (f - i + 12) % 12;
      const auto alpha = static_cast<uint8_t>(255 - age * 18);
      Disc(s, {c + std::sin(angle) * c * 0.72f, c - std::cos(angle) * c * 0.72f}, 2.6f,
           {Palette::FocusRim.r, Palette::FocusRim.g, Palette::FocusRim.b, alpha});
    }
  }
}

void RecordDot(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  const float c = static_cast<float>(s.width) * 0.5f;
  Disc(s, {c, c}, c - 1, {0, 0, 0, 140});
  Disc(s, {c, c}, c - 3, {222, 36, 32, 255});
  Disc(s, {c - 3, c - 3}, 2.5f, {255, 255, 255, 120});
}

// The product logo: a framed word mark in the shared look.
void Logo(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, Whole(s), PanelStyle{12, {30, 52, 88, 200}, {10, 20, 38, 210}, Palette::FocusRim, 1.5f});
  Label(s, u"tvui", 34, true, Palette::Glyph, Whole(s));
}

// The same word mark at the size of the system-information dialog's logo box.
void SmallLogo(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, Whole(s), PanelStyle{8, {30, 52, 88, 200}, {10, 20, 38, 210}, Palette::FocusRim, 1.5f});
  Label(s, u"tvui", 22, true, Palette::Glyph, Whole(s));
}

}  // namespace

KV_BITMAP(Bitmaps, HelpBarCursor, CursorIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, HelpBarNum, NumIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, HelpBarLeftRight, LeftRightIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, HelpBarLeft, LeftIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, HelpBarRight, RightIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, HelpBarUpDown, UpDownIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, HelpBarUp, UpIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, HelpBarDown, DownIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, HelpBarUpDownLeftRight, FourWayIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, HelpBarOk, OkIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, HelpBarQuick, QuickIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, HelpBarPageUpDown, PageUpDownIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, HelpBarRedBall, RedIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, HelpBarGreenBall, GreenIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, HelpBarYellowBall, YellowIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, HelpBarBlueBall, BlueIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, HelpBarPageLeftRight, PageLeftRightIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, HelpBarRecord, RecordIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, HelpBarReturn, ReturnIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, HelpBarExit, ExitIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, Alert_Large, AlertSign, 40, 40, 1);
KV_BITMAP(Bitmaps, WaitingCircleKXD, Spinner, 36, 36, 12);
KV_BITMAP(Bitmaps, RecordFlag, RecordDot, 28, 28, 1);
KV_BITMAP(Bitmaps, EPG_ProgramRecordFlag, RecordDot, 24, 24, 1);
KV_BITMAP(Bitmaps, HelpBarPageUp, UpIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, HelpBarPageDown, DownIcon, 28, 28, 1);
KV_BITMAP(Bitmaps, ScreenSaverLogo, Logo, 168, 59, 1);
KV_BITMAP(Bitmaps, SystemInfoLogo, SmallLogo, 90, 36, 1);
