#include "ge/font.h"

#include "ge/rows.h"

namespace ge {

Rect internal::GlyphBox(const GlyphBitmap& glyph, int32_t x, int32_t baseline) {
  return rows::RectAt(static_cast<int32_t>(int64_t{x} + glyph.left), static_cast<int32_t>(int64_t{baseline} - glyph.top),
                      glyph.width, glyph.height);
}

void internal::DrawGlyph(const Surface& dst, const Rect& clip, const GlyphBitmap& glyph, int32_t x,
                         int32_t baseline, const rows::MaskInk& ink) {
  if (ink.colour == 0 || glyph.coverage == nullptr) return;
  const Rect box = GlyphBox(glyph, x, baseline);
  const Rect v = rows::Visible(dst, clip, box);
  if (v.IsEmpty()) return;
  const uint8_t* m = glyph.coverage + static_cast<std::ptrdiff_t>(v.y1 - box.y1) * glyph.pitch + (v.x1 - box.x1);
  rows::BlendMask(dst.Row(v.y1) + v.x1, dst.stride, m, glyph.pitch, v.W(), v.H(), ink);
}

void internal::DrawGlyph(const Surface& dst, const Rect& clip, const GlyphBitmap& glyph, int32_t x,
                         int32_t baseline, uint32_t colour) {
  if (colour == 0 || glyph.coverage == nullptr) return;
  DrawGlyph(dst, clip, glyph, x, baseline, rows::MaskInk(colour));
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
  const rows::MaskInk ink(MulPixel(Premultiply(colour), opacity));
  for (size_t i = 0; i < text.size(); ++i) {
    if (ink.colour != 0) internal::DrawGlyph(dst, clip, font.Glyph(text[i]), x, baseline, ink);
    x += font.Advance(text[i]);
    if (i + 1 < text.size()) x += font.Kerning(text[i], text[i + 1]);
  }
  return x;
}

}  // namespace ge
