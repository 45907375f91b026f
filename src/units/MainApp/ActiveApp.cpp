#include "units/MainApp/ActiveApp.h"

#include "units/Core/Event.h"
#include "units/Core/Root.h"
#include "units/NonMenuSystem/NonMenuSystem.h"
#include "units/Primitives/KeyRoutingParameter.h"

namespace MainApp {

KV_REGISTER_CLASS(MainApp::ActiveApp);

namespace {
const kv::Class* const* SubSystemClasses() {
  static const kv::Class* classes[3];
  classes[0] = &NonMenuSystem::NonMenuSystem::StaticClass();
  classes[1] = KV_LATE_CLASS("MenuSystem::MenuSystem");
  classes[2] = KV_LATE_CLASS("FactorySystem::FactorySystem");
  return classes;
}
constexpr int kSubSystems = 3;
}  // namespace

void ActiveApp::Initialize(Primitives::KeyRoutingParameter* param) {
  KeyRoutingGroup::Initialize(param);
  OnSetBounds({0, 0, Core::Root::kWidth, Core::Root::kHeight});
  const kv::Class* const* classes = SubSystemClasses();
  Primitives::KeyRoutingGroup* live = nullptr;
  for (int i = 0; i < kSubSystems; ++i) {
    Primitives::KeyRoutingGroup* s = AddSubSystem(classes[i]);
    if (i == 0) live = s;
  }
  if (live && live->Owner() == this) OnSetFocus(live);
}

Primitives::KeyRoutingGroup* ActiveApp::AddSubSystem(const kv::Class* cls) {
  if (!cls || FindSubSystem(cls)) return nullptr;
  auto* s = kv::Cast<Primitives::KeyRoutingGroup>(kv::NewObjectIndirect(cls));
  if (!s) return nullptr;
  s->OnSetBounds({0, 0, Core::Root::kWidth, Core::Root::kHeight});
  auto* param = kv::New<Primitives::KeyRoutingParameter>();
  param->Owner = this;
  s->Initialize(param);
  s->Open();
  return s;
}

Primitives::KeyRoutingGroup* ActiveApp::FindSubSystem(const kv::Class* cls) const {
  if (!cls) return nullptr;
  for (int32_t i = 0; i < GetChildCount(); ++i)
    if (GetChild(i)->KvClass() == cls) return kv::Cast<Primitives::KeyRoutingGroup>(GetChild(i));
  return nullptr;
}

void ActiveApp::Open() {
  KeyRoutingGroup::Open();
  if (IsOpen()) Parent->OnSetFocus(this);
}

kv::Object* ActiveApp::HandleEvent(Core::Event* event) {
  auto* key = kv::Cast<Core::KeyEvent>(event);
  if (!key || !key->Down) return nullptr;
  const kv::Class* const* classes = SubSystemClasses();
  for (int i = 0; i < kSubSystems; ++i) {
    Primitives::KeyRoutingGroup* s = FindSubSystem(classes[i]);
    // The focused sub-system saw the key on its way up already.
    if (!s || s == OnGetFocus()) continue;
    if (kv::Object* taken = s->HandleEvent(event)) return taken;
  }
  return nullptr;
}

}  // namespace MainApp
