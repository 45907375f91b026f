// The outside world replaces a whole channel map (a set delivered with a
// prepared map, or a test's): TvState::ReplaceChannelMap.
#include <algorithm>
#include <set>

#include "platform/sim/sim_tv_air.h"
#include "platform/sim/sim_tv_state.h"

namespace sim {

void TvState::ReplaceChannelMap(int32_t medium, const std::vector<Channel>& channels) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (medium < 0 || medium >= kMedia) return;
    MapState& map = maps_[static_cast<size_t>(medium)];
    std::vector<Channel> sorted = channels;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Channel& a, const Channel& b) {
      return a.major != b.major ? a.major < b.major : a.minor < b.minor;
    });
    sorted.erase(std::unique(sorted.begin(), sorted.end(),
                             [](const Channel& a, const Channel& b) { return a.major == b.major && a.minor == b.minor; }),
                 sorted.end());
    map.channels = std::move(sorted);
    DropMissingChannels(map);
    Save();
  }
}

void TvState::DropMissingChannels(MapState& map) {
  std::set<int64_t> present;
  for (const Channel& c : map.channels) present.insert(ChannelKey(c.major, c.minor));
  for (auto& ring : map.favorites)
    for (auto it = ring.begin(); it != ring.end();) it = present.count(*it) ? std::next(it) : ring.erase(it);
  for (auto& cur : map.current)
    if (!present.count(ChannelKey(cur.first, cur.second))) cur = {kNoChannel, kNoChannel};
}

}  // namespace sim
