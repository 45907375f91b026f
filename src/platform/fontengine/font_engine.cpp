#include "platform/fontengine/font_engine.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "runtime/string.h"
#include "runtime/trace.h"

namespace fe {
namespace {

constexpr int32_t kDefaultCacheSize = 20000;
constexpr int32_t kMinPixelSize = 1;
constexpr int32_t kMaxPixelSize = 512;

struct CachedGlyph {
  std::vector<uint8_t> coverage;
  ge::GlyphBitmap bitmap;  // points into `coverage`
};
using GlyphPtr = std::shared_ptr<const CachedGlyph>;

class Font;
// A glyph leaving the cache while `holder` may still use it (the last glyph
// `holder` handed out) is kept by the font until its next call.
void KeepIfHandedOut(Font* holder, GlyphPtr& glyph);

// Least recently used glyphs go first. The recency list lives in one array
// linked by index, so a hit (the common case: every glyph drawn) touches one
// slot and its two neighbours instead of nodes scattered over the heap; a
// full cache hands its oldest slot to the new glyph. A slot keeps its index
// while its glyph stays cached, so a font may remember where its glyphs are
// and come back without a look-up (Touch); the key in the slot tells whether
// the glyph is still there.
class GlyphCache {
 public:
  static constexpr uint32_t kNone = UINT32_MAX;

  explicit GlyphCache(size_t limit) : limit_(limit) {}

  // The slot of `key` made the most recent, or kNone (a miss).
  uint32_t Find(uint64_t key) {
    auto it = index_.find(key);
    if (it == index_.end()) {
      ++misses_;
      return kNone;
    }
    Touch(it->second);
    return it->second;
  }

  // True when slot i holds `key`; a hit then, made the most recent.
  bool TouchIfHolds(uint32_t i, uint64_t key) {
    if (i >= slots_.size() || slots_[i].key != key) return false;
    Touch(i);
    return true;
  }

  // `key` is not in the cache (the caller has just missed it). Returns its slot.
  uint32_t Insert(uint64_t key, GlyphPtr glyph) {
    uint32_t i = 0;
    if (index_.size() >= limit_) {
      i = tail_;
      Unlink(i);
      index_.erase(slots_[i].key);
      KeepIfHandedOut(slots_[i].holder, slots_[i].glyph);
    } else {
      i = static_cast<uint32_t>(slots_.size());
      slots_.emplace_back();
    }
    slots_[i].key = key;
    slots_[i].glyph = std::move(glyph);
    slots_[i].holder = nullptr;
    LinkFront(i);
    index_.emplace(key, i);
    return i;
  }

  // The glyph of slot i, handed out by `holder`.
  const CachedGlyph& HandOut(uint32_t i, Font* holder) {
    slots_[i].holder = holder;
    return *slots_[i].glyph;
  }

  // The cache is going away: glyphs that fonts handed out last stay with them.
  void KeepHandedOut() {
    for (Slot& s : slots_) KeepIfHandedOut(s.holder, s.glyph);
  }

  CacheStats Stats() const { return {index_.size(), limit_, hits_, misses_}; }

 private:
  struct Slot {
    uint64_t key = 0;
    GlyphPtr glyph;
    Font* holder = nullptr;  // the font that handed the glyph out last
    uint32_t prev = kNone;  // towards the most recent
    uint32_t next = kNone;  // towards the least recent
  };

  void Touch(uint32_t i) {
    ++hits_;
    if (i != head_) {
      Unlink(i);
      LinkFront(i);
    }
  }

  void Unlink(uint32_t i) {
    Slot& s = slots_[i];
    if (s.prev != kNone) slots_[s.prev].next = s.next; else head_ = s.next;
    if (s.next != kNone) slots_[s.next].prev = s.prev; else tail_ = s.prev;
    s.prev = s.next = kNone;
  }

  void LinkFront(uint32_t i) {
    Slot& s = slots_[i];
    s.prev = kNone;
    s.next = head_;
    if (head_ != kNone) slots_[head_].prev = i; else tail_ = i;
    head_ = i;
  }

  size_t limit_;
  std::vector<Slot> slots_;
  uint32_t head_ = kNone;  // most recent
  uint32_t tail_ = kNone;  // least recent
  std::unordered_map<uint64_t, uint32_t> index_;
  uint64_t hits_ = 0;
  uint64_t misses_ = 0;
};

struct Engine {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  int32_t faceSize = 0;  // the pixel size the face is set to now
  GlyphCache cache;

  explicit Engine(size_t limit) : cache(limit) {}
  ~Engine() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
  }

  // Sets the face to `size`; false (logged) when FreeType refuses.
  bool UseSize(int32_t size) {
    if (faceSize == size) return true;
    FT_Error err = FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size));
    if (err) {
      kv::Log("FS: pixel size " + std::to_string(size) + " refused (FreeType error " + std::to_string(err) + ")");
      return false;
    }
    faceSize = size;
    return true;
  }
};

std::unique_ptr<Engine> g_engine;
// Changes whenever the face comes or goes, so fonts know to measure again.
uint64_t g_generation = 1;
// The last edition handed to a font (Font::Edition).
uint64_t g_editions = 0;
bool g_warnedNoFace = false;

Engine* ReadyEngine() {
  if (g_engine && g_engine->face) return g_engine.get();
  if (!g_warnedNoFace) {
    g_warnedNoFace = true;
    kv::Log("FS: no font file registered; text is measured roughly and not drawn");
  }
  return nullptr;
}

uint64_t GlyphKey(int32_t size, Weight weight, char16_t c) {
  return (uint64_t(uint32_t(size)) << 17) | (uint64_t(weight == Weight::kBold) << 16) | uint64_t(c);
}

FT_UInt CharIndex(FT_Face face, char16_t c) {
  // A lone surrogate is no character: the notdef glyph (index 0) stands for it.
  if (c >= 0xD800 && c <= 0xDFFF) return 0;
  return FT_Get_Char_Index(face, c);
}

GlyphPtr Render(Engine& engine, int32_t size, Weight weight, char16_t c) {
  auto glyph = std::make_shared<CachedGlyph>();
  if (!engine.UseSize(size)) return glyph;
  FT_Face face = engine.face;
  FT_UInt index = CharIndex(face, c);
  FT_Error err = FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP);
  if (!err && weight == Weight::kBold && face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
    FT_GlyphSlot_Embolden(face->glyph);
  }
  if (!err) err = FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL);
  if (err) {
    kv::Log("FS: glyph of character " + std::to_string(unsigned(c)) + " failed (FreeType error " +
            std::to_string(err) + ")");
    return glyph;
  }
  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bm = slot->bitmap;
  ge::GlyphBitmap& out = glyph->bitmap;
  out.advance = static_cast<int32_t>((slot->advance.x + 32) >> 6);
  out.left = slot->bitmap_left;
  out.top = slot->bitmap_top;
  if (bm.pixel_mode == FT_PIXEL_MODE_GRAY && bm.width > 0 && bm.rows > 0) {
    out.width = static_cast<int32_t>(bm.width);
    out.height = static_cast<int32_t>(bm.rows);
    out.pitch = out.width;
    glyph->coverage.resize(size_t(out.width) * size_t(out.height));
    const int32_t srcPitch = bm.pitch;
    // A negative pitch means the rows run bottom-up from the buffer's end.
    const uint8_t* row0 = srcPitch >= 0 ? bm.buffer : bm.buffer - int64_t(srcPitch) * (out.height - 1);
    for (int32_t y = 0; y < out.height; ++y) {
      std::copy_n(row0 + int64_t(srcPitch) * y, out.width, glyph->coverage.data() + size_t(y) * out.width);
    }
    out.coverage = glyph->coverage.data();
  }
  return glyph;
}

class Font final : public ge::GlyphSource {
 public:
  Font(int32_t size, Weight weight) : size_(size), weight_(weight), keyBase_(GlyphKey(size, weight, 0)) {}

  int32_t Ascent() const override { return Metrics().ascent; }
  int32_t Descent() const override { return Metrics().descent; }
  int32_t Leading() const override { return Metrics().leading; }

  // Laying out a text asks for the advance of every character and the
  // kerning of every pair: for Latin-1 both are kept in tables of the font,
  // filled on first use and dropped when the font files change.
  int32_t Advance(char16_t c) override {
    if (c < kTable) {
      Tables& t = CurrentTables();
      if (t.advance[c] < 0) t.advance[c] = HandOut(c).bitmap.advance;
      return t.advance[c];
    }
    return HandOut(c).bitmap.advance;
  }

  int32_t Kerning(char16_t left, char16_t right) override {
    if (left < kTable && right < kTable) {
      Tables& t = CurrentTables();
      if (!t.kerning) {
        t.kerning = std::make_unique<int8_t[]>(kTable * kTable);
        std::fill_n(t.kerning.get(), kTable * kTable, kUnknown);
      }
      int8_t& k = t.kerning[size_t{left} * kTable + right];
      if (k == kUnknown) k = static_cast<int8_t>(std::clamp(KerningOf(left, right), -127, 127));
      return k;
    }
    return KerningOf(left, right);
  }

  ge::GlyphBitmap Glyph(char16_t c) override { return HandOut(c).bitmap; }

  // A new number for each font and each face: what a font draws changes
  // only when the face comes or goes.
  uint64_t Edition() const override {
    if (editionGeneration_ != g_generation) {
      editionGeneration_ = g_generation;
      edition_ = ++g_editions;
    }
    return edition_;
  }

 private:
  friend void KeepIfHandedOut(Font* holder, GlyphPtr& glyph);

  struct FontMetrics {
    int32_t ascent = 0, descent = 0, leading = 0;
  };

  static constexpr char16_t kTable = 256;
  static constexpr int8_t kUnknown = INT8_MIN;
  struct Tables {
    uint64_t generation = 0;
    int32_t advance[kTable];
    // Where each character's glyph was last found in the cache (checked
    // before use: the slot may have gone to another glyph since).
    uint32_t slot[kTable];
    std::unique_ptr<int8_t[]> kerning;  // kTable x kTable (64 KB), made on first use
  };
  Tables& CurrentTables() {
    if (tables_.generation != g_generation) {
      tables_.generation = g_generation;
      std::fill_n(tables_.advance, kTable, -1);
      std::fill_n(tables_.slot, kTable, GlyphCache::kNone);
      tables_.kerning.reset();
    }
    return tables_;
  }

  int32_t KerningOf(char16_t left, char16_t right) {
    Engine* engine = ReadyEngine();
    if (!engine || !FT_HAS_KERNING(engine->face) || !engine->UseSize(size_)) return 0;
    FT_Vector delta{};
    if (FT_Get_Kerning(engine->face, CharIndex(engine->face, left), CharIndex(engine->face, right),
                       FT_KERNING_DEFAULT, &delta)) {
      return 0;
    }
    return static_cast<int32_t>((delta.x + 32) >> 6);
  }

  const FontMetrics& Metrics() const {
    if (metricsGeneration_ == g_generation) return metrics_;
    metricsGeneration_ = g_generation;
    Engine* engine = ReadyEngine();
    if (engine && engine->UseSize(size_)) {
      const FT_Size_Metrics& m = engine->face->size->metrics;
      metrics_.ascent = static_cast<int32_t>((m.ascender + 63) >> 6);
      metrics_.descent = static_cast<int32_t>((-m.descender + 63) >> 6);
      const auto height = static_cast<int32_t>((m.height + 32) >> 6);
      metrics_.leading = std::max(0, height - metrics_.ascent - metrics_.descent);
    } else {
      metrics_.ascent = (size_ * 4 + 2) / 5;
      metrics_.descent = size_ - metrics_.ascent;
      metrics_.leading = 0;
    }
    return metrics_;
  }

  // The glyph of c from the cache (rendered on a miss), valid until this
  // font's next call. A Latin-1 character found where it was last time costs
  // no look-up; the glyph is handed out without taking a share of it: should
  // another font's glyph push it out of the cache meanwhile, this font keeps
  // it (KeepIfHandedOut) until its next call.
  const CachedGlyph& HandOut(char16_t c) {
    if (kept_) kept_.reset();
    Engine* engine = ReadyEngine();
    if (!engine) return Blank();
    GlyphCache& cache = engine->cache;
    const uint64_t key = keyBase_ | c;  // GlyphKey(size_, weight_, c)
    uint32_t* remembered = nullptr;
    if (c < kTable) {
      remembered = &CurrentTables().slot[c];
      if (cache.TouchIfHolds(*remembered, key)) return Give(cache, *remembered);
    }
    uint32_t i = cache.Find(key);
    if (i == GlyphCache::kNone) i = cache.Insert(key, Render(*engine, size_, weight_, c));
    if (remembered) *remembered = i;
    return Give(cache, i);
  }

  const CachedGlyph& Give(GlyphCache& cache, uint32_t slot) {
    const CachedGlyph& g = cache.HandOut(slot, this);
    handedOut_ = &g;
    return g;
  }

  // What every character is without a font: an empty glyph of half the size's width.
  const CachedGlyph& Blank() {
    if (!blank_) {
      auto g = std::make_shared<CachedGlyph>();
      g->bitmap.advance = std::max(1, size_ / 2);
      blank_ = std::move(g);
    }
    return *blank_;
  }

  const int32_t size_;
  const Weight weight_;
  const uint64_t keyBase_;  // the cache key of this font's character 0
  mutable uint64_t metricsGeneration_ = 0;
  mutable uint64_t editionGeneration_ = 0, edition_ = 0;
  mutable FontMetrics metrics_;
  const CachedGlyph* handedOut_ = nullptr;  // the glyph handed out last
  GlyphPtr kept_;  // that glyph, when it has left the cache since
  GlyphPtr blank_;
  Tables tables_;
};

void KeepIfHandedOut(Font* holder, GlyphPtr& glyph) {
  if (holder && glyph && holder->handedOut_ == glyph.get()) holder->kept_ = std::move(glyph);
}

std::map<std::pair<int32_t, Weight>, std::unique_ptr<Font>>& Fonts() {
  static std::map<std::pair<int32_t, Weight>, std::unique_ptr<Font>> fonts;
  return fonts;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::string DefaultFontPath() {
  const std::string path = kv::ProgramFile("fonts/tt7268m_803.ttf");
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute.string();
}

ge::GlyphSource* GetFont(int32_t pixelSize, Weight weight) {
  if (pixelSize < kMinPixelSize || pixelSize > kMaxPixelSize) {
    const int32_t clamped = std::clamp(pixelSize, kMinPixelSize, kMaxPixelSize);
    kv::Log("FS: font size " + std::to_string(pixelSize) + " out of range, using " + std::to_string(clamped));
    pixelSize = clamped;
  }
  if (weight != Weight::kNormal && weight != Weight::kBold) {
    kv::Log("FS: unknown font weight " + std::to_string(int(weight)) + ", using normal");
    weight = Weight::kNormal;
  }
  auto& slot = Fonts()[{pixelSize, weight}];
  if (!slot) slot = std::make_unique<Font>(pixelSize, weight);
  return slot.get();
}

CacheStats GetCacheStats() { return g_engine ? g_engine->cache.Stats() : CacheStats{}; }

}  // namespace fe

int32_t FS_Init(int32_t glyphCacheSize) {
  if (fe::g_engine) {
    kv::Log("FS_Init: the font engine is already running");
    return FS_ERR_ALREADY_INITIALISED;
  }
  if (glyphCacheSize < 1) {
    kv::Log("FS_Init: glyph cache size " + std::to_string(glyphCacheSize) + " is invalid, using " +
            std::to_string(fe::kDefaultCacheSize));
    glyphCacheSize = fe::kDefaultCacheSize;
  }
  auto engine = std::make_unique<fe::Engine>(static_cast<size_t>(glyphCacheSize));
  if (FT_Error err = FT_Init_FreeType(&engine->library)) {
    engine->library = nullptr;
    kv::Log("FS_Init: FreeType could not start (error " + std::to_string(err) + ")");
    return FS_ERR_ENGINE;
  }
  fe::g_engine = std::move(engine);
  return FS_OK;
}

int32_t FS_AddFont(const std::string& path) {
  if (!fe::g_engine) {
    kv::Log("FS_AddFont: the font engine is not running");
    return FS_ERR_NOT_INITIALISED;
  }
  if (fe::g_engine->face) {
    kv::Log("FS_AddFont: a font file is already registered; " + kv::EscapedText(path, kv::kMaxLoggedPath) + " ignored");
    return FS_ERR_FONT_PRESENT;
  }
  if (!fe::FileExists(path)) {
    kv::Log("Font file " + kv::EscapedText(path, kv::kMaxLoggedPath) + " not found");
    return FS_ERR_FILE_NOT_FOUND;
  }
  FT_Face face = nullptr;
  if (FT_Error err = FT_New_Face(fe::g_engine->library, path.c_str(), 0, &face)) {
    kv::Log("Font file " + kv::EscapedText(path, kv::kMaxLoggedPath) + " is not a usable font (FreeType error " + std::to_string(err) + ")");
    return FS_ERR_BAD_FONT;
  }
  if (!FT_IS_SCALABLE(face)) {
    FT_Done_Face(face);
    kv::Log("Font file " + kv::EscapedText(path, kv::kMaxLoggedPath) + " holds no scalable font");
    return FS_ERR_BAD_FONT;
  }
  FT_Select_Charmap(face, FT_ENCODING_UNICODE);
  fe::g_engine->face = face;
  fe::g_engine->faceSize = 0;
  ++fe::g_generation;
  fe::g_warnedNoFace = false;
  return FS_OK;
}

int32_t FS_Exit() {
  if (!fe::g_engine) return FS_ERR_NOT_INITIALISED;
  fe::g_engine->cache.KeepHandedOut();
  fe::g_engine.reset();
  ++fe::g_generation;
  return FS_OK;
}
