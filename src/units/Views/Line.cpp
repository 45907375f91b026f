#include "units/Views/Line.h"

#include <algorithm>

#include "ge/fill.h"
#include "ge/wu_line.h"
#include "units/Views/Align.h"

namespace Views {

KV_REGISTER_CLASS(Line);

void Line::OnSetColor(kv::Color color) {
  if (color == color_) return;
  color_ = color;
  InvalidateView();
}

void Line::OnSetPoints(kv::Point p1, kv::Point p2) {
  const kv::Rect box{std::min(p1.x, p2.x), std::min(p1.y, p2.y), std::max(p1.x, p2.x) + 1,
                     std::max(p1.y, p2.y) + 1};
  hasPoints_ = true;
  p1_ = p1 - box.Origin();
  p2_ = p2 - box.Origin();
  OnSetBounds(box);
  InvalidateView();
}

void Line::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  if (color_.a == 0 || opacity <= 0) return;
  if (!hasPoints_) {
    kv::Color c = color_;
    c.a = CombineOpacity(c.a, opacity);
    ge::GenBlendRect(target, Core::ToGeRect(clip), Core::ToGeRect(Bounds().MoveTo(origin)), c.ToWord());
    return;
  }
  ge::GenWuLine(target, Core::ToGeRect(clip), origin.x + p1_.x, origin.y + p1_.y, origin.x + p2_.x,
                origin.y + p2_.y, color_.ToWord(), CombineOpacity(255, opacity));
}

}  // namespace Views
