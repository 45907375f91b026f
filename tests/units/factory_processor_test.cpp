// The factory command processor driven as the platform drives it: factory
// codes arrive as middleware events, the host runs the processor on the GUI
// task and the factory sub-system shows the result. Each test checks what
// the set received, the serial port and the screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "factory/factory_command.h"
#include "factory_support.h"
#include "runtime/clock.h"
#include "units/FactorySystem/Screens.h"
#include "units/SubSystem/MenuClass.h"

namespace {

using Lines = std::vector<std::string>;
constexpr uint32_t kBackground = 0x0B0A09;  // ColorsMenuBgColor as the OSD holds it

bool Has(const Lines& lines, const std::string& line) {
  for (const auto& l : lines)
    if (l == line) return true;
  return false;
}

TEST_F(FactoryTest, TheAccessCodeEntersFactoryModeAndTheExitCodeLeavesIt) {
  Skin()->OnSetAutoAspect(1);
  Skin()->OnSetStretch43(1);
  ClearCallLog();
  // Before the access code a factory-mode-only code changes nothing.
  Code(0x40E23380);
  EXPECT_TRUE(Calls("OAM_SetCustomizedProperty").empty());
  EXPECT_EQ(OpenForm<FactorySystem::ValueDisplay>(), nullptr);

  const int64_t before = kv::Now();
  EnterFactoryMode();
  EXPECT_EQ(Calls("BCM_ControlPrintf"), Lines{"BCM_ControlPrintf(0)"});
  EXPECT_EQ(Calls("MPLCore_GpioSetPin"), Lines{"MPLCore_GpioSetPin(75, 1)"});
  EXPECT_GE(kv::Now() - before, 100) << "the pin settles for 100 ms";
  EXPECT_NE(SerialLog().find("Hello! Serial is now active\r\n"), std::string::npos);
  EXPECT_EQ(Calls("OAM_SetCustomizedProperty"), Lines{"OAM_SetCustomizedProperty(26, 1)"});
  EXPECT_EQ(bInFactoryMode, 1);
  ASSERT_NE(Factory()->Indicator(), nullptr);
  EXPECT_EQ(Factory()->Indicator()->Caption.ToUtf8(), "F");
  EXPECT_EQ(PixelAt(871, 33), kBackground) << "the indicator is drawn in the corner";
  EXPECT_EQ(Skin()->OnGetAutoAspect(), 0);
  EXPECT_EQ(Skin()->OnGetStretch43(), 0);

  // A second access code runs the entry again but leaves property 26 alone.
  EnterFactoryMode();
  EXPECT_EQ(Calls("OAM_SetCustomizedProperty").size(), 1u);
  EXPECT_EQ(Calls("MPLCore_GpioSetPin").size(), 2u);

  // Now the gated code acts.
  Code(0x40E23380);
  EXPECT_TRUE(Has(Calls("OAM_SetCustomizedProperty"), "OAM_SetCustomizedProperty(57, 128)"));
  auto* value = OpenForm<FactorySystem::ValueDisplay>();
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->FacName.ToUtf8(), "RDRV");
  EXPECT_EQ(value->HexText().ToUtf8(), "80h");

  ClearCallLog();
  Code(0x40EE03FC);
  const Lines gpio = Calls("MPLCore_GpioSetPin");
  ASSERT_FALSE(gpio.empty());
  EXPECT_EQ(gpio[0], "MPLCore_GpioSetPin(75, 0)");
  EXPECT_EQ(Calls("BCM_ControlPrintf")[0], "BCM_ControlPrintf(1)");
  EXPECT_EQ(Calls("OAM_Led_SetState")[0], "OAM_Led_SetState(1)");
  EXPECT_EQ(Calls("OAM_SetCustomizedProperty"), Lines{"OAM_SetCustomizedProperty(26, 0)"});
  EXPECT_EQ(bInFactoryMode, 0);
  EXPECT_EQ(Factory()->Indicator(), nullptr);
  EXPECT_TRUE(Skin()->OnGetFactoryMode().Empty());
  EXPECT_EQ(OpenForm<FactorySystem::ValueDisplay>(), nullptr);
  EXPECT_NE(PixelAt(871, 33), kBackground);
  // The next key still acts.
  ClearCallLog();
  Press("vol+");
  EXPECT_FALSE(Calls("XPM_SetVolume").empty());
}

TEST_F(FactoryTest, ABoardWithoutConsoleKeepsItsPrintAndTheExitCodeWorksOutsideTheMode) {
  Tv().SetState("oam.model.type", "3");
  EnterFactoryMode();
  EXPECT_TRUE(Calls("BCM_ControlPrintf").empty());
  Code(0x40EE03FC);
  ClearCallLog();
  Code(0x40EE03FC);  // outside factory mode: the exit steps still run
  EXPECT_EQ(Calls("MPLCore_GpioSetPin"), Lines{"MPLCore_GpioSetPin(75, 0)"});
  EXPECT_EQ(Calls("OAM_Led_SetState"), Lines{"OAM_Led_SetState(1)"});
  EXPECT_TRUE(Calls("BCM_ControlPrintf").empty());
  // The Wrapper's way out runs the same steps.
  EnterFactoryMode();
  ClearCallLog();
  EXPECT_EQ(FactoryCommandExitMMode(), 1);
  EXPECT_EQ(bInFactoryMode, 0);
  EXPECT_EQ(Calls("OAM_SetCustomizedProperty"), Lines{"OAM_SetCustomizedProperty(26, 0)"});
}

TEST_F(FactoryTest, WhiteBalanceDrivesStepWithinTheirRange) {
  EnterFactoryMode();
  auto shown = [&] { return OpenForm<FactorySystem::ValueDisplay>(); };
  Tv().SetState("oam.custom.57", "255");
  Code(0x40E333CC);
  ASSERT_NE(shown(), nullptr);
  EXPECT_EQ(shown()->FacValue, 255);
  ClearCallLog();
  Code(0x40EE1CE3);  // +1 at 255: nothing written, nothing shown
  Code(0x40EE1EE1);  // +4 likewise
  EXPECT_TRUE(Calls("OAM_SetCustomizedProperty").empty());
  Code(0x40EE1DE2);  // -1
  EXPECT_EQ(Calls("OAM_SetCustomizedProperty"), Lines{"OAM_SetCustomizedProperty(57, 254)"});
  EXPECT_EQ(shown()->FacValue, 254);
  EXPECT_EQ(shown()->FacName.ToUtf8(), "RDRV");

  Code(0x40E23400);  // blue drive 0
  EXPECT_EQ(shown()->FacName.ToUtf8(), "BDRV");
  ClearCallLog();
  Code(0x40EE1DE2);  // -1 at 0
  Code(0x40EE1FE0);  // -4 at 0
  EXPECT_TRUE(Calls("OAM_SetCustomizedProperty").empty());
  Code(0x40EE1EE1);  // +4
  EXPECT_EQ(Calls("OAM_SetCustomizedProperty"), Lines{"OAM_SetCustomizedProperty(59, 4)"});
  EXPECT_EQ(shown()->BitText().ToUtf8(), "00000100");

  // Any other code deselects the drive: the adjust keys do nothing.
  Code(0x40EE3CC3);
  ClearCallLog();
  Code(0x40EE1CE3);
  EXPECT_TRUE(Calls("OAM_SetCustomizedProperty").empty());

  // A drive that cannot be read is left alone: no step from 0 over the
  // calibrated value, and nothing shown.
  Code(0x40E334CB);
  ClearCallLog();
  FailCall("OAM_GetCustomizedProperty", 7);
  Code(0x40EE1EE1);
  ClearFailures();
  EXPECT_TRUE(Calls("OAM_SetCustomizedProperty").empty());
  EXPECT_TRUE(Logged("OAM_GetCustomizedProperty OAM_PROP_SRV_COLORTEMP_BGAIN Error"));
}

TEST_F(FactoryTest, DirectValuesOpenTheirPagesAtTheRowAfterTheIndex) {
  EnterFactoryMode();
  struct Case {
    uint32_t code;
    std::string call;
    const char* page;
    int32_t row;
  };
  const Case cases[] = {
      {0x40E20232, "XPM_SetSaturation(0, 50)", "MenuSystem::PictureMenu", 6},
      {0x40E20300, "XPM_SetHue(0, -50)", "MenuSystem::PictureMenu", 7},
      {0x40E20364, "XPM_SetHue(0, 50)", "MenuSystem::PictureMenu", 7},
      {0x40E21314, "XPM_SetBalance(-30)", "MenuSystem::SoundMenu", 2},
  };
  for (const Case& c : cases) {
    ClearCallLog();
    Code(c.code);
    const std::string name = c.call.substr(0, c.call.find('('));
    EXPECT_EQ(Calls(name), Lines{c.call}) << c.call;
    SubSystem::MenuClass* page = nullptr;
    for (auto* f : OpenForms())
      if (f->KvClass() == kv::FindClass(c.page)) page = kv::Cast<SubSystem::MenuClass>(f);
    ASSERT_NE(page, nullptr) << c.page;
    EXPECT_EQ(page->OnGetCurrentItemIndex(), c.row) << c.call;
  }
  ClearCallLog();
  Code(0x40E20365);  // past the hue range: nothing
  EXPECT_TRUE(Calls("XPM_SetHue").empty());
  Code(0x40E21040);
  EXPECT_EQ(Calls("XPM_SetVolume"), Lines{"XPM_SetVolume(64)"});
}

TEST_F(FactoryTest, ModelCodesActOnlyInFactoryModeAndTheServiceMenuRefusesAnUnknownRow) {
  Code(0x40F244BB);
  EXPECT_TRUE(Calls("BCM_SetModel").empty());
  EnterFactoryMode();
  ClearCallLog();
  Code(0x40F244BB);
  EXPECT_EQ(Calls("OAM_SetCustomizedProperty"),
            (Lines{"OAM_SetCustomizedProperty(18, 68)", "OAM_SetCustomizedProperty(19, 12)"}));
  EXPECT_EQ(Calls("BCM_SetModel"), Lines{"BCM_SetModel(0)"});
  ClearCallLog();
  EXPECT_EQ(ServiceSelectModel(12), 1);
  EXPECT_EQ(Calls("BCM_SetModel"), Lines{"BCM_SetModel(2)"});
  ClearCallLog();
  EXPECT_EQ(ServiceSelectModel(13), 0);
  EXPECT_EQ(ServiceSelectModel(-1), 0);
  EXPECT_TRUE(Calls("OAM_SetCustomizedProperty").empty());
}

}  // namespace
