#include "units/Events/TimerStandbyEvent.h"

KV_REGISTER_CLASS(Events::TimerStandbyEvent);
