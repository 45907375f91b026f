// MediaPlayer::MovieMusicFullPlayTemplate: the player template with the
// playback keys of the movie and music players and their banner:
//   OK / Play   resume from pause, fast forward or rewind     banner 8000 ms
//   Left/Right  while paused: step seek (steps 1, 2, 3 ... from the
//               position; the seek goes out ~200 ms after the last press)
//   Previous    restart the item; a second press within 2000 ms goes to
//               the previous one (repeat one: always restart)
//   Next, Pause, Stop (as Back), Rewind and Fast forward (banner stays up),
//   Display     shows or hides the banner (not while it stays up)
// and the media service's status: a song or movie that does not start
// within 500 ms shows the unsupported-file bar; the banner follows the
// playback record.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/Core/Timer.h"
#include "units/MediaPlayer/MovieMusicBanners.h"
#include "units/MediaPlayer/PlayerTemplate.h"

namespace Core {
class KeyEvent;
}
namespace Events {
class StatusEvent;
}

namespace MediaPlayer {

// Banner time-outs of the playback keys.
inline constexpr int32_t kBannerPlayTime = 8000;
inline constexpr int32_t kBannerStepTime = 4000;
inline constexpr int32_t kBannerDisplayTime = 60000;
// The step seek's timer, the unsupported-file delay.
inline constexpr int32_t kSeekPeriod = 200;
inline constexpr int32_t kWarningDelay = 500;

class MovieMusicFullPlayTemplate : public MediaPlayerFullScreenTemplate {
  KV_CLASS(MediaPlayer, MovieMusicFullPlayTemplate, MediaPlayerFullScreenTemplate)
 public:
  MovieMusicFullPlayTemplate();

  kv::Object* HandleEvent(Core::Event* event) override;
  // Clears the help bar, starts the animation; outside the renderer plays
  // the chosen item of the SelectedParam (playlist mode 5) with the repeat
  // mode of the setting; its time-out then leaves as Back does.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
  void HandleMessage(Structures::Message* msg) override;
  void ApplyRepeatChange() override;
  void KeyPressTimerSlot(kv::Object* sender = nullptr) override;
  void Exit3DMode() override;
  // The unsupported-file bar ran out: under repeat off or all the bar
  // closes and the next item plays; under repeat one, and on a renderer
  // screen, nothing happens.
  void WarningMsgTimeOutSlot(kv::Object* sender = nullptr) override;

  // The seek timer: the first expiry arms it, the next seeks to the target.
  void SeekDownKeyTimerSlot(kv::Object* sender = nullptr);
  // The warning timer: the unsupported-file bar.
  void ShowWarningMsg(kv::Object* sender = nullptr);
  // The screen's time-out: a Back key.
  void ExitByTimeout(kv::Object* sender = nullptr);
  // The seek target on the banner's progress bar and time text.
  void UpdateBanner();

  MovieMusicFullViewBanner* OnGetBanner() const { return Banner.get(); }
  int32_t SeekTarget() const { return seekTarget_; }
  Core::Timer& WarningTimer() { return warningTimer_; }

  kv::Member<MovieMusicFullViewBanner> Banner;

 protected:
  // Opens `banner` as this player's banner at its origin (hidden on a
  // renderer screen).
  void OpenBanner(MovieMusicFullViewBanner* banner);
  bool BannerVisible() const { return Banner && Banner->IsVisible(); }
  kv::Object* HandlePlaybackKey(Core::KeyEvent* key);
  // Handles a status code of the media service; false: not this template's.
  bool HandleStatus(uint16_t code, Events::StatusEvent* status);
  // Left (-1) or Right (+1) while paused.
  void StepSeek(int32_t direction);

  bool firstPrevious_ = true;
  bool seekArmed_ = false;
  int32_t seekTarget_ = 0;
  int32_t seekStep_ = 1;
  Core::Timer seekTimer_;
  Core::Timer warningTimer_;
};

}  // namespace MediaPlayer
