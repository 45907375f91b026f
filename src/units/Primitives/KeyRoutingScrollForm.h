// Primitives::KeyRoutingScrollForm: a screen whose controls may lie beyond
// its page area (long menu pages). With AutoScroll set, focusing a control
// moves the scrolling children so that the control lies inside the page.
#pragma once

#include <cstdint>

#include "runtime/geometry.h"
#include "units/Primitives/KeyRoutingForm.h"

namespace Primitives {

class KeyRoutingScrollForm : public KeyRoutingForm {
  KV_CLASS(Primitives, KeyRoutingScrollForm, KeyRoutingForm)
 public:
  KeyRoutingScrollForm() = default;

  // Setting it scrolls the focused control into view at once.
  void OnSetAutoScroll(bool on);
  bool OnGetAutoScroll() const { return AutoScroll; }

  // Focuses as Core::Group does, then scrolls the new focus into view when
  // AutoScroll is set.
  void OnSetFocus(Core::View* view) override;

  // Moves every child that IsExcluded does not exclude by (dx, dy).
  virtual void DoScrollContent(int32_t dx, int32_t dy);
  // Scrolls the content the least distance that brings the focused control
  // inside GetPageArea (as far as it fits). Nothing without a focus.
  void ScrollFocusIntoView();

  // Children that stay in place while the content scrolls; the base keeps
  // every view that is not a control (backgrounds, captions, indicators).
  virtual bool IsExcluded(Core::View* view);
  // The area, in the form's own coordinates, in which the focused control
  // is kept; the base answers the whole form.
  virtual kv::Rect GetPageArea();

  bool AutoScroll = false;
};

}  // namespace Primitives
