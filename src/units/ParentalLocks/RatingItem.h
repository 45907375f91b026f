// The rating check boxes: ParentalLocks::RatingItem (checked = blocked, a
// help sentence for the screen) and its skin variant ParentalLocks::
// KXDRatingItem (pin-button backgrounds, a padlock when checked). The
// rating screens and the rating-level rows build on them.
#pragma once

#include <cstdint>

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
  // The padlock at the left end, the text close after it and clear of the
  // right end cap, so that "PG-13" and "NC-17" fit the scales' 86 px boxes.
  void Refresh() override;
};

// The US TV rating of a box: the table (children's or age-based), the level
// within it and the content (kWholeRating or one descriptor bit).
inline constexpr int32_t kWholeRating = 0x1111111;

// The values of a TV box and of a movie box, on either kind of box (the
// plain one and the skin's).
template <class Box>
class TVRatingBox : public Box {
 public:
  bool OnGetIsChildRating() const { return IsChildRating; }
  void OnSetIsChildRating(bool v) { IsChildRating = v; }
  int32_t OnGetAgeRating() const { return AgeRating; }
  void OnSetAgeRating(int32_t v) { AgeRating = v; }
  int32_t OnGetContentRating() const { return ContentRating; }
  void OnSetContentRating(int32_t v) { ContentRating = v; }

  bool IsChildRating = false;
  int32_t AgeRating = 0;
  int32_t ContentRating = 0;
};

template <class Box>
class MPAARatingBox : public Box {
 public:
  int32_t OnGetMPAARating() const { return MPAARating; }
  void OnSetMPAARating(int32_t v) { MPAARating = v; }

  int32_t MPAARating = 0;
};

class TVRatingItem : public TVRatingBox<RatingItem> {
  KV_CLASS(ParentalLocks, TVRatingItem, RatingItem)
};

class MPAARatingItem : public MPAARatingBox<RatingItem> {
  KV_CLASS(ParentalLocks, MPAARatingItem, RatingItem)
};

// The skin's TV box: no text, the dialog's headings label it.
class KXDTVRatingItem : public TVRatingBox<KXDRatingItem> {
  KV_CLASS(ParentalLocks, KXDTVRatingItem, KXDRatingItem)
};

class KXDMPAARatingItem : public MPAARatingBox<KXDRatingItem> {
  KV_CLASS(ParentalLocks, KXDMPAARatingItem, KXDRatingItem)
};

}  // namespace ParentalLocks
