#include "units/Primitives/KeyRoutingListForm.h"

#include <algorithm>
#include <cstdint>

#include "runtime/slot.h"
#include "units/Forms/Ctrl.h"
#include "units/Forms/ImageIndicator.h"
#include "units/Primitives/KeyRoutingCtrl.h"

namespace Primitives {

KV_REGISTER_CLASS(Primitives::KeyRoutingListForm);

namespace {
// n * size, held within int32 (the cursor clamps at the ends anyway).
int32_t Times(int32_t n, int32_t size) {
  const int64_t v = static_cast<int64_t>(n) * size;
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}
}  // namespace

int32_t KeyRoutingListForm::MoveCursor(int32_t /*delta*/, int32_t /*mode*/) { return 0; }
kv::Object* KeyRoutingListForm::GetItemData(int32_t /*offset*/) { return nullptr; }
int32_t KeyRoutingListForm::GetItemsCount() { return 0; }
int32_t KeyRoutingListForm::GetCursorIndex() { return 0; }
void KeyRoutingListForm::UpdateScrollBar(int32_t /*count*/, int32_t /*position*/, int32_t /*page*/) {}

bool KeyRoutingListForm::IsItemValid(int32_t offset) { return GetItemData(offset) != nullptr; }

void KeyRoutingListForm::OnSetItemsPerRow(int32_t n) { ItemsPerRow = std::max(1, n); }

std::vector<Forms::Ctrl*> KeyRoutingListForm::GetRows() {
  std::vector<Forms::Ctrl*> rows;
  for (int32_t i = 0; i < GetChildCount(); ++i) {
    auto* ctrl = kv::Cast<Forms::Ctrl>(GetChild(i));
    if (ctrl && ctrl->IsVisible()) rows.push_back(ctrl);
  }
  return rows;
}

int32_t KeyRoutingListForm::GetFocusPosition() {
  Core::View* focus = OnGetFocus();
  if (!focus) return -1;
  std::vector<Forms::Ctrl*> rows = GetRows();
  auto it = std::find(rows.begin(), rows.end(), focus);
  return it == rows.end() ? -1 : static_cast<int32_t>(it - rows.begin());
}

void KeyRoutingListForm::FocusRow(const std::vector<Forms::Ctrl*>& rows, int32_t position) {
  if (position < 0 || position >= static_cast<int32_t>(rows.size())) return;
  Forms::Ctrl* row = rows[static_cast<size_t>(position)];
  if (OnGetFocus() != row) OnSetFocus(row);
}

int32_t KeyRoutingListForm::AdjustFocus(int32_t position, int32_t rowCount) {
  if (rowCount <= 0) return 0;
  const int32_t ipr = std::max(1, ItemsPerRow);
  const int32_t last = rowCount - 1;
  // Into range in whole rows, so that the column is kept.
  int64_t p = position;
  if (p < 0) p += ((-p + ipr - 1) / ipr) * ipr;
  if (p > last) p -= ((p - last + ipr - 1) / ipr) * ipr;
  position = static_cast<int32_t>(std::clamp<int64_t>(p, 0, last));
  // The first row shows items -position .. -position + ipr - 1: lower the
  // focus while none of them exists.
  while (position >= ipr && !IsItemValid(ipr - 1 - position)) position -= ipr;
  // Empty rows at the bottom, each raising the focus by one row while items
  // exist before the first row.
  const int32_t rowsOfCells = (rowCount + ipr - 1) / ipr;
  int32_t empty = 0;
  for (int32_t k = rowsOfCells - 1; k > 0 && !IsItemValid(k * ipr - position); --k) ++empty;
  while (empty > 0 && position + ipr <= last && IsItemValid(-position - 1)) {
    position += ipr;
    --empty;
  }
  return position;
}

void KeyRoutingListForm::FollowCursor(int32_t moved, int32_t wanted, bool adjust) {
  std::vector<Forms::Ctrl*> rows = GetRows();
  const int32_t rowCount = static_cast<int32_t>(rows.size());
  const int32_t focus = GetFocusPosition();
  int32_t rest = moved;
  if (!Fixed && focus >= 0) {
    const int32_t next = adjust ? AdjustFocus(wanted, rowCount) : std::clamp(wanted, 0, rowCount - 1);
    if (next != focus) FocusRow(rows, next);
    rest = moved - (next - focus);
  }
  DoScrollItems(rest);
}

int32_t KeyRoutingListForm::ScrollItems(int32_t n) {
  const int32_t focus = GetFocusPosition();
  const int32_t moved = MoveCursor(n, CURSOR_RELATIVE);
  FollowCursor(moved, focus + moved, true);
  kv::PostSignal(kv::MakeSlot(this, &KeyRoutingListForm::updateScrollBars));
  return moved;
}

int32_t KeyRoutingListForm::ScrollToFirst() {
  const int32_t moved = MoveCursor(0, CURSOR_FROM_FIRST);
  FollowCursor(moved, 0, false);
  kv::PostSignal(kv::MakeSlot(this, &KeyRoutingListForm::updateScrollBars));
  return moved;
}

int32_t KeyRoutingListForm::ScrollToLast() {
  const int32_t focus = GetFocusPosition();
  const int32_t moved = MoveCursor(0, CURSOR_FROM_LAST);
  FollowCursor(moved, focus + moved, true);
  kv::PostSignal(kv::MakeSlot(this, &KeyRoutingListForm::updateScrollBars));
  return moved;
}

int32_t KeyRoutingListForm::ScrollRows(int32_t n) {
  const int32_t moved = MoveCursor(Times(n, std::max(1, ItemsPerRow)), CURSOR_RELATIVE);
  const int32_t focus = GetFocusPosition();
  if (!Fixed && focus >= 0) {
    std::vector<Forms::Ctrl*> rows = GetRows();
    FocusRow(rows, AdjustFocus(focus + moved, static_cast<int32_t>(rows.size())));
  }
  Reload();
  return moved;
}

int32_t KeyRoutingListForm::ScrollPages(int32_t n) {
  std::vector<Forms::Ctrl*> rows = GetRows();
  const int32_t rowCount = static_cast<int32_t>(rows.size());
  const int32_t moved = MoveCursor(Times(n, rowCount), CURSOR_RELATIVE);
  const int32_t focus = GetFocusPosition();
  if (!Fixed && focus >= 0 && rowCount > 0) {
    const int32_t wanted = ((focus + moved) % rowCount + rowCount) % rowCount;
    FocusRow(rows, AdjustFocus(wanted, rowCount));
  }
  Reload();
  return moved;
}

void KeyRoutingListForm::DoScrollItems(int32_t n) {
  if (n == 0) return;
  if (n != 1 && n != -1) {
    Reload();
    return;
  }
  std::vector<Forms::Ctrl*> rows = GetRows();
  const int32_t count = static_cast<int32_t>(rows.size());
  if (count == 0) return;
  const int32_t focus = GetFocusPosition();
  const int32_t base = focus >= 0 ? focus : 0;
  if (count > 1) {
    // The row that scrolls out comes in at the other end: the rows keep
    // their places on screen and in child order, and only move round.
    std::vector<kv::Rect> places;
    for (Forms::Ctrl* r : rows) places.push_back(r->Bounds());
    Forms::Ctrl* moving = n > 0 ? rows.front() : rows.back();
    Forms::Ctrl* anchor = n > 0 ? rows.back() : rows.front();
    Restack(moving, GetChildIndex(anchor) - GetChildIndex(moving));
    if (n > 0)
      std::rotate(rows.begin(), rows.begin() + 1, rows.end());
    else
      std::rotate(rows.rbegin(), rows.rbegin() + 1, rows.rend());
    for (int32_t r = 0; r < count; ++r) {
      rows[static_cast<size_t>(r)]->OnSetBounds(places[static_cast<size_t>(r)]);
      if (auto* krc = kv::Cast<KeyRoutingCtrl>(rows[static_cast<size_t>(r)])) krc->Position = r;
    }
    // The focus stays at its position, now held by another row.
    if (focus >= 0) FocusRow(rows, focus);
  }
  const int32_t fresh = n > 0 ? count - 1 : 0;
  if (auto* row = kv::Cast<KeyRoutingCtrl>(rows[static_cast<size_t>(fresh)]))
    row->SetData(GetItemData(fresh - base));
}

void KeyRoutingListForm::Reload() {
  kv::PostSignal(kv::MakeSlot(this, &KeyRoutingListForm::forceReload));
  kv::PostSignal(kv::MakeSlot(this, &KeyRoutingListForm::updateScrollBars));
}

void KeyRoutingListForm::forceReload(kv::Object* /*sender*/) {
  std::vector<Forms::Ctrl*> rows = GetRows();
  const int32_t count = static_cast<int32_t>(rows.size());
  if (count == 0) return;
  int32_t focus = GetFocusPosition();
  const bool hasCursorItem = IsItemValid(0);
  if (focus < 0 && hasCursorItem) {
    FocusRow(rows, 0);
    focus = GetFocusPosition();
  }
  if (!Fixed && focus >= 0) {
    const int32_t adjusted = AdjustFocus(focus, count);
    if (adjusted != focus) {
      FocusRow(rows, adjusted);
      focus = GetFocusPosition();
    }
  }
  const int32_t base = focus >= 0 ? focus : 0;
  for (int32_t r = 0; r < count; ++r) {
    if (auto* row = kv::Cast<KeyRoutingCtrl>(rows[static_cast<size_t>(r)])) {
      row->Position = r;
      row->SetData(GetItemData(r - base));
    }
  }
  if (!hasCursorItem && !Fixed && OnGetFocus()) OnSetFocus(nullptr);
}

void KeyRoutingListForm::updateScrollBars(kv::Object* /*sender*/) {
  const int32_t count = static_cast<int32_t>(GetRows().size());
  const int32_t focus = GetFocusPosition();
  const int32_t base = focus >= 0 ? focus : 0;
  if (PrevIndicator) PrevIndicator->OnSetEnabled(IsItemValid(-base - 1));
  if (NextIndicator) NextIndicator->OnSetEnabled(IsItemValid(count - base));
  UpdateScrollBar(GetItemsCount(), GetCursorIndex(), count);
}

}  // namespace Primitives
