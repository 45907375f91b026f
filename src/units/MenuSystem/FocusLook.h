// Only the row that takes the keys looks focused: the focused row of a menu
// form (the live menu's column, a page, a pop-up, a product-tree carousel)
// looks like the other rows while another form of the menu has the focus.
#pragma once

#include <cstdint>

namespace Button {
class ButtonClass;
}
namespace Core {
class Group;
}

namespace MenuSystem {

// The control state `state` of `row` as shown: the focused state only while
// the form that holds the row is the focus of the menu (or stands alone),
// else the unfocused (or disabled) one.
int32_t ShownState(::Button::ButtonClass& row, int32_t state);
// Applies the look of the focused row of `form` again: the form gained or
// lost the focus.
void RefreshFocusedRow(Core::Group* form);

}  // namespace MenuSystem
