// The guide's record toggle with the timer editor and record now: OK on a
// later programme opens the editor of kind 2 over the guide, Done marks the
// row with the timer, OK on it edits that timer; OK on the programme on now
// opens record now, whose editor returns to it and whose back returns to the
// guide.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim_guide.h"
#include "record_support.h"
#include "units/Channels/FullEPGDialog.h"
#include "units/ListForm/GuideLists.h"
#include "units/NonMenuSystem/OptionDialogs.h"
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
  // The guide open, the focus on its third programme (a later one).
  Channels::FullEPGDialog* GuideOnTheThirdProgramme() {
    Press("guide");
    Run(1000);
    Channels::FullEPGDialog* g = Guide();
    if (!g) return nullptr;
    Press("right");
    Press("down", 2);
    return g;
  }
  RecordOptionsDialog* Choice() {
    auto* d = Open<RecordOptionsDialog>();
    return d && d->IsOpen() ? d : nullptr;
  }
};

#ifdef KV_VERIFY
// The guide's channel names end inside their column (an ellipsis when too
// long), and the timer editor opened from a programme stands beside the
// column: no channel name and no programme row is left half covered.
TEST_F(RecordGuideTest, TheTimerEditorOverTheGuideLeavesNoFragmentOfItsRows) {
  Press("guide");
  Run(1000);
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(Core::TextFaults(SeenTexts()), std::vector<std::string>{}) << SeenList();
  Press("right");
  Press("down", 2);
  Press("ok");
  Run(500);
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(Core::TextFaults(SeenTexts()), std::vector<std::string>{}) << SeenList();
  for (const char* name : {"Valley 3", "Civic 7"}) EXPECT_TRUE(Sees(name)) << name << "\n" << SeenList();
  Press("back");
  Run(500);
  EXPECT_EQ(Editor(), nullptr);
  Press("down");
  Run(300);
  EXPECT_GT(Row(g)->ItemIndex, 2);
}

// Each choice list of the editor over the guide (late end, early start,
// type), in the three menu languages, opens over its own row and leaves
// Done, the labels and the caption whole: the lists of the low rows rise to
// end above Done instead of cutting its caption.
TEST_F(RecordGuideTest, TheEditorsChoiceListsLeaveDoneAndTheLabelsWhole) {
  for (int32_t language : {0, 1, 2}) {
    SCOPED_TRACE(language);
    Skin()->SetMenuLanguage(language);
    ASSERT_NE(GuideOnTheThirdProgramme(), nullptr);
    Press("ok");
    Run(500);
    RecordTimerDialog* editor = Editor();
    ASSERT_NE(editor, nullptr);
    for (const char* move : {"left", "up", "up"}) {
      SCOPED_TRACE(move);
      Press(move);
      Press("ok");
      Run(500);
      auto* list = Open<NonMenuSystem::OptionDialog>();
      ASSERT_NE(list, nullptr) << SeenList();
      EXPECT_FALSE(list->GetAbsoluteBounds().Intersects(editor->DoneButton.GetAbsoluteBounds()));
      EXPECT_EQ(Core::TextFaults(SeenTexts()), std::vector<std::string>{}) << SeenList();
      Press("back");
      Run(300);
    }
    Press("exit");
    Run(500);
  }
  Skin()->SetMenuLanguage(0);
}

// The row that carries a timer shows its repeat badge clear of the date,
// and its time well inside the focus bar's end.
TEST_F(RecordGuideTest, TheTimerBadgeAndTheTimeStandClearInTheFocusedRow) {
  Channels::FullEPGDialog* g = GuideOnTheThirdProgramme();
  ASSERT_NE(g, nullptr);
  Press("ok");
  Settle();
  ASSERT_NE(Editor(), nullptr);
  Press("down");  // from the check box to Done
  Press("ok");
  Settle();
  ASSERT_EQ(Editor(), nullptr);
  ListForm::EPGProgramListItem* row = Row(g);
  ASSERT_NE(row, nullptr);
  ASSERT_GT(row->RecordType, 0);
  ASSERT_TRUE(row->IconColumn().IsVisible());
  const kv::Rect bar = row->GetAbsoluteBounds();
  // The row draws its columns itself: their boxes are in the row's frame.
  const kv::Rect badge = row->IconColumn().Bounds().Move({bar.x1, bar.y1});
  const Core::SeenText *date = nullptr, *time = nullptr;
  const auto seen = SeenTexts();
  for (const Core::SeenText& t : seen) {
    if (t.view == &row->DateColumn()) date = &t;
    if (t.view == &row->TimeColumn()) time = &t;
  }
  ASSERT_NE(date, nullptr) << SeenList();
  ASSERT_NE(time, nullptr) << SeenList();
  EXPECT_TRUE(date->Readable()) << date->Describe();
  EXPECT_TRUE(time->Readable()) << time->Describe();
  EXPECT_GE(date->ink.x1 - badge.x2, 10) << "the badge against the date: " << date->Describe();
  EXPECT_GE(bar.x2 - time->ink.x2, 8) << "the time against the bar's end: " << time->Describe();
  // The next key still moves the list.
  Press("down");
  Settle();
  EXPECT_NE(Row(g), row);
}
#endif

TEST_F(RecordGuideTest, ALaterProgrammeIsSetThroughTheEditorAndEditedAgain) {
  Channels::FullEPGDialog* g = GuideOnTheThirdProgramme();
  ASSERT_NE(g, nullptr);
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
  const std::string start = e->TimeButton.OnGetText().ToUtf8();
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
  // The editor shows the stored timer, its start among it. Switched off
  // and updated, the set holds it off; opened again and updated untouched,
  // it stays off and keeps its start.
  XPM_TimerRecord first;
  ASSERT_TRUE(SetTimerOf(id, &first));
  EXPECT_EQ(first.enabled, 1) << "a programme of the guide is set on";
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    EXPECT_EQ(e->TimeButton.OnGetText().ToUtf8(), start);
    if (round == 0) Press("ok");  // the check box: off
    ASSERT_TRUE(FocusBy("down", &e->DoneButton));
    Press("ok");
    Settle();
    EXPECT_EQ(Editor(), nullptr);
    XPM_TimerRecord stored;
    ASSERT_TRUE(SetTimerOf(id, &stored));
    EXPECT_EQ(stored.enabled, 0);
    EXPECT_EQ(stored.start.hour, first.start.hour);
    EXPECT_EQ(stored.start.minute, first.start.minute);
    ASSERT_EQ(Row(g)->TimerId, id);
    Press("ok");
    Settle();
    e = Editor();
    ASSERT_NE(e, nullptr);
  }
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

namespace {

// A programme chosen in the guide on a Saturday is recorded once, on that
// Saturday: the editor offers it as a one-time timer, and the weekday
// programmes at that hour before it are not recorded.
TEST_F(RecordGuideTest, AGuideTimerOnASaturdayProgrammeRecordsThatProgrammeAndNothingElse) {
  // 2-1's guide: what is on now runs until Saturday 3 January 20:00 local
  // (01:00 UTC on the 4th), then "Saturday Film" for an hour.
  const int64_t now = Tv().Tv().NetworkTime();
  const int64_t saturday = sim::kNetworkEpoch + 3 * 86400 + 3600;
  sim::GuideEvent on, film, after;
  on.id = 501;
  on.start = now - 600;
  on.duration = static_cast<int32_t>(saturday - on.start);
  on.title = "Long Show";
  film.id = 502;
  film.start = saturday;
  film.duration = 3600;
  film.title = "Saturday Film";
  after.id = 503;
  after.start = saturday + 3600;
  after.duration = 3600;
  after.title = "Late News";
  sim::SetChannelGuide(Tv(), 2, 1, {on, film, after});
  Press("guide");
  Run(1000);
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  Press("right");
  Press("down");
  Press("ok");
  Settle();
  RecordTimerDialog* e = Editor();
  ASSERT_NE(e, nullptr);
  ASSERT_EQ(e->Kind(), Record::kKindGuide);
  EXPECT_EQ(Active()->TimesType, Record::kTimesOnce);
  const int32_t id = Skin()->OnGetActiveTimerId();
  Press("down");
  ASSERT_EQ(Focused(), &e->DoneButton);
  Press("ok");
  Settle();
  ASSERT_EQ(Editor(), nullptr);
  // The set holds a one-time timer on Saturday (bit 6), at 20:00.
  XPM_TimerRecord t{};
  ASSERT_EQ(XPM_GetTimer(id, &t), XPM_OK);
  EXPECT_EQ(t.timesType, 4);
  EXPECT_EQ(t.daysOfWeek, 1 << 6);
  EXPECT_EQ(t.start.hour, 20);
  // Thursday and Friday at 20:00 pass without a recording; Saturday's records.
  ClearCallLog();
  Run(int64_t{(saturday - now) - 60} * 1000);
  EXPECT_TRUE(Calls("XPM_RECORDING_START").empty());
  Run(5 * 60 * 1000);
  EXPECT_EQ(Calls("XPM_RECORDING_START").size(), 1u);
}

}  // namespace
