#include "ge/font.h"

#include "ge/rows.h"

namespace ge {

void internal::DrawGlyph(const Surface& dst, const Rect& clip, const GlyphBitmap& glyph, int32_t x,
                         int32_t baseline, uint32_t colour) {
  if (colour == 0 || glyph.coverage == nullptr) return;
  const int32_t left = static_cast<int32_t>(int64_t{x} + glyph.left);
  const int32_t top = static_cast<int32_t>(int64_t{baseline} - glyph.top);
  const Rect v = rows::Visible(dst, clip, rows::RectAt(left, top, glyph.width, glyph.height));
  for (int32_t y = v.y1; y < v.y2; ++y) {
    const uint8_t* m = glyph.coverage + static_cast<std::ptrdiff_t>(y - top) * glyph.pitch + (v.x1 - left);
    rows::BlendMask(dst.Row(y) + v.x1, m, v.W(), colour);
  }
}

void GenDrawGlyph(const Surface& dst, const Rect& clip, const GlyphBitmap& glyph, int32_t x, int32_t baseline,
                  uint32_t colour, uint8_t opacity) {
  internal::DrawGlyph(dst, clip, glyph, x, baseline, MulPixel(Premultiply(colour), opacity));
}

int32_t GenMeasureText(GlyphSource& font, std::u16string_view text) {
  int32_t width = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    width += font.Advance(text[i]);
    if (i + 1 < text.size()) width += font.Kerning(text[i], text[i + 1]);
  }
  return width;
}

int32_t GenDrawText(const Surface& dst, const Rect& clip, GlyphSource& font, std::u16string_view text, int32_t x,
                    int32_t baseline, uint32_t colour, uint8_t opacity) {
  const uint32_t c = MulPixel(Premultiply(colour), opacity);
  for (size_t i = 0; i < text.size(); ++i) {
    if (c != 0) internal::DrawGlyph(dst, clip, font.Glyph(text[i]), x, baseline, c);
    x += font.Advance(text[i]);
    if (i + 1 < text.size()) x += font.Kerning(text[i], text[i + 1]);
  }
  return x;
}

}  // namespace ge
