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
// HandleEvent (EventAgentRules.cpp) takes, in this order:
//   channel acquired   of the channel in tune: posted to the non-menu
//                      sub-system as a cached event (MSG_EVENT_CACHED)
//   source acquired    a 576-line picture of content type 6 counts as an
//                      invalid format (18); an HDMI or DVI input's failure
//                      stays unhandled, and clears every screen while the
//                      input is AV-muted; of the current input: posted
//   rating region updated   the region is kept in the persistent data
//   timer wake-up      the wake-up is taken note of
//   cable on/off       a new medium is set and tuned
//   last channel       back to the remembered channel, else the last
//                      channel, else the last input, else message type 4
//   update reminder, media inserted   posted
//   cached message     its message goes to its target class
// A fresh acquisition event of the main window ends the Wrapper's
// IsTuningChannel (the tuning it waited for is done); so the Last key and
// the cable switch, which are ignored while it is set, work again.
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
namespace kv {
struct Class;
}

namespace SkinBin {

class EventAgent : public Agent::EventAgent {
  KV_CLASS(SkinBin, EventAgent, Agent::EventAgent)
 public:
  EventAgent() = default;

  int32_t HandleEvent(Core::Event* event) override;
  virtual bool CheckHandle(Core::Event* event);
  virtual bool KeepEventUnhandled(Core::Event* event);
  // True while a screen that reacts to acquisition events itself is in
  // operation: an open channel entry whose number is not tuned, an open
  // information banner opened by the Info key, the channel browser (their
  // HoldsAcquisition). An
  // event held back then stays kept and unhandled; the channel entry has
  // the agent process its events again when its surfing ends.
  virtual bool IsScreenInOperation();

  // The event's handled flag; null for an event class without one.
  static uint8_t* HandledFlag(Core::Event* event);

 private:
  // MSG_EVENT_CACHED with the event, to NonMenuSystem::NonMenuSystem only.
  void PostCached(Core::Event* event);
  void DispatchMessage(int32_t code, int32_t intParam, const kv::Class* target);
  const kv::Class* NonMenuSystemClass() const;
};

}  // namespace SkinBin
