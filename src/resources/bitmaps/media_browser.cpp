// The media browser's icons and pictures: light glyphs on the media
// panel's blue, drawn by one small set of helpers.
#include "ge/fill.h"
#include "resources/bitmaps/paint.h"
#include "units/Bitmaps/BrowserBitmaps.h"
#include "units/Resources/Bitmap.h"

namespace {

using namespace Recipes;

struct Box {
  float w, h;
};

Box Size(const ge::Surface& s) { return {static_cast<float>(s.width), static_cast<float>(s.height)}; }

// A folder outline filling the surface's middle.
void FolderShape(const ge::Surface& s, kv::Color colour) {
  const Box b = Size(s);
  Polygon(s, {{b.w * 0.08f, b.h * 0.18f}, {b.w * 0.40f, b.h * 0.18f}, {b.w * 0.48f, b.h * 0.30f}, {b.w * 0.92f, b.h * 0.30f},
              {b.w * 0.92f, b.h * 0.86f}, {b.w * 0.08f, b.h * 0.86f}},
          colour);
}

void FolderWhite(Resources::Bitmap& bm) { FolderShape(bm.GetFrameSurface(0), Palette::Glyph); }

// A large picture: the media panel with a folder and a small mark.
enum class Mark { Photo, Music, Movie, None };

void MarkGlyph(const ge::Surface& s, Mark m, PointF c, float r, kv::Color colour) {
  switch (m) {
    case Mark::Photo:
      Polygon(s, {{c.x - r, c.y + r * 0.7f}, {c.x - r * 0.2f, c.y - r * 0.5f}, {c.x + r * 0.3f, c.y + r * 0.2f},
                  {c.x + r * 0.6f, c.y - r * 0.1f}, {c.x + r, c.y + r * 0.7f}},
              colour);
      Disc(s, {c.x + r * 0.55f, c.y - r * 0.6f}, r * 0.2f, colour);
      break;
    case Mark::Music:
      Disc(s, {c.x - r * 0.35f, c.y + r * 0.55f}, r * 0.3f, colour);
      Stroke(s, {c.x - r * 0.08f, c.y + r * 0.55f}, {c.x - r * 0.08f, c.y - r * 0.8f}, r * 0.14f, colour);
      Stroke(s, {c.x - r * 0.08f, c.y - r * 0.8f}, {c.x + r * 0.55f, c.y - r * 0.5f}, r * 0.14f, colour);
      break;
    case Mark::Movie:
      RoundRectRim(s, {static_cast<int32_t>(c.x - r), static_cast<int32_t>(c.y - r * 0.7f), static_cast<int32_t>(c.x + r),
                       static_cast<int32_t>(c.y + r * 0.7f)},
                   r * 0.1f, r * 0.12f, colour);
      Polygon(s, {{c.x - r * 0.3f, c.y - r * 0.4f}, {c.x + r * 0.45f, c.y}, {c.x - r * 0.3f, c.y + r * 0.4f}}, colour);
      break;
    case Mark::None:
      break;
  }
}

// The browse lists' preview pictures fill their frame to its corners: the
// border round the preview is their edge.
void Picture(Resources::Bitmap& bm, Mark m, bool folder) {
  const ge::Surface s = bm.GetFrameSurface(0);
  const Box b = Size(s);
  const ge::Rect all = s.Bounds();
  const uint32_t top = Palette::MediaTop.ToWord(), bottom = Palette::MediaBottom.ToWord();
  ge::GenFillGradient(s, all, all, {top, top, bottom, bottom});
  if (folder) {
    const int32_t x = static_cast<int32_t>(b.w * 0.3f), y = static_cast<int32_t>(b.h * 0.2f);
    ge::Surface inner = s;
    inner.pixels = s.Row(y) + x;
    inner.width = static_cast<int32_t>(b.w * 0.4f);
    inner.height = static_cast<int32_t>(b.h * 0.6f);
    FolderShape(inner, Palette::GlyphDim);
    MarkGlyph(s, m, {b.w / 2, b.h * 0.55f}, b.h * 0.12f, Palette::MediaTop);
  } else {
    MarkGlyph(s, m, {b.w / 2, b.h / 2}, b.h * 0.25f, Palette::Glyph);
  }
}

void PhotoFolder(Resources::Bitmap& bm) { Picture(bm, Mark::Photo, true); }
void MusicFolder(Resources::Bitmap& bm) { Picture(bm, Mark::Music, true); }
void MovieFolder(Resources::Bitmap& bm) { Picture(bm, Mark::Movie, true); }
void MusicMain(Resources::Bitmap& bm) { Picture(bm, Mark::Music, false); }

// A round title icon with a glyph.
void TitleIcon(Resources::Bitmap& bm, Mark m) {
  const ge::Surface s = bm.GetFrameSurface(0);
  const Box b = Size(s);
  Disc(s, {b.w / 2, b.h / 2}, b.w / 2 - 1, Palette::FocusBottom);
  Ring(s, {b.w / 2, b.h / 2}, b.w / 2 - 1, 1.5f, Palette::FocusRim);
  MarkGlyph(s, m, {b.w / 2, b.h / 2}, b.w * 0.28f, Palette::Glyph);
}

void TitlePhoto(Resources::Bitmap& bm) { TitleIcon(bm, Mark::Photo); }
void TitleMusic(Resources::Bitmap& bm) { TitleIcon(bm, Mark::Music); }
void TitleMovie(Resources::Bitmap& bm) { TitleIcon(bm, Mark::Movie); }

// The music panel's line icons.
void LineTitle(Resources::Bitmap& bm) { MarkGlyph(bm.GetFrameSurface(0), Mark::Music, {10, 10}, 8, Palette::Glyph); }
void LineArtist(Resources::Bitmap& bm) {
  const ge::Surface s = bm.GetFrameSurface(0);
  Disc(s, {10, 6}, 4, Palette::Glyph);
  Polygon(s, {{3, 19}, {5, 12}, {15, 12}, {17, 19}}, Palette::Glyph);
}
void LineAlbum(Resources::Bitmap& bm) {
  const ge::Surface s = bm.GetFrameSurface(0);
  Ring(s, {10, 10}, 8, 2, Palette::Glyph);
  Disc(s, {10, 10}, 2, Palette::Glyph);
}
void LineGenre(Resources::Bitmap& bm) {
  const ge::Surface s = bm.GetFrameSurface(0);
  Polygon(s, {{2, 9}, {9, 2}, {18, 2}, {18, 11}, {11, 18}}, Palette::Glyph);
  Disc(s, {14, 6}, 1.6f, Palette::MediaBottom);
}

void Stop(Resources::Bitmap& bm) {
  const ge::Surface s = bm.GetFrameSurface(0);
  const Box b = Size(s);
  Disc(s, {b.w / 2, b.h / 2}, b.w / 2 - 1, Palette::MediaTop);
  Ring(s, {b.w / 2, b.h / 2}, b.w / 2 - 1, 1.5f, Palette::PanelRim);
  Polygon(s, {{b.w * 0.35f, b.h * 0.35f}, {b.w * 0.65f, b.h * 0.35f}, {b.w * 0.65f, b.h * 0.65f}, {b.w * 0.35f, b.h * 0.65f}},
          Palette::Glyph);
}

void RepeatOff(Resources::Bitmap& bm) {
  const ge::Surface s = bm.GetFrameSurface(0);
  Ring(s, {15, 12}, 8, 2, Palette::GlyphDim);
  Stroke(s, {5, 21}, {25, 3}, 2, Palette::GlyphDim);
}

void ChKey(Resources::Bitmap& bm, bool up) {
  const ge::Surface s = bm.GetFrameSurface(0);
  RoundRect(s, Whole(s), 4, Palette::PlainTop, Palette::PlainBottom);
  RoundRectRim(s, Whole(s), 4, 1, Palette::PlainRim);
  if (up)
    Polygon(s, {{6, 16}, {12, 7}, {18, 16}}, Palette::Glyph);
  else
    Polygon(s, {{6, 8}, {18, 8}, {12, 17}}, Palette::Glyph);
}
void ChUp(Resources::Bitmap& bm) { ChKey(bm, true); }
void ChDown(Resources::Bitmap& bm) { ChKey(bm, false); }

}  // namespace

KV_BITMAP(MediaPlayer, MediaPlayerTitleIconPhoto, TitlePhoto, 40, 40, 1);
KV_BITMAP(MediaPlayer, MediaPlayerTitleIconMusic, TitleMusic, 40, 40, 1);
KV_BITMAP(MediaPlayer, MediaPlayerTitleIconMovie, TitleMovie, 40, 40, 1);
KV_BITMAP(MediaPlayer, MediaPlayerListFolderWhite, FolderWhite, 22, 18, 1);
KV_BITMAP(MediaPlayer, MediaPlayerMusicMain, MusicMain, 320, 180, 1);
KV_BITMAP(MediaPlayer, MediaPlayerRepeatDisable, RepeatOff, 30, 24, 1);
KV_BITMAP(Bitmaps, MediaPhotoFolder, PhotoFolder, 320, 180, 1);
KV_BITMAP(Bitmaps, MediaMusicFolder, MusicFolder, 320, 180, 1);
KV_BITMAP(Bitmaps, MediaMovieFolder, MovieFolder, 320, 180, 1);
KV_BITMAP(Bitmaps, MediaMusicTitle, LineTitle, 20, 20, 1);
KV_BITMAP(Bitmaps, MediaMusicArtist, LineArtist, 20, 20, 1);
KV_BITMAP(Bitmaps, MediaMusicAlbum, LineAlbum, 20, 20, 1);
KV_BITMAP(Bitmaps, MediaMusicGenre, LineGenre, 20, 20, 1);
KV_BITMAP(Bitmaps, MediaStop, Stop, 60, 60, 1);
KV_BITMAP(Bitmaps, MediaHelpChUp, ChUp, 24, 24, 1);
KV_BITMAP(Bitmaps, MediaHelpChDown, ChDown, 24, 24, 1);
