// Dialog frames, panels and banner backgrounds: dark opaque bodies (they
// open over other screens, whose texts must not show through) with a thin
// light rim and rounded corners. The nine-slice panels keep their
// corners well inside 16 pixels and are uniform along the edges, so
// Views::Frame can stretch them to any size.
#include "resources/bitmaps/paint.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Resources/Bitmap.h"

namespace {

using namespace Recipes;

void StandardPanel(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, Whole(s), PanelStyle{});
  // A faint highlight along the top edge gives the panel some depth.
  FadedLine(s, {6, 2, s.width - 6, 3}, {255, 255, 255, 40});
}

void MediaPanel(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, Whole(s), PanelStyle{10, Palette::MediaTop, Palette::MediaBottom, {120, 170, 230, 220}, 1.5f});
  FadedLine(s, {6, 2, s.width - 6, 3}, {200, 225, 255, 50});
}

void MediaPopPanel(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, Whole(s), PanelStyle{14, {30, 52, 88, 255}, {10, 20, 38, 255}, {150, 190, 240, 200}, 1.5f});
}

void KeyPadPanel(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, Whole(s), PanelStyle{8, {44, 48, 58, 255}, {20, 22, 28, 255}, Palette::PanelRim, 1.5f});
}

void BarPanel(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, Whole(s), PanelStyle{14, Palette::PanelTop, Palette::PanelBottom, Palette::PanelRim, 1.5f});
}

// The caps of a list panel: one rounded edge, open towards the list.
void TopCap(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, {0, 0, s.width, s.height + 16}, PanelStyle{7});
}
void BottomCap(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, {0, -16, s.width, s.height}, PanelStyle{7});
}

void InnerPanel(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, Whole(s), PanelStyle{6, {24, 28, 36, 255}, {14, 16, 22, 255}, {96, 106, 124, 220}, 1.0f});
}

void VideoBorder(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  RoundRectRim(s, Whole(s), 4, 2, {200, 208, 222, 255});
}

void BannerPanel(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, Whole(s), PanelStyle{10});
  FadedLine(s, {8, 2, s.width - 8, 3}, {255, 255, 255, 40});
}

// Plot area behind the backlight curve: axes and a light grid.
void PlotArea(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, Whole(s), PanelStyle{4, {20, 22, 28, 255}, {14, 16, 20, 255}, {80, 86, 98, 220}, 1.0f});
  const kv::Color grid{90, 96, 110, 110};
  for (int i = 1; i < 5; ++i) {
    const int32_t x = 2 + i * (s.width - 4) / 5, y = 2 + i * (s.height - 4) / 5;
    FillShape(s, {x, 4, x + 1, s.height - 4}, grid, grid, [](float, float) { return -1.0f; });
    FillShape(s, {4, y, s.width - 4, y + 1}, grid, grid, [](float, float) { return -1.0f; });
  }
  const kv::Color axis{190, 196, 208, 230};
  FillShape(s, {4, 4, 6, s.height - 4}, axis, axis, [](float, float) { return -1.0f; });
  FillShape(s, {4, s.height - 6, s.width - 4, s.height - 4}, axis, axis, [](float, float) { return -1.0f; });
}

// Plot area of the adjusting view: eleven vertical slider tracks.
void SliderTracks(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, Whole(s), PanelStyle{4, {20, 22, 28, 230}, {14, 16, 20, 236}, {80, 86, 98, 220}, 1.0f});
  for (int i = 0; i < 11; ++i) {
    const float x = 9.0f + static_cast<float>(i) * static_cast<float>(s.width - 18) / 10.0f;
    Stroke(s, {x, 10}, {x, static_cast<float>(s.height - 10)}, 4, {70, 76, 90, 255});
    Stroke(s, {x, 10}, {x, static_cast<float>(s.height - 10)}, 2, {34, 38, 46, 255});
  }
}

void Divider(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  FadedLine(s, {0, 0, s.width, 1}, {150, 162, 182, 220});
  FadedLine(s, {0, 1, s.width, 2}, {0, 0, 0, 120});
}

}  // namespace

KV_BITMAP(Bitmaps, MiniGuideBackground, StandardPanel, 80, 80, 1);
KV_BITMAP(Bitmaps, MediaQuickMenuBg, MediaPanel, 80, 80, 1);
KV_BITMAP(Bitmaps, MediaPopBg, MediaPopPanel, 80, 80, 1);
KV_BITMAP(Bitmaps, KeyPadBg, KeyPadPanel, 80, 80, 1);
KV_BITMAP(Bitmaps, VolumeBarBackground, BarPanel, 80, 54, 1);
KV_BITMAP(Bitmaps, CECListTopFrame, TopCap, 250, 7, 1);
KV_BITMAP(Bitmaps, CECListBottomFrame, BottomCap, 250, 7, 1);
KV_BITMAP(Bitmaps, BacklightAdjustResultBg, PlotArea, 264, 136, 1);
KV_BITMAP(Bitmaps, BacklightAdjustingBg, SliderTracks, 270, 136, 1);
KV_BITMAP(Bitmaps, EPG_PopupBackground, InnerPanel, 64, 64, 1);
KV_BITMAP(Bitmaps, EPG_VideoBorder, VideoBorder, 64, 64, 1);
KV_BITMAP(Bitmaps, BannerSmallTopBg, BannerPanel, 250, 63, 1);
KV_BITMAP(Bitmaps, BannerBigBg, BannerPanel, 647, 129, 1);
KV_BITMAP(Bitmaps, BannerSmallBottomBg, BannerPanel, 219, 60, 1);
KV_BITMAP(Bitmaps, BannerHDMIBgBig, BannerPanel, 340, 236, 1);
KV_BITMAP(Bitmaps, BannerHDMIBg, BannerPanel, 340, 210, 1);
KV_BITMAP(Bitmaps, PopUpDivider, Divider, 320, 2, 1);
