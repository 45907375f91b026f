// String constants. Texts live in one file per unit (src/resources/strings/),
// compressed into zlib blocks at build time; kv::LoadString copies a text out
// of its decompressed block, so blocks are only a most-recently-used cache,
// trimmed back to 65536 bytes after each collection.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "runtime/string.h"

namespace kv {

// One language-neutral text (keys, file names, labels).
struct TextId {
  uint16_t block = 0xffff;
  uint16_t index = 0;
  constexpr bool Valid() const { return block != 0xffff; }
};

// One variant per language (0 English, 1 French, 2 Spanish) and a default.
struct MultiTextId {
  TextId variants[3];
  TextId def;
};

// The compiled-in blocks; registered by the generated string tables.
struct StringBlock {
  const unsigned char* data;  // zlib-compressed
  uint32_t compressedSize;
  uint32_t rawSize;           // decompressed: texts as UTF-16, each ends with a 0 unit
  uint16_t count;             // number of texts
};
// Appends blocks to the table; TextId::block numbers them in registration
// order, so the generated tables (registered at static initialisation) come
// first. The blocks' data must outlive the program.
void RegisterStringBlocks(const StringBlock* blocks, size_t count);
// Number of registered blocks (the number the next registered block gets).
size_t StringBlockCount();

namespace detail {
// Decompresses a block and finds where each text starts; false (with a log
// line naming `where`) when the block is corrupt: a bad size, data that does
// not inflate to exactly `rawSize` bytes, a last text without its terminator,
// or another number of texts than `count`.
bool DecodeStringBlock(const StringBlock& block, const std::string& where, std::unique_ptr<char16_t[]>* units,
                       std::vector<uint32_t>* starts);
}  // namespace detail

String LoadString(TextId id);
// Every text of every registered block (each block decompressed for the
// call, the cache left as it is): what the checks of the picture use to
// tell the texts of our string tables from names that come from outside.
std::vector<std::u16string> AllTexts();
// The variant of the current language, else the default.
String GetVariantOfString(const MultiTextId& id);

// The GUI language (0 English, 1 French, 2 Spanish). A change takes effect at
// the end of the pass: every live object is re-initialised.
void SetLanguage(int32_t language);
int32_t GetLanguage();

// The strings made last from a few numbers and a part text (a separator),
// in the language they were made in, in a fixed number of places chosen by
// the numbers. Screens make the same dates, times and channel numbers at every
// opening, one per row; a string is immutable and shared, so an equal value
// hands out the string made before instead of formatting a new one.
class NumberTexts {
 public:
  // The text of (a, b, c, part) in the current language: the one kept, else
  // the one make() answers, kept from then on.
  template <class Make>
  String Get(int32_t a, int32_t b, int32_t c, const String& part, Make make) {
    const int32_t language = GetLanguage();
    // Two places per set: the one used last first.
    Cell* set = &cells_[Set(a, b, c) * 2];
    if (set[0].Holds(language, a, b, c, part)) return set[0].text;
    if (!set[1].Holds(language, a, b, c, part)) set[1] = Cell{language, a, b, c, part, make()};
    std::swap(set[0], set[1]);
    return set[0].text;
  }

 private:
  static constexpr size_t kSets = 32;
  static size_t Set(int32_t a, int32_t b, int32_t c) {
    const uint32_t h = static_cast<uint32_t>(a) * 0x9e3779b1u ^ static_cast<uint32_t>(b) * 0x85ebca77u ^
                       static_cast<uint32_t>(c) * 0xc2b2ae3du;
    return (h ^ h >> 16) % kSets;
  }
  struct Cell {
    int32_t language = -1;  // no text yet
    int32_t a = 0, b = 0, c = 0;
    String part;
    String text;
    bool Holds(int32_t l, int32_t x, int32_t y, int32_t z, const String& p) const {
      return language == l && a == x && b == y && c == z && (part.Data() == p.Data() || part == p);
    }
  };
  std::array<Cell, kSets * 2> cells_;
};

// Bytes held by decompressed blocks.
size_t StringCacheBytes();
// Frees least-recently-used blocks until at most `limit` bytes are held.
void TrimStringCache(size_t limit = 65536);
void ResetStringCacheForTests();

}  // namespace kv
