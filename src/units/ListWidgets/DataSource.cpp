#include "units/ListWidgets/DataSource.h"

#include <string>

#include "platform/psl/psl.h"
#include "runtime/panic.h"
#include "runtime/ref.h"
#include "runtime/text.h"
#include "strings/ListWidgets.h"
#include "units/Resources/Bitmap.h"

KV_REGISTER_CLASS(ListWidgets::DataItem);
KV_REGISTER_CLASS(ListWidgets::DataSource);

namespace ListWidgets {

// --- Items -----------------------------------------------------------------------------

DataItem::DataItem() : Value(kv::LoadString(ITEM_VALUE)) {}

void DataItem::Select() {
  if (DataSource* g = Group()) g->OnSetCurrent(this);
}

bool DataItem::IsSelected() {
  DataSource* g = Group();
  return g && IsSameAsItem(g->OnGetCurrent());
}

bool DataItem::IsSameAsItem(DataItem* other) {
  DataSource* g = Group();
  if (g && g->Type == 2) return other && other->UID == UID;
  return other == this;
}

DataItem* DataItem::OnGetNext() {
  DataSource* g = Group();
  if (g && g->Type == 2) Next = g->GetNext(this);
  return Next.get();
}

DataItem* DataItem::OnGetPrev() {
  DataSource* g = Group();
  if (g && g->Type == 2) Prev = g->GetPrev(this);
  return Prev.get();
}

// --- Sources ---------------------------------------------------------------------------

void DataSource::BuildList() {
  if (Count != -1 || Type == 2) return;
  Count = 0;
  if (!First) {
    Last = nullptr;
    return;
  }
  DataItem* before = nullptr;
  DataItem* item = First.get();
  while (item) {
    if (before) item->Prev = before;
    if (ItemIsVisible(item)) ++Count;
    before = item;
    item = item->Next.get();
  }
  Last = before;
}

int32_t DataSource::OnGetCount() {
  BuildList();
  return Count;
}

DataItem* DataSource::OnGetFirst() {
  if (Type == 2) {
    First = GetItemAtAbsolute(0);
    return First.get();
  }
  BuildList();
  return First.get();
}

DataItem* DataSource::OnGetLast() {
  if (Type == 2) {
    Last = GetItemAtAbsolute(OnGetCount() - 1);
    return Last.get();
  }
  BuildList();
  return Last.get();
}

void DataSource::OnSetFirst(DataItem* item) {
  if (Type == 2) kv::Panic("ListWidgets::DataSource: OnSetFirst on an indexed source");
  First = item;
  if (Type == 1) Current = nullptr;
  Invalidate();
}

void DataSource::OnSetLast(DataItem* item) {
  if (Type == 2) kv::Panic("ListWidgets::DataSource: OnSetLast on an indexed source");
  Last = item;
  Invalidate();
}

DataItem* DataSource::OnGetCurrent() {
  BuildList();
  if (!Current) Current = OnGetFirst();
  return Current.get();
}

void DataSource::OnSetCurrent(DataItem* item) {
  Current = item;
  Notify();
}

int32_t DataSource::OnGetCursor() {
  const int32_t count = OnGetCount();
  if (Cursor < 0) Cursor = Current ? GetIndexOfVisible(Current.get()) : 0;
  if (count >= 1 && Cursor >= count) Cursor = count - 1;
  return Cursor;
}

void DataSource::OnSetCursor(int32_t n) {
  const int32_t count = OnGetCount();
  if (count >= 1 && n >= count) kv::Panic("ListWidgets::DataSource: cursor beyond the count");
  Cursor = n;
}

int32_t DataSource::MoveCursor(int32_t delta, uint16_t mode) {
  const int32_t count = OnGetCount();
  int32_t target = 0;
  if (mode == 0)
    target = delta;
  else if (mode == 1)
    target = OnGetCursor() + delta;
  else if (mode == 2)
    target = count + delta;
  const int32_t old = OnGetCursor();
  if (target >= count)
    Cursor = target - count;
  else if (target < 0)
    Cursor = target + count;
  else
    Cursor = target;
  return target - old;
}

DataItem* DataSource::GetItemAtRelative(int32_t offset) {
  const int32_t count = OnGetCount();
  if (count < 1) return GetItemAtAbsolute(0);
  const int32_t p = OnGetCursor() + offset;
  if (p >= count) return GetItemAtAbsolute(p - count);
  if (p < 0) return GetItemAtAbsolute(p + count);
  return GetItemAtAbsolute(p);
}

DataItem* DataSource::GetItemAtAbsolute(int32_t n) {
  if (Type == 2) kv::Panic("ListWidgets::DataSource: the indexed source answers no items of its own");
  if (n < 0) return nullptr;
  for (DataItem* item = First.get(); item; item = item->Next.get()) {
    if (!ItemIsVisible(item)) continue;
    if (n-- == 0) return item;
  }
  return nullptr;
}

DataItem* DataSource::GetItemByUID(int32_t uid) {
  const int32_t count = OnGetCount();
  for (int32_t i = 0; i < count; ++i)
    if (DataItem* item = GetItemAtAbsolute(i); item && item->UID == uid) return item;
  return nullptr;
}

int32_t DataSource::GetIndexOf(DataItem* item) {
  if (!item) kv::Panic("ListWidgets::DataSource: GetIndexOf of no item");
  if (Type == 2) return item->UID;
  int32_t i = 0;
  for (DataItem* it = First.get(); it; it = it->Next.get(), ++i)
    if (it == item) return i;
  return -1;
}

int32_t DataSource::GetIndexOfVisible(DataItem* item) {
  if (!item) kv::Panic("ListWidgets::DataSource: GetIndexOfVisible of no item");
  if (Type == 2) return item->UID;
  int32_t i = 0;
  for (DataItem* it = First.get(); it; it = it->Next.get()) {
    if (it == item) return i;
    if (ItemIsVisible(it)) ++i;
  }
  return -1;
}

DataItem* DataSource::GetNext(DataItem* item) {
  if (!item) kv::Panic("ListWidgets::DataSource: GetNext of no item");
  if (Type == 2) return GetItemAtAbsolute(item->UID + 1);
  return item->Next.get();
}

DataItem* DataSource::GetPrev(DataItem* item) {
  if (!item) kv::Panic("ListWidgets::DataSource: GetPrev of no item");
  if (Type == 2) return item->UID > 0 ? GetItemAtAbsolute(item->UID - 1) : nullptr;
  BuildList();
  return item->Prev.get();
}

bool DataSource::ItemIsVisible(DataItem* /*item*/) { return true; }

void DataSource::Insert(DataItem* item, bool flag, DataItem* reference) {
  if (Type != 1) kv::Panic("ListWidgets::DataSource: Insert outside an editable list");
  if (flag) kv::Panic("ListWidgets::DataSource: insertion before a reference is not supported");
  if (!item) return;
  if (!reference) {
    if (First || Last) kv::Panic("ListWidgets::DataSource: Insert without a reference into a non-empty list");
    First = item;
    Last = item;
    item->group = this;
    item->Prev = nullptr;
    item->Next = nullptr;
  } else {
    if (reference == Last.get()) Last = item;
    item->Next = reference->Next;
    item->Prev = reference;
    item->group = this;
    reference->Next = item;
  }
  Invalidate();
}

void DataSource::Remove(DataItem* item) {
  if (Type != 1) kv::Panic("ListWidgets::DataSource: Remove outside an editable list");
  if (!First) {
    if (item && Current == item) Current = nullptr;
    Invalidate();
    return;
  }
  DataItem* it = First.get();
  while (it && it != item) it = it->Next.get();
  if (!it) kv::Panic("ListWidgets::DataSource: Remove of an item that is not in the list");
  if (item->Prev)
    item->Prev->Next = item->Next;
  else
    OnSetFirst(item->Next.get());
  if (item->Next)
    item->Next->Prev = item->Prev;
  else
    Last = item->Prev;
  item->Prev = nullptr;
  item->Next = nullptr;
  item->group = nullptr;
  if (Current == item) Current = nullptr;
  Invalidate();
}

void DataSource::OnSetChanged(bool value) {
  if (!value) kv::Panic("ListWidgets::DataSource: OnSetChanged(false)");
  Changed = false;
  if (Type == 0) Count = -1;
  Notify();
}

void DataSource::Invalidate() {
  Count = -1;
  Notify();
}

void DataSource::Notify() { kv::NotifyObjObservers(this); }

void DataSource::PrintCursor() {
  DataItem* item = GetItemAtRelative(0);
  if (!item) {
    PslGuiSettingsPrintQaOutput(globalPsl, nullptr);
    return;
  }
  const kv::String sep = kv::LoadString(PATH_SEPARATOR);
  kv::String text = item->Caption;
  if (item->IsSelected()) text = kv::ConcatString(kv::LoadString(SELECTED_MARK), text);
  for (DataSource* g = item->Group(); g;) {
    auto* parent = kv::Cast<DataItem>(g->Parent.get());
    if (!parent) break;
    kv::String caption = parent->Caption;
    if (parent->IsSelected()) caption = kv::ConcatString(kv::LoadString(SELECTED_MARK), caption);
    text = kv::ConcatString(kv::ConcatString(caption, sep), text);
    g = parent->Group();
  }
  PslGuiSettingsPrintQaOutput(globalPsl, text.ToUtf8().c_str());
}

}  // namespace ListWidgets
