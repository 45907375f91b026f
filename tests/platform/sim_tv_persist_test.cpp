// The simulated television's state across a restart.
#include <fstream>
#include <sstream>

#include "platform/xpm/xpm_settings.h"
#include "sim_tv_fixture.h"

namespace {

using simtv::SimTvTest;

std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// A state file from before the inputs were renumbered keeps its inputs.
TEST_F(SimTvTest, OldInputNumbersInTheStateFileAreRenumbered) {
  ASSERT_TRUE(tv_->SetState("tv.source.0", "42"));
  ASSERT_TRUE(tv_->SetState("tv.source.1", "60"));
  ASSERT_TRUE(tv_->SetState("tv.sourceLock.50", "1"));
  Boot();
  int32_t v = -1;
  ASSERT_EQ(XPM_GetCurrentSource(0, &v), XPM_OK);
  EXPECT_EQ(v, sim::kSourceHdmi3);
  ASSERT_EQ(XPM_GetCurrentSource(1, &v), XPM_OK);
  EXPECT_EQ(v, sim::kSourceMultimedia);
  ASSERT_EQ(XPM_GetSourceLock(sim::kSourcePc, &v), XPM_OK);
  EXPECT_EQ(v, 1);
  EXPECT_TRUE(Logged("stored input 42 is now input 5"));
  // Saved again under the new numbers.
  ASSERT_EQ(XPM_SetSourceLock(sim::kSourceAv, 1), XPM_OK);
  EXPECT_EQ(tv_->GetState("tv.source.0"), std::to_string(sim::kSourceHdmi3));
  EXPECT_EQ(tv_->GetState("tv.sourceLock.50"), "");
}

TEST_F(SimTvTest, SettingsMapsRingsTimersAndTheClockSurviveARestart) {
  ASSERT_EQ(XPM_SetVideoPreset(0, 3), XPM_OK);
  ASSERT_EQ(XPM_SetContrast(0, 42), XPM_OK);
  ASSERT_EQ(XPM_SetAdvancedCaptionProperty(1, static_cast<int32_t>(0x80FF00FFu)), XPM_OK);
  ASSERT_EQ(XPM_SetPreferredAudioLanguage("fre"), XPM_OK);
  ASSERT_EQ(XPM_SetPreferredRatingLanguage("spa"), XPM_OK);
  ASSERT_EQ(XPM_SetSourceLock(sim::kSourcePc, 1), XPM_OK);
  ASSERT_EQ(XPM_SetSource(0, sim::kSourceHdmi1), XPM_OK);
  ASSERT_EQ(XPM_SetMedium(1), XPM_OK);
  ASSERT_EQ(XPM_SetChannel(1, 30, 2), XPM_OK);
  ASSERT_EQ(XPM_SetChannelName(30, 2, "Late, Late Show"), XPM_OK);
  ASSERT_EQ(XPM_SetChannelLock(15, 1, 1), XPM_OK);
  ASSERT_EQ(XPM_AddChannelToRing(3, 45, 1), XPM_OK);
  ASSERT_EQ(XPM_RemoveChannelFromRing(0, 8, 0), XPM_OK);
  XPM_TimerRecord timer{};
  timer.enabled = 1;
  timer.daysOfWeek = 0x3E;
  timer.duration = 30;
  timer.major = 30;
  timer.minor = 2;
  ASSERT_EQ(XPM_SetTimer(3, timer), XPM_OK);
  ASSERT_EQ(XPM_SetAutoTimeUpdate(0), XPM_OK);  // a clock set by hand
  XPM_LocalTime set{0, 0, 12, 24, 11, 125, 0, 0, 0};
  ASSERT_EQ(XPM_SetLocalTime(&set), XPM_OK);
  TakeEvents();

  Boot();

  int32_t v = -1;
  ASSERT_EQ(XPM_GetContrast(0, &v), XPM_OK);
  EXPECT_EQ(v, 42);
  ASSERT_EQ(XPM_GetAdvancedCaptionProperty(1, &v), XPM_OK);
  EXPECT_EQ(v, static_cast<int32_t>(0x80FF00FFu));
  char code[4] = {};
  ASSERT_EQ(XPM_GetPreferredAudioLanguage(code), XPM_OK);
  EXPECT_STREQ(code, "fre");
  EXPECT_EQ(State().RatingLanguages(), std::vector<std::string>{"spa"});
  ASSERT_EQ(XPM_GetSourceLock(sim::kSourcePc, &v), XPM_OK);
  EXPECT_EQ(v, 1);
  ASSERT_EQ(XPM_GetCurrentSource(0, &v), XPM_OK);
  EXPECT_EQ(v, sim::kSourceHdmi1);
  ASSERT_EQ(XPM_GetMedium(&v), XPM_OK);
  EXPECT_EQ(v, 1);
  XPM_VirtualChannel current{};
  ASSERT_EQ(XPM_GetCurrentChannel(1, &current), XPM_OK);
  EXPECT_EQ(current.major, 30);
  EXPECT_EQ(current.minor, 2);
  XPM_ChannelInfo info{};
  ASSERT_EQ(XPM_GetChannelInfo(30, 2, &info), XPM_OK);
  EXPECT_STREQ(info.name, "Late, Late Show");
  ASSERT_EQ(XPM_GetChannelLock(15, 1, &v), XPM_OK);
  EXPECT_EQ(v, 1);
  ASSERT_EQ(XPM_IsChannelInRing(3, 45, 1, &v), XPM_OK);
  EXPECT_EQ(v, 1);
  ASSERT_EQ(XPM_GetChannelInfo(8, 0, &info), XPM_OK);  // skipped, still in the map
  EXPECT_EQ(info.excluded, 1);
  ASSERT_EQ(XPM_GetNumChannelsInRing(0, &v), XPM_OK);
  EXPECT_EQ(v, 11);
  XPM_TimerRecord back{};
  ASSERT_EQ(XPM_GetTimer(3, &back), XPM_OK);
  EXPECT_EQ(std::memcmp(&back, &timer, sizeof timer), 0);
  XPM_LocalTime now{};
  ASSERT_EQ(XPM_GetLocalTime(&now), XPM_OK);
  EXPECT_EQ(now.year, 125);
  EXPECT_EQ(now.month, 11);
  EXPECT_EQ(now.day, 24);
  EXPECT_EQ(now.hour, 12);

  // An emptied map stays empty; the factory map does not come back.
  State().ReplaceChannelMap(1, {});
  Boot();
  EXPECT_TRUE(State().Channels(1).empty());
  EXPECT_EQ(State().Channels(0).size(), 12u);
}

TEST_F(SimTvTest, TheStateFileIsReplacedWholeAndBadOrUnknownEntriesLoseNothing) {
  ASSERT_EQ(XPM_SetBass(12), XPM_OK);
  ASSERT_TRUE(tv_->Flush());
  const std::filesystem::path file = dir_ / "tvsim.state";
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "tvsim.state.new"));
  EXPECT_NE(ReadFile(file).find("tv.set.bass=12\n"), std::string::npos);

  tv_.reset();
  {
    std::ofstream out(file, std::ios::app);
    out << "tv.set.treble=99\n"            // outside its range
        << "tv.set.balance=left\n"         // not a number
        << "tv.ch.0.2.1=1,19,0,0,1,1\n"    // a channel record without its name
        << "tv.fromLaterVersion=kept\n";   // unknown here
  }
  Boot();
  int32_t v = -1;
  ASSERT_EQ(XPM_GetBass(&v), XPM_OK);
  EXPECT_EQ(v, 12);
  ASSERT_EQ(XPM_GetTreble(&v), XPM_OK);
  EXPECT_EQ(v, 0);
  ASSERT_EQ(XPM_GetBalance(&v), XPM_OK);
  EXPECT_EQ(v, 0);
  EXPECT_TRUE(Logged("TvState: stored tv.set.treble ignored"));
  ASSERT_EQ(XPM_SetVolume(30), XPM_OK);  // the next save
  ASSERT_TRUE(tv_->Flush());
  const std::string text = ReadFile(file);
  EXPECT_NE(text.find("tv.fromLaterVersion=kept\n"), std::string::npos);
  EXPECT_EQ(text.find("tv.set.treble=99"), std::string::npos);
  EXPECT_NE(text.find("tv.set.volume=30\n"), std::string::npos);
}

}  // namespace
