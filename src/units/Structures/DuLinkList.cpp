#include "units/Structures/DuLinkList.h"

#include "runtime/trace.h"

namespace Structures {

KV_REGISTER_CLASS(Structures::DuLinkList);

bool DuLinkList::CheckNew(kv::Object* item, const char* op) const {
  if (!item) {
    kv::Log(kv::FormatTrace("Structures::DuLinkList::%s: null element refused", {op}));
    return false;
  }
  if (Contains(item)) {
    kv::Log(kv::FormatTrace("Structures::DuLinkList::%s: %* is already in the list", {op, item}));
    return false;
  }
  return true;
}

bool DuLinkList::Append(kv::Object* item) {
  if (!CheckNew(item, "Append")) return false;
  items_.push_back(item);
  return true;
}

bool DuLinkList::Prepend(kv::Object* item) {
  if (!CheckNew(item, "Prepend")) return false;
  items_.insert(0, item);
  return true;
}

bool DuLinkList::InsertBefore(kv::Object* item, kv::Object* before) {
  if (!CheckNew(item, "InsertBefore")) return false;
  if (!before) {
    items_.push_back(item);
    return true;
  }
  int index = items_.IndexOf(before);
  if (index < 0) {
    kv::Log(kv::FormatTrace("Structures::DuLinkList::InsertBefore: %* is not in the list", {before}));
    return false;
  }
  items_.insert(static_cast<size_t>(index), item);
  return true;
}

bool DuLinkList::Remove(kv::Object* item) { return item && items_.Remove(item); }

void DuLinkList::Clear() { items_.clear(); }

kv::Object* DuLinkList::First() const { return items_.empty() ? nullptr : items_.front(); }

kv::Object* DuLinkList::Last() const { return items_.empty() ? nullptr : items_.back(); }

kv::Object* DuLinkList::Next(kv::Object* item) const {
  int index = items_.IndexOf(item);
  if (index < 0 || index + 1 >= Count()) return nullptr;
  return items_[static_cast<size_t>(index + 1)];
}

kv::Object* DuLinkList::Prev(kv::Object* item) const {
  int index = items_.IndexOf(item);
  if (index <= 0) return nullptr;
  return items_[static_cast<size_t>(index - 1)];
}

kv::Object* DuLinkList::At(int32_t index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)];
}

}  // namespace Structures
