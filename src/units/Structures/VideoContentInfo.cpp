#include "units/Structures/VideoContentInfo.h"

KV_REGISTER_CLASS(Structures::VideoContentInfo);
