#include "units/Structures/IF_Configuration.h"

KV_REGISTER_CLASS(Structures::IF_Configuration);
