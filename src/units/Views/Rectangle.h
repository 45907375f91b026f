// Views::Rectangle: a rectangle filled with one colour (drawn over what lies
// below it, so translucent colours shade). A cut rectangle sets its pixels
// to the colour instead: a transparent one opens a window in the on-screen
// display onto the video beneath it.
#pragma once

#include "runtime/geometry.h"
#include "units/Core/View.h"

namespace Views {

class Rectangle : public Core::View {
  KV_CLASS(Views, Rectangle, Core::View)
 public:
  Rectangle() = default;

  void OnSetColor(kv::Color color);
  kv::Color OnGetColor() { return color_; }
  void OnSetCut(bool cut);
  bool OnGetCut() const { return cut_; }

  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;
  // An opaque colour covers the whole rectangle, cut or blended.
  void CollectOpaque(const kv::Rect& clip, kv::Point origin, Core::OpaqueCover& cover) const override;

 private:
  kv::Color color_;
  bool cut_ = false;
};

}  // namespace Views
