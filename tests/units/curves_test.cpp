// Curves: the pieces CreateCurve builds (straight with point marks, or
// smooth through every point with quadratic end segments), refused input,
// and the pixels drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core_test_support.h"
#include "runtime/trace.h"
#include "units/Curves/SmoothCurve.h"
#include "units/Resources/Bitmap.h"

namespace curvestest {
namespace {

class CurvesTest : public coretest::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    curve = kv::New<Curves::SmoothCurve>();
    curve->OnSetBounds({100, 100, 700, 400});
    root->Add(curve);
    curve->OnSetColor(0xFFCCCCCCu);
  }
  void SetPoints(std::initializer_list<kv::Point> pts) {
    curve->OnSetPointNum(static_cast<int32_t>(pts.size()));
    int32_t i = 0;
    for (kv::Point p : pts) curve->SetPoint(i++, p.x, p.y);
  }
  // Alpha of the OSD pixel at a point of the curve's own coordinates.
  uint32_t AlphaAt(kv::Point p) const { return Pixel(100 + p.x, 100 + p.y) >> 24; }

  Curves::SmoothCurve* curve = nullptr;
};

TEST_F(CurvesTest, LinearCurveJoinsThePointsAndMarksEachOne) {
  auto* mark = kv::New<Resources::Bitmap>();
  mark->OnSetSize({3, 3});
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 3; ++x) mark->GetSurface().Row(y)[x] = 0xff0000ffu;
  curve->OnSetPointBitmap(mark);
  curve->OnSetLinear(true);
  SetPoints({{0, 130}, {26, 100}, {52, 100}, {78, 0}});
  curve->CreateCurve(8);
  EXPECT_EQ(curve->GetVertices(), (std::vector<kv::Point>{{0, 130}, {26, 100}, {52, 100}, {78, 0}}));
  driver.Pass();
  EXPECT_EQ(Pixel(100 + 39, 200), 0xffccccccu);  // on the flat piece, full strength
  EXPECT_EQ(Pixel(100 + 26, 200), 0xff0000ffu);  // the mark covers the point
  EXPECT_EQ(Pixel(100 + 27, 201), 0xff0000ffu);
  EXPECT_EQ(AlphaAt({39, 110}), 0u);             // nothing off the line

  // The curve shows what CreateCurve built: moving a point alone changes nothing.
  curve->SetPoint(2, 52, 120);
  driver.Pass();
  EXPECT_EQ(Pixel(100 + 39, 200), 0xffccccccu);
  curve->CreateCurve(8);
  driver.Pass();
  EXPECT_EQ(AlphaAt({39, 100}), 0u);
}

TEST_F(CurvesTest, SmoothCurvePassesThroughEveryPointInEqualPieces) {
  SetPoints({{0, 200}, {120, 60}, {240, 160}, {360, 20}, {480, 120}});
  curve->CreateCurve(16);
  const auto& v = curve->GetVertices();
  ASSERT_EQ(v.size(), 4u * 16u + 1u);
  for (int32_t i = 0; i < 5; ++i) EXPECT_EQ(v[static_cast<size_t>(i) * 16], curve->GetPoint(i)) << i;

  // No corner at the inner points: the curve crosses each one parallel to
  // the line through its two neighbours.
  for (int32_t i = 1; i < 4; ++i) {
    const size_t k = static_cast<size_t>(i) * 16;
    const kv::Point along = curve->GetPoint(i + 1) - curve->GetPoint(i - 1);
    const double expected = std::atan2(along.y, along.x);
    const double actual = std::atan2(v[k + 1].y - v[k - 1].y, v[k + 1].x - v[k - 1].x);
    EXPECT_NEAR(actual, expected, 0.1) << "at point " << i;
  }
  driver.Pass();
  EXPECT_GT(AlphaAt({120, 60}), 0u);
  EXPECT_GT(AlphaAt({240, 160}), 0u);
}

TEST_F(CurvesTest, EndSegmentsAreQuadraticAndMirrorEachOther) {
  // Three points: two quadratic segments around a peak whose tangent is level.
  SetPoints({{0, 80}, {40, 0}, {80, 80}});
  curve->CreateCurve(10);
  const auto& v = curve->GetVertices();
  ASSERT_EQ(v.size(), 21u);
  for (size_t k = 0; k <= 10; ++k) {
    EXPECT_EQ(v[k].y, v[20 - k].y) << k;
    EXPECT_EQ(v[k].x, 80 - v[20 - k].x) << k;
  }
  EXPECT_EQ(v[9].y, v[11].y);
  EXPECT_GT(v[9].y, 0);
  EXPECT_LE(v[9].y, 2);  // level at the peak: the pieces beside it barely rise

  // Collinear, evenly spaced points give a straight line.
  SetPoints({{0, 0}, {40, 20}, {80, 40}, {120, 60}});
  curve->CreateCurve(4);
  for (const kv::Point& p : curve->GetVertices()) EXPECT_EQ(p.x, 2 * p.y);

  // Two points: one straight segment in `divisions` pieces.
  SetPoints({{0, 0}, {40, 40}});
  curve->CreateCurve(4);
  EXPECT_EQ(curve->GetVertices(), (std::vector<kv::Point>{{0, 0}, {10, 10}, {20, 20}, {30, 30}, {40, 40}}));
}

TEST_F(CurvesTest, BadInputIsLoggedAndRefused) {
  std::vector<std::string> logged;
  kv::SetTraceSink([&logged](std::string_view line) { logged.emplace_back(line); });
  SetPoints({{0, 0}, {10, 10}});
  curve->SetPoint(2, 5, 5);
  curve->SetPoint(-1, 5, 5);
  EXPECT_EQ(curve->GetPoint(1), (kv::Point{10, 10}));
  curve->CreateCurve(0);  // counts as 1 division
  EXPECT_EQ(curve->GetVertices().size(), 2u);
  curve->OnSetPointNum(-3);
  EXPECT_EQ(curve->OnGetPointNum(), 0);
  curve->CreateCurve(8);
  EXPECT_TRUE(curve->GetVertices().empty());
  kv::SetTraceSink(nullptr);
  EXPECT_EQ(logged.size(), 4u);
}

}  // namespace
}  // namespace curvestest
