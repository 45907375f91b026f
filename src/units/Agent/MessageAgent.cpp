#include "units/Agent/MessageAgent.h"

#include "runtime/trace.h"
#include "units/Core/Log.h"
#include "units/Primitives/KeyRoutingForm.h"
#include "units/Primitives/KeyRoutingGroup.h"
#include "units/Structures/Message.h"


namespace Agent {

KV_REGISTER_CLASS(Agent::MessageAgent);

void MessageAgent::Register(kv::Object* receiver) {
  if (!kv::Cast<Primitives::KeyRoutingForm>(receiver) && !kv::Cast<Primitives::KeyRoutingGroup>(receiver)) {
    Core::LogError("Agent::MessageAgent::Register: %* cannot receive messages",
                   {static_cast<const kv::Object*>(receiver)});
    return;
  }
  if (!IsRegistered(receiver)) receivers_.push_back(receiver);
}

void MessageAgent::UnRegister(kv::Object* receiver) { receivers_.Remove(receiver); }

void MessageAgent::Dispatch(Structures::Message* msg, const kv::Class* target) {
  if (!msg) {
    Core::LogError("Agent::MessageAgent::Dispatch: no message");
    return;
  }
  Deliver(msg, target);
}

void MessageAgent::DispatchTo(Structures::Message* msg, const kv::Class* target) {
  if (!msg) {
    Core::LogError("Agent::MessageAgent::DispatchTo: no message");
    return;
  }
  if (!target) {
    kv::Trace("Agent::MessageAgent: target class does not exist, message %u not sent",
              {static_cast<uint32_t>(msg->Code)});
    return;
  }
  Deliver(msg, target);
}

void MessageAgent::Deliver(Structures::Message* msg, const kv::Class* target) {
  msg->Target = target;
  for (kv::Object* r : receivers_.Snapshot()) {
    if (!IsRegistered(r)) continue;
    if (target && kv::ClassOf(r) != target) continue;
    if (auto* form = kv::Cast<Primitives::KeyRoutingForm>(r))
      form->HandleMessage(msg);
    else if (auto* group = kv::Cast<Primitives::KeyRoutingGroup>(r))
      group->HandleMessage(msg);
  }
}

}  // namespace Agent
