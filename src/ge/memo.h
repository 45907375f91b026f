// The bookkeeping of the engine's memos of drawn pixels: entries in sets of
// `Ways` by their key, each holding one block of words, the least recently
// used of a set giving way to a new one, and every block let go when the
// blocks would pass `Budget` bytes (a set of screens drawing more than that
// starts afresh). An entry type has `data` (the block), `words` (its size)
// and `used` (when it was last used).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace ge {

// Keys of the memos: each value folded in by a multiply, then the bits
// mixed so that any of them moves the set a key falls in.
template <class Range>
uint64_t MemoKey(uint64_t k, const Range& values) {
  for (const auto v : values) k = (k ^ v) * 0x100000001b3u;
  k ^= k >> 29;
  k *= 0xbf58476d1ce4e5b9u;
  return k ^ (k >> 32);
}

template <class Entry, size_t Sets, size_t Ways, size_t Budget>
class MemoSets {
 public:
  static constexpr size_t kWays = Ways;

  // The Ways entries of key's set; null while nothing was kept.
  Entry* SetOf(uint64_t key) { return entries_ == nullptr ? nullptr : &entries_[(key % Sets) * Ways]; }
  // Marks an entry found as used now.
  void Touch(Entry& e) { e.used = ++clock_; }
  // The entry of key's set to hold a new block of `words` words: a free one
  // or the least recently used. Its block is made anew (not filled) and the
  // entry marked as used now.
  Entry& Place(uint64_t key, size_t words) {
    if (entries_ == nullptr) entries_ = std::make_unique<Entry[]>(Sets * Ways);
    if (bytes_ + 4 * words > Budget) {
      for (size_t i = 0; i < Sets * Ways; ++i) entries_[i].data.reset();
      bytes_ = 0;
    }
    Entry* set = &entries_[(key % Sets) * Ways];
    Entry* e = set;
    for (size_t i = 0; i < Ways; ++i) {
      if (set[i].data == nullptr) {
        e = &set[i];
        break;
      }
      if (set[i].used < e->used) e = &set[i];
    }
    if (e->data != nullptr) bytes_ -= 4 * e->words;
    e->data = std::make_unique_for_overwrite<uint32_t[]>(words);
    e->words = words;
    bytes_ += 4 * words;
    Touch(*e);
    return *e;
  }

 private:
  std::unique_ptr<Entry[]> entries_;
  size_t bytes_ = 0;
  uint32_t clock_ = 0;
};

}  // namespace ge
