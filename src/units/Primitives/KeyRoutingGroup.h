// Primitives::KeyRoutingGroup: the base of the sub-systems (menu system,
// screens outside the menu, initial setup, factory mode). A sub-system is a
// group inside the application root that holds its open screens.
//
// A key-routing form added to a sub-system goes through the widget manager:
// open forms of the same layer close first and the new form is stacked
// behind the open form of the lowest higher layer; a form taken out leaves
// the widget manager's list.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/object.h"
#include "runtime/slot.h"
#include "units/Core/Group.h"
#include "units/Core/Timer.h"

namespace Structures {
class Message;
}

namespace Primitives {

class KeyRoutingParameter;

class KeyRoutingGroup : public Core::Group {
  KV_CLASS(Primitives, KeyRoutingGroup, Core::Group)
 public:
  KeyRoutingGroup();

  // The parameter's owner (when it is a group) becomes the Parent.
  virtual void Initialize(KeyRoutingParameter* param);
  // Adds the group to its Parent and starts the time-out; nothing without a
  // Parent or when already there.
  virtual void Open();
  // Stops the time-out and removes the group from its Parent; nothing when
  // it is not there.
  virtual void Close();
  // A message of the message agent; the base ignores it.
  virtual void HandleMessage(Structures::Message* msg);
  // The time-out timer's slot: signals OnTimeOut (an empty slot does nothing).
  virtual void TimeOutSlot(kv::Object* sender);
  // Consumes nothing: keys the screens leave go on to the root.
  kv::Object* HandleEvent(Core::Event* event) override;

  // Key-routing forms are inserted through the widget manager (see above);
  // other views are added as by Core::Group.
  void Add(Core::View* view, int32_t order = 0) override;
  void AddBehind(Core::View* view, Core::View* sibling) override;
  // A screen that held the keys and leaves (time-out, Back, Exit, standby,
  // a screen of its layer replacing it) hands them to the screen under it,
  // by this one rule rather than by each caller naming that screen.
  void Remove(Core::View* view) override;

  // Restarts the time-out while it runs; nothing when stopped. Usable as a slot.
  void ResetTimeout(kv::Object* sender = nullptr);
  // Starts (from TimeOutValue) or stops the time-out; 0 never starts it.
  void SetTimeout(bool on);
  bool IsTimeoutRunning() const { return timeOutTimer_.IsEnabled(); }
  // Stores the time-out (negative counts as 0) and reloads the one-shot timer.
  void OnSetTimeOutValue(int32_t ms);
  int32_t OnGetTimeOutValue() const { return TimeOutValue; }

  bool IsOpen() const { return Parent && Owner() == Parent.get(); }

  // Where Open adds the group.
  kv::Member<Core::Group> Parent;
  // Time-out in ms (0: none, the default); set it through OnSetTimeOutValue.
  int32_t TimeOutValue = 0;
  // Signalled by TimeOutSlot when the time-out expires.
  kv::Slot OnTimeOut;

 protected:
  Core::Timer timeOutTimer_;

 private:
  // Posted by Remove: once the pass is over, whatever replaces the screen
  // (the next step of a dialog, a page of the quick menu, the bar of a volume
  // key) has taken the keys, and nothing is done; else the frontmost open,
  // visible screen of the group that takes the keys when it opens
  // (FocusOnOpen) gets them.
  void KeysToScreenUnder(kv::Object* sender);
};

}  // namespace Primitives
