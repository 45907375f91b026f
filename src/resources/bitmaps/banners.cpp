// Bitmaps of the information banner: small rounded badges with a short
// caption in the shared look, and a clock face for the game timer (dim while
// off, gold while minutes are left).
#include "resources/bitmaps/paint.h"
#include "units/Bitmaps/BannerBitmaps.h"
#include "units/Resources/Bitmap.h"

namespace {

using namespace Recipes;

constexpr kv::Color kTop{78, 86, 102, 235};
constexpr kv::Color kBottom{44, 50, 62, 235};
constexpr kv::Color kInk{236, 238, 244, 255};

void Badge(Resources::Bitmap& b, const char16_t* text) {
  const ge::Surface s = b.GetFrameSurface(0);
  RoundRect(s, Whole(s), 3.0f, kTop, kBottom);
  RoundRectRim(s, Whole(s), 3.0f, 1.0f, Palette::PlainRim);
  BadgeLabel(s, text, s.height - 7, kInk);
}

void Clock(Resources::Bitmap& b, kv::Color ink) {
  const ge::Surface s = b.GetFrameSurface(0);
  const float r = static_cast<float>(s.width) / 2.0f;
  RoundRectRim(s, Whole(s), r, 2.0f, ink);
  Stroke(s, {r, r}, {r, 4.0f}, 1.5f, ink);
  Stroke(s, {r, r}, {r + 4.0f, r}, 1.5f, ink);
}

void Sd(Resources::Bitmap& b) { Badge(b, u"SD"); }
void Hd(Resources::Bitmap& b) { Badge(b, u"HD"); }
void R480(Resources::Bitmap& b) { Badge(b, u"480"); }
void R720(Resources::Bitmap& b) { Badge(b, u"720"); }
void R1080(Resources::Bitmap& b) { Badge(b, u"1080"); }
void Vga(Resources::Bitmap& b) { Badge(b, u"VGA"); }
void Svga(Resources::Bitmap& b) { Badge(b, u"SVGA"); }
void Xga(Resources::Bitmap& b) { Badge(b, u"XGA"); }
void Wxga(Resources::Bitmap& b) { Badge(b, u"WXGA"); }
void Sxga(Resources::Bitmap& b) { Badge(b, u"SXGA"); }
void Cc(Resources::Bitmap& b) { Badge(b, u"CC"); }
void Dolby(Resources::Bitmap& b) { Badge(b, u"DD"); }
void DolbyPlus(Resources::Bitmap& b) { Badge(b, u"DD+"); }
void Mono(Resources::Bitmap& b) { Badge(b, u"MONO"); }
void Stereo(Resources::Bitmap& b) { Badge(b, u"ST"); }
void Multi(Resources::Bitmap& b) { Badge(b, u"SAP"); }
void Ntsc(Resources::Bitmap& b) { Badge(b, u"ATV"); }
void ThreeD(Resources::Bitmap& b) { Badge(b, u"3D"); }
void Rec(Resources::Bitmap& b) { Badge(b, u"REC"); }
void Shift(Resources::Bitmap& b) { Badge(b, u"TS"); }
void GameOff(Resources::Bitmap& b) { Clock(b, Palette::GlyphDim); }
void GameOn(Resources::Bitmap& b) { Clock(b, Palette::Accent); }

}  // namespace

KV_BITMAP(Bitmaps, BannerSD, Sd, 36, 18, 1);
KV_BITMAP(Bitmaps, BannerHD, Hd, 36, 18, 1);
KV_BITMAP(Bitmaps, Banner480, R480, 36, 18, 1);
KV_BITMAP(Bitmaps, Banner720, R720, 36, 18, 1);
KV_BITMAP(Bitmaps, Banner1080, R1080, 36, 18, 1);
KV_BITMAP(Bitmaps, BannerVGA, Vga, 36, 18, 1);
KV_BITMAP(Bitmaps, BannerSVGA, Svga, 36, 18, 1);
KV_BITMAP(Bitmaps, BannerXGA, Xga, 36, 18, 1);
KV_BITMAP(Bitmaps, BannerWXGA, Wxga, 36, 18, 1);
KV_BITMAP(Bitmaps, BannerSXGA, Sxga, 36, 18, 1);
KV_BITMAP(Bitmaps, BannerCC, Cc, 36, 18, 1);
KV_BITMAP(Bitmaps, BannerDolbyDigital, Dolby, 36, 18, 1);
KV_BITMAP(Bitmaps, BannerDolbyDigitalPlus, DolbyPlus, 36, 18, 1);
KV_BITMAP(Bitmaps, BannerMono, Mono, 36, 18, 1);
KV_BITMAP(Bitmaps, BannerStereo, Stereo, 36, 18, 1);
KV_BITMAP(Bitmaps, BannerMultiAudio, Multi, 36, 18, 1);
KV_BITMAP(Bitmaps, BannerNTSC, Ntsc, 36, 18, 1);
KV_BITMAP(Bitmaps, Banner3D, ThreeD, 36, 18, 1);
KV_BITMAP(Bitmaps, BannerRecord, Rec, 36, 18, 1);
KV_BITMAP(Bitmaps, BannerTimeshift, Shift, 36, 18, 1);
KV_BITMAP(Bitmaps, BannerGameTimer, GameOff, 18, 18, 1);
KV_BITMAP(Bitmaps, BannerGameTimerActivated, GameOn, 18, 18, 1);
