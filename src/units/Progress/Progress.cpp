#include "units/Progress/Progress.h"

#include <algorithm>
#include <cmath>

#include "ge/blit.h"
#include "units/Resources/Bitmap.h"

namespace Progress {

KV_REGISTER_CLASS(Progress::Progress);

void Progress::OnSetBgImageBitmap(Resources::Bitmap* bitmap) {
  bgBitmap_ = bitmap;
  PostRefresh();
}

void Progress::OnSetIndicatorImageBitmap(Resources::Bitmap* bitmap) {
  indicatorBitmap_ = bitmap;
  PostRefresh();
}

void Progress::OnSetIndicatorTopLeft(kv::Point offset) {
  topLeft_ = offset;
  PostRefresh();
}

void Progress::OnSetIndicatorBottomRight(kv::Point offset) {
  bottomRight_ = offset;
  PostRefresh();
}

void Progress::OnSetVertical(bool vertical) {
  vertical_ = vertical;
  OnSetIncreaseKey(vertical ? kVerticalIncreaseKey : kDefaultIncreaseKey);
  OnSetDecreaseKey(vertical ? kVerticalDecreaseKey : kDefaultDecreaseKey);
  PostRefresh();
}

kv::Rect Progress::GetIndicatorRect() const {
  if (!indicatorBitmap_) return {};
  const kv::Rect b = Bounds();
  const kv::Rect area{topLeft_.x, topLeft_.y, b.W() - bottomRight_.x, b.H() - bottomRight_.y};
  if (area.IsEmpty()) return {};
  const double f = GetFraction();
  const kv::Point size = indicatorBitmap_->GetFrameSize();
  if (OnGetStretchIndicator() == kIndicatorStretch) {
    if (vertical_) {
      const int32_t h = static_cast<int32_t>(std::lround(area.H() * f));
      return {area.x1, area.y2 - h, area.x2, area.y2};
    }
    const int32_t w = static_cast<int32_t>(std::lround(area.W() * f));
    return {area.x1, area.y1, area.x1 + w, area.y2};
  }
  if (vertical_) {
    const int32_t y = area.y1 + static_cast<int32_t>(std::lround((area.H() - size.y) * (1.0 - f)));
    return {area.x1, y, area.x1 + size.x, y + size.y};
  }
  const int32_t x = area.x1 + static_cast<int32_t>(std::lround((area.W() - size.x) * f));
  return {x, area.y1, x + size.x, area.y1 + size.y};
}

namespace {
void DrawStretched(const ge::Surface& target, const kv::Rect& clip, Resources::Bitmap* bitmap, const kv::Rect& at,
                   int32_t opacity) {
  if (!bitmap || !bitmap->HasSurface() || at.IsEmpty()) return;
  const ge::Surface src = bitmap->GetFrameSurface(0);
  ge::GenScaleBitmap(target, Core::ToGeRect(clip), src, at.x1, at.y1, at.W(), at.H(), 0, 0, src.width, src.height,
                     true, static_cast<uint8_t>(opacity));
}

// A fill stretched along a horizontal bar keeps its ends: the left and the
// right half of the bitmap, scaled to the fill's height, stand at the two
// ends and only the bitmap's middle column is stretched between them, so
// that round ends stay round and the rim does not smear into bands.
void DrawFill(const ge::Surface& target, const kv::Rect& clip, Resources::Bitmap* bitmap, const kv::Rect& at,
              int32_t opacity) {
  if (!bitmap || !bitmap->HasSurface() || at.IsEmpty()) return;
  const ge::Surface src = bitmap->GetFrameSurface(0);
  if (src.width < 3 || src.height < 1) return DrawStretched(target, clip, bitmap, at, opacity);
  const int32_t half = src.width / 2;
  const int32_t cap = std::min(at.W() / 2, static_cast<int32_t>(std::lround(1.0 * half * at.H() / src.height)));
  const int32_t dx[4] = {at.x1, at.x1 + cap, at.x2 - cap, at.x2};
  const int32_t dy[4] = {at.y1, at.y1, at.y2, at.y2};
  const int32_t sx[4] = {0, half, half + 1, src.width};
  const int32_t sy[4] = {0, 0, src.height, src.height};
  ge::GenBlendNineSlice(target, Core::ToGeRect(clip), src, dx, dy, sx, sy, static_cast<uint8_t>(opacity));
}
}  // namespace

void Progress::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  DrawStretched(target, clip, bgBitmap_, Bounds().MoveTo(origin), opacity);
  if (OnGetStretchIndicator() == kIndicatorStretch && !vertical_)
    DrawFill(target, clip, indicatorBitmap_, GetIndicatorRect().Move(origin), opacity);
  else
    DrawStretched(target, clip, indicatorBitmap_, GetIndicatorRect().Move(origin), opacity);
}

}  // namespace Progress
