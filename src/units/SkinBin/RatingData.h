// The downloadable-rating records of the skin: SkinBin::RRT_Array, the
// block states of one rating region (255 dimensions x 100 levels);
// SkinBin::DynamicRatingData, the cursor into the region with what was read
// about it; SkinBin::UsAlternateRatingInfo, the alternative ratings of the
// channel in tune (at most 120 dimensions).
#pragma once

#include <array>
#include <cstdint>

#include "runtime/member.h"
#include "runtime/object.h"
#include "runtime/string.h"
#include "units/Structures/RRTDimensionData.h"

namespace SkinBin {

inline constexpr int32_t RRT_MAX_DIMENSIONS = 255;
inline constexpr int32_t RRT_MAX_LEVELS = 100;
inline constexpr int32_t MAX_ALT_RATINGS = 120;

class RRT_Array : public kv::Object {
  KV_CLASS(SkinBin, RRT_Array, kv::Object)
 public:
  RRT_Array() = default;

  static bool InRange(int32_t dimension, int32_t level) {
    return dimension >= 0 && dimension < RRT_MAX_DIMENSIONS && level >= 0 && level < RRT_MAX_LEVELS;
  }
  // Entry (dimension, level); 0 outside the table.
  uint8_t Get(int32_t dimension, int32_t level) const {
    return InRange(dimension, level) ? cells_[Index(dimension, level)] : 0;
  }
  // Ignored outside the table.
  void Set(int32_t dimension, int32_t level, uint8_t value) {
    if (InRange(dimension, level)) cells_[Index(dimension, level)] = value;
  }

 private:
  static size_t Index(int32_t dimension, int32_t level) {
    return static_cast<size_t>(dimension) * RRT_MAX_LEVELS + static_cast<size_t>(level);
  }
  std::array<uint8_t, RRT_MAX_DIMENSIONS * RRT_MAX_LEVELS> cells_{};
};

class DynamicRatingData : public kv::Object {
  KV_CLASS(SkinBin, DynamicRatingData, kv::Object)
 public:
  DynamicRatingData() = default;

  void SetRegionDimension(int32_t region, int32_t dimension) {
    Region = region;
    Dimension = dimension;
  }
  void SetLevel(int32_t level) { Level = level; }

  // The middleware's downloadable region at the cursor (RatingLoaders.cpp).
  // A failed read leaves the texts empty and the flags clear.
  // 5 when the downloadable region (5) can be read, else 0.
  int32_t GetRatingRegionId();
  void GetRegionInfo();
  // As GetRegionInfo, also reading RegionExtra (the table's version);
  // answers DimensionCount.
  int32_t GetRegionInfoEx();
  void GetDimensionInfo();
  void GetLevelInfo();
  void GetRatingLevel();
  void SetRatingLevel(int32_t blocked);
  // Switches a region's blocking; region 0 is no region and is not passed on.
  void SetRatingRegionEnable(int32_t region, bool enable);
  void ResetRegion();
  // The downloaded table's blocks reset, also when no screen has read the
  // region yet; without a downloaded table there is nothing to reset.
  void ResetDownloadedRegion();
  // Snapshot of every level's blocked state into Array (made when missing),
  // for the first 255 dimensions and 100 levels; MaxLevelCount becomes the
  // largest level count seen.
  void LoadRRTArray();
  // Writes back every level whose blocked state in Array differs from the
  // middleware's; nothing without an Array.
  void ApplyRRTArray();
  // Write or read one entry of Array. Ignored (the read answers 0) when there
  // is no array, or the dimension is not below DimensionCount and 255, or the
  // level is not below 100.
  void SetRRTArray(int32_t dimension, int32_t level, int32_t value);
  int32_t GetRRTArray(int32_t dimension, int32_t level) const;

  uint8_t LevelBlocked = 0;
  uint8_t RegionValid = 0;
  uint8_t Graduated = 0;  // of the current dimension
  int32_t Region = 0;
  int32_t Dimension = 0;
  int32_t Level = 0;
  kv::String RegionName;
  int32_t DimensionCount = 0;
  kv::String DimensionName;
  int32_t LevelCount = 0;
  kv::String LevelAbbrev;
  kv::String LevelText;
  int32_t RegionExtra = 0;
  int32_t MaxLevelCount = 0;
  kv::Member<RRT_Array> Array;  // made by the first snapshot of the region

 private:
  bool Addressable(int32_t dimension, int32_t level) const;
};

class UsAlternateRatingInfo : public kv::Object {
  KV_CLASS(SkinBin, UsAlternateRatingInfo, kv::Object)
 public:
  UsAlternateRatingInfo() = default;

  int32_t GetCount() const { return static_cast<int32_t>(entries_.size()); }
  // Entry i; null outside 0..GetCount()-1.
  Structures::RRTDimensionData* Get(int32_t i) const;
  // False (and a log line) for null or once MAX_ALT_RATINGS are held.
  bool Add(Structures::RRTDimensionData* entry);

  // The number of alternative ratings the middleware reported (may exceed
  // what is held).
  int32_t NumAltRatings = 0;

 private:
  kv::MemberVector<Structures::RRTDimensionData> entries_;
};

}  // namespace SkinBin
