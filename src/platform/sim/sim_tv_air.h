// What the simulated television's tuner receives: the channels on the air for
// antenna and cable. A factory channel map, and every scan, take them from here.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/sim/sim_tv_state.h"

namespace sim {

struct AirChannel {
  int32_t major;
  int32_t minor;  // kAnalogMinor for an analogue channel
  const char* name;
  int32_t physical;
  int32_t rating;  // the programme's US TV rating 0-3, -1 unrated
  bool service;    // false: listed, but nothing is broadcast on it
};

// In number order.
const std::vector<AirChannel>& Air(int32_t medium);
Channel FactoryChannel(const AirChannel& air);

// The physical channels a medium has.
int32_t LowestPhysical(int32_t medium);
int32_t HighestPhysical(int32_t medium);
// The reception quality of a physical channel, 0-100.
int32_t SignalOf(int32_t physical, bool digital);

// A channel number as one key (sets of channels).
inline int64_t ChannelKey(int32_t major, int32_t minor) {
  return static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(major)) << 32) |
                              static_cast<uint32_t>(minor));
}

}  // namespace sim
