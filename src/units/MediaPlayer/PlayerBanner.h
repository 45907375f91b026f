// MediaPlayer::MediaPlayerBannerTemplate: the information strip a
// full-screen player opens as its child and shows over the picture: the
// item's place in the playlist, its title, the repeat icon and the file
// size, filled from the media service's playback record. It hides itself
// when its time-out runs (it stays open); ChangeTimeOut(0) keeps it up.
// The movie, music and photo banners derive from it.
#pragma once

#include <cstdint>

#include "runtime/geometry.h"
#include "runtime/string.h"
#include "units/Overlay/PlaybackInfo.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Views/Frame.h"
#include "units/Views/Image.h"
#include "units/Views/Text.h"

namespace Media {
class MediaItem;
}

namespace MediaPlayer {

// Navigation states of the banner (NavStatus).
inline constexpr uint16_t NAV_PLAYING = 1;
inline constexpr uint16_t NAV_PAUSED = 2;
inline constexpr uint16_t NAV_FORWARD = 3;
inline constexpr uint16_t NAV_REWIND = 4;
inline constexpr uint16_t NAV_STOPPED = 7;
inline constexpr uint16_t NAV_STOPPED_2 = 8;
inline constexpr uint16_t NAV_PREVIOUS = 10;
inline constexpr uint16_t NAV_NEXT = 12;
// The banner's time-out.
inline constexpr int32_t kBannerTimeOut = 8000;

class MediaPlayerBannerTemplate : public Primitives::KeyRoutingForm {
  KV_CLASS(MediaPlayer, MediaPlayerBannerTemplate, Primitives::KeyRoutingForm)
 public:
  MediaPlayerBannerTemplate();

  // Reads the playback record again and shows it (counter, title, repeat).
  virtual void RefreshBannerInfo();
  // A metadata record of the playing item arrived; the template: nothing.
  virtual void UpdateMetadata(Media::MediaItem* item);
  // Shows or hides the playlist texts and icons (the renderer: the title only).
  virtual void ShowInfo(bool show);
  // Refills the playback record from the media service.
  virtual void GetPlaybackInfo();
  // Stores the repeat code (the movie and music banners also change the icon).
  virtual void OnSetRepeatMode(uint16_t mode);
  virtual void OnSetNavStatus(uint16_t status);
  virtual void OnSetPlayRate(int32_t rate);

  // Hides the banner; it stays open.
  void TimeOutSlot(kv::Object* sender) override;
  // Sets the bounds; the background frame covers the whole banner.
  void OnSetBounds(kv::Rect bounds) override;
  // Sets the time-out and restarts its count; 0 keeps the banner up.
  void ChangeTimeOut(int32_t ms);
  // The size of the file at `uri` (the Wrapper's GetFileSize through the
  // FileSizeText, shared with the browser): the size text, or hidden when it cannot be read.
  void ShowFileSize(const kv::String& uri);

  uint16_t OnGetNavStatus() const { return NavStatus; }
  uint16_t OnGetRepeatMode() const { return RepeatMode; }
  int32_t OnGetPlayRate() const { return PlayRate; }
  kv::Point OnGetWidgetOrigin() const { return WidgetOrigin; }
  void OnSetWidgetOrigin(kv::Point p) { WidgetOrigin = p; }
  Overlay::PlaybackInfo& Info() { return info_; }
  Views::Text& TitleText() { return title_; }
  Views::Text& CounterText() { return counter_; }
  Views::Text& SizeText() { return size_; }
  Views::Image& RepeatIcon() { return repeat_; }

  uint16_t NavStatus = 0;
  uint16_t RepeatMode = 0;
  int32_t PlayRate = 0;
  // Where the player places the banner.
  kv::Point WidgetOrigin{0, 448};

 protected:
  // A text part in the banners' font, ending in an ellipsis, centred vertically.
  static void InitText(Views::Text& t, kv::Rect bounds, kv::Color colour);
  // The renderer drives the screen (the Wrapper's IsInDmrPlay).
  static bool InDmrPlay();
  // Where the size text ends on the right, and its top.
  int32_t sizeRight_ = 920;
  int32_t sizeTop_ = 5;
  // The file whose size the size text shows.
  kv::String sizeUri_;

  Overlay::PlaybackInfo info_;
  Views::Frame frame_;
  Views::Text title_;
  Views::Text counter_;
  Views::Image repeat_;
  Views::Text size_;
};

}  // namespace MediaPlayer
