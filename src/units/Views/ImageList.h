// Views::ImageList: one image out of a strip. The bitmap holds ImageNumber
// images side by side, each ImageSize pixels wide; the view shows the one
// at ImageIndex (clamped to the images there are), stretched into its
// bounds (signal-strength bars: index 0 to 5).
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/Core/View.h"

namespace Resources {
class Bitmap;
}

namespace Views {

class ImageList : public Core::View {
  KV_CLASS(Views, ImageList, Core::View)
 public:
  ImageList() = default;

  void OnSetBitmap(Resources::Bitmap* bitmap);
  Resources::Bitmap* OnGetBitmap();
  // Negative sizes and numbers are logged and count as 0 (nothing drawn).
  void OnSetImageSize(int32_t size);
  int32_t OnGetImageSize() { return imageSize_; }
  void OnSetImageNumber(int32_t number);
  int32_t OnGetImageNumber() { return imageNumber_; }
  void OnSetImageIndex(int32_t index);
  int32_t OnGetImageIndex() { return imageIndex_; }

  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

 private:
  kv::Member<Resources::Bitmap> bitmap_;
  int32_t imageSize_ = 0;
  int32_t imageNumber_ = 0;
  int32_t imageIndex_ = 0;
};

}  // namespace Views
