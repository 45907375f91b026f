// The guides over what the set carries: a channel's guide of none, 20 or
// 1100 programmes paged in as the user scrolls, its rating words, its
// signal and picture lines, a tuner that records, and the live picture in
// the guide's window. The set's data is given per channel through the
// simulated set; everything else runs as on the television.
#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "nonmenusystem_support.h"
#include "platform/sim/sim_guide.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm_record.h"
#include "runtime/text.h"
#include "strings/Strings.h"
#include "units/Bitmaps/BannerBitmaps.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Channels/FullEPGDialog.h"
#include "units/Channels/MiniGuide.h"
#include "units/Constants/Constants.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/EPGEventsInfo_DB.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/VirtualChannel.h"

namespace {

class GuideDataTest : public livetvtest::LiveTVTest {
 protected:
  void SetUp() override {
    LiveTVTest::SetUp();
    ASSERT_TRUE(SwitchToSourceType(Constants::XPM_SOURCE_TYPE_RF_TUNER));
    Nms()->ClearAll();
    Settle();
  }
  void TearDown() override {
    Tv().Quiesce();
    sim::SetPictureSink(nullptr);
    LiveTVTest::TearDown();
  }
  // The set's picture (the video plane) as the host would get it.
  void WatchThePicture() {
    sim::SetPictureSink([this](const uint32_t* px, int32_t w, int32_t h) {
      std::lock_guard<std::mutex> lock(planeMutex_);
      plane_.assign(px, px + size_t(w) * size_t(h));
      planeWidth_ = w;
    });
  }
  // Whether the plane shows the picture (not black) at (x, y) of the screen.
  bool PictureAt(int32_t x, int32_t y) {
    Tv().Quiesce();
    std::lock_guard<std::mutex> lock(planeMutex_);
    const size_t i = size_t(y) * size_t(planeWidth_) + size_t(x);
    return planeWidth_ == sim::kPlaneWidth && i < plane_.size() && (plane_[i] & 0xFFFFFFu) != 0;
  }
  Channels::FullEPGDialog* Guide() { return Find<Channels::FullEPGDialog>(); }
  SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(W()); }
  Structures::VirtualChannel* Now() { return W()->GetCurrentChannel(); }
  int64_t NetworkTime() { return Tv().Tv().NetworkTime(); }
  // The channel in tune gets a test guide of `count` programmes.
  std::vector<sim::GuideEvent> GiveGuide(int32_t count) {
    std::vector<sim::GuideEvent> g = sim::TestGuide(NetworkTime(), count);
    sim::SetChannelGuide(Tv(), Now()->Major, Now()->Minor, g);
    return g;
  }
  // Titles of the programme rows on screen, top to bottom.
  std::vector<std::string> Rows(Channels::FullEPGDialog* g) {
    std::vector<std::string> out;
    for (Forms::Ctrl* c : g->Programs.GetAllRows()) {
      auto* row = kv::Cast<ListForm::EPGProgramListItem>(c);
      if (row && row->IsVisible()) out.push_back(row->OnGetText().ToUtf8());
    }
    return out;
  }
  static std::vector<std::string> Titles(int from, int to) {
    std::vector<std::string> out;
    for (int i = from; i <= to; ++i) out.push_back("Programme " + std::to_string(i));
    return out;
  }
  size_t Reads() { return Calls("DB_Get_Program_Info_Next").size(); }
  std::string Focused(Channels::FullEPGDialog* g) {
    auto* row = kv::Cast<ListForm::EPGProgramListItem>(g->Programs.GetFocusedRow());
    return row ? row->OnGetText().ToUtf8() : std::string();
  }
  bool TuneDigital() {
    for (int i = 0; i < 40 && !NonMenuSystem::Live::CurrentChannelDigital(); ++i) {
      Press("ch+");
      Run(1500);
      Settle();
    }
    return NonMenuSystem::Live::CurrentChannelDigital();
  }
  // The tuner records the channel in tune (the set's record-now).
  void RecordInTheSet() {
    std::filesystem::create_directories(Tv().TargetPath(sim::kUsbMountPoint));
    ASSERT_EQ(XPM_RECORDING_START(0, Now()->Major, Now()->Minor, 0), XPM_OK);
  }
  bool Shows(Views::Image& v, const Resources::BitmapId& id) {
    return v.IsVisible() && v.OnGetBitmap() == Resources::LoadResource(id);
  }

  std::mutex planeMutex_;
  std::vector<uint32_t> plane_;
  int32_t planeWidth_ = 0;
};

TEST_F(GuideDataTest, TwentyProgrammesAreReadEightAtATimeAndStopAtTheEnd) {
  GiveGuide(20);
  Press("guide");
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  SkinBin::EPGEventsInfo_DB* store = Skin()->EPGProgramList.get();
  ASSERT_NE(store, nullptr);
  auto read = [&] {
    std::vector<std::string> out;
    for (int32_t i = 0; i < store->GetNumEvents(); ++i) out.push_back(store->GetEvent(i)->Title.ToUtf8());
    return out;
  };
  EXPECT_EQ(Rows(g), Titles(1, 8));
  EXPECT_EQ(read(), Titles(1, 8));
  Press("right");
  Press("down", 7);
  EXPECT_EQ(Focused(g), "Programme 8");
  // Down from row 8 reads programmes 9-16 and moves on to 9.
  ClearCallLog();
  Press("down");
  Settle();
  EXPECT_GT(Reads(), 0u);
  EXPECT_EQ(read(), Titles(1, 16));
  EXPECT_EQ(Rows(g), Titles(2, 9));
  EXPECT_EQ(Focused(g), "Programme 9");
  EXPECT_EQ(g->Info.TitleText.OnGetString().ToUtf8(), "Programme 9");
  // Within what was read nothing more is read.
  ClearCallLog();
  Press("down", 7);
  EXPECT_EQ(Reads(), 0u);
  EXPECT_EQ(Focused(g), "Programme 16");
  // From 16: 17-20, the database's end.
  Press("down");
  Settle();
  EXPECT_GT(Reads(), 0u);
  EXPECT_EQ(read(), Titles(1, 20));
  EXPECT_EQ(Focused(g), "Programme 17");
  Press("down", 3);
  EXPECT_EQ(Focused(g), "Programme 20");
  EXPECT_EQ(Rows(g), Titles(13, 20));
  // Then nothing moves and nothing is read.
  ClearCallLog();
  Press("down");
  Press("next");
  Settle();
  EXPECT_EQ(Reads(), 0u);
  EXPECT_EQ(Focused(g), "Programme 20");
  EXPECT_EQ(Rows(g), Titles(13, 20));
  // The page keys move a page at a time.
  Press("prev");
  EXPECT_EQ(Rows(g), Titles(5, 12));
  Press("prev");
  EXPECT_EQ(Rows(g), Titles(1, 8));
  Press("next");
  EXPECT_EQ(Rows(g), Titles(9, 16));
  // The next key still acts: the guide key closes.
  Press("guide");
  Settle();
  EXPECT_EQ(Guide(), nullptr);
}

TEST_F(GuideDataTest, ElevenHundredProgrammesStopAtTheStoresThousand) {
  GiveGuide(1100);
  Press("guide");
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  Press("right");
  for (int i = 0; i < 130; ++i) Press("next");
  Settle();
  EXPECT_EQ(Skin()->EPGProgramList->GetNumEvents(), 1000);
  EXPECT_EQ(Rows(g), Titles(993, 1000));
  ClearCallLog();
  Press("next");
  Press("down", 8);
  Settle();
  EXPECT_EQ(Reads(), 0u);
  EXPECT_EQ(Focused(g), "Programme 1000");
  EXPECT_EQ(g->Info.TitleText.OnGetString().ToUtf8(), "Programme 1000");
}

TEST_F(GuideDataTest, AChannelWithoutGuideDataShowsNoRowsAndNoInformation) {
  GiveGuide(0);
  Press("guide");
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  EXPECT_TRUE(Rows(g).empty());
  const std::string none = kv::GetVariantOfString(Strings::SID_NO_INFORMATION_AVAILABLE).ToUtf8();
  EXPECT_EQ(g->Info.TitleText.OnGetString().ToUtf8(), none);
  EXPECT_TRUE(g->Info.TimeSpan.OnGetString().Empty());
  // No programme, so no rating stands beside the title.
  Run(500);
  for (const Core::SeenText& t : SeenTexts()) EXPECT_NE(t.view, &g->Info.Rating) << t.Describe();
  // Right and down on the empty list do nothing; the guide still answers.
  Press("right");
  Press("down");
  Press("guide");
  Settle();
  EXPECT_EQ(Guide(), nullptr);

  // The mini guide of such a channel: one no-information row.
  ASSERT_TRUE(NonMenuSystem::Live::CurrentChannelDigital());
  Press("info");
  auto* m = Find<Channels::MiniGuideDialog>();
  ASSERT_NE(m, nullptr);
  ASSERT_NE(m->Program(), nullptr);
  EXPECT_EQ(m->Program()->List.GetItemsNum(), 1);
  auto* row = kv::Cast<ListForm::MiniGuideListItem>(m->Program()->List.GetFocusedRow());
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->OnGetText().ToUtf8(), none);
  Press("info");
  ASSERT_NE(m->Description(), nullptr);
}

TEST_F(GuideDataTest, RatingWordsOfTheProgrammeOnNowReadInTheDetailsAndTheStrip) {
  ASSERT_TRUE(TuneDigital());
  Nms()->ClearAll();
  Settle();
  std::vector<sim::GuideEvent> guide = GiveGuide(10);
  Press("guide");
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  // TV-14 with dialogue and violence, and the Canadian 14+.
  EXPECT_EQ(g->Info.Rating.OnGetString().ToUtf8(), "TV-14-D-V 14+");
  // The pane reads the programme's own words as the guide holds them: the
  // guide opened again after the set's guide changed.
  const auto reopened = [&] {
    sim::SetChannelGuide(Tv(), Now()->Major, Now()->Minor, guide);
    Press("guide");
    Settle();
    Press("guide");
    Run(500);
    g = Guide();
    return g ? g->Info.Rating.OnGetString().ToUtf8() : std::string("no guide");
  };
  // No TV rating ("None"): the movie rating alone.
  guide[0].usWord = guide[1].usWord;
  guide[0].canadianRating = 0;
  EXPECT_EQ(reopened(), "PG");
  // A French-Canadian word alone.
  guide[0].usWord = 0;
  guide[0].canadianRating = guide[2].canadianRating;
  EXPECT_EQ(reopened(), "13 ans+");
  Press("guide");
  Settle();

  // The strip of the mini guide reads the same.
  guide[0] = sim::TestGuide(NetworkTime(), 1)[0];
  sim::SetChannelGuide(Tv(), Now()->Major, Now()->Minor, guide);
  Press("info");
  auto* m = Find<Channels::MiniGuideDialog>();
  ASSERT_NE(m, nullptr);
  ASSERT_NE(m->Program(), nullptr);
  EXPECT_EQ(m->Program()->Rating.OnGetString().ToUtf8(), "TV-14-D-V 14+");
}

TEST_F(GuideDataTest, SignalAndLinesOfTheChannelShowAsBarsAndBadges) {
  ASSERT_TRUE(TuneDigital());
  Nms()->ClearAll();
  Settle();
  const int32_t major = Now()->Major, minor = Now()->Minor;
  Tv().Tv().SetChannelSignal(major, minor, 19);
  Tv().Tv().SetChannelVideoLines(major, minor, 720);
  Press("info");
  auto* m = Find<Channels::MiniGuideDialog>();
  ASSERT_NE(m, nullptr);
  Channels::ProgramForm* p = m->Program();
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(p->Signal.IsVisible());
  EXPECT_EQ(p->Signal.OnGetImageIndex(), 1);
  EXPECT_TRUE(Shows(p->SDHD, Bitmaps::BannerHD));
  EXPECT_TRUE(Shows(p->Resolution, Bitmaps::Banner720));
  // The strip follows the set within its 2 s refresh.
  Tv().Tv().SetChannelSignal(major, minor, 20);
  Tv().Tv().SetChannelVideoLines(major, minor, 480);
  Run(2100);
  EXPECT_EQ(p->Signal.OnGetImageIndex(), 2);
  EXPECT_TRUE(Shows(p->SDHD, Bitmaps::BannerSD));
  EXPECT_TRUE(Shows(p->Resolution, Bitmaps::Banner480));
  Tv().Tv().SetChannelSignal(major, minor, 100);
  Tv().Tv().SetChannelVideoLines(major, minor, 1080);
  Run(2100);
  EXPECT_EQ(p->Signal.OnGetImageIndex(), 5);
  EXPECT_TRUE(Shows(p->Resolution, Bitmaps::Banner1080));
  // The guide's details show the same badges.
  Press("info", 2);
  Settle();
  Tv().Tv().SetChannelVideoLines(major, minor, 720);
  Press("guide");
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  EXPECT_TRUE(Shows(g->Info.Resolution, Bitmaps::Banner720));
}

TEST_F(GuideDataTest, WhileTheTunerRecordsTheGuideOnlyBrowses) {
  RecordInTheSet();
  const int32_t minor = Now()->Minor, major = Now()->Major;
  Press("guide");
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  EXPECT_TRUE(g->RecordMark.IsVisible());
  EXPECT_TRUE(g->Column.BrowseOnly);
  EXPECT_TRUE(Shows(g->Info.Record, Bitmaps::BannerRecord));
  // Moving the column lists the other channel's programmes without tuning.
  ClearCallLog();
  Press("down");
  Run(1500);
  Settle();
  EXPECT_TRUE(Calls("XPM_SetChannel").empty());
  EXPECT_EQ(Now()->Major, major);
  EXPECT_EQ(Now()->Minor, minor);
  auto* row = kv::Cast<ListForm::EPGChannelItem>(g->Column.GetFocusedRow());
  ASSERT_NE(row, nullptr);
  ASSERT_NE(g->Programs.OnGetm_channel(), nullptr);
  EXPECT_EQ(g->Programs.OnGetm_channel()->Major, row->Major);
  EXPECT_EQ(g->Programs.OnGetm_channel()->Minor, row->Minor);
  // OK on the programme on now records nothing more: the guide stays.
  Press("right");
  Press("ok");
  Settle();
  EXPECT_EQ(Guide(), g);
  EXPECT_TRUE(Calls("XPM_RECORDING_START").empty());
  // The next key still acts.
  Press("back");
  Settle();
  EXPECT_EQ(Guide(), nullptr);
}

TEST_F(GuideDataTest, TheLivePictureShrinksIntoTheGuidesWindowAndComesBack) {
  WatchThePicture();
  auto picture = [&](int32_t x, int32_t y) { return PictureAt(x, y); };
  Press("ch+");
  Run(1500);
  Settle();
  ASSERT_TRUE(picture(700, 100));
  Press("guide");
  ASSERT_NE(Guide(), nullptr);
  // Inside the window (10, 324, 366 x 206) the picture; around it black.
  EXPECT_TRUE(picture(20, 330));
  EXPECT_TRUE(picture(370, 525));
  EXPECT_FALSE(picture(700, 100));
  EXPECT_FALSE(picture(400, 400));
  // The guide leaves that window clear, so the picture shows through it.
  Settle();
  auto alpha = [&](int32_t x, int32_t y) { return Osd().Row(y)[x] >> 24; };
  EXPECT_EQ(alpha(20, 330), 0u);
  EXPECT_EQ(alpha(370, 525), 0u);
  EXPECT_EQ(alpha(193, 427), 0u);
  EXPECT_EQ(alpha(700, 100), 255u);
  EXPECT_EQ(alpha(400, 400), 255u);
  Press("back");
  Settle();
  EXPECT_EQ(Guide(), nullptr);
  EXPECT_TRUE(picture(700, 100));
}

}  // namespace
