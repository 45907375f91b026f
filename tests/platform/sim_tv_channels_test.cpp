// The simulated television's channel maps, rings, walks, sources and the
// lists it hands out.
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/os/bkni.h"
#include "platform/xpm/xpm_settings.h"
#include "sim_tv_fixture.h"

namespace {

using simtv::SimTvTest;
using Number = std::pair<int32_t, int32_t>;

// Every answer of a walk from the wildcard until it stops; the last status in `end`.
std::vector<Number> WalkAll(int dir, int32_t ring, int32_t select, int32_t only, int32_t* end) {
  std::vector<Number> out;
  XPM_VirtualChannel at{-1, -1};
  for (int guard = 0; guard < 100; ++guard) {
    XPM_VirtualChannel next{};
    *end = dir > 0 ? XPM_GetNextChannel(-1, -1, ring, at.major, at.minor, &next, select, only, 0)
                   : XPM_GetPrevChannel(ring, at.major, at.minor, &next, select, only, 0);
    if (*end != XPM_OK) break;
    out.emplace_back(next.major, next.minor);
    at = next;
  }
  return out;
}

std::vector<Number> Numbers(const std::vector<sim::Channel>& channels) {
  std::vector<Number> out;
  for (const sim::Channel& c : channels) out.emplace_back(c.major, c.minor);
  return out;
}

TEST_F(SimTvTest, AWalkVisitsTheRingInNumberOrderAndAnswers11AfterTheLast) {
  int32_t end = 0;
  const std::vector<Number> all = WalkAll(+1, XPM_MASTER_RING, XPM_CHANNEL_SELECT_ALL, XPM_CHANNEL_ONLY_ANY, &end);
  EXPECT_EQ(end, XPM_ERR_END_OF_LIST);
  ASSERT_EQ(all.size(), 12u);
  EXPECT_EQ(all, Numbers(State().Channels(0)));
  EXPECT_EQ(all.front(), Number(2, 1));
  EXPECT_EQ(all[2], Number(3, sim::kAnalogMinor));
  for (size_t i = 1; i < all.size(); ++i) EXPECT_LT(all[i - 1], all[i]);

  std::vector<Number> back = WalkAll(-1, XPM_MASTER_RING, XPM_CHANNEL_SELECT_ALL, XPM_CHANNEL_ONLY_ANY, &end);
  EXPECT_EQ(end, XPM_ERR_END_OF_LIST);
  std::reverse(back.begin(), back.end());
  EXPECT_EQ(back, all);

  // Round the end only when asked to.
  XPM_VirtualChannel next{};
  EXPECT_EQ(XPM_GetNextChannel(-1, -1, 0, 11, 1, &next, 0, 0, 0), XPM_ERR_END_OF_LIST);
  ASSERT_EQ(XPM_GetNextChannel(-1, -1, 0, 11, 1, &next, 0, 0, 1), XPM_OK);
  EXPECT_EQ(Number(next.major, next.minor), Number(2, 1));
  ASSERT_EQ(XPM_GetPrevChannel(0, 2, 1, &next, 0, 0, 1), XPM_OK);
  EXPECT_EQ(Number(next.major, next.minor), Number(11, 1));
  EXPECT_EQ(XPM_GetPrevChannel(0, 2, 1, &next, 0, 0, 0), XPM_ERR_END_OF_LIST);

  // An analogue channel answers to minor 0 as well; a channel outside the ring is refused.
  ASSERT_EQ(XPM_GetNextChannel(-1, -1, 0, 3, 0, &next, 0, 0, 0), XPM_OK);
  EXPECT_EQ(Number(next.major, next.minor), Number(4, 1));
  EXPECT_EQ(XPM_GetNextChannel(-1, -1, 0, 99, 1, &next, 0, 0, 1), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_GetNextChannel(-1, -1, 0, -1, -1, &next, 0x2, 0, 1), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_GetNextChannel(-1, 40, 0, -1, -1, &next, 0, 0, 1), XPM_ERR_INVALID_PARAM);  // HDMI1: no tuner
  EXPECT_EQ(XPM_GetNextChannel(5, -1, 0, -1, -1, &next, 0, 0, 1), XPM_ERR_INVALID_PARAM);
  EXPECT_TRUE(Logged("tuner 5 or map -1 unknown, refused"));  // each refusal says why
}

TEST_F(SimTvTest, AWalkStepsOverExcludedEmptyLockedAndAnalogueChannelsOnlyWhenAsked) {
  ASSERT_TRUE(State().SetChannelExcluded(0, 2, 2, true));
  ASSERT_EQ(XPM_SetChannelLock(5, 1, 1), XPM_OK);
  XPM_VirtualChannel next{};
  ASSERT_EQ(XPM_GetNextChannel(-1, -1, 0, 2, 1, &next, XPM_CHANNEL_SELECT_ALL, 0, 1), XPM_OK);
  EXPECT_EQ(Number(next.major, next.minor), Number(2, 2));
  ASSERT_EQ(XPM_GetNextChannel(-1, -1, 0, 2, 1, &next, XPM_CHANNEL_SELECT_SKIP_EXCLUDED, 0, 1), XPM_OK);
  EXPECT_EQ(Number(next.major, next.minor), Number(3, sim::kAnalogMinor));
  ASSERT_EQ(XPM_GetNextChannel(-1, -1, 0, 2, 1, &next, 1, XPM_CHANNEL_ONLY_DIGITAL, 1), XPM_OK);
  EXPECT_EQ(Number(next.major, next.minor), Number(4, 1));
  // 4.3 carries no service: the Wrapper's channel up (select 5) passes it.
  ASSERT_EQ(XPM_GetNextChannel(-1, -1, 0, 4, 2, &next, 5, 0, 1), XPM_OK);
  EXPECT_EQ(Number(next.major, next.minor), Number(5, 1));
  ASSERT_EQ(XPM_GetNextChannel(-1, -1, 0, 4, 2, &next, 21, 0, 1), XPM_OK);
  EXPECT_EQ(Number(next.major, next.minor), Number(6, sim::kAnalogMinor));
  ASSERT_EQ(XPM_GetPrevChannel(0, 6, 0, &next, 21, 0, 1), XPM_OK);
  EXPECT_EQ(Number(next.major, next.minor), Number(4, 2));

  // A ring where nothing can be chosen ends the walk even when it wraps.
  ASSERT_EQ(XPM_AddChannelToRing(1, 2, 2), XPM_OK);
  EXPECT_EQ(XPM_GetNextChannel(-1, -1, 1, -1, -1, &next, 1, 0, 1), XPM_ERR_END_OF_LIST);
}

TEST_F(SimTvTest, FavouriteRingsHoldChannelsOfTheMapAndTheMasterRingIsTheMap) {
  int32_t count = -1, in = -1;
  ASSERT_EQ(XPM_AddChannelToRing(2, 7, 2), XPM_OK);
  ASSERT_EQ(XPM_AddChannelToRing(2, 3, 0), XPM_OK);
  ASSERT_EQ(XPM_AddChannelToRing(2, 7, 2), XPM_OK);  // already there
  ASSERT_EQ(XPM_GetNumChannelsInRing(2, &count), XPM_OK);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(XPM_AddChannelToRing(2, 8, 1), XPM_ERR_INVALID_PARAM);  // not in the map
  EXPECT_EQ(XPM_AddChannelToRing(4, 7, 2), XPM_ERR_INVALID_PARAM);
  ASSERT_EQ(XPM_IsChannelInRing(2, 3, sim::kAnalogMinor, &in), XPM_OK);
  EXPECT_EQ(in, 1);
  ASSERT_EQ(XPM_IsChannelInRing(1, 3, sim::kAnalogMinor, &in), XPM_OK);
  EXPECT_EQ(in, 0);
  int32_t end = 0;
  EXPECT_EQ(WalkAll(+1, 2, 0, 0, &end), (std::vector<Number>{{3, sim::kAnalogMinor}, {7, 2}}));
  XPM_VirtualChannel next{};
  EXPECT_EQ(XPM_GetNextChannel(-1, -1, 2, 2, 1, &next, 0, 0, 1), XPM_ERR_INVALID_PARAM);  // 2.1 is no favourite

  // Out of the master ring is skipped: still in the map, with its favourite
  // rings, its exclusion byte set; back in the ring it is as it was.
  ASSERT_EQ(XPM_RemoveChannelFromRing(0, 7, 2), XPM_OK);
  ASSERT_EQ(XPM_GetNumChannelsInRing(0, &count), XPM_OK);
  EXPECT_EQ(count, 11);
  EXPECT_EQ(Numbers(State().Ring(0, 2)), (std::vector<Number>{{3, sim::kAnalogMinor}, {7, 2}}));
  XPM_ChannelInfo info{};
  ASSERT_EQ(XPM_GetChannelInfo(7, 2, &info), XPM_OK);
  EXPECT_EQ(info.excluded, 1);
  EXPECT_EQ(XPM_RemoveChannelFromRing(0, 7, 2), XPM_ERR_INVALID_PARAM);  // skipped already
  ASSERT_EQ(XPM_AddChannelToRing(0, 7, 2), XPM_OK);
  ASSERT_EQ(XPM_GetChannelInfo(7, 2, &info), XPM_OK);
  EXPECT_EQ(info.excluded, 0);
  EXPECT_STREQ(info.name, "Classic Movies");
  EXPECT_EQ(XPM_AddChannelToRing(0, 8, 1), XPM_ERR_INVALID_PARAM);  // not in the map

  ASSERT_EQ(XPM_RemoveChannelFromRing(2, 3, 0), XPM_OK);
  ASSERT_EQ(XPM_GetNumChannelsInRing(2, &count), XPM_OK);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(WalkAll(+1, 2, 0, 0, &end), (std::vector<Number>{{7, 2}}));
  EXPECT_EQ(end, XPM_ERR_END_OF_LIST);
}

TEST_F(SimTvTest, ChannelInfoNamesAndTheCableMap) {
  XPM_ChannelInfo info{};
  ASSERT_EQ(XPM_GetChannelInfo(3, 0, &info), XPM_OK);
  EXPECT_EQ(info.minor, sim::kAnalogMinor);
  EXPECT_EQ(info.digital, 0);
  EXPECT_STREQ(info.name, "Valley 3");
  ASSERT_EQ(XPM_SetChannelLock(4, 1, 1), XPM_OK);
  ASSERT_EQ(XPM_GetChannelInfo(4, 1, &info), XPM_OK);
  EXPECT_EQ(info.digital, 1);
  EXPECT_EQ(info.attributes, 1);

  EXPECT_EQ(XPM_SetChannelName(4, 1, "0123456789012345678901234567890123456"), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_SetChannelName(4, 1, "Two\nLines"), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_SetChannelName(4, 1, nullptr), XPM_ERR_INVALID_PARAM);
  ASSERT_EQ(XPM_SetChannelName(4, 1, "012345678901234567890123456789012345"), XPM_OK);
  ASSERT_EQ(XPM_GetChannelInfo(4, 1, &info), XPM_OK);
  EXPECT_STREQ(info.name, "012345678901234567890123456789012345");

  int32_t medium = -1, count = 0;
  ASSERT_EQ(XPM_SetMedium(1), XPM_OK);
  ASSERT_EQ(XPM_GetMedium(&medium), XPM_OK);
  EXPECT_EQ(medium, 1);
  EXPECT_EQ(XPM_GetChannelInfo(4, 1, &info), XPM_ERR_NOT_FOUND);
  ASSERT_EQ(XPM_GetChannelInfo(30, 1, &info), XPM_OK);
  EXPECT_STREQ(info.name, "Movies One");
  ASSERT_EQ(XPM_GetNumChannelsInRing(0, &count), XPM_OK);
  EXPECT_EQ(count, 12);
  EXPECT_EQ(XPM_SetMedium(2), XPM_ERR_INVALID_PARAM);
}

TEST_F(SimTvTest, TenSourcesAreListedByIndexAndTheExternalOneIsSelectableUnlisted) {
  int32_t count = 0, id = -1, type = -1;
  ASSERT_EQ(XPM_GetNumSources(&count), XPM_OK);
  ASSERT_EQ(count, 10);
  std::vector<int32_t> types;
  for (int32_t i = 0; i < count; ++i) {
    ASSERT_EQ(XPM_GetSourceID(i, &id), XPM_OK);
    ASSERT_EQ(XPM_GetSourceType(id, &type), XPM_OK);
    types.push_back(type);
  }
  EXPECT_EQ(types, (std::vector<int32_t>{1, 12, 2, 4, 5, 5, 5, 10, 6, 7}));
  // Every id has its place in the 30-entry source name table.
  for (const sim::Source& s : State().Sources()) EXPECT_TRUE(s.id < 25 || s.id == 29) << s.name;
  EXPECT_EQ(XPM_GetSourceID(count, &id), XPM_ERR_END_OF_LIST);
  EXPECT_EQ(XPM_GetSourceID(-1, &id), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(XPM_GetSourceType(99, &type), XPM_ERR_INVALID_PARAM);
  ASSERT_EQ(XPM_GetSourceType(sim::kSourceExternal, &type), XPM_OK);
  EXPECT_EQ(type, 9);
  ASSERT_EQ(XPM_GetCurrentSource(0, &id), XPM_OK);
  EXPECT_EQ(id, sim::kSourceTv);
  ASSERT_EQ(XPM_GetCurrentSource(1, &id), XPM_OK);
  EXPECT_EQ(id, sim::kSourceHdmi1);

  int32_t selectable = -1;
  State().SetSourceSelectable(sim::kSourceHdmi3, false);
  ASSERT_EQ(XPM_IsSourceSelectable(0, sim::kSourceHdmi3, &selectable), XPM_OK);
  EXPECT_EQ(selectable, 0);
  EXPECT_EQ(XPM_SetSource(0, sim::kSourceHdmi3), XPM_ERR_FAILED);
  EXPECT_EQ(XPM_SetSource(0, 99), XPM_ERR_INVALID_PARAM);
  ASSERT_EQ(XPM_GetCurrentSource(0, &id), XPM_OK);
  EXPECT_EQ(id, sim::kSourceTv);
}

TEST_F(SimTvTest, VirtualChannelListsComeFromBkniMallocAndLeaksAndDoubleFreesShow) {
  const size_t live = BKNI_LiveAllocations();
  const size_t badFrees = BKNI_BadFrees();
  XPM_VirtualChannel* list = nullptr;
  int32_t count = -1;
  ASSERT_EQ(XPM_GetVirtualChannels(28, &list, &count), XPM_OK);
  ASSERT_EQ(count, 3);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Number(list[0].major, list[0].minor), Number(4, 1));
  EXPECT_EQ(Number(list[2].major, list[2].minor), Number(4, 3));
  EXPECT_EQ(BKNI_LiveAllocations(), live + 1);  // not yet freed: a leak if it stayed so
  BKNI_Free(list);
  EXPECT_EQ(BKNI_LiveAllocations(), live);
  BKNI_Free(list);
  EXPECT_EQ(BKNI_BadFrees(), badFrees + 1);

  // A physical channel without channels hands out no list; one out of range is refused.
  list = reinterpret_cast<XPM_VirtualChannel*>(&count);
  ASSERT_EQ(XPM_GetVirtualChannels(50, &list, &count), XPM_OK);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(list, nullptr);
  EXPECT_EQ(XPM_GetVirtualChannels(70, &list, &count), XPM_ERR_INVALID_PARAM);
  EXPECT_EQ(BKNI_LiveAllocations(), live);
}

}  // namespace

namespace {

// Each tuner input keeps its own medium: XPM_SetMedium sets that of the
// tuner window 0 shows, XPM_GetMedium and the channel calls follow the
// tuner window 0 shows, and both media survive switching the set off.
TEST_F(SimTvTest, EachTunerKeepsItsMediumAcrossSourceChangesAndARestart) {
  int32_t medium = -1;
  ASSERT_EQ(XPM_SetSource(0, sim::kSourceTv2), XPM_OK);
  ASSERT_EQ(XPM_SetMedium(1), XPM_OK);
  ASSERT_EQ(XPM_GetMedium(&medium), XPM_OK);
  EXPECT_EQ(medium, 1);
  XPM_VirtualChannel current{};
  ASSERT_EQ(XPM_GetCurrentChannel(0, &current), XPM_OK);
  // TV 2 receives digital channels only: it is on the cable map's first one.
  const sim::Channel* firstDigital = nullptr;
  const std::vector<sim::Channel> cable = State().Channels(1);
  for (const sim::Channel& c : cable)
    if (c.digital && !firstDigital) firstDigital = &c;
  ASSERT_NE(firstDigital, nullptr);
  EXPECT_EQ(Number(current.major, current.minor), Number(firstDigital->major, firstDigital->minor));

  // TV still receives the antenna.
  ASSERT_EQ(XPM_SetSource(0, sim::kSourceTv), XPM_OK);
  ASSERT_EQ(XPM_GetMedium(&medium), XPM_OK);
  EXPECT_EQ(medium, 0);
  ASSERT_EQ(XPM_GetCurrentChannel(0, &current), XPM_OK);
  EXPECT_EQ(Number(current.major, current.minor), Numbers(State().Channels(0)).front());
  // Another input: the medium in use is TV's.
  ASSERT_EQ(XPM_SetSource(0, sim::kSourceHdmi1), XPM_OK);
  ASSERT_EQ(XPM_GetMedium(&medium), XPM_OK);
  EXPECT_EQ(medium, 0);

  ASSERT_EQ(XPM_SetSource(0, sim::kSourceTv2), XPM_OK);
  Boot();
  ASSERT_EQ(XPM_GetMedium(&medium), XPM_OK);
  EXPECT_EQ(medium, 1) << "tuner 2's cable after a restart";
  EXPECT_EQ(State().MediumOf(sim::kSourceTv), 0);
  EXPECT_EQ(State().MediumOf(sim::kSourceTv2), 1);
  ASSERT_EQ(XPM_SetSource(0, sim::kSourceTv), XPM_OK);
  ASSERT_EQ(XPM_GetMedium(&medium), XPM_OK);
  EXPECT_EQ(medium, 0);
}

}  // namespace
