// The simulated downloadable rating region (xpm_rating_region.h). The table
// itself is the broadcaster's (the outside world's; a fresh Sim has the
// default table below); which levels are blocked and whether the region
// blocks at all are the set's, kept in the Sim's state under "rrt.*".
//
// Tuning a digital channel with rated programmes announces the table once
// (XPM_EVT_RATING_REGION_UPDATED with its region), as does a new table.
//
// Default table, region 5, version 3: "Downloadable US (5)" with four
// dimensions: "Entire Audience" (graduated; NR, TV-G, TV-PG, TV-14,
// TV-MA), "Dialogue" (D), "Language" (L), "MPAA" (graduated; N/A, G, PG,
// PG-13, R, NC-17, X). Level 0 of each is unnamed, as broadcast tables
// have it (the screens show it as "None"), so no other level is named so.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

class Sim;

struct RatingLevelEntry {
  std::string abbrev;
  std::string text;
};
struct RatingDimensionEntry {
  std::string name;
  bool graduated = false;
  std::vector<RatingLevelEntry> levels;
};
struct RatingRegionTable {
  bool present = true;  // false: no table was downloaded
  std::string name;
  int32_t version = 0;
  std::vector<RatingDimensionEntry> dimensions;
};

RatingRegionTable DefaultRatingRegion();
// The table the broadcaster sent (for the running Sim only); the set
// announces it at once (XPM_EVT_RATING_REGION_UPDATED: region 5, or 0
// when no table was downloaded).
void SetRatingRegion(Sim& tv, const RatingRegionTable& region);
// A channel carrying the table was tuned: the set announces the region
// once per table (a table replaced is announced again).
void AnnounceRatingRegion(Sim& tv);

}  // namespace sim
