#include "units/Forms/Ctrl.h"

#include "units/Core/Group.h"

namespace Forms {

KV_REGISTER_CLASS(Forms::Ctrl);

void Ctrl::OnSetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  InvalidateView();
  if (!enabled && IsFocused()) Owner()->MoveFocusFrom(this);
}

void Ctrl::HandleFocus(bool /*focused*/) { InvalidateView(); }

}  // namespace Forms
