// The generic list model of the media part: ListWidgets::DataSource owns a
// chain of ListWidgets::DataItem objects (or, in mode 2, answers items by
// index from a derived class), with a current item, a cursor over the
// visible items and a change notification to its observers
// (kv::AttachObjObserver on the source).
//
// Modes (`Type`): 0 a built chain linked by `Next` (`Prev`, `Last` and
// `Count` rebuilt on demand), 1 an editable chain changed only through
// Insert and Remove, 2 an indexed source (OnGetCount and GetItemAtAbsolute of
// the derived class; an item's UID is its index). Misuse of the model is a
// programming error and panics; searches that find nothing answer null or -1.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/object.h"
#include "runtime/string.h"

namespace Resources {
class Bitmap;
}

namespace ListWidgets {

class DataSource;

class DataItem : public kv::Object {
  KV_CLASS(ListWidgets, DataItem, kv::Object)
 public:
  DataItem();

  // Makes the item current in its group (nothing without a group).
  virtual void Select();
  virtual void Release() {}

  // The source holding the item: `group`, else the item's owner when that
  // is a data source (none here: items are never embedded in sources but
  // the top list's fixed entries, which set `group`).
  DataSource* Group() const { return group.get(); }
  bool IsSelected();
  // In a mode 2 group equal UIDs, else the same object.
  bool IsSameAsItem(DataItem* other);
  void Acquire() {}
  bool IsEnabled() const { return true; }
  // Neighbours; in a mode 2 group asked of the group (UID + 1, UID - 1) and kept.
  DataItem* OnGetNext();
  DataItem* OnGetPrev();

  int32_t UID = 0;
  kv::Member<Resources::Bitmap> Bitmap;
  const kv::Class* MenuClass = nullptr;
  const kv::Class* InfoClass = nullptr;
  const kv::Class* DataSourceClass = nullptr;
  kv::Member<DataSource> group;
  kv::Member<DataItem> Prev;
  kv::Member<DataItem> Next;
  kv::String Caption;
  kv::String Value;
  int32_t SubUID = 0;
};

class DataSource : public kv::Object {
  KV_CLASS(ListWidgets, DataSource, kv::Object)
 public:
  DataSource() = default;

  // Mode 1: links the item after `reference` (or as the only item); a set
  // flag, or no reference into a non-empty chain, panics.
  virtual void Insert(DataItem* item, bool flag, DataItem* reference);
  // Mode 1: unlinks the item (an item not in the chain panics).
  virtual void Remove(DataItem* item);
  // Only true is accepted: mode 0 drops its count; observers are notified.
  virtual void OnSetChanged(bool value);
  virtual bool ItemIsVisible(DataItem* item);
  virtual void OnSetCurrent(DataItem* item);
  virtual DataItem* OnGetCurrent();
  virtual int32_t OnGetCount();
  // The n-th visible item, or null (mode 2: the derived class answers).
  virtual DataItem* GetItemAtAbsolute(int32_t n);

  void BuildList();
  DataItem* OnGetFirst();
  DataItem* OnGetLast();
  void OnSetFirst(DataItem* item);
  void OnSetLast(DataItem* item);
  int32_t OnGetCursor();
  void OnSetCursor(int32_t n);
  // Mode 0 absolute, 1 relative, 2 from the end; the signed distance moved
  // before the one wrap.
  int32_t MoveCursor(int32_t delta, uint16_t mode);
  DataItem* GetItemAtRelative(int32_t offset);
  DataItem* GetItemByUID(int32_t uid);
  int32_t GetIndexOf(DataItem* item);
  int32_t GetIndexOfVisible(DataItem* item);
  DataItem* GetNext(DataItem* item);
  DataItem* GetPrev(DataItem* item);
  void Invalidate();
  void Notify();
  // Diagnostic: the caption path of the item at the cursor, to the media
  // service's QA output.
  void PrintCursor();

  uint16_t OnGetType() const { return Type; }
  void OnSetType(uint16_t type) { Type = type; }
  void OnSetCount(int32_t count) { Count = count; }

  bool Changed = false;
  uint16_t Type = 0;
  kv::Member<kv::Object> Parent;
  kv::Member<kv::Object> RootObject;
  kv::Member<DataItem> First;
  kv::Member<DataItem> Last;
  kv::Member<DataItem> Current;
  int32_t Cursor = -1;
  int32_t Count = -1;
  kv::Member<DataItem> EmptyItem;
};

}  // namespace ListWidgets
