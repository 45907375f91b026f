// What the setting pages draw: each row laid out in its place (swatches,
// numbers, arrows) and every row kept inside the page's rows area, also
// after the page scrolled.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "menusystem_support.h"
#include "runtime/geometry.h"
#include "units/Constants/Constants.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/MenuSystem/PictureSoundPages.h"
#include "units/MenuSystem/SettingPages.h"
#include "units/Structures/RefHolders.h"
#include "units/SubSystem/State.h"

namespace menutest {
namespace {

using namespace MenuSystem;

class PageLayoutTest : public MenuTest {
 protected:
  kv::Color Pixel(int32_t x, int32_t y) { return kv::Color::FromWord(Osd().Row(y)[x]); }
  // The pixels of a screen rectangle, row by row.
  std::vector<uint32_t> Band(kv::Rect r) {
    std::vector<uint32_t> out;
    for (int32_t y = r.y1; y < r.y2; ++y)
      for (int32_t x = r.x1; x < r.x2; ++x) out.push_back(Osd().Row(y)[x]);
    return out;
  }
  // Distinct pixel values in a screen rectangle.
  size_t Distinct(kv::Rect r) {
    std::vector<uint32_t> v = Band(r);
    std::sort(v.begin(), v.end());
    return static_cast<size_t>(std::unique(v.begin(), v.end()) - v.begin());
  }
  // The colour in the middle of a row's swatch (20 x 20 at x 7, centred).
  kv::Color SwatchPixel(SubMenuItem* row) {
    const kv::Rect b = row->GetAbsoluteBounds();
    return Pixel(b.x1 + 17, b.y1 + b.H() / 2);
  }
  static bool Near(kv::Color a, kv::Color b) {
    return std::abs(a.r - b.r) < 24 && std::abs(a.g - b.g) < 24 && std::abs(a.b - b.b) < 24;
  }
};

TEST_F(PageLayoutTest, RGBFilterRowsShowTheirSwatch) {
  auto* page = OpenPage<RGBFilterMenu>(1);
  ASSERT_NE(page, nullptr);
  for (int32_t i = 0; i < 3; ++i) {
    auto* row = kv::Cast<RGBFilterOptionItem>(page->R(i));
    ASSERT_NE(row, nullptr);
    EXPECT_TRUE(Near(SwatchPixel(row), row->OnGetBaseColor())) << i;
  }
}

TEST_F(PageLayoutTest, BaseColourRowsShowSwatchNumbersAndHeadingsBelowTheTitle) {
  auto* page = OpenPage<BaseColorAdjustmentMenu>(1);
  ASSERT_NE(page, nullptr);
  const kv::Rect p = page->GetAbsoluteBounds();
  // Six rows, six different swatches (red, green, blue, yellow, magenta, cyan).
  std::vector<uint32_t> swatches;
  for (int32_t i = 0; i < 6; ++i) swatches.push_back(SwatchPixel(page->R(i)).ToWord());
  std::sort(swatches.begin(), swatches.end());
  EXPECT_EQ(std::unique(swatches.begin(), swatches.end()) - swatches.begin(), 6);
  for (int32_t i = 0; i < 6; ++i) {
    auto* row = kv::Cast<BaseColorAdjustItem>(page->R(i));
    ASSERT_NE(row, nullptr);
    EXPECT_TRUE(Near(SwatchPixel(row), row->OnGetBaseColor())) << i;
    // The three numbers stand in their columns (x 119-233, 236-350, 353-467).
    const kv::Rect b = row->GetAbsoluteBounds();
    for (int32_t c = 0; c < 3; ++c)
      EXPECT_GT(Distinct({b.x1 + 119 + 117 * c, b.y1 + 2, b.x1 + 233 + 117 * c, b.y2 - 2}), 2u) << i << " " << c;
  }
  // The title line holds the title alone: the right half of it is plain.
  EXPECT_EQ(Distinct({p.x1 + 300, p.y1 + 8, p.x2 - 20, p.y1 + 36}), 1u);
  // The first row starts below the column headings, inside the rows area.
  EXPECT_GE(page->R(0)->GetAbsoluteBounds().y1, p.y1 + 40 + 18);
}

TEST_F(PageLayoutTest, LongPageScrollsInsideItsRowsArea) {
  auto* page = OpenPage<DigitalCCMenu>(1);
  ASSERT_NE(page, nullptr);
  ASSERT_GT(page->RowCount(), 8);
  const kv::Rect p = page->GetAbsoluteBounds();
  // The title line, left of the scroll arrows.
  const kv::Rect title{p.x1 + 2, p.y1 + 2, p.x2 - 40, p.y1 + 38};
  // Below the rows area (y 247) the page shows its plain background.
  const kv::Rect below{p.x1 + 20, p.y1 + 250, p.x2 - 30, p.y2 - 2};
  ASSERT_GT(below.H(), 0);
  const std::vector<uint32_t> titleBefore = Band(title);
  EXPECT_EQ(Distinct(below), 1u);
  // Up on the first row focuses the last: the rows scroll.
  const int32_t firstTop = page->R(0)->Bounds().y1;
  Press("up");
  Settle();
  ASSERT_EQ(Focused(), page->R(page->RowCount() - 1));
  EXPECT_LT(page->R(0)->Bounds().y1, firstTop);
  EXPECT_TRUE(Band(title) == titleBefore);
  EXPECT_EQ(Distinct(below), 1u);
  // The focused last row lies wholly inside the rows area.
  const kv::Rect last = page->R(page->RowCount() - 1)->Bounds();
  EXPECT_LE(last.y2, 247);
  EXPECT_GE(last.y1, 40);
  // And back to the top.
  Press("down");
  Settle();
  EXPECT_EQ(page->R(0)->Bounds().y1, firstTop);
  EXPECT_TRUE(Band(title) == titleBefore);
}

}  // namespace
}  // namespace menutest
