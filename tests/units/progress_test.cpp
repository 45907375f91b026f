// Sliders: the value's clamping, the increase and decrease keys (also at the
// ends of the range, also on release), read-only and disabled sliders, the
// vertical variant, and where the indicator is drawn in position and stretch
// mode.
#include <gtest/gtest.h>

#include "core_test_support.h"
#include "units/Progress/Progress.h"
#include "units/Resources/Bitmap.h"

namespace progresstest {
namespace {

class Counter : public kv::Object {
  KV_CLASS(progresstest, Counter, kv::Object)
 public:
  void Hit(kv::Object* sender) {
    ++hits;
    last = sender;
  }
  int hits = 0;
  kv::Object* last = nullptr;
};

constexpr uint32_t kGroove = 0xff202020u;     // premultiplied, opaque
constexpr uint32_t kIndicator = 0xff00ff00u;  // opaque green

Resources::Bitmap* SolidBitmap(int32_t w, int32_t h, uint32_t pixel) {
  auto* b = kv::New<Resources::Bitmap>();
  b->OnSetSize({w, h});
  const ge::Surface s = b->GetSurface();
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) s.Row(y)[x] = pixel;
  return b;
}

class ProgressTest : public coretest::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    form = NewForm(root, "form", {100, 100, 700, 400});
    root->OnSetFocus(form);
    slider = kv::New<Progress::Progress>();
    slider->OnSetBounds({0, 0, 200, 20});
    form->Add(slider);
    form->OnSetFocus(slider);
    counter = kv::New<Counter>();
    slider->OnValueChanged = kv::MakeSlot(counter.get(), &Counter::Hit);
    driver.Pass();
  }

  coretest::KeyForm* form = nullptr;
  Progress::Progress* slider = nullptr;
  kv::Persistent<Counter> counter;
};

TEST_F(ProgressTest, ValueIsRaisedToMinThenLoweredToMaxWithoutSignal) {
  EXPECT_EQ(slider->OnGetValue(), 0);
  slider->OnSetValue(150);
  EXPECT_EQ(slider->OnGetValue(), 100);
  slider->OnSetValue(-5);
  EXPECT_EQ(slider->OnGetValue(), 0);
  slider->OnSetMin(10);
  EXPECT_EQ(slider->OnGetValue(), 10);  // the range setters keep the value inside
  slider->OnSetMax(5);                  // Max below Min: Max wins
  slider->OnSetValue(7);
  EXPECT_EQ(slider->OnGetValue(), 5);
  slider->OnSetMax(50);
  slider->OnSetValue(42);
  EXPECT_EQ(slider->OnGetValue(), 42);
  driver.Pass();
  EXPECT_EQ(counter->hits, 0);
}

TEST_F(ProgressTest, KeysStepTheValueAndSignalEvenAtTheEnds) {
  slider->OnSetStep(30);
  slider->OnSetValue(50);
  EXPECT_EQ(Press(7), slider);
  EXPECT_EQ(slider->OnGetValue(), 80);
  EXPECT_EQ(Press(7), slider);
  EXPECT_EQ(slider->OnGetValue(), 100);
  EXPECT_EQ(Press(7), slider);  // already at Max: still handled and signalled
  EXPECT_EQ(slider->OnGetValue(), 100);
  EXPECT_EQ(counter->hits, 3);
  EXPECT_EQ(counter->last, slider);

  // The down flag is not looked at: a release steps as well.
  auto* release = kv::New<Core::KeyEvent>();
  release->Initialize(6, 0);
  EXPECT_EQ(root->DispatchEvent(release), slider);
  EXPECT_EQ(slider->OnGetValue(), 70);
  EXPECT_EQ(counter->hits, 4);

  // Other keys go on (here to the form, which does not take them).
  slider->OnSetIncreaseKey(46);
  EXPECT_EQ(Press(7), nullptr);
  EXPECT_EQ(Press(4), nullptr);
  EXPECT_EQ(counter->hits, 4);
}

TEST_F(ProgressTest, ReadOnlyAndDisabledSlidersIgnoreTheirKeys) {
  slider->OnSetValue(50);
  slider->OnSetReadOnly(true);
  EXPECT_EQ(Press(7), nullptr);
  EXPECT_EQ(Press(6), nullptr);
  EXPECT_EQ(slider->OnGetValue(), 50);
  slider->OnSetValue(60);  // the program may still set it

  slider->OnSetReadOnly(false);
  slider->OnSetEnabled(false);
  EXPECT_EQ(form->OnGetFocus(), nullptr);  // a disabled control loses the focus
  auto* key = kv::New<Core::KeyEvent>();
  key->Initialize(7, 1);
  EXPECT_EQ(slider->HandleEvent(key), nullptr);  // even offered directly
  EXPECT_EQ(slider->OnGetValue(), 60);
  EXPECT_EQ(counter->hits, 0);
}

TEST_F(ProgressTest, VerticalSliderStepsWithUpAndDownAndRunsUpwards) {
  slider->OnSetBounds({0, 0, 14, 144});
  slider->OnSetVertical(true);
  slider->OnSetIndicatorImageBitmap(SolidBitmap(10, 10, kIndicator));
  slider->OnSetIndicatorTopLeft({2, 4});
  slider->OnSetIndicatorBottomRight({2, 4});
  slider->OnSetValue(50);
  EXPECT_EQ(Press(4), slider);
  EXPECT_EQ(slider->OnGetValue(), 51);
  EXPECT_EQ(Press(5), slider);
  EXPECT_EQ(Press(5), slider);
  EXPECT_EQ(slider->OnGetValue(), 49);
  EXPECT_EQ(Press(7), nullptr);

  slider->OnSetValue(100);
  EXPECT_EQ(slider->GetIndicatorRect(), (kv::Rect{2, 4, 12, 14}));  // Max at the top
  slider->OnSetValue(0);
  EXPECT_EQ(slider->GetIndicatorRect(), (kv::Rect{2, 130, 12, 140}));
  slider->OnSetStretchIndicator(Progress::kIndicatorStretch);
  slider->OnSetValue(25);  // a quarter of the 136-pixel area, from the bottom
  EXPECT_EQ(slider->GetIndicatorRect(), (kv::Rect{2, 106, 12, 140}));
}

TEST_F(ProgressTest, IndicatorIsDrawnWhereTheValueIs) {
  slider->OnSetBgImageBitmap(SolidBitmap(4, 4, kGroove));
  slider->OnSetIndicatorImageBitmap(SolidBitmap(4, 4, kIndicator));
  slider->OnSetStretchIndicator(Progress::kIndicatorStretch);
  slider->OnSetIndicatorTopLeft({0, 5});
  slider->OnSetIndicatorBottomRight({0, 5});
  slider->OnSetValue(50);
  driver.Pass();
  // The slider sits at (100, 100); the stretched indicator covers x 100..199.
  EXPECT_EQ(Pixel(150, 110), kIndicator);
  EXPECT_EQ(Pixel(199, 110), kIndicator);
  EXPECT_EQ(Pixel(200, 110), kGroove);
  EXPECT_EQ(Pixel(150, 102), kGroove);  // above the inset area

  // Position mode: the 4-pixel indicator keeps its size and moves.
  slider->OnSetStretchIndicator(Progress::kIndicatorPosition);
  slider->OnSetValue(100);
  driver.Pass();
  EXPECT_EQ(Pixel(150, 110), kGroove);
  EXPECT_EQ(Pixel(297, 105), kIndicator);
  EXPECT_EQ(Pixel(295, 105), kGroove);

  // A key redraws through the posted refresh as well.
  EXPECT_EQ(Press(6), slider);
  EXPECT_EQ(Pixel(296, 105), kIndicator);  // 99: left edge round(196 * 0.99) = 194, so 294..297
  EXPECT_EQ(Pixel(298, 105), kGroove);
}

}  // namespace
}  // namespace progresstest
