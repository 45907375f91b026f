// The lists of the downloadable rating region: ListForm::
// KXDRRTDimensionList (the region's dimensions; OK opens a dimension's
// levels) and ListForm::KXDRRTLevelList (one dimension's levels as check
// boxes, checked = blocked). A level toggle changes the Wrapper's rating
// table and cascades through a graduated dimension (blocking a level
// blocks every level above it, opening one opens every level below); the
// level list writes the differences to the middleware at once.
#pragma once

#include <cstdint>

#include "runtime/string.h"
#include "units/ListForm/ListCourier.h"
#include "units/ListForm/OptionLists.h"
#include "units/ParentalLocks/RatingItem.h"

namespace SkinBin {
class DynamicRatingData;
}

namespace ListForm {

class RRTLevelCourier : public ListCourier {
  KV_CLASS(ListForm, RRTLevelCourier, ListCourier)
 public:
  uint8_t Block = 0;
  kv::String SecondName;
};

class KXDRRTDimensionItem : public ListItem {
  KV_CLASS(ListForm, KXDRRTDimensionItem, ListItem)
 public:
  KXDRRTDimensionItem();
  // The text starts 8 pixels in.
  void Refresh() override;
  int32_t OnGetDimension() const { return ItemIndex; }
};

class KXDRRTLevelItem : public ParentalLocks::KXDRatingItem {
  KV_CLASS(ListForm, KXDRRTLevelItem, ParentalLocks::KXDRatingItem)
 public:
  KXDRRTLevelItem();
  // A level courier shows its level; anything else hides the row.
  void SetData(kv::Object* data) override;
  kv::Object* GetData(kv::Object* data) override;
  void Refresh() override;

  int32_t ItemIndex = 0;  // the level
  kv::String SecondName;
};

class KXDRRTDimensionList : public IndicatedList {
  KV_CLASS(ListForm, KXDRRTDimensionList, IndicatedList)
 public:
  KXDRRTDimensionList();
  // Loads the whole rating table, then the engine's start-up; fewer
  // dimensions than rows make the list shorter.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  int32_t GetItemsNum() override;
  int32_t GetFocusItemIndex() override { return FocusIndex; }
  // OK on a row: the level dialog of its dimension.
  void DoActivate(kv::Object* sender);

  int32_t FocusIndex = 0;
};

class KXDRRTLevelList : public IndicatedList {
  KV_CLASS(ListForm, KXDRRTLevelList, IndicatedList)
 public:
  KXDRRTLevelList();
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  int32_t GetItemsNum() override;
  // A row was toggled: the table follows (with the cascade), the middleware
  // gets the differences, the rows show the table again.
  void SetRatingBlock(kv::Object* sender);

  int32_t Dimension = 8;
};

// The table's new state for a toggle of `level` in the selected dimension:
// the level itself, and with a graduated dimension every level above a
// blocked one or below an opened one.
void StoreRatingBlock(SkinBin::DynamicRatingData& d, int32_t dimension, int32_t level, bool blocked);

}  // namespace ListForm
