// Bitmaps of the photo viewer's banner, in the shared look.
#include "resources/bitmaps/paint.h"
#include "units/Bitmaps/PhotoViewerBitmaps.h"
#include "units/Resources/Bitmap.h"

namespace {

using namespace Recipes;

constexpr kv::Color kLit{120, 200, 255, 255};
constexpr kv::Color kGrey{120, 124, 132, 255};

// Three stacked frames, the front one with a little mountain.
void Slides(Resources::Bitmap& b, kv::Color c) {
  const ge::Surface s = b.GetFrameSurface(0);
  const float w = static_cast<float>(s.width), h = static_cast<float>(s.height);
  RoundRectRim(s, {8, 2, s.width - 2, s.height - 10}, 2.0f, 1.5f, c);
  RoundRectRim(s, {5, 5, s.width - 5, s.height - 7}, 2.0f, 1.5f, c);
  RoundRect(s, {2, 8, s.width - 8, s.height - 2}, 2.0f, c, c);
  Polygon(s, {{w * 0.15f, h * 0.85f}, {w * 0.35f, h * 0.55f}, {w * 0.55f, h * 0.85f}}, {20, 24, 30, 255});
}
void SlidesLit(Resources::Bitmap& b) { Slides(b, kLit); }
void SlidesGrey(Resources::Bitmap& b) { Slides(b, kGrey); }

// A quaver: a round head and a stem with its flag.
void Note(Resources::Bitmap& b, kv::Color c) {
  const ge::Surface s = b.GetFrameSurface(0);
  const float w = static_cast<float>(s.width), h = static_cast<float>(s.height);
  Disc(s, {w * 0.38f, h * 0.74f}, h * 0.17f, c);
  Stroke(s, {w * 0.53f, h * 0.72f}, {w * 0.53f, h * 0.12f}, 2.0f, c);
  Stroke(s, {w * 0.53f, h * 0.12f}, {w * 0.80f, h * 0.32f}, 2.0f, c);
}
void NoteLit(Resources::Bitmap& b) { Note(b, kLit); }
void NoteGrey(Resources::Bitmap& b) { Note(b, kGrey); }

// Two arrows chasing each other round a loop.
void Repeat(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  const float w = static_cast<float>(s.width), h = static_cast<float>(s.height);
  RoundRectRim(s, {6, 4, s.width - 6, s.height - 4}, 5.0f, 2.0f, kLit);
  Polygon(s, {{w * 0.55f, 0.0f}, {w * 0.70f, 4.0f}, {w * 0.55f, 8.0f}}, kLit);
  Polygon(s, {{w * 0.45f, h - 8.0f}, {w * 0.30f, h - 4.0f}, {w * 0.45f, h}}, kLit);
}

}  // namespace

KV_BITMAP(MediaPlayer, MediaPlayerSlideshow, SlidesLit, 32, 24, 1);
KV_BITMAP(MediaPlayer, MediaPlayerSlideshowGray, SlidesGrey, 32, 24, 1);
KV_BITMAP(MediaPlayer, MediaPlayerBGM, NoteLit, 24, 24, 1);
KV_BITMAP(MediaPlayer, BgmGrayout, NoteGrey, 24, 24, 1);
KV_BITMAP(MediaPlayer, MediaPlayerRepeat, Repeat, 30, 24, 1);
