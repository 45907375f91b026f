#include "units/Views/Text.h"

#include <algorithm>
#include <utility>
#include <string>
#include <vector>

#include "runtime/trace.h"
#include "units/Core/Group.h"
#include "ge/ink_bounds.h"
#include "units/Fonts/Fonts.h"
#include "units/Resources/Font.h"
#include "units/Views/Align.h"
#include "units/Core/SeenTexts.h"

namespace Views {

KV_REGISTER_CLASS(Text);

void Text::OnSetString(const kv::String& text) {
  if (text == string_) return;
  string_ = text;
  layoutValid_ = false;
  InvalidateView();
  UpdateSize();
}

void Text::OnSetFont(Resources::Font* font) {
  if (font == font_.get()) return;
  font_ = font;
  InvalidateView();
  UpdateSize();
}

Resources::Font* Text::OnGetFont() { return font_.get(); }

void Text::OnSetColor(kv::Color color) {
  if (color == color_) return;
  color_ = color;
  InvalidateView();
}

void Text::OnSetAlignH(int32_t align) {
  align = CheckAlign(align, ALIGN_RIGHT, "Views::Text AlignH");
  if (align == alignH_) return;
  alignH_ = align;
  InvalidateView();
}

void Text::OnSetAlignV(int32_t align) {
  align = CheckAlign(align, ALIGN_BOTTOM, "Views::Text AlignV");
  if (align == alignV_) return;
  alignV_ = align;
  InvalidateView();
}

void Text::OnSetAutoSize(bool on) {
  if (on == autoSize_) return;
  autoSize_ = on;
  UpdateSize();
}

void Text::OnSetEllipsis(bool on) {
  if (on == ellipsis_) return;
  ellipsis_ = on;
  InvalidateView();
}

void Text::OnSetMarkedRange(int32_t begin, int32_t count, kv::Color color) {
  begin = std::max(begin, 0);
  count = std::max(count, 0);
  if (count == 0) {
    begin = 0;
    color = {};
  }
  if (begin == markBegin_ && count == markCount_ && color == markColor_) return;
  markBegin_ = begin;
  markCount_ = count;
  markColor_ = color;
  InvalidateView();
}

void Text::OnSetBounds(kv::Rect bounds) { View::OnSetBounds(autoSize_ ? AutoSizeBounds(bounds) : bounds); }

Resources::Font* Text::EffectiveFont() const {
  if (font_) return font_.get();
  return Resources::LoadResource(Fonts::MediumFont);
}

ge::TextRun Text::Run() const {
  return ge::TextRun{string_.View(), EffectiveFont()->GetGlyphSource(), color_.ToWord()};
}

std::vector<ge::TextRun> Text::DrawnRuns() const {
  const ge::TextRun run = Run();
  const size_t size = run.text.size();
  const auto begin = std::min(static_cast<size_t>(markBegin_), size);
  const auto end = std::min(begin + static_cast<size_t>(markCount_), size);
  if (begin == end) return {run};
  // Runs of one font lay out as the one run does: only the colour of the
  // marked characters differs.
  std::vector<ge::TextRun> runs;
  if (begin > 0) runs.push_back({run.text.substr(0, begin), run.font, run.colour});
  runs.push_back({run.text.substr(begin, end - begin), run.font, markColor_.ToWord()});
  if (end < size) runs.push_back({run.text.substr(end), run.font, run.colour});
  return runs;
}

ge::LayoutOptions Text::Options(bool measuring) const {
  ge::LayoutOptions o;
  o.maxLines = 1;
  if (!measuring && ellipsis_) {
    o.width = std::max(Bounds().W(), 1);
    o.ellipsis = true;
  }
  return o;
}

bool Text::LayoutKey::operator==(const LayoutKey& o) const {
  return font == o.font && ascent == o.ascent && descent == o.descent && leading == o.leading &&
         options.width == o.options.width && options.wrap == o.options.wrap &&
         options.ellipsis == o.options.ellipsis && options.maxLines == o.options.maxLines;
}

Text::LayoutKey Text::KeyFor(ge::GlyphSource* font, const ge::LayoutOptions& options) {
  LayoutKey k;
  k.font = font;
  if (k.font) {
    k.ascent = k.font->Ascent();
    k.descent = k.font->Descent();
    k.leading = k.font->Leading();
  }
  k.options = options;
  return k;
}

const ge::TextLayout& Text::LayoutFor(const ge::LayoutOptions& options) {
  const ge::TextRun run = Run();
  if (layoutValid_ && KeyFor(run.font, options) == layoutKey_) return layout_;
  layout_ = ge::LayoutText({&run, 1}, options);
  // The layout's metrics are those of its one font, read just now.
  layoutKey_ = {run.font, layout_.ascent, layout_.descent, layout_.leading, options};
  layoutValid_ = true;
  return layout_;
}

void Text::UpdateLayout() { LayoutFor(Options(false)); }

ge::TextLayout Text::GetLayout() {
  UpdateLayout();
  return layout_;
}

int32_t Text::WidthIn(int32_t width) const {
  ge::LayoutOptions o = Options(false);
  if (o.ellipsis) o.width = std::max(width, 1);
  const ge::TextRun run = Run();
  return ge::LayoutText({&run, 1}, o).width;
}

int32_t Text::InkWidth() const {
  const ge::TextRun run = Run();
  const ge::TextLayout layout = ge::LayoutText({&run, 1}, Options(true));
  // In a box as wide as the advances the line stays where it was laid.
  const ge::Rect ink =
      ge::InkBounds({&run, 1}, layout, {0, 0, layout.width, layout.height}, ge::AlignH::Left, ge::AlignV::Top);
  if (ink.IsEmpty()) return layout.width;
  return layout.width + std::max(0, -ink.x1) + std::max(0, ink.x2 - layout.width);
}

kv::Rect Text::AutoSizeBounds(const kv::Rect& bounds) {
  const int32_t w = LayoutFor(Options(true)).width;
  const int32_t h = EffectiveFont()->LineHeight();
  return {bounds.x1, bounds.y1, bounds.x1 + w, bounds.y1 + h};
}

void Text::UpdateSize() {
  if (autoSize_) View::OnSetBounds(AutoSizeBounds(Bounds()));
}

void Text::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  if (string_.Empty() || color_.a == 0 || opacity <= 0) return;
  UpdateLayout();
  const std::vector<ge::TextRun> runs = DrawnRuns();
  const kv::Rect box = Bounds().MoveTo(origin);
  // A text wider than its view shows its start: it is never cut at the
  // start, nor at both ends when centred. With Ellipsis it was laid out to
  // fit and ends in "...".
  int32_t alignH = alignH_;
  if (layout_.width > box.W()) alignH = ALIGN_LEFT;
#ifdef KV_VERIFY
  // Checked builds compare the glyphs with what the viewer sees of the view.
  const ge::Rect ink = ge::InkBounds(runs, layout_, Core::ToGeRect(box), ToGeAlignH(alignH),
                                     ToGeAlignV(alignV_));
  Core::DrawnLetters letters;
  const ge::Rect geClip = Core::ToGeRect(clip);
  if (ink.x1 < geClip.x1 || ink.y1 < geClip.y1 || ink.x2 > geClip.x2 || ink.y2 > geClip.y2)
    letters.cut = ge::GlyphsCut(runs, layout_, Core::ToGeRect(box), ToGeAlignH(alignH), ToGeAlignV(alignV_),
                                geClip, Core::ToGeRect(Core::TextWatch::PaintedArea()), Core::kStrokeCoverage);
  if (Core::TextWatch::Recording()) {
    for (const ge::PlacedGlyph& g :
         ge::PlaceGlyphs(runs, layout_, Core::ToGeRect(box), ToGeAlignH(alignH), ToGeAlignV(alignV_)))
      letters.boxes.push_back({g.box.x1, g.box.y1, g.box.x2, g.box.y2});
    // What one more letter of a shortened line needs: the letter after the
    // ellipsis's place, with the spaces before it.
    const std::u16string_view all = string_.View();
    for (const ge::TextLine& line : layout_.lines) {
      if (!line.ellipsis) continue;
      int32_t need = 0;
      for (auto i = static_cast<size_t>(std::max(line.end, 0)); i < all.size(); ++i) {
        need += runs.front().font->Advance(all[i]);
        if (all[i] != u' ') break;
      }
      letters.nextLetter = std::max(letters.nextLetter, need);
      // Where its pen ends: the "..." has its own room after its ink.
      int32_t left = box.x1;
      if (alignH == ALIGN_CENTER) left += (box.W() - line.width) / 2;
      if (alignH == ALIGN_RIGHT) left += box.W() - line.width;
      letters.penEnd = std::max(letters.penEnd, left + line.width);
    }
  }
  const Core::TextWatch watch(this, string_, layout_, box, {ink.x1, ink.y1, ink.x2, ink.y2}, clip,
                              Core::ScrollsInField(this), target, letters);
  if (watch.Skip()) return;
#endif
  // The lines the clip shows, with one more on each side for glyphs that
  // reach past their line.
  const auto n = static_cast<int32_t>(layout_.lines.size());
  const int32_t pitch = std::max(layout_.LinePitch(), 1);
  int64_t top = box.y1;
  if (alignV_ == ALIGN_CENTER) top += (int64_t{box.H()} - layout_.height) / 2;
  if (alignV_ == ALIGN_BOTTOM) top += int64_t{box.H()} - layout_.height;
  auto lineAt = [&](int64_t y) {
    const int64_t d = y - top;
    return static_cast<int32_t>(std::clamp<int64_t>(d >= 0 ? d / pitch : -((-d + pitch - 1) / pitch), -1, n));
  };
  const int32_t first = std::max(0, lineAt(clip.y1) - 1);
  const int32_t last = std::min(n, lineAt(clip.y2) + 2);
  if (first >= last) return;
  const ge::TextLayout* shown = &layout_;
  ge::TextLayout part;
  if (first > 0 || last < n) {
    part.ascent = layout_.ascent;
    part.descent = layout_.descent;
    part.leading = layout_.leading;
    part.width = layout_.width;
    part.lines.assign(layout_.lines.begin() + first, layout_.lines.begin() + last);
    const int32_t count = last - first;
    part.height = count * (layout_.ascent + layout_.descent) + (count - 1) * layout_.leading;
    shown = &part;
  }
  const int64_t y1 = top + int64_t{first} * pitch;
  const ge::Rect lines{box.x1, static_cast<int32_t>(y1), box.x2, static_cast<int32_t>(y1 + shown->height)};
  ge::GenDrawAttrText(target, Core::ToGeRect(clip), runs, *shown, lines, ToGeAlignH(alignH), ge::AlignV::Top,
                      CombineOpacity(255, opacity));
}

}  // namespace Views
