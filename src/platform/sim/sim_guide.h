// The simulated guide: programmes of every channel over the next days,
// generated from a fixed seed, so that every run shows the same guide.
//
// Each channel's day is cut into programmes of 30, 60, 90 or 120 minutes
// from midnight (network time) of the day before the clock's start to
// kGuideDays after it; titles, descriptions, ratings and ids come from the
// seed, the channel's numbers and the programme's start. Analogue channels
// (minor kAnalogMinor) carry no guide.
//
// A test may give one channel a guide of its own (SetChannelGuide), in place
// of the seeded one, for as long as that Sim runs (it is not kept).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

class Sim;

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
  // The US rating word as the set sends it, when it is more than the TV
  // rating above: TV level << 28 (1 TV-Y ... 6 TV-MA, 7 none), the content
  // bits 0x10 D, 0x100 L, 0x1000 S, 0x10000 V, 0x1000000 FV, and the movie
  // level in the low four bits (1 N/A, 2 G ... 7 X). 0: from `rating`.
  int32_t usWord = 0;
};

// The US rating word the set sends for the programme (0: unrated).
int32_t UsRatingWord(const GuideEvent& e);
// True when the programme carries a rating (US or Canadian).
bool IsRated(const GuideEvent& e);

// The channel's programmes that end after `from`, in time order, at most `count`.
std::vector<GuideEvent> GuideEvents(int32_t major, int32_t minor, int64_t from, int32_t count);
// The programme running at `time`; false when the channel carries no guide then.
bool GuideEventAt(int32_t major, int32_t minor, int64_t time, GuideEvent* out);

// The channel's guide becomes `events` (in time order, back to back or with
// gaps) on the Sim `tv`; an empty list: the channel carries no guide.
void SetChannelGuide(Sim& tv, int32_t major, int32_t minor, std::vector<GuideEvent> events);
// The channel's seeded guide again.
void ClearChannelGuide(Sim& tv, int32_t major, int32_t minor);
// A guide of `count` programmes for a test: the first began ten minutes
// before `now` and lasts an hour, the second lasts 25 hours, the others half
// an hour each; titles "Programme 1" ... Ratings: the first is TV-14 with
// dialogue and violence and Canadian 14+, the second carries no TV rating
// ("none") and the movie rating PG, the third is French-Canadian 13 ans+,
// the others unrated.
std::vector<GuideEvent> TestGuide(int64_t now, int32_t count);

}  // namespace sim
