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

using detail::TraceBool;
using detail::TraceInt;
using detail::TraceIntInt;
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

// --- Guarded picture setters and their getters ---------------------------------

void Wrapper::OnSetBacklight(int32_t v) {
  Backlight = v;
  SetBacklight(v);
}

int32_t Wrapper::SetBacklight(int32_t v) {
  if (int32_t lock = GetOSDLock()) return lock;
  int32_t status = XPM_CALL(XPM_SetBacklight, v);
  kv::Trace("%s", {kv::ConcatString(kv::LoadString(T_SET_BACKLIGHT), kv::NewStringInt(v, 0))});
  return status;
}

int32_t Wrapper::GetBacklight() {
  int32_t v = 0;
  XPM_CALL(XPM_GetBacklight, &v);
  return v;
}

void Wrapper::OnSetContrast(int32_t v) {
  Contrast = v;
  SetContrast(v);
}

int32_t Wrapper::SetContrast(int32_t v) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceInt(T_SET_CONTRAST, v);
  return XPM_CALL(XPM_SetContrast, Window, v);
}

int32_t Wrapper::GetContrast() {
  int32_t v = 0;
  XPM_CALL(XPM_GetContrast, Window, &v);
  return v;
}

void Wrapper::OnSetBrightness(int32_t v) {
  Brightness = v;
  SetBrightness(v);
}

int32_t Wrapper::SetBrightness(int32_t v) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceInt(T_SET_BRIGHTNESS, v);
  return XPM_CALL(XPM_SetBrightness, Window, v);
}

int32_t Wrapper::GetBrightness() {
  int32_t v = 33;
  XPM_CALL(XPM_GetBrightness, Window, &v);
  return v;
}

void Wrapper::OnSetColor(int32_t v) {
  Color = v;
  SetSaturation(v);
}

int32_t Wrapper::SetSaturation(int32_t v) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceInt(T_SET_SATURATION, v);
  return XPM_CALL(XPM_SetSaturation, Window, v);
}

int32_t Wrapper::GetSaturation() {
  int32_t v = 33;
  XPM_CALL(XPM_GetSaturation, Window, &v);
  return v;
}

void Wrapper::OnSetTint(int32_t v) {
  Tint = v;
  SetHue(v);
}

int32_t Wrapper::SetHue(int32_t v) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceInt(T_SET_HUE, v);
  return XPM_CALL(XPM_SetHue, Window, v);
}

int32_t Wrapper::GetHue() {
  int32_t v = 33;
  XPM_CALL(XPM_GetHue, Window, &v);
  return v;
}

void Wrapper::OnSetSharpness(int32_t v) {
  Sharpness = v;
  SetSharpness(v);
}

int32_t Wrapper::SetSharpness(int32_t v) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceInt(T_SET_SHARPNESS, v);
  return XPM_CALL(XPM_SetSharpness, Window, v);
}

int32_t Wrapper::GetSharpness() {
  int32_t v = 0;
  XPM_CALL(XPM_GetSharpness, Window, &v);
  return v;
}

void Wrapper::OnSetColorTemperature(int32_t v) {
  ColorTemperature = v;
  SetColorTemperature(v);
}

int32_t Wrapper::SetColorTemperature(int32_t v) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceInt(T_SET_COLOR_TEMPERATURE, v);
  return XPM_CALL(XPM_SetColorTemperature, v);
}

int32_t Wrapper::GetColorTemperature() {
  int32_t v = 0;
  XPM_CALL(XPM_GetColorTemperature, &v);
  return v;
}

// --- White balance -------------------------------------------------------------

int32_t Wrapper::SetColorTempOffset(int32_t channel, int32_t v) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceIntInt(T_SET_COLOR_TEMP_OFFSET, channel, v);
  return XPM_CALL(XPM_SetColorTemperatureOffset, channel, v);
}

int32_t Wrapper::GetColorTempOffset(int32_t channel) {
  int32_t v = 0;
  XPM_CALL(XPM_GetColorTemperatureOffset, channel, &v);
  return v;
}

int32_t Wrapper::SetColorTempGain(int32_t channel, int32_t v) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceIntInt(T_SET_COLOR_TEMP_GAIN, channel, v);
  return XPM_CALL(XPM_SetColorTemperatureGain, channel, v);
}

int32_t Wrapper::GetColorTempGain(int32_t channel) {
  int32_t v = 0;
  XPM_CALL(XPM_GetColorTemperatureGain, channel, &v);
  return v;
}

void Wrapper::OnSetRed_Offset(int32_t v) {
  Red_Offset = v;
  SetColorTempOffset(0, v);
}
int32_t Wrapper::OnGetRed_Offset() { return GetColorTempOffset(0); }
void Wrapper::OnSetGreen_Offset(int32_t v) {
  Green_Offset = v;
  SetColorTempOffset(1, v);
}
int32_t Wrapper::OnGetGreen_Offset() { return GetColorTempOffset(1); }
void Wrapper::OnSetBlue_Offset(int32_t v) {
  Blue_Offset = v;
  SetColorTempOffset(2, v);
}
int32_t Wrapper::OnGetBlue_Offset() { return GetColorTempOffset(2); }
void Wrapper::OnSetRed_Gain(int32_t v) {
  Red_Gain = v;
  SetColorTempGain(0, v);
}
int32_t Wrapper::OnGetRed_Gain() { return GetColorTempGain(0); }
void Wrapper::OnSetGreen_Gain(int32_t v) {
  Green_Gain = v;
  SetColorTempGain(1, v);
}
int32_t Wrapper::OnGetGreen_Gain() { return GetColorTempGain(1); }
void Wrapper::OnSetBlue_Gain(int32_t v) {
  Blue_Gain = v;
  SetColorTempGain(2, v);
}
int32_t Wrapper::OnGetBlue_Gain() { return GetColorTempGain(2); }

// --- Presets and view modes ------------------------------------------------------

void Wrapper::OnSetVideoPreset(int32_t v) {
  VideoPreset = v;
  SetCustomVideoPreset(v);
}

int32_t Wrapper::SetCustomVideoPreset(int32_t menuValue) {
  if (int32_t lock = GetOSDLock()) return lock;
  int32_t status = XPM_CALL(XPM_SetVideoPreset, Window, PresetToMiddleware(menuValue));
  TraceInt(T_SET_CUSTOM_VIDEO_PRESET, menuValue);
  return status;
}

int32_t Wrapper::GetCustomVideoPreset() {
  int32_t preset = 8;  // reads back as no preset when the call fails
  XPM_CALL(XPM_GetVideoPreset, Window, &preset);
  return PresetFromMiddleware(preset);
}

int32_t Wrapper::SetVideoPreset(int32_t preset) {
  if (int32_t lock = GetOSDLock()) return lock;
  int32_t status = XPM_CALL(XPM_SetVideoPreset, Window, preset);
  TraceInt(T_SET_VIDEO_PRESET, preset);
  return status;
}

int32_t Wrapper::GetVideoPreset() {
  int32_t preset = 0;
  XPM_CALL(XPM_GetVideoPreset, Window, &preset);
  return preset;
}

void Wrapper::OnSetViewMode(int32_t v) {
  ViewMode = v;
  SetViewMode(v);
}

int32_t Wrapper::SetViewMode(int32_t menuValue) {
  if (int32_t lock = GetOSDLock()) return lock;
  return XPM_CALL(XPM_SetViewMode, Window, ViewModeToMiddleware(menuValue));
}

int32_t Wrapper::GetViewMode() {
  int32_t mode = 1;
  XPM_CALL(XPM_GetViewMode, Window, &mode);
  return ViewModeFromMiddleware(mode);
}

void Wrapper::OnSetPreferViewMode(int32_t v) {
  PreferViewMode = v;
  SetPreferViewMode(v);
}

int32_t Wrapper::SetPreferViewMode(int32_t menuValue) {
  if (int32_t lock = GetOSDLock()) return lock;
  int32_t mode = (menuValue & kViewModeFlags) | ViewModeToMiddleware(menuValue & 0xff);
  return XPM_CALL(XPM_SetPreferredViewMode, Window, mode);
}

int32_t Wrapper::GetPreferViewMode() {
  int32_t mode = 1;
  XPM_CALL(XPM_GetPreferredViewMode, Window, &mode);
  return (mode & kViewModeFlags) | ViewModeFromMiddleware(mode);
}

int32_t Wrapper::OnGetPreferViewMode() { return GetPreferViewMode(); }

// --- Direct picture properties ------------------------------------------------------

void Wrapper::OnSetColorManager(int32_t v) {
  ColorManager = v;
  XPM_CALL(XPM_SetCM3D, v);
}

int32_t Wrapper::OnGetColorManager() {
  int32_t v = 0;
  XPM_CALL(XPM_GetCM3D, &v);
  return ColorManager = v;
}

void Wrapper::OnSetDigitalNR(int32_t v) {
  DigitalNR = v;
  SetNoiseReduction(v);
}

int32_t Wrapper::SetNoiseReduction(int32_t v) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceInt(T_SET_NOISE_REDUCTION, v);
  return XPM_CALL(XPM_SetNoiseReduction, v, 1);
}

int32_t Wrapper::GetNoiseReduction() {
  int32_t v = 0;
  XPM_CALL(XPM_GetNoiseReduction, &v, 1);
  return v;
}

void Wrapper::OnSetAnalogNR(int32_t v) {
  AnalogNR = v;
  XPM_CALL(XPM_SetNoiseReduction, v, 0);
}

int32_t Wrapper::OnGetAnalogNR() {
  int32_t v = 0;
  XPM_CALL(XPM_GetNoiseReduction, &v, 0);
  return AnalogNR = v;
}

void Wrapper::OnSetSuperResolution(int32_t v) {
  SuperResolution = v;
  XPM_CALL(XPM_SetSuperResolutionStatus, Window, v != 0 ? 1 : 0);
}

int32_t Wrapper::OnGetSuperResolution() {
  int32_t v = 0;
  XPM_CALL(XPM_GetSuperResolutionStatus, Window, &v);
  return SuperResolution = (v != 0 ? 1 : 0);
}

void Wrapper::OnSetCinemaMode(int32_t v) {
  CinemaMode = v;
  TraceInt(T_SET_CINEMA_MODE, v);
  XPM_CALL(XPM_SetCinemaMode, v & 255);
}

int32_t Wrapper::OnGetCinemaMode() {
  int32_t v = 0;
  XPM_CALL(XPM_GetCinemaMode, &v);
  return CinemaMode = v;
}

void Wrapper::OnSetDynamicContrast(int32_t v) {
  DynamicContrast = v;
  XPM_CALL(XPM_SetDynamicContrast, v);
}

int32_t Wrapper::OnGetDynamicContrast() {
  int32_t v = 0;
  XPM_CALL(XPM_GetDynamicContrast, &v);
  return DynamicContrast = v;
}

void Wrapper::OnSetGameMode(int32_t v) {
  GameMode = v;
  XPM_CALL(XPM_SetGameMode, v);
}

int32_t Wrapper::OnGetGameMode() {
  int32_t v = 0;
  XPM_CALL(XPM_GetGameMode, &v);
  return GameMode = v;
}

void Wrapper::OnSetVDECSensitivity(int32_t v) {
  VDECSensitivity = v;
  XPM_CALL(XPM_SetVDECMotionSensitivity, 0, v);
}

int32_t Wrapper::OnGetVDECSensitivity() {
  int32_t v = 0;
  XPM_CALL(XPM_GetVDECMotionSensitivity, 0, &v);
  return VDECSensitivity = v;
}

void Wrapper::OnSetHorizontalPosition(int32_t v) {
  HorizontalPosition = v;
  XPM_CALL(XPM_SetHorizontalPosition, v);
}

int32_t Wrapper::OnGetHorizontalPosition() {
  int32_t v = 0;
  XPM_CALL(XPM_GetHorizontalPosition, &v);
  return HorizontalPosition = v;
}

void Wrapper::OnSetVerticalPosition(int32_t v) {
  VerticalPosition = v;
  XPM_CALL(XPM_SetVerticalPostition, v);
}

int32_t Wrapper::OnGetVerticalPosition() {
  int32_t v = 0;
  XPM_CALL(XPM_GetVerticalPostition, &v);
  return VerticalPosition = v;
}

void Wrapper::OnSetHorizontalSize(int32_t v) {
  HorizontalSize = v;
  XPM_CALL(XPM_SetHLineAdjust, v);
}

int32_t Wrapper::OnGetHorizontalSize() {
  int32_t v = 0;
  XPM_CALL(XPM_GetHLineAdjust, &v);
  return HorizontalSize = v;
}

void Wrapper::OnSetVerticalSize(int32_t v) {
  VerticalSize = v;
  XPM_CALL(XPM_SetVLineAdjust, v);
}

int32_t Wrapper::OnGetVerticalSize() {
  int32_t v = 0;
  XPM_CALL(XPM_GetVLineAdjust, &v);
  return VerticalSize = v;
}

void Wrapper::OnSetVGAPhase(int32_t v) {
  VGAPhase = v;
  XPM_CALL(XPM_SetPhaseAdjust, v);
}

int32_t Wrapper::OnGetVGAPhase() { return VGAPhase = GetPhaseAdjust(); }

int32_t Wrapper::SetPhaseAdjust(int32_t v) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceInt(T_SET_PHASE_ADJUST, v);
  return XPM_CALL(XPM_SetPhaseAdjust, v);
}

int32_t Wrapper::GetPhaseAdjust() {
  int32_t v = 0;
  XPM_CALL(XPM_GetPhaseAdjust, &v);
  return v;
}

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
