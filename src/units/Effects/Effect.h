// Effects::Effect: a timer that runs a fixed number of frames.
//
// Each expiry of the timer (every Period ms after Begin) is one frame; the
// frame counter runs from 1 to NoOfFrames. Enabling the effect restarts it at
// frame 0, the start state. At each frame the derived class writes its
// outlet, then OnAnimate is signalled; after the last frame the effect
// disables itself and signals OnFinished (not when it is disabled earlier).
// A period of 0 counts as 1 ms: effects never run one-shot, and a 1 ms
// effect advances one frame per GUI loop pass.
//
// Progress along the effect follows an ease-out curve with exponent Factor:
//   t = frame / NoOfFrames,  progress = 1 - (1 - t)^Factor
// Factor 1 is linear; the menus' Factor 2 covers 11/36 of the way in the
// first of six frames and slows towards the end.
//
// While enabled an effect counts as a running animation (RunningCount), which
// the root reports to the loop so that it waits only briefly between passes.
#pragma once

#include <cstdint>

#include "runtime/slot.h"
#include "units/Core/Timer.h"

namespace Effects {

class Effect : public Core::Timer {
  KV_CLASS(Effects, Effect, Core::Timer)
 public:
  Effect();
  ~Effect() override;

  // Number of frames, at least 1 (smaller values are logged and count as 1).
  void OnSetNoOfFrames(int32_t frames);
  int32_t OnGetNoOfFrames() { return frames_; }
  // Exponent of the ease-out curve, at least 1 (smaller values are logged).
  void OnSetFactor(int32_t factor);
  int32_t OnGetFactor() { return factor_; }
  // The last frame shown: 0 after enabling, NoOfFrames at the end.
  int32_t OnGetCurrentFrame() { return current_; }

  // Progress of a frame on the curve: 0.0 at frame 0, exactly 1.0 at NoOfFrames.
  double Progress(int32_t frame) const;

  // Signalled after each frame was written (sender: the effect).
  kv::Slot OnAnimate;
  // Signalled after the last frame.
  kv::Slot OnFinished;

  void Trigger() override;

  // Number of enabled effects.
  static int32_t RunningCount();

  // A standing effect repeats for as long as its screen stays (a logo that
  // fades out and in again): it keeps the loop's wait short but never makes
  // the picture a passing one (Root::IsTransitionRunning).
  void OnSetStanding(bool standing);
  bool OnGetStanding() const { return standing_; }

 protected:
  // Writes the state of `frame` (0: the start) to the outlet.
  virtual void ApplyFrame(int32_t frame);
  void Started() override;
  void Stopped() override;
  int64_t SchedulePeriod() const override;

 private:
  void Count(bool running);

  int32_t frames_ = 10;
  int32_t factor_ = 1;
  int32_t current_ = 0;
  bool counted_ = false;
  bool standing_ = false;
};

}  // namespace Effects
