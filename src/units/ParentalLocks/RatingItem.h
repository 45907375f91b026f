// The rating check boxes: ParentalLocks::RatingItem (checked = blocked, a
// help sentence for the screen) and its skin variant ParentalLocks::
// KXDRatingItem (pin-button backgrounds, a padlock when checked). The
// rating screens and the rating-level rows build on them.
#pragma once

#include "runtime/string.h"
#include "units/Button/CheckBox.h"

namespace ParentalLocks {

class RatingItem : public ::Button::CheckBox {
  KV_CLASS(ParentalLocks, RatingItem, ::Button::CheckBox)
 public:
  RatingItem();
  // The text at (4,0)-(96,32) left-aligned, the check image at (3,3)-(31,27).
  void Refresh() override;

  const kv::String& OnGetHelpString() const { return HelpString; }
  void OnSetHelpString(const kv::String& s) { HelpString = s; }

  kv::String HelpString;
};

class KXDRatingItem : public ::Button::CheckBox {
  KV_CLASS(ParentalLocks, KXDRatingItem, ::Button::CheckBox)
 public:
  KXDRatingItem();
};

}  // namespace ParentalLocks
