// The progress bar of the software update (and the light meter): a dark
// rounded trough and a focus-blue fill that the bar stretches to its value.
#include "resources/bitmaps/paint.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Resources/Bitmap.h"

namespace {

using namespace Recipes;

void Trough(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, Whole(s), PanelStyle{4, {12, 14, 18, 240}, {30, 34, 40, 240}, Palette::PlainRim, 1.0f});
}

void Fill(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, Whole(s), PanelStyle{4, Palette::FocusTop, Palette::FocusBottom, Palette::FocusRim, 1.0f});
}

}  // namespace

KV_BITMAP(Bitmaps, ScanSliderBackground, Trough, 260, 20, 1);
KV_BITMAP(Bitmaps, ScanSliderIndicator, Fill, 260, 20, 1);
