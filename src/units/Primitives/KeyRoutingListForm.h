// Primitives::KeyRoutingListForm: the virtual list engine under every
// scrolling list and grid.
//
// A subclass owns the data: a cursor over its items, moved by MoveCursor,
// and GetItemData(offset), the item `offset` places from the cursor (null
// where there is none). The rows are the form's visible Forms::Ctrl
// children in child order (rows hidden by the subclass do not count); each
// key-routing row shows one item through SetData. The focused row shows the
// cursor item, so row r shows GetItemData(r - f), f being the focused row's
// position (0 when no row has the focus).
//
// With ItemsPerRow above 1 the rows form a grid of that many columns. With
// Fixed set the focus stays on its row and the items scroll under it;
// otherwise the focus follows the cursor and the rows scroll only when the
// cursor leaves them. Either way the first row never shows an item before
// the first one, and when items exist before the first row no empty row is
// left at the bottom (the last page is full).
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/member.h"
#include "units/Primitives/KeyRoutingForm.h"

namespace Forms {
class Ctrl;
class ImageIndicator;
}  // namespace Forms

namespace Primitives {

// Modes of MoveCursor.
inline constexpr int32_t CURSOR_FROM_FIRST = 0;  // to the first item + delta
inline constexpr int32_t CURSOR_RELATIVE = 1;    // by delta
inline constexpr int32_t CURSOR_FROM_LAST = 2;   // to the last item + delta

class KeyRoutingListForm : public KeyRoutingForm {
  KV_CLASS(Primitives, KeyRoutingListForm, KeyRoutingForm)
 public:
  KeyRoutingListForm() = default;

  // The data of the subclass. MoveCursor answers the distance the cursor
  // actually moved; the base has no items (0, null, 0).
  virtual int32_t MoveCursor(int32_t delta, int32_t mode);
  virtual kv::Object* GetItemData(int32_t offset);
  virtual int32_t GetItemsCount();
  // The cursor's index among the items, for the scroll bar; the base answers 0.
  virtual int32_t GetCursorIndex();
  // The scroll bar, if the list has one: number of items, cursor index and
  // rows per page. The base has none.
  virtual void UpdateScrollBar(int32_t count, int32_t position, int32_t page);

  // GetItemData(offset) is not null. A list that knows without making the
  // item's data answers the same from what it knows.
  virtual bool IsItemValid(int32_t offset);

  // The focus row for a wanted `position` among `rowCount` rows: brought into
  // 0..rowCount-1 in steps of ItemsPerRow (the column is kept), lowered while
  // the first row would show no item, then raised by the number of empty
  // rows at the bottom as far as items exist before the first row.
  int32_t AdjustFocus(int32_t position, int32_t rowCount);

  // Each scroll answers the distance the cursor moved and posts
  // updateScrollBars.
  // Moves the cursor by n items; the focus follows as far as the rows allow,
  // the rows scroll by the rest (DoScrollItems).
  virtual int32_t ScrollItems(int32_t n);
  // Moves the cursor by n rows (n * ItemsPerRow items) and reloads.
  virtual int32_t ScrollRows(int32_t n);
  // Moves the cursor by n pages (n * row count items); the focus keeps its
  // row (modulo the row count, then adjusted); reloads.
  virtual int32_t ScrollPages(int32_t n);
  // Cursor to the first item, focus to the first row.
  int32_t ScrollToFirst();
  // Cursor to the last item, focus as low as the rows allow.
  int32_t ScrollToLast();

  // Scrolls the rows by n items: +1 or -1 moves the rows round by one place
  // and fills only the row that came in; other amounts post Reload; 0 does
  // nothing.
  virtual void DoScrollItems(int32_t n);

  // Posts forceReload and updateScrollBars (several reloads in one pass cost one).
  void Reload();
  // Refills every row from the cursor (see the class comment); with no
  // focused row and an item at the cursor the first row takes the focus;
  // unless Fixed the focus row is adjusted, and with no item at the cursor
  // no row keeps the focus. A slot; grids and lists extend it.
  virtual void forceReload(kv::Object* sender = nullptr);
  // Enables PrevIndicator when an item exists before the first row and
  // NextIndicator when one exists after the last row, and updates the
  // scroll bar. A slot; grids and lists extend it.
  virtual void updateScrollBars(kv::Object* sender = nullptr);

  // Values below 1 become 1.
  void OnSetItemsPerRow(int32_t n);
  int32_t OnGetItemsPerRow() const { return ItemsPerRow; }

  // The rows, in order, and the focused row's position among them (-1: none).
  std::vector<Forms::Ctrl*> GetRows();
  int32_t GetFocusPosition();

  int32_t ItemsPerRow = 1;
  bool Fixed = false;
  kv::Member<Forms::ImageIndicator> PrevIndicator;
  kv::Member<Forms::ImageIndicator> NextIndicator;

 private:
  // Moves the focus to row `position` (nothing when it is already there).
  void FocusRow(const std::vector<Forms::Ctrl*>& rows, int32_t position);
  // After the cursor moved by `moved`: the focus follows to `wanted` (unless
  // Fixed or no row is focused) and the rows scroll by the rest.
  void FollowCursor(int32_t moved, int32_t wanted, bool adjust);
};

}  // namespace Primitives
