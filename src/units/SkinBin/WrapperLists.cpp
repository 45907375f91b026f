// SkinBin::Wrapper: the records behind the lists (the embedded HDMI-CEC
// devices, history of watched sources and system information, and the
// channel table).
#include "units/SkinBin/ChannelListData.h"
#include "units/SkinBin/HdmiCecData.h"
#include "units/SkinBin/HistoryAgent.h"
#include "units/SkinBin/SystemInfo.h"
#include "units/SkinBin/Wrapper.h"

namespace SkinBin {

SkinBin::HdmiCecData* Wrapper::GetHdmiCecData() {
  HdmiCecData.SetEnableKELVO(OnGetEnableKELVO() != 0);
  return &HdmiCecData;
}

SkinBin::HistoryAgent* Wrapper::GetHistoryAgent() { return &HistoryAgent; }

SkinBin::SystemInfo* Wrapper::GetSystemInfo() { return &SystemInfo; }

SkinBin::ChannelListData* Wrapper::GetChannelListData() {
  if (!ChannelList) ChannelList = kv::New<ChannelListData>();
  return ChannelList.get();
}

}  // namespace SkinBin
