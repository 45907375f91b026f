// The simulated source rings and network clock (xpm_rings.h), made from the
// television's inputs and favourite channel rings; nothing of their own is
// kept.
#include <string>
#include <vector>

#include "platform/sim/sim_tv_call.h"
#include "platform/xpm/xpm_rings.h"
#include "platform/xpm/xpm_settings.h"
#include "runtime/trace.h"

namespace {

std::vector<XPM_SourceRingEntry> SourceRing(sim::TvState& state, int32_t ring) {
  std::vector<XPM_SourceRingEntry> out;
  for (const sim::Source& s : state.Sources()) {
    if (s.type == sim::kSourceTypeTuner || s.type == sim::kSourceTypeDigitalTuner) {
      const int32_t medium = state.MediumOf(s.id);
      for (const sim::Channel& c : state.Ring(medium, ring)) out.push_back({s.id, medium, c.major, c.minor});
    } else {
      out.push_back({s.id, 0, -1, -1});
    }
  }
  return out;
}

bool BadRing(const char* call, int32_t ring) {
  if (ring >= 1 && ring < sim::kRings) return false;
  kv::Log(std::string(call) + ": no source ring " + std::to_string(ring) + ", refused");
  return true;
}

}  // namespace

int32_t XPM_GetNumSourcesInRing(int32_t ring, int32_t* count) {
  SIM_TV_ENTER("XPM_GetNumSourcesInRing", sim::Args(ring));
  SIM_TV_NEED(count);
  if (BadRing(kCall, ring)) return XPM_ERR_INVALID_PARAM;
  *count = static_cast<int32_t>(SourceRing(state, ring).size());
  return XPM_OK;
}

int32_t XPM_GetNextSource(int32_t ring, int32_t source, int32_t flag, int32_t major, int32_t minor,
                          XPM_SourceRingEntry* next) {
  SIM_TV_ENTER("XPM_GetNextSource", sim::Args(ring, source, flag, major, minor));
  SIM_TV_NEED(next);
  if (BadRing(kCall, ring)) return XPM_ERR_INVALID_PARAM;
  const std::vector<XPM_SourceRingEntry> entries = SourceRing(state, ring);
  if (entries.empty()) return XPM_ERR_END_OF_LIST;
  if (source == -1) {
    *next = entries.front();
    return XPM_OK;
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    const XPM_SourceRingEntry& e = entries[i];
    if (e.source == source && e.flag == flag && e.major == major && e.minor == minor) {
      *next = entries[(i + 1) % entries.size()];
      return XPM_OK;
    }
  }
  kv::Log(std::string(kCall) + ": the entry is not in ring " + std::to_string(ring) + ", refused");
  return XPM_ERR_INVALID_PARAM;
}

int32_t XPM_GetCurrentNetworkTime(int64_t* seconds) {
  SIM_TV_ENTER("XPM_GetCurrentNetworkTime", "");
  SIM_TV_NEED(seconds);
  *seconds = state.NetworkTime();
  return XPM_OK;
}
