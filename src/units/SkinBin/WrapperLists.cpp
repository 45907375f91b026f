// SkinBin::Wrapper: the records behind the lists (the embedded HDMI-CEC
// devices, history of watched sources and system information, and the
// channel table, the guide events and the recording caches).
#include "units/Core/SetReads.h"
#include "units/SkinBin/ChannelListData.h"
#include "units/SkinBin/EPGEventsInfo_DB.h"
#include "units/SkinBin/RecordData.h"
#include "units/SkinBin/HdmiCecData.h"
#include "units/SkinBin/HistoryAgent.h"
#include "units/SkinBin/SystemInfo.h"
#include "units/SkinBin/Wrapper.h"

namespace SkinBin {

// The device table is read from the set the first time it is asked for, so
// that the first banner after a start names an input's device.
SkinBin::HdmiCecData* Wrapper::GetHdmiCecData() {
  Core::NoteSetRead("HdmiCecData");
  HdmiCecData.SetEnableKELVO(OnGetEnableKELVO() != 0);
  if (!HdmiCecData.IsListed()) HdmiCecData.InitDevList();
  return &HdmiCecData;
}

SkinBin::HistoryAgent* Wrapper::GetHistoryAgent() { return &HistoryAgent; }

SkinBin::SystemInfo* Wrapper::GetSystemInfo() { return &SystemInfo; }

SkinBin::ChannelListData* Wrapper::GetChannelListData() {
  if (!ChannelList) ChannelList = kv::New<ChannelListData>();
  return ChannelList.get();
}

SkinBin::EPGEventsInfo_DB* Wrapper::GetEPGProgramList() {
  if (!EPGProgramList) EPGProgramList = kv::New<EPGEventsInfo_DB>();
  return EPGProgramList.get();
}

SkinBin::DB_ScheduledInfo* Wrapper::GetScheduledInfo() {
  if (!ScheduledInfo) ScheduledInfo = kv::New<DB_ScheduledInfo>();
  return ScheduledInfo.get();
}

SkinBin::DB_RecordedInfo* Wrapper::GetRecordedInfo() {
  if (!RecordedInfo) RecordedInfo = kv::New<DB_RecordedInfo>();
  return RecordedInfo.get();
}

}  // namespace SkinBin
