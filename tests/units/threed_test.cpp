// The 3D mode selection and the 3D wizard over the whole system: the 3D key,
// each road of the wizard, the format dialogs and the 3D notices.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "nonmenusystem_support.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_net_state.h"
#include "runtime/runtime.h"
#include "strings/ThreeD.h"
#include "button_caption.h"
#include "units/Constants/Constants.h"
#include "units/Core/SeenTexts.h"
#include "units/Constants/MessageTypes.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/LiveContext.h"
#include "units/PersistentData/PersistentData.h"
#include "units/QuickMenu/QuickMenu.h"
#include "units/Resources/Resources.h"
#include "units/SkinBin/UserRefInt.h"
#include "units/SkinBin/Wrapper.h"
#include "units/ThreeD/SelectMode.h"
#include "units/ThreeD/Start3DWizard.h"
#include "units/ThreeD/ThreeDBitmaps.h"
#include "units/ThreeD/ThreeDScreens.h"
#include "units/WinIDs/WinIDs.h"

namespace threedtest {

using namespace SkinBin;

class ThreeDTest : public livetvtest::LiveTVTest {
 protected:
  void SetUp() override {
    LiveTVTest::SetUp();
    Skin()->SeriesType = 2;
    Skin()->OnSetThreeD_DisplayInfo(0);
    Skin()->OnSetThreeDStartMessage(0);
    Skin()->OnSetThreeDLock(0);
    Skin()->OnSetThreeD_EnableTimer(0);
  }
  SkinBin::Wrapper* Skin() { return NonMenuSystem::Live::Skin(); }
  Setup3D& S() { return Skin()->Setup3D; }
  template <class T>
  T* Open() {
    for (auto* f : OpenForms())
      if (auto* t = kv::Cast<T>(f)) return t;
    return nullptr;
  }
  void Input(int32_t format) { Tv().Net().SetInput3DFormat(format); }
  // The 3D key, and the choice of the button `index` in the dialog it opens.
  void ChooseOnKey(int32_t index) {
    Press("3d");
    Settle();
    auto* dialog = Open<ThreeD::SelectMode_Button>();
    ASSERT_NE(dialog, nullptr);
    while (dialog->FocusedButton() != dialog->GetButton(index)) Press("right");
    Press("ok");
    Settle();
  }
  bool Called(const std::string& call) {
    for (const std::string& c : CallLog())
      if (c == call) return true;
    return false;
  }
};

TEST_F(ThreeDTest, DetectedFormatGoesStraightToTheIcon) {
  Input(OAM_3D_MODE_SBS);
  ClearCallLog();
  ChooseOnKey(1);  // 3D
  Run(100);
  Settle();
  EXPECT_EQ(Open<ThreeD::SelectFormat>(), nullptr);
  auto* icon = Open<ThreeD::DisplayMode>();
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->Icon(), Resources::LoadResource(Bitmaps::Mode3D_3D));
  EXPECT_EQ(icon->Bounds(), (kv::Rect{30, 430, 106, 506}));
  EXPECT_TRUE(Called("XPM_3DTV_SetMode(2)"));
  EXPECT_TRUE(Called("XPM_3DTV_SetOutput(1)"));
  EXPECT_EQ(Skin()->ThreeDKeyChoice, 1);
  Run(6100);
  EXPECT_EQ(Open<ThreeD::DisplayMode>(), nullptr);
}

TEST_F(ThreeDTest, UnsupportedFormatShowsMessageBarNine) {
  Input(OAM_3D_MODE_UNSUPPORTED);
  ChooseOnKey(1);
  ASSERT_NE(Bar(), nullptr);
  EXPECT_EQ(BarType(), Constants::DirectMsgType3DUnsupport);
  EXPECT_EQ(S().State, Setup3D_State_Unsupported);
}

TEST_F(ThreeDTest, RunningLockPeriodStartsAtOnce) {
  Input(OAM_3D_MODE_2D);  // a signal without a detected format
  Skin()->OnSetRemain3DTime(10);
  Skin()->OnSetThreeDLock(1);
  Skin()->OnSetThreeD_DisplayInfo(1);
  ClearCallLog();
  Nms()->Open(&ThreeD::SelectMode_Flag::StaticClass());
  Settle();
  Press("ok");  // 3D, focused first
  Run(100);
  Settle();
  EXPECT_NE(Open<ThreeD::DisplayMode>(), nullptr);
  EXPECT_EQ(Open<ThreeD::ImportantInfoDialog>(), nullptr);
  EXPECT_TRUE(Called("XPM_3DTV_SetOutput(1)"));
}

TEST_F(ThreeDTest, InformationOnceByMarkerThenFormatDialogAndStartMessage) {
  Input(OAM_3D_MODE_2D);
  auto* store = kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData);
  store->PutString(ThreeD::KEY_3D_INFO_ONCE, KV_STR(u"1"));
  Skin()->OnSetThreeDStartMessage(1);
  ChooseOnKey(1);
  auto* info = Open<ThreeD::ImportantInfoDialog>();
  ASSERT_NE(info, nullptr);
  EXPECT_TRUE(store->GetString(ThreeD::KEY_3D_INFO_ONCE).Empty());
  Run(60000);  // it waits for an answer
  ASSERT_EQ(Open<ThreeD::ImportantInfoDialog>(), info);
  Press("ok");  // on the text: nothing
  EXPECT_EQ(Open<ThreeD::ImportantInfoDialog>(), info);
  Settle();
  EXPECT_FALSE(Sees("Enter")) << "the help row of the text\n" << SeenList();
  Press("down");
  EXPECT_EQ(Focused(), info->Option());
  Settle();
  EXPECT_TRUE(Sees("Enter")) << "the help row of the option\n" << SeenList();
  // Up goes back to the text, down to the option again.
  Press("up");
  Settle();
  ASSERT_EQ(Open<ThreeD::ImportantInfoDialog>(), info);
  EXPECT_NE(Focused(), info->Option());
  Press("down");
  EXPECT_EQ(Focused(), info->Option());
  // Down on the option wraps round to the text, Up on the text to the option.
  Press("down");
  Settle();
  EXPECT_NE(Focused(), info->Option());
  EXPECT_FALSE(Sees("Enter")) << "the help row of the text after the wrap\n" << SeenList();
  Press("up");
  EXPECT_EQ(Focused(), info->Option());
  Press("ok");
  Settle();
  // No format detected: the format dialog, focused on side by side.
  auto* format = Open<ThreeD::SelectFormat>();
  ASSERT_NE(format, nullptr);
  EXPECT_EQ(format->FocusedButton(), format->GetButton(0));
  ClearCallLog();
  Press("right");  // top and bottom applies in the next pass
  Run(100);
  EXPECT_EQ(Skin()->ThreeDFormatChoice, 1);
  EXPECT_TRUE(Called("XPM_3DTV_SetMode(3)"));
  Press("back");  // consumed: not opened from the quick menu
  EXPECT_EQ(Open<ThreeD::SelectFormat>(), format);
  Press("ok");
  Settle();
  auto* start = Open<ThreeD::StartMessage>();
  ASSERT_NE(start, nullptr);
  Press("ok");
  Settle();
  EXPECT_EQ(Open<ThreeD::StartMessage>(), nullptr);
  EXPECT_EQ(Wm()->FindForm(WinIDs::WIN_ID_3D_Dialog), nullptr);

  // The marker is used up: the next start skips the information.
  Skin()->OnSetThreeDStartMessage(0);
  S().State = Setup3D_State_2D;
  Nms()->Open(&ThreeD::SelectMode_Flag::StaticClass());
  Settle();
  Press("ok");
  Settle();
  EXPECT_EQ(Open<ThreeD::ImportantInfoDialog>(), nullptr);
  EXPECT_NE(Open<ThreeD::SelectFormat>(), nullptr);
}

TEST_F(ThreeDTest, InformationBackAndExit) {
  Input(OAM_3D_MODE_2D);
  Skin()->OnSetThreeD_DisplayInfo(1);
  ChooseOnKey(1);
  ASSERT_NE(Open<ThreeD::ImportantInfoDialog>(), nullptr);
  ClearCallLog();
  Press("back");  // 2D, not applied
  Run(100);
  EXPECT_EQ(Open<ThreeD::ImportantInfoDialog>(), nullptr);
  EXPECT_EQ(S().State, Setup3D_State_2D);
  EXPECT_FALSE(Called("XPM_3DTV_SetOutput(0)"));

  ChooseOnKey(1);
  ASSERT_NE(Open<ThreeD::ImportantInfoDialog>(), nullptr);
  ClearCallLog();
  Press("exit");  // 2D, applied
  Run(100);
  EXPECT_EQ(Open<ThreeD::ImportantInfoDialog>(), nullptr);
  EXPECT_TRUE(Called("XPM_3DTV_SetOutput(0)"));
}

TEST_F(ThreeDTest, TimerExpiryAndLockGoToTheirDialogs) {
  Input(OAM_3D_MODE_2D);
  Skin()->OnSetThreeD_EnableTimer(1);
  Skin()->OnSetRemain3DContinualTime(5);
  ChooseOnKey(1);
  // The confirmation of the expired timer (type 4) is asked for.
  EXPECT_EQ(Skin()->Remain3DContinualTime, -1);
  Nms()->ClearAll();
  Settle();
  Skin()->OnSetThreeDLock(1);
  ChooseOnKey(1);
  // Locked: the 3D PIN (type 11) is asked for, and no format dialog yet.
  EXPECT_EQ(Open<ThreeD::SelectFormat>(), nullptr);
}

TEST_F(ThreeDTest, TwoDToThreeDAndTheTwoDButton) {
  Input(OAM_3D_MODE_2D);
  ClearCallLog();
  ChooseOnKey(0);  // 2D to 3D: a format counts as chosen
  Run(100);
  Settle();
  auto* icon = Open<ThreeD::DisplayMode>();
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->Icon(), Resources::LoadResource(Bitmaps::Mode3D_2Dto3D));
  EXPECT_EQ(Skin()->ThreeDKeyChoice, 0);
  EXPECT_TRUE(Called("XPM_3DTV_SetMode(1)"));
  EXPECT_TRUE(Called("XPM_3DTV_SetOutput(1)"));

  // From a 3D picture the signal dialog's 2D button shows the 2D icon.
  Nms()->ClearAll();
  Settle();
  Input(OAM_3D_MODE_SBS);
  S().State = Setup3D_State_3D;
  Nms()->Open(&ThreeD::SelectMode_Flag::StaticClass());
  Settle();
  Press("right");
  Press("ok");
  Run(100);
  Settle();
  icon = Open<ThreeD::DisplayMode>();
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->Icon(), Resources::LoadResource(Bitmaps::Mode3D_2D));
}

TEST_F(ThreeDTest, FormatDialogFromTheQuickMenuReturnsThere) {
  Input(OAM_3D_MODE_SBS);
  auto* format = kv::Cast<ThreeD::SelectFormat>(Nms()->OpenWithValue(&ThreeD::SelectFormat::StaticClass(), 0,
                                                                     Constants::MSG_FROM_QUICKMENU));
  ASSERT_NE(format, nullptr);
  Settle();
  EXPECT_EQ(format->NextState, nullptr);
  Press("back");
  Settle();
  EXPECT_NE(Wm()->FindForm(WinIDs::WIN_ID_QuickMenu), nullptr);
  Nms()->ClearAll();
  Settle();
  Nms()->OpenWithValue(&ThreeD::SelectFormat::StaticClass(), 0, Constants::MSG_FROM_QUICKMENU);
  Settle();
  Press("ok");
  Settle();
  EXPECT_TRUE(OpenForms().empty() || Open<ThreeD::StartMessage>() == nullptr);
  EXPECT_EQ(Open<ThreeD::DisplayMode>(), nullptr);
}

// The format dialog opens on the format the viewer chose last, also when the
// picture went to another 3D mode in between: side by side, chosen after top
// and bottom, is the one it offers again.
TEST_F(ThreeDTest, TheFormatDialogOpensOnTheFormatChosenLast) {
  Input(OAM_3D_MODE_2D);
  const auto openFormat = [&] {
    auto* format = kv::Cast<ThreeD::SelectFormat>(Nms()->OpenWithValue(&ThreeD::SelectFormat::StaticClass(), 0,
                                                                       Constants::MSG_FROM_QUICKMENU));
    Settle();
    return format;
  };
  ThreeD::SelectFormat* format = openFormat();
  ASSERT_NE(format, nullptr);
  Press("right");
  Press("left");  // top and bottom, then side by side
  ASSERT_EQ(format->FocusedButton(), format->GetButton(0));
  Press("ok");
  Settle();
  Nms()->ClearAll();
  Settle();
  ChooseOnKey(0);  // 2D to 3D: the picture leaves the chosen format
  Run(100);
  Nms()->ClearAll();
  Settle();
  ASSERT_NE(S().Mode, OAM_3D_MODE_SBS);
  ClearCallLog();
  format = openFormat();
  ASSERT_NE(format, nullptr);
  EXPECT_EQ(format->FocusedButton(), format->GetButton(0)) << "top and bottom offered instead";
}

TEST_F(ThreeDTest, TwoDFormatDisablesWhatTheInputLacks) {
  Input(OAM_3D_MODE_OU);
  Tv().Net().Set3DMode(OAM_3D_MODE_OU);
  auto* dialog = kv::Cast<ThreeD::Select2DFormat>(Nms()->Open(&ThreeD::Select2DFormat::StaticClass()));
  ASSERT_NE(dialog, nullptr);
  Settle();
  EXPECT_TRUE(dialog->GetButton(1)->OnGetIsDisabled());
  EXPECT_FALSE(dialog->GetButton(2)->OnGetIsDisabled());
  EXPECT_EQ(dialog->FocusedButton(), dialog->GetButton(2));
  Press("left");  // onto the disabled side-by-side button: nothing applied
  EXPECT_EQ(dialog->GetButton(1)->Picture(), Resources::LoadResource(Bitmaps::Format2D_SBS_Disabled_Focus));
  EXPECT_EQ(S().Mode, OAM_3D_MODE_OU);
  ClearCallLog();
  Press("left");  // native
  Run(100);
  EXPECT_EQ(S().Mode, OAM_3D_MODE_2D);
  EXPECT_TRUE(Called("XPM_3DTV_SetMode(1)"));
}

TEST_F(ThreeDTest, DialogsOpenedAndClosedFiftyTimesReturnToTheBaseline) {
  kv::Runtime::SetCollectEveryPass(true);
  Input(OAM_3D_MODE_SBS);
  Settle();
  const auto before = Census();
  for (int i = 0; i < 50; ++i) {
    Press("3d");
    Settle();
    Press("exit");
    Settle();
  }
  Run(100);
  const auto after = Census();
  for (const char* cls : {"ThreeD::SelectMode_Button", "ThreeD::IconButton", "ThreeD::Start3DWizard"}) {
    const size_t b = before.count(cls) ? before.at(cls) : 0;
    const size_t a = after.count(cls) ? after.at(cls) : 0;
    EXPECT_EQ(a, b) << cls;
  }
}

// Each picture button's caption stands whole inside its button (the button
// clips what it draws) in the medium font, in the three menu languages.
TEST_F(ThreeDTest, ButtonCaptionsAreWholeInEveryLanguage) {
  Input(OAM_3D_MODE_SBS);
  const kv::Class* dialogs[] = {&ThreeD::SelectMode_Flag::StaticClass(), &ThreeD::SelectMode_Button::StaticClass(),
                                &ThreeD::SelectFormat::StaticClass(), &ThreeD::Select2DFormat::StaticClass()};
  for (int32_t language : {0, 1, 2}) {
    Skin()->SetMenuLanguage(language);
    for (const kv::Class* cls : dialogs) {
      auto* dialog = kv::Cast<ThreeD::SelectMode>(Nms()->Open(cls));
      ASSERT_NE(dialog, nullptr) << cls->name;
      Settle();
      const kv::Rect inside = dialog->Bounds().MoveTo({0, 0});
      for (int32_t i = 0; i < dialog->ButtonCount(); ++i) {
        ThreeD::IconButton* b = dialog->GetButton(i);
        Views::Text& caption = apptest::ButtonCaption::Of(*b);
        const std::string text = caption.OnGetString().ToUtf8();
        const std::string where = std::string(cls->name) + " language " + std::to_string(language) + " \"" + text + "\"";
        EXPECT_FALSE(text.empty()) << where;
        // The part of the caption's view that the button shows.
        const kv::Rect visible = caption.Bounds().Intersect(b->Bounds().MoveTo({0, 0}));
        const ge::TextLayout layout = caption.GetLayout();
        EXPECT_LE(layout.width, visible.W()) << where;
        ASSERT_FALSE(layout.lines.empty()) << where;
        EXPECT_FALSE(layout.lines.front().ellipsis) << where;
        // Centred in the visible part, as drawn.
        EXPECT_EQ(caption.Bounds().x1 + caption.Bounds().x2, visible.x1 + visible.x2) << where;
        // Buttons stand inside the dialog and apart from each other.
        EXPECT_TRUE(inside.Contains(b->Bounds())) << where;
        if (i > 0) {
          EXPECT_LE(dialog->GetButton(i - 1)->Bounds().x2, b->Bounds().x1) << where;
        }
      }
      dialog->ClearAllSlot(nullptr);
      Settle();
    }
  }
  Skin()->SetMenuLanguage(0);
}

// The help row of the 2D format choice reads "OK" and "Exit" on every road
// that leads to it: opened alone, in place of the start message, and after
// the format choice was left with Exit (the start message comes between).
TEST_F(ThreeDTest, TheTwoDFormatChoiceShowsItsKeysOnEveryRoad) {
  Input(OAM_3D_MODE_SBS);
  Skin()->OnSetThreeDStartMessage(1);
  const auto helpRow = [this] {
    std::string keys;
    for (const Core::SeenText& t : SeenTexts())
      if (t.where.find("< NonMenuSystem::HelpBar <") != std::string::npos && t.cover == Core::Cover::kNone)
        keys += t.text + " ";
    return keys;
  };
  const struct {
    const char* road;
    std::function<void()> before;
  } roads[] = {
      {"alone", [] {}},
      {"over the start message", [this] {
         Nms()->Open(&ThreeD::StartMessage::StaticClass());
         Settle();
       }},
      {"after the format choice's Exit", [this] {
         Nms()->Open(&ThreeD::SelectFormat::StaticClass());
         Settle();
         Press("exit");
         Settle();
       }},
  };
  for (const auto& r : roads) {
    r.before();
    ASSERT_NE(Nms()->Open(&ThreeD::Select2DFormat::StaticClass()), nullptr) << r.road;
    Run(300);
    ASSERT_NE(Open<ThreeD::Select2DFormat>(), nullptr) << r.road;
    EXPECT_EQ(helpRow(), "OK Exit ") << r.road << "\n" << SeenList();
    Press("exit");
    Run(300);
    EXPECT_EQ(Open<ThreeD::Select2DFormat>(), nullptr) << r.road;
  }
}

// A new 3D set with a side-by-side picture on its input, nothing of its 3D
// settings forced.
class NewThreeDSetTest : public livetvtest::LiveTVTest {
 protected:
  void SetUpData() override {
    ASSERT_TRUE(Tv().SetState("oem.38", "0"));           // a 3D panel
    ASSERT_TRUE(Tv().SetState("3d.input_format", "2"));  // side by side
  }
  // The 3D key and OK on the choice it offers.
  void Start3D() {
    Press("3d");
    Run(400);
    Press("ok");
    Run(600);
  }
  // The value the information's "Do not display again" shows, or "".
  std::string DoNotDisplayAgain() {
    for (const Core::SeenText& t : SeenTexts())
      if (t.where.find("< ThreeD::ImportantInfoDialog <") != std::string::npos && (t.text == "Yes" || t.text == "No"))
        return t.text;
    return "";
  }
};

// "Do not display again" reads No on a new set, which shows the important
// information at its first 3D start; Yes keeps it from showing again, after
// a restart too, and the setting stored keeps its meaning (1: show it).
TEST_F(NewThreeDSetTest, DoNotDisplayAgainSaysWhetherTheInformationShowsAgain) {
  Start3D();
  EXPECT_TRUE(Sees("Important information about 3D viewing")) << SeenList();
  EXPECT_EQ(DoNotDisplayAgain(), "No");
  Press("down");
  Press("right");
  Run(300);
  EXPECT_EQ(DoNotDisplayAgain(), "Yes");
  Press("ok");
  Run(600);
  EXPECT_FALSE(Sees("Important information about 3D viewing")) << SeenList();

  Restart();
  EXPECT_EQ(NonMenuSystem::Live::Skin()->OnGetThreeD_DisplayInfo(), 0);
  Start3D();
  EXPECT_FALSE(Sees("Important information about 3D viewing")) << SeenList();
  EXPECT_EQ(Find<ThreeD::ImportantInfoDialog>(), nullptr);
}

}  // namespace threedtest
