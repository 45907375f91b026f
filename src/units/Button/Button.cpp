#include "units/Button/Button.h"

namespace Button {

KV_REGISTER_CLASS(Button);
KV_REGISTER_CLASS(IconButton);

void IconButton::OnSetIsDefault(bool isDefault) {
  isDefault_ = isDefault;
  PostRefreshCtrlState();
}

int32_t IconButton::GetCtrlState() {
  const int32_t state = Button::GetCtrlState();
  return (isDefault_ && state == kStateNonfocused) ? kStateDefault : state;
}

}  // namespace Button
