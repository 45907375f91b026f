// The application root driven through the whole system: standby and wake-up,
// the factory reset, the key and event roads, the default settings and the
// first-time setup sequencer with stub pages.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "strings/MainApp.h"
#include "strings/SkinBinWrapper.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/Constants.h"
#include "units/Core/Event.h"
#include "units/Events/XPM_EVENT_UBN_RESULT.h"
#include "units/Events/XPM_EVENT_FACTORY_RESET.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/MainApp/InitialSetup.h"
#include "units/MainApp/Root.h"
#include "units/MainApp/Standby.h"
#include "units/Media/MediaWrapper.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Structures/Message.h"
#include "units/SkinBin/Wrapper.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm_settings.h"

namespace mainapptest {

// A screen that records the keys it gets; with EatAll it takes every key.
class KeyForm : public Primitives::KeyRoutingForm {
  KV_CLASS(mainapptest, KeyForm, Primitives::KeyRoutingForm)
 public:
  KeyForm() = default;
  kv::Object* HandleEvent(Core::Event* event) override {
    if (auto* key = kv::Cast<Core::KeyEvent>(event)) {
      if (key->Down) Keys.push_back(key->Code);
      if (EatAll) return this;
    }
    return nullptr;
  }
  bool EatAll = false;
  std::vector<int> Keys;
};
KV_REGISTER_CLASS(mainapptest::KeyForm);

// A stage of the event road that records what it is offered.
class Stage : public Core::Group {
  KV_CLASS(mainapptest, Stage, Core::Group)
 public:
  Stage() = default;
  kv::Object* HandleEvent(Core::Event* event) override {
    Seen->push_back(Name);
    return Takes ? event : nullptr;
  }
  std::vector<std::string>* Seen = nullptr;
  std::string Name;
  bool Takes = false;
};
KV_REGISTER_CLASS(mainapptest::Stage);
class Stage2 : public Stage {
  KV_CLASS(mainapptest, Stage2, Stage)
 public:
  Stage2() = default;
};
KV_REGISTER_CLASS(mainapptest::Stage2);

// Stub setup pages: steps 1 to 4, each leading to the next.
template <int N>
class Page : public MainApp::InitialSetupPage {
 public:
  Page() {
    SetupStep = N;
    OnSetBounds({0, 0, 400, 200});
    WinID = 0x04000000u | N;
    Layer = 2;
  }
};
#define STUB_PAGE(N)                                 \
  class Page##N : public Page<N> {                   \
    KV_CLASS(mainapptest, Page##N, MainApp::InitialSetupPage) \
   public:                                           \
    Page##N() = default;                             \
  };                                                 \
  KV_REGISTER_CLASS(mainapptest::Page##N);
STUB_PAGE(1)
STUB_PAGE(2)
STUB_PAGE(3)
STUB_PAGE(4)

PersistentData::PersistentData* Data() {
  return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
}

class MainAppTest : public apptest::AppTest {
 protected:
  // Opens a screen of the given window id into the standby sub-system, focused.
  KeyForm* OpenForm(uint32_t winId, bool eatAll, bool modal) {
    auto* f = kv::New<KeyForm>();
    f->WinID = winId;
    f->Layer = 32;
    f->EatAll = eatAll;
    f->IsModal = modal ? 1 : 0;
    f->Parent = App().GetStandby();
    f->Open();
    App().GetStandby()->OnSetFocus(f);
    App().OnSetFocus(App().GetStandby());
    return f;
  }
  void UseStubPages() {
    App().GetInitialSetup()->StartPages = {&Page1::StaticClass(), &Page2::StaticClass(), &Page3::StaticClass(),
                                          &Page4::StaticClass()};
  }
  const kv::Class* OpenPage() {
    auto forms = OpenForms();
    return forms.empty() ? nullptr : forms.back()->KvClass();
  }
};

TEST_F(MainAppTest, PowerKeyBeatsAKeyEatingDialogAndEndsInStandby) {
  // Held across passes: standby closes the dialog and the collector would free it.
  kv::Persistent<KeyForm> dialog = OpenForm(0x02000001, true, true);
  Press("ok");
  EXPECT_EQ(dialog->Keys.size(), 1u);
  ClearCallLog();
  Press("power");
  EXPECT_EQ(dialog->Keys.size(), 1u) << "the dialog never saw the power key";
  EXPECT_TRUE(App().GetStandby()->IsInStandby());
  EXPECT_EQ(Calls("XPM_StandbyMode").size(), 1u);
  EXPECT_TRUE(OpenForms().empty());
  // In standby other keys are dropped; a second standby request changes nothing.
  Press("menu");
  Dispatch(kv::New<Events::XPM_EVENT_STANDBY>());
  EXPECT_EQ(Calls("XPM_StandbyMode").size(), 1u);
  EXPECT_TRUE(Logged("already in standby"));
  // The power key wakes the set up (no setup pages yet: normal TV).
  Press("power");
  EXPECT_FALSE(App().GetStandby()->IsInStandby());
  EXPECT_TRUE(App().GetStandby()->IsNormalTV());
}

TEST_F(MainAppTest, FactoryResetEventReachesResetAll) {
  ClearCallLog();
  auto* reset = kv::New<Events::XPM_EVENT_FACTORY_RESET>();
  EXPECT_EQ(Dispatch(reset), reset);
  EXPECT_EQ(Calls("XPM_Reset").size(), 1u);
  EXPECT_TRUE(Logged("MainApp::Standby: factory reset"));
}

TEST_F(MainAppTest, CachedStandbyMessageAndSetupRestartReachTheStandbySubSystem) {
  auto* msg = kv::New<Structures::Message>();
  auto* standby = kv::New<Events::XPM_EVENT_STANDBY>();
  standby->Reason = 5;
  msg->Initialize(Constants::MSG_EVENT_CACHED, standby);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->DispatchTo(msg, &MainApp::Standby::StaticClass());
  EXPECT_TRUE(App().GetStandby()->IsInStandby());
  ASSERT_EQ(Calls("XPM_StandbyMode").size(), 1u);
  EXPECT_NE(Calls("XPM_StandbyMode")[0].find("5"), std::string::npos);

  Press("power");
  UseStubPages();
  auto* restart = kv::New<Structures::Message>();
  restart->Initialize(Constants::MSG_RESTART_INITIAL_SETUP, nullptr);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->DispatchTo(restart, &MainApp::Standby::StaticClass());
  EXPECT_EQ(OpenPage(), &Page1::StaticClass());
}

TEST_F(MainAppTest, WakeUpFollowsThePersistedSetupStep) {
  UseStubPages();
  struct Case {
    const char* stored;
    const kv::Class* page;
  };
  const Case cases[] = {{"1", &Page1::StaticClass()}, {"2", &Page2::StaticClass()}, {"3", &Page3::StaticClass()},
                        {"4", &Page4::StaticClass()}, {"0", &Page1::StaticClass()}, {"7", &Page1::StaticClass()},
                        {"-3", &Page1::StaticClass()}, {"x9", &Page1::StaticClass()}, {"9", nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    Data()->PutString(kv::LoadString(MainApp::KEY_SETUP_STEP), kv::NewStringAnsi(c.stored));
    Press("power");  // standby
    Press("power");  // wake-up
    EXPECT_EQ(OpenPage(), c.page);
    EXPECT_EQ(App().GetStandby()->IsNormalTV(), c.page == nullptr);
  }
}

TEST_F(MainAppTest, SequencerStepsThroughPagesAndPersistsDone) {
  UseStubPages();
  Data()->PutInteger(MainApp::KEY_SETUP_STEP, 1);
  Press("power", 2);
  ASSERT_EQ(OpenPage(), &Page1::StaticClass());
  auto* first = kv::Cast<MainApp::InitialSetupPage>(OpenForms().back());
  EXPECT_EQ(Focused(), first);
  first->NextState = &Page3::StaticClass();
  kv::Signal(first->OnNextStep, first);
  ASSERT_EQ(OpenPage(), &Page3::StaticClass());
  EXPECT_EQ(App().GetInitialSetup()->SetupStep, 3);
  auto* third = kv::Cast<MainApp::InitialSetupPage>(OpenForms().back());
  // A page names its previous page itself: the state records none.
  EXPECT_EQ(third->PrevState, nullptr);
  kv::Signal(third->OnPrevStep, third);
  ASSERT_EQ(OpenPage(), &Page3::StaticClass());
  third->PrevState = &Page1::StaticClass();
  // Centred on the screen.
  EXPECT_EQ(third->OnGetBounds(), (kv::Rect{280, 170, 680, 370}));
  kv::Signal(third->OnPrevStep, third);
  ASSERT_EQ(OpenPage(), &Page1::StaticClass());
  // The last page has no next state: the setup is done.
  auto* again = kv::Cast<MainApp::InitialSetupPage>(OpenForms().back());
  kv::Signal(again->OnNextStep, again);
  Settle();
  EXPECT_TRUE(OpenForms().empty());
  EXPECT_EQ(Data()->GetInteger(MainApp::KEY_SETUP_STEP), 9);
  EXPECT_TRUE(App().GetStandby()->IsNormalTV());
  EXPECT_FALSE(Calls("XPM_SetMuteExtOutput").empty());
  EXPECT_TRUE(std::filesystem::exists(DataDir() / "settings.dat"));
  EXPECT_TRUE(std::filesystem::exists(DataDir() / "settings.bak"));
}

TEST_F(MainAppTest, AbortLeavesStepOneAndGoesToNormalTV) {
  UseStubPages();
  Data()->PutInteger(MainApp::KEY_SETUP_STEP, 2);
  Press("power", 2);
  auto* page = kv::Cast<MainApp::InitialSetupPage>(OpenForms().back());
  kv::Signal(page->OnAbortSetup, page);
  Settle();
  EXPECT_TRUE(OpenForms().empty());
  EXPECT_EQ(App().GetInitialSetup()->SetupStep, 1);
  EXPECT_TRUE(App().GetStandby()->IsNormalTV());
}

// Live TV exists already when a setup started again from normal TV ends:
// the keys go back to it, and still do after standby and wake-up.
TEST_F(MainAppTest, ASetupRestartedFromLiveTVHandsTheKeysBack) {
  Settle();
  ASSERT_TRUE(App().GetStandby()->IsNormalTV());
  UseStubPages();
  auto* restart = kv::New<Structures::Message>();
  restart->Initialize(Constants::MSG_RESTART_INITIAL_SETUP, nullptr);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->DispatchTo(restart, &MainApp::Standby::StaticClass());
  ASSERT_EQ(OpenPage(), &Page1::StaticClass());
  auto* page = kv::Cast<MainApp::InitialSetupPage>(OpenForms().back());
  kv::Signal(page->OnNextStep, page);  // no next page: the setup is done
  Settle();
  ASSERT_TRUE(OpenForms().empty());
  ASSERT_TRUE(App().GetStandby()->IsNormalTV());
  for (const char* when : {"after the setup", "after standby and wake-up"}) {
    SCOPED_TRACE(when);
    ClearCallLog();
    Press("vol+");
    EXPECT_EQ(Calls("XPM_SetVolume").size(), 1u);
    Press("exit");
    Press("ch+");
    Run(2000);
    EXPECT_FALSE(Calls("XPM_SetChannel").empty());
    Run(4000);
    Press("power", 2);
  }
}

// Menu > Settings > Reset all, OK: every screen closes and the set goes into
// the first-time setup at once, in English, on TV 1's antenna as a new set
// (the cable it watched is a setting the reset took back); the setup comes
// again after a restart until it is done.
TEST_F(MainAppTest, AFactoryResetClosesTheQuestionAndStartsTheFirstTimeSetup) {
  // Watching cable 15-1.
  auto* skin = kv::GetAutoObject<SkinBin::Wrapper>(MainApp::Wrapper);
  skin->OnSetAntCableIn(1);
  Run(3000);
  skin->SetChannel(15, 1, true, true);
  Run(3000);
  Press("exit");
  Run(500);
  ASSERT_EQ(Tv().Tv().Medium(), 1);
  for (const char* key : {"menu", "down", "down", "down", "right", "up", "ok"}) {
    Press(key);
    Run(800);
  }
  ASSERT_TRUE(Sees("Reset every setting")) << SeenList();
  Press("left");
  Press("ok");
  // The set tuned back shows no banner beside the setup's page.
  Run(1500);
  EXPECT_FALSE(Sees("TV - ANT")) << SeenList();
  Run(3500);
  EXPECT_FALSE(Sees("Reset every setting")) << SeenList();
  EXPECT_TRUE(Sees("Choose the language of the menus")) << SeenList();
  EXPECT_EQ(Screens().size(), 1u) << SeenList() << " (the language page alone)";
  // The set as a new one: TV 1 on the antenna, on a channel of its map.
  EXPECT_EQ(Tv().Tv().Medium(), 0);
  int32_t source = -1;
  ASSERT_EQ(XPM_GetCurrentSource(0, &source), XPM_OK);
  EXPECT_EQ(source, sim::kSourceTv);
  XPM_VirtualChannel tuned{};
  ASSERT_EQ(XPM_GetCurrentChannel(0, &tuned), XPM_OK);
  sim::Channel on;
  EXPECT_EQ(Tv().Tv().ChannelInfoOn(0, tuned.major, tuned.minor, &on), XPM_OK) << tuned.major << "-" << tuned.minor;
  // The setup's pages hold the keys: Exit does not leave the first one.
  Press("exit");
  Run(500);
  EXPECT_TRUE(Sees("Choose the language of the menus")) << SeenList();
  // Started again as the program starts, without skipping the setup.
  freshSet_ = true;
  Restart();
  Run(3000);
  EXPECT_TRUE(Sees("Choose the language of the menus")) << SeenList();
}

TEST_F(MainAppTest, PanelKeysAreRemappedOnlyWhileTheMenuIsShown) {
  KeyForm* banner = OpenForm(0x02000005, false, false);
  Press("panel-ch+");
  Press("panel-input");
  EXPECT_EQ(banner->Keys, (std::vector<int>{36, 83}));
  banner->Close();
  KeyForm* menu = OpenForm(0x01000001, false, false);
  Press("panel-ch+");
  Press("panel-ch-");
  Press("panel-vol+");
  Press("panel-vol-");
  Press("panel-input");
  Press("panel-menu");
  Press("ch+");  // the remote's own keys are left alone
  EXPECT_EQ(menu->Keys, (std::vector<int>{4, 5, 7, 6, 1, 3, 36}));
}

TEST_F(MainAppTest, EventRoadOffersStagesInOrderUntilOneTakesIt) {
  std::vector<std::string> seen;
  auto* a = kv::New<Stage>();
  a->Seen = &seen;
  a->Name = "first";
  auto* b = kv::New<Stage2>();
  b->Seen = &seen;
  b->Name = "second";
  App().Add(a);
  App().Add(b);
  App().EventStages = {nullptr, &Stage2::StaticClass(), &Stage::StaticClass(), nullptr};
  // An event that no sub-system of live TV takes.
  auto* status = kv::New<Events::XPM_EVENT_UBN_RESULT>();
  EXPECT_EQ(Dispatch(status), nullptr);
  // Stage2 derives from Stage: the second stage finds the first Stage2
  // instance; the third, the first view that is a Stage (a).
  EXPECT_EQ(seen, (std::vector<std::string>{"second", "first"}));
  seen.clear();
  b->Takes = true;
  EXPECT_EQ(Dispatch(status), status);
  EXPECT_EQ(seen, (std::vector<std::string>{"second"}));
  App().Remove(a);
  App().Remove(b);
}

TEST_F(MainAppTest, DefaultSettingsOnAFreshDataDirectory) {
  EXPECT_EQ(Data()->GetInteger(SkinBinWrapper::KEY_CB_LISTS), 111);
  EXPECT_EQ(Data()->GetInteger(MainApp::KEY_AUTO_INPUT_AUX), -1);
  EXPECT_EQ(Data()->GetInteger(MainApp::KEY_NO_SIGNAL_POWER_DOWN), 0x3fffff);
  EXPECT_EQ(Data()->GetInteger(MainApp::KEY_MAX_VOLUME_SETUP), 50);
  // The fixture marks the first-time setup done before the start.
  EXPECT_EQ(Data()->GetInteger(MainApp::KEY_SETUP_STEP), 9);
  EXPECT_FALSE(Data()->GetBool(MainApp::KEY_RETAIL_MODE));
  // Normal TV started the media service with DLNA on and the renderer off.
  EXPECT_EQ(Calls("PslInit").size(), 1u);
  EXPECT_TRUE(Logged("DMR feature is disabled"));
}

TEST_F(MainAppTest, MediaBridgeKeepsTheAccessControlSetting) {
  auto* media = kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper);
  EXPECT_FALSE(media->GetDmcAccessControl());
  media->SetDmcAccessControl(true);
  EXPECT_TRUE(media->GetDmcAccessControl());
  media->SetDmcAccessControl(false);
  EXPECT_FALSE(media->GetDmcAccessControl());
  EXPECT_FALSE(media->IsDmrConfiged());
  // A failing service start is logged and tried again on the next wake-up.
  EXPECT_TRUE(media->IsServiceInitialized());
}

TEST_F(MainAppTest, StandbyAndWakeUpReturnToTheCensusBaseline) {
  Press("power", 2);
  const auto baseline = Census();
  for (int i = 0; i < 50; ++i) Press("power", 2);
  EXPECT_EQ(Census(), baseline);
}

TEST_F(MainAppTest, ScreenShownFollowsTheWidgetManager) {
  EXPECT_FALSE(App().IsScreenShown());
  KeyForm* f = OpenForm(0x02000001, false, false);
  EXPECT_TRUE(App().IsScreenShown());
  f->Close();
  EXPECT_FALSE(App().IsScreenShown());
}

}  // namespace mainapptest
