#include "units/Structures/TimerData.h"

KV_REGISTER_CLASS(Structures::TimerData);
