#include "units/Events/PVRPerfStatusEvent.h"

KV_REGISTER_CLASS(Events::PVRPerfStatusEvent);
