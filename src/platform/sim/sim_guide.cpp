#include "platform/sim/sim_guide.h"

#include <array>

#include "platform/sim/sim_tv_state.h"

namespace sim {
namespace {

constexpr int64_t kDay = 86400;

uint64_t Mix(uint64_t x) {
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdull;
  x ^= x >> 33;
  x *= 0xc4ceb9fe1a85ec53ull;
  x ^= x >> 33;
  return x;
}

uint64_t Hash(int32_t major, int32_t minor, int64_t start) {
  return Mix(kGuideSeed ^ Mix(static_cast<uint64_t>(major) << 32 ^ static_cast<uint32_t>(minor)) ^
             Mix(static_cast<uint64_t>(start)));
}

constexpr std::array<const char*, 12> kTitles = {
    "Morning News", "Cooking Today", "The Garden Hour", "Science Now", "Evening News",  "Mystery Theatre",
    "Wildlife",     "Match of the Day", "Late Show",     "Old Movies",  "Cartoon Club", "Weather"};
constexpr std::array<const char*, 4> kDescriptions = {
    "", "A new episode.", "Live from the studio, with guests and music.", "Repeat of last week's programme."};

GuideEvent Make(int32_t major, int32_t minor, int64_t start, uint64_t h) {
  GuideEvent e;
  e.start = start;
  e.duration = static_cast<int32_t>(30 * 60 * (1 + h % 4));
  e.id = static_cast<int32_t>((h >> 8) & 0x7FFFFFFF);
  e.title = kTitles[(h >> 16) % kTitles.size()];
  e.description = kDescriptions[(h >> 24) % kDescriptions.size()];
  // The title itself as description for a few, as real guides do.
  if ((h >> 28) % 7 == 0) e.description = e.title;
  e.rating = static_cast<int32_t>((h >> 32) % 5) - 1;
  e.canadianRating = static_cast<int32_t>((h >> 40) % 3);
  (void)major;
  (void)minor;
  return e;
}

// The day's programmes as they follow one another from its midnight.
template <class Visit>
void Walk(int32_t major, int32_t minor, int64_t from, Visit visit) {
  if (minor == kAnalogMinor) return;
  const int64_t first = (kNetworkEpoch / kDay - 1) * kDay;
  const int64_t last = first + (kGuideDays + 1) * kDay;
  int64_t start = first;
  while (start < last) {
    GuideEvent e = Make(major, minor, start, Hash(major, minor, start));
    if (start + e.duration > from && !visit(e)) return;
    start += e.duration;
  }
}

}  // namespace

std::vector<GuideEvent> GuideEvents(int32_t major, int32_t minor, int64_t from, int32_t count) {
  std::vector<GuideEvent> out;
  if (count <= 0) return out;
  Walk(major, minor, from, [&](const GuideEvent& e) {
    out.push_back(e);
    return static_cast<int32_t>(out.size()) < count;
  });
  return out;
}

bool GuideEventAt(int32_t major, int32_t minor, int64_t time, GuideEvent* out) {
  bool found = false;
  Walk(major, minor, time, [&](const GuideEvent& e) {
    found = e.start <= time;
    if (found) *out = e;
    return false;
  });
  return found;
}

}  // namespace sim
