// The record classes of Structures: registered, collectable, references kept
// alive through their fields; LocalTime's calendar arithmetic.
#include <gtest/gtest.h>

#include <time.h>

#include <cstdint>
#include <map>
#include <string>

#include "runtime/collector.h"
#include "runtime/member.h"
#include "support/kv_test.h"
#include "units/Structures/AMPMHour.h"
#include "units/Structures/ActiveAppStatus.h"
#include "units/Structures/CECDevice.h"
#include "units/Structures/CaptionServiceInfo.h"
#include "units/Structures/ChannelData.h"
#include "units/Structures/EventInfo.h"
#include "units/Structures/HistoryInfo.h"
#include "units/Structures/IF_Configuration.h"
#include "units/Structures/LocalTime.h"
#include "units/Structures/RRTDimensionData.h"
#include "units/Structures/TimerData.h"
#include "units/Structures/VideoContentInfo.h"
#include "units/Structures/WLAN_Connection.h"
#include "units/Structures/WLAN_Info.h"
#include "units/Structures/WPS_Connection.h"

namespace {

using Structures::LocalTime;

class StructuresTest : public kvtest::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    kv::Runtime::SetCollectEveryPass(true);
  }
  static size_t Count(const char* cls) {
    auto census = kv::HeapCensus();
    auto it = census.find(cls);
    return it == census.end() ? 0 : it->second;
  }
};

const char* const kRecordClasses[] = {
    "Structures::ActiveAppStatus",   "Structures::AllActiveAppStatus", "Structures::AMPMHour",
    "Structures::CaptionServiceInfo", "Structures::CECDevice",         "Structures::ChannelData",
    "Structures::EventInfo",          "Structures::HistoryInfo",       "Structures::HistoryChannelInfo",
    "Structures::HistorySourceInfo",  "Structures::HistoryCECInfo",    "Structures::HistoryPhotoInfo",
    "Structures::HistoryMusicInfo",   "Structures::RRTDimensionData",  "Structures::LocalTime",
    "Structures::TimerData",          "Structures::VideoContentInfo",  "Structures::WLAN_Info",
    "Structures::WLAN_Connection",    "Structures::WPS_Connection",    "Structures::IF_Configuration",
};

TEST_F(StructuresTest, EveryRecordIsFoundByNameAndCollectedAfterAPass) {
  driver.Pass();
  const auto baseline = kv::HeapCensus();
  for (const char* name : kRecordClasses) {
    const kv::Class* cls = kv::FindClass(name);
    ASSERT_NE(cls, nullptr) << name << " is not registered";
    kv::Object* obj = kv::NewObjectIndirect(cls);
    EXPECT_EQ(kv::ClassOf(obj), cls) << name;
  }
  driver.Pass();
  EXPECT_EQ(kv::HeapCensus(), baseline);
}

TEST_F(StructuresTest, ReferencedRecordsLiveAsLongAsTheirHolder) {
  driver.Pass();
  const auto baseline = kv::HeapCensus();
  {
    kv::Persistent<Structures::HistoryInfo> history = kv::New<Structures::HistoryInfo>();
    history->ChannelInfo = kv::New<Structures::HistoryChannelInfo>();
    history->ChannelInfo->Channel = kv::New<Structures::VirtualChannel>();
    history->ChannelInfo->Channel->Major = 7;
    history->SourceInfo = kv::New<Structures::HistorySourceInfo>();
    history->PhotoInfo = kv::New<Structures::HistoryPhotoInfo>();
    history->MusicInfo = kv::New<Structures::HistoryMusicInfo>();
    history->CECInfo = kv::New<Structures::HistoryCECInfo>();
    kv::Persistent<Structures::TimerData> timer = kv::New<Structures::TimerData>();
    timer->StartTime = kv::New<LocalTime>();
    timer->StartTime->Hour = 21;
    kv::Persistent<Structures::EventInfo> event = kv::New<Structures::EventInfo>();
    event->StartTime = kv::New<LocalTime>();

    driver.Pass();
    driver.Pass();
    EXPECT_EQ(history->ChannelInfo->Channel->Major, 7);
    EXPECT_EQ(timer->StartTime->Hour, 21);
    EXPECT_EQ(Count("Structures::LocalTime"), 2u);
    EXPECT_EQ(Count("Structures::VirtualChannel"), 1u);
    EXPECT_EQ(Count("Structures::HistoryCECInfo"), 1u);
  }
  driver.Pass();
  EXPECT_EQ(kv::HeapCensus(), baseline);
}

TEST_F(StructuresTest, ApplicationTableEmbedsItsRecords) {
  auto* table = kv::New<Structures::AllActiveAppStatus>();
  for (auto& app : table->Apps) {
    EXPECT_TRUE(app.IsEmbedded());
    EXPECT_EQ(app.Container(), table);
  }
  EXPECT_EQ(Count("Structures::ActiveAppStatus"), 0u);
  driver.Pass();
  EXPECT_EQ(Count("Structures::AllActiveAppStatus"), 0u);
}

// --- LocalTime ---------------------------------------------------------------

LocalTime* Make(int year, int month1, int day, int hour = 0, int minute = 0, int second = 0) {
  auto* t = kv::New<LocalTime>();
  t->Year = year - 1900;
  t->Month = month1 - 1;
  t->Day = day;
  t->Hour = hour;
  t->Minute = minute;
  t->Second = second;
  return t;
}

void ExpectDate(const LocalTime* t, int year, int month1, int day, int hour, int minute, int second) {
  EXPECT_EQ(t->Year + 1900, year);
  EXPECT_EQ(t->Month + 1, month1);
  EXPECT_EQ(t->Day, day);
  EXPECT_EQ(t->Hour, hour);
  EXPECT_EQ(t->Minute, minute);
  EXPECT_EQ(t->Second, second);
  EXPECT_EQ(t->Weekday, 0);
  EXPECT_EQ(t->YearDay, 0);
  EXPECT_EQ(t->DaylightSaving, 0);
}

TEST_F(StructuresTest, GetTicksOfKnownDates) {
  EXPECT_EQ(Make(1970, 1, 1)->GetTicks(), 0);
  EXPECT_EQ(Make(2000, 2, 29, 12, 34, 56)->GetTicks(), 951827696);
  EXPECT_EQ(Make(1999, 12, 31, 23, 59, 59)->GetTicks(), 946684799);
  EXPECT_EQ(Make(2038, 1, 19, 3, 14, 8)->GetTicks(), int64_t{2147483648});
  EXPECT_EQ(Make(1969, 12, 31, 23, 59, 59)->GetTicks(), -1);
  // The reset date of the set's clock: 1 January 2006.
  EXPECT_EQ(Make(2006, 1, 1)->GetTicks(), 1136073600);
}

TEST_F(StructuresTest, GetTicksIgnoresWeekdayYearDayAndDaylightSavingAndCarriesOverflow) {
  LocalTime* t = Make(2000, 3, 1);
  const int64_t plain = t->GetTicks();
  t->Weekday = 5;
  t->YearDay = 200;
  t->DaylightSaving = 1;
  EXPECT_EQ(t->GetTicks(), plain);
  // Month 12 of 1999 is January 2000; day 0 of March is the last of February.
  LocalTime* december = Make(1999, 13, 1);
  EXPECT_EQ(december->GetTicks(), Make(2000, 1, 1)->GetTicks());
  EXPECT_EQ(Make(2000, 3, 0)->GetTicks(), Make(2000, 2, 29)->GetTicks());
  EXPECT_EQ(Make(2000, 1, 1, 0, 0, 60)->GetTicks(), Make(2000, 1, 1, 0, 1, 0)->GetTicks());
}

TEST_F(StructuresTest, AddTicksAcrossLeapDaysAndYearEnds) {
  ExpectDate(Make(2000, 2, 28)->AddTicks(86400), 2000, 2, 29, 0, 0, 0);
  ExpectDate(Make(2000, 2, 29)->AddTicks(86400), 2000, 3, 1, 0, 0, 0);
  ExpectDate(Make(2100, 2, 28)->AddTicks(86400), 2100, 3, 1, 0, 0, 0);  // 2100 is no leap year
  ExpectDate(Make(1999, 12, 31, 23, 59, 59)->AddTicks(1), 2000, 1, 1, 0, 0, 0);
  ExpectDate(Make(2000, 1, 1)->AddTicks(-1), 1999, 12, 31, 23, 59, 59);
  ExpectDate(Make(1970, 1, 1)->AddTicks(-86400 * 366), 1968, 12, 31, 0, 0, 0);
  // A timeshift window of 90 minutes from a quarter to midnight.
  ExpectDate(Make(2012, 12, 31, 23, 45, 0)->AddTicks(90 * 60), 2013, 1, 1, 1, 15, 0);
}

TEST_F(StructuresTest, AddTicksReturnsANewRecordAndLeavesTheSourceAlone) {
  LocalTime* t = Make(2010, 6, 15, 10, 0, 0);
  t->Weekday = 2;
  LocalTime* later = t->AddTicks(3600);
  EXPECT_NE(later, t);
  EXPECT_EQ(t->Hour, 10);
  EXPECT_EQ(t->Weekday, 2);
  ExpectDate(later, 2010, 6, 15, 11, 0, 0);
}

TEST_F(StructuresTest, AddTicksAgreesWithTheCLibraryOverTwoCenturies) {
  // gmtime_r as an independent reference, stepping a prime number of seconds
  // from 1901 to 2099.
  const LocalTime* epoch = Make(1970, 1, 1);
  for (int64_t ticks = -2145916800; ticks < 4102444800; ticks += 9999991) {
    const time_t tt = static_cast<time_t>(ticks);
    struct tm ref {};
    ASSERT_NE(gmtime_r(&tt, &ref), nullptr);
    LocalTime* t = epoch->AddTicks(ticks);
    ASSERT_EQ(t->Year, ref.tm_year) << ticks;
    ASSERT_EQ(t->Month, ref.tm_mon) << ticks;
    ASSERT_EQ(t->Day, ref.tm_mday) << ticks;
    ASSERT_EQ(t->Hour * 3600 + t->Minute * 60 + t->Second, ref.tm_hour * 3600 + ref.tm_min * 60 + ref.tm_sec)
        << ticks;
    ASSERT_EQ(t->GetTicks(), ticks);
  }
}

}  // namespace
