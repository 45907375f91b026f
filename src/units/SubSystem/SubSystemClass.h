// SubSystem::SubSystemClass: the base of the sub-systems that open screens
// by state changes.
#pragma once

#include "units/Primitives/KeyRoutingGroup.h"

namespace Primitives {
class KeyRoutingForm;
}

namespace SubSystem {

class State;

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
};

}  // namespace SubSystem
