// The middleware's downloadable rating region (the rating table a broadcaster
// sends): its name, its dimensions (each a rating scale such as an age scale
// or a content descriptor) and their levels, and which levels the viewer
// blocked. Served by the simulated television (sim_rating_region.h).
//
// Status convention as in xpm_settings.h: XPM_OK (0) is success; out-values
// are written only on success; a region that is not there (not downloaded,
// or any number other than the downloadable region's) answers
// XPM_ERR_INVALID_PARAM, as does a dimension or level outside the region.
//
// Every text buffer a call fills holds XPM_RATING_TEXT_MAX bytes: the text
// as zero-terminated 8-bit text, cut to XPM_RATING_TEXT_MAX - 1 characters.
#pragma once

#include <cstdint>

#include "platform/xpm/xpm.h"

enum : int32_t {
  XPM_RATING_REGION_DOWNLOADABLE = 5,  // the region number of the downloaded table
  XPM_RATING_TEXT_MAX = 64,
};

// The region's name and number of dimensions.
int32_t XPM_GetRatingRegionInfo(int32_t region, char* name, int32_t* dimensions);
// As above, with the table's version number in `extra`.
int32_t XPM_GetRatingRegionInfoEx(int32_t region, char* name, int32_t* dimensions, int32_t* extra);
// A dimension's name, whether its levels are graduated (1: blocking a level
// means blocking the higher ones; the caller asks for each) and its levels.
int32_t XPM_GetRatingDimensionInfo(int32_t region, int32_t dimension, char* name, int32_t* graduated,
                                   int32_t* levels);
// A level's abbreviation and full text.
int32_t XPM_GetRatingLevelInfo(int32_t region, int32_t dimension, int32_t level, char* abbrev, char* text);
int32_t XPM_GetRatingLevel(int32_t region, int32_t dimension, int32_t level, int32_t* blocked);
// blocked and graduated: 0 or 1.
int32_t XPM_SetRatingLevel(int32_t region, int32_t dimension, int32_t level, int32_t blocked, int32_t graduated);
// Switches the region's blocking on (1) or off (0).
int32_t XPM_SetRatingRegion(int32_t region, int32_t enable);
// Unblocks every level of the region and switches its blocking off.
int32_t XPM_ResetRatingRegion(int32_t region);
