// The media lists in small screens that play the media screens (they come
// later), over the media bridge's tables: the folder's items, servers and
// controllers as the media service would leave them.
#include <gtest/gtest.h>

#include <string>

#include "listform_fixture.h"
#include "runtime/text.h"
#include "strings/Strings.h"
#include "units/Agent/MessageAgent.h"
#include "units/Core/Event.h"
#include "units/ListForm/MediaLists.h"
#include "units/Media/MediaItem.h"
#include "units/Media/MediaWrapper.h"
#include "units/WinIDs/WinIDs.h"

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

class MediaListsTest : public ListTest {
 protected:
  Media::MediaWrapper* Bridge() { return kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper); }
  void TearDown() override {
    if (Media::MediaWrapper* b = Bridge()) {
      b->Items.clear();
      b->Servers.clear();
      b->Controllers.clear();
      b->Media.clear();
      b->BgmTracks.clear();
    }
    ListTest::TearDown();
  }
  // A folder of `files` files of `type` after `folders` folders.
  void Folder(int folders, int files, int16_t type) {
    Bridge()->Items.clear();
    for (int i = 0; i < folders + files; ++i) {
      auto* item = kv::New<Media::MediaItem>();
      item->Type = i < folders ? Media::MEDIA_TYPE_FOLDER : type;
      item->Caption = kv::String::FromUtf8((i < folders ? "Folder " : "File ") + std::to_string(i));
      if (type == Media::MEDIA_TYPE_MUSIC) item->Metadata = kv::New<Media::MusicMetadata>();
      Bridge()->Items.push_back(item);
    }
  }
  // A list screen with the window id the media events are routed to.
  template <class L>
  L* OpenMedia(L* list, kv::Rect bounds = {20, 20, 420, 300}) {
    auto* form = kv::New<Primitives::KeyRoutingForm>();
    form->WinID = WinIDs::WIN_ID_MusicListView;
    return Open(list, bounds, 0, 0, {60, 60, 900, 500}, form);
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
  EXPECT_EQ(Traced("RequestPlay"), 0u);
  Log().Take();
  Press("down");
  Run(300);
  Press("down");
  Run(300);
  Press("down");
  Run(400);
  EXPECT_EQ(Traced("RequestPlay"), 0u);
  Run(100);
  EXPECT_EQ(Traced("RequestPlay"), 1u);
  EXPECT_EQ(Traced("RequestPlay File 3"), 1u);
  EXPECT_TRUE(l->IsPreviewStarted);
  EXPECT_EQ(l->PreviewIndex, 3);
  EXPECT_EQ(Bridge()->GetPlayingItem(), Bridge()->GetMediaItem(3));
  // Up and back down to the item being previewed: no second start.
  Press("up");
  Press("down");
  Run(600);
  EXPECT_EQ(Traced("RequestPlay"), 1u);
  // Landing on the folder stops it.
  Press("up", 3);
  Run(600);
  EXPECT_EQ(Traced("RequestStop"), 1u);
  EXPECT_FALSE(l->IsPreviewStarted);
  EXPECT_EQ(l->PreviewIndex, -1);
}

TEST_F(MediaListsTest, PicturesAskForOneThumbnailAtATimePacedBy100Ms) {
  Folder(0, 6, Media::MEDIA_TYPE_PICTURE);
  Log().Take();
  auto* l = kv::New<MediaContentList>();
  l->Filter = Media::MEDIA_TYPE_PICTURE;
  l->IsPlayOnFocus = false;
  auto* form = kv::New<Primitives::KeyRoutingForm>();
  form->WinID = WinIDs::WIN_ID_PhotoMultiView;
  Open(l, {20, 20, 420, 300}, 0, 0, {60, 60, 900, 500}, form);
  EXPECT_EQ(Traced("RequestMetadata"), 1u);
  Run(100);
  EXPECT_EQ(Traced("RequestMetadata"), 2u);
  Run(1000);
  EXPECT_EQ(Traced("RequestMetadata"), 6u);
  for (size_t i = 0; i < 6; ++i) EXPECT_TRUE(Bridge()->GetMediaItem(static_cast<int32_t>(i))->MetadataLoaded) << i;
  Run(500);
  EXPECT_EQ(Traced("RequestMetadata"), 6u);  // nothing left to ask
}

TEST_F(MediaListsTest, AnEmptyFolderHidesTheListSendsNoFilesAndPassesOnlyBackAndExit) {
  Bridge()->Items.clear();
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

TEST_F(MediaListsTest, ALoadingItemShowsAnEmptyTitleAndNoItem) {
  Folder(0, 3, Media::MEDIA_TYPE_VIDEO);
  Bridge()->Items.set(1, nullptr);  // still loading
  auto* l = OpenMedia(kv::New<MediaContentList>());
  auto* row = Row<MediaContentListItem>(l, 1);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(Text(row), "");
  EXPECT_EQ(row->DataItem.get(), nullptr);
  EXPECT_EQ(Text(Row<MediaContentListItem>(l, 2)), "File 2");
}

TEST_F(MediaListsTest, ANinthServerStaysUncheckedAndACheckedOneUnregistersAtOnce) {
  for (int i = 0; i < 9; ++i) {
    auto* s = kv::New<Media::MediaServerRecord>();
    s->Name = kv::String::FromUtf8("Server " + std::to_string(i));
    s->Registered = i < 8;
    s->SupportWoL = i == 0 ? 1 : 0;
    Bridge()->Servers.push_back(s);
  }
  auto* l = OpenMedia(kv::New<MediaServerList>(), {20, 20, 520, 234});
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

TEST_F(MediaListsTest, AtMostEightControllersAreChecked) {
  for (int i = 0; i < 10; ++i) {
    auto* c = kv::New<Media::MediaControllerRecord>();
    c->Name = kv::String::FromUtf8("Phone " + std::to_string(i));
    c->Allowed = i < 7;
    Bridge()->Controllers.push_back(c);
  }
  auto* l = OpenMedia(kv::New<MediaControllerList>());
  EXPECT_EQ(l->GetCheckedNumber(), 7);
  Press("down", 7);
  Press("ok");  // the eighth
  EXPECT_EQ(l->GetCheckedNumber(), 8);
  Press("down");  // the ninth scrolls in; the first scrolls out, still allowed
  Press("ok");
  EXPECT_FALSE(kv::Cast<MediaControllerListItem>(l->GetFocusedRow())->IsChecked);
  EXPECT_EQ(l->GetCheckedNumber(), 8);
  Press("up");
  Press("ok");  // unchecking one makes room
  Press("down");
  Press("ok");
  EXPECT_TRUE(kv::Cast<MediaControllerListItem>(l->GetFocusedRow())->IsChecked);
}

TEST_F(MediaListsTest, DevicesShowTheirKindAndAnInactiveOneIsDisabled) {
  const std::pair<int16_t, bool> media[] = {{0, true}, {2, false}, {1, true}};
  for (auto [kind, active] : media) {
    auto* m = kv::New<Media::MediumRecord>();
    m->Kind = kind;
    m->Active = active;
    m->Name = kv::String::FromUtf8("Disk");
    Bridge()->Media.push_back(m);
  }
  auto* activated = kv::New<Probe>();
  kv::Persistent<Probe> keep(activated);
  auto* l = kv::New<MediumDeviceList>();
  l->OnItemActivate = kv::MakeSlot(activated, &Probe::Hit);
  OpenMedia(l);
  ASSERT_EQ(Rows(l).size(), 3u);
  EXPECT_EQ(Text(Rows(l)[0]), "USB: Disk");
  EXPECT_EQ(Text(Rows(l)[1]), "DLNA: Disk");
  EXPECT_TRUE(Row<MediumDeviceItem>(l, 1)->OnGetIsDisabled());
  EXPECT_NE(Text(Rows(l)[2]), "Disk");
  Press("ok");
  EXPECT_EQ(activated->hits, 1);
  EXPECT_EQ(FormatDuration(5400).ToUtf8(), "01:30:00");
  EXPECT_EQ(FormatDuration(-1).ToUtf8(), "");
}

}  // namespace
}  // namespace listtest
