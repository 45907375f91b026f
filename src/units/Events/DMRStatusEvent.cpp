#include "units/Events/DMRStatusEvent.h"

namespace Events {

KV_REGISTER_CLASS(Events::DMRStatusEvent);

void DMRStatusEvent::Initialize(uint16_t kind, uint16_t state, const kv::String& uri, const char* title) {
  Kind = kind;
  State = state;
  Uri = uri;
  Title = title ? kv::NewStringAnsi(title) : kv::String();
}

}  // namespace Events
