#include "units/Agent/EventAgent.h"

#include "runtime/slot.h"
#include "units/Agent/MessageAgent.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Events/USER_EVENT_CACHED_MESSAGE.h"
#include "units/Events/XPM_EVENT_CHANNEL_ACQUIRED.h"
#include "units/Events/XPM_EVENT_SOURCE_ACQUIRED.h"
#include "units/Structures/Message.h"


namespace Agent {

KV_REGISTER_CLASS(Agent::EventAgent);

bool EventAgent::AcquiredWindow(kv::Object* event, int32_t& window) {
  if (auto* ch = kv::Cast<Events::XPM_EVENT_CHANNEL_ACQUIRED>(event)) {
    window = ch->Window;
    return true;
  }
  if (auto* src = kv::Cast<Events::XPM_EVENT_SOURCE_ACQUIRED>(event)) {
    window = src->Window;
    return true;
  }
  return false;
}

void EventAgent::InsertEvent(Core::Event* event) {
  if (!event) {
    Core::LogError("Agent::EventAgent::InsertEvent: null event refused");
    return;
  }
  int32_t window = 0;
  const bool acquired = AcquiredWindow(event, window);
  // A channel command refused while the window shows an input (status 48,
  // sent with PIP on) changed nothing on that window: its input's
  // acquisition stays the one kept, so that its notice ("No signal") is
  // still found when the menu closes.
  auto* channel = kv::Cast<Events::XPM_EVENT_CHANNEL_ACQUIRED>(event);
  if (channel && channel->Status == OPERATION_NOT_AVAILABLE)
    for (kv::Object* kept : Snapshot()) {
      auto* source = kv::Cast<Events::XPM_EVENT_SOURCE_ACQUIRED>(kept);
      if (source && source->Window == window) return;
    }
  for (kv::Object* kept : Snapshot()) {
    int32_t keptWindow = 0;
    const bool replaced = acquired ? AcquiredWindow(kept, keptWindow) && keptWindow == window
                                   : kv::ClassOf(kept) == event->KvClass();
    if (replaced) Remove(kept);
  }
  Prepend(event);
}

void EventAgent::ProcessEvents(kv::Object* /*sender*/) {
  for (kv::Object* kept : Snapshot()) {
    auto* event = kv::Cast<Core::Event>(kept);
    if (event && Contains(event)) HandleEvent(event);
  }
}

void EventAgent::PostProcessEvents(kv::Object* /*sender*/) {
  kv::PostSignal(kv::MakeSlot(this, &EventAgent::ProcessEvents));
}

int32_t EventAgent::HandleEvent(Core::Event* event) {
  auto* cached = kv::Cast<Events::USER_EVENT_CACHED_MESSAGE>(event);
  if (!cached) return 0;
  if (cached->Handled) return cached->Handled;
  cached->Handled = 1;
  Structures::Message* msg = cached->Message.get();
  if (!msg) {
    Core::LogError("Agent::EventAgent: cached-message event without a message");
    return cached->Handled;
  }
  auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent);
  if (msg->Target)
    agent->DispatchTo(msg, msg->Target);
  else
    agent->Dispatch(msg);
  return cached->Handled;
}

Core::Event* EventAgent::GetMainWindowAcquiredEvent() {
  Core::Event* source = nullptr;
  for (kv::Object* kept : Snapshot()) {
    if (auto* ch = kv::Cast<Events::XPM_EVENT_CHANNEL_ACQUIRED>(kept)) {
      if (ch->Window == 0) return ch;
    } else if (auto* src = kv::Cast<Events::XPM_EVENT_SOURCE_ACQUIRED>(kept)) {
      if (src->Window == 0 && !source) source = src;
    }
  }
  return source;
}

int32_t EventAgent::GetMainWindowAcquiredStatus() {
  Core::Event* event = GetMainWindowAcquiredEvent();
  if (auto* ch = kv::Cast<Events::XPM_EVENT_CHANNEL_ACQUIRED>(event)) return ch->Status;
  if (auto* src = kv::Cast<Events::XPM_EVENT_SOURCE_ACQUIRED>(event)) return src->Status;
  return ACQUIRED_STATUS_NONE;
}

bool EventAgent::IsMainWindowSignalAcquired() {
  Core::Event* event = GetMainWindowAcquiredEvent();
  if (auto* ch = kv::Cast<Events::XPM_EVENT_CHANNEL_ACQUIRED>(event)) return ch->Status == CHANNEL_OK;
  if (auto* src = kv::Cast<Events::XPM_EVENT_SOURCE_ACQUIRED>(event)) return src->Status == SOURCE_OK;
  return false;
}

}  // namespace Agent
