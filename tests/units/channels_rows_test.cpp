// The channel rows as the viewer sees them in their dialogs: each row kind
// draws its own columns (the lock, the skip box, the new mark and signal,
// the RF channel and skip text), the rows take their list's width, and each
// heading stands over its column.
#include <gtest/gtest.h>

#include <set>
#include <vector>
#include <string>

#include "channels_support.h"
#include "platform/sim/sim_tv_air.h"
#include "platform/xpm/xpm_settings.h"
#include "units/Core/Group.h"
#include "units/ListForm/ChannelLists.h"
#include "units/ListForm/RowColumns.h"
#include "units/Views/Text.h"

namespace channeltest {
namespace {

using ListForm::RowColumn;
namespace C = ListForm::ChannelColumns;

class ChannelRowsTest : public ChannelTest {
 protected:
  // The visible row of `list` showing channel `number`, or null.
  template <class Row>
  Row* RowOf(ListForm::ListClass& list, const std::string& number) {
    for (Forms::Ctrl* r : list.GetRows())
      if (auto* row = kv::Cast<Row>(r); row && row->IsVisible() && Str(row->OnGetText()) == number) return row;
    return nullptr;
  }
  // The screen rectangle of a row's column.
  static kv::Rect ColumnOnScreen(Core::View& row, const RowColumn& c) {
    const kv::Rect b = row.GetAbsoluteBounds();
    return c.In(b.W(), 0, b.H()).Move(b.Origin());
  }
  // Something is drawn in a row's column: enough of its pixels differ from
  // the row's background on the same line (read at the row's right end).
  bool Drawn(Core::View& row, const RowColumn& c) {
    const kv::Rect r = ColumnOnScreen(row, c);
    const int32_t ref = row.GetAbsoluteBounds().x2 - 3;
    int inked = 0;
    for (int32_t y = r.y1; y < r.y2; ++y)
      for (int32_t x = r.x1; x < r.x2; ++x) inked += Osd().Row(y)[x] != Osd().Row(y)[ref] ? 1 : 0;
    return inked > 20;
  }
  // The pixels of a rectangle, to compare two columns of the same size.
  std::vector<uint32_t> Pixels(const kv::Rect& r) {
    std::vector<uint32_t> out;
    for (int32_t y = r.y1; y < r.y2; ++y)
      for (int32_t x = r.x1; x < r.x2; ++x) out.push_back(Osd().Row(y)[x]);
    return out;
  }
  // The dialog's text view that reads `text`, or null.
  static Views::Text* TextOf(Core::Group& dialog, const std::string& text) {
    for (int32_t i = 0; i < dialog.GetChildCount(); ++i)
      if (auto* t = kv::Cast<Views::Text>(dialog.GetChild(i)); t && Str(t->OnGetString()) == text) return t;
    return nullptr;
  }
  // The heading reading `text` starts at the column's left edge of `row`.
  void ExpectHeadingOver(Core::Group& dialog, const std::string& text, Core::View& row, const RowColumn& c) {
    Views::Text* h = TextOf(dialog, text);
    ASSERT_NE(h, nullptr) << text;
    EXPECT_EQ(h->GetAbsoluteBounds().x1, ColumnOnScreen(row, c).x1) << text;
    EXPECT_LT(h->GetAbsoluteBounds().y2, row.GetAbsoluteBounds().y1 + 1) << text;
  }
  // Rows as wide as their list.
  static void ExpectRowsTakeTheListsWidth(ListForm::ListClass& list) {
    for (Forms::Ctrl* r : list.GetRows())
      EXPECT_EQ(r->Bounds().W(), list.Bounds().W() - 2 * list.ItemXOffset);
  }
};

TEST_F(ChannelRowsTest, TheLockRowsShowTheLockOfALockedChannel) {
  ASSERT_EQ(XPM_SetChannelLock(4, 1, 1), XPM_OK);
  auto* d = OpenScreen<Channels::ChannelLockDialog>();
  ASSERT_NE(d, nullptr);
  Run(200);
  using Row = ListForm::ChannelLockItem;
  Row* locked = RowOf<Row>(d->List(), "4-1");
  Row* open = RowOf<Row>(d->List(), "5-1");
  ASSERT_NE(locked, nullptr);
  ASSERT_NE(open, nullptr);
  EXPECT_TRUE(Drawn(*locked, C::kLock));
  EXPECT_FALSE(Drawn(*open, C::kLock));
  EXPECT_TRUE(Drawn(*open, C::kLockLabel));
  ExpectRowsTakeTheListsWidth(d->List());
  ExpectHeadingOver(*d, "Ch.", *open, C::kNumber);
  ExpectHeadingOver(*d, "Label", *open, C::kLockLabel);
}

TEST_F(ChannelRowsTest, TheOptionRowsShowTheKindAndTheBoxOfASkippedChannel) {
  ASSERT_EQ(XPM_RemoveChannelFromRing(0, 4, 1), XPM_OK);
  auto* d = OpenScreen<Channels::ChannelOptionDialog>();
  ASSERT_NE(d, nullptr);
  Run(200);
  using Row = ListForm::ChannelOptionItem;
  Row* skipped = RowOf<Row>(d->List(), "4-1");
  Row* kept = RowOf<Row>(d->List(), "5-1");
  ASSERT_NE(skipped, nullptr);
  ASSERT_NE(kept, nullptr);
  EXPECT_TRUE(Drawn(*skipped, C::kOptionCheck));
  EXPECT_TRUE(Drawn(*kept, C::kOptionCheck));
  // The empty box and the ticked one differ.
  EXPECT_NE(Pixels(ColumnOnScreen(*skipped, C::kOptionCheck)), Pixels(ColumnOnScreen(*kept, C::kOptionCheck)));
  EXPECT_TRUE(Drawn(*kept, C::kOptionKind));
  ExpectRowsTakeTheListsWidth(d->List());
  ExpectHeadingOver(*d, "Type", *kept, C::kOptionKind);
  ExpectHeadingOver(*d, "Label", *kept, C::kOptionLabel);
}

TEST_F(ChannelRowsTest, TheManualScanMarksTheNewChannelsAndTheirSignal) {
  MenuRow(4);
  auto* d = Open<Channels::ManualTuningDialog>();
  ASSERT_NE(d, nullptr);
  Digits("19");  // carries 2-1 and 2-2
  Press("ok");
  Settle();
  // A station starts on 19 before the search: 2-3 is new to the list.
  std::vector<sim::AirChannel> air = sim::DefaultAir(0);
  air.push_back({2, 3, "Metro News", 19, -1, true});
  sim::SetAir(Tv(), 0, air);
  Press("ok");
  Run(3000);
  Settle();
  using Row = ListForm::ManualChannelItem;
  Row* row = RowOf<Row>(d->List(), "2-3");
  ASSERT_NE(row, nullptr);
  ASSERT_TRUE(row->IsNew);
  EXPECT_TRUE(Drawn(*row, C::kManualNew));
  EXPECT_TRUE(Drawn(*row, C::kManualBars));
  EXPECT_TRUE(Drawn(*row, C::kManualKind));
  ExpectRowsTakeTheListsWidth(d->List());
  ExpectHeadingOver(*d, "Type", *row, C::kManualKind);
  ExpectHeadingOver(*d, "New", *row, C::kManualNew);
}

TEST_F(ChannelRowsTest, TheScanResultShowsTheRfChannelAndTheKind) {
  ASSERT_NE(OpenScreen<Channels::AutoTuningConfirmDialog>(), nullptr);
  Press("ok");
  Settle();
  Run(4000);
  Settle();
  auto* d = Open<Channels::AutoTuningCompleteDialog>();
  ASSERT_NE(d, nullptr);
  using Row = ListForm::ChannelItem;
  Row* row = RowOf<Row>(d->List(), "4-2");
  ASSERT_NE(row, nullptr);
  EXPECT_TRUE(Drawn(*row, C::kResultPhysical));
  EXPECT_TRUE(Drawn(*row, C::kResultKind));
  EXPECT_TRUE(Drawn(*row, C::kResultLabel));
  EXPECT_FALSE(Drawn(*row, C::kResultSkip));  // a new map skips nothing
  ExpectRowsTakeTheListsWidth(d->List());
  ExpectHeadingOver(*d, "RF ch.", *row, C::kResultPhysical);
  ExpectHeadingOver(*d, "Type", *row, C::kResultKind);
  ExpectHeadingOver(*d, "Skip", *row, C::kResultSkip);
}

}  // namespace
}  // namespace channeltest
