// The skin's sliders. SkinBin::Progress: groove and indicator bitmaps
// (Bitmaps::ProgressGroove and ProgressIndicator unless set), value 50 at
// construction, and two marker rectangles, hidden until a screen places and
// shows them. SkinBin::ProgressKXD: the inline slider of the captioned bars
// and menu slider items, the same bitmaps, drawn in position mode.
#pragma once

#include "runtime/geometry.h"
#include "units/Progress/Progress.h"

namespace SkinBin {

class Progress : public ::Progress::Progress {
  KV_CLASS(SkinBin, Progress, ::Progress::Progress)
 public:
  Progress();
  // The two markers, relative to the slider; drawn only while shown.
  void OnSetMarker(int32_t i, kv::Rect rect, bool shown);
  bool IsMarkerShown(int32_t i) const { return i >= 0 && i < 2 && markerShown_[i]; }
  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

 private:
  kv::Rect markers_[2];
  bool markerShown_[2] = {false, false};
};

class ProgressKXD : public ::Progress::Progress {
  KV_CLASS(SkinBin, ProgressKXD, ::Progress::Progress)
 public:
  ProgressKXD();
};

}  // namespace SkinBin
