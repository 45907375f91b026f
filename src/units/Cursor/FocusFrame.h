// Cursor::FocusFrame: the highlight frame that a group of controls shares.
// Each control holding it as its FocusFrame moves it onto itself when it
// gains the focus (MoveTo); the frame then covers the control's rectangle,
// grown by Margin on every side, in the coordinates of the frame's owner.
//
// Without animation the frame jumps there; with animation it slides from
// where it stands over kAnimationFrames frames of kAnimationPeriod ms. A
// hidden frame always jumps (it has no place to slide from). MoveTo(null)
// hides it.
#pragma once

#include <cstdint>

#include "runtime/geometry.h"
#include "runtime/member.h"
#include "units/Effects/RectEffect.h"
#include "units/Resources/Bitmap.h"  // Frame.h reads its bitmap member inline
#include "units/Views/Frame.h"

namespace Cursor {

class FocusFrame : public Views::Frame {
  KV_CLASS(Cursor, FocusFrame, Views::Frame)
 public:
  static constexpr int32_t kAnimationFrames = 4;
  static constexpr int32_t kAnimationPeriod = 20;

  FocusFrame();

  void MoveTo(Core::View* target);
  Core::View* GetTarget() const { return target_.get(); }
  // Where the frame goes for `target`, in its owner's coordinates.
  kv::Rect GetTargetRect(Core::View* target) const;

  void OnSetAnimated(bool animated);
  bool OnGetAnimated() { return animated_; }
  void OnSetMargin(int32_t margin);
  int32_t OnGetMargin() { return margin_; }
  bool IsMoving() const { return effect_.IsEnabled(); }

 private:
  Effects::RectEffect effect_;
  kv::Member<Core::View> target_;
  int32_t margin_ = 0;
  bool animated_ = false;
};

}  // namespace Cursor
