// The timeshift status through the whole system: started from live TV, fed
// by the simulated set's buffer on the fake clock, driven by the trick-play
// keys, and its bars, marker and clocks as drawn.
#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <utility>
#include <vector>

#include "ge/surface.h"
#include "nonmenusystem_support.h"
#include "platform/sim/sim_audio_service.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "platform/xpm/xpm_record.h"
#include "strings/QuickMenu.h"
#include "units/Bitmaps/BannerBitmaps.h"
#include "units/Bitmaps/MediaBitmaps.h"
#include "units/Resources/Resources.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/QuickMenu/QuickItems.h"
#include "units/QuickMenu/QuickMenu.h"
#include "units/Record/TimeshiftStatusDialog.h"
#include "units/SkinBin/Wrapper.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/Constants/Constants.h"
#include "units/Structures/ChannelData.h"
#include "units/Structures/LocalTime.h"
#include "units/Structures/VirtualChannel.h"

namespace recordtest {
namespace {

using Record::TimeshiftStatusDialog;

// Where the dialog and its bar stand on the screen.
constexpr int32_t kDialogX = 80, kDialogY = 360;
constexpr int32_t kBarLeft = 96, kBarRight = 784, kBarMiddle = 122;

// Every trick-play key and the call the set receives for it.
struct TrickKey {
  const char* key;
  const char* call;
};
constexpr TrickKey kTrickKeys[] = {{"play", "Timeshift_KeyProc(102)"},   {"pause", "Timeshift_KeyProc(104)"},
                                   {"forward", "Timeshift_KeyProc(110)"}, {"rewind", "Timeshift_KeyProc(109)"},
                                   {"next", "Timeshift_KeyProc(108)"},    {"prev", "Timeshift_KeyProc(107)"},
                                   {"yellow", "Timeshift_KeyProc(114)"},  {"blue", "Timeshift_KeyProc(115)"}};

class TimeshiftTest : public livetvtest::LiveTVTest {
 protected:
  void SetUp() override {
    LiveTVTest::SetUp();
    sim::MountUsbDisk(Tv());
    Settle();
  }
  SkinBin::Wrapper* Skin() { return NonMenuSystem::Live::Skin(); }
  TimeshiftStatusDialog* Status() {
    for (auto* f : OpenForms())
      if (auto* t = kv::Cast<TimeshiftStatusDialog>(f)) return t;
    return nullptr;
  }
  // Timeshifting with the buffer of duration setting `setting`.
  void StartTimeshift(int32_t setting) {
    Skin()->OnSetTimeshiftDuration(setting);
    ASSERT_EQ(Skin()->StartTimeshift(Skin()->GetCurrentTunerId()), XPM_OK);
    Run(100);
    Settle();
    Nms()->ClearAll();  // the set's start report opened the status
    Settle();
  }
  TimeshiftStatusDialog* OpenStatus() {
    Nms()->Open(&TimeshiftStatusDialog::StaticClass());
    Settle();
    return Status();
  }
  std::string Text(Views::Text& t) { return t.OnGetString().ToUtf8(); }
  // The clock `seconds` from the set's time now, as the dialog writes it.
  std::string ClockIn(int64_t seconds) {
    Structures::LocalTime* t = W()->GetCurrentTime()->AddTicks(seconds);
    return ::Wrapper::Wrapper::GetTimeAMPM(t->Hour, t->Minute).ToUtf8();
  }
  // The OSD pixel at screen (x, y), premultiplied RGBA.
  uint32_t Pixel(int32_t x, int32_t y) { return Osd().Row(y)[x]; }
  static bool Reddish(uint32_t p) {
    const uint32_t r = p & 0xFF, g = (p >> 8) & 0xFF, b = (p >> 16) & 0xFF;
    return r > 100 && r > g + 50 && r > b + 50;
  }
  int32_t MarkerX() { return Status()->Marker().Bounds().x1; }
  std::string LastKeyCode() {
    const auto calls = Calls("Timeshift_KeyProc");
    return calls.empty() ? "" : calls.back();
  }
};

TEST_F(TimeshiftTest, RedStartsItTheStartReportOpensTheStatusAndPauseReopensIt) {
  sim::SetAudioServiceFormat(Tv(), 3, 1);
  Press("red");
  Settle();
  auto* confirm = kv::Cast<NonMenuSystem::ConfirmMultiOptionDialog>(Wm()->FindForm(0x2000005));
  ASSERT_NE(confirm, nullptr);
  EXPECT_EQ(confirm->ConfirmType, 57);
  EXPECT_EQ(Status(), nullptr);
  Press("ok");  // yes
  Run(200);
  Settle();
  EXPECT_EQ(Calls("XPM_TIMESHIFT_START").size(), 1u);
  ASSERT_NE(Status(), nullptr) << "the set's start report (status 13) opens the status";
  TimeshiftStatusDialog* s = Status();
  // The banner follows the set: its channel, its audio and the timeshift badge.
  Structures::VirtualChannel* c = W()->GetCurrentChannel();
  Structures::ChannelData* info = Skin()->GetChannelInfo(c->Major, c->Minor);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(Text(s->ChannelName()), info->Name.ToUtf8());
  EXPECT_FALSE(Text(s->DateLine()).empty());
  EXPECT_TRUE(s->InputImage().IsVisible());
  EXPECT_TRUE(s->LiveStateImage().IsVisible());
  EXPECT_EQ(s->LiveStateImage().OnGetBitmap(), Resources::LoadResource(Bitmaps::BannerTimeshift));
  EXPECT_TRUE(s->DolbyImage().IsVisible());
  EXPECT_TRUE(s->AudioImage().IsVisible());
  EXPECT_EQ(s->AudioImage().OnGetBitmap(), Resources::LoadResource(Bitmaps::BannerMono));
  EXPECT_TRUE(s->ResolutionImage().IsVisible());

  // Exit closes it; pause while timeshifting reaches the set and reopens it.
  Press("exit");
  Settle();
  EXPECT_EQ(Status(), nullptr);
  ClearCallLog();
  Press("pause");
  Settle();
  EXPECT_EQ(LastKeyCode(), "Timeshift_KeyProc(104)");
  ASSERT_NE(Status(), nullptr);
  // The next poll shows the set's pause.
  Run(1000);
  EXPECT_EQ(Status()->PlayState, Record::XPM_TIMESHIFT_PLAY_STATE_PAUSE);
  EXPECT_EQ(Status()->StateImage().OnGetBitmap(), Resources::LoadResource(Bitmaps::MediaPause));
}

TEST_F(TimeshiftTest, ATrickPlayKeyOverTheMenuOrTheQuickMenuOpensNoStatusBehindThem) {
  Press("red");
  Settle();
  Press("ok");  // yes
  Run(2000);
  Press("exit");
  Run(500);
  ASSERT_EQ(Status(), nullptr);
  for (const char* menu : {"menu", "quick"}) {
    SCOPED_TRACE(menu);
    Press(menu);
    Run(1000);
    Press("play");
    Run(500);
    // Nothing of the status stands behind the menu: its channel line is
    // nowhere on the picture, whole or in part.
    EXPECT_EQ(Status(), nullptr);
    EXPECT_FALSE(SeenList().find("Metro HD") != std::string::npos) << SeenList();
    Press("exit");
    Run(500);
  }
  // Over live TV the key opens it, as before.
  Press("pause");
  Run(500);
  ASSERT_NE(Status(), nullptr);
  EXPECT_TRUE(Sees("Metro HD")) << SeenList();
}

TEST_F(TimeshiftTest, ALongerBufferIsCutToTheIntervalAndDrawnFull) {
  // A 600 s buffer with 420 s in it, played 20 s behind live ...
  StartTimeshift(1);
  Run(400000);
  Skin()->TimeshiftKeyProc(1);
  Run(20000);
  Skin()->TimeshiftKeyProc(1);
  Settle();
  // ... shown with the 300 s interval of setting 0.
  Skin()->OnSetTimeshiftDuration(0);
  TimeshiftStatusDialog* s = OpenStatus();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Interval, 300);
  EXPECT_EQ(s->BufferBar().OnGetValue(), 300) << "a full buffer";
  EXPECT_EQ(s->PositionBar().OnGetValue(), 280);
  EXPECT_EQ(Text(s->StartClock()), ClockIn(-300)) << "the window starts 300 s before now";
  EXPECT_EQ(Text(s->EndClock()), ClockIn(0));
  EXPECT_EQ(Text(s->PositionClock()), ClockIn(-20));
  // Drawn: red up to the position, the buffer's blue after it.
  const int32_t redEnd = kBarLeft + 280 * (kBarRight - kBarLeft) / 300;
  EXPECT_EQ(MarkerX(), redEnd + 12);
  EXPECT_TRUE(Reddish(Pixel(kDialogX + kBarLeft + 2, kDialogY + kBarMiddle)));
  EXPECT_TRUE(Reddish(Pixel(kDialogX + redEnd - 2, kDialogY + kBarMiddle)));
  // The buffer's fill, not the groove, up to the bar's end.
  const uint32_t buffer = Pixel(kDialogX + redEnd + 4, kDialogY + kBarMiddle);
  EXPECT_FALSE(Reddish(buffer));
  EXPECT_NE(buffer, Pixel(kDialogX + kBarRight + 8, kDialogY + kBarMiddle)) << "not the panel";
  EXPECT_EQ(Pixel(kDialogX + redEnd + 30, kDialogY + kBarMiddle), buffer);
}

// A buffer that has not filled the interval: its fill stands out from the
// empty groove after it.
TEST_F(TimeshiftTest, TheBufferedPartStandsOutFromTheEmptyGroove) {
  StartTimeshift(1);
  Run(100000);
  Skin()->TimeshiftKeyProc(1);
  Run(60000);
  Skin()->TimeshiftKeyProc(1);
  Settle();
  Skin()->OnSetTimeshiftDuration(0);
  TimeshiftStatusDialog* s = OpenStatus();
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->BufferBar().OnGetValue(), 160);
  ASSERT_EQ(s->PositionBar().OnGetValue(), 100);
  const int32_t redEnd = kBarLeft + 100 * (kBarRight - kBarLeft) / 300;
  const int32_t bufferEnd = kBarLeft + 160 * (kBarRight - kBarLeft) / 300;
  const uint32_t fill = Pixel(kDialogX + (redEnd + 14 + bufferEnd) / 2, kDialogY + kBarMiddle);
  const uint32_t groove = Pixel(kDialogX + bufferEnd + 20, kDialogY + kBarMiddle);
  EXPECT_FALSE(Reddish(fill));
  EXPECT_NE(fill, groove) << "the buffer looks like the empty groove";
}

// The channel's name follows its number on the top line, a space apart.
TEST_F(TimeshiftTest, TheChannelNameFollowsItsNumber) {
  StartTimeshift(1);
  Run(30000);
  TimeshiftStatusDialog* s = OpenStatus();
  ASSERT_NE(s, nullptr);
  const std::vector<Core::SeenText> seen = SeenTexts();
  const auto of = [&](const Views::Text& v) {
    return std::find_if(seen.begin(), seen.end(), [&](const Core::SeenText& t) { return t.view == &v; });
  };
  const auto number = of(s->ChannelNumber());
  const auto name = of(s->ChannelName());
  ASSERT_NE(number, seen.end()) << SeenList();
  ASSERT_NE(name, seen.end()) << SeenList();
  EXPECT_TRUE(number->Readable() && name->Readable()) << number->Describe() << "\n" << name->Describe();
  EXPECT_GT(name->ink.x1, number->ink.x2) << number->Describe() << "\n" << name->Describe();
  EXPECT_LE(name->ink.x1 - number->ink.x2, 20) << number->Describe() << "\n" << name->Describe();
}

TEST_F(TimeshiftTest, APositionBeforeTheIntervalsWindowStaysAtItsStart) {
  // 420 s buffered of 600, played 320 s behind live: position 100, which
  // lies before the last 300 s that the interval of setting 0 shows.
  StartTimeshift(1);
  Run(100000);
  Skin()->TimeshiftKeyProc(1);
  Run(320000);
  Settle();
  Skin()->OnSetTimeshiftDuration(0);
  TimeshiftStatusDialog* s = OpenStatus();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->BufferBar().OnGetValue(), 300);
  EXPECT_EQ(s->PositionBar().OnGetValue(), 0);
  EXPECT_EQ(MarkerX(), kBarLeft + 12);
  EXPECT_EQ(Text(s->PositionClock()), Text(s->StartClock()));
}

TEST_F(TimeshiftTest, MarkerRunsFromTwelvePixelsInToTheRightEdge) {
  StartTimeshift(0);
  Run(400000);  // live, the buffer full: position I
  TimeshiftStatusDialog* s = OpenStatus();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->PositionBar().OnGetValue(), 300);
  EXPECT_EQ(MarkerX(), kBarRight);
  // Paused past the buffer's length: position 0, and the position clock
  // stands at the marker.
  Press("pause");
  Run(400000);
  Press("exit");
  Settle();
  s = OpenStatus();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->PositionBar().OnGetValue(), 0);
  EXPECT_EQ(MarkerX(), kBarLeft + 12);
  const kv::Rect clock = s->PositionClock().Bounds();
  EXPECT_EQ((clock.x1 + clock.x2) / 2, kBarLeft + 12);
  EXPECT_EQ(Text(s->PositionClock()), Text(s->StartClock()));
}

TEST_F(TimeshiftTest, TrickPlayKeysRatesAndTheSetsState) {
  StartTimeshift(0);
  Run(280000);
  Skin()->TimeshiftKeyProc(1);  // 250 s behind live leaves room to run forward
  Run(250000);
  Skin()->TimeshiftKeyProc(0);
  TimeshiftStatusDialog* s = OpenStatus();
  ASSERT_NE(s, nullptr);
  EXPECT_FALSE(s->RateLabel().IsVisible());
  // Forward four times: rates 2 to 5, two to sixteen times.
  const char* labels[] = {"x2", "x4", "x8", "x16"};
  for (const char* label : labels) {
    ClearCallLog();
    Press("forward");
    EXPECT_EQ(LastKeyCode(), "Timeshift_KeyProc(110)");
    EXPECT_EQ(Text(s->RateLabel()), label);
    EXPECT_TRUE(s->RateLabel().IsVisible());
  }
  EXPECT_EQ(s->PlayRate, 5);
  EXPECT_EQ(s->StateImage().OnGetBitmap(), Resources::LoadResource(Bitmaps::MediaForward));
  // The set agrees at the next poll.
  Run(1000);
  EXPECT_EQ(s->PlayRate, 5);
  EXPECT_EQ(s->PlayState, Record::XPM_TIMESHIFT_PLAY_STATE_FAST_FORWARD);
  // On to rate 9 (256 times), then back to 2.
  Press("forward", 4);
  EXPECT_EQ(Text(s->RateLabel()), "x256");
  Press("forward");
  EXPECT_EQ(s->PlayRate, 2);
  EXPECT_EQ(Text(s->RateLabel()), "x2");
  // Rewind starts at rate 2.
  Press("rewind");
  EXPECT_EQ(s->PlayState, Record::XPM_TIMESHIFT_PLAY_STATE_FAST_BACKWARD);
  EXPECT_EQ(s->StateImage().OnGetBitmap(), Resources::LoadResource(Bitmaps::MediaBackward));
  // Pause toggles.
  Press("pause");
  EXPECT_EQ(s->PlayState, Record::XPM_TIMESHIFT_PLAY_STATE_PAUSE);
  EXPECT_FALSE(s->RateLabel().IsVisible());
  Press("pause");
  EXPECT_EQ(s->PlayState, Record::XPM_TIMESHIFT_PLAY_STATE_PLAY);
  EXPECT_EQ(s->StateImage().OnGetBitmap(), Resources::LoadResource(Bitmaps::MediaPlay));
  // The set changes behind the dialog's back: the next poll takes its state.
  Skin()->TimeshiftKeyProc(1);
  Run(1000);
  EXPECT_EQ(s->PlayState, Record::XPM_TIMESHIFT_PLAY_STATE_PAUSE);
  EXPECT_EQ(s->StateImage().OnGetBitmap(), Resources::LoadResource(Bitmaps::MediaPause));

  // Every trick-play key reaches the set with its code.
  for (const TrickKey& k : kTrickKeys) {
    ClearCallLog();
    Press(k.key);
    EXPECT_EQ(LastKeyCode(), k.call) << k.key;
    EXPECT_EQ(Status(), s) << k.key;
  }
}

// The same keys pressed over live TV, with no status open, reach the set
// with the same codes.
TEST_F(TimeshiftTest, EveryTrickPlayKeyOverLiveTvReachesTheSetWithItsCode) {
  StartTimeshift(0);
  Run(200000);
  for (const TrickKey& k : kTrickKeys) {
    Nms()->ClearAll();
    Settle();
    ASSERT_EQ(Status(), nullptr) << k.key;
    ClearCallLog();
    Press(k.key);
    EXPECT_EQ(LastKeyCode(), k.call) << k.key;
  }
}

TEST_F(TimeshiftTest, ForwardOnLiveTvOpensTheStatusWithItsRate) {
  StartTimeshift(0);
  Run(200000);
  Skin()->TimeshiftKeyProc(1);  // 100 s behind live
  Run(100000);
  Skin()->TimeshiftKeyProc(0);
  Settle();
  ASSERT_EQ(Status(), nullptr);
  Press("forward");
  Settle();
  TimeshiftStatusDialog* s = Status();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->PlayState, Record::XPM_TIMESHIFT_PLAY_STATE_FAST_FORWARD);
  EXPECT_TRUE(s->RateLabel().IsVisible());
  EXPECT_EQ(Text(s->RateLabel()), "x2");
}

TEST_F(TimeshiftTest, ProgrammeTextsAndNoGuide) {
  StartTimeshift(0);
  TimeshiftStatusDialog* s = OpenStatus();
  ASSERT_NE(s, nullptr);
  ASSERT_TRUE(s->HasProgram);
  EXPECT_TRUE(s->ProgramTitle().IsVisible());
  EXPECT_FALSE(Text(s->ProgramTitle()).empty());
  EXPECT_NE(Text(s->ProgramTime()).find(" - "), std::string::npos);
  EXPECT_EQ(s->ProgramTitle().Bounds().x2, s->ProgramTime().Bounds().x1 - 10);
  Press("exit");
  Settle();
  FailCall("DB_Get_Program_Info", 5);
  s = OpenStatus();
  ASSERT_NE(s, nullptr);
  EXPECT_FALSE(s->HasProgram);
  EXPECT_FALSE(s->ProgramTitle().IsVisible());
  EXPECT_FALSE(s->ProgramTime().IsVisible());
}

TEST_F(TimeshiftTest, TheStreamBadgesFollowTheSetAndOtherInputsShowNone) {
  StartTimeshift(0);
  sim::SetAudioServiceFormat(Tv(), 2, 6);
  TimeshiftStatusDialog* s = OpenStatus();
  ASSERT_NE(s, nullptr);
  EXPECT_FALSE(s->DolbyImage().IsVisible());
  EXPECT_EQ(s->AudioImage().OnGetBitmap(), Resources::LoadResource(Bitmaps::BannerMultiAudio));
  // The badges stand side by side, the rating after the last one shown.
  EXPECT_GT(s->Rating().Bounds().x1, s->LiveStateImage().Bounds().x1);
  Press("exit");
  Settle();
  // Not a tuner input: the channel, date and time only.
  if (!SwitchToSourceType(5)) GTEST_SKIP() << "no HDMI input on this set";
  s = OpenStatus();
  ASSERT_NE(s, nullptr);
  EXPECT_FALSE(s->InputImage().IsVisible());
  EXPECT_FALSE(s->AudioImage().IsVisible());
  EXPECT_FALSE(s->ResolutionImage().IsVisible());
  EXPECT_FALSE(s->LiveStateImage().IsVisible());
  EXPECT_FALSE(s->Rating().IsVisible());
  EXPECT_FALSE(Text(s->DateLine()).empty());
}

TEST_F(TimeshiftTest, ASettingOutOfRangeLeavesTheBarsAndTheKeysWork) {
  StartTimeshift(0);
  Run(60000);
  Tv().SetState("record.timeshift_duration", "7");
  TimeshiftStatusDialog* s = OpenStatus();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Interval, 0);
  EXPECT_TRUE(Logged("timeshift duration setting out of range: 7"));
  Run(3000);
  EXPECT_EQ(s->BufferBar().OnGetValue(), 0);
  EXPECT_EQ(s->PositionBar().OnGetValue(), 0);
  EXPECT_EQ(Text(s->StartClock()), "");
  EXPECT_EQ(MarkerX(), kBarLeft + 12);
  // Still a working screen: the keys act and the state follows the set.
  Press("pause");
  Run(1000);
  EXPECT_EQ(s->PlayState, Record::XPM_TIMESHIFT_PLAY_STATE_PAUSE);
  Press("back");
  Settle();
  EXPECT_EQ(Status(), nullptr);
}

TEST_F(TimeshiftTest, QuickMenuDurationRowChangesTheSetsBuffer) {
  Skin()->OnSetTimeshiftDuration(0);
  Press("quick");
  Settle();
  Press("up");  // the duration row
  Settle();
  ClearCallLog();
  Press("right");
  Settle();
  ASSERT_EQ(Calls("XPM_Set_Timeshift_Interval").size(), 1u);
  EXPECT_EQ(Calls("XPM_Set_Timeshift_Interval")[0], "XPM_Set_Timeshift_Interval(1)");
  Press("exit");
  Settle();
  ASSERT_EQ(Skin()->StartTimeshift(Skin()->GetCurrentTunerId()), XPM_OK);
  Run(500000);
  Settle();
  TimeshiftStatusDialog* s = Status();
  if (!s) s = OpenStatus();
  ASSERT_NE(s, nullptr);
  Run(1000);
  EXPECT_EQ(s->Interval, 600);
  EXPECT_EQ(s->BufferBar().OnGetValue(), 501) << "the set keeps 600 s now";
}

TEST_F(TimeshiftTest, SixtySecondsCloseItAndEachKeyRestartsTheWait) {
  StartTimeshift(0);
  ASSERT_NE(OpenStatus(), nullptr);
  Run(50000);
  Press("next");
  Run(50000);
  EXPECT_NE(Status(), nullptr);
  Run(11000);
  Settle();
  EXPECT_EQ(Status(), nullptr);
  // Live TV answers the next key.
  Press("pause");
  Settle();
  EXPECT_NE(Status(), nullptr);
}

TEST_F(TimeshiftTest, FromTheQuickMenuBackReturnsThere) {
  StartTimeshift(0);
  Press("quick");
  Settle();
  auto* quick = kv::Cast<QuickMenu::QuickMenu>(Wm()->FindForm(0x5000000));
  ASSERT_NE(quick, nullptr);
  // Down to the status row and open it.
  for (int i = 0; i < 8; ++i) {
    auto* row = kv::Cast<QuickMenu::QuickMenuItem>(Focused());
    if (row && row->OnGetText() == kv::GetVariantOfString(QuickMenu::TimeshiftMenuStatus)) break;
    Press("down");
    Settle();
  }
  Press("ok");
  Settle();
  ASSERT_NE(Status(), nullptr);
  EXPECT_EQ(Status()->PrevState, &QuickMenu::QuickMenu::StaticClass());
  Press("back");
  Settle();
  EXPECT_EQ(Status(), nullptr);
  EXPECT_NE(Wm()->FindForm(0x5000000), nullptr) << "back to the quick menu";
}

// The audio badge follows the set's audio mode: one channel mono, two to
// four stereo, five to eight several tracks.
TEST_F(TimeshiftTest, TheAudioBadgeFollowsTheSetsAudioMode) {
  const auto mono = Resources::LoadResource(Bitmaps::BannerMono);
  const auto stereo = Resources::LoadResource(Bitmaps::BannerStereo);
  const auto multi = Resources::LoadResource(Bitmaps::BannerMultiAudio);
  const std::pair<int32_t, decltype(mono)> kModes[] = {{1, mono},  {2, stereo}, {3, stereo},
                                                       {4, stereo}, {5, multi},  {8, multi}};
  for (const auto& [mode, badge] : kModes) {
    SCOPED_TRACE(mode);
    sim::SetAudioServiceFormat(Tv(), 1, mode);
    Nms()->ClearAll();
    Settle();
    TimeshiftStatusDialog* s = OpenStatus();
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->AudioImage().IsVisible());
    EXPECT_EQ(s->AudioImage().OnGetBitmap(), badge);
  }
}

TEST_F(TimeshiftTest, OpenAndClose50TimesKeepsTheCensus) {
  StartTimeshift(0);
  for (int i = 0; i < 2; ++i) {
    ASSERT_NE(OpenStatus(), nullptr);
    Run(1000);
    Press("exit");
    Settle();
  }
  const auto base = Census();
  for (int i = 0; i < 50; ++i) {
    ASSERT_NE(OpenStatus(), nullptr);
    Run(1000);
    Press("exit");
    Settle();
  }
  const auto after = Census();
  for (const auto& [cls, n] : after) {
    auto it = base.find(cls);
    EXPECT_LE(n, (it == base.end() ? 0u : it->second) + 2) << cls;
  }
}

}  // namespace
}  // namespace recordtest
