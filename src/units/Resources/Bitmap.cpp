#include "units/Resources/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "ge/blit.h"
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
  scaled_.clear();
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

namespace {

// True when the pixels of `a` and `b` (of one size) are the same.
bool SamePixels(const ge::Surface& a, const ge::Surface& b) {
  const size_t bytes = sizeof(uint32_t) * static_cast<size_t>(a.width);
  for (int32_t y = 0; y < a.height; ++y)
    if (std::memcmp(a.Row(y), b.Row(y), bytes) != 0) return false;
  return true;
}

}  // namespace

ge::Surface Bitmap::GetScaledFrame(int32_t frame, int32_t w, int32_t h) const {
  const ge::Surface src = GetFrameSurface(frame);
  if (!src.pixels || w <= 0 || h <= 0) return {};
  if (int64_t{w} * h + int64_t{src.width} * src.height > kMaxScaledPixels) return {};
  frame = std::clamp(frame, 0, frames_ - 1);
  // The frame's pixels may have been drawn into since a copy was made (a
  // canvas, resources drawn again): a copy counts only while the frame it
  // was made from is unchanged.
  for (size_t i = 0; i < scaled_.size(); ++i) {
    Scaled& s = scaled_[i];
    if (s.frame != frame || s.pixels.Width() != w || s.pixels.Height() != h) continue;
    if (s.source.Width() == src.width && s.source.Height() == src.height && SamePixels(s.source.View(), src)) {
      std::rotate(scaled_.begin(), scaled_.begin() + static_cast<std::ptrdiff_t>(i),
                  scaled_.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      return scaled_.front().pixels.View();
    }
    scaled_.erase(scaled_.begin() + static_cast<std::ptrdiff_t>(i));
    break;
  }
  Scaled made{frame, ge::Bitmap(src.width, src.height), ge::Bitmap(w, h)};
  const ge::Surface source = made.source.View(), scaled = made.pixels.View();
  ge::GenCopyBitmap(source, source.Bounds(), src, 0, 0, 0, 0, src.width, src.height);
  // Copied, not blended, into transparent pixels: exactly the pixels the
  // stretch takes from the frame.
  ge::GenScaleBitmap(scaled, scaled.Bounds(), src, 0, 0, w, h, 0, 0, src.width, src.height, false, 255);
  // Like the bitmap's own pixels, the copies count towards the next collection.
  kv::ReportExternalAllocation(static_cast<size_t>(int64_t{w} * h + int64_t{src.width} * src.height) * 4);
  if (scaled_.size() >= kScaledKept) scaled_.pop_back();
  scaled_.insert(scaled_.begin(), std::move(made));
  return scaled_.front().pixels.View();
}

void Bitmap::ReleasePixels() {
  pixels_ = ge::Bitmap();
  scaled_.clear();
}

}  // namespace Resources
