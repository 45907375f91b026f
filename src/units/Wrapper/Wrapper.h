// Wrapper::Wrapper: the one object through which screens, menu items and
// option records read and change the television's settings and state.
//
// Each setting is a property (OnGet<P> / OnSet<P>, bindable through a
// kv::RefInt32). The accessors follow a few patterns:
//   - guarded setter: caches the value, then returns the lock value at once
//     while OSDLock is set; otherwise writes one trace line and makes one
//     middleware call, returning its status;
//   - direct setter: caches the value and calls the middleware, no lock test
//     and no trace; traced setter: as guarded, without the lock test;
//   - getter: presets its default, asks the middleware and returns the
//     answer, or the default when the call fails; a caching getter also keeps
//     the answer in the property's cache field;
//   - boolean properties pass 1 for any non-zero value and read back 0 or 1.
// Picture, caption and audio-service calls address `Window` first.
//
// Beside the properties: channel and source control with the last-channel
// memory (WrapperChannel.cpp), the application timers, the sleep timer, the
// timer records and the clock (WrapperTimers.cpp), the resets of settings
// groups (WrapperReset.cpp) and small utilities (WrapperUtil.cpp).
//
// The virtual operations are the ones the skin's Wrapper replaces; base code
// calls them virtually so that the replacement runs. Every middleware call
// that fails is logged ("<call> Error 0x<code>") and its caller goes on.
//
// The fields are public: the skin's Wrapper and the screens read them.
#pragma once

#include <cstdint>

#include "runtime/auto_object.h"
#include "runtime/geometry.h"
#include "runtime/member.h"
#include "runtime/object.h"
#include "runtime/ref.h"
#include "runtime/string.h"
#include "runtime/text.h"
#include "units/Core/Group.h"
#include "units/Core/Timer.h"
#include "units/Structures/LocalTime.h"
#include "units/Structures/TimerData.h"
#include "units/Structures/VirtualChannel.h"

namespace Structures {
class AMPMHour;
class CaptionServiceInfo;
class ChannelData;
class VideoContentInfo;
}  // namespace Structures

namespace Wrapper {

// Channel status codes of the channel operations and the channel-acquired event.
inline constexpr int32_t CHANNEL_OK = 0;
inline constexpr int32_t CHANNEL_NO_TUNER_LOCK = 1;
inline constexpr int32_t CHANNEL_NOT_IN_STREAM = 2;
inline constexpr int32_t CHANNEL_NO_VIDEO = 3;
inline constexpr int32_t CHANNEL_CHANNEL_LOCK = 4;
inline constexpr int32_t CHANNEL_RATING_LOCK = 5;
inline constexpr int32_t CHANNEL_NOT_AVAILABLE = 6;
inline constexpr int32_t CHANNEL_MAP_IS_EMPTY = 7;
inline constexpr int32_t OPERATION_NOT_AVAILABLE = 48;

// Application-timer slots.
inline constexpr int32_t APP_TIMER_SLOTS = 10;
inline constexpr int32_t APP_TIMER_SLEEP = 0;
inline constexpr int32_t APP_TIMER_GAME = 1;
inline constexpr int32_t APP_TIMER_3D_LOCK = 2;
inline constexpr int32_t APP_TIMER_AUTO_POWER = 3;
inline constexpr int32_t APP_TIMER_ON_TIMER_SHUTDOWN = 4;
inline constexpr int32_t APP_TIMER_3D_CONTINUAL = 5;
inline constexpr int32_t APP_TIMER_SCREEN_SAVER = 6;
inline constexpr int32_t APP_TIMER_PERIOD_MS = 60000;

// Standby reasons of the events the Wrapper sends.
inline constexpr int32_t STANDBY_REASON_SLEEP_TIMER = 5;

// The one-shot that switches last-channel recording back on.
inline constexpr int32_t RECORD_LAST_CHANNEL_DELAY_MS = 5000;

class Wrapper : public kv::Object {
  KV_CLASS(Wrapper, Wrapper, kv::Object)
 public:
  Wrapper();
  ~Wrapper() override;
  void ReInit() override;

  // Sets Window, OSDLock and the animation counts to 0 and creates LastChannel as
  // (-1, -1) when it is missing. Called once by the application root, after
  // it stored itself in Root.
  void Initialize();

  // --- Virtual operations (replaced by the skin's Wrapper) ------------------
  virtual int32_t ResetAll();
  virtual int32_t SetSource(int32_t window, int32_t source);
  virtual Structures::TimerData* GetTimer(int32_t id);
  // What a list of timers shows of timer `id`, as the set stores it: read
  // without making a record (the active one stays as it was). The start is
  // `known` when that holds the same time, else a new time. False, with
  // `out` as it was, when the set has no such timer.
  struct TimerShown {
    Structures::LocalTime* Start = nullptr;
    int32_t Duration = 0;  // seconds
    int32_t Source = 0;
    int32_t ChannelMajor = 0;
    int32_t ChannelMinor = 0;
    int32_t MapId = 0;
    int32_t Enable = 0;
    int32_t TimesType = 0;
    int32_t SourceType = 0;
  };
  bool PeekTimerShown(int32_t id, Structures::LocalTime* known, TimerShown* out);
  virtual int32_t SetTimer(Structures::TimerData* record);
  virtual int32_t SetLastChannel();
  virtual Structures::VirtualChannel* GetNextChannel(int32_t ring, int32_t major, int32_t minor);
  virtual Structures::VirtualChannel* GetPrevChannel(int32_t ring, int32_t major, int32_t minor);
  virtual int32_t GetNumChannelsInRing(int32_t ring);
  virtual void OnSetVolume(int32_t value);
  virtual void OnSetRed_Offset(int32_t value);
  virtual int32_t OnGetRed_Offset();
  virtual void OnSetGreen_Offset(int32_t value);
  virtual int32_t OnGetGreen_Offset();
  virtual void OnSetBlue_Offset(int32_t value);
  virtual int32_t OnGetBlue_Offset();
  virtual void OnSetRed_Gain(int32_t value);
  virtual int32_t OnGetRed_Gain();
  virtual void OnSetGreen_Gain(int32_t value);
  virtual int32_t OnGetGreen_Gain();
  virtual void OnSetBlue_Gain(int32_t value);
  virtual int32_t OnGetBlue_Gain();
  virtual void OnSetVideoPreset(int32_t value);
  virtual void OnSetAntCableIn(int32_t medium);
  virtual void OnSetTimeZone(int32_t zone);
  virtual void OnSetDaylightSavingTime(int32_t flag);
  virtual void OnSetMute(int32_t value);
  virtual int32_t OnGetMute();
  virtual int32_t OnGetPreferViewMode();
  virtual int32_t OnGetTimerSource();
  virtual int32_t OnGetTimerChannel();
  virtual void OnSetIsFrozen(int32_t flag);
  virtual int32_t SetChannelApi(int32_t window, int32_t major, int32_t minor);
  virtual void ResetLastChannel();
  virtual void OnSetRemainSleepTime(int32_t minutes);
  virtual int32_t OnGetTimerMapId();

  // --- OSD lock and root -------------------------------------------------------
  // The lock as a signed byte; traces a label while it is set.
  int8_t GetOSDLock();
  void SetOSDLock(bool flag) { OSDLock = flag; }
  void OnSetRoot(Core::Group* root);
  Core::Group* OnGetRoot() const { return Root.get(); }

  // --- Picture -------------------------------------------------------------------
  void OnSetBacklight(int32_t v);
  int32_t OnGetBacklight() { return GetBacklight(); }
  int32_t SetBacklight(int32_t v);
  int32_t GetBacklight();
  void OnSetContrast(int32_t v);
  int32_t OnGetContrast() { return GetContrast(); }
  int32_t SetContrast(int32_t v);
  int32_t GetContrast();
  void OnSetBrightness(int32_t v);
  int32_t OnGetBrightness() { return GetBrightness(); }
  int32_t SetBrightness(int32_t v);
  int32_t GetBrightness();
  void OnSetColor(int32_t v);
  int32_t OnGetColor() { return GetSaturation(); }
  int32_t SetSaturation(int32_t v);
  int32_t GetSaturation();
  void OnSetTint(int32_t v);
  int32_t OnGetTint() { return GetHue(); }
  int32_t SetHue(int32_t v);
  int32_t GetHue();
  void OnSetSharpness(int32_t v);
  int32_t OnGetSharpness() { return GetSharpness(); }
  int32_t SetSharpness(int32_t v);
  int32_t GetSharpness();
  void OnSetColorTemperature(int32_t v);
  int32_t OnGetColorTemperature() { return GetColorTemperature(); }
  int32_t SetColorTemperature(int32_t v);
  int32_t GetColorTemperature();
  // channel: 0 red, 1 green, 2 blue.
  int32_t SetColorTempOffset(int32_t channel, int32_t v);
  int32_t GetColorTempOffset(int32_t channel);
  int32_t SetColorTempGain(int32_t channel, int32_t v);
  int32_t GetColorTempGain(int32_t channel);
  int32_t OnGetVideoPreset() { return GetCustomVideoPreset(); }
  // The menu's picture presets 1 to 7 mapped to the middleware's numbers.
  int32_t SetCustomVideoPreset(int32_t menuValue);
  int32_t GetCustomVideoPreset();
  // The middleware's preset numbers, unmapped.
  int32_t SetVideoPreset(int32_t preset);
  int32_t GetVideoPreset();
  void OnSetViewMode(int32_t v);
  int32_t OnGetViewMode() { return GetViewMode(); }
  int32_t SetViewMode(int32_t menuValue);
  int32_t GetViewMode();
  void OnSetPreferViewMode(int32_t v);
  int32_t SetPreferViewMode(int32_t menuValue);
  int32_t GetPreferViewMode();
  void OnSetColorManager(int32_t v);
  int32_t OnGetColorManager();
  void OnSetDigitalNR(int32_t v);
  int32_t OnGetDigitalNR() { return GetNoiseReduction(); }
  int32_t SetNoiseReduction(int32_t v);
  int32_t GetNoiseReduction();
  void OnSetAnalogNR(int32_t v);
  int32_t OnGetAnalogNR();
  void OnSetSuperResolution(int32_t v);
  int32_t OnGetSuperResolution();
  void OnSetCinemaMode(int32_t v);
  int32_t OnGetCinemaMode();
  void OnSetDynamicContrast(int32_t v);
  int32_t OnGetDynamicContrast();
  void OnSetGameMode(int32_t v);
  int32_t OnGetGameMode();
  void OnSetVDECSensitivity(int32_t v);
  int32_t OnGetVDECSensitivity();
  void OnSetHorizontalPosition(int32_t v);
  int32_t OnGetHorizontalPosition();
  void OnSetVerticalPosition(int32_t v);
  int32_t OnGetVerticalPosition();
  void OnSetHorizontalSize(int32_t v);
  int32_t OnGetHorizontalSize();
  void OnSetVerticalSize(int32_t v);
  int32_t OnGetVerticalSize();
  void OnSetVGAPhase(int32_t v);
  int32_t OnGetVGAPhase();
  int32_t SetPhaseAdjust(int32_t v);
  int32_t GetPhaseAdjust();
  int32_t OnGetIsFrozen();
  // A new record of the picture on the window (empty when the call fails).
  Structures::VideoContentInfo* GetVideoContentInfo(int32_t window);
  bool IsPCSignal();
  bool Is1080p();
  // The aspect code of the picture on Window, or -1.
  int32_t GetVideoAspectRatio();
  int32_t SetDisplayWindow(int32_t x, int32_t y, int32_t w, int32_t h);
  int32_t SetVideoWindow(int32_t x, int32_t y, int32_t w, int32_t h);
  int32_t AutoSync();

  // --- Sound ---------------------------------------------------------------------
  int32_t OnGetVolume() { return GetVolume(); }
  // The volume keys of the screens that show the level themselves (the media
  // browser, the guide, the recording lists): one step up or down within
  // 0 to 100, as the live picture's volume bar moves; answers the volume set.
  int32_t StepVolume(bool up);
  int32_t SetVolume(int32_t v);
  int32_t GetVolume();
  int32_t SetAudioMute(bool muted);
  int32_t GetAudioMute();
  void OnSetBalance(int32_t v);
  int32_t OnGetBalance() { return GetBalance(); }
  int32_t SetBalance(int32_t v);
  int32_t GetBalance();
  void OnSetBass(int32_t v);
  int32_t OnGetBass() { return GetBass(); }
  int32_t SetBass(int32_t v);
  int32_t GetBass();
  void OnSetTreble(int32_t v);
  int32_t OnGetTreble() { return GetTreble(); }
  int32_t SetTreble(int32_t v);
  int32_t GetTreble();
  void OnSetEqualizerPreset(int32_t v);
  int32_t OnGetEqualizerPreset() { return GetEqualizerPreset(); }
  int32_t SetEqualizerPreset(int32_t v);
  int32_t GetEqualizerPreset();
  void OnSetMTS(int32_t v);
  int32_t OnGetMTS() { return GetPreferAudioDecodeMode(); }
  int32_t SetPreferAudioDecodeMode(int32_t mode);
  int32_t GetPreferAudioDecodeMode();
  // 1 Spanish, 2 French, other English.
  void OnSetDigitalPreference(int32_t v);
  int32_t OnGetDigitalPreference() { return GetPreferAudioLanguage(); }
  int32_t SetPreferAudioLanguage(int32_t code);
  int32_t GetPreferAudioLanguage();
  void OnSetAutoVolumeLevel(int32_t v);
  int32_t OnGetAutoVolumeLevel();
  int32_t SetVolumeLevelling(bool on);
  int32_t GetVolumeLevelling();
  void OnSetMutePreference(int32_t v);
  int32_t OnGetMutePreference();
  int32_t SetExtOutputMute(bool muted);
  int32_t GetExtOutputMute();
  void OnSetDynamicVolume(int32_t v);
  int32_t OnGetDynamicVolume();
  void OnSetAudysseyEQ(int32_t v);
  int32_t OnGetAudysseyEQ();
  void OnSetSRSTruSurround(int32_t v);
  int32_t OnGetSRSTruSurround();
  void OnSetSRSTruVolume(int32_t v);
  int32_t OnGetSRSTruVolume();
  void OnSetSSTruSurround(int32_t v);
  int32_t OnGetSSTruSurround();
  void OnSetSSTruVolume(int32_t v);
  int32_t OnGetSSTruVolume();
  void OnSetLipSync(int32_t v);
  int32_t OnGetLipSync();
  void OnSetSpdifFormat(int32_t v);
  int32_t OnGetSpdifFormat() { return GetSpdifFormat(); }
  int32_t SetSpdifFormat(int32_t v);
  int32_t GetSpdifFormat();
  int32_t SetSpeaker(bool on);
  int32_t GetSpeaker();
  int32_t SetAudioDecodeMode(int32_t mode);
  int32_t GetAudioDecodeMode();
  int32_t GetCurrentAudioIndex();
  int32_t SetAudioService(int32_t index);
  // The service's three-letter language, or an empty string.
  kv::String GetAudioServiceLang(int32_t index);
  // The number of audio services.
  int32_t HasAlternateAudio();
  int32_t IsStereo_Present();
  int32_t IsSAP_Present();

  // --- Captions ------------------------------------------------------------------
  void OnSetClosedCaptionState(int32_t v);
  int32_t OnGetClosedCaptionState() { return GetCCState(); }
  // 0 off, 1 on, 2 on when muted.
  int32_t SetCCState(int32_t state);
  int32_t GetCCState();
  void OnSetCCPreference(int32_t v);
  int32_t OnGetCCPreference() { return GetCaptionDecodeMode(); }
  int32_t SetCaptionDecodeMode(int32_t mode);
  int32_t GetCaptionDecodeMode();
  void OnSetBasicCCMode(int32_t v);
  int32_t OnGetBasicCCMode() { return GetPreferBasicCaptionService(); }
  // Services counted from 0 here, from 1 by the middleware.
  int32_t SetPreferBasicCaptionService(int32_t service);
  int32_t GetPreferBasicCaptionService();
  void OnSetAdvancedCCMode(int32_t v);
  int32_t OnGetAdvancedCCMode() { return GetPreferAdvanceCaptionService(); }
  int32_t SetPreferAdvanceCaptionService(int32_t service);
  int32_t GetPreferAdvanceCaptionService();
  void BackupCCState();
  void RecoverCCState();
  void OnSetCC708_WinJustification(int32_t v);
  int32_t OnGetCC708_WinJustification() { return GetAdvanceCaptionProperty(0); }
  void OnSetCC708_WinColor(int32_t v);
  int32_t OnGetCC708_WinColor() { return GetAdvanceCaptionProperty(1); }
  void OnSetCC708_WinOpacity(int32_t v);
  int32_t OnGetCC708_WinOpacity() { return GetAdvanceCaptionProperty(2); }
  void OnSetCC708_FontSize(int32_t v);
  int32_t OnGetCC708_FontSize() { return GetAdvanceCaptionProperty(3); }
  void OnSetCC708_FontStyle(int32_t v);
  int32_t OnGetCC708_FontStyle() { return GetAdvanceCaptionProperty(4); }
  void OnSetCC708_EdgeColor(int32_t v);
  int32_t OnGetCC708_EdgeColor() { return GetAdvanceCaptionProperty(5); }
  void OnSetCC708_EdgeType(int32_t v);
  int32_t OnGetCC708_EdgeType() { return GetAdvanceCaptionProperty(6); }
  void OnSetCC708_FontColor(int32_t v);
  int32_t OnGetCC708_FontColor() { return GetAdvanceCaptionProperty(7); }
  void OnSetCC708_FontOpacity(int32_t v);
  int32_t OnGetCC708_FontOpacity() { return GetAdvanceCaptionProperty(8); }
  void OnSetCC708_BgColor(int32_t v);
  int32_t OnGetCC708_BgColor() { return GetAdvanceCaptionProperty(9); }
  void OnSetCC708_BgOpacity(int32_t v);
  int32_t OnGetCC708_BgOpacity() { return GetAdvanceCaptionProperty(10); }
  int32_t SetAdvanceCaptionProperty(int32_t index, int32_t v);
  int32_t GetAdvanceCaptionProperty(int32_t index);
  int32_t SetBasicCaptionProperty(int32_t index, int32_t v);
  int32_t GetBasicCaptionProperty(int32_t index);
  // Shows a sample caption of at most 15 characters.
  int32_t ShowSampleCCText(bool show, const kv::String& text, int32_t a, int32_t b);
  // A new record of caption service `index` (from 0), or null.
  Structures::CaptionServiceInfo* GetCaptionServiceInfo(bool advanced, int32_t index);

  // --- Ratings and locks ---------------------------------------------------------
  void OnSetParentalLocks(int32_t v);
  int32_t OnGetParentalLocks() { return GetParentalLocksState(); }
  // 0 off, 1 off until standby, 2 on; other values are refused (non-zero).
  int32_t SetParentalLocksState(int32_t state);
  int32_t GetParentalLocksState();
  void OnSetBlockUnratedContent(int32_t v);
  int32_t OnGetBlockUnratedContent();
  int32_t SetUnratedContent(bool blocked);
  int32_t GetUnratedContent();
  void OnSetPanelLock(int32_t v);
  int32_t OnGetPanelLock();
  int32_t SetParentalLocksMask(int32_t mask);
  int32_t GetParentalLocksMask();
  int32_t SetUsChildRating(uint32_t a, uint32_t b, bool blocked, bool d);
  int32_t SetUsAgeRating(uint32_t a, uint32_t b, bool blocked, bool d);
  int32_t SetUsMovieRating(uint32_t a, bool b, bool c);
  int32_t SetCanadaLevel(uint32_t a, uint32_t b, bool blocked, bool d);
  int32_t GetUsChildRating(int32_t a, int32_t b);
  int32_t GetUsAgeRating(int32_t a, int32_t b);
  int32_t GetCanadaLevel(int32_t a, int32_t b);
  int32_t GetUsMovieRating(int32_t a);
  int32_t SetChannelLock(Structures::VirtualChannel* channel, bool locked);
  int32_t GetChannelLock(Structures::VirtualChannel* channel);
  int32_t SetSourceLock(int32_t source, bool locked);
  int32_t GetSourceLock(int32_t source);
  // 1 Spanish, 2 French, other English (each followed by the fall-backs).
  void SetPreferRatingLanguage(int32_t value);

  // --- Time ------------------------------------------------------------------------
  int32_t OnGetTimeZone();
  int32_t OnGetDaylightSavingTime();
  // 0 off, 1 from the broadcast channel, 2 from the network, 3 from both.
  int32_t SetAutoTimeUpdate(int32_t status);
  int32_t GetAutoTimeUpdate();
  double GetGMTOffset(int32_t zone, int32_t dst);

  // --- System ------------------------------------------------------------------------
  int32_t OnGetAntCableIn() { return GetMedium(); }
  // 0 antenna, 1 cable; empties the last-channel memory.
  int32_t SetMedium(int32_t medium);
  int32_t GetMedium();
  // 1 Spanish (GUI language 2), 2 French (language 1), other English.
  int32_t SetLanguage(int32_t value);
  int32_t Standby(int32_t mode, int32_t reason);
  int32_t SetDpms(bool on);
  int32_t GetDpms() { return 1; }
  void ResetDpmsTimer() {}
  int32_t IsPipEnabled() { return 0; }
  int32_t SetPIP(int32_t mode);
  int32_t GetPIPState();
  int32_t SetPipAudio(int32_t on);
  int32_t GetPipAudio();
  int32_t SetPipPosition(int32_t position);
  int32_t GetPipPosition();
  int32_t SwapSource();
  // The firmware version, or an empty string.
  kv::String GetFirmwareVersion();
  // 0 to 100; 70 when it cannot be read.
  int32_t GetSignalStrength();
  int32_t StartAnimation();
  int32_t StopAnimation();
  bool IsAnimating() const { return AnimationCount > 0; }
  // An animation that stands for as long as its screen is open (a player's,
  // the media browser's): counted among the animations, never a passing one.
  int32_t StartStandingAnimation();
  int32_t StopStandingAnimation();
  // An animation that ends runs: one started and not standing.
  bool IsTransitionRunning() const { return AnimationCount > StandingAnimationCount; }

  // --- Channel scans ---------------------------------------------------------------
  int32_t StartChannelScan(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e, int32_t f);
  int32_t AbortChannelScan(int32_t a);
  int32_t StartSingleChannelScan(int32_t channel, int32_t b, int32_t c, int32_t d, int32_t e, int32_t f);
  int32_t AbortSingleChannelScan(int32_t a);
  int32_t StartEPGChannelScan(int32_t p1, int32_t p2, int32_t p3, int32_t p4);
  int32_t StartEPGSingleChannelScan(int32_t p1, int32_t p2, int32_t p3);
  int32_t AbortEPGChannelScan();

  // --- Channels (WrapperChannel.cpp) -------------------------------------------------
  // The first of windows 0 and 1 showing a tuner source, or -1.
  int32_t GetTunerWindow();
  // A new record of the tuned channel; (-2, -2) without a tuner window.
  Structures::VirtualChannel* GetCurrentChannel();
  // Null or the channel none (-2), what GetCurrentChannel gives without a
  // tuner window or after a failed read: nothing to hand to the set.
  static bool IsNoChannel(const Structures::VirtualChannel* channel);
  bool IsSameChannelWithCurrent(Structures::VirtualChannel* channel);
  Structures::ChannelData* GetCurrentChannelInfo();
  bool IsChannelExist(int32_t major, int32_t minor);
  bool IsDigitalChannel(int32_t major, int32_t minor);
  int32_t GetCurrentPhysicalChannel();
  // True when the ring has no channel (or cannot be read); with `notify` the
  // root gets a channel-acquired event with CHANNEL_MAP_IS_EMPTY.
  bool IsChannelRingEmpty(int32_t ring, bool notify);
  bool IsChannelInRing(int32_t ring, int32_t major, int32_t minor);
  Structures::VirtualChannel* GetNextChannelWithProp(int32_t ring, int32_t major, int32_t minor, bool a, bool b);
  Structures::VirtualChannel* GetPrevChannelWithProp(int32_t ring, int32_t major, int32_t minor, bool a, bool b);
  // "7-2" with separator "-" gives (7, 2); "7-" and "7" give (7, 0).
  Structures::VirtualChannel* GetVirtualChannelByString(const kv::String& text, const kv::String& separator);
  int32_t GetCurrentSource(int32_t window);
  int32_t GetSourceType(int32_t source);
  int32_t GetNumSources();
  int32_t GetSourceId(int32_t index);
  int32_t GetSourceIndex(int32_t source);
  // The id of the nth source (from 1) of the type at or after index `start`
  // (DVI counts as HDMI), or -1.
  int32_t GetSourceByType(int32_t start, int32_t type, int32_t nth);
  int32_t IsSourceSelectable(int32_t a, int32_t b);
  bool IsTunerSource();
  int32_t SetChannel(int32_t major, int32_t minor, bool mayUseTuner, bool record);
  void OnSetCurrentChannel(int32_t number);
  int32_t OnGetCurrentChannel();
  void ChannelChange(bool up, bool retune, bool record);
  int32_t TuneToFirstChannel();
  int32_t RetuneChannel();
  // 1 when a virtual channel of the physical channel was tuned.
  int32_t SetPhysicalChannel(int32_t physical, int32_t index);
  void RecordLastChannel(int32_t major, int32_t minor);
  int32_t EnableRecordLastChannel();
  int32_t AddChannelToRing(int32_t ring, Structures::VirtualChannel* channel);
  int32_t RemoveChannelFromRing(int32_t ring, Structures::VirtualChannel* channel);
  void AddPhysicalChannelsToRing(int32_t ring, int32_t physical);
  void RemovePhysicalChannelsFromRing(int32_t ring, int32_t physical);
  int32_t SetChannelName(Structures::VirtualChannel* channel, const kv::String& name);
  int32_t GetRealVirtualChannel(int32_t major, int32_t minor);
  int32_t GetPATVirtualChannel(int32_t major, int32_t minor);
  // Returns to PreviousSource: 1 when there was one, else 0.
  int32_t SetLastSource();
  // Changes PreviousSource (-1: none). The skin's Wrapper also keeps it in
  // the settings, so that a set switched off on the media input comes back
  // to the source the viewer left for it.
  virtual void KeepPreviousSource(int32_t source) { PreviousSource = source; }
  // Puts the first RF source on window 0: the source shown before, or -1
  // when it already was there.
  int32_t SetMainWindowToTuner();

  // --- Application timers, timer records and clock (WrapperTimers.cpp) -------------
  // Starts (minutes >= 1) or stops a slot counting down the referenced property.
  int32_t SetApplicationTimer(int32_t slot, int32_t minutes, const kv::RefInt32& ref);
  // The minutes the slot was last started with (not the time left).
  int32_t GetApplicationTimer(int32_t slot);
  // The minute tick of every counting slot.
  void ApplicationTimerOut(kv::Object* sender = nullptr);
  // Sets the tick to the earliest minute end of the counting slots, or
  // stops it when no slot counts.
  void ScheduleApplicationTimer();
  int32_t SetSleepTimer(int32_t minutes);
  int32_t GetSleepTimer() { return GetApplicationTimer(APP_TIMER_SLEEP); }
  int32_t OnGetRemainSleepTime() { return RemainSleepTime; }
  int32_t OnGetRemainScreenSaverTime() { return RemainScreenSaverTime; }
  void OnSetRemainScreenSaverTime(int32_t minutes);
  bool IsTimerValid(int32_t id);
  int32_t GetFirstAvailableTimerId();
  void OnSetActiveTimerId(int32_t id);
  int32_t OnGetActiveTimerId() { return ActiveTimerId; }
  void OnSetEnableTimer(int32_t flag);
  int32_t OnGetEnableTimer();
  void OnSetTimerSource(int32_t v);
  // Channel numbers as major * 65536 + minor.
  void OnSetTimerChannel(int32_t number);
  void OnSetTimerDuration(int32_t v);
  int32_t OnGetTimerDuration();
  void OnSetTimerDaysOfWeek(int32_t v);
  int32_t OnGetTimerDaysOfWeek();
  void OnSetTimerStartTime(Structures::LocalTime* time);
  Structures::LocalTime* OnGetTimerStartTime();
  void OnSetTimerTimesType(int32_t v);
  int32_t OnGetTimerTimesType();
  void OnSetTimerSourceType(int32_t v);
  int32_t OnGetTimerSourceType();
  void OnSetTimerMapId(int32_t v);
  void OnSetTimerStartEarly(int32_t v);
  int32_t OnGetTimerStartEarly();
  void OnSetTimerEndDelay(int32_t v);
  int32_t OnGetTimerEndDelay();
  void OnSetTimerHour(int32_t v) { TimerHour = v; }
  int32_t OnGetTimerHour() { return TimerHour; }
  void OnSetTimerMin(int32_t v) { TimerMin = v; }
  int32_t OnGetTimerMin() { return TimerMin; }
  // A new record of the set's local time; all zeros when it cannot be read.
  Structures::LocalTime* GetCurrentTime();
  int32_t SetCurrentTime(Structures::LocalTime* time);
  static int32_t ConvertAMPMTo24Hour(int32_t hour, bool isAM);
  static Structures::AMPMHour* Convert24HourToAMPM(int32_t hour);
  // "hh:mm AM" in the GUI language.
  static kv::String GetTimeAMPM(int32_t hour, int32_t minute);

  // --- Resets (WrapperReset.cpp) -------------------------------------------------------
  void ResetSetup();
  void ResetChannel();
  void ResetSource();
  int32_t ResetLock();
  void ResetAudio();
  int32_t ResetClosedCaption();
  int32_t ResetAdvanceCaptionProperty();
  int32_t ResetVideo();

  // --- Utilities (no state) -------------------------------------------------------------
  static int32_t Bool2Int(bool flag) { return flag ? 1 : 0; }
  static int32_t Int2Bool(int32_t value) { return value != 0 ? 1 : 0; }
  static int32_t IsBitSet(int32_t mask, int32_t bit);
  static int32_t SetBit(int32_t mask, int32_t bit, bool on);
  static int32_t IsWeekDayActive(int32_t mask, int32_t dayBits) { return (mask & dayBits) != 0 ? 1 : 0; }
  static int32_t GetDaysOfWeek(bool d0, bool d1, bool d2, bool d3, bool d4, bool d5, bool d6);
  static int32_t UniteChannelNum(int32_t major, int32_t minor);
  static int32_t SplitChannelNum(int32_t number, bool wantMajor);
  static kv::String ReplaceString(const kv::String& text, const kv::String& oldPart, const kv::String& newPart);
  // Item `index` of a text divided by one separator character; empty when missing.
  static kv::String ParseStringItem(const kv::String& text, int32_t index, char16_t separator);
  static int32_t String2Int(const kv::String& text);
  static kv::Point GetCenterPosition(int32_t width, int32_t height, int32_t innerWidth, int32_t innerHeight);

  // --- Fields ---------------------------------------------------------------------------
  bool IsFrozen = false;
  bool UseTimerCache = true;
  bool RecordLastChannelEnabled = true;
  bool LastChannelToggling = false;
  bool OSDLock = false;
  kv::Member<Core::Group> Root;
  int32_t Window = 0;
  int32_t AnimationCount = 0;
  int32_t StandingAnimationCount = 0;  // of AnimationCount
  kv::Member<Structures::VirtualChannel> ToggleChannel;
  kv::Member<Structures::VirtualChannel> PreLastChannel;
  kv::Member<Structures::VirtualChannel> LastChannel;
  Core::Timer RecordLastChannelTimer;
  int32_t CCRenderStateBackup = 0;
  // Cache fields.
  int32_t Backlight = 0;
  int32_t Contrast = 0;
  int32_t Brightness = 0;
  int32_t Color = 0;
  int32_t Tint = 0;
  int32_t Sharpness = 0;
  int32_t Balance = 0;
  int32_t Bass = 0;
  int32_t Treble = 0;
  int32_t Volume = 0;
  int32_t ColorTemperature = 0;
  int32_t Red_Offset = 0;
  int32_t Green_Offset = 0;
  int32_t Blue_Offset = 0;
  int32_t Red_Gain = 0;
  int32_t Green_Gain = 0;
  int32_t Blue_Gain = 0;
  int32_t VideoPreset = 0;
  int32_t ColorManager = 0;
  int32_t DigitalNR = 0;
  int32_t AnalogNR = 0;
  int32_t SuperResolution = 0;
  int32_t CinemaMode = 0;
  int32_t MTS = 0;
  int32_t EnableTimer = 0;
  int32_t ParentalLocks = 0;
  int32_t PanelLock = 0;
  int32_t AntCableIn = 0;
  int32_t ClosedCaptionState = 0;
  int32_t BasicCCMode = 0;
  int32_t TimeZone = 0;
  int32_t DaylightSavingTime = 0;
  int32_t Mute = 0;
  int32_t AudysseyEQ = 0;
  int32_t DynamicVolume = 0;
  int32_t ViewMode = 0;
  int32_t PreferViewMode = 0;
  int32_t EqualizerPreset = 0;
  int32_t DynamicContrast = 0;
  int32_t VerticalPosition = 0;
  int32_t HorizontalPosition = 0;
  int32_t VGAPhase = 0;
  int32_t HorizontalSize = 0;
  int32_t VerticalSize = 0;
  int32_t CC708_FontSize = 0;
  int32_t CC708_FontStyle = 0;
  int32_t CC708_EdgeColor = 0;
  int32_t CC708_EdgeType = 0;
  int32_t CC708_FontColor = 0;
  int32_t CC708_FontOpacity = 0;
  int32_t CC708_BgColor = 0;
  int32_t CC708_BgOpacity = 0;
  int32_t CC708_WinColor = 0;
  int32_t CC708_WinOpacity = 0;
  int32_t CC708_WinJustification = 0;
  int32_t TimerSource = 0;
  int32_t TimerChannel = 0;
  int32_t TimerDuration = 0;
  int32_t TimerHour = 0;
  int32_t TimerMin = 0;
  int32_t TimerDaysOfWeek = 0;
  kv::Member<Structures::TimerData> ActiveTimer;
  int32_t SpdifFormat = 0;
  int32_t PreviousSource = -1;
  int32_t CurrentChannel = 0;
  Core::Timer ApplicationTimer;
  int32_t ApplicationTimerCounts[APP_TIMER_SLOTS] = {};
  kv::RefInt32 ApplicationTimerRefs[APP_TIMER_SLOTS];
  int32_t RemainSleepTime = 0;
  int32_t GameMode = 0;
  int32_t VDECSensitivity = 0;
  int32_t MutePreference = 0;
  int32_t AutoVolumeLevel = 0;
  int32_t SRSTruVolume = 0;
  int32_t SRSTruSurround = 0;
  int32_t SSTruVolume = 0;
  int32_t SSTruSurround = 0;
  int32_t DigitalPreference = 0;
  int32_t LipSync = 0;
  int32_t AdvancedCCMode = 0;
  int32_t CCPreference = 0;
  int32_t BlockUnratedContent = 0;
  kv::Member<Structures::LocalTime> TimerStartTime;
  int32_t TimerTimesType = 0;
  int32_t RemainScreenSaverTime = 0;
  int32_t TimerSourceType = 0;
  int32_t ActiveTimerId = 0;
  int32_t TimerMapId = 0;
  int32_t TimerStartEarly = 0;
  int32_t TimerEndDelay = 0;
  // When each counting slot's current minute ends (clock ms): every slot
  // counts its minutes from its own start, and the one tick is due at the
  // earliest of them, so that starting a slot puts off no other slot.
  int64_t ApplicationTimerDue[APP_TIMER_SLOTS] = {};

 private:
  // The frame of the guarded setters (WrapperInternal.h): the lock value at
  // once while OSDLock is set; otherwise one trace line of the label with
  // the value (an integer, a boolean, or an index and an integer), then
  // `set()`, whose status is returned.
  template <class Set>
  int32_t GuardedSet(kv::TextId label, int32_t value, Set set);
  template <class Set>
  int32_t GuardedSetFlag(kv::TextId label, bool on, Set set);
  template <class Set>
  int32_t GuardedSetAt(kv::TextId label, int32_t index, int32_t value, Set set);
  void EnableRecordLastChannelSlot(kv::Object* sender);
  // The timer record the timer properties address: ActiveTimer while the
  // cache is in use and holds one, else a fresh read of ActiveTimerId.
  Structures::TimerData* TimerRecordForRead();
  // Writes a timer-record field: into the cached record, or read-modify-save
  // through the middleware. `write` changes the record.
  template <class F>
  void WriteTimerRecord(F write);
  // Dispatches a channel-acquired event to Root (nothing while Root is null).
  void SendChannelAcquired(int32_t major, int32_t minor, int32_t window, int32_t status);
};

}  // namespace Wrapper

// The auto object through which the screens reach the television's settings
// and state (kv::GetAutoObject<Wrapper::Wrapper>(MainApp::Wrapper)).
KV_DECLARE_AUTO_OBJECT(MainApp, Wrapper);
