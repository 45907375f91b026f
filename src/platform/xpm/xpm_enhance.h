// The middleware's picture and sound enhancements beyond the base picture
// settings: frame-rate conversion, cadence, super resolution per window,
// the six-colour adjustment, RGB filters, dynamic backlight, gamma offset,
// the light sensor, RGB range and dynamic range control. Served by the
// simulated television; values are kept in its state file ("enh.*").
//
// Status convention as in xpm.h. Ranges (a value outside answers
// XPM_ERR_INVALID_PARAM): FRC strengths 0-10, FRC mode 0-7, super resolution
// number 0-10, TintForge words 24 bits, gamma offset -5..5, RGB range 0-2.
// The light sensor reads the room's light (0-1023), set by the outside world
// with sim::SetLightSensor.
#pragma once

#include <cstdint>

int32_t XPM_GetFrcVideoStrength(int32_t* v);
int32_t XPM_SetFrcVideoStrength(int32_t v);
int32_t XPM_GetFrcFilmStrength(int32_t* v);
int32_t XPM_SetFrcFilmStrength(int32_t v);
int32_t XPM_GetFrcMode(int32_t* v);
int32_t XPM_SetFrcMode(int32_t v);
// kind 1: film cadence.
int32_t XPM_GetCadenceMode(int32_t window, int32_t kind, int32_t* v);
int32_t XPM_SetCadenceMode(int32_t window, int32_t kind, int32_t on);
// 0-5 off with that level, 6 and above on with level = number - 5.
int32_t XPM_GetSuperResolutionLevel(int32_t window, int32_t* number);
int32_t XPM_SetSuperResolutionLevel(int32_t window, int32_t number);
// colour 0 red, 1 green, 2 blue, 3 yellow, 4 magenta, 5 cyan: hue bits 0-7,
// saturation 8-15, brightness 16-23, each 128 at neutral.
int32_t XPM_GetCM3DTintForge(int32_t colour, uint32_t* word);
int32_t XPM_SetCM3DTintForge(int32_t colour, uint32_t word);
int32_t XPM_ResetTintForge(int32_t window, int32_t preset);
int32_t XPM_GetColorTemperature_RGB_Filter(int32_t* word);
int32_t XPM_SetColorTemperature_RGB_Filter(int32_t word);
int32_t XPM_GetDCRBacklight(int32_t* v);
int32_t XPM_SetDCRBacklight(int32_t v);
int32_t XPM_3DTV_Set3DLocalDimming(int32_t v);
int32_t XPM_GetGammaOffset(int32_t* v);
int32_t XPM_SetGammaOffset(int32_t v);
int32_t XPM_GetLightSensor(int32_t* v);
int32_t XPM_GetRGBRange(int32_t window, int32_t* v);
int32_t XPM_SetRGBRange(int32_t window, int32_t v);
int32_t XPM_GetDolbyDRC(int32_t* v);
int32_t XPM_SetDolbyDRC(int32_t on);

namespace sim {
class Sim;
// The room's light as the sensor reads it now.
void SetLightSensor(Sim& tv, int32_t reading);
}  // namespace sim
