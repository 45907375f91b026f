// TV 2, the second tuner, receives digital channels only. On a set made as a
// new owner makes it (the first-time setup with both tuners), TV 2 lists,
// tunes and guides only the digital channels, even where its medium's map
// holds analogue channels for TV 1; TV 1 keeps every channel either tuner's
// scan found.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "channels_support.h"
#include "units/Channels/FullEPGDialog.h"
#include "units/ListForm/GuideLists.h"
#include "units/Structures/VirtualChannel.h"

namespace {

class SecondTunerTest : public channeltest::ChannelTest {
 protected:
  SecondTunerTest() { freshSet_ = true; }

  // The first-time setup with both tuners: tuner 1 on antenna, tuner 2 on
  // cable (`cable`) or on antenna; then live TV.
  void SetUpBothTuners(bool cable) {
    Run(1000);
    for (const char* key : {"ok", "ok", "ok", "down", "down", "ok"}) {
      Press(key);
      Run(300);
    }
    if (cable)
      for (const char* key : {"up", "ok", "down", "down", "ok"}) {
        Press(key);
        Run(300);
      }
    else
      Press("ok");
    Run(300);
    Press("ok");
    Run(20000);
    Press("exit");
    Run(2000);
    ASSERT_EQ(Set().Value(sim::Setting::kTuner2Medium), cable ? 1 : 0);
  }
  // TV 2 chosen in the input list.
  void WatchTv2() {
    Press("input");
    Run(500);
    Press("down");
    Press("ok");
    Run(3000);
    ASSERT_EQ(Window0Source(), sim::kSourceTv2);
  }
  bool InTune(int32_t major, int32_t minor) {
    Structures::VirtualChannel* c = W()->GetCurrentChannel();
    return c && c->Major == major && c->Minor == minor;
  }
  // The analogue channels of the medium's air.
  static std::vector<std::string> AnalogueNames(int32_t medium) {
    std::vector<std::string> out;
    for (const sim::AirChannel& a : sim::DefaultAir(medium))
      if (a.minor == sim::kAnalogMinor) out.push_back(a.name);
    return out;
  }
};

// Tuner 2 alone on cable, with nothing on the cable air: its scan finds
// nothing, and TV 2 says so instead of showing the cable map's analogue
// channels that no scan found.
TEST_F(SecondTunerTest, Tv2WithoutDigitalChannelsShowsNoAnalogueChannel) {
  sim::SetAir(Tv(), 1, {});
  SetUpBothTuners(true);
  WatchTv2();
  EXPECT_TRUE(Sees("No channels. Run a channel scan")) << SeenList();
  for (const std::string& name : AnalogueNames(1)) EXPECT_FALSE(Sees(name)) << SeenList();
  Run(5000);
  Press("ch+");
  Run(1500);
  EXPECT_TRUE(Sees("No channels. Run a channel scan")) << SeenList();
  for (const std::string& name : AnalogueNames(1)) EXPECT_FALSE(Sees(name)) << SeenList();
}

// Both tuners on antenna: TV 2's channel keys pass the analogue channels
// (2-1, 2-2, then 4-1, not 3), its guide lists none, and a typed analogue
// number tunes nothing; TV 1 still has them.
TEST_F(SecondTunerTest, Tv2OnTheAntennaTunesAndGuidesItsDigitalChannelsOnly) {
  SetUpBothTuners(false);
  WatchTv2();
  ASSERT_TRUE(InTune(2, 1));
  for (const auto& [major, minor] : {std::pair{2, 2}, std::pair{4, 1}}) {
    Press("ch+");
    Run(2500);
    EXPECT_TRUE(InTune(major, minor)) << major << "-" << minor;
    for (const std::string& analogue : AnalogueNames(0)) EXPECT_FALSE(Sees(analogue)) << SeenList();
  }
  EXPECT_TRUE(Sees("City News")) << SeenList();
  Press("guide");
  Run(2500);
  auto* g = Open<Channels::FullEPGDialog>();
  ASSERT_NE(g, nullptr);
  EXPECT_TRUE(Sees("City News")) << SeenList();
  for (Forms::Ctrl* r : g->Column.GetAllRows()) {
    auto* row = kv::Cast<ListForm::EPGChannelItem>(r);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->IsDigital, 1) << Str(row->OnGetNumberText());
  }
  for (const std::string& analogue : AnalogueNames(0)) EXPECT_FALSE(Sees(analogue)) << SeenList();
  Press("exit");
  Run(1000);
  Press("3");
  Press("ok");
  Run(4000);
  EXPECT_TRUE(InTune(4, 1));
  EXPECT_FALSE(Sees("Valley 3")) << SeenList();
  // TV 1 keeps the analogue channels its scan found.
  Press("input");
  Run(500);
  Press("up");
  Press("ok");
  Run(3000);
  ASSERT_EQ(Window0Source(), sim::kSourceTv);
  Press("3");
  Press("ok");
  Run(4000);
  EXPECT_TRUE(InTune(3, -2));
  EXPECT_TRUE(Sees("Valley 3")) << SeenList();
}

}  // namespace
