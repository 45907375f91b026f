#include "ge/blit.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <span>
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
  T* Data() { return (heap_.empty() ? local_ : heap_.data()) + offset_; }
  // Drops the first n elements.
  void Advance(size_t n) { offset_ += n; }

 private:
  T local_[N];
  std::vector<T> heap_;
  size_t offset_ = 0;
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
  if (opacity == 255) {
    return rows::BlendBox(dst.Row(v.y1) + v.x1, dst.stride, SourceAt(src, v, dx, dy, sx, sy, v.y1), src.stride,
                          v.W(), v.H());
  }
  for (int32_t y = v.y1; y < v.y2; ++y) {
    rows::BlendOpacity(dst.Row(y) + v.x1, SourceAt(src, v, dx, dy, sx, sy, y), v.W(), opacity);
  }
}

namespace {

// Runs of one colour at least this long are drawn as one colour when a
// stretched row is split (shorter ones are not worth a separate call).
constexpr int32_t kSolidRun = 16;
// A stretch is split into runs of one colour when every source pixel looked
// at covers at least this many destination pixels on average.
constexpr int64_t kSplitStretch = 8;

// A piece of a stretch along one axis: destination pixels [d0, d0 + dn)
// take source pixels [s0, s0 + sn). A whole stretch is one piece; a
// nine-slice bitmap is three along each axis.
struct Piece {
  int64_t d0 = 0, dn = 0, s0 = 0, sn = 0;
  // Pieces empty in the destination or the source, or too large, draw nothing.
  bool Draws() const { return dn > 0 && sn > 0 && dn <= kMaxScaleSize && sn <= kMaxScaleSize; }
};

// The columns of a stretch: the source column of each visible destination
// column, from x1 on (-1 where a piece draws nothing), and the runs of
// destination columns that take the same source column.
class Columns {
 public:
  // The pieces follow one another along the row and do not overlap.
  Columns(const Surface& src, const Rect& v, std::span<const Piece> pieces)
      : x1_(v.x1), col_(static_cast<size_t>(v.W())), start_(static_cast<size_t>(v.W()) + 1),
        runCol_(static_cast<size_t>(v.W())) {
    int32_t* col = col_.Data();
    std::fill_n(col, v.W(), -1);
    for (const Piece& p : pieces) {
      if (!p.Draws()) continue;
      const int64_t lo = std::max<int64_t>(v.x1, p.d0), hi = std::min<int64_t>(v.x2, p.d0 + p.dn);
      Sampler across(lo - p.d0, p.dn, p.sn, p.s0);
      for (int64_t x = lo; x < hi; ++x, across.Next()) {
        const int64_t c = across.Index();
        if (c >= 0 && c < src.width) col[x - v.x1] = static_cast<int32_t>(c);
      }
    }
    // The columns drawn, without those that draw nothing at either end.
    int32_t first = 0, last = v.W();
    while (first < last && col[first] < 0) ++first;
    while (last > first && col[last - 1] < 0) --last;
    x1_ = v.x1 + first;
    n_ = last - first;
    col_.Advance(static_cast<size_t>(first));
    col = col_.Data();
    int32_t* start = start_.Data();
    int32_t* rc = runCol_.Data();
    for (int32_t i = 0; i < n_; ++i) {
      if (i == 0 || col[i] != col[i - 1]) {
        start[runs_] = i;
        rc[runs_++] = col[i];
      }
      if (col[i] < 0) gaps_ = true;
    }
    start[runs_] = n_;
    direct_ = n_ > 0 && !gaps_ && runs_ == n_ && col[n_ - 1] - col[0] == n_ - 1;
    // A reduction by a whole factor: every k-th source column.
    if (!gaps_ && runs_ == n_ && n_ >= 2 && col[1] - col[0] >= 2) {
      const int32_t k = col[1] - col[0];
      bool regular = true;
      for (int32_t i = 2; regular && i < n_; ++i) regular = col[i] - col[i - 1] == k;
      if (regular) step_ = k;
    }
    // An enlargement by a whole factor: the source columns follow one
    // another, each repeated `repeat_` times (the first and last may be cut).
    if (!gaps_ && runs_ >= 3 && start[2] - start[1] >= 2) {
      const int32_t k = start[2] - start[1];
      bool regular = start[1] <= k && n_ - start[runs_ - 1] <= k;
      for (int32_t r = 1; regular && r < runs_; ++r)
        regular = rc[r] == rc[r - 1] + 1 && (r == runs_ - 1 || start[r + 1] - start[r] == k);
      if (regular) repeat_ = k;
    }
  }

  int32_t X1() const { return x1_; }  // the first destination column drawn
  int32_t N() const { return n_; }    // the destination columns from there to the last drawn
  int32_t Runs() const { return runs_; }
  const int32_t* Col() { return col_.Data(); }
  const int32_t* RunStart() { return start_.Data(); }
  const int32_t* RunCol() { return runCol_.Data(); }
  // True when some columns between the first and the last draw nothing.
  bool Gaps() const { return gaps_; }
  // True when the columns are the source's own, unscaled.
  bool Direct() const { return direct_; }

  // Writes the pixels of source row s that destination columns [b, e) take
  // (nothing where a column takes none).
  void Sample(uint32_t* d, const uint32_t* s, int32_t b, int32_t e) {
    const int32_t* col = col_.Data();
    if (direct_) {
      std::memcpy(d + b, s + col[b], sizeof(uint32_t) * static_cast<size_t>(e - b));
    } else if (step_ > 0) {
      Every(d + b, s + col[b], e - b, step_);
    } else if (repeat_ > 0 && b == 0 && e == n_) {
      const int32_t* start = start_.Data();
      const int32_t* rc = runCol_.Data();
      std::fill_n(d, start[1], s[rc[0]]);
      Repeat(d + start[1], s + rc[1], runs_ - 2, repeat_);
      std::fill_n(d + start[runs_ - 1], n_ - start[runs_ - 1], s[rc[runs_ - 1]]);
    } else if (!gaps_) {
      for (int32_t i = b; i < e; ++i) d[i] = s[col[i]];
    } else {
      for (int32_t i = b; i < e; ++i)
        if (col[i] >= 0) d[i] = s[col[i]];
    }
  }

 private:
  // Every k-th pixel of s, `count` of them; the loop without the table of
  // columns lets the compiler keep it in registers (and, for halving, in
  // vector registers).
  static void Every(uint32_t* d, const uint32_t* s, int32_t count, int32_t k) {
    if (k == 2) {
      for (int32_t i = 0; i < count; ++i) d[i] = s[2 * i];
    } else {
      for (int32_t i = 0; i < count; ++i) d[i] = s[i * k];
    }
  }

  // Each of `count` pixels of s written k times in a row.
  static void Repeat(uint32_t* d, const uint32_t* s, int32_t count, int32_t k) {
    if (k == 2) {
      for (int32_t q = 0; q < count; ++q) d[2 * q] = d[2 * q + 1] = s[q];
    } else {
      for (int32_t q = 0; q < count; ++q)
        for (int32_t r = 0; r < k; ++r) d[q * k + r] = s[q];
    }
  }

  int32_t x1_ = 0, n_ = 0, runs_ = 0, repeat_ = 0, step_ = 0;
  bool gaps_ = false, direct_ = false;
  Scratch<int32_t, 1024> col_, start_, runCol_;
};

// A part of a stretched row: either one colour (already scaled by the
// opacity) or pixels of the sampled row, with the AND and the OR of them
// (wholly opaque or wholly transparent parts need no blending).
struct Segment {
  int32_t begin, end;
  bool solid;
  uint32_t colour;
  uint32_t all, any;
};

// The blend of a stretched bitmap, source row by source row: each source
// row is sampled (and scaled by the opacity) once for all the destination
// rows that repeat it.
class ScaledBlend {
 public:
  // dh and sh: the destination and source rows of the stretch.
  ScaledBlend(Columns& columns, int64_t dh, int64_t sh, uint8_t opacity)
      : columns_(columns), n_(columns.N()), opacity_(opacity), row_(static_cast<size_t>(columns.N())),
        split_(int64_t{n_} * dh >= kSplitStretch * columns.Runs() * sh),
        segments_(split_ || columns.Gaps() ? static_cast<size_t>(columns.Runs()) : 1) {}

  // Makes the source row `s` the one drawn.
  void Sample(const uint32_t* s) {
    count_ = 0;
    // Unscaled across and at full opacity the source row is drawn as it is.
    sampled_ = columns_.Direct() && opacity_ == 255 ? s + columns_.Col()[0] : row_.Data();
    if (!split_ && !columns_.Gaps()) {
      AddPixels(s, 0, n_);
      return;
    }
    const int32_t* start = columns_.RunStart();
    const int32_t* rc = columns_.RunCol();
    const int32_t runs = columns_.Runs();
    for (int32_t r = 0; r < runs;) {
      if (rc[r] < 0) {  // nothing drawn there
        ++r;
        continue;
      }
      const uint32_t p = s[rc[r]];
      int32_t e = r + 1;
      while (split_ && e < runs && rc[e] >= 0 && s[rc[e]] == p) ++e;
      if (split_ && start[e] - start[r] >= kSolidRun) {
        segments_.Data()[count_++] = {start[r], start[e], true, opacity_ == 255 ? p : MulPixel(p, opacity_), 0, 0};
      } else {
        AddPixels(s, start[r], start[e]);
      }
      r = e;
    }
  }

  // Draws the sampled row over the n pixels at d.
  void Draw(uint32_t* d) {
    for (int32_t i = 0; i < count_; ++i) {
      const Segment& g = segments_.Data()[i];
      const int32_t len = g.end - g.begin;
      if (!g.solid) {
        if ((g.all >> 24) == 255) {
          std::memcpy(d + g.begin, sampled_ + g.begin, sizeof(uint32_t) * static_cast<size_t>(len));
        } else if (g.any != 0) {
          rows::Blend(d + g.begin, sampled_ + g.begin, len);
        }
      } else if ((g.colour >> 24) == 255) {
        rows::Fill(d + g.begin, len, g.colour);
      } else if (g.colour != 0) {
        rows::BlendSolid(d + g.begin, len, g.colour);
      }
    }
  }

 private:
  // Destination columns [b, e) drawn from the sampled row, joined to the
  // segment before when that one ends at b and is not of one colour.
  void AddPixels(const uint32_t* s, int32_t b, int32_t e) {
    Segment* segments = segments_.Data();
    if (count_ == 0 || segments[count_ - 1].solid || segments[count_ - 1].end != b)
      segments[count_++] = {b, b, false, 0, 0xffffffffu, 0};
    Segment& g = segments[count_ - 1];
    g.end = e;
    if (sampled_ == row_.Data()) {
      columns_.Sample(row_.Data(), s, b, e);
      if (opacity_ != 255) rows::Scale(row_.Data() + b, row_.Data() + b, e - b, opacity_);
    }
    uint32_t all = g.all, any = g.any;
    for (int32_t i = b; i < e; ++i) {
      all &= sampled_[i];
      any |= sampled_[i];
    }
    g.all = all;
    g.any = any;
  }

  Columns& columns_;
  int32_t n_;
  uint8_t opacity_;
  Scratch<uint32_t, 1024> row_;
  bool split_;
  Scratch<Segment, 64> segments_;  // at most one a run of columns
  int32_t count_ = 0;
  const uint32_t* sampled_ = nullptr;
};

// Calls f(y, sy) for every visible destination row y that takes source
// row sy, piece by piece down the rows.
template <typename F>
void ForEachRow(const Surface& src, const Rect& v, std::span<const Piece> down, F f) {
  for (const Piece& p : down) {
    if (!p.Draws()) continue;
    const int64_t lo = std::max<int64_t>(v.y1, p.d0), hi = std::min<int64_t>(v.y2, p.d0 + p.dn);
    if (lo >= hi) continue;
    Sampler rows(lo - p.d0, p.dn, p.sn, p.s0);
    for (int64_t y = lo; y < hi; ++y, rows.Next()) {
      const int64_t sy = rows.Index();
      if (sy >= 0 && sy < src.height) f(static_cast<int32_t>(y), static_cast<int32_t>(sy));
    }
  }
}

// Draws the stretch of src given by the column and row pieces into the
// visible rectangle v: copied, or blended with the opacity.
void DrawScaled(const Surface& dst, const Rect& v, const Surface& src, std::span<const Piece> across,
                std::span<const Piece> down, bool blend, uint8_t opacity) {
  if (v.IsEmpty() || src.pixels == nullptr) return;
  Columns columns(src, v, across);
  const int32_t x1 = columns.X1(), n = columns.N();
  if (n == 0) return;
  int32_t lastSource = -1;
  if (blend) {
    int64_t dh = 0, sh = 0;
    for (const Piece& p : down) {
      if (p.Draws()) {
        dh += p.dn;
        sh += p.sn;
      }
    }
    ScaledBlend row(columns, dh, sh, opacity);
    ForEachRow(src, v, down, [&](int32_t y, int32_t sy) {
      if (sy != lastSource) row.Sample(src.Row(sy));
      row.Draw(dst.Row(y) + x1);
      lastSource = sy;
    });
    return;
  }
  const uint32_t* previous = nullptr;  // the last destination row written
  ForEachRow(src, v, down, [&](int32_t y, int32_t sy) {
    uint32_t* d = dst.Row(y) + x1;
    // Enlarged rows repeat: copy the row just drawn instead of sampling again.
    if (sy == lastSource && previous != nullptr && !columns.Gaps()) {
      std::memcpy(d, previous, sizeof(uint32_t) * static_cast<size_t>(n));
    } else {
      columns.Sample(d, src.Row(sy), 0, n);
    }
    previous = d;
    lastSource = sy;
  });
}

}  // namespace

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
  const Piece across{dx, dw, sx, sw}, down{dy, dh, sy, sh};
  DrawScaled(dst, rows::Visible(dst, clip, rows::RectAt(dx, dy, dw, dh)), src, {&across, 1}, {&down, 1}, blend,
             opacity);
}

void GenBlendNineSlice(const Surface& dst, const Rect& clip, const Surface& src, const int32_t dx[4],
                       const int32_t dy[4], const int32_t sx[4], const int32_t sy[4], uint8_t opacity) {
  if (opacity == 0) return;
  Piece across[3], down[3];
  for (int i = 0; i < 3; ++i) {
    across[i] = {dx[i], int64_t{dx[i + 1]} - dx[i], sx[i], int64_t{sx[i + 1]} - sx[i]};
    down[i] = {dy[i], int64_t{dy[i + 1]} - dy[i], sy[i], int64_t{sy[i + 1]} - sy[i]};
  }
  DrawScaled(dst, rows::Visible(dst, clip, {dx[0], dy[0], dx[3], dy[3]}), src, across, down, true, opacity);
}

}  // namespace ge
