#include "units/Events/NetworkInterfaceDownEvent.h"

KV_REGISTER_CLASS(Events::NetworkInterfaceDownEvent);
