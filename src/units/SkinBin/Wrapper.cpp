// Construction of the skin's Wrapper and its replaced virtual operations.
#include "units/SkinBin/Wrapper.h"

#include "units/Agent/EventAgent.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Structures/VirtualChannel.h"

KV_REGISTER_CLASS(::SkinBin::Wrapper);

namespace SkinBin {

Wrapper::Wrapper() {
  FreezeTimer.OnSetBegin(FREEZE_TIMEOUT_MS);
  FreezeTimer.OnSetPeriod(0);
  FreezeTimer.OnTrigger = kv::MakeSlot(this, &Wrapper::FreezeSlot);
}

Wrapper::~Wrapper() = default;

void Wrapper::ReInit() {
  ::Wrapper::Wrapper::ReInit();
  FreezeTimer.ReInit();
  ActiveApps.ReInit();
}

void Wrapper::FreezeSlot(kv::Object*) { OnSetIsFrozen(0); }

int32_t Wrapper::ResetAll() { return ::Wrapper::Wrapper::ResetAll(); }
int32_t Wrapper::SetSource(int32_t window, int32_t source) { return ::Wrapper::Wrapper::SetSource(window, source); }
Structures::TimerData* Wrapper::GetTimer(int32_t id) { return ::Wrapper::Wrapper::GetTimer(id); }
int32_t Wrapper::SetTimer(Structures::TimerData* record) { return ::Wrapper::Wrapper::SetTimer(record); }
int32_t Wrapper::SetLastChannel() { return ::Wrapper::Wrapper::SetLastChannel(); }
Structures::VirtualChannel* Wrapper::GetNextChannel(int32_t ring, int32_t major, int32_t minor) { return ::Wrapper::Wrapper::GetNextChannel(ring, major, minor); }
Structures::VirtualChannel* Wrapper::GetPrevChannel(int32_t ring, int32_t major, int32_t minor) { return ::Wrapper::Wrapper::GetPrevChannel(ring, major, minor); }
int32_t Wrapper::GetNumChannelsInRing(int32_t ring) { return ::Wrapper::Wrapper::GetNumChannelsInRing(ring); }
void Wrapper::OnSetVolume(int32_t value) { ::Wrapper::Wrapper::OnSetVolume(value); }
void Wrapper::OnSetRed_Offset(int32_t value) { ::Wrapper::Wrapper::OnSetRed_Offset(value); }
int32_t Wrapper::OnGetRed_Offset() { return ::Wrapper::Wrapper::OnGetRed_Offset(); }
void Wrapper::OnSetGreen_Offset(int32_t value) { ::Wrapper::Wrapper::OnSetGreen_Offset(value); }
int32_t Wrapper::OnGetGreen_Offset() { return ::Wrapper::Wrapper::OnGetGreen_Offset(); }
void Wrapper::OnSetBlue_Offset(int32_t value) { ::Wrapper::Wrapper::OnSetBlue_Offset(value); }
int32_t Wrapper::OnGetBlue_Offset() { return ::Wrapper::Wrapper::OnGetBlue_Offset(); }
void Wrapper::OnSetRed_Gain(int32_t value) { ::Wrapper::Wrapper::OnSetRed_Gain(value); }
int32_t Wrapper::OnGetRed_Gain() { return ::Wrapper::Wrapper::OnGetRed_Gain(); }
void Wrapper::OnSetGreen_Gain(int32_t value) { ::Wrapper::Wrapper::OnSetGreen_Gain(value); }
int32_t Wrapper::OnGetGreen_Gain() { return ::Wrapper::Wrapper::OnGetGreen_Gain(); }
void Wrapper::OnSetBlue_Gain(int32_t value) { ::Wrapper::Wrapper::OnSetBlue_Gain(value); }
int32_t Wrapper::OnGetBlue_Gain() { return ::Wrapper::Wrapper::OnGetBlue_Gain(); }
void Wrapper::OnSetVideoPreset(int32_t value) { ::Wrapper::Wrapper::OnSetVideoPreset(value); }
void Wrapper::OnSetAntCableIn(int32_t medium) { ::Wrapper::Wrapper::OnSetAntCableIn(medium); }
void Wrapper::OnSetTimeZone(int32_t zone) { ::Wrapper::Wrapper::OnSetTimeZone(zone); }
void Wrapper::OnSetDaylightSavingTime(int32_t flag) { ::Wrapper::Wrapper::OnSetDaylightSavingTime(flag); }
void Wrapper::OnSetMute(int32_t value) { ::Wrapper::Wrapper::OnSetMute(value); }
int32_t Wrapper::OnGetMute() { return ::Wrapper::Wrapper::OnGetMute(); }
int32_t Wrapper::OnGetPreferViewMode() { return ::Wrapper::Wrapper::OnGetPreferViewMode(); }
int32_t Wrapper::OnGetTimerSource() { return ::Wrapper::Wrapper::OnGetTimerSource(); }
int32_t Wrapper::OnGetTimerChannel() { return ::Wrapper::Wrapper::OnGetTimerChannel(); }
void Wrapper::OnSetIsFrozen(int32_t flag) { ::Wrapper::Wrapper::OnSetIsFrozen(flag); }
int32_t Wrapper::SetChannelApi(int32_t window, int32_t major, int32_t minor) { return ::Wrapper::Wrapper::SetChannelApi(window, major, minor); }
void Wrapper::ResetLastChannel() { ::Wrapper::Wrapper::ResetLastChannel(); }
void Wrapper::OnSetRemainSleepTime(int32_t minutes) { ::Wrapper::Wrapper::OnSetRemainSleepTime(minutes); }
int32_t Wrapper::OnGetTimerMapId() { return ::Wrapper::Wrapper::OnGetTimerMapId(); }

}  // namespace SkinBin
