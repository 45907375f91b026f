// The resource cache and the recipe-drawn bitmaps; bitmaps, canvases and
// fonts as GUI objects.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ge/surface.h"
#include "platform/fontengine/font_engine.h"
#include "runtime/collector.h"
#include "runtime/member.h"
#include "runtime/ref.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "support/kv_test.h"
#include "units/Bitmaps/BannerBitmaps.h"
#include "units/Bitmaps/Bitmaps.h"
#include "units/Bitmaps/ListBitmaps.h"
#include "units/Colors/Colors.h"
#include "units/Fonts/Fonts.h"
#include "units/Graphics/Canvas.h"
#include "units/Graphics/RootCanvas.h"
#include "units/Resources/Bitmap.h"
#include "units/Resources/Font.h"
#include "units/Resources/Resources.h"

// A named bitmap that nobody has drawn yet.
KV_BITMAP(ResTest, Unfinished, nullptr, 30, 20, 2);

namespace {

class Watcher : public kv::Object {
  KV_CLASS(ResTest, Watcher, kv::Object)
 public:
  int notified = 0;
  void OnChanged(kv::Object*) { ++notified; }
};

uint32_t Alpha(uint32_t p) { return p >> 24; }

uint32_t At(const ge::Surface& s, int32_t x, int32_t y) { return s.Row(y)[x]; }

class ResourcesTest : public kvtest::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    if (fe::GetCacheStats().limit == 0) {  // the engine is started once per process
      FS_Init(20000);
      FS_AddFont(fe::DefaultFontPath());
    }
    kv::SetTraceSink([this](std::string_view line) { logged.emplace_back(line); });
  }
  void TearDown() override {
    kv::SetTraceSink(nullptr);
    RuntimeTest::TearDown();
  }
  bool Logged(const std::string& part) const {
    for (const auto& l : logged)
      if (l.find(part) != std::string::npos) return true;
    return false;
  }
  std::vector<std::string> logged;
};

TEST_F(ResourcesTest, LoadedOnceSharedKeptByTheCacheAndFreedAfterReset) {
  Resources::Bitmap* a = Resources::LoadResource(Bitmaps::MiniGuideBackground);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(Resources::LoadResource(Bitmaps::MiniGuideBackground), a);
  Resources::Font* f = Resources::LoadResource(Fonts::MediumFont);
  EXPECT_EQ(Resources::LoadResource(Fonts::MediumFont), f);
  EXPECT_NE(Resources::LoadResource(Fonts::LargeFont), f);

  // Nothing else refers to them: the cache alone keeps them through collections.
  const size_t live = kv::LiveObjects();
  kv::Collect();
  driver.Pass();
  kv::Collect();
  EXPECT_EQ(kv::LiveObjects(), live);
  EXPECT_EQ(Resources::LoadResource(Bitmaps::MiniGuideBackground), a);
  EXPECT_EQ(a->Width(), 80);  // still a valid object

  kv::Runtime::ResetForTests();
  EXPECT_EQ(Resources::CachedResourceCount(), 0u);
  EXPECT_EQ(kv::HeapCensus()["Resources::Bitmap"], 0u);
  EXPECT_EQ(kv::HeapCensus()["Resources::Font"], 0u);
  kv::Runtime::SetGuiThread();
  kvtest::ThrowOnPanic();
  // Loaded again afterwards, and kept again.
  Resources::Bitmap* b = Resources::LoadResource(Bitmaps::MiniGuideBackground);
  kv::Collect();
  EXPECT_EQ(kv::HeapCensus()["Resources::Bitmap"], 1u);
  EXPECT_EQ(b->Width(), 80);
}

TEST_F(ResourcesTest, LanguageChangeRedrawsCachedBitmapsInPlaceAndNotifiesObservers) {
  Resources::Bitmap* b = Resources::LoadResource(Bitmaps::DialogButtonFocus);
  const ge::Surface s = b->GetSurface();
  const uint32_t centre = At(s, s.width / 2, s.height / 2);
  s.Row(s.height / 2)[s.width / 2] = 0;  // spoil one pixel

  kv::Persistent<Watcher> w = kv::New<Watcher>();
  kv::AttachObjObserver(kv::MakeSlot(w.get(), &Watcher::OnChanged), b);

  kv::SetLanguage(1);
  driver.Pass();
  EXPECT_EQ(Resources::LoadResource(Bitmaps::DialogButtonFocus), b);
  EXPECT_EQ(At(b->GetSurface(), s.width / 2, s.height / 2), centre);
  EXPECT_EQ(w->notified, 1);
}

TEST_F(ResourcesTest, EveryNamedBitmapHasItsSizeAndVisiblePixels) {
  ASSERT_GT(Resources::AllBitmapIds().size(), 60u);
  for (const Resources::BitmapId* id : Resources::AllBitmapIds()) {
    SCOPED_TRACE(id->name);
    Resources::Bitmap* b = Resources::LoadResource(*id);
    EXPECT_EQ(b->OnGetNoOfFrames(), id->frames);
    EXPECT_EQ(b->GetFrameSize(), (kv::Point{id->width, id->height}));
    const ge::Surface s = b->GetSurface();
    ASSERT_NE(s.pixels, nullptr);
    int64_t visible = 0;
    bool premultiplied = true;
    for (int32_t y = 0; y < s.height; ++y) {
      for (int32_t x = 0; x < s.width; ++x) {
        const uint32_t p = At(s, x, y), a = Alpha(p);
        visible += a != 0;
        premultiplied &= (p & 0xff) <= a && ((p >> 8) & 0xff) <= a && ((p >> 16) & 0xff) <= a;
      }
    }
    EXPECT_GT(visible, 0);
    EXPECT_TRUE(premultiplied);
  }
}

// Opaque: a panel opens over other screens, whose texts must not show through.
TEST_F(ResourcesTest, PanelIsDarkAndOpaqueWithRoundedCornersAndALightRim) {
  Resources::Bitmap* b = Resources::LoadResource(Bitmaps::MiniGuideBackground);
  const ge::Surface s = b->GetSurface();
  ASSERT_EQ(b->OnGetSize(), (kv::Point{80, 80}));
  const uint32_t centre = At(s, 40, 40);
  EXPECT_EQ(Alpha(centre), 255u);
  EXPECT_LT(centre & 0xff, 60u);  // dark
  // Rounded: the corner pixels are clear, the middle of each edge is not.
  for (auto [x, y] : {std::pair{0, 0}, {79, 0}, {0, 79}, {79, 79}}) EXPECT_EQ(Alpha(At(s, x, y)), 0u);
  for (auto [x, y] : {std::pair{40, 0}, {0, 40}, {79, 40}, {40, 79}}) {
    EXPECT_GT(Alpha(At(s, x, y)), 150u);
    EXPECT_GT(At(s, x, y) & 0xff, (centre & 0xff) + 50);  // the rim is lighter
  }
  // Uniform along the edges past the corners: nine-slice friendly.
  EXPECT_EQ(At(s, 20, 40), At(s, 60, 40));
  EXPECT_EQ(At(s, 20, 1), At(s, 60, 1));
}

TEST_F(ResourcesTest, FocusedAndPlainBarsDiffer) {
  const ge::Surface f = Resources::LoadResource(Bitmaps::TimeZoneListButtonFocus)->GetSurface();
  const ge::Surface n = Resources::LoadResource(Bitmaps::TimeZoneListButtonNonfocus)->GetSurface();
  ASSERT_EQ(f.width, 180);
  ASSERT_EQ(f.height, 27);
  const uint32_t fp = At(f, 90, 14), np = At(n, 90, 14);
  EXPECT_EQ(Alpha(fp), 255u);           // the highlight is solid
  EXPECT_GT((fp >> 16) & 0xff, 100u);   // and blue
  EXPECT_LT(Alpha(np), 255u);           // the plain bar lets the panel show through
}

// A badge's caption keeps clear of the badge's left and right edges, the
// widest ones ("SVGA", "HDMI", "WXGA") included.
TEST_F(ResourcesTest, BadgeCaptionsKeepClearOfTheirEdges) {
  for (const Resources::BitmapId* id :
       std::initializer_list<const Resources::BitmapId*>{&Bitmaps::BannerSVGA, &Bitmaps::BannerWXGA, &Bitmaps::BannerSXGA, &Bitmaps::Banner1080,
        &Bitmaps::BannerHDMIInput, &Bitmaps::BannerRF2Input, &Bitmaps::InputListCECImage, &Bitmaps::DTV}) {
    SCOPED_TRACE(id->name);
    const ge::Surface s = Resources::LoadResource(*id)->GetSurface();
    int32_t first = s.width, last = -1;
    for (int32_t y = 2; y < s.height - 2; ++y)
      for (int32_t x = 0; x < s.width; ++x)
        if ((At(s, x, y) & 0xff) > 200) {  // the light caption, not the dark face
          first = std::min(first, x);
          last = std::max(last, x);
        }
    ASSERT_GE(last, 0) << "no caption";
    EXPECT_GE(first, 2);
    EXPECT_LE(last, s.width - 3);
  }
}

TEST_F(ResourcesTest, CheckedBoxShowsItsTick) {
  const ge::Surface empty = Resources::LoadResource(Bitmaps::CheckBox)->GetSurface();
  const ge::Surface ticked = Resources::LoadResource(Bitmaps::CheckBoxCheck)->GetSurface();
  int64_t bright = 0;
  for (int32_t y = 0; y < ticked.height; ++y)
    for (int32_t x = 0; x < ticked.width; ++x)
      bright += (At(ticked, x, y) & 0xff) > 230 && (At(empty, x, y) & 0xff) < 100;
  EXPECT_GT(bright, 10);
}

TEST_F(ResourcesTest, ArrowPointsTheRightWay) {
  const ge::Surface up = Resources::LoadResource(Bitmaps::OptionButtonUpArrow)->GetSurface();
  const ge::Surface down = Resources::LoadResource(Bitmaps::OptionButtonDownArrow)->GetSurface();
  auto rowCoverage = [](const ge::Surface& s, int32_t y) {
    int32_t n = 0;
    for (int32_t x = 0; x < s.width; ++x) n += (At(s, x, y) & 0xff) > 128;
    return n;
  };
  EXPECT_LT(rowCoverage(up, 7), rowCoverage(up, 13));    // narrow at the top
  EXPECT_GT(rowCoverage(down, 7), rowCoverage(down, 13));
}

TEST_F(ResourcesTest, MissingRecipeGivesALoggedPlaceholder) {
  Resources::Bitmap* b = Resources::LoadResource(ResTest::Unfinished);
  EXPECT_TRUE(Logged("ResTest::Unfinished has no recipe"));
  EXPECT_EQ(b->GetFrameSize(), (kv::Point{30, 20}));
  EXPECT_EQ(b->OnGetNoOfFrames(), 2);
  const ge::Surface f1 = b->GetFrameSurface(1);
  EXPECT_EQ(At(f1, 0, 0), 0xFFFF00FFu);        // magenta outline
  EXPECT_GT(Alpha(At(f1, 15, 5)), 0u);         // filled inside
}

TEST_F(ResourcesTest, FramesSitSideBySide) {
  kv::Persistent<Resources::Bitmap> b = kv::New<Resources::Bitmap>();
  b->OnSetNoOfFrames(3);
  b->OnSetSize({30, 4});
  EXPECT_EQ(b->GetFrameSize(), (kv::Point{10, 4}));
  const ge::Surface f2 = b->GetFrameSurface(2);
  EXPECT_EQ(f2.width, 10);
  EXPECT_EQ(f2.pixels, b->GetSurface().pixels + 20);
  EXPECT_EQ(f2.stride, 30);
  EXPECT_EQ(b->GetFrameSurface(7).pixels, f2.pixels);  // clamped to the last frame
  EXPECT_EQ(b->GetFrameSurface(-1).pixels, b->GetSurface().pixels);

  b->OnSetNoOfFrames(0);
  EXPECT_EQ(b->OnGetNoOfFrames(), 1);
  b->OnSetSize({-5, 3});
  EXPECT_FALSE(b->HasSurface());
  EXPECT_TRUE(Logged("negative size"));
}

TEST_F(ResourcesTest, CanvasPixelsAndRectangles) {
  kv::Persistent<Graphics::Canvas> c = kv::New<Graphics::Canvas>();
  c->DrawPixel(0, 0, Colors::Red);  // no pixels yet: nothing happens
  c->OnSetSize(10, 8);
  const ge::Surface s = c->GetNativeSurface();
  ASSERT_EQ(s.width, 10);
  EXPECT_EQ(At(s, 5, 5), 0u);  // transparent at first

  c->DrawPixel(1, 2, kv::Color{200, 100, 50, 128});
  EXPECT_EQ(At(s, 1, 2), ge::Premultiply(0x803264c8u));
  c->DrawPixel(10, 2, Colors::Red);
  c->DrawPixel(-1, 2, Colors::Red);

  c->DrawRectangle({0, 0, 10, 8}, {2, 2, 6, 6}, Colors::Red, false);
  EXPECT_EQ(At(s, 2, 2), 0xFF0000FFu);
  EXPECT_EQ(At(s, 5, 5), 0xFF0000FFu);
  EXPECT_EQ(At(s, 6, 6), 0u);
  // Blended: half-transparent blue over the red.
  c->DrawRectangle({0, 0, 10, 8}, {4, 4, 8, 8}, kv::Color{0, 0, 255, 128}, true);
  EXPECT_EQ(At(s, 5, 5), ge::Over(ge::Premultiply(0x80FF0000u), 0xFF0000FFu));
  EXPECT_EQ(At(s, 7, 7), ge::Premultiply(0x80FF0000u));
  // Copied: the translucent colour replaces what was there; the clip limits it.
  c->DrawRectangle({0, 0, 3, 3}, {0, 0, 10, 8}, kv::Color{0, 255, 0, 64}, false);
  EXPECT_EQ(At(s, 2, 2), ge::Premultiply(0x4000FF00u));
  EXPECT_EQ(At(s, 3, 3), 0xFF0000FFu);
}

TEST_F(ResourcesTest, RootCanvasDrawsIntoTheSurfaceItIsAttachedTo) {
  ge::Bitmap osd(16, 8);
  kv::Persistent<Graphics::RootCanvas> c = kv::New<Graphics::RootCanvas>();
  c->Attach(osd.View());
  EXPECT_EQ(c->OnGetSize(), (kv::Point{16, 8}));
  c->DrawRectangle({0, 0, 16, 8}, {0, 0, 16, 8}, Colors::White, false);
  EXPECT_EQ(osd.View().Row(7)[15], 0xFFFFFFFFu);
  // A size of its own detaches it.
  c->OnSetSize(4, 4);
  EXPECT_FALSE(c->IsAttached());
  c->DrawPixel(0, 0, Colors::Black);
  EXPECT_EQ(osd.View().Row(0)[0], 0xFFFFFFFFu);
}

TEST_F(ResourcesTest, FontMeasuresRunsOfCharacters) {
  Resources::Font* f = Resources::LoadResource(Fonts::MediumFont);
  const kv::String text = kv::String::FromUtf8("Menu");
  const int32_t whole = f->GetTextWidth(text, 0, -1);
  EXPECT_GT(whole, 20);
  EXPECT_EQ(f->GetTextWidth(text), whole);
  EXPECT_EQ(f->GetTextWidth(text, 0, 4), whole);
  EXPECT_EQ(f->GetTextWidth(text, 0, 99), whole);  // clipped to the text
  EXPECT_EQ(f->GetTextWidth(text, 1, 1), f->GetTextWidth(kv::String::FromUtf8("e")));
  EXPECT_EQ(f->GetTextWidth(text, 4, 3), 0);
  EXPECT_EQ(f->GetTextWidth(text, 0, 0), 0);
  EXPECT_GT(f->Ascent(), 10);
  EXPECT_GT(f->Descent(), 0);
  EXPECT_EQ(f->LineHeight(), f->Ascent() + f->Descent());
  // A larger face measures wider.
  EXPECT_GT(Resources::LoadResource(Fonts::ExtraLargeFont)->GetTextWidth(text), whole);
}

TEST_F(ResourcesTest, ColoursGivenAsWordsAreDecodedRedFirst) {
  EXPECT_EQ(Colors::InputLabelStandardTextColor, (kv::Color{170, 195, 237, 255}));
  EXPECT_EQ(Colors::InputLabelDefaultTextColor, (kv::Color{100, 120, 150, 255}));
  EXPECT_EQ(Colors::MenuBgColor, (kv::Color{9, 10, 11, 255}));
  EXPECT_EQ(Colors::Blue, (kv::Color{0, 0, 255, 255}));
  EXPECT_EQ(Colors::Cyan, (kv::Color{0, 255, 255, 255}));
  EXPECT_EQ(Colors::StandardOptionBgColor, (kv::Color{23, 86, 140, 255}));
}

}  // namespace
