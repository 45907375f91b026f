#include "units/SkinBin/UserRefInt.h"

KV_REGISTER_CLASS(SkinBin::UserRefInt);
