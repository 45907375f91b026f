#include "units/Effects/Effect.h"

#include <algorithm>
#include <cmath>

#include "units/Core/Log.h"
#include "units/Core/Root.h"

namespace Effects {

KV_REGISTER_CLASS(Effects::Effect);

Effect::Effect() = default;

Effect::~Effect() { Count(false); }

int32_t Effect::RunningCount() { return Core::Root::RunningAnimations(); }

void Effect::Count(bool on) {
  if (on == counted_) return;
  counted_ = on;
  Core::Root::CountAnimation(on ? 1 : -1, standing_);
}

void Effect::OnSetStanding(bool standing) {
  if (standing == standing_) return;
  const bool counted = counted_;
  Count(false);
  standing_ = standing;
  Count(counted);
}

void Effect::OnSetNoOfFrames(int32_t frames) {
  if (frames < 1) {
    Core::LogError("Effects::Effect::OnSetNoOfFrames: %i frames; counted as 1", {frames});
    frames = 1;
  }
  frames_ = frames;
}

void Effect::OnSetFactor(int32_t factor) {
  if (factor < 1) {
    Core::LogError("Effects::Effect::OnSetFactor: factor %i; counted as 1", {factor});
    factor = 1;
  }
  factor_ = factor;
}

double Effect::Progress(int32_t frame) const {
  if (frame <= 0) return 0.0;
  if (frame >= frames_) return 1.0;
  const double rest = static_cast<double>(frames_ - frame) / frames_;
  return 1.0 - std::pow(rest, factor_);
}

void Effect::ApplyFrame(int32_t /*frame*/) {}

void Effect::Started() {
  current_ = 0;
  Count(true);
  ApplyFrame(0);
}

void Effect::Stopped() { Count(false); }

int64_t Effect::SchedulePeriod() const { return std::max<int64_t>(1, Core::Timer::SchedulePeriod()); }

void Effect::Trigger() {
  const uint32_t generation = Generation();
  current_ = std::min(current_ + 1, frames_);
  ApplyFrame(current_);
  kv::Signal(OnAnimate, this);
  // A handler that restarted or stopped the effect has taken over.
  if (Generation() != generation) return;
  Core::Timer::Trigger();
  if (Generation() != generation) return;
  if (current_ >= frames_) {
    OnSetEnabled(false);
    kv::Signal(OnFinished, this);
  }
}

}  // namespace Effects
