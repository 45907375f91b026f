#include "units/Events/WlanScanCompleteEvent.h"

KV_REGISTER_CLASS(Events::WlanScanCompleteEvent);
