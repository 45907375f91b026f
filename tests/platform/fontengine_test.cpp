#include <gtest/gtest.h>

#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

#include "platform/fontengine/font_engine.h"
#include "runtime/trace.h"

namespace {

uint64_t CoverageSum(const ge::GlyphBitmap& g) {
  uint64_t sum = 0;
  for (int32_t y = 0; y < g.height; ++y) {
    for (int32_t x = 0; x < g.width; ++x) sum += g.coverage[y * g.pitch + x];
  }
  return sum;
}

class FontEngineTest : public ::testing::Test {
 protected:
  void SetUp() override { kv::SetTraceSink([this](std::string_view line) { logs.emplace_back(line); }); }
  void TearDown() override {
    FS_Exit();
    kv::SetTraceSink(nullptr);
  }
  void Start(int32_t cacheSize) {
    ASSERT_EQ(FS_Init(cacheSize), FS_OK);
    ASSERT_EQ(FS_AddFont(fe::DefaultFontPath()), FS_OK) << "tests run in the build directory";
  }
  bool Logged(const std::string& text) const {
    for (const auto& l : logs) {
      if (l.find(text) != std::string::npos) return true;
    }
    return false;
  }
  std::vector<std::string> logs;
};

TEST_F(FontEngineTest, MetricsAndGlyphsAt24Pixels) {
  Start(20000);
  ge::GlyphSource* f = fe::GetFont(24, fe::Weight::kNormal);
  EXPECT_GT(f->Ascent(), 12);
  EXPECT_GT(f->Descent(), 0);
  EXPECT_GT(f->Ascent(), f->Descent());
  EXPECT_LE(f->Ascent() + f->Descent(), 36);
  EXPECT_GE(f->Leading(), 0);

  EXPECT_GT(f->Advance(u'W'), f->Advance(u'i'));
  EXPECT_GT(f->Advance(u' '), 0);

  ge::GlyphBitmap a = f->Glyph(u'A');
  ASSERT_NE(a.coverage, nullptr);
  EXPECT_GT(CoverageSum(a), 0u);
  EXPECT_GE(a.pitch, a.width);
  EXPECT_LE(a.top, f->Ascent());
  EXPECT_GT(a.top, 0);
  EXPECT_LE(a.height, f->Ascent() + f->Descent());
  // A space has an advance but nothing to draw.
  EXPECT_EQ(f->Glyph(u' ').coverage, nullptr);

  // The same descriptor is the same font; another size measures differently.
  EXPECT_EQ(fe::GetFont(24, fe::Weight::kNormal), f);
  EXPECT_GT(fe::GetFont(48, fe::Weight::kNormal)->Ascent(), f->Ascent());
}

TEST_F(FontEngineTest, BoldIsWiderAndDarker) {
  Start(20000);
  ge::GlyphSource* normal = fe::GetFont(24, fe::Weight::kNormal);
  ge::GlyphSource* bold = fe::GetFont(24, fe::Weight::kBold);
  int32_t wn = 0, wb = 0;
  for (char16_t c : std::u16string(u"Hello World")) {
    wn += normal->Advance(c);
    wb += bold->Advance(c);
  }
  EXPECT_GE(wb, wn);
  const uint64_t inkNormal = CoverageSum(normal->Glyph(u'H'));
  EXPECT_GT(CoverageSum(bold->Glyph(u'H')), inkNormal);
}

TEST_F(FontEngineTest, KerningWhereTheFontHasIt) {
  Start(20000);
  ge::GlyphSource* f = fe::GetFont(24, fe::Weight::kNormal);
  EXPECT_LT(f->Kerning(u'A', u'V'), 0);
  EXPECT_EQ(f->Kerning(u'H', u'H'), 0);
  // Characters the font lacks, and lone surrogates, kern to nothing.
  EXPECT_EQ(f->Kerning(0xD800, u'V'), 0);
  EXPECT_EQ(f->Kerning(0xE000, 0xFFFF), 0);
}

TEST_F(FontEngineTest, MissingCharactersDrawNotdef) {
  Start(20000);
  ge::GlyphSource* f = fe::GetFont(24, fe::Weight::kNormal);
  for (char16_t c : {char16_t(0xE123), char16_t(0xD800), char16_t(0xFFFF)}) {
    ge::GlyphBitmap g = f->Glyph(c);
    EXPECT_GT(g.advance, 0) << int(c);
    EXPECT_GT(CoverageSum(g), 0u) << int(c);
  }
}

TEST_F(FontEngineTest, CacheKeepsItsLimitAndEvictsLeastRecentlyUsed) {
  Start(3);
  ge::GlyphSource* f = fe::GetFont(20, fe::Weight::kNormal);
  f->Glyph(u'a');
  f->Glyph(u'b');
  f->Glyph(u'c');
  EXPECT_EQ(fe::GetCacheStats().glyphs, 3u);
  f->Glyph(u'a');  // now b is the least recent
  f->Glyph(u'd');  // evicts b
  fe::CacheStats s = fe::GetCacheStats();
  EXPECT_EQ(s.glyphs, 3u);
  EXPECT_EQ(s.limit, 3u);

  f->Glyph(u'a');
  EXPECT_EQ(fe::GetCacheStats().hits, s.hits + 1);
  f->Glyph(u'b');
  EXPECT_EQ(fe::GetCacheStats().misses, s.misses + 1);

  // Size and weight are part of the key.
  s = fe::GetCacheStats();
  fe::GetFont(20, fe::Weight::kBold)->Glyph(u'b');
  fe::GetFont(21, fe::Weight::kNormal)->Glyph(u'b');
  EXPECT_EQ(fe::GetCacheStats().misses, s.misses + 2);

  for (char16_t c = u'A'; c <= u'z'; ++c) {
    f->Advance(c);
    ASSERT_LE(fe::GetCacheStats().glyphs, 3u);
  }
}

// Touching glyphs in the middle, at the tail and at the head of the recency
// order, then evicting twice, must drop exactly the two least recent ones.
TEST_F(FontEngineTest, CacheEvictsInRecencyOrderAfterTouchesAnywhereInIt) {
  Start(4);
  ge::GlyphSource* f = fe::GetFont(20, fe::Weight::kNormal);
  for (char16_t c : u"abcd") {
    if (c) f->Glyph(c);
  }
  f->Glyph(u'b');  // from the middle: b d c a
  f->Glyph(u'a');  // from the tail: a b d c
  f->Glyph(u'a');  // already the most recent
  f->Glyph(u'e');  // evicts c: e a b d
  f->Glyph(u'f');  // evicts d: f e a b
  const fe::CacheStats s = fe::GetCacheStats();
  EXPECT_EQ(s.glyphs, 4u);
  for (char16_t c : u"abef") {
    if (c) f->Glyph(c);
  }
  EXPECT_EQ(fe::GetCacheStats().hits, s.hits + 4);
  EXPECT_EQ(fe::GetCacheStats().misses, s.misses);
  f->Glyph(u'c');
  f->Glyph(u'd');
  EXPECT_EQ(fe::GetCacheStats().misses, s.misses + 2);
  EXPECT_EQ(fe::GetCacheStats().glyphs, 4u);
}

TEST_F(FontEngineTest, GlyphOutlivesItsEvictionUntilTheNextCall) {
  Start(1);
  ge::GlyphSource* a = fe::GetFont(30, fe::Weight::kNormal);
  ge::GlyphSource* b = fe::GetFont(30, fe::Weight::kBold);
  ge::GlyphBitmap g = a->Glyph(u'M');
  const uint64_t ink = CoverageSum(g);
  b->Glyph(u'O');  // evicts a's M from the one-glyph cache
  EXPECT_EQ(CoverageSum(g), ink);
}

// A glyph as drawn: its box and coverage.
struct Drawn {
  int32_t advance, left, top, width, height;
  std::vector<uint8_t> coverage;
  bool operator==(const Drawn&) const = default;
};

Drawn Draw(ge::GlyphSource* f, char16_t c) {
  const ge::GlyphBitmap g = f->Glyph(c);
  Drawn d{g.advance, g.left, g.top, g.width, g.height, {}};
  for (int32_t y = 0; y < g.height; ++y) d.coverage.insert(d.coverage.end(), g.coverage + y * g.pitch, g.coverage + y * g.pitch + g.width);
  return d;
}

// Fonts remember where their glyphs are in the cache; a cache far smaller
// than the text hands those places to other glyphs all the time, and a new
// engine starts with a new cache: every glyph must still be its own.
TEST_F(FontEngineTest, EveryGlyphIsItsOwnWhenTheCacheIsTooSmallForTheText) {
  const std::u16string text = u"Scheduled recordings \u00e9t\u00e9 \u0416";
  ge::GlyphSource* fonts[] = {fe::GetFont(22, fe::Weight::kNormal), fe::GetFont(22, fe::Weight::kBold)};
  Start(20000);
  std::vector<Drawn> want;
  for (ge::GlyphSource* f : fonts)
    for (char16_t c : text) want.push_back(Draw(f, c));
  FS_Exit();
  Start(3);
  for (int32_t round = 0; round < 3; ++round) {
    size_t i = 0;
    for (ge::GlyphSource* f : fonts)
      for (char16_t c : text) {
        EXPECT_TRUE(Draw(f, c) == want[i]) << "character " << int(c) << " round " << round;
        ++i;
      }
    // Each font in turn, character by character.
    for (size_t k = 0; k < text.size(); ++k) {
      EXPECT_TRUE(Draw(fonts[0], text[k]) == want[k]);
      EXPECT_TRUE(Draw(fonts[1], text[k]) == want[text.size() + k]);
    }
  }
  EXPECT_LE(fe::GetCacheStats().glyphs, 3u);
}

TEST_F(FontEngineTest, MissingOrBadFontFileIsReportedAndTextDisappears) {
  EXPECT_EQ(FS_AddFont(fe::DefaultFontPath()), FS_ERR_NOT_INITIALISED);
  ASSERT_EQ(FS_Init(0), FS_OK);  // invalid size: logged, default used
  EXPECT_TRUE(Logged("glyph cache size 0 is invalid"));
  EXPECT_EQ(fe::GetCacheStats().limit, 20000u);

  EXPECT_EQ(FS_AddFont("/nonexistent/fonts/tt7268m_803.ttf"), FS_ERR_FILE_NOT_FOUND);
  EXPECT_TRUE(Logged("Font file /nonexistent/fonts/tt7268m_803.ttf not found"));

  const std::string notAFont = "fontengine_test_not_a_font.ttf";
  if (FILE* file = std::fopen(notAFont.c_str(), "w")) {
    std::fputs("plain text", file);
    std::fclose(file);
  }
  EXPECT_EQ(FS_AddFont(notAFont), FS_ERR_BAD_FONT);
  std::remove(notAFont.c_str());

  ge::GlyphSource* f = fe::GetFont(24, fe::Weight::kNormal);
  EXPECT_GT(f->Ascent(), 0);
  EXPECT_GT(f->Advance(u'A'), 0);
  EXPECT_EQ(f->Glyph(u'A').coverage, nullptr);
  EXPECT_EQ(f->Kerning(u'A', u'V'), 0);

  // Once the file is there, the same font object draws.
  ASSERT_EQ(FS_AddFont(fe::DefaultFontPath()), FS_OK);
  EXPECT_EQ(FS_AddFont(fe::DefaultFontPath()), FS_ERR_FONT_PRESENT);
  EXPECT_NE(f->Glyph(u'A').coverage, nullptr);
}

TEST_F(FontEngineTest, OutOfRangeSizesAreClamped) {
  Start(20000);
  EXPECT_EQ(fe::GetFont(0, fe::Weight::kNormal), fe::GetFont(1, fe::Weight::kNormal));
  EXPECT_EQ(fe::GetFont(100000, fe::Weight::kNormal), fe::GetFont(512, fe::Weight::kNormal));
  EXPECT_TRUE(Logged("font size 0 out of range"));
  fe::GetFont(1, fe::Weight::kNormal)->Glyph(u'W');  // tiny glyphs render without trouble
}

}  // namespace
