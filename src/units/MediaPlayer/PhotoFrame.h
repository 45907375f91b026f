// MediaPlayer::PhotoFrame (0x1200003a, layer 1): the wallpaper picture full
// screen on the media input. Every five minutes the picture moves by four
// pixels along a fixed round of sixteen steps (it starts with (4, 4) once,
// then circles within 8 pixels of that place), so no pixel stays lit in one
// place; with the auto power-off setting the set goes to standby after 30
// minutes to 12 hours. Leaving it returns to the source used before.
//
// MediaPlayer::WallpaperLoader: the wallpaper bitmap and its path, shared
// with the wallpaper pages: the path comes from the media bridge, the file
// loads one pass after the screen opens, and a user picture is turned to
// the stored orientation once it is loaded (the default one never is).
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/Core/Timer.h"
#include "units/Media/PictureViews.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/Views/Image.h"

namespace Events {
class StatusEvent;
}
namespace SubSystem {
class SubSystemClass;
}

namespace MediaPlayer {

// The bridge's wallpaper path is the default wallpaper.
bool IsDefaultWallpaper(const kv::String& path);
// The Wrapper's WallpaperOrientation applied to a loaded picture of
// `bitmap` (not for the default wallpaper): the turned size is kept. The
// service turns the picture it decoded, so the angle is always the whole
// angle from the file; the turn tells the bitmap's observers again, which
// `busy` (set while turning) keeps from turning it once more.
void TurnToStoredOrientation(Media::ExternalBitmap& bitmap, const kv::String& path, bool& busy);
// Closes live TV's banner: it names the channel of the picture that the
// photo frame and the wallpaper pages replace.
void CloseChannelBanner();
// Opens the question whether to show a plugged stick, as the non-menu
// sub-system does (the device number is the status event's third value).
void AskToOpenPluggedStick(SubSystem::SubSystemClass* owner, Events::StatusEvent* status);
// The status event that reports a plugged storage device while automatic
// start is on, else null.
Events::StatusEvent* AutoStartPlug(Core::Event* event);

class PhotoFrame : public NonMenuSystem::WidgetClass {
  KV_CLASS(MediaPlayer, PhotoFrame, NonMenuSystem::WidgetClass)
 public:
  static constexpr int32_t kMovePeriod = 300000;

  PhotoFrame();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Close() override;
  kv::Object* HandleEvent(Core::Event* event) override;

  void LoadWallpaper(kv::Object* sender = nullptr);
  void Update(kv::Object* sender = nullptr);
  void MoveTimerSlot(kv::Object* sender = nullptr);

  Views::Image& Picture() { return picture_; }
  Media::ExternalBitmap& Wallpaper() { return wallpaper_; }
  const kv::String& WallpaperPath() const { return path_; }
  int32_t PositionStep() const { return step_; }
  int32_t PowerOffCountdown() const { return countdown_; }

 private:
  Views::Image picture_;
  Core::Timer moveTimer_;
  Media::ExternalBitmap wallpaper_;
  kv::String path_;
  int32_t step_ = 0;
  int32_t countdown_ = -1;
  bool turning_ = false;
};

}  // namespace MediaPlayer
