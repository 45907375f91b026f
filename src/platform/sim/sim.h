// The simulated television behind the platform stand-ins (XPM_*, TVSM_*,
// OAM_*, MPLCore_MountPartition, the runners).
//
//   sim::Sim tv(dataDir);
//   tv.Start();                                   // its thread; fills g_qvak_mutex
//   tv.Inject(XPM_EVT_FULL_SCAN_COMPLETE, end);   // delivered from its thread
//   tv.SendCommand(TVSM_CMD_CAPTION_STATE, 1);    // the system manager speaks
//   tv.Quiesce();                                 // everything due now delivered
//   tv.Flush();                                   // pending state on disk
//   tv.Calls("XPM_SetOSDState");                  // what the program called
//   tv.FailCall("XPM_SetOSDState", 5);            // that call now answers 5
//
// One Sim is current at a time (the last one started); the C calls act on
// it, and answer their "not ready" code with a log line when none runs.
//
// Time: the Sim's thread follows the shared clock (kv::GetClock()): an event
// injected for time T is delivered once the clock reaches T. Callbacks into
// the program (middleware events, process commands, key and OSD-state
// callbacks) run on that thread, never while the Sim holds a lock of its own.
//
// State that survives a restart lives in <data dir>/tvsim.state as
// "key=value" lines and a closing line "#end N" (N entries), rewritten whole
// and atomically (temporary file, sync, rename). A change only marks the
// state dirty; the Sim's saver thread writes it, at most once per
// kSaveIntervalMs of the shared clock (on a clock that jumps ahead when
// idle, Quiesce does, so that a key script writes the same files every
// run), and Flush, Stop and the destructor write what is pending. A file
// without its closing line (cut short) or with lines that are no key=value
// is damaged: it is logged once, kept as
// tvsim.state.bad, its complete lines are read and the rest takes defaults.
// Keys start with a part the stand-ins know ("tv" for the television's own
// state, TvState, sim_tv_state.h; "caption", "oem", "reg", "db", ...: the
// list is in sim.cpp); lines of other keys are dropped with one log line.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <utility>
#include <memory>
#include <mutex>
#include <optional>
#include <queue>
#include <string>
#include <string_view>
#include <thread>
#include <type_traits>
#include <vector>

#include "platform/os/bkni.h"
#include "platform/tvsm/tvsm.h"
#include "platform/xpm/xpm.h"

namespace sim {

class TvState;
class NetState;

class Sim {
 public:
  explicit Sim(std::string dataDir);
  ~Sim();
  Sim(const Sim&) = delete;
  Sim& operator=(const Sim&) = delete;

  // Starts the Sim's thread and makes it the current Sim.
  void Start();
  // Ends the thread (undelivered items are dropped) and stops being current.
  void Stop();
  bool Running() const;
  static Sim* Current();
  // True on the Sim's own thread (where every callback into the program runs).
  bool OnSimThread() const { return std::this_thread::get_id() == threadId_.load(); }

  const std::string& DataDir() const { return dataDir_; }
  // A number of this Sim alone (never reused within the process): state kept
  // outside the Sim is tied to it.
  uint64_t Serial() const { return serial_; }
  // Where a path of the set's file system lives here: the data directory
  // followed by the path ("/mnt/stagecraft" -> "<data dir>/mnt/stagecraft").
  std::string TargetPath(std::string_view path) const;

  // --- Time line -----------------------------------------------------------
  // Runs `fn` on the Sim's thread once the clock reaches `at` (negative: now).
  // Items due at the same time run in the order scheduled.
  void Schedule(int64_t at, std::function<void()> fn);
  // Delivers a middleware event to the subscribed callback at `at`. The
  // callback gets exactly `length` bytes (a block of that size).
  void Inject(uint32_t id, const void* payload, size_t length, int64_t at = -1);
  template <class T, std::enable_if_t<!std::is_pointer_v<T> && !std::is_null_pointer_v<T>, int> = 0>
  void Inject(uint32_t id, const T& payload, int64_t at = -1) {
    static_assert(std::is_trivially_copyable_v<T>);
    Inject(id, &payload, sizeof(T), at);
  }
  // Returns once the Sim's thread has run everything due at the current
  // clock time (at once when the thread does not run, or from that thread).
  // On a clock that jumps ahead when idle it also writes the state when a
  // write is due (the saver thread leaves that to it).
  void Quiesce();
  // The earliest time something is scheduled, or -1.
  int64_t NextDue() const;

  // --- The system manager's side -------------------------------------------
  void SendCommand(uint32_t id, int32_t param = 0, const void* data = nullptr, uint32_t length = 0, int64_t at = -1);
  void SendOsdState(int32_t osdShown);
  void SendKey(int32_t key, int32_t down);
  // The set goes to standby: the stop command, then TVSM_WaitStandby blocks until Resume.
  void Standby();
  void Resume();
  // The set is switched off: the stop command, then TVSM_WaitStandby answers 0.
  void PowerOff();

  // --- Call log and failures -----------------------------------------------
  // Every entry is "NAME(ARGS)", in call order; the log keeps the newest
  // 100,000 entries, fewer when their texts together pass 4 MiB.
  std::vector<std::string> CallLog() const;
  // The entries of one call.
  std::vector<std::string> Calls(std::string_view name) const;
  size_t CountCalls(std::string_view name) const;
  void ClearCallLog();
  // Makes every later call of `name` answer `code` without doing anything.
  void FailCall(std::string name, int32_t code);
  // As FailCall, but only after `successes` more calls of `name` went through.
  void FailCallAfter(std::string name, int32_t code, int successes);
  // Makes every later call answer `code` without doing anything, but those
  // named in `except` and those given a code of their own by FailCall.
  void FailEveryCall(int32_t code, std::vector<std::string> except = {});
  void ClearFailures();
  // Records a call; the failure code when the call was told to fail.
  std::optional<int32_t> Enter(std::string_view name, std::string_view args);

  // --- Persistent state ----------------------------------------------------
  std::string GetState(const std::string& key, const std::string& fallback = "") const;
  // Shortest time between two writes of the state file by the saver thread.
  static constexpr int64_t kSaveIntervalMs = 200;
  // Changes a key in memory and marks the state for saving; never waits for
  // the disk. False (logged) for a bad key (empty, or holding '=', a space
  // or a byte outside printable ASCII) or value (a control byte but tab).
  bool SetState(const std::string& key, const std::string& value);
  std::string StatePath() const;
  // Sets and erases several keys at once, then marks the whole state for
  // saving (even when nothing changed). False (logged) for a bad key or value
  // (nothing changes).
  bool UpdateState(const std::map<std::string, std::string>& set, const std::vector<std::string>& erase);
  // Writes pending state now, on the calling thread. False (logged) when the
  // file could not be written; the state then stays pending.
  bool Flush();
  // Changes (keys set or erased) the state file does not hold yet.
  size_t UnsavedChanges() const;
  // The stored keys that start with `prefix`, with their values.
  std::map<std::string, std::string> StateWithPrefix(std::string_view prefix) const;
  // A number that changes with every key set or erased. It is never the
  // same for two different states, not even of two simulations, so a reader
  // may keep what it worked out of the state while the number stays.
  uint64_t StateRevision() const;
  // Calls fn(key, value) for each stored key that starts with `prefix`, in
  // key order, without copying them: fn runs under the state's lock, so it
  // only reads and never calls the simulation.
  void VisitStateWithPrefix(std::string_view prefix,
                            const std::function<void(const std::string&, const std::string&)>& fn) const;

  // --- The television's settings, inputs, channels, clock and timers --------
  TvState& Tv() { return *tv_; }
  // The home network, HDMI-CEC devices and 3D status (sim_net_state.h).
  NetState& Net() { return *net_; }

  // --- The devices' state, guarded by Mutex() ------------------------------
  enum class Power { kOn, kStandby, kOff };
  struct MiddlewareState {
    XPM_EventCallback callback = nullptr;
    int callbacksRunning = 0;
    bool clientReady = false;
    int32_t osdShown = -1;  // -1: never told
    int32_t source = 0;
    std::FILE* uart = nullptr;
  };
  // A network application the system manager runs (sim_apps.h).
  struct RunningApp {
    int32_t kind = 0;
    std::string name;
    int32_t flags = 0;
  };
  struct ManagerState {
    std::vector<RunningApp> apps;
    std::optional<int32_t> appsCountWord;  // a forced count word of the answer
    TVSM_ProcessCommandCallback command = nullptr;
    TVSM_KeyCallback key = nullptr;
    TVSM_OSDStateCallback osd = nullptr;
    int32_t windowId = 0;
    Power power = Power::kOn;
  };
  struct ServicesState {
    bool featureConfig = false;
    int32_t monitorOsd = -1;
    int32_t monitorCaption = -1;
    int32_t watchdogSeconds = 0;
    int64_t lastFeed = 0;
    int watchdogFirings = 0;  // times the watchdog would have fired
  };
  std::mutex& Mutex() const { return mutex_; }
  MiddlewareState& Middleware() { return middleware_; }
  ManagerState& Manager() { return manager_; }
  ServicesState& Services() { return services_; }
  // Wakes waiters on device state (callbacks ending, power changes).
  void NotifyStateChanged() { stateCv_.notify_all(); }
  std::condition_variable& StateCv() { return stateCv_; }

  // Copies for tests.
  MiddlewareState MiddlewareSnapshot() const;
  ManagerState ManagerSnapshot() const;
  ServicesState ServicesSnapshot() const;

  // The mutex the Sim hands to the program as its GUI lock.
  BKNI_MutexHandle GuiLock() const { return guiLock_; }

 private:
  struct Item {
    int64_t due;
    uint64_t seq;
    std::function<void()> fn;
  };
  struct Later {
    bool operator()(const Item& a, const Item& b) const { return a.due != b.due ? a.due > b.due : a.seq > b.seq; }
  };

  void ThreadMain();
  void DeliverEvent(uint32_t id, const std::vector<uint8_t>& bytes);
  void LoadState();
  void MarkDirtyLocked();
  void SaverMain();
  // Writes pending state when the interval since the last write has passed.
  void SaveIfDue();
  bool WriteStateFile(const std::string& text);

  const std::string dataDir_;
  const uint64_t serial_ = [] {
    static std::atomic<uint64_t> next{0};
    return ++next;
  }();

  mutable std::mutex mutex_;  // devices and the time line
  std::condition_variable cv_;       // the thread's wake-up
  std::condition_variable doneCv_;   // Quiesce
  std::condition_variable stateCv_;  // device state
  std::priority_queue<Item, std::vector<Item>, Later> items_;
  uint64_t seq_ = 0;
  bool running_ = false;
  bool stopping_ = false;
  bool busy_ = false;  // the thread runs an item
  std::thread thread_;
  std::atomic<std::thread::id> threadId_{};

  MiddlewareState middleware_;
  ManagerState manager_;
  ServicesState services_;
  BKNI_MutexHandle guiLock_ = nullptr;

  mutable std::mutex logMutex_;  // call log and failures (a leaf)
  std::deque<std::string> log_;
  size_t logBytes_ = 0;  // the entries' lengths together
  std::map<std::string, int32_t, std::less<>> failures_;
  std::map<std::string, std::pair<int32_t, int>, std::less<>> delayedFailures_;  // code, successes left
  std::optional<int32_t> everyCallFails_;                                         // FailEveryCall
  std::vector<std::string> everyCallExcept_;

  std::mutex saveMutex_;           // one write of the file at a time; taken before stateMutex_
  bool saveFailing_ = false;       // the last write failed (logged once)
  mutable std::mutex stateMutex_;  // persistent state (a leaf but for saveMutex_)
  std::map<std::string, std::string> state_;
  uint64_t revision_ = 0;           // StateRevision, bumped with every change of state_
  std::condition_variable saveCv_;  // the saver's wake-up
  bool dirty_ = false;              // state_ differs from the file
  size_t unsaved_ = 0;              // changes since the last complete write
  bool saverStopping_ = false;
  int64_t lastSave_ = 0;
  bool savedOnce_ = false;  // lastSave_ is set
  std::thread saver_;

  std::unique_ptr<TvState> tv_;  // loads from state_
  std::unique_ptr<NetState> net_;
};

// For the C stand-ins: records the call in the current Sim's log and answers
// the failure code it was told, if any. Without a running Sim it logs
// "<name>: no simulated television" and answers `noSimCode`.
std::optional<int32_t> EnterCall(const char* name, std::string_view args, int32_t noSimCode);

// Formats call arguments: numbers as they are, texts quoted, null as "null".
inline void AppendArg(std::string& out, const char* s) {
  if (s) {
    out += '"';
    out += s;
    out += '"';
  } else {
    out += "null";
  }
}
inline void AppendArg(std::string& out, const std::string& s) { AppendArg(out, s.c_str()); }
template <class T, std::enable_if_t<std::is_arithmetic_v<T>, int> = 0>
void AppendArg(std::string& out, T v) {
  out += std::to_string(v);
}
template <class... A>
std::string Args(const A&... args) {
  std::string out;
  bool first = true;
  ((out += first ? "" : ", ", first = false, AppendArg(out, args)), ...);
  return out;
}

// MPLCore_MountPartition's work: makes the target path's folder.
int32_t MountPartition(const char* partition, const char* mountPoint);

}  // namespace sim
