#include "units/Structures/WLAN_Info.h"

KV_REGISTER_CLASS(Structures::WLAN_Info);
