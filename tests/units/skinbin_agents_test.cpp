// The skin's history agent (de-duplication, the 5000 ms entry, the cap,
// deletes), its HDMI-CEC data (only HDMI and DVI inputs, only with the CEC
// setting on) and its 3D setup against the simulated set's 3D states.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/sim/sim.h"
#include "platform/sim/sim_net_state.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm_settings.h"
#include "support/capture.h"
#include "support/kv_test.h"
#include "skinbin_sim_fixture.h"
#include "units/SkinBin/HdmiCecData.h"
#include "units/SkinBin/HistoryAgent.h"
#include "units/SkinBin/Setup3D.h"

namespace skinbinagentstest {
namespace {

using namespace Structures;

class HistoryTest : public kvtest::RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    agent = kv::New<SkinBin::HistoryAgent>();
  }
  HistoryInfo* Channel(int32_t major, int32_t minor, uint8_t cable = 0) {
    auto* h = kv::New<HistoryInfo>();
    h->Type = HISTORY_ITEM_TYPE_RF1;
    h->ChannelInfo = kv::New<HistoryChannelInfo>();
    h->ChannelInfo->AntCableIn = cable;
    h->ChannelInfo->SourceId = 10;
    h->ChannelInfo->Channel = kv::New<VirtualChannel>();
    h->ChannelInfo->Channel->Major = major;
    h->ChannelInfo->Channel->Minor = minor;
    return h;
  }
  HistoryInfo* Input(int32_t source) {
    auto* h = kv::New<HistoryInfo>();
    h->Type = HISTORY_ITEM_TYPE_NONRF;
    h->SourceInfo = kv::New<HistorySourceInfo>();
    h->SourceInfo->SourceId = source;
    return h;
  }
  HistoryInfo* Cec(int32_t address) {
    auto* h = kv::New<HistoryInfo>();
    h->Type = HISTORY_ITEM_TYPE_CEC;
    h->CECInfo = kv::New<HistoryCECInfo>();
    h->CECInfo->LogicalAddress = address;
    return h;
  }
  int32_t MajorAt(int32_t n) { return agent->GetHistory(n)->ChannelInfo->Channel->Major; }

  kv::Persistent<SkinBin::HistoryAgent> agent;
};

TEST_F(HistoryTest, DuplicatesMoveToTheNewestPlace) {
  agent->AddHistory(Channel(2, 1), false);
  agent->AddHistory(Input(40), false);
  agent->AddHistory(Channel(2, 1, 1), false);  // the same number on cable is another entry
  agent->AddHistory(Cec(4), false);
  agent->AddHistory(Channel(2, 1), false);
  agent->AddHistory(Input(40), false);
  agent->AddHistory(Cec(4), false);
  ASSERT_EQ(agent->GetHistoryNum(), 4);
  EXPECT_EQ(agent->GetHistory(1)->ChannelInfo->AntCableIn, 1);
  EXPECT_EQ(agent->GetHistory(2)->Type, HISTORY_ITEM_TYPE_RF1);
  EXPECT_EQ(agent->GetHistory(3)->Type, HISTORY_ITEM_TYPE_NONRF);
  EXPECT_EQ(agent->GetHistory(4)->Type, HISTORY_ITEM_TYPE_CEC);
  EXPECT_EQ(agent->GetHistory(0), nullptr);
  EXPECT_EQ(agent->GetHistory(5), nullptr);
  agent->AddHistory(nullptr, false);
  EXPECT_EQ(agent->GetHistoryNum(), 4);
}

// Media entries are the same entry when title and id match, wherever the
// file now lies; another id is another entry.
TEST_F(HistoryTest, MediaEntriesMatchOnTitleAndId) {
  auto media = [](int32_t type, const char* title, int32_t id, const char* path) {
    auto* h = kv::New<HistoryInfo>();
    h->Type = type;
    if (type == HISTORY_ITEM_TYPE_PHOTO) {
      h->PhotoInfo = kv::New<HistoryPhotoInfo>();
      h->PhotoInfo->Title = kv::NewStringAnsi(title);
      h->PhotoInfo->Id = id;
      h->PhotoInfo->Path = kv::NewStringAnsi(path);
    } else {
      h->MusicInfo = kv::New<HistoryMusicInfo>();
      h->MusicInfo->Title = kv::NewStringAnsi(title);
      h->MusicInfo->Id = id;
      h->MusicInfo->Path = kv::NewStringAnsi(path);
    }
    return h;
  };
  for (int32_t type : {HISTORY_ITEM_TYPE_PHOTO, HISTORY_ITEM_TYPE_MUSIC}) {
    SCOPED_TRACE(type);
    agent->DeleteAllHistory();
    agent->AddHistory(media(type, "Beach", 7, "/usb1/beach"), false);
    agent->AddHistory(media(type, "Beach", 8, "/usb1/beach"), false);  // another id: another entry
    EXPECT_EQ(agent->GetHistoryNum(), 2);
    agent->AddHistory(Input(40), false);
    agent->AddHistory(media(type, "Beach", 7, "/usb2/beach"), false);  // moved to another disk: the same
    ASSERT_EQ(agent->GetHistoryNum(), 3);
    EXPECT_EQ(agent->GetHistory(1)->Type, type);
    EXPECT_EQ(agent->GetHistory(2)->Type, HISTORY_ITEM_TYPE_NONRF);
    HistoryInfo* last = agent->GetHistory(3);
    ASSERT_EQ(last->Type, type);
    const kv::String& path = type == HISTORY_ITEM_TYPE_PHOTO ? last->PhotoInfo->Path : last->MusicInfo->Path;
    EXPECT_EQ(path.ToUtf8(), "/usb2/beach");
  }
}

TEST_F(HistoryTest, DelayedEntryGoesInAfterFiveSecondsUnlessReplaced) {
  agent->AddHistory(Channel(3, 0), true);
  driver.Pass(4000);
  agent->AddHistory(Channel(4, 1), true);  // zapping on: 3 never counts
  driver.Pass(4999);
  EXPECT_EQ(agent->GetHistoryNum(), 0);
  driver.Pass(1);
  ASSERT_EQ(agent->GetHistoryNum(), 1);
  EXPECT_EQ(MajorAt(1), 4);
  EXPECT_EQ(agent->GetPending(), nullptr);
  // InsertHistorySlot puts a pending entry in at once; the timer adds nothing later.
  agent->AddHistory(Channel(5, 1), true);
  agent->InsertHistorySlot();
  driver.RunFor(6000, 500);
  EXPECT_EQ(agent->GetHistoryNum(), 2);
}

TEST_F(HistoryTest, CapDropsTheOldestAndDeletesWork) {
  for (int32_t i = 1; i <= 40; ++i) agent->AddHistory(Channel(i, 1, static_cast<uint8_t>(i % 2)), false);
  ASSERT_EQ(agent->GetHistoryNum(), SkinBin::MAX_ITEMS_IN_HISTORY_LIST);
  EXPECT_EQ(MajorAt(1), 9);
  EXPECT_EQ(MajorAt(32), 40);
  agent->AddHistory(Input(20), false);
  agent->AddHistory(Cec(8), false);
  agent->DeleteRFChannelHistory(1);  // the cable channels (odd numbers)
  EXPECT_EQ(agent->GetHistoryNum(), 15 + 2);
  agent->DeleteSourceHistoryByType(HISTORY_ITEM_TYPE_CEC);
  EXPECT_EQ(agent->GetHistory(agent->GetHistoryNum())->Type, HISTORY_ITEM_TYPE_NONRF);
  agent->AddHistory(Channel(99, 1), true);
  agent->DeleteAllHistory();
  driver.RunFor(6000, 1000);
  EXPECT_EQ(agent->GetHistoryNum(), 0);  // the pending entry went too
}

using SimAgentTest = kvtest::SkinSimTest;

TEST_F(SimAgentTest, CecDevicesOnlyOnHdmiWithTheSettingOn) {
  const int32_t hdmi = SourceOfType(sim::kSourceTypeHdmi);
  const int32_t tuner = SourceOfType(sim::kSourceTypeTuner);
  ASSERT_GE(hdmi, 0);
  tv_->Net().SetCecDevices({{hdmi, 4, "Blu-ray Player"}, {hdmi, 5, "AV Receiver"}, {tuner, 8, "Stray"},
                            {hdmi, 9, "Gone", false}});
  auto* cec = kv::New<SkinBin::HdmiCecData>();
  cec->InitDevList();
  ASSERT_EQ(cec->GetDevNum(), 3);
  EXPECT_EQ(cec->GetDevNumBySrcId(hdmi), 2);
  EXPECT_EQ(cec->GetDevInfoBySrcId(hdmi, 1)->Name.ToUtf8(), "AV Receiver");
  EXPECT_EQ(cec->GetDevInfoBySrcId(hdmi, 2), nullptr);

  EXPECT_EQ(cec->IsCecDeviceConnected(hdmi), nullptr);  // the setting is off
  cec->SetEnableKELVO(true);
  ASSERT_NE(cec->IsCecDeviceConnected(hdmi), nullptr);
  EXPECT_EQ(cec->IsCecDeviceConnected(hdmi)->LogicalAddress, 4);
  EXPECT_EQ(cec->IsCecDeviceConnected(tuner), nullptr);  // not an HDMI input

  EXPECT_EQ(cec->SetHdmiCecAddrEx(hdmi, 5, 1), 0);
  EXPECT_EQ(tv_->Net().CecTarget(), std::make_pair(hdmi, 5));
  EXPECT_EQ(cec->IsCecDeviceConnected(hdmi)->LogicalAddress, 5);
  cec->InitDevList();  // the middleware tells which device is current
  EXPECT_EQ(cec->IsCecDeviceConnected(hdmi)->LogicalAddress, 5);

  // The receiver plays the TV's sound only while the TV's speakers are off.
  EXPECT_FALSE(cec->GetQuickCecAudioStatus());
  ASSERT_EQ(XPM_SetSpeaker(0), XPM_OK);
  EXPECT_TRUE(cec->GetQuickCecAudioStatus());
  tv_->Net().SetAudioSystem(false);
  EXPECT_FALSE(cec->GetQuickCecAudioStatus());
  tv_->FailCall("XPM_HdmiCec_Get", 1);
  EXPECT_FALSE(cec->GetQuickCecAudioStatus());
  EXPECT_EQ(cec->SetCecUserControl(0x44), 0);
  EXPECT_EQ(tv_->Net().CecUserControls(), std::vector<int32_t>{0x44});
}

TEST_F(SimAgentTest, Setup3DFollowsTheSetsStates) {
  using namespace SkinBin;
  kv::Persistent<Setup3D> s3d = kv::New<Setup3D>();
  s3d->RefreshState();
  EXPECT_EQ(s3d->State, Setup3D_State_2D);
  EXPECT_FALSE(s3d->IsFormatSupported());
  EXPECT_FALSE(s3d->IsFormatSelected());

  tv_->Net().SetInput3DFormat(OAM_3D_MODE_SBS);
  s3d->RefreshState();
  EXPECT_TRUE(s3d->IsFormatSupported());
  EXPECT_TRUE(s3d->IsFormatSelected());
  s3d->State = Setup3D_State_3D;
  s3d->ApplyState();
  s3d->RefreshState();
  EXPECT_EQ(s3d->State, Setup3D_State_3D);
  EXPECT_EQ(s3d->Mode, OAM_3D_MODE_SBS);
  EXPECT_TRUE(Setup3D::Is3DDisplay(s3d->State));

  // Back to 2D from a 3D input: shown as 2D, mode kept; deferred by one pass.
  s3d->SwitchTo2DState(true);
  EXPECT_EQ(s3d->State, Setup3D_State_3Dto2D);
  EXPECT_EQ(tv_->CountCalls("XPM_3DTV_SetOutput"), 1u);
  driver.Pass();
  driver.Pass();
  EXPECT_EQ(tv_->Calls("XPM_3DTV_SetOutput").back(), "XPM_3DTV_SetOutput(0)");
  s3d->RefreshState();
  EXPECT_EQ(s3d->State, Setup3D_State_3Dto2D);

  // 2D to 3D on a 2D input, then back to plain 2D at once.
  tv_->Net().SetInput3DFormat(OAM_3D_MODE_NONE);
  s3d->State = Setup3D_State_2Dto3D;
  s3d->ApplyState();
  s3d->RefreshState();
  EXPECT_EQ(s3d->State, Setup3D_State_2Dto3D);
  EXPECT_TRUE(s3d->IsFormatSelected());
  s3d->SwitchTo2DState(false);
  s3d->RefreshState();
  EXPECT_EQ(s3d->State, Setup3D_State_2D);
  EXPECT_EQ(s3d->Mode, OAM_3D_MODE_2D);

  tv_->Net().SetInput3DFormat(OAM_3D_MODE_UNSUPPORTED);
  s3d->RefreshState();
  EXPECT_FALSE(s3d->IsFormatSupported());
  EXPECT_TRUE(Setup3D::Is3DMode(2));
  EXPECT_FALSE(Setup3D::Is3DMode(1));
}

}  // namespace
}  // namespace skinbinagentstest
