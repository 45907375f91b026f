// Construction of the skin's Wrapper and its replaced virtual operations.
#include "units/SkinBin/Wrapper.h"

#include "platform/tvsm/tvsm.h"
#include "platform/tvsm/tvsm_register.h"
#include "platform/xpm/xpm_oem.h"
#include "platform/xpm/xpm_settings.h"
#include "strings/SkinBinWrapper.h"
#include "strings/Strings.h"
#include "units/Agent/EventAgent.h"
#include "units/Constants/Constants.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Structures/ChannelData.h"
#include "units/Structures/HistoryInfo.h"
#include "units/Structures/VirtualChannel.h"
#include "units/Wrapper/WrapperInternal.h"

KV_REGISTER_CLASS(::SkinBin::Wrapper);

namespace SkinBin {

using namespace ::SkinBinWrapper;

Wrapper::Wrapper() {
  FreezeTimer.OnSetBegin(FREEZE_TIMEOUT_MS);
  FreezeTimer.OnSetPeriod(0);
  FreezeTimer.OnTrigger = kv::MakeSlot(this, &Wrapper::FreezeSlot);
  LoadSourceNames();
}

// The inputs' names in the menu language (again after a language change).
void Wrapper::LoadSourceNames() {
  static constexpr const kv::MultiTextId* kNames[SOURCE_NAME_COUNT] = {
      &SOURCE_NAME_0,  &SOURCE_NAME_1,  &SOURCE_NAME_2,  &SOURCE_NAME_3,  &SOURCE_NAME_4,  &SOURCE_NAME_5,
      &SOURCE_NAME_6,  &SOURCE_NAME_7,  &SOURCE_NAME_8,  &SOURCE_NAME_9,  &SOURCE_NAME_10, &SOURCE_NAME_11,
      &SOURCE_NAME_12, &SOURCE_NAME_13, &SOURCE_NAME_14, &SOURCE_NAME_15, &SOURCE_NAME_16, &SOURCE_NAME_17,
      &SOURCE_NAME_18, &SOURCE_NAME_19, &SOURCE_NAME_20, &SOURCE_NAME_21, &SOURCE_NAME_22, &SOURCE_NAME_23,
      &SOURCE_NAME_24, nullptr,         nullptr,         nullptr,         nullptr,         &SOURCE_NAME_29};
  for (int32_t i = 0; i < SOURCE_NAME_COUNT; ++i)
    SourceNames[i] = kNames[i] ? kv::GetVariantOfString(*kNames[i]) : kv::String();
}

Wrapper::~Wrapper() = default;

void Wrapper::ReInit() {
  ::Wrapper::Wrapper::ReInit();
  LoadSourceNames();
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

namespace {
constexpr int32_t kTuningDigitalOnly = 2;
bool IsTunerType(int32_t type) { return type == 1 || type == 12; }
}  // namespace

// The factory reset: the skin's own settings, the rating region, white
// balance, backlight curve, history and network applications, then the
// middleware's reset.
int32_t Wrapper::ResetAll() {
  OnSetTVForceOn(1);
  ResetMMSettings();
  if (EventAgent) EventAgent->Clear();
  // The downloaded rating table's blocks go too.
  DynamicRatingData.ResetDownloadedRegion();
  WB_Reset();
  ResetBacklightAdjustment();
  OnSetGameTimerIndex(0);
  OnSetNetworkType(0);
  if (auto* store = Store()) {
    store->OnSetAutoSyncData(false);
    for (kv::TextId key : {KEY_PIN, KEY_MISC_13, KEY_MENU_LANGUAGE, KEY_MISC_15, KEY_RETAIL_MODE, KEY_THEATER_LOCK,
                           KEY_NETWORK_TYPE, KEY_INPUT_LOCK, KEY_GAME_TIMER_ON, KEY_ENABLE_AUTO_INPUT, KEY_3D_PIN,
                           KEY_AUTOMATIC_POWER_DOWN, KEY_SAVED_POWER_DOWN, KEY_MISC_1F, KEY_HDMI_INFORMATION_DISPLAY})
      store->RemoveString(key);
    for (kv::TextId prefix : {KEY_SOURCE_PREFIX, KEY_PREFIX_21, KEY_PREFIX_22, KEY_OPTION_CHANGE_PREFIX, KEY_PREFIX_24})
      store->RemoveStrings(prefix);
    kv::Signal(store->OnLoadDefaultData, store);
    store->OnSetAutoSyncData(true);
    store->SyncData();
  }
  HistoryAgent.DeleteAllHistory();
  DeactivateNetworkApp(2);
  DeactivateNetworkApp(3);
  SetMenuLanguage(0);
  OnSetCountry(0);
  return ::Wrapper::Wrapper::ResetAll();
}

// Leaving 3D when the picture changes: the 3D state is read again and a 3D
// picture goes back to 2D with the 3D lock cleared.
bool Wrapper::Leave3DOnChange() {
  Setup3D.RefreshState();
  if (!Setup3D::Is3DDisplay(Setup3D.State) && !Setup3D::Is3DMode(Setup3D.Mode)) return false;
  Setup3D.State = Setup3D_State_2D;
  Setup3D.Mode = OAM_3D_MODE_2D;
  return true;
}

void Wrapper::AddSourceHistory(int32_t source) {
  auto* entry = kv::New<Structures::HistoryInfo>();
  if (CecDeviceEntry* dev = HdmiCecData.IsCecDeviceConnected(source)) {
    entry->Type = Structures::HISTORY_ITEM_TYPE_CEC;
    auto* cec = kv::New<Structures::HistoryCECInfo>();
    cec->DeviceName = dev->Name;
    cec->SourceId = source;
    cec->LogicalAddress = dev->LogicalAddress;
    entry->CECInfo = cec;
  } else {
    entry->Type = Structures::HISTORY_ITEM_TYPE_NONRF;
    auto* info = kv::New<Structures::HistorySourceInfo>();
    info->SourceId = source;
    const kv::String label = GetSourceLabel(source);
    info->Label = label.Empty() ? GetSourceName(source) : label;
    entry->SourceInfo = info;
  }
  HistoryAgent.AddHistory(entry, true);
}

void Wrapper::AddChannelHistory(int32_t type, int32_t source, Structures::VirtualChannel* channel, bool delayed) {
  auto* entry = kv::New<Structures::HistoryInfo>();
  entry->Type = type;
  auto* info = kv::New<Structures::HistoryChannelInfo>();
  info->AntCableIn = OnGetAntCableIn() == 1 ? 1 : 0;
  info->SourceId = source;
  info->Channel = channel;
  // A tuner without channels (an empty map) has none to name: GetChannelInfo
  // answers nothing for the channel none.
  if (channel)
    if (Structures::ChannelData* data = GetChannelInfo(channel->Major, channel->Minor)) {
      info->Name = data->Name;
      info->IsDigital = data->IsDigital;
    }
  entry->ChannelInfo = info;
  HistoryAgent.AddHistory(entry, delayed);
}

int32_t Wrapper::SetSource(int32_t window, int32_t source) {
  // Another application owns the screen: only remember where to come back to.
  if (!TV101 && Root) return XPM_CALL(XPM_SetBack2TVSourceID, source);
  StopGlowSyncThread();
  if (source != GetCurrentSource(window)) {
    if (Leave3DOnChange()) {
      Clear3DLockTimer();
    } else if (Remain3DContinualTime >= 1) {
      Stop3DContinualTimer();
      Remain3DContinualTime = 0;
    }
  }
  const int32_t status = ::Wrapper::Wrapper::SetSource(window, source);
  // The Last key keeps its channel across the source change.
  Structures::VirtualChannel* remembered = RememberedChannel.get();
  kv::Signal(kv::MakeSlot(this, &Wrapper::ResetLastChannelSlot), this);
  RememberedChannel = remembered;
  if (GetParentalLocksState() == 1) SetParentalLocksState(2);
  const int32_t type = GetSourceType(source);
  if (IsTunerType(type)) {
    if (type == 1) HistoryAgent.DeleteSourceHistoryByType(Structures::HISTORY_ITEM_TYPE_RF2);
    else HistoryAgent.DeleteSourceHistoryByType(Structures::HISTORY_ITEM_TYPE_RF1);
    AddChannelHistory(type == 12 ? Structures::HISTORY_ITEM_TYPE_RF2 : Structures::HISTORY_ITEM_TYPE_RF1, source,
                      GetCurrentChannel(), true);
  } else if (type != Constants::XPM_SOURCE_TYPE_MULTI_MEDIA && type != Constants::XPM_SOURCE_TYPE_EXT) {
    // The media input and the external one show only under their own
    // screens: a history tile would tune them bare, with nothing to leave by.
    AddSourceHistory(source);
  }
  return status;
}

void Wrapper::ResetLastChannelSlot(kv::Object*) { ResetLastChannel(); }

// The source to return to outlives a power cut: a set switched off at the
// plug on the media input starts again on the source the viewer left for it.
void Wrapper::KeepPreviousSource(int32_t source) {
  ::Wrapper::Wrapper::KeepPreviousSource(source);
  PersistentData::PersistentData* store = Store();
  if (!store) return;
  const bool stored = !store->GetString(KEY_PREVIOUS_SOURCE).Empty();
  if (source == -1) {
    if (stored) store->RemoveString(KEY_PREVIOUS_SOURCE);
  } else if (!stored || store->GetInteger(KEY_PREVIOUS_SOURCE) != source) {
    store->PutInteger(KEY_PREVIOUS_SOURCE, source);
  }
}

void Wrapper::LoadPreviousSource() {
  PersistentData::PersistentData* store = Store();
  if (!store) return;
  const kv::String text = store->GetString(KEY_PREVIOUS_SOURCE);
  if (text.Empty()) return;
  const int32_t source = store->GetInteger(KEY_PREVIOUS_SOURCE);
  int32_t type = 0;
  if (kv::NewStringInt(source, 0) != text || XPM_CALL(XPM_GetSourceType, source, &type) != 0 ||
      type == Constants::XPM_SOURCE_TYPE_MULTI_MEDIA || type == Constants::XPM_SOURCE_TYPE_EXT) {
    kv::Log("SkinBin::Wrapper: stored previous source \"" + kv::EscapedText(text.ToUtf8()) +
            "\" is no source to return to, dropped");
    store->RemoveString(KEY_PREVIOUS_SOURCE);
    return;
  }
  PreviousSource = source;
}

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
int32_t Wrapper::SetLastChannel() {
  if (OnGetChannelTuningMode() == kTuningDigitalOnly) {
    // The channel the Last key would go to.
    Structures::VirtualChannel* target = LastChannel.get();
    if (LastChannelToggling) {
      Structures::VirtualChannel* current = GetCurrentChannel();
      auto same = [](Structures::VirtualChannel* a, Structures::VirtualChannel* b) {
        return a && b && a->Major == b->Major && a->Minor == b->Minor;
      };
      if (same(current, LastChannel.get())) target = ToggleChannel.get();
      else if (same(current, ToggleChannel.get())) target = LastChannel.get();
      else target = current;
    }
    if (target && target->Major != -1 && !IsDigitalChannel(target->Major, target->Minor)) return 6;
  }
  return ::Wrapper::Wrapper::SetLastChannel();
}
Structures::VirtualChannel* Wrapper::GetNextChannel(int32_t ring, int32_t major, int32_t minor) {
  if (OnGetChannelTuningMode() == kTuningDigitalOnly && OnGetAntCableIn() == 0)
    return GetNextChannelWithProp(ring, major, minor, true, false);
  return ::Wrapper::Wrapper::GetNextChannel(ring, major, minor);
}
Structures::VirtualChannel* Wrapper::GetPrevChannel(int32_t ring, int32_t major, int32_t minor) {
  if (OnGetChannelTuningMode() == kTuningDigitalOnly && OnGetAntCableIn() == 0)
    return GetPrevChannelWithProp(ring, major, minor, true, false);
  return ::Wrapper::Wrapper::GetPrevChannel(ring, major, minor);
}
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
void Wrapper::OnSetVideoPreset(int32_t value) {
  if (value != 0) StopGlowSyncThread();
  ::Wrapper::Wrapper::OnSetVideoPreset(value);
  if (OnGetAutoBrightnessSensor()) StartGlowSyncThread();
  else StopGlowSyncThread();
}
void Wrapper::OnSetAntCableIn(int32_t medium) {
  HistoryAgent.DeleteRFChannelHistory(OnGetAntCableIn() == 1 ? 1 : 0);
  AntCableIn = medium;
  SetMedium(medium);
  CableOnOffTuning();
}
// The set's GMT offset in the register table follows the zone and daylight
// saving time.
void Wrapper::UpdateGMTOffset() {
  const auto offset = static_cast<float>(GetGMTOffset(TimeZone, DaylightSavingTime == 1 ? 1 : 0));
  const kv::String key = kv::LoadString(REG_TIME_OFFSET);
  // A new set has no offset in the table yet: not an error, it is written.
  float stored = 0;
  const std::string k = key.ToUtf8();
  if (TVSM_RegisterTableGetFloat(k.c_str(), &stored) != TVSM_OK || stored != offset) PutFloatToRegisterTable(key, offset);
}
void Wrapper::OnSetTimeZone(int32_t zone) {
  ::Wrapper::Wrapper::OnSetTimeZone(zone);
  UpdateGMTOffset();
}
void Wrapper::OnSetDaylightSavingTime(int32_t flag) {
  ::Wrapper::Wrapper::OnSetDaylightSavingTime(flag);
  UpdateGMTOffset();
}
void Wrapper::OnSetMute(int32_t value) { ::Wrapper::Wrapper::OnSetMute(value); }
int32_t Wrapper::OnGetMute() { return ::Wrapper::Wrapper::OnGetMute(); }
int32_t Wrapper::OnGetPreferViewMode() { return GetViewMode(); }
int32_t Wrapper::OnGetTimerSource() {
  const int32_t source = ::Wrapper::Wrapper::OnGetTimerSource();
  if (source == -1 || source == 30) OnSetTimerSource(GetCurrentSource(0));
  return TimerSource;
}
// A timer without a valid channel takes the channel in tune on the timer's
// source and map.
int32_t Wrapper::OnGetTimerChannel() {
  const int32_t number = ::Wrapper::Wrapper::OnGetTimerChannel();
  if (SplitChannelNum(number, true) >= 1 && SplitChannelNum(number, false) >= 0) return number;
  Structures::VirtualChannel* current = GetTempCurrentChannel(OnGetTimerSource() != 0, OnGetTimerMapId() != 0);
  OnSetTimerChannel(UniteChannelNum(current->Major, current->Minor));
  return TimerChannel;
}
void Wrapper::OnSetIsFrozen(int32_t flag) {
  ::Wrapper::Wrapper::OnSetIsFrozen(flag);
  if (flag && IsFrozen) FreezeTimer.Activate();
  else if (!flag && !IsFrozen) FreezeTimer.OnSetEnabled(false);
  FreezeRequest = flag != 0;
}
int32_t Wrapper::SetChannelApi(int32_t window, int32_t major, int32_t minor) {
  if (Leave3DOnChange()) {
    kv::Signal(kv::MakeSlot(&Setup3D, &SkinBin::Setup3D::ApplyState), this);
    Clear3DLockTimer();
  }
  const int32_t status = ::Wrapper::Wrapper::SetChannelApi(window, major, minor);
  if (GetParentalLocksState() == 1) SetParentalLocksState(2);
  auto* channel = kv::New<Structures::VirtualChannel>();
  channel->Major = major;
  channel->Minor = minor;
  AddChannelHistory(Structures::HISTORY_ITEM_TYPE_RF1, GetSourceId(0), channel, false);
  return status;
}
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
