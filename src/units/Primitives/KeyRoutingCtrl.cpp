#include "units/Primitives/KeyRoutingCtrl.h"

#include "units/Core/Event.h"

namespace Primitives {

KV_REGISTER_CLASS(Primitives::KeyRoutingCtrl);

kv::Object* KeyRoutingCtrl::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (key && key->Down && key->Code == ActivateKey && !OnActivate.empty()) {
    kv::Signal(OnActivate, this);
    return this;
  }
  return Forms::Ctrl::HandleEvent(event);
}

void KeyRoutingCtrl::HandleFocus(bool focused) {
  Forms::Ctrl::HandleFocus(focused);
  kv::Signal(focused ? OnFocus : OnUnfocus, this);
}

void KeyRoutingCtrl::SetData(kv::Object* data) { Data = data; }

kv::Object* KeyRoutingCtrl::GetData(kv::Object* /*data*/) { return Data.get(); }

}  // namespace Primitives
