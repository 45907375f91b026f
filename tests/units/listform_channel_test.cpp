// The channel lists and the channel-browser strips in test screens that
// play their dialogs, against the simulated set's channel map, rings,
// history and HDMI-CEC devices.
#include <gtest/gtest.h>

#include "listform_fixture.h"
#include "platform/sim/sim_tv_state.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/Constants.h"
#include "units/ListForm/CBChannelLists.h"
#include "units/ListForm/CBLists.h"
#include "units/ListForm/ChannelLists.h"
#include "units/ListForm/ListGetters.h"
#include "units/SkinBin/ChannelListData.h"
#include "units/SkinBin/HdmiCecData.h"
#include "units/SkinBin/HistoryAgent.h"
#include "units/Structures/HistoryInfo.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"
#include "units/Structures/VirtualChannel.h"

namespace listtest {
namespace {

using namespace ListForm;

class ChannelListsTest : public ListTest {
 protected:
  SkinBin::ChannelData* Record(int32_t i) { return W()->GetChannelListData()->GetChannel(i); }
  template <class L>
  L* OpenChannels(L* list) {
    return Open(list, {100, 40, 460, 300});
  }
  template <class L>
  L* OpenStrip(L* list) {
    return Open(list, {10, 10, 870, 80}, 0, 0, {40, 380, 920, 480});
  }
  int32_t Medium() { return W()->GetMedium(); }
};

TEST_F(ChannelListsTest, LockRowsLockOneChannelAndAllChannelsUnlessTheDisplayIsLocked) {
  auto* l = OpenChannels(kv::New<ChannelLockList>());
  ASSERT_GE(W()->GetChannelListData()->GetNumChannels(), 2);
  auto* row = kv::Cast<ChannelLockItem>(l->GetFocusedRow());
  ASSERT_NE(row, nullptr);
  EXPECT_FALSE(row->IsLocked);
  ClearCallLog();
  Press("ok");
  EXPECT_EQ(Calls("XPM_SetChannelLock").size(), 1u);
  EXPECT_TRUE(row->IsLocked);
  EXPECT_EQ(Record(row->ItemIndex)->Locked, 1);

  // Under the display lock the Wrapper drops the write: the row stays.
  W()->OSDLock = 1;
  Press("ok");
  EXPECT_EQ(Calls("XPM_SetChannelLock").size(), 1u);
  EXPECT_TRUE(row->IsLocked);
  W()->OSDLock = 0;

  l->LockAllChannels(true);
  Settle();
  ASSERT_EQ(Calls("XPM_SetChannelLock").size(), 2u);
  EXPECT_EQ(Calls("XPM_SetChannelLock")[1], "XPM_SetChannelLock(-1, -1, 1)");
  for (Forms::Ctrl* r : Rows(l)) EXPECT_TRUE(kv::Cast<ChannelLockItem>(r)->IsLocked);
}

TEST_F(ChannelListsTest, OptionRowsSkipThroughRingZeroAndRelabelOnlyOnAChange) {
  auto* l = OpenChannels(kv::New<ChannelOptionList>());
  Structures::VirtualChannel* now = W()->GetCurrentChannel();
  auto* row = kv::Cast<ChannelOptionItem>(l->GetFocusedRow());
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->Major, now->Major);  // opens on the current channel
  EXPECT_TRUE(row->IsEnabled);
  ClearCallLog();
  Press("red");
  EXPECT_EQ(Calls("XPM_RemoveChannelFromRing").size(), 1u);
  EXPECT_FALSE(row->IsEnabled);
  Press("red");
  EXPECT_EQ(Calls("XPM_AddChannelToRing").size(), 1u);
  EXPECT_TRUE(row->IsEnabled);
  W()->OSDLock = 1;
  Press("red");
  EXPECT_TRUE(row->IsEnabled);
  EXPECT_EQ(Calls("XPM_RemoveChannelFromRing").size(), 1u);
  W()->OSDLock = 0;

  const std::string name = row->OnGetChannelLabel().ToUtf8();
  KeyPadAnswers(name.c_str());
  EXPECT_TRUE(Calls("XPM_SetChannelName").empty());
  KeyPadAnswers("News");
  EXPECT_EQ(Calls("XPM_SetChannelName").size(), 1u);
  EXPECT_EQ(row->OnGetChannelLabel().ToUtf8(), "News");
}

TEST_F(ChannelListsTest, OptionAndMasterListsPreviewTheChannelRestedOn) {
  auto* exits = kv::New<Probe>();
  kv::Persistent<Probe> keep(exits);
  auto* master = kv::New<MasterChannelList>();
  master->OnExit = kv::MakeSlot(exits, &Probe::Hit);
  OpenChannels(master);
  ClearCallLog();
  Press("down");
  Run(800);
  Press("down");
  Run(1400);
  EXPECT_TRUE(Calls("XPM_SetChannel").empty());
  Run(200);
  ASSERT_EQ(Calls("XPM_SetChannel").size(), 1u);
  const auto* focused = kv::Cast<ChannelItem>(master->GetFocusedRow());
  EXPECT_NE(Calls("XPM_SetChannel")[0].find(std::to_string(focused->Major)), std::string::npos);
  Press("ok");  // the owner's exit
  EXPECT_EQ(exits->hits, 1);
}

TEST_F(ChannelListsTest, ManyVirtualChannelsOfOnePhysicalChannelPageByFive) {
  auto* l = OpenChannels(kv::New<ManualChannelList>());
  l->OnSetPhysicalChannel(28);  // three virtual channels on the air
  Settle();
  EXPECT_EQ(Rows(l).size(), 3u);
  // A single-channel scan found seven virtual channels of one physical channel.
  SkinBin::ChannelListData* table = W()->GetChannelListData();
  table->Clear();
  for (int minor = 1; minor <= 7; ++minor) {
    auto* c = kv::New<SkinBin::ChannelData>();
    c->Major = 30;
    c->Minor = minor;
    c->IsDigital = 1;
    c->ScanFound = 1;
    c->ScanValue = minor * 15;
    table->Append(c);
  }
  l->LoadScanedChannels();
  Settle();
  ASSERT_EQ(Rows(l).size(), 5u);
  EXPECT_EQ(l->DataSource->Num, 7);
  Press("next");
  EXPECT_EQ(l->DataSource->Cursor, 5);
  EXPECT_EQ(kv::Cast<ManualChannelItem>(Rows(l)[4])->Minor, 7);
  EXPECT_EQ(kv::Cast<ManualChannelItem>(Rows(l)[4])->ShownBars(), 5);
  Press("prev");
  EXPECT_EQ(l->DataSource->Cursor, 0);
}

TEST_F(ChannelListsTest, SignalBarsFollowTheStrength) {
  auto* row = kv::New<ManualChannelItem>();
  kv::Persistent<ManualChannelItem> keep(row);
  const std::pair<int32_t, int32_t> cases[] = {{19, 1}, {20, 2}, {99, 5}, {100, 5}, {0, 0}, {-7, 0}, {1, 1}};
  for (auto [strength, bars] : cases) {
    row->OnSetSignalStrength(strength);
    EXPECT_EQ(row->ShownBars(), bars) << strength;
  }
}

// --- Channel-browser strips ------------------------------------------------------------

TEST_F(ChannelListsTest, WithNavigationTheInputStripTunesOnce300MsAfterTheLastMove) {
  W()->OnSetNavigation(1);
  auto* l = OpenStrip(kv::New<CBInputList>());
  ASSERT_EQ(Rows(l).size(), 6u);
  EXPECT_EQ(kv::Cast<CBListItem>(l->GetFocusedRow())->SourceId, sim::kSourceTv);
  ClearCallLog();
  Press("right", 3);  // TV2, AV, Component
  Run(250);
  EXPECT_TRUE(Calls("XPM_SetSource").empty());
  Run(100);
  ASSERT_EQ(Calls("XPM_SetSource").size(), 1u);
  EXPECT_EQ(Calls("XPM_SetSource")[0], "XPM_SetSource(0, 2)");
}

TEST_F(ChannelListsTest, WithoutNavigationOnlyOkTunesAndTheCurrentInputOnlyUpdatesTheBanner) {
  W()->OnSetNavigation(0);
  auto* banner = kv::New<Probe>();
  kv::Persistent<Probe> keep(banner);
  auto* l = kv::New<CBInputList>();
  l->OnUpdateBanner = kv::MakeSlot(banner, &Probe::Hit);
  OpenStrip(l);
  ClearCallLog();
  Press("ok");
  EXPECT_TRUE(Calls("XPM_SetSource").empty());
  EXPECT_EQ(banner->hits, 1);
  Press("right");
  Run(1000);
  EXPECT_TRUE(Calls("XPM_SetSource").empty());
  Press("ok");
  EXPECT_EQ(Calls("XPM_SetSource").size(), 1u);
  Press("left", 2);  // wraps from the first input to the last
  EXPECT_EQ(kv::Cast<CBListItem>(l->GetFocusedRow())->SourceId, sim::kSourceMultimedia);
}

TEST_F(ChannelListsTest, TheChannelStripShowsTheGuideTableAndTunesAnotherChannel) {
  W()->OnSetNavigation(0);
  auto* l = OpenStrip(kv::New<CBChannelList>());
  const int32_t n = W()->GetChannelListData()->GetNumChannels();
  ASSERT_GT(n, 1);
  EXPECT_EQ(l->DataSource->Num, n);
  auto* tile = kv::Cast<CBChannelListItem>(l->GetFocusedRow());
  Structures::VirtualChannel* now = W()->GetCurrentChannel();
  EXPECT_EQ(tile->Major, now->Major);
  EXPECT_FALSE(tile->OnGetText().Empty());
  ClearCallLog();
  Press("ok");
  EXPECT_TRUE(Calls("XPM_SetChannel").empty());
  Press("right");
  Press("ok");
  EXPECT_EQ(Calls("XPM_SetChannel").size(), 1u);
}

TEST_F(ChannelListsTest, FavouritesAddTheCurrentChannelAndRemoveTheFocusedOne) {
  W()->OnSetNavigation(0);
  auto* l = OpenStrip(kv::New<CBFavoritesList>());
  EXPECT_EQ(l->FavoriteRing, 1);
  const int32_t before = l->DataSource->Num;
  ClearCallLog();
  Press("green");
  EXPECT_EQ(Calls("XPM_AddChannelToRing").size(), 1u);
  EXPECT_EQ(l->DataSource->Num, before + 1);
  Structures::VirtualChannel* now = W()->GetCurrentChannel();
  auto* tile = kv::Cast<CBFavHistoryListItem>(l->GetFocusedRow());
  ASSERT_NE(tile, nullptr);
  EXPECT_EQ(tile->Major, now->Major);
  Press("red");
  EXPECT_EQ(Calls("XPM_RemoveChannelFromRing").size(), 1u);
  EXPECT_EQ(l->DataSource->Num, before);

  // Watching HDMI, green changes nothing.
  W()->SetSource(0, sim::kSourceHdmi1);
  Settle();
  ClearCallLog();
  Press("green");
  EXPECT_TRUE(Calls("XPM_AddChannelToRing").empty());
  // With no tile, red only reloads.
  Press("red");
  EXPECT_TRUE(Calls("XPM_RemoveChannelFromRing").empty());
}

TEST_F(ChannelListsTest, TheCecAndHistoryStripsTuneWhatTheyShow) {
  W()->OnSetNavigation(0);
  W()->OnSetEnableKELVO(1);
  auto* cec = OpenStrip(kv::New<CBCECList>());
  ASSERT_EQ(Rows(cec).size(), 3u);
  EXPECT_EQ(kv::Cast<CBListItem>(Rows(cec)[2])->OnGetLabelText().ToUtf8(), "Game Console");
  ClearCallLog();
  Press("ok");
  EXPECT_EQ(Calls("XPM_HdmiCecSetAddr").size(), 1u);
  EXPECT_EQ(Calls("XPM_SetSource").size(), 1u);
  CloseHost();

  // The history strip records the source it opens on, as the newest tile.
  auto* hist = OpenStrip(kv::New<CBHistoryList>());
  SkinBin::HistoryAgent* agent = W()->GetHistoryAgent();
  ASSERT_EQ(agent->GetHistoryNum(), 1);
  EXPECT_EQ(agent->GetHistory(1)->Type, Structures::HISTORY_ITEM_TYPE_CEC);
  CloseHost();
  W()->SetSource(0, sim::kSourceAv);
  Settle();
  hist = OpenStrip(kv::New<CBHistoryList>());
  ASSERT_EQ(agent->GetHistoryNum(), 2);
  EXPECT_EQ(hist->GetFocusedRow(), Rows(hist)[1]);
  EXPECT_EQ(kv::Cast<CBListItem>(Rows(hist)[1])->SourceId, sim::kSourceAv);
  ClearCallLog();
  Press("left");
  Press("ok");
  EXPECT_EQ(Calls("XPM_SetSource").size(), 1u);
  EXPECT_EQ(Calls("XPM_HdmiCecSetAddr").size(), 1u);
}

TEST_F(ChannelListsTest, AnEmptyChannelTableTunesNothingAndOnlyUpdatesTheBanner) {
  W()->OnSetNavigation(0);
  Tv().Tv().ReplaceChannelMap(Medium(), {});
  auto* banner = kv::New<Probe>();
  kv::Persistent<Probe> keep(banner);
  auto* l = kv::New<CBChannelList>();
  l->OnUpdateBanner = kv::MakeSlot(banner, &Probe::Hit);
  OpenStrip(l);
  EXPECT_TRUE(Rows(l).empty());
  ClearCallLog();
  Press("ok");
  EXPECT_TRUE(Calls("XPM_SetChannel").empty());
  l->TuneAction();
  EXPECT_EQ(banner->hits, 1);
  auto* placeholder = kv::Cast<CBChannelListCourier>(GetChannelBrowserItemData(l->DataSource, l, 0));
  EXPECT_EQ(placeholder->Major, -2);
}

TEST_F(ChannelListsTest, EachChannelListReturnsToTheCensusBaseline) {
  // The strips only move: a tune would change what the next one shows (and
  // load other icons into the resource cache).
  W()->OnSetNavigation(0);
  auto cycle = [&](int kind) {
    if (kind == 0) OpenChannels(kv::New<ChannelLockList>());
    if (kind == 1) OpenChannels(kv::New<ChannelOptionList>());
    if (kind == 2) OpenChannels(kv::New<MasterChannelList>());
    if (kind == 3) OpenStrip(kv::New<CBChannelList>());
    if (kind == 4) OpenStrip(kv::New<CBFavoritesList>());
    if (kind == 5) OpenStrip(kv::New<CBHistoryList>());
    if (kind == 6) OpenStrip(kv::New<CBInputList>());
    if (kind == 7) OpenStrip(kv::New<CBCECList>());
    Press("down");
    Press("right");
    Run(2000);
    CloseHost();
  };
  ExpectCensusBaseline(8, cycle);
}

}  // namespace
}  // namespace listtest
