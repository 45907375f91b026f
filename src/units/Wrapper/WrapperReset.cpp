// Resets of settings groups: everything, the clock and sleep timer, the
// channel memory, the locks, the audio, the captions and the picture preset.
#include <cstdio>
#include <cstring>

#include "platform/xpm/xpm_settings.h"
#include "runtime/trace.h"
#include "strings/Wrapper.h"
#include "units/Structures/LocalTime.h"
#include "units/Wrapper/Wrapper.h"
#include "units/Wrapper/WrapperInternal.h"

namespace Wrapper {

using detail::TraceLabel;

namespace {

// Prints "<text><status>" for a failed step of a reset; true when it failed.
bool PrintFailure(const char* format, int32_t status) {
  if (status == 0) return false;
  char line[128];
  std::snprintf(line, sizeof line, format, static_cast<int>(status));
  kv::Log(line);
  return true;
}

// Canadian rating levels: seven of the English system, six of the French.
constexpr int32_t kCanadaEnglishLevels = 7;
constexpr int32_t kCanadaFrenchLevels = 6;

}  // namespace

int32_t Wrapper::ResetAll() {
  if (int32_t lock = GetOSDLock()) return lock;
  Window = 0;
  ResetSetup();
  ResetChannel();
  AnimationCount = 0;
  StandingAnimationCount = 0;
  TraceLabel(T_RESET_ALL);
  return XPM_CALL(XPM_Reset, 0);
}

void Wrapper::ResetSetup() {
  TraceLabel(T_RESET_SETUP);
  // 1 January 2006, 00:00:00.
  auto* time = kv::New<Structures::LocalTime>();
  time->Year = 106;
  time->Month = 0;
  time->Day = 1;
  SetCurrentTime(time);
  SetSleepTimer(0);
}

void Wrapper::ResetChannel() {
  TraceLabel(T_RESET_CHANNEL);
  ResetLastChannel();
}

void Wrapper::ResetSource() { TraceLabel(T_RESET_SOURCE); }

int32_t Wrapper::ResetLock() {
  TraceLabel(T_RESET_LOCK);
  for (int32_t level = 0; level < kCanadaEnglishLevels; ++level) XPM_CALL(XPM_SetCanadaLevel, 0, level, 0, 1);
  for (int32_t level = 0; level < kCanadaFrenchLevels; ++level) XPM_CALL(XPM_SetCanadaLevel, 1, level, 0, 1);

  // Unlock every channel of the master ring; the rest of the reset runs
  // even when the walk is cut short, which the answer then reports.
  const int32_t walk = detail::WalkRing(
      "XPM_GetNextChannel",
      [](int32_t major, int32_t minor, XPM_VirtualChannel* next) {
        return XPM_GetNextChannel(-1, -1, XPM_MASTER_RING, major, minor, next, XPM_CHANNEL_SELECT_ALL,
                                  XPM_CHANNEL_ONLY_ANY, 0);
      },
      [](const XPM_VirtualChannel& channel) {
        int32_t locked = 0;
        if (XPM_CALL(XPM_GetChannelLock, channel.major, channel.minor, &locked) == 0 && locked != 0)
          XPM_CALL(XPM_SetChannelLock, channel.major, channel.minor, 0);
      });

  XPM_CALL(XPM_SetUnratedContent, 0);
  XPM_CALL(XPM_SetFrontPanelLockState, 0);
  const int32_t status = XPM_CALL(XPM_SetParentalLocksState, XPM_PARENTAL_LOCKS_STATE_ON);
  return walk != 0 ? walk : status;
}

void Wrapper::ResetAudio() {
  TraceLabel(T_RESET_AUDIO);
  PrintFailure("XPM_SetPreferredAudioDecodeMode returned error: %d", XPM_SetPreferredAudioDecodeMode(1));
  PrintFailure("XPM_SetPreferredAudioLanguage returned error: %d", XPM_SetPreferredAudioLanguage("eng"));
  PrintFailure("XPM_ResetAudioDefaults returned error: %d", XPM_ResetAudioDefaults());
  int32_t muted = 1;
  if (PrintFailure("XPM_GetMute returned error: %d", XPM_GetMute(&muted))) return;
  if (muted != 0) PrintFailure("XPM_SetMute returned error: %d", XPM_SetMute(XPM_AUDIO_PATH_MAIN, 0));
}

int32_t Wrapper::ResetClosedCaption() {
  TraceLabel(T_RESET_CLOSED_CAPTION);
  ResetAdvanceCaptionProperty();
  if (XPM_SetCaptionRenderState(0, XPM_CAPTION_RENDER_STATE_ON_WHEN_MUTE) != 0)
    kv::Log("Failed to reset RenderState to default");
  if (XPM_SetPreferredBasicCaptionService(1) != 0) kv::Log("Failed to reset PreferredBasic to default");
  if (XPM_SetPreferredAdvancedCaptionService(1) != 0) kv::Log("Failed to reset PreferredAdvanced to default");
  return XPM_CALL(XPM_SetCaptionDecodeMode, 2);
}

int32_t Wrapper::ResetAdvanceCaptionProperty() {
  if (int32_t lock = GetOSDLock()) return lock;
  TraceLabel(T_RESET_ADVANCE_CAPTION_PROPERTY);
  constexpr int32_t kOpaqueBlack = static_cast<int32_t>(0xff000000u);
  OnSetCC708_FontColor(kOpaqueBlack);
  OnSetCC708_FontOpacity(4);
  OnSetCC708_BgColor(kOpaqueBlack);
  OnSetCC708_BgOpacity(4);
  OnSetCC708_FontSize(3);
  OnSetCC708_FontStyle(7);
  OnSetCC708_EdgeColor(kOpaqueBlack);
  OnSetCC708_EdgeType(6);
  OnSetCC708_WinColor(kOpaqueBlack);
  OnSetCC708_WinOpacity(4);
  OnSetCC708_WinJustification(4);
  return 0;
}

int32_t Wrapper::ResetVideo() {
  TraceLabel(T_RESET_VIDEO);
  int32_t preset = 0;
  XPM_CALL(XPM_GetVideoPreset, Window, &preset);
  return XPM_CALL(XPM_ResetVideoPreset, Window, preset);
}

}  // namespace Wrapper
