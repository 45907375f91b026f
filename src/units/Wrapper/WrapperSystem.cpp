// Rating, lock, time and system properties and the channel-scan forwards of
// the Wrapper.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/xpm/xpm_settings.h"
#include "runtime/string.h"
#include "runtime/text.h"
#include "runtime/trace.h"
#include "strings/Wrapper.h"
#include "units/Structures/VirtualChannel.h"
#include "units/Wrapper/Wrapper.h"
#include "units/Wrapper/WrapperInternal.h"

namespace Wrapper {

using detail::TraceBool;
using detail::TraceLabel;

// --- Parental locks ----------------------------------------------------------------

WRAPPER_CACHED_SET(ParentalLocks, SetParentalLocksState)

int32_t Wrapper::SetParentalLocksState(int32_t state) {
  return GuardedSet(T_SET_PARENTAL_LOCKS_STATE, state, [&]() -> int32_t {
    if (static_cast<uint32_t>(state) > XPM_PARENTAL_LOCKS_STATE_ON) {
      kv::Log("Wrapper: parental lock state " + std::to_string(state) + " refused (0 to 2)");
      return XPM_ERR_INVALID_PARAM;
    }
    return XPM_CALL(XPM_SetParentalLocksState, state);
  });
}

int32_t Wrapper::GetParentalLocksState() { return WRAPPER_READ(0, XPM_GetParentalLocksState); }

void Wrapper::OnSetBlockUnratedContent(int32_t v) {
  BlockUnratedContent = v;
  SetUnratedContent(v != 0);
}

int32_t Wrapper::OnGetBlockUnratedContent() { return BlockUnratedContent = GetUnratedContent(); }

int32_t Wrapper::SetUnratedContent(bool blocked) {
  return GuardedSetFlag(T_SET_UNRATED_CONTENT, blocked,
                        [&] { return XPM_CALL(XPM_SetUnratedContent, blocked ? 1 : 0); });
}

int32_t Wrapper::GetUnratedContent() { return Int2Bool(WRAPPER_READ(0, XPM_GetUnratedContent)); }

WRAPPER_DIRECT_FLAG(PanelLock, XPM_SetFrontPanelLockState, XPM_GetFrontPanelLockState)

int32_t Wrapper::SetParentalLocksMask(int32_t mask) {
  if (int32_t lock = GetOSDLock()) return lock;
  return XPM_CALL(XPM_SetParentalLocksMask, mask & 255);
}

int32_t Wrapper::GetParentalLocksMask() { return WRAPPER_READ(0, XPM_GetParentalLocksMask); }

// --- Ratings ----------------------------------------------------------------------------

namespace {

void TraceRating(kv::TextId label, uint32_t a, uint32_t b, bool d, bool blocked) {
  kv::Trace("%s%u%s%u%s%b%s%b", {kv::LoadString(label), a, kv::LoadString(T_RATING_CONTENT), b,
                                 kv::LoadString(T_RATING_EXTRA), d, kv::LoadString(T_RATING_BLOCKED), blocked});
}

}  // namespace

int32_t Wrapper::SetUsChildRating(uint32_t a, uint32_t b, bool blocked, bool d) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceRating(T_SET_US_CHILD_RATING, a, b, d, blocked);
  return XPM_CALL(XPM_SetUsChildRating, static_cast<int32_t>(a), static_cast<int32_t>(b), blocked ? 1 : 0,
                  d ? 1 : 0);
}

int32_t Wrapper::SetUsAgeRating(uint32_t a, uint32_t b, bool blocked, bool d) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceRating(T_SET_US_AGE_RATING, a, b, d, blocked);
  return XPM_CALL(XPM_SetUsAgeRating, static_cast<int32_t>(a), static_cast<int32_t>(b), blocked ? 1 : 0,
                  d ? 1 : 0);
}

int32_t Wrapper::SetUsMovieRating(uint32_t a, bool b, bool c) {
  if (int32_t lock = GetOSDLock()) return lock;
  kv::Trace("%s%u%s%b%s%b", {kv::LoadString(T_SET_US_MOVIE_RATING), a, kv::LoadString(T_RATING_BLOCKED), b,
                             kv::LoadString(T_RATING_EXTRA), c});
  return XPM_CALL(XPM_SetUsMovieRating, static_cast<int32_t>(a), b ? 1 : 0, c ? 1 : 0);
}

int32_t Wrapper::SetCanadaLevel(uint32_t a, uint32_t b, bool blocked, bool d) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceRating(T_SET_CANADA_LEVEL, a, b, d, blocked);
  return XPM_CALL(XPM_SetCanadaLevel, static_cast<int32_t>(a), static_cast<int32_t>(b), blocked ? 1 : 0,
                  d ? 1 : 0);
}

int32_t Wrapper::GetUsChildRating(int32_t a, int32_t b) { return WRAPPER_READ(0, XPM_GetUsChildRating, a, b); }

int32_t Wrapper::GetUsAgeRating(int32_t a, int32_t b) { return WRAPPER_READ(0, XPM_GetUsAgeRating, a, b); }

int32_t Wrapper::GetCanadaLevel(int32_t a, int32_t b) { return WRAPPER_READ(0, XPM_GetCanadaLevel, a, b); }

int32_t Wrapper::GetUsMovieRating(int32_t a) { return WRAPPER_READ(0, XPM_GetUsMovieRating, a); }

int32_t Wrapper::SetChannelLock(Structures::VirtualChannel* channel, bool locked) {
  if (int32_t lock = GetOSDLock()) return lock;
  if (!channel) {
    kv::Log("Wrapper::SetChannelLock: no channel");
    return XPM_ERR_INVALID_PARAM;
  }
  return XPM_CALL(XPM_SetChannelLock, channel->Major, channel->Minor, locked ? 1 : 0);
}

int32_t Wrapper::GetChannelLock(Structures::VirtualChannel* channel) {
  if (!channel) return 0;
  return WRAPPER_READ(0, XPM_GetChannelLock, channel->Major, channel->Minor);
}

int32_t Wrapper::SetSourceLock(int32_t source, bool locked) {
  if (int32_t lock = GetOSDLock()) return lock;
  return XPM_CALL(XPM_SetSourceLock, source, locked ? 1 : 0);
}

int32_t Wrapper::GetSourceLock(int32_t source) { return WRAPPER_READ(0, XPM_GetSourceLock, source); }

void Wrapper::SetPreferRatingLanguage(int32_t value) {
  // The chosen language first, then the fall-backs down to English.
  if (value == 1) XPM_CALL(XPM_SetPreferredRatingLanguage, "spa");
  if (value == 1 || value == 2) XPM_CALL(XPM_SetPreferredRatingLanguage, "fre");
  XPM_CALL(XPM_SetPreferredRatingLanguage, "eng");
}

// --- Time --------------------------------------------------------------------------------

void Wrapper::OnSetTimeZone(int32_t zone) {
  TimeZone = zone;
  int32_t current = 0;
  int32_t dst = 0;
  XPM_CALL(XPM_GetTimeZone, &current, &dst);
  XPM_CALL(XPM_SetTimeZone, zone, dst);
}

int32_t Wrapper::OnGetTimeZone() {
  int32_t zone = 0;
  int32_t dst = 0;
  XPM_CALL(XPM_GetTimeZone, &zone, &dst);
  return TimeZone = zone;
}

void Wrapper::OnSetDaylightSavingTime(int32_t flag) {
  DaylightSavingTime = flag;
  int32_t zone = 0;
  int32_t dst = 0;
  XPM_CALL(XPM_GetTimeZone, &zone, &dst);
  XPM_CALL(XPM_SetTimeZone, zone, flag != 0 ? 1 : 0);
}

int32_t Wrapper::OnGetDaylightSavingTime() {
  int32_t zone = 0;
  int32_t dst = 0;
  XPM_CALL(XPM_GetTimeZone, &zone, &dst);
  return DaylightSavingTime = (dst != 0 ? 1 : 0);
}

int32_t Wrapper::SetAutoTimeUpdate(int32_t status) {
  return GuardedSet(T_SET_AUTO_TIME_UPDATE, status, [&] { return XPM_CALL(XPM_SetAutoTimeUpdate, status); });
}

int32_t Wrapper::GetAutoTimeUpdate() { return WRAPPER_READ(0, XPM_GetAutoTimeUpdate); }

double Wrapper::GetGMTOffset(int32_t zone, int32_t dst) {
  float offset = 0.0f;
  XPM_CALL(XPM_GetGMTOffset, zone, dst, &offset);
  return static_cast<double>(offset);
}

// --- System ---------------------------------------------------------------------------------

WRAPPER_CACHED_SET(AntCableIn, SetMedium)

int32_t Wrapper::SetMedium(int32_t medium) {
  int32_t status = XPM_CALL(XPM_SetMedium, medium);
  // The channels of the other medium are not those remembered.
  ResetLastChannel();
  return status;
}

int32_t Wrapper::GetMedium() { return WRAPPER_READ(1, XPM_GetMedium); }

int32_t Wrapper::SetLanguage(int32_t value) {
  if (int32_t lock = GetOSDLock()) return lock;
  int32_t language = value == 1 ? 2 : value == 2 ? 1 : 0;
  kv::SetLanguage(language);
  static constexpr kv::TextId kLabels[] = {T_LANGUAGE_ENGLISH, T_LANGUAGE_FRENCH, T_LANGUAGE_SPANISH};
  TraceLabel(kLabels[language]);
  return 0;
}

int32_t Wrapper::Standby(int32_t mode, int32_t reason) {
  kv::Trace("%s%i%i", {kv::LoadString(T_STANDBY), mode, reason});
  return XPM_CALL(XPM_StandbyMode, mode, reason);
}

int32_t Wrapper::SetDpms(bool on) {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceBool(T_SET_DPMS, on);
  return 0;
}

int32_t Wrapper::SetPIP(int32_t mode) { return XPM_CALL(XPM_SetDualWindow, mode); }

int32_t Wrapper::GetPIPState() { return WRAPPER_READ(0, XPM_GetDualWindowMode); }

int32_t Wrapper::SetPipAudio(int32_t on) { return XPM_CALL(XPM_SetSecondaryWindowAudio, on); }

int32_t Wrapper::GetPipAudio() { return WRAPPER_READ(0, XPM_GetSecondaryWindowAudio); }

int32_t Wrapper::SetPipPosition(int32_t position) { return XPM_CALL(XPM_SetPipPosition, position); }

int32_t Wrapper::GetPipPosition() { return WRAPPER_READ(0, XPM_GetPipPosition); }

int32_t Wrapper::SwapSource() {
  if (int32_t lock = GetOSDLock()) return lock;
  return XPM_CALL(XPM_SwapSources);
}

kv::String Wrapper::GetFirmwareVersion() {
  char buffer[255] = {};
  if (XPM_GetFirmwareVersion(buffer, sizeof buffer) != 0) {
    kv::Log("Cannot get the firmware version info.");
    return {};
  }
  buffer[sizeof buffer - 1] = 0;
  return kv::NewStringAnsi(buffer);
}

int32_t Wrapper::GetSignalStrength() {
  int32_t quality = 0;
  if (XPM_CALL(XPM_GetSignalQuality, 0, &quality) != 0) return 70;
  return quality;
}

int32_t Wrapper::StartAnimation() { return ++AnimationCount; }

int32_t Wrapper::StopAnimation() {
  if (AnimationCount > StandingAnimationCount) --AnimationCount;
  return AnimationCount;
}

int32_t Wrapper::StartStandingAnimation() {
  ++StandingAnimationCount;
  return ++AnimationCount;
}

int32_t Wrapper::StopStandingAnimation() {
  if (StandingAnimationCount > 0) {
    --StandingAnimationCount;
    --AnimationCount;
  }
  return AnimationCount;
}

// --- Channel scans ---------------------------------------------------------------------------

namespace {

// Tells the front display that a scan runs.
void DisplayScan() {
  BCM_ChannelNumberDisplay record;
  std::memset(&record, 0, sizeof record);
  record.mode = BCM_DISPLAY_MODE_SCAN;
  XPM_CALL(BCM_DisplayChannelNumber, &record);
}

}  // namespace

int32_t Wrapper::StartChannelScan(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e, int32_t f) {
  DisplayScan();
  return XPM_CALL(XPM_StartChannelScan, a, static_cast<int8_t>(b), static_cast<int8_t>(c), static_cast<int8_t>(d),
                  static_cast<int16_t>(e), static_cast<int16_t>(f));
}

int32_t Wrapper::AbortChannelScan(int32_t a) { return XPM_CALL(XPM_AbortChannelScan, a); }

int32_t Wrapper::StartSingleChannelScan(int32_t channel, int32_t b, int32_t c, int32_t d, int32_t e, int32_t f) {
  kv::Trace("%s", {kv::ConcatString(kv::LoadString(T_START_SINGLE_CHANNEL_SCAN), kv::NewStringInt(channel, 0))});
  DisplayScan();
  return XPM_CALL(XPM_StartChannelDiscovery, channel, static_cast<int8_t>(b), static_cast<int8_t>(c),
                  static_cast<int8_t>(d), static_cast<int8_t>(e), static_cast<int8_t>(f));
}

int32_t Wrapper::AbortSingleChannelScan(int32_t a) { return XPM_CALL(XPM_AbortChannelDiscovery, a); }

int32_t Wrapper::StartEPGChannelScan(int32_t p1, int32_t p2, int32_t p3, int32_t p4) {
  return XPM_CALL(XPM_EPG_FullChannelScan, 0, p3, p4, p2, p1);
}

int32_t Wrapper::StartEPGSingleChannelScan(int32_t p1, int32_t p2, int32_t p3) {
  return XPM_CALL(XPM_EPG_SingleChannelScan, 0, p3, p2, p1);
}

int32_t Wrapper::AbortEPGChannelScan() { return XPM_CALL(XPM_EPG_AbortScan, 0); }

}  // namespace Wrapper
