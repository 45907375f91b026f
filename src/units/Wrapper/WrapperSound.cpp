// Sound and caption properties of the Wrapper.
#include <algorithm>
#include <cstring>

#include "platform/xpm/xpm_settings.h"
#include "runtime/string.h"
#include "runtime/trace.h"
#include "strings/Wrapper.h"
#include "units/Structures/CaptionServiceInfo.h"
#include "units/Wrapper/Wrapper.h"
#include "units/Wrapper/WrapperInternal.h"

namespace Wrapper {

using detail::TraceBool;
using detail::TraceInt;

// --- Volume and mute -----------------------------------------------------------

WRAPPER_GUARDED_SETTING(Volume, SetVolume, GetVolume, T_SET_VOLUME, 33, XPM_SetVolume, XPM_GetVolume)

int32_t Wrapper::StepVolume(bool up) {
  const int32_t volume = GetVolume();
  const int32_t wanted = std::clamp(volume + (up ? 1 : -1), 0, 100);
  if (wanted != volume) OnSetVolume(wanted);
  return GetVolume();
}

void Wrapper::OnSetMute(int32_t v) {
  Mute = v;
  SetAudioMute(v != 0);
}

int32_t Wrapper::OnGetMute() { return GetAudioMute(); }

int32_t Wrapper::SetAudioMute(bool muted) {
  return GuardedSetFlag(T_SET_AUDIO_MUTE, muted,
                        [&] { return XPM_CALL(XPM_SetMute, XPM_AUDIO_PATH_MAIN, muted ? 1 : 0); });
}

int32_t Wrapper::GetAudioMute() { return Int2Bool(WRAPPER_READ(0, XPM_GetMute)); }

// --- Tone ----------------------------------------------------------------------------

WRAPPER_GUARDED_SETTING(Balance, SetBalance, GetBalance, T_SET_BALANCE, 0, XPM_SetBalance, XPM_GetBalance)
WRAPPER_GUARDED_SETTING(Bass, SetBass, GetBass, T_SET_BASS, 0, XPM_SetBass, XPM_GetBass)
WRAPPER_GUARDED_SETTING(Treble, SetTreble, GetTreble, T_SET_TREBLE, 0, XPM_SetTreble, XPM_GetTreble)

WRAPPER_TRACED_SETTING(EqualizerPreset, SetEqualizerPreset, GetEqualizerPreset, T_SET_EQUALIZER_PRESET, 0,
                       XPM_SetEqualizerPreset, XPM_GetEqualizerPreset)

// --- Decoding and language --------------------------------------------------------------

WRAPPER_CACHED_SET(MTS, SetPreferAudioDecodeMode)

int32_t Wrapper::SetPreferAudioDecodeMode(int32_t mode) {
  if (int32_t lock = GetOSDLock()) return lock;
  int32_t status = XPM_CALL(XPM_SetPreferredAudioDecodeMode, mode);
  // The second window follows while both windows are shown.
  if (GetPIPState() != 0) {
    int32_t second = XPM_CALL(XPM_SetAudioDecodeMode, 1, mode);
    if (status == 0) status = second;
  }
  return status;
}

int32_t Wrapper::GetPreferAudioDecodeMode() { return WRAPPER_READ(1, XPM_GetPreferredAudioDecodeMode); }

WRAPPER_CACHED_SET(DigitalPreference, SetPreferAudioLanguage)

int32_t Wrapper::SetPreferAudioLanguage(int32_t code) {
  TraceInt(T_SET_PREFER_AUDIO_LANGUAGE, code);
  const char* language = code == 1 ? "spa" : code == 2 ? "fre" : "eng";
  return XPM_CALL(XPM_SetPreferredAudioLanguage, language);
}

int32_t Wrapper::GetPreferAudioLanguage() {
  char language[8] = {};
  if (XPM_CALL(XPM_GetPreferredAudioLanguage, language) != 0) return 0;
  language[3] = 0;
  if (std::strcmp(language, "spa") == 0) return 1;
  if (std::strcmp(language, "fre") == 0) return 2;
  return 0;
}

// --- Levelling, external output and direct sound properties ---------------------------------

void Wrapper::OnSetAutoVolumeLevel(int32_t v) {
  AutoVolumeLevel = v;
  SetVolumeLevelling(v != 0);
}

int32_t Wrapper::OnGetAutoVolumeLevel() { return AutoVolumeLevel = GetVolumeLevelling(); }

int32_t Wrapper::SetVolumeLevelling(bool on) {
  TraceBool(T_SET_VOLUME_LEVELLING, on);
  return XPM_CALL(XPM_SetVolumeLevelling, on ? 1 : 0);
}

int32_t Wrapper::GetVolumeLevelling() { return Int2Bool(WRAPPER_READ(0, XPM_GetVolumeLevelling)); }

void Wrapper::OnSetMutePreference(int32_t v) {
  MutePreference = v;
  SetExtOutputMute(v != 0);
}

int32_t Wrapper::OnGetMutePreference() { return MutePreference = GetExtOutputMute(); }

int32_t Wrapper::SetExtOutputMute(bool muted) {
  return GuardedSetFlag(T_SET_EXT_OUTPUT_MUTE, muted, [&] { return XPM_CALL(XPM_SetMuteExtOutput, muted ? 1 : 0); });
}

int32_t Wrapper::GetExtOutputMute() { return Int2Bool(WRAPPER_READ(0, XPM_GetMuteExtOutput)); }

WRAPPER_DIRECT_SETTING(DynamicVolume, XPM_SetAudDynamicVolume, XPM_GetAudDynamicVolume)
WRAPPER_DIRECT_FLAG(AudysseyEQ, XPM_SetAEQ, XPM_GetAEQ)
WRAPPER_DIRECT_FLAG(SRSTruSurround, XPM_SetTruSurround, XPM_GetTruSurround)
WRAPPER_DIRECT_FLAG(SRSTruVolume, XPM_SetTruVolume, XPM_GetTruVolume)
WRAPPER_DIRECT_FLAG(SSTruSurround, XPM_SetStudioSoundTruSurround, XPM_GetStudioSoundTruSurround)
WRAPPER_DIRECT_FLAG(SSTruVolume, XPM_SetStudioSoundTruVolume, XPM_GetStudioSoundTruVolume)
WRAPPER_DIRECT_SETTING(LipSync, XPM_SetAdditionalAudioDelay, XPM_GetAdditionalAudioDelay)

WRAPPER_TRACED_SETTING(SpdifFormat, SetSpdifFormat, GetSpdifFormat, T_SET_SPDIF_FORMAT, 0, XPM_SetSpdifFormat,
                       XPM_GetSpdifFormat)

int32_t Wrapper::SetSpeaker(bool on) {
  return GuardedSetFlag(T_SET_SPEAKER, on, [&] { return XPM_CALL(XPM_SetSpeaker, on ? 1 : 0); });
}

int32_t Wrapper::GetSpeaker() { return WRAPPER_READ(1, XPM_GetSpeaker); }

// --- Audio services -----------------------------------------------------------------------

int32_t Wrapper::SetAudioDecodeMode(int32_t mode) {
  if (int32_t lock = GetOSDLock()) return lock;
  int32_t status = XPM_CALL(XPM_SetAudioDecodeMode, Window, mode);
  if (Window != 1 && GetPIPState() != 0) {
    int32_t second = XPM_CALL(XPM_SetAudioDecodeMode, 1, mode);
    if (status == 0) status = second;
  }
  return status;
}

int32_t Wrapper::GetAudioDecodeMode() { return WRAPPER_READ(1, XPM_GetAudioDecodeMode, Window); }

int32_t Wrapper::GetCurrentAudioIndex() { return WRAPPER_READ(0, XPM_GetCurrentAudioService, Window); }

int32_t Wrapper::SetAudioService(int32_t index) {
  TraceInt(T_SET_AUDIO_SERVICE, index);
  return XPM_CALL(XPM_SetAudioService, Window, index);
}

kv::String Wrapper::GetAudioServiceLang(int32_t index) {
  XPM_AudioServiceInfo info;
  std::memset(&info, 0, sizeof info);
  kv::String language;
  if (XPM_CALL(XPM_GetAudioServiceInfo, Window, index, &info) == 0) {
    info.language[sizeof info.language - 1] = 0;
    if (std::strlen(info.language) == 3) language = kv::NewStringAnsi(info.language);
  }
  kv::Trace("%s%i%s", {kv::LoadString(T_GET_AUDIO_SERVICE_LANG), index, language});
  return language;
}

int32_t Wrapper::HasAlternateAudio() {
  int32_t count = 0;
  XPM_CALL(XPM_GetNumAudioServices, Window, &count);
  TraceInt(T_HAS_ALTERNATE_AUDIO, count);
  return count;
}

int32_t Wrapper::IsStereo_Present() {
  int32_t stereo = 0;
  int32_t sap = 0;
  if (XPM_CALL(XPM_GetAudioReceptionInfo, 0, &stereo, &sap) != 0) return 0;
  return stereo;
}

int32_t Wrapper::IsSAP_Present() {
  int32_t stereo = 0;
  int32_t sap = 0;
  if (XPM_CALL(XPM_GetAudioReceptionInfo, 0, &stereo, &sap) != 0) return 0;
  return sap;
}

// --- Captions -------------------------------------------------------------------------------

WRAPPER_TRACED_SETTING(ClosedCaptionState, SetCCState, GetCCState, T_SET_CC_STATE, 0, XPM_SetCaptionRenderState,
                       XPM_GetCaptionRenderState, Window)

WRAPPER_GUARDED_SETTING(CCPreference, SetCaptionDecodeMode, GetCaptionDecodeMode, T_SET_CAPTION_DECODE_MODE, 1,
                        XPM_SetCaptionDecodeMode, XPM_GetCaptionDecodeMode)

void Wrapper::BackupCCState() {
  int32_t state = CCRenderStateBackup;
  XPM_CALL(XPM_GetCaptionRenderState, Window, &state);
  CCRenderStateBackup = state;
  XPM_CALL(XPM_SetCaptionRenderState, Window, XPM_CAPTION_RENDER_STATE_OFF);
}

void Wrapper::RecoverCCState() { XPM_CALL(XPM_SetCaptionRenderState, Window, CCRenderStateBackup); }

// A preferred caption service, counted from 0 here and from 1 by the
// middleware: the guarded Setter changes it with the render state kept over
// the change; Getter answers `failed` when the call fails.
#define WRAPPER_CAPTION_SERVICE(Setter, Getter, label, failed, setFn, getFn) \
  int32_t Wrapper::Setter(int32_t service) {                                 \
    return GuardedSet(label, service, [&] {                                  \
      BackupCCState();                                                       \
      int32_t status = XPM_CALL(setFn, service + 1);                         \
      RecoverCCState();                                                      \
      return status;                                                         \
    });                                                                      \
  }                                                                          \
  int32_t Wrapper::Getter() {                                                \
    int32_t v = 0;                                                           \
    if (XPM_CALL(getFn, &v) != 0) return failed;                             \
    return v - 1;                                                            \
  }

WRAPPER_CACHED_SET(BasicCCMode, SetPreferBasicCaptionService)
WRAPPER_CAPTION_SERVICE(SetPreferBasicCaptionService, GetPreferBasicCaptionService, T_SET_PREFER_BASIC_CAPTION, 2,
                        XPM_SetPreferredBasicCaptionService, XPM_GetPreferredBasicCaptionService)
WRAPPER_CACHED_SET(AdvancedCCMode, SetPreferAdvanceCaptionService)
WRAPPER_CAPTION_SERVICE(SetPreferAdvanceCaptionService, GetPreferAdvanceCaptionService, T_SET_PREFER_ADVANCED_CAPTION,
                        0, XPM_SetPreferredAdvancedCaptionService, XPM_GetPreferredAdvancedCaptionService)

#undef WRAPPER_CAPTION_SERVICE

WRAPPER_GUARDED_INDEXED(SetAdvanceCaptionProperty, GetAdvanceCaptionProperty, T_SET_ADVANCE_CAPTION_PROPERTY, 1,
                        XPM_SetAdvancedCaptionProperty, XPM_GetAdvancedCaptionProperty)

WRAPPER_CACHED_SET(CC708_WinJustification, SetAdvanceCaptionProperty, 0)
WRAPPER_CACHED_SET(CC708_WinColor, SetAdvanceCaptionProperty, 1)
WRAPPER_CACHED_SET(CC708_WinOpacity, SetAdvanceCaptionProperty, 2)
WRAPPER_CACHED_SET(CC708_FontSize, SetAdvanceCaptionProperty, 3)
WRAPPER_CACHED_SET(CC708_FontStyle, SetAdvanceCaptionProperty, 4)
WRAPPER_CACHED_SET(CC708_EdgeColor, SetAdvanceCaptionProperty, 5)
WRAPPER_CACHED_SET(CC708_EdgeType, SetAdvanceCaptionProperty, 6)
WRAPPER_CACHED_SET(CC708_FontColor, SetAdvanceCaptionProperty, 7)
WRAPPER_CACHED_SET(CC708_FontOpacity, SetAdvanceCaptionProperty, 8)
WRAPPER_CACHED_SET(CC708_BgColor, SetAdvanceCaptionProperty, 9)
WRAPPER_CACHED_SET(CC708_BgOpacity, SetAdvanceCaptionProperty, 10)

WRAPPER_GUARDED_INDEXED(SetBasicCaptionProperty, GetBasicCaptionProperty, T_SET_BASIC_CAPTION_PROPERTY, 0,
                        XPM_SetBasicCaptionProperty, XPM_GetBasicCaptionProperty)

int32_t Wrapper::ShowSampleCCText(bool show, const kv::String& text, int32_t a, int32_t b) {
  if (int32_t lock = GetOSDLock()) return lock;
  kv::Trace("%s%b%s%i%i", {kv::LoadString(T_SHOW_SAMPLE_CC_TEXT), show, text, a, b});
  char buffer[16] = {};
  kv::StringToAnsi(text, buffer, sizeof buffer, '?');
  // The middleware gets the characters that were copied, never more.
  int32_t length = std::min<int32_t>(text.Length(), sizeof buffer - 1);
  return XPM_CALL(XPM_ShowAdvancedSampleCaptionText, show ? 1 : 0, buffer, length, a, b);
}

Structures::CaptionServiceInfo* Wrapper::GetCaptionServiceInfo(bool advanced, int32_t index) {
  XPM_CaptionServiceRequest request{advanced ? 1 : 0, index + 1};
  XPM_CaptionServiceInfo answer;
  std::memset(&answer, 0, sizeof answer);
  bool ok = XPM_CALL(XPM_GetCaptionServiceInfo, Window, request, &answer) == 0;
  Structures::CaptionServiceInfo* info = nullptr;
  kv::String language;
  if (ok) {
    char text[sizeof answer.language + 1] = {};
    std::memcpy(text, answer.language, sizeof answer.language);
    language = kv::NewStringAnsi(text);
    info = kv::New<Structures::CaptionServiceInfo>();
    info->Language = language;
    info->WideAspect = static_cast<uint8_t>(answer.wideAspect);
    info->EasyReader = static_cast<uint8_t>(answer.easyReader);
  }
  kv::Trace("%s%b%i%b%s%b%b", {kv::LoadString(T_GET_CAPTION_SERVICE_INFO), advanced, index, ok, language,
                               ok && answer.easyReader != 0, ok && answer.wideAspect != 0});
  return info;
}

}  // namespace Wrapper
