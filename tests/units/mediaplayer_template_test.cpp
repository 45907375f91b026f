// The player template and the banner template through the running system:
// a player opened by the browser's state change, its ways out (Back with the
// restore position, Exit, a pulled stick, standby) and the banner's size
// text.
#include <filesystem>
#include <fstream>

#include "runtime/runtime.h"

#include "player_fixture.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/MediaPlayer/BrowserTemplate.h"
#include "units/MediaPlayer/FileSize.h"
#include "units/MediaPlayer/PlayerBanner.h"
#include "units/MediaPlayer/PlayerTemplate.h"

namespace playertest {

// The template with nothing of a concrete player: the music kind, its own
// window id, and a banner of the template that it opens as a player does.
class TemplatePlayer : public MediaPlayer::MediaPlayerFullScreenTemplate {
  KV_CLASS(playertest, TemplatePlayer, MediaPlayer::MediaPlayerFullScreenTemplate)
 public:
  TemplatePlayer() {
    WinID = WinIDs::WIN_ID_MusicPlayer;
    MediaFilter = MediaPlayer::FILTER_MUSIC;
  }
  void Initialize(Primitives::KeyRoutingParameter* param) override {
    MediaPlayerFullScreenTemplate::Initialize(param);
    auto* b = kv::New<MediaPlayer::MediaPlayerBannerTemplate>();
    b->OnSetBounds({b->WidgetOrigin.x, b->WidgetOrigin.y, b->WidgetOrigin.x + 960, b->WidgetOrigin.y + 55});
    b->Parent = this;
    b->Open();
    banner = b;
  }
  void Close() override {
    MediaPlayerFullScreenTemplate::Close();
    if (banner) banner->Close();
  }
  kv::Member<MediaPlayer::MediaPlayerBannerTemplate> banner;
};

}  // namespace playertest

KV_REGISTER_CLASS(playertest::BrowserStandIn);
KV_REGISTER_CLASS(playertest::BrowserParent);
KV_REGISTER_CLASS(playertest::TemplatePlayer);
KV_REGISTER_CLASS(playertest::MessageProbe);

namespace playertest {
namespace {

class TemplateTest : public PlayerTest {
 protected:
  // The music stick browsed and song `index` of the folder playing, then
  // the template player opened on it.
  TemplatePlayer* Play(int32_t index) {
    MusicStick();
    Plug("tunes");
    Browse(0, Media::MEDIA_TYPE_MUSIC);
    Bridge()->RequestPlay(Bridge()->GetMediaItem(index), 5);
    Settle();
    ClearCallLog();
    return OpenPlayer<TemplatePlayer>(&TemplatePlayer::StaticClass(), index);
  }
};

TEST_F(TemplateTest, OpensOnTheMediaInputAndBackHandsTheBrowserTheFolderRowOfThePlayingSong) {
  const int32_t tv = W()->GetCurrentSource(0);
  ASSERT_NE(tv, 22);
  // Folder rows: sub 0, a 1, b 2, c 3; the playlist holds a, b, c only.
  kv::Persistent<TemplatePlayer> p = Play(3);
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(p->IsOpen());
  EXPECT_EQ(Calls("XPM_SetSource"), std::vector<std::string>{"XPM_SetSource(0, 22)"});
  EXPECT_TRUE(WaitingShown());
  EXPECT_EQ(p->BrowserPrevClass(), &BrowserParent::StaticClass());
  ClearCallLog();

  Press("back");
  EXPECT_FALSE(p->IsOpen());
  EXPECT_FALSE(WaitingShown());
  EXPECT_TRUE(NavSent("5, 0, 0"));  // playback stopped
  // The browser opens on the folder row of c (3) + 1, not on c's playlist
  // position + 1, and keeps its own way back.
  EXPECT_EQ(BrowserStandIn::opened, 1);
  EXPECT_EQ(BrowserStandIn::restore, 4);
  EXPECT_EQ(BrowserStandIn::code, Constants::MSG_FROM_NONMENUSYSTEM);
  bool found = false;
  for (Primitives::KeyRoutingForm* f : OpenForms())
    if (auto* b = kv::Cast<BrowserStandIn>(f)) {
      found = true;
      EXPECT_EQ(b->PrevState, &BrowserParent::StaticClass());
    }
  EXPECT_TRUE(found);
}

TEST_F(TemplateTest, BackWithoutAPlayingItemHandsNoRestorePosition) {
  WriteStick("tunes", {"a.wav"});
  Plug("tunes");
  Browse(0, Media::MEDIA_TYPE_MUSIC);
  ASSERT_NE(OpenPlayer<TemplatePlayer>(&TemplatePlayer::StaticClass(), 0), nullptr);
  Press("back");
  EXPECT_EQ(BrowserStandIn::restore, -1);
}

TEST_F(TemplateTest, ExitStopsPlaybackAndReturnsToTheLastTvSource) {
  const int32_t tv = W()->GetCurrentSource(0);
  kv::Persistent<TemplatePlayer> p = Play(1);
  ASSERT_NE(p, nullptr);
  ClearCallLog();
  Press("exit");
  EXPECT_FALSE(p->IsOpen());
  EXPECT_TRUE(NavSent("5, 0, 0"));
  EXPECT_EQ(Calls("XPM_SetSource"), std::vector<std::string>{"XPM_SetSource(0, " + std::to_string(tv) + ")"});
  EXPECT_EQ(W()->GetCurrentSource(0), tv);
  EXPECT_EQ(BrowserStandIn::opened, 0);
  EXPECT_FALSE(Wm()->HasWidgetInGroup(WinIDs::WIN_ID_MediaPlayer));
  // The next key is answered by live TV again: the menu opens.
  Press("menu");
  EXPECT_FALSE(OpenForms().empty());
}

TEST_F(TemplateTest, PullingThePlayedStickLeavesWithMessage21AndAnotherStickChangesNothing) {
  WriteStick("other", {"z.wav"});
  const int32_t tv = W()->GetCurrentSource(0);
  kv::Persistent<TemplatePlayer> p = Play(2);
  ASSERT_NE(p, nullptr);
  const int32_t other = Plug("other");
  ASSERT_GT(other, 0);
  psl::Unplug(other);
  Settle();
  EXPECT_TRUE(p->IsOpen());


  psl::Unplug(1);
  Settle();
  EXPECT_FALSE(p->IsOpen());
  // The bar of message 21 opened (the picture of the TV source that comes
  // back replaces it with the information banner).
  std::vector<std::string> bars;
  for (const std::string& line : Log().Lines())
    if (line.find(MessageTypeTrace()) != std::string::npos) bars.push_back(line);
  ASSERT_EQ(bars.size(), 1u);
  EXPECT_NE(bars[0].find(MessageTypeTrace() + "21"), std::string::npos);
  EXPECT_EQ(W()->GetCurrentSource(0), tv);
  EXPECT_TRUE(NavSent("5, 0, 0"));
}

// A song of a home-network server playing in the template player.
class ServerTest : public TemplateTest {
 protected:
  std::filesystem::path ServerDir() { return DataDir() / "media" / "servers" / "home"; }
  TemplatePlayer* PlayFromServer() {
    std::filesystem::create_directories(ServerDir());
    std::ofstream(ServerDir() / "server.ini") << "name=Home\naddress=10.0.0.9\nmac=00:11:22:33:44:55\nwake-on-lan=0\n";
    media_writer::WriteWav((ServerDir() / "song.wav").string(), 20);
    psl::Rescan();
    Settle();
    Browse(0, Media::MEDIA_TYPE_MUSIC);
    if (Bridge()->GetCurMediumType() != Media::MEDIUM_SERVER) return nullptr;
    Bridge()->RequestPlay(Bridge()->GetMediaItem(0), 5);
    Settle();
    ClearCallLog();
    return OpenPlayer<TemplatePlayer>(&TemplatePlayer::StaticClass(), 0);
  }
};

TEST_F(ServerTest, AVanishedServerLeavesWithMessage21) {
  const int32_t tv = W()->GetCurrentSource(0);
  kv::Persistent<TemplatePlayer> p = PlayFromServer();
  ASSERT_NE(p, nullptr);
  std::filesystem::remove_all(ServerDir());
  psl::Rescan();
  Settle();
  EXPECT_FALSE(p->IsOpen());
  EXPECT_TRUE(NavSent("5, 0, 0"));
  EXPECT_EQ(W()->GetCurrentSource(0), tv);
  EXPECT_TRUE(Logged(MessageTypeTrace() + "21"));
}

TEST_F(ServerTest, ALostNetworkLeavesAServerSongButNotAStickSong) {
  kv::Persistent<TemplatePlayer> p = PlayFromServer();
  ASSERT_NE(p, nullptr);
  psl::NetworkDown();
  Settle();
  EXPECT_FALSE(p->IsOpen());
  EXPECT_TRUE(Logged(MessageTypeTrace() + "21"));
}

TEST_F(TemplateTest, ALostNetworkDoesNotStopAStickSong) {
  kv::Persistent<TemplatePlayer> p = Play(1);
  ASSERT_NE(p, nullptr);
  psl::NetworkDown();
  Settle();
  EXPECT_TRUE(p->IsOpen());
}

TEST_F(TemplateTest, StandbyStopsPlayback) {
  kv::Persistent<TemplatePlayer> p = Play(1);
  ASSERT_NE(p, nullptr);
  ClearCallLog();
  Dispatch(kv::New<Events::XPM_EVENT_STANDBY>());
  Settle();
  EXPECT_FALSE(p->IsOpen());
  EXPECT_TRUE(NavSent("5, 0, 0"));
}

TEST_F(TemplateTest, TheBannerShowsSizesOfAGigabyteAndMoreAndHidesOnlyAnUnreadableOne) {
  // Sizes in bytes below 1 MiB, KiB below 1 GiB, MiB above (sparse files).
  WriteStick("sizes", {});
  std::filesystem::create_directories(StickDir("sizes"));
  const std::pair<const char*, uintmax_t> files[] = {
      {"a.wav", 500}, {"b.wav", 1000000}, {"c.wav", 1234567}, {"d.wav", uintmax_t{3} << 30}};
  for (const auto& [name, size] : files) {
    media_writer::WriteWav(StickDir("sizes") + "/" + name, 1);
    std::filesystem::resize_file(StickDir("sizes") + "/" + name, size);
  }
  Plug("sizes");
  Browse(0, Media::MEDIA_TYPE_MUSIC);
  kv::Persistent<TemplatePlayer> p = OpenPlayer<TemplatePlayer>(&TemplatePlayer::StaticClass(), 0);
  ASSERT_NE(p, nullptr);
  MediaPlayer::MediaPlayerBannerTemplate* b = p->banner.get();
  auto sizeOf = [&](int32_t i) {
    b->ShowFileSize(Bridge()->GetMediaItem(i)->Uri);
    return b->SizeText().IsVisible() ? b->SizeText().OnGetString().ToUtf8() : std::string("(hidden)");
  };
  EXPECT_EQ(sizeOf(0), "Size: 500 bytes");
  EXPECT_EQ(sizeOf(1), "Size: 1,000,000 bytes");
  EXPECT_EQ(sizeOf(2), "Size: 1,205 KB");
  EXPECT_EQ(sizeOf(3), "Size: 3,072 MB");
  // Right-aligned at the same edge whatever its length.
  EXPECT_EQ(b->SizeText().Bounds().x2, 920);
  b->ShowFileSize(kv::String::FromUtf8("/mnt/usb1/gone.wav"));
  EXPECT_FALSE(b->SizeText().IsVisible());
  // The same helper the browser uses: a code with the top bit set is a size.
  EXPECT_EQ(MediaPlayer::FileSizeText(static_cast<int32_t>(0x80000000u | 1024u)).ToUtf8(), "Size: 1,024 MB");
  EXPECT_EQ(MediaPlayer::FileSizeText(-1).ToUtf8(), "");
}

TEST_F(TemplateTest, OpenedAndClosed50TimesTheHeapReturnsToItsBaseline) {
  MusicStick();
  Plug("tunes");
  Browse(0, Media::MEDIA_TYPE_MUSIC);
  auto open = [&] {
    TemplatePlayer* p = OpenPlayer<TemplatePlayer>(&TemplatePlayer::StaticClass(), 1);
    ASSERT_NE(p, nullptr);
    Press("exit");
    Settle();
    Browse(0, Media::MEDIA_TYPE_MUSIC);
  };
  kv::Runtime::SetCollectEveryPass(true);
  open();
  Run(100);
  const auto baseline = PlayerCensus();
  for (int i = 0; i < 50; ++i) open();
  Run(100);
  EXPECT_EQ(PlayerCensus(), baseline);
}

}  // namespace
}  // namespace playertest
