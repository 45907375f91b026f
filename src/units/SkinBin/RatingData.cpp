#include "units/SkinBin/RatingData.h"

#include "units/Core/Log.h"

namespace SkinBin {

KV_REGISTER_CLASS(SkinBin::RRT_Array);
KV_REGISTER_CLASS(SkinBin::DynamicRatingData);
KV_REGISTER_CLASS(SkinBin::UsAlternateRatingInfo);

bool DynamicRatingData::Addressable(int32_t dimension, int32_t level) const {
  return Array && dimension < DimensionCount && RRT_Array::InRange(dimension, level);
}

void DynamicRatingData::SetRRTArray(int32_t dimension, int32_t level, int32_t value) {
  if (Addressable(dimension, level)) Array->Set(dimension, level, static_cast<uint8_t>(value));
}

int32_t DynamicRatingData::GetRRTArray(int32_t dimension, int32_t level) const {
  return Addressable(dimension, level) ? Array->Get(dimension, level) : 0;
}

Structures::RRTDimensionData* UsAlternateRatingInfo::Get(int32_t i) const {
  if (i < 0 || i >= GetCount()) return nullptr;
  return entries_[static_cast<size_t>(i)];
}

bool UsAlternateRatingInfo::Add(Structures::RRTDimensionData* entry) {
  if (!entry) {
    Core::LogError("SkinBin::UsAlternateRatingInfo::Add: null entry refused");
    return false;
  }
  if (GetCount() >= MAX_ALT_RATINGS) {
    Core::LogError("SkinBin::UsAlternateRatingInfo: full at %i ratings, dimension %i dropped",
                   {MAX_ALT_RATINGS, entry->DimensionId});
    return false;
  }
  entries_.push_back(entry);
  return true;
}

}  // namespace SkinBin
