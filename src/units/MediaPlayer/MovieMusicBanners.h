// The banners of the movie and music players: MovieMusicFullViewBanner adds
// to the banner template the navigation icon, the play rate, the elapsed
// and total time and a progress bar on the media panel; MusicFullViewBanner
// adds the song's title, artist, album and genre lines with their icons.
#pragma once

#include <cstdint>

#include "units/MediaPlayer/PlayerBanner.h"
#include "units/SkinBin/Sliders.h"

namespace Media {
class MusicMetadata;
}

namespace MediaPlayer {

class MovieMusicFullViewBanner : public MediaPlayerBannerTemplate {
  KV_CLASS(MediaPlayer, MovieMusicFullViewBanner, MediaPlayerBannerTemplate)
 public:
  MovieMusicFullViewBanner();

  // Outside the renderer, the repeat mode of the movie or music player it
  // is opened over; then opens with the playlist texts hidden.
  void Open() override;
  void RefreshBannerInfo() override;
  // The file size of the item.
  void UpdateMetadata(Media::MediaItem* item) override;
  void ShowInfo(bool show) override;
  void OnSetRepeatMode(uint16_t mode) override;
  void OnSetNavStatus(uint16_t status) override;
  void OnSetPlayRate(int32_t rate) override;

  // Progress bar, elapsed and total time from the playback record.
  void UpdateTime();
  // The progress bar at `percent`, the elapsed time text at `seconds` (a seek target).
  void ShowSeekTarget(int32_t percent, bool withProgress, uint32_t seconds);
  void HidePlayRate() { rate_.OnSetVisible(false); }

  Views::Image& NavIcon() { return nav_; }
  Views::Text& RateText() { return rate_; }
  Views::Text& ElapsedText() { return elapsed_; }
  Views::Text& TotalText() { return total_; }
  SkinBin::Progress& ProgressBar() { return progress_; }

 protected:
  // Places the panel's parts with their top at `top` (20 movie, 40 music)
  // and the repeat icon and rate text on line `bottom` (85 movie, 108 music).
  void Layout(int32_t top, int32_t bottom);

  Views::Frame background_;
  // The current playlist item when it is not the item of `uri` (none in
  // renderer play): the banner names another item than the one `uri`
  // stands for.
  static Media::MediaItem* CurrentItemOtherThan(const kv::String& uri);

  Views::Image nav_;
  Views::Text rate_;
  Views::Text elapsed_;
  Views::Text total_;
  SkinBin::Progress progress_;
};

class MusicFullViewBanner : public MovieMusicFullViewBanner {
  KV_CLASS(MediaPlayer, MusicFullViewBanner, MovieMusicFullViewBanner)
 public:
  MusicFullViewBanner();

  // The title; the details shown of another song than the current one go
  // (a song that cannot be opened brings none of its own).
  void RefreshBannerInfo() override;
  // The file size, and the artist, album and genre of a song's metadata.
  void UpdateMetadata(Media::MediaItem* item) override;

  Views::Text& ArtistText() { return artist_; }
  Views::Text& AlbumText() { return album_; }
  Views::Text& GenreText() { return genre_; }

 private:
  // The artist, album and genre lines (their captions alone without a song).
  void ShowDetails(const Media::MusicMetadata* song);

  Views::Text artist_;
  Views::Text album_;
  Views::Text genre_;
  Views::Image icons_[4];
  // The item whose details the lines show.
  kv::String detailsUri_;
};

}  // namespace MediaPlayer
