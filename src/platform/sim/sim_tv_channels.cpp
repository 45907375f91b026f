// The simulated television's channel maps and rings, tuning with its
// acquired events and picture, what the windows show, and the scans
// (sim_tv_state.h).
#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <set>

#include "platform/sim/sim.h"
#include "platform/sim/sim_guide.h"
#include "platform/sim/sim_rating_region.h"
#include "platform/sim/sim_tv_air.h"
#include "platform/sim/sim_tv_state.h"
#include "platform/xpm/xpm.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_settings.h"
#include "platform/xpm/xpm_events.h"
#include "runtime/clock.h"
#include "runtime/trace.h"

namespace sim {

namespace {

std::string Quote(const char* call) { return call ? call : "TvState"; }
void Bad(const char* call, const std::string& what) { kv::Log(Quote(call) + ": " + what + ", refused"); }

std::string Number(int32_t major, int32_t minor) {
  return minor == kAnalogMinor ? std::to_string(major) : std::to_string(major) + "." + std::to_string(minor);
}

bool Before(const Channel& a, const Channel& b) { return a.major != b.major ? a.major < b.major : a.minor < b.minor; }

// The statuses of a picture that waits for the PIN.
bool IsBlock(int32_t status) {
  return status == kChannelLocked || status == kChannelRatingLocked || status == kSourceLocked ||
         status == kSourceRatingLocked;
}

uint32_t PictureKeyOfChannel(int32_t medium, int32_t major, int32_t minor) {
  return static_cast<uint32_t>(medium) * 1000003u + static_cast<uint32_t>(major) * 1009u +
         static_cast<uint32_t>(minor + 3);
}

}  // namespace

// --- Maps ------------------------------------------------------------------------

Setting TvState::MediumSettingOf(int32_t sourceId) {
  return sourceId == kSourceTv2 ? Setting::kTuner2Medium : Setting::kMedium;
}

int32_t TvState::MediumLocked() const { return ValueLocked(MediumSettingOf(windowSource_[0]), 0); }

int32_t TvState::Medium() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return MediumLocked();
}

int32_t TvState::MediumOf(int32_t sourceId) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return ValueLocked(MediumSettingOf(sourceId), 0);
}

TvState::MapState& TvState::Map() { return maps_[static_cast<size_t>(MediumLocked())]; }
const TvState::MapState& TvState::Map() const { return maps_[static_cast<size_t>(MediumLocked())]; }

int TvState::FindChannel(const MapState& map, int32_t major, int32_t minor) const {
  // The map is kept in number order: the run of `major` is found by halving,
  // so walks over thousands of channels stay linear. A map out of order
  // (never written by this stand-in) still answers by the full search.
  const auto run = std::lower_bound(map.channels.begin(), map.channels.end(), major,
                                    [](const Channel& c, int32_t m) { return c.major < m; });
  for (auto it = run; it != map.channels.end() && it->major == major; ++it)
    // An analogue channel answers to minor 0 as well.
    if (it->minor == minor || (!it->digital && minor == 0)) return static_cast<int>(it - map.channels.begin());
  for (size_t i = 0; i < map.channels.size(); ++i) {
    const Channel& c = map.channels[i];
    if (c.major == major && (c.minor == minor || (!c.digital && minor == 0))) return static_cast<int>(i);
  }
  return -1;
}

bool TvState::DigitalOnlyLocked() const {
  const Source* s = FindSource(windowSource_[0]);
  return s && s->type == kSourceTypeDigitalTuner;
}

bool TvState::Shown(const MapState& map, const Channel& c) const {
  return c.digital || &map != &Map() || !DigitalOnlyLocked();
}

int TvState::FindShown(const MapState& map, int32_t major, int32_t minor) const {
  const int at = FindChannel(map, major, minor);
  return at >= 0 && Shown(map, map.channels[static_cast<size_t>(at)]) ? at : -1;
}

void TvState::InsertChannel(MapState& map, const Channel& c) {
  auto at = std::lower_bound(map.channels.begin(), map.channels.end(), c, Before);
  if (at != map.channels.end() && at->major == c.major && at->minor == c.minor) return;
  map.channels.insert(at, c);
}

std::vector<Channel> TvState::Channels(int32_t medium) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (medium < 0 || medium >= kMedia) return {};
  return maps_[static_cast<size_t>(medium)].channels;
}

std::vector<Channel> TvState::Ring(int32_t medium, int32_t ring) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (medium < 0 || medium >= kMedia || ring < 0 || ring >= kRings) return {};
  const MapState& map = maps_[static_cast<size_t>(medium)];
  std::vector<Channel> out;
  for (const Channel& c : map.channels)
    if (InRing(map, ring, c)) out.push_back(c);
  return out;
}

// Ring 0 holds the channels of the map that the viewer has not skipped (the
// skip mark is the channel's exclusion); the favourite rings their members.
bool TvState::InRing(const MapState& map, int32_t ring, const Channel& c) {
  if (ring == 0) return !c.excluded;
  return map.favorites[static_cast<size_t>(ring)].count(ChannelKey(c.major, c.minor)) != 0;
}

// The channel a window's tuner is on: the one it was last set to, or the
// first of the map when that one is gone (of the channels the calls see);
// null while there is none.
const Channel* TvState::CurrentChannelOf(int32_t window) const { return CurrentChannelOf(Map(), window); }

const Channel* TvState::CurrentChannelOf(const MapState& map, int32_t window) const {
  const auto& cur = map.current[static_cast<size_t>(window)];
  const int at = FindShown(map, cur.first, cur.second);
  if (at >= 0) return &map.channels[static_cast<size_t>(at)];
  for (const Channel& c : map.channels)
    if (Shown(map, c)) return &c;
  return nullptr;
}

int32_t TvState::SetMedium(int32_t medium, const char* call) {
  std::vector<Acquisition> acquired;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    // The medium of the tuner window 0 shows (TV's while it shows another input).
    const Setting setting = MediumSettingOf(windowSource_[0]);
    const int32_t before = ValueLocked(setting, 0);
    const int32_t status = StoreLocked(setting, 0, medium, call);
    if (status != XPM_OK || before == medium) return status;
    for (int32_t w = 0; w < kWindows; ++w) {
      const int32_t source = windowSource_[static_cast<size_t>(w)];
      if (IsTuner(source) && MediumSettingOf(source) == setting) AcquireWindowLocked(w, false, &acquired);
    }
    Save();
  }
  Send(acquired);
  return XPM_OK;
}

int32_t TvState::CurrentChannel(int32_t window, int32_t* major, int32_t* minor, const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (BadWindow(window, call)) return XPM_ERR_INVALID_PARAM;
  const Channel* c = CurrentChannelOf(window);
  *major = c ? c->major : kNoChannel;
  *minor = c ? c->minor : kNoChannel;
  return XPM_OK;
}

int32_t TvState::CurrentChannelOn(int32_t window, int32_t medium, int32_t* major, int32_t* minor,
                                  const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (BadWindow(window, call)) return XPM_ERR_INVALID_PARAM;
  if (medium < 0 || medium >= kMedia) {
    Bad(call, "no medium " + std::to_string(medium));
    return XPM_ERR_INVALID_PARAM;
  }
  const Channel* c = CurrentChannelOf(maps_[static_cast<size_t>(medium)], window);
  *major = c ? c->major : kNoChannel;
  *minor = c ? c->minor : kNoChannel;
  return XPM_OK;
}

int32_t TvState::SetChannel(int32_t window, int32_t major, int32_t minor, const char* call) {
  std::vector<Acquisition> acquired;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (BadWindow(window, call)) return XPM_ERR_INVALID_PARAM;
    MapState& map = Map();
    const int at = FindShown(map, major, minor);
    if (at < 0) {
      Bad(call, "channel " + Number(major, minor) + " is not in the channel map");
      return XPM_ERR_INVALID_PARAM;
    }
    // Tuning a window that shows another input brings it to the tuner.
    if (!IsTuner(windowSource_[static_cast<size_t>(window)])) {
      const auto tuner = std::find_if(sources_.begin(), sources_.end(),
                                      [](const Source& s) { return s.type == kSourceTypeTuner; });
      if (tuner == sources_.end()) {
        kv::Log(Quote(call) + ": the set has no tuner");
        return XPM_ERR_FAILED;
      }
      windowSource_[static_cast<size_t>(window)] = tuner->id;
    }
    const Channel& c = map.channels[static_cast<size_t>(at)];
    map.current[static_cast<size_t>(window)] = {c.major, c.minor};
    AcquireWindowLocked(window, false, &acquired);
    Save();
  }
  Send(acquired);
  return XPM_OK;
}

void TvState::TuneForRecording(int32_t window, int32_t medium, int32_t major, int32_t minor) {
  std::vector<Acquisition> acquired;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (window < 0 || window >= kWindows || medium < 0 || medium >= kMedia) return;
    const int32_t source = windowSource_[static_cast<size_t>(window)];
    if (!IsTuner(source)) return;
    const Setting setting = MediumSettingOf(source);
    const bool otherMedium = ValueLocked(setting, 0) != medium;
    MapState& map = maps_[static_cast<size_t>(medium)];
    const int at = FindChannel(map, major, minor);
    if (at < 0) return;
    if (!otherMedium) {
      const Channel* shown = CurrentChannelOf(window);
      if (shown && shown->major == major && shown->minor == minor) return;
    }
    kv::Log("recording " + Number(major, minor) + " on the tuner of window " + std::to_string(window) +
            ": the tuner tunes it");
    if (otherMedium && StoreLocked(setting, 0, medium, "XPM_RECORDING_START") != XPM_OK) return;
    map.current[static_cast<size_t>(window)] = {major, minor};
    AcquireWindowLocked(window, false, &acquired);
    Save();
  }
  Send(acquired);
}

int32_t TvState::ChannelInfo(int32_t major, int32_t minor, Channel* out, const char* /*call*/) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const MapState& map = Map();
  const int at = FindShown(map, major, minor);
  if (at < 0) return XPM_ERR_NOT_FOUND;  // a question, not a fault: no log
  *out = map.channels[static_cast<size_t>(at)];
  return XPM_OK;
}

int32_t TvState::ChannelInfoOn(int32_t medium, int32_t major, int32_t minor, Channel* out) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (medium < 0 || medium >= kMedia) return XPM_ERR_NOT_FOUND;
  const MapState& map = maps_[static_cast<size_t>(medium)];
  const int at = FindChannel(map, major, minor);
  if (at < 0) return XPM_ERR_NOT_FOUND;
  *out = map.channels[static_cast<size_t>(at)];
  return XPM_OK;
}

int32_t TvState::TunerMedium(int32_t tuner) const {
  std::lock_guard<std::mutex> lock(mutex_);
  int32_t source = tuner == 1 ? kSourceTv2 : kSourceTv;
  if (tuner >= 0 && tuner < kWindows && IsTuner(windowSource_[static_cast<size_t>(tuner)]))
    source = windowSource_[static_cast<size_t>(tuner)];
  return ValueLocked(MediumSettingOf(source), 0);
}

int32_t TvState::CurrentPhysicalChannel(int32_t window, int32_t* physical, const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (BadWindow(window, call)) return XPM_ERR_INVALID_PARAM;
  const Channel* c = CurrentChannelOf(window);
  if (!c) return XPM_ERR_FAILED;
  *physical = c->physical;
  return XPM_OK;
}

int32_t TvState::NumChannelsInRing(int32_t ring, int32_t* count, const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (ring < 0 || ring >= kRings) {
    Bad(call, "ring " + std::to_string(ring) + " outside 0.." + std::to_string(kRings - 1));
    return XPM_ERR_INVALID_PARAM;
  }
  const MapState& map = Map();
  *count = static_cast<int32_t>(std::count_if(map.channels.begin(), map.channels.end(), [&](const Channel& c) {
    return Shown(map, c) && InRing(map, ring, c);
  }));
  return XPM_OK;
}

int32_t TvState::IsChannelInRing(int32_t ring, int32_t major, int32_t minor, int32_t* in, const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (ring < 0 || ring >= kRings) {
    Bad(call, "ring " + std::to_string(ring) + " outside 0.." + std::to_string(kRings - 1));
    return XPM_ERR_INVALID_PARAM;
  }
  const MapState& map = Map();
  const int at = FindShown(map, major, minor);
  if (at < 0) {
    *in = 0;
    return XPM_OK;
  }
  *in = InRing(map, ring, map.channels[static_cast<size_t>(at)]) ? 1 : 0;
  return XPM_OK;
}

int32_t TvState::WalkChannels(int dir, int32_t window, int32_t source, int32_t ring, int32_t major, int32_t minor,
                              int32_t select, int32_t only, int32_t wrap, int32_t* outMajor, int32_t* outMinor,
                              const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  // `window`: the tuner (-1 any, 0 the RF tuner, 1 the digital tuner: digital
  // channels only); `source`: the map (-1 the current medium's, else 0 or 1).
  if (window < -1 || window > 1 || source < -1 || source >= kMedia) {
    Bad(call, "tuner " + std::to_string(window) + " or map " + std::to_string(source) + " unknown");
    return XPM_ERR_INVALID_PARAM;
  }
  if (ring < 0 || ring >= kRings) {
    Bad(call, "ring " + std::to_string(ring) + " outside 0.." + std::to_string(kRings - 1));
    return XPM_ERR_INVALID_PARAM;
  }
  if ((select & ~(kSelectSkipExcluded | kSelectSkipEmpty | kSelectSkipLocked)) != 0 ||
      (only != 0 && only != kOnlyDigital) || (wrap != 0 && wrap != 1)) {
    Bad(call, "walk flags " + std::to_string(select) + ", " + std::to_string(only) + ", " + std::to_string(wrap));
    return XPM_ERR_INVALID_PARAM;
  }
  const MapState& map = source == -1 ? Map() : maps_[static_cast<size_t>(source)];
  const bool digitalOnly = (only & kOnlyDigital) || window == 1 || (&map == &Map() && DigitalOnlyLocked());
  // Positions are indices into the map; a channel outside the ring is passed
  // over, so every member is visited once per round, the start last. Ring 0
  // is the whole map here: its skipped channels are passed over only when
  // the walk skips excluded channels (ch+ and ch-, the guide), so that the
  // master table still lists them.
  const auto isMember = [&](const Channel& c) {
    return ring == 0 || map.favorites[ring].count(ChannelKey(c.major, c.minor)) != 0;
  };
  const auto n = static_cast<int>(map.channels.size());
  int pos;
  if (major == -1 && minor == -1) {
    pos = dir > 0 ? -1 : n;  // before the first, after the last
  } else {
    const int at = FindShown(map, major, minor);
    if (at < 0 || !isMember(map.channels[static_cast<size_t>(at)])) {
      Bad(call, "channel " + Number(major, minor) + " is not in ring " + std::to_string(ring));
      return XPM_ERR_INVALID_PARAM;
    }
    pos = at;
  }
  for (int steps = 0; steps < n; ++steps) {
    pos += dir;
    if (pos < 0 || pos >= n) {
      if (!wrap) return kEndOfList;
      pos = pos < 0 ? n - 1 : 0;
    }
    const Channel& c = map.channels[static_cast<size_t>(pos)];
    if (!isMember(c)) continue;
    if ((select & kSelectSkipExcluded) && c.excluded) continue;
    if ((select & kSelectSkipEmpty) && !c.service) continue;
    if ((select & kSelectSkipLocked) && c.locked) continue;
    if (digitalOnly && !c.digital) continue;
    *outMajor = c.major;
    *outMinor = c.minor;
    return XPM_OK;
  }
  return kEndOfList;
}

int32_t TvState::VirtualChannels(int32_t physical, std::vector<std::pair<int32_t, int32_t>>* out,
                                 const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const int32_t medium = MediumLocked();
  if (physical < LowestPhysical(medium) || physical > HighestPhysical(medium)) {
    Bad(call, "physical channel " + std::to_string(physical) + " outside " + std::to_string(LowestPhysical(medium)) +
                  ".." + std::to_string(HighestPhysical(medium)));
    return XPM_ERR_INVALID_PARAM;
  }
  out->clear();
  for (const AirChannel& a : air_[static_cast<size_t>(medium)])
    if (a.physical == physical && (a.minor != kAnalogMinor || !DigitalOnlyLocked())) out->emplace_back(a.major, a.minor);
  return XPM_OK;
}

int32_t TvState::AddChannelToRing(int32_t ring, int32_t major, int32_t minor, const char* call) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (ring < 0 || ring >= kRings) {
    Bad(call, "ring " + std::to_string(ring) + " outside 0.." + std::to_string(kRings - 1));
    return XPM_ERR_INVALID_PARAM;
  }
  MapState& map = Map();
  if (ring == 0 && major == -1 && minor == -1) {  // every channel of the map: none skipped
    for (Channel& c : map.channels) c.excluded = false;
    Save();
    return XPM_OK;
  }
  const int at = FindShown(map, major, minor);
  if (at < 0) {
    Bad(call, "channel " + Number(major, minor) + " is not in the channel map");
    return XPM_ERR_INVALID_PARAM;
  }
  Channel& c = map.channels[static_cast<size_t>(at)];
  if (ring == 0) {  // the skip mark is cleared; nothing else of the channel changes
    c.excluded = false;
    Save();
    return XPM_OK;
  }
  auto& favorites = map.favorites[static_cast<size_t>(ring)];
  if (favorites.count(ChannelKey(c.major, c.minor))) return XPM_OK;
  if (favorites.size() >= static_cast<size_t>(kFavoriteRingMax)) {
    kv::Log(Quote(call) + ": favourite ring " + std::to_string(ring) + " is full (" +
            std::to_string(kFavoriteRingMax) + " channels)");
    return XPM_ERR_FAILED;
  }
  favorites.insert(ChannelKey(c.major, c.minor));
  Save();
  return XPM_OK;
}

int32_t TvState::RemoveChannelFromRing(int32_t ring, int32_t major, int32_t minor, const char* call) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (ring < 0 || ring >= kRings) {
    Bad(call, "ring " + std::to_string(ring) + " outside 0.." + std::to_string(kRings - 1));
    return XPM_ERR_INVALID_PARAM;
  }
  MapState& map = Map();
  if (ring == 0 && major == -1 && minor == -1) {  // every channel of the map: all skipped
    for (Channel& c : map.channels) c.excluded = true;
    Save();
    return XPM_OK;
  }
  const int at = FindShown(map, major, minor);
  if (at < 0 || !InRing(map, ring, map.channels[static_cast<size_t>(at)])) {
    Bad(call, "channel " + Number(major, minor) + " is not in ring " + std::to_string(ring));
    return XPM_ERR_INVALID_PARAM;
  }
  Channel& c = map.channels[static_cast<size_t>(at)];
  if (ring == 0)
    c.excluded = true;  // skipped: it stays in the map with its lock, name and favourites
  else
    map.favorites[ring].erase(ChannelKey(c.major, c.minor));
  Save();
  return XPM_OK;
}

int32_t TvState::SetChannelName(int32_t major, int32_t minor, const char* name, const char* call) {
  if (!name) {
    Bad(call, "no name");
    return XPM_ERR_INVALID_PARAM;
  }
  const size_t length = strnlen(name, kChannelNameMax + 1);
  if (length > static_cast<size_t>(kChannelNameMax)) {
    Bad(call, "name longer than " + std::to_string(kChannelNameMax) + " characters");
    return XPM_ERR_INVALID_PARAM;
  }
  for (size_t i = 0; i < length; ++i) {
    const auto ch = static_cast<unsigned char>(name[i]);
    if (ch < 0x20 || ch == 0x7F) {
      Bad(call, "name with a control character");
      return XPM_ERR_INVALID_PARAM;
    }
  }
  std::lock_guard<std::mutex> lock(mutex_);
  MapState& map = Map();
  const int at = FindShown(map, major, minor);
  if (at < 0) {
    Bad(call, "channel " + Number(major, minor) + " is not in the channel map");
    return XPM_ERR_INVALID_PARAM;
  }
  map.channels[static_cast<size_t>(at)].name.assign(name, length);
  Save();
  return XPM_OK;
}

int32_t TvState::SetChannelLock(int32_t major, int32_t minor, int32_t locked, const char* call) {
  std::vector<Acquisition> acquired;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (locked != 0 && locked != 1) {
      Bad(call, "lock flag " + std::to_string(locked) + " is neither 0 nor 1");
      return XPM_ERR_INVALID_PARAM;
    }
    MapState& map = Map();
    if (major == -1 && minor == -1) {  // every channel of the map
      for (Channel& c : map.channels) c.locked = locked != 0;
    } else {
      const int at = FindShown(map, major, minor);
      if (at < 0) {
        Bad(call, "channel " + Number(major, minor) + " is not in the channel map");
        return XPM_ERR_INVALID_PARAM;
      }
      map.channels[static_cast<size_t>(at)].locked = locked != 0;
    }
    Save();
    AcquireIfBlockChangedLocked(&acquired);
  }
  Send(acquired);
  return XPM_OK;
}

int32_t TvState::GetChannelLock(int32_t major, int32_t minor, int32_t* locked, const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const MapState& map = Map();
  const int at = FindShown(map, major, minor);
  if (at < 0) {
    Bad(call, "channel " + Number(major, minor) + " is not in the channel map");
    return XPM_ERR_INVALID_PARAM;
  }
  *locked = map.channels[static_cast<size_t>(at)].locked ? 1 : 0;
  return XPM_OK;
}

bool TvState::SetChannelExcluded(int32_t medium, int32_t major, int32_t minor, bool excluded) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (medium < 0 || medium >= kMedia) return false;
  MapState& map = maps_[static_cast<size_t>(medium)];
  const int at = FindChannel(map, major, minor);
  if (at < 0) return false;
  map.channels[static_cast<size_t>(at)].excluded = excluded;
  Save();
  return true;
}

// --- Acquisition -----------------------------------------------------------------------

bool TvState::ParentalLocksOn() const {
  return ValueLocked(Setting::kParentalLocksState, 0) == 2;  // XPM_PARENTAL_LOCKS_STATE_ON
}

int32_t TvState::SetParentalLocksState(int32_t value, const char* call) {
  return Set(Setting::kParentalLocksState, 0, value, call);
}

int32_t TvState::BlockLocked(int32_t window, int64_t* ends) const {
  *ends = 0;
  if (!ParentalLocksOn()) return 0;
  const int32_t source = windowSource_[static_cast<size_t>(window)];
  if (IsTuner(source)) {
    const Channel* c = CurrentChannelOf(window);
    if (!c) return 0;
    if (c->locked) return kChannelLocked;
    // (A channel that carries nothing has no programme to rate.)
    if (c->service && ProgrammeBlocked(*c, ends)) return kChannelRatingLocked;
    return 0;
  }
  const Source* s = FindSource(source);
  if (!s) return 0;
  if (s->locked) return kSourceLocked;
  // External inputs carry no rating: unrated content blocks them.
  if (s->signal && ValueLocked(Setting::kUnratedContent, 0)) return kSourceRatingLocked;
  return 0;
}

void TvState::AcquireIfBlockChangedLocked(std::vector<Acquisition>* out) {
  if (asleep_ || !pictureShown_ || windowSource_[0] == kSourceMedia) return;
  int64_t ends = 0;
  if (BlockLocked(0, &ends) == blockShown_) return;
  out->push_back(AcquireLocked(0, IsTuner(windowSource_[0])));
}

bool TvState::RatingBlocked(int32_t rating) const {
  if (rating < 0) return ValueLocked(Setting::kUnratedContent, 0) != 0;
  // Programme ratings 0 (G) to 3 (MA) are age levels 2 to 5; the whole rating.
  return ValueLocked(Setting::kUsAgeRating, (rating + 2) * 8) != 0;
}

bool TvState::RatingWordBlocked(int32_t word) const {
  if (word == 0) return ValueLocked(Setting::kUnratedContent, 0) != 0;
  // TV levels 1-2 are the children's ratings, 3-6 (TV-G to TV-MA) age
  // levels 2-5; a level is blocked whole or by one of its descriptors.
  const int32_t tv = (word >> 28) & 0xF;
  const auto tvBlocked = [&](Setting s, int32_t level) {
    if (ValueLocked(s, level * 8) != 0) return true;
    static constexpr int32_t kBits[] = {0x10, 0x100, 0x1000, 0x10000, 0x1000000};
    for (int32_t slot = 1; slot <= 5; ++slot)
      if ((word & kBits[slot - 1]) && ValueLocked(s, level * 8 + slot) != 0) return true;
    return false;
  };
  if (tv >= 1 && tv <= 2 && tvBlocked(Setting::kUsChildRating, tv)) return true;
  if (tv >= 3 && tv <= 6 && tvBlocked(Setting::kUsAgeRating, tv - 1)) return true;
  const int32_t movie = word & 0xF;  // 2 G to 7 X
  return movie >= 2 && movie <= 7 && ValueLocked(Setting::kUsMovieRating, movie * 8) != 0;
}

bool TvState::ProgrammeBlocked(const Channel& c, int64_t* ends) const {
  *ends = 0;
  GuideEvent now;
  if (GuideEventAt(c.major, c.minor, NetworkTime(), &now)) {
    *ends = now.start + now.duration;
    return RatingWordBlocked(UsRatingWord(now));
  }
  return RatingBlocked(c.rating);
}

void TvState::WatchProgrammeEnd(int64_t ends) {
  if (ends == programmeEnds_) return;
  programmeEnds_ = ends;
  const uint64_t watch = ++programmeWatch_;
  if (ends <= 0) return;
  sim_.Schedule((ends - kNetworkEpoch) * 1000, [this, watch] { ProgrammeEnded(watch); });
}

void TvState::ProgrammeEnded(uint64_t watch) {
  std::vector<Acquisition> acquired;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (watch != programmeWatch_) return;
    programmeEnds_ = 0;
    if (!IsTuner(windowSource_[0]) || asleep_) return;
    const Channel* c = CurrentChannelOf(0);
    if (!c) return;
    const bool wasBlocked = pictureBlank_ && ParentalLocksOn();
    int64_t ends = 0;
    const bool blocked = ParentalLocksOn() && !c->locked && ProgrammeBlocked(*c, &ends);
    if (blocked == wasBlocked || c->locked) {
      WatchProgrammeEnd(ends);  // the next programme's end
      return;
    }
    // The next programme's rating decides otherwise: acquired again.
    acquired.push_back(AcquireLocked(0, true));
  }
  Send(acquired);
}

Acquisition TvState::AcquireLocked(int32_t window, bool channelEvent) {
  Acquisition a;
  a.window = window;
  a.source = windowSource_[static_cast<size_t>(window)];
  a.channelEvent = channelEvent;
  a.picture = window == 0;
  const bool locksOn = ParentalLocksOn();
  if (IsTuner(a.source)) {
    MapState& map = Map();
    const Channel* c = CurrentChannelOf(window);
    if (!c) {
      // No channel to show: the viewer is told (the dispatcher's notice).
      a.status = kChannelMapEmpty;
      a.major = kNoChannel;
      a.minor = kNoChannel;
      a.lockResult = 2;
    } else {
      map.current[static_cast<size_t>(window)] = {c->major, c->minor};
      a.major = c->major;
      a.minor = c->minor;
      int64_t ends = 0;
      const int32_t block = BlockLocked(window, &ends);
      if (block != 0) {
        // A locked channel or a blocked programme waits for the PIN.
        a.status = block;
        a.lockResult = 2;
      } else {
        a.status = c->service ? kChannelOk : kChannelNotAvailable;
        if (!c->service) a.lockResult = 2;
      }
      if (window == 0 && locksOn && block != kChannelLocked) WatchProgrammeEnd(ends);
      a.pictureKey = PictureKeyOfChannel(MediumLocked(), c->major, c->minor);
      // Digital channels with rated programmes carry the downloadable rating table.
      a.ratingTable = c->digital && c->rating >= 0;
    }
    a.blank = a.status != kChannelOk;
  } else {
    const Source* s = FindSource(a.source);
    int64_t ends = 0;
    const int32_t block = BlockLocked(window, &ends);
    if (block == kSourceLocked) {
      a.status = kSourceLocked;
      a.lockResult = 2;
    } else if (!s->signal) {
      a.status = kSourceNoSignal;
      a.lockResult = 2;
    } else if (block != 0) {
      a.status = block;
      a.lockResult = 2;
    } else {
      a.status = kSourceOk;
    }
    a.channelEvent = false;
    a.pictureKey = 0x80000000u | static_cast<uint32_t>(a.source);
    a.blank = a.status != kSourceOk;
  }
  audioService_[static_cast<size_t>(window)] = 0;
  if (window == 0) frozen_ = false;
  return a;
}

void TvState::AcquireWindowLocked(int32_t window, bool fromSource, std::vector<Acquisition>* out) {
  if (fromSource) {
    Acquisition source = AcquireLocked(window, false);
    source.channelEvent = false;
    if (!IsTuner(source.source)) {
      out->push_back(source);
      return;
    }
    // A tuner input: the input's event with the channel's status, then the channel's.
    source.picture = false;
    out->push_back(source);
  }
  out->push_back(AcquireLocked(window, true));
}

void TvState::PictureShownLocked(const Acquisition& a) {
  pictureShown_ = true;
  pictureKey_ = a.pictureKey;
  pictureBlank_ = a.blank;
  blockShown_ = IsBlock(a.status) ? a.status : 0;
}

void TvState::Send(const std::vector<Acquisition>& acquisitions) {
  for (const Acquisition& a : acquisitions) {
    if (a.picture) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        PictureShownLocked(a);
      }
      SchedulePicture(a.pictureKey, a.blank);
    }
    if (a.channelEvent) {
      XPM_ChannelAcquiredPayload p{a.major, a.minor, a.window, a.status, a.lockResult};
      sim_.Inject(XPM_EVT_CHANNEL_ACQUIRED, p);
      if (a.ratingTable) AnnounceRatingRegion(sim_);
    } else {
      XPM_SourceAcquiredPayload p{a.source, a.window, a.status, a.lockResult};
      sim_.Inject(XPM_EVT_SOURCE_ACQUIRED, p);
    }
  }
}

void TvState::SchedulePicture(uint32_t key, bool blank) {
  sim_.Schedule(-1, [this, key, blank] {
    // A network application that owns the screen draws over the picture.
    int32_t app = 0;
    {
      std::lock_guard<std::mutex> lock(sim_.Mutex());
      for (const Sim::RunningApp& a : sim_.Manager().apps)
        if (a.kind != 1 && (a.flags & 0x20) == 0) {
          app = a.kind;
          break;
        }
    }
    int32_t w = 0, h = 0;
    const bool dark = PanelDark();
    const std::vector<uint32_t> picture =
        app != 0 && !dark ? MakeAppPicture(app, &w, &h) : MakePicture(key, blank || dark, &w, &h);
    const std::vector<uint32_t> plane = PlacePicture(picture, w, h, DisplayWindow(0));
    DeliverPicture(plane.data(), kPlaneWidth, kPlaneHeight);
  });
}

// --- What the windows show ------------------------------------------------------------

void TvState::SetChannelSignal(int32_t major, int32_t minor, int32_t quality) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (quality < 0) channelSignal_.erase(ChannelKey(major, minor));
  else channelSignal_[ChannelKey(major, minor)] = std::min(quality, 100);
}

void TvState::SetChannelVideoLines(int32_t major, int32_t minor, int32_t lines) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (lines != 480 && lines != 720 && lines != 1080) channelLines_.erase(ChannelKey(major, minor));
  else channelLines_[ChannelKey(major, minor)] = lines;
}

int32_t TvState::SignalQuality(int32_t window, int32_t* quality, const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (BadWindow(window, call)) return XPM_ERR_INVALID_PARAM;
  const int32_t id = windowSource_[static_cast<size_t>(window)];
  if (IsTuner(id)) {
    const Channel* c = CurrentChannelOf(window);
    *quality = c && c->service ? SignalOf(c->physical, c->digital) : 0;
    if (c && c->service)
      if (auto it = channelSignal_.find(ChannelKey(c->major, c->minor)); it != channelSignal_.end())
        *quality = it->second;
  } else {
    *quality = FindSource(id)->signal ? 100 : 0;
  }
  return XPM_OK;
}

int32_t TvState::GetVideoContent(int32_t window, VideoContent* out, const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (BadWindow(window, call)) return XPM_ERR_INVALID_PARAM;
  const Source* s = FindSource(windowSource_[static_cast<size_t>(window)]);
  VideoContent v;  // colour format 2: YUV 4:2:2; 0: RGB
  if (IsTuner(s->id)) {
    const Channel* c = CurrentChannelOf(window);
    if (!c || !c->service) return XPM_ERR_FAILED;  // no picture
    auto lines = channelLines_.find(ChannelKey(c->major, c->minor));
    switch (lines != channelLines_.end() ? lines->second : c->digital ? 1080 : 480) {
      case 720: v = {1280, 720, 2, 7, 2, 2, 0, 4, 0}; break;
      case 1080: v = {1920, 1080, 1, 4, 2, 2, 0, 4, 0}; break;
      default: v = {720, 480, 1, 4, c->digital ? 2 : 1, 2, 0, 4, 0}; break;
    }
  } else {
    if (!s->signal) return XPM_ERR_FAILED;
    switch (s->type) {
      case kSourceTypeVga: v = {1024, 768, 2, 8, 1, 0, 0, 4, 1}; break;
      case kSourceTypeComponent: v = {1280, 720, 2, 7, 2, 2, 0, 4, 0}; break;
      case kSourceTypeHdmi:
      case kSourceTypeDvi:
      case kSourceTypeMultimedia: v = {1920, 1080, 2, 7, 2, 2, 0, 4, 0}; break;
      default: v = {720, 480, 1, 4, 1, 2, 0, 4, 0}; break;
    }
    if (s->videoWidth > 0) {
      v.width = s->videoWidth;
      v.height = s->videoHeight;
      v.pcTiming = s->videoPcTiming ? 1 : 0;
    }
  }
  *out = v;
  return XPM_OK;
}

namespace {
constexpr const char* kAudioLanguages[] = {"eng", "spa"};
}

int32_t TvState::NumAudioServices(int32_t window, int32_t* count, const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (BadWindow(window, call)) return XPM_ERR_INVALID_PARAM;
  const Source* s = FindSource(windowSource_[static_cast<size_t>(window)]);
  if (IsTuner(s->id)) {
    const Channel* c = CurrentChannelOf(window);
    *count = !c || !c->service ? 0 : c->audioServices >= 0 ? std::min<int32_t>(c->audioServices, std::size(kAudioLanguages)) : c->digital ? 2 : 1;
  } else {
    *count = s->signal ? 1 : 0;
  }
  return XPM_OK;
}

int32_t TvState::CurrentAudioService(int32_t window, int32_t* index, const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (BadWindow(window, call)) return XPM_ERR_INVALID_PARAM;
  *index = audioService_[static_cast<size_t>(window)];
  return XPM_OK;
}

int32_t TvState::SetAudioService(int32_t window, int32_t index, const char* call) {
  int32_t count = 0;
  const int32_t status = NumAudioServices(window, &count, call);
  if (status != XPM_OK) return status;
  if (index < 0 || index >= count) {
    Bad(call, "audio service " + std::to_string(index) + " of " + std::to_string(count));
    return XPM_ERR_INVALID_PARAM;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  audioService_[static_cast<size_t>(window)] = index;
  return XPM_OK;
}

int32_t TvState::AudioServiceLanguage(int32_t window, int32_t index, std::string* language, const char* call) const {
  int32_t count = 0;
  const int32_t status = NumAudioServices(window, &count, call);
  if (status != XPM_OK) return status;
  if (index < 0 || index >= count) {
    Bad(call, "audio service " + std::to_string(index) + " of " + std::to_string(count));
    return XPM_ERR_INVALID_PARAM;
  }
  *language = kAudioLanguages[index];
  return XPM_OK;
}

int32_t TvState::AudioReception(int32_t window, int32_t* stereo, int32_t* sap, const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (BadWindow(window, call)) return XPM_ERR_INVALID_PARAM;
  const Source* s = FindSource(windowSource_[static_cast<size_t>(window)]);
  if (IsTuner(s->id)) {
    const Channel* c = CurrentChannelOf(window);
    const bool on = c && c->service;
    *stereo = on ? 1 : 0;
    *sap = on && !c->digital && c->physical % 2 == 0 ? 1 : 0;  // some analogue stations add a second programme
  } else {
    *stereo = s->signal ? 1 : 0;
    *sap = 0;
  }
  return XPM_OK;
}

int32_t TvState::GetCaptionService(int32_t window, int32_t advanced, int32_t service, CaptionService* out,
                                   const char* call) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (BadWindow(window, call)) return XPM_ERR_INVALID_PARAM;
  if ((advanced != 0 && advanced != 1) || service < 1) {
    Bad(call, "caption service " + std::to_string(service) + (advanced ? " (advanced)" : " (basic)"));
    return XPM_ERR_INVALID_PARAM;
  }
  // Digital channels carry advanced services 1 (English) and 2 (Spanish) and
  // basic service 1; analogue channels basic services 1 and 2.
  if (!IsTuner(windowSource_[static_cast<size_t>(window)])) return XPM_ERR_FAILED;
  const Channel* c = CurrentChannelOf(window);
  if (!c || !c->service) return XPM_ERR_FAILED;
  int32_t offered = c->digital ? (advanced ? 2 : 1) : (advanced ? 0 : 2);
  const int32_t set = advanced ? c->advancedCaptions : c->basicCaptions;
  if (set >= 0) offered = set;
  if (service > offered) return XPM_ERR_FAILED;
  // The last language has no full name in the user interface.
  static constexpr const char* kCaptionLanguages[] = {"eng", "spa", "fre", "kor", "jpn", "xyz"};
  out->language = kCaptionLanguages[static_cast<size_t>(service - 1) % std::size(kCaptionLanguages)];
  out->easyReader = advanced && service == c->easyReaderService ? 1 : 0;
  out->wideAspect = c->digital ? 1 : 0;
  return XPM_OK;
}

int32_t TvState::AutoSync(const char* call) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Source* s = FindSource(windowSource_[0]);
  if (s->type != kSourceTypeVga || !s->signal) {
    kv::Log(Quote(call) + ": the main window shows no PC signal to adjust to");
    return XPM_ERR_FAILED;
  }
  // The adjustment finds the signal's own geometry: the factory values.
  for (const char* key : {"horizontalPosition", "verticalPosition", "hLineAdjust", "vLineAdjust", "phase"})
    values_.erase(key);
  Save();
  return XPM_OK;
}

int32_t TvState::Standby(int32_t mode, int32_t /*reason*/, const char* /*call*/) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    asleep_ = true;
    if (ValueLocked(Setting::kParentalLocksState, 0) == 1) {  // off until standby
      values_[KeyOf(Setting::kParentalLocksState, 0)] = 2;
      Save();
    }
    if (mode == 0 || panelDark_) return XPM_OK;
    panelDark_ = true;
  }
  // The panel goes dark: the picture is black until the set wakes.
  SchedulePicture(0, true);
  return XPM_OK;
}

void TvState::SetFrontDisplayMode(int32_t mode) {
  std::lock_guard<std::mutex> lock(mutex_);
  frontDisplayMode_ = mode;
}

int32_t TvState::FrontDisplayMode() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return frontDisplayMode_;
}

// --- Scans -------------------------------------------------------------------------------

bool TvState::Wanted(const AirChannel& a, ScanKinds kinds) {
  // Neither kind asked for: the full scan of every kind.
  if (!kinds.analog && !kinds.digital) return true;
  return a.minor == kAnalogMinor ? kinds.analog : kinds.digital;
}

int32_t TvState::StartChannelScan(int32_t medium, bool analog, bool digital, bool additive, const char* call) {
  if (medium < 0 || medium >= kMedia) {
    Bad(call, "medium " + std::to_string(medium) + " is neither 0 (antenna) nor 1 (cable)");
    return XPM_ERR_INVALID_PARAM;
  }
  const ScanKinds kinds{analog, digital};
  uint64_t generation;
  std::vector<int32_t> physicals;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    generation = ++scanGeneration_;
    scanning_ = true;
    scanFound_ = 0;
    if (!additive) {
      // A scan that is not additive replaces the channels of the kinds it
      // looks for: a digital-only scan (the second tuner's) keeps the
      // analogue channels already in the map, and the other way round.
      MapState& map = maps_[static_cast<size_t>(medium)];
      std::erase_if(map.channels, [&kinds](const Channel& c) {
        return !kinds.analog && !kinds.digital ? true : (c.minor == kAnalogMinor ? kinds.analog : kinds.digital);
      });
      DropMissingChannels(map);
      Save();
    }
    if (!scansAnswer_) return XPM_OK;
    for (const AirChannel& a : air_[static_cast<size_t>(medium)])
      if (Wanted(a, kinds) && std::find(physicals.begin(), physicals.end(), a.physical) == physicals.end())
        physicals.push_back(a.physical);
    std::sort(physicals.begin(), physicals.end());
  }
  const int64_t now = kv::GetClock().Now();
  const auto n = static_cast<int32_t>(physicals.size());
  for (int32_t i = 0; i < n; ++i) {
    const int32_t physical = physicals[static_cast<size_t>(i)];
    const int32_t percent = (i + 1) * 100 / n;
    sim_.Schedule(now + int64_t{i + 1} * kScanStepMs, [this, generation, medium, kinds, physical, percent] {
      ScanStep(generation, medium, kinds, physical, percent);
    });
  }
  sim_.Schedule(now + int64_t{n + 1} * kScanStepMs, [this, generation] { ScanEnd(generation); });
  return XPM_OK;
}

int32_t TvState::StartChannelDiscovery(int32_t physical, bool analog, bool digital, bool tune, const char* call) {
  const ScanKinds kinds{analog, digital};
  uint64_t generation;
  int32_t medium;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    medium = MediumLocked();
    if (physical < LowestPhysical(medium) || physical > HighestPhysical(medium)) {
      Bad(call, "physical channel " + std::to_string(physical) + " outside " +
                    std::to_string(LowestPhysical(medium)) + ".." + std::to_string(HighestPhysical(medium)));
      return XPM_ERR_INVALID_PARAM;
    }
    generation = ++scanGeneration_;
    scanning_ = true;
    scanFound_ = 0;
    if (!scansAnswer_) return XPM_OK;
  }
  const int64_t now = kv::GetClock().Now();
  sim_.Schedule(now + kScanStepMs,
                [this, generation, medium, kinds, physical] { ScanStep(generation, medium, kinds, physical, 100); });
  if (tune)
    sim_.Schedule(now + 2 * kScanStepMs, [this, generation, medium, kinds, physical] {
      DiscoveryEnd(generation, medium, kinds, physical);
    });
  else
    sim_.Schedule(now + 2 * kScanStepMs, [this, generation] { ScanEnd(generation); });
  return XPM_OK;
}

void TvState::ScanStep(uint64_t generation, int32_t medium, ScanKinds kinds, int32_t physical, int32_t percent) {
  std::vector<uint8_t> payload;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (generation != scanGeneration_ || !scanning_) return;
    MapState& map = maps_[static_cast<size_t>(medium)];
    std::vector<XPM_ScanChannel> found;
    bool digital = false;
    for (const AirChannel& a : air_[static_cast<size_t>(medium)]) {
      if (a.physical != physical || !Wanted(a, kinds)) continue;
      if (FindChannel(map, a.major, a.minor) < 0) InsertChannel(map, FactoryChannel(a));
      // The event's numbers are 16-bit; an analogue channel's minor is 0 there.
      found.push_back({static_cast<uint16_t>(a.major), static_cast<uint16_t>(a.minor < 0 ? 0 : a.minor)});
      digital = digital || a.minor != kAnalogMinor;
    }
    scanFound_ += static_cast<int32_t>(found.size());
    Save();
    XPM_FullScanProgress head{};
    head.param[0] = physical;
    head.param[1] = found.empty() ? 0 : SignalOf(physical, digital);
    head.param[2] = percent;
    head.param[3] = scanFlag_;
    head.param[7] = static_cast<int32_t>(found.size());
    payload.resize(sizeof head + found.size() * sizeof(XPM_ScanChannel));
    std::memcpy(payload.data(), &head, sizeof head);
    if (!found.empty()) std::memcpy(payload.data() + sizeof head, found.data(), found.size() * sizeof found[0]);
  }
  sim_.Inject(XPM_EVT_FULL_SCAN_PROGRESS, payload.data(), payload.size());
}

void TvState::ScanEnd(uint64_t generation) {
  XPM_ScanEndPayload end{};
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (generation != scanGeneration_ || !scanning_) return;
    scanning_ = false;
    end.value0 = scanFound_;
  }
  sim_.Inject(XPM_EVT_FULL_SCAN_COMPLETE, end);
}

void TvState::DiscoveryEnd(uint64_t generation, int32_t medium, ScanKinds kinds, int32_t physical) {
  XPM_ScanEndPayload end{};
  std::vector<Acquisition> acquired;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (generation != scanGeneration_ || !scanning_) return;
    scanning_ = false;
    end.value0 = scanFound_;
    // Window 0 on a tuner of the medium looked through: tuned to the first
    // channel found there, or told that its map is still empty.
    if (IsTuner(windowSource_[0]) && MediumLocked() == medium && !asleep_) {
      MapState& map = Map();
      const Channel* first = nullptr;
      for (const AirChannel& a : air_[static_cast<size_t>(medium)]) {
        if (a.physical != physical || !Wanted(a, kinds)) continue;
        const int at = FindChannel(map, a.major, a.minor);
        if (at >= 0 && Shown(map, map.channels[static_cast<size_t>(at)])) {
          first = &map.channels[static_cast<size_t>(at)];
          break;
        }
      }
      if (first) {
        map.current[0] = {first->major, first->minor};
        AcquireWindowLocked(0, false, &acquired);
        Save();
      } else if (!CurrentChannelOf(0)) {
        AcquireWindowLocked(0, false, &acquired);
      }
    }
  }
  sim_.Inject(XPM_EVT_FULL_SCAN_COMPLETE, end);
  Send(acquired);
}

int32_t TvState::AbortChannelScan(const char* /*call*/) {
  XPM_ScanEndPayload end{};
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!scanning_) return XPM_OK;
    scanning_ = false;
    ++scanGeneration_;
    end.value0 = scanFound_;
    if (!scansAnswer_) return XPM_OK;
  }
  sim_.Inject(XPM_EVT_FULL_SCAN_ABORTED, end);
  return XPM_OK;
}

int32_t TvState::StartGuideScan(int32_t window, bool single, int32_t first, int32_t last, int32_t medium,
                                const char* call) {
  uint64_t generation;
  std::vector<std::pair<int32_t, int32_t>> channels;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (BadWindow(window, call)) return XPM_ERR_INVALID_PARAM;
    if (single) {
      const Channel* c = CurrentChannelOf(window);
      if (!c || !c->digital || !IsTuner(windowSource_[static_cast<size_t>(window)])) {
        kv::Log(Quote(call) + ": window " + std::to_string(window) + " shows no digital channel with a guide");
        return XPM_ERR_FAILED;
      }
      channels.emplace_back(c->major, c->minor);
    } else {
      if (medium < 0 || medium >= kMedia) {
        Bad(call, "medium " + std::to_string(medium) + " is neither 0 (antenna) nor 1 (cable)");
        return XPM_ERR_INVALID_PARAM;
      }
      for (const Channel& c : maps_[static_cast<size_t>(medium)].channels)
        if (c.digital && c.service && c.physical >= first && c.physical <= last) channels.emplace_back(c.major, c.minor);
    }
    generation = ++guideGeneration_;
    guideScanning_ = true;
    if (!scansAnswer_) return XPM_OK;
  }
  const int64_t now = kv::GetClock().Now();
  const auto total = static_cast<int32_t>(channels.size());
  for (int32_t i = 0; i < total; ++i) {
    const auto [major, minor] = channels[static_cast<size_t>(i)];
    sim_.Schedule(now + int64_t{i + 1} * kScanStepMs,
                  [this, generation, i, total, major = major, minor = minor] {
                    GuideStep(generation, i + 1, total, major, minor);
                  });
  }
  sim_.Schedule(now + int64_t{total + 1} * kScanStepMs, [this, generation, total] { GuideEnd(generation, total); });
  return XPM_OK;
}

void TvState::GuideStep(uint64_t generation, int32_t position, int32_t total, int32_t major, int32_t minor) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (generation != guideGeneration_ || !guideScanning_) return;
  }
  sim_.Inject(XPM_EVT_EPG_SCAN_PROGRESS, XPM_EpgScanProgress{position, total, major, minor});
}

void TvState::GuideEnd(uint64_t generation, int32_t total) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (generation != guideGeneration_ || !guideScanning_) return;
    guideScanning_ = false;
  }
  sim_.Inject(XPM_EVT_EPG_FULL_SCAN_COMPLETE, XPM_ScanEndPayload{total, 0});
}

int32_t TvState::AbortGuideScan(int32_t window, const char* call) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (BadWindow(window, call)) return XPM_ERR_INVALID_PARAM;
    if (!guideScanning_) return XPM_OK;
    guideScanning_ = false;
    ++guideGeneration_;
    if (!scansAnswer_) return XPM_OK;
  }
  sim_.Inject(XPM_EVT_EPG_FULL_SCAN_ABORTED, XPM_ScanEndPayload{0, 0});
  return XPM_OK;
}

}  // namespace sim

namespace sim {

void TvState::SetAir(int32_t medium, std::vector<AirChannel> channels) {
  if (medium < 0 || medium >= kMedia) return;
  std::sort(channels.begin(), channels.end(), [](const AirChannel& a, const AirChannel& b) {
    return ChannelKey(a.major, a.minor) < ChannelKey(b.major, b.minor);
  });
  std::lock_guard<std::mutex> lock(mutex_);
  air_[static_cast<size_t>(medium)] = std::move(channels);
}

void TvState::SetScanFlagWord(int32_t flag) {
  std::lock_guard<std::mutex> lock(mutex_);
  scanFlag_ = flag;
}

void TvState::SetScansAnswer(bool answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  scansAnswer_ = answer;
}

void SetAir(Sim& tv, int32_t medium, std::vector<AirChannel> channels) { tv.Tv().SetAir(medium, std::move(channels)); }
void SetScanFlagWord(Sim& tv, int32_t flag) { tv.Tv().SetScanFlagWord(flag); }
void SetScansAnswer(Sim& tv, bool answer) { tv.Tv().SetScansAnswer(answer); }

}  // namespace sim
