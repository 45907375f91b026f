#include "units/Views/MultilineText.h"

#include <algorithm>

#include "units/Resources/Font.h"

namespace Views {

KV_REGISTER_CLASS(MultilineText);

ge::LayoutOptions MultilineText::Options(bool measuring) const {
  ge::LayoutOptions o;
  o.width = std::max(Bounds().W(), 1);
  o.wrap = true;
  if (!measuring && Ellipsis()) {
    // As many lines as fit the height; the last one shows the ellipsis.
    Resources::Font* font = EffectiveFont();
    const int32_t pitch = std::max(font->LinePitch(), 1);
    o.maxLines = std::max(1, (Bounds().H() + font->Leading()) / pitch);
    o.ellipsis = true;
  }
  return o;
}

kv::Rect MultilineText::AutoSizeBounds(const kv::Rect& bounds) {
  // Laid out at the new width (the bounds are not stored yet); drawing at
  // that width uses the same layout.
  ge::LayoutOptions o;
  o.width = std::max(bounds.W(), 1);
  o.wrap = true;
  const int32_t h = std::max(LayoutFor(o).height, EffectiveFont()->LineHeight());
  return {bounds.x1, bounds.y1, bounds.x2, bounds.y1 + h};
}

}  // namespace Views
