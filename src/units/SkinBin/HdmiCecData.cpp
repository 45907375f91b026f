#include "units/SkinBin/HdmiCecData.h"

#include <cstring>
#include <string>

#include "platform/xpm/xpm_cec3d.h"
#include "platform/xpm/xpm_settings.h"
#include "runtime/trace.h"

namespace SkinBin {

KV_REGISTER_CLASS(SkinBin::CecDeviceEntry);
KV_REGISTER_CLASS(SkinBin::HdmiCecData);

namespace {
constexpr int32_t kSourceTypeHdmi = 5;
constexpr int32_t kSourceTypeDvi = 10;
}  // namespace

void HdmiCecData::InitDevList() {
  listed_ = true;
  devices_.clear();
  for (int32_t address = 1; address <= XPM_CEC_MAX_ADDRESS; ++address) {
    XPM_CecDevInfo info{};
    const int32_t r = XPM_HdmiCec_GetDevInfo(static_cast<uint8_t>(address), &info);
    if (r != XPM_OK) {
      kv::LogFailedCall("XPM_HdmiCec_GetDevInfo", r);
      continue;
    }
    if (!info.present) continue;
    auto* d = kv::New<CecDeviceEntry>();
    d->SourceId = info.source;
    d->LogicalAddress = address;
    d->Name = kv::NewStringAnsi(std::string(info.name, strnlen(info.name, sizeof info.name)).c_str());
    d->Active = 1;
    d->IsCurrent = info.active;
    devices_.push_back(d);
  }
}

CecDeviceEntry* HdmiCecData::GetDev(int32_t i) const {
  return i >= 0 && i < GetDevNum() ? devices_[static_cast<size_t>(i)] : nullptr;
}

int32_t HdmiCecData::GetDevNumBySrcId(int32_t source) const {
  int32_t n = 0;
  for (size_t i = 0; i < devices_.size(); ++i)
    if (devices_[i]->Active && devices_[i]->SourceId == source) ++n;
  return n;
}

CecDeviceEntry* HdmiCecData::GetDevInfoBySrcId(int32_t source, int32_t n) const {
  for (size_t i = 0; i < devices_.size(); ++i) {
    CecDeviceEntry* d = devices_[i];
    if (d->Active && d->SourceId == source && n-- == 0) return d;
  }
  return nullptr;
}

CecDeviceEntry* HdmiCecData::IsCecDeviceConnected(int32_t source) const {
  if (!enableKELVO_) return nullptr;
  int32_t type = 1;
  const int32_t r = XPM_GetSourceType(source, &type);
  if (r != XPM_OK) {
    kv::LogFailedCall("XPM_GetSourceType", r);
    return nullptr;
  }
  if (type != kSourceTypeHdmi && type != kSourceTypeDvi) return nullptr;
  CecDeviceEntry* first = nullptr;
  for (size_t i = 0; i < devices_.size(); ++i) {
    CecDeviceEntry* d = devices_[i];
    if (!d->Active || d->SourceId != source) continue;
    if (d->IsCurrent) return d;
    if (!first) first = d;
  }
  return first;
}

void HdmiCecData::MarkCurrent(int32_t source, int32_t address) {
  for (size_t i = 0; i < devices_.size(); ++i) {
    CecDeviceEntry* d = devices_[i];
    if (d->SourceId == source) d->IsCurrent = d->LogicalAddress == address ? 1 : 0;
  }
}

int32_t HdmiCecData::SetHdmiCecAddr(int32_t source, int32_t address) {
  kv::Trace("SkinBin::HdmiCecData::SetHdmiCecAddr %i %i", {source, address});
  const int32_t r = XPM_HdmiCecSetAddr(source, static_cast<uint8_t>(address));
  if (r != XPM_OK) return kv::LogFailedCall("XPM_HdmiCecSetAddr", r);
  MarkCurrent(source, address);
  return r;
}

int32_t HdmiCecData::SetHdmiCecAddrEx(int32_t source, int32_t address, int32_t extra) {
  kv::Trace("SkinBin::HdmiCecData::SetHdmiCecAddrEx %i %i %i", {source, address, extra});
  const int32_t r = XPM_HdmiCecSetAddrEx(source, static_cast<uint8_t>(address), extra);
  if (r != XPM_OK) return kv::LogFailedCall("XPM_HdmiCecSetAddrEx", r);
  MarkCurrent(source, address);
  return r;
}

namespace {
// Whether an HDMI-CEC item of the set reads on; a failed read is off.
bool CecItemOn(int32_t item) {
  int32_t value = 0;
  const int32_t r = XPM_HdmiCec_Get(item, &value);
  if (r != XPM_OK) {
    kv::LogFailedCall("XPM_HdmiCec_Get", r);
    return false;
  }
  return value > 0;
}
}  // namespace

bool HdmiCecData::GetQuickCecAudioStatus() { return CecItemOn(XPM_CEC_ITEM_AUDIO_SYSTEM); }

int32_t HdmiCecData::SendAudioSystemKey(int32_t code) {
  kv::Trace("SkinBin::HdmiCecData::SendAudioSystemKey %i", {code});
  const int32_t r = XPM_HdmiCec_Set(XPM_CEC_ITEM_AUDIO_CONTROL, code);
  if (r != XPM_OK) kv::LogFailedCall("XPM_HdmiCec_Set", r);
  return r;
}

bool HdmiCecData::GetAudioSystemMute() { return CecItemOn(XPM_CEC_ITEM_AUDIO_MUTE); }

int32_t HdmiCecData::SetCecUserControl(uint8_t code) {
  kv::Trace("SkinBin::HdmiCecData::SetCecUserControl %u", {static_cast<uint32_t>(code)});
  const int32_t r = XPM_HdmiCec_Set(XPM_CEC_ITEM_USER_CONTROL, code);
  if (r != XPM_OK) kv::LogFailedCall("XPM_HdmiCec_Set", r);
  return r;
}

}  // namespace SkinBin
