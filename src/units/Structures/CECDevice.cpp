#include "units/Structures/CECDevice.h"

KV_REGISTER_CLASS(Structures::CECDevice);
