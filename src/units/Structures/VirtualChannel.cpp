#include "units/Structures/VirtualChannel.h"

namespace Structures {

KV_REGISTER_CLASS(Structures::VirtualChannel);

}  // namespace Structures
