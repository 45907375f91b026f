// What the simulated television's tuner receives: the channels on the air for
// antenna and cable. A factory channel map, and every scan, take them from here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sim/sim_tv_state.h"

namespace sim {

// AirChannel: sim_tv_state.h.

class Sim;

// What a medium carries when the set leaves the factory, in number order.
const std::vector<AirChannel>& DefaultAir(int32_t medium);
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

// --- The outside world (tests) ----------------------------------------------------
// From now on `medium` carries `channels` (in any order; kept in number
// order): an empty air, a crowded one. Maps already scanned keep theirs.
void SetAir(Sim& tv, int32_t medium, std::vector<AirChannel> channels);
// `count` digital channels, `perPhysical` to a physical channel from the
// medium's lowest upwards, numbered physical-1, physical-2 ...
std::vector<AirChannel> CrowdedAir(int32_t medium, int32_t count, int32_t perPhysical);
// The flag word (parameter 3) of every scan-progress event from now on.
void SetScanFlagWord(Sim& tv, int32_t flag);
// With `answer` false, the scans, discoveries and guide scans started from
// now on report nothing (no progress, no end) and an abort sends no event.
void SetScansAnswer(Sim& tv, bool answer);

}  // namespace sim
