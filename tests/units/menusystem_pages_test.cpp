// Pages of the live menu, the option pop-up and the PIN pages driven
// through the whole system.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "focus_look.h"
#include "menusystem_support.h"
#include "runtime/runtime.h"
#include "runtime/text.h"
#include "strings/MenuSystem.h"
#include "strings/Strings.h"
#include "units/Constants/Constants.h"
#include "units/MenuSystem/SettingPages.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/OptionDatabase/OptionTypes.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SubSystem/State.h"

namespace menutest {
namespace {

using namespace MenuSystem;

class PagesTest : public MenuTest {
 protected:
  PersistentData::PersistentData* Store() {
    return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
  }
  // A new set: the Menu key on the Locks entry opens the new-PIN page.
  ChangePinMenu* OpenNewPinPage() {
    EXPECT_FALSE(Skin()->IsPinExisting());
    Ms()->SetMenuIndex(1, 5);
    Press("menu");
    Settle();
    return kv::Cast<ChangePinMenu>(Page());
  }
  // Opens the menu on column entry `entry` (1-based) with its page focused.
  void EnterPage(int entry) {
    Ms()->SetMenuIndex(1, entry);
    Press("menu");
    Settle();
    Press("ok");
    Settle();
  }
};

TEST_F(PagesTest, InlineSliderAndPageKeys) {
  EnterPage(2);  // Audio
  auto* page = kv::Cast<VidiAudioMenu>(Page());
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(Focused(), page->Item(0));
  // Balance is the fifth item (the source decides item 4).
  Step("down", 4);
  auto* balance = kv::Cast<VidiSubMenuItem>(Focused());
  ASSERT_NE(balance, nullptr);
  EXPECT_EQ(balance->OptionType, OptionDatabase::OPTION_TYPE_BALANCE);
  const int32_t before = W()->OnGetBalance();
  ClearCallLog();
  Press("right");
  Press("right");
  Settle();
  EXPECT_EQ(W()->OnGetBalance(), before + 2);
  EXPECT_EQ(Calls("XPM_SetBalance").size(), 2u);
  EXPECT_EQ(balance->OnGetValueString().ToUtf8(), std::to_string(before + 2));
  Press("left");
  Settle();
  EXPECT_EQ(W()->OnGetBalance(), before + 1);
  // Back at level 2 hands the focus to the column; the page stays open.
  Press("back");
  Settle();
  EXPECT_EQ(Focused(), Column()->Entry(1));
  EXPECT_EQ(Page(), page);
}

TEST_F(PagesTest, BrightnessThroughTheAdjustmentBar) {
  EnterPage(1);  // Picture
  Press("ok");   // Picture settings, focused on Brightness
  Settle();
  auto* page = kv::Cast<VidiPictureSettingsMenu>(Page());
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(Focused(), page->Item(0));
  const int32_t before = W()->OnGetBrightness();
  ClearCallLog();
  Press("ok");
  Settle();
  // The menu hides and the bar takes the keys.
  EXPECT_FALSE(page->OnGetVisible());
  EXPECT_FALSE(Column()->OnGetVisible());
  Press("right", 3);
  Settle();
  EXPECT_FALSE(Calls("XPM_SetBrightness").empty());
  EXPECT_EQ(W()->OnGetBrightness(), before + 3);
  // OK closes the bar and the page shows the new value.
  Press("ok");
  Run(300);
  Settle();
  EXPECT_TRUE(page->OnGetVisible());
  EXPECT_EQ(page->Item(0)->OnGetValueString().ToUtf8(), std::to_string(before + 3));
}

TEST_F(PagesTest, OptionPopupAppliesEachChoiceAtOnce) {
  EnterPage(1);  // Picture; item 3 is Auto aspect, a pop-up
  Step("down", 2);
  Run(100);
  Settle();
  VidiOptionMenu* popup = Open<VidiOptionMenu>();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->OptionType, OptionDatabase::OPTION_TYPE_AUTO_ASPECT);
  EXPECT_EQ(popup->Bounds().x1, 710);
  EXPECT_EQ(popup->Bounds().y1, 95);
  EXPECT_EQ(popup->Bounds().W(), 212);
  EXPECT_EQ(popup->Bounds().H(), 40 * popup->ItemNum + 15);
  const int32_t before = Skin()->OnGetAutoAspect();
  ClearCallLog();
  Press("right");  // into the pop-up: opening wrote nothing
  Settle();
  for (const std::string& call : CallLog()) EXPECT_NE(call.rfind("XPM_Set", 0), 0u) << call;
  EXPECT_EQ(Skin()->OnGetAutoAspect(), before);
  Press("down");
  Settle();
  EXPECT_NE(Skin()->OnGetAutoAspect(), before);
  auto* item = kv::Cast<VidiSubMenuItem>(Page()->OnGetFocus());
  ASSERT_NE(item, nullptr);
  EXPECT_FALSE(item->OnGetValueString().Empty());
  // Down again wraps round the two choices and writes the first one back.
  Press("down");
  Settle();
  EXPECT_EQ(Skin()->OnGetAutoAspect(), before);
  // Left returns to the page with the pop-up still open.
  Press("left");
  Settle();
  EXPECT_EQ(Focused(), item);
  EXPECT_EQ(Open<VidiOptionMenu>(), popup);
  // Moving on closes it; the next item's pop-up takes its place.
  Step("down");
  Run(100);
  Settle();
  ASSERT_NE(Open<VidiOptionMenu>(), nullptr);
  EXPECT_EQ(Open<VidiOptionMenu>()->OptionType, 0x8100001c);
}

// The help bar shows the keys of the form that takes them: the pop-up's
// up/down while it is focused, the page row's own keys again once Left or
// Back hands the focus back to the page.
TEST_F(PagesTest, LeavingThePopupGivesTheHelpBarBackToThePage) {
  EnterPage(1);  // Picture; item 3 is Auto aspect, a pop-up
  Step("down", 2);
  Run(100);
  Settle();
  ASSERT_NE(Open<VidiOptionMenu>(), nullptr);
  auto pixels = [&] {
    Run(50);
    const kv::Rect r = Column()->HelpIcon().GetAbsoluteBounds();
    const ge::Surface& osd = Osd();
    std::vector<uint32_t> px;
    for (int32_t y = r.y1; y < r.y2; ++y)
      for (int32_t x = r.x1; x < r.x2; ++x) px.push_back(osd.Row(y)[x]);
    return px;
  };
  const std::vector<uint32_t> page = pixels();
  ASSERT_FALSE(page.empty());
  for (const char* out : {"left", "back"}) {
    SCOPED_TRACE(out);
    Press("right");
    Settle();
    ASSERT_NE(Focused(), Page()->OnGetFocus());
    EXPECT_NE(pixels(), page) << "the pop-up's keys are not shown";
    Press(out);
    Settle();
    ASSERT_EQ(Focused(), Page()->OnGetFocus());
    EXPECT_EQ(pixels(), page) << "the help bar keeps the pop-up's keys";
  }
}

// The column's help icon draws the arrows of the keys that work: left and
// right on an inline slider, up and down inside an option pop-up.
TEST_F(PagesTest, TheHelpIconShowsTheArrowsOfTheKeysThatWork) {
  // Whether the key cap's glyph covers a point of the icon: the point stands
  // out from the cap's face at the left end of the same line.
  auto glyphAt = [&](int32_t x, int32_t y) {
    Run(50);
    const kv::Rect r = Column()->HelpIcon().GetAbsoluteBounds();
    const ge::Surface& osd = Osd();
    const uint32_t p = osd.Row(r.y1 + y)[r.x1 + x], face = osd.Row(r.y1 + y)[r.x1 + 6];
    int32_t d = 0;
    for (int shift = 0; shift < 24; shift += 8)
      d += std::abs(static_cast<int32_t>((p >> shift) & 0xFF) - static_cast<int32_t>((face >> shift) & 0xFF));
    return d > 120;
  };
  Press("menu");
  Settle();
  Step("down");  // Audio
  Press("ok");
  Settle();
  Step("down", 4);
  auto* balance = kv::Cast<VidiSubMenuItem>(Focused());
  ASSERT_NE(balance, nullptr);
  ASSERT_EQ(balance->OptionType, OptionDatabase::OPTION_TYPE_BALANCE);
  EXPECT_TRUE(glyphAt(12, 17)) << "no left arrow on the slider";
  EXPECT_TRUE(glyphAt(30, 17)) << "no right arrow on the slider";
  EXPECT_FALSE(glyphAt(21, 10)) << "an up arrow on the slider";
  Press("back");
  Settle();
  Step("up");  // Picture; its third row is a pop-up
  Press("ok");
  Settle();
  Step("down", 2);
  Run(100);
  Settle();
  ASSERT_NE(Open<VidiOptionMenu>(), nullptr);
  Press("right");
  Settle();
  EXPECT_TRUE(glyphAt(21, 10)) << "no up arrow in the pop-up";
  EXPECT_TRUE(glyphAt(21, 24)) << "no down arrow in the pop-up";
  EXPECT_FALSE(glyphAt(12, 17)) << "a left arrow in the pop-up";
}

TEST_F(PagesTest, MenuLanguageRecaptionsEverything) {
  EnterPage(4);  // Settings: item 6 (5 without picture-in-picture) is the menu language
  auto* page = Page();
  ASSERT_NE(page, nullptr);
  int steps = 0;
  while (kv::Cast<VidiSubMenuItem>(Focused()) &&
         kv::Cast<VidiSubMenuItem>(Focused())->OptionType != OptionDatabase::OPTION_TYPE_MENU_LANGUAGE && steps < 12) {
    Step("down");
    ++steps;
  }
  Run(100);
  Settle();
  ASSERT_NE(Open<VidiOptionMenu>(), nullptr);
  const std::string englishTitle = page->OnGetLabelstring().ToUtf8();
  Press("right");
  Settle();
  ASSERT_EQ(Focused()->Owner(), Open<VidiOptionMenu>());
  Press("up");  // English -> French (the last choice)
  Run(100);
  Settle();
  EXPECT_EQ(Skin()->OnGetMenuLanguage(), 2);
  EXPECT_NE(page->OnGetLabelstring().ToUtf8(), englishTitle);
  EXPECT_EQ(page->OnGetLabelstring().ToUtf8(), "Réglages");
  EXPECT_EQ(Column()->Entry(0)->OnGetText().ToUtf8(), "Image");
}

// The box that takes the next digit stands out from the others: it shows the
// focus blue, the boxes already filled and those still to come do not.
TEST_F(PagesTest, ThePinEntrysNextBoxLooksFocused) {
  auto* change = OpenNewPinPage();
  ASSERT_NE(change, nullptr);
  // Four cells of the skin's size, 6 pixels apart, centred in the entry.
  const kv::Rect entry = change->First().GetAbsoluteBounds();
  const int32_t gap = 6;
  const int32_t w = SkinBin::PinEntry::kCellWidth, h = SkinBin::PinEntry::kCellHeight;
  const int32_t x0 = entry.x1 + (entry.W() - (4 * w + 3 * gap)) / 2;
  const int32_t y0 = entry.y1 + (entry.H() - h) / 2;
  auto box = [&](int32_t i) {
    const int32_t x = x0 + i * (w + gap);
    return kv::Rect{x, y0, x + w, y0 + h};
  };
  // Before OK the column takes the keys: only its Locks entry looks
  // focused, no box of either entry looks like the next one.
  Run(400);
  for (SkinBin::PinEntry* e : {&change->First(), &change->Second()})
    EXPECT_LT(apptest::FocusBlueShare(Osd(), e->GetAbsoluteBounds()), 0.01) << "a box looks focused before OK";
  Press("ok");
  Settle();
  ASSERT_EQ(Focused(), &change->First());
  for (int32_t typed = 0; typed < 4; ++typed) {
    SCOPED_TRACE(typed);
    if (typed > 0) Press(std::to_string(typed));
    Run(50);
    for (int32_t i = 0; i < 4; ++i) {
      const double blue = apptest::FocusBlueShare(Osd(), box(i));
      if (i == typed)
        EXPECT_GT(blue, 0.5) << "the next box " << i << " does not stand out";
      else
        EXPECT_LT(blue, 0.05) << "box " << i << " looks like the next one";
    }
  }
}

// The language pop-up names the languages in the language just chosen, at
// once, whether it has the focus or stands beside its row.
TEST_F(PagesTest, TheLanguagePopupNamesTheLanguagesInTheNewLanguage) {
  // Menu, up to Settings, its page, down to the menu language, into the
  // pop-up, Spanish.
  Press("menu");
  Run(500);
  Step("up", 4);
  Step("ok");
  Step("down", 4);
  Step("ok");
  ASSERT_NE(Open<VidiOptionMenu>(), nullptr);
  EXPECT_TRUE(Sees("English") && Sees("Spanish") && Sees("French")) << SeenList();
  Step("down");
  ASSERT_EQ(Skin()->OnGetMenuLanguage(), 1);
  for (const char* name : {"Inglés", "Español", "Francés"}) EXPECT_TRUE(Sees(name)) << name << "\n" << SeenList();
  EXPECT_FALSE(Sees("English")) << SeenList();
  Step("left");  // back to the row, the pop-up beside it
  ASSERT_NE(Open<VidiOptionMenu>(), nullptr);
  for (const char* name : {"Inglés", "Español", "Francés"}) EXPECT_TRUE(Sees(name)) << name << "\n" << SeenList();
  Step("right");
  Step("down");  // French
  ASSERT_EQ(Skin()->OnGetMenuLanguage(), 2);
  for (const char* name : {"Anglais", "Espagnol", "Français"}) EXPECT_TRUE(Sees(name)) << name << "\n" << SeenList();
  EXPECT_FALSE(Sees("Inglés")) << SeenList();
}

TEST_F(PagesTest, LocksWithoutAndWithAPin) {
  auto* change = OpenNewPinPage();
  ASSERT_NE(change, nullptr);
  EXPECT_EQ(change->ChangePinType, CHANGE_PIN_PASSWORD);
  Press("ok");
  Settle();
  // Up, down, left and right do nothing on a PIN page.
  Press("up");
  Press("right");
  Settle();
  EXPECT_EQ(Page(), change);
  // Mismatch: nothing stored, message, back to the first entry.
  Digits("1234");
  Digits("1235");
  Run(10);
  Settle();
  EXPECT_FALSE(Skin()->IsPinExisting());
  EXPECT_EQ(change->Message().ToUtf8(), kv::GetVariantOfString(Strings::SID_MSG_LOCKS_INCORRECT_PIN_CODE).ToUtf8());
  EXPECT_EQ(Focused(), &change->First());
  // The refused value twice.
  Digits("0000");
  Digits("0000");
  Settle();
  EXPECT_FALSE(Skin()->IsPinExisting());
  EXPECT_EQ(change->Message().ToUtf8(), kv::GetVariantOfString(Strings::SID_MSG_LOCKS_ZERO_PIN_CODE).ToUtf8());
  // The same PIN twice: stored, the Locks page opens focused.
  Digits("4321");
  Digits("4321");
  Settle();
  EXPECT_EQ(Store()->GetString(MenuSystem::KEY_PIN).ToUtf8(), "4321");
  auto* locks = kv::Cast<VidiLocksMenu>(Page());
  ASSERT_NE(locks, nullptr);
  EXPECT_EQ(Focused(), locks->Item(0));
  // Back to the column keeps the Locks page; moving away and back asks for the PIN.
  Press("back");
  Settle();
  EXPECT_EQ(Page(), locks);
  Step("down");
  Step("up");
  auto* enter = kv::Cast<EnterPinMenu>(Page());
  ASSERT_NE(enter, nullptr);
  Press("ok");
  Settle();
  Digits("1111");
  Settle();
  EXPECT_EQ(enter->Message().ToUtf8(), kv::GetVariantOfString(Strings::SID_MSG_LOCKS_INCORRECT_PIN_CODE).ToUtf8());
  EXPECT_EQ(Page(), enter);
  Digits("4321");
  Settle();
  EXPECT_NE(kv::Cast<VidiLocksMenu>(Page()), nullptr);
  // After a teardown the next opening asks for it too.
  Press("exit");
  Settle();
  Press("menu");
  Settle();
  EXPECT_NE(kv::Cast<EnterPinMenu>(Page()), nullptr);
}

TEST_F(PagesTest, ConditionalItems) {
  // The PIP page with the mode off: items disabled and no moves.
  auto* pip = kv::Cast<VidiPIPMenu>(Ms()->OpenState(&VidiPIPMenu::StaticClass(), 0, 0, nullptr));
  ASSERT_NE(pip, nullptr);
  EXPECT_EQ(pip->ItemsNum, Skin()->OnGetPipMode() ? 6 : 1);
  if (!Skin()->OnGetPipMode()) {
    EXPECT_TRUE(pip->Item(1)->OnGetIsDisabled());
  }
  // A stored PIN sends Reset all to the PIN dialog, type 4.
  Store()->PutString(MenuSystem::KEY_PIN, kv::NewStringAnsi("4321"));
  auto* settings = kv::Cast<VidiSettingsMenu>(Ms()->OpenState(&VidiSettingsMenu::StaticClass(), 0, 0, nullptr));
  ASSERT_NE(settings, nullptr);
  VidiSubMenuItem* reset = settings->Item(settings->ItemCount() - 1);
  EXPECT_EQ(reset->OptionType, 4);
  EXPECT_EQ(reset->NextState, KV_LATE_CLASS("NonMenuSystem::EnterPinDialog"));
  // The networking page: wired shows three moving items.
  auto* net = kv::Cast<VidiNetworkingMenu>(Ms()->OpenState(&VidiNetworkingMenu::StaticClass(), 0, 0, nullptr));
  ASSERT_NE(net, nullptr);
  EXPECT_EQ(net->ItemsNum, Skin()->OnGetNetworkType() ? 4 : 3);
  // The product tree's PIN page: two rows, the first focused.
  auto* pinPage = kv::Cast<PINSettingMenu>(Ms()->OpenState(&PINSettingMenu::StaticClass(), 0, 0, nullptr));
  ASSERT_NE(pinPage, nullptr);
  EXPECT_EQ(pinPage->RowCount(), 2);
  EXPECT_EQ(pinPage->OnGetFocus(), static_cast<Core::View*>(pinPage->Row(0)));
  EXPECT_EQ(pinPage->MenuLevel, 4);
}

// The audio page's first two rows name the set's audio effect: bass and
// treble with the equaliser on a set without one, else that effect's two
// settings.
TEST_F(PagesTest, TheAudioPagesFirstRowsFollowTheSetsAudioEffect) {
  const char* const rows[4][2] = {{"Bass and treble", "Equaliser"},
                                  {"Dynamic volume", "Room equaliser"},
                                  {"Volume levelling", "Surround"},
                                  {"Smart volume", "Smart surround"}};
  for (int32_t effect = 0; effect < 4; ++effect) {
    SCOPED_TRACE(effect);
    Skin()->OnSetAudioEffect(effect);
    Press("menu");
    Settle();
    if (effect == 0) Step("down");  // Audio, where the menu opens from then on
    Press("ok");
    Settle();
    ASSERT_NE(Open<VidiAudioMenu>(), nullptr);
    EXPECT_EQ(FocusedCaption(), rows[effect][0]);
    Step("down");
    EXPECT_EQ(FocusedCaption(), rows[effect][1]);
    EXPECT_TRUE(Sees(rows[effect][0])) << SeenList();
    EXPECT_TRUE(Sees(rows[effect][1])) << SeenList();
    Press("exit");
    Settle();
  }
}

// A set with no media renderer set up: the media page, reached by keys from
// a new set's menu, offers the three kinds and no renderer row.
TEST_F(PagesTest, TheMediaPageOffersNoRendererRowWhenNoneIsSetUp) {
  Press("menu");
  Settle();
  Step("down", 5);
  Press("ok");
  Settle();
  ASSERT_NE(Open<VidiMediaMenu>(), nullptr) << SeenList();
  for (const char* kind : {"Video", "Music", "Photo"}) EXPECT_TRUE(Sees(kind)) << kind << "\n" << SeenList();
  for (const Core::SeenText& t : SeenTexts())
    EXPECT_EQ(t.text.find("renderer"), std::string::npos) << t.text;
}

// Delete PIN on the product tree's PIN page: Yes removes the PIN and leads
// to the preferences page, shown and answering keys.
TEST_F(PagesTest, DeletePinLeadsToThePreferencesPage) {
  Store()->PutString(MenuSystem::KEY_PIN, kv::NewStringAnsi("4321"));
  // Opened as the product tree opens it: a state change sent to the menu.
  auto* state = kv::New<SubSystem::State>();
  state->Class = &PINSettingMenu::StaticClass();
  state->Param = SkinBin::UserRefInt::Make(0, Constants::MSG_FROM_MENUSYSTEM);
  auto* msg = kv::New<Structures::Message>();
  msg->Initialize(Constants::MSG_CHANGE_STATE, state);
  kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->DispatchTo(msg, &MenuSystem::MenuSystem::StaticClass());
  Settle();
  PINSettingMenu* pinPage = nullptr;
  for (auto* f : OpenForms())
    if (auto* p = kv::Cast<PINSettingMenu>(f)) pinPage = p;
  ASSERT_NE(pinPage, nullptr);
  Press("down");
  ASSERT_EQ(Focused(), static_cast<Core::View*>(pinPage->Row(1)));
  Press("ok");
  Settle();
  auto* confirm = kv::Cast<NonMenuSystem::ConfirmMultiOptionDialog>(Nms()->OnGetFocus());
  ASSERT_NE(confirm, nullptr);
  Press("left");
  Press("ok");
  Settle();
  EXPECT_TRUE(Store()->GetString(MenuSystem::KEY_PIN).Empty());
  MenuSystem::PreferencesMenu* prefs = nullptr;
  for (auto* f : OpenForms())
    if (auto* p = kv::Cast<MenuSystem::PreferencesMenu>(f)) prefs = p;
  ASSERT_NE(prefs, nullptr);
  EXPECT_TRUE(prefs->IsVisible());
  Core::View* before = Focused();
  ASSERT_NE(before, nullptr);
  Press("down");
  EXPECT_NE(Focused(), before);
}

// The focused row's label stands on the focus bar's body, with a few
// pixels of the bar between the bar's light rim and the first letter.
TEST_F(PagesTest, TheFocusedRowsLabelHasRoomInsideTheFocusBar) {
  for (int entry : {1, 2}) {  // Picture, Audio
    EnterPage(entry);
    auto* row = kv::Cast<VidiSubMenuItem>(Focused());
    ASSERT_NE(row, nullptr) << entry;
    const std::string label = row->OnGetText().ToUtf8();
    const Core::SeenText* seen = nullptr;
    const std::vector<Core::SeenText> texts = SeenTexts();
    for (const Core::SeenText& t : texts)
      if (t.text == label && t.where.find("MenuSystem::VidiSubMenuItem") != std::string::npos) seen = &t;
    ASSERT_NE(seen, nullptr) << label << "\n" << SeenList();
    EXPECT_TRUE(seen->Readable()) << seen->Describe();
    const kv::Rect bar = row->GetAbsoluteBounds();
    const ge::Surface& osd = Osd();
    const auto light = [&](int32_t x, int32_t y) {
      const uint32_t p = osd.Row(y)[x];
      return std::min({p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF}) > 140;
    };
    // Along the label's middle line, from the bar's left edge to the first
    // letter: the rim, then at least 3 pixels of the bar's blue.
    const int32_t y = (seen->ink.y1 + seen->ink.y2) / 2;
    int32_t rimEnd = bar.x1;
    for (int32_t x = bar.x1; x < seen->ink.x1; ++x)
      if (light(x, y)) rimEnd = x + 1;
    EXPECT_GE(seen->ink.x1 - rimEnd, 3) << label << ": the first letter at x " << seen->ink.x1
                                        << " touches the bar's rim ending at x " << rimEnd;
    Ms()->TearDownMenus();
    Settle();
  }
}

TEST_F(PagesTest, OpenAndClose50TimesKeepsTheCensus) {
  // One round first: the option database keeps the records it has made.
  for (int i = 0; i < 2; ++i) {
    Press("menu");
    Settle();
    Press("down");
    Run(400);
    Press("menu");
    Settle();
  }
  Ms()->SetMenuIndex(1, 1);
  const auto base = Census();
  for (int i = 0; i < 50; ++i) {
    Press("menu");
    Settle();
    Press("down");
    Run(400);
    Press("menu");
    Settle();
  }
  Ms()->SetMenuIndex(1, 1);
  const auto after = Census();
  for (const auto& [cls, n] : after) {
    // The option database keeps the records it has made for a while.
    if (cls.rfind("OptionDatabase::", 0) == 0) continue;
    auto it = base.find(cls);
    EXPECT_LE(n, (it == base.end() ? 0u : it->second) + 2) << cls;
  }
}

}  // namespace
}  // namespace menutest
