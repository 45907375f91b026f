#include "units/ParentalLocks/RatingItem.h"

#include <algorithm>

#include "units/Bitmaps/Bitmaps.h"
#include "units/Fonts/Fonts.h"
#include "units/Resources/Resources.h"

namespace ParentalLocks {

KV_REGISTER_CLASS(ParentalLocks::RatingItem);
KV_REGISTER_CLASS(ParentalLocks::KXDRatingItem);
KV_REGISTER_CLASS(ParentalLocks::TVRatingItem);
KV_REGISTER_CLASS(ParentalLocks::MPAARatingItem);
KV_REGISTER_CLASS(ParentalLocks::KXDTVRatingItem);
KV_REGISTER_CLASS(ParentalLocks::KXDMPAARatingItem);

RatingItem::RatingItem() {
  OnSetBounds({0, 0, 86, 28});
  OnSetTextAlignH(0);
  // The grid's narrow boxes: "TV-PG" and "NC-17" fit after the check image.
  OnSetTextFont(Resources::LoadResource(Fonts::EPGListFont0));
  OnSetTextEllipsis(true);
  OnSetUncheckedBitmap(Resources::LoadResource(Bitmaps::CheckBox_s));
  OnSetCheckedBitmap(Resources::LoadResource(Bitmaps::CheckBox_x));
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::ChannelOptionButtonFocus));
  OnSetIsChecked(false);
}

void RatingItem::Refresh() {
  ::Button::CheckBox::Refresh();
  CheckView().OnSetBounds({3, 3, 31, 27});
  TextView().OnSetBounds({34, 0, std::max(34, Bounds().W()), Bounds().H()});
}

KXDRatingItem::KXDRatingItem() {
  OnSetTextAlignH(0);
  OnSetTextFont(Resources::LoadResource(Fonts::MediumFont));
  OnSetTextEllipsis(true);
  OnSetNonfocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::PinButtonNonfocus));
  OnSetFocused_BackgroundBitmap(Resources::LoadResource(Bitmaps::PinButtonFocus));
  OnSetCheckedBitmap(Resources::LoadResource(Bitmaps::LockImage));
  OnSetIsChecked(false);
}

void KXDRatingItem::Refresh() {
  ::Button::CheckBox::Refresh();
  constexpr int32_t kGap = 2;       // the padlock's own margin makes the rest of the gap
  constexpr int32_t kEndCap = 5;
  // The padlock stands at the button's left end: its end cap is its inset.
  const kv::Rect c = CheckView().Bounds();
  CheckView().OnSetBounds({0, c.y1, c.W(), c.y2});
  const kv::Rect t = TextView().Bounds();
  const int32_t x1 = std::min(t.x1, c.W() + kGap);
  TextView().OnSetBounds({x1, t.y1, std::max(x1, std::min(t.x2, Bounds().W() - kEndCap)), t.y2});
}

}  // namespace ParentalLocks
