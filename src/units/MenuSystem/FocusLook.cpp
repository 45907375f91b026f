#include "units/MenuSystem/FocusLook.h"

#include "units/Button/ButtonClass.h"
#include "units/Core/Group.h"

namespace MenuSystem {

int32_t ShownState(::Button::ButtonClass& row, int32_t state) {
  return ::Button::StateShown(row, state, ::Button::OwnersFocused(row, 1));
}

void RefreshFocusedRow(Core::Group* form) {
  if (auto* row = form ? kv::Cast<::Button::ButtonClass>(form->OnGetFocus()) : nullptr)
    row->RefreshCtrlState(row->GetCtrlState());
}

}  // namespace MenuSystem
