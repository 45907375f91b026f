// The guide's record toggle with the timer editor and record now: OK on a
// later programme opens the editor of kind 2 over the guide, Done marks the
// row with the timer, OK on it edits that timer; OK on the programme on now
// opens record now, whose editor returns to it and whose back returns to the
// guide.
#include <gtest/gtest.h>

#include "record_support.h"
#include "units/Channels/FullEPGDialog.h"
#include "units/ListForm/GuideLists.h"
#include "units/Record/RecordOptionsDialog.h"

namespace {

using Record::RecordOptionsDialog;
using Record::RecordTimerDialog;

class RecordGuideTest : public recordtest::RecordTest {
 protected:
  Channels::FullEPGDialog* Guide() {
    auto* g = Open<Channels::FullEPGDialog>();
    return g && g->IsOpen() ? g : nullptr;
  }
  ListForm::EPGProgramListItem* Row(Channels::FullEPGDialog* g) {
    return kv::Cast<ListForm::EPGProgramListItem>(g->Programs.GetFocusedRow());
  }
  RecordOptionsDialog* Choice() {
    auto* d = Open<RecordOptionsDialog>();
    return d && d->IsOpen() ? d : nullptr;
  }
};

TEST_F(RecordGuideTest, ALaterProgrammeIsSetThroughTheEditorAndEditedAgain) {
  Press("guide");
  Run(1000);
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  Press("right");
  Press("down", 2);
  ListForm::EPGProgramListItem* row = Row(g);
  ASSERT_NE(row, nullptr);
  ASSERT_GT(row->ItemIndex, 0);
  Press("ok");
  Settle();
  RecordTimerDialog* e = Editor();
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Kind(), Record::kKindGuide);
  EXPECT_FALSE(e->IsUpdate);
  EXPECT_FALSE(e->IsShortcut);
  EXPECT_EQ(Active()->Duration, row->Duration * 60);
  EXPECT_EQ(Active()->StartTime->Hour, row->StartTime->Hour);
  // Back closes the editor alone: the guide stays and answers keys.
  Press("back");
  Settle();
  EXPECT_EQ(Editor(), nullptr);
  ASSERT_EQ(Guide(), g);
  Press("ok");
  Settle();
  e = Editor();
  ASSERT_NE(e, nullptr);
  const int32_t id = Skin()->OnGetActiveTimerId();
  Press("down");  // from the check box to Done
  ASSERT_EQ(Focused(), &e->DoneButton);
  Press("ok");
  Settle();
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_TRUE(InDatabase(id));
  EXPECT_TRUE(Calls("XPM_RECORDING_START").empty()) << "a programme of the guide never records at once";
  // The row carries the timer: its repeat icon, and OK edits that timer.
  row = Row(g);
  ASSERT_NE(row, nullptr);
  EXPECT_GT(row->RecordType, 0);
  EXPECT_EQ(row->TimerId, id);
  Press("ok");
  Settle();
  e = Editor();
  ASSERT_NE(e, nullptr);
  EXPECT_TRUE(e->IsUpdate);
  EXPECT_EQ(Skin()->OnGetActiveTimerId(), id);
  EXPECT_EQ(e->DoneButton.OnGetText().ToUtf8(), "Update");
}

TEST_F(RecordGuideTest, TheProgrammeOnNowOpensRecordNowAndTheRoadBackEndsInTheGuide) {
  Press("guide");
  Run(1000);
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  Press("right");
  ListForm::EPGProgramListItem* row = Row(g);
  ASSERT_NE(row, nullptr);
  ASSERT_EQ(row->ItemIndex, 0);
  Press("ok");
  Settle();
  RecordOptionsDialog* d = Choice();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->OptionType, Record::RecordOptionTypeGuide);
  Press("down");
  Press("ok");
  Settle();
  RecordTimerDialog* e = Editor();
  ASSERT_NE(e, nullptr);
  EXPECT_TRUE(e->FromGuide());
  EXPECT_EQ(e->GetPrevStateType(), 2);
  // The editor's back reopens the choice from the guide; its back the guide.
  Press("back");
  Settle();
  EXPECT_EQ(Editor(), nullptr);
  d = Choice();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->OptionType, Record::RecordOptionTypeGuide);
  Press("back");
  Settle();
  EXPECT_EQ(Choice(), nullptr);
  ASSERT_EQ(Guide(), g);
  Press("down");
  EXPECT_EQ(Row(g)->ItemIndex, 1);
}

}  // namespace
