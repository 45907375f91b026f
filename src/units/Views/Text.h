// Views::Text: one line of text in a font and colour, aligned in its bounds.
//
// AutoSize is synchronous: while it is on, setting the string, the font or
// the bounds gives the view the size of its text at once (the width of the
// text, the height of one line), keeping the top-left corner, so callers can
// measure right after OnSetString. With Ellipsis a text wider than the
// bounds is cut and ends with "...". A '\n' ends the text shown.
//
// Without a font the view uses Fonts::MediumFont.
//
// A marked range draws some characters in a colour of their own, in their
// place in the text (the letter the key pad's accents replace).
//
// The layout (the lines) is kept and made again only when something it
// depends on changes: the string, the font (or its metrics), the ellipsis or
// the size of the bounds as the layout uses them; the auto size and the
// drawing share it. A draw takes only the lines the clip shows, so a long
// text scrolled in a small view costs what its visible lines cost.
#pragma once

#include <cstdint>
#include <vector>

#include "ge/attr_text.h"
#include "runtime/geometry.h"
#include "runtime/member.h"
#include "runtime/string.h"
#include "units/Colors/Colors.h"
#include "units/Core/View.h"

namespace Resources {
class Font;
}

namespace Views {

class Text : public Core::View {
  KV_CLASS(Views, Text, Core::View)
 public:
  Text() = default;

  void OnSetString(const kv::String& text);
  const kv::String& OnGetString() const { return string_; }
  void OnSetFont(Resources::Font* font);
  Resources::Font* OnGetFont();
  void OnSetColor(kv::Color color);
  kv::Color OnGetColor() { return color_; }
  // 0 left, 1 centred, 2 right; others are logged and count as 0.
  void OnSetAlignH(int32_t align);
  int32_t OnGetAlignH() { return alignH_; }
  // 0 top, 1 centred, 2 bottom; others are logged and count as 0.
  void OnSetAlignV(int32_t align);
  int32_t OnGetAlignV() { return alignV_; }
  void OnSetAutoSize(bool on);
  bool OnGetAutoSize() { return autoSize_; }
  void OnSetEllipsis(bool on);
  bool OnGetEllipsis() { return ellipsis_; }
  bool Ellipsis() const { return ellipsis_; }
  // Characters [begin, begin + count) are drawn in `color`; a count of 0
  // draws them all in the text's colour again.
  void OnSetMarkedRange(int32_t begin, int32_t count, kv::Color color);

  void OnSetBounds(kv::Rect bounds) override;

  // The font drawn with: the one set, else the medium font.
  Resources::Font* EffectiveFont() const;
  // The text as it is drawn in the current bounds (lines, widths, ellipsis).
  ge::TextLayout GetLayout();
  // The width the text would take if its view were `width` wide, laid out as
  // it is drawn (an ellipsis where it is on); the view and its kept layout
  // stay as they are, so a view can be sized to its text without moving twice.
  int32_t WidthIn(int32_t width) const;
  // The width a view needs to show the glyphs of the text's line whole, laid
  // out as the auto size lays it: its width, and what its first letter
  // reaches left of its pen and its last letter past its advance (the arm
  // of a closing "r"), which a view as wide as the text's advances cuts off.
  // A caption placed in a row by its width (a key's caption in a help row)
  // takes this width.
  int32_t InkWidth() const;

  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

 protected:
  // How the text is laid out: `measuring` for the auto size (no width limit
  // for a single line).
  virtual ge::LayoutOptions Options(bool measuring) const;
  // The kept layout when it was made with `options`, else a new one kept.
  const ge::TextLayout& LayoutFor(const ge::LayoutOptions& options);
  // The bounds the auto size gives for `bounds`.
  virtual kv::Rect AutoSizeBounds(const kv::Rect& bounds);
  // Applies the auto size when it is on (no redraw when nothing changes).
  void UpdateSize();
  // The string as one run of the effective font and the colour.
  ge::TextRun Run() const;
  // The runs drawn: the one run, or up to three where a range is marked.
  // The views point into the string.
  std::vector<ge::TextRun> DrawnRuns() const;

 private:
  // What the kept layout was made from, besides the string.
  struct LayoutKey {
    ge::GlyphSource* font = nullptr;
    int32_t ascent = 0, descent = 0, leading = 0;
    ge::LayoutOptions options;
    bool operator==(const LayoutKey& o) const;
  };
  static LayoutKey KeyFor(ge::GlyphSource* font, const ge::LayoutOptions& options);
  // The layout for drawing, made again when stale.
  void UpdateLayout();

  bool layoutValid_ = false;  // cleared when the string changes
  LayoutKey layoutKey_;
  ge::TextLayout layout_;

  kv::String string_;
  kv::Member<Resources::Font> font_;
  kv::Color color_ = Colors::StandardTextColor;
  int32_t alignH_ = 0;
  int32_t alignV_ = 0;
  bool autoSize_ = false;
  bool ellipsis_ = false;
  int32_t markBegin_ = 0, markCount_ = 0;
  kv::Color markColor_{};
};

}  // namespace Views
