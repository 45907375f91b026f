// SkinBin::HdmiCecData: the HDMI-CEC devices on the set's inputs and the
// control of the device an input points at.
//
// InitDevList rebuilds the table from the middleware's logical addresses 1
// to 14 (only addresses where a device answers). A device counts for an
// input only on HDMI and DVI inputs (source types 5 and 10) and only while
// the CEC control setting (EnableKELVO, handed in by the owner) is on.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "units/Structures/CECDevice.h"

namespace SkinBin {

// One entry of the table: a CEC device (Active: the device answers) and
// whether the input's CEC control points at it.
class CecDeviceEntry : public Structures::CECDevice {
  KV_CLASS(SkinBin, CecDeviceEntry, Structures::CECDevice)
 public:
  CecDeviceEntry() = default;
  uint8_t IsCurrent = 0;
};

class HdmiCecData : public kv::Object {
  KV_CLASS(SkinBin, HdmiCecData, kv::Object)
 public:
  static constexpr int32_t kMaxDevices = 14;

  HdmiCecData() = default;

  // The CEC control setting; the Wrapper hands in its EnableKELVO.
  void SetEnableKELVO(bool on) { enableKELVO_ = on; }
  bool GetEnableKELVO() const { return enableKELVO_; }

  void InitDevList();
  // Whether InitDevList has read the table since the start.
  bool IsListed() const { return listed_; }
  int32_t GetDevNum() const { return static_cast<int32_t>(devices_.size()); }
  CecDeviceEntry* GetDev(int32_t i) const;
  // Devices of one input (no type or setting test).
  int32_t GetDevNumBySrcId(int32_t source) const;
  // The n-th device of the input, counted from 0; null outside.
  CecDeviceEntry* GetDevInfoBySrcId(int32_t source, int32_t n) const;
  // The input's current device (the one its control points at, else its
  // first device); null unless the input is HDMI or DVI and the setting is on.
  CecDeviceEntry* IsCecDeviceConnected(int32_t source) const;

  int32_t SetHdmiCecAddr(int32_t source, int32_t address);
  int32_t SetHdmiCecAddrEx(int32_t source, int32_t address, int32_t extra);
  // True when an audio system answers the quick query (it plays the TV's
  // sound: system audio).
  bool GetQuickCecAudioStatus();
  // Sends a remote key code (XPM_CEC_KEY_*) to the audio system; the
  // middleware's status.
  int32_t SendAudioSystemKey(int32_t code);
  // Whether the audio system reports itself muted.
  bool GetAudioSystemMute();
  // Sends a remote key code to the device in control.
  int32_t SetCecUserControl(uint8_t code);

 private:
  void MarkCurrent(int32_t source, int32_t address);

  kv::MemberVector<CecDeviceEntry> devices_;
  bool enableKELVO_ = false;
  bool listed_ = false;
};

}  // namespace SkinBin
