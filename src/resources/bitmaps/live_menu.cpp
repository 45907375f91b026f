// The live menu's look: a dark column backdrop, round icon tiles that pulse
// while their entry has the focus, key caps for the help row, the shared
// focus bar for items and a thin groove with a red knob for sliders.
#include "resources/bitmaps/paint.h"
#include "units/Bitmaps/MenuBitmaps.h"
#include "units/Resources/Bitmap.h"

namespace {

using namespace Recipes;

void ColumnBg(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  // A darker strip behind the entries, fading towards the pages.
  RoundRect(s, {40, 0, 180, s.height}, 0, {10, 12, 18, 150}, {6, 8, 12, 170});
  FadedLine(s, {180, 20, 181, s.height - 20}, {150, 162, 182, 120});
  FadedLine(s, {200, 460, s.width - 10, 461}, {150, 162, 182, 140});
}

// One icon tile per frame: a ring that grows with the frame number round a glyph.
template <int Glyph>
void Icon(Resources::Bitmap& b) {
  for (int32_t f = 0; f < b.OnGetNoOfFrames(); ++f) {
    const ge::Surface s = b.GetFrameSurface(f);
    const float w = static_cast<float>(s.width), h = static_cast<float>(s.height);
    const PointF c{w / 2, h / 2};
    Disc(s, c, w * 0.40f, {30, 36, 48, 230});
    Ring(s, c, w * 0.40f - static_cast<float>(7 - f) * 0.6f, 2.0f, Palette::FocusRim);
    const kv::Color g = Palette::Glyph;
    switch (Glyph) {
      case 0:  // picture: a screen
        RoundRectRim(s, {13, 16, 37, 33}, 2, 2, g);
        Stroke(s, {20, 37}, {30, 37}, 2, g);
        break;
      case 1:  // audio: a speaker
        Polygon(s, {{15, 21}, {21, 21}, {28, 14}, {28, 36}, {21, 29}, {15, 29}}, g);
        Ring(s, {28, 25}, 8, 1.5f, g);
        break;
      case 2:  // channels: an aerial
        Stroke(s, {25, 22}, {16, 12}, 2, g);
        Stroke(s, {25, 22}, {34, 12}, 2, g);
        RoundRectRim(s, {14, 22, 36, 36}, 2, 2, g);
        break;
      case 3:  // settings: a gear
        Ring(s, c, 7, 3, g);
        for (int i = 0; i < 4; ++i) {
          const float d = 11;
          const PointF a{c.x + (i == 0 ? d : i == 1 ? -d : 0), c.y + (i == 2 ? d : i == 3 ? -d : 0)};
          Stroke(s, c, a, 3, g);
        }
        Disc(s, c, 4, {30, 36, 48, 255});
        break;
      case 4:  // locks: a padlock
        RoundRect(s, {16, 24, 34, 37}, 2, g, g);
        Ring(s, {25, 22}, 6, 2, g);
        break;
      case 5:  // media: a play sign
        Polygon(s, {{19, 14}, {35, 25}, {19, 36}}, g);
        break;
      default:  // record: a red dot
        Disc(s, c, 9, {220, 40, 40, 255});
        break;
    }
  }
}

// A key cap with an arrow pair or a word-free mark.
void KeyCap(const ge::Surface& s) {
  Panel(s, {2, 2, s.width - 2, s.height - 2}, PanelStyle{6, Palette::PlainTop, Palette::PlainBottom, Palette::PlainRim, 1.0f});
}
void HelpOk(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  KeyCap(s);
  Ring(s, {21, 17}, 7, 2, Palette::Glyph);
}
void HelpUD(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  KeyCap(s);
  Polygon(s, {{21, 7}, {27, 14}, {15, 14}}, Palette::Glyph);
  Polygon(s, {{15, 20}, {27, 20}, {21, 27}}, Palette::Glyph);
}
void HelpLR(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  KeyCap(s);
  Polygon(s, {{10, 17}, {17, 11}, {17, 23}}, Palette::Glyph);
  Polygon(s, {{25, 11}, {32, 17}, {25, 23}}, Palette::Glyph);
}
void HelpReturn(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  KeyCap(s);
  Polyline(s, {{30, 11}, {30, 20}, {14, 20}}, 2, Palette::Glyph);
  Polygon(s, {{10, 20}, {16, 15}, {16, 25}}, Palette::Glyph);
}
void HelpExit(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  KeyCap(s);
  Stroke(s, {13, 13}, {27, 27}, 2.5f, Palette::Glyph);
  Stroke(s, {27, 13}, {13, 27}, 2.5f, Palette::Glyph);
}

void ItemFocus(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, Whole(s), PanelStyle{6, Palette::FocusTop, Palette::FocusBottom, Palette::FocusRim, 1.5f});
}
// The same bar at a page row's own size: a thin rim hugging the row's edge,
// so that the label, 5 pixels in, stands on the bar's blue.
void RowFocus(Resources::Bitmap& b) { ItemFocus(b); }
void ItemNonfocus(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  FadedLine(s, {6, s.height - 1, s.width - 6, s.height}, {150, 162, 182, 90});
}
void ItemDisabled(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  FadedLine(s, {6, s.height - 1, s.width - 6, s.height}, {90, 96, 108, 70});
}

void Groove(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  RoundRect(s, {0, 5, s.width, 11}, 3, {20, 22, 28, 230}, {40, 44, 54, 230});
  RoundRectRim(s, {0, 5, s.width, 11}, 3, 1, Palette::PlainRim);
}
void RedKnob(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  RoundRect(s, Whole(s), 3, {236, 70, 60, 255}, {170, 30, 26, 255});
  RoundRectRim(s, Whole(s), 3, 1, {255, 190, 180, 255});
}

}  // namespace

KV_BITMAP(Bitmaps, VidiMainMenuBg, ColumnBg, 710, 540, 1);
KV_BITMAP(Bitmaps, VidiMenuPicture, Icon<0>, 50, 50, 8);
KV_BITMAP(Bitmaps, VidiMenuAudio, Icon<1>, 50, 50, 8);
KV_BITMAP(Bitmaps, VidiMenuChannels, Icon<2>, 50, 50, 8);
KV_BITMAP(Bitmaps, VidiMenuSettings, Icon<3>, 50, 50, 8);
KV_BITMAP(Bitmaps, VidiMenuLocks, Icon<4>, 50, 50, 8);
KV_BITMAP(Bitmaps, VidiMenuMedia, Icon<5>, 50, 50, 8);
KV_BITMAP(Bitmaps, VidiMenuRecord, Icon<6>, 50, 50, 8);
KV_BITMAP(Bitmaps, MenuHelpOk, HelpOk, 42, 34, 1);
KV_BITMAP(Bitmaps, MenuHelpUD, HelpUD, 42, 34, 1);
KV_BITMAP(Bitmaps, MenuHelpLR, HelpLR, 42, 34, 1);
KV_BITMAP(Bitmaps, MenuHelpReturn, HelpReturn, 42, 34, 1);
KV_BITMAP(Bitmaps, MenuHelpExit, HelpExit, 40, 40, 1);
KV_BITMAP(Bitmaps, VidiItemFocus, ItemFocus, 80, 35, 1);
KV_BITMAP(Bitmaps, VidiRowFocus, RowFocus, 530, 70, 1);
KV_BITMAP(Bitmaps, VidiItemNonfocus, ItemNonfocus, 80, 35, 1);
KV_BITMAP(Bitmaps, VidiItemDisabled, ItemDisabled, 80, 35, 1);
KV_BITMAP(Bitmaps, SliderGroove, Groove, 180, 16, 1);
KV_BITMAP(Bitmaps, SliderIndicatorRed, RedKnob, 12, 16, 1);
