// Media::SlideShowAnimator: the picture engine of the photo viewer. It walks
// a picture play list, has the media service decode the next picture into
// the buffer that is not on screen while the current one is shown, switches
// the two image views with a transition (cut, scrolls, fade, Ken Burns,
// shutter), times the slide show, rotates and zooms pictures, and reports
// every change as an Events::StatusEvent to its root view.
//
// States: 7 stopped (screen saver allowed), 2 paused, 1 playing, 11 resuming
// (plays, but every change is a cut and no interval report goes out), 10
// stepping back. The viewer hands it Root, Bounds, the images and the play
// list, then an index (OnSetCurrentUID), which pauses on that picture.
#pragma once

#include <cstdint>

#include "runtime/geometry.h"
#include "runtime/member.h"
#include "runtime/slot.h"
#include "units/Core/Timer.h"
#include "units/Effects/Int32Effect.h"
#include "units/Media/DataItems.h"
#include "units/Media/PictureViews.h"
#include "units/Overlay/Player.h"
#include "units/Views/Text.h"

namespace ListWidgets {
class DataSource;
}

namespace Media {

class SlideShowAnimator : public Overlay::Player {
  KV_CLASS(Media, SlideShowAnimator, Overlay::Player)
 public:
  static constexpr int32_t kWidth = 960;
  static constexpr int32_t kHeight = 540;
  // Display time per picture in ms, by interval index.
  static constexpr int32_t kIntervals[7] = {3000, 5000, 10000, 15000, 30000, 60000, 90000};

  SlideShowAnimator();

  kv::Object* HandleEvent(Core::Event* event) override;
  void OnSetState(uint16_t state) override;
  void OnSetSpeed(int32_t index) override;
  void Next() override;
  void Prev() override;
  void Restart() override;
  int32_t GetTotalItems() override;
  void OnSetRepeat(uint16_t mode) override;
  void OnSetRandom(uint16_t value) override;
  void HandleZoomChange(uint16_t factor, uint16_t direction) override;
  void OnSetZoomRect(kv::Rect rect) override;
  bool IsRepeatModeSupported(uint16_t mode) override { return mode == 1 || mode == 2; }
  void OnSetCurrentUID(int32_t index) override;
  int32_t OnGetCurrentUID() override;
  // The interval index of the persistent settings (0 without a root).
  int32_t OnGetSpeed() override;

  // The transition of the running slide show; 0 (a cut) in any other state.
  uint16_t OnGetEffect() const { return State == 1 ? Effect : 0; }
  void OnSetEffect(uint16_t effect) { Effect = effect; }
  uint16_t OnGetEffectRandom() const { return EffectRandom; }
  void OnSetEffectRandom(uint16_t v) { EffectRandom = v; }
  int32_t OnGetEffectValue() { return EffectValue; }
  // Runs one transition frame with the value (0 .. 255).
  void OnSetEffectValue(int32_t value);
  ListWidgets::DataSource* OnGetPlaylist() const { return Playlist.get(); }
  void OnSetPlaylist(ListWidgets::DataSource* list) { Playlist = list; }
  ScalableImage* OnGetImageA() const { return ImageA.get(); }
  void OnSetImageA(ScalableImage* image) { ImageA = image; }
  ScalableImage* OnGetImageB() const { return ImageB.get(); }
  void OnSetImageB(ScalableImage* image) { ImageB = image; }
  void OnSetGetRandomEffect(const kv::Slot& slot) { GetRandomEffect = slot; }
  void OnSetInvalidText(const kv::String& text) { invalidText_.OnSetString(text); }

  kv::String GetCurrentURI() const;
  // By 90 degrees: counter-clockwise with the flag, else clockwise.
  void RotatePicture(bool counter);
  void ResetOrentation();
  // Clears the pending picture's buffer and writes the invalid-file text into it.
  void ShowInvalidText();
  void DecodeItem(PictureDataItem* item, Graphics::Canvas* canvas);
  // The display time of the interval index of the settings, in ms.
  int32_t CurrentInterval() { return IntervalOf(OnGetSpeed()); }
  // A decoding was asked for and has not arrived.
  bool IsDecoding() const { return decoding_; }
  PictureDataItem* OnGetCurrentItem() const { return current_.get(); }
  Graphics::Canvas* CanvasA() { return &canvasA_; }
  Graphics::Canvas* CanvasB() { return &canvasB_; }

  // Slots.
  void DoDecodeNext(kv::Object* sender = nullptr);
  void DoIntraFrame(kv::Object* sender = nullptr);
  void RandomEffectSlot(kv::Object* sender = nullptr);

  uint16_t Effect = 0;
  uint16_t EffectRandom = 1;
  int32_t EffectValue = 0;
  kv::Member<ListWidgets::DataSource> Playlist;
  kv::Member<ScalableImage> ImageA;
  kv::Member<ScalableImage> ImageB;
  kv::Slot GetRandomEffect;

 private:
  static int32_t IntervalOf(int32_t index) { return index >= 0 && index < 7 ? kIntervals[index] : kIntervals[0]; }
  void Report(uint16_t code, int32_t a, int32_t b, int32_t c, int32_t d, bool dispatch = false);
  void TriggerDecode();
  void IncomingPicture(PictureDataItem* item);
  // (Re)starts the transition effect after `begin` ms.
  void Arm(int32_t begin);
  void UpdateCurrent();
  // The image showing the current item (new) and the other one (old).
  ScalableImage* NewImage() const;
  ScalableImage* OldImage() const;
  void Place(ScalableImage* image, kv::Rect rect, int32_t opacity, bool sourceToBounds);
  void InterNone();
  void InterScroll(bool horizontal);
  void InterFade();
  void InterShutter();
  void IntraKenBurns();
  void RedrawImages();
  // Turns the shown buffer and keeps the turned size when it is real.
  void TurnShown(int32_t angle);
  PictureDataItem* ItemAt(int32_t index);

  bool backward_ = false;
  bool forward_ = false;
  uint16_t previousState_ = 0;
  Effects::Int32Effect effect_;
  Core::Timer intraFrame_;
  int32_t kenBurnsStep_ = 0;
  ServiceCanvas canvasA_;
  ServiceCanvas canvasB_;
  kv::Member<PictureDataItem> current_;
  kv::Member<PictureDataItem> pending_;
  kv::Member<PictureDataItem> decodingItem_;
  bool decoding_ = false;
  bool arming_ = false;  // the effect writes its start value: not a frame
  Views::Text invalidText_;
  int32_t target_ = -1;
};

}  // namespace Media
