// Which scheduled timers keep their objects alive.
#pragma once

namespace kv {

class Object;

// A scheduled timer is a collection root unless the filter answers false for
// its owner. The view framework sets one that answers false for a timer that
// serves only views no longer on screen: a closed screen is then freed even
// while one of its time-outs or animations is still pending, whatever the
// clock does (the timer goes with its object). The filter runs during
// marking: it may read objects, not change or allocate them.
using TimerRootFilter = bool (*)(Object* owner);
void SetTimerRootFilter(TimerRootFilter filter);

}  // namespace kv
