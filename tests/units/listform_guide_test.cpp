// The guide lists in test screens that play the guide dialogs (the guide
// comes later and tests them in place), against the simulated set's guide,
// channel map and scheduler.
#include <gtest/gtest.h>

#include "listform_fixture.h"
#include "runtime/text.h"
#include "strings/Strings.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/Constants/Constants.h"
#include "units/ListForm/GuideLists.h"
#include "units/ListForm/ListGetters.h"
#include "units/SkinBin/ChannelListData.h"
#include "units/SkinBin/EPGEventsInfo_DB.h"
#include "units/Structures/Message.h"

namespace listtest {

// A kind's subclass that is not in the getter table.
class DerivedProgramList : public ListForm::EPGProgramList {
  KV_CLASS(listtest, DerivedProgramList, ListForm::EPGProgramList)
};
KV_REGISTER_CLASS(listtest::DerivedProgramList);

namespace {

using namespace ListForm;

class GuideListsTest : public ListTest {
 protected:
  EPGProgramList* OpenProgrammes(EPGProgramList* l) {
    Open(l, {20, 40, 600, 300});
    l->OnSetm_channel(W()->GetCurrentChannel());
    Settle();
    return l;
  }
  std::string NoInformation() { return kv::GetVariantOfString(Strings::SID_NO_INFORMATION_AVAILABLE).ToUtf8(); }
};

TEST_F(GuideListsTest, TheProgrammeListReadsEightEventsAPageAsTheUserScrollsOn) {
  auto* l = OpenProgrammes(kv::New<EPGProgramList>());
  ASSERT_EQ(Rows(l).size(), 8u);
  EXPECT_EQ(l->DataSource->Num, 8);
  auto* first = Row<EPGProgramListItem>(l, 0);
  ASSERT_NE(first, nullptr);
  SkinBin::EPGEventsInfo_DB* store = W()->EPGProgramList.get();
  EXPECT_EQ(first->OnGetText(), store->GetEvent(0)->Title);
  // Month, day and time of the event, as the rows show them.
  const Structures::LocalTime* start = store->GetEvent(1)->StartTime.get();
  auto* second = Row<EPGProgramListItem>(l, 1);
  EXPECT_EQ(second->OnGetTimeText().ToUtf8(), (start->Hour < 10 ? "0" : "") + std::to_string(start->Hour) + ":" +
                                                  (start->Minute < 10 ? "0" : "") + std::to_string(start->Minute));
  EXPECT_NE(second->OnGetDateText().ToUtf8().find(std::to_string(start->Day)), std::string::npos);

  auto* changes = kv::New<Probe>();
  kv::Persistent<Probe> keep(changes);
  l->OnProgramChanged = kv::MakeSlot(changes, &Probe::Hit);
  Press("up");  // the first event: nothing above, no wrap
  EXPECT_EQ(l->DataSource->Cursor, 0);
  Press("down", 7);
  EXPECT_EQ(l->DataSource->Num, 8);
  Press("down");  // past the eighth event: the next page comes in
  EXPECT_EQ(l->DataSource->Num, 16);
  EXPECT_EQ(l->DataSource->Cursor, 8);
  EXPECT_EQ(l->FocusedIndex, 8);
  EXPECT_EQ(FocusedText(l), store->GetEvent(8)->Title.ToUtf8());
  EXPECT_GE(changes->hits, 8);
  PressCode(0);  // nothing
  // Next pages on, reading as it goes.
  Press("next");
  EXPECT_EQ(l->DataSource->Cursor, 15);
  Press("next");
  EXPECT_EQ(l->DataSource->Num, 24);
  EXPECT_EQ(l->DataSource->Cursor, 23);
}

TEST_F(GuideListsTest, AtTheStoresEndNothingMovesAndNothingIsRead) {
  auto* l = OpenProgrammes(kv::New<EPGProgramList>());
  SkinBin::EPGEventsInfo_DB* store = W()->EPGProgramList.get();
  store->NoMoreEvents = 1;  // the database reported its last event
  Press("down", 7);
  ClearCallLog();
  Press("down");
  EXPECT_EQ(l->DataSource->Cursor, 7);
  EXPECT_EQ(l->DataSource->Num, 8);
  EXPECT_EQ(FocusedText(l), store->GetEvent(7)->Title.ToUtf8());
}

TEST_F(GuideListsTest, TheSavedTimerPutsItsRepeatIconAndIdOnTheFocusedRow) {
  auto* l = OpenProgrammes(kv::New<EPGProgramList>());
  Press("down", 2);
  auto* row = kv::Cast<EPGProgramListItem>(l->GetFocusedRow());
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->RecordIcon(), nullptr);
  // The timer editor saved timer 6, once, and tells every receiver.
  W()->ActiveTimer = nullptr;
  W()->ActiveTimerId = 6;
  W()->TimerTimesType = 4;
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_UPDATE_RECORD_TYPE, nullptr);
  l->HandleMessage(msg);
  EXPECT_EQ(row->RecordIcon(), Resources::LoadResource(Bitmaps::EPG_RecordTypeOnce));
  EXPECT_EQ(row->RecordType, 4);
  EXPECT_EQ(row->TimerId, 6);  // OK on it now edits the timer just saved
  // Another message leaves the row alone; a kind past 4 leaves the icon.
  W()->TimerTimesType = 2;
  msg->Initialize(Constants::MSG_LABEL_CHANGE, nullptr);
  l->HandleMessage(msg);
  EXPECT_EQ(row->RecordType, 4);
  row->OnSetRecordType(7);
  EXPECT_EQ(row->RecordIcon(), Resources::LoadResource(Bitmaps::EPG_RecordTypeOnce));
  // Each repeat kind has its own icon.
  const struct {
    int32_t kind;
    const Resources::BitmapId& icon;
  } kinds[] = {{1, Bitmaps::EPG_RecordTypeEveryday},
               {2, Bitmaps::EPG_RecordTypeDaily},
               {3, Bitmaps::EPG_RecordTypeWeekly},
               {4, Bitmaps::EPG_RecordTypeOnce}};
  for (const auto& k : kinds) {
    W()->TimerTimesType = k.kind;
    msg->Initialize(Constants::MSG_UPDATE_RECORD_TYPE, nullptr);
    l->HandleMessage(msg);
    EXPECT_EQ(row->RecordIcon(), Resources::LoadResource(k.icon)) << k.kind;
  }
}

TEST_F(GuideListsTest, TheColumnTunesOnlyAfterTheFocusRestsHalfASecond) {
  auto* l = Open(kv::New<EPGChannelList>(), {20, 40, 220, 300});
  SkinBin::ChannelListData* table = W()->GetChannelListData();
  ASSERT_GT(table->GetNumChannels(), 2);
  Structures::VirtualChannel* now = W()->GetCurrentChannel();
  auto* focused = kv::Cast<EPGChannelItem>(l->GetFocusedRow());
  ASSERT_NE(focused, nullptr);
  EXPECT_EQ(focused->Major, now->Major);  // opens on the channel in tune
  EXPECT_FALSE(focused->OnGetNumberText().Empty());
  Run(600);
  ClearCallLog();
  Press("down");
  Run(400);
  Press("down");
  Run(400);
  EXPECT_TRUE(Calls("XPM_SetChannel").empty());
  Run(100);
  ASSERT_EQ(Calls("XPM_SetChannel").size(), 1u);
  EXPECT_TRUE(l->Busy);
  // Busy until the guide has reloaded: the movement keys are swallowed.
  const int32_t cursor = l->DataSource->Cursor;
  Press("down");
  EXPECT_EQ(l->DataSource->Cursor, cursor);
  l->Busy = false;
  Press("down");
  EXPECT_EQ(l->DataSource->Cursor, cursor + 1);
}

TEST_F(GuideListsTest, ARefusedTuneLeavesTheColumnFreeToMove) {
  auto* l = Open(kv::New<EPGChannelList>(), {20, 40, 220, 300});
  Run(600);
  FailCall("XPM_SetChannel", 5);
  Press("down");
  Run(600);
  EXPECT_FALSE(l->Busy);
  const int32_t cursor = l->DataSource->Cursor;
  Press("down");
  EXPECT_EQ(l->DataSource->Cursor, cursor + 1);
}

TEST_F(GuideListsTest, BrowsingOnlyRetargetsTheGuideWithoutTuning) {
  auto* l = kv::New<EPGChannelList>();
  l->BrowseOnly = true;
  auto* changes = kv::New<Probe>();
  kv::Persistent<Probe> keep(changes);
  l->OnFocusChanged = kv::MakeSlot(changes, &Probe::Hit);
  Open(l, {20, 40, 220, 300});
  Run(600);
  ClearCallLog();
  Press("down");
  Run(600);
  EXPECT_TRUE(Calls("XPM_SetChannel").empty());
  ASSERT_NE(l->GuideChannel.get(), nullptr);
  EXPECT_EQ(l->GuideChannel->Major, kv::Cast<EPGChannelItem>(l->GetFocusedRow())->Major);
  EXPECT_EQ(l->GuideChannel->Minor, kv::Cast<EPGChannelItem>(l->GetFocusedRow())->Minor);
  EXPECT_EQ(changes->hits, 1);
}

TEST_F(GuideListsTest, TheMiniGuideShowsTenEventsOrOneRowOfNoInformation) {
  auto* l = Open(kv::New<MiniGuideList>(), {20, 40, 440, 130});
  EXPECT_EQ(l->DataSource->Num, 10);
  EXPECT_EQ(Rows(l).size(), 3u);
  EXPECT_EQ(FocusedText(l), W()->EPGProgramList->GetEvent(0)->Title.ToUtf8());
  Press("next");
  EXPECT_EQ(l->DataSource->Cursor, 3);
  CloseHost();
  // A channel without guide: one row that says so.
  FailCall("DB_Get_Program_Info", 1);
  l = Open(kv::New<MiniGuideList>(), {20, 40, 440, 130});
  EXPECT_EQ(l->DataSource->Num, 1);
  ASSERT_EQ(Rows(l).size(), 1u);
  EXPECT_EQ(Text(Rows(l)[0]), NoInformation());
  EXPECT_EQ(kv::Cast<MiniGuideListItem>(Rows(l)[0])->Description.ToUtf8(), NoInformation());
}

TEST_F(GuideListsTest, OnlyTheExactKindsGetDataAndAGoneEventReadsNoInformation) {
  auto* derived = kv::New<DerivedProgramList>();
  OpenProgrammes(derived);
  EXPECT_EQ(derived->GetItemData(0), nullptr);
  for (Forms::Ctrl* row : Rows(derived)) EXPECT_EQ(Text(row), "");
  CloseHost();
  auto* l = OpenProgrammes(kv::New<EPGProgramList>());
  W()->EPGProgramList->ClearEvents();  // the store was emptied under the list
  auto* c = kv::Cast<EPGProgramListCourier>(l->GetItemData(1));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->Text.ToUtf8(), NoInformation());
  EXPECT_EQ(c->StartTime.get(), nullptr);
  EXPECT_EQ(c->RecordType, 0);
  W()->GetChannelListData()->Clear();
  auto* ch = kv::Cast<EPGChannelCourier>(GetEPGChannelItemData(l->DataSource.get(), l, 0));
  ASSERT_NE(ch, nullptr);
  EXPECT_EQ(ch->Major, 2);
  EXPECT_EQ(ch->Minor, 0);
  EXPECT_EQ(ch->IsDigital, 1);
  EXPECT_TRUE(ch->Text.Empty());
}

}  // namespace
}  // namespace listtest
