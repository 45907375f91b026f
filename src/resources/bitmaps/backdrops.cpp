// Full-screen backdrops (960 x 540) and the generic placeholder picture.
#include "ge/fill.h"
#include "resources/bitmaps/paint.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Resources/Bitmap.h"

namespace {

using namespace Recipes;

// An opaque vertical gradient with a header and a footer rule.
void Backdrop(const ge::Surface& s, kv::Color top, kv::Color bottom, kv::Color rule) {
  const ge::Rect all = s.Bounds();
  ge::GenFillGradient(s, all, all, {top.ToWord(), top.ToWord(), bottom.ToWord(), bottom.ToWord()});
  FadedLine(s, {40, 90, s.width - 40, 91}, rule);
  FadedLine(s, {40, s.height - 80, s.width - 40, s.height - 79}, rule);
}

void GuideBackdrop(Resources::Bitmap& b) {
  Backdrop(b.GetFrameSurface(0), {22, 28, 40, 255}, {6, 8, 12, 255}, {110, 130, 160, 200});
}
void PhotoBackdrop(Resources::Bitmap& b) {
  Backdrop(b.GetFrameSurface(0), {14, 52, 60, 255}, {4, 14, 18, 255}, {110, 190, 200, 200});
}
void MovieBackdrop(Resources::Bitmap& b) {
  Backdrop(b.GetFrameSurface(0), {58, 18, 30, 255}, {12, 4, 8, 255}, {210, 120, 140, 200});
}
void MusicBackdrop(Resources::Bitmap& b) {
  Backdrop(b.GetFrameSurface(0), {36, 24, 72, 255}, {8, 6, 20, 255}, {160, 140, 230, 200});
}

// The main menu's carousel sits on a dark band that fades out above and below.
void MenuBackdrop(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  const int32_t mid = s.height / 2, half = s.height / 4;
  const ge::Rect all = s.Bounds();
  const uint32_t clear = 0x00000000u, dark = 0xD0080A0Eu;
  ge::GenFillGradient(s, all, {0, mid - 2 * half, s.width, mid - half}, {clear, clear, dark, dark});
  ge::GenFillRect(s, all, {0, mid - half, s.width, mid + half}, dark);
  ge::GenFillGradient(s, all, {0, mid + half, s.width, mid + 2 * half}, {dark, dark, clear, clear});
}

void MenuLine(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  FadedLine(s, {0, 1, s.width, 3}, {170, 186, 210, 230});
}

// The picture after the last slide: a quiet dark grey with a soft centre.
void EndPicture(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  const ge::Rect all = s.Bounds();
  ge::GenFillGradient(s, all, all, {0xFF2C2A28u, 0xFF2C2A28u, 0xFF0E0E0Cu, 0xFF0E0E0Cu});
  const float cx = s.width * 0.5f, cy = s.height * 0.5f;
  Disc(s, {cx, cy}, 120, {255, 255, 255, 12});
  Disc(s, {cx, cy}, 70, {255, 255, 255, 12});
}

// Generic picture icon on a dark tile: loading placeholder of data items.
void PictureIcon(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  const float w = static_cast<float>(s.width), h = static_cast<float>(s.height);
  Panel(s, Whole(s), PanelStyle{8, {52, 56, 66, 255}, {30, 32, 40, 255}, {110, 118, 134, 255}, 1.5f});
  // A landscape: sun and two mountains inside a frame.
  const kv::Rect frame{static_cast<int32_t>(w * 0.2f), static_cast<int32_t>(h * 0.2f),
                       static_cast<int32_t>(w * 0.8f), static_cast<int32_t>(h * 0.8f)};
  RoundRectRim(s, frame, 4, 2, Palette::GlyphDim);
  Disc(s, {w * 0.35f, h * 0.36f}, h * 0.07f, Palette::Accent);
  Polygon(s, {{w * 0.24f, h * 0.76f}, {w * 0.44f, h * 0.46f}, {w * 0.62f, h * 0.76f}}, Palette::GlyphDim);
  Polygon(s, {{w * 0.46f, h * 0.76f}, {w * 0.62f, h * 0.54f}, {w * 0.76f, h * 0.76f}}, Palette::Glyph);
}

}  // namespace

KV_BITMAP(Bitmaps, EPG_Background, GuideBackdrop, 960, 540, 1);
KV_BITMAP(Bitmaps, MediaPhotoBg, PhotoBackdrop, 960, 540, 1);
KV_BITMAP(Bitmaps, MediaMovieBg, MovieBackdrop, 960, 540, 1);
KV_BITMAP(Bitmaps, L1Background, MenuBackdrop, 960, 540, 1);
KV_BITMAP(Bitmaps, L1BgLine, MenuLine, 960, 4, 1);
KV_BITMAP(MediaPlayer, MediaPlayerBackground, MusicBackdrop, 960, 540, 1);
KV_BITMAP(Media, DefaultBackground, EndPicture, 960, 540, 1);
KV_BITMAP(Resources, DefaultBitmap, PictureIcon, 160, 120, 1);
