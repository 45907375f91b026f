// A runtime test with a started simulated set in a fresh directory, for the
// skin binding's records and agents that talk to the set.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/sim/sim.h"
#include "platform/sim/sim_tv_state.h"
#include "support/capture.h"
#include "support/kv_test.h"

namespace kvtest {

class SkinSimTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    dir_ = FreshTestDir("skinsim");
    tv_ = std::make_unique<sim::Sim>(dir_.string());
    tv_->Start();
  }
  void TearDown() override {
    tv_->Stop();
    tv_.reset();
    RuntimeTest::TearDown();
    RemoveTestDir(dir_);
  }
  // The first input of a source type.
  int32_t SourceOfType(int32_t type) {
    for (const auto& s : tv_->Tv().Sources())
      if (s.type == type) return s.id;
    return -1;
  }
  std::unique_ptr<sim::Sim> tv_;
  std::filesystem::path dir_;
};

}  // namespace kvtest
