// The whole process on the fake clock: app_main with its tasks against the
// simulated television, driven through the system manager and the middleware.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "host/app.h"
#include "platform/events/event_factory.h"
#include "host/gui_mailbox.h"
#include "host_test_root.h"
#include "kv_test.h"
#include "platform/os/bkni.h"
#include "platform/sim/program_exports.h"
#include "platform/sim/sim.h"
#include "platform/xpm/xpm.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "runtime/clock.h"
#include "runtime/collector.h"
#include "runtime/panic.h"
#include "runtime/runtime.h"
#include "units/Core/Event.h"
#include "units/Core/Root.h"
#include "units/Events/XPM_EVENT_FULL_SCAN_COMPLETE.h"
#include "tvui_paths.h"

namespace {

using hosttest::Eventually;
using hosttest::RecordingRoot;

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    kv::Runtime::ResetForTests();
    kv::SetClock(&clock_);
    dir_ = std::filesystem::temp_directory_path() /
           ("tvui-app-" + std::to_string(::getpid()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    tv_ = std::make_unique<sim::Sim>(dir_.string());
    tv_->Start();
    RecordingRoot::Clear();
    liveBlocks_ = BKNI_LiveAllocations();
  }

  void TearDown() override {
    if (app_.joinable()) {
      tv_->PowerOff();
      app_.join();
    }
    tv_->Stop();
    tv_.reset();
    kv::SetPanicMode(kv::PanicMode::kExit);
    kv::SetClock(nullptr);
    kv::Runtime::ResetForTests();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  host::Options BaseOptions() {
    host::Options options;
    options.dataDir = dir_.string();
    options.backend = dfb::Backend::kHeadless;
    options.rootClass = &RecordingRoot::StaticClass();
    options.fontPath = TVUI_BINARY_DIR "/fonts/tt7268m_803.ttf";
    return options;
  }

  void StartApp(bool netBoot = false) {
    host::Options options = BaseOptions();
    options.netBoot = netBoot;
    const uint32_t rounds = host::GuiRounds();
    app_ = std::thread([this, options] { status_ = host::app_main(options); });
    ASSERT_TRUE(Eventually([&] { return host::GuiTaskRunning() && host::GuiRounds() > rounds; }));
  }

  int StopApp() {
    tv_->PowerOff();
    app_.join();
    return status_;
  }

  bool HasCall(const std::string& entry) {
    auto log = tv_->CallLog();
    return std::find(log.begin(), log.end(), entry) != log.end();
  }
  // Moves the clock on in 100 ms steps until the call log has `entry`.
  bool AdvanceUntil(const std::string& entry) {
    return Eventually([&] {
      if (HasCall(entry)) return true;
      clock_.Advance(100);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      return false;
    });
  }
  // Position of an entry in the call log, -1 when absent.
  long IndexOf(const std::string& entry) {
    auto log = tv_->CallLog();
    auto it = std::find(log.begin(), log.end(), entry);
    return it == log.end() ? -1 : static_cast<long>(it - log.begin());
  }

  // Runs fn(root) on the GUI task.
  template <class F>
  void OnGui(F fn) {
    ASSERT_TRUE(host::RunOnGuiTaskAndWait([&] { fn(*kv::Cast<Core::Root>(GetProgramExports().rootObject)); }));
  }

  static constexpr int64_t start_ = 100000;
  kv::FakeClock clock_{start_};
  std::filesystem::path dir_;
  std::unique_ptr<sim::Sim> tv_;
  std::thread app_;
  int status_ = -1;
  size_t liveBlocks_ = 0;
};

TEST_F(AppTest, StartsTheGuiTheWayTheSetExpects) {
  kv::SetPanicMode(kv::PanicMode::kHalt);  // as a round with a window leaves it
  StartApp();
  // Without a window a panic ends the process instead of halting the GUI task.
  EXPECT_EQ(kv::GetPanicMode(), kv::PanicMode::kExit);
  for (const char* call : {"OAM_InitFeatureConfig()", "TVSM_WaitStandby()", "TVSM_RegisterProcessCommandCallback(\"callback\")",
                           "TVSM_RegisterKeyCallback(\"callback\")", "TVSM_RegisterOSDStateCallback(\"callback\")",
                           "XPM_SubscribeEvents(\"callback\")", "XPM_InitClient()", "TVSM_RegisterWindowId(1)",
                           "OAM_WatchdogSetTimeout(100)"})
    EXPECT_TRUE(HasCall(call)) << call;
  bool tv101 = false;
  OnGui([&](Core::Root& root) { tv101 = root.GetTV101State(); });
  EXPECT_TRUE(tv101);
  EXPECT_EQ(StopApp(), 0);
}

TEST_F(AppTest, CommandsAreAcknowledgedAfterTheGuiTaskRanThem) {
  StartApp();
  tv_->SendCommand(TVSM_CMD_DISABLE_STREAMING, 7);
  ASSERT_TRUE(Eventually([&] { return HasCall("TVSM_ReportCommandResult(2, 0)"); }));
  EXPECT_LT(IndexOf("XPM_SetSource(7)"), IndexOf("TVSM_ReportCommandResult(2, 0)"));
  EXPECT_LT(IndexOf("XPM_SetCaptionRendering(0)"), IndexOf("TVSM_ReportCommandResult(2, 0)"));
  bool tv101 = true;
  OnGui([&](Core::Root& root) { tv101 = root.GetTV101State(); });
  EXPECT_FALSE(tv101);

  // While streaming, the middleware's events do not reach the GUI.
  XPM_ScanEndPayload end{1, 2};
  tv_->Inject(XPM_EVT_FULL_SCAN_COMPLETE, end);
  tv_->Quiesce();
  tv_->SendCommand(TVSM_CMD_ENABLE_STREAMING, 0);
  ASSERT_TRUE(Eventually([&] { return HasCall("TVSM_ReportCommandResult(3, 0)"); }));
  EXPECT_LT(IndexOf("XPM_SetSource(0)"), IndexOf("TVSM_ReportCommandResult(3, 0)"));
  OnGui([&](Core::Root& root) { tv101 = root.GetTV101State(); });
  EXPECT_TRUE(tv101);
  EXPECT_TRUE(RecordingRoot::Take().empty());

  // Any other command becomes a user event, dispatched before the answer goes back.
  OnGui([](Core::Root&) {
    evreg::RegisterEventFactory(XPM_USER_EVENT_BASE + 100, 12, [](const uint8_t*, size_t) -> kv::Object* {
      return kv::New<Events::XPM_EVENT_FULL_SCAN_COMPLETE>();
    });
  });
  tv_->SendCommand(100, 5);
  ASSERT_TRUE(Eventually([&] { return HasCall("TVSM_ReportCommandResult(100, 0)"); }));
  auto seen = RecordingRoot::Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].cls, "Events::XPM_EVENT_FULL_SCAN_COMPLETE");
  EXPECT_EQ(StopApp(), 0);
}

TEST_F(AppTest, MiddlewareEventsReachTheRootAndStartTheApplicationRunners) {
  StartApp();
  XPM_ScanEndPayload end{4, 5};
  tv_->Inject(XPM_EVT_FULL_SCAN_COMPLETE, end);
  ASSERT_TRUE(Eventually([&] { return !RecordingRoot::Peek().empty(); }));
  auto seen = RecordingRoot::Take();
  EXPECT_EQ(seen[0].numbers, (std::vector<int32_t>{4, 5}));

  // Some seconds after the first event the partition is mounted and the runners start.
  EXPECT_FALSE(HasCall("vudu_runner_init()"));
  ASSERT_TRUE(AdvanceUntil("vudu_runner_init()"));
  // Well before the 12 s that a set without events waits (the loop may move
  // the fake clock on while it waits idle, so no tighter bound holds).
  EXPECT_LT(clock_.Now() - start_, host::kFirstEventWaitMs);
  EXPECT_TRUE(HasCall("MPLCore_MountPartition(\"stagecraft\", \"/mnt/stagecraft\")"));
  EXPECT_TRUE(HasCall("flashlite_runner_init()"));
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "mnt/stagecraft/vudu/db"));
  EXPECT_EQ(StopApp(), 0);
}

TEST_F(AppTest, FailedMountStartsOnlyTheVideoServiceRunner) {
  tv_->FailCall("MPLCore_MountPartition", 5);
  StartApp();
  ASSERT_TRUE(AdvanceUntil("vudu_runner_init()"));  // no middleware event comes: 12 s, then 3 s
  EXPECT_GE(clock_.Now() - start_, host::kFirstEventWaitMs + host::kAfterFirstEventMs);
  EXPECT_TRUE(HasCall("MPLCore_MountPartition(\"stagecraft\", \"/mnt/stagecraft\")"));
  EXPECT_FALSE(HasCall("flashlite_runner_init()"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "mnt/stagecraft/vudu"));
  EXPECT_EQ(StopApp(), 0);
}

TEST_F(AppTest, NetworkBootUsesThePartitionWithoutMountingIt) {
  StartApp(/*netBoot=*/true);
  ASSERT_TRUE(AdvanceUntil("vudu_runner_init()"));
  EXPECT_EQ(tv_->CountCalls("MPLCore_MountPartition"), 0u);
  EXPECT_TRUE(HasCall("flashlite_runner_init()"));
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "mnt/stagecraft/vudu/db"));
  EXPECT_EQ(StopApp(), 0);
}

// The clock moves only once the watchdog and the monitor wait on it, and
// each step waits until the work that fell due is done, so the counts at
// each time are exact however loaded the machine is.
TEST_F(AppTest, WatchdogAndMonitorRunOnTheirPeriods) {
  StartApp();
  auto waitsUntil = [&](int64_t deadline) {
    const std::vector<int64_t> d = clock_.Deadlines();
    return std::find(d.begin(), d.end(), deadline) != d.end();
  };
  ASSERT_TRUE(Eventually([&] { return waitsUntil(start_ + host::kWatchdogPeriodMs); }));
  ASSERT_TRUE(Eventually([&] { return waitsUntil(start_ + host::kMonitorStartMs); }));
  // Walks the clock to `ms` after the start in 100 ms steps, each settled.
  auto at = [&](int64_t ms) {
    for (int64_t t = clock_.Now() - start_ + 100; t < ms; t += 100)
      if (!clock_.AdvanceToAndSettle(start_ + t)) return false;
    return clock_.AdvanceToAndSettle(start_ + ms);
  };
  // 100 s while the GUI starts; nothing tested or fed before the first period.
  ASSERT_TRUE(at(host::kWatchdogPeriodMs - 1));
  EXPECT_TRUE(HasCall("OAM_WatchdogSetTimeout(100)"));
  EXPECT_EQ(tv_->CountCalls("XPM_AliveTest"), 0u);
  EXPECT_EQ(tv_->CountCalls("OAM_WatchdogFeed"), 0u);
  // With the GUI up, 60 s; a test and a feed every period.
  ASSERT_TRUE(at(host::kWatchdogPeriodMs));
  EXPECT_LT(IndexOf("OAM_WatchdogSetTimeout(100)"), IndexOf("OAM_WatchdogSetTimeout(60)"));
  EXPECT_EQ(tv_->CountCalls("OAM_WatchdogSetTimeout"), 2u);
  EXPECT_TRUE(HasCall("XPM_AliveTest(10000)"));
  EXPECT_EQ(tv_->CountCalls("OAM_WatchdogFeed"), 1u);
  // The monitor: nothing before its start, then one report a period.
  ASSERT_TRUE(at(host::kMonitorStartMs - 1));
  EXPECT_EQ(tv_->CountCalls("OAM_ReportMonitor"), 0u);
  const size_t periods = static_cast<size_t>(host::kMonitorStartMs / host::kWatchdogPeriodMs);
  EXPECT_EQ(tv_->CountCalls("OAM_WatchdogFeed"), periods - 1);
  ASSERT_TRUE(at(host::kMonitorStartMs));
  EXPECT_EQ(tv_->CountCalls("OAM_ReportMonitor"), 1u);
  EXPECT_TRUE(HasCall("OAM_ReportMonitor(0, 1)"));  // no screen shown, captions on
  EXPECT_EQ(tv_->CountCalls("XPM_AliveTest"), periods);
  EXPECT_EQ(tv_->CountCalls("OAM_WatchdogFeed"), periods);
  ASSERT_TRUE(at(host::kMonitorStartMs + 3 * host::kMonitorPeriodMs));
  EXPECT_EQ(tv_->CountCalls("OAM_ReportMonitor"), 4u);

  // A middleware that does not answer leaves the watchdog unfed.
  tv_->FailCall("XPM_AliveTest", XPM_ERR_TIMEOUT);
  const size_t feeds = tv_->CountCalls("OAM_WatchdogFeed");
  const size_t tests = tv_->CountCalls("XPM_AliveTest");
  const int64_t from = clock_.Now() - start_;
  ASSERT_TRUE(at(from + 3 * host::kWatchdogPeriodMs));
  EXPECT_EQ(tv_->CountCalls("XPM_AliveTest"), tests + 3);
  EXPECT_EQ(tv_->CountCalls("OAM_WatchdogFeed"), feeds);
  EXPECT_EQ(StopApp(), 0);
}

TEST_F(AppTest, StopEndsTheLoopAndStandbyRestartsTheGui) {
  StartApp();
  tv_->Standby();  // the stop command, then the standby call waits
  ASSERT_TRUE(Eventually([&] { return !host::GuiTaskRunning() && tv_->CountCalls("TVSM_WaitStandby") == 2; }));
  EXPECT_TRUE(HasCall("XPM_UnsubscribeEvents()"));
  EXPECT_TRUE(HasCall("TVSM_ReportCommandResult(1, 0)"));
  EXPECT_EQ(tv_->CountCalls("XPM_UnsubscribeEvents"), 1u);
  EXPECT_EQ(kv::HeapCensus().count("hosttest::RecordingRoot"), 0u);  // unlocked and collected

  const uint32_t rounds = host::GuiRounds();
  tv_->Resume();
  ASSERT_TRUE(Eventually([&] { return host::GuiTaskRunning() && host::GuiRounds() == rounds + 1; }));
  EXPECT_EQ(tv_->CountCalls("XPM_SubscribeEvents"), 2u);
  EXPECT_EQ(StopApp(), 0);
}

TEST_F(AppTest, AGuiThatCannotStartEndsTheProcessWithAnError) {
  host::Options options = BaseOptions();
  options.rootClass = &Core::Event::StaticClass();  // not a root
  EXPECT_EQ(host::app_main(options), 1);
  EXPECT_EQ(tv_->CountCalls("TVSM_WaitStandby"), 1u);
}

TEST_F(AppTest, ClosedWindowEndsTheProcessCleanly) {
  StartApp();
  ASSERT_TRUE(host::PostQuitToGui());
  app_.join();
  EXPECT_EQ(status_, 0);
  // Stop in its order: unsubscribe, end the loop, then the standby call answers 0.
  EXPECT_LT(IndexOf("XPM_UnsubscribeEvents()"), IndexOf("TVSM_ReportCommandResult(1, 0)"));
  EXPECT_EQ(tv_->CountCalls("TVSM_WaitStandby"), 2u);
  EXPECT_FALSE(host::GuiTaskRunning());
  EXPECT_EQ(kv::HeapCensus().count("hosttest::RecordingRoot"), 0u);
  EXPECT_EQ(BKNI_LiveAllocations(), liveBlocks_);
  EXPECT_EQ(GetProgramExports().rootObject, nullptr);
  EXPECT_FALSE(host::RunOnGuiTask([] {}));  // nobody left to run it
}

// Without the command callback the system manager's stop cannot arrive: the
// window's close ends the loop and the process all the same, with no second
// round.
TEST_F(AppTest, ClosedWindowEndsTheProcessWhenNoStopCanCome) {
  tv_->FailCall("TVSM_RegisterProcessCommandCallback", TVSM_ERR_NOT_READY);
  StartApp();
  ASSERT_TRUE(host::PostQuitToGui());
  if (!Eventually([&] { return !host::GuiTaskRunning(); })) {
    std::fprintf(stderr, "the GUI loop goes on after the window's close\n");
    std::_Exit(1);  // the loop cannot be taken back: the test would hang
  }
  app_.join();
  EXPECT_EQ(status_, 0);
  EXPECT_EQ(tv_->CountCalls("TVSM_WaitStandby"), 1u);
  EXPECT_EQ(kv::HeapCensus().count("hosttest::RecordingRoot"), 0u);
  EXPECT_FALSE(host::RunOnGuiTask([] {}));
}

}  // namespace

// The screen saver's and the music logo's paths and the slide show's random
// transition come from the C library's random numbers: a set on the real
// clock seeds them at start, so that two runs differ; a run on a simulated
// clock (tests, key scripts) keeps the library's fixed start, so that it
// repeats.
TEST(RandomSeed, SeededOnTheRealClockOnlyAndDifferentEachRun) {
  auto draws = [] {
    std::vector<int> v;
    for (int i = 0; i < 8; ++i) v.push_back(std::rand());
    return v;
  };
  std::srand(1);
  const std::vector<int> fixed = draws();

  kv::FakeClock fake(0);
  std::srand(1);
  EXPECT_FALSE(host::SeedRandomNumbers(fake));
  EXPECT_EQ(draws(), fixed) << "a simulated clock leaves the sequence as it was";
  kv::VirtualClock virtualClock(0);
  std::srand(1);
  EXPECT_FALSE(host::SeedRandomNumbers(virtualClock));
  EXPECT_EQ(draws(), fixed);

  kv::RealClock real;
  std::srand(1);
  EXPECT_TRUE(host::SeedRandomNumbers(real));
  const std::vector<int> first = draws();
  EXPECT_NE(first, fixed) << "the real clock seeds";
  EXPECT_TRUE(host::SeedRandomNumbers(real));
  EXPECT_NE(draws(), first) << "each start has a seed of its own";
  std::srand(1);
}
