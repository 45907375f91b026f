// Views::Border: a frame of lines `Width` pixels wide along the inside of
// its bounds, in one colour.
#pragma once

#include <cstdint>

#include "runtime/geometry.h"
#include "units/Core/View.h"

namespace Views {

class Border : public Core::View {
  KV_CLASS(Views, Border, Core::View)
 public:
  Border() = default;

  // Negative widths are logged and count as 0 (nothing drawn).
  void OnSetWidth(int32_t width);
  int32_t OnGetWidth() { return width_; }
  void OnSetColor(kv::Color color);
  kv::Color OnGetColor() { return color_; }

  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

 private:
  int32_t width_ = 1;
  kv::Color color_;
};

}  // namespace Views
