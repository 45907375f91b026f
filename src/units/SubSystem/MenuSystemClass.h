// SubSystem::MenuSystemClass: the base of the menu sub-system, which
// remembers the focused item of each menu level.
#pragma once

#include <cstdint>

#include "units/SubSystem/SubSystemClass.h"

namespace Primitives {
class KeyRoutingForm;
}

namespace SubSystem {

class MenuSystemClass : public SubSystemClass {
  KV_CLASS(SubSystem, MenuSystemClass, SubSystemClass)
 public:
  MenuSystemClass() = default;

  // Remember and read the 1-based focused item of a menu level. The base
  // remembers nothing and answers 1 (the first item).
  virtual void SetMenuIndex(int32_t level, int32_t index);
  virtual int32_t GetMenuIndex(int32_t level);
  // A menu page timed out (sender: the page). The base closes the menu
  // layers (Constants::LAYER_MASK_MENU) through the widget manager.
  virtual void MenuTimeout(kv::Object* sender = nullptr);
  // A key was handled in one of the menu's forms (sender: the form): the
  // menu times out as a whole, so every open form whose time-out runs
  // starts it again.
  virtual void RestartTimeOuts(kv::Object* sender = nullptr);
  // True while `form`, a form of the menu, stands hidden behind a screen
  // opened from the menu that is still open: the viewer is using it, so the
  // form's time-out does not take the menu down (the screen's own time-out,
  // Back or Exit ends it). The base: false.
  virtual bool HiddenBehindScreen(const Primitives::KeyRoutingForm* form) const;
};

}  // namespace SubSystem
