// Live TV as a viewer with a new set meets it: what is on screen a moment
// after a key or an event. The channel browser with Navigation on, help bars
// that go with their screens, notices that the way back to TV leaves up.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "menusystem_support.h"
#include "picture_watch.h"
#include "platform/sim/sim_tv_air.h"
#include "platform/sim/sim_tv_state.h"
#include "units/ListForm/CBLists.h"
#include "units/NonMenuSystem/ChBrowserDialog.h"
#include "units/NonMenuSystem/HelpBar.h"
#include "units/NonMenuSystem/InfoBanner.h"
#include "units/NonMenuSystem/InputDialogs.h"
#include "units/NonMenuSystem/KeyPad.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/ChannelData.h"
#include "units/Structures/VirtualChannel.h"

namespace {

class ViewerTest : public menutest::MenuTest {
 protected:
  // Checks that every text of the browser's tiles shows whole above the help
  // bar; gives how many there are.
  int TileTextsClearOfTheHelpBar() {
    auto* bar = Find<NonMenuSystem::HelpBar>();
    if (!bar) {
      ADD_FAILURE() << "no help bar";
      return 0;
    }
    const int32_t top = bar->GetAbsoluteBounds().y1;
    int n = 0;
    for (const Core::SeenText& t : SeenTexts()) {
      if (t.where.find("ListItem < ListForm::CB") == std::string::npos) continue;
      ++n;
      EXPECT_TRUE(t.Readable()) << t.Describe();
      EXPECT_LE(t.ink.y2, top) << t.Describe();
    }
    // The focused tile's frame, 3 px around it, stays above the bar too.
    if (auto* tile = kv::Cast<ListForm::CBListItem>(Focused())) {
      EXPECT_LE(tile->GetAbsoluteBounds().y2 + 3, top);
    } else {
      ADD_FAILURE() << "no tile has the focus";
    }
    return n;
  }
  std::string ChannelName() {
    Structures::VirtualChannel* ch = W()->GetCurrentChannel();
    Structures::ChannelData* data = ch ? Skin()->GetChannelInfo(ch->Major, ch->Minor) : nullptr;
    return data ? data->Name.ToUtf8() : std::string();
  }
  int32_t ChannelKey() {
    Structures::VirtualChannel* ch = W()->GetCurrentChannel();
    return ch ? ch->Major * 1000 + ch->Minor : -1;
  }
};

// With the set's default Navigation on, the browser stays on screen with its
// tiles and help, answers its keys, and a tile the viewer moves to is tuned
// without closing it; when it closes, its help bar goes with it.
TEST_F(ViewerTest, TheBrowserStaysOpenAndTunesWhereTheViewerMoves) {
  ASSERT_NE(Skin()->OnGetNavigation(), 0);  // a new set's default
  Skin()->OnSetCurrentCBList(1);            // the channel strip
  ClearCallLog();
  Press("browse");
  Run(2000);
  auto* d = Find<NonMenuSystem::ChBrowserDialog>();
  ASSERT_NE(d, nullptr) << "the browser closed itself";
  EXPECT_EQ(Find<NonMenuSystem::InfoBanner>(), nullptr);
  ASSERT_NE(Find<NonMenuSystem::HelpBar>(), nullptr);
  // Opening tunes nothing: the first focus is the channel already on.
  EXPECT_TRUE(Calls("XPM_SetChannel").empty());
  const std::string before = ChannelName();
  ASSERT_FALSE(before.empty());
  EXPECT_TRUE(Sees(before)) << SeenList();
  EXPECT_EQ(TileTextsClearOfTheHelpBar(), 12);

  // Right: 300 ms later the next channel is on, the browser still open and
  // its banner line names the new channel.
  const int32_t key = ChannelKey();
  Press("right");
  Run(2000);
  EXPECT_EQ(Calls("XPM_SetChannel").size(), 1u);
  EXPECT_NE(ChannelKey(), key);
  ASSERT_EQ(Find<NonMenuSystem::ChBrowserDialog>(), d) << "the tune closed the browser";
  EXPECT_EQ(Find<NonMenuSystem::InfoBanner>(), nullptr);
  const std::string after = ChannelName();
  EXPECT_NE(after, before);
  EXPECT_EQ(d->Name().ToUtf8(), after);
  EXPECT_TRUE(Sees(after)) << SeenList();

  // The next key still answers: down switches the list kind.
  const int32_t kind = d->CBListValue;
  Press("down");
  Run(1000);
  ASSERT_EQ(Find<NonMenuSystem::ChBrowserDialog>(), d);
  EXPECT_NE(d->CBListValue, kind);
  EXPECT_GT(TileTextsClearOfTheHelpBar(), 0);
  EXPECT_EQ(Calls("XPM_SetChannel").size(), 1u);

  // Back closes it: no help bar stays alone on screen.
  Press("back");
  Run(500);
  EXPECT_EQ(Find<NonMenuSystem::ChBrowserDialog>(), nullptr);
  EXPECT_EQ(Find<NonMenuSystem::HelpBar>(), nullptr);
  // The tune's acquisition, held while the browser was open, now brings the banner.
  EXPECT_NE(Find<NonMenuSystem::InfoBanner>(), nullptr);
}

// The history strip (a new set's first kind) opens on the channel on screen
// and stays, whatever the time; its time-out takes the help bar with it.
TEST_F(ViewerTest, TheHistoryStripTunesNothingByItselfAndItsTimeOutTakesTheHelpBar) {
  Skin()->OnSetCurrentCBList(0);
  ClearCallLog();
  Press("browse");
  Run(5000);
  ASSERT_NE(Find<NonMenuSystem::ChBrowserDialog>(), nullptr);
  EXPECT_TRUE(Calls("XPM_SetChannel").empty());
  EXPECT_TRUE(Calls("XPM_SetSource").empty());
  Run(15000);
  EXPECT_EQ(Find<NonMenuSystem::ChBrowserDialog>(), nullptr);
  EXPECT_EQ(Find<NonMenuSystem::HelpBar>(), nullptr);
  EXPECT_TRUE(OpenForms().empty());
}

// An analogue channel tuned by typing its number is one tile of the history
// strip (a new set's first kind), the newest; after another channel it is
// still one tile, before the newer one.
TEST_F(ViewerTest, AnAnalogueChannelTypedIsOneTileOfTheHistory) {
  const auto tiles = [&](const std::string& text) {
    std::vector<int32_t> at;
    for (const Core::SeenText& t : SeenTexts())
      if (t.where.find("ListItem < ListForm::CB") != std::string::npos && t.text == text) at.push_back(t.box.x1);
    return at;
  };
  Run(2000);
  Press("6");
  Press("ok");
  Run(8000);
  Press("browse");
  Run(600);
  ASSERT_NE(Find<NonMenuSystem::ChBrowserDialog>(), nullptr);
  EXPECT_EQ(tiles("Lakeside 6").size(), 1u) << SeenList();
  Press("exit");
  Run(500);
  for (const char* key : {"4", "dash", "1", "ok"}) Press(key);
  Run(8000);
  Press("browse");
  Run(600);
  const std::vector<int32_t> analogue = tiles("Lakeside 6");
  const std::vector<int32_t> digital = tiles("City News");
  ASSERT_EQ(analogue.size(), 1u) << SeenList();
  ASSERT_EQ(digital.size(), 1u) << SeenList();
  EXPECT_LT(analogue[0], digital[0]) << "4-1, tuned last, is the newest tile";
}

// A help bar shows the keys of the newest screen still open that put its
// keys up: a screen closing over another gives the keys back to it, and the
// last one to close takes the bar with it.
TEST_F(ViewerTest, AHelpBarGoesWithTheScreenThatPutItUp) {
  auto* labels = OpenScreen<NonMenuSystem::InputLabelingDialog>();
  ASSERT_NE(labels, nullptr);
  auto* bar = Find<NonMenuSystem::HelpBar>();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->Owner(), labels);
  const int32_t labelKeys = bar->OnGetHelpButtonMask();
  // The key pad over it puts up its own keys.
  auto* pad = OpenScreen<NonMenuSystem::KeyPad>();
  ASSERT_NE(pad, nullptr);
  ASSERT_EQ(Find<NonMenuSystem::HelpBar>(), bar);
  EXPECT_EQ(bar->Owner(), pad);
  EXPECT_NE(bar->OnGetHelpButtonMask(), labelKeys);
  // The pad closes: the dialog's keys are back.
  pad->Close();
  Settle();
  ASSERT_EQ(Find<NonMenuSystem::HelpBar>(), bar);
  EXPECT_EQ(bar->Owner(), labels);
  EXPECT_EQ(bar->OnGetHelpButtonMask(), labelKeys);
  // The dialog closes: no help bar stays alone on screen.
  labels->Close();
  Settle();
  EXPECT_EQ(Find<NonMenuSystem::HelpBar>(), nullptr);
  // Keys put up by no screen (a message of the set) stay until cleared.
  Nms()->UpdateHelp(0x200, kv::String::FromUtf8("OK"));
  Settle();
  ASSERT_NE(Find<NonMenuSystem::HelpBar>(), nullptr);
  Run(5000);
  EXPECT_NE(Find<NonMenuSystem::HelpBar>(), nullptr);
  Nms()->ClearHelpBar();
  Settle();
  EXPECT_EQ(Find<NonMenuSystem::HelpBar>(), nullptr);
}

// A notice that is not about the picture ("The device was removed") stays
// on screen for its time when the picture comes back; the no-signal notice
// goes when a picture is acquired.
TEST_F(ViewerTest, TheWayBackToTvLeavesANoticeOfItsOwnOnScreen) {
  ASSERT_TRUE(SwitchToSourceType(sim::kSourceTypeHdmi));
  Nms()->ShowMessage(21);
  Settle();
  ASSERT_EQ(BarType(), 21);
  const std::string removed = Bar()->OnGetMessageInfo().ToUtf8();
  ASSERT_FALSE(removed.empty());
  W()->SetSource(0, sim::kSourceTv);
  Run(500);
  EXPECT_EQ(BarType(), 21) << "the banner of the way back closed the notice";
  EXPECT_TRUE(Sees(removed)) << SeenList();
  EXPECT_NE(Find<NonMenuSystem::InfoBanner>(), nullptr);
  Run(7000);
  EXPECT_EQ(BarType(), 0);

  // The no-signal notice is answered by the picture on the way back.
  ASSERT_TRUE(SwitchToSourceType(sim::kSourceTypeComposite));
  Run(1000);
  ASSERT_EQ(BarType(), 1);
  W()->SetSource(0, sim::kSourceTv);
  Run(1000);
  EXPECT_EQ(BarType(), 0);
  EXPECT_NE(Find<NonMenuSystem::InfoBanner>(), nullptr);
}

// An input without a signal tells the viewer so, 2 s after the change
// made the way the viewer makes it.
TEST_F(ViewerTest, AnInputWithoutSignalSaysNoSignal) {
  Press("input");
  Press("down", 2);
  Press("ok");
  Run(2000);
  ASSERT_EQ(Skin()->GetSourceType(W()->GetCurrentSource(0)), sim::kSourceTypeComposite);
  EXPECT_EQ(BarType(), 1);
  EXPECT_TRUE(Sees("No signal")) << SeenList();
  // The next key still answers; the input has no channels, so it stays,
  // and the notice is back once the key's answer has gone.
  Press("ch+");
  Run(4000);
  EXPECT_EQ(Skin()->GetSourceType(W()->GetCurrentSource(0)), sim::kSourceTypeComposite);
  EXPECT_TRUE(Sees("No signal")) << SeenList();
}

// Standby darkens the panel; waking lights it with the picture again.
TEST_F(ViewerTest, StandbyDarkensThePanelAndWakingLightsIt) {
  apptest::PictureWatch picture(Tv());
  Press("ch+");
  Run(4000);
  EXPECT_GT(picture.Lit(), 100000u);
  Press("power");
  Run(1000);
  EXPECT_EQ(picture.Lit(), 0u) << "the live picture stays in standby";
  Press("power");
  Run(3000);
  EXPECT_GT(picture.Lit(), 100000u);
}

// The widgets key starts the widget application: its screen replaces the
// picture, and the keys the dispatcher still takes show what they show over
// it (mark: the banner; a locked panel key: its notice). Input ends it.
TEST_F(ViewerTest, ARunningApplicationShowsAndTheKeysLiveTvTakesStillShow) {
  apptest::PictureWatch watch(Tv());
  auto picture = [&] { return watch.Picture(); };
  Press("ch+");
  Run(4000);
  const std::vector<uint32_t> live = picture();
  ASSERT_FALSE(live.empty());
  Press("widgets");
  Run(1000);
  EXPECT_NE(picture(), live) << "nothing shows that the application runs";
  // Its page shows a row of four bright tiles across the middle of the
  // screen, on a dark ground: the bright stretches of that line, each wide.
  {
    const std::vector<uint32_t> page = picture();
    ASSERT_EQ(page.size(), size_t(sim::kPlaneWidth) * sim::kPlaneHeight);
    const uint32_t* line = &page[size_t(sim::kPlaneHeight * 57 / 100) * sim::kPlaneWidth];
    std::vector<int32_t> stretches;
    int32_t run = 0;
    for (int32_t x = 0; x <= sim::kPlaneWidth; ++x) {
      const uint32_t p = x < sim::kPlaneWidth ? line[x] : 0;
      const uint32_t top = std::max({p & 0xFFu, (p >> 8) & 0xFFu, (p >> 16) & 0xFFu});
      if (top > 150) {
        ++run;
      } else if (run > 0) {
        stretches.push_back(run);
        run = 0;
      }
    }
    ASSERT_EQ(stretches.size(), 4u) << "tiles across the application's page";
    for (int32_t w : stretches) EXPECT_GT(w, 150) << "a tile";
  }
  Press("mark");
  Run(500);
  EXPECT_NE(Find<NonMenuSystem::InfoBanner>(), nullptr);
  EXPECT_TRUE(Sees(ChannelName())) << SeenList();
  Press("panel-locked");
  Run(300);
  EXPECT_EQ(BarType(), 13);
  // The widgets key again ends it; so does Input, after a new start.
  Press("widgets");
  Run(1000);
  EXPECT_EQ(picture(), live);
  Press("widgets");
  Run(1000);
  EXPECT_NE(picture(), live);
  Press("input");
  Run(1000);
  EXPECT_EQ(picture(), live);
}

// A locked panel's keys do nothing but say so; unlocked they act again.
TEST_F(ViewerTest, ALockedPanelSaysSoAndChangesNothing) {
  const int32_t key = ChannelKey();
  Skin()->OnSetPanelLock(1);
  ClearCallLog();
  Press("panel-ch+");
  Run(500);
  EXPECT_EQ(ChannelKey(), key);
  EXPECT_TRUE(Calls("XPM_SetChannel").empty());
  EXPECT_EQ(BarType(), 13);
  ASSERT_NE(Bar(), nullptr);
  EXPECT_TRUE(Sees(Bar()->OnGetMessageInfo().ToUtf8())) << SeenList();
  Press("panel-vol+");
  EXPECT_TRUE(Calls("XPM_SetVolume").empty());
  // The remote still works, and so does the panel's power key.
  Press("ch+");
  Run(4000);
  EXPECT_NE(ChannelKey(), key);
  Skin()->OnSetPanelLock(0);
  const int32_t now = ChannelKey();
  Press("panel-ch+");
  Run(4000);
  EXPECT_NE(ChannelKey(), now);
}

// A number that is not in the list is an answer, not an error in the log.
TEST_F(ViewerTest, ANumberNotInTheListLogsNoError) {
  for (int32_t type : {sim::kSourceTypeTuner, sim::kSourceTypeHdmi}) {
    ASSERT_TRUE(SwitchToSourceType(type));
    Log().Clear();
    Press("9");
    Press("9");
    Press("ok");
    Run(4000);
    EXPECT_FALSE(Logged("XPM_GetChannelInfo Error")) << "on source type " << type;
    EXPECT_FALSE(Logged("Error 0x")) << "on source type " << type;
  }
}

// Live TV on a new set whose scans found nothing: the setup's error page,
// Exit, and the viewer is told that there are no channels.
class NewSetViewerTest : public ViewerTest {
 protected:
  NewSetViewerTest() { freshSet_ = true; }
  // Both scans of the first-time setup find nothing; Exit into live TV.
  void LeaveTheSetupWithoutChannels() {
    sim::SetAir(Tv(), 0, {});
    sim::SetAir(Tv(), 1, {});
    Run(1000);
    for (const char* key : {"ok", "ok", "ok", "down", "down", "ok", "ok", "ok"}) {
      Press(key);
      Run(300);
    }
    Run(3000);
    Press("right");
    Run(300);
    Press("ok");
    Run(2000);
  }
};

TEST_F(NewSetViewerTest, LiveTvWithoutChannelsSaysSo) {
  LeaveTheSetupWithoutChannels();
  EXPECT_EQ(BarType(), 1);
  EXPECT_TRUE(Sees("No channels. Run a channel scan")) << SeenList();
}

// A number typed with a sub-channel on a set without channels: the entry
// goes and the viewer reads the same notice as ch+ gives, not a black screen.
TEST_F(NewSetViewerTest, ATypedNumberWithASubChannelWithoutChannelsSaysThereAreNone) {
  LeaveTheSetupWithoutChannels();
  Run(3000);
  for (const char* key : {"2", "dash", "1", "ok"}) Press(key);
  Run(1000);
  bool told = Sees("No channels. Run a channel scan");
  for (int i = 0; i < 10 && !told; ++i) {
    Run(1000);
    told = Sees("No channels. Run a channel scan");
  }
  EXPECT_TRUE(told) << SeenList();
  EXPECT_FALSE(Sees("2-1")) << SeenList();
  // The next key still acts: ch+ says it again.
  Run(5000);
  Press("ch+");
  Run(1500);
  EXPECT_TRUE(Sees("No channels. Run a channel scan")) << SeenList();
}

// A number typed without a sub-channel on a set without channels: the set
// looks for it on that physical channel and, finding nothing, the viewer
// reads the notice that stays, as after a typed 2-1. The entry box keeps
// the keys beside the notice: it goes at its time-out, and on Exit.
TEST_F(NewSetViewerTest, ATypedNumberWithoutASubChannelWithoutChannelsSaysThereAreNone) {
  LeaveTheSetupWithoutChannels();
  Run(3000);
  // The entry box's texts show, whole or in part.
  const auto entryShows = [this] {
    for (const Core::SeenText& t : SeenTexts())
      if (t.where.find("ChannelEntry") != std::string::npos && t.cover != Core::Cover::kWholly) return true;
    return false;
  };
  ClearCallLog();
  Press("5");
  Press("ok");
  Run(1000);
  EXPECT_TRUE(entryShows()) << SeenList();
  EXPECT_TRUE(Sees("No channels. Run a channel scan")) << SeenList();
  Run(6000);
  EXPECT_EQ(Calls("XPM_StartChannelDiscovery").size(), 1u);
  EXPECT_FALSE(entryShows()) << SeenList();
  EXPECT_TRUE(Sees("No channels. Run a channel scan")) << SeenList();
  Run(10000);
  EXPECT_TRUE(Sees("No channels. Run a channel scan")) << SeenList();
  // Typed again, Exit clears the box at once, for good.
  Press("5");
  Press("ok");
  Run(1000);
  ASSERT_TRUE(entryShows()) << SeenList();
  Press("exit");
  Run(500);
  EXPECT_FALSE(entryShows()) << SeenList();
  Run(30000);
  EXPECT_FALSE(entryShows()) << SeenList();
  // The next key still acts: ch+ says it again.
  Press("ch+");
  Run(1500);
  EXPECT_TRUE(Sees("No channels. Run a channel scan")) << SeenList();
}

// The channel keys on an empty channel ring tell the viewer why nothing
// changes, each time.
TEST_F(NewSetViewerTest, ChannelKeysWithoutChannelsSayThereAreNone) {
  LeaveTheSetupWithoutChannels();
  for (const char* key : {"ch+", "ch-", "ch+"}) {
    SCOPED_TRACE(key);
    Run(3000);
    Press(key);
    Run(1500);
    EXPECT_TRUE(Sees("No channels. Run a channel scan")) << SeenList();
    EXPECT_FALSE(Sees("Tuning...")) << SeenList();
  }
}

}  // namespace
