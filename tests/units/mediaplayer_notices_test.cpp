// The bars and texts the media browser and players show for what they
// cannot do or what the user changed: a folder without media of the
// screen's kind, the volume and mute keys, a song or movie that cannot be
// played. Driven by keys through the GUI loop on real sticks; each checks
// the texts on screen a moment later.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "picture_watch.h"
#include "player_fixture.h"
#include "units/MediaPlayer/FileSize.h"
#include "units/MediaPlayer/ListViews.h"
#include "units/MediaPlayer/PhotoMultiView.h"
#include "units/MediaPlayer/PhotoSingleView.h"
#include "units/MediaPlayer/Players.h"
#include "units/MediaPlayer/SourceSelect.h"

namespace playertest {
namespace {

using namespace MediaPlayer;

class BrowseNoticeTest : public PlayerTest {
 protected:
  // Random bytes under a name the service plays by.
  void WriteNoise(const std::string& stick, const std::string& name, size_t bytes) {
    std::mt19937 random(7);
    std::vector<uint8_t> noise(bytes);
    for (uint8_t& b : noise) b = static_cast<uint8_t>(random());
    media_writer::WriteBytes(StickDir(stick) + "/" + name, noise);
  }
  static constexpr const char* kNoMedia = "No applicable media files";
  static constexpr const char* kUnsupported = "Unsupported file";
  static constexpr const char* kRemoved = "The device was removed";
  static constexpr const char* kNoDevices = "No devices connected";
};

TEST_F(BrowseNoticeTest, AFolderWithoutMediaOfTheScreensKindSaysSoForTwoSeconds) {
  WriteStick("stick", {"Empty/", "Photos/", "Photos/x.jpg", "a.jpg", "b.jpg", "c.wav"});
  Plug("stick");
  // The question the stick raises, Yes, Photo: the grid; the empty folder
  // is its first cell.
  Run(1500);
  Press("ok");
  Run(1500);
  Press("ok");
  Run(3000);
  auto* grid = Find<PhotoMultiView>();
  ASSERT_NE(grid, nullptr);
  ASSERT_TRUE(Sees("1/4")) << "the status line counts the top folder";
  ASSERT_FALSE(Sees(kNoMedia));
  Press("ok");
  Run(500);
  EXPECT_TRUE(Sees(kNoMedia));
  EXPECT_FALSE(Sees("1/4")) << "the empty folder keeps the top folder's count";
  EXPECT_FALSE(Sees("Empty/")) << "nor its first item";
  Run(1000);
  EXPECT_TRUE(Sees(kNoMedia));
  Run(1000);
  EXPECT_FALSE(Sees(kNoMedia));
  // Back: the top folder again, the next key moves the grid.
  Press("back");
  Run(500);
  EXPECT_TRUE(Sees("1/4"));
  Press("right");
  Run(300);
  EXPECT_TRUE(Sees("2/4"));
  Press("exit");
  Run(500);
  // The music list: a folder of photos holds no songs.
  Bridge()->Reset();
  auto* music = OpenBrowser<MusicListView>();
  ASSERT_NE(music, nullptr);
  Press("down");  // Photos
  Press("ok");
  Run(500);
  EXPECT_TRUE(Sees(kNoMedia));
  Run(2000);
  EXPECT_FALSE(Sees(kNoMedia));
}

// A folder with nothing to list, beside others (empty, or holding only a
// link to a folder): the status line is its own, not its parent's focused
// item and count, and the bar says there is nothing to show.
TEST_F(BrowseNoticeTest, AFolderWithNothingToListHasItsOwnStatusLine) {
  WriteStick("stick", {"Albums/", "Albums/x.jpg", "Blank/", "Loop/", "a.jpg", "b.jpg", "c.jpg"});
  std::filesystem::create_directory_symlink("..", StickDir("stick") + "/Loop/up");
  Plug("stick");
  Run(1500);
  Press("ok");  // Yes to the stick's question: the media kind menu
  Run(1500);
  Press("ok");  // Photo: the grid
  Run(3000);
  ASSERT_NE(Find<PhotoMultiView>(), nullptr);
  ASSERT_TRUE(Sees("1/6")) << SeenList();
  ASSERT_TRUE(Sees("Albums")) << SeenList();
  for (int cell : {1, 2}) {
    SCOPED_TRACE(cell);
    Press("right", cell);
    Run(300);
    ASSERT_TRUE(Sees(std::to_string(cell + 1) + "/6")) << SeenList();
    Press("ok");
    Run(700);
    EXPECT_TRUE(Sees(kNoMedia)) << SeenList();
    Run(1300);
    EXPECT_FALSE(Sees("/6")) << "the parent's count stays\n" << SeenList();
    EXPECT_FALSE(Sees("Albums")) << "the parent's first item stays\n" << SeenList();
    Press("back");
    Run(1000);
    EXPECT_TRUE(Sees("1/6")) << SeenList();
  }
}

TEST_F(BrowseNoticeTest, VolumeAndMuteInEveryBrowseScreenShowTheirText) {
  WriteStick("stick", {"a.jpg", "a.wav", "a.avi"});
  Plug("stick");
  const kv::Class* screens[] = {&PhotoMultiView::StaticClass(), &PhotoListView::StaticClass(),
                                &MusicListView::StaticClass(), &MovieListView::StaticClass()};
  for (const kv::Class* cls : screens) {
    SCOPED_TRACE(cls->name);
    Bridge()->Reset();
    ASSERT_NE(OpenBrowser(cls), nullptr);
    const int32_t volume = W()->GetVolume();
    Press("vol+");
    Run(200);
    ASSERT_EQ(W()->GetVolume(), volume + 1);
    EXPECT_TRUE(Sees("Volume " + std::to_string(volume + 1))) << SeenList();
    Run(2000);
    EXPECT_FALSE(Sees("Volume")) << "gone after two seconds";
    Press("mute");
    Run(200);
    EXPECT_TRUE(Sees("Mute"));
    Press("mute");
    Run(200);
    EXPECT_FALSE(Sees("Mute"));
    Press("exit");
    Run(500);
  }
}

TEST_F(BrowseNoticeTest, ASongOrMovieThatCannotBePlayedSaysUnsupportedFile) {
  WriteStick("stick", {"a.wav", "c.wav", "d.avi"});
  WriteNoise("stick", "broken.mp3", 20000);
  WriteNoise("stick", "broken.mp4", 20000);
  Plug("stick");
  auto* music = OpenBrowser<MusicListView>();
  ASSERT_NE(music, nullptr);
  Press("down");  // broken.mp3
  Press("ok");
  Run(300);
  ASSERT_NE(Find<MusicFullScreenPlay>(), nullptr);
  Run(500);
  EXPECT_TRUE(Sees(kUnsupported)) << SeenList();
  EXPECT_FALSE(Logged("not on a medium"));
  Press("exit");
  Run(500);
  Bridge()->Reset();
  auto* movies = OpenBrowser<MovieListView>();
  ASSERT_NE(movies, nullptr);
  Press("ok");  // broken.mp4
  Run(300);
  ASSERT_NE(Find<MovieFullScreenPlay>(), nullptr);
  Run(500);
  EXPECT_TRUE(Sees(kUnsupported)) << SeenList();
  Press("exit");
  Run(500);
}

// The music list plays the focused song as a preview: a song that cannot be
// played says so half a second after the set reports it, and a good one says
// nothing.
TEST_F(BrowseNoticeTest, TheMusicListsPreviewOfABrokenSongSaysUnsupportedFile) {
  WriteStick("stick", {"a.wav"});
  WriteNoise("stick", "broken.mp3", 20000);
  Plug("stick");
  auto* music = OpenBrowser<MusicListView>();
  ASSERT_NE(music, nullptr);
  Run(1500);
  EXPECT_FALSE(Sees(kUnsupported)) << SeenList();
  Press("down");  // broken.mp3: its preview starts 500 ms later
  Run(1300);
  EXPECT_TRUE(Sees(kUnsupported)) << SeenList();
  EXPECT_NE(Find<MusicListView>(), nullptr) << "the list stays";
  // The quick menu opened over the notice, or before the preview fails: the
  // list's notice would be drawn under it, so it goes, or does not come;
  // the list answers again after.
  const auto quickMenuWithoutNotice = [&](int32_t openFor, int32_t closedFor) {
    Press("quick");
    Run(openFor);
    EXPECT_TRUE(Sees("Quick menu")) << SeenList();
    EXPECT_FALSE(Sees(kUnsupported)) << SeenList();
    Press("quick");
    Run(closedFor);
    ASSERT_FALSE(Sees("Quick menu")) << SeenList();
  };
  quickMenuWithoutNotice(300, 500);
  Press("up");
  Run(2500);
  ASSERT_FALSE(Sees(kUnsupported)) << SeenList();
  Press("down");
  quickMenuWithoutNotice(1300, 2500);
  Press("up");
  Run(1300);
  Press("down");
  Run(1300);
  EXPECT_TRUE(Sees(kUnsupported)) << SeenList();
}

// An unplayable song or movie is named on the banner under its bar for two
// seconds, whether OK chose it or the item before it ended; then the next
// item plays, and after the last item the list ends. Random bytes of
// several seeds and sizes, as the first, a middle and the last item.
class UnplayableItemTest : public BrowseNoticeTest {
 protected:
  struct Kind {
    const kv::Class* list;
    const kv::Class* player;
    std::string broken;  // the name of the random bytes
    std::string good;    // the extension of the playable files
  };
  static std::vector<Kind> Kinds() {
    return {{&MovieListView::StaticClass(), &MovieFullScreenPlay::StaticClass(), "x.mp4", ".avi"},
            {&MusicListView::StaticClass(), &MusicFullScreenPlay::StaticClass(), "x.mp3", ".wav"}};
  }
  // Writes `names` to a new stick (the broken one as `bytes` random bytes
  // of `seed`, the playable ones of `seconds`), plugs it and opens the
  // kind's list on it with the focus on row `row`, then OK.
  void PlayFrom(const Kind& kind, const std::vector<std::string>& names, const std::vector<int>& seconds, int row,
                uint32_t seed, size_t bytes) {
    const std::string stick = "stick" + std::to_string(seed);
    for (size_t i = 0; i < names.size(); ++i) {
      const std::string path = StickDir(stick) + "/" + names[i];
      if (names[i] == kind.broken) {
        std::mt19937 random(seed);
        std::vector<uint8_t> noise(bytes);
        for (uint8_t& b : noise) b = static_cast<uint8_t>(random());
        media_writer::WriteBytes(path, noise);
      } else if (kind.good == ".avi") {
        media_writer::WriteMovie(path, seconds[i], 64, 48, 120, 100, 160);
      } else {
        media_writer::WriteWav(path, seconds[i]);
      }
    }
    stick_ = Plug(stick);
    Run(1500);
    Press("exit");  // not now, to the stick's question
    Run(300);
    Bridge()->Reset();
    ASSERT_NE(OpenBrowser(kind.list), nullptr);
    Press("down", row);
    Press("ok");
    Settle();
    ASSERT_NE(OpenScreenOf(kind.player), nullptr);
  }
  void Unplug() {
    Press("exit");
    Run(500);
    psl::Unplug(stick_);
    Settle();
  }
  int32_t stick_ = 0;
};

// Chosen first, the banner names it and half a second later the bar comes
// for two seconds; then the next item plays. The bar is the player's own
// child: with the quick menu opened over the player, at once or once the
// bar is up, it would be drawn under the quick menu, so it shows nothing
// there, and the next item still plays after its time.
TEST_F(UnplayableItemTest, ChosenFirstItTheBarNamesItThenTheNextPlays) {
  for (const Kind& kind : Kinds())
    for (const int quickAt : {-1, 0, 800}) {
      SCOPED_TRACE(kind.broken + " quick menu at " + std::to_string(quickAt));
      const std::string b = "b" + kind.good;
      Kind first = kind;
      first.broken = "a" + kind.broken;
      PlayFrom(first, {first.broken, b}, {0, 30}, 0, 3 + static_cast<uint32_t>(quickAt + 1), 30000);
      if (quickAt < 0) {
        Run(300);
        EXPECT_TRUE(Sees(first.broken)) << SeenList();
        EXPECT_FALSE(Sees(kUnsupported)) << SeenList();
        Run(700);
        EXPECT_TRUE(Sees(kUnsupported)) << SeenList();
        Run(1400);
        EXPECT_TRUE(Sees(kUnsupported)) << SeenList();
        Run(800);
      } else {
        Run(quickAt);
        EXPECT_EQ(Sees(kUnsupported), quickAt > 500) << SeenList();
        Press("quick");
        Run(1000);
        EXPECT_TRUE(Sees("Quick menu")) << SeenList();
        EXPECT_FALSE(Sees(kUnsupported)) << SeenList();
        Run(1800);
        Press("quick");
        Run(300);
        EXPECT_FALSE(Sees("Quick menu")) << SeenList();
      }
      EXPECT_FALSE(Sees(kUnsupported)) << SeenList();
      EXPECT_TRUE(Sees(b)) << SeenList();
      Unplug();
    }
}

TEST_F(UnplayableItemTest, ReachedInTheMiddleTheListStopsAtItThenGoesOn) {
  const std::pair<uint32_t, size_t> noises[] = {{7, 30000}, {11, 1500}, {29, 250000}};
  for (const Kind& kind : Kinds())
    for (const auto& [seed, bytes] : noises) {
      SCOPED_TRACE(kind.broken + " seed " + std::to_string(seed));
      const std::string a = "a" + kind.good, c = "z" + kind.good;
      PlayFrom(kind, {a, kind.broken, c}, {2, 0, 30}, 0, seed, bytes);
      // The first ends after 2 s: the banner names the file that cannot be
      // played, and half a second later the bar comes.
      Run(2300);
      EXPECT_TRUE(Sees(kind.broken)) << SeenList();
      EXPECT_FALSE(Sees(c)) << SeenList();
      Run(500);
      EXPECT_TRUE(Sees(kUnsupported)) << SeenList();
      EXPECT_FALSE(Sees(c)) << SeenList();
      Run(1500);
      EXPECT_TRUE(Sees(kUnsupported)) << "the bar stays two seconds\n" << SeenList();
      EXPECT_FALSE(Sees(c)) << SeenList();
      Run(500);
      EXPECT_FALSE(Sees(kUnsupported)) << SeenList();
      EXPECT_TRUE(Sees(c)) << SeenList();
      Run(1500);
      EXPECT_FALSE(Sees(kUnsupported)) << "the bar comes back\n" << SeenList();
      Unplug();
    }
}

TEST_F(UnplayableItemTest, ReachedLastTheBarNamesItAndTheListEnds) {
  for (const Kind& kind : Kinds()) {
    SCOPED_TRACE(kind.broken);
    const std::string a = "a" + kind.good, b = "b" + kind.good;
    const std::string broken = "y" + kind.broken;
    Kind last = kind;
    last.broken = broken;
    PlayFrom(last, {a, b, broken}, {2, 2, 0}, 1, 17, 64000);
    Run(2300);
    EXPECT_TRUE(Sees(broken)) << SeenList();
    Run(500);
    EXPECT_TRUE(Sees(kUnsupported)) << SeenList();
    Run(2000);
    EXPECT_FALSE(Sees(kUnsupported)) << SeenList();
    // No repeat: the list has ended, the player goes back to the list
    // (music at once, a movie ten seconds later) and plays nothing again.
    Run(10500);
    EXPECT_EQ(OpenScreenOf(kind.player), nullptr) << SeenList();
    EXPECT_NE(OpenScreenOf(kind.list), nullptr);
    EXPECT_FALSE(Sees(kUnsupported)) << SeenList();
    Unplug();
  }
}

// An unplayable movie chosen after the preview of another played in the
// list's window: the player shows black, not the preview's last frame.
TEST_F(BrowseNoticeTest, AnUnplayableMovieShowsBlackNotTheLastPreview) {
  apptest::PictureWatch picture(Tv());
  auto lit = [&] { return picture.Lit(); };
  WriteNoise("stick", "broken.mp4", 30000);
  media_writer::WriteMovie(StickDir("stick") + "/ok.avi", 30, 64, 48, 120, 100, 160);
  Plug("stick");
  Run(1500);
  Press("exit");  // not now, to the stick's question
  Run(300);
  ASSERT_NE(OpenBrowser<MovieListView>(), nullptr);
  Press("down");
  Run(2000);
  ASSERT_GT(lit(), 1000u) << "the preview of ok.avi plays in the list's window";
  Press("up");
  Run(1500);
  Press("ok");
  Run(400);
  ASSERT_NE(Find<MovieFullScreenPlay>(), nullptr);
  EXPECT_EQ(lit(), 0u) << "a picture stays over the movie that cannot be played";
  Run(1000);
  EXPECT_TRUE(Sees(kUnsupported)) << SeenList();
  EXPECT_EQ(lit(), 0u);
  Press("exit");
  Run(500);
}

// A movie or a song that cannot be played is skipped after its bar: the
// banner then names the next file and shows that file's size, not the
// broken one's.
TEST_F(BrowseNoticeTest, AfterASkippedFileTheBannerNamesTheNextWithItsSize) {
  WriteNoise("stick", "a broken.mp4", 20000);
  WriteNoise("stick", "a broken.mp3", 20000);
  media_writer::WriteMovie(StickDir("stick") + "/b.avi", 30, 64, 48, 120, 100, 160);
  media_writer::WriteWav(StickDir("stick") + "/b.wav", 30);
  Plug("stick");
  Run(1500);
  Press("exit");  // not now, to the stick's question
  Run(300);
  const kv::Class* screens[] = {&MovieListView::StaticClass(), &MusicListView::StaticClass()};
  for (const kv::Class* cls : screens) {
    const std::string next = cls == screens[0] ? "b.avi" : "b.wav";
    SCOPED_TRACE(next);
    const std::string size = FileSizeText(int32_t(std::filesystem::file_size(StickDir("stick") + "/" + next))).ToUtf8();
    ASSERT_NE(size, "Size: 20,000 bytes");
    Bridge()->Reset();
    ASSERT_NE(OpenBrowser(cls), nullptr);
    Press("ok");  // the broken file
    Run(800);
    ASSERT_TRUE(Sees(kUnsupported)) << SeenList();
    // The bar goes after 2 s and the next file starts with the banner up.
    Run(3000);
    EXPECT_FALSE(Sees(kUnsupported));
    EXPECT_TRUE(Sees(next)) << SeenList();
    EXPECT_TRUE(Sees(size)) << SeenList();
    EXPECT_FALSE(Sees("Size: 20,000 bytes")) << SeenList();
    Press("exit");
    Run(500);
  }
}

// Names that are not plain ASCII: their sizes show in the grid, the viewer
// and the movie list, a movie of such a name is deleted, and a name whose
// bytes are not UTF-8 opens in the viewer.
TEST_F(BrowseNoticeTest, FilesOfAnyNameShowTheirSizeOpenAndAreDeleted) {
  const std::string cafe = "caf\xC3\xA9.jpg", photo = "\xD1\x84\xD0\xBE\xD1\x82\xD0\xBE.jpg";
  const std::string raw = "\xFF\xFEraw.jpg", film = "\xD1\x84\xD0\xB8\xD0\xBB\xD1\x8C\xD0\xBC.avi";
  for (const std::string& name : {cafe, photo, raw})
    media_writer::WriteBytes(StickDir("stick") + "/" + name, media_writer::Jpeg(320, 240, 0x204080, 0xC0E0FF));
  media_writer::WriteMovie(StickDir("stick") + "/" + film, 1, 64, 48, 120, 100, 160);
  Plug("stick");
  auto* grid = OpenBrowser<PhotoMultiView>();
  ASSERT_NE(grid, nullptr);
  // Three cells, in the stick's order; each shows its size.
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    if (i) Press("right");
    Run(500);
    EXPECT_TRUE(Sees("Size: ")) << SeenList();
    Press("ok");
    Run(1500);
    auto* viewer = Find<PhotoSingleView>();
    ASSERT_NE(viewer, nullptr);
    EXPECT_FALSE(WaitingShown()) << "the viewer waits for ever";
    EXPECT_TRUE(Sees("Resolution: 320 x 240")) << SeenList();
    EXPECT_TRUE(Sees("Size: ")) << SeenList();
    Press("back");
    Run(1000);
    ASSERT_NE(Find<PhotoMultiView>(), nullptr);
  }
  Press("exit");
  Run(500);
  Bridge()->Reset();
  auto* movies = OpenBrowser<MovieListView>();
  ASSERT_NE(movies, nullptr);
  Run(500);
  EXPECT_TRUE(Sees("Size: ")) << SeenList();
  Press("red");
  Run(300);
  Press("left");
  Press("ok");
  Run(1000);
  EXPECT_FALSE(std::filesystem::exists(StickDir("stick") + "/" + film)) << "the movie was not deleted";
  EXPECT_TRUE(Sees(kNoMedia) || !Sees("Size: "));
  // The movie had no companion file: looking for one is no failure.
  EXPECT_FALSE(Logged("XPM_Get_File_Size")) << "a missing companion reported as an error";
  EXPECT_FALSE(Logged("XPM_Delete_File")) << "a missing companion reported as an error";
}

// A stick pulled from the grid, the viewer or a player: the screen closes,
// the TV source comes back, and "The device was removed" stays readable over
// the way back to TV for its time. Each screen reached as a person does: the
// stick plugged, Yes to its question, a kind in the media kind menu, OK.
TEST_F(BrowseNoticeTest, AStickPulledFromAMediaScreenSaysSoOverTheWayBackToTv) {
  WriteStick("stick", {"a.jpg", "b.jpg"});
  media_writer::WriteWav(StickDir("stick") + "/a.wav", 30);
  media_writer::WriteMovie(StickDir("stick") + "/a.avi", 30, 64, 48, 120, 100, 160);
  struct Case {
    const kv::Class* cls;
    int kindRow;  // rows below Photo in the media kind menu
    bool play;    // OK on the first item
  };
  const Case cases[] = {{&PhotoMultiView::StaticClass(), 0, false},
                        {&PhotoSingleView::StaticClass(), 0, true},
                        {&MovieFullScreenPlay::StaticClass(), 1, true},
                        {&MusicFullScreenPlay::StaticClass(), 2, true}};
  const int32_t tv = W()->GetCurrentSource(0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cls->name);
    const int32_t stick = Plug("stick");
    Run(1500);
    Press("ok");  // Yes: the media kind menu
    Run(1000);
    Press("down", c.kindRow);
    Press("ok");
    Run(3000);
    if (c.play) {
      Press("ok");
      Run(1500);
    }
    ASSERT_NE(OpenScreenOf(c.cls), nullptr) << SeenList();
    psl::Unplug(stick);
    Settle();
    Run(500);
    EXPECT_EQ(OpenScreenOf(c.cls), nullptr);
    EXPECT_EQ(W()->GetCurrentSource(0), tv);
    EXPECT_TRUE(Sees(kRemoved)) << SeenList();
    Run(2500);
    EXPECT_TRUE(Sees(kRemoved)) << SeenList();
    Run(10000);
    EXPECT_FALSE(Sees(kRemoved)) << "the notice stays for its time only";
    Press("exit");
    Run(500);
  }
}

// The wallpaper page's Select with no stick: the page gives the TV source
// back and says "No devices connected", readable over the way back to TV.
TEST_F(BrowseNoticeTest, SelectOnTheWallpaperPageWithoutAStickSaysNoDevicesOverTheWayBackToTv) {
  const int32_t tv = W()->GetCurrentSource(0);
  kv::Persistent<SubSystem::State> state = kv::New<SubSystem::State>();
  state->Class = KV_LATE_CLASS("MediaPlayer::PhotoFrameSetup");
  state->PrevState = KV_LATE_CLASS("MenuSystem::PreferencesMenu");
  Nms()->ChangeState(state);
  Settle();
  Run(500);
  ASSERT_EQ(W()->GetCurrentSource(0), SkinBin::Wrapper::GetExtSourceId());
  Press("ok");  // Select, the first row
  Settle();
  Run(500);
  EXPECT_EQ(W()->GetCurrentSource(0), tv);
  EXPECT_TRUE(Sees(kNoDevices)) << SeenList();
  Run(2500);
  EXPECT_TRUE(Sees(kNoDevices)) << SeenList();
  Run(10000);
  EXPECT_FALSE(Sees(kNoDevices));
  // The next key answers: the menu opens.
  Press("menu");
  Run(500);
  EXPECT_NE(Wm()->FindFormOf(KV_LATE_CLASS("MenuSystem::VidiMainMenu")), nullptr);
}

// The grid's status line holds a four-digit position and count whole.
TEST_F(BrowseNoticeTest, TheGridShowsAFourDigitPositionWhole) {
  ManyPictures("many", 1000);
  Plug("many");
  Run(1500);
  Press("exit");  // not now, to the stick's question
  Run(300);
  ASSERT_NE(OpenBrowser<PhotoMultiView>(), nullptr);
  EXPECT_TRUE(Sees("1/1000")) << SeenList();
  Press("right", 100);
  Run(1000);
  EXPECT_TRUE(Sees("101/1000")) << SeenList();
}

}  // namespace
}  // namespace playertest
