// SkinBin::Wrapper::CableOnOffTuning: the tuning after an antenna/cable
// switch.
#include "units/SkinBin/Wrapper.h"
#include "units/Structures/VirtualChannel.h"

namespace SkinBin {

// Tunes the medium's current channel, or its first channel when there is
// none, and marks the tuning as running until its acquisition event comes
// (the event agent ends it). A tuning that tunes nothing (an empty map)
// leaves the flag clear, so the Last key and the cable switch keep working.
void Wrapper::CableOnOffTuning() {
  Structures::VirtualChannel* current = GetCurrentChannel();
  const int32_t status = current->Major < 1
                             ? TuneToFirstChannel()
                             : SetChannel(current->Major, current->Minor < 0 ? 0 : current->Minor, true, false);
  IsTuningChannel = status == 0;
}

}  // namespace SkinBin
