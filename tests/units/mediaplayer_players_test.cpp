// The movie and music players and their renderer variants through the
// running system: opened as the browser opens them (a state change with a
// SelectedParam, the stick browsed) and by the renderer road (a controller
// plays on the set), driven by keys and the media service's own status.
#include <cstdlib>
#include <initializer_list>

#include "platform/sim/sim_audio_service.h"
#include "platform/sim/sim_net_state.h"
#include "player_fixture.h"
#include "runtime/runtime.h"
#include "units/Bitmaps/BannerBitmaps.h"
#include "units/Bitmaps/MediaBitmaps.h"
#include "units/Bitmaps/PlayerBitmaps.h"
#include "units/Events/DMRStatusEvent.h"
#include "units/Events/XPM_EVENT_STANDBY.h"
#include "units/MediaPlayer/Players.h"
#include "units/ThreeD/SelectMode.h"

namespace playertest {
namespace {

using Lines = std::vector<std::string>;

class PlayersTest : public PlayerTest {
 protected:
  // Songs "a" .. of `seconds` each after a sub-folder; browsed, the player
  // opened on folder row `row` with the browser as its way back.
  MediaPlayer::MusicFullScreenPlay* OpenMusic(int32_t row, int seconds = 2) {
    std::filesystem::create_directories(StickDir("tunes") + "/sub");
    for (const char* n : {"a.wav", "b.wav", "c.wav"}) media_writer::WriteWav(StickDir("tunes") + "/" + n, seconds);
    Plug("tunes");
    Browse(0, Media::MEDIA_TYPE_MUSIC);
    ClearCallLog();
    auto* p = OpenPlayer<MediaPlayer::MusicFullScreenPlay>(&MediaPlayer::MusicFullScreenPlay::StaticClass(), row);
    if (p) p->PrevState = &BrowserStandIn::StaticClass();
    return p;
  }
  MediaPlayer::MovieFullScreenPlay* OpenMovie(int seconds = 20, bool broken = false) {
    media_writer::WriteMovie(StickDir("films") + "/m.avi", seconds, 64, 48, 120, 100, 160);
    media_writer::WriteMovie(StickDir("films") + "/n.avi", 2, 64, 48, 60, 100, 160);
    if (broken) media_writer::WriteBytes(StickDir("films") + "/l.avi", {'n', 'o', 't', ' ', 'a', 'v', 'i'});
    Plug("films");
    Browse(0, Media::MEDIA_TYPE_VIDEO);
    ClearCallLog();
    auto* p = OpenPlayer<MediaPlayer::MovieFullScreenPlay>(&MediaPlayer::MovieFullScreenPlay::StaticClass(), 0);
    if (p) p->PrevState = &BrowserStandIn::StaticClass();
    return p;
  }
  // The screen place of `v`, a part of the full-screen player `p`.
  static kv::Rect PlaceOf(const Core::View& p, const Core::View& v) {
    const kv::Rect at = p.Bounds();
    const kv::Rect r = v.Bounds();
    return {at.x1 + r.x1, at.y1 + r.y1, at.x1 + r.x2, at.y1 + r.y2};
  }
  // The OSD pixels of a screen place.
  std::vector<uint32_t> Pixels(const kv::Rect& r) {
    std::vector<uint32_t> out;
    for (int32_t y = r.y1; y < r.y2; ++y)
      for (int32_t x = r.x1; x < r.x2; ++x) out.push_back(Osd().Row(y)[x]);
    return out;
  }
  // The pixel of the OSD at (x, y) as 0xAABBGGRR.
  uint32_t Pixel(int32_t x, int32_t y) { return Osd().Row(y)[x]; }
  Resources::Bitmap* Bmp(const Resources::BitmapId& id) { return Resources::LoadResource(id); }
  // The file's size shows and covers none of the banner's icons, times or bar.
  static void ExpectSizeTextClear(MediaPlayer::MovieMusicFullViewBanner& b) {
    ASSERT_TRUE(b.SizeText().IsVisible());
    const kv::Rect size = b.SizeText().Bounds();
    for (Core::View* part : std::initializer_list<Core::View*>{&b.RepeatIcon(), &b.NavIcon(), &b.RateText(),
                                                                 &b.ElapsedText(), &b.TotalText(), &b.ProgressBar()})
      EXPECT_FALSE(size.Intersects(part->Bounds())) << "the size text covers a part of the banner";
  }
};

TEST_F(PlayersTest, MusicPlaysTheChosenSongPausesResumesAndShowsItsBackgroundAndLogo) {
  kv::Persistent<MediaPlayer::MusicFullScreenPlay> p = OpenMusic(2, 20);
  ASSERT_NE(p.get(), nullptr);
  // Folder row 2 is song b, the playlist's second song.
  EXPECT_TRUE(NavSent("38, 1, 2"));
  EXPECT_EQ(Calls("PslGuiSetRepeatMode"), Lines{"PslGuiSetRepeatMode(1)"});
  EXPECT_EQ(Calls("XPM_SetSource"), Lines{"XPM_SetSource(0, 22)"});
  Run(1500);
  MediaPlayer::MovieMusicFullViewBanner* b = p->Banner.get();
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->NavStatus, MediaPlayer::NAV_PLAYING);
  EXPECT_FALSE(WaitingShown());
  EXPECT_EQ(p->TitleLine().OnGetString().ToUtf8(), "Title: b.wav");
  EXPECT_NE(b->TitleText().OnGetString().ToUtf8().find("Title: "), std::string::npos);
  // The times show whole, and the song's place in the list stands clear of
  // the title line and its icon.
  for (Views::Text* t : {&b->ElapsedText(), &b->TotalText()}) {
    EXPECT_EQ(t->OnGetString().ToUtf8().size(), 8u) << t->OnGetString().ToUtf8();
    const ge::TextLayout layout = t->GetLayout();
    ASSERT_EQ(layout.lines.size(), 1u);
    EXPECT_FALSE(layout.lines[0].ellipsis) << t->OnGetString().ToUtf8() << " is cut";
  }
  EXPECT_EQ(b->CounterText().OnGetString().ToUtf8(), "2 / 3");
  EXPECT_TRUE(b->CounterText().IsVisible());
  EXPECT_FALSE(b->CounterText().Bounds().Intersects(b->TitleText().Bounds())) << "the counter covers the title";
  ExpectSizeTextClear(*b);
  // The music background fills the screen; the logo stands at its place.
  const uint32_t backdrop = Pixel(20, 520);
  EXPECT_EQ(backdrop >> 24, 0xFFu);
  EXPECT_NE(backdrop & 0xFFFFFF, 0u);
  EXPECT_EQ(p->Logo().Bounds(), (kv::Rect{110, 100, 278, 159}));

  ClearCallLog();
  Press("pause");
  EXPECT_TRUE(NavSent("7, 0, 0"));
  EXPECT_EQ(b->NavStatus, MediaPlayer::NAV_PAUSED);
  EXPECT_EQ(b->NavIcon().OnGetBitmap(), Bmp(Bitmaps::MediaPause));
  EXPECT_TRUE(b->IsVisible());
  Press("play");
  EXPECT_TRUE(NavSent("3, 0, 0"));
  EXPECT_EQ(b->NavStatus, MediaPlayer::NAV_PLAYING);
  EXPECT_EQ(b->NavIcon().OnGetBitmap(), Bmp(Bitmaps::MediaPlay));
  // The banner hides 8000 ms after Play and stays open.
  Run(8100);
  EXPECT_FALSE(b->IsVisible());
  EXPECT_TRUE(b->IsOpen());
  Press("next");
  EXPECT_TRUE(NavSent("21, 0, 0"));
  EXPECT_TRUE(b->IsVisible());
}

TEST_F(PlayersTest, ThreeRightsWhilePausedGiveOneSeekToThePositionPlusThree) {
  kv::Persistent<MediaPlayer::MusicFullScreenPlay> p = OpenMusic(1, 30);
  ASSERT_NE(p.get(), nullptr);
  Run(5200);
  Press("pause");
  const uint32_t at = p->Banner->Info().Record.elapsed;
  ASSERT_GE(at, 4u);
  ClearCallLog();
  Press("right", 3);
  EXPECT_TRUE(Calls("PslExternalSendNavCommand").empty());
  EXPECT_EQ(p->Banner->ElapsedText().OnGetString().ToUtf8(), p->Banner->Info().FormatTime(at + 3).ToUtf8());
  Run(600);
  EXPECT_EQ(Navs(), Lines{"PslExternalSendNavCommand(38, 2, " + std::to_string(at + 3) + ")"});
  // Two lefts: one seek to the new position minus two.
  ClearCallLog();
  Press("left", 2);
  EXPECT_EQ(p->Banner->ElapsedText().OnGetString().ToUtf8(), p->Banner->Info().FormatTime(at + 1).ToUtf8());
  Run(600);
  EXPECT_EQ(Navs(), Lines{"PslExternalSendNavCommand(38, 2, " + std::to_string(at + 1) + ")"});
  // Left steps never go below 0: from the new position, 1 + 2 + ... stops
  // before 0 and the banner still answers.
  ClearCallLog();
  Press("left", static_cast<int>(at) + 6);
  Run(600);
  ASSERT_EQ(Navs().size(), 1u);
  EXPECT_EQ(Navs()[0].find("PslExternalSendNavCommand(38, 2, -"), std::string::npos);
}

TEST_F(PlayersTest, TwoPreviousPressesRestartThenGoBackAndRepeatOneAlwaysRestarts) {
  kv::Persistent<MediaPlayer::MusicFullScreenPlay> p = OpenMusic(3, 20);
  ASSERT_NE(p.get(), nullptr);
  Run(1000);
  ClearCallLog();
  Press("prev");
  EXPECT_EQ(Navs(), Lines{"PslExternalSendNavCommand(38, 2, 0)"});
  ClearCallLog();
  Press("prev");
  EXPECT_EQ(Navs(), Lines{"PslExternalSendNavCommand(23, 0, 0)"});
  Run(2100);
  ClearCallLog();
  Press("prev");
  EXPECT_EQ(Navs(), Lines{"PslExternalSendNavCommand(38, 2, 0)"});
  // Repeat one (setting 2): every press restarts.
  W()->OnSetMusic_Repeat(2);
  auto* apply = kv::New<Structures::Message>();
  apply->Initialize(Constants::MSG_APPLY_REPEAT, nullptr);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->Dispatch(apply);
  Settle();
  EXPECT_EQ(Calls("PslGuiSetRepeatMode").back(), "PslGuiSetRepeatMode(7)");
  EXPECT_EQ(p->Banner->RepeatIcon().OnGetBitmap(), Bmp(MediaPlayer::MediaPlayerRepeatOne));
  ClearCallLog();
  Press("prev", 2);
  EXPECT_EQ(Navs(), (Lines{"PslExternalSendNavCommand(38, 2, 0)", "PslExternalSendNavCommand(38, 2, 0)"}));
}

TEST_F(PlayersTest, AfterTheLastSongTheMusicPlayerGoesBackToTheBrowserAtOnce) {
  kv::Persistent<MediaPlayer::MusicFullScreenPlay> p = OpenMusic(3, 1);
  ASSERT_NE(p.get(), nullptr);
  Run(2500);
  EXPECT_FALSE(p->IsOpen());
  EXPECT_EQ(BrowserStandIn::opened, 1);
  EXPECT_EQ(BrowserStandIn::restore, 4);  // song c, folder row 3
  // The browser stand-in has the keys now.
  EXPECT_NE(kv::Cast<BrowserStandIn>(Focused()), nullptr);
}

TEST_F(PlayersTest, TheLogoFadesOutReappearsElsewhereAndFadesIn) {
  kv::Persistent<MediaPlayer::MusicFullScreenPlay> p = OpenMusic(1, 20);
  ASSERT_NE(p.get(), nullptr);
  std::srand(7);
  const kv::Rect first = p->Logo().Bounds();
  Run(800);
  EXPECT_LT(p->Logo().OnGetOpacity(), 255);
  Run(900);
  const kv::Rect moved = p->Logo().Bounds();
  EXPECT_NE(moved, first);
  EXPECT_EQ(moved.W(), first.W());
  EXPECT_GE(moved.x1, 0);
  EXPECT_LE(moved.x2, 960);
  EXPECT_LE(moved.y2, 540);
  EXPECT_LT(p->Logo().OnGetOpacity(), 128);
  Run(1650);
  EXPECT_EQ(p->Logo().Bounds(), moved);
  EXPECT_GT(p->Logo().OnGetOpacity(), 128);
}

TEST_F(PlayersTest, MovieKeysReachTheServiceAndDisplayShowsTheBannerWithItsRate) {
  kv::Persistent<MediaPlayer::MovieFullScreenPlay> p = OpenMovie();
  ASSERT_NE(p.get(), nullptr);
  EXPECT_TRUE(NavSent("38, 1, 1"));
  Run(1200);
  ClearCallLog();
  Press("audio");
  Press("cc");
  EXPECT_EQ(Navs(), (Lines{"PslExternalSendNavCommand(51, 0, 0)", "PslExternalSendNavCommand(45, 0, 0)"}));
  MediaPlayer::MovieMusicFullViewBanner* b = p->Banner.get();
  Run(8100);
  ASSERT_FALSE(b->IsVisible());
  Press("info");
  EXPECT_TRUE(b->IsVisible());
  EXPECT_EQ(b->OnGetTimeOutValue(), MediaPlayer::kBannerDisplayTime);
  Press("info");
  EXPECT_FALSE(b->IsVisible());
  // Fast forward three times: rate 8 with the forward icon; Display does
  // nothing while the banner stays up.
  Press("forward", 3);
  Run(1100);
  EXPECT_EQ(b->NavStatus, MediaPlayer::NAV_FORWARD);
  EXPECT_EQ(b->PlayRate, 8);
  EXPECT_EQ(b->NavIcon().OnGetBitmap(), Bmp(Bitmaps::MediaForward));
  EXPECT_TRUE(b->RateText().IsVisible());
  EXPECT_EQ(b->RateText().OnGetString().ToUtf8(), "x8");
  // Rewind: the backward icon with the rewind's own rate.
  Press("rewind");
  Run(1100);
  EXPECT_EQ(b->NavStatus, MediaPlayer::NAV_REWIND);
  EXPECT_EQ(b->NavIcon().OnGetBitmap(), Bmp(Bitmaps::MediaBackward));
  EXPECT_TRUE(b->RateText().IsVisible());
  EXPECT_EQ(b->RateText().OnGetString().ToUtf8(), "x" + std::to_string(std::abs(b->Info().Record.rate)));
  // Play and rewind again at once, before the service reports the play: the
  // backward icon and the rate come back.
  PressAtOnce({"play", "rewind"});
  Run(1100);
  EXPECT_EQ(b->NavStatus, MediaPlayer::NAV_REWIND);
  EXPECT_EQ(b->NavIcon().OnGetBitmap(), Bmp(Bitmaps::MediaBackward));
  EXPECT_TRUE(b->RateText().IsVisible());
  EXPECT_EQ(b->RateText().OnGetString().ToUtf8(), "x" + std::to_string(std::abs(b->Info().Record.rate)));
  // The stand-in reads no metadata from this small movie: the size comes as
  // the metadata would bring it.
  b->UpdateMetadata(Bridge()->GetMediaItem(0));
  ExpectSizeTextClear(*b);
  Press("info");
  EXPECT_TRUE(b->IsVisible());
  Press("play");
  EXPECT_FALSE(b->RateText().IsVisible());
  EXPECT_EQ(b->NavStatus, MediaPlayer::NAV_PLAYING);
}

// The movie banner's Dolby badge and the 3D indicators follow what the set
// reports when Display shows the banner: drawn while the audio is Dolby
// Digital (Plus) and the picture 3D, gone once the set reports neither.
TEST_F(PlayersTest, DisplayDrawsTheDolbyAndThreeDIndicatorsTheSetReports) {
  W()->SeriesType = 2;
  kv::Persistent<MediaPlayer::MovieFullScreenPlay> p = OpenMovie();
  ASSERT_NE(p.get(), nullptr);
  Run(8100);  // the opening banner gone
  Settle();
  // The badge sizes itself to its bitmap (the larger Dolby Digital one now).
  const kv::Rect dolby = PlaceOf(*p, p->DolbyIcon());
  const kv::Rect mode = PlaceOf(*p, p->ModeIndicator());
  const kv::Rect format = PlaceOf(*p, p->FormatIndicator());
  ASSERT_GT(dolby.W() * dolby.H(), 0);
  const std::vector<uint32_t> noDolby = Pixels(dolby);
  const std::vector<uint32_t> noMode = Pixels(mode);
  const std::vector<uint32_t> noFormat = Pixels(format);

  sim::SetAudioServiceFormat(Tv(), 3, 0);  // Dolby Digital
  Tv().Net().SetInput3DFormat(SkinBin::OAM_3D_MODE_SBS);
  Tv().Net().Set3DMode(SkinBin::OAM_3D_MODE_SBS);
  Tv().Net().Set3DOutput(true);
  Press("info");
  Settle();
  ASSERT_TRUE(p->Banner->IsVisible());
  EXPECT_EQ(p->DolbyIcon().OnGetBitmap(), Bmp(MediaPlayer::MediaPlayerDolbySound));
  EXPECT_NE(Pixels(dolby), noDolby) << "the Dolby badge is drawn";
  EXPECT_EQ(p->ModeIndicator().OnGetText().ToUtf8(), "3D");
  EXPECT_NE(Pixels(mode), noMode) << "the 3D indicator is drawn";
  EXPECT_EQ(p->FormatIndicator().OnGetText().ToUtf8(), "Side by side");
  EXPECT_NE(Pixels(format), noFormat);
  Press("info");
  Settle();
  EXPECT_EQ(Pixels(dolby), noDolby) << "hidden with the banner";
  EXPECT_EQ(Pixels(mode), noMode);

  // Dolby Digital Plus: its own badge.
  sim::SetAudioServiceFormat(Tv(), 4, 0);
  Press("info");
  Settle();
  EXPECT_EQ(p->DolbyIcon().OnGetBitmap(), Bmp(Bitmaps::BannerDolbyDigitalPlus));
  EXPECT_NE(Pixels(dolby), noDolby);
  Press("info");
  Settle();

  // Plain audio and a 2D picture: the banner shows without them.
  sim::SetAudioServiceFormat(Tv(), 0, 0);
  Tv().Net().Set3DMode(SkinBin::OAM_3D_MODE_2D);
  Tv().Net().Set3DOutput(false);
  Tv().Net().SetInput3DFormat(SkinBin::OAM_3D_MODE_2D);
  Press("info");
  Settle();
  ASSERT_TRUE(p->Banner->IsVisible());
  EXPECT_EQ(Pixels(dolby), noDolby) << "no badge without Dolby audio";
  EXPECT_EQ(Pixels(mode), noMode) << "no 3D indicator for a 2D picture";
  EXPECT_EQ(Pixels(format), noFormat);
  sim::SetAudioServiceFormat(Tv(), 0, 0);
}

// 3D started from the 3D key while a movie plays with its banner up: the
// banner's 3D indicators name the new picture at once.
TEST_F(PlayersTest, ThreeDStartedOverAMovieShowsItsIndicatorsWithTheBanner) {
  W()->SeriesType = 2;
  Tv().Net().SetInput3DFormat(SkinBin::OAM_3D_MODE_SBS);
  kv::Persistent<MediaPlayer::MovieFullScreenPlay> p = OpenMovie();
  ASSERT_NE(p.get(), nullptr);
  Run(1000);
  Settle();
  ASSERT_TRUE(p->Banner->IsVisible());
  EXPECT_FALSE(Sees("Side by side")) << SeenList();
  Press("3d");
  Settle();
  auto* dialog = kv::Cast<ThreeD::SelectMode_Button>(OpenScreenOf(&ThreeD::SelectMode_Button::StaticClass()));
  ASSERT_NE(dialog, nullptr);
  while (dialog->FocusedButton() != dialog->GetButton(1)) Press("right");
  Press("ok");  // 3D
  Run(300);
  // A new set first shows the important information about 3D viewing: down
  // to its option, OK.
  ASSERT_TRUE(Sees("Important information about 3D viewing")) << SeenList();
  Press("down");
  Press("ok");
  Run(600);
  Settle();
  ASSERT_TRUE(p->IsOpen());
  ASSERT_TRUE(p->Banner->IsVisible());
  EXPECT_EQ(p->ModeIndicator().OnGetText().ToUtf8(), "3D");
  EXPECT_TRUE(Sees("Side by side")) << SeenList();
}

// A service may report a position past the movie's length near its end
// (its clock and the stream's length disagree): the banner then reads the
// elapsed time as 00:00:00 with an empty progress bar, never more than the length.
TEST_F(PlayersTest, APositionReportedPastTheLengthReadsZeroOnTheBanner) {
  struct Ahead {
    Ahead() { psl::SetPositionAhead(4000); }
    ~Ahead() { psl::SetPositionAhead(0); }
  } ahead;
  kv::Persistent<MediaPlayer::MovieFullScreenPlay> p = OpenMovie(20);
  ASSERT_NE(p.get(), nullptr);
  MediaPlayer::MovieMusicFullViewBanner* b = p->Banner.get();
  Run(5200);
  Settle();
  ASSERT_TRUE(b->IsVisible());
  EXPECT_TRUE(Sees("00:00:09")) << SeenList();
  EXPECT_TRUE(Sees("00:00:20")) << SeenList();
  // 17 s played, 21 s reported.
  Run(12000);
  Press("info");
  Settle();
  ASSERT_TRUE(b->IsVisible());
  EXPECT_EQ(b->ElapsedText().OnGetString().ToUtf8(), "00:00:00");
  EXPECT_TRUE(Sees("00:00:00")) << SeenList();
  EXPECT_TRUE(Sees("00:00:20")) << SeenList();
  EXPECT_EQ(b->ProgressBar().OnGetValue(), 0);
}

TEST_F(PlayersTest, AfterTheLastMovieThePlayerWaitsTenSecondsThenGoesBack) {
  kv::Persistent<MediaPlayer::MovieFullScreenPlay> p = OpenMovie(2);
  ASSERT_NE(p.get(), nullptr);
  // m then n: about four seconds, then ten.
  Run(5000);
  EXPECT_TRUE(p->IsOpen());
  Run(7000);
  EXPECT_TRUE(p->IsOpen());
  Run(4000);
  EXPECT_FALSE(p->IsOpen());
  EXPECT_EQ(BrowserStandIn::opened, 1);
}

TEST_F(PlayersTest, AnUnplayableMovieShowsTheBarAndThePlayerMovesOnUnlessRepeatOne) {
  media_writer::WriteMovie(StickDir("films") + "/m.avi", 5, 64, 48, 120, 100, 160);
  media_writer::WriteBytes(StickDir("films") + "/a.avi", {'n', 'o', 't', ' ', 'a', 'v', 'i'});
  Plug("films");
  Browse(0, Media::MEDIA_TYPE_VIDEO);
  ClearCallLog();
  kv::Persistent<MediaPlayer::MovieFullScreenPlay> p =
      OpenPlayer<MediaPlayer::MovieFullScreenPlay>(&MediaPlayer::MovieFullScreenPlay::StaticClass(), 0);
  ASSERT_NE(p.get(), nullptr);
  Run(100);
  EXPECT_EQ(p->WarningBar(), nullptr);
  Run(500);
  ASSERT_NE(p->WarningBar(), nullptr);
  EXPECT_EQ(p->WarningBar()->OnGetMessageInfo().ToUtf8(), "Unsupported file");
  ClearCallLog();
  Run(2100);
  EXPECT_EQ(p->WarningBar(), nullptr);
  EXPECT_TRUE(NavSent("21, 0, 0"));
}

// The music banner names only the song it shows: a song that cannot be
// opened gets its title without the details of the song before it, and the
// next song that plays brings its own.
TEST_F(PlayersTest, TheMusicBannerNeverShowsAnotherSongsArtistAlbumOrGenre) {
  const std::string stick = StickDir("tagged");
  const media_writer::SongTags songs[3] = {{"Morning Tide", "First Band", "Shore Album", "Surf", 2021, 1},
                                           {"Evening Calm", "Second Band", "Night Album", "Jazz", 2022, 2},
                                           {"Dawn Chorus", "Third Band", "Field Album", "Folk", 2023, 3}};
  // The second song holds its tags but no sound: the set cannot play it.
  const int seconds[3] = {20, 0, 20};
  const char* names[3] = {"1 a.flac", "2 b.flac", "3 c.flac"};
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(media_writer::WriteTone(stick + "/" + names[i], AV_CODEC_ID_FLAC, seconds[i], 440));
    ASSERT_TRUE(media_writer::TagSong(stick + "/" + names[i], songs[i]));
  }
  Plug("tagged");
  Browse(0, Media::MEDIA_TYPE_MUSIC);
  kv::Persistent<MediaPlayer::MusicFullScreenPlay> p =
      OpenPlayer<MediaPlayer::MusicFullScreenPlay>(&MediaPlayer::MusicFullScreenPlay::StaticClass(), 0);
  ASSERT_NE(p.get(), nullptr);
  // The details of each song seen on the screen ("" for none).
  const auto seenDetails = [this, &songs] {
    std::string out;
    for (const media_writer::SongTags& t : songs)
      for (const std::string& d : {t.artist, t.album, t.genre})
        if (Sees(d)) out += d + ";";
    return out;
  };
  Run(1500);
  Settle();
  EXPECT_EQ(seenDetails(), "First Band;Shore Album;Surf;") << SeenList();
  // Next: the second song cannot be opened; the banner names it alone.
  Press("next");
  Run(400);
  Settle();
  ASSERT_TRUE(p->Banner->IsVisible());
  EXPECT_TRUE(Sees("2 b.flac")) << SeenList();
  EXPECT_EQ(seenDetails(), "") << SeenList();
  // The player moves on to the third song, which brings its own details.
  Run(2500);
  Settle();
  if (!p->Banner->IsVisible()) Press("info");
  Run(400);
  Settle();
  EXPECT_TRUE(Sees("3 c.flac")) << SeenList();
  EXPECT_EQ(seenDetails(), "Third Band;Field Album;Folk;") << SeenList();
}

TEST_F(PlayersTest, UnderRepeatOneTheUnsupportedFileBarStays) {
  W()->OnSetMovie_Repeat(2);
  media_writer::WriteBytes(StickDir("films") + "/a.avi", {'n', 'o', 't', ' ', 'a', 'v', 'i'});
  Plug("films");
  Browse(0, Media::MEDIA_TYPE_VIDEO);
  kv::Persistent<MediaPlayer::MovieFullScreenPlay> p =
      OpenPlayer<MediaPlayer::MovieFullScreenPlay>(&MediaPlayer::MovieFullScreenPlay::StaticClass(), 0);
  ASSERT_NE(p.get(), nullptr);
  ClearCallLog();
  Run(3000);
  EXPECT_NE(p->WarningBar(), nullptr);
  EXPECT_FALSE(NavSent("21, 0, 0"));
}

TEST_F(PlayersTest, TheRendererOpensItsPlayerSwitchesKindsAndLeavesThreeSecondsAfterItStops) {
  media_writer::WriteWav(StickDir("home") + "/song.wav", 20);
  media_writer::WriteMovie(StickDir("home") + "/film.avi", 20, 64, 48, 120, 100, 160);
  Plug("home");
  const int32_t tv = W()->GetCurrentSource(0);
  Bridge()->SetEnableDlna(3);  // as the renderer page switches it on
  ASSERT_EQ(psl::ControllerPlay(PSL_KIND_MUSIC, "/mnt/usb1/song.wav", "Evening"), PSL_OK);
  Settle();
  auto* music = kv::Cast<MediaPlayer::MusicFullScreenPlayDMR>(Wm()->FindForm(WinIDs::WIN_ID_MusicPlayerDMR));
  ASSERT_NE(music, nullptr);
  kv::Persistent<MediaPlayer::MusicFullScreenPlayDMR> m = music;
  EXPECT_EQ(m->TitleLine().OnGetString().ToUtf8(), "Title: Evening");
  // Playing: the start bar and the waiting circle are gone, the banner
  // shows the title without the playlist counter and repeat icon.
  EXPECT_TRUE(m->Banner->IsVisible());
  EXPECT_FALSE(m->Banner->CounterText().IsVisible());
  EXPECT_FALSE(m->Banner->RepeatIcon().IsVisible());
  EXPECT_EQ(m->DmrStartBar(), nullptr);
  EXPECT_FALSE(WaitingShown());
  // Previous and Next are the controller's.
  ClearCallLog();
  Press("next");
  Press("prev");
  EXPECT_TRUE(Navs().empty());

  // The controller starts a movie: the movie renderer screen replaces it; a
  // song again does not reopen the same screen.
  auto dmr = [&](uint16_t kind, uint16_t state) {
    auto* e = kv::New<Events::DMRStatusEvent>();
    e->Kind = kind;
    e->State = state;
    Dispatch(e);
    Settle();
  };
  dmr(PSL_KIND_MUSIC, 3);
  EXPECT_EQ(Wm()->FindForm(WinIDs::WIN_ID_MusicPlayerDMR), m.get());
  dmr(PSL_KIND_VIDEO, 3);
  EXPECT_FALSE(m->IsOpen());
  auto* movie = Wm()->FindForm(WinIDs::WIN_ID_MoviePlayerDMR);
  ASSERT_NE(movie, nullptr);
  kv::Persistent<Primitives::KeyRoutingForm> mv = movie;
  // Stopped (state 5): the screen leaves 3000 ms later, back to TV.
  dmr(PSL_KIND_VIDEO, 5);
  EXPECT_TRUE(WaitingShown());
  Run(2900);
  EXPECT_TRUE(mv->IsOpen());
  Run(200);
  EXPECT_FALSE(mv->IsOpen());
  EXPECT_EQ(W()->GetCurrentSource(0), tv);
  EXPECT_FALSE(WaitingShown());
}

TEST_F(PlayersTest, ARendererScreenShowsTheStartBarUntilPlaybackStarts) {
  Bridge()->SetEnableDlna(3);
  auto* e = kv::New<Events::DMRStatusEvent>();
  e->Kind = PSL_KIND_VIDEO;
  e->State = 3;
  Dispatch(e);
  Settle();
  auto* p = kv::Cast<MediaPlayer::MovieFullScreenPlayDMR>(Wm()->FindForm(WinIDs::WIN_ID_MoviePlayerDMR));
  ASSERT_NE(p, nullptr);
  ASSERT_NE(p->DmrStartBar(), nullptr);
  EXPECT_EQ(p->DmrStartBar()->OnGetMessageInfo().ToUtf8(), "Starting media renderer...");
  EXPECT_FALSE(p->DmrStartBar()->Icon().IsVisible());
  EXPECT_TRUE(WaitingShown());
  EXPECT_TRUE(p->IsOpen());
}

TEST_F(PlayersTest, EachPlayerOpenedAndClosed50TimesLeavesNoObjectBehind) {
  kv::Runtime::SetCollectEveryPass(true);
  WriteStick("mix", {"a.wav", "m.avi"});
  Plug("mix");
  const kv::Class* classes[2] = {&MediaPlayer::MusicFullScreenPlay::StaticClass(),
                                 &MediaPlayer::MovieFullScreenPlay::StaticClass()};
  const int16_t types[2] = {Media::MEDIA_TYPE_MUSIC, Media::MEDIA_TYPE_VIDEO};
  auto cycle = [&](int k) {
    Browse(0, types[k]);
    ASSERT_NE(OpenPlayer<MediaPlayer::MovieMusicFullPlayTemplate>(classes[k], 0), nullptr);
    Run(300);
    Press(k == 0 ? "exit" : "stop");
    Settle();
  };
  cycle(0);
  cycle(1);
  Run(100);
  const auto baseline = PlayerCensus();
  for (int i = 0; i < 50; ++i) cycle(i % 2);
  Run(100);
  EXPECT_EQ(PlayerCensus(), baseline);
}

// Play answers from a pause and from both trick plays: the set is told to
// resume and the banner shows the play icon without a rate. While the movie
// already plays, Play asks the set for nothing.
TEST_F(PlayersTest, PlayResumesFromPauseAndEitherTrickPlayAndAsksNothingWhilePlaying) {
  kv::Persistent<MediaPlayer::MovieFullScreenPlay> p = OpenMovie(60);
  ASSERT_NE(p.get(), nullptr);
  Run(1200);
  MediaPlayer::MovieMusicFullViewBanner* b = p->Banner.get();
  ASSERT_NE(b, nullptr);
  struct Case {
    const char* before;  // the key that leaves plain play first; none: playing
    bool resumes;
  };
  for (const Case c : {Case{nullptr, false}, Case{"pause", true}, Case{"forward", true}, Case{"rewind", true}}) {
    SCOPED_TRACE(c.before ? c.before : "playing");
    if (c.before) Press(c.before);
    Run(1100);
    ClearCallLog();
    Press("play");
    EXPECT_EQ(NavSent("3, 0, 0"), c.resumes) << ::testing::PrintToString(Navs());
    Run(1100);
    Settle();
    EXPECT_EQ(b->NavStatus, MediaPlayer::NAV_PLAYING);
    EXPECT_EQ(b->NavIcon().OnGetBitmap(), Bmp(Bitmaps::MediaPlay));
    EXPECT_FALSE(b->RateText().IsVisible());
  }
}

}  // namespace
}  // namespace playertest
