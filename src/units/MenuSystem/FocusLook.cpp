#include "units/MenuSystem/FocusLook.h"

#include "units/Button/ButtonClass.h"
#include "units/Core/Group.h"

namespace MenuSystem {

bool TakesKeys(const Core::View* row) {
  Core::Group* form = row ? row->Owner() : nullptr;
  Core::Group* menu = form ? form->Owner() : nullptr;
  return !menu || menu->OnGetFocus() == form;
}

int32_t ShownState(::Button::ButtonClass& row, int32_t state) {
  return ::Button::StateShown(row, state, state != ::Button::kStateFocused || TakesKeys(&row));
}

void RefreshFocusedRow(Core::Group* form) {
  if (auto* row = form ? kv::Cast<::Button::ButtonClass>(form->OnGetFocus()) : nullptr)
    row->RefreshCtrlState(row->GetCtrlState());
}

}  // namespace MenuSystem
