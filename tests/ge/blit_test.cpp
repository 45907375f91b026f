#include "ge/blit.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

#include "ge_test_util.h"

namespace ge {
namespace {

using test::GuardedSurface;
using test::Pixel;

// The opaque pixel with red x and green y, and a surface of them.
uint32_t Number(int64_t x, int64_t y) { return Pixel(static_cast<uint32_t>(x), static_cast<uint32_t>(y), 0, 255); }
GuardedSurface Numbered(int32_t w, int32_t h) {
  GuardedSurface s(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) s.At(x, y) = Number(x, y);
  return s;
}

TEST(Bitmap, StartsTransparentAndMoves) {
  Bitmap a(3, 2);
  for (int32_t i = 0; i < 6; ++i) ASSERT_EQ(a.Pixels()[i], 0u);
  a.Pixels()[5] = 42;
  Bitmap b = std::move(a);
  EXPECT_EQ(b.View().Row(1)[2], 42u);
  EXPECT_EQ(a.View().Bounds(), (Rect{}));  // a moved-from bitmap is empty
  EXPECT_EQ(Bitmap(-1, 5).View().Bounds(), (Rect{}));
}

// Destinations past every edge of the destination and the clip, and source
// rectangles past every edge of the source; transparent pixels are copied too.
TEST(CopyBitmap, ClipsToDestinationClipAndSource) {
  struct Case { int32_t dx, dy, sx, sy, w, h; };
  const Case cases[] = {{-2, 0, 0, 0, 6, 6}, {5, 3, 0, 0, 6, 6},  {0, -3, 0, 0, 6, 6}, {2, 2, -2, -1, 6, 6},
                        {0, 0, 4, 3, 6, 6},  {-50, -50, 0, 0, 6, 6}, {1, 1, 0, 0, INT32_MAX, INT32_MAX},
                        {INT32_MAX, 0, 0, 0, 5, 5}, {0, 0, INT32_MIN, 0, 5, 5}};
  const Rect clip{1, 0, 7, 5};
  for (const Case& c : cases) {
    GuardedSurface src = Numbered(6, 5);
    src.At(1, 1) = 0;
    GuardedSurface dst(8, 6, 7);
    GenCopyBitmap(dst.View(), clip, src.View(), c.dx, c.dy, c.sx, c.sy, c.w, c.h);
    ASSERT_TRUE(dst.GuardsIntact());
    for (int32_t y = 0; y < 6; ++y)
      for (int32_t x = 0; x < 8; ++x) {
        const int64_t sx = int64_t{x} - c.dx + c.sx, sy = int64_t{y} - c.dy + c.sy;
        const bool drawn = x >= 1 && x < 7 && y < 5 && x >= c.dx && y >= c.dy && x - int64_t{c.dx} < c.w &&
                           y - int64_t{c.dy} < c.h && sx >= 0 && sx < 6 && sy >= 0 && sy < 5;
        const uint32_t want = !drawn ? 7u : sx == 1 && sy == 1 ? 0u : Number(sx, sy);
        ASSERT_EQ(dst.At(x, y), want) << c.dx << "," << c.sx << " at " << x << "," << y;
      }
  }
}

TEST(CopyBitmap, OverlappingCopyWithinOneSurfaceScrolls) {
  for (const auto& [dx, dy] : {std::pair{0, 1}, std::pair{0, -1}, std::pair{2, 0}, std::pair{-2, 0}, std::pair{1, 1}}) {
    GuardedSurface s = Numbered(8, 6);
    GenCopyBitmap(s.View(), s.Bounds(), s.View(), 2 + dx, 2 + dy, 2, 2, 4, 3);
    for (int32_t y = 0; y < 3; ++y)
      for (int32_t x = 0; x < 4; ++x) ASSERT_EQ(s.At(2 + dx + x, 2 + dy + y), Number(2 + x, 2 + y)) << dx << "," << dy;
  }
}

TEST(BlendBitmap, OpacityScalesTheSource) {
  const uint32_t s0 = Pixel(100, 50, 0, 128), under = Pixel(0, 0, 200, 255);
  GuardedSurface src(1, 1, s0);
  for (uint32_t opacity : {255u, 128u, 1u, 0u}) {
    GuardedSurface dst(3, 1, under);
    GenBlendBitmap(dst.View(), dst.Bounds(), src.View(), 1, 0, 0, 0, 1, 1, static_cast<uint8_t>(opacity));
    EXPECT_EQ(dst.At(1, 0), test::RefOver(test::RefScale(s0, opacity), under)) << opacity;
    EXPECT_EQ(dst.At(0, 0), under);
    EXPECT_EQ(dst.At(2, 0), under);
  }
}

// Blends src (its left -dx columns cut off when dx < 0) at (dx, 0) with the
// opacity over a surface of its size whose pixel (x, y) is under(x, y):
// every pixel must be the source pixel over it, or under it where none is.
template <typename Under>
void ExpectBlendOver(const Surface& src, int32_t dx, uint8_t opacity, Under under) {
  GuardedSurface dst(src.width, src.height);
  for (int32_t y = 0; y < src.height; ++y)
    for (int32_t x = 0; x < src.width; ++x) dst.At(x, y) = under(x, y);
  GenBlendBitmap(dst.View(), dst.Bounds(), src, dx, 0, 0, 0, src.width, src.height, opacity);
  for (int32_t y = 0; y < src.height; ++y)
    for (int32_t x = 0; x < src.width; ++x) {
      const int32_t sx = x - dx;
      const uint32_t want = sx < src.width ? test::RefOver(test::RefScale(src.Row(y)[sx], opacity), under(x, y))
                                           : under(x, y);
      ASSERT_EQ(dst.At(x, y), want) << x << "," << y << " dx " << dx << " opacity " << int{opacity};
    }
  EXPECT_TRUE(dst.GuardsIntact());
}

// A bitmap blended over rows of one colour each (an icon on a list row) is
// remembered with the pixels it gave and copied when blended again over the
// same colours. Blended again and again: over the same gradient, over one
// differing in a single row, after its pixels changed in place, over a row
// that varies across, cut at the left edge, at a lower opacity, and after
// many other bitmaps made room. Every time it must be the blend of what it
// is drawn over now. Sources whose rows lie one after another and sources
// whose rows are further apart.
TEST(BlendBitmap, ABoxDrawnAgainBlendsWithWhatItIsDrawnOverNow) {
  constexpr int32_t kW = 13, kH = 10;
  const auto gradient = [](int32_t, int32_t y) {
    if (y == 5) return Pixel(30, 20, 10, 128);  // a translucent row
    return Pixel(static_cast<uint32_t>(10 + 9 * y), static_cast<uint32_t>(200 - 7 * y), 40, 255);
  };
  Bitmap plain(kW, kH);
  GuardedSurface padded(kW, kH);
  for (const Surface& src : {plain.View(), padded.View()}) {
    uint32_t seed = 11;
    for (int32_t y = 0; y < kH; ++y)
      for (int32_t x = 0; x < kW; ++x) src.Row(y)[x] = x == 0 ? 0u : test::RandomPremultiplied(seed);
    src.Row(2)[3] = Pixel(200, 100, 0, 255);  // opaque
    ExpectBlendOver(src, 0, 255, gradient);
    ExpectBlendOver(src, 0, 255, gradient);
    ExpectBlendOver(src, 0, 255, [&](int32_t x, int32_t y) { return y == 6 ? Pixel(1, 2, 3, 255) : gradient(x, y); });
    src.Row(4)[7] = Pixel(0, 90, 10, 90);  // another bitmap in the same memory
    ExpectBlendOver(src, 0, 255, gradient);
    // Row 3 starts in the gradient's colour and varies further on.
    ExpectBlendOver(src, 0, 255, [&](int32_t x, int32_t y) {
      return y == 3 && x >= 5 ? Pixel(static_cast<uint32_t>(20 * x), 0, 0, 255) : gradient(x, y);
    });

    // Cut at the left edge: the box blended is the source's right kW - 3 columns.
    ExpectBlendOver(src, -3, 255, gradient);
    ExpectBlendOver(src, -3, 255, gradient);
    src.Row(8)[9] = Pixel(5, 6, 7, 8);
    ExpectBlendOver(src, -3, 255, gradient);

    // Below full opacity the source is scaled first, however often it was drawn at full.
    ExpectBlendOver(src, 0, 128, gradient);
    ExpectBlendOver(src, 0, 128, gradient);

    // Far more boxes than are kept, then the first again.
    std::vector<Bitmap> others;
    for (int32_t n = 0; n < 120; ++n) {
      others.emplace_back(40, 40);
      for (int32_t i = 0; i < 40 * 40; ++i) others.back().Pixels()[i] = test::RandomPremultiplied(seed);
      ExpectBlendOver(others.back().View(), 0, 255, gradient);
    }
    ExpectBlendOver(src, 0, 255, gradient);
  }
}

TEST(ScaleBitmap, NearestNeighbourSamplesPixelCentres) {
  GuardedSurface src = Numbered(6, 4);
  GuardedSurface up(12, 8), down(3, 2), odd(4, 3);
  GenScaleBitmap(up.View(), up.Bounds(), src.View(), 0, 0, 12, 8, 0, 0, 6, 4, false, 255);
  GenScaleBitmap(down.View(), down.Bounds(), src.View(), 0, 0, 3, 2, 0, 0, 6, 4, false, 255);
  GenScaleBitmap(odd.View(), odd.Bounds(), src.View(), 0, 0, 4, 3, 1, 0, 5, 4, false, 255);
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 12; ++x) ASSERT_EQ(up.At(x, y), Number(x / 2, y / 2)) << x << "," << y;
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x) ASSERT_EQ(down.At(x, y), Number(2 * x, 2 * y)) << x << "," << y;
  // Columns 1-5 onto 4: centres at 0.625, 1.875, 3.125, 4.375 from column 1;
  // 4 rows onto 3: centres at 0.67, 2 (a border: the upper row), 3.33.
  const int32_t cols[] = {1, 2, 4, 5}, lines[] = {0, 1, 3};
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 4; ++x) ASSERT_EQ(odd.At(x, y), Number(cols[x], lines[y])) << x << "," << y;
  EXPECT_TRUE(up.GuardsIntact() && down.GuardsIntact() && odd.GuardsIntact());
}

// Reductions by a whole factor, copied and blended, whole and clipped.
TEST(ScaleBitmap, WholeFactorReductionsTakeEveryKthPixel) {
  GuardedSurface src = Numbered(24, 12);
  for (int32_t k : {2, 3, 4})
    for (bool blend : {false, true}) {
      const int32_t w = 24 / k, h = 12 / k;
      GuardedSurface dst(w + 2, h + 2);
      const Rect clip{2, 1, w + 1, h + 1};  // the first column and row are cut off
      GenScaleBitmap(dst.View(), clip, src.View(), 1, 1, w, h, 0, 0, 24, 12, blend, 255);
      for (int32_t y = 0; y < h + 2; ++y)
        for (int32_t x = 0; x < w + 2; ++x) {
          const bool in = x >= clip.x1 && x < clip.x2 && y >= clip.y1 && y < clip.y2;
          const uint32_t want = in ? Number(k * (x - 1) + (k - 1) / 2, k * (y - 1) + (k - 1) / 2) : 0u;
          ASSERT_EQ(dst.At(x, y), want) << "k " << k << " blend " << blend << " at " << x << "," << y;
        }
      EXPECT_TRUE(dst.GuardsIntact());
    }
}

// Copy (opacity ignored), blend, blend with opacity, and nothing at opacity 0,
// stretched and at the same size.
TEST(ScaleBitmap, BlendAndOpacityCases) {
  const uint32_t s0 = Pixel(60, 0, 60, 120), under = Pixel(0, 200, 0, 255);
  GuardedSurface src(2, 2, s0);
  struct Case { bool blend; uint8_t opacity; uint32_t want; };
  const Case cases[] = {{false, 0, s0},
                        {false, 90, s0},
                        {true, 255, test::RefOver(s0, under)},
                        {true, 90, test::RefOver(test::RefScale(s0, 90), under)},
                        {true, 0, under}};
  for (const Case& c : cases)
    for (int32_t size : {2, 5}) {
      GuardedSurface dst(8, 8, under);
      GenScaleBitmap(dst.View(), dst.Bounds(), src.View(), 1, 1, size, size, 0, 0, 2, 2, c.blend, c.opacity);
      EXPECT_EQ(dst.At(1, 1), c.want) << c.blend << " " << int{c.opacity} << " size " << size;
      EXPECT_EQ(dst.At(size, size), c.want);
      EXPECT_EQ(dst.At(0, 0), under);
      EXPECT_EQ(dst.At(size + 1, 1), under);
    }
}

TEST(ScaleBitmap, ClippingKeepsTheMappingAndOnlyTheSourceIsRead) {
  GuardedSurface src = Numbered(10, 10);
  for (bool blend : {false, true}) {
    GuardedSurface whole(40, 30), part(40, 30);
    const Rect clip{5, 4, 31, 17};
    GenScaleBitmap(whole.View(), whole.Bounds(), src.View(), -7, -3, 53, 37, 1, 2, 7, 6, blend, 255);
    GenScaleBitmap(part.View(), clip, src.View(), -7, -3, 53, 37, 1, 2, 7, 6, blend, 255);
    for (int32_t y = 0; y < 30; ++y)
      for (int32_t x = 0; x < 40; ++x) {
        const bool in = x >= clip.x1 && x < clip.x2 && y >= clip.y1 && y < clip.y2;
        ASSERT_EQ(part.At(x, y), in ? whole.At(x, y) : 0u) << x << "," << y;
      }
    EXPECT_TRUE(part.GuardsIntact());
  }
  // A source rectangle reaching past the source: what would sample outside stays untouched.
  GuardedSurface dst(20, 20);
  GenScaleBitmap(dst.View(), dst.Bounds(), src.View(), 0, 0, 20, 20, -5, 5, 10, 10, false, 255);
  for (int32_t y = 0; y < 20; ++y)
    for (int32_t x = 0; x < 20; ++x) {
      const int32_t sx = -5 + x / 2, sy = 5 + y / 2;
      ASSERT_EQ(dst.At(x, y), sx >= 0 && sy < 10 ? Number(sx, sy) : 0u) << x << "," << y;
    }
  for (const auto& [dw, sw] : {std::pair{0, 4}, std::pair{-4, 4}, std::pair{8, 0}, std::pair{8, -1}})
    GenScaleBitmap(dst.View(), dst.Bounds(), src.View(), 0, 0, dw, 8, 0, 0, sw, 4, false, 255);
  EXPECT_EQ(dst.At(0, 0), 0u);  // empty sizes draw nothing
  EXPECT_TRUE(dst.GuardsIntact());
}

}  // namespace
}  // namespace ge
