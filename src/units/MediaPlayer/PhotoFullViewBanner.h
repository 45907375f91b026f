// MediaPlayer::PhotoFullViewBanner: the information strip over the photo
// viewer. Beside the template's counter, title, repeat icon and file size it
// shows the picture's resolution, the slide-show and music icons (lit while
// the slide show runs, while music is on) and fills the playback record from
// the slide show instead of the media service's playback. Its time-out hides
// it and, unless a dialog over the viewer needs it, the viewer's help bar.
#pragma once

#include <cstdint>

#include "units/MediaPlayer/PlayerBanner.h"

namespace MediaPlayer {

class PhotoFullViewBanner : public MediaPlayerBannerTemplate {
  KV_CLASS(MediaPlayer, PhotoFullViewBanner, MediaPlayerBannerTemplate)
 public:
  PhotoFullViewBanner();

  // Takes the viewer's repeat mode, opens and shows its texts.
  void Open() override;
  void TimeOutSlot(kv::Object* sender) override;
  // The file size and the picture's date of `item`.
  void UpdateMetadata(Media::MediaItem* item) override;
  void ShowInfo(bool show) override;
  void GetPlaybackInfo() override;
  // A changed repeat code also changes the icon (grey for off).
  void OnSetRepeatMode(uint16_t mode) override;

  void OnSetIsBGM(bool on);
  bool OnGetIsBGM() const { return IsBGM; }
  void OnSetSlideshow(bool on);
  bool OnGetSlideshow() const { return Slideshow; }
  // "Resolution: w x h", or empty unless both are at least 1.
  void UpdateResolution(int32_t width, int32_t height);

  Views::Text& ResolutionText() { return resolution_; }
  Views::Text& MetadataText() { return metadata_; }
  Views::Image& SlideshowIcon() { return slideshowIcon_; }
  Views::Image& MusicIcon() { return musicIcon_; }

  bool IsBGM = false;
  bool Slideshow = false;

 private:
  Views::Text resolution_;
  Views::Text metadata_;
  Views::Image slideshowIcon_;
  Views::Image musicIcon_;
};

}  // namespace MediaPlayer
