// The skin Wrapper's texts and the operations finished last, through the
// whole system: channel-number, fail-reason, resolution, PC-timing and
// rating texts, the current audio service, the factory reset's rating
// region and network applications, the timer channel's fallback, the
// once-only on-timer, the slider ranges, the register table behind the time
// zone and the menu language, digital-only tuning and GlowSync.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "platform/sim/sim_audio_service.h"
#include "platform/xpm/xpm_audio_service.h"
#include "runtime/auto_object.h"
#include "runtime/text.h"
#include "strings/SkinBinWrapper.h"
#include "strings/Strings.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionDatabase.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/TimerData.h"
#include "units/Structures/VideoContentInfo.h"

namespace skintextstest {
namespace {

class SkinTextsTest : public apptest::AppTest {
 protected:
  static SkinBin::Wrapper* Skin() {
    return kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper));
  }
  static std::string Video(int32_t w, int32_t h, int32_t scan, int32_t rate, bool pc = false) {
    auto* v = kv::New<Structures::VideoContentInfo>();
    v->Width = w;
    v->Height = h;
    v->ScanType = scan;
    v->FrameRate = rate;
    v->PCTiming = pc ? 1 : 0;
    return (pc ? Skin()->GetVGAInfo(v) : Skin()->GetResolutionString(v)).ToUtf8();
  }
  static std::string Us(int32_t code) { return Skin()->GetUsRatingName(Skin()->GetUsRatingIndex(code)).ToUtf8(); }
};

TEST_F(SkinTextsTest, ChannelNumbersAndFailReasons) {
  SkinBin::Wrapper* s = Skin();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->GetChannelNumberStr(true, -2, 0).ToUtf8(), kv::LoadString(SkinBinWrapper::SID_NO_CHANNEL).ToUtf8());
  EXPECT_EQ(s->GetChannelNumberStr(false, 7, 0).ToUtf8(), "7");
  EXPECT_EQ(s->GetChannelNumberStr(true, 7, 0).ToUtf8(), "7-0") << "a digital channel keeps minor 0";
  EXPECT_EQ(s->GetChannelNumberStr(true, 7, -1).ToUtf8(), "7");
  EXPECT_EQ(s->GetChannelNumberStr(false, 12, 3).ToUtf8(), "12-3");

  const auto text = [](const kv::MultiTextId& id) { return kv::GetVariantOfString(id).ToUtf8(); };
  for (int32_t st : {1, 17}) EXPECT_EQ(s->GetFailReasonString(st).ToUtf8(), text(Strings::SID_NO_SIGNAL_MSG));
  for (int32_t st : {2, 6, 7}) EXPECT_EQ(s->GetFailReasonString(st).ToUtf8(), text(Strings::SID_NO_CHANNELS_WARNING));
  EXPECT_EQ(s->GetFailReasonString(3).ToUtf8(), text(Strings::SID_NO_VIDEO));
  EXPECT_EQ(s->GetFailReasonString(4).ToUtf8(), text(Strings::SID_CH_BLOCKED));
  for (int32_t st : {5, 20}) EXPECT_EQ(s->GetFailReasonString(st).ToUtf8(), text(Strings::SID_RATING_OSD_MESG));
  for (int32_t st : {18, 19})
    EXPECT_EQ(s->GetFailReasonString(st).ToUtf8(), text(Strings::SID_UNSUPPORTED_VIDEO_SIGNAL));
  EXPECT_EQ(s->GetFailReasonString(23).ToUtf8(), text(Strings::SID_INPUT_LOCK));
  EXPECT_EQ(s->GetFailReasonString(48).ToUtf8(), text(Strings::SID_RE_TUNE));
  for (int32_t st : {0, 8, 16, 21, 49, -1}) EXPECT_TRUE(s->GetFailReasonString(st).Empty()) << st;
  // The live-TV screens ask the Wrapper.
  EXPECT_EQ(NonMenuSystem::Live::FailReasonText(4).ToUtf8(), text(Strings::SID_CH_BLOCKED));
}

TEST_F(SkinTextsTest, ResolutionAndPcTimingTexts) {
  EXPECT_EQ(Video(720, 480, 1, 4), "480i");
  EXPECT_EQ(Video(720, 549, 2, 7), "480p");
  EXPECT_EQ(Video(720, 576, 1, 3), "576i");
  EXPECT_EQ(Video(1280, 720, 1, 8), "720p") << "720 has no suffix of its own";
  EXPECT_EQ(Video(1280, 799, 2, 8), "720p");
  EXPECT_EQ(Video(1920, 1080, 2, 8), "1080p");
  EXPECT_EQ(Video(1920, 1099, 1, 8), "1080i");
  for (int32_t h : {0, 479, 600, 719, 800, 1079, 1100, 2160}) EXPECT_EQ(Video(1, h, 2, 8), "") << h;
  EXPECT_TRUE(Skin()->GetResolutionString(nullptr).Empty());

  EXPECT_EQ(Video(1024, 768, 2, 8, true), "1024x768 60Hz");
  EXPECT_EQ(Video(640, 480, 2, 7, true), "640x480 59.94Hz");
  EXPECT_EQ(Video(1360, 768, 2, 99, true), "1360x768") << "an unknown rate code leaves the rate out";
  EXPECT_EQ(Video(0, 0, 0, 0, true), "");
  EXPECT_TRUE(Skin()->GetVGAInfo(nullptr).Empty());
}

TEST_F(SkinTextsTest, RatingIndicesNamesAndDescriptors) {
  SkinBin::Wrapper* s = Skin();
  // TV ratings in bits 28-31 (with descriptors below), movies in bits 0-3.
  EXPECT_EQ(s->GetUsRatingIndex(1 << 28), 0);
  EXPECT_EQ(Us(1 << 28), "TV-Y");
  EXPECT_EQ(Us(2 << 28), "TV-Y7");
  const int32_t tv14dl = (5 << 28) | 0x10 | 0x100;
  EXPECT_EQ(Us(tv14dl & ~15), "TV-14");
  EXPECT_LT(s->GetUsRatingIndex(tv14dl & ~15), 7);
  EXPECT_EQ(Us(6 << 28), "TV-MA");
  EXPECT_EQ(Us(2), "G");
  EXPECT_EQ(Us(4), "PG-13");
  EXPECT_EQ(Us(7), "X");
  EXPECT_EQ(s->GetUsRatingIndex(7), 13);
  EXPECT_GE(s->GetUsRatingIndex(1), 7) << "movie indices follow the TV ones";
  EXPECT_EQ(s->GetUsRatingIndex(0), SkinBin::Wrapper::US_RATING_NOT_FOUND);
  EXPECT_EQ(s->GetUsRatingIndex(8), SkinBin::Wrapper::US_RATING_NOT_FOUND);
  EXPECT_EQ(s->GetUsRatingIndex(static_cast<int32_t>(0xF0000000u)), SkinBin::Wrapper::US_RATING_NOT_FOUND);
  EXPECT_TRUE(s->GetUsRatingName(-1).Empty());
  EXPECT_TRUE(s->GetUsRatingName(14).Empty());

  const auto has = [&](int32_t word, const char* key) { return s->GetUsTVContent(word, kv::String::FromUtf8(key)); };
  EXPECT_TRUE(has(tv14dl, "D"));
  EXPECT_TRUE(has(tv14dl, "L"));
  EXPECT_FALSE(has(tv14dl, "S"));
  EXPECT_FALSE(has(tv14dl, "V"));
  EXPECT_FALSE(has(tv14dl, "FV"));
  EXPECT_TRUE(has((2 << 28) | 0x1000000, "FV"));
  EXPECT_FALSE(has(tv14dl, "Q")) << "an unknown key is never present";

  EXPECT_EQ(s->GetCanRatingName(s->GetCanRatingIndex(1)).ToUtf8(), "C");
  EXPECT_EQ(s->GetCanRatingName(s->GetCanRatingIndex(6)).ToUtf8(), "18+");
  EXPECT_EQ(s->GetCanRatingIndex(SkinBin::Wrapper::CAN_RATING_FRENCH | 1), 6);
  EXPECT_EQ(s->GetCanRatingName(s->GetCanRatingIndex(SkinBin::Wrapper::CAN_RATING_FRENCH | 5)).ToUtf8(), "18 ans+");
  for (int32_t c : {0, 7, SkinBin::Wrapper::CAN_RATING_FRENCH | 6, 0x100 | 1})
    EXPECT_EQ(s->GetCanRatingIndex(c), SkinBin::Wrapper::CAN_RATING_NOT_FOUND) << c;
}

TEST_F(SkinTextsTest, CurrentAudioServiceComesFromTheSetAndIsEmptyOnFailure) {
  sim::SetAudioServiceFormat(Tv(), XPM_AUDIO_CODING_DOLBY_DIGITAL, 6);
  SkinBin::CurrentAudioServiceInfo* a = Skin()->GetCurrentAudioServiceInfo(0);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Coding, 3);
  EXPECT_TRUE(a->IsDolby());
  EXPECT_EQ(a->AudioMode, 6);
  EXPECT_EQ(a->Language.ToUtf8(), "eng");
  FailCall("XPM_GetCurrentAudioServiceInfo", 5);
  a = Skin()->GetCurrentAudioServiceInfo(0);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Coding, 0);
  EXPECT_EQ(a->AudioMode, 0);
  EXPECT_TRUE(Logged("XPM_GetCurrentAudioServiceInfo"));
}

TEST_F(SkinTextsTest, ResetAllResetsTheRatingRegionAndDeactivatesTheNetworkApplications) {
  ClearCallLog();
  Skin()->ResetAll();
  const std::vector<std::string> log = CallLog();
  auto at = [&](const std::string& call) {
    for (size_t i = 0; i < log.size(); ++i)
      if (log[i] == call) return static_cast<int>(i);
    return -1;
  };
  const int rating = at("XPM_ResetRatingRegion(5)");
  const int app2 = at("TVSM_ResetConnectedApps(2)");
  const int app3 = at("TVSM_ResetConnectedApps(3)");
  const int reset = at("XPM_Reset(0)");
  ASSERT_GE(rating, 0);
  ASSERT_GE(app2, 0);
  ASSERT_GE(app3, 0);
  ASSERT_GE(reset, 0);
  EXPECT_LT(rating, app2) << "the rating region before the network applications";
  EXPECT_LT(app2, app3);
  EXPECT_LT(app3, reset) << "the middleware's reset comes last";
  // A failing rating-region reset is logged and the reset goes on.
  ClearCallLog();
  FailCall("XPM_ResetRatingRegion", 3);
  Skin()->ResetAll();
  const auto after = CallLog();
  EXPECT_NE(std::find(after.begin(), after.end(), "XPM_Reset(0)"), after.end());
  EXPECT_TRUE(Logged("XPM_ResetRatingRegion"));
}

TEST_F(SkinTextsTest, TimerChannelFallsBackToTheChannelInTune) {
  SkinBin::Wrapper* s = Skin();
  s->OnSetActiveTimerId(0);
  s->OnSetTimerChannel(Wrapper::Wrapper::UniteChannelNum(0, 0));
  ClearCallLog();
  const int32_t number = s->OnGetTimerChannel();
  ASSERT_EQ(Calls("XPM_GetTempCurrentChannel").size(), 1u);
  Structures::VirtualChannel* current = s->GetCurrentChannel();
  EXPECT_EQ(number, Wrapper::Wrapper::UniteChannelNum(current->Major, current->Minor));
  EXPECT_GE(Wrapper::Wrapper::SplitChannelNum(number, true), 1);
  // A valid channel stays as it is.
  s->OnSetTimerChannel(Wrapper::Wrapper::UniteChannelNum(9, 1));
  ClearCallLog();
  EXPECT_EQ(s->OnGetTimerChannel(), Wrapper::Wrapper::UniteChannelNum(9, 1));
  EXPECT_TRUE(Calls("XPM_GetTempCurrentChannel").empty());
}

TEST_F(SkinTextsTest, ManualTuningSliderRangeFollowsAntennaOrCable) {
  auto* db = kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB);
  ASSERT_NE(db, nullptr);
  auto* record = db->GetOptionData(SkinBin::OPTION_TYPE_MANUAL_TUNING_CHANNEL);
  ASSERT_NE(record, nullptr);
  auto range = [&] {
    record->GetData();
    auto* c = kv::Cast<OptionDatabase::SliderCourier>(record->Courier.get());
    EXPECT_NE(c, nullptr);
    return c ? std::vector<int32_t>{c->Min, c->Max, c->Step} : std::vector<int32_t>{};
  };
  Skin()->OnSetAntCableIn(0);
  EXPECT_EQ(range(), (std::vector<int32_t>{2, 69, 1}));
  Skin()->OnSetAntCableIn(1);
  EXPECT_EQ(range(), (std::vector<int32_t>{1, 135, 1}));
  // Other sliders keep their own range.
  auto* hpos = db->GetOptionData(SkinBin::OPTION_TYPE_WINDOW_HPOS);
  ASSERT_NE(hpos, nullptr);
  EXPECT_TRUE(hpos->HasProperty());
}

TEST_F(SkinTextsTest, TimeZoneAndMenuLanguageWriteTheRegisterTable) {
  SkinBin::Wrapper* s = Skin();
  s->OnSetDaylightSavingTime(0);
  s->OnSetTimeZone(3);
  const float offset = static_cast<float>(s->GetGMTOffset(3, 0));
  EXPECT_EQ(s->GetFloatFromRegisterTable(kv::LoadString(SkinBinWrapper::REG_TIME_OFFSET)), offset);
  s->OnSetDaylightSavingTime(1);
  EXPECT_EQ(s->GetFloatFromRegisterTable(kv::LoadString(SkinBinWrapper::REG_TIME_OFFSET)),
            static_cast<float>(s->GetGMTOffset(3, 1)));

  ClearCallLog();
  s->SetMenuLanguage(2);
  EXPECT_EQ(Calls("TVSM_RegisterTablePutString").size(), 2u) << "locale and language, both changed";
  EXPECT_EQ(s->GetStringFromRegisterTable(kv::LoadString(SkinBinWrapper::REG_LANGUAGE)).ToUtf8(),
            kv::LoadString(SkinBinWrapper::REG_LANGUAGE_FR).ToUtf8());
  ClearCallLog();
  s->SetMenuLanguage(2);
  EXPECT_TRUE(Calls("TVSM_RegisterTablePutString").empty()) << "nothing written without a change";
  s->SetMenuLanguage(0);
  EXPECT_EQ(s->GetStringFromRegisterTable(kv::LoadString(SkinBinWrapper::REG_LANGUAGE)).ToUtf8(),
            kv::LoadString(SkinBinWrapper::REG_LANGUAGE_EN).ToUtf8());
}

TEST_F(SkinTextsTest, GlowSyncFollowsTheSensorOfThePictureMode) {
  SkinBin::Wrapper* s = Skin();
  s->OnSetVideoPreset(2);
  s->OnSetAutoBrightnessSensor(1);
  EXPECT_TRUE(s->GlowSyncRunning);
  s->OnSetVideoPreset(1);
  s->OnSetAutoBrightnessSensor(0);
  EXPECT_FALSE(s->GlowSyncRunning);
  s->OnSetVideoPreset(2);
  EXPECT_TRUE(s->GlowSyncRunning) << "mode 2 keeps its sensor on";
  s->OnSetVideoPreset(1);
  EXPECT_FALSE(s->GlowSyncRunning);
}

TEST_F(SkinTextsTest, AOnceOnlyOnTimerEndsDisabledARepeatingOneStays) {
  SkinBin::Wrapper* s = Skin();
  auto* timer = kv::New<Structures::TimerData>();
  timer->Id = 0;
  timer->DaysOfWeek = 1;
  timer->Duration = 60;
  timer->TimesType = 4;
  timer->Enable = 1;
  ASSERT_EQ(s->SetTimer(timer), 0);
  s->OnSetActiveTimerId(0);
  ASSERT_NE(s->ActiveTimer.get(), nullptr);
  s->ActiveTimer->TimesType = 4;
  s->ActiveTimer->Enable = 1;
  ClearCallLog();
  s->CancelOnTimer(true);
  EXPECT_EQ(s->ActiveTimer->Enable, 0);
  EXPECT_FALSE(Calls("XPM_SetTimer").empty()) << "the disabled record is saved";
  EXPECT_TRUE(Calls("XPM_Update_Scheduled_Show_Status").empty()) << "no scheduled show for this timer";
  // A repeating timer stays as it is.
  s->ActiveTimer->TimesType = 1;
  s->ActiveTimer->Enable = 1;
  ClearCallLog();
  s->CancelOnTimer(true);
  EXPECT_EQ(s->ActiveTimer->Enable, 1);
  EXPECT_TRUE(Calls("XPM_SetTimer").empty());
}

}  // namespace
}  // namespace skintextstest
