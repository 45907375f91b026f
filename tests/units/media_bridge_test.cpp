// The media bridge over the media service: sticks plugged, folders browsed
// page by page, the answers' road to the screens, playback commands at the
// service, and what stays after a reset.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>

#include "media_fixture.h"
#include "runtime/collector.h"
#include "units/Core/Group.h"
#include "units/Events/DMRStatusEvent.h"
#include "units/Events/StatusEvent.h"
#include "units/Media/DataItems.h"
#include "units/Media/DataSources.h"
#include "units/MessageDialogs/MessageDialogs.h"
#include "units/Overlay/PlaybackInfo.h"

namespace listtest {
namespace {

class MediaBridgeTest : public MediaTest {};

TEST_F(MediaBridgeTest, ASticksFoldersBrowseDownAndBackWithDepthPathAndRecords) {
  WriteStick("Holiday", {"Music/", "Music Videos/", "Music/a.wav", "Music/b.wav", "Music Videos/v.avi", "top.wav"});
  EXPECT_EQ(Plug("Holiday"), 1);
  ASSERT_EQ(Bridge()->GetMediumCount(), 1);
  Media::MediumDevice* m = Bridge()->GetMedium(0);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->Kind, Media::MEDIUM_USB);
  EXPECT_EQ(m->Caption.ToUtf8(), "Holiday");
  EXPECT_EQ(Bridge()->GetCurMediumType(), 3);  // nothing browsed yet

  Browse(0, Media::MEDIA_TYPE_MUSIC);
  EXPECT_EQ(Bridge()->GetCurMediumType(), Media::MEDIUM_USB);
  EXPECT_TRUE(Bridge()->IsInRootFolder());
  EXPECT_TRUE(Bridge()->IsBrowseDataReady());
  ASSERT_EQ(Bridge()->GetMediaItemCount(), 3);  // two folders, one song
  EXPECT_EQ(Caption(0), "Music");
  EXPECT_EQ(Caption(1), "Music Videos");
  EXPECT_EQ(Caption(2), "top.wav");
  EXPECT_TRUE(Bridge()->IsFolderItem(0));
  EXPECT_FALSE(Bridge()->IsFolderItem(2));
  EXPECT_EQ(Bridge()->GetMediaItem(0)->Type, Media::ITEM_TYPE_FOLDER);
  EXPECT_EQ(Bridge()->GetMediaItem(2)->Type, Media::ITEM_TYPE_MUSIC);
  EXPECT_EQ(Bridge()->GetMediaItem(2)->Index, 2);

  // ".../Music" opens "Music", not "Music Videos" (which also contains it).
  const kv::String music = Bridge()->GetMediaItem(0)->Uri;
  Bridge()->RequestBrowseFolder(music, Media::MEDIA_TYPE_MUSIC);
  Settle();
  EXPECT_EQ(Bridge()->GetCurrentFolder().ToUtf8(), "Music");
  EXPECT_EQ(Bridge()->GetCurrentFolderDepth(), 1);
  ASSERT_EQ(Bridge()->GetMediaItemCount(), 2);
  EXPECT_EQ(Caption(0), "a.wav");
  EXPECT_EQ(Caption(1), "b.wav");
  EXPECT_TRUE(Bridge()->BrowsePreviousFolder());
  EXPECT_TRUE(Bridge()->IsInRootFolder());
  EXPECT_EQ(Bridge()->GetCurrentFolderDepth(), 0);
  EXPECT_EQ(Caption(1), "Music Videos");
  EXPECT_FALSE(Bridge()->BrowsePreviousFolder());
}

TEST_F(MediaBridgeTest, PagesAreAskedOneAtATimeAndFoundByRangeInEitherOrder) {
  ManyPictures("Big", 600);
  Plug("Big");
  Browse(0, Media::MEDIA_TYPE_PICTURE);
  ASSERT_EQ(Browses().size(), 1u);
  EXPECT_EQ(Browses()[0], "PslMediaRequestBrowse(2, 0, 600)");  // the root is not paged: one block
  ASSERT_EQ(Bridge()->GetMediaItemCount(), 600);

  // Into a paged folder of 600: Up from item 0 reads the last page first.
  WriteStick("Nested", {"Pics/"});
  std::filesystem::remove_all(StickDir("Nested") + "/Pics");
  std::filesystem::create_directory_symlink(StickDir("Big"), StickDir("Nested") + "/Pics");
  // (a link leading out of a stick is not listed: use a real sub-folder instead)
  std::filesystem::remove(StickDir("Nested") + "/Pics");
  std::filesystem::create_directories(StickDir("Nested") + "/Pics");
  for (int i = 0; i < 600; ++i)
    std::filesystem::create_hard_link(StickDir("Big") + "/p0.jpg",
                                      StickDir("Nested") + "/Pics/p" + std::to_string(i) + ".jpg");
  Plug("Nested");
  ClearCallLog();
  EventProbe* probe = OpenProbe();
  Browse(1, Media::MEDIA_TYPE_PICTURE);
  Bridge()->RequestBrowseFolder(Bridge()->GetMediaItem(0)->Uri, Media::MEDIA_TYPE_PICTURE);
  Settle();
  const int updates = probe->updates;  // the folders' first pages
  ASSERT_EQ(Bridge()->GetMediaItemCount(), 600);
  ClearCallLog();
  // Up from item 0: reading 599 asks for 512 .. 599 first (a short last page);
  // while that request is out, reading 300 answers the placeholder and sends nothing.
  psl::SetAnswerDelay(1000);
  EXPECT_EQ(Bridge()->GetMediaItem(599), nullptr);
  EXPECT_EQ(Bridge()->GetMediaItem(300), nullptr);
  ASSERT_EQ(Browses().size(), 1u);
  EXPECT_EQ(Browses()[0], "PslMediaRequestBrowse(2, 512, 256)");
  psl::SetAnswerDelay(0);
  Run(1500);
  EXPECT_EQ(Caption(599), "p599.jpg");
  EXPECT_EQ(Bridge()->GetMediaItemCount(), 600);  // the short last page reaches the end: no cut
  Bridge()->GetMediaItem(300);
  Settle();
  EXPECT_EQ(Browses().back(), "PslMediaRequestBrowse(2, 256, 256)");
  EXPECT_EQ(Caption(300), "p300.jpg");  // not item 556: pages are found by their range
  EXPECT_EQ(Caption(255), "p255.jpg");  // the first page, read when the folder opened
  EXPECT_EQ(Browses().size(), 2u);
  EXPECT_EQ(Caption(0), "p0.jpg");
  EXPECT_EQ(Caption(599), "p599.jpg");
  EXPECT_EQ(Bridge()->GetMediaItemCount(), 600);
  // Later pages only notify the folder: the screen is not started again.
  EXPECT_EQ(probe->updates, updates);
}

// Pictures taken off a folder while it is browsed: the page that comes back
// short ends the folder, and a page read before beyond that end (however
// few its entries) is let go at once, its list given back to the service.
TEST_F(MediaBridgeTest, APageBeyondTheEndOfAFolderThatShrankIsGivenBack) {
  for (const int tail : {1, 40}) {
    SCOPED_TRACE("entries on the last page: " + std::to_string(tail));
    const std::string stick = "Shrinks" + std::to_string(tail);
    const int files = 512 + tail;
    WriteStick(stick, {"Pics/"});
    const std::string dir = StickDir(stick) + "/Pics";
    media_writer::WriteBytes(dir + "/p0.jpg", media_writer::Jpeg(16, 12, 0x102030, 0x405060));
    for (int i = 1; i < files; ++i)
      std::filesystem::create_hard_link(dir + "/p0.jpg", dir + "/p" + std::to_string(i) + ".jpg");
    const int32_t medium = Plug(stick) - 1;
    Browse(medium, Media::MEDIA_TYPE_PICTURE);
    Bridge()->RequestBrowseFolder(Bridge()->GetMediaItem(0)->Uri, Media::MEDIA_TYPE_PICTURE);
    Settle();
    ASSERT_EQ(Bridge()->GetMediaItemCount(), files);
    Bridge()->GetMediaItem(files - 1);  // the last page, read before the middle
    Settle();
    ASSERT_NE(Bridge()->GetMediaItem(files - 1), nullptr);
    for (int i = 300; i < files; ++i) std::filesystem::remove(dir + "/p" + std::to_string(i) + ".jpg");
    kv::Collect();
    ClearCallLog();
    Bridge()->GetMediaItem(260);  // the middle page comes back with 44 entries
    Settle();
    EXPECT_EQ(Bridge()->GetMediaItemCount(), 300);
    kv::Collect();
    EXPECT_EQ(Calls("PslMediaDeleteObjectList").size(), 1u) << "the last page's list is freed";
    EXPECT_NE(Bridge()->GetMediaItem(299), nullptr);
  }
}

TEST_F(MediaBridgeTest, APageAnswersTheFolderThatAskedOrIsDroppedWhenItWasLeft) {
  WriteStick("S", {"A/", "B/", "C/", "A/a1.jpg", "B/b1.jpg", "B/b2.jpg", "C/c1.jpg"});
  Plug("S");
  Browse(0, Media::MEDIA_TYPE_PICTURE);
  EventProbe* probe = OpenProbe();
  const kv::String b = Bridge()->GetMediaItem(1)->Uri;
  const kv::String c = Bridge()->GetMediaItem(2)->Uri;
  psl::SetAnswerDelay(1000);
  Bridge()->RequestBrowseFolder(b, Media::MEDIA_TYPE_PICTURE);  // B's page is late
  Bridge()->BrowsePreviousFolder();
  psl::SetAnswerDelay(0);
  Bridge()->RequestBrowseFolder(c, Media::MEDIA_TYPE_PICTURE);
  Settle();
  ASSERT_EQ(Bridge()->GetMediaItemCount(), 1);
  EXPECT_EQ(Caption(0), "c1.jpg");
  Run(1500);  // B's page arrives: dropped
  EXPECT_EQ(Bridge()->GetMediaItemCount(), 1);
  EXPECT_EQ(Caption(0), "c1.jpg");
  EXPECT_TRUE(Logged("page of a folder no longer browsed"));
  // Back and into A: A loads (no gate left behind).
  Bridge()->BrowsePreviousFolder();
  Bridge()->RequestBrowseFolder(Bridge()->GetMediaItem(0)->Uri, Media::MEDIA_TYPE_PICTURE);
  Settle();
  EXPECT_EQ(Caption(0), "a1.jpg");
  EXPECT_GE(probe->updates, 2);
}

TEST_F(MediaBridgeTest, AnEmptyFolderPostsOneEmptyPageAndAnswersNull) {
  WriteStick("E", {"Empty/", "x.jpg"});
  Plug("E");
  Browse(0, Media::MEDIA_TYPE_PICTURE);
  EventProbe* probe = OpenProbe();
  Bridge()->RequestBrowseFolder(Bridge()->GetMediaItem(0)->Uri, Media::MEDIA_TYPE_PICTURE);
  Settle();
  EXPECT_EQ(Bridge()->GetMediaItemCount(), 0);
  const int before = probe->updates;
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Bridge()->GetMediaItem(0), nullptr);
  Settle();
  EXPECT_LE(probe->updates - before, 1);
}

TEST_F(MediaBridgeTest, MetadataReachesTheScreensWithItsItemAndPicturesDecode) {
  WriteStick("P", {"a.jpg", "b.jpg"});
  Plug("P");
  Browse(0, Media::MEDIA_TYPE_PICTURE);
  EventProbe* probe = OpenProbe();
  EXPECT_EQ(Bridge()->RequestMetadata(1), 1);
  EXPECT_EQ(Bridge()->RequestMetadata(7), 0);
  Settle();
  ASSERT_EQ(probe->ready_.size(), 1u);
  Media::MediaItem* item = probe->ready_[0]->Item.get();
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->Index, 1);
  EXPECT_EQ(item->Caption.ToUtf8(), "b.jpg");
  auto* md = kv::Cast<Media::PictureMetadata>(item->Metadata.get());
  ASSERT_NE(md, nullptr);
  EXPECT_EQ(md->Width, 64);
  EXPECT_EQ(md->Height, 48);
  // A metadata event without its item is logged and goes no further.
  const size_t n = probe->ready_.size();
  App().Broadcast(kv::New<Media::MetadataEvent>(), 0);
  EXPECT_EQ(probe->ready_.size(), n);
  EXPECT_TRUE(Logged("metadata event without its item"));
}

// Songs with their tags and cover inside (MP3 and FLAC, as the sample
// media has them) and a photo taken turned: the screens get the artist,
// album and cover, and the orientation with the picture's size.
TEST_F(MediaBridgeTest, TaggedSongsBringTagsAndCoverAndATurnedPhotoItsOrientation) {
  const std::string stick = StickDir("T");
  media_writer::SongTags tags{"Morning Tide", "The Sample Band", "Harbour Lights", "Pop", 2023, 1};
  ASSERT_TRUE(media_writer::WriteTone(stick + "/01 a.mp3", AV_CODEC_ID_MP3, 3, 440));
  ASSERT_TRUE(media_writer::TagSong(stick + "/01 a.mp3", tags, media_writer::Jpeg(64, 64, 0x0000FF, 0x0000FF)));
  tags.title = "Evening Calm", tags.track = 2;
  ASSERT_TRUE(media_writer::WriteTone(stick + "/02 b.flac", AV_CODEC_ID_FLAC, 3, 330));
  ASSERT_TRUE(media_writer::TagSong(stick + "/02 b.flac", tags, media_writer::Jpeg(64, 64, 0xFF0000, 0xFF0000)));
  ASSERT_TRUE(media_writer::WriteBytes(
      stick + "/turned.jpg",
      media_writer::Jpeg(64, 48, 0x000000, 0xFFFFFF, media_writer::ExifBlock(6, "Acme", "Cam", "2023:07:14 18:02:33"))));
  Plug("T");
  EventProbe* probe = OpenProbe();

  Browse(0, Media::MEDIA_TYPE_MUSIC);
  ASSERT_EQ(Bridge()->GetMediaItemCount(), 2);
  // Each song: its tags, its length, and its own cover as the thumbnail
  // (blue for the MP3, red for the FLAC).
  const uint32_t covers[2] = {0x0000FF, 0xFF0000};
  for (int32_t i = 0; i < 2; ++i) {
    const size_t before = probe->ready_.size();
    EXPECT_EQ(Bridge()->RequestMetadata(i), 1);
    Settle();
    ASSERT_EQ(probe->ready_.size(), before + 1) << i;
    Media::MediaItem* item = probe->ready_.back()->Item.get();
    ASSERT_NE(item, nullptr);
    auto* md = kv::Cast<Media::MusicMetadata>(item->Metadata.get());
    ASSERT_NE(md, nullptr) << i;
    EXPECT_EQ(md->Title.ToUtf8(), i == 0 ? "Morning Tide" : "Evening Calm");
    EXPECT_EQ(md->Artist.ToUtf8(), "The Sample Band");
    EXPECT_EQ(md->Album.ToUtf8(), "Harbour Lights");
    EXPECT_EQ(md->Track.ToUtf8(), i == 0 ? "1" : "2");
    EXPECT_EQ(md->Year.ToUtf8(), "2023");
    EXPECT_NEAR(md->Duration, 3, 1);
    auto* cover = kv::Cast<Media::ServiceCanvas>(item->Thumb.get());
    ASSERT_NE(cover, nullptr) << i;
    const ge::Surface px = cover->GetSurface();
    ASSERT_NE(px.pixels, nullptr);
    const uint32_t mid = px.Row(px.height / 2)[px.width / 2];
    const uint32_t r = mid & 0xFF, b = (mid >> 16) & 0xFF;  // premultiplied RGBA words
    EXPECT_EQ(r > 200, (covers[i] & 0xFF0000) != 0) << i << " " << std::hex << mid;
    EXPECT_EQ(b > 200, (covers[i] & 0xFF) != 0) << i << " " << std::hex << mid;
  }

  Browse(0, Media::MEDIA_TYPE_PICTURE);
  ASSERT_EQ(Bridge()->GetMediaItemCount(), 1);
  EXPECT_EQ(Bridge()->RequestMetadata(0), 1);
  Settle();
  Media::MediaItem* photo = probe->ready_.back()->Item.get();
  ASSERT_NE(photo, nullptr);
  auto* picture = kv::Cast<Media::PictureMetadata>(photo->Metadata.get());
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Orientation, 6);
  EXPECT_EQ(picture->Make.ToUtf8(), "Acme");
  // 64 x 48 as stored, 48 x 64 standing upright.
  EXPECT_EQ(picture->Width, 48);
  EXPECT_EQ(picture->Height, 64);
}

TEST_F(MediaBridgeTest, StatusServerAndControllerEventsTakeTheirRoads) {
  WriteStick("U", {"x.jpg"});
  OpenProbe();
  EXPECT_EQ(Bridge()->GetMediumCount(), 0);
  Plug("U");  // status 18/4: the sources are read again
  EXPECT_EQ(Bridge()->GetMediumCount(), 1);
  psl::Unplug(1);
  Settle();
  EXPECT_EQ(Bridge()->GetMediumCount(), 0);
  // A controller event reaches the bridge (list marked changed) and the screens.
  auto* dmc = kv::New<Media::DmcEvent>();
  EXPECT_EQ(App().Broadcast(dmc, 0), nullptr);
  // A renderer status while the renderer is off is swallowed.
  auto* dmr = kv::New<Events::DMRStatusEvent>();
  EXPECT_EQ(Bridge()->HandleEvent(dmr), dmr);
  EXPECT_FALSE(Bridge()->IsRendererActive());
  // A media error event reaches no screen.
  auto* err = kv::New<MessageDialogs::MediaEvent>()->Initialize(
      &MessageDialogs::MediaInvalidFileFormatDialog::StaticClass(), 1, 2, kv::String::FromUtf8("x"));
  EXPECT_EQ(Dispatch(err), nullptr);
  EXPECT_EQ(Bridge()->ConvertRemovableCode(241).Length(), 0);
  EXPECT_EQ(Bridge()->ConvertRemovableCode(247).Length(), 0);
  EXPECT_EQ(Bridge()->ConvertRemovableCode(243).ToUtf8(), "/mnt/usb2");
  EXPECT_TRUE(Media::UriOnRemovedDevice(kv::String::FromUtf8("file:///mnt/usb2/a.jpg"), 243));
  EXPECT_FALSE(Media::UriOnRemovedDevice(kv::String::FromUtf8("file:///mnt/usb21/a.jpg"), 243));
}

TEST_F(MediaBridgeTest, PlaybackCommandsReachTheService) {
  WriteStick("M", {"a.wav", "b.wav", "c.wav", "m.avi", "p.jpg"});
  Plug("M");
  Browse(0, Media::MEDIA_TYPE_MUSIC);
  ClearCallLog();
  Bridge()->RequestPlay(Bridge()->GetMediaItem(2), 5);  // the third song of the folder
  ASSERT_EQ(Calls("PslExternalSendNavCommand").size(), 1u);
  EXPECT_EQ(Calls("PslExternalSendNavCommand")[0], "PslExternalSendNavCommand(38, 1, 3)");
  EXPECT_EQ(Bridge()->GetPlaylistCurUID(), 2);
  EXPECT_EQ(Bridge()->GetPlaylistTotal(), 3);
  Run(1500);
  Overlay::PlaybackInfo* info = kv::New<Overlay::PlaybackInfo>();
  Bridge()->GetPlaybackInfo(info);
  EXPECT_EQ(info->Title().ToUtf8(), "c.wav");
  EXPECT_EQ(info->Record.current, 3u);

  Browse(0, Media::MEDIA_TYPE_VIDEO);
  Bridge()->SetVideoPreviewWindow(10, 20, 300, 200);
  ClearCallLog();
  Bridge()->GetVideoWindow();  // saved
  Bridge()->RequestPlay(Bridge()->GetMediaItem(0), 4);  // a movie in mode 4: the window, then play
  ASSERT_EQ(Calls("PslExternalSendNavCommand").size(), 1u);
  EXPECT_EQ(Calls("PslExternalSendNavCommand")[0], "PslExternalSendNavCommand(3, 0, 0)");
  ASSERT_FALSE(Calls("XPM_SetDisplayWindow").empty());
  EXPECT_EQ(Calls("XPM_SetDisplayWindow").back(), "XPM_SetDisplayWindow(0, 0, 0, 960, 540)");
  Bridge()->RestoreVideoWindow();
  EXPECT_EQ(Calls("XPM_SetDisplayWindow").back(), "XPM_SetDisplayWindow(0, 10, 20, 300, 200)");

  Browse(0, Media::MEDIA_TYPE_PICTURE);
  ClearCallLog();
  Bridge()->RequestPlay(Bridge()->GetMediaItem(0), 5);  // pictures: the playlist, no command
  EXPECT_TRUE(Calls("PslExternalSendNavCommand").empty());
  EXPECT_EQ(Calls("PslMediaPlaylistCreate").size(), 1u);
  EXPECT_EQ(Bridge()->SetBitmapOrientation(Bridge()->GetDecodedPicture(), {0, 0}, 90), kv::Point(0, 0));
  EXPECT_EQ(Bridge()->SetBitmapOrientation(Bridge()->GetDecodedPicture(), {64, 48}, 45), kv::Point(0, 0));
  EXPECT_TRUE(Calls("PslGuiRotateImage").empty());
  EXPECT_EQ(Bridge()->GetPlaylistCurUID(), 0);
  Bridge()->Reset();
  EXPECT_EQ(Bridge()->GetPlaylistCurUID(), -1);
}

TEST_F(MediaBridgeTest, AfterResetAndACollectionNothingStaysAndFiftyOpensReturnToBaseline) {
  WriteStick("C", {"a.jpg", "b.jpg", "F/", "F/c.jpg"});
  Plug("C");
  auto cycle = [&] {
    Browse(0, Media::MEDIA_TYPE_PICTURE);
    Caption(0);
    Caption(1);
    Caption(2);
    Bridge()->RequestBrowseFolder(Bridge()->GetMediaItem(0)->Uri, Media::MEDIA_TYPE_PICTURE);
    Settle();
    Caption(0);
    Bridge()->Reset();
    Settle();
  };
  cycle();
  const auto base = Census();
  for (int i = 0; i < 50; ++i) cycle();
  const auto after = Census();
  for (const char* cls : {"Media::DataItemList", "Media::PictureDataItem", "Media::ContainerDataItem",
                          "Media::PictureContainerDataSource", "Media::ServiceCanvas"})
    EXPECT_EQ(after.count(cls) ? after.at(cls) : 0u, base.count(cls) ? base.at(cls) : 0u) << cls;
  EXPECT_EQ(after.count("Media::PictureDataItem") ? after.at("Media::PictureDataItem") : 0u, 0u);
  EXPECT_EQ(after.count("Media::DataItemList") ? after.at("Media::DataItemList") : 0u, 0u);
}

TEST_F(MediaBridgeTest, ServersAreRecordsHiddenWithDlnaOffAndUnregisteredByTheirRow) {
  for (int i = 0; i < 6; ++i) {
    const std::filesystem::path dir = DataDir() / "media" / "servers" / ("s" + std::to_string(i));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "server.ini") << "name=Server " << i << "\naddress=10.0.0." << i + 1
                                      << "\nmac=00:11:22:33:44:5" << i << "\nwake-on-lan=" << (i == 5 ? 1 : 0)
                                      << "\n";
  }
  psl::Rescan();
  Settle();
  Bridge()->GetMediaServerList();
  ASSERT_EQ(Bridge()->GetMediaServerCount(), 6);
  Media::MediaServer* five = Bridge()->GetMediaServer(5);
  ASSERT_NE(five, nullptr);
  EXPECT_EQ(five->Caption.ToUtf8(), "Server 5");
  EXPECT_EQ(five->IpAddress.ToUtf8(), "10.0.0.6");
  EXPECT_EQ(five->MacAddress.ToUtf8(), "00:11:22:33:44:55");
  EXPECT_EQ(five->SupportWoL, 1);
  EXPECT_EQ(Bridge()->GetMediaServer(0)->SupportWoL, 0);
  EXPECT_EQ(Bridge()->GetMediaServer(6), nullptr);
  // Registered out of order: unticking row 2 unregisters server 2 (the
  // registered list holds it second), and no other.
  EXPECT_TRUE(Bridge()->RegisterMediaServer(5));
  EXPECT_TRUE(Bridge()->RegisterMediaServer(2));
  EXPECT_TRUE(Bridge()->UnRegisterMediaServer(2));
  EXPECT_FALSE(Bridge()->GetMediaServer(2)->Registered);
  EXPECT_TRUE(Bridge()->GetMediaServer(5)->Registered);
  EXPECT_EQ(Bridge()->GetRegisteredServerCount(), 1);
  EXPECT_EQ(Bridge()->GetRegisteredMeidaServer(0)->Caption.ToUtf8(), "Server 5");
  // DLNA off through the setting: the servers leave the sources.
  EXPECT_EQ(Bridge()->GetMediumCount(), 6);
  W()->OnSetEnableDlna(0);
  EXPECT_EQ(Calls("PslMediaEnableDLNA").back(), "PslMediaEnableDLNA(0)");
  EXPECT_EQ(Bridge()->GetMediumCount(), 0);
  W()->OnSetEnableDlna(1);
  EXPECT_EQ(Bridge()->GetMediumCount(), 6);
}

TEST_F(MediaBridgeTest, ASortChangeReBrowsesTheFolderInPlace) {
  WriteStick("T", {"F/", "F/a.jpg", "F/b.jpg", "F/c.jpg"});
  // a oldest, c newest.
  const auto now = std::filesystem::file_time_type::clock::now();
  for (int i = 0; i < 3; ++i)
    std::filesystem::last_write_time(StickDir("T") + "/F/" + std::string(1, char('a' + i)) + ".jpg",
                                     now - std::chrono::hours(3 - i));
  Plug("T");
  Browse(0, Media::MEDIA_TYPE_PICTURE);
  Bridge()->RequestBrowseFolder(Bridge()->GetMediaItem(0)->Uri, Media::MEDIA_TYPE_PICTURE);
  Settle();
  EXPECT_EQ(Caption(0), "a.jpg");
  Bridge()->SetMediaSortMode(2);
  EXPECT_EQ(Calls("PslMediaSetSortMode").back(), "PslMediaSetSortMode(2)");
  Bridge()->ReBrowseCurrentFolder();
  Settle();
  EXPECT_EQ(Caption(0), "c.jpg");
  EXPECT_EQ(Caption(2), "a.jpg");
  EXPECT_EQ(Bridge()->GetCurrentFolderDepth(), 1);  // the stack stays
  EXPECT_EQ(Bridge()->GetCurrentFolder().ToUtf8(), "F");
}

TEST_F(MediaBridgeTest, PicturesDecodeTurnAndBecomeTheWallpaper) {
  WriteStick("W", {"w.jpg"});
  Plug("W");
  Browse(0, Media::MEDIA_TYPE_PICTURE);
  auto* picture = kv::Cast<Media::PictureDataItem>(Bridge()->GetCurrentSource()->GetItemAtAbsolute(0));
  ASSERT_NE(picture, nullptr);
  EventProbe* probe = OpenProbe();
  (void)probe;
  picture->RequestPicture();
  Settle();
  EXPECT_EQ(picture->PictureState, PSL_STATE_READY);
  EXPECT_EQ(picture->Width, 64);
  Media::ServiceCanvas* decoded = Bridge()->GetDecodedPicture();
  ASSERT_NE(decoded, nullptr);
  const ge::Surface px = decoded->GetSurface();
  EXPECT_NE(px.Row(270)[480] >> 24, 0u);  // the picture, fitted and centred
  EXPECT_EQ(Bridge()->SetBitmapOrientation(decoded, {64, 48}, 90), kv::Point(48, 64));
  EXPECT_EQ(Calls("PslGuiRotateImage").size(), 1u);

  EXPECT_FALSE(Bridge()->IsUserWallpaperSet());
  Bridge()->CopyUserWallpaper(0, kv::String::FromUtf8("w.jpg"));
  Settle();
  EXPECT_TRUE(Bridge()->IsUserWallpaperSet());
  const std::string path = Bridge()->GetWallpaperPath().ToUtf8();
  EXPECT_NE(path.find("wallpaper"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(path));
  Bridge()->DeleteUserWallpaper(Bridge()->GetWallpaperPath());
  EXPECT_EQ(Calls("PslMediaWallpaperDelete").size(), 1u);
  EXPECT_FALSE(Bridge()->IsUserWallpaperSet());
}

}  // namespace
}  // namespace listtest
