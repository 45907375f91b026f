#include "units/SubSystem/MenuClass.h"

#include "units/Core/Log.h"
#include "units/Forms/Ctrl.h"
#include "units/Primitives/KeyRoutingCtrl.h"
#include "units/SubSystem/MenuSystemClass.h"
#include "units/SubSystem/State.h"

namespace SubSystem {

KV_REGISTER_CLASS(SubSystem::MenuClass);

MenuClass::MenuClass() {
  OnSetTimeOutValue(kMenuTimeOut);
  OnTimeOut = kv::MakeSlot(this, &MenuClass::DoTimeout);
}

void MenuClass::DoActivate(kv::Object* sender) {
  auto* item = kv::Cast<Primitives::KeyRoutingCtrl>(sender);
  if (!item || !item->NextState) return;
  if (!MenuSystem) {
    Core::LogError("SubSystem::MenuClass::DoActivate: %* has no menu system", {static_cast<const kv::Object*>(this)});
    return;
  }
  auto* state = kv::New<State>();
  state->Class = item->NextState;
  state->PrevState = KvClass();
  MenuSystem->ChangeState(state);
}

void MenuClass::DoFocus(kv::Object* /*sender*/) {}

void MenuClass::DoTimeout(kv::Object* /*sender*/) {
  if (MenuSystem) MenuSystem->MenuTimeout(this);
}

void MenuClass::TimeOutSlot(kv::Object* sender) {
  if (MenuSystem && MenuSystem->HiddenBehindScreen(this)) {
    SetTimeout(true);
    return;
  }
  KeyRoutingScrollForm::TimeOutSlot(sender);
}

void MenuClass::ResetTimeout(kv::Object* /*sender*/) {
  if (MenuSystem && IsOpen() && Owner() == MenuSystem.get())
    MenuSystem->RestartTimeOuts(this);
  else
    KeyRoutingScrollForm::ResetTimeout();
}

int32_t MenuClass::OnGetCurrentItemIndex() {
  auto* focus = kv::Cast<Forms::Ctrl>(OnGetFocus());
  return focus ? GetIndexOf(focus) + 1 : 0;
}

void MenuClass::OnSetCurrentItemIndex(int32_t index) {
  CurrentItemIndex = index;
  if (Forms::Ctrl* item = GetCtrlAt(index - 1)) OnSetFocus(item);
}

void MenuClass::Refresh() {
  if (ArrangeMode == 0 || ArrangeMode == 1) {
    int32_t x = ItemXOffset;
    int32_t y = ItemYOffset;
    for (int32_t i = 0; i < GetChildCount(); ++i) {
      auto* item = kv::Cast<Forms::Ctrl>(GetChild(i));
      if (!item || !item->IsVisible()) continue;
      const kv::Rect placed = item->Bounds().MoveTo({x, y});
      item->OnSetBounds(placed);
      if (ArrangeMode == 0)
        x = placed.x2 + ItemInterval;
      else
        y = placed.y2 + ItemInterval;
    }
  }
  Primitives::KeyRoutingScrollForm::Refresh();
}

}  // namespace SubSystem
