// Views::Image: a bitmap (or canvas) drawn into the bounds.
//
// Placement, per axis: stretched over the bounds (ALIGN_STRETCH, the
// default), or drawn at its size and aligned left/top, centred or
// right/bottom (0, 1, 2). AutoSize gives the view the size of one frame of
// the bitmap, keeping its top-left corner.
//
// Frames: FrameNumber selects the frame shown (frames sit side by side in the
// bitmap). The frame animation steps from StartFrame towards EndFrame (-1:
// the last frame) every FrameDelay ms. Activate shows StartFrame and starts
// it; Animated starts or stops it where it is. An endless animation goes
// back to StartFrame after EndFrame; otherwise it stops on EndFrame and
// signals OnFinished.
//
// The image watches its bitmap: when the bitmap's observers are notified
// (a canvas that loaded a picture, resources drawn again after a language
// change) it takes the new size (AutoSize) and redraws.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/slot.h"
#include "units/Core/Timer.h"
#include "units/Core/View.h"

namespace Resources {
class Bitmap;
}

namespace Views {

class Image : public Core::View {
  KV_CLASS(Views, Image, Core::View)
 public:
  static constexpr int32_t kDefaultFrameDelay = 100;

  Image();

  void OnSetBitmap(Resources::Bitmap* bitmap);
  Resources::Bitmap* OnGetBitmap();
  // 0..255; others are logged and clamped.
  void OnSetOpacity(int32_t opacity);
  int32_t OnGetOpacity() { return opacity_; }
  void OnSetAutoSize(bool on);
  bool OnGetAutoSize() { return autoSize_; }
  // 0 left, 1 centred, 2 right, 3 stretched; others are logged and count as 0.
  void OnSetAlignH(int32_t align);
  int32_t OnGetAlignH() { return alignH_; }
  // 0 top, 1 centred, 2 bottom, 3 stretched; others are logged and count as 0.
  void OnSetAlignV(int32_t align);
  int32_t OnGetAlignV() { return alignV_; }

  // A negative number is logged and counts as 0; numbers past the bitmap's
  // last frame show the last frame.
  virtual void OnSetFrameNumber(int32_t frame);
  int32_t OnGetFrameNumber() { return frame_; }

  void OnSetAnimated(bool on);
  bool OnGetAnimated() { return timer_.IsEnabled(); }
  void OnSetEndless(bool on) { endless_ = on; }
  bool OnGetEndless() { return endless_; }
  // Negative start frames count as 0.
  void OnSetStartFrame(int32_t frame);
  int32_t OnGetStartFrame() { return startFrame_; }
  // -1 (or any negative value): the last frame of the bitmap.
  void OnSetEndFrame(int32_t frame) { endFrame_ = frame < 0 ? -1 : frame; }
  int32_t OnGetEndFrame() { return endFrame_; }
  // Milliseconds between frames; values below 1 are logged and count as 1.
  void OnSetFrameDelay(int32_t ms);
  int32_t OnGetFrameDelay() { return frameDelay_; }
  // Shows StartFrame and starts the animation (usable as a slot).
  void Activate(kv::Object* sender = nullptr);

  // Signalled when a non-endless animation reaches its end frame.
  kv::Slot OnFinished;

  void OnSetBounds(kv::Rect bounds) override;
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;
  // A bitmap known opaque, drawn at full opacity and at its own size, covers
  // the rectangle it is drawn on.
  void CollectOpaque(const kv::Rect& clip, kv::Point origin, Core::OpaqueCover& cover) const override;

 protected:
  // The frame range of the animation within the bitmap's frames.
  int32_t FirstFrame() const;
  int32_t LastFrame() const;
  kv::Rect AutoSizeBounds(const kv::Rect& bounds) const;

 private:
  void DoStep(kv::Object* sender);
  void DoBitmapChanged(kv::Object* sender);
  void UpdateSize();
  // Where frame `src` is drawn for a view whose top-left corner is at `origin`.
  kv::Rect Placement(kv::Point origin, const ge::Surface& src) const;

  kv::Member<Resources::Bitmap> bitmap_;
  Core::Timer timer_;
  int32_t opacity_ = 255;
  int32_t alignH_ = 3;  // ALIGN_STRETCH
  int32_t alignV_ = 3;
  int32_t frame_ = 0;
  int32_t startFrame_ = 0;
  int32_t endFrame_ = -1;
  int32_t frameDelay_ = kDefaultFrameDelay;
  bool autoSize_ = false;
  bool endless_ = false;
};

}  // namespace Views
