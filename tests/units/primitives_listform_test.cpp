// The virtual list engine: a list over N numbered items with four rows (or
// a grid), scrolled item by item, row by row, page by page and to either
// end, with and without Fixed; checked by the item each row shows, the row
// that has the focus, the rows fetched and the scroll indicators.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "runtime/collector.h"
#include "runtime/member.h"
#include "support/kv_test.h"
#include "units/Forms/ImageIndicator.h"
#include "units/Primitives/KeyRoutingCtrl.h"
#include "units/Primitives/KeyRoutingListForm.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Structures/RefHolders.h"

namespace primtest {
namespace {

class Row : public Primitives::KeyRoutingCtrl {
  KV_CLASS(primtest, Row, Primitives::KeyRoutingCtrl)
 public:
  void SetData(kv::Object* data) override {
    ++fills;
    Primitives::KeyRoutingCtrl::SetData(data);
  }
  // The number of the item shown, -1 for none.
  int32_t Shown() {
    auto* item = kv::Cast<Structures::RefInt>(GetData(nullptr));
    return item ? item->Value : -1;
  }
  int fills = 0;
};

// A list over `items`; the cursor clamps at both ends.
class NumberList : public Primitives::KeyRoutingListForm {
  KV_CLASS(primtest, NumberList, Primitives::KeyRoutingListForm)
 public:
  void SetItems(int32_t n) {
    items.clear();
    for (int32_t i = 0; i < n; ++i) {
      auto* item = kv::New<Structures::RefInt>();
      item->Value = i;
      items.push_back(item);
    }
    cursor = 0;
  }
  int32_t MoveCursor(int32_t delta, int32_t mode) override {
    const int32_t n = GetItemsCount();
    if (n == 0) return 0;
    int32_t target = mode == Primitives::CURSOR_FROM_FIRST ? delta
                     : mode == Primitives::CURSOR_RELATIVE ? cursor + delta
                                                           : n - 1 + delta;
    target = std::clamp(target, 0, n - 1);
    const int32_t moved = target - cursor;
    cursor = target;
    return moved;
  }
  kv::Object* GetItemData(int32_t offset) override {
    const int32_t i = cursor + offset;
    return (i >= 0 && i < GetItemsCount()) ? items[static_cast<size_t>(i)] : nullptr;
  }
  int32_t GetItemsCount() override { return static_cast<int32_t>(items.size()); }
  int32_t GetCursorIndex() override { return cursor; }
  void UpdateScrollBar(int32_t count, int32_t position, int32_t page) override {
    bar = {count, position, page};
  }
  // Derived lists extend the posted reload and indicator update.
  void forceReload(kv::Object* sender = nullptr) override {
    ++reloads;
    Primitives::KeyRoutingListForm::forceReload(sender);
  }
  void updateScrollBars(kv::Object* sender = nullptr) override {
    ++barUpdates;
    Primitives::KeyRoutingListForm::updateScrollBars(sender);
  }
  int32_t ScrollPages(int32_t n) override {
    ++pageScrolls;
    return Primitives::KeyRoutingListForm::ScrollPages(n);
  }

  kv::MemberVector<Structures::RefInt> items;
  int32_t cursor = 0;
  std::vector<int32_t> bar;
  int reloads = 0;
  int barUpdates = 0;
  int pageScrolls = 0;
};

class ListFormTest : public kvtest::RuntimeTest {
 protected:
  // A list of `items` items with `rows` rows of 100 x 20, one under another.
  void Make(int32_t items, int32_t rows = 4) {
    list = kv::New<NumberList>();
    list->OnSetBounds({0, 0, 100, 20 * rows});
    for (int32_t r = 0; r < rows; ++r) {
      auto* row = kv::New<Row>();
      row->OnSetBounds({0, 20 * r, 100, 20 * r + 20});
      list->Add(row);
    }
    list->PrevIndicator = kv::New<Forms::ImageIndicator>();
    list->NextIndicator = kv::New<Forms::ImageIndicator>();
    list->SetItems(items);
    list->Reload();
    driver.Pass();
  }
  Row* RowAt(int32_t r) { return static_cast<Row*>(list->GetRows()[static_cast<size_t>(r)]); }
  // The item shown by each row, in row order.
  std::vector<int32_t> Shown() {
    std::vector<int32_t> out;
    for (Forms::Ctrl* c : list->GetRows()) out.push_back(static_cast<Row*>(c)->Shown());
    return out;
  }
  int32_t Focus() { return list->GetFocusPosition(); }
  int Fills() {
    int n = 0;
    for (Forms::Ctrl* c : list->GetRows()) n += static_cast<Row*>(c)->fills;
    return n;
  }
  bool Prev() { return list->PrevIndicator->OnGetEnabled(); }
  bool Next() { return list->NextIndicator->OnGetEnabled(); }

  kv::Persistent<NumberList> list;
};

using V = std::vector<int32_t>;

TEST_F(ListFormTest, AnEmptyListShowsNothingFocusesNothingAndDoesNotScroll) {
  Make(0);
  EXPECT_EQ(Shown(), V({-1, -1, -1, -1}));
  EXPECT_EQ(Focus(), -1);
  EXPECT_EQ(list->ScrollItems(1), 0);
  EXPECT_EQ(list->ScrollPages(1), 0);
  EXPECT_EQ(list->ScrollToLast(), 0);
  EXPECT_EQ(list->ScrollToFirst(), 0);
  driver.Pass();
  EXPECT_EQ(Focus(), -1);
  EXPECT_FALSE(Prev());
  EXPECT_FALSE(Next());
  EXPECT_EQ(list->bar, V({0, 0, 4}));
}

TEST_F(ListFormTest, OneItemTakesTheFirstRowAndStaysThere) {
  Make(1);
  EXPECT_EQ(Shown(), V({0, -1, -1, -1}));
  EXPECT_EQ(Focus(), 0);
  EXPECT_EQ(list->ScrollItems(1), 0);
  EXPECT_EQ(list->ScrollToLast(), 0);
  EXPECT_EQ(list->ScrollItems(-1), 0);
  driver.Pass();
  EXPECT_EQ(Shown(), V({0, -1, -1, -1}));
  EXPECT_EQ(Focus(), 0);
  EXPECT_FALSE(Prev());
  EXPECT_FALSE(Next());
}

TEST_F(ListFormTest, APartialPageMovesOnlyTheFocus) {
  Make(3);
  EXPECT_EQ(list->ScrollItems(1), 1);
  EXPECT_EQ(list->ScrollItems(1), 1);
  EXPECT_EQ(list->ScrollItems(1), 0);  // the last item: the cursor stays
  driver.Pass();
  EXPECT_EQ(Shown(), V({0, 1, 2, -1}));
  EXPECT_EQ(Focus(), 2);
  EXPECT_EQ(list->ScrollToFirst(), -2);
  EXPECT_EQ(Focus(), 0);
  EXPECT_EQ(list->ScrollToLast(), 2);
  driver.Pass();
  EXPECT_EQ(Shown(), V({0, 1, 2, -1}));
  EXPECT_EQ(Focus(), 2);
  EXPECT_EQ(list->ScrollPages(-1), -2);
  driver.Pass();
  EXPECT_EQ(Shown(), V({0, 1, 2, -1}));
  EXPECT_EQ(Focus(), 0);
  EXPECT_FALSE(Prev());
  EXPECT_FALSE(Next());
}

TEST_F(ListFormTest, ItemByItemTheFocusWalksDownThenTheRowsShiftFetchingOneRowEach) {
  Make(10);
  EXPECT_EQ(Shown(), V({0, 1, 2, 3}));
  for (int32_t step = 1; step <= 3; ++step) {
    EXPECT_EQ(list->ScrollItems(1), 1);
    EXPECT_EQ(Focus(), step);
  }
  EXPECT_EQ(Shown(), V({0, 1, 2, 3}));
  std::vector<kv::Rect> places;
  for (int32_t r = 0; r < 4; ++r) places.push_back(RowAt(r)->Bounds());
  Row* focusedBefore = RowAt(3);
  const int fillsBefore = Fills();
  EXPECT_EQ(list->ScrollItems(1), 1);
  EXPECT_EQ(Shown(), V({1, 2, 3, 4}));
  EXPECT_EQ(Focus(), 3);
  EXPECT_EQ(Fills() - fillsBefore, 1);  // only the row that came in was filled
  EXPECT_NE(RowAt(3), focusedBefore);   // the rows moved round under the focus
  for (int32_t r = 0; r < 4; ++r) {
    EXPECT_EQ(RowAt(r)->Bounds(), places[static_cast<size_t>(r)]) << r;
    EXPECT_EQ(RowAt(r)->Position, r);
  }
  for (int32_t step = 0; step < 5; ++step) list->ScrollItems(1);
  EXPECT_EQ(Shown(), V({6, 7, 8, 9}));
  EXPECT_EQ(Focus(), 3);
  EXPECT_EQ(list->ScrollItems(1), 0);
  driver.Pass();
  EXPECT_TRUE(Prev());
  EXPECT_FALSE(Next());
  EXPECT_EQ(list->bar, V({10, 9, 4}));

  // Back up: the focus climbs to the first row, then the rows shift the other way.
  for (int32_t step = 2; step >= 0; --step) {
    EXPECT_EQ(list->ScrollItems(-1), -1);
    EXPECT_EQ(Focus(), step);
  }
  EXPECT_EQ(list->ScrollItems(-1), -1);
  EXPECT_EQ(Shown(), V({5, 6, 7, 8}));
  EXPECT_EQ(Focus(), 0);
  driver.Pass();
  EXPECT_TRUE(Prev());
  EXPECT_TRUE(Next());
}

TEST_F(ListFormTest, AJumpOfSeveralItemsMovesTheFocusAsFarAsItCanAndReloads) {
  Make(10);
  EXPECT_EQ(list->ScrollItems(8), 8);
  driver.Pass();
  EXPECT_EQ(list->cursor, 8);
  EXPECT_EQ(Shown(), V({5, 6, 7, 8}));  // the focus went as far down as it could
  EXPECT_EQ(Focus(), 3);
  EXPECT_EQ(list->ScrollItems(-7), -7);
  driver.Pass();
  EXPECT_EQ(Shown(), V({1, 2, 3, 4}));
  EXPECT_EQ(Focus(), 0);
  EXPECT_EQ(list->ScrollItems(-3), -1);
  driver.Pass();
  EXPECT_EQ(Shown(), V({0, 1, 2, 3}));
  EXPECT_EQ(Focus(), 0);
}

TEST_F(ListFormTest, RowByRowAndToEitherEnd) {
  Make(10);
  EXPECT_EQ(list->ScrollRows(2), 2);
  driver.Pass();
  EXPECT_EQ(Shown(), V({0, 1, 2, 3}));
  EXPECT_EQ(Focus(), 2);
  EXPECT_EQ(list->ScrollRows(5), 5);
  driver.Pass();
  EXPECT_EQ(Shown(), V({4, 5, 6, 7}));
  EXPECT_EQ(Focus(), 3);
  EXPECT_EQ(list->ScrollRows(5), 2);
  driver.Pass();
  EXPECT_EQ(Shown(), V({6, 7, 8, 9}));
  EXPECT_EQ(Focus(), 3);

  EXPECT_EQ(list->ScrollToFirst(), -9);
  driver.Pass();
  EXPECT_EQ(Shown(), V({0, 1, 2, 3}));
  EXPECT_EQ(Focus(), 0);
  EXPECT_EQ(list->ScrollToLast(), 9);
  driver.Pass();
  EXPECT_EQ(Shown(), V({6, 7, 8, 9}));
  EXPECT_EQ(Focus(), 3);
  EXPECT_EQ(list->ScrollToLast(), 0);
}

TEST_F(ListFormTest, PageByPageKeepsTheFocusRowUntilTheLastPageFills) {
  Make(10);
  EXPECT_EQ(list->ScrollPages(1), 4);
  driver.Pass();
  EXPECT_EQ(Shown(), V({4, 5, 6, 7}));
  EXPECT_EQ(Focus(), 0);
  EXPECT_TRUE(Prev());
  EXPECT_TRUE(Next());
  EXPECT_EQ(list->ScrollPages(1), 4);
  driver.Pass();
  EXPECT_EQ(Shown(), V({6, 7, 8, 9}));  // no empty rows at the bottom
  EXPECT_EQ(Focus(), 2);
  EXPECT_EQ(list->ScrollPages(1), 1);
  driver.Pass();
  EXPECT_EQ(Focus(), 3);
  EXPECT_FALSE(Next());
  EXPECT_EQ(list->ScrollPages(-1), -4);
  driver.Pass();
  EXPECT_EQ(Shown(), V({2, 3, 4, 5}));
  EXPECT_EQ(Focus(), 3);
  EXPECT_EQ(list->ScrollPages(-5), -5);
  driver.Pass();
  EXPECT_EQ(Shown(), V({0, 1, 2, 3}));
  EXPECT_EQ(Focus(), 0);
  EXPECT_FALSE(Prev());
}

TEST_F(ListFormTest, FixedKeepsTheFocusOnItsRowAndScrollsTheItemsUnderIt) {
  Make(10);
  list->Fixed = true;
  list->OnSetFocus(RowAt(1));
  list->Reload();
  driver.Pass();
  EXPECT_EQ(Shown(), V({-1, 0, 1, 2}));  // no adjustment: the first row stays empty
  EXPECT_EQ(Focus(), 1);
  const int fillsBefore = Fills();
  EXPECT_EQ(list->ScrollItems(1), 1);
  EXPECT_EQ(Shown(), V({0, 1, 2, 3}));
  EXPECT_EQ(Focus(), 1);
  EXPECT_EQ(Fills() - fillsBefore, 1);
  EXPECT_EQ(list->ScrollItems(-1), -1);
  EXPECT_EQ(Shown(), V({-1, 0, 1, 2}));
  EXPECT_EQ(list->ScrollToLast(), 9);
  driver.Pass();
  EXPECT_EQ(Shown(), V({8, 9, -1, -1}));
  EXPECT_EQ(Focus(), 1);
  EXPECT_EQ(list->ScrollPages(-1), -4);
  driver.Pass();
  EXPECT_EQ(Shown(), V({4, 5, 6, 7}));
  EXPECT_EQ(Focus(), 1);
  EXPECT_EQ(list->ScrollToFirst(), -5);
  driver.Pass();
  EXPECT_EQ(Shown(), V({-1, 0, 1, 2}));
  EXPECT_EQ(Focus(), 1);

  // Emptied, a fixed list keeps its focus row; a list that is not fixed drops it.
  list->SetItems(0);
  list->Reload();
  driver.Pass();
  EXPECT_EQ(Focus(), 1);
  EXPECT_EQ(Shown(), V({-1, -1, -1, -1}));
  list->Fixed = false;
  list->Reload();
  driver.Pass();
  EXPECT_EQ(Focus(), -1);
}

TEST_F(ListFormTest, AReloadWithoutFocusGivesTheFirstRowTheFocusAndAdjustsIt) {
  Make(10);
  list->OnSetFocus(nullptr);
  list->cursor = 9;
  list->Reload();
  list->Reload();  // several reloads in one pass cost one
  const int fillsBefore = Fills();
  driver.Pass();
  EXPECT_EQ(Fills() - fillsBefore, 4);
  EXPECT_EQ(Shown(), V({6, 7, 8, 9}));
  EXPECT_EQ(Focus(), 3);
}

TEST_F(ListFormTest, TheEngineRunsTheOverridesOfADerivedList) {
  Make(10);
  list->reloads = list->barUpdates = 0;
  Primitives::KeyRoutingListForm* engine = list.get();
  EXPECT_EQ(engine->ScrollPages(1), 4);
  EXPECT_EQ(list->pageScrolls, 1);
  driver.Pass();  // the posted reload and indicator update reach the overrides
  EXPECT_EQ(list->reloads, 1);
  EXPECT_EQ(list->barUpdates, 1);
  engine->ScrollItems(1);  // the focus moves down a row: no reload
  driver.Pass();
  EXPECT_EQ(list->reloads, 1);
  EXPECT_EQ(list->barUpdates, 2);
  EXPECT_EQ(Shown(), V({4, 5, 6, 7}));
  EXPECT_EQ(Focus(), 1);
}

TEST_F(ListFormTest, HiddenRowsAreNotRows) {
  Make(10, 6);
  RowAt(5)->OnSetVisible(false);
  RowAt(4)->OnSetVisible(false);
  EXPECT_EQ(list->ScrollPages(1), 4);
  driver.Pass();
  EXPECT_EQ(Shown(), V({4, 5, 6, 7}));
  EXPECT_EQ(list->bar, V({10, 4, 4}));
}

TEST_F(ListFormTest, AGridMovesByCellsRowsAndPagesKeepingTheColumn) {
  Make(10, 9);
  list->OnSetItemsPerRow(3);
  EXPECT_EQ(list->ScrollItems(1), 1);
  EXPECT_EQ(Focus(), 1);
  EXPECT_EQ(list->ScrollRows(2), 6);
  driver.Pass();
  EXPECT_EQ(Focus(), 7);
  EXPECT_EQ(Shown(), V({0, 1, 2, 3, 4, 5, 6, 7, 8}));
  // One more row down: the focus keeps its column on the last row, the rows scroll.
  EXPECT_EQ(list->ScrollRows(1), 2);  // clamped at item 9
  driver.Pass();
  EXPECT_EQ(list->cursor, 9);
  EXPECT_EQ(Focus(), 6);
  EXPECT_EQ(Shown(), V({3, 4, 5, 6, 7, 8, 9, -1, -1}));
  EXPECT_EQ(list->ScrollToFirst(), -9);
  driver.Pass();
  EXPECT_EQ(Focus(), 0);
  EXPECT_EQ(Shown(), V({0, 1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(list->ScrollToLast(), 9);
  driver.Pass();
  EXPECT_EQ(Focus(), 6);
  EXPECT_EQ(Shown(), V({3, 4, 5, 6, 7, 8, 9, -1, -1}));

  list->OnSetItemsPerRow(0);
  EXPECT_EQ(list->OnGetItemsPerRow(), 1);
  list->OnSetItemsPerRow(-4);
  EXPECT_EQ(list->OnGetItemsPerRow(), 1);
}

TEST_F(ListFormTest, AdjustFocusClampsLowersAndRaises) {
  Make(10);
  list->cursor = 0;
  EXPECT_EQ(list->AdjustFocus(3, 4), 0);    // nothing before item 0
  list->cursor = 2;
  EXPECT_EQ(list->AdjustFocus(3, 4), 2);
  EXPECT_EQ(list->AdjustFocus(-5, 4), 0);
  list->cursor = 9;
  EXPECT_EQ(list->AdjustFocus(0, 4), 3);    // the last page is filled
  EXPECT_EQ(list->AdjustFocus(12, 4), 3);
  list->cursor = 5;
  EXPECT_EQ(list->AdjustFocus(7, 4), 3);
  EXPECT_EQ(list->AdjustFocus(1, 0), 0);
}

}  // namespace
}  // namespace primtest
