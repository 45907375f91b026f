// The bars over the picture: blue slider frames and knob, the loudspeaker
// and mute images, the amplifier's plus and minus keys, the light meter and
// the dots of the backlight curve.
#include "resources/bitmaps/paint.h"
#include "units/Bitmaps/BarBitmaps.h"
#include "units/Resources/Bitmap.h"

namespace {

using namespace Recipes;

constexpr kv::Color kTrack{10, 22, 40, 230};
constexpr kv::Color kMute{236, 70, 60, 255};

void SliderFrame(const ge::Surface& s, bool centreMark) {
  const float h = static_cast<float>(s.height);
  Panel(s, {0, 2, s.width, s.height - 2}, PanelStyle{h / 2 - 2, kTrack, kTrack, Palette::FocusRim, 1.0f});
  if (centreMark) {
    const float cx = static_cast<float>(s.width) * 0.5f;
    Stroke(s, {cx, 1}, {cx, h - 1}, 1.5f, Palette::Glyph);
  }
}
void BlueFrame(Resources::Bitmap& b) { SliderFrame(b.GetFrameSurface(0), true); }
void BlueFrameNoY(Resources::Bitmap& b) { SliderFrame(b.GetFrameSurface(0), false); }

void BlueKnob(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, Whole(s), PanelStyle{3, Palette::FocusTop, Palette::FocusBottom, Palette::FocusRim, 1.0f});
}

// A loudspeaker over the left part of a 32 x 32 box.
void Speaker(const ge::Surface& s, kv::Color c) {
  Polygon(s, {{4, 12}, {10, 12}, {18, 5}, {18, 27}, {10, 20}, {4, 20}}, c);
}

void Loudspeaker(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Speaker(s, Palette::Glyph);
  Polyline(s, {{22, 11}, {24, 16}, {22, 21}}, 1.8f, Palette::Glyph);
  Polyline(s, {{25, 7}, {29, 16}, {25, 25}}, 1.8f, Palette::Glyph);
}

void HalfMute(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Speaker(s, Palette::Glyph);
  Polyline(s, {{22, 11}, {24, 16}, {22, 21}}, 1.8f, Palette::GlyphDim);
  Stroke(s, {3, 28}, {29, 4}, 2.5f, kMute);
}

void FullMute(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Speaker(s, Palette::Glyph);
  Stroke(s, {21, 11}, {29, 21}, 2.5f, kMute);
  Stroke(s, {29, 11}, {21, 21}, 2.5f, kMute);
}

void Key(Resources::Bitmap& b, bool plus) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, Whole(s), PanelStyle{5, Palette::PlainTop, Palette::PlainBottom, Palette::PlainRim, 1.0f});
  const float cx = static_cast<float>(s.width) / 2, cy = static_cast<float>(s.height) / 2;
  Stroke(s, {cx - 5, cy}, {cx + 5, cy}, 2.0f, Palette::Glyph);
  if (plus) Stroke(s, {cx, cy - 5}, {cx, cy + 5}, 2.0f, Palette::Glyph);
}
void KeyPlus(Resources::Bitmap& b) { Key(b, true); }
void KeyMinus(Resources::Bitmap& b) { Key(b, false); }

void Trough(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, Whole(s), PanelStyle{4, {14, 16, 20, 230}, {34, 38, 46, 230}, Palette::PlainRim, 1.0f});
}

void FillIn(Resources::Bitmap& b, kv::Color top, kv::Color bottom) {
  const ge::Surface s = b.GetFrameSurface(0);
  RoundRect(s, {1, 2, s.width - 1, s.height - 2}, 3, top, bottom);
}
void Fill(Resources::Bitmap& b) { FillIn(b, Palette::FocusTop, Palette::FocusBottom); }
// Fills stretched over long bars: square ends, so that stretching keeps them sharp.
void FlatFill(Resources::Bitmap& b, kv::Color top, kv::Color bottom) {
  const ge::Surface s = b.GetFrameSurface(0);
  RoundRect(s, {0, 3, s.width, s.height - 3}, 0, top, bottom);
}
void RedFill(Resources::Bitmap& b) { FlatFill(b, {226, 64, 52, 255}, {150, 26, 20, 255}); }
void BufferFill(Resources::Bitmap& b) { FlatFill(b, {120, 150, 190, 230}, {70, 96, 132, 230}); }

void Dot(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  const float r = static_cast<float>(s.width) / 2;
  Disc(s, {r, r}, r - 0.5f, Palette::GlyphDim);
}

void FocusedDot(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  const float r = static_cast<float>(s.width) / 2;
  Disc(s, {r, r}, r - 0.5f, Palette::FocusRim);
  Disc(s, {r, r}, r - 3.0f, Palette::FocusTop);
}

void CurveMark(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  const float r = static_cast<float>(s.width) / 2;
  Disc(s, {r, r}, r - 0.5f, Palette::Glyph);
}

}  // namespace

KV_BITMAP(Bitmaps, BlueSliderBgFrame, BlueFrame, 260, 14, 1);
KV_BITMAP(Bitmaps, BlueSliderBgFrameNoY, BlueFrameNoY, 260, 14, 1);
KV_BITMAP(Bitmaps, BlueSliderIndicator, BlueKnob, 10, 14, 1);
KV_BITMAP(Bitmaps, VolumeBarImage, Loudspeaker, 32, 32, 1);
KV_BITMAP(Bitmaps, FullMuteImage, FullMute, 32, 32, 1);
KV_BITMAP(Bitmaps, HalfMuteImage, HalfMute, 32, 32, 1);
KV_BITMAP(Bitmaps, AmplifierVolumePlus, KeyPlus, 30, 20, 1);
KV_BITMAP(Bitmaps, AmplifierVolumeMinus, KeyMinus, 30, 20, 1);
KV_BITMAP(Bitmaps, ScanSliderBackground, Trough, 260, 20, 1);
KV_BITMAP(Bitmaps, ScanSliderIndicator, Fill, 20, 20, 1);
KV_BITMAP(Bitmaps, SliderIndicatorRed0, RedFill, 20, 20, 1);
KV_BITMAP(Bitmaps, TimeshiftBufferFill, BufferFill, 20, 20, 1);
KV_BITMAP(Bitmaps, Point, Dot, 10, 10, 1);
KV_BITMAP(Bitmaps, FocusedPoint, FocusedDot, 14, 14, 1);
KV_BITMAP(Bitmaps, CurvePoint, CurveMark, 7, 7, 1);
