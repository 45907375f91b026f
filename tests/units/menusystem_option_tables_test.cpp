// Every choice list and every ranged control the live menu shows, walked
// from the pages the menu itself builds (not from a hand list): each
// pop-up's first and last choice read on screen and accepted by the set,
// each slider stepped to both ends and the set's value read back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "menusystem_support.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/OptionDatabase/OptionDatabase.h"
#include "units/OptionDatabase/OptionTypes.h"
#include "units/Core/SeenTexts.h"
#include "units/SubSystem/State.h"

namespace menutest {
namespace {

using namespace MenuSystem;

class OptionTablesTest : public MenuTest {
 protected:
  OptionDatabase::OptionDataClass* Record(int32_t id) {
    return kv::GetAutoObject<OptionDatabase::OptionDatabaseClass>(MainApp::OptionDB)->GetOptionData(id);
  }
  // The texts drawn inside `form`, top to bottom.
  std::vector<Core::SeenText> TextsOf(const Core::View* form) {
    std::vector<Core::SeenText> out;
    for (Core::SeenText& t : SeenTexts())
      if (t.form == form && !t.shown.empty()) out.push_back(t);
    std::stable_sort(out.begin(), out.end(),
                     [](const Core::SeenText& a, const Core::SeenText& b) { return a.ink.y1 < b.ink.y1; });
    return out;
  }
  // Opens the page the column's entry `entry` leads to, then the page rows
  // `path` names (how many Downs from the focused row, then OK), as a
  // viewer reaches it.
  VidiSubMenu* Reach(int32_t entry, const std::vector<int32_t>& path) {
    Press("exit");
    Run(1000);
    Settle();
    Ms()->SetMenuIndex(1, entry);
    Press("menu");
    Settle();
    Press("ok");
    Settle();
    for (int32_t downs : path) {
      for (int32_t i = 0; i < downs; ++i) {
        Step("down");
        Run(100);
        Settle();
      }
      Step("ok");
    }
    return Page();
  }
  // Every item of the open page, focused in turn by Down (the carousel
  // wraps round), with `visit` called on each; the page rows are put in
  // `next` as the paths that reach their pages.
  template <class F>
  void WalkPage(F&& visit, const std::vector<int32_t>& path, std::vector<std::vector<int32_t>>& next) {
    VidiSubMenu* page = Page();
    if (!page) return;
    std::vector<VidiSubMenuItem*> done;
    for (int32_t n = 0; n <= page->ItemCount(); ++n) {
      auto* item = kv::Cast<VidiSubMenuItem>(Focused());
      if (!item || std::find(done.begin(), done.end(), item) != done.end()) break;
      done.push_back(item);
      if (item->NextState && item->NextState->Is(&VidiSubMenu::StaticClass()) && !item->OnGetIsDisabled()) {
        next.push_back(path);
        next.back().push_back(n);
      }
      visit(page, item);
      if (!page->IsOpen() || Page() != page) break;
      Step("down");
      Run(100);
      Settle();
    }
  }
  // Every page of the live menu, from the column's entries down the page
  // rows, each page once.
  template <class F>
  void WalkMenu(F&& visit) {
    std::set<const kv::Class*> seen;
    Press("menu");
    Settle();
    VidiMainMenu* column = Column();
    ASSERT_NE(column, nullptr);
    const int32_t entries = column->EntryCount();
    for (int32_t e = 0; e < entries; ++e) {
      std::vector<std::vector<int32_t>> next{{}};
      while (!next.empty()) {
        const std::vector<int32_t> path = next.back();
        next.pop_back();
        VidiSubMenu* page = Reach(e, path);
        if (page && seen.insert(page->KvClass()).second) WalkPage(visit, path, next);
      }
    }
    Press("exit");
    Run(1000);
    Settle();
  }
};

// The value text a row shows on screen (its texts but the caption).
std::string RowValue(const std::vector<Core::SeenText>& texts, VidiSubMenuItem* item) {
  const std::string caption = item->OnGetText().ToUtf8();
  for (const Core::SeenText& t : texts)
    if (t.holder == item && t.text != caption) return t.text;
  return std::string();
}

// Every option pop-up of the live menu: its choices on screen, first and
// last as the option's record lists them, and each of the two accepted by
// the set (its property reads it back); the last choice is left in place,
// and after a restart every row shows it and the set still holds it.
TEST_F(OptionTablesTest, EveryPopupShowsItsFirstAndLastChoiceAndTheSetKeepsThem) {
  std::map<int32_t, int32_t> chosen;  // option id -> the value left in place
  WalkMenu([&](VidiSubMenu*, VidiSubMenuItem* item) {
    VidiOptionMenu* popup = Open<VidiOptionMenu>();
    if (!popup || item->OnGetIsDisabled()) return;
    OptionDatabase::OptionDataClass* record = Record(popup->OptionType);
    ASSERT_NE(record, nullptr);
    SCOPED_TRACE(item->OnGetText().ToUtf8());
    const int32_t num = record->Num;
    ASSERT_GE(num, 2);
    const std::vector<Core::SeenText> shown = TextsOf(popup);
    ASSERT_EQ(static_cast<int32_t>(shown.size()), num) << SeenList();
    EXPECT_EQ(shown.front().text, record->ChoiceCaption(0).ToUtf8());
    EXPECT_EQ(shown.back().text, record->ChoiceCaption(num - 1).ToUtf8());
    if (!record->HasProperty()) return;
    // Into the pop-up; each choice focused is applied at once.
    Press("right");
    Settle();
    for (int32_t target : {0, num - 1}) {
      // (The captions are read again after each step: the menu language
      // renames them.)
      for (int32_t i = 0; i < num && RowValue(SeenTexts(), item) != record->ChoiceCaption(target).ToUtf8(); ++i) {
        Press("down");
        Settle();
      }
      const std::string want = record->ChoiceCaption(target).ToUtf8();
      EXPECT_EQ(RowValue(SeenTexts(), item), want);
      const int32_t value = record->Choices.at(static_cast<size_t>(target)).value;
      EXPECT_EQ(kv::OnGetInt32(record->RefValue), value) << "the set did not take " << want;
    }
    // Down from the last choice wraps round to the first, and Up back.
    Press("down");
    Settle();
    EXPECT_EQ(RowValue(SeenTexts(), item), record->ChoiceCaption(0).ToUtf8()) << "down from the last choice";
    Press("up");
    Settle();
    EXPECT_EQ(RowValue(SeenTexts(), item), record->ChoiceCaption(num - 1).ToUtf8()) << "up from the first choice";
    // The menu language goes back to the first choice, so that the pages
    // after it read as before; the PIN of one wireless connection attempt
    // is not a setting the set keeps.
    if (popup->OptionType == OptionDatabase::OPTION_TYPE_MENU_LANGUAGE) {
      for (int32_t i = 0; i < num && RowValue(SeenTexts(), item) != record->ChoiceCaption(0).ToUtf8(); ++i) {
        Press("down");
        Settle();
      }
      chosen[popup->OptionType] = record->Choices.front().value;
    } else if (popup->OptionType != OptionDatabase::OPTION_TYPE_WPS_PIN_MODE) {
      chosen[popup->OptionType] = record->Choices.back().value;
    }
    Press("left");
    Settle();
  });
  EXPECT_GE(chosen.size(), 20u);
  Restart();
  std::set<int32_t> checked;
  WalkMenu([&](VidiSubMenu*, VidiSubMenuItem* item) {
    VidiOptionMenu* popup = Open<VidiOptionMenu>();
    if (!popup || !chosen.count(popup->OptionType)) return;
    SCOPED_TRACE(item->OnGetText().ToUtf8());
    OptionDatabase::OptionDataClass* record = Record(popup->OptionType);
    ASSERT_NE(record, nullptr);
    checked.insert(popup->OptionType);
    EXPECT_EQ(kv::OnGetInt32(record->RefValue), chosen[popup->OptionType]);
    EXPECT_EQ(RowValue(SeenTexts(), item),
              record->ChoiceCaption(record->IndexOfValue(chosen[popup->OptionType])).ToUtf8());
  });
  // (The digital audio language is offered on a digital channel only: on
  // cable the set starts on an analogue one.)
  EXPECT_GE(checked.size() + 1, chosen.size());
}

// The number a slider shows: the row's value, or the bar's while it is open.
std::optional<int32_t> ShownNumber(const std::vector<Core::SeenText>& texts, const void* holder) {
  for (const Core::SeenText& t : texts) {
    if (t.holder != holder && t.form != holder) continue;
    char* end = nullptr;
    const long v = std::strtol(t.text.c_str(), &end, 10);
    if (!t.text.empty() && end && *end == '\0') return static_cast<int32_t>(v);
  }
  return std::nullopt;
}

// Every ranged control of the live menu (the sliders in a row and the
// adjustment bars the rows open) stepped by its keys to both ends: the end
// shown is the set's value, and the set's own range ends there too (one
// step further is refused).
TEST_F(OptionTablesTest, EverySliderReachesTheSetsOwnEndsOnScreen) {
  int32_t sliders = 0;
  WalkMenu([&](VidiSubMenu* page, VidiSubMenuItem* item) {
    if (!item->IsSlider || item->OnGetIsDisabled()) return;
    OptionDatabase::OptionDataClass* record = Record(item->OptionType);
    ASSERT_NE(record, nullptr);
    if (!record->HasProperty()) return;
    SCOPED_TRACE(item->OnGetText().ToUtf8());
    ++sliders;
    const void* holder = item;
    if (!item->IsSelect) {  // the row opens an adjustment bar and hides the menu
      Press("ok");
      Run(300);
      Settle();
      ASSERT_FALSE(page->OnGetVisible());
      holder = Focused() ? static_cast<const void*>(Focused()->Owner()) : nullptr;
      ASSERT_NE(holder, nullptr);
    }
    const int32_t steps = (item->Max - item->Min) / std::max(1, item->Step) + 2;
    for (const char* key : {"left", "right"}) {
      SCOPED_TRACE(key);
      std::optional<int32_t> last;
      for (int32_t i = 0; i < steps; ++i) {
        Press(key);
        Settle();
        std::optional<int32_t> now = ShownNumber(SeenTexts(), holder);
        ASSERT_TRUE(now.has_value()) << SeenList();
        if (now == last) break;
        last = now;
      }
      const bool low = std::string_view(key) == "left";
      // The end shown is the set's value.
      record->Value = kv::OnGetInt32(record->RefValue);
      record->Val2Id();
      EXPECT_EQ(*last, record->Id);
      EXPECT_EQ(*last, low ? item->Min : item->Max);
      // The set refuses one step further (but an OEM word, such as the
      // scale window's, which the set stores as it is given).
      const int32_t end = record->Value;
      ClearCallLog();
      kv::OnSetInt32(record->RefValue, end + (low ? -1 : 1));
      if (Calls("XPM_SetExtOemProperty").empty()) {
        EXPECT_EQ(kv::OnGetInt32(record->RefValue), end) << "the set takes a value past the end shown";
      }
      kv::OnSetInt32(record->RefValue, end);
    }
    if (!item->IsSelect) {
      Press("ok");
      Run(500);
      Settle();
      ASSERT_TRUE(page->OnGetVisible());
    }
  });
  EXPECT_GE(sliders, 10);
}

#ifdef KV_VERIFY
// Every option pop-up and every adjustment bar the pages open, in each menu
// language: the choices and the bar's caption read whole in the room they
// are given (the pop-up's 200 pixels, the bar's 180), none shortened or cut.
TEST_F(OptionTablesTest, EveryPopupAndBarReadsWholeInEveryLanguage) {
  int32_t popups = 0, bars = 0;
  for (int32_t language : {0, 1, 2}) {
    SCOPED_TRACE("language " + std::to_string(language));
    Skin()->SetMenuLanguage(language);
    Settle();
    WalkMenu([&](VidiSubMenu* page, VidiSubMenuItem* item) {
      if (item->OnGetIsDisabled()) return;
      SCOPED_TRACE(item->OnGetText().ToUtf8());
      const Core::View* form = Open<VidiOptionMenu>();
      const bool bar = item->IsSlider && !item->IsSelect;
      if (bar) {
        Press("ok");
        Run(300);
        Settle();
        form = Focused() ? Focused()->Owner() : nullptr;
      }
      if (!form) return;
      ++(bar ? bars : popups);
      for (const std::string& fault : Core::TextFaults(SeenTexts()))
        if (fault.find(form->KvClass()->name) != std::string::npos) ADD_FAILURE() << fault;
      if (bar) {
        Press("ok");
        Run(500);
        Settle();
        ASSERT_TRUE(page->OnGetVisible());
      }
    });
  }
  Skin()->SetMenuLanguage(0);
  EXPECT_GE(popups, 60);
  EXPECT_GE(bars, 15);
}
#endif

}  // namespace
}  // namespace menutest
