// The full programme guide over live TV: opened by the guide key, its video
// window, column, programme list and details, tuning from the column,
// volume and mute, and what it leaves behind when it closes.
#include <gtest/gtest.h>

#include <string>

#include "focus_look.h"
#include "platform/sim/sim_guide.h"
#include "platform/xpm/xpm_record.h"
#include "nonmenusystem_support.h"
#include "runtime/text.h"
#include "strings/Strings.h"
#include "units/Channels/FullEPGDialog.h"
#include "units/Forms/ImageIndicator.h"
#include "units/Constants/Constants.h"
#include "units/NonMenuSystem/InfoBanner.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/NonMenuSystem/WaitingCircle.h"
#include "units/Record/RecordTimerDialog.h"
#include "units/Resources/Font.h"
#include "units/Views/Text.h"
#include "view_drawn.h"
#include "units/SkinBin/EPGEventsInfo_DB.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/EventInfo.h"
#include "units/Structures/LocalTime.h"
#include "units/Structures/VirtualChannel.h"

namespace {

class FullGuideTest : public livetvtest::LiveTVTest {
 protected:
  void SetUp() override {
    LiveTVTest::SetUp();
    ASSERT_TRUE(SwitchToSourceType(Constants::XPM_SOURCE_TYPE_RF_TUNER));
    Nms()->ClearAll();
    Settle();
  }
  Channels::FullEPGDialog* Guide() {
    for (auto* f : OpenForms())
      if (auto* t = kv::Cast<Channels::FullEPGDialog>(f)) return t;
    return nullptr;
  }
  SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(W()); }
  bool CircleShown() {
    NonMenuSystem::WaitingCircle* c = Nms()->GetWaitingCircle();
    return c && c->IsVisible();
  }
  std::string Last(const char* call) {
    const auto calls = Calls(call);
    return calls.empty() ? std::string() : calls.back();
  }
};

TEST_F(FullGuideTest, GuideShowsTheChannelInTuneInItsWindowAndClosesByGuideOrTimeOut) {
  ClearCallLog();
  Press("guide");
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  EXPECT_NE(Last("XPM_SetDisplayWindow").find("10, 324, 366, 206"), std::string::npos) << Last("XPM_SetDisplayWindow");
  // The column rests on the channel in tune and has the focus.
  auto* row = kv::Cast<ListForm::EPGChannelItem>(g->Column.GetFocusedRow());
  ASSERT_NE(row, nullptr);
  Structures::VirtualChannel* now = W()->GetCurrentChannel();
  EXPECT_EQ(row->Major, now->Major);
  EXPECT_EQ(row->Minor, now->Minor);
  EXPECT_FALSE(g->Number.OnGetString().Empty());
  EXPECT_FALSE(g->Clock.OnGetString().Empty());
  // Over the column: the input and its medium, a new set's antenna.
  Run(200);
  EXPECT_TRUE(Sees(" - ANT")) << SeenList();
  // The first programmes, the first one's details.
  SkinBin::EPGEventsInfo_DB* store = Skin()->EPGProgramList.get();
  ASSERT_NE(store, nullptr);
  ASSERT_GE(store->GetNumEvents(), 8);
  EXPECT_EQ(g->Programs.DataSource->Num, 8);
  EXPECT_EQ(g->Info.TitleText.OnGetString().ToUtf8(), store->GetEvent(0)->Title.ToUtf8());
  EXPECT_FALSE(g->Info.TimeSpan.OnGetString().Empty());
  // Right to the programmes, down: the details follow the focus.
  Press("right");
  Press("down", 2);
  EXPECT_EQ(g->Info.TitleText.OnGetString().ToUtf8(), store->GetEvent(2)->Title.ToUtf8());
  Press("guide");
  Settle();
  EXPECT_EQ(Guide(), nullptr);
  EXPECT_NE(Last("XPM_SetDisplayWindow").find("0, 0, 960, 540"), std::string::npos) << Last("XPM_SetDisplayWindow");
  // The next key still acts; sixty seconds without one close the guide.
  Press("guide");
  ASSERT_NE(Guide(), nullptr);
  Run(59000);
  EXPECT_NE(Guide(), nullptr);
  Run(1500);
  Settle();
  EXPECT_EQ(Guide(), nullptr);
  EXPECT_NE(Last("XPM_SetDisplayWindow").find("0, 0, 960, 540"), std::string::npos);
}

// Each programme row reads its date and its time as two words apart
// ("Dec 31  19:00"), for every month name, inside the programme panel.
// While the set records live TV the guide shows the record mark in its
// heading, and only then.
TEST_F(FullGuideTest, TheRecordMarkShowsWhileTheSetRecords) {
  const auto markDrawn = [&](Channels::FullEPGDialog* g) {
    return apptest::PixelsDrawnBy(g->RecordMark, Osd(), [&] { SeenTexts(); }) > 20;
  };
  Press("guide");
  Run(200);
  ASSERT_NE(Guide(), nullptr);
  EXPECT_FALSE(markDrawn(Guide())) << "the mark shows while nothing records";
  Press("guide");
  Settle();
  ASSERT_EQ(Guide(), nullptr);

  RecordOnANewDisk();
  ASSERT_EQ(Calls("XPM_RECORDING_START").size(), 1u);
  Run(6000);  // the record flag over live TV goes
  Press("guide");
  Run(200);
  ASSERT_NE(Guide(), nullptr);
  EXPECT_TRUE(markDrawn(Guide())) << "no record mark while the set records";
}

TEST_F(FullGuideTest, ProgrammeRowsKeepTheDateAndTheTimeApart) {
  Press("guide");
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  Settle();
  const kv::Rect panel = g->Programs.GetAbsoluteBounds();
  // Text pixels are light on the dark panel; the row's columns hold
  // nothing else between the title's end and the row's end.
  auto lit = [&](int32_t x, const kv::Rect& band) {
    for (int32_t y = band.y1; y < band.y2; ++y) {
      const uint32_t p = Osd().Row(y)[x];
      if ((p & 0xFF) + (p >> 8 & 0xFF) + (p >> 16 & 0xFF) > 3 * 150) return true;
    }
    return false;
  };
  constexpr int32_t kGap = 8;  // more than a space of the list font
  int checked = 0;
  for (Forms::Ctrl* ctrl : g->Programs.GetAllRows()) {
    auto* row = kv::Cast<ListForm::EPGProgramListItem>(ctrl);
    if (!row || !row->IsVisible() || row->OnGetDateText().Empty()) continue;
    const kv::Rect r = row->GetAbsoluteBounds();
    const kv::Rect date = row->DateColumn().Bounds().Move({r.x1, r.y1});
    const kv::Rect time = row->TimeColumn().Bounds().Move({r.x1, r.y1});
    const std::string words = row->OnGetDateText().ToUtf8() + " " + row->OnGetTimeText().ToUtf8();
    // Both whole: no "..." in place of a part.
    for (Views::Text* t : {&row->DateColumn(), &row->TimeColumn()}) {
      const ge::TextLayout l = t->GetLayout();
      ASSERT_FALSE(l.lines.empty()) << words;
      EXPECT_FALSE(l.lines.front().ellipsis) << words;
      EXPECT_LE(l.width, t->Bounds().W()) << words;
    }
    EXPECT_LE(time.x1 + row->TimeColumn().GetLayout().width, panel.x2) << words;
    if (row == g->Programs.GetFocusedRow()) continue;
    // On screen: the date's last lit column and the time's first one.
    int32_t dateEnd = -1, timeStart = -1;
    for (int32_t x = date.x1; x < time.x1; ++x)
      if (lit(x, r)) dateEnd = x;
    for (int32_t x = time.x1; x < time.x2 && timeStart < 0; ++x)
      if (lit(x, r)) timeStart = x;
    ASSERT_GE(dateEnd, 0) << words;
    ASSERT_GE(timeStart, 0) << words;
    EXPECT_GE(timeStart - dateEnd - 1, kGap) << words << ": date ends at " << dateEnd << ", time starts at "
                                             << timeStart;
    ++checked;
  }
  EXPECT_GE(checked, 6);
  // The widest month names fit the date column too.
  auto* first = kv::Cast<ListForm::EPGProgramListItem>(g->Programs.GetAllRows().front());
  ASSERT_NE(first, nullptr);
  for (int month = 0; month < 12; ++month) {
    auto* t = kv::New<Structures::LocalTime>();
    t->Month = month;
    t->Day = 30;
    t->Hour = 23;
    t->Minute = 50;
    first->OnSetStartTime(t);
    const ge::TextLayout date = first->DateColumn().GetLayout();
    EXPECT_FALSE(date.lines.front().ellipsis) << first->OnGetDateText().ToUtf8();
    EXPECT_LE(date.width + kGap, first->TimeColumn().Bounds().x1 - first->DateColumn().Bounds().x1)
        << first->OnGetDateText().ToUtf8();
    EXPECT_FALSE(first->TimeColumn().GetLayout().lines.front().ellipsis) << first->OnGetTimeText().ToUtf8();
  }
}

// Only the list that takes the keys shows a focused row: the column's row
// (with its arrow) while the column has the focus, the programme row once
// right moved the focus there, the column's again after left. The next key
// then still moves the column.
TEST_F(FullGuideTest, OnlyTheListThatTakesTheKeysShowsItsRowFocused) {
  Press("guide");
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  Settle();
  Forms::Ctrl* channel = g->Column.GetFocusedRow();
  Forms::Ctrl* programme = g->Programs.GetFocusedRow();
  ASSERT_NE(channel, nullptr);
  ASSERT_NE(programme, nullptr);
  EXPECT_TRUE(apptest::LooksFocused(Osd(), channel));
  EXPECT_FALSE(apptest::LooksFocused(Osd(), programme));

  Press("right");
  Settle();
  ASSERT_EQ(g->Programs.GetFocusedRow(), programme);
  EXPECT_TRUE(apptest::LooksFocused(Osd(), programme));
  EXPECT_FALSE(apptest::LooksFocused(Osd(), channel)) << "the column's row looks focused beside the programme's";

  Press("left");
  Settle();
  EXPECT_TRUE(apptest::LooksFocused(Osd(), channel));
  EXPECT_FALSE(apptest::LooksFocused(Osd(), programme));
  Press("down");
  Settle();
  Forms::Ctrl* next = g->Column.GetFocusedRow();
  EXPECT_NE(next, channel);
  EXPECT_TRUE(apptest::LooksFocused(Osd(), next));
  EXPECT_FALSE(apptest::LooksFocused(Osd(), channel));
}

// The column's scroll mark stands in a place of its own: no channel name,
// whole or cut short, runs under it.
TEST_F(FullGuideTest, NoChannelNameRunsUnderTheColumnsScrollMark) {
  Press("guide");
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  Settle();
  auto* mark = kv::Cast<Forms::ImageIndicator>(g->Column.NextIndicator.get());
  ASSERT_NE(mark, nullptr);
  ASSERT_TRUE(mark->OnGetEnabled()) << "the set has more channels than rows";
  const kv::Rect at = mark->GetAbsoluteBounds();
  int names = 0, onMarks = 0;
  for (const Core::SeenText& t : SeenTexts()) {
    if (t.where.find("ListForm::EPGChannelItem") == std::string::npos || t.ink.IsEmpty()) continue;
    if (t.ink.x1 < g->Column.GetAbsoluteBounds().x1 + 50) continue;  // the numbers
    ++names;
    if (t.ink.y2 <= at.y1 || at.y2 <= t.ink.y1) continue;
    ++onMarks;
    EXPECT_LE(t.ink.x2, at.x1) << "\"" << t.text << "\" runs under the scroll mark";
    // ... and reads whole, not shortened to make room for it.
    auto* text = kv::Cast<Views::Text>(const_cast<Core::View*>(t.view));
    ASSERT_NE(text, nullptr);
    EXPECT_GE(t.ink.W(), text->OnGetFont()->GetTextWidth(text->OnGetString()) - 3) << "\"" << t.text << "\" is shortened";
  }
  EXPECT_GE(names, 8);
  EXPECT_EQ(onMarks, 1) << "the mark stands on the last row";
  // The rows above the marks keep the whole width for their names, and the
  // last row's name reads whole beside the mark.
  EXPECT_TRUE(Sees("Metro HD")) << SeenList();
}

// The column's page marks stand at (w-40, h-14) and (w-20, h-14); the
// focused row on them (the page's last) keeps its arrow and its name clear
// of them.
TEST_F(FullGuideTest, TheFocusedRowsArrowKeepsClearOfTheColumnsScrollMarks) {
  Press("guide");
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  Run(500);
  Press("down", 9);
  Run(1500);
  auto* row = kv::Cast<ListForm::EPGChannelItem>(g->Column.GetFocusedRow());
  ASSERT_NE(row, nullptr);
  ASSERT_EQ(row, g->Column.GetAllRows().back()) << "the page's last row";
  const kv::Rect column = g->Column.GetAbsoluteBounds();
  const kv::Rect at = row->GetAbsoluteBounds();
  const kv::Rect arrow = row->OnGetArrowBounds().Move({at.x1, at.y1});
  int marks = 0;
  for (Core::View* v : {g->Column.PrevIndicator.get(), g->Column.NextIndicator.get()}) {
    auto* m = kv::Cast<Forms::ImageIndicator>(v);
    if (!m || !m->OnGetEnabled()) continue;
    ++marks;
    const kv::Rect mark = m->GetAbsoluteBounds();
    EXPECT_EQ(mark.y1 - column.y1, column.H() - 14);
    EXPECT_TRUE(mark.x1 - column.x1 == column.W() - 40 || mark.x1 - column.x1 == column.W() - 20) << mark.x1;
    EXPECT_TRUE(arrow.x2 <= mark.x1 || mark.x2 <= arrow.x1 || arrow.y2 <= mark.y1 || mark.y2 <= arrow.y1)
        << "the arrow (" << arrow.x1 << ", " << arrow.y1 << ") lies under a mark at (" << mark.x1 << ", " << mark.y1
        << ")";
  }
  EXPECT_EQ(marks, 2) << "a page below and one above";
  // The row's name ends short of its arrow.
  int names = 0;
  for (const Core::SeenText& t : SeenTexts()) {
    if (t.where.find("ListForm::EPGChannelItem") == std::string::npos) continue;
    if (t.ink.IsEmpty() || t.ink.y2 <= at.y1 || at.y2 <= t.ink.y1 || t.ink.x1 < at.x1 + 50) continue;
    ++names;
    EXPECT_LE(t.ink.x2, arrow.x1) << "\"" << t.text << "\" runs under the arrow";
  }
  EXPECT_EQ(names, 1) << SeenList();
}

// The programme list's page marks show on every row, the last one's focus
// bar included: they are drawn over the rows.
TEST_F(FullGuideTest, TheProgrammeListsPageMarksShowOverTheFocusBar) {
  Press("guide");
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  Run(500);
  Press("right");
  Run(300);
  // Light pixels of each mark that is enabled (the arrows are light triangles).
  const auto lit = [&](Core::View* mark) {
    const kv::Rect at = mark->GetAbsoluteBounds();
    int n = 0;
    for (int32_t y = at.y1; y < at.y2; ++y)
      for (int32_t x = at.x1; x < at.x2; ++x) {
        const uint32_t p = Osd().Row(y)[x];
        n += (p & 0xFF) > 170 && (p >> 8 & 0xFF) > 170 && (p >> 16 & 0xFF) > 170;
      }
    return n;
  };
  // Down past the first page (the next page comes in), then up a few rows.
  Press("down", 8);
  Run(300);
  ASSERT_EQ(g->Programs.GetFocusedRow(), g->Programs.GetAllRows().back()) << "the last row";
  std::vector<Forms::ImageIndicator*> marks;
  for (Core::View* v : {g->Programs.PrevIndicator.get(), g->Programs.NextIndicator.get()})
    if (auto* m = kv::Cast<Forms::ImageIndicator>(v); m && m->OnGetEnabled()) marks.push_back(m);
  ASSERT_FALSE(marks.empty());
  std::vector<int> last;
  for (auto* m : marks) last.push_back(lit(m));
  Press("up", 3);
  Run(300);
  for (size_t i = 0; i < marks.size(); ++i) {
    const int middle = lit(marks[i]);
    EXPECT_GE(middle, 20) << "mark " << i;
    EXPECT_GE(last[i], middle - 4) << "mark " << i << " is hidden under the last row's focus bar";
  }
}

// A screen opened over the guide takes the keys: the guide's focused
// programme shows no focus bar beside it, and shows it again once the
// screen closes.
TEST_F(FullGuideTest, TheRecordTimerOverTheGuideLeavesNoEndOfTheFocusBar) {
  Press("guide");
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  Press("right");
  Press("down", 2);
  Settle();
  Forms::Ctrl* programme = g->Programs.GetFocusedRow();
  ASSERT_NE(programme, nullptr);
  ASSERT_TRUE(apptest::LooksFocused(Osd(), programme));
  Press("ok");
  Run(500);
  Settle();
  Record::RecordTimerDialog* timer = nullptr;
  for (auto* f : OpenForms())
    if (auto* t = kv::Cast<Record::RecordTimerDialog>(f)) timer = t;
  ASSERT_NE(timer, nullptr);
  const kv::Rect row = programme->GetAbsoluteBounds();
  const kv::Rect over = timer->GetAbsoluteBounds();
  ASSERT_LT(over.x2, row.x2);
  EXPECT_LT(apptest::FocusBlueShare(Osd(), {over.x2, row.y1, row.x2, row.y2}), 0.1)
      << "an end of the guide's focus bar shows beside the timer";
  Press("back");
  Run(300);
  Settle();
  ASSERT_EQ(Guide(), g);
  EXPECT_TRUE(apptest::LooksFocused(Osd(), programme));
}

#ifdef KV_VERIFY
// The headings "Channels" and "Programmes" stand clear of their panel's top
// frame and of the first row's focus bar, and every row of both lists ends
// inside its panel, clear of the bottom frame.
TEST_F(FullGuideTest, TheHeadingsStandClearOfTheFrameAndOfTheFirstRow) {
  Press("guide");
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  Settle();
  const auto seen = SeenTexts();
  struct Pane {
    const char* heading;
    const Views::Frame& panel;
    ListForm::ListClass& list;
  };
  for (const Pane& p : {Pane{"Channels", g->ColumnPanel(), g->Column}, Pane{"Programmes", g->ListPanel(), g->Programs}}) {
    const Core::SeenText* heading = nullptr;
    for (const Core::SeenText& t : seen)
      if (t.text == p.heading) heading = &t;
    ASSERT_NE(heading, nullptr) << p.heading << "\n" << SeenList();
    EXPECT_TRUE(heading->Readable()) << heading->Describe();
    const kv::Rect panel = p.panel.GetAbsoluteBounds();
    EXPECT_GE(heading->ink.y1 - panel.y1, 4) << "against the top frame: " << heading->Describe();
    const std::vector<Forms::Ctrl*> rows = p.list.GetRows();
    ASSERT_FALSE(rows.empty());
    const kv::Rect first = rows.front()->GetAbsoluteBounds();
    EXPECT_GE(first.y1 - heading->ink.y2, 4) << "against the first row: " << heading->Describe();
    for (Forms::Ctrl* row : rows) {
      const kv::Rect r = row->GetAbsoluteBounds();
      EXPECT_LE(r.y2, panel.y2 - 4) << p.heading;
      EXPECT_GE(r.x1, panel.x1 + 4) << p.heading;
      EXPECT_LE(r.x2, panel.x2 - 4) << p.heading;
    }
  }
}
#endif

TEST_F(FullGuideTest, TheColumnTunesOnceAfterRestingAndTheGuideFollowsTheAcquiredChannel) {
  Press("guide");
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  ClearCallLog();
  // Moving on sooner than 500 ms tunes nothing.
  Press("down");
  Run(300);
  Press("down");
  Run(300);
  EXPECT_TRUE(Calls("XPM_SetChannel").empty());
  Run(300);
  EXPECT_EQ(Calls("XPM_SetChannel").size(), 1u);
  auto* row = kv::Cast<ListForm::EPGChannelItem>(g->Column.GetFocusedRow());
  ASSERT_NE(row, nullptr);
  // Until the set reports the channel, the list waits; then it follows.
  Run(3000);
  Settle();
  EXPECT_EQ(Guide(), g);
  EXPECT_FALSE(g->Column.Busy);
  EXPECT_FALSE(CircleShown());
  EXPECT_EQ(W()->GetCurrentChannel()->Major, row->Major);
  EXPECT_EQ(W()->GetCurrentChannel()->Minor, row->Minor);
  EXPECT_EQ(g->Programs.OnGetm_channel()->Minor, row->Minor);
  EXPECT_EQ(Calls("XPM_SetChannel").size(), 1u);
}

TEST_F(FullGuideTest, ClosedBeforeTheTuneOrWhileWaitingItLeavesNoTuneAndNoCircle) {
  Press("guide");
  ASSERT_NE(Guide(), nullptr);
  ClearCallLog();
  Press("down");
  Run(200);
  Press("guide");
  Run(1000);
  Settle();
  EXPECT_TRUE(Calls("XPM_SetChannel").empty());
  // Closed after the tune went out, before the set answered.
  Press("guide");
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  FailCall("XPM_SetChannel", 0);
  Press("down");
  Run(520);
  ASSERT_EQ(Calls("XPM_SetChannel").size(), 1u);
  ASSERT_TRUE(g->Column.Busy);
  EXPECT_TRUE(CircleShown());
  Press("back");
  Settle();
  EXPECT_EQ(Guide(), nullptr);
  EXPECT_FALSE(CircleShown());
  Run(3000);
  Settle();
  EXPECT_FALSE(CircleShown());
  // The next key still acts.
  Press("guide");
  EXPECT_NE(Guide(), nullptr);
}

TEST_F(FullGuideTest, AFailingTuneLeavesTheColumnFree) {
  Press("guide");
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  FailCall("XPM_SetChannel", 1);
  Press("down");
  Run(600);
  EXPECT_FALSE(g->Column.Busy);
  EXPECT_FALSE(CircleShown());
  Press("down");
  EXPECT_TRUE(g->Column.IsTunePending());
}

// Vol+ raises the sound from 0 and Vol- lowers it from 100, as in live TV;
// beyond the ends the keys only show the level.
TEST_F(FullGuideTest, VolumeStepsUpToTheEndsAndOnlyShowsTheLevelAtThem) {
  Press("guide");
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  W()->OnSetVolume(50);
  Press("vol+");
  EXPECT_EQ(W()->OnGetVolume(), 51);
  EXPECT_TRUE(g->Volume.IsVisible());
  EXPECT_NE(g->Volume.OnGetString().ToUtf8().find("51"), std::string::npos);
  Press("vol-", 2);
  EXPECT_EQ(W()->OnGetVolume(), 49);
  W()->OnSetVolume(100);
  Press("vol+");
  EXPECT_EQ(W()->OnGetVolume(), 100);
  EXPECT_NE(g->Volume.OnGetString().ToUtf8().find("100"), std::string::npos);
  Press("vol-");
  EXPECT_EQ(W()->OnGetVolume(), 99);
  EXPECT_NE(g->Volume.OnGetString().ToUtf8().find("99"), std::string::npos);
  W()->OnSetVolume(0);
  Press("vol-");
  EXPECT_EQ(W()->OnGetVolume(), 0);
  Press("vol+");
  EXPECT_EQ(W()->OnGetVolume(), 1);
  EXPECT_NE(g->Volume.OnGetString().ToUtf8().find("1"), std::string::npos);
  Run(2100);
  EXPECT_FALSE(g->Volume.IsVisible());
  // Mute shows its word for 2 s.
  Press("mute");
  EXPECT_TRUE(W()->OnGetMute());
  EXPECT_EQ(g->Volume.OnGetString().ToUtf8(), kv::GetVariantOfString(Strings::SID_MUTE_FULL).ToUtf8());
  Run(2100);
  EXPECT_FALSE(g->Volume.IsVisible());
  Press("mute");
  EXPECT_FALSE(W()->OnGetMute());
}

TEST_F(FullGuideTest, TheTimeSpanReadsOnTheTwelveHourClockAndWrapsAtMidnight) {
  Press("guide");
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  auto span = [&](int h, int m, int minutes) {
    auto* t = kv::New<Structures::LocalTime>();
    t->Hour = h;
    t->Minute = m;
    g->Info.Duration = minutes;
    g->Info.OnSetStartTime(t);
    return g->Info.TimeSpan.OnGetString().ToUtf8();
  };
  EXPECT_EQ(span(23, 30, 90), "11:30 PM - 01:00 AM");
  EXPECT_EQ(span(10, 45, 15), "10:45 AM - 11:00 AM");
  EXPECT_EQ(span(20, 0, 25 * 60), "08:00 PM - 09:00 PM");
  EXPECT_EQ(span(0, 0, 48 * 60 + 30), "12:00 AM - 12:30 AM");
  g->Info.OnSetStartTime(nullptr);
  EXPECT_TRUE(g->Info.TimeSpan.OnGetString().Empty());
}

TEST_F(FullGuideTest, OpenedAndClosedFiftyTimesItLeavesNothingBehind) {
  Press("guide", 2);
  Settle();
  const auto before = Census();
  for (int i = 0; i < 50; ++i) {
    Press("guide", 2);
    Settle();
  }
  const auto after = Census();
  for (const auto& [cls, n] : after) {
    if (before.count(cls)) {
      EXPECT_LE(n, before.at(cls) + 1) << cls;
    }
  }
  EXPECT_EQ(W()->AnimationCount, 0);
}

}  // namespace

// The details pane gives each programme its own rating, read whole from the
// screen: a later programme does not borrow the rating of the one on now.
TEST_F(FullGuideTest, TheDetailsShowTheFocusedProgrammesOwnRating) {
  Press("guide");
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  Run(500);
  SkinBin::EPGEventsInfo_DB* store = Skin()->EPGProgramList.get();
  ASSERT_NE(store, nullptr);
  // The rating the viewer reads in the pane; "cut: ..." or "shortened: ..."
  // when it does not show whole.
  const auto seenRating = [&] {
    for (const Core::SeenText& t : SeenTexts())
      if (t.view == &g->Info.Rating) {
        const ge::TextLayout l = g->Info.Rating.GetLayout();
        if (!l.lines.empty() && l.lines.front().ellipsis) return "shortened: " + t.text;
        return t.Readable() ? t.text : "cut: " + t.Describe();
      }
    return std::string();
  };
  Press("right");
  int differing = 0;
  const std::string onNow = NonMenuSystem::RatingText(Skin(), store->GetEvent(0)->UsRating,
                                                      store->GetEvent(0)->CanadianRating).ToUtf8();
  for (int32_t i = 0; i < store->GetNumEvents() && i < 8; ++i) {
    Structures::EventInfo* e = store->GetEvent(i);
    ASSERT_NE(e, nullptr);
    ASSERT_EQ(g->Info.TitleText.OnGetString().ToUtf8(), e->Title.ToUtf8()) << i;
    const std::string own = NonMenuSystem::RatingText(Skin(), e->UsRating, e->CanadianRating).ToUtf8();
    EXPECT_EQ(seenRating(), own) << i << " " << e->Title.ToUtf8();
    if (own != onNow) ++differing;
    Press("down");
    Run(300);
  }
  // The walk passed programmes whose rating differs from the one on now.
  EXPECT_GT(differing, 0);
}

// In each menu language the guide's title, headings and the details pane
// read whole: no text shortened to "..." and none running past its field.
TEST_F(FullGuideTest, TheTitleHeadingsAndDetailsReadWholeInEveryLanguage) {
  for (int32_t language : {0, 1, 2}) {
    ChooseMenuLanguage(language);
    ASSERT_EQ(Skin()->OnGetMenuLanguage(), language) << SeenList();
    Press("guide");
    Run(500);
    Channels::FullEPGDialog* g = Guide();
    ASSERT_NE(g, nullptr);
    Press("right");
    Press("down", 2);
    Run(300);
    int checked = 0;
    for (const Core::SeenText& t : SeenTexts()) {
      if (t.where.find("Channels::FullEPGDialog") == std::string::npos || t.where.find("ListForm::") != std::string::npos) continue;
      auto* text = const_cast<Views::Text*>(kv::Cast<Views::Text>(const_cast<Core::View*>(t.view)));
      ASSERT_NE(text, nullptr) << t.Describe();
      const ge::TextLayout l = text->GetLayout();
      const bool shortened = !l.lines.empty() && l.lines.front().ellipsis;
      EXPECT_FALSE(shortened) << "language " << language << ": " << t.Describe();
      EXPECT_TRUE(t.Readable()) << "language " << language << ": " << t.Describe();
      ++checked;
    }
    EXPECT_GE(checked, 6) << SeenList();
    Press("guide");
    Run(300);
  }
}

// A channel that carries no guide shows "No information available" in the
// details pane and no rating beside it: none made up.
TEST_F(FullGuideTest, AChannelWithoutGuideDataShowsNoRating) {
  Structures::VirtualChannel* now = W()->GetCurrentChannel();
  ASSERT_NE(now, nullptr);
  sim::SetChannelGuide(Tv(), now->Major, now->Minor, {});
  Press("guide");
  Channels::FullEPGDialog* g = Guide();
  ASSERT_NE(g, nullptr);
  Run(500);
  EXPECT_TRUE(Sees("No information available")) << SeenList();
  for (const Core::SeenText& t : SeenTexts())
    EXPECT_NE(t.view, &g->Info.Rating) << "a rating without guide data: " << t.text;
}
