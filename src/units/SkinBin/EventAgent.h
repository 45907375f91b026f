// SkinBin::EventAgent: the skin's event agent. It decides which kept events
// it may take (CheckHandle) and which of those it must still leave unhandled
// for the other receivers (KeepEventUnhandled).
//
// CheckHandle refuses:
//   - a null event, or any event while the agent is not wired to the
//     Wrapper and the message agent (the application root does that);
//   - an event that is already handled;
//   - a channel-acquired or source-acquired event while a screen is in
//     operation (IsScreenInOperation): that screen reacts to it itself;
//   - a cached-message event that carries no message.
// Every other event is accepted.
//
// KeepEventUnhandled says yes for an acquisition event of a window other
// than the main one (the sub-picture screens need it) and for an acquisition
// event while a menu page is open (the pages that show the picture's state
// need it); else no.
#pragma once

#include <cstdint>

#include "units/Agent/EventAgent.h"

namespace Core {
class Event;
}

namespace SkinBin {

class EventAgent : public Agent::EventAgent {
  KV_CLASS(SkinBin, EventAgent, Agent::EventAgent)
 public:
  EventAgent() = default;

  virtual bool CheckHandle(Core::Event* event);
  virtual bool KeepEventUnhandled(Core::Event* event);
  // True while a screen that reacts to acquisition events itself is in
  // operation. No such screen counts yet: the channel entry (while its
  // number is not tuned) and the information banner (while opened by the
  // info key) add themselves here.
  virtual bool IsScreenInOperation();

  // The event's handled flag; null for an event class without one.
  static uint8_t* HandledFlag(Core::Event* event);
};

}  // namespace SkinBin
