// The full-screen movie and music players and their renderer variants:
//   MovieFullScreenPlay     window 0x12000035, back to the movie list
//   MovieFullScreenPlayDMR  window 0x12000036, a controller's movie
//   MusicFullScreenPlay     window 0x12000038, back to the music list
//   MusicFullScreenPlayDMR  window 0x12000039, a controller's song
// The movie player adds the subtitle (76) and audio-track (70) keys and the
// Dolby icon; the music player shows its background with a logo that fades
// out, reappears elsewhere and fades in again, for as long as it is open.
// After the last item a movie player leaves 10000 ms later, a music player
// at once; the renderer screens wait for their time-out (ExitDMR). The
// renderer screens open with their banner hidden.
#pragma once

#include <cstdint>

#include "units/Effects/Int32Effect.h"
#include "units/MediaPlayer/FullPlayTemplate.h"
#include "units/Views/Image.h"
#include "units/Views/Text.h"

namespace Media {
class MediaItem;
}

namespace MediaPlayer {

// After the last item: a movie player's (and a renderer screen's) time-out.
inline constexpr int32_t kEndTimeOut = 10000;

class MovieFullScreenPlay : public MovieMusicFullPlayTemplate {
  KV_CLASS(MediaPlayer, MovieFullScreenPlay, MovieMusicFullPlayTemplate)
 public:
  MovieFullScreenPlay();

  kv::Object* HandleEvent(Core::Event* event) override;
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  uint16_t GetRepeatMode() override;

  // The Dolby icon of the current audio (Dolby Digital or Digital Plus).
  void UpdateDolbyIcon();
  Views::Image& DolbyIcon() { return dolby_; }

 private:
  Views::Image dolby_;
};

class MovieFullScreenPlayDMR : public MovieFullScreenPlay {
  KV_CLASS(MediaPlayer, MovieFullScreenPlayDMR, MovieFullScreenPlay)
 public:
  MovieFullScreenPlayDMR();
};

class MusicFullScreenPlay : public MovieMusicFullPlayTemplate {
  KV_CLASS(MediaPlayer, MusicFullScreenPlay, MovieMusicFullPlayTemplate)
 public:
  MusicFullScreenPlay();
  ~MusicFullScreenPlay() override;

  kv::Object* HandleEvent(Core::Event* event) override;
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
  uint16_t GetRepeatMode() override;
  // The title line from the current playlist item; asks for its metadata
  // when `requestMetadata`.
  virtual void UpdateName(bool requestMetadata);
  // The artist line from a song's metadata.
  void UpdateMetaInfo(Media::MediaItem* item);
  // A fade of the logo ended: out → moved to a random place and fading in;
  // in → fading out.
  void MoveSlot0(kv::Object* sender = nullptr);

  Views::Image& Logo() { return logo_; }
  Views::Text& TitleLine() { return title_; }
  Views::Text& ArtistLine() { return artist_; }

 protected:
  int32_t OnGetLogoOpacity() { return logo_.OnGetOpacity(); }
  void OnSetLogoOpacity(int32_t v) { logo_.OnSetOpacity(v); }

  Views::Image backdrop_;
  Views::Image animation_;
  Views::Text title_;
  Views::Text artist_;
  Views::Image logo_;
  Effects::Int32Effect fadeIn_;
  Effects::Int32Effect fadeOut_;
  bool fadingOut_ = true;
};

class MusicFullScreenPlayDMR : public MusicFullScreenPlay {
  KV_CLASS(MediaPlayer, MusicFullScreenPlayDMR, MusicFullScreenPlay)
 public:
  MusicFullScreenPlayDMR();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void UpdateName(bool) override {}
};

}  // namespace MediaPlayer
