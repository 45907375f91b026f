// The photo frame and the wallpaper pages through the whole system: the
// wallpaper written where the media service keeps it, the screens opened by
// a state change (no key leads to them), the picture checked on the OSD.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "media_writer.h"
#include "menusystem_support.h"
#include "platform/psl/psl.h"
#include "units/Events/StatusEvent.h"
#include "units/MainApp/Standby.h"
#include "units/MediaPlayer/PhotoFrame.h"
#include "units/MediaPlayer/PhotoMultiView.h"
#include "units/MediaPlayer/RendererSetupPages.h"
#include "units/MediaPlayer/WallpaperMenus.h"
#include "units/Media/MediaWrapper.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/WinIDs/WinIDs.h"
#include "units/MenuSystem/SettingPages.h"

namespace menutest {
namespace {

using namespace MediaPlayer;

constexpr uint32_t kRed = 0x0000C8;    // OSD word: red in the low byte
constexpr uint32_t kBlue = 0xC80000;
constexpr uint32_t kGreen = 0x00C800;
constexpr uint32_t kWhite = 0xC8C8C8;

// A 16:9 picture in four quadrants: red and blue above, green and white below.
std::vector<uint8_t> Quadrants(int w, int h) {
  std::vector<uint8_t> rgb(size_t(w) * size_t(h) * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t c = y < h / 2 ? (x < w / 2 ? 0xC80000u : 0x0000C8u) : (x < w / 2 ? 0x00C800u : 0xC8C8C8u);
      uint8_t* p = &rgb[(size_t(y) * size_t(w) + size_t(x)) * 3];
      p[0] = uint8_t(c >> 16), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c);
    }
  return media_writer::EncodeJpeg(rgb, w, h, 95);
}

class PhotoFrameTest : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    wallpaper_ = (DataDir() / "wallpaper" / "holiday.jpg").string();
    media_writer::WriteBytes(wallpaper_, Quadrants(960, 540));
    // The set's default wallpaper is looked for in the working folder: work
    // in the data folder, so that one left in the build folder (by
    // sample_media) is not taken for the set's own.
    workedIn_ = std::filesystem::current_path();
    std::filesystem::current_path(DataDir());
  }
  void TearDown() override {
    std::filesystem::current_path(workedIn_);
    MenuTest::TearDown();
  }
  // The OSD colour at (x, y) without alpha, each channel rounded to 0 or 200.
  uint32_t At(int x, int y) {
    const uint32_t p = Osd().Row(y)[x];
    uint32_t out = 0;
    for (int k = 0; k < 3; ++k) out |= (((p >> (8 * k)) & 0xFF) > 100 ? 0xC8u : 0u) << (8 * k);
    return out;
  }
  PhotoFrame* Frame() { return kv::Cast<PhotoFrame>(Wm()->FindForm(WinIDs::WIN_ID_PhotoFrame)); }
  PhotoFrame* OpenFrame() {
    OpenScreen<PhotoFrame>();
    Run(10);
    Settle();
    return Frame();
  }
  std::string wallpaper_;
  std::filesystem::path workedIn_;
};

TEST_F(PhotoFrameTest, FrameShowsTheWallpaperOnTheMediaInputAndGivesTheSourceBack) {
  const int32_t before = W()->GetCurrentSource(0);
  ASSERT_NE(before, 22);
  kv::Persistent<PhotoFrame> frame{OpenFrame()};
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(W()->GetCurrentSource(0), 22);
  EXPECT_EQ(frame->WallpaperPath().ToUtf8(), std::filesystem::canonical(wallpaper_).string());
  // The whole screen is the picture, quadrant by quadrant.
  EXPECT_EQ(At(240, 135), kRed);
  EXPECT_EQ(At(720, 135), kBlue);
  EXPECT_EQ(At(240, 405), kGreen);
  EXPECT_EQ(At(720, 405), kWhite);
  // It stays: no time-out closes it.
  Run(600000 - 1000);
  EXPECT_EQ(Frame(), frame.get());
  Press("exit");
  Settle();
  EXPECT_EQ(Frame(), nullptr);
  EXPECT_EQ(W()->GetCurrentSource(0), before);
  // The next key still answers: the menu opens.
  Press("menu");
  Settle();
  EXPECT_NE(Column(), nullptr);
}

TEST_F(PhotoFrameTest, TheMediaInputOfTheFrameIsNoTileOfTheBrowsersHistory) {
  const int32_t before = W()->GetCurrentSource(0);
  kv::Persistent<PhotoFrame> frame{OpenFrame()};
  ASSERT_NE(frame, nullptr);
  Run(6000);  // longer than the history's wait before it keeps a source
  Press("exit");
  Run(1000);
  ASSERT_EQ(W()->GetCurrentSource(0), before);
  // The history strip holds the channel watched, and no tile that would
  // tune the media input bare, with no screen to leave it by.
  Press("browse");
  Run(600);
  ASSERT_TRUE(Sees("History")) << SeenList();
  EXPECT_TRUE(Sees("2-1")) << SeenList();
  EXPECT_FALSE(Sees("Media")) << SeenList();
  Press("left");
  Run(1000);
  Press("back");
  Run(1000);
  EXPECT_EQ(W()->GetCurrentSource(0), before);
  Press("info");
  Run(500);
  EXPECT_TRUE(Sees("2-1")) << SeenList();
}

TEST_F(PhotoFrameTest, SixteenShiftsCircleAroundTheFirstMoveOnScreen) {
  kv::Persistent<PhotoFrame> frame{OpenFrame()};
  ASSERT_NE(frame, nullptr);
  ASSERT_EQ(At(481, 100), kBlue);
  // Every five minutes one step; the first moves by (4, 4).
  Run(PhotoFrame::kMovePeriod - 1000);
  EXPECT_EQ(frame->Picture().Bounds().x1, 0);
  Run(1000);
  Settle();
  EXPECT_EQ(frame->Picture().Bounds().x1, 4);
  EXPECT_EQ(frame->Picture().Bounds().y1, 4);
  EXPECT_EQ(At(481, 100), kRed);  // the red half now reaches x 483
  EXPECT_EQ(At(485, 100), kBlue);
  const kv::Point expected[16] = {{8, 4}, {8, 0}, {8, -4}, {4, -4}, {4, -8}, {0, -8}, {-4, -8}, {-4, -4},
                                  {-8, -4}, {-8, 0}, {-8, 4}, {-4, 4}, {-4, 8}, {0, 8}, {4, 8}, {4, 4}};
  for (int i = 0; i < 16; ++i) {
    SCOPED_TRACE(i);
    Run(PhotoFrame::kMovePeriod);
    const kv::Rect b = frame->Picture().Bounds();
    EXPECT_EQ(b.x1, expected[i].x);
    EXPECT_EQ(b.y1, expected[i].y);
    EXPECT_EQ(b.W(), 960);
  }
  // Back at (4, 4) after sixteen: drawn there too.
  Settle();
  EXPECT_EQ(At(481, 100), kRed);
  EXPECT_EQ(At(485, 100), kBlue);
  EXPECT_EQ(At(240, 2), 0u);  // the top rows above the picture are black
}

TEST_F(PhotoFrameTest, AutoPowerOffPutsTheSetToStandbyOnlyAtItsTime) {
  struct Case {
    int32_t choice;
    int32_t periods;  // -1: never
  };
  // The standby case last: the set stays in standby.
  for (const Case c : {Case{0, -1}, Case{7, -1}, Case{1, 6}}) {
    SCOPED_TRACE(c.choice);
    Skin()->OnSetTV_Auto_PowerOff(c.choice);
    kv::Persistent<PhotoFrame> frame{OpenFrame()};
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->PowerOffCountdown(), c.periods);
    const int32_t wait = c.periods > 0 ? c.periods : 12;
    Run(int64_t(PhotoFrame::kMovePeriod) * (wait - 1));
    EXPECT_EQ(Frame(), frame.get());
    EXPECT_FALSE(App().GetStandby()->IsInStandby());
    Run(PhotoFrame::kMovePeriod);
    Settle();
    if (c.periods > 0) {
      EXPECT_EQ(Frame(), nullptr);
      EXPECT_TRUE(App().GetStandby()->IsInStandby());
      EXPECT_EQ(Calls("XPM_StandbyMode").size(), 1u);
    } else {
      EXPECT_EQ(Frame(), frame.get());
      EXPECT_FALSE(App().GetStandby()->IsInStandby());
      Press("back");
      Settle();
      EXPECT_EQ(Frame(), nullptr);
    }
  }
}

TEST_F(PhotoFrameTest, PluggedStickClosesTheFrameAndAsksToOpenItOnlyWithAutoStart) {
  for (int32_t autoStart : {0, 1}) {
    SCOPED_TRACE(autoStart);
    Skin()->OnSetUSBSDAutoStart(autoStart);
    kv::Persistent<PhotoFrame> frame{OpenFrame()};
    ASSERT_NE(frame, nullptr);
    Log().Clear();
    auto* status = kv::New<Events::StatusEvent>();
    status->Initialize(18, 4, 0, 3, 0);
    frame->HandleEvent(status);
    Settle();
    if (autoStart == 1) {
      EXPECT_EQ(Frame(), nullptr);
      EXPECT_TRUE(Logged("asking to open medium 3"));
      EXPECT_NE(W()->GetCurrentSource(0), 22);
    } else {
      EXPECT_EQ(Frame(), frame.get());
      EXPECT_FALSE(Logged("asking to open medium"));
      Press("exit");
      Settle();
    }
  }
}

// The preview of the wallpaper pages: at (235, 45) in the page, 490 x 330;
// a 16:9 picture fills its width.
constexpr int kPreviewX = 235, kPreviewY = 45;

class WallpaperPagesTest : public PhotoFrameTest {
 protected:
  uint32_t Preview(int x, int y) {
    kv::Rect page{};
    for (Primitives::KeyRoutingForm* f : OpenForms())
      if (kv::Cast<PhotoFrameMenuTemplate>(f) && f->IsOpen()) page = f->Bounds();
    return At(page.x1 + kPreviewX + x, page.y1 + kPreviewY + y);
  }
  // The four quadrant colours of the preview, top left first.
  std::vector<uint32_t> Corners() {
    return {Preview(122, 96), Preview(367, 96), Preview(122, 234), Preview(367, 234)};
  }
  // The delete question over the edit page (it is the page's own child).
  DeletePhotoFramePhotoDialog* Question(PhotoFrameEdit* page) {
    auto* d = kv::Cast<DeletePhotoFramePhotoDialog>(page->OnGetFocus());
    return d && d->IsOpen() ? d : nullptr;
  }
  PhotoFrameSetup* OpenSetup() {
    PhotoFrameSetup* page = OpenPage<PhotoFrameSetup>();
    Run(10);
    Settle();
    return page;
  }
  // The setup page's select row, OK: the grid of the one plugged stick in
  // its pick mode, or null.
  PhotoMultiView* PickGrid() {
    Skin()->OnSetPhotoBrowseMode(0);
    PhotoFrameSetup* page = OpenSetup();
    if (!page) return nullptr;
    for (int i = 0; i < 8 && Focused() != page->SelectItem(); ++i) Press("up");
    Press("ok");
    Run(1600);
    Settle();
    auto* grid = kv::Cast<PhotoMultiView>(Wm()->FindFormOf(&PhotoMultiView::StaticClass()));
    return grid && grid->IsOpen() && grid->IsPickMode() ? grid : nullptr;
  }
};

TEST_F(WallpaperPagesTest, SetupPageWrapsItsColumnAndStartsTheFrameFromItsButton) {
  kv::Persistent<PhotoFrameSetup> page{OpenSetup()};
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(W()->GetCurrentSource(0), 22);
  EXPECT_EQ(Corners(), (std::vector<uint32_t>{kRed, kBlue, kGreen, kWhite}));
  ASSERT_EQ(Focused(), page->SelectItem());
  EXPECT_FALSE(page->EditItem()->OnGetIsDisabled());
  // Up on the first row reaches the last, down on the last the first.
  Press("up");
  EXPECT_EQ(Focused(), page->PowerOffItem());
  Press("down");
  EXPECT_EQ(Focused(), page->SelectItem());
  Press("down", 2);
  ASSERT_EQ(Focused(), page->PowerOffItem());
  // Auto power-off steps in place and reaches the settings.
  const int32_t before = Skin()->OnGetTV_Auto_PowerOff();
  Press("right");
  EXPECT_EQ(Focused(), page->PowerOffItem());
  // Right stores the row and moves to Start: the value row takes left and
  // right itself, so Start is reached from the other rows.
  Press("up");
  Press("right");
  EXPECT_EQ(Focused(), &page->StartButton());
  Press("up");
  Press("down");
  EXPECT_EQ(Focused(), &page->StartButton());
  Press("left");
  EXPECT_EQ(Focused(), page->EditItem());
  EXPECT_NE(Skin()->OnGetTV_Auto_PowerOff(), before);
  Press("right");
  Press("ok");
  Run(10);
  Settle();
  EXPECT_NE(Frame(), nullptr);
  EXPECT_FALSE(page->IsOpen());
  EXPECT_EQ(At(240, 135), kRed);
  Press("exit");
  Settle();
  EXPECT_EQ(Frame(), nullptr);
}

// Live TV's banner of the channel on screen goes when the photo frame or a
// wallpaper page opens over it (each by a state change, as the gallery's
// scene opens them): the frame shows the media input, the pages the
// wallpaper, neither the channel the banner names.
TEST_F(WallpaperPagesTest, NoTunerBannerOverTheFrameOrTheWallpaperPages) {
  auto bannerTexts = [&] {
    size_t n = 0;
    for (const Core::SeenText& t : SeenTexts()) n += t.where.find("NonMenuSystem::InfoBanner") != std::string::npos;
    return n;
  };
  auto channelBanner = [&] {
    Press("ch+");
    for (int i = 0; i < 10 && !bannerTexts(); ++i) Run(500);
    return bannerTexts();
  };
  ASSERT_GT(channelBanner(), 0u) << SeenList();
  kv::Persistent<PhotoFrame> frame{OpenFrame()};
  ASSERT_NE(frame, nullptr);
  Run(500);
  EXPECT_EQ(bannerTexts(), 0u) << SeenList();
  EXPECT_EQ(At(240, 135), kRed);
  EXPECT_EQ(At(720, 135), kBlue);
  Press("exit");
  Settle();
  ASSERT_EQ(Frame(), nullptr);
  ASSERT_GT(channelBanner(), 0u) << SeenList();
  kv::Persistent<PhotoFrameEdit> edit{OpenPage<PhotoFrameEdit>()};
  ASSERT_NE(edit, nullptr);
  Run(500);
  EXPECT_EQ(bannerTexts(), 0u) << SeenList();
  Press("exit");
  Settle();
  ASSERT_GT(channelBanner(), 0u) << SeenList();
  kv::Persistent<PhotoFrameSetup> setup{OpenSetup()};
  ASSERT_NE(setup, nullptr);
  Run(500);
  EXPECT_EQ(bannerTexts(), 0u) << SeenList();
  // The next key still answers: Start shows the frame, still without it.
  Press("right");
  Press("ok");
  Run(500);
  Settle();
  EXPECT_NE(Frame(), nullptr);
  EXPECT_EQ(bannerTexts(), 0u) << SeenList();
}

TEST_F(WallpaperPagesTest, BackLeavesForThePreferencesAndGivesTheSourceBack) {
  const int32_t before = W()->GetCurrentSource(0);
  kv::Persistent<PhotoFrameSetup> page{OpenSetup()};
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(W()->GetCurrentSource(0), 22);
  // Keys other than the navigation ones do nothing here.
  Press("5");
  Press("info");
  EXPECT_TRUE(page->IsOpen());
  Press("back");
  Settle();
  EXPECT_FALSE(page->IsOpen());
  EXPECT_EQ(W()->GetCurrentSource(0), before);
  EXPECT_NE(Open<MenuSystem::PreferencesMenu>(), nullptr);
  // The edit page goes back to the setup page.
  kv::Persistent<PhotoFrameEdit> edit{OpenPage<PhotoFrameEdit>()};
  ASSERT_NE(edit, nullptr);
  Press("back");
  Settle();
  EXPECT_FALSE(edit->IsOpen());
  EXPECT_NE(Open<PhotoFrameSetup>(), nullptr);
}

TEST_F(WallpaperPagesTest, RotatingFourTimesTurnsThePreviewAndReloadsTheFileAtZero) {
  kv::Persistent<PhotoFrameEdit> page{OpenPage<PhotoFrameEdit>()};
  ASSERT_NE(page, nullptr);
  Run(10);
  Settle();
  ASSERT_EQ(Focused(), page->RotateItem());
  EXPECT_EQ(Corners(), (std::vector<uint32_t>{kRed, kBlue, kGreen, kWhite}));
  ClearCallLog();
  const int32_t expected[4] = {90, 180, 270, 0};
  std::vector<std::vector<uint32_t>> seen;
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    Press("ok");
    Settle();
    EXPECT_EQ(Skin()->OnGetWallpaperOrientation(), expected[i]);
    // The turned picture is upright on its side: its middle row differs.
    seen.push_back({Preview(245, 40), Preview(245, 290), Preview(150, 165), Preview(340, 165)});
  }
  // 180 and 0 read the file again; 90 and 270 turn the shown picture.
  EXPECT_EQ(Calls("PslGuiDecodeImage").size(), 2u);
  EXPECT_EQ(Corners(), (std::vector<uint32_t>{kRed, kBlue, kGreen, kWhite}));
  EXPECT_NE(seen[0], seen[3]);
  EXPECT_NE(seen[1], seen[3]);
  // The frame shows the stored angle: turned to 90, red is at the top right.
  Press("ok");
  Settle();
  ASSERT_EQ(Skin()->OnGetWallpaperOrientation(), 90);
  Press("exit");
  Settle();
  kv::Persistent<PhotoFrame> frame{OpenFrame()};
  ASSERT_NE(frame, nullptr);
  EXPECT_NE(At(480, 270), 0u);
  EXPECT_EQ(At(100, 270), 0u);  // a picture on its side leaves the sides black
}

TEST_F(WallpaperPagesTest, DefaultWallpaperIsNeverTurnedNorEdited) {
  std::filesystem::remove_all(DataDir() / "wallpaper");
  // The default wallpaper is a file of the working folder: the fixture works
  // in the data folder.
  const std::string def = psl::MediaDefaultWallpaperName;
  const bool made = !std::filesystem::exists(def);
  if (made) media_writer::WriteBytes(def, Quadrants(960, 540));
  psl::SetDefaultWallpaper(def);
  Skin()->OnSetWallpaperOrientation(90);
  kv::Persistent<PhotoFrameSetup> page{OpenSetup()};
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(page->EditItem()->OnGetIsDisabled());
  Press("down");
  ASSERT_EQ(Focused(), page->EditItem());
  Press("ok");
  Settle();
  EXPECT_TRUE(page->IsOpen());
  EXPECT_EQ(Open<PhotoFrameEdit>(), nullptr);
  kv::Persistent<PhotoFrameEdit> edit{OpenPage<PhotoFrameEdit>()};
  ASSERT_NE(edit, nullptr);
  EXPECT_TRUE(edit->DeleteItem()->OnGetIsDisabled());
  EXPECT_TRUE(edit->RotateItem()->OnGetIsDisabled());
  Press("ok");
  Settle();
  EXPECT_EQ(Skin()->OnGetWallpaperOrientation(), 90);
  Press("exit");
  Settle();
  ClearCallLog();
  kv::Persistent<PhotoFrame> frame{OpenFrame()};
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->WallpaperPath().ToUtf8(), def);
  EXPECT_EQ(Calls("PslGuiDecodeImage").size(), 1u);
  EXPECT_TRUE(Calls("PslGuiRotateImage").empty());
  EXPECT_EQ(At(400, 300), kGreen);
  EXPECT_EQ(At(600, 300), kWhite);
  Press("exit");
  Settle();
  psl::SetDefaultWallpaper("");
  if (made) std::filesystem::remove(def);
}

TEST_F(WallpaperPagesTest, PluggedStickOnTheSetupPageAsksToOpenIt) {
  Skin()->OnSetUSBSDAutoStart(1);
  kv::Persistent<PhotoFrameSetup> page{OpenSetup()};
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(W()->GetCurrentSource(0), 22);
  Log().Clear();
  auto* status = kv::New<Events::StatusEvent>();
  status->Initialize(18, 4, 0, 2, 0);
  page->HandleEvent(status);
  Settle();
  EXPECT_TRUE(Logged("asking to open medium 2"));
  EXPECT_NE(W()->GetCurrentSource(0), 22);
  // Another status event is taken and changes nothing.
  auto* other = kv::New<Events::StatusEvent>();
  other->Initialize(18, 5, 0, 2, 0);
  EXPECT_EQ(page->HandleEvent(other), page.get());
}

TEST_F(WallpaperPagesTest, DeleteWithEachChoiceAndBack) {
  Skin()->OnSetWallpaperOrientation(180);
  kv::Persistent<PhotoFrameEdit> page{OpenPage<PhotoFrameEdit>()};
  ASSERT_NE(page, nullptr);
  Run(10);
  Settle();
  ASSERT_EQ(Corners(), (std::vector<uint32_t>{kWhite, kGreen, kBlue, kRed}));  // turned upside down
  Press("up");
  ASSERT_EQ(Focused(), page->DeleteItem());
  ClearCallLog();
  // The question opens on No: OK only returns to the delete item.
  Press("ok");
  Settle();
  auto* dialog = Question(page.get());
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->Choice().OnGetIndex(), 1);
  EXPECT_EQ(dialog->Choice().OnGetText().ToUtf8(), "No");
  Press("ok");
  Settle();
  EXPECT_EQ(Question(page.get()), nullptr);
  EXPECT_EQ(Focused(), page->DeleteItem());
  EXPECT_TRUE(std::filesystem::exists(wallpaper_));
  EXPECT_TRUE(Calls("PslMediaWallpaperDelete").empty());
  // Back closes the question and keeps everything.
  Press("ok");
  Settle();
  ASSERT_NE(Question(page.get()), nullptr);
  Press("back");
  Settle();
  EXPECT_EQ(Question(page.get()), nullptr);
  EXPECT_TRUE(page->IsOpen());
  EXPECT_EQ(Focused(), page->DeleteItem());
  EXPECT_TRUE(std::filesystem::exists(wallpaper_));
  // Yes deletes the picture and its angle; the page has nothing to edit.
  Press("ok");
  Settle();
  dialog = Question(page.get());
  ASSERT_NE(dialog, nullptr);
  Press("left");
  EXPECT_EQ(dialog->Choice().OnGetIndex(), 0);
  Press("ok");
  Run(10);
  Settle();
  EXPECT_EQ(Calls("PslMediaWallpaperDelete").size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(wallpaper_));
  EXPECT_EQ(Skin()->OnGetWallpaperOrientation(), 0);
  EXPECT_EQ(Focused(), page->DeleteItem());
  EXPECT_TRUE(page->DeleteItem()->OnGetIsDisabled());
  EXPECT_TRUE(page->RotateItem()->OnGetIsDisabled());
  EXPECT_EQ(Corners(), (std::vector<uint32_t>{0u, 0u, 0u, 0u}));
  // The next key still answers: back to the setup page.
  Press("back");
  Settle();
  EXPECT_NE(Open<PhotoFrameSetup>(), nullptr);
}

// The select row picks a photo in the grid of the plugged stick. A copy that
// fails (a picture the service cannot read) keeps the user on the grid with
// the unsupported-file bar, and the stored wallpaper and its angle stay; a
// good one becomes the wallpaper at angle 0 and the setup page comes back.
TEST_F(WallpaperPagesTest, PickingAPhotoKeepsTheOldWallpaperWhenTheCopyFails) {
  const std::string stick = (DataDir() / "sticks" / "Pictures").string();
  const std::vector<uint8_t> good = Quadrants(320, 180);
  media_writer::WriteBytes(stick + "/a-broken.jpg",
                           std::vector<uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(good.size() / 3)));
  media_writer::WriteBytes(stick + "/b-good.jpg", good);
  ASSERT_GT(psl::PlugFolder(stick), 0);
  Settle();
  Skin()->OnSetPhotoBrowseMode(0);
  Skin()->OnSetWallpaperOrientation(90);
  kv::Persistent<PhotoFrameSetup> page{OpenSetup()};
  ASSERT_NE(page, nullptr);
  while (Focused() != page->SelectItem()) Press("up");
  // The one stick is opened straight away, in the grid's pick mode.
  Press("ok");
  Run(600);
  Settle();
  kv::Persistent<PhotoMultiView> grid{kv::Cast<PhotoMultiView>(Wm()->FindFormOf(&PhotoMultiView::StaticClass()))};
  ASSERT_NE(grid, nullptr);
  ASSERT_TRUE(grid->IsOpen());
  ASSERT_TRUE(grid->IsPickMode());
  Run(1000);
  Settle();
  ASSERT_EQ(grid->TitleText().ToUtf8(), "a-broken.jpg");

  Press("ok");
  Run(10);
  Settle();
  EXPECT_TRUE(grid->IsOpen());
  EXPECT_FALSE(page->IsOpen());
  EXPECT_FALSE(grid->IsBusy());
  kv::Persistent<NonMenuSystem::DirectMessageBar> bar{grid->FailureBar()};
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->IsOpen());
  EXPECT_EQ(bar->OnGetMessageInfo().ToUtf8(), "Unsupported file");
  EXPECT_EQ(Skin()->OnGetWallpaperOrientation(), 90);
  EXPECT_TRUE(std::filesystem::exists(wallpaper_));
  // The bar goes by itself after 2 s; the grid still answers keys.
  Run(2100);
  Settle();
  EXPECT_FALSE(bar->IsOpen());
  Press("right");
  Run(200);
  Settle();
  ASSERT_EQ(grid->TitleText().ToUtf8(), "b-good.jpg");

  Press("ok");
  Run(10);
  Settle();
  EXPECT_FALSE(grid->IsOpen());
  EXPECT_NE(Open<PhotoFrameSetup>(), nullptr);
  EXPECT_EQ(Skin()->OnGetWallpaperOrientation(), 0);
  EXPECT_EQ(Corners(), (std::vector<uint32_t>{kRed, kBlue, kGreen, kWhite}));
  Press("exit");
  Settle();

  // What is stored: the new picture at angle 0.
  Restart();
  EXPECT_EQ(Skin()->OnGetWallpaperOrientation(), 0);
  EXPECT_EQ(std::filesystem::path(kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper)->GetWallpaperPath().ToUtf8()).filename(), "b-good.jpg");
  EXPECT_FALSE(std::filesystem::exists(wallpaper_));
}

// After a failed copy alone, a restart finds the old wallpaper and angle.
TEST_F(WallpaperPagesTest, AFailedCopyLeavesTheStoredWallpaperAfterARestart) {
  const std::string stick = (DataDir() / "sticks" / "Pictures").string();
  media_writer::WriteBytes(stick + "/broken.jpg", std::vector<uint8_t>{0xFF, 0xD8, 0xFF, 0xE0, 0, 16});
  ASSERT_GT(psl::PlugFolder(stick), 0);
  Settle();
  Skin()->OnSetWallpaperOrientation(270);
  kv::Persistent<PhotoMultiView> grid{PickGrid()};
  ASSERT_NE(grid, nullptr);
  Press("ok");
  Run(10);
  Settle();
  EXPECT_TRUE(grid->IsOpen());
  EXPECT_TRUE(grid->FailureBar() && grid->FailureBar()->IsOpen());
  Press("exit");
  Settle();
  Restart();
  EXPECT_EQ(Skin()->OnGetWallpaperOrientation(), 270);
  EXPECT_EQ(std::filesystem::path(kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper)->GetWallpaperPath().ToUtf8()).filename(), "holiday.jpg");
}

// A photo whose name is no UTF-8 is as good a frame picture as any: the
// setup page's preview, the frame and, after a restart, the frame again show
// it.
TEST_F(WallpaperPagesTest, APhotoNamedInAnyBytesBecomesTheFramePictureAndStaysAfterARestart) {
  const std::string stick = (DataDir() / "sticks" / "Pictures").string();
  media_writer::WriteBytes(stick + "/bad-utf8-\xFF\xFE.jpg", Quadrants(960, 540));
  media_writer::WriteBytes(stick + "/forest.jpg", media_writer::Jpeg(320, 180, 0x103010, 0x90D060));
  ASSERT_GT(psl::PlugFolder(stick), 0);
  Settle();
  kv::Persistent<PhotoMultiView> grid{PickGrid()};
  ASSERT_NE(grid, nullptr);
  Press("ok");
  Run(10);
  Settle();
  ASSERT_NE(Open<PhotoFrameSetup>(), nullptr);
  EXPECT_EQ(Corners(), (std::vector<uint32_t>{kRed, kBlue, kGreen, kWhite}));
  Press("exit");
  Settle();

  Restart();
  kv::Persistent<PhotoFrame> frame{OpenFrame()};
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(At(240, 135), kRed);
  EXPECT_EQ(At(720, 135), kBlue);
  EXPECT_EQ(At(240, 405), kGreen);
  EXPECT_EQ(At(720, 405), kWhite);
}

TEST_F(WallpaperPagesTest, FramePagesAndRendererPagesOpenedFiftyTimesLeaveNothingBehind) {
  auto cycle = [&] {
    ASSERT_NE(OpenSetup(), nullptr);
    Press("right");
    Press("exit");
    Settle();
    ASSERT_NE(OpenPage<PhotoFrameEdit>(), nullptr);
    Run(10);
    Press("ok");
    Press("back");
    Settle();
    Press("exit");
    Settle();
    ASSERT_NE(OpenFrame(), nullptr);
    Press("exit");
    Settle();
    ASSERT_EQ(Frame(), nullptr);
    ASSERT_NE(OpenPage<MediaRenderSetupMenu>(5), nullptr);
    Press("7");
    Press("exit");
    Settle();
    ASSERT_NE(OpenPage<MediaControllerSetupMenu>(), nullptr);
    Press("back");
    Settle();
    Press("exit");
    Settle();
    ASSERT_NE(OpenPage<MediaPlayerSetupMenu>(), nullptr);
    Press("exit");
    Settle();
  };
  cycle();
  const auto baseline = Census();
  for (int i = 0; i < 50; ++i) cycle();
  EXPECT_EQ(Census(), baseline);
  EXPECT_EQ(Frame(), nullptr);
}

}  // namespace
}  // namespace menutest
