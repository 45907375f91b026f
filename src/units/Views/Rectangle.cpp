#include "units/Views/Rectangle.h"

#include "ge/fill.h"
#include "units/Core/SeenTexts.h"
#include "units/Views/Align.h"

namespace Views {

KV_REGISTER_CLASS(Rectangle);

void Rectangle::OnSetColor(kv::Color color) {
  if (color == color_) return;
  color_ = color;
  InvalidateView();
}

void Rectangle::OnSetCut(bool cut) {
  if (cut == cut_) return;
  cut_ = cut;
  InvalidateView();
}

void Rectangle::CollectOpaque(const kv::Rect& clip, kv::Point /*origin*/, Core::OpaqueCover& cover) const {
  if (color_.a == 255) cover.Add(clip);
}

void Rectangle::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  if (cut_) {
    ge::GenFillRect(target, Core::ToGeRect(clip), Core::ToGeRect(Bounds().MoveTo(origin)), color_.ToWord());
    return;
  }
  kv::Color c = color_;
  c.a = CombineOpacity(c.a, opacity);
  if (c.a == 0) return;
  ge::GenBlendRect(target, Core::ToGeRect(clip), Core::ToGeRect(Bounds().MoveTo(origin)), c.ToWord());
#ifdef KV_VERIFY
  Core::BoxWatch::DrewWholeArea();
#endif
}

}  // namespace Views
