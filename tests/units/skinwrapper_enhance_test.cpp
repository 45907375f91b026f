// The skin Wrapper's picture and sound enhancements against the simulated
// set, and the failing-call table of the recording and enhancement calls.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/db/db.h"
#include "platform/oam/oam_frc.h"
#include "platform/xpm/xpm_oem.h"
#include "platform/xpm/xpm_enhance.h"
#include "platform/xpm/xpm_record.h"
#include "units/SkinBin/RatingData.h"
#include "units/SkinBin/RecordData.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/LocalTime.h"
#include "units/Structures/EventInfo.h"
#include "units/Structures/VirtualChannel.h"
#include "skinwrapper_media_fixture.h"

namespace wrappertest {
namespace {

class SkinEnhanceTest : public SkinMediaTest {
 protected:
  int32_t FrcMode() {
    int32_t v = -1;
    XPM_GetFrcMode(&v);
    return v;
  }
  int32_t SrNumber() {
    int32_t v = -1;
    XPM_GetSuperResolutionLevel(0, &v);
    return v;
  }
  uint32_t Tint(int32_t colour) {
    uint32_t w = 0;
    XPM_GetCM3DTintForge(colour, &w);
    return w;
  }
};

TEST_F(SkinEnhanceTest, MotionAndFilmWriteTheFrcModeOfTheTable) {
  XPM_SetFrcFilmStrength(2);
  s_->OnSetStillpane(1);
  EXPECT_EQ(FrcMode(), 6);
  s_->OnSetStillpane(0);
  EXPECT_EQ(FrcMode(), 7);
  s_->OnSetFilmStabilization(0);  // motion off
  EXPECT_EQ(FrcMode(), 1);
  s_->OnSetStillpane(3);
  EXPECT_EQ(FrcMode(), 2);
  s_->OnSetFilmStabilization(1);
  EXPECT_EQ(FrcMode(), 5);
  EXPECT_EQ(s_->OnGetStillpane(), 3);
  EXPECT_EQ(s_->OnGetFilmStabilization(), 1);
  EXPECT_EQ(Count("XPM_SetCadenceMode"), 0u) << "series 1 leaves the cadence";

  s_->OnSetFrcMode(1);
  EXPECT_EQ(FrcMode(), 6);
  EXPECT_EQ(s_->OnGetFrcMode(), 1);
  s_->OnSetStillpane240(4);
  EXPECT_EQ(s_->OnGetFrcVideo(), 4);
  EXPECT_EQ(FrcMode(), 6) << "the 240 setting writes the strength only";
  s_->OnSetFilmStabilization240(1);
  EXPECT_EQ(s_->OnGetQRV_CinemaMode(), 1);
  s_->OnSetQRV_CinemaMode(0);
  EXPECT_EQ(s_->OnGetQRV_CinemaMode(), 0);
  s_->SeriesType = 3;
  s_->OnSetFilmStabilization(2);
  EXPECT_EQ(s_->OnGetQRV_CinemaMode(), 1) << "series 3 follows the film setting";
}

TEST_F(SkinEnhanceTest, SuperResolutionNumberCarriesStatusAndLevel) {
  // Picture mode 0 of the menu is the set's preset 8; the set's preset 0 is
  // the menu's picture mode 2.
  XPM_SetSuperResolutionLevel(0, 8);
  Put(sim::Setting::kVideoPreset, 0, 8);
  EXPECT_EQ(s_->OnGetSuperResolutionLevel(), 0) << "8 - 5 - 3 in picture mode 0";
  Put(sim::Setting::kVideoPreset, 0, 0);
  EXPECT_EQ(s_->OnGetSuperResolutionLevel(), 3) << "picture mode 2";
  Put(sim::Setting::kVideoPreset, 0, 4);
  EXPECT_EQ(s_->OnGetSuperResolutionLevel(), 3) << "picture mode 1";
  EXPECT_EQ(s_->OnGetSuperResolutionStatus(), 1);

  XPM_SetSuperResolutionLevel(0, 2);
  s_->OnSetSuperResolutionStatus(1);
  EXPECT_EQ(SrNumber(), 7);
  s_->OnSetSuperResolutionStatus(1);
  EXPECT_EQ(SrNumber(), 7);
  s_->OnSetSuperResolutionLevel(4);
  EXPECT_EQ(SrNumber(), 9);
  s_->OnSetSuperResolutionStatus(0);
  EXPECT_EQ(SrNumber(), 4);
  Put(sim::Setting::kVideoPreset, 0, 8);
  s_->OnSetSuperResolutionLevel(-1);
  EXPECT_EQ(SrNumber(), 2);
}

TEST_F(SkinEnhanceTest, TintForgeChangesOneFieldAndSkipsTheWriteAfterAFailedRead) {
  s_->OnSetRedHue(-10);
  EXPECT_EQ(Tint(0), 0x808076u) << "hue 118, saturation and brightness kept";
  s_->OnSetCyanBrightness(20);
  EXPECT_EQ(Tint(5), 0x948080u);
  EXPECT_EQ(s_->OnGetRedHue(), -10);
  EXPECT_EQ(s_->OnGetCyanBrightness(), 20);
  EXPECT_EQ(s_->OnGetGreenSaturation(), 0);

  tv_->FailCall("XPM_GetCM3DTintForge", 9);
  tv_->ClearCallLog();
  s_->OnSetRedSaturation(5);
  EXPECT_EQ(Count("XPM_SetCM3DTintForge"), 0u) << "no write of unknown neighbours";
  tv_->ClearFailures();
  EXPECT_EQ(Tint(0), 0x808076u);

  s_->ResetTintForge();
  EXPECT_EQ(Tint(0), 0x808080u);
  EXPECT_EQ(Calls("XPM_ResetTintForge").size(), 1u);
}

TEST_F(SkinEnhanceTest, RgbFiltersBacklightGammaAndTheBoard) {
  // A new set filters no colour: all three are on.
  int32_t word = 0;
  XPM_GetColorTemperature_RGB_Filter(&word);
  EXPECT_EQ(word, 0x111111);
  s_->OnSetRGBFilterGreen(0);
  s_->OnSetRGBFilterRed(1);
  s_->OnSetRGBFilterBlue(1);
  XPM_GetColorTemperature_RGB_Filter(&word);
  EXPECT_EQ(word, 0x100100 | 0x1001);
  EXPECT_EQ(s_->OnGetRGBFilterGreen(), 0);
  s_->OnSetRGBFilterRed(0);
  EXPECT_EQ(s_->OnGetRGBFilterRed(), 0);
  EXPECT_EQ(s_->OnGetRGBFilterBlue(), 1);

  s_->OnSetLumiflux(1);
  EXPECT_EQ(s_->OnGetLumiflux(), 1);
  EXPECT_EQ(Count("XPM_3DTV_Set3DLocalDimming"), 0u);
  s_->SeriesType = 3;
  s_->OnSetLumiflux(0);
  EXPECT_EQ(Calls("XPM_3DTV_Set3DLocalDimming")[0], "XPM_3DTV_Set3DLocalDimming(0)");

  s_->OnSetBacklightAuto(-20);
  EXPECT_EQ(Value(sim::Setting::kBacklight), 30);
  EXPECT_EQ(s_->OnGetBacklightAuto(), -20);
  s_->OnSetStaticGamma(-3);
  EXPECT_EQ(s_->OnGetStaticGamma(), -3);

  s_->OnSetFactoryLocalDimming(1);
  s_->OnSetFactoryLocalDimming(0);
  EXPECT_EQ(Calls("OAM_frc_IOControl"), (std::vector<std::string>{"OAM_frc_IOControl(9, 0)", "OAM_frc_IOControl(10, 0)"}));
  EXPECT_EQ(s_->Get3DE2PROMVersion().ToUtf8(), "12 3 55");
  tv_->FailCall("OAM_frc_get_firmware_versionRC", 9);
  EXPECT_TRUE(s_->Get3DE2PROMVersion().Empty());
  EXPECT_TRUE(Logged("Error OAM_frc_get_firmware_versionRC"));
}

TEST_F(SkinEnhanceTest, TheBrightnessSensorFollowsTheRoomLight) {
  s_->OnSetAutoBrightnessSensor(1);
  EXPECT_TRUE(s_->GlowSyncRunning);
  for (int32_t light : {100, 700, 300}) {
    sim::SetLightSensor(*tv_, light);
    EXPECT_EQ(s_->GetLightSensor(), light);
    tv_->ClearCallLog();
    EXPECT_EQ(s_->ForceApplyGlowSync(), 0);
    EXPECT_EQ(Count("XPM_Utility_GlowSync_ForceApply"), 1u);
  }
  s_->OnSetAutoBrightnessSensor(0);
  EXPECT_FALSE(s_->GlowSyncRunning);
  tv_->ClearCallLog();
  s_->ForceApplyGlowSync();
  EXPECT_EQ(Count("XPM_Utility_GlowSync_ForceApply"), 0u) << "nothing applies while the sensor is off";
}

TEST_F(SkinEnhanceTest, TestPatternsRememberTheSourceAndGoBack) {
  s_->OnSetTestPattern(1);
  int32_t pattern = 0;
  XPM_GetExtOemPathProperty(0, 122, &pattern);
  EXPECT_EQ(pattern, 9);
  EXPECT_EQ(s_->TestPatternPrevSource, kTv);
  tv_->ClearCallLog();
  s_->OnSetTestPattern(0);  // the pattern source is not shown: no change
  EXPECT_EQ(Count("XPM_SetSource"), 0u);
}

TEST_F(SkinEnhanceTest, AspectFlagsAndSoundOptions) {
  s_->OnSetStretch43(1);
  EXPECT_EQ(s_->OnGetStretch43(), 1);
  EXPECT_EQ(s_->OnGetAutoAspect(), 0);
  s_->OnSetAutoAspect(1);
  EXPECT_EQ(s_->GetPreferViewMode() & 0x300, 0x300);
  s_->OnSetStretch43(0);
  EXPECT_EQ(s_->GetPreferViewMode() & 0x300, 0x100);

  s_->OnSetVoiceEnhancement(1);
  s_->OnSetDynamicBassBoost(1);
  EXPECT_EQ(Value(sim::Setting::kEqualizerPreset), 3);
  s_->OnSetDynamicBassBoost(2);
  EXPECT_EQ(Value(sim::Setting::kEqualizerPreset), 5);
  EXPECT_EQ(s_->OnGetVoiceEnhancement(), 1);
  s_->OnSetVoiceEnhancement(0);
  EXPECT_EQ(Value(sim::Setting::kEqualizerPreset), 4);
  EXPECT_EQ(s_->OnGetDynamicBassBoost(), 2);
  s_->OnSetDynamicBassBoost(0);
  EXPECT_EQ(Value(sim::Setting::kEqualizerPreset), 0);
  s_->OnSetDynamicBassBoost(7);
  EXPECT_EQ(Value(sim::Setting::kEqualizerPreset), 0);

  s_->OnSetDynamicRangeControl(0);
  EXPECT_EQ(s_->OnGetDynamicRangeControl(), 0);
  tv_->FailCall("XPM_SetDolbyDRC", 9);
  s_->OnSetDynamicRangeControl(1);
  EXPECT_TRUE(Logged("XPM_SetDolbyDRC failed with result code 9"));
  tv_->ClearFailures();
  s_->OnSetHDMI_RGBRange(2);
  EXPECT_EQ(s_->OnGetHDMI_RGBRange(), 2);
  s_->OnSetDigitalAudioOutput(1);
  EXPECT_EQ(s_->OnGetDigitalAudioOutput(), 1);
}

// --- Every call of these services failing in turn ---------------------------------

using W = SkinBin::Wrapper;
constexpr int32_t kFail = 9;
constexpr int64_t kStatus = INT64_MIN;
constexpr int64_t kNoResult = INT64_MIN + 1;

struct FailCase {
  const char* call;
  std::function<int64_t(W*)> run;
  int64_t expected;
};

std::vector<FailCase> FailCases() {
  auto ch = [] {
    auto* c = kv::New<Structures::VirtualChannel>();
    c->Major = 2;
    c->Minor = 1;
    return c;
  };
  auto path = kv::String::FromUtf8("file:///mnt/usb/sda1/a.ts");
  auto show = [](int32_t days) {
    auto* r = kv::New<SkinBin::ScheduledRecordData>();
    r->Id = 7, r->TimerId = 5, r->Duration = 60, r->Major = 2, r->Minor = 1, r->DayOfWeek = days;
    r->StartTime = kv::New<Structures::LocalTime>();
    r->StartTime->Day = 2, r->StartTime->Year = 126;
    return r;
  };
  // An update that changes one field: `change` applies it to the new record.
  auto update = [show](void (*change)(SkinBin::ScheduledRecordData*)) {
    return [show, change](W* w) {
      SkinBin::ScheduledRecordData* next = show(0);
      change(next);
      return w->DB_UpdateScheduledData(show(0), next);
    };
  };
  return {
      {"DB_Insert_Scheduled_Data",
       [show](W* w) { return w->DB_InsertScheduledData(show(0), kv::String(), kv::String()); }, kStatus},
      {"DB_Update_Scheduled_Show_Dayofweek", update([](SkinBin::ScheduledRecordData* r) { r->DayOfWeek = 3; }),
       kStatus},
      {"DB_Update_Scheduled_Show_Duration", update([](SkinBin::ScheduledRecordData* r) { r->Duration = 30; }),
       kStatus},
      {"DB_Update_Scheduled_Show_Starttime", update([](SkinBin::ScheduledRecordData* r) { r->StartTime->Hour = 3; }),
       kStatus},
      {"DB_Update_Scheduled_Show_TunerId", update([](SkinBin::ScheduledRecordData* r) { r->Tuner = 1; }), kStatus},
      {"DB_Get_Scheduled_Show_Freq",
       [](W* w) { return w->GetEPGProgramStatus(2, 1, kv::New<Structures::LocalTime>())->Id; }, 0},
      {"XPM_TimeShifting_Status_Check", [](W* w) { return w->GetTimeshiftStatus()->IntervalMinutes; }, 0},
      {"XPM_Get_USB_MountPoint_File", [](W* w) { return w->GetUSBDiskStatus()->Mounted; }, 0},
      {"XPM_CheckUSB_Space", [](W* w) { return w->GetUSBDiskStatus()->TotalKiB; }, 0},
      {"XPM_GetCurrentChannelInfo", [](W* w) { return w->GetCurrentChannelDetailInfo() != nullptr; }, 0},
      {"XPM_GetCurrentChannelRatingInfo", [](W* w) { return w->GetCurrentChannelRatingInfo()->NumAltRatings; }, 0},
      {"XPM_RECORDING_START", [ch](W* w) { return w->StartRecord(0, ch()); }, kStatus},
      {"XPM_RECORDING_STOP", [](W* w) { return w->StopRecord(3); }, kStatus},
      {"XPM_Update_Scheduled_Show_Status", [](W* w) { return w->StopRecord(3); }, kNoResult},
      {"XPM_CheckIn_TimerId", [](W* w) { return w->StopRecord(3); }, kNoResult},
      {"XPM_SetActiveTimer", [](W* w) { return w->SetActiveTimer(1, 1); }, kStatus},
      {"XPM_Set_Timer_Record_Valid", [](W* w) { return w->SetTimerRecordValid(1, 0, 0, 0); }, kStatus},
      {"XPM_CancelTimerRecord", [](W* w) { return w->CancelTimerRecord(1); }, kStatus},
      {"DB_Get_ScheduledID", [](W* w) { return w->GetScheduleIdByTimerId(1); }, 0},
      {"XPM_Delete_Scheduled_Show", [](W* w) { return w->DB_DeleteScheduledRecord(1); }, kStatus},
      {"XPM_Delete_Recorded_Show", [](W* w) { return w->DB_DeleteRecordedShow(1); }, kStatus},
      {"DB_CheckIn_Timer", [](W* w) { return w->DB_CheckInTimerId(1); }, kStatus},
      {"DB_CheckOut_Timer", [](W* w) { return w->DB_CheckOutTimerId(1); }, kStatus},
      {"XPM_Get_Record_All", [](W* w) { return w->OnGetTuner1RecordAll(); }, 0},
      {"XPM_Set_Record_All", [](W* w) { return (w->OnSetTuner2RecordAll(1), 0); }, kNoResult},
      {"xpm_setsource_record", [](W* w) { return w->SetSourceRecord(1); }, kStatus},
      {"XPM_GetCurrent_TunerId", [](W* w) { return w->GetCurrentTunerId(); }, 2},
      {"XPM_Get_TV_State", [](W* w) { return w->GetLiveTVState(0); }, 1},
      {"XPM_GetChannelInfo", [](W* w) { return w->GetChannelInfo(2, 1) != nullptr; }, 0},
      {"XPM_GetTempCurrentChannel", [](W* w) { return w->GetTempCurrentChannel(false, false)->Major; }, -2},
      {"XPM_GetNetworkTime", [](W* w) { return w->DB_GetCurrentProgramInfo() != nullptr; }, 0},
      {"DB_Get_Program_Info", [](W* w) { return w->DB_GetCurrentProgramInfo() != nullptr; }, 0},
      {"XPM_NetworkSeconds2LocalTime", [](W* w) { return w->DB_GetCurrentProgramInfo()->StartTime != nullptr; }, 0},
      {"DB_Get_Program_Info_Next",
       [](W* w) { return w->DB_GetNextProgramInfo(w->DB_GetCurrentProgramInfo()) != nullptr; }, 0},
      {"XPM_GetCurrentChannelInfo", [](W* w) { return w->GetEventInfoByTime(nullptr) != nullptr; }, kNoResult},
      {"XPM_GetEventsByFixedCount", [](W* w) { return w->GetEventInfoByTime(nullptr) != nullptr; }, 0},
      {"XPM_GetEventCount", [](W* w) { return w->GetEventInfoByTime(nullptr) != nullptr; }, 0},
      {"XPM_GetEventInfo", [](W* w) { return w->GetEventInfoByTime(nullptr) != nullptr; }, 0},
      {"XPM_ReleaseEvents", [](W* w) { return w->GetEventInfoByTime(nullptr) != nullptr; }, 1},
      {"XPM_GetCurrentChannelRatingInfo", [](W* w) { return w->GetCurrentRatingInfo()->UsRating; }, 0},
      {"XPM_TIMESHIFT_START", [](W* w) { return w->StartTimeshift(0); }, kStatus},
      {"XPM_TIMESHIFT_STOP", [](W* w) { return w->StopTimeshift(0); }, kStatus},
      {"Timeshift_KeyProc", [](W* w) { return w->TimeshiftKeyProc(0); }, kStatus},
      {"XPM_Get_Timeshift_Interval", [](W* w) { return w->OnGetTimeshiftDuration(); }, 0},
      {"XPM_Set_Timeshift_Interval", [](W* w) { return (w->OnSetTimeshiftDuration(5), 0); }, kNoResult},
      {"XPM_Get_USB_MountPoint", [](W* w) { return w->IsUSBDiskMounted(); }, 0},
      {"XPM_USB_Format_Start", [](W* w) { return w->USBDiskFormat(); }, kStatus},
      {"XPM_USB_Test", [](W* w) { return w->USBSpeedCheck(); }, kStatus},
      {"XPM_USB_Test_Abort", [](W* w) { return w->AbortUSBSpeedCheck(); }, kStatus},
      {"XPM_Delete_File", [path](W* w) { return w->DeleteFile(path); }, kStatus},
      {"XPM_Get_File_Size", [path](W* w) { return w->GetFileSize(path); }, -1},
      {"XPM_GetFrcMode", [](W* w) { return w->OnGetFrcMode(); }, 0},
      {"XPM_SetFrcMode", [](W* w) { return (w->OnSetFrcMode(1), 0); }, kNoResult},
      {"XPM_GetFrcVideoStrength", [](W* w) { return w->OnGetStillpane(); }, 0},
      {"XPM_SetFrcVideoStrength", [](W* w) { return (w->OnSetStillpane(1), 0); }, kNoResult},
      {"XPM_GetFrcFilmStrength", [](W* w) { return w->OnGetFilmStabilization(); }, 0},
      {"XPM_SetFrcFilmStrength", [](W* w) { return (w->OnSetFilmStabilization(1), 0); }, kNoResult},
      {"XPM_GetCadenceMode", [](W* w) { return w->OnGetQRV_CinemaMode(); }, 0},
      {"XPM_SetCadenceMode", [](W* w) { return (w->OnSetQRV_CinemaMode(1), 0); }, kNoResult},
      {"XPM_GetSuperResolutionLevel", [](W* w) { return w->OnGetSuperResolutionStatus(); }, 0},
      {"XPM_SetSuperResolutionLevel", [](W* w) { return (w->OnSetSuperResolutionLevel(1), 0); }, kNoResult},
      {"XPM_GetCM3DTintForge", [](W* w) { return w->GetTintForgeValue(0); }, 0},
      {"XPM_SetCM3DTintForge", [](W* w) { return w->SetTintForgeValue(0, 0x808080); }, kStatus},
      {"XPM_ResetTintForge", [](W* w) { return (w->ResetTintForge(), 0); }, kNoResult},
      {"XPM_GetColorTemperature_RGB_Filter", [](W* w) { return w->OnGetRGBFilterRed(); }, 0},
      {"XPM_SetColorTemperature_RGB_Filter", [](W* w) { return w->SetRGBFilter(1); }, kStatus},
      {"XPM_GetDCRBacklight", [](W* w) { return w->OnGetLumiflux(); }, 0},
      {"XPM_SetDCRBacklight", [](W* w) { return (w->OnSetLumiflux(1), 0); }, kNoResult},
      {"XPM_GetGammaOffset", [](W* w) { return w->OnGetStaticGamma(); }, 0},
      {"XPM_SetGammaOffset", [](W* w) { return (w->OnSetStaticGamma(1), 0); }, kNoResult},
      {"XPM_GetLightSensor", [](W* w) { return w->GetLightSensor(); }, 0},
      {"XPM_GetRGBRange", [](W* w) { return w->OnGetHDMI_RGBRange(); }, 0},
      {"XPM_SetRGBRange", [](W* w) { return (w->OnSetHDMI_RGBRange(1), 0); }, kNoResult},
      {"XPM_GetDolbyDRC", [](W* w) { return w->OnGetDynamicRangeControl(); }, 0},
      {"OAM_frc_IOControl", [](W* w) { return (w->OnSetFactoryLocalDimming(1), 0); }, kNoResult},
      {"OAM_frc_get_firmware_versionRC", [](W* w) { return w->Get3DE2PROMVersion().Empty(); }, 1},
  };
}

TEST_F(SkinEnhanceTest, EveryRecordingAndEnhancementCallFailingInTurnYieldsItsDefaultAndIsLogged) {
  for (const FailCase& c : FailCases()) {
    SCOPED_TRACE(c.call);
    tv_->ClearCallLog();
    ClearLines();
    tv_->FailCall(c.call, kFail);
    const int64_t result = c.run(s_);
    tv_->ClearFailures();
    EXPECT_GE(Count(c.call), 1u) << "the failed call is in the call log";
    if (c.expected == kStatus) {
      EXPECT_EQ(result, kFail);
    } else if (c.expected != kNoResult) {
      EXPECT_EQ(result, c.expected);
    }
    EXPECT_TRUE(Logged(std::string(c.call))) << "the failure is logged";
  }
}

}  // namespace
}  // namespace wrappertest
