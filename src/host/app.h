// The process's tasks.
//
// app_main initialises the feature configuration, starts app_watchdog_task,
// and then, for as long as the system manager's standby call answers 1, runs
// one round: it raises the stack limit to 8 MB, registers the process-command,
// key and OSD-state callbacks, creates kv_task (the GUI), the 50-entry
// command queue with command_task, an event and ctv_init_task, and waits
// until the GUI task has ended before it joins the round's tasks.
//
// Stop (the stop command, or the window closed: the system manager then
// sends stop and its standby call answers 0): unsubscribe the middleware
// events (the call returns once no callback runs), end the GUI loop, unlock
// the root, collect, close the display and the glyph cache, join the tasks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/display/display.h"
#include "platform/tvsm/tvsm.h"
#include "runtime/clock.h"

namespace kv {
struct Class;
}

namespace host {

constexpr int32_t kCommandQueueEntries = 50;
constexpr int32_t kGlyphCacheSize = 20000;
constexpr int64_t kFirstEventWaitMs = 12000;
constexpr int64_t kAfterFirstEventMs = 3000;
constexpr int32_t kWatchdogBootSeconds = 100;
constexpr int32_t kWatchdogSeconds = 60;
constexpr int64_t kWatchdogPeriodMs = 2000;
constexpr int32_t kAliveTestLimitMs = 10000;
constexpr int64_t kMonitorStartMs = 10000;
constexpr int64_t kMonitorPeriodMs = 1000;
constexpr const char* kAppPartition = "/mnt/stagecraft";

struct Options {
  std::string dataDir;                        // everything the set writes
  dfb::Backend backend = dfb::Backend::kAuto;
  bool netBoot = false;                       // booted from the network: no partition to mount
  const kv::Class* rootClass = nullptr;       // the root object's class (null: MainApp::Root)
  std::string fontPath;                       // empty: the working directory's font file
  std::string keysFile;                       // a key script to play (headless runs): its path, for the log
  std::string keysScript;                     // its text, as read once and checked before the start
  std::string shotsDir;                       // where the script's screenshots go
  bool skipSetup = false;                     // start in live TV even on a new set (a script without "fresh set")
  std::vector<std::string> mediaDirs;         // folders plugged as USB sticks when the media service starts
};

// Seeds the C library's random numbers (the screen saver's and the music
// logo's paths, the slide show's random transition) so that they differ
// from run to run; app_main does it once at start. On a simulated clock
// (tests, key scripts) nothing is seeded, so that those runs show the same
// screens every time. Answers whether it seeded.
bool SeedRandomNumbers(const kv::Clock& clock);

// Runs the rounds; answers the process's exit status (0, or 1 when a key
// script failed).
int app_main(const Options& options);

// The end of the process, after app_main: the calling thread takes the
// runtime and destroys every GUI object left (those held by pending timers,
// auto objects, the resource cache), so that nothing leaks at exit.
void ShutDownGui();

// The tasks; `arg` is unused (they read the running app's state).
void kv_task(void* arg);
void command_task(void* arg);
void ctv_init_task(void* arg);
void app_watchdog_task(void* arg);
void app_monitor_task(void* arg);

// The system manager's callbacks.
void tvsm_processCommandCallback(const TVSM_Command* command);
void tvsm_keyCallback(int32_t key, int32_t down);
void tvsm_osdStateCallback(int32_t osdShown);

// True while the GUI loop of a round runs. Any thread.
bool GuiTaskRunning();
// Rounds whose GUI loop started since the process began. Any thread.
uint32_t GuiRounds();

}  // namespace host
