#include "units/Events/StatusEvent.h"

namespace Events {

KV_REGISTER_CLASS(Events::StatusEvent);

void StatusEvent::Initialize(uint16_t code, int32_t v0, int32_t v1, int32_t v2, int32_t v3) {
  Code = code;
  SubCode0 = v0;
  SubCode1 = v1;
  SubCode2 = v2;
  SubCode3 = v3;
}

}  // namespace Events
