// The downloadable rating region read, snapshotted, changed and applied
// through SkinBin::DynamicRatingData, and guide events read by count and by
// page through SkinBin::EPGEventsInfo_DB, against the simulated set.
#include <gtest/gtest.h>

#include <string>

#include "platform/sim/sim_rating_region.h"
#include "platform/xpm/xpm_rating_region.h"
#include "runtime/member.h"
#include "units/SkinBin/EPGEventsInfo_DB.h"
#include "units/SkinBin/RatingData.h"
#include "units/Structures/VirtualChannel.h"
#include "wrapper_fixture.h"

namespace wrappertest {
namespace {

class RatingRegionTest : public WrapperTest {
 protected:
  void SetUp() override {
    WrapperTest::SetUp();
    r_ = kv::New<SkinBin::DynamicRatingData>();
  }
  SkinBin::DynamicRatingData& R() { return *r_.get(); }
  int32_t Blocked(int32_t d, int32_t l) {
    int32_t b = -1;
    EXPECT_EQ(XPM_GetRatingLevel(5, d, l, &b), 0);
    return b;
  }
  kv::Persistent<SkinBin::DynamicRatingData> r_;
};

TEST_F(RatingRegionTest, RegionDimensionsAndLevelsAreRead) {
  EXPECT_EQ(R().GetRatingRegionId(), 5);
  R().SetRegionDimension(5, 0);
  EXPECT_EQ(R().GetRegionInfoEx(), 4);
  EXPECT_TRUE(R().RegionValid);
  EXPECT_EQ(R().RegionName.ToUtf8(), "Downloadable US (5)");
  EXPECT_EQ(R().RegionExtra, 3);
  R().SetRegionDimension(5, 3);
  R().GetDimensionInfo();
  EXPECT_EQ(R().DimensionName.ToUtf8(), "MPAA");
  EXPECT_TRUE(R().Graduated);
  EXPECT_EQ(R().LevelCount, 8);
  R().SetLevel(5);
  R().GetLevelInfo();
  EXPECT_EQ(R().LevelAbbrev.ToUtf8(), "R");
  EXPECT_EQ(R().LevelText.ToUtf8(), "Restricted");
  // Nothing downloaded: the region is not there and the texts are empty.
  sim::RatingRegionTable none;
  none.present = false;
  sim::SetRatingRegion(*tv_, none);
  EXPECT_EQ(R().GetRatingRegionId(), 0);
  R().GetRegionInfo();
  EXPECT_FALSE(R().RegionValid);
  EXPECT_TRUE(R().RegionName.Empty());
  R().GetLevelInfo();
  EXPECT_TRUE(R().LevelAbbrev.Empty());
  R().GetDimensionInfo();
  EXPECT_FALSE(R().Graduated);
}

TEST_F(RatingRegionTest, SnapshotIsEditedAndAppliedInOneStep) {
  R().SetRegionDimension(5, 0);
  R().ApplyRRTArray();  // no snapshot yet: nothing is written
  EXPECT_EQ(Count("XPM_SetRatingLevel"), 0u);
  EXPECT_EQ(R().GetRRTArray(0, 1), 0);
  ASSERT_EQ(XPM_SetRatingLevel(5, 3, 6, 1, 1), 0);
  R().GetRegionInfo();
  R().LoadRRTArray();
  EXPECT_EQ(R().MaxLevelCount, 8);
  EXPECT_EQ(R().GetRRTArray(3, 6), 1);
  EXPECT_EQ(R().GetRRTArray(3, 5), 0);
  R().SetRRTArray(3, 5, 1);
  R().SetRRTArray(3, 6, 0);
  R().SetRRTArray(0, 4, 1);
  R().SetRRTArray(4, 0, 1);  // no fifth dimension: ignored
  EXPECT_EQ(R().GetRRTArray(4, 0), 0);
  tv_->ClearCallLog();
  R().ApplyRRTArray();
  // Only the three changed levels are written, graduated for MPAA.
  EXPECT_EQ(Calls("XPM_SetRatingLevel"),
            (std::vector<std::string>{"XPM_SetRatingLevel(5, 0, 4, 1, 1)", "XPM_SetRatingLevel(5, 3, 5, 1, 1)",
                                      "XPM_SetRatingLevel(5, 3, 6, 0, 1)"}));
  EXPECT_EQ(Blocked(3, 5), 1);
  EXPECT_EQ(Blocked(3, 6), 0);
  // Switching the region and resetting it.
  R().SetRatingRegionEnable(0, true);
  EXPECT_EQ(Count("XPM_SetRatingRegion"), 0u);
  R().SetRatingRegionEnable(5, true);
  EXPECT_EQ(Calls("XPM_SetRatingRegion"), (std::vector<std::string>{"XPM_SetRatingRegion(5, 1)"}));
  R().ResetRegion();
  EXPECT_TRUE(Logged("SkinBin::DynamicRatingData::ResetRegion: 5"));
  EXPECT_EQ(Blocked(3, 5), 0);
  EXPECT_EQ(Blocked(0, 4), 0);
}

TEST_F(RatingRegionTest, SnapshotKeepsTheFirst255DimensionsAnd100Levels) {
  sim::RatingRegionTable big;
  big.name = "Big";
  for (int d = 0; d < 300; ++d) big.dimensions.push_back({"D" + std::to_string(d), false, {{"", ""}, {"X", "X"}}});
  big.dimensions[1].levels.resize(120, {"L", "L"});
  sim::SetRatingRegion(*tv_, big);
  ASSERT_EQ(XPM_SetRatingLevel(5, 1, 99, 1, 0), 0);
  ASSERT_EQ(XPM_SetRatingLevel(5, 254, 1, 1, 0), 0);
  R().SetRegionDimension(5, 0);
  R().GetRegionInfo();
  EXPECT_EQ(R().DimensionCount, 300);
  tv_->ClearCallLog();
  R().LoadRRTArray();
  EXPECT_EQ(R().MaxLevelCount, 120);
  EXPECT_EQ(Count("XPM_GetRatingDimensionInfo"), 255u);
  EXPECT_EQ(Count("XPM_GetRatingLevel"), 254u * 2 + 100u);
  EXPECT_EQ(R().GetRRTArray(1, 99), 1);
  EXPECT_EQ(R().GetRRTArray(254, 1), 1);
  EXPECT_EQ(R().GetRRTArray(255, 1), 0);
}

class GuideReadTest : public WrapperTest {
 protected:
  void SetUp() override {
    WrapperTest::SetUp();
    db_ = kv::New<SkinBin::EPGEventsInfo_DB>();
    ch_ = kv::New<Structures::VirtualChannel>();
    ch_->Major = 2;
    ch_->Minor = 1;
  }
  SkinBin::EPGEventsInfo_DB& D() { return *db_.get(); }
  kv::Persistent<SkinBin::EPGEventsInfo_DB> db_;
  kv::Persistent<Structures::VirtualChannel> ch_;
};

TEST_F(GuideReadTest, EventsByCountThenByPageUntilTheDataEnds) {
  EXPECT_EQ(D().GetEventInfoByCount(ch_.get(), 3), 3);
  EXPECT_TRUE(Logged("######  Get event info of the channel 2.1 from the database."));
  EXPECT_EQ(D().PageIndex, 1);
  EXPECT_FALSE(D().NoMoreEvents);
  ASSERT_NE(D().GetEvent(2), nullptr);
  EXPECT_FALSE(D().GetEvent(0)->Title.Empty());
  ASSERT_NE(D().GetEvent(0)->StartTime.get(), nullptr);
  EXPECT_LT(D().GetEvent(0)->StartTime->GetTicks(), D().GetEvent(1)->StartTime->GetTicks());
  EXPECT_EQ(D().GetEventInfoByPage(ch_.get()), 16);  // page 1: places 8-15
  EXPECT_NE(D().GetEvent(8), nullptr);
  EXPECT_EQ(D().PageIndex, 2);
  // Page after page up to the guide's end: the last page is short and no
  // more pages are read after it.
  int32_t guard = 0;
  while (!D().NoMoreEvents && guard++ < 200) D().GetEventInfoByPage(ch_.get());
  EXPECT_TRUE(D().NoMoreEvents);
  const int32_t total = D().GetNumEvents();
  EXPECT_GT(total, 16);
  EXPECT_NE(D().GetEvent(total - 1), nullptr);
  tv_->ClearCallLog();
  EXPECT_EQ(D().GetEventInfoByPage(ch_.get()), total);
  EXPECT_EQ(Count("DB_Get_Program_Info_Next"), 0u);
}

TEST_F(GuideReadTest, ReadsStopAtTheThousandPlaces) {
  // A count past the places is cut, and reported as the end.
  D().GetEventInfoByCount(ch_.get(), 5000);
  EXPECT_LE(D().GetNumEvents(), SkinBin::MAX_EPG_EVENTS);
  EXPECT_TRUE(D().NoMoreEvents);
  // The last page that fits fills places 992-999; the next is not read.
  D().GetEventInfoByCount(ch_.get(), 1);
  D().PageIndex = 124;
  EXPECT_EQ(D().GetEventInfoByPage(ch_.get()), 1000);
  EXPECT_NE(D().GetEvent(999), nullptr);
  EXPECT_FALSE(D().NoMoreEvents);
  tv_->ClearCallLog();
  EXPECT_EQ(D().GetEventInfoByPage(ch_.get()), 1000);
  EXPECT_TRUE(D().NoMoreEvents);
  EXPECT_EQ(Count("DB_Get_Program_Info_Next"), 0u);
  EXPECT_FALSE(Logged("outside the 1000 events"));
  // An analogue channel has no guide: nothing, and the end.
  ch_->Major = 3;
  ch_->Minor = -2;
  EXPECT_EQ(D().GetEventInfoByCount(ch_.get(), 8), 0);
  EXPECT_TRUE(D().NoMoreEvents);
}

}  // namespace
}  // namespace wrappertest
