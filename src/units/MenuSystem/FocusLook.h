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
class View;
}  // namespace Core

namespace MenuSystem {

// Whether the form that holds `row` is the focus of the menu that holds the
// form (or stands alone).
bool TakesKeys(const Core::View* row);
// The control state `state` of `row` as shown: the focused state only while
// the row takes the keys, else the unfocused (or disabled) one.
int32_t ShownState(::Button::ButtonClass& row, int32_t state);
// Applies the look of the focused row of `form` again: the form gained or
// lost the focus.
void RefreshFocusedRow(Core::Group* form);

}  // namespace MenuSystem
