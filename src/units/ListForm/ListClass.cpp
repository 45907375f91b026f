#include "units/ListForm/ListClass.h"

#include <algorithm>
#include <cstdint>

#include "keys/keycodes.h"
#include "units/Colors/Colors.h"
#include "units/Core/Event.h"
#include "units/Core/Log.h"
#include "units/Fonts/Fonts.h"
#include "units/ListForm/ListCourier.h"
#include "units/ListForm/ListGetters.h"
#include "units/ListForm/RowColumns.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/Resources/Resources.h"

namespace ListForm {

using namespace keys;

KV_REGISTER_CLASS(ListForm::ListDataSource);
KV_REGISTER_CLASS(ListForm::ListItem);
KV_REGISTER_CLASS(ListForm::ListClass);

// --- ListDataSource ---------------------------------------------------------

int32_t ListDataSource::MoveCursor(int32_t delta, int32_t mode) {
  const int32_t old = Cursor;
  int64_t target = 0;
  switch (mode) {
    case Primitives::CURSOR_FROM_FIRST: target = delta; break;
    case Primitives::CURSOR_RELATIVE: target = static_cast<int64_t>(Cursor) + delta; break;
    case Primitives::CURSOR_FROM_LAST: target = static_cast<int64_t>(Num) - 1 + delta; break;
    default: target = 0; break;
  }
  target = std::max<int64_t>(target, 0);
  target = std::min<int64_t>(target, static_cast<int64_t>(Num) - 1);
  Cursor = static_cast<int32_t>(target);
  return Cursor - old;
}

bool ListDataSource::InRange(int32_t offset) const {
  const int64_t i = static_cast<int64_t>(Cursor) + offset;
  return i >= 0 && i <= static_cast<int64_t>(Num) - 1;
}

kv::Object* ListDataSource::GetItemData(ListClass* list, int32_t offset) {
  const ItemGetter getter = list && InRange(offset) ? FindItemGetter(kv::ClassOf(list)) : nullptr;
  return getter ? getter(this, list, Cursor + offset) : nullptr;
}

bool ListDataSource::HasItem(ListClass* list, int32_t offset) const {
  return list && InRange(offset) && FindItemGetter(kv::ClassOf(list));
}

kv::Object* ListDataSource::GetItemDataOf(const kv::Class* cls, int32_t offset) {
  const ItemGetter getter = cls && InRange(offset) ? FindItemGetter(cls) : nullptr;
  return getter ? getter(this, nullptr, Cursor + offset) : nullptr;
}

Resources::Bitmap* ListDataSource::GetSourceIcon(int32_t n) {
  if (n < 0 || n >= kSourceIconCount) return nullptr;
  if (SourceIcons.empty()) {
    for (int32_t k = 0; k < kSourceIconCount; ++k) SourceIcons.push_back(Resources::LoadResource(*SourceIconIds()[k]));
  }
  return SourceIcons[static_cast<size_t>(n)];
}

// --- ListItem -----------------------------------------------------------------

ListItem::ListItem() {
  OnSetBounds({0, 0, 250, 27});
  OnSetTextFont(Resources::LoadResource(Fonts::MediumFont));
  OnSetNonfocused_TextColor(Colors::StandardTextColor);
  OnSetDefault_TextColor(Colors::StandardTextColor);
  OnSetFocused_TextColor(Colors::White);
  OnSetDisabled_TextColor(Colors::DisableTextColor);
}

void ListItem::SetData(kv::Object* data) {
  auto* courier = kv::Cast<ListCourier>(data);
  if (!courier) return;
  OnSetText(courier->Text);
  ItemIndex = courier->ItemIndex;
}

kv::Object* ListItem::GetData(kv::Object* data) {
  auto* courier = kv::Cast<ListCourier>(data);
  if (!courier) courier = kv::New<ListCourier>();
  courier->Text = OnGetText();
  courier->ItemIndex = ItemIndex;
  return courier;
}

int32_t ListItem::FocusedOnlyWithList(int32_t state) {
  return ::Button::StateShown(*this, state, ::Button::OwnersFocused(*this, 1));
}

int32_t ListItem::FocusedOnlyWithScreen(int32_t state) {
  return ::Button::StateShown(*this, state, ::Button::OwnersFocused(*this, 2));
}

// --- ListClass ----------------------------------------------------------------

Primitives::KeyRoutingCtrl* NewRow(const kv::Class* cls, const kv::Class* owner) {
  auto* row = kv::Cast<Primitives::KeyRoutingCtrl>(kv::NewObjectIndirect(cls));
  if (!row) {
    Core::LogError("%$: %$ is not a row class", {owner, cls});
    return nullptr;
  }
  if (auto* button = kv::Cast<::Button::ButtonClass>(row)) button->Refresh();
  return row;
}

ListClass::ListClass() {
  // A list takes no action on time-out: its owner times out.
  OnTimeOut = kv::Slot();
  OnSetTimeOutValue(0);
}

void ListClass::LockDisabledItems(bool /*lock*/) {}
void ListClass::InitializeItems() {}
int32_t ListClass::GetFocusItemIndex() { return 0; }
int32_t ListClass::GetItemsNum() { return 1; }
kv::String ListClass::GetStringParam() { return {}; }

Forms::Ctrl* ListClass::GetScrolledItem(Forms::Ctrl* row, int32_t direction) {
  if (!row) return nullptr;
  std::vector<Forms::Ctrl*> rows = GetRows();
  auto it = std::find(rows.begin(), rows.end(), row);
  if (it == rows.end() || rows.empty()) return nullptr;
  const auto n = static_cast<int64_t>(rows.size());
  int64_t p = (it - rows.begin()) + (direction >= 1 ? 1 : -1);
  p = (p % n + n) % n;
  return rows[static_cast<size_t>(p)];
}

std::vector<Forms::Ctrl*> ListClass::GetAllRows() {
  std::vector<Forms::Ctrl*> rows;
  for (int32_t i = 0; i < GetChildCount(); ++i)
    if (auto* ctrl = kv::Cast<Forms::Ctrl>(GetChild(i))) rows.push_back(ctrl);
  return rows;
}

Forms::Ctrl* ListClass::GetFocusedRow() { return kv::Cast<Forms::Ctrl>(OnGetFocus()); }

void ListClass::Initialize(Primitives::KeyRoutingParameter* param) {
  KeyRoutingListForm::Initialize(param);
  const int32_t n = std::max(0, GetItemsNum());
  const kv::String s = GetStringParam();
  OnSetItemNum(std::min(n, MaxRows));
  if (!DataSource) {
    auto* source = kv::New<ListDataSource>();
    source->Num = n;
    source->StringParam = s;
    OnSetDataSource(source);
  } else {
    DataSource->Num = n;
    DataSource->StringParam = s;
    Reload();
  }
  InitializeItems();
  FocusOnFocusItem();
}

void ListClass::FocusOnFocusItem() {
  const int32_t index = GetFocusItemIndex();
  OnSetCurrentItemIndex(index < INT32_MAX ? index + 1 : INT32_MAX);
}

void ListClass::OnSetItemNum(int32_t n) {
  if (n < 0 || n > MaxRows) {
    Core::LogError("ListForm::ListClass: %i rows asked of %$, which has %i", {n, kv::ClassOf(this), MaxRows});
    n = std::clamp(n, 0, std::max(0, MaxRows));
  }
  if (n == ItemNum) return;
  int32_t previous = ItemNum;
  ItemNum = n;
  if (!ItemClass) return;
  if (previous < 0) {
    for (int32_t r = 0; r < MaxRows; ++r) {
      auto* row = NewRow(ItemClass, kv::ClassOf(this));
      if (!row) break;
      row->OnActivate = OnActivateOption;
      row->OnFocus = OnFocusOption;
      row->OnUnfocus = OnUnfocusOption;
      row->OnSetTag(r);
      row->Position = r;
      Add(row);
    }
    RefreshSlot(this);
    previous = MaxRows;
  }
  std::vector<Forms::Ctrl*> rows = GetAllRows();
  const auto count = static_cast<int32_t>(rows.size());
  for (int32_t r = std::min(previous, count) - 1; r >= n; --r) {
    rows[static_cast<size_t>(r)]->OnSetVisible(false);
    rows[static_cast<size_t>(r)]->OnSetEnabled(false);
  }
  for (int32_t r = previous; r < std::min(n, count); ++r) {
    rows[static_cast<size_t>(r)]->OnSetVisible(true);
    rows[static_cast<size_t>(r)]->OnSetEnabled(true);
  }
}

void ListClass::OnSetCurrentItemIndex(int32_t n) {
  CurrentItemIndex = n;
  ScrollToFirst();
  ScrollItems(n - 1);
}

int32_t ListClass::OnGetCurrentItemIndex() {
  const int32_t value = GetFocusPosition() + 1;
  if (value != CurrentItemIndex) {
    LastItemIndex = CurrentItemIndex;
    CurrentItemIndex = value;
  }
  return value;
}

void ListClass::OnSetDataSource(ListDataSource* source) {
  if (DataSource.get() == source) return;
  DataSource = source;
  Reload();
}

int32_t ListClass::MoveCursor(int32_t delta, int32_t mode) {
  return DataSource ? DataSource->MoveCursor(delta, mode) : 0;
}

kv::Object* ListClass::GetItemData(int32_t offset) {
  return DataSource ? DataSource->GetItemData(this, offset) : nullptr;
}

int32_t ListClass::GetItemsCount() { return DataSource ? DataSource->Num : 0; }
int32_t ListClass::GetCursorIndex() { return DataSource ? DataSource->Cursor : 0; }

void ListClass::PostRefresh() { kv::PostSignal(kv::MakeSlot(this, &ListClass::RefreshSlot)); }
void ListClass::RefreshSlot(kv::Object* /*sender*/) { Refresh(); }

void ListClass::Refresh() {
  LockDisabledItems(true);
  if (ArrangeMode == 0 || ArrangeMode == 1) {
    kv::Point at{ItemXOffset, ItemYOffset};
    const int32_t rowWidth = std::max(0, Bounds().W() - 2 * ItemXOffset);
    for (Forms::Ctrl* row : GetAllRows()) {
      kv::Rect b = row->Bounds();
      if (RowsTakeWidth && ArrangeMode == 1) b.x2 = b.x1 + rowWidth;
      row->OnSetBounds(b.MoveTo(at));
      if (ArrangeMode == 0)
        at.x += b.W() + ItemInterval;
      else
        at.y += b.H() + ItemInterval;
    }
  }
  LockDisabledItems(false);
}

int32_t RowWidth(ListClass& list) {
  if (list.RowsTakeWidth && list.ArrangeMode == 1) return std::max(0, list.Bounds().W() - 2 * list.ItemXOffset);
  std::vector<Forms::Ctrl*> rows = list.GetAllRows();
  return rows.empty() ? 0 : rows.front()->Bounds().W();
}

std::pair<int32_t, int32_t> ColumnEdges(ListClass& list, const RowColumn& column) {
  const int32_t width = RowWidth(list);
  const int32_t left = list.Bounds().x1 + list.ItemXOffset;
  return {left + column.Left(width), left + column.Right(width)};
}

void PlaceHeadings(ListClass& list, const std::vector<ColumnHeading>& headings, int32_t top, int32_t bottom) {
  std::vector<int32_t> lefts;
  for (const ColumnHeading& h : headings) lefts.push_back(ColumnEdges(list, h.column).first);
  for (size_t i = 0; i < headings.size(); ++i) {
    if (!headings[i].view) continue;
    int32_t right = list.Bounds().x2;
    for (int32_t x : lefts)
      if (x > lefts[i]) right = std::min(right, x - 4);
    const int32_t shift = headings[i].view->Owner() == &list ? list.Bounds().x1 : 0;
    headings[i].view->OnSetBounds({lefts[i] - shift, top, std::max(lefts[i], right) - shift, bottom});
  }
}

void ListClass::OnSetBounds(kv::Rect bounds) {
  const kv::Rect old = Bounds();
  KeyRoutingListForm::OnSetBounds(bounds);
  if (old.W() != bounds.W() || old.H() != bounds.H()) PostRefresh();
}

void ListClass::HandleFocus(bool focused) {
  KeyRoutingListForm::HandleFocus(focused);
  if (auto* row = kv::Cast<::Button::ButtonClass>(GetFocusedRow())) row->RefreshCtrlState(row->GetCtrlState());
}

void ListClass::FocusRowKeepingItems(Forms::Ctrl* row) {
  const int32_t before = GetFocusPosition();
  OnSetFocus(row);
  const int32_t after = GetFocusPosition();
  if (DataSource && before >= 0 && after >= 0 && DataSource->Cursor >= 0) DataSource->Cursor += after - before;
}

void ListClass::HandleRowModeKey(bool forward) {
  Forms::Ctrl* focused = GetFocusedRow();
  if (!focused) return;
  auto* next = kv::Cast<ListItem>(GetScrolledItem(focused, forward ? 1 : -1));
  if (next) {
    FocusRowKeepingItems(next);
    return;
  }
  if (!WrapAround) return;
  std::vector<Forms::Ctrl*> rows = GetRows();
  if (!rows.empty()) FocusRowKeepingItems(forward ? rows.back() : rows.front());
}

kv::Object* ListClass::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return KeyRoutingListForm::HandleEvent(event);
  Forms::Ctrl* r0 = GetFocusedRow();
  const int32_t c0 = DataSource ? DataSource->Cursor : 0;
  const uint16_t code = key->Code;
  if (code == DecreaseKey) {
    if (ListMode) {
      if (ScrollItems(-1) == 0 && WrapAround) ScrollToLast();
    } else {
      HandleRowModeKey(false);
    }
  } else if (code == IncreaseKey) {
    if (ListMode) {
      if (ScrollItems(1) == 0 && WrapAround) ScrollToFirst();
    } else {
      HandleRowModeKey(true);
    }
  } else if (ListMode && code != KEY_NONE && code == PageUpKey) {
    ScrollPages(-1);
  } else if (ListMode && code != KEY_NONE && code == PageDownKey) {
    ScrollPages(1);
  } else {
    return KeyRoutingListForm::HandleEvent(event);
  }
  if (DataSource && GetFocusedRow() == r0 && DataSource->Cursor != c0) kv::Signal(OnFocusOption, this);
  kv::Signal(FocusMove, this);
  return this;
}

}  // namespace ListForm
