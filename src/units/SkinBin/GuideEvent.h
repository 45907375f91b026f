// A guide programme as the recording database and the middleware report it,
// made into a Structures::EventInfo.
#pragma once

#include <cstdint>

namespace Structures {
class EventInfo;
}

namespace SkinBin {

// The start (network seconds) becomes a local time through the middleware
// (none when it cannot convert it), the duration (seconds) minutes; the
// description is kept only when it says more than the title.
Structures::EventInfo* NewGuideEvent(int32_t id, int64_t start, int32_t duration, const int32_t rating[2],
                                     int32_t flags, const char* title, const char* description);

}  // namespace SkinBin
