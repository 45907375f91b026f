// The simulated television and the C stand-ins it serves.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/oam/oam.h"
#include "platform/os/bkni.h"
#include "platform/os/gui_lock.h"
#include "platform/os/mplcore.h"
#include "platform/os/runners.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/tvsm/tvsm.h"
#include "platform/xpm/xpm.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "runtime/clock.h"
#include "support/capture.h"

namespace {

struct Received {
  uint32_t id;
  std::vector<uint8_t> bytes;
  std::thread::id thread;
};

std::mutex g_mutex;
std::vector<Received> g_received;
std::vector<TVSM_Command> g_commands;

void OnEvent(uint32_t id, const void* payload, uint32_t length) {
  const auto* p = static_cast<const uint8_t*>(payload);
  std::lock_guard<std::mutex> lock(g_mutex);
  g_received.push_back({id, std::vector<uint8_t>(p, p + length), std::this_thread::get_id()});
}

void OnCommand(const TVSM_Command* cmd) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_commands.push_back(*cmd);
}

std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// A state file's text with the checksum of its closing line taken off
// ("#end 2 1a2b3c4d" reads "#end 2"), for comparing its lines.
std::string Lines(const std::filesystem::path& p) {
  std::string text = ReadFile(p);
  const size_t end = text.rfind("#end ");
  if (end == std::string::npos) return text;
  const size_t space = text.find(' ', end + 5);
  if (space != std::string::npos) text.erase(space, text.size() - 1 - space);
  return text;
}

class SimTest : public ::testing::Test {
 protected:
  void SetUp() override {
    kv::SetClock(&clock_);
    dir_ = kvtest::FreshTestDir("sim");
    tv_ = std::make_unique<sim::Sim>(dir_.string());
    tv_->Start();
    std::lock_guard<std::mutex> lock(g_mutex);
    g_received.clear();
    g_commands.clear();
  }
  void TearDown() override {
    tv_.reset();
    kv::SetClock(nullptr);
    kvtest::RemoveTestDir(dir_);
  }
  size_t ReceivedCount() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_received.size();
  }

  kv::FakeClock clock_{5000};
  std::filesystem::path dir_;
  std::unique_ptr<sim::Sim> tv_;
};

TEST_F(SimTest, InjectedEventsArriveOnTheSimThreadWhenTheClockGetsThere) {
  ASSERT_EQ(XPM_SubscribeEvents(OnEvent), XPM_OK);
  XPM_ScanEndPayload end{-1, 3};
  tv_->Inject(XPM_EVT_FULL_SCAN_COMPLETE, end, clock_.Now() + 100);
  tv_->Inject(XPM_EVT_FACTORY, nullptr, 0);  // due now
  // The set's thread may have sent the event due now already.
  const int64_t due = tv_->NextDue();
  EXPECT_TRUE(due == clock_.Now() || due == clock_.Now() + 100) << due;
  tv_->Quiesce();
  ASSERT_EQ(ReceivedCount(), 1u);
  EXPECT_EQ(tv_->NextDue(), clock_.Now() + 100);

  clock_.Advance(99);
  tv_->Quiesce();
  EXPECT_EQ(ReceivedCount(), 1u);
  clock_.Advance(1);
  tv_->Quiesce();
  ASSERT_EQ(ReceivedCount(), 2u);
  std::lock_guard<std::mutex> lock(g_mutex);
  EXPECT_EQ(g_received[0].id, uint32_t{XPM_EVT_FACTORY});
  EXPECT_TRUE(g_received[0].bytes.empty());
  EXPECT_EQ(g_received[1].id, uint32_t{XPM_EVT_FULL_SCAN_COMPLETE});
  ASSERT_EQ(g_received[1].bytes.size(), sizeof end);
  EXPECT_EQ(std::memcmp(g_received[1].bytes.data(), &end, sizeof end), 0);
  EXPECT_NE(g_received[1].thread, std::this_thread::get_id());
  EXPECT_EQ(tv_->NextDue(), -1);
}

// A test may move from its fake clock to the real one while the set runs;
// the set's thread then keeps time on the real clock (it used to stay on the
// clock it started with and waited for a fake time that never came).
TEST_F(SimTest, TheSetFollowsAClockInstalledWhileItRuns) {
  ASSERT_EQ(XPM_SubscribeEvents(OnEvent), XPM_OK);
  tv_->Inject(XPM_EVT_FACTORY, nullptr, 0);
  tv_->Quiesce();  // the set's thread is running on the fake clock
  ASSERT_EQ(ReceivedCount(), 1u);
  kv::SetClock(nullptr);
  tv_->Inject(XPM_EVT_FACTORY, nullptr, 0);
  for (int i = 0; i < 200 && ReceivedCount() < 2; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(ReceivedCount(), 2u);
}

TEST_F(SimTest, NoEventAfterUnsubscribing) {
  ASSERT_EQ(XPM_SubscribeEvents(OnEvent), XPM_OK);
  ASSERT_EQ(XPM_UnsubscribeEvents(), XPM_OK);
  tv_->Inject(XPM_EVT_FACTORY, nullptr, 0);
  tv_->Quiesce();
  EXPECT_EQ(ReceivedCount(), 0u);
}

// A long run keeps the log's memory bounded: long calls (an application's
// launch data) take the place of several short ones, and a full log keeps
// the newest 100,000 calls.
TEST_F(SimTest, CallLogKeepsTheNewestCallsWithinItsBounds) {
  tv_->ClearCallLog();
  const std::string data(2000, 'x');
  for (int i = 0; i < 5000; ++i) tv_->Enter("TVSM_LaunchApp", sim::Args(i, data));  // 10 MB of text
  std::vector<std::string> log = tv_->CallLog();
  size_t bytes = 0;
  for (const std::string& e : log) bytes += e.size();
  EXPECT_LE(bytes, size_t{4} << 20);
  EXPECT_GT(bytes, size_t{3} << 20);
  EXPECT_EQ(log.back(), "TVSM_LaunchApp(4999, \"" + data + "\")");
  for (int i = 0; i < 150000; ++i) tv_->Enter("XPM_GetVolume", "");
  log = tv_->CallLog();
  EXPECT_EQ(log.size(), 100000u);
  EXPECT_EQ(log.front(), "XPM_GetVolume()");
}

TEST_F(SimTest, CallLogAndChosenFailures) {
  tv_->ClearCallLog();
  EXPECT_EQ(XPM_SetOSDState(1), XPM_OK);
  EXPECT_EQ(tv_->MiddlewareSnapshot().osdShown, 1);
  tv_->FailCall("XPM_SetOSDState", 5);
  EXPECT_EQ(XPM_SetOSDState(0), 5);
  EXPECT_EQ(tv_->MiddlewareSnapshot().osdShown, 1);  // a failed call changes nothing
  EXPECT_EQ(tv_->Calls("XPM_SetOSDState"), (std::vector<std::string>{"XPM_SetOSDState(1)", "XPM_SetOSDState(0)"}));
  EXPECT_EQ(TVSM_RegisterWindowId(3), TVSM_OK);
  EXPECT_EQ(OAM_ReportMonitor(1, 0), OAM_OK);
  EXPECT_EQ(tv_->CallLog().back(), "OAM_ReportMonitor(1, 0)");

  // TVSM_ReportAsyncEvent answers 0 on failure, non-zero on success.
  XPM_NetworkStatusPayload status{0, 1};
  EXPECT_NE(TVSM_ReportAsyncEvent(TVSM_SENDER_UI, TVSM_ASYNC_NETWORK_STATUS, &status, sizeof status), 0);
  tv_->FailCall("TVSM_ReportAsyncEvent", 0);
  EXPECT_EQ(TVSM_ReportAsyncEvent(TVSM_SENDER_UI, TVSM_ASYNC_NETWORK_STATUS, &status, sizeof status), 0);
  tv_->ClearFailures();
  EXPECT_EQ(XPM_SetOSDState(0), XPM_OK);

  // Without a running Sim every call answers its "not ready".
  tv_->Stop();
  EXPECT_EQ(XPM_SetOSDState(1), XPM_ERR_NOT_READY);
  EXPECT_EQ(TVSM_ReportAsyncEvent(TVSM_SENDER_UI, 1, nullptr, 0), 0);
  EXPECT_EQ(TVSM_WaitStandby(), 0);
}

TEST_F(SimTest, CaptionStateSurvivesARestartInAnAtomicallyWrittenFile) {
  int32_t on = -1;
  ASSERT_EQ(XPM_GetCaptionRendering(&on), XPM_OK);
  EXPECT_EQ(on, 0);
  ASSERT_EQ(XPM_SetCaptionRendering(1), XPM_OK);
  tv_.reset();
  EXPECT_EQ(Lines(dir_ / "tvsim.state"), "caption.rendering=1\n#end 1\n");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "tvsim.state.new"));

  tv_ = std::make_unique<sim::Sim>(dir_.string());
  tv_->Start();
  ASSERT_EQ(XPM_GetCaptionRendering(&on), XPM_OK);
  EXPECT_EQ(on, 1);
  EXPECT_FALSE(tv_->SetState("bad=key", "x"));
}

// The saver thread writes on its own; waits (in real time) until the file reads `text`.
bool FileBecomes(const std::filesystem::path& p, const std::string& text) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (Lines(p) != text) {
    if (std::chrono::steady_clock::now() > giveUp) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

TEST_F(SimTest, ChangesAreSavedByTheSaverAtMostOncePerIntervalAndAllOnStop) {
  const std::filesystem::path file = dir_ / "tvsim.state";
  ASSERT_EQ(XPM_SetCaptionRendering(1), XPM_OK);
  ASSERT_TRUE(FileBecomes(file, "caption.rendering=1\n#end 1\n"));  // the first change goes out at once

  // Within the interval the changes wait, and are written together.
  ASSERT_TRUE(tv_->SetState("a", "1"));
  ASSERT_TRUE(tv_->SetState("a", "2"));
  EXPECT_EQ(Lines(file), "caption.rendering=1\n#end 1\n") << "the clock has not moved: nothing written yet";
  clock_.Advance(sim::Sim::kSaveIntervalMs - 1);
  EXPECT_EQ(Lines(file), "caption.rendering=1\n#end 1\n");
  clock_.Advance(1);
  EXPECT_TRUE(FileBecomes(file, "a=2\ncaption.rendering=1\n#end 2\n"));

  // Flush writes what is pending at once; Stop does too.
  ASSERT_TRUE(tv_->SetState("a", "3"));
  ASSERT_TRUE(tv_->Flush());
  EXPECT_EQ(Lines(file), "a=3\ncaption.rendering=1\n#end 2\n");
  EXPECT_TRUE(tv_->Flush()) << "nothing pending";
  ASSERT_TRUE(tv_->SetState("a", "4"));
  tv_->Stop();
  EXPECT_EQ(Lines(file), "a=4\ncaption.rendering=1\n#end 2\n");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "tvsim.state.new"));

  // Without a running saver a change waits for Flush or the end of the Sim.
  ASSERT_TRUE(tv_->SetState("a", "5"));
  EXPECT_EQ(Lines(file), "a=4\ncaption.rendering=1\n#end 2\n");
  tv_.reset();
  EXPECT_EQ(Lines(file), "a=5\ncaption.rendering=1\n#end 2\n");
}

TEST_F(SimTest, SerialPortWritesTheServiceLog) {
  EXPECT_EQ(XPM_PrintStringUART("lost\n"), XPM_ERR_NOT_READY);
  ASSERT_EQ(XPM_OpenUART(), XPM_OK);
  EXPECT_EQ(XPM_PrintStringUART("Factory: \xe9t\xe9\n"), XPM_OK);
  EXPECT_EQ(XPM_PrintStringUART(nullptr), XPM_ERR_INVALID_PARAM);
  ASSERT_EQ(XPM_CloseUART(), XPM_OK);
  EXPECT_EQ(ReadFile(dir_ / "serial.log"), "Factory: \xe9t\xe9\n");
}

TEST_F(SimTest, StandbyCallFollowsThePowerState) {
  ASSERT_EQ(TVSM_RegisterProcessCommandCallback(OnCommand), TVSM_OK);
  EXPECT_EQ(TVSM_WaitStandby(), 1);

  tv_->Standby();
  std::atomic<int> answer{-1};
  std::thread waiter([&] { answer = TVSM_WaitStandby(); });
  tv_->Quiesce();
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    ASSERT_EQ(g_commands.size(), 1u);
    EXPECT_EQ(g_commands[0].id, uint32_t{TVSM_CMD_STOP});
  }
  EXPECT_EQ(answer.load(), -1);  // still in standby (checked again below after Resume)
  tv_->Resume();
  waiter.join();
  EXPECT_EQ(answer.load(), 1);

  tv_->PowerOff();
  EXPECT_EQ(TVSM_WaitStandby(), 0);
  tv_->Quiesce();
  std::lock_guard<std::mutex> lock(g_mutex);
  ASSERT_EQ(g_commands.size(), 2u);
  EXPECT_EQ(g_commands[1].id, uint32_t{TVSM_CMD_STOP});
}

TEST_F(SimTest, CommandsCarryTheirDataAndArriveInOrder) {
  ASSERT_EQ(TVSM_RegisterProcessCommandCallback(OnCommand), TVSM_OK);
  const char text[] = "hello";
  tv_->SendCommand(40, 9, text, sizeof text);
  tv_->SendCommand(TVSM_CMD_CAPTION_STATE, 1);
  tv_->Quiesce();
  std::lock_guard<std::mutex> lock(g_mutex);
  ASSERT_EQ(g_commands.size(), 2u);
  EXPECT_EQ(g_commands[0].id, 40u);
  EXPECT_EQ(g_commands[0].param, 9);
  EXPECT_EQ(g_commands[0].length, sizeof text);
  EXPECT_STREQ(reinterpret_cast<const char*>(g_commands[0].data), "hello");
  EXPECT_EQ(g_commands[1].id, uint32_t{TVSM_CMD_CAPTION_STATE});
}

TEST_F(SimTest, MountMakesTheFolderUnderTheDataDirectoryUnlessToldToFail) {
  EXPECT_EQ(MPLCore_MountPartition("stagecraft", "/mnt/stagecraft"), BKNI_SUCCESS);
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "mnt/stagecraft"));
  EXPECT_EQ(tv_->TargetPath("/mnt/stagecraft"), (dir_ / "mnt/stagecraft").string());
  tv_->FailCall("MPLCore_MountPartition", 7);
  EXPECT_EQ(MPLCore_MountPartition("stagecraft", "/mnt/other"), 7);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "mnt/other"));
  EXPECT_EQ(vudu_runner_init(), 0);
  EXPECT_EQ(tv_->CallLog().back(), "vudu_runner_init()");
}

TEST_F(SimTest, GuiLockIsFilledInWhileTheSimRuns) {
  EXPECT_EQ(g_qvak_mutex, tv_->GuiLock());
  ASSERT_NE(g_qvak_mutex, nullptr);
  tv_.reset();
  EXPECT_EQ(g_qvak_mutex, nullptr);
}

// --- The OS layer ------------------------------------------------------------------------

TEST(BkniTest, AllocationsAreTrackedAndDoubleFreesCaught) {
  const size_t live = BKNI_LiveAllocations();
  const size_t bad = BKNI_BadFrees();
  void* a = BKNI_Malloc(16);
  void* b = BKNI_Malloc(0);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(BKNI_LiveAllocations(), live + 2);
  BKNI_Free(a);
  BKNI_Free(a);  // the second is refused, not passed on
  int onStack = 0;
  BKNI_Free(&onStack);
  EXPECT_EQ(BKNI_BadFrees(), bad + 2);
  EXPECT_EQ(BKNI_LiveAllocations(), live + 1);  // b leaks until freed
  BKNI_Free(b);
  EXPECT_EQ(BKNI_LiveAllocations(), live);
}

TEST(BkniTest, WaitsFollowTheSharedClock) {
  kv::FakeClock clock(0);
  kv::SetClock(&clock);
  BKNI_EventHandle ev = nullptr;
  ASSERT_EQ(BKNI_CreateEvent(&ev), BKNI_SUCCESS);
  BKNI_SetEvent(ev);
  EXPECT_EQ(BKNI_WaitForEvent(ev, 0), BKNI_SUCCESS);  // taken...
  EXPECT_EQ(BKNI_WaitForEvent(ev, 0), BKNI_TIMEOUT);  // ...once

  std::atomic<int32_t> result{-1};
  std::thread waiter([&] { result = BKNI_WaitForEvent(ev, 500); });
  // The wait ends only when the clock reaches its deadline, however long that takes in real time.
  while (result.load() == -1) {
    clock.Advance(50);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  waiter.join();
  EXPECT_EQ(result.load(), BKNI_TIMEOUT);
  EXPECT_GE(clock.Now(), 500);
  BKNI_DestroyEvent(ev);

  MPLCore_QueueHandle q = MPLCore_CreateQueue(2, sizeof(int32_t));
  int32_t v = 1;
  EXPECT_EQ(MPLCore_SendQueue(q, &v, sizeof v), BKNI_SUCCESS);
  v = 2;
  EXPECT_EQ(MPLCore_SendQueue(q, &v, sizeof v), BKNI_SUCCESS);
  EXPECT_NE(MPLCore_SendQueue(q, &v, sizeof v), BKNI_SUCCESS);  // full: refused, never blocks
  int32_t out = 0;
  EXPECT_EQ(MPLCore_ReceiveQueue(q, &out, sizeof out, 0), BKNI_SUCCESS);
  EXPECT_EQ(out, 1);
  EXPECT_EQ(MPLCore_ReceiveQueue(q, &out, sizeof out, 0), BKNI_SUCCESS);
  EXPECT_EQ(out, 2);
  EXPECT_EQ(MPLCore_ReceiveQueue(q, &out, sizeof out, 0), BKNI_TIMEOUT);
  MPLCore_DestroyQueue(q);
  kv::SetClock(nullptr);
}

}  // namespace

// Each channel's picture: a ramp of one colour and, in the middle, a disc of
// the opposite colour (the hue half a turn away), whatever the colour.
TEST(SimPictureTest, TheDiscTakesTheOppositeColourOfTheRamp) {
  const auto hue = [](uint32_t p) {
    const double r = p & 0xFF, g = (p >> 8) & 0xFF, b = (p >> 16) & 0xFF;
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b}), d = mx - mn;
    if (d == 0) return 0.0;
    double h = mx == r ? (g - b) / d : mx == g ? 2 + (b - r) / d : 4 + (r - g) / d;
    h *= 60;
    return h < 0 ? h + 360 : h;
  };
  int sectors[6] = {};
  for (uint32_t key = 1; key <= 300; ++key) {
    int32_t w = 0, h = 0;
    const std::vector<uint32_t> pixels = sim::MakePicture(key, false, &w, &h);
    const uint32_t ramp = pixels[static_cast<size_t>(h / 2) * static_cast<size_t>(w)];  // left edge, dark band
    const uint32_t disc = pixels[static_cast<size_t>(h / 2) * static_cast<size_t>(w) + static_cast<size_t>(w / 2)];
    const double a = hue(ramp), b = hue(disc);
    ++sectors[static_cast<int>(a) / 60 % 6];
    const double apart = 180.0 - std::fabs(std::fmod(b - a + 540.0, 360.0) - 180.0);  // 0 when half a turn apart
    EXPECT_LT(apart, 15.0) << "key " << key << ": ramp hue " << a << ", disc hue " << b;
  }
  for (int s : sectors) EXPECT_GT(s, 0) << "every sixth of the colour circle is met";
}
