// Where laid-out text puts its glyphs.
#pragma once

#include <span>

#include "ge/attr_text.h"

namespace ge {

// The smallest rectangle holding every glyph GenDrawAttrText would draw for
// the same arguments without a clip; empty when it draws no glyph.
Rect InkBounds(std::span<const TextRun> runs, const TextLayout& layout, const Rect& box, AlignH alignH,
               AlignV alignV);

}  // namespace ge
