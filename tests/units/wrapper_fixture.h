// The Wrapper tests' fixture: a running simulated television (its state, call
// log and failure injection) on the GUI loop's fake clock, the auto object
// MainApp::Wrapper initialised with a plain root group that records the
// events the Wrapper dispatches, and the trace and log lines. The base
// class's own tests run on a plain Wrapper::Wrapper (the auto object is the
// skin's Wrapper, which replaces some of its operations); a fixture that
// needs the application's instance overrides AppWrapper().
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os/bkni.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm_settings.h"
#include "runtime/collector.h"
#include "support/capture.h"
#include "support/kv_test.h"
#include "units/Core/Group.h"
#include "units/Events/XPM_EVENT_CHANNEL_ACQUIRED.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/Wrapper/Wrapper.h"

namespace wrappertest {

// What the root received: "acquired <status>" or "standby <reason>", and when.
struct Received {
  std::string what;
  int64_t at;
};

class RecordingRoot : public Core::Group {
  KV_CLASS(wrappertest, RecordingRoot, Core::Group)
 public:
  kv::Object* HandleEvent(Core::Event* event) override {
    if (auto* acquired = kv::Cast<Events::XPM_EVENT_CHANNEL_ACQUIRED>(event))
      received.push_back({"acquired " + std::to_string(acquired->Status), kv::Now()});
    else if (auto* standby = kv::Cast<Events::XPM_EVENT_STANDBY>(event))
      received.push_back({"standby " + std::to_string(standby->Reason), kv::Now()});
    return this;
  }
  std::vector<Received> received;
  std::vector<std::string> Names() const {
    std::vector<std::string> out;
    for (const auto& r : received) out.push_back(r.what);
    return out;
  }
};

// The simulated set's inputs.
inline constexpr int32_t kTv = sim::kSourceTv, kTv2 = sim::kSourceTv2, kAv = sim::kSourceAv,
                         kComponent = sim::kSourceComponent, kHdmi1 = sim::kSourceHdmi1, kHdmi2 = sim::kSourceHdmi2,
                         kHdmi3 = sim::kSourceHdmi3, kDvi = sim::kSourceDvi, kPc = sim::kSourcePc,
                         kMultimedia = sim::kSourceMultimedia, kExternal = sim::kSourceExternal;
inline constexpr const char* kTest = "test";

class WrapperTest : public kvtest::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    log_.Start();
    dir_ = kvtest::FreshTestDir("wrapper");
    tv_ = std::make_unique<sim::Sim>(dir_.string());
    tv_->Start();
    // The antenna map (2-1, 2-2, 3, 4-1, 4-2, 4-3 without service, 5-1, 6,
    // 7-1, 7-2, 9-1, 11-1) with 5-1 locked and 7-1 excluded from surfing;
    // window 0 shows the TV input on 2-1.
    State().SetChannelLock(5, 1, 1, kTest);
    State().SetChannelExcluded(0, 7, 1, true);
    root_ = kv::New<RecordingRoot>();
    kv::LockObject(root_);
    if (AppWrapper()) {
      w_ = kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper);
    } else {
      plain_ = kv::New<Wrapper::Wrapper>();
      w_ = plain_.get();
    }
    w_->OnSetRoot(root_);
    w_->Initialize();
    tv_->ClearCallLog();
    ClearLines();
  }

  void TearDown() override {
    kv::UnlockObject(root_);
    plain_.reset();
    tv_->Stop();
    tv_.reset();
    log_.Stop();
    RuntimeTest::TearDown();
    kvtest::RemoveTestDir(dir_);
  }

  virtual bool AppWrapper() const { return false; }
  std::vector<std::string> Calls(std::string_view name) { return tv_->Calls(name); }
  size_t Count(std::string_view name) { return tv_->CountCalls(name); }
  // The calls whose names start with `prefix`, in order.
  std::vector<std::string> CallsStartingWith(std::string_view prefix) {
    std::vector<std::string> out;
    for (const auto& c : tv_->CallLog())
      if (c.rfind(prefix, 0) == 0) out.push_back(c);
    return out;
  }
  std::vector<std::string> Lines() { return log_.Lines(); }
  void ClearLines() { log_.Clear(); }
  bool Logged(std::string_view part) { return log_.Contains(part); }
  sim::TvState& State() { return tv_->Tv(); }
  int32_t Value(sim::Setting setting, int32_t index = 0) { return State().Value(setting, index); }
  void Put(sim::Setting setting, int32_t index, int32_t value) {
    ASSERT_EQ(State().Set(setting, index, value, kTest), 0) << "the set refused " << value;
  }
  // The channel window 0 shows.
  std::pair<int32_t, int32_t> Tuned() {
    int32_t major = 0, minor = 0;
    State().CurrentChannel(0, &major, &minor, kTest);
    return {major, minor};
  }
  int32_t SourceOf(int32_t window) {
    int32_t id = -1;
    State().CurrentSource(window, &id, kTest);
    return id;
  }
  static std::pair<int32_t, int32_t> Numbers(const Structures::VirtualChannel* c) {
    return c ? std::pair{c->Major, c->Minor} : std::pair{-99, -99};
  }

  std::unique_ptr<sim::Sim> tv_;
  RecordingRoot* root_ = nullptr;
  Wrapper::Wrapper* w_ = nullptr;
  kv::Persistent<Wrapper::Wrapper> plain_;
  std::filesystem::path dir_;
  kvtest::LogCapture log_;
};

}  // namespace wrappertest
