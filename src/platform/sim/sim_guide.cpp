#include "platform/sim/sim_guide.h"

#include <algorithm>
#include <array>
#include <map>
#include <utility>

#include "platform/sim/sim.h"
#include "platform/sim/sim_store.h"
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
  // An unrated programme carries no Canadian word either.
  e.canadianRating = e.rating < 0 ? 0 : static_cast<int32_t>((h >> 40) % 3);
  (void)major;
  (void)minor;
  return e;
}

// Guides set by tests, per channel (major, minor).
using Guides = std::map<std::pair<int32_t, int32_t>, std::vector<GuideEvent>>;
Volatile<Guides> g_guides;

// The day's programmes as they follow one another from its midnight, or
// the guide a test set for the channel.
template <class Visit>
void Walk(int32_t major, int32_t minor, int64_t from, Visit visit) {
  if (const Sim* tv = Sim::Current()) {
    // The visits only copy what they keep: they run under the lock.
    std::lock_guard<std::mutex> lock(g_guides.Mutex());
    const Guides& guides = g_guides.Of(*tv);
    if (auto it = guides.find({major, minor}); it != guides.end()) {
      // In time order: the first programme that ends after `from`.
      auto e = std::partition_point(it->second.begin(), it->second.end(),
                                    [&](const GuideEvent& g) { return g.start + g.duration <= from; });
      for (; e != it->second.end(); ++e)
        if (!visit(*e)) return;
      return;
    }
  }
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

// `rating` is a TV rating: TV-G (0) to TV-MA (3) are the TV levels 3 to 6.
int32_t UsRatingWord(const GuideEvent& e) {
  return e.usWord != 0 ? e.usWord : e.rating < 0 ? 0 : static_cast<int32_t>(static_cast<uint32_t>(e.rating + 3) << 28);
}

bool IsRated(const GuideEvent& e) { return UsRatingWord(e) != 0 || e.canadianRating != 0; }

void SetChannelGuide(Sim& tv, int32_t major, int32_t minor, std::vector<GuideEvent> events) {
  std::lock_guard<std::mutex> lock(g_guides.Mutex());
  g_guides.Of(tv)[{major, minor}] = std::move(events);
}

void ClearChannelGuide(Sim& tv, int32_t major, int32_t minor) {
  std::lock_guard<std::mutex> lock(g_guides.Mutex());
  g_guides.Of(tv).erase({major, minor});
}

std::vector<GuideEvent> TestGuide(int64_t now, int32_t count) {
  constexpr int32_t kTv14 = 5 << 28, kTvNone = 7 << 28, kDialogue = 0x10, kViolence = 0x10000, kMoviePg = 3;
  constexpr int32_t kCanadian14 = 5, kFrench13 = 0x10 | 3;
  std::vector<GuideEvent> out;
  int64_t start = now - 10 * 60;
  for (int32_t i = 0; i < count; ++i) {
    GuideEvent e;
    e.id = 1000 + i;
    e.start = start;
    e.duration = i == 0 ? 3600 : i == 1 ? 25 * 3600 : 1800;
    e.title = "Programme " + std::to_string(i + 1);
    e.description = "About programme " + std::to_string(i + 1) + ".";
    if (i == 0) {
      e.usWord = kTv14 | kDialogue | kViolence;
      e.canadianRating = kCanadian14;
    } else if (i == 1) {
      e.usWord = kTvNone | kMoviePg;
    } else if (i == 2) {
      e.canadianRating = kFrench13;
    }
    out.push_back(std::move(e));
    start += out.back().duration;
  }
  return out;
}

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
