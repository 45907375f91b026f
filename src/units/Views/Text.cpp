#include "units/Views/Text.h"

#include <algorithm>

#include "units/Fonts/Fonts.h"
#include "units/Resources/Font.h"
#include "units/Views/Align.h"

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

void Text::OnSetBounds(kv::Rect bounds) { View::OnSetBounds(autoSize_ ? AutoSizeBounds(bounds) : bounds); }

Resources::Font* Text::EffectiveFont() const {
  if (font_) return font_.get();
  return Resources::LoadResource(Fonts::MediumFont);
}

ge::TextRun Text::Run() const {
  return ge::TextRun{string_.View(), EffectiveFont()->GetGlyphSource(), color_.ToWord()};
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

Text::LayoutKey Text::CurrentKey() const {
  LayoutKey k;
  k.font = EffectiveFont()->GetGlyphSource();
  if (k.font) {
    k.ascent = k.font->Ascent();
    k.descent = k.font->Descent();
    k.leading = k.font->Leading();
  }
  k.options = Options(false);
  return k;
}

void Text::UpdateLayout() {
  const LayoutKey key = CurrentKey();
  if (layoutValid_ && key == layoutKey_) return;
  const ge::TextRun run = Run();
  layout_ = ge::LayoutText({&run, 1}, key.options);
  placement_ = ge::PlaceText({&run, 1}, layout_);
  layoutKey_ = key;
  layoutValid_ = true;
}

ge::TextLayout Text::GetLayout() {
  UpdateLayout();
  return layout_;
}

kv::Rect Text::AutoSizeBounds(const kv::Rect& bounds) {
  const ge::TextRun run = Run();
  const ge::TextLayout layout = ge::LayoutText({&run, 1}, Options(true));
  const int32_t h = EffectiveFont()->LineHeight();
  return {bounds.x1, bounds.y1, bounds.x1 + layout.width, bounds.y1 + h};
}

void Text::UpdateSize() {
  if (autoSize_) View::OnSetBounds(AutoSizeBounds(Bounds()));
}

void Text::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  if (string_.Empty() || color_.a == 0 || opacity <= 0) return;
  UpdateLayout();
  const ge::TextRun run = Run();
  ge::GenDrawPlacedText(target, Core::ToGeRect(clip), {&run, 1}, layout_, placement_,
                        Core::ToGeRect(Bounds().MoveTo(origin)), ToGeAlignH(alignH_), ToGeAlignV(alignV_),
                        CombineOpacity(255, opacity));
}

}  // namespace Views
