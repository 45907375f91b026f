// Attributed text: runs of text, each in its own font and colour, laid out
// in lines and drawn inside a box.
//
// Layout: a '\n' ends a line; with wrapping, lines break after the last space
// that fits (the spaces at the break belong to neither line) and a word wider
// than the width breaks between characters. With the ellipsis, a line that
// does not fit, and the last line when the line limit leaves text over, is cut
// and ends with "..." (three periods, in the font and colour of the last
// character kept) so that it fits. Trailing spaces are not part of a line.
// Empty text has no lines; text ending in '\n' has an empty last line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "ge/glyph_source.h"
#include "ge/surface.h"

namespace ge {

struct TextRun {
  std::u16string_view text;
  GlyphSource* font = nullptr;
  uint32_t colour = 0;  // straight, red in the low byte
};

struct LayoutOptions {
  int32_t width = 0;     // available width; 0 or less: unlimited (no wrapping, no cut)
  bool wrap = false;     // break lines at spaces to fit the width
  bool ellipsis = false; // end cut lines with "..."
  int32_t maxLines = 0;  // lines shown at most; 0: no limit
};

struct TextLine {
  int32_t begin = 0, end = 0;  // characters [begin, end) of the runs' text, counted across runs
  int32_t width = 0;           // pixels, the ellipsis included
  bool ellipsis = false;
};

// The lines of a layout. Most texts are one line: it is kept in place, and
// only a text of several lines puts them on the heap.
class TextLines {
 public:
  TextLines() = default;
  TextLines(const TextLines&) = default;
  TextLines& operator=(const TextLines&) = default;
  TextLines(TextLines&& o) noexcept;
  TextLines& operator=(TextLines&& o) noexcept;

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const TextLine* begin() const { return size_ > 1 ? more_.data() : &one_; }
  const TextLine* end() const { return begin() + size_; }
  TextLine* begin() { return size_ > 1 ? more_.data() : &one_; }
  TextLine* end() { return begin() + size_; }
  const TextLine& operator[](size_t i) const { return begin()[i]; }
  TextLine& operator[](size_t i) { return begin()[i]; }
  const TextLine& at(size_t i) const;
  const TextLine& front() const { return *begin(); }
  void push_back(const TextLine& line);
  // The lines [first, last) of another TextLines.
  void assign(const TextLine* first, const TextLine* last);
  void clear();

 private:
  TextLine one_;                 // the only line, while there is at most one
  std::vector<TextLine> more_;   // all the lines, when there are several
  size_t size_ = 0;
};

struct TextLayout {
  TextLines lines;
  int32_t width = 0;   // of the widest line
  int32_t height = 0;  // lines x (ascent + descent), plus the leading between lines
  // Line metrics: the largest of the runs' fonts.
  int32_t ascent = 0, descent = 0, leading = 0;
  int32_t LinePitch() const { return ascent + descent + leading; }
};

enum class AlignH { Left, Center, Right };
enum class AlignV { Top, Center, Bottom };

TextLayout LayoutText(std::span<const TextRun> runs, const LayoutOptions& options);

// Draws laid-out text in the box: each line aligned horizontally within the
// box's width, the block of lines aligned vertically within its height (text
// taller or wider than the box extends past it; `clip` limits the drawing).
// Each glyph is drawn from its font's cache as it comes; nothing is copied.
void GenDrawAttrText(const Surface& dst, const Rect& clip, std::span<const TextRun> runs, const TextLayout& layout,
                     const Rect& box, AlignH alignH, AlignV alignV, uint8_t opacity);

}  // namespace ge
