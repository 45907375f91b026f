// The key pad's mode buttons: a small key cap with the mode's legend, plain
// or in the focus blue for the current mode.
#include "resources/bitmaps/paint.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Resources/Bitmap.h"

namespace {

using namespace Recipes;

void ModeKey(Resources::Bitmap& b, const char16_t* legend, bool current) {
  const ge::Surface s = b.GetFrameSurface(0);
  if (current) {
    RoundRect(s, Whole(s), 4, Palette::FocusTop, Palette::FocusBottom);
    RoundRectRim(s, Whole(s), 4, 1, Palette::FocusRim);
  } else {
    RoundRect(s, Whole(s), 4, Palette::PlainTop, Palette::PlainBottom);
    RoundRectRim(s, Whole(s), 4, 1, Palette::PlainRim);
  }
  Label(s, legend, 12, true, current ? Palette::Glyph : Palette::GlyphDim, Whole(s));
}

void UpperA(Resources::Bitmap& b) { ModeKey(b, u"A", false); }
void UpperAFocus(Resources::Bitmap& b) { ModeKey(b, u"A", true); }
void LowerA(Resources::Bitmap& b) { ModeKey(b, u"a", false); }
void LowerAFocus(Resources::Bitmap& b) { ModeKey(b, u"a", true); }
void Num(Resources::Bitmap& b) { ModeKey(b, u"1", false); }
void NumFocus(Resources::Bitmap& b) { ModeKey(b, u"1", true); }
void Symbol(Resources::Bitmap& b) { ModeKey(b, u"@", false); }
void SymbolFocus(Resources::Bitmap& b) { ModeKey(b, u"@", true); }

}  // namespace

KV_BITMAP(Bitmaps, KeyPadUpperA, UpperA, 18, 20, 1);
KV_BITMAP(Bitmaps, KeyPadUpperAFocus, UpperAFocus, 18, 20, 1);
KV_BITMAP(Bitmaps, KeyPadLowerA, LowerA, 18, 20, 1);
KV_BITMAP(Bitmaps, KeyPadLowerAFocus, LowerAFocus, 18, 20, 1);
KV_BITMAP(Bitmaps, KeyPadNum, Num, 18, 20, 1);
KV_BITMAP(Bitmaps, KeyPadNumFocus, NumFocus, 18, 20, 1);
KV_BITMAP(Bitmaps, KeyPadSymbol, Symbol, 18, 20, 1);
KV_BITMAP(Bitmaps, KeyPadSymbolFocus, SymbolFocus, 18, 20, 1);
