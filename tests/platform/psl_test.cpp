// The media service stand-in on real files in a fresh data folder: sticks
// and servers coming and going, browsing, metadata, pictures, playlists and
// the simulated players on the fake clock.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/sim/sim_net_state.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm_record.h"
#include "platform/xpm/xpm_settings.h"
#include "psl_fixture.h"
#include "runtime/collector.h"

namespace psltest {
namespace fs = std::filesystem;

std::vector<XPM_DmrStatusPayload> g_dmr;

uint8_t Red(uint32_t p) { return uint8_t(p); }
uint8_t Blue(uint32_t p) { return uint8_t(p >> 16); }

TEST_F(PslTest, SticksComeAndGoWithOneDeviceNumberAndALink) {
  Start();
  WriteJpeg(Media("usb/Holiday/a.jpg"), 8, 8, 0xFF0000, 0xFF0000);
  psl::Rescan();
  auto st = TakeStatus();
  ASSERT_EQ(st.size(), 1u);
  EXPECT_EQ(st[0].code, 18);
  EXPECT_EQ(st[0].subCode[0], 4);
  EXPECT_EQ(st[0].subCode[2], 242);
  EXPECT_TRUE(fs::is_symlink(dir_ / "mnt/usb1"));

  auto roots = Roots();
  ASSERT_EQ(roots.size(), 1u);
  EXPECT_EQ(roots[0]->uri, "file:///mnt/usb1");
  EXPECT_EQ(roots[0]->title, "Holiday");
  EXPECT_EQ(roots[0]->rootClass, PSL_ROOT_USB);

  // A second folder is the second stick; the same folder again changes nothing.
  const std::string other = Media("elsewhere/Stick2");
  fs::create_directories(other);
  EXPECT_EQ(psl::PlugFolder(other), 2);
  EXPECT_EQ(psl::PlugFolder(other), 2);
  st = TakeStatus();
  ASSERT_EQ(st.size(), 1u);
  EXPECT_EQ(st[0].subCode[2], 243);

  // The folder vanishing removes the stick with its number.
  fs::remove_all(dir_ / "media/usb/Holiday");
  psl::Rescan();
  st = TakeStatus();
  ASSERT_EQ(st.size(), 1u);
  EXPECT_EQ(st[0].code, 18);
  EXPECT_EQ(st[0].subCode[0], 5);
  EXPECT_EQ(st[0].subCode[2], 242);
  EXPECT_FALSE(fs::is_symlink(dir_ / "mnt/usb1"));
  EXPECT_EQ(Roots().size(), 1u);
}

// The folders given with --media-dir are plugged at start; Ctrl+U pulls them
// out and plugs them in again, with the same device number.
TEST_F(PslTest, StartupFoldersArePluggedAndToggled) {
  const std::string stick = Media("elsewhere/Given");
  WriteJpeg(stick + "/a.jpg", 8, 8, 0xFF0000, 0xFF0000);
  psl::SetStartupFolders({stick});
  Start();
  auto codes = [&] {
    std::vector<std::pair<int, int>> out;
    for (const auto& st : TakeStatus()) out.emplace_back(st.subCode[0], st.subCode[2]);
    return out;
  };
  EXPECT_EQ(codes(), (std::vector<std::pair<int, int>>{{4, 242}}));
  ASSERT_EQ(Roots().size(), 1u);
  psl::ToggleStartupFolders();
  EXPECT_EQ(codes(), (std::vector<std::pair<int, int>>{{5, 242}}));
  EXPECT_TRUE(Roots().empty());
  psl::ToggleStartupFolders();
  EXPECT_EQ(codes(), (std::vector<std::pair<int, int>>{{4, 242}}));
  ASSERT_EQ(Roots().size(), 1u);
  EXPECT_EQ(Roots()[0]->title, "Given");
}

TEST_F(PslTest, OnTheRealClockAFolderAppearingIsPluggedByItself) {
  kv::SetClock(nullptr);  // the real clock: the service watches the media folders
  Start();
  fs::create_directories(Media("usb/Late/sub"));
  std::vector<XPM_MediaStatusPayload> st;
  for (int i = 0; i < 100 && st.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    st = TakeStatus();
  }
  ASSERT_EQ(st.size(), 1u);
  EXPECT_EQ(st[0].subCode[0], 4);
  EXPECT_EQ(st[0].subCode[2], 242);
  fs::remove_all(dir_ / "media/usb/Late");
  st.clear();
  for (int i = 0; i < 100 && st.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    st = TakeStatus();
  }
  ASSERT_EQ(st.size(), 1u);
  EXPECT_EQ(st[0].subCode[0], 5);
  PslDeinit(globalPsl);
  kv::SetClock(&clock_);
}

TEST_F(PslTest, TheSetsUsbDiskIsAStickWhileMounted) {
  Start();
  sim::MountUsbDisk(*tv_);
  auto st = TakeStatus();
  ASSERT_EQ(st.size(), 1u);
  EXPECT_EQ(st[0].subCode[0], 4);
  EXPECT_EQ(Roots().at(0)->uri, "file:///mnt/usb1");
  sim::RemoveUsbDisk(*tv_);
  st = TakeStatus();
  ASSERT_EQ(st.size(), 1u);
  EXPECT_EQ(st[0].subCode[0], 5);
  EXPECT_EQ(st[0].subCode[2], 242);
  EXPECT_TRUE(Roots().empty());
}

TEST_F(PslTest, AtMostFiveSticks) {
  Start();
  for (int i = 1; i <= 6; ++i) fs::create_directories(Media("s/" + std::to_string(i) + "/x"));
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(psl::PlugFolder(Media("s/" + std::to_string(i))), i);
  EXPECT_EQ(psl::PlugFolder(Media("s/6")), 0);
  EXPECT_EQ(TakeStatus().size(), 5u);
}

TEST_F(PslTest, FoldersListPerTypeAndSortModeInPages) {
  Start();
  const std::string stick = Media("usb/S");
  WriteJpeg(stick + "/img10.jpg", 8, 8, 0, 0);
  WriteJpeg(stick + "/img2.jpg", 8, 8, 0, 0);
  WritePng(stick + "/Img1.png", 8, 8, 0);
  WriteWav(stick + "/song.wav", 1);
  std::ofstream(stick + "/notes.txt") << "text";
  WriteJpeg(stick + "/zeta/p1.jpg", 8, 8, 0, 0);
  WriteJpeg(stick + "/zeta/p2.jpg", 8, 8, 0, 0);
  fs::create_directories(stick + "/.hidden");
  psl::Rescan();
  Rec* root = Roots().at(0);

  auto items = Browse(root, PSL_TYPE_PICTURE);
  EXPECT_EQ(Titles(items), (std::vector<std::string>{"zeta", "Img1.png", "img2.jpg", "img10.jpg"}));
  EXPECT_EQ(items[0]->what, "folder");
  EXPECT_EQ(items[0]->count, 2);
  EXPECT_EQ(items[2]->uri, "file:///mnt/usb1/img2.jpg");
  EXPECT_EQ(Titles(Browse(root, PSL_TYPE_MUSIC)), (std::vector<std::string>{"zeta", "song.wav"}));
  EXPECT_EQ(Titles(Browse(root, PSL_TYPE_PICTURE, 2, 1)), (std::vector<std::string>{"img2.jpg"}));
  EXPECT_TRUE(Browse(root, PSL_TYPE_PICTURE, 9, 5).empty());

  // Newest and oldest by file time; sub-folders stay first.
  const auto now = fs::file_time_type::clock::now();
  fs::last_write_time(stick + "/img10.jpg", now - std::chrono::hours(3));
  fs::last_write_time(stick + "/img2.jpg", now - std::chrono::hours(1));
  fs::last_write_time(stick + "/Img1.png", now - std::chrono::hours(2));
  ASSERT_EQ(PslMediaSetSortMode(globalPsl, PSL_SORT_NEWEST), PSL_OK);
  EXPECT_EQ(Titles(Browse(root, PSL_TYPE_PICTURE)), (std::vector<std::string>{"zeta", "img2.jpg", "Img1.png", "img10.jpg"}));
  ASSERT_EQ(PslMediaSetSortMode(globalPsl, PSL_SORT_OLDEST), PSL_OK);
  EXPECT_EQ(Titles(Browse(root, PSL_TYPE_PICTURE)), (std::vector<std::string>{"zeta", "img10.jpg", "Img1.png", "img2.jpg"}));

  // A folder's page, and unknown handles answered as such.
  EXPECT_EQ(Titles(Browse(items[0], PSL_TYPE_PICTURE)), (std::vector<std::string>{"p1.jpg", "p2.jpg"}));
  PslObject none = nullptr;
  EXPECT_EQ(PslMediaConvertObject(globalPsl, 999999, 0, root, &none), PSL_ERR_NOT_FOUND);
  EXPECT_EQ(none, nullptr);
}

TEST_F(PslTest, PictureMetadataCarriesExifAndTheUprightSizeFirst) {
  Start();
  WriteJpeg(Media("usb/S/photo.jpg"), 40, 30, 0xFF0000, 0x0000FF, 6, "Acme", "2023:07:14 18:02:33");
  psl::Rescan();
  Rec* photo = Browse(Roots().at(0), PSL_TYPE_PICTURE).at(0);
  ASSERT_EQ(PslMediaRequestMetadata(globalPsl, photo), PSL_OK);
  ASSERT_EQ(TakeEvents("metadataEvent").size(), 1u);
  ASSERT_TRUE(photo->item);
  EXPECT_EQ(photo->item->strings,
            (std::vector<std::string>{"photo.jpg", "Acme", "Model X", "JPEG", "2023-07-14T18:02:33"}));
  EXPECT_EQ(photo->item->value, 6);
  // Turned upright: 30 wide, 40 high; the size comes before the event.
  EXPECT_EQ(photo->width, 30);
  EXPECT_EQ(photo->height, 40);
  EXPECT_EQ(photo->pictureState, 0);
  EXPECT_EQ(photo->steps, (std::vector<std::string>{"metadata", "info 0", "event"}));
}

TEST_F(PslTest, ThumbnailsStandUpright) {
  Start();
  // Stored with red left, blue right; orientation 6 turns it a quarter clockwise: red on top.
  WriteJpeg(Media("usb/S/turned.jpg"), 640, 480, 0xFF0000, 0x0000FF, 6);
  psl::Rescan();
  Rec* photo = Browse(Roots().at(0), PSL_TYPE_PICTURE).at(0);
  Drain();
  ASSERT_EQ(photo->thumbState, PSL_STATE_READY);
  ASSERT_TRUE(photo->thumb);
  const dfb::Surface& t = *photo->thumb;
  const uint32_t top = t.At(80, 10), bottom = t.At(80, 110);
  EXPECT_GT(Red(top), 200);
  EXPECT_LT(Blue(top), 60);
  EXPECT_GT(Blue(bottom), 200);
  EXPECT_LT(Red(bottom), 60);
  // Left and right of the upright 3:4 picture are black bars.
  EXPECT_EQ(t.At(2, 60) & 0xFFFFFF, 0u);
}

TEST_F(PslTest, BadPicturesAnswerStateTwoAndTheServiceGoesOn) {
  Start();
  const std::string stick = Media("usb/S");
  WriteJpeg(stick + "/good.jpg", 32, 32, 0xFF0000, 0xFF0000);
  {
    std::ifstream in(stick + "/good.jpg", std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), {});
    std::ofstream(stick + "/truncated.jpg", std::ios::binary) << all.substr(0, all.size() / 2);
  }
  std::ofstream(stick + "/text.jpg") << "this is no picture";
  WritePngHeaderOnly(stick + "/huge.png", 20000, 20000);
  // A JPEG whose frame header claims 12000 x 10000 (over 100 megapixels).
  {
    std::ifstream in(stick + "/good.jpg", std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), {});
    const size_t sof = all.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    all[sof + 5] = char(12000 >> 8), all[sof + 6] = char(12000 & 0xFF);  // height
    all[sof + 7] = char(10000 >> 8), all[sof + 8] = char(10000 & 0xFF);  // width
    std::ofstream(stick + "/toomany.jpg", std::ios::binary) << all;
  }
  psl::Rescan();
  auto items = Browse(Roots().at(0), PSL_TYPE_PICTURE);
  ASSERT_EQ(items.size(), 5u);
  for (Rec* item : items) {
    events_.clear();
    ASSERT_EQ(PslMediaRequestPicture(globalPsl, item, 0), PSL_OK);
    auto ev = TakeEvents("pictureEvent");
    ASSERT_EQ(ev.size(), 1u) << item->title;
    const bool good = item->title == "good.jpg";
    EXPECT_EQ(ev[0]->value, good ? 0 : 2) << item->title;
    EXPECT_EQ(item->pictureState, good ? PSL_STATE_READY : PSL_STATE_FAILED) << item->title;
    EXPECT_EQ(item->thumbState, good ? PSL_STATE_READY : PSL_STATE_FAILED) << item->title;
    // No metadata for a bad file: state 2, and still the answer, so whoever
    // waits for it goes on.
    events_.clear();
    item->steps.clear();
    ASSERT_EQ(PslMediaRequestMetadata(globalPsl, item), PSL_OK);
    EXPECT_EQ(TakeEvents("metadataEvent").size(), 1u) << item->title;
    EXPECT_EQ(item->steps, good ? (std::vector<std::string>{"metadata", "info 0", "event"})
                                : (std::vector<std::string>{"info 2", "event"}))
        << item->title;
  }
  EXPECT_TRUE(kvtest::AnyContains(log_.Take(), "too large"));
}

TEST_F(PslTest, GifBmpAndWebpPicturesDecodeWithTheirSizeAndColour) {
  Start();
  const std::string stick = Media("usb/S");
  struct Case {
    const char* name;
    AVCodecID id;
    const char* type;
  };
  std::vector<Case> written;
  for (const Case& c : {Case{"a.gif", AV_CODEC_ID_GIF, "GIF"}, Case{"b.bmp", AV_CODEC_ID_BMP, "BMP"},
                        Case{"c.webp", AV_CODEC_ID_WEBP, "WebP"}})
    if (media_writer::WriteStill(stick + "/" + c.name, c.id, 40, 30, 0xFF0000)) written.push_back(c);
  // The encoders for GIF and BMP are part of FFmpeg itself.
  ASSERT_GE(written.size(), 2u);
  psl::Rescan();
  auto items = Browse(Roots().at(0), PSL_TYPE_PICTURE);
  ASSERT_EQ(items.size(), written.size());
  for (Rec* item : items) {
    events_.clear();
    ASSERT_EQ(PslMediaRequestPicture(globalPsl, item, 0), PSL_OK);
    auto ev = TakeEvents("pictureEvent");
    ASSERT_EQ(ev.size(), 1u) << item->title;
    EXPECT_EQ(ev[0]->value, 0) << item->title;
    EXPECT_EQ(item->pictureState, PSL_STATE_READY) << item->title;
    EXPECT_EQ(item->width, 40) << item->title;
    EXPECT_EQ(item->height, 30) << item->title;
    // Red in the middle of the decoded picture (960 x 540, the picture centred).
    const uint32_t px = g_picture->At(480, 270);
    EXPECT_GT(px & 0xFF, 200u) << item->title;
    EXPECT_LT((px >> 8) & 0xFF, 60u) << item->title;
    EXPECT_EQ(item->thumbState, PSL_STATE_READY) << item->title;
    events_.clear();
    ASSERT_EQ(PslMediaRequestMetadata(globalPsl, item), PSL_OK);
    auto md = TakeEvents("metadataEvent");
    ASSERT_EQ(md.size(), 1u) << item->title;
  }
}

TEST_F(PslTest, FilesOpenOnlyOnAMedium) {
  Start();
  const std::string outside = Media("outside/secret.jpg");
  WriteJpeg(outside, 16, 16, 0xFF0000, 0xFF0000);
  const std::string stick = Media("usb/S");
  WriteJpeg(stick + "/ok.jpg", 16, 16, 0xFF0000, 0xFF0000);
  fs::create_symlink(outside, stick + "/link.jpg");
  psl::Rescan();
  auto items = Browse(Roots().at(0), PSL_TYPE_PICTURE);
  ASSERT_EQ(Titles(items), (std::vector<std::string>{"link.jpg", "ok.jpg"}));
  events_.clear();
  ASSERT_EQ(PslMediaRequestPicture(globalPsl, items[0], 0), PSL_OK);
  auto ev = TakeEvents("pictureEvent");
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0]->value, 2);
  EXPECT_TRUE(kvtest::AnyContains(log_.Take(), "not on a medium"));

  dfb::Surface s(100, 100);
  int32_t w = 100, h = 100;
  EXPECT_EQ(PslGuiDecodeImage(globalPsl, &s, outside.c_str(), &w, &h), PSL_ERR_NOT_FOUND);
  EXPECT_EQ(PslGuiDecodeImage(globalPsl, &s, "file:///mnt/usb1/../../outside/secret.jpg", &w, &h), PSL_ERR_NOT_FOUND);
  EXPECT_EQ(PslGuiDecodeImage(globalPsl, &s, "file:///mnt/usb1/ok.jpg", &w, &h), PSL_OK);
  EXPECT_EQ(w, 16);
  EXPECT_GT(Red(s.At(50, 50)), 200);
}

TEST_F(PslTest, PicturesFitTheScreenAndRotationRefitsThem) {
  Start();
  WriteJpeg(Media("usb/S/wide.jpg"), 400, 200, 0xFF0000, 0x0000FF);
  psl::Rescan();
  Rec* item = Browse(Roots().at(0), PSL_TYPE_PICTURE).at(0);
  ASSERT_EQ(PslMediaRequestPicture(globalPsl, item, 0), PSL_OK);
  ASSERT_EQ(TakeEvents("pictureEvent").size(), 1u);
  EXPECT_EQ(item->width, 400);
  EXPECT_EQ(item->height, 200);
  ASSERT_TRUE(g_picture);
  // 400 x 200 is not enlarged: centred, red left and blue right.
  EXPECT_GT(Red(g_picture->At(380 + 50, 270)), 200);
  EXPECT_GT(Blue(g_picture->At(580 - 50, 270)), 200);
  EXPECT_EQ(g_picture->At(100, 270) & 0xFFFFFF, 0u);

  int32_t w = 400, h = 200;
  ASSERT_EQ(PslGuiRotateImage(globalPsl, g_picture.get(), &w, &h, 90), PSL_OK);
  EXPECT_EQ(w, 200);
  EXPECT_EQ(h, 400);
  // A quarter clockwise: red on top, blue below.
  EXPECT_GT(Red(g_picture->At(480, 170)), 200);
  EXPECT_GT(Blue(g_picture->At(480, 370)), 200);
  EXPECT_EQ(PslGuiRotateImage(globalPsl, g_picture.get(), &w, &h, 45), PSL_ERR_INVALID);
}

TEST_F(PslTest, WallpaperIsCopiedIntoTheStore) {
  Start();
  WriteJpeg(Media("usb/S/wall.jpg"), 32, 18, 0xFF0000, 0xFF0000);
  psl::Rescan();
  Rec* item = Browse(Roots().at(0), PSL_TYPE_PICTURE).at(0);
  char path[PSL_PATH_MAX];
  ASSERT_EQ(PslMediaWallpaperPath(globalPsl, path), PSL_OK);
  EXPECT_STREQ(path, "");
  ASSERT_EQ(PslMediaRequestPicture(globalPsl, item, 1), PSL_OK);
  auto ev = TakeEvents("pictureEvent");
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0]->value, 0);
  ASSERT_EQ(PslMediaWallpaperPath(globalPsl, path), PSL_OK);
  EXPECT_EQ(std::string(path), (dir_ / "wallpaper/wall.jpg").string());
  EXPECT_EQ(fs::file_size(path), fs::file_size(Media("usb/S/wall.jpg")));
  // The copy opens like the medium's file even after the stick is gone.
  psl::Unplug(1);
  dfb::Surface s(64, 36);
  int32_t w = 64, h = 36;
  EXPECT_EQ(PslGuiDecodeImage(globalPsl, &s, path, &w, &h), PSL_OK);
  ASSERT_EQ(PslMediaWallpaperDelete(globalPsl), PSL_OK);
  ASSERT_EQ(PslMediaWallpaperPath(globalPsl, path), PSL_OK);
  EXPECT_STREQ(path, "");
  EXPECT_FALSE(fs::exists(dir_ / "wallpaper/wall.jpg"));
}

TEST_F(PslTest, PlaylistsHoldOneItemOrTheFolderInBrowseOrder) {
  Start();
  const std::string stick = Media("usb/S");
  WriteWav(stick + "/Music/t10.wav", 1);
  WriteWav(stick + "/Music/t2.wav", 1);
  WriteJpeg(stick + "/Music/cover.jpg", 8, 8, 0, 0);
  psl::Rescan();
  Rec* folder = Browse(Roots().at(0), PSL_TYPE_MUSIC).at(0);
  auto songs = Browse(folder, PSL_TYPE_MUSIC);
  ASSERT_EQ(songs.size(), 2u);

  uint32_t all = 0, one = 0;
  ASSERT_EQ(PslMediaPlaylistCreate(globalPsl, PSL_KIND_MUSIC, 5, folder, folder, &all), PSL_OK);
  ASSERT_EQ(PslMediaPlaylistCreate(globalPsl, PSL_KIND_MUSIC, 4, songs[1], nullptr, &one), PSL_OK);
  int32_t count = 0;
  ASSERT_EQ(PslMediaPlaylistCount(globalPsl, all, PSL_KIND_MUSIC, 5, &count), PSL_OK);
  EXPECT_EQ(count, 2);
  char uri[PSL_URI_MAX];
  ASSERT_EQ(PslMediaPlaylistGetItemAt(globalPsl, all, PSL_KIND_MUSIC, 5, 1, uri), PSL_OK);
  EXPECT_STREQ(uri, "file:///mnt/usb1/Music/t10.wav");
  ASSERT_EQ(PslMediaPlaylistCount(globalPsl, one, PSL_KIND_MUSIC, 4, &count), PSL_OK);
  EXPECT_EQ(count, 1);
  int32_t index = -1;
  ASSERT_EQ(PslMediaPlaylistSeek(globalPsl, all, PSL_KIND_MUSIC, 5, 1, uri), PSL_OK);
  ASSERT_EQ(PslMediaPlaylistCurrent(globalPsl, all, PSL_KIND_MUSIC, 5, uri, &index), PSL_OK);
  EXPECT_EQ(index, 1);
  EXPECT_STREQ(uri, "file:///mnt/usb1/Music/t10.wav");
  EXPECT_EQ(PslMediaPlaylistGetItemAt(globalPsl, all, PSL_KIND_MUSIC, 5, 2, uri), PSL_ERR_NOT_FOUND);
  ASSERT_EQ(PslMediaPlaylistRemove(globalPsl, all, PSL_KIND_MUSIC, 5, songs[0]), PSL_OK);
  ASSERT_EQ(PslMediaPlaylistCount(globalPsl, all, PSL_KIND_MUSIC, 5, &count), PSL_OK);
  EXPECT_EQ(count, 1);
  // A folder for one item, a file for a folder: refused.
  uint32_t bad = 0;
  EXPECT_EQ(PslMediaPlaylistCreate(globalPsl, PSL_KIND_MUSIC, 4, folder, nullptr, &bad), PSL_ERR_INVALID);
  EXPECT_EQ(PslMediaPlaylistCreate(globalPsl, PSL_KIND_MUSIC, 5, songs[0], nullptr, &bad), PSL_ERR_INVALID);
  ASSERT_EQ(PslMediaPlaylistDestroy(globalPsl, one, PSL_KIND_MUSIC, 4), PSL_OK);
  EXPECT_EQ(PslMediaPlaylistCount(globalPsl, one, PSL_KIND_MUSIC, 4, &count), PSL_ERR_NOT_FOUND);
}

class PslPlayTest : public PslTest {
 protected:
  // A music folder of two 2-second songs and a file that does not play; its playlist is set.
  void SetUpPlaylist(bool withBroken = false) {
    Start();
    const std::string stick = Media("usb/S");
    WriteWav(stick + "/a1.wav", 2);
    WriteWav(stick + "/a2.wav", 2);
    if (withBroken) std::ofstream(stick + "/a3.wav") << "no sound in here";
    psl::Rescan();
    Rec* root = Roots().at(0);
    ASSERT_EQ(PslMediaPlaylistCreate(globalPsl, PSL_KIND_MUSIC, 5, root, root, &list_), PSL_OK);
    ASSERT_EQ(PslMediaSetPlaylist(globalPsl, list_, PSL_KIND_MUSIC, 5), PSL_OK);
    TakeStatus();
  }
  void Nav(int32_t code, int32_t a = 0, int32_t b = 0) {
    ASSERT_EQ(PslExternalSendNavCommand(globalPsl, code, a, b), PSL_OK);
  }
  PslPlaybackInfo Info() {
    PslPlaybackInfo info;
    EXPECT_EQ(PslGuiPlaybackGetInfo(globalPsl, &info), PSL_OK);
    return info;
  }
  uint32_t list_ = 0;
};

TEST_F(PslPlayTest, StatusesFollowTheClockWithoutRepeat) {
  SetUpPlaylist();
  Nav(38, 1, 1);
  auto st = TakeStatus();
  ASSERT_EQ(st.size(), 1u);
  EXPECT_EQ(st[0].code, 3);
  for (int32_t v : st[0].subCode) EXPECT_EQ(v, 0);
  EXPECT_EQ(Info().total, 2u);
  EXPECT_EQ(Info().current, 1u);
  EXPECT_EQ(Info().duration, 2u);
  Advance(1000);
  EXPECT_EQ(TakeCodes(), (std::vector<uint16_t>{27}));
  EXPECT_EQ(Info().elapsed, 1u);
  Advance(1000);
  EXPECT_EQ(TakeCodes(), (std::vector<uint16_t>{11}));
  EXPECT_EQ(Info().current, 2u);
  Advance(2000);
  EXPECT_EQ(TakeCodes(), (std::vector<uint16_t>{27, 5}));
  EXPECT_EQ(Info().navStatus, 7);
  Advance(3000);
  EXPECT_TRUE(TakeCodes().empty());
}

TEST_F(PslPlayTest, RepeatAllWrapsAndRepeatOneStays) {
  SetUpPlaylist();
  ASSERT_EQ(PslGuiSetRepeatMode(globalPsl, 2), PSL_OK);
  Nav(38, 1, 2);
  Advance(2000);
  EXPECT_EQ(TakeCodes(), (std::vector<uint16_t>{3, 27, 11}));
  EXPECT_EQ(Info().current, 1u);
  EXPECT_EQ(Info().repeat, 2);
  ASSERT_EQ(PslGuiSetRepeatMode(globalPsl, 7), PSL_OK);
  Advance(4000);
  EXPECT_EQ(TakeCodes(), (std::vector<uint16_t>{27, 11, 27, 11}));
  EXPECT_EQ(Info().current, 1u);
  EXPECT_EQ(PslGuiSetRepeatMode(globalPsl, 3), PSL_ERR_INVALID);
}

TEST_F(PslPlayTest, PauseRatesAndSeek) {
  SetUpPlaylist();
  Nav(3);
  Nav(7);
  // Paused, then once the position it stopped at.
  EXPECT_EQ(TakeCodes(), (std::vector<uint16_t>{3, 2, 27}));
  EXPECT_EQ(Info().navStatus, 2);
  Advance(3000);
  EXPECT_TRUE(TakeCodes().empty());
  EXPECT_EQ(Info().elapsed, 0u);
  Nav(3);
  EXPECT_EQ(TakeCodes(), (std::vector<uint16_t>{3}));
  for (int32_t want : {2, 4, 8, 16, 32, 2}) {
    Nav(25);
    EXPECT_EQ(Info().rate, want);
  }
  Nav(27);
  EXPECT_EQ(Info().rate, -2);
  Nav(38, 2, 1);
  EXPECT_EQ(Info().elapsed, 1u);
  Nav(3);
  EXPECT_EQ(Info().rate, 1);
  Nav(5);
  EXPECT_EQ(Info().navStatus, 7);
}

TEST_F(PslPlayTest, AFileThatCannotBeOpenedAnswersOne) {
  SetUpPlaylist(true);
  Nav(38, 1, 3);
  EXPECT_EQ(TakeCodes(), (std::vector<uint16_t>{1}));
  EXPECT_EQ(Info().navStatus, 7);
  EXPECT_TRUE(kvtest::AnyContains(log_.Take(), "cannot play"));
}

// An item that cannot be opened, reached when the one before it ends: the
// player stops there (1, and nothing more) until it is asked for the next;
// Next after the last item ends the list without repeat and wraps with it.
TEST_F(PslPlayTest, AnItemThatCannotBeOpenedAfterTheEndOfTheOneBeforeStopsThePlayer) {
  SetUpPlaylist(true);
  Nav(38, 1, 2);
  Advance(2000);
  EXPECT_EQ(TakeCodes(), (std::vector<uint16_t>{3, 27, 1}));
  EXPECT_EQ(Info().current, 3u);
  EXPECT_EQ(Info().navStatus, 7);
  Advance(3000);
  EXPECT_TRUE(TakeCodes().empty());
  Nav(21);
  EXPECT_EQ(TakeCodes(), (std::vector<uint16_t>{5}));
  EXPECT_EQ(Info().navStatus, 7);
  ASSERT_EQ(PslGuiSetRepeatMode(globalPsl, 2), PSL_OK);
  Nav(21);
  EXPECT_EQ(TakeCodes(), (std::vector<uint16_t>{11}));
  EXPECT_EQ(Info().current, 1u);
}

TEST_F(PslTest, MoviesHaveTheirSummaryAndShowOnTheMediaInput) {
  Start();
  WriteMovie(Media("usb/S/clip.avi"), 3, 64, 48, 81, 90, 240);  // red
  psl::Rescan();
  TakeStatus();
  Rec* movie = Browse(Roots().at(0), PSL_TYPE_VIDEO).at(0);
  ASSERT_EQ(PslMediaRequestMetadata(globalPsl, movie), PSL_OK);
  ASSERT_EQ(TakeEvents("metadataEvent").size(), 1u);
  ASSERT_TRUE(movie->item);
  EXPECT_EQ(movie->item->strings, (std::vector<std::string>{"64 \xC3\x97 48, MPEG-4, 0:00:03"}));
  // Its thumbnail is its first picture.
  ASSERT_EQ(movie->thumbState, PSL_STATE_READY);
  EXPECT_GT(Red(movie->thumb->At(80, 60)), 180);
  EXPECT_LT(Blue(movie->thumb->At(80, 60)), 80);

  std::mutex m;
  std::vector<uint32_t> plane;
  int32_t pw = 0, ph = 0;
  sim::SetPictureSink([&](const uint32_t* px, int32_t w, int32_t h) {
    std::lock_guard<std::mutex> lock(m);
    plane.assign(px, px + size_t(w) * size_t(h));
    pw = w, ph = h;
  });
  ASSERT_EQ(XPM_SetSource(0, 22), XPM_OK);
  ASSERT_EQ(XPM_SetDisplayWindow(0, 0, 0, 480, 270), XPM_OK);
  Drain();
  {
    std::lock_guard<std::mutex> lock(m);
    plane.clear();
  }
  uint32_t list = 0;
  ASSERT_EQ(PslMediaPlaylistCreate(globalPsl, PSL_KIND_VIDEO, 4, movie, nullptr, &list), PSL_OK);
  ASSERT_EQ(PslMediaSetPlaylist(globalPsl, list, PSL_KIND_VIDEO, 4), PSL_OK);
  ASSERT_EQ(PslExternalSendNavCommand(globalPsl, 3, 0, 0), PSL_OK);
  EXPECT_EQ(TakeCodes(), (std::vector<uint16_t>{3}));
  {
    std::lock_guard<std::mutex> lock(m);
    ASSERT_EQ(pw, 480);
    ASSERT_EQ(ph, 270);
    // The movie fills the top-left quarter (the display window), black around it.
    const uint32_t inside = plane[size_t(60) * 480 + 120], outside = plane[size_t(200) * 480 + 400];
    EXPECT_GT(Red(inside), 180);
    EXPECT_LT(Blue(inside), 80);
    EXPECT_EQ(outside & 0xFFFFFF, 0u);
  }
  sim::SetPictureSink(nullptr);
}

TEST_F(PslTest, ControllersPlayOnTheSetOnlyWithTheRendererOn) {
  Start();
  WriteWav(Media("usb/S/song.wav"), 3);
  psl::Rescan();
  TakeStatus();
  EXPECT_EQ(psl::ControllerPlay(PSL_KIND_MUSIC, "file:///mnt/usb1/song.wav", "Song"), PSL_ERR_NOT_READY);
  ASSERT_EQ(PslMediaEnableDLNA(globalPsl, 3), PSL_OK);
  EXPECT_EQ(psl::ControllerPlay(PSL_KIND_MUSIC, "file:///mnt/usb1/../secret.wav", "x"), PSL_ERR_NOT_FOUND);
  ASSERT_EQ(XPM_SubscribeEvents([](uint32_t id, const void* payload, uint32_t length) {
              if (id == XPM_EVT_DMR_STATUS && length == sizeof(XPM_DmrStatusPayload)) {
                std::lock_guard<std::mutex> lock(g_mutex);
                XPM_DmrStatusPayload p;
                std::memcpy(&p, payload, sizeof p);
                g_dmr.push_back(p);
              }
              OnEvent(id, payload, length);
            }),
            XPM_OK);
  ASSERT_EQ(psl::ControllerPlay(PSL_KIND_MUSIC, "file:///mnt/usb1/song.wav", "Song"), PSL_OK);
  EXPECT_EQ(TakeCodes(), (std::vector<uint16_t>{3}));
  std::lock_guard<std::mutex> lock(g_mutex);
  ASSERT_EQ(g_dmr.size(), 1u);
  EXPECT_EQ(g_dmr[0].kind, 7);
  EXPECT_EQ(g_dmr[0].state, 3);
  EXPECT_STREQ(g_dmr[0].uri, "file:///mnt/usb1/song.wav");
  EXPECT_STREQ(g_dmr[0].title, "Song");
  g_dmr.clear();
}

TEST_F(PslTest, SongsShowTheCoverBesideThem) {
  Start();
  WriteWav(Media("usb/S/Album/t1.wav"), 1);
  WriteJpeg(Media("usb/S/Album/cover.jpg"), 32, 32, 0x0000FF, 0x0000FF);
  WriteWav(Media("usb/S/Loose/t2.wav"), 1);
  psl::Rescan();
  auto folders = Browse(Roots().at(0), PSL_TYPE_MUSIC);
  ASSERT_EQ(Titles(folders), (std::vector<std::string>{"Album", "Loose"}));
  Rec* withCover = Browse(folders[0], PSL_TYPE_MUSIC).at(0);
  Rec* without = Browse(folders[1], PSL_TYPE_MUSIC).at(0);
  Drain();
  ASSERT_EQ(withCover->thumbState, PSL_STATE_READY);
  EXPECT_GT(Blue(withCover->thumb->At(80, 60)), 200);
  EXPECT_EQ(without->thumbState, PSL_STATE_FAILED);
  EXPECT_FALSE(without->thumb);
  // Tags: a WAV has none, so the title is its file name and the length its own.
  ASSERT_EQ(PslMediaRequestMetadata(globalPsl, withCover), PSL_OK);
  ASSERT_EQ(TakeEvents("metadataEvent").size(), 1u);
  EXPECT_EQ(withCover->item->strings.at(0), "t1.wav");
  EXPECT_EQ(withCover->item->value, 1);
}

TEST_F(PslTest, AStopMidDecodeJoinsAndNothingAnswersAfterIt) {
  Start();
  WriteJpeg(Media("usb/S/big.jpg"), 2000, 1500, 0xFF0000, 0x0000FF);
  psl::Rescan();
  Rec* item = Browse(Roots().at(0), PSL_TYPE_PICTURE).at(0);
  events_.clear();
  for (int i = 0; i < 20; ++i) ASSERT_EQ(PslMediaRequestPicture(globalPsl, item, 0), PSL_OK);
  ASSERT_EQ(PslDeinit(globalPsl), PSL_OK);
  // Answers already posted find their objects released: nothing is built.
  Drain();
  EXPECT_TRUE(TakeEvents("pictureEvent").empty());
  EXPECT_EQ(PslMediaRequestPicture(globalPsl, item, 0), PSL_ERR_NOT_READY);
  // A new start answers again.
  Start();
  psl::Rescan();
  EXPECT_EQ(Roots().size(), 1u);
}

// The GUI task runs the answers and collects while the worker still decodes:
// the worker never touches a GUI object (that check ends the process), the
// objects it waits on survive collections, and once answered it holds none.
TEST_F(PslTest, AnswersRunBesideBusyWorkersAndReleaseWhatTheyHeld) {
  Start();
  for (int i = 1; i <= 6; ++i) WriteJpeg(Media("usb/S/p" + std::to_string(i) + ".jpg"), 1600, 1200, 0xFF0000, 0xFF0000);
  psl::Rescan();
  TakeStatus();
  std::vector<Rec*> items = Browse(Roots().at(0), PSL_TYPE_PICTURE);
  ASSERT_EQ(items.size(), 6u);
  Drain();  // the thumbnails the listing asked for
  events_.clear();
  for (Rec* item : items) {
    ASSERT_EQ(PslMediaRequestMetadata(globalPsl, item), PSL_OK);
    ASSERT_EQ(PslMediaRequestPicture(globalPsl, item, 0), PSL_OK);
  }
  // Only the service keeps the items now.
  keep_.clear();
  items.clear();
  auto census = [] {
    kv::Collect();
    const auto c = kv::HeapCensus();
    const auto it = c.find("psltest::Rec");
    return it == c.end() ? size_t(0) : it->second;
  };
  size_t metadata = 0, pictures = 0;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while ((metadata < 6 || pictures < 6) && std::chrono::steady_clock::now() < until) {
    std::deque<std::function<void()>> todo;
    {
      std::lock_guard<std::mutex> lock(g_mutex);
      todo.swap(g_gui);
    }
    for (auto& fn : todo) {
      fn();
      census();
    }
    metadata = pictures = 0;
    for (auto& e : events_) {
      if (e->what == "metadataEvent" && e->item && e->item->item && e->item->width == 1600) ++metadata;
      if (e->what == "pictureEvent" && e->value == 0 && e->item && e->item->pictureState == PSL_STATE_READY) ++pictures;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(metadata, 6u);
  EXPECT_EQ(pictures, 6u);
  Drain();
  // The events hold the items; without them nothing is left.
  events_.clear();
  EXPECT_EQ(census(), 0u);
}

TEST_F(PslTest, AFreedHandleIsNoLongerAnswered) {
  Start();
  WriteJpeg(Media("usb/S/a.jpg"), 16, 16, 0xFF0000, 0xFF0000);
  psl::Rescan();
  Rec* item = Browse(Roots().at(0), PSL_TYPE_PICTURE).at(0);
  ASSERT_EQ(PslMediaDeleteObject(globalPsl, item->handle), PSL_OK);
  EXPECT_EQ(PslMediaDeleteObject(globalPsl, item->handle), PSL_ERR_NOT_FOUND);
  EXPECT_EQ(PslMediaRequestMetadata(globalPsl, item), PSL_ERR_NOT_FOUND);
  EXPECT_EQ(PslMediaRequestPicture(globalPsl, item, 0), PSL_ERR_NOT_FOUND);
  EXPECT_TRUE(TakeEvents("metadataEvent").empty());
}

TEST_F(PslTest, KnobsDelayOrWithholdAnswersAndFailDecoding) {
  Start();
  WriteJpeg(Media("usb/S/a.jpg"), 16, 16, 0xFF0000, 0xFF0000);
  psl::Rescan();
  Rec* root = Roots().at(0);
  psl::SetAnswerDelay(500);
  ASSERT_EQ(PslMediaRequestBrowse(globalPsl, root, 2, 0, 10), PSL_OK);
  EXPECT_TRUE(TakeEvents("list").empty());
  Advance(500);
  EXPECT_EQ(TakeEvents("list").size(), 1u);
  psl::SetAnswerDelay(0);
  events_.clear();
  psl::SetNeverAnswer(true);
  ASSERT_EQ(PslMediaRequestBrowse(globalPsl, root, 2, 0, 10), PSL_OK);
  Advance(2000);
  EXPECT_TRUE(TakeEvents("list").empty());
  psl::SetNeverAnswer(false);
  psl::SetFailDecode(true);
  Rec* item = Browse(root, PSL_TYPE_PICTURE).at(0);
  ASSERT_EQ(PslMediaRequestPicture(globalPsl, item, 0), PSL_OK);
  auto ev = TakeEvents("pictureEvent");
  ASSERT_EQ(ev.size(), 1u);
  EXPECT_EQ(ev[0]->value, 2);
  EXPECT_EQ(item->thumbState, PSL_STATE_FAILED);
  tv_->FailCall("PslMediaRequestBrowse", 9);
  EXPECT_EQ(PslMediaRequestBrowse(globalPsl, root, 2, 0, 10), 9);
}

TEST_F(PslTest, ServersComeGoAndHideWithDlnaOff) {
  Start();
  const std::string srv = Media("servers/nas");
  std::ofstream(srv + "/server.ini") << "name=Living Room NAS\naddress=192.168.1.7\nmac=00:11:22:33:44:55\n";
  WriteJpeg(srv + "/p.jpg", 8, 8, 0, 0);
  psl::Rescan();
  auto came = TakeEvents("serverEvent");
  ASSERT_EQ(came.size(), 1u);
  EXPECT_EQ(came[0]->value, 1);
  EXPECT_EQ(came[0]->text, "http://192.168.1.7:8200/nas");
  auto roots = Roots();
  ASSERT_EQ(roots.size(), 1u);
  EXPECT_EQ(roots[0]->title, "Living Room NAS");
  EXPECT_EQ(roots[0]->rootClass, PSL_ROOT_SERVER);
  EXPECT_EQ(Titles(Browse(roots[0], PSL_TYPE_PICTURE)), (std::vector<std::string>{"p.jpg"}));

  ASSERT_EQ(PslMediaEnableDLNA(globalPsl, 0), PSL_OK);
  EXPECT_TRUE(Roots().empty());
  ASSERT_EQ(PslMediaEnableDLNA(globalPsl, 1), PSL_OK);
  EXPECT_EQ(Roots().size(), 1u);

  // The cable pulled with no wireless network joined: every server is gone.
  events_.clear();
  tv_->Net().SetCablePlugged(false);
  auto net = TakeEvents("networkEvent");
  ASSERT_EQ(net.size(), 1u);
  EXPECT_EQ(net[0]->value, 1);
  EXPECT_TRUE(Roots().empty());
  psl::Rescan();
  EXPECT_TRUE(Roots().empty());
  events_.clear();
  tv_->Net().SetCablePlugged(true);
  EXPECT_EQ(Roots().size(), 1u);
  auto back = TakeEvents("serverEvent");
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0]->value, 1);

  events_.clear();
  fs::remove_all(srv);
  psl::Rescan();
  auto gone = TakeEvents("serverEvent");
  ASSERT_EQ(gone.size(), 1u);
  EXPECT_EQ(gone[0]->value, 0);
  EXPECT_TRUE(Roots().empty());
}

TEST_F(PslTest, FileSizeAndDeleteOnAStick) {
  Start();
  WriteJpeg(Media("usb/S/del.jpg"), 8, 8, 0, 0);
  psl::Rescan();
  uint64_t size = 0;
  ASSERT_EQ(XPM_Get_File_Size("/mnt/usb1/del.jpg", &size), XPM_OK);
  EXPECT_EQ(size, fs::file_size(Media("usb/S/del.jpg")));
  EXPECT_NE(XPM_Get_File_Size("/mnt/usb1/../../tvsim.state", &size), XPM_OK);
  EXPECT_NE(XPM_Get_File_Size("/mnt/usb2/del.jpg", &size), XPM_OK);
  ASSERT_EQ(XPM_Delete_File("/mnt/usb1/del.jpg"), XPM_OK);
  EXPECT_FALSE(fs::exists(Media("usb/S/del.jpg")));
  // A file that is not there is an answer, not a failure.
  EXPECT_EQ(XPM_Get_File_Size("/mnt/usb1/del.jpg", &size), XPM_ERR_NOT_FOUND);
  EXPECT_EQ(XPM_Delete_File("/mnt/usb1/del.jpg"), XPM_ERR_NOT_FOUND);
}

TEST_F(PslTest, MediaSourceAndDisplayWindow) {
  int32_t x = -1, y = -1, w = -1, h = -1;
  ASSERT_EQ(XPM_GetDisplayWindow(0, &x, &y, &w, &h), XPM_OK);
  EXPECT_EQ(std::vector<int32_t>({x, y, w, h}), (std::vector<int32_t>{0, 0, 960, 540}));
  ASSERT_EQ(XPM_SetDisplayWindow(0, 100, 50, 480, 270), XPM_OK);
  ASSERT_EQ(XPM_GetDisplayWindow(0, &x, &y, &w, &h), XPM_OK);
  EXPECT_EQ(std::vector<int32_t>({x, y, w, h}), (std::vector<int32_t>{100, 50, 480, 270}));

  ASSERT_EQ(XPM_SetSource(0, 22), XPM_OK);
  int32_t current = -1, type = -1;
  ASSERT_EQ(XPM_GetCurrentSource(0, &current), XPM_OK);
  EXPECT_EQ(current, 22);
  ASSERT_EQ(XPM_GetSourceType(22, &type), XPM_OK);
  EXPECT_EQ(type, 9);
  // Not among the inputs the lists walk.
  for (int32_t i = 0;; ++i) {
    int32_t id = -1;
    if (XPM_GetSourceID(i, &id) != XPM_OK) break;
    EXPECT_NE(id, 22);
  }
}

}  // namespace psltest
