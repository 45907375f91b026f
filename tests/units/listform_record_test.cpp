// The recording lists in test screens that play the recording screens (they
// come later and test the lists in place), against the simulated set's
// timers, scheduler and recorded shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "listform_fixture.h"
#include "platform/db/db.h"
#include "platform/sim/sim.h"
#include "platform/xpm/xpm_record.h"
#include "platform/xpm/xpm_settings.h"
#include "runtime/text.h"
#include "strings/ListForm.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/Constants/Constants.h"
#include "units/ListForm/RecordLists.h"
#include "units/Structures/LocalTime.h"
#include "units/Structures/Message.h"
#include "units/Structures/TimerData.h"

namespace listtest {
namespace {

using namespace ListForm;

class RecordListsTest : public ListTest {
 protected:
  // Timer `timer` and its scheduled show, `days` days ahead, `seconds` long.
  void Schedule(int32_t timer, int32_t days, int32_t seconds, int32_t timesType, int32_t status, const char* title) {
    Structures::LocalTime* at = W()->GetCurrentTime()->AddTicks(int64_t{days} * 86400);
    const XPM_LocalTime start{at->Second, at->Minute, at->Hour, at->Day, at->Month, at->Year, 0, 0, 0};
    XPM_TimerRecord t{};
    t.enabled = 1;
    t.start = start;
    t.duration = seconds;
    t.major = 2;
    t.minor = 1;
    t.timesType = timesType;
    t.sourceType = 2;
    ASSERT_EQ(XPM_SetTimer(timer, t), XPM_OK);
    DB_ScheduleBlock b{};
    b.timerId = timer;
    b.start = start;
    b.duration = std::max(1, seconds / 60);
    b.major = 2;
    b.minor = 1;
    ASSERT_EQ(DB_Insert_Scheduled_Data(timer + 100, &b, 0, 0, "Ch", title, "About it"), DB_OK);
    if (status != 0) XPM_Update_Scheduled_Show_Status(timer, status);
  }
  void Recorded(const char* title, const std::string& path, int32_t seconds, int32_t status) {
    DB_RecordedEntry e{};
    e.status = status;
    e.major = 2;
    e.minor = 1;
    e.duration = seconds;
    std::strncpy(e.title, title, DB_TITLE_MAX);
    std::strncpy(e.path, path.c_str(), DB_PATH_MAX);
    int32_t id = 0;
    ASSERT_EQ(sim::AddRecordedShow(Tv(), e, &id), DB_OK);
  }
};

TEST_F(RecordListsTest, ScheduledRowsShowDurationRepeatAndStatusOfTheirOwnTimer) {
  Schedule(3, 1, 5400, 4, 0, "Late Film");
  Schedule(4, 2, 59, 1, 1, "News");
  Schedule(5, 3, 3600, 2, 9, "Quiz");
  auto* l = Open(kv::New<ScheduledRecordList>(), {20, 40, 900, 300});
  ASSERT_EQ(Rows(l).size(), 3u);
  auto* film = Row<ScheduledRecordListItem>(l, 0);
  EXPECT_EQ(Text(film), "Late Film");
  EXPECT_EQ(film->OnGetDurationText().ToUtf8(), "01:30");
  EXPECT_EQ(film->RepeatIcon(), Resources::LoadResource(Bitmaps::EPG_RecordTypeOnce));
  // A timer waiting for its time will record.
  EXPECT_EQ(film->StatusIcon(), Resources::LoadResource(Bitmaps::RecordStatusWillRecord));
  EXPECT_EQ(film->TimerId, 3);
  EXPECT_TRUE(film->Active);
  EXPECT_EQ(film->OnGetMapText().ToUtf8(), "ANT");
  auto* news = Row<ScheduledRecordListItem>(l, 1);
  EXPECT_EQ(news->OnGetDurationText().ToUtf8(), "00:00");
  EXPECT_EQ(news->RepeatIcon(), Resources::LoadResource(Bitmaps::EPG_RecordTypeEveryday));
  EXPECT_EQ(news->StatusIcon(), Resources::LoadResource(Bitmaps::RecordStatusInRecording));
  EXPECT_EQ(Row<ScheduledRecordListItem>(l, 2)->StatusIcon(), Resources::LoadResource(Bitmaps::RecordStatusFailed));
  // Times type 5 leaves the icon the row had.
  news->OnSetTimesType(5);
  EXPECT_EQ(news->RepeatIcon(), Resources::LoadResource(Bitmaps::EPG_RecordTypeEveryday));
  // The focused row fills the panel's record.
  auto* changes = kv::New<Probe>();
  kv::Persistent<Probe> keep(changes);
  l->OnProgramChanged = kv::MakeSlot(changes, &Probe::Hit);
  Press("down");
  EXPECT_EQ(l->Focused.FocusedIndex, 1);
  EXPECT_EQ(l->Focused.SourceType, 2);
  EXPECT_EQ(changes->hits, 1);
}

TEST_F(RecordListsTest, AReloadLeavesTheTimerBeingEditedAlone) {
  Schedule(3, 1, 5400, 4, 0, "Late Film");
  Schedule(4, 2, 1800, 3, 0, "News");
  // The timer editor works on timer 3 and has changed its length.
  W()->OnSetActiveTimerId(3);
  ASSERT_NE(W()->ActiveTimer.get(), nullptr);
  W()->OnSetTimerDuration(600);
  auto* l = Open(kv::New<ScheduledRecordList>(), {20, 40, 900, 300});
  l->Initialize(nullptr);  // the screen reloads its list
  Settle();
  EXPECT_EQ(W()->OnGetActiveTimerId(), 3);
  EXPECT_EQ(W()->OnGetTimerDuration(), 600);
  // The rows still show what each timer holds.
  EXPECT_EQ(Row<ScheduledRecordListItem>(l, 1)->OnGetDurationText().ToUtf8(), "00:30");
  // Saved (MSG_UPDATE_RECORD_TYPE), the focused row shows the edited timer.
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_UPDATE_RECORD_TYPE, nullptr);
  l->HandleMessage(msg);
  EXPECT_EQ(Row<ScheduledRecordListItem>(l, 0)->OnGetDurationText().ToUtf8(), "00:10");
}

// A reload reads the shows as the scheduler holds them now, also where a
// show at the same place has a title that begins like the one before.
TEST_F(RecordListsTest, AReloadShowsTheScheduledShowsAsTheyAreNow) {
  Schedule(3, 1, 5400, 4, 0, "News at Ten");
  Schedule(4, 2, 1800, 3, 0, "Quiz");
  auto* l = Open(kv::New<ScheduledRecordList>(), {20, 40, 900, 300});
  ASSERT_EQ(Rows(l).size(), 2u);
  EXPECT_EQ(Text(Row<ScheduledRecordListItem>(l, 0)), "News at Ten");
  ASSERT_EQ(XPM_Delete_Scheduled_Show(103), DB_OK);
  ASSERT_EQ(XPM_Delete_Scheduled_Show(104), DB_OK);
  Schedule(5, 3, 5400, 4, 0, "News");
  Schedule(6, 4, 1800, 3, 0, "Quiz show");
  l->Initialize(nullptr);
  Settle();
  ASSERT_EQ(Rows(l).size(), 2u);
  EXPECT_EQ(Text(Row<ScheduledRecordListItem>(l, 0)), "News");
  EXPECT_EQ(Text(Row<ScheduledRecordListItem>(l, 1)), "Quiz show");
  // The panel shows the focused show's own day.
  ASSERT_TRUE(l->Focused.EventStartTime);
  EXPECT_EQ(l->Focused.EventStartTime->Day, W()->GetCurrentTime()->AddTicks(3 * 86400)->Day);
}

// A row filled again after the language changed takes the new language's
// texts even where the values stayed.
TEST_F(RecordListsTest, ARowFilledAgainFollowsTheLanguage) {
  Schedule(3, 1, 5400, 4, 0, "Late Film");
  auto* l = Open(kv::New<ScheduledRecordList>(), {20, 40, 900, 300});
  auto* row = Row<ScheduledRecordListItem>(l, 0);
  const std::string english = row->OnGetSourceText().ToUtf8();
  kv::SetLanguage(2);
  Settle();
  W()->OnSetActiveTimerId(3);
  row->UpdateSettings();
  EXPECT_NE(row->OnGetSourceText().ToUtf8(), english);
  EXPECT_EQ(row->OnGetSourceText(), kv::GetVariantOfString(SOURCE_KIND_GUIDE));
  kv::SetLanguage(0);
  Settle();
}

// Lists made again show each row's own date, time, length and channel, the
// same texts as the first list shows, and a list made after the language
// changed shows the dates in the new language.
TEST_F(RecordListsTest, ListsMadeAgainShowEachRowsOwnTextsInTheLanguage) {
  constexpr int kTimers = 8;
  for (int i = 0; i < kTimers; ++i) Schedule(3 + i, 1 + i, 600 + 3660 * i, 4, 0, "Show");
  struct Shown {
    std::string date, time, duration, channel;
    bool operator==(const Shown&) const = default;
  };
  auto shown = [&](ListClass* l) {
    std::vector<Shown> out;
    for (size_t i = 0; i < Rows(l).size(); ++i) {
      auto* row = Row<ScheduledRecordListItem>(l, static_cast<int>(i));
      out.push_back({row->OnGetDateText().ToUtf8(), row->OnGetTimeText().ToUtf8(), row->OnGetDurationText().ToUtf8(),
                     row->OnGetChannelText().ToUtf8()});
    }
    return out;
  };
  const std::vector<Shown> first = shown(Open(kv::New<ScheduledRecordList>(), {20, 40, 900, 300}));
  ASSERT_EQ(first.size(), size_t{kTimers});
  for (int i = 0; i < kTimers; ++i) {
    char length[16];
    std::snprintf(length, sizeof length, "%02d:%02d", (600 + 3660 * i) / 3600, (600 + 3660 * i) / 60 % 60);
    EXPECT_EQ(first[static_cast<size_t>(i)].duration, length) << i;
    EXPECT_EQ(first[static_cast<size_t>(i)].channel, "2-1") << i;
    // One show a day: every row its own date.
    if (i > 0) {
      EXPECT_NE(first[static_cast<size_t>(i)].date, first[static_cast<size_t>(i) - 1].date) << i;
    }
  }
  for (int again = 0; again < 2; ++again)
    EXPECT_EQ(shown(Open(kv::New<ScheduledRecordList>(), {20, 40, 900, 300})), first) << again;

  kv::SetLanguage(2);
  Settle();
  const std::vector<Shown> spanish = shown(Open(kv::New<ScheduledRecordList>(), {20, 40, 900, 300}));
  kv::SetLanguage(0);
  Settle();
  ASSERT_EQ(spanish.size(), first.size());
  for (size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(spanish[i].duration, first[i].duration) << i;
    // Another month name, the same day.
    EXPECT_NE(spanish[i].date, first[i].date) << i;
    EXPECT_EQ(spanish[i].date.substr(spanish[i].date.size() - 2), first[i].date.substr(first[i].date.size() - 2)) << i;
  }
}

TEST_F(RecordListsTest, RecordedRowsCutTheMountPathAndOkDoesNothing) {
  std::filesystem::create_directories(Tv().TargetPath(sim::kUsbMountPoint));
  Recorded("Match", std::string(sim::kUsbMountPoint) + "/REC_1.ts", 5400, 2);
  Recorded("Elsewhere", "/tmp/other/REC_2.ts", 60, 3);
  auto* l = Open(kv::New<RecordedShowsList>(), {20, 40, 900, 300});
  ASSERT_EQ(Rows(l).size(), 2u);
  EXPECT_EQ(Row<RecordedShowsListItem>(l, 0)->OnGetFileText().ToUtf8(), "/REC_1.ts");
  EXPECT_EQ(Row<RecordedShowsListItem>(l, 1)->OnGetFileText().ToUtf8(), "/tmp/other/REC_2.ts");
  EXPECT_EQ(Row<RecordedShowsListItem>(l, 0)->OnGetDurationText().ToUtf8(), "01:30");
  EXPECT_EQ(Row<RecordedShowsListItem>(l, 1)->StatusIcon(), Resources::LoadResource(Bitmaps::RecordStatusStop));
  ClearCallLog();
  Press("ok");
  EXPECT_TRUE(Calls("XPM_SetActiveTimer").empty());
  Press("down");
  EXPECT_EQ(l->Focused.EventTitle.ToUtf8(), "Elsewhere");
}

TEST_F(RecordListsTest, AnEmptyDatabaseGivesNoRows) {
  auto* l = Open(kv::New<ScheduledRecordList>(), {20, 40, 900, 300});
  EXPECT_EQ(l->DataSource->Num, 0);
  EXPECT_TRUE(Rows(l).empty());
  Press("down");  // still answered
  EXPECT_EQ(l->DataSource->Cursor, -1);
}

}  // namespace
}  // namespace listtest
