#include "ge/blit.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <vector>

#include "ge/rows.h"

namespace ge {
namespace {

int32_t Clamp32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// The visible destination rectangle of a 1:1 transfer: inside the clip, the
// destination, the w x h destination rectangle and the image of the source
// surface. Returns false when nothing is visible.
bool Visible1to1(const Surface& dst, const Rect& clip, const Surface& src, int32_t dx, int32_t dy,
                 int32_t sx, int32_t sy, int32_t w, int32_t h, Rect& v) {
  const int64_t ox = int64_t{dx} - sx, oy = int64_t{dy} - sy;
  const Rect srcInDst{Clamp32(ox), Clamp32(oy), Clamp32(ox + src.width), Clamp32(oy + src.height)};
  v = rows::Visible(dst, clip, rows::RectAt(dx, dy, w, h)).Intersect(srcInDst);
  return !v.IsEmpty() && src.pixels != nullptr;
}

const uint32_t* SourceAt(const Surface& src, const Rect& v, int32_t dx, int32_t dy, int32_t sx, int32_t sy,
                         int32_t y) {
  return src.Row(static_cast<int32_t>(int64_t{y} - dy + sy)) + (int64_t{v.x1} - dx + sx);
}

// A buffer of n elements on the stack when small, else on the heap.
template <typename T, size_t N>
class Scratch {
 public:
  explicit Scratch(size_t n) {
    if (n > N) heap_.resize(n);
  }
  T* Data() { return heap_.empty() ? local_ : heap_.data(); }

 private:
  T local_[N];
  std::vector<T> heap_;
};

// Nearest-neighbour sampling along one axis: destination pixel k of a span
// of dn pixels takes source pixel s0 + ceil((2k + 1) * sn / (2 dn)) - 1, that
// is the pixel under the destination pixel's centre, the lower one on a tie.
class Sampler {
 public:
  Sampler(int64_t first, int64_t dn, int64_t sn, int64_t s0) : den_(2 * dn), s0_(s0) {
    const int64_t num = (2 * first + 1) * sn - 1;
    q_ = num / den_;
    r_ = num % den_;
    stepQ_ = (2 * sn) / den_;
    stepR_ = (2 * sn) % den_;
  }
  int64_t Index() const { return s0_ + q_; }
  void Next() {
    q_ += stepQ_;
    r_ += stepR_;
    if (r_ >= den_) {
      r_ -= den_;
      ++q_;
    }
  }

 private:
  int64_t den_, s0_, q_, r_, stepQ_, stepR_;
};

// Sizes beyond this draw nothing: they keep the sampling arithmetic in range.
constexpr int32_t kMaxScaleSize = 1 << 24;

}  // namespace

void GenCopyBitmap(const Surface& dst, const Rect& clip, const Surface& src, int32_t dx, int32_t dy,
                   int32_t sx, int32_t sy, int32_t w, int32_t h) {
  Rect v;
  if (!Visible1to1(dst, clip, src, dx, dy, sx, sy, w, h, v)) return;
  const size_t bytes = sizeof(uint32_t) * static_cast<size_t>(v.W());
  // Copy rows bottom-up when the destination lies after the source in
  // memory, so that an overlapping source row is read before it is written.
  const bool upward = std::less<const uint32_t*>()(SourceAt(src, v, dx, dy, sx, sy, v.y1), dst.Row(v.y1) + v.x1);
  for (int32_t i = 0; i < v.H(); ++i) {
    const int32_t y = upward ? v.y2 - 1 - i : v.y1 + i;
    std::memmove(dst.Row(y) + v.x1, SourceAt(src, v, dx, dy, sx, sy, y), bytes);
  }
}

void GenBlendBitmap(const Surface& dst, const Rect& clip, const Surface& src, int32_t dx, int32_t dy,
                    int32_t sx, int32_t sy, int32_t w, int32_t h, uint8_t opacity) {
  Rect v;
  if (opacity == 0 || !Visible1to1(dst, clip, src, dx, dy, sx, sy, w, h, v)) return;
  for (int32_t y = v.y1; y < v.y2; ++y) {
    uint32_t* d = dst.Row(y) + v.x1;
    const uint32_t* s = SourceAt(src, v, dx, dy, sx, sy, y);
    if (opacity == 255) {
      rows::Blend(d, s, v.W());
    } else {
      rows::BlendOpacity(d, s, v.W(), opacity);
    }
  }
}

void GenScaleBitmap(const Surface& dst, const Rect& clip, const Surface& src, int32_t dx, int32_t dy,
                    int32_t dw, int32_t dh, int32_t sx, int32_t sy, int32_t sw, int32_t sh, bool blend,
                    uint8_t opacity) {
  if (blend && opacity == 0) return;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  if (dw > kMaxScaleSize || dh > kMaxScaleSize || sw > kMaxScaleSize || sh > kMaxScaleSize) return;
  if (dw == sw && dh == sh) {
    if (blend) return GenBlendBitmap(dst, clip, src, dx, dy, sx, sy, dw, dh, opacity);
    return GenCopyBitmap(dst, clip, src, dx, dy, sx, sy, dw, dh);
  }
  const Rect v = rows::Visible(dst, clip, rows::RectAt(dx, dy, dw, dh));
  if (v.IsEmpty() || src.pixels == nullptr) return;

  // Source column of every visible destination column; the sampling is
  // monotonic, so the columns that fall inside the source form one run.
  Scratch<int32_t, 1024> columns(static_cast<size_t>(v.W()));
  int32_t* col = columns.Data();
  int32_t x1 = v.x1, n = 0;
  Sampler across(int64_t{v.x1} - dx, dw, sw, sx);
  for (int32_t x = v.x1; x < v.x2; ++x, across.Next()) {
    const int64_t c = across.Index();
    if (c < 0) {
      x1 = x + 1;
    } else if (c < src.width) {
      col[n++] = static_cast<int32_t>(c);
    }
  }
  if (n == 0) return;

  Scratch<uint32_t, 1024> scaled(blend ? static_cast<size_t>(n) : 0);
  uint32_t* row = scaled.Data();
  const uint32_t* previous = nullptr;  // the last destination row written (copy)
  int64_t lastSource = -1;
  Sampler down(int64_t{v.y1} - dy, dh, sh, sy);
  for (int32_t y = v.y1; y < v.y2; ++y, down.Next()) {
    const int64_t sy1 = down.Index();
    if (sy1 < 0 || sy1 >= src.height) continue;
    const uint32_t* s = src.Row(static_cast<int32_t>(sy1));
    uint32_t* d = dst.Row(y) + x1;
    if (!blend) {
      // Enlarged rows repeat: copy the row just drawn instead of sampling again.
      if (sy1 == lastSource && previous != nullptr) {
        std::memcpy(d, previous, sizeof(uint32_t) * static_cast<size_t>(n));
      } else {
        for (int32_t i = 0; i < n; ++i) d[i] = s[col[i]];
      }
      previous = d;
    } else {
      if (sy1 != lastSource) {
        for (int32_t i = 0; i < n; ++i) row[i] = s[col[i]];
      }
      if (opacity == 255) {
        rows::Blend(d, row, n);
      } else {
        rows::BlendOpacity(d, row, n, opacity);
      }
    }
    lastSource = sy1;
  }
}

}  // namespace ge
