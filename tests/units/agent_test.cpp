// The message agent's delivery (everyone, exactly one class, or nobody when
// the named class does not exist; receivers changing the registry during a
// delivery) and the event agent's keeping, processing and acquisition status.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/auto_object.h"
#include "runtime/member.h"
#include "support/kv_test.h"
#include "units/Agent/EventAgent.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/Constants.h"
#include "units/Events/USER_EVENT_CACHED_MESSAGE.h"
#include "units/Events/XPM_EVENT_CHANNEL_ACQUIRED.h"
#include "units/Events/XPM_EVENT_SOURCE_ACQUIRED.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Primitives/KeyRoutingGroup.h"
#include "units/Structures/Message.h"

namespace agenttest {
namespace {

std::vector<std::string>& Heard() {
  static std::vector<std::string> heard;
  return heard;
}

// A screen that notes the messages it gets; it may unregister or register
// another receiver when it gets one.
class Screen : public Primitives::KeyRoutingForm {
  KV_CLASS(agenttest, Screen, Primitives::KeyRoutingForm)
 public:
  void HandleMessage(Structures::Message* msg) override {
    Heard().push_back(name + ":" + std::to_string(msg->Code));
    auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent);
    if (drop) agent->UnRegister(drop);
    if (add) agent->Register(add);
  }
  std::string name;
  kv::Member<kv::Object> drop;
  kv::Member<kv::Object> add;
};

class OtherScreen : public Screen {
  KV_CLASS(agenttest, OtherScreen, Screen)
};

class System : public Primitives::KeyRoutingGroup {
  KV_CLASS(agenttest, System, Primitives::KeyRoutingGroup)
 public:
  void HandleMessage(Structures::Message* msg) override { Heard().push_back("system:" + std::to_string(msg->Code)); }
};

class AgentTest : public kvtest::RuntimeTest {
 protected:
  void SetUp() override {
    kvtest::RuntimeTest::SetUp();
    Heard().clear();
    messages = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent);
    // The base agent's own behaviour (the auto object is the skin's).
    eventsHeld = kv::New<Agent::EventAgent>();
    events = eventsHeld.get();
  }
  template <class T>
  T* Receiver(const char* name) {
    auto* r = kv::New<T>();
    r->name = name;
    messages->Register(r);
    return r;
  }
  Structures::Message* Msg(int32_t code) {
    auto* m = kv::New<Structures::Message>();
    m->Code = code;
    return m;
  }

  Agent::MessageAgent* messages = nullptr;
  Agent::EventAgent* events = nullptr;
  kv::Persistent<Agent::EventAgent> eventsHeld;
};

using Names = std::vector<std::string>;

TEST_F(AgentTest, DeliversToEveryoneOrToExactlyTheTargetClassOrToNobody) {
  Receiver<Screen>("a");
  Receiver<OtherScreen>("b");
  messages->Register(kv::New<System>());
  messages->Register(kv::New<Structures::Message>());  // cannot receive: refused
  EXPECT_EQ(messages->GetReceiverCount(), 3);

  Structures::Message* m = Msg(1);
  EXPECT_EQ(m->IntParam, -1);
  messages->Dispatch(m);
  EXPECT_EQ(Heard(), Names({"a:1", "b:1", "system:1"}));
  EXPECT_EQ(m->Target, nullptr);

  Heard().clear();
  m = Msg(2);
  messages->Dispatch(m, &Screen::StaticClass());  // not the derived class
  EXPECT_EQ(Heard(), Names({"a:2"}));
  EXPECT_EQ(m->Target, &Screen::StaticClass());
  messages->DispatchTo(Msg(3), &System::StaticClass());
  EXPECT_EQ(Heard(), Names({"a:2", "system:3"}));

  Heard().clear();
  messages->DispatchTo(Msg(4), kv::FindClass("NoSuchUnit::NoSuchSystem"));  // a class that does not exist
  messages->DispatchTo(Msg(5), nullptr);
  messages->Dispatch(nullptr);
  EXPECT_TRUE(Heard().empty());
}

TEST_F(AgentTest, AReceiverChangingTheRegistryDuringADeliveryIsRespected) {
  Screen* a = Receiver<Screen>("a");
  Screen* b = Receiver<Screen>("b");
  Screen* c = Receiver<Screen>("c");
  a->drop = b;
  a->add = kv::New<Screen>();
  static_cast<Screen*>(a->add.get())->name = "late";
  messages->Dispatch(Msg(7));
  EXPECT_EQ(Heard(), Names({"a:7", "c:7"}));  // b was dropped before its turn; late came after the walk began
  EXPECT_FALSE(messages->IsRegistered(b));

  Heard().clear();
  a->drop = nullptr;
  a->add = nullptr;
  messages->Register(c);  // twice: still once
  messages->Dispatch(Msg(8));
  EXPECT_EQ(Heard(), Names({"a:8", "c:8", "late:8"}));
  messages->UnRegister(a);
  messages->UnRegister(a);
  messages->Dispatch(Msg(9));
  EXPECT_EQ(Heard().back(), "late:9");
  EXPECT_EQ(Heard().size(), 5u);
}

Events::XPM_EVENT_CHANNEL_ACQUIRED* Channel(int32_t window, int32_t status) {
  auto* e = kv::New<Events::XPM_EVENT_CHANNEL_ACQUIRED>();
  e->Window = window;
  e->Status = status;
  return e;
}
Events::XPM_EVENT_SOURCE_ACQUIRED* Source(int32_t window, int32_t status) {
  auto* e = kv::New<Events::XPM_EVENT_SOURCE_ACQUIRED>();
  e->Window = window;
  e->Status = status;
  return e;
}

TEST_F(AgentTest, KeepsTheLatestEventOfEachKindAndOneAcquisitionPerWindow) {
  // Nothing kept: status 0, yet no signal.
  EXPECT_EQ(events->GetMainWindowAcquiredEvent(), nullptr);
  EXPECT_EQ(events->GetMainWindowAcquiredStatus(), 0);
  EXPECT_FALSE(events->IsMainWindowSignalAcquired());

  auto* standby = kv::New<Events::XPM_EVENT_STANDBY>();
  events->InsertEvent(standby);
  events->InsertEvent(Channel(0, Agent::CHANNEL_RATING_LOCK));
  EXPECT_EQ(events->GetMainWindowAcquiredStatus(), Agent::CHANNEL_RATING_LOCK);
  EXPECT_FALSE(events->IsMainWindowSignalAcquired());
  auto* pip = Source(1, Agent::SOURCE_OK);
  events->InsertEvent(pip);
  EXPECT_EQ(events->Count(), 3);

  // A source on the main window replaces the channel event of that window only.
  auto* main = Source(0, Agent::SOURCE_NO_SIGNAL);
  events->InsertEvent(main);
  EXPECT_EQ(events->Count(), 3);
  EXPECT_TRUE(events->Contains(pip));
  EXPECT_EQ(events->GetMainWindowAcquiredEvent(), main);
  EXPECT_EQ(events->GetMainWindowAcquiredStatus(), Agent::SOURCE_NO_SIGNAL);
  events->InsertEvent(Source(0, Agent::SOURCE_OK));
  EXPECT_TRUE(events->IsMainWindowSignalAcquired());
  EXPECT_FALSE(events->Contains(main));
  EXPECT_EQ(events->Count(), 3);
  events->InsertEvent(Channel(0, Agent::CHANNEL_OK));
  EXPECT_TRUE(events->IsMainWindowSignalAcquired());
  EXPECT_EQ(events->GetMainWindowAcquiredStatus(), Agent::CHANNEL_OK);

  // Another window's channel event replaces that window's source event only.
  events->InsertEvent(Channel(1, Agent::CHANNEL_CHANNEL_LOCK));
  EXPECT_FALSE(events->Contains(pip));
  EXPECT_EQ(events->GetMainWindowAcquiredStatus(), Agent::CHANNEL_OK);
  EXPECT_EQ(events->Count(), 3);

  auto* standby2 = kv::New<Events::XPM_EVENT_STANDBY>();
  events->InsertEvent(standby2);
  EXPECT_FALSE(events->Contains(standby));
  EXPECT_EQ(events->First(), standby2);  // newest first
  events->InsertEvent(nullptr);
  EXPECT_EQ(events->Count(), 3);
}

TEST_F(AgentTest, ACachedMessageIsDeliveredOnceWhenTheAgentProcessesItsEvents) {
  Receiver<Screen>("a");
  Receiver<OtherScreen>("b");
  auto* cached = kv::New<Events::USER_EVENT_CACHED_MESSAGE>();
  cached->Message = Msg(Constants::MSG_SHOW_MESSAGE);
  cached->Message->Target = &OtherScreen::StaticClass();
  events->InsertEvent(cached);
  EXPECT_TRUE(Heard().empty());
  events->PostProcessEvents();
  EXPECT_TRUE(Heard().empty());
  driver.Pass();
  EXPECT_EQ(Heard(), Names({"b:" + std::to_string(Constants::MSG_SHOW_MESSAGE)}));
  EXPECT_EQ(cached->Handled, 1);
  events->ProcessEvents();
  EXPECT_EQ(Heard().size(), 1u);

  // A new cached message replaces the handled one and goes to everyone.
  auto* next = kv::New<Events::USER_EVENT_CACHED_MESSAGE>();
  next->Message = Msg(Constants::MSG_CLEAR_ALL);
  events->InsertEvent(next);
  events->ProcessEvents();
  EXPECT_EQ(Heard().size(), 3u);
  EXPECT_EQ(events->Count(), 1);

  // Without a message: marked handled, nothing sent.
  events->InsertEvent(kv::New<Events::USER_EVENT_CACHED_MESSAGE>());
  events->ProcessEvents();
  EXPECT_EQ(Heard().size(), 3u);
}

}  // namespace
}  // namespace agenttest
