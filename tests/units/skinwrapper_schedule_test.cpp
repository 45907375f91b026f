// The skin Wrapper's scheduler operations and status records against the
// simulated set: a recording scheduled, read back, updated and deleted; the
// recording lists' caches; the timeshift, USB-disk, channel and rating
// records.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/db/db.h"
#include "platform/os/bkni.h"
#include "platform/sim/sim_guide.h"
#include "platform/xpm/xpm_record.h"
#include "units/SkinBin/RatingData.h"
#include "units/SkinBin/RecordData.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/ChannelData.h"
#include "units/Structures/LocalTime.h"
#include "units/Structures/RRTDimensionData.h"
#include "units/Structures/VirtualChannel.h"
#include "skinwrapper_media_fixture.h"

namespace wrappertest {
namespace {

class SkinScheduleTest : public SkinMediaTest {
 protected:
  static Structures::LocalTime* At(int32_t hour, int32_t minute = 0) {
    auto* t = kv::New<Structures::LocalTime>();
    t->Hour = hour, t->Minute = minute, t->Day = 2, t->Month = 0, t->Year = 126, t->Weekday = 5, t->YearDay = 1;
    return t;
  }
  // A show of channel 2-1 on tuner 0 at `hour` on 2 January 2026, one hour long.
  static SkinBin::ScheduledRecordData* Show(int32_t id, int32_t timerId, int32_t hour) {
    auto* r = kv::New<SkinBin::ScheduledRecordData>();
    r->Id = id, r->TimerId = timerId, r->Duration = 60, r->Major = 2, r->Minor = 1;
    r->StartTime = At(hour);
    return r;
  }
  static SkinBin::ScheduledRecordData* Copy(const SkinBin::ScheduledRecordData* s) {
    auto* r = kv::New<SkinBin::ScheduledRecordData>();
    r->Flag = s->Flag, r->Id = s->Id, r->TimerId = s->TimerId, r->Duration = s->Duration, r->Tuner = s->Tuner;
    r->Major = s->Major, r->Minor = s->Minor, r->MapId = s->MapId, r->DayOfWeek = s->DayOfWeek;
    r->StartTime = At(s->StartTime->Hour, s->StartTime->Minute);
    return r;
  }
  static DB_ScheduledEntry Stored() {
    DB_ScheduledEntry e{};
    EXPECT_EQ(DB_Get_First_Scheduled_Show(&e), DB_OK);
    return e;
  }
  size_t UpdateCalls() { return CallsStartingWith("DB_Update_").size(); }
};

TEST_F(SkinScheduleTest, ARecordingIsScheduledReadBackUpdatedFieldByFieldAndDeleted) {
  SkinBin::ScheduledRecordData* show = Show(7, 5, 20);
  show->Flag = 0x80;  // sign-extended in the block
  show->MapId = 3, show->DayOfWeek = 0x22;
  show->Repeat1 = 1, show->Repeat2 = 2, show->Repeat3 = 3, show->Repeat4 = 4;
  ASSERT_EQ(s_->DB_InsertScheduledData(show, kv::String::FromUtf8("Evening News"), kv::String::FromUtf8("Live")),
            DB_OK);
  ASSERT_EQ(Count("DB_Insert_Scheduled_Data"), 1u);
  EXPECT_EQ(Calls("DB_Insert_Scheduled_Data")[0].rfind("DB_Insert_Scheduled_Data(7, 5, 0, 2, 1, 60, 0, 0,", 0), 0u);

  DB_ScheduledEntry e = Stored();
  EXPECT_EQ(e.id, 7);
  EXPECT_EQ(e.block.flag, -128);
  EXPECT_EQ(e.block.start.hour, 20);
  EXPECT_EQ(e.block.start.year, 126);
  EXPECT_EQ(e.block.timerId, 5);
  EXPECT_EQ(e.block.mapId, 3);
  EXPECT_EQ(e.block.dayOfWeek, 0x22);
  EXPECT_EQ(e.block.repeat1, 1);
  EXPECT_EQ(e.block.repeat2, 2);
  EXPECT_EQ(e.block.repeat3, 3);
  EXPECT_EQ(e.block.repeat4, 4);
  EXPECT_EQ(e.block.reserved11 | e.block.reserved12 | e.block.reserved23 | e.block.reserved24, 0);
  EXPECT_EQ(std::string(e.channelName), s_->GetChannelInfo(2, 1)->Name.ToUtf8()) << "the channel's own name";
  EXPECT_STREQ(e.title, "Evening News");
  EXPECT_STREQ(e.description, "Live");

  // The guide finds the programme scheduled; another start is not.
  SkinBin::ScheduledRecordData* status = s_->GetEPGProgramStatus(2, 1, At(20));
  EXPECT_EQ(status->Id, 7);
  EXPECT_EQ(status->TimerId, 5);
  EXPECT_EQ(status->Repeat1, 1);
  EXPECT_EQ(status->DayOfWeek, 0x22);
  EXPECT_EQ(s_->GetEPGProgramStatus(2, 1, At(21))->Id, 0);
  EXPECT_EQ(s_->GetEPGProgramStatus(2, 1, nullptr)->Id, 0);

  // Each changed field goes to the scheduler with its own call.
  SkinBin::ScheduledRecordData* next = Copy(show);
  next->DayOfWeek = 0x41;
  tv_->ClearCallLog();
  EXPECT_EQ(s_->DB_UpdateScheduledData(show, next), 0);
  EXPECT_EQ(UpdateCalls(), 1u);
  EXPECT_EQ(Stored().block.dayOfWeek, 0x41);

  SkinBin::ScheduledRecordData* before = next;
  next = Copy(before);
  next->Duration = 90;
  next->StartTime = At(21, 30);
  next->Tuner = 1;
  tv_->ClearCallLog();
  EXPECT_EQ(s_->DB_UpdateScheduledData(before, next), 0);
  EXPECT_EQ(UpdateCalls(), 3u);
  EXPECT_EQ(Calls("DB_Update_Scheduled_Show_TunerId")[0], "DB_Update_Scheduled_Show_TunerId(7, 1)");
  e = Stored();
  EXPECT_EQ(e.block.duration, 90);
  EXPECT_EQ(e.block.start.hour, 21);
  EXPECT_EQ(e.block.start.minute, 30);
  EXPECT_EQ(e.block.start.day, 2);
  EXPECT_EQ(e.block.start.month, 0);
  EXPECT_EQ(e.block.tuner, 1);

  // No call changes the channel or the flag: the change is skipped, the
  // duration stays, and the answer says so.
  before = next;
  next = Copy(before);
  next->Major = 4;
  next->Flag = 1;
  tv_->ClearCallLog();
  EXPECT_NE(s_->DB_UpdateScheduledData(before, next), 0);
  EXPECT_EQ(UpdateCalls(), 0u);
  EXPECT_TRUE(Logged("cannot change the channel"));
  EXPECT_TRUE(Logged("cannot change the flag"));
  e = Stored();
  EXPECT_EQ(e.block.duration, 90);
  EXPECT_EQ(e.block.major, 2);
  EXPECT_EQ(e.block.flag, -128);

  // A refused call is a failure; records that do not match are refused.
  next = Copy(before);
  next->Duration = 30;
  tv_->FailCall("DB_Update_Scheduled_Show_Duration", 9);
  EXPECT_EQ(s_->DB_UpdateScheduledData(before, next), 9);
  tv_->ClearFailures();
  next->Id = 8;
  EXPECT_EQ(s_->DB_UpdateScheduledData(before, next), 1);
  EXPECT_EQ(s_->DB_UpdateScheduledData(nullptr, next), 1);
  EXPECT_EQ(s_->DB_InsertScheduledData(nullptr, kv::String(), kv::String()), 1);

  // The scheduled list's cache reads the show back.
  auto* cache = kv::New<SkinBin::DB_ScheduledInfo>();
  cache->GetEventInfoByCount(64);
  ASSERT_EQ(cache->GetNumEvents(), 1);
  SkinBin::ScheduledRecordData* listed = cache->GetEntry(0);
  EXPECT_EQ(listed->Id, 7);
  EXPECT_EQ(listed->TimerId, 5);
  EXPECT_EQ(listed->Title.ToUtf8(), "Evening News");
  EXPECT_EQ(listed->Duration, 90);
  ASSERT_TRUE(listed->EventStartTime);
  EXPECT_EQ(listed->EventStartTime->Hour, 21);
  EXPECT_EQ(listed->EventDuration, 90 * 60);
  EXPECT_EQ(listed->Status, SkinBin::SHOW_STATUS_WAITING);

  EXPECT_EQ(s_->DB_DeleteScheduledRecord(7), DB_OK);
  cache->GetEventInfoByCount(64);
  EXPECT_EQ(cache->GetNumEvents(), 0);
}

TEST_F(SkinScheduleTest, ASchedulerRefusalIsReportedAndTheListKeepsItsOrderAndCount) {
  ASSERT_EQ(s_->DB_InsertScheduledData(Show(1, 0, 20), kv::String(), kv::String()), DB_OK);
  EXPECT_EQ(s_->DB_InsertScheduledData(Show(2, 1, 20), kv::String(), kv::String()), DB_ERR_CONFLICT)
      << "the same tuner at the same time";
  EXPECT_TRUE(Logged("DB_Insert_Scheduled_Data"));
  ASSERT_EQ(s_->DB_InsertScheduledData(Show(3, 2, 22), kv::String(), kv::String()), DB_OK);
  ASSERT_EQ(s_->DB_InsertScheduledData(Show(4, 3, 23), kv::String(), kv::String()), DB_OK);

  auto* cache = kv::New<SkinBin::DB_ScheduledInfo>();
  cache->GetEventInfoByCount(64);
  ASSERT_EQ(cache->GetNumEvents(), 3);
  EXPECT_EQ(cache->GetEntry(0)->Id, 1);
  EXPECT_EQ(cache->GetEntry(2)->Id, 4);
  EXPECT_EQ(Count("DB_Delete_Scheduled_Event_Via_Starttime"), 1u) << "ended shows go first";
  cache->GetEventInfoByCount(2);
  EXPECT_EQ(cache->GetNumEvents(), 2) << "no more than asked for";

  // A failing walk keeps what was read and says so.
  tv_->FailCall("DB_Get_Scheduled_Show_Next", 9);
  ClearLines();
  cache->GetEventInfoByCount(64);
  EXPECT_EQ(cache->GetNumEvents(), 1);
  EXPECT_TRUE(Logged("DB_Get_Scheduled_Show_Next"));
}

TEST_F(SkinScheduleTest, RecordedShowsAreListedFromTheDatabase) {
  auto channel = [](int32_t major, int32_t minor) {
    auto* c = kv::New<Structures::VirtualChannel>();
    c->Major = major, c->Minor = minor;
    return c;
  };
  ASSERT_EQ(s_->StartRecord(0, channel(2, 1)), XPM_OK);
  driver.Pass(90000);
  ASSERT_EQ(s_->StopRecord(32), XPM_OK);
  ASSERT_EQ(s_->StartRecord(1, channel(4, 1)), XPM_OK);
  driver.Pass(30000);
  ASSERT_EQ(s_->StopRecord(33), XPM_OK);

  auto* cache = kv::New<SkinBin::DB_RecordedInfo>();
  cache->GetEventInfoByCount();
  ASSERT_EQ(cache->GetNumEvents(), 2);
  DB_RecordedEntry r{};
  ASSERT_EQ(DB_Get_First_Recorded_Show(&r), DB_OK);
  SkinBin::RecordedShowData* first = cache->GetEntry(0);
  EXPECT_EQ(first->RecordId, r.id);
  EXPECT_EQ(first->Title.ToUtf8(), r.title);
  EXPECT_EQ(first->FilePath.ToUtf8(), r.path);
  EXPECT_EQ(first->Duration, 90);
  EXPECT_EQ(first->Major, 2);
  EXPECT_EQ(first->Status, 2);
  ASSERT_TRUE(first->StartTime);
  EXPECT_EQ(first->HasEventInfo, r.eventId != 0);
  SkinBin::RecordedShowData* second = cache->GetEntry(1);
  EXPECT_EQ(second->Major, 4);
  EXPECT_EQ(second->TunerId, 1);
  EXPECT_EQ(second->Duration, 30);
  EXPECT_EQ(cache->GetEntry(2), nullptr);
}

TEST_F(SkinScheduleTest, TimeshiftAndUsbDiskStatusRecords) {
  SkinBin::TimeshiftStatus* idle = s_->GetTimeshiftStatus();
  EXPECT_EQ(idle->Active, 0);
  EXPECT_GT(idle->IntervalMinutes, 0);
  ASSERT_EQ(s_->StartTimeshift(0), XPM_OK);
  driver.Pass(20000);
  s_->TimeshiftKeyProc(1);  // pause
  driver.Pass(5000);
  SkinBin::TimeshiftStatus* st = s_->GetTimeshiftStatus();
  EXPECT_EQ(st->Active, 1);
  EXPECT_EQ(st->BufferedSeconds, 25);
  EXPECT_EQ(st->PositionSeconds, 20);
  EXPECT_EQ(st->PlayState, XPM_TIMESHIFT_PLAY_STATE_PAUSE);
  tv_->FailCall("XPM_GetCurrent_TunerId", 9);
  tv_->ClearCallLog();
  EXPECT_EQ(s_->GetTimeshiftStatus()->Active, 0) << "no tuner: all zero";
  EXPECT_EQ(Count("XPM_TimeShifting_Status_Check"), 0u);
  tv_->ClearFailures();

  SkinBin::USBDiskStatus* usb = s_->GetUSBDiskStatus();
  EXPECT_EQ(usb->Mounted, 1);
  EXPECT_EQ(usb->MountPoint.ToUtf8(), sim::kUsbMountPoint);
  EXPECT_EQ(usb->FileSystem.ToUtf8(), "vfat");
  EXPECT_EQ(usb->TotalKiB, sim::kUsbCapacity >> 10);
  EXPECT_LE(usb->FreeKiB, usb->TotalKiB);

  sim::RemoveUsbDisk(*tv_);
  usb = s_->GetUSBDiskStatus();
  EXPECT_EQ(usb->Mounted, 0);
  EXPECT_EQ(usb->MountPoint.ToUtf8(), "-");
  EXPECT_EQ(usb->FileSystem.ToUtf8(), "-");
  EXPECT_EQ(usb->TotalKiB, 0);
  EXPECT_EQ(usb->FreeKiB, 0);
}

TEST_F(SkinScheduleTest, ChannelDetailsAndAlternativeRatingsOfTheChannelInTune) {
  // Tune a channel whose programme now is rated.
  const int64_t now = State().NetworkTime();
  const std::pair<int32_t, int32_t> channels[] = {{2, 1}, {2, 2}, {4, 1}, {4, 2}, {7, 2}, {9, 1}, {11, 1}};
  sim::GuideEvent g;
  bool rated = false;
  for (auto [major, minor] : channels) {
    if (sim::GuideEventAt(major, minor, now, &g) && g.rating >= 0) {
      ASSERT_EQ(State().SetChannel(0, major, minor, kTest), 0);
      rated = true;
      break;
    }
  }
  ASSERT_TRUE(rated) << "the guide rates some programme now";
  const auto [major, minor] = Tuned();

  SkinBin::CurrentChannelInfo* d = s_->GetCurrentChannelDetailInfo();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->Major, major);
  EXPECT_EQ(d->Minor, minor);
  EXPECT_EQ(d->Name.ToUtf8(), s_->GetChannelInfo(major, minor)->Name.ToUtf8());
  EXPECT_EQ(d->ClosedCaption, 1);
  int32_t quality = -1;
  State().SignalQuality(0, &quality, kTest);
  EXPECT_EQ(d->SignalStrength, quality);
  EXPECT_EQ(d->UsRating, sim::UsRatingWord(g));
  EXPECT_EQ(d->CanadianRating, g.canadianRating);

  // More alternative ratings than the record holds: the first 120 are kept
  // and the middleware's block is freed.
  ASSERT_TRUE(tv_->SetState("record.alt_ratings", "130"));
  const size_t live = BKNI_LiveAllocations();
  SkinBin::UsAlternateRatingInfo* alt = s_->GetCurrentChannelRatingInfo();
  EXPECT_EQ(alt->NumAltRatings, 130);
  ASSERT_EQ(alt->GetCount(), SkinBin::MAX_ALT_RATINGS);
  // The entries repeat the downloadable table's four dimensions.
  EXPECT_EQ(alt->Get(119)->DimensionId, 3);
  EXPECT_EQ(alt->Get(119)->Name.ToUtf8(), "MPAA");
  EXPECT_EQ(alt->Get(1)->Name.ToUtf8(), "Dialogue");
  EXPECT_EQ(alt->Get(1)->Value, 1);
  EXPECT_EQ(alt->Get(1)->Text1.ToUtf8(), "D");
  EXPECT_EQ(alt->Get(1)->Text2.ToUtf8(), "Suggestive dialogue");
  EXPECT_TRUE(Logged("Num Alt Ratings = 130"));
  EXPECT_EQ(BKNI_LiveAllocations(), live);
  ASSERT_TRUE(tv_->SetState("record.alt_ratings", "3"));
  EXPECT_EQ(s_->GetCurrentChannelRatingInfo()->GetCount(), 3);
  tv_->FailCall("XPM_GetCurrentChannelRatingInfo", 9);
  EXPECT_EQ(s_->GetCurrentChannelRatingInfo()->GetCount(), 0);
  tv_->ClearFailures();
  EXPECT_EQ(BKNI_LiveAllocations(), live);

  // Without a tuner window there is no channel in tune.
  ASSERT_EQ(State().SetSource(0, kHdmi1, kTest), 0);
  EXPECT_EQ(s_->GetCurrentChannelDetailInfo(), nullptr);
}

}  // namespace
}  // namespace wrappertest
