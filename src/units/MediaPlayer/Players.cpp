#include "units/MediaPlayer/Players.h"

#include <cstdlib>

#include "keys/keycodes.h"
#include "runtime/auto_object.h"
#include "runtime/ref.h"
#include "runtime/slot.h"
#include "runtime/text.h"
#include "strings/Strings.h"
#include "units/Bitmaps/BannerBitmaps.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Bitmaps/PlayerBitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Core/SeenTexts.h"
#include "units/Events/StatusEvent.h"
#include "units/Fonts/Fonts.h"
#include "units/Media/DataItems.h"
#include "units/Media/MediaEvents.h"
#include "units/Media/MediaWrapper.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Views/Align.h"
#include "units/WinIDs/WinIDs.h"
#include "units/Wrapper/Wrapper.h"

KV_REGISTER_CLASS(MediaPlayer::MovieFullScreenPlay);
KV_REGISTER_CLASS(MediaPlayer::MovieFullScreenPlayDMR);
KV_REGISTER_CLASS(MediaPlayer::MusicFullScreenPlay);
KV_REGISTER_CLASS(MediaPlayer::MusicFullScreenPlayDMR);

namespace MediaPlayer {

namespace {

using namespace keys;

constexpr uint16_t STATUS_END = 5;
constexpr uint16_t STATUS_POSITION = 27;
// The logo's fades: 32 frames of 50 ms.
constexpr int32_t kFadeFrames = 32;
constexpr int32_t kFadeFrameMs = 50;

Media::MediaWrapper* Bridge() { return kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper); }

// The repeat code of a repeat setting: 1 all, 2 one, else off.
uint16_t RepeatCodeOf(int32_t setting) {
  if (setting == 1) return REPEAT_ALL;
  if (setting == 2) return REPEAT_ONE;
  return REPEAT_OFF;
}

// A metadata record of the playlist's current item (same Uri), or null.
Media::MediaItem* CurrentItemMetadata(Core::Event* event) {
  auto* ready = kv::Cast<Media::MetadataReadyEvent>(event);
  if (!ready) return nullptr;
  Media::MediaItem* item = ready->Item.get();
  Media::MediaItem* current = Bridge()->GetPlaylistCurrent();
  if (!item || !current || kv::CompString(item->Uri, current->Uri) != 0) return nullptr;
  return item;
}

kv::String Labelled(const kv::MultiTextId& label, const kv::String& text) {
  return kv::ConcatString(
      kv::ConcatString(kv::GetVariantOfString(label), kv::GetVariantOfString(Strings::SID_PSIP_TITLE_COMMA)), text);
}

void InitLine(Views::Text& t, kv::Rect bounds, const kv::String& text) {
  t.OnSetBounds(bounds);
  t.OnSetFont(Resources::LoadResource(Fonts::MediumFont));
  t.OnSetAlignH(Views::ALIGN_CENTER);
  t.OnSetAlignV(Views::ALIGN_TOP);
  t.OnSetColor(Colors::StandardTextColor);
  t.OnSetEllipsis(true);
  t.OnSetString(text);
  t.OnSetVisible(false);
}

}  // namespace

// --- Movie ------------------------------------------------------------------------------------

MovieFullScreenPlay::MovieFullScreenPlay() {
  WinID = WinIDs::WIN_ID_MoviePlayer;
  PrevState = NextState = KV_LATE_CLASS("MediaPlayer::MovieListView");
  MediaFilter = FILTER_MOVIE;
  // The movie shows through.
  background_.OnSetColor({0, 0, 0, 0});
  background_.OnSetVisible(false);
  dolby_.OnSetAutoSize(true);
  dolby_.OnSetBounds({30, 12, 30, 12});
  dolby_.OnSetBitmap(Resources::LoadResource(MediaPlayerDolbySound));
  dolby_.OnSetVisible(false);
  Add(&dolby_);
}

void MovieFullScreenPlay::Initialize(Primitives::KeyRoutingParameter* param) {
  MovieMusicFullPlayTemplate::Initialize(param);
  OpenBanner(kv::New<MovieMusicFullViewBanner>());
}

uint16_t MovieFullScreenPlay::GetRepeatMode() {
  SkinBin::Wrapper* skin = Skin();
  return skin ? RepeatCodeOf(skin->OnGetMovie_Repeat()) : REPEAT_OFF;
}

void MovieFullScreenPlay::UpdateDolbyIcon() {
  SkinBin::Wrapper* skin = Skin();
  SkinBin::CurrentAudioServiceInfo* audio = skin ? skin->GetCurrentAudioServiceInfo(0) : nullptr;
  const int32_t type = audio ? audio->Coding : 0;
  if (type == 3)
    dolby_.OnSetBitmap(Resources::LoadResource(MediaPlayerDolbySound));
  else if (type == 4)
    dolby_.OnSetBitmap(Resources::LoadResource(Bitmaps::BannerDolbyDigitalPlus));
  else
    dolby_.OnSetBitmap(nullptr);
}

kv::Object* MovieFullScreenPlay::HandleEvent(Core::Event* event) {
  if (auto* key = kv::Cast<Core::KeyEvent>(event); key && key->Down) {
    if (key->Code == KEY_AUDIO) {
      Bridge()->RequestChangeAudioTrack();
      return this;
    }
    if (key->Code == KEY_CC) {
      Bridge()->RequestChangeSubtitle();
      return this;
    }
    if (key->Code == KEY_INFO) {
      kv::Object* taken = MovieMusicFullPlayTemplate::HandleEvent(event);
      UpdateDolbyIcon();
      dolby_.OnSetVisible(BannerVisible());
      Show3DInfo(BannerVisible());
      return taken;
    }
    return MovieMusicFullPlayTemplate::HandleEvent(event);
  }
  if (auto* status = kv::Cast<Events::StatusEvent>(event)) {
    if (status->Code == STATUS_END) {
      if (!IsDMR || OnGetTimeOutValue() != kDmrStopTimeOut) SetScreenTimeOut(kEndTimeOut);
      warningTimer_.OnSetEnabled(false);
    } else if (status->Code == STATUS_POSITION) {
      if (BannerVisible()) UpdateDolbyIcon();
      dolby_.OnSetVisible(BannerVisible());
      Show3DInfo(BannerVisible());
    }
    return MovieMusicFullPlayTemplate::HandleEvent(event);
  }
  if (kv::Cast<Media::MetadataReadyEvent>(event)) {
    if (Media::MediaItem* item = CurrentItemMetadata(event); item && Banner) Banner->UpdateMetadata(item);
    return this;
  }
  return MovieMusicFullPlayTemplate::HandleEvent(event);
}

MovieFullScreenPlayDMR::MovieFullScreenPlayDMR() {
  WinID = WinIDs::WIN_ID_MoviePlayerDMR;
  PrevState = NextState = nullptr;
  IsDMR = true;
}

// --- Music ------------------------------------------------------------------------------------

MusicFullScreenPlay::MusicFullScreenPlay() {
  WinID = WinIDs::WIN_ID_MusicPlayer;
  PrevState = NextState = KV_LATE_CLASS("MediaPlayer::MusicListView");
  MediaFilter = FILTER_MUSIC;
  backdrop_.OnSetBounds({0, 0, 960, 540});
  backdrop_.OnSetBitmap(Resources::LoadResource(MediaPlayerBackground));
  animation_.OnSetAutoSize(true);
  animation_.OnSetBounds({242, 136, 242, 136});
  animation_.OnSetBitmap(Resources::LoadResource(MediaPlayerMusicPlayAnimation));
  animation_.OnSetVisible(false);
  const kv::String title = kv::ConcatString(kv::GetVariantOfString(Strings::SID_DLNA_CONTENT_TITLE),
                                            kv::GetVariantOfString(Strings::SID_PSIP_TITLE_COMMA));
  const kv::String artist = kv::ConcatString(kv::GetVariantOfString(Strings::SID_DLNA_CONTENT_ARTIST),
                                             kv::GetVariantOfString(Strings::SID_PSIP_TITLE_COMMA));
  InitLine(title_, {306, 295, 656, 316}, title);
  InitLine(artist_, {306, 320, 656, 341}, artist);
  logo_.OnSetAutoSize(true);
  logo_.OnSetBounds({110, 100, 110, 100});
  logo_.OnSetBitmap(Resources::LoadResource(Bitmaps::ScreenSaverLogo));
  // Behind every part of the template.
  AddBehind(&backdrop_, &frame_);
  Add(&animation_);
  Add(&title_);
  Add(&artist_);
  Add(&logo_);
  // It passes behind the banner wherever chance puts it.
  Core::MarkDrifts(&logo_, true);
  const kv::RefInt32 opacity =
      kv::MakeRef(this, &MusicFullScreenPlay::OnGetLogoOpacity, &MusicFullScreenPlay::OnSetLogoOpacity);
  for (Effects::Int32Effect* fade : {&fadeIn_, &fadeOut_}) {
    fade->OnSetPeriod(kFadeFrameMs);
    fade->OnSetBegin(kFadeFrameMs);
    fade->OnSetNoOfFrames(kFadeFrames);
    fade->OnSetOutlet(opacity);
    fade->OnFinished = kv::MakeSlot(this, &MusicFullScreenPlay::MoveSlot0);
    // The logo fades out and in again for as long as the player is open.
    fade->OnSetStanding(true);
  }
  fadeIn_.OnSetStartValue(0);
  fadeIn_.OnSetEndValue(255);
  fadeOut_.OnSetStartValue(255);
  fadeOut_.OnSetEndValue(0);
  fadeOut_.OnSetEnabled(true);
}

MusicFullScreenPlay::~MusicFullScreenPlay() { Core::MarkDrifts(&logo_, false); }

void MusicFullScreenPlay::Initialize(Primitives::KeyRoutingParameter* param) {
  MovieMusicFullPlayTemplate::Initialize(param);
  OpenBanner(kv::New<MusicFullViewBanner>());
  kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper)->StartStandingAnimation();
}

void MusicFullScreenPlay::Close() {
  kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper)->StopStandingAnimation();
  fadeIn_.OnSetEnabled(false);
  fadeOut_.OnSetEnabled(false);
  MovieMusicFullPlayTemplate::Close();
}

uint16_t MusicFullScreenPlay::GetRepeatMode() {
  SkinBin::Wrapper* skin = Skin();
  return skin ? RepeatCodeOf(skin->OnGetMusic_Repeat()) : REPEAT_OFF;
}

void MusicFullScreenPlay::UpdateName(bool requestMetadata) {
  Media::MediaWrapper* bridge = Bridge();
  Media::MediaItem* item = bridge->GetPlaylistCurrent();
  if (!item) return;
  title_.OnSetString(Labelled(Strings::SID_DLNA_CONTENT_TITLE, item->Caption));
  if (requestMetadata) bridge->RequestMetadata(item->Index);
}

void MusicFullScreenPlay::UpdateMetaInfo(Media::MediaItem* item) {
  if (auto* song = item ? kv::Cast<Media::MusicMetadata>(item->Metadata.get()) : nullptr)
    artist_.OnSetString(Labelled(Strings::SID_DLNA_CONTENT_ARTIST, song->Artist));
}

void MusicFullScreenPlay::MoveSlot0(kv::Object*) {
  if (fadingOut_) {
    fadeOut_.OnSetEnabled(false);
    fadeIn_.OnSetEnabled(true);
    logo_.OnSetOpacity(0);
    // A random place inside the screen; a logo as large as the screen in
    // one direction stays where it is in that direction.
    const kv::Rect b = logo_.Bounds();
    const int32_t roomX = Bounds().W() - b.W();
    const int32_t roomY = Bounds().H() - b.H();
    const int32_t x = roomX > 0 ? std::rand() % roomX : b.x1;
    const int32_t y = roomY > 0 ? std::rand() % roomY : b.y1;
    logo_.OnSetBounds({x, y, x + b.W(), y + b.H()});
    fadingOut_ = false;
  } else {
    fadeOut_.OnSetEnabled(true);
    fadeIn_.OnSetEnabled(false);
    logo_.OnSetOpacity(255);
    fadingOut_ = true;
  }
}

kv::Object* MusicFullScreenPlay::HandleEvent(Core::Event* event) {
  if (auto* status = kv::Cast<Events::StatusEvent>(event)) {
    switch (status->Code) {
      case 1: UpdateName(false); break;
      case 2:
      case 3:
      case 11: UpdateName(true); break;
      case STATUS_END:
        if (!IsDMR)
          HandleNewKey(KEY_BACK);
        else if (OnGetTimeOutValue() != kDmrStopTimeOut)
          SetScreenTimeOut(kEndTimeOut);
        warningTimer_.OnSetEnabled(false);
        break;
      default: break;
    }
    return MovieMusicFullPlayTemplate::HandleEvent(event);
  }
  if (kv::Cast<Media::MetadataReadyEvent>(event)) {
    if (Media::MediaItem* item = CurrentItemMetadata(event)) {
      UpdateMetaInfo(item);
      if (Banner) Banner->UpdateMetadata(item);
    }
    return this;
  }
  return MovieMusicFullPlayTemplate::HandleEvent(event);
}

MusicFullScreenPlayDMR::MusicFullScreenPlayDMR() {
  WinID = WinIDs::WIN_ID_MusicPlayerDMR;
  PrevState = NextState = nullptr;
  IsDMR = true;
}

void MusicFullScreenPlayDMR::Initialize(Primitives::KeyRoutingParameter* param) {
  MusicFullScreenPlay::Initialize(param);
  Media::DataItem* item = Bridge()->GetDmrMediaItem();
  if (!item || item->Uri.Length() == 0) return;
  title_.OnSetString(Labelled(Strings::SID_DLNA_CONTENT_TITLE, item->Title));
  artist_.OnSetString({});
}

}  // namespace MediaPlayer
