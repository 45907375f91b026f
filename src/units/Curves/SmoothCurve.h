// Curves::SmoothCurve: a curve through PointNum points, drawn in Color.
//
// Points are set one by one (SetPoint) in the curve's own coordinates; then
// CreateCurve builds the line pieces that are drawn:
//  - Linear: one straight line between each pair of neighbouring points, and
//    the point bitmap centred on every point;
//  - otherwise a smooth curve: each inner point gets a tangent parallel to
//    the line through its two neighbours; the segment from the first point
//    and the segment to the last point are quadratic Bezier curves (one
//    control point, taken from the inner point's tangent), the inner segments
//    cubic Bezier curves (two control points). Each segment is drawn as
//    `divisions` straight pieces.
// Lines are anti-aliased and one pixel wide.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/geometry.h"
#include "runtime/member.h"
#include "units/Core/View.h"

namespace Resources {
class Bitmap;
}

namespace Curves {

class SmoothCurve : public Core::View {
  KV_CLASS(Curves, SmoothCurve, Core::View)
 public:
  // The most points a curve takes.
  static constexpr int32_t kMaxPoints = 1024;

  SmoothCurve();

  // Sets the number of points; new points are (0, 0), extra ones are dropped.
  // Values outside 0..kMaxPoints are logged and clamped.
  void OnSetPointNum(int32_t count);
  int32_t OnGetPointNum() { return static_cast<int32_t>(points_.size()); }
  // Sets one point; an index outside the points is logged and ignored.
  void SetPoint(int32_t index, int32_t x, int32_t y);
  kv::Point GetPoint(int32_t index) const;

  void OnSetLinear(bool linear) { linear_ = linear; }
  bool OnGetLinear() { return linear_; }
  // 32-bit colour, red in the low byte, then green, blue and alpha.
  void OnSetColor(uint32_t color);
  uint32_t OnGetColor() { return color_; }
  // The mark drawn on every point of a linear curve (null: no marks).
  void OnSetPointBitmap(Resources::Bitmap* bitmap);
  Resources::Bitmap* OnGetPointBitmap() { return pointBitmap_.get(); }

  // Builds the pieces from the current points (see above) and redraws.
  // Fewer than 2 points give no line; divisions below 1 are logged and count as 1.
  void CreateCurve(int32_t divisions);

  // The polyline built by CreateCurve: piece i runs from vertex i to i + 1.
  const std::vector<kv::Point>& GetVertices() const { return vertices_; }

  void Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) override;

 private:
  std::vector<kv::Point> points_;
  std::vector<kv::Point> vertices_;
  // Linear curves are drawn with point marks; the marks belong to the curve as built.
  bool builtLinear_ = false;
  bool linear_ = false;
  uint32_t color_ = 0;
  kv::Member<Resources::Bitmap> pointBitmap_;
};

}  // namespace Curves
