// Progress::ProgressClass: a slider control. Its value lies in [Min, Max];
// IncreaseKey and DecreaseKey step it by Step.
//
// A key event whose code is IncreaseKey (DecreaseKey) raises (lowers) Value by
// Step and signals OnValueChanged, also when the value is already at the end
// of its range; press and release are both taken (the down flag is not
// looked at). While the control is disabled or ReadOnly those keys, like
// every other event, go on to the key-routing control.
//
// OnSetValue stores the value clamped to the range and posts a Refresh; it
// does not signal OnValueChanged, so code that sets values never re-enters
// its own change handler.
#pragma once

#include <cstdint>

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "units/Primitives/KeyRoutingCtrl.h"

namespace Progress {

// Drawing modes of the indicator (StretchIndicator).
inline constexpr int32_t kIndicatorPosition = 1;  // the indicator moves to the value
inline constexpr int32_t kIndicatorStretch = 2;   // the indicator is stretched up to the value

class ProgressClass : public Primitives::KeyRoutingCtrl {
  KV_CLASS(Progress, ProgressClass, Primitives::KeyRoutingCtrl)
 public:
  static constexpr uint16_t kDefaultDecreaseKey = keys::KEY_LEFT;
  static constexpr uint16_t kDefaultIncreaseKey = keys::KEY_RIGHT;

  ProgressClass() = default;

  kv::Object* HandleEvent(Core::Event* event) override;

  // Redraws the slider from its state; the base invalidates it. Posted by
  // OnSetValue and the range setters.
  virtual void Refresh();

  // Stores v raised to Min, then lowered to Max, and posts a Refresh. No signal.
  virtual void OnSetValue(int32_t value);
  int32_t OnGetValue() { return value_; }
  // The range setters keep Value inside the new range (same rule as OnSetValue).
  void OnSetMin(int32_t min);
  int32_t OnGetMin() { return min_; }
  void OnSetMax(int32_t max);
  int32_t OnGetMax() { return max_; }
  void OnSetStep(int32_t step) { step_ = step; }
  int32_t OnGetStep() { return step_; }
  void OnSetIncreaseKey(uint16_t key) { increaseKey_ = key; }
  uint16_t OnGetIncreaseKey() const { return increaseKey_; }
  void OnSetDecreaseKey(uint16_t key) { decreaseKey_ = key; }
  uint16_t OnGetDecreaseKey() const { return decreaseKey_; }
  void OnSetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool OnGetReadOnly() const { return readOnly_; }
  // kIndicatorPosition or kIndicatorStretch; other values draw as position.
  virtual void OnSetStretchIndicator(int32_t mode);
  int32_t OnGetStretchIndicator() const { return stretchIndicator_; }

  // Where Value lies in the range, 0.0 at Min and 1.0 at Max (0.0 for an empty range).
  double GetFraction() const;

  // Signalled (sender: the slider) after every handled increase or decrease key.
  kv::Slot OnValueChanged;

 protected:
  // Posts Refresh to the end of the pass (several changes refresh once).
  void PostRefresh();

 private:
  void RefreshSlot(kv::Object* sender);
  int32_t Clamp(int32_t value) const;

  int32_t min_ = 0;
  int32_t max_ = 100;
  int32_t value_ = 0;
  int32_t step_ = 1;
  uint16_t decreaseKey_ = kDefaultDecreaseKey;
  uint16_t increaseKey_ = kDefaultIncreaseKey;
  bool readOnly_ = false;
  int32_t stretchIndicator_ = kIndicatorPosition;
};

}  // namespace Progress
