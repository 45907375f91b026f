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

// Async events the program reports: TVSM_ReportAsyncEvent(TVSM_SENDER_UI,
// code, payload, length).
constexpr int32_t TVSM_SENDER_UI = 1;
enum : uint32_t {
  TVSM_ASYNC_SETUP_STATUS = 1,         // int32: 1 the first-time setup runs, 0 it does not
  TVSM_ASYNC_SIDEBAR_STATUS = 6,       // int32: sidebar graphics shown (1) or not (0)
  TVSM_ASYNC_FLOATING_STATUS = 7,      // int32: floating graphics shown (1) or not (0)
  TVSM_ASYNC_INPUT_OSD_STATUS = 8,     // int32 shown flag, int32 kind (1, 9 or 10)
  TVSM_ASYNC_SETUP_FINISHED = 10,      // none
  TVSM_ASYNC_REQUEST_RESOURCES = 20,   // none: the running application hands tuner and screen back
  TVSM_ASYNC_LAUNCH_APP = 21,          // TVSM_LaunchMessage
  TVSM_ASYNC_TERMINATE_FLASH = 25,     // none
  TVSM_ASYNC_CLOSE_DOCK = 28,          // none
  TVSM_ASYNC_TERMINATE_WIDGET = 31,    // none
  TVSM_ASYNC_NETWORK_STATUS = 40,      // XPM_NetworkStatusPayload
};

// Launch types of TVSM_LaunchMessage and the kinds of the running
// applications that TVSM_GetActiveAppsStatus reports.
enum : int32_t {
  TVSM_LAUNCH_FLASH = 2,
  TVSM_LAUNCH_DOCK = 4,
  TVSM_LAUNCH_WIDGET = 6,
  TVSM_APP_WIDGET = 2,
  TVSM_APP_FLASH = 3,
  TVSM_APP_FLASH_2 = 4,
  TVSM_APP_DOCK = 6,
};
// Start flag of the launch message.
enum : int32_t { TVSM_START_FLAG_SET = 1, TVSM_START_FLAG_CLEAR = 2 };
// Flags bit of an application that does not own the screen.
constexpr int32_t TVSM_APP_FLAG_BACKGROUND = 0x20;

constexpr uint32_t TVSM_APP_NAME_SIZE = 512;
constexpr int32_t TVSM_MAX_ACTIVE_APPS = 8;

// The launch message (code 21), and each record of the active-application
// answer: little-endian words, the name NUL-terminated.
struct TVSM_LaunchMessage {
  int32_t type;  // a launch type here, an application kind in the answer
  char name[TVSM_APP_NAME_SIZE];
  int32_t flag;  // the start flag here, the application's flags in the answer
};
static_assert(sizeof(TVSM_LaunchMessage) == 520);

struct TVSM_ActiveApps {
  int32_t count;
  TVSM_LaunchMessage apps[TVSM_MAX_ACTIVE_APPS];
};
static_assert(sizeof(TVSM_ActiveApps) == 4164);

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
int32_t TVSM_ReportAsyncEvent(int32_t sender, uint32_t code, const void* data, uint32_t length);
// Fills `out` (`size` bytes, at least sizeof(TVSM_ActiveApps)) with the
// running applications.
int32_t TVSM_GetActiveAppsStatus(void* out, uint32_t size);
// Drops the connections of network application `id`.
int32_t TVSM_ResetConnectedApps(int32_t id);
// The result of a process command, once carried out.
int32_t TVSM_ReportCommandResult(uint32_t commandId, int32_t result);
