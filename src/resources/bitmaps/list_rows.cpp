// Bitmaps of the list rows, in the shared look: the index digit at the right
// end of an input row, small rounded source badges with a short caption, the
// CEC and tuner-kind marks and the signal bars.
#include "resources/bitmaps/paint.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/Resources/Bitmap.h"

namespace {

using namespace Recipes;

constexpr kv::Color kBadgeTop{70, 78, 92, 230};
constexpr kv::Color kBadgeBottom{40, 46, 56, 230};
constexpr kv::Color kInk{230, 232, 238, 255};
constexpr kv::Color kDim{230, 232, 238, 90};

void Badge(Resources::Bitmap& b, const char16_t* text) {
  const ge::Surface s = b.GetFrameSurface(0);
  RoundRect(s, Whole(s), 3.0f, kBadgeTop, kBadgeBottom);
  Label(s, text, s.height - 6, true, kInk, Whole(s));
}

// A digit at the right end of the row, the rest left clear.
void IndexDigit(Resources::Bitmap& b, const char16_t* digit) {
  const ge::Surface s = b.GetFrameSurface(0);
  Label(s, digit, 14, false, kDim, {s.width - 20, 0, s.width - 4, s.height}, 2);
}

void Index0(Resources::Bitmap& b) { IndexDigit(b, u"0"); }
void Index1(Resources::Bitmap& b) { IndexDigit(b, u"1"); }
void Index2(Resources::Bitmap& b) { IndexDigit(b, u"2"); }
void Index3(Resources::Bitmap& b) { IndexDigit(b, u"3"); }
void Index4(Resources::Bitmap& b) { IndexDigit(b, u"4"); }
void Index5(Resources::Bitmap& b) { IndexDigit(b, u"5"); }
void Index6(Resources::Bitmap& b) { IndexDigit(b, u"6"); }
void Index7(Resources::Bitmap& b) { IndexDigit(b, u"7"); }
void Index8(Resources::Bitmap& b) { IndexDigit(b, u"8"); }
void Index9(Resources::Bitmap& b) { IndexDigit(b, u"9"); }
void Cec(Resources::Bitmap& b) { Badge(b, u"CEC"); }
void Rf1(Resources::Bitmap& b) { Badge(b, u"TV"); }
void Rf2(Resources::Bitmap& b) { Badge(b, u"TV2"); }
void Video(Resources::Bitmap& b) { Badge(b, u"AV"); }
void Hd(Resources::Bitmap& b) { Badge(b, u"HD"); }
void Hdmi(Resources::Bitmap& b) { Badge(b, u"HDMI"); }
void Pc(Resources::Bitmap& b) { Badge(b, u"PC"); }
void Dtv(Resources::Bitmap& b) { Badge(b, u"DTV"); }
void Atv(Resources::Bitmap& b) { Badge(b, u"ATV"); }
void Fb(Resources::Bitmap& b) { Badge(b, u"FAV"); }
void Minus(Resources::Bitmap& b) { Badge(b, u"-"); }

// Frame f shows f rising bars lit (0 to 5), the rest dim.
void Bars(Resources::Bitmap& b) {
  for (int32_t f = 0; f < 6; ++f) {
    const ge::Surface s = b.GetFrameSurface(f);
    for (int32_t i = 0; i < 5; ++i) {
      const int32_t h = 3 + i * (s.height - 3) / 5;
      const kv::Rect bar{1 + i * 4, s.height - h, 4 + i * 4, s.height};
      RoundRect(s, bar, 0.5f, i < f ? kInk : kDim, i < f ? kInk : kDim);
    }
  }
}

}  // namespace

KV_BITMAP(Bitmaps, InputListSource0, Index0, 250, 27, 1);
KV_BITMAP(Bitmaps, InputListSource1, Index1, 250, 27, 1);
KV_BITMAP(Bitmaps, InputListSource2, Index2, 250, 27, 1);
KV_BITMAP(Bitmaps, InputListSource3, Index3, 250, 27, 1);
KV_BITMAP(Bitmaps, InputListSource4, Index4, 250, 27, 1);
KV_BITMAP(Bitmaps, InputListSource5, Index5, 250, 27, 1);
KV_BITMAP(Bitmaps, InputListSource6, Index6, 250, 27, 1);
KV_BITMAP(Bitmaps, InputListSource7, Index7, 250, 27, 1);
KV_BITMAP(Bitmaps, InputListSource8, Index8, 250, 27, 1);
KV_BITMAP(Bitmaps, InputListSource9, Index9, 250, 27, 1);
KV_BITMAP(Bitmaps, InputListCECImage, Cec, 30, 14, 1);
KV_BITMAP(Bitmaps, BannerRF1Input, Rf1, 36, 18, 1);
KV_BITMAP(Bitmaps, BannerRF2Input, Rf2, 36, 18, 1);
KV_BITMAP(Bitmaps, BannerVideoInput, Video, 36, 18, 1);
KV_BITMAP(Bitmaps, BannerHDInput, Hd, 36, 18, 1);
KV_BITMAP(Bitmaps, BannerHDMIInput, Hdmi, 36, 18, 1);
KV_BITMAP(Bitmaps, BannerPCInput, Pc, 36, 18, 1);
KV_BITMAP(Bitmaps, DTV, Dtv, 30, 16, 1);
KV_BITMAP(Bitmaps, ATV, Atv, 30, 16, 1);
KV_BITMAP(Bitmaps, SignalIndicator, Bars, 23, 16, 6);
KV_BITMAP(Bitmaps, ChBrowserFB, Fb, 30, 16, 1);
KV_BITMAP(Bitmaps, ChBrowserMinus, Minus, 24, 16, 1);
