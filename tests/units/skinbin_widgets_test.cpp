// The skin's entry widgets, sliders, text form and colour swatches in the
// screens that use them, through the whole system: remote keys, what the
// screen draws, and what the set or the settings store receives.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ge/surface.h"
#include "menusystem_support.h"
#include "strings/NonMenuSystem.h"
#include "strings/SkinBinWrapper.h"
#include "units/Constants/Constants.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/MenuSystem/SettingPages.h"
#include "units/NonMenuSystem/BaseColorAdjustmentBar.h"
#include "units/NonMenuSystem/PinDialogs.h"
#include "units/NonMenuSystem/SoftwareLicencesDialog.h"
#include "units/NonMenuSystem/VolumeMuteBar.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/EntryForms.h"
#include "units/Structures/RefHolders.h"
#include "units/SubSystem/State.h"

namespace skinbinwidgettest {
namespace {

class WidgetScreensTest : public menutest::MenuTest {
 protected:
  uint32_t Pixel(kv::Point p) { return Osd().Row(p.y)[p.x]; }
  static kv::Point Centre(const kv::Rect& r) { return {(r.x1 + r.x2) / 2, (r.y1 + r.y2) / 2}; }
  PersistentData::PersistentData* Store() {
    return kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
  }
  // Moves down the page until a row of class T has the focus.
  template <class T>
  T* DownTo() {
    for (int i = 0; i < 8; ++i) {
      if (auto* row = kv::Cast<T>(Focused())) return row;
      Press("down");
      Settle();
    }
    return kv::Cast<T>(Focused());
  }
};

// The PIN cells of the enter-PIN dialog fill one by one as digits come; each
// digit restarts the dialog's time-out; the fourth digit answers once: a
// wrong PIN shows message 2 and empties the cells, the right one leaves.
TEST_F(WidgetScreensTest, PinCellsFillAsDigitsComeAndTheFourthAnswers) {
  Store()->PutString(SkinBinWrapper::KEY_PIN, kv::String::FromUtf8("1234"));
  Nms()->ClearAll();
  Settle();
  kv::Persistent<NonMenuSystem::EnterPinDialog> d =
      kv::Cast<NonMenuSystem::EnterPinDialog>(Nms()->OpenWithValue(&NonMenuSystem::EnterPinDialog::StaticClass(), 1,
                                                                   Constants::MSG_FROM_NONMENUSYSTEM));
  Settle();
  ASSERT_NE(d, nullptr);
  // The cells along the middle of the entry: runs of the empty cell colour,
  // or of the focus blue of the cell that takes the next digit. A typed
  // digit shows as a grey mask square at its cell's centre.
  constexpr uint32_t kEmpty = 0xFF2A2928u;
  constexpr uint32_t kNext = 0xFF8C5617u;
  constexpr uint32_t kMask = 0xFFC8C8C8u;
  const kv::Rect e = d->Entry().GetAbsoluteBounds();
  const int32_t midY = (e.y1 + e.y2) / 2;
  auto cellCentres = [&] {
    std::vector<kv::Point> out;
    int32_t start = -1;
    uint32_t runColour = 0;
    for (int32_t x = e.x1; x <= e.x2; ++x) {
      const uint32_t p = x < e.x2 ? Osd().Row(midY)[x] : 0;
      const bool cell = p == kEmpty || p == kNext;
      if (start >= 0 && (!cell || p != runColour)) {
        out.push_back({(start + x) / 2, midY});
        start = -1;
      }
      if (cell && start < 0) {
        start = x;
        runColour = p;
      }
    }
    return out;
  };
  const std::vector<kv::Point> cells = cellCentres();
  ASSERT_EQ(cells.size(), 4u);
  EXPECT_EQ(Pixel(cells[0]), kNext) << "the first cell takes the next digit";
  for (size_t i = 1; i < cells.size(); ++i) EXPECT_EQ(Pixel(cells[i]), kEmpty) << i;
  auto shown = [&](size_t i) { return Pixel(cells[i]) == kMask; };
  // Digits 5 s apart: 15 s in all, each restarting the time-out.
  for (int32_t typed = 1; typed <= 3; ++typed) {
    Press(std::to_string(typed));
    Run(5000);
    ASSERT_TRUE(d->IsOpen()) << "closed after " << typed << " digits";
    for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(shown(static_cast<size_t>(i)), i < typed) << i;
  }
  EXPECT_EQ(BarType(), 0);
  // A wrong fourth digit: message 2 once, the cells empty again.
  Press("9");
  Settle();
  EXPECT_EQ(BarType(), 2);
  EXPECT_TRUE(d->IsOpen());
  Bar()->Close();
  Settle();
  for (size_t i = 0; i < cells.size(); ++i) EXPECT_FALSE(shown(i)) << i;
  // The right PIN leaves the dialog.
  for (const char* digit : {"1", "2", "3"}) Press(digit);
  EXPECT_TRUE(shown(2));
  Press("4");
  Settle();
  EXPECT_FALSE(d->IsOpen());
  EXPECT_EQ(BarType(), 0);
}

// The on-timer page's volume row: the first digit starts a new number shown
// in the row's three cells, three digits or OK end it and the set's timer
// volume takes it; Back leaves the number as it was.
TEST_F(WidgetScreensTest, TheVolumeRowTakesThreeDigitsOrOkAndBackCancels) {
  if (Skin()->OnGetEnableTimer() == 0) Skin()->OnSetEnableTimer(1);
  Skin()->OnSetOnTimerVolume(35);
  ASSERT_NE(OpenPage<MenuSystem::OnTimerMenu>(1), nullptr);
  auto* row = DownTo<MenuSystem::VolumeSetItem>();
  ASSERT_NE(row, nullptr);
  const kv::Rect at = row->GetAbsoluteBounds();
  const kv::Rect form = row->NumberForm().Bounds().MoveTo({at.x1 + row->NumberForm().Bounds().x1, at.y1 + row->NumberForm().Bounds().y1});
  const std::vector<uint32_t> before(Osd().pixels, Osd().pixels + Osd().stride * Osd().height);
  auto changedInForm = [&] {
    int n = 0;
    for (int32_t y = form.y1; y < form.y2; ++y)
      for (int32_t x = form.x1; x < form.x2; ++x)
        if (Osd().Row(y)[x] != before[static_cast<size_t>(y * Osd().stride + x)]) ++n;
    return n;
  };
  Press("4");
  Settle();
  EXPECT_TRUE(row->OnGetIsNumberEdit());
  EXPECT_EQ(row->NumberForm().GetNum(), 4);
  EXPECT_GT(changedInForm(), 0) << "the number cells are drawn";
  EXPECT_EQ(Skin()->OnGetOnTimerVolume(), 35) << "nothing written before the entry ends";
  Press("2");
  Press("7");
  Settle();
  EXPECT_FALSE(row->OnGetIsNumberEdit());
  // 427 is past the volume's top: the row takes its maximum.
  EXPECT_EQ(row->Max, 100);
  EXPECT_EQ(Skin()->OnGetOnTimerVolume(), 100);
  EXPECT_FALSE(Logged("refused"));
  const int32_t stored = Skin()->OnGetOnTimerVolume();
  // Two digits and OK.
  Press("1");
  Press("8");
  Press("ok");
  Settle();
  EXPECT_EQ(Skin()->OnGetOnTimerVolume(), 18);
  EXPECT_NE(stored, 18);
  // Back ends the entry without a write; the row still answers keys.
  Press("6");
  Press("back");
  Settle();
  EXPECT_FALSE(row->OnGetIsNumberEdit());
  EXPECT_EQ(Skin()->OnGetOnTimerVolume(), 18);
  EXPECT_NE(OpenPage<MenuSystem::OnTimerMenu>(1), nullptr);
}

// The on-timer page's time row: only digits that can make a time are taken
// (no hour from 3 on, no 24, no 6 tens of minutes; the time counts tens of
// minutes); Back leaves the row's time as it was; OK ends the entry and Done
// sets the set's on-timer that long from now.
TEST_F(WidgetScreensTest, TheTimeRowTakesOnlyDigitsThatMakeATime) {
  if (Skin()->OnGetEnableTimer() == 0) Skin()->OnSetEnableTimer(1);
  ASSERT_NE(OpenPage<MenuSystem::OnTimerMenu>(1), nullptr);
  auto* row = DownTo<MenuSystem::TimerSetItem>();
  ASSERT_NE(row, nullptr);
  const int32_t before = row->Value;
  Press("ok");  // starts the entry
  Settle();
  ASSERT_TRUE(row->OnGetIsTimeEdit());
  SkinBin::EnterTime& t = row->TimeForm();
  Press("3");  // 3 cannot start the hours
  EXPECT_EQ(t.DigitCount, 0);
  Press("2");
  Press("4");  // 24 is no hour
  EXPECT_EQ(t.DigitCount, 1);
  Press("1");
  Press("6");  // 6 tens of minutes refused
  Press("4");
  Press("5");
  EXPECT_EQ(t.DigitCount, 4);
  EXPECT_EQ(t.GetTimeIndex(), 21 * 60 + 40);
  Press("back");
  Settle();
  EXPECT_FALSE(row->OnGetIsTimeEdit());
  EXPECT_EQ(row->Value, before);
  // 08:30, ended by OK.
  Press("ok");
  for (const char* digit : {"0", "8", "3", "0"}) Press(digit);
  Press("ok");
  Settle();
  EXPECT_FALSE(row->OnGetIsTimeEdit());
  EXPECT_EQ(row->Value, 8 * 60 + 30);
  Press("down");
  Press("ok");  // Done
  Settle();
  EXPECT_NEAR(Skin()->OnGetOnTimerTime(), 8 * 60 + 30, 1);
}

// The volume bar's slider stops at both ends: the set holds the end and the
// bar draws an empty track at 0 and a full one at the top.
TEST_F(WidgetScreensTest, TheVolumeSliderStopsAtBothEndsAndDrawsIt) {
  W()->OnSetVolume(1);
  Settle();
  Press("vol-", 3);
  auto* bar = Open<NonMenuSystem::CommonVolumeBar>();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->Slider().OnGetValue(), 0);
  EXPECT_EQ(W()->OnGetVolume(), 0);
  EXPECT_FALSE(Logged("refused"));
  const kv::Rect s = bar->Slider().GetAbsoluteBounds();
  const kv::Point nearRight{s.x2 - 6, (s.y1 + s.y2) / 2};
  const uint32_t emptyEnd = Pixel(nearRight);
  const int32_t max = bar->Slider().OnGetMax();
  Press("exit");
  Settle();
  W()->OnSetVolume(max - 1);
  Press("vol+", 3);
  bar = Open<NonMenuSystem::CommonVolumeBar>();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->Slider().OnGetValue(), max);
  EXPECT_EQ(W()->OnGetVolume(), max);
  EXPECT_FALSE(Logged("refused"));
  EXPECT_NE(Pixel(nearRight), emptyEnd) << "the track is full at the top";
  Press("vol-");
  EXPECT_EQ(W()->OnGetVolume(), max - 1);
}

// The licences text scrolls by keys: each step moves the text and the thumb
// of the scroll bar and keeps the dialog open; Up at the top and Down at
// the end move nothing.
TEST_F(WidgetScreensTest, TheLicenceTextScrollsAndItsThumbFollows) {
  Nms()->Open(&NonMenuSystem::SoftwareLicencesDialog::StaticClass());
  Settle();
  auto* d = Open<NonMenuSystem::SoftwareLicencesDialog>();
  ASSERT_NE(d, nullptr);
  const kv::Rect box = d->Text().GetAbsoluteBounds();
  const kv::Rect dialog = d->GetAbsoluteBounds();
  const kv::Rect track{dialog.x1 + 692, dialog.y1 + 45, dialog.x1 + 698, dialog.y1 + 375};
  auto snapshot = [&](const kv::Rect& r) {
    std::vector<uint32_t> out;
    for (int32_t y = r.y1; y < r.y2; ++y)
      for (int32_t x = r.x1; x < r.x2; ++x) out.push_back(Osd().Row(y)[x]);
    return out;
  };
  const auto top = snapshot(box);
  const auto thumbTop = snapshot(track);
  Press("up");
  Settle();
  EXPECT_EQ(snapshot(box), top) << "up at the top scrolls nothing";
  Press("down");
  Settle();
  EXPECT_NE(snapshot(box), top);
  Press("up");
  Settle();
  EXPECT_EQ(snapshot(box), top);
  EXPECT_EQ(snapshot(track), thumbTop);
  // Thirty steps a second apart: the thumb moves down the track, and the
  // dialog stays open far beyond its time-out.
  for (int i = 0; i < 30; ++i) {
    Press("down");
    Run(1000);
  }
  EXPECT_NE(snapshot(track), thumbTop) << "the thumb moved";
  EXPECT_EQ(Open<NonMenuSystem::SoftwareLicencesDialog>(), d);
  while (d->Text().CanScrollDown()) Press("down");
  Settle();
  const auto end = snapshot(box);
  const auto thumbEnd = snapshot(track);
  Press("down");
  Settle();
  EXPECT_EQ(snapshot(box), end) << "down at the end scrolls nothing";
  EXPECT_EQ(snapshot(track), thumbEnd);
}

// The colour pad draws each of its 35 swatches in its own colour, and OK
// stores the focused one's colour in the settings.
TEST_F(WidgetScreensTest, TheColourPadDrawsEverySwatchInItsColour) {
  auto* pad = OpenScreen<NonMenuSystem::ColorPad>();
  ASSERT_NE(pad, nullptr);
  for (int32_t r = 0; r < NonMenuSystem::ColorPad::kRows; ++r)
    for (int32_t c = 0; c < NonMenuSystem::ColorPad::kColumns; ++c) {
      SkinBin::ColorButton& b = pad->Button(r, c);
      const uint32_t colour = b.OnGetColor();
      ASSERT_EQ(colour >> 24, 0xFFu) << "opaque swatches";
      EXPECT_EQ(Pixel(Centre(b.GetAbsoluteBounds())), colour) << r << "," << c;
    }
  const uint32_t c = pad->Button(1, 1).OnGetColor();
  Press("right");
  Press("down");
  Press("ok");
  Settle();
  const std::string stored = Store()->GetString(NonMenuSystem::KEY_SCREEN_SAVER_COLOR).ToUtf8();
  char expected[16];
  std::snprintf(expected, sizeof expected, "11%03u%03u%03u", c & 0xFFu, (c >> 8) & 0xFFu, (c >> 16) & 0xFFu);
  EXPECT_EQ(stored, expected);
}

}  // namespace
}  // namespace skinbinwidgettest
