// The photo viewer through the running system: opened by the browser's state
// change on a stick of real photos, stepped and played by remote keys on the
// fake clock, with its banner, the background music, the quick menu's
// interval and the ways out when the stick goes.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "player_fixture.h"
#include "platform/psl/psl.h"
#include "units/Events/DMRStatusEvent.h"
#include "units/MediaPlayer/MediaPlayerDialogs.h"
#include "units/MediaPlayer/PhotoFullViewBanner.h"
#include "units/MediaPlayer/PhotoMultiView.h"
#include "units/MediaPlayer/SourceSelect.h"
#include "units/MediaPlayer/PhotoSingleView.h"
#include "units/MediaPlayer/SelectBGMusicDialog.h"
#include "units/NonMenuSystem/HelpBar.h"

namespace playertest {
namespace {

using MediaPlayer::PhotoFullViewBanner;
using MediaPlayer::PhotoSingleView;

// Solid pictures: red, green, blue (0xRRGGBB).
constexpr uint32_t kColours[3] = {0xE00000, 0x00E000, 0x0000E0};

class PhotoViewTest : public PlayerTest {
 protected:
  // A stick "photos" of red a.jpg, green b.jpg, blue c.jpg (800 x 600) and
  // music m.wav, n.wav in "Music".
  void PhotoStick(const std::vector<std::string>& extra = {}) {
    const char* names[3] = {"a.jpg", "b.jpg", "c.jpg"};
    for (int i = 0; i < 3; ++i)
      media_writer::WriteBytes(StickDir("photos") + "/" + names[i], media_writer::Jpeg(800, 600, kColours[i], kColours[i]));
    for (const std::string& f : extra) media_writer::WriteBytes(StickDir("photos") + "/" + f, {'n', 'o', 't', 'a'});
    WriteStick("photos", {"Music/", "Music/m.wav", "Music/n.wav"});
  }
  // The stick plugged and browsed, the viewer opened on folder row `index`
  // (row 0 is the Music folder).
  PhotoSingleView* View(int32_t index, const std::vector<std::string>& extra = {}) {
    // The viewer is reached through the browser here, not the question a new stick raises.
    W()->OnSetUSBSDAutoStart(0);
    PhotoStick(extra);
    Plug("photos");
    Browse(0, Media::MEDIA_TYPE_PICTURE);
    auto* v = OpenPlayer<PhotoSingleView>(&PhotoSingleView::StaticClass(), index);
    Run(100);
    Settle();
    return v;
  }
  // The colour of the picture above the dialogs' place,
  // each channel reduced to high or none.
  uint32_t Centre() {
    const uint32_t p = Osd().Row(120)[480];
    uint32_t out = 0;
    if ((p & 0xFF) > 0x80) out |= 0xE00000;
    if (((p >> 8) & 0xFF) > 0x80) out |= 0x00E000;
    if (((p >> 16) & 0xFF) > 0x80) out |= 0x0000E0;
    return out;
  }
  template <class T>
  T* FindOpen() {
    for (Primitives::KeyRoutingForm* f : OpenForms())
      if (auto* t = kv::Cast<T>(f)) return t;
    return nullptr;
  }
  std::string HelpText() {
    for (Primitives::KeyRoutingForm* f : OpenForms())
      if (auto* bar = kv::Cast<NonMenuSystem::HelpBar>(f)) return bar->HelpStringList.ToUtf8();
    return {};
  }
  // Lets `ms` pass in steps, so that decoding answers arrive in between.
  void Pass(int64_t ms) {
    for (int64_t t = 0; t < ms; t += 250) {
      Run(250);
      Settle();
    }
  }
  // The music of the stick's Music folder chosen as the quick menu's dialog does.
  void ChooseMusic() {
    Bridge()->RequestBgmBrowse(kv::String::FromUtf8("bgm://root"));
    Settle();
    Media::MediaItem* folder = Bridge()->GetBgmItem(0);
    ASSERT_NE(folder, nullptr);
    Bridge()->RequestBgmBrowse(folder->Uri);
    Settle();
    Media::MediaItem* song = Bridge()->GetBgmItem(0);
    ASSERT_NE(song, nullptr);
    Bridge()->SetBgmPlaylist(5, song);
  }
  // The message bars opened so far, by their trace lines.
  std::vector<std::string> MessageBars() {
    std::vector<std::string> bars;
    for (const std::string& line : Log().Lines())
      if (line.find(MessageTypeTrace()) != std::string::npos) bars.push_back(line.substr(line.find(MessageTypeTrace())));
    return bars;
  }
  size_t MusicPlaylists() {
    size_t n = 0;
    for (const std::string& c : Calls("PslMediaSetPlaylist"))
      if (c.find(", 7, 5)") != std::string::npos) ++n;
    return n;
  }
};

TEST_F(PhotoViewTest, OpensPausedOnTheChosenPhotoStepsAndShowsItsBanner) {
  kv::Persistent<PhotoSingleView> v = View(2);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->WinID, WinIDs::WIN_ID_PhotoSingleView);
  EXPECT_EQ(v->Layer, 1u);
  EXPECT_EQ(Centre(), kColours[1]) << "folder row 2 is b.jpg";
  EXPECT_EQ(v->Animator().OnGetState(), 2);
  EXPECT_FALSE(WaitingShown());
  EXPECT_EQ(HelpText(), "Previous/Next,Rotate,Slide show,Features,Back");
  PhotoFullViewBanner* banner = v->Banner();
  ASSERT_NE(banner, nullptr);
  EXPECT_TRUE(banner->IsVisible());
  EXPECT_EQ(banner->ResolutionText().OnGetString().ToUtf8(), "Resolution: 800 x 600");
  EXPECT_TRUE(banner->ResolutionText().IsVisible());
  EXPECT_EQ(banner->CounterText().OnGetString().ToUtf8(), "2 / 3");
  EXPECT_TRUE(banner->SizeText().IsVisible()) << "the file's size";
  EXPECT_NE(banner->SizeText().OnGetString().ToUtf8().find("bytes"), std::string::npos);
  EXPECT_TRUE(banner->SlideshowIcon().IsVisible());
  // The size text stands clear of the icons and of the counter it shares a line with.
  const kv::Rect size = banner->SizeText().Bounds();
  for (Views::Image* icon : {&banner->RepeatIcon(), &banner->SlideshowIcon(), &banner->MusicIcon()})
    EXPECT_FALSE(size.Intersects(icon->Bounds())) << "the size text covers an icon";
  const kv::Rect counter = banner->CounterText().Bounds();
  EXPECT_LT(counter.x1 + banner->CounterText().GetLayout().width, size.x1) << "the size text covers the counter";
  EXPECT_FALSE(size.Intersects(banner->ResolutionText().Bounds()));
  EXPECT_FALSE(banner->OnGetSlideshow());
  EXPECT_FALSE(banner->OnGetIsBGM());
  // Right and Left step; the end of the list going forward in single view leaves.
  Press("right");
  Pass(500);
  EXPECT_EQ(Centre(), kColours[2]);
  EXPECT_EQ(banner->CounterText().OnGetString().ToUtf8(), "3 / 3");
  Press("left");
  Pass(500);
  EXPECT_EQ(Centre(), kColours[1]);
  // Display hides the banner and the help bar, and shows them again.
  Press("info");
  EXPECT_FALSE(banner->IsVisible());
  EXPECT_EQ(HelpText(), "");
  Press("info");
  EXPECT_TRUE(banner->IsVisible());
  EXPECT_EQ(HelpText(), "Previous/Next,Rotate,Slide show,Features,Back");
  // The banner hides itself after its time-out, the help bar with it.
  Pass(61000);
  EXPECT_FALSE(banner->IsVisible());
  EXPECT_EQ(HelpText(), "");
  Press("right");
  Pass(500);
  Press("right");
  Pass(500);
  EXPECT_FALSE(v->IsOpen()) << "past the last photo the viewer leaves";
  EXPECT_EQ(BrowserStandIn::opened, 1);
}

TEST_F(PhotoViewTest, OkPlaysTheShowAtTheIntervalAndAQuickMenuIntervalTakesEffect) {
  W()->OnSetMM_IntervalTime(1);  // 5 s
  kv::Persistent<PhotoSingleView> v = View(1);
  ASSERT_EQ(Centre(), kColours[0]);
  Press("ok");
  Pass(250);
  EXPECT_TRUE(v->IsSlideshow);
  EXPECT_TRUE(v->Banner()->OnGetSlideshow());
  EXPECT_TRUE(W()->OnGetIsSlideshow());
  EXPECT_EQ(HelpText(), "Previous/Next,Rotate,Single view,Features,Back");
  Pass(4000);
  EXPECT_EQ(Centre(), kColours[0]) << "still the first photo before 5 s";
  Pass(1500);
  EXPECT_EQ(Centre(), kColours[1]) << "the next one after 5 s";
  // The quick menu stores 3 s, which the waiting picture has waited already.
  W()->OnSetMM_IntervalTime(0);
  Pass(250);
  EXPECT_EQ(Centre(), kColours[2]);
  // Repeat off: the last picture stays one more interval (3 s), then the viewer leaves.
  Pass(2250);
  EXPECT_TRUE(v->IsOpen());
  EXPECT_EQ(Centre(), kColours[2]);
  Pass(1000);
  EXPECT_FALSE(v->IsOpen());
  EXPECT_EQ(BrowserStandIn::opened, 1);
  EXPECT_FALSE(W()->OnGetIsSlideshow());
}

// During a show the next picture arrives decoded before its turn: the
// banner still describes the picture on the screen (resolution and size),
// and for a file that is no picture it shows no resolution and that file's size.
TEST_F(PhotoViewTest, TheBannerDescribesThePictureOnTheScreenDuringAShow) {
  W()->OnSetUSBSDAutoStart(0);
  W()->OnSetMM_IntervalTime(1);  // 5 s
  const std::string dir = StickDir("sizes");
  media_writer::WriteBytes(dir + "/a.jpg", media_writer::Jpeg(960, 540, kColours[0], kColours[0]));
  media_writer::WriteBytes(dir + "/b.jpg", media_writer::Jpeg(800, 450, kColours[1], kColours[1]));
  media_writer::WriteBytes(dir + "/c.jpg", media_writer::Jpeg(640, 360, kColours[2], kColours[2]));
  media_writer::WriteBytes(dir + "/d.jpg", {'n', 'o', 't', 'a'});
  Plug("sizes");
  Browse(0, Media::MEDIA_TYPE_PICTURE);
  kv::Persistent<PhotoSingleView> v = OpenPlayer<PhotoSingleView>(&PhotoSingleView::StaticClass(), 0);
  ASSERT_NE(v, nullptr);
  Pass(500);
  PhotoFullViewBanner* banner = v->Banner();
  ASSERT_NE(banner, nullptr);
  auto facts = [&] {
    return banner->ResolutionText().OnGetString().ToUtf8() + " | " + banner->SizeText().OnGetString().ToUtf8();
  };
  const std::string first = facts();
  EXPECT_EQ(banner->ResolutionText().OnGetString().ToUtf8(), "Resolution: 960 x 540");
  Press("ok");
  const uint32_t colours[3] = {kColours[0], kColours[1], kColours[2]};
  const char* resolutions[3] = {"Resolution: 960 x 540", "Resolution: 800 x 450", "Resolution: 640 x 360"};
  std::string sizes[3] = {first.substr(first.find(" | ") + 3), "", ""};
  for (int shown = 1; shown < 3; ++shown) {
    Pass(5000);
    ASSERT_EQ(Centre(), colours[shown]) << "picture " << shown;
    EXPECT_EQ(banner->ResolutionText().OnGetString().ToUtf8(), resolutions[shown]) << "picture " << shown;
    sizes[shown] = banner->SizeText().OnGetString().ToUtf8();
    EXPECT_NE(sizes[shown], sizes[shown - 1]) << "the size of the picture shown, not of the one before";
  }
  Pass(5000);
  EXPECT_EQ(banner->ResolutionText().OnGetString().ToUtf8(), "") << "no resolution for a file that is no picture";
  EXPECT_EQ(banner->SizeText().OnGetString().ToUtf8(), "Size: 4 bytes");
}

TEST_F(PhotoViewTest, AViewerOpenedDeepInALargeFolderBuildsOnlyTheRowItShows) {
  // Two sub-folders, then 200 photos; the viewer opens on the 150th photo
  // (folder row 151), which alone is larger and blue.
  W()->OnSetUSBSDAutoStart(0);
  std::vector<std::string> files = {"Sub1/", "Sub2/"};
  for (int i = 0; i < 200; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "p%03d.jpg", i);
    if (i != 149) files.emplace_back(name);
  }
  WriteStick("deep", files);
  media_writer::WriteBytes(StickDir("deep") + "/p149.jpg", media_writer::Jpeg(800, 600, kColours[2], kColours[2],
                                                media_writer::ExifBlock(1, "Acme", "Cam", "2023:07:14 18:02:33")));
  Plug("deep");
  Browse(0, Media::MEDIA_TYPE_PICTURE);
  ClearCallLog();
  kv::Persistent<PhotoSingleView> v = OpenPlayer<PhotoSingleView>(&PhotoSingleView::StaticClass(), 151);
  ASSERT_NE(v, nullptr);
  Pass(500);
  ASSERT_EQ(Centre(), kColours[2]) << "the 150th photo shows";
  std::vector<std::string> built = Calls("PslMediaConvertObject");
  for (const std::string& call : built)
    EXPECT_NE(call.find(", 151)"), std::string::npos) << "a row the viewer does not show was built: " << call;
  EXPECT_FALSE(built.empty());
  PhotoFullViewBanner* banner = v->Banner();
  ASSERT_NE(banner, nullptr);
  EXPECT_EQ(banner->CounterText().OnGetString().ToUtf8(), "150 / 200");
  EXPECT_EQ(banner->ResolutionText().OnGetString().ToUtf8(), "Resolution: 800 x 600");
  EXPECT_NE(banner->MetadataText().OnGetString().ToUtf8().find("2023"), std::string::npos) << "the photo's date";
  std::string bytes = std::to_string(std::filesystem::file_size(StickDir("deep") + "/p149.jpg"));
  for (size_t at = bytes.size(); at > 3; at -= 3) bytes.insert(at - 3, ",");
  EXPECT_EQ(banner->SizeText().OnGetString().ToUtf8(), "Size: " + bytes + " bytes");
  // The next photo's facts come the same way.
  ClearCallLog();
  Press("right");
  Pass(500);
  EXPECT_EQ(banner->CounterText().OnGetString().ToUtf8(), "151 / 200");
  EXPECT_EQ(banner->ResolutionText().OnGetString().ToUtf8(), "Resolution: 64 x 48");
  for (const std::string& call : Calls("PslMediaConvertObject"))
    EXPECT_NE(call.find(", 152)"), std::string::npos) << "a row the viewer does not show was built: " << call;
}

TEST_F(PhotoViewTest, FocusLostPausesTheShowAndRegainedResumesIt) {
  W()->OnSetMM_IntervalTime(0);  // 3 s
  W()->OnSetPhoto_Repeat(1);
  kv::Persistent<PhotoSingleView> v = View(1);
  Press("ok");
  Pass(250);
  EXPECT_EQ(v->Animator().OnGetState(), 11);
  // A dialog over the viewer takes the focus: the show pauses.
  kv::Persistent<SubSystem::State> state = kv::New<SubSystem::State>();
  state->Class = &MediaPlayer::DmsDeviceInfo::StaticClass();
  Nms()->ChangeState(state);
  Settle();
  EXPECT_EQ(v->Animator().OnGetState(), 2);
  // At most the picture already waiting comes; then the show stands.
  Pass(3500);
  const uint32_t behind = Centre();
  Pass(7000);
  EXPECT_EQ(Centre(), behind) << "paused behind the dialog";
  Press("back");
  Pass(250);
  EXPECT_EQ(v->Animator().OnGetState(), 11) << "resumed with the focus";
  Pass(3500);
  EXPECT_NE(Centre(), behind) << "the show goes on";
  // OK again stops the show.
  Press("ok");
  Pass(250);
  EXPECT_FALSE(v->IsSlideshow);
  EXPECT_EQ(v->Animator().OnGetState(), 2);
}

// Screens of the quick menu over the viewer put up their own help or none;
// Exit from any of them, with the banner still up, brings the viewer's
// help back with it.
TEST_F(PhotoViewTest, TheViewersHelpComesBackWhenTheQuickMenuScreensOverItAreLeft) {
  kv::Persistent<PhotoSingleView> v = View(1);
  ASSERT_NE(v, nullptr);
  const auto viewerHelpSeen = [this] { return Sees("Previous/Next") && Sees("Slide show") && Sees("Features"); };
  ASSERT_TRUE(viewerHelpSeen()) << SeenList();
  const std::vector<std::vector<const char*>> roads = {
      {"quick"},                                                // the quick menu
      {"quick", "down", "down", "down", "ok"},                  // its background music page
      {"quick", "down", "down", "down", "ok", "right", "down", "ok"}};  // the music selection
  for (const std::vector<const char*>& road : roads) {
    for (const char* key : road) Press(key);
    Pass(500);
    ASSERT_FALSE(v->IsFocused()) << road.size();
    Press("exit");
    Pass(500);
    ASSERT_TRUE(v->IsFocused()) << road.size();
    ASSERT_TRUE(v->Banner()->IsVisible()) << road.size();
    EXPECT_TRUE(viewerHelpSeen()) << road.size() << "\n" << SeenList();
  }
}

TEST_F(PhotoViewTest, MusicStartsWithTheShowWhenOnAndChosenAndComesBackAfterTheStickReturns) {
  W()->OnSetMM_IntervalTime(0);
  kv::Persistent<PhotoSingleView> v = View(1);
  ChooseMusic();
  ClearCallLog();
  // Music off: the show plays without it.
  Press("ok");
  Pass(250);
  EXPECT_FALSE(Bridge()->IsBgmPlaying());
  EXPECT_EQ(MusicPlaylists(), 0u);
  Press("ok");
  W()->OnSetBackgroundMusicOnOff(1);
  Press("ok");
  Pass(250);
  EXPECT_TRUE(Bridge()->IsBgmPlaying());
  EXPECT_EQ(MusicPlaylists(), 1u);
  EXPECT_TRUE(v->Banner()->OnGetIsBGM());
  // The stick is pulled: the viewer leaves with one message and the music stops.
  psl::Unplug(1);
  Settle();
  EXPECT_FALSE(v->IsOpen());
  EXPECT_EQ(MessageBars(), std::vector<std::string>{MessageTypeTrace() + "21"});
  EXPECT_FALSE(Bridge()->IsBgmPlaying()) << "the music is not left flagged as playing";
  // Plugged again and opened again: the newly chosen music plays with the show.
  Nms()->ClearAll();
  Settle();
  Plug("photos");
  Browse(0, Media::MEDIA_TYPE_PICTURE);
  v = OpenPlayer<PhotoSingleView>(&PhotoSingleView::StaticClass(), 1);
  Pass(250);
  ChooseMusic();
  ClearCallLog();
  Press("ok");
  Pass(250);
  EXPECT_TRUE(Bridge()->IsBgmPlaying());
  EXPECT_EQ(MusicPlaylists(), 1u) << "the music starts again";
}

TEST_F(PhotoViewTest, AStickPulledUnderTheMusicSelectionLeavesTheViewerWithOneMessage) {
  W()->OnSetMM_IntervalTime(0);
  W()->OnSetBackgroundMusicOnOff(1);
  kv::Persistent<PhotoSingleView> v = View(1);
  Press("ok");
  Pass(250);
  kv::Persistent<SubSystem::State> state = kv::New<SubSystem::State>();
  state->Class = &MediaPlayer::SelectBGMusicDialog::StaticClass();
  state->Param = SkinBin::UserRefInt::Make(0, Constants::MSG_FROM_QUICKMENU);
  kv::Persistent<MediaPlayer::SelectBGMusicDialog> d = kv::Cast<MediaPlayer::SelectBGMusicDialog>(Nms()->ChangeState(state));
  Pass(250);
  ASSERT_NE(d, nullptr);
  ASSERT_TRUE(d->IsOpen());
  ClearCallLog();
  psl::Unplug(1);
  Settle();
  EXPECT_FALSE(d->IsOpen());
  EXPECT_FALSE(v->IsOpen()) << "the viewer is not left on the removed stick";
  EXPECT_EQ(MessageBars(), std::vector<std::string>{MessageTypeTrace() + "21"});
  EXPECT_FALSE(Calls("XPM_SetSource").empty()) << "the last TV source comes back";
}

// Music chosen as a person does: the quick menu, its background music page,
// the selection dialog; once the menus are gone the viewer answers keys again
// and OK plays the show with that music.
TEST_F(PhotoViewTest, MusicChosenThroughTheQuickMenuLeavesTheViewerAnsweringKeys) {
  kv::Persistent<PhotoSingleView> v = View(1);
  ASSERT_NE(v, nullptr);
  Press("quick");
  Press("down", 3);
  Press("ok");  // the background music page
  Settle();
  Press("right");  // music on
  Press("down");
  Press("ok");  // the selection dialog
  Pass(500);
  ASSERT_TRUE(FindOpen<MediaPlayer::SelectBGMusicDialog>());
  Press("ok");  // into Music
  Pass(500);
  Press("ok");  // the first song
  Pass(500);
  EXPECT_FALSE(FindOpen<MediaPlayer::SelectBGMusicDialog>());
  Press("back");  // back to the quick menu
  Settle();
  Press("back");  // the quick menu closes
  Pass(500);
  ASSERT_TRUE(v->IsOpen());
  PhotoFullViewBanner* banner = v->Banner();
  ASSERT_NE(banner, nullptr);
  const bool shown = banner->IsVisible();
  Press("info");
  EXPECT_NE(banner->IsVisible(), shown) << "Display reaches the viewer";
  const size_t lists = MusicPlaylists();
  Press("ok");
  Pass(500);
  EXPECT_TRUE(banner->OnGetSlideshow()) << "OK plays the show";
  EXPECT_TRUE(Bridge()->IsBgmPlaying());
  EXPECT_GE(MusicPlaylists(), lists);
}

// The renderer's viewer: a home-network controller shows a picture of the
// stick, then another; the controller alone moves on (Left, Right and OK do
// nothing), Up still turns the picture; the controller's stop leaves the
// screen 3000 ms later, back to the TV source, unless a picture comes first.
TEST_F(PhotoViewTest, TheRendererViewerShowsTheControllersPicturesAndLeavesWhenItStops) {
  PhotoStick();
  Plug("photos");
  const int32_t tv = W()->GetCurrentSource(0);
  Bridge()->SetEnableDlna(3);  // as the renderer page switches it on
  ClearCallLog();
  ASSERT_EQ(psl::ControllerPlay(PSL_KIND_PICTURE, "/mnt/usb1/b.jpg", "Green"), PSL_OK);
  Pass(500);
  auto* viewer = kv::Cast<MediaPlayer::PhotoSingleViewDMR>(Wm()->FindForm(WinIDs::WIN_ID_PhotoSingleViewDMR));
  ASSERT_NE(viewer, nullptr);
  kv::Persistent<MediaPlayer::PhotoSingleViewDMR> v = viewer;
  EXPECT_EQ(v->Layer, 1u);
  EXPECT_EQ(Centre(), kColours[1]) << "the controller's picture is drawn";
  EXPECT_EQ(v->DmrStartBar(), nullptr) << "the start bar goes with the first picture";
  EXPECT_FALSE(WaitingShown());
  EXPECT_EQ(Calls("updateDMRState"), std::vector<std::string>{"updateDMRState(2)"}) << "the set is told the picture shows";
  EXPECT_EQ(HelpText(), "Rotate,Features,Back");
  // The keys of the browser's viewer that a controller owns do nothing.
  ClearCallLog();
  Press("right");
  Press("left");
  Press("ok");
  Pass(500);
  EXPECT_EQ(Centre(), kColours[1]);
  EXPECT_FALSE(W()->OnGetIsSlideshow());
  // Up turns it: the 800 x 600 picture stands upright, narrower, between wider bars.
  const uint32_t side = Osd().Row(270)[200];
  Press("up");
  Pass(500);
  EXPECT_NE(Osd().Row(270)[200], side) << "the turned picture leaves the sides";
  EXPECT_EQ(Centre(), kColours[1]);
  // The controller's next picture replaces it.
  ASSERT_EQ(psl::ControllerPlay(PSL_KIND_PICTURE, "/mnt/usb1/c.jpg", "Blue"), PSL_OK);
  Pass(500);
  EXPECT_TRUE(v->IsOpen());
  EXPECT_EQ(Wm()->FindForm(WinIDs::WIN_ID_PhotoSingleViewDMR), v.get()) << "the same screen shows it";
  EXPECT_EQ(Centre(), kColours[2]);
  // A controller that reports playing again without a new picture: the
  // picture stays, with no waiting circle over it.
  auto* playing = kv::New<Events::DMRStatusEvent>();
  playing->Kind = PSL_KIND_PICTURE;
  playing->State = 3;
  Dispatch(playing);
  Pass(2000);
  EXPECT_FALSE(WaitingShown()) << "a waiting circle over the controller's picture";
  EXPECT_EQ(Centre(), kColours[2]);
  // A controller that stops and sends its next picture within 3000 ms keeps
  // the screen: the picture shows, and the stop's time-out does not close it.
  auto* pause = kv::New<Events::DMRStatusEvent>();
  pause->Kind = PSL_KIND_PICTURE;
  pause->State = 5;
  Dispatch(pause);
  Settle();
  Run(1000);
  ASSERT_EQ(psl::ControllerPlay(PSL_KIND_PICTURE, "/mnt/usb1/b.jpg", "Green"), PSL_OK);
  Pass(4000);
  ASSERT_TRUE(v->IsOpen()) << "the stop's time-out closed the screen under the controller's next picture";
  EXPECT_EQ(Centre(), kColours[1]);
  // The controller stops: 3000 ms later the screen goes, back to the TV source.
  auto* stop = kv::New<Events::DMRStatusEvent>();
  stop->Kind = PSL_KIND_PICTURE;
  stop->State = 5;
  Dispatch(stop);
  Settle();
  Run(2900);
  EXPECT_TRUE(v->IsOpen());
  Run(200);
  Settle();
  EXPECT_FALSE(v->IsOpen());
  EXPECT_EQ(W()->GetCurrentSource(0), tv);
  Press("menu");
  Settle();
  EXPECT_FALSE(OpenForms().empty()) << "the next key still acts";
}

TEST_F(PhotoViewTest, ABrokenFileShowsTheInvalidTextAndTheShowGoesOn) {
  W()->OnSetMM_IntervalTime(0);
  kv::Persistent<PhotoSingleView> v = View(3, {"d.jpg"});
  EXPECT_EQ(Centre(), kColours[2]);
  Press("ok");
  Pass(3500);
  EXPECT_TRUE(v->IsOpen());
  EXPECT_NE(Centre(), kColours[2]) << "the broken picture's screen replaces the last one";
  Pass(4000);
  EXPECT_FALSE(v->IsOpen()) << "the show went on to its end";
}

// A photo whose name is not UTF-8, chosen in the grid: the viewer shows it
// and steps from it and back to it like any other.
TEST_F(PhotoViewTest, APhotoWhoseNameIsNotUtf8ShowsAndStepsLikeTheOthers) {
  const std::string names[3] = {"bad-utf8-\xFF\xFE.jpg", "forest.jpg", "sea.jpg"};
  for (int i = 0; i < 3; ++i)
    media_writer::WriteBytes(StickDir("photos") + "/Photos/" + names[i], media_writer::Jpeg(800, 600, kColours[i], kColours[i]));
  Plug("photos");
  Run(1500);
  Press("exit");  // not now, to the stick's question
  Run(300);
  ASSERT_NE(OpenBrowser<MediaPlayer::PhotoMultiView>(), nullptr);
  Press("ok");  // the Photos folder
  Pass(1500);
  Press("ok");  // its first photo
  Pass(1500);
  ASSERT_NE(FindOpen<PhotoSingleView>(), nullptr);
  EXPECT_FALSE(WaitingShown()) << "the viewer waits for ever";
  EXPECT_EQ(Centre(), kColours[0]);
  EXPECT_TRUE(Sees("Resolution: 800 x 600")) << SeenList();
  Press("right");
  Pass(1500);
  EXPECT_EQ(Centre(), kColours[1]);
  Press("left");
  Pass(1500);
  EXPECT_FALSE(WaitingShown());
  EXPECT_EQ(Centre(), kColours[0]) << "Left does not reach the photo";
  Press("right");
  Pass(1500);
  EXPECT_EQ(Centre(), kColours[1]) << "Right is ignored";
  Press("right");
  Pass(1500);
  EXPECT_EQ(Centre(), kColours[2]);
}

// A picture the media service refuses to read: the viewer shows the
// invalid-file text in its place, and the keys and the slide show go on.
TEST_F(PhotoViewTest, APictureTheServiceRefusesShowsTheInvalidTextAndTheShowGoesOn) {
  kv::Persistent<PhotoSingleView> v = View(1);
  ASSERT_NE(v.get(), nullptr);
  EXPECT_EQ(Centre(), kColours[0]);
  FailCall("PslMediaRequestPicture", PSL_ERR_NOT_FOUND);
  Press("right");
  Pass(1500);
  EXPECT_FALSE(WaitingShown()) << "the viewer waits for ever";
  EXPECT_EQ(Centre(), 0u) << "the last picture stays";
  // The invalid-file text, light on black, in the middle of the picture.
  int light = 0;
  for (int32_t y = 255; y < 285; ++y)
    for (int32_t x = 380; x < 580; ++x) light += (Osd().Row(y)[x] & 0xFF) > 0xA0;
  EXPECT_GT(light, 100) << "no invalid-file text";
  EXPECT_TRUE(Sees("b.jpg")) << SeenList();
  ClearFailures();
  Press("right");
  Pass(1500);
  EXPECT_EQ(Centre(), kColours[2]);
  // The slide show from the first picture, every picture refused: it steps
  // over them to its end and leaves.
  Press("left");
  Pass(1500);
  Press("left");
  Pass(1500);
  EXPECT_EQ(Centre(), kColours[0]);
  FailCall("PslMediaRequestPicture", PSL_ERR_NOT_FOUND);
  Press("ok");
  Pass(30000);
  EXPECT_FALSE(v->IsOpen()) << "the show stopped at a refused picture";
}

// Each turn steps from the picture on screen: Up three times is 270
// degrees, Down from 180 is 90, four times Up is upright again.
TEST_F(PhotoViewTest, TurnsStepFromThePictureOnScreen) {
  W()->OnSetUSBSDAutoStart(0);
  // 400 x 200: red on the left half, blue on the right.
  std::vector<uint8_t> rgb(size_t(400) * 200 * 3);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 400; ++x) {
      uint8_t* px = &rgb[(size_t(y) * 400 + size_t(x)) * 3];
      px[0] = x < 200 ? 0xE0 : 0;
      px[2] = x < 200 ? 0 : 0xE0;
    }
  media_writer::WriteBytes(StickDir("turn") + "/t.jpg", media_writer::EncodeJpeg(rgb, 400, 200, 90));
  Plug("turn");
  Browse(0, Media::MEDIA_TYPE_PICTURE);
  kv::Persistent<PhotoSingleView> v = OpenPlayer<PhotoSingleView>(&PhotoSingleView::StaticClass(), 0);
  ASSERT_NE(v, nullptr);
  Pass(1000);
  Press("info");  // the picture alone
  Pass(500);
  // The colours on screen: left and right of the centre, above and below it.
  auto at = [&](int x, int y) {
    const uint32_t p = Osd().Row(y)[x];
    return (p & 0xFF) > 0x80 ? 'r' : ((p >> 16) & 0xFF) > 0x80 ? 'b' : '-';
  };
  auto sides = [&] {
    std::string s;
    for (char c : {at(330, 270), at(630, 270), '|', at(480, 150), at(480, 390)}) s += c;
    return s;
  };
  auto turn = [&](const char* key) {
    Press(key);
    Pass(1500);
    return sides();
  };
  const std::string upright = sides();
  ASSERT_EQ(upright.substr(0, 2), "rb");
  const std::string ninety = turn("up");
  ASSERT_TRUE(ninety == "--|rb" || ninety == "--|br") << ninety;
  const std::string half = turn("up");
  EXPECT_EQ(half.substr(0, 2), "br");
  const std::string threeQuarters = turn("up");
  const std::string mirrored = std::string("--|") + ninety[4] + ninety[3];
  EXPECT_EQ(threeQuarters, mirrored) << "Up three times is 270 degrees";
  EXPECT_EQ(turn("up").substr(0, 2), "rb") << "four times Up: upright again";
  turn("up");
  turn("up");
  EXPECT_EQ(turn("down"), ninety) << "Down from 180 is 90";
  EXPECT_TRUE(v->IsOpen());
}

// Back from the viewer puts the grid's focus on the photo viewed, also on
// the second page and the last.
TEST_F(PhotoViewTest, BackFromTheViewerFocusesThePhotoViewedOnAnyPage) {
  W()->OnSetUSBSDAutoStart(0);
  ManyPictures("many", 60);
  Plug("many");
  OpenBrowser(&MediaPlayer::PhotoMultiView::StaticClass());
  Pass(500);
  auto* grid = FindOpen<MediaPlayer::PhotoMultiView>();
  ASSERT_NE(grid, nullptr);
  int at = 0;
  for (int target : {39, 58, 5}) {
    SCOPED_TRACE(target);
    while (at < target) {
      Press("right");
      ++at;
    }
    while (at > target) {
      Press("left");
      --at;
    }
    Pass(500);
    grid = FindOpen<MediaPlayer::PhotoMultiView>();
    ASSERT_NE(grid, nullptr);
    const std::string name = "p" + std::to_string(target) + ".jpg";
    ASSERT_EQ(grid->TitleText().ToUtf8(), name);
    Press("ok");
    Pass(1500);
    ASSERT_NE(FindOpen<PhotoSingleView>(), nullptr);
    Press("back");
    Pass(1500);
    grid = FindOpen<MediaPlayer::PhotoMultiView>();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->TitleText().ToUtf8(), name);
    EXPECT_TRUE(Sees(std::to_string(target + 1) + "/60")) << SeenList();
  }
}

TEST_F(PhotoViewTest, OpenedAndClosedFiftyTimesKeepsTheCensus) {
  W()->OnSetUSBSDAutoStart(0);
  PhotoStick();
  Plug("photos");
  Browse(0, Media::MEDIA_TYPE_PICTURE);
  auto cycle = [&] {
    OpenPlayer<PhotoSingleView>(&PhotoSingleView::StaticClass(), 1);
    Pass(250);
    Press("exit");
    Settle();
    Browse(0, Media::MEDIA_TYPE_PICTURE);
  };
  for (int i = 0; i < 2; ++i) cycle();
  const auto base = PlayerCensus();
  for (int i = 0; i < 50; ++i) cycle();
  EXPECT_EQ(PlayerCensus(), base);
}

// A viewer holds several screen-sized canvases of pixels outside the object
// heap. Closed, they must go with the next collections even though few
// objects were made since: a TV's memory cannot hold a dozen closed viewers'
// pictures.
TEST_F(PhotoViewTest, ClosedViewersGiveTheirCanvasesBackWithoutAnExplicitCollection) {
  W()->OnSetUSBSDAutoStart(0);
  PhotoStick();
  Plug("photos");
  Browse(0, Media::MEDIA_TYPE_PICTURE);
  kv::Collect();
  auto canvases = [] {
    const auto census = kv::HeapCensus();  // dead objects not yet collected count too
    const auto it = census.find("Media::ServiceCanvas");
    return it == census.end() ? size_t{0} : it->second;
  };
  size_t perViewer = 0, most = 0;
  for (int i = 0; i < 12; ++i) {
    const size_t before = canvases();
    OpenPlayer<PhotoSingleView>(&PhotoSingleView::StaticClass(), 1);
    Pass(250);
    if (i == 0) perViewer = canvases() - before;
    Press("exit");
    Settle();
    Browse(0, Media::MEDIA_TYPE_PICTURE);
    most = std::max(most, canvases());
  }
  ASSERT_GT(perViewer, 0u);
  EXPECT_LE(most, 2 * perViewer) << "canvases of closed viewers piled up uncollected";
}

}  // namespace
}  // namespace playertest
