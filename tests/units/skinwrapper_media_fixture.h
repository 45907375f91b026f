// The fixture of the skin Wrapper's recording and enhancement tests: a
// SkinBin::Wrapper of its own on the Wrapper tests' simulated set, with the
// simulated USB disk plugged in.
#pragma once

#include "platform/xpm/xpm_record.h"
#include "units/SkinBin/Wrapper.h"
#include "wrapper_fixture.h"

namespace wrappertest {

class SkinMediaTest : public WrapperTest {
 protected:
  void SetUp() override {
    WrapperTest::SetUp();
    s_ = kv::New<SkinBin::Wrapper>();
    kv::LockObject(s_);
    s_->OnSetRoot(root_);
    s_->Initialize();
    sim::MountUsbDisk(*tv_);
    tv_->ClearCallLog();
  }
  void TearDown() override {
    kv::UnlockObject(s_);
    WrapperTest::TearDown();
  }
  SkinBin::Wrapper* s_ = nullptr;
};

}  // namespace wrappertest
