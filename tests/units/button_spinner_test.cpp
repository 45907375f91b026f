// Spinners: the number spinner's range, wrap-around and leading zeros, its
// step keys, typing within the verify time and the verify time-out (3000 ms
// on the fake clock); the text spinner's wrapping steps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core_test_support.h"
#include "runtime/trace.h"
#include "units/Button/NumberSpinner.h"
#include "units/Button/TextSpinner.h"

namespace buttontest {
namespace {

class SpinCounter : public kv::Object {
  KV_CLASS(buttontest, SpinCounter, kv::Object)
 public:
  void Changed(kv::Object* sender) {
    ++changes;
    last = sender;
  }
  void Activated(kv::Object*) { ++activations; }
  int changes = 0;
  int activations = 0;
  kv::Object* last = nullptr;
};

class SpinnerTest : public coretest::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    form = NewForm(root, "form", {100, 100, 600, 300});
    root->OnSetFocus(form);
    counter = kv::New<SpinCounter>();
    logged.clear();
    // Only the widgets' own lines: the font engine says once per process
    // that no font is registered, whichever test draws text first.
    kv::SetTraceSink([this](std::string_view line) {
      if (line.find("FS: ") != 0) logged.emplace_back(line);
    });
  }
  void TearDown() override {
    kv::SetTraceSink(nullptr);
    ViewTest::TearDown();
  }
  Button::NumberSpinner* AddNumberSpinner(int32_t min, int32_t max) {
    auto* s = kv::New<Button::NumberSpinner>();
    s->OnSetBounds({0, 0, 70, 30});
    s->OnSetMaximum(max);
    s->OnSetMinimum(min);
    s->OnValueChange = kv::MakeSlot(counter.get(), &SpinCounter::Changed);
    s->OnActivate = kv::MakeSlot(counter.get(), &SpinCounter::Activated);
    form->Add(s);
    form->OnSetFocus(s);
    return s;
  }
  static std::string Text(Button::ButtonClass* b) { return b->OnGetText().ToUtf8(); }

  coretest::KeyForm* form = nullptr;
  kv::Persistent<SpinCounter> counter;
  std::vector<std::string> logged;
};

TEST_F(SpinnerTest, RangeAndLeadingZeros) {
  auto* s = AddNumberSpinner(0, 59);
  s->OnSetCurrent(5);
  EXPECT_EQ(Text(s), "05");
  s->OnSetMaximum(100);
  EXPECT_EQ(Text(s), "005");
  s->OnSetHasLeadingZeros(false);
  EXPECT_EQ(Text(s), "5");
  EXPECT_TRUE(logged.empty());

  s->OnSetMaximum(12000);  // kept below 10000
  EXPECT_EQ(s->OnGetMaximum(), 9999);
  s->OnSetMinimum(20);  // Current follows the range
  EXPECT_EQ(s->OnGetCurrent(), 20);
  s->OnSetMaximum(10);  // not below Minimum
  EXPECT_EQ(s->OnGetMaximum(), 20);
  EXPECT_EQ(logged.size(), 2u);

  // Outside the range without wrap-around: above goes to Maximum, below to Minimum.
  s->OnSetMaximum(50);
  s->OnSetCurrent(70);
  EXPECT_EQ(s->OnGetCurrent(), 50);
  s->OnSetCurrent(3);
  EXPECT_EQ(s->OnGetCurrent(), 20);
  // With wrap-around: above goes to Minimum, below to Maximum.
  s->OnSetWrapAround(true);
  s->OnSetCurrent(70);
  EXPECT_EQ(s->OnGetCurrent(), 20);
  s->OnSetCurrent(3);
  EXPECT_EQ(s->OnGetCurrent(), 50);
  EXPECT_EQ(counter->changes, 0);  // setting never signals
}

TEST_F(SpinnerTest, StepKeysWrapAroundOrStopAtTheEnds) {
  auto* s = AddNumberSpinner(1, 12);
  s->OnSetCurrent(12);
  EXPECT_EQ(Press(4), s);
  EXPECT_EQ(s->OnGetCurrent(), 12);  // no wrap-around: stays at Maximum
  EXPECT_EQ(counter->changes, 1);    // but the key still signals
  EXPECT_EQ(counter->last, s);

  s->OnSetWrapAround(true);
  EXPECT_EQ(Press(4), s);
  EXPECT_EQ(Text(s), "01");
  EXPECT_EQ(Press(5), s);
  EXPECT_EQ(Text(s), "12");
  s->OnSetStep(5);
  s->OnSetCurrent(10);
  Press(4);  // 15 is above Maximum: wraps to Minimum, not modulo
  EXPECT_EQ(s->OnGetCurrent(), 1);
  EXPECT_EQ(counter->changes, 4);

  // Other keys go on; OK activates.
  EXPECT_EQ(Press(7), nullptr);
  EXPECT_EQ(Press(1), s);
  EXPECT_EQ(counter->activations, 1);
  EXPECT_EQ(s->OnGetCurrent(), 1);
}

TEST_F(SpinnerTest, DigitsAppendWhileTheVerifyTimerRuns) {
  auto* s = AddNumberSpinner(1, 31);
  EXPECT_EQ(Press(11), s);
  EXPECT_EQ(s->OnGetCurrent(), 1);
  driver.Pass(2999);
  EXPECT_EQ(Press(12), s);  // within the time: appended
  EXPECT_EQ(s->OnGetCurrent(), 12);
  EXPECT_EQ(Press(13), s);  // 123 is above Maximum: starts a new number
  EXPECT_EQ(s->OnGetCurrent(), 3);
  EXPECT_EQ(counter->changes, 3);

  driver.Pass(3000);  // the time-out leaves an in-range value alone
  EXPECT_EQ(s->OnGetCurrent(), 3);
  EXPECT_EQ(counter->changes, 3);
  EXPECT_EQ(Press(14), s);  // after it, a digit starts anew
  EXPECT_EQ(Text(s), "04");
}

TEST_F(SpinnerTest, VerifyTimeOutReplacesAnOutOfRangeValue) {
  auto* s = AddNumberSpinner(1, 31);
  s->OnSetDefaultValue(15);
  s->OnSetCurrent(20);
  EXPECT_EQ(Press(10), s);  // 0 is below Minimum but kept while typing
  EXPECT_EQ(s->OnGetCurrent(), 0);
  EXPECT_EQ(Text(s), "00");
  driver.Pass(2999);
  EXPECT_EQ(s->OnGetCurrent(), 0);
  driver.Pass(1);  // 3000 ms after the digit
  EXPECT_EQ(s->OnGetCurrent(), 15);
  EXPECT_EQ(Text(s), "15");
  EXPECT_EQ(counter->changes, 2);

  // A digit typed after 0 in time completes a valid number.
  Press(10);
  driver.Pass(1000);
  Press(17);
  EXPECT_EQ(s->OnGetCurrent(), 7);
  driver.Pass(3000);
  EXPECT_EQ(s->OnGetCurrent(), 7);

  // With wrap-around a typed value below Minimum wraps at once.
  s->OnSetWrapAround(true);
  Press(10);
  EXPECT_EQ(s->OnGetCurrent(), 31);
  EXPECT_EQ(Text(s), "31");
}

TEST_F(SpinnerTest, TextSpinnerStepsRoundItsTexts) {
  auto* s = kv::New<Button::TextSpinner>();
  s->OnSetBounds({0, 0, 90, 30});
  s->OnValueChange = kv::MakeSlot(counter.get(), &SpinCounter::Changed);
  form->Add(s);
  form->OnSetFocus(s);
  EXPECT_EQ(Press(4), s);  // no texts: taken, nothing changes
  EXPECT_EQ(counter->changes, 0);
  for (const char* month : {"January", "February", "March"}) s->AddText(kv::String::FromUtf8(month));
  EXPECT_EQ(Text(s), "January");

  Press(4);
  EXPECT_EQ(s->GetCurrentText().ToUtf8(), "February");
  Press(4);
  Press(4);  // past the last: back to the first
  EXPECT_EQ(s->OnGetCurrent(), 0);
  Press(5);  // before the first: the last
  EXPECT_EQ(Text(s), "March");
  EXPECT_EQ(counter->changes, 4);

  s->OnSetCurrent(1);  // no signal
  s->OnSetCurrent(3);  // outside: logged, ignored
  EXPECT_EQ(Text(s), "February");
  EXPECT_EQ(counter->changes, 4);
  EXPECT_EQ(logged.size(), 1u);
}

}  // namespace
}  // namespace buttontest
