// The automatic channel scan through the whole system: the channel menu's
// scan row, the confirmation, the scan the set runs from its own thread on
// the clock, the result and error screens, the keys during a scan, the
// aborts and the two-tuner pass of the first-time setup.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "channels_support.h"
#include "focus_look.h"
#include "ge/surface.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "units/Events/XPM_EVENT_KEY.h"
#include "units/InitialSetup/ScanPages.h"
#include "units/ListForm/ChannelLists.h"
#include "units/MainApp/InitialSetup.h"
#include "units/MainApp/Standby.h"
#include "units/NonMenuSystem/PinDialogs.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/ChannelListData.h"
#include "strings/MenuSystem.h"
#include "units/SubSystem/State.h"


namespace channeltest {
namespace {

using Channels::AutoTuningCompleteDialog;
using Channels::AutoTuningConfirmDialog;
using Channels::AutoTuningDialog;
using Channels::AutoTuningErrorDialog;

class AutoScanTest : public ChannelTest {
 protected:
  // The confirmation outside the menu, then OK: the scan screen.
  AutoTuningDialog* StartScan() {
    EXPECT_NE(OpenScreen<AutoTuningConfirmDialog>(), nullptr);
    ClearCallLog();
    Press("ok");
    Settle();
    return Open<AutoTuningDialog>();
  }
  // A progress event of the set: physical channel, percent, flag and `found` channels.
  void Progress(int32_t physical, int32_t percent, int32_t flag, int found) {
    std::vector<uint8_t> bytes(sizeof(XPM_FullScanProgress) + static_cast<size_t>(found) * sizeof(XPM_ScanChannel));
    XPM_FullScanProgress head{};
    head.param[0] = physical;
    head.param[2] = percent;
    head.param[3] = flag;
    head.param[7] = found;
    std::memcpy(bytes.data(), &head, sizeof head);
    for (int i = 0; i < found; ++i) {
      XPM_ScanChannel c{static_cast<uint16_t>(50 + i), 1};
      std::memcpy(bytes.data() + sizeof head + static_cast<size_t>(i) * sizeof c, &c, sizeof c);
    }
    Inject(XPM_EVT_FULL_SCAN_PROGRESS, bytes.data(), bytes.size());
  }
  static std::string CountText(AutoTuningDialog* d) { return Str(d->Panel().count.OnGetString()); }
  // The setup sequencer opens its scan page with both tuners and these media.
  InitialSetup::AutoTuningDialog* OpenSetupPage(int32_t medium1, int32_t medium2) {
    MainApp::InitialSetup* setup = App().GetInitialSetup();
    setup->BothTuners = 1;
    setup->Tuner1Medium = medium1;
    setup->Tuner2Medium = medium2;
    ClearCallLog();
    auto* state = kv::New<SubSystem::State>();
    state->Class = &InitialSetup::AutoTuningDialog::StaticClass();
    auto* page = kv::Cast<InitialSetup::AutoTuningDialog>(setup->ChangeState(state));
    hold_ = page;
    App().OnSetFocus(setup);
    Settle();
    return page;
  }
  void TearDown() override {
    hold_ = nullptr;
    ChannelTest::TearDown();
  }
  kv::Persistent<InitialSetup::AutoTuningDialog> hold_;
};

TEST_F(AutoScanTest, MenuRowScansTheAirAndTheResultListsTheNewMap) {
  MenuRow(3);
  auto* confirm = Open<AutoTuningConfirmDialog>();
  ASSERT_NE(confirm, nullptr);
  EXPECT_TRUE(confirm->MenuTriggered);
  ClearCallLog();
  Press("ok");
  Settle();
  auto* scan = Open<AutoTuningDialog>();
  ASSERT_NE(scan, nullptr);
  // The pass starts once the screen shows: antenna, analogue and digital, not additive.
  EXPECT_EQ(Calls("XPM_StartChannelScan"), std::vector<std::string>{"XPM_StartChannelScan(0, 0, 0, 0, 0, 0)"});
  EXPECT_EQ(Set().FrontDisplayMode(), 2);
  EXPECT_EQ(HelpMask(), 0x80000);
  EXPECT_TRUE(Skin()->AppCriticalSection);
  // The first physical channel with a service: 3, one analogue channel, 12 %.
  Run(260);
  EXPECT_EQ(CountText(scan), "1");
  EXPECT_EQ(scan->Panel().bar.OnGetValue(), 12);
  EXPECT_EQ(Str(scan->Panel().percent.OnGetString()), "12%");
  EXPECT_NE(Str(scan->Panel().channel.OnGetString()).find("3"), std::string::npos);
  EXPECT_TRUE(scan->Panel().bar.IsVisible());
  EXPECT_FALSE(scan->Panel().waiting.IsVisible());
  // A step that found nothing moves channel and bar, not the count.
  Progress(5, 20, 0, 0);
  EXPECT_EQ(CountText(scan), "1");
  EXPECT_EQ(scan->Panel().bar.OnGetValue(), 20);
  EXPECT_NE(Str(scan->Panel().channel.OnGetString()).find("5"), std::string::npos);

  Run(3000);
  Settle();
  EXPECT_EQ(Open<AutoTuningDialog>(), nullptr);
  auto* result = Open<AutoTuningCompleteDialog>();
  ASSERT_NE(result, nullptr);
  EXPECT_FALSE(Skin()->AppCriticalSection);
  // The map the set holds now: the twelve channels on the air, listed.
  EXPECT_EQ(Set().Channels(0).size(), 12u);
  ASSERT_NE(result->List().OnGetDataSource(), nullptr);
  // 4-3 carries no service: the list leaves it out.
  EXPECT_EQ(result->List().OnGetDataSource()->Num, 11);
  EXPECT_NE(Str(result->FoundText()).find("11"), std::string::npos) << Str(result->FoundText());
  EXPECT_EQ(HelpMask(), 0x40a00);
  // The ring's first channel is tuned.
  ASSERT_FALSE(Calls("XPM_SetChannel").empty());
  EXPECT_EQ(Calls("XPM_SetChannel").back(), "XPM_SetChannel(0, 2, 1)");

  // Back: the confirmation again; Exit closes everything; the next key acts.
  Press("back");
  Settle();
  EXPECT_EQ(Open<AutoTuningCompleteDialog>(), nullptr);
  ASSERT_NE(Open<AutoTuningConfirmDialog>(), nullptr);
  Press("exit");
  Settle();
  EXPECT_FALSE(AnyChannelScreen());
  ClearCallLog();
  Press("vol+");
  Settle();
  EXPECT_FALSE(Calls("XPM_SetVolume").empty());
  // Channel up walks the new map from its first channel.
  Run(10000);
  ClearCallLog();
  Press("ch+");
  Run(2000);
  Settle();
  ASSERT_FALSE(Calls("XPM_SetChannel").empty());
  EXPECT_EQ(Calls("XPM_SetChannel")[0], "XPM_SetChannel(0, 2, 2)");
}

// The channel tuned at the end of the scan does not put its banner half
// under the result: the result shows whole with its own keys, and Watch TV
// leaves the banner of that channel over the picture. Back takes the
// result's keys away with it.
// The bar fills smoothly: one even colour along its middle, round ends
// inside the round track (no square corner of the fill shows).
TEST_F(AutoScanTest, TheProgressFillIsEvenWithRoundEnds) {
  AutoTuningDialog* scan = StartScan();
  ASSERT_NE(scan, nullptr);
  Progress(20, 50, 0, 0);
  Run(50);
  Settle();
  SkinBin::ProgressKXD& bar = scan->Panel().bar;
  ASSERT_EQ(bar.OnGetValue(), 50);
  const kv::Rect fill = bar.GetIndicatorRect().Move(bar.GetAbsoluteBounds().Origin());
  ASSERT_FALSE(fill.IsEmpty());
  const ge::Surface& osd = Osd();
  auto px = [&](int32_t x, int32_t y) { return osd.Row(y)[x]; };
  auto channel = [](uint32_t p, int shift) { return static_cast<int>(p >> shift & 0xFF); };
  const int32_t mid = (fill.y1 + fill.y2) / 2;
  const uint32_t ref = px((fill.x1 + fill.x2) / 2, mid);
  int patches = 0;
  for (int32_t x = fill.x1 + fill.H(); x < fill.x2 - fill.H(); ++x)
    for (int shift : {0, 8, 16})
      if (std::abs(channel(px(x, mid), shift) - channel(ref, shift)) > 12) {
        ++patches;
        break;
      }
  EXPECT_EQ(patches, 0) << "the fill changes colour along its middle";
  for (int32_t x : {fill.x1, fill.x2 - 1})
    for (int32_t y : {fill.y1, fill.y2 - 1})
      EXPECT_LT(apptest::FocusBlueShare(osd, {x, y, x + 1, y + 1}), 1.0) << "a square corner of the fill at " << x << ", " << y;
  const kv::Rect track = bar.GetAbsoluteBounds();
  EXPECT_GT(fill.y1, track.y1) << "the fill covers the track's rim";
  EXPECT_LT(fill.y2, track.y2) << "the fill covers the track's rim";
}

// The RF channel of each result row stands on the row's line, as its
// channel number does, not raised above it.
TEST_F(AutoScanTest, TheResultsRfChannelsStandOnTheRowsLine) {
  ASSERT_NE(StartScan(), nullptr);
  Run(4000);
  Settle();
  ASSERT_NE(Open<AutoTuningCompleteDialog>(), nullptr);
  std::vector<Core::SeenText> numbers, rf;
  for (const Core::SeenText& t : SeenTexts()) {
    if (t.where.find("ListForm::ChannelItem") == std::string::npos || t.ink.IsEmpty()) continue;
    if (t.text.find_first_not_of("0123456789-") != std::string::npos) continue;
    (t.box.x1 < 400 ? numbers : rf).push_back(t);
  }
  ASSERT_GE(rf.size(), 8u) << SeenList();
  int pairs = 0;
  for (const Core::SeenText& r : rf)
    for (const Core::SeenText& n : numbers)
      if (r.ink.y1 < n.box.y2 && n.box.y1 < r.ink.y2 && std::abs(r.box.y1 - n.box.y1) < 14) {
        ++pairs;
        EXPECT_LE(std::abs(r.ink.y2 - n.ink.y2), 2) << "RF " << r.text << " beside " << n.text;
      }
  EXPECT_GE(pairs, 8);
}

// The scan screen's frame stands its frame width in from the screen's box,
// so that the caption sits as near the visible top edge as in every other
// captioned dialog (13-14 px), both while scanning and on the result.
TEST_F(AutoScanTest, TheScanScreensCaptionSitsNearTheFramesVisibleEdge) {
  AutoTuningDialog* scan = StartScan();
  ASSERT_NE(scan, nullptr);
  Run(1500);
  const auto gap = [&](Core::View* screen, const std::string& caption) {
    const kv::Rect b = screen->GetAbsoluteBounds();
    const int32_t x = (b.x1 + b.x2) / 2;
    int32_t edge = -1;
    for (int32_t y = std::max(b.y1, 0); y < b.y2 && edge < 0; ++y) {
      const uint32_t p = Osd().Row(y)[x];
      const int32_t r = static_cast<int32_t>(p & 0xFF), g = static_cast<int32_t>(p >> 8 & 0xFF),
                    bl = static_cast<int32_t>(p >> 16 & 0xFF);
      if (r > 100 && g > 100 && bl > 100) edge = y;  // the frame's light rim
    }
    for (const Core::SeenText& t : SeenTexts())
      if (t.text.find(caption) != std::string::npos && !t.ink.IsEmpty()) return t.ink.y1 - edge;
    return -1000;
  };
  const int32_t scanning = gap(scan, "Antenna scan");
  EXPECT_GE(scanning, 10);
  EXPECT_LE(scanning, 18);
  Run(4000);
  Settle();
  AutoTuningCompleteDialog* result = Open<AutoTuningCompleteDialog>();
  ASSERT_NE(result, nullptr);
  const int32_t done = gap(result, "Antenna scan");
  EXPECT_GE(done, 10);
  EXPECT_LE(done, 18);
}

// Each row's name stands on the line of its number and its RF digits: the
// baselines (the ink's bottom, for names without descenders) agree.
TEST_F(AutoScanTest, TheResultsNamesStandOnTheirNumbersLine) {
  ASSERT_NE(StartScan(), nullptr);
  Run(4000);
  Settle();
  ASSERT_NE(Open<AutoTuningCompleteDialog>(), nullptr);
  std::vector<Core::SeenText> numbers, names;
  for (const Core::SeenText& t : SeenTexts()) {
    if (t.where.find("ListForm::ChannelItem") == std::string::npos || t.ink.IsEmpty()) continue;
    if (t.text.find_first_not_of("0123456789-") == std::string::npos)
      numbers.push_back(t);
    else if (t.text.find_first_of("gjpqy,") == std::string::npos && t.text.size() > 3)
      names.push_back(t);
  }
  int pairs = 0;
  for (const Core::SeenText& name : names)
    for (const Core::SeenText& n : numbers)
      if (name.box.y1 == n.box.y1) {
        ++pairs;
        EXPECT_LE(std::abs(name.ink.y2 - n.ink.y2), 1) << name.text << " beside " << n.text;
      }
  EXPECT_GE(pairs, 4) << SeenList();
}

TEST_F(AutoScanTest, TheResultShowsWholeAndWatchTvShowsTheTunedChannelsBanner) {
  ASSERT_NE(StartScan(), nullptr);  // as the live keys open it, no menu behind
  Run(4000);
  Settle();
  ASSERT_NE(Open<AutoTuningCompleteDialog>(), nullptr);
  EXPECT_EQ(TextFaults(SeenTexts()), std::vector<std::string>{}) << SeenList();
  EXPECT_TRUE(Sees("Antenna programmes found: 11")) << SeenList();
  EXPECT_TRUE(Sees("Watch TV"));
  Press("ok");  // Watch TV
  Run(500);
  Settle();
  EXPECT_EQ(Open<AutoTuningCompleteDialog>(), nullptr);
  EXPECT_TRUE(Sees("Metro HD")) << SeenList();
  EXPECT_TRUE(Sees("2-1"));
  EXPECT_FALSE(Sees("Watch TV"));
  ClearCallLog();
  Press("ch+");
  Run(2000);
  Settle();
  EXPECT_FALSE(Calls("XPM_SetChannel").empty());

  // Scanned again from the menu, Back: the confirmation, without the
  // result's keys.
  MenuRow(3);
  Press("ok");
  Settle();
  Run(4000);
  Settle();
  ASSERT_NE(Open<AutoTuningCompleteDialog>(), nullptr);
  Press("back");
  Settle();
  ASSERT_NE(Open<AutoTuningConfirmDialog>(), nullptr);
  EXPECT_TRUE(Sees("Start the scan?")) << SeenList();
  EXPECT_FALSE(Sees("Watch TV"));
  EXPECT_FALSE(Sees("Page"));
}

TEST_F(AutoScanTest, AStoredPinAsksForItFirst) {
  Store()->PutString(MenuSystem::KEY_PIN, kv::NewStringAnsi("4321"));
  MenuRow(3);
  EXPECT_EQ(Open<AutoTuningConfirmDialog>(), nullptr);
  ASSERT_NE(Open<NonMenuSystem::EnterPinDialog>(), nullptr);
  Digits("4321");
  Settle();
  EXPECT_NE(Open<AutoTuningConfirmDialog>(), nullptr);
}

TEST_F(AutoScanTest, DigitalTunerScansDigitalOnlyAndFlagsAreTheSettings) {
  Skin()->OnSetAddAnalog(0);
  Skin()->OnSetAddDigital(1);
  Skin()->OnSetAdditiveScan(1);
  ASSERT_NE(StartScan(), nullptr);
  EXPECT_EQ(Calls("XPM_StartChannelScan"), std::vector<std::string>{"XPM_StartChannelScan(0, 0, 1, 1, 0, 0)"});
  Run(4000);
  Settle();
  Press("exit");
  Settle();
  // TV2 is a digital tuner: digital only, whatever AddAnalog says.
  Skin()->OnSetAddAnalog(1);
  Skin()->OnSetAdditiveScan(0);
  W()->SetSource(0, sim::kSourceTv2);
  Run(500);
  ASSERT_NE(StartScan(), nullptr);
  EXPECT_EQ(Calls("XPM_StartChannelScan"), std::vector<std::string>{"XPM_StartChannelScan(0, 0, 1, 0, 0, 0)"});
  Run(4000);
  Settle();
  // The digital channels are those of the air; a digital-only scan leaves
  // the analogue channels of the table where they are.
  std::vector<std::pair<int32_t, int32_t>> digital, air;
  for (const sim::Channel& c : Set().Channels(0))
    if (c.digital) digital.emplace_back(c.major, c.minor);
  for (const sim::AirChannel& a : sim::DefaultAir(0))
    if (a.minor != sim::kAnalogMinor) air.emplace_back(a.major, a.minor);
  EXPECT_EQ(digital, air);
}

TEST_F(AutoScanTest, TuningModeTwoWithTheFlagHoldsTheCount) {
  Skin()->OnSetChannelTuningMode(2);
  auto* scan = StartScan();
  ASSERT_NE(scan, nullptr);
  sim::SetScansAnswer(Tv(), false);
  Progress(19, 10, 1, 3);
  EXPECT_EQ(CountText(scan), "0");
  EXPECT_EQ(scan->Panel().bar.OnGetValue(), 10);
  Progress(20, 20, 0, 3);
  EXPECT_EQ(CountText(scan), "3");
}

TEST_F(AutoScanTest, AnEmptyAirShowsTheErrorScreenWhoseButtonsScanAgainOrLookForChannelTwo) {
  sim::SetAir(Tv(), 0, {});
  ASSERT_NE(StartScan(), nullptr);
  Run(1000);
  Settle();
  auto* error = Open<AutoTuningErrorDialog>();
  ASSERT_NE(error, nullptr);
  // The viewer reads why: the warning whole, above the two buttons.
  EXPECT_TRUE(Sees("No channels. Run a channel scan")) << SeenList();
  EXPECT_TRUE(Set().Channels(0).empty());
  EXPECT_EQ(Set().FrontDisplayMode(), 1);
  EXPECT_EQ(HelpMask(), 0x40204);
  EXPECT_EQ(Focused(), &error->OkButton());
  // OK scans again.
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_EQ(Calls("XPM_StartChannelScan").size(), 1u);
  Run(1000);
  Settle();
  error = Open<AutoTuningErrorDialog>();
  ASSERT_NE(error, nullptr);
  // Right and left wrap between the buttons.
  Press("right");
  EXPECT_EQ(Focused(), &error->ExitButton());
  Press("right");
  EXPECT_EQ(Focused(), &error->OkButton());
  Press("left");
  EXPECT_EQ(Focused(), &error->ExitButton());
  // Exit with an empty map: the discovery of channel 2, then all closed.
  ClearCallLog();
  Press("ok");
  Settle();
  ASSERT_EQ(Calls("XPM_StartChannelDiscovery").size(), 1u);
  EXPECT_EQ(Calls("XPM_StartChannelDiscovery")[0], "XPM_StartChannelDiscovery(2, 0, 0, 1, 0, 0)");
  EXPECT_TRUE(Calls("XPM_AbortChannelDiscovery").empty());
  EXPECT_FALSE(AnyChannelScreen());

  // A discovery that does not start is aborted.
  ASSERT_NE(StartScan(), nullptr);
  Run(1000);
  Settle();
  ASSERT_NE(Open<AutoTuningErrorDialog>(), nullptr);
  FailCall("XPM_StartChannelDiscovery", 5);
  Press("right");
  Press("ok");
  Settle();
  EXPECT_EQ(Calls("XPM_AbortChannelDiscovery").size(), 1u);
  EXPECT_FALSE(AnyChannelScreen());
}

TEST_F(AutoScanTest, KeysDuringTheScanAndTheAborts) {
  auto* scan = StartScan();
  ASSERT_NE(scan, nullptr);
  // Digits, arrows, OK, remote Back and Menu do nothing.
  for (const char* k : {"5", "up", "down", "left", "right", "ok", "back", "menu", "info"}) Press(k);
  Settle();
  EXPECT_EQ(Open<AutoTuningDialog>(), scan);
  EXPECT_TRUE(Calls("XPM_AbortChannelScan").empty());
  EXPECT_EQ(Focused(), scan);
  // Back from the front panel aborts; the aborted pass stops like a complete one.
  auto* back = kv::New<Events::XPM_EVENT_KEY>();
  back->Initialize(41, 1, 1);
  Dispatch(back);
  EXPECT_EQ(Calls("XPM_AbortChannelScan").size(), 1u);
  Settle();
  EXPECT_EQ(Open<AutoTuningDialog>(), nullptr);
  EXPECT_FALSE(Skin()->AppCriticalSection);
  EXPECT_TRUE(Open<AutoTuningCompleteDialog>() || Open<AutoTuningErrorDialog>());
  Press("exit");
  Settle();

  // Exit and the second exit key abort; the panel's menu key too.
  for (const char* k : {"exit", "exit2", "panel-menu"}) {
    ASSERT_NE(StartScan(), nullptr) << k;
    Run(300);
    Press(k);
    Settle();
    EXPECT_EQ(Calls("XPM_AbortChannelScan").size(), 1u) << k;
    EXPECT_EQ(Open<AutoTuningDialog>(), nullptr) << k;
    Press("exit");
    Settle();
  }
}

TEST_F(AutoScanTest, InputLockTwoLocksThreeAndFourAfterEveryScanAbortedToo) {
  Skin()->OnSetInputLock(2);
  ASSERT_NE(StartScan(), nullptr);
  Run(300);
  Press("exit");
  Settle();
  EXPECT_EQ(Calls("XPM_SetChannelLock"),
            (std::vector<std::string>{"XPM_SetChannelLock(3, 0, 1)", "XPM_SetChannelLock(4, 0, 1)"}));
  Press("exit");
  ASSERT_NE(StartScan(), nullptr);
  Run(4000);
  Settle();
  EXPECT_EQ(Calls("XPM_SetChannelLock").size(), 2u);
  Skin()->OnSetInputLock(0);
  Press("exit");
  ASSERT_NE(StartScan(), nullptr);
  Run(4000);
  Settle();
  EXPECT_TRUE(Calls("XPM_SetChannelLock").empty());
}

TEST_F(AutoScanTest, AFailedStartEndsAtOnceAndAnUnansweredAbortMovesOnAfterTenSeconds) {
  FailCall("XPM_StartChannelScan", 5);
  ASSERT_NE(OpenScreen<AutoTuningConfirmDialog>(), nullptr);
  Press("ok");
  Settle();
  EXPECT_EQ(Open<AutoTuningDialog>(), nullptr);
  EXPECT_NE(Open<AutoTuningErrorDialog>(), nullptr);
  EXPECT_FALSE(Skin()->AppCriticalSection);
  Press("exit");
  ClearFailures();

  // The set never answers: the screen waits for the scan as long as it runs,
  // and after an abort for 10 s.
  sim::SetScansAnswer(Tv(), false);
  ASSERT_NE(StartScan(), nullptr);
  Run(30000);
  ASSERT_NE(Open<AutoTuningDialog>(), nullptr);
  Press("exit");
  Run(9000);
  EXPECT_NE(Open<AutoTuningDialog>(), nullptr);
  Run(1500);
  Settle();
  EXPECT_EQ(Open<AutoTuningDialog>(), nullptr);
  EXPECT_NE(Open<AutoTuningErrorDialog>(), nullptr);
  EXPECT_TRUE(Logged("no answer to the abort"));
  EXPECT_FALSE(Skin()->AppCriticalSection);

  // An abort the set refuses counts as answered at once.
  Press("exit");
  ASSERT_NE(StartScan(), nullptr);
  FailCall("XPM_AbortChannelScan", 5);
  Press("exit");
  Settle();
  EXPECT_EQ(Open<AutoTuningDialog>(), nullptr);
  EXPECT_NE(Open<AutoTuningErrorDialog>(), nullptr);
}

TEST_F(AutoScanTest, StandbyAbortsTheScanAndTheSleepTimerWaitsForTheStop) {
  Skin()->OnSetInputLock(2);
  ASSERT_NE(StartScan(), nullptr);
  Run(300);
  Press("power");
  Settle();
  EXPECT_EQ(Calls("XPM_AbortChannelScan").size(), 1u);
  EXPECT_EQ(Calls("XPM_SetChannelLock").size(), 2u);
  EXPECT_TRUE(App().GetStandby()->IsInStandby());
  EXPECT_FALSE(AnyChannelScreen());
}

TEST_F(AutoScanTest, TheSleepTimersEndWaitsUntilTheScanStops) {
  sim::SetScansAnswer(Tv(), false);
  ASSERT_NE(StartScan(), nullptr);
  // The sleep timer runs out during the scan: the set stays on.
  Skin()->OnSetRemainSleepTime(0);
  Settle();
  Run(1000);
  EXPECT_FALSE(App().GetStandby()->IsInStandby());
  EXPECT_NE(Open<AutoTuningDialog>(), nullptr);
  // The scan stops (an abort without answer): now it switches off.
  Press("exit");
  Run(11000);
  Settle();
  EXPECT_TRUE(App().GetStandby()->IsInStandby());
}

TEST_F(AutoScanTest, SetupModeScansBothTunersAndSignalsTheStop) {
  auto* page = OpenSetupPage(0, 1);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(Calls("XPM_StartChannelScan"), std::vector<std::string>{"XPM_StartChannelScan(0, 0, 0, 0, 0, 0)"});
  // The first tuner is in view already: the set is not told to switch to it.
  EXPECT_TRUE(Calls("XPM_SetSource").empty()) << Calls("XPM_SetSource")[0];
  EXPECT_TRUE(Sees("Antenna scan (tuner 1)")) << SeenList();
  for (int i = 0; i < 40 && Calls("XPM_StartChannelScan").size() < 2; ++i) Run(100);
  Run(100);
  EXPECT_TRUE(Sees("Cable scan (tuner 2)")) << SeenList();
  Run(4000);
  Settle();
  // Pass 2 on the second tuner with the cable medium: digital only.
  ASSERT_EQ(Calls("XPM_StartChannelScan").size(), 2u);
  EXPECT_EQ(Calls("XPM_StartChannelScan")[1], "XPM_StartChannelScan(1, 0, 1, 0, 0, 0)");
  Run(4000);
  Settle();
  // The stop led the setup to its result page.
  EXPECT_FALSE(page->IsOpen());
  EXPECT_NE(kv::Cast<InitialSetup::AutoTuningCompleteDialog>(OpenForms().back()), nullptr);
  EXPECT_EQ(page->Scan().GetFirstPassCount(), 12);
  EXPECT_EQ(page->Scan().GetSecondPassCount(), 8);
  // Window 0 back on the first tuner, which found channels.
  EXPECT_EQ(Window0Source(), sim::kSourceTv);
  EXPECT_EQ(Open<AutoTuningCompleteDialog>(), nullptr);
  EXPECT_EQ(Open<AutoTuningErrorDialog>(), nullptr);
}

TEST_F(AutoScanTest, SetupModeAnAbortedFirstPassStillRunsTheSecond) {
  sim::SetAir(Tv(), 1, {});
  auto* page = OpenSetupPage(1, 0);
  ASSERT_NE(page, nullptr);
  Press("exit");
  Settle();
  ASSERT_EQ(Calls("XPM_StartChannelScan").size(), 2u);
  EXPECT_EQ(Calls("XPM_StartChannelScan")[1], "XPM_StartChannelScan(0, 0, 1, 0, 0, 0)");
  Run(4000);
  Settle();
  EXPECT_NE(kv::Cast<InitialSetup::AutoTuningCompleteDialog>(OpenForms().back()), nullptr);
  EXPECT_EQ(page->Scan().GetFirstPassCount(), 0);
  EXPECT_EQ(page->Scan().GetSecondPassCount(), 10);  // the digital channels of the antenna's air
  // Only the second tuner found channels: window 0 stays on it.
  EXPECT_EQ(Window0Source(), sim::kSourceTv2);
}

TEST_F(AutoScanTest, AResultOverAFullTableShowsItsCountAndPagesToItsEndAndBack) {
  // A map of 4096 channels (the table's capacity), in the set's order.
  std::vector<sim::Channel> map;
  for (const sim::AirChannel& a : sim::CrowdedAir(0, SkinBin::MAX_CHANNEL_TABLE_ENTRIES, 61))
    map.push_back(sim::FactoryChannel(a));
  Set().ReplaceChannelMap(0, map);
  auto* result = OpenScreen<AutoTuningCompleteDialog>();
  ASSERT_NE(result, nullptr);
  ASSERT_NE(result->List().OnGetDataSource(), nullptr);
  EXPECT_EQ(result->List().OnGetDataSource()->Num, 4096);
  EXPECT_NE(Str(result->FoundText()).find("4096"), std::string::npos) << Str(result->FoundText());
  // The rows shown, top to bottom: number and label of map entries first..first+7.
  auto expectPage = [&](size_t first, const char* where) {
    SCOPED_TRACE(where);
    const std::vector<Forms::Ctrl*> rows = result->List().GetRows();
    ASSERT_EQ(rows.size(), 8u);
    for (size_t i = 0; i < rows.size(); ++i) {
      const auto* row = kv::Cast<ListForm::ChannelItem>(rows[i]);
      ASSERT_NE(row, nullptr);
      const sim::Channel& c = map[first + i];
      EXPECT_EQ(row->Major, c.major) << "row " << i;
      EXPECT_EQ(row->Minor, c.minor) << "row " << i;
      EXPECT_EQ(Str(row->OnGetChannelLabel()), c.name) << "row " << i;
    }
  };
  expectPage(0, "first page");
  // Up on the first row wraps to the last channel: the last page, never
  // paged through.
  Press("up");
  Settle();
  expectPage(4088, "last page");
  EXPECT_EQ(kv::Cast<ListForm::ChannelItem>(result->List().GetFocusedRow())->Major, map.back().major);
  Press("prev");
  Settle();
  expectPage(4080, "page before the last");
  Press("next");
  Settle();
  expectPage(4088, "last page again");
  Press("down");
  Settle();
  expectPage(0, "first page again");
  EXPECT_NE(Str(result->FoundText()).find("4096"), std::string::npos);
}

TEST_F(AutoScanTest, EachScreenOpenedAndClosed50TimesKeepsTheCensus) {
  auto cycle = [&] {
    ASSERT_NE(StartScan(), nullptr);
    Run(3000);
    Settle();
    ASSERT_NE(Open<AutoTuningCompleteDialog>(), nullptr);
    Press("exit");
    Settle();
    Run(2000);
  };
  cycle();
  const auto baseline = Census();
  for (int i = 0; i < 50; ++i) cycle();
  EXPECT_EQ(Census(), baseline);
}

}  // namespace
}  // namespace channeltest
