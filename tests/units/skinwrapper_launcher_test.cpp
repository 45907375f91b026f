// The skin Wrapper's launcher and services against the simulated set: what
// the system manager receives (payload bytes), the active-application table,
// the store demo on the fake clock, the caption and audio keys, the rating
// switches, PIP, the shared PC input, the country and the power key.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/sim/sim_apps.h"
#include "platform/sim/sim_net_state.h"
#include "platform/xpm/xpm_network.h"
#include "platform/tvsm/tvsm.h"
#include "platform/xpm/xpm_oem.h"
#include "runtime/string.h"
#include "units/Agent/EventAgent.h"
#include "units/Events/XPM_EVENT_SOURCE_ACQUIRED.h"
#include "units/SkinBin/ClosedCaptionService.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/IF_Configuration.h"
#include "units/Structures/TimerData.h"
#include "units/Structures/WLAN_Connection.h"
#include "units/Structures/VirtualChannel.h"
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
  testing::internal::CaptureStderr();  // the log's one stream
  s_->ReportGraphicsStatus(true, true);
  s_->ReportInputOSDStatus(1, true);
  const std::string out = testing::internal::GetCapturedStderr();
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

// The audio switch on a digital channel with no, one and two audio tracks:
// with fewer than two it answers 1 and the set keeps its track; with two it
// steps through them at the set and wraps. An analogue channel steps the
// decode mode round; other sources have no track to switch.
TEST_F(SkinServicesTest, AudioKeySwitchesTracksAndDecodeModes) {
  for (int32_t tracks : {0, 1, 2}) {
    SCOPED_TRACE(tracks);
    sim::Channel analogue;
    analogue.major = 3;
    analogue.physical = 3;
    analogue.name = "ANALOG";
    sim::Channel digital;
    digital.major = 7;
    digital.minor = 1;
    digital.digital = true;
    digital.physical = 7;
    digital.name = "DIGITAL";
    digital.audioServices = tracks;
    for (int32_t medium : {0, 1}) State().ReplaceChannelMap(medium, {analogue, digital});
    s_->SetChannel(7, 1, true, false);
    int32_t count = -1, index = -1;
    ASSERT_EQ(State().NumAudioServices(0, &count, kTest), 0);
    ASSERT_EQ(count, tracks);
    EXPECT_EQ(s_->HasAlternateAudio(), tracks);
    tv_->ClearCallLog();
    if (tracks < 2) {
      EXPECT_EQ(s_->AutoAudioSwitch(), 1);
      EXPECT_EQ(Count("XPM_SetAudioService"), 0u);
      continue;
    }
    ASSERT_EQ(State().CurrentAudioService(0, &index, kTest), 0);
    const int32_t first = index;
    s_->AutoAudioSwitch();
    ASSERT_EQ(State().CurrentAudioService(0, &index, kTest), 0);
    EXPECT_EQ(index, (first + 1) % 2);
    s_->AutoAudioSwitch();
    ASSERT_EQ(State().CurrentAudioService(0, &index, kTest), 0);
    EXPECT_EQ(index, first);
    EXPECT_EQ(Count("XPM_SetAudioService"), 2u);
    EXPECT_FALSE(Logged("refused"));
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
  EXPECT_TRUE(s_->GetNoneRating());
  s_->SetNoneRating(false);
  EXPECT_FALSE(s_->GetNoneRating());
  // One of the three dimensions open is enough to read off.
  s_->SetNoneRating(true);
  State().SetRatingBlock(sim::Setting::kUsMovieRating, 8, 0, 0, kTest);
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
      {"XPM_GetAudioServiceInfo", [&] { EXPECT_EQ(s_->GetCurrentAudioService().ToUtf8(), "Audio"); }},
      {"XPM_GetCurrentSource", [&] { EXPECT_EQ(s_->GetAutoAudioName().ToUtf8(), "Not available"); }},
      {"OAM_GetModelInfo", [&] { EXPECT_EQ(s_->GetModelInfo()->Name.Length(), 0); }},
      {"XPM_NetFlixGetESN", [&] { EXPECT_EQ(s_->GetNetflixESN().Length(), 0); }},
      {"XPM_GetWidevineDeviceId", [&] { EXPECT_EQ(s_->GetWidevineDeviceId().Length(), 0); }},
      {"XPM_OpenUART", [&] { EXPECT_NE(s_->OpenUART(true), 0); }},
      {"XPM_PrintStringUART", [&] { s_->PrintKvString(KV_STR(u"x")); }},
      {"XPM_AddSourceToRing", [&] { EXPECT_NE(s_->AddSourceToRing(0, kHdmi1, 0, nullptr), 0); }},
      {"XPM_RemoveSourceFromRing", [&] { EXPECT_NE(s_->RemoveSourceFromRing(0, kHdmi1, 0, nullptr), 0); }},
      {"XPM_SetTimer", [&] { EXPECT_NE(s_->ResetTimer(1), 0); }},
      {"XPM_GetTimer", [&] { s_->OnSetOnTimerVolume(40); }},
      {"XPM_GetTimeZone", [&] { s_->GetTimeZoneAbbrev(); }},
      {"BCM_DisplayChannelNumber", [&] { s_->DisplayNoChannel(); }},
      {"XPM_LAN_SetIFConfig", [&] {
         s_->NetworkSetup.LAN_GetIfState(0);
         s_->OnSetDNS1(1);
       }},
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

TEST_F(SkinServicesTest, AudioNamesFollowTheTracksAndDecodeModes) {
  EXPECT_EQ(s_->LanguageFromXPM(KV_STR(u"ENG")).ToUtf8(), "English");
  EXPECT_EQ(s_->LanguageFromXPM(KV_STR(u"fre")).ToUtf8(), "Français");
  EXPECT_EQ(s_->LanguageFromXPM(KV_STR(u"Deu")).ToUtf8(), "deu");
  EXPECT_EQ(s_->LanguageFromXPM(KV_STR(u"1ab")).Length(), 0);
  EXPECT_EQ(s_->LanguageFromXPM(kv::String()).Length(), 0);
  EXPECT_EQ(s_->GetFullLangName(KV_STR(u"KOR")).ToUtf8(), "Korean");
  EXPECT_EQ(s_->GetFullLangName(KV_STR(u"deu")).Length(), 0);
  // 2-1 carries an English and a Spanish track.
  EXPECT_EQ(s_->GetCurrentAudioService().ToUtf8(), "English");
  s_->AutoAudioSwitch();
  EXPECT_EQ(s_->GetAutoAudioName().ToUtf8(), "Español");
  // An analogue channel names its decode mode.
  s_->SetChannel(3, -2, true, false);
  s_->SetAudioDecodeMode(1);
  EXPECT_EQ(s_->GetAutoAudioName().ToUtf8(), "Stereo");
  s_->SetOSDLock(true);
  EXPECT_EQ(s_->GetAutoAudioName().Length(), 0);
  s_->SetOSDLock(false);
  // A channel without service has no track: the plain audio text.
  s_->SetChannel(4, 3, true, false);
  EXPECT_EQ(s_->GetCurrentAudioService().ToUtf8(), "Audio");
  EXPECT_EQ(s_->AutoAudioSwitch(), 1);
  s_->SetSource(0, kHdmi1);
  EXPECT_EQ(s_->GetAutoAudioName().ToUtf8(), "Not available");
}

TEST_F(SkinServicesTest, SharedJacksDecideWhoseAudioIsSelected) {
  s_->OnSetSideSharedAudio(1);
  s_->OnSetRearSharedAudio(1);
  s_->SeriesType = 1;
  EXPECT_TRUE(s_->IsAudioSelectedSource(5));
  EXPECT_FALSE(s_->IsAudioSelectedSource(12));
  EXPECT_FALSE(s_->IsAudioSelectedSource(21));
  EXPECT_FALSE(s_->IsAudioSelectedSource(13));
  EXPECT_TRUE(s_->IsAudioSelectedSource(kHdmi1));
  s_->OnSetSideSharedAudio(0);
  s_->OnSetRearSharedAudio(0);
  EXPECT_FALSE(s_->IsAudioSelectedSource(5));
  EXPECT_TRUE(s_->IsAudioSelectedSource(12));
  EXPECT_TRUE(s_->IsAudioSelectedSource(21));
  EXPECT_TRUE(s_->IsAudioSelectedSource(13));
  // Series type 0 has no rear jack shared with source 13.
  s_->SeriesType = 0;
  s_->OnSetRearSharedAudio(1);
  EXPECT_TRUE(s_->IsAudioSelectedSource(13));
}

TEST_F(SkinServicesTest, ModelAndDeviceIdentification) {
  SkinBin::ModelInfo* info = s_->GetModelInfo();
  EXPECT_EQ(info->Number, 4201);
  EXPECT_EQ(info->Name.ToUtf8(), "SIM-42");
  EXPECT_EQ(info->Text3.ToUtf8(), "rev-A");
  tv_->SetState("oam.model.type", "6");
  EXPECT_EQ(s_->GetModelInfo()->Name.ToUtf8(), "SERVICE");
  EXPECT_EQ(s_->SetTVModelID(40), 1);
  EXPECT_EQ(s_->SetTVModelID(65), 1);
  s_->OnSetTVModelId(83);
  // Ids 40, 65 and 83 are the model table's rows 6, 7 and 12: model id,
  // configuration and group reach the platform.
  EXPECT_EQ(Calls("OAM_SetCustomizedProperty"),
            (std::vector<std::string>{"OAM_SetCustomizedProperty(18, 68)", "OAM_SetCustomizedProperty(19, 12)",
                                      "OAM_SetCustomizedProperty(18, 65)", "OAM_SetCustomizedProperty(19, 0)",
                                      "OAM_SetCustomizedProperty(18, 83)", "OAM_SetCustomizedProperty(19, 11)"}));
  EXPECT_EQ(Calls("BCM_SetModel"),
            (std::vector<std::string>{"BCM_SetModel(0)", "BCM_SetModel(0)", "BCM_SetModel(2)"}));
  testing::internal::CaptureStderr();  // the log's one stream
  EXPECT_EQ(s_->GetNetflixESN().ToUtf8(), "SIMTV-0000000000000042");
  // The device id is 16 bytes whatever the middleware leaves after them.
  tv_->SetState("sys.widevine", "0123456789ABCDEFGHIJ");
  EXPECT_EQ(s_->GetWidevineDeviceId().ToUtf8(), "0123456789ABCDEF");
  const std::string out = testing::internal::GetCapturedStderr();
  EXPECT_NE(out.find("ESN is SIMTV-0000000000000042\n"), std::string::npos);
  EXPECT_NE(out.find("Widevine is 0123456789ABCDEF\n"), std::string::npos);
}

TEST_F(SkinServicesTest, SerialPortLinesFilesRingsAndFrontDisplay) {
  EXPECT_EQ(s_->OpenUART(true), 0);
  s_->PrintKvString(KV_STR(u"hello"));
  s_->PrintKvString(kv::String());
  s_->PrintKvString(kv::NewStringAnsi(std::string(300, 'x').c_str()));
  const auto lines = Calls("XPM_PrintStringUART");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "XPM_PrintStringUART(\"hello\r\n\")");
  EXPECT_EQ(lines[1], "XPM_PrintStringUART(\"" + std::string(255, 'x') + "\r\n\")");
  EXPECT_EQ(s_->OpenUART(false), 0);
  EXPECT_EQ(Count("XPM_CloseUART"), 1u);

  const std::string file = (dir_ / "note.txt").string();
  FILE* f = std::fopen(file.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("line one", f);
  std::fclose(f);
  EXPECT_EQ(s_->ReadFromFile(kv::NewStringAnsi(file.c_str())).ToUtf8(), "line one");
  EXPECT_EQ(s_->ReadFromFile(KV_STR(u"/no/such/file")).Length(), 0);

  auto* channel = kv::New<Structures::VirtualChannel>();
  channel->Major = 7;
  channel->Minor = 2;
  EXPECT_EQ(s_->AddSourceToRing(0, kTv, 1, channel), 0);
  EXPECT_EQ(s_->AddSourceToRing(1, kHdmi1, 0, nullptr), 0);
  EXPECT_EQ(s_->RemoveSourceFromRing(1, kHdmi1, 0, nullptr), 0);
  EXPECT_NE(s_->RemoveSourceFromRing(1, kHdmi1, 0, nullptr), 0);  // no longer in the ring
  EXPECT_EQ(Calls("XPM_AddSourceToRing"),
            (std::vector<std::string>{"XPM_AddSourceToRing(0, " + std::to_string(kTv) + ", 1, 7, 2)",
                                      "XPM_AddSourceToRing(1, " + std::to_string(kHdmi1) + ", 0, -2, -2)"}));

  s_->DisplayNoChannel();
  EXPECT_EQ(Calls("BCM_DisplayChannelNumber"), std::vector<std::string>{"BCM_DisplayChannelNumber(1)"});
}

TEST_F(SkinServicesTest, TimerResetOnTimerVolumeTimeZoneAndControllerAccess) {
  EXPECT_EQ(s_->ResetTimer(2), 0);
  s_->ActiveTimer = nullptr;
  Structures::TimerData* t = s_->GetTimer(2);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->Enable, 0);
  EXPECT_EQ(t->ChannelMajor, -2);
  EXPECT_EQ(t->ChannelMinor, -2);
  EXPECT_EQ(t->Source, -1);
  EXPECT_EQ(t->Extra2, 30);
  EXPECT_EQ(t->Duration, 3600);
  EXPECT_EQ(t->TimesType, 2);

  // Without a cached record the on-timer's own record changes at once.
  ASSERT_EQ(s_->ResetTimer(0), 0);
  s_->ActiveTimer = nullptr;
  s_->OnSetOnTimerVolume(45);
  s_->ActiveTimer = nullptr;
  EXPECT_EQ(s_->GetTimer(0)->Extra2, 45);
  // A cached record takes the volume and keeps it until it is saved.
  s_->ActiveTimer = nullptr;
  EXPECT_EQ(s_->OnGetOnTimerVolume(), 45);  // reads timer 0 (and caches it)
  ASSERT_NE(s_->ActiveTimer.get(), nullptr);
  tv_->ClearCallLog();
  s_->OnSetOnTimerVolume(12);
  EXPECT_EQ(Count("XPM_SetTimer"), 0u);
  EXPECT_EQ(s_->OnGetOnTimerVolume(), 12);

  s_->OnSetTimeZone(0);
  s_->OnSetDaylightSavingTime(1);
  EXPECT_EQ(s_->GetTimeZoneAbbrev().ToUtf8(), "EDT");
  s_->OnSetTimeZone(4);
  s_->OnSetDaylightSavingTime(0);
  EXPECT_EQ(s_->GetTimeZoneAbbrev().ToUtf8(), "AKST");

  s_->OnSetDMC_AccessControl(5);
  EXPECT_EQ(s_->OnGetDMC_AccessControl(), 1);
  s_->OnSetDMC_AccessControl(0);
  EXPECT_EQ(s_->OnGetDMC_AccessControl(), 0);
}

TEST_F(SkinServicesTest, ResumeSignalEventReopensTheCurrentAcquisition) {
  auto* agent = kv::New<Agent::EventAgent>();
  s_->EventAgent = agent;
  s_->ResumeSignalEvent();  // nothing kept: nothing happens
  auto* event = kv::New<Events::XPM_EVENT_CHANNEL_ACQUIRED>();
  event->Channel = s_->GetCurrentChannel();
  event->Status = 6;
  event->Handled = 1;
  agent->InsertEvent(event);
  s_->ResumeSignalEvent();
  EXPECT_EQ(event->Handled, 0);
  // Another channel's event stays handled.
  event->Handled = 1;
  auto* other = kv::New<Structures::VirtualChannel>();
  other->Major = 9;
  other->Minor = 1;
  event->Channel = other;
  s_->ResumeSignalEvent();
  EXPECT_EQ(event->Handled, 1);
  // A source event: only one without a good picture comes back.
  auto* source = kv::New<Events::XPM_EVENT_SOURCE_ACQUIRED>();
  source->Source = s_->GetCurrentSource(0);
  source->Status = 16;
  source->Handled = 1;
  agent->InsertEvent(source);
  s_->ResumeSignalEvent();
  EXPECT_EQ(source->Handled, 1);
  source->Status = 17;
  s_->ResumeSignalEvent();
  EXPECT_EQ(source->Handled, 0);
}


TEST_F(SkinServicesTest, IpConfigurationIsWrittenAndReadBackOnBothInterfaces) {
  // No interface record yet: nothing half-known is sent, and the address
  // does not look stored.
  s_->OnSetIPAddress(0x0A000001);
  EXPECT_EQ(s_->OnGetIPAddress(), 0u);
  EXPECT_EQ(s_->NetworkSetup.LastApply, -1);
  EXPECT_EQ(Count("XPM_LAN_SetIFConfig"), 0u);

  auto writeAll = [&](uint32_t base) {
    s_->OnSetAutoSetup(0);
    s_->OnSetIPAddress(base + 4);
    s_->OnSetSubnetMask(0xFFFFFF00);
    s_->OnSetDefaultGateway(base + 1);
    s_->OnSetDNS1(0x08080808);
    s_->OnSetDNS2(0x08080404);
  };
  auto expectRead = [&](uint32_t base) {
    EXPECT_EQ(s_->OnGetAutoSetup(), 0);
    EXPECT_EQ(s_->OnGetIPAddress(), base + 4);
    EXPECT_EQ(s_->OnGetSubnetMask(), 0xFFFFFF00u);
    EXPECT_EQ(s_->OnGetDefaultGateway(), base + 1);
    EXPECT_EQ(s_->OnGetDNS1(), 0x08080808u);
    EXPECT_EQ(s_->OnGetDNS2(), 0x08080404u);
  };
  auto configOf = [&](int32_t device) {
    sim::NetState::IfConfig c;
    EXPECT_EQ(tv_->Net().GetIfConfig(device, &c, kTest), 0);
    return c;
  };

  // Wired: the status check keeps the record (leased under DHCP).
  s_->OnSetNetworkType(0);
  Structures::IF_Configuration* rec = s_->NetworkSetup.LAN_GetIfState(s_->GetCurrentLanDevId());
  EXPECT_EQ(rec->DHCP, 1);
  EXPECT_EQ(s_->OnGetIPAddress(), 0xC0A80164u);  // 192.168.1.100
  writeAll(0x01020300);
  // The first octet is the most significant byte: 1, 2, 3, 4 in that order.
  const uint8_t bytes[4] = {1, 2, 3, 4};
  EXPECT_EQ(std::memcmp(s_->NetworkSetup.GetIfConfig()->IPAddress, bytes, 4), 0);
  EXPECT_EQ(Count("XPM_LAN_SetIFConfig"), 6u);  // the whole record at every write
  EXPECT_FALSE(configOf(0).dhcp);
  EXPECT_EQ(configOf(0).ip, 0x01020304u);
  EXPECT_EQ(configOf(0).dns2, 0x08080404u);
  s_->NetworkSetup.LAN_GetIfState(0);  // a fresh record from the set
  expectRead(0x01020300);

  // Wireless: joined to the home network, then set and read back the same way.
  s_->OnSetNetworkType(1);
  auto* join = kv::New<Structures::WLAN_Connection>();
  join->SSID = KV_STR(u"HomeNet");
  join->Key = KV_STR(u"correct horse");
  join->SecurityMethod = XPM_WLAN_SEC_WPA2_AES;
  ASSERT_EQ(s_->NetworkSetup.WLAN_JoinNetwork(join), 1);
  driver.RunFor(sim::NetState::kJoinDelay, 100);
  tv_->Quiesce();
  s_->NetworkSetup.LAN_GetIfState(s_->GetCurrentLanDevId());
  EXPECT_EQ(s_->OnGetIPAddress(), 0xC0A80165u);  // 192.168.1.101
  tv_->ClearCallLog();
  writeAll(0x0A000000);
  EXPECT_EQ(CallsStartingWith("XPM_LAN_SetIFConfig(1, ").size(), 6u);
  EXPECT_EQ(configOf(1).ip, 0x0A000004u);
  EXPECT_EQ(configOf(0).ip, 0x01020304u);  // the wired one kept its own
  s_->NetworkSetup.LAN_GetIfState(1);
  expectRead(0x0A000000);
  // Back to automatic set-up: the lease again.
  s_->OnSetAutoSetup(1);
  EXPECT_TRUE(configOf(1).dhcp);
  s_->NetworkSetup.LAN_GetIfState(1);
  EXPECT_EQ(s_->OnGetAutoSetup(), 1);
  EXPECT_EQ(s_->OnGetIPAddress(), 0xC0A80165u);

  // The streaming service's device serial.
  EXPECT_EQ(s_->GetNetflixESN().ToUtf8(), "SIMTV-0000000000000042");
}

}  // namespace
}  // namespace wrappertest
