// What the media browser and players draw, as the viewer sees it: no screen
// of live TV over the browser's header, no part of a screen over another's
// texts. Reached by keys through the GUI loop with a real stick; each looks
// at the texts on screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player_fixture.h"
#include "units/MediaPlayer/ListViews.h"
#include "units/MediaPlayer/PhotoMultiView.h"

namespace playertest {
namespace {

using namespace MediaPlayer;

class MediaLayoutTest : public PlayerTest {
 protected:
  // The texts of the picture that a screen of class `screen` holds.
  std::vector<Core::SeenText> TextsOf(const std::string& screen) {
    std::vector<Core::SeenText> out;
    for (Core::SeenText& t : SeenTexts())
      if (t.where.find("< " + screen + " <") != std::string::npos) out.push_back(t);
    return out;
  }
};

// Live TV's banner comes up on the way back from a browser. The ways a
// person takes back into the media player at once (the stick's question,
// the menu) take it away: the browser's header shows whole.
TEST_F(MediaLayoutTest, TheWaysBackIntoTheMediaPlayerLeaveNoBannerOverTheHeader) {
  WriteStick("stick", {"Photos/", "Photos/a.jpg", "a.jpg", "a.wav"});
  int32_t stick = Plug("stick");
  Run(1500);
  Press("ok");  // Yes, then Photo: the grid
  Run(1000);
  Press("ok");
  Run(2000);
  ASSERT_NE(Find<PhotoMultiView>(), nullptr);
  for (const char* road : {"question", "menu"}) {
    SCOPED_TRACE(road);
    Press("exit");
    Run(500);
    ASSERT_FALSE(TextsOf("NonMenuSystem::InfoBanner").empty()) << "the banner of the way back";
    if (std::string(road) == "question") {
      psl::Unplug(stick);
      Settle();
      Run(200);
      stick = Plug("stick");
      Run(1000);
      Press("ok");
      Run(300);
      Press("ok");  // Photo
    } else {
      MenuMediaEntry(1);  // Music
    }
    Run(1000);
    EXPECT_TRUE(TextsOf("NonMenuSystem::InfoBanner").empty()) << SeenList();
    EXPECT_TRUE(Sees("Sort: File name")) << SeenList();
  }
}

// Display hides the music player's banner and shows it again.
TEST_F(MediaLayoutTest, DisplayHidesAndShowsTheMusicBanner) {
  WriteStick("stick", {});
  media_writer::WriteWav(StickDir("stick") + "/a.wav", 30);
  Plug("stick");
  Run(1500);
  Press("exit");
  Run(300);
  ASSERT_NE(OpenBrowser<MusicListView>(), nullptr);
  Press("ok");
  Run(1500);
  ASSERT_TRUE(Sees("Title: a.wav")) << SeenList();
  Press("info");
  Run(200);
  EXPECT_TRUE(TextsOf("MediaPlayer::MusicFullViewBanner").empty()) << SeenList();
  Press("info");
  Run(200);
  EXPECT_TRUE(Sees("Title: a.wav")) << SeenList();
}

}  // namespace
}  // namespace playertest
