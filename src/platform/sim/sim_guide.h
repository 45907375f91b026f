// The simulated guide: programmes of every channel over the next days,
// generated from a fixed seed, so that every run shows the same guide.
//
// Each channel's day is cut into programmes of 30, 60, 90 or 120 minutes
// from midnight (network time) of the day before the clock's start to
// kGuideDays after it; titles, descriptions, ratings and ids come from the
// seed, the channel's numbers and the programme's start. Analogue channels
// (minor kAnalogMinor) carry no guide.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

constexpr uint64_t kGuideSeed = 0x7475695F67756964ull;
constexpr int32_t kGuideDays = 7;

struct GuideEvent {
  int32_t id = 0;
  int64_t start = 0;     // network seconds
  int32_t duration = 0;  // seconds
  std::string title;
  std::string description;  // empty for some programmes
  int32_t rating = -1;      // the US TV rating 0 (G) to 3 (MA); -1 unrated
  int32_t canadianRating = 0;
};

// The channel's programmes that end after `from`, in time order, at most `count`.
std::vector<GuideEvent> GuideEvents(int32_t major, int32_t minor, int64_t from, int32_t count);
// The programme running at `time`; false when the channel carries no guide then.
bool GuideEventAt(int32_t major, int32_t minor, int64_t time, GuideEvent* out);

}  // namespace sim
