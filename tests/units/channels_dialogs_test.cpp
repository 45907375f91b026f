// The manual scan, the guide-data scan and the channel lock and option
// dialogs through the whole system, with the simulated set answering from
// its own thread.
#include <gtest/gtest.h>

#include <set>

#include "channels_support.h"
#include "focus_look.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "platform/xpm/xpm_settings.h"
#include "units/Agent/MessageAgent.h"
#include "units/Channels/FullEPGDialog.h"
#include "units/ListForm/ChannelLists.h"
#include "units/ListForm/GuideLists.h"
#include "units/ListForm/ListClass.h"
#include "units/NonMenuSystem/KeyPad.h"
#include "units/Structures/Message.h"
#include "units/Structures/RefHolders.h"

namespace channeltest {
namespace {

using Channels::ChannelLockDialog;
using Channels::ChannelOptionDialog;
using Channels::FullEPGScanConfirmDialog;
using Channels::FullEPGScanDialog;
using Channels::FullEPGScanErrorDialog;
using Channels::ManualTuningDialog;

class DialogsTest : public ChannelTest {
 protected:
  static int Rows(ListForm::ListClass& l) {
    int n = 0;
    for (Forms::Ctrl* r : l.GetRows()) n += r->IsVisible() ? 1 : 0;
    return n;
  }
  static std::string RowText(ListForm::ListClass& l, size_t i) {
    auto rows = l.GetRows();
    auto* item = i < rows.size() ? kv::Cast<ListForm::ListItem>(rows[i]) : nullptr;
    return item ? item->OnGetText().ToUtf8() : std::string();
  }
};

// --- Manual scan -------------------------------------------------------------------

TEST_F(DialogsTest, ManualScanStepsWrapsTypesAndSearchesOnePhysicalChannel) {
  MenuRow(4);
  auto* d = Open<ManualTuningDialog>();
  ASSERT_NE(d, nullptr);
  Channels::ChannelSelectItem& item = d->Selector();
  EXPECT_EQ(Focused(), &item);
  EXPECT_EQ(HelpMask(), 0x40006);
  // No channel chosen yet: an empty list, and the set is not asked for channel 0.
  EXPECT_EQ(Rows(d->List()), 0);
  EXPECT_FALSE(Logged("XPM_GetVirtualChannels Error"));
  // Antenna: 2..69, wrapping both ways.
  EXPECT_EQ(item.Min, 2);
  EXPECT_EQ(item.Max, 69);
  EXPECT_EQ(item.ChNum, 2);
  Press("left");
  EXPECT_EQ(item.ChNum, 69);
  EXPECT_EQ(Str(item.OnGetText()), "69");
  Press("right");
  EXPECT_EQ(item.ChNum, 2);
  // Out of range, or the value shown: nothing changes (OK ends the entry).
  Digits("70");
  EXPECT_TRUE(item.IsChannelEdit);
  EXPECT_EQ(HelpMask(), 0x40202);
  Press("ok");
  Settle();
  EXPECT_FALSE(item.IsChannelEdit);
  EXPECT_EQ(HelpMask(), 0x40006);
  EXPECT_EQ(item.ChNum, 2);
  Digits("2");
  Press("ok");
  Settle();
  EXPECT_EQ(item.ChNum, 2);
  EXPECT_TRUE(Calls("XPM_StartChannelDiscovery").empty());
  // 19 carries 2-1 and 2-2: the list follows the selector.
  Digits("19");
  Press("ok");
  Settle();
  EXPECT_FALSE(item.IsChannelEdit);
  EXPECT_EQ(item.ChNum, 19);
  EXPECT_EQ(d->PhysicalChannel, 19);
  EXPECT_EQ(Rows(d->List()), 2);
  // Three digits end the entry by themselves.
  Digits("021");
  EXPECT_FALSE(item.IsChannelEdit);
  EXPECT_EQ(item.ChNum, 21);
  Press("left");
  Press("left");
  EXPECT_EQ(item.ChNum, 19);

  // A new channel went on the air on 19: the search finds three, one new.
  std::vector<sim::AirChannel> air = sim::DefaultAir(0);
  air.push_back({2, 3, "Metro Extra", 19, 0, true});
  sim::SetAir(Tv(), 0, air);
  W()->OnSetMute(1);
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_EQ(Calls("XPM_StartChannelDiscovery"),
            std::vector<std::string>{"XPM_StartChannelDiscovery(19, 0, 0, 1, 0, 1)"});
  EXPECT_TRUE(d->IsWaiting());
  Run(600);
  Settle();
  EXPECT_FALSE(d->IsWaiting());
  EXPECT_EQ(Rows(d->List()), 3);
  auto* fresh = kv::Cast<ListForm::ManualChannelItem>(d->List().GetRows()[2]);
  ASSERT_NE(fresh, nullptr);
  EXPECT_TRUE(fresh->IsNew);
  auto* old = kv::Cast<ListForm::ManualChannelItem>(d->List().GetRows()[0]);
  ASSERT_NE(old, nullptr);
  EXPECT_FALSE(old->IsNew);
  EXPECT_EQ(Str(d->FoundText()).rfind("1 ", 0), 0u) << Str(d->FoundText());
  EXPECT_NE(Str(d->FoundText()).find("13"), std::string::npos) << Str(d->FoundText());
  EXPECT_EQ(W()->OnGetMute(), 0);
  EXPECT_EQ(Set().Channels(0).size(), 13u);

  // Back to the channel menu, and the next key answers there.
  Press("back");
  Settle();
  EXPECT_EQ(Open<ManualTuningDialog>(), nullptr);
  ASSERT_NE(kv::Cast<MenuSystem::VidiChannelsMenu>(Page()), nullptr);
  // The page's row that opened the scan has the focus, and the next key moves it.
  auto* page = kv::Cast<MenuSystem::VidiChannelsMenu>(Page());
  EXPECT_EQ(Focused(), page->Item(4));
  Step("up");
  EXPECT_EQ(Focused(), page->Item(3));
  // The menu answers the next keys: back to its column, then the next page.
  Press("back");
  Run(1000);
  Settle();
  EXPECT_NE(kv::Cast<MenuSystem::VidiMainMenuItem>(Focused()), nullptr);
  Press("down");
  Run(1000);
  Settle();
  EXPECT_NE(kv::Cast<MenuSystem::VidiSettingsMenu>(Page()), nullptr);
}

TEST_F(DialogsTest, ManualScanOnCableAndAFailedSearch) {
  Skin()->OnSetAntCableIn(1);
  Run(500);
  auto* d = OpenScreen<ManualTuningDialog>();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->Selector().Min, 1);
  EXPECT_EQ(d->Selector().Max, 135);
  Press("left");
  EXPECT_EQ(d->Selector().ChNum, 135);
  Press("right");
  EXPECT_EQ(d->Selector().ChNum, 1);
  FailCall("XPM_StartChannelDiscovery", 5);
  Press("ok");
  Settle();
  EXPECT_FALSE(d->IsWaiting());
  EXPECT_TRUE(Logged("did not start"));
  // Page keys reach the list.
  ClearCallLog();
  Press("next");
  Press("prev");
  Settle();
  EXPECT_EQ(Open<ManualTuningDialog>(), d);
  Press("exit");
  Settle();
  EXPECT_FALSE(AnyChannelScreen());
}

TEST_F(DialogsTest, ASelectorWithoutASliderRecordKeepsItsDefaults) {
  auto* item = kv::New<Channels::ChannelSelectItem>();
  kv::Persistent<Channels::ChannelSelectItem> hold(item);
  item->OnSetOptionType(0x12345678u);
  EXPECT_EQ(item->Min, 0);
  EXPECT_EQ(item->Max, 100);
  EXPECT_EQ(item->Step, 1);
  EXPECT_TRUE(Logged("has no slider record"));
}

// --- Guide-data scan ----------------------------------------------------------------

TEST_F(DialogsTest, GuideScanFromTheMenuRowRunsOverTheMediumAndClosesEverything) {
  MenuRow(5);
  auto* confirm = Open<FullEPGScanConfirmDialog>();
  ASSERT_NE(confirm, nullptr);
  ClearCallLog();
  Press("ok");
  Settle();
  auto* scan = Open<FullEPGScanDialog>();
  ASSERT_NE(scan, nullptr);
  ASSERT_EQ(Calls("XPM_EPG_FullChannelScan").size(), 1u);
  EXPECT_EQ(Calls("XPM_EPG_FullChannelScan")[0].rfind("XPM_EPG_FullChannelScan(0, 2, 69, 0, ", 0), 0u);
  // Digits, arrows and OK are ignored.
  for (const char* k : {"4", "left", "ok"}) Press(k);
  Run(260);
  EXPECT_EQ(Open<FullEPGScanDialog>(), scan);
  EXPECT_EQ(scan->Total, 9u);
  EXPECT_EQ(scan->Panel().bar.OnGetValue(), 11);
  Run(3000);
  Settle();
  EXPECT_FALSE(AnyChannelScreen());
  Press("vol+");
  Settle();
  EXPECT_FALSE(Calls("XPM_SetVolume").empty());
}

TEST_F(DialogsTest, GuideScanOnCableWithoutProgressShowsTheErrorScreen) {
  Skin()->OnSetAntCableIn(1);
  Run(500);
  Set().ReplaceChannelMap(1, {});
  ASSERT_NE(OpenScreen<FullEPGScanConfirmDialog>(), nullptr);
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_EQ(Calls("XPM_EPG_FullChannelScan")[0].rfind("XPM_EPG_FullChannelScan(0, 1, 135, 1, ", 0), 0u);
  Run(1000);
  Settle();
  auto* error = Open<FullEPGScanErrorDialog>();
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(HelpMask(), 0x40204);
  Press("right");
  EXPECT_EQ(Focused(), &error->ExitButton());
  Press("left");
  EXPECT_EQ(Focused(), &error->OkButton());
  // OK goes back to the confirmation.
  Press("ok");
  Settle();
  EXPECT_NE(Open<FullEPGScanConfirmDialog>(), nullptr);
}

TEST_F(DialogsTest, GuideScanKeepsTheBarForATotalOfZeroAndClampsPastTheTotal) {
  sim::SetScansAnswer(Tv(), false);
  ASSERT_NE(OpenScreen<FullEPGScanConfirmDialog>(), nullptr);
  Press("ok");
  Settle();
  auto* scan = Open<FullEPGScanDialog>();
  ASSERT_NE(scan, nullptr);
  Inject(XPM_EVT_EPG_SCAN_PROGRESS, XPM_EpgScanProgress{3, 6, 4, 1});
  EXPECT_EQ(scan->Panel().bar.OnGetValue(), 50);
  Inject(XPM_EVT_EPG_SCAN_PROGRESS, XPM_EpgScanProgress{4, 0, 4, 2});
  EXPECT_EQ(scan->Panel().bar.OnGetValue(), 50);
  EXPECT_EQ(Str(scan->Panel().percent.OnGetString()), "50%");
  Inject(XPM_EVT_EPG_SCAN_PROGRESS, XPM_EpgScanProgress{9, 6, 7, 1});
  EXPECT_EQ(scan->Panel().bar.OnGetValue(), 100);
  EXPECT_EQ(Str(scan->Panel().percent.OnGetString()), "100%");
  // An abort after progress closes everything, even unanswered (after 10 s).
  Press("exit");
  Run(9000);
  EXPECT_EQ(Open<FullEPGScanDialog>(), scan);
  Run(1500);
  Settle();
  EXPECT_FALSE(AnyChannelScreen());
}

TEST_F(DialogsTest, GuideScanAnAbortAfterProgressClosesEverything) {
  ASSERT_NE(OpenScreen<FullEPGScanConfirmDialog>(), nullptr);
  Press("ok");
  Settle();
  Run(600);
  ClearCallLog();
  Press("exit2");
  Settle();
  EXPECT_EQ(Calls("XPM_EPG_AbortScan"), std::vector<std::string>{"XPM_EPG_AbortScan(0)"});
  EXPECT_FALSE(AnyChannelScreen());
}

// --- Lock and option dialogs ----------------------------------------------------------

TEST_F(DialogsTest, LockDialogMovesTheFocusAndLocksOrUnlocksEveryChannel) {
  auto* d = OpenScreen<ChannelLockDialog>();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(Focused()->Owner(), &d->List());  // a row of the list
  EXPECT_EQ(HelpMask(), 0x40300);
  // Both buttons say what they do.
  Run(200);
  std::set<std::string> seen;
  for (const Core::SeenText& t : SeenTexts())
    if (t.Readable()) seen.insert(t.text);
  EXPECT_TRUE(seen.count("All") && seen.count("Clear")) << SeenList();
  // Left: the remembered button (All at first); down and up between the buttons.
  Press("left");
  EXPECT_EQ(Focused(), &d->AllButton());
  Press("left");
  EXPECT_EQ(Focused(), &d->AllButton());
  Press("down");
  EXPECT_EQ(Focused(), &d->ClearButton());
  Press("right");
  EXPECT_EQ(d->OnGetFocus(), &d->List());
  Press("right");
  EXPECT_EQ(d->OnGetFocus(), &d->List());
  Press("left");
  EXPECT_EQ(Focused(), &d->ClearButton());
  Press("up");
  EXPECT_EQ(Focused(), &d->AllButton());
  // All locks every channel of the set, Clear unlocks every one.
  Press("ok");
  Settle();
  for (const sim::Channel& c : Set().Channels(0)) EXPECT_TRUE(c.locked) << c.major << "-" << c.minor;
  Press("down");
  Press("ok");
  Settle();
  for (const sim::Channel& c : Set().Channels(0)) EXPECT_FALSE(c.locked) << c.major << "-" << c.minor;
  Press("exit");
  Settle();
  EXPECT_FALSE(AnyChannelScreen());
}

// Only the control that takes the keys looks focused: the list's row while
// the list has the focus, else the button (All, Clear) and not the row, in
// both dialogs; right gives the row its look back.
TEST_F(DialogsTest, TheListRowLooksFocusedOnlyWhileTheListTakesTheKeys) {
  auto check = [&](auto* d) {
    ASSERT_NE(d, nullptr);
    Settle();
    Forms::Ctrl* row = d->List().GetFocusedRow();
    ASSERT_NE(row, nullptr);
    EXPECT_TRUE(apptest::LooksFocused(Osd(), row));
    EXPECT_FALSE(apptest::LooksFocused(Osd(), &d->AllButton()));
    Press("left");
    Settle();
    EXPECT_TRUE(apptest::LooksFocused(Osd(), &d->AllButton()));
    EXPECT_FALSE(apptest::LooksFocused(Osd(), row)) << "the row looks focused beside All";
    Press("down");
    Settle();
    EXPECT_TRUE(apptest::LooksFocused(Osd(), &d->ClearButton()));
    EXPECT_FALSE(apptest::LooksFocused(Osd(), row)) << "the row looks focused beside Clear";
    Press("right");
    Settle();
    EXPECT_EQ(d->List().GetFocusedRow(), row);
    EXPECT_TRUE(apptest::LooksFocused(Osd(), row));
    EXPECT_FALSE(apptest::LooksFocused(Osd(), &d->ClearButton()));
    // The next key still moves the list.
    Press("down");
    Settle();
    EXPECT_NE(d->List().GetFocusedRow(), row);
    EXPECT_TRUE(apptest::LooksFocused(Osd(), d->List().GetFocusedRow()));
    Press("exit");
    Settle();
    EXPECT_FALSE(AnyChannelScreen());
  };
  check(OpenScreen<ChannelLockDialog>());
  check(OpenScreen<ChannelOptionDialog>());
}

// Clear skips every channel and All brings every one back: each stays in the
// map with its lock, its label and its favourites, and the list still shows
// it, its box unchecked.
TEST_F(DialogsTest, OptionDialogHelpFollowsTheFocusAndClearAndAllSkipAndRestoreEveryChannel) {
  ASSERT_EQ(XPM_SetChannelLock(7, 1, 1), XPM_OK);
  ASSERT_EQ(XPM_SetChannelName(4, 1, "My news"), XPM_OK);
  ASSERT_EQ(XPM_AddChannelToRing(1, 4, 1), XPM_OK);
  auto* d = OpenScreen<ChannelOptionDialog>();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(HelpMask(), 0x41300);
  Press("left");
  EXPECT_EQ(HelpMask(), 0x40300);
  Press("right");
  EXPECT_EQ(HelpMask(), 0x41300);
  const auto kept = [&](bool skipped) {
    const std::vector<sim::Channel> map = Set().Channels(0);
    ASSERT_EQ(map.size(), 12u);
    for (const sim::Channel& c : map) {
      EXPECT_EQ(c.excluded, skipped) << c.major << "-" << c.minor;
      int32_t in = -1;
      XPM_IsChannelInRing(0, c.major, c.minor, &in);
      EXPECT_EQ(in, skipped ? 0 : 1) << c.major << "-" << c.minor;
      EXPECT_EQ(c.locked, c.major == 7 && c.minor == 1) << c.major << "-" << c.minor;
    }
    sim::Channel news;
    ASSERT_EQ(Set().ChannelInfo(4, 1, &news, "test"), XPM_OK);
    EXPECT_EQ(news.name, "My news");
    EXPECT_EQ(Set().Ring(0, 1).size(), 1u);
    // The list still lists every channel with a service, each box showing the skip.
    EXPECT_EQ(d->List().GetItemsCount(), 11);
    for (Forms::Ctrl* r : d->List().GetRows()) {
      if (auto* row = kv::Cast<ListForm::ChannelOptionItem>(r); row && row->IsVisible()) {
        EXPECT_EQ(row->IsEnabled, !skipped) << Str(row->OnGetText());
      }
    }
  };
  Press("left");
  Press("down");
  Press("ok");  // Clear
  Settle();
  kept(true);
  int32_t count = -1;
  XPM_GetNumChannelsInRing(0, &count);
  EXPECT_EQ(count, 0);
  Press("up");
  Press("ok");  // All
  Settle();
  kept(false);
  XPM_GetNumChannelsInRing(0, &count);
  EXPECT_EQ(count, 12);
}

// Skip marks the channel: ch+ passes it, the list still shows it unchecked
// with its lock, and All brings it back still locked (no way round the PIN).
TEST_F(DialogsTest, AChannelSkippedInTheOptionDialogIsPassedByChannelUpAndKeepsItsLock) {
  ASSERT_EQ(XPM_SetChannelLock(2, 2, 1), XPM_OK);
  auto* d = OpenScreen<ChannelOptionDialog>();
  ASSERT_NE(d, nullptr);
  // The list opens on the channel watched, 2-1; the red key skips 2-2.
  Press("down");
  Press("red");
  Settle();
  auto* row = kv::Cast<ListForm::ChannelOptionItem>(d->List().GetFocusedRow());
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(Str(row->OnGetText()), "2-2");
  EXPECT_FALSE(row->IsEnabled);
  sim::Channel c;
  ASSERT_EQ(Set().ChannelInfo(2, 2, &c, "test"), XPM_OK);
  EXPECT_TRUE(c.excluded);
  EXPECT_TRUE(c.locked);
  EXPECT_EQ(d->List().GetItemsCount(), 11);  // every channel with a service
  Press("exit");
  Settle();
  EXPECT_FALSE(AnyChannelScreen());
  ClearCallLog();
  Press("ch+");
  Run(2000);
  Settle();
  ASSERT_FALSE(Calls("XPM_SetChannel").empty());
  EXPECT_EQ(Calls("XPM_SetChannel")[0], "XPM_SetChannel(0, 3, -2)");  // analogue 3, not 2-2
  // All: 2-2 is back in the ring, and still locked.
  d = OpenScreen<ChannelOptionDialog>();
  ASSERT_NE(d, nullptr);
  Press("left");
  Press("ok");
  Settle();
  ASSERT_EQ(Set().ChannelInfo(2, 2, &c, "test"), XPM_OK);
  EXPECT_FALSE(c.excluded);
  EXPECT_TRUE(c.locked);
}

// The channel watched, skipped in the option dialog: the guide opened on it
// stays on it. Its column lists the channel watched with the focus, the header names it and the programmes are its own;
// nothing is tuned.
TEST_F(DialogsTest, TheGuideOpenedOnTheSkippedChannelWatchedShowsThatOneChannel) {
  auto* d = OpenScreen<ChannelOptionDialog>();
  ASSERT_NE(d, nullptr);
  Press("red");  // the list opens on 2-1, the channel watched
  Settle();
  sim::Channel c;
  ASSERT_EQ(Set().ChannelInfo(2, 1, &c, "test"), XPM_OK);
  ASSERT_TRUE(c.excluded);
  Press("exit");
  Run(500);
  ClearCallLog();
  Press("guide");
  Run(2500);
  auto* g = Open<Channels::FullEPGDialog>();
  ASSERT_NE(g, nullptr);
  EXPECT_TRUE(Calls("XPM_SetChannel").empty()) << Calls("XPM_SetChannel").front();
  auto* row = kv::Cast<ListForm::EPGChannelItem>(g->Column.GetFocusedRow());
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(Str(row->OnGetNumberText()), "2-1");
  EXPECT_TRUE(apptest::LooksFocused(Osd(), row));
  std::string header, focused;
  for (const Core::SeenText& t : SeenTexts()) {
    if (t.view == &g->Number) header = t.text;
    if (t.where.find("ListForm::EPGChannelItem") != std::string::npos && t.box.y1 >= row->GetAbsoluteBounds().y1 &&
        t.box.y2 <= row->GetAbsoluteBounds().y2 && t.text == "2-1")
      focused = t.text;
  }
  EXPECT_EQ(header, "2-1") << SeenList();
  EXPECT_EQ(focused, "2-1") << SeenList();
  Structures::VirtualChannel* listed = g->Programs.OnGetm_channel();
  ASSERT_NE(listed, nullptr);
  EXPECT_EQ(listed->Major, 2);
  EXPECT_EQ(listed->Minor, 1);
  // Moving off and back: the row is still there, and the keys still act.
  Press("down");
  Run(1500);
  EXPECT_FALSE(Calls("XPM_SetChannel").empty());
}

TEST_F(DialogsTest, OptionDialogLabelGoesThroughTheKeyPadToTheSet) {
  auto* d = OpenScreen<ChannelOptionDialog>();
  ASSERT_NE(d, nullptr);
  Press("ok");
  Settle();
  ASSERT_NE(Open<NonMenuSystem::KeyPad>(), nullptr);
  auto* msg = kv::New<Structures::Message>();
  auto* ref = kv::New<Structures::RefString>();
  ref->Value = kv::String::FromUtf8("My channel");
  msg->Initialize(Constants::MSG_LABEL_CHANGE, ref);
  ClearCallLog();
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Dispatch(msg);
  Settle();
  ASSERT_EQ(Calls("XPM_SetChannelName").size(), 1u);
  EXPECT_NE(Calls("XPM_SetChannelName")[0].find("My channel"), std::string::npos);
}

TEST_F(DialogsTest, EachDialogOpenedAndClosed50TimesKeepsTheCensus) {
  auto manual = [&] {
    ASSERT_NE(OpenScreen<ManualTuningDialog>(), nullptr);
    Press("right");
    Press("left");
    Press("exit");
    Settle();
  };
  auto lock = [&] {
    ASSERT_NE(OpenScreen<ChannelLockDialog>(), nullptr);
    Press("left");
    Press("exit");
    Settle();
  };
  auto options = [&] {
    ASSERT_NE(OpenScreen<ChannelOptionDialog>(), nullptr);
    Press("left");
    Press("exit");
    Settle();
  };
  auto guide = [&] {
    ASSERT_NE(OpenScreen<FullEPGScanConfirmDialog>(), nullptr);
    Press("ok");
    Run(3000);
    Settle();
  };
  for (int kind = 0; kind < 4; ++kind) {
    auto run = [&] {
      if (kind == 0) manual();
      if (kind == 1) lock();
      if (kind == 2) options();
      if (kind == 3) guide();
      Run(10000);
    };
    run();
    const auto baseline = Census();
    for (int i = 0; i < 50; ++i) run();
    EXPECT_EQ(Census(), baseline) << kind;
  }
}

}  // namespace
}  // namespace channeltest
