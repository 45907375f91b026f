// The slider rows of the setting pages: a dark frame (with or without a
// centre mark) and a knob, in a blue set for enabled rows and a grey set for
// disabled ones. 186 x 20 frames, 10 x 20 knobs.
#include "resources/bitmaps/paint.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Resources/Bitmap.h"

namespace {

using namespace Recipes;

constexpr kv::Color kGreyTop{72, 72, 72, 230};
constexpr kv::Color kGreyBottom{52, 52, 52, 230};
constexpr kv::Color kGreyRim{96, 96, 96, 230};

void Frame(const ge::Surface& s, bool mark, bool grey) {
  const kv::Rect groove{0, s.height / 2 - 4, s.width, s.height / 2 + 4};
  Panel(s, groove, PanelStyle{4, {14, 16, 20, 230}, {34, 38, 46, 230}, grey ? kGreyRim : Palette::PlainRim, 1.0f});
  if (mark) {
    const float x = static_cast<float>(s.width) / 2.0f;
    Stroke(s, {x, 1}, {x, static_cast<float>(s.height - 1)}, 2, grey ? kGreyRim : Palette::Glyph);
  }
}

void Knob(const ge::Surface& s, bool grey) {
  Panel(s, Whole(s), grey ? PanelStyle{4, kGreyTop, kGreyBottom, kGreyRim, 1.0f}
                          : PanelStyle{4, Palette::FocusTop, Palette::FocusBottom, Palette::FocusRim, 1.5f});
}

void FrameMark(Resources::Bitmap& b) { Frame(b.GetFrameSurface(0), true, false); }
void FrameNoMark(Resources::Bitmap& b) { Frame(b.GetFrameSurface(0), false, false); }
void GreyFrameMark(Resources::Bitmap& b) { Frame(b.GetFrameSurface(0), true, true); }
void GreyFrameNoMark(Resources::Bitmap& b) { Frame(b.GetFrameSurface(0), false, true); }
void BlueKnob(Resources::Bitmap& b) { Knob(b.GetFrameSurface(0), false); }
void GreyKnob(Resources::Bitmap& b) { Knob(b.GetFrameSurface(0), true); }

}  // namespace

KV_BITMAP(Bitmaps, SliderBgFrame, FrameMark, 186, 20, 1);
KV_BITMAP(Bitmaps, SliderBgFrameNoY, FrameNoMark, 186, 20, 1);
KV_BITMAP(Bitmaps, SliderIndicator, BlueKnob, 10, 20, 1);
KV_BITMAP(Bitmaps, GraySliderBgFrame, GreyFrameMark, 186, 20, 1);
KV_BITMAP(Bitmaps, GraySliderBgFrameNoY, GreyFrameNoMark, 186, 20, 1);
KV_BITMAP(Bitmaps, GraySliderIndicator, GreyKnob, 10, 20, 1);
