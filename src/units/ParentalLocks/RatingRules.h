// The rules the US rating screens share: the cascades that keep a table of
// boxes consistent after one box flipped, and the reads and writes of one
// US TV rating with the side writes the set expects.
#pragma once

#include <cstdint>

#include "units/ParentalLocks/RatingItem.h"

namespace ParentalLocks {

// The set's content flags of a US TV rating's descriptors: fantasy violence,
// dialogue, language, sex, violence.
inline constexpr int32_t kFV = 0x1000000;
inline constexpr int32_t kD = 0x10;
inline constexpr int32_t kL = 0x100;
inline constexpr int32_t kS = 0x1000;
inline constexpr int32_t kV = 0x10000;

// The set's block of a US TV rating (kWholeRating or one descriptor).
bool GetTVRatingStatus(bool isChild, int32_t level, int32_t content);
// Writes one US TV rating; blocking a whole children's rating also blocks
// TV-G, opening a whole age rating also opens TV-Y7. False when refused.
bool SetTVRatingStatus(bool isChild, int32_t level, int32_t content, bool blocked);
// Logs that the set refused a rating write.
void LogRatingRefused();

// US TV boxes in form order after box `at` flipped: a whole rating blocked
// blocks every following box; opened, it opens every preceding box and the
// following ones of its own level and table. A descriptor blocked (opened)
// blocks (opens) the same descriptor of the following (preceding) boxes.
template <typename Box>
void CascadeTV(Box* boxes, int32_t count, int32_t at) {
  const Box& item = boxes[at];
  const bool checked = boxes[at].OnGetIsChecked();
  if (item.ContentRating == kWholeRating) {
    if (checked) {
      for (int32_t i = at + 1; i < count; ++i) boxes[i].OnSetIsChecked(true);
      return;
    }
    for (int32_t i = 0; i < at; ++i) boxes[i].OnSetIsChecked(false);
    for (int32_t i = at + 1; i < count; ++i) {
      Box& b = boxes[i];
      if (b.AgeRating != item.AgeRating || b.IsChildRating != item.IsChildRating) break;
      b.OnSetIsChecked(false);
    }
    return;
  }
  if (checked) {
    for (int32_t i = at + 1; i < count; ++i)
      if (boxes[i].ContentRating == item.ContentRating) boxes[i].OnSetIsChecked(true);
  } else {
    for (int32_t i = 0; i < at; ++i)
      if (boxes[i].ContentRating == item.ContentRating) boxes[i].OnSetIsChecked(false);
  }
}

// A one-dimensional scale after box `at` flipped: blocked blocks the
// stricter boxes, opened opens the milder ones.
template <typename Box>
void CascadeScale(Box* boxes, int32_t count, int32_t at) {
  const bool blocked = boxes[at].OnGetIsChecked();
  if (blocked) {
    for (int32_t i = at + 1; i < count; ++i) boxes[i].OnSetIsChecked(true);
  } else {
    for (int32_t i = 0; i < at; ++i) boxes[i].OnSetIsChecked(false);
  }
}

}  // namespace ParentalLocks
