#include "units/Progress/ProgressClass.h"

#include <algorithm>
#include <cstdint>

#include "keys/keycodes.h"
#include "units/Core/Event.h"

namespace Progress {

using namespace keys;

KV_REGISTER_CLASS(Progress::ProgressClass);

kv::Object* ProgressClass::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Code != KEY_NONE && IsEnabled() && !readOnly_) {
    int32_t delta = 0;
    if (key->Code == increaseKey_)
      delta = step_;
    else if (key->Code == decreaseKey_)
      delta = -step_;
    else
      return KeyRoutingCtrl::HandleEvent(event);
    const int64_t next = static_cast<int64_t>(value_) + delta;
    OnSetValue(static_cast<int32_t>(std::clamp<int64_t>(next, INT32_MIN, INT32_MAX)));
    kv::Signal(OnValueChanged, this);
    return this;
  }
  return KeyRoutingCtrl::HandleEvent(event);
}

void ProgressClass::Refresh() { InvalidateView(); }

int32_t ProgressClass::Clamp(int32_t value) const {
  // Raised to Min first, then lowered to Max: with Min above Max, Max wins.
  if (value < min_) value = min_;
  if (value > max_) value = max_;
  return value;
}

void ProgressClass::OnSetValue(int32_t value) {
  value_ = Clamp(value);
  PostRefresh();
}

void ProgressClass::OnSetMin(int32_t min) {
  min_ = min;
  value_ = Clamp(value_);
  PostRefresh();
}

void ProgressClass::OnSetMax(int32_t max) {
  max_ = max;
  value_ = Clamp(value_);
  PostRefresh();
}

void ProgressClass::OnSetStretchIndicator(int32_t mode) {
  stretchIndicator_ = mode;
  PostRefresh();
}

double ProgressClass::GetFraction() const {
  if (max_ <= min_) return 0.0;
  return std::clamp(static_cast<double>(value_ - min_) / static_cast<double>(max_ - min_), 0.0, 1.0);
}

void ProgressClass::PostRefresh() { kv::PostSignal(kv::MakeSlot(this, &ProgressClass::RefreshSlot)); }

void ProgressClass::RefreshSlot(kv::Object* /*sender*/) { Refresh(); }

}  // namespace Progress
