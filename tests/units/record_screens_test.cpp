// The scheduled-recordings and recorded-shows screens through the whole
// system: the set's timers and recordings listed, the programme panel, OK
// editing a timer, red deleting after the confirmation, volume and mute,
// and the census after many openings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ge/surface.h"
#include "platform/xpm/xpm_record.h"
#include "record_support.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/Constants/MessageTypes.h"
#include "units/Forms/ImageIndicator.h"
#include "units/ListForm/RecordLists.h"
#include "units/ListForm/RowColumns.h"
#include "units/MenuSystem/LiveMenu.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/Record/RecordListScreens.h"
#include "units/Structures/LocalTime.h"

namespace {

using Record::RecordedShowsDialog;
using Record::ScheduledRecordDialog;

class RecordScreensTest : public recordtest::RecordTest {
 protected:
  // A timer in the set and its show in the database, `days` from now;
  // sourceType 2: set from the guide.
  void Schedule(int32_t timer, int32_t days, int32_t seconds, int32_t timesType, int32_t sourceType, int32_t status,
                const char* title) {
    Structures::LocalTime* at = W()->GetCurrentTime()->AddTicks(int64_t{days} * 86400 + timer * 7200);
    const XPM_LocalTime start{0, at->Minute, at->Hour, at->Day, at->Month, at->Year, 0, 0, 0};
    XPM_TimerRecord t{};
    t.enabled = 1;
    t.start = start;
    t.duration = seconds;
    t.daysOfWeek = 1 << ((at->Weekday + 7) % 7);
    t.major = 2;
    t.minor = 1;
    t.timesType = timesType;
    t.sourceType = sourceType;
    ASSERT_EQ(XPM_SetTimer(timer, t), XPM_OK);
    DB_ScheduleBlock b{};
    b.timerId = timer;
    b.start = start;
    b.duration = std::max(1, seconds / 60);
    b.major = 2;
    b.minor = 1;
    ASSERT_EQ(DB_Insert_Scheduled_Data(timer + 100, &b, 0, 0, "Ch", title, "What it is about"), DB_OK);
    ASSERT_EQ(DB_CheckOut_Timer(timer), DB_OK);
    if (status != 0) XPM_Update_Scheduled_Show_Status(timer, status);
  }
  void Recorded(const char* title, const std::string& path, int32_t seconds, bool withProgramme,
                const char* description = "A recorded programme") {
    DB_RecordedEntry e{};
    e.status = 2;
    e.major = 2;
    e.minor = 1;
    e.duration = seconds;
    e.start = 1700000000;
    if (withProgramme) {
      e.eventId = 7;
      e.eventStart = e.start;
      e.eventDuration = seconds;
      std::strncpy(e.description, description, DB_DESCRIPTION_MAX);
    }
    std::strncpy(e.title, title, DB_TITLE_MAX);
    std::strncpy(e.path, path.c_str(), DB_PATH_MAX);
    int32_t id = 0;
    ASSERT_EQ(sim::AddRecordedShow(Tv(), e, &id), DB_OK);
  }
  // The duration column of show i of ManyRecordings (600 + 60 i seconds).
  static std::string DurationOf(int i) { return ListForm::DurationText(600 + 60 * i).ToUtf8(); }
  // Menu > Record and its row that opens `cls`.
  template <class T>
  T* OpenFromRecordMenu() {
    Ms()->SetMenuIndex(1, 7);
    Press("menu");
    Settle();
    Press("ok");
    Settle();
    MenuSystem::VidiSubMenu* page = Page();
    if (!page) return nullptr;
    for (int i = 0; i < page->ItemsNum; ++i) {
      auto* item = kv::Cast<MenuSystem::VidiSubMenuItem>(Focused());
      if (item && item->NextState == &T::StaticClass()) break;
      Step("down");
    }
    Press("ok");
    Settle();
    auto* s = Open<T>();
    return s && s->IsOpen() ? s : nullptr;
  }
  // Presses yes on the open confirmation of `type`.
  bool ConfirmYes(int32_t type) {
    auto* d = Open<NonMenuSystem::ConfirmMultiOptionDialog>();
    if (!d || !d->IsOpen() || d->ConfirmType != type) return false;
    for (int i = 0; i < 3 && Focused() != &d->YesButton(); ++i) Press("left");
    if (Focused() != &d->YesButton()) return false;
    Press("ok");
    Settle();
    return true;
  }
  // Pixels of the OSD in `r` that differ between two captures.
  static int Differ(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    int n = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
    return n;
  }
  std::vector<uint32_t> Pixels(kv::Rect r) {
    Settle();
    const ge::Surface& s = Osd();
    std::vector<uint32_t> out;
    for (int32_t y = r.y1; y < r.y2; ++y)
      for (int32_t x = r.x1; x < r.x2; ++x) out.push_back(s.Row(y)[x]);
    return out;
  }
  // Pixels of a row between x1 and x2 (the row's own x) that differ from
  // the row's background just before x1, along its middle lines.
  int Drawn(Core::View& row, int32_t x1, int32_t x2) {
    Settle();
    kv::Rect r = row.Bounds();
    for (Core::View* v = row.Owner(); v; v = v->Owner()) r = r.Move(v->Bounds().Origin());
    const ge::Surface& s = Osd();
    int n = 0;
    for (int32_t y = r.y1 + 6; y < r.y2 - 6; ++y)
      for (int32_t x = r.x1 + x1; x < r.x1 + x2; ++x) n += s.Row(y)[x] != s.Row(y)[r.x1 + x1 - 4];
    return n;
  }
  void ExpectVolumeKeys(NonMenuSystem::WidgetClass* screen, Views::Text& line) {
    // Vol+ raises from 0 and Vol- lowers from 100, as in live TV; past the
    // ends the keys only show the level.
    for (int32_t start : {0, 50, 100}) {
      W()->OnSetVolume(start);
      Press("vol+");
      const int32_t up = W()->OnGetVolume();
      EXPECT_EQ(up, std::min(start + 1, 100)) << start;
      Press("vol-");
      const int32_t down = std::max(up - 1, 0);
      EXPECT_EQ(W()->OnGetVolume(), down) << start;
      EXPECT_TRUE(line.IsVisible());
      EXPECT_TRUE(line.OnGetString().ToUtf8().ends_with(" " + std::to_string(down))) << line.OnGetString().ToUtf8();
    }
    W()->OnSetVolume(0);
    Press("vol-");
    EXPECT_EQ(W()->OnGetVolume(), 0);
    Run(2500);
    EXPECT_FALSE(line.IsVisible());
    // Mute: the word for two seconds; off again at once.
    const int32_t mute = W()->OnGetMute();
    Press("mute");
    EXPECT_NE(W()->OnGetMute(), mute);
    Press("mute");
    EXPECT_EQ(W()->OnGetMute(), mute);
    EXPECT_FALSE(line.IsVisible());
    EXPECT_TRUE(screen->IsOpen());
  }
};

TEST_F(RecordScreensTest, ScheduledListsTheTimersWithThePanelForGuideTimersOnly) {
  Schedule(3, 1, 5400, 4, 2, 0, "Late Film");
  Schedule(4, 2, 1800, 2, 1, 0, "By hand");
  ScheduledRecordDialog* s = OpenFromRecordMenu<ScheduledRecordDialog>();
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->List.GetItemsNum(), 2);
  auto* film = kv::Cast<ListForm::ScheduledRecordListItem>(s->List.GetFocusedRow());
  ASSERT_NE(film, nullptr);
  EXPECT_EQ(film->OnGetDurationText().ToUtf8(), "01:30");
  // Its own columns are drawn: the source kind, the status, repeat and
  // active icons between the length and the medium.
  EXPECT_GT(Drawn(*film, 520, 720), 40);
  // A timer from the guide: the panel shows its programme, drawn.
  Settle();
  Record::EPGInfoForm& panel = s->Parts.Info;
  EXPECT_TRUE(panel.TitleText.IsVisible());
  EXPECT_EQ(panel.OnGetTitle().ToUtf8(), "Late Film");
  EXPECT_FALSE(panel.TimeSpan.OnGetString().Empty());
  const kv::Rect title = panel.TitleText.Bounds().MoveTo({panel.Bounds().x1 + panel.TitleText.Bounds().x1,
                                                         panel.Bounds().y1 + panel.TitleText.Bounds().y1});
  const auto shown = Pixels(title);
  // A timer set by hand: the panel's programme is hidden.
  Press("down");
  Settle();
  EXPECT_FALSE(panel.TitleText.IsVisible());
  EXPECT_GT(Differ(shown, Pixels(title)), 20);
  EXPECT_FALSE(s->Parts.Number.OnGetString().Empty());
  EXPECT_FALSE(s->Parts.Clock.OnGetString().Empty());
  // The next key still moves the list.
  Press("up");
  EXPECT_EQ(s->List.GetFocusedRow(), film);
}

// Both lists name their columns over the rows.
TEST_F(RecordScreensTest, BothListsShowTheirColumnHeadings) {
  Schedule(3, 1, 5400, 4, 2, 0, "Late Film");
  ScheduledRecordDialog* s = OpenFromRecordMenu<ScheduledRecordDialog>();
  ASSERT_NE(s, nullptr);
  Run(200);
  for (const char* head : {"CH", "Title", "Date", "Length", "Type", "Status", "Active"})
    EXPECT_TRUE(Sees(head)) << head << "\n" << SeenList();
}

// The focused timer saved from the editor shows its new time and length
// at once, as a redraw of the whole screen shows them; saved unchanged, its
// row looks the same.
TEST_F(RecordScreensTest, ASavedTimerShowsItsNewTimeAtOnce) {
  Schedule(3, 1, 5400, 4, 2, 0, "Late Film");
  Schedule(4, 2, 1800, 2, 1, 0, "By hand");
  ScheduledRecordDialog* s = OpenFromRecordMenu<ScheduledRecordDialog>();
  ASSERT_NE(s, nullptr);
  auto* film = kv::Cast<ListForm::ScheduledRecordListItem>(s->List.GetFocusedRow());
  ASSERT_NE(film, nullptr);
  const kv::Rect row = film->GetAbsoluteBounds().Intersect({0, 0, Osd().width, Osd().height});
  const std::vector<uint32_t> before = Pixels(row);
  auto save = [&] {
    auto* msg = kv::New<Structures::Message>();
    msg->Initialize(Constants::MSG_UPDATE_RECORD_TYPE, nullptr);
    s->List.HandleMessage(msg);
    Run(1);  // a pass: the screen is drawn again where it changed
  };
  Skin()->OnSetActiveTimerId(3);
  save();
  EXPECT_EQ(Differ(before, Pixels(row)), 0);
  // A day, an hour and a minute later, and ten minutes long.
  Skin()->OnSetTimerStartTime(Skin()->OnGetTimerStartTime()->AddTicks(86400 + 3600 + 60));
  Skin()->OnSetTimerDuration(600);
  save();
  const std::vector<uint32_t> edited = Pixels(row);
  EXPECT_GT(Differ(before, edited), 20);
  App().InvalidateAll();
  Run(1);
  EXPECT_EQ(Differ(edited, Pixels(row)), 0);
}

// A full page of timers with more to come: a reload shows each show on its
// row, lights the next-page mark and reads the timer of each row shown
// once, no other timer and none twice.
TEST_F(RecordScreensTest, AReloadReadsTheTimerOfEachRowShownOnce) {
  for (int32_t timer = 3; timer < 13; ++timer) {
    const std::string title = "Show " + std::to_string(timer);
    Schedule(timer, 1, 1800, 4, 1, 0, title.c_str());
  }
  ScheduledRecordDialog* s = OpenFromRecordMenu<ScheduledRecordDialog>();
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->List.GetItemsNum(), 10);
  auto* last = kv::Cast<ListForm::ScheduledRecordListItem>(s->List.GetRows().back());
  ASSERT_NE(last, nullptr);
  const kv::Rect lastRow = last->GetAbsoluteBounds().Intersect({0, 0, Osd().width, Osd().height});
  const std::vector<uint32_t> before = Pixels(lastRow);
  ClearCallLog();
  s->List.Initialize(nullptr);  // as the screen reloads its list
  Settle();
  std::vector<std::string> titles, reads;
  for (Forms::Ctrl* row : s->List.GetRows()) titles.push_back(kv::Cast<ListForm::ListItem>(row)->OnGetText().ToUtf8());
  for (int32_t timer = 3; timer < 11; ++timer) reads.push_back("XPM_GetTimer(" + std::to_string(timer) + ")");
  EXPECT_EQ(titles, (std::vector<std::string>{"Show 3", "Show 4", "Show 5", "Show 6", "Show 7", "Show 8", "Show 9",
                                              "Show 10"}));
  EXPECT_EQ(Calls("XPM_GetTimer"), reads);
  EXPECT_TRUE(s->List.NextIndicator->OnGetEnabled());
  EXPECT_FALSE(s->List.PrevIndicator->OnGetEnabled());
  EXPECT_EQ(Differ(before, Pixels(lastRow)), 0) << "the last row is drawn as it was";
  // The last show comes up on the last row; no mark is left for a next page.
  for (int i = 0; i < 9; ++i) Press("down");
  Settle();
  EXPECT_EQ(kv::Cast<ListForm::ListItem>(s->List.GetFocusedRow())->OnGetText().ToUtf8(), "Show 12");
  EXPECT_EQ(s->List.GetFocusedRow(), s->List.GetRows().back());
  EXPECT_FALSE(s->List.NextIndicator->OnGetEnabled());
  EXPECT_TRUE(s->List.PrevIndicator->OnGetEnabled());
}

// A reload of shows whose titles, descriptions and times stayed still shows
// what else changed: the status the scheduler gives a show.
TEST_F(RecordScreensTest, AReloadShowsANewStatusOfAShowThatKeptItsTitle) {
  Schedule(3, 1, 5400, 4, 2, 0, "Late Film");
  Schedule(4, 2, 1800, 2, 1, 0, "By hand");
  ScheduledRecordDialog* s = OpenFromRecordMenu<ScheduledRecordDialog>();
  ASSERT_NE(s, nullptr);
  auto* film = kv::Cast<ListForm::ScheduledRecordListItem>(s->List.GetRows().front());
  ASSERT_NE(film, nullptr);
  ASSERT_EQ(film->StatusIcon(), Resources::LoadResource(Bitmaps::RecordStatusWillRecord));
  const std::vector<uint32_t> waiting = Pixels(film->GetAbsoluteBounds());
  XPM_Update_Scheduled_Show_Status(3, 1);  // it records now
  s->List.Initialize(nullptr);
  Settle();
  film = kv::Cast<ListForm::ScheduledRecordListItem>(s->List.GetRows().front());
  ASSERT_NE(film, nullptr);
  EXPECT_EQ(film->OnGetText().ToUtf8(), "Late Film");
  EXPECT_EQ(film->StatusIcon(), Resources::LoadResource(Bitmaps::RecordStatusInRecording));
  EXPECT_GT(Differ(waiting, Pixels(film->GetAbsoluteBounds())), 20);
  // Reloaded again unchanged, it looks the same.
  const std::vector<uint32_t> recording = Pixels(film->GetAbsoluteBounds());
  s->List.Initialize(nullptr);
  Settle();
  EXPECT_EQ(Differ(recording, Pixels(film->GetAbsoluteBounds())), 0);
  EXPECT_EQ(kv::Cast<ListForm::ScheduledRecordListItem>(s->List.GetRows()[1])->OnGetText().ToUtf8(), "By hand");
}

TEST_F(RecordScreensTest, OkEditsTheFocusedTimerAndANonTunerInputGives47) {
  Schedule(3, 1, 5400, 4, 2, 0, "Late Film");
  ScheduledRecordDialog* s = OpenFromRecordMenu<ScheduledRecordDialog>();
  ASSERT_NE(s, nullptr);
  Press("ok");
  Settle();
  Record::RecordTimerDialog* e = Editor();
  ASSERT_NE(e, nullptr);
  EXPECT_TRUE(e->IsUpdate);
  EXPECT_EQ(Skin()->OnGetActiveTimerId(), 3);
  EXPECT_EQ(Active()->Duration, 5400);
  EXPECT_EQ(e->DoneButton.OnGetText().ToUtf8(), "Update");
  // Back leaves the editor; the list has the keys again.
  Press("back");
  Settle();
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_TRUE(s->IsOpen());
  // Away from a tuner the timers cannot be edited.
  Nms()->ClearAll();
  Settle();
  ASSERT_TRUE(SwitchToSourceType(Constants::XPM_SOURCE_TYPE_AV_HDMI));
  Nms()->ClearAll();
  Settle();
  s = OpenFromRecordMenu<ScheduledRecordDialog>();
  ASSERT_NE(s, nullptr);
  EXPECT_FALSE(s->Parts.Number.IsVisible());
  Press("ok");
  Settle();
  EXPECT_EQ(BarType(), Constants::DirectMsgTypeDisableTimerSetting);
  EXPECT_EQ(Editor(), nullptr);
}

// The editor opened on a timer of the list stands on the rows: the column
// headings and the rows' map stay as they were drawn, the panel's programme
// hides under it and shows again once it goes, and the list moves again.
TEST_F(RecordScreensTest, TheEditorOverTheListLeavesTheHeadingsWholeAndHidesThePanelUntilItGoes) {
  Schedule(3, 1, 5400, 4, 2, 0, "Late Film");
  Schedule(4, 2, 1800, 2, 1, 0, "By hand");
  ScheduledRecordDialog* s = OpenFromRecordMenu<ScheduledRecordDialog>();
  ASSERT_NE(s, nullptr);
  Settle();
  kv::Rect headings = s->Parts.Headers[0].GetAbsoluteBounds();
  for (const Views::Text& h : s->Parts.Headers)
    if (!h.Bounds().IsEmpty()) headings = headings.Union(h.GetAbsoluteBounds());
  Record::EPGInfoForm& panel = s->Parts.Info;
  const kv::Rect title = panel.TitleText.GetAbsoluteBounds();
  auto* film = s->List.GetFocusedRow();
  ASSERT_NE(film, nullptr);
  const kv::Rect row = film->GetAbsoluteBounds();
  const kv::Rect map{row.x1, row.y1, row.x1 + ListForm::RecordColumns::kMap.Right(row.W()), row.y2};
  const auto headingsBefore = Pixels(headings);
  const auto titleBefore = Pixels(title);
  const auto mapBefore = Pixels(map);
  Press("ok");
  Settle();
  Record::RecordTimerDialog* e = Editor();
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(Differ(headingsBefore, Pixels(headings)), 0);
  EXPECT_EQ(Differ(mapBefore, Pixels(map)), 0);
  EXPECT_GT(Differ(titleBefore, Pixels(title)), 20);
  EXPECT_GE(e->Bounds().y1, headings.y2);
  Press("back");
  Settle();
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_EQ(Differ(titleBefore, Pixels(title)), 0);
  Press("down");
  EXPECT_NE(s->List.GetFocusedRow(), film);
}

TEST_F(RecordScreensTest, RedDeletesATimerAfterConfirmation62ButNotOneThatRecords) {
  Schedule(3, 0, 3600, 2, 1, 1, "On now");
  Schedule(4, 1, 3600, 4, 2, 0, "Tomorrow");
  ScheduledRecordDialog* s = OpenFromRecordMenu<ScheduledRecordDialog>();
  ASSERT_NE(s, nullptr);
  Press("red");
  Settle();
  EXPECT_EQ(BarType(), 50);
  Run(5000);
  Settle();
  Press("down");
  Press("red");
  Settle();
  ASSERT_TRUE(ConfirmYes(62));
  // Gone from the scheduler and from the set's timers; the list is rebuilt.
  EXPECT_FALSE(InDatabase(4));
  XPM_TimerRecord t;
  EXPECT_TRUE(!SetTimerOf(4, &t) || t.daysOfWeek == 0);
  EXPECT_FALSE(CheckedOut(4));
  EXPECT_TRUE(InDatabase(3));
  EXPECT_EQ(s->List.GetItemsNum(), 1);
  EXPECT_TRUE(s->IsOpen());
  EXPECT_EQ(Focused(), s->List.GetFocusedRow());
}

// A description longer than its box: fast forward scrolls it a line on,
// rewind back to its start; the list keeps its row.
TEST_F(RecordScreensTest, ForwardAndRewindScrollALongDescription) {
  std::string text;
  for (int i = 1; i <= 12; ++i) text += "Sentence " + std::to_string(i) + " of a programme that goes on and on. ";
  Recorded("Evening News", "/mnt/usb/sda1/REC_1_0.ts", 1800, true, text.c_str());
  RecordedShowsDialog* s = OpenFromRecordMenu<RecordedShowsDialog>();
  ASSERT_NE(s, nullptr);
  Settle();
  const kv::Rect box = s->Parts.Info.Description.GetAbsoluteBounds();
  ASSERT_FALSE(box.IsEmpty());
  Core::View* row = s->List.GetFocusedRow();
  const std::vector<uint32_t> start = Pixels(box);
  Press("forward");
  EXPECT_GT(Differ(Pixels(box), start), 100) << "fast forward left the description where it was";
  Press("rewind");
  EXPECT_EQ(Differ(Pixels(box), start), 0) << "rewind did not bring the description back to its start";
  EXPECT_EQ(s->List.GetFocusedRow(), row);
}

TEST_F(RecordScreensTest, RecordedListsTheShowsAndRedDeletesAfterConfirmation61) {
  Recorded("Evening News", "/mnt/usb/sda1/REC_1_0.ts", 1800, true);
  Recorded("Quiz", "/mnt/usb/sda1/REC_2_0.ts", 3600, false);
  RecordedShowsDialog* s = OpenFromRecordMenu<RecordedShowsDialog>();
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->List.GetItemsNum(), 2);
  Settle();
  EXPECT_TRUE(s->Parts.Info.TitleText.IsVisible());
  EXPECT_EQ(s->Parts.Info.OnGetDescriptionText().ToUtf8(), "A recorded programme");
  // The row's file name is drawn.
  auto* news = kv::Cast<ListForm::RecordedShowsListItem>(s->List.GetFocusedRow());
  ASSERT_NE(news, nullptr);
  EXPECT_FALSE(news->OnGetFileText().Empty());
  EXPECT_GT(Drawn(*news, 556, 700), 40);
  // OK does nothing; the screen stays.
  Press("ok");
  Settle();
  EXPECT_TRUE(s->IsOpen());
  Press("down");
  Settle();
  EXPECT_FALSE(s->Parts.Info.TitleText.IsVisible());
  Press("red");
  Settle();
  ASSERT_TRUE(ConfirmYes(61));
  EXPECT_EQ(s->List.GetItemsNum(), 1);
  DB_RecordedEntry e{};
  ASSERT_EQ(DB_Get_First_Recorded_Show(&e), DB_OK);
  EXPECT_STREQ(e.title, "Evening News");
  EXPECT_NE(DB_Get_Recorded_Show_Next(e.id, &e), DB_OK);
}

// A recorded show's row reads on one line: the title stands on the line of
// the channel, date, time and length; the "File" heading stands over the
// file names.
TEST_F(RecordScreensTest, TheRecordedRowsCellsShareTheirLineAndTheFileHeadingItsColumn) {
  Recorded("Late Show", "/mnt/usb/sda1/REC_1_0.ts", 1800, true);
  RecordedShowsDialog* s = OpenFromRecordMenu<RecordedShowsDialog>();
  ASSERT_NE(s, nullptr);
  Settle();
  const Core::SeenText* title = nullptr;
  const Core::SeenText* file = nullptr;
  const Core::SeenText* heading = nullptr;
  std::vector<Core::SeenText> seen = SeenTexts();
  std::vector<const Core::SeenText*> cells;
  for (const Core::SeenText& t : seen) {
    if (t.ink.IsEmpty()) continue;
    if (t.where.find("RecordedShowsListItem") != std::string::npos) {
      if (t.text == "Late Show") title = &t;
      else if (t.text.find("REC_1_0") != std::string::npos) file = &t;
      else if (t.text.find_first_of("gjpqy,") == std::string::npos) cells.push_back(&t);
    } else if (t.text == "File") {
      heading = &t;
    }
  }
  ASSERT_NE(title, nullptr) << SeenList();
  ASSERT_NE(file, nullptr) << SeenList();
  ASSERT_NE(heading, nullptr) << SeenList();
  ASSERT_GE(cells.size(), 3u) << SeenList();
  for (const Core::SeenText* c : cells)
    EXPECT_LE(std::abs(c->ink.y2 - title->ink.y2), 1) << "\"" << c->text << "\" beside the title";
  EXPECT_LE(std::abs(heading->ink.x1 - file->ink.x1), 4) << "the heading is not over the file names";
}

// The recorded show's details read whole in every menu language: the time
// span (longer on the Spanish 12-hour clock) is not shortened to "...".
TEST_F(RecordScreensTest, TheRecordedShowsDetailsReadWholeInEveryLanguage) {
  Recorded("Evening News", "/mnt/usb/sda1/REC_1_0.ts", 1800, true);
  for (int32_t language : {0, 1, 2}) {
    ChooseMenuLanguage(language);
    RecordedShowsDialog* s = OpenFromRecordMenu<RecordedShowsDialog>();
    ASSERT_NE(s, nullptr) << language;
    Settle();
    int32_t checked = 0;
    Record::EPGInfoForm& pane = s->Parts.Info;
    for (const Core::SeenText& t : SeenTexts()) {
      Views::Text* text = nullptr;
      for (Views::Text* v : {&pane.TimeSpan, &pane.TitleText, &pane.RatingText})
        if (t.view == v) text = v;
      if (!text) continue;
      const ge::TextLayout l = text->GetLayout();
      EXPECT_FALSE(!l.lines.empty() && l.lines.front().ellipsis) << language << ": " << t.Describe();
      EXPECT_TRUE(t.Readable()) << language << ": " << t.Describe();
      ++checked;
    }
    EXPECT_GE(checked, 2) << SeenList();
    EXPECT_FALSE(s->Parts.Info.TimeSpan.OnGetString().Empty());
    Ms()->TearDownMenus();
    Settle();
  }
}

// Many recordings: each page shows its own shows, read as the page comes up.
// The database's ids have a gap (a show deleted earlier), so a row that took
// its show by position in the id list, not by id, would show the wrong one.
TEST_F(RecordScreensTest, ManyRecordingsShowTheRightRowsOnEveryPage) {
  constexpr int kShows = 21;
  for (int i = 0; i <= kShows; ++i) {
    char title[24];
    std::snprintf(title, sizeof title, "Show %02d", i);
    Recorded(title, "/mnt/usb/sda1/REC_" + std::to_string(i) + ".ts", 600 + 60 * i, false);
  }
  // Show 03 goes: 21 shows stay, ids 1-3 and 5-22.
  DB_RecordedEntry e{};
  ASSERT_EQ(DB_Get_First_Recorded_Show(&e), DB_OK);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(DB_Get_Recorded_Show_Next(e.id, &e), DB_OK);
  ASSERT_STREQ(e.title, "Show 03");
  ASSERT_EQ(XPM_Delete_Recorded_Show(e.id), DB_OK);
  std::vector<std::string> titles;
  for (int i = 0; i <= kShows; ++i)
    if (i != 3) titles.push_back((i < 10 ? "Show 0" : "Show ") + std::to_string(i));

  ClearCallLog();
  RecordedShowsDialog* s = OpenFromRecordMenu<RecordedShowsDialog>();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->List.GetItemsNum(), kShows);
  // Opening reads the id list and the first page's eight shows, and the
  // ninth, whose existence lights the next-page mark; no walk.
  EXPECT_EQ(Calls("DB_Get_Recorded_Show_IDs").size(), 1u);
  EXPECT_EQ(Calls("DB_Get_Recorded_Show").size(), 9u);
  EXPECT_EQ(Calls("DB_Get_Recorded_Show_Next").size(), 0u);

  // The visible rows top to bottom: their captions, and the focused one's.
  const auto rows = [&] {
    std::vector<ListForm::RecordedShowsListItem*> out;
    for (Forms::Ctrl* c : s->List.GetAllRows())
      if (auto* r = kv::Cast<ListForm::RecordedShowsListItem>(c); r && r->IsVisible()) out.push_back(r);
    std::sort(out.begin(), out.end(), [](auto* a, auto* b) { return a->Bounds().y1 < b->Bounds().y1; });
    return out;
  };
  const auto shown = [&] {
    std::vector<std::string> out;
    for (auto* r : rows()) out.push_back(r->OnGetText().ToUtf8());
    return out;
  };
  const auto page = [&](size_t from, size_t n) {
    return std::vector<std::string>(titles.begin() + static_cast<std::ptrdiff_t>(from),
                                    titles.begin() + static_cast<std::ptrdiff_t>(std::min(titles.size(), from + n)));
  };
  const auto focusedTitle = [&] {
    auto* r = kv::Cast<ListForm::RecordedShowsListItem>(s->List.GetFocusedRow());
    return r ? r->OnGetText().ToUtf8() : std::string();
  };
  const kv::Rect list = s->List.Bounds();
  const kv::Rect firstRow{list.x1 + 100, list.y1, list.x1 + 300, list.y1 + 34};

  EXPECT_EQ(shown(), page(0, 8));
  EXPECT_EQ(focusedTitle(), "Show 00");
  // The page marks: more below, nothing above.
  EXPECT_FALSE(s->List.PrevIndicator->OnGetEnabled());
  EXPECT_TRUE(s->List.NextIndicator->OnGetEnabled());
  // Every row has its own duration (show 03 is gone: the fifth row is show 05).
  EXPECT_EQ(rows()[4]->OnGetDurationText().ToUtf8(), DurationOf(5));
  const std::vector<uint32_t> top = Pixels(firstRow);

  Press("next");
  Settle();
  EXPECT_EQ(shown(), page(8, 8));
  EXPECT_EQ(focusedTitle(), titles[8]);
  EXPECT_EQ(rows()[0]->OnGetDurationText().ToUtf8(), DurationOf(9));
  const std::vector<uint32_t> second = Pixels(firstRow);
  EXPECT_GT(Differ(top, second), 20) << "the first row's caption is redrawn with the new page's show";
  EXPECT_FALSE(s->Parts.Info.TitleText.IsVisible()) << "a show without programme keeps the panel hidden";

  // To the end: the last page, then a further page key stays there.
  Press("next");
  Settle();
  Press("next");
  Settle();
  const std::vector<std::string> last = shown();
  ASSERT_FALSE(last.empty());
  EXPECT_EQ(last.back(), titles.back());
  EXPECT_EQ(focusedTitle(), titles.back());
  EXPECT_EQ(last, page(titles.size() - last.size(), last.size()));
  EXPECT_EQ(rows().back()->OnGetDurationText().ToUtf8(), DurationOf(kShows));
  EXPECT_TRUE(s->List.PrevIndicator->OnGetEnabled());
  EXPECT_FALSE(s->List.NextIndicator->OnGetEnabled());
  Press("next");
  Settle();
  EXPECT_EQ(shown(), last);
  EXPECT_EQ(focusedTitle(), titles.back());

  // Back up page by page to the first show.
  Press("prev");
  Settle();
  EXPECT_EQ(focusedTitle(), titles[titles.size() - 1 - 8]);
  EXPECT_EQ(shown().back(), focusedTitle()) << "the focus stays on the row it had";
  Press("prev");
  Settle();
  Press("prev");
  Settle();
  EXPECT_EQ(focusedTitle(), "Show 00");
  EXPECT_EQ(shown(), page(0, 8));
  EXPECT_EQ(Differ(top, Pixels(firstRow)), 0) << "the first page is drawn as it was";
  // Every show was read once at most, however often its page came up.
  EXPECT_LE(Calls("DB_Get_Recorded_Show").size(), static_cast<size_t>(kShows));
}

// A timer records from its own medium on its own tuner, whatever the set
// shows when it comes due: a cable timer of TV 1 while TV 1 shows the
// antenna, and a cable timer set on TV 2 while TV 1 is watched on the
// antenna. The recorded shows list both as CABLE, also after a restart. A
// timer whose channel the set no longer has tells the viewer so.
TEST_F(RecordScreensTest, TimersRecordFromTheirOwnMediumAndTunerWhateverTheSetShows) {
  sim::MountUsbDisk(Tv());
  // TV 2 on cable; TV 1 stays on the antenna and is watched.
  ASSERT_EQ(W()->SetSource(0, sim::kSourceTv2), 0);
  Settle();
  Skin()->OnSetAntCableIn(1);
  Settle();
  ASSERT_EQ(W()->SetSource(0, sim::kSourceTv), 0);
  Settle();
  ASSERT_EQ(Skin()->OnGetAntCableIn(), 0);
  SetClock(2026, 12, 8, 20, 15);
  // Every day for ten minutes: TV 1's at 20:30 on cable 15-1, TV 2's at
  // 21:00 on cable 22-1, and at 21:30 one on a channel no map has.
  const auto store = [](int32_t id, int32_t hour, int32_t minute, int32_t source, int32_t map, int32_t major) {
    XPM_TimerRecord r{};
    r.enabled = 1;
    r.start = XPM_LocalTime{0, minute, hour, 8, 11, 126, 0, 0, 0};
    r.duration = 600;
    r.daysOfWeek = 0x7f;
    r.source = source;
    r.major = major;
    r.minor = 1;
    r.timesType = Record::kTimesDaily;
    r.sourceType = 1;
    r.mapId = map;
    return XPM_SetTimer(id, r) == XPM_OK;
  };
  ASSERT_TRUE(store(1, 20, 30, sim::kSourceTv, 1, 15));
  ASSERT_TRUE(store(2, 21, 0, sim::kSourceTv2, 1, 22));
  ASSERT_TRUE(store(3, 21, 30, sim::kSourceTv, 0, 99));
  Settle();

  Run(15 * 60 * 1000 + 20000);  // 20:30:20: the first records
  EXPECT_EQ(Skin()->GetLiveTVState(0), XPM_TV_STATE_RECORD);
  EXPECT_FALSE(Sees("The recording failed")) << SeenList();
  Run(30 * 60 * 1000);  // 21:00:20: the second records on TV 2's tuner
  EXPECT_EQ(Skin()->GetLiveTVState(1), XPM_TV_STATE_RECORD);
  EXPECT_FALSE(Sees("The recording failed")) << SeenList();
  Run(30 * 60 * 1000);  // 21:30:20: the third cannot be made, and says so
  EXPECT_TRUE(Sees("The recording failed")) << SeenList();
  Run(15 * 60 * 1000);  // every recording has ended
  Nms()->ClearAll();
  Settle();

  for (const char* when : {"now", "after a restart"}) {
    SCOPED_TRACE(when);
    RecordedShowsDialog* s = OpenFromRecordMenu<RecordedShowsDialog>();
    ASSERT_NE(s, nullptr);
    Settle();
    ASSERT_EQ(s->List.GetItemsNum(), 2);
    std::vector<std::string> rows;
    for (const Core::SeenText& t : SeenTexts())
      if (t.where.find("RecordedShowsListItem") != std::string::npos) rows.push_back(t.shown);
    const auto count = [&rows](const char* text) { return std::count(rows.begin(), rows.end(), text); };
    EXPECT_EQ(count("15-1"), 1) << SeenList();
    EXPECT_EQ(count("22-1"), 1) << SeenList();
    EXPECT_EQ(count("CABLE"), 2) << SeenList();
    EXPECT_EQ(count("ANT"), 0) << SeenList();
    Press("exit");
    Settle();
    if (std::string(when) == "now") Restart();
  }
}

TEST_F(RecordScreensTest, VolumeAndMuteOnBothScreens) {
  ScheduledRecordDialog* s = OpenFromRecordMenu<ScheduledRecordDialog>();
  ASSERT_NE(s, nullptr);
  ExpectVolumeKeys(s, s->Parts.Volume);
  Press("exit");
  Settle();
  RecordedShowsDialog* r = OpenFromRecordMenu<RecordedShowsDialog>();
  ASSERT_NE(r, nullptr);
  ExpectVolumeKeys(r, r->Parts.Volume);
  // An empty list: no panel, red does nothing.
  EXPECT_FALSE(r->Parts.Info.TitleText.IsVisible());
  Press("red");
  Settle();
  EXPECT_EQ(Open<NonMenuSystem::ConfirmMultiOptionDialog>(), nullptr);
}

TEST_F(RecordScreensTest, EachScreenOpenedAndClosedFiftyTimesReturnsToItsBaseline) {
  Schedule(3, 1, 5400, 4, 2, 0, "Late Film");
  Recorded("Evening News", "/mnt/usb/sda1/REC_1_0.ts", 1800, true);
  for (const kv::Class* cls : {&ScheduledRecordDialog::StaticClass(), &RecordedShowsDialog::StaticClass()}) {
    const auto cycle = [&] {
      Nms()->OpenWithValue(cls, 0, Constants::MSG_FROM_NONMENUSYSTEM);
      Settle();
      Press("exit");
      Settle();
    };
    Log().Clear();
    cycle();
    // The panel opens inside its screen, without an error about its parent.
    EXPECT_FALSE(Log().Contains("has no parent")) << cls->name;
    const auto baseline = Census();
    for (int i = 0; i < 50; ++i) cycle();
    EXPECT_EQ(Census(), baseline) << cls->name;
  }
}

}  // namespace
