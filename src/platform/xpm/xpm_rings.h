// The middleware's source rings and the current network time, served by the
// simulated television.
//
// A source ring lists the favourite inputs of one ring number (1 to 3): every
// input of the set once, the tuner input once per favourite channel of the
// same channel ring on the current medium. An entry is (source id, flag,
// major, minor): for a tuner entry the flag is the medium (0 antenna,
// 1 cable) and the numbers the channel's; for other inputs the flag is 0 and
// the numbers (-1, -1).
//
// Status convention as in xpm_settings.h: XPM_OK (0) is success; out-values
// are written only on success.
#pragma once

#include <cstdint>

#include "platform/xpm/xpm.h"

// One entry of a source ring.
struct XPM_SourceRingEntry {
  int32_t source;
  int32_t flag;
  int32_t major;
  int32_t minor;
};
static_assert(sizeof(XPM_SourceRingEntry) == 16);

int32_t XPM_GetNumSourcesInRing(int32_t ring, int32_t* count);
// The entry after (source, flag, major, minor) in the ring; source -1 starts
// before the first entry. The ring is a ring: the entry after the last is
// the first again (the caller ends its walk when it comes back). An empty
// ring answers XPM_ERR_END_OF_LIST; an entry not in the ring
// XPM_ERR_INVALID_PARAM.
int32_t XPM_GetNextSource(int32_t ring, int32_t source, int32_t flag, int32_t major, int32_t minor,
                          XPM_SourceRingEntry* next);

// Seconds since 1970 (UTC) of the broadcast network's clock.
int32_t XPM_GetCurrentNetworkTime(int64_t* seconds);
