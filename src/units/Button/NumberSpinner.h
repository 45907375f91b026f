// Button::NumberSpinner: a number in [Minimum, Maximum] shown as text, stepped
// with IncreaseKey and DecreaseKey and typed with the digit keys.
//
// OnSetCurrent(v): a value inside the range is taken; above Maximum it
// becomes Minimum with WrapAround, else Maximum; below Minimum it becomes
// Maximum with WrapAround (also while typing), else it is kept while the user
// is typing (so that "0" can start "07") and becomes Minimum otherwise. The
// text is then rebuilt, with leading zeros up to the width of Maximum when
// HasLeadingZeros is set.
//
// Keys (key-down only; releases go on to the key-routing control): every key
// first clears the typing flag; IncreaseKey and DecreaseKey add or subtract
// Step and signal OnValueChange; the digit keys 10 to 19 call processDigit.
// Other keys go on to the key-routing control (OK signals OnActivate).
//
// Typing (the base processDigit): within the 3000 ms of the verify timer a
// digit is appended (value x 10 + digit) as long as the result stays within
// Maximum; otherwise it starts a new number. Each digit signals
// OnValueChange and restarts the one-shot verify timer. When the timer
// expires, a value outside the range is replaced by DefaultValue (and
// OnValueChange is signalled).
#pragma once

#include <cstdint>

#include "keys/keycodes.h"
#include "runtime/slot.h"
#include "units/Button/Button.h"
#include "units/Core/Timer.h"

namespace Button {

class NumberSpinner : public Button {
  KV_CLASS(Button, NumberSpinner, Button)
 public:
  static constexpr int32_t kVerifyTime = 3000;
  static constexpr int32_t kMaximumLimit = 9999;  // Maximum stays below 10000
  static constexpr uint16_t kDefaultIncreaseKey = keys::KEY_UP;
  static constexpr uint16_t kDefaultDecreaseKey = keys::KEY_DOWN;

  NumberSpinner();

  void OnSetCurrent(int32_t value);
  int32_t OnGetCurrent() { return current_; }
  // Keeps Maximum at least Minimum and at most kMaximumLimit (logged
  // otherwise); Current is brought into the new range.
  void OnSetMaximum(int32_t maximum);
  int32_t OnGetMaximum() { return maximum_; }
  // Minimum stays within kMaximumLimit; a Maximum below it is raised to it.
  void OnSetMinimum(int32_t minimum);
  int32_t OnGetMinimum() { return minimum_; }
  void OnSetStep(int32_t step) { step_ = step; }
  int32_t OnGetStep() { return step_; }
  void OnSetWrapAround(bool wrap) { wrapAround_ = wrap; }
  bool OnGetWrapAround() { return wrapAround_; }
  void OnSetHasLeadingZeros(bool on);
  bool OnGetHasLeadingZeros() { return hasLeadingZeros_; }
  void OnSetIncreaseKey(uint16_t key) { increaseKey_ = key; }
  uint16_t OnGetIncreaseKey() { return increaseKey_; }
  void OnSetDecreaseKey(uint16_t key) { decreaseKey_ = key; }
  uint16_t OnGetDecreaseKey() { return decreaseKey_; }
  void OnSetDefaultValue(int32_t value) { defaultValue_ = value; }
  int32_t OnGetDefaultValue() { return defaultValue_; }

  kv::Object* HandleEvent(Core::Event* event) override;
  // A typed digit (0 to 9).
  virtual void processDigit(int32_t digit);

  // Signalled (sender: the spinner) by the step keys, each typed digit and a
  // value replaced when the verify timer expires.
  kv::Slot OnValueChange;

 protected:
  bool IsTyping() const { return typing_; }
  void SetTyping(bool typing) { typing_ = typing; }
  bool IsVerifyRunning() const { return verifyTimer_.IsEnabled(); }
  // Starts the verify timer again from its full time.
  void RestartVerifyTimer() { verifyTimer_.Activate(); }
  // The text of a value: leading zeros to the width of Maximum when set.
  kv::String FormatValue(int32_t value) const;

 private:
  void VerifySlot(kv::Object* sender);
  // Brings Current into the range (no wrap) after a range change.
  void KeepInRange();
  void ShowCurrent();

  Core::Timer verifyTimer_;
  int32_t current_ = 0;
  int32_t minimum_ = 0;
  int32_t maximum_ = 0;
  int32_t step_ = 1;
  int32_t defaultValue_ = 0;
  uint16_t increaseKey_ = kDefaultIncreaseKey;
  uint16_t decreaseKey_ = kDefaultDecreaseKey;
  bool wrapAround_ = false;
  bool hasLeadingZeros_ = true;
  bool typing_ = false;
};

}  // namespace Button
