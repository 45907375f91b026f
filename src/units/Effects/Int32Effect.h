// Effects::Int32Effect: animates an int32 property from StartValue (default
// 0) to EndValue (default 255), writing it through the outlet reference at
// every frame. Frame k of N writes StartValue + (EndValue - StartValue) *
// progress(k), rounded to the nearest integer; frame N writes EndValue exactly.
#pragma once

#include <cstdint>

#include "runtime/ref.h"
#include "units/Effects/Effect.h"

namespace Effects {

class Int32Effect : public Effect {
  KV_CLASS(Effects, Int32Effect, Effect)
 public:
  Int32Effect() = default;

  void OnSetStartValue(int32_t value) { start_ = value; }
  int32_t OnGetStartValue() { return start_; }
  void OnSetEndValue(int32_t value) { end_ = value; }
  int32_t OnGetEndValue() { return end_; }
  // The property written at every frame (a null reference writes nothing).
  void OnSetOutlet(const kv::RefInt32& outlet) { outlet_ = outlet; }
  kv::RefInt32 OnGetOutlet() { return outlet_; }

  // The value of a frame (0: StartValue, NoOfFrames: EndValue).
  int32_t GetValueAt(int32_t frame) const;

 protected:
  void ApplyFrame(int32_t frame) override;

 private:
  kv::RefInt32 outlet_;
  int32_t start_ = 0;
  int32_t end_ = 255;
};

}  // namespace Effects
