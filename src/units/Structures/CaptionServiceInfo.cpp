#include "units/Structures/CaptionServiceInfo.h"

KV_REGISTER_CLASS(Structures::CaptionServiceInfo);
