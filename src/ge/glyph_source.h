// What the graphics engine needs of a font: metrics, advances, kerning and
// 8-bit coverage bitmaps of glyphs. The platform's font engine implements it.
#pragma once

#include <cstdint>

namespace ge {

struct GlyphBitmap {
  const uint8_t* coverage = nullptr;  // rows of 8-bit coverage, `pitch` bytes apart
  int32_t pitch = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t left = 0;     // from the pen position to the bitmap's left edge
  int32_t top = 0;      // from the baseline up to the bitmap's top row
  int32_t advance = 0;  // pen advance in whole pixels: the source's Advance() of the character
};

class GlyphSource {
 public:
  virtual ~GlyphSource() = default;
  virtual int32_t Ascent() const = 0;   // pixels above the baseline
  virtual int32_t Descent() const = 0;  // pixels below the baseline (positive)
  virtual int32_t Leading() const = 0;  // extra line gap
  virtual int32_t Advance(char16_t c) = 0;
  // Adjustment between two neighbouring characters (0 where the font has no kerning).
  virtual int32_t Kerning(char16_t left, char16_t right) = 0;
  // The glyph's bitmap; valid until the next call on this source.
  virtual GlyphBitmap Glyph(char16_t c) = 0;
  // Names what the source hands out now: while it answers the same number,
  // other than 0, its metrics, advances, kerning and glyphs stay as they are,
  // and no other source answers that number. Drawn text may then be kept and
  // shown again without asking for its glyphs. 0 promises nothing.
  virtual uint64_t Edition() const { return 0; }
};

}  // namespace ge
