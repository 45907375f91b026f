// The process ends after its key script even when the system manager cannot
// reach it: a start-up registration that fails (or every middleware call
// failing) leaves no road for the stop command, so the host ends its own
// loop. Each run plays a short script on the whole application, which must
// answer its keys and end with its status.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <sstream>
#include <string>
#include <thread>

#include "host/app.h"
#include "host/key_script.h"
#include "platform/sim/sim.h"
#include "runtime/clock.h"
#include "runtime/runtime.h"
#include "tvui_paths.h"

namespace {

std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class NoStopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = std::filesystem::temp_directory_path() / ("tvui-nostop-" + std::to_string(::getpid()));
    std::filesystem::remove_all(base_);
    std::filesystem::create_directories(base_);
    // The menu key opens the main menu over live TV: the two shots differ
    // only when the key was answered.
    std::ofstream(base_ / "keys.txt") << "wait 2000\nshot before\nmenu\nwait 1000\nshot after\n";
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(base_, ec);
  }

  // One headless run of the application on a new data folder, the set told
  // by `fail` which calls fail before anything starts. A run that does not
  // end is the fault under test: it is reported and the test program ends,
  // as the stuck GUI task cannot be taken back.
  int Run(const std::string& name, const std::function<void(sim::Sim&)>& fail) {
    kv::Runtime::ResetForTests();
    kv::VirtualClock clock(0);
    kv::SetClock(&clock);
    int status = -1;
    {
      sim::Sim tv((base_ / (name + "-data")).string());
      fail(tv);
      tv.Start();
      host::Options options;
      options.dataDir = (base_ / (name + "-data")).string();
      options.backend = dfb::Backend::kHeadless;
      options.fontPath = TVUI_BINARY_DIR "/fonts/tt7268m_803.ttf";
      options.keysFile = (base_ / "keys.txt").string();
      EXPECT_TRUE(host::KeyScript::Read(options.keysFile, &options.keysScript, nullptr));
      options.shotsDir = (base_ / name).string();
      options.skipSetup = true;
      std::packaged_task<int()> run([&options] { return host::app_main(options); });
      std::future<int> done = run.get_future();
      std::thread app(std::move(run));
      if (done.wait_for(std::chrono::seconds(120)) != std::future_status::ready) {
        std::fprintf(stderr, "%s: the program did not end after its key script\n", name.c_str());
        std::fflush(stderr);
        std::_Exit(1);
      }
      app.join();
      status = done.get();
      host::ShutDownGui();
      tv.Stop();
    }
    kv::SetClock(nullptr);
    kv::Runtime::ResetForTests();
    return status;
  }

  // The key of the script changed the screen.
  void ExpectKeysAnswered(const std::string& name) {
    const std::string before = ReadFile(base_ / name / "before.png");
    const std::string after = ReadFile(base_ / name / "after.png");
    ASSERT_FALSE(before.empty()) << name;
    ASSERT_FALSE(after.empty()) << name;
    EXPECT_NE(before, after) << name << ": the menu key changed nothing on screen";
  }

  std::filesystem::path base_;
};

TEST_F(NoStopTest, EachFailedStartUpRegistrationStillAnswersKeysAndEnds) {
  for (const char* call : {"TVSM_RegisterProcessCommandCallback", "TVSM_RegisterKeyCallback",
                           "TVSM_RegisterOSDStateCallback", "TVSM_RegisterWindowId", "XPM_SubscribeEvents",
                           "TVSM_RegisterTableRegisterValueChangeNotice"}) {
    SCOPED_TRACE(call);
    EXPECT_EQ(Run(call, [call](sim::Sim& tv) { tv.FailCall(call, 1); }), 0);
    ExpectKeysAnswered(call);
  }
}

// Every call answers 1: a failure for all of them, "switched on" for the
// standby wait, which would start the GUI again and again after each round.
TEST_F(NoStopTest, EveryMiddlewareCallFailingStillAnswersKeysAndEnds) {
  EXPECT_EQ(Run("all", [](sim::Sim& tv) { tv.FailEveryCall(1); }), 0);
  ExpectKeysAnswered("all");
}

}  // namespace
