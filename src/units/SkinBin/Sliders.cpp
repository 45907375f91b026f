#include "units/SkinBin/Sliders.h"

#include <algorithm>

#include "ge/fill.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Resources/Bitmap.h"

namespace SkinBin {

KV_REGISTER_CLASS(SkinBin::Progress);
KV_REGISTER_CLASS(SkinBin::ProgressKXD);

namespace {
void SetDefaultLook(::Progress::Progress& p) {
  p.OnSetBgImageBitmap(Resources::LoadResource(Bitmaps::ProgressGroove));
  p.OnSetIndicatorImageBitmap(Resources::LoadResource(Bitmaps::ProgressIndicator));
}
}  // namespace

Progress::Progress() {
  SetDefaultLook(*this);
  OnSetValue(50);
}

void Progress::OnSetMarker(int32_t i, kv::Rect rect, bool shown) {
  if (i < 0 || i > 1) return;
  markers_[i] = rect;
  markerShown_[i] = shown;
  InvalidateView();
}

void Progress::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  ::Progress::Progress::Draw(target, clip, origin, opacity);
  const uint32_t a = ge::Mul8(255, static_cast<uint32_t>(std::clamp(opacity, 0, 255)));
  for (int32_t i = 0; i < 2; ++i) {
    if (!markerShown_[i]) continue;
    const kv::Rect m{markers_[i].x1 + origin.x, markers_[i].y1 + origin.y, markers_[i].x2 + origin.x,
                     markers_[i].y2 + origin.y};
    ge::GenBlendRect(target, Core::ToGeRect(clip), Core::ToGeRect(m), 0x00E6E2DEu | (a << 24));
  }
}

ProgressKXD::ProgressKXD() {
  SetDefaultLook(*this);
  OnSetStretchIndicator(::Progress::kIndicatorPosition);
}

}  // namespace SkinBin
