#include "units/MediaPlayer/MovieMusicBanners.h"

#include <cstdlib>

#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/MediaPlayer.h"
#include "strings/Strings.h"
#include "units/Agent/MessageAgent.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Bitmaps/MediaBitmaps.h"
#include "units/Bitmaps/BrowserBitmaps.h"
#include "units/Bitmaps/PlayerBitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Constants/Constants.h"
#include "units/Fonts/Fonts.h"
#include "units/Media/DataItems.h"
#include "units/Media/MediaItem.h"
#include "units/Media/MediaWrapper.h"
#include "units/MediaPlayer/PlayerTemplate.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Resources/Resources.h"
#include "units/Structures/Message.h"
#include "units/Views/Align.h"
#include "runtime/auto_object.h"

KV_REGISTER_CLASS(MediaPlayer::MovieMusicFullViewBanner);
KV_REGISTER_CLASS(MediaPlayer::MusicFullViewBanner);

namespace MediaPlayer {

namespace {

Resources::Bitmap* Bmp(const Resources::BitmapId& id) { return Resources::LoadResource(id); }

kv::String Cat(const kv::String& a, const kv::String& b) { return kv::ConcatString(a, b); }

// "Title: " + text and the like.
kv::String Labelled(const kv::MultiTextId& label, const kv::String& text) {
  return Cat(Cat(kv::GetVariantOfString(label), kv::GetVariantOfString(Strings::SID_PSIP_TITLE_COMMA)), text);
}

// Rates the banner shows with the forward and backward icons.
bool TrickRate(int32_t rate) { return rate == 2 || rate == 4 || rate == 8 || rate == 16 || rate == 32; }

}  // namespace

// --- MovieMusicFullViewBanner -------------------------------------------------------------

MovieMusicFullViewBanner::MovieMusicFullViewBanner() {
  KeyRoutingForm::OnSetBounds({0, 0, 800, 110});
  WidgetOrigin = {80, 410};
  frame_.OnSetVisible(false);
  background_.OnSetBitmap(Bmp(Bitmaps::MediaPopBg));
  background_.OnSetOpacity(200);
  background_.OnSetBounds({0, 0, 800, 110});
  InitText(elapsed_, {480, 25, 557, 46}, Colors::White);
  InitText(total_, {680, 25, 750, 46}, Colors::White);
  total_.OnSetAlignH(Views::ALIGN_RIGHT);
  progress_.OnSetMin(0);
  progress_.OnSetMax(100);
  progress_.OnSetValue(0);
  nav_.OnSetBitmap(Bmp(Bitmaps::MediaPlay));
  InitText(rate_, {410, 85, 427, 107}, Colors::White);
  rate_.OnSetEllipsis(false);
  rate_.OnSetAlignH(Views::ALIGN_CENTER);
  rate_.OnSetVisible(false);
  Layout(20, 85);
  // The media panel goes behind the template's parts.
  AddBehind(&background_, &frame_);
  Add(&nav_);
  Add(&elapsed_);
  Add(&total_);
  Add(&progress_);
  Add(&rate_);
}

void MovieMusicFullViewBanner::Layout(int32_t top, int32_t bottom) {
  const int32_t dy = top - 20;
  title_.OnSetBounds({30, 45, 380, 67});
  counter_.OnSetBounds({30, 20, 380, 43});
  repeat_.OnSetBounds({610, bottom, 610, bottom});
  nav_.OnSetBounds({390, 20 + dy, 450, 80 + dy});
  // The times take the width of "00:00:00" in the banner's font, each at
  // its end of the progress bar.
  elapsed_.OnSetBounds({480, 25 + dy, 610, 46 + dy});
  total_.OnSetBounds({620, 25 + dy, 750, 46 + dy});
  progress_.OnSetBounds({480, 44 + dy, 750, 56 + dy});
  // The rate text is sized to the rate (centred on its place).
  rate_.OnSetBounds({410, bottom, 427, bottom + 22});
  // The file's size stands under the progress bar, right-aligned to its end:
  // the bottom line holds the repeat icon where a longer size would run.
  sizeRight_ = 750;
  sizeTop_ = 60 + dy;
}

void MovieMusicFullViewBanner::Open() {
  if (!InDmrPlay()) {
    if (auto* player = kv::Cast<MediaPlayerFullScreenTemplate>(Parent.get());
        player && (player->KvClass()->Is(KV_LATE_CLASS("MediaPlayer::MovieFullScreenPlay")) ||
                   player->KvClass()->Is(KV_LATE_CLASS("MediaPlayer::MusicFullScreenPlay"))))
      RepeatMode = player->GetRepeatMode();
  }
  MediaPlayerBannerTemplate::Open();
  ShowInfo(false);
}

void MovieMusicFullViewBanner::RefreshBannerInfo() {
  MediaPlayerBannerTemplate::RefreshBannerInfo();
  // The size belongs to the file the banner names. The details of the next
  // file bring its size, but a file without details (one that could not be
  // played, a movie the service reads none from) would keep the previous
  // file's size under the new name: show the current file's own.
  if (Media::MediaItem* current = CurrentItemOtherThan(sizeUri_)) ShowFileSize(current->Uri);
  OnSetNavStatus(info_.Record.navStatus);
  OnSetPlayRate(info_.Record.rate);
  UpdateTime();
  ShowInfo(true);
}

Media::MediaItem* MovieMusicFullViewBanner::CurrentItemOtherThan(const kv::String& uri) {
  if (InDmrPlay()) return nullptr;
  Media::MediaItem* current = kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper)->GetPlaylistCurrent();
  return current && kv::CompString(current->Uri, uri) != 0 ? current : nullptr;
}

void MovieMusicFullViewBanner::UpdateMetadata(Media::MediaItem* item) {
  if (item) ShowFileSize(item->Uri);
}

void MovieMusicFullViewBanner::ShowInfo(bool show) {
  MediaPlayerBannerTemplate::ShowInfo(show);
  nav_.OnSetVisible(show);
  total_.OnSetVisible(show);
  elapsed_.OnSetVisible(show);
  progress_.OnSetVisible(show);
  InvalidateView();
}

void MovieMusicFullViewBanner::UpdateTime() {
  const PslPlaybackInfo& r = info_.Record;
  progress_.OnSetValue(static_cast<int32_t>(info_.GetProgress()));
  elapsed_.OnSetString(info_.FormatTime(r.elapsed > r.duration ? 0 : r.elapsed));
  total_.OnSetString(info_.FormatTime(r.duration));
}

void MovieMusicFullViewBanner::ShowSeekTarget(int32_t percent, bool withProgress, uint32_t seconds) {
  if (withProgress) progress_.OnSetValue(percent);
  elapsed_.OnSetString(info_.FormatTime(seconds));
}

void MovieMusicFullViewBanner::OnSetRepeatMode(uint16_t mode) {
  if (mode == RepeatMode) return;
  RepeatMode = mode;
  kv::Trace("%s%i", {kv::LoadString(T_BANNER_REPEAT), static_cast<int32_t>(mode)});
  const Resources::BitmapId* icon = &MediaPlayerRepeatDisable;
  if (mode == REPEAT_ALL) icon = &MediaPlayerRepeatAll;
  if (mode == REPEAT_ONE) icon = &MediaPlayerRepeatOne;
  repeat_.OnSetBitmap(Bmp(*icon));
}

void MovieMusicFullViewBanner::OnSetNavStatus(uint16_t status) {
  if (status == NavStatus) return;
  NavStatus = status;
  switch (status) {
    case NAV_PLAYING:
    case NAV_STOPPED:
    case NAV_STOPPED_2: {
      nav_.OnSetBitmap(Bmp(status == NAV_PLAYING ? Bitmaps::MediaPlay : Bitmaps::MediaStop));
      auto* msg = kv::New<Structures::Message>();
      msg->Initialize(Constants::MSG_SHOW_WAITING_CIRCLE, nullptr, 0);
      kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)
          ->DispatchTo(msg, &NonMenuSystem::NonMenuSystem::StaticClass());
      break;
    }
    case NAV_PAUSED: nav_.OnSetBitmap(Bmp(Bitmaps::MediaPause)); break;
    case NAV_FORWARD:
    case NAV_REWIND: {
      // The rate is shown again for the new direction.
      const int32_t rate = info_.Record.rate;
      PlayRate = rate + 1;
      OnSetPlayRate(rate);
      break;
    }
    case NAV_PREVIOUS:
    case NAV_NEXT: break;
    default: nav_.OnSetBitmap(nullptr); break;
  }
}

void MovieMusicFullViewBanner::OnSetPlayRate(int32_t rate) {
  if (rate == PlayRate) return;
  PlayRate = rate;
  rate_.OnSetVisible(false);
  // The service counts backward rates negative.
  const int32_t speed = std::abs(rate);
  if (NavStatus != NAV_FORWARD && NavStatus != NAV_REWIND) return;
  if (speed == 0 || speed == 1) {
    nav_.OnSetBitmap(Bmp(Bitmaps::MediaPlay));
  } else if (TrickRate(speed)) {
    nav_.OnSetBitmap(Bmp(NavStatus == NAV_FORWARD ? Bitmaps::MediaForward : Bitmaps::MediaBackward));
    rate_.OnSetAutoSize(true);
    rate_.OnSetString(Cat(kv::LoadString(RATE_PREFIX), kv::NewStringInt(speed, 1)));
    const kv::Rect b = rate_.Bounds();
    const int32_t centre = 418;
    rate_.OnSetBounds({centre - b.W() / 2, b.y1, centre - b.W() / 2 + b.W(), b.y2});
    rate_.OnSetVisible(true);
  }
}

// --- MusicFullViewBanner --------------------------------------------------------------------

MusicFullViewBanner::MusicFullViewBanner() {
  KeyRoutingForm::OnSetBounds({0, 0, 800, 140});
  WidgetOrigin = {80, 380};
  background_.OnSetBounds({0, 0, 800, 140});
  Layout(40, 108);
  title_.OnSetBounds({47, 14, 397, 36});
  // The song's place in the list stands above the times: where the movie
  // banner has it, the title line and its icon are.
  counter_.OnSetBounds({480, 12, 750, 36});
  const kv::Rect lines[3] = {{47, 46, 383, 66}, {47, 78, 383, 98}, {47, 110, 383, 130}};
  Views::Text* texts[3] = {&artist_, &album_, &genre_};
  for (int i = 0; i < 3; ++i) {
    InitText(*texts[i], lines[i], Colors::StandardTextColor);
    Add(texts[i]);
  }
  const Resources::BitmapId* ids[4] = {&Bitmaps::MediaMusicTitle, &Bitmaps::MediaMusicArtist,
                                       &Bitmaps::MediaMusicAlbum, &Bitmaps::MediaMusicGenre};
  for (int i = 0; i < 4; ++i) {
    icons_[i].OnSetBitmap(Bmp(*ids[i]));
    icons_[i].OnSetBounds({13, 14 + 32 * i, 37, 34 + 32 * i});
    Add(&icons_[i]);
  }
}

void MusicFullViewBanner::RefreshBannerInfo() {
  MovieMusicFullViewBanner::RefreshBannerInfo();
  title_.OnSetString(Labelled(Strings::SID_DLNA_CONTENT_TITLE, info_.Title()));
  // The details come with the song's metadata; until then (and for a song
  // that cannot be opened, whose metadata is never asked for) the lines
  // must not go on showing the previous song's.
  if (Media::MediaItem* current = CurrentItemOtherThan(detailsUri_)) {
    detailsUri_ = current->Uri;
    ShowDetails(nullptr);
  }
}

void MusicFullViewBanner::UpdateMetadata(Media::MediaItem* item) {
  MovieMusicFullViewBanner::UpdateMetadata(item);
  auto* song = item ? kv::Cast<Media::MusicMetadata>(item->Metadata.get()) : nullptr;
  if (!song) return;
  detailsUri_ = item->Uri;
  ShowDetails(song);
}

void MusicFullViewBanner::ShowDetails(const Media::MusicMetadata* song) {
  // Without a song the captions stand alone.
  const kv::String none;
  artist_.OnSetString(Labelled(Strings::SID_DLNA_CONTENT_ARTIST, song ? song->Artist : none));
  album_.OnSetString(Cat(kv::GetVariantOfString(ALBUM_CAPTION), song ? song->Album : none));
  genre_.OnSetString(Cat(kv::GetVariantOfString(GENRE_CAPTION), song ? song->Genre : none));
}

}  // namespace MediaPlayer
