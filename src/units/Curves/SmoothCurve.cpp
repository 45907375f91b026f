#include "units/Curves/SmoothCurve.h"

#include <algorithm>
#include <cmath>

#include "ge/blit.h"
#include "ge/wu_line.h"
#include "units/Core/Log.h"
#include "units/Resources/Bitmap.h"

namespace Curves {

KV_REGISTER_CLASS(Curves::SmoothCurve);

namespace {

struct Vec {
  double x = 0, y = 0;
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator*(Vec a, double k) { return {a.x * k, a.y * k}; }
Vec ToVec(kv::Point p) { return {static_cast<double>(p.x), static_cast<double>(p.y)}; }
kv::Point ToPoint(Vec v) {
  return {static_cast<int32_t>(std::lround(v.x)), static_cast<int32_t>(std::lround(v.y))};
}

Vec Quadratic(Vec p0, Vec q, Vec p1, double t) {
  const double u = 1 - t;
  return p0 * (u * u) + q * (2 * u * t) + p1 * (t * t);
}

Vec Cubic(Vec p0, Vec c0, Vec c1, Vec p1, double t) {
  const double u = 1 - t;
  return p0 * (u * u * u) + c0 * (3 * u * u * t) + c1 * (3 * u * t * t) + p1 * (t * t * t);
}

}  // namespace

SmoothCurve::SmoothCurve() = default;

void SmoothCurve::OnSetPointNum(int32_t count) {
  if (count < 0 || count > kMaxPoints) {
    Core::LogError("Curves::SmoothCurve: point count %i outside 0..%i", {count, kMaxPoints});
    count = std::clamp(count, 0, kMaxPoints);
  }
  points_.resize(static_cast<size_t>(count));
}

void SmoothCurve::SetPoint(int32_t index, int32_t x, int32_t y) {
  if (index < 0 || index >= static_cast<int32_t>(points_.size())) {
    Core::LogError("Curves::SmoothCurve: point %i outside the %i points", {index, OnGetPointNum()});
    return;
  }
  points_[static_cast<size_t>(index)] = {x, y};
}

kv::Point SmoothCurve::GetPoint(int32_t index) const {
  if (index < 0 || index >= static_cast<int32_t>(points_.size())) return {};
  return points_[static_cast<size_t>(index)];
}

void SmoothCurve::OnSetColor(uint32_t color) {
  if (color == color_) return;
  color_ = color;
  InvalidateView();
}

void SmoothCurve::OnSetPointBitmap(Resources::Bitmap* bitmap) {
  pointBitmap_ = bitmap;
  if (builtLinear_) InvalidateView();
}

void SmoothCurve::CreateCurve(int32_t divisions) {
  if (divisions < 1) {
    Core::LogError("Curves::SmoothCurve: %i divisions, using 1", {divisions});
    divisions = 1;
  }
  vertices_.clear();
  builtLinear_ = linear_;
  const size_t n = points_.size();
  if (n >= 2) {
    if (linear_) {
      vertices_ = points_;
    } else {
      // Tangent of each inner point: a sixth of the line between its neighbours
      // (the cubic's control points lie one tangent away from the point).
      std::vector<Vec> tangent(n);
      for (size_t i = 1; i + 1 < n; ++i) tangent[i] = (ToVec(points_[i + 1]) - ToVec(points_[i - 1])) * (1.0 / 6.0);
      vertices_.push_back(points_[0]);
      for (size_t i = 0; i + 1 < n; ++i) {
        const Vec p0 = ToVec(points_[i]);
        const Vec p1 = ToVec(points_[i + 1]);
        const bool first = i == 0;
        const bool last = i + 2 == n;
        for (int32_t k = 1; k <= divisions; ++k) {
          const double t = static_cast<double>(k) / divisions;
          Vec v;
          if (first && last) {
            v = p0 + (p1 - p0) * t;  // two points: a straight line
          } else if (first) {
            // Quadratic whose end tangent matches the next segment's start.
            v = Quadratic(p0, p1 - tangent[i + 1] * 1.5, p1, t);
          } else if (last) {
            v = Quadratic(p0, p0 + tangent[i] * 1.5, p1, t);
          } else {
            v = Cubic(p0, p0 + tangent[i], p1 - tangent[i + 1], p1, t);
          }
          vertices_.push_back(k == divisions ? points_[i + 1] : ToPoint(v));
        }
      }
    }
  }
  InvalidateView();
}

void SmoothCurve::Draw(const ge::Surface& target, const kv::Rect& clip, kv::Point origin, int32_t opacity) {
  const ge::Rect c = Core::ToGeRect(clip);
  const auto alpha = static_cast<uint8_t>(std::clamp(opacity, 0, 255));
  for (size_t i = 0; i + 1 < vertices_.size(); ++i) {
    const kv::Point a = vertices_[i] + origin;
    const kv::Point b = vertices_[i + 1] + origin;
    ge::GenWuLine(target, c, a.x, a.y, b.x, b.y, color_, alpha);
  }
  if (!builtLinear_ || !pointBitmap_ || !pointBitmap_->HasSurface()) return;
  const ge::Surface mark = pointBitmap_->GetFrameSurface(0);
  for (const kv::Point& p : vertices_) {
    const kv::Point at = p + origin;
    ge::GenBlendBitmap(target, c, mark, at.x - mark.width / 2, at.y - mark.height / 2, 0, 0, mark.width, mark.height,
                       alpha);
  }
}

}  // namespace Curves
