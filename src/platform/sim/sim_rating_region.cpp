// The simulated downloadable rating region (sim_rating_region.h).
#include "platform/sim/sim_rating_region.h"

#include <map>
#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "platform/sim/sim_store.h"
#include "platform/sim/sim_tv_call.h"
#include "platform/xpm/xpm_event_ids.h"
#include "platform/xpm/xpm_events.h"
#include "platform/xpm/xpm_rating_region.h"
#include "runtime/trace.h"

namespace sim {

RatingRegionTable DefaultRatingRegion() {
  RatingRegionTable r;
  r.name = "Downloadable US (5)";
  r.version = 3;
  r.dimensions = {
      {"Entire Audience", true, {{"", ""}, {"NR", "Not rated"}, {"TV-G", "General audience"}, {"TV-PG", "Parental guidance"},
                                 {"TV-14", "Parents strongly cautioned"}, {"TV-MA", "Mature audience only"}}},
      {"Dialogue", false, {{"", ""}, {"D", "Suggestive dialogue"}}},
      {"Language", false, {{"", ""}, {"L", "Coarse language"}}},
      {"MPAA", true, {{"", ""}, {"N/A", "Not applicable"}, {"G", "General audiences"}, {"PG", "Parental guidance"},
                      {"PG-13", "Parents strongly cautioned"}, {"R", "Restricted"}, {"NC-17", "No one 17 and under"},
                      {"X", "Adults only"}}},
  };
  return r;
}

namespace {

struct Table {
  bool set = false;  // false: the default table
  bool announced = false;
  RatingRegionTable table;
};
Volatile<Table> g_table;

RatingRegionTable Current(const Sim& tv) {
  std::lock_guard<std::mutex> lock(g_table.Mutex());
  const Table& t = g_table.Of(tv);
  return t.set ? t.table : DefaultRatingRegion();
}

std::string BlockKey(int32_t dimension, int32_t level) {
  return "rrt.b." + std::to_string(dimension) + "." + std::to_string(level);
}

bool Refuse(const char* call, const std::string& what) {
  kv::Log(std::string(call) + ": " + what + ", refused");
  return true;
}

bool BadRegion(const char* call, const RatingRegionTable& r, int32_t region) {
  if (region != XPM_RATING_REGION_DOWNLOADABLE) return Refuse(call, "no rating region " + std::to_string(region));
  if (!r.present) return Refuse(call, "no rating table downloaded");
  return false;
}

bool BadDimension(const char* call, const RatingRegionTable& r, int32_t region, int32_t dimension) {
  if (BadRegion(call, r, region)) return true;
  if (dimension < 0 || dimension >= static_cast<int32_t>(r.dimensions.size()))
    return Refuse(call, "no dimension " + std::to_string(dimension));
  return false;
}

bool BadLevel(const char* call, const RatingRegionTable& r, int32_t region, int32_t dimension, int32_t level) {
  if (BadDimension(call, r, region, dimension)) return true;
  if (level < 0 || level >= static_cast<int32_t>(r.dimensions[static_cast<size_t>(dimension)].levels.size()))
    return Refuse(call, "no level " + std::to_string(level));
  return false;
}

}  // namespace

void SetRatingRegion(Sim& tv, const RatingRegionTable& region) {
  {
    std::lock_guard<std::mutex> lock(g_table.Mutex());
    Table& t = g_table.Of(tv);
    t.set = true;
    t.table = region;
    t.announced = true;
  }
  tv.Inject(XPM_EVT_RATING_REGION_UPDATED, XPM_Int32Payload{region.present ? XPM_RATING_REGION_DOWNLOADABLE : 0});
}

void AnnounceRatingRegion(Sim& tv) {
  int32_t region = 0;
  {
    std::lock_guard<std::mutex> lock(g_table.Mutex());
    Table& t = g_table.Of(tv);
    if (t.announced) return;
    t.announced = true;
    if (t.set && !t.table.present) return;
    region = XPM_RATING_REGION_DOWNLOADABLE;
  }
  tv.Inject(XPM_EVT_RATING_REGION_UPDATED, XPM_Int32Payload{region});
}

}  // namespace sim

#define RRT_ENTER(name, args)                                                 \
  static constexpr const char* kCall = name;                                  \
  sim::Sim* tv = sim::Sim::Current();                                         \
  if (auto fail = sim::EnterCall(kCall, args, XPM_ERR_NOT_READY)) return *fail; \
  if (!tv) return XPM_ERR_NOT_READY;                                          \
  const sim::RatingRegionTable r = sim::Current(*tv)

namespace {

int32_t RegionInfo(const char* kCall, const sim::RatingRegionTable& r, int32_t region, char* name,
                   int32_t* dimensions, int32_t* extra) {
  SIM_TV_NEED(name);
  SIM_TV_NEED(dimensions);
  if (sim::BadRegion(kCall, r, region)) return XPM_ERR_INVALID_PARAM;
  sim::CopyCText(name, XPM_RATING_TEXT_MAX, r.name);
  *dimensions = static_cast<int32_t>(r.dimensions.size());
  if (extra) *extra = r.version;
  return XPM_OK;
}

}  // namespace

int32_t XPM_GetRatingRegionInfo(int32_t region, char* name, int32_t* dimensions) {
  RRT_ENTER("XPM_GetRatingRegionInfo", sim::Args(region));
  return RegionInfo(kCall, r, region, name, dimensions, nullptr);
}

int32_t XPM_GetRatingRegionInfoEx(int32_t region, char* name, int32_t* dimensions, int32_t* extra) {
  RRT_ENTER("XPM_GetRatingRegionInfoEx", sim::Args(region));
  SIM_TV_NEED(extra);
  return RegionInfo(kCall, r, region, name, dimensions, extra);
}

int32_t XPM_GetRatingDimensionInfo(int32_t region, int32_t dimension, char* name, int32_t* graduated,
                                   int32_t* levels) {
  RRT_ENTER("XPM_GetRatingDimensionInfo", sim::Args(region, dimension));
  SIM_TV_NEED(name);
  SIM_TV_NEED(graduated);
  SIM_TV_NEED(levels);
  if (sim::BadDimension(kCall, r, region, dimension)) return XPM_ERR_INVALID_PARAM;
  const sim::RatingDimensionEntry& d = r.dimensions[static_cast<size_t>(dimension)];
  sim::CopyCText(name, XPM_RATING_TEXT_MAX, d.name);
  *graduated = d.graduated ? 1 : 0;
  *levels = static_cast<int32_t>(d.levels.size());
  return XPM_OK;
}

int32_t XPM_GetRatingLevelInfo(int32_t region, int32_t dimension, int32_t level, char* abbrev, char* text) {
  RRT_ENTER("XPM_GetRatingLevelInfo", sim::Args(region, dimension, level));
  SIM_TV_NEED(abbrev);
  SIM_TV_NEED(text);
  if (sim::BadLevel(kCall, r, region, dimension, level)) return XPM_ERR_INVALID_PARAM;
  const sim::RatingLevelEntry& l = r.dimensions[static_cast<size_t>(dimension)].levels[static_cast<size_t>(level)];
  sim::CopyCText(abbrev, XPM_RATING_TEXT_MAX, l.abbrev);
  sim::CopyCText(text, XPM_RATING_TEXT_MAX, l.text);
  return XPM_OK;
}

int32_t XPM_GetRatingLevel(int32_t region, int32_t dimension, int32_t level, int32_t* blocked) {
  RRT_ENTER("XPM_GetRatingLevel", sim::Args(region, dimension, level));
  SIM_TV_NEED(blocked);
  if (sim::BadLevel(kCall, r, region, dimension, level)) return XPM_ERR_INVALID_PARAM;
  *blocked = static_cast<int32_t>(sim::StoredNumber(*tv, sim::BlockKey(dimension, level), 0));
  return XPM_OK;
}

int32_t XPM_SetRatingLevel(int32_t region, int32_t dimension, int32_t level, int32_t blocked, int32_t graduated) {
  RRT_ENTER("XPM_SetRatingLevel", sim::Args(region, dimension, level, blocked, graduated));
  if (sim::BadLevel(kCall, r, region, dimension, level)) return XPM_ERR_INVALID_PARAM;
  if ((blocked != 0 && blocked != 1) || (graduated != 0 && graduated != 1)) {
    sim::Refuse(kCall, "flags " + std::to_string(blocked) + ", " + std::to_string(graduated));
    return XPM_ERR_INVALID_PARAM;
  }
  return sim::StoreNumber(*tv, sim::BlockKey(dimension, level), blocked) ? XPM_OK : XPM_ERR_FAILED;
}

int32_t XPM_SetRatingRegion(int32_t region, int32_t enable) {
  RRT_ENTER("XPM_SetRatingRegion", sim::Args(region, enable));
  if (sim::BadRegion(kCall, r, region)) return XPM_ERR_INVALID_PARAM;
  return sim::StoreNumber(*tv, "rrt.enable", enable != 0 ? 1 : 0) ? XPM_OK : XPM_ERR_FAILED;
}

int32_t XPM_ResetRatingRegion(int32_t region) {
  RRT_ENTER("XPM_ResetRatingRegion", sim::Args(region));
  if (sim::BadRegion(kCall, r, region)) return XPM_ERR_INVALID_PARAM;
  std::vector<std::string> gone;
  for (const auto& [key, value] : tv->StateWithPrefix("rrt.")) gone.push_back(key);
  return tv->UpdateState({}, gone) ? XPM_OK : XPM_ERR_FAILED;
}
