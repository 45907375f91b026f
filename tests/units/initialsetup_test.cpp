// The first-time setup as a viewer goes through it on a new set: the whole
// system through the application fixture, the simulated set scanning its
// air on the clock, restarts of the process on the same data folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "channels_support.h"
#include "focus_look.h"
#include "platform/sim/sim_tv_air.h"
#include "runtime/text.h"
#include "strings/MainApp.h"
#include "units/Button/ButtonClass.h"
#include "units/Core/Event.h"
#include "units/InitialSetup/ScanPages.h"
#include "units/InitialSetup/SetupPages.h"
#include "units/MainApp/AppData.h"
#include "units/MainApp/InitialSetup.h"
#include "units/MainApp/Standby.h"
#include "units/Structures/LocalTime.h"
#include "units/SubSystem/State.h"

namespace setuptest {
namespace {

using namespace InitialSetup;

class InitialSetupTest : public channeltest::ChannelTest {
 protected:
  InitialSetupTest() { freshSet_ = true; }

  MainApp::InitialSetup* Seq() { return App().GetInitialSetup(); }
  // The open setup page, or null.
  InitialSetupDialog* Page() {
    for (auto* f : OpenForms())
      if (auto* p = kv::Cast<InitialSetupDialog>(f); p && p->IsOpen()) return p;
    return nullptr;
  }
  template <class T>
  T* PageIs() {
    return kv::Cast<T>(Page());
  }
  // The setup's help bar when it is open.
  InitialSetup::HelpBar* SetupBar() {
    for (auto* f : OpenForms())
      if (auto* b = kv::Cast<InitialSetup::HelpBar>(f); b && b->IsOpen()) return b;
    return nullptr;
  }
  int32_t SetupHelpMask() { return SetupBar() ? SetupBar()->OnGetHelpButtonMask() : 0; }
  int32_t Stored(kv::TextId key) { return Store()->GetInteger(key); }
  int32_t Value(sim::Setting s) { return Set().Value(s); }
  std::string TitleText() { return Page() ? Str(Page()->TitleView().OnGetString()) : std::string(); }
  bool SetupDone() { return !Page() && !SetupBar() && App().GetStandby()->IsNormalTV(); }

  // From the language page to the tuner choice, with the stored choices.
  void ToTunerPage() {
    ASSERT_NE(PageIs<LanguageDialog>(), nullptr);
    Press("ok");
    ASSERT_NE(PageIs<TimeZoneDialog>(), nullptr);
    Press("ok");
    ASSERT_NE(PageIs<DaylightSavingDialog>(), nullptr);
    Press("ok");
    ASSERT_NE(PageIs<TunerSelectDialog>(), nullptr);
  }
  // Both tuners with these media, then the scan confirmation.
  void ChooseBothTuners(int32_t medium1, int32_t medium2) {
    ASSERT_NE(PageIs<TunerSelectDialog>(), nullptr);
    Press("down", 2);
    Press("ok");
    auto* both = PageIs<BothMediumSelectDialog>();
    ASSERT_NE(both, nullptr);
    for (int32_t row = 0; row < 2; ++row) {
      const int32_t medium = row == 0 ? medium1 : medium2;
      both->OnSetFocus(&both->Box(row, medium == 1));
      Press("ok");
    }
    both->OnSetFocus(&both->Next());
    Press("ok");
    ASSERT_NE(PageIs<AutoTuningConfirmDialog>(), nullptr);
  }
  // From the language page: both tuners, tuner 1 antenna and tuner 2 cable
  // by the keys, and the scan of both to its end.
  void ScanAntennaAndCable() {
    Press("ok", 3);
    Press("down", 2);
    Press("ok");  // both tuners
    Press("up");
    Press("ok");  // tuner 2: cable
    Press("down", 2);
    Press("ok");  // next
    ClearCallLog();
    Press("ok");  // start the scan
    Run(12000);
    Settle();
  }
  // OK on the confirmation, then the whole scan.
  void Scan() {
    ASSERT_NE(PageIs<AutoTuningConfirmDialog>(), nullptr);
    ClearCallLog();
    Press("ok");
    ASSERT_NE(PageIs<AutoTuningDialog>(), nullptr);
    Run(9000);
    Settle();
  }
  // The OK key handed to the page itself (no control takes it).
  void OkToThePage() {
    auto* key = kv::New<Core::KeyEvent>();
    key->Initialize(1, 1);
    Page()->HandleEvent(key);
    Settle();
  }
};

TEST_F(InitialSetupTest, ANewSetGoesThroughEveryPageToLiveTVOnTheFirstChannelFound) {
  // The setup fills the screen at the first start; nothing has stored its step yet.
  auto* language = PageIs<LanguageDialog>();
  ASSERT_NE(language, nullptr);
  EXPECT_EQ(Stored(MainApp::KEY_SETUP_STEP), 0);
  EXPECT_EQ(Focused(), &language->Button(0));
  EXPECT_EQ(TitleText(), "Quick setup");
  EXPECT_EQ(SetupBar(), nullptr);
  // The setup waits for the viewer: minutes later the first page is there still.
  Run(180000);
  ASSERT_EQ(Page(), language);
  // Down changes the menu language at once, and the page's own texts with it.
  Press("down");
  EXPECT_EQ(Skin()->GetMenuLanguage(), 1);
  EXPECT_EQ(TitleText(), "Configuración rápida");
  EXPECT_FALSE(Calls("XPM_SetUILanguage").empty());
  EXPECT_EQ(Calls("XPM_SetUILanguage").back(), "XPM_SetUILanguage(\"spa\")");
  Press("down");
  EXPECT_EQ(Skin()->GetMenuLanguage(), 2);
  EXPECT_EQ(TitleText(), "Configuration rapide");
  Press("up", 2);
  EXPECT_EQ(Skin()->GetMenuLanguage(), 0);
  EXPECT_EQ(TitleText(), "Quick setup");
  // Back and exit do nothing on the first page.
  Press("back");
  Press("exit");
  ASSERT_EQ(Page(), language);
  Press("ok");

  // Back from the time zone: the language page again, whose Back still does nothing.
  ASSERT_NE(PageIs<TimeZoneDialog>(), nullptr);
  Press("back");
  ASSERT_NE(PageIs<LanguageDialog>(), nullptr);
  Press("back");
  ASSERT_NE(PageIs<LanguageDialog>(), nullptr);
  Press("ok");

  // The time zone: the list has the focus, picking a zone stores it and goes on.
  auto* zone = PageIs<TimeZoneDialog>();
  ASSERT_NE(zone, nullptr);
  EXPECT_TRUE(Sees("Time zone")) << "the page's title\n" << SeenList();
  const int32_t zoneBefore = Value(sim::Setting::kTimeZone);
  ASSERT_LE(zoneBefore, 5);
  Press("down", 2);
  Press("ok");
  EXPECT_EQ(Value(sim::Setting::kTimeZone), zoneBefore + 2);

  // Daylight saving: Yes stores 1; back, and an OK reaching the page stores 0.
  ASSERT_NE(PageIs<DaylightSavingDialog>(), nullptr);
  EXPECT_EQ(Focused(), &PageIs<DaylightSavingDialog>()->No());
  Press("up");
  Press("ok");
  EXPECT_EQ(Value(sim::Setting::kDaylightSaving), 1);
  ASSERT_NE(PageIs<TunerSelectDialog>(), nullptr);
  Press("back");
  ASSERT_NE(PageIs<DaylightSavingDialog>(), nullptr);
  OkToThePage();
  EXPECT_EQ(Value(sim::Setting::kDaylightSaving), 0);

  // Tuner 2 switches window 0 to the second tuner before the medium page opens.
  ASSERT_NE(PageIs<TunerSelectDialog>(), nullptr);
  Press("down");
  Press("ok");
  EXPECT_EQ(Window0Source(), sim::kSourceTv2);
  ASSERT_NE(PageIs<KXDAntennaCableDialog>(), nullptr);
  // Back gives a new tuner page on its first button; tuner 1 switches back.
  Press("back");
  auto* tuner = PageIs<TunerSelectDialog>();
  ASSERT_NE(tuner, nullptr);
  EXPECT_EQ(Focused(), &tuner->Button(0));
  Press("ok");
  EXPECT_EQ(Window0Source(), sim::kSourceTv);
  EXPECT_EQ(Seq()->BothTuners, 0);

  // Antenna or cable: written only when it differs from the set's.
  ASSERT_NE(PageIs<KXDAntennaCableDialog>(), nullptr);
  ASSERT_EQ(Value(sim::Setting::kMedium), 0);
  ClearCallLog();
  Press("ok");
  EXPECT_TRUE(Calls("XPM_SetMedium").empty());
  ASSERT_NE(PageIs<AutoTuningConfirmDialog>(), nullptr);
  // The confirmation: step 9 is in the settings file and its backup at once.
  EXPECT_EQ(Stored(MainApp::KEY_SETUP_STEP), 9);
  EXPECT_EQ(Seq()->SetupStep, 5);
  EXPECT_TRUE(std::filesystem::exists(DataDir() / "settings.bak"));
  EXPECT_EQ(SetupHelpMask(), 0x40200);
  // The page keeps its explanation's height: it and its button lie inside the screen.
  {
    auto* confirm = PageIs<AutoTuningConfirmDialog>();
    const kv::Rect b = confirm->Bounds();
    const kv::Rect s = confirm->Start().Bounds();
    EXPECT_LT(b.H(), 200);
    EXPECT_GE(b.y1, 0);
    EXPECT_LE(s.y2, b.H());
    EXPECT_GT(s.y1, confirm->InfoView().Bounds().y2);
  }
  Press("back");
  ASSERT_NE(PageIs<KXDAntennaCableDialog>(), nullptr);
  ClearCallLog();
  Press("down");
  Press("ok");
  EXPECT_EQ(Calls("XPM_SetMedium").size(), 1u);
  EXPECT_EQ(Value(sim::Setting::kMedium), 1);
  Press("back");
  Press("ok");  // antenna again
  EXPECT_EQ(Value(sim::Setting::kMedium), 0);

  // The scan on the antenna's air, Stop in the setup's help bar.
  ASSERT_NE(PageIs<AutoTuningConfirmDialog>(), nullptr);
  ClearCallLog();
  Press("ok");
  ASSERT_NE(PageIs<AutoTuningDialog>(), nullptr);
  EXPECT_EQ(SetupHelpMask(), 0x80000);
  EXPECT_EQ(Calls("XPM_StartChannelScan"), std::vector<std::string>{"XPM_StartChannelScan(0, 0, 0, 0, 0, 0)"});
  Run(9000);
  Settle();
  auto* result = PageIs<AutoTuningCompleteDialog>();
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(SetupHelpMask(), 0x40a00);
  const size_t found = Set().Channels(0).size();
  EXPECT_EQ(found, 12u);
  // 4-3 carries no service: the result lists the other eleven.
  EXPECT_NE(Str(result->Result().FoundText()).find("11"), std::string::npos) << Str(result->Result().FoundText());

  // Exit: live TV on the first channel found, the external output's mute off.
  ClearCallLog();
  Press("exit");
  Settle();
  EXPECT_TRUE(SetupDone());
  EXPECT_EQ(Stored(MainApp::KEY_SETUP_STEP), 9);
  EXPECT_FALSE(Calls("XPM_SetMuteExtOutput").empty());
  EXPECT_EQ(Value(sim::Setting::kMuteExtOutput), 0);
  ASSERT_NE(W()->GetCurrentChannel(), nullptr);
  const int32_t firstMajor = W()->GetCurrentChannel()->Major;
  EXPECT_EQ(firstMajor, Set().Channels(0).front().major);
  // Live TV has the keys: ch+ and ch- walk the channels found.
  ClearCallLog();
  Press("ch+");
  Run(2000);
  EXPECT_FALSE(Calls("XPM_SetChannel").empty());
  Press("ch-");
  Run(2000);
  ASSERT_NE(W()->GetCurrentChannel(), nullptr);
  EXPECT_EQ(W()->GetCurrentChannel()->Major, firstMajor);

  // The next start goes straight to live TV.
  Restart();
  EXPECT_EQ(Page(), nullptr);
  EXPECT_TRUE(App().GetStandby()->IsNormalTV());
}

TEST_F(InitialSetupTest, BothTunersScanTwiceAndBackAndRetryFollowThePageGraph) {
  ToTunerPage();
  // Each row of the two-tuner page is a radio pair written to the sequencer.
  Press("down", 2);
  Press("ok");
  auto* both = PageIs<BothMediumSelectDialog>();
  ASSERT_NE(both, nullptr);
  EXPECT_EQ(Seq()->BothTuners, 1);
  EXPECT_EQ(Focused(), &both->Next());
  EXPECT_TRUE(both->Box(0, false).OnGetIsChecked());
  EXPECT_TRUE(both->Box(1, false).OnGetIsChecked());
  both->OnSetFocus(&both->Box(1, true));
  Press("ok");
  EXPECT_TRUE(both->Box(1, true).OnGetIsChecked());
  EXPECT_FALSE(both->Box(1, false).OnGetIsChecked());
  EXPECT_EQ(Seq()->Tuner2Medium, 1);
  // OK again on the only checked box of a row leaves it checked.
  Press("ok");
  EXPECT_TRUE(both->Box(1, true).OnGetIsChecked());
  EXPECT_EQ(Seq()->Tuner2Medium, 1);
  // Focus moves among the boxes and the button with the arrows.
  Press("left");
  EXPECT_EQ(Focused(), &both->Box(1, false)) << Focused()->KvClass()->name;
  Press("down");
  EXPECT_EQ(Focused(), &both->Next());
  EXPECT_EQ(Seq()->Tuner1Medium, 0);

  // Back, and both tuners again: the rows come back from the stored media.
  Press("back");
  ASSERT_NE(PageIs<TunerSelectDialog>(), nullptr);
  Press("down", 2);
  Press("ok");
  both = PageIs<BothMediumSelectDialog>();
  ASSERT_NE(both, nullptr);
  EXPECT_TRUE(both->Box(1, true).OnGetIsChecked());
  EXPECT_FALSE(both->Box(1, false).OnGetIsChecked());
  // Window 0 stays where it was: both tuners switch nothing.
  EXPECT_EQ(Window0Source(), sim::kSourceTv);
  Press("ok");
  // Back from the confirmation lands on the antenna-or-cable page all the same.
  ASSERT_NE(PageIs<AutoTuningConfirmDialog>(), nullptr);
  Press("back");
  ASSERT_NE(PageIs<KXDAntennaCableDialog>(), nullptr);
  Press("back");
  ASSERT_NE(PageIs<TunerSelectDialog>(), nullptr);

  // Tuner 2's medium (cable) has an empty air: one tuner is enough for the result.
  sim::SetAir(Tv(), 1, {});
  ChooseBothTuners(0, 1);
  Scan();
  EXPECT_EQ(Calls("XPM_StartChannelScan"),
            (std::vector<std::string>{"XPM_StartChannelScan(0, 0, 0, 0, 0, 0)",
                                      "XPM_StartChannelScan(1, 0, 1, 0, 0, 0)"}));
  ASSERT_NE(PageIs<AutoTuningCompleteDialog>(), nullptr);
  EXPECT_EQ(Window0Source(), sim::kSourceTv);
  // Back on the result returns to the tuner choice.
  Press("back");
  ASSERT_NE(PageIs<TunerSelectDialog>(), nullptr);

  // Channels on tuner 2 only: the result page, window 0 on tuner 2.
  sim::SetAir(Tv(), 0, {});
  sim::SetAir(Tv(), 1, sim::CrowdedAir(1, 6, 2));
  ChooseBothTuners(0, 1);
  Scan();
  ASSERT_NE(PageIs<AutoTuningCompleteDialog>(), nullptr);
  EXPECT_EQ(Window0Source(), sim::kSourceTv2);
  Press("back");

  // Tuner 1 after both tuners: one pass.
  ASSERT_NE(PageIs<TunerSelectDialog>(), nullptr);
  Press("ok");
  EXPECT_EQ(Seq()->BothTuners, 0);
  ASSERT_NE(PageIs<KXDAntennaCableDialog>(), nullptr);
  Press("down");
  Press("ok");  // cable, the air with the six channels
  Scan();
  EXPECT_EQ(Calls("XPM_StartChannelScan").size(), 1u);
  ASSERT_NE(PageIs<AutoTuningCompleteDialog>(), nullptr);
  Press("exit");
  EXPECT_TRUE(SetupDone());
}

// On the two-tuner page the box the arrows reach shows the focus bar, and
// only it: OK then toggles the box the viewer sees chosen.
TEST_F(InitialSetupTest, TheTwoTunerPageShowsWhichBoxHasTheFocus) {
  ToTunerPage();
  Press("down", 2);
  Press("ok");
  auto* both = PageIs<BothMediumSelectDialog>();
  ASSERT_NE(both, nullptr);
  Settle();
  EXPECT_TRUE(apptest::LooksFocused(Osd(), &both->Next()));
  std::vector<Core::View*> boxes;
  for (int32_t row = 0; row < 2; ++row)
    for (bool cable : {false, true}) boxes.push_back(&both->Box(row, cable));
  auto onlyFocusedLooksFocused = [&](const char* after) {
    Settle();
    Core::View* focused = Focused();
    ASSERT_NE(focused, nullptr) << after;
    EXPECT_TRUE(apptest::LooksFocused(Osd(), focused)) << "after " << after << ": " << focused->KvClass()->name;
    for (Core::View* v : boxes) {
      if (v != focused) {
        EXPECT_FALSE(apptest::LooksFocused(Osd(), v)) << "after " << after;
      }
    }
    if (focused != &both->Next()) {
      EXPECT_FALSE(apptest::LooksFocused(Osd(), &both->Next())) << "after " << after;
    }
  };
  Press("up");
  ASSERT_NE(Focused(), &both->Next());
  onlyFocusedLooksFocused("up");
  Press("left");
  onlyFocusedLooksFocused("left");
  Press("up");
  onlyFocusedLooksFocused("up again");
  // OK toggles the box that shows the focus, which keeps its look.
  Press("ok");
  onlyFocusedLooksFocused("ok");
}

TEST_F(InitialSetupTest, BothTunersWithChannelsEndOnTheFirstTunersMediumAndItsFirstChannel) {
  // Both airs carry channels, as on a new set: tuner 1 antenna, tuner 2 cable.
  ASSERT_FALSE(Set().Channels(0).empty());
  ASSERT_FALSE(Set().Channels(1).empty());
  ScanAntennaAndCable();
  EXPECT_EQ(Calls("XPM_StartChannelScan"),
            (std::vector<std::string>{"XPM_StartChannelScan(0, 0, 0, 0, 0, 0)",
                                      "XPM_StartChannelScan(1, 0, 1, 0, 0, 0)"}));
  // The set, on tuner 1 already, changes its source for tuner 2's pass and
  // back after it, and at no other time.
  EXPECT_EQ(Calls("XPM_SetSource"), (std::vector<std::string>{"XPM_SetSource(0, 29)", "XPM_SetSource(0, 0)"}));
  // Tuner 1 found channels: the set is on tuner 1 with its own medium, and
  // the result page names and lists what tuner 1 found.
  auto* result = PageIs<AutoTuningCompleteDialog>();
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(Window0Source(), sim::kSourceTv);
  EXPECT_EQ(Value(sim::Setting::kMedium), 0);
  EXPECT_EQ(Str(result->Result().OnGetCaption()), "Antenna scan (tuner 1)");
  EXPECT_EQ(Str(result->Result().FoundText()), "Antenna programmes found: 11");
  // Exit: live TV on the antenna's first channel through tuner 1.
  Press("exit");
  Settle();
  EXPECT_TRUE(SetupDone());
  ASSERT_NE(W()->GetCurrentChannel(), nullptr);
  EXPECT_EQ(W()->GetCurrentChannel()->Major, Set().Channels(0).front().major);
  EXPECT_EQ(W()->GetCurrentChannel()->Minor, Set().Channels(0).front().minor);
  EXPECT_EQ(Window0Source(), sim::kSourceTv);
  EXPECT_EQ(Value(sim::Setting::kMedium), 0);
  // The next key still acts: ch+ tunes the antenna's next channel.
  ClearCallLog();
  Press("ch+");
  Run(2000);
  ASSERT_NE(W()->GetCurrentChannel(), nullptr);
  EXPECT_EQ(W()->GetCurrentChannel()->Major, Set().Channels(0)[1].major);
}

// Both tuners on the same medium: tuner 2's pass (digital channels only)
// adds to what tuner 1 found; the analogue channels tuner 1 found stay in
// the medium's table, in the result list and on ch+.
TEST_F(InitialSetupTest, BothTunersOnOneMediumKeepTheChannelsEitherPassFound) {
  for (int32_t medium : {0, 1}) {
    SCOPED_TRACE(medium == 0 ? "antenna" : "cable");
    if (medium == 1) {
      // Back on the result page leads to the tuner choice again.
      Press("back");
      ASSERT_NE(PageIs<TunerSelectDialog>(), nullptr);
    } else {
      ToTunerPage();
    }
    ChooseBothTuners(medium, medium);
    Scan();
    Run(12000);
    Settle();
    ASSERT_NE(PageIs<AutoTuningCompleteDialog>(), nullptr);
    std::vector<std::pair<int32_t, int32_t>> held, onAir;
    for (const sim::Channel& c : Set().Channels(medium)) held.emplace_back(c.major, c.minor);
    for (const sim::AirChannel& a : sim::DefaultAir(medium)) onAir.emplace_back(a.major, a.minor);
    EXPECT_EQ(held, onAir);
    // The result page lists the first analogue channel the air carries.
    EXPECT_TRUE(Sees(medium == 0 ? "Valley 3" : "Access 2")) << SeenList();
  }
}

// Tuner 1 on antenna and tuner 2 on cable: after the setup each tuner keeps
// its medium. Choosing TV 2 shows the cable channels tuner 2 found (its
// digital ones: TV 2 receives nothing else), with the banner and the channel
// menu saying cable, also after a restart.
TEST_F(InitialSetupTest, EachTunerKeepsTheMediumChosenForItInTheSetup) {
  ScanAntennaAndCable();
  ASSERT_NE(PageIs<AutoTuningCompleteDialog>(), nullptr);
  Press("exit");
  Settle();
  ASSERT_TRUE(SetupDone());
  std::vector<sim::Channel> digital;
  for (const sim::Channel& c : Set().Channels(1))
    if (c.digital) digital.push_back(c);
  ASSERT_GE(digital.size(), 2u);
  const sim::Channel cable = digital.front();
  const sim::Channel antenna = Set().Channels(0).front();
  auto onTv2 = [&](const char* when) {
    EXPECT_EQ(Window0Source(), sim::kSourceTv2) << when;
    ASSERT_NE(W()->GetCurrentChannel(), nullptr) << when;
    EXPECT_EQ(W()->GetCurrentChannel()->Major, cable.major) << when;
    EXPECT_EQ(W()->GetCurrentChannel()->Minor, cable.minor) << when;
  };
  // The input list: TV 2 is the second entry.
  Press("input");
  Run(500);
  Press("down");
  Press("ok");
  Run(3000);
  onTv2("after the input list");
  EXPECT_TRUE(Sees("TV 2 - CABLE")) << SeenList();
  EXPECT_FALSE(Sees("TV 2 - ANT"));
  // The channel menu's tuner row reads tuner 2's medium.
  Press("menu");
  Run(500);
  for (int i = 0; i < 2; ++i) {
    Press("down");
    Run(300);
  }
  Press("ok");
  Run(500);
  EXPECT_TRUE(Sees("Cable")) << SeenList();
  EXPECT_FALSE(Sees("Antenna")) << SeenList();
  Press("exit");
  Run(500);
  // The next key still acts: ch+ walks the cable channels.
  Press("ch+");
  Run(2000);
  ASSERT_NE(W()->GetCurrentChannel(), nullptr);
  EXPECT_EQ(W()->GetCurrentChannel()->Major, digital[1].major);
  EXPECT_EQ(W()->GetCurrentChannel()->Minor, digital[1].minor);
  Press("ch-");
  Run(2000);
  // A restart: the set still knows tuner 2's cable.
  Restart();
  Run(3000);
  onTv2("after a restart");
  Press("ch+");
  Run(500);
  EXPECT_TRUE(Sees("TV 2 - CABLE")) << SeenList();
  EXPECT_EQ(W()->GetCurrentChannel()->Major, digital[1].major);
  EXPECT_EQ(W()->GetCurrentChannel()->Minor, digital[1].minor);
}

// Back from the scan's result: the tuner choice and then the antenna-or-cable
// page each show their own keys (Enter, Back), not the result's Watch TV;
// moving the focus there leaves the bar as it is.
TEST_F(InitialSetupTest, PagesReachedBackFromTheResultShowTheirOwnKeys) {
  ToTunerPage();
  Press("ok");  // tuner 1
  Press("ok");  // antenna
  Scan();
  ASSERT_NE(PageIs<AutoTuningCompleteDialog>(), nullptr);
  ASSERT_TRUE(Sees("Watch TV")) << SeenList();
  auto ownKeys = [&](const char* page) {
    Settle();
    EXPECT_EQ(SetupHelpMask(), static_cast<int32_t>(kEnterBackMask)) << page;
    EXPECT_TRUE(Sees("Enter")) << page << ": " << SeenList();
    EXPECT_TRUE(Sees("Back")) << page;
    EXPECT_FALSE(Sees("Watch TV")) << page << ": " << SeenList();
    EXPECT_FALSE(Sees("Page")) << page;
  };
  Press("back");
  ASSERT_NE(PageIs<TunerSelectDialog>(), nullptr);
  ownKeys("tuner choice");
  Press("down");
  ownKeys("tuner choice, tuner 2 focused");
  Press("up");
  Press("ok");
  ASSERT_NE(PageIs<KXDAntennaCableDialog>(), nullptr);
  ownKeys("antenna or cable");
  // The next key still acts: OK goes on to the confirmation.
  Press("ok");
  EXPECT_NE(PageIs<AutoTuningConfirmDialog>(), nullptr);
}

// The zone names of the time-zone page follow the language chosen on the
// first page.
TEST_F(InitialSetupTest, TimeZoneNamesAreInTheSetupsLanguage) {
  auto names = [&] {
    std::vector<std::string> out;
    auto* zone = PageIs<TimeZoneDialog>();
    if (!zone) return out;
    for (Forms::Ctrl* row : zone->List().GetAllRows())
      if (auto* b = kv::Cast<::Button::ButtonClass>(row); b && b->IsVisible()) out.push_back(Str(b->OnGetText()));
    return out;
  };
  const struct {
    int downs;
    std::vector<std::string> first;
  } languages[] = {
      {0, {"Eastern", "Central", "Mountain", "Pacific"}},
      {1, {"Este", "Centro", "Montaña", "Pacífico"}},
      {2, {"Est", "Centre", "Rocheuses", "Pacifique"}},
  };
  for (const auto& l : languages) {
    SCOPED_TRACE(l.downs);
    ASSERT_NE(PageIs<LanguageDialog>(), nullptr);
    Press("down", l.downs);
    Press("ok");
    ASSERT_NE(PageIs<TimeZoneDialog>(), nullptr);
    const std::vector<std::string> shown = names();
    ASSERT_GE(shown.size(), l.first.size());
    for (size_t i = 0; i < l.first.size(); ++i) EXPECT_EQ(shown[i], l.first[i]);
    Press("back");
    ASSERT_NE(PageIs<LanguageDialog>(), nullptr);
    Press("up", l.downs);
  }
}

// A new set takes its clock from the broadcast: the zone and daylight saving
// chosen in the setup move the clock that every screen reads. A clock set by
// hand keeps the time set.
TEST_F(InitialSetupTest, TheZoneChosenInTheSetupSetsTheClock) {
  ASSERT_NE(PageIs<LanguageDialog>(), nullptr);
  Press("ok");
  ASSERT_NE(PageIs<TimeZoneDialog>(), nullptr);
  Press("down", 3);
  Press("ok");  // Pacific
  ASSERT_NE(PageIs<DaylightSavingDialog>(), nullptr);
  Press("up");
  Press("ok");  // Yes
  ASSERT_NE(PageIs<TunerSelectDialog>(), nullptr);
  Press("ok");
  Press("ok");
  ASSERT_NE(PageIs<AutoTuningConfirmDialog>(), nullptr);
  Press("exit");
  Settle();
  ASSERT_TRUE(SetupDone());
  EXPECT_EQ(Value(sim::Setting::kTimeZone), 3);
  EXPECT_EQ(Value(sim::Setting::kDaylightSaving), 1);
  // Pacific with daylight saving: eight hours behind UTC, one hour back.
  Structures::LocalTime* now = W()->GetCurrentTime();
  ASSERT_NE(now, nullptr);
  EXPECT_NEAR(static_cast<double>(now->GetTicks()), static_cast<double>(Set().NetworkTime() - 7 * 3600), 1.0);
  // It survives a restart.
  Restart();
  now = W()->GetCurrentTime();
  EXPECT_NEAR(static_cast<double>(now->GetTicks()), static_cast<double>(Set().NetworkTime() - 7 * 3600), 1.0);

  // Set by hand: the automatic update off, the time set stays and runs on.
  ASSERT_EQ(W()->SetAutoTimeUpdate(0), 0);
  auto* set = kv::New<Structures::LocalTime>();
  set->Year = 126;
  set->Month = 5;
  set->Day = 15;
  set->Hour = 9;
  set->Minute = 30;
  ASSERT_EQ(W()->SetCurrentTime(set), 0);
  Run(60 * 1000);
  now = W()->GetCurrentTime();
  EXPECT_EQ(now->Hour, 9);
  EXPECT_EQ(now->Minute, 31);
  EXPECT_EQ(now->Day, 15);
}

TEST_F(InitialSetupTest, NoChannelOnEitherTunerShowsTheErrorPageWhoseButtonsRetryOrEnd) {
  sim::SetAir(Tv(), 0, {});
  sim::SetAir(Tv(), 1, {});
  ToTunerPage();
  ChooseBothTuners(0, 1);
  Scan();
  auto* error = PageIs<AutoTuningErrorDialog>();
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(Focused(), &error->Ok());
  EXPECT_EQ(SetupHelpMask(), 0x40204);
  EXPECT_FALSE(Calls("BCM_DisplayChannelNumber").empty()) << "the front display shows no channel";
  // Back does nothing here; right moves to Exit and back.
  Press("back");
  ASSERT_EQ(Page(), error);
  Press("right");
  EXPECT_EQ(Focused(), &error->Exit());
  Press("left");
  // OK: the tuner choice again, with the both-tuners flag cleared.
  Press("ok");
  ASSERT_NE(PageIs<TunerSelectDialog>(), nullptr);
  EXPECT_EQ(Seq()->BothTuners, 0);
  ChooseBothTuners(1, 0);
  Scan();
  error = PageIs<AutoTuningErrorDialog>();
  ASSERT_NE(error, nullptr);
  // Exit: the setup ends in live TV without channels.
  Press("right");
  Press("ok");
  EXPECT_TRUE(SetupDone());
  EXPECT_TRUE(Set().Channels(0).empty());
  EXPECT_EQ(Stored(MainApp::KEY_SETUP_STEP), 9);
  ClearCallLog();
  Press("vol+");
  EXPECT_EQ(Calls("XPM_SetVolume").size(), 1u);
}

TEST_F(InitialSetupTest, ExitWaitsForTheConfirmationAndStopsTheScan) {
  // The exit keys do nothing on the first six pages.
  ASSERT_NE(PageIs<LanguageDialog>(), nullptr);
  const char* pages[] = {"language", "time zone", "daylight saving", "tuner"};
  for (const char* name : pages) {
    SCOPED_TRACE(name);
    InitialSetupDialog* before = Page();
    Press("exit");
    Press("exit2");
    EXPECT_EQ(Page(), before);
    Press("ok");
  }
  ASSERT_NE(PageIs<KXDAntennaCableDialog>(), nullptr);
  Press("exit");
  ASSERT_NE(PageIs<KXDAntennaCableDialog>(), nullptr);
  Press("ok");
  // Exit on the confirmation ends the setup without a scan.
  ASSERT_NE(PageIs<AutoTuningConfirmDialog>(), nullptr);
  ClearCallLog();
  Press("exit");
  EXPECT_TRUE(SetupDone());
  EXPECT_TRUE(Calls("XPM_StartChannelScan").empty());

  // Started again: exit on the scan page stops the scan half way; what it
  // found so far leads to the result page.
  auto* restart = kv::New<Structures::Message>();
  restart->Initialize(Constants::MSG_RESTART_INITIAL_SETUP, nullptr);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->DispatchTo(restart, &MainApp::Standby::StaticClass());
  Settle();
  ToTunerPage();
  Press("ok");
  Press("ok");
  Press("ok");
  ASSERT_NE(PageIs<AutoTuningDialog>(), nullptr);
  Run(700);
  Press("exit");
  Run(1000);
  Settle();
  EXPECT_FALSE(Calls("XPM_AbortChannelScan").empty());
  ASSERT_NE(PageIs<AutoTuningCompleteDialog>(), nullptr);
  Press("exit");
  EXPECT_TRUE(SetupDone());
}

TEST_F(InitialSetupTest, APowerCutBeforeTheConfirmationStartsTheSetupAgainAndAfterItLiveTV) {
  // On each of the six pages before the confirmation: the language page again
  // (English, as it always starts), with what was chosen kept.
  for (int32_t page = 0; page < 6; ++page) {
    SCOPED_TRACE(page);
    auto* language = PageIs<LanguageDialog>();
    ASSERT_NE(language, nullptr);
    EXPECT_EQ(Skin()->GetMenuLanguage(), 0);
    if (page >= 1) Press("ok");                    // time zone
    if (page >= 2) Press("down"), Press("ok");     // one zone on
    if (page >= 3) Press("up"), Press("ok");       // daylight saving: yes
    if (page == 4) Press("down", 2), Press("ok");  // both tuners
    if (page == 5) Press("ok");                    // tuner 1: the antenna page
    if (page == 0) Press("down");                  // Español
    const int32_t zone = Value(sim::Setting::kTimeZone);
    const int32_t dst = Value(sim::Setting::kDaylightSaving);
    Restart();
    EXPECT_NE(PageIs<LanguageDialog>(), nullptr);
    EXPECT_EQ(Skin()->GetMenuLanguage(), 0);
    EXPECT_EQ(Value(sim::Setting::kTimeZone), zone);
    EXPECT_EQ(Value(sim::Setting::kDaylightSaving), dst);
    EXPECT_NE(Stored(MainApp::KEY_SETUP_STEP), 9);
  }
  // The medium chosen before the cut is kept too.
  ToTunerPage();
  Press("ok");
  Press("down");
  Press("ok");
  ASSERT_NE(PageIs<AutoTuningConfirmDialog>(), nullptr);
  EXPECT_EQ(Value(sim::Setting::kMedium), 1);
  // From the confirmation on, the next start is in live TV.
  Restart();
  EXPECT_TRUE(SetupDone());
  EXPECT_EQ(Value(sim::Setting::kMedium), 1);
}

TEST_F(InitialSetupTest, APowerCutDuringTheScanOrOnItsOutcomeStartsInLiveTV) {
  struct Case {
    const char* name;
    bool emptyAir;
    int64_t runMs;
  };
  const Case cases[] = {{"half way through the scan", false, 700},
                        {"on the result page", false, 9000},
                        {"on the error page", true, 9000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* restart = kv::New<Structures::Message>();
    restart->Initialize(Constants::MSG_RESTART_INITIAL_SETUP, nullptr);
    if (!PageIs<LanguageDialog>())
      kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)
          ->DispatchTo(restart, &MainApp::Standby::StaticClass());
    Settle();
    sim::SetAir(Tv(), 0, c.emptyAir ? std::vector<sim::AirChannel>{} : sim::CrowdedAir(0, 4, 1));
    ToTunerPage();
    Press("ok");
    Press("ok");
    ASSERT_NE(PageIs<AutoTuningConfirmDialog>(), nullptr);
    Press("ok");
    Run(c.runMs);
    Settle();
    Restart();
    EXPECT_TRUE(SetupDone());
  }
}

TEST_F(InitialSetupTest, StandbyDuringTheScanAbortsItAndWakesUpInLiveTV) {
  ToTunerPage();
  Press("ok");
  Press("ok");
  ClearCallLog();
  Press("ok");
  ASSERT_NE(PageIs<AutoTuningDialog>(), nullptr);
  Run(700);
  ASSERT_TRUE(Skin()->AppCriticalSection);
  Press("power");
  EXPECT_TRUE(App().GetStandby()->IsInStandby());
  EXPECT_EQ(Calls("XPM_AbortChannelScan").size(), 1u);
  Run(5000);
  Press("power");
  EXPECT_TRUE(SetupDone());
  EXPECT_FALSE(Skin()->AppCriticalSection);
  ClearCallLog();
  Press("vol+");
  EXPECT_EQ(Calls("XPM_SetVolume").size(), 1u);
}

TEST_F(InitialSetupTest, EachPageOpenedAndClosed50TimesKeepsTheCensus) {
  const kv::Class* pages[] = {&LanguageDialog::StaticClass(),         &TimeZoneDialog::StaticClass(),
                              &DaylightSavingDialog::StaticClass(),   &TunerSelectDialog::StaticClass(),
                              &BothMediumSelectDialog::StaticClass(), &KXDAntennaCableDialog::StaticClass(),
                              &AutoTuningConfirmDialog::StaticClass(), &AutoTuningCompleteDialog::StaticClass(),
                              &AutoTuningErrorDialog::StaticClass(),  &AutoTuningDialog::StaticClass()};
  auto cycle = [&](const kv::Class* cls) {
    if (InitialSetupDialog* open = Page()) open->Close();
    auto* state = kv::New<SubSystem::State>();
    state->Class = cls;
    auto* page = kv::Cast<InitialSetupDialog>(Seq()->ChangeState(state));
    ASSERT_NE(page, nullptr);
    Run(300);
    ASSERT_TRUE(page->IsOpen());
    page->Close();
    Run(1000);
    Settle();
  };
  for (const kv::Class* cls : pages) {
    SCOPED_TRACE(cls->name);
    cycle(cls);
    const auto baseline = Census();
    for (int i = 0; i < 50; ++i) cycle(cls);
    EXPECT_EQ(Census(), baseline);
  }
}

}  // namespace
}  // namespace setuptest
