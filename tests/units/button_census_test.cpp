// A date-and-PIN dialog (number and text spinners, a text field, a check box,
// a slider and a PIN entry) opened and closed 50 times through the loop,
// with typing that leaves the spinner's verify timer running at the close,
// returns the heap to its baseline.
#include <gtest/gtest.h>

#include "core_test_support.h"
#include "runtime/collector.h"
#include "units/Button/CheckBox.h"
#include "units/Button/NumberSpinner.h"
#include "units/Button/TextEdit.h"
#include "units/Button/TextSpinner.h"
#include "units/Core/Group.h"
#include "units/PinEntry/PinEntry.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Progress/Progress.h"

namespace buttontest {
namespace {

class DateDialog : public Primitives::KeyRoutingForm {
  KV_CLASS(buttontest, DateDialog, Primitives::KeyRoutingForm)
 public:
  void Build(Core::Group* parent) {
    Parent = parent;
    IsModal = 1;
    OnSetBounds({200, 100, 760, 440});
    month = kv::New<::Button::TextSpinner>();
    month->OnSetBounds({20, 20, 140, 50});
    for (const char* m : {"Jan", "Feb", "Mar"}) month->AddText(kv::String::FromUtf8(m));
    Add(month);
    day = kv::New<::Button::NumberSpinner>();
    day->OnSetBounds({150, 20, 220, 50});
    day->OnSetMaximum(31);
    day->OnSetMinimum(1);
    day->OnValueChange = kv::MakeSlot(this, &DateDialog::ResetTimeout);
    Add(day);
    auto* name = kv::New<::Button::TextEdit>();
    name->OnSetBounds({20, 60, 220, 90});
    name->OnSetMaxLength(8);
    Add(name);
    auto* check = kv::New<::Button::CheckBox>();
    check->OnSetBounds({20, 100, 300, 127});
    Add(check);
    auto* slider = kv::New<Progress::Progress>();
    slider->OnSetBounds({20, 140, 220, 160});
    Add(slider);
    pin = kv::New<PinEntry::PinEntry>();
    pin->OnSetBounds({20, 180, 230, 240});
    pin->OnResetTimeout = kv::MakeSlot(this, &DateDialog::ResetTimeout);
    Add(pin);
  }

  kv::Object* HandleEvent(Core::Event* event) override {
    auto* key = kv::Cast<Core::KeyEvent>(event);
    if (key && key->Down && key->Code == 2) {
      Close();
      return this;
    }
    if (key && key->Down && key->Code == 40) {
      SelectNext();
      return this;
    }
    return KeyRoutingForm::HandleEvent(event);
  }

  kv::Member<::Button::TextSpinner> month;
  kv::Member<::Button::NumberSpinner> day;
  kv::Member<PinEntry::PinEntry> pin;
};
KV_REGISTER_CLASS(buttontest::DateDialog);

class ButtonCensusTest : public coretest::ViewTest {
 protected:
  // One opening: step the month, type into the day, move on to the PIN,
  // type it, close; returns the dialog's day.
  int32_t Round() {
    auto* dialog = kv::New<DateDialog>();
    dialog->Build(root);
    dialog->Open();
    root->OnSetFocus(dialog);
    dialog->OnSetFocus(dialog->month);
    driver.Pass();
    Press(4);
    Press(40);
    Press(12);  // the day spinner's verify timer starts
    Press(40);
    Press(40);
    Press(40);
    Press(40);
    for (uint16_t k : {11, 12, 13, 14}) Press(k);
    EXPECT_EQ(dialog->pin->CurrentPin().ToUtf8(), "1234");
    EXPECT_EQ(dialog->month->OnGetCurrent(), 1);
    const int32_t day = dialog->day->OnGetCurrent();
    Press(2);
    EXPECT_EQ(root->GetChildCount(), 0);
    return day;
  }
};

TEST_F(ButtonCensusTest, DialogOpenedAndClosedFiftyTimesLeavesTheHeapAsItWas) {
  kv::Runtime::SetCollectEveryPass(true);
  Round();  // loads the shared fonts and bitmaps into the resource cache
  driver.Pass(::Button::NumberSpinner::kVerifyTime);
  const auto baseline = kv::HeapCensus();
  for (int round = 0; round < 50; ++round) {
    ASSERT_EQ(Round(), 2);
    // The running verify timer keeps the closed spinner until it expires.
    driver.Pass(::Button::NumberSpinner::kVerifyTime);
    ASSERT_EQ(kv::HeapCensus()["buttontest::DateDialog"], 0u);
  }
  driver.Pass();
  EXPECT_EQ(kv::HeapCensus(), baseline);
  EXPECT_EQ(root->GetModalGroup(), nullptr);
}

}  // namespace
}  // namespace buttontest
