// NonMenuSystem::NumberSpinner and NonMenuSystem::TextSpinner: the toolkit's
// spinners in the skin of the date and time editors: the channel-lock button
// backgrounds, the medium font (the larger guide-list font while focused),
// grey text that turns white with the focus.
#pragma once

#include "units/Button/NumberSpinner.h"
#include "units/Button/TextSpinner.h"

namespace NonMenuSystem {

class NumberSpinner : public ::Button::NumberSpinner {
  KV_CLASS(NonMenuSystem, NumberSpinner, ::Button::NumberSpinner)
 public:
  NumberSpinner();
};

class TextSpinner : public ::Button::TextSpinner {
  KV_CLASS(NonMenuSystem, TextSpinner, ::Button::TextSpinner)
 public:
  TextSpinner();
};

}  // namespace NonMenuSystem
