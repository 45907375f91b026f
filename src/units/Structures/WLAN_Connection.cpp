#include "units/Structures/WLAN_Connection.h"

KV_REGISTER_CLASS(Structures::WLAN_Connection);
