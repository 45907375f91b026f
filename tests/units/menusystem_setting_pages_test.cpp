// The setting pages through the whole system: each page opened by a state
// change as the factory and PIN dialogs open them, and the page rules
// (grey-outs by source, preset and series, the RGB filter's last colour,
// the caption colours that may not match, dynamic volume against range
// control, the on-timer reaching the set's timer, rows built per source).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "menusystem_support.h"
#include "platform/xpm/xpm_settings.h"
#include "units/Constants/Constants.h"
#include "units/MenuSystem/MenuItems.h"
#include "units/MenuSystem/PictureSoundPages.h"
#include "units/MenuSystem/ProductTree.h"
#include "units/MenuSystem/SettingPages.h"
#include "units/NonMenuSystem/ConfirmOptionDialog.h"
#include "units/NonMenuSystem/PinDialogs.h"
#include "units/OptionDatabase/OptionChoices.h"
#include "units/SkinBin/ChannelListData.h"
#include "units/Structures/RefHolders.h"
#include "units/SubSystem/State.h"

namespace menutest {
namespace {

using namespace MenuSystem;

class SettingPagesTest : public MenuTest {
 protected:
  // The state change goes to the menu sub-system only, as the dialogs send it.
  void ChangeState(SubSystem::State* state) {
    auto* msg = kv::New<Structures::Message>();
    msg->Initialize(Constants::MSG_CHANGE_STATE, state);
    kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)
        ->DispatchTo(msg, &MenuSystem::MenuSystem::StaticClass());
    Settle();
  }
  SubMenuItem* FocusedRow() { return kv::Cast<SubMenuItem>(Focused()); }
  bool Greyed(SettingPage* page, int32_t i) { return page->R(i)->OnGetIsDisabled(); }
  SkinBin::Wrapper* S() { return Skin(); }
};

struct Expected {
  const kv::Class& cls;
  uint32_t winId;
  int32_t level;
};

TEST_F(SettingPagesTest, EveryPageOpensByStateFocusesTheNamedRowAndGoesBack) {
  const Expected pages[] = {
      {SetupMenu::StaticClass(), 0x01000155, 3},          {PreferencesMenu::StaticClass(), 0x01000154, 3},
      {ApplicationsMenu::StaticClass(), 0x01000153, 3},   {PictureMenu::StaticClass(), 0x01000151, 3},
      {SoundMenu::StaticClass(), 0x01000152, 3},          {TVSettingsMenu::StaticClass(), 0x01001551, 4},
      {ClosedCaptionMenu::StaticClass(), 0x01015511, 5},  {DigitalCCMenu::StaticClass(), 0x01155111, 6},
      {LocalTimeMenu::StaticClass(), 0x01015512, 5},      {CECSetupMenu::StaticClass(), 0x01001541, 4},
      {NetworkSetupMenu::StaticClass(), 0x01001542, 4},   {ChBrowserSetupMenu::StaticClass(), 0x01001543, 4},
      {NetflixSetupMenu::StaticClass(), 0x01001544, 4},   {DisplaySettingsMenu::StaticClass(), 0x01001545, 4},
      {AVConnectionMenu::StaticClass(), 0x01001546, 4},   {HDMISettingsMenu::StaticClass(), 0x01015461, 5},
      {HDMIInputModeMenu::StaticClass(), 0x01154611, 6},
      {EnergySavingSettingsMenu::StaticClass(), 0x01001548, 4}, {NoSignalPowerDownMenu::StaticClass(), 0x01001548, 5},
      {ParentalLocksMenu::StaticClass(), 0x01001549, 4},  {AutoInputMenu::StaticClass(), 0x0100154a, 4},
      {AppMediaPlayerMenu::StaticClass(), 0x01001531, 4}, {AutoDemoMenu::StaticClass(), 0x01001532, 4},
      {OnTimerMenu::StaticClass(), 0x01001534, 4},        {DummyMenu::StaticClass(), 0x01001535, 4},
      {AdvancedSoundSettingsMenu::StaticClass(), 0x01001521, 4}, {AudysseyEQMenu::StaticClass(), 0x01015211, 5},
      {BrontelMenu::StaticClass(), 0x01015521, 5},        {AdvancedPictureMenu::StaticClass(), 0x01001511, 4},
      {ExpertPictureMenu::StaticClass(), 0x01001512, 4},  {WhiteBalanceMenu::StaticClass(), 0x01015122, 5},
      {WhiteBalance2PMenu::StaticClass(), 0x01151211, 6}, {WhiteBalance10PMenu::StaticClass(), 0x01151212, 6},
      {RGBFilterMenu::StaticClass(), 0x01015121, 5},      {PCSettingsMenu::StaticClass(), 0x01015452, 5},
      {PicturePositionMenu::StaticClass(), 0x01015451, 5}, {BaseColorAdjustmentMenu::StaticClass(), 0x01015111, 5},
      {AutoBrightnessSensorMenu::StaticClass(), 0x01015112, 5}, {ColorSensorSettingsMenu::StaticClass(), 0x01015111, 5},
      {NoiseReductionMenu::StaticClass(), 0x01015113, 5}, {FinexaMenu::StaticClass(), 0x01015114, 5},
  };
  for (const Expected& e : pages) {
    SCOPED_TRACE(e.cls.name);
    auto* ref = kv::New<Structures::RefInt>();
    ref->Value = 3;
    auto* state = kv::New<SubSystem::State>();
    state->Class = &e.cls;
    state->Param = ref;
    ChangeState(state);
    kv::Persistent<SettingPage> page{kv::Cast<SettingPage>(Wm()->FindForm(e.winId))};
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->KvClass(), &e.cls);
    EXPECT_EQ(page->MenuLevel, e.level);
    EXPECT_EQ(page->Bounds().x1, 160);
    EXPECT_FALSE(page->OnGetCaption().Empty() && page->CaptionId != nullptr);
    const int32_t rows = page->RowCount();
    // A RefInt of 3 focuses row 3; a page with fewer rows focuses its first.
    if (rows > 0) {
      EXPECT_EQ(page->OnGetCurrentItemIndex(), rows >= 3 ? 3 : 1);
    }
    // The height: stated, or the shrink rule over the rows present.
    int32_t height = kPageHeight;
    if (rows < 8) height -= (page->ItemGap + kItemHeight) * (8 - rows);
    if (page->FixedHeight > 0) height = page->FixedHeight;
    EXPECT_EQ(page->Bounds().H(), height);
    // Up and down wrap over the rows present.
    if (rows > 1) {
      Press("down", rows);
      EXPECT_EQ(page->OnGetCurrentItemIndex(), rows >= 3 ? 3 : 1);
    }
    Press("back");
    Settle();
    EXPECT_FALSE(page->IsOpen());
    Ms()->TearDownMenus();
    Settle();
  }
}

TEST_F(SettingPagesTest, StatedHeightsAndCountsThatDifferFromTheRowsPresent) {
  auto* onTimer = OpenPage<OnTimerMenu>();
  ASSERT_NE(onTimer, nullptr);
  EXPECT_EQ(onTimer->Bounds().H(), 240);
  EXPECT_EQ(onTimer->RowCount(), 6);
  Press("up");  // from the first row to the Done row
  EXPECT_EQ(onTimer->OnGetCurrentItemIndex(), 6);
  Ms()->TearDownMenus();
  Settle();

  auto* cc = OpenPage<DigitalCCMenu>();
  ASSERT_NE(cc, nullptr);
  EXPECT_EQ(cc->RowCount(), 9);
  Press("up");  // the reset row is reachable
  EXPECT_EQ(cc->OnGetCurrentItemIndex(), 9);
  EXPECT_EQ(cc->Bounds().H(), kPageHeight);
  EXPECT_FALSE(Calls("XPM_ShowAdvancedSampleCaptionText").empty());
  Ms()->TearDownMenus();
  Settle();

  EXPECT_EQ(OpenPage<AutoInputMenu>()->Bounds().H(), 320);
  Ms()->TearDownMenus();
  EXPECT_EQ(OpenPage<BaseColorAdjustmentMenu>()->Bounds().H(), 258);
  Ms()->TearDownMenus();
  EXPECT_EQ(OpenPage<ChBrowserSetupMenu>()->Bounds().H(), 258);
  Ms()->TearDownMenus();
  // Two rows: 6 x 26 shorter than a full page.
  EXPECT_EQ(OpenPage<LocalTimeMenu>()->Bounds().H(), 258 - 156);
}

TEST_F(SettingPagesTest, SetupGreysTunerRowsOffTheTunerAndPictureFollowsLockAndPreset) {
  ASSERT_TRUE(SwitchToSourceType(5));
  auto* setup = OpenPage<SetupMenu>();
  ASSERT_NE(setup, nullptr);
  for (int32_t i : {1, 2, 3, 5}) EXPECT_TRUE(Greyed(setup, i)) << i;
  EXPECT_FALSE(Greyed(setup, 4));
  Ms()->TearDownMenus();
  ASSERT_TRUE(SwitchToSourceType(1) || SwitchToSourceType(12));
  setup = OpenPage<SetupMenu>();
  for (int32_t i : {1, 2, 3, 5}) EXPECT_FALSE(Greyed(setup, i)) << i;
  Ms()->TearDownMenus();

  // Theatre lock on: reset, backlight and the seven rows after it are grey.
  S()->OnSetTheaterLock(1);
  auto* picture = OpenPage<PictureMenu>();
  ASSERT_NE(picture, nullptr);
  for (int32_t i = 1; i <= 9; ++i) EXPECT_TRUE(Greyed(picture, i)) << i;
  EXPECT_FALSE(Greyed(picture, 10));
  // Switching it off from its own row takes the grey away at once.
  Press("up");
  Press("left");
  EXPECT_EQ(S()->OnGetTheaterLock(), 0);
  EXPECT_FALSE(Greyed(picture, 4));
  // Brightness has a centre mark, backlight and contrast have none.
  EXPECT_TRUE(kv::Cast<AdjustItemSlider>(picture->R(4))->SliderMiddlePoint);
  EXPECT_FALSE(kv::Cast<AdjustItemSlider>(picture->R(2))->SliderMiddlePoint);
  EXPECT_FALSE(kv::Cast<AdjustItemSlider>(picture->R(3))->SliderMiddlePoint);
  Ms()->TearDownMenus();

  // The automatic preset: contrast shows Auto without slider and is grey.
  W()->OnSetVideoPreset(0);
  Settle();
  if (W()->OnGetVideoPreset() == 0) {
    picture = OpenPage<PictureMenu>();
    auto* contrast = kv::Cast<AdjustItemSlider>(picture->R(3));
    EXPECT_FALSE(contrast->SliderVisible);
    EXPECT_TRUE(contrast->OnGetIsDisabled());
    EXPECT_TRUE(Greyed(picture, 9));  // expert settings need preset 2, 3 or 4
  }
}

TEST_F(SettingPagesTest, BrightnessOpensItsBarWhenThereIsOne) {
  kv::Persistent<PictureMenu> picture{OpenPage<PictureMenu>(5)};
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(FocusedRow(), picture->R(4));
  EXPECT_EQ(picture->R(4)->OptionType, 0x1000003);
  Press("right");
  Settle();
  const kv::Class* bar = kv::FindClass("NonMenuSystem::AdjustmentBar");
  if (bar) {
    // The bar replaces the page and the page's row is remembered.
    EXPECT_FALSE(picture->IsOpen());
    EXPECT_EQ(Ms()->GetMenuIndex(3), 5);
  } else {
    // No bar yet: nothing happens and the page stays.
    EXPECT_TRUE(picture->IsOpen());
    EXPECT_EQ(picture->R(4)->OnGetNextState(), nullptr);
  }
}

TEST_F(SettingPagesTest, SoundSlidersWriteAtOnceAndDynamicVolumeAndRangeControlExcludeEachOther) {
  auto* sound = OpenPage<SoundMenu>(3);
  ASSERT_NE(sound, nullptr);
  ClearCallLog();
  const int32_t before = kv::Cast<AdjustItemSlider>(sound->R(2))->Value;
  Press("right");
  Press("right");
  EXPECT_EQ(Calls("XPM_SetBass").size(), 2u);
  EXPECT_EQ(kv::Cast<AdjustItemSlider>(sound->R(2))->Value, before + 2);
  EXPECT_TRUE(sound->IsOpen());

  // Dynamic volume switched on switches the range control off.
  S()->OnSetDynamicRangeControl(1);
  W()->OnSetDynamicVolume(0);
  W()->OnSetMute(1);
  Ms()->TearDownMenus();
  sound = OpenPage<SoundMenu>(6);
  // What each of the two rows shows.
  const auto shown = [&](int32_t row) { return kv::Cast<SubMenuItemValue>(sound->R(row))->OnGetValueString().ToUtf8(); };
  const std::string volumeOff = shown(5), rangeOn = shown(6);
  Press("right");
  EXPECT_NE(W()->OnGetDynamicVolume(), 0);
  EXPECT_EQ(S()->OnGetDynamicRangeControl(), 0);
  EXPECT_EQ(W()->OnGetMute(), 0);  // any change unmutes
  EXPECT_NE(shown(6), rangeOn) << "the range control row still shows it on";
  // The range control switched on switches dynamic volume off, and its row
  // shows it off again.
  auto* drc = kv::Cast<SubMenuItemValueSelect>(sound->R(6));
  drc->OnSetIsDisabled(false);
  drc->ToggleOption(true);
  Settle();
  EXPECT_NE(S()->OnGetDynamicRangeControl(), 0);
  EXPECT_EQ(W()->OnGetDynamicVolume(), 0);
  EXPECT_EQ(shown(5), volumeOff) << "the dynamic volume row still shows it on";
}

TEST_F(SettingPagesTest, AChoiceRowSteppedThroughItsChoicesReturnsAndMarksEachStep) {
  auto* sound = OpenPage<SoundMenu>(1);
  auto* mts = kv::Cast<SubMenuItemValueSelect>(sound->R(0));
  ASSERT_NE(mts, nullptr);
  ASSERT_GE(mts->ChoiceNum, 2);
  const int32_t first = mts->Value;
  ClearCallLog();
  for (int32_t i = 0; i < mts->ChoiceNum; ++i) Press("right");
  EXPECT_EQ(mts->Value, first);
  EXPECT_FALSE(CallLog().empty());
}

TEST_F(SettingPagesTest, RGBFilterKeepsTheLastColourAndBackRestoresAllColours) {
  S()->SetRGBFilter(kRGBFilterAll);
  auto* rgb = OpenPage<RGBFilterMenu>(1);
  ASSERT_NE(rgb, nullptr);
  EXPECT_EQ(rgb->OffCount(), 0);
  Press("left");  // red off
  Press("down");
  Press("left");  // green off
  Settle();
  EXPECT_EQ(rgb->OffCount(), 2);
  EXPECT_TRUE(Greyed(rgb, 2));  // blue is the last colour
  EXPECT_FALSE(Greyed(rgb, 0));
  Press("left");  // green back on
  EXPECT_EQ(rgb->OffCount(), 1);
  EXPECT_FALSE(Greyed(rgb, 2));
  Press("up");
  Press("back");
  Settle();
  EXPECT_EQ(S()->GetRGBFilter(), kRGBFilterAll);
  EXPECT_TRUE(Open<ExpertPictureMenu>() != nullptr);  // back to the parent page
}

// A white balance value changed on the two-point page goes back to its
// default when the expert page's Reset is confirmed.
TEST_F(SettingPagesTest, ExpertResetPutsTheWhiteBalanceBack) {
  const auto redOffset = [&] {
    auto* page = OpenPage<WhiteBalance2PMenu>(1);
    EXPECT_NE(page, nullptr);
    auto* row = page ? kv::Cast<AdjustItemSlider>(page->R(0)) : nullptr;
    return row ? row->OnGetValueString().ToUtf8() : std::string("no row");
  };
  const std::string before = redOffset();
  for (int i = 0; i < 3; ++i) Press("right");
  Ms()->TearDownMenus();
  Settle();
  ASSERT_NE(redOffset(), before) << "the red offset did not change";
  Ms()->TearDownMenus();
  Settle();
  ASSERT_NE(OpenPage<ExpertPictureMenu>(4), nullptr);  // its Reset row
  Press("ok");
  Settle();
  auto* confirm = Open<NonMenuSystem::ConfirmMultiOptionDialog>();
  ASSERT_NE(confirm, nullptr);
  for (int i = 0; i < 3 && Focused() != &confirm->YesButton(); ++i) Press("left");
  ASSERT_EQ(Focused(), &confirm->YesButton());
  Press("ok");
  Settle();
  Ms()->TearDownMenus();
  Settle();
  EXPECT_EQ(redOffset(), before) << "the reset left the white balance as it was changed";
}

// A new set filters no colour: the page reads On for each, and one Left on
// Red turns Red off and leaves the others on, on screen and in the set.
TEST_F(SettingPagesTest, ANewSetShowsEveryColourOnAndLeftOnRedTurnsOnlyRedOff) {
  EXPECT_EQ(S()->GetRGBFilter(), kRGBFilterAll);
  auto* rgb = OpenPage<RGBFilterMenu>(1);
  ASSERT_NE(rgb, nullptr);
  // The value texts the viewer reads on the three colour rows.
  const auto values = [&] {
    std::vector<std::string> out;
    const std::vector<Core::SeenText> texts = SeenTexts();
    for (int32_t i = 0; i < 3; ++i) {
      const kv::Rect row = rgb->R(i)->GetAbsoluteBounds();
      std::string value;
      for (const Core::SeenText& t : texts)
        if (t.Readable() && (t.text == "On" || t.text == "Off") && row.Contains(kv::Point{t.ink.x1, t.ink.y1})) value = t.text;
      out.push_back(value);
    }
    return out;
  };
  EXPECT_EQ(values(), (std::vector<std::string>{"On", "On", "On"})) << SeenList();
  Press("left");
  Settle();
  EXPECT_EQ(values(), (std::vector<std::string>{"Off", "On", "On"})) << SeenList();
  EXPECT_EQ(S()->GetRGBFilter(), 0x011011);
}

TEST_F(SettingPagesTest, CaptionTextAndBackgroundColoursNeverMatch) {
  auto* cc = OpenPage<DigitalCCMenu>(4);
  ASSERT_NE(cc, nullptr);
  auto* text = kv::Cast<SubMenuItemValueSelect>(cc->R(3));
  auto* bg = kv::Cast<SubMenuItemValueSelect>(cc->R(5));
  ASSERT_GE(text->ChoiceNum, 3);
  for (int32_t i = 0; i < 2 * text->ChoiceNum; ++i) {
    Press("right");
    EXPECT_TRUE(text->Index == 0 || text->Index != bg->Index) << i;
  }
  Press("down", 2);
  for (int32_t i = 0; i < 2 * bg->ChoiceNum; ++i) {
    Press("left");
    EXPECT_TRUE(bg->Index == 0 || text->Index != bg->Index) << i;
  }
}

TEST_F(SettingPagesTest, OnTimerGreysWithoutTimerAndDoneReachesTheSetsTimer) {
  // Opened over the menu, as from its row: Done goes back to its page.
  Press("menu");
  Run(1000);
  kv::Persistent<OnTimerMenu> page{OpenPage<OnTimerMenu>(1)};
  ASSERT_NE(page, nullptr);
  if (W()->OnGetEnableTimer() == 0) {
    for (int32_t i : {1, 2, 3, 4}) EXPECT_TRUE(Greyed(page, i)) << i;
    Press("right");  // enable
  }
  EXPECT_NE(W()->OnGetEnableTimer(), 0);
  for (int32_t i : {1, 3, 4}) EXPECT_FALSE(Greyed(page, i)) << i;
  ClearCallLog();
  Press("up");
  EXPECT_EQ(FocusedRow(), page->R(5));
  Press("ok");
  Settle();
  EXPECT_FALSE(Calls("XPM_SetTimer").empty());
  EXPECT_FALSE(page->IsOpen());
  EXPECT_TRUE(Open<ApplicationsMenu>() != nullptr);
}

// The favourites list switched off on the channel browser page greys the
// applications page's favourites browser row: its caption reads fainter than
// the channel browser's, and OK on it opens nothing. Switched on again, it is
// an ordinary row.
TEST_F(SettingPagesTest, TheFavouritesBrowserRowFollowsTheFavouritesList) {
  const auto contrast = [&](const std::string& caption) {
    for (const Core::SeenText& t : SeenTexts())
      if (t.text == caption) return InkContrast(Osd(), t);
    ADD_FAILURE() << caption << " not seen";
    return 0.0;
  };
  for (const bool on : {false, true}) {
    auto* lists = OpenPage<ChBrowserSetupMenu>(5);  // the favourites list's row
    ASSERT_NE(lists, nullptr);
    if ((S()->OnGetFavoritesList() != 0) != on) Press("right");
    ASSERT_EQ(S()->OnGetFavoritesList() != 0, on);
    Ms()->TearDownMenus();
    Settle();
    auto* apps = OpenPage<ApplicationsMenu>();
    ASSERT_NE(apps, nullptr);
    const double favourites = contrast("Favourites browser"), channels = contrast("Channel browser");
    if (on)
      EXPECT_NEAR(favourites, channels, 0.5);
    else
      EXPECT_LT(favourites, channels * 0.6) << "the favourites browser row does not look grey";
    for (int i = 0; i < 9 && FocusedRow() != apps->R(5); ++i) Press("down");
    ASSERT_EQ(FocusedRow(), apps->R(5));
    Press("ok");
    Settle();
    EXPECT_EQ(Open<ApplicationsMenu>() == nullptr || !apps->IsVisible(), on)
        << "OK on the favourites browser row " << (on ? "opened nothing" : "opened the browser");
    Ms()->TearDownMenus();
    Settle();
  }
}

TEST_F(SettingPagesTest, NoSignalPowerDownHasARowPerSourceWritingItsBit) {
  auto* page = OpenPage<NoSignalPowerDownMenu>(1);
  ASSERT_NE(page, nullptr);
  const int32_t n = S()->GetValidSourceNum();
  ASSERT_GT(n, 0);
  EXPECT_EQ(page->RowCount(), n);
  EXPECT_EQ(page->ItemsNum, n);
  const int32_t id = S()->GetSourceId(0);
  const int32_t before = S()->OnGetNoSignalPowerDown();
  Press("right");
  EXPECT_EQ(S()->OnGetNoSignalPowerDown(), before ^ (1 << id));
  Press("right");
  EXPECT_EQ(S()->OnGetNoSignalPowerDown(), before);
  // Sources outside 0..31 have no bit.
  EXPECT_EQ(NoSignalPowerDownMenu::NoSignalMask(5, 32, true), 5);
  EXPECT_EQ(NoSignalPowerDownMenu::NoSignalMask(5, -1, false), 5);
  EXPECT_EQ(NoSignalPowerDownMenu::NoSignalMask(5, 1, true), 7);
  EXPECT_TRUE(Logged("ignored"));
}

TEST_F(SettingPagesTest, NoSignalRowsEachShowTheirOwnBit) {
  const std::string on = kv::GetVariantOfString(OptionDatabase::C_ON).ToUtf8();
  const std::string off = kv::GetVariantOfString(OptionDatabase::C_OFF).ToUtf8();
  ASSERT_NE(on, off);
  // Every source on but the second.
  const int32_t second = S()->GetSourceId(1);
  ASSERT_GE(second, 0);
  S()->OnSetNoSignalPowerDown(0x3fffff & ~(1 << second));
  auto* page = OpenPage<NoSignalPowerDownMenu>(1);
  ASSERT_NE(page, nullptr);
  ASSERT_GE(page->RowCount(), 2);
  const auto shown = [&](int32_t i) { return kv::Cast<SubMenuItemValue>(page->Row(i))->OnGetValueString().ToUtf8(); };
  EXPECT_EQ(shown(0), on);
  EXPECT_EQ(shown(1), off);
  for (int32_t i = 2; i < page->RowCount(); ++i) EXPECT_EQ(shown(i), on) << i;
  // Right on the first row clears its bit and the row reads Off; again sets it.
  const int32_t first = S()->GetSourceId(0);
  Press("right");
  Settle();
  EXPECT_EQ((S()->OnGetNoSignalPowerDown() >> first) & 1, 0);
  EXPECT_EQ(shown(0), off);
  Press("right");
  Settle();
  EXPECT_EQ((S()->OnGetNoSignalPowerDown() >> first) & 1, 1);
  EXPECT_EQ(shown(0), on);
  // The second row turns its bit on; the next key still answers.
  Press("down");
  Press("left");
  Settle();
  EXPECT_EQ((S()->OnGetNoSignalPowerDown() >> second) & 1, 1);
  EXPECT_EQ(shown(1), on);
  Press("down");
  Settle();
  EXPECT_EQ(FocusedRow(), page->Row(2));
}

// The sleep row and the on-timer's input and time rows step through their
// choices and reach the set.
// A time typed on the sleep row: each digit shows on screen as it is typed,
// in place of the value; OK gives the set the time (past the longest
// choice, the longest) and the row shows it; the next key still moves the
// page's focus.
TEST_F(SettingPagesTest, ATimeTypedOnTheSleepRowShowsAndReachesTheSet) {
  ASSERT_NE(Ms()->OpenState(&TimerMenu::StaticClass(), 0, 0, nullptr), nullptr);
  if (Core::Group* app = Ms()->Owner()) app->OnSetFocus(Ms());
  Settle();
  Press("right");
  Run(1000);
  Press("ok");
  Settle();
  ASSERT_NE(Open<ApplicationsMenu>(), nullptr);
  auto* sleep = kv::Cast<TimerSetItem>(FocusedRow());
  ASSERT_NE(sleep, nullptr);
  Press("ok");
  Run(300);
  EXPECT_FALSE(Sees("Off")) << SeenList();
  Press("1");
  Press("2");
  Run(300);
  EXPECT_TRUE(Sees("1") && Sees("2")) << SeenList();
  Press("ok");
  Run(300);
  EXPECT_EQ(W()->RemainSleepTime, 120);
  EXPECT_TRUE(Sees("120 min")) << SeenList();
  Press("up");
  Run(300);
  EXPECT_NE(FocusedRow(), sleep);
}

TEST_F(SettingPagesTest, SleepAndOnTimerRowsChangeTheSet) {
  // The timer carousel's sleep entry opens the applications page on its sleep row.
  ASSERT_NE(Ms()->OpenState(&TimerMenu::StaticClass(), 0, 0, nullptr), nullptr);
  if (Core::Group* app = Ms()->Owner()) app->OnSetFocus(Ms());
  Settle();
  Press("right");
  Run(1000);
  Press("ok");
  Settle();
  auto* apps = Open<ApplicationsMenu>();
  ASSERT_NE(apps, nullptr);
  auto* sleep = kv::Cast<TimerSetItem>(FocusedRow());
  ASSERT_NE(sleep, nullptr);
  const std::string off = sleep->OnGetValueString().ToUtf8();
  Press("right");
  Settle();
  EXPECT_EQ(S()->OnGetSleepIndex(), 10);
  EXPECT_EQ(W()->RemainSleepTime, 10);
  EXPECT_NE(sleep->OnGetValueString().ToUtf8(), off);
  Press("right", 2);
  Settle();
  EXPECT_EQ(W()->RemainSleepTime, 30);
  Press("left", 3);
  Settle();
  EXPECT_EQ(S()->OnGetSleepIndex(), 0);
  EXPECT_EQ(sleep->OnGetValueString().ToUtf8(), off);
  // Left from off wraps to the longest sleep time.
  Press("left");
  Settle();
  EXPECT_GT(S()->OnGetSleepIndex(), 30);
  Ms()->TearDownMenus();
  Settle();

  // On-timer: enabled, the input row steps through the set's inputs.
  if (W()->OnGetEnableTimer() == 0) W()->OnSetEnableTimer(1);
  auto* onTimer = OpenPage<OnTimerMenu>(2);
  ASSERT_NE(onTimer, nullptr);
  ASSERT_EQ(FocusedRow(), onTimer->R(1));
  const int32_t source = W()->OnGetTimerSource();
  Press("right");
  Settle();
  EXPECT_NE(W()->OnGetTimerSource(), source);
  Press("left");
  Settle();
  EXPECT_EQ(W()->OnGetTimerSource(), source);
  // The time row steps by ten minutes; Done stores it as the on-timer time.
  Press("down", 3);
  auto* time = kv::Cast<TimerSetItem>(FocusedRow());
  ASSERT_NE(time, nullptr);
  const int32_t before = time->Value;
  Press("right");
  Settle();
  EXPECT_EQ(time->Value, before - before % 10 + 10);
  Press("down");
  Press("ok");
  Settle();
  EXPECT_EQ(S()->OnGetOnTimerTime(), before - before % 10 + 10);
}

TEST_F(SettingPagesTest, AdvancedPictureTakesOutRowsBySeries) {
  auto* page = OpenPage<AdvancedPictureMenu>(1);
  ASSERT_NE(page, nullptr);
  const int32_t series = S()->OnGetSeriesType();
  const int32_t removed = series == 0 || series > 3 || series < 0 ? 5 : 4;
  EXPECT_EQ(page->RowCount(), 17 - 1 - removed);
  EXPECT_EQ(page->RowOf(static_cast<int32_t>(0x8100001e)) == nullptr, series != 0);
  // Without a change in this preset, reset is grey.
  EXPECT_TRUE(Greyed(page, 16));
}

// The scroll arrows of a page longer than its area show inside the page's
// frame, in the margin right of the rows' black panel: never on the panel's
// edge or on the page's border.
TEST_F(SettingPagesTest, ScrollArrowsStandInThePageMarginClearOfRowsAndBorder) {
  auto* picture = OpenPage<PictureMenu>();
  ASSERT_NE(picture, nullptr);
  ASSERT_GT(picture->RowCount(), 8);
  const kv::Rect page = picture->GetAbsoluteBounds();
  const kv::Rect panel = picture->GetPageArea().Move(page.Origin()).Inflate(2, 2);
  // The arrow's light glyph pixels in the band along the page's right edge,
  // from the panel's last 24 pixels to the border.
  const auto glyph = [&](int32_t y1, int32_t y2) {
    std::vector<kv::Point> lit;
    const ge::Surface& osd = Osd();
    for (int32_t y = std::max(0, y1); y < std::min(540, y2); ++y)
      for (int32_t x = panel.x2 - 24; x < page.x2 + 4; ++x) {
        const uint32_t p = osd.Row(y)[x];
        if ((p & 0xFF) > 200 && ((p >> 8) & 0xFF) > 200 && ((p >> 16) & 0xFF) > 200) lit.push_back({x, y});
      }
    return lit;
  };
  const auto expectInMargin = [&](const std::vector<kv::Point>& lit, const char* which) {
    ASSERT_GT(lit.size(), 20u) << which << " arrow not seen";
    for (const kv::Point& p : lit) {
      EXPECT_GE(p.x, panel.x2) << which << " arrow on the rows' panel at " << p.x << "," << p.y;
      EXPECT_LT(p.x, page.x2 - 1) << which << " arrow on the border at " << p.x << "," << p.y;
      EXPECT_LT(p.y, page.y2 - 2) << which << " arrow on the border at " << p.x << "," << p.y;
      EXPECT_GT(p.y, page.y1 + 1) << which << " arrow on the border at " << p.x << "," << p.y;
      if (::testing::Test::HasFailure()) return;
    }
  };
  // First row focused: more rows below.
  expectInMargin(glyph(panel.y2 - 30, page.y2 + 4), "down");
  // Up from the first row focuses the last: rows above now.
  Press("up");
  Settle();
  expectInMargin(glyph(page.y1, panel.y1 + 30), "up");
}

TEST_F(SettingPagesTest, SettingPageOpenedAndClosedFiftyTimesReturnsToItsBaseline) {
  OpenPage<SoundMenu>();
  Ms()->TearDownMenus();
  Settle();
  const auto base = Census();
  for (int i = 0; i < 50; ++i) {
    OpenPage<SoundMenu>(i % 7 + 1);
    Press("back");
  }
  Settle();
  EXPECT_EQ(Census(), base);
}

// The English texts spell the British way: the rows of the setting pages
// and the values they show (Colour, Favourites, Analogue, Centre ...).
TEST_F(SettingPagesTest, EnglishRowsUseBritishSpelling) {
  const kv::Class* pages[] = {&PictureMenu::StaticClass(),         &SoundMenu::StaticClass(),
                              &AdvancedSoundSettingsMenu::StaticClass(), &ClosedCaptionMenu::StaticClass(),
                              &DigitalCCMenu::StaticClass(),        &ChBrowserSetupMenu::StaticClass(),
                              &AdvancedPictureMenu::StaticClass(),  &ExpertPictureMenu::StaticClass(),
                              &ColorSensorSettingsMenu::StaticClass(), &TVSettingsMenu::StaticClass(),
                              &PreferencesMenu::StaticClass(),      &SetupMenu::StaticClass()};
  const char* american[] = {"Color", "color", "Favorite", "favorite", "Center", "center", "Theater",
                            "Equalizer", "equalizer", "Stabilization", "Leveling", "Program ", "Programs"};
  int rows = 0;
  for (const kv::Class* cls : pages) {
    SCOPED_TRACE(cls->name);
    auto* state = kv::New<SubSystem::State>();
    state->Class = cls;
    ChangeState(state);
    auto* page = Open<SettingPage>();
    ASSERT_NE(page, nullptr);
    std::vector<std::string> texts;
    for (int32_t i = 0; page->R(i); ++i) {
      texts.push_back(page->R(i)->OnGetText().ToUtf8());
      if (auto* v = kv::Cast<SubMenuItemValue>(page->R(i))) texts.push_back(v->OnGetValueString().ToUtf8());
      ++rows;
    }
    for (const Core::SeenText& t : SeenTexts()) texts.push_back(t.text);
    for (const std::string& text : texts) {
      for (const char* word : american) EXPECT_EQ(text.find(word), std::string::npos) << "\"" << text << "\"";
      const size_t analog = text.find("nalog");
      EXPECT_TRUE(analog == std::string::npos || text.compare(analog, 7, "nalogue") == 0) << "\"" << text << "\"";
    }
    Ms()->TearDownMenus();
    Settle();
  }
  EXPECT_GT(rows, 40);
}

// Each row's caption stands in the middle of its row: its glyphs, the
// descenders of g, p and y included, keep clear of the row's top and bottom
// edges, in every menu language.
TEST_F(SettingPagesTest, RowCaptionsStandClearOfTheRowsEdges) {
  for (int32_t lang = 0; lang < 3; ++lang) {
    SCOPED_TRACE(lang);
    Skin()->SetMenuLanguage(lang);
    auto* page = OpenPage<SetupMenu>();
    ASSERT_NE(page, nullptr);
    Run(100);
    int checked = 0;
    for (int32_t i = 0; page->R(i); ++i) {
      SubMenuItem* row = page->R(i);
      if (!row->IsVisible()) continue;
      const kv::Rect r = row->GetAbsoluteBounds();
      for (const Core::SeenText& t : SeenTexts()) {
        if (t.text != row->OnGetText().ToUtf8() || t.ink.IsEmpty()) continue;
        if (t.box.x1 < r.x1 || t.box.x2 > r.x2 || t.box.y1 < r.y1 - 4 || t.box.y2 > r.y2 + 4) continue;
        ++checked;
        EXPECT_GE(t.ink.y1, r.y1 + 2) << t.text;
        EXPECT_LE(t.ink.y2, r.y2 - 2) << "\"" << t.text << "\" touches the row's bottom edge";
      }
    }
    EXPECT_GE(checked, 6);
    Press("exit");
    Settle();
  }
  Skin()->SetMenuLanguage(0);
}


// With a PIN set through the menu, the setup page's auto tuning and reset
// rows ask for it first and show their question after it. Without a PIN
// the question comes at once.
TEST_F(SettingPagesTest, WithAPinSetupsTuningAndResetAskForItBeforeTheirQuestion) {
  struct Case {
    int32_t row;           // 1-based, as the page counts its rows
    const char* question;  // a text of the row's question
  };
  const Case cases[] = {{3, "Start the scan?"}, {11, "to the factory defaults?"}};
  const auto openRow = [&](const Case& c) {
    ASSERT_NE(OpenPage<SetupMenu>(c.row), nullptr);
    Press("ok");
    Settle();
  };
  const auto closeAll = [&] {
    Press("exit");
    Settle();
    Ms()->TearDownMenus();
    Settle();
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.question);
    openRow(c);
    EXPECT_FALSE(Sees("Enter your PIN")) << SeenList();
    EXPECT_TRUE(Sees(c.question)) << SeenList();
    closeAll();
  }
  // The PIN, set as a new owner does: Menu, Locks, the new-PIN page, twice.
  Press("menu");
  Settle();
  Step("down", 4);
  ASSERT_NE(kv::Cast<ChangePinMenu>(Page()), nullptr);
  Press("ok");
  Settle();
  Digits("4321");
  Digits("4321");
  ASSERT_NE(kv::Cast<VidiLocksMenu>(Page()), nullptr);
  Press("exit");
  Settle();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.question);
    openRow(c);
    EXPECT_TRUE(Sees("Enter your PIN")) << SeenList();
    EXPECT_FALSE(Sees(c.question)) << SeenList();
    Digits("4321");
    EXPECT_TRUE(Sees(c.question)) << SeenList();
    closeAll();
  }
}

// A slider row that turns grey while its page is open shows a grey slider at
// once, and its colours again when it is enabled: the theatre lock switched
// on and off from its own row greys and restores the sliders shown.
TEST_F(SettingPagesTest, SlidersTurnGreyAndBackWithTheirRows) {
  auto* picture = OpenPage<PictureMenu>(11);  // the theatre lock row
  ASSERT_NE(picture, nullptr);
  // The slider rows in view (rows scrolled out of the page and hidden
  // sliders are not seen).
  std::vector<AdjustItemSlider*> rows;
  for (int32_t i = 2; i <= 7; ++i) {
    auto* row = kv::Cast<AdjustItemSlider>(picture->R(i));
    if (row->SliderVisible && Sees(row->OnGetText().ToUtf8())) rows.push_back(row);
  }
  ASSERT_GE(rows.size(), 4u);
  // The most colourful pixel of each of their sliders (0 for pure grey).
  const auto colours = [&] {
    SeenTexts();  // draws the whole picture again
    const ge::Surface& osd = Osd();
    std::vector<int> most;
    for (AdjustItemSlider* row : rows) {
      const kv::Rect at = row->GetAbsoluteBounds();
      const kv::Rect b = row->Slider().Bounds();
      int m = 0;
      for (int32_t y = at.y1 + b.y1; y < at.y1 + b.y2; ++y)
        for (int32_t x = at.x1 + b.x1; x < at.x1 + b.x2; ++x) {
          const uint32_t p = osd.Row(y)[x];
          const int r = p & 0xFF, g = (p >> 8) & 0xFF, bl = (p >> 16) & 0xFF;
          m = std::max(m, std::max({r, g, bl}) - std::min({r, g, bl}));
        }
      most.push_back(m);
    }
    return most;
  };
  const std::vector<int> before = colours();
  for (int m : before) EXPECT_GT(m, 60) << "an enabled slider shows its colours";
  Press("right");
  Settle();
  ASSERT_EQ(S()->OnGetTheaterLock(), 1);
  for (int m : colours()) EXPECT_LT(m, 30) << "a grey row shows a coloured slider";
  Press("left");
  Settle();
  ASSERT_EQ(S()->OnGetTheaterLock(), 0);
  EXPECT_EQ(colours(), before);
}

// The on-timer's channel row takes a channel typed on the remote and ended
// with OK when the channel exists: the row shows it and, after Done, the
// set's timer starts on it. A number without a channel leaves the old one.
TEST_F(SettingPagesTest, TheOnTimerTakesATypedChannelThatExists) {
  kv::Persistent<OnTimerMenu> page{OpenPage<OnTimerMenu>(1)};
  ASSERT_NE(page, nullptr);
  if (W()->OnGetEnableTimer() == 0) Press("right");  // enable
  Press("down", 2);
  ASSERT_EQ(FocusedRow(), page->R(2));
  const auto typeChannel = [&](const char* digits) {
    for (const char* c = digits; *c; ++c) Press(*c == '-' ? "dash" : std::string(1, *c));
    Press("ok");
    Settle();
  };
  typeChannel("7-2");
  EXPECT_TRUE(Sees("7-2")) << SeenList();
  typeChannel("8-1");  // no such channel
  EXPECT_TRUE(Sees("7-2")) << SeenList();
  EXPECT_FALSE(Sees("8-1")) << SeenList();
  Press("down", 3);  // Done
  Press("ok");
  Settle();
  XPM_TimerRecord timer{};
  ASSERT_EQ(XPM_GetTimer(0, &timer), XPM_OK);
  EXPECT_EQ(timer.enabled, 1);
  EXPECT_EQ(timer.major, 7);
  EXPECT_EQ(timer.minor, 2);
}

// The on-timer's input and channel rows, from a new set: each opens on the
// timer's own choice, Right and Left step through the choices and the timer
// takes each one shown; the page opened again, the set's timer after Done
// and after a restart all hold the last channel chosen.
TEST_F(SettingPagesTest, TheOnTimerInputAndChannelRowsShowAndKeepTheTimersChoice) {
  // The value row `i` shows on screen.
  const auto shown = [&](OnTimerMenu* page, int32_t i) {
    auto* row = kv::Cast<SubMenuItemValue>(page->R(i));
    std::string out;
    for (const Core::SeenText& t : SeenTexts())
      if (row && t.view == &row->ValueText()) out += t.text;
    return out;
  };
  // The timer's input and channel as the set keeps them, in the rows' form.
  const auto input = [&] { return S()->GetSourceName(S()->OnGetTimerSource()).ToUtf8(); };
  const auto held = [&] {
    const int32_t number = S()->OnGetTimerChannel();
    const int32_t major = ::Wrapper::Wrapper::SplitChannelNum(number, true);
    const int32_t minor = ::Wrapper::Wrapper::SplitChannelNum(number, false);
    return S()->GetChannelNumberStr(S()->IsDigitalChannel(major, minor), major, minor).ToUtf8();
  };
  kv::Persistent<OnTimerMenu> page{OpenPage<OnTimerMenu>(1)};
  ASSERT_NE(page, nullptr);
  const std::string tv = input();
  ASSERT_EQ(tv, "TV");
  EXPECT_EQ(shown(page, 1), tv) << SeenList();
  const std::string first = held();
  ASSERT_EQ(first, "2-1");
  EXPECT_EQ(shown(page, 2), first) << SeenList();
  // The channels the row offers: the timer's channel table.
  std::vector<std::string> channels;
  SkinBin::ChannelListData* list = S()->GetChannelListData();
  for (int32_t i = 0; i < list->GetNumChannels(); ++i)
    channels.push_back(S()->GetChannelNumberStr(list->GetChannel(i)->IsDigital != 0, list->GetChannel(i)->Major,
                                                list->GetChannel(i)->Minor).ToUtf8());
  ASSERT_GE(channels.size(), 3u);
  const auto at = std::find(channels.begin(), channels.end(), first) - channels.begin();
  ASSERT_LT(at, static_cast<ptrdiff_t>(channels.size()));
  const auto step = [&](ptrdiff_t by) {
    const auto n = static_cast<ptrdiff_t>(channels.size());
    return channels[static_cast<size_t>(((at + by) % n + n) % n)];
  };

  Press("right");  // enable the timer
  // The input row: each input shown is the timer's; back to TV.
  Press("down");
  std::vector<std::string> inputs{tv};
  for (const char* key : {"right", "right", "left", "left"}) {
    Press(key);
    Settle();
    EXPECT_EQ(shown(page, 1), input()) << key << "\n" << SeenList();
    inputs.push_back(input());
  }
  EXPECT_EQ(inputs[1], inputs[3]);
  EXPECT_NE(inputs[1], tv);
  EXPECT_NE(inputs[2], inputs[1]);
  EXPECT_EQ(input(), tv);
  // The channel row.
  Press("down");
  ASSERT_EQ(FocusedRow(), page->R(2));
  struct Move {
    const char* key;
    ptrdiff_t from;  // steps from the timer's first channel
  };
  for (const Move& m : {Move{"right", 1}, Move{"right", 2}, Move{"left", 1}, Move{"left", 0}, Move{"left", -1},
                        Move{"right", 0}, Move{"right", 1}}) {
    Press(m.key);
    Settle();
    SCOPED_TRACE(std::string(m.key) + " to " + step(m.from));
    EXPECT_EQ(shown(page, 2), step(m.from)) << SeenList();
    EXPECT_EQ(held(), step(m.from));
  }
  const std::string chosen = step(1);
  // Left without Done, opened again: the row shows what the timer holds.
  Press("back");
  Settle();
  page = OpenPage<OnTimerMenu>(3);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(shown(page, 2), chosen) << SeenList();
  EXPECT_EQ(held(), chosen);
  // Done: the set's timer starts on it, also after a restart.
  Press("down", 3);
  Press("ok");
  Settle();
  XPM_TimerRecord timer{};
  ASSERT_EQ(XPM_GetTimer(0, &timer), XPM_OK);
  EXPECT_EQ(S()->GetChannelNumberStr(S()->IsDigitalChannel(timer.major, timer.minor), timer.major, timer.minor)
                .ToUtf8(),
            chosen);
  page = nullptr;
  Restart();
  page = OpenPage<OnTimerMenu>(3);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(shown(page, 2), chosen) << SeenList();
  EXPECT_EQ(held(), chosen);
}

}  // namespace
}  // namespace menutest
