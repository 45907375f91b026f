// Record::TimeshiftStatusDialog (window 0x2000035): where time-shifted live
// TV stands. A banner (channel, date and time, input, audio, resolution,
// caption and rating badges, the live-TV state, the current programme) over
// a time bar: the filled part of the buffer, the playback position (red),
// a marker line with the position's clock, and the clocks of the buffer's
// start and end.
//
// The buffer holds the interval I of the timeshift duration setting (0 to 4:
// 300, 600, 1200, 1800 or 3600 s). Once a second the middleware's status
// (buffered seconds B, position P, play state and rate) is polled: a buffer
// longer than I is cut to its last I seconds and P is kept inside 0..I. A
// setting outside 0..4 gives no interval: the bars, marker and clocks then
// stay as they are.
//
// The trick-play keys become timeshift operations (play 0, pause 1, forward
// 2, rewind 3; GUI keys 40, 39, 23 and 22 operations 4 to 7) and change the
// shown state and rate at once; the next poll shows the middleware's. Every
// trick-play key restarts the 60-second time-out.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/Core/Timer.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/SkinBin/Sliders.h"
#include "units/Views/Image.h"
#include "units/Views/Line.h"
#include "units/Views/Text.h"

namespace SkinBin {
class Wrapper;
}
namespace Wrapper {
class Wrapper;
}
namespace Structures {
class EventInfo;
class LocalTime;
}  // namespace Structures

namespace Record {

// Play states of the timeshift status.
inline constexpr int32_t XPM_TIMESHIFT_PLAY_STATE_PAUSE = 1;
inline constexpr int32_t XPM_TIMESHIFT_PLAY_STATE_PLAY = 2;
inline constexpr int32_t XPM_TIMESHIFT_PLAY_STATE_FAST_FORWARD = 3;
inline constexpr int32_t XPM_TIMESHIFT_PLAY_STATE_SLOW_FORWARD = 4;
inline constexpr int32_t XPM_TIMESHIFT_PLAY_STATE_FAST_BACKWARD = 5;
inline constexpr int32_t XPM_TIMESHIFT_PLAY_STATE_SLOW_BACKWARD = 6;

class TimeshiftStatusDialog : public NonMenuSystem::KXDWidgetClass {
  KV_CLASS(Record, TimeshiftStatusDialog, NonMenuSystem::KXDWidgetClass)
 public:
  static constexpr int32_t kTimeOut = 60000;
  static constexpr int32_t kPollPeriod = 1000;
  static constexpr int32_t kFirstTrickRate = 2;
  static constexpr int32_t kLastTrickRate = 9;
  // The marker stands this far right of the bar's start at position 0.
  static constexpr int32_t kMarkerOffset = 12;

  TimeshiftStatusDialog();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  void Close() override;

  // The banner's texts and badges from the set.
  void LoadSettings();
  void UpdateBanner();
  void HideAllInfo();
  // The poll (every kPollPeriod ms while open).
  void StatusCheckSlot(kv::Object* sender = nullptr);
  void OnSetPlayState(int32_t state);
  void OnSetPlayRate(int32_t rate);

  // The buffer's seconds for a duration setting; 0 outside 0..4.
  static int32_t IntervalOf(int32_t setting);

  int32_t PlayState = XPM_TIMESHIFT_PLAY_STATE_PLAY;
  int32_t PlayRate = kFirstTrickRate;
  int32_t Interval = 0;  // I, in seconds; 0: none
  bool HasProgram = false;

  // What the screen shows, for tests and the gallery.
  SkinBin::ProgressKXD& BufferBar() { return bufferBar_; }
  SkinBin::ProgressKXD& PositionBar() { return positionBar_; }
  const Views::Line& Marker() const { return marker_; }
  Views::Text& PositionClock() { return positionClock_; }
  Views::Text& StartClock() { return startClock_; }
  Views::Text& EndClock() { return endClock_; }
  Views::Text& RateLabel() { return rate_; }
  Views::Text& DateLine() { return date_; }
  Views::Text& ChannelNumber() { return number_; }
  Views::Text& ChannelName() { return name_; }
  Views::Text& ProgramTitle() { return title_; }
  Views::Text& ProgramTime() { return programTime_; }
  Views::Text& Rating() { return rating_; }
  Views::Image& StateImage() { return state_; }
  Views::Image& InputImage() { return input_; }
  Views::Image& LiveStateImage() { return liveState_; }
  Views::Image& DolbyImage() { return dolby_; }
  Views::Image& AudioImage() { return audio_; }
  Views::Image& ResolutionImage() { return resolution_; }

 private:
  void SetDateLine(const Structures::LocalTime& now);
  void LoadProgram();
  void ShowBadges();
  void ShowStreamBadges(::Wrapper::Wrapper* base, SkinBin::Wrapper* w);
  void PackBadges();
  // Marks the dialog's state changed by a key and sends the operation.
  void KeyOperation(int32_t operation);

  Views::Text number_, name_, date_, rating_, title_, programTime_;
  Views::Text startClock_, endClock_, positionClock_, rate_;
  Views::Image input_, dolby_, audio_, sdhd_, resolution_, caption_cc_, liveState_, state_;
  SkinBin::ProgressKXD bufferBar_;
  SkinBin::ProgressKXD positionBar_;
  Views::Line marker_;
  Core::Timer pollTimer_;
};

}  // namespace Record
