// SkinBin::Wrapper: the Wrapper of this television, the class behind the
// auto object MainApp::Wrapper. It replaces every virtual operation of
// Wrapper::Wrapper and adds the set's own properties: the OEM properties,
// the application settings kept in the persistent data, the application
// launcher and store demo, recording and guide services, the picture and
// sound enhancements, option-change marks, software update, power timers
// and system services.
//
// Source files, one concern each:
//   Wrapper.cpp            construction, marking, the source names, the
//                          replaced virtual operations (slots 0-34)
//   WrapperOem.cpp         OEM properties by id and by path, series type,
//                          white balance, backlight curve, held keys, the
//                          automatic brightness sensor and GlowSync flag
//   WrapperSettings.cpp    application settings (persistent data), menu
//                          language, source labels, media-screen flags
//   WrapperMarks.cpp       option-change marks, slider ranges
//   WrapperPower.cpp       power timers, 3D and game locks, critical
//                          sections, factory mode, software update
//   WrapperTexts.cpp       channel-number, fail-reason, resolution, PC
//                          timing and rating texts
//   WrapperLauncher.cpp    application launcher, active applications,
//                          store demo, UI status reports
//   WrapperServices.cpp    caption, audio, rating, network, register table,
//                          picture-in-picture and shared PC input
//   WrapperSystem.cpp      model and device ids, serial port, source rings,
//                          on-timer record, time-zone abbreviation
//   WrapperRecording.cpp   recorder, scheduler, guide, timeshift, USB disk
//   WrapperEnhance.cpp     picture and sound enhancement controls
//
// Conventions as in Wrapper::Wrapper: a getter refreshes its cache field and
// returns it; a setter stores the cache field first and then writes. OEM
// getters answer 0 after a failed read; a failing platform call is logged
// and its caller goes on. Operations that are signalled or posted take the
// sender (`kv::Object* = nullptr`) so that they can be bound as slots.
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/object.h"
#include "runtime/string.h"
#include "runtime/text.h"
#include "units/Core/Timer.h"
#include "units/SkinBin/HdmiCecData.h"
#include "units/SkinBin/HistoryAgent.h"
#include "units/SkinBin/NetworkSetup.h"
#include "units/SkinBin/RatingData.h"
#include "units/SkinBin/Setup3D.h"
#include "units/SkinBin/SystemInfo.h"
#include "units/Structures/ActiveAppStatus.h"
#include "units/Wrapper/Wrapper.h"

namespace Agent {
class EventAgent;
}
namespace PersistentData {
class PersistentData;
}
namespace Structures {
class ChannelData;
class EventInfo;
class LocalTime;
class Message;
class VideoContentInfo;
class VirtualChannel;
}  // namespace Structures
namespace SkinBin {
class ClosedCaptionService;
class ChannelListData;
class EPGEventsInfo_DB;
class DB_ScheduledInfo;
class DB_RecordedInfo;
class CurrentAudioServiceInfo;
class CurrentChannelInfo;
class HdmiCecData;
class HistoryAgent;
class SystemInfo;
class ModelInfo;
class ScheduledRecordData;
class TimeshiftStatus;
class USBDiskStatus;
class UsAlternateRatingInfo;
}  // namespace SkinBin

namespace SkinBin {

// Series types (OnGetSeriesType); 2 and 3 are the sets with 3D, 1 the
// plain model (also the answer while the panel code cannot be read).
inline constexpr int16_t SERIES_TYPE_PLAIN = 1;
inline constexpr int16_t SERIES_TYPE_UNKNOWN = 4;

// Number of entries of the source name table.
inline constexpr int32_t SOURCE_NAME_COUNT = 30;

// Standby reasons of the events this Wrapper sends.
inline constexpr int32_t STANDBY_REASON_AUTO_POWER_DOWN = 1;
inline constexpr int32_t STANDBY_REASON_ON_TIMER_SHUTDOWN = 2;
inline constexpr int32_t STANDBY_REASON_UPDATE_RESTART = 7;

// Minutes of the power countdowns.
inline constexpr int32_t AUTO_POWER_DOWN_MINUTES = 240;
inline constexpr int32_t ON_TIMER_SHUTDOWN_MINUTES = 60;
inline constexpr int32_t THREE_D_CONTINUAL_MINUTES = 15;

// The freeze timer unfreezes the picture after 15 minutes.
inline constexpr int32_t FREEZE_TIMEOUT_MS = 900000;
// The store demo starts 30 s after the last key.
inline constexpr int32_t AUTO_DEMO_DELAY_MS = 30000;

// The media input source (GetExtSourceId).
inline constexpr int32_t EXT_SOURCE_ID = 22;

// Range of a slider option (GetAdjustBarRange).
struct AdjustBarRange {
  int32_t Min = 0;
  int32_t Max = 100;
  int32_t Step = 1;
};

class Wrapper : public ::Wrapper::Wrapper {
  KV_CLASS(SkinBin, Wrapper, ::Wrapper::Wrapper)
 public:
  Wrapper();
  ~Wrapper() override;
  void ReInit() override;

  // --- Replaced virtual operations (Wrapper.cpp) -----------------------------
  int32_t ResetAll() override;
  int32_t SetSource(int32_t window, int32_t source) override;
  // PreviousSource kept in the settings too (removed while there is none).
  void KeepPreviousSource(int32_t source) override;
  // At start: PreviousSource from the settings; a stored value that names
  // no source to return to is logged and dropped.
  void LoadPreviousSource();
  Structures::TimerData* GetTimer(int32_t id) override;
  int32_t SetTimer(Structures::TimerData* record) override;
  int32_t SetLastChannel() override;
  Structures::VirtualChannel* GetNextChannel(int32_t ring, int32_t major, int32_t minor) override;
  Structures::VirtualChannel* GetPrevChannel(int32_t ring, int32_t major, int32_t minor) override;
  int32_t GetNumChannelsInRing(int32_t ring) override;
  void OnSetVolume(int32_t value) override;
  void OnSetRed_Offset(int32_t value) override;
  int32_t OnGetRed_Offset() override;
  void OnSetGreen_Offset(int32_t value) override;
  int32_t OnGetGreen_Offset() override;
  void OnSetBlue_Offset(int32_t value) override;
  int32_t OnGetBlue_Offset() override;
  void OnSetRed_Gain(int32_t value) override;
  int32_t OnGetRed_Gain() override;
  void OnSetGreen_Gain(int32_t value) override;
  int32_t OnGetGreen_Gain() override;
  void OnSetBlue_Gain(int32_t value) override;
  int32_t OnGetBlue_Gain() override;
  void OnSetVideoPreset(int32_t value) override;
  void OnSetAntCableIn(int32_t medium) override;
  void OnSetTimeZone(int32_t zone) override;
  void OnSetDaylightSavingTime(int32_t flag) override;
  void OnSetMute(int32_t value) override;
  int32_t OnGetMute() override;
  int32_t OnGetPreferViewMode() override;
  int32_t OnGetTimerSource() override;
  int32_t OnGetTimerChannel() override;
  void OnSetIsFrozen(int32_t flag) override;
  int32_t SetChannelApi(int32_t window, int32_t major, int32_t minor) override;
  void ResetLastChannel() override;
  void OnSetRemainSleepTime(int32_t minutes) override;
  int32_t OnGetTimerMapId() override;

  // Goes to the first channel of the medium after an antenna/cable change
  // and marks the tuning as running (IsTuningChannel).
  void CableOnOffTuning();
  // ResetLastChannel as a slot.
  void ResetLastChannelSlot(kv::Object* sender = nullptr);
  // The freeze timer's slot: unfreezes through the virtual setter.
  void FreezeSlot(kv::Object* sender = nullptr);
  // The display name of a source (ids 0-29), else the unnamed-source text.
  kv::String GetSourceName(int32_t source);
  // The media input source.
  static int32_t GetExtSourceId() { return EXT_SOURCE_ID; }

  // --- OEM properties (WrapperOem.cpp) -----------------------------------------
  int32_t GetADCCalibResult(int32_t item);
  int32_t GetTVModelID();
  int32_t OnGetTVModelId() { return TVModelId = GetTVModelID(); }
  int32_t OnGetSharedPCInput();
  int32_t OnGetRearSharedAudio();
  void OnSetRearSharedAudio(int32_t v);
  int32_t OnGetSideSharedAudio();
  void OnSetSideSharedAudio(int32_t v);
  // 0-3, read once from the panel code; a failed read answers
  // SERIES_TYPE_PLAIN and is tried again at the next call.
  int32_t OnGetSeriesType();
  // One of four model names by series type, else an empty string.
  kv::String GetModelName();
  int32_t OnGetRoomLighting();
  void OnSetRoomLighting(int32_t v);
  int32_t GetBacklightAdjustment(int32_t point);
  void SetBacklightAdjustment(int32_t point, int32_t value);
  void ResetBacklightAdjustment();
  // True while the panel key is held (held-key codes 67, 2 and 58 only).
  bool GetKeyHeld(int32_t key);
  // index 0-5: red, green, blue gain, red, green, blue offset of the
  // current picture mode and source.
  int32_t GetWhiteBalance(int32_t index);
  void SetWhiteBalance(int32_t index, int32_t value);
  void WB_Copy2AllInputs();
  void WB_Reset();
  int32_t OnGetSRV_Red_Gain();
  void OnSetSRV_Red_Gain(int32_t v);
  int32_t OnGetSRV_Green_Gain();
  void OnSetSRV_Green_Gain(int32_t v);
  int32_t OnGetSRV_Blue_Gain();
  void OnSetSRV_Blue_Gain(int32_t v);
  int32_t OnGetSRV_Red_Offset();
  void OnSetSRV_Red_Offset(int32_t v);
  int32_t OnGetSRV_Green_Offset();
  void OnSetSRV_Green_Offset(int32_t v);
  int32_t OnGetSRV_Blue_Offset();
  void OnSetSRV_Blue_Offset(int32_t v);
  int32_t OnGetBrightnessCenter();
  void OnSetBrightnessCenter(int32_t v);
  int32_t OnGetColorCenter();
  void OnSetColorCenter(int32_t v);
  int32_t OnGetBasebandTint();
  void OnSetBasebandTint(int32_t v);
  int32_t OnGetContrastMax();
  void OnSetContrastMax(int32_t v);
  // "0x%04xH" of the 16-bit sum of the factory test words.
  kv::String GetFactoryTestStatus();
  // Per picture mode; on starts GlowSync, off stops it and re-applies the
  // backlight.
  int32_t OnGetAutoBrightnessSensor();
  void OnSetAutoBrightnessSensor(int32_t v);
  int32_t GetTvmVersion();
  int32_t OnGetPowerLed();
  void OnSetPowerLed(int32_t v);
  int32_t OnGetHDMI_InputMode();
  void OnSetHDMI_InputMode(int32_t v);
  int32_t OnGetHDMI_Instaport();
  void OnSetHDMI_Instaport(int32_t v);
  int32_t OnGetBrontel();
  void OnSetBrontel(int32_t v);
  int32_t OnGetIRControl();
  void OnSetIRControl(int32_t v);
  int32_t OnGetTVPowerOnControl();
  void OnSetTVPowerOnControl(int32_t v);
  // Steps the video output mode 1 -> 2 -> 1 and re-places the preview window.
  void SwitchOutputMode();
  int32_t OnGetWindowHPos();
  void OnSetWindowHPos(int32_t v);
  int32_t OnGetWindowVPos();
  void OnSetWindowVPos(int32_t v);
  int32_t OnGetWindowHSize();
  void OnSetWindowHSize(int32_t v);
  int32_t OnGetWindowVSize();
  void OnSetWindowVSize(int32_t v);
  // The service test pattern number (0 off).
  int32_t GetTestPattern();
  void SetTestPattern(int32_t n);
  // GlowSync: the middleware's ambient-light correction; the flag only gates
  // ForceApplyGlowSync.
  int32_t StartGlowSyncThread();
  void StopGlowSyncThread();
  int32_t ForceApplyGlowSync();
  int32_t GetPowerOnTime();

  // --- Application settings (WrapperSettings.cpp) ------------------------------
  int32_t OnGetAddDigital();
  void OnSetAddDigital(int32_t v);
  int32_t OnGetAddAnalog();
  void OnSetAddAnalog(int32_t v);
  int32_t OnGetAdditiveScan();
  void OnSetAdditiveScan(int32_t v);
  int32_t OnGetAudioEffect();
  void OnSetAudioEffect(int32_t v);
  int32_t OnGetWallpaperOrientation();
  void OnSetWallpaperOrientation(int32_t v);
  int32_t OnGetNoSignalPowerDown();
  void OnSetNoSignalPowerDown(int32_t v);
  int32_t OnGetThreeD_DisplayInfo();
  void OnSetThreeD_DisplayInfo(int32_t v);
  int32_t OnGetAutoInputTV();
  void OnSetAutoInputTV(int32_t v);
  int32_t OnGetAutoInputCableSat();
  void OnSetAutoInputCableSat(int32_t v);
  int32_t OnGetAutoInputBDDVD();
  void OnSetAutoInputBDDVD(int32_t v);
  int32_t OnGetAutoInputAUX();
  void OnSetAutoInputAUX(int32_t v);
  int32_t OnGetEnableAutoInput();
  void OnSetEnableAutoInput(int32_t v);
  int32_t OnGetCurrentCBList();
  void OnSetCurrentCBList(int32_t v);
  int32_t OnGetMax_Volume_Setup();
  void OnSetMax_Volume_Setup(int32_t v);
  int32_t OnGetTV_Auto_PowerOff();
  void OnSetTV_Auto_PowerOff(int32_t v);
  int32_t OnGetTV_Auto_PowerOn();
  void OnSetTV_Auto_PowerOn(int32_t v);
  int32_t OnGetScreenSaverDelay();
  void OnSetScreenSaverDelay(int32_t v);
  int32_t OnGetHDMIInformationDisplay();
  void OnSetHDMIInformationDisplay(int32_t v);
  int32_t OnGetNavigation();
  void OnSetNavigation(int32_t v);
  int32_t OnGetMediaRenderer();
  void OnSetMediaRenderer(int32_t v);
  int32_t OnGetAmplifierControl();
  void OnSetAmplifierControl(int32_t v);
  int32_t OnGetThreeDTimerLock();
  void OnSetThreeDTimerLock(int32_t v);
  int32_t OnGetThreeDLock();
  void OnSetThreeDLock(int32_t v);
  int32_t OnGetThreeDStartMessage();
  void OnSetThreeDStartMessage(int32_t v);
  int32_t OnGetThreeDAutoStart();
  void OnSetThreeDAutoStart(int32_t v);
  int32_t OnGetUSBSDAutoStart();
  void OnSetUSBSDAutoStart(int32_t v);
  int32_t OnGetTheaterLock();
  void OnSetTheaterLock(int32_t v);
  // The speaker preference: 0 the TV's speakers, 1 the audio system over
  // HDMI-CEC (the TV's speakers off: the base Wrapper's Speaker flag).
  int32_t OnGetSpeakerPreference();
  void OnSetSpeakerPreference(int32_t v);
  // The audio system's mute as it reports it (0 off, 1 full mute); its mute
  // key changes it (the amplifier mute bar writes nothing).
  int32_t OnGetAmplifierMute();
  // HDMI-CEC control on or off.
  int32_t OnGetEnableKELVO();
  void OnSetEnableKELVO(int32_t v);
  int32_t OnGetEnableDlna();
  void OnSetEnableDlna(int32_t v);
  int32_t OnGetPhotoBrowseMode();
  void OnSetPhotoBrowseMode(int32_t v);
  int32_t OnGetMusic_Repeat();
  void OnSetMusic_Repeat(int32_t v);
  int32_t OnGetMovie_Repeat();
  void OnSetMovie_Repeat(int32_t v);
  int32_t OnGetPhoto_Repeat();
  void OnSetPhoto_Repeat(int32_t v);
  int32_t OnGetMM_IntervalTime();
  void OnSetMM_IntervalTime(int32_t v);
  int32_t OnGetMM_SortMode();
  void OnSetMM_SortMode(int32_t v);
  // The slide-show interval and the sort mode as property references: a
  // change notifies their observers (kv::AttachRefObserver), so that the
  // open photo viewer and browse screen take the new value at once.
  kv::RefInt32 MM_IntervalTimeRef() {
    return kv::MakeRef(this, &Wrapper::OnGetMM_IntervalTime, &Wrapper::OnSetMM_IntervalTime);
  }
  kv::RefInt32 MM_SortModeRef() { return kv::MakeRef(this, &Wrapper::OnGetMM_SortMode, &Wrapper::OnSetMM_SortMode); }
  // The channel-browser lists shown: bits 0-4 of one setting.
  int32_t OnGetHistoryList() { return IsCBListEnabled(0); }
  void OnSetHistoryList(int32_t v) { SetCBListStatus(0, v != 0); }
  int32_t OnGetAntCableList() { return IsCBListEnabled(1); }
  void OnSetAntCableList(int32_t v) { SetCBListStatus(1, v != 0); }
  int32_t OnGetInputsList() { return IsCBListEnabled(2); }
  void OnSetInputsList(int32_t v) { SetCBListStatus(2, v != 0); }
  int32_t OnGetFavoritesList() { return IsCBListEnabled(3); }
  void OnSetFavoritesList(int32_t v) { SetCBListStatus(3, v != 0); }
  int32_t OnGetKELVOLinkList() { return IsCBListEnabled(4); }
  void OnSetKELVOLinkList(int32_t v) { SetCBListStatus(4, v != 0); }
  int32_t IsCBListEnabled(int32_t bit);
  void SetCBListStatus(int32_t bit, bool on);
  int32_t GetCBListsNum();
  // 2 = digital only.
  int32_t OnGetChannelTuningMode();
  void OnSetChannelTuningMode(int32_t v);
  int32_t OnGetAutomaticPowerDown();
  void OnSetAutomaticPowerDown(int32_t v);
  // 0 off, 1 external inputs locked, 2 also channels 3-0 and 4-0.
  int32_t OnGetInputLock();
  void OnSetInputLock(int32_t v);
  // 1 wireless, other wired.
  int32_t OnGetNetworkType();
  void OnSetNetworkType(int32_t v);
  int32_t GetCurrentLanDevId();
  int32_t OnGetStickerDemo();
  void OnSetStickerDemo(int32_t v);
  int32_t OnGetRetailMode();
  void OnSetRetailMode(int32_t v);
  // 0 home, 1 store.
  int32_t OnGetLocation();
  void OnSetLocation(int32_t v);
  int32_t OnGetTVForceOn();
  void OnSetTVForceOn(int32_t v);
  // 0-4: game timer of 0, 30, 60, 90 or 120 minutes.
  int32_t OnGetGameTimerIndex();
  void OnSetGameTimerIndex(int32_t v);
  // 0-4: 3D viewing limit of 0, 30, 60, 90 or 120 minutes.
  int32_t OnGetThreeD_EnableTimer();
  void OnSetThreeD_EnableTimer(int32_t v);
  // Minutes until the on-timer wakes the set (10 when it is off).
  int32_t OnGetOnTimerTime();
  void OnSetOnTimerTime(int32_t v);
  // 0 English, 1 Spanish, 2 French.
  int32_t OnGetMenuLanguage() { return GetMenuLanguage(); }
  void OnSetMenuLanguage(int32_t v) { SetMenuLanguage(v); }
  void SetMenuLanguage(int32_t lang);
  int32_t GetMenuLanguage();
  // At start: the menu language of the system manager's register table
  // (the stored one when the table has none we know), applied through
  // SetMenuLanguage so that the stored key follows it.
  void LoadMenuLanguage();
  int32_t SetHdmiCecLanguage(int32_t lang);
  void SetSourceDisable(int32_t source, int32_t v);
  int32_t GetSourceDisableValue(int32_t source);
  bool GetSourceDisable(int32_t source);
  kv::String GetSourceLabel(int32_t source);
  kv::String GetSourceCustomLabel(int32_t source);
  void SetSourceLabel(int32_t source, const kv::String& text);
  void SetSourceCustomLabel(int32_t source, const kv::String& text);
  bool IsPinExisting();
  bool Is3DPinExisting();
  // Removes the media settings and resets the home-network controller.
  void ResetMMSettings();
  // Cancels a one-shot on-timer (fromTimer) and forgets the wake time.
  void CancelOnTimer(bool fromTimer);
  // Media-screen state kept for the media player.
  int32_t OnGetBackgroundMusicOnOff() { return BackgroundMusicOnOff; }
  void OnSetBackgroundMusicOnOff(int32_t v) { BackgroundMusicOnOff = v; }
  int32_t OnGetIsSlideshow() { return IsSlideshow; }
  void OnSetIsSlideshow(int32_t v) { IsSlideshow = v != 0; }
  int32_t OnGetIsInDmrPlay() { return IsInDmrPlay; }
  void OnSetIsInDmrPlay(int32_t v) { IsInDmrPlay = v != 0; }

  // --- Option-change marks and slider ranges (WrapperMarks.cpp) --------------------
  void SetOptionChange(kv::TextId group, bool changed);
  bool IsOptionChanged(kv::TextId group);
  void MarkOptionChange(int32_t optionId);
  // The range of a slider: `range` (the record's own, 0 to 100 step 1 by
  // default) unless the option's range depends on the set.
  AdjustBarRange GetAdjustBarRange(int32_t optionId, AdjustBarRange range = {});

  // --- Power timers, locks, critical sections, factory mode, update (WrapperPower.cpp)
  void StartAutoPowerTimer(kv::Object* sender = nullptr);
  void StopAutoPowerTimer(kv::Object* sender = nullptr);
  void StartOnTimerShutdownTimer(kv::Object* sender = nullptr);
  void StopOnTimerShutdownTimer(kv::Object* sender = nullptr);
  void Start3DLockTimer(kv::Object* sender = nullptr);
  // The minutes of one 3D lock period (the ThreeD_EnableTimer setting), 0 when off.
  int32_t ThreeDLockPeriod();
  void Stop3DLockTimer(kv::Object* sender = nullptr);
  void Clear3DLockTimer(kv::Object* sender = nullptr);
  void Start3DContinualTimer(kv::Object* sender = nullptr);
  void Stop3DContinualTimer(kv::Object* sender = nullptr);
  void EnterScreenSaver();
  int32_t OnGetSleepIndex() { return SleepIndex; }
  void OnSetSleepIndex(int32_t index);
  int32_t OnGetAutoPowerTimer() { return AutoPowerTimer; }
  void OnSetAutoPowerTimer(int32_t minutes);
  int32_t OnGetOnTimerShutdownTimer() { return OnTimerShutdownTimer; }
  void OnSetOnTimerShutdownTimer(int32_t minutes);
  int32_t OnGetRemainGameTime() { return RemainGameTime; }
  void OnSetRemainGameTime(int32_t minutes);
  int32_t OnGetRemain3DTime() { return Remain3DTime; }
  void OnSetRemain3DTime(int32_t minutes);
  int32_t OnGetRemain3DContinualTime() { return Remain3DContinualTime; }
  void OnSetRemain3DContinualTime(int32_t minutes);
  void GameTimerTriggered(kv::Object* sender = nullptr);
  void EnterAppCriticalSection(bool keepSleep);
  void ExitAppCriticalSection();
  kv::String OnGetFactoryMode() { return FactoryMode; }
  void OnSetFactoryMode(const kv::String& caption);
  void FactoryExitMMode();
  int32_t OnGetTVAgingMode() { return TVAgingMode; }
  void OnSetTVAgingMode(int32_t v) { TVAgingMode = v != 0; }
  // Software update: run by the platform. The check is answered by the
  // event XPM_EVENT_UBN_RESULT; the progress is 0 to 100 (0 until written).
  void StartUpdateCheck(int32_t mode, const kv::String& text);
  // The viewer's answer to an offered update has no effect: both calls do
  // nothing, and the update dialogs that make them go on as before.
  void ConfirmUpdate() {}
  void CancelUpdate() {}
  int32_t GetUpdateProgress();
  int32_t GetUBNVersion() { return 0; }
  bool IsUBNEnabled() { return false; }
  bool IsUSBUpdate();
  void UpdateReboot();

  // --- Texts (WrapperTexts.cpp) -------------------------------------------------------
  // A US rating word: bits 0-3 the movie level (1 N/A, 2 G, 3 PG, 4 PG-13,
  // 5 R, 6 NC-17, 7 X), the content descriptors 0x10 D, 0x100 L, 0x1000 S,
  // 0x10000 V, 0x1000000 FV, bits 28-31 the TV rating (1 TV-Y, 2 TV-Y7,
  // 3 TV-G, 4 TV-PG, 5 TV-14, 6 TV-MA, 7 not rated). Its name indices: TV
  // ratings 0-6, movie ratings 7-13, US_RATING_NOT_FOUND for anything else.
  // A Canadian rating word: the level in bits 0-3 (English 1-6: C, C8+, G,
  // PG, 14+, 18+; French 1-5: G, 8 ans+, 13 ans+, 16 ans+, 18 ans+) with
  // CAN_RATING_FRENCH for the French system; indices 0-5 and 6-10.
  static constexpr int32_t US_RATING_TV_SHIFT = 28;
  static constexpr uint32_t US_RATING_MOVIE_MASK = 15;
  static constexpr int32_t US_RATING_NOT_FOUND = 15;
  static constexpr int32_t CAN_RATING_LEVEL_MASK = 15;
  static constexpr int32_t CAN_RATING_FRENCH = 0x10;
  static constexpr int32_t CAN_RATING_NOT_FOUND = 11;
  kv::String GetChannelNumberStr(bool digital, int32_t major, int32_t minor);
  kv::String GetFailReasonString(int32_t status);
  kv::String GetResolutionString(Structures::VideoContentInfo* info);
  kv::String GetVGAInfo(Structures::VideoContentInfo* info);
  int32_t GetUsRatingIndex(int32_t code);
  kv::String GetUsRatingName(int32_t index);
  bool GetUsTVContent(int32_t rating, const kv::String& key);
  int32_t GetCanRatingIndex(int32_t code);
  kv::String GetCanRatingName(int32_t index);
  SkinBin::CurrentAudioServiceInfo* GetCurrentAudioServiceInfo(int32_t window);

  // --- Application launcher and store demo (WrapperLauncher.cpp) ----------------------
  int32_t LaunchFlashApp(int32_t id, bool flag);
  int32_t LaunchYahooApp(int32_t which, bool flag);
  int32_t LaunchVuduDock(bool on, bool flag);
  int32_t TerminateFlashApp();
  int32_t TerminateYahooApp();
  void TerminateAllcApps();
  int32_t DeactivateNetworkApp(int32_t id);
  void RefreshActiveAppStatus();
  Structures::ActiveAppStatus* GetActiveNetAppStatus();
  Structures::ActiveAppStatus* GetNetAppStatusById(int32_t kind);
  bool IsYahoo();
  bool IsVuduDock();
  bool IsDemoFlash();
  bool IsFlashlite();
  kv::String GetYahooWidgetName();
  int32_t OnGetStartDemo() { return StartDemo; }
  void OnSetStartDemo(int32_t v);
  void StartAutoDemoTimer(kv::Object* sender = nullptr);
  void StopAutoDemoTimer(kv::Object* sender = nullptr);
  void AutoDemoTimerSlot(kv::Object* sender = nullptr);
  void NotifySetupStatus(int32_t status);
  void ReportGraphicsStatus(bool sidebar, bool status);
  void ReportInputOSDStatus(int32_t kind, bool shown);
  void RequestTVResources();

  // --- Caption, audio, rating, network and system services (WrapperServices.cpp) ------
  SkinBin::ClosedCaptionService* GetCaptionService();
  int32_t SetCaptionService(SkinBin::ClosedCaptionService* service);
  int32_t SetBasicCaptionService(int32_t n);
  int32_t SetAdvanceCaptionService(int32_t n);
  int32_t GetBasicCaptionService();
  int32_t GetAdvanceCaptionService();
  int32_t OnGetCCKeyDigital();
  void OnSetCCKeyDigital(int32_t v);
  int32_t OnGetCCKey();
  void OnSetCCKey(int32_t v);
  int32_t OnGetMTSKeyDigital();
  void OnSetMTSKeyDigital(int32_t v);
  int32_t OnGetMTSKey();
  void OnSetMTSKey(int32_t v);
  kv::String GetCurrentAudioService();
  kv::String LanguageFromXPM(const kv::String& code);
  kv::String GetFullLangName(const kv::String& code);
  kv::String GetAutoAudioName();
  int32_t AutoAudioSwitch();
  bool IsAudioSelectedSource(int32_t source);
  int32_t SetHalfMute(int32_t v);
  int32_t GetHalfMute();
  void ResetAudioVideoSettings();
  bool IsHDMIAvMuted();
  void SetNoneRating(bool v);
  bool GetNoneRating();
  int32_t OnGetEnableRatingBlock();
  void OnSetEnableRatingBlock(int32_t v);
  void ResetChannelLocks();
  uint32_t OnGetIPAddress();
  void OnSetIPAddress(uint32_t v);
  uint32_t OnGetSubnetMask();
  void OnSetSubnetMask(uint32_t v);
  uint32_t OnGetDefaultGateway();
  void OnSetDefaultGateway(uint32_t v);
  uint32_t OnGetDNS1();
  void OnSetDNS1(uint32_t v);
  uint32_t OnGetDNS2();
  void OnSetDNS2(uint32_t v);
  int32_t OnGetAutoSetup();
  void OnSetAutoSetup(int32_t v);
  int32_t OnGetConnectMode() { return ConnectMode; }
  void OnSetConnectMode(int32_t v) { ConnectMode = v; }
  int32_t OnGetAuthentication() { return Authentication; }
  void OnSetAuthentication(int32_t v) { Authentication = v; }
  int32_t OnGetEncryption() { return Encryption; }
  void OnSetEncryption(int32_t v) { Encryption = v; }
  int32_t OnGetWPSPinMode() { return WPSPinMode; }
  void OnSetWPSPinMode(int32_t v) { WPSPinMode = v; }
  int32_t OnGetWPSConfiguration() { return WPSConfiguration; }
  void OnSetWPSConfiguration(int32_t v) { WPSConfiguration = v; }
  int32_t OnGetKeyID() { return KeyID; }
  void OnSetKeyID(int32_t v) { KeyID = v; }
  kv::String GetNetflixESN();
  int32_t OnGetPipAudio();
  void OnSetPipAudio(int32_t v);
  int32_t OnGetPipMode();
  void OnSetPipMode(int32_t v);
  int32_t OnGetPipSize();
  void OnSetPipSize(int32_t v);
  int32_t OnGetPipSource();
  void OnSetPipSource(int32_t v);
  void OnSetSharedPCInput(int32_t v);
  kv::String GetStringFromRegisterTable(const kv::String& key);
  void PutStringToRegisterTable(const kv::String& key, const kv::String& value);
  float GetFloatFromRegisterTable(const kv::String& key);
  void PutFloatToRegisterTable(const kv::String& key, float value);
  void RegisterTableChangeNotify(const kv::String& key, bool on);
  // 0 English-speaking, 1 French, 2 Spanish.
  int32_t OnGetCountry();
  void OnSetCountry(int32_t v);
  kv::String GetTimeZoneAbbrev();
  SkinBin::ModelInfo* GetModelInfo();
  int32_t SetTVModelID(int32_t id);
  void OnSetTVModelId(int32_t id);
  kv::String GetWidevineDeviceId();
  int32_t OpenUART(bool on);
  void PrintKvString(const kv::String& text);
  kv::String ReadFromFile(const kv::String& path);
  int32_t PowerKeyControl(int32_t v);
  bool IsCHLowSignal();
  int32_t OnGetCurrentPhysicalChannel();
  int32_t GetValidSourceNum();
  int32_t AddSourceToRing(int32_t window, int32_t source, int32_t flag, Structures::VirtualChannel* channel);
  int32_t RemoveSourceFromRing(int32_t window, int32_t source, int32_t flag, Structures::VirtualChannel* channel);
  void ResumeSignalEvent();
  int32_t ResetTimer(int32_t index);
  int32_t OnGetOnTimerVolume();
  void OnSetOnTimerVolume(int32_t v);
  int32_t OnGetDMC_AccessControl();
  void OnSetDMC_AccessControl(int32_t v);
  void DisplayNoChannel();

  // --- Records behind the lists (WrapperLists.cpp) ---------------------------
  // The embedded records; the CEC record follows EnableKELVO each time it is
  // asked for. The channel table is made on first use.
  SkinBin::HdmiCecData* GetHdmiCecData();
  SkinBin::HistoryAgent* GetHistoryAgent();
  SkinBin::SystemInfo* GetSystemInfo();
  // The one channel table of the channel lists, the guide and the browser.
  SkinBin::ChannelListData* GetChannelListData();
  // The guide events the programme lists read, and the caches of the
  // recording lists; each made on first use and kept with the Wrapper.
  SkinBin::EPGEventsInfo_DB* GetEPGProgramList();
  SkinBin::DB_ScheduledInfo* GetScheduledInfo();
  SkinBin::DB_RecordedInfo* GetRecordedInfo();

  // --- Recording, guide, timeshift and USB disk (WrapperRecording.cpp) -----------------
  int32_t StartRecord(int32_t tuner, Structures::VirtualChannel* channel);
  int32_t StopRecord(int32_t timerId);
  int32_t SetActiveTimer(int32_t a, int32_t b);
  int32_t SetTimerRecordValid(int32_t a, int32_t b, int32_t c, int32_t d);
  int32_t CancelTimerRecord(int32_t id);
  int32_t GetScheduleIdByTimerId(int32_t timerId);
  int32_t DB_DeleteScheduledRecord(int32_t id);
  int32_t DB_DeleteRecordedShow(int32_t id);
  int32_t DB_CheckInTimerId(int32_t id);
  int32_t DB_CheckOutTimerId(int32_t id);
  int32_t DB_InsertScheduledData(SkinBin::ScheduledRecordData* record, const kv::String& title,
                                 const kv::String& description);
  int32_t DB_UpdateScheduledData(SkinBin::ScheduledRecordData* oldRecord, SkinBin::ScheduledRecordData* newRecord);
  int32_t OnGetTuner1RecordAll();
  void OnSetTuner1RecordAll(int32_t v);
  int32_t OnGetTuner2RecordAll();
  void OnSetTuner2RecordAll(int32_t v);
  int32_t SetSourceRecord(int32_t v);
  int32_t GetCurrentTunerId();
  int32_t GetLiveTVState(int32_t window);
  Structures::ChannelData* GetChannelInfo(int32_t major, int32_t minor);
  kv::String VerifySingleDigitChannel(int32_t n, bool entered);
  Structures::VirtualChannel* GetTempCurrentChannel(bool tuner, bool map);
  Structures::EventInfo* DB_GetCurrentProgramInfo();
  Structures::EventInfo* DB_GetNextProgramInfo(Structures::EventInfo* event);
  SkinBin::ScheduledRecordData* GetEPGProgramStatus(int32_t id1, int32_t id2, Structures::LocalTime* start);
  Structures::EventInfo* GetEventInfoByTime(Structures::LocalTime* time);
  Structures::EventInfo* GetCurrentRatingInfo();
  SkinBin::UsAlternateRatingInfo* GetCurrentChannelRatingInfo();
  SkinBin::CurrentChannelInfo* GetCurrentChannelDetailInfo();
  int32_t StartTimeshift(int32_t tuner);
  int32_t StopTimeshift(int32_t tuner);
  int32_t TimeshiftKeyProc(int32_t action);
  SkinBin::TimeshiftStatus* GetTimeshiftStatus();
  int32_t OnGetTimeshiftDuration();
  void OnSetTimeshiftDuration(int32_t v);
  bool IsUSBDiskMounted();
  SkinBin::USBDiskStatus* GetUSBDiskStatus();
  int32_t USBDiskFormat();
  int32_t USBSpeedCheck();
  int32_t AbortUSBSpeedCheck();
  int32_t DeleteFile(const kv::String& path);
  int32_t GetFileSize(const kv::String& path);

  // --- Picture and sound enhancements (WrapperEnhance.cpp) ------------------------------
  int32_t OnGetFrcMode();
  void OnSetFrcMode(int32_t v);
  int32_t OnGetFrcVideo();
  void OnSetFrcVideo(int32_t v);
  int32_t OnGetFrcFilm();
  void OnSetFrcFilm(int32_t v);
  int32_t OnGetStillpane();
  void OnSetStillpane(int32_t v);
  int32_t OnGetStillpane240();
  void OnSetStillpane240(int32_t v);
  int32_t OnGetFilmStabilization();
  void OnSetFilmStabilization(int32_t v);
  int32_t OnGetFilmStabilization240();
  void OnSetFilmStabilization240(int32_t v);
  int32_t OnGetQRV_CinemaMode();
  void OnSetQRV_CinemaMode(int32_t v);
  int32_t OnGetSuperResolutionStatus();
  void OnSetSuperResolutionStatus(int32_t v);
  int32_t OnGetSuperResolutionLevel();
  void OnSetSuperResolutionLevel(int32_t v);
  int32_t OnGetRedHue();
  void OnSetRedHue(int32_t v);
  int32_t OnGetRedSaturation();
  void OnSetRedSaturation(int32_t v);
  int32_t OnGetRedBrightness();
  void OnSetRedBrightness(int32_t v);
  int32_t OnGetGreenHue();
  void OnSetGreenHue(int32_t v);
  int32_t OnGetGreenSaturation();
  void OnSetGreenSaturation(int32_t v);
  int32_t OnGetGreenBrightness();
  void OnSetGreenBrightness(int32_t v);
  int32_t OnGetBlueHue();
  void OnSetBlueHue(int32_t v);
  int32_t OnGetBlueSaturation();
  void OnSetBlueSaturation(int32_t v);
  int32_t OnGetBlueBrightness();
  void OnSetBlueBrightness(int32_t v);
  int32_t OnGetYellowHue();
  void OnSetYellowHue(int32_t v);
  int32_t OnGetYellowSaturation();
  void OnSetYellowSaturation(int32_t v);
  int32_t OnGetYellowBrightness();
  void OnSetYellowBrightness(int32_t v);
  int32_t OnGetMagentaHue();
  void OnSetMagentaHue(int32_t v);
  int32_t OnGetMagentaSaturation();
  void OnSetMagentaSaturation(int32_t v);
  int32_t OnGetMagentaBrightness();
  void OnSetMagentaBrightness(int32_t v);
  int32_t OnGetCyanHue();
  void OnSetCyanHue(int32_t v);
  int32_t OnGetCyanSaturation();
  void OnSetCyanSaturation(int32_t v);
  int32_t OnGetCyanBrightness();
  void OnSetCyanBrightness(int32_t v);
  int32_t SetTintForgeValue(int32_t colour, int32_t word);
  int32_t GetTintForgeValue(int32_t colour);
  void ResetTintForge();
  int32_t OnGetRGBFilterRed();
  void OnSetRGBFilterRed(int32_t v);
  int32_t OnGetRGBFilterGreen();
  void OnSetRGBFilterGreen(int32_t v);
  int32_t OnGetRGBFilterBlue();
  void OnSetRGBFilterBlue(int32_t v);
  int32_t GetRGBFilter();
  int32_t SetRGBFilter(int32_t word);
  int32_t OnGetLumiflux();
  void OnSetLumiflux(int32_t v);
  int32_t OnGetBacklightAuto();
  void OnSetBacklightAuto(int32_t v);
  int32_t OnGetStaticGamma();
  void OnSetStaticGamma(int32_t v);
  int32_t GetLightSensor();
  int32_t OnGetFactoryLocalDimming() { return FactoryLocalDimming; }
  void OnSetFactoryLocalDimming(int32_t v);
  kv::String Get3DE2PROMVersion();
  int32_t OnGetTestPattern();
  void OnSetTestPattern(int32_t v);
  int32_t OnGetWB_WindowDisplay();
  void OnSetWB_WindowDisplay(int32_t v);
  int32_t OnGetStretch43();
  void OnSetStretch43(int32_t v);
  int32_t OnGetAutoAspect();
  void OnSetAutoAspect(int32_t v);
  int32_t OnGetDigitalAudioOutput();
  void OnSetDigitalAudioOutput(int32_t v);
  int32_t OnGetHDMI_RGBRange();
  void OnSetHDMI_RGBRange(int32_t v);
  int32_t OnGetDynamicRangeControl();
  void OnSetDynamicRangeControl(int32_t v);
  int32_t OnGetDynamicBassBoost();
  void OnSetDynamicBassBoost(int32_t v);
  int32_t OnGetVoiceEnhancement();
  void OnSetVoiceEnhancement(int32_t v);

  // --- Fields -----------------------------------------------------------------------------
  // Flags.
  bool FreezeRequest = false;       // the flag last passed to OnSetIsFrozen
  bool AppCriticalSection = false;  // scan, update or standby running
  bool TV101 = true;                // the user interface owns the screen
  bool FlashAppRunning = false;
  bool StartDemo = false;
  bool GlowSyncRunning = false;
  bool IsTuningChannel = false;
  bool RetailMode = false;
  bool TVForceOn = false;
  bool TVAgingMode = false;
  // The sleep countdown ended inside a critical section; the standby is
  // sent when the section ends.
  bool SleepStandbyPending = false;
  int16_t SeriesType = SERIES_TYPE_UNKNOWN;
  // Embedded records, constructed in this order with the Wrapper.
  SkinBin::DynamicRatingData DynamicRatingData;  // the downloadable rating region
  SkinBin::HdmiCecData HdmiCecData;
  SkinBin::NetworkSetup NetworkSetup;
  SkinBin::HistoryAgent HistoryAgent;
  SkinBin::Setup3D Setup3D;
  Core::Timer FreezeTimer;
  Structures::AllActiveAppStatus ActiveApps;
  SkinBin::SystemInfo SystemInfo;
  // Object references.
  kv::Member<PersistentData::PersistentData> PersistentData;
  kv::Member<Agent::EventAgent> EventAgent;
  kv::Member<Core::Timer> AutoDemoTimer;
  // The channel the Last key returns to (major -2: a source, minor its id).
  kv::Member<Structures::VirtualChannel> RememberedChannel;
  kv::Member<SkinBin::ChannelListData> ChannelList;
  kv::Member<SkinBin::EPGEventsInfo_DB> EPGProgramList;
  kv::Member<SkinBin::DB_ScheduledInfo> ScheduledInfo;
  kv::Member<SkinBin::DB_RecordedInfo> RecordedInfo;
  kv::String SourceNames[SOURCE_NAME_COUNT];
  void LoadSourceNames();
  kv::String FactoryMode;
  // The class the media screens return to (written and read by them).
  const kv::Class* MediaReturnClass = nullptr;
  // Media-screen flags.
  int32_t BackgroundMusicOnOff = 0;
  bool IsSlideshow = false;
  bool IsInDmrPlay = false;
  bool RendererScreen = false;
  bool RendererInstalled = false;
  // 3D choices remembered for the 3D screens: format (0 side by side, 1 top
  // and bottom) and the 3D key (1 3D, 0 2D-to-3D).
  int32_t ThreeDFormatChoice = 0;
  int32_t ThreeDKeyChoice = 0;
  // Countdowns and their state.
  int32_t SleepIndex = 0;
  int32_t AutoPowerTimer = 0;
  int32_t OnTimerShutdownTimer = 0;
  int32_t RemainGameTime = 0;
  int32_t Remain3DTime = 0;
  int32_t Remain3DContinualTime = 0;
  int32_t Accumulated3DMinutes = 0;
  // OEM property caches.
  int32_t TVModelId = 0;
  int32_t SharedPCInput = 0;
  int32_t RearSharedAudio = 0;
  int32_t SideSharedAudio = 0;
  int32_t RoomLighting = 0;
  int32_t SRV_Red_Gain = 0;
  int32_t SRV_Green_Gain = 0;
  int32_t SRV_Blue_Gain = 0;
  int32_t SRV_Red_Offset = 0;
  int32_t SRV_Green_Offset = 0;
  int32_t SRV_Blue_Offset = 0;
  int32_t BrightnessCenter = 0;
  int32_t ColorCenter = 0;
  int32_t BasebandTint = 0;
  int32_t ContrastMax = 0;
  int32_t AutoBrightnessSensor = 0;
  int32_t PowerLed = 0;
  int32_t HDMI_InputMode = 0;
  int32_t HDMI_Instaport = 0;
  int32_t Brontel = 0;
  int32_t TVPowerOnControl = 0;
  int32_t WindowHPos = 0;
  int32_t WindowVPos = 0;
  int32_t WindowHSize = 0;
  int32_t WindowVSize = 0;
  // Application-setting caches.
  int32_t AddDigital = 0;
  int32_t AddAnalog = 0;
  int32_t AdditiveScan = 0;
  int32_t AudioEffect = 0;
  int32_t WallpaperOrientation = 0;
  int32_t NoSignalPowerDown = 65535;
  int32_t ThreeD_DisplayInfo = 0;
  int32_t AutoInputTV = 0;
  int32_t AutoInputCableSat = 0;
  int32_t AutoInputBDDVD = 0;
  int32_t AutoInputAUX = 0;
  int32_t EnableAutoInput = 0;
  int32_t CurrentCBList = 0;
  int32_t Max_Volume_Setup = 0;
  int32_t TV_Auto_PowerOff = 0;
  int32_t TV_Auto_PowerOn = 0;
  int32_t ScreenSaverDelay = 0;
  int32_t HDMIInformationDisplay = 0;
  int32_t Navigation = 0;
  int32_t MediaRenderer = 0;
  int32_t AmplifierControl = 0;
  int32_t ThreeDTimerLock = 0;
  int32_t ThreeDLock = 0;
  int32_t ThreeDStartMessage = 0;
  int32_t ThreeDAutoStart = 0;
  int32_t USBSDAutoStart = 0;
  int32_t TheaterLock = 0;
  int32_t EnableKELVO = 0;
  int32_t EnableDlna = 0;
  int32_t PhotoBrowseMode = 0;
  int32_t Music_Repeat = 0;
  int32_t Movie_Repeat = 0;
  int32_t Photo_Repeat = 0;
  int32_t MM_IntervalTime = 0;
  int32_t MM_SortMode = 0;
  int32_t CBLists = 0;
  int32_t ChannelTuningMode = 0;
  int32_t AutomaticPowerDown = 0;
  int32_t InputLock = 0;
  int32_t NetworkType = 0;
  int32_t StickerDemo = 0;
  int32_t Location = 0;
  int32_t GameTimerIndex = 0;
  int32_t ThreeD_EnableTimer = 0;
  int32_t OnTimerTime = 0;
  int32_t MenuLanguage = 0;
  // Service caches (WrapperServices.cpp).
  int32_t CCKeyDigital = 0;
  int32_t CCKey = 0;
  int32_t MTSKeyDigital = 0;
  int32_t MTSKey = 0;
  int32_t EnableRatingBlock = 0;
  uint32_t IPAddress = 0;
  uint32_t SubnetMask = 0;
  uint32_t DefaultGateway = 0;
  uint32_t DNS1 = 0;
  uint32_t DNS2 = 0;
  int32_t AutoSetup = 0;
  // 1: the middleware finds the security, 2: set by hand (the option's
  // first choice, 1, until the viewer picks one).
  int32_t ConnectMode = 1;
  int32_t Authentication = 0;
  int32_t Encryption = 0;
  int32_t KeyID = 0;
  int32_t WPSPinMode = 0;
  int32_t WPSConfiguration = 0;
  int32_t PipAudio = 0;
  int32_t PipMode = 0;
  int32_t PipSize = 0;
  int32_t PipSource = 0;
  int32_t Country = 0;
  int32_t OnTimerVolume = 0;
  int32_t DMC_AccessControl = 0;
  // False while a screen has switched the power key off (PowerKeyControl).
  bool PowerKeyEnabled = true;
  // Recording caches (WrapperRecording.cpp).
  int32_t Tuner1RecordAll = 0;
  int32_t Tuner2RecordAll = 0;
  int32_t TimeshiftDuration = 0;
  int32_t LastUSBSpeed = 0;  // the last measured USB speed, 0 none
  // Enhancement caches (WrapperEnhance.cpp).
  int32_t FrcMode = 0;
  int32_t FrcVideo = 0;
  int32_t FrcFilm = 0;
  int32_t Stillpane = 0;
  int32_t Stillpane240 = 0;
  int32_t FilmStabilization = 0;
  int32_t FilmStabilization240 = 0;
  int32_t QRV_CinemaMode = 0;
  int32_t SuperResolutionStatus = 0;
  int32_t SuperResolutionLevel = 0;
  int32_t TintForge[18] = {};  // colour * 3 + (0 hue, 1 saturation, 2 brightness)
  int32_t RGBFilterRed = 0;
  int32_t RGBFilterGreen = 0;
  int32_t RGBFilterBlue = 0;
  int32_t Lumiflux = 0;
  int32_t BacklightAuto = 0;
  int32_t StaticGamma = 0;
  int32_t FactoryLocalDimming = 0;
  int32_t TestPattern = 0;
  int32_t WB_WindowDisplay = 0;
  int32_t TestPatternPrevSource = 0;  // the source a test pattern returns to
  int32_t Stretch43 = 0;
  int32_t AutoAspect = 0;
  int32_t DigitalAudioOutput = 0;
  int32_t HDMI_RGBRange = 0;
  int32_t DynamicRangeControl = 0;
  int32_t DynamicBassBoost = 0;
  int32_t VoiceEnhancement = 0;

 private:
  // The persistent data when it exists (null otherwise).
  PersistentData::PersistentData* Store() const { return PersistentData.get(); }
  // A countdown end: a warning of the message bar (cached, or direct while
  // `direct`), or a standby request to the root.
  void ShowTimerMessage(int32_t type, bool direct);
  void RequestStandby(int32_t reason);
  void DeliverMessage(Structures::Message* message, bool direct);
  void SetWhiteBalanceValue(int32_t& cache, int32_t index, int32_t value);
  // Reads the 3D state; a 3D picture is set back to 2D (state and mode
  // only) and true is answered.
  bool Leave3DOnChange();
  // History entries of a source change or a channel change.
  void AddSourceHistory(int32_t source);
  void AddChannelHistory(int32_t type, int32_t source, Structures::VirtualChannel* channel, bool delayed);
  void UpdateGMTOffset();
};

}  // namespace SkinBin
