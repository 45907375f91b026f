// MediaPlayer::PhotoSingleView: the full-screen photo viewer. It shows one
// picture of the folder it was opened from at a time (paused on the chosen
// one), steps with Left and Right, rotates with Up and Down, runs the slide
// show on OK at the interval of the settings (with the background music when
// it is on and chosen), and shows the photo banner with Display. The picture
// engine is the embedded Media::SlideShowAnimator; the ways out are the
// full-screen template's. Losing the focus (a menu or dialog over it) pauses
// a running slide show; getting it back resumes it.
//
// MediaPlayer::PhotoSingleViewDMR: the same screen driven by a home-network
// controller: the controller names each picture; there is no play list and
// Left, Right and OK do nothing.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/Media/PictureViews.h"
#include "units/Media/SlideShowAnimator.h"
#include "units/MediaPlayer/PlayerTemplate.h"

namespace Core {
class KeyEvent;
}
namespace Events {
class StatusEvent;
}
namespace Media {
class PictureEvent;
}

namespace MediaPlayer {

class PhotoFullViewBanner;

// The banner's time-outs after a step, after OK and after Display.
inline constexpr int32_t kStepBannerTimeOut = 4000;
inline constexpr int32_t kSlideshowBannerTimeOut = 8000;
inline constexpr int32_t kDisplayBannerTimeOut = 60000;

class PhotoSingleView : public MediaPlayerFullScreenTemplate {
  KV_CLASS(MediaPlayer, PhotoSingleView, MediaPlayerFullScreenTemplate)
 public:
  PhotoSingleView();

  // The picture the browser chose, paused, with the banner and help bar.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void HandleFocus(bool focused) override;
  void HandleMessage(Structures::Message* msg) override;
  // Repeat all when the photo repeat setting is on, else off.
  uint16_t GetRepeatMode() override;
  void ApplyRepeatChange() override;
  void Exit3DMode() override;

  void OnSetIsSlideshow(bool on);
  bool OnGetIsSlideshow() const { return IsSlideshow; }
  // The slide-show interval index of the settings, handed to the animator.
  int32_t GetIntervalSetting();
  void ApplyIntervalChange();
  // Observer of the interval setting while the screen is up: the open
  // photo viewer applies the change.
  void IntervalChanged(kv::Object* sender = nullptr);
  // Slots: a paused slide show goes on when the screen has the focus; the
  // end of a slide show leaves the screen.
  void ResumeSlideshow(kv::Object* sender = nullptr);
  void SlideshowExit(kv::Object* sender = nullptr);
  void ResetRotation();
  void ShowHelpBar();
  void UpdateHelpBar(kv::Object* sender = nullptr);
  void HideHelpBar();

  Media::SlideShowAnimator& Animator() { return animator_; }
  PhotoFullViewBanner* Banner() const { return Banner_.get(); }
  bool PictureShown() const { return pictureShown_; }

  bool IsSlideshow = false;

 protected:
  // The banner up for `ms`, the help bar and the 3D indicators shown.
  void ShowBanner(int32_t ms);
  bool BannerVisible() const;
  // The events whose road out of the screen also stops the music.
  static bool LeavingRoad(Core::Event* event);
  kv::Object* HandleViewerEvent(Core::Event* event);
  kv::Object* HandleKey(Core::KeyEvent* key);
  kv::Object* HandleStatus(Events::StatusEvent* status);
  kv::Object* HandlePicture(Media::PictureEvent* picture);
  // The banner's resolution, size and date of the picture on the screen.
  void ShowPictureFacts();
  // Decodes the controller's picture at `uri` into the first buffer.
  void DecodeUri(const kv::String& uri);

  bool pictureShown_ = false;
  Media::SlideShowAnimator animator_;
  Media::ScalableImage imageA_;
  Media::ScalableImage imageB_;
  kv::Member<PhotoFullViewBanner> Banner_;
};

class PhotoSingleViewDMR : public PhotoSingleView {
  KV_CLASS(MediaPlayer, PhotoSingleViewDMR, PhotoSingleView)
 public:
  PhotoSingleViewDMR();
  // The controller's current picture; none: every screen closes.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
};

}  // namespace MediaPlayer
