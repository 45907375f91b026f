// Text fields: the dash rule, the overflow rule of HandleNumber (and a
// derived rule), the erase key, editing at the cursor, and the margins and
// shift that keep the cursor in view.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core_test_support.h"
#include "platform/fontengine/font_engine.h"
#include "runtime/trace.h"
#include "units/Button/TextEdit.h"
#include "units/Fonts/Fonts.h"
#include "units/Resources/Font.h"

namespace buttontest {
namespace {

class EditCounter : public kv::Object {
  KV_CLASS(buttontest, EditCounter, kv::Object)
 public:
  void Changed(kv::Object*) { ++changes; }
  void Activated(kv::Object*) { ++activations; }
  int changes = 0;
  int activations = 0;
};

// A field that keeps the last three characters of whatever is typed.
class LastThreeEdit : public ::Button::TextEdit {
  KV_CLASS(buttontest, LastThreeEdit, ::Button::TextEdit)
 public:
  kv::String HandleNumber(const kv::String& text) override { return kv::StringRight(text, 3); }
};

class TextEditTest : public coretest::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    if (fe::GetCacheStats().limit == 0) {  // the font engine is started once per process
      FS_Init(20000);
      FS_AddFont(fe::DefaultFontPath());
    }
    form = NewForm(root, "form", {100, 100, 600, 300});
    root->OnSetFocus(form);
    counter = kv::New<EditCounter>();
    edit = Add(kv::New<Button::TextEdit>());
  }
  template <class T>
  T* Add(T* e) {
    e->OnSetBounds({0, 0, 200, 30});
    e->OnTextChanged = kv::MakeSlot(counter.get(), &EditCounter::Changed);
    e->OnActivate = kv::MakeSlot(counter.get(), &EditCounter::Activated);
    form->Add(e);
    form->OnSetFocus(e);
    return e;
  }
  void Type(const char* keys) {
    for (const char* k = keys; *k; ++k) Press(*k == '-' ? 44 : static_cast<uint16_t>(10 + (*k - '0')));
  }
  std::string Text() const { return edit->OnGetTextString().ToUtf8(); }
  static kv::String S(const char* s) { return kv::String::FromUtf8(s); }

  coretest::KeyForm* form = nullptr;
  Button::TextEdit* edit = nullptr;
  kv::Persistent<EditCounter> counter;
};

TEST_F(TextEditTest, DashAddsTheDotOnceAndOnlyBetweenDigits) {
  edit->OnSetMaxLength(6);
  edit->OnSetDotString(S("."));
  EXPECT_EQ(Press(44), edit);  // SupportDot off: taken, nothing added
  Type("5-");
  EXPECT_EQ(Text(), "5");
  edit->OnSetSupportDot(true);
  edit->ClearText();
  Type("-");  // not on an empty text
  EXPECT_EQ(Text(), "");
  Type("5-0-3");  // the second dash is refused
  EXPECT_EQ(Text(), "5.03");
  EXPECT_EQ(counter->changes, 1 + 4);  // "5" earlier, then 5, dot, 0, 3

  edit->OnSetTextString(S("123456"));  // at MaxLength: no dot
  Type("-");
  EXPECT_EQ(Text(), "123456");
  EXPECT_EQ(Press(1), edit);  // OK goes on to the control: activation
  EXPECT_EQ(counter->activations, 1);
}

TEST_F(TextEditTest, OverflowKeepsOnlyTheLastCharacter) {
  edit->OnSetMaxLength(3);
  edit->OnSetSupportDot(true);
  edit->OnSetDotString(S("-"));
  Type("123");
  EXPECT_EQ(Text(), "123");
  Type("4");
  EXPECT_EQ(Text(), "4");
  // A text holding the dot may be one longer.
  edit->ClearText();
  Type("12-3");
  EXPECT_EQ(Text(), "12-3");
  Type("4");
  EXPECT_EQ(Text(), "4");
  EXPECT_EQ(edit->OnGetCursorPos(), 1);

  // A derived rule replaces the base one.
  auto* last3 = Add(kv::New<LastThreeEdit>());
  last3->OnSetMaxLength(6);
  edit = last3;
  Type("1234");
  EXPECT_EQ(Text(), "234");
  EXPECT_EQ(edit->OnGetCursorPos(), 3);
}

TEST_F(TextEditTest, EraseKeyNeedsBothFlags) {
  edit->OnSetMaxLength(10);
  edit->OnSetEraseKey(20);
  Type("12");
  EXPECT_EQ(Press(20), nullptr);  // EnableEraseKey off: the key goes on
  EXPECT_EQ(Text(), "12");
  edit->OnSetEnableEraseKey(true);
  EXPECT_EQ(Press(20), nullptr);  // edit mode off: the key goes on
  EXPECT_EQ(Text(), "12");
  edit->OnSetEditModeEnabled(true);
  const int before = counter->changes;
  EXPECT_EQ(Press(20), edit);
  EXPECT_EQ(Text(), "1");
  EXPECT_EQ(Press(20), edit);
  EXPECT_EQ(Press(20), edit);  // empty: taken, nothing to remove
  EXPECT_EQ(Text(), "");
  EXPECT_EQ(counter->changes, before + 2);

  // Releases do nothing.
  Type("7");
  auto* up = kv::New<Core::KeyEvent>();
  up->Initialize(20, 0);
  EXPECT_EQ(root->DispatchEvent(up), nullptr);
  EXPECT_EQ(Text(), "7");
}

TEST_F(TextEditTest, EditingAtTheCursor) {
  std::vector<std::string> logged;
  kv::SetTraceSink([&logged](std::string_view line) { logged.emplace_back(line); });
  edit->OnSetMaxLength(10);
  edit->OnSetEnableEraseKey(true);
  edit->OnSetEditModeEnabled(true);
  edit->OnSetEraseKey(20);
  Type("1234");
  edit->OnSetCursorPos(1);
  Type("9");
  EXPECT_EQ(Text(), "19234");
  EXPECT_EQ(edit->OnGetCursorPos(), 2);
  Press(20);
  Press(20);
  EXPECT_EQ(Text(), "234");
  EXPECT_EQ(edit->OnGetCursorPos(), 0);

  // The cursor keeps its place when the text is replaced, or stays at the end.
  edit->OnSetCursorPos(2);
  edit->OnSetTextString(S("abcdef"));
  EXPECT_EQ(edit->OnGetCursorPos(), 2);
  edit->OnSetCursorPos(6);
  edit->OnSetTextString(S("abcdefgh"));
  EXPECT_EQ(edit->OnGetCursorPos(), 8);
  edit->OnSetCursorPos(3);
  edit->InsertAtCursor(S("XY"));
  EXPECT_EQ(Text(), "abcXYdefgh");
  EXPECT_EQ(edit->OnGetCursorPos(), 5);
  edit->DeleteBeforeCursor();
  EXPECT_EQ(Text(), "abcXdefgh");

  // The cursor string is shown at the cursor while editing.
  edit->OnSetCursorString(S("_"));
  EXPECT_EQ(edit->OnGetText().ToUtf8(), "abcX_defgh");
  edit->OnSetEditModeEnabled(false);
  EXPECT_EQ(edit->OnGetText().ToUtf8(), "abcXdefgh");

  EXPECT_TRUE(logged.empty());
  edit->OnSetCursorPos(40);
  EXPECT_EQ(edit->OnGetCursorPos(), 9);
  EXPECT_EQ(logged.size(), 1u);
  kv::SetTraceSink(nullptr);
}

TEST_F(TextEditTest, LongTextShiftsSoThatTheCursorStaysInView) {
  edit->OnSetMaxLength(1000);
  edit->OnSetLeftMargin(6);
  edit->OnSetRightMargin(6);
  edit->OnSetTextColor({255, 255, 255, 255});
  Type("12");
  const int32_t w12 = Resources::LoadResource(Fonts::MediumFont)->GetTextWidth(S("12"));
  EXPECT_EQ(edit->OnGetTextShift(), 0);
  EXPECT_EQ(edit->GetCursorX(), 6 + w12);

  edit->OnSetTextString(S("1234567890123456789012345678901234567890"));
  EXPECT_GT(edit->OnGetTextShift(), 0);
  EXPECT_EQ(edit->GetCursorX(), 200 - 6);  // held at the right margin
  driver.Pass();
  // Nothing is drawn over the margins; the text fills the room between them.
  auto columnDrawn = [this](int32_t x) {
    for (int32_t y = 100; y < 130; ++y)
      if (Pixel(100 + x, y) >> 24) return true;
    return false;
  };
  EXPECT_FALSE(columnDrawn(2));
  EXPECT_FALSE(columnDrawn(197));
  EXPECT_TRUE(columnDrawn(100));

  edit->OnSetCursorPos(0);
  EXPECT_EQ(edit->OnGetTextShift(), 0);
  EXPECT_EQ(edit->GetCursorX(), 6);
  driver.Pass();
  EXPECT_FALSE(columnDrawn(197));
}

}  // namespace
}  // namespace buttontest
