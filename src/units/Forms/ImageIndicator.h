// Forms::ImageIndicator: a small picture that shows its bitmap only while it
// is enabled (the "more above" / "more below" marks of lists). It is a plain
// view, not a control: it never takes the focus and form walks skip it.
// The bitmap is stretched into the bounds and blended.
#pragma once

#include "runtime/member.h"
#include "units/Core/View.h"

namespace Resources {
class Bitmap;
}

namespace Forms {

class ImageIndicator : public Core::View {
  KV_CLASS(Forms, ImageIndicator, Core::View)
 public:
  ImageIndicator() = default;

  void OnSetEnabledBitmap(Resources::Bitmap* bitmap);
  Resources::Bitmap* OnGetEnabledBitmap();
  void OnSetEnabled(bool enabled);
  bool OnGetEnabled() { return enabled_; }

  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

 private:
  kv::Member<Resources::Bitmap> bitmap_;
  bool enabled_ = true;
};

}  // namespace Forms
