// The rating screens that host the grids and the downloadable table.
//
// ParentalLocks::EditRatingLimits: the rating grid (ParentalLocks::
// USARatings) with the focused item's help sentence below it. Reset asks
// confirmation 35 and comes back; the alternate-ratings button leads to
// EditDynamicRatings.
//
// ParentalLocks::EditDynamicRatings: the downloadable table as a grid of
// columns (ListForm::RRTDimensionList) with Done (writes the changed levels)
// and Reset (confirmation 38, which resets the region).
//
// ParentalLocks::RRTDimensionDialog and RRTLevelDialog: the same table one
// dimension at a time; a level toggle is written at once. Back from the
// levels reopens the dimensions on the same dimension.
//
// None of the four writes anything on leaving: the grids write on Done only.
#pragma once

#include <cstdint>

#include "units/ListForm/RatingLists.h"
#include "units/NonMenuSystem/WidgetClass.h"
#include "units/ParentalLocks/RatingGrid.h"
#include "units/SkinBin/SkinButtons.h"
#include "units/Views/MultilineText.h"
#include "units/Views/Rectangle.h"
#include "units/Views/Text.h"

namespace ParentalLocks {

class EditRatingLimits : public NonMenuSystem::BorderWidgetClass {
  KV_CLASS(ParentalLocks, EditRatingLimits, NonMenuSystem::BorderWidgetClass)
 public:
  EditRatingLimits();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  // The help line follows the grid's focus.
  void DoMove(kv::Object* sender);
  // Confirmation 35, which comes back here.
  void DoReset(kv::Object* sender);
  void DoTriggerRRT(kv::Object* sender);

  USARatings& Grid() { return grid_; }
  Views::MultilineText& HelpText() { return help_; }

 private:
  USARatings grid_;
  Views::Rectangle helpPanel_;
  Views::MultilineText help_;
};

class EditDynamicRatings : public NonMenuSystem::BorderWidgetClass {
  KV_CLASS(ParentalLocks, EditDynamicRatings, NonMenuSystem::BorderWidgetClass)
 public:
  EditDynamicRatings();

  void Initialize(Primitives::KeyRoutingParameter* param) override;
  kv::Object* HandleEvent(Core::Event* event) override;
  // From a button, up returns to the table.
  Forms::Ctrl* SelectUpper() override;
  // Empty on the buttons, else the focused level's description.
  void UpdateRRTHelp(kv::Object* sender);
  void PostUpdateRRTHelp(kv::Object* sender);
  void DoApplyRRT(kv::Object* sender);
  // Confirmation 38, which comes back here.
  void DoReset(kv::Object* sender);
  void DoFocusMove(kv::Object* sender);

  ListForm::RRTDimensionList& Table() { return table_; }
  SkinBin::Button& DoneButton() { return done_; }
  SkinBin::Button& ResetButton() { return reset_; }
  Views::Text& HelpText() { return help_; }

 private:
  Views::Rectangle helpPanel_;
  Views::Text help_;
  ListForm::RRTDimensionList table_;
  SkinBin::Button done_;
  SkinBin::Button reset_;
};

class RRTDimensionDialog : public NonMenuSystem::KXDWidgetClass {
  KV_CLASS(ParentalLocks, RRTDimensionDialog, NonMenuSystem::KXDWidgetClass)
 public:
  RRTDimensionDialog();
  // A SkinBin::UserRefInt's value is the dimension to focus.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  void ResetTimeoutSlot(kv::Object* = nullptr) { ResetTimeout(); }

  ListForm::KXDRRTDimensionList& List() { return list_; }

 private:
  ListForm::KXDRRTDimensionList list_;
};

class RRTLevelDialog : public NonMenuSystem::KXDWidgetClass {
  KV_CLASS(ParentalLocks, RRTLevelDialog, NonMenuSystem::KXDWidgetClass)
 public:
  RRTLevelDialog();
  // A SkinBin::UserRefInt's value is the dimension; the caption names it.
  void Initialize(Primitives::KeyRoutingParameter* param) override;
  void Refresh() override;
  // Back to the dimensions, on this dimension.
  void EnterPrevState() override;
  void ResetTimeoutSlot(kv::Object* = nullptr) { ResetTimeout(); }

  ListForm::KXDRRTLevelList& List() { return list_; }

 private:
  ListForm::KXDRRTLevelList list_;
};

}  // namespace ParentalLocks
