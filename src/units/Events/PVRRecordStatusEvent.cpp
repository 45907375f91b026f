#include "units/Events/PVRRecordStatusEvent.h"

KV_REGISTER_CLASS(Events::PVRRecordStatusEvent);
