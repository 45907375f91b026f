#include "units/Cursor/Navigator.h"

#include <algorithm>

#include "ge/blit.h"
#include "units/Core/Group.h"
#include "units/Core/Log.h"
#include "units/Resources/Bitmap.h"

namespace Cursor {

KV_REGISTER_CLASS(Cursor::Navigator);

void Navigator::MoveTo(Core::View* target) {
  target_ = target;
  if (!target) {
    OnSetVisible(false);
    return;
  }
  // The target's rectangle seen from the navigator's owner.
  kv::Rect r = target->GetAbsoluteBounds();
  if (Core::Group* owner = Owner()) r = r.Move(kv::Point{} - owner->GetAbsoluteBounds().Origin());
  targetRect_ = r;
  Layout();
  OnSetVisible(true);
}

void Navigator::OnSetArrowBitmap(Side side, Resources::Bitmap* bitmap) {
  switch (side) {
    case kUp: up_ = bitmap; break;
    case kDown: down_ = bitmap; break;
    case kLeft: left_ = bitmap; break;
    case kRight: right_ = bitmap; break;
    default:
      Core::LogError("Cursor::Navigator: no arrow side %i", {static_cast<int32_t>(side)});
      return;
  }
  Layout();
}

Resources::Bitmap* Navigator::OnGetArrowBitmap(Side side) const {
  switch (side) {
    case kUp: return up_.get();
    case kDown: return down_.get();
    case kLeft: return left_.get();
    case kRight: return right_.get();
  }
  return nullptr;
}

void Navigator::OnSetSpacing(int32_t spacing) {
  if (spacing < 0) {
    Core::LogError("Cursor::Navigator: negative spacing %i", {spacing});
    spacing = 0;
  }
  spacing_ = spacing;
  Layout();
}

kv::Point Navigator::ArrowSize(Side side) const {
  Resources::Bitmap* b = OnGetArrowBitmap(side);
  return b ? b->GetFrameSize() : kv::Point{};
}

void Navigator::Layout() {
  if (!target_) return;
  // Room for the widest arrow on each side, so that the arrows lie inside the bounds.
  const int32_t top = ArrowSize(kUp).y ? ArrowSize(kUp).y + spacing_ : 0;
  const int32_t bottom = ArrowSize(kDown).y ? ArrowSize(kDown).y + spacing_ : 0;
  const int32_t left = ArrowSize(kLeft).x ? ArrowSize(kLeft).x + spacing_ : 0;
  const int32_t right = ArrowSize(kRight).x ? ArrowSize(kRight).x + spacing_ : 0;
  const kv::Rect r = targetRect_;
  const kv::Rect bounds{r.x1 - left, r.y1 - top, r.x2 + right, r.y2 + bottom};
  if (bounds == Bounds())
    InvalidateView();  // same place, other arrows
  else
    OnSetBounds(bounds);
}

kv::Rect Navigator::GetArrowRect(Side side) const {
  const kv::Point size = ArrowSize(side);
  if (size.x <= 0 || size.y <= 0 || !target_) return {};
  // The target relative to the navigator.
  const kv::Rect t = targetRect_.Move(kv::Point{} - Bounds().Origin());
  const kv::Point c = t.Center();
  switch (side) {
    case kUp: return kv::Rect{0, 0, size.x, size.y}.MoveTo({c.x - size.x / 2, t.y1 - spacing_ - size.y});
    case kDown: return kv::Rect{0, 0, size.x, size.y}.MoveTo({c.x - size.x / 2, t.y2 + spacing_});
    case kLeft: return kv::Rect{0, 0, size.x, size.y}.MoveTo({t.x1 - spacing_ - size.x, c.y - size.y / 2});
    case kRight: return kv::Rect{0, 0, size.x, size.y}.MoveTo({t.x2 + spacing_, c.y - size.y / 2});
  }
  return {};
}

void Navigator::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  for (Side side : {kUp, kDown, kLeft, kRight}) {
    Resources::Bitmap* b = OnGetArrowBitmap(side);
    const kv::Rect at = GetArrowRect(side);
    if (!b || !b->HasSurface() || at.IsEmpty()) continue;
    const ge::Surface src = b->GetFrameSurface(0);
    const kv::Rect d = at.Move(origin);
    ge::GenBlendBitmap(target, Core::ToGeRect(clip), src, d.x1, d.y1, 0, 0, src.width, src.height,
                       static_cast<uint8_t>(std::clamp(opacity, 0, 255)));
  }
}

}  // namespace Cursor
