#include "ge/fill.h"

#include <gtest/gtest.h>

#include <climits>

#include "ge/rows.h"
#include "ge_test_util.h"

namespace ge {
namespace {

using test::Chan;
using test::GuardedSurface;
using test::Pixel;

TEST(Arithmetic, ProductsRoundExactly) {
  for (uint32_t a = 0; a < 256; ++a)
    for (uint32_t b = 0; b < 256; ++b) ASSERT_EQ(Mul8(a, b), (a * b * 2 + 255) / 510) << a << " * " << b;
  uint32_t seed = 7;
  for (int i = 0; i < 20000; ++i) {
    seed = seed * 1664525u + 1013904223u;
    ASSERT_EQ(MulPixel(seed, seed >> 24), test::RefScale(seed, seed >> 24));
  }
  EXPECT_EQ(Premultiply(Pixel(200, 100, 50, 255)), Pixel(200, 100, 50, 255));
  EXPECT_EQ(Premultiply(Pixel(255, 128, 1, 128)), Pixel(128, 64, 1, 128));
  EXPECT_EQ(Premultiply(Pixel(200, 100, 50, 0)), 0u);
}

// The row kernels against the reference, for lengths around their chunk
// size and for wholly opaque or transparent stretches.
TEST(RowKernels, BlendsMatchReference) {
  uint32_t seed = 1;
  const uint32_t c = Premultiply(0x80c04020u);
  for (int32_t n : {1, 3, 17, 127, 128, 129, 300}) {
    for (int kind = 0; kind < 3; ++kind) {
      std::vector<uint32_t> s(static_cast<size_t>(n)), d(s.size());
      for (size_t i = 0; i < s.size(); ++i) {
        s[i] = test::RandomPremultiplied(seed);
        if (kind == 1) s[i] |= 0xff000000u;
        if (kind == 2 && i < 200) s[i] = 0;
        d[i] = test::RandomPremultiplied(seed);
      }
      std::vector<uint32_t> plain = d, scaled = d, solid = d;
      rows::Blend(plain.data(), s.data(), n);
      rows::BlendOpacity(scaled.data(), s.data(), n, 77);
      rows::BlendSolid(solid.data(), n, c);
      for (size_t i = 0; i < s.size(); ++i) {
        ASSERT_EQ(plain[i], test::RefOver(s[i], d[i])) << n << " " << i;
        ASSERT_EQ(scaled[i], test::RefOver(test::RefScale(s[i], 77), d[i])) << n << " " << i;
        ASSERT_EQ(solid[i], test::RefOver(c, d[i])) << n << " " << i;
      }
    }
  }
}

// Blend works on groups of pixels: every source alpha over destinations of
// any channel values must give Over of each pixel alone, for every short
// length and start, and over a long row whose groups are transparent,
// opaque, translucent or mixed; nothing past the row is written.
TEST(RowKernels, BlendEqualsOverPixelByPixel) {
  constexpr uint32_t kOutside = 0x5a5a5a5au;
  uint32_t seed = 3;
  const auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  // A premultiplied source pixel of alpha a whose channels span 0..a.
  const auto source = [&next](uint32_t a) {
    const uint32_t r = next();
    return Pixel(Mul8(r & 0xff, a), Mul8((r >> 8) & 0xff, a), (r >> 16) % 3 == 0 ? a : Mul8((r >> 16) & 0xff, a), a);
  };
  // Blends s over d placed at `start` in a buffer with pixels on both sides.
  const auto check = [&](const std::vector<uint32_t>& s, const std::vector<uint32_t>& d, int32_t start) {
    std::vector<uint32_t> buffer(d.size() + static_cast<size_t>(start) + 8, kOutside), from(buffer.size(), 0);
    std::copy(d.begin(), d.end(), buffer.begin() + start);
    std::copy(s.begin(), s.end(), from.begin() + start);
    rows::Blend(buffer.data() + start, from.data() + start, static_cast<int32_t>(s.size()));
    for (size_t i = 0; i < buffer.size(); ++i) {
      const auto at = static_cast<ptrdiff_t>(i) - start;
      const uint32_t want = at < 0 || at >= static_cast<ptrdiff_t>(s.size())
                                ? kOutside
                                : Over(s[static_cast<size_t>(at)], d[static_cast<size_t>(at)]);
      if (buffer[i] != want) return testing::AssertionFailure() << "pixel " << at << " of " << s.size();
    }
    return testing::AssertionSuccess();
  };
  for (uint32_t a = 0; a < 256; ++a) {
    for (int32_t n = 1; n <= 20; ++n) {
      for (int32_t start = 0; start < 4; ++start) {
        std::vector<uint32_t> s(static_cast<size_t>(n)), d(s.size());
        for (size_t i = 0; i < s.size(); ++i) {
          s[i] = source(a);
          d[i] = i % 5 == 0 ? 0xffffffffu : next();
        }
        ASSERT_TRUE(check(s, d, start)) << "alpha " << a << " start " << start;
      }
    }
  }
  // Groups of four of each kind, then a tail of 1..3 pixels.
  std::vector<uint32_t> s, d;
  for (int32_t group = 0; group < 400; ++group) {
    const int kind = static_cast<int>(next() >> 29) % 4;
    for (int p = 0; p < 4; ++p) {
      const uint32_t pick = next() >> 24;
      const uint32_t a = kind == 0 ? 0 : kind == 1 ? 255 : kind == 2 ? 1 + pick % 254 : pick % 3 == 0 ? 0 : pick;
      s.push_back(source(a));
      d.push_back(next());
    }
  }
  for (int32_t tail = 0; tail < 4; ++tail) {
    for (int32_t start = 0; start < 4; ++start) {
      const std::vector<uint32_t> ts(s.begin(), s.end() - 4 + tail), td(d.begin(), d.end() - 4 + tail);
      ASSERT_TRUE(check(ts, td, start)) << "start " << start;
      // The same row shifted, so that the groups straddle the steps.
      const std::vector<uint32_t> ss(s.begin() + 2, s.end() - 4 + tail), sd(d.begin() + 2, d.end() - 4 + tail);
      ASSERT_TRUE(check(ss, sd, start)) << "shifted, start " << start;
    }
  }
}

TEST(Fill, FillCopiesAndBlendComposites) {
  const uint32_t under = Pixel(40, 80, 120, 200);
  GuardedSurface s(4, 2, under);
  GenFillRect(s.View(), s.Bounds(), {0, 0, 1, 2}, Pixel(255, 0, 0, 128));
  GenBlendRect(s.View(), s.Bounds(), {1, 0, 2, 2}, Pixel(255, 255, 255, 64));
  GenBlendRect(s.View(), s.Bounds(), {2, 0, 3, 1}, Pixel(9, 8, 7, 255));
  GenBlendRect(s.View(), s.Bounds(), {2, 1, 3, 2}, Pixel(9, 8, 7, 0));
  EXPECT_EQ(s.At(0, 1), Pixel(128, 0, 0, 128));
  EXPECT_EQ(s.At(1, 1), Pixel(64 + Mul8(40, 191), 64 + Mul8(80, 191), 64 + Mul8(120, 191), 64 + Mul8(200, 191)));
  EXPECT_EQ(s.At(2, 0), Pixel(9, 8, 7, 255));
  EXPECT_EQ(s.At(2, 1), under);
  EXPECT_EQ(s.At(3, 0), under);
}

// Rectangles across each edge of the surface and of the clip, and wholly
// outside: exactly the pixels inside all three change.
TEST(Fill, ClipsAtEveryEdge) {
  const Rect rects[] = {{-5, 2, 3, 4},   {7, 2, 50, 4},    {2, -9, 4, 2},   {2, 6, 4, 99},
                        {-9, -9, 99, 99}, {20, 20, 30, 30}, {-30, 0, -1, 8}, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}};
  const Rect clips[] = {{0, 0, 10, 8}, {1, 1, 9, 7}, {-100, -100, 100, 100}, {3, 3, 3, 9}};
  const uint32_t c = Pixel(10, 20, 30, 255);
  for (const Rect& r : rects)
    for (const Rect& clip : clips)
      for (int op = 0; op < 4; ++op) {
        GuardedSurface s(10, 8);
        if (op == 0) GenFillRect(s.View(), clip, r, c);
        if (op == 1) GenBlendRect(s.View(), clip, r, c & 0x7fffffffu);
        if (op == 2) GenFillGradient(s.View(), clip, r, {c, c, c, c});
        if (op == 3) GenBlendGradient(s.View(), clip, r, {c, c, c, c});
        const Rect v = s.Bounds().Intersect(clip).Intersect(r);
        ASSERT_TRUE(s.GuardsIntact()) << op;
        for (int32_t y = 0; y < 8; ++y)
          for (int32_t x = 0; x < 10; ++x)
            ASSERT_EQ(s.At(x, y) != 0, x >= v.x1 && x < v.x2 && y >= v.y1 && y < v.y2) << op << " " << x << "," << y;
      }
}

// Opaque fills of rows longer than the wide stores, at every start within
// a 16-byte line and widths up to past four lines, whole rows included:
// exactly the rectangle's pixels take the colour, and its neighbours keep theirs.
TEST(Fill, WideRowsAtEveryStartAndWidth) {
  const uint32_t c = Pixel(10, 20, 30, 255), under = Pixel(1, 2, 3, 4);
  for (int32_t x1 = 0; x1 < 4; ++x1)
    for (int32_t w = 0; w <= 70; ++w) {
      GuardedSurface s(80, 3, under);
      GenFillRect(s.View(), s.Bounds(), {x1, 1, x1 + w, 2}, c);
      ASSERT_TRUE(s.GuardsIntact()) << x1 << " " << w;
      for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 80; ++x)
          ASSERT_EQ(s.At(x, y), y == 1 && x >= x1 && x < x1 + w ? c : under) << x1 << " " << w << ": " << x << "," << y;
    }
  GuardedSurface s(80, 3, under);
  GenFillRect(s.View(), s.Bounds(), s.Bounds(), c);
  ASSERT_TRUE(s.GuardsIntact());
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 80; ++x) ASSERT_EQ(s.At(x, y), c) << x << "," << y;
}

TEST(Gradient, CornersAreExactAndTheInsideInterpolates) {
  const Corners c{Pixel(255, 0, 0, 255), Pixel(0, 255, 0, 255), Pixel(0, 0, 255, 255), Pixel(255, 255, 255, 255)};
  GuardedSurface s(7, 5);
  GenFillGradient(s.View(), s.Bounds(), {0, 0, 7, 5}, c);
  EXPECT_EQ(s.At(0, 0), c.topLeft);
  EXPECT_EQ(s.At(6, 0), c.topRight);
  EXPECT_EQ(s.At(0, 4), c.bottomLeft);
  EXPECT_EQ(s.At(6, 4), c.bottomRight);
  EXPECT_EQ(s.At(3, 0), Pixel(128, 128, 0, 255));  // 127.5 rounds up
  EXPECT_EQ(s.At(0, 2), Pixel(128, 0, 128, 255));
  EXPECT_EQ(s.At(3, 2), Pixel(128, 128, 128, 255));
  for (int32_t x = 1; x < 7; ++x) {
    EXPECT_LT(Chan(s.At(x, 0), 0), Chan(s.At(x - 1, 0), 0)) << x;
    EXPECT_GT(Chan(s.At(x, 0), 1), Chan(s.At(x - 1, 0), 1)) << x;
  }
}

TEST(Gradient, ClippingKeepsTheGeometryAndTranslucencyIsPremultiplied) {
  const Corners ramp{Pixel(0, 0, 0, 255), Pixel(200, 0, 0, 255), Pixel(0, 0, 0, 255), Pixel(200, 0, 0, 255)};
  GuardedSurface whole(300, 2), part(300, 2);
  GenFillGradient(whole.View(), whole.Bounds(), {0, 0, 300, 2}, ramp);
  GenFillGradient(part.View(), {123, 1, 290, 2}, {0, 0, 300, 2}, ramp);
  for (int32_t x = 123; x < 290; ++x) ASSERT_EQ(part.At(x, 1), whole.At(x, 1)) << x;
  EXPECT_EQ(whole.At(299, 1), Pixel(200, 0, 0, 255));

  const uint32_t half = Pixel(255, 255, 255, 128), under = Pixel(0, 0, 100, 255);
  const Corners fade{half, half, 0, 0};
  GuardedSurface fill(2, 2, under), blend(2, 2, under);
  GenFillGradient(fill.View(), fill.Bounds(), {0, 0, 2, 2}, fade);
  GenBlendGradient(blend.View(), blend.Bounds(), {0, 0, 2, 2}, fade);
  EXPECT_EQ(fill.At(0, 0), Pixel(128, 128, 128, 128));
  EXPECT_EQ(fill.At(1, 1), 0u);
  EXPECT_EQ(blend.At(0, 0), test::RefOver(Pixel(128, 128, 128, 128), under));
  EXPECT_EQ(blend.At(1, 1), under);
}

TEST(Gradient, ColourNeverExceedsAlpha) {
  const Corners c{Pixel(255, 255, 255, 3), Pixel(255, 0, 255, 250), Pixel(0, 255, 255, 97), Pixel(255, 255, 0, 1)};
  GuardedSurface s(61, 37);
  GenFillGradient(s.View(), s.Bounds(), {0, 0, 61, 37}, c);
  for (int32_t y = 0; y < 37; ++y)
    for (int32_t x = 0; x < 61; ++x)
      for (int ch = 0; ch < 3; ++ch) ASSERT_LE(Chan(s.At(x, y), ch), s.At(x, y) >> 24) << x << "," << y;
}

}  // namespace
}  // namespace ge
