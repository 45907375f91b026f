// The GUI loop driven the way it runs: payloads and keys posted into the
// event buffer (from other threads, or by the middleware callback), passes
// run on the fake clock, and what the root received checked.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/host_events.h"
#include "platform/events/event_factory.h"
#include "host/gui_loop.h"
#include "host/gui_mailbox.h"
#include "host/keys/keytable.h"
#include "capture.h"
#include "host/xpm_callback.h"
#include "host_test_root.h"
#include "kv_test.h"
#include "platform/display/event_buffer.h"
#include "platform/sim/sim.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "runtime/collector.h"
#include "runtime/slot.h"
#include "runtime/timer.h"
#include "runtime/trace.h"
#include "units/Events/XPM_EVENT_FULL_SCAN_ABORTED.h"

namespace {

using hosttest::RecordingRoot;
using hosttest::Seen;

class GuiLoopTest : public kvtest::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    log_.Start();
    dir_ = kvtest::FreshTestDir("loop");
    tv_ = std::make_unique<sim::Sim>(dir_.string());
    tv_->Start();
    host::RegisterHostEvents();
    host::SetEventProcessing(true);
    root_ = kv::New<RecordingRoot>();
    kv::LockObject(root_);
    root_->Install();
    host::SetGuiEventBuffer(&events_);
    loop_ = std::make_unique<host::GuiLoop>(&events_, root_);
    RecordingRoot::Clear();
  }

  void TearDown() override {
    loop_.reset();
    host::SetGuiEventBuffer(nullptr);
    root_->Uninstall();
    kv::UnlockObject(root_);
    tv_->Stop();
    tv_.reset();
    log_.Stop();
    RuntimeTest::TearDown();
    kvtest::RemoveTestDir(dir_);
  }

  // Runs passes until the buffer is empty.
  void Drain() {
    while (events_.Pending() > 0) loop_->RunPass();
  }

  bool Logged(std::string_view part) { return log_.Contains(part); }

  // Posts from another thread, as the window and the middleware do.
  template <class F>
  void FromOtherThread(F fn) {
    std::thread t(fn);
    t.join();
  }

  static int PlatformCodeOf(const char* scriptName) { return host::ScriptNameToPlatformKey(scriptName); }

  dfb::EventBuffer events_;
  RecordingRoot* root_ = nullptr;
  std::unique_ptr<host::GuiLoop> loop_;
  std::unique_ptr<sim::Sim> tv_;
  std::filesystem::path dir_;
  kvtest::LogCapture log_;
};

// --- Keys ------------------------------------------------------------------------

TEST_F(GuiLoopTest, KeyFromAnotherThreadReachesTheRootAsItsGuiKey) {
  const int ok = PlatformCodeOf("ok");
  const int blue = PlatformCodeOf("blue");
  FromOtherThread([&] {
    events_.PostKey(ok, true);
    events_.PostKey(blue, true);
  });
  Drain();
  auto seen = RecordingRoot::Take();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].cls, "Events::XPM_EVENT_KEY");
  EXPECT_EQ(seen[0].code, keys::KEY_OK);
  EXPECT_EQ(seen[0].down, 1);
  EXPECT_EQ(seen[0].fromPanel, 0);
  EXPECT_EQ(seen[1].code, keys::KEY_BLUE);  // platform 115: not the same number
}

TEST_F(GuiLoopTest, KeyUpStaleAndUnknownKeysAreDroppedMiddlewareEventsNever) {
  const int ok = PlatformCodeOf("ok");
  int unknown = -1;
  for (int c = 0; c <= host::kMaxPlatformKey && unknown < 0; ++c)
    if (host::PlatformToGuiKey(c) == 0) unknown = c;
  ASSERT_GE(unknown, 0);

  events_.PostKey(ok, false);  // release
  events_.PostKey(unknown, true);
  Drain();
  EXPECT_TRUE(RecordingRoot::Take().empty());
  EXPECT_TRUE(Logged("unknown platform key code " + std::to_string(unknown)));

  // 101 ms in the queue: too old. 100 ms: still taken.
  events_.PostKey(ok, true);
  driver.Clock().Advance(101);
  Drain();
  EXPECT_TRUE(RecordingRoot::Take().empty());
  events_.PostKey(ok, true);
  driver.Clock().Advance(100);
  Drain();
  EXPECT_EQ(RecordingRoot::Take().size(), 1u);

  // A middleware event waits as long as it must.
  XPM_ScanEndPayload end{7, 8};
  FromOtherThread([&] { host::kv_xpmEventCallback(XPM_EVT_FULL_SCAN_COMPLETE, &end, sizeof end); });
  driver.Clock().Advance(60000);
  Drain();
  auto seen = RecordingRoot::Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].cls, "Events::XPM_EVENT_FULL_SCAN_COMPLETE");
  EXPECT_EQ(seen[0].numbers, (std::vector<int32_t>{7, 8}));
}

TEST_F(GuiLoopTest, PanelKeyIsMarkedAndPostsItsNameAsAFactoryMessage) {
  const int menuPanel = host::kFirstPanelKey + 5;  // Menu
  events_.PostKey(menuPanel, true);
  Drain();
  auto seen = RecordingRoot::Take();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].cls, "Events::XPM_EVENT_KEY");
  EXPECT_EQ(seen[0].fromPanel, 1);
  EXPECT_EQ(seen[0].code, host::PlatformToGuiKey(menuPanel));
  EXPECT_EQ(seen[1].cls, "Events::XPM_EVENT_FACTORY_COMMAND");
  EXPECT_EQ(seen[1].kind, 3);
  EXPECT_EQ(seen[1].text, "Menu");
  EXPECT_EQ(seen[1].value, 0x10010);
  EXPECT_EQ(seen[1].target, KV_LATE_CLASS("FactorySystem::SmallMessage"));
}

TEST_F(GuiLoopTest, KeysAndEventsStopWhileProcessingIsOff) {
  host::SetEventProcessing(false);
  events_.PostKey(PlatformCodeOf("menu"), true);
  XPM_ScanEndPayload end{1, 2};
  host::kv_xpmEventCallback(XPM_EVT_FULL_SCAN_COMPLETE, &end, sizeof end);
  Drain();
  EXPECT_TRUE(RecordingRoot::Take().empty());
  host::SetEventProcessing(true);
  host::kv_xpmEventCallback(XPM_EVT_FULL_SCAN_COMPLETE, &end, sizeof end);
  Drain();
  EXPECT_EQ(RecordingRoot::Take().size(), 1u);
}

// --- Middleware payloads ---------------------------------------------------------------

struct RawScan {
  XPM_FullScanProgress head;
  XPM_ScanChannel channels[120];
};

TEST_F(GuiLoopTest, ScanProgressIsPackedWordByWord) {
  RawScan raw{};
  raw.head.param[0] = 33;   // physical channel
  raw.head.param[1] = 5;
  raw.head.param[2] = 42;   // percent
  raw.head.param[3] = 1;    // flag
  raw.head.param[4] = 999;  // unused words stay out
  raw.head.param[7] = 3;
  raw.channels[0] = {33, 1};
  raw.channels[1] = {33, 2};
  raw.channels[2] = {7, 0};
  host::kv_xpmEventCallback(XPM_EVT_FULL_SCAN_PROGRESS, &raw, sizeof raw.head + 3 * sizeof(XPM_ScanChannel));
  Drain();
  auto seen = RecordingRoot::Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].cls, "Events::XPM_EVENT_CHANNEL_SCAN_PROGRESS");
  EXPECT_EQ(seen[0].numbers, (std::vector<int32_t>{33, 5, 42, 3, 1, 33, 1, 33, 2, 7, 0}));

  // The count is capped at 99.
  raw.head.param[7] = 120;
  for (int i = 0; i < 120; ++i) raw.channels[i] = {static_cast<uint16_t>(i + 1), 1};
  host::kv_xpmEventCallback(XPM_EVT_FULL_SCAN_PROGRESS, &raw, sizeof raw);
  Drain();
  seen = RecordingRoot::Take();
  ASSERT_EQ(seen.size(), 1u);
  ASSERT_EQ(seen[0].numbers.size(), 5u + 2 * 99);
  EXPECT_EQ(seen[0].numbers[3], 99);
  EXPECT_EQ(seen[0].numbers[5 + 2 * 98], 99);  // the 99th channel's major

  // No lock: found 0, no channels, and the log says so.
  raw.head.param[7] = 0;
  host::kv_xpmEventCallback(XPM_EVT_FULL_SCAN_PROGRESS, &raw, sizeof raw.head);
  Drain();
  seen = RecordingRoot::Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].numbers, (std::vector<int32_t>{33, 5, 42, 0, 1}));
  EXPECT_TRUE(Logged(": No lock"));
}

TEST_F(GuiLoopTest, GuideScanProgressKeeps16BitPositionAndTotal) {
  XPM_EpgScanProgress raw{0x10005, 0x20009, 12, 3};
  host::kv_xpmEventCallback(XPM_EVT_EPG_SCAN_PROGRESS, &raw, sizeof raw);
  Drain();
  auto seen = RecordingRoot::Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].cls, "Events::XPM_EVENT_EPG_CHANNEL_SCAN_PROGRESS");
  EXPECT_EQ(seen[0].numbers, (std::vector<int32_t>{5, 9, 12, 3}));
}

TEST_F(GuiLoopTest, ShortPayloadsAreDroppedWithoutReadingPastThem) {
  // A raw scan progress naming more channels than it carries: only those present.
  const size_t rawLen = sizeof(XPM_FullScanProgress) + 2 * sizeof(XPM_ScanChannel);
  std::unique_ptr<uint8_t[]> raw(new uint8_t[rawLen]);
  XPM_FullScanProgress head{};
  head.param[7] = 50;
  std::memcpy(raw.get(), &head, sizeof head);
  std::memset(raw.get() + sizeof head, 1, 2 * sizeof(XPM_ScanChannel));
  host::kv_xpmEventCallback(XPM_EVT_FULL_SCAN_PROGRESS, raw.get(), static_cast<uint32_t>(rawLen));
  // Too short for its parameters at all (exactly 20 bytes allocated).
  std::unique_ptr<uint8_t[]> tiny(new uint8_t[20]());
  host::kv_xpmEventCallback(XPM_EVT_FULL_SCAN_PROGRESS, tiny.get(), 20);
  host::kv_xpmEventCallback(XPM_EVT_EPG_SCAN_PROGRESS, tiny.get(), 12);
  // Posted payloads shorter than their event: a scan end of 4 bytes, a factory command record cut short.
  events_.PostUser(XPM_EVT_FULL_SCAN_COMPLETE, tiny.get(), 4);
  events_.PostUser(XPM_EVT_FACTORY, tiny.get(), 20);
  // An id without an event class.
  events_.PostUser(0x7777, tiny.get(), 4);
  Drain();
  auto seen = RecordingRoot::Take();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].numbers[3], 2);  // found: the two channels present
  EXPECT_TRUE(Logged("carries 2"));
  EXPECT_TRUE(Logged("scan progress of 20 bytes is too short"));
  EXPECT_TRUE(Logged("guide scan progress of 12 bytes is too short"));
  EXPECT_TRUE(Logged("with 4 bytes, needs 8, dropped"));
  EXPECT_TRUE(Logged("command record of 20 bytes is too short"));
  EXPECT_TRUE(Logged("0x7777 has no event class"));
}

TEST_F(GuiLoopTest, FactoryEventsByTheirFirstWord) {
  XPM_FactoryEvent discrete{};
  discrete.type = XPM_FACTORY_TYPE_DISCRETE_KEY;
  discrete.command.code = 0x40BFCD;
  host::kv_xpmEventCallback(XPM_EVT_FACTORY, &discrete, 8);
  XPM_FactoryEvent command{};
  command.type = XPM_FACTORY_TYPE_COMMAND;
  command.command.code = 0x40EE03FC;
  host::kv_xpmEventCallback(XPM_EVT_FACTORY, &command, sizeof command);  // leaving factory mode: a raw command
  XPM_FactoryEvent unknown{};
  unknown.type = XPM_FACTORY_TYPE_COMMAND;
  unknown.command.code = 0x12345678;  // matches no command: no event
  host::kv_xpmEventCallback(XPM_EVT_FACTORY, &unknown, sizeof unknown);
  XPM_FactoryEvent fan{};
  fan.type = XPM_FACTORY_TYPE_FAN_ERROR;
  host::kv_xpmEventCallback(XPM_EVT_FACTORY, &fan, 4);
  // The fan error is the event of its own id, whichever class serves it.
  evreg::RegisterEventFactory(XPM_EVT_FAN_ERROR, 0, [](const uint8_t*, size_t) -> kv::Object* {
    return kv::New<Events::XPM_EVENT_FULL_SCAN_ABORTED>();
  });
  testing::internal::CaptureStderr();  // the log's one stream
  Drain();
  const std::string out = testing::internal::GetCapturedStderr();
  evreg::RegisterEventFactory(XPM_EVT_FAN_ERROR, 0, nullptr);
  auto seen = RecordingRoot::Take();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].cls, "Events::XPM_EVENT_FACTORY_COMMAND");
  EXPECT_EQ(seen[0].kind, 2);
  EXPECT_EQ(seen[0].value, 0x40BFCD);
  EXPECT_NE(out.find("OAM_EVENT_CUSTOM_DISCRET_KEY 40bfcd\n"), std::string::npos);
  EXPECT_EQ(seen[1].cls, "Events::XPM_EVENT_FACTORY_COMMAND");
  EXPECT_EQ(seen[1].kind, 2);
  EXPECT_EQ(static_cast<uint32_t>(seen[1].value), 0x40EE03FCu);
  EXPECT_EQ(seen[2].cls, "Events::XPM_EVENT_FULL_SCAN_ABORTED");
}

TEST_F(GuiLoopTest, NetworkStatusIsReportedToTheSystemManagerAtOnce) {
  XPM_NetworkStatusPayload status{1, 1};
  tv_->ClearCallLog();
  host::kv_xpmEventCallback(XPM_EVT_NETWORK_STATUS, &status, sizeof status);
  EXPECT_EQ(tv_->Calls("TVSM_ReportAsyncEvent"), (std::vector<std::string>{"TVSM_ReportAsyncEvent(1, 40, 8, \"0100000001000000\")"}));
  EXPECT_EQ(events_.Pending(), 1u);  // and posted like every other event
  tv_->FailCall("TVSM_ReportAsyncEvent", 0);
  host::kv_xpmEventCallback(XPM_EVT_NETWORK_STATUS, &status, sizeof status);
  EXPECT_TRUE(Logged("TVSM_ReportAsyncEvent Error"));
}

// --- OSD sync, captions and the wait --------------------------------------------------------

TEST_F(GuiLoopTest, OsdStateIsToldOnChangeOnlyAndCaptionsGoOffUnderAScreen) {
  tv_->ClearCallLog();
  events_.WakeUp();
  loop_->RunPass();
  events_.WakeUp();
  loop_->RunPass();
  EXPECT_EQ(tv_->Calls("XPM_SetOSDState"), (std::vector<std::string>{"XPM_SetOSDState(0)"}));
  EXPECT_EQ(tv_->Calls("XPM_SetCaptionRendering"), (std::vector<std::string>{"XPM_SetCaptionRendering(1)"}));
  EXPECT_FALSE(host::PublishedOsdShown());
  EXPECT_TRUE(host::PublishedCaptionOn());

  root_->screenShown = true;
  events_.WakeUp();
  loop_->RunPass();
  EXPECT_EQ(tv_->Calls("XPM_SetOSDState").back(), "XPM_SetOSDState(1)");
  EXPECT_EQ(tv_->Calls("XPM_SetCaptionRendering").back(), "XPM_SetCaptionRendering(0)");
  EXPECT_TRUE(host::PublishedOsdShown());
  EXPECT_FALSE(host::PublishedCaptionOn());

  // The system manager forbids captions: they stay off when the screen goes.
  loop_->SetCaptionsAllowed(false);
  root_->screenShown = false;
  events_.WakeUp();
  loop_->RunPass();
  EXPECT_EQ(tv_->CountCalls("XPM_SetCaptionRendering"), 2u);
  EXPECT_EQ(tv_->CountCalls("XPM_SetOSDState"), 3u);

  // A failing call is logged and the loop goes on.
  tv_->FailCall("XPM_SetOSDState", 5);
  root_->screenShown = true;
  events_.WakeUp();
  loop_->RunPass();
  EXPECT_TRUE(Logged("XPM_SetOSDState Error 0x5"));
}

class Pinger : public kv::Object {
  KV_CLASS(hosttest, Pinger, kv::Object)
 public:
  Pinger() = default;
  void Ping(kv::Object*) { ++pings; }
  int pings = 0;
};

TEST_F(GuiLoopTest, WaitIsShortWhileWorkWaitsAndClampedToTheNextTimer) {
  EXPECT_EQ(loop_->WaitTimeout(), host::kIdleWaitMs);

  kv::TimerEntry timer(root_, [](kv::Object*) {});
  timer.Schedule(2000, 2000);
  EXPECT_EQ(loop_->WaitTimeout(), host::kTimerWaitMs);
  timer.Schedule(120, 0);
  EXPECT_EQ(loop_->WaitTimeout(), 120);
  timer.Cancel();

  auto* p = kv::New<Pinger>();
  kv::LockObject(p);  // read after the pass's collection
  kv::PostSignal(kv::MakeSlot(p, &Pinger::Ping));
  EXPECT_EQ(loop_->WaitTimeout(), host::kFastWaitMs);

  events_.WakeUp();
  loop_->RunPass();
  EXPECT_EQ(p->pings, 1);
  kv::UnlockObject(p);
}

TEST_F(GuiLoopTest, ClosuresPostedFromOtherThreadsRunOnTheGuiTaskInOrder) {
  std::vector<int> order;
  FromOtherThread([&] {
    host::RunOnGuiTask([&] { order.push_back(1); });
    XPM_ScanEndPayload end{3, 4};
    host::PostToGui(XPM_EVT_FULL_SCAN_COMPLETE, &end, sizeof end);
    host::RunOnGuiTask([&] { order.push_back(static_cast<int>(RecordingRoot::Peek().size()) + 10); });
  });
  Drain();
  EXPECT_EQ(order, (std::vector<int>{1, 11}));  // the event came between the two
}

TEST_F(GuiLoopTest, ClosedWindowGoesToTheQuitHandler) {
  int quits = 0;
  loop_->SetQuitHandler([&] { ++quits; });
  events_.PostQuit();
  Drain();
  EXPECT_EQ(quits, 1);
  EXPECT_FALSE(loop_->Stopped());
  loop_->SetQuitHandler(nullptr);
  events_.PostQuit();
  Drain();
  EXPECT_TRUE(loop_->Stopped());
}

}  // namespace
