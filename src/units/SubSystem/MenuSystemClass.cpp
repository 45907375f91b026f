#include "units/SubSystem/MenuSystemClass.h"

#include "runtime/auto_object.h"
#include "units/Constants/Constants.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/WidgetManager/WidgetManager.h"

namespace SubSystem {

KV_REGISTER_CLASS(SubSystem::MenuSystemClass);

void MenuSystemClass::SetMenuIndex(int32_t /*level*/, int32_t /*index*/) {}

int32_t MenuSystemClass::GetMenuIndex(int32_t /*level*/) { return 1; }

void MenuSystemClass::RestartTimeOuts(kv::Object* /*sender*/) {
  for (int32_t i = 0; i < GetChildCount(); ++i)
    if (auto* form = kv::Cast<Primitives::KeyRoutingForm>(GetChild(i)); form && form->IsTimeoutRunning())
      form->Primitives::KeyRoutingForm::ResetTimeout();
}

bool MenuSystemClass::HiddenBehindScreen(const Primitives::KeyRoutingForm* /*form*/) const { return false; }

void MenuSystemClass::MenuTimeout(kv::Object* /*sender*/) {
  kv::GetAutoObject<WidgetManager::WidgetManager>(MainApp::WidgetManager)->CloseLayers(Constants::LAYER_MASK_MENU);
}

}  // namespace SubSystem
