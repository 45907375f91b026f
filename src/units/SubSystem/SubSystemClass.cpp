#include "units/SubSystem/SubSystemClass.h"

#include "runtime/auto_object.h"
#include "units/Agent/MessageAgent.h"
#include "units/Constants/Constants.h"
#include "units/Core/Log.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Structures/Message.h"
#include "units/SubSystem/State.h"

namespace SubSystem {

KV_REGISTER_CLASS(SubSystem::State);
KV_REGISTER_CLASS(SubSystem::SubSystemClass);

namespace {
kv::Member<Primitives::KeyRoutingForm>& Opening() {
  static kv::Member<Primitives::KeyRoutingForm> opening;
  return opening;
}
}  // namespace

Primitives::KeyRoutingForm* OpeningScreen() { return Opening().get(); }

OpeningScope::OpeningScope(Primitives::KeyRoutingForm* form) : outer_(Opening().get()) { Opening() = form; }

OpeningScope::~OpeningScope() { Opening() = outer_; }

void SubSystemClass::InitializeOnScreen(Primitives::KeyRoutingParameter* param) {
  KeyRoutingGroup::Initialize(param);
  OnSetBounds({0, 0, 960, 540});
  if (auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)) agent->Register(this);
}

void SubSystemClass::CloseOnScreen() {
  KeyRoutingGroup::Close();
  if (auto* agent = kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)) agent->UnRegister(this);
}

Primitives::KeyRoutingForm* SubSystemClass::ChangeState(State* state) {
  if (!state || !state->Class) {
    Core::LogError("SubSystem::SubSystemClass::ChangeState: no state or no target class");
    return nullptr;
  }
  kv::Object* obj = state->Instance.get();
  if (!obj) {
    const kv::Class* cls = state->Class;
    if (!cls->Is(&Primitives::KeyRoutingForm::StaticClass()) || !cls->factory) {
      Core::LogError("SubSystem::SubSystemClass::ChangeState: %$ is not a key-routing form class", {cls});
      return nullptr;
    }
    obj = kv::NewObjectIndirect(cls);
  }
  auto* form = kv::Cast<Primitives::KeyRoutingForm>(obj);
  if (!form) {
    Core::LogError("SubSystem::SubSystemClass::ChangeState: %* is not a key-routing form",
                   {static_cast<const kv::Object*>(obj)});
    return nullptr;
  }
  const kv::Class* owner = form->SubSystemClass;
  if (owner && KvClass()->Is(owner)) {
    if (!form->PrevState) form->PrevState = state->PrevState;
    if (!form->NextState) form->NextState = state->NextState;
    form->SubSystemInstance = this;
  } else if (owner) {
    state->Instance = form;
    auto* msg = kv::New<Structures::Message>();
    msg->Initialize(Constants::MSG_CHANGE_STATE, state);
    kv::GetAutoObject<Agent::MessageAgent>(MainApp::MessageAgent)->DispatchTo(msg, owner);
  }
  return form;
}

}  // namespace SubSystem
