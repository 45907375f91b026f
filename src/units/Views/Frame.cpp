#include "units/Views/Frame.h"

#include <algorithm>

#include "ge/blit.h"
#include "units/Core/Log.h"
#include "units/Resources/Bitmap.h"
#include "units/Views/Align.h"

namespace Views {

KV_REGISTER_CLASS(Frame);

void Frame::OnSetBitmap(Resources::Bitmap* bitmap) {
  if (bitmap == bitmap_.get()) return;
  bitmap_ = bitmap;
  InvalidateView();
}

Resources::Bitmap* Frame::OnGetBitmap() { return bitmap_.get(); }

void Frame::OnSetFrameWidth(int32_t width) {
  if (width < 0) {
    Core::LogError("Views::Frame: frame width %i counts as 0", {width});
    width = 0;
  }
  if (width == frameWidth_) return;
  frameWidth_ = width;
  InvalidateView();
}

void Frame::OnSetOpacity(int32_t opacity) {
  if (opacity < 0 || opacity > 255) {
    Core::LogError("Views::Frame: opacity %i is outside 0..255", {opacity});
    opacity = std::clamp(opacity, 0, 255);
  }
  if (opacity == opacity_) return;
  opacity_ = opacity;
  InvalidateView();
}

void Frame::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  if (!bitmap_ || !bitmap_->HasSurface()) return;
  const uint8_t op = CombineOpacity(opacity_, opacity);
  if (op == 0) return;
  const ge::Surface src = bitmap_->GetFrameSurface(0);
  const int32_t w = Bounds().W(), h = Bounds().H();
  // Border sizes in the bitmap and on the screen, per axis.
  const int32_t sbx = std::min(frameWidth_, src.width / 2), sby = std::min(frameWidth_, src.height / 2);
  const int32_t dbx = std::min(sbx, w / 2), dby = std::min(sby, h / 2);
  const int32_t sx[4] = {0, sbx, src.width - sbx, src.width};
  const int32_t sy[4] = {0, sby, src.height - sby, src.height};
  const int32_t dx[4] = {origin.x, origin.x + dbx, origin.x + w - dbx, origin.x + w};
  const int32_t dy[4] = {origin.y, origin.y + dby, origin.y + h - dby, origin.y + h};
  ge::GenBlendNineSlice(target, Core::ToGeRect(clip), src, dx, dy, sx, sy, op);
}

}  // namespace Views
