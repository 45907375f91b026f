// Views::MultilineText: text wrapped at spaces to the width of its bounds;
// a '\n' starts a new line. AutoSize keeps the width and makes the height
// that of the lines (at least one line). With Ellipsis, text that does not
// fit the height ends its last visible line with "...".
#pragma once

#include "units/Views/Text.h"

namespace Views {

class MultilineText : public Text {
  KV_CLASS(Views, MultilineText, Text)
 public:
  MultilineText() = default;

 protected:
  ge::LayoutOptions Options(bool measuring) const override;
  kv::Rect AutoSizeBounds(const kv::Rect& bounds) override;
};

}  // namespace Views
