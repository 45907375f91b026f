// Effects frame by frame on the fake clock: values written through the
// outlet, the end slot, stopping early, restarting, the ease-out curve of a
// moving view, and the running count the root reports.
#include <gtest/gtest.h>

#include "core_test_support.h"
#include "units/Effects/Int32Effect.h"
#include "units/Effects/RectEffect.h"

namespace coretest {
namespace {

// Holds an effect and the property it animates, and counts its slots.
class Fader : public kv::Object {
  KV_CLASS(coretest, Fader, kv::Object)
 public:
  Fader() {
    fade.OnSetOutlet(kv::MakeRef<int32_t>(this, &Fader::GetLevel, &Fader::SetLevel));
    fade.OnAnimate = kv::MakeSlot(this, &Fader::Frame);
    fade.OnFinished = kv::MakeSlot(this, &Fader::Done);
  }
  int32_t GetLevel() { return level; }
  void SetLevel(int32_t v) {
    level = v;
    written.push_back(v);
  }
  void Frame(kv::Object*) {
    ++frames;
    if (stopAtFrame == fade.OnGetCurrentFrame()) fade.OnSetEnabled(false);
  }
  void Done(kv::Object*) { ++finished; }
  Effects::Int32Effect fade;
  int32_t level = -1;
  std::vector<int32_t> written;
  int frames = 0, finished = 0, stopAtFrame = -1;
};
KV_REGISTER_CLASS(coretest::Fader);

class EffectsTest : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    fader = kv::New<Fader>();
  }
  kv::Persistent<Fader> fader;
};

TEST_F(EffectsTest, A1msEffectAdvancesOneFrameAPassAndEndsOnTheEndValue) {
  Effects::Int32Effect& e = fader->fade;
  EXPECT_EQ(e.OnGetStartValue(), 0);
  EXPECT_EQ(e.OnGetEndValue(), 255);
  e.OnSetNoOfFrames(4);
  e.OnSetPeriod(1);
  EXPECT_FALSE(root->IsAnimationRunning());
  e.OnSetEnabled(true);
  EXPECT_TRUE(root->IsAnimationRunning());
  EXPECT_EQ(fader->level, 0);  // enabling writes the start value at once
  for (int frame = 1; frame <= 4; ++frame) {
    driver.Pass(1);
    EXPECT_EQ(e.OnGetCurrentFrame(), frame);
  }
  EXPECT_EQ(fader->written, (std::vector<int32_t>{0, 64, 128, 191, 255}));
  EXPECT_EQ(fader->frames, 4);
  EXPECT_EQ(fader->finished, 1);
  EXPECT_FALSE(e.IsEnabled());
  EXPECT_FALSE(root->IsAnimationRunning());
  driver.RunFor(20, 1);
  EXPECT_EQ(fader->written.size(), 5u);
  EXPECT_EQ(fader->finished, 1);
}

TEST_F(EffectsTest, StoppingEarlyNeverSignalsTheEndAndEnablingRestartsFromTheStart) {
  Effects::Int32Effect& e = fader->fade;
  e.OnSetNoOfFrames(32);
  e.OnSetPeriod(50);
  e.OnSetStartValue(255);
  e.OnSetEndValue(15);
  e.OnSetEnabled(true);
  driver.RunFor(500, 50);
  EXPECT_EQ(e.OnGetCurrentFrame(), 10);
  e.OnSetEnabled(false);
  EXPECT_EQ(Effects::Effect::RunningCount(), 0);
  driver.RunFor(2000, 50);
  EXPECT_EQ(fader->finished, 0);
  EXPECT_EQ(e.OnGetCurrentFrame(), 10);

  e.OnSetEnabled(true);
  EXPECT_EQ(fader->level, 255);
  EXPECT_EQ(e.OnGetCurrentFrame(), 0);
  driver.RunFor(1550, 50);  // 31 frames
  EXPECT_EQ(fader->finished, 0);
  driver.Pass(50);
  EXPECT_EQ(fader->finished, 1);
  EXPECT_EQ(fader->level, 15);

  // A per-frame handler that stops the effect: no end signal either.
  fader->finished = 0;
  fader->stopAtFrame = 3;
  e.OnSetNoOfFrames(3);
  e.OnSetEnabled(true);
  driver.RunFor(500, 50);
  EXPECT_EQ(fader->finished, 0);
  EXPECT_FALSE(e.IsEnabled());

  // Nonsense frame counts and factors are refused as 1.
  e.OnSetNoOfFrames(0);
  e.OnSetFactor(-2);
  EXPECT_EQ(e.OnGetNoOfFrames(), 1);
  EXPECT_EQ(e.OnGetFactor(), 1);
}

TEST_F(EffectsTest, AMenuMoveEasesOutOverSixFrames) {
  auto* item = kv::New<FillView>();
  item->OnSetBounds({0, 0, 100, 40});
  root->Add(item);
  auto* move = kv::New<Effects::RectEffect>();
  kv::Persistent<Effects::RectEffect> keep = move;
  move->OnSetNoOfFrames(6);
  move->OnSetFactor(2);
  move->OnSetBegin(0);
  move->OnSetPeriod(50);
  move->OnSetStartRect({0, 0, 100, 40});
  move->OnSetEndRect({600, 0, 700, 40});
  move->OnSetOutlet(kv::MakeRef<kv::Rect>(item, &Core::View::OnGetBounds, &Core::View::OnSetBounds));
  move->OnSetEnabled(true);
  // progress = 1 - (1 - k/6)^2: 11/36, 20/36, 27/36, 32/36, 35/36, 1
  // Begin 0: the first frame comes with the next pass, then one every 50 ms.
  std::vector<int32_t> xs;
  for (int k = 0; k < 6; ++k) {
    driver.Pass(k == 0 ? 0 : 50);
    xs.push_back(item->Bounds().x1);
  }
  EXPECT_EQ(xs, (std::vector<int32_t>{183, 333, 450, 533, 583, 600}));
  EXPECT_EQ(item->Bounds(), (kv::Rect{600, 0, 700, 40}));
  EXPECT_FALSE(move->IsEnabled());
  // The screen followed: the start is cleared, the end drawn.
  EXPECT_EQ(Pixel(10, 10), 0u);
  EXPECT_EQ(Pixel(650, 10), item->color);
}

}  // namespace
}  // namespace coretest
