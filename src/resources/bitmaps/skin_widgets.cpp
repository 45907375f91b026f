// The skinned sliders (a dark rounded groove, a focus-blue knob) and the
// channel browser's tile frame (a light rim, transparent inside).
#include "resources/bitmaps/paint.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Resources/Bitmap.h"

namespace {

using namespace Recipes;

void Groove(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, {0, 0, s.width, s.height}, PanelStyle{5, {14, 16, 20, 230}, {34, 38, 46, 230}, Palette::PlainRim, 1.0f});
}

void Knob(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, {0, 0, s.width, s.height}, PanelStyle{5, Palette::FocusTop, Palette::FocusBottom, Palette::FocusRim, 1.5f});
}

void TileFrame(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  RoundRectRim(s, {0, 0, s.width, s.height}, 8, 3, Palette::FocusRim);
}

}  // namespace

KV_BITMAP(Bitmaps, ProgressGroove, Groove, 200, 12, 1);
KV_BITMAP(Bitmaps, ProgressIndicator, Knob, 12, 12, 1);
KV_BITMAP(Bitmaps, ChBrowserFocusFrame, TileFrame, 64, 64, 1);
