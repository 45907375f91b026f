#include "ge/attr_text.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <type_traits>
#include <utility>

#include "ge/ink_bounds.h"
#include "ge/font.h"
#include "ge/memo.h"
#include "ge/rows.h"

namespace ge {
namespace {

constexpr char16_t kDot = u'.';

// The characters of a text of one run (the common case: every text view's),
// read where they are, in that run's font.
class OneRun {
 public:
  OneRun(std::span<const TextRun> runs, int32_t run)
      : text_(runs[static_cast<size_t>(run)].text), font_(runs[static_cast<size_t>(run)].font), run_(run) {}

  int32_t Size() const { return static_cast<int32_t>(text_.size()); }
  char16_t At(int32_t i) const { return text_[static_cast<size_t>(i)]; }
  int32_t RunOf(int32_t) const { return run_; }
  int32_t Kern(std::span<const TextRun>, int32_t i) const { return font_->Kerning(At(i - 1), At(i)); }
  int32_t Advance(std::span<const TextRun>, int32_t i) const { return font_->Advance(At(i)); }

 private:
  std::u16string_view text_;
  GlyphSource* font_;
  int32_t run_;
};

// The characters of all runs that have a font in one sequence, each with the
// run it came from.
class Chars {
 public:
  explicit Chars(std::span<const TextRun> runs) {
    for (size_t r = 0; r < runs.size(); ++r) {
      if (runs[r].font == nullptr) continue;
      for (char16_t c : runs[r].text) {
        chars_.push_back(c);
        run_.push_back(static_cast<int32_t>(r));
      }
    }
  }

  int32_t Size() const { return static_cast<int32_t>(chars_.size()); }
  char16_t At(int32_t i) const { return chars_[static_cast<size_t>(i)]; }
  int32_t RunOf(int32_t i) const { return run_[static_cast<size_t>(i)]; }

  // Kerning between characters i - 1 and i; none across a change of font.
  int32_t Kern(std::span<const TextRun> runs, int32_t i) const {
    GlyphSource* f = runs[static_cast<size_t>(RunOf(i))].font;
    if (runs[static_cast<size_t>(RunOf(i - 1))].font != f) return 0;
    return f->Kerning(At(i - 1), At(i));
  }
  int32_t Advance(std::span<const TextRun> runs, int32_t i) const {
    return runs[static_cast<size_t>(RunOf(i))].font->Advance(At(i));
  }

 private:
  std::vector<char16_t> chars_;
  std::vector<int32_t> run_;
};

// Calls f with the characters of the runs: a OneRun when at most one run has
// a font (an empty one when none has), else a Chars.
template <typename F>
decltype(auto) WithChars(std::span<const TextRun> runs, F&& f) {
  int32_t only = -1;
  for (size_t r = 0; r < runs.size(); ++r) {
    if (runs[r].font == nullptr) continue;
    if (only >= 0) return f(Chars(runs));
    only = static_cast<int32_t>(r);
  }
  if (only < 0) {
    const TextRun none{};
    return f(OneRun({&none, 1}, 0));
  }
  return f(OneRun(runs, only));
}

template <typename T>
int32_t Width(std::span<const TextRun> runs, const T& t, int32_t begin, int32_t end) {
  int32_t w = 0;
  for (int32_t i = begin; i < end; ++i) w += (i > begin ? t.Kern(runs, i) : 0) + t.Advance(runs, i);
  return w;
}
template <typename T>
int32_t TrimEnd(const T& t, int32_t begin, int32_t end) {
  while (end > begin && t.At(end - 1) == u' ') --end;
  return end;
}
template <typename T>
int32_t SkipSpaces(const T& t, int32_t i, int32_t end) {
  while (i < end && t.At(i) == u' ') ++i;
  return i;
}

// The run whose font and colour the ellipsis of line [begin, end) takes:
// that of the last character kept, else of the first character cut.
template <typename T>
int32_t EllipsisRun(const T& t, int32_t begin, int32_t end) {
  return t.RunOf(end > begin ? end - 1 : begin);
}

// Width of "..." after the line [begin, end), the kerning to it included.
template <typename T>
int32_t EllipsisWidth(std::span<const TextRun> runs, const T& t, int32_t begin, int32_t end) {
  GlyphSource& f = *runs[static_cast<size_t>(EllipsisRun(t, begin, end))].font;
  const int32_t lead = end > begin ? f.Kerning(t.At(end - 1), kDot) : 0;
  return lead + 3 * f.Advance(kDot) + 2 * f.Kerning(kDot, kDot);
}

// Where the line starting at `begin` of the paragraph [begin, end) breaks to
// fit `width`: sets the line's end and the start of the next line.
template <typename T>
void BreakLine(std::span<const TextRun> runs, const T& t, int32_t begin, int32_t end, int32_t width,
               int32_t& lineEnd, int32_t& next) {
  int32_t w = 0, space = -1;
  bool word = false;
  for (int32_t i = begin; i < end; ++i) {
    const int32_t wi = w + (i > begin ? t.Kern(runs, i) : 0) + t.Advance(runs, i);
    if (wi > width && i > begin) {
      if (t.At(i) == u' ') space = i;
      if (space >= 0) {
        lineEnd = space;
        next = SkipSpaces(t, space, end);
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
template <typename T>
void Ellipsize(std::span<const TextRun> runs, const T& t, TextLine& line, int32_t width) {
  int32_t keep = line.end;
  if (width > 0) {
    keep = line.begin;
    int32_t w = 0;
    for (int32_t i = line.begin; i < line.end; ++i) {
      w += (i > line.begin ? t.Kern(runs, i) : 0) + t.Advance(runs, i);
      if (w + EllipsisWidth(runs, t, line.begin, i + 1) <= width) keep = i + 1;
    }
  }
  line.end = TrimEnd(t, line.begin, keep);
  line.width = Width(runs, t, line.begin, line.end) + EllipsisWidth(runs, t, line.begin, line.end);
  line.ellipsis = true;
}

template <typename T>
void LayOut(std::span<const TextRun> runs, const T& t, const LayoutOptions& options, TextLayout& layout) {
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
      end = TrimEnd(t, s, end);
      layout.lines.push_back({s, end, Width(runs, t, s, end), false});
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
}

int32_t Clamp32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// The ink of one premultiplied colour. Making an ink fills a table of 256
// pixels, and a screen draws all its texts in a few colours, so the inks of
// the last colours used are kept, per thread (texts are also drawn off the
// GUI thread). The ink returned stays kept until the thread's next call;
// a draw that asks for several holds its own references, so an ink replaced
// while a text of many colours is drawn stays alive until that draw is done.
const std::shared_ptr<const rows::MaskInk>& InkOf(uint32_t colour) {
  constexpr size_t kKept = 8;
  thread_local std::shared_ptr<const rows::MaskInk> kept[kKept];
  thread_local size_t next = 0;
  for (const auto& ink : kept)
    if (ink != nullptr && ink->colour == colour) return ink;
  auto& slot = kept[next];
  slot = std::make_shared<const rows::MaskInk>(colour);
  next = (next + 1) % kKept;
  return slot;
}

// The inks of the runs' colours, premultiplied and scaled by the opacity,
// found once per run as the run is first drawn; runs of the same colour share
// one. A text of one run asks for one ink only, so it uses the kept one in
// place; a text of a few runs keeps references in place.
class OneInk {
 public:
  explicit OneInk(std::span<const TextRun> runs, uint8_t opacity) : runs_(runs), opacity_(opacity) {}
  const rows::MaskInk& Of(size_t r) {
    if (ink_ == nullptr) ink_ = InkOf(MulPixel(Premultiply(runs_[r].colour), opacity_)).get();
    return *ink_;
  }

 private:
  std::span<const TextRun> runs_;
  uint8_t opacity_;
  const rows::MaskInk* ink_ = nullptr;
};

class RunInks {
 public:
  explicit RunInks(std::span<const TextRun> runs, uint8_t opacity)
      : runs_(runs), opacity_(opacity), many_(runs.size() > kFewRuns ? runs.size() : 0),
        inks_(runs.size() > kFewRuns ? many_.data() : few_) {}
  const rows::MaskInk& Of(size_t r) {
    if (inks_[r] == nullptr) inks_[r] = InkOf(MulPixel(Premultiply(runs_[r].colour), opacity_));
    return *inks_[r];
  }

 private:
  static constexpr size_t kFewRuns = 4;
  std::span<const TextRun> runs_;
  uint8_t opacity_;
  std::shared_ptr<const rows::MaskInk> few_[kFewRuns];
  std::vector<std::shared_ptr<const rows::MaskInk>> many_;
  std::shared_ptr<const rows::MaskInk>* inks_;
};

// Where line l of a layout is drawn in the box: the pen's start and the
// baseline. Each line is aligned horizontally within the box's width, the
// block of lines vertically within its height.
struct LinePlace {
  int64_t left = 0;
  int32_t baseline = 0;
};
LinePlace PlaceLine(const TextLayout& layout, size_t l, const Rect& box, AlignH alignH, AlignV alignV) {
  const int64_t boxW = int64_t{box.x2} - box.x1, boxH = int64_t{box.y2} - box.y1;
  int64_t top = box.y1;
  if (alignV == AlignV::Center) top += (boxH - layout.height) / 2;
  if (alignV == AlignV::Bottom) top += boxH - layout.height;
  int64_t left = box.x1;
  const int32_t width = layout.lines[l].width;
  if (alignH == AlignH::Center) left += (boxW - width) / 2;
  if (alignH == AlignH::Right) left += boxW - width;
  return {left, Clamp32(top + static_cast<int64_t>(l) * layout.LinePitch() + layout.ascent)};
}

// False for a line that is not of these characters.
template <typename T>
bool LineOf(const T& t, const TextLine& line) {
  return line.begin >= 0 && line.end <= t.Size() && line.begin <= line.end;
}

// A line aligned left starts its first glyph's ink at the box's left edge:
// a glyph that reaches left of its pen position (the hook of a "J") is
// moved right by that much, so that its stroke is not lost to the box. A
// line aligned right likewise moves left by what its last glyph reaches
// past its advance (the hook of an "f"). Only where the box has that room
// beside the line: a box as wide as its text (sized to it) keeps it as laid.
template <typename T>
LinePlace PlaceLineOf(std::span<const TextRun> runs, const T& t, const TextLayout& layout, size_t l, const Rect& box,
                      AlignH alignH, AlignV alignV) {
  LinePlace at = PlaceLine(layout, l, box, alignH, alignV);
  const TextLine& line = layout.lines[l];
  const int64_t spare = int64_t{box.x2} - box.x1 - line.width;
  if (alignH == AlignH::Left && line.end > line.begin && LineOf(t, line)) {
    GlyphSource* f = runs[static_cast<size_t>(t.RunOf(line.begin))].font;
    if (f != nullptr) {
      const GlyphBitmap b = f->Glyph(t.At(line.begin));
      if (b.coverage != nullptr && b.width > 0 && b.left < 0 && -b.left <= spare) at.left -= b.left;
    }
  }
  if (alignH == AlignH::Right && line.end > line.begin && !line.ellipsis && LineOf(t, line)) {
    GlyphSource* f = runs[static_cast<size_t>(t.RunOf(line.end - 1))].font;
    if (f != nullptr) {
      const GlyphBitmap b = f->Glyph(t.At(line.end - 1));
      const int32_t past = b.left + b.width - b.advance;
      if (b.coverage != nullptr && b.width > 0 && past > 0 && past <= spare) at.left -= past;
    }
  }
  return at;
}

// Goes through the characters of a line, the ellipsis' dots included:
// glyph(r, c, x) is called for character c of run r with the pen x from the
// line's start and returns c's advance.
template <typename T, typename G>
void WalkLine(std::span<const TextRun> runs, const T& t, const TextLine& line, G&& glyph) {
  int64_t x = 0;
  for (int32_t i = line.begin; i < line.end; ++i) {
    if (i > line.begin) x += t.Kern(runs, i);
    x += glyph(t.RunOf(i), t.At(i), x);
  }
  if (line.ellipsis && line.begin < t.Size()) {
    const int32_t r = EllipsisRun(t, line.begin, line.end);
    GlyphSource& f = *runs[static_cast<size_t>(r)].font;
    if (line.end > line.begin) x += f.Kerning(t.At(line.end - 1), kDot);
    for (int d = 0; d < 3; ++d) {
      if (d > 0) x += f.Kerning(kDot, kDot);
      x += glyph(r, kDot, x);
    }
  }
}

template <typename T, typename Inks>
void DrawLines(const Surface& dst, const Rect& clip, std::span<const TextRun> runs, const T& t, Inks& inks,
               const TextLayout& layout, const Rect& box, AlignH alignH, AlignV alignV) {
  for (size_t l = 0; l < layout.lines.size(); ++l) {
    const TextLine& line = layout.lines[l];
    if (!LineOf(t, line)) continue;
    const LinePlace at = PlaceLineOf(runs, t, layout, l, box, alignH, alignV);
    // Draws character c of run r with the pen at x and returns its advance
    // (the glyph's own, which is the font's advance of c). The glyph a font
    // hands out is valid until its next call: each is drawn before the font
    // is asked for anything else.
    WalkLine(runs, t, line, [&](int32_t r, char16_t c, int64_t x) -> int32_t {
      const rows::MaskInk& ink = inks.Of(static_cast<size_t>(r));
      GlyphSource& f = *runs[static_cast<size_t>(r)].font;
      if (ink.colour == 0) return f.Advance(c);
      const GlyphBitmap b = f.Glyph(c);
      if (b.coverage != nullptr && b.width > 0 && b.height > 0)
        internal::DrawGlyph(dst, clip, b, Clamp32(at.left + Clamp32(x)), at.baseline, ink);
      return b.advance;
    });
  }
}

// Lines of text of one font drawn over rows of one colour each (labels and
// list rows over flat panels and vertical gradients), remembered with the
// pixels they gave. Those pixels depend on the characters, the font, the
// ink, where the line stands, the clip and each row's colour alone, and a
// screen draws the same texts at every redraw: a line drawn again over the
// same colours is copied, without asking the font for a glyph. The font's
// edition stands for its glyphs (it changes when they may). A look-up
// compares every input. Each thread that draws text has its own memo, made
// on first use.
class LineMemo {
 public:
  static constexpr int32_t kMaxRows = 64;         // taller lines are drawn each time
  static constexpr int32_t kMaxPixels = 16384;    // and so are larger ones
  static constexpr size_t kMaxChars = 256;        // and longer ones

  // Everything a line's pixels depend on but the colours under it.
  struct Line {
    std::u16string_view chars;  // the line's characters; the ellipsis adds "..."
    bool ellipsis = false;
    uint64_t edition = 0;       // the font's
    uint32_t ink = 0;           // premultiplied, the opacity applied
    int64_t left = 0;           // the pen's start
    int32_t baseline = 0;
    Rect limit;                 // the clip within the surface
    uint64_t Key() const {
      uint64_t k = edition * 0x9e3779b97f4a7c15u ^ (uint64_t{ink} << 1) ^ static_cast<uint64_t>(left) * 0xff51afd7ed558ccdu ^
                   (uint64_t{static_cast<uint32_t>(baseline)} << 32) ^ ellipsis;
      k ^= (uint64_t{static_cast<uint32_t>(limit.x1)} | uint64_t{static_cast<uint32_t>(limit.y1)} << 32) * 0xc4ceb9fe1a85ec53u;
      k ^= (uint64_t{static_cast<uint32_t>(limit.x2)} | uint64_t{static_cast<uint32_t>(limit.y2)} << 32) * 0x94d049bb133111ebu;
      return MemoKey(k, chars);
    }
  };

  // Copies the pixels kept for this line into dst when it stands over the
  // same colours as then; false when none are kept.
  bool Draw(const Surface& dst, const Line& line, uint64_t key) {
    Entry* set = sets_.SetOf(key);
    if (set == nullptr) return false;
    for (size_t i = 0; i < Sets::kWays; ++i) {
      Entry& e = set[i];
      if (e.data == nullptr || e.key != key || !Same(e, line)) continue;
      const Rect& r = e.box;
      const uint32_t* colours = e.data.get();
      uint32_t* d = dst.Row(r.y1) + r.x1;
      if (!rows::RowsAre(d, dst.stride, r.W(), r.H(), colours)) continue;
      rows::CopyBox(d, dst.stride, colours + r.H(), r.W(), r.W(), r.H());
      sets_.Touch(e);
      return true;
    }
    return false;
  }

  // Remembers the pixels of `box` just drawn for this line over rows of the
  // given colours (MemoSets::Place).
  void Keep(const Surface& dst, const Line& line, uint64_t key, const Rect& box, const uint32_t* colours) {
    const int32_t w = box.W(), h = box.H();
    const size_t words = static_cast<size_t>(h + w * h) + (line.chars.size() + 1) / 2;
    Entry* e = &sets_.Place(key, words);
    e->key = key;
    e->line = line;
    e->box = box;
    uint32_t* kept = e->data.get();
    std::copy_n(colours, h, kept);
    rows::CopyBox(kept + h, w, dst.Row(box.y1) + box.x1, dst.stride, w, h);
    if (!line.chars.empty()) std::memcpy(kept + h + w * h, line.chars.data(), sizeof(char16_t) * line.chars.size());
    e->line.chars = {};
    e->chars = line.chars.size();
  }

 private:
  struct Entry {
    uint64_t key = 0;
    Line line;  // but its characters, which are kept in data
    size_t chars = 0;
    Rect box;   // the pixels drawn
    uint32_t used = 0;
    size_t words = 0;
    std::unique_ptr<uint32_t[]> data;  // row colours, then pixels, then characters
  };
  using Sets = MemoSets<Entry, 64, 4, 512 * 1024>;  // 512 KB of kept lines

  static bool Same(const Entry& e, const Line& l) {
    const Line& k = e.line;
    const int32_t h = e.box.H();
    return k.edition == l.edition && k.ink == l.ink && k.left == l.left && k.baseline == l.baseline &&
           k.limit == l.limit && k.ellipsis == l.ellipsis && e.chars == l.chars.size() &&
           (e.chars == 0 || std::memcmp(e.data.get() + h + e.box.W() * h, l.chars.data(), sizeof(char16_t) * e.chars) == 0);
  }

  Sets sets_;
};

// Draws a text of one line in one font through the thread's LineMemo: copied
// when kept, else drawn and kept when it stands over rows of one colour each.
// False when the text is none such (it is then to be drawn as any other).
bool DrawKeptLine(const Surface& dst, const Rect& clip, std::span<const TextRun> runs, const OneRun& t, OneInk& inks,
                  const TextLayout& layout, const Rect& box, AlignH alignH, AlignV alignV) {
  if (layout.lines.size() != 1 || runs.empty()) return false;
  const TextLine& text = layout.lines[0];
  const size_t chars = static_cast<size_t>(text.end - text.begin);
  if (!LineOf(t, text) || chars > LineMemo::kMaxChars) return false;
  const TextRun& run = runs[static_cast<size_t>(t.RunOf(0))];
  if (run.font == nullptr) return false;
  LineMemo::Line line;
  line.edition = run.font->Edition();
  line.ink = inks.Of(static_cast<size_t>(t.RunOf(0))).colour;
  if (line.edition == 0 || line.ink == 0) return false;
  const LinePlace at = PlaceLineOf(runs, t, layout, 0, box, alignH, alignV);
  line.chars = run.text.substr(static_cast<size_t>(text.begin), chars);
  line.ellipsis = text.ellipsis;
  line.left = at.left;
  line.baseline = at.baseline;
  line.limit = dst.Bounds().Intersect(clip);
  thread_local LineMemo memo;
  const uint64_t key = line.Key();
  if (memo.Draw(dst, line, key)) return true;
  // The pixels the glyphs will touch, and the colour of each of their rows.
  Rect touched{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  WalkLine(runs, t, text, [&](int32_t, char16_t c, int64_t x) -> int32_t {
    const GlyphBitmap b = run.font->Glyph(c);
    if (b.coverage == nullptr || b.width <= 0 || b.height <= 0) return b.advance;
    const Rect v = line.limit.Intersect(internal::GlyphBox(b, Clamp32(at.left + Clamp32(x)), at.baseline));
    if (!v.IsEmpty()) {
      touched = {std::min(touched.x1, v.x1), std::min(touched.y1, v.y1), std::max(touched.x2, v.x2),
                 std::max(touched.y2, v.y2)};
    }
    return b.advance;
  });
  if (touched.IsEmpty() || touched.H() > LineMemo::kMaxRows || int64_t{touched.W()} * touched.H() > LineMemo::kMaxPixels)
    return false;
  uint32_t colours[LineMemo::kMaxRows];
  if (!rows::RowColours(dst.Row(touched.y1) + touched.x1, dst.stride, touched.W(), touched.H(), colours)) return false;
  DrawLines(dst, clip, runs, t, inks, layout, box, alignH, alignV);
  memo.Keep(dst, line, key, touched, colours);
  return true;
}

}  // namespace

TextLines::TextLines(TextLines&& o) noexcept
    : one_(o.one_), more_(std::move(o.more_)), size_(std::exchange(o.size_, 0)) {}

TextLines& TextLines::operator=(TextLines&& o) noexcept {
  one_ = o.one_;
  more_ = std::move(o.more_);
  size_ = std::exchange(o.size_, 0);
  return *this;
}

const TextLine& TextLines::at(size_t i) const {
  if (i >= size_) throw std::out_of_range("TextLines::at");
  return begin()[i];
}

void TextLines::push_back(const TextLine& line) {
  if (size_ == 0) {
    one_ = line;
  } else {
    if (size_ == 1) more_.assign(1, one_);
    more_.push_back(line);
  }
  ++size_;
}

void TextLines::assign(const TextLine* first, const TextLine* last) {
  clear();
  for (; first != last; ++first) push_back(*first);
}

void TextLines::clear() {
  more_.clear();
  size_ = 0;
}

namespace {

// Layouts of texts of one font, kept by their characters, the font's edition
// and the options: screens make their views anew each time they open and
// lay the same texts out again. Each thread has its own, made on first use.
class LayoutMemo {
 public:
  static constexpr size_t kMaxChars = 256;  // longer texts are laid out each time

  static uint64_t KeyOf(std::u16string_view text, uint64_t edition, const LayoutOptions& o) {
    uint64_t k = edition * 0x9e3779b97f4a7c15u ^ static_cast<uint64_t>(static_cast<uint32_t>(o.width)) << 20 ^
                 static_cast<uint64_t>(static_cast<uint32_t>(o.maxLines)) << 40 ^ (o.wrap ? 1u : 0u) ^ (o.ellipsis ? 2u : 0u);
    return MemoKey(k, text);
  }

  const TextLayout* Find(uint64_t key, std::u16string_view text, uint64_t edition, const LayoutOptions& o) {
    Entry* set = &entries_[(key % kSets) * kWays];
    for (size_t i = 0; i < kWays; ++i) {
      Entry& e = set[i];
      if (e.edition == 0 || e.key != key || e.edition != edition || e.options.width != o.width ||
          e.options.wrap != o.wrap || e.options.ellipsis != o.ellipsis || e.options.maxLines != o.maxLines ||
          e.text != text)
        continue;
      e.used = ++clock_;
      return &e.layout;
    }
    return nullptr;
  }

  void Keep(uint64_t key, std::u16string_view text, uint64_t edition, const LayoutOptions& o, const TextLayout& layout) {
    Entry* set = &entries_[(key % kSets) * kWays];
    Entry* e = set;
    for (size_t i = 1; i < kWays; ++i)
      if (set[i].used < e->used) e = &set[i];
    e->key = key;
    e->edition = edition;
    e->options = o;
    e->text.assign(text);
    e->layout = layout;
    e->used = ++clock_;
  }

 private:
  struct Entry {
    uint64_t key = 0, edition = 0;  // edition 0: empty
    LayoutOptions options;
    std::u16string text;
    TextLayout layout;
    uint32_t used = 0;
  };
  static constexpr size_t kSets = 64, kWays = 8;
  Entry entries_[kSets * kWays];
  uint32_t clock_ = 0;
};

TextLayout LayOutRuns(std::span<const TextRun> runs, const LayoutOptions& options) {
  TextLayout layout;
  for (const TextRun& run : runs) {
    if (run.font == nullptr) continue;
    layout.ascent = std::max(layout.ascent, run.font->Ascent());
    layout.descent = std::max(layout.descent, run.font->Descent());
    layout.leading = std::max(layout.leading, run.font->Leading());
  }
  WithChars(runs, [&](const auto& t) { LayOut(runs, t, options, layout); });
  for (const TextLine& line : layout.lines) layout.width = std::max(layout.width, line.width);
  const auto count = static_cast<int32_t>(layout.lines.size());
  if (count > 0) layout.height = count * (layout.ascent + layout.descent) + (count - 1) * layout.leading;
  return layout;
}

}  // namespace

TextLayout LayoutText(std::span<const TextRun> runs, const LayoutOptions& options) {
  if (runs.size() != 1 || runs[0].font == nullptr || runs[0].text.size() > LayoutMemo::kMaxChars)
    return LayOutRuns(runs, options);
  const uint64_t edition = runs[0].font->Edition();
  if (edition == 0) return LayOutRuns(runs, options);
  thread_local std::unique_ptr<LayoutMemo> memo = std::make_unique<LayoutMemo>();
  const uint64_t key = LayoutMemo::KeyOf(runs[0].text, edition, options);
  if (const TextLayout* kept = memo->Find(key, runs[0].text, edition, options)) return *kept;
  TextLayout layout = LayOutRuns(runs, options);
  memo->Keep(key, runs[0].text, edition, options, layout);
  return layout;
}

void GenDrawAttrText(const Surface& dst, const Rect& clip, std::span<const TextRun> runs, const TextLayout& layout,
                     const Rect& box, AlignH alignH, AlignV alignV, uint8_t opacity) {
  if (opacity == 0 || layout.lines.empty()) return;
  WithChars(runs, [&]<typename T>(const T& t) {
    if constexpr (std::is_same_v<T, OneRun>) {
      OneInk inks(runs, opacity);
      if (DrawKeptLine(dst, clip, runs, t, inks, layout, box, alignH, alignV)) return;
      DrawLines(dst, clip, runs, t, inks, layout, box, alignH, alignV);
    } else {
      RunInks inks(runs, opacity);
      DrawLines(dst, clip, runs, t, inks, layout, box, alignH, alignV);
    }
  });
}

namespace {

// Calls `glyph(c, box, bitmap)` for every glyph with pixels that
// GenDrawAttrText would draw.
template <typename F>
void ForEachGlyph(std::span<const TextRun> runs, const TextLayout& layout, const Rect& box, AlignH alignH,
                  AlignV alignV, F&& glyph) {
  WithChars(runs, [&]<typename T>(const T& t) {
    for (size_t l = 0; l < layout.lines.size(); ++l) {
      const TextLine& line = layout.lines[l];
      if (!LineOf(t, line)) continue;
      const LinePlace at = PlaceLineOf(runs, t, layout, l, box, alignH, alignV);
      WalkLine(runs, t, line, [&](int32_t r, char16_t c, int64_t x) -> int32_t {
        const GlyphBitmap b = runs[static_cast<size_t>(r)].font->Glyph(c);
        if (b.coverage != nullptr && b.width > 0 && b.height > 0) {
          const int32_t gx = Clamp32(at.left + Clamp32(x) + b.left), gy = Clamp32(int64_t{at.baseline} - b.top);
          glyph(c, Rect{gx, gy, Clamp32(int64_t{gx} + b.width), Clamp32(int64_t{gy} + b.height)}, b);
        }
        return b.advance;
      });
    }
  });
}

}  // namespace

Rect InkBounds(std::span<const TextRun> runs, const TextLayout& layout, const Rect& box, AlignH alignH,
               AlignV alignV) {
  Rect ink;
  ForEachGlyph(runs, layout, box, alignH, alignV, [&](char16_t, const Rect& g, const GlyphBitmap&) {
    ink = ink.IsEmpty() ? g
                        : Rect{std::min(ink.x1, g.x1), std::min(ink.y1, g.y1), std::max(ink.x2, g.x2),
                               std::max(ink.y2, g.y2)};
  });
  return ink;
}

std::vector<PlacedGlyph> PlaceGlyphs(std::span<const TextRun> runs, const TextLayout& layout, const Rect& box,
                                     AlignH alignH, AlignV alignV) {
  std::vector<PlacedGlyph> out;
  ForEachGlyph(runs, layout, box, alignH, alignV,
               [&](char16_t c, const Rect& g, const GlyphBitmap&) { out.push_back({c, g}); });
  return out;
}

std::u16string GlyphsCut(std::span<const TextRun> runs, const TextLayout& layout, const Rect& box, AlignH alignH,
                         AlignV alignV, const Rect& clip, const Rect& within, uint8_t coverage) {
  std::u16string out;
  ForEachGlyph(runs, layout, box, alignH, alignV, [&](char16_t c, const Rect& g, const GlyphBitmap& b) {
    if (g.x1 >= clip.x1 && g.y1 >= clip.y1 && g.x2 <= clip.x2 && g.y2 <= clip.y2) return;
    for (int32_t y = 0; y < b.height; ++y) {
      const uint8_t* row = b.coverage + static_cast<ptrdiff_t>(y) * b.pitch;
      for (int32_t x = 0; x < b.width; ++x) {
        if (row[x] < coverage) continue;
        const int64_t px = int64_t{g.x1} + x, py = int64_t{g.y1} + y;
        if (px < within.x1 || px >= within.x2 || py < within.y1 || py >= within.y2) continue;
        if (px < clip.x1 || px >= clip.x2 || py < clip.y1 || py >= clip.y2) {
          out += c;
          return;
        }
      }
    }
  });
  return out;
}

}  // namespace ge
