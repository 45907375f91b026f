// The simulated system manager's network applications: started by the
// launch message (TVSM_ReportAsyncEvent code 21), stopped by the terminate
// codes or by a test, reported by TVSM_GetActiveAppsStatus.
//
// A Flash launch whose command line names a file ("/VORN/KB200_en.swf ...")
// starts only when the file is one of the set's store-demo files; the set
// logs "TVSM: starting store demo <file>" (or that the file is missing).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/sim.h"

namespace sim {

// The applications running now, oldest first.
std::vector<Sim::RunningApp> RunningApps(Sim& tv);
// An application starts (or ends) outside the program's requests.
void StartApp(Sim& tv, int32_t kind, const std::string& name, int32_t flags = 0);
void EndApps(Sim& tv, int32_t kind);
// Every later answer carries this count word whatever runs (a faulty system
// manager); ClearActiveAppsCountWord goes back to the true count.
void ForceActiveAppsCountWord(Sim& tv, int32_t count);
void ClearActiveAppsCountWord(Sim& tv);
// Whether the path is one of the set's store-demo files.
bool IsStoreDemoFile(std::string_view path);
// The payload bytes of a logged TVSM_ReportAsyncEvent call (empty without one).
std::vector<uint8_t> AsyncPayload(std::string_view logEntry);

}  // namespace sim
