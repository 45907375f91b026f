// The lists of the downloadable rating region. A level toggle changes the
// Wrapper's rating table and cascades through a graduated dimension
// (blocking a level blocks every level above it, opening one opens every
// level below).
//
// ListForm::KXDRRTDimensionList (the region's dimensions; OK opens a
// dimension's levels) and ListForm::KXDRRTLevelList (one dimension's levels
// as check boxes, checked = blocked) serve the dimension and level dialogs;
// the level list writes the differences to the middleware at once.
//
// ListForm::RRTDimensionList is the alternate-ratings grid: one column
// (ListForm::RRTDimensionItem) per dimension, five at a time, left and right
// moving between columns; each column carries its own ListForm::
// RRTLevelList. Toggles there change only the table; the owner writes it
// with ApplyRRT (its Done).
#pragma once

#include <cstdint>

#include "runtime/member.h"
#include "runtime/slot.h"
#include "runtime/string.h"
#include "units/ListForm/ListCourier.h"
#include "units/ListForm/OptionLists.h"
#include "units/ParentalLocks/RatingItem.h"
#include "units/Views/Rectangle.h"

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

// A level row of the grid; its second name is its help text. Its focus bar
// shows only in the focused column.
class RRTLevelItem : public ParentalLocks::RatingItem {
  KV_CLASS(ListForm, RRTLevelItem, ParentalLocks::RatingItem)
 public:
  RRTLevelItem();
  void SetData(kv::Object* data) override;
  kv::Object* GetData(kv::Object* data) override;
  int32_t GetCtrlState() override;

  int32_t ItemIndex = 0;  // the level
  kv::String SecondName;  // also the help string
};

class RRTLevelList : public ListClass {
  KV_CLASS(ListForm, RRTLevelList, ListClass)
 public:
  RRTLevelList();
  // The engine's start-up on the list's dimension; fewer levels than rows
  // make the list shorter.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  int32_t GetItemsNum() override;
  // Down on the last level is left to the owner.
  kv::Object* HandleEvent(Core::Event* event) override;
  // A row was toggled: the table follows (with the cascade), the rows show it.
  void SetRatingBlock(kv::Object* sender);
  // The focused level's second name (empty without a focused level).
  kv::String GetButtonHelp();

  int32_t Dimension = 8;
  // Set while the list's column has the focus: only then does its focused
  // level show the focus bar.
  bool Active = false;
};

// One column of the grid: the dimension's name over its level list. The
// level list is a child of the grid (rows hold no children) that the column
// places under its heading, shows with it and hands its keys to.
class RRTDimensionItem : public ListItem {
  KV_CLASS(ListForm, RRTDimensionItem, ListItem)
 public:
  RRTDimensionItem();
  // A courier names the dimension and (re)starts the level list on it.
  void SetData(kv::Object* data) override;
  void Refresh() override;
  void OnSetBounds(kv::Rect bounds) override;
  void OnSetVisible(bool visible) override;
  void HandleFocus(bool focused) override;
  // Keys go to the level list first.
  kv::Object* HandleEvent(Core::Event* event) override;
  kv::String GetButtonHelp() { return levels_->GetButtonHelp(); }
  // Signals FocusMove (the level list's moves).
  void DoFocusMove(kv::Object* sender);

  RRTLevelList& Levels() { return *levels_; }
  kv::Slot FocusMove;

 private:
  void PlaceLevels();
  kv::Member<RRTLevelList> levels_;
};

class RRTDimensionList : public ListClass {
  KV_CLASS(ListForm, RRTDimensionList, ListClass)
 public:
  RRTDimensionList();
  // Loads the whole rating table, then the engine's start-up; the grid
  // narrows to its dimensions, shortens to its longest column and hides
  // when no dimension has a level.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  // Every column's moves reach the list's FocusMove.
  void InitializeItems() override;
  int32_t GetItemsNum() override;
  // Writes every level whose block differs from the set.
  void ApplyRRT();
  // The focused column's focused level's second name.
  kv::String GetButtonHelp();

 private:
  Views::Rectangle background_;
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

// The dimension's name (DimensionName after GetDimensionInfo), or the
// unnamed-dimension text followed by its index.
kv::String DimensionName(const SkinBin::DynamicRatingData& d, int32_t dimension);
// Selects the region kept in the settings (dimension 0) and reads how many
// dimensions it has; 0 without a region.
int32_t ReadRegion(SkinBin::DynamicRatingData& d);

// The table's new state for a toggle of `level` in the selected dimension:
// the level itself, and with a graduated dimension every level above a
// blocked one or below an opened one.
void StoreRatingBlock(SkinBin::DynamicRatingData& d, int32_t dimension, int32_t level, bool blocked);

}  // namespace ListForm
