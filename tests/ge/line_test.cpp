#include "ge/wu_line.h"

#include <gtest/gtest.h>

#include <climits>

#include "ge_test_util.h"

namespace ge {
namespace {

using test::GuardedSurface;
using test::Pixel;

constexpr uint32_t kWhite = 0xffffffffu;

// White on transparent: the alpha of a pixel is the line's strength there.
uint32_t Strength(GuardedSurface& s, int32_t x, int32_t y) { return s.At(x, y) >> 24; }

TEST(WuLine, AxisAlignedAndDiagonalLinesAreSolid) {
  GuardedSurface s(12, 12);
  GenWuLine(s.View(), s.Bounds(), 1, 2, 9, 2, kWhite, 255);
  GenWuLine(s.View(), s.Bounds(), 10, 1, 10, 8, kWhite, 255);
  GenWuLine(s.View(), s.Bounds(), 0, 11, 5, 6, kWhite, 255);
  int lit = 0;
  for (int32_t y = 0; y < 12; ++y)
    for (int32_t x = 0; x < 12; ++x) {
      ASSERT_TRUE(Strength(s, x, y) == 0 || Strength(s, x, y) == 255) << x << "," << y;
      lit += Strength(s, x, y) == 255;
    }
  EXPECT_EQ(lit, 9 + 8 + 6);
  EXPECT_EQ(s.At(9, 2), kWhite);
  EXPECT_EQ(s.At(5, 6), kWhite);
}

TEST(WuLine, EndpointsAreFullAndEachStepSharesTwoPixels) {
  GuardedSurface s(12, 5);
  GenWuLine(s.View(), s.Bounds(), 0, 0, 10, 3, kWhite, 255);
  EXPECT_EQ(Strength(s, 0, 0), 255u);
  EXPECT_EQ(Strength(s, 10, 3), 255u);
  EXPECT_EQ(Strength(s, 5, 1), 128u);  // y = 1.5
  EXPECT_EQ(Strength(s, 5, 2), 128u);
  EXPECT_EQ(Strength(s, 1, 0), 179u);  // y = 0.3
  EXPECT_EQ(Strength(s, 1, 1), 77u);
  for (int32_t x = 0; x <= 10; ++x) {
    uint32_t column = 0;
    for (int32_t y = 0; y < 5; ++y) column += Strength(s, x, y);
    EXPECT_TRUE(column == 255 || column == 256) << x;
  }
  EXPECT_EQ(Strength(s, 11, 3), 0u);
}

// Reversed, the same pixels; through its midpoint the line maps onto itself;
// a steep line is the transpose of the flat one.
TEST(WuLine, Symmetries) {
  const int32_t lines[][4] = {{0, 0, 10, 3}, {2, 9, 7, 0}, {1, 1, 11, 8}, {0, 7, 13, 2}};
  for (const auto& l : lines) {
    GuardedSurface fwd(14, 14), back(14, 14), steep(14, 14);
    GenWuLine(fwd.View(), fwd.Bounds(), l[0], l[1], l[2], l[3], kWhite, 255);
    GenWuLine(back.View(), back.Bounds(), l[2], l[3], l[0], l[1], kWhite, 255);
    GenWuLine(steep.View(), steep.Bounds(), l[1], l[0], l[3], l[2], kWhite, 255);
    for (int32_t y = 0; y < 14; ++y)
      for (int32_t x = 0; x < 14; ++x) {
        ASSERT_EQ(fwd.At(x, y), back.At(x, y)) << x << "," << y;
        ASSERT_EQ(fwd.At(x, y), steep.At(y, x)) << x << "," << y;
        const int32_t mx = l[0] + l[2] - x, my = l[1] + l[3] - y;
        if (mx >= 0 && mx < 14 && my >= 0 && my < 14) {
          ASSERT_EQ(fwd.At(x, y), fwd.At(mx, my)) << x << "," << y;
        }
      }
  }
}

TEST(WuLine, ColourAndOpacityScaleTheBlend) {
  const uint32_t under = Pixel(0, 0, 255, 255);
  GuardedSurface s(4, 2, under);
  GenWuLine(s.View(), s.Bounds(), 0, 0, 3, 0, Pixel(255, 0, 0, 128), 128);
  GenWuLine(s.View(), s.Bounds(), 0, 1, 3, 1, kWhite, 0);
  EXPECT_EQ(s.At(3, 0), test::RefOver(MulPixel(Pixel(128, 0, 0, 128), 128), under));
  EXPECT_EQ(s.At(1, 1), under);
}

TEST(WuLine, ClipsAndNeverTouchesOutside) {
  const Rect clip{2, 1, 9, 7};
  GuardedSurface whole(10, 8), part(10, 8);
  const int32_t lines[][4] = {{-20, -3, 30, 12}, {5, -100, 6, 100}, {-4, 7, 14, 7}, {12, 3, 40, 5},
                              {INT32_MIN, 0, INT32_MAX, 5}};
  for (const auto& l : lines) {
    GenWuLine(whole.View(), whole.Bounds(), l[0], l[1], l[2], l[3], kWhite, 255);
    GenWuLine(part.View(), clip, l[0], l[1], l[2], l[3], kWhite, 255);
  }
  EXPECT_TRUE(whole.GuardsIntact() && part.GuardsIntact());
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 10; ++x) {
      const bool in = x >= clip.x1 && x < clip.x2 && y >= clip.y1 && y < clip.y2;
      ASSERT_EQ(part.At(x, y), in ? whole.At(x, y) : 0u) << x << "," << y;
    }
  EXPECT_NE(whole.At(5, 0), 0u);
}

}  // namespace
}  // namespace ge
