// SkinBin::Wrapper: the records behind the lists (the embedded HDMI-CEC
// devices, history of watched sources and system information, and the
// channel table) and the channel-number text the list rows show.
#include "runtime/text.h"
#include "strings/SkinBinWrapper.h"
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

kv::String Wrapper::GetChannelNumberStr(bool digital, int32_t major, int32_t minor) {
  if (major == -2) return kv::LoadString(SkinBinWrapper::SID_NO_CHANNEL);
  const kv::String number = kv::NewStringInt(major, 0);
  if (minor < 1 && !(digital && minor == 0)) return number;
  return kv::ConcatString(kv::ConcatString(number, kv::LoadString(SkinBinWrapper::CHANNEL_SEPARATOR)), kv::NewStringInt(minor, 0));
}

}  // namespace SkinBin
