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
using detail::TraceIntInt;
using detail::TraceLabel;

// --- Volume and mute -----------------------------------------------------------

void Wrapper::OnSetVolume(int32_t v) {
  Volume = v;
  SetVolume(v);
}

int32_t Wrapper::SetVolume(int32_t v) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceInt(T_SET_VOLUME, v);
  return XPM_CALL(XPM_SetVolume, v);
}

int32_t Wrapper::GetVolume() {
  int32_t v = 33;
  XPM_CALL(XPM_GetVolume, &v);
  return v;
}

void Wrapper::OnSetMute(int32_t v) {
  Mute = v;
  SetAudioMute(v != 0);
}

int32_t Wrapper::OnGetMute() { return GetAudioMute(); }

int32_t Wrapper::SetAudioMute(bool muted) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceBool(T_SET_AUDIO_MUTE, muted);
  return XPM_CALL(XPM_SetMute, XPM_AUDIO_PATH_MAIN, muted ? 1 : 0);
}

int32_t Wrapper::GetAudioMute() {
  int32_t v = 0;
  XPM_CALL(XPM_GetMute, &v);
  return v != 0 ? 1 : 0;
}

// --- Tone ----------------------------------------------------------------------------

void Wrapper::OnSetBalance(int32_t v) {
  Balance = v;
  SetBalance(v);
}

int32_t Wrapper::SetBalance(int32_t v) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceInt(T_SET_BALANCE, v);
  return XPM_CALL(XPM_SetBalance, v);
}

int32_t Wrapper::GetBalance() {
  int32_t v = 0;
  XPM_CALL(XPM_GetBalance, &v);
  return v;
}

void Wrapper::OnSetBass(int32_t v) {
  Bass = v;
  SetBass(v);
}

int32_t Wrapper::SetBass(int32_t v) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceInt(T_SET_BASS, v);
  return XPM_CALL(XPM_SetBass, v);
}

int32_t Wrapper::GetBass() {
  int32_t v = 0;
  XPM_CALL(XPM_GetBass, &v);
  return v;
}

void Wrapper::OnSetTreble(int32_t v) {
  Treble = v;
  SetTreble(v);
}

int32_t Wrapper::SetTreble(int32_t v) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceInt(T_SET_TREBLE, v);
  return XPM_CALL(XPM_SetTreble, v);
}

int32_t Wrapper::GetTreble() {
  int32_t v = 0;
  XPM_CALL(XPM_GetTreble, &v);
  return v;
}

void Wrapper::OnSetEqualizerPreset(int32_t v) {
  EqualizerPreset = v;
  SetEqualizerPreset(v);
}

int32_t Wrapper::SetEqualizerPreset(int32_t v) {
  TraceInt(T_SET_EQUALIZER_PRESET, v);
  return XPM_CALL(XPM_SetEqualizerPreset, v);
}

int32_t Wrapper::GetEqualizerPreset() {
  int32_t v = 0;
  XPM_CALL(XPM_GetEqualizerPreset, &v);
  return v;
}

// --- Decoding and language --------------------------------------------------------------

void Wrapper::OnSetMTS(int32_t v) {
  MTS = v;
  SetPreferAudioDecodeMode(v);
}

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

int32_t Wrapper::GetPreferAudioDecodeMode() {
  int32_t v = 1;
  XPM_CALL(XPM_GetPreferredAudioDecodeMode, &v);
  return v;
}

void Wrapper::OnSetDigitalPreference(int32_t v) {
  DigitalPreference = v;
  SetPreferAudioLanguage(v);
}

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

int32_t Wrapper::GetVolumeLevelling() {
  int32_t v = 0;
  XPM_CALL(XPM_GetVolumeLevelling, &v);
  return v != 0 ? 1 : 0;
}

void Wrapper::OnSetMutePreference(int32_t v) {
  MutePreference = v;
  SetExtOutputMute(v != 0);
}

int32_t Wrapper::OnGetMutePreference() { return MutePreference = GetExtOutputMute(); }

int32_t Wrapper::SetExtOutputMute(bool muted) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceBool(T_SET_EXT_OUTPUT_MUTE, muted);
  return XPM_CALL(XPM_SetMuteExtOutput, muted ? 1 : 0);
}

int32_t Wrapper::GetExtOutputMute() {
  int32_t v = 0;
  XPM_CALL(XPM_GetMuteExtOutput, &v);
  return v != 0 ? 1 : 0;
}

void Wrapper::OnSetDynamicVolume(int32_t v) {
  DynamicVolume = v;
  XPM_CALL(XPM_SetAudDynamicVolume, v);
}

int32_t Wrapper::OnGetDynamicVolume() {
  int32_t v = 0;
  XPM_CALL(XPM_GetAudDynamicVolume, &v);
  return DynamicVolume = v;
}

void Wrapper::OnSetAudysseyEQ(int32_t v) {
  AudysseyEQ = v;
  XPM_CALL(XPM_SetAEQ, v != 0 ? 1 : 0);
}

int32_t Wrapper::OnGetAudysseyEQ() {
  int32_t v = 0;
  XPM_CALL(XPM_GetAEQ, &v);
  return AudysseyEQ = (v != 0 ? 1 : 0);
}

void Wrapper::OnSetSRSTruSurround(int32_t v) {
  SRSTruSurround = v;
  XPM_CALL(XPM_SetTruSurround, v != 0 ? 1 : 0);
}

int32_t Wrapper::OnGetSRSTruSurround() {
  int32_t v = 0;
  XPM_CALL(XPM_GetTruSurround, &v);
  return SRSTruSurround = (v != 0 ? 1 : 0);
}

void Wrapper::OnSetSRSTruVolume(int32_t v) {
  SRSTruVolume = v;
  XPM_CALL(XPM_SetTruVolume, v != 0 ? 1 : 0);
}

int32_t Wrapper::OnGetSRSTruVolume() {
  int32_t v = 0;
  XPM_CALL(XPM_GetTruVolume, &v);
  return SRSTruVolume = (v != 0 ? 1 : 0);
}

void Wrapper::OnSetSSTruSurround(int32_t v) {
  SSTruSurround = v;
  XPM_CALL(XPM_SetStudioSoundTruSurround, v != 0 ? 1 : 0);
}

int32_t Wrapper::OnGetSSTruSurround() {
  int32_t v = 0;
  XPM_CALL(XPM_GetStudioSoundTruSurround, &v);
  return SSTruSurround = (v != 0 ? 1 : 0);
}

void Wrapper::OnSetSSTruVolume(int32_t v) {
  SSTruVolume = v;
  XPM_CALL(XPM_SetStudioSoundTruVolume, v != 0 ? 1 : 0);
}

int32_t Wrapper::OnGetSSTruVolume() {
  int32_t v = 0;
  XPM_CALL(XPM_GetStudioSoundTruVolume, &v);
  return SSTruVolume = (v != 0 ? 1 : 0);
}

void Wrapper::OnSetLipSync(int32_t v) {
  LipSync = v;
  XPM_CALL(XPM_SetAdditionalAudioDelay, v);
}

int32_t Wrapper::OnGetLipSync() {
  int32_t v = 0;
  XPM_CALL(XPM_GetAdditionalAudioDelay, &v);
  return LipSync = v;
}

void Wrapper::OnSetSpdifFormat(int32_t v) {
  SpdifFormat = v;
  SetSpdifFormat(v);
}

int32_t Wrapper::SetSpdifFormat(int32_t v) {
  TraceInt(T_SET_SPDIF_FORMAT, v);
  return XPM_CALL(XPM_SetSpdifFormat, v);
}

int32_t Wrapper::GetSpdifFormat() {
  int32_t v = 0;
  XPM_CALL(XPM_GetSpdifFormat, &v);
  return v;
}

int32_t Wrapper::SetSpeaker(bool on) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceBool(T_SET_SPEAKER, on);
  return XPM_CALL(XPM_SetSpeaker, on ? 1 : 0);
}

int32_t Wrapper::GetSpeaker() {
  int32_t v = 1;
  XPM_CALL(XPM_GetSpeaker, &v);
  return v;
}

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

int32_t Wrapper::GetAudioDecodeMode() {
  int32_t v = 1;
  XPM_CALL(XPM_GetAudioDecodeMode, Window, &v);
  return v;
}

int32_t Wrapper::GetCurrentAudioIndex() {
  int32_t v = 0;
  XPM_CALL(XPM_GetCurrentAudioService, Window, &v);
  return v;
}

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

void Wrapper::OnSetClosedCaptionState(int32_t v) {
  ClosedCaptionState = v;
  SetCCState(v);
}

int32_t Wrapper::SetCCState(int32_t state) {
  TraceInt(T_SET_CC_STATE, state);
  return XPM_CALL(XPM_SetCaptionRenderState, Window, state);
}

int32_t Wrapper::GetCCState() {
  int32_t v = 0;
  XPM_CALL(XPM_GetCaptionRenderState, Window, &v);
  return v;
}

void Wrapper::OnSetCCPreference(int32_t v) {
  CCPreference = v;
  SetCaptionDecodeMode(v);
}

int32_t Wrapper::SetCaptionDecodeMode(int32_t mode) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceInt(T_SET_CAPTION_DECODE_MODE, mode);
  return XPM_CALL(XPM_SetCaptionDecodeMode, mode);
}

int32_t Wrapper::GetCaptionDecodeMode() {
  int32_t v = 1;
  XPM_CALL(XPM_GetCaptionDecodeMode, &v);
  return v;
}

void Wrapper::BackupCCState() {
  int32_t state = CCRenderStateBackup;
  XPM_CALL(XPM_GetCaptionRenderState, Window, &state);
  CCRenderStateBackup = state;
  XPM_CALL(XPM_SetCaptionRenderState, Window, XPM_CAPTION_RENDER_STATE_OFF);
}

void Wrapper::RecoverCCState() { XPM_CALL(XPM_SetCaptionRenderState, Window, CCRenderStateBackup); }

void Wrapper::OnSetBasicCCMode(int32_t v) {
  BasicCCMode = v;
  SetPreferBasicCaptionService(v);
}

int32_t Wrapper::SetPreferBasicCaptionService(int32_t service) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceInt(T_SET_PREFER_BASIC_CAPTION, service);
  BackupCCState();
  int32_t status = XPM_CALL(XPM_SetPreferredBasicCaptionService, service + 1);
  RecoverCCState();
  return status;
}

int32_t Wrapper::GetPreferBasicCaptionService() {
  int32_t v = 0;
  if (XPM_CALL(XPM_GetPreferredBasicCaptionService, &v) != 0) return 2;
  return v - 1;
}

void Wrapper::OnSetAdvancedCCMode(int32_t v) {
  AdvancedCCMode = v;
  SetPreferAdvanceCaptionService(v);
}

int32_t Wrapper::SetPreferAdvanceCaptionService(int32_t service) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceInt(T_SET_PREFER_ADVANCED_CAPTION, service);
  BackupCCState();
  int32_t status = XPM_CALL(XPM_SetPreferredAdvancedCaptionService, service + 1);
  RecoverCCState();
  return status;
}

int32_t Wrapper::GetPreferAdvanceCaptionService() {
  int32_t v = 0;
  if (XPM_CALL(XPM_GetPreferredAdvancedCaptionService, &v) != 0) return 0;
  return v - 1;
}

int32_t Wrapper::SetAdvanceCaptionProperty(int32_t index, int32_t v) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceIntInt(T_SET_ADVANCE_CAPTION_PROPERTY, index, v);
  return XPM_CALL(XPM_SetAdvancedCaptionProperty, index, v);
}

int32_t Wrapper::GetAdvanceCaptionProperty(int32_t index) {
  int32_t v = 1;
  XPM_CALL(XPM_GetAdvancedCaptionProperty, index, &v);
  return v;
}

void Wrapper::OnSetCC708_WinJustification(int32_t v) {
  CC708_WinJustification = v;
  SetAdvanceCaptionProperty(0, v);
}
void Wrapper::OnSetCC708_WinColor(int32_t v) {
  CC708_WinColor = v;
  SetAdvanceCaptionProperty(1, v);
}
void Wrapper::OnSetCC708_WinOpacity(int32_t v) {
  CC708_WinOpacity = v;
  SetAdvanceCaptionProperty(2, v);
}
void Wrapper::OnSetCC708_FontSize(int32_t v) {
  CC708_FontSize = v;
  SetAdvanceCaptionProperty(3, v);
}
void Wrapper::OnSetCC708_FontStyle(int32_t v) {
  CC708_FontStyle = v;
  SetAdvanceCaptionProperty(4, v);
}
void Wrapper::OnSetCC708_EdgeColor(int32_t v) {
  CC708_EdgeColor = v;
  SetAdvanceCaptionProperty(5, v);
}
void Wrapper::OnSetCC708_EdgeType(int32_t v) {
  CC708_EdgeType = v;
  SetAdvanceCaptionProperty(6, v);
}
void Wrapper::OnSetCC708_FontColor(int32_t v) {
  CC708_FontColor = v;
  SetAdvanceCaptionProperty(7, v);
}
void Wrapper::OnSetCC708_FontOpacity(int32_t v) {
  CC708_FontOpacity = v;
  SetAdvanceCaptionProperty(8, v);
}
void Wrapper::OnSetCC708_BgColor(int32_t v) {
  CC708_BgColor = v;
  SetAdvanceCaptionProperty(9, v);
}
void Wrapper::OnSetCC708_BgOpacity(int32_t v) {
  CC708_BgOpacity = v;
  SetAdvanceCaptionProperty(10, v);
}

int32_t Wrapper::SetBasicCaptionProperty(int32_t index, int32_t v) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceIntInt(T_SET_BASIC_CAPTION_PROPERTY, index, v);
  return XPM_CALL(XPM_SetBasicCaptionProperty, index, v);
}

int32_t Wrapper::GetBasicCaptionProperty(int32_t index) {
  int32_t v = 0;
  XPM_CALL(XPM_GetBasicCaptionProperty, index, &v);
  return v;
}

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
