// Tuning and input changes of the simulated television: the acquired events
// with the status that locks and signal give, the picture, and the scans.
#include <atomic>
#include <mutex>
#include <vector>

#include "platform/db/db.h"
#include "platform/sim/sim_guide.h"
#include "platform/sim/sim_rating_region.h"
#include "platform/xpm/xpm_record.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_rating_region.h"
#include "platform/xpm/xpm_settings.h"
#include "sim_tv_fixture.h"

// The payloads this file reads, declared by layout as the middleware sends them.
namespace {

struct ChannelAcquired {
  int32_t major, minor, window, status, lockResult;
};
struct SourceAcquired {
  int32_t source, window, status, lockResult;
};
struct ScanEnd {
  int32_t found, value1;
};

using simtv::Event;
using simtv::SimTvTest;

class SimTvAcquireTest : public SimTvTest {
 protected:
  void SetUp() override {
    SimTvTest::SetUp();
    sim::SetPictureSink([this](const uint32_t* pixels, int32_t w, int32_t h) {
      ++pictures_;
      bool black = true;
      for (int32_t i = 0; i < w * h; ++i) black = black && pixels[i] == 0xFF000000u;
      lastBlack_ = black;
      pictureOnSimThread_ = tv_->OnSimThread();
      std::lock_guard<std::mutex> lock(planeMutex_);
      plane_.assign(pixels, pixels + size_t(w) * size_t(h));
      planeWidth_ = w;
    });
  }
  // The events since the last call, without the rating table's
  // announcement (its own test below).
  std::vector<Event> Acquisitions() {
    std::vector<Event> events = TakeEvents();
    std::erase_if(events, [](const Event& e) { return e.id == XPM_EVT_RATING_REGION_UPDATED; });
    return events;
  }
  // The status of the one channel-acquired event the last call sent.
  int32_t ChannelStatus() {
    std::vector<Event> events = Acquisitions();
    EXPECT_EQ(events.size(), 1u);
    if (events.size() != 1 || events[0].id != XPM_EVT_CHANNEL_ACQUIRED) return -1;
    return events[0].As<ChannelAcquired>().status;
  }
  int32_t SourceStatus() {
    std::vector<Event> events = Acquisitions();
    EXPECT_FALSE(events.empty());
    if (events.empty() || events[0].id != XPM_EVT_SOURCE_ACQUIRED) return -1;
    return events[0].As<SourceAcquired>().status;
  }

  // Whether the last plane shows the picture (not black) at (x, y).
  bool PictureAt(int32_t x, int32_t y) {
    tv_->Quiesce();
    std::lock_guard<std::mutex> lock(planeMutex_);
    const size_t i = size_t(y) * size_t(planeWidth_) + size_t(x);
    return planeWidth_ > 0 && i < plane_.size() && (plane_[i] & 0xFFFFFFu) != 0;
  }

  std::mutex planeMutex_;
  std::vector<uint32_t> plane_;
  int32_t planeWidth_ = 0;
  std::atomic<int> pictures_{0};
  std::atomic<bool> lastBlack_{false};
  std::atomic<bool> pictureOnSimThread_{false};
};

TEST_F(SimTvAcquireTest, SetChannelSendsChannelAcquiredFromTheSimThreadAndShowsThePicture) {
  ASSERT_EQ(XPM_SetChannel(0, 5, 1), XPM_OK);
  std::vector<Event> events = Acquisitions();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].id, uint32_t{XPM_EVT_CHANNEL_ACQUIRED});
  EXPECT_NE(events[0].thread, std::this_thread::get_id());
  const auto p = events[0].As<ChannelAcquired>();
  EXPECT_EQ(p.major, 5);
  EXPECT_EQ(p.minor, 1);
  EXPECT_EQ(p.window, 0);
  EXPECT_EQ(p.status, sim::kChannelOk);
  EXPECT_EQ(p.lockResult, 0);
  EXPECT_EQ(pictures_.load(), 1);
  EXPECT_FALSE(lastBlack_.load());
  EXPECT_TRUE(pictureOnSimThread_.load());
  XPM_VirtualChannel current{};
  ASSERT_EQ(XPM_GetCurrentChannel(0, &current), XPM_OK);
  EXPECT_EQ(current.major, 5);
  int32_t physical = 0;
  ASSERT_EQ(XPM_GetCurrentPhysicalChannel(0, &physical), XPM_OK);
  EXPECT_EQ(physical, 33);

  // The second window has no picture of its own; a channel outside the map is refused, silently for the tuner.
  ASSERT_EQ(XPM_SetChannel(1, 2, 2), XPM_OK);
  EXPECT_EQ(ChannelStatus(), sim::kChannelOk);
  EXPECT_EQ(pictures_.load(), 1);
  int32_t source = 0;
  ASSERT_EQ(XPM_GetCurrentSource(1, &source), XPM_OK);
  EXPECT_EQ(source, sim::kSourceTv);  // tuning brought window 1 from HDMI1 to the tuner
  EXPECT_EQ(XPM_SetChannel(0, 8, 1), XPM_ERR_INVALID_PARAM);
  EXPECT_TRUE(Acquisitions().empty());
  EXPECT_TRUE(Logged("XPM_SetChannel: channel 8.1 is not in the channel map"));
}

TEST_F(SimTvAcquireTest, LocksAndRatingsBlockAChannelOnlyWhileTheParentalLocksAreOn) {
  // A new set has its locks on; switched off, nothing blocks.
  int32_t state = -1;
  ASSERT_EQ(XPM_GetParentalLocksState(&state), XPM_OK);
  EXPECT_EQ(state, XPM_PARENTAL_LOCKS_STATE_ON);
  ASSERT_EQ(XPM_SetParentalLocksState(XPM_PARENTAL_LOCKS_STATE_OFF), XPM_OK);
  TakeEvents();
  ASSERT_EQ(XPM_SetChannelLock(7, 1, 1), XPM_OK);
  ASSERT_EQ(XPM_SetChannel(0, 7, 1), XPM_OK);
  EXPECT_EQ(ChannelStatus(), sim::kChannelOk);

  // Switched on while the locked 7.1 plays: acquired again at once, black.
  ASSERT_EQ(XPM_SetParentalLocksState(XPM_PARENTAL_LOCKS_STATE_ON), XPM_OK);
  std::vector<Event> events = Acquisitions();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].As<ChannelAcquired>().status, sim::kChannelLocked);
  EXPECT_EQ(events[0].As<ChannelAcquired>().lockResult, 2);
  EXPECT_TRUE(lastBlack_.load());
  ASSERT_EQ(XPM_SetChannel(0, 7, 1), XPM_OK);
  events = Acquisitions();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].As<ChannelAcquired>().status, sim::kChannelLocked);
  EXPECT_EQ(events[0].As<ChannelAcquired>().lockResult, 2);
  EXPECT_TRUE(lastBlack_.load());
  // A block that does not change how the picture is blocked sends nothing.
  ASSERT_EQ(XPM_SetUsAgeRating(2, 0x1111111, 1, 1), XPM_OK);  // TV-G, whole
  EXPECT_TRUE(Acquisitions().empty());
  ASSERT_EQ(XPM_SetUsAgeRating(2, 0x1111111, 0, 1), XPM_OK);
  EXPECT_TRUE(Acquisitions().empty());
  // The channel unlocked while it plays: the picture back at once.
  ASSERT_EQ(XPM_SetChannelLock(7, 1, 0), XPM_OK);
  EXPECT_EQ(ChannelStatus(), sim::kChannelOk);
  EXPECT_FALSE(lastBlack_.load());
  ASSERT_EQ(XPM_SetChannelLock(7, 1, 1), XPM_OK);
  EXPECT_EQ(ChannelStatus(), sim::kChannelLocked);

  // 7.2 carries an MA programme now; analogue 3 is unrated.
  sim::GuideEvent ma;
  ma.id = 77;
  ma.start = State().NetworkTime() - 600;
  ma.duration = 7200;
  ma.title = "Late Film";
  ma.rating = 3;
  sim::SetChannelGuide(*tv_, 7, 2, {ma});
  ASSERT_EQ(XPM_SetUsAgeRating(5, 0x1111111, 1, 1), XPM_OK);  // TV-MA, whole
  ASSERT_EQ(XPM_SetChannel(0, 7, 2), XPM_OK);
  EXPECT_EQ(ChannelStatus(), sim::kChannelRatingLocked);
  // The rating opened while its programme plays: the picture back at once.
  ASSERT_EQ(XPM_SetUsAgeRating(5, 0x1111111, 0, 1), XPM_OK);
  EXPECT_EQ(ChannelStatus(), sim::kChannelOk);
  EXPECT_FALSE(lastBlack_.load());
  ASSERT_EQ(XPM_SetUsAgeRating(5, 0x1111111, 1, 1), XPM_OK);
  EXPECT_EQ(ChannelStatus(), sim::kChannelRatingLocked);
  EXPECT_TRUE(lastBlack_.load());
  ASSERT_EQ(XPM_SetChannel(0, 3, 0), XPM_OK);
  EXPECT_EQ(ChannelStatus(), sim::kChannelOk);
  // Unrated content blocked while the unrated channel plays: at once.
  ASSERT_EQ(XPM_SetUnratedContent(1), XPM_OK);
  EXPECT_EQ(ChannelStatus(), sim::kChannelRatingLocked);
  ASSERT_EQ(XPM_SetChannel(0, 3, 0), XPM_OK);
  EXPECT_EQ(ChannelStatus(), sim::kChannelRatingLocked);
  ASSERT_EQ(XPM_SetChannel(0, 4, 3), XPM_OK);  // listed, but nothing on it
  EXPECT_EQ(ChannelStatus(), sim::kChannelNotAvailable);

  // Off until standby: open now, locked again after the next standby.
  // Lifting the locks acquires a blocked main window's channel again; a
  // channel nothing blocked is left as it is.
  ASSERT_EQ(XPM_SetParentalLocksState(XPM_PARENTAL_LOCKS_STATE_OFF_UNTIL_STANDBY), XPM_OK);
  EXPECT_TRUE(Acquisitions().empty());
  ASSERT_EQ(XPM_SetParentalLocksState(XPM_PARENTAL_LOCKS_STATE_ON), XPM_OK);
  EXPECT_TRUE(Acquisitions().empty());
  ASSERT_EQ(XPM_SetChannel(0, 7, 1), XPM_OK);
  EXPECT_EQ(ChannelStatus(), sim::kChannelLocked);
  ASSERT_EQ(XPM_SetParentalLocksState(XPM_PARENTAL_LOCKS_STATE_OFF_UNTIL_STANDBY), XPM_OK);
  EXPECT_EQ(ChannelStatus(), sim::kChannelOk);
  EXPECT_FALSE(lastBlack_.load());
  ASSERT_EQ(XPM_SetChannel(0, 7, 1), XPM_OK);
  EXPECT_EQ(ChannelStatus(), sim::kChannelOk);
  EXPECT_FALSE(lastBlack_.load());
  ASSERT_EQ(XPM_StandbyMode(1, 5), XPM_OK);
  ASSERT_EQ(XPM_SetChannel(0, 7, 1), XPM_OK);
  EXPECT_EQ(ChannelStatus(), sim::kChannelLocked);
}

TEST_F(SimTvAcquireTest, SetSourceSendsSourceAcquiredWithTheStatusOfSignalAndLocks) {
  ASSERT_EQ(XPM_SetSource(0, sim::kSourceHdmi1), XPM_OK);  // HDMI1 has a signal
  EXPECT_EQ(SourceStatus(), sim::kSourceOk);
  EXPECT_FALSE(lastBlack_.load());
  ASSERT_EQ(XPM_SetSource(0, sim::kSourceHdmi2), XPM_OK);  // HDMI2 has none
  EXPECT_EQ(SourceStatus(), sim::kSourceNoSignal);
  EXPECT_TRUE(lastBlack_.load());
  State().SetSourceSignal(sim::kSourceHdmi2, true);
  ASSERT_EQ(XPM_SetSource(0, sim::kSourceHdmi2), XPM_OK);
  EXPECT_EQ(SourceStatus(), sim::kSourceOk);

  ASSERT_EQ(XPM_SetParentalLocksState(XPM_PARENTAL_LOCKS_STATE_OFF), XPM_OK);
  TakeEvents();
  ASSERT_EQ(XPM_SetSourceLock(sim::kSourceHdmi2, 1), XPM_OK);
  ASSERT_EQ(XPM_SetSource(0, sim::kSourceHdmi2), XPM_OK);
  EXPECT_EQ(SourceStatus(), sim::kSourceOk);  // the parental locks are off
  // Switched on while the locked input shows: acquired again at once.
  ASSERT_EQ(XPM_SetParentalLocksState(XPM_PARENTAL_LOCKS_STATE_ON), XPM_OK);
  EXPECT_EQ(SourceStatus(), sim::kSourceLocked);
  EXPECT_TRUE(lastBlack_.load());
  ASSERT_EQ(XPM_SetSource(1, sim::kSourceHdmi2), XPM_OK);
  std::vector<Event> events = Acquisitions();
  ASSERT_EQ(events.size(), 1u);
  const auto p = events[0].As<SourceAcquired>();
  EXPECT_EQ(p.source, sim::kSourceHdmi2);
  EXPECT_EQ(p.window, 1);
  EXPECT_EQ(p.status, sim::kSourceLocked);
  EXPECT_EQ(p.lockResult, 2);
  ASSERT_EQ(XPM_SetUnratedContent(1), XPM_OK);
  EXPECT_TRUE(Acquisitions().empty());  // the input's lock blocks it already
  ASSERT_EQ(XPM_SetSource(0, sim::kSourcePc), XPM_OK);
  EXPECT_EQ(SourceStatus(), sim::kSourceRatingLocked);
  // The input unlocked or its content opened while it shows: at once.
  ASSERT_EQ(XPM_SetUnratedContent(0), XPM_OK);
  EXPECT_EQ(SourceStatus(), sim::kSourceOk);
  EXPECT_FALSE(lastBlack_.load());
  ASSERT_EQ(XPM_SetUnratedContent(1), XPM_OK);
  EXPECT_EQ(SourceStatus(), sim::kSourceRatingLocked);
  EXPECT_TRUE(lastBlack_.load());

  // Switched off: the picture back at once.
  ASSERT_EQ(XPM_SetParentalLocksState(XPM_PARENTAL_LOCKS_STATE_OFF), XPM_OK);
  EXPECT_EQ(SourceStatus(), sim::kSourceOk);
  // Back to the tuner: the input's event with the channel's status, then the channel's.
  ASSERT_EQ(XPM_SetSource(0, sim::kSourceTv), XPM_OK);
  events = Acquisitions();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].id, uint32_t{XPM_EVT_SOURCE_ACQUIRED});
  EXPECT_EQ(events[0].As<SourceAcquired>().status, sim::kChannelOk);
  EXPECT_EQ(events[1].id, uint32_t{XPM_EVT_CHANNEL_ACQUIRED});
  EXPECT_EQ(events[1].As<ChannelAcquired>().major, 2);
}

// A digital channel with rated programmes carries the downloadable rating
// table: the set announces its region once, and again for a new table.
TEST_F(SimTvAcquireTest, ARatedDigitalChannelAnnouncesTheRatingTableOnce) {
  ASSERT_EQ(XPM_SetChannel(0, 5, 1), XPM_OK);
  std::vector<Event> events = TakeEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].id, uint32_t{XPM_EVT_CHANNEL_ACQUIRED});
  EXPECT_EQ(events[1].id, uint32_t{XPM_EVT_RATING_REGION_UPDATED});
  EXPECT_EQ(events[1].As<int32_t>(), XPM_RATING_REGION_DOWNLOADABLE);
  ASSERT_EQ(XPM_SetChannel(0, 7, 1), XPM_OK);
  EXPECT_EQ(TakeEvents().size(), 1u);

  sim::RatingRegionTable table = sim::DefaultRatingRegion();
  table.dimensions.pop_back();
  sim::SetRatingRegion(*tv_, table);
  events = TakeEvents();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].As<int32_t>(), XPM_RATING_REGION_DOWNLOADABLE);
  table.present = false;
  sim::SetRatingRegion(*tv_, table);
  events = TakeEvents();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].As<int32_t>(), 0);
}

TEST_F(SimTvAcquireTest, AnEmptyMapAnswers7) {
  State().ReplaceChannelMap(0, {});
  int32_t count = -1;
  ASSERT_EQ(XPM_GetNumChannelsInRing(0, &count), XPM_OK);
  EXPECT_EQ(count, 0);
  XPM_VirtualChannel current{};
  ASSERT_EQ(XPM_GetCurrentChannel(0, &current), XPM_OK);
  EXPECT_EQ(current.major, sim::kNoChannel);
  XPM_VirtualChannel next{};
  EXPECT_EQ(XPM_GetNextChannel(-1, -1, 0, -1, -1, &next, 5, 0, 1), XPM_ERR_END_OF_LIST);

  ASSERT_EQ(XPM_SetSource(0, sim::kSourceTv), XPM_OK);
  std::vector<Event> events = Acquisitions();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].As<SourceAcquired>().status, sim::kChannelMapEmpty);
  const auto p = events[1].As<ChannelAcquired>();
  EXPECT_EQ(p.status, sim::kChannelMapEmpty);
  EXPECT_EQ(p.major, sim::kNoChannel);
  EXPECT_EQ(p.minor, sim::kNoChannel);
  EXPECT_TRUE(lastBlack_.load());
}

TEST_F(SimTvAcquireTest, AChannelScanRefillsTheMapStepByStepAndCanBeAborted) {
  ASSERT_EQ(XPM_StartChannelScan(1, 1, 1, 0, 0, 0), XPM_OK);
  EXPECT_TRUE(State().Channels(1).empty());
  EXPECT_TRUE(Acquisitions().empty());  // nothing until the tuner got there

  clock_.Advance(sim::kScanStepMs);
  std::vector<Event> events = Acquisitions();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].id, uint32_t{XPM_EVT_FULL_SCAN_PROGRESS});
  int32_t head[8];
  ASSERT_GE(events[0].bytes.size(), sizeof head);
  std::memcpy(head, events[0].bytes.data(), sizeof head);
  EXPECT_EQ(head[0], 2);  // physical channel 2 carries analogue 2
  EXPECT_EQ(head[7], 1);
  EXPECT_EQ(events[0].bytes.size(), sizeof head + 4u);  // one 16-bit major and minor

  int32_t steps = 1;
  for (int i = 0; i < 20; ++i) {
    clock_.Advance(sim::kScanStepMs);
    for (const Event& e : Acquisitions()) {
      if (e.id == XPM_EVT_FULL_SCAN_PROGRESS) ++steps;
      if (e.id == XPM_EVT_FULL_SCAN_COMPLETE) {
        EXPECT_EQ(e.As<ScanEnd>().found, 12);
        EXPECT_EQ(steps, 9);  // one step per physical channel with services
        EXPECT_EQ(State().Channels(1).size(), 12u);
        steps = -100;
      }
    }
  }
  EXPECT_EQ(steps, -100) << "no scan-complete event";

  ASSERT_EQ(XPM_StartChannelScan(0, 1, 1, 0, 0, 0), XPM_OK);
  clock_.Advance(2 * sim::kScanStepMs);
  Acquisitions();
  ASSERT_EQ(XPM_AbortChannelScan(0), XPM_OK);
  events = Acquisitions();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].id, uint32_t{XPM_EVT_FULL_SCAN_ABORTED});
  EXPECT_EQ(events[0].As<ScanEnd>().found, 2);  // physical channels 3 and 6: analogue 3 and 6
  EXPECT_EQ(State().Channels(0).size(), 2u);
  clock_.Advance(20 * sim::kScanStepMs);
  EXPECT_TRUE(Acquisitions().empty());
  EXPECT_EQ(XPM_StartChannelScan(2, 0, 0, 0, 0, 0), XPM_ERR_INVALID_PARAM);
}

TEST_F(SimTvAcquireTest, AGuideScanReportsEveryDigitalChannelWithAService) {
  ASSERT_EQ(XPM_EPG_FullChannelScan(0, 2, 69, 0, 2), XPM_OK);
  clock_.Advance(20 * sim::kScanStepMs);
  std::vector<Event> events = Acquisitions();
  ASSERT_EQ(events.size(), 10u);  // 12 channels less 2 analogue and 4.3 without a service, then the end
  EXPECT_EQ(events.back().id, uint32_t{XPM_EVT_EPG_FULL_SCAN_COMPLETE});
  EXPECT_EQ(events.back().As<ScanEnd>().found, 9);
  ASSERT_EQ(XPM_SetChannel(0, 6, 0), XPM_OK);
  Acquisitions();
  EXPECT_EQ(XPM_EPG_SingleChannelScan(0, 0, 0, 0), XPM_ERR_FAILED);  // analogue: no guide
}

}  // namespace

namespace {

TEST_F(SimTvAcquireTest, ThePictureShowsInTheDisplayWindowOfTheScreen) {
  // The picture shown since power on reaches the program with its client.
  ASSERT_EQ(XPM_InitClient(), XPM_OK);
  EXPECT_TRUE(PictureAt(700, 100));
  EXPECT_EQ(pictures_.load(), 1);
  ASSERT_EQ(XPM_InitClient(), XPM_OK);
  EXPECT_TRUE(PictureAt(700, 100));
  EXPECT_EQ(pictures_.load(), 1) << "once";
  ASSERT_EQ(XPM_SetChannel(0, 5, 1), XPM_OK);
  TakeEvents();
  EXPECT_EQ(planeWidth_, 960);
  EXPECT_TRUE(PictureAt(100, 400));
  EXPECT_TRUE(PictureAt(700, 100));
  // The guide's small window: the picture shrinks into it, black around it.
  const int before = pictures_.load();
  ASSERT_EQ(XPM_SetDisplayWindow(0, 10, 324, 366, 206), XPM_OK);
  EXPECT_TRUE(PictureAt(100, 400));
  EXPECT_TRUE(PictureAt(375, 529));
  EXPECT_FALSE(PictureAt(700, 100));
  EXPECT_FALSE(PictureAt(5, 400));
  EXPECT_EQ(pictures_.load(), before + 1);
  // The same place again shows nothing new; the whole screen again fills it.
  ASSERT_EQ(XPM_SetDisplayWindow(0, 10, 324, 366, 206), XPM_OK);
  EXPECT_EQ(pictures_.load(), before + 1);
  ASSERT_EQ(XPM_SetDisplayWindow(0, 0, 0, 960, 540), XPM_OK);
  EXPECT_TRUE(PictureAt(700, 100));
  // A window beyond the screen is refused and the picture stays.
  EXPECT_EQ(XPM_SetDisplayWindow(0, 600, 0, 366, 206), XPM_ERR_INVALID_PARAM);
  EXPECT_TRUE(PictureAt(100, 100));
  // A tune after a move shows the new channel in the window.
  ASSERT_EQ(XPM_SetDisplayWindow(0, 10, 324, 366, 206), XPM_OK);
  ASSERT_EQ(XPM_SetChannel(0, 2, 1), XPM_OK);
  TakeEvents();
  EXPECT_TRUE(PictureAt(100, 400));
  EXPECT_FALSE(PictureAt(700, 100));
}

TEST_F(SimTvAcquireTest, ATestSetsAChannelsSignalLinesAndGuide) {
  ASSERT_EQ(XPM_SetChannel(0, 5, 1), XPM_OK);
  TakeEvents();
  int32_t usual = -1, quality = -1;
  ASSERT_EQ(XPM_GetSignalQuality(0, &usual), XPM_OK);
  for (int32_t s : {0, 19, 20, 100}) {
    State().SetChannelSignal(5, 1, s);
    ASSERT_EQ(XPM_GetSignalQuality(0, &quality), XPM_OK);
    EXPECT_EQ(quality, s);
  }
  State().SetChannelSignal(5, 1, -1);
  ASSERT_EQ(XPM_GetSignalQuality(0, &quality), XPM_OK);
  EXPECT_EQ(quality, usual);
  XPM_VideoContentInfo v{};
  for (int32_t lines : {480, 720, 1080}) {
    State().SetChannelVideoLines(5, 1, lines);
    ASSERT_EQ(XPM_GetVideoContentInfo(0, &v), XPM_OK);
    EXPECT_EQ(v.height, lines);
  }
  // Another channel keeps its own.
  ASSERT_EQ(XPM_SetChannel(0, 2, 1), XPM_OK);
  TakeEvents();
  ASSERT_EQ(XPM_GetVideoContentInfo(0, &v), XPM_OK);
  EXPECT_EQ(v.height, 1080);

  // The guide: 20 programmes, the first running now, the second 25 hours long.
  const int64_t now = State().NetworkTime();
  sim::SetChannelGuide(*tv_, 2, 1, sim::TestGuide(now, 20));
  DB_ProgramInfo p{};
  ASSERT_EQ(DB_Get_Program_Info(2, 1, now, 0, 0, &p), DB_OK);
  EXPECT_STREQ(p.title, "Programme 1");
  EXPECT_LE(p.start, now);
  EXPECT_EQ(p.rating[0], (5 << 28) | 0x10 | 0x10000);
  EXPECT_EQ(p.rating[1], 5);
  int count = 1;
  int64_t start = p.start;
  while (DB_Get_Program_Info_Next(2, 1, start + 1, 0, 0, &p) == DB_OK) {
    if (count == 1) {
      EXPECT_EQ(p.duration, 25 * 3600);
    }
    start = p.start;
    ++count;
  }
  EXPECT_EQ(count, 20);
  XPM_CurrentChannelInfo c{};
  ASSERT_EQ(XPM_GetCurrentChannelInfo(0, &c), XPM_OK);
  EXPECT_EQ(c.rating[0], (5 << 28) | 0x10 | 0x10000);
  // No guide at all; a new set forgets what the test gave.
  sim::SetChannelGuide(*tv_, 2, 1, {});
  EXPECT_EQ(DB_Get_Program_Info(2, 1, now, 0, 0, &p), DB_ERR_NOT_FOUND);
  Boot();
  EXPECT_EQ(DB_Get_Program_Info(2, 1, now, 0, 0, &p), DB_OK);
  EXPECT_STRNE(p.title, "Programme 1");
}

}  // namespace
