#include "units/Structures/AMPMHour.h"

KV_REGISTER_CLASS(Structures::AMPMHour);
