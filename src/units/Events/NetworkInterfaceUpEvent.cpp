#include "units/Events/NetworkInterfaceUpEvent.h"

KV_REGISTER_CLASS(Events::NetworkInterfaceUpEvent);
