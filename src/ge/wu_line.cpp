#include "ge/wu_line.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace ge {
namespace {

class Plotter {
 public:
  Plotter(const Surface& dst, const Rect& visible, uint32_t colour, bool steep)
      : dst_(dst), visible_(visible), colour_(colour), steep_(steep) {}

  // Draws the colour scaled by `weight` at (major, minor).
  void Plot(int64_t major, int64_t minor, uint32_t weight) const {
    if (weight == 0) return;
    const int64_t x = steep_ ? minor : major, y = steep_ ? major : minor;
    if (x < visible_.x1 || x >= visible_.x2 || y < visible_.y1 || y >= visible_.y2) return;
    uint32_t* d = dst_.Row(static_cast<int32_t>(y)) + x;
    *d = Over(MulPixel(colour_, weight), *d);
  }

 private:
  const Surface& dst_;
  Rect visible_;
  uint32_t colour_;
  bool steep_;
};

}  // namespace

void GenWuLine(const Surface& dst, const Rect& clip, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
               uint32_t colour, uint8_t opacity) {
  const Rect visible = dst.Bounds().Intersect(clip);
  const uint32_t c = MulPixel(Premultiply(colour), opacity);
  if (visible.IsEmpty() || c == 0) return;

  int64_t major0 = x0, minor0 = y0, major1 = x1, minor1 = y1;
  const bool steep = std::llabs(int64_t{y1} - y0) > std::llabs(int64_t{x1} - x0);
  if (steep) {
    std::swap(major0, minor0);
    std::swap(major1, minor1);
  }
  if (major0 > major1) {
    std::swap(major0, major1);
    std::swap(minor0, minor1);
  }
  const Plotter plotter(dst, visible, c, steep);
  const int64_t run = major1 - major0;
  if (run == 0) return plotter.Plot(major0, minor0, 255);
  const int64_t rise = std::llabs(minor1 - minor0);
  const int64_t dir = minor1 < minor0 ? -1 : 1;

  // At step k the exact line is q + r / run pixels from minor0 (q whole
  // pixels, remainder r). The nearer pixel gets the larger share; the shares
  // are computed alike from both ends, so the line is symmetric.
  const auto share = [run](int64_t r) { return static_cast<uint32_t>((510 * r + run) / (2 * run)); };
  // Only the steps inside the visible columns (rows for steep lines) matter.
  const int64_t lo = steep ? visible.y1 : visible.x1, hi = steep ? visible.y2 : visible.x2;
  const int64_t first = std::max<int64_t>(0, lo - major0), last = std::min<int64_t>(run, hi - 1 - major0);
  int64_t q = rise * first / run, r = rise * first % run;
  for (int64_t k = first; k <= last; ++k) {
    const int64_t m = minor0 + dir * q;
    plotter.Plot(major0 + k, m, share(run - r));
    plotter.Plot(major0 + k, m + dir, share(r));
    r += rise;
    q += r / run;
    r %= run;
  }
}

}  // namespace ge
