// The system manager (TVSM_*), served by the simulated television.
//
// Status convention: 0 is success for every call but TVSM_ReportAsyncEvent,
// which answers non-zero on success and 0 on failure. TVSM_WaitStandby
// answers 1 while the set should run, anything else when the program should end.
//
// Callbacks run on the system manager's thread; they must not block.
#pragma once

#include <cstddef>
#include <cstdint>

enum : int32_t {
  TVSM_OK = 0,
  TVSM_ERR_FAILED = 1,
  TVSM_ERR_INVALID_PARAM = 2,
  TVSM_ERR_NOT_READY = 3,
};

// Process commands of the system manager.
enum : uint32_t {
  TVSM_CMD_STOP = 1,               // end the GUI
  TVSM_CMD_DISABLE_STREAMING = 2,  // another application takes the screen; param: the source to set
  TVSM_CMD_ENABLE_STREAMING = 3,   // the screen comes back; param: the source to set
  TVSM_CMD_CAPTION_STATE = 4,      // param: captions allowed (1) or not (0)
  // Every other id becomes a user event of the GUI (XPM_USER_EVENT_BASE + id).
  TVSM_CMD_LAST = 0xFFFF,
};

constexpr uint32_t TVSM_COMMAND_DATA_SIZE = 244;

struct TVSM_Command {
  uint32_t id;
  int32_t param;
  uint32_t length;  // bytes of data used
  uint8_t data[TVSM_COMMAND_DATA_SIZE];
};
static_assert(offsetof(TVSM_Command, data) == 12);
static_assert(sizeof(TVSM_Command) == 256);

// Async events the program reports (TVSM_ReportAsyncEvent).
enum : uint32_t {
  TVSM_ASYNC_NETWORK_STATUS = 1,  // data: XPM_NetworkStatusPayload
};

typedef void (*TVSM_ProcessCommandCallback)(const TVSM_Command* command);
typedef void (*TVSM_KeyCallback)(int32_t key, int32_t down);
typedef void (*TVSM_OSDStateCallback)(int32_t osdShown);

// Blocks while the set is in standby; 1 when the GUI should (re)start,
// 0 when the set is switched off.
int32_t TVSM_WaitStandby(void);

int32_t TVSM_RegisterProcessCommandCallback(TVSM_ProcessCommandCallback callback);
int32_t TVSM_RegisterKeyCallback(TVSM_KeyCallback callback);
int32_t TVSM_RegisterOSDStateCallback(TVSM_OSDStateCallback callback);
// The OSD window's id.
int32_t TVSM_RegisterWindowId(int32_t windowId);

// Non-zero on success, 0 on failure.
int32_t TVSM_ReportAsyncEvent(uint32_t event, const void* data, uint32_t length);
// The result of a process command, once carried out.
int32_t TVSM_ReportCommandResult(uint32_t commandId, int32_t result);
