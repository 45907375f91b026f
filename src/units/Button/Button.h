// Button::Button: the plain button; the base of the skinned buttons, the
// check box, the spinners and the text field. It adds nothing to
// Button::ButtonClass.
#pragma once

#include "units/Button/ButtonClass.h"

namespace Button {

class Button : public ButtonClass {
  KV_CLASS(Button, Button, ButtonClass)
 public:
  Button() = default;
};

// Button::IconButton: the base of every menu item. With IsDefault set, the
// button shows the default look (control state 1) while it is neither
// focused nor disabled.
class IconButton : public Button {
  KV_CLASS(Button, IconButton, Button)
 public:
  IconButton() = default;

  void OnSetIsDefault(bool isDefault);
  bool OnGetIsDefault() { return isDefault_; }

  int32_t GetCtrlState() override;

 private:
  bool isDefault_ = false;
};

}  // namespace Button
