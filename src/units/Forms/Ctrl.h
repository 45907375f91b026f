// Forms::Ctrl: a view that can take the focus of a form.
//
// A control takes the focus only while it is visible and enabled. A focused
// control that is disabled hands its owner's focus to the next focusable
// control among its siblings (then the previous one, else none).
#pragma once

#include <cstdint>

#include "units/Core/View.h"

namespace Forms {

class Ctrl : public Core::View {
  KV_CLASS(Forms, Ctrl, Core::View)
 public:
  Ctrl() = default;

  // A free number per control (buttons of a row carry their index in it).
  void OnSetTag(int32_t tag) { tag_ = tag; }
  int32_t OnGetTag() { return tag_; }

  virtual void OnSetEnabled(bool enabled);
  bool OnGetEnabled() { return enabled_; }
  bool IsEnabled() const { return enabled_; }

  bool CanFocus() const override { return IsVisible() && enabled_; }
  bool IsFocusableControl() const override { return CanFocus(); }

  // The controls' base focus handler: redraws the control, whose look
  // usually depends on the focus.
  void HandleFocus(bool focused) override;

 private:
  int32_t tag_ = 0;
  bool enabled_ = true;
};

}  // namespace Forms
