// The caption view of a button, which the button keeps to itself and its
// subclasses: tests read where and how the caption is laid out.
#pragma once

#include "units/Button/ButtonClass.h"
#include "units/Views/Text.h"

namespace apptest {

struct ButtonCaption : ::Button::ButtonClass {
  static Views::Text& Of(::Button::ButtonClass& button) {
    Views::Text& (::Button::ButtonClass::*caption)() = &ButtonCaption::TextView;
    return (button.*caption)();
  }
};

}  // namespace apptest
