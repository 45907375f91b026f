// The list engine in a test screen, over option lists of the option
// database (their counts are the options' choice counts): an empty list,
// fewer items than rows with wrap-around, WrapAround off, CurrentItemIndex
// past the end, the one OnFocusOption of a scroll under a focus that stays,
// the row count going down, the clamped ItemNum and the dispatch by the
// list's exact class. Then the option list as the option dialog uses it and
// the system-information list.
#include <gtest/gtest.h>

#include "listform_fixture.h"
#include "runtime/text.h"
#include "units/ListForm/ListCourier.h"
#include "units/ListForm/ListGetters.h"
#include "units/ListForm/OptionLists.h"
#include "units/OptionDatabase/OptionTypes.h"
#include "units/SkinBin/SystemInfo.h"

namespace listtest {

// An option list of a class of its own: not in the dispatch table.
class DerivedOptionList : public ListForm::OptionList {
  KV_CLASS(listtest, DerivedOptionList, ListForm::OptionList)
};

namespace {

using ListForm::OptionList;
constexpr int32_t kNineChoices = OptionDatabase::OPTION_TYPE_CC_FG_COLOR;
constexpr int32_t kThreeChoices = OptionDatabase::OPTION_TYPE_DYNAMIC_VOLUME;
constexpr int32_t kNoOption = 0x7F000001;

class EngineTest : public ListTest {
 protected:
  OptionList* OpenOptions(int32_t option) { return Open(kv::New<OptionList>(), {100, 60, 300, 300}, option); }
};

TEST_F(EngineTest, AnEmptyListShowsNoRowAndStillTakesItsKeys) {
  OptionList* l = OpenOptions(kNoOption);
  auto* probe = kv::New<Probe>();
  kv::Persistent<Probe> keep(probe);
  l->FocusMove = kv::MakeSlot(probe, &Probe::Hit);
  EXPECT_EQ(l->ItemNum, 0);
  EXPECT_TRUE(Rows(l).empty());
  EXPECT_EQ(l->DataSource->Cursor, -1);
  EXPECT_EQ(l->GetItemData(0), nullptr);
  EXPECT_EQ(l->GetFocusedRow(), nullptr);
  Press("down");
  Press("up");
  EXPECT_EQ(probe->hits, 2);
  EXPECT_EQ(l->DataSource->Cursor, -1);
}

TEST_F(EngineTest, FewerItemsThanRowsWrapBetweenTheEnds) {
  OptionList* l = OpenOptions(kThreeChoices);
  ASSERT_EQ(Rows(l).size(), 3u);
  // 3 rows: 3 x 27 + 2 x 2 = 85 pixels high, 2 x 20 + 150 wide.
  EXPECT_EQ(l->Bounds().H(), 85);
  EXPECT_EQ(l->Bounds().W(), 190);
  l->OnSetCurrentItemIndex(3);
  Settle();
  EXPECT_EQ(l->DataSource->Cursor, 2);
  Press("down");
  EXPECT_EQ(l->DataSource->Cursor, 0);
  EXPECT_EQ(l->GetFocusedRow(), Rows(l)[0]);
  Press("up");
  EXPECT_EQ(l->DataSource->Cursor, 2);
  EXPECT_EQ(l->GetFocusedRow(), Rows(l)[2]);

  // Without wrap-around the cursor stops at the ends; the key is still taken.
  l->WrapAround = false;
  Press("down");
  EXPECT_EQ(l->DataSource->Cursor, 2);
  l->OnSetCurrentItemIndex(1);
  Settle();
  Press("up");
  EXPECT_EQ(l->DataSource->Cursor, 0);
}

TEST_F(EngineTest, CurrentItemIndexPastTheEndLandsOnTheLastItem) {
  OptionList* l = OpenOptions(kNineChoices);
  l->OnSetCurrentItemIndex(40);
  Settle();
  EXPECT_EQ(l->DataSource->Cursor, 8);
  // The last page is full: the focus is on the last row showing item 8.
  EXPECT_EQ(l->GetFocusedRow(), Rows(l)[5]);
  EXPECT_EQ(kv::Cast<ListForm::ListItem>(Rows(l)[0])->ItemIndex, 3);
  EXPECT_EQ(l->OnGetCurrentItemIndex(), 6);
  EXPECT_EQ(l->LastItemIndex, 40);  // the stored value, kept when the getter corrected it
  l->OnSetCurrentItemIndex(1);
  Settle();
  EXPECT_EQ(l->DataSource->Cursor, 0);
  EXPECT_EQ(l->OnGetCurrentItemIndex(), 1);
}

TEST_F(EngineTest, AScrollUnderAStillFocusSignalsFocusOnce) {
  auto* probe = kv::New<Probe>();
  kv::Persistent<Probe> keep(probe);
  auto* l = kv::New<OptionList>();
  l->OnFocusOption = kv::MakeSlot(probe, &Probe::Hit);
  Open(l, {100, 60, 300, 300}, kNineChoices);
  l->OnSetCurrentItemIndex(6);
  Settle();
  ASSERT_EQ(l->GetFocusedRow(), Rows(l)[5]);
  probe->hits = 0;
  Press("down");  // rows scroll by one, the focus stays on the last row
  EXPECT_EQ(probe->hits, 1);
  EXPECT_EQ(l->GetFocusedRow(), Rows(l)[5]);
  EXPECT_EQ(l->DataSource->Cursor, 6);
  EXPECT_EQ(FocusedText(l), Text(l->GetFocusedRow()));
  EXPECT_EQ(kv::Cast<ListForm::ListItem>(l->GetFocusedRow())->ItemIndex, 6);
  Press("up");  // the focus moves to another row: the row reports it, once
  EXPECT_EQ(probe->hits, 2);
  // Without rows scrolling under it (a page move keeps the focus row and
  // reloads): the list signals for them.
  l->OnSetCurrentItemIndex(1);
  Settle();
  probe->hits = 0;
  l->PageDownKey = 40;
  Press("next");
  EXPECT_EQ(probe->hits, 1);
}

TEST_F(EngineTest, TheRowCountGoesDownAndIsClampedToTheRowsThereAre) {
  OptionList* l = OpenOptions(kNineChoices);
  ASSERT_EQ(Rows(l).size(), 6u);
  std::vector<Forms::Ctrl*> all = l->GetAllRows();
  ASSERT_EQ(all.size(), 6u);
  l->OnSetItemNum(3);
  EXPECT_EQ(Rows(l).size(), 3u);
  for (size_t r = 3; r < 6; ++r) {
    EXPECT_FALSE(all[r]->IsVisible());
    EXPECT_FALSE(all[r]->IsEnabled());
  }
  // A count beyond the rows owned would show rows that do not exist.
  l->OnSetItemNum(8);
  EXPECT_EQ(l->ItemNum, 6);
  EXPECT_EQ(Rows(l).size(), 6u);
  EXPECT_TRUE(Logged("8 rows asked of ListForm::OptionList"));
  l->OnSetItemNum(-4);
  EXPECT_EQ(l->ItemNum, 0);
  EXPECT_TRUE(Rows(l).empty());
  EXPECT_EQ(l->GetAllRows().size(), 6u);
}

TEST_F(EngineTest, OnlyTheExactClassOfAKindGetsData) {
  OptionList* kind = OpenOptions(kNineChoices);
  EXPECT_NE(kind->GetItemData(0), nullptr);
  CloseHost();
  auto* derived = Open(kv::New<DerivedOptionList>(), {100, 60, 300, 300}, kNineChoices);
  EXPECT_EQ(derived->ItemNum, 6);
  EXPECT_EQ(derived->GetItemData(0), nullptr);
  EXPECT_EQ(derived->DataSource->GetItemData(derived, 0), nullptr);
  for (Forms::Ctrl* row : Rows(derived)) EXPECT_EQ(Text(row), "");
}

// --- The option list as the option dialog uses it --------------------------

TEST_F(EngineTest, TheOptionListOpensOnTheValueAndOkWritesTheChoice) {
  W()->OnSetDynamicVolume(2);
  OptionList* l = OpenOptions(kThreeChoices);
  EXPECT_EQ(l->DataSource->Cursor, 2);
  const std::string high = FocusedText(l);
  EXPECT_FALSE(high.empty());
  auto* probe = kv::New<Probe>();
  kv::Persistent<Probe> keep(probe);
  l->OnValueChanged = kv::MakeSlot(probe, &Probe::Hit);
  ClearCallLog();
  Press("up");
  Press("ok");
  ASSERT_EQ(Calls("XPM_SetAudDynamicVolume").size(), 1u);
  EXPECT_NE(Calls("XPM_SetAudDynamicVolume")[0].find("1"), std::string::npos);
  EXPECT_EQ(W()->OnGetDynamicVolume(), 1);
  EXPECT_EQ(probe->hits, 1);
}

TEST_F(EngineTest, NineChoicesShowSixRowsAndTheTimeZoneListIsWider) {
  OptionList* l = OpenOptions(kNineChoices);
  EXPECT_EQ(Rows(l).size(), 6u);
  EXPECT_EQ(l->Bounds().H(), 172);
  EXPECT_EQ(l->Bounds().W(), 190);
  l->OnSetCurrentItemIndex(9);
  Settle();
  Press("down");
  EXPECT_EQ(l->DataSource->Cursor, 0);
  CloseHost();
  OptionList* tz = OpenOptions(OptionDatabase::OPTION_TYPE_TIME_ZONE_KXD);
  EXPECT_EQ(tz->Bounds().W(), 220);
  EXPECT_EQ(Rows(tz)[0]->Bounds().W(), 180);
}

// --- System information ---------------------------------------------------------

TEST_F(EngineTest, TheSystemInformationPagesByTenAndOkDoesNothing) {
  SkinBin::SystemInfo* info = W()->GetSystemInfo();
  info->Initialize();
  for (int i = 0; i < 12; ++i) info->AddRow(kv::String::FromUtf8("Row " + std::to_string(i)));
  ASSERT_EQ(info->GetCount(), 15);
  auto* l = Open(kv::New<ListForm::SystemInfoList>(), {100, 40, 600, 340});
  ASSERT_EQ(Rows(l).size(), 10u);
  EXPECT_EQ(Text(Rows(l)[0]).rfind("Software", 0), 0u) << Text(Rows(l)[0]);
  Press("next");
  EXPECT_EQ(l->DataSource->Cursor, 10);
  Press("next");
  EXPECT_EQ(l->DataSource->Cursor, 14);  // pages never wrap
  Press("prev");
  EXPECT_EQ(l->DataSource->Cursor, 4);
  const std::string before = FocusedText(l);
  ClearCallLog();
  Press("ok");
  EXPECT_EQ(FocusedText(l), before);
  EXPECT_EQ(l->DataSource->Cursor, 4);
  // Caption and value come back apart from the row's text.
  auto* c = kv::Cast<ListForm::SystemInfoCourier>(
      kv::Cast<ListForm::ListItem>(Rows(l)[0])->GetData(nullptr));
  ASSERT_NE(c, nullptr);
  EXPECT_FALSE(c->Caption.Empty());
}

TEST_F(EngineTest, ASystemInformationRowThatIsGoneGivesAnEmptyRow) {
  auto* l = Open(kv::New<ListForm::SystemInfoList>(), {100, 40, 600, 340});
  auto* c = kv::Cast<ListForm::SystemInfoCourier>(ListForm::GetSystemInfoItemData(l->DataSource, l, 40));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->ItemIndex, 40);
  EXPECT_TRUE(c->Caption.Empty());
  EXPECT_TRUE(c->Value.Empty());
}

TEST_F(EngineTest, OptionAndSystemInformationListsReturnToTheCensusBaseline) {
  ExpectCensusBaseline(2, [&](int kind) {
    if (kind == 0) OpenOptions(kNineChoices);
    if (kind == 1) Open(kv::New<ListForm::SystemInfoList>(), {100, 40, 600, 340});
    Press("down");
    Press("ok");
    CloseHost();
  });
}

}  // namespace
}  // namespace listtest
