#include "units/Views/Border.h"

#include <algorithm>

#include "ge/fill.h"
#include "units/Core/Log.h"
#include "units/Views/Align.h"

namespace Views {

KV_REGISTER_CLASS(Border);

void Border::OnSetWidth(int32_t width) {
  if (width < 0) {
    Core::LogError("Views::Border: width %i counts as 0", {width});
    width = 0;
  }
  if (width == width_) return;
  width_ = width;
  InvalidateView();
}

void Border::OnSetColor(kv::Color color) {
  if (color == color_) return;
  color_ = color;
  InvalidateView();
}

void Border::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  kv::Color c = color_;
  c.a = CombineOpacity(c.a, opacity);
  if (c.a == 0 || width_ == 0) return;
  const kv::Rect r = Bounds().MoveTo(origin);
  const int32_t w = std::min({width_, (r.W() + 1) / 2, (r.H() + 1) / 2});
  const ge::Rect gc = Core::ToGeRect(clip);
  const uint32_t word = c.ToWord();
  // Top and bottom span the whole width; the sides fill the rows between,
  // so no pixel is drawn twice (translucent borders stay even).
  ge::GenBlendRect(target, gc, {r.x1, r.y1, r.x2, r.y1 + w}, word);
  ge::GenBlendRect(target, gc, {r.x1, std::max(r.y2 - w, r.y1 + w), r.x2, r.y2}, word);
  ge::GenBlendRect(target, gc, {r.x1, r.y1 + w, r.x1 + w, r.y2 - w}, word);
  ge::GenBlendRect(target, gc, {std::max(r.x2 - w, r.x1 + w), r.y1 + w, r.x2, r.y2 - w}, word);
}

}  // namespace Views
