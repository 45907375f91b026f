// Primitives::KeyRoutingForm: the base of every screen and menu page.
//
// A screen is opened into its Parent (a sub-system or another form) and
// closed out of it. While open it may be modal (keys go to it first) and
// may time out: TimeOutValue ms after Open, or after the last ResetTimeout,
// the embedded one-shot timer runs TimeOutSlot, which signals OnTimeOut.
// TimeOutValue 0 means the screen never times out.
#pragma once

#include <cstdint>

#include "runtime/geometry.h"
#include "runtime/member.h"
#include "runtime/object.h"
#include "runtime/slot.h"
#include "units/Core/Timer.h"
#include "units/Forms/Form.h"

namespace Core {
class Event;
class Group;
}  // namespace Core
namespace Structures {
class Message;
}

namespace Primitives {

class KeyRoutingParameter;

// Default time-out of a screen, in milliseconds.
inline constexpr int32_t kDefaultTimeOut = 10000;

class KeyRoutingForm : public Forms::Form {
  KV_CLASS(Primitives, KeyRoutingForm, Forms::Form)
 public:
  KeyRoutingForm();

  // Start-up of the screen; the parameter's owner (when it is a group)
  // becomes the Parent. A null parameter changes nothing.
  virtual void Initialize(KeyRoutingParameter* param);
  // Redraws the screen's contents from its state; the base invalidates it.
  virtual void Refresh();
  // Adds the screen to its Parent, begins modality when IsModal is set and
  // starts the time-out. Nothing without a Parent or when already open there.
  virtual void Open();
  // Stops the time-out, ends modality and removes the screen from its
  // Parent. Nothing when it is not open there.
  virtual void Close();
  // A message of the message agent; the base ignores it.
  virtual void HandleMessage(Structures::Message* msg);
  // The time-out timer's slot: signals OnTimeOut (an empty slot does nothing).
  virtual void TimeOutSlot(kv::Object* sender);
  // True while the screen reacts to the picture's acquisition events itself,
  // so that the event agent holds them back. The base: false.
  virtual bool HoldsAcquisition() { return false; }

  // Base key handling. The root's dispatch offers an event to the focused
  // child first and to the form after it (Core::Group::DispatchEvent does the
  // same for an event sent to the form directly); the base consumes nothing,
  // so keys a screen leaves go on to its owner. Answers the consumer, or null.
  kv::Object* HandleEvent(Core::Event* event) override;

  // Restarts the time-out while it runs; nothing when it is stopped.
  // Usable as a slot. Forms that time out together with others override it.
  virtual void ResetTimeout(kv::Object* sender = nullptr);
  // Starts (from TimeOutValue) or stops the time-out; TimeOutValue 0 never starts it.
  void SetTimeout(bool on);
  bool IsTimeoutRunning() const { return timeOutTimer_.IsEnabled(); }

  // Stores the time-out, makes it the timer's first delay and the timer
  // one-shot. A running time-out restarts with the new value (0 stops it).
  // Negative values are logged and count as 0.
  void OnSetTimeOutValue(int32_t ms);
  int32_t OnGetTimeOutValue() const { return TimeOutValue; }

  // True when the screen is a child of its Parent.
  bool IsOpen() const;

  // Window id: the group in the top byte (see Constants).
  uint32_t WinID = 0;
  // Layer: one bit (see Constants); the widget manager keeps one open screen per layer.
  uint32_t Layer = 0;
  // Non-zero: Open makes the screen the root's modal group.
  uint8_t IsModal = 0;
  // Where Open adds the screen.
  kv::Member<Core::Group> Parent;
  // The screen Back returns to, and the screen that follows.
  const kv::Class* PrevState = nullptr;
  const kv::Class* NextState = nullptr;
  // The integer parameter handed to NextState.
  int32_t NextStateParam = 0;
  // Class of the sub-system that owns the screen, and its instance once opened.
  const kv::Class* SubSystemClass = nullptr;
  kv::Member<kv::Object> SubSystemInstance;
  // Sub-systems give the screen the focus when they open it only when set.
  bool FocusOnOpen = true;
  // Sub-systems give the screen the focus even while another one holds it.
  bool PreemptiveFocus = false;
  // Where the owning sub-system places the screen when it opens it.
  kv::Point OpenPosition;
  // Time-out in ms (0: none); set it through OnSetTimeOutValue.
  int32_t TimeOutValue = kDefaultTimeOut;
  // Signalled by TimeOutSlot when the time-out expires.
  kv::Slot OnTimeOut;

 protected:
  Core::Timer timeOutTimer_;
};

}  // namespace Primitives
