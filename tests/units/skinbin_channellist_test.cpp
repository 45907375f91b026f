// The channel table's loaders against the simulated set: the master, guide,
// timer, single-physical-channel and favourites tables over a map with
// analogue, digital, locked, excluded and empty channels on both media; a map
// beyond the table's capacity; walks failing midway; scan steps.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm_rings.h"
#include "runtime/member.h"
#include "units/Events/XPM_EVENT_CHANNEL_SCAN_PROGRESS.h"
#include "units/SkinBin/ChannelListData.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/VirtualChannel.h"
#include "wrapper_fixture.h"

namespace wrappertest {
namespace {

class ChannelListTest : public WrapperTest {
 protected:
  void SetUp() override {
    WrapperTest::SetUp();
    table_ = kv::New<SkinBin::ChannelListData>();
  }
  SkinBin::ChannelListData& T() { return *table_.get(); }
  std::vector<std::string> Numbers() {
    std::vector<std::string> out;
    for (int32_t i = 0; i < T().GetNumChannels(); ++i) {
      const SkinBin::ChannelData* c = T().GetChannel(i);
      out.push_back(std::to_string(c->Major) + (c->Minor == -2 ? "" : "-" + std::to_string(c->Minor)));
    }
    return out;
  }
  SkinBin::ChannelData& At(int32_t major, int32_t minor) {
    const int32_t i = T().GetChannelIndexInTable(major, minor);
    EXPECT_GE(i, 0) << major << "-" << minor;
    return *T().GetChannel(i < 0 ? 0 : i);
  }
  void AddFavorite(int32_t ring, int32_t major, int32_t minor) {
    ASSERT_EQ(State().AddChannelToRing(ring, major, minor, kTest), 0);
  }
  kv::Persistent<SkinBin::ChannelListData> table_;
};

using V = std::vector<std::string>;

TEST_F(ChannelListTest, MasterAndGuideTablesFollowTheirSelectionMasks) {
  EXPECT_EQ(T().GetChannelIndexInTable(2, 1), -1);  // empty table
  EXPECT_EQ(T().LoadMasterChannelTable(false), 11);
  EXPECT_EQ(T().GetTableType(), SkinBin::CHANNEL_TABLE_MASTER);
  // Mask 4 leaves out only 4-3, which carries no service.
  EXPECT_EQ(Numbers(), (V{"2-1", "2-2", "3", "4-1", "4-2", "5-1", "6", "7-1", "7-2", "9-1", "11-1"}));
  EXPECT_EQ(At(5, 1).Locked, 1);
  EXPECT_EQ(At(2, 1).Locked, 0);
  EXPECT_EQ(At(3, -2).IsDigital, 0);
  EXPECT_EQ(At(2, 2).IsDigital, 1);
  EXPECT_EQ(At(2, 1).InfoFlag, 1);
  EXPECT_EQ(At(2, 1).TimerIndex, -1);
  EXPECT_GT(At(2, 1).Extra0, 0);  // the physical channel
  EXPECT_FALSE(At(2, 1).Name.Empty());
  // Flag set (mask 20): locked channels go too.
  T().LoadMasterChannelTable(true);
  EXPECT_EQ(T().GetChannelIndexInTable(5, 1), -1);
  EXPECT_EQ(T().GetNumChannels(), 10);
  // The guide table (mask 5) leaves out the excluded 7-1, with the flag
  // (21) also the locked 5-1.
  T().LoadGuideChannelTable(false);
  EXPECT_EQ(T().GetTableType(), SkinBin::CHANNEL_TABLE_GUIDE);
  EXPECT_EQ(T().GetChannelIndexInTable(7, 1), -1);
  EXPECT_GE(T().GetChannelIndexInTable(5, 1), 0);
  T().LoadGuideChannelTable(true);
  EXPECT_EQ(Numbers(), (V{"2-1", "2-2", "3", "4-1", "4-2", "6", "7-2", "9-1", "11-1"}));
  EXPECT_EQ(T().GetChannel(9), nullptr);
  EXPECT_EQ(Calls("XPM_GetNextChannel").back(), "XPM_GetNextChannel(-1, -1, 0, 11, 1, 21, 0, 0)");
}

TEST_F(ChannelListTest, TimerTableWalksTheTimersTunerAndMap) {
  // Cable map: its own channels; the digital tuner flag keeps digital ones.
  const std::vector<sim::Channel> cable = State().Channels(1);
  ASSERT_FALSE(cable.empty());
  T().LoadTimerChannelTable(0, 1);
  EXPECT_EQ(Calls("XPM_GetNextChannel").front(), "XPM_GetNextChannel(0, 1, 0, -1, -1, 21, 0, 0)");
  int32_t expected = 0;
  for (const auto& c : cable) expected += (c.service && !c.locked && !c.excluded) ? 1 : 0;
  EXPECT_EQ(T().GetNumChannels(), expected);
  T().LoadTimerChannelTable(1, 0);
  for (int32_t i = 0; i < T().GetNumChannels(); ++i) EXPECT_GT(T().GetChannel(i)->Minor, 0);
  EXPECT_EQ(T().GetChannelIndexInTable(3, -2), -1);
  EXPECT_GE(T().GetChannelIndexInTable(2, 1), 0);
  // Numbers only: no information was read.
  EXPECT_EQ(Count("XPM_GetChannelInfo"), 0u);
}

TEST_F(ChannelListTest, SingleChannelTableLeavesOutExcludedChannels) {
  State().SetChannelExcluded(0, 4, 2, true);
  const auto map = State().Channels(0);
  int32_t physical = 0;
  for (const auto& c : map)
    if (c.major == 4 && c.minor == 1) physical = c.physical;
  EXPECT_EQ(T().LoadSingleChannelTable(physical), 1);
  EXPECT_GE(T().GetChannelIndexInTable(4, 1), 0);
  EXPECT_EQ(T().GetChannelIndexInTable(4, 2), -1);
  EXPECT_TRUE(Logged("SkinBin::ChannelListData::LoadSingleChannelTable: physical channel " +
                     std::to_string(physical)));
  EXPECT_EQ(BKNI_LiveAllocations(), 0);  // the middleware's list was freed
}

TEST_F(ChannelListTest, FavoritesByChannelRingTakeTheInputAndItsNames) {
  EXPECT_EQ(T().LoadFavoritesChannels(1), 0);  // empty ring: no walk
  EXPECT_EQ(Count("XPM_GetNextChannel"), 0u);
  AddFavorite(1, 2, 1);
  AddFavorite(1, 3, 0);
  AddFavorite(1, 5, 1);
  EXPECT_EQ(T().LoadFavoritesChannels(1), 11);
  EXPECT_EQ(T().GetTableType(), SkinBin::CHANNEL_TABLE_FAVORITES);
  EXPECT_EQ(Numbers(), (V{"2-1", "3", "5-1"}));
  EXPECT_EQ(At(2, 1).SourceId, kTv);
  EXPECT_EQ(At(2, 1).SourceType, 1);
  EXPECT_EQ(At(2, 1).IsCable, 0);
  EXPECT_EQ(At(3, -2).IsDigital, 0);
  EXPECT_FALSE(At(2, 1).Name.Empty());
  // A walk failing midway keeps what was read and answers the ring's count.
  tv_->FailCallAfter("XPM_GetNextChannel", 9, 1);
  EXPECT_EQ(T().LoadFavoritesChannels(1), 3);
  EXPECT_EQ(Numbers(), (V{"2-1"}));
  EXPECT_TRUE(Logged("XPM_GetNextChannel Error 0x9"));
}

TEST_F(ChannelListTest, FavoritesBySourceRingEndWhereTheRingWrapsRound) {
  AddFavorite(2, 2, 2);
  AddFavorite(2, 9, 1);
  int32_t count = 0;
  ASSERT_EQ(XPM_GetNumSourcesInRing(2, &count), 0);
  // The ring goes round for ever; the loader stops at the first entry seen twice.
  EXPECT_EQ(T().LoadFavoritesChannels0(2), count);
  EXPECT_EQ(T().GetNumChannels(), count);
  EXPECT_EQ(Count("XPM_GetNextSource"), static_cast<size_t>(count) + 1);
  EXPECT_EQ(Calls("XPM_GetNextSource").front(), "XPM_GetNextSource(2, -1, 1, -1, -1)");
  const SkinBin::ChannelData& tuned = At(2, 2);
  EXPECT_EQ(tuned.SourceId, kTv);
  EXPECT_EQ(tuned.IsCable, 0);
  EXPECT_FALSE(tuned.Name.Empty());
  bool hdmi = false;
  for (int32_t i = 0; i < T().GetNumChannels(); ++i)
    if (T().GetChannel(i)->SourceId == kHdmi1) {
      hdmi = true;
      EXPECT_EQ(T().GetChannel(i)->SourceType, 5);
      EXPECT_EQ(T().GetChannel(i)->Major, -1);
    }
  EXPECT_TRUE(hdmi);
  // Any failing status ends the walk, not only 11.
  tv_->FailCallAfter("XPM_GetNextSource", 2, 2);
  EXPECT_EQ(T().LoadFavoritesChannels0(2), count);
  EXPECT_EQ(T().GetNumChannels(), 2);
}

TEST_F(ChannelListTest, ALoaderStopsAtTheTablesCapacity) {
  std::vector<sim::Channel> big;
  for (int32_t major = 1; major <= 1100; ++major)
    for (int32_t minor = 1; minor <= 4; ++minor) {
      sim::Channel c;
      c.major = major;
      c.minor = minor;
      c.digital = true;
      c.name = "C" + std::to_string(major);
      c.physical = 14 + major % 50;
      big.push_back(c);
    }
  State().ReplaceChannelMap(0, big);
  ClearLines();
  EXPECT_EQ(T().LoadMasterChannelTable(false), SkinBin::MAX_CHANNEL_TABLE_ENTRIES);
  EXPECT_TRUE(Logged("table full at 4096 entries"));
  EXPECT_EQ(T().GetChannel(4095)->Major, 1024);
  EXPECT_EQ(Count("XPM_GetNextChannel"), 4097u);  // no walk past the refusal
}

TEST_F(ChannelListTest, UnreadableInformationTakesTheLastReadEntrysNameAndFlags) {
  tv_->FailCallAfter("XPM_GetChannelInfo", 5, 2);
  T().LoadGuideChannelTable(true);
  ASSERT_GE(T().GetNumChannels(), 4);
  EXPECT_EQ(T().GetChannel(2)->Name.ToUtf8(), T().GetChannel(1)->Name.ToUtf8());
  EXPECT_EQ(T().GetChannel(3)->IsDigital, T().GetChannel(1)->IsDigital);
  tv_->ClearFailures();
  tv_->FailCall("XPM_GetChannelInfo", 5);
  T().LoadGuideChannelTable(true);
  EXPECT_EQ(T().GetChannel(0)->Name.ToUtf8(), "----");
  EXPECT_EQ(T().GetChannel(0)->InfoFlag, 1);
  // The master table reads an entry when it is first asked for: the same
  // rule, over entries read earlier and entries not read yet.
  tv_->ClearFailures();
  T().LoadMasterChannelTable(false);
  ASSERT_EQ(Numbers()[2], "3");  // analogue, between digital 2-2 and 4-1
  T().LoadMasterChannelTable(false);
  const SkinBin::ChannelData* analogue = T().GetChannel(2);
  const std::string name = analogue->Name.ToUtf8();
  const int32_t physical = analogue->Extra0;
  tv_->FailCall("XPM_GetChannelInfo", 5);
  const SkinBin::ChannelData* after = T().GetChannel(4);  // 4-2; 4-1 not read either
  EXPECT_EQ(after->Major, 4);
  EXPECT_EQ(after->Name.ToUtf8(), name);
  EXPECT_EQ(after->IsDigital, 0);
  EXPECT_EQ(after->Extra0, physical);
  EXPECT_EQ(T().GetChannel(3)->Name.ToUtf8(), name);
  T().LoadMasterChannelTable(false);
  EXPECT_EQ(T().GetChannel(5)->Name.ToUtf8(), "----");
  EXPECT_EQ(T().GetChannel(5)->InfoFlag, 1);
  EXPECT_EQ(T().GetChannel(5)->Extra0, 0);
}

TEST_F(ChannelListTest, ScanStepsCountNewChannelsAgainstThePreviousStep) {
  kv::Persistent<Events::XPM_EVENT_CHANNEL_SCAN_PROGRESS> step = kv::New<Events::XPM_EVENT_CHANNEL_SCAN_PROGRESS>();
  step->PhysicalChannel = 7;
  step->Value1 = 65;
  step->Percent = 30;
  step->Found = 3;
  step->Channels[0] = {2, 1};
  step->Channels[1] = {2, 2};
  step->Channels[2] = {3, 0};
  EXPECT_EQ(T().HandleSingleScanEvent(step.get()), 3);
  EXPECT_EQ(T().ScanPercent, 30);
  EXPECT_EQ(T().NewCount, 3);
  EXPECT_EQ(T().DigitalCount, 2);
  EXPECT_EQ(T().AnalogCount, 1);
  EXPECT_EQ(T().HighValueCount, 3);
  EXPECT_EQ(T().GetChannel(0)->ScanChannel, 7.0);
  EXPECT_EQ(T().GetChannel(0)->ScanFound, 1);
  // The next step reports 2-2 again, first, over the slot that held 2-1,
  // and a new 9-1 over the slot that held 2-2: only 9-1 is new.
  step->Value1 = 20;
  step->Found = 2;
  step->Channels[0] = {2, 2};
  step->Channels[1] = {9, 1};
  EXPECT_EQ(T().HandleSingleScanEvent(step.get()), 2);
  EXPECT_EQ(T().NewCount, 1);
  EXPECT_EQ(T().GetChannel(0)->IsNew, 0);
  EXPECT_EQ(T().GetChannel(1)->IsNew, 1);
  EXPECT_EQ(T().HighValueCount, 3);
  // A channel the set excluded or cannot describe is left out.
  State().SetChannelExcluded(0, 9, 1, true);
  step->Found = 1;
  step->Channels[0] = {9, 1};
  EXPECT_EQ(T().HandleSingleScanEvent(step.get()), 0);
  // Another event class leaves an empty table.
  EXPECT_EQ(T().HandleSingleScanEvent(nullptr), 0);
}

}  // namespace
}  // namespace wrappertest
