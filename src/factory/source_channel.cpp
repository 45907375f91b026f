// The source, channel, caption and parental-rating commands, with the two
// tuning routines, the input routine and the caption colour cycle.
#include <iterator>

#include "factory/internal.h"
#include "platform/xpm/xpm.h"
#include "platform/xpm/xpm_oem.h"
#include "platform/xpm/xpm_settings.h"
#include "runtime/clock.h"

namespace factory {

namespace {

constexpr int32_t kDigitalAttempts = 23;
constexpr int32_t kAnalogueAttempts = 12;
constexpr int32_t kRetryMs = 400;
constexpr int32_t kPresetGuardSeconds = 6;
constexpr int32_t kDiscoveryOnlyMs = 3000;

constexpr uint32_t kCcColor[] = {0xFF000000, 0x000000, 0xABABAB, 0x00AB00, 0x0000AB,
                                 0xAB0000,   0x00ABAB, 0xABAB00, 0xAB00AB};

void FirstSource() {
  int32_t id = 0;
  CallOk("XPM_GetSourceID", XPM_GetSourceID(0, &id));
  CallOk("XPM_SetSource", XPM_SetSource(0, id));
}

// Tunes window 0 to a channel after a discovery of it; 1 tuned, 0 failed.
int32_t Tune(int32_t channel, int32_t minor, bool digital) {
  FirstSource();
  const int32_t started = digital ? XPM_StartChannelDiscovery(channel, 1, 1, 0, 0, 1)
                                  : XPM_StartChannelDiscovery(channel, 1, 0, 1, 0, 1);
  if (!CallOk("XPM_StartChannelDiscovery", started)) return 0;
  const int32_t attempts = digital ? kDigitalAttempts : kAnalogueAttempts;
  int32_t status = 0;
  for (int32_t i = 0; i < attempts; ++i) {
    status = XPM_SetChannel(0, channel, minor);
    if (status == 0) return 1;
    if (i + 1 < attempts) Wait(kRetryMs);
  }
  CallOk("XPM_SetChannel", status);
  return 0;
}

int32_t DiscoverAndSetChannel(int32_t major, int32_t minor) { return Tune(major, minor, true); }
int32_t DiscoverAndSetChannelAnalog(int32_t channel, int32_t minor) { return Tune(channel, minor, false); }

int32_t ZapToVideoExt(int32_t index) {
  int32_t id = 0;
  CallOk("XPM_GetSourceID", XPM_GetSourceID(index, &id));
  CallOk("XPM_SetSource", XPM_SetSource(0, id));
  return 1;
}

enum class Tuning { Analogue, Digital, DiscoveryOnly };
struct Preset {
  uint32_t code;
  int32_t medium;
  Tuning kind;
  int32_t channel, minor;
};
constexpr Preset kPresets[] = {
    {0x40AAFF00, 0, Tuning::Analogue, 2, 0},       {0x40AAFE01, 0, Tuning::Analogue, 14, 0},
    {0x40AAFD02, 0, Tuning::Analogue, 63, 0},      {0x40AAFC03, 0, Tuning::Digital, 3, 1},
    {0x40AAFB04, 0, Tuning::Digital, 16, 1},       {0x40AAFA05, 0, Tuning::DiscoveryOnly, 69, 0},
    {0x40AAF906, 1, Tuning::Digital, 23, 1},       {0x40AAF807, 1, Tuning::Digital, 75, 3},
    {0x40AAF708, 1, Tuning::Digital, 115, 3},
};

struct DirectChannel {
  uint32_t code;
  int32_t medium, major, minor;
};
constexpr DirectChannel kDirect[] = {
    {0x40EEF00F, 0, 2, 1},  {0x40EEF40B, 0, 2, 2},  {0x40EEF30C, 0, 60, 1}, {0x40EEF807, 0, 60, 2},
    {0x40EEF906, 0, 60, 3}, {0x40EEF10E, 1, 17, 1}, {0x40EEF20D, 1, 40, 2}, {0x40EEF50A, 1, 40, 3},
    {0x40EEF609, 1, 40, 4}, {0x40EEF708, 1, 40, 5},
};

// Caption style cycles: the property, its count (0: a colour) and the row.
struct CaptionStyleRow {
  uint32_t code;
  int32_t property, count, row;
};
constexpr CaptionStyleRow kCaptionStyles[] = {
    {0x40BFF40B, 3, 4, 0},  {0x40BFF50A, 4, 8, 1}, {0x40BFF609, 6, 7, 2}, {0x40BFF708, 7, 0, 3},
    {0x40BFF807, 8, 5, 4},  {0x40BFF906, 9, 0, 5}, {0x40BFFA05, 10, 5, 6}, {0x40BFFB04, 5, 0, 7},
};

}  // namespace

int32_t cc_color_num_get() { return static_cast<int32_t>(std::size(kCcColor)); }
uint32_t cc_color_get(int32_t index) {
  return index >= 0 && index < cc_color_num_get() ? kCcColor[index] : kCcColor[0];
}
int32_t cc_color_index_get(uint32_t color) {
  for (int32_t i = 0; i < cc_color_num_get(); ++i)
    if (kCcColor[i] == color) return i;
  return 0;
}

int32_t ZapFirstSource(Context&) { return ZapToVideoExt(0); }

int32_t SetPicturePath(Context& c) {
  static constexpr int32_t kPaths[] = {5, 6, 7, 4, 1};  // 0x40EA01FE to 0x40EA05FA
  const int32_t n = static_cast<int32_t>((c.code >> 8) & 0xFF);
  (void)XPM_SetExtOemPathProperty(0, 122, kPaths[n - 1]);
  return 1;
}

int32_t ZapExternalInput(Context& c) {
  const int32_t n = static_cast<int32_t>((c.code >> 8) & 0xFF) - 0x80;
  ZapToVideoExt(n);
  SetResultDisplayMenu(ClassNamed("NonMenuSystem::ExternalInputDialog"), n, c.result);
  return 1;
}

int32_t TuneAnalogue(Context& c) {
  const int32_t channel = static_cast<int32_t>((c.code >> 8) & 0xFF);
  Console(Format("channel %d", channel));
  DiscoverAndSetChannelAnalog(channel, 0);
  return 1;
}

int32_t ChannelPreset(Context& c) {
  const Preset* p = nullptr;
  for (const Preset& r : kPresets)
    if (r.code == c.code) p = &r;
  if (!p) return 1;  // a code between the presets
  ModuleState& s = State();
  if (c.code == s.previousCommand && c.now / 1000 - s.timePreviousCommand / 1000 < kPresetGuardSeconds) return 1;
  CallOk("XPM_SetMedium", XPM_SetMedium(p->medium));
  switch (p->kind) {
    case Tuning::Analogue: DiscoverAndSetChannelAnalog(p->channel, 0); break;
    case Tuning::Digital: DiscoverAndSetChannel(p->channel, p->minor); break;
    case Tuning::DiscoveryOnly:
      FirstSource();
      if (CallOk("XPM_StartChannelDiscovery", XPM_StartChannelDiscovery(p->channel, 1, 1, 0, 0, 1)))
        Wait(kDiscoveryOnlyMs);
      break;
  }
  s.timePreviousCommand = kv::GetClock().Now();
  return 1;
}

int32_t DirectTune(Context& c) {
  c.store = false;
  for (const DirectChannel& d : kDirect) {
    if (d.code != c.code) continue;
    CallOk("XPM_SetMedium", XPM_SetMedium(d.medium));
    return DiscoverAndSetChannel(d.major, d.minor);
  }
  return 1;
}

int32_t ForwardRemoteKey(Context& c) {
  if (c.command.flag != 0) return 1;
  return SetResultRawCommand(c.code, c.result);
}

int32_t CaptionService(Context& c) {
  const int32_t service = c.code == 0x40BFB24D ? 5 : 1;
  CallOk("XPM_SetCaptionRenderState", XPM_SetCaptionRenderState(0, 1));
  CallOk("XPM_SetCaptionRenderState", XPM_SetCaptionRenderState(0, 0));
  CallOk("XPM_SetPreferredBasicCaptionService", XPM_SetPreferredBasicCaptionService(service));
  CallOk("XPM_SetCaptionRenderState", XPM_SetCaptionRenderState(0, 1));
  CallOk("XPM_EnableCaptionRender", XPM_EnableCaptionRender(1));
  return 1;
}

int32_t CaptionOff(Context&) {
  CallOk("XPM_SetCaptionRenderState", XPM_SetCaptionRenderState(0, 0));
  return 1;
}

// A failed read steps from 0.
int32_t CaptionStyle(Context& c) {
  for (const CaptionStyleRow& r : kCaptionStyles) {
    if (r.code != c.code) continue;
    int32_t v = 0;
    if (!CallOk("XPM_GetAdvancedCaptionProperty", XPM_GetAdvancedCaptionProperty(r.property, &v))) v = 0;
    const int32_t next = r.count > 0 ? (v + 1) % r.count
                                     : static_cast<int32_t>(cc_color_get(
                                           (cc_color_index_get(static_cast<uint32_t>(v)) + 1) % cc_color_num_get()));
    CallOk("XPM_SetAdvancedCaptionProperty", XPM_SetAdvancedCaptionProperty(r.property, next));
    SetResultDisplayMenu(ClassNamed("MenuSystem::DigitalCCMenu"), r.row, c.result);
    return 1;
  }
  return 1;
}

int32_t LocksOn(Context&) {
  CallOk("XPM_SetUsChildRating", XPM_SetUsChildRating(1, 0x1111111, 1, 1));
  CallOk("XPM_SetUsAgeRating", XPM_SetUsAgeRating(3, 0x10000, 1, 1));
  CallOk("XPM_SetUsMovieRating", XPM_SetUsMovieRating(2, 1, 1));
  int32_t mask = 0;
  CallOk("XPM_GetParentalLocksMask", XPM_GetParentalLocksMask(&mask));
  mask &= 0xFF;
  if ((mask & 2) == 0) CallOk("XPM_SetParentalLocksMask", XPM_SetParentalLocksMask(mask | 2));
  CallOk("XPM_SetParentalLocksState", XPM_SetParentalLocksState(2));
  return 1;
}

int32_t LocksOff(Context&) {
  CallOk("XPM_SetUsAgeRating", XPM_SetUsAgeRating(5, 0x1111111, 0, 1));
  CallOk("XPM_SetUsChildRating", XPM_SetUsChildRating(2, 0x1111111, 0, 1));
  CallOk("XPM_SetUnratedContent", XPM_SetUnratedContent(0));
  CallOk("XPM_SetUsMovieRating", XPM_SetUsMovieRating(7, 0, 1));
  CallOk("XPM_SetParentalLocksState", XPM_SetParentalLocksState(0));
  return 1;
}

int32_t ShowPreferences(Context& c) {
  SetResultDisplayMenu(ClassNamed("MenuSystem::PreferencesMenu"), 0, c.result);
  return 1;
}

}  // namespace factory
