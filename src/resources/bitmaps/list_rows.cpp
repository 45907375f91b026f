// Bitmaps of the list rows, in the shared look: the index digit in the
// number column of an input row, small rounded source badges with a short
// caption, the CEC and tuner-kind marks and the signal bars.
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
  BadgeLabel(s, text, s.height - 6, kInk);
}

// A digit in the row's number column, the rest left clear.
void IndexDigit(Resources::Bitmap& b, const char16_t* digit) {
  const ge::Surface s = b.GetFrameSurface(0);
  const int32_t left = s.width - Bitmaps::kInputIndexLeft;
  Label(s, digit, 14, false, kDim, {left, 0, left + Bitmaps::kInputIndexBox, s.height}, 2);
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

// Repeat kinds of recordings, status marks of recordings, media rows.
void Everyday(Resources::Bitmap& b) { Badge(b, u"ALL"); }
void Daily(Resources::Bitmap& b) { Badge(b, u"M-F"); }
void Weekly(Resources::Bitmap& b) { Badge(b, u"S-S"); }
void Once(Resources::Bitmap& b) { Badge(b, u"1x"); }
void Mark(Resources::Bitmap& b, kv::Color c, const char16_t* text) {
  const ge::Surface s = b.GetFrameSurface(0);
  const float r = static_cast<float>(s.height) / 2.0f - 1.0f;
  Disc(s, {static_cast<float>(s.width) / 2.0f, static_cast<float>(s.height) / 2.0f}, r, c);
  BadgeLabel(s, text, s.height - 6, kInk);
}
void InRecording(Resources::Bitmap& b) { Mark(b, {210, 40, 40, 255}, u""); }
void NoUsb(Resources::Bitmap& b) { Mark(b, {200, 140, 30, 255}, u"U"); }
void NoSize(Resources::Bitmap& b) { Mark(b, {200, 140, 30, 255}, u"F"); }
void Failed(Resources::Bitmap& b) { Mark(b, {170, 30, 30, 255}, u"x"); }
void WillRecord(Resources::Bitmap& b) { Mark(b, {50, 120, 200, 255}, u"R"); }
void Stopped(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  RoundRect(s, {4, 4, s.width - 4, s.height - 4}, 1.0f, kInk, kInk);
}
void Folder(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  const int32_t w = s.width, h = s.height;
  RoundRect(s, {w / 10, h / 5, w / 2, h / 3}, 2.0f, {90, 150, 220, 255}, {60, 120, 200, 255});
  RoundRect(s, {w / 10, h / 3 - 1, w - w / 10, h - h / 8}, 2.0f, {90, 150, 220, 255}, {40, 90, 170, 255});
}
void Photo(Resources::Bitmap& b) {
  const ge::Surface s = b.GetFrameSurface(0);
  const int32_t w = s.width, h = s.height;
  RoundRect(s, {w / 8, h / 8, w - w / 8, h - h / 8}, 3.0f, {80, 110, 150, 255}, {40, 70, 60, 255});
  Disc(s, {static_cast<float>(w) * 0.7f, static_cast<float>(h) * 0.35f}, static_cast<float>(h) / 10.0f, kInk);
}
void Broken(Resources::Bitmap& b) {
  Photo(b);
  const ge::Surface s = b.GetFrameSurface(0);
  Stroke(s, {0.0f, 0.0f}, {static_cast<float>(s.width), static_cast<float>(s.height)}, 3.0f, {210, 40, 40, 255});
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
KV_BITMAP(Bitmaps, EPG_RecordTypeEveryday, Everyday, 30, 16, 1);
KV_BITMAP(Bitmaps, EPG_RecordTypeDaily, Daily, 30, 16, 1);
KV_BITMAP(Bitmaps, EPG_RecordTypeWeekly, Weekly, 30, 16, 1);
KV_BITMAP(Bitmaps, EPG_RecordTypeOnce, Once, 30, 16, 1);
KV_BITMAP(Bitmaps, RecordStatusInRecording, InRecording, 18, 18, 1);
KV_BITMAP(Bitmaps, RecordStatusNoUSB, NoUsb, 18, 18, 1);
KV_BITMAP(Bitmaps, RecordStatusNoSize, NoSize, 18, 18, 1);
KV_BITMAP(Bitmaps, RecordStatusFailed, Failed, 18, 18, 1);
KV_BITMAP(Bitmaps, RecordStatusWillRecord, WillRecord, 18, 18, 1);
KV_BITMAP(Bitmaps, RecordStatusStop, Stopped, 18, 18, 1);
KV_BITMAP(MediaPlayer, ListFolderBlue, Folder, 22, 18, 1);
KV_BITMAP(MediaPlayer, ThumbnailFolder, Folder, 104, 78, 1);
KV_BITMAP(MediaPlayer, ThumbnailPhoto, Photo, 104, 78, 1);
KV_BITMAP(MediaPlayer, ThumbnailBroken, Broken, 104, 78, 1);
