#include "units/Events/WlanConnectCompleteEvent.h"

KV_REGISTER_CLASS(Events::WlanConnectCompleteEvent);
