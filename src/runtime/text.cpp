#include "runtime/text.h"

#include <zlib.h>

#include <array>
#include <bit>
#include <memory>
#include <string>
#include <vector>

#include "runtime/runtime.h"
#include "runtime/trace.h"

namespace kv {

namespace {

struct CachedBlock {
  std::unique_ptr<char16_t[]> units;  // null while the block is not decompressed
  std::vector<uint32_t> starts;       // first unit of each text
  uint64_t lastUse = 0;
};

// The texts loaded last, by id. Screens load the same few texts again and
// again (every row its captions and separators); a text's string is
// immutable and shared, so a repeated load hands out the one made before.
// A fixed number of places: the strings kept never grow with the screens.
struct RecentText {
  uint32_t key = UINT32_MAX;  // block << 16 | index; no text
  String text;
};
constexpr size_t kRecentTexts = 64;

uint32_t RecentKey(TextId id) { return uint32_t{id.block} << 16 | id.index; }
size_t RecentPlace(uint32_t key) { return (key * 2654435761u) >> 26; }  // 0..63
static_assert(kRecentTexts == 64);

struct TextState {
  std::vector<StringBlock> blocks;
  std::vector<CachedBlock> cache;  // one per registered block
  std::array<RecentText, kRecentTexts> recent;
  size_t bytes = 0;
  uint64_t useClock = 0;
  int32_t language = 0;
};

// A function-local static: the generated tables register from static
// initialisers, which may run before this file's own.
TextState& T() {
  static TextState s;
  return s;
}

void Drop(TextState& s, size_t block) {
  CachedBlock& c = s.cache[block];
  if (!c.units) return;
  c.units.reset();
  c.starts.clear();
  s.bytes -= s.blocks[block].rawSize;
}

// zlib never writes more than about 1032 bytes per byte it reads; a block
// that claims more is corrupt (and is not given the memory it asks for).
constexpr uint64_t kMaxInflateRatio = 1032;

// Decompresses a block into the cache; false (with a log line) when its data
// is corrupt.
bool Inflate(TextState& s, size_t block) {
  std::unique_ptr<char16_t[]> units;
  std::vector<uint32_t> starts;
  if (!detail::DecodeStringBlock(s.blocks[block], "string block " + std::to_string(block), &units, &starts))
    return false;
  CachedBlock& c = s.cache[block];
  c.units = std::move(units);
  c.starts = std::move(starts);
  s.bytes += s.blocks[block].rawSize;
  return true;
}

}  // namespace

namespace detail {

bool DecodeStringBlock(const StringBlock& b, const std::string& where, std::unique_ptr<char16_t[]>* out,
                       std::vector<uint32_t>* outStarts) {
  if (b.rawSize == 0 || b.rawSize % 2 != 0 || !b.data ||
      b.rawSize > (uint64_t{b.compressedSize} + 1) * kMaxInflateRatio) {
    Log(where + ": bad size " + std::to_string(b.rawSize));
    return false;
  }
  size_t n = b.rawSize / 2;
  std::unique_ptr<char16_t[]> units(new char16_t[n]);
  uLongf outLen = b.rawSize;
  int rc = uncompress(reinterpret_cast<Bytef*>(units.get()), &outLen, b.data, b.compressedSize);
  if (rc != Z_OK || outLen != b.rawSize) {
    Log(where + ": cannot decompress (zlib " + std::to_string(rc) + ")");
    return false;
  }
  // Blocks hold little-endian UTF-16.
  if constexpr (std::endian::native == std::endian::big)
    for (size_t i = 0; i < n; ++i) units[i] = static_cast<char16_t>((units[i] >> 8) | (units[i] << 8));
  if (units[n - 1] != 0) {
    Log(where + ": last text is not terminated");
    return false;
  }
  std::vector<uint32_t> starts;
  starts.reserve(b.count);
  uint32_t begin = 0;
  for (uint32_t i = 0; i < n; ++i) {
    if (units[i] != 0) continue;
    starts.push_back(begin);
    begin = i + 1;
  }
  if (starts.size() != b.count) {
    Log(where + ": holds " + std::to_string(starts.size()) + " texts, expected " + std::to_string(b.count));
    return false;
  }
  *out = std::move(units);
  *outStarts = std::move(starts);
  return true;
}

}  // namespace detail

void RegisterStringBlocks(const StringBlock* blocks, size_t count) {
  TextState& s = T();
  if (!blocks) return;
  // Block number 0xffff marks an invalid TextId.
  if (s.blocks.size() + count > 0xffff) {
    Log("RegisterStringBlocks: too many string blocks, " + std::to_string(count) + " refused");
    return;
  }
  s.blocks.insert(s.blocks.end(), blocks, blocks + count);
  s.cache.resize(s.blocks.size());
}

size_t StringBlockCount() { return T().blocks.size(); }

String LoadString(TextId id) {
  AssertGuiThread();
  TextState& s = T();
  if (!id.Valid() || id.block >= s.blocks.size()) {
    Log("LoadString: invalid text id (block " + std::to_string(id.block) + ", index " +
        std::to_string(id.index) + ")");
    return String();
  }
  const uint32_t key = RecentKey(id);
  RecentText& recent = s.recent[RecentPlace(key)];
  if (recent.key == key) {
    s.cache[id.block].lastUse = ++s.useClock;  // used, as a load from it would be
    return recent.text;
  }
  CachedBlock& c = s.cache[id.block];
  if (!c.units && !Inflate(s, id.block)) return String();
  if (id.index >= c.starts.size()) {
    Log("LoadString: invalid text id (block " + std::to_string(id.block) + ", index " +
        std::to_string(id.index) + ")");
    return String();
  }
  c.lastUse = ++s.useClock;
  uint32_t begin = c.starts[id.index];
  uint32_t end = id.index + 1u < c.starts.size() ? c.starts[id.index + 1u] - 1 : s.blocks[id.block].rawSize / 2 - 1;
  recent.text = String::FromUtf16(c.units.get() + begin, static_cast<int32_t>(end - begin));
  recent.key = key;
  return recent.text;
}

std::vector<std::u16string> AllTexts() {
  TextState& s = T();
  std::vector<std::u16string> out;
  for (size_t b = 0; b < s.blocks.size(); ++b) {
    std::unique_ptr<char16_t[]> units;
    std::vector<uint32_t> starts;
    if (!detail::DecodeStringBlock(s.blocks[b], "AllTexts: block " + std::to_string(b), &units, &starts)) continue;
    for (uint32_t start : starts) out.emplace_back(units.get() + start);
  }
  return out;
}

String GetVariantOfString(const MultiTextId& id) {
  TextId v = id.variants[T().language];
  return LoadString(v.Valid() ? v : id.def);
}

void SetLanguage(int32_t language) {
  AssertGuiThread();
  if (language < 0 || language > 2) {
    Log("SetLanguage: unknown language " + std::to_string(language) + " ignored");
    return;
  }
  TextState& s = T();
  if (language == s.language) return;
  s.language = language;
  detail::RequestReInit();
}

int32_t GetLanguage() { return T().language; }

size_t StringCacheBytes() { return T().bytes; }

void TrimStringCache(size_t limit) {
  TextState& s = T();
  while (s.bytes > limit) {
    size_t oldest = s.cache.size();
    for (size_t i = 0; i < s.cache.size(); ++i)
      if (s.cache[i].units && (oldest == s.cache.size() || s.cache[i].lastUse < s.cache[oldest].lastUse))
        oldest = i;
    if (oldest == s.cache.size()) break;
    Drop(s, oldest);
  }
}

void ResetStringCacheForTests() {
  TextState& s = T();
  for (size_t i = 0; i < s.cache.size(); ++i) Drop(s, i);
  s.recent.fill(RecentText{});
  s.useClock = 0;
  s.language = 0;
}

}  // namespace kv
