#include "units/Structures/WPS_Connection.h"

KV_REGISTER_CLASS(Structures::WPS_Connection);
