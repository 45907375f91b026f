// Views::Frame: a bitmap drawn as nine slices over the bounds. The corner
// squares of `FrameWidth` pixels are drawn unscaled, the edges stretched
// along their length and the middle over the rest, so one small panel
// bitmap serves dialogs of any size. A frame smaller than two frame widths
// (or a bitmap smaller than that) shrinks the borders to half its size.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/Core/View.h"

namespace Resources {
class Bitmap;
}

namespace Views {

class Frame : public Core::View {
  KV_CLASS(Views, Frame, Core::View)
 public:
  static constexpr int32_t kDefaultFrameWidth = 16;

  Frame() = default;

  void OnSetBitmap(Resources::Bitmap* bitmap);
  Resources::Bitmap* OnGetBitmap();
  // Width of the border slices; negative widths are logged and count as 0
  // (the whole bitmap stretched).
  void OnSetFrameWidth(int32_t width);
  int32_t OnGetFrameWidth() { return frameWidth_; }
  // 0..255; others are logged and clamped.
  void OnSetOpacity(int32_t opacity);
  int32_t OnGetOpacity() { return opacity_; }

  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

 private:
  kv::Member<Resources::Bitmap> bitmap_;
  int32_t frameWidth_ = kDefaultFrameWidth;
  int32_t opacity_ = 255;
};

}  // namespace Views
