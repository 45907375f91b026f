// The skin Wrapper's recorder, scheduler, guide, timeshift and USB-disk
// services against the simulated set, and the set's recording database.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/db/db.h"
#include "platform/os/bkni.h"
#include "platform/sim/sim_guide.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm_record.h"
#include "runtime/clock.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/ChannelData.h"
#include "units/Structures/EventInfo.h"
#include "units/Structures/VirtualChannel.h"
#include "skinwrapper_media_fixture.h"

namespace wrappertest {
namespace {

class SkinRecordingTest : public SkinMediaTest {
 protected:
  std::filesystem::path Disk() { return tv_->TargetPath(sim::kUsbMountPoint); }
  // A show of `minutes` on tuner 0, channel 2-1, at 20:00 on 2 January 2026.
  static DB_ScheduleBlock Block(int32_t timerId, int32_t hour, int32_t minutes) {
    DB_ScheduleBlock b{};
    b.timerId = timerId;
    b.start = XPM_LocalTime{0, 0, hour, 2, 0, 126, 5, 1, 0};
    b.duration = minutes;
    b.major = 2;
    b.minor = 1;
    return b;
  }
  Structures::VirtualChannel* Channel(int32_t major, int32_t minor) {
    auto* c = kv::New<Structures::VirtualChannel>();
    c->Major = major;
    c->Minor = minor;
    return c;
  }
};

TEST_F(SkinRecordingTest, ScheduledShowsAreKeptLookedUpByTimerAndRemoved) {
  DB_ScheduleBlock b = Block(5, 20, 60);
  ASSERT_EQ(DB_Insert_Scheduled_Data(7, &b, 0, 0, "News", "Evening News", "Live"), DB_OK);
  EXPECT_EQ(s_->GetScheduleIdByTimerId(5), 7);
  EXPECT_EQ(s_->GetScheduleIdByTimerId(6), 0) << "no show of that timer";

  // The scheduler refuses a show that overlaps one of the same tuner, and a
  // block whose reserved words are not zero.
  DB_ScheduleBlock overlap = Block(6, 20, 30);
  EXPECT_EQ(DB_Insert_Scheduled_Data(8, &overlap, 0, 0, "", "", ""), DB_ERR_CONFLICT);
  DB_ScheduleBlock dirty = Block(6, 22, 30);
  dirty.reserved23 = 0x55;
  EXPECT_EQ(DB_Insert_Scheduled_Data(8, &dirty, 0, 0, "", "", ""), DB_ERR_INVALID_PARAM);

  // The database survives a restart of the set.
  tv_->Stop();
  tv_ = std::make_unique<sim::Sim>(dir_.string());
  tv_->Start();
  DB_ScheduledEntry e{};
  ASSERT_EQ(DB_Get_First_Scheduled_Show(&e), DB_OK);
  EXPECT_EQ(e.id, 7);
  EXPECT_STREQ(e.title, "Evening News");
  EXPECT_EQ(e.block.duration, 60);
  EXPECT_EQ(DB_Get_Scheduled_Show_Next(7, &e), DB_ERR_END_OF_LIST);

  // Stopping a recording marks the show stopped and frees its timer.
  ASSERT_EQ(s_->DB_CheckOutTimerId(5), DB_OK);
  EXPECT_NE(s_->DB_CheckOutTimerId(5), DB_OK) << "a timer is checked out once";
  tv_->ClearCallLog();
  s_->StopRecord(5);
  const auto calls = CallsStartingWith("XPM_");
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0], "XPM_Update_Scheduled_Show_Status(5, 3)");
  EXPECT_EQ(calls[1], "XPM_CheckIn_TimerId(5)");
  EXPECT_EQ(calls[2], "XPM_RECORDING_STOP(5)");
  ASSERT_EQ(DB_Get_First_Scheduled_Show(&e), DB_OK);
  EXPECT_EQ(e.status, DB_SHOW_STOPPED);
  int32_t out = -1;
  ASSERT_EQ(DB_Get_Timer_CheckedOut(5, &out), DB_OK);
  EXPECT_EQ(out, 0);

  // Ids above the scheduler's timers answer 1 without a call.
  tv_->ClearCallLog();
  EXPECT_EQ(s_->DB_CheckInTimerId(32), 1);
  EXPECT_EQ(s_->DB_CheckOutTimerId(40), 1);
  EXPECT_EQ(CallsStartingWith("DB_").size(), 0u);

  EXPECT_EQ(s_->DB_DeleteScheduledRecord(7), DB_OK);
  EXPECT_EQ(DB_Get_First_Scheduled_Show(&e), DB_ERR_END_OF_LIST);
  EXPECT_EQ(s_->DB_DeleteScheduledRecord(7), DB_ERR_NOT_FOUND) << "a refusal comes back as it is";
}

TEST_F(SkinRecordingTest, RecordingsGoToTheDiskAndAreListedAndDeleted) {
  ASSERT_EQ(s_->StartRecord(0, Channel(2, 1)), XPM_OK);
  EXPECT_NE(s_->StartRecord(0, Channel(2, 2)), XPM_OK) << "the tuner records already";
  EXPECT_EQ(Calls("XPM_RECORDING_START")[0], "XPM_RECORDING_START(0, 2, 1, 0)");
  EXPECT_EQ(s_->GetLiveTVState(0), 3) << "live TV of a recording tuner";
  EXPECT_EQ(s_->GetLiveTVState(1), 1);
  driver.Pass(90000);
  ASSERT_EQ(s_->StopRecord(32), XPM_OK) << "a manual recording of tuner 0";
  EXPECT_EQ(s_->GetLiveTVState(0), 1);

  DB_RecordedEntry r{};
  ASSERT_EQ(DB_Get_First_Recorded_Show(&r), DB_OK);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.major, 2);
  EXPECT_EQ(r.duration, 90);
  sim::GuideEvent g;
  ASSERT_TRUE(sim::GuideEventAt(2, 1, r.start, &g));
  EXPECT_STREQ(r.title, g.title.c_str()) << "the programme's title from the guide";
  const auto file = tv_->TargetPath(r.path);
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(DB_Get_Recorded_Show_Next(r.id, &r), DB_ERR_END_OF_LIST);

  EXPECT_EQ(s_->DB_DeleteRecordedShow(1), DB_OK);
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(DB_Get_First_Recorded_Show(&r), DB_ERR_END_OF_LIST);

  // Without a disk nothing records.
  sim::RemoveUsbDisk(*tv_);
  EXPECT_EQ(s_->StartRecord(0, Channel(2, 1)), XPM_ERR_FAILED);
  EXPECT_EQ(s_->StartRecord(0, nullptr), XPM_ERR_INVALID_PARAM);
}

TEST_F(SkinRecordingTest, TimeshiftKeysMoveThePlaybackAndTheStatusFollows) {
  EXPECT_EQ(s_->GetLiveTVState(0), XPM_TV_STATE_LIVE);
  ASSERT_EQ(s_->StartTimeshift(0), XPM_OK);
  EXPECT_EQ(s_->GetLiveTVState(0), XPM_TV_STATE_TIMESHIFT);
  driver.Pass(20000);
  EXPECT_EQ(s_->TimeshiftKeyProc(1), XPM_OK);  // pause
  driver.Pass(10000);
  XPM_TimeshiftStatus st{};
  ASSERT_EQ(XPM_TimeShifting_Status_Check(0, &st), XPM_OK);
  EXPECT_EQ(st.active, 1);
  EXPECT_EQ(st.bufferedSeconds, 30);
  EXPECT_EQ(st.positionSeconds, 20) << "paused for 10 s";
  EXPECT_EQ(st.playState, XPM_TIMESHIFT_PLAY_STATE_PAUSE);
  s_->TimeshiftKeyProc(3);  // rewind at twice the speed: 3 s back per second
  driver.Pass(2000);
  ASSERT_EQ(XPM_TimeShifting_Status_Check(0, &st), XPM_OK);
  EXPECT_EQ(st.positionSeconds, 16);
  EXPECT_EQ(st.playRate, 2);
  s_->TimeshiftKeyProc(0);

  const int32_t codes[] = {102, 104, 110, 109, 108, 107, 114, 115};
  for (int32_t action = 0; action < 8; ++action) {
    tv_->ClearCallLog();
    s_->TimeshiftKeyProc(action);
    EXPECT_EQ(Calls("Timeshift_KeyProc")[0], "Timeshift_KeyProc(" + std::to_string(codes[action]) + ")");
  }
  tv_->ClearCallLog();
  s_->TimeshiftKeyProc(9);
  EXPECT_EQ(Calls("Timeshift_KeyProc")[0], "Timeshift_KeyProc(0)");

  s_->OnSetTimeshiftDuration(0x103);
  EXPECT_EQ(Calls("XPM_Set_Timeshift_Interval")[0], "XPM_Set_Timeshift_Interval(3)");
  EXPECT_EQ(s_->OnGetTimeshiftDuration(), 3);
  s_->OnSetTimeshiftDuration(5);
  EXPECT_EQ(s_->OnGetTimeshiftDuration(), 3) << "the set keeps settings 0 to 4 only";
  EXPECT_EQ(s_->StopTimeshift(0), XPM_OK);
  EXPECT_EQ(s_->GetLiveTVState(0), XPM_TV_STATE_LIVE);
}

TEST_F(SkinRecordingTest, UsbDiskSizesAreTheSimulatedDisksAndFilesAreTakenSafely) {
  EXPECT_TRUE(s_->IsUSBDiskMounted());
  uint64_t total = 0, free = 0, before = 0;
  ASSERT_EQ(XPM_CheckUSB_Space(sim::kUsbMountPoint, &total, &before), XPM_OK);
  // The simulated disk's size, not the size of the file system its folder lies on.
  EXPECT_EQ(total, static_cast<uint64_t>(sim::kUsbCapacity));

  auto make = [&](const char* name, uintmax_t size) {
    std::ofstream(Disk() / name).put('x');
    std::filesystem::resize_file(Disk() / name, size);
  };
  make("small.ts", 1000);
  make("two.ts", 2u << 20);
  make("big.ts", uintmax_t{3} << 30);  // sparse
  ASSERT_EQ(XPM_CheckUSB_Space(sim::kUsbMountPoint, &total, &free), XPM_OK);
  EXPECT_EQ(before - free, 1000 + (uint64_t{2} << 20) + (uint64_t{3} << 30)) << "the files take their whole size";
  tv_->SetState("usb.capacity", "3000000000");
  ASSERT_EQ(XPM_CheckUSB_Space(sim::kUsbMountPoint, &total, &free), XPM_OK);
  EXPECT_EQ(total, 3000000000u);
  EXPECT_EQ(free, 0u) << "a disk fuller than its size has nothing free";
  auto path = [](const char* name) { return kv::String::FromUtf8(std::string("file:///mnt/usb/sda1/") + name); };
  EXPECT_EQ(s_->GetFileSize(path("small.ts")), 1000);
  EXPECT_EQ(s_->GetFileSize(path("two.ts")), 2048 | (1 << 30));
  EXPECT_EQ(static_cast<uint32_t>(s_->GetFileSize(path("big.ts"))), 3072u | (1u << 31));
  EXPECT_EQ(s_->GetFileSize(kv::String::FromUtf8("/mnt/usb/sda1/small.ts")), 1000) << "no prefix: taken as it is";
  // Any failure is -1, not a size.
  EXPECT_EQ(s_->GetFileSize(path("missing.ts")), -1);
  EXPECT_EQ(s_->GetFileSize(kv::String()), -1);

  // The prefix is dropped only at the start; a path that does not fit is refused.
  tv_->ClearCallLog();
  EXPECT_NE(s_->DeleteFile(kv::String::FromUtf8("/mnt/usb/sda1/x/file:///small.ts")), 0);
  EXPECT_EQ(Calls("XPM_Delete_File")[0], "XPM_Delete_File(\"/mnt/usb/sda1/x/file:///small.ts\")");
  EXPECT_EQ(s_->DeleteFile(kv::String::FromUtf8("/mnt/usb/sda1/" + std::string(300, 'a'))), -1);
  EXPECT_EQ(Count("XPM_Delete_File"), 1u) << "the long path never reaches the middleware";
  ASSERT_TRUE(tv_->Flush());
  ASSERT_TRUE(std::filesystem::exists(tv_->StatePath()));
  EXPECT_NE(s_->DeleteFile(kv::String::FromUtf8("file:///mnt/usb/sda1/../../tvsim.state")), 0);
  EXPECT_TRUE(std::filesystem::exists(tv_->StatePath())) << "nothing outside the disk is touched";
  EXPECT_EQ(s_->DeleteFile(path("small.ts")), 0);
  EXPECT_FALSE(std::filesystem::exists(Disk() / "small.ts"));

  // A removed disk: not mounted, and no sizes.
  sim::RemoveUsbDisk(*tv_);
  EXPECT_FALSE(s_->IsUSBDiskMounted());
  EXPECT_NE(XPM_CheckUSB_Space(sim::kUsbMountPoint, &total, &free), XPM_OK);
  EXPECT_EQ(s_->GetFileSize(path("two.ts")), -1);
}

TEST_F(SkinRecordingTest, UsbFormatAndSpeedTestAnswerWithEvents) {
  std::ofstream(Disk() / "old.ts").put('x');
  ASSERT_EQ(s_->USBDiskFormat(), XPM_OK);
  EXPECT_FALSE(std::filesystem::exists(Disk() / "old.ts"));
  ASSERT_EQ(s_->USBSpeedCheck(), XPM_OK);
  EXPECT_NE(s_->USBSpeedCheck(), XPM_OK) << "one test at a time";
  EXPECT_EQ(s_->AbortUSBSpeedCheck(), XPM_OK);
  EXPECT_EQ(s_->AbortUSBSpeedCheck(), XPM_OK) << "aborting a finished test changes nothing";
  EXPECT_EQ(s_->USBSpeedCheck(), XPM_OK) << "the aborted test makes room for the next";
}

TEST_F(SkinRecordingTest, TheGuideRepeatsAndTheWrapperReadsIt) {
  const int64_t now = State().NetworkTime();
  const auto a = sim::GuideEvents(2, 1, now, 20), b = sim::GuideEvents(2, 1, now, 20);
  ASSERT_EQ(a.size(), 20u);
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].id, b[i].id);
    if (i) {
      EXPECT_EQ(a[i].start, a[i - 1].start + a[i - 1].duration) << "programmes follow one another";
    }
  }
  EXPECT_TRUE(sim::GuideEvents(3, -2, now, 5).empty()) << "analogue channels carry no guide";

  Structures::EventInfo* cur = s_->DB_GetCurrentProgramInfo();
  ASSERT_NE(cur, nullptr);
  EXPECT_EQ(cur->EventId, a[0].id);
  EXPECT_EQ(cur->Title.ToUtf8(), a[0].title);
  EXPECT_EQ(cur->Description.Empty(), a[0].description.empty() || a[0].description == a[0].title);
  ASSERT_TRUE(cur->StartTime);
  Structures::EventInfo* next = s_->DB_GetNextProgramInfo(cur);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->EventId, a[1].id);

  Structures::EventInfo* byTime = s_->GetEventInfoByTime(nullptr);
  ASSERT_NE(byTime, nullptr);
  EXPECT_EQ(byTime->EventId, a[0].id);
  EXPECT_EQ(Count("XPM_ReleaseEvents"), 1u) << "the list is released";

  const size_t live = BKNI_LiveAllocations();
  Structures::EventInfo* rating = s_->GetCurrentRatingInfo();
  ASSERT_NE(rating, nullptr);
  EXPECT_EQ(rating->UsRating, sim::UsRatingWord(a[0]));
  tv_->FailCall("XPM_GetCurrentChannelRatingInfo", 9);
  EXPECT_EQ(s_->GetCurrentRatingInfo()->UsRating, 0);
  EXPECT_EQ(BKNI_LiveAllocations(), live) << "the block is freed";
}

TEST_F(SkinRecordingTest, ChannelsAndTunersOfTheMiddleware) {
  Structures::ChannelData* c = s_->GetChannelInfo(2, 1);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->Major, 2);
  EXPECT_TRUE(c->IsDigital);
  EXPECT_EQ(s_->GetChannelInfo(99, 1), nullptr);
  EXPECT_EQ(s_->VerifySingleDigitChannel(-1, false).ToUtf8(), "-1");
  EXPECT_EQ(s_->VerifySingleDigitChannel(3, true).ToUtf8(), "3");
  EXPECT_EQ(s_->GetCurrentTunerId(), 0);
  Structures::VirtualChannel* t = s_->GetTempCurrentChannel(false, false);
  EXPECT_EQ(Numbers(t), Tuned());
  // The cable map's channel whichever medium is in use: its first until the
  // window tuned one there, then that one.
  const std::vector<sim::Channel> cable = tv_->Tv().Channels(1);
  ASSERT_GT(cable.size(), 2u);
  EXPECT_EQ(Numbers(s_->GetTempCurrentChannel(false, true)), std::make_pair(cable[0].major, cable[0].minor));
  ASSERT_EQ(XPM_SetMedium(1), XPM_OK);
  ASSERT_EQ(XPM_SetChannel(0, cable[2].major, cable[2].minor), XPM_OK);
  ASSERT_EQ(XPM_SetMedium(0), XPM_OK);
  EXPECT_EQ(Numbers(s_->GetTempCurrentChannel(false, true)), std::make_pair(cable[2].major, cable[2].minor));
  EXPECT_EQ(Numbers(s_->GetTempCurrentChannel(false, false)), Tuned());
  tv_->FailCall("XPM_GetCurrent_TunerId", 9);
  EXPECT_EQ(s_->GetCurrentTunerId(), 2);
}

TEST_F(SkinRecordingTest, RecordAllFlagsPerTuner) {
  s_->OnSetTuner2RecordAll(1);
  EXPECT_EQ(s_->OnGetTuner2RecordAll(), 1);
  EXPECT_EQ(s_->OnGetTuner1RecordAll(), 0);
  EXPECT_EQ(Calls("XPM_Set_Record_All")[0], "XPM_Set_Record_All(1, 1)");
  s_->SetTimerRecordValid(3, 1, 7, 2);
  EXPECT_EQ(Calls("XPM_Set_Timer_Record_Valid")[0], "XPM_Set_Timer_Record_Valid(1, 3, 7, 2)");
}

}  // namespace
}  // namespace wrappertest
