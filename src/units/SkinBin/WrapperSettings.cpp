// Application settings of the skin's Wrapper, kept in the persistent data:
// each getter refreshes its cache from the store (the cache alone without
// a store), each setter stores the cache and writes, then carries out the
// setting's side effects.
#include <string>

#include "platform/db/db.h"
#include "platform/xpm/xpm_oem.h"
#include "platform/xpm/xpm_settings.h"
#include "runtime/auto_object.h"
#include "runtime/clock.h"
#include "runtime/string.h"
#include "runtime/trace.h"
#include "strings/SkinBinWrapper.h"
#include "units/Agent/EventAgent.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/Constants.h"
#include "units/PersistentData/PersistentData.h"
#include "units/Media/MediaWrapper.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/Message.h"
#include "units/Structures/TimerData.h"
#include "units/Structures/VirtualChannel.h"
#include "units/WinIDs/WinIDs.h"
#include "units/Wrapper/WrapperInternal.h"

namespace SkinBin {

using namespace ::SkinBinWrapper;
using ::Wrapper::detail::TraceInt;
using ::Wrapper::detail::TraceLabel;

namespace {

void DispatchToAll(int32_t code) {
  auto* message = kv::New<Structures::Message>();
  message->Initialize(code, nullptr);
  if (auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)) agent->Dispatch(message);
}

// Prefix, source id in decimal, suffix.
kv::String SourceKey(int32_t source, kv::TextId suffix) {
  return kv::ConcatString(kv::ConcatString(kv::LoadString(KEY_SOURCE_PREFIX), kv::NewStringInt(source, 0)),
                          kv::LoadString(suffix));
}

int64_t NowSeconds() {
  // The set's clock: the middleware's local time as seconds of the epoch.
  XPM_LocalTime t{};
  if (XPM_CALL(XPM_GetLocalTime, &t) != 0) return 0;
  std::tm tm{};
  tm.tm_sec = t.second;
  tm.tm_min = t.minute;
  tm.tm_hour = t.hour;
  tm.tm_mday = t.day;
  tm.tm_mon = t.month;
  tm.tm_year = t.year;
  tm.tm_isdst = 0;
  return static_cast<int64_t>(timegm(&tm));
}

}  // namespace

// A plain integer setting: the store's integer under its key.
#define SKIN_INT_SETTING(P, key)                           \
  int32_t Wrapper::OnGet##P() {                            \
    if (Store()) P = Store()->GetInteger(key);             \
    return P;                                              \
  }                                                        \
  void Wrapper::OnSet##P(int32_t v) {                      \
    P = v;                                                 \
    if (Store()) Store()->PutInteger(key, v);              \
  }

SKIN_INT_SETTING(AddDigital, KEY_ADD_DIGITAL)
SKIN_INT_SETTING(AddAnalog, KEY_ADD_ANALOG)
SKIN_INT_SETTING(AdditiveScan, KEY_ADDITIVE_SCAN)
SKIN_INT_SETTING(AudioEffect, KEY_AUDIO_EFFECT)
SKIN_INT_SETTING(WallpaperOrientation, KEY_WALLPAPER_ORIENTATION)
SKIN_INT_SETTING(NoSignalPowerDown, KEY_NO_SIGNAL_POWER_DOWN)
SKIN_INT_SETTING(ThreeD_DisplayInfo, KEY_3D_DISPLAY_INFO)
SKIN_INT_SETTING(AutoInputTV, KEY_AUTO_INPUT_TV)
SKIN_INT_SETTING(AutoInputCableSat, KEY_AUTO_INPUT_CABLE_SAT)
SKIN_INT_SETTING(AutoInputBDDVD, KEY_AUTO_INPUT_BD_DVD)
SKIN_INT_SETTING(AutoInputAUX, KEY_AUTO_INPUT_AUX)
SKIN_INT_SETTING(EnableAutoInput, KEY_ENABLE_AUTO_INPUT)
SKIN_INT_SETTING(CurrentCBList, KEY_CURRENT_CB_LIST)
SKIN_INT_SETTING(Max_Volume_Setup, KEY_MAX_VOLUME_SETUP)
SKIN_INT_SETTING(TV_Auto_PowerOff, KEY_TV_AUTO_POWER_OFF)
SKIN_INT_SETTING(TV_Auto_PowerOn, KEY_TV_AUTO_POWER_ON)
SKIN_INT_SETTING(ScreenSaverDelay, KEY_SCREEN_SAVER_DELAY)
SKIN_INT_SETTING(HDMIInformationDisplay, KEY_HDMI_INFORMATION_DISPLAY)
SKIN_INT_SETTING(Navigation, KEY_NAVIGATION)
SKIN_INT_SETTING(MediaRenderer, KEY_MEDIA_RENDERER)
SKIN_INT_SETTING(AmplifierControl, KEY_AMPLIFIER_CONTROL)
SKIN_INT_SETTING(ThreeDTimerLock, KEY_3D_TIMER_LOCK)
SKIN_INT_SETTING(ThreeDLock, KEY_3D_LOCK)
SKIN_INT_SETTING(ThreeDStartMessage, KEY_3D_START_MESSAGE)
SKIN_INT_SETTING(ThreeDAutoStart, KEY_3D_AUTO_START)
SKIN_INT_SETTING(USBSDAutoStart, KEY_USB_SD_AUTO_START)
SKIN_INT_SETTING(TheaterLock, KEY_THEATER_LOCK)
int32_t Wrapper::OnGetMM_IntervalTime() {
  if (Store()) MM_IntervalTime = Store()->GetInteger(KEY_MM_INTERVAL_TIME);
  return MM_IntervalTime;
}

// Stored, then told to its observers (the open photo viewer).
void Wrapper::OnSetMM_IntervalTime(int32_t v) {
  MM_IntervalTime = v;
  if (Store()) Store()->PutInteger(KEY_MM_INTERVAL_TIME, v);
  kv::NotifyRefObservers(MM_IntervalTimeRef());
}
int32_t Wrapper::OnGetMM_SortMode() {
  if (Store()) MM_SortMode = Store()->GetInteger(KEY_MM_SORT_MODE);
  return MM_SortMode;
}

// Stored, then told to its observers (the open browse screens, of which
// one re-sorts its folder).
void Wrapper::OnSetMM_SortMode(int32_t v) {
  MM_SortMode = v;
  if (Store()) Store()->PutInteger(KEY_MM_SORT_MODE, v);
  kv::NotifyRefObservers(MM_SortModeRef());
}
int32_t Wrapper::OnGetEnableDlna() {
  if (Store()) EnableDlna = Store()->GetInteger(KEY_ENABLE_DLNA);
  return EnableDlna;
}

// Stored, and switched in the media service through the bridge.
void Wrapper::OnSetEnableDlna(int32_t v) {
  EnableDlna = v;
  if (Store()) Store()->PutInteger(KEY_ENABLE_DLNA, v);
  kv::GetAutoObject<Media::MediaWrapper>(MainApp::MediaWrapper)->EnableDlna(v);
}

#undef SKIN_INT_SETTING

// A setting whose setter tells every screen.
#define SKIN_NOTIFYING_SETTING(P, key, code)  \
  int32_t Wrapper::OnGet##P() {               \
    if (Store()) P = Store()->GetInteger(key); \
    return P;                                 \
  }                                           \
  void Wrapper::OnSet##P(int32_t v) {         \
    P = v;                                    \
    if (Store()) Store()->PutInteger(key, v); \
    DispatchToAll(code);                      \
  }

SKIN_NOTIFYING_SETTING(PhotoBrowseMode, KEY_PHOTO_BROWSE_MODE, Constants::MSG_APPLY_PHOTO_BROWSE)
SKIN_NOTIFYING_SETTING(Music_Repeat, KEY_MUSIC_REPEAT, Constants::MSG_APPLY_REPEAT)
SKIN_NOTIFYING_SETTING(Movie_Repeat, KEY_MOVIE_REPEAT, Constants::MSG_APPLY_REPEAT)
SKIN_NOTIFYING_SETTING(Photo_Repeat, KEY_PHOTO_REPEAT, Constants::MSG_APPLY_REPEAT)

#undef SKIN_NOTIFYING_SETTING

// --- Channel-browser lists -------------------------------------------------------------------

int32_t Wrapper::IsCBListEnabled(int32_t bit) {
  if (Store()) CBLists = Store()->GetInteger(KEY_CB_LISTS);
  return bit >= 0 && bit < 32 && (CBLists >> bit & 1) ? 1 : 0;
}

void Wrapper::SetCBListStatus(int32_t bit, bool on) {
  if (bit < 0 || bit >= 32) return;
  if (Store()) CBLists = Store()->GetInteger(KEY_CB_LISTS);
  CBLists = on ? (CBLists | 1 << bit) : (CBLists & ~(1 << bit));
  if (Store()) Store()->PutInteger(KEY_CB_LISTS, CBLists);
}

int32_t Wrapper::GetCBListsNum() {
  int32_t n = 0;
  for (int32_t bit = 0; bit < 8; ++bit) n += IsCBListEnabled(bit);
  return n;
}

// --- Settings with side effects ------------------------------------------------------------------

int32_t Wrapper::OnGetChannelTuningMode() {
  if (Store()) ChannelTuningMode = Store()->GetInteger(KEY_CHANNEL_TUNING_MODE);
  return ChannelTuningMode;
}

void Wrapper::OnSetChannelTuningMode(int32_t v) {
  ChannelTuningMode = v;
  if (Store()) Store()->PutInteger(KEY_CHANNEL_TUNING_MODE, v);
}

int32_t Wrapper::OnGetAutomaticPowerDown() {
  if (Store()) AutomaticPowerDown = Store()->GetInteger(KEY_AUTOMATIC_POWER_DOWN);
  return AutomaticPowerDown;
}

void Wrapper::OnSetAutomaticPowerDown(int32_t v) {
  AutomaticPowerDown = v;
  if (Store()) {
    Store()->PutInteger(KEY_AUTOMATIC_POWER_DOWN, v);
    Store()->RemoveString(KEY_SAVED_POWER_DOWN);
  }
  kv::Signal(kv::MakeSlot(this, &Wrapper::StartAutoPowerTimer), this);
}

int32_t Wrapper::OnGetInputLock() {
  if (Store()) InputLock = Store()->GetInteger(KEY_INPUT_LOCK);
  return InputLock;
}

void Wrapper::OnSetInputLock(int32_t v) {
  InputLock = v;
  if (Store()) Store()->PutInteger(KEY_INPUT_LOCK, v);
  const int32_t count = GetNumSources();
  for (int32_t i = 0; i < count; ++i) {
    const int32_t source = GetSourceId(i);
    const int32_t type = GetSourceType(source);
    if (type == 1 || type == 12 || type == 7 || type == 9) continue;
    SetSourceLock(source, v != 0);
  }
  for (int32_t major : {3, 4}) {
    auto* channel = kv::New<Structures::VirtualChannel>();
    channel->Major = major;
    channel->Minor = 0;
    SetChannelLock(channel, v == 2);
  }
}

// HDMI-CEC control; the CEC data follows the setting.
int32_t Wrapper::OnGetSpeakerPreference() { return GetSpeaker() == 0 ? 1 : 0; }
void Wrapper::OnSetSpeakerPreference(int32_t v) { SetSpeaker(v == 0); }
int32_t Wrapper::OnGetAmplifierMute() { return GetHdmiCecData()->GetAudioSystemMute() ? 1 : 0; }

int32_t Wrapper::OnGetEnableKELVO() {
  if (Store()) EnableKELVO = Store()->GetInteger(KEY_ENABLE_KELVO);
  HdmiCecData.SetEnableKELVO(EnableKELVO != 0);
  return EnableKELVO;
}

void Wrapper::OnSetEnableKELVO(int32_t v) {
  EnableKELVO = v;
  HdmiCecData.SetEnableKELVO(v != 0);
  if (Store()) Store()->PutInteger(KEY_ENABLE_KELVO, v);
}

int32_t Wrapper::OnGetNetworkType() {
  if (Store()) NetworkType = Store()->GetInteger(KEY_NETWORK_TYPE);
  NetworkSetup.SetNetworkType(NetworkType);
  return NetworkType;
}

// Written only on a change; wireless (1) switches the wired interface off
// and the wireless one on, any other type the reverse.
void Wrapper::OnSetNetworkType(int32_t v) {
  if (OnGetNetworkType() == v) return;
  NetworkType = v;
  NetworkSetup.SetNetworkType(v);
  if (Store()) Store()->PutInteger(KEY_NETWORK_TYPE, v);
  const bool wireless = v == 1;
  NetworkSetup.LAN_Enable(!wireless);
  NetworkSetup.WLAN_Enable(wireless);
}

int32_t Wrapper::GetCurrentLanDevId() { return OnGetNetworkType() == 1 ? 1 : 0; }

int32_t Wrapper::OnGetStickerDemo() {
  if (Store()) StickerDemo = Store()->GetInteger(KEY_STICKER_DEMO);
  return StickerDemo;
}

void Wrapper::OnSetStickerDemo(int32_t v) {
  if (OnGetStickerDemo() == v) return;
  StickerDemo = v;
  if (Store()) Store()->PutInteger(KEY_STICKER_DEMO, v);
  if (v == 1) kv::Signal(kv::MakeSlot(this, &Wrapper::StartAutoDemoTimer), this);
  else if (v == 0) kv::Signal(kv::MakeSlot(this, &Wrapper::StopAutoDemoTimer), this);
}

int32_t Wrapper::OnGetRetailMode() {
  if (Store()) RetailMode = Store()->GetBool(KEY_RETAIL_MODE);
  return RetailMode ? 1 : 0;
}

void Wrapper::OnSetRetailMode(int32_t v) {
  RetailMode = v != 0;
  if (Store()) Store()->PutBool(KEY_RETAIL_MODE, RetailMode);
}

int32_t Wrapper::OnGetLocation() { return Location = OnGetRetailMode() ? 1 : 0; }

void Wrapper::OnSetLocation(int32_t v) {
  if (v == 1) {
    // Only the change into store mode saves the user's choice; the setter
    // of AutomaticPowerDown removes the saved value, so read it first.
    // Again in store mode: the saved choice stays, and the setter (which
    // removes it) is not called.
    if (OnGetLocation() != 1) {
      const int32_t userChoice = OnGetAutomaticPowerDown();
      OnSetRetailMode(1);
      OnSetAutomaticPowerDown(0);
      if (Store()) Store()->PutInteger(KEY_SAVED_POWER_DOWN, userChoice + 1);
    }
    OnSetStickerDemo(1);
    XPM_CALL(XPM_SetExtOemPathProperty, 0, XPM_OEM_PATH_STORE_LOCATION, 1);
  } else {
    OnSetRetailMode(0);
    const int32_t saved = Store() ? Store()->GetInteger(KEY_SAVED_POWER_DOWN) : 0;
    if (saved > 0) OnSetAutomaticPowerDown(saved - 1);
    OnSetStickerDemo(0);
    XPM_CALL(XPM_SetExtOemPathProperty, 0, XPM_OEM_PATH_STORE_LOCATION, 0);
  }
  Location = v == 1 ? 1 : 0;
}

int32_t Wrapper::OnGetTVForceOn() {
  if (Store()) TVForceOn = Store()->GetBool(KEY_TV_FORCE_ON);
  return TVForceOn ? 1 : 0;
}

void Wrapper::OnSetTVForceOn(int32_t v) {
  TVForceOn = v != 0;
  if (Store()) Store()->PutBool(KEY_TV_FORCE_ON, TVForceOn);
}

int32_t Wrapper::OnGetGameTimerIndex() { return GameTimerIndex; }

void Wrapper::OnSetGameTimerIndex(int32_t v) {
  GameTimerIndex = v;
  const int32_t minutes = v >= 0 && v <= 4 ? v * 30 : 0;
  TraceInt(T_GAME_TIMER, minutes);
  SetApplicationTimer(::Wrapper::APP_TIMER_GAME, minutes,
                      kv::MakeRef(this, &Wrapper::OnGetRemainGameTime, &Wrapper::OnSetRemainGameTime));
  if (Store() && Store()->GetBool(KEY_GAME_TIMER_ON) != (minutes > 0)) Store()->PutBool(KEY_GAME_TIMER_ON, minutes > 0);
}

int32_t Wrapper::OnGetThreeD_EnableTimer() {
  if (Store()) ThreeD_EnableTimer = Store()->GetInteger(KEY_3D_ENABLE_TIMER);
  return ThreeD_EnableTimer;
}

void Wrapper::OnSetThreeD_EnableTimer(int32_t v) {
  ThreeD_EnableTimer = v;
  if (Store()) Store()->PutInteger(KEY_3D_ENABLE_TIMER, v);
  if (Remain3DTime != 0) {
    const int32_t counted = GetApplicationTimer(::Wrapper::APP_TIMER_3D_LOCK) - Remain3DTime;
    if (counted > 0) Accumulated3DMinutes += counted;
    Start3DLockTimer();
  }
  if (v == 0) Accumulated3DMinutes = 0;
}

int32_t Wrapper::OnGetOnTimerTime() {
  const int32_t stored = Store() ? Store()->GetInteger(KEY_ON_TIMER_WAKE) : 0;
  if (!OnGetEnableTimer() || stored == 0) return OnTimerTime = 10;
  const int64_t d = stored - NowSeconds();
  const auto ud = static_cast<uint32_t>(d);
  const uint32_t minutes = ud % 60 == 0 ? ud / 60 : (ud + 60) / 60;
  if (d < 0 || minutes >= 721) {
    OnSetEnableTimer(0);
    return OnTimerTime = 10;
  }
  return OnTimerTime = static_cast<int32_t>(minutes);
}

void Wrapper::OnSetOnTimerTime(int32_t v) {
  OnTimerTime = v;
  if (v <= 0) return;
  const int64_t wake = NowSeconds() + int64_t(v) * 60;
  const auto t = static_cast<time_t>(wake);
  std::tm tm{};
  gmtime_r(&t, &tm);
  TimerHour = tm.tm_hour;
  TimerMin = tm.tm_min;
  if (Store()) Store()->PutInteger(KEY_ON_TIMER_WAKE, static_cast<int32_t>(wake));
}

void Wrapper::CancelOnTimer(bool fromTimer) {
  if (fromTimer && ActiveTimer && ActiveTimer->TimesType == 4) {
    ActiveTimer->Enable = 0;
    SetTimer(nullptr);
    // The once-only timer has run: its show in the scheduler is done, as a
    // stopped recording's is.
    if (GetScheduleIdByTimerId(ActiveTimerId) != 0) XPM_CALL(XPM_Update_Scheduled_Show_Status, ActiveTimerId, 3);
  }
  if (Store() && Store()->GetInteger(KEY_ON_TIMER_WAKE) != 0) Store()->RemoveString(KEY_ON_TIMER_WAKE);
}

// --- Menu language ----------------------------------------------------------------------------

int32_t Wrapper::GetMenuLanguage() {
  if (!Store()) return 0;
  return MenuLanguage = Store()->GetInteger(KEY_MENU_LANGUAGE);
}

void Wrapper::SetMenuLanguage(int32_t lang) {
  SetLanguage(lang);
  if (GetMenuLanguage() != lang && Store()) Store()->PutInteger(KEY_MENU_LANGUAGE, lang);
  MenuLanguage = lang;
  SetPreferRatingLanguage(lang);
  SetHdmiCecLanguage(lang);
  kv::TextId locale = REG_LOCALE_EN, language = REG_LANGUAGE_EN;
  if (lang == 1) locale = REG_LOCALE_ES, language = REG_LANGUAGE_ES;
  else if (lang == 2) locale = REG_LOCALE_FR, language = REG_LANGUAGE_FR;
  if (GetStringFromRegisterTable(kv::LoadString(REG_LOCALE)) != kv::LoadString(locale))
    PutStringToRegisterTable(kv::LoadString(REG_LOCALE), kv::LoadString(locale));
  if (GetStringFromRegisterTable(kv::LoadString(REG_LANGUAGE)) != kv::LoadString(language))
    PutStringToRegisterTable(kv::LoadString(REG_LANGUAGE), kv::LoadString(language));
}

void Wrapper::LoadMenuLanguage() {
  const kv::String code = GetStringFromRegisterTable(kv::LoadString(REG_LANGUAGE));
  int32_t lang = GetMenuLanguage();
  if (code == kv::LoadString(REG_LANGUAGE_EN)) lang = 0;
  else if (code == kv::LoadString(REG_LANGUAGE_ES)) lang = 1;
  else if (code == kv::LoadString(REG_LANGUAGE_FR)) lang = 2;
  else if (!code.Empty()) kv::Log("SkinBin::Wrapper: unknown menu language \"" + kv::EscapedText(code.ToUtf8()) + "\" in the register table");
  if (lang < 0 || lang > 2) lang = 0;
  SetMenuLanguage(lang);
}

int32_t Wrapper::SetHdmiCecLanguage(int32_t lang) {
  const char* code = lang == 1 ? "spa" : lang == 2 ? "fre" : "eng";
  return XPM_CALL(XPM_SetUILanguage, code);
}

// --- Per-source settings --------------------------------------------------------------------------

void Wrapper::SetSourceDisable(int32_t source, int32_t v) {
  kv::Trace("%s%u%i", {kv::LoadString(T_SET_SOURCE_DISABLE), static_cast<uint32_t>(source), v});
  if (Store()) Store()->PutInteger(SourceKey(source, KEY_SOURCE_DISABLE), v);
}

int32_t Wrapper::GetSourceDisableValue(int32_t source) {
  return Store() ? Store()->GetInteger(SourceKey(source, KEY_SOURCE_DISABLE)) : 0;
}

bool Wrapper::GetSourceDisable(int32_t source) { return GetSourceDisableValue(source) > 0; }

kv::String Wrapper::GetSourceLabel(int32_t source) {
  return Store() ? Store()->GetString(SourceKey(source, KEY_SOURCE_LABEL)) : kv::String();
}

kv::String Wrapper::GetSourceCustomLabel(int32_t source) {
  return Store() ? Store()->GetString(SourceKey(source, KEY_SOURCE_CUSTOM_LABEL)) : kv::String();
}

namespace {

void WriteLabel(PersistentData::PersistentData* store, kv::TextId label, int32_t source, kv::TextId suffix,
                const kv::String& text) {
  kv::Trace("%s%u%s%s", {kv::LoadString(label), static_cast<uint32_t>(source), kv::LoadString(T_SOURCE_LABEL_TEXT),
                         text});
  if (!store) return;
  if (text.Empty()) store->RemoveString(SourceKey(source, suffix));
  else store->PutString(SourceKey(source, suffix), text);
}

}  // namespace

void Wrapper::SetSourceLabel(int32_t source, const kv::String& text) {
  WriteLabel(Store(), T_SET_SOURCE_LABEL, source, KEY_SOURCE_LABEL, text);
}

void Wrapper::SetSourceCustomLabel(int32_t source, const kv::String& text) {
  WriteLabel(Store(), T_SET_SOURCE_CUSTOM_LABEL, source, KEY_SOURCE_CUSTOM_LABEL, text);
}

bool Wrapper::IsPinExisting() { return Store() && !Store()->GetString(KEY_PIN).Empty(); }
bool Wrapper::Is3DPinExisting() { return Store() && !Store()->GetString(KEY_3D_PIN).Empty(); }

// --- Media settings reset -----------------------------------------------------------------------------

void Wrapper::ResetMMSettings() {
  TraceLabel(T_RESET_MM_SETTINGS);
  auto* store = Store();
  if (!store) return;
  store->OnSetAutoSyncData(false);
  store->RemoveString(KEY_USB_SD_AUTO_START);
  store->RemoveStrings(KEY_MEDIA_RENDERER);
  for (kv::TextId key : {KEY_MM_SORT_MODE, KEY_MM_INTERVAL_TIME, KEY_PHOTO_REPEAT, KEY_MOVIE_REPEAT, KEY_MUSIC_REPEAT,
                         KEY_TV_AUTO_POWER_ON, KEY_TV_AUTO_POWER_OFF, KEY_WALLPAPER_ORIENTATION})
    store->RemoveString(key);
  kv::Signal(store->OnLoadDefaultData, store);
  store->OnSetAutoSyncData(true);
  store->SyncData();
}

}  // namespace SkinBin
