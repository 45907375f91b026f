// Roads that name a channel, on a set made as a new owner makes it: the
// first-time setup on cable, or with both tuners (tuner 1 antenna, tuner 2
// cable). A timer set from the guide, from the record key or from the guide's
// record-now choice records the programme's own channel on its own medium
// and tuner; the guide opened on a locked channel the viewer has unlocked
// stays on it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "channels_support.h"
#include "platform/db/db.h"
#include "platform/xpm/xpm_settings.h"
#include "units/Channels/FullEPGDialog.h"
#include "units/ListForm/GuideLists.h"
#include "units/Record/RecordOptionsDialog.h"
#include "units/Record/RecordTimerDialog.h"
#include "units/Structures/VirtualChannel.h"

namespace {

class NewSetRoadsTest : public channeltest::ChannelTest {
 protected:
  NewSetRoadsTest() { freshSet_ = true; }

  // The first-time setup with one tuner on cable, to live TV.
  void SetUpOnCable() {
    Run(1000);
    for (const char* key : {"ok", "ok", "ok", "ok", "down", "ok", "ok"}) {
      Press(key);
      Run(300);
    }
    Run(10000);
    Press("exit");
    Run(1000);
    ASSERT_EQ(Set().Value(sim::Setting::kMedium), 1);
  }
  // The first-time setup with both tuners, tuner 2 on cable; then TV 2
  // chosen in the input list.
  void SetUpBothTunersAndWatchTv2() {
    Run(1000);
    for (const char* key : {"ok", "ok", "ok", "down", "down", "ok", "up", "ok", "down", "down", "ok", "ok"}) {
      Press(key);
      Run(300);
    }
    Run(15000);
    Press("exit");
    Run(1000);
    ASSERT_EQ(Set().Value(sim::Setting::kTuner2Medium), 1);
    Press("input");
    Run(500);
    Press("down");
    Press("ok");
    Run(3000);
    ASSERT_EQ(Window0Source(), sim::kSourceTv2);
  }
  // Types a channel number as the viewer does ("15-1") and waits for the tune.
  void Type(const std::string& number) {
    for (char c : number) Press(c == '-' ? std::string("dash") : std::string(1, c));
    Press("ok");
    Run(3000);
  }
  bool InTune(int32_t major, int32_t minor) {
    Structures::VirtualChannel* c = W()->GetCurrentChannel();
    return c && c->Major == major && c->Minor == minor;
  }
  // The timers the set holds, enabled or not, that have a channel.
  std::vector<XPM_TimerRecord> Timers() {
    std::vector<XPM_TimerRecord> out;
    for (int32_t id = 0; id <= 16; ++id) {
      XPM_TimerRecord r{};
      if (XPM_GetTimer(id, &r) == XPM_OK && r.daysOfWeek > 0) out.push_back(r);
    }
    return out;
  }
  Record::RecordTimerDialog* Editor() {
    auto* e = Open<Record::RecordTimerDialog>();
    return e && e->IsOpen() ? e : nullptr;
  }
  // The guide opened, the second programme of the channel in tune chosen:
  // the editor opens on it.
  void TimerFromTheGuide() {
    Press("guide");
    Run(1000);
    Press("right");
    Run(300);
    Press("down");
    Run(300);
    Press("ok");
    Run(800);
  }
  bool EditorShows(const std::string& text) {
    for (const Core::SeenText& t : SeenTexts())
      if (t.where.find("Record::RecordTimerDialog") != std::string::npos && t.text == text && !t.Cut()) return true;
    return false;
  }
  // The editor open, reading the channel and "Cable"; Done stores the timer.
  void EditorSavesTheTimerOn(const char* channel) {
    auto* e = Editor();
    ASSERT_NE(e, nullptr);
    // The channel and medium buttons are greyed (the programme sets them):
    // their texts are read as the editor draws them.
    EXPECT_TRUE(EditorShows(channel)) << SeenList();
    EXPECT_TRUE(EditorShows("Cable")) << SeenList();
    EXPECT_FALSE(EditorShows("Antenna")) << SeenList();
    e->OnSetFocus(&e->DoneButton);
    Press("ok");
    Run(500);
    ASSERT_EQ(Editor(), nullptr);
  }
  // On a cable set, 15-1 tuned: the record key's choice (or the guide's, OK
  // on the programme on now), then "record the programme" and Done.
  void RecordTheProgrammeOn15Dash1(bool fromGuide) {
    SetUpOnCable();
    Type("15-1");
    ASSERT_TRUE(InTune(15, 1));
    if (fromGuide) {
      Press("guide");
      Run(1000);
      Press("right");
      Run(300);
      Press("ok");
    } else {
      Press("record");
    }
    Run(500);
    ASSERT_NE(Open<Record::RecordOptionsDialog>(), nullptr);
    Press("down");
    Press("ok");
    Run(800);
    EditorSavesTheTimerOn("15-1");
    ExpectTimersOn(1, sim::kSourceTv, 15, 1, 1);
  }
  // The set holds `count` timers, each on that input, channel and medium.
  void ExpectTimersOn(size_t count, int32_t source, int32_t major, int32_t minor, int32_t medium) {
    const std::vector<XPM_TimerRecord> timers = Timers();
    ASSERT_EQ(timers.size(), count);
    for (const XPM_TimerRecord& t : timers) {
      EXPECT_EQ(t.source, source);
      EXPECT_EQ(t.major, major);
      EXPECT_EQ(t.minor, minor);
      EXPECT_EQ(t.mapId, medium);
    }
    // The set's schedule holds the show on the tuner of that input.
    DB_ScheduledEntry show{};
    size_t shows = 0;
    for (int32_t s = DB_Get_First_Scheduled_Show(&show); s == DB_OK; s = DB_Get_Scheduled_Show_Next(show.id, &show)) {
      ++shows;
      EXPECT_EQ(show.block.tuner, source == sim::kSourceTv2 ? 1 : 0) << "show " << show.id;
      EXPECT_EQ(show.block.major, major);
    }
    EXPECT_EQ(shows, count);
  }
};

// A later programme of 15-1 chosen in the guide of a cable set: the editor
// reads 15-1 on cable and the set keeps that timer, also after a restart.
TEST_F(NewSetRoadsTest, ATimerFromTheGuideOnACableSetRecordsTheProgrammesCableChannel) {
  SetUpOnCable();
  Type("15-1");
  ASSERT_TRUE(InTune(15, 1));
  TimerFromTheGuide();
  EditorSavesTheTimerOn("15-1");
  ExpectTimersOn(1, sim::kSourceTv, 15, 1, 1);
  Press("exit");
  Run(500);
  Restart();
  Run(2000);
  ExpectTimersOn(1, sim::kSourceTv, 15, 1, 1);
}

// The record key's "record the programme", and the same choice offered by OK
// on the guide's programme on now: the programme of the cable channel in tune.
TEST_F(NewSetRoadsTest, TheRecordKeysProgrammeOnACableSetIsTheCableChannelInTune) {
  RecordTheProgrammeOn15Dash1(false);
}

TEST_F(NewSetRoadsTest, TheGuidesRecordNowChoiceOnACableSetIsTheCableChannelInTune) {
  RecordTheProgrammeOn15Dash1(true);
}

TEST_F(NewSetRoadsTest, ATimerFromTheGuideOnTheSecondTunerRecordsItsCableChannel) {
  SetUpBothTunersAndWatchTv2();
  Type("15-1");
  ASSERT_TRUE(InTune(15, 1));
  TimerFromTheGuide();
  EditorSavesTheTimerOn("15-1");
  ExpectTimersOn(1, sim::kSourceTv2, 15, 1, 1);
}

// The last-channel key and the channel browser on cable and on tuner 2:
// each names and tunes the cable channels of the tuner in use.
TEST_F(NewSetRoadsTest, LastChannelAndTheBrowserOnACableSetStayOnItsCableChannels) {
  SetUpOnCable();
  Type("15-1");
  Type("22-1");
  ASSERT_TRUE(InTune(22, 1));
  Press("last");
  Run(3000);
  EXPECT_TRUE(InTune(15, 1));
  EXPECT_TRUE(Sees("15-1")) << SeenList();
  Press("browse");
  Run(1000);
  EXPECT_TRUE(Sees("15-1")) << SeenList();
  Press("exit");
  Run(500);
  EXPECT_TRUE(InTune(15, 1));
  // After a restart the set is still on the cable channel.
  Restart();
  Run(3000);
  EXPECT_TRUE(InTune(15, 1));
}

TEST_F(NewSetRoadsTest, LastChannelAndTheBrowserOnTheSecondTunerStayOnItsCableChannels) {
  SetUpBothTunersAndWatchTv2();
  Type("15-1");
  Type("22-1");
  ASSERT_TRUE(InTune(22, 1));
  Press("last");
  Run(3000);
  EXPECT_TRUE(InTune(15, 1));
  EXPECT_EQ(Window0Source(), sim::kSourceTv2);
  EXPECT_TRUE(Sees("15-1")) << SeenList();
  Press("browse");
  Run(1000);
  EXPECT_TRUE(Sees("15-1")) << SeenList();
  Press("exit");
  Run(500);
  EXPECT_TRUE(InTune(15, 1));
  EXPECT_EQ(Window0Source(), sim::kSourceTv2);
}

// A new PIN, the channel watched locked by the channel lock page, the PIN
// typed at the prompt: the guide stays on that channel, shows it in its
// column with the focus, and after Exit the viewer is still on it.
class LockedChannelGuideTest : public NewSetRoadsTest {
 protected:
  // Menu > Locks, a new PIN 1357, the channel lock page, OK locks the
  // channel in tune; exit. The prompt then asks for the PIN, which the
  // viewer types.
  void LockAndUnlockTheChannelWatched(int rowsDown = 0) {
    Press("menu");
    Run(500);
    for (int i = 0; i < 3; ++i) {
      Press("up");
      Run(400);
    }
    Press("ok");
    Run(300);
    for (int round = 0; round < 2; ++round) {
      for (const char* d : {"1", "3", "5", "7"}) Press(d);
      Run(300);
    }
    Run(200);
    Press("down");
    Run(400);
    Press("ok");
    Run(800);
    for (int i = 0; i < rowsDown; ++i) {
      Press("down");
      Run(200);
    }
    Press("ok");
    Run(600);
    Press("exit");
    Run(1500);
    for (const char* d : {"1", "3", "5", "7"}) Press(d);
    Run(1500);
  }
  // The first-time setup on antenna; 2-1 tuned, locked and opened by the PIN.
  void SetUpOnAntennaAndUnlock2Dash1() {
    Run(1000);
    for (const char* key : {"ok", "ok", "ok", "ok", "ok", "ok"}) {
      Press(key);
      Run(300);
    }
    Run(10000);
    Press("exit");
    Run(1000);
    Type("2-1");
    LockAndUnlockTheChannelWatched();
  }
  void GuideStaysOnTheChannel(int32_t major, int32_t minor) {
    ASSERT_TRUE(InTune(major, minor));
    // The channel is locked at the set, and the picture plays (the PIN opened it).
    bool locked = false;
    for (const sim::Channel& c : Set().Channels(Set().Medium()))
      if (c.major == major && c.minor == minor) locked = c.locked;
    ASSERT_TRUE(locked);
    ClearCallLog();
    Press("guide");
    Run(1500);
    auto* g = Open<Channels::FullEPGDialog>();
    ASSERT_NE(g, nullptr);
    EXPECT_TRUE(Calls("XPM_SetChannel").empty()) << Calls("XPM_SetChannel").front();
    auto* row = kv::Cast<ListForm::EPGChannelItem>(g->Column.GetFocusedRow());
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->Major, major);
    EXPECT_EQ(row->Minor, minor);
    EXPECT_TRUE(Sees(std::to_string(major) + "-" + std::to_string(minor))) << SeenList();
    Press("exit");
    Run(1000);
    EXPECT_TRUE(InTune(major, minor));
    EXPECT_TRUE(Calls("XPM_SetChannel").empty());
    // The next key still acts: ch+ leaves the channel.
    Press("ch+");
    Run(1500);
    EXPECT_FALSE(InTune(major, minor));
  }
};

TEST_F(LockedChannelGuideTest, OnAnAntennaSetTheGuideStaysOnTheUnlockedChannel) {
  SetUpOnAntennaAndUnlock2Dash1();
  GuideStaysOnTheChannel(2, 1);
}

// A later programme of the locked 2-1 (opened by the PIN) chosen in the
// guide: the channel list the editor offers leaves locked channels out, yet
// its channel button never reads another channel, and Done stores the timer
// on 2-1.
TEST_F(LockedChannelGuideTest, ATimerFromTheGuideOnTheUnlockedChannelStaysOnIt) {
  SetUpOnAntennaAndUnlock2Dash1();
  ASSERT_TRUE(InTune(2, 1));
  TimerFromTheGuide();
  auto* e = Editor();
  ASSERT_NE(e, nullptr);
  for (const sim::Channel& c : Set().Channels(0))
    if (c.service && !(c.major == 2 && c.minor == 1)) {
      EXPECT_FALSE(EditorShows(std::to_string(c.major) + "-" + std::to_string(c.minor))) << SeenList();
    }
  e->OnSetFocus(&e->DoneButton);
  Press("ok");
  Run(500);
  ASSERT_EQ(Editor(), nullptr);
  ExpectTimersOn(1, sim::kSourceTv, 2, 1, 0);
}

// On cable: 15-1 tuned, its row of the channel lock page locked (the rows
// are the cable channels with a service, in number order).
TEST_F(LockedChannelGuideTest, OnACableSetTheGuideStaysOnTheUnlockedChannel) {
  SetUpOnCable();
  Type("15-1");
  int row = 0;
  for (const sim::Channel& c : Set().Channels(1)) {
    if (c.major == 15 && c.minor == 1) break;
    if (c.service) ++row;
  }
  LockAndUnlockTheChannelWatched(row);
  GuideStaysOnTheChannel(15, 1);
}

}  // namespace
