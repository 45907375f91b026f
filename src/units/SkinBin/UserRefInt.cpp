#include "units/SkinBin/UserRefInt.h"

namespace SkinBin {

KV_REGISTER_CLASS(SkinBin::UserRefInt);

UserRefInt* UserRefInt::Make(int32_t value, int32_t code) {
  auto* p = kv::New<UserRefInt>();
  p->Value = value;
  p->Code = code;
  return p;
}

}  // namespace SkinBin
