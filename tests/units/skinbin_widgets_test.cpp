// The skin's widgets driven by keys through the root: PIN completion, digit
// entry with its counter, time entry, sliders at their bounds, the text
// form's scroll notice.
#include <gtest/gtest.h>

#include <string>

#include "core_test_support.h"
#include "units/SkinBin/EntryForms.h"
#include "units/SkinBin/Sliders.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/SkinBin/TextForm.h"

namespace skinbinwidgettest {
namespace {

class Counter : public kv::Object {
  KV_CLASS(skinbinwidgettest, Counter, kv::Object)
 public:
  void Hit(kv::Object*) { ++hits; }
  void Other(kv::Object*) { ++others; }
  void Reset(kv::Object*) { ++resets; }
  int hits = 0, others = 0, resets = 0;
};

class SkinWidgetTest : public coretest::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    form = NewForm(root, "form", {100, 100, 700, 400});
    root->OnSetFocus(form);
    counter = kv::New<Counter>();
  }
  template <class T>
  T* Place(T* view, kv::Rect bounds) {
    view->OnSetBounds(bounds);
    form->Add(view);
    form->OnSetFocus(view);
    driver.Pass();
    return view;
  }
  coretest::KeyForm* form = nullptr;
  kv::Persistent<Counter> counter;
};

TEST_F(SkinWidgetTest, PinEntrySignalsCompletionOnce) {
  auto* pin = Place(kv::New<SkinBin::PinEntry>(), {0, 0, 210, 60});
  pin->OnCompleteEntry = kv::MakeSlot(counter.get(), &Counter::Hit);
  pin->OnResetTimeout = kv::MakeSlot(counter.get(), &Counter::Reset);
  for (uint16_t k : {11, 12, 13}) Press(k);
  EXPECT_EQ(counter->hits, 0);
  Press(14);
  EXPECT_EQ(pin->CurrentPin().ToUtf8(), "1234");
  EXPECT_EQ(counter->hits, 1);
  Press(15);  // full: no second completion
  EXPECT_EQ(counter->hits, 1);
  EXPECT_EQ(counter->resets, 4);
  pin->Clear();
  EXPECT_EQ(pin->CurrentPin().ToUtf8(), "");
}

TEST_F(SkinWidgetTest, NumberInputCountsItsDigits) {
  auto* num = Place(kv::New<SkinBin::NumberInput>(), {0, 0, 120, 30});
  num->OnNumChanged = kv::MakeSlot(counter.get(), &Counter::Hit);
  num->OnCancelChange = kv::MakeSlot(counter.get(), &Counter::Other);
  num->SetNum(35);
  Press(14);  // the first digit starts a new number
  EXPECT_EQ(num->GetNum(), 4);
  EXPECT_EQ(num->DigitCount, 1);
  Press(12);
  Press(17);
  EXPECT_EQ(num->GetNum(), 427);
  EXPECT_EQ(num->DigitCount, 0);  // three digits: the count starts again
  Press(19);
  EXPECT_EQ(num->GetNum(), 9);
  EXPECT_EQ(counter->hits, 4);
  EXPECT_EQ(Press(41), num);
  EXPECT_EQ(counter->others, 1);
  // Drawn: the typed cell in blue, the others dark.
  Press(13);
  EXPECT_NE(Pixel(100 + 5, 100 + 5), Pixel(100 + 90, 100 + 5));
}

TEST_F(SkinWidgetTest, TimeEntryTakesValidDigitsOnly) {
  auto* t = Place(kv::New<SkinBin::EnterTime>(), {0, 0, 160, 30});
  t->OnTimeChanged = kv::MakeSlot(counter.get(), &Counter::Hit);
  t->OnCancelChange = kv::MakeSlot(counter.get(), &Counter::Other);
  t->SetTimeIndex(8 * 60 + 30);
  EXPECT_EQ(t->GetTimeIndex(), 8 * 60 + 30);
  Press(13);  // 3 cannot start the hours
  EXPECT_EQ(t->DigitCount, 0);
  Press(12);
  Press(14);  // 24 is no hour
  EXPECT_EQ(t->DigitCount, 1);
  Press(11);
  Press(16);  // 6 tens of minutes refused
  Press(14);
  Press(15);
  EXPECT_EQ(t->DigitCount, 4);
  Press(1);
  EXPECT_EQ(counter->hits, 1);
  EXPECT_EQ(t->GetTimeIndex(), 21 * 60 + 40);
  EXPECT_EQ(t->DigitCount, 0);
  Press(11);
  Press(5);  // clears the digits
  EXPECT_EQ(t->DigitCount, 0);
  EXPECT_EQ(t->GetTimeIndex(), 0);
  Press(41);
  EXPECT_EQ(counter->others, 1);
}

TEST_F(SkinWidgetTest, SlidersStopAtTheirBounds) {
  auto* p = Place(kv::New<SkinBin::Progress>(), {0, 0, 200, 12});
  EXPECT_EQ(p->OnGetValue(), 50);
  EXPECT_FALSE(p->IsMarkerShown(0));
  p->OnValueChanged = kv::MakeSlot(counter.get(), &Counter::Hit);
  p->OnSetMax(52);
  for (int i = 0; i < 4; ++i) Press(7);
  EXPECT_EQ(p->OnGetValue(), 52);
  EXPECT_EQ(counter->hits, 4);
  auto* kxd = Place(kv::New<SkinBin::ProgressKXD>(), {0, 20, 200, 32});
  EXPECT_EQ(kxd->OnGetStretchIndicator(), Progress::kIndicatorPosition);
  for (int i = 0; i < 3; ++i) Press(6);
  EXPECT_EQ(kxd->OnGetValue(), 0);
  EXPECT_NE(kxd->OnGetBgImageBitmap(), nullptr);
}

TEST_F(SkinWidgetTest, TextFormScrollNotice) {
  auto* tf = Place(kv::New<SkinBin::TextForm>(), {0, 0, 200, 40});
  tf->OnScrollNotice = kv::MakeSlot(counter.get(), &Counter::Hit);
  tf->OnSetString(kv::NewStringAnsi("short"));
  EXPECT_EQ(counter->hits, 1);
  EXPECT_FALSE(tf->CanScrollDown());
  EXPECT_NE(Press(5), tf);  // nothing to scroll: the key goes on
  std::string longText;
  for (int i = 0; i < 30; ++i) longText += "word" + std::to_string(i) + " ";
  tf->OnSetString(kv::NewStringAnsi(longText.c_str()));
  EXPECT_TRUE(tf->CanScrollDown());
  EXPECT_FALSE(tf->CanScrollUp());
  EXPECT_EQ(Press(5), tf);
  EXPECT_TRUE(tf->CanScrollUp());
  EXPECT_EQ(counter->hits, 3);
  while (tf->CanScrollDown()) Press(5);
  EXPECT_NE(Press(5), tf);
  EXPECT_EQ(Press(4), tf);
}

TEST_F(SkinWidgetTest, ColorButtonShowsItsSwatch) {
  auto* b = Place(kv::New<SkinBin::ColorButton>(), {0, 0, 40, 30});
  b->OnSetColor(0xFF0000FFu);  // opaque red
  driver.Pass();
  EXPECT_EQ(Pixel(120, 115) & 0xFFu, 0xFFu);
  EXPECT_EQ((Pixel(120, 115) >> 16) & 0xFFu, 0u);
}

}  // namespace
}  // namespace skinbinwidgettest
