// Picture properties of the Wrapper.
#include <cstdio>
#include <cstring>

#include "platform/xpm/xpm_settings.h"
#include "runtime/string.h"
#include "strings/Wrapper.h"
#include "units/Structures/VideoContentInfo.h"
#include "units/Wrapper/Wrapper.h"
#include "units/Wrapper/WrapperInternal.h"

namespace Wrapper {

using detail::TraceInt;
using detail::TraceLabel;

namespace {

// Menu picture preset (1 to 7) to the middleware's preset number.
int32_t PresetToMiddleware(int32_t menuValue) {
  switch (menuValue) {
    case 1: return 4;
    case 2: return 0;
    case 3: return 1;
    case 4: return 6;
    case 5: return 5;
    case 6: return 2;
    case 7: return 7;
    default: return 8;
  }
}

int32_t PresetFromMiddleware(int32_t preset) {
  switch (preset) {
    case 0: return 2;
    case 1: return 3;
    case 2: return 6;
    case 4: return 1;
    case 5: return 5;
    case 6: return 4;
    case 7: return 7;
    default: return 0;
  }
}

// Menu view mode to the middleware's.
int32_t ViewModeToMiddleware(int32_t menuValue) {
  switch (menuValue) {
    case 0:
    case 6: return 0;
    case 2: return 2;
    case 3: return 3;
    case 4: return 4;
    case 5: return 6;
    case 7: return 5;
    default: return 1;
  }
}

// The middleware's view mode (its low byte) to the menu's.
int32_t ViewModeFromMiddleware(int32_t mode) {
  switch (mode & 0xff) {
    case 1: return 1;
    case 2: return 2;
    case 3: return 3;
    case 4: return 4;
    case 5: return 7;
    case 6: return 5;
    default: return 0;
  }
}

// Flags of the preferred view mode that pass unchanged (automatic, 4:3 stretch).
constexpr int32_t kViewModeFlags = 0xf00;

}  // namespace

// --- Guarded picture settings and their getters -------------------------------

WRAPPER_CACHED_SET(Backlight, SetBacklight)

int32_t Wrapper::SetBacklight(int32_t v) {
  if (int32_t lock = GetOSDLock()) return lock;
  int32_t status = XPM_CALL(XPM_SetBacklight, v);
  kv::Trace("%s", {kv::ConcatString(kv::LoadString(T_SET_BACKLIGHT), kv::NewStringInt(v, 0))});
  return status;
}

int32_t Wrapper::GetBacklight() { return WRAPPER_READ(0, XPM_GetBacklight); }

WRAPPER_GUARDED_SETTING(Contrast, SetContrast, GetContrast, T_SET_CONTRAST, 0, XPM_SetContrast, XPM_GetContrast, Window)
WRAPPER_GUARDED_SETTING(Brightness, SetBrightness, GetBrightness, T_SET_BRIGHTNESS, 33, XPM_SetBrightness,
                        XPM_GetBrightness, Window)
WRAPPER_GUARDED_SETTING(Color, SetSaturation, GetSaturation, T_SET_SATURATION, 33, XPM_SetSaturation, XPM_GetSaturation,
                        Window)
WRAPPER_GUARDED_SETTING(Tint, SetHue, GetHue, T_SET_HUE, 33, XPM_SetHue, XPM_GetHue, Window)
WRAPPER_GUARDED_SETTING(Sharpness, SetSharpness, GetSharpness, T_SET_SHARPNESS, 0, XPM_SetSharpness, XPM_GetSharpness,
                        Window)
WRAPPER_GUARDED_SETTING(ColorTemperature, SetColorTemperature, GetColorTemperature, T_SET_COLOR_TEMPERATURE, 0,
                        XPM_SetColorTemperature, XPM_GetColorTemperature)

// --- White balance -------------------------------------------------------------

WRAPPER_GUARDED_INDEXED(SetColorTempOffset, GetColorTempOffset, T_SET_COLOR_TEMP_OFFSET, 0,
                        XPM_SetColorTemperatureOffset, XPM_GetColorTemperatureOffset)
WRAPPER_GUARDED_INDEXED(SetColorTempGain, GetColorTempGain, T_SET_COLOR_TEMP_GAIN, 0, XPM_SetColorTemperatureGain,
                        XPM_GetColorTemperatureGain)

// The properties <Colour>_Offset and <Colour>_Gain of one colour channel.
#define WRAPPER_WHITE_BALANCE(Colour, channel)                                      \
  WRAPPER_CACHED_SET(Colour##_Offset, SetColorTempOffset, channel)                  \
  WRAPPER_CACHED_SET(Colour##_Gain, SetColorTempGain, channel)                      \
  int32_t Wrapper::OnGet##Colour##_Offset() { return GetColorTempOffset(channel); } \
  int32_t Wrapper::OnGet##Colour##_Gain() { return GetColorTempGain(channel); }

WRAPPER_WHITE_BALANCE(Red, 0)
WRAPPER_WHITE_BALANCE(Green, 1)
WRAPPER_WHITE_BALANCE(Blue, 2)

#undef WRAPPER_WHITE_BALANCE

// --- Presets and view modes ------------------------------------------------------

WRAPPER_CACHED_SET(VideoPreset, SetCustomVideoPreset)

int32_t Wrapper::SetCustomVideoPreset(int32_t menuValue) {
  if (int32_t lock = GetOSDLock()) return lock;
  int32_t status = XPM_CALL(XPM_SetVideoPreset, Window, PresetToMiddleware(menuValue));
  TraceInt(T_SET_CUSTOM_VIDEO_PRESET, menuValue);
  return status;
}

int32_t Wrapper::GetCustomVideoPreset() {
  // Reads back as no preset when the call fails.
  return PresetFromMiddleware(WRAPPER_READ(8, XPM_GetVideoPreset, Window));
}

int32_t Wrapper::SetVideoPreset(int32_t preset) {
  if (int32_t lock = GetOSDLock()) return lock;
  int32_t status = XPM_CALL(XPM_SetVideoPreset, Window, preset);
  TraceInt(T_SET_VIDEO_PRESET, preset);
  return status;
}

int32_t Wrapper::GetVideoPreset() { return WRAPPER_READ(0, XPM_GetVideoPreset, Window); }

WRAPPER_CACHED_SET(ViewMode, SetViewMode)

int32_t Wrapper::SetViewMode(int32_t menuValue) {
  if (int32_t lock = GetOSDLock()) return lock;
  return XPM_CALL(XPM_SetViewMode, Window, ViewModeToMiddleware(menuValue));
}

int32_t Wrapper::GetViewMode() { return ViewModeFromMiddleware(WRAPPER_READ(1, XPM_GetViewMode, Window)); }

WRAPPER_CACHED_SET(PreferViewMode, SetPreferViewMode)

int32_t Wrapper::SetPreferViewMode(int32_t menuValue) {
  if (int32_t lock = GetOSDLock()) return lock;
  int32_t mode = (menuValue & kViewModeFlags) | ViewModeToMiddleware(menuValue & 0xff);
  return XPM_CALL(XPM_SetPreferredViewMode, Window, mode);
}

int32_t Wrapper::GetPreferViewMode() {
  int32_t mode = WRAPPER_READ(1, XPM_GetPreferredViewMode, Window);
  return (mode & kViewModeFlags) | ViewModeFromMiddleware(mode);
}

int32_t Wrapper::OnGetPreferViewMode() { return GetPreferViewMode(); }

// --- Noise reduction (last argument 1 digital, 0 analogue) and the VGA phase ---------

WRAPPER_CACHED_SET(DigitalNR, SetNoiseReduction)

int32_t Wrapper::SetNoiseReduction(int32_t v) {
  return GuardedSet(T_SET_NOISE_REDUCTION, v, [&] { return XPM_CALL(XPM_SetNoiseReduction, v, 1); });
}

int32_t Wrapper::GetNoiseReduction() {
  return detail::GetWithDefault(0, [](int32_t* v) { return XPM_CALL(XPM_GetNoiseReduction, v, 1); });
}

void Wrapper::OnSetAnalogNR(int32_t v) {
  AnalogNR = v;
  XPM_CALL(XPM_SetNoiseReduction, v, 0);
}

int32_t Wrapper::OnGetAnalogNR() {
  return AnalogNR = detail::GetWithDefault(0, [](int32_t* v) { return XPM_CALL(XPM_GetNoiseReduction, v, 0); });
}

void Wrapper::OnSetVGAPhase(int32_t v) {
  VGAPhase = v;
  XPM_CALL(XPM_SetPhaseAdjust, v);
}

int32_t Wrapper::OnGetVGAPhase() { return VGAPhase = GetPhaseAdjust(); }

int32_t Wrapper::SetPhaseAdjust(int32_t v) {
  return GuardedSet(T_SET_PHASE_ADJUST, v, [&] { return XPM_CALL(XPM_SetPhaseAdjust, v); });
}

int32_t Wrapper::GetPhaseAdjust() { return WRAPPER_READ(0, XPM_GetPhaseAdjust); }

// --- Direct picture properties ------------------------------------------------------

void Wrapper::OnSetCinemaMode(int32_t v) {
  CinemaMode = v;
  TraceInt(T_SET_CINEMA_MODE, v);
  XPM_CALL(XPM_SetCinemaMode, v & 255);
}

int32_t Wrapper::OnGetCinemaMode() { return CinemaMode = WRAPPER_READ(0, XPM_GetCinemaMode); }

WRAPPER_DIRECT_SETTING(ColorManager, XPM_SetCM3D, XPM_GetCM3D)
WRAPPER_DIRECT_FLAG(SuperResolution, XPM_SetSuperResolutionStatus, XPM_GetSuperResolutionStatus, Window)
WRAPPER_DIRECT_SETTING(DynamicContrast, XPM_SetDynamicContrast, XPM_GetDynamicContrast)
WRAPPER_DIRECT_SETTING(GameMode, XPM_SetGameMode, XPM_GetGameMode)
WRAPPER_DIRECT_SETTING(VDECSensitivity, XPM_SetVDECMotionSensitivity, XPM_GetVDECMotionSensitivity, 0)
WRAPPER_DIRECT_SETTING(HorizontalPosition, XPM_SetHorizontalPosition, XPM_GetHorizontalPosition)
WRAPPER_DIRECT_SETTING(VerticalPosition, XPM_SetVerticalPostition, XPM_GetVerticalPostition)
WRAPPER_DIRECT_SETTING(HorizontalSize, XPM_SetHLineAdjust, XPM_GetHLineAdjust)
WRAPPER_DIRECT_SETTING(VerticalSize, XPM_SetVLineAdjust, XPM_GetVLineAdjust)

// --- Freeze -------------------------------------------------------------------------

void Wrapper::OnSetIsFrozen(int32_t flag) {
  bool frozen = flag != 0;
  int32_t status = XPM_SetVideoFreezeState(frozen ? 1 : 0);
  if (status == 0) {
    IsFrozen = frozen;
    return;
  }
  char line[64];
  std::snprintf(line, sizeof line, "XPM_SetVideoFreezeState error: %ld", static_cast<long>(status));
  kv::Log(line);
  kv::Trace("%s%b%s", {kv::LoadString(T_FREEZE_FAILED), frozen, kv::LoadString(T_FREEZE_KEPT)});
}

int32_t Wrapper::OnGetIsFrozen() {
  int32_t v = IsFrozen ? 1 : 0;
  if (XPM_CALL(XPM_GetVideoFreezeState, &v) == 0) {
    IsFrozen = v != 0;
  } else {
    TraceLabel(T_GET_FREEZE_FAILED);
  }
  return IsFrozen ? 1 : 0;
}

// --- Picture information and windows --------------------------------------------------

Structures::VideoContentInfo* Wrapper::GetVideoContentInfo(int32_t window) {
  auto* info = kv::New<Structures::VideoContentInfo>();
  XPM_VideoContentInfo answer;
  std::memset(&answer, 0, sizeof answer);
  if (XPM_CALL(XPM_GetVideoContentInfo, window, &answer) != 0) return info;
  info->Width = answer.width;
  info->Height = answer.height;
  info->ScanType = answer.scanType;
  info->AspectRatio = answer.aspect;
  info->ContentType = answer.contentType;
  info->FrameRate = answer.frameRate;
  info->ColorFormat = answer.colorFormat;
  info->ColorDepth = answer.colorDepth;
  info->PCTiming = answer.pcTiming != 0 ? 1 : 0;
  return info;
}

bool Wrapper::IsPCSignal() {
  XPM_VideoContentInfo answer;
  std::memset(&answer, 0, sizeof answer);
  return XPM_CALL(XPM_GetVideoContentInfo, Window, &answer) == 0 && answer.pcTiming != 0;
}

bool Wrapper::Is1080p() {
  XPM_VideoContentInfo answer;
  std::memset(&answer, 0, sizeof answer);
  return XPM_CALL(XPM_GetVideoContentInfo, Window, &answer) == 0 && answer.height == 1080 && answer.scanType == 2;
}

int32_t Wrapper::GetVideoAspectRatio() {
  XPM_VideoContentInfo answer;
  std::memset(&answer, 0, sizeof answer);
  if (XPM_CALL(XPM_GetVideoContentInfo, Window, &answer) != 0) return -1;
  return answer.aspect;
}

int32_t Wrapper::SetDisplayWindow(int32_t x, int32_t y, int32_t w, int32_t h) {
  return XPM_CALL(XPM_SetDisplayWindow, 0, x, y, w, h);
}

int32_t Wrapper::SetVideoWindow(int32_t x, int32_t y, int32_t w, int32_t h) {
  return XPM_CALL(XPM_SetVideoWindow, x, y, w, h);
}

int32_t Wrapper::AutoSync() {
  TraceLabel(T_AUTO_SYNC);
  return XPM_CALL(XPM_AutoSync);
}

}  // namespace Wrapper
