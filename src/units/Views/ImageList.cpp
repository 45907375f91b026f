#include "units/Views/ImageList.h"

#include <algorithm>

#include "ge/blit.h"
#include "units/Core/Log.h"
#include "units/Resources/Bitmap.h"
#include "units/Views/Align.h"

namespace Views {

KV_REGISTER_CLASS(ImageList);

namespace {
int32_t NonNegative(int32_t v, const char* what) {
  if (v >= 0) return v;
  Core::LogError("Views::ImageList: %s %i counts as 0", {what, v});
  return 0;
}
}  // namespace

void ImageList::OnSetBitmap(Resources::Bitmap* bitmap) {
  if (bitmap == bitmap_.get()) return;
  bitmap_ = bitmap;
  InvalidateView();
}

Resources::Bitmap* ImageList::OnGetBitmap() { return bitmap_.get(); }

void ImageList::OnSetImageSize(int32_t size) {
  size = NonNegative(size, "image size");
  if (size == imageSize_) return;
  imageSize_ = size;
  InvalidateView();
}

void ImageList::OnSetImageNumber(int32_t number) {
  number = NonNegative(number, "image number");
  if (number == imageNumber_) return;
  imageNumber_ = number;
  InvalidateView();
}

void ImageList::OnSetImageIndex(int32_t index) {
  if (index == imageIndex_) return;
  imageIndex_ = index;
  InvalidateView();
}

void ImageList::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  if (!bitmap_ || !bitmap_->HasSurface() || imageSize_ == 0 || imageNumber_ == 0) return;
  const uint8_t op = CombineOpacity(255, opacity);
  if (op == 0) return;
  const ge::Surface src = bitmap_->GetSurface();
  const int32_t index = std::clamp(imageIndex_, 0, imageNumber_ - 1);
  const int64_t sx = static_cast<int64_t>(index) * imageSize_;
  if (sx >= src.width) return;
  const int32_t sw = std::min(imageSize_, src.width - static_cast<int32_t>(sx));
  const kv::Rect r = Bounds().MoveTo(origin);
  ge::GenScaleBitmap(target, Core::ToGeRect(clip), src, r.x1, r.y1, r.W(), r.H(), static_cast<int32_t>(sx), 0, sw,
                     src.height, true, op);
}

}  // namespace Views
