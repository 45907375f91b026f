// Where a process command of the system manager goes: the command task
// carries out stop, streaming and caption commands itself; every other id up
// to TVSM_CMD_LAST becomes a user event of the GUI. Id 0 is the command
// task's own end of a round and never comes from outside.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/tvsm/tvsm.h"

namespace host {

enum class CommandRoute {
  kRefused,    // logged; answered with result 1
  kTask,       // carried out by the command task
  kUserEvent,  // posted to the GUI as XPM_USER_EVENT_BASE + id
};

struct UserEventOfCommand {
  uint32_t eventId = 0;
  size_t length = 0;  // the command record up to the data it uses (at most the whole record)
};

// Any thread. For kUserEvent, fills `event` when it is given.
CommandRoute RouteCommand(const TVSM_Command& command, UserEventOfCommand* event);

}  // namespace host
