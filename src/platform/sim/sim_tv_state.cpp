// The simulated television's settings, clock, inputs, timer records and
// their persistence (sim_tv_state.h). Channels, tuning and scans are in
// sim_tv_channels.cpp.
#include "platform/sim/sim_tv_state.h"
#include "platform/sim/sim_panel.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

#include "platform/sim/sim.h"
#include "platform/sim/sim_store.h"
#include "platform/sim/sim_tv_air.h"
#include "platform/xpm/xpm.h"
#include "runtime/clock.h"
#include "runtime/trace.h"

namespace sim {

namespace {

enum class Scope { kOne, kWindow, kPreset, kIndexed };

// What a reset brings back: ResetVideoPreset the kPreset settings of one
// preset, ResetAudioDefaults the kSound group, AutoSync kGeometry.
enum class Group { kPicture, kGeometry, kSound, kVolume, kCaption, kLock, kTime, kSystem };

struct SettingInfo {
  const char* name;  // the key in the state file
  Scope scope;
  Group group;
  int32_t min;
  int32_t max;
  int32_t def;
  int32_t count;  // kIndexed: how many
};

constexpr int32_t kNoCount = 0;
constexpr int32_t kIntMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();

// In the order of Setting. Ranges are those of the screens' sliders: hue,
// the picture position and the sound levels centre on 0 (-50..50); the
// other picture levels run 0..100.
constexpr SettingInfo kSettings[] = {
    {"backlight", Scope::kPreset, Group::kPicture, 0, 100, 80, kNoCount},
    {"contrast", Scope::kPreset, Group::kPicture, 0, 100, 85, kNoCount},
    {"brightness", Scope::kPreset, Group::kPicture, 0, 100, 50, kNoCount},
    {"saturation", Scope::kPreset, Group::kPicture, 0, 100, 55, kNoCount},
    {"hue", Scope::kPreset, Group::kPicture, -50, 50, 0, kNoCount},
    {"sharpness", Scope::kPreset, Group::kPicture, 0, 100, 50, kNoCount},
    {"colorTemperature", Scope::kPreset, Group::kPicture, 0, 100, 7, kNoCount},  // the slider's range
    {"analogNR", Scope::kPreset, Group::kPicture, 0, 4, 1, kNoCount},  // off, low, middle, high; 4 is what the advanced reset sets
    {"digitalNR", Scope::kPreset, Group::kPicture, 0, 3, 1, kNoCount},
    {"dynamicContrast", Scope::kPreset, Group::kPicture, 0, 100, 50, kNoCount},
    {"superResolution", Scope::kPreset, Group::kPicture, 0, 1, 1, kNoCount},
    {"videoPreset", Scope::kWindow, Group::kPicture, 0, kPresets - 1, 0, kNoCount},
    {"viewMode", Scope::kWindow, Group::kPicture, 0, 6, 1, kNoCount},
    {"preferredViewMode", Scope::kWindow, Group::kPicture, 0, 0x3FF, 1, kNoCount},  // checked further below
    {"vdecSensitivity", Scope::kWindow, Group::kPicture, 0, 2, 1, kNoCount},
    {"colorManager", Scope::kOne, Group::kPicture, 0, 3, 0, kNoCount},
    {"cinemaMode", Scope::kOne, Group::kPicture, 0, 255, 0, kNoCount},
    {"gameMode", Scope::kOne, Group::kPicture, 0, 1, 0, kNoCount},
    {"horizontalPosition", Scope::kOne, Group::kGeometry, -50, 50, 0, kNoCount},
    {"verticalPosition", Scope::kOne, Group::kGeometry, -50, 50, 0, kNoCount},
    {"hLineAdjust", Scope::kOne, Group::kGeometry, -50, 50, 0, kNoCount},
    {"vLineAdjust", Scope::kOne, Group::kGeometry, -50, 50, 0, kNoCount},
    {"phase", Scope::kOne, Group::kGeometry, 0, 100, 50, kNoCount},
    {"colorTempOffset", Scope::kIndexed, Group::kPicture, 0, 100, 50, 3},
    {"colorTempGain", Scope::kIndexed, Group::kPicture, 0, 100, 50, 3},
    {"volume", Scope::kOne, Group::kVolume, 0, 100, 20, kNoCount},
    {"mute", Scope::kOne, Group::kVolume, 0, 1, 0, kNoCount},
    {"balance", Scope::kOne, Group::kSound, -50, 50, 0, kNoCount},
    {"bass", Scope::kOne, Group::kSound, -50, 50, 0, kNoCount},
    {"treble", Scope::kOne, Group::kSound, -50, 50, 0, kNoCount},
    {"equalizerPreset", Scope::kOne, Group::kSound, 0, 5, 0, kNoCount},
    {"preferredAudioDecodeMode", Scope::kOne, Group::kSound, 0, 2, 1, kNoCount},  // mono, stereo, SAP
    {"audioDecodeMode", Scope::kWindow, Group::kSound, 0, 2, 1, kNoCount},
    {"volumeLevelling", Scope::kOne, Group::kSound, 0, 1, 0, kNoCount},
    {"muteExtOutput", Scope::kOne, Group::kSound, 0, 1, 0, kNoCount},
    {"dynamicVolume", Scope::kOne, Group::kSound, 0, 2, 0, kNoCount},
    {"aeq", Scope::kOne, Group::kSound, 0, 1, 0, kNoCount},
    {"truSurround", Scope::kOne, Group::kSound, 0, 1, 0, kNoCount},
    {"truVolume", Scope::kOne, Group::kSound, 0, 1, 0, kNoCount},
    {"studioSoundTruSurround", Scope::kOne, Group::kSound, 0, 1, 0, kNoCount},
    {"studioSoundTruVolume", Scope::kOne, Group::kSound, 0, 1, 0, kNoCount},
    {"audioDelay", Scope::kOne, Group::kSound, 0, 250, 0, kNoCount},  // milliseconds
    {"spdifFormat", Scope::kOne, Group::kSound, 0, 2, 0, kNoCount},   // PCM, bitstream, automatic
    {"speaker", Scope::kOne, Group::kSound, 0, 1, 1, kNoCount},
    {"captionRenderState", Scope::kWindow, Group::kCaption, 0, 2, 2, kNoCount},
    {"captionDecodeMode", Scope::kOne, Group::kCaption, 0, 2, 2, kNoCount},
    {"basicCaptionService", Scope::kOne, Group::kCaption, 1, 8, 1, kNoCount},
    {"advancedCaptionService", Scope::kOne, Group::kCaption, 1, 6, 1, kNoCount},
    {"advancedCaptionProperty", Scope::kIndexed, Group::kCaption, 0, 0, 0, 11},  // per index below
    {"basicCaptionProperty", Scope::kIndexed, Group::kCaption, 0, 0, 0, 11},
    {"parentalLocksState", Scope::kOne, Group::kLock, 0, 2, 2, kNoCount},  // a new set and a reset: locks on
    {"unratedContent", Scope::kOne, Group::kLock, 0, 1, 0, kNoCount},
    {"frontPanelLock", Scope::kOne, Group::kLock, 0, 1, 0, kNoCount},
    {"parentalLocksMask", Scope::kOne, Group::kLock, 0, 255, 0, kNoCount},
    {"usChildRating", Scope::kIndexed, Group::kLock, 0, 1, 0, 3 * 8},  // index level * 8 + content slot
    {"usAgeRating", Scope::kIndexed, Group::kLock, 0, 1, 0, 6 * 8},
    {"usMovieRating", Scope::kIndexed, Group::kLock, 0, 1, 0, 8 * 8 + 1},
    {"canadaLevel", Scope::kIndexed, Group::kLock, 0, 1, 0, 2 * 8},  // index system * 8 + level
    {"timeZone", Scope::kOne, Group::kTime, 0, 7, 0, kNoCount},
    {"daylightSaving", Scope::kOne, Group::kTime, 0, 1, 0, kNoCount},
    {"autoTimeUpdate", Scope::kOne, Group::kTime, 0, 3, 1, kNoCount},  // a new set takes the broadcast's time
    {"medium", Scope::kOne, Group::kSystem, 0, kMedia - 1, 0, kNoCount},
    {"tuner2Medium", Scope::kOne, Group::kSystem, 0, kMedia - 1, 0, kNoCount},
    {"dualWindow", Scope::kOne, Group::kSystem, 0, 2, 0, kNoCount},  // off, picture in picture, side by side
    {"secondaryWindowAudio", Scope::kOne, Group::kSystem, 0, 1, 0, kNoCount},
    {"pipPosition", Scope::kOne, Group::kSystem, 0, 3, 3, kNoCount},  // the four corners
};
static_assert(std::size(kSettings) == static_cast<size_t>(Setting::kCount));

const SettingInfo& InfoOf(Setting s) { return kSettings[static_cast<size_t>(s)]; }

// Factory values of the picture presets 0-8, in the order of Setting from
// kBacklight to kSuperResolution.
constexpr int32_t kPresetValues[11][kPresets] = {
    {80, 60, 70, 80, 100, 90, 70, 60, 80},  // backlight
    {85, 80, 85, 85, 100, 95, 85, 80, 85},  // contrast
    {50, 48, 50, 50, 52, 50, 50, 46, 50},   // brightness
    {55, 50, 55, 55, 65, 60, 55, 45, 55},   // saturation
    {0, 0, 0, 0, 0, 0, 0, 0, 0},            // hue
    {50, 30, 50, 50, 70, 60, 40, 30, 50},   // sharpness
    {7, 2, 7, 5, 10, 10, 2, 7, 5},          // colour temperature (as the advanced reset sets it)
    {1, 1, 1, 1, 0, 1, 1, 2, 1},            // analogue noise reduction
    {1, 1, 1, 1, 0, 1, 1, 2, 1},            // digital noise reduction
    {50, 0, 50, 50, 100, 50, 0, 0, 50},     // dynamic contrast
    {1, 1, 1, 1, 1, 1, 0, 1, 1},            // super resolution
};

// Caption properties by index: 0 window justification, 1 window colour, 2
// window opacity, 3 font size, 4 font style, 5 edge colour, 6 edge type, 7
// font colour, 8 font opacity, 9 background colour, 10 background opacity.
// Colours are any 32-bit word; the factory values are "as broadcast".
struct CaptionLimits {
  int32_t min, max, def;
};
constexpr int32_t kAsBroadcastColor = static_cast<int32_t>(0xFF000000u);
constexpr CaptionLimits kCaptionLimits[11] = {
    {0, 4, 4},  {kIntMin, kIntMax, kAsBroadcastColor}, {0, 4, 4},
    {0, 3, 3},  {0, 7, 7},                             {kIntMin, kIntMax, kAsBroadcastColor},
    {0, 6, 6},  {kIntMin, kIntMax, kAsBroadcastColor}, {0, 4, 4},
    {kIntMin, kIntMax, kAsBroadcastColor},             {0, 4, 4},
};

bool IsCaptionProperty(Setting s) {
  return s == Setting::kAdvancedCaptionProperty || s == Setting::kBasicCaptionProperty;
}

// Offsets of the time zones from GMT in minutes: Eastern, Central, Mountain,
// Pacific, Alaska, Hawaii, Atlantic, Newfoundland.
constexpr int32_t kZoneMinutes[] = {-300, -360, -420, -480, -540, -600, -240, -210};

// Rating tables, numbered as the middleware calls give them: the lowest and
// highest level of each kind. US children's levels 1 TV-Y, 2 TV-Y7; age
// levels 1 not rated, 2 TV-G to 5 TV-MA; movie levels 1 to 8 (2 G to 7 X,
// 8 not rated). Canada: system 0 (English, levels 0-6) or 1 (French, 0-5).
struct RatingLimits {
  Setting setting;
  int32_t minLevel;
  int32_t maxLevel;
};
constexpr RatingLimits kRatingLimits[] = {
    {Setting::kUsChildRating, 1, 2},
    {Setting::kUsAgeRating, 1, 5},
    {Setting::kUsMovieRating, 1, 8},
};
constexpr int32_t kCanadaMaxLevel[2] = {6, 5};

// The content of a US TV rating: the whole rating (written as 0x1111111,
// read as 1) is slot 0; one descriptor bit (D, L, S, V, FV) slots 1 to 5.
constexpr int32_t kWholeRating = 0x1111111;
constexpr int32_t kContentBits[] = {0x10, 0x100, 0x1000, 0x10000, 0x1000000};

int32_t ContentSlot(int32_t content) {
  if (content == kWholeRating || content == 1) return 0;
  for (int32_t i = 0; i < 5; ++i)
    if (content == kContentBits[i]) return i + 1;
  return -1;
}

// The index of a rating's block flag (level x 8 + content slot), or -1 when
// the rating does not exist.
int32_t RatingIndex(Setting s, int32_t rating, int32_t content) {
  if (s == Setting::kCanadaLevel) {
    if (rating < 0 || rating > 1 || content < 0 || content > kCanadaMaxLevel[rating]) return -1;
    return rating * 8 + content;
  }
  for (const RatingLimits& l : kRatingLimits) {
    if (l.setting != s) continue;
    if (rating < l.minLevel || rating > l.maxLevel) return -1;
    const int32_t slot = s == Setting::kUsMovieRating ? (content == 0 ? 0 : -1) : ContentSlot(content);
    return slot < 0 ? -1 : rating * 8 + slot;
  }
  return -1;
}

std::string Quote(const char* call) { return call ? call : "TvState"; }

void Bad(const char* call, const std::string& what) { kv::Log(Quote(call) + ": " + what + ", refused"); }

// --- Calendar (proleptic Gregorian, days since 1970-01-01) -------------------

int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2 ? 1 : 0;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int64_t* y, int64_t* m, int64_t* d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp < 10 ? mp + 3 : mp - 9;
  *y = yoe + era * 400 + (*m <= 2 ? 1 : 0);
}

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0); }

bool IsLeap(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int32_t DaysInMonth(int64_t year, int32_t month0) {
  constexpr int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month0 == 1 && IsLeap(year) ? 29 : kDays[month0];
}

// --- Text helpers for the state file -----------------------------------------

bool ParseInt(const std::string& text, int64_t lo, int64_t hi, int64_t* out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || end != text.c_str() + text.size() || v < lo || v > hi) return false;
  *out = v;
  return true;
}

bool ParseInt32(const std::string& text, int32_t* out) {
  int64_t v = 0;
  if (!ParseInt(text, kIntMin, kIntMax, &v)) return false;
  *out = static_cast<int32_t>(v);
  return true;
}

std::vector<std::string> Split(const std::string& text, char sep, size_t maxParts = std::string::npos) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    if (parts.size() + 1 == maxParts) {
      parts.push_back(text.substr(start));
      break;
    }
    const size_t at = text.find(sep, start);
    if (at == std::string::npos) {
      parts.push_back(text.substr(start));
      break;
    }
    parts.push_back(text.substr(start, at - start));
    start = at + 1;
  }
  return parts;
}

// "major.minor"
std::string NumberText(int32_t major, int32_t minor) { return std::to_string(major) + "." + std::to_string(minor); }
bool ParseNumber(const std::string& text, int32_t* major, int32_t* minor) {
  const auto parts = Split(text, '.');
  return parts.size() == 2 && ParseInt32(parts[0], major) && ParseInt32(parts[1], minor);
}

bool IsLanguageCode(const char* code) {
  if (!code || std::strlen(code) != 3) return false;
  for (int i = 0; i < 3; ++i)
    if (code[i] < 'a' || code[i] > 'z') return false;
  return true;
}

// Every key a setting can have in the state file, with its setting and index.
const std::map<std::string, std::pair<Setting, int32_t>>& SettingKeys() {
  static const auto* keys = [] {
    auto* m = new std::map<std::string, std::pair<Setting, int32_t>>;
    for (size_t i = 0; i < std::size(kSettings); ++i) {
      const SettingInfo& info = kSettings[i];
      const auto s = static_cast<Setting>(i);
      const std::string name = info.name;
      switch (info.scope) {
        case Scope::kOne: (*m)[name] = {s, 0}; break;
        case Scope::kWindow:
          for (int32_t w = 0; w < kWindows; ++w) (*m)[name + "@" + std::to_string(w)] = {s, w};
          break;
        case Scope::kPreset:
          for (int32_t w = 0; w < kWindows; ++w)
            for (int32_t p = 0; p < kPresets; ++p)
              (*m)[name + "@" + std::to_string(w) + "#" + std::to_string(p)] = {s, w};
          break;
        case Scope::kIndexed:
          for (int32_t n = 0; n < info.count; ++n) (*m)[name + "#" + std::to_string(n)] = {s, n};
          break;
      }
    }
    return m;
  }();
  return *keys;
}

constexpr const char* kSetPrefix = "tv.set.";

// State files written before the inputs took their places in the source name
// table numbered them 10, 20, 30, 40-42, 50 and 60: the new id of such an
// old one, or the id itself.
int32_t RenumberedSource(int32_t id) {
  static constexpr std::pair<int32_t, int32_t> kOld[] = {
      {10, kSourceTv},    {20, kSourceAv},    {30, kSourceComponent}, {40, kSourceHdmi1},
      {41, kSourceHdmi2}, {42, kSourceHdmi3}, {50, kSourcePc},        {60, kSourceMultimedia},
  };
  for (const auto& [from, to] : kOld) {
    if (id != from) continue;
    kv::Log("TvState: stored input " + std::to_string(from) + " is now input " + std::to_string(to));
    return to;
  }
  return id;
}

}  // namespace

// --- Construction --------------------------------------------------------------

TvState::TvState(Sim& sim) : sim_(sim) {
  sources_ = {
      {kSourceTv, kSourceTypeTuner, "TV", true, true, false},
      {kSourceTv2, kSourceTypeDigitalTuner, "TV2", true, true, false},
      {kSourceAv, kSourceTypeComposite, "AV", true, false, false},
      {kSourceComponent, kSourceTypeComponent, "Component", true, true, false},
      {kSourceHdmi1, kSourceTypeHdmi, "HDMI1", true, true, false},
      {kSourceHdmi2, kSourceTypeHdmi, "HDMI2", true, false, false},
      {kSourceHdmi3, kSourceTypeHdmi, "HDMI3", true, false, false},
      {kSourceDvi, kSourceTypeDvi, "DVI", true, false, false},
      {kSourcePc, kSourceTypeVga, "PC", true, true, false},
      {kSourceMultimedia, kSourceTypeMultimedia, "Multimedia", true, true, false},
  };
  windowSource_ = {kSourceTv, kSourceHdmi1};
  for (int32_t m = 0; m < kMedia; ++m) {
    air_[static_cast<size_t>(m)] = DefaultAir(m);
    for (const AirChannel& a : DefaultAir(m)) maps_[m].channels.push_back(FactoryChannel(a));
    const Channel& first = maps_[m].channels.front();
    maps_[m].current = {{{first.major, first.minor}, {first.major, first.minor}}};
  }
  manualOffset_ = int64_t{kZoneMinutes[0]} * 60;
  std::lock_guard<std::mutex> lock(mutex_);
  Load();
  // Locks lifted until standby are on again after a start: switching the set
  // off ends more than standby does.
  if (ValueLocked(Setting::kParentalLocksState, 0) == 1) {
    values_[KeyOf(Setting::kParentalLocksState, 0)] = 2;
    Save();
  }
}

TvState::~TvState() = default;

// --- Settings ------------------------------------------------------------------

SettingRange TvState::Range(Setting s, int32_t index) {
  if (IsCaptionProperty(s)) {
    if (index < 0 || index >= 11) return {0, 0};
    return {kCaptionLimits[index].min, kCaptionLimits[index].max};
  }
  const SettingInfo& info = InfoOf(s);
  return {info.min, info.max};
}

int32_t TvState::FactoryValue(Setting s, int32_t index, int32_t preset) {
  if (IsCaptionProperty(s)) return index >= 0 && index < 11 ? kCaptionLimits[index].def : 0;
  const SettingInfo& info = InfoOf(s);
  if (info.scope == Scope::kPreset && preset >= 0 && preset < kPresets)
    return kPresetValues[static_cast<size_t>(s) - static_cast<size_t>(Setting::kBacklight)][preset];
  return info.def;
}

bool TvState::CheckIndex(Setting s, int32_t index, const char* call) const {
  const SettingInfo& info = InfoOf(s);
  switch (info.scope) {
    case Scope::kOne: return true;
    case Scope::kWindow:
    case Scope::kPreset: return !BadWindow(index, call);
    case Scope::kIndexed:
      if (index >= 0 && index < info.count) return true;
      Bad(call, "index " + std::to_string(index) + " outside 0.." + std::to_string(info.count - 1));
      return false;
  }
  return false;
}

bool TvState::BadWindow(int32_t window, const char* call) const {
  if (window >= 0 && window < kWindows) return false;
  Bad(call, "window " + std::to_string(window) + " is neither 0 nor 1");
  return true;
}

std::string TvState::KeyOf(Setting s, int32_t index) const {
  const SettingInfo& info = InfoOf(s);
  switch (info.scope) {
    case Scope::kOne: return info.name;
    case Scope::kWindow: return std::string(info.name) + "@" + std::to_string(index);
    case Scope::kPreset:
      return std::string(info.name) + "@" + std::to_string(index) + "#" +
             std::to_string(ValueLocked(Setting::kVideoPreset, index));
    case Scope::kIndexed: return std::string(info.name) + "#" + std::to_string(index);
  }
  return info.name;
}

int32_t TvState::ValueLocked(Setting s, int32_t index) const {
  const SettingInfo& info = InfoOf(s);
  if (info.scope == Scope::kOne) index = 0;
  auto it = values_.find(KeyOf(s, index));
  if (it != values_.end()) return it->second;
  const int32_t preset = info.scope == Scope::kPreset ? ValueLocked(Setting::kVideoPreset, index) : 0;
  return FactoryValue(s, index, preset);
}

int32_t TvState::Set(Setting s, int32_t index, int32_t value, const char* call) {
  int32_t status = XPM_OK;
  std::vector<Acquisition> acquired;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    status = StoreLocked(s, index, value, call);
    // A change of the locks takes effect on the picture on screen at once.
    const bool locks = s == Setting::kParentalLocksState || s == Setting::kUnratedContent ||
                       s == Setting::kUsChildRating || s == Setting::kUsAgeRating || s == Setting::kUsMovieRating;
    if (status == XPM_OK && locks) AcquireIfBlockChangedLocked(&acquired);
  }
  Send(acquired);
  return status;
}

int32_t TvState::StoreLocked(Setting s, int32_t index, int32_t value, const char* call) {
  if (InfoOf(s).scope == Scope::kOne) index = 0;
  if (!CheckIndex(s, index, call)) return XPM_ERR_INVALID_PARAM;
  const SettingRange r = Range(s, index);
  if (value < r.min || value > r.max) {
    Bad(call, "value " + std::to_string(value) + " outside " + std::to_string(r.min) + ".." + std::to_string(r.max));
    return XPM_ERR_INVALID_PARAM;
  }
  // A preferred view mode is a mode byte (0..6) with the flags 0x100 (auto
  // aspect) and 0x200 (4:3 stretch).
  if (s == Setting::kPreferredViewMode && (value & 0xFF) > 6) {
    Bad(call, "value " + std::to_string(value) + " has mode byte " + std::to_string(value & 0xFF) +
                  "; a preferred view mode is a mode byte of at most 6 with the flags 0x100 and 0x200");
    return XPM_ERR_INVALID_PARAM;
  }
  values_[KeyOf(s, index)] = value;
  // Without auto aspect the set shows the preferred size.
  if (s == Setting::kPreferredViewMode && (value & 0x100) == 0) values_[KeyOf(Setting::kViewMode, index)] = value & 0xFF;
  Save();
  return XPM_OK;
}

int32_t TvState::Get(Setting s, int32_t index, int32_t* value, const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (InfoOf(s).scope == Scope::kOne) index = 0;
  if (!CheckIndex(s, index, call)) return XPM_ERR_INVALID_PARAM;
  *value = ValueLocked(s, index);
  return XPM_OK;
}

int32_t TvState::Value(Setting s, int32_t index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const SettingInfo& info = InfoOf(s);
  if (info.scope == Scope::kOne) index = 0;
  const int32_t count = info.scope == Scope::kIndexed ? info.count : info.scope == Scope::kOne ? 1 : kWindows;
  if (index < 0 || index >= count) return 0;
  return ValueLocked(s, index);
}

int32_t TvState::SetRatingBlock(Setting s, int32_t rating, int32_t content, int32_t blocked, const char* call,
                                bool cascade) {
  const int32_t index = RatingIndex(s, rating, content);
  if (index < 0) {
    Bad(call, "rating " + std::to_string(rating) + ", " + std::to_string(content) + " does not exist");
    return XPM_ERR_INVALID_PARAM;
  }
  if (blocked != 0 && blocked != 1) {
    Bad(call, "blocked flag " + std::to_string(blocked) + " is neither 0 nor 1");
    return XPM_ERR_INVALID_PARAM;
  }
  const int32_t status = Set(s, index, blocked, call);
  const bool whole = s == Setting::kUsMovieRating || ContentSlot(content) == 0;
  if (status != XPM_OK || !cascade || blocked != 0 || !whole || s == Setting::kCanadaLevel) return status;
  // The milder levels start at children's TV-Y, age TV-G and movie G.
  const int32_t mildest = s == Setting::kUsChildRating ? 1 : 2;
  const int32_t slots = s == Setting::kUsMovieRating ? 1 : 6;
  for (int32_t level = mildest; level <= rating; ++level)
    for (int32_t slot = 0; slot < slots; ++slot) {
      const int32_t i = level * 8 + slot;
      if (i != index && Value(s, i) != 0) Set(s, i, 0, call);
    }
  return status;
}

int32_t TvState::GetRatingBlock(Setting s, int32_t rating, int32_t content, int32_t* blocked, const char* call) const {
  const int32_t index = RatingIndex(s, rating, content);
  if (index < 0) {
    Bad(call, "rating " + std::to_string(rating) + ", " + std::to_string(content) + " does not exist");
    return XPM_ERR_INVALID_PARAM;
  }
  return Get(s, index, blocked, call);
}

int32_t TvState::SetTimeZone(int32_t zone, int32_t dst, const char* call) {
  std::lock_guard<std::mutex> lock(mutex_);
  const SettingInfo& z = InfoOf(Setting::kTimeZone);
  if (zone < z.min || zone > z.max || (dst != 0 && dst != 1)) {
    Bad(call, "time zone " + std::to_string(zone) + " with daylight saving " + std::to_string(dst));
    return XPM_ERR_INVALID_PARAM;
  }
  values_[KeyOf(Setting::kTimeZone, 0)] = zone;
  values_[KeyOf(Setting::kDaylightSaving, 0)] = dst;
  Save();
  return XPM_OK;
}

int32_t TvState::GmtOffset(int32_t zone, int32_t dst, float* hours, const char* call) const {
  if (zone < 0 || zone >= static_cast<int32_t>(std::size(kZoneMinutes)) || (dst != 0 && dst != 1)) {
    Bad(call, "time zone " + std::to_string(zone) + " with daylight saving " + std::to_string(dst));
    return XPM_ERR_INVALID_PARAM;
  }
  *hours = static_cast<float>(kZoneMinutes[zone] + (dst ? 60 : 0)) / 60.0f;
  return XPM_OK;
}

int32_t TvState::SetAudioLanguage(const char* code, const char* call) {
  if (!IsLanguageCode(code)) {
    Bad(call, "language code " + std::string(code ? "\"" + std::string(code) + "\"" : "null") +
                  " is not three small letters");
    return XPM_ERR_INVALID_PARAM;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  audioLanguage_ = code;
  Save();
  return XPM_OK;
}

std::string TvState::AudioLanguage() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return audioLanguage_;
}

int32_t TvState::AddRatingLanguage(const char* code, const char* call) {
  if (!IsLanguageCode(code)) {
    Bad(call, "language code " + std::string(code ? "\"" + std::string(code) + "\"" : "null") +
                  " is not three small letters");
    return XPM_ERR_INVALID_PARAM;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  if (std::find(ratingLanguages_.begin(), ratingLanguages_.end(), code) == ratingLanguages_.end()) {
    constexpr size_t kMaxLanguages = 8;
    if (ratingLanguages_.size() == kMaxLanguages) ratingLanguages_.erase(ratingLanguages_.begin());
    ratingLanguages_.push_back(code);
    Save();
  }
  return XPM_OK;
}

std::vector<std::string> TvState::RatingLanguages() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return ratingLanguages_;
}

void TvState::SetDisplayWindow(int32_t window, const std::array<int32_t, 4>& rect) {
  uint32_t key = 0;
  bool blank = true;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const size_t i = window == 1 ? 1 : 0;
    const bool moved = displayWindow_[i] != rect;
    displayWindow_[i] = rect;
    // The media service draws its own frames into the window.
    if (i != 0 || !moved || !pictureShown_ || windowSource_[0] == kSourceMedia) return;
    key = pictureKey_;
    blank = pictureBlank_;
  }
  SchedulePicture(key, blank);
}

void TvState::ShowPowerOnPicture() {
  std::vector<Acquisition> acquired;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (pictureShown_ || windowSource_[0] == kSourceMedia) return;
    // Nothing was tuned since the start: the main window acquires what it
    // shows. A blocked channel or input sends its acquired event, so that it
    // asks for the PIN at once; anything else shows its picture only.
    acquired.push_back(AcquireLocked(0, IsTuner(windowSource_[0])));
    if (acquired.front().lockResult == 0) PictureShownLocked(acquired.front());
  }
  if (acquired.front().lockResult == 0)
    SchedulePicture(acquired.front().pictureKey, acquired.front().blank);
  else
    Send(acquired);
}

bool TvState::WakeUp() {
  std::vector<Acquisition> acquired;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!asleep_) return false;
    asleep_ = false;
    if (windowSource_[0] == kSourceMedia) return false;
    acquired.push_back(AcquireLocked(0, IsTuner(windowSource_[0])));
    // Only a blocked channel or input is acquired anew (its event asks for
    // the PIN); the picture of any other stays as it was.
    if (acquired.front().lockResult == 0) return true;
  }
  Send(acquired);
  return true;
}

void TvState::Wake() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!panelDark_) return;
    panelDark_ = false;
  }
  // What window 0 showed before, or the running application's screen.
  AppsChanged();
}

void TvState::AppsChanged() {
  uint32_t key = 0;
  bool blank = true;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!pictureShown_ || windowSource_[0] == kSourceMedia) return;
    key = pictureKey_;
    blank = pictureBlank_;
  }
  SchedulePicture(key, blank);
}

bool TvState::PanelDark() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return panelDark_;
}

void TvState::LiveTvStarts() {
  std::vector<Acquisition> acquired;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const int32_t source = windowSource_[0];
    if (source == kSourceMedia) return;
    const Acquisition a = AcquireLocked(0, IsTuner(source));
    if (a.status == kChannelOk || a.status == kSourceOk) return;
    acquired.push_back(a);
  }
  Send(acquired);
}

std::array<int32_t, 4> TvState::DisplayWindow(int32_t window) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return displayWindow_[window == 1 ? 1 : 0];
}

void TvState::SetFrozen(bool frozen) {
  std::lock_guard<std::mutex> lock(mutex_);
  frozen_ = frozen;
}

bool TvState::Frozen() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return frozen_;
}

int32_t TvState::ShowSampleCaption(int32_t show, const char* text, int32_t length, const char* call) {
  constexpr int32_t kMaxSample = 15;
  if (show != 0 && show != 1) {
    Bad(call, "show flag " + std::to_string(show) + " is neither 0 nor 1");
    return XPM_ERR_INVALID_PARAM;
  }
  if (show && (!text || length < 0 || length > kMaxSample)) {
    Bad(call, text ? "sample of " + std::to_string(length) + " characters (0.." + std::to_string(kMaxSample) + ")"
                   : std::string("no sample text"));
    return XPM_ERR_INVALID_PARAM;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  sampleCaption_ = show ? std::string(text, strnlen(text, static_cast<size_t>(length))) : std::string();
  return XPM_OK;
}

std::string TvState::SampleCaption() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return sampleCaption_;
}

int32_t TvState::ResetVideoPreset(int32_t window, int32_t preset, const char* call) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (BadWindow(window, call)) return XPM_ERR_INVALID_PARAM;
  if (preset < 0 || preset >= kPresets) {
    Bad(call, "preset " + std::to_string(preset) + " outside 0.." + std::to_string(kPresets - 1));
    return XPM_ERR_INVALID_PARAM;
  }
  const std::string suffix = "@" + std::to_string(window) + "#" + std::to_string(preset);
  for (const SettingInfo& info : kSettings)
    if (info.scope == Scope::kPreset) values_.erase(info.name + suffix);
  Save();
  return XPM_OK;
}

void TvState::ResetAudioDefaults() {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto it = values_.begin(); it != values_.end();) {
    auto key = SettingKeys().find(it->first);
    if (key != SettingKeys().end() && InfoOf(key->second.first).group == Group::kSound)
      it = values_.erase(it);
    else
      ++it;
  }
  audioLanguage_ = "eng";
  Save();
}

int32_t TvState::FactoryReset(int32_t mode, const char* call) {
  if (mode != 0) {
    Bad(call, "reset mode " + std::to_string(mode) + " (only 0, everything, exists)");
    return XPM_ERR_INVALID_PARAM;
  }
  std::vector<Acquisition> acquired;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    values_.clear();
    for (MapState& map : maps_)
      for (Channel& c : map.channels) c.locked = false;
    for (Source& s : sources_) s.locked = false;
    // The windows show the inputs of a new set, on the medium the reset
    // brought back, and the picture follows: nothing stays tuned that the
    // reset set does not have (a cable channel once the tuner is on the
    // antenna again).
    windowSource_ = {kSourceTv, kSourceHdmi1};
    audioLanguage_ = "eng";
    ratingLanguages_.clear();
    frozen_ = false;
    for (int32_t w = 0; w < kWindows; ++w) AcquireWindowLocked(w, true, &acquired);
    Save();
  }
  Send(acquired);
  return XPM_OK;
}

// --- Clock -----------------------------------------------------------------------

int64_t TvState::NetworkTime() const { return kNetworkEpoch + FloorDiv(kv::GetClock().Now(), 1000); }

BrokenDownTime TvState::LocalTime() const {
  const int64_t utc = NetworkTime();
  int64_t secs;
  int32_t dst;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    dst = ValueLocked(Setting::kDaylightSaving, 0);
    if (ValueLocked(Setting::kAutoTimeUpdate, 0))
      secs = utc + int64_t{kZoneMinutes[ValueLocked(Setting::kTimeZone, 0)] + (dst ? 60 : 0)} * 60;
    else
      secs = utc + manualOffset_;
  }
  const int64_t days = FloorDiv(secs, 86400);
  const int64_t rest = secs - days * 86400;
  int64_t y = 0, m = 0, d = 0;
  CivilFromDays(days, &y, &m, &d);
  BrokenDownTime t;
  t.second = static_cast<int32_t>(rest % 60);
  t.minute = static_cast<int32_t>(rest / 60 % 60);
  t.hour = static_cast<int32_t>(rest / 3600);
  t.day = static_cast<int32_t>(d);
  t.month = static_cast<int32_t>(m - 1);
  t.year = static_cast<int32_t>(y - 1900);
  t.weekday = static_cast<int32_t>(((days + 4) % 7 + 7) % 7);  // 1970-01-01 was a Thursday
  t.yearDay = static_cast<int32_t>(days - DaysFromCivil(y, 1, 1));
  t.dst = dst;
  return t;
}

int32_t TvState::SetLocalTime(const BrokenDownTime& t, const char* call) {
  const bool ok = t.second >= 0 && t.second <= 59 && t.minute >= 0 && t.minute <= 59 && t.hour >= 0 &&
                  t.hour <= 23 && t.month >= 0 && t.month <= 11 && t.year >= 70 && t.year <= 199 && t.day >= 1 &&
                  t.day <= DaysInMonth(1900 + t.year, t.month);
  if (!ok) {
    Bad(call, "no such time: " + std::to_string(1900 + t.year) + "-" + std::to_string(t.month + 1) + "-" +
                  std::to_string(t.day) + " " + std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" +
                  std::to_string(t.second) + " (1970 to 2099)");
    return XPM_ERR_INVALID_PARAM;
  }
  const int64_t secs = DaysFromCivil(1900 + t.year, t.month + 1, t.day) * 86400 + t.hour * 3600 + t.minute * 60 +
                       t.second;
  const int64_t utc = NetworkTime();
  std::lock_guard<std::mutex> lock(mutex_);
  manualOffset_ = secs - utc;
  Save();
  return XPM_OK;
}

// --- Inputs ----------------------------------------------------------------------------

const Source* TvState::FindSource(int32_t id) const {
  if (id == kSourceMedia) return &mediaSource_;
  if (id == kSourceExternal) return &externalSource_;
  for (const Source& s : sources_)
    if (s.id == id) return &s;
  return nullptr;
}

Source* TvState::FindSource(int32_t id) {
  return const_cast<Source*>(std::as_const(*this).FindSource(id));
}

const Source* TvState::SourceOrLog(int32_t id, const char* call) const {
  const Source* s = FindSource(id);
  if (!s) Bad(call, "no source " + std::to_string(id));
  return s;
}

bool TvState::IsTuner(int32_t sourceId) const {
  const Source* s = FindSource(sourceId);
  return s && (s->type == kSourceTypeTuner || s->type == kSourceTypeDigitalTuner);
}

std::vector<Source> TvState::Sources() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return sources_;
}

int32_t TvState::SourceIdAt(int32_t index, int32_t* id, const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (index < 0) {
    Bad(call, "source index " + std::to_string(index));
    return XPM_ERR_INVALID_PARAM;
  }
  if (index >= static_cast<int32_t>(sources_.size())) return kEndOfList;
  *id = sources_[static_cast<size_t>(index)].id;
  return XPM_OK;
}

int32_t TvState::SourceType(int32_t id, int32_t* type, const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const Source* s = SourceOrLog(id, call);
  if (!s) return XPM_ERR_INVALID_PARAM;
  *type = s->type;
  return XPM_OK;
}

int32_t TvState::CurrentSource(int32_t window, int32_t* id, const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (BadWindow(window, call)) return XPM_ERR_INVALID_PARAM;
  *id = windowSource_[static_cast<size_t>(window)];
  return XPM_OK;
}

int32_t TvState::SetSource(int32_t window, int32_t id, const char* call) {
  std::vector<Acquisition> acquired;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (BadWindow(window, call)) return XPM_ERR_INVALID_PARAM;
    const Source* s = SourceOrLog(id, call);
    if (!s) return XPM_ERR_INVALID_PARAM;
    if (!s->selectable) {
      kv::Log(Quote(call) + ": source " + s->name + " cannot be chosen now");
      return XPM_ERR_FAILED;
    }
    windowSource_[static_cast<size_t>(window)] = id;
    AcquireWindowLocked(window, true, &acquired);
    Save();
  }
  Send(acquired);
  return XPM_OK;
}

int32_t TvState::IsSourceSelectable(int32_t id, int32_t window, int32_t* selectable, const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (BadWindow(window, call)) return XPM_ERR_INVALID_PARAM;
  const Source* s = SourceOrLog(id, call);
  if (!s) return XPM_ERR_INVALID_PARAM;
  *selectable = s->selectable ? 1 : 0;
  return XPM_OK;
}

int32_t TvState::SetSourceLock(int32_t id, int32_t locked, const char* call) {
  std::vector<Acquisition> acquired;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    Source* s = FindSource(id);
    if (!s || (locked != 0 && locked != 1)) {
      Bad(call, s ? "lock flag " + std::to_string(locked) + " is neither 0 nor 1" : "no source " + std::to_string(id));
      return XPM_ERR_INVALID_PARAM;
    }
    s->locked = locked != 0;
    Save();
    AcquireIfBlockChangedLocked(&acquired);
  }
  Send(acquired);
  return XPM_OK;
}

int32_t TvState::GetSourceLock(int32_t id, int32_t* locked, const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const Source* s = SourceOrLog(id, call);
  if (!s) return XPM_ERR_INVALID_PARAM;
  *locked = s->locked ? 1 : 0;
  return XPM_OK;
}

int32_t TvState::SwapSources(const char* call) {
  std::vector<Acquisition> acquired;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (ValueLocked(Setting::kDualWindow, 0) == 0) {
      kv::Log(Quote(call) + ": the second window is off, nothing to swap");
      return XPM_ERR_FAILED;
    }
    std::swap(windowSource_[0], windowSource_[1]);
    for (MapState& map : maps_) std::swap(map.current[0], map.current[1]);
    AcquireWindowLocked(1, true, &acquired);
    AcquireWindowLocked(0, true, &acquired);
    Save();
  }
  Send(acquired);
  return XPM_OK;
}

void TvState::SetSourceSignal(int32_t id, bool signal) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Source* s = FindSource(id)) s->signal = signal;
}

void TvState::SetSourceSelectable(int32_t id, bool selectable) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Source* s = FindSource(id)) s->selectable = selectable;
}

void TvState::SetSourceVideo(int32_t id, int32_t width, int32_t height, bool pcTiming) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Source* s = FindSource(id)) {
    s->videoWidth = width;
    s->videoHeight = height;
    s->videoPcTiming = pcTiming;
  }
}

// --- Timer records -----------------------------------------------------------------------

int32_t TvState::GetTimer(int32_t id, int32_t* words, const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (id < kOnTimerId || id > kLastTimerId) {
    Bad(call, "timer id " + std::to_string(id) + " outside " + std::to_string(kOnTimerId) + ".." +
                  std::to_string(kLastTimerId));
    return XPM_ERR_INVALID_PARAM;
  }
  auto it = timers_.find(id);
  if (it == timers_.end()) return XPM_ERR_INVALID_PARAM;  // no such record: a question, not a fault
  std::copy_n(it->second.begin(), kTimerRecordWords, words);
  return XPM_OK;
}

int32_t TvState::SetTimer(int32_t id, const int32_t* words, const char* call) {
  if (id < kOnTimerId || id > kLastTimerId) {
    Bad(call, "timer id " + std::to_string(id) + " outside " + std::to_string(kOnTimerId) + ".." +
                  std::to_string(kLastTimerId));
    return XPM_TIMER_ERROR_INVALID_TIMERID;
  }
  // Words: 1 enabled, 2-10 the start (second ... month 0-11 ...), 13 the
  // duration, 14 the days of the week, 16 and 17 the channel (16-bit).
  const auto in16 = [](int32_t v) { return v >= -32768 && v <= 32767; };
  std::string fault;
  if (words[1] != 0 && words[1] != 1) fault = "enabled flag " + std::to_string(words[1]);
  else if (words[2] < 0 || words[2] > 59 || words[3] < 0 || words[3] > 59 || words[4] < 0 || words[4] > 23 ||
           words[5] < 0 || words[5] > 31 || words[6] < 0 || words[6] > 11 || words[7] < 0)
    fault = "start time " + std::to_string(words[4]) + ":" + std::to_string(words[3]) + ":" +
            std::to_string(words[2]) + " day " + std::to_string(words[5]) + " month " + std::to_string(words[6]);
  else if (words[13] < 0) fault = "duration " + std::to_string(words[13]);
  else if (words[14] < 0 || words[14] > 0x7F) fault = "days-of-week mask " + std::to_string(words[14]);
  else if (!in16(words[16]) || !in16(words[17]))
    fault = "channel " + std::to_string(words[16]) + "." + std::to_string(words[17]);
  if (!fault.empty()) {
    Bad(call, "timer " + std::to_string(id) + ": " + fault);
    return XPM_ERR_INVALID_PARAM;
  }
  if (id != kOnTimerId && words[14] != 0) {
    if (int32_t refusal = CheckRecordingTimer(id, words, call); refusal != XPM_OK) return refusal;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  std::array<int32_t, kTimerWords> record{};
  std::copy_n(words, kTimerRecordWords, record.begin());
  timers_[id] = record;
  Save();
  return XPM_OK;
}

namespace {

// Timer record words (XPM_TimerRecord).
constexpr int32_t kWordEnabled = 1;
constexpr int32_t kWordStart = 2;
constexpr int32_t kWordDuration = 13;
constexpr int32_t kWordDays = 14;
constexpr int32_t kWordSource = 15;
constexpr int32_t kWordTimesType = 19;
constexpr int32_t kWordEndDelay = 24;
constexpr int32_t kTimesOnce = 4;
constexpr int32_t kSecondsPerDay = 24 * 3600;

XPM_LocalTime StartOf(const int32_t* w) {
  XPM_LocalTime t{};
  std::memcpy(&t, w + kWordStart, sizeof t);
  return t;
}

// The seconds a timer's window lasts: its duration and end delay.
int64_t WindowOf(const int32_t* w) { return int64_t{w[kWordDuration]} + std::max(0, w[kWordEndDelay]); }

// Whether two timers of one tuner record at a shared moment: two one-time
// timers by their dates, else on a shared day of the week by their times.
bool TimersOverlap(const int32_t* a, const int32_t* b) {
  const XPM_LocalTime sa = StartOf(a), sb = StartOf(b);
  if (a[kWordTimesType] == kTimesOnce && b[kWordTimesType] == kTimesOnce) {
    const int64_t ta = LocalTicks(sa), tb = LocalTicks(sb);
    return ta < tb + WindowOf(b) && tb < ta + WindowOf(a);
  }
  if ((a[kWordDays] & b[kWordDays]) == 0) return false;
  const int64_t ta = int64_t{sa.hour} * 3600 + sa.minute * 60, tb = int64_t{sb.hour} * 3600 + sb.minute * 60;
  return ta < tb + WindowOf(b) && tb < ta + WindowOf(a);
}

}  // namespace

int32_t TvState::CheckRecordingTimer(int32_t id, const int32_t* words, const char* call) const {
  if (id < kFirstTimerId) {
    Bad(call, "timer id " + std::to_string(id) + " is not a recording timer");
    return XPM_TIMER_ERROR_INVALID_TIMERID;
  }
  if (words[kWordDuration] <= 0 || words[kWordDuration] > kSecondsPerDay) {
    Bad(call, "timer " + std::to_string(id) + ": duration " + std::to_string(words[kWordDuration]));
    return XPM_TIMER_ERROR_INVALID_DURATION;
  }
  if (words[kWordTimesType] == kTimesOnce) {
    const BrokenDownTime now = LocalTime();
    const XPM_LocalTime n{now.second, now.minute, now.hour, now.day, now.month, now.year, 0, 0, 0};
    if (LocalTicks(StartOf(words)) + WindowOf(words) <= LocalTicks(n)) {
      Bad(call, "timer " + std::to_string(id) + ": its window is past");
      return XPM_TIMER_ERROR_INVALID_STARTTIME;
    }
  }
  if (words[kWordEnabled] == 0) return XPM_OK;
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& [other, record] : timers_) {
    if (other == id || other < kFirstTimerId || record[kWordDays] == 0 || record[kWordEnabled] == 0) continue;
    if ((record[kWordSource] != 0) != (words[kWordSource] != 0)) continue;
    if (TimersOverlap(words, record.data())) {
      Bad(call, "timer " + std::to_string(id) + " overlaps timer " + std::to_string(other));
      return XPM_TIMER_ERROR_OVERLAP;
    }
  }
  return XPM_OK;
}

int32_t TvState::FirstFreeTimerId(int32_t* id, const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  for (int32_t i = kFirstTimerId; i <= kLastTimerId; ++i) {
    auto it = timers_.find(i);
    if (it == timers_.end() || it->second[14] == 0) {  // never set, or no day left
      *id = i;
      return XPM_OK;
    }
  }
  kv::Log(Quote(call) + ": all " + std::to_string(kLastTimerId - kFirstTimerId + 1) + " timers are in use");
  return XPM_ERR_FAILED;
}

// --- Persistence ----------------------------------------------------------------------------

std::map<std::string, std::string> TvState::Serialize() const {
  std::map<std::string, std::string> out;
  for (const auto& [key, value] : values_) out[kSetPrefix + key] = std::to_string(value);
  out["tv.audioLanguage"] = audioLanguage_;
  if (!ratingLanguages_.empty()) {
    std::string list;
    for (const std::string& code : ratingLanguages_) list += (list.empty() ? "" : ",") + code;
    out["tv.ratingLanguages"] = list;
  }
  for (int32_t w = 0; w < kWindows; ++w) out["tv.source." + std::to_string(w)] = std::to_string(windowSource_[w]);
  for (const Source& s : sources_)
    if (s.locked) out["tv.sourceLock." + std::to_string(s.id)] = "1";
  for (int32_t m = 0; m < kMedia; ++m) {
    const MapState& map = maps_[m];
    const std::string medium = std::to_string(m);
    out["tv.map." + medium] = std::to_string(map.channels.size());
    for (const Channel& c : map.channels) {
      out["tv.ch." + medium + "." + NumberText(c.major, c.minor)] =
          std::to_string(c.digital) + "," + std::to_string(c.physical) + "," + std::to_string(c.locked) + "," +
          std::to_string(c.excluded) + "," + std::to_string(c.service) + "," + std::to_string(c.rating) + "," + c.name;
    }
    for (int32_t r = 1; r < kRings; ++r) {
      if (map.favorites[r].empty()) continue;
      std::string list;
      for (const Channel& c : map.channels)
        if (map.favorites[r].count(ChannelKey(c.major, c.minor)))
          list += (list.empty() ? "" : " ") + NumberText(c.major, c.minor);
      out["tv.ring." + medium + "." + std::to_string(r)] = list;
    }
    for (int32_t w = 0; w < kWindows; ++w)
      out["tv.current." + medium + "." + std::to_string(w)] = NumberText(map.current[w].first, map.current[w].second);
  }
  for (const auto& [id, words] : timers_) {
    std::string text;
    for (int32_t v : words) text += (text.empty() ? "" : ",") + std::to_string(v);
    out["tv.timer." + std::to_string(id)] = text;
  }
  out["tv.clockOffset"] = std::to_string(manualOffset_);
  return out;
}

void TvState::Save() {
  std::map<std::string, std::string> now = Serialize();
  std::map<std::string, std::string> changed;
  std::vector<std::string> gone;
  for (const auto& [key, value] : now) {
    auto it = saved_.find(key);
    if (it == saved_.end() || it->second != value) changed[key] = value;
  }
  for (const auto& [key, value] : saved_)
    if (!now.count(key)) gone.push_back(key);
  if (changed.empty() && gone.empty()) return;
  // On failure (logged by the Sim) the difference is offered again with the next change.
  if (sim_.UpdateState(changed, gone)) saved_ = std::move(now);
}

void TvState::Load() {
  const std::map<std::string, std::string> stored = sim_.StateWithPrefix("tv.");
  const auto bad = [](const std::string& key, const std::string& why) {
    kv::Log("TvState: stored " + kv::EscapedText(key) + " ignored (" + why + "), the factory value stays");
  };
  std::array<bool, kMedia> mapStored{};
  std::array<std::vector<Channel>, kMedia> storedChannels;
  for (const auto& [key, value] : stored) {
    bool known = true;
    if (key.rfind(kSetPrefix, 0) == 0) {
      auto it = SettingKeys().find(key.substr(std::strlen(kSetPrefix)));
      int32_t v = 0;
      if (it == SettingKeys().end()) {
        known = false;
      } else if (!ParseInt32(value, &v)) {
        bad(key, "not a number");
      } else {
        const SettingRange r = Range(it->second.first, it->second.second);
        if (v < r.min || v > r.max)
          bad(key, "outside " + std::to_string(r.min) + ".." + std::to_string(r.max));
        else
          values_[it->first] = v;
      }
    } else if (key == "tv.audioLanguage") {
      if (IsLanguageCode(value.c_str())) audioLanguage_ = value;
      else bad(key, "not a language code");
    } else if (key == "tv.ratingLanguages") {
      for (const std::string& code : Split(value, ','))
        if (IsLanguageCode(code.c_str())) ratingLanguages_.push_back(code);
        else bad(key, "\"" + code + "\" is not a language code");
    } else if (key.rfind("tv.source.", 0) == 0) {
      int64_t w = 0;
      int32_t id = -1;
      if (ParseInt32(value, &id)) id = RenumberedSource(id);
      if (!ParseInt(key.substr(10), 0, kWindows - 1, &w)) known = false;
      else if (!FindSource(id)) bad(key, "no such source");
      else windowSource_[static_cast<size_t>(w)] = id;
    } else if (key.rfind("tv.sourceLock.", 0) == 0) {
      int32_t id = 0;
      Source* s = ParseInt32(key.substr(14), &id) ? FindSource(RenumberedSource(id)) : nullptr;
      if (!s) known = false;
      else s->locked = value == "1";
    } else if (key.rfind("tv.map.", 0) == 0) {
      int64_t m = 0;
      if (!ParseInt(key.substr(7), 0, kMedia - 1, &m)) known = false;
      else mapStored[static_cast<size_t>(m)] = true;
    } else if (key.rfind("tv.ch.", 0) == 0) {
      const auto k = Split(key, '.');
      const auto f = Split(value, ',', 7);
      int64_t m = 0, digital = 0, physical = 0, locked = 0, excluded = 0, service = 0, rating = 0;
      Channel c;
      if (k.size() != 5 || !ParseInt(k[2], 0, kMedia - 1, &m)) {
        known = false;
      } else if (!ParseInt32(k[3], &c.major) || !ParseInt32(k[4], &c.minor) || f.size() != 7 ||
                 !ParseInt(f[0], 0, 1, &digital) || !ParseInt(f[1], 0, 255, &physical) ||
                 !ParseInt(f[2], 0, 1, &locked) || !ParseInt(f[3], 0, 1, &excluded) ||
                 !ParseInt(f[4], 0, 1, &service) || !ParseInt(f[5], -1, 3, &rating) ||
                 f[6].size() > static_cast<size_t>(kChannelNameMax)) {
        bad(key, "not a channel record");
      } else {
        c.digital = digital != 0;
        c.physical = static_cast<int32_t>(physical);
        c.locked = locked != 0;
        c.excluded = excluded != 0;
        c.service = service != 0;
        c.rating = static_cast<int32_t>(rating);
        c.name = f[6];
        storedChannels[static_cast<size_t>(m)].push_back(c);
      }
    } else if (key.rfind("tv.ring.", 0) == 0 || key.rfind("tv.current.", 0) == 0) {
      // read after the maps, below
    } else if (key.rfind("tv.timer.", 0) == 0) {
      int64_t id = 0;
      const auto f = Split(value, ',');
      std::array<int32_t, kTimerWords> words{};
      bool ok = f.size() == static_cast<size_t>(kTimerWords);
      for (size_t i = 0; ok && i < f.size(); ++i) ok = ParseInt32(f[i], &words[i]);
      if (!ParseInt(key.substr(9), kOnTimerId, kLastTimerId, &id)) known = false;
      else if (!ok) bad(key, "not " + std::to_string(kTimerWords) + " numbers");
      else timers_[static_cast<int32_t>(id)] = words;
    } else if (key == "tv.clockOffset") {
      int64_t v = 0;
      if (ParseInt(value, -(int64_t{1} << 40), int64_t{1} << 40, &v)) manualOffset_ = v;
      else bad(key, "not a number");
    } else {
      known = false;
    }
    if (known) saved_[key] = value;  // keys of a later version are left alone
  }
  for (int32_t m = 0; m < kMedia; ++m) {
    if (!mapStored[m]) continue;
    MapState& map = maps_[m];
    map.channels.clear();
    for (const Channel& c : storedChannels[m]) InsertChannel(map, c);
    map.current = {{{kNoChannel, kNoChannel}, {kNoChannel, kNoChannel}}};
  }
  for (const auto& [key, value] : stored) {
    const auto k = Split(key, '.');
    int64_t m = 0, n = 0;
    if (k.size() != 4 || !ParseInt(k[2], 0, kMedia - 1, &m)) continue;
    MapState& map = maps_[static_cast<size_t>(m)];
    if (k[1] == "ring" && ParseInt(k[3], 1, kRings - 1, &n)) {
      for (const std::string& number : Split(value, ' ')) {
        int32_t major = 0, minor = 0;
        const int at = ParseNumber(number, &major, &minor) ? FindChannel(map, major, minor) : -1;
        if (at < 0) {
          bad(key, "\"" + number + "\" is not a channel of the map");
          continue;
        }
        const Channel& c = map.channels[static_cast<size_t>(at)];
        if (map.favorites[n].size() < static_cast<size_t>(kFavoriteRingMax))
          map.favorites[n].insert(ChannelKey(c.major, c.minor));
      }
    } else if (k[1] == "current" && ParseInt(k[3], 0, kWindows - 1, &n)) {
      int32_t major = 0, minor = 0;
      if (ParseNumber(value, &major, &minor)) map.current[static_cast<size_t>(n)] = {major, minor};
      else bad(key, "not a channel number");
    }
  }
}

int32_t PanelKeyCode(int32_t platformCode) {
  constexpr int32_t kPanelPower = 255, kPanelLast = 261, kPanelLocked = 96;
  if (platformCode <= kPanelPower || platformCode > kPanelLast) return platformCode;
  Sim* tv = Sim::Current();
  if (!tv || tv->Tv().Value(Setting::kFrontPanelLock) == 0) return platformCode;
  return kPanelLocked;
}

}  // namespace sim
