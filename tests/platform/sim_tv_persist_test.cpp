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

// Every stored record, field by field, read back after a restart: every
// setting of the set's settings table at every index it takes, each set to
// a value that is not its factory one; every word of a timer record, in
// every timer slot; every field of a channel.
TEST_F(SimTvTest, EveryStoredRecordsFieldsReadBackAfterARestart) {
  struct Written {
    sim::Setting s;
    int32_t index;
    int32_t value;
  };
  std::vector<Written> written;
  // The preset first: the picture settings are kept per preset.
  ASSERT_EQ(State().Set(sim::Setting::kVideoPreset, 0, 3, "test"), XPM_OK);
  for (int32_t s = 0; s < static_cast<int32_t>(sim::Setting::kCount); ++s) {
    const auto setting = static_cast<sim::Setting>(s);
    if (setting == sim::Setting::kVideoPreset) continue;
    for (int32_t index = 0; index < 11; ++index) {
      const sim::SettingRange r = sim::TvState::Range(setting, index);
      if (r.min >= r.max) continue;
      const int32_t factory = State().Value(setting, index);
      // Away from the factory value, different at each index.
      int32_t v = r.max - index > r.min ? r.max - index : r.max;
      if (v == factory) v = v - 1 >= r.min ? v - 1 : r.min;
      if (State().Set(setting, index, v, "test") != XPM_OK) continue;
      written.push_back({setting, index, v});
    }
  }
  // What one index shares with another (a setting kept once) is kept once:
  // only what reads back now is the record of that index.
  std::erase_if(written, [&](const Written& w) { return State().Value(w.s, w.index) != w.value; });
  ASSERT_GE(written.size(), static_cast<size_t>(sim::Setting::kCount) - 2);

  // Every timer slot: every word not zero, each different.
  std::vector<XPM_TimerRecord> timers;
  for (int32_t id = sim::kOnTimerId; id <= sim::kLastTimerId; ++id) {
    XPM_TimerRecord t{};
    t.extra1 = 100 + id;
    t.enabled = 1;
    t.start = XPM_LocalTime{1 + id, 2 + id, 3 + id, 4 + id, id % 12, 126, 1 + id % 6, 5 + id, 1};
    t.unused11 = 0;
    t.unused12 = 0;
    t.duration = 60 * (id + 1);
    t.daysOfWeek = 0;  // once: a recording timer on days would be checked against the others
    t.source = 10;
    t.major = 2 + id;
    t.minor = 1 + id;
    t.extra2 = 200 + id;
    t.timesType = 1;
    t.extra3 = 300 + id;
    t.sourceType = 1;
    t.mapId = 1;
    t.startEarly = 1 + id;
    t.endDelay = 2 + id;
    ASSERT_EQ(XPM_SetTimer(id, t), XPM_OK) << id;
    timers.push_back(t);
  }
  // A channel's fields.
  ASSERT_EQ(XPM_SetChannelName(15, 1, "Fifteen One"), XPM_OK);
  ASSERT_EQ(XPM_SetChannelLock(15, 1, 1), XPM_OK);
  ASSERT_EQ(XPM_RemoveChannelFromRing(0, 15, 1), XPM_OK);
  ASSERT_EQ(XPM_AddChannelToRing(2, 15, 1), XPM_OK);
  TakeEvents();

  Boot();

  for (const Written& w : written)
    EXPECT_EQ(State().Value(w.s, w.index), w.value) << "setting " << static_cast<int32_t>(w.s) << " index " << w.index;
  EXPECT_EQ(State().Value(sim::Setting::kVideoPreset, 0), 3);
  for (int32_t id = sim::kOnTimerId; id <= sim::kLastTimerId; ++id) {
    XPM_TimerRecord back{};
    ASSERT_EQ(XPM_GetTimer(id, &back), XPM_OK) << id;
    const auto* a = reinterpret_cast<const int32_t*>(&timers[static_cast<size_t>(id - sim::kOnTimerId)]);
    const auto* b = reinterpret_cast<const int32_t*>(&back);
    for (size_t word = 0; word < sizeof back / 4; ++word) EXPECT_EQ(b[word], a[word]) << "timer " << id << " word " << word;
  }
  XPM_ChannelInfo info{};
  ASSERT_EQ(XPM_GetChannelInfo(15, 1, &info), XPM_OK);
  EXPECT_STREQ(info.name, "Fifteen One");
  EXPECT_EQ(info.excluded, 1);
  int32_t v = -1;
  ASSERT_EQ(XPM_GetChannelLock(15, 1, &v), XPM_OK);
  EXPECT_EQ(v, 1);
  ASSERT_EQ(XPM_IsChannelInRing(2, 15, 1, &v), XPM_OK);
  EXPECT_EQ(v, 1);
}
