#include "units/Button/NumberSpinner.h"

#include <algorithm>

#include "keys/keycodes.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Views/Align.h"

namespace Button {

using namespace keys;

KV_REGISTER_CLASS(NumberSpinner);

namespace {
int32_t DecimalDigits(int32_t value) {
  int32_t n = 1;
  for (int64_t v = value < 0 ? -int64_t{value} : value; v >= 10; v /= 10) ++n;
  return n;
}
int32_t Saturate(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }
}  // namespace

NumberSpinner::NumberSpinner() {
  verifyTimer_.OnSetBegin(kVerifyTime);
  verifyTimer_.OnSetPeriod(0);
  verifyTimer_.OnTrigger = kv::MakeSlot(this, &NumberSpinner::VerifySlot);
  OnSetTextAlignH(Views::ALIGN_CENTER);
  ShowCurrent();
}

kv::String NumberSpinner::FormatValue(int32_t value) const {
  return kv::NewStringInt(value, hasLeadingZeros_ ? DecimalDigits(maximum_) : 0);
}

void NumberSpinner::ShowCurrent() { OnSetText(FormatValue(current_)); }

void NumberSpinner::OnSetCurrent(int32_t value) {
  if (value > maximum_)
    value = wrapAround_ ? minimum_ : maximum_;
  else if (value < minimum_ && (wrapAround_ || !typing_))
    value = wrapAround_ ? maximum_ : minimum_;
  current_ = value;
  ShowCurrent();
}

void NumberSpinner::OnSetMaximum(int32_t maximum) {
  if (maximum > kMaximumLimit || maximum < minimum_) {
    Core::LogError("Button::NumberSpinner: maximum %i outside %i..%i", {maximum, minimum_, kMaximumLimit});
    maximum = std::clamp(maximum, minimum_, kMaximumLimit);
  }
  maximum_ = maximum;
  KeepInRange();
}

void NumberSpinner::OnSetMinimum(int32_t minimum) {
  if (minimum > kMaximumLimit) {
    Core::LogError("Button::NumberSpinner: minimum %i above %i", {minimum, kMaximumLimit});
    minimum = kMaximumLimit;
  }
  minimum_ = minimum;
  maximum_ = std::max(maximum_, minimum_);
  KeepInRange();
}

void NumberSpinner::KeepInRange() {
  current_ = std::clamp(current_, minimum_, maximum_);
  ShowCurrent();
}

void NumberSpinner::OnSetHasLeadingZeros(bool on) {
  hasLeadingZeros_ = on;
  ShowCurrent();
}

kv::Object* NumberSpinner::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down) {
    typing_ = false;
    const uint16_t code = key->Code;
    if (code != KEY_NONE && (code == increaseKey_ || code == decreaseKey_)) {
      OnSetCurrent(Saturate(int64_t{current_} + (code == increaseKey_ ? step_ : -int64_t{step_})));
      kv::Signal(OnValueChange, this);
      return this;
    }
    if (IsDigitKey(code)) {
      processDigit(code - KEY_0);
      return this;
    }
  }
  return Button::HandleEvent(event);
}

void NumberSpinner::processDigit(int32_t digit) {
  if (digit < 0 || digit > 9) {
    Core::LogError("Button::NumberSpinner: %i is not a digit", {digit});
    return;
  }
  typing_ = true;
  int32_t value = digit;
  if (IsVerifyRunning()) {
    const int64_t appended = int64_t{current_} * 10 + digit;
    if (appended <= maximum_) value = static_cast<int32_t>(appended);
  }
  OnSetCurrent(value);
  kv::Signal(OnValueChange, this);
  RestartVerifyTimer();
}

void NumberSpinner::VerifySlot(kv::Object* /*sender*/) {
  typing_ = false;
  if (current_ >= minimum_ && current_ <= maximum_) return;
  OnSetCurrent(defaultValue_);
  kv::Signal(OnValueChange, this);
}

}  // namespace Button
