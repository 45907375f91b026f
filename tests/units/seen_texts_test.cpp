// What the viewer sees of texts: cut by the group that holds them, hidden
// in part by what is drawn later, overlapping one another.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core_test_support.h"
#include "platform/fontengine/font_engine.h"
#include "ge/glyph_source.h"
#include "units/Core/SeenTexts.h"
#include "units/Fonts/Fonts.h"
#include "units/Resources/Font.h"
#include "units/Views/Align.h"
#include "units/Views/MultilineText.h"
#include "units/Views/Rectangle.h"
#include "units/Views/Text.h"

namespace {

kv::String S(const char* text) { return kv::String::FromUtf8(text); }

bool Has(const std::vector<std::string>& lines, const std::string& part) {
  for (const std::string& l : lines)
    if (l.find(part) != std::string::npos) return true;
  return false;
}

class SeenTextsTest : public coretest::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    if (fe::GetCacheStats().limit == 0) {  // the engine is started once per process
      FS_Init(20000);
      FS_AddFont(fe::DefaultFontPath());
    }
    font = Resources::LoadResource(Fonts::MediumFont);
    Core::TakeCutTexts();
  }
  void TearDown() override {
    Core::TakeCutTexts();
    ViewTest::TearDown();
  }
  Views::Text* NewText(Core::Group* owner, kv::Rect bounds, const char* text, int32_t alignH = Views::ALIGN_LEFT) {
    auto* t = kv::New<Views::Text>();
    t->OnSetFont(font);
    t->OnSetColor(Colors::White);
    t->OnSetAlignH(alignH);
    t->OnSetBounds(bounds);
    t->OnSetString(S(text));
    owner->Add(t);
    return t;
  }
  Core::Group* NewGroup(kv::Rect bounds) {
    auto* g = kv::New<Core::Group>();
    g->OnSetBounds(bounds);
    root->Add(g);
    return g;
  }
  Views::Rectangle* NewPanel(kv::Rect bounds, kv::Color colour) {
    auto* r = kv::New<Views::Rectangle>();
    r->OnSetColor(colour);
    r->OnSetBounds(bounds);
    root->Add(r);
    return r;
  }
  // The texts of the picture that contain `text`.
  std::vector<Core::SeenText> Find(const char* text) {
    std::vector<Core::SeenText> out;
    for (Core::SeenText& t : Core::LookAtTexts(*root))
      if (t.text.find(text) != std::string::npos) out.push_back(t);
    return out;
  }
  int32_t Width(const char* text) { return font->GetTextWidth(S(text)); }
  void ClearRoot() {
    while (root->GetChildCount() > 0) root->Remove(root->GetChild(0));
  }
  // The faults the picture check finds on a screen that `build` alone fills.
  std::vector<std::string> FaultsOf(const std::function<void()>& build) {
    ClearRoot();
    build();
    root->InvalidateAll();
    root->Redraw();
    return Core::TextFaults(Core::LookAtTexts(*root));
  }

  Resources::Font* font = nullptr;
};

#ifdef KV_VERIFY

// A caption centred in a view wider than the button that holds it fits its
// own view and still loses letters at both ends: the checks compare it with
// what the button lets the viewer see, at a full redraw and at a partial one
// that paints a cut end, never at one that paints only its middle.
TEST_F(SeenTextsTest, ACaptionCutByItsButtonIsCutWhateverItsOwnViewSays) {
  const char* caption = "Side by Side";
  const int32_t w = Width(caption);
  Core::Group* button = NewGroup({100, 100, 100 + w - 20, 130});
  Views::Text* view = NewText(button, {-30, 0, w + 10, 30}, caption, Views::ALIGN_CENTER);
  root->InvalidateAll();
  root->Redraw();
  std::vector<std::string> cut = Core::TakeCutTexts();
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_NE(cut[0].find("\"Side by Side\""), std::string::npos) << cut[0];

  std::vector<Core::SeenText> seen = Find(caption);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].visible, (kv::Rect{100, 100, 100 + w - 20, 130}));
  EXPECT_LT(seen[0].ink.x1, 100);
  EXPECT_GT(seen[0].ink.x2, 100 + w - 20);
  EXPECT_TRUE(seen[0].Cut());
  EXPECT_FALSE(seen[0].Readable());
  EXPECT_TRUE(Has(Core::TextFaults(Core::LookAtTexts(*root)), "text cut: Views::Text in Core::Group"));
  Core::TakeCutTexts();

  // A partial redraw of the middle sees nothing cut; one over an end does.
  root->AddDirty({100 + w / 2 - 15, 100, 100 + w / 2 - 5, 130});
  root->Redraw();
  EXPECT_TRUE(Core::TakeCutTexts().empty());
  root->AddDirty({95, 100, 105, 130});
  root->Redraw();
  EXPECT_EQ(Core::TakeCutTexts().size(), 1u);

  // A button as wide as the caption's view shows it whole.
  button->OnSetBounds({100, 100, 100 + w + 40, 130});
  view->OnSetBounds({0, 0, w + 40, 30});
  root->Redraw();
  EXPECT_TRUE(Core::TakeCutTexts().empty());
  seen = Find(caption);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].Readable());
  EXPECT_TRUE(Core::TextFaults(Core::LookAtTexts(*root)).empty());
}

// A text that scrolls inside its field (an entry field keeps the cursor in
// view) is clipped on purpose and is never reported cut.
TEST_F(SeenTextsTest, ATextMarkedAsScrollingInItsFieldIsNotCut) {
  const char* typed = "a long address typed in";
  Core::Group* field = NewGroup({100, 200, 100 + Width(typed) / 2, 230});
  Views::Text* t = NewText(field, {-Width(typed) / 2, 0, Width(typed) / 2 + 1, 30}, typed);
  Core::MarkScrollsInField(t, true);
  root->Redraw();
  EXPECT_TRUE(Core::TakeCutTexts().empty());
  std::vector<Core::SeenText> seen = Find(typed);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].scrolls);
  EXPECT_FALSE(seen[0].Cut());
  EXPECT_TRUE(Core::TextFaults(Core::LookAtTexts(*root)).empty());

  Core::MarkScrollsInField(t, false);
  root->InvalidateAll();
  root->Redraw();
  EXPECT_EQ(Core::TakeCutTexts().size(), 1u);
}

// Two sibling texts whose glyphs fall on the same pixels, or that touch,
// garble each other ("Sleep TimerGame Timer"); with a word's gap between
// them they do not.
TEST_F(SeenTextsTest, SiblingTextsWhoseGlyphsOverlapAreReported) {
  NewText(root.get(), {100, 300, 100 + Width("Sleep Timer"), 330}, "Sleep Timer");
  Views::Text* game = NewText(root.get(), {100 + Width("Sleep Timer") - 12, 300, 400, 330}, "Game Timer");
  root->Redraw();
  std::vector<std::string> faults = Core::TextFaults(Core::LookAtTexts(*root));
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_NE(faults[0].find("texts overlap:"), std::string::npos) << faults[0];
  EXPECT_NE(faults[0].find("\"Sleep Timer\""), std::string::npos) << faults[0];
  EXPECT_NE(faults[0].find("\"Game Timer\""), std::string::npos) << faults[0];

  game->OnSetBounds({100 + Width("Sleep Timer"), 300, 400, 330});
  root->Redraw();
  EXPECT_TRUE(Has(Core::TextFaults(Core::LookAtTexts(*root)), "texts overlap:"));

  game->OnSetBounds({100 + Width("Sleep Timer") + 10, 300, 400, 330});
  root->Redraw();
  EXPECT_TRUE(Core::TextFaults(Core::LookAtTexts(*root)).empty());
}

// An opaque panel over part of a text leaves a readable fragment ("Auto time
// fro"): a fault. Over the whole text it hides it: fine, and not readable.
// A panel the text shows through does not hide it.
TEST_F(SeenTextsTest, ATextPartlyUnderAnOpaquePanelIsReportedAndOneWhollyUnderItIsNot) {
  const char* label = "Auto time from broadcast";
  const int32_t w = Width(label);
  NewText(root.get(), {100, 400, 100 + w, 430}, label);
  Views::Rectangle* panel = NewPanel({100 + w / 2, 390, 100 + w + 20, 440}, kv::Color{30, 30, 60, 255});
  root->Redraw();
  std::vector<Core::SeenText> seen = Find(label);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].cover, Core::Cover::kPartly);
  EXPECT_FALSE(seen[0].Readable());
  EXPECT_TRUE(Has(Core::TextFaults(Core::LookAtTexts(*root)), "text partly hidden: Views::Text: \"Auto time"));

  panel->OnSetBounds({90, 390, 110 + w, 440});
  root->Redraw();
  seen = Find(label);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].cover, Core::Cover::kWholly);
  EXPECT_FALSE(seen[0].Readable());
  EXPECT_TRUE(Core::TextFaults(Core::LookAtTexts(*root)).empty());

  panel->OnSetColor(kv::Color{30, 30, 60, 128});
  root->Redraw();
  seen = Find(label);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].cover, Core::Cover::kNone);
  EXPECT_TRUE(seen[0].Readable());
}

// A text made of entries of ours (a label, its colon and a value) is ours:
// shortened with "..." it is a fault. An address is never shortened. A name
// from outside may be, and so may one entry beside a number.
TEST_F(SeenTextsTest, TextsMadeOfOurEntriesAndAddressesAreNotShortenedNamesMayBe) {
  const char* label = "MAC address: Unknown";
  Views::Text* ours = NewText(root.get(), {100, 100, 100 + Width(label) - 30, 130}, label);
  ours->OnSetEllipsis(true);
  Views::Text* mac = NewText(root.get(), {100, 150, 100 + Width("AA:BB:CC:DD:EE:FF") - 20, 180}, "AA:BB:CC:DD:EE:FF");
  mac->OnSetEllipsis(true);
  // Names, each in a row 20 px narrower than it is drawn (the first 40): no
  // more of it fits.
  const auto nameRow = [&](int32_t y, const char* text, int32_t shortBy = 20) {
    Core::Group* row = NewGroup({100, y, 100 + Width(text) - shortBy, y + 30});
    Views::Text* t = NewText(row, {0, 0, row->Bounds().W(), 30}, text);
    t->OnSetEllipsis(true);
    return t;
  };
  nameRow(200, "Grandma's holiday pictures", 40);
  // One entry of ours and a number, as a channel's name may read, is a name
  // (" 1", an entry of ours that is only a space and a digit, is no word).
  nameRow(250, "Sports 11");
  Views::Text* channel1 = nameRow(300, "Sports 1");
  // A channel that the broadcaster named in words of ours, in a view marked
  // as showing a name from outside: a name all the same.
  Views::Text* named = nameRow(350, "Picture settings");
  Core::MarkNameFromOutside(named, true);
  root->Redraw();
  std::vector<std::string> faults = Core::TextFaults(Core::LookAtTexts(*root));
  EXPECT_TRUE(Has(faults, "text of ours shortened: Views::Text: \"MAC address: Unknown\"")) << faults.size();
  EXPECT_TRUE(Has(faults, "address or number shortened: Views::Text: \"AA:BB:CC:DD:EE:FF\""));
  EXPECT_FALSE(Has(faults, "Grandma")) << faults.back();
  EXPECT_FALSE(Has(faults, "Sports 11")) << faults.back();
  EXPECT_FALSE(Has(faults, "Sports 1\"")) << faults.back();
  EXPECT_FALSE(Has(faults, "Picture settings")) << faults.back();
  EXPECT_EQ(faults.size(), 2u);

  channel1->OnSetVisible(false);
  named->OnSetVisible(false);
  Core::MarkNameFromOutside(named, false);
  ours->OnSetBounds({100, 100, 100 + Width(label) + 4, 130});
  mac->OnSetBounds({100, 150, 100 + Width("AA:BB:CC:DD:EE:FF") + 4, 180});
  root->Redraw();
  EXPECT_TRUE(Core::TextFaults(Core::LookAtTexts(*root)).empty());
}

// Two texts whose glyph boxes touch read as one word ("AceptarAceptar")
// even where no glyph pixels come within a few pixels of each other.
TEST_F(SeenTextsTest, TextsSideBySideWithNoGapReadAsOne) {
  Core::Group* screen = NewGroup({0, 0, 960, 540});
  NewText(screen, {100, 300, 100 + Width("Aceptar"), 330}, "Aceptar");
  Views::Text* second = NewText(screen, {100 + Width("Aceptar"), 300, 400, 330}, "Aceptar");
  root->Redraw();
  EXPECT_TRUE(Has(Core::TextFaults(Core::LookAtTexts(*root)), "\"Aceptar\""));
  // 8 px apart in one colour still reads as one phrase.
  second->OnSetBounds({100 + Width("Aceptar") + 8, 300, 400, 330});
  root->Redraw();
  EXPECT_TRUE(Has(Core::TextFaults(Core::LookAtTexts(*root)), "texts run together"));
  second->OnSetBounds({100 + Width("Aceptar") + 20, 300, 400, 330});
  root->Redraw();
  EXPECT_TRUE(Core::TextFaults(Core::LookAtTexts(*root)).empty());
}

// A text written over a box of its screen runs into it; the same text on a
// panel drawn after the box (a notice over an image of its player) does
// not: the panel hides the box.
TEST_F(SeenTextsTest, ABoxUnderTheTextsOwnPanelIsNoBoxItRunsInto) {
  Core::Group* screen = NewGroup({0, 0, 960, 540});
  auto* image = kv::New<Views::Rectangle>();
  image->OnSetColor(kv::Color{200, 200, 60, 255});
  image->OnSetBounds({395, 411, 455, 470});
  screen->Add(image);
  auto* panel = kv::New<Views::Rectangle>();
  panel->OnSetColor(kv::Color{30, 30, 40, 255});
  panel->OnSetBounds({230, 390, 790, 452});
  panel->OnSetVisible(false);
  screen->Add(panel);
  NewText(screen, {250, 410, 770, 434}, "Starting the network player...", Views::ALIGN_CENTER);
  root->Redraw();
  EXPECT_TRUE(Has(Core::TextFaults(Core::LookAtTexts(*root)), "text runs into a box"));
  panel->OnSetVisible(true);
  root->Redraw();
  const std::vector<std::string> faults = Core::TextFaults(Core::LookAtTexts(*root));
  EXPECT_FALSE(Has(faults, "text runs into a box")) << (faults.empty() ? "" : faults[0]);
}

// A caption whose letters reach the rim of the face it is written on (a
// button filled rim to rim) is a fault; 2 px and more of face around it are
// fine.
TEST_F(SeenTextsTest, ACaptionTouchingTheRimOfItsFaceIsReported) {
  const int32_t w = Width("Aceptar");
  Core::Group* dialog = NewGroup({0, 0, 960, 540});
  auto* face = kv::New<Views::Rectangle>();
  face->OnSetColor(kv::Color{40, 90, 160, 255});
  face->OnSetBounds({200, 200, 200 + w, 230});
  dialog->Add(face);
  Views::Text* caption = NewText(dialog, {200, 200, 200 + w, 230}, "Aceptar");
  root->Redraw();
  std::vector<std::string> faults = Core::TextFaults(Core::LookAtTexts(*root));
  EXPECT_TRUE(Has(faults, "text touches the rim: Views::Text in Core::Group: \"Aceptar\"")) << faults.size();

  face->OnSetBounds({196, 200, 204 + w + 8, 230});
  caption->OnSetBounds({200 + 4, 200, 204 + w + 4, 230});
  root->Redraw();
  EXPECT_TRUE(Core::TextFaults(Core::LookAtTexts(*root)).empty());
}

// A text of three lines on a notice grown to hold them (higher than a row)
// touches the notice's rim when its widest line spans the notice; with a
// margin on each side it does not. One line on a panel that high is a text
// on a page, whose panel's rim is no caption's.
TEST_F(SeenTextsTest, LinesTouchingTheRimOfATallNoticeAreReported) {
  const char* text = "The TV turned on by the timer turns off soon. Press Exit to keep it on";
  const int32_t lineW = Width("The TV turned on by the timer");
  Core::Group* screen = NewGroup({0, 0, 960, 540});
  auto* notice = kv::New<Views::Rectangle>();
  notice->OnSetColor(kv::Color{30, 34, 48, 255});
  screen->Add(notice);
  auto* lines = kv::New<Views::MultilineText>();
  lines->OnSetFont(font);
  lines->OnSetColor(Colors::White);
  lines->OnSetAlignH(Views::ALIGN_CENTER);
  lines->OnSetAlignV(Views::ALIGN_CENTER);
  lines->OnSetString(S(text));
  screen->Add(lines);
  auto place = [&](int32_t margin) {
    notice->OnSetBounds({300, 400, 300 + lineW + 2 * margin, 480});
    lines->OnSetBounds({300 + margin, 400, 300 + margin + lineW, 480});
    root->InvalidateAll();
    root->Redraw();
    return Core::TextFaults(Core::LookAtTexts(*root));
  };
  std::vector<std::string> faults = place(0);
  ASSERT_TRUE(Find("Press Exit").size() == 1 && Find("Press Exit")[0].shown.find('\n') != std::string::npos);
  EXPECT_TRUE(Has(faults, "text touches the rim: Views::MultilineText in Core::Group: \"The TV turned on"))
      << faults.size();
  faults = place(10);
  EXPECT_TRUE(faults.empty()) << (faults.empty() ? "" : faults[0]);

  ClearRoot();
  screen = NewGroup({0, 0, 960, 540});
  auto* panel = kv::New<Views::Rectangle>();
  panel->OnSetColor(kv::Color{30, 34, 48, 255});
  panel->OnSetBounds({300, 400, 300 + Width("Channels"), 480});
  screen->Add(panel);
  NewText(screen, {300, 430, 300 + Width("Channels"), 454}, "Channels");
  root->Redraw();
  faults = Core::TextFaults(Core::LookAtTexts(*root));
  EXPECT_TRUE(faults.empty()) << (faults.empty() ? "" : faults[0]);
}

// A text wrapped onto two lines inside a word, with no hyphen, is a broken
// word; wrapped at a space it is not.
TEST_F(SeenTextsTest, AWordBrokenAcrossTwoLinesIsReported) {
  auto* t = kv::New<Views::MultilineText>();
  t->OnSetFont(font);
  t->OnSetColor(Colors::White);
  t->OnSetBounds({100, 100, 100 + Width("Configuración") * 2 / 3, 200});
  t->OnSetString(S("Configuración"));
  root->Add(t);
  root->Redraw();
  std::vector<std::string> faults = Core::TextFaults(Core::LookAtTexts(*root));
  EXPECT_TRUE(Has(faults, "word broken: Views::MultilineText: \"Configuración\"")) << faults.size();

  t->OnSetString(S("Red Verde"));
  t->OnSetBounds({100, 100, 100 + Width("Verde") + 4, 200});
  root->Redraw();
  EXPECT_TRUE(Core::TextFaults(Core::LookAtTexts(*root)).empty());
}

// The faults a viewer sees that a text's share hid: a letter at a text's
// end clipped by two of its columns, one letter under a panel, a strip of
// every letter under a notice's edge, a name from
// outside shortened with room left, an address with no digit or inside a
// longer text shortened. Each case builds one picture and names the fault
// it must show.
TEST_F(SeenTextsTest, ALetterCutHiddenOrLeftOutIsAFaultWhateverShareOfTheTextItIs) {
  struct Case {
    const char* what;
    std::function<void()> build;
    const char* fault;
  };
  const Case cases[] = {
      {"the last letter loses its right stem to the value column",
       [&] {
         const char* label = "Lecteur multimédia réseau";
         std::vector<Core::SeenText> alone;
         Core::Group* row = NewGroup({100, 100, 500, 130});
         NewText(row, {0, 0, 400, 30}, label);
         root->Redraw();
         const kv::Rect ink = Find(label)[0].ink;
         row->OnSetBounds({100, 100, ink.x2 - 2, 130});
       },
       "text cut: Views::Text in Core::Group: \"Lecteur multimédia réseau\""},
      {"a panel over the last letter",
       [&] {
         const char* label = "Message de démarrage 3D";
         NewText(root.get(), {100, 150, 500, 180}, label);
         root->Redraw();
         const kv::Rect ink = Find(label)[0].ink;
         NewPanel({ink.x2 - Width("D") + 1, 100, ink.x2 + 10, 230}, kv::Color{30, 30, 60, 255});
       },
       "text partly hidden: Views::Text: \"Message de démarrage 3D\""},
      {"a notice's edge over the tops of every letter",
       [&] {
         // Its top three rows: each letter loses less than a quarter of its
         // ink, the text as a whole more than a tenth.
         const char* date = "Wed, Dec 30, 08:00 PM";
         NewText(root.get(), {100, 200, 500, 230}, date);
         root->Redraw();
         const kv::Rect ink = Find(date)[0].ink;
         NewPanel({ink.x1 - 4, ink.y1 - 10, ink.x2 + 4, ink.y1 + 3}, kv::Color{30, 30, 60, 255});
       },
       "text partly hidden: Views::Text: \"Wed, Dec 30, 08:00 PM\""},
      {"a device's name shortened with 95 px empty in its row",
       [&] {
         Core::Group* row = NewGroup({100, 200, 100 + Width("HDMI 1 Blu-ray Player") + 95, 230});
         NewText(row, {0, 0, Width("HDMI 1 Bl") + Width("...") + 2, 30}, "HDMI 1 Blu-ray Player")->OnSetEllipsis(true);
       },
       "name shortened with room left: Views::Text in Core::Group: \"HDMI 1 Blu-ray Player\""},
      {"a MAC address with no digit",
       [&] { NewText(root.get(), {100, 250, 100 + Width("DC:DD:DB:DC:DD:DB") - 20, 280}, "DC:DD:DB:DC:DD:DB")->OnSetEllipsis(true); },
       "address or number shortened: Views::Text: \"DC:DD:DB:DC:DD:DB\""},
      {"an address at the end of a longer text",
       [&] {
         const char* row = "Wireless MAC address: DC:DD:DB:DC:DD:DB";
         NewText(root.get(), {100, 300, 100 + Width(row) - 30, 330}, row)->OnSetEllipsis(true);
       },
       "address or number shortened: Views::Text: \"Wireless MAC address: DC:DD:DB:DC:DD:DB\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<std::string> faults = FaultsOf(c.build);
    EXPECT_TRUE(Has(faults, c.fault)) << (faults.empty() ? "no fault" : faults[0]);
    EXPECT_EQ(faults.size(), 1u) << (faults.empty() ? "" : faults.back());
    Core::TakeCutTexts();
  }
}

// What each exemption the checks keep lets through, and why a viewer reads
// it whole all the same.
TEST_F(SeenTextsTest, EachExemptionLetsThroughOnlyWhatAViewerReadsWhole) {
  // A glyph's faint edge: the last column of a "T" or "V" that only its
  // anti-aliasing covers, lost to the clip, loses nothing of the letter.
  const char* faintLetter = nullptr;
  int32_t faintColumns = 0;
  for (const char* letter : {"T", "V", "Y", "W", "y", "v", "f"}) {
    const ge::GlyphBitmap g = font->GetGlyphSource()->Glyph(static_cast<char16_t>(letter[0]));
    int32_t faint = 0;
    for (int32_t x = g.width - 1; x >= 0; --x) {
      bool stroke = false;
      for (int32_t y = 0; y < g.height; ++y) stroke = stroke || g.coverage[y * g.pitch + x] >= Core::kStrokeCoverage;
      if (stroke) break;
      ++faint;
    }
    if (faint > 0) {
      faintLetter = letter;
      faintColumns = faint;
      break;
    }
  }
  ASSERT_NE(faintLetter, nullptr) << "no letter of the font has a faint edge";

  struct Case {
    const char* what;
    std::function<void()> build;
  };
  Views::Text* scrolled = nullptr;
  const Case cases[] = {
      {"a faint edge past the clip",
       [&] {
         const std::string word = std::string("AVAST ") + faintLetter;
         Core::Group* row = NewGroup({100, 100, 500, 130});
         NewText(row, {0, 0, 400, 30}, word.c_str());
         root->Redraw();
         const kv::Rect ink = Find(word.c_str())[0].ink;
         row->OnSetBounds({100, 100, ink.x2 - faintColumns, 130});
       }},
      {"a focus frame's 1 px line crossing every letter",
       [&] {
         NewText(root.get(), {100, 150, 500, 180}, "Sound mode");
         root->Redraw();
         const kv::Rect ink = Find("Sound mode")[0].ink;
         NewPanel({ink.x1 - 4, (ink.y1 + ink.y2) / 2, ink.x2 + 4, (ink.y1 + ink.y2) / 2 + 1}, kv::Color{250, 200, 0, 255});
       }},
      {"a text wholly under an opaque screen",
       [&] {
         NewText(root.get(), {100, 200, 500, 230}, "Sleep Timer");
         NewPanel({50, 180, 600, 260}, kv::Color{20, 20, 20, 255});
       }},
      {"a panel the text shows through",
       [&] {
         NewText(root.get(), {100, 200, 500, 230}, "Sleep Timer");
         NewPanel({50, 180, 600, 260}, kv::Color{20, 20, 20, 110});
       }},
      {"a name shortened where its next letter would run into the row's number",
       [&] {
         const int32_t w = Width("HDMI 1 Bl") + Width("...") + 2;
         Core::Group* row = NewGroup({100, 250, 100 + w + 200, 280});
         NewText(row, {0, 0, w, 30}, "HDMI 1 Blu-ray Player")->OnSetEllipsis(true);
         NewText(row, {w + 12, 0, w + 40, 30}, "12");
       }},
      {"a name shortened 8 px short of its row's end, the row padding its start by 8 px too",
       [&] {
         // The same padding at both ends is the row's look: the next letter
         // would fit only by running into the padding.
         const int32_t w = Width("DLNA: Home media server in the upstairs l") + Width("...") + 2;
         Core::Group* row = NewGroup({100, 300, 100 + 8 + w + 8, 330});
         NewText(row, {8, 0, 8 + w, 30}, "DLNA: Home media server in the upstairs living room")->OnSetEllipsis(true);
       }},
      {"a label in a colour of its own 8 px after a name",
       [&] {
         Core::Group* row = NewGroup({0, 0, 960, 540});
         NewText(row, {100, 350, 100 + Width("HDMI 1"), 380}, "HDMI 1");
         NewText(row, {100 + Width("HDMI 1") + 8, 350, 400, 380}, "Blu-ray Player")->OnSetColor(kv::Color{120, 150, 200, 255});
       }},
      {"a label ending in ':' with its value a word space after it",
       [&] {
         Core::Group* screen = NewGroup({0, 0, 960, 540});
         NewText(screen, {100, 300, 100 + Width("Start:"), 330}, "Start:");
         NewText(screen, {100 + Width("Start:") + 4, 300, 400, 330}, "12:00");
       }},
      {"a panel taller than a row behind the text, and a 1 px rule under it",
       [&] {
         Core::Group* screen = NewGroup({0, 0, 960, 540});
         auto* panel = kv::New<Views::Rectangle>();
         panel->OnSetColor(kv::Color{60, 60, 90, 255});
         panel->OnSetBounds({80, 330, 300, 420});  // starts inside the text's rows
         screen->Add(panel);
         auto* rule = kv::New<Views::Rectangle>();
         rule->OnSetColor(kv::Color{200, 200, 200, 255});
         rule->OnSetBounds({90, 352, 400, 355});
         screen->Add(rule);
         NewText(screen, {100, 335, 500, 365}, "Channel list");
       }},
      {"a text scrolled inside its entry field",
       [&] {
         Core::Group* field = NewGroup({100, 400, 160, 430});
         scrolled = NewText(field, {-40, 0, 200, 30}, "192.168.100.250");
         Core::MarkScrollsInField(scrolled, true);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<std::string> faults = FaultsOf(c.build);
    EXPECT_TRUE(faults.empty()) << faults[0];
    EXPECT_TRUE(Core::TakeCutTexts().empty());
  }
  Core::MarkScrollsInField(scrolled, false);
  // A logo that wanders behind a see-through banner shows beside the
  // banner's title wherever chance puts it: marked as drifting it is no box
  // the title runs into; the same image standing there is one.
  Views::Rectangle* logo = nullptr;
  const auto logoBehindBanner = [&] {
    Core::Group* screen = NewGroup({0, 0, 960, 540});
    logo = kv::New<Views::Rectangle>();
    logo->OnSetColor(kv::Color{200, 200, 200, 255});
    logo->OnSetBounds({329, 363, 497, 422});
    screen->Add(logo);
    auto* banner = kv::New<Views::Rectangle>();
    banner->OnSetColor(kv::Color{20, 30, 60, 150});
    banner->OnSetBounds({80, 380, 880, 520});
    screen->Add(banner);
    NewText(screen, {127, 394, 477, 416}, "Title: 01 Morning Tide.mp3");
  };
  EXPECT_TRUE(Has(FaultsOf(logoBehindBanner), "text runs into a box"));
  const std::vector<std::string> drifting = FaultsOf([&] {
    logoBehindBanner();
    Core::MarkDrifts(logo, true);
  });
  Core::MarkDrifts(logo, false);
  EXPECT_TRUE(drifting.empty()) << drifting[0];
  // And one column more than the faint edge is a stroke: a cut.
  ClearRoot();
  const std::string word = std::string("AVAST ") + faintLetter;
  Core::Group* row = NewGroup({100, 100, 500, 130});
  NewText(row, {0, 0, 400, 30}, word.c_str());
  root->Redraw();
  const kv::Rect ink = Find(word.c_str())[0].ink;
  row->OnSetBounds({100, 100, ink.x2 - faintColumns - 1, 130});
  root->InvalidateAll();
  root->Redraw();
  EXPECT_TRUE(Has(Core::TextFaults(Core::LookAtTexts(*root)), "text cut:"));
}

// A screen that stands at a place of its own over whatever is open (a
// notice, the volume bar) hides part of the page under it, or writes its
// text over the page's through its glass: no fault of the page, once the
// screen is marked so. But where it hides the control that holds the keys,
// the viewer acts on what they cannot read: that stays a fault.
TEST_F(SeenTextsTest, AScreenStandingApartHidesPartOfThePageUnderItButNotTheFocusedControl) {
  Core::Group* notice = nullptr;
  Views::Text* row = nullptr;
  const auto noticeOverPage = [&](kv::Color glass) {
    Core::Group* page = NewGroup({0, 0, 960, 540});
    row = NewText(page, {100, 440, 500, 470}, "Recorded shows");
    NewText(page, {100, 200, 500, 230}, "Scheduled recordings");
    notice = NewGroup({200, 430, 700, 490});
    auto* panel = kv::New<Views::Rectangle>();
    panel->OnSetColor(glass);
    panel->OnSetBounds({0, 0, 500, 60});
    notice->Add(panel);
    NewText(notice, {20, 10, 480, 40}, "No key pressed for a long time");
  };
  const auto opaque = [&] { noticeOverPage(kv::Color{20, 20, 20, 255}); };
  const auto glass = [&] { noticeOverPage(kv::Color{20, 20, 20, 90}); };
  struct Case {
    const char* what;
    std::function<void()> build;
    bool apart;        // the notice is marked as standing apart
    bool focusOnRow;   // the row it covers holds the keys
    bool passes;       // the notice closes by itself within seconds
    const char* fault;  // the fault reported, or none
  };
  const Case cases[] = {
      {"a panel that is not marked", opaque, false, false, false, "text partly hidden: Views::Text in Core::Group: \"Recorded shows\""},
      {"its text over the page's, not marked", glass, false, false, false, "texts overlap"},
      {"a notice standing apart", opaque, true, false, false, nullptr},
      {"its text over the page's, standing apart", glass, true, false, false, nullptr},
      {"a notice over the focused row", opaque, true, true, false, "text partly hidden: Views::Text in Core::Group: \"Recorded shows\""},
      {"its text over the focused row's", glass, true, true, false, "texts overlap"},
      // A notice of two seconds passes: the row shows again before the
      // viewer could act on what it hid.
      {"a passing notice over the focused row", opaque, true, true, true, nullptr},
      {"its text over the focused row's, passing", glass, true, true, true, nullptr},
      {"a passing panel that is not marked apart", opaque, false, true, true, "text partly hidden: Views::Text in Core::Group: \"Recorded shows\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<std::string> faults = FaultsOf([&] {
      c.build();
      Core::MarkStandsApart(notice, c.apart);
      Core::MarkPasses(notice, c.passes);
      root->OnSetFocus(c.focusOnRow ? row->Owner() : notice);
      if (c.focusOnRow) row->Owner()->OnSetFocus(row);
    });
    Core::MarkPasses(notice, false);
    Core::MarkStandsApart(notice, false);
    if (c.fault)
      EXPECT_TRUE(Has(faults, c.fault)) << (faults.empty() ? "no fault" : faults[0]);
    else
      EXPECT_TRUE(faults.empty()) << faults[0];
  }
}

#endif


}  // namespace
