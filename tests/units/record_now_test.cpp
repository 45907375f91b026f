// Record now: the record key on live TV, recording the channel in tune, the
// programme on now through the timer editor, and the road back.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/xpm/xpm_record.h"
#include "record_support.h"
#include "units/Core/SeenTexts.h"
#include "units/Constants/MessageTypes.h"
#include "units/NonMenuSystem/WaitingCircle.h"
#include "units/Record/RecordOptionsDialog.h"
#include "units/Structures/EventInfo.h"
#include "units/Structures/VirtualChannel.h"

namespace {

using Record::RecordOptionsDialog;
using Record::RecordTimerDialog;

class RecordNowTest : public recordtest::RecordTest {
 protected:
  RecordOptionsDialog* Choice() {
    auto* d = Open<RecordOptionsDialog>();
    return d && d->IsOpen() ? d : nullptr;
  }
};

TEST_F(RecordNowTest, RecordKeyOffersTheTwoChoicesAndRecordsTheChannelInTune) {
  ClearCallLog();
  Press("record");
  Settle();
  RecordOptionsDialog* d = Choice();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->OptionType, Record::RecordOptionTypeHotKey);
  EXPECT_EQ(Focused(), &d->RecordNowButton);
  // Over live TV it stands in the middle of the screen, lifted as live TV's
  // centred dialogs are (18 px).
  const kv::Rect b = d->Bounds();
  EXPECT_EQ(b.x1, (960 - b.W()) / 2);
  EXPECT_EQ(b.y1, (540 - b.H()) / 2 - 18);
  // Up and down wrap between the two.
  Press("up");
  EXPECT_EQ(Focused(), &d->RecordProgramButton);
  Press("down");
  EXPECT_EQ(Focused(), &d->RecordNowButton);
  Press("down");
  EXPECT_EQ(Focused(), &d->RecordProgramButton);
  Press("up");
  // Record now: the set records the channel in tune on the tuner in use.
  Structures::VirtualChannel* c = W()->GetCurrentChannel();
  const std::string expected =
      "XPM_RECORDING_START(0, " + std::to_string(c->Major) + ", " + std::to_string(c->Minor) + ", 0)";
  Press("ok");
  Settle();
  ASSERT_EQ(Calls("XPM_RECORDING_START").size(), 1u);
  EXPECT_EQ(Calls("XPM_RECORDING_START")[0], expected);
  EXPECT_EQ(Choice(), nullptr);
  // Live TV has the keys again.
  Press("record");
  Settle();
  EXPECT_NE(Choice(), nullptr);
}

#ifdef KV_VERIFY
// The sleep timer running out while the set records: the question whether
// to stop the recordings and sleep is on screen and readable, and stays for
// its 15 seconds; unanswered, the recording stops and the set goes to
// standby.
TEST_F(RecordNowTest, TheSleepTimerEndingWhileRecordingAsksFifteenSecondsThenStopsAndSleeps) {
  RecordOnANewDisk();
  ASSERT_EQ(Calls("XPM_RECORDING_START").size(), 1u);
  ASSERT_EQ(Skin()->GetLiveTVState(0), 3) << "recording";
  ASSERT_EQ(W()->SetSleepTimer(1), 0);
  for (int s = 0; s < 1800 && W()->RemainSleepTime != 0; ++s) Run(100);
  ASSERT_EQ(W()->RemainSleepTime, 0);
  ClearCallLog();
  Run(500);
  const char* question = "The TV is going to sleep";
  EXPECT_TRUE(Sees(question)) << SeenList();
  Run(14000);
  EXPECT_TRUE(Sees(question)) << SeenList();
  EXPECT_TRUE(Calls("XPM_RECORDING_STOP").empty());
  EXPECT_TRUE(Calls("XPM_StandbyMode").empty());
  Run(1000);
  EXPECT_FALSE(Sees(question)) << SeenList();
  EXPECT_EQ(Calls("XPM_RECORDING_STOP"), std::vector<std::string>{"XPM_RECORDING_STOP(0)"});
  EXPECT_EQ(Calls("XPM_StandbyMode"), std::vector<std::string>{"XPM_StandbyMode(1, 5)"});
}
#endif

// A channel key refused while the set records: on live TV the notice says
// why; pressed over the menu, the key is only refused and the menu's help
// row stays readable, no notice under it.
TEST_F(RecordNowTest, ChannelKeysRefusedWhileRecordingLeaveTheMenuWhole) {
  sim::MountUsbDisk(Tv());
  Settle();
  Press("exit");  // the question the new disk raises
  Settle();
  Press("record");
  Run(500);
  Press("ok");
  Run(2000);
  ASSERT_EQ(Skin()->GetLiveTVState(0), 3) << "recording";
  for (const char* key : {"last", "ch+", "ch-"}) {
    Press("menu");
    Run(500);
    ASSERT_TRUE(Sees("Return")) << SeenList();
    Press(key);
    Run(300);
    // Nothing of the notice shows, under the menu or over it, and the menu
    // reads whole.
    for (const Core::SeenText& t : SeenTexts())
      EXPECT_FALSE(t.text.find("Not available while recording") != std::string::npos && t.cover != Core::Cover::kWholly)
          << key << "\n" << SeenList();
    EXPECT_EQ(Core::TextFaults(SeenTexts()), std::vector<std::string>{}) << key;
    EXPECT_TRUE(Sees("Return")) << key << "\n" << SeenList();
    Press("exit");
    Run(500);
    Press(key);
    Run(300);
    EXPECT_TRUE(Sees("Not available while recording")) << key << "\n" << SeenList();
    Run(6000);
  }
}

TEST_F(RecordNowTest, RecordTheProgrammeOpensTheEditorOfKindThreeAndBackReturns) {
  Press("record");
  Settle();
  Press("down");
  Press("ok");
  Settle();
  RecordTimerDialog* e = Editor();
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(Choice(), nullptr);
  // The programme on now: its start and length; kind 3 records from the guide's data.
  Structures::EventInfo* now = Skin()->DB_GetCurrentProgramInfo();
  if (now) {
    EXPECT_EQ(e->Kind(), Record::kKindStart);
    EXPECT_EQ(Active()->Duration, std::max(Record::kMinDuration, now->Duration * 60));
    EXPECT_EQ(Active()->StartTime->Hour, now->StartTime->Hour);
    EXPECT_EQ(Active()->SourceType, Record::kKindGuide);
    // Only the end delay can be changed.
    EXPECT_TRUE(e->TimeButton.OnGetIsDisabled());
    EXPECT_TRUE(e->EarlyButton.OnGetIsDisabled());
    EXPECT_FALSE(e->EndDelayButton.OnGetIsDisabled());
  } else {
    EXPECT_EQ(e->Kind(), Record::kKindTimer);
    EXPECT_EQ(Active()->Duration, 3600);
  }
  EXPECT_FALSE(e->IsShortcut);
  // Back returns to the choice (opened by the record key), whose back returns to live TV.
  Press("back");
  Settle();
  EXPECT_EQ(Editor(), nullptr);
  RecordOptionsDialog* d = Choice();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->OptionType, Record::RecordOptionTypeHotKey);
  Press("back");
  Settle();
  EXPECT_EQ(Choice(), nullptr);
  Press("record");
  Settle();
  EXPECT_NE(Choice(), nullptr);
}

TEST_F(RecordNowTest, ThePogrammeOnNowRecordsAtOnceWhenSaved) {
  SetClock(2026, 12, 8, 20, 15);
  Press("record");
  Settle();
  Press("down");
  Press("ok");
  Settle();
  RecordTimerDialog* e = Editor();
  ASSERT_NE(e, nullptr);
  if (e->Kind() != Record::kKindStart) GTEST_SKIP() << "the channel in tune has no programme now";
  const int32_t id = Skin()->OnGetActiveTimerId();
  ClearCallLog();
  e->OnSetFocus(&e->DoneButton);
  Press("ok");
  Settle();
  EXPECT_TRUE(InDatabase(id));
  EXPECT_EQ(Calls("XPM_SetActiveTimer").size(), 1u);
  EXPECT_EQ(Calls("XPM_Set_Timer_Record_Valid").size(), 1u);
  EXPECT_EQ(Calls("XPM_RECORDING_START").size(), 1u);
  EXPECT_EQ(Editor(), nullptr);
}

TEST_F(RecordNowTest, NoFreeTimerShowsMessage44AndNoEditor) {
  for (int32_t i = 1; i <= 16; ++i) StoreTimer(i, i, 0, 600, 0x01, Record::kTimesEveryday);
  Press("record");
  Settle();
  Press("down");
  Press("ok");
  Settle();
  EXPECT_EQ(BarType(), Constants::DirectMsgTypeInvalidTimerId);
  Run(500);
  EXPECT_TRUE(Sees("The schedule is full")) << SeenList();
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_EQ(Choice(), nullptr);
}

TEST_F(RecordNowTest, OpenedAndClosedFiftyTimesTheCensusComesBack) {
  Press("record");
  Settle();
  Press("back");
  Settle();
  const auto baseline = Census();
  for (int i = 0; i < 50; ++i) {
    Press("record");
    Settle();
    Press("back");
    Settle();
  }
  EXPECT_EQ(Census(), baseline);
}

}  // namespace

namespace {

// The record flag of live TV: the waiting circle's view, when shown.
NonMenuSystem::WaitingCircle* Flag(NonMenuSystem::NonMenuSystem* nms) {
  for (int32_t i = 0; nms && i < nms->GetChildCount(); ++i)
    if (auto* c = kv::Cast<NonMenuSystem::WaitingCircle>(nms->GetChild(i)); c && c->IsVisible()) return c;
  return nullptr;
}

// Without a USB disk, record now says so (message 36) and records nothing.
TEST_F(RecordNowTest, RecordNowWithoutADiskSaysSo) {
  ASSERT_FALSE(sim::UsbDiskMounted(Tv()));
  Press("record");
  Settle();
  ASSERT_NE(Choice(), nullptr);
  Press("ok");
  Run(500);
  Settle();
  EXPECT_EQ(BarType(), 36);
  EXPECT_EQ(Flag(Nms()), nullptr);
  // The keys act again once the message is gone.
  Press("exit");
  Settle();
  Press("record");
  Settle();
  EXPECT_NE(Choice(), nullptr);
}

// With a disk, the record flag stays up its five seconds, then goes; the
// stop of a recording started by hand is taken without an error.
TEST_F(RecordNowTest, TheRecordFlagStaysFiveSecondsAndTheStopIsClean) {
  sim::MountUsbDisk(Tv());
  Settle();
  Nms()->ClearAll();  // the question the new disk raises
  Settle();
  Press("record");
  Settle();
  ASSERT_NE(Choice(), nullptr);
  Press("ok");
  Run(1500);
  Settle();
  EXPECT_NE(Flag(Nms()), nullptr) << "after 1.5 s";
  Run(3000);
  Settle();
  EXPECT_NE(Flag(Nms()), nullptr) << "after 4.5 s";
  Run(1500);
  Settle();
  EXPECT_EQ(Flag(Nms()), nullptr) << "after 6 s";
  Log().Clear();
  ASSERT_EQ(Skin()->StopRecord(0), XPM_OK);
  Settle();
  EXPECT_FALSE(Logged("XPM_Update_Scheduled_Show_Status Error"));
}

}  // namespace
