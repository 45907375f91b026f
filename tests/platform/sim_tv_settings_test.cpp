// The simulated television's settings, clock and timer records behind the
// middleware calls.
#include <cstring>

#include "platform/xpm/xpm_settings.h"
#include "sim_tv_fixture.h"

namespace {

using simtv::SimTvTest;

TEST_F(SimTvTest, PictureSettingsHaveFactoryValuesPerPresetAndRefuseValuesOutOfRange) {
  int32_t v = -1;
  ASSERT_EQ(XPM_GetContrast(0, &v), XPM_OK);
  EXPECT_EQ(v, sim::TvState::FactoryValue(sim::Setting::kContrast, 0, 0));
  ASSERT_EQ(XPM_SetVideoPreset(0, 4), XPM_OK);
  ASSERT_EQ(XPM_GetContrast(0, &v), XPM_OK);
  EXPECT_EQ(v, 100);  // the brightest preset's own factory value
  EXPECT_NE(sim::TvState::FactoryValue(sim::Setting::kBacklight, 0, 4),
            sim::TvState::FactoryValue(sim::Setting::kBacklight, 0, 1));

  EXPECT_EQ(XPM_SetContrast(0, 0), XPM_OK);
  EXPECT_EQ(XPM_SetContrast(0, 101), XPM_ERR_INVALID_PARAM);
  EXPECT_TRUE(Logged("XPM_SetContrast: value 101 outside 0..100, refused"));
  EXPECT_EQ(XPM_SetHue(0, -51), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_SetContrast(2, 50), XPM_ERR_INVALID_PARAM);
  EXPECT_TRUE(Logged("window 2"));
  EXPECT_EQ(XPM_SetVideoPreset(0, 9), XPM_ERR_INVALID_PARAM);
  ASSERT_EQ(XPM_GetContrast(0, &v), XPM_OK);
  EXPECT_EQ(v, 0);  // a refused value changes nothing

  // The low byte of the preferred view mode is a view mode 0-6, with the
  // automatic (0x100) and 4:3-stretch (0x200) flags beside it.
  EXPECT_EQ(XPM_SetPreferredViewMode(0, 0x106), XPM_OK);
  EXPECT_EQ(XPM_SetPreferredViewMode(0, 0x307), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_SetPreferredViewMode(0, 0x405), XPM_ERR_INVALID_PARAM);
  ASSERT_EQ(XPM_GetPreferredViewMode(0, &v), XPM_OK);
  EXPECT_EQ(v, 0x106);

  // Caption colours take any word, the other properties their ranges.
  EXPECT_EQ(XPM_SetAdvancedCaptionProperty(7, static_cast<int32_t>(0xFF0000FFu)), XPM_OK);
  EXPECT_EQ(XPM_SetAdvancedCaptionProperty(3, 4), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_SetAdvancedCaptionProperty(11, 0), XPM_ERR_INVALID_PARAM);
  ASSERT_EQ(XPM_GetAdvancedCaptionProperty(3, &v), XPM_OK);
  EXPECT_EQ(v, 3);
}

TEST_F(SimTvTest, EachWindowAndPresetKeepsItsOwnPictureAndAPresetResetsAlone) {
  ASSERT_EQ(XPM_SetSharpness(0, 3), XPM_OK);
  ASSERT_EQ(XPM_SetSharpness(1, 17), XPM_OK);
  ASSERT_EQ(XPM_SetVideoPreset(0, 2), XPM_OK);
  ASSERT_EQ(XPM_SetSharpness(0, 12), XPM_OK);
  ASSERT_EQ(XPM_SetBacklight(44), XPM_OK);  // window 0, preset 2

  int32_t v = -1;
  ASSERT_EQ(XPM_SetVideoPreset(0, 0), XPM_OK);
  ASSERT_EQ(XPM_GetSharpness(0, &v), XPM_OK);
  EXPECT_EQ(v, 3);
  ASSERT_EQ(XPM_GetSharpness(1, &v), XPM_OK);
  EXPECT_EQ(v, 17);

  ASSERT_EQ(XPM_ResetVideoPreset(0, 2), XPM_OK);
  ASSERT_EQ(XPM_GetSharpness(0, &v), XPM_OK);
  EXPECT_EQ(v, 3);  // preset 0 untouched
  ASSERT_EQ(XPM_SetVideoPreset(0, 2), XPM_OK);
  ASSERT_EQ(XPM_GetSharpness(0, &v), XPM_OK);
  EXPECT_EQ(v, sim::TvState::FactoryValue(sim::Setting::kSharpness, 0, 2));
  ASSERT_EQ(XPM_GetBacklight(&v), XPM_OK);
  EXPECT_EQ(v, sim::TvState::FactoryValue(sim::Setting::kBacklight, 0, 2));
  EXPECT_EQ(XPM_ResetVideoPreset(0, 9), XPM_ERR_INVALID_PARAM);
}

TEST_F(SimTvTest, RatingBlocksExistOnlyForTheirRatingsAndLevels) {
  int32_t blocked = -1;
  // Levels and contents as the calls give them: a descriptor bit on its own,
  // the whole rating written as 0x1111111 and read as 1.
  ASSERT_EQ(XPM_SetUsAgeRating(5, 0x10000, 1, 1), XPM_OK);
  ASSERT_EQ(XPM_GetUsAgeRating(5, 0x10000, &blocked), XPM_OK);
  EXPECT_EQ(blocked, 1);
  ASSERT_EQ(XPM_GetUsAgeRating(5, 0x1000, &blocked), XPM_OK);
  EXPECT_EQ(blocked, 0);  // each content blocked on its own
  ASSERT_EQ(XPM_SetUsAgeRating(2, 0x1111111, 1, 1), XPM_OK);
  ASSERT_EQ(XPM_GetUsAgeRating(2, 1, &blocked), XPM_OK);
  EXPECT_EQ(blocked, 1);
  // The rating reset's calls are all accepted.
  EXPECT_EQ(XPM_SetUsAgeRating(5, 0x1111111, 0, 1), XPM_OK);
  EXPECT_EQ(XPM_SetUsChildRating(2, 0x1111111, 0, 1), XPM_OK);
  EXPECT_EQ(XPM_SetUsMovieRating(7, 0, 1), XPM_OK);
  EXPECT_EQ(XPM_SetUsAgeRating(6, 0x1111111, 1, 1), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_SetUsAgeRating(0, 0x1111111, 1, 1), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_SetUsAgeRating(3, 0x20, 1, 1), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_SetUsChildRating(1, 0x1111111, 2, 1), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_SetUsChildRating(3, 0x1111111, 1, 1), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_SetUsMovieRating(8, 1, 0), XPM_OK);
  EXPECT_EQ(XPM_SetUsMovieRating(9, 1, 0), XPM_ERR_INVALID_PARAM);
  // English Canadian levels 0-6, French 0-5.
  EXPECT_EQ(XPM_SetCanadaLevel(0, 6, 1, 1), XPM_OK);
  EXPECT_EQ(XPM_SetCanadaLevel(1, 6, 1, 1), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_SetCanadaLevel(2, 0, 1, 1), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_SetParentalLocksState(3), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_SetPreferredRatingLanguage("fr"), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_SetPreferredRatingLanguage("fre"), XPM_OK);
  EXPECT_EQ(XPM_SetPreferredRatingLanguage("fre"), XPM_OK);
  EXPECT_EQ(State().RatingLanguages(), std::vector<std::string>{"fre"});
}

// Opening a whole rating with the flag 1 opens the milder levels of its
// table and every descriptor up to it; the "not rated" levels (age 1, movie
// 8) stay, and with flag 0 or a descriptor only the one flag changes.
TEST_F(SimTvTest, OpeningAWholeRatingOpensTheMilderLevelsOfItsTable) {
  auto age = [](int32_t level, int32_t content) {
    int32_t b = -1;
    XPM_GetUsAgeRating(level, content, &b);
    return b;
  };
  auto movie = [](int32_t level) {
    int32_t b = -1;
    XPM_GetUsMovieRating(level, &b);
    return b;
  };
  auto blockAll = [] {
    for (int32_t level = 1; level <= 5; ++level) {
      XPM_SetUsAgeRating(level, 0x1111111, 1, 0);
      for (int32_t c : {0x10, 0x100, 0x1000, 0x10000}) XPM_SetUsAgeRating(level, c, 1, 0);
    }
    for (int32_t level = 1; level <= 8; ++level) XPM_SetUsMovieRating(level, 1, 0);
    XPM_SetUsChildRating(1, 0x1111111, 1, 0);
    XPM_SetUsChildRating(2, 0x1111111, 1, 0);
    XPM_SetUsChildRating(2, 0x1000000, 1, 0);
  };
  blockAll();
  ASSERT_EQ(XPM_SetUsAgeRating(4, 0x1111111, 0, 1), XPM_OK);
  for (int32_t level = 2; level <= 4; ++level) {
    EXPECT_EQ(age(level, 1), 0) << level;
    EXPECT_EQ(age(level, 0x100), 0) << level;
  }
  EXPECT_EQ(age(1, 1), 1);  // not rated
  EXPECT_EQ(age(5, 1), 1);
  EXPECT_EQ(age(5, 0x100), 1);
  int32_t child = -1;
  XPM_GetUsChildRating(1, 1, &child);
  EXPECT_EQ(child, 1);  // another table

  ASSERT_EQ(XPM_SetUsMovieRating(7, 0, 1), XPM_OK);
  for (int32_t level = 2; level <= 7; ++level) EXPECT_EQ(movie(level), 0) << level;
  EXPECT_EQ(movie(1), 1);
  EXPECT_EQ(movie(8), 1);
  ASSERT_EQ(XPM_SetUsChildRating(2, 0x1111111, 0, 1), XPM_OK);
  XPM_GetUsChildRating(1, 1, &child);
  EXPECT_EQ(child, 0);
  XPM_GetUsChildRating(2, 0x1000000, &child);
  EXPECT_EQ(child, 0);

  blockAll();
  ASSERT_EQ(XPM_SetUsAgeRating(4, 0x1111111, 0, 0), XPM_OK);
  EXPECT_EQ(age(3, 1), 1);
  ASSERT_EQ(XPM_SetUsAgeRating(4, 0x100, 0, 1), XPM_OK);
  EXPECT_EQ(age(3, 0x100), 1);
  EXPECT_EQ(age(4, 0x1000), 1);
}

TEST_F(SimTvTest, ResetsBringBackTheirGroupAndNothingElse) {
  ASSERT_EQ(XPM_SetVolume(60), XPM_OK);
  ASSERT_EQ(XPM_SetMute(XPM_AUDIO_PATH_MAIN, 1), XPM_OK);
  ASSERT_EQ(XPM_SetBass(-20), XPM_OK);
  ASSERT_EQ(XPM_SetPreferredAudioLanguage("spa"), XPM_OK);
  ASSERT_EQ(XPM_SetContrast(0, 10), XPM_OK);
  EXPECT_EQ(XPM_SetMute(7, 1), XPM_ERR_INVALID_PARAM);

  ASSERT_EQ(XPM_ResetAudioDefaults(), XPM_OK);
  int32_t v = -1;
  char code[4] = {};
  ASSERT_EQ(XPM_GetBass(&v), XPM_OK);
  EXPECT_EQ(v, 0);
  ASSERT_EQ(XPM_GetPreferredAudioLanguage(code), XPM_OK);
  EXPECT_STREQ(code, "eng");
  ASSERT_EQ(XPM_GetVolume(&v), XPM_OK);
  EXPECT_EQ(v, 60);  // volume and mute are not sound settings to reset
  ASSERT_EQ(XPM_GetMute(&v), XPM_OK);
  EXPECT_EQ(v, 1);
  ASSERT_EQ(XPM_GetContrast(0, &v), XPM_OK);
  EXPECT_EQ(v, 10);

  ASSERT_EQ(XPM_SetChannelLock(2, 1, 1), XPM_OK);
  ASSERT_EQ(XPM_SetSourceLock(sim::kSourceHdmi1, 1), XPM_OK);
  ASSERT_EQ(XPM_SetChannelName(2, 1, "Mine"), XPM_OK);
  EXPECT_EQ(XPM_Reset(1), XPM_ERR_INVALID_PARAM);
  ASSERT_EQ(XPM_Reset(0), XPM_OK);
  ASSERT_EQ(XPM_GetVolume(&v), XPM_OK);
  EXPECT_EQ(v, 20);
  ASSERT_EQ(XPM_GetContrast(0, &v), XPM_OK);
  EXPECT_EQ(v, sim::TvState::FactoryValue(sim::Setting::kContrast, 0, 0));
  ASSERT_EQ(XPM_GetChannelLock(2, 1, &v), XPM_OK);
  EXPECT_EQ(v, 0);
  ASSERT_EQ(XPM_GetSourceLock(sim::kSourceHdmi1, &v), XPM_OK);
  EXPECT_EQ(v, 0);
  XPM_ChannelInfo info{};
  ASSERT_EQ(XPM_GetChannelInfo(2, 1, &info), XPM_OK);
  EXPECT_STREQ(info.name, "Mine");  // the map is the viewer's, not a setting
}

TEST_F(SimTvTest, AFailingCallAnswersItsCodeAndChangesNothing) {
  ASSERT_EQ(XPM_SetTreble(5), XPM_OK);
  tv_->FailCall("XPM_SetTreble", 9);
  tv_->FailCall("XPM_GetTreble", 8);
  EXPECT_EQ(XPM_SetTreble(7), 9);
  int32_t v = 33;  // the caller's default
  EXPECT_EQ(XPM_GetTreble(&v), 8);
  EXPECT_EQ(v, 33);
  EXPECT_EQ(State().Value(sim::Setting::kTreble), 5);
  EXPECT_EQ(tv_->Calls("XPM_SetTreble"),
            (std::vector<std::string>{"XPM_SetTreble(5)", "XPM_SetTreble(7)"}));

  tv_->FailCall("XPM_GetTimer", 4);
  XPM_TimerRecord record{};
  record.extra1 = 77;
  EXPECT_EQ(XPM_GetTimer(1, &record), 4);
  EXPECT_EQ(record.extra1, 77);

  tv_->Stop();
  EXPECT_EQ(XPM_SetTreble(1), XPM_ERR_NOT_READY);
  EXPECT_EQ(XPM_GetTreble(nullptr), XPM_ERR_NOT_READY);
}

TEST_F(SimTvTest, BadPointersAndTextsAreRefusedWithALogLine) {
  EXPECT_EQ(XPM_GetBrightness(0, nullptr), XPM_ERR_INVALID_PARAM);
  EXPECT_TRUE(Logged("XPM_GetBrightness: no place for the answer"));
  EXPECT_EQ(XPM_SetPreferredAudioLanguage(nullptr), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_SetPreferredAudioLanguage("ENG"), XPM_ERR_INVALID_PARAM);
  EXPECT_TRUE(Logged("XPM_SetPreferredAudioLanguage"));
  EXPECT_EQ(XPM_ShowAdvancedSampleCaptionText(1, "0123456789abcdef", 16, 0, 0), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_ShowAdvancedSampleCaptionText(1, "Sample", 3, 0, 0), XPM_OK);
  EXPECT_EQ(State().SampleCaption(), "Sam");
  char version[6];
  ASSERT_EQ(XPM_GetFirmwareVersion(version, sizeof version), XPM_OK);
  EXPECT_EQ(std::strlen(version), 5u);
  EXPECT_EQ(XPM_GetFirmwareVersion(version, 0), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_SetDisplayWindow(0, 1000, 0, 960, 540), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_SetDisplayWindow(0, 10, 0, 960, 540), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_SetDisplayWindow(1, 480, 270, 480, 270), XPM_OK);
}

TEST_F(SimTvTest, TheClockRunsFromTheTimeSetOrFromTheNetworkWithTheZone) {
  // A new set takes the broadcast's time; set by hand, the update is off.
  int32_t automatic = -1;
  ASSERT_EQ(XPM_GetAutoTimeUpdate(&automatic), XPM_OK);
  EXPECT_EQ(automatic, 1);
  ASSERT_EQ(XPM_SetAutoTimeUpdate(0), XPM_OK);
  // 1 January 2006 was a Sunday.
  XPM_LocalTime set{0, 0, 0, 1, 0, 106, 0, 0, 0};
  ASSERT_EQ(XPM_SetLocalTime(&set), XPM_OK);
  clock_.Advance(61 * 1000 + 999);
  XPM_LocalTime now{};
  ASSERT_EQ(XPM_GetLocalTime(&now), XPM_OK);
  EXPECT_EQ(now.year, 106);
  EXPECT_EQ(now.month, 0);
  EXPECT_EQ(now.day, 1);
  EXPECT_EQ(now.hour, 0);
  EXPECT_EQ(now.minute, 1);
  EXPECT_EQ(now.second, 1);
  EXPECT_EQ(now.weekday, 0);
  EXPECT_EQ(now.yearDay, 0);

  XPM_LocalTime leap{0, 30, 12, 29, 1, 124, 0, 0, 0};  // 29 February 2024
  ASSERT_EQ(XPM_SetLocalTime(&leap), XPM_OK);
  ASSERT_EQ(XPM_GetLocalTime(&now), XPM_OK);
  EXPECT_EQ(now.yearDay, 59);
  EXPECT_EQ(now.weekday, 4);
  XPM_LocalTime bad{0, 0, 0, 29, 1, 123, 0, 0, 0};  // 2023 had no 29 February
  EXPECT_EQ(XPM_SetLocalTime(&bad), XPM_ERR_INVALID_PARAM);
  EXPECT_TRUE(Logged("XPM_SetLocalTime: no such time"));

  // Automatic: the network time (2026-01-01 00:00 UTC at clock 0) moved by the zone.
  ASSERT_EQ(XPM_SetTimeZone(7, 1), XPM_OK);  // Newfoundland, daylight saving
  ASSERT_EQ(XPM_SetAutoTimeUpdate(1), XPM_OK);
  clock_.AdvanceTo(10 * 3600 * 1000);
  ASSERT_EQ(XPM_GetLocalTime(&now), XPM_OK);
  EXPECT_EQ(now.year, 126);
  EXPECT_EQ(now.hour, 7);
  EXPECT_EQ(now.minute, 30);
  EXPECT_EQ(now.dst, 1);
  float offset = 0;
  ASSERT_EQ(XPM_GetGMTOffset(7, 0, &offset), XPM_OK);
  EXPECT_FLOAT_EQ(offset, -3.5f);
  EXPECT_EQ(XPM_GetGMTOffset(8, 0, &offset), XPM_ERR_INVALID_PARAM);
  int32_t zone = -1, dst = -1;
  ASSERT_EQ(XPM_GetTimeZone(&zone, &dst), XPM_OK);
  EXPECT_EQ(zone, 7);
  EXPECT_EQ(dst, 1);
}

TEST_F(SimTvTest, TimerRecordsRoundTripAndTheFirstFreeIdSkipsUsedOnes) {
  int32_t id = 0;
  ASSERT_EQ(DB_Get_TimerId(&id), XPM_OK);
  EXPECT_EQ(id, sim::kFirstTimerId);
  XPM_TimerRecord record{};
  EXPECT_EQ(XPM_GetTimer(id, &record), XPM_ERR_INVALID_PARAM);  // none yet

  record.extra1 = 11;
  record.enabled = 1;
  record.start = {0, 30, 20, 14, 5, 126, 0, 0, 0};
  record.duration = 90;
  record.daysOfWeek = 0x41;
  record.source = 10;
  record.major = 7;
  record.minor = -2;
  record.extra2 = 22;
  record.extra3 = 33;
  record.endDelay = 5;
  ASSERT_EQ(XPM_SetTimer(id, record), XPM_OK);
  XPM_TimerRecord back{};
  ASSERT_EQ(XPM_GetTimer(id, &back), XPM_OK);
  EXPECT_EQ(std::memcmp(&back, &record, sizeof record), 0);
  ASSERT_EQ(DB_Get_TimerId(&id), XPM_OK);
  EXPECT_EQ(id, sim::kFirstTimerId + 1);

  XPM_TimerRecord bad = record;
  bad.daysOfWeek = 0x80;
  EXPECT_EQ(XPM_SetTimer(2, bad), XPM_ERR_INVALID_PARAM);
  bad = record;
  bad.major = 40000;
  EXPECT_EQ(XPM_SetTimer(2, bad), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_SetTimer(sim::kLastTimerId + 1, record), XPM_TIMER_ERROR_INVALID_TIMERID);

  // Sixteen timers at sixteen hours: none overlaps another.
  for (int32_t i = sim::kFirstTimerId; i <= sim::kLastTimerId; ++i) {
    record.start.hour = i;
    ASSERT_EQ(XPM_SetTimer(i, record), XPM_OK);
  }
  id = -1;
  EXPECT_EQ(DB_Get_TimerId(&id), XPM_ERR_FAILED);
  EXPECT_EQ(id, -1);
  record.daysOfWeek = 0;  // a record without days is free again
  ASSERT_EQ(XPM_SetTimer(5, record), XPM_OK);
  ASSERT_EQ(DB_Get_TimerId(&id), XPM_OK);
  EXPECT_EQ(id, 5);
}

}  // namespace
