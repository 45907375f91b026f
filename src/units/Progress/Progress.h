// Progress::Progress: the drawable slider. A background bitmap is stretched
// over the bounds; the indicator bitmap is drawn inside the indicator area,
// the bounds inset by the top-left and bottom-right offsets.
//
// Position mode: the indicator keeps its own size and moves along the area,
// its left (top) edge at the area's start for Min and its right (bottom) edge
// at the area's end for Max. Stretch mode: the indicator is stretched over the
// part of the area up to the value. A vertical slider runs upwards (Max at the
// top, the stretched indicator grows from the bottom) and steps with the up
// and down keys.
#pragma once

#include <cstdint>

#include "keys/keycodes.h"
#include "runtime/geometry.h"
#include "runtime/member.h"
#include "units/Progress/ProgressClass.h"

namespace Resources {
class Bitmap;
}

namespace Progress {

class Progress : public ProgressClass {
  KV_CLASS(Progress, Progress, ProgressClass)
 public:
  static constexpr uint16_t kVerticalIncreaseKey = keys::KEY_UP;
  static constexpr uint16_t kVerticalDecreaseKey = keys::KEY_DOWN;

  Progress() = default;

  void OnSetBgImageBitmap(Resources::Bitmap* bitmap);
  Resources::Bitmap* OnGetBgImageBitmap() const { return bgBitmap_.get(); }
  void OnSetIndicatorImageBitmap(Resources::Bitmap* bitmap);
  Resources::Bitmap* OnGetIndicatorImageBitmap() const { return indicatorBitmap_.get(); }
  // Offsets of the indicator area from the top-left and the bottom-right
  // corner of the bounds (positive values move inwards).
  void OnSetIndicatorTopLeft(kv::Point offset);
  kv::Point OnGetIndicatorTopLeft() const { return topLeft_; }
  void OnSetIndicatorBottomRight(kv::Point offset);
  kv::Point OnGetIndicatorBottomRight() const { return bottomRight_; }
  // Vertical sliders step with up and down, horizontal ones with left and right.
  void OnSetVertical(bool vertical);
  bool OnGetVertical() const { return vertical_; }

  // Where the indicator is drawn, relative to the slider; empty without an
  // indicator bitmap (or, stretched, at Min).
  kv::Rect GetIndicatorRect() const;

  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

 private:
  kv::Member<Resources::Bitmap> bgBitmap_;
  kv::Member<Resources::Bitmap> indicatorBitmap_;
  kv::Point topLeft_;
  kv::Point bottomRight_;
  bool vertical_ = false;
};

}  // namespace Progress
