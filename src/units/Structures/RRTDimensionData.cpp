#include "units/Structures/RRTDimensionData.h"

KV_REGISTER_CLASS(Structures::RRTDimensionData);
