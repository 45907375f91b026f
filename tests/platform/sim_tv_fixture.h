// A running simulated television on a fake clock, in a data directory of its
// own, with the middleware events and log lines it produced.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/sim/sim.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm.h"
#include "runtime/clock.h"
#include "support/capture.h"

namespace simtv {

struct Event {
  uint32_t id;
  std::vector<uint8_t> bytes;
  std::thread::id thread;
  template <class T>
  T As() const {
    T out{};
    EXPECT_EQ(bytes.size(), sizeof(T)) << "event " << id;
    std::memcpy(&out, bytes.data(), std::min(bytes.size(), sizeof(T)));
    return out;
  }
};

inline std::mutex g_mutex;
inline std::vector<Event> g_events;

inline void OnEvent(uint32_t id, const void* payload, uint32_t length) {
  const auto* p = static_cast<const uint8_t*>(payload);
  std::lock_guard<std::mutex> lock(g_mutex);
  g_events.push_back({id, std::vector<uint8_t>(p, p + length), std::this_thread::get_id()});
}

class SimTvTest : public ::testing::Test {
 protected:
  void SetUp() override {
    kv::SetClock(&clock_);
    log_.Start();
    dir_ = kvtest::FreshTestDir("simtv");
    Boot();
  }
  void TearDown() override {
    tv_.reset();
    sim::SetPictureSink(nullptr);
    log_.Stop();
    kv::SetClock(nullptr);
    kvtest::RemoveTestDir(dir_);
    std::lock_guard<std::mutex> lock(g_mutex);
    g_events.clear();
  }

  // Switches the set off and on again.
  void Boot() {
    tv_.reset();
    tv_ = std::make_unique<sim::Sim>(dir_.string());
    tv_->Start();
    ASSERT_EQ(XPM_SubscribeEvents(OnEvent), XPM_OK);
  }

  sim::TvState& State() { return tv_->Tv(); }

  // The events delivered so far (after everything due now ran), and forgets them.
  std::vector<Event> TakeEvents() {
    tv_->Quiesce();
    std::lock_guard<std::mutex> lock(g_mutex);
    return std::exchange(g_events, {});
  }
  // True when a log line containing `text` was written, and forgets the lines.
  bool Logged(const std::string& text) { return kvtest::AnyContains(log_.Take(), text); }

  kv::FakeClock clock_{1000};
  kvtest::LogCapture log_;
  std::filesystem::path dir_;
  std::unique_ptr<sim::Sim> tv_;
};

}  // namespace simtv
