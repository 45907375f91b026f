// The skin Wrapper's launcher and services against the simulated set: what
// the system manager receives (payload bytes), the active-application table,
// the store demo on the fake clock, the caption and audio keys, the rating
// switches, PIP, the shared PC input, the country and the power key.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/sim/sim_apps.h"
#include "platform/tvsm/tvsm.h"
#include "platform/xpm/xpm_oem.h"
#include "runtime/string.h"
#include "units/SkinBin/ClosedCaptionService.h"
#include "units/SkinBin/Wrapper.h"
#include "wrapper_fixture.h"

namespace wrappertest {
namespace {

class SkinServicesTest : public WrapperTest {
 protected:
  void SetUp() override {
    WrapperTest::SetUp();
    s_ = kv::New<SkinBin::Wrapper>();
    kv::LockObject(s_);
    s_->OnSetRoot(root_);
    s_->Initialize();
    tv_->ClearCallLog();
  }
  void TearDown() override {
    kv::UnlockObject(s_);
    WrapperTest::TearDown();
  }
  // The payloads the system manager received, one per report, with the code.
  std::vector<std::pair<uint32_t, std::vector<uint8_t>>> Reports() {
    std::vector<std::pair<uint32_t, std::vector<uint8_t>>> out;
    for (const auto& c : Calls("TVSM_ReportAsyncEvent")) {
      EXPECT_EQ(c.rfind("TVSM_ReportAsyncEvent(1, ", 0), 0u) << c;
      out.push_back({static_cast<uint32_t>(std::stoul(c.substr(25))), sim::AsyncPayload(c)});
    }
    return out;
  }
  static TVSM_LaunchMessage Launch(const std::vector<uint8_t>& bytes) {
    TVSM_LaunchMessage m;
    EXPECT_EQ(bytes.size(), sizeof m);
    std::memcpy(&m, bytes.data(), std::min(bytes.size(), sizeof m));
    return m;
  }
  static std::vector<uint8_t> Word(int32_t v) {
    std::vector<uint8_t> b(4);
    std::memcpy(b.data(), &v, 4);
    return b;
  }
  std::string Name(int i) { return s_->ActiveApps.Apps[i].Name.ToUtf8(); }

  SkinBin::Wrapper* s_ = nullptr;
};

TEST_F(SkinServicesTest, LaunchesSendTheWholeZeroedMessageAndStartTheApplications) {
  EXPECT_NE(s_->LaunchFlashApp(1, true), 0);
  EXPECT_TRUE(s_->FlashAppRunning);
  EXPECT_NE(s_->LaunchYahooApp(1, false), 0);
  EXPECT_NE(s_->LaunchVuduDock(true, true), 0);
  auto r = Reports();
  ASSERT_EQ(r.size(), 3u);
  const TVSM_LaunchMessage flash = Launch(r[0].second), widget = Launch(r[1].second), dock = Launch(r[2].second);
  EXPECT_EQ(r[0].first, 21u);
  EXPECT_EQ(flash.type, 2);
  EXPECT_STREQ(flash.name, "netflix");
  EXPECT_EQ(flash.flag, 1);
  EXPECT_EQ(widget.type, 6);
  EXPECT_STREQ(widget.name, "webtidemenu");
  EXPECT_EQ(widget.flag, 2);
  EXPECT_EQ(dock.type, 4);
  EXPECT_STREQ(dock.name, "vudu");
  // Nothing beyond the terminator: every byte after the text is zero.
  for (const auto& m : {flash, widget, dock})
    for (size_t i = std::strlen(m.name); i < sizeof m.name; ++i) ASSERT_EQ(m.name[i], 0) << m.name << " byte " << i;

  s_->RefreshActiveAppStatus();
  ASSERT_EQ(s_->ActiveApps.Count, 3);
  EXPECT_TRUE(s_->IsFlashlite());
  EXPECT_FALSE(s_->IsDemoFlash());
  EXPECT_EQ(s_->GetNetAppStatusById(6), &s_->ActiveApps.Apps[2]);
  EXPECT_EQ(s_->GetNetAppStatusById(5), nullptr);

  // The Flash application ends on request; the widget then owns the screen.
  tv_->ClearCallLog();
  s_->TerminateFlashApp();
  EXPECT_FALSE(s_->FlashAppRunning);
  s_->RefreshActiveAppStatus();
  EXPECT_TRUE(s_->IsYahoo());
  // ... and the system manager reports the widget gone on its own.
  sim::EndApps(*tv_, TVSM_APP_WIDGET);
  s_->RefreshActiveAppStatus();
  EXPECT_TRUE(s_->IsVuduDock());
  EXPECT_EQ(Name(1), "");  // emptied slot

  tv_->ClearCallLog();
  s_->TerminateAllcApps();
  r = Reports();
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0].first, 31u);
  EXPECT_EQ(r[1].first, 28u);
  EXPECT_EQ(r[2].first, 25u);
  EXPECT_TRUE(r[0].second.empty());
  s_->RefreshActiveAppStatus();
  EXPECT_EQ(s_->ActiveApps.Count, 0);
  EXPECT_EQ(s_->GetActiveNetAppStatus(), nullptr);
}

TEST_F(SkinServicesTest, FlashIdsOutsideTheTableSendNothingAndAnswerFailure) {
  for (int32_t id : {11, 99, 103, 133, -1}) {
    s_->FlashAppRunning = false;
    EXPECT_EQ(s_->LaunchFlashApp(id, false), 0) << id;
    EXPECT_TRUE(s_->FlashAppRunning);
  }
  EXPECT_EQ(s_->LaunchYahooApp(2, false), 0);
  EXPECT_TRUE(Reports().empty());
  EXPECT_TRUE(Logged("no application of id 133"));
  // 4 and 7 are the same application; 132 is the last demo line.
  s_->LaunchFlashApp(7, false);
  s_->LaunchFlashApp(132, false);
  auto r = Reports();
  ASSERT_EQ(r.size(), 2u);
  EXPECT_STREQ(Launch(r[0].second).name, "cinemanow");
  EXPECT_STREQ(Launch(r[1].second).name,
               "/VORN/KA100_sp.swf --bgalpha 0 --contentdims 960,540 --name demo --compliance 1");
}

TEST_F(SkinServicesTest, ActiveAppAnswerCountIsClampedToTheTable) {
  for (int i = 0; i < 8; ++i) sim::StartApp(*tv_, i % 2 ? 3 : 1, "app" + std::to_string(i), i == 0 ? 0x20 : 0);
  sim::ForceActiveAppsCountWord(*tv_, 9);
  s_->RefreshActiveAppStatus();
  EXPECT_EQ(s_->ActiveApps.Count, 8);
  EXPECT_TRUE(Logged("count 9 cut to 8"));
  EXPECT_EQ(Name(7), "app7");
  // Kind 1 and background applications do not own the screen.
  EXPECT_EQ(s_->GetActiveNetAppStatus(), &s_->ActiveApps.Apps[1]);
  sim::ForceActiveAppsCountWord(*tv_, -3);
  s_->RefreshActiveAppStatus();
  EXPECT_EQ(s_->ActiveApps.Count, 0);
  EXPECT_EQ(Name(0), "");
  // A failing answer keeps the table.
  sim::ClearActiveAppsCountWord(*tv_);
  s_->RefreshActiveAppStatus();
  tv_->FailCall("TVSM_GetActiveAppsStatus", 1);
  s_->RefreshActiveAppStatus();
  EXPECT_EQ(s_->ActiveApps.Count, 8);
  EXPECT_TRUE(Logged("TVSM_GetActiveAppsStatus Error 0x1"));
}

TEST_F(SkinServicesTest, StatusReportsCarryTheirWords) {
  s_->NotifySetupStatus(1);
  s_->NotifySetupStatus(0);
  s_->NotifySetupStatus(2);
  s_->NotifySetupStatus(3);
  s_->ReportGraphicsStatus(true, true);
  s_->ReportGraphicsStatus(false, false);
  s_->ReportInputOSDStatus(2, true);
  s_->ReportInputOSDStatus(3, false);
  s_->ReportInputOSDStatus(7, true);
  s_->RequestTVResources();
  EXPECT_EQ(s_->DeactivateNetworkApp(3), 0);
  auto cat = [](std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  const std::vector<std::pair<uint32_t, std::vector<uint8_t>>> expected = {
      {1, Word(1)}, {1, Word(0)}, {10, {}}, {6, Word(1)}, {7, Word(0)}, {8, cat(Word(1), Word(9))},
      {8, cat(Word(0), Word(10))}, {8, cat(Word(1), Word(1))}, {20, {}}};
  EXPECT_EQ(Reports(), expected);
  EXPECT_EQ(Calls("TVSM_ResetConnectedApps"), std::vector<std::string>{"TVSM_ResetConnectedApps(3)"});
  tv_->FailCall("TVSM_ReportAsyncEvent", 0);
  testing::internal::CaptureStdout();
  s_->ReportGraphicsStatus(true, true);
  s_->ReportInputOSDStatus(1, true);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Error in sending sidebar status to TVSM!"), std::string::npos);
  EXPECT_NE(out.find("Error sending input osd status to TVSM!"), std::string::npos);
}

TEST_F(SkinServicesTest, StoreDemoStartsAfterThirtySecondsAndStops) {
  s_->RetailMode = true;  // store location without persistent data
  s_->StickerDemo = 1;
  tv_->SetState("oem." + std::to_string(XPM_OEM_PANEL_CODE), "9");  // series type 3
  tv_->SetState("reg.s.country", "CA");                               // French
  s_->StartAutoDemoTimer();
  ASSERT_NE(s_->AutoDemoTimer.get(), nullptr);
  driver.RunFor(29000, 1000);
  EXPECT_TRUE(Reports().empty());
  driver.RunFor(1000, 1000);
  EXPECT_TRUE(s_->StartDemo);
  auto r = Reports();
  ASSERT_EQ(r.size(), 1u);
  EXPECT_STREQ(Launch(r[0].second).name,
               "/VORN/KA100_fr.swf --bgalpha 0 --contentdims 960,540 --name demo --compliance 1");
  EXPECT_TRUE(Logged("TVSM: starting store demo /VORN/KA100_fr.swf"));
  s_->RefreshActiveAppStatus();
  EXPECT_TRUE(s_->IsDemoFlash());
  // A key stops the demo and arms the timer again.
  tv_->ClearCallLog();
  s_->OnSetStartDemo(0);
  EXPECT_FALSE(s_->StartDemo);
  ASSERT_EQ(Reports().size(), 1u);
  EXPECT_EQ(Reports()[0].first, 25u);
  EXPECT_TRUE(s_->AutoDemoTimer->IsEnabled());
  // In a critical section, or at home, nothing runs.
  s_->AppCriticalSection = true;
  s_->StartAutoDemoTimer();
  EXPECT_FALSE(s_->AutoDemoTimer->IsEnabled());
}

TEST_F(SkinServicesTest, CaptionKeyCyclesBasicAndAdvancedServices) {
  s_->OnSetCCKeyDigital(5);  // advanced service index 0, captions on
  EXPECT_EQ(Calls("XPM_SetCaptionService").back(), "XPM_SetCaptionService(0, 1, 1)");
  EXPECT_EQ(Calls("XPM_SetCaptionRenderState").back(), "XPM_SetCaptionRenderState(0, 1)");
  EXPECT_EQ(s_->OnGetCCKeyDigital(), 5);
  s_->OnSetCCKeyDigital(3);
  EXPECT_EQ(s_->OnGetCCKeyDigital(), 3);
  EXPECT_EQ(s_->GetCaptionService()->Index, 2);
  // A service the programme does not carry is refused; the last one stays.
  tv_->SetState("svc.cc.advanced.count", "1");
  s_->OnSetCCKeyDigital(6);
  EXPECT_TRUE(Logged("XPM_SetCaptionService Error 0x2"));
  EXPECT_EQ(s_->OnGetCCKeyDigital(), 3);
  // Off writes "on when muted".
  s_->OnSetCCKeyDigital(0);
  EXPECT_EQ(Calls("XPM_SetCaptionRenderState").back(), "XPM_SetCaptionRenderState(0, 2)");
  EXPECT_EQ(s_->OnGetCCKeyDigital(), 0);
  s_->OnSetCCKey(2);
  EXPECT_EQ(s_->OnGetCCKey(), 2);
  EXPECT_EQ(Calls("XPM_SetPreferredBasicCaptionService").back(), "XPM_SetPreferredBasicCaptionService(2)");
}

TEST_F(SkinServicesTest, AudioKeySwitchesTracksAndDecodeModes) {
  // Window 0 shows 2-1 (digital): step through its tracks.
  const int32_t count = s_->HasAlternateAudio();
  if (count >= 2) {
    const int32_t before = s_->GetCurrentAudioIndex();
    s_->AutoAudioSwitch();
    EXPECT_EQ(s_->GetCurrentAudioIndex(), (before + 1) % count);
  } else {
    EXPECT_EQ(s_->AutoAudioSwitch(), 1);
  }
  // An analogue channel steps the decode mode round.
  s_->SetChannel(3, -2, true, false);
  s_->SetAudioDecodeMode(2);
  s_->AutoAudioSwitch();
  EXPECT_EQ(s_->GetAudioDecodeMode(), 0);
  // Other sources have no track to switch.
  s_->SetSource(0, kHdmi1);
  EXPECT_EQ(s_->AutoAudioSwitch(), 12);
}

TEST_F(SkinServicesTest, RatingSwitchesReachTheSet) {
  s_->SetNoneRating(true);
  EXPECT_EQ(Calls("XPM_SetUsAgeRating"), std::vector<std::string>{"XPM_SetUsAgeRating(1, 17895697, 1, 0)"});
  EXPECT_EQ(Calls("XPM_SetUsMovieRating"),
            (std::vector<std::string>{"XPM_SetUsMovieRating(8, 1, 0)", "XPM_SetUsMovieRating(1, 1, 0)"}));
  // The simulated set has no "none" dimension: it refuses, and the switch reads off.
  EXPECT_FALSE(s_->GetNoneRating());
  s_->SetOSDLock(true);
  tv_->ClearCallLog();
  s_->SetNoneRating(false);
  EXPECT_EQ(Count("XPM_SetUsAgeRating"), 0u);
  s_->SetOSDLock(false);
  s_->OnSetEnableRatingBlock(1);
  EXPECT_EQ(s_->OnGetEnableRatingBlock(), 1);
  const size_t writes = Count("XPM_SetParentalLocksMask");
  s_->OnSetEnableRatingBlock(1);  // no change, no write
  EXPECT_EQ(Count("XPM_SetParentalLocksMask"), writes);
  s_->OnSetEnableRatingBlock(0);
  EXPECT_EQ(s_->OnGetEnableRatingBlock(), 0);
}

TEST_F(SkinServicesTest, ChannelLocksAreClearedOnceAndTheWalkEnds) {
  State().SetChannelLock(2, 1, 1, kTest);
  s_->ResetChannelLocks();
  int32_t locked = 1;
  State().GetChannelLock(5, 1, &locked, kTest);
  EXPECT_EQ(locked, 0);
  State().GetChannelLock(2, 1, &locked, kTest);
  EXPECT_EQ(locked, 0);
  EXPECT_EQ(Count("XPM_SetChannelLock"), 2u);
  // A walk that fails at once stops at once.
  tv_->ClearCallLog();
  tv_->FailCall("XPM_GetNextChannel", 6);
  s_->ResetChannelLocks();
  EXPECT_EQ(Count("XPM_GetNextChannel"), 1u);
}

TEST_F(SkinServicesTest, PipSharedPcInputCountryPowerKeyAndHdmiMute) {
  s_->OnSetPipSize(2);
  EXPECT_EQ(s_->OnGetPipSize(), 2);
  s_->OnSetPipSource(kAv);
  EXPECT_EQ(SourceOf(1), kAv);
  s_->OnSetCountry(2);
  EXPECT_EQ(s_->OnGetCountry(), 2);
  tv_->ClearCallLog();
  s_->OnSetCountry(2);  // both keys hold their values: nothing written
  EXPECT_EQ(Count("TVSM_RegisterTablePutString"), 0u);
  EXPECT_EQ(s_->PowerKeyControl(0), 0);
  EXPECT_FALSE(s_->PowerKeyEnabled);
  EXPECT_EQ(Calls("XPM_PowerKeyCtrl"), std::vector<std::string>{"XPM_PowerKeyCtrl(0)"});
  s_->PowerKeyControl(1);
  EXPECT_TRUE(s_->PowerKeyEnabled);
  EXPECT_FALSE(s_->IsHDMIAvMuted());
  tv_->SetState("svc.hdmi.avmute", "1");
  EXPECT_TRUE(s_->IsHDMIAvMuted());
  tv_->FailCall("XPM_GetHdmiAvMute", 3);
  EXPECT_FALSE(s_->IsHDMIAvMuted());
  tv_->ClearFailures();
  // The shared PC input: source 21 vanishes when it is switched on.
  s_->AutoInputAUX = 21;
  s_->OnSetSharedPCInput(1);
  EXPECT_EQ(s_->OnGetAutoInputAUX(), 13);
}

// Every system-manager and middleware call of the launcher and services
// failing in turn: nothing crashes and the failure is logged.
TEST_F(SkinServicesTest, EveryCallFailingInTurnIsLoggedAndSurvived) {
  const std::vector<std::pair<std::string, std::function<void()>>> cases = {
      {"TVSM_ReportAsyncEvent", [&] { EXPECT_EQ(s_->LaunchFlashApp(1, false), 0); }},
      {"TVSM_GetActiveAppsStatus", [&] { s_->RefreshActiveAppStatus(); }},
      {"TVSM_ResetConnectedApps", [&] { EXPECT_NE(s_->DeactivateNetworkApp(2), 0); }},
      {"XPM_GetCurrentCaptionService", [&] { EXPECT_EQ(s_->GetCaptionService()->Type, 0); }},
      {"XPM_SetCaptionService", [&] { s_->OnSetCCKeyDigital(1); }},
      {"XPM_GetPipSize", [&] { EXPECT_EQ(s_->OnGetPipSize(), 0); }},
      {"XPM_SetPipSize", [&] { s_->OnSetPipSize(1); }},
      {"XPM_PowerKeyCtrl", [&] { EXPECT_NE(s_->PowerKeyControl(0), 0); }},
      {"XPM_GetHdmiAvMute", [&] { EXPECT_FALSE(s_->IsHDMIAvMuted()); }},
      {"XPM_GetUsAgeRating", [&] { EXPECT_FALSE(s_->GetNoneRating()); }},
      {"XPM_GetChannelLock", [&] { s_->ResetChannelLocks(); }},
      {"TVSM_RegisterTableGetString", [&] { EXPECT_EQ(s_->OnGetCountry(), 0); }},
      {"TVSM_RegisterTablePutString", [&] { s_->OnSetCountry(1); }},
      {"TVSM_RegisterTableRegisterValueChangeNotice", [&] { s_->RegisterTableChangeNotify(KV_STR(u"k"), true); }},
  };
  for (const auto& [call, run] : cases) {
    ClearLines();
    tv_->FailCall(call, call == "TVSM_ReportAsyncEvent" ? 0 : 9);
    run();
    tv_->ClearFailures();
    EXPECT_GT(Count(call), 0u) << call;
    EXPECT_TRUE(Logged(call)) << call;
  }
}

}  // namespace
}  // namespace wrappertest
