// The record timer editor through the whole system: opened from the record
// menu, each change written into the active timer, Done storing the timer in
// the set and the recording database, each refusal keeping the dialog open,
// the date, time and duration editors writing through, and the recordings
// that start at once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "record_support.h"
#include "units/Constants/MessageTypes.h"
#include "units/MenuSystem/LiveMenuPages.h"
#include "units/NonMenuSystem/DateTimeEditors.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/ListForm/ListClass.h"
#include "units/NonMenuSystem/OptionDialogs.h"
#include "platform/xpm/xpm_record.h"
#include "units/Structures/LocalTime.h"
#include "units/Structures/VirtualChannel.h"

namespace {

using Record::RecordTimerDialog;

class RecordTimerTest : public recordtest::RecordTest {
 protected:
  // A timer saved through the editor opened from the menu: on, of repeat
  // type `timesType`, at 20:30 for half an hour; then Exit. Its id, or -1
  // when the editor stayed open.
  int32_t SaveTimerAtHalfPastEight(int32_t timesType) {
    RecordTimerDialog* e = OpenEditorFromMenu();
    if (!e) return -1;
    const int32_t id = Skin()->OnGetActiveTimerId();
    Press("ok");  // on
    Skin()->OnSetTimerTimesType(timesType);
    e->UpdateTimeSettings(8, 30, 1);
    e->UpdateDurationSettings(0, 30);
    e->OnSetFocus(&e->DoneButton);
    Press("ok");
    Settle();
    if (Editor()) return -1;
    Press("exit");
    Settle();
    return id;
  }
};

TEST_F(RecordTimerTest, MenuOpensANewTimerThatDoneStoresInTheSetAndTheDatabase) {
  SetClock(2026, 12, 8, 20, 15);  // a Tuesday
  RecordTimerDialog* e = OpenEditorFromMenu();
  ASSERT_NE(e, nullptr);
  const int32_t id = Skin()->OnGetActiveTimerId();
  ASSERT_GE(id, 1);
  // Kind 1: now, one hour, unchecked; the date button waits for a one-time timer.
  EXPECT_EQ(e->Kind(), Record::kKindTimer);
  ASSERT_NE(Active(), nullptr);
  EXPECT_EQ(Active()->StartTime->Hour, 20);
  EXPECT_EQ(Active()->StartTime->Minute, 15);
  EXPECT_EQ(Active()->Duration, 3600);
  EXPECT_EQ(Active()->Enable, 0);
  EXPECT_FALSE(e->ActiveBox.OnGetIsChecked());
  EXPECT_EQ(e->DurationButton.OnGetText().ToUtf8(), "01:00");
  EXPECT_EQ(e->TimeButton.OnGetText().ToUtf8(), "08:15 PM");
  EXPECT_TRUE(e->DateButton.OnGetIsDisabled());
  EXPECT_EQ(Focused(), &e->ActiveBox);
  // The input and the channel on screen, as the set names them.
  const int32_t source = W()->GetCurrentSource(0);
  EXPECT_EQ(Active()->Source, source);
  EXPECT_EQ(e->InputButton.OnGetText().ToUtf8(), Skin()->GetSourceName(source).ToUtf8()) << W()->GetSourceIndex(source);
  Structures::VirtualChannel* channel = W()->GetCurrentChannel();
  EXPECT_EQ(Active()->ChannelMajor, channel->Major);
  EXPECT_EQ(Active()->ChannelMinor, channel->Minor);
  EXPECT_EQ(e->ChannelButton.OnGetText().ToUtf8(),
            Skin()->GetChannelNumberStr(true, channel->Major, channel->Minor).ToUtf8());
  // The check box writes the enable flag at once; nothing reaches the set yet.
  ClearCallLog();
  Press("ok");
  EXPECT_EQ(Active()->Enable, 1);
  Press("ok");
  EXPECT_EQ(Active()->Enable, 0);
  EXPECT_TRUE(Calls("XPM_SetTimer").empty());
  XPM_TimerRecord stored;
  EXPECT_FALSE(SetTimerOf(id, &stored) && stored.daysOfWeek != 0);
  // Done: the set holds the timer (off: nothing records), the database its
  // show, the id is checked out.
  ASSERT_TRUE(FocusBy("down", &e->DoneButton));
  Press("ok");
  Settle();
  ASSERT_TRUE(SetTimerOf(id, &stored));
  EXPECT_EQ(stored.enabled, 0);
  EXPECT_EQ(stored.duration, 3600);
  EXPECT_EQ(stored.start.hour, 20);
  EXPECT_EQ(stored.sourceType, Record::kKindTimer);
  EXPECT_GT(stored.major, 0);
  EXPECT_TRUE(InDatabase(id));
  EXPECT_TRUE(CheckedOut(id));
  // The editor left for the menu, which answers the next key.
  EXPECT_EQ(Editor(), nullptr);
  auto* page = kv::Cast<MenuSystem::VidiScheduleRecordMenu>(Page());
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(page->OnGetVisible());
  EXPECT_EQ(Focused(), page->Item(1));
  Step("down");
  EXPECT_EQ(page->CurrentItemIndex, 1);
  EXPECT_EQ(Focused(), page->Item(0));
}

// The input and channel a timer set by hand records are chosen from their
// pop-ups: each opens on the timer's own choice, the choice shows on its
// button at once (another input brings its own channels to the channel
// row), and Done stores what the buttons show.
TEST_F(RecordTimerTest, TheChosenInputAndChannelShowOnTheirButtonsAndDoneStoresThem) {
  SetClock(2026, 12, 8, 20, 15);
  RecordTimerDialog* e = OpenEditorFromMenu();
  ASSERT_NE(e, nullptr);
  const int32_t id = Skin()->OnGetActiveTimerId();
  const auto channelOf = [&](int32_t major, int32_t minor) {
    return Skin()->GetChannelNumberStr(true, major, minor).ToUtf8();
  };
  // Opens the button's pop-up; the text of the row it opens on.
  const auto open = [&](Network::OptionButton* button) -> std::string {
    if (!FocusBy("up", button) && !FocusBy("down", button)) return "not focused";
    Press("ok");
    Settle();
    auto* options = Open<NonMenuSystem::OptionDialog>();
    if (!options || !options->IsOpen()) return "no pop-up";
    auto* row = kv::Cast<ListForm::ListItem>(options->List().GetFocusedRow());
    return row ? row->OnGetText().ToUtf8() : "no row focused";
  };
  // The next input down the list: the second tuner.
  EXPECT_EQ(open(&e->InputButton), "TV");
  Press("down");
  Press("ok");
  Settle();
  EXPECT_EQ(e->InputButton.OnGetText().ToUtf8(), "TV 2");
  EXPECT_EQ(Active()->Source, sim::kSourceTv2);
  const std::string first = channelOf(Active()->ChannelMajor, Active()->ChannelMinor);
  EXPECT_EQ(e->ChannelButton.OnGetText().ToUtf8(), first);
  // Opened again, the pop-up stands on the second tuner; Back keeps it.
  EXPECT_EQ(open(&e->InputButton), "TV 2");
  Press("back");
  Settle();
  EXPECT_EQ(e->InputButton.OnGetText().ToUtf8(), "TV 2");
  // The next channel of that input.
  EXPECT_EQ(open(&e->ChannelButton), first);
  Press("down");
  Press("ok");
  Settle();
  const int32_t major = Active()->ChannelMajor, minor = Active()->ChannelMinor;
  EXPECT_NE(channelOf(major, minor), first);
  EXPECT_EQ(e->ChannelButton.OnGetText().ToUtf8(), channelOf(major, minor));
  EXPECT_EQ(open(&e->ChannelButton), channelOf(major, minor));
  Press("back");
  Settle();
  ASSERT_TRUE(FocusBy("down", &e->DoneButton));
  Press("ok");
  Settle();
  XPM_TimerRecord stored;
  ASSERT_TRUE(SetTimerOf(id, &stored));
  EXPECT_EQ(stored.source, sim::kSourceTv2);
  EXPECT_EQ(stored.major, major);
  EXPECT_EQ(stored.minor, minor);

  // An analogue channel of the first tuner ("3", no minor number of its
  // own) chosen in a new timer: its button shows it, the pop-up opens on it
  // again, and Done stores it as the set tunes it (minor 0).
  Press("exit");
  Settle();
  e = OpenEditorFromMenu();
  ASSERT_NE(e, nullptr);
  const int32_t second = Skin()->OnGetActiveTimerId();
  ASSERT_NE(second, id);
  EXPECT_EQ(e->InputButton.OnGetText().ToUtf8(), "TV");
  std::string row = open(&e->ChannelButton);
  auto* options = Open<NonMenuSystem::OptionDialog>();
  for (int i = 0; i < 20 && row != "3" && options; ++i) {
    Press("down");
    auto* focused = kv::Cast<ListForm::ListItem>(options->List().GetFocusedRow());
    row = focused ? focused->OnGetText().ToUtf8() : "";
  }
  ASSERT_EQ(row, "3");
  Press("ok");
  Settle();
  EXPECT_EQ(e->ChannelButton.OnGetText().ToUtf8(), "3");
  EXPECT_EQ(open(&e->ChannelButton), "3");
  Press("back");
  Settle();
  ASSERT_TRUE(FocusBy("down", &e->DoneButton));
  Press("ok");
  Settle();
  Run(500);
  EXPECT_EQ(BarType(), 0) << SeenList();
  EXPECT_EQ(Editor(), nullptr);
  ASSERT_TRUE(SetTimerOf(second, &stored));
  EXPECT_EQ(stored.source, sim::kSourceTv);
  EXPECT_EQ(stored.major, 3);
  EXPECT_EQ(stored.minor, 0);
}

TEST_F(RecordTimerTest, EachRefusalKeepsTheDialogOpenAndTheDatabaseUntouched) {
  SetClock(2026, 12, 8, 10, 0);
  RecordTimerDialog* e = OpenEditorFromMenu();
  ASSERT_NE(e, nullptr);
  const int32_t id = Skin()->OnGetActiveTimerId();
  ASSERT_TRUE(FocusBy("down", &e->DoneButton));
  struct Case {
    const char* what;
    int32_t failWith;  // XPM_SetTimer's answer, 0: the set's own
    int32_t message;   // 0: none
    const char* text;  // what the viewer reads
  };
  const Case cases[] = {{"duration", 41, 45, "The recording time is not valid"},
                        {"timer id", 5, 44, "The schedule is full"},
                        {"overlap", 39, 46, "This recording overlaps another one"},
                        {"start", 43, 48, "This programme has already ended"},
                        {"other", 7, 0, ""}};
  for (const Case& c : cases) {
    FailCall("XPM_SetTimer", c.failWith);
    ClearCallLog();
    Press("ok");
    Settle();
    EXPECT_EQ(BarType(), c.message) << c.what;
    if (c.message != 0) {
      Run(500);
      EXPECT_TRUE(Sees(c.text)) << c.what << "\n" << SeenList();
    }
    EXPECT_NE(Editor(), nullptr) << c.what;
    EXPECT_TRUE(Calls("DB_Insert_Scheduled_Data").empty()) << c.what;
    EXPECT_FALSE(InDatabase(id)) << c.what;
    // The bar goes by itself; the editor answers the next key.
    Run(10000);
    Settle();
    EXPECT_EQ(Focused(), &e->DoneButton) << c.what;
  }
  Tv().ClearFailures();
  // The channel of an analogue programme (minor -2): 49 before the set is asked.
  Skin()->OnSetTimerChannel(Wrapper::Wrapper::UniteChannelNum(7, -2));
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_EQ(BarType(), Constants::DirectMsgTypeInvalidTimerChannel);
  Run(500);
  EXPECT_TRUE(Sees("The timer's channel is not valid")) << SeenList();
  EXPECT_TRUE(Calls("XPM_SetTimer").empty());
  EXPECT_NE(Editor(), nullptr);
}

TEST_F(RecordTimerTest, TheSetRefusesAnOverlapAndAPastOneTimeTimer) {
  SetClock(2026, 12, 8, 10, 0);
  RecordTimerDialog* e = OpenEditorFromMenu();
  ASSERT_NE(e, nullptr);
  const int32_t id = Skin()->OnGetActiveTimerId();
  Press("ok");  // on
  // Another enabled timer of the same tuner at 10:30 every day.
  StoreTimer(id == 16 ? 15 : 16, 10, 30, 1800, 0x7F, Record::kTimesEveryday);
  ASSERT_TRUE(FocusBy("down", &e->DoneButton));
  Press("ok");
  Settle();
  EXPECT_EQ(BarType(), Constants::DirectMsgTypeTimerOverlap);
  EXPECT_FALSE(InDatabase(id));
  Run(5000);
  Settle();
  // A one-time timer on a date that is past.
  Skin()->OnSetTimerTimesType(Record::kTimesOnce);
  e->UpdateDurationSettings(0, 30);
  e->UpdateDateSettings(11, 1, 2026);
  Press("ok");
  Settle();
  EXPECT_EQ(BarType(), Constants::DirectMsgTypeInvalidTimerStarttime);
  EXPECT_FALSE(InDatabase(id));
  EXPECT_NE(Editor(), nullptr);
}

TEST_F(RecordTimerTest, AFailedInsertTakesTheTimerBackAndARetriedDoneStoresIt) {
  SetClock(2026, 12, 8, 10, 0);
  RecordTimerDialog* e = OpenEditorFromMenu();
  ASSERT_NE(e, nullptr);
  const int32_t id = Skin()->OnGetActiveTimerId();
  Press("ok");
  ASSERT_TRUE(FocusBy("down", &e->DoneButton));
  FailCall("DB_Insert_Scheduled_Data", DB_ERR_FAILED);
  ClearCallLog();
  Press("ok");
  Settle();
  // Nothing is left in the set, the id stays free, no screen is told.
  XPM_TimerRecord stored;
  EXPECT_TRUE(!SetTimerOf(id, &stored) || stored.daysOfWeek == 0);
  EXPECT_FALSE(CheckedOut(id));
  int32_t free = -1;
  ASSERT_EQ(DB_Get_TimerId(&free), XPM_OK);
  EXPECT_EQ(free, id);
  EXPECT_TRUE(Calls("XPM_RECORDING_START").empty());
  EXPECT_NE(Editor(), nullptr);
  EXPECT_TRUE(Logged("refused timer"));
  // The editor's values are still there for another try.
  ASSERT_NE(Active(), nullptr);
  EXPECT_EQ(Active()->Enable, 1);
  EXPECT_EQ(Active()->Duration, 3600);
  Tv().ClearFailures();
  ClearCallLog();
  Press("ok");
  Settle();
  ASSERT_EQ(Calls("DB_Insert_Scheduled_Data").size(), 1u);
  ASSERT_TRUE(SetTimerOf(id, &stored));
  EXPECT_NE(stored.daysOfWeek, 0);
  EXPECT_TRUE(InDatabase(id));
  EXPECT_TRUE(CheckedOut(id));
  EXPECT_EQ(Editor(), nullptr);
}

TEST_F(RecordTimerTest, OnceEnablesTheDateForKindOneAndDoneStoresTheWeekdayOfTheDate) {
  SetClock(2026, 12, 8, 9, 0);  // Tuesday
  RecordTimerDialog* e = OpenEditorFromMenu();
  ASSERT_NE(e, nullptr);
  const int32_t id = Skin()->OnGetActiveTimerId();
  // The type through its option dialog: the last choice is "once".
  e->OnSetFocus(&e->TypeButton);
  Press("ok");
  Settle();
  auto* options = Open<NonMenuSystem::OptionDialog>();
  ASSERT_NE(options, nullptr);
  ASSERT_TRUE(options->IsOpen());
  // From "Monday to Friday" (a new timer's type) two rows down to "Once".
  EXPECT_EQ(Skin()->OnGetTimerTimesType(), Record::kTimesDaily);
  Press("down", 2);
  Press("ok");
  Settle();
  ASSERT_EQ(Skin()->OnGetTimerTimesType(), Record::kTimesOnce);
  EXPECT_FALSE(e->DateButton.OnGetIsDisabled());
  // The date editor writes every change through: one day on is a Wednesday.
  ASSERT_TRUE(FocusBy("up", &e->DateButton)) << kv::ClassOf(Focused())->name;
  Press("ok");
  Settle();
  auto* date = Open<NonMenuSystem::DateSettingDialog>();
  ASSERT_NE(date, nullptr);
  Press("right");
  Press("up");
  EXPECT_EQ(Active()->StartTime->Day, 9);
  EXPECT_EQ(e->DateButton.OnGetText().ToUtf8(), "Dec 9, 2026");
  Press("back");
  Settle();
  // The time editor too: one hour on.
  ASSERT_TRUE(FocusBy("right", &e->TimeButton));
  Press("ok");
  Settle();
  ASSERT_NE(Open<NonMenuSystem::TimeSettingDialog>(), nullptr);
  Press("up");
  EXPECT_EQ(Active()->StartTime->Hour, 10);
  Press("back");
  Settle();
  // Left from the time button goes to the enabled date button.
  Press("left");
  EXPECT_EQ(Focused(), &e->DateButton);
  ASSERT_TRUE(FocusBy("down", &e->DoneButton));
  Press("ok");
  Settle();
  XPM_TimerRecord stored;
  ASSERT_TRUE(SetTimerOf(id, &stored));
  EXPECT_EQ(stored.daysOfWeek, 0x08);
  EXPECT_EQ(stored.start.day, 9);
  EXPECT_EQ(stored.start.hour, 10);
}

TEST_F(RecordTimerTest, TwelveOClockAndTheWeekdayRule) {
  RecordTimerDialog* e = OpenEditorFromMenu();
  ASSERT_NE(e, nullptr);
  e->UpdateTimeSettings(12, 5, 0);
  EXPECT_EQ(Active()->StartTime->Hour, 0);
  EXPECT_EQ(e->TimeButton.OnGetText().ToUtf8(), "12:05 AM");
  e->UpdateTimeSettings(12, 5, 1);
  EXPECT_EQ(Active()->StartTime->Hour, 12);
  e->UpdateTimeSettings(1, 5, 1);
  EXPECT_EQ(Active()->StartTime->Hour, 13);
  EXPECT_EQ(RecordTimerDialog::GetWeekDay(2026, 12, 5), 6);
  EXPECT_EQ(RecordTimerDialog::GetWeekDay(2024, 2, 29), 4);
  EXPECT_EQ(RecordTimerDialog::GetWeekDay(2000, 1, 1), 6);
}

#ifdef KV_VERIFY
// The duration editor stands over the duration button: the rows above and
// below and the right-hand column stay whole; Back closes it and the editor
// answers the next key.
TEST_F(RecordTimerTest, TheDurationEditorLeavesNoFragmentOfTheEditorRows) {
  RecordTimerDialog* e = OpenEditorFromMenu();
  ASSERT_NE(e, nullptr);
  ASSERT_TRUE(e->DurationButton.CanFocus());
  e->OnSetFocus(&e->DurationButton);
  Press("ok");
  Run(400);
  ASSERT_NE(Open<Record::TimerDurationDialog>(), nullptr);
  EXPECT_EQ(Core::TextFaults(SeenTexts()), std::vector<std::string>{}) << SeenList();
  for (const char* text : {"CH:", "Early", "Start:", "Late end:", "Type:", "Monday to Friday", "Medium:"})
    EXPECT_TRUE(Sees(text)) << text << "\n" << SeenList();
  Press("back");
  Run(400);
  EXPECT_EQ(Open<Record::TimerDurationDialog>(), nullptr);
  Press("up");
  EXPECT_NE(e->OnGetFocus(), &e->DurationButton);
}
#endif

#ifdef KV_VERIFY
// The start's time and date editors open in front of the timer editor, over
// the button they edit: the viewer reads every spinner whole, and what Up
// changes shows on the spinner at once.
TEST_F(RecordTimerTest, TheTimeAndDateEditorsShowTheirSpinnersOverTheirButton) {
  SetClock(2026, 12, 8, 19, 0);
  RecordTimerDialog* e = OpenEditorFromMenu();
  ASSERT_NE(e, nullptr);
  // A one-time timer, so that the date button takes the focus too.
  e->OnSetFocus(&e->TypeButton);
  Press("ok");
  Settle();
  Press("down", 2);
  Press("ok");
  Settle();
  ASSERT_EQ(Skin()->OnGetTimerTimesType(), Record::kTimesOnce);
  // The texts the viewer reads whole in the editor's spinners.
  const auto spinners = [this](const char* editor) {
    std::vector<std::string> out;
    for (const Core::SeenText& t : SeenTexts())
      if (t.where.find(editor) != std::string::npos && t.cover == Core::Cover::kNone) out.push_back(t.shown);
    return out;
  };
  struct Case {
    Core::View* button;
    const char* editor;
    std::vector<std::string> opened;
    const char* key;  // then up
    std::vector<std::string> changed;
  };
  const Case cases[] = {
      {&e->TimeButton, "TimeSettingDialog", {"07", "00", "PM"}, "right", {"07", "01", "PM"}},
      {&e->DateButton, "DateSettingDialog", {"Dec", "8", "2026"}, "left", {"Dec", "8", "2027"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.editor);
    e->OnSetFocus(c.button);
    Press("ok");
    Run(500);
    EXPECT_EQ(spinners(c.editor), c.opened) << SeenList();
    // Over the button it edits.
    const kv::Rect b = c.button->Bounds().Move(e->Bounds().Origin());
    Primitives::KeyRoutingForm* editor = nullptr;
    for (Primitives::KeyRoutingForm* f : OpenForms())
      if (std::string(kv::ClassOf(f)->name).find(c.editor) != std::string::npos) editor = f;
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->Bounds().Contains(b.Center()));
    Press(c.key);
    Press("up");
    Run(300);
    EXPECT_EQ(spinners(c.editor), c.changed) << SeenList();
    EXPECT_EQ(Core::TextFaults(SeenTexts()), std::vector<std::string>{}) << SeenList();
    Press("back");
    Run(500);
    EXPECT_TRUE(spinners(c.editor).empty());
  }
}
#endif

TEST_F(RecordTimerTest, DurationDialogKeepsFiveMinutesToTwentyThreeFiftyNine) {
  RecordTimerDialog* e = OpenEditorFromMenu();
  ASSERT_NE(e, nullptr);
  e->OnSetFocus(&e->DurationButton);
  Press("ok");
  Settle();
  kv::Persistent<Record::TimerDurationDialog> d{Open<Record::TimerDurationDialog>()};
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->Hours.OnGetCurrent(), 1);
  EXPECT_EQ(d->Minutes.OnGetCurrent(), 0);
  // Hour 0 forces at least five minutes; the editor follows every change.
  Press("down");
  EXPECT_EQ(d->Hours.OnGetCurrent(), 0);
  EXPECT_EQ(d->Minutes.OnGetCurrent(), 5);
  EXPECT_EQ(Active()->Duration, 300);
  EXPECT_EQ(e->DurationButton.OnGetText().ToUtf8(), "00:05");
  // Down from 0 wraps to 23; minutes may be 0 again, and down wraps to 59.
  Press("down");
  EXPECT_EQ(d->Hours.OnGetCurrent(), 23);
  Press("right");
  Press("down");
  EXPECT_EQ(d->Minutes.OnGetCurrent(), 4);
  Press("down", 5);
  EXPECT_EQ(d->Minutes.OnGetCurrent(), 59);
  EXPECT_EQ(Active()->Duration, (23 * 60 + 59) * 60);
  Press("back");
  Settle();
  EXPECT_FALSE(d->IsOpen());
  EXPECT_EQ(Editor(), e);
  Press("down");
  EXPECT_NE(Focused(), &e->DurationButton);
}

// Each row of the editor names what its button sets.
TEST_F(RecordTimerTest, EachRowOfTheEditorShowsItsLabel) {
  SetClock(2026, 12, 8, 20, 15);
  RecordTimerDialog* e = OpenEditorFromMenu();
  ASSERT_NE(e, nullptr);
  Run(200);
  for (const char* label : {"Date:", "Time:", "Type:", "Input:", "CH:", "Duration:"})
    EXPECT_TRUE(Sees(label)) << label << "\n" << SeenList();
}

TEST_F(RecordTimerTest, ATimerByHandRecordsAtOnceOnlyInsideItsWindow) {
  // Monday to Friday at 20:00 for an hour, saved on a Tuesday at 20:15.
  const auto save = [this](int32_t day) -> bool {
    SetClock(2026, 12, day, 20, 15);
    RecordTimerDialog* e = OpenEditorFromMenu();
    if (!e) return false;
    Press("ok");  // on
    Skin()->OnSetTimerTimesType(Record::kTimesDaily);
    e->UpdateTimeSettings(8, 0, 1);
    ClearCallLog();
    e->OnSetFocus(&e->DoneButton);
    Press("ok");
    Settle();
    const bool recorded = !Calls("XPM_RECORDING_START").empty();
    Nms()->ClearAll();
    Press("exit");
    Settle();
    return recorded;
  };
  EXPECT_TRUE(save(8));   // Tuesday
  EXPECT_FALSE(save(13));  // Sunday
}

// Every day takes in the weekend: saved on a Sunday inside its hour, it
// records at once.
TEST_F(RecordTimerTest, AnEveryDayTimerSavedOnASundayRecordsAtOnce) {
  SetClock(2026, 12, 13, 20, 15);
  RecordTimerDialog* e = OpenEditorFromMenu();
  ASSERT_NE(e, nullptr);
  Press("ok");  // on
  Skin()->OnSetTimerTimesType(Record::kTimesEveryday);
  e->UpdateTimeSettings(8, 0, 1);
  ClearCallLog();
  e->OnSetFocus(&e->DoneButton);
  Press("ok");
  Settle();
  EXPECT_FALSE(Calls("XPM_RECORDING_START").empty());
}

// Closed without a change, the editor leaves the set recording from the
// input on screen.
TEST_F(RecordTimerTest, ClosedUnchangedTheEditorLeavesTheRecordSourceAlone) {
  SetClock(2026, 12, 8, 20, 15);
  const int32_t source = W()->GetCurrentSource(0);
  RecordTimerDialog* e = OpenEditorFromMenu();
  ASSERT_NE(e, nullptr);
  ClearCallLog();
  Press("exit");
  Settle();
  for (const std::string& call : Calls("xpm_setsource_record"))
    EXPECT_EQ(call, "xpm_setsource_record(0, " + std::to_string(source) + ")");
}

TEST_F(RecordTimerTest, ASavedTimerWarnsAtItsTimeThenRecordsUntilItsEnd) {
  // Monday to Friday at 20:30 for half an hour, saved on a Tuesday at 20:15.
  sim::MountUsbDisk(Tv());
  SetClock(2026, 12, 8, 20, 15);
  const int32_t id = SaveTimerAtHalfPastEight(Record::kTimesDaily);
  ASSERT_GE(id, 0);
  XPM_TimerRecord stored;
  ASSERT_TRUE(SetTimerOf(id, &stored));
  ASSERT_EQ(stored.enabled, 1);
  const auto question = [this]() -> NonMenuSystem::ConfirmMultiOptionDialog* {
    auto* d = Open<NonMenuSystem::ConfirmMultiOptionDialog>();
    return d && d->IsOpen() && d->OnGetConfirmType() == 64 ? d : nullptr;
  };
  const auto show = [](DB_ScheduledEntry* out) { return DB_Get_First_Scheduled_Show(out) == DB_OK; };
  DB_ScheduledEntry scheduled{};
  ASSERT_TRUE(show(&scheduled));
  EXPECT_EQ(scheduled.status, DB_SHOW_WAITING);

  // Nothing before its time.
  ClearCallLog();
  Run((14 * 60 + 59) * 1000);
  EXPECT_EQ(question(), nullptr);
  EXPECT_TRUE(Calls("XPM_RECORDING_START").empty());
  // At 20:30 the set warns: the question names the timer's channel and the
  // timer is the active one; nothing records while it is asked.
  Run(2000);
  NonMenuSystem::ConfirmMultiOptionDialog* asked = question();
  ASSERT_NE(asked, nullptr);
  EXPECT_NE(asked->OnGetWarningInfo().ToUtf8().find(std::to_string(stored.major)), std::string::npos);
  EXPECT_EQ(Skin()->OnGetActiveTimerId(), id);
  EXPECT_TRUE(Calls("XPM_RECORDING_START").empty());
  // Unanswered for 15 s, the timer records its channel on its tuner.
  Run(15000);
  EXPECT_EQ(question(), nullptr);
  EXPECT_EQ(Calls("XPM_Set_Timer_Record_Valid"),
            std::vector<std::string>{"XPM_Set_Timer_Record_Valid(0, 0, " + std::to_string(id) + ", 0)"});
  EXPECT_EQ(Calls("XPM_RECORDING_START"),
            std::vector<std::string>{"XPM_RECORDING_START(0, " + std::to_string(stored.major) + ", " +
                                     std::to_string(stored.minor) + ", 0)"});
  EXPECT_EQ(Skin()->GetLiveTVState(0), XPM_TV_STATE_RECORD);
  ASSERT_TRUE(show(&scheduled));
  EXPECT_EQ(scheduled.status, DB_SHOW_RECORDING);
  // At 21:00 the set ends it: "Recording stopped", the show kept with its
  // length, the timer waits for tomorrow.
  Run((29 * 60 + 45) * 1000);
  EXPECT_EQ(Skin()->GetLiveTVState(0), XPM_TV_STATE_LIVE);
  EXPECT_EQ(BarType(), 40);
  DB_RecordedEntry recorded{};
  ASSERT_EQ(DB_Get_First_Recorded_Show(&recorded), DB_OK);
  EXPECT_EQ(recorded.status, 2);
  EXPECT_NEAR(recorded.duration, 30 * 60 - 16, 2);
  ASSERT_TRUE(show(&scheduled));
  EXPECT_EQ(scheduled.status, DB_SHOW_WAITING);
  // Live TV answers the next key.
  ClearCallLog();
  Press("ch+");
  EXPECT_FALSE(Calls("XPM_SetChannel").empty());
}

#ifdef KV_VERIFY
// A timer that falls due while another channel is shown: the one tuner
// records the timer's channel and shows it, so live TV, its banner and the
// set agree on the channel being recorded.
TEST_F(RecordTimerTest, ATimerThatFallsDueOnAnotherChannelTakesTheTunerToItsChannel) {
  sim::MountUsbDisk(Tv());
  Settle();
  Press("exit");  // the question the new disk raises
  SetClock(2026, 12, 8, 20, 15);
  // The timer records the next channel up, every day at 20:30.
  Press("ch+");
  Run(2000);
  Nms()->ClearAll();
  Settle();
  Structures::VirtualChannel* recorded = W()->GetCurrentChannel();
  const int32_t major = recorded->Major, minor = recorded->Minor;
  ASSERT_GE(SaveTimerAtHalfPastEight(Record::kTimesEveryday), 0);
  // The viewer goes back down a channel and watches it.
  Press("ch-");
  Run(2000);
  Nms()->ClearAll();
  Settle();
  Structures::VirtualChannel* watched = W()->GetCurrentChannel();
  ASSERT_FALSE(watched->Major == major && watched->Minor == minor);
  const std::string recordedNumber = Skin()->GetChannelNumberStr(true, major, minor).ToUtf8();
  const std::string watchedNumber = Skin()->GetChannelNumberStr(true, watched->Major, watched->Minor).ToUtf8();
  // 20:30: the warning, unanswered for 15 s, then the recording.
  ClearCallLog();
  Run((15 * 60 + 1) * 1000);
  Run(16000);
  ASSERT_EQ(Calls("XPM_RECORDING_START"),
            std::vector<std::string>{"XPM_RECORDING_START(0, " + std::to_string(major) + ", " + std::to_string(minor) +
                                     ", 0)"});
  ASSERT_EQ(Skin()->GetLiveTVState(0), XPM_TV_STATE_RECORD);
  // The set tunes the recorded channel, and live TV says so.
  int32_t setMajor = 0, setMinor = 0;
  ASSERT_EQ(Tv().Tv().CurrentChannel(0, &setMajor, &setMinor, "test"), XPM_OK);
  EXPECT_EQ(setMajor, major);
  EXPECT_EQ(setMinor, minor);
  Nms()->ClearAll();
  Settle();
  Press("info");
  Run(800);
  EXPECT_TRUE(Sees(recordedNumber)) << SeenList();
  EXPECT_FALSE(Sees(watchedNumber)) << SeenList();
  // The channel keys are refused while it records.
  Press("exit");
  Run(600);
  Press("ch+");
  Run(500);
  EXPECT_TRUE(Sees("Not available while recording")) << SeenList();
  EXPECT_TRUE(Calls("XPM_SetChannel").empty());
}
#endif

TEST_F(RecordTimerTest, TheImmediateWindowAcrossMidnight) {
  kv::Persistent<Structures::TimerData> timer{kv::New<Structures::TimerData>()};
  Structures::TimerData& t = *timer.get();
  t.StartTime = kv::New<Structures::LocalTime>();
  t.StartTime->Hour = 23;
  t.StartTime->Minute = 30;
  t.Duration = 120 * 60;
  t.DaysOfWeek = 1 << 1;  // Mondays
  Structures::LocalTime now;
  now.Weekday = 2;  // Tuesday 00:30: inside Monday's occurrence
  now.Hour = 0;
  now.Minute = 30;
  EXPECT_TRUE(RecordTimerDialog::IsInWindow(t, now));
  now.Hour = 2;  // 02:00: after it
  EXPECT_FALSE(RecordTimerDialog::IsInWindow(t, now));
  now.Weekday = 1;  // Monday 23:45
  now.Hour = 23;
  now.Minute = 45;
  EXPECT_TRUE(RecordTimerDialog::IsInWindow(t, now));
  now.Weekday = 3;  // Wednesday 00:30: Tuesday is no timer day
  now.Hour = 0;
  now.Minute = 30;
  EXPECT_FALSE(RecordTimerDialog::IsInWindow(t, now));
  t.StartEarly = 3600;  // starting early does not widen it
  now.Weekday = 1;
  now.Hour = 23;
  now.Minute = 0;
  EXPECT_FALSE(RecordTimerDialog::IsInWindow(t, now));
}

}  // namespace
