// The keys after a screen closes: a bar, a notice, a banner or a page that
// closes (by time-out, Back, Exit or a screen replacing it) leaves the
// screen under it answering the next key, whatever opened it; a banner that
// comes late takes no keys from the screen opened since; live TV answers as
// before once the widgets application has closed. Driven by keys through the
// GUI loop from live TV, with a stick plugged as a viewer plugs it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "player_fixture.h"
#include "units/Agent/MessageAgent.h"
#include "units/Structures/Message.h"
#include "units/Channels/FullEPGDialog.h"
#include "units/MediaPlayer/ListViews.h"
#include "units/MediaPlayer/MediaPlayerDialogs.h"
#include "units/MediaPlayer/PhotoMultiView.h"
#include "units/MediaPlayer/PhotoSingleView.h"
#include "units/MediaPlayer/Players.h"
#include "units/MediaPlayer/SourceSelect.h"
#include "units/QuickMenu/QuickMenu.h"
#include "units/QuickMenu/QuickPages.h"

namespace playertest {
namespace {

using namespace MediaPlayer;

class KeysAfterCloseTest : public PlayerTest {
 protected:
  // The stick plugged anew, its question answered Yes: the media kind menu.
  void KindMenu() {
    Plug("stick");
    Run(1500);
    ASSERT_NE(Find<MediaPlayerOpenConfirmDialog>(), nullptr) << SeenList();
    Press("ok");
    Run(500);
    ASSERT_NE(Find<USBMediaPlayerMenu>(), nullptr);
  }
  // Photo: the grid of the stick's pictures.
  PhotoMultiView* Grid() {
    KindMenu();
    Press("ok");
    Run(2000);
    return Find<PhotoMultiView>();
  }
  // Video: the movie list of the stick, its folder, the movie playing.
  MovieFullScreenPlay* PlayingMovie() {
    std::filesystem::create_directories(StickDir("stick") + "/Movies");
    media_writer::WriteMovie(StickDir("stick") + "/Movies/clip.avi", 30, 64, 48, 120, 100, 160);
    KindMenu();
    Press("down");
    Press("ok");
    Run(2000);
    if (!Find<MovieListView>()) return nullptr;
    Press("ok");  // into the folder
    Run(2000);
    Press("ok");  // the movie
    Run(2000);
    return Find<MovieFullScreenPlay>();
  }
  // The menu key opens the main menu (live TV has the keys), then Exit.
  bool MenuKeyAnswers() {
    Press("menu");
    Run(1500);
    const bool open = Wm()->FindFormOf(KV_LATE_CLASS("MenuSystem::VidiMainMenu")) != nullptr;
    Press("exit");
    Run(500);
    return open;
  }
  // Exit three times and a wait, as a viewer leaves anything: live TV with
  // no screen but the help bar, and the menu key answers.
  void BackToLiveTv() {
    for (int i = 0; i < 3; ++i) {
      Press("exit");
      Run(500);
    }
    Run(20000);
    EXPECT_TRUE(MenuKeyAnswers()) << ScreenList();
  }
  std::string ScreenList() {
    std::string out;
    for (const apptest::OpenScreen& s : Screens()) out += s.cls + (s.visible ? "" : " (hidden)") + "; ";
    return out;
  }
};

// A volume bar or a mute bar over the grid (with its quick menu open), the
// photo viewer or a playing movie: once the bar goes, the screen under it
// answers its keys.
TEST_F(KeysAfterCloseTest, AVolumeBarOverAMediaScreenLeavesItAnsweringKeys) {
  WriteStick("stick", {"a.jpg", "b.jpg", "c.jpg"});
  ASSERT_NE(Grid(), nullptr);
  Press("quick");
  Run(300);
  Press("vol+");
  Run(300);
  EXPECT_TRUE(Sees("Volume")) << SeenList();
  Run(3000);
  EXPECT_FALSE(Sees("Volume")) << "the bar goes by its time-out";
  // The grid takes OK: the viewer opens on the focused picture.
  Press("ok");
  Run(2000);
  kv::Persistent<PhotoSingleView> viewer = Find<PhotoSingleView>();
  ASSERT_NE(viewer, nullptr) << "the grid ignores OK: " << ScreenList();
  // The viewer: the bar closed by Exit.
  Press("vol+");
  Run(300);
  Press("exit");
  Run(500);
  EXPECT_TRUE(viewer->IsOpen()) << "Exit closes only the bar";
  Press("back");
  Run(1000);
  EXPECT_FALSE(viewer->IsOpen()) << "the viewer ignores Back: " << ScreenList();
  EXPECT_NE(Find<PhotoMultiView>(), nullptr) << "Back goes to the grid";
  BackToLiveTv();
}

// A "Not available" notice over the grid: the notice shows, then the grid
// answers OK again.
TEST_F(KeysAfterCloseTest, ANotAvailableNoticeOverTheGridLeavesItAnsweringKeys) {
  WriteStick("stick", {"a.jpg", "b.jpg", "c.jpg"});
  ASSERT_NE(Grid(), nullptr);
  Press("cc");
  Run(300);
  EXPECT_TRUE(Sees("Not available")) << SeenList();
  Run(3000);
  EXPECT_FALSE(Sees("Not available"));
  Press("ok");
  Run(2000);
  EXPECT_NE(Find<PhotoSingleView>(), nullptr) << "the grid ignores OK: " << ScreenList();
  BackToLiveTv();
}

// A notice over a dialog of live TV: the dialog gets the keys back and goes
// by its own time-out.
TEST_F(KeysAfterCloseTest, ANoticeOverADialogLeavesItAnsweringKeysAndTimingOut) {
  for (const char* key : {"input", "info"}) {
    SCOPED_TRACE(key);
    Press(key);
    Run(300);
    const std::vector<apptest::OpenScreen> before = Screens();
    ASSERT_FALSE(before.empty());
    const std::string dialog = before.back().cls;
    Press("pip");
    Run(300);
    EXPECT_TRUE(Sees("Not available")) << SeenList();
    Run(2000);
    EXPECT_FALSE(Sees("Not available"));
    Run(20000);
    for (const apptest::OpenScreen& s : Screens()) EXPECT_NE(s.cls, dialog) << "the dialog stays for good";
    EXPECT_TRUE(MenuKeyAnswers()) << ScreenList();
  }
}

// "No signal" raised while the question of a plugged stick is open over an
// input without signal: the notice stays at the foot, and the question
// keeps its keys (Exit, Back, No) and its own time-out, whichever answers.
TEST_F(KeysAfterCloseTest, ANoSignalNoticeOverAQuestionLeavesItItsKeysAndTimeOut) {
  const char* question = "Open the media player?";
  const std::vector<std::vector<const char*>> answers = {{"exit"}, {"back"}, {"right", "ok"}, {}};
  for (const std::vector<const char*>& keys : answers) {
    SCOPED_TRACE(keys.empty() ? "time-out" : keys.back());
    if (&keys != &answers.front()) StartAfresh();
    Press("input");
    Press("down", 2);
    Press("ok");
    Run(3000);
    ASSERT_TRUE(Sees("No signal")) << SeenList();
    WriteStick("stick", {"a.jpg"});
    Plug("stick");
    Run(2000);
    ASSERT_TRUE(Sees(question)) << SeenList();
    // The set reports the input's signal lost again.
    auto* lost = kv::New<Structures::Message>();
    lost->Initialize(Constants::MSG_SHOW_MESSAGE, nullptr, Constants::DirectMsgTypeSignalFailure);
    kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Dispatch(lost);
    Run(2000);
    EXPECT_TRUE(Sees(question)) << SeenList();
    EXPECT_TRUE(Sees("No signal")) << SeenList();
    for (const char* key : keys) {
      Press(key);
      Run(300);
    }
    Run(keys.empty() ? 61000 : 1000);
    EXPECT_FALSE(Sees(question)) << "the question kept no keys or time-out: " << ScreenList();
    EXPECT_TRUE(Sees("No signal")) << SeenList();
    EXPECT_TRUE(MenuKeyAnswers()) << ScreenList();
  }
}

// A channel's banner that comes after the viewer opened the quick menu: the
// quick menu keeps the keys (Back closes it) and goes by its time-out.
TEST_F(KeysAfterCloseTest, ALateBannerTakesNoKeysFromTheQuickMenu) {
  Press("ch+");
  Press("menu");
  Press("quick");
  Run(2000);
  Press("back");
  Run(500);
  Run(16000);
  EXPECT_EQ(Find<QuickMenu::QuickMenu>(), nullptr) << "the quick menu stays for good: " << ScreenList();
  EXPECT_TRUE(MenuKeyAnswers()) << ScreenList();
}

// "Not available" while the main menu is open would be drawn under it,
// across its rows: the menu stays whole and readable.
TEST_F(KeysAfterCloseTest, NoNoticeIsDrawnUnderTheOpenMenu) {
  Press("menu");
  Run(1500);
  const std::vector<std::string> faults = Core::TextFaults(SeenTexts());
  Press("pip");
  Run(300);
  EXPECT_FALSE(Sees("Not available")) << SeenList();
  EXPECT_EQ(Core::TextFaults(SeenTexts()), faults);
  Press("exit");
  Run(500);
  EXPECT_TRUE(MenuKeyAnswers());
}

// Over a slide show, the quick menu's background music page left by Exit or
// its time-out: the show and the keys come back to the viewer.
TEST_F(KeysAfterCloseTest, LeavingAQuickPageOverASlideShowGivesTheShowAndKeysBack) {
  ManyPictures("stick", 40);
  ASSERT_NE(Grid(), nullptr);
  Press("ok");
  Run(2000);
  kv::Persistent<PhotoSingleView> viewer = Find<PhotoSingleView>();
  ASSERT_NE(viewer, nullptr);
  for (const char* leave : {"exit", "timeout"}) {
    SCOPED_TRACE(leave);
    Press("ok");  // the show plays
    Run(3000);
    Press("quick");
    Run(300);
    // The quick menu opens again on the row last chosen.
    if (std::string(leave) == "exit") Press("down", 3);
    Press("ok");  // the background music page
    Run(300);
    ASSERT_NE(Find<QuickMenu::BgMusicMenu>(), nullptr) << ScreenList() << SeenList();
    if (std::string(leave) == "exit")
      Press("exit");
    else
      Run(16000);
    Run(1500);
    EXPECT_EQ(Find<QuickMenu::BgMusicMenu>(), nullptr);
    ASSERT_TRUE(viewer->IsOpen());
    EXPECT_TRUE(viewer->IsSlideshow);
    Press("ok");  // OK pauses the running show; the next round plays it again
    Run(500);
  }
  Press("back");
  Run(1000);
  EXPECT_FALSE(viewer->IsOpen()) << "the viewer ignores Back: " << ScreenList();
  BackToLiveTv();
}

// Over a playing movie: the mute bar, then the picture-size choice; once
// each goes, the player answers its keys (Back goes to the list).
TEST_F(KeysAfterCloseTest, AMuteBarOrThePictureSizeChoiceOverAMovieLeavesItAnsweringKeys) {
  kv::Persistent<MovieFullScreenPlay> player = PlayingMovie();
  ASSERT_NE(player, nullptr) << ScreenList();
  Press("pause");
  Run(500);
  Press("mute");
  Run(300);
  EXPECT_TRUE(Sees("Mute")) << SeenList();  // the mute bar's level
  Run(3000);
  EXPECT_FALSE(Sees("Mute"));
  Press("play");
  Run(1000);
  Press("size");
  Run(500);
  EXPECT_TRUE(Sees("Picture size")) << "the player ignores its keys after the mute bar: " << SeenList();
  Press("back");  // the choice closes
  Run(1000);
  ASSERT_TRUE(player->IsOpen());
  Press("back");
  Run(1500);
  EXPECT_FALSE(player->IsOpen()) << "the player ignores Back: " << ScreenList();
  EXPECT_NE(Find<MovieListView>(), nullptr) << ScreenList();
  BackToLiveTv();
}

// Stop in the movie player does what Back does: the list of movies again,
// no notice, and the list answers its keys.
TEST_F(KeysAfterCloseTest, StopInTheMoviePlayerGoesBackToTheList) {
  kv::Persistent<MovieFullScreenPlay> player = PlayingMovie();
  ASSERT_NE(player, nullptr) << ScreenList();
  Press("stop");
  Run(500);
  EXPECT_FALSE(Sees("Not available")) << SeenList();
  EXPECT_FALSE(player->IsOpen());
  EXPECT_NE(Find<MovieListView>(), nullptr) << "Stop leaves no screen: " << ScreenList();
  Press("exit");
  Run(1000);
  EXPECT_EQ(Find<MovieListView>(), nullptr) << "the list ignores Exit";
  BackToLiveTv();
}

// A notice over the Record dialog, and a late banner over it.
TEST_F(KeysAfterCloseTest, TheRecordDialogGetsTheKeysBackAfterANoticeOrALateBanner) {
  for (bool late : {false, true}) {
    SCOPED_TRACE(late ? "late banner" : "notice");
    if (late) {
      Press("ch+");
      Press("fav");
    }
    Press("record");
    Run(300);
    ASSERT_FALSE(Screens().empty());
    const std::string dialog = Screens().back().cls;
    if (late) {
      Run(2000);
      Press("back");  // the dialog's Back: it closes
    } else {
      Press("pip");
      Run(300);
      EXPECT_TRUE(Sees("Not available")) << SeenList();
    }
    Run(20000);
    for (const apptest::OpenScreen& s : Screens()) EXPECT_NE(s.cls, dialog) << "the dialog stays for good";
    EXPECT_TRUE(MenuKeyAnswers()) << ScreenList();
  }
}

// The widgets application opened and closed by its key: live TV answers as
// before it opened (Info, ch+ with its banner, the guide).
TEST_F(KeysAfterCloseTest, LiveTvAnswersAsBeforeOnceTheWidgetsApplicationClosed) {
  Run(1000);
  Press("widgets");
  Run(1000);
  Press("widgets");
  Run(2000);
  Press("info");
  Run(500);
  EXPECT_FALSE(Screens().empty()) << "Info shows nothing";
  Press("exit");
  Run(500);
  Press("ch+");
  Run(3000);
  bool banner = false;
  for (const apptest::OpenScreen& s : Screens()) banner |= s.cls == "NonMenuSystem::InfoBanner";
  EXPECT_TRUE(banner) << "ch+ without its banner: " << ScreenList();
  Press("exit");
  Run(500);
  Press("guide");
  Run(1000);
  EXPECT_FALSE(Sees("Not available")) << SeenList();
  EXPECT_NE(Find<Channels::FullEPGDialog>(), nullptr) << ScreenList();
}

// On a locked channel after the widgets application: the PIN prompt.
TEST_F(KeysAfterCloseTest, ALockedChannelAsksForThePinOnceTheWidgetsApplicationClosed) {
  Run(1000);
  Nms()->OpenWithValue(KV_LATE_CLASS("Channels::ChannelLockDialog"), 0);
  Run(300);
  Press("down");
  Press("ok");
  Run(300);
  Press("exit");
  Run(500);
  Press("widgets");
  Run(1000);
  Press("widgets");
  Run(2000);
  Press("ch+");
  Run(3000);
  bool prompt = false;
  for (const apptest::OpenScreen& s : Screens()) prompt |= s.cls == "ParentalLocks::ChannelLockEnterPin";
  EXPECT_TRUE(prompt) << ScreenList() << SeenList();
}

}  // namespace
}  // namespace playertest
