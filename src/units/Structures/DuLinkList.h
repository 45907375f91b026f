// Structures::DuLinkList: an ordered list of GUI objects, walked from either
// end (the widget manager's open forms, the event agent's pending events).
//
// An object is held at most once; adding one that is already held, or null,
// is refused with a logged error. The list keeps its elements alive.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/member.h"
#include "runtime/object.h"

namespace Structures {

class DuLinkList : public kv::Object {
  KV_CLASS(Structures, DuLinkList, kv::Object)
 public:
  DuLinkList() = default;

  // Adds at the back (Append) or at the front (Prepend).
  bool Append(kv::Object* item);
  bool Prepend(kv::Object* item);
  // Adds in front of `before`; a null `before` appends. A `before` that is
  // not in the list is refused with a logged error.
  bool InsertBefore(kv::Object* item, kv::Object* before);
  // Takes `item` out; false when it is not in the list.
  bool Remove(kv::Object* item);
  void Clear();

  kv::Object* First() const;
  kv::Object* Last() const;
  // The element after (before) `item`; null at the end or when `item` is
  // not in the list.
  kv::Object* Next(kv::Object* item) const;
  kv::Object* Prev(kv::Object* item) const;
  // The element at `index` from the front, or null outside.
  kv::Object* At(int32_t index) const;
  int32_t IndexOf(const kv::Object* item) const { return items_.IndexOf(item); }
  bool Contains(const kv::Object* item) const { return items_.IndexOf(item) >= 0; }

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  bool Empty() const { return items_.empty(); }

  // A copy of the elements front to back, for walks that call handlers.
  std::vector<kv::Object*> Snapshot() const { return items_.Snapshot(); }

 private:
  bool CheckNew(kv::Object* item, const char* op) const;

  kv::MemberVector<kv::Object> items_;
};

}  // namespace Structures
