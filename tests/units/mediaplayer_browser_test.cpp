// The media browser as the user reaches it: the media kind menu, the
// source dialog and the browse screens, over sticks written as files and
// plugged into the media service, driven by remote keys through the GUI
// loop. Checked: the screens that open, the set's and the service's call
// logs, the texts shown and the drawn pixels.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ge/surface.h"
#include "focus_look.h"
#include "media_fixture.h"
#include "runtime/auto_object.h"
#include "runtime/text.h"
#include "units/Button/ButtonClass.h"
#include "units/Cursor/FocusFrame.h"
#include "units/Events/StatusEvent.h"
#include "units/MainApp/ActiveApp.h"
#include "units/MainApp/Root.h"
#include "units/Media/MediaEvents.h"
#include "units/MediaPlayer/BrowserTemplate.h"
#include "units/MediaPlayer/FileSize.h"
#include "units/MediaPlayer/ListViews.h"
#include "units/MediaPlayer/PhotoMultiView.h"
#include "units/MediaPlayer/PhotoSingleView.h"
#include "units/MediaPlayer/SelectedParam.h"
#include "units/MediaPlayer/SourceSelect.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/NonMenuSystem/WaitingCircle.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SubSystem/State.h"
#include "units/WidgetManager/WidgetManager.h"

namespace listtest {
namespace {

using namespace MediaPlayer;

class MediaBrowserTest : public MediaTest {
 protected:
  NonMenuSystem::NonMenuSystem* Nms() {
    for (int32_t i = 0; i < App().GetChildCount(); ++i)
      if (auto* a = kv::Cast<MainApp::ActiveApp>(App().GetChild(i)))
        return kv::Cast<NonMenuSystem::NonMenuSystem>(a->FindSubSystem(&NonMenuSystem::NonMenuSystem::StaticClass()));
    return nullptr;
  }
  WidgetManager::WidgetManager* Wm() {
    return kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager);
  }
  // The open screen of that class, or null.
  template <class T>
  T* Find() {
    auto* f = kv::Cast<T>(Wm()->FindFormOf(&T::StaticClass()));
    return f && f->IsOpen() ? f : nullptr;
  }
  // Opens a screen by a state change, as its callers do.
  template <class T>
  T* OpenState(kv::Object* param, const kv::Class* prev = nullptr) {
    auto* state = kv::New<SubSystem::State>();
    state->Class = &T::StaticClass();
    state->Param = param;
    state->PrevState = prev;
    kv::Persistent<SubSystem::State> keep(state);
    Nms()->ChangeState(state);
    Settle();
    return Find<T>();
  }
  // Opens the browse screen of class T on medium 0, as the source dialog does.
  template <class T>
  T* OpenBrowser(const kv::Class* from = nullptr) {
    auto* p = kv::New<SelectedParam>();
    p->Medium = 0;
    p->PrevClass = from;
    T* screen = OpenState<T>(p, &MediaDeviceSelectDialog::StaticClass());
    Run(600);
    Settle();
    return screen;
  }
  void StickOf(const std::vector<std::string>& files) {
    WriteStick("Stick", files);
    Plug("Stick");
  }
  // Row texts of the list view.
  std::vector<std::string> RowTexts(MediaListViewTemplate* v) {
    std::vector<std::string> out;
    for (Forms::Ctrl* r : v->List().GetRows()) out.push_back(Text(r));
    return out;
  }
  int32_t Source() { return W()->GetCurrentSource(0); }
  // Message bars of that type opened so far (the bar traces its type).
  size_t Notices(int32_t type) {
    const std::string line = "NonMenuSystem::DirectMessageBar: type " + std::to_string(type);
    size_t n = 0;
    for (const std::string& l : Log().Lines()) n += l == line ? 1 : 0;
    return n;
  }
  int32_t BarType() {
    NonMenuSystem::DirectMessageBar* bar = Nms()->MessageBar();
    return bar ? bar->MessageType : 0;
  }
  void SetMtime(const std::string& file, int minutesAgo) {
    std::filesystem::last_write_time(StickDir("Stick") + "/" + file,
                                     std::filesystem::file_time_type::clock::now() - std::chrono::minutes(minutesAgo));
  }
};

// --- Roads -------------------------------------------------------------------------------------

TEST_F(MediaBrowserTest, OneStickGoesStraightToTheBrowserAndBackToTheKindMenuThenTheLastSource) {
  StickOf({"a.jpg", "b.jpg", "c.wav"});
  W()->OnSetPhotoBrowseMode(0);
  const int32_t tv = Source();
  ASSERT_NE(tv, kMediaSource);
  Nms()->OpenWithValue(&USBMediaPlayerMenu::StaticClass(), 0);
  Settle();
  USBMediaPlayerMenu* menu = Find<USBMediaPlayerMenu>();
  ASSERT_NE(menu, nullptr);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(menu->ButtonAt(i).OnGetIsDisabled());
  // Up from Photo wraps to Music; down twice comes back to Photo.
  Press("up");
  EXPECT_EQ(menu->OnGetFocus(), &menu->ButtonAt(2));
  Press("down");
  EXPECT_EQ(menu->OnGetFocus(), &menu->ButtonAt(0));
  Press("ok");
  Run(600);
  Settle();
  // One ready stick: the source dialog passes straight on to the grid.
  EXPECT_EQ(Find<MediaDeviceSelectDialog>(), nullptr);
  PhotoMultiView* grid = Find<PhotoMultiView>();
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(Source(), kMediaSource);
  EXPECT_FALSE(grid->IsPickMode());
  EXPECT_EQ(grid->Grid().GetItemsCount(), 2);
  // Back at the root: the kind menu again, without the dialog, the TV source
  // back, and the bridge keeps its sources (no reset).
  ClearCallLog();
  Press("back");
  Settle();
  EXPECT_EQ(Find<PhotoMultiView>(), nullptr);
  EXPECT_EQ(Find<MediaDeviceSelectDialog>(), nullptr);
  menu = Find<USBMediaPlayerMenu>();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(Source(), tv);
  EXPECT_EQ(Bridge()->GetMediumCount(), 1);
  // The next key still answers: Music opens the music list.
  Press("up");
  Press("ok");
  Run(600);
  Settle();
  MusicListView* music = Find<MusicListView>();
  ASSERT_NE(music, nullptr);
  EXPECT_EQ(RowTexts(music), (std::vector<std::string>{"c.wav"}));
  // Exit leaves everything, resets the bridge and returns to the TV source.
  Press("exit");
  Settle();
  EXPECT_EQ(Find<MusicListView>(), nullptr);
  EXPECT_EQ(Find<USBMediaPlayerMenu>(), nullptr);
  EXPECT_EQ(Source(), tv);
  EXPECT_EQ(Bridge()->GetCurMedium(), nullptr);
}

// Each kind's caption starts a little in from the left end of its button,
// so that the focused one's "P" does not touch its highlight's edge.
TEST_F(MediaBrowserTest, TheKindMenusCaptionsStandInsideTheirHighlight) {
  StickOf({"a.jpg"});
  Nms()->OpenWithValue(&USBMediaPlayerMenu::StaticClass(), 0);
  Settle();
  USBMediaPlayerMenu* menu = Find<USBMediaPlayerMenu>();
  ASSERT_NE(menu, nullptr);
  for (int32_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    ASSERT_EQ(menu->OnGetFocus(), &menu->ButtonAt(i));
    const kv::Rect b = menu->ButtonAt(i).GetAbsoluteBounds();
    const std::string caption = menu->ButtonAt(i).OnGetText().ToUtf8();
    bool seen = false;
    for (const Core::SeenText& t : SeenTexts())
      if (t.text == caption && t.box.y1 >= b.y1 && t.box.y2 <= b.y2) {
        seen = true;
        EXPECT_TRUE(t.Readable()) << t.Describe();
        EXPECT_GE(t.ink.x1, b.x1 + 5) << t.Describe();
      }
    EXPECT_TRUE(seen) << caption << "\n" << SeenList();
    Press("down");
  }
}

TEST_F(MediaBrowserTest, WithoutSourcesTheKindMenuIsDisabledAndTheDialogShowsTheNoDevicesNotice) {
  Nms()->OpenWithValue(&USBMediaPlayerMenu::StaticClass(), 0);
  Settle();
  USBMediaPlayerMenu* menu = Find<USBMediaPlayerMenu>();
  ASSERT_NE(menu, nullptr);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(menu->ButtonAt(i).OnGetIsDisabled());
  Press("ok");
  Settle();
  EXPECT_EQ(Find<MediaDeviceSelectDialog>(), nullptr);
  // From the menu page the dialog opens directly: the notice, and the TV
  // source kept.
  const int32_t tv = Source();
  Nms()->OpenWithValue(&MediaDeviceSelectDialog::StaticClass(), 2, Constants::MSG_FROM_MENUSYSTEM);
  Settle();
  EXPECT_EQ(Find<MediaDeviceSelectDialog>(), nullptr);
  EXPECT_EQ(BarType(), 7);
  EXPECT_EQ(Source(), tv);
}

// Share of the pixels of `box` that are pale (the focus bar of a grey row).
double PaleShare(const ge::Surface& osd, const kv::Rect& box) {
  int64_t pale = 0;
  for (int32_t y = box.y1; y < box.y2; ++y)
    for (int32_t x = box.x1; x < box.x2; ++x) {
      const uint32_t p = osd.Row(y)[x];
      pale += (p & 0xFF) >= 150 && (p >> 8 & 0xFF) >= 150 && (p >> 16 & 0xFF) >= 150 ? 1 : 0;
    }
  return static_cast<double>(pale) / (static_cast<double>(box.W()) * box.H());
}

// With no medium the focused Photo button is as disabled as Video and
// Music: it wears the pale bar of a focused grey row, not the blue focus
// bar; with a stick it is the focused, enabled button again.
TEST_F(MediaBrowserTest, WithoutSourcesTheFocusedPhotoButtonReadsAsDisabled) {
  Nms()->OpenWithValue(&USBMediaPlayerMenu::StaticClass(), 0);
  Settle();
  USBMediaPlayerMenu* menu = Find<USBMediaPlayerMenu>();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->OnGetFocus(), &menu->ButtonAt(0));
  const kv::Rect photo = menu->ButtonAt(0).GetAbsoluteBounds();
  EXPECT_LT(apptest::FocusBlueShare(Osd(), photo), 0.1);
  EXPECT_GT(PaleShare(Osd(), photo), 0.5);
  bool seen = false;
  for (const Core::SeenText& t : SeenTexts())
    if (t.text == "Photo") {
      seen = true;
      EXPECT_TRUE(t.Readable()) << t.Describe();
    }
  EXPECT_TRUE(seen) << SeenList();
  // Down takes the pale bar to Video.
  Press("down");
  Settle();
  EXPECT_LT(PaleShare(Osd(), photo), 0.1);
  EXPECT_GT(PaleShare(Osd(), menu->ButtonAt(1).GetAbsoluteBounds()), 0.5);
  Press("exit");
  Settle();
  StickOf({"a.jpg"});
  Nms()->OpenWithValue(&USBMediaPlayerMenu::StaticClass(), 0);
  Settle();
  menu = Find<USBMediaPlayerMenu>();
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(apptest::LooksFocused(Osd(), &menu->ButtonAt(0)));
}

TEST_F(MediaBrowserTest, TwoSourcesShowTheDialogWhichRefreshesOnAPlugAndOpensTheChosenOne) {
  // No question on the plug: the dialog stays to be refreshed.
  W()->OnSetUSBSDAutoStart(0);
  StickOf({"a.avi"});
  WriteStick("Other", {"b.avi", "c.avi"});
  Plug("Other");
  Nms()->OpenWithValue(&MediaDeviceSelectDialog::StaticClass(), 3, Constants::MSG_FROM_MENUSYSTEM);
  Settle();
  MediaDeviceSelectDialog* dialog = Find<MediaDeviceSelectDialog>();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Rows(&dialog->List()).size(), 2u);
  // A third stick while the dialog is open (automatic start off, so that no
  // open question comes): the list reloads.
  W()->OnSetUSBSDAutoStart(0);
  WriteStick("Third", {"d.avi"});
  Plug("Third");
  EXPECT_EQ(Rows(&dialog->List()).size(), 3u);
  Press("down");
  Press("ok");
  Run(600);
  Settle();
  MovieListView* movies = Find<MovieListView>();
  ASSERT_NE(movies, nullptr);
  EXPECT_EQ(RowTexts(movies), (std::vector<std::string>{"b.avi", "c.avi"}));
  // Back at the root returns to the dialog (two sources), focused.
  Press("back");
  Settle();
  dialog = Find<MediaDeviceSelectDialog>();
  ASSERT_NE(dialog, nullptr);
  // Back from a dialog opened by a menu page other than the media pages
  // hands the screen back to the menu.
  Press("back");
  Settle();
  EXPECT_EQ(Find<MediaDeviceSelectDialog>(), nullptr);
}

// --- The browser template --------------------------------------------------------------------

TEST_F(MediaBrowserTest, FoldersPathSortVolumeAndMute) {
  StickOf({"Trip/", "Trip/x.wav", "Trip/y.wav", "b.wav", "a.wav", "c.wav"});
  SetMtime("a.wav", 30);
  SetMtime("b.wav", 10);
  SetMtime("c.wav", 20);
  MusicListView* v = OpenBrowser<MusicListView>();
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(RowTexts(v), (std::vector<std::string>{"Trip", "a.wav", "b.wav", "c.wav"}));
  EXPECT_EQ(v->PathText().ToUtf8(), "/");
  EXPECT_EQ(v->SortText().ToUtf8(), "Sort: File name");
  // Down into the folder and up again.
  Press("ok");
  Run(600);
  Settle();
  EXPECT_EQ(RowTexts(v), (std::vector<std::string>{"x.wav", "y.wav"}));
  EXPECT_EQ(v->PathText().ToUtf8(), "/Trip");
  Press("back");
  Run(600);
  Settle();
  ASSERT_EQ(Find<MusicListView>(), v);
  EXPECT_EQ(v->PathText().ToUtf8(), "/");
  EXPECT_EQ(RowTexts(v).size(), 4u);
  // The sort setting, as the quick menu's row sets it: new label and new order.
  ClearCallLog();
  W()->OnSetMM_SortMode(2);
  Run(600);
  Settle();
  EXPECT_EQ(v->SortText().ToUtf8(), "Sort: Newest");
  EXPECT_EQ(Calls("PslMediaSetSortMode"), (std::vector<std::string>{"PslMediaSetSortMode(2)"}));
  EXPECT_EQ(RowTexts(v), (std::vector<std::string>{"Trip", "b.wav", "c.wav", "a.wav"}));
  W()->OnSetMM_SortMode(3);
  Run(600);
  Settle();
  EXPECT_EQ(v->SortText().ToUtf8(), "Sort: Oldest");
  EXPECT_EQ(RowTexts(v), (std::vector<std::string>{"Trip", "a.wav", "c.wav", "b.wav"}));
  W()->OnSetMM_SortMode(0);
  Run(600);
  Settle();
  EXPECT_EQ(RowTexts(v), (std::vector<std::string>{"Trip", "a.wav", "b.wav", "c.wav"}));
  // Volume: Vol+ raises from 0 and Vol- lowers from 100, as in live TV;
  // past the ends the keys only show the value.
  struct Case {
    int32_t start;
    const char* key;
    int32_t after;
  };
  for (const Case& c : {Case{0, "vol+", 1}, Case{0, "vol-", 0}, Case{50, "vol+", 51}, Case{50, "vol-", 49},
                        Case{100, "vol-", 99}, Case{100, "vol+", 100}}) {
    W()->OnSetVolume(c.start);
    Press(c.key);
    EXPECT_EQ(W()->GetVolume(), c.after) << c.start << " " << c.key;
    EXPECT_TRUE(v->IsVolumeShown());
    EXPECT_EQ(v->VolumeText().ToUtf8(), "Volume " + std::to_string(c.after));
  }
  Run(2100);
  EXPECT_FALSE(v->IsVolumeShown());
  Press("mute");
  EXPECT_NE(W()->OnGetMute(), 0);
  EXPECT_EQ(v->VolumeText().ToUtf8(), "Mute");
  Press("mute");
  EXPECT_EQ(W()->OnGetMute(), 0);
  EXPECT_FALSE(v->IsVolumeShown());
}

TEST_F(MediaBrowserTest, TheClockAdvancesEveryMinute) {
  StickOf({"a.wav"});
  MusicListView* v = OpenBrowser<MusicListView>();
  ASSERT_NE(v, nullptr);
  const std::string first = v->ClockText().ToUtf8();
  EXPECT_FALSE(first.empty());
  Run(60000);
  EXPECT_NE(v->ClockText().ToUtf8(), first);
}

TEST_F(MediaBrowserTest, FileSizesAreGroupedByThousandsWithTheirUnit) {
  EXPECT_EQ(FileSizeText(999).ToUtf8(), "Size: 999 bytes");
  EXPECT_EQ(FileSizeText(1000).ToUtf8(), "Size: 1,000 bytes");
  EXPECT_EQ(FileSizeText(-1).ToUtf8(), "");
  // Each language groups the digits its own way: French with a no-break
  // space, Spanish with a point.
  kv::SetLanguage(1);
  EXPECT_EQ(FileSizeText(14211).ToUtf8(), "Taille : 14\u00a0211 octets");
  kv::SetLanguage(2);
  EXPECT_EQ(FileSizeText(14211).ToUtf8(), "Tamaño: 14.211 bytes");
  kv::SetLanguage(0);
  // Through the set: a sparse 3 GiB file reads in megabytes (the code's top bit set).
  WriteStick("Stick", {"a.avi"});
  {
    std::ofstream big(StickDir("Stick") + "/big.avi", std::ios::binary);
    big.seekp((3LL << 30) - 1);
    big.put('\0');
  }
  std::ofstream(StickDir("Stick") + "/small.avi") << std::string(999, 'x');
  Plug("Stick");
  MovieListView* v = OpenBrowser<MovieListView>();
  ASSERT_NE(v, nullptr);
  ASSERT_EQ(RowTexts(v), (std::vector<std::string>{"a.avi", "big.avi", "small.avi"}));
  Press("down");
  Settle();
  EXPECT_TRUE(v->IsFileSizeShown());
  EXPECT_EQ(v->FileSizeString().ToUtf8(), "Size: 3,072 MB");
  Press("down");
  Settle();
  EXPECT_EQ(v->FileSizeString().ToUtf8(), "Size: 999 bytes");
}

TEST_F(MediaBrowserTest, UnplugAndServerLossCloseTheBrowserWithMessage21) {
  WriteStick("Stick", {"a.jpg", "b.jpg"});
  const int32_t stick = Plug("Stick");
  WriteStick("Other", {"x.jpg"});
  const int32_t other = Plug("Other");
  const int32_t tv = Source();
  PhotoListView* v = OpenBrowser<PhotoListView>();
  ASSERT_NE(v, nullptr);
  // Another stick pulled: the browser stays.
  psl::Unplug(other);
  Settle();
  ASSERT_NE(Find<PhotoListView>(), nullptr);
  // The browsed stick pulled: closed, notice 21, the TV source back, the
  // slide-show music forgotten.
  Bridge()->SetBgmPlaylist(5, nullptr);
  ASSERT_TRUE(Bridge()->IsBgmSelected());
  ASSERT_EQ(Notices(21), 0u);
  psl::Unplug(stick);
  Settle();
  EXPECT_EQ(Find<PhotoListView>(), nullptr);
  EXPECT_EQ(Notices(21), 1u);
  Run(500);
  EXPECT_EQ(Source(), tv);
  EXPECT_FALSE(Bridge()->IsBgmSelected());
  EXPECT_EQ(W()->BackgroundMusicOnOff, 0);
  // The next key still answers: the menu opens over live TV.
  Press("menu");
  Settle();
  EXPECT_NE(Wm()->FindFormOf(KV_LATE_CLASS("MenuSystem::VidiMainMenu")), nullptr);
}

TEST_F(MediaBrowserTest, AServerThatGoesClosesTheBrowserOfThatServerOnly) {
  StickOf({"a.wav"});
  MusicListView* v = OpenBrowser<MusicListView>();
  ASSERT_NE(v, nullptr);
  // Another server gone: nothing happens.
  auto* other = kv::New<Media::ServerEvent>()->Initialize(0, kv::String::FromUtf8("http://10.0.0.9:8200"));
  Dispatch(other);
  Settle();
  EXPECT_EQ(Find<MusicListView>(), v);
  // A server's Uri that the browsed medium lies in: the browser closes with the notice.
  auto* gone = kv::New<Media::ServerEvent>()->Initialize(0, kv::String::FromUtf8("file:///mnt/usb1"));
  Dispatch(gone);
  Settle();
  EXPECT_EQ(Find<MusicListView>(), nullptr);
  EXPECT_EQ(Notices(21), 1u);
}

}  // namespace
}  // namespace listtest

namespace listtest {
namespace {

using namespace MediaPlayer;

class MediaListViewTest : public MediaBrowserTest {};

TEST_F(MediaListViewTest, TheMovieListPlaysItsPreviewInItsFrameAndGivesTheScreenBack) {
  StickOf({"a.avi", "b.avi", "c.avi"});
  ClearCallLog();
  MovieListView* v = OpenBrowser<MovieListView>();
  ASSERT_NE(v, nullptr);
  const kv::Rect f = v->PreviewFrame();
  // The screen is open over the frame (the OSD is transparent there), so
  // that the video plane's preview shows through the list screen.
  const int cx = (f.x1 + f.x2) / 2, cy = (f.y1 + f.y2) / 2;
  EXPECT_EQ(Osd().Row(cy)[cx] >> 24, 0u);
  EXPECT_EQ(Osd().Row(f.y1 + 4)[f.x1 + 4] >> 24, 0u);
  EXPECT_EQ(Osd().Row(f.y1 - 20)[cx] >> 24, 255u);
  const std::string frame = "XPM_SetDisplayWindow(0, " + std::to_string(f.x1) + ", " + std::to_string(f.y1) + ", " +
                            std::to_string(f.W()) + ", " + std::to_string(f.H()) + ")";
  ASSERT_FALSE(Calls("XPM_SetDisplayWindow").empty());
  EXPECT_EQ(Calls("XPM_SetDisplayWindow").front(), frame);
  // One preview 500 ms after the focus last moved.
  ClearCallLog();
  Press("down");
  Run(300);
  Press("down");
  Run(400);
  EXPECT_TRUE(Calls("PslMediaPlaylistCreate").empty());
  Run(200);
  EXPECT_EQ(Calls("PslMediaPlaylistCreate").size(), 1u);
  EXPECT_TRUE(v->List().IsPreviewStarted);
  // Stop, then Play starts the focused movie's preview again.
  Press("stop");
  EXPECT_EQ(v->NavStatus, PREVIEW_STOP);
  EXPECT_EQ(v->ElapsedText().ToUtf8(), "--:--:--");
  ClearCallLog();
  Press("play");
  EXPECT_EQ(Calls("PslMediaPlaylistCreate").size(), 1u);
  EXPECT_EQ(v->NavStatus, PREVIEW_PLAY);
  // Exit: the full screen back for the live picture.
  ClearCallLog();
  Press("exit");
  Settle();
  EXPECT_EQ(Find<MovieListView>(), nullptr);
  ASSERT_FALSE(Calls("XPM_SetDisplayWindow").empty());
  EXPECT_EQ(Calls("XPM_SetDisplayWindow").back(), "XPM_SetDisplayWindow(0, 0, 0, 960, 540)");
}

TEST_F(MediaListViewTest, PlayOnAStoppedMusicListPlaysTheSongAndOnAPhotoListNothing) {
  StickOf({"a.wav", "b.wav", "p.jpg", "q.jpg"});
  MusicListView* music = OpenBrowser<MusicListView>();
  ASSERT_NE(music, nullptr);
  Press("down");
  Run(600);
  Press("stop");
  ClearCallLog();
  Press("play");
  ASSERT_EQ(Calls("PslMediaPlaylistCreate").size(), 1u);
  EXPECT_EQ(Calls("PslMediaPlaylistCreate")[0], "PslMediaPlaylistCreate(7, 4)");
  EXPECT_EQ(music->NavStatus, PREVIEW_PLAY);
  // Play while playing does nothing more.
  ClearCallLog();
  Press("play");
  EXPECT_TRUE(Calls("PslMediaPlaylistCreate").empty());
  Press("exit");
  Settle();
  W()->OnSetPhotoBrowseMode(1);
  PhotoListView* photos = OpenBrowser<PhotoListView>();
  ASSERT_NE(photos, nullptr);
  Press("stop");
  ClearCallLog();
  Press("play");
  Run(600);
  EXPECT_TRUE(Calls("PslMediaPlaylistCreate").empty());
  EXPECT_TRUE(Calls("PslExternalSendNavCommand").empty());
  EXPECT_EQ(photos->NavStatus, PREVIEW_STOP);
}

// The music list's preview follows the owner's music repeat setting: under
// Repeat All a second Previous on the first song goes back round the list,
// under Repeat One every Previous starts the song again.
TEST_F(MediaListViewTest, PreviousInTheMusicListFollowsTheRepeatSetting) {
  StickOf({"a.wav", "b.wav", "c.wav"});
  auto navs = [this] { return Calls("PslExternalSendNavCommand"); };
  const std::string restart = "PslExternalSendNavCommand(38, 2, 0)";
  const std::string previous = "PslExternalSendNavCommand(23, 0, 0)";
  W()->OnSetMusic_Repeat(1);
  MusicListView* v = OpenBrowser<MusicListView>();
  ASSERT_NE(v, nullptr);
  ASSERT_EQ(FocusedText(&v->List()), "a.wav");
  Run(600);
  Settle();
  ClearCallLog();
  Press("prev", 2);
  EXPECT_EQ(navs(), (std::vector<std::string>{restart, previous})) << "Repeat All: the second press goes back round";
  Press("exit");
  Settle();
  W()->OnSetMusic_Repeat(2);
  v = OpenBrowser<MusicListView>();
  ASSERT_NE(v, nullptr);
  Press("down");
  Run(600);
  Settle();
  ClearCallLog();
  Press("prev", 2);
  EXPECT_EQ(navs(), (std::vector<std::string>{restart, restart})) << "Repeat One: every press restarts";
}

TEST_F(MediaListViewTest, DeletingAMovieTakesItsCompanionAndStaysInTheFolder) {
  EXPECT_EQ(MovieCompanionPath(kv::String::FromUtf8("file:///mnt/usb1/A/clip.m2ts")).ToUtf8(), "file:///mnt/usb1/A/clip.srt");
  EXPECT_EQ(MovieCompanionPath(kv::String::FromUtf8("file:///mnt/usb1/A/clip.ts")).ToUtf8(), "file:///mnt/usb1/A/clip.srt");
  EXPECT_EQ(MovieCompanionPath(kv::String::FromUtf8("file:///mnt/usb1/A.b/clip")).ToUtf8(), "");
  EXPECT_EQ(MovieCompanionPath(kv::String::FromUtf8("ts")).ToUtf8(), "");
  StickOf({"A/", "A/B/", "A/B/x.avi", "A/one.avi", "A/two.avi", "top.avi"});
  // A movie of a five-letter extension with its companion, and a file whose
  // name its last three letters cut would give.
  std::filesystem::copy_file(StickDir("Stick") + "/A/one.avi", StickDir("Stick") + "/A/clip.m2ts");
  std::ofstream(StickDir("Stick") + "/A/clip.srt") << "1\n";
  std::ofstream(StickDir("Stick") + "/A/clip.m2srt") << "x";
  psl::Rescan();
  MovieListView* v = OpenBrowser<MovieListView>();
  ASSERT_NE(v, nullptr);
  Press("ok");  // into A
  Run(600);
  Settle();
  Press("ok");  // into B
  Run(600);
  Settle();
  EXPECT_EQ(v->PathText().ToUtf8(), "//B");
  Press("back");  // back to A
  Run(600);
  Settle();
  ASSERT_EQ(RowTexts(v), (std::vector<std::string>{"B", "clip.m2ts", "one.avi", "two.avi"}));
  EXPECT_EQ(v->PathText().ToUtf8(), "/A");
  Press("down");
  Settle();
  ASSERT_EQ(FocusedText(&v->List()), "clip.m2ts");
  Press("red");
  Settle();
  auto* confirm = kv::Cast<NonMenuSystem::ConfirmOptionDialog>(Wm()->FindForm(WinIDs::WIN_ID_ConfirmMultiOptionsDialog));
  ASSERT_NE(confirm, nullptr);
  EXPECT_EQ(confirm->OnGetConfirmType(), 59);
  Press("left");
  Press("ok");
  Run(600);
  Settle();
  namespace fs = std::filesystem;
  EXPECT_FALSE(fs::exists(StickDir("Stick") + "/A/clip.m2ts"));
  EXPECT_FALSE(fs::exists(StickDir("Stick") + "/A/clip.srt"));
  EXPECT_TRUE(fs::exists(StickDir("Stick") + "/A/clip.m2srt"));
  EXPECT_TRUE(fs::exists(StickDir("Stick") + "/A/one.avi"));
  // Still in A, with the remaining movies.
  ASSERT_EQ(Find<MovieListView>(), v);
  EXPECT_EQ(v->PathText().ToUtf8(), "/A");
  EXPECT_EQ(RowTexts(v), (std::vector<std::string>{"B", "one.avi", "two.avi"}));
  // The red key on a folder is only consumed.
  ASSERT_EQ(FocusedText(&v->List()), "B");
  Press("red");
  Settle();
  EXPECT_EQ(Wm()->FindForm(WinIDs::WIN_ID_ConfirmMultiOptionsDialog), nullptr);
}

// Deleting the only movie of a folder leaves the folder as an empty folder
// shows: the notice, and no frame, panel or position of the movie that went.
TEST_F(MediaListViewTest, DeletingTheOnlyMovieOfAFolderLeavesNothingOfIt) {
  W()->OnSetUSBSDAutoStart(0);
  StickOf({"empty/", "sub/", "sub/only.avi"});
  MovieListView* v = OpenBrowser<MovieListView>();
  ASSERT_NE(v, nullptr);
  Press("down");
  Press("ok");  // into "sub"
  Run(3000);
  Settle();
  ASSERT_EQ(RowTexts(v), (std::vector<std::string>{"only.avi"}));
  EXPECT_TRUE(Sees("1/1")) << SeenList();
  EXPECT_TRUE(Sees("Title")) << SeenList();
  Press("red");
  Settle();
  Press("left");
  Press("ok");
  Run(600);
  Settle();
  EXPECT_FALSE(std::filesystem::exists(StickDir("Stick") + "/sub/only.avi"));
  EXPECT_TRUE(Sees("No applicable media files")) << SeenList();
  Run(3000);
  Settle();
  EXPECT_FALSE(Sees("1/1")) << SeenList();
  EXPECT_FALSE(Sees("Title")) << SeenList();
  EXPECT_FALSE(Sees("00:00")) << SeenList();
  EXPECT_FALSE(Sees("only.avi")) << SeenList();
  // The frame is covered (the folder picture, as in a folder entered empty):
  // the video plane's last picture of the movie does not show through.
  const kv::Rect f = v->PreviewFrame();
  EXPECT_EQ(Osd().Row((f.y1 + f.y2) / 2)[(f.x1 + f.x2) / 2] >> 24, 255u);
  // The next key still answers: Back leaves the folder.
  Press("back");
  Run(1000);
  Settle();
  EXPECT_EQ(RowTexts(v), (std::vector<std::string>{"empty", "sub"}));
}

// A photo that cannot be shown (empty, random bytes, cut short), opened from
// the grid or reached by Next, shows its own size or none: never the size of
// the photo shown before it.
TEST_F(MediaListViewTest, APhotoThatCannotBeShownNeverShowsAnotherFilesSize) {
  const std::string dir = StickDir("Stick");
  const std::vector<uint8_t> good = media_writer::Jpeg(320, 240, 0x204080, 0xC0E0FF);
  media_writer::WriteBytes(dir + "/a.jpg", good);
  media_writer::WriteBytes(dir + "/b-zero.jpg", {});
  std::vector<uint8_t> noise(5000);
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = uint8_t(i * 7919u >> 3);
  media_writer::WriteBytes(dir + "/c-random.jpg", noise);
  media_writer::WriteBytes(dir + "/d-cut.jpg", std::vector<uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(good.size() / 2)));
  media_writer::WriteBytes(dir + "/e.jpg", media_writer::Jpeg(160, 120, 0x402010, 0xE0C0A0));
  W()->OnSetUSBSDAutoStart(0);
  Plug("Stick");
  W()->OnSetPhotoBrowseMode(0);
  PhotoMultiView* grid = OpenBrowser<PhotoMultiView>();
  ASSERT_NE(grid, nullptr);
  Run(2000);
  Settle();
  auto sizeOf = [&](const char* name) {
    return FileSizeText(static_cast<int32_t>(std::filesystem::file_size(dir + "/" + name))).ToUtf8();
  };
  // The size texts on the screen, each whole.
  auto sizesShown = [&] {
    std::vector<std::string> out;
    for (const Core::SeenText& t : SeenTexts())
      if (t.text.find(sizeOf("a.jpg").substr(0, 5)) == 0) out.push_back(t.text);
    return out;
  };
  auto ownOrNone = [&](const char* name) {
    for (const std::string& shown : sizesShown())
      if (shown != sizeOf(name)) return shown + " shown for " + name;
    return std::string();
  };
  Press("right");  // b-zero.jpg
  Press("ok");
  Run(3000);
  Settle();
  ASSERT_NE(Find<PhotoSingleView>(), nullptr);
  EXPECT_EQ(ownOrNone("b-zero.jpg"), "") << SeenList();
  for (const char* name : {"c-random.jpg", "d-cut.jpg", "e.jpg"}) {
    Press("right");
    Run(3000);
    Settle();
    EXPECT_EQ(ownOrNone(name), "") << SeenList();
  }
  // From a photo shown, back to one that cannot be.
  Press("left");
  Run(3000);
  Settle();
  EXPECT_EQ(ownOrNone("d-cut.jpg"), "") << SeenList();
  // The viewer still answers: Back returns to the grid.
  Press("back");
  Run(2000);
  Settle();
  EXPECT_NE(Find<PhotoMultiView>(), nullptr);
}

TEST_F(MediaListViewTest, TheMusicPanelShowsArtistAlbumGenreAndTheFocusComesBackAfterAPlayer) {
  StickOf({"a.wav", "b.wav", "c.wav"});
  auto* ref = SkinBin::UserRefInt::Make(3, Constants::MSG_FROM_NONMENUSYSTEM);
  MusicListView* v = OpenState<MusicListView>(ref, &MediaDeviceSelectDialog::StaticClass());
  Run(600);
  Settle();
  ASSERT_NE(v, nullptr);
  // Reopened by a player with its item: the focus on the third song.
  EXPECT_EQ(FocusedText(&v->List()), "c.wav");
  Run(2000);
  EXPECT_EQ(v->ArtistText().ToUtf8().rfind("Artist: ", 0), 0u);
  EXPECT_EQ(v->AlbumText().ToUtf8().rfind("Album: ", 0), 0u);
  EXPECT_EQ(v->GenreText().ToUtf8().rfind("Genre: ", 0), 0u);
  EXPECT_EQ(v->TitleText().ToUtf8(), "Title: c.wav");
  EXPECT_EQ(v->PositionText().ToUtf8(), "3/3");
  EXPECT_NE(v->PreviewBitmap(), nullptr);
  // OK on a song asks for the music player with its index and name.
  ClearCallLog();
  Press("ok");
  Settle();
  EXPECT_EQ(Find<MusicListView>(), nullptr);
}

// A folder row shows nothing of a song's information: neither after the
// focus moves from a song up to the folder nor after Back leaves a folder
// in which a song had the focus.
TEST_F(MediaListViewTest, AFolderRowShowsNothingOfASongsInformation) {
  StickOf({"Trip/", "Trip/x.wav", "a.wav", "b.wav"});
  MusicListView* v = OpenBrowser<MusicListView>();
  ASSERT_NE(v, nullptr);
  auto songInfoSeen = [this] {
    for (const Core::SeenText& t : SeenTexts())
      if (t.text.starts_with("Artist") || t.text.starts_with("Album") || t.text.starts_with("Genre") ||
          t.text.starts_with("Title"))
        return t.text;
    return std::string();
  };
  Press("down");
  Run(1500);
  ASSERT_EQ(FocusedText(&v->List()), "a.wav");
  EXPECT_TRUE(Sees("Artist:")) << SeenList();
  Press("up");
  Run(1500);
  ASSERT_EQ(FocusedText(&v->List()), "Trip");
  EXPECT_EQ(songInfoSeen(), "") << SeenList();
  Press("ok");
  Run(2000);
  Settle();
  ASSERT_EQ(FocusedText(&v->List()), "x.wav");
  EXPECT_TRUE(Sees("Artist:")) << SeenList();
  Press("back");
  Run(1500);
  Settle();
  ASSERT_EQ(FocusedText(&v->List()), "Trip");
  EXPECT_EQ(songInfoSeen(), "") << SeenList();
  // The list still answers: down shows the song's information again.
  Press("down");
  Run(1500);
  EXPECT_TRUE(Sees("Artist:")) << SeenList();
}

// The music panel's edges: the preview inside one thin border (nothing more
// around it), its picture filling the border to the corners, and the
// information panel's rim as thin on its sides as on a small panel.
TEST_F(MediaListViewTest, TheMusicPanelHasCleanEdges) {
  StickOf({"a.wav", "b.wav"});
  MusicListView* v = OpenBrowser<MusicListView>();
  ASSERT_NE(v, nullptr);
  Run(2000);
  Settle();
  ASSERT_EQ(FocusedText(&v->List()), "a.wav");
  ASSERT_TRUE(v->IsPreviewShown());
  const auto px = [&](int32_t x, int32_t y) { return Osd().Row(y)[x]; };
  const auto light = [&](int32_t x, int32_t y) { return (px(x, y) >> 16 & 0xFF) > 150; };
  // The preview stands at (560, 100) to (880, 280) with a light 2-pixel
  // border round it: 3 and 4 pixels out is the dark backdrop again.
  // (The stick's question stands over the middle of the screen.)
  EXPECT_TRUE(light(560 - 1, 150));
  for (int32_t d : {3, 4}) {
    EXPECT_FALSE(light(560 - d, 150)) << d;
    EXPECT_FALSE(light(880 + d - 1, 150)) << d;
    EXPECT_FALSE(light(720, 100 - d)) << d;
    EXPECT_FALSE(light(720, 280 + d - 1)) << d;
  }
  // The default picture (a plain gradient from top to bottom round its
  // mark) reaches the border's corners.
  EXPECT_EQ(px(562, 102), px(720, 102));
  EXPECT_EQ(px(877, 277), px(720, 277));
  // The information panel (540, 290) to (900, 436): a rim of at most 3
  // pixels on its left and right sides, as on its top.
  int32_t left = 0, right = 0, top = 0;
  for (int32_t i = 0; i < 12; ++i) {
    left += light(540 + i, 363);
    right += light(899 - i, 363);
    top += light(720, 290 + i);
  }
  EXPECT_LE(left, 3);
  EXPECT_LE(right, 3);
  EXPECT_LE(top, 3);
}

// --- The thumbnail grid -----------------------------------------------------------------------

TEST_F(MediaListViewTest, TheGridPagesTwentyNinePhotosAndIsBusyWhileItWaits) {
  ManyPictures("Stick", 29);
  Plug("Stick");
  W()->OnSetPhotoBrowseMode(0);
  PhotoMultiView* grid = OpenBrowser<PhotoMultiView>();
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->Grid().GetItemsCount(), 29);
  EXPECT_TRUE(grid->Grid().IsRightArrowShown());
  Run(4000);
  EXPECT_EQ(grid->TitleText().ToUtf8(), "p0.jpg");
  EXPECT_EQ(grid->PositionText().ToUtf8(), "1/29");
  EXPECT_TRUE(grid->IsResolutionShown());
  EXPECT_EQ(grid->ResolutionText().ToUtf8(), "Resolution: 16 x 12");
  // While the waiting indicator is up the quick key is refused.
  grid->OnSetShowWaiting(1);
  ASSERT_TRUE(grid->IsBusy());
  Press("quick");
  Settle();
  EXPECT_EQ(Wm()->FindForm(WinIDs::WIN_ID_QuickMenu), nullptr);
  grid->OnSetShowWaiting(0);
  Press("quick");
  Settle();
  EXPECT_NE(Wm()->FindForm(WinIDs::WIN_ID_QuickMenu), nullptr);
}

// A full page: the fourth row's cells and the focus frame on them show whole
// above the status line's rule (y 460), as the first row's do, and the
// status line under them reads whole.
TEST_F(MediaListViewTest, TheGridsFourthRowShowsWholeAboveTheStatusLine) {
  ManyPictures("Stick", 22);
  Plug("Stick");
  W()->OnSetPhotoBrowseMode(0);
  PhotoMultiView* grid = OpenBrowser<PhotoMultiView>();
  ASSERT_NE(grid, nullptr);
  Run(3000);
  Settle();
  // The picture of the focused cell with its frame, relative to the cell.
  auto focusedCell = [&](kv::Rect& at) {
    auto* cell = kv::Cast<::Button::ButtonClass>(grid->Grid().OnGetFocus());
    std::vector<uint32_t> px;
    if (!cell || !cell->OnGetFocusFrame()) return px;
    at = cell->GetAbsoluteBounds();
    const kv::Rect frame = cell->OnGetFocusFrame()->GetAbsoluteBounds();
    EXPECT_TRUE(frame.Contains(at)) << "the frame covers its cell";
    for (int32_t y = frame.y1; y < frame.y2; ++y)
      for (int32_t x = frame.x1; x < frame.x2; ++x) px.push_back(Osd().Row(y)[x]);
    return px;
  };
  kv::Rect first, fourth;
  const std::vector<uint32_t> top = focusedCell(first);
  ASSERT_FALSE(top.empty());
  Press("down", 3);
  Run(500);
  const std::vector<uint32_t> bottom = focusedCell(fourth);
  EXPECT_EQ(fourth.x1, first.x1);
  EXPECT_GT(fourth.y1, first.y1);
  EXPECT_LE(fourth.y2, 460);
  EXPECT_TRUE(bottom == top) << "the fourth row's cell and frame differ from the first row's";
  EXPECT_EQ(grid->PositionText().ToUtf8(), "22/22");
  EXPECT_TRUE(Sees("22/22")) << SeenList();
  EXPECT_TRUE(Sees("p21.jpg")) << SeenList();
}

// The photo viewer paints the whole screen opaque (a black background under
// the picture), so the screen is not cleared beneath it. Whatever it leaves
// is drawn again in full: back in the grid every pixel is as before, and
// after Exit the screen of the live picture is as it was.
TEST_F(MediaListViewTest, TheViewerLeavesNoPixelOfItsOwnWhenItCloses) {
  const auto pixels = [&] {
    std::vector<uint32_t> out;
    for (int32_t y = 0; y < Osd().height; ++y) out.insert(out.end(), Osd().Row(y), Osd().Row(y) + Osd().width);
    return out;
  };
  // The differing pixels, and where the first one is.
  const auto differ = [&](const std::vector<uint32_t>& want) {
    const std::vector<uint32_t> now = pixels();
    size_t n = 0, first = now.size();
    for (size_t i = 0; i < now.size(); ++i)
      if (now[i] != want[i]) n++, first = std::min(first, i);
    return n == 0 ? std::string() : std::to_string(n) + " pixels, the first at x " +
                                        std::to_string(first % size_t(Osd().width)) + " y " +
                                        std::to_string(first / size_t(Osd().width));
  };
  W()->OnSetUSBSDAutoStart(0);
  ManyPictures("Stick", 3);
  Plug("Stick");
  Run(1000);
  Settle();
  const std::vector<uint32_t> live = pixels();
  W()->OnSetPhotoBrowseMode(0);
  PhotoMultiView* grid = OpenBrowser<PhotoMultiView>();
  ASSERT_NE(grid, nullptr);
  Run(4000);
  Settle();
  const std::vector<uint32_t> browsing = pixels();
  Press("ok");
  Run(1000);
  Settle();
  ASSERT_NE(Find<PhotoSingleView>(), nullptr);
  EXPECT_NE(differ(browsing), "") << "the viewer shows";
  Press("back");
  Run(4000);
  Settle();
  ASSERT_NE(Find<PhotoMultiView>(), nullptr);
  EXPECT_EQ(differ(browsing), "") << "back in the grid";
  Press("ok");
  Run(1000);
  Settle();
  ASSERT_NE(Find<PhotoSingleView>(), nullptr);
  Press("exit");
  Run(4000);
  Settle();
  EXPECT_EQ(Find<PhotoSingleView>(), nullptr);
  Run(30000);  // the channel banner of the live picture's return closes
  Settle();
  EXPECT_EQ(differ(live), "") << "back on the live picture";
}

// Thumbnails come at the grid's cell size, upright, and centred on black:
// a photo stored on its side (EXIF orientation 6) stands in a 3:4 box with
// bars left and right, a 4:3 photo fills its cell.
TEST_F(MediaListViewTest, GridThumbnailsStandUprightAndFillTheirCells) {
  auto halves = [](int w, int h, uint32_t left, uint32_t right, uint16_t orientation) {
    std::vector<uint8_t> rgb(size_t(w) * size_t(h) * 3);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const uint32_t c = x < w / 2 ? left : right;
        uint8_t* p = &rgb[(size_t(y) * size_t(w) + size_t(x)) * 3];
        p[0] = uint8_t(c >> 16), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c);
      }
    return media_writer::EncodeJpeg(rgb, w, h, 95, media_writer::ExifBlock(orientation, "", "", ""));
  };
  WriteStick("Stick", {"a.jpg"});
  // Stored red left, blue right; turned a quarter clockwise: red on top.
  media_writer::WriteBytes(StickDir("Stick") + "/b-side.jpg", halves(1600, 1200, 0xC80000, 0x0000C8, 6));
  media_writer::WriteBytes(StickDir("Stick") + "/c-wide.jpg", halves(1600, 1200, 0x00C800, 0x00C800, 1));
  Plug("Stick");
  W()->OnSetPhotoBrowseMode(0);
  PhotoMultiView* grid = OpenBrowser<PhotoMultiView>();
  ASSERT_NE(grid, nullptr);
  Run(1000);
  Settle();
  std::vector<kv::Rect> cells;
  for (Forms::Ctrl* c : grid->Grid().GetAllCells()) cells.push_back(c->GetAbsoluteBounds());
  ASSERT_GE(cells.size(), 3u);
  // The OSD colour at (x, y) of a cell, each channel rounded to 0 or 200.
  auto at = [&](const kv::Rect& cell, int x, int y) {
    const uint32_t p = Osd().Row(cell.y1 + y)[cell.x1 + x];
    uint32_t out = 0;
    for (int k = 0; k < 3; ++k) out |= (((p >> (8 * k)) & 0xFF) > 100 ? 0xC8u : 0u) << (8 * k);
    return out;
  };
  constexpr uint32_t kRed = 0x0000C8, kBlue = 0xC80000, kGreen = 0x00C800;  // red in the low byte
  ASSERT_EQ(cells[1].W(), 104);
  ASSERT_EQ(cells[1].H(), 78);
  // 58 x 78 in the middle of 104 x 78: bars of 23 pixels at each side.
  EXPECT_EQ(at(cells[1], 52, 10), kRed);
  EXPECT_EQ(at(cells[1], 52, 68), kBlue);
  EXPECT_EQ(at(cells[1], 12, 39), 0u);
  EXPECT_EQ(at(cells[1], 92, 39), 0u);
  for (const auto& [x, y] : {std::pair{4, 4}, {99, 4}, {4, 73}, {99, 73}, {52, 39}})
    EXPECT_EQ(at(cells[2], x, y), kGreen) << x << "," << y;
}

// The photo list's preview shows the focused picture's own thumbnail, and
// the folder picture on a folder row.
TEST_F(MediaListViewTest, ThePhotoListPreviewShowsTheFocusedPicture) {
  std::filesystem::create_directories(StickDir("Stick") + "/Trip");
  media_writer::WriteBytes(StickDir("Stick") + "/a.jpg", media_writer::Jpeg(160, 90, 0xFF0000, 0xFF0000));
  media_writer::WriteBytes(StickDir("Stick") + "/b.jpg", media_writer::Jpeg(160, 90, 0x00FF00, 0x00FF00));
  Plug("Stick");
  W()->OnSetPhotoBrowseMode(1);
  PhotoListView* v = OpenBrowser<PhotoListView>();
  ASSERT_NE(v, nullptr);
  // The colour in the middle of the preview, each channel high or none.
  const auto middle = [this] {
    const uint32_t p = Osd().Row(190)[720];
    return ((p & 0xFF) > 0x80 ? 0xFF0000u : 0u) | (((p >> 8) & 0xFF) > 0x80 ? 0x00FF00u : 0u) |
           (((p >> 16) & 0xFF) > 0x80 ? 0x0000FFu : 0u);
  };
  ASSERT_EQ(FocusedText(&v->List()), "Trip");
  const uint32_t folder = middle();
  EXPECT_NE(folder, 0xFF0000u);
  EXPECT_NE(folder, 0x00FF00u);
  const uint32_t expected[2] = {0xFF0000, 0x00FF00};
  for (uint32_t colour : expected) {
    Press("down");
    Run(1000);
    Settle();
    EXPECT_EQ(middle(), colour) << FocusedText(&v->List());
  }
  Press("up", 2);
  Run(1000);
  Settle();
  EXPECT_EQ(middle(), folder);
}

TEST_F(MediaListViewTest, ThePhotoBrowseModeSwapsTheListAndTheGridOnTheSameMedium) {
  StickOf({"a.jpg", "b.jpg"});
  W()->OnSetPhotoBrowseMode(1);
  PhotoListView* list = OpenBrowser<PhotoListView>();
  ASSERT_NE(list, nullptr);
  W()->OnSetPhotoBrowseMode(1);  // list again: nothing changes
  Settle();
  EXPECT_EQ(Find<PhotoListView>(), list);
  W()->OnSetPhotoBrowseMode(0);
  Run(600);
  Settle();
  EXPECT_EQ(Find<PhotoListView>(), nullptr);
  PhotoMultiView* grid = Find<PhotoMultiView>();
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->Grid().GetItemsCount(), 2);
  W()->OnSetPhotoBrowseMode(1);
  Run(600);
  Settle();
  EXPECT_EQ(Find<PhotoMultiView>(), nullptr);
  list = Find<PhotoListView>();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(RowTexts(list), (std::vector<std::string>{"a.jpg", "b.jpg"}));
  // The next key still answers.
  Press("down");
  Settle();
  EXPECT_EQ(FocusedText(&list->List()), "b.jpg");
}

// --- Census ---------------------------------------------------------------------------------

TEST_F(MediaListViewTest, EachBrowseScreenOpenedAndClosed50TimesReturnsToItsBaseline) {
  StickOf({"a.jpg", "b.wav", "c.avi", "F/"});
  const kv::Class* classes[] = {&PhotoListView::StaticClass(), &PhotoMultiView::StaticClass(),
                                &MusicListView::StaticClass(), &MovieListView::StaticClass(),
                                &USBMediaPlayerMenu::StaticClass()};
  ExpectCensusBaseline(5, [&](int kind) {
    auto* p = kv::New<SelectedParam>();
    auto* state = kv::New<SubSystem::State>();
    state->Class = classes[kind];
    state->Param = p;
    state->PrevState = &MediaDeviceSelectDialog::StaticClass();
    kv::Persistent<SubSystem::State> keep(state);
    Nms()->ChangeState(state);
    Run(600);
    Press("down");
    Press("exit");
    Settle();
  });
}

}  // namespace
}  // namespace listtest
