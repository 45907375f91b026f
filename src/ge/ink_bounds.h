// Where laid-out text puts its glyphs.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "ge/attr_text.h"

namespace ge {

// The smallest rectangle holding every glyph GenDrawAttrText would draw for
// the same arguments without a clip; empty when it draws no glyph.
Rect InkBounds(std::span<const TextRun> runs, const TextLayout& layout, const Rect& box, AlignH alignH,
               AlignV alignV);

// One glyph as GenDrawAttrText places it: its character (an ellipsis's
// dots included) and its bitmap's box.
struct PlacedGlyph {
  char16_t c = 0;
  Rect box;
};

// Every glyph GenDrawAttrText would draw for the same arguments, line by
// line, in reading order; glyphs without pixels (spaces) are left out.
std::vector<PlacedGlyph> PlaceGlyphs(std::span<const TextRun> runs, const TextLayout& layout, const Rect& box,
                                     AlignH alignH, AlignV alignV);

// The characters of the glyphs that put a pixel of their strokes (covered
// by at least `coverage` of 255) outside `clip` and inside `within`: the
// letters a clip to it cuts where a drawing of `within` shows. A glyph's
// faint edges (an anti-aliased "T" or "V" reaching past its pen position)
// do not count.
std::u16string GlyphsCut(std::span<const TextRun> runs, const TextLayout& layout, const Rect& box, AlignH alignH,
                         AlignV alignV, const Rect& clip, const Rect& within, uint8_t coverage);

}  // namespace ge
