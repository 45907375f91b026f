// Feeds arbitrary process commands of the system manager (the input is the
// command record, zero-padded or cut to its size) through the command task's
// routing and, for a user event, through the event table with exactly the
// bytes the task posts.
//
// What must hold: no crash or sanitizer report; id 0 and ids past the last
// are refused with a log line; a user event carries the record up to the data
// it uses, never more than the record; the cable event carries the command's
// parameter; an id without an event class is logged and builds nothing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_runtime.h"
#include "host/command_route.h"
#include "host/host_events.h"
#include "platform/events/event_factory.h"
#include "platform/tvsm/tvsm.h"
#include "platform/xpm/xpm_event_ids.h"
#include "units/Events/EventFactories.h"
#include "units/Events/USER_EVENT_CABLE_ON_OFF.h"

using fuzzrt::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzrt::Start();
  static const bool registered = [] {
    host::RegisterHostEvents();
    Events::RegisterAll();
    return true;
  }();
  (void)registered;

  TVSM_Command cmd;
  std::memset(&cmd, 0, sizeof cmd);
  std::memcpy(&cmd, data, std::min(size, sizeof cmd));

  const uint64_t logged = fuzzrt::LogCount();
  host::UserEventOfCommand event;
  const host::CommandRoute route = host::RouteCommand(cmd, &event);
  switch (route) {
    case host::CommandRoute::kRefused:
      Require(cmd.id == 0 || cmd.id > TVSM_CMD_LAST);
      Require(fuzzrt::LogCount() > logged);
      return 0;
    case host::CommandRoute::kTask:
      Require(cmd.id >= TVSM_CMD_STOP && cmd.id <= TVSM_CMD_CAPTION_STATE);
      return 0;
    case host::CommandRoute::kUserEvent:
      break;
  }
  Require(cmd.id != 0 && cmd.id <= TVSM_CMD_LAST);
  Require(event.eventId == XPM_USER_EVENT_BASE + cmd.id && event.eventId <= XPM_USER_EVENT_LAST);
  Require(event.length >= offsetof(TVSM_Command, data) && event.length <= sizeof(TVSM_Command));

  // What the event buffer carries: exactly the posted bytes.
  std::vector<uint8_t> posted(event.length);
  std::memcpy(posted.data(), &cmd, event.length);
  const bool known = evreg::HasEventFactory(event.eventId);
  const uint64_t before = fuzzrt::LogCount();
  kv::Object* obj = evreg::NewEventFromPayload(event.eventId, posted.data(), posted.size());
  if (!known) Require(obj == nullptr && fuzzrt::LogCount() > before);
  if (auto* cable = kv::Cast<Events::USER_EVENT_CABLE_ON_OFF>(obj)) Require(cable->Medium == cmd.param);
  fuzzrt::EndPass();
  return 0;
}
