#include "units/Forms/ImageIndicator.h"

#include "ge/blit.h"
#include "units/Resources/Bitmap.h"

namespace Forms {

KV_REGISTER_CLASS(Forms::ImageIndicator);

void ImageIndicator::OnSetEnabledBitmap(Resources::Bitmap* bitmap) {
  if (bitmap == bitmap_.get()) return;
  bitmap_ = bitmap;
  if (enabled_) InvalidateView();
}

Resources::Bitmap* ImageIndicator::OnGetEnabledBitmap() { return bitmap_.get(); }

void ImageIndicator::OnSetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (bitmap_) InvalidateView();
}

void ImageIndicator::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  if (!enabled_ || !bitmap_ || !bitmap_->HasSurface()) return;
  const ge::Surface src = bitmap_->GetSurface();
  ge::GenScaleBitmap(target, Core::ToGeRect(clip), src, origin.x, origin.y, Bounds().W(), Bounds().H(), 0, 0,
                     src.width, src.height, true, static_cast<uint8_t>(opacity));
}

}  // namespace Forms
