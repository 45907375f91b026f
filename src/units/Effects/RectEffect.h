// Effects::RectEffect: moves a rectangle property (typically a view's bounds)
// from StartRect to EndRect, writing it through the outlet reference at every
// frame. Each coordinate follows the effect's progress curve and is rounded to
// the nearest integer; the last frame writes EndRect exactly. The menus run it
// with NoOfFrames 6 and Factor 2 (ease-out).
#pragma once

#include "runtime/geometry.h"
#include "runtime/ref.h"
#include "units/Effects/Effect.h"

namespace Effects {

// A reference to a rectangle property: (object, getter, setter), for example
// kv::MakeRef<kv::Rect>(view, &Core::View::OnGetBounds, &Core::View::OnSetBounds).
using RefRect = kv::Ref<kv::Rect>;

class RectEffect : public Effect {
  KV_CLASS(Effects, RectEffect, Effect)
 public:
  RectEffect() = default;

  void OnSetStartRect(kv::Rect rect) { start_ = rect; }
  kv::Rect OnGetStartRect() { return start_; }
  void OnSetEndRect(kv::Rect rect) { end_ = rect; }
  kv::Rect OnGetEndRect() { return end_; }
  // The property written at every frame (a null reference writes nothing).
  void OnSetOutlet(const RefRect& outlet) { outlet_ = outlet; }
  RefRect OnGetOutlet() { return outlet_; }

  // The rectangle of a frame (0: StartRect, NoOfFrames: EndRect).
  kv::Rect GetRectAt(int32_t frame) const;

 protected:
  void ApplyFrame(int32_t frame) override;

 private:
  RefRect outlet_;
  kv::Rect start_;
  kv::Rect end_;
};

}  // namespace Effects
