// The option-bound button driven by remote keys through the application:
// it shows the current choice, left and right step (with wrap-around) and
// write through the option's property to the middleware, an unknown option
// leaves it inert, and opening and closing its screen leaves no objects.
#include <gtest/gtest.h>

#include <string>

#include "support/app_fixture.h"
#include "units/MainApp/Root.h"
#include "units/MainApp/Standby.h"
#include "units/OptionDatabase/OptionTypes.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/SkinBin/OptionButton.h"

namespace skinoptionbuttontest {
namespace {

class OptionButtonTest : public apptest::AppTest {
 protected:
  // A screen with one option button bound to `option`, focused.
  SkinBin::OptionButton* OpenButton(int32_t option) {
    auto* form = kv::New<Primitives::KeyRoutingForm>();
    form->OnSetBounds({100, 100, 700, 200});
    form->WinID = 0x02000001;
    form->Layer = 32;
    form->Parent = App().GetStandby();
    auto* button = kv::New<SkinBin::OptionButton>();
    button->OnSetBounds({10, 10, 500, 35});
    form->Add(button);
    form->OnSetFocus(button);
    button->OnSetOptionType(option);
    form->Open();
    App().GetStandby()->OnSetFocus(form);
    App().OnSetFocus(App().GetStandby());
    screen = form;
    Settle();
    return button;
  }
  std::string Caption(SkinBin::OptionButton* b) { return b->OnGetText().ToUtf8(); }

  kv::Persistent<Primitives::KeyRoutingForm> screen;
};

TEST_F(OptionButtonTest, ArrowsStepThroughTheChoicesAndWriteThem) {
  SkinBin::OptionButton* b = OpenButton(OptionDatabase::OPTION_TYPE_DIGITAL_NR);
  const int32_t start = b->OnGetIndex();
  ASSERT_GE(start, 0);
  const std::string first = Caption(b);
  EXPECT_FALSE(first.empty());
  ClearCallLog();

  Press("right");
  EXPECT_EQ(b->OnGetIndex(), (start + 1) % 4);
  EXPECT_EQ(Calls("XPM_SetNoiseReduction").size(), 1u);
  EXPECT_NE(Caption(b), first);

  Press("left");
  EXPECT_EQ(b->OnGetIndex(), start);
  EXPECT_EQ(Caption(b), first);
  EXPECT_EQ(Calls("XPM_SetNoiseReduction").size(), 2u);

  // Off, Low, Medium, High: four steps left come round to the same choice.
  Press("left", 4);
  EXPECT_EQ(b->OnGetIndex(), start);

  // The value reached the set: a fresh button reads it back.
  Press("right");
  const int32_t chosen = b->OnGetIndex();
  screen->Close();
  Settle();
  SkinBin::OptionButton* again = OpenButton(OptionDatabase::OPTION_TYPE_DIGITAL_NR);
  EXPECT_EQ(again->OnGetIndex(), chosen);
}

TEST_F(OptionButtonTest, AnUnknownOptionLeavesTheButtonInert) {
  SkinBin::OptionButton* b = OpenButton(0x7F000001);
  EXPECT_TRUE(Logged("SkinBin::OptionButton: no option"));
  EXPECT_EQ(b->OnGetIndex(), -1);
  EXPECT_TRUE(Caption(b).empty());
  ClearCallLog();
  Press("right");
  EXPECT_EQ(b->OnGetIndex(), -1);
  EXPECT_TRUE(Calls("XPM_SetNoiseReduction").empty());
}

TEST_F(OptionButtonTest, OpeningAndClosingReturnsToTheCensusBaseline) {
  OpenButton(OptionDatabase::OPTION_TYPE_DIGITAL_NR);
  Press("right");
  screen->Close();
  screen = nullptr;
  Settle();
  const auto baseline = Census();
  for (int i = 0; i < 50; ++i) {
    OpenButton(OptionDatabase::OPTION_TYPE_DIGITAL_NR);
    Press("right");
    screen->Close();
    screen = nullptr;
    Settle();
  }
  EXPECT_EQ(Census(), baseline);
}

}  // namespace
}  // namespace skinoptionbuttontest
