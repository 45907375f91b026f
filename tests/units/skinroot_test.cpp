// The application root's clauses over the skin's Wrapper, through the whole
// system: the TV101 flag, keys restarting the automatic power-down and the
// store-demo delay, a key ending the store demo, the power timers ending in
// standby on the virtual clock, standby as a critical section, the setup
// status reports and the menu language read from the register table.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "platform/sim/sim_apps.h"
#include "platform/sim/sim_register.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/tvsm/tvsm.h"
#include "runtime/auto_object.h"
#include "strings/SkinBinWrapper.h"
#include "units/MainApp/Root.h"
#include "units/MainApp/Standby.h"
#include "units/PersistentData/PersistentData.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/HistoryInfo.h"
#include "units/Structures/VirtualChannel.h"

namespace skinroottest {
namespace {

constexpr int64_t kMinute = 60000;

class SkinRootTest : public apptest::AppTest {
 protected:
  static SkinBin::Wrapper* Skin() {
    return kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper));
  }
  bool InStandby() { return App().GetStandby()->IsInStandby(); }
  std::vector<std::string> Standbys() { return Calls("XPM_StandbyMode"); }
  // The system manager's reports of one code, their payload words.
  std::vector<int32_t> Reports(uint32_t code) {
    std::vector<int32_t> out;
    const std::string prefix = "TVSM_ReportAsyncEvent(1, " + std::to_string(code) + ",";
    for (const auto& c : Calls("TVSM_ReportAsyncEvent"))
      if (c.rfind(prefix, 0) == 0) {
        const auto bytes = sim::AsyncPayload(c);
        int32_t word = -1;
        if (bytes.size() >= 4) std::memcpy(&word, bytes.data(), 4);
        out.push_back(word);
      }
    return out;
  }
};

TEST_F(SkinRootTest, TheWrapperIsTheSkinsAndHoldsTheStoreAndAgent) {
  ASSERT_NE(Skin(), nullptr);
  EXPECT_EQ(Skin()->PersistentData.get(), kv::GetAutoObject<PersistentData::PersistentData>(MainApp::PersistentData));
  EXPECT_NE(Skin()->EventAgent.get(), nullptr);
  EXPECT_TRUE(Skin()->TV101) << "starts on";
  App().SetTV101State(false);
  EXPECT_FALSE(Skin()->TV101);
  App().SetTV101State(true);
  EXPECT_TRUE(Skin()->TV101);
}

TEST_F(SkinRootTest, AutoPowerDownIsRestartedByKeysAndEndsInStandbyReasonOne) {
  Skin()->OnSetAutomaticPowerDown(1);
  Run(200 * kMinute);
  Press("ok");
  Run(200 * kMinute);
  EXPECT_FALSE(InStandby()) << "the key restarted the four hours";
  EXPECT_TRUE(Standbys().empty());
  Run(41 * kMinute);
  EXPECT_TRUE(InStandby());
  ASSERT_EQ(Standbys().size(), 1u);
  EXPECT_EQ(Standbys()[0], "XPM_StandbyMode(1, 1)");
  // Off: a key does not start it again.
  Press("power");
  Skin()->OnSetAutomaticPowerDown(0);
  ClearCallLog();
  Press("ok");
  Run(300 * kMinute);
  EXPECT_FALSE(InStandby());
}

TEST_F(SkinRootTest, OnTimerShutdownAndSleepEndInTheirStandbyReasons) {
  Skin()->StartOnTimerShutdownTimer();
  Run(59 * kMinute);
  EXPECT_FALSE(InStandby());
  Press("ok");  // keys do not restart this one
  // A countdown started while the minute tick runs ends within a minute
  // after its time (its first, partial minute is not counted).
  Run(2 * kMinute);
  ASSERT_EQ(Standbys().size(), 1u);
  EXPECT_EQ(Standbys()[0], "XPM_StandbyMode(1, 2)");
  Press("power");
  ClearCallLog();
  Skin()->OnSetSleepIndex(3);
  Run(4 * kMinute);
  ASSERT_EQ(Standbys().size(), 1u);
  EXPECT_EQ(Standbys()[0], "XPM_StandbyMode(1, 5)");
}

TEST_F(SkinRootTest, SleepEndingInACriticalSectionWaitsForItsEndAndStandbyDropsIt) {
  Skin()->OnSetSleepIndex(2);
  Skin()->EnterAppCriticalSection(true);
  Run(3 * kMinute);
  EXPECT_TRUE(Standbys().empty()) << "held while the section runs";
  Skin()->ExitAppCriticalSection();
  Settle();
  ASSERT_EQ(Standbys().size(), 1u);
  EXPECT_EQ(Standbys()[0], "XPM_StandbyMode(1, 5)");

  // A standby during the section (the power key) drops the held request.
  Press("power");
  ClearCallLog();
  Skin()->OnSetSleepIndex(2);
  Skin()->EnterAppCriticalSection(true);
  Run(3 * kMinute);
  Press("power");
  ASSERT_EQ(Standbys().size(), 1u);
  Press("power");
  Run(kMinute);
  EXPECT_FALSE(InStandby()) << "the wake-up does not switch the set off again";
  EXPECT_EQ(Standbys().size(), 1u);
}

TEST_F(SkinRootTest, KeysRestartTheStoreDemoDelayAndAKeyEndsTheDemo) {
  Skin()->OnSetLocation(1);  // store mode: sticker demo on, delay armed
  Run(20000);
  Press("ok");
  Run(20000);
  EXPECT_FALSE(Skin()->OnGetStartDemo()) << "the key restarted the 30 s";
  Run(11000);
  ASSERT_TRUE(Skin()->OnGetStartDemo());
  EXPECT_FALSE(Reports(TVSM_ASYNC_LAUNCH_APP).empty());
  ClearCallLog();
  Press("ok");
  EXPECT_FALSE(Skin()->OnGetStartDemo());
  EXPECT_FALSE(Calls("TVSM_ReportAsyncEvent").empty()) << "the demo application is ended";
  Run(31000);
  EXPECT_TRUE(Skin()->OnGetStartDemo()) << "and the delay runs again";
}

TEST_F(SkinRootTest, StandbyUnfreezesAFrozenPictureAndStopsThePowerTimers) {
  Skin()->OnSetAutomaticPowerDown(1);
  Skin()->OnSetIsFrozen(1);
  ASSERT_TRUE(Skin()->FreezeRequest);
  ClearCallLog();
  Press("power");
  EXPECT_EQ(Calls("XPM_SetVideoFreezeState"), std::vector<std::string>{"XPM_SetVideoFreezeState(0)"});
  EXPECT_FALSE(Skin()->FreezeRequest);
  Run(300 * kMinute);
  EXPECT_EQ(Standbys().size(), 1u) << "no auto power-down while off";
  Press("power");
  Run(241 * kMinute);
  EXPECT_TRUE(InStandby()) << "wake-up started it again";
}

TEST_F(SkinRootTest, StartAndWakeUpReportTheSetupStatus) {
  // No setup pages here: the setup does not run, normal TV follows.
  ClearCallLog();
  Press("power", 2);
  EXPECT_EQ(Reports(TVSM_ASYNC_SETUP_STATUS), std::vector<int32_t>{0});
  EXPECT_EQ(Reports(TVSM_ASYNC_SETUP_FINISHED).size(), 1u);
}

class SkinRootFrenchTest : public SkinRootTest {
 protected:
  void SetUpData() override { sim::ChangeRegisterValue(Tv(), "menu_language", "fre"); }
};

TEST_F(SkinRootFrenchTest, MenuLanguageComesFromTheRegisterTable) {
  EXPECT_EQ(Skin()->MenuLanguage, 2);
  EXPECT_EQ(Skin()->PersistentData->GetInteger(SkinBinWrapper::KEY_MENU_LANGUAGE), 2) << "the stored key follows";
}

}  // namespace
}  // namespace skinroottest

namespace skinroottest {
namespace {

TEST_F(SkinRootTest, SourceChangesKeepTheRememberedChannelAndRecordHistory) {
  auto* remembered = kv::New<Structures::VirtualChannel>();
  remembered->Major = 2;
  remembered->Minor = 1;
  Skin()->RememberedChannel = remembered;
  ASSERT_EQ(Skin()->SetSource(0, sim::kSourceAv), 0);
  EXPECT_EQ(Skin()->RememberedChannel.get(), remembered) << "kept across the source change";
  Run(6000);  // the history's delay
  ASSERT_EQ(Skin()->HistoryAgent.GetHistoryNum(), 1);
  Structures::HistoryInfo* entry = Skin()->HistoryAgent.GetHistory(1);
  EXPECT_EQ(entry->Type, Structures::HISTORY_ITEM_TYPE_NONRF);
  ASSERT_NE(entry->SourceInfo.get(), nullptr);
  EXPECT_EQ(entry->SourceInfo->SourceId, sim::kSourceAv);
  EXPECT_EQ(entry->SourceInfo->Label, Skin()->GetSourceName(sim::kSourceAv));
  // Another application owns the screen: only the source to come back to.
  App().SetTV101State(false);
  ClearCallLog();
  Skin()->SetSource(0, sim::kSourceHdmi1);
  EXPECT_EQ(Calls("XPM_SetBack2TVSourceID"),
            std::vector<std::string>{"XPM_SetBack2TVSourceID(" + std::to_string(sim::kSourceHdmi1) + ")"});
  EXPECT_TRUE(Calls("XPM_SetSource").empty());
}

TEST_F(SkinRootTest, TimeZoneWritesTheGmtOffsetOnlyWhenItChanges) {
  Skin()->OnSetTimeZone(2);
  EXPECT_EQ(Calls("TVSM_RegisterTablePutFloat").size(), 1u);
  ClearCallLog();
  Skin()->OnSetTimeZone(2);
  EXPECT_TRUE(Calls("TVSM_RegisterTablePutFloat").empty());
  Skin()->OnSetDaylightSavingTime(Skin()->OnGetDaylightSavingTime() == 1 ? 0 : 1);
  EXPECT_EQ(Calls("TVSM_RegisterTablePutFloat").size(), 1u);
}

TEST_F(SkinRootTest, AntennaCableChangeTunesAndResetAllClearsTheSkinsSettings) {
  Skin()->OnSetAntCableIn(1);
  EXPECT_TRUE(Skin()->IsTuningChannel);
  EXPECT_EQ(Skin()->OnGetAntCableIn(), 1);
  Skin()->OnSetInputLock(1);
  Skin()->SetOptionChange(SkinBinWrapper::GROUP_COLOR, true);
  Skin()->OnSetTVForceOn(0);
  ClearCallLog();
  Skin()->ResetAll();
  EXPECT_EQ(Skin()->OnGetInputLock(), 0);
  EXPECT_FALSE(Skin()->IsOptionChanged(SkinBinWrapper::GROUP_COLOR));
  EXPECT_EQ(Skin()->OnGetTVForceOn(), 1);
  EXPECT_EQ(Skin()->HistoryAgent.GetHistoryNum(), 0);
  EXPECT_EQ(Calls("XPM_Reset").size(), 1u) << "then the middleware's reset";
}

TEST_F(SkinRootTest, DirectChannelEntryRecordsItsNameAndDigitalFlag) {
  ASSERT_EQ(Skin()->SetChannelApi(0, 2, 1), 0);
  ASSERT_EQ(Skin()->HistoryAgent.GetHistoryNum(), 1);
  Structures::HistoryChannelInfo* info = Skin()->HistoryAgent.GetHistory(1)->ChannelInfo.get();
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->Channel->Major, 2);
  EXPECT_EQ(info->IsDigital, 1);
  EXPECT_FALSE(info->Name.Empty());
}

}  // namespace
}  // namespace skinroottest
