// The skin event agent's rules: what it may take (CheckHandle) and what it
// leaves unhandled for the other receivers (KeepEventUnhandled).
#include <gtest/gtest.h>

#include "runtime/auto_object.h"
#include "runtime/member.h"
#include "support/kv_test.h"
#include "units/Agent/MessageAgent.h"
#include "units/Core/Root.h"
#include "units/Events/USER_EVENT_CACHED_MESSAGE.h"
#include "units/Events/XPM_EVENT_CHANNEL_ACQUIRED.h"
#include "units/Events/XPM_EVENT_SOURCE_ACQUIRED.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Primitives/KeyRoutingGroup.h"
#include "units/SkinBin/EventAgent.h"
#include "units/Structures/Message.h"
#include "units/WidgetManager/WidgetManager.h"

namespace skineventagenttest {
namespace {

// An agent whose screen-in-operation answer the test sets.
class Agent : public SkinBin::EventAgent {
  KV_CLASS(skineventagenttest, Agent, SkinBin::EventAgent)
 public:
  bool IsScreenInOperation() override { return busy; }
  bool busy = false;
};
KV_REGISTER_CLASS(skineventagenttest::Agent);

class SkinEventAgentTest : public kvtest::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    root = kv::New<Core::Root>();
    system = kv::New<Primitives::KeyRoutingGroup>();
    root->Add(system);
    agent = kv::New<Agent>();
    agent->Wrapper = kv::New<kv::Object>();
    agent->WidgetManager = kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
    agent->MessageAgent = kv::GetAutoObject<::Agent::MessageAgent>(MainApp::MessageAgent);
  }
  static Events::XPM_EVENT_SOURCE_ACQUIRED* Source(int32_t window) {
    auto* e = kv::New<Events::XPM_EVENT_SOURCE_ACQUIRED>();
    e->Window = window;
    e->Status = 16;
    return e;
  }
  void OpenScreen(uint32_t winId) {
    auto* s = kv::New<Primitives::KeyRoutingForm>();
    s->Layer = 2;
    s->WinID = winId;
    s->Parent = system.get();
    s->Open();
  }
  kv::Persistent<Core::Root> root;
  kv::Persistent<Primitives::KeyRoutingGroup> system;
  kv::Persistent<Agent> agent;
};

TEST_F(SkinEventAgentTest, TakesNothingUntilWired) {
  auto* bare = kv::New<SkinBin::EventAgent>();
  EXPECT_FALSE(bare->CheckHandle(Source(0)));
  EXPECT_FALSE(agent->CheckHandle(nullptr));
  EXPECT_TRUE(agent->CheckHandle(Source(0)));
  EXPECT_TRUE(agent->CheckHandle(kv::New<Events::XPM_EVENT_STANDBY>()));
}

TEST_F(SkinEventAgentTest, RefusesHandledEventsAndAcquisitionsDuringAScreensOperation) {
  auto* ch = kv::New<Events::XPM_EVENT_CHANNEL_ACQUIRED>();
  EXPECT_TRUE(agent->CheckHandle(ch));
  ch->Handled = 1;
  EXPECT_FALSE(agent->CheckHandle(ch));

  agent->busy = true;
  EXPECT_FALSE(agent->CheckHandle(Source(0)));
  auto* cached = kv::New<Events::USER_EVENT_CACHED_MESSAGE>();
  EXPECT_FALSE(agent->CheckHandle(cached));  // no message to deliver
  cached->Message = kv::New<Structures::Message>();
  EXPECT_TRUE(agent->CheckHandle(cached));  // not an acquisition: still taken
}

TEST_F(SkinEventAgentTest, LeavesSubPictureAndMenuTimeAcquisitionsUnhandled) {
  EXPECT_FALSE(agent->KeepEventUnhandled(Source(0)));
  EXPECT_TRUE(agent->KeepEventUnhandled(Source(1)));
  auto* cached = kv::New<Events::USER_EVENT_CACHED_MESSAGE>();
  EXPECT_FALSE(agent->KeepEventUnhandled(cached));

  OpenScreen(0x2000001);  // a screen outside the menu changes nothing
  EXPECT_FALSE(agent->KeepEventUnhandled(Source(0)));
  OpenScreen(0x1000010);  // a menu page
  EXPECT_TRUE(agent->KeepEventUnhandled(Source(0)));
  EXPECT_TRUE(agent->KeepEventUnhandled(kv::New<Events::XPM_EVENT_CHANNEL_ACQUIRED>()));
  EXPECT_FALSE(agent->KeepEventUnhandled(cached));
}

}  // namespace
}  // namespace skineventagenttest
