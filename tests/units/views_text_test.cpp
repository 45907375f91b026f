// Text views: synchronous auto size, ellipsis, wrapping, alignment, drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core_test_support.h"
#include "platform/fontengine/font_engine.h"
#include "units/Fonts/Fonts.h"
#include "units/Resources/Font.h"
#include "units/Views/Align.h"
#include "units/Views/MultilineText.h"
#include "units/Views/Text.h"
#include "units/Core/SeenTexts.h"

namespace {

kv::String S(const char* text) { return kv::String::FromUtf8(text); }

class TextTest : public coretest::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    if (fe::GetCacheStats().limit == 0) {  // the engine is started once per process
      FS_Init(20000);
      FS_AddFont(fe::DefaultFontPath());
    }
    font = Resources::LoadResource(Fonts::MediumFont);
  }
  template <class T>
  T* NewText(kv::Rect bounds, const char* text) {
    T* t = kv::New<T>();
    t->OnSetFont(font);
    t->OnSetColor(Colors::White);
    t->OnSetBounds(bounds);
    t->OnSetString(S(text));
    root->Add(t);
    return t;
  }
  // Leftmost and rightmost columns with drawn pixels inside `r`, or -1.
  std::pair<int32_t, int32_t> Extent(kv::Rect r) const {
    int32_t lo = -1, hi = -1;
    for (int32_t x = r.x1; x < r.x2; ++x)
      for (int32_t y = r.y1; y < r.y2; ++y)
        if (Pixel(x, y) >> 24) {
          if (lo < 0) lo = x;
          hi = x;
          break;
        }
    return {lo, hi};
  }
  int32_t RowsDrawn(kv::Rect r) const {
    int32_t n = 0;
    for (int32_t y = r.y1; y < r.y2; ++y)
      for (int32_t x = r.x1; x < r.x2; ++x)
        if (Pixel(x, y) >> 24) {
          ++n;
          break;
        }
    return n;
  }
  std::vector<uint32_t> Pixels(kv::Rect r) const {
    std::vector<uint32_t> out;
    for (int32_t y = r.y1; y < r.y2; ++y)
      for (int32_t x = r.x1; x < r.x2; ++x) out.push_back(Pixel(x, y));
    return out;
  }
  // A text view keeps its layout between draws. Draws a view set up by
  // `setUp`, then changes it by `change` and draws again: the pixels must
  // differ from the first draw and equal those of a new view set up with
  // both from the start.
  template <class T>
  void ExpectRedrawnAsNew(const char* what, const std::function<void(T*)>& setUp,
                          const std::function<void(T*)>& change) {
    const kv::Rect area{0, 0, 480, 200};
    T* kept = NewText<T>({40, 40, 400, 100}, "Picture mode: Standard, dynamic contrast on");
    setUp(kept);
    driver.Pass();
    const std::vector<uint32_t> before = Pixels(area);
    change(kept);
    driver.Pass();
    const std::vector<uint32_t> after = Pixels(area);
    root->Remove(kept);
    T* fresh = NewText<T>({40, 40, 400, 100}, "Picture mode: Standard, dynamic contrast on");
    setUp(fresh);
    change(fresh);
    driver.Pass();
    EXPECT_NE(after, before) << what << ": the change shows";
    EXPECT_EQ(after, Pixels(area)) << what;
    root->Remove(fresh);
    driver.Pass();
  }
  Resources::Font* font = nullptr;
};

TEST_F(TextTest, AutoSizeIsMeasuredRightAfterEachSetter) {
  Views::Text* t = NewText<Views::Text>({100, 50, 101, 51}, "");
  t->OnSetAutoSize(true);
  EXPECT_EQ(t->Bounds(), (kv::Rect{100, 50, 100, 50 + font->LineHeight()}));

  t->OnSetString(S("Volume"));
  const int32_t w1 = t->Bounds().W();
  EXPECT_EQ(w1, font->GetTextWidth(S("Volume")));
  EXPECT_EQ(t->Bounds().H(), font->LineHeight());
  t->OnSetString(S("Volume level"));
  EXPECT_GT(t->Bounds().W(), w1);

  // Moving keeps the measured size; a new font measures again at once.
  t->OnSetBounds({10, 20, 500, 400});
  EXPECT_EQ(t->Bounds(), (kv::Rect{10, 20, 10 + font->GetTextWidth(S("Volume level")), 20 + font->LineHeight()}));
  Resources::Font* big = Resources::LoadResource(Fonts::ExtraLargeFont);
  t->OnSetFont(big);
  EXPECT_EQ(t->Bounds().W(), big->GetTextWidth(S("Volume level")));
  EXPECT_EQ(t->Bounds().H(), big->LineHeight());

  // Off: the bounds stay as set.
  t->OnSetAutoSize(false);
  t->OnSetBounds({0, 0, 300, 40});
  t->OnSetString(S("x"));
  EXPECT_EQ(t->Bounds(), (kv::Rect{0, 0, 300, 40}));
}

TEST_F(TextTest, EllipsisShortensALongTextToItsBounds) {
  const char* longText = "A programme title far too long for the narrow box it sits in";
  Views::Text* t = NewText<Views::Text>({20, 20, 160, 50}, longText);
  EXPECT_FALSE(t->GetLayout().lines.at(0).ellipsis);
  t->OnSetEllipsis(true);
  const ge::TextLayout l = t->GetLayout();
  ASSERT_EQ(l.lines.size(), 1u);
  EXPECT_TRUE(l.lines[0].ellipsis);
  EXPECT_LE(l.lines[0].width, 140);
  EXPECT_GT(l.lines[0].width, 100);
  driver.Pass();
  const auto [lo, hi] = Extent({0, 0, 400, 80});
  EXPECT_GE(lo, 20);
  EXPECT_LT(hi, 20 + l.lines[0].width);

  // A text that fits keeps all its characters.
  t->OnSetString(S("Short"));
  EXPECT_FALSE(t->GetLayout().lines.at(0).ellipsis);
}

TEST_F(TextTest, AlignmentPlacesTheTextInItsBounds) {
  Views::Text* t = NewText<Views::Text>({100, 100, 400, 160}, "OK");
  driver.Pass();
  const auto left = Extent({100, 100, 400, 160});
  const int32_t topRows = RowsDrawn({100, 100, 400, 130});
  t->OnSetAlignH(Views::ALIGN_RIGHT);
  t->OnSetAlignV(Views::ALIGN_BOTTOM);
  driver.Pass();
  const auto right = Extent({100, 100, 400, 160});
  EXPECT_LT(left.first, 110);
  EXPECT_GT(right.second, 390);
  EXPECT_EQ(RowsDrawn({100, 100, 400, 130}), 0);
  EXPECT_GT(topRows, 0);
  t->OnSetAlignH(Views::ALIGN_CENTER);
  driver.Pass();
  const auto centre = Extent({100, 100, 400, 160});
  EXPECT_NEAR((centre.first + centre.second) / 2, 250, 3);

  // A bad value is refused with a log line and counts as left.
  t->OnSetAlignH(7);
  EXPECT_EQ(t->OnGetAlignH(), Views::ALIGN_LEFT);
}

TEST_F(TextTest, TextIsClippedToItsBoundsAndFadedByOpacity) {
  Views::Text* t = NewText<Views::Text>({50, 50, 80, 80}, "WWWWWWWW");
  driver.Pass();
  EXPECT_EQ(Extent({80, 0, 300, 100}).first, -1);  // nothing past the right edge
  uint32_t strongest = 0;
  for (int32_t y = 50; y < 80; ++y)
    for (int32_t x = 50; x < 80; ++x) strongest = std::max(strongest, Pixel(x, y) >> 24);
  EXPECT_EQ(strongest, 255u);
  // Drawn at half opacity (as a group would pass it): no pixel above half.
  std::fill(osd.Pixels(), osd.Pixels() + Core::Root::kWidth * Core::Root::kHeight, 0u);
  t->Draw(osd.View(), {50, 50, 80, 80}, {50, 50}, 128);
  strongest = 0;
  for (int32_t y = 50; y < 80; ++y)
    for (int32_t x = 50; x < 80; ++x) strongest = std::max(strongest, Pixel(x, y) >> 24);
  EXPECT_EQ(strongest, 128u);
}

// A text wider than its view shows its start whatever its alignment (never
// cut at the start, nor at both ends when centred); with the ellipsis it
// fits and ends in "...". The test build records the cut one.
TEST_F(TextTest, ATextWiderThanItsViewShowsItsStartAndACutOneIsRecorded) {
  Core::TakeCutTexts();
  Views::Text* t = NewText<Views::Text>({50, 50, 110, 80}, "Half Mute");
  const kv::Rect box{50, 50, 110, 80};
  auto snapshot = [&] {
    std::fill(osd.Pixels(), osd.Pixels() + Core::Root::kWidth * Core::Root::kHeight, 0u);
    t->Draw(osd.View(), box, {50, 50}, 255);
    std::vector<uint32_t> px;
    for (int32_t y = box.y1; y < box.y2; ++y)
      for (int32_t x = box.x1; x < box.x2; ++x) px.push_back(Pixel(x, y));
    return px;
  };
  const std::vector<uint32_t> left = snapshot();
  for (int32_t align : {Views::ALIGN_CENTER, Views::ALIGN_RIGHT}) {
    SCOPED_TRACE(align);
    t->OnSetAlignH(align);
    EXPECT_EQ(snapshot(), left);
  }
  const std::vector<std::string> cut = Core::TakeCutTexts();
#if KV_VERIFY
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_NE(cut[0].find("Views::Text"), std::string::npos) << cut[0];
  EXPECT_NE(cut[0].find("\"Half Mute\""), std::string::npos) << cut[0];
#endif
  // With the ellipsis, centred: it fits the view and is not recorded.
  t->OnSetEllipsis(true);
  snapshot();
  EXPECT_TRUE(t->GetLayout().lines.at(0).ellipsis);
  EXPECT_LE(t->GetLayout().width, box.W());
  EXPECT_LT(Extent({110, 0, 300, 100}).first, 0);
  EXPECT_TRUE(Core::TakeCutTexts().empty());
}

TEST_F(TextTest, MultilineAutoSizeKeepsTheWidthAndGrowsTheHeight) {
  Views::MultilineText* m = NewText<Views::MultilineText>({40, 40, 240, 41}, "One line");
  m->OnSetAutoSize(true);
  EXPECT_EQ(m->Bounds().W(), 200);
  const int32_t one = m->Bounds().H();
  EXPECT_EQ(one, font->LineHeight());

  m->OnSetString(S("Several words that cannot possibly fit on one line of two hundred pixels, so they wrap"));
  const int32_t several = m->Bounds().H();
  EXPECT_EQ(m->Bounds().W(), 200);
  EXPECT_GE(several, 3 * font->LineHeight());
  EXPECT_EQ(static_cast<int32_t>(m->GetLayout().lines.size()) * font->LinePitch() - font->Leading(), several);
  for (const ge::TextLine& l : m->GetLayout().lines) EXPECT_LE(l.width, 200);

  m->OnSetString(S("Line\nbreaks\ncount"));
  EXPECT_EQ(m->Bounds().H(), 3 * font->LinePitch() - font->Leading());

  // Narrower bounds wrap into more lines.
  m->OnSetString(S("Several words that cannot possibly fit on one line of two hundred pixels, so they wrap"));
  m->OnSetBounds({40, 40, 140, 41});
  EXPECT_GT(m->Bounds().H(), several);
  driver.Pass();
  EXPECT_GT(RowsDrawn({40, 40, 140, 40 + m->Bounds().H()}), 2 * font->LineHeight());
}

TEST_F(TextTest, MultilineEllipsisEndsTheLastLineThatFits) {
  Views::MultilineText* m = NewText<Views::MultilineText>(
      {40, 40, 200, 40 + 2 * font->LinePitch()},
      "Several words that cannot possibly fit on two lines of this narrow box at all");
  EXPECT_GT(m->GetLayout().lines.size(), 2u);
  m->OnSetEllipsis(true);
  const ge::TextLayout l = m->GetLayout();
  ASSERT_EQ(l.lines.size(), 2u);
  EXPECT_TRUE(l.lines[1].ellipsis);
}

TEST_F(TextTest, SettersRedrawOnlyWhenAttachedAndChanged) {
  Views::Text* t = NewText<Views::Text>({10, 10, 100, 40}, "A");
  driver.Pass();
  t->OnSetString(S("A"));
  EXPECT_EQ(root->GetDirtyCount(), 0);
  t->OnSetColor(Colors::TitleTextColor);
  EXPECT_EQ(root->GetDirtyCount(), 1);
  EXPECT_EQ(root->GetDirtyRects()[0], (kv::Rect{10, 10, 100, 40}));

  // Without a font the medium font is used.
  kv::Persistent<Views::Text> loose = kv::New<Views::Text>();
  loose->OnSetAutoSize(true);
  loose->OnSetString(S("Menu"));
  EXPECT_EQ(loose->Bounds().W(), font->GetTextWidth(S("Menu")));
}

TEST_F(TextTest, KeptLayoutIsMadeAgainWhenItsInputsChange) {
  using T = Views::Text;
  const auto none = [](T*) {};
  const auto ellipsis = [](T* t) { t->OnSetEllipsis(true); };
  ExpectRedrawnAsNew<T>("string", none, [](T* t) { t->OnSetString(S("Sound mode: Movie")); });
  ExpectRedrawnAsNew<T>("font", none,
                        [](T* t) { t->OnSetFont(Resources::LoadResource(Fonts::ExtraSmallFont)); });
  ExpectRedrawnAsNew<T>("ellipsis", none, ellipsis);
  ExpectRedrawnAsNew<T>("narrower bounds", ellipsis, [](T* t) { t->OnSetBounds({40, 40, 180, 100}); });
  ExpectRedrawnAsNew<T>("moved bounds", ellipsis, [](T* t) { t->OnSetBounds({60, 90, 420, 150}); });
  ExpectRedrawnAsNew<T>("alignment", none, [](T* t) {
    t->OnSetAlignH(Views::ALIGN_RIGHT);
    t->OnSetAlignV(Views::ALIGN_BOTTOM);
  });
  ExpectRedrawnAsNew<T>("colour", none, [](T* t) { t->OnSetColor(Colors::TitleTextColor); });

  using M = Views::MultilineText;
  ExpectRedrawnAsNew<M>("wrap width", [](M*) {}, [](M* t) { t->OnSetBounds({40, 40, 200, 100}); });
  ExpectRedrawnAsNew<M>(
      "lines that fit", [](M* t) { t->OnSetBounds({40, 40, 200, 200}); t->OnSetEllipsis(true); },
      [](M* t) { t->OnSetBounds({40, 40, 200, 70}); });
  ExpectRedrawnAsNew<M>("several lines to one", [](M* t) { t->OnSetBounds({40, 40, 200, 200}); },
                        [](M* t) { t->OnSetString(S("Menu")); });
  ExpectRedrawnAsNew<M>("one line to several", [](M* t) { t->OnSetString(S("Menu")); },
                        [](M* t) { t->OnSetString(S("Sound mode: Movie, surround on, bass boost off")); });
}

}  // namespace

// A key's caption in a help row is given the width InkWidth() answers: it
// shows every pixel the same caption shows with room to spare, also where its
// first or last letter reaches past its advance (the arm of a closing "r":
// "Girar", "Borrar", "Pivoter"). A view as wide as the advances alone loses
// that column.
TEST_F(TextTest, ACaptionAsWideAsItsInkShowsEveryPixelOfIt) {
  const kv::Rect area{0, 0, 400, 100};
  for (const char* caption : {"Girar", "Borrar", "Pivoter", "Arrêter", "Salir", "Back", "Select", "Jour", "Exit"}) {
    SCOPED_TRACE(caption);
    Views::Text* roomy = NewText<Views::Text>({100, 40, 380, 80}, caption);
    driver.Pass();
    const std::vector<uint32_t> whole = Pixels(area);
    const int32_t w = roomy->InkWidth();
    root->Remove(roomy);
    Views::Text* fitted = NewText<Views::Text>({100, 40, 100 + w, 80}, caption);
    root->InvalidateAll();
    driver.Pass();
    EXPECT_EQ(Pixels(area), whole) << "width " << w;
    root->Remove(fitted);
    root->InvalidateAll();
    driver.Pass();
  }
}
