// The mini guide over live TV: the Info key on a digital channel, its two
// steps, its list and its badges, through the whole system and the
// simulated set.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "nonmenusystem_support.h"
#include "runtime/collector.h"
#include "runtime/text.h"
#include "runtime/timer.h"
#include "platform/sim/sim_audio_service.h"
#include "platform/sim/sim_guide.h"
#include "platform/sim/sim_tv_state.h"
#include "strings/Strings.h"
#include "units/Channels/MiniGuide.h"
#include "units/Constants/Constants.h"
#include "units/NonMenuSystem/InfoBanner.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/SkinBin/EPGEventsInfo_DB.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/EventInfo.h"
#include "units/Structures/VirtualChannel.h"

namespace {

class MiniGuideTest : public livetvtest::LiveTVTest {
 protected:
  void SetUp() override {
    LiveTVTest::SetUp();
    ASSERT_TRUE(SwitchToSourceType(Constants::XPM_SOURCE_TYPE_RF_TUNER));
    Nms()->ClearAll();
    Settle();
  }
  SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(W()); }
  // Tunes the first channel of the map that is (or is not) digital.
  bool TuneDigital(bool digital) {
    for (int i = 0; i < 40; ++i) {
      if (NonMenuSystem::Live::CurrentChannelDigital() == digital) return true;
      Press("ch+");
      Run(1500);
      Settle();
    }
    return NonMenuSystem::Live::CurrentChannelDigital() == digital;
  }
  std::string Text(const kv::String& s) { return s.ToUtf8(); }
  // Clears live TV's screens and opens the strip with Info.
  Channels::MiniGuideDialog* OpenStrip() {
    Nms()->ClearAll();
    Settle();
    Press("info");
    Run(500);
    return Find<Channels::MiniGuideDialog>();
  }
  int AnimationCount() { return W()->AnimationCount; }
  // Tunes a digital channel whose guide holds the one programme `shape`
  // makes of the day's first, then opens the strip over a clear picture.
  template <typename Shape>
  void OneProgrammeStrip(Shape shape) {
    ASSERT_TRUE(TuneDigital(true));
    Structures::VirtualChannel* c = W()->GetCurrentChannel();
    ASSERT_NE(c, nullptr);
    std::vector<sim::GuideEvent> one = sim::TestGuide(Tv().Tv().NetworkTime(), 1);
    ASSERT_EQ(one.size(), 1u);
    shape(one[0]);
    sim::SetChannelGuide(Tv(), c->Major, c->Minor, one);
    Run(1000);
    Nms()->ClearAll();
    Settle();
    Press("info");
    Run(500);
  }
};

TEST_F(MiniGuideTest, InfoOpensTheStripAddsTheDescriptionAndClosesOnTheThirdPress) {
  ASSERT_TRUE(TuneDigital(true));
  Nms()->ClearAll();
  Settle();
  Press("info");
  auto* g = Find<Channels::MiniGuideDialog>();
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(Find<NonMenuSystem::InfoBanner>(), nullptr);
  ASSERT_NE(g->Program(), nullptr);
  EXPECT_EQ(g->Description(), nullptr);
  Channels::ProgramForm* p = g->Program();
  EXPECT_EQ(p->Bounds(), (kv::Rect{100, 400, 860, 540}));
  // The channel and the clock; the first three programmes of the channel.
  EXPECT_FALSE(p->Name.OnGetString().Empty());
  EXPECT_FALSE(p->Number.OnGetString().Empty());
  // A digital channel's number reads major-minor, as the set numbers it.
  Structures::VirtualChannel* tuned = W()->GetCurrentChannel();
  ASSERT_NE(tuned, nullptr);
  // Read before the clock runs: the record is the collector's to free after the pass.
  const std::string number = std::to_string(tuned->Major) + "-" + std::to_string(tuned->Minor);
  Run(200);
  bool numbered = false;
  for (const Core::SeenText& t : SeenTexts()) numbered |= t.Readable() && t.text == number;
  EXPECT_TRUE(numbered) << SeenList();
  EXPECT_FALSE(p->Clock.OnGetString().Empty());
  SkinBin::EPGEventsInfo_DB* store = Skin()->EPGProgramList.get();
  ASSERT_NE(store, nullptr);
  ASSERT_GE(store->GetNumEvents(), 4);
  EXPECT_EQ(p->List.GetItemsNum(), 10);
  EXPECT_TRUE(p->RFInput.IsVisible());
  EXPECT_TRUE(p->Signal.IsVisible());

  // Down scrolls the list; the second step shows the focused programme's description.
  Press("down", 4);
  EXPECT_EQ(p->FocusedEvent, 4);
  Press("info");
  ASSERT_NE(g->Description(), nullptr);
  EXPECT_EQ(g->Description()->Bounds(), (kv::Rect{100, 260, 860, 400}));
  const kv::String d4 = store->GetEvent(4)->Description;
  EXPECT_EQ(Text(g->Description()->DescriptionText), Text(d4));
  Press("up");
  EXPECT_EQ(p->FocusedEvent, 3);
  EXPECT_EQ(Text(g->Description()->DescriptionText), Text(store->GetEvent(3)->Description));
  // The list holds ten programmes.
  Press("down", 6);
  EXPECT_EQ(p->FocusedEvent, 9);
  EXPECT_EQ(Text(g->Description()->DescriptionText), Text(store->GetEvent(9)->Description));

  Press("info");
  Settle();
  EXPECT_EQ(Find<Channels::MiniGuideDialog>(), nullptr);
  EXPECT_EQ(AnimationCount(), 0);
  // The next key still acts: Info opens the strip again.
  Press("info");
  EXPECT_NE(Find<Channels::MiniGuideDialog>(), nullptr);
  // Fifteen seconds without a key close it.
  Run(14000);
  EXPECT_NE(Find<Channels::MiniGuideDialog>(), nullptr);
  Run(1500);
  Settle();
  EXPECT_EQ(Find<Channels::MiniGuideDialog>(), nullptr);
}

// A channel whose guide holds one programme: the second step shows that
// programme's description, not "No information available".
TEST_F(MiniGuideTest, AOneProgrammeGuideShowsItsDescription) {
  OneProgrammeStrip([](sim::GuideEvent& e) { e.description = "The only programme of the day"; });
  if (HasFatalFailure()) return;
  // The strip lists that programme alone, no empty row after it.
  EXPECT_FALSE(Sees("No information available")) << SeenList();
  Press("info");
  Run(500);
  EXPECT_TRUE(Sees("The only programme of the day")) << SeenList();
}

// A description longer than its panel: fast forward scrolls it a line on,
// rewind back to its start, and the strip's list keeps its programme.
TEST_F(MiniGuideTest, ForwardAndRewindScrollALongDescription) {
  std::string text;
  for (int i = 1; i <= 12; ++i) text += "Sentence " + std::to_string(i) + " of a programme that goes on and on. ";
  OneProgrammeStrip([&](sim::GuideEvent& e) { e.description = text; });
  if (HasFatalFailure()) return;
  Press("info");
  Run(500);
  auto* g = Find<Channels::MiniGuideDialog>();
  ASSERT_NE(g, nullptr);
  ASSERT_NE(g->Description(), nullptr);
  const kv::Rect box = g->Description()->Text.GetAbsoluteBounds();
  const auto pixels = [&] {
    Settle();
    std::vector<uint32_t> out;
    for (int32_t y = box.y1; y < box.y2; ++y)
      for (int32_t x = box.x1; x < box.x2; ++x) out.push_back(Osd().Row(y)[x]);
    return out;
  };
  const std::vector<uint32_t> start = pixels();
  Press("forward");
  EXPECT_NE(pixels(), start) << "fast forward left the description where it was";
  Press("rewind");
  EXPECT_EQ(pixels(), start) << "rewind did not bring the description back to its start";
  EXPECT_NE(Find<Channels::MiniGuideDialog>(), nullptr);
}

// A rated programme whose channel sends a long table of alternative ratings:
// the line of their abbreviations ends in an ellipsis inside its box rather
// than being cut at the box's edge (a cut text fails the test at its end).
TEST_F(MiniGuideTest, ALongLineOfAlternativeRatingsEndsInAnEllipsis) {
  ASSERT_TRUE(Tv().SetState("record.alt_ratings", "20"));
  OneProgrammeStrip([](sim::GuideEvent& e) { e.rating = 2; });
  if (HasFatalFailure()) return;
  auto* g = Find<Channels::MiniGuideDialog>();
  ASSERT_NE(g, nullptr);
  const std::string regions = g->Program()->RatingRegion.OnGetString().ToUtf8();
  bool found = false;
  for (const Core::SeenText& t : SeenTexts()) {
    if (t.text != regions) continue;
    found = true;
    EXPECT_TRUE(t.Readable()) << t.Describe();
  }
  EXPECT_TRUE(found) << SeenList();
}

// Every text of the strip stands clear of its frame: the channel number and
// the list's rows start well inside the left edge, and the last programme
// keeps a margin above the strip's bottom, which is the screen's.
TEST_F(MiniGuideTest, TheStripsTextsStandClearOfItsFrame) {
  ASSERT_TRUE(TuneDigital(true));
  auto* g = OpenStrip();
  ASSERT_NE(g, nullptr);
  Channels::ProgramForm* p = g->Program();
  ASSERT_NE(p, nullptr);
  // The panel as drawn: the pixels that change when the strip goes.
  const ge::Surface& osd = Osd();
  const std::vector<uint32_t> shown(osd.pixels, osd.pixels + static_cast<size_t>(osd.stride) * osd.height);
  const std::vector<Core::SeenText> texts = SeenTexts();
  p->OnSetVisible(false);
  Run(20);
  kv::Rect panel{osd.width, osd.height, -1, -1};
  for (int32_t y = 0; y < osd.height; ++y)
    for (int32_t x = 0; x < osd.width; ++x)
      if (osd.Row(y)[x] != shown[static_cast<size_t>(y) * osd.stride + x]) {
        panel.x1 = std::min(panel.x1, x);
        panel.y1 = std::min(panel.y1, y);
        panel.x2 = std::max(panel.x2, x + 1);
        panel.y2 = std::max(panel.y2, y + 1);
      }
  p->OnSetVisible(true);
  Run(20);
  ASSERT_LT(panel.x1, panel.x2);
  int seen = 0;
  for (const Core::SeenText& t : texts) {
    if (t.where.find("Channels::ProgramForm") == std::string::npos || t.ink.IsEmpty()) continue;
    ++seen;
    EXPECT_TRUE(t.Readable()) << t.Describe();
    EXPECT_GE(t.ink.x1 - panel.x1, 8) << t.Describe() << " in the panel x " << panel.x1 << ".." << panel.x2;
    EXPECT_GE(panel.x2 - t.ink.x2, 8) << t.Describe() << " in the panel x " << panel.x1 << ".." << panel.x2;
    EXPECT_GE(panel.y2 - t.ink.y2, 6) << t.Describe() << " in the panel y " << panel.y1 << ".." << panel.y2;
  }
  EXPECT_GE(seen, 8) << SeenList();  // number, name, clock, rating and three rows (times and titles)
}

TEST_F(MiniGuideTest, AnAnalogueChannelOrAnHdmiInputGetsTheInformationBanner) {
  ASSERT_TRUE(TuneDigital(false));
  Nms()->ClearAll();
  Settle();
  Press("info");
  EXPECT_EQ(Find<Channels::MiniGuideDialog>(), nullptr);
  EXPECT_NE(Find<NonMenuSystem::InfoBanner>(), nullptr);
  ASSERT_TRUE(SwitchToSourceType(Constants::XPM_SOURCE_TYPE_AV_HDMI));
  Nms()->ClearAll();
  Settle();
  Press("info");
  EXPECT_EQ(Find<Channels::MiniGuideDialog>(), nullptr);
  EXPECT_NE(Find<NonMenuSystem::InfoBanner>(), nullptr);
}

TEST_F(MiniGuideTest, StreamBadgesFollowTheSet) {
  ASSERT_TRUE(TuneDigital(true));
  Nms()->ClearAll();
  Settle();
  sim::SetAudioServiceFormat(Tv(), 3, 9);
  Press("info");
  auto* g = Find<Channels::MiniGuideDialog>();
  ASSERT_NE(g, nullptr);
  Channels::ProgramForm* p = g->Program();
  EXPECT_TRUE(p->Dolby.IsVisible());
  EXPECT_FALSE(p->AudioMode.IsVisible());  // mode 9: no audio-mode badge
  EXPECT_TRUE(p->SDHD.IsVisible());
  EXPECT_TRUE(p->Resolution.IsVisible());
  // Within the 2 s refresh the strip follows a change of the stream.
  sim::SetAudioServiceFormat(Tv(), 1, 2);
  Run(2100);
  EXPECT_FALSE(p->Dolby.IsVisible());
  EXPECT_TRUE(p->AudioMode.IsVisible());
}

// A channel whose service the set cannot find (4-3 of the map) sends no
// stream: the strip shows neither its stream badges nor a signal strength.
TEST_F(MiniGuideTest, AChannelWithoutItsServiceShowsNoStreamBadges) {
  // Surfing passes it over: typed, as the viewer reaches it.
  for (const char* key : {"4", "dash", "3", "ok"}) Press(key);
  Run(3000);
  Settle();
  Structures::VirtualChannel* c = W()->GetCurrentChannel();
  ASSERT_TRUE(c && c->Major == 4 && c->Minor == 3);
  auto* g = OpenStrip();
  ASSERT_NE(g, nullptr);
  Channels::ProgramForm* p = g->Program();
  for (Core::View* badge : std::initializer_list<Core::View*>{&p->Dolby, &p->AudioMode, &p->SDHD, &p->Resolution})
    EXPECT_FALSE(badge->IsVisible()) << SeenList();
  EXPECT_FALSE(p->Signal.IsVisible());
}

TEST_F(MiniGuideTest, ASlideCutShortByTheCloseLowersTheAnimationCount) {
  ASSERT_TRUE(TuneDigital(true));
  Nms()->ClearAll();
  Settle();
  Press("info");
  Press("info");
  auto* g = Find<Channels::MiniGuideDialog>();
  ASSERT_NE(g, nullptr);
  // The slide out runs to its end and closes the guide.
  g->EndGuide();
  EXPECT_EQ(AnimationCount(), 2);
  Run(200);
  Settle();
  EXPECT_EQ(Find<Channels::MiniGuideDialog>(), nullptr);
  EXPECT_EQ(AnimationCount(), 0);
  // Closed in the middle of its slide, it owes the Wrapper nothing, and no
  // timer of its slide goes on running.
  const size_t timers = kv::TimerRegistry::Count();
  Press("info");
  g = Find<Channels::MiniGuideDialog>();
  ASSERT_NE(g, nullptr);
  g->EndGuide();
  EXPECT_GT(AnimationCount(), 0);
  Press("exit");
  Settle();
  EXPECT_EQ(Find<Channels::MiniGuideDialog>(), nullptr);
  EXPECT_EQ(AnimationCount(), 0);
  Run(1000);
  Settle();
  EXPECT_EQ(kv::TimerRegistry::Count(), timers);
}

TEST_F(MiniGuideTest, OpenedAndClosedFiftyTimesItLeavesNothingBehind) {
  ASSERT_TRUE(TuneDigital(true));
  Nms()->ClearAll();
  Settle();
  Press("info", 3);
  Settle();
  const auto before = Census();
  for (int i = 0; i < 50; ++i) {
    Press("info", 3);
    Settle();
  }
  const auto after = Census();
  EXPECT_EQ(after.count("Channels::MiniGuideDialog"), before.count("Channels::MiniGuideDialog"));
  for (const auto& [cls, n] : after)
    if (before.count(cls)) {
      EXPECT_LE(n, before.at(cls) + 1) << cls;
    }
  EXPECT_EQ(AnimationCount(), 0);
}

}  // namespace
