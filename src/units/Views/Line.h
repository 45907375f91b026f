// Views::Line: a line in one colour. By default the line is its bounds: a
// thin rectangle filled with the colour (the key pad's cursor line, 1 or 2
// pixels wide; separators). After OnSetPoints it is an anti-aliased line one
// pixel wide between two points, its bounds the box around them.
#pragma once

#include "runtime/geometry.h"
#include "units/Core/View.h"

namespace Views {

class Line : public Core::View {
  KV_CLASS(Views, Line, Core::View)
 public:
  Line() = default;

  void OnSetColor(kv::Color color);
  kv::Color OnGetColor() { return color_; }

  // Draws from `p1` to `p2` (owner coordinates, both end pixels included).
  // The bounds become the box around the two points; moving the bounds
  // later moves the line with them.
  void OnSetPoints(kv::Point p1, kv::Point p2);
  bool HasPoints() const { return hasPoints_; }

  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

 private:
  kv::Color color_;
  kv::Point p1_, p2_;  // relative to the bounds' top-left corner
  bool hasPoints_ = false;
};

}  // namespace Views
