#include "units/Structures/Message.h"

namespace Structures {

KV_REGISTER_CLASS(Structures::Message);

void Message::Initialize(int32_t code, kv::Object* objParam, int32_t intParam) {
  Code = code;
  ObjParam = objParam;
  IntParam = intParam;
}

}  // namespace Structures
