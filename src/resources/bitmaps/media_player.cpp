// The full-screen players: repeat icons, the Dolby logo, the music line
// icons, the music animation, in the media panel's look.
#include "resources/bitmaps/paint.h"
#include "units/Bitmaps/PlayerBitmaps.h"
#include "units/Resources/Bitmap.h"

namespace {

using namespace Recipes;

// Two arrows chasing each other round a rounded loop.
void Loop(const ge::Surface& s, kv::Color c) {
  const float w = static_cast<float>(s.width), h = static_cast<float>(s.height);
  Polyline(s, {{w * 0.25f, h * 0.30f}, {w * 0.80f, h * 0.30f}, {w * 0.80f, h * 0.62f}}, 2.0f, c);
  Polyline(s, {{w * 0.75f, h * 0.72f}, {w * 0.20f, h * 0.72f}, {w * 0.20f, h * 0.40f}}, 2.0f, c);
  Polygon(s, {{w * 0.22f, h * 0.12f}, {w * 0.34f, h * 0.30f}, {w * 0.22f, h * 0.48f}}, c);
  Polygon(s, {{w * 0.78f, h * 0.54f}, {w * 0.66f, h * 0.72f}, {w * 0.78f, h * 0.90f}}, c);
}

void RepeatAll(Resources::Bitmap& b) { Loop(b.GetFrameSurface(0), Palette::Glyph); }
void RepeatOne(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Loop(s, Palette::Glyph);
  Label(s, u"1", 11, true, Palette::Accent, Whole(s));
}
void RepeatDisable(Resources::Bitmap& b) { Loop(b.GetFrameSurface(0), Palette::GlyphDim); }

void DolbySound(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, Whole(s), PanelStyle{6, Palette::MediaTop, Palette::MediaBottom, Palette::PanelRim, 1.5f});
  Label(s, u"DOLBY", 12, true, Palette::Glyph, {0, 6, s.width, 26});
  Label(s, u"AUDIO", 10, false, Palette::GlyphDim, {0, 26, s.width, 42});
}

void MusicAnimation(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Panel(s, Whole(s), PanelStyle{16, Palette::MediaTop, Palette::MediaBottom, Palette::PanelRim, 1.5f});
}

void Note(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Disc(s, {9, 15}, 3.5f, Palette::Glyph);
  Stroke(s, {12, 15}, {12, 3}, 1.6f, Palette::Glyph);
  Stroke(s, {12, 3}, {18, 6}, 1.6f, Palette::Glyph);
}
void Person(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Disc(s, {12, 6}, 4.0f, Palette::Glyph);
  Polygon(s, {{4, 19}, {7, 12}, {17, 12}, {20, 19}}, Palette::Glyph);
}
void Album(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Ring(s, {12, 10}, 8.0f, 2.0f, Palette::Glyph);
  Disc(s, {12, 10}, 2.5f, Palette::Glyph);
}
void Genre(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  Polygon(s, {{4, 4}, {13, 4}, {20, 11}, {13, 18}, {4, 9}}, Palette::Glyph);
  Disc(s, {8, 7}, 1.5f, Palette::MediaBottom);
}

}  // namespace

KV_BITMAP(MediaPlayer, MediaPlayerRepeatAll, RepeatAll, 40, 20, 1);
KV_BITMAP(MediaPlayer, MediaPlayerRepeatOne, RepeatOne, 40, 20, 1);
KV_BITMAP(MediaPlayer, MediaPlayerRepeatDisable, RepeatDisable, 40, 20, 1);
KV_BITMAP(MediaPlayer, MediaPlayerDolbySound, DolbySound, 58, 48, 1);
KV_BITMAP(MediaPlayer, MediaPlayerMusicPlayAnimation, MusicAnimation, 516, 235, 1);
KV_BITMAP(Bitmaps, MediaMusicTitle, Note, 24, 20, 1);
KV_BITMAP(Bitmaps, MediaMusicArtist, Person, 24, 20, 1);
KV_BITMAP(Bitmaps, MediaMusicAlbum, Album, 24, 20, 1);
KV_BITMAP(Bitmaps, MediaMusicGenre, Genre, 24, 20, 1);
