#include "units/Effects/Int32Effect.h"

#include <cmath>

namespace Effects {

KV_REGISTER_CLASS(Effects::Int32Effect);

int32_t Int32Effect::GetValueAt(int32_t frame) const {
  const double p = Progress(frame);
  if (p >= 1.0) return end_;
  const double delta = static_cast<double>(end_) - static_cast<double>(start_);
  return static_cast<int32_t>(static_cast<double>(start_) + std::round(delta * p));
}

void Int32Effect::ApplyFrame(int32_t frame) { outlet_.Set(GetValueAt(frame)); }

}  // namespace Effects
