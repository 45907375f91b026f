#include "ge/attr_text.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <memory>

#include "ge/font.h"
#include "ge/rows.h"

namespace ge {
namespace {

constexpr char16_t kDot = u'.';

// The characters of all runs in one sequence, each with the run it came from.
// Most texts are one run: its characters are read where they are, and only
// texts of several runs are copied into one sequence.
class Chars {
 public:
  explicit Chars(std::span<const TextRun> runs) {
    size_t withFont = 0;
    for (size_t r = 0; r < runs.size(); ++r) {
      if (runs[r].font == nullptr) continue;
      ++withFont;
      onlyRun_ = static_cast<int32_t>(r);
    }
    if (withFont <= 1) {
      if (withFont == 1) only_ = runs[static_cast<size_t>(onlyRun_)].text;
      return;
    }
    single_ = false;
    for (size_t r = 0; r < runs.size(); ++r) {
      if (runs[r].font == nullptr) continue;
      for (char16_t c : runs[r].text) {
        chars_.push_back(c);
        run_.push_back(static_cast<int32_t>(r));
      }
    }
  }

  int32_t Size() const { return static_cast<int32_t>(single_ ? only_.size() : chars_.size()); }
  char16_t At(int32_t i) const { return single_ ? only_[static_cast<size_t>(i)] : chars_[static_cast<size_t>(i)]; }
  int32_t RunOf(int32_t i) const { return single_ ? onlyRun_ : run_[static_cast<size_t>(i)]; }

  // Kerning between characters i - 1 and i; none across a change of font.
  int32_t Kern(std::span<const TextRun> runs, int32_t i) const {
    GlyphSource* f = runs[static_cast<size_t>(RunOf(i))].font;
    if (runs[static_cast<size_t>(RunOf(i - 1))].font != f) return 0;
    return f->Kerning(At(i - 1), At(i));
  }
  int32_t Advance(std::span<const TextRun> runs, int32_t i) const {
    return runs[static_cast<size_t>(RunOf(i))].font->Advance(At(i));
  }
  int32_t Width(std::span<const TextRun> runs, int32_t begin, int32_t end) const {
    int32_t w = 0;
    for (int32_t i = begin; i < end; ++i) w += (i > begin ? Kern(runs, i) : 0) + Advance(runs, i);
    return w;
  }
  int32_t TrimEnd(int32_t begin, int32_t end) const {
    while (end > begin && At(end - 1) == u' ') --end;
    return end;
  }
  int32_t SkipSpaces(int32_t i, int32_t end) const {
    while (i < end && At(i) == u' ') ++i;
    return i;
  }

 private:
  bool single_ = true;  // at most one run has a font: only_ holds its text
  std::u16string_view only_;
  int32_t onlyRun_ = 0;
  std::vector<char16_t> chars_;
  std::vector<int32_t> run_;
};

// The run whose font and colour the ellipsis of line [begin, end) takes:
// that of the last character kept, else of the first character cut.
int32_t EllipsisRun(const Chars& t, int32_t begin, int32_t end) { return t.RunOf(end > begin ? end - 1 : begin); }

// Width of "..." after the line [begin, end), the kerning to it included.
int32_t EllipsisWidth(std::span<const TextRun> runs, const Chars& t, int32_t begin, int32_t end) {
  GlyphSource& f = *runs[static_cast<size_t>(EllipsisRun(t, begin, end))].font;
  const int32_t lead = end > begin ? f.Kerning(t.At(end - 1), kDot) : 0;
  return lead + 3 * f.Advance(kDot) + 2 * f.Kerning(kDot, kDot);
}

// Where the line starting at `begin` of the paragraph [begin, end) breaks to
// fit `width`: sets the line's end and the start of the next line.
void BreakLine(std::span<const TextRun> runs, const Chars& t, int32_t begin, int32_t end, int32_t width,
               int32_t& lineEnd, int32_t& next) {
  int32_t w = 0, space = -1;
  bool word = false;
  for (int32_t i = begin; i < end; ++i) {
    const int32_t wi = w + (i > begin ? t.Kern(runs, i) : 0) + t.Advance(runs, i);
    if (wi > width && i > begin) {
      if (t.At(i) == u' ') space = i;
      if (space >= 0) {
        lineEnd = space;
        next = t.SkipSpaces(space, end);
      } else {
        lineEnd = next = i;
      }
      return;
    }
    if (t.At(i) == u' ') {
      if (word) space = i;
    } else {
      word = true;
    }
    w = wi;
  }
  lineEnd = next = end;
}

// Cuts the line so that it and "..." fit `width` (unlimited when not
// positive) and marks it as ending with the ellipsis.
void Ellipsize(std::span<const TextRun> runs, const Chars& t, TextLine& line, int32_t width) {
  int32_t keep = line.end;
  if (width > 0) {
    keep = line.begin;
    int32_t w = 0;
    for (int32_t i = line.begin; i < line.end; ++i) {
      w += (i > line.begin ? t.Kern(runs, i) : 0) + t.Advance(runs, i);
      if (w + EllipsisWidth(runs, t, line.begin, i + 1) <= width) keep = i + 1;
    }
  }
  line.end = t.TrimEnd(line.begin, keep);
  line.width = t.Width(runs, line.begin, line.end) + EllipsisWidth(runs, t, line.begin, line.end);
  line.ellipsis = true;
}

int32_t Clamp32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// The ink of one premultiplied colour. Making an ink fills a table of 256
// pixels, and a screen draws all its texts in a few colours, so the inks of
// the last colours used are kept, per thread (texts are also drawn off the
// GUI thread). A draw holds its own references, so an ink replaced while a
// text of many colours is drawn stays alive until that draw is done.
std::shared_ptr<const rows::MaskInk> InkOf(uint32_t colour) {
  constexpr size_t kKept = 8;
  thread_local std::shared_ptr<const rows::MaskInk> kept[kKept];
  thread_local size_t next = 0;
  for (const auto& ink : kept)
    if (ink != nullptr && ink->colour == colour) return ink;
  auto ink = std::make_shared<const rows::MaskInk>(colour);
  kept[next] = ink;
  next = (next + 1) % kKept;
  return ink;
}

}  // namespace

TextLayout LayoutText(std::span<const TextRun> runs, const LayoutOptions& options) {
  TextLayout layout;
  for (const TextRun& run : runs) {
    if (run.font == nullptr) continue;
    layout.ascent = std::max(layout.ascent, run.font->Ascent());
    layout.descent = std::max(layout.descent, run.font->Descent());
    layout.leading = std::max(layout.leading, run.font->Leading());
  }
  const Chars t(runs);
  const int32_t n = t.Size();
  const bool limited = options.width > 0;
  const size_t maxLines = options.maxLines > 0 ? static_cast<size_t>(options.maxLines) : SIZE_MAX;
  bool more = false;  // text left over after the last line kept
  for (int32_t p = 0; n > 0 && !more;) {
    int32_t q = p;
    while (q < n && t.At(q) != u'\n') ++q;
    int32_t s = p;
    do {
      int32_t end = q, next = q;
      if (options.wrap && limited) BreakLine(runs, t, s, q, options.width, end, next);
      end = t.TrimEnd(s, end);
      layout.lines.push_back({s, end, t.Width(runs, s, end), false});
      s = next;
      if (layout.lines.size() == maxLines) {
        more = s < q || q < n;
        break;
      }
    } while (s < q);
    if (q >= n) break;
    p = q + 1;
  }

  for (size_t i = 0; options.ellipsis && i < layout.lines.size(); ++i) {
    TextLine& line = layout.lines[i];
    const bool cutShort = more && i + 1 == layout.lines.size();
    if (cutShort || (limited && line.width > options.width)) Ellipsize(runs, t, line, options.width);
  }
  for (const TextLine& line : layout.lines) layout.width = std::max(layout.width, line.width);
  const auto count = static_cast<int32_t>(layout.lines.size());
  if (count > 0) layout.height = count * (layout.ascent + layout.descent) + (count - 1) * layout.leading;
  return layout;
}

void GenDrawAttrText(const Surface& dst, const Rect& clip, std::span<const TextRun> runs, const TextLayout& layout,
                     const Rect& box, AlignH alignH, AlignV alignV, uint8_t opacity) {
  if (opacity == 0 || layout.lines.empty()) return;
  const Chars t(runs);
  // The inks of the runs' colours, premultiplied and scaled by the opacity,
  // found once per run; runs of the same colour share one. A text of a few
  // runs keeps them in place.
  constexpr size_t kFewRuns = 4;
  std::shared_ptr<const rows::MaskInk> few[kFewRuns];
  std::vector<std::shared_ptr<const rows::MaskInk>> many(runs.size() > kFewRuns ? runs.size() : 0);
  std::shared_ptr<const rows::MaskInk>* inks = runs.size() > kFewRuns ? many.data() : few;
  const auto inkOf = [&](size_t r) -> const rows::MaskInk& {
    if (inks[r] == nullptr) inks[r] = InkOf(MulPixel(Premultiply(runs[r].colour), opacity));
    return *inks[r];
  };

  const int64_t boxW = int64_t{box.x2} - box.x1, boxH = int64_t{box.y2} - box.y1;
  int64_t top = box.y1;
  if (alignV == AlignV::Center) top += (boxH - layout.height) / 2;
  if (alignV == AlignV::Bottom) top += boxH - layout.height;
  for (size_t l = 0; l < layout.lines.size(); ++l) {
    const TextLine& line = layout.lines[l];
    if (line.begin < 0 || line.end > t.Size() || line.begin > line.end) continue;  // not a layout of these runs
    const int32_t baseline = Clamp32(top + static_cast<int64_t>(l) * layout.LinePitch() + layout.ascent);
    int64_t left = box.x1;
    if (alignH == AlignH::Center) left += (boxW - line.width) / 2;
    if (alignH == AlignH::Right) left += boxW - line.width;
    // The glyph a font hands out is valid until its next call: each is drawn
    // before the font is asked for anything else.
    const auto draw = [&](int32_t r, char16_t c, int64_t x) {
      const rows::MaskInk& ink = inkOf(static_cast<size_t>(r));
      if (ink.colour == 0) return;
      const GlyphBitmap b = runs[static_cast<size_t>(r)].font->Glyph(c);
      if (b.coverage == nullptr || b.width <= 0 || b.height <= 0) return;
      internal::DrawGlyph(dst, clip, b, Clamp32(left + Clamp32(x)), baseline, ink);
    };
    int64_t x = 0;
    for (int32_t i = line.begin; i < line.end; ++i) {
      if (i > line.begin) x += t.Kern(runs, i);
      draw(t.RunOf(i), t.At(i), x);
      x += t.Advance(runs, i);
    }
    if (line.ellipsis && line.begin < t.Size()) {
      const int32_t r = EllipsisRun(t, line.begin, line.end);
      GlyphSource& f = *runs[static_cast<size_t>(r)].font;
      if (line.end > line.begin) x += f.Kerning(t.At(line.end - 1), kDot);
      for (int d = 0; d < 3; ++d) {
        if (d > 0) x += f.Kerning(kDot, kDot);
        draw(r, kDot, x);
        x += f.Advance(kDot);
      }
    }
  }
}

}  // namespace ge
