// The factory command families as the set receives them: picture modes and
// sizes, mute, inputs and their refusals, the picture reset and source
// restore chain, ADC calibration, captions, locks, channel presets and
// tuning retries, the sound dump and the factory reset.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "factory_support.h"
#include "platform/xpm/xpm_settings.h"
#include "runtime/clock.h"
#include "units/FactorySystem/AdjustmentMenu.h"
#include "units/FactorySystem/Screens.h"
#include "units/NonMenuSystem/DirectMessageBar.h"
#include "units/NonMenuSystem/ToggleOptionOverlay.h"
#include "units/NonMenuSystem/VolumeMuteBar.h"
#include "units/NonMenuSystem/PictureSizeDialog.h"
#include "units/SubSystem/MenuClass.h"

namespace {

using Lines = std::vector<std::string>;

class FactoryFamiliesTest : public FactoryTest {
 protected:
  bool IsOpen(const char* cls) {
    for (auto* f : OpenForms())
      if (f->KvClass() == kv::FindClass(cls)) return true;
    return false;
  }
  size_t Count(const std::string& call) { return Calls(call).size(); }
};

TEST_F(FactoryFamiliesTest, PictureModesAndSizesAreWrittenAndShownOnceAndRefusedWhereTheyMayNot) {
  const int32_t mode = Skin()->OnGetVideoPreset();
  const uint32_t other = mode == 2 ? 0x40BFCD : 0x40BFCE;  // picture mode 1 or 2
  ClearCallLog();
  Discrete(other);
  EXPECT_TRUE(IsOpen("NonMenuSystem::ToggleOptionOverlay"));
  EXPECT_NE(Skin()->OnGetVideoPreset(), mode);
  Press("exit");
  ClearCallLog();
  Discrete(other);  // equal to the current mode: nothing opens or is written
  EXPECT_FALSE(IsOpen("NonMenuSystem::ToggleOptionOverlay"));
  EXPECT_EQ(Count("XPM_SetVideoPreset"), 0u);

  ClearCallLog();
  Discrete(0x40BFC1);  // panoramic
  EXPECT_TRUE(IsOpen("NonMenuSystem::PictureSizeDialog"));
  EXPECT_EQ(Calls("XPM_SetPreferredViewMode"), Lines{"XPM_SetPreferredViewMode(0, 2)"});
  Press("exit");
  ClearCallLog();
  // On the tuner the normal and zoom sizes are not available: the notice.
  Discrete(0x40BE55);
  auto* notice = OpenForm<NonMenuSystem::DirectMessageBar>();
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(notice->MessageType, 4);
  EXPECT_TRUE(Calls("XPM_SetPreferredViewMode").empty());
}

TEST_F(FactoryFamiliesTest, MuteShowsItsBarAndInputsSwitchUnlessLocked) {
  Discrete(0x40BE82);
  EXPECT_EQ(Skin()->OnGetMute(), 1);
  EXPECT_TRUE(IsOpen("NonMenuSystem::CommonMuteBar"));
  Discrete(0x40BE81);
  EXPECT_EQ(Skin()->OnGetMute(), 0);
  EXPECT_FALSE(IsOpen("NonMenuSystem::CommonMuteBar"));

  ClearCallLog();
  Discrete(0x40BF24);  // HDMI 1
  ASSERT_EQ(Count("XPM_SetSource"), 1u);
  const int32_t hdmi = Skin()->GetSourceByType(0, 5, 1);
  EXPECT_EQ(Skin()->GetCurrentSource(0), hdmi);
  Discrete(0x40BF3D);  // back to the tuner
  Skin()->OnSetInputLock(1);
  ClearCallLog();
  Discrete(0x40BF24);
  EXPECT_EQ(Count("XPM_SetSource"), 0u);
  auto* notice = OpenForm<NonMenuSystem::DirectMessageBar>();
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(notice->MessageType, 4);
}

TEST_F(FactoryFamiliesTest, PictureResetAndSourceRestoreChain) {
  Code(0xCFA90FFF);  // outside factory mode: nothing
  EXPECT_EQ(Count("XPM_SetColorTemperature"), 0u);
  EnterFactoryMode();
  Skin()->OnSetAutoBrightnessSensor(1);
  const int32_t source = Skin()->GetCurrentSource(0);
  ClearCallLog();
  Code(0xCFA90FFF);
  EXPECT_EQ(Calls("XPM_SetExtOemPathProperty"), Lines{"XPM_SetExtOemPathProperty(0, 122, 18)"});
  EXPECT_EQ(Calls("XPM_SetVideoPreset"), Lines{"XPM_SetVideoPreset(0, 4)"});
  EXPECT_EQ(Calls("XPM_SetColorTemperature"), Lines{"XPM_SetColorTemperature(10)"});
  EXPECT_EQ(Skin()->OnGetAutoBrightnessSensor(), 0);
  Discrete(0x40BF24);
  Code(0x40EE54AB);  // a screen the restore's end clears
  ASSERT_NE(OpenForm<FactorySystem::DetectLightSensor>(), nullptr);
  ClearCallLog();
  Code(0xD0000000);
  EXPECT_EQ(Calls("XPM_SetSource"), Lines{"XPM_SetSource(0, " + std::to_string(source) + ")"});
  EXPECT_EQ(Calls("OAM_CustomDispatchFactoryCommand"), Lines{"OAM_CustomDispatchFactoryCommand(1089094333)"});
  EXPECT_EQ(OpenForm<FactorySystem::DetectLightSensor>(), nullptr) << "the chained end cleared the screens";
}

TEST_F(FactoryFamiliesTest, AdcCalibrationJudgesRedAndBlueAtTheirBounds) {
  struct Case {
    const char* r;
    const char* b;
    const char* verdict;
  };
  const Case cases[] = {{"3276", "4000", "ADC Adjust : NG! Make sure you are using 100% Colorbar!"},
                        {"3277", "4000", "ADC Adjust : OK"},
                        {"4914", "4914", "ADC Adjust : OK"},
                        {"4000", "4915", "ADC Adjust : NG! Make sure you are using 100% Colorbar!"}};
  for (const Case& c : cases) {
    Tv().SetState("oam.custom.20", c.r);
    Tv().SetState("oam.custom.22", c.b);
    Code(0x40EEA35C);
    auto* m = OpenForm<FactorySystem::LargeMessage>();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Text().ToUtf8(), c.verdict) << c.r << " " << c.b;
  }
  FailCall("XPM_SetExtOemPathProperty", 3);
  Code(0x40EEA35C);
  EXPECT_EQ(OpenForm<FactorySystem::LargeMessage>()->Text().ToUtf8(), "ADC Adjust : NG");
}

TEST_F(FactoryFamiliesTest, CaptionStylesStepAndCaptionServicesSwitch) {
  ASSERT_EQ(XPM_SetAdvancedCaptionProperty(3, 3), 0);
  ClearCallLog();
  Code(0x40BFF40B);  // the last of four sizes steps to 0
  EXPECT_EQ(Calls("XPM_SetAdvancedCaptionProperty"), Lines{"XPM_SetAdvancedCaptionProperty(3, 0)"});
  ASSERT_EQ(XPM_SetAdvancedCaptionProperty(7, 0x123456), 0);
  ClearCallLog();
  Code(0x40BFF708);  // a colour not in the table steps to entry 1
  EXPECT_EQ(Calls("XPM_SetAdvancedCaptionProperty"), Lines{"XPM_SetAdvancedCaptionProperty(7, 0)"});
  SubSystem::MenuClass* page = nullptr;
  for (auto* f : OpenForms())
    if (f->KvClass() == kv::FindClass("MenuSystem::DigitalCCMenu")) page = kv::Cast<SubSystem::MenuClass>(f);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->OnGetCurrentItemIndex(), 4);
  ClearCallLog();
  Code(0x40BFB24D);
  EXPECT_EQ(Calls("XPM_SetPreferredBasicCaptionService"), Lines{"XPM_SetPreferredBasicCaptionService(5)"});
  EXPECT_EQ(Calls("XPM_SetCaptionRenderState").size(), 3u);
  EXPECT_EQ(Calls("XPM_EnableCaptionRender"), Lines{"XPM_EnableCaptionRender(1)"});
}

TEST_F(FactoryFamiliesTest, LocksGoOnAndOff) {
  Code(0x40EE30CF);
  EXPECT_EQ(Calls("XPM_SetUsChildRating"), Lines{"XPM_SetUsChildRating(1, 17895697, 1, 1)"});
  EXPECT_EQ(Calls("XPM_SetUsAgeRating"), Lines{"XPM_SetUsAgeRating(3, 65536, 1, 1)"});
  EXPECT_EQ(Calls("XPM_SetParentalLocksState"), Lines{"XPM_SetParentalLocksState(2)"});
  int32_t mask = 0;
  ASSERT_EQ(XPM_GetParentalLocksMask(&mask), 0);
  EXPECT_NE(mask & 2, 0);
  ClearCallLog();
  Code(0x40EE31CE);
  EXPECT_EQ(Calls("XPM_SetUnratedContent"), Lines{"XPM_SetUnratedContent(0)"});
  EXPECT_EQ(Calls("XPM_SetParentalLocksState"), Lines{"XPM_SetParentalLocksState(0)"});
}

TEST_F(FactoryFamiliesTest, PresetsTuneOnceWithinSixSecondsAndRetriesAreCounted) {
  // No channel answers: every tuning runs all its attempts, 400 ms apart.
  FailCall("XPM_SetChannel", 5);
  int64_t before = kv::Now();
  Code(0x40AAFC03);  // digital 3-1 on antenna
  EXPECT_EQ(Calls("XPM_SetMedium"), Lines{"XPM_SetMedium(0)"});
  EXPECT_EQ(Calls("XPM_StartChannelDiscovery"), Lines{"XPM_StartChannelDiscovery(3, 1, 1, 0, 0, 1)"});
  EXPECT_EQ(Calls("XPM_SetChannel").size(), 23u);
  EXPECT_EQ(Calls("XPM_SetChannel")[0], "XPM_SetChannel(0, 3, 1)");
  EXPECT_GE(kv::Now() - before, 22 * 400);
  EXPECT_TRUE(Logged("XPM_SetChannel Error 0x5"));

  Run(4000);
  Code(0x40AAFC03);  // the same code again within 6 s: ignored
  EXPECT_EQ(Calls("XPM_StartChannelDiscovery").size(), 1u);
  Run(2500);
  Code(0x40AAFC03);
  EXPECT_EQ(Calls("XPM_StartChannelDiscovery").size(), 2u);
  ClearCallLog();
  Code(0x40AAFF00);  // another code in between lifts the guard: analogue 2
  EXPECT_EQ(Calls("XPM_SetChannel").size(), 12u);
  EXPECT_EQ(Calls("XPM_StartChannelDiscovery"), Lines{"XPM_StartChannelDiscovery(2, 1, 0, 1, 0, 1)"});
  Code(0x40AAFC03);
  EXPECT_EQ(Calls("XPM_StartChannelDiscovery").size(), 2u);

  // Direct tuning on cable, and the analogue channel codes (factory mode only).
  ClearCallLog();
  Code(0x40EEF10E);
  EXPECT_EQ(Calls("XPM_SetMedium"), Lines{"XPM_SetMedium(1)"});
  EXPECT_EQ(Calls("XPM_SetChannel")[0], "XPM_SetChannel(0, 17, 1)");
  ClearCallLog();
  Code(0x40EB05FF);
  EXPECT_TRUE(Calls("XPM_StartChannelDiscovery").empty());
  EnterFactoryMode();
  ClearCallLog();
  before = kv::Now();
  Code(0x40EB05FF);
  EXPECT_EQ(Calls("XPM_SetChannel").size(), 12u);
  EXPECT_EQ(Calls("XPM_SetChannel")[0], "XPM_SetChannel(0, 5, 0)");
  EXPECT_GE(kv::Now() - before, 11 * 400);
  ClearCallLog();
  Code(0x40EB63FF);  // channel 99
  EXPECT_EQ(Calls("XPM_StartChannelDiscovery")[0], "XPM_StartChannelDiscovery(99, 1, 0, 1, 0, 1)");
  ClearCallLog();
  Code(0x40EB6400);  // not an analogue channel code
  EXPECT_TRUE(Calls("XPM_StartChannelDiscovery").empty());
}

TEST_F(FactoryFamiliesTest, TheSoundDumpAndTheFactoryReset) {
  Code(0x40EA40BF);
  EXPECT_TRUE(Logged("MMode]:[not active]"));
  EXPECT_TRUE(Logged("Rear Shared Audio]:["));
  Code(0x40EE00FF);
  EXPECT_TRUE(Logged("MainApp::Standby: factory reset"));
  // The set starts as a new one, in the first-time setup, and its first
  // page answers the next key.
  Run(1000);
  ASSERT_TRUE(Sees("Choose the language of the menus")) << SeenList();
  Press("ok");
  Run(1000);
  EXPECT_FALSE(Sees("Choose the language of the menus")) << SeenList();
  EXPECT_FALSE(Screens().empty());
}

}  // namespace
