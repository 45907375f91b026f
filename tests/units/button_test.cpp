// Buttons: the control states and their looks (focus, the posted refresh of
// IsDisabled, the default state of icon buttons, bitmap fall-back), the
// shared focus frame (jumping and sliding), the navigator's arrows, and the
// check box (flip and signal on OK, silent setter, disabled box).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core_test_support.h"
#include "runtime/trace.h"
#include "units/Button/Button.h"
#include "units/Button/CheckBox.h"
#include "units/Cursor/FocusFrame.h"
#include "units/Cursor/Navigator.h"

namespace buttontest {
namespace {

class Hits : public kv::Object {
  KV_CLASS(buttontest, Hits, kv::Object)
 public:
  void Hit(kv::Object*) { ++hits; }
  int hits = 0;
};

// Opaque premultiplied pixels.
constexpr uint32_t kRed = 0xff0000ffu;
constexpr uint32_t kGreen = 0xff00ff00u;
constexpr uint32_t kBlue = 0xffff0000u;

Resources::Bitmap* Solid(int32_t w, int32_t h, uint32_t pixel) {
  auto* b = kv::New<Resources::Bitmap>();
  b->OnSetSize({w, h});
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b->GetSurface().Row(y)[x] = pixel;
  return b;
}

class ButtonTest : public coretest::ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    form = NewForm(root, "form", {100, 100, 700, 400});
    form->navigate = true;  // OK moves the focus on
    root->OnSetFocus(form);
  }
  template <class T>
  T* AddButton(kv::Rect bounds) {
    auto* b = kv::New<T>();
    b->OnSetBounds(bounds);
    b->OnSetDefault_BackgroundColor({255, 255, 0, 255});
    b->OnSetDisabled_BackgroundColor({128, 128, 128, 255});
    b->OnSetNonfocused_BackgroundColor({0, 0, 255, 255});
    b->OnSetFocused_BackgroundColor({0, 255, 0, 255});
    form->Add(b);
    return b;
  }
  // The colour at a point of the form.
  uint32_t At(int32_t x, int32_t y) const { return Pixel(100 + x, 100 + y); }

  coretest::KeyForm* form = nullptr;
};

TEST_F(ButtonTest, ControlStateFollowsFocusAndThePostedDisabledFlag) {
  auto* a = AddButton<Button::Button>({0, 0, 100, 30});
  auto* b = AddButton<Button::Button>({0, 40, 100, 70});
  form->OnSetFocus(a);
  driver.Pass();
  EXPECT_EQ(a->OnGetCtrlState(), Button::kStateFocused);
  EXPECT_EQ(b->OnGetCtrlState(), Button::kStateNonfocused);
  EXPECT_EQ(At(50, 15), kGreen);
  EXPECT_EQ(At(50, 55), kBlue);

  b->OnSetIsDisabled(true);
  EXPECT_EQ(b->OnGetCtrlState(), Button::kStateNonfocused);  // posted, not yet applied
  driver.Pass();
  EXPECT_EQ(b->OnGetCtrlState(), Button::kStateDisabled);
  EXPECT_EQ(At(50, 55), 0xff808080u);

  // A disabled button keeps its keys and its focus and shows it focused.
  EXPECT_EQ(Press(1), form);
  EXPECT_EQ(form->OnGetFocus(), b);
  EXPECT_EQ(b->OnGetCtrlState(), Button::kStateFocused);
  EXPECT_EQ(a->OnGetCtrlState(), Button::kStateNonfocused);
  EXPECT_EQ(At(50, 15), kBlue);

  // A default icon button rests in the default state.
  auto* item = AddButton<Button::IconButton>({0, 80, 100, 110});
  item->OnSetIsDefault(true);
  driver.Pass();
  EXPECT_EQ(item->OnGetCtrlState(), Button::kStateDefault);
  EXPECT_EQ(At(50, 95), 0xff00ffffu);
  form->OnSetFocus(item);
  EXPECT_EQ(item->OnGetCtrlState(), Button::kStateFocused);

  std::vector<std::string> logged;
  kv::SetTraceSink([&logged](std::string_view line) { logged.emplace_back(line); });
  item->RefreshCtrlState(4);
  item->OnSetTextAlpha(300);
  kv::SetTraceSink(nullptr);
  EXPECT_EQ(item->OnGetCtrlState(), Button::kStateFocused);
  EXPECT_EQ(item->OnGetTextAlpha(), 255);
  EXPECT_EQ(logged.size(), 2u);
}

// The numbers the rows colour and frame by: 0 disabled, 1 default,
// 2 not focused, 3 focused; each number applies the look of its name.
TEST_F(ButtonTest, ControlStatesAreNumberedDisabledDefaultNonfocusedFocused) {
  auto* a = AddButton<Button::Button>({0, 0, 100, 30});
  auto* b = AddButton<Button::Button>({0, 40, 100, 70});
  auto* item = AddButton<Button::IconButton>({0, 80, 100, 110});
  item->OnSetIsDefault(true);
  b->OnSetIsDisabled(true);
  form->OnSetFocus(a);
  driver.Pass();
  EXPECT_EQ(b->OnGetCtrlState(), 0);
  EXPECT_EQ(item->OnGetCtrlState(), 1);
  EXPECT_EQ(a->OnGetCtrlState(), 3);
  form->OnSetFocus(item);
  driver.Pass();
  EXPECT_EQ(a->OnGetCtrlState(), 2);

  a->RefreshCtrlState(0);
  driver.Pass();
  EXPECT_EQ(At(50, 15), 0xff808080u);  // Disabled_BackgroundColor
  a->RefreshCtrlState(1);
  driver.Pass();
  EXPECT_EQ(At(50, 15), 0xff00ffffu);  // Default_BackgroundColor
}

TEST_F(ButtonTest, StatesWithoutABitmapUseTheNonfocusedOne) {
  auto* a = AddButton<Button::Button>({0, 0, 100, 30});
  auto* b = AddButton<Button::Button>({0, 40, 100, 70});
  for (auto* btn : {a, b}) {
    btn->OnSetNonfocused_BackgroundBitmap(Solid(10, 10, kRed));
    btn->OnSetFocused_BackgroundBitmap(Solid(10, 10, kGreen));
  }
  form->OnSetFocus(a);
  b->OnSetIsDisabled(true);
  driver.Pass();
  EXPECT_EQ(At(50, 15), kGreen);
  EXPECT_EQ(At(50, 55), kRed);  // disabled, no bitmap of its own
  EXPECT_EQ(At(99, 69), kRed);  // stretched over the whole button
}

TEST_F(ButtonTest, SharedFocusFrameFollowsTheFocus) {
  auto* frame = kv::New<Cursor::FocusFrame>();
  frame->OnSetVisible(false);
  frame->OnSetMargin(2);
  form->Add(frame);
  auto* a = AddButton<Button::Button>({10, 10, 110, 40});
  auto* b = AddButton<Button::Button>({10, 110, 110, 140});
  a->OnSetFocusFrame(frame);
  b->OnSetFocusFrame(frame);

  form->OnSetFocus(a);
  EXPECT_TRUE(frame->IsVisible());
  EXPECT_EQ(frame->Bounds(), (kv::Rect{8, 8, 112, 42}));

  frame->OnSetAnimated(true);
  EXPECT_EQ(Press(1), form);  // focus to b: the frame slides there
  EXPECT_EQ(form->OnGetFocus(), b);
  EXPECT_TRUE(frame->IsMoving());
  driver.Pass(Cursor::FocusFrame::kAnimationPeriod);
  const kv::Rect mid = frame->Bounds();
  EXPECT_GT(mid.y1, 8);
  EXPECT_LT(mid.y1, 108);
  EXPECT_TRUE(root->IsAnimationRunning());
  driver.RunFor(Cursor::FocusFrame::kAnimationFrames * Cursor::FocusFrame::kAnimationPeriod, 20);
  EXPECT_FALSE(frame->IsMoving());
  EXPECT_EQ(frame->Bounds(), (kv::Rect{8, 108, 112, 142}));

  frame->MoveTo(nullptr);
  EXPECT_FALSE(frame->IsVisible());
}

TEST_F(ButtonTest, NavigatorPutsItsArrowsAroundTheTarget) {
  auto* nav = kv::New<Cursor::Navigator>();
  form->Add(nav);
  auto* a = AddButton<Button::Button>({100, 100, 170, 130});
  nav->OnSetArrowBitmap(Cursor::Navigator::kUp, Solid(10, 6, kRed));
  nav->OnSetArrowBitmap(Cursor::Navigator::kDown, Solid(10, 6, kGreen));
  nav->OnSetSpacing(2);
  nav->MoveTo(a);
  EXPECT_EQ(nav->Bounds(), (kv::Rect{100, 92, 170, 138}));
  EXPECT_EQ(nav->GetArrowRect(Cursor::Navigator::kUp), (kv::Rect{30, 0, 40, 6}));
  EXPECT_TRUE(nav->GetArrowRect(Cursor::Navigator::kLeft).IsEmpty());
  driver.Pass();
  EXPECT_EQ(At(135, 95), kRed);
  EXPECT_EQ(At(135, 134), kGreen);
  nav->MoveTo(nullptr);
  driver.Pass();
  EXPECT_EQ(At(135, 95), 0u);
}

class CheckBoxTest : public ButtonTest {
 protected:
  void SetUp() override {
    ButtonTest::SetUp();
    box = kv::New<Button::CheckBox>();
    box->OnSetBounds({0, 0, 280, 27});
    box->OnSetCheckedBitmap(Solid(20, 20, kGreen));
    box->OnSetUncheckedBitmap(Solid(20, 20, kRed));
    form->Add(box);
    form->OnSetFocus(box);
    hits = kv::New<Hits>();
    box->OnActivate = kv::MakeSlot(hits.get(), &Hits::Hit);
    driver.Pass();
  }
  Button::CheckBox* box = nullptr;
  kv::Persistent<Hits> hits;
};

TEST_F(CheckBoxTest, OkFlipsAndSignalsTheSetterDoesNot) {
  EXPECT_FALSE(box->OnGetIsChecked());
  EXPECT_EQ(At(10, 13), kRed);  // the image at the left edge, centred
  EXPECT_EQ(Press(1), box);
  EXPECT_TRUE(box->OnGetIsChecked());
  EXPECT_EQ(hits->hits, 1);
  EXPECT_EQ(At(10, 13), kGreen);
  EXPECT_EQ(Press(1), box);
  EXPECT_FALSE(box->OnGetIsChecked());
  EXPECT_EQ(hits->hits, 2);

  box->OnSetIsChecked(true);
  driver.Pass();
  EXPECT_EQ(At(10, 13), kGreen);
  EXPECT_EQ(hits->hits, 2);

  // A release does nothing; another activate key is followed.
  auto* up = kv::New<Core::KeyEvent>();
  up->Initialize(1, 0);
  root->DispatchEvent(up);
  EXPECT_TRUE(box->OnGetIsChecked());
  box->ActivateKey = 21;
  EXPECT_EQ(Press(1), form);
  EXPECT_EQ(Press(21), box);
  EXPECT_FALSE(box->OnGetIsChecked());
}

TEST_F(CheckBoxTest, DisabledBoxTakesOkAndStaysAsItIs) {
  box->OnSetIsDisabled(true);
  driver.Pass();
  EXPECT_EQ(Press(1), box);
  EXPECT_FALSE(box->OnGetIsChecked());
  EXPECT_EQ(hits->hits, 0);
  box->OnSetIsDisabled(false);
  EXPECT_EQ(Press(1), box);
  EXPECT_TRUE(box->OnGetIsChecked());
}

}  // namespace
}  // namespace buttontest
