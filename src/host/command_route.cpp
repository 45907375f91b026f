#include "host/command_route.h"

#include <algorithm>
#include <string>

#include "platform/xpm/xpm_event_ids.h"
#include "runtime/trace.h"

namespace host {

CommandRoute RouteCommand(const TVSM_Command& command, UserEventOfCommand* event) {
  switch (command.id) {
    case TVSM_CMD_STOP:
    case TVSM_CMD_DISABLE_STREAMING:
    case TVSM_CMD_ENABLE_STREAMING:
    case TVSM_CMD_CAPTION_STATE:
      return CommandRoute::kTask;
    default:
      break;
  }
  // Id 0 would end the command task's loop; ids past the last one have no user event.
  if (command.id == 0 || command.id > TVSM_CMD_LAST) {
    kv::Log("command_task: unknown command " + std::to_string(command.id) + ", refused");
    return CommandRoute::kRefused;
  }
  if (event) {
    event->eventId = XPM_USER_EVENT_BASE + command.id;
    event->length = offsetof(TVSM_Command, data) + std::min<size_t>(command.length, TVSM_COMMAND_DATA_SIZE);
  }
  return CommandRoute::kUserEvent;
}

}  // namespace host
