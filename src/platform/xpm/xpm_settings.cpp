// The middleware's picture, sound, caption, rating, time and system calls
// (xpm_settings.h), served by the simulated television's state
// (sim_tv_state.h). Channels, sources, scans and timers: xpm_channels.cpp.
#include "platform/xpm/xpm_settings.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/sim/sim_tv_call.h"
#include "runtime/trace.h"

using sim::Setting;

namespace {

// Every bad argument is logged with the call's name.
int32_t Refuse(const char* call, const std::string& what) {
  kv::Log(std::string(call) + ": " + what + ", refused");
  return XPM_ERR_INVALID_PARAM;
}

bool IsFlag(int32_t v) { return v == 0 || v == 1; }

// The video plane's coordinates: the screen's.
constexpr int32_t kVideoWidth = sim::kPlaneWidth;
constexpr int32_t kVideoHeight = sim::kPlaneHeight;

bool IsVideoRect(int32_t x, int32_t y, int32_t width, int32_t height) {
  return x >= 0 && y >= 0 && width >= 0 && height >= 0 && x <= kVideoWidth - width && y <= kVideoHeight - height;
}

constexpr const char* kFirmwareVersion = "TVSIM 3.2.1.0";

}  // namespace

// A setting kept once: XPM_Set<Name>(value), XPM_Get<Name>(&value).
#define TV_ONE(Name, setting)                         \
  int32_t XPM_Set##Name(int32_t value) {              \
    SIM_TV_ENTER("XPM_Set" #Name, sim::Args(value));  \
    return state.Set(setting, 0, value, kCall);       \
  }                                                   \
  int32_t XPM_Get##Name(int32_t* value) {             \
    SIM_TV_ENTER("XPM_Get" #Name, "");                \
    SIM_TV_NEED(value);                               \
    return state.Get(setting, 0, value, kCall);       \
  }

// A setting per window (or per colour, or per index): the first argument says which.
#define TV_BY(Name, setting)                                 \
  int32_t XPM_Set##Name(int32_t which, int32_t value) {      \
    SIM_TV_ENTER("XPM_Set" #Name, sim::Args(which, value));  \
    return state.Set(setting, which, value, kCall);          \
  }                                                          \
  int32_t XPM_Get##Name(int32_t which, int32_t* value) {     \
    SIM_TV_ENTER("XPM_Get" #Name, sim::Args(which));         \
    SIM_TV_NEED(value);                                      \
    return state.Get(setting, which, value, kCall);          \
  }

// --- Picture -----------------------------------------------------------------

TV_ONE(Backlight, Setting::kBacklight)
TV_BY(Contrast, Setting::kContrast)
TV_BY(Brightness, Setting::kBrightness)
TV_BY(Saturation, Setting::kSaturation)
TV_BY(Hue, Setting::kHue)
TV_BY(Sharpness, Setting::kSharpness)
TV_ONE(ColorTemperature, Setting::kColorTemperature)
TV_BY(ColorTemperatureOffset, Setting::kColorTempOffset)
TV_BY(ColorTemperatureGain, Setting::kColorTempGain)
TV_BY(VideoPreset, Setting::kVideoPreset)
TV_BY(ViewMode, Setting::kViewMode)
TV_BY(PreferredViewMode, Setting::kPreferredViewMode)
TV_ONE(CM3D, Setting::kColorManager)
TV_BY(SuperResolutionStatus, Setting::kSuperResolution)
TV_ONE(CinemaMode, Setting::kCinemaMode)
TV_ONE(DynamicContrast, Setting::kDynamicContrast)
TV_ONE(GameMode, Setting::kGameMode)
TV_BY(VDECMotionSensitivity, Setting::kVdecSensitivity)
TV_ONE(HorizontalPosition, Setting::kHorizontalPosition)
TV_ONE(VerticalPostition, Setting::kVerticalPosition)
TV_ONE(HLineAdjust, Setting::kHLineAdjust)
TV_ONE(VLineAdjust, Setting::kVLineAdjust)
TV_ONE(PhaseAdjust, Setting::kPhase)

int32_t XPM_ResetVideoPreset(int32_t window, int32_t preset) {
  SIM_TV_ENTER("XPM_ResetVideoPreset", sim::Args(window, preset));
  return state.ResetVideoPreset(window, preset, kCall);
}

int32_t XPM_SetNoiseReduction(int32_t value, int32_t digital) {
  SIM_TV_ENTER("XPM_SetNoiseReduction", sim::Args(value, digital));
  if (!IsFlag(digital)) return Refuse(kCall, "digital flag " + std::to_string(digital));
  return state.Set(digital ? Setting::kDigitalNR : Setting::kAnalogNR, 0, value, kCall);
}

int32_t XPM_GetNoiseReduction(int32_t* value, int32_t digital) {
  SIM_TV_ENTER("XPM_GetNoiseReduction", sim::Args(digital));
  SIM_TV_NEED(value);
  if (!IsFlag(digital)) return Refuse(kCall, "digital flag " + std::to_string(digital));
  return state.Get(digital ? Setting::kDigitalNR : Setting::kAnalogNR, 0, value, kCall);
}

int32_t XPM_SetVideoFreezeState(int32_t frozen) {
  SIM_TV_ENTER("XPM_SetVideoFreezeState", sim::Args(frozen));
  if (!IsFlag(frozen)) return Refuse(kCall, "freeze flag " + std::to_string(frozen));
  state.SetFrozen(frozen != 0);
  return XPM_OK;
}

int32_t XPM_GetVideoFreezeState(int32_t* frozen) {
  SIM_TV_ENTER("XPM_GetVideoFreezeState", "");
  SIM_TV_NEED(frozen);
  *frozen = state.Frozen() ? 1 : 0;
  return XPM_OK;
}

int32_t XPM_GetVideoContentInfo(int32_t window, XPM_VideoContentInfo* info) {
  SIM_TV_ENTER("XPM_GetVideoContentInfo", sim::Args(window));
  SIM_TV_NEED(info);
  sim::VideoContent v;
  const int32_t status = state.GetVideoContent(window, &v, kCall);
  if (status != XPM_OK) return status;
  info->width = v.width;
  info->height = v.height;
  info->scanType = v.scanType;
  info->frameRate = v.frameRate;
  info->aspect = v.aspect;
  info->colorFormat = v.colorFormat;
  info->contentType = v.contentType;
  info->colorDepth = v.colorDepth;
  info->pcTiming = v.pcTiming;
  return XPM_OK;
}

int32_t XPM_SetDisplayWindow(int32_t window, int32_t x, int32_t y, int32_t width, int32_t height) {
  SIM_TV_ENTER("XPM_SetDisplayWindow", sim::Args(window, x, y, width, height));
  if (window != 0 && window != 1) return Refuse(kCall, "window " + std::to_string(window));
  if (!IsVideoRect(x, y, width, height))
    return Refuse(kCall, "rectangle outside the " + std::to_string(kVideoWidth) + " x " +
                             std::to_string(kVideoHeight) + " video plane");
  state.SetDisplayWindow(window, {x, y, width, height});
  return XPM_OK;
}

int32_t XPM_GetDisplayWindow(int32_t window, int32_t* x, int32_t* y, int32_t* width, int32_t* height) {
  SIM_TV_ENTER("XPM_GetDisplayWindow", sim::Args(window));
  SIM_TV_NEED(x);
  SIM_TV_NEED(y);
  SIM_TV_NEED(width);
  SIM_TV_NEED(height);
  if (window != 0 && window != 1) return Refuse(kCall, "window " + std::to_string(window));
  const std::array<int32_t, 4> r = state.DisplayWindow(window);
  *x = r[0], *y = r[1], *width = r[2], *height = r[3];
  return XPM_OK;
}

int32_t XPM_SetVideoWindow(int32_t x, int32_t y, int32_t width, int32_t height) {
  SIM_TV_ENTER("XPM_SetVideoWindow", sim::Args(x, y, width, height));
  if (!IsVideoRect(x, y, width, height))
    return Refuse(kCall, "rectangle outside the " + std::to_string(kVideoWidth) + " x " +
                             std::to_string(kVideoHeight) + " video plane");
  (void)state;
  return XPM_OK;
}

int32_t XPM_AutoSync(void) {
  SIM_TV_ENTER("XPM_AutoSync", "");
  return state.AutoSync(kCall);
}

// --- Sound -------------------------------------------------------------------

TV_ONE(Volume, Setting::kVolume)

int32_t XPM_SetMute(int32_t path, int32_t muted) {
  SIM_TV_ENTER("XPM_SetMute", sim::Args(path, muted));
  if (path != XPM_AUDIO_PATH_MAIN) return Refuse(kCall, "audio path " + std::to_string(path));
  return state.Set(Setting::kMute, 0, muted, kCall);
}

int32_t XPM_GetMute(int32_t* muted) {
  SIM_TV_ENTER("XPM_GetMute", "");
  SIM_TV_NEED(muted);
  return state.Get(Setting::kMute, 0, muted, kCall);
}

TV_ONE(Balance, Setting::kBalance)
TV_ONE(Bass, Setting::kBass)
TV_ONE(Treble, Setting::kTreble)
TV_ONE(EqualizerPreset, Setting::kEqualizerPreset)
TV_ONE(PreferredAudioDecodeMode, Setting::kPreferredAudioDecodeMode)
TV_BY(AudioDecodeMode, Setting::kAudioDecodeMode)
TV_ONE(VolumeLevelling, Setting::kVolumeLevelling)
TV_ONE(MuteExtOutput, Setting::kMuteExtOutput)
TV_ONE(AudDynamicVolume, Setting::kDynamicVolume)
TV_ONE(AEQ, Setting::kAeq)
TV_ONE(TruSurround, Setting::kTruSurround)
TV_ONE(TruVolume, Setting::kTruVolume)
TV_ONE(StudioSoundTruSurround, Setting::kStudioSoundTruSurround)
TV_ONE(StudioSoundTruVolume, Setting::kStudioSoundTruVolume)
TV_ONE(AdditionalAudioDelay, Setting::kAudioDelay)
TV_ONE(SpdifFormat, Setting::kSpdifFormat)
TV_ONE(Speaker, Setting::kSpeaker)

int32_t XPM_SetPreferredAudioLanguage(const char* code) {
  SIM_TV_ENTER("XPM_SetPreferredAudioLanguage", sim::Args(code));
  return state.SetAudioLanguage(code, kCall);
}

int32_t XPM_GetPreferredAudioLanguage(char* code) {
  SIM_TV_ENTER("XPM_GetPreferredAudioLanguage", "");
  SIM_TV_NEED(code);
  const std::string language = state.AudioLanguage();
  std::memcpy(code, language.c_str(), language.size() + 1);  // three letters and the terminator
  return XPM_OK;
}

int32_t XPM_GetCurrentAudioService(int32_t window, int32_t* index) {
  SIM_TV_ENTER("XPM_GetCurrentAudioService", sim::Args(window));
  SIM_TV_NEED(index);
  return state.CurrentAudioService(window, index, kCall);
}

int32_t XPM_SetAudioService(int32_t window, int32_t index) {
  SIM_TV_ENTER("XPM_SetAudioService", sim::Args(window, index));
  return state.SetAudioService(window, index, kCall);
}

int32_t XPM_GetAudioServiceInfo(int32_t window, int32_t index, XPM_AudioServiceInfo* info) {
  SIM_TV_ENTER("XPM_GetAudioServiceInfo", sim::Args(window, index));
  SIM_TV_NEED(info);
  std::string language;
  const int32_t status = state.AudioServiceLanguage(window, index, &language, kCall);
  if (status != XPM_OK) return status;
  std::memset(info->language, 0, sizeof info->language);
  std::memcpy(info->language, language.c_str(), std::min(language.size(), sizeof info->language - 1));
  info->type = index == 0 ? 0 : 1;  // 0 the main programme, 1 an alternative one
  return XPM_OK;
}

int32_t XPM_GetNumAudioServices(int32_t window, int32_t* count) {
  SIM_TV_ENTER("XPM_GetNumAudioServices", sim::Args(window));
  SIM_TV_NEED(count);
  return state.NumAudioServices(window, count, kCall);
}

int32_t XPM_GetAudioReceptionInfo(int32_t window, int32_t* stereo, int32_t* sap) {
  SIM_TV_ENTER("XPM_GetAudioReceptionInfo", sim::Args(window));
  SIM_TV_NEED(stereo);
  SIM_TV_NEED(sap);
  return state.AudioReception(window, stereo, sap, kCall);
}

// --- Captions ----------------------------------------------------------------

TV_BY(CaptionRenderState, Setting::kCaptionRenderState)
TV_ONE(CaptionDecodeMode, Setting::kCaptionDecodeMode)
TV_ONE(PreferredBasicCaptionService, Setting::kBasicCaptionService)
TV_ONE(PreferredAdvancedCaptionService, Setting::kAdvancedCaptionService)
TV_BY(AdvancedCaptionProperty, Setting::kAdvancedCaptionProperty)
TV_BY(BasicCaptionProperty, Setting::kBasicCaptionProperty)

int32_t XPM_ShowAdvancedSampleCaptionText(int32_t show, const char* text, int32_t length, int32_t a, int32_t b) {
  SIM_TV_ENTER("XPM_ShowAdvancedSampleCaptionText", sim::Args(show, text, length, a, b));
  return state.ShowSampleCaption(show, text, length, kCall);
}

int32_t XPM_GetCaptionServiceInfo(int32_t window, XPM_CaptionServiceRequest request, XPM_CaptionServiceInfo* info) {
  SIM_TV_ENTER("XPM_GetCaptionServiceInfo", sim::Args(window, request.advanced, request.service));
  SIM_TV_NEED(info);
  sim::CaptionService service;
  const int32_t status = state.GetCaptionService(window, request.advanced, request.service, &service, kCall);
  if (status != XPM_OK) return status;
  info->advanced = request.advanced;
  info->service = request.service;
  std::memset(info->language, 0, sizeof info->language);
  std::memcpy(info->language, service.language.c_str(), std::min(service.language.size(), sizeof info->language - 1));
  info->easyReader = service.easyReader;
  info->wideAspect = service.wideAspect;
  return XPM_OK;
}

// --- Ratings and locks ---------------------------------------------------------

int32_t XPM_SetParentalLocksState(int32_t value) {
  SIM_TV_ENTER("XPM_SetParentalLocksState", sim::Args(value));
  return state.SetParentalLocksState(value, kCall);
}
int32_t XPM_GetParentalLocksState(int32_t* value) {
  SIM_TV_ENTER("XPM_GetParentalLocksState", "");
  SIM_TV_NEED(value);
  return state.Get(Setting::kParentalLocksState, 0, value, kCall);
}
TV_ONE(UnratedContent, Setting::kUnratedContent)
TV_ONE(FrontPanelLockState, Setting::kFrontPanelLock)
TV_ONE(ParentalLocksMask, Setting::kParentalLocksMask)

// The last argument of the US rating setters: 1 makes opening a whole
// rating open the milder levels of its table too (with their descriptors).
int32_t XPM_SetUsChildRating(int32_t rating, int32_t content, int32_t blocked, int32_t d) {
  SIM_TV_ENTER("XPM_SetUsChildRating", sim::Args(rating, content, blocked, d));
  return state.SetRatingBlock(Setting::kUsChildRating, rating, content, blocked, kCall, d == 1);
}

int32_t XPM_GetUsChildRating(int32_t rating, int32_t content, int32_t* blocked) {
  SIM_TV_ENTER("XPM_GetUsChildRating", sim::Args(rating, content));
  SIM_TV_NEED(blocked);
  return state.GetRatingBlock(Setting::kUsChildRating, rating, content, blocked, kCall);
}

int32_t XPM_SetUsAgeRating(int32_t rating, int32_t content, int32_t blocked, int32_t d) {
  SIM_TV_ENTER("XPM_SetUsAgeRating", sim::Args(rating, content, blocked, d));
  return state.SetRatingBlock(Setting::kUsAgeRating, rating, content, blocked, kCall, d == 1);
}

int32_t XPM_GetUsAgeRating(int32_t rating, int32_t content, int32_t* blocked) {
  SIM_TV_ENTER("XPM_GetUsAgeRating", sim::Args(rating, content));
  SIM_TV_NEED(blocked);
  return state.GetRatingBlock(Setting::kUsAgeRating, rating, content, blocked, kCall);
}

int32_t XPM_SetUsMovieRating(int32_t rating, int32_t blocked, int32_t c) {
  SIM_TV_ENTER("XPM_SetUsMovieRating", sim::Args(rating, blocked, c));
  return state.SetRatingBlock(Setting::kUsMovieRating, rating, 0, blocked, kCall, c == 1);
}

int32_t XPM_GetUsMovieRating(int32_t rating, int32_t* blocked) {
  SIM_TV_ENTER("XPM_GetUsMovieRating", sim::Args(rating));
  SIM_TV_NEED(blocked);
  return state.GetRatingBlock(Setting::kUsMovieRating, rating, 0, blocked, kCall);
}

int32_t XPM_SetCanadaLevel(int32_t system, int32_t level, int32_t blocked, int32_t d) {
  SIM_TV_ENTER("XPM_SetCanadaLevel", sim::Args(system, level, blocked, d));
  return state.SetRatingBlock(Setting::kCanadaLevel, system, level, blocked, kCall);
}

int32_t XPM_GetCanadaLevel(int32_t system, int32_t level, int32_t* blocked) {
  SIM_TV_ENTER("XPM_GetCanadaLevel", sim::Args(system, level));
  SIM_TV_NEED(blocked);
  return state.GetRatingBlock(Setting::kCanadaLevel, system, level, blocked, kCall);
}

int32_t XPM_SetPreferredRatingLanguage(const char* code) {
  SIM_TV_ENTER("XPM_SetPreferredRatingLanguage", sim::Args(code));
  return state.AddRatingLanguage(code, kCall);
}

// --- Time ----------------------------------------------------------------------

int32_t XPM_SetTimeZone(int32_t zone, int32_t dst) {
  SIM_TV_ENTER("XPM_SetTimeZone", sim::Args(zone, dst));
  return state.SetTimeZone(zone, dst, kCall);
}

int32_t XPM_GetTimeZone(int32_t* zone, int32_t* dst) {
  SIM_TV_ENTER("XPM_GetTimeZone", "");
  SIM_TV_NEED(zone);
  SIM_TV_NEED(dst);
  *zone = state.Value(Setting::kTimeZone);
  *dst = state.Value(Setting::kDaylightSaving);
  return XPM_OK;
}

TV_ONE(AutoTimeUpdate, Setting::kAutoTimeUpdate)

int32_t XPM_GetGMTOffset(int32_t zone, int32_t dst, float* offset) {
  SIM_TV_ENTER("XPM_GetGMTOffset", sim::Args(zone, dst));
  SIM_TV_NEED(offset);
  return state.GmtOffset(zone, dst, offset, kCall);
}

int32_t XPM_GetLocalTime(XPM_LocalTime* time) {
  SIM_TV_ENTER("XPM_GetLocalTime", "");
  SIM_TV_NEED(time);
  const sim::BrokenDownTime t = state.LocalTime();
  *time = {t.second, t.minute, t.hour, t.day, t.month, t.year, t.weekday, t.yearDay, t.dst};
  return XPM_OK;
}

int32_t XPM_SetLocalTime(const XPM_LocalTime* time) {
  SIM_TV_ENTER("XPM_SetLocalTime", time ? sim::Args(time->year, time->month, time->day, time->hour, time->minute,
                                                    time->second)
                                        : std::string("null"));
  SIM_TV_NEED(time);
  sim::BrokenDownTime t;
  t.second = time->second;
  t.minute = time->minute;
  t.hour = time->hour;
  t.day = time->day;
  t.month = time->month;
  t.year = time->year;
  return state.SetLocalTime(t, kCall);  // weekday, day of the year and daylight saving follow from it
}

// --- System ----------------------------------------------------------------------

int32_t XPM_SetMedium(int32_t medium) {
  SIM_TV_ENTER("XPM_SetMedium", sim::Args(medium));
  return state.SetMedium(medium, kCall);
}

int32_t XPM_GetMedium(int32_t* medium) {
  SIM_TV_ENTER("XPM_GetMedium", "");
  SIM_TV_NEED(medium);
  return state.Get(Setting::kMedium, 0, medium, kCall);
}

int32_t XPM_StandbyMode(int32_t mode, int32_t reason) {
  SIM_TV_ENTER("XPM_StandbyMode", sim::Args(mode, reason));
  return state.Standby(mode, reason, kCall);
}

int32_t XPM_SetDualWindow(int32_t mode) {
  SIM_TV_ENTER("XPM_SetDualWindow", sim::Args(mode));
  return state.Set(Setting::kDualWindow, 0, mode, kCall);
}

int32_t XPM_GetDualWindowMode(int32_t* mode) {
  SIM_TV_ENTER("XPM_GetDualWindowMode", "");
  SIM_TV_NEED(mode);
  return state.Get(Setting::kDualWindow, 0, mode, kCall);
}

TV_ONE(SecondaryWindowAudio, Setting::kSecondaryWindowAudio)
TV_ONE(PipPosition, Setting::kPipPosition)

int32_t XPM_SwapSources(void) {
  SIM_TV_ENTER("XPM_SwapSources", "");
  return state.SwapSources(kCall);
}

int32_t XPM_GetFirmwareVersion(char* buffer, int32_t size) {
  SIM_TV_ENTER("XPM_GetFirmwareVersion", sim::Args(size));
  SIM_TV_NEED(buffer);
  if (size < 1) return Refuse(kCall, "buffer of " + std::to_string(size) + " bytes");
  (void)state;
  const size_t n = std::min(std::strlen(kFirmwareVersion), static_cast<size_t>(size) - 1);
  std::memcpy(buffer, kFirmwareVersion, n);
  buffer[n] = '\0';
  return XPM_OK;
}

int32_t XPM_GetSignalQuality(int32_t window, int32_t* quality) {
  SIM_TV_ENTER("XPM_GetSignalQuality", sim::Args(window));
  SIM_TV_NEED(quality);
  return state.SignalQuality(window, quality, kCall);
}

int32_t XPM_Reset(int32_t mode) {
  SIM_TV_ENTER("XPM_Reset", sim::Args(mode));
  return state.FactoryReset(mode, kCall);
}

int32_t XPM_ResetAudioDefaults(void) {
  SIM_TV_ENTER("XPM_ResetAudioDefaults", "");
  state.ResetAudioDefaults();
  return XPM_OK;
}
