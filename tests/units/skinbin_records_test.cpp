// The skin's data records: every fixed-size table stops at its capacity and
// says so, the accessors with logic (channel lookup, the rating snapshot's
// bounds, the guide pages' places), and the system information read from
// the simulated set.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <memory>

#include "platform/sim/sim.h"
#include "platform/sim/sim_net_state.h"
#include "platform/xpm/xpm_record.h"
#include "support/capture.h"
#include "support/kv_test.h"
#include "skinbin_sim_fixture.h"
#include "units/SkinBin/ChannelListData.h"
#include "units/SkinBin/StatusRecords.h"
#include "units/SkinBin/Wrapper.h"
#include "units/SkinBin/EPGEventsInfo_DB.h"
#include "units/SkinBin/RatingData.h"
#include "units/SkinBin/RecordData.h"
#include "units/SkinBin/SystemInfo.h"
#include "units/SkinBin/UserRefInt.h"

namespace skinbinrecordstest {
namespace {

using namespace SkinBin;

class RecordsTest : public kvtest::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    log.Start();
  }
  static ChannelData* Channel(int32_t major, int32_t minor) {
    auto* c = kv::New<ChannelData>();
    c->Major = major;
    c->Minor = minor;
    return c;
  }
  kvtest::LogCapture log;
};

TEST_F(RecordsTest, ChannelTableLookupAndCapacity) {
  kv::Persistent<ChannelListData> table(kv::New<ChannelListData>());
  EXPECT_EQ(table->GetChannelIndexInTable(2, 1), -1);  // empty table
  EXPECT_EQ(table->GetChannel(0), nullptr);
  EXPECT_FALSE(table->Append(nullptr));

  for (int32_t i = 0; i < MAX_CHANNEL_TABLE_ENTRIES; ++i) ASSERT_TRUE(table->Append(Channel(i / 4, i % 4)));
  EXPECT_EQ(table->GetNumChannels(), MAX_CHANNEL_TABLE_ENTRIES);
  EXPECT_FALSE(log.Contains("table full"));
  EXPECT_FALSE(table->Append(Channel(9999, 1)));
  EXPECT_TRUE(log.Contains("table full at 4096 entries, channel 9999.1 dropped"));
  EXPECT_EQ(table->GetNumChannels(), MAX_CHANNEL_TABLE_ENTRIES);
  EXPECT_EQ(table->GetChannelIndexInTable(5, 2), 22);
  EXPECT_EQ(table->GetChannelIndexInTable(9999, 1), -1);

  // A new fill restarts Count and overwrites slot by slot; the entries past
  // Count stay reachable for the comparison of a scan step.
  table->Count = 0;
  ASSERT_TRUE(table->Append(Channel(77, 1)));
  EXPECT_EQ(table->GetNumChannels(), 1);
  EXPECT_EQ(table->GetChannelIndexInTable(5, 2), -1);  // past Count
  EXPECT_EQ(table->GetStored(22)->Major, 5);
  EXPECT_EQ(table->GetStored(0)->Major, 77);

  driver.Pass();
  EXPECT_EQ(table->GetStored(22)->Minor, 2);
  table->Clear();
  EXPECT_EQ(table->GetStoredCount(), 0);
  EXPECT_EQ(table->GetNumChannels(), 0);
}

TEST_F(RecordsTest, NewChannelEntryDefaults) {
  auto* c = kv::New<ChannelData>();
  EXPECT_EQ(c->IsCable, 1);
  EXPECT_EQ(c->TimerIndex, -1);
  EXPECT_EQ(c->ScanFound, 0);
}

TEST_F(RecordsTest, VirtualChannelsStopAt200) {
  auto* v = kv::New<VirtualChannels>();
  for (int32_t i = 0; i < MAX_VIRTUAL_CHANNELS; ++i) ASSERT_TRUE(v->Add(30, i));
  EXPECT_FALSE(v->Add(30, 200));
  EXPECT_TRUE(log.Contains("full at 200 pairs, channel 30.200 dropped"));
  EXPECT_EQ(v->GetCount(), 200);
  EXPECT_EQ(v->Get(199).Minor, 199);
  EXPECT_EQ(v->Get(200).Major, 0);
  EXPECT_EQ(v->Get(-1).Major, 0);
}

TEST_F(RecordsTest, RatingSnapshotBounds) {
  auto* r = kv::New<DynamicRatingData>();
  r->DimensionCount = 300;
  r->SetRRTArray(0, 0, 1);  // no array yet: ignored
  EXPECT_EQ(r->GetRRTArray(0, 0), 0);

  r->Array = kv::New<RRT_Array>();
  r->SetRRTArray(3, 7, 1);
  r->SetRRTArray(254, 99, 1);
  r->SetRRTArray(255, 0, 1);  // past the 255 dimensions
  r->SetRRTArray(0, 100, 1);  // past the 100 levels
  r->SetRRTArray(-1, 0, 1);
  EXPECT_EQ(r->GetRRTArray(3, 7), 1);
  EXPECT_EQ(r->GetRRTArray(254, 99), 1);
  EXPECT_EQ(r->GetRRTArray(255, 0), 0);
  EXPECT_EQ(r->GetRRTArray(0, 100), 0);
  EXPECT_EQ(r->Array->Get(3, 8), 0);

  r->DimensionCount = 3;  // the dimension must also be one of the region's
  EXPECT_EQ(r->GetRRTArray(3, 7), 0);
  r->SetRRTArray(3, 8, 1);
  EXPECT_EQ(r->Array->Get(3, 8), 0);

  r->SetRegionDimension(5, 2);
  r->SetLevel(4);
  EXPECT_EQ(r->Region, 5);
  EXPECT_EQ(r->Dimension, 2);
  EXPECT_EQ(r->Level, 4);
}

TEST_F(RecordsTest, AlternativeRatingsStopAt120) {
  auto* info = kv::New<UsAlternateRatingInfo>();
  for (int32_t i = 0; i < MAX_ALT_RATINGS; ++i) {
    auto* d = kv::New<Structures::RRTDimensionData>();
    d->DimensionId = i;
    ASSERT_TRUE(info->Add(d));
  }
  auto* extra = kv::New<Structures::RRTDimensionData>();
  extra->DimensionId = 120;
  EXPECT_FALSE(info->Add(extra));
  EXPECT_TRUE(log.Contains("full at 120 ratings, dimension 120 dropped"));
  EXPECT_EQ(info->GetCount(), 120);
  EXPECT_EQ(info->Get(119)->DimensionId, 119);
  EXPECT_EQ(info->Get(120), nullptr);
}

TEST_F(RecordsTest, GuideEventsByPlaceUpTo1000) {
  kv::Persistent<EPGEventsInfo_DB> db(kv::New<EPGEventsInfo_DB>());
  EXPECT_EQ(db->GetNumEvents(), 0);
  // The second page goes to places 8 to 15 with nothing before it.
  auto* e = kv::New<Structures::EventInfo>();
  e->EventId = 42;
  ASSERT_TRUE(db->SetEvent(8, e));
  EXPECT_EQ(db->GetEvent(7), nullptr);
  EXPECT_EQ(db->GetEvent(8)->EventId, 42);
  EXPECT_TRUE(db->SetEvent(999, kv::New<Structures::EventInfo>()));
  EXPECT_FALSE(db->SetEvent(1000, kv::New<Structures::EventInfo>()));
  EXPECT_TRUE(log.Contains("place 1000 outside the 1000 events"));
  driver.Pass();
  EXPECT_EQ(db->GetEvent(8)->EventId, 42);
  db->NoMoreEvents = 1;
  db->ClearEvents();
  EXPECT_EQ(db->GetEvent(8), nullptr);
  EXPECT_EQ(db->NoMoreEvents, 0);
}

TEST_F(RecordsTest, RecordingCachesStopAtTheirPlaces) {
  auto* scheduled = kv::New<DB_ScheduledInfo>();
  for (int32_t i = 0; i < 64; ++i) {
    auto* s = kv::New<ScheduledRecordData>();
    s->Id = i + 1;
    scheduled->Add(s);
  }
  EXPECT_EQ(scheduled->GetNumEvents(), MAX_SCHEDULED_INFO);
  EXPECT_EQ(scheduled->GetEntry(39)->Id, 40);
  EXPECT_EQ(scheduled->GetEntry(40), nullptr);
  EXPECT_TRUE(log.Contains("DB_ScheduledInfo: full at 40 entries, record 41 dropped"));

  auto* recorded = kv::New<DB_RecordedInfo>();
  for (int32_t i = 0; i < MAX_RECORDED_INFO; ++i) ASSERT_TRUE(recorded->Add(kv::New<RecordedShowData>()));
  auto* last = kv::New<RecordedShowData>();
  last->RecordId = 1001;
  EXPECT_FALSE(recorded->Add(last));
  EXPECT_FALSE(recorded->Add(nullptr));
  EXPECT_TRUE(log.Contains("DB_RecordedInfo: full at 1000 entries, record 1001 dropped"));
  EXPECT_EQ(recorded->GetNumEvents(), MAX_RECORDED_INFO);
}

TEST_F(RecordsTest, UserRefIntCarriesItsObjectAcrossCollections) {
  kv::Persistent<UserRefInt> p(UserRefInt::Make(0x8100001B, 0x1a90000));
  p->OnSetObject(kv::New<ChannelData>());
  p->OnSetString(kv::NewStringAnsi("abc"));
  driver.Pass();
  EXPECT_EQ(p->OnGetValue(), static_cast<int32_t>(0x8100001B));
  EXPECT_EQ(p->OnGetCode(), 0x1a90000);
  ASSERT_NE(kv::Cast<ChannelData>(p->OnGetObject()), nullptr);
  EXPECT_EQ(p->OnGetString(), kv::NewStringAnsi("abc"));
}

using SystemInfoTest = kvtest::SkinSimTest;

TEST_F(SystemInfoTest, RowsCarryTheSetsAnswers) {
  kv::Persistent<SystemInfo> info(kv::New<SystemInfo>());
  EXPECT_EQ(info->GetCount(), 0);
  info->Initialize();
  info->Initialize();  // the rows are made once
  ASSERT_EQ(info->GetCount(), SYSINFO_ROW_COUNT);
  info->Refresh();
  driver.Pass();

  ListForm::SystemInfoCourier* wired = info->GetRecord(SYSINFO_ROW_WIRED_MAC);
  ASSERT_NE(wired, nullptr);
  EXPECT_EQ(wired->Type, 1);
  EXPECT_EQ(wired->ItemIndex, SYSINFO_ROW_WIRED_MAC);
  std::string mac = tv_->Net().MacAddress(0);
  for (char& ch : mac) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  EXPECT_EQ(wired->Value, kv::NewStringAnsi(mac.c_str()));
  EXPECT_EQ(wired->Text, kv::ConcatString(wired->Caption, wired->Value));
  EXPECT_FALSE(info->GetRecord(SYSINFO_ROW_SOFTWARE_VERSION)->Value.Empty());
  EXPECT_EQ(info->GetRecord(SYSINFO_ROW_COUNT), nullptr);

  // A failing read shows the unknown text, not an empty row.
  tv_->FailCall("XPM_GetFirmwareVersion", 1);
  info->Refresh();
  EXPECT_EQ(info->GetRecord(SYSINFO_ROW_SOFTWARE_VERSION)->Value.ToUtf8(), "Unknown");
}

TEST_F(SystemInfoTest, UsbEntryShowsTheDiskOrUnknown) {
  kv::Persistent<SystemInfo> info(kv::New<SystemInfo>());
  sim::MountUsbDisk(*tv_);
  ASSERT_TRUE(tv_->Flush());  // no state write changes the free space between the two reads
  info->LoadUSBInfo();
  auto* skin = kv::Cast<SkinBin::Wrapper>(kv::GetAutoObject<::Wrapper::Wrapper>(MainApp::Wrapper));
  ASSERT_NE(skin, nullptr);
  const USBDiskStatus* disk = skin->GetUSBDiskStatus();
  ASSERT_TRUE(disk->Mounted);
  EXPECT_GT(disk->TotalKiB, 0);
  EXPECT_EQ(info->USBTotalSize.ToUtf8(), std::to_string(disk->TotalKiB / 1024) + " MB");
  EXPECT_EQ(info->USBFreeSize.ToUtf8(), std::to_string(disk->FreeKiB / 1024) + " MB");
  EXPECT_NE(info->USBName.ToUtf8(), "Unknown");

  sim::RemoveUsbDisk(*tv_);
  info->LoadUSBInfo();
  EXPECT_EQ(info->USBName.ToUtf8(), "Unknown");
  EXPECT_EQ(info->USBTotalSize.ToUtf8(), "0 MB");
  EXPECT_EQ(info->USBFreeSize.ToUtf8(), "0 MB");
}

TEST_F(SystemInfoTest, RowsStopAtTheirCapacity) {
  kvtest::LogCapture log;
  log.Start();
  auto* info = kv::New<SystemInfo>();
  for (int32_t i = 0; i < MAX_SYSTEM_INFO_ROWS; ++i) ASSERT_NE(info->AddRow(kv::NewStringAnsi("r")), nullptr);
  EXPECT_EQ(info->AddRow(kv::NewStringAnsi("late")), nullptr);
  EXPECT_TRUE(log.Contains("full at 16 rows, row late dropped"));
}

}  // namespace
}  // namespace skinbinrecordstest
