// The base-colour bar, the colour pad, the backlight curve dialog and the
// picture-size list, opened the way their pages open them and driven by keys.
#include <cstdlib>
#include <string>

#include "nonmenusystem_support.h"
#include "platform/sim/sim_net_state.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm_enhance.h"
#include "runtime/runtime.h"
#include "strings/NonMenuSystem.h"
#include "units/Constants/Constants.h"
#include "units/NonMenuSystem/BacklightAdjustmentProDialog.h"
#include "units/NonMenuSystem/BaseColorAdjustmentBar.h"
#include "units/NonMenuSystem/OptionBinding.h"
#include "units/NonMenuSystem/PictureSizeDialog.h"
#include "units/OptionDatabase/OptionData.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Primitives/KeyRoutingParameter.h"
#include "units/SkinBin/OptionDatabaseTypes.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Setup3D.h"
#include "units/SkinBin/Wrapper.h"
#include "units/SubSystem/State.h"

namespace livetvtest {

class ColourTest : public LiveTVTest {
 protected:
  SkinBin::Wrapper* Skin() { return kv::Cast<SkinBin::Wrapper>(W()); }
  template <class T>
  T* Open() {
    for (auto* f : OpenForms())
      if (f->KvClass() == &T::StaticClass()) return static_cast<T*>(f);
    return nullptr;
  }
  NonMenuSystem::BaseColorAdjustmentBar* OpenColour(int32_t hue) {
    kv::Persistent<SkinBin::UserRefInt> ref = kv::New<SkinBin::UserRefInt>();
    ref->Value = hue;
    ref->Code = Constants::MSG_FROM_NONMENUSYSTEM;
    return OpenScreen<NonMenuSystem::BaseColorAdjustmentBar>(ref.get());
  }
  int32_t Property(int32_t id) {
    OptionDatabase::OptionDataClass* r = NonMenuSystem::OptionBinding::Find(id);
    r->Initialize();
    return r->RefValue.Get();
  }
};

TEST_F(ColourTest, BaseColourBarEditsEachColourInThreeColumns) {
  Settle();
  const uint32_t swatches[6] = {0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u, 0xFF00FFFFu, 0xFFFF00FFu, 0xFFFFFF00u};
  for (int32_t colour = 0; colour < 6; ++colour) {
    SCOPED_TRACE(colour);
    const int32_t hue = SkinBin::OPTION_TYPE_BASECOLOR_ADJUST_RED_HUE + 3 * colour;
    auto* bar = OpenColour(hue);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Swatch().OnGetColor(), kv::Color::FromWord(swatches[colour]));
    EXPECT_EQ(Focused(), &bar->Item(0));
    EXPECT_TRUE(bar->Item(0).ArrowsShown());
    EXPECT_FALSE(bar->Item(1).ArrowsShown());
    // Up on each column writes at once and marks the option changed.
    for (int32_t c = 0; c < 3; ++c) {
      ClearCallLog();
      const int32_t before = bar->Item(c).Value;
      Press(bar->Item(c).Value < bar->Item(c).Max ? "up" : "down");
      EXPECT_NE(bar->Item(c).Value, before);
      EXPECT_EQ(Property(hue + c), bar->Item(c).Value);
      EXPECT_FALSE(Calls("XPM_SetCM3DTintForge").empty());
      Press("right");
    }
    // Right from brightness came back to hue; Left from hue goes to brightness.
    EXPECT_EQ(Focused(), &bar->Item(0));
    Press("left");
    EXPECT_EQ(Focused(), &bar->Item(2));
    Press("exit");
    Settle();
  }
  // Limits: no wrap, the same value written again; 0 alone, "+5" with the sign.
  auto* bar = OpenColour(SkinBin::OPTION_TYPE_BASECOLOR_ADJUST_RED_HUE);
  NonMenuSystem::BaseColorAdjustItem& sat = bar->Item(1);
  Press("right");
  sat.OnSetValue(0);
  EXPECT_EQ(sat.Text(), kv::NewStringAnsi("0"));
  sat.OnSetValue(5);
  EXPECT_EQ(sat.Text(), kv::NewStringAnsi("+5"));
  sat.OnSetValue(sat.Max);
  ClearCallLog();
  Press("up");
  EXPECT_EQ(sat.Value, sat.Max);
  EXPECT_EQ(Property(SkinBin::OPTION_TYPE_BASECOLOR_ADJUST_RED_SATURATION), sat.Max);
  // An id outside the hue ids keeps the swatch, the columns still bind.
  bar->OnSetOptionType(0x12345);
  EXPECT_EQ(bar->Swatch().OnGetColor(), kv::Color::FromWord(swatches[0]));
  EXPECT_EQ(bar->Item(2).OptionType, 0x12347);
  // 6000 ms without a key closes it.
  Run(6100);
  EXPECT_EQ(Open<NonMenuSystem::BaseColorAdjustmentBar>(), nullptr);
}

TEST_F(ColourTest, ColourPadWalksAsARingAndStoresTheElevenCharacterText) {
  Settle();
  PersistentData::PersistentData* store = Skin()->PersistentData.get();
  ASSERT_NE(store, nullptr);
  store->PutString(NonMenuSystem::KEY_SCREEN_SAVER_COLOR, kv::NewStringAnsi("12249255021"));
  auto* pad = OpenScreen<NonMenuSystem::ColorPad>();
  ASSERT_NE(pad, nullptr);
  EXPECT_EQ(pad->CurrentButton, (kv::Point{1, 2}));
  EXPECT_EQ(Focused(), &pad->Button(1, 2));
  EXPECT_EQ(pad->Button(1, 2).OnGetColor(), 0xFF15FFF9u);
  pad->OnSetCurrentButton({0, 0});
  Press("left");
  EXPECT_EQ(pad->CurrentButton, (kv::Point{4, 6}));
  Press("down");
  EXPECT_EQ(pad->CurrentButton, (kv::Point{4, 6}));
  Press("right");
  EXPECT_EQ(pad->CurrentButton, (kv::Point{0, 0}));
  Press("up");
  EXPECT_EQ(pad->CurrentButton, (kv::Point{0, 0}));
  pad->OnSetCurrentButton({4, 4});
  Press("ok");
  Settle();
  EXPECT_EQ(store->GetString(NonMenuSystem::KEY_SCREEN_SAVER_COLOR), kv::NewStringAnsi("44000051043"));
  EXPECT_EQ(Open<NonMenuSystem::ColorPad>(), nullptr);
  // Out-of-range digits focus row 0 or column 0.
  store->PutString(NonMenuSystem::KEY_SCREEN_SAVER_COLOR, kv::NewStringAnsi("93"));
  pad = OpenScreen<NonMenuSystem::ColorPad>();
  ASSERT_NE(pad, nullptr);
  EXPECT_EQ(pad->CurrentButton, (kv::Point{0, 3}));
}

TEST_F(ColourTest, BacklightDialogLevelsTheCurveAndClampsTheSensor) {
  Settle();
  auto* w = Skin();
  for (int32_t i = 0; i < 11; ++i) w->SetBacklightAdjustment(i, 60);
  sim::SetLightSensor(Tv(), 512);
  auto* d = OpenScreen<NonMenuSystem::BacklightAdjustmentProDialog>();
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(d->InAdjusting);
  EXPECT_EQ(d->LightLevel(), 50);
  EXPECT_EQ(d->LightMeter().OnGetValue(), 50);
  Press("ok");
  EXPECT_TRUE(d->InAdjusting);
  EXPECT_EQ(Focused(), &d->Slider(5));
  // Raise slider 3 to 80: sliders 3 to 10 follow and are written.
  Press("left", 2);
  EXPECT_EQ(Focused(), &d->Slider(3));
  for (int i = 0; i < 20; ++i) Press("up");
  for (int32_t i = 3; i < 11; ++i) EXPECT_EQ(w->GetBacklightAdjustment(i), 80) << i;
  EXPECT_EQ(w->GetBacklightAdjustment(2), 60);
  EXPECT_EQ(d->ValueText().OnGetString(), kv::NewStringAnsi("80"));
  // The curve lies inside its view.
  for (const kv::Point& p : d->Curve().GetVertices()) {
    EXPECT_LT(p.x, d->Curve().Bounds().W());
    EXPECT_LT(p.y, d->Curve().Bounds().H());
  }
  // Cancel brings back the levels of the moment adjusting began.
  Press("right", 8);
  EXPECT_EQ(Focused(), &d->CancelButton());
  Press("right");
  EXPECT_EQ(Focused(), &d->Slider(0));
  Press("left");
  EXPECT_EQ(Focused(), &d->CancelButton());
  Press("ok");
  for (int32_t i = 0; i < 11; ++i) EXPECT_EQ(w->GetBacklightAdjustment(i), 60) << i;
  Press("down");
  EXPECT_EQ(Focused(), &d->ResetButton());
  Press("exit");
  Settle();
  // A reading above 1023 is clamped: the last slider has the focus.
  sim::SetLightSensor(Tv(), 5000);
  d = OpenScreen<NonMenuSystem::BacklightAdjustmentProDialog>();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->LightLevel(), 100);
  Press("ok");
  EXPECT_EQ(Focused(), &d->Slider(10));
}

// A new set's curve rises evenly from 30 in the dark to 100 in the brightest
// room, in the set and on the dialog's sliders and curve; Reset after an
// edit brings the same curve back.
TEST_F(ColourTest, ANewSetsBacklightCurveRisesFromThirtyToAHundredAndResetRestoresIt) {
  Settle();
  auto* w = Skin();
  const auto level = [](int32_t i) { return 30 + 7 * i; };
  const auto showsDefaults = [&](NonMenuSystem::BacklightAdjustmentProDialog* d) {
    for (int32_t i = 0; i < 11; ++i) {
      EXPECT_EQ(w->GetBacklightAdjustment(i), level(i)) << i;
      EXPECT_EQ(d->Slider(i).OnGetValue(), level(i)) << i;
      // Point i of the curve stands at the slider's height: 100 at the top.
      const int32_t h = d->Curve().Bounds().H() - 1;
      EXPECT_EQ(d->Curve().GetPoint(i).y, (100 - level(i)) * 13 / 10 * h / 130) << i;
    }
  };
  auto* d = OpenScreen<NonMenuSystem::BacklightAdjustmentProDialog>();
  ASSERT_NE(d, nullptr);
  showsDefaults(d);
  // Adjusting: the focused level reads its value; two steps up are written.
  Press("ok");
  ASSERT_TRUE(d->InAdjusting);
  int32_t focused = -1;
  for (int32_t i = 0; i < 11; ++i)
    if (Focused() == &d->Slider(i)) focused = i;
  ASSERT_GE(focused, 0);
  EXPECT_TRUE(Sees(std::to_string(level(focused)))) << SeenList();
  Press("up", 2);
  EXPECT_EQ(w->GetBacklightAdjustment(focused), level(focused) + 2);
  EXPECT_TRUE(Sees(std::to_string(level(focused) + 2))) << SeenList();
  // Reset, reached by keys: the set's defaults again, on screen too.
  for (int i = 0; i < 11 && Focused() != &d->CancelButton(); ++i) Press("right");
  ASSERT_EQ(Focused(), &d->CancelButton());
  Press("down");
  ASSERT_EQ(Focused(), &d->ResetButton());
  Press("ok");
  Settle();
  showsDefaults(d);
}

TEST_F(ColourTest, PictureSizeListOffersTheSourcesSizesAndAppliesEach) {
  Settle();
  ASSERT_TRUE(SwitchToSourceType(Constants::XPM_SOURCE_TYPE_AV_VGA));
  Settle();
  auto* d = OpenScreen<NonMenuSystem::PictureSizeDialog>();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->RowCount(), 3);
  EXPECT_TRUE(d->PreferredBits());
  EXPECT_EQ(d->Bounds().H(), 27 * 3 + 64);
  const int32_t bits = W()->GetPreferViewMode() & 0x300;
  Press("size");
  Press("down");
  EXPECT_EQ(W()->GetPreferViewMode() & 0x300, bits);
  Press("ok");
  Settle();
  EXPECT_EQ(Open<NonMenuSystem::PictureSizeDialog>(), nullptr);

  ASSERT_TRUE(SwitchToSourceType(Constants::XPM_SOURCE_TYPE_AV_HDMI));
  Settle();
  d = OpenScreen<NonMenuSystem::PictureSizeDialog>();
  ASSERT_NE(d, nullptr);
  const int32_t rows = d->RowCount();
  EXPECT_GE(rows, 3);
  ClearCallLog();
  const int32_t start = d->GetIndexOf(kv::Cast<Forms::Ctrl>(Focused()));
  for (int32_t i = 0; i < rows; ++i) Press("down");
  EXPECT_EQ(d->GetIndexOf(kv::Cast<Forms::Ctrl>(Focused())), start);
  Run(15100);
  EXPECT_EQ(Open<NonMenuSystem::PictureSizeDialog>(), nullptr);
}

// Each row of the picture-size list shows its number before its caption,
// the focused one on its bar too.
TEST_F(ColourTest, PictureSizeRowsShowTheirNumbers) {
  Settle();
  auto* d = OpenScreen<NonMenuSystem::PictureSizeDialog>();
  ASSERT_NE(d, nullptr);
  Settle();
  const ge::Surface& osd = Osd();
  int32_t rows = 0;
  for (int32_t i = 0; i < d->GetChildCount(); ++i) {
    auto* row = kv::Cast<NonMenuSystem::PictureSizeItem>(d->GetChild(i));
    if (!row || !row->IsVisible()) continue;
    ++rows;
    const kv::Rect r = row->GetAbsoluteBounds();
    // The number's column, left of the caption: pixels that stand out from
    // the row's own background at its left end, on the same line.
    auto differs = [](uint32_t p, uint32_t q) {
      int32_t diff = 0;
      for (int32_t c = 0; c < 24; c += 8) diff += std::abs(int32_t((p >> c) & 0xff) - int32_t((q >> c) & 0xff));
      return diff > 60;
    };
    int32_t ink = 0;
    for (int32_t y = r.y1 + 4; y < r.y2 - 4; ++y) {
      const uint32_t bg = osd.Row(y)[r.x1 + 6];
      for (int32_t x = r.x1 + 8; x < r.x1 + 32; ++x) ink += differs(osd.Row(y)[x], bg);
    }
    EXPECT_GT(ink, 10) << "row " << rows << " shows no number";
  }
  EXPECT_GE(rows, 3);
}

// The picture-size list on an HDMI input follows its signal: a PC timing
// offers the three PC sizes, a 640 x 480 picture (a video format too) the
// seven video sizes, and each size stepped to is written and held by the
// set. Over a 3D input only the native size can be chosen.
TEST_F(ColourTest, PictureSizeListOnHdmiFollowsTheSignalAndA3DInputKeepsTheNativeSize) {
  Settle();
  Tv().Tv().SetSourceVideo(sim::kSourceHdmi1, 1024, 768, true);
  ASSERT_TRUE(SwitchToSourceType(Constants::XPM_SOURCE_TYPE_AV_HDMI));
  ASSERT_EQ(W()->GetCurrentSource(0), sim::kSourceHdmi1);
  auto* d = OpenScreen<NonMenuSystem::PictureSizeDialog>();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->RowCount(), 3);
  Press("exit");
  Settle();

  Tv().Tv().SetSourceVideo(sim::kSourceHdmi1, 640, 480, true);
  d = OpenScreen<NonMenuSystem::PictureSizeDialog>();
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d->RowCount(), 7);
  OptionDatabase::OptionDataClass* record = NonMenuSystem::OptionBinding::Find(SkinBin::OPTION_TYPE_PICTURE_SIZE);
  ASSERT_NE(record, nullptr);
  for (int32_t i = 0; i < d->RowCount(); ++i) {
    Press("down");
    Settle();
    const int32_t at = d->GetIndexOf(kv::Cast<Forms::Ctrl>(Focused()));
    ASSERT_GE(at, 0);
    const int32_t size = record->Choices.at(static_cast<size_t>(at)).value;
    // Read back from the set through the mode the list is bound to.
    EXPECT_EQ(record->RefValue.Get() & 0xff, size) << "row " << at;
  }
  EXPECT_FALSE(Logged("refused"));
  // Opened again, the list stands on the size chosen last.
  Press("down", 3);
  const int32_t chosen = d->GetIndexOf(kv::Cast<Forms::Ctrl>(Focused()));
  Press("exit");
  Settle();
  d = OpenScreen<NonMenuSystem::PictureSizeDialog>();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->GetIndexOf(kv::Cast<Forms::Ctrl>(Focused())), chosen);
  Press("exit");
  Settle();

  // A side-by-side 3D input: every size but the native one is greyed;
  // stepping lands on the native size only, and only it reaches the set.
  Tv().Net().SetInput3DFormat(SkinBin::OAM_3D_MODE_SBS);
  d = OpenScreen<NonMenuSystem::PictureSizeDialog>();
  ASSERT_NE(d, nullptr);
  int enabled = 0;
  for (int32_t i = 0; i < d->RowCount(); ++i) enabled += d->Row(i)->OnGetIsDisabled() ? 0 : 1;
  EXPECT_EQ(enabled, 1);
  ClearCallLog();
  Press("down", 3);
  Settle();
  const int32_t native = d->GetIndexOf(kv::Cast<Forms::Ctrl>(Focused()));
  ASSERT_GE(native, 0);
  EXPECT_FALSE(d->Row(native)->OnGetIsDisabled());
  EXPECT_EQ(record->Choices.at(static_cast<size_t>(native)).value, 0);
  for (const std::string& c : Calls("XPM_SetPreferredViewMode")) EXPECT_EQ(c, "XPM_SetPreferredViewMode(0, 0)");
  EXPECT_TRUE(Calls("XPM_SetViewMode").empty());
  EXPECT_EQ(record->RefValue.Get() & 0xff, 0);
}

}  // namespace livetvtest
