#include "units/Events/PVRUSBFormatEvent.h"

KV_REGISTER_CLASS(Events::PVRUSBFormatEvent);
