// The skin event agent's rules for each of its event classes, and the skin
// widget manager's UI status reports, through the application and the
// simulated set: events go into the agent as the live-TV screens hand them
// over, and what the agent sends live TV shows on the screen (the banner of
// a cached acquisition, the message bar, screens cleared).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/sim/sim_apps.h"
#include "platform/sim/sim_tv_state.h"
#include "runtime/auto_object.h"
#include "runtime/member.h"
#include "support/app_fixture.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/Constants.h"
#include "units/Events/USER_EVENT_CABLE_ON_OFF.h"
#include "units/Events/USER_EVENT_CACHED_MESSAGE.h"
#include "units/Events/USER_EVENT_LAST_CHANNEL.h"
#include "units/Events/USER_EVENT_TIMER_WAKEUP.h"
#include "units/Events/XPM_EVENT_CHANNEL_ACQUIRED.h"
#include "units/Events/XPM_EVENT_RATING_REGION_UPDATED.h"
#include "units/Events/XPM_EVENT_SOURCE_ACQUIRED.h"
#include "units/Events/XPM_EVENT_UBN_MEDIA_INSERTED.h"
#include "units/MainApp/ActiveApp.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/InfoBanner.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/NonMenuSystem/VolumeMuteBar.h"
#include "units/MainApp/Root.h"
#include "units/MainApp/Standby.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Primitives/KeyRoutingGroup.h"
#include "units/SkinBin/EventAgent.h"
#include "units/SkinBin/WidgetManager.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/Structures/VirtualChannel.h"

namespace skinagenttest {

class Screen : public Primitives::KeyRoutingForm {
  KV_CLASS(skinagenttest, Screen, Primitives::KeyRoutingForm)
 public:
  Screen() = default;
};
KV_REGISTER_CLASS(skinagenttest::Screen);

namespace {


class SkinAgentTest : public apptest::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    tvInput_ = InputOfType(1);
    hdmiInput_ = InputOfType(5);
    // The application's Wrapper is the skin's once the skin binding is
    // complete; until then the agent and the widget manager get one here.
    auto* w = kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper));
    if (!w) {
      w = kv::New<SkinBin::Wrapper>();
      w->OnSetRoot(&App());
      w->Initialize();
    }
    w_ = w;
    agent_ = kv::GetAutoObject<SkinBin::EventAgent>(MainApp::EventAgent);
    agent_->Wrapper = w;
    wm_ = kv::GetAutoObject<SkinBin::WidgetManager>(MainApp::WidgetManager);
    wm_->Wrapper = w;
    Settle();
    CloseAll();
    ClearCallLog();
  }
  SkinBin::Wrapper& W() { return *w_.get(); }
  NonMenuSystem::NonMenuSystem* Nms() {
    for (int32_t i = 0; i < App().GetChildCount(); ++i)
      if (auto* app = kv::Cast<MainApp::ActiveApp>(App().GetChild(i)))
        return kv::Cast<NonMenuSystem::NonMenuSystem>(
            app->FindSubSystem(&NonMenuSystem::NonMenuSystem::StaticClass()));
    return nullptr;
  }
  template <class T>
  T* Shown() {
    for (auto* f : OpenForms())
      if (auto* t = kv::Cast<T>(f)) return t;
    return nullptr;
  }
  bool BannerShown() { return Shown<NonMenuSystem::InfoBanner>() != nullptr; }
  // The type of the message bar on screen, or -1.
  int32_t MessageShown() {
    auto* bar = Shown<NonMenuSystem::DirectMessageBar>();
    return bar ? bar->MessageType : -1;
  }
  void CloseAll() {
    if (auto* nms = Nms()) nms->ClearAll();
    Settle();
  }
  // The first input of a type (1 the tuner, 5 HDMI).
  int32_t InputOfType(int32_t type) {
    for (const auto& s : Tv().Tv().Sources())
      if (s.type == type) return s.id;
    return -1;
  }
  // Hands the event to the agent as the screens do; its handled answer.
  int32_t Process(Core::Event* e) {
    agent_->InsertEvent(e);
    return agent_->HandleEvent(e);
  }
  Events::XPM_EVENT_CHANNEL_ACQUIRED* Channel(int32_t window, int32_t major, int32_t minor) {
    auto* e = kv::New<Events::XPM_EVENT_CHANNEL_ACQUIRED>();
    auto* c = kv::New<Structures::VirtualChannel>();
    c->Major = major;
    c->Minor = minor;
    e->Channel = c;
    e->Window = window;
    return e;
  }
  Events::XPM_EVENT_SOURCE_ACQUIRED* Source(int32_t window, int32_t source, int32_t status) {
    auto* e = kv::New<Events::XPM_EVENT_SOURCE_ACQUIRED>();
    e->Window = window;
    e->Source = source;
    e->Status = status;
    return e;
  }
  int32_t tvInput_ = -1, hdmiInput_ = -1;
  kv::Persistent<SkinBin::Wrapper> w_;
  SkinBin::EventAgent* agent_ = nullptr;
  SkinBin::WidgetManager* wm_ = nullptr;
};

// Message type of the message bar: no previous channel or input.
constexpr int32_t kMessageNoPrevious = 4;

// An acquisition of the picture on screen is cached for live TV, which
// brings up the banner; others are handled without it.
TEST_F(SkinAgentTest, AcquisitionEventsOfThePictureOnScreenAreCached) {
  // The second window's events stay for the sub-picture screens.
  EXPECT_EQ(Process(Channel(1, 2, 1)), 0);
  CloseAll();
  auto* tuned = Channel(0, 2, 1);
  EXPECT_EQ(Process(tuned), 1);
  EXPECT_TRUE(BannerShown());
  CloseAll();
  // Another channel: handled, not cached; already handled: answered at once.
  EXPECT_EQ(Process(Channel(0, 9, 1)), 1);
  EXPECT_FALSE(BannerShown());
  EXPECT_EQ(agent_->HandleEvent(tuned), 1);
  EXPECT_FALSE(BannerShown());
  // Source acquired of the current input (the tuner): handled and cached.
  EXPECT_EQ(Process(Source(0, tvInput_, 16)), 1);
  EXPECT_TRUE(BannerShown());
  CloseAll();
  EXPECT_EQ(Process(Source(0, hdmiInput_, 16)), 1);  // another input: not cached
  EXPECT_FALSE(BannerShown());
  // The next key still acts.
  Press("vol+");
  EXPECT_EQ(Calls("XPM_SetVolume").size(), 1u);
}

TEST_F(SkinAgentTest, AnHdmiInputsFailureStaysUnhandledAndAMutedInputClearsTheScreens) {
  ASSERT_EQ(Tv().Tv().SetSource(0, hdmiInput_, "test"), 0);
  Settle();
  CloseAll();
  EXPECT_EQ(Process(Source(0, hdmiInput_, 17)), 0);
  const std::string hdmi = std::to_string(hdmiInput_);
  EXPECT_TRUE(Logged("SkinBin::EventAgent: source acquired false" + hdmi + hdmi));
  EXPECT_EQ(Process(Source(0, hdmiInput_, 23)), 1);  // a locked input is the screens' business
  // A muted input: every live-TV screen closes (the volume bar here).
  ASSERT_TRUE(Tv().SetState("svc.hdmi.avmute", "1"));
  Press("vol+");
  ASSERT_NE(Shown<NonMenuSystem::CommonVolumeBar>(), nullptr);
  EXPECT_EQ(Process(Source(0, hdmiInput_, 17)), 0);
  EXPECT_EQ(Shown<NonMenuSystem::CommonVolumeBar>(), nullptr);
  EXPECT_FALSE(BannerShown());
}

TEST_F(SkinAgentTest, RatingRegionWakeUpAndMediaEvents) {
  auto* region = kv::New<Events::XPM_EVENT_RATING_REGION_UPDATED>();
  region->Region = 5;
  EXPECT_EQ(Process(region), 1);
  EXPECT_EQ(kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData)
                ->GetInteger(kv::String::FromUtf8("RatingRegion")),
            5);
  auto* wake = kv::New<Events::USER_EVENT_TIMER_WAKEUP>();
  EXPECT_EQ(Process(wake), 1);
  EXPECT_EQ(wake->WakeUp, 1);
  auto* media = kv::New<Events::XPM_EVENT_UBN_MEDIA_INSERTED>();
  EXPECT_EQ(Process(media), 1);
  // A cached message goes to its own target class: live TV shows message 7.
  CloseAll();
  auto* cached = kv::New<Events::USER_EVENT_CACHED_MESSAGE>();
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_SHOW_MESSAGE, nullptr, 7);
  msg->Target = &NonMenuSystem::NonMenuSystem::StaticClass();
  cached->Message = msg;
  EXPECT_EQ(Process(cached), 1);
  EXPECT_EQ(MessageShown(), 7);
  EXPECT_EQ(Process(kv::New<Events::USER_EVENT_CACHED_MESSAGE>()), 0);  // no message: not taken
}

TEST_F(SkinAgentTest, CableSwitchTunesTheNewMediumOnceUntilTheTuningIsDone) {
  auto* cable = kv::New<Events::USER_EVENT_CABLE_ON_OFF>();
  cable->Medium = 1;
  EXPECT_EQ(Process(cable), 1);
  EXPECT_EQ(W().GetMedium(), 1);
  EXPECT_TRUE(W().IsTuningChannel);
  EXPECT_FALSE(Calls("XPM_SetChannel").empty());
  // While the tuning runs the next switch is ignored ...
  auto* back = kv::New<Events::USER_EVENT_CABLE_ON_OFF>();
  back->Medium = 0;
  EXPECT_EQ(Process(back), 0);
  EXPECT_EQ(W().GetMedium(), 1);
  // ... until the main window's acquisition event arrives.
  Process(Channel(0, 2, 1));
  EXPECT_FALSE(W().IsTuningChannel);
  EXPECT_EQ(Process(back), 1);
  EXPECT_EQ(W().GetMedium(), 0);
  // A medium without channels tunes nothing and leaves the flag clear.
  Tv().Tv().ReplaceChannelMap(1, {});
  Process(Channel(0, 2, 1));
  auto* empty = kv::New<Events::USER_EVENT_CABLE_ON_OFF>();
  empty->Medium = 1;
  EXPECT_EQ(Process(empty), 1);
  EXPECT_FALSE(W().IsTuningChannel);
  // The same medium again: handled, nothing tuned.
  ClearCallLog();
  auto* same = kv::New<Events::USER_EVENT_CABLE_ON_OFF>();
  same->Medium = 1;
  EXPECT_EQ(Process(same), 1);
  EXPECT_TRUE(Calls("XPM_SetMedium").empty());
}

TEST_F(SkinAgentTest, LastKeyReturnsToTheRememberedChannelOrSource) {
  auto* remembered = kv::New<Structures::VirtualChannel>();
  remembered->Major = 9;
  remembered->Minor = 1;
  W().RememberedChannel = remembered;
  Press("vol+");
  ASSERT_NE(Shown<NonMenuSystem::CommonVolumeBar>(), nullptr);
  EXPECT_EQ(Process(kv::New<Events::USER_EVENT_LAST_CHANNEL>()), 1);
  EXPECT_EQ(Shown<NonMenuSystem::CommonVolumeBar>(), nullptr) << "the screens are cleared first";
  EXPECT_EQ(Calls("XPM_SetChannel").back(), "XPM_SetChannel(0, 9, 1)");
  EXPECT_EQ(W().RememberedChannel.get(), nullptr);
  auto* input = kv::New<Structures::VirtualChannel>();
  input->Major = -2;
  input->Minor = hdmiInput_;
  W().RememberedChannel = input;
  EXPECT_EQ(Process(kv::New<Events::USER_EVENT_LAST_CHANNEL>()), 1);
  EXPECT_EQ(Calls("XPM_SetSource").back(), "XPM_SetSource(0, " + std::to_string(hdmiInput_) + ")");
}

TEST_F(SkinAgentTest, LastKeyTogglesChannelsAndWithoutAnyPreviousShowsMessageFour) {
  // Nothing watched before: live TV shows message type 4.
  EXPECT_EQ(Process(kv::New<Events::USER_EVENT_LAST_CHANNEL>()), 1);
  EXPECT_EQ(MessageShown(), kMessageNoPrevious);
  CloseAll();
  // Two channels watched: the Last key toggles and waits for the tuning.
  W().SetChannel(2, 2, true, true);
  W().SetChannel(9, 1, true, true);
  Settle();
  ClearCallLog();
  EXPECT_EQ(Process(kv::New<Events::USER_EVENT_LAST_CHANNEL>()), 1);
  EXPECT_NE(MessageShown(), kMessageNoPrevious);
  EXPECT_TRUE(W().IsTuningChannel);
  EXPECT_FALSE(Calls("XPM_SetChannel").empty());
  EXPECT_EQ(Process(kv::New<Events::USER_EVENT_LAST_CHANNEL>()), 0);  // ignored while tuning
  Process(Source(0, tvInput_, 16));
  EXPECT_FALSE(W().IsTuningChannel);
}

// --- UI status reports -------------------------------------------------------

class UIStatusTest : public SkinAgentTest {
 protected:
  Screen* Open(uint32_t winId, uint32_t layer) {
    auto* f = kv::New<Screen>();
    f->WinID = winId;
    f->Layer = layer;
    f->Parent = App().GetStandby();
    f->Open();
    return f;
  }
  // The input-OSD and floating-graphics reports since the last call, as
  // "osd <shown> <kind>" and "graphics <shown>".
  std::vector<std::string> Reports() {
    Settle();  // the status is reported at the end of the pass
    std::vector<std::string> out;
    for (const auto& c : Calls("TVSM_ReportAsyncEvent")) {
      const std::vector<uint8_t> p = sim::AsyncPayload(c);
      int32_t words[2] = {0, 0};
      // A report without a payload copies nothing.
      if (!p.empty()) std::memcpy(words, p.data(), std::min(p.size(), sizeof words));
      if (c.rfind("TVSM_ReportAsyncEvent(1, 8,", 0) == 0)
        out.push_back("osd " + std::to_string(words[0]) + " " + std::to_string(words[1]));
      else if (c.rfind("TVSM_ReportAsyncEvent(1, 7,", 0) == 0)
        out.push_back("graphics " + std::to_string(words[0]));
    }
    ClearCallLog();
    return out;
  }
};

using V = std::vector<std::string>;

TEST_F(UIStatusTest, BarsAloneReportNothingAndABannerReportsAnInputOSD) {
  kv::Persistent<Screen> volume = Open(0x2000001, 64);
  EXPECT_EQ(Reports(), V{});
  kv::Persistent<Screen> banner = Open(0x2000003, 32);
  EXPECT_EQ(Reports(), (V{"osd 1 1", "graphics 1"}));
  banner->Close();
  EXPECT_EQ(Reports(), (V{"osd 0 1", "graphics 1"}));
  volume->Close();
  EXPECT_EQ(Reports(), (V{"osd 0 1", "graphics 0"}));
}

TEST_F(UIStatusTest, AMenuWithdrawsTheInputOSDAndReportsGraphicsOnce) {
  kv::Persistent<Screen> banner = Open(0x2000003, 32);
  Reports();
  kv::Persistent<Screen> menu = Open(0x1000001, 2);
  EXPECT_EQ(Reports(), (V{"osd 0 1", "graphics 1", "osd 1 9"}));
  kv::Persistent<Screen> pin = Open(0x2000011, 64);
  EXPECT_EQ(Reports(), V{});  // already reported
  pin->Close();
  menu->Close();
  EXPECT_EQ(Reports(), (V{"osd 0 9", "osd 1 1", "graphics 1"}));
}

TEST_F(UIStatusTest, TheChannelEntryReportsItsOwnKind) {
  kv::Persistent<Screen> entry = Open(0x200000c, 32);
  EXPECT_EQ(Reports(), (V{"osd 1 10", "graphics 1"}));
  kv::Persistent<Screen> menu = Open(0x1000001, 2);
  // The entry stays open under the menu: only graphics and kind 2.
  EXPECT_EQ(Reports(), (V{"graphics 1", "osd 1 9"}));
  menu->Close();
  entry->Close();
  Reports();
  kv::Persistent<Screen> entry2 = Open(0x200000c, 32);
  Reports();
  entry2->Close();
  kv::Persistent<Screen> menu2 = Open(0x1000001, 2);
  // The entry closed while reported: withdrawn before the menu's report.
  const V r = Reports();
  ASSERT_FALSE(r.empty());
  EXPECT_EQ(r.back(), "osd 1 9");
}

}  // namespace
}  // namespace skinagenttest
