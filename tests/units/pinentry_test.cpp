// PIN entry: digits up to MaxNumDigits, the delete key and going back from an
// empty entry, the time-out slot, Clear, and the masked boxes it draws.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core_test_support.h"
#include "runtime/trace.h"
#include "units/PinEntry/PinEntry.h"

namespace pinentrytest {
namespace {

class Counter : public kv::Object {
  KV_CLASS(pinentrytest, Counter, kv::Object)
 public:
  void Reset(kv::Object* sender) {
    ++resets;
    last = sender;
  }
  void Prev(kv::Object*) { ++prevs; }
  int resets = 0;
  int prevs = 0;
  kv::Object* last = nullptr;
};

class PinEntryTest : public coretest::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    form = NewForm(root, "form", {100, 100, 500, 300});
    root->OnSetFocus(form);
    pin = kv::New<PinEntry::PinEntry>();
    pin->OnSetBounds({0, 0, 210, 60});  // four 48-pixel boxes, 6 apart
    form->Add(pin);
    form->OnSetFocus(pin);
    counter = kv::New<Counter>();
    pin->OnResetTimeout = kv::MakeSlot(counter.get(), &Counter::Reset);
    pin->OnPrevPin = kv::MakeSlot(counter.get(), &Counter::Prev);
    driver.Pass();
  }
  std::string Pin() { return pin->CurrentPin().ToUtf8(); }

  coretest::KeyForm* form = nullptr;
  PinEntry::PinEntry* pin = nullptr;
  kv::Persistent<Counter> counter;
};

TEST_F(PinEntryTest, DigitsAreCollectedUpToTheMaximum) {
  EXPECT_EQ(Press(11), pin);
  EXPECT_EQ(Press(12), pin);
  EXPECT_EQ(Press(10), pin);
  EXPECT_EQ(Press(19), pin);
  EXPECT_EQ(Pin(), "1209");
  EXPECT_TRUE(pin->IsComplete());
  EXPECT_EQ(counter->resets, 4);
  EXPECT_EQ(counter->last, pin);
  EXPECT_EQ(Press(15), pin);  // full: taken but not entered, no signal
  EXPECT_EQ(Pin(), "1209");
  EXPECT_EQ(counter->resets, 4);

  // A release is not a digit; other keys go on.
  auto* up = kv::New<Core::KeyEvent>();
  up->Initialize(13, 0);
  EXPECT_EQ(root->DispatchEvent(up), nullptr);
  EXPECT_EQ(Press(1), nullptr);
  EXPECT_EQ(Press(7), nullptr);
  EXPECT_EQ(Pin(), "1209");
}

TEST_F(PinEntryTest, DeleteKeyRemovesTheLastDigitThenGoesBack) {
  Press(17);
  Press(18);
  EXPECT_EQ(Press(6), pin);
  EXPECT_EQ(Pin(), "7");
  EXPECT_EQ(counter->resets, 3);
  EXPECT_EQ(Press(6), pin);
  EXPECT_EQ(Pin(), "");
  EXPECT_EQ(counter->prevs, 0);
  EXPECT_EQ(Press(6), pin);  // empty: back to the previous step
  EXPECT_EQ(counter->prevs, 1);
  EXPECT_EQ(counter->resets, 4);

  pin->OnSetDeleteKey(20);
  Press(13);
  EXPECT_EQ(Press(6), nullptr);
  EXPECT_EQ(Press(20), pin);
  EXPECT_EQ(Pin(), "");
}

TEST_F(PinEntryTest, MaxNumDigitsAndClear) {
  std::vector<std::string> logged;
  kv::SetTraceSink([&logged](std::string_view line) { logged.emplace_back(line); });
  pin->OnSetMaxNumDigits(6);
  for (uint16_t k = 11; k <= 17; ++k) Press(k);
  EXPECT_EQ(Pin(), "123456");
  pin->OnSetMaxNumDigits(2);  // digits beyond the new maximum are dropped
  EXPECT_EQ(Pin(), "12");
  EXPECT_TRUE(logged.empty());
  pin->OnSetMaxNumDigits(0);
  EXPECT_EQ(pin->OnGetMaxNumDigits(), 1);
  EXPECT_EQ(logged.size(), 1u);
  pin->AddDigit(12);
  EXPECT_EQ(logged.size(), 2u);
  kv::SetTraceSink(nullptr);

  const int resets = counter->resets;
  driver.Pass();
  ASSERT_EQ(root->GetDirtyCount(), 0);
  pin->Clear();
  EXPECT_EQ(Pin(), "");
  EXPECT_EQ(counter->resets, resets);  // Clear does not signal
  EXPECT_EQ(root->GetDirtyCount(), 1);  // but redraws
}

TEST_F(PinEntryTest, EnteredDigitsShowAsMaskedBoxes) {
  // Box i spans x 100 + 54 i .. + 48 on screen; its centre is (124 + 54 i, 130).
  // The focused entry shows the box that takes the next digit unlike the others.
  const uint32_t emptyCentre = Pixel(124 + 2 * 54, 130);
  const uint32_t nextCentre = Pixel(124, 130);
  EXPECT_NE(nextCentre, emptyCentre);
  EXPECT_EQ(Pixel(124 + 54, 130), emptyCentre);
  Press(15);
  const uint32_t maskedCentre = Pixel(124, 130);
  EXPECT_NE(maskedCentre, emptyCentre);
  EXPECT_NE(maskedCentre, nextCentre);
  EXPECT_EQ(Pixel(124 + 54, 130), nextCentre);
  EXPECT_EQ(Pixel(124 + 2 * 54, 130), emptyCentre);
  Press(16);
  EXPECT_EQ(Pixel(124 + 54, 130), maskedCentre);
  EXPECT_EQ(Pixel(124 + 2 * 54, 130), nextCentre);
  EXPECT_EQ(Pixel(151, 130), 0u);  // the gap between the boxes stays clear
  pin->Clear();
  driver.Pass();
  EXPECT_EQ(Pixel(124, 130), nextCentre);
  EXPECT_EQ(Pixel(124 + 54, 130), emptyCentre);
}

}  // namespace
}  // namespace pinentrytest
