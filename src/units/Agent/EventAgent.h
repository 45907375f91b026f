// Agent::EventAgent: keeps the latest event of each kind (the picture's
// acquisition events above all) and hands the kept events to its handler
// when it processes them.
//
// The list is newest first. Inserting an event drops the kept event of the
// same class; a channel-acquired or source-acquired event instead drops
// every kept acquired event of either kind for the same window, so each
// window keeps its one latest acquisition event; a channel command's
// refusal (status 48) is not kept over an input's acquisition of its window,
// which it did not change. Events stay kept after
// processing: the acquisition status is read from them at any time.
#pragma once

#include <cstdint>

#include "runtime/auto_object.h"
#include "runtime/member.h"
#include "units/Structures/DuLinkList.h"

namespace Core {
class Event;
}

namespace Agent {

// Acquisition statuses of channel-acquired events.
inline constexpr int32_t CHANNEL_OK = 0;
inline constexpr int32_t CHANNEL_CHANNEL_LOCK = 4;
inline constexpr int32_t CHANNEL_RATING_LOCK = 5;
inline constexpr int32_t CHANNEL_NOT_AVAILABLE = 6;
inline constexpr int32_t CHANNEL_MAP_IS_EMPTY = 7;
inline constexpr int32_t OPERATION_NOT_AVAILABLE = 48;
// Acquisition statuses of source-acquired events.
inline constexpr int32_t SOURCE_OK = 16;
inline constexpr int32_t SOURCE_NO_SIGNAL = 17;
inline constexpr int32_t SOURCE_RATING_LOCK = 20;
inline constexpr int32_t SOURCE_SOURCE_LOCK = 23;
// GetMainWindowAcquiredStatus while no acquisition event of the main window
// is kept (the value of CHANNEL_OK: callers that need to tell the two apart
// ask GetMainWindowAcquiredEvent).
inline constexpr int32_t ACQUIRED_STATUS_NONE = 0;

class EventAgent : public Structures::DuLinkList {
  KV_CLASS(Agent, EventAgent, Structures::DuLinkList)
 public:
  EventAgent() = default;

  // Keeps `event` (see above); null is refused with a logged error.
  void InsertEvent(Core::Event* event);
  // Hands every kept event to HandleEvent, newest first. A slot.
  void ProcessEvents(kv::Object* sender = nullptr);
  // Runs ProcessEvents at the end of the pass. A slot.
  void PostProcessEvents(kv::Object* sender = nullptr);
  // Handles one kept event; answers non-zero when it is handled. The base
  // delivers the message of a USER_EVENT_CACHED_MESSAGE that is not handled
  // yet through the message agent (to the message's Target class when it
  // names one, else to every receiver) and marks the event handled; it
  // leaves every other event alone.
  virtual int32_t HandleEvent(Core::Event* event);

  // The kept channel-acquired event of window 0, else the kept
  // source-acquired event of window 0, else null.
  Core::Event* GetMainWindowAcquiredEvent();
  // The status of that event; ACQUIRED_STATUS_NONE when there is none.
  int32_t GetMainWindowAcquiredStatus();
  // True when that event is a channel event with CHANNEL_OK or a source
  // event with SOURCE_OK.
  bool IsMainWindowSignalAcquired();
  // The window of a channel-acquired or source-acquired event; false for
  // other events.
  static bool AcquiredWindow(kv::Object* event, int32_t& window);

  // What the skin's event handling works with, set by the application root
  // at start: the Wrapper, the widget manager, the message agent and the
  // persistent application data.
  kv::Member<kv::Object> Wrapper;
  kv::Member<kv::Object> WidgetManager;
  kv::Member<kv::Object> MessageAgent;
  kv::Member<kv::Object> PersistentData;
};

}  // namespace Agent

KV_DECLARE_AUTO_OBJECT(MainApp, EventAgent);
