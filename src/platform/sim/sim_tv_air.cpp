#include "platform/sim/sim_tv_air.h"

#include <string>

namespace sim {

namespace {

const std::vector<AirChannel> kAntenna = {
    {2, 1, "Metro HD", 19, 1, true},     {2, 2, "Metro Kids", 19, 0, true},
    {3, kAnalogMinor, "Valley 3", 3, -1, true},
    {4, 1, "City News", 28, 1, true},    {4, 2, "City Weather", 28, 0, true},
    {4, 3, "City Data", 28, 0, false},   {5, 1, "Public HD", 33, 0, true},
    {6, kAnalogMinor, "Lakeside 6", 6, -1, true},
    {7, 1, "Civic 7", 35, 2, true},      {7, 2, "Classic Movies", 35, 3, true},
    {9, 1, "Shop Now", 39, 0, true},     {11, 1, "Sports 11", 41, 1, true},
};

const std::vector<AirChannel> kCable = {
    {2, kAnalogMinor, "Access 2", 2, -1, true},
    {3, kAnalogMinor, "Valley 3", 3, -1, true},
    {8, kAnalogMinor, "Local 8", 8, -1, true},
    {12, kAnalogMinor, "Community 12", 12, -1, true},
    {15, 1, "Metro HD", 80, 1, true},     {15, 2, "Metro Kids", 80, 0, true},
    {22, 1, "City News", 82, 1, true},    {30, 1, "Movies One", 90, 3, true},
    {30, 2, "Movies Two", 90, 2, true},   {30, 3, "Pay Preview", 90, 0, false},
    {45, 1, "Sports Net", 101, 1, true},  {60, 1, "Music Mix", 110, 0, true},
};

}  // namespace

const std::vector<AirChannel>& DefaultAir(int32_t medium) { return medium == 1 ? kCable : kAntenna; }

std::vector<AirChannel> CrowdedAir(int32_t medium, int32_t count, int32_t perPhysical) {
  std::vector<AirChannel> air;
  if (count <= 0 || perPhysical <= 0) return air;
  air.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    const int32_t physical = LowestPhysical(medium) + i / perPhysical;
    if (physical > HighestPhysical(medium)) break;
    const int32_t minor = i % perPhysical + 1;
    air.push_back({physical, minor, "Channel " + std::to_string(physical) + "-" + std::to_string(minor), physical, 0,
                   true});
  }
  return air;
}

Channel FactoryChannel(const AirChannel& air) {
  Channel c;
  c.major = air.major;
  c.minor = air.minor;
  c.name = air.name;
  c.digital = air.minor != kAnalogMinor;
  c.physical = air.physical;
  c.service = air.service;
  c.rating = air.rating;
  return c;
}

int32_t LowestPhysical(int32_t medium) { return medium == 1 ? 1 : 2; }
int32_t HighestPhysical(int32_t medium) { return medium == 1 ? 135 : 69; }

int32_t SignalOf(int32_t physical, bool digital) { return digital ? 55 + (physical * 37) % 45 : 70; }

}  // namespace sim
