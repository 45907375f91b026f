// Platform services (OAM_*), served by the simulated television: feature
// configuration, the state monitor and the watchdog.
//
// Status convention: OAM_OK (0) is success.
//
// The watchdog is a stand-in: it never restarts anything, but logs
// "OAM watchdog would fire" when it was not fed within its time-out.
#pragma once

#include <cstdint>

enum : int32_t {
  OAM_OK = 0,
  OAM_ERR_FAILED = 1,
  OAM_ERR_INVALID_PARAM = 2,
  OAM_ERR_NOT_READY = 3,
};

// Reads the set's feature configuration; call once before anything else.
int32_t OAM_InitFeatureConfig(void);

// The monitor: the program's OSD state and the caption rendering state.
int32_t OAM_ReportMonitor(int32_t osdShown, int32_t captionOn);

// Arms the watchdog with a new time-out (seconds) and feeds it.
int32_t OAM_WatchdogSetTimeout(int32_t seconds);
int32_t OAM_WatchdogFeed(void);
