// The Wrapper's channel and source control, application timers and sleep
// timer on the GUI loop's clock, timer records through the middleware's
// 25-word record, the clock, and the resets.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "runtime/ref.h"
#include "units/Structures/AMPMHour.h"
#include "units/Structures/LocalTime.h"
#include "units/Structures/TimerData.h"
#include "units/Structures/VirtualChannel.h"
#include "units/Wrapper/WrapperInternal.h"
#include "wrapper_fixture.h"

namespace wrappertest {
namespace {

using W = Wrapper::Wrapper;
using Ch = std::pair<int32_t, int32_t>;

// A new local time: years from 1900, months from 0.
Structures::LocalTime* Time(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                            int32_t second = 0) {
  auto* t = kv::New<Structures::LocalTime>();
  t->Year = year;
  t->Month = month;
  t->Day = day;
  t->Hour = hour;
  t->Minute = minute;
  t->Second = second;
  return t;
}

// Second, minute, hour, day, month and year.
std::vector<int32_t> Fields(const Structures::LocalTime* t) {
  return {t->Second, t->Minute, t->Hour, t->Day, t->Month, t->Year};
}

// --- Channels ----------------------------------------------------------------------

TEST_F(WrapperTest, ChannelUpAndDownWalkTheMasterRingWithWrapSkippingExcludedChannels) {
  w_->SetChannelApi(0, 4, 2);
  std::vector<Ch> up;
  for (int i = 0; i < 6; ++i) {
    w_->ChannelChange(true, false, true);
    up.push_back(Tuned());
  }
  // 4-3 carries nothing and 7-1 is excluded: both skipped; 5-1 is locked
  // and still tuned (the set shows its lock).
  EXPECT_EQ(up, (std::vector<Ch>{{5, 1}, {6, -2}, {7, 2}, {9, 1}, {11, 1}, {2, 1}}));
  EXPECT_EQ(Numbers(w_->LastChannel), (Ch{11, 1}));
  EXPECT_EQ(Numbers(w_->PreLastChannel), (Ch{9, 1}));

  std::vector<Ch> down;
  for (int i = 0; i < 3; ++i) {
    w_->ChannelChange(false, false, true);
    down.push_back(Tuned());
  }
  EXPECT_EQ(down, (std::vector<Ch>{{11, 1}, {9, 1}, {7, 2}}));
  EXPECT_EQ(Calls("XPM_GetPrevChannel").front(), "XPM_GetPrevChannel(0, 2, 1, 5, 0, 1)");
  EXPECT_EQ(Calls("XPM_GetNextChannel").front(), "XPM_GetNextChannel(-1, -1, 0, 4, 2, 5, 0, 1)");
  EXPECT_EQ(w_->PreviousSource, -1);
  EXPECT_TRUE(root_->received.empty());

  // A failed tune records the last channel again.
  tv_->FailCall("XPM_SetChannel", 3);
  w_->ChannelChange(true, false, true);
  EXPECT_EQ(Tuned(), (Ch{7, 2}));
  EXPECT_EQ(Numbers(w_->LastChannel), (Ch{9, 1}));
  EXPECT_EQ(Numbers(w_->PreLastChannel), (Ch{9, 1}));
}

TEST_F(WrapperTest, ChannelChangeWithAnEmptyMapSendsTwoEventsAndTunesNothing) {
  for (const auto& c : State().Channels(0)) State().RemoveChannelFromRing(0, c.major, c.minor, kTest);
  tv_->ClearCallLog();
  w_->ChannelChange(true, false, true);
  EXPECT_EQ(root_->Names(), (std::vector<std::string>{"acquired 7", "acquired 48"}));
  EXPECT_EQ(Count("XPM_SetChannel"), 0u);
  EXPECT_EQ(w_->TuneToFirstChannel(), 1);
}

TEST_F(WrapperTest, DirectEntryTunesRecordsAndReportsFailures) {
  w_->OnSetCurrentChannel(W::UniteChannelNum(9, 1));
  EXPECT_EQ(Tuned(), (Ch{9, 1}));
  EXPECT_EQ(Numbers(w_->LastChannel), (Ch{2, 1}));
  EXPECT_EQ(w_->OnGetCurrentChannel(), W::UniteChannelNum(9, 1));
  w_->OnSetCurrentChannel(W::UniteChannelNum(6, -2));
  EXPECT_EQ(Tuned(), (Ch{6, -2})) << "an analogue channel";

  tv_->ClearCallLog();
  EXPECT_EQ(w_->SetChannel(-3, 1, true, true), Wrapper::OPERATION_NOT_AVAILABLE);
  EXPECT_TRUE(tv_->CallLog().empty()) << "a negative major is refused before anything";

  EXPECT_NE(w_->SetChannel(8, 1, true, true), 0) << "8-1 is not in the map";
  EXPECT_EQ(root_->Names(), std::vector<std::string>{"acquired 6"});
  EXPECT_EQ(Numbers(w_->LastChannel), (Ch{9, 1})) << "a failed tune records nothing";

  // From an HDMI input the tuner is brought back, without recording.
  State().SetSource(0, kHdmi2, kTest);
  EXPECT_EQ(w_->SetChannel(4, 1, true, true), 0);
  EXPECT_EQ(SourceOf(0), kTv);
  EXPECT_EQ(Tuned(), (Ch{4, 1}));
  EXPECT_EQ(Numbers(w_->LastChannel), (Ch{9, 1}));
  EXPECT_EQ(w_->PreviousSource, kHdmi2);

  // Without a tuner window and with both windows shown, nothing can be tuned.
  State().SetSource(0, kHdmi2, kTest);
  Put(sim::Setting::kDualWindow, 0, 1);
  root_->received.clear();
  EXPECT_EQ(w_->SetChannel(5, 1, true, true), Wrapper::OPERATION_NOT_AVAILABLE);
  EXPECT_EQ(root_->Names(), std::vector<std::string>{"acquired 48"});
  EXPECT_EQ(w_->SetChannel(5, 1, false, true), Wrapper::OPERATION_NOT_AVAILABLE);
}

TEST_F(WrapperTest, LastKeyTogglesBetweenTheTwoLastChannels) {
  EXPECT_EQ(w_->SetLastChannel(), Wrapper::CHANNEL_NOT_AVAILABLE) << "nothing recorded yet";
  w_->SetChannel(4, 1, true, true);  // 2-1 -> 4-1
  std::vector<Ch> presses;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(w_->SetLastChannel(), 0);
    presses.push_back(Tuned());
  }
  EXPECT_EQ(presses, (std::vector<Ch>{{2, 1}, {4, 1}, {2, 1}}));

  // 2-1 -> 4-1 -> 9-1 recorded; watching 4-1 (the last channel) with no
  // toggle running, the key goes to the channel left before it.
  w_->SetChannel(4, 1, true, true);
  w_->SetChannel(9, 1, true, true);
  EXPECT_EQ(Numbers(w_->LastChannel), (Ch{4, 1}));
  EXPECT_EQ(Numbers(w_->PreLastChannel), (Ch{2, 1}));
  w_->SetChannelApi(0, 4, 1);
  EXPECT_EQ(w_->SetLastChannel(), 0);
  EXPECT_EQ(Tuned(), (Ch{2, 1}));

  // A new input medium forgets the channels.
  w_->OnSetAntCableIn(1);
  EXPECT_EQ(Calls("XPM_SetMedium"), std::vector<std::string>{"XPM_SetMedium(1)"});
  EXPECT_EQ(Numbers(w_->LastChannel), (Ch{-1, -1}));
  EXPECT_EQ(w_->SetLastChannel(), Wrapper::CHANNEL_NOT_AVAILABLE);
}

TEST_F(WrapperTest, SuspendedRecordingComesBackAfterFiveSecondsOfLoopPasses) {
  w_->RecordLastChannelEnabled = false;
  w_->RecordLastChannelTimer.OnSetEnabled(true);
  w_->SetChannel(4, 1, true, true);
  EXPECT_EQ(Numbers(w_->LastChannel), (Ch{-1, -1}));
  driver.RunFor(4990, 10);
  EXPECT_FALSE(w_->RecordLastChannelEnabled);
  driver.RunFor(20, 10);
  EXPECT_TRUE(w_->RecordLastChannelEnabled);
  EXPECT_FALSE(w_->RecordLastChannelTimer.IsEnabled());
  w_->SetChannel(5, 1, true, true);
  EXPECT_EQ(Numbers(w_->LastChannel), (Ch{4, 1}));
}

TEST_F(WrapperTest, PhysicalChannelsAndRings) {
  const size_t live = BKNI_LiveAllocations();
  const size_t badFrees = BKNI_BadFrees();
  // Physical channel 28 carries 4-1, 4-2 and 4-3.
  EXPECT_EQ(w_->SetPhysicalChannel(28, 1), 1);
  EXPECT_EQ(Tuned(), (Ch{4, 2}));
  EXPECT_EQ(w_->SetPhysicalChannel(28, 7), 1) << "an index beyond the list tunes the first";
  EXPECT_EQ(Tuned(), (Ch{4, 1}));
  EXPECT_EQ(w_->SetPhysicalChannel(29, 0), 0) << "nothing on the air there";
  w_->AddPhysicalChannelsToRing(1, 28);
  EXPECT_EQ(Calls("XPM_AddChannelToRing"),
            (std::vector<std::string>{"XPM_AddChannelToRing(1, 4, 1)", "XPM_AddChannelToRing(1, 4, 2)",
                                      "XPM_AddChannelToRing(1, 4, 3)"}));
  EXPECT_TRUE(Logged("Add Channel 4.2 to master ring 1"));
  EXPECT_EQ(State().Ring(0, 1).size(), 3u);
  tv_->ClearCallLog();
  w_->AddPhysicalChannelsToRing(1, 28);
  EXPECT_EQ(Count("XPM_AddChannelToRing"), 0u) << "already there";
  w_->RemovePhysicalChannelsFromRing(1, 28);
  EXPECT_EQ(Count("XPM_RemoveChannelFromRing"), 3u);
  EXPECT_TRUE(State().Ring(0, 1).empty());
  EXPECT_EQ(BKNI_LiveAllocations(), live) << "every list handed over is freed";
  EXPECT_EQ(BKNI_BadFrees(), badFrees);
}

// --- Sources -----------------------------------------------------------------------

TEST_F(WrapperTest, TheExternalInputIsNotRemembered) {
  w_->SetSource(0, kExternal);
  EXPECT_EQ(w_->PreviousSource, kTv);
  w_->SetSource(0, kHdmi1);
  EXPECT_EQ(w_->PreviousSource, kTv) << "the external input is not returned to";
  w_->SetSource(0, kDvi);
  EXPECT_EQ(w_->PreviousSource, kHdmi1);
}

TEST_F(WrapperTest, SourceSwitchingRemembersThePreviousSource) {
  EXPECT_EQ(w_->SetLastSource(), 0) << "no previous source";
  EXPECT_EQ(w_->SetSource(0, kHdmi1), 0);
  EXPECT_EQ(w_->PreviousSource, kTv);
  EXPECT_EQ(w_->SetLastSource(), 1);
  EXPECT_EQ(Calls("XPM_SetSource").back(), "XPM_SetSource(0, " + std::to_string(kTv) + ")");
  EXPECT_EQ(SourceOf(0), kTv);
  EXPECT_EQ(w_->PreviousSource, kHdmi1) << "the key goes back and forth";

  w_->SetSource(0, kTv);  // already shown
  EXPECT_EQ(w_->PreviousSource, kHdmi1);
  w_->SetSource(0, kMultimedia);
  w_->SetSource(0, kAv);
  EXPECT_EQ(w_->PreviousSource, kTv) << "the multimedia input is not returned to";

  w_->ChannelChange(true, false, false);
  EXPECT_EQ(w_->PreviousSource, kTv) << "no tuner on window 0: nothing happened";
  EXPECT_EQ(SourceOf(0), kAv);
  w_->ChannelChange(true, true, false);
  EXPECT_EQ(SourceOf(0), kTv) << "retuned";
  EXPECT_EQ(w_->PreviousSource, kAv);
  w_->ChannelChange(true, false, false);
  EXPECT_EQ(w_->PreviousSource, -1) << "a channel change forgets it";

  // Inputs in order: TV, TV2, AV, Component, HDMI1-3, DVI, PC, Multimedia.
  EXPECT_EQ(w_->GetSourceByType(0, 5, 2), kHdmi2);
  EXPECT_EQ(w_->GetSourceByType(5, 5, 2), kHdmi3) << "counted from the start index";
  EXPECT_EQ(w_->GetSourceByType(5, 5, 3), kDvi) << "a DVI input counts as HDMI";
  EXPECT_EQ(w_->GetSourceByType(5, 5, 4), -1);
  EXPECT_EQ(w_->GetSourceByType(0, 10, 1), -1) << "and is not found as DVI";
  EXPECT_EQ(w_->GetSourceByType(-4, 1, 0), kTv);
  EXPECT_EQ(w_->GetSourceByType(0, 12, 1), kTv2);
  EXPECT_EQ(w_->GetSourceByType(99, 7, 1), kMultimedia) << "a start beyond the last counts as the last";
  EXPECT_EQ(w_->GetSourceIndex(kPc), 8);
  EXPECT_EQ(w_->GetSourceIndex(kHdmi3), 6);
  EXPECT_EQ(w_->GetSourceIndex(99), w_->GetNumSources());
  EXPECT_EQ(w_->GetSourceIndex(-1), -1);
  EXPECT_TRUE(w_->IsTunerSource());
}

// --- Application timers -------------------------------------------------------------

// A property counted down by an application-timer slot.
class Countdown : public kv::Object {
  KV_CLASS(wrappertest, Countdown, kv::Object)
 public:
  int32_t OnGetValue() { return value; }
  void OnSetValue(int32_t v) { value = v; }
  kv::RefInt32 Ref() { return kv::MakeRef(this, &Countdown::OnGetValue, &Countdown::OnSetValue); }
  int32_t value = 0;
};

TEST_F(WrapperTest, SleepTimerOfOneMinuteSendsStandbyOnce) {
  auto* saver = kv::New<Countdown>();
  kv::Persistent<Countdown> keep(saver);
  EXPECT_EQ(w_->SetSleepTimer(1), 0);
  w_->SetApplicationTimer(Wrapper::APP_TIMER_SCREEN_SAVER, 3, saver->Ref());
  driver.RunFor(60000, 1000);
  EXPECT_EQ(w_->RemainSleepTime, 0);
  EXPECT_EQ(root_->Names(), std::vector<std::string>{"standby 5"});
  driver.RunFor(60000, 1000);
  EXPECT_EQ(w_->RemainSleepTime, -1) << "the slot counts on while another one runs";
  EXPECT_EQ(root_->Names(), std::vector<std::string>{"standby 5"});
  EXPECT_EQ(w_->GetSleepTimer(), 1) << "the minutes it was started with";
  driver.RunFor(180000, 1000);
  EXPECT_EQ(saver->value, 0);
  EXPECT_FALSE(w_->ApplicationTimer.IsEnabled()) << "the tick stops with the last slot";
}

TEST_F(WrapperTest, SleepTimerEndsOnTimeWhileKeysRestartTheAutoPowerDownEvery30Seconds) {
  for (int32_t minutes : {1, 3}) {
    SCOPED_TRACE(minutes);
    auto* autoPower = kv::New<Countdown>();
    kv::Persistent<Countdown> keep(autoPower);
    root_->received.clear();
    w_->SetApplicationTimer(Wrapper::APP_TIMER_AUTO_POWER, 240, autoPower->Ref());
    driver.RunFor(10000, 1000);
    int64_t start = driver.Now();
    w_->SetSleepTimer(minutes);
    while (root_->received.empty() && driver.Now() - start < 10 * 60000) {
      driver.RunFor(30000, 1000);
      w_->SetApplicationTimer(Wrapper::APP_TIMER_AUTO_POWER, 240, autoPower->Ref());  // a key
    }
    ASSERT_EQ(root_->Names(), std::vector<std::string>{"standby 5"});
    int64_t elapsed = root_->received[0].at - start;
    EXPECT_GE(elapsed, minutes * 60000);
    EXPECT_LE(elapsed, (minutes + 1) * 60000);
    EXPECT_EQ(autoPower->value, 240) << "keys keep the automatic power-down away";
    w_->SetApplicationTimer(Wrapper::APP_TIMER_AUTO_POWER, 0, kv::NullRef());
    driver.RunFor(120000, 1000);
  }
}

TEST_F(WrapperTest, CancellingTheSleepTimerLeavesNothingBehind) {
  w_->SetSleepTimer(5);
  driver.RunFor(60000, 1000);
  EXPECT_EQ(w_->OnGetRemainSleepTime(), 4);
  EXPECT_EQ(w_->SetSleepTimer(0), 0);
  EXPECT_EQ(w_->OnGetRemainSleepTime(), 0);
  EXPECT_EQ(w_->GetSleepTimer(), 0);
  driver.RunFor(600000, 1000);
  EXPECT_TRUE(root_->received.empty());
  EXPECT_FALSE(w_->ApplicationTimer.IsEnabled());

  EXPECT_EQ(w_->SetApplicationTimer(10, 5, kv::NullRef()), 0);
  EXPECT_EQ(w_->GetApplicationTimer(10), 0);
  w_->SetOSDLock(true);
  EXPECT_EQ(w_->SetApplicationTimer(2, 5, kv::NullRef()), 1);
  EXPECT_EQ(w_->GetApplicationTimer(2), 0);
}

// --- Timer records ---------------------------------------------------------------------

// Every field of a timer record but its start time.
std::vector<int32_t> Fields(const Structures::TimerData* t) {
  return {t->Id,     t->Enable, t->DaysOfWeek, t->Duration,   t->Source, t->ChannelMajor, t->ChannelMinor, t->Extra1,
          t->Extra2, t->Extra3, t->TimesType,  t->SourceType, t->MapId,  t->StartEarly,   t->EndDelay};
}

Structures::TimerData* SampleTimer() {
  auto* t = kv::New<Structures::TimerData>();
  t->Id = 3;
  t->Enable = 1;
  t->DaysOfWeek = 0x41;
  t->Duration = 90;
  t->Source = kTv;
  t->ChannelMajor = 7;
  t->ChannelMinor = -1;
  t->Extra1 = 11;
  t->Extra2 = 22;
  t->Extra3 = 33;
  t->TimesType = 2;
  t->SourceType = 4;
  t->MapId = 5;
  t->StartEarly = 6;
  t->EndDelay = 8;
  auto* start = Time(126, 11, 24, 20, 30);
  start->Weekday = 4;
  t->StartTime = start;
  return t;
}

TEST_F(WrapperTest, TimerRecordsRoundTripThroughTheMiddlewareRecord) {
  EXPECT_EQ(w_->SetTimer(SampleTimer()), 0);
  XPM_TimerRecord r;
  std::memset(&r, 0x5a, sizeof r);
  ASSERT_EQ(XPM_GetTimer(3, &r), 0);
  EXPECT_EQ(r.extra1, 11);
  EXPECT_EQ(r.enabled, 1);
  EXPECT_EQ(r.start.hour, 20);
  EXPECT_EQ(r.start.year, 126);
  EXPECT_EQ(r.unused11, 0);
  EXPECT_EQ(r.unused12, 0);
  EXPECT_EQ(r.daysOfWeek, 0x41);
  EXPECT_EQ(r.minor, -1);
  EXPECT_EQ(r.endDelay, 8);

  Structures::TimerData* back = w_->GetTimer(3);
  ASSERT_NE(back, nullptr);
  Structures::TimerData* sent = SampleTimer();
  EXPECT_EQ(Fields(back), Fields(sent));
  EXPECT_EQ(back->StartTime->GetTicks(), sent->StartTime->GetTicks());
  EXPECT_EQ(w_->ActiveTimer.get(), back);
  EXPECT_TRUE(w_->IsTimerValid(3));
  Structures::TimerData* none = SampleTimer();
  none->DaysOfWeek = 0;
  w_->SetTimer(none);
  EXPECT_FALSE(w_->IsTimerValid(3)) << "no day of the week";
  EXPECT_FALSE(w_->IsTimerValid(4));
  EXPECT_EQ(w_->GetTimer(4), nullptr);
}

TEST_F(WrapperTest, TimerPropertiesWorkOnTheCachedRecordUntilItIsSaved) {
  for (int32_t id : {1, 2}) {
    Structures::TimerData* other = SampleTimer();
    other->Id = id;
    other->StartTime->Hour = id;  // apart: the set refuses timers that overlap
    w_->SetTimer(other);
  }
  EXPECT_EQ(w_->GetFirstAvailableTimerId(), 3);
  EXPECT_EQ(w_->OnGetActiveTimerId(), 3);
  // No record there yet: the active timer is an empty one, as a cleared slot holds it.
  ASSERT_NE(w_->ActiveTimer.get(), nullptr);
  EXPECT_EQ(w_->ActiveTimer->Id, 3);
  EXPECT_EQ(w_->ActiveTimer->DaysOfWeek, 0);
  EXPECT_EQ(w_->ActiveTimer->Enable, 0);
  w_->SetTimer(SampleTimer());
  w_->OnSetActiveTimerId(3);
  tv_->ClearCallLog();
  w_->OnSetTimerDuration(30);
  w_->OnSetTimerChannel(W::UniteChannelNum(9, 2));
  w_->OnSetEnableTimer(-4);
  EXPECT_EQ(Count("XPM_SetTimer") + Count("XPM_GetTimer"), 0u) << "nothing before the save";
  EXPECT_EQ(w_->OnGetTimerChannel(), W::UniteChannelNum(9, 2));
  EXPECT_EQ(w_->OnGetEnableTimer(), 1);
  EXPECT_EQ(w_->SetTimer(nullptr), 0);
  ASSERT_EQ(Count("XPM_SetTimer"), 1u);
  XPM_TimerRecord r{};
  ASSERT_EQ(XPM_GetTimer(3, &r), 0);
  EXPECT_EQ((std::vector<int32_t>{r.duration, r.major, r.minor, r.enabled}), (std::vector<int32_t>{30, 9, 2, 1}));

  // Without the cache every change is saved at once.
  w_->UseTimerCache = false;
  w_->OnSetTimerDaysOfWeek(0x7f);
  ASSERT_EQ(XPM_GetTimer(3, &r), 0);
  EXPECT_EQ(r.daysOfWeek, 0x7f);
  EXPECT_EQ(w_->OnGetTimerMapId(), 5);
  EXPECT_EQ(w_->SetTimer(nullptr), 1) << "no cached record to save";

  // Locked: the lock comes back, never a success, and nothing is written.
  w_->UseTimerCache = true;
  w_->SetOSDLock(true);
  tv_->ClearCallLog();
  int32_t locked = w_->SetTimer(SampleTimer());
  EXPECT_EQ(locked, 1);
  EXPECT_EQ(Count("XPM_SetTimer"), 0u);

  // A missing record is left alone.
  w_->SetOSDLock(false);
  w_->UseTimerCache = false;
  w_->OnSetActiveTimerId(8);
  EXPECT_EQ(w_->ActiveTimer.get(), nullptr);
  w_->OnSetTimerDuration(15);
  EXPECT_EQ(w_->OnGetTimerDuration(), 15);
  EXPECT_NE(XPM_GetTimer(8, &r), 0) << "nothing was written";
}

// --- Clock -------------------------------------------------------------------------------

TEST_F(WrapperTest, ClockAndTwelveHourTexts) {
  // Set by hand: the automatic update off first.
  EXPECT_EQ(w_->SetAutoTimeUpdate(0), 0);
  EXPECT_EQ(w_->SetCurrentTime(Time(120, 1, 2, 9, 4, 5)), 0);
  EXPECT_TRUE(Logged("Set time to XPM with sec[5] min[4] hour[9] day[2] mon[1] year[120]"));
  EXPECT_EQ(Fields(w_->GetCurrentTime()), (std::vector<int32_t>{5, 4, 9, 2, 1, 120}));

  EXPECT_EQ(W::ConvertAMPMTo24Hour(12, true), 0);
  EXPECT_EQ(W::ConvertAMPMTo24Hour(12, false), 12);
  EXPECT_EQ(W::ConvertAMPMTo24Hour(7, false), 19);
  const std::pair<int32_t, int32_t> ampm[] = {{12, 1}, {11, 1}, {12, 0}, {1, 0}, {11, 0}};
  const int32_t hours[] = {0, 11, 12, 13, 23};
  for (int i = 0; i < 5; ++i) {
    Structures::AMPMHour* h = W::Convert24HourToAMPM(hours[i]);
    EXPECT_EQ((std::pair<int32_t, int32_t>{h->Hour, h->AM}), ampm[i]) << hours[i];
  }
  EXPECT_EQ(W::GetTimeAMPM(0, 5).ToUtf8(), "12:05 AM");
  EXPECT_EQ(W::GetTimeAMPM(13, 7).ToUtf8(), "01:07 PM");
}

// --- Resets ---------------------------------------------------------------------------------

TEST_F(WrapperTest, ResetAllRestoresClockSleepTimerChannelMemoryAndWindow) {
  w_->SetChannel(4, 1, true, true);
  w_->SetSleepTimer(30);
  w_->Window = 1;
  w_->StartAnimation();
  w_->StartAnimation();
  EXPECT_EQ(w_->ResetAll(), 0);
  // The reset set takes its time from the broadcast again; the clock the
  // reset wrote shows once the update is off.
  EXPECT_EQ(w_->GetAutoTimeUpdate(), 1);
  EXPECT_EQ(w_->SetAutoTimeUpdate(0), 0);
  EXPECT_EQ(Fields(w_->GetCurrentTime()), (std::vector<int32_t>{0, 0, 0, 1, 0, 106}));
  EXPECT_EQ(w_->GetSleepTimer(), 0);
  EXPECT_EQ(w_->RemainSleepTime, 0);
  EXPECT_EQ(Numbers(w_->LastChannel), (Ch{-1, -1}));
  EXPECT_EQ(w_->Window, 0);
  EXPECT_FALSE(w_->IsAnimating());
  EXPECT_EQ(Calls("XPM_Reset"), std::vector<std::string>{"XPM_Reset(0)"});
  driver.RunFor(31 * 60000, 1000);
  EXPECT_TRUE(root_->received.empty());
  EXPECT_EQ(w_->StopAnimation(), 0);
}

TEST_F(WrapperTest, ResetLockUnlocksEveryChannelAndEndsItsWalkWhateverTheMiddlewareDoes) {
  State().SetChannelLock(9, 1, 1, kTest);
  EXPECT_EQ(w_->ResetLock(), 0);
  for (const auto& c : State().Channels(0)) EXPECT_FALSE(c.locked) << c.major << "-" << c.minor;
  EXPECT_EQ(Calls("XPM_SetChannelLock"),
            (std::vector<std::string>{"XPM_SetChannelLock(5, 1, 0)", "XPM_SetChannelLock(9, 1, 0)"}));
  EXPECT_EQ(Count("XPM_SetCanadaLevel"), 13u);
  EXPECT_EQ(Calls("XPM_SetCanadaLevel").front(), "XPM_SetCanadaLevel(0, 0, 0, 1)");
  EXPECT_EQ(Calls("XPM_SetCanadaLevel").back(), "XPM_SetCanadaLevel(1, 5, 0, 1)");
  auto log = tv_->CallLog();
  EXPECT_EQ(std::vector<std::string>(log.end() - 3, log.end()),
            (std::vector<std::string>{"XPM_SetUnratedContent(0)", "XPM_SetFrontPanelLockState(0)",
                                      "XPM_SetParentalLocksState(2)"}));

  EXPECT_EQ(Count("XPM_GetNextChannel"), 13u) << "twelve channels and the end";
  EXPECT_EQ(Value(sim::Setting::kParentalLocksState), 2);
  // The walk does not need the ring's count: it goes on to the end.
  State().SetChannelLock(9, 1, 1, kTest);
  tv_->ClearCallLog();
  tv_->FailCall("XPM_GetNumChannelsInRing", 3);
  EXPECT_EQ(w_->ResetLock(), 0);
  EXPECT_EQ(Count("XPM_GetNextChannel"), 13u);
  EXPECT_EQ(Calls("XPM_SetChannelLock"), std::vector<std::string>{"XPM_SetChannelLock(9, 1, 0)"});
  tv_->ClearFailures();
  // A walk that fails stops at once, the reset goes on, and the answer says so.
  tv_->ClearCallLog();
  tv_->FailCall("XPM_GetNextChannel", 3);
  EXPECT_EQ(w_->ResetLock(), 3);
  EXPECT_EQ(Count("XPM_GetNextChannel"), 1u);
  EXPECT_EQ(Count("XPM_SetParentalLocksState"), 1u);
}

// A middleware that answers a channel again, or never ends, cannot keep a
// ring walk going; both count as cut short.
TEST(WrapperRingWalk, EndsOnARepeatedChannelAndAtTheRingCapacity) {
  kvtest::LogCapture log;
  log.Start();
  std::vector<int32_t> visited;
  auto visit = [&visited](const XPM_VirtualChannel& c) { visited.push_back(c.major); };
  // 1, 2, 3, 1, ...
  auto cycle = [](int32_t major, int32_t, XPM_VirtualChannel* next) {
    *next = {major < 1 ? 1 : major % 3 + 1, 1};
    return 0;
  };
  EXPECT_EQ(Wrapper::detail::WalkRing("walk", cycle, visit), XPM_ERR_FAILED);
  EXPECT_EQ(visited, (std::vector<int32_t>{1, 2, 3}));
  EXPECT_TRUE(log.Contains("walk: channel 1-1 came again"));

  visited.clear();
  auto endless = [](int32_t major, int32_t, XPM_VirtualChannel* next) {
    *next = {major < 1 ? 1 : major + 1, 1};
    return 0;
  };
  EXPECT_EQ(Wrapper::detail::WalkRing("walk", endless, visit), XPM_ERR_FAILED);
  EXPECT_EQ(visited.size(), static_cast<size_t>(Wrapper::detail::kRingCapacity));

  auto two = [](int32_t major, int32_t, XPM_VirtualChannel* next) {
    if (major >= 2) return static_cast<int32_t>(XPM_ERR_END_OF_LIST);
    *next = {major < 1 ? 1 : 2, 1};
    return 0;
  };
  visited.clear();
  EXPECT_EQ(Wrapper::detail::WalkRing("walk", two, visit), 0);
  EXPECT_EQ(visited, (std::vector<int32_t>{1, 2}));
  log.Stop();
}

TEST_F(WrapperTest, ResetAudioUnmutesOnlyAMutedSet) {
  Put(sim::Setting::kMute, 0, 1);
  State().SetAudioLanguage("fre", kTest);
  w_->ResetAudio();
  EXPECT_EQ(Calls("XPM_SetMute"), std::vector<std::string>{"XPM_SetMute(8, 0)"});
  EXPECT_EQ(Value(sim::Setting::kMute), 0);
  EXPECT_EQ(State().AudioLanguage(), "eng");
  EXPECT_EQ(Calls("XPM_SetPreferredAudioDecodeMode"), std::vector<std::string>{"XPM_SetPreferredAudioDecodeMode(1)"});
  tv_->ClearCallLog();
  w_->ResetAudio();
  EXPECT_EQ(Count("XPM_SetMute"), 0u);
  tv_->FailCall("XPM_GetMute", 4);
  Put(sim::Setting::kMute, 0, 1);
  w_->ResetAudio();
  EXPECT_EQ(Count("XPM_SetMute"), 0u);
  EXPECT_TRUE(Logged("XPM_GetMute returned error: 4"));
}

TEST_F(WrapperTest, ResetClosedCaptionSetsTheLookThenTheServices) {
  EXPECT_EQ(w_->ResetClosedCaption(), 0);
  auto log = tv_->CallLog();
  const std::vector<std::string> expected = {
      "XPM_SetAdvancedCaptionProperty(7, -16777216)", "XPM_SetAdvancedCaptionProperty(8, 4)",
      "XPM_SetAdvancedCaptionProperty(9, -16777216)", "XPM_SetAdvancedCaptionProperty(10, 4)",
      "XPM_SetAdvancedCaptionProperty(3, 3)",         "XPM_SetAdvancedCaptionProperty(4, 7)",
      "XPM_SetAdvancedCaptionProperty(5, -16777216)", "XPM_SetAdvancedCaptionProperty(6, 6)",
      "XPM_SetAdvancedCaptionProperty(1, -16777216)", "XPM_SetAdvancedCaptionProperty(2, 4)",
      "XPM_SetAdvancedCaptionProperty(0, 4)",         "XPM_SetCaptionRenderState(0, 2)",
      "XPM_SetPreferredBasicCaptionService(1)",       "XPM_SetPreferredAdvancedCaptionService(1)",
      "XPM_SetCaptionDecodeMode(2)"};
  EXPECT_EQ(log, expected);
  EXPECT_EQ(w_->CC708_FontColor, -16777216);
  EXPECT_EQ(w_->CC708_WinJustification, 4);

  tv_->FailCall("XPM_SetCaptionRenderState", 4);
  w_->ResetClosedCaption();
  EXPECT_TRUE(Logged("Failed to reset RenderState to default"));
  w_->SetOSDLock(true);
  tv_->ClearCallLog();
  EXPECT_EQ(w_->ResetAdvanceCaptionProperty(), 1);
  EXPECT_EQ(Count("XPM_SetAdvancedCaptionProperty"), 0u);
}

TEST_F(WrapperTest, ResetVideoChannelAndSource) {
  Put(sim::Setting::kVideoPreset, 0, 5);
  Put(sim::Setting::kContrast, 0, 3);
  EXPECT_EQ(w_->ResetVideo(), 0);
  EXPECT_EQ(Value(sim::Setting::kContrast), sim::TvState::FactoryValue(sim::Setting::kContrast, 0, 5));
  EXPECT_EQ(Calls("XPM_ResetVideoPreset"), std::vector<std::string>{"XPM_ResetVideoPreset(0, 5)"});
  w_->SetChannel(4, 1, true, true);
  w_->ResetChannel();
  EXPECT_EQ(Numbers(w_->LastChannel), (Ch{-1, -1}));
  tv_->ClearCallLog();
  ClearLines();
  w_->ResetSource();
  EXPECT_TRUE(tv_->CallLog().empty());
  EXPECT_EQ(Lines().size(), 1u);
}

}  // namespace
}  // namespace wrappertest
