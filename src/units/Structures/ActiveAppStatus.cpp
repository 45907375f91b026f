#include "units/Structures/ActiveAppStatus.h"

KV_REGISTER_CLASS(Structures::ActiveAppStatus);
KV_REGISTER_CLASS(Structures::AllActiveAppStatus);
