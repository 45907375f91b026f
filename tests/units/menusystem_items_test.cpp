// The rows of the setting pages driven by remote keys through the
// application: in-place choices write through and mark each step, the timer
// row's steps and entry, the adjust rows' clamping and arrows, the in-place
// slider, rows whose option has no record, and a live page row's grey rule.
#include <gtest/gtest.h>

#include <string>

#include "ge/surface.h"
#include "support/app_fixture.h"
#include "units/MainApp/Root.h"
#include "units/MainApp/Standby.h"
#include "units/MenuSystem/LiveMenu.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/Primitives/KeyRoutingForm.h"

namespace menuitemstest {
namespace {

class Counter : public kv::Object {
  KV_CLASS(menuitemstest, Counter, kv::Object)
 public:
  void Count(kv::Object*) { ++n; }
  int n = 0;
};

class MenuItemsTest : public apptest::AppTest {
 protected:
  // A screen holding `item`, focused, the item bound to `option`.
  template <class T>
  T* Open(int32_t option) {
    auto* form = kv::New<Primitives::KeyRoutingForm>();
    form->OnSetBounds({160, 40, 660, 100});
    form->WinID = 0x01000999;
    form->Layer = 32;
    form->Parent = App().GetStandby();
    auto* item = kv::New<T>();
    item->OnSetBounds({5, 5, 495, 30});
    item->OptionType = option;
    if constexpr (requires { item->OnResetTimeout; }) item->OnResetTimeout = kv::MakeSlot(counter.get(), &Counter::Count);
    form->Add(item);
    form->OnSetFocus(item);
    if constexpr (requires { MenuSystem::BindOption(item); }) MenuSystem::BindOption(item);
    form->Open();
    App().GetStandby()->OnSetFocus(form);
    App().OnSetFocus(App().GetStandby());
    screen = form;
    Settle();
    return item;
  }

  void SetUp() override {
    AppTest::SetUp();
    counter = kv::New<Counter>();
  }

  kv::Persistent<Primitives::KeyRoutingForm> screen;
  kv::Persistent<Counter> counter;

  // The middleware setters called since the log was cleared, less those
  // that every key press makes (the on-screen display and caption states).
  size_t Writes() {
    size_t n = 0;
    for (const std::string& line : CallLog()) {
      n += line.rfind("XPM_Set", 0) == 0 && line.rfind("XPM_SetOSDState", 0) != 0 &&
           line.rfind("XPM_SetCaptionRendering", 0) != 0;
    }
    return n;
  }
};

KV_REGISTER_CLASS(menuitemstest::Counter);

TEST_F(MenuItemsTest, ThreeChoiceRowSteppedThreeTimesReturnsWritingAndMarkingEachStep) {
  // Sound > MTS: a three-way choice.
  auto* item = Open<MenuSystem::SubMenuItemValueSelect>(0x2000000);
  ASSERT_GE(item->ChoiceNum, 3);
  const int32_t first = item->Index;
  const std::string caption = item->OnGetValueString().ToUtf8();
  ClearCallLog();
  for (int i = 0; i < item->ChoiceNum; ++i) Press("right");
  EXPECT_EQ(item->Index, first);
  EXPECT_EQ(item->OnGetValueString().ToUtf8(), caption);
  EXPECT_EQ(Calls("XPM_SetPreferredAudioDecodeMode").size(), static_cast<size_t>(item->ChoiceNum));
  EXPECT_EQ(counter->n, item->ChoiceNum);
  // Left from the first choice wraps to the last.
  item->Index = 0;
  Press("left");
  EXPECT_EQ(item->Index, item->ChoiceNum - 1);
}

TEST_F(MenuItemsTest, OneChoiceChangesNothingButResetsTheTimeOut) {
  auto* item = Open<MenuSystem::SubMenuItemValueSelect>(0x2000000);
  item->ChoiceNum = 1;
  ClearCallLog();
  const int32_t before = item->Index;
  Press("right");
  EXPECT_EQ(item->Index, before);
  EXPECT_EQ(Writes(), 0u);
  EXPECT_EQ(counter->n, 1);
}

TEST_F(MenuItemsTest, DisabledRowKeepsItsValueAndStillResetsTheTimeOut) {
  auto* item = Open<MenuSystem::SubMenuItemValueSelect>(0x2000000);
  item->OnSetIsDisabled(true);
  const int32_t before = item->Index;
  Press("right");
  EXPECT_EQ(item->Index, before);
  EXPECT_EQ(counter->n, 1);
}

TEST_F(MenuItemsTest, MissingRecordStillStepsOnScreen) {
  auto* item = Open<MenuSystem::SubMenuItemValueSelect>(0x7f00ffff);
  item->ChoiceNum = 3;
  ClearCallLog();
  Press("right");
  EXPECT_EQ(item->Index, 1);
  EXPECT_EQ(Writes(), 0u);
}

TEST_F(MenuItemsTest, TimerRowStepsToMultiplesAndWraps) {
  auto* item = Open<MenuSystem::TimerSetItem>(0x83000003);
  item->ChoiceNum = 121;
  item->Index = 37;
  Press("right");
  EXPECT_EQ(item->Index, 40);
  item->Index = 37;
  Press("left");
  EXPECT_EQ(item->Index, 30);
  Press("left");
  EXPECT_EQ(item->Index, 20);
  item->Index = 0;
  Press("left");
  EXPECT_EQ(item->Index, 120);
  item->Index = 120;
  Press("right");
  EXPECT_EQ(item->Index, 0);
}

TEST_F(MenuItemsTest, TimerRowStepBelowOneCountsAsOneAndEntryIsClamped) {
  auto* item = Open<MenuSystem::TimerSetItem>(0x83000003);
  item->OnSetIndexStep(0);
  EXPECT_EQ(item->IndexStep, 1);
  item->IndexStep = 0;  // set directly, as a page might: still no division by zero
  item->ChoiceNum = 121;
  item->Index = 5;
  Press("right");
  EXPECT_EQ(item->Index, 6);
  // A time past the last choice (9:59 = 599 minutes) takes the last choice.
  Press("ok");
  EXPECT_TRUE(item->IsTimeEdit);
  Press("9");
  Press("5");
  Press("9");
  Press("9");
  if (item->IsTimeEdit) Press("ok");
  Settle();
  EXPECT_FALSE(item->IsTimeEdit);
  EXPECT_LE(item->Index, 120);
}

TEST_F(MenuItemsTest, AdjustClampsAndArrowRowAtMaxStillWrites) {
  auto* item = Open<MenuSystem::AdjustItemArrowSelect>(0x81000013);
  item->OnSetMin(0);
  item->OnSetMax(10);
  item->OnSetStep(1);
  item->OnSetValue(10);
  Press("right");
  EXPECT_EQ(item->Value, 10);
  EXPECT_FALSE(item->RightArrow().IsVisible());
  EXPECT_TRUE(item->LeftArrow().IsVisible());
  // Min above Max: above Max gives Max, anything else Min.
  item->OnSetMin(20);
  item->OnSetValue(50);
  EXPECT_EQ(item->Value, 10);
  item->OnSetValue(5);
  EXPECT_EQ(item->Value, 20);
}

TEST_F(MenuItemsTest, SliderRowInPlaceWritesMarksAndResetsEachStep) {
  // Sound > Bass: changed at once by left and right.
  auto* item = Open<MenuSystem::AdjustItemSliderSelect>(0x2000002);
  ASSERT_TRUE(item->SliderHasFocus());
  const int32_t before = item->Value;
  ClearCallLog();
  Press("right");
  EXPECT_EQ(item->Value, std::min(before + std::max(item->Step, 0), item->Max));
  EXPECT_EQ(item->OnGetValueString().ToUtf8(), std::to_string(item->Value));
  EXPECT_FALSE(CallLog().empty());
  EXPECT_EQ(counter->n, 1);
}

TEST_F(MenuItemsTest, SliderRowWithoutRecordShowsTheNumber) {
  auto* item = Open<MenuSystem::AdjustItemSliderSelect>(0x7f00ffff);
  item->OnSetStep(5);
  item->OnSetValue(50);
  Press("right");
  EXPECT_EQ(item->OnGetValueString().ToUtf8(), "55");
}

TEST_F(MenuItemsTest, DisabledSliderRowShowsGreyAndOpensNothing) {
  auto* item = Open<MenuSystem::AdjustItemSlider>(0x1000003);
  item->OnActivate = kv::MakeSlot(counter.get(), &Counter::Count);
  item->OnSetIsDisabled(true);
  Settle();
  Press("right");
  EXPECT_EQ(counter->n, 0);
  item->OnSetIsDisabled(false);
  Settle();
  Press("right");
  EXPECT_EQ(counter->n, 1);
  EXPECT_TRUE(item->SliderMiddlePoint);
}

// A live page's row draws a rule under itself; a grey row draws it fainter,
// so that a row the viewer cannot use does not look like one that he can.
TEST_F(MenuItemsTest, AGreyLivePageRowDrawsAFainterRule) {
  auto* item = Open<MenuSystem::VidiSubMenuItem>(0);
  item->OnSetText(kv::NewStringAnsi("Renderer"));
  screen->OnSetFocus(nullptr);  // an unfocused row: no bar over the rule
  const auto rule = [&] {
    Settle();
    const kv::Rect r = item->GetAbsoluteBounds();
    const ge::Surface& s = Osd();
    int64_t sum = 0;
    for (int32_t x = r.x1 + 20; x < r.x2 - 20; ++x) {
      const uint32_t p = s.Row(r.y2 - 1)[x];
      sum += (p >> 16 & 0xff) + (p >> 8 & 0xff) + (p & 0xff);
    }
    return sum;
  };
  const int64_t live = rule();
  item->OnSetIsDisabled(true);
  const int64_t grey = rule();
  EXPECT_LT(grey, live) << "the grey row's rule is drawn as a live row's";
  item->OnSetIsDisabled(false);
  EXPECT_EQ(rule(), live);
}

TEST_F(MenuItemsTest, CourierCarriesCaptionHelpAndParameters) {
  auto* item = Open<MenuSystem::SubMenuItem>(0);
  item->OnSetText(kv::String::FromUtf8("Caption"));
  item->Param1 = 7;
  auto* courier = kv::Cast<MenuSystem::MenuItemCourier>(item->GetData(nullptr));
  ASSERT_NE(courier, nullptr);
  EXPECT_EQ(courier->Text.ToUtf8(), "Caption");
  EXPECT_EQ(courier->Param1, 7);
  courier->Param2 = 9;
  courier->Text = kv::String::FromUtf8("Other");
  item->SetData(courier);
  EXPECT_EQ(item->Param2, 9);
  EXPECT_EQ(item->OnGetText().ToUtf8(), "Other");
}

}  // namespace
}  // namespace menuitemstest
