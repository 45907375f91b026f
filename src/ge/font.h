// Glyphs and single runs of text of one font.
#pragma once

#include <cstdint>
#include <string_view>

#include "ge/glyph_source.h"
#include "ge/surface.h"

namespace ge {

// Draws a glyph's coverage bitmap with the pen at (x, baseline) in a straight
// colour: each pixel gets the colour scaled by coverage x opacity.
void GenDrawGlyph(const Surface& dst, const Rect& clip, const GlyphBitmap& glyph, int32_t x, int32_t baseline,
                  uint32_t colour, uint8_t opacity);

// The width of a run: the sum of its advances and of the kerning between
// neighbouring characters.
int32_t GenMeasureText(GlyphSource& font, std::u16string_view text);

// Draws a run with the pen starting at (x, baseline), each glyph placed by the
// same advances and kerning as GenMeasureText. Returns the pen position after
// the run.
int32_t GenDrawText(const Surface& dst, const Rect& clip, GlyphSource& font, std::u16string_view text, int32_t x,
                    int32_t baseline, uint32_t colour, uint8_t opacity);

namespace rows {
struct MaskInk;
}

namespace internal {
// The box a glyph covers with the pen at (x, baseline).
Rect GlyphBox(const GlyphBitmap& glyph, int32_t x, int32_t baseline);
// GenDrawGlyph with the colour already premultiplied and scaled by opacity.
void DrawGlyph(const Surface& dst, const Rect& clip, const GlyphBitmap& glyph, int32_t x, int32_t baseline,
               uint32_t colour);
// The same with the colour made into an ink, for drawing many glyphs in it.
void DrawGlyph(const Surface& dst, const Rect& clip, const GlyphBitmap& glyph, int32_t x, int32_t baseline,
               const rows::MaskInk& ink);
}  // namespace internal

}  // namespace ge
