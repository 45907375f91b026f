#include "units/Structures/EventInfo.h"

KV_REGISTER_CLASS(Structures::EventInfo);
