#include "units/Resources/Bitmap.h"

#include <algorithm>
#include <string>

#include "runtime/collector.h"
#include "runtime/trace.h"

namespace Resources {

KV_REGISTER_CLASS(Bitmap);

void Bitmap::OnSetSize(kv::Point size) {
  if (size.x < 0 || size.y < 0) {
    kv::Log("Resources::Bitmap: negative size " + std::to_string(size.x) + " x " + std::to_string(size.y) +
            " counts as 0");
    size.x = std::max(size.x, 0);
    size.y = std::max(size.y, 0);
  }
  pixels_ = ge::Bitmap(size.x, size.y);
  opaque_ = false;
  // The pixels count towards the next collection like object memory.
  kv::ReportExternalAllocation(static_cast<size_t>(size.x) * static_cast<size_t>(size.y) * 4);
  width_ = size.x;
  height_ = size.y;
}

void Bitmap::OnSetNoOfFrames(int32_t frames) {
  if (frames < 1) {
    kv::Log("Resources::Bitmap: " + std::to_string(frames) + " frames counts as 1");
    frames = 1;
  }
  frames_ = frames;
}

ge::Surface Bitmap::GetFrameSurface(int32_t frame) const {
  ge::Surface s = GetSurface();
  if (!s.pixels) return s;
  const int32_t fw = std::min(width_ / frames_, s.width);
  frame = std::clamp(frame, 0, frames_ - 1);
  if (fw <= 0) return ge::Surface{};
  s.pixels += static_cast<std::ptrdiff_t>(frame) * fw;
  s.width = fw;
  return s;
}

void Bitmap::ReleasePixels() { pixels_ = ge::Bitmap(); }

}  // namespace Resources
