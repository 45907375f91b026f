// The media lists in small screens that play the media screens (they come
// later), over the media bridge: sticks and servers written as files,
// plugged and browsed through the media service.
#include <gtest/gtest.h>

#include <string>

#include "media_fixture.h"
#include "runtime/text.h"
#include "strings/Strings.h"
#include "units/Agent/MessageAgent.h"
#include "units/Core/Event.h"
#include "units/ListForm/MediaLists.h"
#include "units/Media/MediaWrapper.h"
#include "units/Overlay/PlaybackInfo.h"
#include "units/WinIDs/WinIDs.h"
#include <fstream>

namespace listtest {

// Counts the messages of one code that reach it through the message agent.
class MessageProbe : public Primitives::KeyRoutingForm {
  KV_CLASS(listtest, MessageProbe, Primitives::KeyRoutingForm)
 public:
  void HandleMessage(Structures::Message* msg) override {
    if (msg && msg->Code == code) ++hits;
  }
  int32_t code = 0;
  int hits = 0;
};
KV_REGISTER_CLASS(listtest::MessageProbe);

namespace {

using namespace ListForm;

class MediaListsTest : public MediaTest {
 protected:
  // A folder of `files` files of `type` after `folders` folders, browsed.
  void Folder(int folders, int files, int16_t type) {
    const char* ext = type == Media::MEDIA_TYPE_MUSIC ? ".wav" : type == Media::MEDIA_TYPE_PICTURE ? ".jpg" : ".avi";
    std::vector<std::string> names;
    for (int i = 0; i < folders + files; ++i)
      names.push_back(i < folders ? "Folder " + std::to_string(i) + "/"
                                  : "File " + std::string(i < 10 ? "0" : "") + std::to_string(i) + ext);
    WriteStick("Stick", names);
    Plug("Stick");
    Browse(0, type);
  }
  // A list screen with the window id the media events are routed to.
  template <class L>
  L* OpenMedia(L* list, kv::Rect bounds = {20, 20, 420, 300}) {
    auto* form = kv::New<Primitives::KeyRoutingForm>();
    form->WinID = WinIDs::WIN_ID_MusicListView;
    return Open(list, bounds, 0, 0, {60, 60, 900, 500}, form);
  }
  // The movie list of a folder "Many" of 300 movies v000.avi .. v299.avi,
  // browsed; the focus plays nothing.
  MediaContentList* OpenManyMovies() {
    const std::string first = MovieName(0);
    media_writer::WriteMovie(first, 1, 32, 24, 100, 120, 140);
    for (int i = 1; i < 300; ++i) std::filesystem::create_hard_link(first, MovieName(i));
    Plug("Stick");
    Browse(0, Media::MEDIA_TYPE_VIDEO);
    Bridge()->RequestBrowseFolder(Bridge()->GetMediaItem(0)->Uri, Media::MEDIA_TYPE_VIDEO);
    Settle();
    auto* l = OpenMedia(kv::New<MediaContentList>());
    l->IsPlayOnFocus = false;
    return l;
  }
  std::string MovieName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "/Many/v%03d.avi", i);
    return StickDir("Stick") + name;
  }
  size_t Traced(const std::string& part) {
    size_t n = 0;
    for (const std::string& line : Log().Lines())
      if (line.find(part) != std::string::npos) ++n;
    return n;
  }
};

TEST_F(MediaListsTest, ThePreviewStartsOnce500MsAfterTheLastMoveAndStopsOnAFolder) {
  Folder(1, 10, Media::MEDIA_TYPE_MUSIC);
  auto* l = kv::New<MediaContentList>();
  l->Filter = Media::MEDIA_TYPE_MUSIC;
  OpenMedia(l);
  EXPECT_EQ(Rows(l).size(), 280u / 28u);  // the rows fill the list's height
  Run(600);  // on the folder: nothing plays
  EXPECT_TRUE(Calls("PslExternalSendNavCommand").empty());
  ClearCallLog();
  Press("down");
  Run(300);
  Press("down");
  Run(300);
  Press("down");
  Run(400);
  EXPECT_TRUE(Calls("PslExternalSendNavCommand").empty());
  Run(100);
  // The song alone as a playlist, played; repeat off.
  ASSERT_EQ(Calls("PslExternalSendNavCommand").size(), 1u);
  EXPECT_EQ(Calls("PslExternalSendNavCommand")[0], "PslExternalSendNavCommand(3, 0, 0)");
  ASSERT_EQ(Calls("PslMediaPlaylistCreate").size(), 1u);
  EXPECT_EQ(Calls("PslMediaPlaylistCreate")[0], "PslMediaPlaylistCreate(7, 4)");
  EXPECT_EQ(Calls("PslGuiSetRepeatMode").back(), "PslGuiSetRepeatMode(1)");
  EXPECT_TRUE(l->IsPreviewStarted);
  EXPECT_EQ(l->PreviewIndex, 3);
  Run(1500);
  auto* info = kv::New<Overlay::PlaybackInfo>();
  Bridge()->GetPlaybackInfo(info);
  EXPECT_EQ(info->Title().ToUtf8(), "File 03.wav");
  // Up and back down to the item being previewed: no second start.
  Press("up");
  Press("down");
  Run(600);
  EXPECT_EQ(Calls("PslMediaPlaylistCreate").size(), 1u);
  // Landing on the folder stops it.
  Press("up", 3);
  Run(600);
  EXPECT_EQ(Calls("PslExternalSendNavCommand").back(), "PslExternalSendNavCommand(5, 0, 0)");
  EXPECT_FALSE(l->IsPreviewStarted);
  EXPECT_EQ(l->PreviewIndex, -1);
}

TEST_F(MediaListsTest, PicturesAskForOneThumbnailAtATimePacedBy100Ms) {
  Folder(0, 6, Media::MEDIA_TYPE_PICTURE);
  ClearCallLog();
  auto* l = kv::New<MediaContentList>();
  l->Filter = Media::MEDIA_TYPE_PICTURE;
  l->IsPlayOnFocus = false;
  auto* form = kv::New<Primitives::KeyRoutingForm>();
  form->WinID = WinIDs::WIN_ID_PhotoMultiView;
  Open(l, {20, 20, 420, 300}, 0, 0, {60, 60, 900, 500}, form);
  EXPECT_EQ(Calls("PslMediaRequestMetadata").size(), 1u);
  Run(100);
  EXPECT_EQ(Calls("PslMediaRequestMetadata").size(), 2u);
  Run(1000);
  EXPECT_EQ(Calls("PslMediaRequestMetadata").size(), 6u);
  for (size_t i = 0; i < 6; ++i) {
    auto* row = Row<MediaContentListItem>(l, i);
    ASSERT_TRUE(row && row->DataItem) << i;
    EXPECT_TRUE(row->DataItem->MetadataLoaded) << i;
    EXPECT_NE(kv::Cast<Media::PictureMetadata>(row->DataItem->Metadata.get()), nullptr) << i;
  }
  Run(500);
  EXPECT_EQ(Calls("PslMediaRequestMetadata").size(), 6u);  // nothing left to ask
}

// A truncated JPEG and a text file named .jpg: the service cannot read them;
// loading goes on past them and they stay rows without metadata.
TEST_F(MediaListsTest, UnreadablePicturesDoNotStopTheLoadingOfLaterRows) {
  WriteStick("Stick", {"File 00.jpg", "File 03.jpg", "File 04.jpg"});
  std::vector<uint8_t> jpeg = media_writer::Jpeg(64, 48, 0x204080, 0xC0E0FF);
  jpeg.resize(jpeg.size() / 3);
  media_writer::WriteBytes(StickDir("Stick") + "/File 01.jpg", jpeg);
  const std::string text = "just some words, no picture";
  media_writer::WriteBytes(StickDir("Stick") + "/File 02.jpg", std::vector<uint8_t>(text.begin(), text.end()));
  Plug("Stick");
  Browse(0, Media::MEDIA_TYPE_PICTURE);
  auto* l = kv::New<MediaContentList>();
  l->Filter = Media::MEDIA_TYPE_PICTURE;
  l->IsPlayOnFocus = false;
  auto* form = kv::New<Primitives::KeyRoutingForm>();
  form->WinID = WinIDs::WIN_ID_PhotoMultiView;
  Open(l, {20, 20, 420, 300}, 0, 0, {60, 60, 900, 500}, form);
  Run(1500);
  EXPECT_EQ(Calls("PslMediaRequestMetadata").size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    auto* row = Row<MediaContentListItem>(l, i);
    ASSERT_TRUE(row && row->DataItem) << i;
    EXPECT_TRUE(row->DataItem->MetadataLoaded) << i;
    const bool bad = i == 1 || i == 2;
    EXPECT_EQ(row->DataItem->Metadata.get() == nullptr, bad) << i;
  }
  // The next key is still answered.
  Press("down");
  EXPECT_EQ(l->GetFocusedRow(), Row<MediaContentListItem>(l, 1));
}

TEST_F(MediaListsTest, AnEmptyFolderHidesTheListSendsNoFilesAndPassesOnlyBackAndExit) {
  auto* probe = kv::New<MessageProbe>();
  kv::Persistent<MessageProbe> keep(probe);
  probe->code = Constants::MSG_NO_MEDIA_FILES;
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Register(probe);
  auto* l = OpenMedia(kv::New<MediaContentList>());
  EXPECT_EQ(probe->hits, 1);
  EXPECT_FALSE(l->IsVisible());
  EXPECT_TRUE(Rows(l).empty());
  auto key = [&](uint16_t code) {
    auto* k = kv::New<Core::KeyEvent>();
    k->Code = code;
    k->Down = true;
    return l->HandleEvent(k);
  };
  EXPECT_EQ(key(41), nullptr);
  EXPECT_EQ(key(45), nullptr);
  EXPECT_EQ(key(2), nullptr);
  EXPECT_EQ(key(5), l);
  EXPECT_EQ(key(1), l);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->UnRegister(probe);
}

TEST_F(MediaListsTest, RowsStillLoadingFillInPlaceWhenTheirPageComesAndTheFocusStays) {
  MediaContentList* l = OpenManyMovies();
  ASSERT_EQ(l->GetItemsNum(), 300);
  // Page up from the first row: the last rows belong to the second page, still loading.
  psl::SetAnswerDelay(1000);
  Press("up");
  auto* focused = kv::Cast<MediaContentListItem>(l->GetFocusedRow());
  ASSERT_NE(focused, nullptr);
  EXPECT_EQ(focused->ItemIndex, 299);
  EXPECT_EQ(Text(focused), "");  // loading
  EXPECT_EQ(focused->DataItem.get(), nullptr);
  psl::SetAnswerDelay(0);
  Run(1500);
  focused = kv::Cast<MediaContentListItem>(l->GetFocusedRow());
  ASSERT_NE(focused, nullptr);
  EXPECT_EQ(focused->ItemIndex, 299);  // the focus stayed on the row
  EXPECT_EQ(Text(focused), "v299.avi");
  ASSERT_NE(focused->DataItem.get(), nullptr);
}

// Files taken off the stick while the list is open: the folder's page that
// comes shorter than announced ends the list there, and the focus goes to
// the last file still on the stick instead of a row that never fills.
TEST_F(MediaListsTest, AFolderThatShrankWhileListedEndsAtItsLastFile) {
  MediaContentList* l = OpenManyMovies();
  ASSERT_EQ(l->GetItemsNum(), 300);
  for (int i = 280; i < 300; ++i) std::filesystem::remove(MovieName(i));  // from the second page (256 on)
  Press("up");  // to the last row, on a page not yet read
  Run(3000);
  auto* focused = kv::Cast<MediaContentListItem>(l->GetFocusedRow());
  ASSERT_NE(focused, nullptr);
  EXPECT_EQ(Text(focused), "v279.avi");
  Press("down");  // and the list wraps to its first file
  Run(1500);
  focused = kv::Cast<MediaContentListItem>(l->GetFocusedRow());
  ASSERT_NE(focused, nullptr);
  EXPECT_EQ(Text(focused), "v000.avi");
}

TEST_F(MediaListsTest, ANinthServerStaysUncheckedAndACheckedOneUnregistersAtOnce) {
  for (int i = 0; i < 9; ++i) {
    const std::filesystem::path dir = DataDir() / "media" / "servers" / ("s" + std::to_string(i));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "server.ini") << "name=Server " << i << "\naddress=10.0.0." << i + 1
                                      << "\nwake-on-lan=" << (i == 0 ? 1 : 0) << "\n";
  }
  psl::Rescan();
  Settle();
  Bridge()->GetMediaServerList();
  ASSERT_EQ(Bridge()->GetMediaServerCount(), 9);
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(Bridge()->RegisterMediaServer(i));
  auto* l = OpenMedia(kv::New<MediaServerList>(), {20, 20, 630, 234});
  ASSERT_EQ(Rows(l).size(), 8u);
  auto* first = Row<MediaServerListItem>(l, 0);
  EXPECT_TRUE(first->IsChecked);
  EXPECT_EQ(first->OnGetWoLText().ToUtf8(), kv::GetVariantOfString(Strings::SID_SUPPORT).ToUtf8());
  Press("down", 8);  // no wrap: to the ninth
  auto* ninth = kv::Cast<MediaServerListItem>(l->GetFocusedRow());
  ASSERT_EQ(Text(ninth), "Server 8");
  EXPECT_FALSE(ninth->IsChecked);
  Press("ok");
  EXPECT_FALSE(ninth->IsChecked);  // the bridge keeps eight
  EXPECT_FALSE(Bridge()->GetMediaServer(8)->Registered);
  Press("up");
  Press("ok");
  EXPECT_FALSE(Bridge()->GetMediaServer(7)->Registered);
  Press("down");
  Press("ok");
  EXPECT_TRUE(Bridge()->GetMediaServer(8)->Registered);
  EXPECT_TRUE(kv::Cast<MediaServerListItem>(l->GetFocusedRow())->IsChecked);
}

TEST_F(MediaListsTest, DevicesShowTheirKind) {
  WriteStick("Disk", {"a.jpg"});
  Plug("Disk");
  const std::filesystem::path dir = DataDir() / "media" / "servers" / "nas";
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "server.ini") << "name=Disk\naddress=10.0.0.9\n";
  psl::Rescan();
  Settle();
  auto* activated = kv::New<Probe>();
  kv::Persistent<Probe> keep(activated);
  auto* l = kv::New<MediumDeviceList>();
  l->OnItemActivate = kv::MakeSlot(activated, &Probe::Hit);
  OpenMedia(l);
  ASSERT_EQ(Rows(l).size(), 2u);
  EXPECT_EQ(Text(Rows(l)[0]), "USB: Disk");
  EXPECT_EQ(Text(Rows(l)[1]), "DLNA: Disk");
  EXPECT_FALSE(Row<MediumDeviceItem>(l, 1)->OnGetIsDisabled());
  Press("ok");
  EXPECT_EQ(activated->hits, 1);
  EXPECT_EQ(FormatDuration(5400).ToUtf8(), "01:30:00");
  EXPECT_EQ(FormatDuration(-1).ToUtf8(), "");
}

}  // namespace
}  // namespace listtest
