// The menu controller and the live menu column driven through the whole
// system: opening and closing, the carousel moves, the remembered entry,
// the time-out teardown and the controller's messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ge/surface.h"
#include "focus_look.h"
#include "menusystem_support.h"
#include "runtime/text.h"
#include "strings/MenuSystem.h"
#include "units/Constants/Constants.h"
#include "units/MenuSystem/LiveMenuPages.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/MenuSystem/SettingPages.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Structures/RefHolders.h"
#include "units/SubSystem/State.h"

namespace menutest {
namespace {

using MenuSystem::VidiMainMenu;

class ColumnTest : public MenuTest {};

PersistentData::PersistentData* Store() {
  return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
}

TEST_F(ColumnTest, MenuOpensOnPictureMovesWrapsAndCloses) {
  ASSERT_NE(Ms(), nullptr);
  Press("menu");
  Settle();
  VidiMainMenu* column = Column();
  ASSERT_NE(column, nullptr);
  EXPECT_EQ(column->CurrentItemIndex, 1);
  EXPECT_EQ(column->Bounds().x1, 0);
  // The focused entry stands in slot 1 (y 100), its page beside the column.
  EXPECT_EQ(Focused(), column->Entry(0));
  EXPECT_EQ(column->Entry(0)->Bounds().y1, 100);
  ASSERT_NE(Page(), nullptr);
  EXPECT_TRUE(kv::Cast<MenuSystem::VidiPictureMenu>(Page()));
  EXPECT_EQ(Page()->Bounds().x1, 160);
  EXPECT_EQ(Page()->OnGetFocus(), Page()->Item(0));  // the page's first item, unfocused page
  EXPECT_NE(Focused(), Page()->Item(0));

  // A move takes 6 frames of 50 ms: halfway through it the index is unchanged
  // and a second key is consumed without effect.
  Press("down");
  EXPECT_TRUE(column->Animating);
  Run(120);
  Press("down");
  Run(400);
  Settle();
  EXPECT_FALSE(column->Animating);
  EXPECT_EQ(column->CurrentItemIndex, 2);
  EXPECT_TRUE(kv::Cast<MenuSystem::VidiAudioMenu>(Page()));

  // Six more: around the seven entries back to Picture.
  Step("down", 6);
  EXPECT_EQ(column->CurrentItemIndex, 1);
  EXPECT_EQ(Focused(), column->Entry(0));
  EXPECT_TRUE(kv::Cast<MenuSystem::VidiPictureMenu>(Page()));
  // Up on the first focuses the last.
  Step("up");
  EXPECT_EQ(column->CurrentItemIndex, 7);
  EXPECT_TRUE(kv::Cast<MenuSystem::VidiRecordMenu>(Page()));
}

TEST_F(ColumnTest, BackClosesAndTheEntryIsRememberedAcrossARestart) {
  Press("menu");
  Settle();
  Step("down", 2);
  ASSERT_EQ(Column()->CurrentItemIndex, 3);
  Press("back");
  Settle();
  EXPECT_EQ(Column(), nullptr);
  EXPECT_EQ(Page(), nullptr);
  EXPECT_EQ(Store()->GetInteger(MenuSystem::KEY_MENU_INDEX), 2);
  Press("menu");
  Settle();
  ASSERT_NE(Column(), nullptr);
  EXPECT_EQ(Column()->CurrentItemIndex, 3);
  EXPECT_TRUE(kv::Cast<MenuSystem::VidiChannelsMenu>(Page()));
  // Menu toggles; exit closes too.
  Press("menu");
  Settle();
  EXPECT_EQ(Column(), nullptr);
  Press("menu");
  Settle();
  Press("exit");
  Settle();
  EXPECT_EQ(Column(), nullptr);
  // Exit with no menu is left to the others.
  Press("exit");
  Settle();
  EXPECT_EQ(Column(), nullptr);
}

// Exit and the menu key close the menu as Back does: it opens again on the
// entry it closed on, with that entry's page beside it.
TEST_F(ColumnTest, ExitAndMenuRememberTheEntryAsBackDoes) {
  Press("menu");
  Settle();
  Step("down", 2);
  ASSERT_EQ(Column()->CurrentItemIndex, 3);
  Press("exit");
  Settle();
  ASSERT_EQ(Column(), nullptr);
  Press("menu");
  Settle();
  ASSERT_NE(Column(), nullptr);
  EXPECT_EQ(Column()->CurrentItemIndex, 3);
  EXPECT_TRUE(kv::Cast<MenuSystem::VidiChannelsMenu>(Page()));
  Step("up", 1);
  ASSERT_EQ(Column()->CurrentItemIndex, 2);
  Press("menu");
  Settle();
  ASSERT_EQ(Column(), nullptr);
  Press("menu");
  Settle();
  ASSERT_NE(Column(), nullptr);
  EXPECT_EQ(Column()->CurrentItemIndex, 2);
  EXPECT_TRUE(kv::Cast<MenuSystem::VidiAudioMenu>(Page()));
}

// A page that gives way to a deeper page keeps its place: from every entry
// of the column, every row that opens a deeper page of the menu opens it,
// and Back from it lands on that row of the page again, which looks focused.
TEST_F(ColumnTest, BackFromEveryDeeperPageLandsOnTheRowThatOpenedIt) {
  int visited = 0;
  std::function<void(std::string)> visit = [&](std::string road) {
    MenuSystem::VidiSubMenu* page = Page();
    ASSERT_NE(page, nullptr) << road;
    const kv::Class* here = page->KvClass();
    std::vector<std::pair<std::string, const kv::Class*>> deeper;
    for (int32_t i = 0; i < page->ItemCount(); ++i) {
      MenuSystem::VidiSubMenuItem* item = page->Item(i);
      if (item->OnGetEnabled() && !item->OnGetIsDisabled() && item->NextState &&
          item->NextState->Is(&MenuSystem::VidiSubMenu::StaticClass()))
        deeper.emplace_back(item->OnGetText().ToUtf8(), item->NextState);
    }
    for (const auto& [row, cls] : deeper) {
      const std::string to = road + " > " + row;
      for (int32_t i = 0; i < page->ItemCount() && FocusedCaption() != row; ++i) Step("down");
      ASSERT_EQ(FocusedCaption(), row) << to;
      Press("ok");
      Settle();
      Run(400);
      ASSERT_NE(Page(), nullptr) << to;
      ASSERT_STREQ(Page()->KvClass()->name, cls->name) << to;
      ++visited;
      visit(to);
      Press("back");
      Settle();
      Run(400);
      ASSERT_NE(Page(), nullptr) << to;
      EXPECT_STREQ(Page()->KvClass()->name, here->name) << "Back from " << to;
      EXPECT_EQ(FocusedCaption(), row) << "Back from " << to;
      EXPECT_TRUE(apptest::LooksFocused(Osd(), Focused())) << "Back from " << to << "\n" << SeenList();
      if (::testing::Test::HasFatalFailure() || Page() == nullptr || Page()->KvClass() != here) return;
    }
  };
  Press("menu");
  Settle();
  ASSERT_NE(Column(), nullptr);
  for (int32_t e = 0, n = Column()->EntryCount(); e < n; ++e) {
    const std::string entry = Column()->Entry(Column()->CurrentItemIndex - 1)->OnGetText().ToUtf8();
    Press("ok");
    Settle();
    Run(400);
    if (Page() && Ms()->OnGetFocus() == Page()) {
      visit(entry);
      if (::testing::Test::HasFatalFailure()) return;
    }
    // Back to the column, on to the next entry.
    while (Page() && Ms()->OnGetFocus() != Column() && Column()) {
      Press("back");
      Settle();
      Run(400);
    }
    ASSERT_NE(Column(), nullptr) << entry;
    Step("down");
    Run(400);
  }
  EXPECT_GE(visited, 8);
}

// The column's entries centre their names under their pictures.
TEST_F(ColumnTest, TheEntriesNamesStandCentred) {
  Press("menu");
  Settle();
  ASSERT_NE(Column(), nullptr);
  Run(500);
  const kv::Rect entry = Column()->Entry(0)->GetAbsoluteBounds();
  int named = 0;
  for (const Core::SeenText& t : SeenTexts()) {
    if (!t.Readable() || t.box.x1 < entry.x1 || t.box.x2 > entry.x2 || t.box.y1 < entry.y1 || t.box.y2 > entry.y2)
      continue;
    ++named;
    EXPECT_LE(std::abs((t.ink.x1 + t.ink.x2) - (entry.x1 + entry.x2)) / 2, 4) << t.Describe();
  }
  EXPECT_EQ(named, 1) << SeenList();
}

TEST_F(ColumnTest, ARememberedIndexPastTheEntriesStartsOnTheFirst) {
  Store()->PutInteger(MenuSystem::KEY_MENU_INDEX, 40);
  Ms()->SetMenuIndex(1, 41);
  Press("menu");
  Settle();
  ASSERT_NE(Column(), nullptr);
  EXPECT_EQ(Column()->CurrentItemIndex, 1);
  EXPECT_EQ(Focused(), Column()->Entry(0));
  // Levels outside 1..9 are ignored and read as 1.
  Ms()->SetMenuIndex(10, 5);
  Ms()->SetMenuIndex(0, 5);
  EXPECT_EQ(Ms()->GetMenuIndex(10), 1);
  EXPECT_EQ(Ms()->GetMenuIndex(0), 1);
}

TEST_F(ColumnTest, SixtySecondsWithoutAKeyTearDown) {
  Skin()->OnSetTestPattern(1);
  Skin()->OnSetWB_WindowDisplay(1);
  Skin()->SetRGBFilter(0x100000);
  Press("menu");
  Settle();
  ASSERT_NE(Column(), nullptr);
  Run(59000);
  EXPECT_NE(Column(), nullptr);
  Run(2000);
  Settle();
  EXPECT_EQ(Column(), nullptr);
  EXPECT_EQ(Page(), nullptr);
  EXPECT_EQ(Skin()->OnGetTestPattern(), 0);
  EXPECT_EQ(Skin()->OnGetWB_WindowDisplay(), 0);
  EXPECT_EQ(Skin()->GetRGBFilter(), MenuSystem::kRGBFilterAll);
  // The level-1 index was unchanged (entry 1 -> stored 0): nothing written.
  EXPECT_EQ(Store()->GetInteger(MenuSystem::KEY_MENU_INDEX), 0);
}

TEST_F(ColumnTest, LiveTVKeepsTheKeysWithoutAMenu) {
  // A screen closing broadcasts APPEARANCE_FOCUS: with no menu open the
  // menu system leaves the focus with live TV.
  Send(Constants::MSG_CHANGE_APPEARANCE, Constants::APPEARANCE_FOCUS);
  EXPECT_EQ(App2()->OnGetFocus(), Nms());
  // After a teardown the keys go back to live TV as well.
  Press("menu");
  Settle();
  EXPECT_EQ(App2()->OnGetFocus(), Ms());
  Press("exit");
  Settle();
  EXPECT_EQ(App2()->OnGetFocus(), Nms());
}

TEST_F(ColumnTest, ChangeStateMessages) {
  // An object that is not a state is ignored.
  Send(Constants::MSG_CHANGE_STATE, -1, kv::New<Structures::RefInt>());
  EXPECT_EQ(Column(), nullptr);
  EXPECT_TRUE(Logged("MSG_CHANGE_STATE without a state"));
  // A state with a Structures::RefInt of 3 focuses the page's third item.
  auto* state = kv::New<SubSystem::State>();
  state->Class = &MenuSystem::VidiSettingsMenu::StaticClass();
  auto* ref = kv::New<Structures::RefInt>();
  ref->Value = 3;
  state->Param = ref;
  Send(Constants::MSG_CHANGE_STATE, -1, state);
  ASSERT_NE(Page(), nullptr);
  EXPECT_EQ(Page()->CurrentItemIndex, 3);
  EXPECT_EQ(Page()->OnGetFocus(), Page()->Item(2));
}

}  // namespace
}  // namespace menutest

// What the menu's screens show: which row looks focused as the focus moves
// between the column and its page, the values of the caption colour rows.
namespace menulooktest {

using namespace MenuSystem;

class MenuLookTest : public menutest::MenuTest {
 protected:
  // The on-screen pixels of `area`, row by row.
  std::vector<uint32_t> Pixels(const kv::Rect& area) {
    Settle();
    const ge::Surface& s = Osd();
    std::vector<uint32_t> out;
    for (int32_t y = std::max(0, area.y1); y < std::min(s.height, area.y2); ++y)
      for (int32_t x = std::max(0, area.x1); x < std::min(s.width, area.x2); ++x) out.push_back(s.Row(y)[x]);
    return out;
  }
  // The column's entry of the open page and the page's current row, on screen.
  kv::Rect EntryArea() {
    VidiMainMenu* column = Column();
    return column ? column->Entry(column->CurrentItemIndex - 1)->GetAbsoluteBounds() : kv::Rect{};
  }
  kv::Rect RowArea() {
    VidiSubMenu* page = Page();
    VidiSubMenuItem* row = page ? page->Item(page->CurrentItemIndex - 1) : nullptr;
    return row ? row->GetAbsoluteBounds() : kv::Rect{};
  }
};

// Only the row that takes the keys looks focused: OK moves the focus from
// the column into the page, and both the column's entry and the page's row
// change on screen; left moves it back to the column and both change back.
TEST_F(MenuLookTest, OnlyTheRowThatTakesTheKeysLooksFocused) {
  Press("menu");
  Run(500);
  ASSERT_NE(Column(), nullptr);
  ASSERT_NE(Page(), nullptr);
  const kv::Rect entry = EntryArea(), row = RowArea();
  ASSERT_FALSE(entry.IsEmpty());
  ASSERT_FALSE(row.IsEmpty());
  const std::vector<uint32_t> entryInColumn = Pixels(entry), rowInColumn = Pixels(row);

  Press("ok");
  Run(500);
  ASSERT_EQ(Ms()->OnGetFocus(), Page()) << "OK moves the focus into the page";
  ASSERT_EQ(EntryArea(), entry);
  ASSERT_EQ(RowArea(), row);
  const std::vector<uint32_t> entryInPage = Pixels(entry), rowInPage = Pixels(row);
  EXPECT_NE(entryInPage, entryInColumn) << "the column's entry no longer looks focused";
  EXPECT_NE(rowInPage, rowInColumn) << "the page's row now looks focused";

  Press("left");  // back into the column
  Run(500);
  ASSERT_EQ(Ms()->OnGetFocus(), Column());
  // (The entry's icon plays its frames again: its picture may differ.)
  EXPECT_NE(Pixels(entry), entryInPage) << "the column's entry looks focused again";
  EXPECT_EQ(Pixels(row), rowInColumn) << "the page's row no longer looks focused";

  // The next key still moves the column.
  const int32_t before = Column()->CurrentItemIndex;
  Press("down");
  Run(500);
  EXPECT_NE(Column()->CurrentItemIndex, before);
}

// A move of the column, or of a page with more rows than it shows, slides
// its entries from slot to slot: halfway through, each entry that stays is
// seen between the place it left and the place it goes to; the entry that
// comes in fades in and the one that goes out fades out. A column entry that
// never had the focus looks as it does after the focus left it.
TEST_F(MenuLookTest, AMoveSlidesTheEntriesAndFadesTheEndsIn) {
  struct Seen {
    int32_t y = 0;
    double contrast = 0;
  };
  using Entries = std::map<std::string, Seen>;
  const auto entries = [&](const char* itemClass) {
    Entries out;
    for (const Core::SeenText& t : SeenTexts())
      if (t.where.find(itemClass) != std::string::npos)
        out[t.text] = {t.box.y1, menutest::InkContrast(Osd(), t)};
    return out;
  };
  // Presses Down until a press brings an entry in, and checks that move.
  const auto move = [&](const char* itemClass) {
    for (int press = 0; press < 12; ++press) {
      Settle();
      const Entries before = entries(itemClass);
      Press("down");
      Run(120);
      const Entries halfway = entries(itemClass);
      Run(500);
      Settle();
      const Entries after = entries(itemClass);
      bool moved = false;
      for (const auto& [text, seen] : after) moved = moved || !before.count(text);
      if (!moved) continue;
      // An entry fading is fainter than half of the clearest entry that stays
      // (the focused one stands on its bar and reads fainter anyway).
      double clearest = 0;
      for (const auto& [text, seen] : halfway)
        if (before.count(text) && after.count(text)) clearest = std::max(clearest, seen.contrast);
      int32_t slid = 0;
      for (const auto& [text, seen] : before) {
        if (!after.count(text)) {
          // Going out: faint halfway.
          ASSERT_TRUE(halfway.count(text)) << text;
          EXPECT_LT(halfway.at(text).contrast, clearest / 2) << text << " fades out";
          continue;
        }
        ASSERT_TRUE(halfway.count(text)) << text;
        const int32_t from = seen.y, to = after.at(text).y, mid = halfway.at(text).y;
        EXPECT_TRUE(std::min(from, to) < mid && mid < std::max(from, to))
            << text << " from " << from << " to " << to << ", halfway at " << mid;
        ++slid;
      }
      EXPECT_GE(slid, 4) << itemClass;
      for (const auto& [text, seen] : after)
        if (!before.count(text)) {
          ASSERT_TRUE(halfway.count(text)) << text;
          EXPECT_LT(halfway.at(text).contrast, clearest / 2) << text << " fades in";
        }
      return;
    }
    ADD_FAILURE() << itemClass << ": no Down brought an entry in";
  };

  Press("menu");
  Run(500);
  ASSERT_NE(Column(), nullptr);
  Settle();
  const kv::Rect second = Column()->Entry(1)->GetAbsoluteBounds();
  const std::vector<uint32_t> secondNeverFocused = Pixels(second);
  move("MenuSystem::VidiMainMenuItem");
  // Back up: the second entry, focused a moment and left, looks as it did
  // before it ever had the focus.
  Press("up");
  Run(500);
  ASSERT_EQ(Column()->Entry(1)->GetAbsoluteBounds(), second);
  EXPECT_EQ(Pixels(second), secondNeverFocused);

  // The Settings page has more rows than it shows: its rows move the same way.
  for (int i = 0; i < 3; ++i) {
    Press("down");
    Run(500);
  }
  ASSERT_NE(kv::Cast<VidiSettingsMenu>(Page()), nullptr);
  Press("ok");
  Run(500);
  ASSERT_EQ(Ms()->OnGetFocus(), Page());
  move("MenuSystem::VidiSubMenuItem");
}

// The caption colour rows of the Digital CC page show their colour's name,
// also after a step.
TEST_F(MenuLookTest, DigitalCCColourRowsShowTheirColour) {
  auto* cc = OpenPage<DigitalCCMenu>();
  ASSERT_NE(cc, nullptr);
  // Text colour, background colour, text edge colour.
  for (int32_t i : {3, 5, 7}) {
    auto* row = kv::Cast<SubMenuItemValue>(cc->R(i));
    ASSERT_NE(row, nullptr) << i;
    const std::string caption = row->OnGetText().ToUtf8();
    EXPECT_TRUE(row->ValueText().IsVisible()) << caption;
    EXPECT_FALSE(row->ValueText().OnGetString().Empty()) << caption;
    EXPECT_NE(row->ValueText().OnGetColor().a, 0) << caption;
  }
  // Down to the text colour row and one step right: another colour, named.
  auto* text = kv::Cast<SubMenuItemValue>(cc->R(3));
  while (Focused() != text && cc->OnGetCurrentItemIndex() < 9) Press("down");
  ASSERT_EQ(Focused(), text);
  const std::string before = text->ValueText().OnGetString().ToUtf8();
  Press("right");
  const std::string after = text->ValueText().OnGetString().ToUtf8();
  EXPECT_FALSE(after.empty());
  EXPECT_NE(after, before);
}

// The Picture page's values read in the menu language.
TEST_F(MenuLookTest, PicturePageValuesReadInTheMenuLanguage) {
  struct Case {
    int32_t language;
    const char* viewMode;
  };
  for (const Case& c : {Case{0, "Full screen"}, Case{1, "Completa"}, Case{2, "Plein écran"}}) {
    Skin()->SetMenuLanguage(c.language);
    Settle();
    Press("menu");
    Run(500);
    VidiSubMenu* page = Page();
    ASSERT_NE(page, nullptr);
    std::vector<std::string> values;
    for (int32_t i = 0; i < page->ItemCount(); ++i)
      if (page->Item(i)->IsVisible() && page->Item(i)->IsItemValue) values.push_back(page->Item(i)->OnGetValueString().ToUtf8());
    std::string shown;
    for (const std::string& v : values) shown += " \"" + v + "\"";
    EXPECT_NE(std::find(values.begin(), values.end(), c.viewMode), values.end())
        << "language " << c.language << " shows" << shown;
    Press("menu");
    Run(500);
  }
  Skin()->SetMenuLanguage(0);
}

}  // namespace menulooktest
