// The skin Wrapper's services: the caption and audio-track keys, the audio
// and language names, the "none" rating and rating-block switches, the IP
// configuration fields, picture-in-picture, the shared PC input, the system
// manager's register table and country, and the power key.
#include <iterator>
#include <cstring>
#include <string>

#include "platform/tvsm/tvsm_register.h"
#include "platform/xpm/xpm_oem.h"
#include "platform/xpm/xpm_services.h"
#include "platform/xpm/xpm_settings.h"
#include "runtime/string.h"
#include "runtime/trace.h"
#include "strings/SkinBinServices.h"
#include "strings/Strings.h"
#include "units/SkinBin/ClosedCaptionService.h"
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/IF_Configuration.h"
#include "units/Wrapper/WrapperInternal.h"

namespace SkinBin {

using namespace ::SkinBinServices;

namespace {

constexpr int32_t kCaptionOff = XPM_CAPTION_RENDER_STATE_ON_WHEN_MUTE;
constexpr int32_t kCaptionOn = XPM_CAPTION_RENDER_STATE_ON;
// The "none" rating's dimensions: the age rating (1, all contents) and the
// movie ratings 8 and 1.
constexpr int32_t kNoneAgeRating = 1;
constexpr int32_t kNoneAgeContent = 0x1111111;
constexpr int32_t kNoneMovieRatings[] = {8, 1};
constexpr int32_t kRatingBlockBit = 2;

std::string Ansi(const kv::String& s) {
  char out[TVSM_REGISTER_TEXT_MAX + 1];
  kv::StringToAnsi(s, out, sizeof out, '?');
  return out;
}

}  // namespace

// --- Captions ------------------------------------------------------------------------

SkinBin::ClosedCaptionService* Wrapper::GetCaptionService() {
  auto* record = kv::New<ClosedCaptionService>();
  XPM_CaptionService rec{0, 0};
  if (XPM_CALL(XPM_GetCurrentCaptionService, Window, &rec) == 0) {
    record->Type = rec.type;
    record->Index = rec.service - 1;
  }
  return record;
}

int32_t Wrapper::SetCaptionService(SkinBin::ClosedCaptionService* service) {
  if (int32_t lock = GetOSDLock()) return lock;
  if (!service) return XPM_ERR_INVALID_PARAM;
  BackupCCState();
  const int32_t status = XPM_CALL(XPM_SetCaptionService, Window, service->Type, service->Index + 1);
  RecoverCCState();
  return status;
}

int32_t Wrapper::SetBasicCaptionService(int32_t n) { return SetPreferBasicCaptionService(n); }
int32_t Wrapper::SetAdvanceCaptionService(int32_t n) { return SetPreferAdvanceCaptionService(n); }
int32_t Wrapper::GetBasicCaptionService() { return GetPreferBasicCaptionService(); }
int32_t Wrapper::GetAdvanceCaptionService() { return GetPreferAdvanceCaptionService(); }

int32_t Wrapper::OnGetCCKeyDigital() {
  if (GetCCState() == kCaptionOff) return CCKeyDigital = 0;
  const ClosedCaptionService* svc = GetCaptionService();
  return CCKeyDigital = svc->Type == 0 ? svc->Index + 1 : svc->Index + 5;
}

// Off writes the render state 2 ("on when muted"): captions still show
// while the sound is muted.
void Wrapper::OnSetCCKeyDigital(int32_t v) {
  CCKeyDigital = v;
  if (OSDLock) return;
  if (v <= 0) {
    SetCCState(kCaptionOff);
    return;
  }
  auto* svc = kv::New<ClosedCaptionService>();
  svc->Type = v >= 5 ? 1 : 0;
  svc->Index = v >= 5 ? v - 5 : v - 1;
  SetCaptionService(svc);
  if (GetCCState() != kCaptionOn) SetCCState(kCaptionOn);
}

int32_t Wrapper::OnGetCCKey() {
  if (GetCCState() == kCaptionOff) return CCKey = 0;
  return CCKey = GetBasicCaptionService() + 1;
}

void Wrapper::OnSetCCKey(int32_t v) {
  CCKey = v;
  if (OSDLock) return;
  if (v <= 0) {
    SetCCState(kCaptionOff);
    return;
  }
  SetBasicCaptionService(v - 1);
  if (GetCCState() != kCaptionOn) SetCCState(kCaptionOn);
}

// --- Audio ---------------------------------------------------------------------------

int32_t Wrapper::OnGetMTSKeyDigital() { return MTSKeyDigital = GetCurrentAudioIndex(); }
void Wrapper::OnSetMTSKeyDigital(int32_t v) {
  MTSKeyDigital = v;
  SetAudioService(v);
}
int32_t Wrapper::OnGetMTSKey() { return MTSKey = GetAudioDecodeMode(); }
void Wrapper::OnSetMTSKey(int32_t v) {
  MTSKey = v;
  SetAudioDecodeMode(v);
}

int32_t Wrapper::AutoAudioSwitch() {
  if (OSDLock) return 0;
  if (!IsTunerSource()) return 12;
  Structures::VirtualChannel* channel = GetCurrentChannel();
  if (!IsDigitalChannel(channel->Major, channel->Minor)) return SetAudioDecodeMode((GetAudioDecodeMode() + 1) % 3);
  const int32_t count = HasAlternateAudio();
  if (count < 2) return 1;
  return SetAudioService((GetCurrentAudioIndex() + 1) % count);
}

namespace {

// The menu languages' codes and the names they map to.
struct LanguageName {
  kv::TextId code;
  kv::TextId name;
};
constexpr LanguageName kMenuLanguages[] = {
    {LANG_CODE_ENG, ::Strings::Language1}, {LANG_CODE_FRE, ::Strings::Language2}, {LANG_CODE_SPA, ::Strings::Language3}};
struct FullLanguageName {
  kv::TextId code;
  const kv::MultiTextId* name;
};
constexpr FullLanguageName kFullLanguages[] = {{LANG_CODE_ENG, &LANG_FULL_ENG}, {LANG_CODE_FRE, &LANG_FULL_FRE},
                                               {LANG_CODE_SPA, &LANG_FULL_SPA}, {LANG_CODE_KOR, &LANG_FULL_KOR},
                                               {LANG_CODE_CHI, &LANG_FULL_CHI}, {LANG_CODE_JPN, &LANG_FULL_JPN}};
constexpr const kv::MultiTextId* kDecodeModeNames[] = {&AUDIO_MONO, &AUDIO_STEREO, &AUDIO_SAP};

// The sources whose sound comes from a shared jack, and the jack's setting
// under which the source's own sound is in use.
constexpr int32_t kSideSharedSource = 5;
constexpr int32_t kSideSharedOtherSource = 12;
constexpr int32_t kRearSharedSource = 21;
constexpr int32_t kRearSharedOtherSource = 13;

}  // namespace

kv::String Wrapper::LanguageFromXPM(const kv::String& code) {
  const kv::String lower = kv::GetStringLower(code);
  for (const auto& l : kMenuLanguages)
    if (lower == kv::LoadString(l.code)) return kv::LoadString(l.name);
  if (lower.Length() > 0 && lower.At(0) >= u'a' && lower.At(0) <= u'z') return lower;
  return kv::String();
}

kv::String Wrapper::GetFullLangName(const kv::String& code) {
  const kv::String lower = kv::GetStringLower(code);
  for (const auto& l : kFullLanguages)
    if (lower == kv::LoadString(l.code)) return kv::GetVariantOfString(*l.name);
  return kv::String();
}

kv::String Wrapper::GetCurrentAudioService() {
  const kv::String name = LanguageFromXPM(GetAudioServiceLang(GetCurrentAudioIndex()));
  return name.Length() > 0 ? name : kv::GetVariantOfString(::Strings::SID_AUDIO);
}

kv::String Wrapper::GetAutoAudioName() {
  if (OSDLock) return kv::String();
  if (!IsTunerSource()) return kv::GetVariantOfString(AUDIO_NOT_AVAILABLE);
  Structures::VirtualChannel* channel = GetCurrentChannel();
  if (IsDigitalChannel(channel->Major, channel->Minor)) return GetCurrentAudioService();
  const int32_t mode = GetAudioDecodeMode();
  if (mode < 0 || mode >= static_cast<int32_t>(std::size(kDecodeModeNames)))
    return kv::GetVariantOfString(AUDIO_NOT_AVAILABLE);
  return kv::GetVariantOfString(*kDecodeModeNames[mode]);
}

bool Wrapper::IsAudioSelectedSource(int32_t source) {
  switch (source) {
    case kSideSharedSource:
      return OnGetSideSharedAudio() == 1;
    case kSideSharedOtherSource:
      return OnGetSideSharedAudio() == 0;
    case kRearSharedSource:
      return OnGetRearSharedAudio() == 0;
    case kRearSharedOtherSource:
      return OnGetSeriesType() == 0 || OnGetRearSharedAudio() == 0;
    default:
      return true;
  }
}

int32_t Wrapper::SetHalfMute(int32_t v) { return XPM_CALL(XPM_SetExtOemPathProperty, Window, XPM_OEM_PATH_HALF_MUTE, v); }

int32_t Wrapper::GetHalfMute() {
  int32_t v = 0;
  XPM_CALL(XPM_GetExtOemPathProperty, Window, XPM_OEM_PATH_HALF_MUTE, &v);
  return v;
}

void Wrapper::ResetAudioVideoSettings() {
  const int32_t status = XPM_ResetAudioVideoProperties();
  kv::LogFailedCall("XPM_ResetAudioVideoProperties", status);
}

// Not defined by the set's own operations: answered from the middleware's
// HDMI audio-video mute state of the Wrapper's window.
bool Wrapper::IsHDMIAvMuted() {
  int32_t muted = 0;
  return XPM_CALL(XPM_GetHdmiAvMute, Window, &muted) == 0 && muted != 0;
}

// --- Ratings and locks ---------------------------------------------------------------

void Wrapper::SetNoneRating(bool v) {
  if (OSDLock) return;
  ::Wrapper::detail::TraceBool(T_SET_NONE_RATING, v);
  XPM_CALL(XPM_SetUsAgeRating, kNoneAgeRating, kNoneAgeContent, v ? 1 : 0, 0);
  for (int32_t rating : kNoneMovieRatings) XPM_CALL(XPM_SetUsMovieRating, rating, v ? 1 : 0, 0);
}

bool Wrapper::GetNoneRating() {
  int32_t blocked = 0;
  if (XPM_CALL(XPM_GetUsAgeRating, kNoneAgeRating, kNoneAgeContent, &blocked) != 0 || !blocked) return false;
  for (int32_t rating : kNoneMovieRatings) {
    blocked = 0;
    if (XPM_CALL(XPM_GetUsMovieRating, rating, &blocked) != 0 || !blocked) return false;
  }
  return true;
}

int32_t Wrapper::OnGetEnableRatingBlock() { return EnableRatingBlock = (GetParentalLocksMask() & kRatingBlockBit) ? 1 : 0; }

void Wrapper::OnSetEnableRatingBlock(int32_t v) {
  EnableRatingBlock = v;
  const int32_t mask = GetParentalLocksMask();
  const int32_t next = v ? (mask | kRatingBlockBit) : (mask & ~kRatingBlockBit);
  if (next != mask) SetParentalLocksMask(next);
}

// Walks every channel once. The walk ends at the end of the list, on any
// failure of the walk, and when it comes back to a channel it has seen (a
// ring that wraps round would otherwise never end).
void Wrapper::ResetChannelLocks() {
  XPM_VirtualChannel at{-1, -1};
  XPM_VirtualChannel first{-1, -1};
  for (int32_t steps = 0;; ++steps) {
    XPM_VirtualChannel next{0, 0};
    const int32_t status = XPM_GetNextChannel(-1, -1, 0, at.major, at.minor, &next, XPM_CHANNEL_SELECT_SKIP_EMPTY,
                                              XPM_CHANNEL_ONLY_ANY, 0);
    if (status != 0) {
      if (status != XPM_ERR_END_OF_LIST) kv::LogFailedCall("XPM_GetNextChannel", status);
      return;
    }
    if (steps == 0) {
      first = next;
    } else if (next.major == first.major && next.minor == first.minor) {
      return;
    }
    if (next.major == at.major && next.minor == at.minor) return;
    at = next;
    int32_t locked = 0;
    if (XPM_CALL(XPM_GetChannelLock, at.major, at.minor, &locked) == 0 && locked) {
      kv::Log("Unlock Channel " + std::to_string(at.major) + "." + std::to_string(at.minor));
      XPM_CALL(XPM_SetChannelLock, at.major, at.minor, 0);
    }
  }
}

// --- Network fields ------------------------------------------------------------------
// The fields read the interface record that the network screens' status
// check keeps (NetworkSetup.LAN_GetIfState). Every write sends the whole
// record, changed, to the current device; the record takes the change only
// when the set accepted it. A refused write reads the record again, so that
// the screens show what the interface really holds. Over a record that was
// not read (the status check failed) nothing is sent: its zeros would
// overwrite the interface's static addresses. NetworkSetup.LastApply keeps
// the outcome for the screens.

namespace {

uint32_t AddressOf(const uint8_t (&bytes)[4]) {
  return static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
         static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
}

void PutAddress(uint8_t (&bytes)[4], uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

void CopyRecord(const Structures::IF_Configuration& from, Structures::IF_Configuration& to) {
  to.DHCP = from.DHCP;
  std::memcpy(to.IPAddress, from.IPAddress, 4);
  std::memcpy(to.SubnetMask, from.SubnetMask, 4);
  std::memcpy(to.DefaultGateway, from.DefaultGateway, 4);
  std::memcpy(to.DNS1, from.DNS1, 4);
  std::memcpy(to.DNS2, from.DNS2, 4);
}

// Sends the current record with `change` applied; the middleware's status.
template <class Change>
int32_t ApplyRecord(SkinBin::NetworkSetup& net, int32_t device, const char* field, Change change) {
  Structures::IF_Configuration* rec = net.GetIfConfig();
  if (!net.IfStateRead()) {
    kv::Log(std::string("Network: ") + field + " not applied: the interface's addresses could not be read");
    return net.LastApply = -1;
  }
  auto* changed = kv::New<Structures::IF_Configuration>();
  CopyRecord(*rec, *changed);
  change(*changed);
  const int32_t r = net.LAN_SetIfConfig(device, changed);
  net.LastApply = r;
  if (r == 0)
    CopyRecord(*changed, *rec);
  else
    net.LAN_GetIfState(device);
  return r;
}

}  // namespace

#define SKIN_NETWORK_ADDRESS(Field)                                                           \
  uint32_t Wrapper::OnGet##Field() {                                                          \
    if (const Structures::IF_Configuration* rec = NetworkSetup.GetIfConfig())                 \
      Field = AddressOf(rec->Field);                                                          \
    return Field;                                                                             \
  }                                                                                           \
  void Wrapper::OnSet##Field(uint32_t v) {                                                    \
    if (ApplyRecord(NetworkSetup, GetCurrentLanDevId(), #Field,                               \
                    [v](Structures::IF_Configuration& rec) { PutAddress(rec.Field, v); }) == 0) \
      Field = v;                                                                              \
  }

SKIN_NETWORK_ADDRESS(IPAddress)
SKIN_NETWORK_ADDRESS(SubnetMask)
SKIN_NETWORK_ADDRESS(DefaultGateway)
SKIN_NETWORK_ADDRESS(DNS1)
SKIN_NETWORK_ADDRESS(DNS2)
#undef SKIN_NETWORK_ADDRESS

int32_t Wrapper::OnGetAutoSetup() {
  if (const Structures::IF_Configuration* rec = NetworkSetup.GetIfConfig()) AutoSetup = rec->DHCP != 0 ? 1 : 0;
  return AutoSetup;
}

void Wrapper::OnSetAutoSetup(int32_t v) {
  const uint8_t dhcp = v == 1 ? 1 : 0;
  if (ApplyRecord(NetworkSetup, GetCurrentLanDevId(), "AutoSetup",
                  [dhcp](Structures::IF_Configuration& rec) { rec.DHCP = dhcp; }) == 0)
    AutoSetup = dhcp;
}

// --- Picture-in-picture and the shared PC input ---------------------------------------

int32_t Wrapper::OnGetPipAudio() { return PipAudio = GetPipAudio() ? 1 : 0; }
void Wrapper::OnSetPipAudio(int32_t v) {
  PipAudio = v;
  SetPipAudio(v > 0 ? 1 : 0);
}
int32_t Wrapper::OnGetPipMode() { return PipMode = GetPIPState(); }
void Wrapper::OnSetPipMode(int32_t v) {
  PipMode = v;
  SetPIP(v);
}
int32_t Wrapper::OnGetPipSize() { return PipSize = ::Wrapper::detail::GetWithDefault(0, [](int32_t* out) { return XPM_CALL(XPM_GetPipSize, out); }); }
void Wrapper::OnSetPipSize(int32_t v) {
  PipSize = v;
  XPM_CALL(XPM_SetPipSize, v);
}
int32_t Wrapper::OnGetPipSource() { return PipSource = GetCurrentSource(1); }
void Wrapper::OnSetPipSource(int32_t v) {
  PipSource = v;
  XPM_CALL(XPM_SetSource, 1, v);
}

void Wrapper::OnSetSharedPCInput(int32_t v) {
  SharedPCInput = v;
  const int32_t vanishing = v ? 21 : 13;
  const int32_t replacement = v ? 13 : 21;
  XPM_CALL(XPM_SetExtOemProperty, XPM_OEM_SHARED_PC_INPUT, v);
  if (GetCurrentSource(0) == vanishing) SetSource(0, replacement);
  if (OnGetAutoInputTV() == vanishing) OnSetAutoInputTV(replacement);
  if (OnGetAutoInputCableSat() == vanishing) OnSetAutoInputCableSat(replacement);
  if (OnGetAutoInputBDDVD() == vanishing) OnSetAutoInputBDDVD(replacement);
  if (OnGetAutoInputAUX() == vanishing) OnSetAutoInputAUX(replacement);
}

// --- Register table and country ------------------------------------------------------

kv::String Wrapper::GetStringFromRegisterTable(const kv::String& key) {
  const std::string k = Ansi(key);
  char out[TVSM_REGISTER_TEXT_MAX + 1] = {};
  kv::String value;
  if (kv::LogFailedCall("TVSM_RegisterTableGetString", TVSM_RegisterTableGetString(k.c_str(), out, sizeof out)) == 0)
    value = kv::NewStringAnsi(out);
  kv::Trace("%s%s%s", {kv::LoadString(T_REGISTER_GET), key, value});
  return value;
}

void Wrapper::PutStringToRegisterTable(const kv::String& key, const kv::String& value) {
  kv::Trace("%s%s%s%s", {kv::LoadString(T_REGISTER_PUT), key, kv::LoadString(T_REGISTER_VALUE), value});
  const std::string k = Ansi(key);
  const std::string v = Ansi(value);
  kv::LogFailedCall("TVSM_RegisterTablePutString",
                    TVSM_RegisterTablePutString(k.c_str(), v.c_str(), static_cast<uint32_t>(v.size())));
}

float Wrapper::GetFloatFromRegisterTable(const kv::String& key) {
  const std::string k = Ansi(key);
  float value = 0;
  kv::LogFailedCall("TVSM_RegisterTableGetFloat", TVSM_RegisterTableGetFloat(k.c_str(), &value));
  return value;
}

void Wrapper::PutFloatToRegisterTable(const kv::String& key, float value) {
  const std::string k = Ansi(key);
  kv::LogFailedCall("TVSM_RegisterTablePutFloat", TVSM_RegisterTablePutFloat(k.c_str(), value));
}

void Wrapper::RegisterTableChangeNotify(const kv::String& key, bool on) {
  kv::Trace("%s%s%b", {kv::LoadString(T_REGISTER_NOTIFY), key, on});
  const std::string k = Ansi(key);
  if (on)
    kv::LogFailedCall("TVSM_RegisterTableRegisterValueChangeNotice",
                      TVSM_RegisterTableRegisterValueChangeNotice(k.c_str(), 1));
  else
    kv::LogFailedCall("TVSM_RegisterTableUnregisterValueChangeNotice",
                      TVSM_RegisterTableUnregisterValueChangeNotice(k.c_str(), 1));
}

int32_t Wrapper::OnGetCountry() {
  const kv::String value = GetStringFromRegisterTable(kv::LoadString(REG_COUNTRY));
  if (value == kv::LoadString(REG_COUNTRY_FR)) return Country = 1;
  if (value == kv::LoadString(REG_COUNTRY_ES)) return Country = 2;
  return Country = 0;
}

void Wrapper::OnSetCountry(int32_t v) {
  Country = v;
  const kv::TextId locale = v == 1 ? REG_COUNTRY_LOCALE_FR : v == 2 ? REG_COUNTRY_LOCALE_ES : REG_COUNTRY_LOCALE_EN;
  const kv::TextId country = v == 1 ? REG_COUNTRY_FR : v == 2 ? REG_COUNTRY_ES : REG_COUNTRY_EN;
  const kv::String pairs[2][2] = {{kv::LoadString(REG_LOCALE_KEY), kv::LoadString(locale)},
                                  {kv::LoadString(REG_COUNTRY), kv::LoadString(country)}};
  for (const auto& [key, value] : pairs)
    if (GetStringFromRegisterTable(key) != value) PutStringToRegisterTable(key, value);
}

// --- System --------------------------------------------------------------------------

int32_t Wrapper::PowerKeyControl(int32_t v) {
  PowerKeyEnabled = v != 0;
  return XPM_CALL(XPM_PowerKeyCtrl, static_cast<int8_t>(v));
}

bool Wrapper::IsCHLowSignal() { return GetSignalStrength() < 20; }
int32_t Wrapper::OnGetCurrentPhysicalChannel() { return GetCurrentPhysicalChannel(); }
int32_t Wrapper::GetValidSourceNum() { return GetNumSources(); }

}  // namespace SkinBin
