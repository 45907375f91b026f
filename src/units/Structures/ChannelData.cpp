#include "units/Structures/ChannelData.h"

KV_REGISTER_CLASS(Structures::ChannelData);
