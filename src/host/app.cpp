#include "host/app.h"

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "host/command_route.h"
#include "host/host_events.h"
#include "platform/events/event_factory.h"
#include "factory/factory_command.h"
#include "host/gui_loop.h"
#include "host/gui_mailbox.h"
#include "host/factory_remote.h"
#include "host/key_script.h"
#include "host/keys/keytable.h"
#include "host/xpm_callback.h"
#include "platform/fontengine/font_engine.h"
#include "platform/oam/oam.h"
#include "platform/os/bkni.h"
#include "platform/os/mplcore.h"
#include "platform/os/runners.h"
#include "platform/sim/program_exports.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm.h"
#include "platform/xpm/xpm_event_ids.h"
#include "runtime/clock.h"
#include "runtime/collector.h"
#include "runtime/object.h"
#include "runtime/panic.h"
#include "runtime/runtime.h"
#include "runtime/trace.h"
#include "units/Core/Event.h"
#include "units/Core/Root.h"
#include "units/MainApp/Root.h"
#include "units/Events/EventFactories.h"
#include "units/PersistentData/PersistentData.h"

namespace host {

namespace {
// The window's display while kv_task runs; GUI task only.
dfb::Display* g_display = nullptr;
}  // namespace

namespace {

constexpr uint32_t kEndOfRound = 0;  // the command that ends command_task
constexpr rlim_t kStackLimit = 8u * 1024u * 1024u;

std::string Hex(int32_t v) {
  char b[16];
  std::snprintf(b, sizeof b, "%x", static_cast<unsigned>(v));
  return b;
}

void LogIfFailed(const char* call, int32_t status) { kv::LogFailedCall(call, status); }

// The running app. Tasks wait on its condition through the shared clock.
struct App {
  Options options;

  std::mutex mutex;
  std::condition_variable cv;
  bool roundStop = false;    // the round's tasks end
  bool processStop = false;  // the watchdog ends
  bool firstEvent = false;   // a middleware event came in this round

  std::mutex queueMutex;
  MPLCore_QueueHandle queue = nullptr;  // one place more than commands: the end of the round always fits
  std::atomic<int> queued{0};           // commands in the queue

  BKNI_EventHandle guiEnded = nullptr;        // set by kv_task when it is done
  MPLCore_TaskHandle monitor = nullptr;       // started by kv_task
  std::atomic<GuiLoop*> loop{nullptr};        // while the GUI loop runs
  std::atomic<bool> guiRunning{false};
  std::atomic<uint32_t> rounds{0};
  std::atomic<bool> captionsAllowed{true};
  std::atomic<bool> subscribed{false};  // the middleware event callback is installed
  std::atomic<int> exitStatus{0};
  std::atomic<bool> guiFailed{false};  // the GUI task could not start its loop
  // The system manager can reach the process with its commands (the stop
  // among them): its process command callback was registered this round.
  std::atomic<bool> commandsReach{false};
  // The GUI loop ended the process itself, as no stop could come.
  std::atomic<bool> endedItself{false};

  // Waits until `done()` or `ms` on the shared clock; answers done().
  template <class Pred>
  bool WaitFor(int64_t ms, Pred done) {
    kv::Clock& clock = kv::GetClock();
    const int64_t deadline = clock.Now() + ms;
    std::unique_lock<std::mutex> lock(mutex);
    while (!done() && clock.Now() < deadline) clock.WaitUntil(cv, lock, deadline);
    return done();
  }
  void Change(const std::function<void()>& fn) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      fn();
    }
    cv.notify_all();
  }
};

// One app per process, never freed: callbacks of the platform may still be
// on their way in when app_main returns.
App* const g_app = new App;

void NoteMiddlewareEvent() {
  std::lock_guard<std::mutex> lock(g_app->mutex);
  if (g_app->firstEvent) return;
  g_app->firstEvent = true;
  g_app->cv.notify_all();
}

void RaiseStackLimit() {
  rlimit lim{};
  if (getrlimit(RLIMIT_STACK, &lim) != 0) {
    kv::Log(std::string("app_main: getrlimit failed: ") + std::strerror(errno));
    return;
  }
  lim.rlim_cur = (lim.rlim_max == RLIM_INFINITY) ? kStackLimit : std::min(kStackLimit, lim.rlim_max);
  if (setrlimit(RLIMIT_STACK, &lim) != 0) kv::Log(std::string("app_main: setrlimit failed: ") + std::strerror(errno));
}

std::string PartitionPath(const App& app) {
  if (sim::Sim* tv = sim::Sim::Current()) return tv->TargetPath(kAppPartition);
  return app.options.dataDir + kAppPartition;
}

void ReportResult(uint32_t id, int32_t result) { LogIfFailed("TVSM_ReportCommandResult", TVSM_ReportCommandResult(id, result)); }

// Runs `fn(loop, root)` on the GUI task and waits for it; false when the GUI task is gone.
bool OnGui(const std::function<void(GuiLoop&, Core::Root&)>& fn) {
  return RunOnGuiTaskAndWait([fn] {
    GuiLoop* loop = g_app->loop.load();
    auto* root = kv::Cast<Core::Root>(GetProgramExports().rootObject);
    if (loop && root) fn(*loop, *root);
  });
}

void HandleCommand(const TVSM_Command& cmd) {
  App& app = *g_app;
  switch (cmd.id) {
    case TVSM_CMD_STOP: {
      if (app.subscribed.exchange(false)) LogIfFailed("XPM_UnsubscribeEvents", XPM_UnsubscribeEvents());
      const bool ok = OnGui([](GuiLoop& loop, Core::Root&) { loop.Stop(); });
      ReportResult(cmd.id, ok ? 0 : 1);
      return;
    }
    case TVSM_CMD_DISABLE_STREAMING: {
      SetEventProcessing(false);
      const int32_t source = cmd.param;
      const bool ok = OnGui([source](GuiLoop& loop, Core::Root& root) {
        root.SetTV101State(false);
        LogIfFailed("XPM_SetSource", XPM_SetSource(source));
        loop.SyncCaptions();
      });
      ReportResult(cmd.id, ok ? 0 : 1);
      return;
    }
    case TVSM_CMD_ENABLE_STREAMING: {
      const int32_t source = cmd.param;
      const bool ok = OnGui([source](GuiLoop& loop, Core::Root& root) {
        SetEventProcessing(true);
        root.SetTV101State(true);
        LogIfFailed("XPM_SetSource", XPM_SetSource(source));
        loop.SyncCaptions();
      });
      if (!ok) SetEventProcessing(true);
      ReportResult(cmd.id, ok ? 0 : 1);
      return;
    }
    case TVSM_CMD_CAPTION_STATE: {
      const bool on = cmd.param != 0;
      app.captionsAllowed.store(on);
      const bool ok = OnGui([on](GuiLoop& loop, Core::Root&) { loop.SetCaptionsAllowed(on); });
      ReportResult(cmd.id, ok ? 0 : 1);
      return;
    }
    default:
      break;
  }
  UserEventOfCommand event;
  if (RouteCommand(cmd, &event) != CommandRoute::kUserEvent) {
    ReportResult(cmd.id, 1);
    return;
  }
  const bool posted = PostToGui(event.eventId, &cmd, event.length);
  // The closure comes out of the buffer after the user event: its run is the acknowledgement.
  const bool acked = posted && RunOnGuiTaskAndWait([] {});
  ReportResult(cmd.id, acked ? 0 : 1);
}

}  // namespace

void ShutDownGui() {
  kv::Runtime::SetGuiThread();
  kv::Runtime::Shutdown();
  kv::Runtime::ReleaseGuiThread();
}

bool GuiTaskRunning() { return g_app->guiRunning.load(); }
uint32_t GuiRounds() { return g_app->rounds.load(); }

// --- Callbacks of the system manager ----------------------------------------------

void tvsm_processCommandCallback(const TVSM_Command* command) {
  App* app = g_app;
  if (!command) return;
  // Refused (logged) here, so that an outside id 0 cannot end the command task.
  if (RouteCommand(*command, nullptr) == CommandRoute::kRefused) return;
  std::lock_guard<std::mutex> lock(app->queueMutex);
  if (!app->queue) {
    kv::Log("process command " + std::to_string(command->id) + " dropped: no command task");
    return;
  }
  if (app->queued.load() >= kCommandQueueEntries) {
    kv::Log("process command " + std::to_string(command->id) + " dropped: the command queue is full");
    return;
  }
  if (MPLCore_SendQueue(app->queue, command, sizeof(TVSM_Command)) == BKNI_SUCCESS) app->queued.fetch_add(1);
}

void tvsm_keyCallback(int32_t /*key*/, int32_t /*down*/) {}

void tvsm_osdStateCallback(int32_t osdShown) {
  const bool allowed = g_app->captionsAllowed.load();
  LogIfFailed("XPM_SetCaptionRendering", XPM_SetCaptionRendering((!osdShown && allowed) ? 1 : 0));
}

// --- Tasks ----------------------------------------------------------------------------

void command_task(void*) {
  App& app = *g_app;
  MPLCore_QueueHandle queue;
  {
    std::lock_guard<std::mutex> lock(app.queueMutex);
    queue = app.queue;
  }
  for (;;) {
    TVSM_Command cmd;
    if (MPLCore_ReceiveQueue(queue, &cmd, sizeof cmd, BKNI_INFINITE) != BKNI_SUCCESS) continue;
    if (cmd.id == kEndOfRound) return;
    app.queued.fetch_sub(1);
    HandleCommand(cmd);
  }
}

void ctv_init_task(void*) {
  App& app = *g_app;
  app.WaitFor(kFirstEventWaitMs, [&] { return app.firstEvent || app.roundStop; });
  if (app.WaitFor(kAfterFirstEventMs, [&] { return app.roundStop; })) return;
  bool mounted = true;
  if (!app.options.netBoot) {
    const int32_t r = MPLCore_MountPartition("stagecraft", kAppPartition);
    if (r != BKNI_SUCCESS) {
      kv::Log(std::string("ctv_init_task: mounting ") + kAppPartition + " failed (0x" + Hex(r) + ")");
      mounted = false;
    }
  }
  if (mounted) {
    const std::string db = PartitionPath(app) + "/vudu/db";
    std::error_code ec;
    std::filesystem::create_directories(db, ec);
    if (ec) kv::Log("ctv_init_task: cannot make " + kv::EscapedText(db, kv::kMaxLoggedPath) + ": " + ec.message());
    if (!bInFactoryMode) LogIfFailed("flashlite_runner_init", flashlite_runner_init());
  }
  LogIfFailed("vudu_runner_init", vudu_runner_init());
}

void app_watchdog_task(void*) {
  App& app = *g_app;
  LogIfFailed("OAM_WatchdogSetTimeout", OAM_WatchdogSetTimeout(kWatchdogBootSeconds));
  bool booting = true;
  while (!app.WaitFor(kWatchdogPeriodMs, [&] { return app.processStop; })) {
    if (booting && app.guiRunning.load()) {
      booting = false;
      LogIfFailed("OAM_WatchdogSetTimeout", OAM_WatchdogSetTimeout(kWatchdogSeconds));
    }
    const int32_t alive = XPM_AliveTest(kAliveTestLimitMs);
    if (alive != XPM_OK) {
      kv::Log("XPM_AliveTest Error 0x" + Hex(alive) + ": the watchdog is not fed");
      continue;
    }
    LogIfFailed("OAM_WatchdogFeed", OAM_WatchdogFeed());
  }
}

void app_monitor_task(void*) {
  App& app = *g_app;
  if (app.WaitFor(kMonitorStartMs, [&] { return app.roundStop; })) return;
  do {
    LogIfFailed("OAM_ReportMonitor", OAM_ReportMonitor(PublishedOsdShown() ? 1 : 0, PublishedCaptionOn() ? 1 : 0));
  } while (!app.WaitFor(kMonitorPeriodMs, [&] { return app.roundStop; }));
}

void kv_task(void*) {
  App& app = *g_app;
  kv::Runtime::SetGuiThread();

  std::unique_ptr<dfb::Display> display = dfb::Display::Create(app.options.backend);
  // A panic halts the GUI task while a window shows the set; headless (and
  // under a key script) it ends the process.
  kv::SetPanicMode(!display->IsHeadless() && app.options.keysFile.empty() ? kv::PanicMode::kHalt
                                                                          : kv::PanicMode::kExit);
  display->SetKeyMap(KeyboardToPlatformKey);
  display->SetControlKeys(ControlKey);
  dfb::EventBuffer* events = display->CreateEventBuffer();
  SetGuiEventBuffer(events);
  // The simulated television's picture reaches the window on the GUI task,
  // so it never meets a display that is being closed.
  g_display = display.get();
  sim::SetPictureSink([](const uint32_t* pixels, int32_t w, int32_t h) {
    if (!pixels || w <= 0 || h <= 0) return;
    auto copy = std::make_shared<std::vector<uint32_t>>(pixels, pixels + size_t(w) * size_t(h));
    RunOnGuiTask([copy, w, h] {
      if (g_display) g_display->SetVideoPicture(copy->data(), w, h, w);
    });
  });
  const int32_t subscribed = XPM_SubscribeEvents(kv_xpmEventCallback);
  LogIfFailed("XPM_SubscribeEvents", subscribed);
  app.subscribed.store(subscribed == XPM_OK);
  LogIfFailed("XPM_InitClient", XPM_InitClient());

  LogIfFailed("FS_Init", FS_Init(kGlyphCacheSize));
  const std::string font = app.options.fontPath.empty() ? fe::DefaultFontPath() : app.options.fontPath;
  if (!std::filesystem::exists(font))
    kv::Log("kv_task: the font file " + kv::EscapedText(font, kv::kMaxLoggedPath) + " is missing: texts will not show");
  else
    LogIfFailed("FS_AddFont", FS_AddFont(font));

  RegisterHostEvents();
  Events::RegisterAll();
  // The application settings file and its backup live in the data directory.
  PersistentData::SetStoragePaths(app.options.dataDir + "/settings.dat", app.options.dataDir + "/settings.bak");
  ProgramExports& exports = GetProgramExports();
  exports.runOnGuiTask = [](std::function<void()> fn) { return RunOnGuiTask(std::move(fn)); };
  exports.newEvent = [](uint32_t id, const void* payload, size_t length) {
    return evreg::NewEventFromPayload(id, static_cast<const uint8_t*>(payload), length);
  };
  exports.dispatchToRoot = [](kv::Object* event) -> kv::Object* {
    auto* root = kv::Cast<Core::Root>(GetProgramExports().rootObject);
    auto* e = kv::Cast<Core::Event>(event);
    return (root && e) ? root->DispatchEvent(e) : nullptr;
  };
  exports.broadcastToRoot = [](kv::Object* event, int32_t mode) -> kv::Object* {
    auto* root = kv::Cast<Core::Root>(GetProgramExports().rootObject);
    auto* e = kv::Cast<Core::Event>(event);
    return (root && e) ? root->Broadcast(e, mode) : nullptr;
  };

  const kv::Class* rootClass = app.options.rootClass;
  if (!rootClass) rootClass = &MainApp::Root::StaticClass();
  auto* root = kv::Cast<Core::Root>(kv::NewObjectIndirect(rootClass));
  if (!root) {
    kv::Log(std::string("kv_task: ") + rootClass->name + " is not a root class; the GUI does not start");
    app.guiFailed.store(true);
    app.exitStatus.store(1);
  } else {
    kv::LockObject(root);
    root->OnSetBounds({0, 0, Core::Root::kWidth, Core::Root::kHeight});
    dfb::Window* window = display->CreateWindow(Core::Root::kWidth, Core::Root::kHeight);
    dfb::Surface& osd = window->GetSurface();
    root->AttachSurface(ge::Surface{osd.Pixels(), osd.Width(), osd.Height(), osd.Stride()});
    root->SetFlipCallback([window](const kv::Rect* rects, int count) {
      window->Flip(rects, static_cast<size_t>(std::max(count, 0)));
    });
    root->Install();
    // The application root starts the set: the Wrapper, the settings, standby or setup.
    if (auto* appRoot = kv::Cast<MainApp::Root>(root)) {
      appRoot->SkipSetupAtStart = app.options.skipSetup;
      appRoot->Init();
    }
    window->AttachEventBuffer(events);
    LogIfFailed("TVSM_RegisterWindowId", TVSM_RegisterWindowId(window->GetID()));
    root->SetTV101State(true);
    exports.rootObject = root;
    app.monitor = MPLCore_CreateTask("app_monitor_task", app_monitor_task, nullptr);

    GuiLoop loop(events, root);
    // The set is switched off: the system manager sends stop and lets the
    // process end. Without the command callback that stop cannot arrive, so
    // the loop ends here and the process with it.
    auto switchOff = [&loop, &app] {
      sim::Sim* tv = sim::Sim::Current();
      if (tv) tv->PowerOff();
      if (tv && app.commandsReach.load()) return;
      kv::Log("kv_task: no stop command can arrive (no process command callback): the GUI ends itself");
      app.endedItself.store(true);
      loop.Stop();
    };
    loop.SetQuitHandler(switchOff);

    // The script plays from the text read and checked before the start: a
    // source read once (a pipe, standard input) plays as it was checked.
    KeyScript script;
    bool scripted = false;
    if (!app.options.keysFile.empty()) {
      std::string error;
      if (!script.Parse(app.options.keysScript, &error)) {
        for (size_t start = 0; start <= error.size();) {
          const size_t nl = std::min(error.find('\n', start), error.size());
          kv::Log("key script: " + error.substr(start, nl - start));
          start = nl + 1;
        }
        app.exitStatus.store(1);
        app.endedItself.store(true);
        loop.Stop();
        if (sim::Sim* tv = sim::Sim::Current()) tv->PowerOff();
      } else {
        scripted = true;
        script.Attach(events, display.get(), root, app.options.shotsDir, [&app, &script, switchOff] {
          if (script.Failures() > 0) app.exitStatus.store(1);
          switchOff();
        });
        loop.SetPassHook([&script](const PassResult& pass) {
          script.AfterPass(pass);
          // After the script the stop comes from other threads: let them run.
          if (script.Finished()) std::this_thread::yield();
        });
      }
    }
    // On a clock that jumps ahead when idle, the simulated TV first delivers
    // what is due, and the loop wakes for what it has scheduled.
    events->SetIdleHook([] {
      if (sim::Sim* tv = sim::Sim::Current()) tv->Quiesce();
    });
    loop.SetDeadlineSource([&script, scripted]() -> int64_t {
      // After the script, time stands still until the stop arrives.
      if (scripted && script.Finished()) return kv::GetClock().Now();
      int64_t deadline = scripted ? script.Deadline() : -1;
      if (kv::GetClock().AdvancesOnIdle()) {
        if (sim::Sim* tv = sim::Sim::Current()) {
          const int64_t due = tv->NextDue();
          if (due >= 0 && (deadline < 0 || due < deadline)) deadline = due;
        }
      }
      return deadline;
    });

    // A window run takes factory remote codes from a named pipe in the data directory.
    FactoryRemotePipe factoryRemote;
    if (!scripted && !display->IsHeadless()) factoryRemote.Start(app.options.dataDir);

    app.loop.store(&loop);
    app.rounds.fetch_add(1);
    app.Change([&] { app.guiRunning.store(true); });
    if (scripted) script.AfterPass(PassResult{});
    loop.Run();
    factoryRemote.Stop();

    // Stop: the loop has ended; unlock the root, collect, close the display and the glyph cache.
    app.Change([&] { app.guiRunning.store(false); });
    app.loop.store(nullptr);
    exports.rootObject = nullptr;
    window->AttachEventBuffer(nullptr);
    SetGuiEventBuffer(nullptr);
    root->Uninstall();
    root->DetachSurface();
    root->SetFlipCallback(nullptr);
    kv::UnlockObject(root);
  }
  if (root == nullptr) SetGuiEventBuffer(nullptr);
  // Ended without the stop command: take the subscription back here.
  if (app.subscribed.exchange(false)) LogIfFailed("XPM_UnsubscribeEvents", XPM_UnsubscribeEvents());
  kv::Collect();
  sim::SetPictureSink(nullptr);
  g_display = nullptr;
  display.reset();
  kv::SetPanicMode(kv::PanicMode::kExit);
  FS_Exit();
  kv::Runtime::ReleaseGuiThread();
  BKNI_SetEvent(app.guiEnded);
}

bool SeedRandomNumbers(const kv::Clock& clock) {
  if (clock.IsSimulated()) return false;
  // The device's entropy, mixed with the wall time where it has none of its own.
  std::random_device device;
  const auto now = static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count());
  std::srand(device() ^ now);
  return true;
}

int app_main(const Options& options) {
  SeedRandomNumbers(kv::GetClock());
  App& app = *g_app;
  app.options = options;
  app.processStop = false;
  app.exitStatus.store(0);
  app.guiFailed.store(false);
  app.captionsAllowed.store(true);
  SetMiddlewareEventHook(NoteMiddlewareEvent);
  SetEventProcessing(true);

  LogIfFailed("OAM_InitFeatureConfig", OAM_InitFeatureConfig());
  MPLCore_TaskHandle watchdog = MPLCore_CreateTask("app_watchdog_task", app_watchdog_task, nullptr);

  while (TVSM_WaitStandby() == 1) {
    RaiseStackLimit();
    app.Change([&] {
      app.roundStop = false;
      app.firstEvent = false;
    });
    {
      std::lock_guard<std::mutex> lock(app.queueMutex);
      app.queue = MPLCore_CreateQueue(kCommandQueueEntries + 1, sizeof(TVSM_Command));
      app.queued.store(0);
    }
    const int32_t registered = TVSM_RegisterProcessCommandCallback(tvsm_processCommandCallback);
    LogIfFailed("TVSM_RegisterProcessCommandCallback", registered);
    app.commandsReach.store(registered == TVSM_OK);
    app.endedItself.store(false);
    LogIfFailed("TVSM_RegisterKeyCallback", TVSM_RegisterKeyCallback(tvsm_keyCallback));
    LogIfFailed("TVSM_RegisterOSDStateCallback", TVSM_RegisterOSDStateCallback(tvsm_osdStateCallback));
    BKNI_CreateEvent(&app.guiEnded);

    MPLCore_TaskHandle gui = MPLCore_CreateTask("kv_task", kv_task, nullptr);
    MPLCore_TaskHandle commands = MPLCore_CreateTask("command_task", command_task, nullptr);
    MPLCore_TaskHandle init = MPLCore_CreateTask("ctv_init_task", ctv_init_task, nullptr);

    BKNI_WaitForEvent(app.guiEnded, BKNI_INFINITE);

    // The round's end: the GUI is gone; the other tasks of the round follow.
    app.Change([&] { app.roundStop = true; });
    {
      TVSM_Command end{};
      end.id = kEndOfRound;
      std::lock_guard<std::mutex> lock(app.queueMutex);
      MPLCore_SendQueue(app.queue, &end, sizeof end);
    }
    MPLCore_JoinTask(gui);
    MPLCore_JoinTask(commands);
    MPLCore_JoinTask(init);
    MPLCore_JoinTask(app.monitor);
    app.monitor = nullptr;
    {
      std::lock_guard<std::mutex> lock(app.queueMutex);
      MPLCore_DestroyQueue(app.queue);
      app.queue = nullptr;
    }
    BKNI_DestroyEvent(app.guiEnded);
    app.guiEnded = nullptr;
    if (app.guiFailed.load()) {
      kv::Log("app_main: the GUI could not start; the process ends");
      break;
    }
    // Switched off without a stop command: no standby either, the process ends.
    if (app.endedItself.load()) break;
  }

  app.Change([&] { app.processStop = true; });
  MPLCore_JoinTask(watchdog);
  SetMiddlewareEventHook(nullptr);
  LogIfFailed("TVSM_RegisterProcessCommandCallback", TVSM_RegisterProcessCommandCallback(nullptr));
  LogIfFailed("TVSM_RegisterKeyCallback", TVSM_RegisterKeyCallback(nullptr));
  LogIfFailed("TVSM_RegisterOSDStateCallback", TVSM_RegisterOSDStateCallback(nullptr));
  return app.exitStatus.load();
}

}  // namespace host
