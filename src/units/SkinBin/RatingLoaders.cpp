// SkinBin::DynamicRatingData's reads and writes of the middleware's
// downloadable rating region at its cursor (Region, Dimension, Level), and
// the snapshot of every level's blocked state that the lock pages edit and
// apply in one step.
#include <algorithm>

#include "platform/xpm/xpm_rating_region.h"
#include "runtime/trace.h"
#include "strings/SkinBin.h"
#include "units/SkinBin/RatingData.h"

namespace SkinBin {

namespace {
kv::String Text(const char* buffer) { return kv::NewStringAnsi(buffer); }
}  // namespace

int32_t DynamicRatingData::GetRatingRegionId() {
  char name[XPM_RATING_TEXT_MAX] = {};
  int32_t count = 0;
  // A probe: a missing region is an answer, not an error.
  return XPM_GetRatingRegionInfo(XPM_RATING_REGION_DOWNLOADABLE, name, &count) == XPM_OK
             ? XPM_RATING_REGION_DOWNLOADABLE
             : 0;
}

void DynamicRatingData::GetRegionInfo() {
  char name[XPM_RATING_TEXT_MAX] = {};
  int32_t count = 0;
  RegionValid = kv::LogFailedCall("XPM_GetRatingRegionInfo", XPM_GetRatingRegionInfo(Region, name, &count)) == XPM_OK;
  RegionName = RegionValid ? Text(name) : kv::String();
  if (RegionValid) DimensionCount = count;
}

int32_t DynamicRatingData::GetRegionInfoEx() {
  char name[XPM_RATING_TEXT_MAX] = {};
  int32_t count = 0, extra = 0;
  RegionValid =
      kv::LogFailedCall("XPM_GetRatingRegionInfoEx", XPM_GetRatingRegionInfoEx(Region, name, &count, &extra)) == XPM_OK;
  RegionName = RegionValid ? Text(name) : kv::String();
  if (RegionValid) {
    DimensionCount = count;
    RegionExtra = extra;
  }
  return DimensionCount;
}

void DynamicRatingData::GetDimensionInfo() {
  char name[XPM_RATING_TEXT_MAX] = {};
  int32_t graduated = 0, levels = 0;
  const bool ok = kv::LogFailedCall("XPM_GetRatingDimensionInfo",
                                    XPM_GetRatingDimensionInfo(Region, Dimension, name, &graduated, &levels)) == XPM_OK;
  DimensionName = ok ? Text(name) : kv::String();
  Graduated = ok && graduated > 0;
  LevelCount = ok ? levels : 0;
}

void DynamicRatingData::GetLevelInfo() {
  char abbrev[XPM_RATING_TEXT_MAX] = {}, text[XPM_RATING_TEXT_MAX] = {};
  const bool ok = kv::LogFailedCall("XPM_GetRatingLevelInfo",
                                    XPM_GetRatingLevelInfo(Region, Dimension, Level, abbrev, text)) == XPM_OK;
  LevelAbbrev = ok ? Text(abbrev) : kv::String();
  LevelText = ok ? Text(text) : kv::String();
}

void DynamicRatingData::GetRatingLevel() {
  int32_t blocked = 0;
  kv::LogFailedCall("XPM_GetRatingLevel", XPM_GetRatingLevel(Region, Dimension, Level, &blocked));
  LevelBlocked = blocked > 0;
}

void DynamicRatingData::SetRatingLevel(int32_t blocked) {
  LevelBlocked = blocked != 0;
  kv::LogFailedCall("XPM_SetRatingLevel",
                    XPM_SetRatingLevel(Region, Dimension, Level, blocked != 0 ? 1 : 0, Graduated ? 1 : 0));
}

void DynamicRatingData::SetRatingRegionEnable(int32_t region, bool enable) {
  kv::Trace("%s%b", {kv::LoadString(T_RATING_REGION_ENABLE), enable});
  if (region != 0) kv::LogFailedCall("XPM_SetRatingRegion", XPM_SetRatingRegion(region, enable ? 1 : 0));
}

void DynamicRatingData::ResetRegion() {
  kv::Trace("%s%i", {kv::LoadString(T_RATING_REGION_RESET), Region});
  kv::LogFailedCall("XPM_ResetRatingRegion", XPM_ResetRatingRegion(Region));
}

void DynamicRatingData::ResetDownloadedRegion() {
  if (Region == 0) Region = GetRatingRegionId();
  if (Region != 0) ResetRegion();
}

void DynamicRatingData::LoadRRTArray() {
  if (!Array) Array = kv::New<RRT_Array>();
  MaxLevelCount = 0;
  const int32_t dimensions = std::min(DimensionCount, RRT_MAX_DIMENSIONS);
  for (int32_t d = 0; d < dimensions; ++d) {
    Dimension = d;
    GetDimensionInfo();
    MaxLevelCount = std::max(MaxLevelCount, LevelCount);
    const int32_t levels = std::min(LevelCount, RRT_MAX_LEVELS);
    for (int32_t l = 0; l < levels; ++l) {
      Level = l;
      GetRatingLevel();
      Array->Set(d, l, LevelBlocked);
    }
  }
}

void DynamicRatingData::ApplyRRTArray() {
  if (!Array) return;
  const int32_t dimensions = std::min(DimensionCount, RRT_MAX_DIMENSIONS);
  for (int32_t d = 0; d < dimensions; ++d) {
    Dimension = d;
    GetDimensionInfo();
    const int32_t levels = std::min(LevelCount, RRT_MAX_LEVELS);
    for (int32_t l = 0; l < levels; ++l) {
      Level = l;
      GetRatingLevel();
      const uint8_t wanted = Array->Get(d, l);
      if (wanted != LevelBlocked) SetRatingLevel(wanted);
    }
  }
}

}  // namespace SkinBin
