// Texts the programme guides share: the clock line ("Mon, Dec 7, 09:30 AM"),
// the time span of a programme ("11:30 PM - 01:00 AM"), the rating-region
// line, and the stream badges of the channel in tune.
#pragma once

#include <cstdint>

#include "runtime/string.h"

namespace Structures {
class LocalTime;
}
namespace Views {
class Image;
}

namespace Channels {

// Weekday, month, day of the month and the 12-hour time of `t`; empty for null.
kv::String GuideClockText(const Structures::LocalTime* t);
// Start and end (start + `minutes`) on the 12-hour clock; the end wraps at
// midnight however long the programme is. Empty for a null start.
kv::String TimeSpanText(const Structures::LocalTime* start, int32_t minutes);
// The names of the channel's rating regions, joined by the region
// separator; empty when there are none.
kv::String RatingRegionText();
// Whether the main window carries a picture (acquisition 0, 4 or 5).
bool MainWindowAcquired();
// Frame of the signal indicator for a strength of 0 to 100.
int32_t SignalFrame(int32_t strength);

// The stream badges the guides show for the channel in tune.
struct StreamBadges {
  Views::Image* dolby;
  Views::Image* audioMode;
  Views::Image* sdhd;
  Views::Image* resolution;
  Views::Image* caption;
  Views::Image* record;
};
// Shows Dolby Digital, the audio mode, SD/HD and lines, captions and the
// record or timeshift mark from the set's state (the caller hid them first).
void ShowStreamBadges(const StreamBadges& b);

}  // namespace Channels
