// Construction of the skin's Wrapper and its replaced virtual operations.
#include "units/SkinBin/Wrapper.h"

#include "strings/SkinBinWrapper.h"
#include "strings/Strings.h"
#include "units/SkinBin/ChannelListData.h"
#include "units/Agent/EventAgent.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Structures/VirtualChannel.h"

KV_REGISTER_CLASS(::SkinBin::Wrapper);

namespace SkinBin {

using namespace ::SkinBinWrapper;

Wrapper::Wrapper() {
  FreezeTimer.OnSetBegin(FREEZE_TIMEOUT_MS);
  FreezeTimer.OnSetPeriod(0);
  FreezeTimer.OnTrigger = kv::MakeSlot(this, &Wrapper::FreezeSlot);
  static constexpr kv::TextId kNames[SOURCE_NAME_COUNT] = {
      SOURCE_NAME_0,  SOURCE_NAME_1,  SOURCE_NAME_2,  SOURCE_NAME_3,  SOURCE_NAME_4,  SOURCE_NAME_5,
      SOURCE_NAME_6,  SOURCE_NAME_7,  SOURCE_NAME_8,  SOURCE_NAME_9,  SOURCE_NAME_10, SOURCE_NAME_11,
      SOURCE_NAME_12, SOURCE_NAME_13, SOURCE_NAME_14, SOURCE_NAME_15, SOURCE_NAME_16, SOURCE_NAME_17,
      SOURCE_NAME_18, SOURCE_NAME_19, SOURCE_NAME_20, SOURCE_NAME_21, SOURCE_NAME_22, SOURCE_NAME_23,
      SOURCE_NAME_24, {},             {},             {},             {},             SOURCE_NAME_29};
  for (int32_t i = 0; i < SOURCE_NAME_COUNT; ++i)
    if (kNames[i].Valid()) SourceNames[i] = kv::LoadString(kNames[i]);
}

Wrapper::~Wrapper() = default;

void Wrapper::ReInit() {
  ::Wrapper::Wrapper::ReInit();
  DynamicRatingData.ReInit();
  HdmiCecData.ReInit();
  NetworkSetup.ReInit();
  HistoryAgent.ReInit();
  Setup3D.ReInit();
  FreezeTimer.ReInit();
  ActiveApps.ReInit();
  SystemInfo.ReInit();
}

void Wrapper::FreezeSlot(kv::Object*) { OnSetIsFrozen(0); }

SkinBin::ChannelListData* Wrapper::GetChannelList() {
  if (!ChannelList) ChannelList = kv::New<SkinBin::ChannelListData>();
  return ChannelList.get();
}

kv::String Wrapper::GetSourceName(int32_t source) {
  const auto id = static_cast<uint32_t>(source);
  if (id < SOURCE_NAME_COUNT && !SourceNames[id].Empty()) return SourceNames[id];
  return kv::GetVariantOfString(::Strings::SID_UNKNOWN);
}

// The user white balance: cached, then written by read-modify-write of the
// set's record (not while the OSD is locked), then the colour temperature
// is applied again over it.
void Wrapper::SetWhiteBalanceValue(int32_t& cache, int32_t index, int32_t value) {
  cache = value;
  if (!OSDLock) SetWhiteBalance(index, value);
  OnSetColorTemperature(OnGetColorTemperature());
}

int32_t Wrapper::ResetAll() { return ::Wrapper::Wrapper::ResetAll(); }
int32_t Wrapper::SetSource(int32_t window, int32_t source) { return ::Wrapper::Wrapper::SetSource(window, source); }
Structures::TimerData* Wrapper::GetTimer(int32_t id) {
  Structures::TimerData* timer = ::Wrapper::Wrapper::GetTimer(id);
  if (timer && Store()) timer->Extra2 = Store()->GetInteger(::SkinBinWrapper::KEY_ON_TIMER_VOLUME);
  return timer;
}
int32_t Wrapper::SetTimer(Structures::TimerData* record) {
  const int32_t status = ::Wrapper::Wrapper::SetTimer(record);
  Structures::TimerData* saved = record ? record : (UseTimerCache ? ActiveTimer.get() : nullptr);
  if (saved && Store()) Store()->PutInteger(::SkinBinWrapper::KEY_ON_TIMER_VOLUME, saved->Extra2);
  return status;
}
int32_t Wrapper::SetLastChannel() { return ::Wrapper::Wrapper::SetLastChannel(); }
Structures::VirtualChannel* Wrapper::GetNextChannel(int32_t ring, int32_t major, int32_t minor) { return ::Wrapper::Wrapper::GetNextChannel(ring, major, minor); }
Structures::VirtualChannel* Wrapper::GetPrevChannel(int32_t ring, int32_t major, int32_t minor) { return ::Wrapper::Wrapper::GetPrevChannel(ring, major, minor); }
int32_t Wrapper::GetNumChannelsInRing(int32_t ring) { return ::Wrapper::Wrapper::GetNumChannelsInRing(ring); }
void Wrapper::OnSetVolume(int32_t value) {
  if (OnGetMute()) OnSetMute(0);
  ::Wrapper::Wrapper::OnSetVolume(value);
}
void Wrapper::OnSetRed_Offset(int32_t value) { SetWhiteBalanceValue(Red_Offset, 3, value); }
int32_t Wrapper::OnGetRed_Offset() { return Red_Offset = GetWhiteBalance(3); }
void Wrapper::OnSetGreen_Offset(int32_t value) { SetWhiteBalanceValue(Green_Offset, 4, value); }
int32_t Wrapper::OnGetGreen_Offset() { return Green_Offset = GetWhiteBalance(4); }
void Wrapper::OnSetBlue_Offset(int32_t value) { SetWhiteBalanceValue(Blue_Offset, 5, value); }
int32_t Wrapper::OnGetBlue_Offset() { return Blue_Offset = GetWhiteBalance(5); }
void Wrapper::OnSetRed_Gain(int32_t value) { SetWhiteBalanceValue(Red_Gain, 0, value); }
int32_t Wrapper::OnGetRed_Gain() { return Red_Gain = GetWhiteBalance(0); }
void Wrapper::OnSetGreen_Gain(int32_t value) { SetWhiteBalanceValue(Green_Gain, 1, value); }
int32_t Wrapper::OnGetGreen_Gain() { return Green_Gain = GetWhiteBalance(1); }
void Wrapper::OnSetBlue_Gain(int32_t value) { SetWhiteBalanceValue(Blue_Gain, 2, value); }
int32_t Wrapper::OnGetBlue_Gain() { return Blue_Gain = GetWhiteBalance(2); }
void Wrapper::OnSetVideoPreset(int32_t value) { ::Wrapper::Wrapper::OnSetVideoPreset(value); }
void Wrapper::OnSetAntCableIn(int32_t medium) { ::Wrapper::Wrapper::OnSetAntCableIn(medium); }
void Wrapper::OnSetTimeZone(int32_t zone) { ::Wrapper::Wrapper::OnSetTimeZone(zone); }
void Wrapper::OnSetDaylightSavingTime(int32_t flag) { ::Wrapper::Wrapper::OnSetDaylightSavingTime(flag); }
void Wrapper::OnSetMute(int32_t value) { ::Wrapper::Wrapper::OnSetMute(value); }
int32_t Wrapper::OnGetMute() { return ::Wrapper::Wrapper::OnGetMute(); }
int32_t Wrapper::OnGetPreferViewMode() { return GetViewMode(); }
int32_t Wrapper::OnGetTimerSource() {
  const int32_t source = ::Wrapper::Wrapper::OnGetTimerSource();
  if (source == -1 || source == 30) OnSetTimerSource(GetCurrentSource(0));
  return TimerSource;
}
int32_t Wrapper::OnGetTimerChannel() { return ::Wrapper::Wrapper::OnGetTimerChannel(); }
void Wrapper::OnSetIsFrozen(int32_t flag) {
  ::Wrapper::Wrapper::OnSetIsFrozen(flag);
  if (flag && IsFrozen) FreezeTimer.Activate();
  else if (!flag && !IsFrozen) FreezeTimer.OnSetEnabled(false);
  FreezeRequest = flag != 0;
}
int32_t Wrapper::SetChannelApi(int32_t window, int32_t major, int32_t minor) { return ::Wrapper::Wrapper::SetChannelApi(window, major, minor); }
void Wrapper::ResetLastChannel() {
  ::Wrapper::Wrapper::ResetLastChannel();
  RememberedChannel = nullptr;
}

int32_t Wrapper::OnGetTimerMapId() {
  const int32_t map = ::Wrapper::Wrapper::OnGetTimerMapId();
  if (map < 2) return map;
  OnSetTimerMapId(OnGetAntCableIn());
  return TimerMapId;
}

}  // namespace SkinBin
