// SubSystem::SubSystemClass: the base of the sub-systems that open screens
// by state changes.
#pragma once

#include "units/Primitives/KeyRoutingGroup.h"

namespace Primitives {
class KeyRoutingForm;
}

namespace SubSystem {

class State;

// The screen a sub-system's ChangeState is initialising and opening (state
// changes nest), or a page of the menu putting its keys up, for the duration
// of that call only, else null: keys it puts up on the help bar then are its
// own, before it has the focus.
Primitives::KeyRoutingForm* OpeningScreen();
class OpeningScope {
 public:
  explicit OpeningScope(Primitives::KeyRoutingForm* form);
  ~OpeningScope();
  OpeningScope(const OpeningScope&) = delete;
  OpeningScope& operator=(const OpeningScope&) = delete;

 private:
  Primitives::KeyRoutingForm* outer_;
};

class SubSystemClass : public Primitives::KeyRoutingGroup {
  KV_CLASS(SubSystem, SubSystemClass, Primitives::KeyRoutingGroup)
 public:
  SubSystemClass() = default;

  // Finds the screen of a state change: the state's Instance, else a new
  // object of its Class; null (with a logged error) without a state or
  // class, or when the object is not a key-routing form. A screen of this
  // sub-system (its SubSystemClass is this object's class or an ancestor of
  // it) gets the state's PrevState and NextState where its own are unset
  // and this sub-system as its SubSystemInstance. A screen of another
  // sub-system is stored in the state's Instance and handed over with
  // MSG_CHANGE_STATE (object parameter: the state) through the message agent
  // to that sub-system class. Answers the screen. The base neither
  // initialises, places nor opens it: the sub-systems that override it do.
  virtual Primitives::KeyRoutingForm* ChangeState(State* state);

 protected:
  // The start and end of a sub-system that covers the whole screen and takes
  // the message agent's messages (menus, screens outside the menu, factory
  // screens): the base's, then the screen's bounds and the registration.
  void InitializeOnScreen(Primitives::KeyRoutingParameter* param);
  void CloseOnScreen();
};

}  // namespace SubSystem
