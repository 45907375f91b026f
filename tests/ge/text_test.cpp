#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "ge/attr_text.h"
#include "ge/font.h"
#include "ge_test_util.h"

namespace ge {
namespace {

using test::BoxFont;
using test::GuardedSurface;
using test::Pixel;
using L = std::vector<std::u16string>;

constexpr uint32_t kRed = 0xff0000ffu, kGreen = 0xff00ff00u;

// The laid-out lines of a text, "..." standing for the ellipsis.
L Lines(std::u16string_view text, const LayoutOptions& options) {
  BoxFont font;
  const TextRun run{text, &font, kRed};
  L out;
  for (const TextLine& line : LayoutText({&run, 1}, options).lines)
    out.push_back(std::u16string(text.substr(static_cast<size_t>(line.begin), static_cast<size_t>(line.end - line.begin))) +
                  (line.ellipsis ? u"..." : u""));
  return out;
}

// Draws a glyph of w x h coverage bytes in `colour` at full opacity over a
// surface whose pixel (x, y) is under(x, y): every pixel must be the ink
// scaled by its coverage over that pixel.
template <typename Under>
void ExpectGlyphOver(const std::vector<uint8_t>& coverage, int32_t w, int32_t h, uint32_t colour, Under under) {
  const GlyphBitmap g{coverage.data(), w, w, h, 0, h, w};
  GuardedSurface s(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) s.At(x, y) = under(x, y);
  GenDrawGlyph(s.View(), s.Bounds(), g, 0, h, colour, 255);
  const uint32_t ink = Premultiply(colour);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const uint8_t m = coverage[static_cast<size_t>(y * w + x)];
      ASSERT_EQ(s.At(x, y), test::RefOver(MulPixel(ink, m), under(x, y)))
          << x << "," << y << " width " << w << " ink " << colour;
    }
  EXPECT_TRUE(s.GuardsIntact());
}

TEST(Glyph, CoverageScalesColourAndOpacity) {
  const uint8_t coverage[] = {255, 128, 0, 7, 64, 255, 255, 9};
  const GlyphBitmap g{coverage, 4, 3, 2, 1, 5, 6};  // 3 x 2, pitch 4, 1 right of the pen, 5 above the baseline
  const uint32_t under = Pixel(0, 0, 100, 255);
  GuardedSurface s(6, 8, under);
  GenDrawGlyph(s.View(), s.Bounds(), g, 1, 6, Pixel(255, 255, 255, 128), 200);
  const uint32_t c = MulPixel(Pixel(128, 128, 128, 128), 200);
  EXPECT_EQ(s.At(2, 1), test::RefOver(c, under));
  EXPECT_EQ(s.At(3, 1), test::RefOver(MulPixel(c, 128), under));
  EXPECT_EQ(s.At(2, 2), test::RefOver(MulPixel(c, 64), under));
  EXPECT_EQ(s.At(4, 1), under);
  EXPECT_EQ(s.At(5, 1), under);  // past the glyph's width, whatever the pitch holds
  EXPECT_EQ(s.At(2, 3), under);
}

TEST(Glyph, ClippedAtEveryEdge) {
  BoxFont font;
  for (const auto& [x, y] : {std::pair{-2, 8}, std::pair{4, 8}, std::pair{1, 4}, std::pair{1, 12}, std::pair{-40, 40}}) {
    GuardedSurface s(6, 10);
    GenDrawGlyph(s.View(), {0, 1, 5, 10}, font.Glyph(u'x'), x, y, kRed, 255);
    ASSERT_TRUE(s.GuardsIntact());
    for (int32_t py = 0; py < 10; ++py)
      for (int32_t px = 0; px < 6; ++px) {
        const bool in = px >= x && px < x + 4 && py >= y - 8 && py < y && px < 5 && py >= 1;
        ASSERT_EQ(s.At(px, py), in ? kRed : 0u) << x << "," << y << " at " << px << "," << py;
      }
  }
}

TEST(Text, MeasureAndDrawAgreeOnAdvancesAndKerning) {
  BoxFont font;
  EXPECT_EQ(GenMeasureText(font, u""), 0);
  EXPECT_EQ(GenMeasureText(font, u"AV"), 9);
  EXPECT_EQ(GenMeasureText(font, u"A V."), 15);
  GuardedSurface s(20, 10);
  EXPECT_EQ(GenDrawText(s.View(), s.Bounds(), font, u"AV", 2, 9, kRed, 255), 11);
  // 'A' covers columns 2-5, 'V' kerns one pixel closer and covers 6-9; rows 1-8.
  for (int32_t x : {2, 5, 6, 9}) EXPECT_EQ(s.At(x, 1), kRed) << x;
  EXPECT_EQ(s.At(10, 5), 0u);
  EXPECT_EQ(s.At(3, 0), 0u);
  EXPECT_EQ(s.At(3, 9), 0u);
}

// Over a background of one colour a glyph's pixels are looked up in a table
// made for that background; glyphs of one text over other backgrounds must
// not reuse it. Boxes 4 wide at 1, 6, 11 (over both halves), 16 and 21 (cut).
TEST(Text, GlyphsOverEachBackgroundBlendWithIt) {
  BoxFont font;
  const uint32_t left = Pixel(0, 0, 120, 255), right = Pixel(90, 30, 0, 200);
  GuardedSurface s(23, 10, left);
  for (int32_t y = 0; y < 10; ++y)
    for (int32_t x = 12; x < 23; ++x) s.At(x, y) = right;
  const uint32_t colour = 0x80204060u;
  GenDrawText(s.View(), s.Bounds(), font, u"xxxxx", 1, 9, colour, 255);
  for (int32_t y = 0; y < 10; ++y)
    for (int32_t x = 0; x < 23; ++x) {
      const uint32_t under = x < 12 ? left : right;
      const bool ink = y >= 1 && y < 9 && x >= 1 && (x - 1) % 5 < 4;
      ASSERT_EQ(s.At(x, y), ink ? test::RefOver(Premultiply(colour), under) : under) << x << "," << y;
    }
  EXPECT_TRUE(s.GuardsIntact());
}

// Every coverage value over a background that is one colour on the first
// row only (a gradient, as under list rows): each pixel blends with its own
// background, in an opaque ink and a translucent one. Rows of 15 pixels are
// blended some pixels at a time and the rest one by one.
TEST(Glyph, EveryCoverageOverAGradientBlendsWithItsOwnPixel) {
  constexpr int32_t kW = 15, kH = 18;
  std::vector<uint8_t> coverage(kW * kH);
  for (int32_t i = 0; i < kW * kH; ++i) coverage[static_cast<size_t>(i)] = static_cast<uint8_t>((i * 7) % 256);
  const auto under = [](int32_t x, int32_t y) {
    return y == 0 ? Pixel(10, 20, 30, 255) : Pixel(static_cast<uint8_t>(8 * y), static_cast<uint8_t>(x * 3), 90, 255);
  };
  for (const uint32_t colour : {Pixel(240, 200, 40, 255), Pixel(240, 200, 40, 160)})
    ExpectGlyphOver(coverage, kW, kH, colour, under);
}

// Under a vertical gradient every row of a glyph is one colour of its own
// (the first two rows share one; rows 3 and 9 here vary across instead).
// Glyphs of every width from 1 to 13, so rows narrower than four pixels and
// rows that end part way through a step of four both occur, with rows of no
// coverage, every coverage value and translucent backgrounds; an opaque ink
// and a translucent one.
TEST(Glyph, EveryCoverageOverRowsOfOneColourBlendsWithIt) {
  constexpr int32_t kH = 24;
  const auto under = [](int32_t x, int32_t y) {
    if (y == 3 || y == 9) return Pixel(static_cast<uint32_t>(x * 9), 40, 200, 255);
    if (y == 1) y = 0;
    const uint32_t a = y % 5 == 4 ? 120 : 255;
    return Pixel(static_cast<uint32_t>(7 * y) * a / 255, (200 - static_cast<uint32_t>(3 * y)) * a / 255, 60 * a / 255, a);
  };
  for (const uint32_t colour : {Pixel(240, 200, 40, 255), Pixel(250, 30, 140, 170)}) {
    for (int32_t w = 1; w <= 13; ++w) {
      std::vector<uint8_t> coverage(static_cast<size_t>(w * kH));
      for (int32_t i = 0; i < w * kH; ++i) {
        const int32_t y = i / w;
        coverage[static_cast<size_t>(i)] = y == 5 ? 0 : static_cast<uint8_t>((i * 37 + w) % 256);
      }
      ExpectGlyphOver(coverage, w, kH, colour, under);
    }
  }
}

// A glyph box drawn over rows of one colour each is remembered with the
// pixels it gave and copied when drawn again over the same colours. Drawn
// again and again: over the same gradient, over one differing in a single
// row, after its coverage bytes changed in place, in another ink, over a row
// that varies across, cut at the left edge, and after many other boxes made
// room. Every time it must be the blend of what it is drawn over now.
TEST(Glyph, ABoxDrawnAgainBlendsWithWhatItIsDrawnOverNow) {
  constexpr int32_t kW = 9, kH = 12;
  std::vector<uint8_t> coverage(kW * kH);
  for (int32_t i = 0; i < kW * kH; ++i) coverage[static_cast<size_t>(i)] = static_cast<uint8_t>((i * 29 + 3) % 256);
  const auto gradient = [](int32_t, int32_t y) {
    return Pixel(static_cast<uint32_t>(10 + 9 * y), static_cast<uint32_t>(200 - 7 * y), 40, 255);
  };
  const uint32_t ink = Pixel(240, 220, 30, 255);
  ExpectGlyphOver(coverage, kW, kH, ink, gradient);
  ExpectGlyphOver(coverage, kW, kH, ink, gradient);
  ExpectGlyphOver(coverage, kW, kH, ink,
                  [&](int32_t x, int32_t y) { return y == 7 ? Pixel(1, 2, 3, 255) : gradient(x, y); });
  coverage[40] = static_cast<uint8_t>(coverage[40] ^ 0x55);
  ExpectGlyphOver(coverage, kW, kH, ink, gradient);
  ExpectGlyphOver(coverage, kW, kH, Pixel(240, 220, 30, 128), gradient);
  ExpectGlyphOver(coverage, kW, kH, ink, [&](int32_t x, int32_t y) {
    return y == 4 ? Pixel(static_cast<uint32_t>(20 * x), 0, 0, 255) : gradient(x, y);
  });

  // Cut at the left edge: the box drawn is the glyph's right kW - 2 columns.
  const auto drawCut = [&] {
    const GlyphBitmap g{coverage.data(), kW, kW, kH, 0, kH, kW};
    GuardedSurface s(kW - 2, kH);
    for (int32_t y = 0; y < kH; ++y)
      for (int32_t x = 0; x < kW - 2; ++x) s.At(x, y) = gradient(x, y);
    GenDrawGlyph(s.View(), s.Bounds(), g, -2, kH, ink, 255);
    for (int32_t y = 0; y < kH; ++y)
      for (int32_t x = 0; x < kW - 2; ++x) {
        const uint8_t m = coverage[static_cast<size_t>(y * kW + x + 2)];
        ASSERT_EQ(s.At(x, y), test::RefOver(MulPixel(ink, m), gradient(x, y))) << x << "," << y;
      }
    EXPECT_TRUE(s.GuardsIntact());
  };
  drawCut();
  drawCut();
  coverage[kW * 5 + 6] = static_cast<uint8_t>(coverage[kW * 5 + 6] + 1);
  drawCut();

  // Far more boxes than are kept, then the first again.
  std::vector<std::vector<uint8_t>> others(300, std::vector<uint8_t>(32 * 32));
  for (size_t n = 0; n < others.size(); ++n) {
    for (size_t i = 0; i < others[n].size(); ++i) others[n][i] = static_cast<uint8_t>(i * 13 + n);
    ExpectGlyphOver(others[n], 32, 32, ink, gradient);
  }
  ExpectGlyphOver(coverage, kW, kH, ink, gradient);
}

TEST(Layout, WrapsAtSpacesAndBreaksLongWords) {
  EXPECT_EQ(Lines(u"abc def ghij", {33, true}), (L{u"abc def", u"ghij"}));  // "abc def" is 33 wide
  EXPECT_EQ(Lines(u"abc def ghij", {32, true}), (L{u"abc", u"def", u"ghij"}));
  EXPECT_EQ(Lines(u"ab   cd", {12, true}), (L{u"ab", u"cd"}));  // the spaces at a break vanish
  EXPECT_EQ(Lines(u"abcdefgh xy", {17, true}), (L{u"abc", u"def", u"gh", u"xy"}));
  EXPECT_EQ(Lines(u"x abcdefgh", {17, true}), (L{u"x", u"abc", u"def", u"gh"}));
  EXPECT_EQ(Lines(u"  ab", {12, true}), (L{u"  a", u"b"}));  // leading spaces are no break
  EXPECT_EQ(Lines(u"abc", {2, true}), (L{u"a", u"b", u"c"}));  // one character a line at least
  EXPECT_EQ(Lines(u"abc def", {0, true}), (L{u"abc def"}));     // no width, no wrapping
  EXPECT_EQ(Lines(u"ab\n\ncd\n", {}), (L{u"ab", u"", u"cd", u""}));
  EXPECT_TRUE(Lines(u"", {}).empty());
}

TEST(Layout, MeasuresWithoutTrailingSpaces) {
  BoxFont font;
  const TextRun run{u"ab  \nabc", &font, kRed};
  const TextLayout layout = LayoutText({&run, 1}, {});
  ASSERT_EQ(layout.lines.size(), 2u);
  EXPECT_EQ(layout.lines[0].width, 10);
  EXPECT_EQ(layout.width, 15);
  EXPECT_EQ(layout.height, 2 * (8 + 2) + 1);
}

TEST(Layout, EllipsisCutsWhatDoesNotFit) {
  // "..." is 6 wide.
  EXPECT_EQ(Lines(u"abcdef", {25, false, true}), (L{u"abc..."}));  // 15 + 6 fits 25, 20 + 6 does not
  EXPECT_EQ(Lines(u"abcde", {25, false, true}), (L{u"abcde"}));
  EXPECT_EQ(Lines(u"ab cdef", {19, false, true}), (L{u"ab..."}));  // no space before the dots
  EXPECT_EQ(Lines(u"abcdef\nxy", {25, false, true}), (L{u"abc...", u"xy"}));
  EXPECT_EQ(Lines(u"abcdef", {25}), (L{u"abcdef"}));  // without the ellipsis nothing is cut
  // With a line limit the last line takes the ellipsis when text remains.
  EXPECT_EQ(Lines(u"abc def ghi jkl mno", {33, true, true, 2}), (L{u"abc def", u"ghi j..."}));
  EXPECT_EQ(Lines(u"abc def ghi jk", {33, true, true, 2}), (L{u"abc def", u"ghi jk"}));
  EXPECT_EQ(Lines(u"abc\ndef\nghi", {33, true, true, 2}), (L{u"abc", u"def..."}));
  EXPECT_EQ(Lines(u"abc def ghi jkl mno", {33, true, false, 2}), (L{u"abc def", u"ghi jkl"}));
  EXPECT_EQ(Lines(u"ab\ncd", {0, false, true, 1}), (L{u"ab..."}));  // unlimited width: dots added
  BoxFont font;
  const TextRun run{u"abcdefgh", &font, kRed};
  EXPECT_EQ(LayoutText({&run, 1}, {25, false, true}).width, 21);
}

TEST(AttrText, RunsKeepTheirFontsAndColours) {
  BoxFont small, tall(12, 3, 0);
  const TextRun runs[] = {{u"A", &small, kRed}, {u"V", &tall, kGreen}};
  const TextLayout layout = LayoutText(runs, {});
  EXPECT_EQ(layout.width, 10);  // no kerning across fonts
  EXPECT_EQ(layout.height, 15);
  GuardedSurface s(12, 16);
  GenDrawAttrText(s.View(), s.Bounds(), runs, layout, {0, 0, 12, 16}, AlignH::Left, AlignV::Top, 255);
  EXPECT_EQ(s.At(0, 11), kRed);  // on baseline 12, 8 high
  EXPECT_EQ(s.At(0, 3), 0u);
  EXPECT_EQ(s.At(5, 0), kGreen);  // 12 high, columns 5-8
  EXPECT_EQ(s.At(8, 11), kGreen);
  EXPECT_EQ(s.At(9, 11), 0u);
}

TEST(AttrText, AlignsLinesInTheBox) {
  BoxFont font;
  const TextRun run{u"ab\nabcd", &font, kRed};
  const TextLayout layout = LayoutText({&run, 1}, {});
  const Rect box{2, 3, 42, 33};  // 40 x 30; the text is 20 x 21
  struct Case { AlignH h; AlignV v; int32_t x0, x1, top; };  // left of both lines, top of the first
  const Case cases[] = {{AlignH::Left, AlignV::Top, 2, 2, 3},
                        {AlignH::Center, AlignV::Center, 17, 12, 7},
                        {AlignH::Right, AlignV::Bottom, 32, 22, 12}};
  for (const Case& c : cases) {
    GuardedSurface s(50, 40);
    GenDrawAttrText(s.View(), s.Bounds(), {&run, 1}, layout, box, c.h, c.v, 255);
    for (const auto& [x, top] : {std::pair{c.x0, c.top}, std::pair{c.x1, c.top + 11}}) {
      EXPECT_EQ(s.At(x, top), kRed) << x << "," << top;
      EXPECT_EQ(s.At(x - 1, top), 0u) << x << "," << top;
      EXPECT_EQ(s.At(x, top - 1), 0u) << x << "," << top;
    }
  }
}

TEST(AttrText, DrawsTheEllipsisAndHonoursOpacity) {
  BoxFont font;
  const TextRun run{u"abcdef", &font, kRed};
  const TextLayout layout = LayoutText({&run, 1}, {25, false, true});
  GuardedSurface s(30, 10), faint(30, 10);
  GenDrawAttrText(s.View(), s.Bounds(), {&run, 1}, layout, {0, 0, 30, 10}, AlignH::Left, AlignV::Top, 255);
  GenDrawAttrText(faint.View(), faint.Bounds(), {&run, 1}, layout, {0, 0, 30, 10}, AlignH::Left, AlignV::Top, 100);
  // "abc" covers 0-13, the dots 15, 17 and 19.
  for (int32_t x : {0, 13, 15, 17, 19}) EXPECT_EQ(s.At(x, 4), kRed) << x;
  for (int32_t x : {14, 16, 18, 20, 21, 25}) EXPECT_EQ(s.At(x, 4), 0u) << x;
  EXPECT_EQ(faint.At(0, 4), MulPixel(kRed, 100));
}


// Box glyphs of graded coverage whose shading can change, and which promise
// their look by an edition: text in it may be kept and shown again. Its twin
// of edition 0 draws the same glyphs, each time anew.
class ShadedFont : public BoxFont {
 public:
  GlyphBitmap Glyph(char16_t c) override {
    GlyphBitmap g = BoxFont::Glyph(c);
    coverage_.assign(static_cast<size_t>(g.pitch * g.height), 0);
    for (int32_t y = 0; y < g.height; ++y)
      for (int32_t x = 0; x < g.width; ++x)
        coverage_[static_cast<size_t>(y * g.pitch + x)] = static_cast<uint8_t>((x * 37 + y * 11 + c + shade) % 256);
    g.coverage = coverage_.data();
    return g;
  }
  int32_t Advance(char16_t c) override { return BoxFont::Advance(c) + wider; }
  uint64_t Edition() const override { return edition; }
  int32_t shade = 0;
  int32_t wider = 0;  // added to every advance
  uint64_t edition = 0;

 private:
  std::vector<uint8_t> coverage_;
};

// Texts laid out again in a font that promises its look are laid out as
// anew, for every option; once the font has changed, by the changed font.
TEST(Layout, ALayoutMadeAgainIsTheLayoutMadeAnew) {
  ShadedFont kept, fresh;
  kept.edition = 0x5eed1001u;
  const auto same = [&](std::u16string_view text, const LayoutOptions& o) {
    fresh.wider = kept.wider;
    const TextRun a{text, &kept, kRed}, b{text, &fresh, kRed};
    const TextLayout x = LayoutText({&a, 1}, o), y = LayoutText({&b, 1}, o);
    std::vector<std::tuple<int32_t, int32_t, int32_t, bool>> lx, ly;
    for (const TextLine& l : x.lines) lx.emplace_back(l.begin, l.end, l.width, l.ellipsis);
    for (const TextLine& l : y.lines) ly.emplace_back(l.begin, l.end, l.width, l.ellipsis);
    EXPECT_EQ(lx, ly) << std::string(text.begin(), text.end()) << " width " << o.width;
    EXPECT_EQ(x.width, y.width);
    EXPECT_EQ(x.height, y.height);
  };
  const std::u16string_view texts[] = {u"abc def ghij", u"AV W.", u"ab\n\ncd\n", u"", u"abcdefgh xy"};
  const LayoutOptions options[] = {{}, {17, true}, {25, false, true}, {33, true, true, 2}, {0, false, true, 1}};
  for (int pass = 0; pass < 2; ++pass) {
    for (const auto text : texts)
      for (const LayoutOptions& o : options) same(text, o);
    kept.wider = 2;
    kept.edition++;
  }
}

// A line of text drawn again and again at the same place, as a screen
// redraws it, over the same and over changed pixels, after its font changed,
// in other inks, moved, cut, with other characters, ending in the ellipsis,
// and after many other lines made room. Every time it must be what the same
// line draws anew in a font that promises nothing.
TEST(AttrText, ALineDrawnAgainIsDrawnOverWhatIsUnderItNow) {
  ShadedFont kept, fresh;
  kept.edition = 0x5eed0001u;
  const auto gradient = [](int32_t, int32_t y) {
    return Pixel(static_cast<uint32_t>(10 + 9 * y), static_cast<uint32_t>(200 - 7 * y), 40, 255);
  };
  struct Draw {
    std::u16string text = u"AVW ab.";
    uint32_t colour = Pixel(240, 220, 30, 255);
    uint8_t opacity = 255;
    Rect box{3, 2, 60, 16};
    Rect clip{0, 0, 64, 20};
    LayoutOptions options{};
  };
  const auto expect = [&](const Draw& d, auto under, const char* what) {
    fresh.shade = kept.shade;
    GuardedSurface a(64, 20), b(64, 20);
    for (int32_t y = 0; y < 20; ++y)
      for (int32_t x = 0; x < 64; ++x) a.At(x, y) = b.At(x, y) = under(x, y);
    for (auto [s, font] : {std::pair{&a, static_cast<GlyphSource*>(&kept)}, std::pair{&b, static_cast<GlyphSource*>(&fresh)}}) {
      const TextRun run{d.text, font, d.colour};
      GenDrawAttrText(s->View(), d.clip, {&run, 1}, LayoutText({&run, 1}, d.options), d.box, AlignH::Left, AlignV::Top,
                      d.opacity);
    }
    int32_t differ = 0, drawn = 0;
    for (int32_t y = 0; y < 20; ++y)
      for (int32_t x = 0; x < 64; ++x) {
        differ += a.At(x, y) != b.At(x, y);
        drawn += b.At(x, y) != under(x, y);
      }
    EXPECT_EQ(differ, 0) << what;
    EXPECT_GT(drawn, 0) << what;
    EXPECT_TRUE(a.GuardsIntact()) << what;
  };
  const Draw plain;
  expect(plain, gradient, "first");
  expect(plain, gradient, "again");
  expect(plain, [&](int32_t x, int32_t y) { return y == 5 ? Pixel(1, 2, 3, 255) : gradient(x, y); }, "one row changed");
  expect(plain, gradient, "the gradient back");
  expect(plain, [&](int32_t x, int32_t y) { return y == 4 ? Pixel(static_cast<uint32_t>(3 * x), 0, 0, 255) : gradient(x, y); },
         "a row varying across");
  kept.shade = 90;
  kept.edition++;
  expect(plain, gradient, "the font changed");
  Draw other = plain;
  other.colour = Pixel(20, 220, 230, 255);
  expect(other, gradient, "another ink");
  other = plain;
  other.opacity = 100;
  expect(other, gradient, "fainter");
  other = plain;
  other.box.x1 += 1;
  expect(other, gradient, "moved");
  other = plain;
  other.clip = {0, 0, 17, 9};
  expect(other, gradient, "cut");
  expect(other, gradient, "cut again");
  other = plain;
  other.text = u"AVW ac.";
  expect(other, gradient, "other characters");
  other = plain;
  other.text = u"AVW abcdefghijk";
  other.options = {40, false, true};
  expect(other, gradient, "ellipsis");
  expect(other, gradient, "ellipsis again");
  for (int32_t n = 0; n < 400; ++n) {
    Draw many = plain;
    many.text = u"Wide line " + std::u16string(1, static_cast<char16_t>(u'A' + n % 26)) + std::u16string(static_cast<size_t>(n / 26), u'W');
    const TextRun run{many.text, &kept, many.colour};
    GuardedSurface s(64, 20);
    GenDrawAttrText(s.View(), many.clip, {&run, 1}, LayoutText({&run, 1}, {}), many.box, AlignH::Left, AlignV::Top, 255);
  }
  expect(plain, gradient, "after many others");
}

}  // namespace
}  // namespace ge
