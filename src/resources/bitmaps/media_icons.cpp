// The play-state icons: a light glyph on a round translucent button in the
// media panel's blue, one helper for every glyph.
#include "resources/bitmaps/paint.h"
#include "units/Bitmaps/MediaBitmaps.h"
#include "units/Resources/Bitmap.h"

namespace {

using namespace Recipes;

enum class Glyph { Play, Pause, Forward, Backward, Stop };

void Icon(Resources::Bitmap& b, Glyph g) {
  const ge::Surface s = b.GetFrameSurface(0);
  const float w = static_cast<float>(s.width), h = static_cast<float>(s.height);
  const float r = w / 2;
  Disc(s, {r, h / 2}, r - 1, Palette::MediaTop);
  Ring(s, {r, h / 2}, r - 1, 1.5f, Palette::PanelRim);
  const float top = h * 0.32f, bottom = h * 0.68f, mid = h / 2;
  switch (g) {
    case Glyph::Play: Polygon(s, {{w * 0.40f, top}, {w * 0.70f, mid}, {w * 0.40f, bottom}}, Palette::Glyph); break;
    case Glyph::Pause:
      for (float x : {w * 0.36f, w * 0.56f}) {
        Polygon(s, {{x, top}, {x + w * 0.09f, top}, {x + w * 0.09f, bottom}, {x, bottom}}, Palette::Glyph);
      }
      break;
    case Glyph::Forward:
      for (float x : {w * 0.28f, w * 0.50f}) Polygon(s, {{x, top}, {x + w * 0.22f, mid}, {x, bottom}}, Palette::Glyph);
      break;
    case Glyph::Stop:
      Polygon(s, {{w * 0.36f, top}, {w * 0.64f, top}, {w * 0.64f, bottom}, {w * 0.36f, bottom}}, Palette::Glyph);
      break;
    case Glyph::Backward:
      for (float x : {w * 0.72f, w * 0.50f}) Polygon(s, {{x, bottom}, {x - w * 0.22f, mid}, {x, top}}, Palette::Glyph);
      break;
  }
}

void Play(Resources::Bitmap& b) { Icon(b, Glyph::Play); }
void Pause(Resources::Bitmap& b) { Icon(b, Glyph::Pause); }
void Forward(Resources::Bitmap& b) { Icon(b, Glyph::Forward); }
void Backward(Resources::Bitmap& b) { Icon(b, Glyph::Backward); }
void Stop(Resources::Bitmap& b) { Icon(b, Glyph::Stop); }

}  // namespace

KV_BITMAP(Bitmaps, MediaPlay, Play, 60, 60, 1);
KV_BITMAP(Bitmaps, MediaPause, Pause, 60, 60, 1);
KV_BITMAP(Bitmaps, MediaForward, Forward, 60, 60, 1);
KV_BITMAP(Bitmaps, MediaBackward, Backward, 60, 60, 1);
KV_BITMAP(Bitmaps, MediaStop, Stop, 60, 60, 1);
