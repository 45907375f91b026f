#include "units/SkinBin/EPGEventsInfo_DB.h"

#include "units/Core/Log.h"

namespace SkinBin {

KV_REGISTER_CLASS(SkinBin::EPGEventsInfo_DB);

Structures::EventInfo* EPGEventsInfo_DB::GetEvent(int32_t i) const {
  if (i < 0 || static_cast<size_t>(i) >= events_.size()) return nullptr;
  return events_[static_cast<size_t>(i)];
}

bool EPGEventsInfo_DB::SetEvent(int32_t i, Structures::EventInfo* event) {
  if (i < 0 || i >= MAX_EPG_EVENTS) {
    Core::LogError("SkinBin::EPGEventsInfo_DB: place %i outside the %i events, event dropped", {i, MAX_EPG_EVENTS});
    return false;
  }
  const auto at = static_cast<size_t>(i);
  while (events_.size() <= at) events_.push_back(nullptr);
  events_.set(at, event);
  return true;
}

void EPGEventsInfo_DB::ClearEvents() {
  events_.clear();
  NoMoreEvents = 0;
}

}  // namespace SkinBin
