#include "units/Cursor/FocusFrame.h"

#include "units/Core/Group.h"

namespace Cursor {

KV_REGISTER_CLASS(Cursor::FocusFrame);

FocusFrame::FocusFrame() {
  effect_.OnSetNoOfFrames(kAnimationFrames);
  effect_.OnSetBegin(kAnimationPeriod);
  effect_.OnSetPeriod(kAnimationPeriod);
  effect_.OnSetOutlet(kv::MakeRef<kv::Rect>(static_cast<Core::View*>(this), &Core::View::OnGetBounds,
                                            &Core::View::OnSetBounds));
}

kv::Rect FocusFrame::GetTargetRect(Core::View* target) const {
  if (!target) return {};
  kv::Rect r = target->GetAbsoluteBounds();
  if (Core::Group* owner = Owner()) r = r.Move(kv::Point{} - owner->GetAbsoluteBounds().Origin());
  return r.Inflate(margin_, margin_);
}

void FocusFrame::MoveTo(Core::View* target) {
  target_ = target;
  if (!target) {
    effect_.OnSetEnabled(false);
    OnSetVisible(false);
    return;
  }
  const kv::Rect to = GetTargetRect(target);
  if (!animated_ || !IsVisible() || Bounds().IsEmpty()) {
    effect_.OnSetEnabled(false);
    OnSetBounds(to);
    OnSetVisible(true);
    return;
  }
  effect_.OnSetStartRect(Bounds());
  effect_.OnSetEndRect(to);
  effect_.Activate();
}

void FocusFrame::OnSetAnimated(bool animated) {
  animated_ = animated;
  if (!animated && effect_.IsEnabled()) {
    // Finish a running slide at once.
    effect_.OnSetEnabled(false);
    OnSetBounds(effect_.OnGetEndRect());
  }
}

void FocusFrame::OnSetMargin(int32_t margin) {
  margin_ = margin;
  if (target_ && IsVisible() && !effect_.IsEnabled()) OnSetBounds(GetTargetRect(target_));
}

}  // namespace Cursor
