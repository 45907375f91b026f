// Cursor::Navigator: arrow marks around the focused control, telling which
// way the arrow keys lead from it (the up and down arrows beside a spinner).
//
// MoveTo(target) places the navigator round the target: the target's
// rectangle, in the navigator's owner's coordinates, grown by the arrows'
// sizes and Spacing on every side. Each arrow whose bitmap is set is drawn
// centred on its side of the target, Spacing away from it. MoveTo(null)
// hides the navigator.
#pragma once

#include <cstdint>

#include "runtime/geometry.h"
#include "runtime/member.h"
#include "units/Core/View.h"

namespace Resources {
class Bitmap;
}

namespace Cursor {

class Navigator : public Core::View {
  KV_CLASS(Cursor, Navigator, Core::View)
 public:
  enum Side : int32_t { kUp = 0, kDown = 1, kLeft = 2, kRight = 3 };

  Navigator() = default;

  // Follows `target` (any view under the same root), or hides with null.
  void MoveTo(Core::View* target);
  Core::View* GetTarget() const { return target_.get(); }

  void OnSetArrowBitmap(Side side, Resources::Bitmap* bitmap);
  Resources::Bitmap* OnGetArrowBitmap(Side side) const;
  // Gap in pixels between the target's edge and each arrow.
  void OnSetSpacing(int32_t spacing);
  int32_t OnGetSpacing() { return spacing_; }

  // The rectangle of one arrow relative to the navigator; empty without a bitmap.
  kv::Rect GetArrowRect(Side side) const;

  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

 private:
  kv::Point ArrowSize(Side side) const;
  void Layout();

  kv::Member<Core::View> target_;
  kv::Member<Resources::Bitmap> up_;
  kv::Member<Resources::Bitmap> down_;
  kv::Member<Resources::Bitmap> left_;
  kv::Member<Resources::Bitmap> right_;
  kv::Rect targetRect_;  // the target in the navigator's owner's coordinates
  int32_t spacing_ = 0;
};

}  // namespace Cursor
