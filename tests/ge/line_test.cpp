#include "ge/wu_line.h"

#include <gtest/gtest.h>

#include "ge_test_util.h"

namespace ge {
namespace {

using test::GuardedSurface;
using test::Pixel;

constexpr uint32_t kWhite = 0xffffffffu;

// Alpha of every pixel: the line's strength there, drawn white on transparent.
uint32_t Alpha(GuardedSurface& s, int32_t x, int32_t y) { return s.At(x, y) >> 24; }

TEST(WuLine, AxisAlignedAndDiagonalLinesAreSolid) {
  GuardedSurface s(12, 12);
  GenWuLine(s.View(), s.View().Bounds(), 1, 2, 9, 2, kWhite, 255);   // horizontal
  GenWuLine(s.View(), s.View().Bounds(), 10, 1, 10, 8, kWhite, 255);  // vertical
  GenWuLine(s.View(), s.View().Bounds(), 0, 11, 5, 6, kWhite, 255);   // diagonal
  int lit = 0;
  for (int32_t y = 0; y < 12; ++y)
    for (int32_t x = 0; x < 12; ++x) {
      const uint32_t a = Alpha(s, x, y);
      ASSERT_TRUE(a == 0 || a == 255) << x << "," << y;
      lit += a == 255;
    }
  EXPECT_EQ(lit, 9 + 8 + 6);
  EXPECT_EQ(s.At(1, 2), kWhite);
  EXPECT_EQ(s.At(9, 2), kWhite);
  EXPECT_EQ(s.At(5, 6), kWhite);
}

TEST(WuLine, EndpointsAreFullAndStepsShareBetweenTwoPixels) {
  GuardedSurface s(12, 5);
  GenWuLine(s.View(), s.View().Bounds(), 0, 0, 10, 3, kWhite, 255);
  EXPECT_EQ(Alpha(s, 0, 0), 255u);
  EXPECT_EQ(Alpha(s, 10, 3), 255u);
  // At x = 5 the line is at y = 1.5: two pixels at half strength.
  EXPECT_EQ(Alpha(s, 5, 1), 128u);
  EXPECT_EQ(Alpha(s, 5, 2), 128u);
  // At x = 1 the line is at y = 0.3: 70 % above, 30 % below.
  EXPECT_EQ(Alpha(s, 1, 0), 179u);
  EXPECT_EQ(Alpha(s, 1, 1), 77u);
  for (int32_t x = 0; x <= 10; ++x) {
    uint32_t column = 0;
    for (int32_t y = 0; y < 5; ++y) column += Alpha(s, x, y);
    EXPECT_GE(column, 255u) << x;
    EXPECT_LE(column, 256u) << x;
  }
  EXPECT_EQ(Alpha(s, 11, 3), 0u);
}

TEST(WuLine, SymmetricUnderReversalAndPointReflection) {
  const int32_t lines[][4] = {{0, 0, 10, 3}, {2, 9, 7, 0}, {1, 1, 11, 8}, {0, 7, 13, 2}};
  for (const auto& l : lines) {
    GuardedSurface fwd(14, 10), back(14, 10);
    GenWuLine(fwd.View(), fwd.View().Bounds(), l[0], l[1], l[2], l[3], kWhite, 255);
    GenWuLine(back.View(), back.View().Bounds(), l[2], l[3], l[0], l[1], kWhite, 255);
    for (int32_t y = 0; y < 10; ++y)
      for (int32_t x = 0; x < 14; ++x) {
        ASSERT_EQ(fwd.At(x, y), back.At(x, y)) << x << "," << y;
        // The line maps onto itself through its midpoint.
        const int32_t mx = l[0] + l[2] - x, my = l[1] + l[3] - y;
        if (mx >= 0 && mx < 14 && my >= 0 && my < 10) {
          ASSERT_EQ(fwd.At(x, y), fwd.At(mx, my)) << x << "," << y;
        }
      }
  }
}

TEST(WuLine, SteepLineIsTheTransposeOfTheFlatOne) {
  GuardedSurface flat(12, 12), steep(12, 12);
  GenWuLine(flat.View(), flat.View().Bounds(), 1, 2, 11, 6, kWhite, 255);
  GenWuLine(steep.View(), steep.View().Bounds(), 2, 1, 6, 11, kWhite, 255);
  for (int32_t y = 0; y < 12; ++y)
    for (int32_t x = 0; x < 12; ++x) ASSERT_EQ(flat.At(x, y), steep.At(y, x));
}

TEST(WuLine, ColourAndOpacityScaleTheBlend) {
  const uint32_t under = Pixel(0, 0, 255, 255);
  GuardedSurface s(4, 1, under);
  GenWuLine(s.View(), s.View().Bounds(), 0, 0, 3, 0, Pixel(255, 0, 0, 128), 128);
  const uint32_t src = MulPixel(Premultiply(Pixel(255, 0, 0, 128)), 128);
  EXPECT_EQ(s.At(0, 0), test::RefOver(src, under));
  EXPECT_EQ(s.At(3, 0), test::RefOver(src, under));
  GuardedSurface none(4, 1, under);
  GenWuLine(none.View(), none.View().Bounds(), 0, 0, 3, 0, kWhite, 0);
  EXPECT_EQ(none.At(1, 0), under);
}

TEST(WuLine, ClipsAndNeverTouchesOutside) {
  const Rect clip{2, 1, 9, 7};
  GuardedSurface whole(10, 8), part(10, 8);
  const int32_t lines[][4] = {{-20, -3, 30, 12}, {5, -100, 6, 100}, {-4, 7, 14, 7}, {12, 3, 40, 5}, {INT32_MIN, 0, INT32_MAX, 5}};
  for (const auto& l : lines) {
    GenWuLine(whole.View(), whole.View().Bounds(), l[0], l[1], l[2], l[3], kWhite, 255);
    GenWuLine(part.View(), clip, l[0], l[1], l[2], l[3], kWhite, 255);
  }
  EXPECT_TRUE(whole.GuardsIntact());
  EXPECT_TRUE(part.GuardsIntact());
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 10; ++x) {
      const bool in = x >= clip.x1 && x < clip.x2 && y >= clip.y1 && y < clip.y2;
      ASSERT_EQ(part.At(x, y), in ? whole.At(x, y) : 0u) << x << "," << y;
    }
}

}  // namespace
}  // namespace ge
