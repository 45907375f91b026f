// The downloadable-rating lists in test screens that play the dimension and
// level dialogs, against the simulated set's rating region.
#include <gtest/gtest.h>

#include "listform_fixture.h"
#include "platform/sim/sim_rating_region.h"
#include "runtime/text.h"
#include "strings/SkinBin.h"
#include "strings/Strings.h"
#include "units/ListForm/RatingLists.h"
#include "units/SkinBin/RatingData.h"

namespace listtest {
namespace {

using namespace ListForm;

class RatingListsTest : public ListTest {
 protected:
  void StoreRegion(int32_t region) { W()->PersistentData->PutInteger(SkinBin::KEY_RATING_REGION, region); }
  // The level list of `dimension` of region 5, as the level dialog opens it.
  KXDRRTLevelList* OpenLevels(int32_t dimension) {
    SkinBin::DynamicRatingData& d = W()->DynamicRatingData;
    d.SetRegionDimension(5, 0);
    d.GetRegionInfo();  // as the dimension dialog left it
    d.LoadRRTArray();
    auto* l = kv::New<KXDRRTLevelList>();
    l->Dimension = dimension;
    return Open(l, {30, 80, 250, 302});
  }
  static bool Checked(KXDRRTLevelList* l, size_t i) { return Row<KXDRRTLevelItem>(l, i)->OnGetIsChecked(); }
  static std::string Level(KXDRRTLevelList* l, size_t i) { return Row<KXDRRTLevelItem>(l, i)->OnGetText().ToUtf8(); }
};

TEST_F(RatingListsTest, TheDimensionListShowsTheRegionsDimensionsOrNothingWithoutARegion) {
  StoreRegion(5);
  auto* l = Open(kv::New<KXDRRTDimensionList>(), {30, 80, 320, 304});
  ASSERT_EQ(Rows(l).size(), 4u);
  EXPECT_EQ(Text(Rows(l)[0]), "Entire Audience");
  EXPECT_EQ(Text(Rows(l)[3]), "MPAA");
  EXPECT_EQ(l->Bounds().H(), 224 - 4 * 28);  // four rows of eight
  Press("down", 5);  // no wrap: stops on the last
  EXPECT_EQ(FocusedText(l), "MPAA");
  CloseHost();
  StoreRegion(0);
  l = Open(kv::New<KXDRRTDimensionList>(), {30, 80, 320, 304});
  EXPECT_TRUE(Rows(l).empty());
}

TEST_F(RatingListsTest, AGraduatedDimensionCascadesAndEachToggleReachesTheSetAtOnce) {
  auto* l = OpenLevels(0);  // Entire Audience: (unnamed), NR, TV-G, TV-PG, TV-14, TV-MA
  ASSERT_EQ(Rows(l).size(), 6u);
  EXPECT_EQ(Level(l, 3), "TV-PG");
  ClearCallLog();
  Press("down", 3);
  Press("ok");  // block TV-PG: TV-14 and TV-MA follow
  EXPECT_EQ(Calls("XPM_SetRatingLevel").size(), 3u);
  Settle();
  EXPECT_FALSE(Checked(l, 2));
  EXPECT_TRUE(Checked(l, 3));
  EXPECT_TRUE(Checked(l, 4));
  EXPECT_TRUE(Checked(l, 5));
  Press("up");
  Press("ok");  // block TV-G as well
  Settle();
  EXPECT_TRUE(Checked(l, 2));
  Press("down", 2);
  Press("ok");  // open TV-14: every level below opens too, TV-MA stays blocked
  Settle();
  for (size_t i = 0; i < 5; ++i) EXPECT_FALSE(Checked(l, i)) << i;
  EXPECT_TRUE(Checked(l, 5));
  // The middleware holds what the rows show.
  SkinBin::DynamicRatingData& d = W()->DynamicRatingData;
  d.SetRegionDimension(5, 0);
  for (int32_t level = 0; level < 6; ++level) {
    d.SetLevel(level);
    d.GetRatingLevel();
    EXPECT_EQ(d.LevelBlocked != 0, level == 5) << level;
  }
}

TEST_F(RatingListsTest, APlainDimensionTogglesOneLevelAndUnnamedOnesReadNone) {
  sim::RatingRegionTable region = sim::DefaultRatingRegion();
  region.dimensions.push_back({"", false, {{"", "no name"}, {"B", "bee"}, {"C", "sea"}}});
  sim::SetRatingRegion(Tv(), region);
  auto* l = OpenLevels(4);
  ASSERT_EQ(Rows(l).size(), 3u);
  EXPECT_EQ(Level(l, 0), kv::GetVariantOfString(Strings::SID_NONE).ToUtf8());
  EXPECT_EQ(Row<KXDRRTLevelItem>(l, 0)->SecondName.ToUtf8(), "no name");
  Press("down");
  Press("ok");
  Settle();
  EXPECT_FALSE(Checked(l, 0));
  EXPECT_TRUE(Checked(l, 1));
  EXPECT_FALSE(Checked(l, 2));
  CloseHost();
  StoreRegion(5);
  auto* dims = Open(kv::New<KXDRRTDimensionList>(), {30, 80, 320, 304});
  ASSERT_EQ(Rows(dims).size(), 5u);
  EXPECT_EQ(Text(Rows(dims)[4]).rfind("Dimension", 0), 0u);
  EXPECT_NE(Text(Rows(dims)[4]).find('4'), std::string::npos);
}

}  // namespace
}  // namespace listtest
