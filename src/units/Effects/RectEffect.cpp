#include "units/Effects/RectEffect.h"

#include <cmath>

namespace Effects {

KV_REGISTER_CLASS(Effects::RectEffect);

namespace {
int32_t Lerp(int32_t a, int32_t b, double p) {
  return static_cast<int32_t>(static_cast<double>(a) + std::round((static_cast<double>(b) - a) * p));
}
}  // namespace

kv::Rect RectEffect::GetRectAt(int32_t frame) const {
  const double p = Progress(frame);
  if (p >= 1.0) return end_;
  return {Lerp(start_.x1, end_.x1, p), Lerp(start_.y1, end_.y1, p), Lerp(start_.x2, end_.x2, p),
          Lerp(start_.y2, end_.y2, p)};
}

void RectEffect::ApplyFrame(int32_t frame) { outlet_.Set(GetRectAt(frame)); }

}  // namespace Effects
