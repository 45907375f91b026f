// Agent::MessageAgent: delivers Structures::Message records at once to the
// registered receivers (screens and sub-systems).
//
// Dispatch with no target class delivers to every receiver; with a target
// class, only to receivers of exactly that class. DispatchTo is for callers
// that name a target that may not exist yet (a KV_LATE_CLASS): a null
// target there means "nobody", never "everyone". A registered receiver is
// kept alive until it unregisters.
#pragma once

#include <cstdint>

#include "runtime/auto_object.h"
#include "runtime/member.h"
#include "runtime/object.h"

namespace Structures {
class Message;
}

namespace Agent {

class MessageAgent : public kv::Object {
  KV_CLASS(Agent, MessageAgent, kv::Object)
 public:
  MessageAgent() = default;

  // Adds a receiver: a Primitives::KeyRoutingForm or a
  // Primitives::KeyRoutingGroup (anything else is refused with a logged
  // error). Registering twice changes nothing.
  void Register(kv::Object* receiver);
  // Takes a receiver out; nothing when it is not registered.
  void UnRegister(kv::Object* receiver);
  bool IsRegistered(const kv::Object* receiver) const { return receivers_.IndexOf(receiver) >= 0; }
  int32_t GetReceiverCount() const { return static_cast<int32_t>(receivers_.size()); }

  // Stores `target` in the message and delivers it to every receiver (null
  // target) or to the receivers of exactly that class, in registration
  // order. A receiver unregistered during the delivery is skipped.
  void Dispatch(Structures::Message* msg, const kv::Class* target = nullptr);
  // Delivers only to receivers of exactly `target`; a null target (a class
  // that does not exist) sends nothing.
  void DispatchTo(Structures::Message* msg, const kv::Class* target);

 private:
  void Deliver(Structures::Message* msg, const kv::Class* target);

  kv::MemberVector<kv::Object> receivers_;
};

}  // namespace Agent

KV_DECLARE_AUTO_OBJECT(MainApp, MessageAgent);
