// SkinBin::Wrapper: the picture and sound enhancements: frame-rate
// conversion and cadence, super resolution, the six-colour adjustment, RGB
// filters, dynamic backlight, gamma, the light sensor, service test
// patterns, aspect flags and the equaliser's bass and voice options. Each
// getter asks the middleware; each setter stores its cache field and writes.
#include <string>

#include "platform/oam/oam_frc.h"
#include "platform/xpm/xpm_enhance.h"
#include "platform/xpm/xpm_settings.h"
#include "runtime/string.h"
#include "runtime/trace.h"
#include "strings/SkinBinRecording.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Wrapper/WrapperInternal.h"

namespace SkinBin {
namespace {

namespace detail = ::Wrapper::detail;

constexpr int32_t kSuperResolutionOn = 6;  // numbers from 6 mean on, level = number - 5
constexpr int32_t kPatternSource = 27;
constexpr int32_t kPatternTest = 9;
constexpr int32_t kPatternWhiteBalance = 13;
constexpr int32_t kPatternWhiteBalanceAlt = 18;
constexpr int32_t kStretch43 = 0x200;
constexpr int32_t kAutoAspect = 0x100;

// RGB filter masks and on values: red, green, blue.
constexpr int32_t kFilterMask[3] = {0xF00F00, 0xF00F0, 0xF00F};
constexpr int32_t kFilterOn[3] = {0x100100, 0x10010, 0x1001};

// The FRC mode for a motion setting and a film strength.
int32_t FrcModeFor(int32_t motion, int32_t film) {
  if (film == 0) return motion ? 2 : 1;
  if (film == 1) return 5;
  return motion ? 6 : 7;
}

// Bass level (0-2) and voice option of an equaliser preset, and back.
int32_t BassOf(int32_t preset) { return preset == 2 || preset == 3 ? 1 : preset == 4 || preset == 5 ? 2 : 0; }
int32_t VoiceOf(int32_t preset) { return preset >= 5 || preset == 1 || preset == 3 ? 1 : 0; }
int32_t PresetOf(int32_t bass, int32_t voice) {
  if (bass < 0 || bass > 2 || voice < 0 || voice > 1) return 0;
  return bass * 2 + voice;
}

}  // namespace

// --- Motion and film -------------------------------------------------------------------

int32_t Wrapper::OnGetFrcMode() { return FrcMode = WRAPPER_READ(0, XPM_GetFrcMode) != 0; }
void Wrapper::OnSetFrcMode(int32_t v) {
  FrcMode = v;
  XPM_CALL(XPM_SetFrcMode, v == 1 ? 6 : v);
}

WRAPPER_DIRECT_SETTING(FrcVideo, XPM_SetFrcVideoStrength, XPM_GetFrcVideoStrength)
WRAPPER_DIRECT_SETTING(FrcFilm, XPM_SetFrcFilmStrength, XPM_GetFrcFilmStrength)

int32_t Wrapper::OnGetStillpane() { return Stillpane = WRAPPER_READ(0, XPM_GetFrcVideoStrength); }
void Wrapper::OnSetStillpane(int32_t v) {
  Stillpane = v;
  XPM_CALL(XPM_SetFrcVideoStrength, v);
  XPM_CALL(XPM_SetFrcMode, FrcModeFor(v, WRAPPER_READ(0, XPM_GetFrcFilmStrength)));
}

int32_t Wrapper::OnGetStillpane240() { return Stillpane240 = WRAPPER_READ(0, XPM_GetFrcVideoStrength); }
void Wrapper::OnSetStillpane240(int32_t v) {
  Stillpane240 = v;
  XPM_CALL(XPM_SetFrcVideoStrength, v);
}

int32_t Wrapper::OnGetFilmStabilization() { return FilmStabilization = WRAPPER_READ(0, XPM_GetFrcFilmStrength); }
void Wrapper::OnSetFilmStabilization(int32_t v) {
  FilmStabilization = v;
  XPM_CALL(XPM_SetFrcFilmStrength, v);
  XPM_CALL(XPM_SetFrcMode, FrcModeFor(WRAPPER_READ(0, XPM_GetFrcVideoStrength), v));
  const int32_t series = OnGetSeriesType();
  if (series == 2 || series == 3) OnSetQRV_CinemaMode(v);
}

int32_t Wrapper::OnGetFilmStabilization240() { return FilmStabilization240 = WRAPPER_READ(0, XPM_GetFrcFilmStrength); }
void Wrapper::OnSetFilmStabilization240(int32_t v) {
  FilmStabilization240 = v;
  XPM_CALL(XPM_SetFrcFilmStrength, v);
  OnSetQRV_CinemaMode(v);
}

int32_t Wrapper::OnGetQRV_CinemaMode() { return QRV_CinemaMode = WRAPPER_READ(0, XPM_GetCadenceMode, Window, 1) > 0; }
void Wrapper::OnSetQRV_CinemaMode(int32_t v) {
  QRV_CinemaMode = v;
  XPM_CALL(XPM_SetCadenceMode, Window, 1, v != 0);
}

// --- Super resolution ----------------------------------------------------------------------

int32_t Wrapper::OnGetSuperResolutionStatus() {
  return SuperResolutionStatus = WRAPPER_READ(0, XPM_GetSuperResolutionLevel, Window) >= kSuperResolutionOn;
}

void Wrapper::OnSetSuperResolutionStatus(int32_t v) {
  SuperResolutionStatus = v;
  int32_t n = WRAPPER_READ(0, XPM_GetSuperResolutionLevel, Window);
  if (v && n < kSuperResolutionOn) n += 5;
  else if (!v && n >= kSuperResolutionOn) n -= 5;
  XPM_CALL(XPM_SetSuperResolutionLevel, Window, n);
}

// Picture mode 0 (GlowSync, the menu's first picture mode, not the set's
// preset 0) shows the level 3 lower: the advanced reset's level 0 there is
// the level 3 of the other modes.
int32_t Wrapper::OnGetSuperResolutionLevel() {
  const int32_t n = WRAPPER_READ(0, XPM_GetSuperResolutionLevel, Window);
  const int32_t level = n >= kSuperResolutionOn ? n - 5 : n;
  return SuperResolutionLevel = OnGetVideoPreset() == 0 ? level - 3 : level;
}

void Wrapper::OnSetSuperResolutionLevel(int32_t v) {
  SuperResolutionLevel = v;
  const int32_t x = OnGetVideoPreset() == 0 ? v + 3 : v;
  const int32_t n = WRAPPER_READ(0, XPM_GetSuperResolutionLevel, Window);
  XPM_CALL(XPM_SetSuperResolutionLevel, Window, n < kSuperResolutionOn ? x : x + 5);
}

// --- TintForge ----------------------------------------------------------------------------

int32_t Wrapper::GetTintForgeValue(int32_t colour) {
  uint32_t word = 0;
  XPM_CALL(XPM_GetCM3DTintForge, colour, &word);
  return static_cast<int32_t>(word);
}

int32_t Wrapper::SetTintForgeValue(int32_t colour, int32_t word) {
  kv::Trace("%s%u%u", {kv::LoadString(SkinBinRecording::T_SET_TINTFORGE), static_cast<uint32_t>(colour),
                       static_cast<uint32_t>(word)});
  return XPM_CALL(XPM_SetCM3DTintForge, colour, static_cast<uint32_t>(word));
}

void Wrapper::ResetTintForge() {
  kv::Trace("%s", {kv::LoadString(SkinBinRecording::T_RESET_TINTFORGE)});
  XPM_CALL(XPM_ResetTintForge, 0, WRAPPER_READ(0, XPM_GetVideoPreset, 0));
}

// Field f (0 hue, 1 saturation, 2 brightness) of colour c: shown value + 128
// in byte f of the colour word.
#define TINTFORGE(P, c, f)                                                               \
  int32_t Wrapper::OnGet##P() {                                                          \
    uint32_t word = 0;                                                                   \
    if (XPM_CALL(XPM_GetCM3DTintForge, c, &word) != XPM_OK) word = 0;                    \
    return TintForge[c * 3 + f] = static_cast<int32_t>((word >> (8 * f)) & 0xFF) - 128;  \
  }                                                                                      \
  void Wrapper::OnSet##P(int32_t v) {                                                    \
    TintForge[c * 3 + f] = v;                                                            \
    uint32_t word = 0;                                                                   \
    /* Without the other two fields the write would spoil them: skip it. */              \
    if (XPM_CALL(XPM_GetCM3DTintForge, c, &word) != XPM_OK) return;                      \
    word = (word & ~(0xFFu << (8 * f))) | ((static_cast<uint32_t>(v + 128) & 0xFF) << (8 * f)); \
    SetTintForgeValue(c, static_cast<int32_t>(word));                                    \
  }

TINTFORGE(RedHue, 0, 0)
TINTFORGE(RedSaturation, 0, 1)
TINTFORGE(RedBrightness, 0, 2)
TINTFORGE(GreenHue, 1, 0)
TINTFORGE(GreenSaturation, 1, 1)
TINTFORGE(GreenBrightness, 1, 2)
TINTFORGE(BlueHue, 2, 0)
TINTFORGE(BlueSaturation, 2, 1)
TINTFORGE(BlueBrightness, 2, 2)
TINTFORGE(YellowHue, 3, 0)
TINTFORGE(YellowSaturation, 3, 1)
TINTFORGE(YellowBrightness, 3, 2)
TINTFORGE(MagentaHue, 4, 0)
TINTFORGE(MagentaSaturation, 4, 1)
TINTFORGE(MagentaBrightness, 4, 2)
TINTFORGE(CyanHue, 5, 0)
TINTFORGE(CyanSaturation, 5, 1)
TINTFORGE(CyanBrightness, 5, 2)
#undef TINTFORGE

// --- Colour and light ------------------------------------------------------------------------

int32_t Wrapper::GetRGBFilter() { return WRAPPER_READ(0, XPM_GetColorTemperature_RGB_Filter); }
int32_t Wrapper::SetRGBFilter(int32_t word) { return XPM_CALL(XPM_SetColorTemperature_RGB_Filter, word); }

#define RGB_FILTER(P, i)                                                          \
  int32_t Wrapper::OnGet##P() { return P = (GetRGBFilter() & kFilterMask[i]) != 0; } \
  void Wrapper::OnSet##P(int32_t v) {                                             \
    P = v;                                                                        \
    SetRGBFilter((GetRGBFilter() & ~kFilterMask[i]) | (v ? kFilterOn[i] : 0));    \
  }
RGB_FILTER(RGBFilterRed, 0)
RGB_FILTER(RGBFilterGreen, 1)
RGB_FILTER(RGBFilterBlue, 2)
#undef RGB_FILTER

int32_t Wrapper::OnGetLumiflux() { return Lumiflux = WRAPPER_READ(0, XPM_GetDCRBacklight); }
void Wrapper::OnSetLumiflux(int32_t v) {
  Lumiflux = v;
  XPM_CALL(XPM_SetDCRBacklight, v);
  if (OnGetSeriesType() == 3) XPM_CALL(XPM_3DTV_Set3DLocalDimming, v);
}

int32_t Wrapper::OnGetBacklightAuto() { return BacklightAuto = GetBacklight() - 50; }
void Wrapper::OnSetBacklightAuto(int32_t v) {
  BacklightAuto = v;
  SetBacklight(v + 50);
}

WRAPPER_DIRECT_SETTING(StaticGamma, XPM_SetGammaOffset, XPM_GetGammaOffset)

int32_t Wrapper::GetLightSensor() { return WRAPPER_READ(0, XPM_GetLightSensor); }

void Wrapper::OnSetFactoryLocalDimming(int32_t v) {
  FactoryLocalDimming = v;
  XPM_CALL(OAM_frc_IOControl, v ? OAM_FRC_LOCAL_DIMMING_ON : OAM_FRC_LOCAL_DIMMING_OFF, 0);
}

kv::String Wrapper::Get3DE2PROMVersion() {
  OAM_FrcFirmwareVersion v{};
  if (OAM_frc_get_firmware_versionRC(&v) != OAM_OK) {
    kv::Log("Error OAM_frc_get_firmware_versionRC");
    return kv::String();
  }
  kv::Log("=============");
  kv::Log("version: " + std::to_string(v.version) + ", model Id:  " + std::to_string(v.modelId) + ", panel Size " +
          std::to_string(v.panelSize));
  kv::Log("=============");
  return kv::String::FromUtf8(std::to_string(v.version) + " " + std::to_string(v.modelId) + " " +
                              std::to_string(v.panelSize));
}

// --- Test patterns ---------------------------------------------------------------------------

int32_t Wrapper::OnGetTestPattern() {
  return TestPattern = GetCurrentSource(0) == kPatternSource && GetTestPattern() == kPatternTest;
}

int32_t Wrapper::OnGetWB_WindowDisplay() {
  if (GetCurrentSource(0) != kPatternSource) return WB_WindowDisplay = 0;
  const int32_t p = GetTestPattern();
  return WB_WindowDisplay = p == kPatternWhiteBalance || p == kPatternWhiteBalanceAlt;
}

// On: remember the source (unless the pattern source shows already), show
// the pattern and re-apply the picture mode; off: back to the source.
#define TEST_PATTERN(P, pattern)                                   \
  void Wrapper::OnSet##P(int32_t v) {                              \
    if ((v != 0) == (OnGet##P() != 0)) return;                     \
    P = v;                                                         \
    if (v) {                                                       \
      const int32_t source = GetCurrentSource(0);                  \
      if (source != kPatternSource) TestPatternPrevSource = source; \
      SetTestPattern(pattern);                                     \
      OnSetVideoPreset(GetVideoPreset());                          \
    } else {                                                       \
      SetSource(0, TestPatternPrevSource);                         \
    }                                                              \
  }
TEST_PATTERN(TestPattern, kPatternTest)
TEST_PATTERN(WB_WindowDisplay, kPatternWhiteBalance)
#undef TEST_PATTERN

// --- Aspect and sound -------------------------------------------------------------------------

// The base's preferred view mode with its flag bits.
int32_t Wrapper::OnGetStretch43() { return Stretch43 = (GetPreferViewMode() & kStretch43) != 0; }
void Wrapper::OnSetStretch43(int32_t v) {
  Stretch43 = v;
  const int32_t mode = GetPreferViewMode();
  ::Wrapper::Wrapper::OnSetPreferViewMode(v ? mode | kStretch43 : mode & ~kStretch43);
}

int32_t Wrapper::OnGetAutoAspect() { return AutoAspect = (GetPreferViewMode() & kAutoAspect) != 0; }
void Wrapper::OnSetAutoAspect(int32_t v) {
  AutoAspect = v;
  const int32_t mode = GetPreferViewMode();
  ::Wrapper::Wrapper::OnSetPreferViewMode(v ? mode | kAutoAspect : mode & ~kAutoAspect);
}

int32_t Wrapper::OnGetDigitalAudioOutput() { return DigitalAudioOutput = GetSpdifFormat(); }
void Wrapper::OnSetDigitalAudioOutput(int32_t v) {
  DigitalAudioOutput = v;
  SetSpdifFormat(v);
}

WRAPPER_DIRECT_SETTING(HDMI_RGBRange, XPM_SetRGBRange, XPM_GetRGBRange, 0)

int32_t Wrapper::OnGetDynamicRangeControl() { return DynamicRangeControl = WRAPPER_READ(0, XPM_GetDolbyDRC) > 0; }
void Wrapper::OnSetDynamicRangeControl(int32_t v) {
  DynamicRangeControl = v;
  if (int32_t r = XPM_SetDolbyDRC(v > 0))
    kv::Log("******** XPM_SetDolbyDRC failed with result code " + std::to_string(r));
}

int32_t Wrapper::OnGetDynamicBassBoost() { return DynamicBassBoost = BassOf(GetEqualizerPreset()); }
void Wrapper::OnSetDynamicBassBoost(int32_t v) {
  DynamicBassBoost = v;
  const int32_t voice = VoiceOf(GetEqualizerPreset());
  SetEqualizerPreset(v >= 0 && v <= 2 ? PresetOf(v, voice) : 0);
}

int32_t Wrapper::OnGetVoiceEnhancement() { return VoiceEnhancement = VoiceOf(GetEqualizerPreset()); }
void Wrapper::OnSetVoiceEnhancement(int32_t v) {
  VoiceEnhancement = v;
  const int32_t bass = BassOf(GetEqualizerPreset());
  SetEqualizerPreset(v == 0 || v == 1 ? PresetOf(bass, v) : 0);
}

}  // namespace SkinBin
