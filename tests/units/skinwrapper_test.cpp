// The skin's Wrapper against the simulated set: OEM properties, application
// settings, option-change marks, power timers, critical sections and the
// factory exit.
#include <gtest/gtest.h>

#include <string>

#include "platform/oam/oam_model.h"
#include "platform/xpm/xpm_oem.h"
#include "runtime/collector.h"
#include "strings/SkinBinWrapper.h"
#include "factory/factory_command.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/Wrapper.h"
#include "wrapper_fixture.h"

namespace wrappertest {
namespace {

using namespace ::SkinBinWrapper;

class SkinWrapperTest : public WrapperTest {
 protected:
  void SetUp() override {
    WrapperTest::SetUp();
    PersistentData::SetStoragePaths((dir_ / "settings.dat").string(), (dir_ / "settings.bak").string());
    s_ = kv::New<SkinBin::Wrapper>();
    kv::LockObject(s_);
    s_->OnSetRoot(root_);
    s_->Initialize();
    s_->PersistentData = kv::New<PersistentData::PersistentData>();
    tv_->ClearCallLog();
  }
  void TearDown() override {
    kv::UnlockObject(s_);
    WrapperTest::TearDown();
  }
  void SetOem(int32_t id, int32_t v) { ASSERT_EQ(XPM_SetExtOemProperty(id, v), 0); }
  SkinBin::Wrapper* s_ = nullptr;
};

TEST_F(SkinWrapperTest, SeriesTypeIsReadOnceFromThePanelCode) {
  const std::pair<int32_t, int32_t> cases[] = {{0, 2}, {3, 2}, {12, 2}, {6, 0}, {8, 0}, {9, 3}, {11, 3}, {5, 1}};
  for (auto [code, type] : cases) {
    SetOem(XPM_OEM_PANEL_CODE, code);
    s_->SeriesType = SkinBin::SERIES_TYPE_UNKNOWN;
    EXPECT_EQ(s_->OnGetSeriesType(), type) << "code " << code;
  }
  tv_->ClearCallLog();
  EXPECT_EQ(s_->OnGetSeriesType(), 1);
  EXPECT_EQ(Count("XPM_GetExtOemProperty"), 0u) << "the second call is served from the cache";
  // A failed read is no panel code: the plain model answers, and the code
  // is read again at the next call.
  SetOem(XPM_OEM_PANEL_CODE, 9);
  s_->SeriesType = SkinBin::SERIES_TYPE_UNKNOWN;
  tv_->FailCall("XPM_GetExtOemProperty", 5);
  EXPECT_EQ(s_->OnGetSeriesType(), 1);
  EXPECT_TRUE(Logged("XPM_GetExtOemProperty"));
  tv_->ClearFailures();
  EXPECT_EQ(s_->OnGetSeriesType(), 3);
}

TEST_F(SkinWrapperTest, OemWordsRecordsAndDerivedValues) {
  s_->OnSetPowerLed(3);
  EXPECT_EQ(s_->OnGetPowerLed(), 3);
  for (int32_t id = 67; id <= 75; ++id) SetOem(id, 0xFFFF);
  EXPECT_EQ(s_->GetFactoryTestStatus().ToUtf8(), "0xfff7H");
  SetOem(XPM_OEM_VIDEO_OUTPUT_MODE, 2);
  s_->SwitchOutputMode();
  int32_t mode = 0;
  XPM_GetExtOemProperty(XPM_OEM_VIDEO_OUTPUT_MODE, &mode);
  EXPECT_EQ(mode, 1);
  tv_->ClearCallLog();
  EXPECT_FALSE(s_->GetKeyHeld(5));
  EXPECT_EQ(Count("XPM_GetExtOemProperty"), 0u);
  SetOem(XPM_OEM_KEY_HELD_HIDDEN_MENU, 1);
  EXPECT_TRUE(s_->GetKeyHeld(0x10002));
  s_->SetBacklightAdjustment(4, 77);
  EXPECT_EQ(s_->GetBacklightAdjustment(4), 77);
  s_->ResetBacklightAdjustment();
  EXPECT_EQ(s_->GetBacklightAdjustment(4), 58) << "the set's own curve, rising from 30 by 7 a level";
}

TEST_F(SkinWrapperTest, WhiteBalanceIsReadModifyWriteAndSkipsTheWriteAfterAFailedRead) {
  s_->OnSetRed_Gain(90);
  EXPECT_EQ(s_->OnGetRed_Gain(), 90);
  EXPECT_EQ(s_->OnGetBlue_Offset(), 50) << "the other values stay";
  EXPECT_GE(Count("XPM_SetColorTemperature"), 1u) << "the colour temperature is applied again";
  tv_->ClearCallLog();
  tv_->FailCall("XPM_GetExtOemProperty", 5);
  s_->OnSetGreen_Gain(99);
  tv_->ClearFailures();
  EXPECT_EQ(Count("XPM_SetExtOemProperty"), 0u);
  EXPECT_EQ(s_->OnGetRed_Gain(), 90);
  // A value outside the sliders' 0..100 is refused: the set keeps its own.
  s_->OnSetRed_Gain(140);
  EXPECT_EQ(s_->OnGetRed_Gain(), 90);
}

TEST_F(SkinWrapperTest, StoreModeEnteredTwiceAndLeftKeepsTheUsersPowerDown) {
  s_->OnSetAutomaticPowerDown(1);
  s_->OnSetLocation(1);
  EXPECT_EQ(s_->PersistentData->GetInteger(KEY_SAVED_POWER_DOWN), 2);
  EXPECT_EQ(s_->OnGetAutomaticPowerDown(), 0);
  EXPECT_EQ(s_->OnGetStickerDemo(), 1);
  s_->OnSetLocation(1);
  EXPECT_EQ(s_->PersistentData->GetInteger(KEY_SAVED_POWER_DOWN), 2) << "only the change into store mode saves";
  int32_t where = -1;
  XPM_GetExtOemPathProperty(0, XPM_OEM_PATH_STORE_LOCATION, &where);
  EXPECT_EQ(where, 1);
  s_->OnSetLocation(0);
  EXPECT_EQ(s_->OnGetAutomaticPowerDown(), 1);
  EXPECT_EQ(s_->OnGetLocation(), 0);
  EXPECT_EQ(s_->OnGetStickerDemo(), 0);
}

TEST_F(SkinWrapperTest, PlainSettingsChannelBrowserListsAndInputLock) {
  EXPECT_EQ(s_->GetCBListsNum(), 0);
  s_->OnSetInputsList(1);
  s_->OnSetHistoryList(1);
  EXPECT_EQ(s_->GetCBListsNum(), 2);
  EXPECT_EQ(s_->OnGetAntCableList(), 0);
  s_->OnSetScreenSaverDelay(7);
  EXPECT_EQ(s_->OnGetScreenSaverDelay(), 7);
  s_->SetSourceLabel(kHdmi1, kv::String::FromUtf8("Console"));
  EXPECT_EQ(s_->GetSourceLabel(kHdmi1).ToUtf8(), "Console");
  s_->SetSourceLabel(kHdmi1, kv::String());
  EXPECT_TRUE(s_->GetSourceLabel(kHdmi1).Empty());
  s_->OnSetInputLock(2);
  EXPECT_EQ(Calls("XPM_SetChannelLock").size(), 2u);
  EXPECT_EQ(Calls("XPM_SetChannelLock").back(), "XPM_SetChannelLock(4, 0, 1)");
  EXPECT_FALSE(Calls("XPM_SetSourceLock").empty());
  tv_->ClearCallLog();
  s_->OnSetInputLock(1);
  EXPECT_EQ(Calls("XPM_SetChannelLock").back(), "XPM_SetChannelLock(4, 0, 0)");
  s_->OnSetGameTimerIndex(7);
  EXPECT_EQ(s_->GetApplicationTimer(::Wrapper::APP_TIMER_GAME), 0);
  EXPECT_FALSE(s_->PersistentData->GetBool(KEY_GAME_TIMER_ON));
}

TEST_F(SkinWrapperTest, OptionChangeMarksPerPictureModeAndGroup) {
  const int32_t mode = s_->OnGetVideoPreset();
  s_->MarkOptionChange(0x01000002);  // contrast
  EXPECT_TRUE(s_->IsOptionChanged(GROUP_BASIC_PICTURE));
  EXPECT_FALSE(s_->IsOptionChanged(GROUP_COLOR));
  EXPECT_EQ(s_->PersistentData->GetInteger(kv::ConcatString(kv::LoadString(KEY_OPTION_CHANGE_PREFIX),
                                                            kv::LoadString(GROUP_BASIC_PICTURE))),
            1 << mode);
  EXPECT_EQ(Count("XPM_Utility_GlowSync_ForceApply"), 0u);
  s_->MarkOptionChange(0x81000011);  // room lighting: no group
  EXPECT_FALSE(s_->IsOptionChanged(GROUP_ADVANCED_PICTURE));
  EXPECT_FALSE(s_->IsOptionChanged(T_GAME_TIMER)) << "not a group name";
  s_->StartGlowSyncThread();
  s_->MarkOptionChange(0x01000001);  // backlight
  EXPECT_EQ(Count("XPM_Utility_GlowSync_ForceApply"), 1u);
  s_->MarkOptionChange(0x87000005);
  EXPECT_TRUE(s_->IsOptionChanged(GROUP_ADVANCED_PICTURE));
  s_->SetOptionChange(GROUP_BASIC_PICTURE, false);
  EXPECT_FALSE(s_->IsOptionChanged(GROUP_BASIC_PICTURE));
  EXPECT_EQ(s_->GetAdjustBarRange(0x83000000).Max, s_->OnGetAntCableIn() == 1 ? 135 : 69);
  EXPECT_EQ(s_->GetAdjustBarRange(0x01000002).Max, 100);
}

TEST_F(SkinWrapperTest, AutoPowerDownWarnsThenSendsStandbyAndKeysRestartIt) {
  s_->OnSetAutomaticPowerDown(1);
  EXPECT_EQ(s_->AutoPowerTimer, 240);
  driver.RunFor(120LL * 60000, 60000);
  s_->StartAutoPowerTimer();  // a key
  driver.RunFor(200LL * 60000, 60000);
  EXPECT_TRUE(root_->received.empty());
  driver.RunFor(41LL * 60000, 60000);
  EXPECT_EQ(root_->Names(), std::vector<std::string>{"standby 1"});
  s_->OnSetAutomaticPowerDown(0);
  EXPECT_EQ(s_->GetApplicationTimer(::Wrapper::APP_TIMER_AUTO_POWER), 0);
}

TEST_F(SkinWrapperTest, OnTimerShutdownEndsInItsStandbyReason) {
  s_->StartOnTimerShutdownTimer();
  driver.RunFor(61LL * 60000, 60000);
  EXPECT_EQ(root_->Names(), std::vector<std::string>{"standby 2"});
}

TEST_F(SkinWrapperTest, CriticalSectionHoldsTheSleepStandbyAndReleasesIt) {
  s_->OnSetSleepIndex(2);
  s_->EnterAppCriticalSection(true);
  driver.RunFor(3LL * 60000, 60000);
  EXPECT_TRUE(root_->received.empty()) << "held while the section runs";
  s_->ExitAppCriticalSection();
  EXPECT_EQ(root_->Names(), std::vector<std::string>{"standby 5"});
  // A cancel inside the section is no expiry.
  root_->received.clear();
  s_->OnSetSleepIndex(2);
  s_->EnterAppCriticalSection(true);
  s_->OnSetSleepIndex(0);
  s_->ExitAppCriticalSection();
  EXPECT_TRUE(root_->received.empty());
  // Without keep-sleep the section cancels the sleep timer.
  s_->OnSetSleepIndex(2);
  s_->EnterAppCriticalSection(false);
  driver.RunFor(3LL * 60000, 60000);
  s_->ExitAppCriticalSection();
  EXPECT_TRUE(root_->received.empty());
}

TEST_F(SkinWrapperTest, GameTimerWarnsAtTenThreeAndOneMinutes) {
  s_->OnSetGameTimerIndex(1);
  EXPECT_TRUE(s_->PersistentData->GetBool(KEY_GAME_TIMER_ON));
  EXPECT_EQ(s_->RemainGameTime, 30);
  driver.RunFor(31LL * 60000, 60000);
  EXPECT_EQ(s_->OnGetGameTimerIndex(), 0);
  EXPECT_EQ(s_->OnGetInputLock(), 2) << "the game timer's end locks the inputs";
}

TEST_F(SkinWrapperTest, FactoryModeCaptionsAndExit) {
  bInFactoryMode = 1;
  ASSERT_EQ(OAM_SetCustomizedProperty(OAM_CUSTOM_FACTORY_FLAG, 1), 0);
  tv_->ClearCallLog();
  s_->OnSetAutomaticPowerDown(1);
  s_->OnSetFactoryMode(kv::LoadString(FACTORY_MODE_CAPTION));
  EXPECT_EQ(s_->GetApplicationTimer(::Wrapper::APP_TIMER_AUTO_POWER), 0);
  s_->OnSetFactoryMode(kv::String());
  EXPECT_EQ(s_->GetApplicationTimer(::Wrapper::APP_TIMER_AUTO_POWER), 240);
  EXPECT_EQ(bInFactoryMode, 0);
  EXPECT_EQ(Calls("OAM_Led_SetState"), std::vector<std::string>{"OAM_Led_SetState(1)"});
  EXPECT_EQ(Calls("MPLCore_GpioSetPin"), std::vector<std::string>{"MPLCore_GpioSetPin(75, 0)"});
  EXPECT_EQ(Count("BCM_ControlPrintf"), 1u);
  EXPECT_EQ(Calls("OAM_SetCustomizedProperty"), std::vector<std::string>{"OAM_SetCustomizedProperty(26, 0)"});
  s_->OnSetFactoryMode(kv::LoadString(SERVICE_MODE_CAPTION));
  int32_t flag = 0;
  XPM_GetExtOemProperty(XPM_OEM_FACTORY_MODE, &flag);
  EXPECT_EQ(flag, 1);
  tv_->ClearCallLog();
  s_->OnSetFactoryMode(kv::LoadString(SERVICE_MODE_CAPTION));
  EXPECT_TRUE(tv_->CallLog().empty()) << "the same caption twice changes nothing";
}

TEST_F(SkinWrapperTest, UpdateServicesAnswersAndReboot) {
  EXPECT_EQ(s_->GetUpdateProgress(), 0);
  EXPECT_FALSE(s_->IsUSBUpdate());
  s_->PersistentData->PutString(KEY_USB_UPDATE, kv::String::FromUtf8("usb"));
  EXPECT_TRUE(s_->IsUSBUpdate());
  s_->UpdateReboot();
  EXPECT_EQ(root_->Names(), std::vector<std::string>{"standby 7"});
}

TEST_F(SkinWrapperTest, EveryOemAndPlatformCallFailingInTurnYieldsItsDefault) {
  const char* calls[] = {"XPM_GetExtOemProperty", "XPM_SetExtOemProperty", "XPM_GetExtOemPathProperty",
                         "XPM_SetExtOemPathProperty", "XPM_Utility_GlowSync_ForceApply", "OAM_GetModelInfo",
                         "OAM_Led_SetState", "OAM_GetCustomizedProperty", "MPLCore_GpioSetPin",
                         "TVSM_RegisterTableGetString", "TVSM_RegisterTablePutString", "XPM_SetUILanguage"};
  for (const char* call : calls) {
    tv_->FailCall(call, 7);
    ClearLines();
    s_->OnGetRoomLighting();
    s_->OnSetRoomLighting(2);
    s_->GetTestPattern();
    s_->OnSetLocation(1);
    s_->OnSetLocation(0);
    s_->StartGlowSyncThread();
    s_->ForceApplyGlowSync();
    FactoryCommandExitMMode();
    s_->SetMenuLanguage(1);
    s_->SetMenuLanguage(0);
    EXPECT_TRUE(Logged(call)) << call;
    EXPECT_GE(tv_->CountCalls(call), 1u) << call;
    tv_->ClearFailures();
  }
  // The getters' defaults.
  s_->OnSetRoomLighting(2);
  SetOem(XPM_OEM_AUTO_BRIGHTNESS_SENSOR, 1);
  SetOem(XPM_OEM_FACTORY_TEST_FIRST, 5);
  tv_->FailCall("XPM_GetExtOemProperty", 7);
  EXPECT_EQ(s_->OnGetRoomLighting(), 0);
  EXPECT_EQ(s_->OnGetAutoBrightnessSensor(), 0);
  EXPECT_EQ(s_->GetFactoryTestStatus().ToUtf8(), "0x0000H");
  EXPECT_EQ(s_->GetADCCalibResult(2), 2) << "the in-word stays";
  tv_->FailCall("XPM_GetExtOemPathProperty", 7);
  EXPECT_EQ(s_->GetTestPattern(), 0);
}

}  // namespace
}  // namespace wrappertest
