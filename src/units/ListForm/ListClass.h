// ListForm::ListClass: the one list engine behind every scrolling list, its
// data source ListForm::ListDataSource and its base row ListForm::ListItem.
//
// A list owns MaxRows rows of ItemClass, created the first time ItemNum is
// set and afterwards only shown or hidden, and one data source holding the
// number of items and the cursor. Rows hold no data of their own: row r
// shows the item at its distance from the focused row, delivered as a fresh
// courier (ListForm::ListCourier or a subclass) that the data source builds
// by the exact class of the asking list (ListGetters.h holds the table).
//
// Keys: DecreaseKey / IncreaseKey move one item (ListMode) or one row (row
// mode), wrapping when WrapAround is set; PageUpKey / PageDownKey move a page
// and never wrap. After a handled key FocusMove is signalled; when the items
// scrolled under a focus that stayed on its row, OnFocusOption is signalled
// too (with the list as sender), since no row reported a focus change.
#pragma once

#include <cstdint>

#include "keys/keycodes.h"
#include "runtime/member.h"
#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/Button/Button.h"
#include "units/Primitives/KeyRoutingListForm.h"

namespace Resources {
class Bitmap;
}

namespace ListForm {

class ListClass;

// Number of source-index icons a data source offers (InputListSource0..9).
inline constexpr int32_t kSourceIconCount = 10;

class ListDataSource : public kv::Object {
  KV_CLASS(ListForm, ListDataSource, kv::Object)
 public:
  ListDataSource() = default;

  // Moves the cursor: mode 0 to `delta`, 1 by `delta`, 2 to the last item +
  // `delta`, clamped to 0..Num-1 (-1 without items); any other mode to the
  // first item. Answers the distance actually moved.
  int32_t MoveCursor(int32_t delta, int32_t mode);
  // The courier of item Cursor + offset for `list`, chosen by the list's
  // exact class; null outside the items or for a class without a getter.
  kv::Object* GetItemData(ListClass* list, int32_t offset);
  // Item Cursor + offset exists and `list` has a getter: for a list whose
  // getter gives data for every item, GetItemData would not be null.
  bool HasItem(ListClass* list, int32_t offset) const;
  // The same for a grid of class `cls` (its getter is handed no list).
  kv::Object* GetItemDataOf(const kv::Class* cls, int32_t offset);
  // Icon n of the input rows (null for n outside 0..9).
  Resources::Bitmap* GetSourceIcon(int32_t n);

  int32_t OnGetCursor() const { return Cursor; }
  void OnSetCursor(int32_t v) { Cursor = v; }
  int32_t OnGetNum() const { return Num; }
  void OnSetNum(int32_t v) { Num = v; }
  int32_t OnGetParam() const { return Param; }
  void OnSetParam(int32_t v) { Param = v; }

  int32_t Cursor = 0;
  int32_t Num = 0;
  int32_t Param = 0;
  kv::String StringParam;
  kv::MemberVector<Resources::Bitmap> SourceIcons;

 private:
  // Cursor + offset is one of the items.
  bool InRange(int32_t offset) const;
};

// The base row: an icon button that shows a courier's text.
class ListItem : public ::Button::IconButton {
  KV_CLASS(ListForm, ListItem, ::Button::IconButton)
 public:
  ListItem();

  // A ListForm::ListCourier sets Text and ItemIndex; anything else (null
  // included) leaves the row as it is.
  void SetData(kv::Object* data) override;
  // Writes Text and ItemIndex into `data` when it is a courier, else into a
  // new ListForm::ListCourier, and answers it.
  kv::Object* GetData(kv::Object* data) override;

  int32_t OnGetItemIndex() const { return ItemIndex; }
  void OnSetItemIndex(int32_t v) { ItemIndex = v; }

  int32_t ItemIndex = 0;

 protected:
  // Only the control that takes the keys looks focused: `state` as shown by
  // a row whose list shares its screen with other controls. The list's
  // focused row looks like its neighbours (or disabled) while another
  // control of the screen has the focus; the list refreshes it when it
  // gains or loses the focus (ListClass::HandleFocus).
  int32_t FocusedOnlyWithList(int32_t state);
  // The same, and only while the screen that holds the list takes the keys
  // too: a screen opened over it (the record timer over the guide) leaves no
  // focus bar showing beside it.
  int32_t FocusedOnlyWithScreen(int32_t state);
};

class ListClass : public Primitives::KeyRoutingListForm {
  KV_CLASS(ListForm, ListClass, Primitives::KeyRoutingListForm)
 public:
  ListClass();

  // Per-kind hooks.
  virtual void LockDisabledItems(bool lock);
  // The previous (direction < 1) or next row in row order, wrapping; null
  // for a null row.
  virtual Forms::Ctrl* GetScrolledItem(Forms::Ctrl* row, int32_t direction);
  virtual void InitializeItems();
  virtual int32_t GetFocusItemIndex();
  virtual int32_t GetItemsNum();
  virtual kv::String GetStringParam();

  // Start-up: counts the items, makes the rows, the data source (once) and
  // opens on GetFocusItemIndex().
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  // Places the rows (ArrangeMode 0 left to right, 1 top to bottom).
  void Refresh() override;
  kv::Object* HandleEvent(Core::Event* event) override;
  // A change of size posts a Refresh; a move alone does not.
  void OnSetBounds(kv::Rect bounds) override;
  // The focused row takes the look the list's own focus gives it (see
  // ListItem::FocusedOnlyWithList).
  void HandleFocus(bool focused) override;

  int32_t MoveCursor(int32_t delta, int32_t mode) override;
  kv::Object* GetItemData(int32_t offset) override;
  int32_t GetItemsCount() override;
  int32_t GetCursorIndex() override;

  // Rows shown: clamped to 0..MaxRows; the first call creates the rows.
  void OnSetItemNum(int32_t n);
  int32_t OnGetItemNum() const { return ItemNum; }
  // Item n (1-based) becomes the cursor item.
  void OnSetCurrentItemIndex(int32_t n);
  // The item of GetFocusItemIndex() becomes the cursor item: the list opens,
  // or comes back after a reload, on it. An index given from outside (a
  // screen's value) as the largest there is stays the last item, whole.
  void FocusOnFocusItem();
  // The focused row's position + 1, 0 when no row has the focus.
  int32_t OnGetCurrentItemIndex();
  // Stores the source and posts a reload when it changed.
  void OnSetDataSource(ListDataSource* source);
  ListDataSource* OnGetDataSource() const { return DataSource.get(); }

  // Every row ever created, visible or not, in child order.
  std::vector<Forms::Ctrl*> GetAllRows();
  // The focused row, or null.
  Forms::Ctrl* GetFocusedRow();
  // Posts Refresh (a slot).
  void PostRefresh();

  bool WrapAround = true;
  bool ListMode = true;
  uint16_t DecreaseKey = keys::KEY_UP;
  uint16_t IncreaseKey = keys::KEY_DOWN;
  uint16_t PageUpKey = keys::KEY_NONE;
  uint16_t PageDownKey = keys::KEY_NONE;
  uint16_t ArrangeMode = 1;
  // Rows of a top-to-bottom list take the list's width less ItemXOffset on
  // each side (set by lists whose rows lay out columns across that width).
  bool RowsTakeWidth = false;
  int32_t ItemXOffset = 0;
  int32_t ItemYOffset = 0;
  int32_t ItemInterval = 0;
  int32_t LastItemIndex = 0;
  int32_t CurrentItemIndex = 0;
  kv::Slot OnActivateOption;
  kv::Slot OnFocusOption;
  kv::Slot OnUnfocusOption;
  int32_t ItemNum = -1;
  const kv::Class* ItemClass = nullptr;
  kv::Member<ListDataSource> DataSource;
  kv::Slot FocusMove;
  kv::Slot OnExit;
  int32_t MaxRows = 0;

 protected:
  // Moves the focus to `row` in row mode, keeping the cursor on the
  // focused row's item so that a later reload shows the same items.
  void FocusRowKeepingItems(Forms::Ctrl* row);

 private:
  void RefreshSlot(kv::Object* sender);
  void HandleRowModeKey(bool forward);
};

}  // namespace ListForm
